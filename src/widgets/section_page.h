#pragma once
// A page of the section view: a widget that edits some regions of the
// document's image in place. It is built from a PageContext, registers itself
// with the document for its editor slot, and the document then refreshes and
// collects it through TransferImage in the document's fixed order.
#include <QWidget>
#include <vector>

#include "document/c4410_doc.h"
#include "document/config_image.h"
#include "link/device_session.h"
#include "seams/seams.h"

namespace wk {

// What a section page is built from: the document it edits, the seams through
// which it talks to the user and the machine, and the progress window of the
// device procedures it runs (the 1-Wire search, the temperature monitor).
struct PageContext {
  C4410Doc& doc;
  Seams seams;
  link::ProgressFactory makeProgress;

  // The way to the controller for a device procedure started from the page.
  link::DeviceLink device() const {
    return {seams.transport, seams.prompter, seams.settings, seams.clock, makeProgress};
  }
};

class SectionPage : public QWidget, public ImageEditor {
 public:
  SectionPage(const PageContext& context, EditorSlot slot, QWidget* parent);
  // Leaves the document, which outlives its view.
  ~SectionPage() override;
  SectionPage(const SectionPage&) = delete;
  SectionPage& operator=(const SectionPage&) = delete;

  // The regions of the image this page edits, by name.
  virtual std::vector<ImageBlock> regions() const = 0;
  EditorSlot slot() const { return slot_; }

 protected:
  const PageContext& context() const { return context_; }
  C4410Doc& doc() const { return context_.doc; }
  Prompter& prompter() const { return context_.seams.prompter; }
  Settings& settings() const { return context_.seams.settings; }
  Clock& clock() const { return context_.seams.clock; }

 private:
  PageContext context_;
  EditorSlot slot_;
};

}  // namespace wk
