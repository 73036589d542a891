#include "seams/qt/progress_dlg.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>
#include <algorithm>
#include <cstdint>

#include "language/translate.h"

namespace wk {

class CProgressDlg::Window : public QDialog {
 public:
  explicit Window(bool& cancelled) : cancelled_(cancelled) {}
  // Esc and the window's close box: noted and hidden, nothing stops.
  void reject() override {
    cancelled_ = true;
    hide();
  }

 private:
  bool& cancelled_;
};

CProgressDlg::CProgressDlg(QWidget* owner) : owner_(owner ? owner->window() : QApplication::activeWindow()) {
  if (owner_ && owner_->isEnabled()) {
    ownerFocus_ = owner_->focusWidget();
    owner_->setEnabled(false);
    disabledOwner_ = true;
  }
  // No Qt parent: a child window would follow its disabled owner, and the
  // owner must not be able to delete the window under the transfer.
  window_ = std::make_unique<Window>(cancelled_);
  window_->setObjectName(QStringLiteral("CProgressDlg"));
  window_->setMinimumWidth(380);
  bar_ = new QProgressBar(window_.get());
  bar_->setTextVisible(false);
  percent_ = new QLabel(QStringLiteral("0%"), window_.get());
  percent_->setMinimumWidth(40);
  percent_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  status_ = new QLabel(window_.get());
  status_->setObjectName(QStringLiteral("status"));
  cancel_ = new QPushButton(QString::fromStdString(tr("Cancel")), window_.get());
  cancel_->setEnabled(false);
  cancel_->hide();
  auto* layout = new QGridLayout(window_.get());
  layout->addWidget(status_, 0, 0, 1, 2);
  layout->addWidget(bar_, 1, 0);
  layout->addWidget(percent_, 1, 1);
  layout->addWidget(cancel_, 2, 1);
  bar_->setRange(lower_, upper_);
  bar_->setValue(lower_);

  window_->winId();
  if (owner_ && owner_->windowHandle()) window_->windowHandle()->setTransientParent(owner_->windowHandle());
  window_->adjustSize();
  if (owner_) window_->move(owner_->geometry().center() - window_->rect().center());
  window_->show();
}

CProgressDlg::~CProgressDlg() { close(); }

QDialog* CProgressDlg::window() const { return window_.get(); }

void CProgressDlg::setCaption(const std::string& caption) {
  if (window_) window_->setWindowTitle(QString::fromStdString(caption));
}

void CProgressDlg::setRange(int upper) {
  lower_ = 0;
  upper_ = upper;
  if (bar_) bar_->setRange(0, static_cast<std::uint16_t>(upper));
}

void CProgressDlg::setPos(int pos) {
  if (!window_) return;
  QApplication::processEvents();
  if (!window_) return;  // closed by something the events ran
  bar_->setValue(std::clamp(pos, bar_->minimum(), bar_->maximum()));
  int percent = 0;
  if (upper_ > lower_) percent = (pos - lower_) * 100 / (upper_ - lower_);
  const QString text = QStringLiteral("%1%").arg(percent == 100 ? 100 : percent % 100);
  if (percent_->text() != text) percent_->setText(text);
}

void CProgressDlg::setStatus(const std::string& text) {
  if (status_ && window_) status_->setText(QString::fromStdString(text));
}

void CProgressDlg::close() {
  if (disabledOwner_ && owner_) {
    owner_->setEnabled(true);
    if (ownerFocus_ && ownerFocus_->window() == owner_) ownerFocus_->setFocus(Qt::OtherFocusReason);
  }
  disabledOwner_ = false;
  bar_ = nullptr;
  percent_ = nullptr;
  status_ = nullptr;
  cancel_ = nullptr;
  window_.reset();
}

link::ProgressFactory progressWindowFor(QWidget* owner) {
  // The window is looked up when the operation starts: a view gets its
  // window only after it was made.
  return [from = QPointer<QWidget>(owner)] { return std::make_unique<CProgressDlg>(from ? from->window() : nullptr); };
}

}  // namespace wk
