#pragma once
// The controller's eight guarded inputs as the installer sees them while
// wiring: the raw reading of an input turned into the loop's resistance, the
// outcome of the chosen wiring mode, and the picture of that outcome.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wk::diag {

inline constexpr int kInputCount = 8;

// The wiring modes, in the order of the dialog's radio buttons.
enum class InputMode {
  Lost1K,    // "1K Lost"
  Set0,      // "0 Set"
  Set1,      // "1 Set"
  Set0Or1,   // "0 or 1 set"
  Lost0,     // "0 Lost"
  Lost1,     // "1 Lost"
  Atz1,      // two detectors on one line, 2.2k and 1k
  Atz2,
  Atz3,      // two detectors on one line, 1.5k and 820 ohms
  Atz4,
};
inline constexpr int kModeCount = 10;
inline constexpr InputMode kStartMode = InputMode::Atz1;

// The mode's name as stored (the first six are translated when shown, the
// four "ATZ" names never are).
std::string_view modeName(InputMode mode);
bool isTwoDetectorMode(InputMode mode);
// The mode of a name, letter case ignored; false for no mode.
bool modeFromName(std::string_view name, InputMode& mode);

// The loop's resistance in ohms: (255000 - 3000 raw) / (raw - 255). Raw 85 is
// 0 ohms, raw 255 an open loop (infinite), below 85 negative.
double lineResistance(std::uint8_t raw);

// Outcome flags of one classified reading.
enum OutcomeFlag : unsigned {
  kFlagA = 1u << 0,  // first outcome
  kFlagB = 1u << 1,  // second outcome
  kFlagE = 1u << 2,  // line error
  kFlagK = 1u << 3,  // line OK
  kFlagU = 1u << 4,  // not stable
};

struct Outcome {
  // The result texts in the order they are appended, as stored (untranslated).
  std::vector<std::string_view> texts;
  unsigned flags = 0;
};

Outcome classify(InputMode mode, std::uint8_t raw);

// What the picture field does for the selected input.
struct PictureChoice {
  enum class Kind {
    Show,   // show picture id
    Clear,  // leave the field empty
    Keep,   // the picture stays as it was
  };
  Kind kind = Kind::Keep;
  int id = 0;
  bool operator==(const PictureChoice&) const = default;
};

PictureChoice pictureFor(InputMode mode, unsigned flags);

// The picture of a dialog that has not read anything yet.
inline constexpr int kStartPicture = 175;
// Every picture number the rules use.
const std::vector<int>& pictureIds();

// One input's line of the result text: "i%d=%3d / R≈%5.0f Ohm" with the
// mode's texts translated, ended by "\r\n". input counts from 1.
std::string formatInputLine(int input, std::uint8_t raw, InputMode mode);
// The resistance column as formatLine prints it ("%5.0f", or "  inf" for an
// open loop, and never "-0").
std::string formatResistance(std::uint8_t raw);

using Readings = std::array<std::uint8_t, kInputCount>;
// All eight lines, joined.
std::string formatReadings(const Readings& readings, InputMode mode);

}  // namespace wk::diag
