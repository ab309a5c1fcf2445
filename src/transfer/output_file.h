// The transfer file on disk. It is written under a temporary name in the folder of its path and
// takes the path's name only when complete and flushed to disk, so that no partial transfer file
// can stand at the path, not even when the process is killed in the middle of a run.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>

#include "transfer/transfer_error.h"

namespace tarvik::transfer {

class OutputFile {
 public:
  // Creates the temporary file beside `path` (named after it, ending in ".tmp-" and six hex
  // digits). Throws TransferError when the folder is missing or cannot be written.
  explicit OutputFile(std::filesystem::path path);
  // A file neither committed nor discarded is discarded.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Writes all `size` bytes. Throws TransferError (61 when the disk is full). A failed write
  // discards the file: what was written is incomplete, and every later call throws the same error.
  void write(const char* data, std::size_t size);
  // Flushes to disk, closes, and renames the temporary file to the path, replacing a file that is
  // there. Throws TransferError; the temporary file is then already deleted.
  void commit();
  // Closes and deletes the temporary file. Never fails; the path itself is left alone.
  void discard() noexcept;

  const std::filesystem::path& path() const { return path_; }
  const std::filesystem::path& temporary_path() const { return temporary_path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path temporary_path_;
  int fd_ = -1;
  std::optional<TransferError> failure_;
};

// Deletes the file at `path` if there is one, ignoring any failure (a file another program holds
// is simply left). The run's error handler uses it whether or not a file was created.
void DeleteTransferFile(const std::filesystem::path& path) noexcept;

}  // namespace tarvik::transfer
