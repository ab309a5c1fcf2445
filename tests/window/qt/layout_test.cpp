// The window's layout: the design positions in twips at 15 to a pixel, the texts, the tab order
// and the larger font of the explanation, with each text fitting the box it is shown in.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "app/window/form1.h"
#include "app/window/form_layout.h"

namespace tarvik::app::window {
namespace {

TEST(Layout, DesignPositionsInPixelsAtTheScreensResolution) {
  Form1 form;
  const double dpi = form.screen()->logicalDotsPerInch();
  EXPECT_EQ(form.size(), QSize(TwipsToPixels(10275, dpi), TwipsToPixels(7125, dpi)));
  EXPECT_EQ(form.Label1->geometry(), ToPixels({240, 240, 9855, 855}, dpi));
  EXPECT_EQ(form.Label2->geometry(), ToPixels({240, 1320, 2535, 255}, dpi));
  EXPECT_EQ(form.txtDirectory->geometry(), ToPixels({2880, 1320, 7095, 405}, dpi));
  EXPECT_EQ(form.Command1->geometry(), ToPixels({2880, 2040, 1935, 615}, dpi));
  EXPECT_EQ(form.lblAvanzamento->geometry(), ToPixels({5160, 2040, 3015, 375}, dpi));
  EXPECT_EQ(form.txtErrore->geometry(), ToPixels({240, 3000, 9735, 3855}, dpi));
}

TEST(Layout, TwipsScaleWithTheResolution) {
  EXPECT_EQ(TwipsToPixels(10275, 96), 685);
  EXPECT_EQ(TwipsToPixels(7125, 96), 475);
  EXPECT_EQ(TwipsToPixels(2880, 96), 192);
  EXPECT_EQ(TwipsToPixels(2880, 144), 288);
  EXPECT_EQ(TwipsToPixels(255, 120), 21);  // 21.25 rounded
}

TEST(Layout, CaptionAndTexts) {
  Form1 form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Importa dati Tarvik - prima parte"));
  EXPECT_EQ(form.Label1->text(),
            QStringLiteral("Questa è la prima parte del trasferimento dati. Gli archivi dovrebbero trovarsi nella "
                           "cartella specificata più in basso. E' possibile modificare il percorso, ma normalmente "
                           "non dovrebbe essere necessario."));
  EXPECT_EQ(form.Label2->text(), QStringLiteral("Cartella di installazione Tarvik"));
  EXPECT_EQ(form.Command1->text(), QStringLiteral("Procedi"));
  EXPECT_TRUE(form.txtErrore->isReadOnly());
  EXPECT_EQ(form.txtErrore->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST(Layout, ExplanationIsLargerAndEveryTextFitsItsBox) {
  Form1 form;
  EXPECT_GT(form.Label1->font().pointSizeF(), form.Label2->font().pointSizeF());
  EXPECT_DOUBLE_EQ(form.Label1->font().pointSizeF(), 9.75);
  // The explanation wraps within its box; the folder caption takes one line.
  const QRect label1 = QFontMetrics(form.Label1->font())
                           .boundingRect(QRect(0, 0, form.Label1->width(), 10000), Qt::TextWordWrap, form.Label1->text());
  EXPECT_LE(label1.height(), form.Label1->height());
  const QFontMetrics label2(form.Label2->font());
  EXPECT_LE(label2.horizontalAdvance(form.Label2->text()), form.Label2->width());
  EXPECT_LE(label2.height(), form.Label2->height());
  // The longest progress caption a run can show.
  EXPECT_LE(QFontMetrics(form.lblAvanzamento->font())
                .horizontalAdvance(QStringLiteral("Avanzamento: 2147483600/2147483647")),
            form.lblAvanzamento->width());
}

TEST(Layout, TabOrderGoesFromTheFolderToTheButtonToThePanel) {
  Form1 form;
  std::vector<QWidget*> order;
  QWidget* w = form.txtDirectory;
  do {
    if (w->focusPolicy() & Qt::TabFocus) order.push_back(w);
    w = w->nextInFocusChain();
  } while (w != form.txtDirectory && order.size() < 10);
  std::vector<QWidget*> expected = {form.txtDirectory, form.Command1, form.txtErrore};
  EXPECT_EQ(order, expected);
}

}  // namespace
}  // namespace tarvik::app::window
