// The window tests need one QApplication; they run on the offscreen platform unless told otherwise.
// Started with --print-settings-file, the program only prints where QSettings keeps the user
// settings of the application "Tarvik" (the settings tests compare it with their own reader's).
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--print-settings-file") == 0) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tarvik"), QStringLiteral("Tarvik"));
    std::printf("%s\n", settings.fileName().toUtf8().constData());
    return 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  // A test ends the program's event loop itself; a window closed by one test must not leave a
  // request to quit behind for the next.
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
