#include "editors/c4410_view.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QTabBar>
#include <algorithm>

#include "diagnostics/ui/dlg_health.h"
#include "document/c4410_doc.h"
#include "editors/dlg_prop_ins.h"
#include "editors/dlg_prop_insuser.h"
#include "editors/dlg_prop_misc.h"
#include "editors/dlg_prop_outs.h"
#include "editors/dlg_prop_reports.h"
#include "editors/dlg_prop_sms_data.h"
#include "language/translate.h"
#include "language/ui/translate_menu.h"
#include "onewire/ui/dlg_prop_thermo.h"
#include "link/ui/device_commands.h"
#include "seams/prompter.h"
#include "seams/qt/progress_dlg.h"
#include "seams/seams.h"
#include "widgets/grid.h"

namespace wk {

namespace {

template <class Page>
QWidget* makePage(const PageContext& context, QWidget* parent) {
  return new Page(context, parent);
}

}  // namespace

const std::vector<SectionTab>& C4410View::tabs() {
  static const std::vector<SectionTab> table{
      {"SMS Data", &makePage<CDlgPropSMSData>},       {"Main Channels", &makePage<CDlgPropIns>},
      {"User Events", &makePage<CDlgPropInsuser>},    {"Outputs", &makePage<CDlgPropOuts>},
      {"Thermosensors", &makePage<CDlgPropThermo>},   {"Miscellaneous", &makePage<CDlgPropMisc>},
      {"Reports", &makePage<CDlgPropReports>},
  };
  return table;
}

C4410View::C4410View(C4410Doc& doc, const Seams& seams, QWidget* parent)
    : QWidget(parent),
      context_{doc, seams, progressWindowFor(this)},
      tabControl_(new QWidget(this)),
      tabBar_(new QTabBar(tabControl_)) {
  tabControl_->setObjectName(QStringLiteral("tabControl"));
  tabControl_->setProperty("controlId", kTabControlId);
  tabControl_->setGeometry(rect());
  tabBar_->setShape(QTabBar::RoundedSouth);
  tabBar_->setDocumentMode(true);  // flat buttons, no frame around the pages
  tabBar_->setDrawBase(false);
  tabBar_->setExpanding(false);
  tabBar_->setUsesScrollButtons(true);

  // Each page registers itself with the document as it is made.
  for (const SectionTab& tab : tabs()) {
    tabBar_->addTab(qtr(tab.label));
    QWidget* page = tab.create(context_, tabControl_);
    page->move(kInitialPagePos);
    page->setVisible(pages_.empty());
    pages_.push_back(page);
    if (auto* thermo = dynamic_cast<CDlgPropThermo*>(page)) thermo_ = thermo;
  }

  tabBar_->setCurrentIndex(0);
  connect(tabBar_, &QTabBar::currentChanged, this, &C4410View::showOnly);
}

void C4410View::showOnly(int index) {
  for (QWidget* page : pages_) page->hide();
  if (index >= 0 && index < static_cast<int>(pages_.size())) pages_[static_cast<std::size_t>(index)]->show();
}

void C4410View::showPage(const QWidget* page) {
  const auto at = std::find(pages_.begin(), pages_.end(), page);
  if (at != pages_.end()) tabBar_->setCurrentIndex(static_cast<int>(at - pages_.begin()));
}

void C4410View::endEditing() {
  for (Grid* grid : findChildren<Grid*>()) grid->endEditing();
}

void C4410View::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  tabControl_->setGeometry(rect());
  tabControl_->repaint();
  layoutPages();
}

void C4410View::layoutPages() {
  const QRect client = tabControl_->rect();
  const QRect pageArea = client.adjusted(kPageLeft, kPageTop, -kPageRight, -kPageBottom);
  for (QWidget* page : pages_) page->setGeometry(pageArea);
  // The tab strip fills the room left below the pages.
  const int stripHeight = std::min(tabBar_->sizeHint().height(), kPageBottom - 2);
  tabBar_->setGeometry(kPageLeft, client.height() - stripHeight - 1, std::max(0, client.width() - kPageLeft - kPageRight),
                       stripHeight);
}

void C4410View::OnReadAll() { runReadAll(context_.doc, context_.device()); }
void C4410View::OnWriteAll() { runWriteAll(context_.doc, context_.device()); }
void C4410View::OnWriteChanged() { runWriteChanged(context_.doc, context_.device()); }
void C4410View::OnHealthStatus() {
  diag::CDlgHealth dialog(context_.device(), this);
  dialog.exec();
}

void C4410View::OnFilePrint(QPrinter& printer) {
  QPrintDialog dialog(&printer, window());
  if (dialog.exec() == QDialog::Accepted) print(&printer);
}

void C4410View::OnFilePrintPreview(QPrinter& printer) {
  QPrintPreviewDialog preview(&printer, window());
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { print(p); });
  preview.exec();
}

int C4410View::printLinesPerPage(int pageHeightUnits) { return std::max(1, pageHeightUnits / kPrintLinePitch); }

void C4410View::print(QPrinter* printer) const {
  QPainter painter;
  if (!painter.begin(printer)) return;
  const double scale = printer->resolution() / double(kPrintUnitsPerInch);
  painter.scale(scale, scale);
  QFont font = painter.font();
  font.setPixelSize(kPrintLinePitch * 4 / 5);
  painter.setFont(font);
  const QRectF page = printer->pageRect(QPrinter::DevicePixel);
  const int pageHeight = static_cast<int>(page.height() / scale);
  const int pageWidth = static_cast<int>(page.width() / scale);
  const int linesPerPage = printLinesPerPage(pageHeight);
  for (int line = 0; line < kPrintLines; ++line) {
    const int row = line % linesPerPage;
    if (line > 0 && row == 0) printer->newPage();
    // Each line as it is formatted, without its line end.
    const QString text = QString::fromUtf8("Строка %1").arg(line);
    painter.drawText(QRectF(0, row * kPrintLinePitch, pageWidth, kPrintLinePitch), Qt::AlignLeft | Qt::AlignTop, text);
  }
  painter.end();
}

}  // namespace wk
