// The writer of the transfer file: the lines the importer reads by position, in Windows-1252, each
// ending in CR LF, collected in a buffer and written in large pieces.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "archive/value.h"
#include "transfer/output_file.h"
#include "transfer/stage_recording.h"
#include "transfer/value_observer.h"
#include "transfer/windows1252.h"

namespace tarvik::transfer {

class TransferWriter {
 public:
  // Creates the transfer file for `path` (see OutputFile: it takes that name only at close()).
  // Throws TransferError.
  explicit TransferWriter(std::filesystem::path path);
  // A writer that keeps nothing: the lines are formed (so every value is seen as in a real run)
  // and dropped. For the dry run that only reports what an export would do.
  static std::unique_ptr<TransferWriter> WithoutFile();
  // A writer into `recording`: a block written ahead, copied into the file later by WriteRecorded.
  static std::unique_ptr<TransferWriter> Recording(StageRecording& recording);
  // A writer destroyed without close() leaves no file behind.
  ~TransferWriter() = default;
  TransferWriter(const TransferWriter&) = delete;
  TransferWriter& operator=(const TransferWriter&) = delete;

  // A text line: the text unchanged, in Windows-1252. The UTF-8 form is for the program's own
  // texts (block names, "T"/"F"); archive text arrives as UTF-16.
  void WriteTextLine(std::u16string_view text);
  void WriteTextLine(std::string_view utf8_text);
  // A number line in the padded number form: " 0 ", " 1234 ", "-5 ".
  void WriteNumberLine(std::int32_t number);
  // One value line, encoded by the value's kind (value_line.h). With `raw` a text is written
  // unchanged, so it may span several physical lines; the caller writes the memo end marker.
  void WriteValue(const archive::Value& value, bool raw);

  // A recording writer takes a block's count after its records: WriteCountLater leaves the count
  // line open and FillCount gives its number. A writer to the file needs the count first.
  bool counts_later() const { return recording_ != nullptr; }
  void WriteCountLater();
  void FillCount(std::int32_t count);
  // The lines of a block recorded ahead, in order. Throws TransferError.
  void WriteRecorded(StageRecording& recording);

  // Writes what is buffered, flushes it to disk and gives the file its name, replacing an older
  // file there. Throws TransferError; the file is then gone.
  void close();
  // The size the file has once closed: what is written so far and what is still buffered.
  std::uint64_t size() const { return (file_ ? file_->size() : 0) + buffer_.size(); }
  // Closes the file and deletes it, together with any file at the path (an older run's), so that
  // no transfer file remains after a failed run. Never fails.
  void close_and_delete() noexcept;

  // The observer hears of every value the file cannot carry unchanged; none by default.
  void set_observer(ValueObserver* observer) { observer_ = observer; }
  // For a change made before the value reached the writer (a reference mapped to null).
  void NoteChange(ChangeKind kind, const archive::Value& original) {
    if (observer_) observer_->value_changed({kind, original, {}, false});
  }

  const std::filesystem::path& path() const { return file_->path(); }
  bool has_file() const { return file_.has_value(); }

 private:
  TransferWriter() = default;
  void report_change(const archive::Value& value, bool raw, std::size_t line_start, const TextOutcome& outcome);
  // Lines are put on their way once this much is buffered: large enough that a run of millions of
  // short lines makes few system calls.
  static constexpr std::size_t kFlushAt = 256 * 1024;
  // Two single characters: an append of two bytes would go through a general copy. Inline: it
  // ends every line.
  void end_line() {
    buffer_.push_back('\r');
    buffer_.push_back('\n');
    if (buffer_.size() >= kFlushAt) flush_buffer();
  }
  void flush_buffer();

  std::optional<OutputFile> file_;
  StageRecording* recording_ = nullptr;
  std::string buffer_;
  std::string spill_buffer_;  // recorded lines read back from scratch files
  ValueObserver* observer_ = nullptr;
};

}  // namespace tarvik::transfer
