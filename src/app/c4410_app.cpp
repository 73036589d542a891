#include "app/c4410_app.h"

#include <QMdiArea>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QUrl>

#include "app/about_dlg.h"
#include "app/child_frame.h"
#include "app/dlg_options.h"
#include "app/main_frame.h"
#include "app/qt_document.h"
#include "firmware/ui/dlg_empty.h"
#include "language/translate.h"
#include "language/ui/dlg_lang.h"
#include "link/trace_transport.h"
#include "link/ui/conn_setup_dlg.h"
#include "language/ui/translate_menu.h"
#include "seams/prompter.h"
#include "seams/settings.h"

namespace wk {

namespace {

Clock& chosen(Clock* clock, Clock& fallback) { return clock ? *clock : fallback; }

// The program's own port, traced to the file that WATCHKEEP_TRACE names.
std::unique_ptr<link::Transport> programTransport(Clock& clock) {
  std::string why;
  auto transport = link::makeProgramTransport(clock, why);
  if (!why.empty()) qWarning("watchkeep: no serial trace: %s", why.c_str());
  return transport;
}

}  // namespace

C4410App::C4410App(Settings& settings, Prompter& prompter, Clock* clock, link::Transport* transport)
    : settings_(settings),
      prompter_(prompter),
      ownTransport_(transport ? nullptr : programTransport(chosen(clock, systemClock_))),
      seams_{prompter, settings, chosen(clock, systemClock_), transport ? *transport : *ownTransport_},
      recentFiles_(settings) {}

C4410App::~C4410App() = default;

// The start-up steps that prepare Windows facilities (common controls, OLE,
// ActiveX hosting, GDI+) have nothing to do here: QApplication, made before
// this object, provides all of it. The desktop registration of the .vld type
// is installed with the program (packaging/), not written at each start.
bool C4410App::InitInstance(const QStringList& arguments) {
  // The translation table, from the language file unless it is exactly "no file".
  ClearTranslations();
  const std::string languageFile = settings_.languageFile();
  if (languageFile != setting::kNoLanguageFile) LoadTranslations(languageFile);

  mainFrame_ = std::make_unique<CMainFrame>(*this);
  mainFrame_->resize(1024, 720);

  // No argument: a new document; otherwise the file it names.
  if (arguments.isEmpty()) {
    if (!OnFileNew()) return false;
  } else {
    const QUrl url(arguments.front());
    const QString path = url.isLocalFile() ? url.toLocalFile() : arguments.front();
    if (!OpenDocumentFile(path)) return false;
  }

  TranslateMenu(mainFrame_->menuBar());
  mainFrame_->show();
  return true;
}

QPrinter& C4410App::printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

CChildFrame* C4410App::OnFileNew() {
  auto* child = new CChildFrame(std::make_unique<QtDocument>(prompter_, recentFiles_), seams_);
  child->document().newDocument(QString::fromLatin1(kNewDocumentBaseName) + QString::number(++untitledCount_));
  mainFrame_->addChild(child);
  return child;
}

void C4410App::OnFileOpen() {
  FileDialogRequest request;
  request.title = wk::tr("Open");
  request.filter = QtDocument::kFilter;
  request.defaultExtension = QtDocument::kExtension;
  if (const auto chosen = prompter_.chooseFileToOpen(request)) OpenDocumentFile(QString::fromStdString(*chosen));
}

CChildFrame* C4410App::OpenDocumentFile(const QString& path) {
  const QString file = canonicalDocumentPath(path);
  for (CChildFrame* child : mainFrame_->children()) {
    if (child->document().pathName() == file) {
      mainFrame_->mdiArea()->setActiveSubWindow(child);
      return child;
    }
  }
  // The window and its view (and so the pages) come first, then the file.
  auto child = std::make_unique<CChildFrame>(std::make_unique<QtDocument>(prompter_, recentFiles_), seams_);
  if (!child->document().openDocument(file)) return nullptr;
  mainFrame_->addChild(child.get());
  return child.release();
}

void C4410App::OnOpenRecentFile(int index) {
  const std::vector<std::string> files = recentFiles_.entries();
  if (index < 0 || index >= static_cast<int>(files.size())) return;
  const std::string path = files[static_cast<std::size_t>(index)];
  if (!OpenDocumentFile(QString::fromStdString(path))) recentFiles_.remove(path);
}

void C4410App::OnFilePrintSetup() {
  QPageSetupDialog dialog(&printer(), mainFrame_.get());
  dialog.exec();
}

void C4410App::OnAppAbout() {
  CAboutDlg dialog(mainFrame_.get());
  dialog.exec();
}

void C4410App::OnOptions() {
  CDlgOptions dialog(settings_, mainFrame_.get());
  dialog.exec();
}

void C4410App::OnConnectionSetup() { ConnectionSetup(mainFrame_.get(), settings_); }

void C4410App::OnUpdateFW() { UpdateFirmware(mainFrame_.get(), seams_); }

void C4410App::OnLanguageSetup() {
  CDlgLang dialog(mainFrame_.get(), prompter_, settings_);
  dialog.exec();
}

}  // namespace wk
