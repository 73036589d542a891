#pragma once
// The Connection Setup dialog: picks the serial port that the device
// operations open, stored as the "Port" setting on OK.
#include <QDialog>
#include <QString>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QStandardItemModel;

namespace wk {

class Settings;

// A serial port present on this machine.
struct SerialPortEntry {
  QString name;  // what goes into "Port": a stable /dev/serial/by-id path where there is one
  QString description;
  QString manufacturer;
};

// The serial ports Qt finds, each by its /dev/serial/by-id name when one
// leads to it (an adapter keeps that name whichever USB socket it is in).
std::vector<SerialPortEntry> presentSerialPorts(const QString& byIdFolder = QStringLiteral("/dev/serial/by-id"));

// The name in byIdFolder that leads to device, or device itself.
QString stablePortName(const QString& device, const QString& byIdFolder);

class CDlgConnSetup : public QDialog {
 public:
  // The list shows Com1 to Com10, then ports.
  CDlgConnSetup(Settings& settings, std::vector<SerialPortEntry> ports, QWidget* parent = nullptr);

  QComboBox* portBox() const { return box_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  void accept() override;

 private:
  Settings& settings_;
  QStandardItemModel* model_;
  QComboBox* box_;
  QLabel* label_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

// Runs the dialog modally over parent, with the ports present on this machine,
// on the given settings (the program's stored settings when none are given).
void ConnectionSetup(QWidget* parent, Settings& settings);
void ConnectionSetup(QWidget* parent);

}  // namespace wk
