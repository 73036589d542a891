#pragma once
// The "Miscellaneous" page: the eight "My numbers" on a small grid, the check
// boxes, lists and fields of the controller's general settings, and the
// button that sets the device password. The controls are the working copy:
// the document's collect step stores them, except the password, which goes
// into the image as soon as it is set.
#include <array>

#include "document/misc_settings.h"
#include "widgets/section_page.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace wk {

class Grid;

class CDlgPropMisc : public SectionPage {
 public:
  static constexpr int kRows = 9;  // the header row and numbers 1..8
  static constexpr int kColumns = 2;
  static constexpr int kHeaderHeight = 30;
  static constexpr int kNumberColumnWidth = 30;
  // Where the grid lies on the page, within the "My numbers:" group.
  static constexpr int kGridLeft = 20;
  static constexpr int kGridTop = 30;
  static constexpr int kGridWidth = 140;

  CDlgPropMisc(const PageContext& context, QWidget* parent);
  ~CDlgPropMisc() override;

  std::vector<ImageBlock> regions() const override { return {image::CommonSettings}; }
  void TransferImage(TransferDirection direction) override;
  // False after a collect that met an empty "Start Timeout, sec".
  bool collectComplete() const override { return collectComplete_; }

  // "Set New Pas": asks for the password twice and writes it into the image.
  void SetNewPassword();

  // The controls, for the tests that drive them.
  Grid& grid() const { return *grid_; }
  QGroupBox* numbersGroup() const { return numbersGroup_; }
  QCheckBox* checkBox(MiscCheck which) const;
  QComboBox* incomingCallList() const { return incomingCall_; }
  QComboBox* temperatureFormatList() const { return temperatureFormat_; }
  QComboBox* micGainList() const { return micGain_; }
  QComboBox* speakerVolumeList() const { return speakerVolume_; }
  QRadioButton* analogOutputButton(int code) const { return analogOutput_[static_cast<std::size_t>(code)]; }
  QLineEdit* startTimeoutField() const { return startTimeout_; }
  QToolButton* startTimeoutUp() const { return timeoutUp_; }
  QToolButton* startTimeoutDown() const { return timeoutDown_; }
  QLineEdit* balanceRequestField() const { return balanceRequest_; }
  QPushButton* passwordButton() const { return passwordButton_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // Up and Down in "Start Timeout, sec" work its arrows.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void placeGrid();
  void showPasswordMark(bool hasPassword);
  void stepStartTimeout(int step);
  void markModified();
  void refuseEmptyStartTimeout();

  Grid* grid_;
  QGroupBox* numbersGroup_;
  std::array<QCheckBox*, kMiscChecks.size()> checks_{};
  QComboBox* incomingCall_;
  QComboBox* temperatureFormat_;
  QComboBox* micGain_;
  QComboBox* speakerVolume_;
  QButtonGroup* analogGroup_;
  std::array<QRadioButton*, 2> analogOutput_{};
  QLineEdit* startTimeout_;
  QToolButton* timeoutUp_;
  QToolButton* timeoutDown_;
  QLineEdit* balanceRequest_;
  QPushButton* passwordButton_;
  bool collectComplete_ = true;
};

}  // namespace wk
