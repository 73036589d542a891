#pragma once
// The program's "Read All Data", "Write All Data" and "Write Changed Data":
// the procedures of the link run on this thread with the program's seams, the
// progress window owned by the window they start from.
//
// While a transfer runs, events are still dispatched. Until it returns, no
// close event reaches a window that is not a dialog, so that neither the
// document, its window nor the program can go away underneath it; the view
// and the frames also refuse their own closing paths (File > Close, Exit,
// closeEvent, QMdiArea::closeAllSubWindows) while
// wk::link::DeviceOperation::running() is true.
#include "link/read_write_all.h"

class QWidget;

namespace wk {

class C4410Doc;
class Clock;

link::TransferOutcome runReadAll(C4410Doc& doc, const link::DeviceLink& link);
link::TransferOutcome runWriteAll(C4410Doc& doc, const link::DeviceLink& link);
link::TransferOutcome runWriteChanged(C4410Doc& doc, const link::DeviceLink& link);

// With the program's message boxes over owner's window, the stored settings,
// a port of its own and clock (the program's own clock when null; tests pass
// one that never sleeps).
link::TransferOutcome runReadAll(C4410Doc& doc, QWidget* owner, Clock* clock = nullptr);
link::TransferOutcome runWriteAll(C4410Doc& doc, QWidget* owner, Clock* clock = nullptr);

}  // namespace wk
