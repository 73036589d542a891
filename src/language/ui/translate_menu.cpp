#include "language/ui/translate_menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "language/translate.h"

namespace wk {

QString qtr(const QString& text) {
  const std::u16string translated = translate(std::u16string_view(
      reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
  return QString(reinterpret_cast<const QChar*>(translated.data()), static_cast<qsizetype>(translated.size()));
}

QString qtr(std::string_view utf8) {
  return qtr(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

QString qtr(const char* utf8) { return qtr(QString::fromUtf8(utf8)); }

namespace {

void translateItems(const QList<QAction*>& items) {
  for (QAction* item : items) {
    if (item->isSeparator()) continue;
    const QString text = item->text();
    if (!text.isEmpty()) item->setText(qtr(text));
    if (QMenu* submenu = item->menu()) TranslateMenu(submenu);
  }
}

}  // namespace

void TranslateMenu(QMenu* menu) {
  if (menu) translateItems(menu->actions());
}

void TranslateMenu(QMenuBar* menuBar) {
  if (menuBar) translateItems(menuBar->actions());
}

}  // namespace wk
