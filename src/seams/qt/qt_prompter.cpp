#include "seams/qt/qt_prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QStringList>

namespace wk {

QString messageBoxTitle() { return QStringLiteral("Watchkeep Configurator"); }

QWidget* QtPrompter::owner() const { return owner_ ? owner_ : QApplication::activeWindow(); }

Answer QtPrompter::message(const std::string& text, MessageIcon icon, MessageButtons buttons) {
  QMessageBox box(owner());
  box.setWindowTitle(messageBoxTitle());
  box.setText(QString::fromStdString(text));
  switch (icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
  }
  switch (buttons) {
    case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MessageButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default: return buttons == MessageButtons::YesNo ? Answer::No : Answer::Cancel;
  }
}

QString QtPrompter::qtFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    QString patterns = parts[i + 1].trimmed();
    if (description.isEmpty() && patterns.isEmpty()) continue;
    patterns.replace(u';', u' ');
    // On Linux "*.*" would miss files without a dot.
    if (patterns == QLatin1String("*.*")) patterns = QStringLiteral("*");
    const qsizetype open = description.lastIndexOf(u'(');
    if (open >= 0) description = description.left(open).trimmed();
    filters << QStringLiteral("%1 (%2)").arg(description, patterns);
  }
  return filters.join(QStringLiteral(";;"));
}

namespace {
std::optional<std::string> runFileDialog(QWidget* owner, const FileDialogRequest& request, bool save) {
  QFileDialog dialog(owner, QString::fromStdString(request.title));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(QtPrompter::qtFilter(request.filter));
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  if (!request.initialPath.empty()) dialog.selectFile(QString::fromStdString(request.initialPath));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}
}  // namespace

std::optional<std::string> QtPrompter::chooseFileToOpen(const FileDialogRequest& request) {
  return runFileDialog(owner(), request, false);
}

std::optional<std::string> QtPrompter::chooseFileToSave(const FileDialogRequest& request) {
  return runFileDialog(owner(), request, true);
}

void QtPrompter::note(const std::string& text) {
  for (QWidget* w = owner(); w; w = w->parentWidget()) {
    if (auto* main = qobject_cast<QMainWindow*>(w->window())) {
      main->statusBar()->showMessage(QString::fromStdString(text), 15000);
      return;
    }
    break;
  }
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* main = qobject_cast<QMainWindow*>(top)) {
      main->statusBar()->showMessage(QString::fromStdString(text), 15000);
      return;
    }
}

}  // namespace wk
