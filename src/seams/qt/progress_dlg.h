#pragma once
// The progress window of the long device operations: modeless, its owner
// disabled while it is up, a bar, a percentage, a status line and a hidden
// Cancel that Esc reaches. Pending events are processed at every setPos, so
// the program stays painted while the transfer blocks its only thread.
#include <QPointer>
#include <memory>

#include "link/device_session.h"
#include "seams/progress.h"

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace wk {

class CProgressDlg : public Progress {
 public:
  // owner: the window to disable; the active window when null.
  explicit CProgressDlg(QWidget* owner = nullptr);
  ~CProgressDlg() override;  // closes
  CProgressDlg(const CProgressDlg&) = delete;
  CProgressDlg& operator=(const CProgressDlg&) = delete;

  void setCaption(const std::string& caption) override;
  // The range becomes 0 to upper (the bar takes upper as a 16-bit value).
  void setRange(int upper) override;
  void setPos(int pos) override;
  void setStatus(const std::string& text) override;
  // Gives the owner back its input and takes the window down.
  void close() override;

  // Set by Esc, which also hides the window; the operations go on regardless.
  bool cancelled() const { return cancelled_; }
  // Null once closed.
  QDialog* window() const;
  QProgressBar* bar() const { return bar_; }
  QLabel* percentage() const { return percent_; }
  QLabel* status() const { return status_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  class Window;
  std::unique_ptr<Window> window_;
  QPointer<QWidget> owner_;
  // Disabling the owner takes the focus away from it; given back on close so
  // that the document window the operation started from stays the active one.
  QPointer<QWidget> ownerFocus_;
  bool disabledOwner_ = false;
  int lower_ = 0;
  int upper_ = 100;
  bool cancelled_ = false;
  QProgressBar* bar_ = nullptr;
  QLabel* percent_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

// Progress windows owned by owner's window (the active window when owner is
// null or gone), for the device procedures started from it.
link::ProgressFactory progressWindowFor(QWidget* owner);

}  // namespace wk
