#include "language/translate.h"

#include "language/translation_table.h"
#include "util/utf.h"

namespace wk {
namespace {
// The one table of the program run, filled at start-up.
TranslationTable& programTable() {
  static TranslationTable table;
  return table;
}
}  // namespace

std::u16string translate(std::u16string_view text) { return programTable().translate(text); }

std::string tr(std::string_view text) { return utf16ToUtf8(translate(utf8ToUtf16(text))); }

void LoadTranslations(const std::string& path) { programTable().loadFile(path); }

void ClearTranslations() { programTable().clear(); }

}  // namespace wk
