#include "transfer/stage_recording.h"

#include <algorithm>

#include "transfer/output_file.h"
#include "transfer/transfer_error.h"

namespace tarvik::transfer {

RecordingSpace::RecordingSpace(std::string spill_folder, std::size_t memory_budget, std::uint64_t disk_allowance)
    : spill_folder_(std::move(spill_folder)), budget_(memory_budget), disk_allowance_(disk_allowance) {}

bool RecordingSpace::take_piece(std::string& piece, std::size_t capacity) {
  std::lock_guard<std::mutex> lock(mutex_);
  if ((lent_ + 1) * capacity > budget_) return false;
  if (!free_.empty()) {
    piece = std::move(free_.back());
    free_.pop_back();
  } else {
    piece = std::string();
  }
  piece.clear();
  piece.reserve(capacity);
  ++lent_;
  return true;
}

void RecordingSpace::give_back(std::string&& piece) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (lent_ > 0) --lent_;
  // Kept for reuse only within the budget: what was lent beyond it goes back to the system.
  if ((lent_ + free_.size() + 1) * piece.capacity() > budget_) return;
  piece.clear();
  free_.push_back(std::move(piece));
}

bool RecordingSpace::take_disk(std::uint64_t bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (on_disk_ + bytes > disk_allowance_) return false;
  on_disk_ += bytes;
  return true;
}

void RecordingSpace::give_back_disk(std::uint64_t bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  on_disk_ -= std::min(on_disk_, bytes);
}

StageRecording::~StageRecording() {
  if (!space_) return;
  for (Part& part : parts_)
    if (!part.memory.empty()) space_->give_back(std::move(part.memory));
  space_->give_back_disk(spill_end_);
}

void StageRecording::take(std::string& buffer, std::size_t capacity) {
  if (buffer.empty()) return;
  if (!space_) {
    buffer.clear();
    return;
  }
  std::string fresh;
  if (space_->take_piece(fresh, capacity)) {
    parts_.push_back(Part{std::move(buffer), 0, 0, false, 0});
    buffer = std::move(fresh);
    return;
  }
  if (!space_->take_disk(buffer.size())) throw errors::disk_full();
  spill_end_ += buffer.size();  // counted from here, so that it is given back whatever happens
  const std::uint64_t at = spill_end_ - buffer.size();
  if (!spill_) {
    platform::FileError error = platform::FileError::None;
    spill_ = platform::SpillFile::create(space_->spill_folder(), error);
    if (!spill_) throw errors::from_file_error(error);
  }
  const platform::FileError error = spill_->append(buffer.data(), buffer.size());
  if (error != platform::FileError::None) throw errors::from_file_error(error);
  // Neighbouring spilled bytes are one part, read back in large pieces.
  if (!parts_.empty() && !parts_.back().is_count && parts_.back().spill_size > 0 &&
      parts_.back().spill_offset + parts_.back().spill_size == at) {
    parts_.back().spill_size += buffer.size();
  } else {
    parts_.push_back(Part{std::string(), at, buffer.size(), false, 0});
  }
  buffer.clear();
}

void StageRecording::leave_count() { parts_.push_back(Part{std::string(), 0, 0, true, 0}); }

void StageRecording::fill_count(std::int32_t count) {
  for (auto part = parts_.rbegin(); part != parts_.rend(); ++part)
    if (part->is_count) {
      part->count = count;
      return;
    }
}

void StageRecording::replay(const std::function<void(std::string_view)>& bytes,
                            const std::function<void(std::int32_t)>& count, std::string& read_buffer) {
  constexpr std::size_t kReadPiece = 1 << 20;
  for (Part& part : parts_) {
    if (part.is_count) {
      count(part.count);
    } else if (part.spill_size > 0) {
      if (read_buffer.size() < kReadPiece) read_buffer.resize(kReadPiece);
      for (std::size_t done = 0; done < part.spill_size;) {
        const std::size_t size = std::min(read_buffer.size(), part.spill_size - done);
        const platform::FileError error = spill_->read(part.spill_offset + done, read_buffer.data(), size);
        if (error != platform::FileError::None) throw errors::from_file_error(error);
        bytes(std::string_view(read_buffer.data(), size));
        done += size;
      }
    } else if (!part.memory.empty()) {
      bytes(part.memory);
      space_->give_back(std::move(part.memory));
      part.memory = std::string();
    }
  }
  parts_.clear();
  spill_.reset();
  if (space_) space_->give_back_disk(spill_end_);
  spill_end_ = 0;
}

}  // namespace tarvik::transfer
