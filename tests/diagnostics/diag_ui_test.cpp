// The two diagnostics dialogs driven for real offscreen against a controller
// double: the health list and its commands, the resistance reading with its
// timer, every way out of it, and the view's "Health Status" command.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "diag_peer.h"
#include "diagnostics/ui/dlg_health.h"
#include "diagnostics/ui/dlg_input_states.h"
#include "diagnostics/ui/loop_pictures.h"
#include "document/c4410_doc.h"
#include "editors/c4410_view.h"
#include "language/translate.h"
#include "link/device_operation.h"
#include "seams/seams.h"
#include "seams/settings.h"
#include "support/gui/screenshot.h"
#include "support/link_doubles.h"
#include "support/lng_file.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace wk::diag {
namespace {

using test::RecordedMessage;

struct Rig {
  Rig() { ClearTranslations(); }
  ~Rig() { ClearTranslations(); }
  test::DiagPeer peer;
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  test::TestClock clock;
  link::DeviceLink link() { return {peer, prompter, settings, clock, {}}; }
};

// Runs action once condition holds, from inside whatever event loop runs
// then (a modal dialog's), checking every few milliseconds.
class WhenReady : public QObject {
 public:
  WhenReady(std::function<bool()> condition, std::function<void()> action)
      : condition_(std::move(condition)), action_(std::move(action)) {
    connect(&timer_, &QTimer::timeout, this, [this] {
      if (done_ || !condition_()) return;
      done_ = true;
      timer_.stop();
      action_();
    });
    timer_.start(5);
  }
  bool done() const { return done_; }

 private:
  std::function<bool()> condition_;
  std::function<void()> action_;
  QTimer timer_;
  bool done_ = false;
};

QStringList column(QTableWidget* list, int c) {
  QStringList out;
  for (int row = 0; row < list->rowCount(); ++row) out << list->item(row, c)->text();
  return out;
}

// ---- System Health -------------------------------------------------------

TEST(HealthDialog, OpensWithTheEightNamedRowsEmptyAndReadsNothing) {
  Rig r;
  CDlgHealth dlg(r.link());
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("System Health"));
  QTableWidget* list = dlg.list();
  ASSERT_EQ(list->columnCount(), 2);
  EXPECT_EQ(list->horizontalHeaderItem(0)->text(), QStringLiteral("Health Parameter"));
  EXPECT_EQ(list->horizontalHeaderItem(1)->text(), QStringLiteral("Health Value"));
  EXPECT_GE(list->columnWidth(0), CDlgHealth::kNameColumnWidth);
  EXPECT_GE(list->columnWidth(1), CDlgHealth::kValueColumnWidth);
  EXPECT_EQ(column(list, 0), (QStringList{"WDT Resets", "Power Lost times", "Modem Errors", "1-Wire Errors",
                                          "Software resets", "Net Lost times", "---Reserved---", "---Reserved---"}));
  EXPECT_EQ(column(list, 1), QStringList(8, QString()));
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_TRUE(list->showGrid());
  EXPECT_EQ(dlg.readButton()->text(), QStringLiteral("Read Status"));
  EXPECT_EQ(dlg.resetButton()->text(), QStringLiteral("Reset Status"));
  EXPECT_EQ(dlg.inputsButton()->text(), QStringLiteral("Read Inputs"));
  QStringList groups;
  for (auto* g : dlg.findChildren<QGroupBox*>()) groups << g->title();
  groups.sort();
  EXPECT_EQ(groups, (QStringList{"Analog Inputs state", "Health Parameters"}));
  dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
  EXPECT_TRUE(r.peer.log.empty());
}

