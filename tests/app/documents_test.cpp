// Documents in their windows: new, open, save, drop, close, exit, the
// recent-file list, and the refusal to close while a device operation runs.
#include <QDropEvent>
#include <QMdiArea>
#include <QMimeData>
#include <QUrl>

#include "app/command_ids.h"
#include "link/device_operation.h"
#include "app/recent_files.h"
#include "document/vld_file.h"
#include "app_fixture.h"

namespace wk::test {
namespace {

constexpr const char* kFilter = "4410 Files (*.vld)|*.vld|All Files (*.*)|*.*|";

// A version-105 file whose first SMS record's byte 0 is marker.
std::string writeVld(const TempDir& dir, const std::string& name, std::uint8_t marker) {
  std::vector<std::uint8_t> bytes(66512, 0);
  bytes[0] = 0x69;
  bytes[2] = marker;
  writeBytes(dir.file(name), bytes);
  return dir.file(name);
}

std::uint8_t firstByte(CChildFrame* child) { return child->document().doc().image().at(0); }

TEST_F(AppTest, NewDocumentsAreNumberedOnAndOn) {
  ASSERT_TRUE(start());
  frame().onCommand(cmd::FileNew);
  frame().onCommand(cmd::FileNew);
  EXPECT_EQ(titles(), (QStringList{"smslist1", "smslist2", "smslist3"}));
  windows()[2]->close();
  ASSERT_TRUE(waitForWindowCount(2));
  frame().onCommand(cmd::FileNew);
  EXPECT_EQ(titles(), (QStringList{"smslist1", "smslist2", "smslist4"}));
  // Each new document has the controller's defaults and is not modified.
  EXPECT_EQ(firstByte(windows()[2]), 0x00);
  EXPECT_EQ(windows()[2]->document().doc().image().at(4), 0x01);
  EXPECT_FALSE(windows()[2]->document().isModified());
}

TEST_F(AppTest, SaveAsksForAFileThenWritesTheVersion105Layout) {
  ASSERT_TRUE(start());
  const std::string path = dir.file("site.vld");
  prompter.chooseSave(path);
  frame().onCommand(cmd::FileSave);
  ASSERT_EQ(prompter.fileRequests.size(), 1u);
  EXPECT_EQ(prompter.fileRequests[0].filter, kFilter);
  EXPECT_EQ(prompter.fileRequests[0].defaultExtension, "vld");
  EXPECT_EQ(prompter.fileRequests[0].initialPath, "smslist1.vld");
  EXPECT_EQ(prompter.fileRequests[0].title, "Save As");
  const auto bytes = readBytes(path);
  ASSERT_EQ(bytes.size(), 66512u);
  EXPECT_EQ(bytes[0], 0x69);
  EXPECT_EQ(bytes[1], 0x00);
  EXPECT_EQ(titles(), QStringList{"site.vld"});
  EXPECT_TRUE(titleNames("site.vld"));
  EXPECT_EQ(settings.readString("Recent File List", "File1", ""), path);

  // Saved again: no question, the same file. (A byte of ReservedA: no page
  // stores over it.)
  windows()[0]->document().doc().image().at(61824) = 0x5A;
  windows()[0]->document().doc().setModified(true);
  frame().onCommand(cmd::FileSave);
  EXPECT_EQ(prompter.fileRequests.size(), 1u);
  EXPECT_EQ(readBytes(path)[2 + 61824], 0x5A);
  EXPECT_FALSE(windows()[0]->document().isModified());
}

TEST_F(AppTest, SaveAsCancelledWritesNothing) {
  ASSERT_TRUE(start());
  prompter.chooseSave(std::nullopt);
  frame().onCommand(cmd::FileSaveAs);
  EXPECT_EQ(titles(), QStringList{"smslist1"});
  EXPECT_EQ(settings.readString("Recent File List", "File1", ""), "");
}

TEST_F(AppTest, OpenShowsTheFileInANewWindowAndOnceOnly) {
  const std::string path = writeVld(dir, "a.vld", 0x11);
  ASSERT_TRUE(start());
  prompter.chooseOpen(path);
  frame().onCommand(cmd::FileOpen);
  ASSERT_EQ(prompter.fileRequests.size(), 1u);
  EXPECT_EQ(prompter.fileRequests[0].filter, kFilter);
  EXPECT_EQ(prompter.fileRequests[0].title, "Open");
  EXPECT_EQ(titles(), (QStringList{"smslist1", "a.vld"}));
  EXPECT_EQ(firstByte(windows()[1]), 0x11);
  EXPECT_EQ(frame().activeChild(), windows()[1]);
  EXPECT_FALSE(windows()[1]->document().isModified());

  // Opened again: the window that has it comes up, no second copy.
  frame().mdiArea()->setActiveSubWindow(windows()[0]);
  prompter.chooseOpen(dir.path() + "/./a.vld");
  frame().onCommand(cmd::FileOpen);
  EXPECT_EQ(titles(), (QStringList{"smslist1", "a.vld"}));
  EXPECT_EQ(frame().activeChild(), windows()[1]);
}

TEST_F(AppTest, AFileThatDoesNotOpenLeavesNoWindow) {
  writeBytes(dir.file("short.vld"), {0x69});
  ASSERT_TRUE(start());
  prompter.chooseOpen(dir.file("short.vld"));
  frame().onCommand(cmd::FileOpen);
  prompter.chooseOpen(dir.file("missing.vld"));
  frame().onCommand(cmd::FileOpen);
  EXPECT_EQ(titles(), QStringList{"smslist1"});
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Unexpected file format.", "Failed to open document."}));
  EXPECT_EQ(settings.readString("Recent File List", "File1", ""), "");
}

TEST_F(AppTest, AFileArgumentOpensInsteadOfANewDocument) {
  const std::string path = writeVld(dir, "arg.vld", 0x22);
  ASSERT_TRUE(start({QString::fromStdString(path)}));
  EXPECT_EQ(titles(), QStringList{"arg.vld"});
  EXPECT_EQ(firstByte(windows()[0]), 0x22);
  EXPECT_TRUE(titleNames("arg.vld"));
}

TEST_F(AppTest, AFileUrlFromTheDesktopOpensToo) {
  const std::string path = writeVld(dir, "url.vld", 0x23);
  ASSERT_TRUE(start({QUrl::fromLocalFile(QString::fromStdString(path)).toString()}));
  EXPECT_EQ(titles(), QStringList{"url.vld"});
}

TEST_F(AppTest, AFileArgumentThatDoesNotOpenFailsTheStart) {
  EXPECT_FALSE(start({QString::fromStdString(dir.file("missing.vld"))}));
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Failed to open document."});
  EXPECT_FALSE(frame().isVisible());
}

TEST_F(AppTest, AnOldVersionFileOpensAfterItsMessage) {
  std::vector<std::uint8_t> bytes(66512, 0);
  bytes[0] = 0x68;
  bytes[2] = 0x33;
  writeBytes(dir.file("old.vld"), bytes);
  ASSERT_TRUE(start({QString::fromStdString(dir.file("old.vld"))}));
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"The old version detected... File will be saved in new format"});
  EXPECT_EQ(firstByte(windows()[0]), 0x33);
  EXPECT_FALSE(windows()[0]->document().isModified());
}

