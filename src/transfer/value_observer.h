// Who hears about a value the transfer file cannot carry as it stands in the archive. The writer
// calls the observer only when a value is actually changed, so a run without one, or a value
// written as it is, costs nothing beyond a pointer test.
#pragma once

#include <string_view>

#include "archive/value.h"

namespace tarvik::transfer {

enum class ChangeKind {
  TextChanged,         // characters outside Windows-1252 became "?", or control characters went
  ConditionDropped,    // a payment-condition reference the CondPag block did not carry: written empty
  NotRepresentable,    // a number or date with no text of its kind: written as an empty line
};

struct ValueChange {
  ChangeKind kind;
  const archive::Value& original;
  // What went into the file for it, in Windows-1252 (empty for an empty line).
  std::string_view written;
  bool raw = false;  // a text written unchanged (a memo), not cleaned
};

class ValueObserver {
 public:
  virtual ~ValueObserver() = default;
  virtual void value_changed(const ValueChange& change) = 0;
};

}  // namespace tarvik::transfer
