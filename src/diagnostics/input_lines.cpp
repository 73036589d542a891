#include "diagnostics/input_lines.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

#include "language/translate.h"
#include "util/strformat.h"

namespace wk::diag {
namespace {

struct Range {
  int low;
  int high;  // inclusive
};

bool inAny(std::initializer_list<Range> ranges, int v) {
  return std::ranges::any_of(ranges, [v](const Range& r) { return v >= r.low && v <= r.high; });
}

constexpr std::string_view kNotStable = " (Not stable)";
constexpr std::string_view kLineError = " (Line ERR)";
constexpr std::string_view kLineOk = " (Line OK)";

constexpr std::array<std::string_view, kModeCount> kModeNames = {
    "1K Lost", "0 Set", "1 Set", "0 or 1 set", "0 Lost", "1 Lost", "ATZ1", "ATZ2", "ATZ3", "ATZ4"};

Outcome one(std::string_view text, unsigned flag) { return {{text}, flag}; }

// Modes with one contact: exactly one text.
Outcome classifyOneContact(InputMode mode, int v) {
  switch (mode) {
    case InputMode::Lost1K:
      return inAny({{104, 160}}, v) ? one(" (R = 1kOhm ok)", kFlagB) : one(" (R <> 1kOhm)", kFlagA);
    case InputMode::Set0:
      if (v <= 131) return one(" (0 Set yes)", kFlagA);
      if (v <= 140) return one(kNotStable, kFlagU);
      return one(" (0 Set no)", kFlagB);
    case InputMode::Set1:
      if (v >= 224) return one(" (1 Set yes)", kFlagA);
      if (v >= 215) return one(kNotStable, kFlagU);
      return one(" (1 Set no)", kFlagB);
    case InputMode::Set0Or1:
      if (inAny({{0, 131}, {224, 255}}, v)) return one(" (0 or 1 Set yes)", kFlagA);
      if (inAny({{132, 140}, {215, 223}}, v)) return one(kNotStable, kFlagU);
      return one(" (1 Set no)", kFlagB);
    case InputMode::Lost0:
      if (v >= 141) return one(" (0 Lost yes)", kFlagA);
      if (v >= 132) return one(kNotStable, kFlagU);
      return one(" (0 Lost no)", kFlagB);
    case InputMode::Lost1:
      if (v <= 214) return one(" (1 Lost yes)", kFlagA);
      if (v <= 223) return one(kNotStable, kFlagU);
      return one(" (1 Lost no)", kFlagB);
    default: return {};
  }
}

// Two detectors on one line: four tests, each appending its text when it holds.
struct TwoDetectorRule {
  std::string_view aText;
  std::initializer_list<Range> a;
  std::string_view bText;
  std::initializer_list<Range> b;
  std::initializer_list<Range> lineInRange;  // outside all of them: line error
  std::initializer_list<Range> lineOk;       // else not stable
};

const TwoDetectorRule& twoDetectorRule(InputMode mode) {
  static const TwoDetectorRule kAtz1{" (Zone 2.2k)", {{162, 182}},
                                     " (Zone 1k)",   {{146, 159}, {173, 182}},
                                     {{121, 134}, {146, 159}, {162, 182}},
                                     {{123, 132}, {148, 157}, {163, 171}, {174, 181}}};
  static const TwoDetectorRule kAtz2{" (Zone 2.2k)", {{150, 172}},
                                     " (Zone 1k)",   {{121, 134}, {162, 172}},
                                     {{79, 90}, {121, 134}, {150, 159}, {162, 172}},
                                     {{81, 89}, {123, 132}, {152, 161}, {163, 171}}};
  static const TwoDetectorRule kAtz3{" (Zone 1.5k)", {{146, 158}, {161, 172}},
                                     " (Zone k82)",  {{129, 142}, {161, 172}},
                                     {{102, 114}, {129, 142}, {146, 158}, {161, 172}},
                                     {{103, 112}, {131, 140}, {148, 157}, {163, 171}}};
  static const TwoDetectorRule kAtz4{" (Zone 1.5k)", {{135, 148}, {153, 165}},
                                     " (Zone k82)",  {{115, 128}, {153, 165}},
                                     {{79, 90}, {115, 128}, {135, 148}, {153, 165}},
                                     {{81, 89}, {117, 126}, {137, 146}, {155, 163}}};
  switch (mode) {
    case InputMode::Atz2: return kAtz2;
    case InputMode::Atz3: return kAtz3;
    case InputMode::Atz4: return kAtz4;
    default: return kAtz1;
  }
}

Outcome classifyTwoDetectors(InputMode mode, int v) {
  const TwoDetectorRule& rule = twoDetectorRule(mode);
  Outcome out;
  auto add = [&out](std::string_view text, unsigned flag) {
    out.texts.push_back(text);
    out.flags |= flag;
  };
  if (inAny(rule.a, v)) add(rule.aText, kFlagA);
  if (inAny(rule.b, v)) add(rule.bText, kFlagB);
  if (!inAny(rule.lineInRange, v)) add(kLineError, kFlagE);
  if (inAny(rule.lineOk, v))
    add(kLineOk, kFlagK);
  else
    add(kNotStable, kFlagU);
  return out;
}

// The picture table: one row per rule, one column per mode.
constexpr int kNone = 0;
constexpr std::array<std::array<int, kModeCount>, 6> kPictures = {{
    {181, 180, 182, 176, 180, 180, 157, 160, 165, 171},                     // A set; B, E, U clear
    {174, 183, 185, 184, 183, 185, 156, 159, 164, 170},                     // B set; A, E, U clear
    {kNone, kNone, kNone, kNone, kNone, kNone, 155, 161, 166, 172},         // A and B set, E clear
    {kNone, kNone, kNone, kNone, kNone, kNone, 158, 162, 167, 173},         // E set
    {kNone, kNone, kNone, kNone, kNone, kNone, 154, 163, 168, 169},         // exactly K
    {175, 175, 175, 175, 175, 175, kNone, kNone, kNone, kNone},             // exactly U
}};

int matchingRule(unsigned f) {
  const bool a = f & kFlagA, b = f & kFlagB, e = f & kFlagE, u = f & kFlagU;
  if (a && !b && !e && !u) return 0;
  if (b && !a && !e && !u) return 1;
  if (a && b && !e) return 2;
  if (e) return 3;
  if (f == kFlagK) return 4;
  if (f == kFlagU) return 5;
  return -1;
}

}  // namespace

std::string_view modeName(InputMode mode) { return kModeNames.at(static_cast<std::size_t>(mode)); }

bool isTwoDetectorMode(InputMode mode) { return mode >= InputMode::Atz1; }

bool modeFromName(std::string_view name, InputMode& mode) {
  const auto same = [](std::string_view x, std::string_view y) {
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](char p, char q) {
             return std::tolower(static_cast<unsigned char>(p)) == std::tolower(static_cast<unsigned char>(q));
           });
  };
  for (int i = 0; i < kModeCount; ++i)
    if (same(name, kModeNames[static_cast<std::size_t>(i)])) {
      mode = static_cast<InputMode>(i);
      return true;
    }
  return false;
}

