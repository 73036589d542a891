#include "app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/c4410_app.h"
#include "app/child_frame.h"
#include "app/command_ids.h"
#include "app/commands.h"
#include "app/device_activity.h"
#include "app/lock_keys.h"
#include "app/qt_document.h"
#include "app/recent_files.h"
#include "app/toolbar_icons.h"
#include "editors/c4410_view.h"
#include "language/ui/translate_menu.h"

namespace wk {
namespace {

constexpr const char* kTitle = "Watchkeep Configurator";
constexpr int kFirstWindowEntry = 0xFF00;  // ids of the Window menu's document list
constexpr int kRecentPathWidth = 60;       // characters of a recent file's path shown

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int commandOf(const QAction* action) { return action->data().toInt(); }

bool needsDocument(int id) {
  switch (id) {
    case cmd::FileClose: case cmd::FileSave: case cmd::FileSaveAs: case cmd::FilePrint:
    case cmd::FilePrintPreview: case cmd::ReadAllData: case cmd::WriteAllData: case cmd::WriteChangedData:
    case cmd::HealthStatus:
    case cmd::EditUndo: case cmd::EditCut: case cmd::EditCopy: case cmd::EditPaste:
    case cmd::WindowCascade: case cmd::WindowTile: case cmd::WindowArrange:
    case cmd::NextPane: case cmd::PrevPane:
      return true;
    default:
      return false;
  }
}

// The Edit commands go to the focused text field, where it has the slot.
void forwardEdit(int id) {
  const char* slot = id == cmd::EditUndo ? "undo" : id == cmd::EditCut ? "cut" : id == cmd::EditCopy ? "copy" : "paste";
  QWidget* focus = QApplication::focusWidget();
  if (focus && focus->metaObject()->indexOfSlot(QByteArray(slot).append("()").constData()) >= 0)
    QMetaObject::invokeMethod(focus, slot);
}

// "&1 /home/user/site.vld", the middle of a long path left out.
QString recentEntryText(int index, const QString& path) {
  QString shown = QDir::toNativeSeparators(path);
  if (shown.size() > kRecentPathWidth)
    shown = shown.left(kRecentPathWidth / 3) + QStringLiteral("...") + shown.right(kRecentPathWidth * 2 / 3 - 3);
  shown.replace(u'&', QStringLiteral("&&"));
  return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

}  // namespace

CMainFrame::CMainFrame(C4410App& app) : app_(app), mdiArea_(new QMdiArea(this)) {
  setObjectName(QStringLiteral("mainFrame"));
  setWindowTitle(QString::fromLatin1(kTitle));
  setCentralWidget(mdiArea_);
  setAcceptDrops(true);
  buildMenuSet(cmd::kMainMenu, mainMenu_);
  buildMenuSet(cmd::kDocumentMenu, documentMenu_);
  buildToolBar();
  buildStatusBar();
  buildAccelerators();
  showMenu(cmd::kMainMenu);
  TranslateMenu(menuBar());
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] {
    updateTitle();
    updateCommandUi();
  });
  updateCommandUi();
}

// The document windows go first, while this frame is whole, and without
// updating a title or commands that are going too.
CMainFrame::~CMainFrame() {
  disconnect(toolBar_, nullptr, this, nullptr);
  disconnect(mdiArea_, nullptr, this, nullptr);
  tearingDown_ = true;
  delete mdiArea_;
}

QAction* CMainFrame::makeAction(int id, QObject* owner) {
  auto* action = new QAction(owner);
  action->setData(id);
  if (const CommandText* text = commandText(id)) {
    action->setText(fromView(text->menuText));
    const std::string_view status = promptStatus(text->prompt);
    if (!status.empty()) action->setStatusTip(qtr(status));
  }
  if (id == cmd::ViewToolbar || id == cmd::ViewStatusBar) {
    action->setCheckable(true);
    action->setChecked(true);
  }
  connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
  commandActions_.push_back(action);
  return action;
}

