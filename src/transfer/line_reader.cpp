#include "transfer/line_reader.h"

#include <algorithm>
#include <cstring>

namespace tarvik::transfer {

bool LineReader::refill() {
  in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  size_ = static_cast<std::size_t>(in_.gcount());
  pos_ = 0;
  return size_ > 0;
}

void LineReader::append(const char* bytes, std::size_t size) {
  if (size == 0) return;
  if (head_.size() <= kKeptBytes) head_.append(bytes, std::min(size, kKeptBytes + 1 - head_.size()));
  length_ += size;
  last_ = bytes[size - 1];
}

std::optional<ReadLine> LineReader::next() {
  head_.clear();
  length_ = 0;
  last_ = 0;
  for (;;) {
    if (pos_ == size_ && !refill()) {
      // The end of the file: a line begun but not closed by CR LF breaks the layout.
      if (length_ > 0) unterminated_ = true;
      return std::nullopt;
    }
    const char* start = buffer_.data() + pos_;
    const auto* newline = static_cast<const char*>(std::memchr(start, '\n', size_ - pos_));
    if (newline == nullptr) {
      append(start, size_ - pos_);
      pos_ = size_;
      continue;
    }
    const std::size_t before = static_cast<std::size_t>(newline - start);
    append(start, before);
    pos_ += before + 1;
    if (last_ != '\r') {  // a bare LF is part of the line
      append("\n", 1);
      continue;
    }
    ++number_;
    const std::size_t line_length = length_ - 1;  // without its CR
    head_.resize(std::min(line_length, kKeptBytes));
    return ReadLine{head_, line_length > kKeptBytes};
  }
}

}  // namespace tarvik::transfer
