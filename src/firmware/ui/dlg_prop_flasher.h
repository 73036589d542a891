#pragma once
// The page "FW Update" of the "Update FW" dialog: "System Info" asks the
// running controller for its model, serial number and firmware version;
// "Flash it!" sends the code file named in the path field through the
// controller's bootloader. Each opens and closes the port itself.
#include <QWidget>

#include "seams/seams.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace wk {

class CDlgPropFlasher : public QWidget {
  Q_OBJECT
 public:
  explicit CDlgPropFlasher(const Seams& seams, QWidget* parent = nullptr);

  QString path() const;
  void setPath(const QString& path);

  // "...": a code file chosen in a file dialog goes into the path field.
  void OnBrowse();
  void OnSystemInfo();
  void OnFlash();

  QGroupBox* group() const { return group_; }
  QPushButton* systemInfoButton() const { return systemInfo_; }
  QLabel* infoLine() const { return info_; }
  QLabel* fileLabel() const { return fileLabel_; }
  QLineEdit* pathField() const { return path_; }
  QPushButton* browseButton() const { return browse_; }
  QPushButton* flashButton() const { return flash_; }

 private:
  Seams seams_;
  QGroupBox* group_;
  QPushButton* systemInfo_;
  QLabel* info_;
  QLabel* fileLabel_;
  QLineEdit* path_;
  QPushButton* browse_;
  QPushButton* flash_;
};

}  // namespace wk