void CMainFrame::buildMenuSet(int resource, MenuSet& set) {
  for (const MenuLayout& layout : menuLayout(resource)) {
    auto* menu = new QMenu(fromView(layout.title), this);
    for (int id : layout.items) {
      if (id == cmd::Separator) {
        menu->addSeparator();
      } else if (id == cmd::FileMruFirst) {
        set.file = menu;
        set.recentPlaceholder = makeAction(id, menu);
        set.recentPlaceholder->setEnabled(false);
        menu->addAction(set.recentPlaceholder);
      } else {
        menu->addAction(makeAction(id, menu));
      }
    }
    if (layout.title == "&Window") set.window = menu;
    connect(menu, &QMenu::aboutToShow, this, [this, menu, &set] {
      if (menu == set.file) updateRecentFiles(set);
      if (menu == set.window) updateWindowList(set);
      updateCommandUi();
    });
    set.menus.push_back(menu);
  }
}

void CMainFrame::buildToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setWindowTitle(qtr("Standard"));
  toolBar_->setIconSize(QSize(16, 15));
  toolBar_->setMovable(true);
  toolBar_->setFloatable(true);
  for (int id : toolbarLayout()) {
    if (id == cmd::Separator) {
      toolBar_->addSeparator();
      continue;
    }
    QAction* action = makeAction(id, toolBar_);
    action->setText(qtr(action->text()));
    action->setIcon(toolbarIcon(id));
    const std::string_view tip = promptTooltip(commandText(id)->prompt);
    if (!tip.empty()) action->setToolTip(qtr(tip));
    toolBar_->addAction(action);
  }
  addToolBar(Qt::TopToolBarArea, toolBar_);
  connect(toolBar_, &QToolBar::visibilityChanged, this, &CMainFrame::updateCommandUi);
}

void CMainFrame::buildStatusBar() {
  messagePane_ = new QLabel(qtr(kIdleMessage), this);
  messagePane_->setObjectName(QStringLiteral("messagePane"));
  statusBar()->addWidget(messagePane_, 1);
  const char* names[] = {"CAP", "NUM", "SCRL"};
  const int ids[] = {cmd::IndicatorCaps, cmd::IndicatorNum, cmd::IndicatorScroll};
  for (int i = 0; i < 3; ++i) {
    auto* pane = new QLabel(this);
    pane->setObjectName(QString::fromLatin1(names[i]));
    pane->setProperty("commandId", ids[i]);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setAlignment(Qt::AlignCenter);
    // Wide enough for the text, shown only while the key is locked.
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(qtr(names[i])) + 12);
    statusBar()->addPermanentWidget(pane);
    indicators_[i] = pane;
  }
  if (readLockKeys()) {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &CMainFrame::updateIndicators);
    timer->start(250);
    updateIndicators();
  }
}

void CMainFrame::updateIndicators() {
  const auto keys = readLockKeys();
  if (!keys) return;
  const bool on[] = {keys->caps, keys->num, keys->scroll};
  for (int i = 0; i < 3; ++i) indicators_[i]->setText(on[i] ? qtr(indicators_[i]->objectName()) : QString());
}

void CMainFrame::buildAccelerators() {
  for (const Accelerator& accelerator : accelerators()) {
    QAction* action = makeAction(accelerator.id, this);
    action->setShortcut(QKeySequence(fromView(accelerator.key), QKeySequence::PortableText));
    addAction(action);
  }
}

void CMainFrame::showMenu(int resource) {
  if (resource == currentMenu_) return;
  currentMenu_ = resource;
  menuBar()->clear();
  for (QMenu* menu : (resource == cmd::kDocumentMenu ? documentMenu_ : mainMenu_).menus) menuBar()->addMenu(menu);
}

void CMainFrame::updateRecentFiles(MenuSet& set) {
  for (QAction* entry : set.recentEntries) {
    std::erase(commandActions_, entry);
    delete entry;
  }
  set.recentEntries.clear();
  const std::vector<std::string> files = app_.recentFiles().entries();
  set.recentPlaceholder->setVisible(files.empty());
  const QList<QAction*> items = set.file->actions();
  const qsizetype at = items.indexOf(set.recentPlaceholder);
  QAction* before = at + 1 < items.size() ? items[at + 1] : nullptr;
  for (std::size_t i = 0; i < files.size(); ++i) {
    QAction* entry = makeAction(cmd::FileMruFirst + static_cast<int>(i), set.file);
    entry->setText(recentEntryText(static_cast<int>(i), QString::fromStdString(files[i])));
    set.file->insertAction(before, entry);
    set.recentEntries.push_back(entry);
  }
}

