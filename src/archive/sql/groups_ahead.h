// Rows of a grouped query wait a few at a time before their group is looked up, each one's place
// asked of memory as it comes: most groups are new, and their keys land all over a large table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/sql/slot_ring.h"

namespace tarvik::archive::sql {

class GroupsAhead {
 public:
  static constexpr std::size_t kDepth = 8;

  struct Row {
    std::string key;                  // its group's key
    std::vector<std::int32_t> trail;  // its trail entry
    std::vector<char> counted;        // per aggregate: whether the row counts in it
  };

  // Where the next row goes, once the oldest has been settled by `settle(Row&)` if every slot is
  // taken; push() keeps it.
  template <typename Settle>
  Row& slot(const Settle& settle) {
    if (ring_.full()) settle(*ring_.take());
    return ring_.tail();
  }
  void push() { ring_.push(); }
  // Settles every row still waiting, oldest first.
  template <typename Settle>
  void drain(const Settle& settle) {
    while (Row* row = ring_.take()) settle(*row);
  }

 private:
  SlotRing<Row, kDepth> ring_;
};

}  // namespace tarvik::archive::sql
