#include "transfer/transfer_writer.h"

#include "transfer/number_text.h"
#include "transfer/value_line.h"
#include "transfer/windows1252.h"

namespace tarvik::transfer {

TransferWriter::TransferWriter(std::filesystem::path path) {
  file_.emplace(std::move(path));
  buffer_.reserve(kFlushAt + 4096);
}

std::unique_ptr<TransferWriter> TransferWriter::WithoutFile() {
  std::unique_ptr<TransferWriter> writer(new TransferWriter());
  writer->buffer_.reserve(kFlushAt + 4096);
  return writer;
}

std::unique_ptr<TransferWriter> TransferWriter::Recording(StageRecording& recording) {
  std::unique_ptr<TransferWriter> writer(new TransferWriter());
  writer->recording_ = &recording;
  writer->buffer_.reserve(kFlushAt + 4096);
  return writer;
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
  const std::size_t line_start = buffer_.size();
  const TextOutcome outcome = append_value_line(buffer_, value, raw);
  // Most values cannot have changed: only a text whose conversion replaced or removed a character,
  // or a value written as an empty line, is looked at closer.
  if (observer_ && (outcome.replaced || outcome.removed_controls || buffer_.size() == line_start))
    report_change(value, raw, line_start, outcome);
  end_line();
}

// Only texts, and numbers or dates that came out as an empty line, can have been changed. A text
// was changed exactly when its conversion replaced a character or removed a control (the report
// looks closer at the few it lists).
void TransferWriter::report_change(const archive::Value& value, bool raw, std::size_t line_start,
                                   const TextOutcome& outcome) {
  using archive::ValueKind;
  const std::string_view written(buffer_.data() + line_start, buffer_.size() - line_start);
  switch (value.kind()) {
    case ValueKind::Text:
      if (outcome.replaced || outcome.removed_controls)
        observer_->value_changed({ChangeKind::TextChanged, value, written, raw});
      return;
    case ValueKind::Single:
    case ValueKind::Double:
    case ValueKind::DateTime:
      if (written.empty()) observer_->value_changed({ChangeKind::NotRepresentable, value, written, raw});
      return;
    default:
      return;
  }
}

void TransferWriter::WriteCountLater() {
  flush_buffer();
  recording_->leave_count();
}

void TransferWriter::FillCount(std::int32_t count) { recording_->fill_count(count); }

void TransferWriter::WriteRecorded(StageRecording& recording) {
  recording.replay(
      [this](std::string_view bytes) {
        // Large pieces go to the file directly, after what is buffered.
        if (bytes.size() < kFlushAt / 4) {
          buffer_ += bytes;
          if (buffer_.size() >= kFlushAt) flush_buffer();
          return;
        }
        flush_buffer();
        if (file_) file_->write(bytes.data(), bytes.size());
      },
      [this](std::int32_t count) { WriteNumberLine(count); }, spill_buffer_);
}

void TransferWriter::close() {
  flush_buffer();
  if (file_) file_->commit();
}

void TransferWriter::close_and_delete() noexcept {
  buffer_.clear();
  if (!file_) return;
  file_->discard();
  DeleteTransferFile(file_->path());
}

void TransferWriter::flush_buffer() {
  // Emptied whether or not the write succeeds: a failed file takes no more lines.
  struct Clear {
    std::string& buffer;
    ~Clear() { buffer.clear(); }
  } clear{buffer_};
  if (recording_)
    recording_->take(buffer_, kFlushAt + 4096);
  else if (file_)
    file_->write(buffer_.data(), buffer_.size());
}

}  // namespace tarvik::transfer
