#include "transfer/transfer_writer.h"

#include "transfer/number_text.h"
#include "transfer/value_line.h"
#include "transfer/windows1252.h"

namespace tarvik::transfer {

namespace {
// Large enough that a run of millions of short lines makes few system calls.
constexpr std::size_t kFlushAt = 256 * 1024;
}  // namespace

TransferWriter::TransferWriter(std::filesystem::path path) : file_(std::move(path)) {
  buffer_.reserve(kFlushAt + 4096);
}

void TransferWriter::WriteTextLine(std::u16string_view text) {
  append_windows1252(buffer_, text);
  end_line();
}

void TransferWriter::WriteTextLine(std::string_view utf8_text) {
  append_windows1252_utf8(buffer_, utf8_text);
  end_line();
}

void TransferWriter::WriteNumberLine(std::int32_t number) {
  append_padded_number(buffer_, number);
  end_line();
}

void TransferWriter::WriteValue(const archive::Value& value, bool raw) {
  append_value_line(buffer_, value, raw);
  end_line();
}

void TransferWriter::close() {
  flush_buffer();
  file_.commit();
}

void TransferWriter::close_and_delete() noexcept {
  buffer_.clear();
  file_.discard();
  DeleteTransferFile(file_.path());
}

void TransferWriter::end_line() {
  buffer_ += "\r\n";
  if (buffer_.size() >= kFlushAt) flush_buffer();
}

void TransferWriter::flush_buffer() {
  // Emptied whether or not the write succeeds: a failed file takes no more lines.
  struct Clear {
    std::string& buffer;
    ~Clear() { buffer.clear(); }
  } clear{buffer_};
  file_.write(buffer_.data(), buffer_.size());
}

}  // namespace tarvik::transfer
