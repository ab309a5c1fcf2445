// The writer of the transfer file: the lines the importer reads by position, in Windows-1252, each
// ending in CR LF, collected in a buffer and written in large pieces.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "archive/value.h"
#include "transfer/output_file.h"

namespace tarvik::transfer {

class TransferWriter {
 public:
  // Creates the transfer file for `path` (see OutputFile: it takes that name only at close()).
  // Throws TransferError.
  explicit TransferWriter(std::filesystem::path path);
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

  // Writes what is buffered, flushes it to disk and gives the file its name, replacing an older
  // file there. Throws TransferError; the file is then gone.
  void close();
  // Closes the file and deletes it, together with any file at the path (an older run's), so that
  // no transfer file remains after a failed run. Never fails.
  void close_and_delete() noexcept;

  const std::filesystem::path& path() const { return file_.path(); }

 private:
  void end_line();
  void flush_buffer();

  OutputFile file_;
  std::string buffer_;
};

}  // namespace tarvik::transfer
