#include "language/ui/dlg_lang.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "language/lng_file.h"
#include "language/translate.h"
#include "seams/prompter.h"
#include "seams/settings.h"
#include "util/file_io.h"
#include "widgets/grid.h"

namespace wk {
namespace {

constexpr int kInitialRows = 1000;
constexpr const char* kFilter = "GZ4410 language file(*.lng)|*.lng|All files (*.*)|*.*|";

QString qtr(const char* text) { return QString::fromStdString(tr(text)); }

std::string replaceFileName(std::string text, const std::string& path) {
  const auto at = text.find("%1");
  if (at != std::string::npos) text.replace(at, 2, path);
  return text;
}

// The framework's archive messages for a file that does not read as a
// language file.
std::string formatErrorMessage(lng::ParseError error, const std::string& path) {
  switch (error) {
    case lng::ParseError::PastEnd:
      return replaceFileName(wk::tr("An attempt was made to access %1 past its end."), path);
    case lng::ParseError::BadLength:
      return replaceFileName(wk::tr("%1 has a bad format."), path);
    case lng::ParseError::TooLarge:
      return replaceFileName(wk::tr("%1 is too large for a language file."), path);
    case lng::ParseError::None:
      break;
  }
  return {};
}

}  // namespace

CDlgLang::CDlgLang(QWidget* parent, Prompter& prompter, Settings& settings)
    : QDialog(parent), prompter_(prompter), settings_(settings) {
  setWindowTitle(qtr("Language Setup"));
  resize(760, 560);

  pathEdit_ = new QLineEdit(this);
  pathEdit_->setObjectName(QStringLiteral("path"));
  auto* browseButton = new QPushButton(QStringLiteral("..."), this);
  browseButton->setObjectName(QStringLiteral("browse"));
  browseButton->setFixedWidth(browseButton->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
  auto* top = new QHBoxLayout;
  top->addWidget(pathEdit_, 1);
  top->addWidget(browseButton);

  grid_ = new Grid(this);
  grid_->setObjectName(QStringLiteral("grid"));
  grid_->setColumnCount(3);
  grid_->setRowCount(kInitialRows);
  grid_->setColumnWidth(0, 40);
  grid_->setColumnStretch(1, true);
  grid_->setColumnStretch(2, true);
  grid_->setRowHeight(0, 30);
  grid_->setText(0, 1, qtr("Original"));
  grid_->setText(0, 2, qtr("Translation"));
  renumber();

  auto* bottom = new QHBoxLayout;
  const auto addButton = [this, bottom](const char* name, const char* text, void (CDlgLang::*handler)()) {
    auto* button = new QPushButton(qtr(text), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    bottom->addWidget(button);
    return button;
  };
  addButton("addString", "Add String", &CDlgLang::addString);
  addButton("delete", "Delete", &CDlgLang::deleteRows);
  addButton("up", "Up", &CDlgLang::moveUp);
  addButton("down", "Down", &CDlgLang::moveDown);
  bottom->addStretch(1);
  addButton("save", "Save", &CDlgLang::saveClicked);
  addButton("cancel", "Cancel", &CDlgLang::reject);
  addButton("ok", "OK", &CDlgLang::accept)->setDefault(true);
  browseButton->setAutoDefault(false);
  connect(browseButton, &QPushButton::clicked, this, &CDlgLang::browse);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(grid_, 1);
  layout->addLayout(bottom);

  path_ = settings_.languageFile();
  pathEdit_->setText(QString::fromStdString(path_));
  if (path_ != setting::kNoLanguageFile) {
    if (readFileHead(path_, 1)) {
      loadIntoGrid(path_);
    } else {
      prompter_.message(wk::tr("LANG File open error, locate it"), MessageIcon::Error);
      browse();
    }
    return;
  }
  switch (prompter_.message(wk::tr("To select Language file press YES\n\rTo cteate new Language file press NO"),
                            MessageIcon::Question, MessageButtons::YesNoCancel)) {
    case Answer::Yes:
      browse();
      break;
    case Answer::No:
      createNewFile();
      break;
    default:
      break;  // the editor stays open with its empty grid
  }
}

void CDlgLang::browse() {
  const std::string start = path_ == setting::kNoLanguageFile ? std::string() : path_;
  const auto chosen = prompter_.chooseFileToOpen({wk::tr("Open"), kFilter, "", start});
  if (!chosen) return;
  path_ = *chosen;
  loadIntoGrid(path_);
}

void CDlgLang::createNewFile() {
  const auto chosen = prompter_.chooseFileToSave({wk::tr("Save As"), kFilter, "lng", ""});
  if (!chosen) return;
  path_ = *chosen;
  const std::vector<TranslationPair> empty(1);
  std::string reason;
  if (!writeFileAtomically(path_, lng::serialize(empty), &reason)) {
    prompter_.message(replaceFileName(wk::tr("Failed to save language file %1."), path_) + "\n" + reason,
                      MessageIcon::Error);
    return;
  }
  loadIntoGrid(path_);
}

void CDlgLang::loadIntoGrid(const std::string& path) {
  const auto file = lng::readFile(path);
  if (!file.opened) return;
  // A damaged file still shows the pairs read completely before the damage,
  // so that they can be saved again; the file itself is left as it is.
  const auto& pairs = file.content.pairs;
  grid_->setRowCount(static_cast<int>(pairs.size()) + 1);
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    grid_->setText(row, 1, QString::fromStdU16String(pairs[i].original));
    grid_->setText(row, 2, QString::fromStdU16String(pairs[i].translation));
  }
  renumber();
  grid_->redrawAll();
  pathEdit_->setText(QString::fromStdString(path));
  if (file.content.error != lng::ParseError::None)
    prompter_.message(formatErrorMessage(file.content.error, path), MessageIcon::Error);
}

bool CDlgLang::save() {
  grid_->endEditing();
  if (path_.empty()) path_ = setting::kNoLanguageFile;
  settings_.writeString(setting::kSection, setting::kLangFile, path_);
  if (path_ == setting::kNoLanguageFile) return true;
  std::vector<TranslationPair> pairs;
  pairs.reserve(static_cast<std::size_t>(grid_->rowCount() - 1));
  for (int row = 1; row < grid_->rowCount(); ++row)
    pairs.push_back({grid_->text(row, 1).toStdU16String(), grid_->text(row, 2).toStdU16String()});
  // The whole new content replaces the old file at once; a failed save
  // leaves the old file as it was.
  std::string reason;
  if (!writeFileAtomically(path_, lng::serialize(pairs), &reason)) {
    prompter_.message(replaceFileName(wk::tr("Failed to save language file %1."), path_) + "\n" + reason,
                      MessageIcon::Error);
    return false;
  }
  return true;
}

void CDlgLang::saveClicked() { save(); }

void CDlgLang::accept() {
  path_ = pathEdit_->text().toStdString();
  switch (prompter_.message(wk::tr("Save file before exit?\nChanges will be accepted after application restart"),
                            MessageIcon::Question, MessageButtons::YesNoCancel)) {
    case Answer::Yes:
      if (save()) QDialog::accept();  // a failed save keeps the editor open
      break;
    case Answer::No:
      QDialog::reject();
      break;
    default:
      break;
  }
}

void CDlgLang::reject() {
  if (prompter_.message(wk::tr("Exit editor?"), MessageIcon::Question, MessageButtons::YesNo) == Answer::Yes)
    QDialog::reject();
}

void CDlgLang::addString() {
  const int last = grid_->rowCount() - 1;
  if (last >= static_cast<int>(lng::kMaxPairs)) return;  // the file's count is 16 bits
  const CellRange selected = grid_->selectedRange();
  // With nothing selected the new row goes to the end.
  const int r = selected.isValid() ? selected.minRow : last;
  grid_->insertRow(r + 1);
  renumber();
  selectRow(r + 1);
  grid_->redrawAll();
}

void CDlgLang::deleteRows() {
  const CellRange selected = grid_->selectedRange();
  if (!selected.isValid() || grid_->rowCount() <= 2) return;
  grid_->deleteRows(selected.minRow, selected.maxRow);
  renumber();
  grid_->redrawAll();
}

void CDlgLang::moveUp() {
  const CellRange selected = grid_->selectedRange();
  if (!selected.isValid() || selected.minRow <= 1) return;
  swapRows(selected.minRow - 1, selected.minRow);
  selectRow(selected.minRow - 1);
  grid_->redrawAll();
}

void CDlgLang::moveDown() {
  const CellRange selected = grid_->selectedRange();
  if (!selected.isValid() || selected.minRow >= grid_->rowCount() - 1) return;
  swapRows(selected.minRow, selected.minRow + 1);
  selectRow(selected.minRow + 1);
  grid_->redrawAll();
}

void CDlgLang::swapRows(int a, int b) {
  grid_->endEditing();
  for (int col = 1; col <= 2; ++col) {
    const QString text = grid_->text(a, col);
    grid_->setText(a, col, grid_->text(b, col));
    grid_->setText(b, col, text);
  }
}

void CDlgLang::selectRow(int row) { grid_->setSelectedRange({row, 1, row, 2}); }

void CDlgLang::renumber() {
  for (int row = 1; row < grid_->rowCount(); ++row) grid_->setText(row, 0, QString::number(row));
}

}  // namespace wk
