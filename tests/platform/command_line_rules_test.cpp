// The program name skipped from a Windows command line, by the system's rules: what is left is the
// text the export window takes its transfer path from, with the user's spacing and quotes.
#include <gtest/gtest.h>

#include "platform/command_line.h"

namespace tarvik::test {
namespace {

using platform::SkipProgramName;

TEST(SkipProgramNameTest, QuotedAndPlainNames) {
  // Quoted: the name ends at the next quote, blanks inside it included.
  EXPECT_EQ(SkipProgramName(u"\"C:\\Program Files\\tarvik-export.exe\"  \"D:\\a b.txt\" "), u"\"D:\\a b.txt\" ");
  // No escapes inside the quotes: a backslash before the closing quote does not hide it.
  EXPECT_EQ(SkipProgramName(u"\"C:\\dir\\\" resto"), u"resto");
  // Plain: the name ends at the first blank or tab; the blanks and tabs after it go too.
  EXPECT_EQ(SkipProgramName(u"tarvik-export.exe \t uscita.txt"), u"uscita.txt");
  // A quote inside a plain name does not start quoting.
  EXPECT_EQ(SkipProgramName(u"tarvik\"export.exe x"), u"x");
  // Nothing after the name, and an unterminated quote that swallows everything.
  EXPECT_EQ(SkipProgramName(u"tarvik-export.exe"), u"");
  EXPECT_EQ(SkipProgramName(u"\"C:\\tarvik-export.exe"), u"");
  EXPECT_EQ(SkipProgramName(u""), u"");
}

}  // namespace
}  // namespace tarvik::test
