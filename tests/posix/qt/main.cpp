// The settings store's agreement with QSettings. Started with --print-settings-file, the program
// only prints where QSettings keeps the user settings of the application "Tarvik" (the tests
// compare it with the store's).
#include <gtest/gtest.h>

#include <QCoreApplication>
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
  QCoreApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
