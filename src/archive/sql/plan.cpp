#include "archive/sql/plan.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <set>

#include "archive/archive_error.h"
#include "archive/sql/lexer.h"
#include "common/utf8.h"
#include "common/names.h"

namespace tarvik::archive::sql {

namespace {

using jet::ColumnType;

Category category_of_column(ColumnType t) {
  switch (t) {
    case ColumnType::Text:
    case ColumnType::Memo: return Category::Text;
    case ColumnType::Guid: return Category::Guid;
    case ColumnType::Binary:
    case ColumnType::Ole:
    case ColumnType::Complex: return Category::Binary;
    default: return Category::Number;
  }
}

bool is_integer_type(ColumnType t) {
  return t == ColumnType::Byte || t == ColumnType::Integer || t == ColumnType::Long ||
         t == ColumnType::Boolean;
}

std::optional<std::size_t> find_column(const jet::TableDef& table, std::string_view name) {
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    if (same_name(table.columns[i].name, name)) return i;
  }
  return std::nullopt;
}

bool same_bound(const Bound& a, const Bound& b) {
  if (a.kind != b.kind || a.args.size() != b.args.size()) return false;
  switch (a.kind) {
    case BoundKind::Column:
      if (a.source != b.source || a.column != b.column) return false;
      break;
    case BoundKind::Literal:
      if (!(a.literal == b.literal)) return false;
      break;
    case BoundKind::Compare:
      if (a.op != b.op) return false;
      break;
    case BoundKind::IsNull:
      if (a.negated != b.negated) return false;
      break;
    case BoundKind::Aggregate:
    case BoundKind::GroupValue:
      if (a.index != b.index) return false;
      break;
    default: break;
  }
  for (std::size_t i = 0; i < a.args.size(); ++i) {
    if (!same_bound(a.args[i], b.args[i])) return false;
  }
  return true;
}

template <typename F>
void visit_columns(Bound& e, const F& f) {
  if (e.kind == BoundKind::Column) f(e);
  for (Bound& a : e.args) visit_columns(a, f);
}

constexpr FieldType kLongType{ColumnType::Long, 4};
constexpr FieldType kBooleanType{ColumnType::Boolean, 1};

class Binder {
 public:
  Binder(const SelectStatement& st, const TableLookup& lookup) : st_(st), lookup_(lookup) {}

  Plan run() {
    plan_.distinct = st_.distinct;
    plan_.from = build_from(*st_.from);
    std::vector<std::size_t> all = plan_.from->sources;

    if (st_.where) {
      plan_.where = bind(*st_.where, all, nullptr, "WHERE");
      require_truth_value(*plan_.where, false);
    }
    for (const ExprPtr& g : st_.group_by) {
      plan_.group_keys.push_back(bind(*g, all, nullptr, "GROUP BY"));
    }
    bind_select_list(all);
    if (st_.having) {
      plan_.having = bind(*st_.having, all, &plan_.aggregates, "HAVING");
      require_truth_value(*plan_.having, false);
    }
    for (const OrderItem& o : st_.order_by) {
      plan_.order_by.push_back({bind(*o.expr, all, &plan_.aggregates, "ORDER BY"), o.descending});
    }
    if (!unknown_names_.empty()) {
      throw errors::too_few_parameters(static_cast<int>(unknown_names_.size()));
    }

    plan_.grouped = !plan_.group_keys.empty() || !plan_.aggregates.empty() || plan_.having;
    if (plan_.grouped) {
      for (OutputColumn& c : plan_.columns) to_group_row(c.expr);
      if (plan_.having) to_group_row(*plan_.having);
      for (SortKey& k : plan_.order_by) to_group_row(k.expr);
    }
    if (plan_.distinct) {
      for (const SortKey& k : plan_.order_by) {
        const bool listed = std::any_of(plan_.columns.begin(), plan_.columns.end(),
                                        [&](const OutputColumn& c) { return same_bound(c.expr, k.expr); });
        if (!listed) throw errors::order_by_conflicts_with_distinct(k.expr.text);
      }
    }
    assign_slots();
    return std::move(plan_);
  }

