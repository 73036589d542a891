#include "app/lock_keys.h"

#include <QGuiApplication>

#if QT_CONFIG(xcb)
// X11's headers define macros (None, Bool, Status, ...) that clash with Qt's:
// they come last.
#include <X11/XKBlib.h>
#endif

namespace wk {

std::optional<LockKeys> readLockKeys() {
#if QT_CONFIG(xcb)
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return std::nullopt;
  auto indicator = [display](const char* name) {
    int on = 0;
    const Atom atom = XInternAtom(display, name, True);
    return atom != 0 && XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
  };
  return LockKeys{indicator("Caps Lock"), indicator("Num Lock"), indicator("Scroll Lock")};
#else
  return std::nullopt;
#endif
}

}  // namespace wk
