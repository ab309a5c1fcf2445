#include "archive/sql/output_columns.h"

#include <string>

#include "archive/archive_error.h"
#include "common/names.h"

namespace tarvik::archive::sql {

std::vector<OutputColumn> bind_select_list(const std::vector<SelectItem>& items, const std::vector<std::size_t>& all,
                                           const std::vector<PlanSource>& sources, ExpressionBinder& binder,
                                           std::vector<AggregateSpec>& aggregates) {
  struct Pending {
    OutputColumn column;
    std::string qualifier;  // for a plain column: its source's name
    bool plain_column = false;
    bool aliased = false;
  };
  std::vector<Pending> pending;
  for (const SelectItem& item : items) {
    if (item.all_columns) {
      bool found = item.qualifier.empty();
      for (std::size_t s : all) {
        const PlanSource& src = sources[s];
        if (!item.qualifier.empty() && !same_name(src.name, item.qualifier)) continue;
        found = true;
        for (std::size_t c = 0; c < src.table.columns.size(); ++c) {
          Pending p;
          p.column.expr = binder.column_ref(s, c, src.name + "." + src.table.columns[c].name);
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
    p.column.expr = binder.bind(*item.expr, all, &aggregates, "SELECT");
    if (!item.alias.empty()) {
      p.column.name = item.alias;
      p.aliased = true;
    } else if (p.column.expr.kind == BoundKind::Column) {
      const PlanSource& src = sources[p.column.expr.source];
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
  std::vector<OutputColumn> columns;
  for (Pending& p : pending) columns.push_back(std::move(p.column));
  return columns;
}

}  // namespace tarvik::archive::sql
