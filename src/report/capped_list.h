// A list that keeps its first entries and counts the rest, so that a report on an archive of
// millions of broken rows stays small while its counts stay exact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvik::report {

inline constexpr std::size_t kEntriesShown = 1000;

template <class Entry>
class CappedList {
 public:
  void add(Entry entry) {
    ++count_;
    if (shown_.size() < kEntriesShown) shown_.push_back(std::move(entry));
  }
  // Counted without an entry of its own (the rest of a count found by a query).
  void add_unlisted(std::int64_t count) { count_ += count; }
  std::int64_t count() const { return count_; }
  const std::vector<Entry>& shown() const { return shown_; }
  std::int64_t not_shown() const { return count_ - static_cast<std::int64_t>(shown_.size()); }

 private:
  std::vector<Entry> shown_;
  std::int64_t count_ = 0;
};

}  // namespace tarvik::report