double lineResistance(std::uint8_t raw) {
  const double v = raw;
  return (255000.0 - 3000.0 * v) / (v - 255.0);
}

Outcome classify(InputMode mode, std::uint8_t raw) {
  return isTwoDetectorMode(mode) ? classifyTwoDetectors(mode, raw) : classifyOneContact(mode, raw);
}

PictureChoice pictureFor(InputMode mode, unsigned flags) {
  const int rule = matchingRule(flags);
  if (rule < 0) return {PictureChoice::Kind::Keep, 0};
  const int id = kPictures[static_cast<std::size_t>(rule)][static_cast<std::size_t>(mode)];
  return id == kNone ? PictureChoice{PictureChoice::Kind::Clear, 0} : PictureChoice{PictureChoice::Kind::Show, id};
}

const std::vector<int>& pictureIds() {
  static const std::vector<int> ids = [] {
    std::vector<int> out;
    for (int id = 154; id <= 176; ++id) out.push_back(id);
    for (int id = 180; id <= 185; ++id) out.push_back(id);
    return out;
  }();
  return ids;
}

std::string formatResistance(std::uint8_t raw) {
  // An open loop has no finite resistance; keep the five-place column.
  if (raw == 255) return "  inf";
  const double ohms = lineResistance(raw);
  // Raw 85 computes as -0, which is 0 ohms.
  return strprintf("%5.0f", ohms == 0.0 ? 0.0 : ohms);
}

std::string formatInputLine(int input, std::uint8_t raw, InputMode mode) {
  std::string line = strprintf("i%d=%3d / R\u2248", input, raw) + formatResistance(raw) + " Ohm";
  for (std::string_view text : classify(mode, raw).texts) line += tr(text);
  line += "\r\n";
  return line;
}

std::string formatReadings(const Readings& readings, InputMode mode) {
  std::string text;
  for (int i = 0; i < kInputCount; ++i) text += formatInputLine(i + 1, readings[static_cast<std::size_t>(i)], mode);
  return text;
}

}  // namespace wk::diag
