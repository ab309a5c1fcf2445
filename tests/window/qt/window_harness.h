// What the window tests share: a settings folder of their own, message boxes answered as they
// open (and recorded), and Tarvik sample archives written into a test folder.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/settings_file.h"
#include "archive-gen/sample/sample_command.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace tarvik::test {

// XDG_CONFIG_HOME points to a folder of the test, so the window reads the settings written here.
class SettingsFolder {
 public:
  SettingsFolder() : env_("XDG_CONFIG_HOME", dir_.path().c_str()) {}

  // Writes the installation folder the way a Qt program stores it.
  void set_installation_folder(const std::string& folder) {
    const QString file = QString::fromStdString(platform::SettingsFilePath("Tarvik").string());
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(QStringLiteral("Installazione/Cartella"), QString::fromStdString(folder));
    settings.sync();
  }

 private:
  TempDir dir_;
  ScopedEnv env_;
};

struct SeenMessageBox {
  std::string title;
  std::string text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  std::vector<QMessageBox::StandardButton> buttons;
  std::vector<std::string> button_texts;
  QMessageBox::StandardButton default_button = QMessageBox::NoButton;
  QRect frame;  // where the box stood on the screen
};

// Answers every message box that opens while it lives, and records what each one showed. A box
// is answered with Return (its default button) unless a button was queued for it.
class MessageBoxWatcher {
 public:
  MessageBoxWatcher() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
  }

  void answer_next_with(QMessageBox::StandardButton button) { queued_.push_back(button); }
  const std::vector<SeenMessageBox>& seen() const { return seen_; }

 private:
  void poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || box == answered_) return;
    answered_ = box;
    SeenMessageBox s;
    s.title = box->windowTitle().toStdString();
    s.text = box->text().toStdString();
    s.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) {
      s.buttons.push_back(box->standardButton(b));
      s.button_texts.push_back(b->text().toStdString());
    }
    s.frame = box->frameGeometry();
    if (box->defaultButton() != nullptr) s.default_button = box->standardButton(box->defaultButton());
    seen_.push_back(s);
    if (!queued_.empty()) {
      QMessageBox::StandardButton button = queued_.front();
      queued_.pop_front();
      box->button(button)->click();
    } else {
      QTest::keyClick(box, Qt::Key_Return);
    }
  }

  QTimer timer_;
  QPointer<QMessageBox> answered_;
  std::deque<QMessageBox::StandardButton> queued_;
  std::vector<SeenMessageBox> seen_;
};

// A Tarvik sample archive ("Tarvik.mdb" in `folder`); `variant` is empty or one of the defects
// the archive checks refuse.
inline void WriteSampleArchive(const std::filesystem::path& folder, const std::string& variant = "") {
  std::vector<std::string> args;
  if (!variant.empty()) args = {"--variant", variant};
  args.push_back((folder / "Tarvik.mdb").string());
  if (archive_gen::run_sample_command(args) != 0) throw std::runtime_error("archive-gen sample failed");
}

}  // namespace tarvik::test
