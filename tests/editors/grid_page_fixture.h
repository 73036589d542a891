#pragma once
// A section page alone in a window over a document of its own, and a user at
// its grid: clicks, keys, typed text and list picks go through the real
// widgets, as they do in the program.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "document/c4410_doc.h"
#include "language/translate.h"
#include "link/termios_transport.h"
#include "seams/clock.h"
#include "seams/seams.h"
#include "seams/settings.h"
#include "support/hex.h"
#include "support/lng_file.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "widgets/grid.h"
#include "widgets/section_page.h"

namespace wk::test {

// The seams of a page that runs no device command.
struct PageSeams {
  ScriptedPrompter prompter;
  MemorySettings settings;
  SystemClock clock;
  link::TermiosTransport transport{clock};
  Seams seams{prompter, settings, clock, transport};
};

// What a user does to a grid.
class GridUser {
 public:
  explicit GridUser(Grid& grid) : grid_(grid) {}

  void click(int row, int col) {
    grid_.view()->scrollTo(grid_.view()->model()->index(row - 1, col - 1));
    QTest::mouseClick(grid_.view()->viewport(), Qt::LeftButton, {}, grid_.cellRect(row, col).center());
  }
  void key(Qt::Key key) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid_.view();
    QTest::keyClick(target, key);
  }
  // Clicks the cell unless the cursor is on it already (a click on the
  // current cell would start an edit of its own a moment later).
  void goTo(int row, int col) {
    if (grid_.focusCell() != CellId{row, col}) click(row, col);
    ASSERT_EQ(grid_.focusCell(), (CellId{row, col}));
  }
  // Goes to the cell, presses F2, replaces its text by typing text (any
  // characters, as a keyboard layout delivers them) and, unless told not to,
  // presses Enter.
  void type(int row, int col, const QString& text, bool enter = true) {
    goTo(row, col);
    QTest::keyClick(grid_.view(), Qt::Key_F2);
    QLineEdit* line = openEditor<QLineEdit>();
    ASSERT_NE(line, nullptr);
    QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(line, &press);
      QApplication::sendEvent(line, &release);
    }
    if (enter) QTest::keyClick(line, Qt::Key_Return);
  }
  // Goes to the cell, presses F2 so that its list opens, and clicks item.
  void pick(int row, int col, const QString& item) {
    const int at = grid_.items(row, col).indexOf(item);
    ASSERT_GE(at, 0) << item.toStdString();
    pickAt(row, col, at);
  }
  // The same with the item at position at of the list.
  void pickAt(int row, int col, int at) {
    goTo(row, col);
    QTest::keyClick(grid_.view(), Qt::Key_F2);
    QComboBox* combo = openEditor<QComboBox>();
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }, 5000));
    QAbstractItemView* list = combo->view();
    const QModelIndex index = list->model()->index(at, 0);
    list->scrollTo(index);
    // An item may be wider than a narrow column's list: click inside both.
    const QRect item = list->visualRect(index).intersected(list->viewport()->rect());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
  }
  // Clicks the check box in the middle of the cell.
  void toggle(int row, int col) { click(row, col); }

  // The open editor of the grid, if it is of that kind.
  template <typename Editor>
  Editor* openEditor() {
    for (Editor* e : grid_.view()->viewport()->findChildren<Editor*>(Qt::FindDirectChildrenOnly))
      if (e->isVisible()) return e;
    return nullptr;
  }

 private:
  Grid& grid_;
};

// A page of type Page, shown in a window of its own, over a new document.
template <typename Page>
class GridPageTest : public ::testing::Test {
 protected:
  void SetUp() override { make(); }
  void TearDown() override { ClearTranslations(); }

  // (Re)builds the page, e.g. after loading a language file.
  void make() {
    page.reset();
    page = std::make_unique<Page>(PageContext{doc, seams.seams, {}}, nullptr);
    page->resize(1000, 560);
    page->show();
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
    doc.makeNew();
    user = std::make_unique<GridUser>(page->grid());
  }
  void loadLanguage(const TranslationPairs& pairs) {
    writeLanguageFile(dir.file("t.lng"), pairs);
    LoadTranslations(dir.file("t.lng"));
    make();
  }

  Grid& grid() { return page->grid(); }
  QString text(int row, int col) { return grid().text(row, col); }
  QColor colour(int row, int col) { return grid().background(row, col); }

  // The image bytes at an image offset, as hex.
  std::string bytes(std::size_t offset, std::size_t size) {
    const auto s = doc.image().slice(offset, size);
    return hexOf({s.begin(), s.end()});
  }
  void put(std::size_t offset, std::string_view hexBytes) {
    const auto b = hex(hexBytes);
    std::copy(b.begin(), b.end(), doc.image().slice(offset, b.size()).begin());
  }
  std::vector<std::string> messages() const { return seams.prompter.texts(); }

  C4410Doc doc;
  PageSeams seams;
  TempDir dir;
  std::unique_ptr<Page> page;
  std::unique_ptr<GridUser> user;
};

}  // namespace wk::test
