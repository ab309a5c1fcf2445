// The bytes of a block written ahead, off the transfer file, to be copied into it when the blocks
// before it are there. They are kept in pieces of memory up to a budget that all the recordings
// of a run share; past it they go to a scratch file in the transfer file's folder, so memory stays
// bounded however large the block. A block's count line may be left open while its records are
// recorded and filled in after: a recorded block is read once, not counted first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/spill_file.h"

namespace tarvik::transfer {

// The memory that recordings share: pieces handed out while the budget lasts and reused once
// copied into the file; and the room their scratch files may take on the disk between them, so
// that they never take the room the transfer file itself needs. Shared by both threads of a run,
// which take and give back: owned by the run's stages ahead, under mutex_.
class RecordingSpace {
 public:
  // `spill_folder`: where the scratch files go (the transfer file's folder).
  RecordingSpace(std::string spill_folder, std::size_t memory_budget, std::uint64_t disk_allowance);

  // An empty piece with room for `capacity` bytes, or false when the budget is spent.
  bool take_piece(std::string& piece, std::size_t capacity);
  void give_back(std::string&& piece);
  // Room for `bytes` more in scratch files, or false when the allowance is spent.
  bool take_disk(std::uint64_t bytes);
  void give_back_disk(std::uint64_t bytes);
  const std::string& spill_folder() const { return spill_folder_; }

 private:
  const std::string spill_folder_;
  const std::size_t budget_;
  const std::uint64_t disk_allowance_;
  std::mutex mutex_;
  std::size_t lent_ = 0;  // pieces held by recordings
  std::vector<std::string> free_;
  std::uint64_t on_disk_ = 0;  // bytes in scratch files
};

class StageRecording {
 public:
  // Without a space the bytes are dropped (a dry run keeps no transfer file); counts are kept.
  explicit StageRecording(RecordingSpace* space) : space_(space) {}
  ~StageRecording();
  StageRecording(const StageRecording&) = delete;
  StageRecording& operator=(const StageRecording&) = delete;

  // Takes the bytes of `buffer`, which is left empty with room for at least `capacity` bytes:
  // when the budget allows, the buffer itself is kept and a fresh piece put in its place.
  // Throws TransferError when the scratch file cannot be written or would pass the allowance
  // (61, as a full disk).
  void take(std::string& buffer, std::size_t capacity);
  // A count line goes here, its number given by fill_count.
  void leave_count();
  void fill_count(std::int32_t count);

  // The recording in order, each part once: bytes to `bytes`, count lines to `count`. Pieces of
  // memory are given back as they are passed on; scratch files are read back through
  // `read_buffer`, which the caller keeps from one recording to the next. Throws TransferError
  // when the scratch file cannot be read.
  void replay(const std::function<void(std::string_view)>& bytes, const std::function<void(std::int32_t)>& count,
              std::string& read_buffer);

  std::uint64_t spilled_bytes() const { return spill_end_; }

 private:
  struct Part {
    std::string memory;        // bytes kept in memory
    std::uint64_t spill_offset = 0;
    std::size_t spill_size = 0;  // or bytes in the scratch file
    bool is_count = false;
    std::int32_t count = 0;
  };
  RecordingSpace* space_;
  std::vector<Part> parts_;
  std::unique_ptr<platform::SpillFile> spill_;
  std::uint64_t spill_end_ = 0;
};

}  // namespace tarvik::transfer
