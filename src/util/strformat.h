#pragma once
// printf-style formatting into a std::string, for the program's message formats
// ("%s %d", "%.2X", ...), which are part of its texts.
#include <string>

namespace wk {

std::string strprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace wk
