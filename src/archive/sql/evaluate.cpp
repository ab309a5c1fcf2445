#include "archive/sql/evaluate.h"

#include <string>

#include "archive/archive_error.h"

namespace tarvik::archive::sql {

namespace {

const Value kNull;

Truth of_value(const Value& v) {
  switch (v.kind()) {
    case ValueKind::Null: return Truth::Unknown;
    case ValueKind::Boolean: return v.as_boolean() ? Truth::True : Truth::False;
    case ValueKind::Text:
    case ValueKind::Binary:
    case ValueKind::Guid: throw errors::criteria_type_mismatch();
    default: {
      static const Value zero = Value::long_(0);
      return compare_values(v, zero, TextOrder::General) != 0 ? Truth::True : Truth::False;  // numbers only
    }
  }
}

Truth compare(const Bound& e, const RowContext& row) {
  Value sa, sb;
  const Value& a = operand(e.args[0], row, sa);
  const Value& b = operand(e.args[1], row, sb);
  if (a.is_null() || b.is_null()) return Truth::Unknown;
  const int c = compare_values(a, b, row.text_order);
  bool r = false;
  switch (e.op) {
    case CompareOp::Equal: r = c == 0; break;
    case CompareOp::NotEqual: r = c != 0; break;
    case CompareOp::Less: r = c < 0; break;
    case CompareOp::LessEqual: r = c <= 0; break;
    case CompareOp::Greater: r = c > 0; break;
    case CompareOp::GreaterEqual: r = c >= 0; break;
  }
  return r ? Truth::True : Truth::False;
}

Value length(const Value& v) {
  switch (v.kind()) {
    case ValueKind::Null: return Value();
    case ValueKind::Text: return Value::long_(static_cast<std::int32_t>(v.as_text().size()));
    case ValueKind::Byte: return Value::long_(static_cast<std::int32_t>(std::to_string(v.as_byte()).size()));
    case ValueKind::Integer: return Value::long_(static_cast<std::int32_t>(std::to_string(v.as_integer()).size()));
    case ValueKind::Long: return Value::long_(static_cast<std::int32_t>(std::to_string(v.as_long()).size()));
    default: throw errors::criteria_type_mismatch();
  }
}

Value of_truth(Truth t) {
  if (t == Truth::Unknown) return Value();
  return Value::boolean(t == Truth::True);
}

}  // namespace

const Value& operand(const Bound& e, const RowContext& row, Value& scratch) {
  if (e.kind == BoundKind::Column) {
    const Value* r = row.rows[e.source];
    if (r == nullptr) return kNull;
    return r[row.full[e.source] ? e.column : e.slot];
  }
  if (e.kind == BoundKind::GroupValue) return row.group[e.index];
  if (e.kind == BoundKind::Literal) return e.literal;
  scratch = evaluate(e, row);
  return scratch;
}

Value evaluate(const Bound& e, const RowContext& row) {
  switch (e.kind) {
    case BoundKind::Column:
    case BoundKind::GroupValue:
    case BoundKind::Literal: {
      Value scratch;
      return operand(e, row, scratch);
    }
    case BoundKind::Len: {
      Value scratch;
      return length(operand(e.args[0], row, scratch));
    }
    case BoundKind::Aggregate: break;  // replaced by GroupValue before any evaluation
    default: return of_truth(truth(e, row));
  }
  throw errors::unsupported_sql("un'aggregazione fuori posto");
}

Truth truth(const Bound& e, const RowContext& row) {
  switch (e.kind) {
    case BoundKind::Compare: return compare(e, row);
    case BoundKind::And: {
      const Truth a = truth(e.args[0], row);
      if (a == Truth::False) return Truth::False;
      const Truth b = truth(e.args[1], row);
      if (b == Truth::False) return Truth::False;
      return (a == Truth::True && b == Truth::True) ? Truth::True : Truth::Unknown;
    }
    case BoundKind::Or: {
      const Truth a = truth(e.args[0], row);
      if (a == Truth::True) return Truth::True;
      const Truth b = truth(e.args[1], row);
      if (b == Truth::True) return Truth::True;
      return (a == Truth::False && b == Truth::False) ? Truth::False : Truth::Unknown;
    }
    case BoundKind::Not: {
      const Truth a = truth(e.args[0], row);
      if (a == Truth::Unknown) return a;
      return a == Truth::True ? Truth::False : Truth::True;
    }
    case BoundKind::RowMissing:
      return (row.rows[e.source] == nullptr) != e.negated ? Truth::True : Truth::False;
    case BoundKind::IsNull: {
      Value scratch;
      const bool is_null = operand(e.args[0], row, scratch).is_null();
      return is_null != e.negated ? Truth::True : Truth::False;
    }
    default: {
      Value scratch;
      return of_value(operand(e, row, scratch));
    }
  }
}

}  // namespace tarvik::archive::sql
