// The archive as a file read by position: opened read-only, never mapped, so a file cut short
// while it is read gives short reads instead of a fault.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/file_error.h"

namespace tarvik::platform {

// One read of a batch: `length` bytes at `offset` into `into`; `got` is set as read_at returns.
struct PieceRead {
  std::uint64_t offset = 0;
  void* into = nullptr;
  std::size_t length = 0;
  std::int64_t got = 0;
};

class ArchiveFile {
 public:
  // Opens `path` (UTF-8) for reading. Others may read it too, but on Windows nobody may hold it
  // open for writing (that open is refused with InUse). Returns null and sets `error` on failure;
  // a FIFO or device at the path is NotRegular and is never waited on.
  static std::unique_ptr<ArchiveFile> open(const std::string& path, FileError& error);
  virtual ~ArchiveFile() = default;

  // The size when the file was opened.
  virtual std::uint64_t size() const = 0;
  // Reads up to `length` bytes at `offset`; returns how many were read (fewer at the end of the
  // file, including a file that has shrunk since it was opened), or -1 on a read error.
  virtual std::int64_t read_at(std::uint64_t offset, void* buffer, std::size_t length) const = 0;
  // Reads every piece as read_at would. A system that takes several reads in one call (Linux)
  // is given them together; elsewhere they are read one after another.
  virtual void read_pieces(std::span<PieceRead> pieces) const {
    for (PieceRead& piece : pieces) piece.got = read_at(piece.offset, piece.into, piece.length);
  }
};

// The exclusive hold on an archive that one export keeps for its whole run: a second holder is
// refused with InUse (and on Windows, so is a program holding the archive open for writing).
// Released when destroyed, or when the process ends however it ends.
class ArchiveLock {
 public:
  static std::unique_ptr<ArchiveLock> acquire(const std::string& path, FileError& error);
  virtual ~ArchiveLock() = default;
};

}  // namespace tarvik::platform
