// The rows of a block as its rule found them, kept for a later block that joins to them: which
// keys were written, which exist, and why each other one was left out.
#pragma once

#include <string>
#include <unordered_map>

#include "archive/value.h"
#include "report/join_keys.h"

namespace tarvik::report {

struct KeptRows {
  // `complete` when every row of the block was read, not only those its query noted.
  KeptRows(archive::sql::TextOrder order, bool complete)
      : written(order), all(order), complete(complete), order_(order) {}

  // A row read, with the reason it was left out (empty: written).
  void Note(const archive::Value& key, const std::string& reason) {
    all.add(key);
    if (reason.empty()) written.add(key);
    else if (!key.is_null()) causes_.emplace(JoinKey(key, order_), reason);
  }
  const std::string* cause(const archive::Value& key) const {
    auto found = causes_.find(JoinKey(key, order_));
    return found == causes_.end() ? nullptr : &found->second;
  }

  JoinKeys written;
  JoinKeys all;
  bool complete;

 private:
  std::unordered_map<std::string, std::string> causes_;  // by join key
  archive::sql::TextOrder order_;
};

}  // namespace tarvik::report
