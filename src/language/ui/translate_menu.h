#pragma once
// Translation for Qt widgets: translate() on QStrings, and TranslateMenu,
// which replaces the text of every item of a menu and of its submenus by its
// translation, in place, keeping each item's position and command id.
#include <QString>
#include <string_view>

class QMenu;
class QMenuBar;

namespace wk {

// translate() of a whole text.
QString qtr(const QString& text);
QString qtr(std::string_view utf8);
QString qtr(const char* utf8);

void TranslateMenu(QMenu* menu);
void TranslateMenu(QMenuBar* menuBar);

}  // namespace wk
