#pragma once
// The configuration as text for people: section by section, a record a block,
// each field on a line with its label, in the program's words.
#include <string>

#include "document/config_fields.h"
#include "document/config_image.h"

namespace wk::cli {

struct TextOptions {
  bool all = false;           // the disabled SMS rules too
  bool showPassword = false;  // else only whether one is set and its length
};

std::string dumpText(const ConfigImage& image, const TextOptions& options);

// The program's translation of a text (the language file of --lang).
const config::Translator& translator();

}  // namespace wk::cli
