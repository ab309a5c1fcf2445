#include "archive/sql/result_order.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "archive/sql/compare.h"

namespace tarvik::archive::sql {

namespace {

int compare_rows(const std::vector<Value>& a, const std::vector<Value>& b, const std::vector<SortKey>* order,
                 TextOrder text_order) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    int c = compare_for_sort(a[i], b[i], text_order);
    if (order && (*order)[i].descending) c = -c;
    if (c != 0) return c;
  }
  return 0;
}

}  // namespace

bool DistinctRows::first_of_its_kind(const std::vector<Value>& row) {
  key_.clear();
  for (const Value& v : row) append_key(key_, v, order_);
  return seen_.insert(key_).second;
}

void sort_distinct(std::vector<ResultRow>& rows, TextOrder text_order) {
  std::stable_sort(rows.begin(), rows.end(), [text_order](const ResultRow& a, const ResultRow& b) {
    return compare_rows(a.out, b.out, nullptr, text_order) < 0;
  });
}

void sort_by_order(std::vector<ResultRow>& rows, const std::vector<SortKey>& order_by, TextOrder text_order) {
  if (order_by.empty()) return;
  std::stable_sort(rows.begin(), rows.end(), [&](const ResultRow& a, const ResultRow& b) {
    return compare_rows(a.order_keys, b.order_keys, &order_by, text_order) < 0;
  });
}

}  // namespace tarvik::archive::sql
