// The window tests need one QApplication; they run on the offscreen platform unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  // A test ends the program's event loop itself; a window closed by one test must not leave a
  // request to quit behind for the next.
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
