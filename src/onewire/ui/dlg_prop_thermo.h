#pragma once
// The "Thermosensors" page: a host with tabs of its own for the two
// thermosensor channel pages and the iButton key page. The document links to
// those three pages, not to the host.
#include <QWidget>
#include <vector>

#include "widgets/section_page.h"

class QFrame;
class QTabBar;

namespace wk {

class CDlgPropThermoChannel;
class CDlgPropThermoIButton;

class CDlgPropThermo : public QWidget {
 public:
  static constexpr int kTabControlId = 1028;
  // Each page fills the tab control's client rectangle less these.
  static constexpr int kPageLeft = 2, kPageTop = 22, kPageRight = 4, kPageBottom = 4;

  CDlgPropThermo(const PageContext& context, QWidget* parent);

  // The regions of its three pages.
  std::vector<ImageBlock> regions() const;
  CDlgPropThermoChannel& channel(int index) const { return *channels_[index == 0 ? 0 : 1]; }
  CDlgPropThermoIButton& keys() const { return *keys_; }
  QWidget* tabControl() const { return tabControl_; }
  QTabBar* tabBar() const { return tabBar_; }
  // The pages in tab order.
  QWidget* page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void showOnly(int index);
  void layOut();

  QWidget* tabControl_;
  QTabBar* tabBar_;
  QFrame* pane_;
  CDlgPropThermoChannel* channels_[2];
  CDlgPropThermoIButton* keys_;
  std::vector<QWidget*> pages_;
};

}  // namespace wk
