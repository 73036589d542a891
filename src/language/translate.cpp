#include "language/translate.h"

#include "util/utf.h"

namespace wk {

std::u16string translate(std::u16string_view text) { return std::u16string(text); }

// The translation table arrives with the language files; until then every
// text is shown as stored.
void LoadTranslations(const std::string&) {}
void ClearTranslations() {}

std::string tr(std::string_view text) { return utf16ToUtf8(translate(utf8ToUtf16(text))); }

}  // namespace wk
