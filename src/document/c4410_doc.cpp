#include "document/c4410_doc.h"

#include "document/defaults.h"
#include "document/vld_file.h"
#include "language/translate.h"
#include "seams/prompter.h"
#include "util/file_io.h"

namespace wk {

C4410Doc::C4410Doc() : image_(std::make_unique<ConfigImage>()) {}
C4410Doc::~C4410Doc() = default;

void C4410Doc::setModified(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  if (modifiedObserver_) modifiedObserver_(modified_);
}

void C4410Doc::registerEditor(EditorSlot slot, ImageEditor* editor) {
  editors_[static_cast<std::size_t>(slot)] = editor;
}

void C4410Doc::refreshEditors() {
  for (ImageEditor* editor : editors_)
    if (editor) editor->TransferImage(TransferDirection::ImageToPage);
}

bool C4410Doc::collectEditors() {
  bool complete = true;
  for (ImageEditor* editor : editors_) {
    if (!editor) continue;
    editor->TransferImage(TransferDirection::PageToImage);
    complete = editor->collectComplete() && complete;
  }
  return complete;
}

void C4410Doc::refreshSmsData() {
  if (ImageEditor* editor = editors_[static_cast<std::size_t>(EditorSlot::SmsData)])
    editor->TransferImage(TransferDirection::ImageToPage);
}

void C4410Doc::makeNew() {
  applyNewDocumentDefaults(*image_);
  path_.clear();
  fallback_ = false;
  refreshEditors();
  setModified(false);
}

bool C4410Doc::open(const std::string& path, Prompter& prompter) {
  std::string reason;
  const auto file = readFileHead(path, vld::kFileSize, &reason);
  if (!file) {
    prompter.message(tr("Failed to open document."), MessageIcon::Error);
    prompter.note(reason);
    return false;
  }
  auto loaded = std::make_unique<ConfigImage>();
  const vld::ParseOutcome outcome = vld::parse(*file, *loaded);
  switch (outcome) {
    case vld::ParseOutcome::TooShort:
      prompter.message(tr("Unexpected file format."), MessageIcon::Error);
      return false;
    case vld::ParseOutcome::Current:
      break;
    case vld::ParseOutcome::ConvertedOld:
      prompter.message(tr("The old version detected... File will be saved in new format"),
                       MessageIcon::Information);
      break;
    case vld::ParseOutcome::NewerVersion:
      prompter.message(tr("The new version detected. Update Application"), MessageIcon::Error);
      break;
    case vld::ParseOutcome::OlderVersion:
      prompter.message(tr("The old version detected. File format not supported"), MessageIcon::Error);
      break;
  }
  // Copied, not swapped: the editors hold on to this image's bytes.
  *image_ = *loaded;
  fallback_ = outcome == vld::ParseOutcome::NewerVersion || outcome == vld::ParseOutcome::OlderVersion;
  // Saving fallback contents under the file's name would destroy the file.
  path_ = fallback_ ? std::string() : path;
  refreshEditors();
  setModified(false);
  return true;
}

bool C4410Doc::save(const std::string& path, Prompter& prompter) {
  if (!collectEditors()) return false;
  std::string reason;
  if (!writeFileAtomically(path, vld::serialize(*image_), &reason)) {
    prompter.message(tr("Failed to save document."), MessageIcon::Error);
    prompter.note(reason);
    return false;
  }
  path_ = path;
  fallback_ = false;
  setModified(false);
  return true;
}

}  // namespace wk
