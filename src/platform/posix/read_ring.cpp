#include "platform/posix/read_ring.h"

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace tarvik::platform {

ReadRing* ReadRing::of_this_thread() {
  // Tried once per thread: a refusal stays a refusal.
  thread_local std::unique_ptr<ReadRing> ring = [] {
    std::unique_ptr<ReadRing> made(new ReadRing());
    if (!made->set_up()) made.reset();
    return made;
  }();
  return ring && !ring->broken_ ? ring.get() : nullptr;
}

bool ReadRing::set_up() {
  // Refused with EPERM or ENOSYS where a sandbox or an old kernel has no rings.
  made_ = io_uring_queue_init(kEntries, &ring_, 0) == 0;
  return made_ && ring_.sq.ring_entries >= kEntries;
}

ReadRing::~ReadRing() {
  if (made_) io_uring_queue_exit(&ring_);
}

unsigned ReadRing::reap(std::span<PieceRead> pieces) {
  unsigned head = 0;
  unsigned reaped = 0;
  io_uring_cqe* cqe = nullptr;
  io_uring_for_each_cqe(&ring_, head, cqe) {
    const std::uint64_t which = io_uring_cqe_get_data64(cqe);
    if (which < pieces.size()) pieces[which].got = cqe->res < 0 ? -1 : cqe->res;
    ++reaped;
  }
  io_uring_cq_advance(&ring_, reaped);
  return reaped;
}

void ReadRing::drain(std::span<PieceRead> pieces, unsigned in_flight) {
  while (in_flight > 0) {
    io_uring_cqe* cqe = nullptr;
    const int waited = io_uring_wait_cqe_nr(&ring_, &cqe, in_flight);
    if (waited < 0 && waited != -EINTR)
      std::abort();  // reads in flight that cannot be waited for: nothing safe is left to do
    in_flight -= reap(pieces);
  }
}

void ReadRing::submit_and_wait(int fd, std::span<PieceRead> pieces) {
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    // The ring holds kEntries and is empty between batches, so an entry is always free.
    io_uring_sqe* sqe = io_uring_get_sqe(&ring_);
    io_uring_prep_read(sqe, fd, pieces[i].into, static_cast<unsigned>(pieces[i].length), pieces[i].offset);
    io_uring_sqe_set_data64(sqe, i);
    pieces[i].got = -1;  // until its completion says otherwise
  }

  // One call submits the reads and waits for them all; the loop only runs again when the call was
  // interrupted or took fewer reads than it was given.
  const unsigned count = static_cast<unsigned>(pieces.size());
  unsigned submitted = 0, completed = 0;
  int idle_calls = 0;
  while (completed < count) {
    const int entered = io_uring_submit_and_wait(&ring_, count - completed);
    const unsigned before = completed;
    completed += reap(pieces);
    if (entered > 0) submitted += static_cast<unsigned>(entered);
    if (entered > 0 || completed > before || entered == -EINTR) {
      idle_calls = 0;
      continue;
    }
    // Refused, or no progress: after a few tries the ring is given up, once no read of it is
    // still under way (it would land in a buffer that is about to be reused).
    if (++idle_calls < 8 && (entered == 0 || entered == -EAGAIN || entered == -EBUSY)) continue;
    broken_ = true;
    drain(pieces, submitted - completed);
    return;  // the pieces left at -1 are read the plain way
  }
}

}  // namespace tarvik::platform
