#pragma once
// A started program for GUI tests: the application on in-memory settings
// with a scripted prompter, and helpers that wait for windows and drive modal
// dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>
#include <memory>

#include "app/c4410_app.h"
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "app/qt_document.h"
#include "language/translate.h"
#include "seams/settings.h"
#include "support/gui/when_modal.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace wk::test {

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override { QApplication::setQuitOnLastWindowClosed(false); }
  void TearDown() override {
    if (app && app->mainFrame())
      for (CChildFrame* child : app->mainFrame()->children()) child->setCloseApproved();
    app.reset();
    ClearTranslations();
  }

  bool start(const QStringList& arguments = {}) { return start(settings, arguments); }
  bool start(Settings& store, const QStringList& arguments = {}) {
    app = std::make_unique<C4410App>(store, prompter, clock);
    return app->InitInstance(arguments);
  }

  CMainFrame& frame() const { return *app->mainFrame(); }
  std::vector<CChildFrame*> windows() const { return frame().children(); }
  QStringList titles() const {
    QStringList list;
    for (CChildFrame* child : windows()) list << child->document().title();
    return list;
  }
  // The main window's title as the desktop shows it.
  QString shownTitle() const {
    QString title = frame().windowTitle();
    return title.replace(QStringLiteral("[*]"), frame().isWindowModified() ? QStringLiteral("*") : QString());
  }
  // Whether the main window's title names the document: "Watchkeep
  // Configurator - smslist1", or "... - [smslist1]" while its window is
  // maximised with its buttons in the menu bar.
  ::testing::AssertionResult titleNames(const QString& document) const {
    const QString shown = shownTitle();
    const QString plain = QStringLiteral("Watchkeep Configurator - ") + document;
    const QString merged = QStringLiteral("Watchkeep Configurator - [%1]").arg(document);
    if (shown == plain || shown == merged) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the title is \"" << shown.toStdString() << '"';
  }
  bool waitForWindowCount(std::size_t count) const {
    return QTest::qWaitFor([&] { return windows().size() == count; }, 5000);
  }

  MemorySettings settings;
  ScriptedPrompter prompter;
  Clock* clock = nullptr;  // the system clock unless a test sets one
  std::unique_ptr<C4410App> app;
  TempDir dir;
};

// A menu's visible items, one a line: "text #ID" or "-" for a separator.
inline QStringList describe(const QList<QAction*>& actions) {
  QStringList items;
  for (QAction* action : actions) {
    if (!action->isVisible()) continue;
    if (action->isSeparator()) items << QStringLiteral("-");
    else items << action->text() + QStringLiteral(" #") + QString::number(action->data().toInt(), 16).toUpper();
  }
  return items;
}

inline QStringList menuTitles(QMenuBar* bar) {
  QStringList titles;
  for (QAction* action : bar->actions()) titles << action->text();
  return titles;
}

inline QMenu* popup(QMenuBar* bar, int index) { return bar->actions().at(index)->menu(); }

}  // namespace wk::test
