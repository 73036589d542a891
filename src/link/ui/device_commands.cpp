#include "link/ui/device_commands.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include "link/device_operation.h"
#include "link/termios_transport.h"
#include "seams/clock.h"
#include "seams/qt/progress_dlg.h"
#include "seams/qt/qt_prompter.h"
#include "seams/qt/qt_settings.h"

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

link::TransferOutcome run(Procedure procedure, C4410Doc& doc, const link::DeviceLink& link) {
  CloseBlocker blocker;
  return procedure(doc, link);
}

link::TransferOutcome runWithQtSeams(Procedure procedure, C4410Doc& doc, QWidget* owner, Clock* clock) {
  QPointer<QWidget> window = owner ? owner->window() : QApplication::activeWindow();
  QtPrompter prompter(window);
  QtSettings settings;
  SystemClock systemClock;
  Clock& chosen = clock ? *clock : systemClock;
  link::TermiosTransport transport(chosen);
  return run(procedure, doc, {transport, prompter, settings, chosen, progressWindowFor(window)});
}

}  // namespace

link::TransferOutcome runReadAll(C4410Doc& doc, const link::DeviceLink& link) {
  return run(&link::ReadAll, doc, link);
}

link::TransferOutcome runWriteAll(C4410Doc& doc, const link::DeviceLink& link) {
  return run(&link::WriteAll, doc, link);
}

link::TransferOutcome runWriteChanged(C4410Doc& doc, const link::DeviceLink& link) {
  return run([](C4410Doc& d, const link::DeviceLink& l) { return link::WriteChanged(d, l); }, doc, link);
}

link::TransferOutcome runReadAll(C4410Doc& doc, QWidget* owner, Clock* clock) {
  return runWithQtSeams(&link::ReadAll, doc, owner, clock);
}

link::TransferOutcome runWriteAll(C4410Doc& doc, QWidget* owner, Clock* clock) {
  return runWithQtSeams(&link::WriteAll, doc, owner, clock);
}

}  // namespace wk
