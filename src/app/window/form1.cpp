#include "app/window/form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

#include "app/window/form_layout.h"
#include "app/window/form_texts.h"
#include "app/window/message_box.h"
#include "app/window/plain_text.h"

namespace tarvik::app::window {

namespace {

// The design font first, then fonts of the same metrics where it is missing.
QFont DesignFont(double point_size) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                    QStringLiteral("Helvetica")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(point_size);
  font.setWeight(QFont::Normal);
  return font;
}

// Labels show their text from the top left and wrap it within their width.
QLabel* MakeLabel(const char* text, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);
  return label;
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent),
      Label1(MakeLabel(kLabel1Text, this)),
      Label2(MakeLabel(kLabel2Text, this)),
      txtDirectory(new QLineEdit(this)),
      Command1(new QPushButton(QString::fromUtf8(kCommand1Text), this)),
      lblAvanzamento(MakeLabel(kLblAvanzamentoText, this)),
      txtErrore(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("Form1"));
  Label1->setObjectName(QStringLiteral("Label1"));
  Label2->setObjectName(QStringLiteral("Label2"));
  txtDirectory->setObjectName(QStringLiteral("txtDirectory"));
  Command1->setObjectName(QStringLiteral("Command1"));
  lblAvanzamento->setObjectName(QStringLiteral("lblAvanzamento"));
  txtErrore->setObjectName(QStringLiteral("txtErrore"));

  setWindowTitle(QString::fromUtf8(kCaption));
  setFont(DesignFont(kControlPointSize));
  Label1->setFont(DesignFont(kLabel1PointSize));
  // Only the program writes into the error panel; the user may select and copy its text.
  txtErrore->setReadOnly(true);
  txtErrore->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  txtErrore->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txtErrore->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  Command1->setAutoDefault(false);

  // Tab order: txtDirectory, Label2, Command1, txtErrore, lblAvanzamento; labels take no focus,
  // so the keyboard goes from the folder box to the button and on to the error panel.
  setTabOrder(txtDirectory, Command1);
  setTabOrder(Command1, txtErrore);

  Command1->installEventFilter(this);
  txtDirectory->installEventFilter(this);

  LayOut(screen() != nullptr ? screen()->logicalDotsPerInch() : 96.0);
  QObject::connect(Command1, &QPushButton::clicked, this, [this] { Command1Pressed(); });
}

void Form1::LayOut(double dpi) {
  setFixedSize(ClientSize(dpi));
  Label1->setGeometry(ToPixels(kLabel1, dpi));
  Label2->setGeometry(ToPixels(kLabel2, dpi));
  txtDirectory->setGeometry(ToPixels(kTxtDirectory, dpi));
  Command1->setGeometry(ToPixels(kCommand1, dpi));
  lblAvanzamento->setGeometry(ToPixels(kLblAvanzamento, dpi));
  txtErrore->setGeometry(ToPixels(kTxtErrore, dpi));
}

void Form1::Command1Pressed() {
  if (running_ || !run_) return;
  running_ = true;
  run_();  // the run reports its own errors and never throws
  running_ = false;
  if (close_requested_ && isVisible()) close();
}

void Form1::closeEvent(QCloseEvent* event) {
  if (running_ && !unloading_) {
    close_requested_ = true;
    event->ignore();
    return;
  }
  event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (watched == Command1 && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
    if (Command1->isEnabled()) Command1->click();
    return true;
  }
  // Alt alone, not Ctrl+Alt: on some keyboards that pair is AltGr, which types characters.
  const Qt::KeyboardModifiers modifiers = key->modifiers();
  if (watched == txtDirectory && (modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier))
    return true;
  return QWidget::eventFilter(watched, event);
}

std::string Form1::folder_text() { return txtDirectory->text().toStdString(); }

void Form1::set_folder_text(const std::string& text) { txtDirectory->setText(QString::fromStdString(text)); }

void Form1::set_error_text(const std::string& text) { txtErrore->setPlainText(DisplayText(text)); }

void Form1::show_error_panel(bool shown) { txtErrore->setVisible(shown); }

void Form1::enable_button(bool enabled) { Command1->setEnabled(enabled); }

void Form1::set_progress_caption(const std::string& caption) {
  lblAvanzamento->setText(QString::fromStdString(caption));
}

void Form1::set_busy_pointer(bool busy) {
  // The text boxes carry their own pointer, so they are set with the window.
  if (busy) {
    setCursor(Qt::WaitCursor);
    txtDirectory->setCursor(Qt::WaitCursor);
    txtErrore->viewport()->setCursor(Qt::WaitCursor);
  } else {
    unsetCursor();
    txtDirectory->setCursor(Qt::IBeamCursor);
    txtErrore->viewport()->setCursor(Qt::IBeamCursor);
  }
}

void Form1::process_events() { QCoreApplication::processEvents(); }

ui::Answer Form1::message_box(const std::string& text, std::string_view title, int style) {
  return ShowMessageBox(this, text, title, style);
}

void Form1::unload() {
  unloading_ = true;
  close();
  QCoreApplication::quit();
}

}  // namespace tarvik::app::window
