#pragma once
// A page of the section view: a widget that edits some parts of the
// document's image in place. The view hands each page the image parts it
// works on and registers it with the document, which then refreshes and
// collects it through TransferImage.
#include <QWidget>
#include <vector>

#include "document/c4410_doc.h"
#include "document/config_image.h"

namespace wk {

class SectionPage : public QWidget, public ImageEditor {
 public:
  SectionPage(C4410Doc& doc, std::vector<ImageBlock> parts, QWidget* parent)
      : QWidget(parent), doc_(doc), parts_(std::move(parts)) {}

  // The image parts this page works on, in the order the view handed them.
  const std::vector<ImageBlock>& parts() const { return parts_; }

 protected:
  C4410Doc& doc_;

 private:
  std::vector<ImageBlock> parts_;
};

}  // namespace wk
