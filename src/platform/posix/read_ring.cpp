#include "platform/posix/read_ring.h"

#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#if defined(__linux__) && __has_include(<linux/io_uring.h>)
#include <linux/io_uring.h>
#define TARVIK_HAS_IO_URING 1
#endif

namespace tarvik::platform {

#if defined(TARVIK_HAS_IO_URING)

namespace {

void* map_ring(int fd, std::size_t bytes, off_t which) {
  void* at = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_POPULATE, fd, which);
  return at == MAP_FAILED ? nullptr : at;
}

unsigned* field(void* ring, std::uint32_t offset) {
  return reinterpret_cast<unsigned*>(static_cast<char*>(ring) + offset);
}

}  // namespace

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
  io_uring_params params{};
  ring_fd_ = static_cast<int>(::syscall(__NR_io_uring_setup, kEntries, &params));
  if (ring_fd_ < 0) return false;
  sq_ring_bytes_ = params.sq_off.array + params.sq_entries * sizeof(unsigned);
  cq_ring_bytes_ = params.cq_off.cqes + params.cq_entries * sizeof(io_uring_cqe);
  entries_bytes_ = params.sq_entries * sizeof(io_uring_sqe);
  sq_ring_ = map_ring(ring_fd_, sq_ring_bytes_, IORING_OFF_SQ_RING);
  cq_ring_ = map_ring(ring_fd_, cq_ring_bytes_, IORING_OFF_CQ_RING);
  entries_ = map_ring(ring_fd_, entries_bytes_, IORING_OFF_SQES);
  if (!sq_ring_ || !cq_ring_ || !entries_ || params.sq_entries < kEntries) return false;
  sq_tail_ = field(sq_ring_, params.sq_off.tail);
  sq_mask_ = field(sq_ring_, params.sq_off.ring_mask);
  sq_array_ = field(sq_ring_, params.sq_off.array);
  cq_head_ = field(cq_ring_, params.cq_off.head);
  cq_tail_ = field(cq_ring_, params.cq_off.tail);
  cq_mask_ = field(cq_ring_, params.cq_off.ring_mask);
  cqes_ = static_cast<char*>(cq_ring_) + params.cq_off.cqes;
  return true;
}

ReadRing::~ReadRing() {
  if (entries_) ::munmap(entries_, entries_bytes_);
  if (cq_ring_) ::munmap(cq_ring_, cq_ring_bytes_);
  if (sq_ring_) ::munmap(sq_ring_, sq_ring_bytes_);
  if (ring_fd_ >= 0) ::close(ring_fd_);
}

unsigned ReadRing::reap(std::span<PieceRead> pieces) {
  unsigned head = *cq_head_;
  const unsigned end = __atomic_load_n(cq_tail_, __ATOMIC_ACQUIRE);
  unsigned reaped = 0;
  for (; head != end; ++head, ++reaped) {
    const io_uring_cqe& cqe = static_cast<const io_uring_cqe*>(cqes_)[head & *cq_mask_];
    if (cqe.user_data < pieces.size()) pieces[cqe.user_data].got = cqe.res < 0 ? -1 : cqe.res;
  }
  __atomic_store_n(cq_head_, head, __ATOMIC_RELEASE);
  return reaped;
}

void ReadRing::submit_and_wait(int fd, std::span<PieceRead> pieces) {
  auto* sqes = static_cast<io_uring_sqe*>(entries_);
  unsigned tail = *sq_tail_;  // only this thread moves it
  for (std::size_t i = 0; i < pieces.size(); ++i, ++tail) {
    const unsigned slot = tail & *sq_mask_;
    io_uring_sqe& sqe = sqes[slot];
    std::memset(&sqe, 0, sizeof sqe);
    sqe.opcode = IORING_OP_READ;
    sqe.fd = fd;
    sqe.addr = reinterpret_cast<std::uintptr_t>(pieces[i].into);
    sqe.len = static_cast<std::uint32_t>(pieces[i].length);
    sqe.off = pieces[i].offset;
    sqe.user_data = i;
    sq_array_[slot] = slot;
    pieces[i].got = -1;  // until its completion says otherwise
  }
  __atomic_store_n(sq_tail_, tail, __ATOMIC_RELEASE);

  // One call submits the reads and waits for them all; the loop only runs again when the call was
  // interrupted or took fewer reads than it was given.
  const unsigned count = static_cast<unsigned>(pieces.size());
  unsigned submitted = 0, completed = 0;
  int idle_calls = 0;
  while (completed < count) {
    const long entered = ::syscall(__NR_io_uring_enter, ring_fd_, count - submitted, count - completed,
                                   IORING_ENTER_GETEVENTS, nullptr, 0);
    const unsigned before = completed;
    completed += reap(pieces);
    if (entered > 0) submitted += static_cast<unsigned>(entered);
    if (entered > 0 || completed > before || (entered < 0 && errno == EINTR)) {
      idle_calls = 0;
      continue;
    }
    // Refused, or no progress: after a few tries the ring is given up, once no read of it is
    // still under way (it would land in a buffer that is about to be reused).
    if (++idle_calls < 8 && (entered == 0 || errno == EAGAIN || errno == EBUSY)) continue;
    broken_ = true;
    while (completed < submitted) {
      if (::syscall(__NR_io_uring_enter, ring_fd_, 0, submitted - completed, IORING_ENTER_GETEVENTS, nullptr, 0) < 0 &&
          errno != EINTR)
        std::abort();  // reads in flight that cannot be waited for: nothing safe is left to do
      completed += reap(pieces);
    }
    return;  // the pieces left at -1 are read the plain way
  }
}

#else

ReadRing* ReadRing::of_this_thread() { return nullptr; }
ReadRing::~ReadRing() = default;
bool ReadRing::set_up() { return false; }
unsigned ReadRing::reap(std::span<PieceRead>) { return 0; }

void ReadRing::submit_and_wait(int, std::span<PieceRead>) {}

#endif

}  // namespace tarvik::platform