TEST(HealthDialog, ReadStatusShowsEveryCounterAs0To255) {
  Rig r;
  r.peer.counters = {3, 1, 0, 7, 255, 128, 0, 42};
  CDlgHealth dlg(r.link());
  dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
  QTest::mouseClick(dlg.readButton(), Qt::LeftButton);
  EXPECT_EQ(column(dlg.list(), 1), (QStringList{"3", "1", "0", "7", "255", "128", "0", "42"}));
  EXPECT_TRUE(r.prompter.messages.empty());
  EXPECT_EQ(r.peer.log, (std::vector<std::string>{"open", "e 974", "e 975", "e 976", "e 977", "e 978", "e 979",
                                                  "e 980", "e 981", "close"}));
  EXPECT_FALSE(link::DeviceOperation::running());
  test::screenshot(&dlg, QStringLiteral("health-dialog"));
}

TEST(HealthDialog, ResetStatusWritesZerosThenReadsThemBack) {
  Rig r;
  r.peer.counters = {3, 1, 9, 7, 255, 128, 4, 42};
  CDlgHealth dlg(r.link());
  QTest::mouseClick(dlg.readButton(), Qt::LeftButton);
  QTest::mouseClick(dlg.resetButton(), Qt::LeftButton);
  EXPECT_EQ(column(dlg.list(), 1), QStringList(8, QStringLiteral("0")));
  EXPECT_EQ(r.peer.counters, (std::array<std::uint8_t, 8>{}));
  std::vector<std::string> expected{"open", "E 974 0", "E 975 0", "E 976 0", "E 977 0", "E 978 0", "E 979 0",
                                    "E 980 0", "E 981 0", "close", "open"};
  for (int a = 974; a <= 981; ++a) expected.push_back("e " + std::to_string(a));
  expected.push_back("close");
  EXPECT_EQ(std::vector<std::string>(r.peer.log.begin() + 10, r.peer.log.end()), expected);
}

TEST(HealthDialog, NoControllerShowsTheMessageOnceAndClearsTheOldValues) {
  Rig r;
  r.peer.counters = {3, 1, 9, 7, 255, 128, 4, 42};
  CDlgHealth dlg(r.link());
  QTest::mouseClick(dlg.readButton(), Qt::LeftButton);
  ASSERT_EQ(dlg.list()->item(4, 1)->text(), QStringLiteral("255"));
  r.peer.silent = true;
  QTest::mouseClick(dlg.readButton(), Qt::LeftButton);
  EXPECT_EQ(r.prompter.messages,
            (std::vector<RecordedMessage>{{"Comunication error11111 y", MessageIcon::Error, MessageButtons::Ok}}));
  // Nothing was received: nothing is shown, not even what the last read got.
  EXPECT_EQ(column(dlg.list(), 1), QStringList(8, QString()));
  EXPECT_FALSE(r.peer.isOpen());
}

TEST(HealthDialog, APortThatDoesNotOpenChangesNothing) {
  Rig r;
  r.peer.counters = {5, 5, 5, 5, 5, 5, 5, 5};
  CDlgHealth dlg(r.link());
  QTest::mouseClick(dlg.readButton(), Qt::LeftButton);
  r.peer.openResult = {link::OpenStatus::Kind::NotFound, "gone"};
  QTest::mouseClick(dlg.resetButton(), Qt::LeftButton);
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"Port busy or not exist!"}));
  EXPECT_EQ(r.peer.counters[0], 5);
  EXPECT_EQ(column(dlg.list(), 1), QStringList(8, QStringLiteral("5")));
}

