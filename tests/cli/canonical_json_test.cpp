// The canonical value texts of `dump`. Expected texts come from independent references: JavaScript's
// Number-to-String and Math.fround for numbers, Python's proleptic datetime for dates.
#include "cli/canonical_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace tarvik::cli {
namespace {

using archive::Currency;
using archive::DateTime;
using archive::Guid;
using archive::Numeric;
using archive::Value;

template <typename F, typename T>
std::string text_of(F append, const T& value) {
  std::string out;
  append(out, value);
  return out;
}

std::string single(float v) { return text_of(append_json_single, v); }
std::string dbl(double v) { return text_of(append_json_double, v); }
std::string money(std::int64_t v) { return text_of(append_json_currency, Currency{v}); }
std::string date(double days) { return text_of(append_json_datetime, DateTime{days}); }
std::string utf16(std::u16string_view s) { return text_of(append_json_string, s); }
std::string utf8(std::string_view s) { return text_of(append_json_string_utf8, s); }
std::string canonical(const Value& v) { return text_of(append_canonical_value, v); }

TEST(CanonicalSingle, PrintsTheFloatsOwnShortestDigitsNotTheDoubles) {
  EXPECT_EQ(single(0.15f), "0.15");
  EXPECT_EQ(single(17.3f), "17.3");
  EXPECT_EQ(single(0.1f), "0.1");
  EXPECT_EQ(single(-2.5f), "-2.5");
  EXPECT_EQ(single(123456789.0f), "123456790");
  EXPECT_EQ(single(8589934592.0f), "8589935000");
  EXPECT_EQ(single(16777216.0f), "16777216");
}

TEST(CanonicalSingle, ExtremesUseTheExponentForm) {
  EXPECT_EQ(single(std::numeric_limits<float>::max()), "3.4028235e+38");
  EXPECT_EQ(single(std::numeric_limits<float>::denorm_min()), "1e-45");
  EXPECT_EQ(single(1e21f), "1e+21");
  EXPECT_EQ(single(1e-7f), "1e-7");
}

TEST(CanonicalDouble, FollowsEcmaScriptLayoutAtEveryBoundary) {
  EXPECT_EQ(dbl(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(dbl(1e20), "100000000000000000000");
  EXPECT_EQ(dbl(1e21), "1e+21");
  EXPECT_EQ(dbl(123.456), "123.456");
  EXPECT_EQ(dbl(1e-6), "0.000001");
  EXPECT_EQ(dbl(1e-7), "1e-7");
  EXPECT_EQ(dbl(1.23e-18), "1.23e-18");
  EXPECT_EQ(dbl(5e-324), "5e-324");
  EXPECT_EQ(dbl(std::numeric_limits<double>::max()), "1.7976931348623157e+308");
  EXPECT_EQ(dbl(9007199254740994.0), "9007199254740994");
  EXPECT_EQ(dbl(-1.5e300), "-1.5e+300");
}

TEST(CanonicalDouble, ZeroKeepsItsSignAndNonNumbersBecomeStrings) {
  EXPECT_EQ(dbl(0.0), "0");
  EXPECT_EQ(dbl(-0.0), "-0");
  EXPECT_EQ(single(-0.0f), "-0");
  EXPECT_EQ(dbl(std::nan("")), "\"NaN\"");
  EXPECT_EQ(dbl(std::numeric_limits<double>::infinity()), "\"Infinity\"");
  EXPECT_EQ(single(-std::numeric_limits<float>::infinity()), "\"-Infinity\"");
}

TEST(CanonicalCurrency, AlwaysFourDecimalsAndExactAtTheExtremes) {
  EXPECT_EQ(money(0), "\"0.0000\"");
  EXPECT_EQ(money(125000), "\"12.5000\"");
  EXPECT_EQ(money(-100), "\"-0.0100\"");
  EXPECT_EQ(money(-1), "\"-0.0001\"");
  EXPECT_EQ(money(std::numeric_limits<std::int64_t>::max()), "\"922337203685477.5807\"");
  EXPECT_EQ(money(std::numeric_limits<std::int64_t>::min()), "\"-922337203685477.5808\"");
}

TEST(CanonicalDateTime, WholeDaysFromTheJetEpochInTheProlepticCalendar) {
  EXPECT_EQ(date(0), "\"1899-12-30 00:00:00\"");
  EXPECT_EQ(date(1), "\"1899-12-31 00:00:00\"");
  EXPECT_EQ(date(60), "\"1900-02-28 00:00:00\"");
  EXPECT_EQ(date(61), "\"1900-03-01 00:00:00\"");
  EXPECT_EQ(date(36585), "\"2000-02-29 00:00:00\"");
  EXPECT_EQ(date(-115858), "\"1582-10-15 00:00:00\"");
  EXPECT_EQ(date(-185532), "\"1392-01-10 00:00:00\"");
}

TEST(CanonicalDateTime, NegativeDayCountsKeepTheFractionAsTimeOfDay) {
  EXPECT_EQ(date(-1.25), "\"1899-12-29 06:00:00\"");
  EXPECT_EQ(date(-0.5), "\"1899-12-30 12:00:00\"");
  EXPECT_EQ(date(-1.75), "\"1899-12-29 18:00:00\"");
}

TEST(CanonicalDateTime, RoundsToTheSecondAndCarriesIntoTheNextDay) {
  EXPECT_EQ(date(1.5 + 0.4 / 86400), "\"1899-12-31 12:00:00\"");
  EXPECT_EQ(date(1.5 + 0.6 / 86400), "\"1899-12-31 12:00:01\"");
  EXPECT_EQ(date(0.9999999), "\"1899-12-31 00:00:00\"");
  EXPECT_EQ(date(-1.9999999), "\"1899-12-30 00:00:00\"");
}

TEST(CanonicalDateTime, TheFirstAndLastYearsAccessAccepts) {
  EXPECT_EQ(date(-657434), "\"0100-01-01 00:00:00\"");
  EXPECT_EQ(date(-657434.5), "\"0100-01-01 12:00:00\"");
  EXPECT_EQ(date(-657433.5), "\"0100-01-02 12:00:00\"");
  EXPECT_EQ(date(2958465 + 86399.0 / 86400), "\"9999-12-31 23:59:59\"");
}

TEST(CanonicalDateTime, DayCountsWithoutACalendarFormPrintAsTheNumber) {
  EXPECT_EQ(date(2958466), "2958466");
  EXPECT_EQ(date(-693593), "\"0001-01-01 00:00:00\"");
  EXPECT_EQ(date(-693594), "-693594");
  // Rounding up to midnight of 10000-01-01 leaves the calendar too.
  EXPECT_EQ(date(2958465.9999999), "2958465.9999999");
  EXPECT_EQ(date(-1e8), "-100000000");
  EXPECT_EQ(date(std::nan("")), "\"NaN\"");
  EXPECT_EQ(date(-std::numeric_limits<double>::infinity()), "\"-Infinity\"");
  EXPECT_EQ(date(1e300), "1e+300");
}

TEST(CanonicalText, EscapesExactlyWhatJsonStringifyEscapes) {
  EXPECT_EQ(utf16(u"a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(utf16(u"\b\f\n\r\t"), R"("\b\f\n\r\t")");
  EXPECT_EQ(utf16(std::u16string(u"\0\x01\x1f", 3)), R"("\u0000\u0001\u001f")");
  EXPECT_EQ(utf16(u"\x7f/\u2028\u0085"), "\"\x7f/\xe2\x80\xa8\xc2\x85\"");
  EXPECT_EQ(utf16(u"Ums\u00e4tze \u20ac"), "\"Ums\xc3\xa4tze \xe2\x82\xac\"");
  EXPECT_EQ(utf16(u""), "\"\"");
}

TEST(CanonicalText, PairedSurrogatesBecomeOneCharacterUnpairedOnesAreEscaped) {
  EXPECT_EQ(utf16(u"a\U0001F600a"), "\"a\xf0\x9f\x98\x80" "a\"");
  const char16_t high = 0xD83D;
  const char16_t low = 0xDE00;
  EXPECT_EQ(utf16(std::u16string{u'x', high}), R"("x\ud83d")");
  EXPECT_EQ(utf16(std::u16string{low, u'x'}), R"("\ude00x")");
  EXPECT_EQ(utf16(std::u16string{low, high}), R"("\ude00\ud83d")");
  EXPECT_EQ(utf16(std::u16string{high, high, low}), "\"\\ud83d\xf0\x9f\x98\x80\"");
}

TEST(CanonicalText, Utf8NamesPassThroughAndIllFormedBytesAreReplaced) {
  EXPECT_EQ(utf8("Ums\xc3\xa4tze\t\"x\""), "\"Ums\xc3\xa4tze\\t\\\"x\\\"\"");
  EXPECT_EQ(utf8("\xf0\x9f\x98\x80"), "\"\xf0\x9f\x98\x80\"");
  EXPECT_EQ(utf8("a\xed\xa0\xbd"), R"("a\ud83d")");
  EXPECT_EQ(utf8("\xff"), "\"\xef\xbf\xbd\"");
  EXPECT_EQ(utf8("\xc0\x80"), "\"\xef\xbf\xbd\xef\xbf\xbd\"");
  EXPECT_EQ(utf8("\xe2\x82"), "\"\xef\xbf\xbd\xef\xbf\xbd\"");
  EXPECT_EQ(utf8("\xf4\x90\x80\x80"), "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\"");
}

TEST(CanonicalNumeric, ExactlyScaleDecimalsAndNoSignOnZero) {
  EXPECT_EQ(canonical(Value::numeric(Numeric{true, 1110554, 12, 3})), "\"-1110.554\"");
  EXPECT_EQ(canonical(Value::numeric(Numeric{false, 4, 18, 0})), "\"4\"");
  EXPECT_EQ(canonical(Value::numeric(Numeric{false, 5, 18, 3})), "\"0.005\"");
  EXPECT_EQ(canonical(Value::numeric(Numeric{true, 0, 18, 2})), "\"0.00\"");
  EXPECT_EQ(canonical(Value::numeric(Numeric{true, 0, 18, 0})), "\"0\"");
  const unsigned __int128 all_ones = ~static_cast<unsigned __int128>(0);
  EXPECT_EQ(canonical(Value::numeric(Numeric{true, all_ones, 38, 0})),
            "\"-340282366920938463463374607431768211455\"");
  EXPECT_EQ(canonical(Value::numeric(Numeric{false, all_ones, 38, 38})),
            "\"3.40282366920938463463374607431768211455\"");
}

TEST(CanonicalGuidAndBinary, GuidGroupsAreLittleEndianNumbersHexIsLowerCase) {
  Guid g;
  for (int i = 0; i < 16; ++i) g.bytes[i] = static_cast<std::uint8_t>(i * 0x11 + 0x0A);
  EXPECT_EQ(canonical(Value::guid(g)), "\"{3D2C1B0A-5F4E-8170-92A3-B4C5D6E7F809}\"");
  EXPECT_EQ(canonical(Value::binary({0x00, 0xAB, 0xFF, 0x10})), "\"00abff10\"");
  EXPECT_EQ(canonical(Value::binary({})), "\"\"");
}

TEST(CanonicalValue, EachKindInItsForm) {
  EXPECT_EQ(canonical(Value()), "null");
  EXPECT_EQ(canonical(Value::boolean(true)), "true");
  EXPECT_EQ(canonical(Value::boolean(false)), "false");
  EXPECT_EQ(canonical(Value::byte(255)), "255");
  EXPECT_EQ(canonical(Value::integer(-32768)), "-32768");
  EXPECT_EQ(canonical(Value::long_(std::numeric_limits<std::int32_t>::min())), "-2147483648");
  EXPECT_EQ(canonical(Value::single(0.15f)), "0.15");
  EXPECT_EQ(canonical(Value::double_(0.15f)), "0.15000000596046448");
  EXPECT_EQ(canonical(Value::currency(Currency{35000})), "\"3.5000\"");
  EXPECT_EQ(canonical(Value::datetime(DateTime{-1.25})), "\"1899-12-29 06:00:00\"");
  EXPECT_EQ(canonical(Value::text(u"x\ny")), R"("x\ny")");
}

}  // namespace
}  // namespace tarvik::cli
