// The guide's tests drive the export window: one QApplication, on the offscreen platform unless
// told otherwise.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  // A run ends the event loop itself; a window closed on the way must not end it too.
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