 private:
  std::unique_ptr<JoinNode> build_from(const TableRef& ref) {
    auto node = std::make_unique<JoinNode>();
    if (!ref.is_join) {
      PlanSource source;
      source.table = lookup_(ref.table);
      source.name = ref.alias.empty() ? ref.table : ref.alias;
      for (const PlanSource& other : plan_.sources) {
        if (same_name(other.name, source.name)) throw errors::repeated_table_name(source.name);
      }
      node->source = plan_.sources.size();
      node->sources.push_back(node->source);
      plan_.sources.push_back(std::move(source));
      return node;
    }
    node->is_join = true;
    node->kind = ref.join;
    node->left = build_from(*ref.left);
    node->right = build_from(*ref.right);
    node->sources = node->left->sources;
    node->sources.insert(node->sources.end(), node->right->sources.begin(), node->right->sources.end());
    bind_join_condition(*node, *ref.on);
    return node;
  }

  // ON must be equalities joined by AND, each with one side over the left sources and the other
  // over the right sources.
  void bind_join_condition(JoinNode& node, const Expr& on) {
    std::vector<const Expr*> equalities;
    collect_conjuncts(on, equalities);
    for (const Expr* eq : equalities) {
      if (eq->kind != ExprKind::Compare || eq->op != CompareOp::Equal) {
        throw errors::join_expression_not_supported();
      }
      Bound a = bind(*eq->args[0], node.sources, nullptr, "ON");
      Bound b = bind(*eq->args[1], node.sources, nullptr, "ON");
      if (!unknown_names_.empty()) continue;  // reported once every clause is read
      const int side_a = side_of(a, node);
      const int side_b = side_of(b, node);
      if (side_a == 0 && side_b == 1) {
        std::swap(a, b);
      } else if (!(side_a == 1 && side_b == 0)) {
        throw errors::join_expression_not_supported();
      }
      if (!comparable(a.category, b.category)) throw errors::join_type_mismatch();
      node.left_keys.push_back(std::move(a));
      node.right_keys.push_back(std::move(b));
    }
  }

  static void collect_conjuncts(const Expr& e, std::vector<const Expr*>& out) {
    if (e.kind == ExprKind::And) {
      collect_conjuncts(*e.args[0], out);
      collect_conjuncts(*e.args[1], out);
    } else {
      out.push_back(&e);
    }
  }

  // 1 when every column of `e` is on the left of the join, 0 when on the right, -1 otherwise
  // (both sides, or no column at all).
  static int side_of(Bound& e, const JoinNode& node) {
    bool left = false, right = false;
    visit_columns(e, [&](const Bound& c) {
      const auto& ls = node.left->sources;
      if (std::find(ls.begin(), ls.end(), c.source) != ls.end()) {
        left = true;
      } else {
        right = true;
      }
    });
    if (left == right) return -1;
    return left ? 1 : 0;
  }

  void bind_select_list(const std::vector<std::size_t>& all) {
    struct Pending {
      OutputColumn column;
      std::string qualifier;  // for a plain column: its source's name
      bool plain_column = false;
      bool aliased = false;
    };
    std::vector<Pending> pending;
    for (const SelectItem& item : st_.items) {
      if (item.all_columns) {
        bool found = item.qualifier.empty();
        for (std::size_t s : all) {
          const PlanSource& src = plan_.sources[s];
          if (!item.qualifier.empty() && !same_name(src.name, item.qualifier)) continue;
          found = true;
          for (std::size_t c = 0; c < src.table.columns.size(); ++c) {
            Pending p;
            p.column.expr = column_ref(s, c, src.name + "." + src.table.columns[c].name);
            p.column.name = src.table.columns[c].name;
            p.qualifier = src.name;
            p.plain_column = true;
            pending.push_back(std::move(p));
          }
        }
        if (!found) throw errors::table_not_found(item.qualifier);
        continue;
      }
      Pending p;
      p.column.expr = bind(*item.expr, all, &plan_.aggregates, "SELECT");
      if (!item.alias.empty()) {
        p.column.name = item.alias;
        p.aliased = true;
      } else if (p.column.expr.kind == BoundKind::Column) {
        const PlanSource& src = plan_.sources[p.column.expr.source];
        p.column.name = src.table.columns[p.column.expr.column].name;
        p.qualifier = src.name;
        p.plain_column = true;
      }
      pending.push_back(std::move(p));
    }
    // Jet names an expression ExprNNNN after its position, and a column whose name occurs twice
    // by its table: Agenti.idCliFor, CliFor.idCliFor.
    for (std::size_t i = 0; i < pending.size(); ++i) {
      Pending& p = pending[i];
      if (!p.aliased && !p.plain_column) p.column.name = "Expr" + std::to_string(1000 + i);
    }
    std::vector<bool> repeated(pending.size(), false);
    for (std::size_t i = 0; i < pending.size(); ++i) {
      for (std::size_t j = 0; j < pending.size(); ++j) {
        const Pending& a = pending[i];
        const Pending& b = pending[j];
        if (i != j && a.plain_column && b.plain_column && a.qualifier != b.qualifier &&
            same_name(a.column.name, b.column.name)) {
          repeated[i] = true;
        }
      }
    }
    for (std::size_t i = 0; i < pending.size(); ++i) {
      if (repeated[i]) pending[i].column.name = pending[i].qualifier + "." + pending[i].column.name;
    }
    for (Pending& p : pending) plan_.columns.push_back(std::move(p.column));
  }

