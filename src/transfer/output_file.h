// The transfer file on disk. It is written under a temporary name in the folder of its path and
// takes the path's name only when complete and flushed to disk, so that no partial transfer file
// can stand at the path, not even when the process is killed in the middle of a run. The
// temporary file is locked while it is written, so that a later run can tell the leftover of a
// killed run (which it removes) from the file of a run still going (which it leaves).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/output_file.h"

#include "transfer/transfer_error.h"

namespace tarvik::transfer {

class OutputFile {
 public:
  // Removes the unlocked leftovers of earlier runs for the same path, then creates the temporary
  // file beside `path` (named after it, ending in ".tmp-" and six hex digits). Throws
  // TransferError when the folder is missing or cannot be written.
  explicit OutputFile(std::filesystem::path path);
  // A file neither committed nor discarded is discarded.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Writes all `size` bytes. Throws TransferError (61 when the disk is full). A failed write
  // discards the file: what was written is incomplete, and every later call throws the same error.
  void write(const char* data, std::size_t size);
  // Puts what is written on disk now, so that commit() has little left to do. Throws TransferError
  // and discards the file, as a failed write does.
  void flush();
  // The bytes written so far: the file's size once committed.
  std::uint64_t size() const { return size_; }
  // Flushes to disk, closes, and renames the temporary file to the path, replacing a file that is
  // there. Throws TransferError; the temporary file is then already deleted.
  void commit();
  // Closes and deletes the temporary file. Never fails; the path itself is left alone.
  void discard() noexcept;

  const std::filesystem::path& path() const { return path_; }
  const std::filesystem::path& temporary_path() const { return temporary_path_; }

 private:
  // Throws the earlier failure, or an error when the file is already committed or discarded.
  void check_open() const;
  // Throws `error`, if any, after discarding the file: what was written is incomplete, and every
  // later call throws the same error.
  void fail_on(platform::FileError error);

  std::filesystem::path path_;
  std::filesystem::path temporary_path_;
  std::unique_ptr<platform::NewFile> file_;
  std::uint64_t size_ = 0;
  std::optional<TransferError> failure_;
};

// Deletes the file at `path` if there is one, ignoring any failure (a file another program holds
// is simply left). The run's error handler uses it whether or not a file was created.
void DeleteTransferFile(const std::filesystem::path& path) noexcept;

// Deletes the temporary files ("NAME.tmp-" and six hex digits) beside `path` that no live run
// holds locked; returns how many went.
std::size_t RemoveStaleTemporaryFiles(const std::filesystem::path& path);

namespace errors {
// The transfer file's error for a failed file operation.
TransferError from_file_error(platform::FileError error);
}  // namespace errors

}  // namespace tarvik::transfer
