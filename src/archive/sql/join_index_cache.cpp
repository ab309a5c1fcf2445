#include "archive/sql/join_index_cache.h"

#include <iterator>

namespace tarvik::archive::sql {

const Value* no_columns() {
  static const Value none[1];
  return none;
}

std::string kept_index_name(std::uint32_t tdef_page, const std::vector<std::size_t>& key_columns,
                            const std::vector<std::size_t>& stored_columns) {
  std::string name = std::to_string(tdef_page) + " on";
  for (std::size_t c : key_columns) name += ' ' + std::to_string(c);
  name += " keeping";
  for (std::size_t c : stored_columns) name += ' ' + std::to_string(c);
  return name;
}

const Value* StoredRows::row(std::size_t i) const { return width == 0 ? no_columns() : values.data() + i * width; }

std::shared_ptr<const JoinedTable> JoinIndexCache::find(const std::string& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->first == key) {
      entries_.splice(entries_.begin(), entries_, it);
      return entries_.front().second;
    }
  }
  return nullptr;
}

void JoinIndexCache::keep(const std::string& key, std::shared_ptr<const JoinedTable> table) {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.emplace_front(key, std::move(table));
  while (entries_.size() > kKept) entries_.pop_back();
  std::size_t others = 0;
  for (auto it = std::next(entries_.begin()); it != entries_.end(); ++it) {
    others += it->second->bytes();
    if (others > kBudgetBytes) {
      entries_.erase(it, entries_.end());
      break;
    }
  }
}

void JoinIndexCache::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.clear();
}

}  // namespace tarvik::archive::sql
