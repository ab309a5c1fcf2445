// EnsureCount against a record set that, like the engine's, counts only the records it has reached
// and refuses to move when it has none.
#include "transfer/ensure_count.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace tarvik::transfer {
namespace {

class VisitedRecords {
 public:
  explicit VisitedRecords(int size) : size_(size), position_(0), reached_(size > 0 ? 1 : 0) {}

  bool bof() const { return size_ == 0 || position_ < 0; }
  bool eof() const { return size_ == 0 || position_ >= size_; }
  void move_first() { move_to(0); }
  void move_last() { move_to(size_ - 1); }
  std::int64_t record_count() const { return reached_; }
  int position() const { return position_; }
  int moves() const { return moves_; }

 private:
  void move_to(int position) {
    if (size_ == 0) throw std::logic_error("no current record");
    position_ = position;
    reached_ = std::max(reached_, position + 1);
    ++moves_;
  }

  int size_;
  int position_;
  int reached_;
  int moves_ = 0;
};

TEST(EnsureCount, MakesTheCountExactAndStandsOnTheFirstRecord) {
  for (int size : {1, 2, 5, 1000}) {
    VisitedRecords records(size);
    EnsureCount(records);
    EXPECT_EQ(records.record_count(), size);
    EXPECT_EQ(records.position(), 0);
    EXPECT_FALSE(records.bof());
    EXPECT_FALSE(records.eof());
  }
}

TEST(EnsureCount, LeavesAnEmptySetUntouched) {
  VisitedRecords records(0);
  EXPECT_NO_THROW(EnsureCount(records));
  EXPECT_EQ(records.moves(), 0);
  EXPECT_EQ(records.record_count(), 0);
}

}  // namespace
}  // namespace tarvik::transfer
