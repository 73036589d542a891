#include "onewire/ui/dlg_prop_thermo.h"

#include <QFrame>
#include <QResizeEvent>
#include <QTabBar>

#include "language/ui/translate_menu.h"
#include "onewire/ui/dlg_prop_thermo_channel.h"
#include "onewire/ui/dlg_prop_thermo_ibutton.h"

namespace wk {

CDlgPropThermo::CDlgPropThermo(const PageContext& context, QWidget* parent)
    : QWidget(parent),
      tabControl_(new QWidget(this)),
      tabBar_(new QTabBar(tabControl_)),
      pane_(new QFrame(tabControl_)) {
  tabControl_->setObjectName(QStringLiteral("thermoTabs"));
  tabControl_->setProperty("controlId", kTabControlId);
  pane_->setFrameShape(QFrame::StyledPanel);
  tabBar_->setDrawBase(false);
  tabBar_->setExpanding(false);
  channels_[0] = new CDlgPropThermoChannel(context, 0, tabControl_);
  channels_[1] = new CDlgPropThermoChannel(context, 1, tabControl_);
  keys_ = new CDlgPropThermoIButton(context, tabControl_);
  pages_ = {channels_[0], channels_[1], keys_};
  tabBar_->addTab(qtr("1Wire channel 1"));
  tabBar_->addTab(qtr("1Wire channel 2"));
  tabBar_->addTab(qtr("1Wire channel 3 (ext.key)"));
  tabBar_->raise();
  showOnly(0);
  connect(tabBar_, &QTabBar::currentChanged, this, &CDlgPropThermo::showOnly);
}

std::vector<ImageBlock> CDlgPropThermo::regions() const {
  std::vector<ImageBlock> all;
  for (const QWidget* page : pages_)
    for (const ImageBlock& region : dynamic_cast<const SectionPage*>(page)->regions()) all.push_back(region);
  return all;
}

void CDlgPropThermo::showOnly(int index) {
  for (QWidget* page : pages_) page->hide();
  if (index >= 0 && index < static_cast<int>(pages_.size())) pages_[static_cast<std::size_t>(index)]->show();
}

void CDlgPropThermo::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layOut();
}

void CDlgPropThermo::layOut() {
  tabControl_->setGeometry(rect());
  const QRect client = tabControl_->rect();
  // The tabs in the strip above the pages, the frame around the pages.
  tabBar_->setGeometry(kPageLeft, 0, std::max(0, client.width() - kPageLeft - kPageRight), kPageTop);
  pane_->setGeometry(client.adjusted(0, kPageTop - 1, 0, 0));
  const QRect pageArea = client.adjusted(kPageLeft, kPageTop, -kPageRight, -kPageBottom);
  for (QWidget* page : pages_) page->setGeometry(pageArea);
}

}  // namespace wk
