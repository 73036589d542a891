#pragma once
// The "Thermosensors" page: a host with tabs of its own for the two
// thermosensor channel pages and the iButton key page. The document links to
// those three pages, not to the host.
#include <QWidget>
#include <vector>

#include "widgets/section_page.h"

class QTabWidget;

namespace wk {

class CDlgPropThermoChannel;
class CDlgPropThermoIButton;

class CDlgPropThermo : public QWidget {
 public:
  CDlgPropThermo(const PageContext& context, QWidget* parent);

  // The regions of its three pages.
  std::vector<ImageBlock> regions() const;
  CDlgPropThermoChannel& channel(int index) const { return *channels_[index == 0 ? 0 : 1]; }
  CDlgPropThermoIButton& keys() const { return *keys_; }
  QTabWidget* tabs() const { return tabs_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTabWidget* tabs_;
  CDlgPropThermoChannel* channels_[2];
  CDlgPropThermoIButton* keys_;
};

}  // namespace wk
