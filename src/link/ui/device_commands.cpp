#include "link/ui/device_commands.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include "app/qt_prompter.h"
#include "app/qt_settings.h"
#include "link/device_operation.h"
#include "link/port.h"
#include "link/termios_transport.h"
#include "link/ui/progress_dlg.h"
#include "seams/clock.h"

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

using Procedure = link::TransferOutcome (*)(C4410Doc&, link::Port&, const link::ProgressFactory&);

link::TransferOutcome run(Procedure procedure, C4410Doc& doc, QWidget* owner, Clock* clock) {
  CloseBlocker blocker;
  QPointer<QWidget> window = owner ? owner->window() : QApplication::activeWindow();
  QtPrompter prompter(window);
  QtSettings settings;
  SystemClock systemClock;
  Clock& time = clock ? *clock : systemClock;
  link::TermiosTransport transport(time);
  link::Port port(transport, settings, prompter, time);
  const link::ProgressFactory progress = [&window] { return std::make_unique<CProgressDlg>(window); };
  return procedure(doc, port, progress);
}

}  // namespace

link::TransferOutcome runReadAll(C4410Doc& doc, QWidget* owner, Clock* clock) {
  return run(&link::ReadAll, doc, owner, clock);
}

link::TransferOutcome runWriteAll(C4410Doc& doc, QWidget* owner, Clock* clock) {
  return run(&link::WriteAll, doc, owner, clock);
}

}  // namespace wk
