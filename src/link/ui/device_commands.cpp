#include "link/ui/device_commands.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include "app/qt_prompter.h"
#include "app/qt_settings.h"
#include "link/device_operation.h"
#include "link/termios_transport.h"
#include "link/ui/progress_dlg.h"
#include "seams/clock.h"
#include "seams/seams.h"

namespace wk {
namespace {

// Refuses close events to every window but dialogs while a device operation
// runs: message boxes and the progress window still close.
class CloseBlocker : public QObject {
 public:
  CloseBlocker() { qApp->installEventFilter(this); }
  ~CloseBlocker() override { qApp->removeEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Close || !link::DeviceOperation::running()) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || qobject_cast<QDialog*>(widget->window())) return false;
    event->ignore();
    return true;
  }
};

using Procedure = link::TransferOutcome (*)(C4410Doc&, const link::DeviceLink&);

QPointer<QWidget> ownerWindow(QWidget* owner) { return owner ? owner->window() : QApplication::activeWindow(); }

link::TransferOutcome run(Procedure procedure, C4410Doc& doc, QPointer<QWidget> window, const Seams& seams) {
  CloseBlocker blocker;
  link::TermiosTransport transport(seams.clock);
  const link::DeviceLink link{transport, seams.prompter, seams.settings, seams.clock,
                              [&window] { return std::make_unique<CProgressDlg>(window); }};
  return procedure(doc, link);
}

link::TransferOutcome runWithQtSeams(Procedure procedure, C4410Doc& doc, QWidget* owner, Clock* clock) {
  QPointer<QWidget> window = ownerWindow(owner);
  QtPrompter prompter(window);
  QtSettings settings;
  SystemClock systemClock;
  return run(procedure, doc, window, Seams{prompter, settings, clock ? *clock : systemClock});
}

}  // namespace

link::TransferOutcome runReadAll(C4410Doc& doc, QWidget* owner, Clock* clock) {
  return runWithQtSeams(&link::ReadAll, doc, owner, clock);
}

link::TransferOutcome runWriteAll(C4410Doc& doc, QWidget* owner, Clock* clock) {
  return runWithQtSeams(&link::WriteAll, doc, owner, clock);
}

link::TransferOutcome runReadAll(C4410Doc& doc, QWidget* owner, const Seams& seams) {
  return run(&link::ReadAll, doc, ownerWindow(owner), seams);
}

link::TransferOutcome runWriteAll(C4410Doc& doc, QWidget* owner, const Seams& seams) {
  return run(&link::WriteAll, doc, ownerWindow(owner), seams);
}

}  // namespace wk
