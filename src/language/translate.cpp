#include "language/translate.h"

#include "util/utf.h"

namespace wk {

std::u16string translate(std::u16string_view text) { return std::u16string(text); }

std::string tr(std::string_view text) { return utf16ToUtf8(translate(utf8ToUtf16(text))); }

}  // namespace wk
