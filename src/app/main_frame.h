#pragma once
// The main window: an MDI frame with the two menus (without a document and
// with one), the toolbar, the status bar with its message pane and lock-key
// indicators, and the accelerators. Every command arrives at onCommand, which
// hands it to the active document's view, to the document or to the
// application.
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <vector>

class QLabel;
class QMdiArea;
class QMenu;
class QMimeData;
class QToolBar;

namespace wk {

class C4410App;
class CChildFrame;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  explicit CMainFrame(C4410App& app);
  ~CMainFrame() override;

  QMdiArea* mdiArea() const { return mdiArea_; }
  QToolBar* toolBar() const { return toolBar_; }
  // The document window the device commands act on: the active one, or the
  // one last active while another window has the focus.
  CChildFrame* activeChild() const;
  std::vector<CChildFrame*> children() const;

  void addChild(CChildFrame* child);
  // 128 while no document is open, 129 while one is.
  int currentMenu() const { return currentMenu_; }

  // Runs a command as its menu item, button or key would.
  void onCommand(int id);
  // Whether the command can run now.
  bool isCommandEnabled(int id) const;

  // Asks every document (busy device, "Save changes?"); true when all may close.
  bool saveAllModified();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  struct MenuSet {
    std::vector<QMenu*> menus;
    QMenu* file = nullptr;
    QMenu* window = nullptr;
    QAction* recentPlaceholder = nullptr;
    std::vector<QAction*> recentEntries;
    std::vector<QAction*> windowEntries;
  };

  QAction* makeAction(int id, QObject* owner);
  void buildMenuSet(int resource, MenuSet& set);
  void buildToolBar();
  void buildStatusBar();
  void buildAccelerators();
  void showMenu(int resource);
  void updateRecentFiles(MenuSet& set);
  void updateWindowList(MenuSet& set);
  void updateCommandUi();
  void updateTitle();
  QString composedTitle() const;
  void updateIndicators();
  void arrangeIcons();
  static QStringList droppedFiles(const QMimeData* mime);

  C4410App& app_;
  QMdiArea* mdiArea_;
  QToolBar* toolBar_ = nullptr;
  QLabel* messagePane_ = nullptr;
  QLabel* indicators_[3] = {};
  MenuSet mainMenu_, documentMenu_;
  int currentMenu_ = 0;
  bool tearingDown_ = false;
  QPointer<CChildFrame> maximizeWhenShown_;  // the first window, maximised once the frame shows
  std::vector<QAction*> commandActions_;  // every action that carries a command id
};

}  // namespace wk
