#pragma once
// The GUI's entry points to the device link, for the view's "Read All Data"
// and "Write All Data" commands and the "Connection Setup" command:
//
//   void C4410View::onReadAll()  { wk::runReadAll(document(), this); }
//   void C4410View::onWriteAll() { wk::runWriteAll(document(), this); }
//   (application)                wk::ConnectionSetup(mainWindow);   // conn_setup_dlg.h
//
// Each builds the Qt seams (message boxes over the owner's window, the stored
// settings, the progress window) and runs the procedure on this thread. The
// owner's window is disabled while the progress window is up.
//
// While a transfer runs, events are still dispatched. Until it returns, no
// close event reaches a window that is not a dialog, so that neither the
// document, its window nor the program can go away underneath it; the view
// and the frames should also refuse their own closing paths (File > Close,
// Exit, closeEvent, QMdiArea::closeAllSubWindows) while
// wk::link::DeviceOperation::running() is true.
#include "link/read_write_all.h"

class QWidget;

namespace wk {

class C4410Doc;
class Clock;
struct Seams;

// With the program's message boxes, the stored settings and clock (the
// program's own clock when null; tests pass one that never sleeps).
link::TransferOutcome runReadAll(C4410Doc& doc, QWidget* owner, Clock* clock = nullptr);
link::TransferOutcome runWriteAll(C4410Doc& doc, QWidget* owner, Clock* clock = nullptr);

// With the seams of the caller (the view hands down the application's).
link::TransferOutcome runReadAll(C4410Doc& doc, QWidget* owner, const Seams& seams);
link::TransferOutcome runWriteAll(C4410Doc& doc, QWidget* owner, const Seams& seams);

}  // namespace wk
