#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "seams/qt/qt_prompter.h"

namespace wk {
namespace {

TEST(QtPrompter, FilterStringsBecomeQtNameFilters) {
  EXPECT_EQ(QtPrompter::qtFilter("4410 Files (*.vld)|*.vld|"), QStringLiteral("4410 Files (*.vld)"));
  EXPECT_EQ(QtPrompter::qtFilter("GZ4410 language file(*.lng)|*.lng|All files (*.*)|*.*|"),
            QStringLiteral("GZ4410 language file (*.lng);;All files (*)"));
  EXPECT_EQ(QtPrompter::qtFilter("Code|*.cod;*.bin|"), QStringLiteral("Code (*.cod *.bin)"));
}

// Clicks the given button of the message box once it is up.
void clickWhenShown(QMessageBox::StandardButton which, QString* seenText, QMessageBox::Icon* seenIcon) {
  QTimer::singleShot(0, [=] {
    QMessageBox* box = nullptr;
    const bool shown = QTest::qWaitFor([&] {
      box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      return box != nullptr;
    }, 5000);
    ASSERT_TRUE(shown);
    *seenText = box->text();
    *seenIcon = box->icon();
    box->button(which)->click();
  });
}

TEST(QtPrompter, MessageBoxesShowTextIconAndReturnTheButton) {
  QtPrompter qtPrompter;
  Prompter& prompter = qtPrompter;
  QString text;
  QMessageBox::Icon icon{};
  clickWhenShown(QMessageBox::Yes, &text, &icon);
  EXPECT_EQ(prompter.message("Current document is not empty, proceed?", MessageIcon::Question, MessageButtons::YesNo),
            Answer::Yes);
  EXPECT_EQ(text, QStringLiteral("Current document is not empty, proceed?"));
  EXPECT_EQ(icon, QMessageBox::Question);

  clickWhenShown(QMessageBox::Ok, &text, &icon);
  EXPECT_EQ(prompter.message("Read compleeted", MessageIcon::Information), Answer::Ok);
  EXPECT_EQ(icon, QMessageBox::Information);

  clickWhenShown(QMessageBox::Cancel, &text, &icon);
  EXPECT_EQ(prompter.message("\xD0\x9E", MessageIcon::Error, MessageButtons::YesNoCancel), Answer::Cancel);
  EXPECT_EQ(text, QString(QChar(0x041E)));
  EXPECT_EQ(icon, QMessageBox::Critical);
}

}  // namespace
}  // namespace wk
