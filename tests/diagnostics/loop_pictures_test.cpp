// The loop pictures: one for every number the rules use, each a drawing of
// its own that says what the rule says, and a contact sheet of them all.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QImage>
#include <QPainter>
#include <map>
#include <set>

#include "diagnostics/input_lines.h"
#include "diagnostics/ui/loop_pictures.h"

namespace wk::diag {
namespace {

QImage render(int id) {
  QImage image(kLoopPictureSize, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  drawLoopPicture(painter, QRectF(image.rect()), id);
  return image;
}

// Every (mode, rule) that leads to each picture, as "ATZ1 A", "0 Set U", ...
std::map<int, std::vector<std::string>> rulesOfEachPicture() {
  const std::vector<std::pair<const char*, unsigned>> rules = {
      {"A", kFlagA}, {"B", kFlagB}, {"A+B", kFlagA | kFlagB}, {"E", kFlagE}, {"K", kFlagK}, {"U", kFlagU}};
  std::map<int, std::vector<std::string>> out;
  for (int m = 0; m < kModeCount; ++m)
    for (const auto& [name, flags] : rules) {
      const auto mode = static_cast<InputMode>(m);
      const PictureChoice c = pictureFor(mode, flags);
      if (c.kind == PictureChoice::Kind::Show) out[c.id].push_back(std::string(modeName(mode)) + " " + name);
    }
  return out;
}

TEST(LoopPictures, EveryNumberHasADrawingOfItsOwn) {
  std::set<QByteArray> seen;
  for (int id : pictureIds()) {
    SCOPED_TRACE(id);
    ASSERT_NE(loopScene(id), nullptr);
    const QImage image = render(id);
    // A drawing, not a blank: a good share of the pixels carry ink.
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) < 200) ++inked;
    EXPECT_GT(inked, image.width() * image.height() / 25);
    const QByteArray hash = QCryptographicHash::hash(
        QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()), QCryptographicHash::Sha1);
    EXPECT_TRUE(seen.insert(hash).second) << "the same drawing as another picture";
  }
  for (int id : {0, 153, 177, 178, 179, 186}) EXPECT_EQ(loopScene(id), nullptr);
}

// Each picture shows what its rule says about the line.
TEST(LoopPictures, EachDrawingSaysWhatItsRuleSays) {
  for (int m = 0; m < kModeCount; ++m) {
    const auto mode = static_cast<InputMode>(m);
    SCOPED_TRACE(std::string(modeName(mode)));
    const auto scene = [mode](unsigned flags) {
      const PictureChoice c = pictureFor(mode, flags);
      return c.kind == PictureChoice::Kind::Show ? loopScene(c.id) : nullptr;
    };
    const LoopScene* a = scene(kFlagA);
    const LoopScene* b = scene(kFlagB);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->lamp, Lamp::Alarm);
    if (isTwoDetectorMode(mode)) {
      const LoopScene* both = scene(kFlagA | kFlagB);
      const LoopScene* error = scene(kFlagE);
      const LoopScene* ok = scene(kFlagK);
      ASSERT_TRUE(both && error && ok);
      for (const LoopScene* s : {a, b, both, error, ok}) {
        EXPECT_TRUE(s->twoDetectors);
        EXPECT_STREQ(s->tag, std::string(modeName(mode)).c_str());
      }
      // The zone of the first text opens the first detector, the other the second.
      EXPECT_EQ(std::pair(a->first, a->second), std::pair(ContactState::Open, ContactState::Closed));
      EXPECT_EQ(std::pair(b->first, b->second), std::pair(ContactState::Closed, ContactState::Open));
      EXPECT_EQ(std::pair(both->first, both->second), std::pair(ContactState::Open, ContactState::Open));
      EXPECT_EQ(std::pair(ok->first, ok->second), std::pair(ContactState::Closed, ContactState::Closed));
      EXPECT_EQ(b->lamp, Lamp::Alarm);
      EXPECT_EQ(both->lamp, Lamp::Alarm);
      EXPECT_EQ(ok->lamp, Lamp::Quiet);
      EXPECT_EQ(error->lamp, Lamp::LineError);
      EXPECT_EQ(error->mark, LineMark::CutOrShort);
      // The detectors' resistors are the zones of the texts.
      const bool twoTwo = mode == InputMode::Atz1 || mode == InputMode::Atz2;
      EXPECT_STREQ(a->firstValue, twoTwo ? "2.2k" : "1.5k");
      EXPECT_STREQ(a->secondValue, twoTwo ? "1k" : "k82");
    } else {
      EXPECT_FALSE(a->twoDetectors);
      EXPECT_EQ(b->lamp, Lamp::Quiet);
      EXPECT_EQ(scene(kFlagU)->lamp, Lamp::NotStable);
    }
  }
  // One contact: the pictures with a definite line state draw it.
  EXPECT_EQ(loopScene(182)->first, ContactState::Open);  // "1 Set yes": the loop is open
  EXPECT_EQ(loopScene(176)->mark, LineMark::ShortOrOpen);
  EXPECT_EQ(loopScene(181)->mark, LineMark::EndResistorWrong);
  EXPECT_STREQ(loopScene(174)->endResistor, "1k");
  EXPECT_EQ(loopScene(175)->first, ContactState::Flicker);
}

// All pictures on one sheet with their numbers and the rules that show them.
TEST(LoopPictures, ContactSheet) {
  const auto rules = rulesOfEachPicture();
  const int columns = 5;
  const QSize cell(kLoopPictureSize.width() + 20, kLoopPictureSize.height() + 58);
  const int count = static_cast<int>(pictureIds().size());
  QImage sheet(columns * cell.width(), (count + columns - 1) / columns * cell.height() + 10, QImage::Format_RGB32);
  sheet.fill(QColor(0xf2, 0xf3, 0xf5));
  QPainter painter(&sheet);
  for (int i = 0; i < count; ++i) {
    const int id = pictureIds()[static_cast<std::size_t>(i)];
    const QPoint origin((i % columns) * cell.width() + 10, (i / columns) * cell.height() + 10);
    drawLoopPicture(painter, QRectF(origin, QSizeF(kLoopPictureSize)), id);
    QFont font = painter.font();
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRect caption(origin.x(), origin.y() + kLoopPictureSize.height() + 2, kLoopPictureSize.width(), 18);
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, QString::number(id));
    font.setBold(false);
    font.setPixelSize(11);
    painter.setFont(font);
    QStringList used;
    for (const auto& r : rules.at(id)) used << QString::fromStdString(r);
    if (id == kStartPicture) used << QStringLiteral("start");
    painter.drawText(QRect(caption.x() + 32, caption.y(), caption.width() - 32, 36), Qt::TextWordWrap,
                     used.join(QStringLiteral(", ")));
  }
  painter.end();
  EXPECT_EQ(rules.size(), pictureIds().size());
  const QByteArray dir = qgetenv("WK_SCREENSHOT_DIR");
  if (!dir.isEmpty()) {
    EXPECT_TRUE(sheet.save(QString::fromLocal8Bit(dir) + QStringLiteral("/loop-pictures.png")));
  }
}

}  // namespace
}  // namespace wk::diag