TEST_F(AppTest, AFileOfAnUnknownVersionIsNeverSavedOver) {
  std::vector<std::uint8_t> newer(66512, 0x55);
  newer[0] = 0x6A;
  newer[1] = 0x00;
  writeBytes(dir.file("newer.vld"), newer);
  ASSERT_TRUE(start({QString::fromStdString(dir.file("newer.vld"))}));
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"The new version detected. Update Application"});
  // Titled after the file, but the file is not the document's.
  EXPECT_EQ(titles(), QStringList{"newer.vld"});
  EXPECT_TRUE(titleNames("newer.vld"));
  EXPECT_EQ(windows()[0]->document().pathName(), QString());

  // Save asks for a name, as for a new document; cancelled, nothing is written.
  prompter.chooseSave(std::nullopt);
  frame().onCommand(cmd::FileSave);
  ASSERT_EQ(prompter.fileRequests.size(), 1u);
  EXPECT_EQ(prompter.fileRequests[0].title, "Save As");
  EXPECT_EQ(prompter.fileRequests[0].initialPath, "newer.vld");
  EXPECT_EQ(readBytes(dir.file("newer.vld")), newer);

  // Given a name, the document becomes that file's.
  prompter.chooseSave(dir.file("mine.vld"));
  frame().onCommand(cmd::FileSave);
  EXPECT_EQ(readBytes(dir.file("mine.vld")).size(), 66512u);
  EXPECT_EQ(readBytes(dir.file("newer.vld")), newer);
  EXPECT_EQ(titles(), QStringList{"mine.vld"});
  EXPECT_EQ(windows()[0]->document().pathName(), QString::fromStdString(dir.file("mine.vld")));
}

