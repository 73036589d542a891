#pragma once
// The section pages whose editors are still to come. Each shows nothing and
// transfers nothing; an editor replaces its class here with a file of its
// own under the same name.
#include "widgets/section_page.h"

namespace wk {

// "Main Channels".
class CDlgPropIns : public SectionPage {
 public:
  CDlgPropIns(const PageContext& context, QWidget* parent) : SectionPage(context, EditorSlot::MainChannels, parent) {}
  std::vector<ImageBlock> regions() const override {
    return {image::ChannelRecords, image::CommonSettings, image::ChannelAliases};
  }
  void TransferImage(TransferDirection) override {}
};

// "User Events".
class CDlgPropInsuser : public SectionPage {
 public:
  CDlgPropInsuser(const PageContext& context, QWidget* parent) : SectionPage(context, EditorSlot::UserEvents, parent) {}
  std::vector<ImageBlock> regions() const override { return {image::UserEventRecords, image::UserEventBlock}; }
  void TransferImage(TransferDirection) override {}
};

// "Outputs".
class CDlgPropOuts : public SectionPage {
 public:
  CDlgPropOuts(const PageContext& context, QWidget* parent) : SectionPage(context, EditorSlot::Outputs, parent) {}
  std::vector<ImageBlock> regions() const override { return {image::OutputRecords, image::OutputAliases}; }
  void TransferImage(TransferDirection) override {}
};

// "Miscellaneous".
class CDlgPropMisc : public SectionPage {
 public:
  CDlgPropMisc(const PageContext& context, QWidget* parent) : SectionPage(context, EditorSlot::Miscellaneous, parent) {}
  std::vector<ImageBlock> regions() const override { return {image::CommonSettings}; }
  void TransferImage(TransferDirection) override {}
};

// "Reports".
class CDlgPropReports : public SectionPage {
 public:
  CDlgPropReports(const PageContext& context, QWidget* parent) : SectionPage(context, EditorSlot::Reports, parent) {}
  std::vector<ImageBlock> regions() const override { return {image::CommonSettings}; }
  void TransferImage(TransferDirection) override {}
};

}  // namespace wk
