#include "writer_options_parse.h"

#include <charconv>

namespace tarvik::archive_gen {

bool parse_writer_option(const std::vector<std::string>& args, std::size_t& i,
                         WriterOptions& options, std::string& error) {
  const std::string& name = args[i];
  if (name != "--format" && name != "--layout" && name != "--layout-seed") return false;
  if (i + 1 >= args.size()) {
    error = name + " needs a value";
    return true;
  }
  const std::string& value = args[++i];
  if (name == "--format") {
    if (value == "jet3") options.format = FileFormat::Jet3;
    else if (value == "jet4") options.format = FileFormat::Jet4;
    else error = "--format takes jet3 or jet4";
  } else if (name == "--layout") {
    if (value == "fresh") options.layout = Layout::Fresh;
    else if (value == "aged") options.layout = Layout::Aged;
    else error = "--layout takes fresh or aged";
  } else {
    const char* end = value.data() + value.size();
    auto [ptr, ec] = std::from_chars(value.data(), end, options.layout_seed);
    if (ec != std::errc() || ptr != end || value.empty())
      error = "--layout-seed takes a whole number from 0 to 18446744073709551615";
  }
  return true;
}

}  // namespace tarvik::archive_gen
