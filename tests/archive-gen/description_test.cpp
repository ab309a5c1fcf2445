// JSON descriptions: how their values become Jet values (dates, money, GUIDs, ole bytes), and
// how a bad description is refused with the table, row and column named and no file left.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "archive/jet/jet_file.h"
#include "archive_gen_support.h"
#include "description.h"
#include "json_values.h"

namespace tarvik::test {
namespace {

using archive::Value;
using archive::FieldType;
using archive_gen::value_from_json;
using nlohmann::json;

double days(const char* text) {
  return value_from_json(FieldType::DateTime, json(text)).as_datetime().days;
}

TEST(DescriptionValues, DatesCountDaysFrom1899December30) {
  EXPECT_EQ(days("1899-12-30"), 0.0);
  EXPECT_EQ(days("2004-02-29 13:45:10"), 38046.0 + 49510.0 / 86400.0);
  EXPECT_EQ(days("1900-01-01 18:00:00"), 2.75);
  // Before the epoch the time still runs forward from the day: 1899-12-29 06:00 is -1.25.
  EXPECT_EQ(days("1899-12-29 06:00:00"), -1.25);
  EXPECT_EQ(days("12:30:00"), 0.5208333333333334);
  EXPECT_EQ(days("9999-12-31"), 2958465.0);
  EXPECT_EQ(days("0100-01-01"), -657434.0);
  for (const char* bad : {"2003-02-29", "2004-13-01", "2004-1-1", "24:00:00", "2004-01-01T10:00:00",
                          "2004-01-01 10:00", "0099-12-31", ""})
    EXPECT_THROW(days(bad), std::runtime_error) << bad;
}

std::int64_t money(const json& v) {
  return value_from_json(FieldType::Currency, v).as_currency().ten_thousandths;
}

// The edges of Access's ranges are written, not refused: the largest single in its shortest
// decimal form (which is above it as a double), and year 100 with a time of day (stored below the
// first day's number, since before 1899-12-30 the time adds to the magnitude).
TEST(DescriptionValues, RangeEdgesAreWrittenAndWhatLiesBeyondIsRefused) {
  const json description = {
      {"tables",
       {{{"name", "Edges"},
         {"columns", {{{"name", "S"}, {"type", "single"}}, {{"name", "D"}, {"type", "datetime"}}}},
         {"rows",
          {{3.4028235e+38, "0100-01-01 00:00:01"},
           {-3.4028235e+38, "0100-01-01"},
           {1.4e-45, "9999-12-31 23:59:59"},
           {-3.4028234663852886e+38, "0100-01-01 23:59:59"}}}}}}};
  const std::string path = temp_archive("edges");
  archive_gen::write_archive(description, path);
  const auto rows = read_table(*archive::jet::JetFile::open(path), "Edges");
  std::remove(path.c_str());
  ASSERT_EQ(rows.size(), 4u);
  constexpr float kLargest = std::numeric_limits<float>::max();
  EXPECT_EQ(rows[0][0].as_single(), kLargest);
  EXPECT_EQ(rows[1][0].as_single(), -kLargest);
  EXPECT_EQ(rows[2][0].as_single(), std::numeric_limits<float>::denorm_min());
  EXPECT_EQ(rows[3][0].as_single(), -kLargest);
  EXPECT_EQ(rows[0][1].as_datetime().days, -657434.0 - 1.0 / 86400.0);
  EXPECT_EQ(rows[1][1].as_datetime().days, -657434.0);
  EXPECT_EQ(rows[2][1].as_datetime().days, 2958465.0 + 86399.0 / 86400.0);
  EXPECT_EQ(rows[3][1].as_datetime().days, -657434.0 - 86399.0 / 86400.0);

  // Past the largest single by half its last step rounds to infinity; just below that does not.
  const double half_step = std::ldexp(1.0, 103);
  EXPECT_THROW(value_from_json(FieldType::Single, json(double(kLargest) + half_step)),
               std::runtime_error);
  EXPECT_THROW(value_from_json(FieldType::Single, json(-3.5e38)), std::runtime_error);
  EXPECT_EQ(value_from_json(FieldType::Single, json(std::nextafter(double(kLargest) + half_step, 0.0)))
                .as_single(),
            kLargest);
  EXPECT_THROW(days("0099-12-31 23:59:59"), std::runtime_error);
  EXPECT_THROW(days("10000-01-01"), std::runtime_error);
}

TEST(DescriptionValues, MoneyIsExactToFourDecimals) {
  EXPECT_EQ(money("12.3456"), 123456);
  EXPECT_EQ(money("-0.0001"), -1);
  EXPECT_EQ(money("922337203685477.5807"), INT64_MAX);
  EXPECT_EQ(money("-922337203685477.5808"), INT64_MIN);
  EXPECT_EQ(money(12.34), 123400);
  EXPECT_EQ(money(0.1), 1000);
  EXPECT_EQ(money(-5), -50000);
  for (const json& bad : {json("1.23456"), json(0.12345), json("922337203685477.5808"), json("1e5"),
                          json("12."), json(".5"), json(true)})
    EXPECT_THROW(money(bad), std::runtime_error) << bad.dump();
}

TEST(DescriptionValues, GuidOleAndNumbersOutOfRange) {
  const auto g = value_from_json(FieldType::Guid, json("{01234567-89AB-CDEF-0123-456789abcdef}"));
  const archive::Guid expected{{0x67, 0x45, 0x23, 0x01, 0xAB, 0x89, 0xEF, 0xCD, 0x01, 0x23, 0x45,
                                0x67, 0x89, 0xAB, 0xCD, 0xEF}};
  EXPECT_EQ(g.as_guid(), expected);
  EXPECT_THROW(value_from_json(FieldType::Guid, json("01234567-89AB-CDEF-0123-456789ABCDEF")),
               std::runtime_error);
  EXPECT_EQ(value_from_json(FieldType::Ole, json("00ff10")).as_binary(),
            (archive::Binary{0x00, 0xFF, 0x10}));
  EXPECT_THROW(value_from_json(FieldType::Ole, json("00FF")), std::runtime_error);
  EXPECT_THROW(value_from_json(FieldType::Ole, json("0")), std::runtime_error);
  EXPECT_THROW(value_from_json(FieldType::Byte, json(256)), std::runtime_error);
  EXPECT_THROW(value_from_json(FieldType::Byte, json(1.5)), std::runtime_error);
  EXPECT_THROW(value_from_json(FieldType::Integer, json(32768)), std::runtime_error);
  EXPECT_THROW(value_from_json(FieldType::Long, json(2147483648LL)), std::runtime_error);
  EXPECT_THROW(value_from_json(FieldType::Single, json(1e39)), std::runtime_error);
  EXPECT_THROW(value_from_json(FieldType::Boolean, json(1)), std::runtime_error);
  EXPECT_THROW(value_from_json(FieldType::Text, json(12)), std::runtime_error);
}

// Writes a description whose one table "T" has columns A (long, primary key), B (byte) and
// C (text 5), with `rows` and any `change` applied, in `options`' format and layout; returns the
// refusal or "" when written.
std::string refusal(const json& rows, const std::function<void(json&)>& change = {},
                    archive_gen::WriterOptions options = {}) {
  json d = {{"tables",
             {{{"name", "T"},
               {"columns",
                {{{"name", "A"}, {"type", "long"}},
                 {{"name", "B"}, {"type", "byte"}},
                 {{"name", "C"}, {"type", "text"}, {"size", 5}}}},
               {"primaryKey", {"A"}},
               {"rows", rows}}}}};
  if (change) change(d);
  const std::string path = temp_archive("refused");
  std::remove(path.c_str());
  try {
    archive_gen::write_archive(d, path, options);
  } catch (const std::runtime_error& e) {
    EXPECT_FALSE(file_exists(path)) << "a refused description left " << path;
    return e.what();
  }
  std::remove(path.c_str());
  return "";
}

TEST(DescriptionRefusals, NameTheTableRowAndColumn) {
  EXPECT_EQ(refusal(json::array({{1, 2, "abc"}, {2, nullptr, nullptr}})), "");
  EXPECT_EQ(refusal(json::array({{1, 2, "abc"}, {2, 256, "x"}})),
            "table \"T\", row 2, column \"B\": 256 is outside 0..255");
  EXPECT_EQ(refusal(json::array({{1, 2, "abcdef"}})),
            "table \"T\", row 1, column \"C\": a text of 6 characters is longer than the "
            "column's size 5");
  EXPECT_EQ(refusal(json::array({{1, 2, "a"}, {2, 2, "b"}, {1, 3, "c"}})),
            "table \"T\", row 3, column \"A\": the primary key repeats an earlier row's");
  EXPECT_EQ(refusal(json::array({{nullptr, 2, "a"}})),
            "table \"T\", row 1, column \"A\": a primary-key column cannot be null");
  EXPECT_EQ(refusal(json::array({{1, 2}})), "table \"T\", row 1: 2 values for 3 columns");
  EXPECT_EQ(refusal(json::array({{1, "2", "a"}})),
            "table \"T\", row 1, column \"B\": expected a whole number, found \"2\"");
}

TEST(DescriptionRefusals, Jet3KeepsOnlyWhatWindows1252Holds) {
  archive_gen::WriterOptions jet3;
  jet3.format = archive_gen::FileFormat::Jet3;
  for (const archive_gen::Layout layout : {archive_gen::Layout::Fresh, archive_gen::Layout::Aged}) {
    jet3.layout = layout;
    EXPECT_EQ(refusal(json::array({{1, 2, "€ àé"}, {2, 3, "‚ƒ„"}}), {}, jet3), "");
    EXPECT_EQ(refusal(json::array({{1, 2, "abc"}, {2, 3, "Łódź"}}), {}, jet3),
              "table \"T\", row 2, column \"C\": a character Windows-1252 lacks (U+0141): a Jet3 "
              "archive keeps its texts in that code page");
    EXPECT_EQ(refusal(json::array(), [](json& d) { d["tables"][0]["columns"][1]["name"] = "Città€Ω"; }, jet3),
              "table \"T\", column \"Città€Ω\": a Jet3 archive keeps names in Windows-1252, which "
              "lacks a character of this one");
  }
  // Jet4 keeps them all.
  EXPECT_EQ(refusal(json::array({{1, 2, "Łódź"}})), "");
}

TEST(DescriptionRefusals, TextKeysRepeatWithoutRegardToCase) {
  const std::string why = refusal(json::array({{1, 1, "àbc"}, {2, 1, "ÀBC"}}), [](json& d) {
    d["tables"][0]["primaryKey"] = {"C"};
  });
  EXPECT_EQ(why, "table \"T\", row 2, column \"C\": the primary key repeats an earlier row's");
}

TEST(DescriptionRefusals, BadShapesNameTheTableAndColumn) {
  auto with = [](const std::function<void(json&)>& change) {
    return refusal(json::array(), change);
  };
  EXPECT_EQ(with([](json& d) { d["tables"][0]["columns"][1]["type"] = "decimal"; }),
            "table \"T\", column \"B\": unknown type \"decimal\"");
  EXPECT_EQ(with([](json& d) { d["tables"][0]["columns"][1]["size"] = 10; }),
            "table \"T\", column \"B\": only a text column has a size");
  EXPECT_EQ(with([](json& d) { d["tables"][0]["columns"][2]["size"] = 256; }),
            "table \"T\", column \"C\": a text size is 1 to 255 characters");
  EXPECT_EQ(with([](json& d) { d["tables"][0]["columns"][1]["autonumber"] = true; }),
            "table \"T\", column \"B\": only a long column can be an autonumber");
  EXPECT_EQ(with([](json& d) { d["tables"][0]["primaryKey"] = {"Z"}; }),
            "table \"T\", column \"Z\": the primary key names a column the table lacks");
  EXPECT_EQ(with([](json& d) { d["tables"][0]["columns"][2]["name"] = "a"; }),
            "table \"T\", column \"a\": the name is used twice");
  EXPECT_EQ(with([](json& d) { d["tables"][0]["colums"] = json::array(); }),
            "table \"T\": unknown key \"colums\"");
  EXPECT_EQ(with([](json& d) { d["tables"].push_back(d["tables"][0]); }),
            "table \"T\": the name is used twice");
}

TEST(DescriptionRefusals, BooleansCannotBeNullButAutonumbersAreFilledIn) {
  json d = {{"tables",
             {{{"name", "T"},
               {"columns",
                {{{"name", "Id"}, {"type", "long"}, {"autonumber", true}},
                 {{"name", "Yes"}, {"type", "boolean"}}}},
               {"rows", {{5, true}, {nullptr, false}, {3, true}}}}}}};
  const std::string path = temp_archive("autonumber");
  archive_gen::write_archive(d, path);
  auto file = archive::jet::JetFile::open(path);
  const auto rows = read_table(*file, "T");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1][0], Value::long_(6));
  file.reset();  // an open file cannot be removed on Windows
  ASSERT_EQ(std::remove(path.c_str()), 0);

  d["tables"][0]["rows"][2][1] = nullptr;
  EXPECT_THROW(
      {
        try {
          archive_gen::write_archive(d, path);
        } catch (const std::runtime_error& e) {
          EXPECT_STREQ(e.what(), "table \"T\", row 3, column \"Yes\": a boolean cannot be null");
          throw;
        }
      },
      std::runtime_error);
  EXPECT_FALSE(file_exists(path));
}

}  // namespace
}  // namespace tarvik::test
