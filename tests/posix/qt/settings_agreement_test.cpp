// The settings store outside Windows agrees with QSettings: on the file's place, on values that
// QSettings wrote, on files written by hand, and on the values it writes itself.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QSettings>
#include <fstream>
#include <iterator>

#include "platform/posix/ini_text.h"
#include "platform/posix/settings_file.h"
#include "platform/settings_store.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace tarvik::platform {
namespace {

// QSettings settles its user folder once per process, so the place is asked of a fresh process:
// this test program started with --print-settings-file (see main.cpp) and the given environment.
std::string QtSettingsFileWith(const char* xdg_config_home, const char* home) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("XDG_CONFIG_HOME"));
  if (xdg_config_home != nullptr) env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromUtf8(xdg_config_home));
  env.insert(QStringLiteral("HOME"), QString::fromUtf8(home));
  QProcess probe;
  probe.setProcessEnvironment(env);
  probe.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--print-settings-file")});
  probe.waitForFinished(-1);
  return QString::fromUtf8(probe.readAllStandardOutput()).trimmed().toStdString();
}

std::string OurSettingsFileWith(const char* xdg_config_home, const char* home) {
  test::ScopedEnv config("XDG_CONFIG_HOME", xdg_config_home);
  test::ScopedEnv home_env("HOME", home);
  // Qt makes a relative folder absolute against the current folder when it opens the file.
  return std::filesystem::absolute(SettingsFilePath("Tarvik")).lexically_normal().string();
}

