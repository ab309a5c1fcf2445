// The small pieces the executor's walk is made of: the notes of unmatched leftmost rows, a
// count's trail, and the ring that holds grouped rows before their groups are looked up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/sql/count_trail.h"
#include "archive/sql/groups_ahead.h"
#include "archive/sql/unmatched_notes.h"

namespace tarvik::archive::sql {
namespace {

TEST(UnmatchedNotes, NoteTheRowsThatGaveNoRowOnceTheWalkEnds) {
  UnmatchedNotes notes;
  notes.start();
  notes.leaf_read(10);
  notes.row_given();
  notes.row_given();  // a second joined row of the same leftmost row
  notes.leaf_read(20);
  notes.leaf_read(30);
  notes.row_given();
  EXPECT_FALSE(notes.take()) << "nothing is known before the walk ends";
  notes.leaf_read(40);  // the last row, left by the end of the walk
  notes.walk_ended();
  std::optional<UnmatchedRows> taken = notes.take();
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->pointers, (std::vector<std::uint32_t>{20, 40}));
  EXPECT_EQ(taken->rows_read, 4);
  EXPECT_FALSE(notes.take()) << "taken once";

  notes.start();  // a new walk forgets the last one's notes
  notes.leaf_read(50);
  notes.walk_ended();
  taken = notes.take();
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->pointers, std::vector<std::uint32_t>{50});
  EXPECT_EQ(taken->rows_read, 1);
}

TEST(CountTrail, GivesBackEachRowsEntriesInOrder) {
  CountTrail trail;
  trail.start(3);
  for (std::int32_t row = 0; row < 4; ++row) {
    for (std::int32_t i = 0; i < 3; ++i) trail.entries().push_back(row * 10 + i);
  }
  EXPECT_FALSE(trail.complete());
  trail.finish();
  EXPECT_TRUE(trail.complete());
  EXPECT_EQ(trail.rows(), 4);
  for (int round = 0; round < 2; ++round) {
    trail.rewind();
    for (std::int32_t row = 0; row < 4; ++row) {
      const std::int32_t* entry = trail.next();
      ASSERT_NE(entry, nullptr);
      EXPECT_EQ(entry[0], row * 10);
      EXPECT_EQ(entry[2], row * 10 + 2);
    }
    EXPECT_EQ(trail.next(), nullptr);
  }
  trail.assign({7, 9});
  EXPECT_EQ(trail.rows(), 2);
  EXPECT_EQ(*trail.next(), 7);
  EXPECT_EQ(*trail.next(), 9);
  EXPECT_EQ(trail.next(), nullptr);
}

TEST(GroupsAhead, SettlesEveryRowOnceOldestFirst) {
  GroupsAhead ahead;
  std::vector<std::string> settled;
  const auto settle = [&](const GroupsAhead::Row& row) { settled.push_back(row.key); };
  const std::size_t rows = GroupsAhead::kDepth * 2 + 3;
  for (std::size_t i = 0; i < rows; ++i) {
    GroupsAhead::Row& row = ahead.slot(settle);
    EXPECT_EQ(settled.size(), i < GroupsAhead::kDepth ? 0 : i - GroupsAhead::kDepth + 1) << "rows wait for the ring to fill";
    row.key = std::to_string(i);
    ahead.push();
  }
  ahead.drain(settle);
  ASSERT_EQ(settled.size(), rows);
  for (std::size_t i = 0; i < rows; ++i) EXPECT_EQ(settled[i], std::to_string(i));
}

}  // namespace
}  // namespace tarvik::archive::sql