TEST_F(AppTest, AnUnknownVersionDroppedOnTheWindowIsNeverSavedOverEither) {
  std::vector<std::uint8_t> older(66512, 0x55);
  older[0] = 0x67;
  older[1] = 0x00;
  writeBytes(dir.file("older.vld"), older);
  ASSERT_TRUE(start());
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("older.vld")))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&frame(), &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&frame(), &drop);
  ASSERT_TRUE(waitForWindowCount(2));
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"The old version detected. File format not supported"});
  EXPECT_EQ(windows()[1]->document().title(), "older.vld");
  windows()[1]->document().doc().setModified(true);
  prompter.chooseSave(std::nullopt);
  EXPECT_FALSE(windows()[1]->document().save());
  EXPECT_EQ(prompter.fileRequests.size(), 1u);
  EXPECT_EQ(readBytes(dir.file("older.vld")), older);
}

TEST_F(AppTest, AVersion104FileSavesInPlace) {
  std::vector<std::uint8_t> old(66512, 0);
  old[0] = 0x68;
  old[2] = 0x33;
  writeBytes(dir.file("old.vld"), old);
  ASSERT_TRUE(start({QString::fromStdString(dir.file("old.vld"))}));
  frame().onCommand(cmd::FileSave);
  EXPECT_TRUE(prompter.fileRequests.empty());
  const auto saved = readBytes(dir.file("old.vld"));
  ASSERT_EQ(saved.size(), 66512u);
  EXPECT_EQ(saved[0], 0x69);
  EXPECT_EQ(saved[2], 0x33);
}

TEST_F(AppTest, FilesDroppedOnTheMainWindowOpenInNewWindows) {
  const std::string a = writeVld(dir, "drop-a.vld", 0x44);
  const std::string b = writeVld(dir, "drop-b.vld", 0x45);
  ASSERT_TRUE(start());
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(a)), QUrl::fromLocalFile(QString::fromStdString(b))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&frame(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&frame(), &drop);
  ASSERT_TRUE(waitForWindowCount(3));
  EXPECT_EQ(titles(), (QStringList{"smslist1", "drop-a.vld", "drop-b.vld"}));
  EXPECT_EQ(firstByte(windows()[2]), 0x45);

  // Text that is no file is not taken.
  QMimeData text;
  text.setText("hello");
  QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&frame(), &refused);
  EXPECT_FALSE(refused.isAccepted());
}

TEST_F(AppTest, ClosingAModifiedDocumentAsksToSave) {
  ASSERT_TRUE(start());
  frame().onCommand(cmd::FileNew);
  for (CChildFrame* child : windows()) child->document().doc().setModified(true);
  EXPECT_TRUE(titleNames("smslist2*"));
  EXPECT_TRUE(frame().isWindowModified());

  prompter.answer(Answer::Cancel);
  frame().onCommand(cmd::FileClose);
  EXPECT_EQ(windows().size(), 2u);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0], (RecordedMessage{"Save changes to smslist2?", MessageIcon::Warning,
                                                   MessageButtons::YesNoCancel}));

  prompter.answer(Answer::No);
  frame().onCommand(cmd::FileClose);
  ASSERT_TRUE(waitForWindowCount(1));
  EXPECT_FALSE(fileExists(dir.file("smslist2.vld")));

  // Yes saves first; a cancelled file dialog keeps the window.
  prompter.answer(Answer::Yes);
  prompter.chooseSave(std::nullopt);
  frame().onCommand(cmd::FileClose);
  EXPECT_EQ(titles(), QStringList{"smslist1"});
  prompter.answer(Answer::Yes);
  prompter.chooseSave(dir.file("kept.vld"));
  frame().onCommand(cmd::FileClose);
  ASSERT_TRUE(waitForWindowCount(0));
  EXPECT_EQ(readBytes(dir.file("kept.vld")).size(), 66512u);
}

