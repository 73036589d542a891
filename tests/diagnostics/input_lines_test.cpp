// The input-line rules: resistance, the outcome of every mode over the whole
// range of readings, the picture rules and the result line.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "diagnostics/input_lines.h"
#include "language/translate.h"
#include "support/lng_file.h"
#include "support/temp_dir.h"

namespace wk::diag {
namespace {

constexpr int kKeep = -1;
constexpr int kClear = 0;

// A run of readings with one outcome: texts joined, flags as letters, and
// the picture of the selected input (kKeep, kClear or its number).
struct Segment {
  InputMode mode;
  int low, high;
  const char* texts;
  const char* flags;
  int picture;
};

std::string joined(const Outcome& o) {
  std::string s;
  for (auto t : o.texts) s += t;
  return s;
}

std::string letters(unsigned flags) {
  std::string s;
  if (flags & kFlagA) s += 'A';
  if (flags & kFlagB) s += 'B';
  if (flags & kFlagE) s += 'E';
  if (flags & kFlagK) s += 'K';
  if (flags & kFlagU) s += 'U';
  return s;
}

int pictureNumber(const PictureChoice& c) {
  switch (c.kind) {
    case PictureChoice::Kind::Show: return c.id;
    case PictureChoice::Kind::Clear: return kClear;
    default: return kKeep;
  }
}

using M = InputMode;
constexpr const char* kErrUnstable = " (Line ERR) (Not stable)";
constexpr const char* kUnstable = " (Not stable)";

// Each mode's readings 0..255 split into runs, written out from the rules by hand.
const std::vector<Segment> kSegments = {
    {M::Lost1K, 0, 103, " (R <> 1kOhm)", "A", 181},
    {M::Lost1K, 104, 160, " (R = 1kOhm ok)", "B", 174},
    {M::Lost1K, 161, 255, " (R <> 1kOhm)", "A", 181},

    {M::Set0, 0, 131, " (0 Set yes)", "A", 180},
    {M::Set0, 132, 140, kUnstable, "U", 175},
    {M::Set0, 141, 255, " (0 Set no)", "B", 183},

    {M::Set1, 0, 214, " (1 Set no)", "B", 185},
    {M::Set1, 215, 223, kUnstable, "U", 175},
    {M::Set1, 224, 255, " (1 Set yes)", "A", 182},

    {M::Set0Or1, 0, 131, " (0 or 1 Set yes)", "A", 176},
    {M::Set0Or1, 132, 140, kUnstable, "U", 175},
    {M::Set0Or1, 141, 214, " (1 Set no)", "B", 184},
    {M::Set0Or1, 215, 223, kUnstable, "U", 175},
    {M::Set0Or1, 224, 255, " (0 or 1 Set yes)", "A", 176},

    {M::Lost0, 0, 131, " (0 Lost no)", "B", 183},
    {M::Lost0, 132, 140, kUnstable, "U", 175},
    {M::Lost0, 141, 255, " (0 Lost yes)", "A", 180},

    {M::Lost1, 0, 214, " (1 Lost yes)", "A", 180},
    {M::Lost1, 215, 223, kUnstable, "U", 175},
    {M::Lost1, 224, 255, " (1 Lost no)", "B", 185},

    {M::Atz1, 0, 120, kErrUnstable, "EU", 158},
    {M::Atz1, 121, 122, kUnstable, "U", kClear},
    {M::Atz1, 123, 132, " (Line OK)", "K", 154},
    {M::Atz1, 133, 134, kUnstable, "U", kClear},
    {M::Atz1, 135, 145, kErrUnstable, "EU", 158},
    {M::Atz1, 146, 147, " (Zone 1k) (Not stable)", "BU", kKeep},
    {M::Atz1, 148, 157, " (Zone 1k) (Line OK)", "BK", 156},
    {M::Atz1, 158, 159, " (Zone 1k) (Not stable)", "BU", kKeep},
    {M::Atz1, 160, 161, kErrUnstable, "EU", 158},
    {M::Atz1, 162, 162, " (Zone 2.2k) (Not stable)", "AU", kKeep},
    {M::Atz1, 163, 171, " (Zone 2.2k) (Line OK)", "AK", 157},
    {M::Atz1, 172, 172, " (Zone 2.2k) (Not stable)", "AU", kKeep},
    {M::Atz1, 173, 173, " (Zone 2.2k) (Zone 1k) (Not stable)", "ABU", 155},
    {M::Atz1, 174, 181, " (Zone 2.2k) (Zone 1k) (Line OK)", "ABK", 155},
    {M::Atz1, 182, 182, " (Zone 2.2k) (Zone 1k) (Not stable)", "ABU", 155},
    {M::Atz1, 183, 255, kErrUnstable, "EU", 158},

    {M::Atz2, 0, 78, kErrUnstable, "EU", 162},
    {M::Atz2, 79, 80, kUnstable, "U", kClear},
    {M::Atz2, 81, 89, " (Line OK)", "K", 163},
    {M::Atz2, 90, 90, kUnstable, "U", kClear},
    {M::Atz2, 91, 120, kErrUnstable, "EU", 162},
    {M::Atz2, 121, 122, " (Zone 1k) (Not stable)", "BU", kKeep},
    {M::Atz2, 123, 132, " (Zone 1k) (Line OK)", "BK", 159},
    {M::Atz2, 133, 134, " (Zone 1k) (Not stable)", "BU", kKeep},
    {M::Atz2, 135, 149, kErrUnstable, "EU", 162},
    {M::Atz2, 150, 151, " (Zone 2.2k) (Not stable)", "AU", kKeep},
    {M::Atz2, 152, 159, " (Zone 2.2k) (Line OK)", "AK", 160},
    {M::Atz2, 160, 161, " (Zone 2.2k) (Line ERR) (Line OK)", "AEK", 162},
    {M::Atz2, 162, 162, " (Zone 2.2k) (Zone 1k) (Not stable)", "ABU", 161},
    {M::Atz2, 163, 171, " (Zone 2.2k) (Zone 1k) (Line OK)", "ABK", 161},
    {M::Atz2, 172, 172, " (Zone 2.2k) (Zone 1k) (Not stable)", "ABU", 161},
    {M::Atz2, 173, 255, kErrUnstable, "EU", 162},

    {M::Atz3, 0, 101, kErrUnstable, "EU", 167},
    {M::Atz3, 102, 102, kUnstable, "U", kClear},
    {M::Atz3, 103, 112, " (Line OK)", "K", 168},
    {M::Atz3, 113, 114, kUnstable, "U", kClear},
    {M::Atz3, 115, 128, kErrUnstable, "EU", 167},
    {M::Atz3, 129, 130, " (Zone k82) (Not stable)", "BU", kKeep},
    {M::Atz3, 131, 140, " (Zone k82) (Line OK)", "BK", 164},
    {M::Atz3, 141, 142, " (Zone k82) (Not stable)", "BU", kKeep},
    {M::Atz3, 143, 145, kErrUnstable, "EU", 167},
    {M::Atz3, 146, 147, " (Zone 1.5k) (Not stable)", "AU", kKeep},
    {M::Atz3, 148, 157, " (Zone 1.5k) (Line OK)", "AK", 165},
    {M::Atz3, 158, 158, " (Zone 1.5k) (Not stable)", "AU", kKeep},
    {M::Atz3, 159, 160, kErrUnstable, "EU", 167},
    {M::Atz3, 161, 162, " (Zone 1.5k) (Zone k82) (Not stable)", "ABU", 166},
    {M::Atz3, 163, 171, " (Zone 1.5k) (Zone k82) (Line OK)", "ABK", 166},
    {M::Atz3, 172, 172, " (Zone 1.5k) (Zone k82) (Not stable)", "ABU", 166},
    {M::Atz3, 173, 255, kErrUnstable, "EU", 167},

    {M::Atz4, 0, 78, kErrUnstable, "EU", 173},
    {M::Atz4, 79, 80, kUnstable, "U", kClear},
    {M::Atz4, 81, 89, " (Line OK)", "K", 169},
    {M::Atz4, 90, 90, kUnstable, "U", kClear},
    {M::Atz4, 91, 114, kErrUnstable, "EU", 173},
    {M::Atz4, 115, 116, " (Zone k82) (Not stable)", "BU", kKeep},
    {M::Atz4, 117, 126, " (Zone k82) (Line OK)", "BK", 170},
    {M::Atz4, 127, 128, " (Zone k82) (Not stable)", "BU", kKeep},
    {M::Atz4, 129, 134, kErrUnstable, "EU", 173},
    {M::Atz4, 135, 136, " (Zone 1.5k) (Not stable)", "AU", kKeep},
    {M::Atz4, 137, 146, " (Zone 1.5k) (Line OK)", "AK", 171},
    {M::Atz4, 147, 148, " (Zone 1.5k) (Not stable)", "AU", kKeep},
    {M::Atz4, 149, 152, kErrUnstable, "EU", 173},
    {M::Atz4, 153, 154, " (Zone 1.5k) (Zone k82) (Not stable)", "ABU", 172},
    {M::Atz4, 155, 163, " (Zone 1.5k) (Zone k82) (Line OK)", "ABK", 172},
    {M::Atz4, 164, 165, " (Zone 1.5k) (Zone k82) (Not stable)", "ABU", 172},
    {M::Atz4, 166, 255, kErrUnstable, "EU", 173},
};

TEST(InputClassification, EveryReadingOfEveryModeFallsInItsRun) {
  for (int m = 0; m < kModeCount; ++m) {
    const auto mode = static_cast<InputMode>(m);
    int next = 0;  // the runs of a mode cover 0..255 without gaps
    for (const Segment& s : kSegments) {
      if (s.mode != mode) continue;
      ASSERT_EQ(s.low, next) << modeName(mode);
      next = s.high + 1;
      for (int v = s.low; v <= s.high; ++v) {
        const Outcome o = classify(mode, static_cast<std::uint8_t>(v));
        SCOPED_TRACE(std::string(modeName(mode)) + " raw " + std::to_string(v));
        EXPECT_EQ(joined(o), s.texts);
        EXPECT_EQ(letters(o.flags), s.flags);
        EXPECT_EQ(pictureNumber(pictureFor(mode, o.flags)), s.picture);
      }
    }
    EXPECT_EQ(next, 256) << modeName(mode);
  }
}

TEST(InputClassification, CasesAnInstallerMeets) {
  EXPECT_EQ(joined(classify(M::Lost1K, 128)), " (R = 1kOhm ok)");
  const Outcome notStable = classify(M::Set0, 136);
  EXPECT_EQ(joined(notStable), " (Not stable)");
  EXPECT_EQ(pictureFor(M::Set0, notStable.flags), (PictureChoice{PictureChoice::Kind::Show, 175}));
  EXPECT_EQ(joined(classify(M::Atz1, 150)), " (Zone 1k) (Line OK)");
  EXPECT_EQ(pictureFor(M::Atz1, classify(M::Atz1, 150).flags).id, 156);
  EXPECT_EQ(joined(classify(M::Atz1, 175)), " (Zone 2.2k) (Zone 1k) (Line OK)");
  EXPECT_EQ(pictureFor(M::Atz1, classify(M::Atz1, 175).flags).id, 155);
  EXPECT_EQ(joined(classify(M::Atz3, 10)), " (Line ERR) (Not stable)");
  EXPECT_EQ(pictureFor(M::Atz3, classify(M::Atz3, 10).flags).id, 167);
  EXPECT_EQ(joined(classify(M::Atz2, 160)), " (Zone 2.2k) (Line ERR) (Line OK)");
  EXPECT_EQ(joined(classify(M::Atz2, 161)), " (Zone 2.2k) (Line ERR) (Line OK)");
}

TEST(InputPictures, RulesApplyInOrderOnTheNamedFlagsOnly) {
  using K = PictureChoice::Kind;
  // The line-OK flag does not stop the single-zone rules.
  EXPECT_EQ(pictureFor(M::Atz4, kFlagA | kFlagK), (PictureChoice{K::Show, 171}));
  // Both zones win over not stable, but not over a line error.
  EXPECT_EQ(pictureFor(M::Atz1, kFlagA | kFlagB | kFlagU), (PictureChoice{K::Show, 155}));
  EXPECT_EQ(pictureFor(M::Atz1, kFlagA | kFlagB | kFlagE | kFlagU), (PictureChoice{K::Show, 158}));
  EXPECT_EQ(pictureFor(M::Atz3, kFlagB | kFlagE), (PictureChoice{K::Show, 167}));
  // Nothing for the one-contact modes where the table says none.
  EXPECT_EQ(pictureFor(M::Set1, kFlagA | kFlagB), (PictureChoice{K::Clear, 0}));
  EXPECT_EQ(pictureFor(M::Lost1K, kFlagE), (PictureChoice{K::Clear, 0}));
  EXPECT_EQ(pictureFor(M::Lost0, kFlagK), (PictureChoice{K::Clear, 0}));
  // Exactly K and exactly U only.
  EXPECT_EQ(pictureFor(M::Atz2, kFlagK), (PictureChoice{K::Show, 163}));
  EXPECT_EQ(pictureFor(M::Atz2, kFlagU), (PictureChoice{K::Clear, 0}));
  EXPECT_EQ(pictureFor(M::Lost1K, kFlagU), (PictureChoice{K::Show, 175}));
  EXPECT_EQ(pictureFor(M::Set0Or1, kFlagK | kFlagU), (PictureChoice{K::Keep, 0}));
  EXPECT_EQ(pictureFor(M::Set0Or1, 0), (PictureChoice{K::Keep, 0}));
}

TEST(InputPictures, TheRulesUseEveryNumberedPictureAndNoOther) {
  std::set<int> used;
  for (int m = 0; m < kModeCount; ++m)
    for (unsigned flags = 0; flags < 32; ++flags) {
      const PictureChoice c = pictureFor(static_cast<InputMode>(m), flags);
      if (c.kind == PictureChoice::Kind::Show) used.insert(c.id);
    }
  std::set<int> numbered;
  for (int id = 154; id <= 176; ++id) numbered.insert(id);
  for (int id = 180; id <= 185; ++id) numbered.insert(id);
  EXPECT_EQ(used, numbered);
  EXPECT_EQ(std::set<int>(pictureIds().begin(), pictureIds().end()), numbered);
  EXPECT_EQ(pictureIds().size(), 29u);
}

TEST(InputModes, NamesInButtonOrderAndLookup) {
  const std::vector<std::string> names = {"1K Lost", "0 Set", "1 Set", "0 or 1 set", "0 Lost",
                                          "1 Lost",  "ATZ1",  "ATZ2",  "ATZ3",       "ATZ4"};
  for (int m = 0; m < kModeCount; ++m) {
    EXPECT_EQ(modeName(static_cast<InputMode>(m)), names[static_cast<std::size_t>(m)]);
    InputMode found{};
    ASSERT_TRUE(modeFromName(names[static_cast<std::size_t>(m)], found));
    EXPECT_EQ(found, static_cast<InputMode>(m));
  }
  InputMode found{};
  EXPECT_TRUE(modeFromName("atz3", found));
  EXPECT_EQ(found, M::Atz3);
  EXPECT_TRUE(modeFromName("0 OR 1 SET", found));
  EXPECT_EQ(found, M::Set0Or1);
  EXPECT_FALSE(modeFromName("ATZ5", found));
  EXPECT_FALSE(modeFromName("", found));
  EXPECT_FALSE(modeFromName("0 Set ", found));
  EXPECT_EQ(kStartMode, M::Atz1);
}

TEST(LineResistance, Formula) {
  EXPECT_NEAR(lineResistance(128), 1015.748, 0.001);
  EXPECT_EQ(lineResistance(85), 0.0);
  EXPECT_NEAR(lineResistance(0), -1000.0, 1e-9);
  EXPECT_NEAR(lineResistance(84), -17.544, 0.001);
  EXPECT_NEAR(lineResistance(170), 3000.0, 1e-9);
  EXPECT_NEAR(lineResistance(254), 507000.0, 1e-6);
  EXPECT_TRUE(std::isinf(lineResistance(255)));
  // The other way round: raw = 255 (R + 1000) / (R + 3000).
  for (int raw = 86; raw < 255; ++raw) {
    const double r = lineResistance(static_cast<std::uint8_t>(raw));
    EXPECT_NEAR(255.0 * (r + 1000.0) / (r + 3000.0), raw, 1e-9);
  }
}

TEST(InputLineText, FormatColumnsAndTexts) {
  ClearTranslations();
  EXPECT_EQ(formatInputLine(1, 128, M::Lost1K), "i1=128 / R\u2248 1016 Ohm (R = 1kOhm ok)\r\n");
  EXPECT_EQ(formatInputLine(8, 5, M::Set0), "i8=  5 / R\u2248 -960 Ohm (0 Set yes)\r\n");
  EXPECT_EQ(formatInputLine(2, 85, M::Set0), "i2= 85 / R\u2248    0 Ohm (0 Set yes)\r\n");
  EXPECT_EQ(formatInputLine(3, 0, M::Atz2), "i3=  0 / R\u2248-1000 Ohm (Line ERR) (Not stable)\r\n");
  EXPECT_EQ(formatInputLine(4, 84, M::Set0), "i4= 84 / R\u2248  -18 Ohm (0 Set yes)\r\n");
  EXPECT_EQ(formatInputLine(5, 254, M::Set1), "i5=254 / R\u2248507000 Ohm (1 Set yes)\r\n");
  // An open loop keeps the column.
  EXPECT_EQ(formatInputLine(6, 255, M::Set1), "i6=255 / R\u2248  inf Ohm (1 Set yes)\r\n");
  EXPECT_EQ(formatInputLine(7, 175, M::Atz1), "i7=175 / R\u2248 3375 Ohm (Zone 2.2k) (Zone 1k) (Line OK)\r\n");
}

TEST(InputLineText, AllEightLinesJoined) {
  ClearTranslations();
  const Readings r{128, 136, 150, 175, 10, 255, 85, 200};
  EXPECT_EQ(formatReadings(r, M::Set0),
            "i1=128 / R\u2248 1016 Ohm (0 Set yes)\r\n"
            "i2=136 / R\u2248 1286 Ohm (Not stable)\r\n"
            "i3=150 / R\u2248 1857 Ohm (0 Set no)\r\n"
            "i4=175 / R\u2248 3375 Ohm (0 Set no)\r\n"
            "i5= 10 / R\u2248 -918 Ohm (0 Set yes)\r\n"
            "i6=255 / R\u2248  inf Ohm (0 Set no)\r\n"
            "i7= 85 / R\u2248    0 Ohm (0 Set yes)\r\n"
            "i8=200 / R\u2248 6273 Ohm (0 Set no)\r\n");
}

TEST(InputLineText, ResultTextsAreTranslatedOneByOne) {
  test::TempDir dir;
  test::writeLanguageFile(dir.file("t.lng"), {{" (Zone 1k)", " (Зона 1к)"}, {" (Line OK)", " (Линия в норме)"}});
  LoadTranslations(dir.file("t.lng"));
  EXPECT_EQ(formatInputLine(1, 150, M::Atz1), "i1=150 / R\u2248 1857 Ohm (Зона 1к) (Линия в норме)\r\n");
  ClearTranslations();
}

}  // namespace
}  // namespace wk::diag