void CMainFrame::updateWindowList(MenuSet& set) {
  for (QAction* entry : set.windowEntries) delete entry;
  set.windowEntries.clear();
  const std::vector<CChildFrame*> windows = children();
  if (windows.empty()) return;
  set.windowEntries.push_back(set.window->addSeparator());
  CChildFrame* active = activeChild();
  for (std::size_t i = 0; i < windows.size(); ++i) {
    CChildFrame* child = windows[i];
    QAction* entry = set.window->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(child->document().title()));
    entry->setData(kFirstWindowEntry + static_cast<int>(i));
    entry->setCheckable(true);
    entry->setChecked(child == active);
    connect(entry, &QAction::triggered, this, [this, child] {
      if (mdiArea_->subWindowList().contains(child)) mdiArea_->setActiveSubWindow(child);
    });
    set.windowEntries.push_back(entry);
  }
}

CChildFrame* CMainFrame::activeChild() const { return qobject_cast<CChildFrame*>(mdiArea_->currentSubWindow()); }

std::vector<CChildFrame*> CMainFrame::children() const {
  std::vector<CChildFrame*> list;
  for (QMdiSubWindow* sub : mdiArea_->subWindowList())
    if (auto* child = qobject_cast<CChildFrame*>(sub)) list.push_back(child);
  return list;
}

void CMainFrame::addChild(CChildFrame* child) {
  // Maximised like the window before it, the first one too. The area can
  // maximise a window only once it is on screen itself.
  const CChildFrame* previous = activeChild();
  const bool maximized = previous ? previous->isMaximized() || previous == maximizeWhenShown_ : true;
  mdiArea_->addSubWindow(child);
  connect(&child->document(), &QtDocument::titleChanged, this, &CMainFrame::updateTitle);
  connect(&child->document(), &QtDocument::modifiedChanged, this, &CMainFrame::updateTitle);
  connect(child, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::updateTitle);
  // The area forgets the window only once it is gone: look again afterwards.
  connect(child, &QObject::destroyed, this, [this] {
    QTimer::singleShot(0, this, [this] {
      updateTitle();
      updateCommandUi();
    });
  });
  child->show();
  if (maximized && isVisible()) child->showMaximized();
  else if (maximized) maximizeWhenShown_ = child;
  mdiArea_->setActiveSubWindow(child);
  updateTitle();
  updateCommandUi();
}

bool CMainFrame::isCommandEnabled(int id) const { return !needsDocument(id) || activeChild() != nullptr; }

void CMainFrame::onCommand(int id) {
  if (!isCommandEnabled(id)) return;
  CChildFrame* child = activeChild();
  switch (id) {
    case cmd::FileNew: app_.OnFileNew(); break;
    case cmd::FileOpen: app_.OnFileOpen(); break;
    case cmd::FileClose: child->close(); break;
    case cmd::FileSave: child->document().save(); break;
    case cmd::FileSaveAs: child->document().saveAs(); break;
    case cmd::FilePrint: child->view().OnFilePrint(app_.printer()); break;
    case cmd::FilePrintPreview: child->view().OnFilePrintPreview(app_.printer()); break;
    case cmd::FilePrintSetup: app_.OnFilePrintSetup(); break;
    case cmd::AppExit: close(); break;
    case cmd::AppAbout: app_.OnAppAbout(); break;
    case cmd::EditUndo: case cmd::EditCut: case cmd::EditCopy: case cmd::EditPaste: forwardEdit(id); break;
    case cmd::ViewToolbar: toolBar_->setVisible(!toolBar_->isVisible()); break;
    case cmd::ViewStatusBar: statusBar()->setVisible(!statusBar()->isVisible()); break;
    case cmd::WindowCascade: mdiArea_->cascadeSubWindows(); break;
    case cmd::WindowTile: mdiArea_->tileSubWindows(); break;
    case cmd::WindowArrange: arrangeIcons(); break;
    case cmd::NextPane: mdiArea_->activateNextSubWindow(); break;
    case cmd::PrevPane: mdiArea_->activatePreviousSubWindow(); break;
    case cmd::ConnectionSetup: app_.OnConnectionSetup(); break;
    case cmd::UpdateFirmware: app_.OnUpdateFW(); break;
    case cmd::LanguageSetup: app_.OnLanguageSetup(); break;
    case cmd::Options: app_.OnOptions(); break;
    case cmd::ReadAllData: child->view().OnReadAll(); break;
    case cmd::WriteAllData: child->view().OnWriteAll(); break;
    case cmd::WriteChangedData: child->view().OnWriteChanged(); break;
    case cmd::HealthStatus: child->view().OnHealthStatus(); break;
    default:
      if (id >= cmd::FileMruFirst && id < cmd::FileMruFirst + cmd::kMruEntries) app_.OnOpenRecentFile(id - cmd::FileMruFirst);
      break;
  }
  updateCommandUi();
}

