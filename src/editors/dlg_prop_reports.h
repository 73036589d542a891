#pragma once
// The "Reports" page: one grid column per SMS request "?0".."?9", one row per
// thing a report can hold (check boxes), the period at which the controller
// sends the report unasked (a list) and the eight "My numbers" it goes to
// (check boxes). Every move of the focus to another cell stores the whole
// grid, so the image follows the user's clicks at once.
#include "widgets/section_page.h"

namespace wk {

class Grid;

class CDlgPropReports : public SectionPage {
 public:
  static constexpr int kRows = 74;     // the header row, 64 items, the period, 8 numbers
  static constexpr int kColumns = 11;  // the labels and requests ?0..?9
  static constexpr int kPeriodRow = 65;
  static constexpr int kFirstNumberRow = 66;
  static constexpr int kRequestWidth = 90;
  // The grid is made this wide; the label column is that less kLabelSlack
  // and keeps its width when the page is resized.
  static constexpr int kCreatedWidth = 179;
  static constexpr int kLabelSlack = 22;

  CDlgPropReports(const PageContext& context, QWidget* parent);
  // Its grid, going with it, may still end an edit: that reaches this page no more.
  ~CDlgPropReports() override;

  std::vector<ImageBlock> regions() const override { return {image::CommonSettings}; }
  void TransferImage(TransferDirection direction) override;

  Grid& grid() const { return *grid_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void buildGrid();
  void showPeriods();
  void focusMoved();
  void editEnded(int row, int col);

  Grid* grid_;
};

}  // namespace wk
