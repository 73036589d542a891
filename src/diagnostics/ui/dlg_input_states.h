#pragma once
// "Online Resistance Reading": polls the controller ten times a second for
// the raw reading of every input, shows each as a resistance with the
// outcome of the chosen wiring mode, and the picture of one input. The port
// stays open from the start until the dialog ends, whichever way it ends.
#include <QDialog>
#include <QTimer>
#include <array>
#include <memory>

#include "diagnostics/input_lines.h"
#include "link/device_session.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace wk::diag {

class InputReader;
class LoopPictureView;

class CDlgInputStates : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kPeriodMs = 100;

  CDlgInputStates(const link::DeviceLink& device, QWidget* parent = nullptr);
  ~CDlgInputStates() override;

  // Opens the port and starts the timer; false when the port did not open
  // (the user was told), and the dialog must end at once.
  bool start();
  // start(), then the modal dialog; Rejected at once when the port did not open.
  int exec() override;
  // Every way out (OK, Cancel, Escape, the close button, an error) comes
  // through here: the timer stops and the port is closed.
  void done(int result) override;

  InputMode mode() const;
  int selectedInput() const;  // 1..8

  QRadioButton* modeButton(InputMode mode) const { return modes_[static_cast<std::size_t>(mode)]; }
  QComboBox* inputList() const { return inputList_; }
  QPlainTextEdit* resultText() const { return result_; }
  LoopPictureView* pictureView() const { return picture_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  bool polling() const { return timer_.isActive(); }
  // How often the text field was rewritten.
  int redraws() const { return redraws_; }

 private:
  void OnTimer();
  void OnSelectionChanged();

  link::DeviceLink device_;
  std::unique_ptr<InputReader> reader_;
  QTimer timer_;
  std::array<QRadioButton*, kModeCount> modes_{};
  QButtonGroup* modeGroup_;
  QComboBox* inputList_;
  QPlainTextEdit* result_;
  LoopPictureView* picture_;
  QPushButton* ok_;
  QPushButton* cancel_;
  int redraws_ = 0;
};

}  // namespace wk::diag
