// The text a value becomes in the checks' listings, beside the line the same value becomes in the
// transfer file: both write numbers with "." and no grouping, but a negative fraction is "-0.5" in
// a listing (the platform's default conversion) and "-.5" in the file (its number text form).
#include "checks/standard_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "transfer/transfer_error.h"
#include "transfer/value_line.h"

namespace tarvik::checks {
namespace {

using archive::Currency;
using archive::DateTime;
using archive::Value;

std::string listed(const Value& value) { return Utf8(StandardText(value)); }

std::string in_file(const Value& value) {
  std::string out;
  transfer::append_value_line(out, value, false);
  return out;
}

TEST(StandardText, ANegativeFractionKeepsItsZeroInAListingButNotInTheTransferFile) {
  struct Case {
    Value value;
    const char* listing;
    const char* file;
  };
  const Case cases[] = {
      {Value::double_(-0.5), "-0.5", "-.5"},
      {Value::single(-0.25f), "-0.25", "-.25"},
      {Value::currency(Currency{-5000}), "-0.5", "-.5"},
      {Value::currency(Currency{-1}), "-0.0001", "-.0001"},
      // Everywhere else the two agree.
      {Value::double_(0.5), "0.5", "0.5"},
      {Value::double_(-1.5), "-1.5", "-1.5"},
      {Value::double_(1234.5), "1234.5", "1234.5"},
      {Value::double_(-0.0), "0", "0"},
      {Value::double_(1e20), "1E+20", "1E+20"},
      {Value::double_(-1.5e-7), "-1.5E-07", "-1.5E-07"},
      {Value::single(1.0f / 3), "0.3333333", "0.3333333"},
      {Value::currency(Currency{-123450000}), "-12345", "-12345"},
      {Value::long_(-15), "-15", "-15"},
      {Value::integer(7), "7", "7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.listing);
    EXPECT_EQ(listed(c.value), c.listing);
    EXPECT_EQ(in_file(c.value), c.file);
  }
}

TEST(StandardText, DatesInTheShortFormWithATimeOnlyWhenNotMidnight) {
  auto date = [](double days) { return listed(Value::datetime(DateTime{days})); };
  EXPECT_EQ(date(37748.0), "07/05/2003");
  EXPECT_EQ(date(37748.0 + 14.5 / 24), "07/05/2003 14:30:00");
  EXPECT_EQ(date(-1.25), "29/12/1899 06:00:00");  // the fraction runs forward from the day
  EXPECT_EQ(date(2.0 - 0.1 / 86400), "01/01/1900");  // a time that rounds to 24:00 is the next day
  EXPECT_EQ(date(-657434.0 - 1.0 / 86400), "01/01/0100 00:00:01");
  EXPECT_EQ(date(2958465.0 + 86399.0 / 86400), "31/12/9999 23:59:59");
  for (double beyond : {2958466.0, -693594.0, std::nan("")})
    EXPECT_THROW(date(beyond), transfer::TransferError) << beyond;
}

}  // namespace
}  // namespace tarvik::checks
