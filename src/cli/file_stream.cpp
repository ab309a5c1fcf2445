#include "cli/file_stream.h"

namespace tarvik::cli {

FileStreamBuffer::FileStreamBuffer(std::unique_ptr<platform::ArchiveFile> file)
    : file_(std::move(file)), buffer_(1 << 16) {}

// A read error ends the stream as the file's end does: the reader then finds the file cut short.
FileStreamBuffer::int_type FileStreamBuffer::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  const std::int64_t got = file_->read_at(offset_, buffer_.data(), buffer_.size());
  if (got <= 0) return traits_type::eof();
  offset_ += static_cast<std::uint64_t>(got);
  setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
  return traits_type::to_int_type(*gptr());
}

}  // namespace tarvik::cli
