// MapCondPag: a payment-condition reference is kept, with its own type, when the exported
// conditions hold its number, and becomes null otherwise.
#include <gtest/gtest.h>

#include "exporters/map_cond_pag.h"
#include "exporters/master_data_tables.h"

namespace tarvik::test::master {
namespace {

using exporters::ConditionCodeList;
using exporters::MapCondPag;

TEST(MapCondPag, AKnownIdIsKeptWithItsOwnType) {
  const ConditionCodeList codes = {1, 3, 40000, 2'000'000'000};
  EXPECT_EQ(MapCondPag(codes, L(3)), L(3));
  EXPECT_EQ(MapCondPag(codes, I(3)), I(3));
  EXPECT_EQ(MapCondPag(codes, Y(1)), Y(1));
  EXPECT_EQ(MapCondPag(codes, D(3.0)), D(3.0));
  EXPECT_EQ(MapCondPag(codes, C(30'000)), C(30'000));
  EXPECT_EQ(MapCondPag(codes, L(40000)), L(40000));
  EXPECT_EQ(MapCondPag(codes, L(2'000'000'000)), L(2'000'000'000));
}

TEST(MapCondPag, AnUnknownOrNullIdBecomesNull) {
  const ConditionCodeList codes = {1, 3};
  EXPECT_TRUE(MapCondPag(codes, L(2)).is_null());
  EXPECT_TRUE(MapCondPag(codes, L(-3)).is_null());
  EXPECT_TRUE(MapCondPag(codes, L(65539)).is_null());  // 3 in 16 bits: no narrowing anywhere
  EXPECT_TRUE(MapCondPag(codes, D(3.5)).is_null());
  EXPECT_TRUE(MapCondPag(codes, C(30'001)).is_null());
  EXPECT_TRUE(MapCondPag(codes, T(u"3")).is_null());  // a text never equals a number
  EXPECT_TRUE(MapCondPag(codes, null()).is_null());
}

TEST(MapCondPag, WithNoExportedConditionsEveryIdBecomesNull) {
  const ConditionCodeList none;
  EXPECT_TRUE(MapCondPag(none, L(1)).is_null());
  EXPECT_TRUE(MapCondPag(none, L(0)).is_null());
}

}  // namespace
}  // namespace tarvik::test::master
