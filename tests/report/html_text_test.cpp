// Archive text on the report's page: markup characters escaped wherever they stand, control
// characters marked, everything else copied as it is.
#include <gtest/gtest.h>

#include "report/html_text.h"

namespace tarvik::report {
namespace {

TEST(HtmlText, EscapesMarkupAndMarksControlsAtEitherEndAndBetweenPlainRuns) {
  EXPECT_EQ(Escaped("<a href='x'>\"R&D\"</a>"), "&lt;a href=&#39;x&#39;&gt;&quot;R&amp;D&quot;&lt;/a&gt;");
  EXPECT_EQ(Escaped("\x01" "a\tb\x1F" "c\n"), "\xE2\x90\xA3" "a\tb\xE2\x90\xA3" "c\xE2\x90\xA3");
  EXPECT_EQ(Escaped("Società & C. \xE2\x82\xAC 5"), "Società &amp; C. \xE2\x82\xAC 5");
  EXPECT_EQ(Escaped("senza segni"), "senza segni");
  EXPECT_EQ(Escaped(""), "");

  std::string out = "<p>";
  AppendEscaped(out, "1 < 2");
  EXPECT_EQ(out, "<p>1 &lt; 2") << "appended after what the page already holds";
}

}  // namespace
}  // namespace tarvik::report