TEST(HealthDialog, TextsAreTranslated) {
  Rig r;
  test::TempDir dir;
  test::writeLanguageFile(dir.file("t.lng"), {{"System Health", "Состояние системы"},
                                              {"Health Parameter", "Параметр"},
                                              {"Health Value", "Значение"},
                                              {"WDT Resets", "Сбросы WDT"},
                                              {"---Reserved---", "---Резерв---"},
                                              {"Read Status", "Прочитать"},
                                              {"Reset Status", "Сбросить"},
                                              {"Read Inputs", "Входы"},
                                              {"Health Parameters", "Параметры"},
                                              {"Analog Inputs state", "Аналоговые входы"},
                                              {"Cancel", "Отмена"}});
  LoadTranslations(dir.file("t.lng"));
  CDlgHealth dlg(r.link());
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Состояние системы"));
  EXPECT_EQ(dlg.list()->horizontalHeaderItem(0)->text(), QStringLiteral("Параметр"));
  EXPECT_EQ(dlg.list()->horizontalHeaderItem(1)->text(), QStringLiteral("Значение"));
  EXPECT_EQ(dlg.list()->item(0, 0)->text(), QStringLiteral("Сбросы WDT"));
  EXPECT_EQ(dlg.list()->item(1, 0)->text(), QStringLiteral("Power Lost times"));
  EXPECT_EQ(dlg.list()->item(7, 0)->text(), QStringLiteral("---Резерв---"));
  EXPECT_EQ(dlg.readButton()->text(), QStringLiteral("Прочитать"));
  EXPECT_EQ(dlg.resetButton()->text(), QStringLiteral("Сбросить"));
  EXPECT_EQ(dlg.inputsButton()->text(), QStringLiteral("Входы"));
  EXPECT_EQ(dlg.cancelButton()->text(), QStringLiteral("Отмена"));
  EXPECT_EQ(dlg.okButton()->text(), QStringLiteral("OK"));
}

TEST(HealthDialog, ReadInputsRunsTheResistanceReadingModally) {
  Rig r;
  r.peer.readings = {128, 128, 128, 128, 128, 128, 128, 128};
  CDlgHealth dlg(r.link());
  dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
  CDlgInputStates* seen = nullptr;
  bool wasModal = false;
  WhenReady escape(
      [&] {
        seen = qobject_cast<CDlgInputStates*>(QApplication::activeModalWidget());
        return seen && seen->isVisible() && r.peer.inputPolls >= 2;
      },
      [&] {
        wasModal = seen->isModal() && seen->parentWidget() == &dlg;
        QTest::keyClick(seen, Qt::Key_Escape);
      });
  QTest::mouseClick(dlg.inputsButton(), Qt::LeftButton);
  EXPECT_TRUE(escape.done());
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(r.peer.isOpen());
  EXPECT_FALSE(link::DeviceOperation::running());
}

TEST(HealthDialog, TheViewsHealthStatusCommandOpensIt) {
  Rig r;
  C4410Doc doc;
  C4410View view(doc, Seams{r.prompter, r.settings, r.clock, r.peer});
  QString title;
  WhenReady cancel(
      [&] { return qobject_cast<CDlgHealth*>(QApplication::activeModalWidget()) != nullptr; },
      [&] {
        auto* health = qobject_cast<CDlgHealth*>(QApplication::activeModalWidget());
        title = health->windowTitle();
        health->cancelButton()->click();
      });
  view.OnHealthStatus();
  EXPECT_TRUE(cancel.done());
  EXPECT_EQ(title, QStringLiteral("System Health"));
  EXPECT_TRUE(r.peer.log.empty()) << "the dialog reads nothing by itself";
  EXPECT_TRUE(r.prompter.notes.empty());
}

// ---- Online Resistance Reading ---------------------------------------------

struct InputsRig : Rig {
  std::unique_ptr<CDlgInputStates> dlg;
  // Opens the dialog as exec() would, but leaves the test in charge.
  void start() {
    dlg = std::make_unique<CDlgInputStates>(link());
    ASSERT_TRUE(dlg->start());
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
  }
  QString text() const { return dlg->resultText()->toPlainText(); }
  // The port is closed, the operation given back, the timer stopped.
  void expectEnded() {
    EXPECT_FALSE(peer.isOpen());
    EXPECT_EQ(peer.log.back(), "close");
    EXPECT_FALSE(link::DeviceOperation::running());
    EXPECT_FALSE(dlg->polling());
    EXPECT_FALSE(dlg->isVisible());
  }
};

// Clicks a radio button on its indicator: only the indicator and the text
// take the click, not the whole width the layout gives the button.
void choose(QRadioButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, button->height() / 2)); }

