#include "widgets/section_page.h"

namespace wk {

SectionPage::SectionPage(const PageContext& context, EditorSlot slot, QWidget* parent)
    : QWidget(parent), context_(context), slot_(slot) {
  context_.doc.registerEditor(slot_, this);
}

SectionPage::~SectionPage() {
  if (context_.doc.editor(slot_) == this) context_.doc.registerEditor(slot_, nullptr);
}

}  // namespace wk