  Bound column_ref(std::size_t source, std::size_t column, std::string text) const {
    const jet::Column& col = plan_.sources[source].table.columns[column];
    Bound b;
    b.kind = BoundKind::Column;
    b.source = source;
    b.column = column;
    b.category = category_of_column(col.type);
    b.type = {col.type, col.length};
    b.text = std::move(text);
    return b;
  }

  Bound unknown(const std::string& name, std::string text) {
    unknown_names_.insert(name_key(name));
    Bound b;  // a null literal stands in until the count is reported
    b.text = std::move(text);
    return b;
  }

  Bound resolve(const Expr& e, const std::vector<std::size_t>& scope) {
    if (!e.qualifier.empty()) {
      for (std::size_t s : scope) {
        if (!same_name(plan_.sources[s].name, e.qualifier)) continue;
        if (auto c = find_column(plan_.sources[s].table, e.name)) return column_ref(s, *c, e.text);
        break;
      }
      return unknown(e.qualifier + "." + e.name, e.text);
    }
    std::optional<Bound> found;
    for (std::size_t s : scope) {
      if (auto c = find_column(plan_.sources[s].table, e.name)) {
        if (found) throw errors::ambiguous_field(e.name);
        found = column_ref(s, *c, e.text);
      }
    }
    if (!found) return unknown(e.name, e.text);
    return *found;
  }

  static Bound literal(Value v, Category category, FieldType type, std::string text) {
    Bound b;
    b.kind = BoundKind::Literal;
    b.literal = std::move(v);
    b.category = category;
    b.type = type;
    b.text = std::move(text);
    return b;
  }

  static Bound number_literal(const std::string& digits, bool negative, std::string text) {
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
    return literal(Value::double_(negative ? -d : d), Category::Number, {ColumnType::Double, 8},
                   std::move(text));
  }

  void require_truth_value(const Bound& e, bool join) const {
    if (e.category != Category::Number && e.category != Category::Null) {
      if (join) throw errors::join_type_mismatch();
      throw errors::criteria_type_mismatch();
    }
  }

