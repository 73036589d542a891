#pragma once
// The application: start-up, the commands that need no document (new, open,
// recent files, print setup, Options, About, and the device and language
// commands that open their own dialogs), and what every window shares: the
// settings, the prompter, the recent-file list and the printer.
#include <QObject>
#include <QStringList>
#include <memory>

#include "app/recent_files.h"
#include "seams/clock.h"
#include "seams/seams.h"

namespace wk::link {
class Transport;
}

class QPrinter;

namespace wk {

class CChildFrame;
class CMainFrame;
class Prompter;
class Settings;

class C4410App : public QObject {
  Q_OBJECT
 public:
  static constexpr const char* kNewDocumentBaseName = "smslist";

  // clock: the device commands' waits; the system clock when null.
  // transport: the serial line; the program's own port when null.
  C4410App(Settings& settings, Prompter& prompter, Clock* clock = nullptr, link::Transport* transport = nullptr);
  ~C4410App() override;

  // Start-up with the program's arguments (without the program's name).
  // False ends the program.
  bool InitInstance(const QStringList& arguments);

  CMainFrame* mainFrame() const { return mainFrame_.get(); }
  Settings& settings() const { return settings_; }
  Prompter& prompter() const { return prompter_; }
  const Seams& seams() const { return seams_; }
  RecentFileList& recentFiles() { return recentFiles_; }
  // The printer that print setup, print and print preview share.
  QPrinter& printer();

  // A new document in a new window, titled smslist1, smslist2, ...
  CChildFrame* OnFileNew();
  // Asks for a file, then opens it.
  void OnFileOpen();
  // Opens path in a new window, or brings up the window that has it open
  // already. Nullptr when the file does not open.
  CChildFrame* OpenDocumentFile(const QString& path);
  // Entry index of the recent-file list; one that no longer opens leaves the list.
  void OnOpenRecentFile(int index);
  void OnFilePrintSetup();
  void OnAppAbout();
  void OnOptions();
  void OnConnectionSetup();
  void OnUpdateFW();
  void OnLanguageSetup();

 private:
  Settings& settings_;
  Prompter& prompter_;
  SystemClock systemClock_;
  std::unique_ptr<link::Transport> ownTransport_;
  Seams seams_;
  RecentFileList recentFiles_;
  std::unique_ptr<CMainFrame> mainFrame_;
  std::unique_ptr<QPrinter> printer_;
  int untitledCount_ = 0;
};

}  // namespace wk
