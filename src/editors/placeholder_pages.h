#pragma once
// The section pages whose editors are still to come. Each shows nothing and
// transfers nothing; an editor replaces its class here with a file of its
// own under the same name.
#include "widgets/section_page.h"

namespace wk {

// "Miscellaneous".
class CDlgPropMisc : public SectionPage {
 public:
  CDlgPropMisc(const PageContext& context, QWidget* parent) : SectionPage(context, EditorSlot::Miscellaneous, parent) {}
  std::vector<ImageBlock> regions() const override { return {image::CommonSettings}; }
  void TransferImage(TransferDirection) override {}
};

}  // namespace wk
