// Several reads of one file handed to Linux in one system call (io_uring, through liburing), for
// the archive's pages: on the virtual machines the export runs on, a call costs more than copying
// a page, and a block of pages is often read as several separate runs. Each thread has a ring of
// its own; where the system refuses rings (an old kernel, a sandbox), reads go one call each, as
// before.
#pragma once

#include <liburing.h>

#include <cstdint>
#include <span>

#include "platform/archive_file.h"

namespace tarvik::platform {

class ReadRing {
 public:
  // The calling thread's ring, made on first use; null when the system has none to give.
  static ReadRing* of_this_thread();
  ~ReadRing();
  ReadRing(const ReadRing&) = delete;
  ReadRing& operator=(const ReadRing&) = delete;

  // Reads every piece from `fd`, as many at once as the ring holds, and sets each one's `got`.
  // A piece the ring leaves unfinished (cut short, refused, interrupted) is finished by `finish`,
  // which reads it the plain way.
  template <typename Finish>
  void read(int fd, std::span<PieceRead> pieces, const Finish& finish) {
    while (!pieces.empty()) {
      const std::size_t taken = pieces.size() < kEntries ? pieces.size() : kEntries;
      submit_and_wait(fd, pieces.first(taken));
      for (PieceRead& piece : pieces.first(taken))
        if (piece.got < 0 || static_cast<std::size_t>(piece.got) < piece.length) finish(piece);
      pieces = pieces.subspan(taken);
    }
  }

 private:
  static constexpr unsigned kEntries = 32;
  ReadRing() = default;
  bool set_up();
  // Sets each piece's `got` to what the ring read, or -1 where it gave an error.
  void submit_and_wait(int fd, std::span<PieceRead> pieces);
  // Takes the completions that have arrived into their pieces; returns how many.
  unsigned reap(std::span<PieceRead> pieces);
  // Waits until none of the reads in flight is left, so that none lands in a buffer reused later.
  void drain(std::span<PieceRead> pieces, unsigned in_flight);

  io_uring ring_{};
  bool made_ = false;
  bool broken_ = false;  // a call failed: the ring's state is not trusted any more
};

}  // namespace tarvik::platform
