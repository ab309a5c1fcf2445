#include "archive/sql/expression_binder.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "archive/archive_error.h"
#include "archive/sql/bound_walk.h"
#include "common/names.h"
#include "common/utf8.h"

namespace tarvik::archive::sql {

namespace {


constexpr DeclaredType kLongType{FieldType::Long, 4};
constexpr DeclaredType kBooleanType{FieldType::Boolean, 1};

Category category_of_column(FieldType t) {
  switch (t) {
    case FieldType::Text:
    case FieldType::Memo: return Category::Text;
    case FieldType::Guid: return Category::Guid;
    case FieldType::Binary:
    case FieldType::Ole:
    case FieldType::Complex: return Category::Binary;
    default: return Category::Number;
  }
}

bool is_integer_type(FieldType t) {
  return t == FieldType::Byte || t == FieldType::Integer || t == FieldType::Long ||
         t == FieldType::Boolean;
}

std::optional<std::size_t> find_column(const jet::TableDef& table, std::string_view name) {
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    if (same_name(table.columns[i].name, name)) return i;
  }
  return std::nullopt;
}

Bound literal(Value v, Category category, DeclaredType type, std::string text) {
  Bound b;
  b.kind = BoundKind::Literal;
  b.literal = std::move(v);
  b.category = category;
  b.type = type;
  b.text = std::move(text);
  return b;
}

Bound number_literal(const std::string& digits, bool negative, std::string text) {
  const bool integral = digits.find_first_of(".eE") == std::string::npos;
  if (integral && digits.size() <= 10) {
    const long long v = std::strtoll(digits.c_str(), nullptr, 10);
    const long long signed_v = negative ? -v : v;
    if (signed_v >= INT32_MIN && signed_v <= INT32_MAX) {
      return literal(Value::long_(static_cast<std::int32_t>(signed_v)), Category::Number, kLongType,
                     std::move(text));
    }
  }
  const double d = std::strtod(digits.c_str(), nullptr);
  return literal(Value::double_(negative ? -d : d), Category::Number, {FieldType::Double, 8},
                 std::move(text));
}

}  // namespace

Bound ExpressionBinder::column_ref(std::size_t source, std::size_t column, std::string text) const {
  const jet::Column& col = sources_[source].table.columns[column];
  Bound b;
  b.kind = BoundKind::Column;
  b.source = source;
  b.column = column;
  b.category = category_of_column(col.type);
  b.type = {col.type, col.length};
  b.text = std::move(text);
  return b;
}

Bound ExpressionBinder::unknown(const std::string& name, std::string text) {
  unknown_names_.insert(name_key(name));
  Bound b;  // a null literal stands in until the count is reported
  b.text = std::move(text);
  return b;
}

Bound ExpressionBinder::resolve(const Expr& e, const std::vector<std::size_t>& scope) {
  if (!e.qualifier.empty()) {
    for (std::size_t s : scope) {
      if (!same_name(sources_[s].name, e.qualifier)) continue;
      if (auto c = find_column(sources_[s].table, e.name)) return column_ref(s, *c, e.text);
      break;
    }
    return unknown(e.qualifier + "." + e.name, e.text);
  }
  std::optional<Bound> found;
  for (std::size_t s : scope) {
    if (auto c = find_column(sources_[s].table, e.name)) {
      if (found) throw errors::ambiguous_field(e.name);
      found = column_ref(s, *c, e.text);
    }
  }
  if (!found) return unknown(e.name, e.text);
  return *found;
}

void ExpressionBinder::require_truth_value(const Bound& e, bool join) {
  if (e.category != Category::Number && e.category != Category::Null) {
    if (join) throw errors::join_type_mismatch();
    throw errors::criteria_type_mismatch();
  }
}

