#pragma once
// The language editor: creates and edits .lng files as a grid of numbered
// (original, translation) rows. Its changes take effect at the next start.
#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

namespace wk {

class Grid;
class Prompter;
class Settings;

class CDlgLang : public QDialog {
  Q_OBJECT

 public:
  // Builds the editor and opens it on the setting "langfile": that file is
  // loaded, or, when the setting is "no file", the user is asked whether to
  // pick a file or create one. Every question, message and file dialog goes
  // through prompter (QtPrompter in the program); "langfile" is read from and
  // saved to settings (QtSettings). Show it with exec().
  CDlgLang(QWidget* parent, Prompter& prompter, Settings& settings);

  // The file that "Save" writes: set by loading and by the file dialogs, and
  // by "OK" from the path box.
  const std::string& path() const { return path_; }
  Grid* grid() const { return grid_; }

  // "OK": asks whether to save, then closes (Accepted after a save).
  void accept() override;
  // "Cancel", Esc and the window's close button: asks before closing.
  void reject() override;

 private:
  void browse();
  void createNewFile();
  void loadIntoGrid(const std::string& path);
  bool save();
  void saveClicked();
  void addString();
  void deleteRows();
  void moveUp();
  void moveDown();
  void swapRows(int a, int b);
  void selectRow(int row);
  void renumber();

  Prompter& prompter_;
  Settings& settings_;
  std::string path_;
  QLineEdit* pathEdit_;
  Grid* grid_;
};

}  // namespace wk
