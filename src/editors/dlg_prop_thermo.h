#pragma once
// The "Thermosensors" page: a host with tabs of its own for the two
// thermosensor channel pages and the iButton key page. The document links to
// those three pages, not to the host.
#include <QWidget>
#include <vector>

#include "document/config_image.h"

class QTabWidget;

namespace wk {

class C4410Doc;
class CDlgPropThermoChannel;
class CDlgPropThermoIButton;

class CDlgPropThermo : public QWidget {
 public:
  // parts: SensorSlots1, SensorSlots2, KeySlots, SensorAliases1,
  // SensorAliases2, KeyComments.
  CDlgPropThermo(C4410Doc& doc, std::vector<ImageBlock> parts, QWidget* parent);

  const std::vector<ImageBlock>& parts() const { return parts_; }
  CDlgPropThermoChannel& channel(int index) const { return *channels_[index == 0 ? 0 : 1]; }
  CDlgPropThermoIButton& keys() const { return *keys_; }
  QTabWidget* tabs() const { return tabs_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::vector<ImageBlock> parts_;
  QTabWidget* tabs_;
  CDlgPropThermoChannel* channels_[2];
  CDlgPropThermoIButton* keys_;
};

}  // namespace wk
