// The settings store outside Windows: where the file is, how its text is read and how a value is
// written into it. The agreement with Qt's own reader and writer is tested in posix/qt.
#include <gtest/gtest.h>

#include <fstream>

#include "app/settings.h"
#include "platform/posix/ini_text.h"
#include "platform/posix/settings_file.h"
#include "platform/settings_store.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace tarvik::platform {
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

TEST(SettingsFile, MissingFileOrKeyGivesNothing) {
  test::TempDir dir;
  ScopedEnv config("XDG_CONFIG_HOME", dir.path().c_str());
  EXPECT_EQ(ReadSetting("Tarvik", "Installazione", "Cartella"), std::nullopt);
  EXPECT_EQ(app::ReadInstallationFolder(), "");

  std::filesystem::create_directories(dir / "Tarvik");
  std::ofstream(dir / "Tarvik" / "Tarvik.ini") << "[Installazione]\nAltro=1\n";
  EXPECT_EQ(ReadSetting("Tarvik", "Installazione", "Cartella"), std::nullopt);

  std::ofstream(dir / "Tarvik" / "Tarvik.ini") << "[Installazione]\nCartella=/opt/Tarvik\n";
  EXPECT_EQ(app::ReadInstallationFolder(), "/opt/Tarvik");
}

TEST(SettingsFile, AWrittenValueIsReadBackAndTheFileKeepsTheRest) {
  test::TempDir dir;
  ScopedEnv config("XDG_CONFIG_HOME", (dir / "nuova").c_str());  // the folders do not exist yet
  ASSERT_TRUE(WriteSetting("Tarvik", "Installazione", "Cartella", "/opt/Tarvik"));
  ASSERT_TRUE(WriteSetting("Tarvik", "Altro", "Chiave", "1"));
  ASSERT_TRUE(WriteSetting("Tarvik", "Installazione", "Cartella", " C:\\Società;\"x\" "));
  EXPECT_EQ(ReadSetting("Tarvik", "Installazione", "Cartella"), " C:\\Società;\"x\" ");
  EXPECT_EQ(ReadSetting("Tarvik", "Altro", "Chiave"), "1");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "nuova" / "Tarvik"), {}), 1)
      << "no temporary file is left";

  ScopedEnv unwritable("XDG_CONFIG_HOME", "/proc/nessuna");
  EXPECT_FALSE(WriteSetting("Tarvik", "Installazione", "Cartella", "/x"));
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

TEST(IniEdit, AKeyIsChangedWhereItIsAndTheRestOfTheFileStays) {
  const std::string ini = "; intestazione\n[Installazione]\nCartella=/a ; nota\nAltro=1\n";
  EXPECT_EQ(SetIniText(ini, "Installazione", "Cartella", "/b"),
            "; intestazione\n[Installazione]\nCartella=/b; nota\nAltro=1\n");
  // The last of several lines is the one read, so it is the one changed.
  EXPECT_EQ(SetIniText("[Installazione]\r\nCartella=/a\r\n[X]\r\n[Installazione]\r\nCartella=/c\r\n",
                       "Installazione", "Cartella", "/b"),
            "[Installazione]\r\nCartella=/a\r\n[X]\r\n[Installazione]\r\nCartella=/b\r\n");
}

TEST(IniEdit, AMissingKeyOrSectionIsAdded) {
  EXPECT_EQ(SetIniText("", "Installazione", "Cartella", "/b"), "[Installazione]\nCartella=/b\n");
  EXPECT_EQ(SetIniText("[Installazione]\nAltro=1\n\n[X]\nk=v", "Installazione", "Cartella", "/b"),
            "[Installazione]\nAltro=1\nCartella=/b\n\n[X]\nk=v");
  EXPECT_EQ(SetIniText("\xEF\xBB\xBF[X]\r\nk=v", "Installa zione", "Cartella/è", "/b"),
            "\xEF\xBB\xBF[X]\r\nk=v\r\n\r\n[Installa%20zione]\r\nCartella\\%E8=/b\r\n");
  EXPECT_EQ(SetIniText("", "general", "k", "v"), "[%General]\nk=v\n");
}

TEST(IniEdit, ValuesAreEscapedAsQtWritesThem) {
  auto stored = [](const std::string& value) {
    const std::string ini = SetIniText("", "S", "k", value);
    EXPECT_EQ(FindIniText(ini, "S", "k"), value) << ini;
    return ini.substr(6, ini.size() - 7);  // the text after "[S]\nk=", before the line's end
  };
  EXPECT_EQ(stored("/opt/Tarvik"), "/opt/Tarvik");
  EXPECT_EQ(stored("C:\\Tarvik\\"), "C:\\\\Tarvik\\\\");
  EXPECT_EQ(stored(" a "), "\" a \"");
  EXPECT_EQ(stored("a;b"), "\"a;b\"");
  EXPECT_EQ(stored("say \"hi\""), "say \\\"hi\\\"");
  EXPECT_EQ(stored("@x"), "@@x");
  EXPECT_EQ(stored("tab\there\r\n"), "tab\\there\\r\\n");
  EXPECT_EQ(stored(std::string("\x01" "a\0" "b", 4)), "\\x1\\x61\\0\\x62");
  EXPECT_EQ(stored("Perch\xC3\xA9 \xF0\x9F\x98\x80"), "Perch\xC3\xA9 \xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace tarvik::platform