TEST(SettingsAgreement, BothReadersUseTheSameFile) {
  struct Case {
    const char* xdg;
    const char* home;
  };
  for (const Case& c : {Case{"/srv/config", "/home/anna"}, Case{nullptr, "/home/anna"}, Case{"", "/home/anna"},
                        Case{"relative/config", "/home/anna"}}) {
    EXPECT_EQ(QtSettingsFileWith(c.xdg, c.home), OurSettingsFileWith(c.xdg, c.home))
        << "XDG_CONFIG_HOME=" << (c.xdg ? c.xdg : "(unset)");
  }
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::string QtValue(const std::filesystem::path& file) {
  QSettings qt(QString::fromStdString(file.string()), QSettings::IniFormat);
  return qt.value(QStringLiteral("Installazione/Cartella"), QStringLiteral("<none>")).toString().toStdString();
}

std::string OurValue(const std::filesystem::path& file) {
  return FindIniText(ReadBytes(file), "Installazione", "Cartella").value_or("<none>");
}

TEST(SettingsAgreement, ValuesWrittenByQt) {
  const std::vector<std::string> values = {
      "/opt/Tarvik",
      "/opt/Tarvik/",
      "C:\\Programmi\\Tarvik\\",
      " /con spazi/ ",
      "/a;b,c=d\"e\"",
      "@Tarvik",
      "/home/anna/Perché è così/€",
      "tab\there\r\nnew line",
      "",
  };
  test::TempDir dir;
  int n = 0;
  for (const std::string& value : values) {
    const std::filesystem::path file = dir / ("written" + std::to_string(n++) + ".ini");
    {
      QSettings qt(QString::fromStdString(file.string()), QSettings::IniFormat);
      qt.setValue(QStringLiteral("Installazione/Cartella"), QString::fromStdString(value));
    }
    EXPECT_EQ(QtValue(file), value);
    EXPECT_EQ(OurValue(file), value) << "file: " << ReadBytes(file);
  }
}

TEST(SettingsAgreement, FilesWrittenByHand) {
  const std::vector<std::string> files = {
      "[Installazione]\nCartella=/opt/Tarvik\n",
      "[Installazione]\r\nCartella = /opt/Tarvik  \r\n",
      "  [ Installazione ]  \n  Cartella=/x\n",
      "[installazione]\ncartella=/x\n",
      "[Installazione]\nCartella=/a ; comment\n",
      "[Installazione]\nCartella=\"/a ; b\" ; comment\n",
      "[Installazione]\n; Cartella=/commented\nCartella=/b\n",
      "[Installazione]\nCartella=C:\\Tarvik\\Dati\n",
      "[Installazione]\nCartella=C:\\\\Tarvik\\\\\n",
      "[Installazione]\nCartella=/opt/\\\n  Tarvik\n",
      "[Installazione]\nCartella=\"/multi\nline\"\n",
      "[Installazione]\nCartella=\\x41\\x4a\\1011\\u0041\n",
      "[Installazione]\nCartella=/a, /b\n",
      "[Installazione]\nCartella=\"/a, b\"\n",
      "[Installazione]\nCartella=@@x\n",
      "[Installazione]\nCartella=@ByteArray(/opt/Tarvik)\n",
      "[Installazione]\nCartella=@Invalid()\n",
      "[Installazione]\nCartella=@Rect(1 2 3 4)\n",
      "[Installazione]\nCartella=\n",
      "[Installazione]\nCartella\n",
      "[Installazione]\nCartella=/a\nCartella=/b\n",
      "[Installazione]\nCartella=/a\n[Altro]\nk=v\n[Installazione]\nCartella=/b\n",
      "[General]\nInstallazione\\Cartella=/g\n",
      "Installazione\\Cartella=/g\n",
      "[Installazione%2F]\nCartella=/x\n[Installa%7Aione]\nCartella=/y\n",
      "\xEF\xBB\xBF[Installazione]\nCartell%61=/bom\n",
      "[Installazione]\nCartella=/Perch\xC3\xA9\n",
      "[Installazione]\nCartella=/bad\xE8utf8\n",
      "[Installazione\nCartella=/unclosed\n",
      "[Installazione]\nCartella=  \"  quoted  \"  tail  \n",
      "[Installazione]\nCartella=\"unterminated\n",
      "[Installazione]\nCartella=a=b\n",
      "[Installazione]\nCartella=\\\n",
      "[Installazione]\nCartella=\\x\n",
      "[Installazione]\nCartella=\\q\\;x\n",
      "[%General]\nCartella=/x\n[Installazione]\nCartella=/y\n",
      "[Installazione\\A]\nk=v\n[Installazione]\nCartella=/hidden\n",
      "[Installazione\\Z]\nk=v\n[Installazione]\nCartella=/seen\n",
      "[General]\nk=v\n[Installazione]\nCartella=/seen\n",
  };
  test::TempDir dir;
  int n = 0;
  for (const std::string& text : files) {
    const std::filesystem::path file = dir / ("hand" + std::to_string(n++) + ".ini");
    std::ofstream(file, std::ios::binary) << text;
    EXPECT_EQ(OurValue(file), QtValue(file)) << "file: " << text;
  }
}

TEST(SettingsAgreement, ValuesWrittenByTheStore) {
  const std::vector<std::string> values = {
      "/opt/Tarvik", "C:\\Programmi\\Tarvik\\", " /con spazi/ ", "/a;b,c=d\"e\"", "@Tarvik", "@@x",
      "/home/anna/Perché è così/€ \xF0\x9F\x98\x80", "tab\there\r\nnew line\x01" "af\x1f" "0", "", ",", "=",
  };
  test::TempDir dir;
  int n = 0;
  for (const std::string& value : values) {
    // A folder per value: QSettings keeps the files it has read.
    const std::string folder = (dir / ("store" + std::to_string(n++))).string();
    test::ScopedEnv config("XDG_CONFIG_HOME", folder.c_str());
    const std::filesystem::path file = SettingsFilePath("Tarvik");
    const std::filesystem::path by_qt = folder + "/by_qt.ini";
    ASSERT_TRUE(WriteSetting("Tarvik", "Installazione", "Cartella", value));
    EXPECT_EQ(QtValue(file), value) << "file: " << ReadBytes(file);
    {
      QSettings qt(QString::fromStdString(by_qt.string()), QSettings::IniFormat);
      qt.setValue(QStringLiteral("Installazione/Cartella"), QString::fromStdString(value));
    }
    EXPECT_EQ(ReadBytes(file), ReadBytes(by_qt)) << "a fresh file is written as QSettings writes it";
  }
  test::ScopedEnv config("XDG_CONFIG_HOME", (dir / "others").c_str());
  const std::filesystem::path file = SettingsFilePath("Tarvik");
  std::filesystem::create_directories(file.parent_path());
  // Into a file of other keys and sections, written by hand: Qt reads the value and the rest.
  std::ofstream(file, std::ios::binary) << "[General]\nx=1\n\n[Installazione]\nAltro=2\n\n[Z]\ny=3\n";
  ASSERT_TRUE(WriteSetting("Tarvik", "Installazione", "Cartella", "/nuova"));
  ASSERT_TRUE(WriteSetting("Tarvik", "Nuova sezione/è", "Chiave è", "v"));
  QSettings qt(QString::fromStdString(file.string()), QSettings::IniFormat);
  EXPECT_EQ(qt.value(QStringLiteral("Installazione/Cartella")).toString().toStdString(), "/nuova");
  EXPECT_EQ(qt.value(QStringLiteral("Installazione/Altro")).toString().toStdString(), "2");
  EXPECT_EQ(qt.value(QStringLiteral("x")).toString().toStdString(), "1");
  EXPECT_EQ(qt.value(QStringLiteral("Z/y")).toString().toStdString(), "3");
  EXPECT_EQ(qt.value(QString::fromUtf8("Nuova sezione/è/Chiave è")).toString().toStdString(), "v");
}

}  // namespace
}  // namespace tarvik::platform
