#pragma once
// The iButton keys of the external key reader (bus 3): 16 key slots with the
// type and a comment of each, filled from what the controller finds there.
#include "onewire/ui/onewire_page.h"

namespace wk {

class CDlgPropThermoIButton : public OneWirePage {
 public:
  CDlgPropThermoIButton(const PageContext& context, QWidget* parent);

  std::vector<ImageBlock> regions() const override;
  void TransferImage(TransferDirection direction) override;

  void OnAddDevice();
  void OnRemoveDevice();
  void OnCellDoubleClicked(int row, int col);
  void OnCellEditEnded(int row, int col);
};

}  // namespace wk
