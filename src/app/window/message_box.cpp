#include "app/window/message_box.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QString>

#include "app/window/plain_text.h"

namespace tarvik::app::window {

namespace {

constexpr int kButtonsMask = 0x7;
constexpr int kYesNo = 4;
constexpr int kIconMask = 0x70;
constexpr int kDefaultSecond = 0x100;

QMessageBox::Icon IconOf(int style) {
  switch (style & kIconMask) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// A box of the old toolkit: a Yes/No question cannot be dismissed without an answer (Escape and
// the close button do nothing), and a box with no shown window under it (the warning at start-up)
// stands in the middle of the screen rather than where the hidden window would be.
class StyledMessageBox : public QMessageBox {
 public:
  StyledMessageBox(QWidget* parent, bool needs_answer) : QMessageBox(parent), needs_answer_(needs_answer) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (needs_answer_ && event->matches(QKeySequence::Cancel)) {
      event->accept();
      return;
    }
    QMessageBox::keyPressEvent(event);
  }
  void closeEvent(QCloseEvent* event) override {
    if (needs_answer_ && clickedButton() == nullptr) {
      event->ignore();
      return;
    }
    QMessageBox::closeEvent(event);
  }
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    if (parentWidget() != nullptr && parentWidget()->isVisible()) return;
    QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }

 private:
  bool needs_answer_;
};

}  // namespace

ui::Answer ShowMessageBox(QWidget* parent, const std::string& text, std::string_view title, int style) {
  const bool yes_no = (style & kButtonsMask) == kYesNo;
  StyledMessageBox box(parent, yes_no);
  box.setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
  // Plain text always: an error description may hold "<" and must not be read as markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(DisplayText(text));
  box.setIcon(IconOf(style));
  if (yes_no) {
    // The user-facing texts are Italian whatever the locale; "OK" reads the same.
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    yes->setText(QString::fromUtf8("Sì"));
    no->setText(QStringLiteral("No"));
    box.setDefaultButton((style & kDefaultSecond) ? no : yes);
  } else {
    box.setDefaultButton(box.addButton(QMessageBox::Ok));
  }
  box.exec();
  if (!yes_no) return ui::Answer::Ok;
  return box.clickedButton() == box.button(QMessageBox::Yes) ? ui::Answer::Yes : ui::Answer::No;
}

}  // namespace tarvik::app::window
