// The report's answer to "does this reference find a row?" is the export's join's: numbers match
// by value whatever their kind, texts by the General sort order, and a null finds nothing.
#include <gtest/gtest.h>

#include "archive/value.h"
#include "report/join_keys.h"
#include "report/whole_number_set.h"

namespace tarvik::report {
namespace {

using archive::Value;

TEST(JoinKeysTest, NumbersMatchByValueWhateverTheirKind) {
  JoinKeys keys(archive::sql::TextOrder::General);
  keys.add(Value::long_(1234));
  keys.add(Value::integer(-1));
  keys.add(Value::double_(2.5));
  keys.add(Value());
  EXPECT_TRUE(keys.finds(Value::long_(1234)));
  EXPECT_TRUE(keys.finds(Value::double_(1234.0)));
  EXPECT_TRUE(keys.finds(Value::currency({12340000})));
  EXPECT_TRUE(keys.finds(Value::boolean(true)));  // Yes is -1
  EXPECT_TRUE(keys.finds(Value::single(2.5f)));
  EXPECT_FALSE(keys.finds(Value::long_(1235)));
  EXPECT_FALSE(keys.finds(Value::double_(1234.5)));
  EXPECT_FALSE(keys.finds(Value()));
  EXPECT_FALSE(keys.finds(Value::text(u"1234")));
}

TEST(JoinKeysTest, TextsMatchWithoutRegardToCaseButNotWithoutAccents) {
  JoinKeys keys(archive::sql::TextOrder::General);
  EXPECT_FALSE(keys.finds(Value::text(u"ART-001")));  // nothing added yet
  // Enough codes that the table grows several times.
  for (int i = 0; i < 5000; ++i) {
    const std::u16string letter(1, char16_t(u'a' + i % 26));
    keys.add(Value::text(u"ART-" + letter + std::u16string(std::size_t(i / 26 + 1), u'x')));
  }
  keys.add(Value::text(u"Perché"));
  EXPECT_TRUE(keys.finds(Value::text(u"art-Bx")));
  EXPECT_TRUE(keys.finds(Value::text(u"PERCHÉ")));
  EXPECT_FALSE(keys.finds(Value::text(u"Perche")));
  EXPECT_FALSE(keys.finds(Value::text(u"ART-b")));
  EXPECT_FALSE(keys.finds(Value::long_(0)));
}


TEST(WholeNumberSetTest, RunsOfIdsAndTheirNeighboursThroughManyGrowths) {
  WholeNumberSet set;
  EXPECT_FALSE(set.contains(0));
  for (std::int64_t id = 1; id <= 100000; ++id) set.insert(id * 3);
  for (std::int64_t id = 1; id <= 100000; ++id) set.insert(id * 3);  // again: nothing new
  set.insert(-9007199254740992);  // the ends of the range kept
  set.insert(9007199254740992);
  EXPECT_EQ(set.size(), 100002u);
  for (std::int64_t n = -5; n <= 300005; ++n) {
    ASSERT_EQ(set.contains(n), n > 0 && n % 3 == 0 && n <= 300000) << n;
  }
  EXPECT_TRUE(set.contains(-9007199254740992));
  EXPECT_TRUE(set.contains(9007199254740992));
}

}  // namespace
}  // namespace tarvik::report
