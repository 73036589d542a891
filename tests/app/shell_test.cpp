// Start-up, the two menus, the toolbar, the status bar and the accelerators.
#include <sys/stat.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>

#include "app/command_ids.h"
#include "seams/qt/qt_settings.h"
#include "editors/c4410_view.h"
#include "firmware/ui/dlg_empty.h"
#include "firmware/ui/dlg_prop_flasher.h"
#include "language/ui/translate_menu.h"
#include "support/lng_file.h"

#include "app_fixture.h"

namespace wk::test {
namespace {

const QStringList kDocumentMenuTitles = {"&File", "&Edit", "&View", "&Settings", "&GZ4410", "&Window", "&Help"};
const QStringList kMainMenuTitles = {"&File", "&View", "&GZ4410", "&Settings", "&Help"};

TEST_F(AppTest, FirstStartWithoutSettingsOpensSmslist1) {
  QSettings("Velmora", "4410").clear();
  QtSettings store;
  ASSERT_TRUE(start(store));
  EXPECT_EQ(store.port(), "Com1");
  EXPECT_EQ(store.languageFile(), "no file");
  EXPECT_EQ(store.savePortsOutput(), 0);
  EXPECT_EQ(titles(), QStringList{"smslist1"});
  EXPECT_FALSE(windows()[0]->document().isModified());
  EXPECT_TRUE(frame().isVisible());
  EXPECT_TRUE(windows()[0]->isMaximized());
  EXPECT_TRUE(titleNames("smslist1"));
  EXPECT_EQ(frame().currentMenu(), cmd::kDocumentMenu);
  EXPECT_TRUE(frame().acceptDrops());
  // Start-up reads the settings and writes none of them.
  EXPECT_FALSE(QSettings("Velmora", "4410").contains("Settings/Port"));
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AppTest, DocumentMenuHasItsItemsIdsAndSeparators) {
  ASSERT_TRUE(start());
  QMenuBar* bar = frame().menuBar();
  EXPECT_EQ(menuTitles(bar), kDocumentMenuTitles);
  EXPECT_EQ(describe(popup(bar, 0)->actions()),
            (QStringList{"&New\tCtrl+N #E100", "&Open...\tCtrl+O #E101", "&Close #E102", "&Save\tCtrl+S #E103",
                         "Save &As... #E104", "-", "&Print...\tCtrl+P #E107", "Print Pre&view #E109",
                         "P&rint Setup... #E106", "-", "Recent File #E110", "-", "E&xit #E141"}));
  EXPECT_EQ(describe(popup(bar, 1)->actions()),
            (QStringList{"&Undo\tCtrl+Z #E12B", "-", "Cu&t\tCtrl+X #E123", "&Copy\tCtrl+C #E122",
                         "&Paste\tCtrl+V #E125"}));
  EXPECT_EQ(describe(popup(bar, 2)->actions()), (QStringList{"&Toolbar #E800", "&Status Bar #E801"}));
  EXPECT_EQ(describe(popup(bar, 3)->actions()), (QStringList{"Language Setup #8019", "&Options #801B"}));
  EXPECT_EQ(describe(popup(bar, 4)->actions()),
            (QStringList{"Connection Setup #8006", "-", "Read All Data #8007", "Write All Data #800B",
                         "Write Changed Data #800C", "-", "Health Status #801C", "Update FW #8015"}));
  EXPECT_EQ(describe(popup(bar, 5)->actions()), (QStringList{"&Cascade #E132", "&Tile #E133", "&Arrange Icons #E131"}));
  EXPECT_EQ(describe(popup(bar, 6)->actions()), (QStringList{"&About 4410... #E140"}));
}

TEST_F(AppTest, WithoutADocumentTheMainMenuIsShown) {
  ASSERT_TRUE(start());
  windows()[0]->close();
  ASSERT_TRUE(waitForWindowCount(0));
  ASSERT_TRUE(QTest::qWaitFor([&] { return frame().currentMenu() == cmd::kMainMenu; }, 5000));
  QMenuBar* bar = frame().menuBar();
  EXPECT_EQ(menuTitles(bar), kMainMenuTitles);
  EXPECT_EQ(describe(popup(bar, 0)->actions()),
            (QStringList{"&New\tCtrl+N #E100", "&Open...\tCtrl+O #E101", "-", "P&rint Setup... #E106", "-",
                         "Recent File #E110", "-", "E&xit #E141"}));
  EXPECT_EQ(describe(popup(bar, 1)->actions()), (QStringList{"&Toolbar #E800", "&Status Bar #E801"}));
  EXPECT_EQ(describe(popup(bar, 2)->actions()), (QStringList{"Connection Setup #8006", "Update FW #8015"}));
  EXPECT_EQ(describe(popup(bar, 3)->actions()), (QStringList{"Language Setup #8019", "&Options #801B"}));
  EXPECT_EQ(describe(popup(bar, 4)->actions()), (QStringList{"&About 4410... #E140"}));
  EXPECT_EQ(frame().windowTitle(), "Watchkeep Configurator");

  // A new document brings the document menu back.
  frame().onCommand(cmd::FileNew);
  EXPECT_EQ(titles(), QStringList{"smslist2"});
  EXPECT_EQ(menuTitles(bar), kDocumentMenuTitles);
}

TEST_F(AppTest, ToolbarButtonsInOrderWithTooltipsAndPrompts) {
  ASSERT_TRUE(start());
  QToolBar* bar = frame().toolBar();
  EXPECT_EQ(bar->iconSize(), QSize(16, 15));
  EXPECT_TRUE(bar->isMovable());
  QStringList ids;
  for (QAction* action : bar->actions())
    ids << (action->isSeparator() ? QStringLiteral("-") : QString::number(action->data().toInt(), 16).toUpper());
  EXPECT_EQ(ids, (QStringList{"E100", "E101", "E103", "-", "E123", "E122", "E125", "-", "8006", "8007", "800B", "-",
                              "E107", "E140", "-", "801B", "801C"}));
  auto button = [&](int id) {
    for (QAction* action : bar->actions())
      if (action->data().toInt() == id) return action;
    return static_cast<QAction*>(nullptr);
  };
  EXPECT_EQ(button(cmd::ConnectionSetup)->toolTip(), "Serial Port Select");
  EXPECT_EQ(button(cmd::ConnectionSetup)->statusTip(), "Serial Port Setup");
  EXPECT_EQ(button(cmd::ReadAllData)->toolTip(), "Read All Data Memory");
  EXPECT_EQ(button(cmd::WriteAllData)->statusTip(), "Write All Data Memory");
  EXPECT_EQ(button(cmd::FileNew)->toolTip(), "New");
  EXPECT_EQ(button(cmd::FileNew)->statusTip(), "Create a new document");
  // Without a prompt of its own the button is named by its menu text.
  EXPECT_EQ(button(cmd::HealthStatus)->statusTip(), "");
  EXPECT_EQ(button(cmd::HealthStatus)->toolTip(), "Health Status");
  for (QAction* action : bar->actions()) {
    if (action->isSeparator()) continue;
    EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
  }
}

TEST_F(AppTest, DocumentCommandsAreDisabledWithoutADocument) {
  ASSERT_TRUE(start());
  EXPECT_TRUE(frame().isCommandEnabled(cmd::ReadAllData));
  EXPECT_TRUE(frame().isCommandEnabled(cmd::FileSave));
  windows()[0]->close();
  ASSERT_TRUE(waitForWindowCount(0));
  for (int id : {cmd::FileSave, cmd::FileClose, cmd::FilePrint, cmd::ReadAllData, cmd::WriteAllData,
                 cmd::WriteChangedData, cmd::HealthStatus, cmd::EditCut})
    EXPECT_FALSE(frame().isCommandEnabled(id)) << id;
  for (int id : {cmd::FileNew, cmd::FileOpen, cmd::ConnectionSetup, cmd::UpdateFirmware, cmd::LanguageSetup,
                 cmd::Options, cmd::AppAbout, cmd::FilePrintSetup})
    EXPECT_TRUE(frame().isCommandEnabled(id)) << id;
  ASSERT_TRUE(QTest::qWaitFor([&] {
    for (QAction* action : frame().toolBar()->actions())
      if (action->data().toInt() == cmd::FileSave) return !action->isEnabled();
    return false;
  }, 5000));
}

TEST_F(AppTest, StatusBarHasMessagePaneThenLockIndicators) {
  ASSERT_TRUE(start());
  QStatusBar* bar = frame().statusBar();
  auto* message = bar->findChild<QLabel*>("messagePane");
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->text(), "Ready");
  QList<QLabel*> panes;
  for (const char* name : {"messagePane", "CAP", "NUM", "SCRL"}) panes << bar->findChild<QLabel*>(name);
  for (QLabel* pane : panes) ASSERT_NE(pane, nullptr);
  // Left to right: the message pane, then CAP, NUM and SCRL.
  EXPECT_LT(panes[0]->x(), panes[1]->x());
  EXPECT_LT(panes[1]->x(), panes[2]->x());
  EXPECT_LT(panes[2]->x(), panes[3]->x());
  EXPECT_EQ(panes[1]->property("commandId").toInt(), 0xE701);
  EXPECT_EQ(panes[3]->property("commandId").toInt(), 0xE703);
}

TEST_F(AppTest, MenuItemsShowTheirPromptInTheStatusBar) {
  ASSERT_TRUE(start());
  QMenu* device = popup(frame().menuBar(), 4);
  device->actions()[2]->showStatusText(&frame());
  EXPECT_EQ(frame().statusBar()->currentMessage(), "Read All Data Memory");
  popup(frame().menuBar(), 0)->actions()[0]->showStatusText(&frame());
  EXPECT_EQ(frame().statusBar()->currentMessage(), "Create a new document");
}

TEST_F(AppTest, EditCommandsActOnTheFocusedTextField) {
  ASSERT_TRUE(start());
  frame().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
  auto* field = new QLineEdit(windows()[0]->view().page(0));
  field->setText("Com1");
  field->show();
  field->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }, 5000));
  field->selectAll();
  frame().onCommand(cmd::EditCut);
  EXPECT_EQ(field->text(), "");
  frame().onCommand(cmd::EditUndo);
  EXPECT_EQ(field->text(), "Com1");
  // Without a text field in focus the commands do nothing.
  field->clearFocus();
  frame().onCommand(cmd::EditPaste);
  EXPECT_EQ(field->text(), "Com1");
}

