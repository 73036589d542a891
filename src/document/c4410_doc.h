#pragma once
// The configuration document: the image, its modified flag and the section
// editors that show it. The document never interprets the bytes; it refreshes
// and collects its editors in one fixed order.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "document/config_image.h"

namespace wk {

class Prompter;

enum class TransferDirection {
  ImageToPage = 0,  // refresh: the editor shows the image
  PageToImage = 1,  // collect: the editor writes its pending edits into the image
};

class ImageEditor {
 public:
  virtual ~ImageEditor() = default;
  virtual void TransferImage(TransferDirection direction) = 0;
  // After a collect: false when the editor could not take a value it shows
  // (it has told the user why). A save then stops before writing.
  virtual bool collectComplete() const { return true; }
};

// The editors in the order the document calls them, both directions alike.
enum class EditorSlot {
  SmsData,
  MainChannels,
  UserEvents,
  Outputs,
  ThermoChannel1,
  ThermoChannel2,
  IButtonKeys,
  Miscellaneous,
  Reports,
};
inline constexpr std::size_t kEditorSlotCount = 9;

class C4410Doc {
 public:
  C4410Doc();
  ~C4410Doc();
  C4410Doc(const C4410Doc&) = delete;
  C4410Doc& operator=(const C4410Doc&) = delete;

  ConfigImage& image() { return *image_; }
  const ConfigImage& image() const { return *image_; }

  bool isModified() const { return modified_; }
  void setModified(bool modified);
  // Called whenever the flag changes value.
  void setModifiedObserver(std::function<void(bool)> observer) { modifiedObserver_ = std::move(observer); }

  // The section view registers its pages here; nullptr removes one.
  void registerEditor(EditorSlot slot, ImageEditor* editor);
  ImageEditor* editor(EditorSlot slot) const { return editors_[static_cast<std::size_t>(slot)]; }
  void refreshEditors();  // every editor, direction 0
  // Every editor, direction 1; false when one could not take all it shows.
  bool collectEditors();
  void refreshSmsData();  // the SMS data editor alone, direction 0

  // A new document: the defaults, then a refresh. Not modified.
  void makeNew();

  // Reads a .vld file. The version messages go through prompter. On failure
  // ("Unexpected file format.", "Failed to open document.") the document is
  // left exactly as it was. On success the editors are refreshed and the
  // document is not modified.
  //
  // A file of a version this program cannot read opens with the fallback
  // contents, which are not the file's: the document then has no file of its
  // own (path() is empty, hasFallbackContents() true), so that a later save
  // asks for a name instead of writing over the user's file. A version-104
  // file is converted with its contents and keeps its file.
  bool open(const std::string& path, Prompter& prompter);

  // Collects the editors and saves the image as a version-105 file, replacing
  // the old file only once the new one is complete. On failure the old file
  // and the modified flag are left as they were and "Failed to save document."
  // is shown; an editor that could not take a value stops the save at its own
  // message, before anything is written.
  bool save(const std::string& path, Prompter& prompter);

  // The file last opened or saved; empty for a new document and for one
  // opened with the fallback contents.
  const std::string& path() const { return path_; }
  // The last open met a version it cannot read; cleared by a save or a new
  // document.
  bool hasFallbackContents() const { return fallback_; }

 private:
  std::unique_ptr<ConfigImage> image_;
  bool modified_ = false;
  std::function<void(bool)> modifiedObserver_;
  std::array<ImageEditor*, kEditorSlotCount> editors_{};
  std::string path_;
  bool fallback_ = false;
};

}  // namespace wk
