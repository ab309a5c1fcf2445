#include "archive/sql/join_index_cache.h"

#include <algorithm>
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
  return find_locked(key);
}

std::shared_ptr<const JoinedTable> JoinIndexCache::find_locked(const std::string& key) {
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
  keep_locked(key, std::move(table));
}

void JoinIndexCache::keep_locked(const std::string& key, std::shared_ptr<const JoinedTable> table) {
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

std::shared_ptr<const JoinedTable> JoinIndexCache::find_or_build(
    const std::string& key, const std::function<std::shared_ptr<const JoinedTable>()>& build) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      if (auto kept = find_locked(key)) return kept;
      if (std::find(building_.begin(), building_.end(), key) == building_.end()) break;
      built_.wait(lock);
    }
    building_.push_back(key);
  }
  // Whether it is kept or fails, the key is no longer being built, and whoever waits looks again.
  struct Claim {
    JoinIndexCache& cache;
    const std::string& key;
    ~Claim() {
      {
        std::lock_guard<std::mutex> lock(cache.mutex_);
        cache.building_.erase(std::find(cache.building_.begin(), cache.building_.end(), key));
      }
      cache.built_.notify_all();
    }
  } claim{*this, key};
  std::shared_ptr<const JoinedTable> table = build();
  std::lock_guard<std::mutex> lock(mutex_);
  keep_locked(key, table);
  return table;
}

void JoinIndexCache::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.clear();
}

}  // namespace tarvik::archive::sql