TEST_F(AppTest, ExitAsksEveryModifiedDocumentOnceAndStopsAtCancel) {
  ASSERT_TRUE(start());
  frame().onCommand(cmd::FileNew);
  frame().onCommand(cmd::FileNew);
  windows()[0]->document().doc().setModified(true);
  windows()[2]->document().doc().setModified(true);

  prompter.answer(Answer::No);
  prompter.answer(Answer::Cancel);
  frame().onCommand(cmd::AppExit);
  EXPECT_TRUE(frame().isVisible());
  EXPECT_EQ(windows().size(), 3u);
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Save changes to smslist1?", "Save changes to smslist3?"}));

  prompter.messages.clear();
  prompter.answer(Answer::No);
  prompter.answer(Answer::No);
  frame().onCommand(cmd::AppExit);
  EXPECT_FALSE(frame().isVisible());
  ASSERT_TRUE(waitForWindowCount(0));
  EXPECT_EQ(prompter.texts().size(), 2u);
}

TEST_F(AppTest, NothingClosesWhileADeviceOperationRuns) {
  ASSERT_TRUE(start());
  windows()[0]->document().doc().setModified(true);
  {
    link::DeviceOperation transfer;
    frame().onCommand(cmd::FileClose);
    windows()[0]->close();
    frame().close();
    EXPECT_TRUE(frame().isVisible());
    EXPECT_EQ(windows().size(), 1u);
    EXPECT_TRUE(prompter.messages.empty());  // no modal box in the middle of a transfer
    EXPECT_EQ(prompter.notes, std::vector<std::string>(3, "Wait until the device operation ends"));
  }
  prompter.answer(Answer::No);
  frame().onCommand(cmd::FileClose);
  EXPECT_TRUE(waitForWindowCount(0));
}

TEST_F(AppTest, CommandsActOnTheActiveDocument) {
  ASSERT_TRUE(start());
  frame().onCommand(cmd::FileNew);
  frame().mdiArea()->setActiveSubWindow(windows()[0]);
  EXPECT_TRUE(titleNames("smslist1"));
  prompter.chooseSave(dir.file("first.vld"));
  frame().onCommand(cmd::FileSave);
  EXPECT_EQ(titles(), (QStringList{"first.vld", "smslist2"}));
  // Windows that are not maximised leave the title to the frame.
  EXPECT_TRUE(frame().activeChild()->isMaximized());  // like the window before it
  frame().onCommand(cmd::WindowCascade);
  EXPECT_FALSE(frame().activeChild()->isMaximized());
  EXPECT_EQ(shownTitle(), "Watchkeep Configurator - first.vld");
  windows()[0]->document().doc().setModified(true);
  EXPECT_EQ(shownTitle(), "Watchkeep Configurator - first.vld*");
}

TEST_F(AppTest, WindowMenuListsTheDocumentWindows) {
  ASSERT_TRUE(start());
  frame().onCommand(cmd::FileNew);
  QMenu* window = popup(frame().menuBar(), 5);
  emit window->aboutToShow();
  const QList<QAction*> items = window->actions();
  ASSERT_EQ(items.size(), 6);
  EXPECT_TRUE(items[3]->isSeparator());
  EXPECT_EQ(items[4]->text(), "&1 smslist1");
  EXPECT_EQ(items[5]->text(), "&2 smslist2");
  EXPECT_FALSE(items[4]->isChecked());
  EXPECT_TRUE(items[5]->isChecked());
  items[4]->trigger();
  EXPECT_EQ(frame().activeChild(), windows()[0]);
  // Shown again, the list is made anew.
  emit window->aboutToShow();
  EXPECT_EQ(window->actions().size(), 6);
  EXPECT_TRUE(window->actions()[4]->isChecked());
}

