// The joins along a join tree's left spine, walked for one leftmost row at a time: the row is
// followed by its matches at each join in turn, in the joined tables' physical order. Each joined
// side is read once into a relation: its kept rows and the index of its keys.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "archive/sql/compare.h"
#include "archive/sql/evaluate.h"
#include "archive/sql/execution_state.h"
#include "archive/sql/join_index_cache.h"
#include "archive/sql/plan.h"
#include "archive/sql/rows_ahead.h"

namespace tarvik::archive::sql {

// The right side of a join: its rows as row numbers of its sources (-1: the missing side of an
// inner LEFT JOIN), and the index of their keys. A single table's entry n is its row n.
struct Relation {
  std::vector<std::size_t> sources;
  bool single_table = false;
  std::vector<std::int32_t> refs;  // sources.size() per row; none for a single table
  std::shared_ptr<const JoinedTable> table;  // its key index
};

// The key `keys` make of `row` into `key`; false when a value is null: a null matches nothing.
inline bool make_join_key(const std::vector<Bound>& keys, const RowContext& row, std::string& key) {
  key.clear();
  Value scratch;
  for (const Bound& k : keys) {
    const Value& v = operand(k, row, scratch);
    if (v.is_null()) return false;
    append_key(key, v, row.text_order);
  }
  return true;
}

class JoinWalk {
 public:
  // Reads every joined side of the spine under `root` (a stored or scanned leftmost table aside).
  JoinWalk(Execution::State& st, const JoinNode& root);

  // The source of the leftmost table.
  std::size_t leaf() const { return leaf_; }
  std::size_t size() const { return steps_.size(); }
  // Marks in `mask` the leftmost table's columns the joins' keys read.
  void mark_leaf_keys(std::vector<bool>& mask) const;
  // Whether the first join's key is read from the leftmost row alone, so it can be made ahead.
  bool first_key_reads_leaf_only() const;

  // The first join's key made for a row read ahead, in the form RowsAhead::fill takes.
  struct FirstKey {
    const JoinWalk& walk;
    void make(RowsAhead::Row& row) const { walk.make_first_key(row); }
    void prefetch(const RowsAhead::Row& row) const { walk.prefetch_first(row); }
    void prefetch_bytes(const RowsAhead::Row& row) const { walk.prefetch_first_bytes(row); }
  };
  FirstKey first_key() const { return FirstKey{*this}; }
  // The current leftmost row's first join key was made ahead, in `row` (valid until the walk
  // enters the first join).
  void key_made_ahead(const RowsAhead::Row& row) { ahead_ = &row; }
  // A new walk: no key made ahead.
  void restart() { ahead_ = nullptr; }

  // To the next joined row: on from the current one when `resume`, else from the leftmost row
  // `next_leaf()` moves to first. False when the leftmost rows have ended.
  template <typename NextLeaf>
  bool next(bool resume, const NextLeaf& next_leaf) {
    const int k = static_cast<int>(steps_.size());
    int i = resume ? k - 1 : -1;
    while (true) {
      const bool moved = i < 0 ? next_leaf() : advance(steps_[static_cast<std::size_t>(i)]);
      if (!moved) {
        if (i < 0) return false;
        --i;
        continue;
      }
      int j = i + 1;
      while (j < k && enter(steps_[static_cast<std::size_t>(j)])) ++j;
      if (j == k) return true;
      i = j - 1;
    }
  }

  // The joined rows' entries of the current row (-1 on the null row of a LEFT JOIN).
  void append_trail(std::vector<std::int32_t>& trail) const {
    for (const Step& step : steps_) trail.push_back(step.missing ? -1 : step.current);
  }
  // Makes the joined rows of trail entries current.
  void replay(const std::int32_t* entries);

 private:
  // One join of the spine: its right side and where the walk stands in it.
  struct Step {
    const JoinNode* node;
    Relation right;
    // Its index holds whole numbers by value, and its one key is looked up as a number, without
    // the key's bytes.
    bool by_number = false;
    std::int32_t current = -1;
    bool missing = false;  // on the null row of a LEFT JOIN
    KeyIndex::Chain chain = {};  // the entries under the current key
    bool looked_up = false;  // last_key holds the key last looked up, last_chain its entries
    std::string last_key = {};
    KeyIndex::Chain last_chain = {};
  };

  Relation build_relation(const JoinNode& right, const std::vector<Bound>& keys);
  void make_first_key(RowsAhead::Row& row) const;
  void prefetch_first(const RowsAhead::Row& row) const;
  void prefetch_first_bytes(const RowsAhead::Row& row) const;
  // The whole number the key of `step` (looked up by number) makes of the current row, if any.
  std::optional<std::int64_t> number_key(const Step& step) const;

  bool enter(Step& step) {
    // The first join is entered once per leftmost row: its key may have been made as it was read.
    const RowsAhead::Row* ahead = &step == &steps_.front() ? std::exchange(ahead_, nullptr) : nullptr;
    if (step.by_number) {
      // A key that is no whole number finds nothing among whole numbers.
      const std::optional<std::int64_t> number = ahead ? ahead->number : number_key(step);
      step.chain = number ? step.right.table->index.chain_of_number(*number) : KeyIndex::Chain{};
    } else if (ahead) {
      step.chain = ahead->keyed ? matches(step, ahead->key) : KeyIndex::Chain{};
    } else {
      step.chain = make_key(step.node->left_keys, key_) ? matches(step, key_) : KeyIndex::Chain{};
    }
    step.current = step.chain.first;
    step.missing = step.current < 0;
    if (step.missing && step.node->kind != JoinKind::Left) return false;
    bind(step);
    return true;
  }

  bool advance(Step& step) {
    if (step.missing || step.current == step.chain.last) return false;
    step.current = step.right.table->index.after(step.current);
    if (step.current < 0) return false;
    bind(step);
    return true;
  }

  void bind(const Step& step) {
    if (step.right.single_table) {
      st_.bind_stored(step.right.sources[0], step.missing ? -1 : step.current);
      return;
    }
    const std::size_t m = step.right.sources.size();
    for (std::size_t j = 0; j < m; ++j) {
      const std::int32_t n = step.missing ? -1 : step.right.refs[static_cast<std::size_t>(step.current) * m + j];
      st_.bind_stored(step.right.sources[j], n);
    }
  }

  // The entries under `key`. Rows often come in runs with the same key (a document's rows, one
  // after another), so the last key looked up and its answer are kept.
  static KeyIndex::Chain matches(Step& step, const std::string& key) {
    if (step.looked_up && key == step.last_key) return step.last_chain;
    step.last_key = key;
    step.last_chain = step.right.table->index.chain(key);
    step.looked_up = true;
    return step.last_chain;
  }

  bool make_key(const std::vector<Bound>& keys, std::string& key) const { return make_join_key(keys, st_.ctx, key); }

  Execution::State& st_;
  std::vector<Step> steps_;
  std::size_t leaf_ = 0;
  std::string key_;
  const RowsAhead::Row* ahead_ = nullptr;
};

}  // namespace tarvik::archive::sql
