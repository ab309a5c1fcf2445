#include "transfer/layout_check.h"

#include <optional>
#include <streambuf>

#include "transfer/line_reader.h"
#include "transfer/memo_end_marker.h"

namespace tarvik::transfer {

namespace {

// The padded number form: a sign place (blank or "-"), digits without leading zeros, a blank.
std::optional<std::int64_t> padded_number(const ReadLine& read) {
  if (read.cut) return std::nullopt;
  const std::string_view line = read.head;
  if (line.size() < 3 || (line[0] != ' ' && line[0] != '-') || line.back() != ' ') return std::nullopt;
  std::string_view digits = line.substr(1, line.size() - 2);
  if (digits.size() > 18 || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return line[0] == '-' ? -value : value;
}

// Bytes already in memory, read through the same stream interface without a copy.
class MemoryBuffer : public std::streambuf {
 public:
  explicit MemoryBuffer(std::string_view bytes) {
    char* begin = const_cast<char*>(bytes.data());  // only ever read
    setg(begin, begin, begin + bytes.size());
  }
};

}  // namespace

LayoutCheck check_layout(std::string_view bytes, const std::vector<BlockLayout>& layouts) {
  MemoryBuffer buffer(bytes);
  std::istream in(&buffer);
  return check_layout(in, layouts);
}

LayoutCheck check_layout(std::istream& in, const std::vector<BlockLayout>& layouts) {
  LayoutCheck result;
  LineReader lines(in);
  // Every failure is at the line about to be read (or just read, for a wrong content): the
  // caller passes which.
  auto fail = [&](std::size_t line, std::string problem) {
    result.ok = false;
    result.bad_line = line;
    result.problem = lines.unterminated() ? problem + " (il file non termina con CR LF)" : problem;
    return result;
  };

  auto total_line = lines.next();
  auto total = total_line ? padded_number(*total_line) : std::nullopt;
  if (!total) return fail(1, "atteso il totale dei record");
  result.total = *total;
  auto departments = lines.next();
  if (!departments || (!departments->is("T") && !departments->is("F")))
    return fail(2, "atteso \"T\" o \"F\"");
  result.departments = departments->is("T");

  for (const BlockLayout& layout : layouts) {
    std::string block(layout.name);
    auto name = lines.next();
    if (!name || !name->is(layout.name)) return fail(lines.number() + !name, "atteso il nome del blocco " + block);
    auto count_line = lines.next();
    auto count = count_line ? padded_number(*count_line) : std::nullopt;
    if (!count || *count < 0) return fail(lines.number() + !count_line, block + ": atteso il numero di record");
    for (std::int64_t record = 0; record < *count; ++record) {
      for (std::size_t field = 0; field < layout.raw_memo.size(); ++field) {
        // Composed only for a failure: building it for every field would cost more than the reading.
        auto where = [&] {
          return block + ", record " + std::to_string(record + 1) + ", campo " + std::to_string(field + 1);
        };
        if (!lines.next()) return fail(lines.number() + 1, where() + ": il file è finito");
        if (!layout.raw_memo[field]) continue;
        // A raw memo: its first value line was just read; then lines up to the marker.
        for (;;) {
          auto line = lines.next();
          if (!line) return fail(lines.number() + 1, where() + ": manca il segno di fine memo");
          if (line->is(kMemoEndMarkerBytes)) break;
        }
      }
    }
    result.blocks.push_back({block, *count});
  }
  if (lines.next() || lines.unterminated()) return fail(lines.number() + lines.unterminated(), "righe dopo l'ultimo blocco");
  result.ok = true;
  return result;
}

}  // namespace tarvik::transfer
