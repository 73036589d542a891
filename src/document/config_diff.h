#pragma once
// The differences between two configurations, field by field in the
// description's terms, and by offset for the bits that no field holds.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/config_fields.h"
#include "document/config_image.h"

namespace wk::config {

struct FieldChange {
  const Field* field;
  std::optional<Value> before;  // nothing: the field means nothing in that image
  std::optional<Value> after;
};

// A run of neighbouring bytes of one region whose unheld bits differ.
struct ByteChange {
  std::size_t offset;
  std::vector<std::uint8_t> before;
  std::vector<std::uint8_t> after;
  bool secret = false;  // within a secret field's bytes (what an older password left)
};

struct Differences {
  std::vector<FieldChange> fields;
  std::vector<ByteChange> bytes;
  bool empty() const { return fields.empty() && bytes.empty(); }
};

Differences diff(const ConfigImage& a, const ConfigImage& b);

// One line per change: "sms[17].phone: 0012345 -> 0098765", and for bytes
// "image[62598] (CommonSettings+2): 00 -> 01". A secret shows only whether
// it is set and its length, and its loose bytes not at all, unless
// showSecrets.
std::vector<std::string> describe(const Differences& differences, const Translator& translate = {},
                                  bool showSecrets = false);

}  // namespace wk::config
