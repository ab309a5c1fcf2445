// The encoding of one value line for each kind of value. Expected texts were worked out by hand
// from the line rules and, for the significant digits, checked against Python's "%.15G"/"%.7G".
#include "transfer/value_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "transfer/transfer_error.h"

namespace tarvik::transfer {
namespace {

using archive::Currency;
using archive::DateTime;
using archive::Numeric;
using archive::Value;

std::string line(const Value& value, bool raw = false) {
  std::string out;
  append_value_line(out, value, raw);
  return out;
}

std::string dbl(double v) { return line(Value::double_(v)); }
std::string single(float v) { return line(Value::single(v)); }
std::string money(std::int64_t ten_thousandths) { return line(Value::currency(Currency{ten_thousandths})); }
std::string date(double days) { return line(Value::datetime(DateTime{days})); }
std::string numeric(bool negative, std::uint64_t magnitude, std::uint8_t scale) {
  return line(Value::numeric(Numeric{negative, magnitude, 18, scale}));
}

TEST(NumberText, LeadingZeroOnlyWhereTheTextWouldStartWithThePoint) {
  EXPECT_EQ(dbl(3), "3");
  EXPECT_EQ(dbl(-3), "-3");
  EXPECT_EQ(dbl(1234.5), "1234.5");
  EXPECT_EQ(dbl(0.5), "0.5");
  EXPECT_EQ(dbl(-0.5), "-.5");
  EXPECT_EQ(dbl(0.25), "0.25");
  EXPECT_EQ(dbl(-0.25), "-.25");
  EXPECT_EQ(dbl(100), "100");
  EXPECT_EQ(single(0.5f), "0.5");
  EXPECT_EQ(single(-0.5f), "-.5");
  EXPECT_EQ(money(5000), "0.5");
  EXPECT_EQ(money(-5000), "-.5");
}

TEST(NumberText, DoubleKeepsFifteenSignificantDigits) {
  EXPECT_EQ(dbl(0.1 + 0.2), "0.3");
  EXPECT_EQ(dbl(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(dbl(-1.0 / 3), "-.333333333333333");
  EXPECT_EQ(dbl(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(dbl(123456789012345.6), "123456789012346");
  EXPECT_EQ(dbl(0.000123456), "0.000123456");
}

TEST(NumberText, DoubleSwitchesToExponentFormAtPercentGBoundaries) {
  EXPECT_EQ(dbl(999999999999999.0), "999999999999999");
  EXPECT_EQ(dbl(1e15), "1E+15");
  EXPECT_EQ(dbl(std::nextafter(1e15, 0.0)), "1E+15");  // rounds up to 16 digits
  EXPECT_EQ(dbl(-1e15), "-1E+15");
  EXPECT_EQ(dbl(123456789012345678.0), "1.23456789012346E+17");
  EXPECT_EQ(dbl(0.0001), "0.0001");
  EXPECT_EQ(dbl(-0.0001), "-.0001");
  EXPECT_EQ(dbl(std::nextafter(1e-4, 0.0)), "0.0001");  // rounds up into the plain range
  EXPECT_EQ(dbl(0.00001), "1E-05");
  EXPECT_EQ(dbl(-0.00001), "-1E-05");
  EXPECT_EQ(dbl(2.5e-5), "2.5E-05");
  EXPECT_EQ(dbl(1.5e300), "1.5E+300");
  EXPECT_EQ(dbl(std::numeric_limits<double>::max()), "1.79769313486232E+308");
  EXPECT_EQ(dbl(std::numeric_limits<double>::denorm_min()), "4.94065645841247E-324");
}

// What printf's "%.<digits>G" writes, with the point of a negative fraction bare ("-.5").
std::string percent_g(double v, int digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*G", digits, v);
  std::string s(text);
  if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
  return s;
}

// A small fast generator for the property tests, the same numbers on every run.
struct XorShift {
  std::uint64_t seed;
  std::uint64_t operator()() { return seed ^= seed << 13, seed ^= seed >> 7, seed ^= seed << 17; }
};

// Prices, quantities and whole numbers are written straight from their digits; every double
// must still come out as "%.15G" writes it, the point of a negative fraction bare.
TEST(NumberText, DoublesOfFewDecimalsAgreeWithPercentG) {
  auto expected = [](double v) { return percent_g(v, 15); };
  XorShift next{88172645463325252u};
  const double scales[] = {1, 10, 100, 1000, 10000, 100000};
  for (int i = 0; i < 200000; ++i) {
    const std::uint64_t r = next();
    double v;
    switch (i % 4) {
      case 0: v = double(std::int64_t(r % 2000000000000000u) - 1000000000000000) / scales[r % 6]; break;
      case 1: v = double(std::int64_t(r % 2000001) - 1000000) / scales[(r >> 40) % 6]; break;
      case 2: v = double(std::int64_t(r % 20000) - 10000) * 1e11 / scales[(r >> 40) % 6]; break;
      default: std::memcpy(&v, &r, sizeof v); break;
    }
    if (!std::isfinite(v) || v == 0) continue;
    ASSERT_EQ(dbl(v), expected(v)) << "for " << v;
  }
  for (const double v : {0.0001, 0.00015, 1e14 + 0.5, 99999999999999.99, 999999999999999.4, 0.1 + 0.2, 1e-5,
                         -4503599627370496.5, 9007199254740993.0, 0.30000000000000004, 1234.56785})
    EXPECT_EQ(dbl(v), expected(v)) << "for " << v;
}

// The same for singles with seven digits, their decimals read through the double they widen to.
TEST(NumberText, SinglesOfFewDecimalsAgreeWithPercentG) {
  auto expected = [](float v) { return percent_g(v, 7); };
  XorShift next{2463534242u};
  const float scales[] = {1, 10, 100, 1000, 10000, 100000};
  for (int i = 0; i < 300000; ++i) {
    const std::uint64_t r = next();
    float v;
    switch (i % 3) {
      case 0: v = float(std::int64_t(r % 20000000) - 10000000) / scales[(r >> 40) % 6]; break;
      case 1: v = float(std::int64_t(r % 20001) - 10000) / scales[(r >> 40) % 6]; break;
      default: {
        const std::uint32_t bits = static_cast<std::uint32_t>(r);
        std::memcpy(&v, &bits, sizeof v);
        break;
      }
    }
    if (!std::isfinite(v) || v == 0) continue;
    ASSERT_EQ(single(v), expected(v)) << "for " << v;
  }
  for (const float v : {8388607.5f, 9999999.0f, 8192.001f, 0.0009765625f, 0.001f, 9.999999f, 0.1f, -0.5f})
    EXPECT_EQ(single(v), expected(v)) << "for " << v;
}

TEST(NumberText, SingleKeepsSevenSignificantDigits) {
  EXPECT_EQ(single(0.1f), "0.1");
  EXPECT_EQ(single(17.3f), "17.3");
  EXPECT_EQ(single(1.0f / 3), "0.3333333");
  EXPECT_EQ(single(99999.995f), "99999.99");
  EXPECT_EQ(single(1234567.0f), "1234567");
  EXPECT_EQ(single(9999999.0f), "9999999");
  EXPECT_EQ(single(10000000.0f), "1E+07");
  EXPECT_EQ(single(12345678.0f), "1.234568E+07");
  EXPECT_EQ(single(16777216.0f), "1.677722E+07");
  EXPECT_EQ(single(0.0001f), "0.0001");
  EXPECT_EQ(single(0.00001f), "1E-05");
  EXPECT_EQ(single(std::numeric_limits<float>::max()), "3.402823E+38");
  EXPECT_EQ(single(std::numeric_limits<float>::denorm_min()), "1.401298E-45");
}

TEST(NumberText, ZeroHasNoSignAndNoPoint) {
  EXPECT_EQ(dbl(0.0), "0");
  EXPECT_EQ(dbl(-0.0), "0");
  EXPECT_EQ(single(-0.0f), "0");
  EXPECT_EQ(money(0), "0");
  EXPECT_EQ(line(Value::integer(0)), "0");
}

TEST(NumberText, NotANumberAndInfinitiesGiveAnEmptyLine) {
  EXPECT_EQ(dbl(std::numeric_limits<double>::quiet_NaN()), "");
  EXPECT_EQ(dbl(std::numeric_limits<double>::infinity()), "");
  EXPECT_EQ(dbl(-std::numeric_limits<double>::infinity()), "");
  EXPECT_EQ(single(std::numeric_limits<float>::quiet_NaN()), "");
  EXPECT_EQ(single(-std::numeric_limits<float>::infinity()), "");
}

TEST(NumberText, CurrencyIsExactToFourDecimalsWithoutTrailingZeros) {
  EXPECT_EQ(money(125000), "12.5");
  EXPECT_EQ(money(10000), "1");
  EXPECT_EQ(money(-10000), "-1");
  EXPECT_EQ(money(1000000), "100");
  EXPECT_EQ(money(12300), "1.23");
  EXPECT_EQ(money(100500), "10.05");
  EXPECT_EQ(money(1), "0.0001");
  EXPECT_EQ(money(-1), "-.0001");
  EXPECT_EQ(money(-123456789), "-12345.6789");
  // Beyond a double's 15-16 digits: only exact arithmetic on the count gets these right.
  EXPECT_EQ(money(std::numeric_limits<std::int64_t>::max()), "922337203685477.5807");
  EXPECT_EQ(money(std::numeric_limits<std::int64_t>::min()), "-922337203685477.5808");
  EXPECT_EQ(money(9007199254740993), "900719925474.0993");
}

TEST(NumberText, IntegersAreThePlainDigits) {
  EXPECT_EQ(line(Value::integer(7)), "7");
  EXPECT_EQ(line(Value::integer(-32768)), "-32768");
  EXPECT_EQ(line(Value::integer(32767)), "32767");
  EXPECT_EQ(line(Value::long_(std::numeric_limits<std::int32_t>::min())), "-2147483648");
  EXPECT_EQ(line(Value::long_(1234)), "1234");
}

TEST(ValueLine, ByteIsInThePaddedFormUnlikeAnInteger) {
  EXPECT_EQ(line(Value::byte(7)), " 7 ");
  EXPECT_EQ(line(Value::byte(0)), " 0 ");
  EXPECT_EQ(line(Value::byte(255)), " 255 ");
  EXPECT_EQ(line(Value::integer(7)), "7");
}

TEST(ValueLine, BooleanNullAndEmptyText) {
  EXPECT_EQ(line(Value::boolean(true)), "T");
  EXPECT_EQ(line(Value::boolean(false)), "F");
  EXPECT_EQ(line(Value()), "");
  EXPECT_EQ(line(Value(), true), "");
  EXPECT_EQ(line(Value::text(u"")), "");
}

TEST(ValueLine, RawFlagChangesOnlyText) {
  for (const Value& v : {Value::double_(-0.5), Value::byte(3), Value::boolean(true),
                         Value::datetime(DateTime{37748.5}), Value::currency(Currency{1})})
    EXPECT_EQ(line(v, true), line(v, false));
}

TEST(ValueLine, NumericIsPaddedLikeTheGeneralPrint) {
  EXPECT_EQ(numeric(false, 15, 1), " 1.5 ");
  EXPECT_EQ(numeric(false, 150, 2), " 1.5 ");
  EXPECT_EQ(numeric(false, 5, 1), " .5 ");
  EXPECT_EQ(numeric(true, 5, 1), "-.5 ");
  EXPECT_EQ(numeric(false, 1, 3), " .001 ");
  EXPECT_EQ(numeric(false, 100, 0), " 100 ");
  EXPECT_EQ(numeric(false, 100, 2), " 1 ");
  EXPECT_EQ(numeric(true, 0, 4), " 0 ");
  Numeric widest{false, 0, 28, 0};
  for (int i = 0; i < 28; ++i) widest.magnitude = widest.magnitude * 10 + 9;
  EXPECT_EQ(line(Value::numeric(widest)), " 9999999999999999999999999999 ");
  widest.scale = 28;
  EXPECT_EQ(line(Value::numeric(widest)), " .9999999999999999999999999999 ");
}

TEST(ValueLine, BinaryAndGuidHaveNoLineKind) {
  for (const Value& v : {Value::binary({1, 2}), Value::guid({})}) {
    try {
      line(v);
      ADD_FAILURE() << "no error";
    } catch (const TransferError& e) {
      EXPECT_EQ(e.number(), 13);
      EXPECT_EQ(e.description(), "Tipo non corrispondente");
    }
  }
}

TEST(DateText, DropsTheTimeOfDay) {
  EXPECT_EQ(date(37748 + 14.5 / 24), "2003-05-07");  // 7 May 2003 at 14:30
  EXPECT_EQ(date(37748.99999), "2003-05-07");
  EXPECT_EQ(date(0), "1899-12-30");
  EXPECT_EQ(date(36585), "2000-02-29");
}

TEST(DateText, FollowsJetsCalendarAroundItsEpoch) {
  EXPECT_EQ(date(60), "1900-02-28");  // no 29 February 1900
  EXPECT_EQ(date(61), "1900-03-01");
  EXPECT_EQ(date(-1), "1899-12-29");
  EXPECT_EQ(date(-36522), "1800-01-01");
  EXPECT_EQ(date(-109512), "1600-02-29");
}

TEST(DateText, NegativeCountsTruncateTowardZero) {
  // -1.5 is the day before the epoch at noon; -0.5 is the epoch itself at noon.
  EXPECT_EQ(date(-1.5), "1899-12-29");
  EXPECT_EQ(date(-0.5), "1899-12-30");
  EXPECT_EQ(date(-0.99999), "1899-12-30");
  EXPECT_EQ(date(-36522.75), "1800-01-01");
}

TEST(DateText, FourDigitYearsOnlyOtherwiseAnEmptyLine) {
  EXPECT_EQ(date(-657434), "0100-01-01");
  EXPECT_EQ(date(-693593.5), "0001-01-01");
  EXPECT_EQ(date(2958465.9999), "9999-12-31");
  EXPECT_EQ(date(-693594), "");
  EXPECT_EQ(date(2958466), "");
  EXPECT_EQ(date(1e300), "");
  EXPECT_EQ(date(std::numeric_limits<double>::quiet_NaN()), "");
  EXPECT_EQ(date(-std::numeric_limits<double>::infinity()), "");
}

}  // namespace
}  // namespace tarvik::transfer
