#pragma once
// Every text the user sees passes through translate() at the moment it is shown.
#include <string>
#include <string_view>

namespace wk {

// The translation of a whole text, or the text itself.
std::u16string translate(std::u16string_view text);

// The same for the core's UTF-8 texts.
std::string tr(std::string_view text);

// Start-up: empties the program's translation table, then fills it from a
// .lng file (see language/translation_table.h). Silent: a file that cannot be
// opened leaves the table empty, a damaged one keeps the pairs read completely
// before the damage, and of more than 2000 pairs the first 2000 are loaded.
void LoadTranslations(const std::string& path);
void ClearTranslations();

}  // namespace wk
