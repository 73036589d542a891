#pragma once
// The pictures of the input reading: the loop as it is wired for a mode, and
// what the reading says it does (quiet, alarm, not stable, line error), so
// that an installer sees at a glance what the line does. Each is drawn by
// code from a short description, identified by its number 154..176 and
// 180..185.
#include <QPixmap>
#include <QWidget>
#include <optional>

class QPainter;

namespace wk::diag {

// What the lamp in the corner says.
enum class Lamp { Quiet, Alarm, NotStable, LineError };
// How a contact is drawn.
enum class ContactState {
  Closed,
  Open,
  Flicker,   // between closed and open
  Detector,  // a detector whose contact position the picture does not tell
};
// A fault drawn on the line.
enum class LineMark {
  None,
  EndResistorWrong,  // the end-of-line resistor is not what the line shows
  ShortOrOpen,       // shorted across, or open
  CutOrShort,        // the line is cut or shorted: outside every expected value
  Tripped,           // the detector changed state
};

struct LoopScene {
  int id;
  const char* tag;  // the mode the picture belongs to, top left ("ATZ1", "0", "1", "0|1", "1k"), or ""
  bool twoDetectors;
  Lamp lamp;
  ContactState first;   // the only contact, or detector A of a two-detector line
  ContactState second;  // detector B
  const char* firstValue;   // the detectors' resistors
  const char* secondValue;
  const char* endResistor;  // nullptr: the line ends without one
  LineMark mark;
};

// The description of picture id; nullptr for a number that has no picture.
const LoopScene* loopScene(int id);

// Draws picture id into target, keeping its proportions, centred.
void drawLoopPicture(QPainter& painter, const QRectF& target, int id);
// The picture at its natural size (kLoopPictureSize) or at size.
inline constexpr QSize kLoopPictureSize{240, 150};
QPixmap loopPicture(int id, QSize size = kLoopPictureSize);

// The picture field of the dialog: one of the pictures, or empty.
class LoopPictureView : public QWidget {
 public:
  explicit LoopPictureView(QWidget* parent = nullptr);
  void setPicture(std::optional<int> id);
  std::optional<int> picture() const { return id_; }
  QSize sizeHint() const override { return kLoopPictureSize; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<int> id_;
};

}  // namespace wk::diag
