#include "report/whole_number_set.h"

namespace tarvik::report {

namespace {
// Ids come in runs (1, 2, 3, ...): their bits are mixed so that a run spreads over the table.
std::uint64_t mixed(std::int64_t number) {
  std::uint64_t x = static_cast<std::uint64_t>(number) + 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}
}  // namespace

std::size_t WholeNumberSet::slot_of(std::int64_t number) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = mixed(number) & mask;; i = (i + 1) & mask) {
    if (slots_[i] == number || slots_[i] == kFree) return i;
  }
}

void WholeNumberSet::grow() {
  std::vector<std::int64_t> old(slots_.empty() ? 64 : slots_.size() * 2, kFree);
  old.swap(slots_);
  for (const std::int64_t number : old) {
    if (number != kFree) slots_[slot_of(number)] = number;
  }
}

void WholeNumberSet::insert(std::int64_t number) {
  if ((count_ + 1) * 2 > slots_.size()) grow();
  std::int64_t& slot = slots_[slot_of(number)];
  if (slot == kFree) {
    slot = number;
    ++count_;
  }
}

bool WholeNumberSet::contains(std::int64_t number) const {
  return !slots_.empty() && slots_[slot_of(number)] == number;
}

}  // namespace tarvik::report
