// The leftmost rows a streamed walk gives no row for, noted as the walk meets them: the report then
// reads those rows alone by their pointers instead of the whole table again.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "archive/unmatched_rows.h"

namespace tarvik::archive::sql {

class UnmatchedNotes {
 public:
  // A walk starts: nothing noted, nothing to take.
  void start() {
    noting_ = UnmatchedRows{};
    finished_.reset();
    leaf_ = Leaf::None;
  }
  // The walk reads its next leftmost row, leaving the one before (noted if it gave no row).
  void leaf_read(std::uint32_t pointer) {
    leave();
    pointer_ = pointer;
    leaf_ = Leaf::Unmatched;
    ++noting_.rows_read;
  }
  // The current leftmost row gave one of the query's rows.
  void row_given() { leaf_ = Leaf::Matched; }
  // The walk has read its last leftmost row: the notes are complete and can be taken.
  void walk_ended() {
    leave();
    finished_ = std::exchange(noting_, UnmatchedRows{});
  }
  // The notes of the last walk that ran to its end, taken out; none before, and once taken.
  std::optional<UnmatchedRows> take() { return std::exchange(finished_, std::nullopt); }

 private:
  enum class Leaf : std::uint8_t { None, Unmatched, Matched };
  void leave() {
    if (leaf_ == Leaf::Unmatched) noting_.pointers.push_back(pointer_);
    leaf_ = Leaf::None;
  }

  UnmatchedRows noting_;
  std::optional<UnmatchedRows> finished_;
  std::uint32_t pointer_ = 0;
  Leaf leaf_ = Leaf::None;
};

}  // namespace tarvik::archive::sql