TEST_F(AppTest, AcceleratorsAreTheStandardKeys) {
  ASSERT_TRUE(start());
  QStringList keys;
  for (QAction* action : frame().actions())
    if (!action->shortcut().isEmpty())
      keys << action->shortcut().toString(QKeySequence::PortableText) + QStringLiteral(" #") +
                  QString::number(action->data().toInt(), 16).toUpper();
  EXPECT_EQ(keys, (QStringList{"Ctrl+N #E100", "Ctrl+O #E101", "Ctrl+S #E103", "Ctrl+P #E107", "Ctrl+Z #E12B",
                               "Ctrl+X #E123", "Ctrl+C #E122", "Ctrl+V #E125", "Alt+Backspace #E12B", "Shift+Del #E123",
                               "Ctrl+Ins #E122", "Shift+Ins #E125", "F6 #E150", "Shift+F6 #E151"}));
  // The menu items only show their keys; the accelerators run the command.
  for (QAction* action : popup(frame().menuBar(), 0)->actions()) EXPECT_TRUE(action->shortcut().isEmpty());

  frame().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
  QTest::keyClick(&frame(), Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(titles(), (QStringList{"smslist1", "smslist2"}));
  // F6 moves between the document windows.
  ASSERT_EQ(frame().activeChild(), windows()[1]);
  QTest::keyClick(&frame(), Qt::Key_F6);
  EXPECT_EQ(frame().activeChild(), windows()[0]);
}

TEST_F(AppTest, HealthStatusOpensTheSystemHealthDialog) {
  ASSERT_TRUE(start());
  QString title;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !title.isEmpty()) return;
    title = dialog->windowTitle();
    dialog->reject();
  });
  closer.start(5);
  frame().onCommand(cmd::HealthStatus);
  EXPECT_EQ(title, QStringLiteral("System Health"));
  EXPECT_TRUE(prompter.notes.empty());
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AppTest, UpdateFwOpensTheFirmwareDialogOverTheMainWindow) {
  settings.writeString(setting::kSection, setting::kFirmwareFile, "/srv/GZ4410.cod");
  ASSERT_TRUE(start());
  QString title, path;
  QWidget* parent = nullptr;
  whenModal<CDlgEmpty>([&](CDlgEmpty* dialog) {
    title = dialog->windowTitle();
    path = dialog->page()->pathField()->text();
    parent = dialog->parentWidget();
    dialog->cancelButton()->click();
  });
  frame().onCommand(cmd::UpdateFirmware);
  EXPECT_EQ(title, "Update FW");
  EXPECT_EQ(path, "/srv/GZ4410.cod");
  EXPECT_EQ(parent, &frame());
  EXPECT_TRUE(prompter.notes.empty());
}

