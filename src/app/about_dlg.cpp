#include "app/about_dlg.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "language/ui/translate_menu.h"

// The icons are compiled into the static GUI library: register them by hand.
static void registerProgramIcons() { Q_INIT_RESOURCE(watchkeep); }

namespace wk {

QIcon programIcon() {
  registerProgramIcons();
  QIcon icon;
  for (int size : {16, 32, 48, 256}) icon.addFile(QStringLiteral(":/watchkeep/watchkeep-%1.png").arg(size));
  return icon;
}

// Only the buttons' texts are translated; the caption and the version line
// are shown as stored.
CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), ok_(new QPushButton(qtr("OK"), this)) {
  setObjectName(QStringLiteral("CAboutDlg"));
  setWindowTitle(QString::fromLatin1(kCaption));
  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("icon"));
  icon->setPixmap(programIcon().pixmap(32, 32));
  auto* version = new QLabel(QString::fromLatin1(kVersionLine), this);
  version->setObjectName(QStringLiteral("version"));
  ok_->setDefault(true);

  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addSpacing(12);
  row->addWidget(version, 1, Qt::AlignVCenter);
  row->addSpacing(12);
  row->addWidget(ok_, 0, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(ok_, &QPushButton::clicked, this, &CAboutDlg::accept);
}

}  // namespace wk
