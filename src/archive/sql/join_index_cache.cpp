#include "archive/sql/join_index_cache.h"

namespace tarvik::archive::sql {

std::shared_ptr<const JoinedTable> JoinIndexCache::find(const std::string& key) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->first == key) {
      entries_.splice(entries_.begin(), entries_, it);
      return entries_.front().second;
    }
  }
  return nullptr;
}

void JoinIndexCache::keep(const std::string& key, std::shared_ptr<const JoinedTable> table) {
  entries_.emplace_front(key, std::move(table));
  while (entries_.size() > kKept) entries_.pop_back();
}

}  // namespace tarvik::archive::sql
