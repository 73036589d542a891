#pragma once
// Text from files and controllers made safe to print: no byte of a file may
// move the cursor, retitle the window or clear the screen.
#include <cstddef>
#include <string>
#include <string_view>

namespace wk::cli {

// The text with C0 and C1 control characters and DEL escaped: "\x1b" for a
// byte below 0x20 or DEL, "\u009b" for a C1 control, and "\xNN" for a byte
// that is no part of a UTF-8 character. Everything else stays as it is.
std::string escapeControls(std::string_view text);

// At most limit bytes of the text, cut between characters, with "..." when cut.
std::string cutText(std::string_view text, std::size_t limit);

}  // namespace wk::cli