  // `aggregates` is where COUNT may be collected; null where aggregates are not allowed.
  Bound bind(const Expr& e, const std::vector<std::size_t>& scope,
             std::vector<AggregateSpec>* aggregates, const char* clause) {
    switch (e.kind) {
      case ExprKind::Column: return resolve(e, scope);
      case ExprKind::Number: return number_literal(e.literal, false, e.text);
      case ExprKind::String: {
        const Text t = utf8_to_utf16(e.literal);
        const auto size = static_cast<std::uint16_t>(std::min<std::size_t>(t.size() * 2, 0xFFFF));
        return literal(Value::text(t), Category::Text, {ColumnType::Text, size}, e.text);
      }
      case ExprKind::Null: return literal(Value(), Category::Null, {ColumnType::Text, 0}, e.text);
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

  Bound bind_function(const Expr& e, const std::vector<std::size_t>& scope,
                      std::vector<AggregateSpec>* aggregates, const char* clause) {
    if (same_name(e.name, "LEN")) {
      if (e.star || e.args.size() != 1) throw errors::expression_syntax(e.text);
      Bound b;
      b.kind = BoundKind::Len;
      b.args.push_back(bind(*e.args[0], scope, aggregates, clause));
      const Bound& arg = b.args[0];
      const bool whole_number = arg.category == Category::Number && is_integer_type(arg.type.type) &&
                                arg.type.type != ColumnType::Boolean;
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

  // Rewrites an expression of a grouped query over the group row: group keys and aggregates
  // become its values; any other column is an error, as in Jet.
  void to_group_row(Bound& e) const {
    for (std::size_t i = 0; i < plan_.group_keys.size(); ++i) {
      if (same_bound(e, plan_.group_keys[i])) {
        e.kind = BoundKind::GroupValue;
        e.index = i;
        e.args.clear();
        return;
      }
    }
    if (e.kind == BoundKind::Aggregate) {
      e.kind = BoundKind::GroupValue;
      e.index = plan_.group_keys.size() + e.index;
      return;
    }
    if (e.kind == BoundKind::Column) throw errors::not_part_of_aggregate(e.text);
    for (Bound& a : e.args) to_group_row(a);
  }

  void assign_slots() {
    std::vector<std::set<std::size_t>> kept(plan_.sources.size());
    auto keep = [&](Bound& e) { visit_columns(e, [&](const Bound& c) { kept[c.source].insert(c.column); }); };
    if (plan_.where) keep(*plan_.where);
    for (Bound& k : plan_.group_keys) keep(k);
    for (AggregateSpec& a : plan_.aggregates) {
      if (!a.star) keep(a.arg);
    }
    for (OutputColumn& c : plan_.columns) keep(c.expr);
    for (SortKey& k : plan_.order_by) keep(k.expr);
    if (plan_.having) keep(*plan_.having);
    keep_join_keys(*plan_.from, keep);

    for (std::size_t s = 0; s < plan_.sources.size(); ++s) {
      plan_.sources[s].stored_columns.assign(kept[s].begin(), kept[s].end());
    }
    auto set_slot = [&](Bound& e) {
      visit_columns(e, [&](Bound& c) {
        const auto& stored = plan_.sources[c.source].stored_columns;
        const auto it = std::find(stored.begin(), stored.end(), c.column);
        c.slot = it == stored.end() ? 0 : static_cast<std::size_t>(it - stored.begin());
      });
    };
    if (plan_.where) set_slot(*plan_.where);
    for (Bound& k : plan_.group_keys) set_slot(k);
    for (AggregateSpec& a : plan_.aggregates) {
      if (!a.star) set_slot(a.arg);
    }
    for (OutputColumn& c : plan_.columns) set_slot(c.expr);
    for (SortKey& k : plan_.order_by) set_slot(k.expr);
    set_join_slots(*plan_.from, set_slot);
  }

  // The right keys of a join whose right side is one table are read from its scanned rows while
  // its hash is built, so they need not be kept.
  template <typename F>
  static void keep_join_keys(JoinNode& node, const F& keep) {
    if (!node.is_join) return;
    for (Bound& k : node.left_keys) keep(k);
    if (node.right->is_join) {
      for (Bound& k : node.right_keys) keep(k);
    }
    keep_join_keys(*node.left, keep);
    keep_join_keys(*node.right, keep);
  }

  template <typename F>
  static void set_join_slots(JoinNode& node, const F& set_slot) {
    if (!node.is_join) return;
    for (Bound& k : node.left_keys) set_slot(k);
    for (Bound& k : node.right_keys) set_slot(k);
    set_join_slots(*node.left, set_slot);
    set_join_slots(*node.right, set_slot);
  }

  const SelectStatement& st_;
  const TableLookup& lookup_;
  Plan plan_;
  std::set<std::string> unknown_names_;
};

}  // namespace

Plan make_plan(const SelectStatement& statement, const TableLookup& lookup) {
  return Binder(statement, lookup).run();
}

}  // namespace tarvik::archive::sql