TEST_F(AppTest, ToolbarAndStatusBarToggleFromTheViewMenu) {
  ASSERT_TRUE(start());
  frame().onCommand(cmd::ViewToolbar);
  EXPECT_TRUE(frame().toolBar()->isHidden());
  frame().onCommand(cmd::ViewStatusBar);
  EXPECT_TRUE(frame().statusBar()->isHidden());
  QMenu* view = popup(frame().menuBar(), 2);
  emit view->aboutToShow();
  EXPECT_FALSE(view->actions()[0]->isChecked());
  EXPECT_FALSE(view->actions()[1]->isChecked());
  frame().onCommand(cmd::ViewToolbar);
  emit view->aboutToShow();
  EXPECT_TRUE(view->actions()[0]->isChecked());
}

// Translation through a real language file.
class TranslatedAppTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
  }
};

TEST_F(TranslatedAppTest, LanguageFileTranslatesBothMenusToolbarAndTabs) {
  writeLanguageFile(dir.file("ru.lng"), {{"&File", "&Файл"},
                                         {"&New\tCtrl+N", "&Новый\tCtrl+N"},
                                         {"Read All Data", "Читать всё"},
                                         {"Write Changed Data", "Записать изменения"},
                                         {"Serial Port Select", "Выбор порта"},
                                         {"Main Channels", "Основные каналы"},
                                         {"Ready", "Готов"}});
  settings.writeString("Settings", "langfile", dir.file("ru.lng"));
  ASSERT_TRUE(start());
  QMenuBar* bar = frame().menuBar();
  EXPECT_EQ(menuTitles(bar)[0], "&Файл");
  EXPECT_EQ(popup(bar, 0)->actions()[0]->text(), "&Новый\tCtrl+N");
  EXPECT_EQ(popup(bar, 0)->actions()[0]->data().toInt(), cmd::FileNew);
  EXPECT_EQ(describe(popup(bar, 4)->actions())[2], "Читать всё #8007");
  EXPECT_EQ(describe(popup(bar, 4)->actions())[4], "Записать изменения #800C");
  EXPECT_EQ(menuTitles(bar)[1], "&Edit");  // not in the file: as stored
  QTabBar* tabs = windows()[0]->view().tabBar();
  EXPECT_EQ(tabs->tabText(0), "SMS Data");
  EXPECT_EQ(tabs->tabText(1), "Основные каналы");
  EXPECT_EQ(tabs->tabText(2), "User Events");
  EXPECT_EQ(frame().statusBar()->findChild<QLabel*>("messagePane")->text(), "Готов");
  for (QAction* action : frame().toolBar()->actions()) {
    if (action->data().toInt() != cmd::ConnectionSetup) continue;
    EXPECT_EQ(action->toolTip(), "Выбор порта");
  }

  // The menu shown without a document was translated when the frame was made.
  windows()[0]->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return frame().currentMenu() == cmd::kMainMenu; }, 5000));
  EXPECT_EQ(menuTitles(bar)[0], "&Файл");
  EXPECT_EQ(popup(bar, 0)->actions()[0]->text(), "&Новый\tCtrl+N");
}

