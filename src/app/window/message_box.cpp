#include "app/window/message_box.h"

#include <QMessageBox>
#include <QPushButton>
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

}  // namespace

ui::Answer ShowMessageBox(QWidget* parent, const std::string& text, std::string_view title, int style) {
  QMessageBox box(parent);
  box.setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
  // Plain text always: an error description may hold "<" and must not be read as markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(DisplayText(text));
  box.setIcon(IconOf(style));
  const bool yes_no = (style & kButtonsMask) == kYesNo;
  if (yes_no) {
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    box.setDefaultButton((style & kDefaultSecond) ? no : yes);
    box.setEscapeButton(no);
  } else {
    box.setDefaultButton(box.addButton(QMessageBox::Ok));
  }
  box.exec();
  if (!yes_no) return ui::Answer::Ok;
  return box.clickedButton() == box.button(QMessageBox::Yes) ? ui::Answer::Yes : ui::Answer::No;
}

}  // namespace tarvik::app::window