QString lines(std::initializer_list<const char*> each) {
  QStringList l;
  for (const char* s : each) l << QString::fromUtf8(s);
  return l.join(QLatin1Char('\n'));
}

TEST(InputStatesDialog, OpensInAtz1WithInputOneAndThePictureOfAQuietStart) {
  InputsRig r;
  r.start();
  EXPECT_EQ(r.dlg->windowTitle(), QStringLiteral("Online Resistance Reading"));
  EXPECT_TRUE(r.dlg->modeButton(InputMode::Atz1)->isChecked());
  EXPECT_EQ(r.dlg->mode(), InputMode::Atz1);
  QStringList names, items;
  for (int m = 0; m < kModeCount; ++m) names << r.dlg->modeButton(static_cast<InputMode>(m))->text();
  EXPECT_EQ(names, (QStringList{"1K Lost", "0 Set", "1 Set", "0 or 1 set", "0 Lost", "1 Lost", "ATZ1", "ATZ2", "ATZ3",
                                "ATZ4"}));
  for (int i = 0; i < r.dlg->inputList()->count(); ++i) items << r.dlg->inputList()->itemText(i);
  EXPECT_EQ(items, (QStringList{"i1", "i2", "i3", "i4", "i5", "i6", "i7", "i8"}));
  EXPECT_EQ(r.dlg->inputList()->currentIndex(), 0);
  EXPECT_EQ(r.dlg->pictureView()->picture(), 175);
  EXPECT_TRUE(r.dlg->polling());
  EXPECT_EQ(r.peer.log.front(), "open");
  EXPECT_EQ(r.clock.sleeps.front(), std::chrono::milliseconds(2000));
  QStringList groups;
  for (auto* g : r.dlg->findChildren<QGroupBox*>()) groups << g->title();
  groups.sort();
  EXPECT_EQ(groups, (QStringList{"Input Read Result", "Select Mode"}));
}

TEST(InputStatesDialog, TheOneContactModesAreTranslatedAndTheAtzNamesKept) {
  InputsRig r;
  test::TempDir dir;
  test::writeLanguageFile(dir.file("t.lng"), {{"Online Resistance Reading", "Сопротивление линий"},
                                              {"1K Lost", "Потеря 1К"},
                                              {"1 Lost", "Потеря 1"},
                                              {"ATZ1", "АТЗ1"},
                                              {"Select Mode", "Режим"},
                                              {"Input Read Result", "Результат"},
                                              {"OK", "Да"}});
  LoadTranslations(dir.file("t.lng"));
  r.start();
  EXPECT_EQ(r.dlg->windowTitle(), QStringLiteral("Сопротивление линий"));
  EXPECT_EQ(r.dlg->modeButton(InputMode::Lost1K)->text(), QStringLiteral("Потеря 1К"));
  EXPECT_EQ(r.dlg->modeButton(InputMode::Lost1)->text(), QStringLiteral("Потеря 1"));
  EXPECT_EQ(r.dlg->modeButton(InputMode::Set0)->text(), QStringLiteral("0 Set"));
  EXPECT_EQ(r.dlg->modeButton(InputMode::Atz1)->text(), QStringLiteral("ATZ1"));
  EXPECT_EQ(r.dlg->okButton()->text(), QStringLiteral("Да"));
}