TEST_F(TranslatedAppTest, OnlyTheExactTextNoFileMeansNoLanguageFile) {
  // Files named like the marker, in the folder that relative names start from.
  const QString home = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.path())));
  writeLanguageFile(dir.file("no file"), {{"&File", "&Datei"}});
  writeLanguageFile(dir.file("No File"), {{"&File", "&Fichier"}});

  settings.writeString("Settings", "langfile", "no file");
  ASSERT_TRUE(start());
  EXPECT_EQ(menuTitles(frame().menuBar())[0], "&File");
  TearDown();

  settings.writeString("Settings", "langfile", "No File");
  ASSERT_TRUE(start());
  EXPECT_EQ(menuTitles(frame().menuBar())[0], "&Fichier");
  QDir::setCurrent(home);
}

TEST_F(TranslatedAppTest, MissingLanguageFileRunsUntranslatedSilently) {
  settings.writeString("Settings", "langfile", dir.file("gone.lng"));
  ASSERT_TRUE(start());
  EXPECT_EQ(menuTitles(frame().menuBar())[0], "&File");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(TranslatedAppTest, AFifoAsTheLanguageFileNeitherBlocksTheStartNorTranslates) {
  ASSERT_EQ(::mkfifo(dir.file("fifo.lng").c_str(), 0644), 0);
  settings.writeString("Settings", "langfile", dir.file("fifo.lng"));
  ASSERT_TRUE(start());  // would wait for a writer forever if it opened the FIFO
  EXPECT_EQ(menuTitles(frame().menuBar())[0], "&File");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(AppTest, AFifoAsTheFileArgumentFailsTheStartAtOnce) {
  ASSERT_EQ(::mkfifo(dir.file("fifo.vld").c_str(), 0644), 0);
  EXPECT_FALSE(start({QString::fromStdString(dir.file("fifo.vld"))}));
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Failed to open document."});
}

TEST(TranslateMenu, TranslatesEveryItemAndSubmenuInPlaceKeepingIds) {
  TempDir dir;
  writeLanguageFile(dir.file("t.lng"), {{"Top", "Haut"}, {"Inner", "Dedans"}, {"Leaf", "Feuille"}});
  LoadTranslations(dir.file("t.lng"));
  QMenu top("Top");
  QAction* first = top.addAction("Leaf");
  first->setData(7);
  top.addSeparator();
  QMenu* inner = top.addMenu("Inner");
  inner->addAction("Leaf")->setData(8);
  inner->addAction("Other");
  TranslateMenu(&top);
  EXPECT_EQ(describe(top.actions()), (QStringList{"Feuille #7", "-", "Dedans #0"}));
  EXPECT_EQ(describe(inner->actions()), (QStringList{"Feuille #8", "Other #0"}));
  ClearTranslations();
}

}  // namespace
}  // namespace wk::test
