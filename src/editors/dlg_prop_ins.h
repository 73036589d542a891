#pragma once
// The "Main Channels" page: one grid row per input channel, with its workmode,
// input, timeouts, alarm condition, multiaction, two aliases and Follow flag.
// Every end of edit stores the whole row into the image; the Follow flags are
// stored only when the document collects its pages.
#include "widgets/section_page.h"

namespace wk {

class Grid;
struct MainChannelRow;

class CDlgPropIns : public SectionPage {
 public:
  static constexpr int kGridId = 102;
  static constexpr int kRows = 25;  // the header row and channels 1..24
  static constexpr int kColumns = 10;
  enum Column { kTitle, kWorkmode, kInput, kAlarmOn, kAlarmOff, kCondition, kMultiaction, kAliasAlarm, kAliasOk, kFollow };

  CDlgPropIns(const PageContext& context, QWidget* parent);
  // Its grid, going with it, may still end an edit: that reaches this page no more.
  ~CDlgPropIns() override;

  std::vector<ImageBlock> regions() const override {
    return {image::ChannelRecords, image::CommonSettings, image::ChannelAliases};
  }
  void TransferImage(TransferDirection direction) override;

  Grid& grid() const { return *grid_; }

  // The grid's end of edit for row, col: stores the whole row.
  void StoreRow(int row, int col);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void showRow(int row, const MainChannelRow& shown);
  MainChannelRow rowInGrid(int row) const;
  void colourRow(int row);

  Grid* grid_;
};

}  // namespace wk
