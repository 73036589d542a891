#pragma once
// Acting on a modal dialog that the code under test is about to open with
// exec(): the act runs from the event loop once the dialog is up.
#include <QApplication>
#include <QTimer>
#include <memory>
#include <type_traits>

#include <gtest/gtest.h>

namespace wk::test {

// Runs act on the next modal dialog of type T once it is up (within 10 s).
// act takes the dialog as T& or T*.
template <class T, class Act>
void whenModal(Act act) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
    if (auto* dialog = dynamic_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      if constexpr (std::is_invocable_v<Act, T*>)
        act(dialog);
      else
        act(*dialog);
    } else if (++*tries > 1000) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal dialog came up";
    }
  });
  timer->start(10);
}

}  // namespace wk::test
