#include "editors/dlg_prop_thermo.h"

#include <QResizeEvent>
#include <QTabWidget>

#include "editors/placeholder_pages.h"
#include "language/ui/translate_menu.h"

namespace wk {

CDlgPropThermo::CDlgPropThermo(const PageContext& context, QWidget* parent)
    : QWidget(parent), tabs_(new QTabWidget(this)) {
  tabs_->setObjectName(QStringLiteral("thermoTabs"));
  channels_[0] = new CDlgPropThermoChannel(context, 0, tabs_);
  channels_[1] = new CDlgPropThermoChannel(context, 1, tabs_);
  keys_ = new CDlgPropThermoIButton(context, tabs_);
  tabs_->addTab(channels_[0], qtr("1Wire channel 1"));
  tabs_->addTab(channels_[1], qtr("1Wire channel 2"));
  tabs_->addTab(keys_, qtr("1Wire channel 3 (ext.key)"));
}

std::vector<ImageBlock> CDlgPropThermo::regions() const {
  std::vector<ImageBlock> all;
  for (const SectionPage* page : {static_cast<const SectionPage*>(channels_[0]),
                                  static_cast<const SectionPage*>(channels_[1]), static_cast<const SectionPage*>(keys_)})
    for (const ImageBlock& region : page->regions()) all.push_back(region);
  return all;
}

void CDlgPropThermo::resizeEvent(QResizeEvent* event) {
  tabs_->setGeometry(QRect(QPoint(0, 0), event->size()));
}

}  // namespace wk
