// Reads a transfer file line by line in memory that does not grow with the file or with its
// lines: a line ends at CR LF, and only its first kKeptBytes bytes are kept, enough for every
// line whose content the importer compares (numbers, block names, the memo end marker).
#pragma once

#include <array>
#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik::transfer {

struct ReadLine {
  std::string_view head;  // the whole line when !cut, else its first kKeptBytes bytes
  bool cut = false;

  // Whether the line is exactly `text`.
  bool is(std::string_view text) const { return !cut && head == text; }
};

class LineReader {
 public:
  static constexpr std::size_t kKeptBytes = 256;

  explicit LineReader(std::istream& in) : in_(in) {}

  // The next line without its CR LF; none at the end or when the rest lacks a CR LF.
  std::optional<ReadLine> next();
  std::size_t number() const { return number_; }  // lines read so far
  bool unterminated() const { return unterminated_; }

 private:
  bool refill();
  void append(const char* bytes, std::size_t size);

  std::istream& in_;
  std::array<char, 64 * 1024> buffer_{};
  std::size_t pos_ = 0, size_ = 0;
  std::string head_;       // the line's first bytes (one more than kept, for its closing CR)
  std::size_t length_ = 0;  // the line's whole length so far
  char last_ = 0;           // its last byte so far
  std::size_t number_ = 0;
  bool unterminated_ = false;
};

}  // namespace tarvik::transfer
