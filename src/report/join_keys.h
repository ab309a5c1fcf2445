// The keys of one side of a join, as the engine's hash joins compare them (numbers by value,
// texts by Jet's General sort order), so that "does this reference find a row?" is answered
// here exactly as the export's query answers it. A null finds nothing.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "archive/database.h"
#include "archive/value.h"

namespace tarvik::report {

std::string JoinKey(const archive::Value& value);

class JoinKeys {
 public:
  // The values of `column` in every row of `table`.
  static JoinKeys Of(archive::Database& archive, const std::string& table, const std::string& column);

  void add(const archive::Value& value) {
    if (!value.is_null()) keys_.insert(JoinKey(value));
  }
  bool finds(const archive::Value& reference) const {
    return !reference.is_null() && keys_.count(JoinKey(reference)) > 0;
  }

 private:
  std::unordered_set<std::string> keys_;
};

}  // namespace tarvik::report