TEST(InputStatesDialog, EachTickShowsAllEightLinesAndThePictureOfTheSelectedInput) {
  InputsRig r;
  r.peer.readings = {150, 175, 10, 128, 255, 85, 0, 200};
  r.start();
  const QString expected = lines({"i1=150 / R≈ 1857 Ohm (Zone 1k) (Line OK)",
                                  "i2=175 / R≈ 3375 Ohm (Zone 2.2k) (Zone 1k) (Line OK)",
                                  "i3= 10 / R≈ -918 Ohm (Line ERR) (Not stable)",
                                  "i4=128 / R≈ 1016 Ohm (Line OK)",
                                  "i5=255 / R≈  inf Ohm (Line ERR) (Not stable)",
                                  "i6= 85 / R≈    0 Ohm (Line ERR) (Not stable)",
                                  "i7=  0 / R≈-1000 Ohm (Line ERR) (Not stable)",
                                  "i8=200 / R≈ 6273 Ohm (Line ERR) (Not stable)"});
  QTRY_COMPARE(r.text(), expected);
  EXPECT_EQ(r.dlg->pictureView()->picture(), 156);  // input 1: zone 1k, line OK

  // Input 2 holds both zones.
  r.dlg->inputList()->setCurrentIndex(1);
  QTRY_COMPARE(r.text(), expected);
  EXPECT_EQ(r.dlg->pictureView()->picture(), 155);
  test::screenshot(r.dlg.get(), QStringLiteral("input-states-atz1"));
}

TEST(InputStatesDialog, TheSameReadingsOnLaterTicksDoNotRedraw) {
  InputsRig r;
  r.peer.readings = {128, 128, 128, 128, 128, 128, 128, 128};
  r.start();
  QSignalSpy changes(r.dlg->resultText(), &QPlainTextEdit::textChanged);
  QTRY_VERIFY(r.peer.inputPolls >= 5);
  EXPECT_EQ(r.dlg->redraws(), 1);
  EXPECT_EQ(changes.count(), 1);
  r.peer.readings[7] = 129;
  QTRY_COMPARE(r.dlg->redraws(), 2);
}

TEST(InputStatesDialog, AnotherModeClearsTheTextAndTheNextTickRedrawsIt) {
  InputsRig r;
  r.peer.readings = {128, 136, 128, 128, 128, 128, 128, 128};
  r.start();
  QTRY_VERIFY(r.text().startsWith(QStringLiteral("i1=128 / R≈ 1016 Ohm (Line OK)")));
  const int polls = r.peer.inputPolls;
  choose(r.dlg->modeButton(InputMode::Lost1K));
  EXPECT_TRUE(r.dlg->modeButton(InputMode::Lost1K)->isChecked());
  EXPECT_EQ(r.text(), QString());
  EXPECT_EQ(r.peer.inputPolls, polls);  // cleared before any tick
  QTRY_VERIFY(r.text().startsWith(QStringLiteral("i1=128 / R≈ 1016 Ohm (R = 1kOhm ok)\n")));
  EXPECT_EQ(r.dlg->pictureView()->picture(), 174);

  // 136 in "0 Set" is not stable.
  choose(r.dlg->modeButton(InputMode::Set0));
  r.dlg->inputList()->setCurrentIndex(1);
  QTRY_VERIFY(r.text().contains(QStringLiteral("i2=136 / R≈ 1286 Ohm (Not stable)")));
  EXPECT_EQ(r.dlg->pictureView()->picture(), 175);
  test::screenshot(r.dlg.get(), QStringLiteral("input-states-0-set"));
}

TEST(InputStatesDialog, OneKLostScreenshot) {
  InputsRig r;
  r.peer.readings = {128, 104, 160, 161, 103, 255, 85, 140};
  r.start();
  choose(r.dlg->modeButton(InputMode::Lost1K));
  QTRY_VERIFY(r.text().contains(QStringLiteral("i8=140 / R≈ 1435 Ohm (R = 1kOhm ok)")));
  EXPECT_TRUE(r.text().contains(QStringLiteral("i4=161 / R≈ 2426 Ohm (R <> 1kOhm)")));
  EXPECT_EQ(r.dlg->pictureView()->picture(), 174);
  r.dlg->inputList()->setCurrentIndex(3);
  QTRY_COMPARE(r.dlg->pictureView()->picture(), std::optional<int>(181));
  test::screenshot(r.dlg.get(), QStringLiteral("input-states-1k-lost"));
}

