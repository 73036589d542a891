#pragma once
// The "User Events" page: one grid row per user event, an alarm raised by a
// thermosensor's temperature, with its workmode, sensor, Lo and Hi thresholds,
// condition and multiaction. Every end of edit stores the whole row.
#include "widgets/section_page.h"

namespace wk {

class Grid;
struct UserEventRow;

class CDlgPropInsuser : public SectionPage {
 public:
  static constexpr int kGridId = 103;
  static constexpr int kRows = 17;  // the header row and user events 1..16
  static constexpr int kColumns = 7;
  enum Column { kTitle, kWorkmode, kSensor, kLo, kHi, kCondition, kMultiaction };

  CDlgPropInsuser(const PageContext& context, QWidget* parent);
  // Its grid, going with it, may still end an edit: that reaches this page no more.
  ~CDlgPropInsuser() override;

  std::vector<ImageBlock> regions() const override { return {image::UserEventRecords, image::UserEventBlock}; }
  void TransferImage(TransferDirection direction) override;

  Grid& grid() const { return *grid_; }

  // The grid's end of edit for row, col: stores the whole row.
  void StoreRow(int row, int col);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void showRow(int row, const UserEventRow& shown);
  UserEventRow rowInGrid(int row) const;
  void colourRow(int row);

  Grid* grid_;
};

}  // namespace wk
