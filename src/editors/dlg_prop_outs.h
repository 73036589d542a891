#pragma once
// The "Outputs" page: one grid row per switched output, with what it is in use
// by, the thermosensor and hysteresis of a thermostat, its type, an inverse
// flag and two aliases. Every end of edit stores every output; picking a use
// stores that use; the inverse flags are stored only when the document
// collects its pages.
#include "widgets/section_page.h"

namespace wk {

class Grid;
struct OutputRow;

class CDlgPropOuts : public SectionPage {
 public:
  static constexpr int kGridId = 104;
  static constexpr int kRows = 7;  // the header row and outputs 1..6
  static constexpr int kColumns = 9;
  enum Column { kTitle, kUse, kSensor, kHysteresisLow, kHysteresisHigh, kType, kInverse, kAliasOff, kAliasOn };

  CDlgPropOuts(const PageContext& context, QWidget* parent);
  // Its grid, going with it, may still end an edit: that reaches this page no more.
  ~CDlgPropOuts() override;

  std::vector<ImageBlock> regions() const override { return {image::OutputRecords, image::OutputAliases}; }
  void TransferImage(TransferDirection direction) override;

  Grid& grid() const { return *grid_; }

  // The grid's end of edit: stores the sensor, hysteresis, type and aliases
  // of every output.
  void StoreAllOutputs(int row, int col);
  // The grid's list selection: stores the use picked in column 1.
  void StoreOutputUse(int row, int col);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void showRow(int row, const OutputRow& shown);
  OutputRow rowInGrid(int row) const;
  void colourRow(int row);

  Grid* grid_;
};

}  // namespace wk
