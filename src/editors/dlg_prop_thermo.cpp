#include "editors/dlg_prop_thermo.h"

#include <QResizeEvent>
#include <QTabWidget>

#include "editors/placeholder_pages.h"
#include "language/ui/translate_menu.h"

namespace wk {

CDlgPropThermo::CDlgPropThermo(C4410Doc& doc, std::vector<ImageBlock> parts, QWidget* parent)
    : QWidget(parent), parts_(std::move(parts)), tabs_(new QTabWidget(this)) {
  tabs_->setObjectName(QStringLiteral("thermoTabs"));
  const ImageBlock& slots1 = parts_.at(0);
  const ImageBlock& slots2 = parts_.at(1);
  const ImageBlock& keySlots = parts_.at(2);
  const ImageBlock& aliases1 = parts_.at(3);
  const ImageBlock& aliases2 = parts_.at(4);
  const ImageBlock& keyComments = parts_.at(5);
  channels_[0] = new CDlgPropThermoChannel(doc, {slots1, aliases1}, tabs_);
  channels_[1] = new CDlgPropThermoChannel(doc, {slots2, aliases2}, tabs_);
  keys_ = new CDlgPropThermoIButton(doc, {keySlots, keyComments}, tabs_);
  tabs_->addTab(channels_[0], qtr("1Wire channel 1"));
  tabs_->addTab(channels_[1], qtr("1Wire channel 2"));
  tabs_->addTab(keys_, qtr("1Wire channel 3 (ext.key)"));
}

void CDlgPropThermo::resizeEvent(QResizeEvent* event) {
  tabs_->setGeometry(QRect(QPoint(0, 0), event->size()));
}

}  // namespace wk