void CMainFrame::updateCommandUi() {
  if (tearingDown_) return;
  const bool documentOpen = !children().empty();
  showMenu(documentOpen ? cmd::kDocumentMenu : cmd::kMainMenu);
  for (QAction* action : commandActions_) {
    const int id = commandOf(action);
    if (action == mainMenu_.recentPlaceholder || action == documentMenu_.recentPlaceholder) continue;
    action->setEnabled(isCommandEnabled(id));
    if (id == cmd::ViewToolbar) action->setChecked(toolBar_ && !toolBar_->isHidden());
    if (id == cmd::ViewStatusBar) action->setChecked(!statusBar()->isHidden());
  }
}

// "Watchkeep Configurator - smslist1", marked while the document is modified;
// "Watchkeep Configurator - [smslist1]" while its window is maximised with its
// buttons in the menu bar, the form the MDI area itself then gives the title
// (and leaves alone once it is there).
QString CMainFrame::composedTitle() const {
  const CChildFrame* child = activeChild();
  if (!child) return QString::fromLatin1(kTitle);
  const QString document = child->windowTitle();  // "smslist1[*]"
  const bool merged = child->isMaximized() && child->maximizedButtonsWidget();
  return QString::fromLatin1(kTitle) + QStringLiteral(" - ") + (merged ? QStringLiteral("[%1]").arg(document) : document);
}

void CMainFrame::updateTitle() {
  if (tearingDown_) return;
  setWindowTitle(composedTitle());
  const CChildFrame* child = activeChild();
  setWindowModified(child && child->document().isModified());
}

// Minimised document windows in a row along the bottom of the area.
void CMainFrame::arrangeIcons() {
  int x = 0;
  for (QMdiSubWindow* sub : mdiArea_->subWindowList()) {
    if (!sub->isMinimized()) continue;
    const QSize size = sub->size();
    sub->move(x, mdiArea_->viewport()->height() - size.height());
    x += size.width();
  }
}

void CMainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (maximizeWhenShown_) maximizeWhenShown_->showMaximized();
  maximizeWhenShown_.clear();
  updateTitle();
}

bool CMainFrame::saveAllModified() {
  if (refuseCloseWhileDeviceBusy(app_.prompter())) return false;
  for (CChildFrame* child : children())
    if (!child->saveModified()) return false;
  return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!saveAllModified()) {
    event->ignore();
    return;
  }
  for (CChildFrame* child : children()) {
    child->setCloseApproved();
    child->close();
  }
  event->accept();
}

QStringList CMainFrame::droppedFiles(const QMimeData* mime) {
  QStringList files;
  if (!mime || !mime->hasUrls()) return files;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile()) files << url.toLocalFile();
  return files;
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!droppedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QStringList files = droppedFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  activateWindow();
  // Opened once the drop is over: the drag source is not kept waiting while
  // an open shows its messages.
  QTimer::singleShot(0, this, [this, files] {
    for (const QString& file : files) app_.OpenDocumentFile(file);
  });
}

}  // namespace wk
