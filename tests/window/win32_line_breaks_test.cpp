// The Windows window's edit boxes break lines only at CR LF: every line break the run writes must
// reach them as CR LF, and nothing else may change.
#include <gtest/gtest.h>

#include "app/window/win32/line_breaks.h"

namespace tarvik::app::window::win32 {
namespace {

TEST(WindowsLineBreaks, EveryBreakBecomesCrLfAndTextIsKept) {
  EXPECT_EQ(WithWindowsLineBreaks("a\r\nb"), "a\r\nb");
  EXPECT_EQ(WithWindowsLineBreaks("a\nb"), "a\r\nb");
  EXPECT_EQ(WithWindowsLineBreaks("a\rb"), "a\r\nb");
  // The unexpected-error message's two bare line feeds stay two breaks, not one.
  EXPECT_EQ(WithWindowsLineBreaks("Errore\n\n3049"), "Errore\r\n\r\n3049");
  // LF CR is two breaks; CR CR LF is two.
  EXPECT_EQ(WithWindowsLineBreaks("a\n\rb"), "a\r\n\r\nb");
  EXPECT_EQ(WithWindowsLineBreaks("a\r\r\nb"), "a\r\n\r\nb");
  EXPECT_EQ(WithWindowsLineBreaks("fine\r"), "fine\r\n");
  EXPECT_EQ(WithWindowsLineBreaks(""), "");
  // UTF-8 and a tab pass through untouched.
  EXPECT_EQ(WithWindowsLineBreaks("più\tè"), "più\tè");
}

}  // namespace
}  // namespace tarvik::app::window::win32