TEST(InputStatesDialog, AWrongEchoShowsTheReadingsThenReadError1AndEnds) {
  InputsRig r;
  r.peer.readings = {128, 128, 128, 128, 128, 128, 128, 128};
  r.peer.echoForInputs = '?';
  r.start();
  QTRY_VERIFY(!r.dlg->isVisible());
  EXPECT_EQ(r.prompter.messages,
            (std::vector<RecordedMessage>{{"READ ERROR 1", MessageIcon::Error, MessageButtons::Ok}}));
  EXPECT_EQ(r.dlg->result(), QDialog::Rejected);
  EXPECT_EQ(r.peer.inputPolls, 1);
  EXPECT_TRUE(r.text().startsWith(QStringLiteral("i1=128 / R≈ 1016 Ohm (Line OK)")));
  r.expectEnded();
}

TEST(InputStatesDialog, FewerThanEightReadingsEndWithReadError2) {
  InputsRig r;
  r.peer.readingCount = 5;
  r.start();
  QTRY_VERIFY(!r.dlg->isVisible());
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"READ ERROR 2"}));
  EXPECT_EQ(r.text(), QString());
  EXPECT_EQ(r.dlg->pictureView()->picture(), 175);
  r.expectEnded();
}

TEST(InputStatesDialog, APortThatDoesNotOpenEndsTheDialogAtOnce) {
  InputsRig r;
  r.peer.openResult = {link::OpenStatus::Kind::Busy, "busy"};
  CDlgInputStates dlg(r.link());
  EXPECT_EQ(dlg.exec(), QDialog::Rejected);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_FALSE(dlg.polling());
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"Port busy or not exist!"}));
  EXPECT_EQ(r.peer.inputPolls, 0);
  EXPECT_FALSE(link::DeviceOperation::running());
}

// Every way out closes the port.
class InputStatesWayOut : public ::testing::TestWithParam<const char*> {};

TEST_P(InputStatesWayOut, ClosesThePort) {
  InputsRig r;
  r.peer.readings = {128, 128, 128, 128, 128, 128, 128, 128};
  r.start();
  QTRY_VERIFY(r.peer.inputPolls >= 2);
  const std::string way = GetParam();
  if (way == "ok") QTest::mouseClick(r.dlg->okButton(), Qt::LeftButton);
  if (way == "cancel") QTest::mouseClick(r.dlg->cancelButton(), Qt::LeftButton);
  if (way == "escape") QTest::keyClick(r.dlg.get(), Qt::Key_Escape);
  if (way == "close-button") r.dlg->close();
  EXPECT_EQ(r.dlg->result(), way == "ok" ? QDialog::Accepted : QDialog::Rejected);
  r.expectEnded();
  EXPECT_TRUE(r.prompter.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, InputStatesWayOut, ::testing::Values("ok", "cancel", "escape", "close-button"),
                         [](const auto& p) {
                           std::string name = p.param;
                           std::erase(name, '-');
                           return name;
                         });

TEST(InputStatesDialog, ExecRunsUntilTheUserLeavesAndClosesThePort) {
  Rig r;
  r.peer.readings = {150, 150, 150, 150, 150, 150, 150, 150};
  CDlgInputStates dlg(r.link());
  WhenReady ok([&] { return r.peer.inputPolls >= 3 && !dlg.resultText()->toPlainText().isEmpty(); },
               [&] { dlg.okButton()->click(); });
  EXPECT_EQ(dlg.exec(), QDialog::Accepted);
  EXPECT_TRUE(ok.done());
  EXPECT_FALSE(r.peer.isOpen());
  EXPECT_FALSE(link::DeviceOperation::running());
  // The dialog can run again, on a port of its own.
  WhenReady cancel([&] { return r.peer.inputPolls >= 5; }, [&] { dlg.cancelButton()->click(); });
  EXPECT_EQ(dlg.exec(), QDialog::Rejected);
  EXPECT_EQ(std::count(r.peer.log.begin(), r.peer.log.end(), "open"), 2);
  EXPECT_FALSE(r.peer.isOpen());
}

}  // namespace
}  // namespace wk::diag
