// The settings store read without Qt: where the file is, and how its text is read. The agreement
// with Qt's own reader is tested in window/qt.
#include <gtest/gtest.h>

#include <fstream>

#include "app/settings.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace tarvik::app {
namespace {

using test::ScopedEnv;

TEST(SettingsFile, LivesUnderXdgConfigHomeOrHomeConfig) {
  {
    ScopedEnv config("XDG_CONFIG_HOME", "/srv/config");
    EXPECT_EQ(SettingsFilePath("Tarvik"), "/srv/config/Tarvik/Tarvik.ini");
  }
  {
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", "/home/anna");
    EXPECT_EQ(SettingsFilePath("Tarvik"), "/home/anna/.config/Tarvik/Tarvik.ini");
  }
  {
    ScopedEnv config("XDG_CONFIG_HOME", "");
    ScopedEnv home("HOME", "/home/anna");
    EXPECT_EQ(SettingsFilePath("Tarvik"), "/home/anna/.config/Tarvik/Tarvik.ini");
  }
}

TEST(SettingsFile, MissingFileOrKeyGivesTheDefault) {
  test::TempDir dir;
  ScopedEnv config("XDG_CONFIG_HOME", dir.path().c_str());
  EXPECT_EQ(GetSetting("Tarvik", "Installazione", "Cartella", "nessuna"), "nessuna");
  EXPECT_EQ(ReadInstallationFolder(), "");

  std::filesystem::create_directories(dir / "Tarvik");
  std::ofstream(dir / "Tarvik" / "Tarvik.ini") << "[Installazione]\nAltro=1\n";
  EXPECT_EQ(GetSetting("Tarvik", "Installazione", "Cartella", "nessuna"), "nessuna");

  std::ofstream(dir / "Tarvik" / "Tarvik.ini") << "[Installazione]\nCartella=/opt/Tarvik\n";
  EXPECT_EQ(ReadInstallationFolder(), "/opt/Tarvik");
}

TEST(IniText, FindsTheKeyOfItsSectionOnly) {
  const char* ini =
      "[General]\nCartella=/root\n"
      "[Altro]\nCartella=/altro\n"
      "[Installazione]\n  Cartella  =  /opt/Tarvik  \n";
  EXPECT_EQ(FindIniText(ini, "Installazione", "Cartella"), "/opt/Tarvik");
  EXPECT_EQ(FindIniText(ini, "Installazione", "cartella"), std::nullopt);
  EXPECT_EQ(FindIniText("Cartella=/x\n", "Installazione", "Cartella"), std::nullopt);
}

TEST(IniText, LaterSectionsAndKeysOfTheSameNameWin) {
  const char* ini = "[Installazione]\nCartella=/a\n[Altro]\nx=1\n[Installazione]\nCartella=/b\n";
  EXPECT_EQ(FindIniText(ini, "Installazione", "Cartella"), "/b");
}

TEST(IniText, QuotesEscapesAndComments) {
  auto value = [](const std::string& raw) {
    return FindIniText("[Installazione]\r\nCartella=" + raw + "\r\n", "Installazione", "Cartella");
  };
  EXPECT_EQ(value("\" /opt/Tar;vik \""), " /opt/Tar;vik ");
  EXPECT_EQ(value("/opt/Tarvik ; a comment"), "/opt/Tarvik");
  EXPECT_EQ(value("C:\\\\Programmi\\\\Tarvik\\\\"), "C:\\Programmi\\Tarvik\\");
  EXPECT_EQ(value("\\x41\\101\\t\\\"x\\\""), "AA\t\"x\"");
  EXPECT_EQ(value("/opt/Perch\xC3\xA9"), "/opt/Perch\xC3\xA9");
  // A backslash continues the line; the next line's leading blanks are part of the value.
  EXPECT_EQ(value("/opt/\\\n  Tarvik"), "/opt/  Tarvik");
  EXPECT_EQ(value("@@Tarvik"), "@Tarvik");
  EXPECT_EQ(value("a, b"), "");
  EXPECT_EQ(value(""), "");
}

TEST(IniText, AGroupBetweenTheSectionAndTheKeyHidesTheSection) {
  // Keys are looked up in the nearest section before them in name order only.
  EXPECT_EQ(FindIniText("[Installazione\\A]\nk=v\n[Installazione]\nCartella=/x\n", "Installazione", "Cartella"),
            std::nullopt);
  EXPECT_EQ(FindIniText("[Installazione\\Z]\nk=v\n[Installazione]\nCartella=/x\n", "Installazione", "Cartella"), "/x");
}

TEST(IniText, EscapedNamesAndAByteOrderMark) {
  EXPECT_EQ(FindIniText("\xEF\xBB\xBF[Installa%7Aione]\nCartell%U0061=/x\n", "Installazione", "Cartella"), "/x");
}

}  // namespace
}  // namespace tarvik::app
