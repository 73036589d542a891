#pragma once
// The configuration as JSON (docs/configuration-json.md,
// docs/configuration.schema.json): written from an image through the field
// description, and read back onto an image with the editors' encoding rules.
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "document/config_image.h"

namespace wk::cli {

inline constexpr const char* kJsonFormat = "watchkeep-configuration";
inline constexpr int kJsonFormatVersion = 1;
// A larger file is refused before it is parsed.
inline constexpr std::size_t kMaxJsonBytes = 16 * 1024 * 1024;

struct JsonOptions {
  // Without it the password is given as {"set": ..., "length": ...} only.
  bool showPassword = true;
};

nlohmann::ordered_json toJson(const ConfigImage& image, const JsonOptions& options = {});

// The JSON Schema of that JSON (docs/configuration.schema.json is its output).
nlohmann::ordered_json jsonSchema();

// Applies the JSON text onto image, which holds the base: what the JSON does
// not carry stays as it is. Returns the errors, each "path: what is wrong";
// when there are any, image may hold part of the JSON and must not be used.
std::vector<std::string> fromJson(std::string_view text, ConfigImage& image);

}  // namespace wk::cli
