// The keys of one side of a join, as the engine's hash joins compare them (numbers by value,
// texts by the archive's General sort order), so that "does this reference find a row?" is answered
// here exactly as the export's query answers it. A null finds nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "archive/sql/collation.h"
#include "archive/sql/key_numbers.h"
#include "archive/value.h"
#include "report/whole_number_set.h"

namespace tarvik::report {

std::string JoinKey(const archive::Value& value, archive::sql::TextOrder order);

class JoinKeys {
 public:
  explicit JoinKeys(archive::sql::TextOrder order) : order_(order) {}
  void add(const archive::Value& value);
  bool finds(const archive::Value& reference) const;

 private:
  // The ids of Tarvik's tables are whole numbers: kept as numbers they cost no text key each.
  // Every other value (a text code, a fraction) keeps the engine's key, in the engine's own
  // open-addressing table: a key costs its bytes and two slots, never a node.
  archive::sql::TextOrder order_;
  WholeNumberSet whole_numbers_;
  archive::sql::KeyNumbers other_keys_;
  mutable std::string key_;  // a text key being made, kept to reuse its storage
  std::string_view key_of(const archive::Value& value) const;
};

}  // namespace tarvik::report
