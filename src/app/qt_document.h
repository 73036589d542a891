#pragma once
// A document of the program: the core C4410Doc with its title, its file and
// the framework's save and close behaviour (the file dialogs, "Save changes
// to ...?", the recent-file list).
#include <QObject>
#include <QString>

#include "document/c4410_doc.h"

namespace wk {

class Prompter;
class RecentFileList;

class QtDocument : public QObject {
  Q_OBJECT
 public:
  static constexpr const char* kFilter = "4410 Files (*.vld)|*.vld|All Files (*.*)|*.*|";
  static constexpr const char* kExtension = "vld";

  QtDocument(Prompter& prompter, RecentFileList& recentFiles, QObject* parent = nullptr);

  C4410Doc& doc() { return doc_; }
  const C4410Doc& doc() const { return doc_; }

  // smslist1 for a new document, the file's name once it has one. A file
  // opened with the fallback contents (a version this program cannot read)
  // gives the document its name as the title but not the file itself.
  QString title() const { return title_; }
  // The file, absolute; empty for a new document and for one opened with the
  // fallback contents: Save then asks for a name instead of writing over the
  // file.
  QString pathName() const;
  bool isModified() const { return doc_.isModified(); }

  // A new document with the controller's defaults, titled title.
  void newDocument(const QString& title);
  // Opens path; on failure the document is unchanged and false is returned.
  bool openDocument(const QString& path);

  // Save to the document's file, or ask for one first (Save As).
  bool save();
  bool saveAs();
  // Before the document closes: asks "Save changes to ...?" when it is
  // modified. False when the user cancels or the save fails.
  bool saveModified();

 signals:
  void titleChanged(const QString& title);
  void modifiedChanged(bool modified);

 private:
  bool saveTo(const QString& path);
  bool tookFile(const QString& file);
  QString suggestedFileName() const;

  C4410Doc doc_;
  Prompter& prompter_;
  RecentFileList& recentFiles_;
  QString title_;
};

// The absolute, clean form of a file path, as documents and the recent-file
// list keep it.
QString canonicalDocumentPath(const QString& path);

}  // namespace wk
