#include "sample_options.h"

#include <charconv>

#include "archive-gen/writer_options_parse.h"

namespace tarvik::archive_gen::sample {

namespace {

template <typename T>
bool parse_number(const std::string& text, T& out) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end && !text.empty();
}

bool apply_variants(const std::string& list, SampleOptions& options, std::string& error) {
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = list.find(',', start);
    const std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (name == "outdated") {
      options.outdated = true;
    } else if (name == "duplicate-suppliers") {
      options.duplicate_suppliers = true;
    } else if (name == "missing-destination") {
      options.missing_destination = true;
    } else {
      error = "unknown variant '" + name + "' (outdated, duplicate-suppliers, missing-destination)";
      return false;
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

}  // namespace

std::optional<SampleOptions> parse_sample_options(const std::vector<std::string>& args, std::string& error) {
  SampleOptions options;
  std::optional<bool> ansi_texts;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (parse_writer_option(args, i, options.writer, error)) {
      if (!error.empty()) return std::nullopt;
      continue;
    }
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (arg == "--texts") {
      if (has_value && (args[i + 1] == "ansi" || args[i + 1] == "unicode")) {
        ansi_texts = args[++i] == "ansi";
        continue;
      }
      error = "--texts takes ansi or unicode";
      return std::nullopt;
    }
    if (arg == "--scale" || arg == "--seed" || arg == "--variant") {
      if (!has_value) {
        error = arg + " needs a value";
        return std::nullopt;
      }
      const std::string& value = args[++i];
      if (arg == "--scale") {
        if (!parse_number(value, options.scale) || options.scale < 1 || options.scale > kMaxScale) {
          error = "--scale takes a whole number from 1 to " + std::to_string(kMaxScale);
          return std::nullopt;
        }
      } else if (arg == "--seed") {
        if (!parse_number(value, options.seed)) {
          error = "--seed takes a whole number from 0 to 18446744073709551615";
          return std::nullopt;
        }
      } else if (!apply_variants(value, options, error)) {
        return std::nullopt;
      }
    } else if (arg.starts_with("--")) {
      error = "unknown option " + arg;
      return std::nullopt;
    } else if (options.output_path.empty()) {
      options.output_path = arg;
    } else {
      error = "only one output file may be given";
      return std::nullopt;
    }
  }
  if (options.output_path.empty()) {
    error = "the output file is missing";
    return std::nullopt;
  }
  const bool jet3 = options.writer.format == FileFormat::Jet3;
  if (jet3 && ansi_texts == false) {
    error = "a Jet3 archive keeps its texts in Windows-1252: --texts unicode needs --format jet4";
    return std::nullopt;
  }
  options.ansi_texts = ansi_texts.value_or(jet3);
  return options;
}

}  // namespace tarvik::archive_gen::sample
