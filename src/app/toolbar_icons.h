#pragma once
// The pictures of the toolbar buttons.
#include <QIcon>

namespace wk {

// The 16x15 picture of a toolbar command; an empty icon for any other id.
QIcon toolbarIcon(int id);

}  // namespace wk
