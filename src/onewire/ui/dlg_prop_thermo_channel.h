#pragma once
// A thermosensor channel (0 or 1): its 16 sensor slots with the error
// reaction and the alias of each, filled from what the controller finds on
// the channel's bus.
#include "onewire/ui/onewire_page.h"

namespace wk {

class CDlgPropThermoChannel : public OneWirePage {
 public:
  CDlgPropThermoChannel(const PageContext& context, int channel, QWidget* parent);

  std::vector<ImageBlock> regions() const override;
  void TransferImage(TransferDirection direction) override;

  int channel() const { return channel_; }

  void OnFindAll();
  void OnAddDevice();
  void OnRemoveDevice();
  void OnThermoMonitor();
  void OnCellDoubleClicked(int row, int col);
  void OnCellEditEnded(int row, int col);

 private:
  int channel_;
};

}  // namespace wk
