#include "app/qt_document.h"

#include <QDir>
#include <QFileInfo>

#include "app/recent_files.h"
#include "language/ui/translate_menu.h"
#include "seams/prompter.h"

namespace wk {

QString canonicalDocumentPath(const QString& path) {
  if (path.isEmpty()) return path;
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QtDocument::QtDocument(Prompter& prompter, RecentFileList& recentFiles, QObject* parent)
    : QObject(parent), prompter_(prompter), recentFiles_(recentFiles) {
  doc_.setModifiedObserver([this](bool modified) { emit modifiedChanged(modified); });
}

QString QtDocument::pathName() const { return QString::fromStdString(doc_.path()); }

void QtDocument::newDocument(const QString& title) {
  doc_.makeNew();
  title_ = title;
  emit titleChanged(title_);
}

bool QtDocument::openDocument(const QString& path) {
  const QString file = canonicalDocumentPath(path);
  return doc_.open(file.toStdString(), prompter_) && tookFile(file);
}

bool QtDocument::save() {
  if (pathName().isEmpty()) return saveAs();
  return saveTo(pathName());
}

bool QtDocument::saveAs() {
  FileDialogRequest request;
  request.title = qtr("Save As").toStdString();
  request.filter = kFilter;
  request.defaultExtension = kExtension;
  request.initialPath = pathName().isEmpty() ? suggestedFileName().toStdString() : pathName().toStdString();
  const auto chosen = prompter_.chooseFileToSave(request);
  if (!chosen) return false;
  return saveTo(QString::fromStdString(*chosen));
}

bool QtDocument::saveTo(const QString& path) {
  const QString file = canonicalDocumentPath(path);
  return doc_.save(file.toStdString(), prompter_) && tookFile(file);
}

bool QtDocument::saveModified() {
  if (!isModified()) return true;
  const QString name = pathName().isEmpty() ? title_ : pathName();
  const QString question = qtr("Save changes to %1?").arg(name);
  switch (prompter_.message(question.toStdString(), MessageIcon::Warning, MessageButtons::YesNoCancel)) {
    case Answer::Yes: return save();
    case Answer::No: return true;
    default: return false;
  }
}

// A new document's title with the extension; a document opened with the
// fallback contents is titled with its file's name, which has one already.
QString QtDocument::suggestedFileName() const {
  const QString extension = u'.' + QLatin1String(kExtension);
  return title_.endsWith(extension, Qt::CaseInsensitive) ? title_ : title_ + extension;
}

// The document is now that file's: named after it, and first in the recent list.
bool QtDocument::tookFile(const QString& file) {
  title_ = QFileInfo(file).fileName();
  emit titleChanged(title_);
  recentFiles_.add(file.toStdString());
  return true;
}

}  // namespace wk
