#include "archive/key_lookup.h"

#include "archive/sql/compare.h"
#include "archive/sql/join_index_cache.h"

namespace tarvik::archive {

KeyLookup::KeyLookup(std::shared_ptr<const sql::JoinedTable> index, sql::TextOrder order)
    : index_(std::move(index)), order_(order) {}

bool KeyLookup::finds(const Value& value) const {
  if (value.is_null()) return false;
  key_.clear();
  sql::append_key(key_, value, order_);
  return index_->index.first(key_) >= 0;
}

}  // namespace tarvik::archive