Bound ExpressionBinder::bind(const Expr& e, const std::vector<std::size_t>& scope,
                             std::vector<AggregateSpec>* aggregates, const char* clause) {
  switch (e.kind) {
    case ExprKind::Column: return resolve(e, scope);
    case ExprKind::Number: return number_literal(e.literal, false, e.text);
    case ExprKind::String: {
      const Text t = utf8_to_utf16(e.literal);
      const auto size = static_cast<std::uint16_t>(std::min<std::size_t>(t.size() * 2, 0xFFFF));
      return literal(Value::text(t), Category::Text, {FieldType::Text, size}, e.text);
    }
    case ExprKind::Null: return literal(Value(), Category::Null, {FieldType::Text, 0}, e.text);
    case ExprKind::Negate: {
      // Only a negative number: Jet's other arithmetic is outside the subset.
      const Expr& inner = *e.args[0];
      if (inner.kind == ExprKind::Number) return number_literal(inner.literal, true, e.text);
      if (inner.kind == ExprKind::Negate && inner.args[0]->kind == ExprKind::Number) {
        return number_literal(inner.args[0]->literal, false, e.text);
      }
      throw errors::unsupported_sql("il segno meno davanti a " + inner.text);
    }
    case ExprKind::Compare: {
      Bound b;
      b.kind = BoundKind::Compare;
      b.op = e.op;
      b.args.push_back(bind(*e.args[0], scope, aggregates, clause));
      b.args.push_back(bind(*e.args[1], scope, aggregates, clause));
      if (!comparable(b.args[0].category, b.args[1].category)) {
        if (std::string_view(clause) == "ON") throw errors::join_type_mismatch();
        throw errors::criteria_type_mismatch();
      }
      b.category = Category::Number;
      b.type = kBooleanType;
      b.text = e.text;
      return b;
    }
    case ExprKind::And:
    case ExprKind::Or:
    case ExprKind::Not: {
      Bound b;
      b.kind = e.kind == ExprKind::And ? BoundKind::And : (e.kind == ExprKind::Or ? BoundKind::Or : BoundKind::Not);
      for (const ExprPtr& a : e.args) {
        b.args.push_back(bind(*a, scope, aggregates, clause));
        require_truth_value(b.args.back(), std::string_view(clause) == "ON");
      }
      b.category = Category::Number;
      b.type = kBooleanType;
      b.text = e.text;
      return b;
    }
    case ExprKind::IsNull: {
      Bound b;
      b.kind = BoundKind::IsNull;
      b.negated = e.negated;
      b.args.push_back(bind(*e.args[0], scope, aggregates, clause));
      b.category = Category::Number;
      b.type = kBooleanType;
      b.text = e.text;
      return b;
    }
    case ExprKind::Function: return bind_function(e, scope, aggregates, clause);
  }
  throw errors::expression_syntax(e.text);
}

Bound ExpressionBinder::bind_function(const Expr& e, const std::vector<std::size_t>& scope,
                                      std::vector<AggregateSpec>* aggregates, const char* clause) {
  if (same_name(e.name, "LEN")) {
    if (e.star || e.args.size() != 1) throw errors::expression_syntax(e.text);
    Bound b;
    b.kind = BoundKind::Len;
    b.args.push_back(bind(*e.args[0], scope, aggregates, clause));
    const Bound& arg = b.args[0];
    const bool whole_number = arg.category == Category::Number && is_integer_type(arg.type.type) &&
                              arg.type.type != FieldType::Boolean;
    if (arg.category != Category::Text && arg.category != Category::Null && !whole_number) {
      throw errors::unsupported_sql("LEN di un valore che non è testo né numero intero (" + arg.text + ")");
    }
    b.category = Category::Number;
    b.type = kLongType;
    b.text = e.text;
    return b;
  }
  if (same_name(e.name, "COUNT")) {
    if (!aggregates) throw errors::aggregate_not_allowed(clause);
    if (!e.star && e.args.size() != 1) throw errors::expression_syntax(e.text);
    AggregateSpec spec;
    spec.star = e.star;
    if (!e.star) spec.arg = bind(*e.args[0], scope, nullptr, "COUNT");
    Bound b;
    b.kind = BoundKind::Aggregate;
    b.category = Category::Number;
    b.type = kLongType;
    b.text = e.text;
    const auto same = std::find_if(aggregates->begin(), aggregates->end(), [&](const AggregateSpec& a) {
      return a.star == spec.star && (spec.star || same_bound(a.arg, spec.arg));
    });
    b.index = static_cast<std::size_t>(same - aggregates->begin());
    if (same == aggregates->end()) aggregates->push_back(std::move(spec));
    return b;
  }
  std::string upper = e.name;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  throw errors::unsupported_sql("la funzione " + upper);
}

}  // namespace tarvik::archive::sql
