#include "app/child_frame.h"

#include <QCloseEvent>

#include "app/about_dlg.h"
#include "app/device_activity.h"
#include "app/qt_document.h"
#include "editors/c4410_view.h"
#include "seams/seams.h"

namespace wk {

CChildFrame::CChildFrame(std::unique_ptr<QtDocument> document, const Seams& seams, QWidget* parent)
    : QMdiSubWindow(parent), document_(std::move(document)), prompter_(seams.prompter),
      view_(new C4410View(document_->doc(), seams)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(programIcon());
  setWidget(view_);
  connect(document_.get(), &QtDocument::titleChanged, this, &CChildFrame::updateTitle);
  connect(document_.get(), &QtDocument::modifiedChanged, this, &CChildFrame::setWindowModified);
  updateTitle();
}

// The pages hold on to the document: they go first.
CChildFrame::~CChildFrame() { delete view_; }

bool CChildFrame::saveModified() {
  view_->endEditing();
  return document_->saveModified();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (!closeApproved_ && (refuseCloseWhileDeviceBusy(prompter_) || !saveModified())) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}

void CChildFrame::updateTitle() { setWindowTitle(document_->title() + QStringLiteral("[*]")); }

}  // namespace wk
