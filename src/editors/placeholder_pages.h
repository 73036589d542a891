#pragma once
// The section pages whose editors are still to come. Each shows nothing and
// transfers nothing; an editor replaces its line here with a class of its own
// under the same name.
#include "editors/section_page.h"

namespace wk {

class PlaceholderPage : public SectionPage {
 public:
  using SectionPage::SectionPage;
  void TransferImage(int) override {}
};

// "SMS Data": SmsRecords, SmsComments.
class CDlgPropSMSData : public PlaceholderPage {
 public:
  using PlaceholderPage::PlaceholderPage;
};
// "Main Channels": ChannelRecords, CommonSettings, ChannelAliases.
class CDlgPropIns : public PlaceholderPage {
 public:
  using PlaceholderPage::PlaceholderPage;
};
// "User Events": UserEventRecords, UserEventBlock.
class CDlgPropInsuser : public PlaceholderPage {
 public:
  using PlaceholderPage::PlaceholderPage;
};
// "Outputs": OutputRecords, OutputAliases.
class CDlgPropOuts : public PlaceholderPage {
 public:
  using PlaceholderPage::PlaceholderPage;
};
// A thermosensor channel: SensorSlots1 or 2, then SensorAliases1 or 2.
class CDlgPropThermoChannel : public PlaceholderPage {
 public:
  using PlaceholderPage::PlaceholderPage;
};
// The iButton keys: KeySlots, KeyComments.
class CDlgPropThermoIButton : public PlaceholderPage {
 public:
  using PlaceholderPage::PlaceholderPage;
};
// "Miscellaneous": CommonSettings.
class CDlgPropMisc : public PlaceholderPage {
 public:
  using PlaceholderPage::PlaceholderPage;
};
// "Reports": CommonSettings.
class CDlgPropReports : public PlaceholderPage {
 public:
  using PlaceholderPage::PlaceholderPage;
};

}  // namespace wk
