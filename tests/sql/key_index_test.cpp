// The flat key tables under joins and groups: numbering in first-met order through many growths,
// exact matching of keys that share bytes, chains in the order added, and the kept join indexes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <map>
#include <stdexcept>
#include <thread>
#include <random>
#include <string>
#include <vector>

#include "archive/sql/compare.h"
#include "archive/sql/join_index_cache.h"
#include "archive/sql/key_index.h"
#include "archive/sql/key_numbers.h"

namespace tarvik::archive::sql {
namespace {

TEST(KeyNumbers, NumbersKeysInFirstMetOrderThroughGrowth) {
  KeyNumbers numbers;
  bool added = false;
  constexpr std::uint32_t kKeys = 100000;
  for (std::uint32_t i = 0; i < kKeys; ++i) {
    ASSERT_EQ(numbers.number("k" + std::to_string(i), added), i);
    ASSERT_TRUE(added);
  }
  // Met again, in another order: the same numbers, nothing added.
  for (std::uint32_t i = kKeys; i-- > 0;) {
    ASSERT_EQ(numbers.number("k" + std::to_string(i), added), i);
    ASSERT_FALSE(added);
  }
  EXPECT_EQ(numbers.size(), kKeys);
  EXPECT_EQ(numbers.find("k99999"), 99999u);
  EXPECT_EQ(numbers.find("k100000"), KeyNumbers::kNone);
}

TEST(KeyNumbers, KeysSharingBytesStayApart) {
  KeyNumbers numbers;
  bool added = false;
  const std::string with_zero("a\0b", 3);
  EXPECT_EQ(numbers.find(""), KeyNumbers::kNone);
  EXPECT_EQ(numbers.number("ab", added), 0u);
  EXPECT_EQ(numbers.number("a", added), 1u);
  EXPECT_EQ(numbers.number("", added), 2u);
  EXPECT_EQ(numbers.number(with_zero, added), 3u);
  EXPECT_EQ(numbers.find("a"), 1u);
  EXPECT_EQ(numbers.find(""), 2u);
  EXPECT_EQ(numbers.find(std::string("a\0", 2)), KeyNumbers::kNone);
  EXPECT_EQ(numbers.find(with_zero), 3u);
  EXPECT_EQ(numbers.find("abc"), KeyNumbers::kNone);
}

// Keys of up to seven bytes sit in their slots, longer ones in the arena: keys on both sides of
// that edge, sharing their first bytes, keep their numbers through growth.
TEST(KeyNumbers, ShortAndLongKeysStayApartThroughGrowth) {
  KeyNumbers numbers;
  bool added = false;
  std::vector<std::string> keys;
  for (std::size_t size = 0; size <= 12; ++size) {
    for (int last = 0; last < 256; ++last) {
      std::string key(size, 'k');
      if (size > 0) key.back() = static_cast<char>(last);
      else if (last > 0) break;
      keys.push_back(key);
    }
  }
  for (std::size_t i = 0; i < keys.size(); ++i) {
    ASSERT_EQ(numbers.number(keys[i], added), i) << keys[i].size();
    ASSERT_TRUE(added);
  }
  for (std::size_t i = 0; i < keys.size(); ++i) ASSERT_EQ(numbers.find(keys[i]), i) << keys[i].size();
  EXPECT_EQ(numbers.find(std::string(13, 'k')), KeyNumbers::kNone);
  EXPECT_EQ(numbers.find(std::string(7, '\0')), KeyNumbers::kNone);
  EXPECT_EQ(numbers.find(std::string(8, '\0')), KeyNumbers::kNone);
}

TEST(KeyIndex, ChainsEntriesOfAKeyInTheOrderAdded) {
  KeyIndex index;
  EXPECT_EQ(index.first("x"), -1);
  // Three keys interleaved over 3000 entries.
  for (std::int32_t e = 0; e < 3000; ++e) index.add(std::string(1, char('a' + e % 3)), e);
  index.finish();  // looked up only once every entry is added
  for (int k = 0; k < 3; ++k) {
    std::int32_t expected = k, seen = 0;
    for (std::int32_t e = index.first(std::string(1, char('a' + k))); e >= 0; e = index.after(e)) {
      ASSERT_EQ(e, expected);
      expected += 3;
      ++seen;
    }
    EXPECT_EQ(seen, 1000);
  }
  EXPECT_EQ(index.first("d"), -1);
}

// Keys held once, twice and many times, met in any order through the table's growth: every
// chain gives its entries in the order added, and its first and last ends.
TEST(KeyIndex, KeysHeldOnceOrMoreKeepTheirChainsThroughGrowth) {
  KeyIndex index;
  std::vector<std::vector<std::int32_t>> expected(20000);
  std::uint32_t state = 12345;
  for (std::int32_t e = 0; e < 60000; ++e) {
    state = state * 1103515245u + 12345u;
    // Most keys are held once; every seventh key is held by many entries.
    const std::size_t key = (state >> 8) % 7 == 0 ? (state >> 12) % 50 * 7 : (state >> 8) % expected.size();
    expected[key].push_back(e);
    index.add("key" + std::to_string(key), e);
  }
  index.finish();
  std::size_t once = 0;
  for (std::size_t key = 0; key < expected.size(); ++key) {
    const KeyIndex::Chain chain = index.chain("key" + std::to_string(key));
    const std::vector<std::int32_t>& entries = expected[key];
    if (entries.empty()) {
      ASSERT_EQ(chain.first, -1) << key;
      continue;
    }
    once += entries.size() == 1;
    ASSERT_EQ(chain.first, entries.front()) << key;
    ASSERT_EQ(chain.last, entries.back()) << key;
    std::vector<std::int32_t> walked;
    for (std::int32_t e = chain.first; e >= 0; e = index.after(e)) walked.push_back(e);
    ASSERT_EQ(walked, entries) << key;
  }
  EXPECT_GT(once, 1000u);  // the case the slot holds alone is exercised
}

std::string key_of(const Value& value) {
  std::string key;
  append_key(key, value, TextOrder::General);
  return key;
}

// A finished index gives every key the entries added under it, in order, whether it became the
// table by value (whole numbers filling most of their range, negative ones and the widest
// included) or the hash (sparse numbers, texts, fractions, whole numbers met before a text, and
// many entries of a few keys far apart); keys it never held find nothing.
TEST(KeyIndex, FinishingKeepsEveryChain) {
  struct Case {
    const char* what;
    std::vector<Value> keys;  // added in this order, entry n under keys[n]
    bool by_value;            // expected to become the table by value
  };
  std::vector<Case> cases;
  std::mt19937 rng(20261208);
  Case ids{"ids", {}, true};
  for (int i = 0; i < 5000; ++i) ids.keys.push_back(Value::long_(static_cast<std::int32_t>(rng() % 3000) + 1));
  cases.push_back(ids);
  Case negative{"negative and mixed widths", {}, true};
  for (int i = -300; i < 300; i += 2) {
    negative.keys.push_back(Value::integer(static_cast<std::int16_t>(i)));
    negative.keys.push_back(Value::double_(i + 1.0));  // a whole double keys as its number
  }
  cases.push_back(negative);
  const unsigned __int128 two_to_63 = static_cast<unsigned __int128>(1) << 63;
  cases.push_back({"widest whole numbers",
                   {Value::numeric({true, two_to_63, 19, 0}), Value::numeric({false, two_to_63 - 1, 19, 0}),
                    Value::long_(INT32_MIN), Value::long_(INT32_MAX)},
                   false});
  Case sparse{"sparse", {}, false};
  for (int i = 0; i < 100; ++i) sparse.keys.push_back(Value::long_(i * 1000));
  cases.push_back(sparse);
  Case few_keys{"many entries of two keys far apart", {}, false};
  for (int i = 0; i < 600; ++i) {
    few_keys.keys.push_back(Value::long_(1));
    few_keys.keys.push_back(Value::long_(1000));
  }
  cases.push_back(few_keys);
  Case then_text{"whole numbers, then a text", {}, false};
  for (int i = 0; i < 300; ++i) then_text.keys.push_back(Value::long_(i % 100));
  then_text.keys.push_back(Value::text(u"A1"));
  then_text.keys.push_back(Value::long_(7));
  cases.push_back(then_text);
  cases.push_back({"texts", {Value::text(u"A1"), Value::text(u"a1"), Value::text(u"B2")}, false});
  cases.push_back({"fraction among numbers", {Value::long_(1), Value::long_(2), Value::double_(2.5)}, false});

  for (const Case& c : cases) {
    KeyIndex index;
    index.reserve(c.keys.size());
    std::map<std::string, std::vector<std::int32_t>> expected;
    for (std::size_t n = 0; n < c.keys.size(); ++n) {
      index.add(key_of(c.keys[n]), static_cast<std::int32_t>(n));
      expected[key_of(c.keys[n])].push_back(static_cast<std::int32_t>(n));
    }
    std::vector<std::string> probes;
    for (const Value& v : c.keys) probes.push_back(key_of(v));
    for (std::int32_t v : {-301, -1, 0, 3001, 5000, 999999, INT32_MIN, INT32_MAX}) probes.push_back(key_of(Value::long_(v)));
    probes.push_back(key_of(Value::text(u"1")));
    probes.push_back(key_of(Value::double_(1.5)));
    index.finish();
    EXPECT_EQ(index.by_value(), c.by_value) << c.what;
    for (std::size_t p = 0; p < probes.size(); ++p) {
      const KeyIndex::Chain chain = index.chain(probes[p]);
      std::vector<std::int32_t> walked;
      for (std::int32_t e = chain.first; e >= 0; e = index.after(e)) walked.push_back(e);
      const auto found = expected.find(probes[p]);
      ASSERT_EQ(walked, found == expected.end() ? std::vector<std::int32_t>{} : found->second)
          << c.what << ", probe " << p;
      if (!walked.empty()) {
        ASSERT_EQ(chain.last, walked.back()) << c.what << ", probe " << p;
      }
    }
  }
}

// Ids wait unhashed until the index is finished: a look-up before that is refused, not answered
// wrongly; and the table by value is the smaller form.
TEST(KeyIndex, IdsAreLookedUpOnlyOnceFinishedAndTakeLessRoomByValue) {
  KeyIndex ids, texts;
  for (std::int32_t n = 0; n < 10000; ++n) {
    ids.add(key_of(Value::long_(n + 1)), n);
    texts.add(key_of(Value::text(u"C" + std::u16string(1, char16_t(u'0' + n % 10)) + u"-" +
                                 std::u16string(1, char16_t(u'a' + n / 10 % 26)) +
                                 std::u16string(1, char16_t(u'a' + n / 260 % 26)))),
              n);
  }
  EXPECT_THROW(ids.chain(key_of(Value::long_(1))), std::logic_error);
  ids.finish();
  texts.finish();
  EXPECT_EQ(ids.first(key_of(Value::long_(5000))), 4999);
  EXPECT_LT(ids.bytes(), texts.bytes() / 2);
}

TEST(KeyNumbers, ValuesOfTheCallersChoiceStayWithTheirKeys) {
  KeyNumbers values;
  bool added = false;
  for (std::uint32_t i = 0; i < 3000; ++i) {
    std::uint32_t& held = values.value("v" + std::to_string(i), i * 7 + 1, added);
    ASSERT_TRUE(added);
    ASSERT_EQ(held, i * 7 + 1);
    if (i % 2 == 0) held = 0x80000000u | i;  // changed in place
  }
  EXPECT_EQ(values.value("v3", 99, added), 22u);
  EXPECT_FALSE(added);
  for (std::uint32_t i = 0; i < 3000; ++i)
    ASSERT_EQ(values.find("v" + std::to_string(i)), i % 2 == 0 ? (0x80000000u | i) : i * 7 + 1) << i;
  EXPECT_EQ(values.size(), 3000u);
}

TEST(JoinIndexCache, KeepsTheMostRecentlyUsed) {
  JoinIndexCache cache;
  auto table = [](std::size_t rows) {
    auto t = std::make_shared<JoinedTable>();
    t->rows.count = rows;
    return t;
  };
  const std::size_t kept = JoinIndexCache::kKept;
  for (std::size_t i = 0; i < kept; ++i) cache.keep("t" + std::to_string(i), table(i));
  ASSERT_NE(cache.find("t0"), nullptr);  // now the most recent: "t1" is the oldest
  cache.keep("new", table(100));
  EXPECT_EQ(cache.find("t1"), nullptr);
  for (std::size_t i : {std::size_t(0), std::size_t(2), kept - 1}) {
    ASSERT_NE(cache.find("t" + std::to_string(i)), nullptr) << i;
    EXPECT_EQ(cache.find("t" + std::to_string(i))->rows.count, i);
  }
  EXPECT_EQ(cache.find("new")->rows.count, 100u);
  cache.clear();
  EXPECT_EQ(cache.find("t0"), nullptr);
}


TEST(KeyNumbers, ReservedRoomKeepsNumbersAndFindsEveryKey) {
  KeyNumbers numbers;
  bool added = false;
  numbers.number("before", added);
  numbers.reserve(5000);  // rehashes the key already there
  EXPECT_EQ(numbers.find("before"), 0u);
  for (std::uint32_t i = 1; i <= 5000; ++i) ASSERT_EQ(numbers.number(std::to_string(i), added), i);
  numbers.reserve(10);  // less room than held: nothing lost
  for (std::uint32_t i = 1; i <= 5000; ++i) ASSERT_EQ(numbers.find(std::to_string(i)), i);
  EXPECT_EQ(numbers.find("before"), 0u);
}


TEST(JoinIndexCache, ForgetsOlderIndexesBeyondItsBudget) {
  JoinIndexCache cache;
  auto big = [] {
    auto t = std::make_shared<JoinedTable>();
    t->rows.values.resize(JoinIndexCache::kBudgetBytes / sizeof(Value) / 2 + 1);  // over half the budget
    return t;
  };
  cache.keep("a", big());
  cache.keep("b", big());
  EXPECT_NE(cache.find("a"), nullptr);  // one other within the budget
  cache.keep("c", big());               // "b" and "a" together would exceed it: the older goes
  EXPECT_NE(cache.find("c"), nullptr);
  EXPECT_EQ(cache.find("b"), nullptr);
  EXPECT_NE(cache.find("a"), nullptr);  // found before "c" came, so the more recent of the two
}

// Two threads that need the same index while it is built read its table once: the second waits
// for the first. When the first build fails, the waiting thread builds the index itself.
TEST(JoinIndexCache, BuildsAnIndexOnceForThreadsThatNeedItTogether) {
  for (const bool first_fails : {false, true}) {
    JoinIndexCache cache;
    std::atomic<int> builds{0};
    std::promise<void> started, release;
    std::shared_future<void> released = release.get_future().share();
    auto first = std::async(std::launch::async, [&] {
      return cache.find_or_build("t", [&] {
        ++builds;
        started.set_value();
        released.wait();
        if (first_fails) throw std::runtime_error("tabella danneggiata");
        auto t = std::make_shared<JoinedTable>();
        t->rows.count = 1;
        return std::shared_ptr<const JoinedTable>(t);
      });
    });
    started.get_future().wait();
    auto second = std::async(std::launch::async, [&] {
      return cache.find_or_build("t", [&] {
        ++builds;
        auto t = std::make_shared<JoinedTable>();
        t->rows.count = 2;
        return std::shared_ptr<const JoinedTable>(t);
      });
    });
    // The second asks while the first still builds.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    release.set_value();
    if (first_fails) {
      EXPECT_THROW(first.get(), std::runtime_error);
      EXPECT_EQ(second.get()->rows.count, 2u);
      EXPECT_EQ(builds, 2);
    } else {
      EXPECT_EQ(first.get()->rows.count, 1u);
      EXPECT_EQ(second.get()->rows.count, 1u);
      EXPECT_EQ(builds, 1);
    }
    EXPECT_NE(cache.find("t"), nullptr);
  }
}

}  // namespace
}  // namespace tarvik::archive::sql

namespace tarvik::archive::sql {
namespace {

// A whole number's key holds the bytes it needs as a signed number, and reads back as itself:
// checked at every edge of a byte count, on both sides of zero.
TEST(WholeNumberKey, TakesTheBytesItsSignedValueNeedsAndReadsBack) {
  std::vector<std::int64_t> numbers = {0, -1, INT64_MIN, INT64_MAX};
  for (int bytes = 1; bytes < 8; ++bytes) {
    const std::int64_t top = (std::int64_t(1) << (8 * bytes - 1)) - 1;  // the largest that fits
    numbers.insert(numbers.end(), {top, top + 1, -top - 1, -top - 2});
  }
  for (const std::int64_t number : numbers) {
    std::size_t needed = 1;
    while (needed < 8 && (number > (std::int64_t(1) << (8 * needed - 1)) - 1 ||
                          number < -(std::int64_t(1) << (8 * needed - 1))))
      ++needed;
    std::string key;
    append_whole_number_key(key, number);
    EXPECT_EQ(key.size(), 1 + needed) << number;
    EXPECT_EQ(whole_number_of_key(key), number);
  }
}

}  // namespace
}  // namespace tarvik::archive::sql
