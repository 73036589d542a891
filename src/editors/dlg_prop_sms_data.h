#pragma once
// The "SMS Data" page: the controller's 256 notification rules, one grid row
// each (row k + 1 shows record k), with a free comment per rule.
//
// The grid is the working copy: edits change the grid and mark the document
// modified; the image is written only when the document collects its editors
// (before a save or a write to the controller). What a row shows and stores
// is decided by the core (document/notification_row.h); the page moves the
// values between the grid and the records, and keeps the shading up to date.
#include <QColor>
#include <QStringList>
#include <array>
#include <cstdint>

#include "document/notification_row.h"
#include "widgets/section_page.h"

namespace wk {

class Grid;

class CDlgPropSMSData : public SectionPage {
 public:
  enum Column : int {
    kColNumber = 0,
    kColEnabled = 1,
    kColPhone = 2,
    kColCategory = 3,
    kColSource = 4,
    kColCondition = 5,
    kColKind = 6,
    kColText = 7,
    kColSound = 8,
    kColCh1 = 9,  // CH1..CH6 in columns 9..14
    kColCh6 = 14,
    kColSoundLength = 15,
    kColComments = 16,
    kColumnCount = 17,
  };
  static constexpr int kRowCount = 257;
  static constexpr int kHeaderHeight = 30;
  // The height of the row whose "Sound Length" cell has the focus: room for
  // the time editor's arrows.
  static constexpr int kSoundLengthRowHeight = 27;
  static QColor white() { return QColor(0xFF, 0xFF, 0xFF); }
  static QColor grey() { return QColor(0xE0, 0xE0, 0xE0); }

  CDlgPropSMSData(const PageContext& context, QWidget* parent);

  std::vector<ImageBlock> regions() const override { return {image::SmsRecords, image::SmsComments}; }
  void TransferImage(TransferDirection direction) override;

  // Shows category and the source index in it in the row's "Source Category"
  // and "Source" cells, with the category's Source list.
  void SetSourceCell(int row, std::uint8_t category, unsigned index);
  // White "Sound Length" when the rule is on, has a sound and no channel flag.
  void UpdateSoundLengthShade(int row);

  Grid* grid() const { return grid_; }
  // The data rows' height, as the grid had it when the page was built.
  int defaultRowHeight() const { return defaultRowHeight_; }

 private:
  void buildGrid();
  void loadRows();
  void storeRows();
  NotificationRow rowAt(int row) const;
  void showRow(int row, const NotificationRow& values);
  void shade(int row, int col, bool white);

  void editEnded(int row, int col);
  void checkToggled(int row, int col);
  void focusMoved(int row, int col);

  Grid* grid_;
  NotificationTexts texts_;
  // The drop-down items as shown: the Source list of each category, and the
  // other lists.
  std::array<QStringList, source::kCategoryCount> sourceItems_;
  QStringList categoryItems_;
  QStringList conditionItems_;
  QStringList kindItems_;
  QStringList soundItems_;
  int defaultRowHeight_ = 0;
};

}  // namespace wk
