#pragma once
// The window of one document: an MDI child whose only view is the section
// view. It owns the document; closing it closes the document.
#include <QMdiSubWindow>
#include <memory>

namespace wk {

class C4410View;
class Prompter;
struct Seams;
class QtDocument;

class CChildFrame : public QMdiSubWindow {
  Q_OBJECT
 public:
  // Creates the view (and so the pages, registered with the document) before
  // the caller fills the document by new or open.
  CChildFrame(std::unique_ptr<QtDocument> document, const Seams& seams, QWidget* parent = nullptr);
  ~CChildFrame() override;

  QtDocument& document() const { return *document_; }
  C4410View& view() const { return *view_; }

  // Before the window closes: ends the edit open in a cell (it counts as a
  // change), then asks "Save changes to ...?" when the document is modified.
  // False when the user cancels or the save fails.
  bool saveModified();

  // Closing decided elsewhere (the program's exit asked every document
  // already): the next close does not ask again.
  void setCloseApproved() { closeApproved_ = true; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void updateTitle();

  std::unique_ptr<QtDocument> document_;
  Prompter& prompter_;
  C4410View* view_;
  bool closeApproved_ = false;
};

}  // namespace wk