TEST_F(AppTest, ArrangeIconsPutsMinimisedWindowsAlongTheBottom) {
  ASSERT_TRUE(start());
  frame().onCommand(cmd::FileNew);
  frame().onCommand(cmd::WindowCascade);
  for (CChildFrame* child : windows()) child->showMinimized();
  windows()[0]->move(300, 40);
  frame().onCommand(cmd::WindowArrange);
  const int bottom = frame().mdiArea()->viewport()->height();
  EXPECT_EQ(windows()[0]->geometry().bottom() + 1, bottom);
  EXPECT_EQ(windows()[0]->x(), 0);
  EXPECT_EQ(windows()[1]->x(), windows()[0]->width());
}

TEST_F(AppTest, RecentFilesAppearInTheFileMenuAndOpen) {
  const std::string a = writeVld(dir, "r1.vld", 0x51);
  const std::string b = writeVld(dir, "r2.vld", 0x52);
  ASSERT_TRUE(start());
  QMenu* file = popup(frame().menuBar(), 0);
  emit file->aboutToShow();
  EXPECT_TRUE(describe(file->actions()).contains("Recent File #E110"));

  app->OpenDocumentFile(QString::fromStdString(a));
  app->OpenDocumentFile(QString::fromStdString(b));
  emit file->aboutToShow();
  const QStringList items = describe(file->actions());
  const qsizetype at = items.indexOf(QString("&1 %1 #E110").arg(QString::fromStdString(b)));
  ASSERT_GE(at, 0) << items.join('\n').toStdString();
  EXPECT_EQ(items[at + 1], QString("&2 %1 #E111").arg(QString::fromStdString(a)));
  EXPECT_EQ(items[at + 2], "-");
  EXPECT_FALSE(items.contains("Recent File #E110"));

  // An entry opens its file.
  windows()[1]->close();
  ASSERT_TRUE(waitForWindowCount(2));
  frame().onCommand(cmd::FileMruFirst + 1);
  EXPECT_EQ(titles(), (QStringList{"smslist1", "r2.vld", "r1.vld"}));

  // The list is read from the store each time; an entry whose file is gone
  // is dropped after the failure message.
  settings.writeString("Recent File List", "File1", dir.file("gone.vld"));
  emit file->aboutToShow();
  EXPECT_TRUE(describe(file->actions()).contains(QString("&1 %1 #E110").arg(QString::fromStdString(dir.file("gone.vld")))));
  frame().onCommand(cmd::FileMruFirst);
  EXPECT_EQ(prompter.texts().back(), "Failed to open document.");
  EXPECT_EQ(RecentFileList(settings).entries(), (std::vector<std::string>{b}));
}

TEST(RecentFileList, KeepsFourMostRecentFirstWithoutRepeats) {
  MemorySettings store;
  RecentFileList list(store);
  EXPECT_TRUE(list.entries().empty());
  for (const char* path : {"/a", "/b", "/c", "/d", "/e"}) list.add(path);
  EXPECT_EQ(list.entries(), (std::vector<std::string>{"/e", "/d", "/c", "/b"}));
  list.add("/c");
  EXPECT_EQ(list.entries(), (std::vector<std::string>{"/c", "/e", "/d", "/b"}));
  EXPECT_EQ(store.readString("Recent File List", "File1", ""), "/c");
  EXPECT_EQ(store.readString("Recent File List", "File4", ""), "/b");
  list.remove("/e");
  EXPECT_EQ(list.entries(), (std::vector<std::string>{"/c", "/d", "/b"}));
  EXPECT_EQ(store.readString("Recent File List", "File4", "vacant"), "");
  // Entries written by hand: gaps and repeats are passed over.
  store.writeString("Recent File List", "File1", "");
  store.writeString("Recent File List", "File2", "/x");
  store.writeString("Recent File List", "File3", "/x");
  EXPECT_EQ(list.entries(), (std::vector<std::string>{"/x"}));
}

}  // namespace
}  // namespace wk::test
