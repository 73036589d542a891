#include "editors/c4410_view.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QTabBar>
#include <algorithm>

#include "document/c4410_doc.h"
#include "editors/dlg_prop_thermo.h"
#include "editors/placeholder_pages.h"
#include "language/translate.h"
#include "language/ui/translate_menu.h"
#include "link/ui/device_commands.h"
#include "seams/prompter.h"
#include "seams/seams.h"

namespace wk {

C4410View::C4410View(C4410Doc& doc, const Seams& seams, QWidget* parent)
    : QWidget(parent), doc_(doc), prompter_(seams.prompter), settings_(seams.settings), clock_(seams.clock), tabControl_(new QWidget(this)), tabBar_(new QTabBar(tabControl_)) {
  tabControl_->setObjectName(QStringLiteral("tabControl"));
  tabControl_->setProperty("controlId", kTabControlId);
  tabControl_->setGeometry(rect());
  tabBar_->setShape(QTabBar::RoundedSouth);
  tabBar_->setDocumentMode(true);  // flat buttons, no frame around the pages
  tabBar_->setDrawBase(false);
  tabBar_->setExpanding(false);
  tabBar_->setUsesScrollButtons(true);

  using namespace image;
  auto* sms = new CDlgPropSMSData(doc_, {SmsRecords, SmsComments}, tabControl_);
  doc_.registerEditor(EditorSlot::SmsData, sms);
  addPage("SMS Data", sms);

  auto* channels = new CDlgPropIns(doc_, {ChannelRecords, CommonSettings, ChannelAliases}, tabControl_);
  doc_.registerEditor(EditorSlot::MainChannels, channels);
  addPage("Main Channels", channels);

  auto* userEvents = new CDlgPropInsuser(doc_, {UserEventRecords, UserEventBlock}, tabControl_);
  doc_.registerEditor(EditorSlot::UserEvents, userEvents);
  addPage("User Events", userEvents);

  auto* outputs = new CDlgPropOuts(doc_, {OutputRecords, OutputAliases}, tabControl_);
  doc_.registerEditor(EditorSlot::Outputs, outputs);
  addPage("Outputs", outputs);

  thermo_ = new CDlgPropThermo(doc_, {SensorSlots1, SensorSlots2, KeySlots, SensorAliases1, SensorAliases2, KeyComments},
                               tabControl_);
  doc_.registerEditor(EditorSlot::ThermoChannel1, &thermo_->channel(0));
  doc_.registerEditor(EditorSlot::ThermoChannel2, &thermo_->channel(1));
  doc_.registerEditor(EditorSlot::IButtonKeys, &thermo_->keys());
  addPage("Thermosensors", thermo_);

  auto* misc = new CDlgPropMisc(doc_, {CommonSettings}, tabControl_);
  doc_.registerEditor(EditorSlot::Miscellaneous, misc);
  addPage("Miscellaneous", misc);

  auto* reports = new CDlgPropReports(doc_, {CommonSettings}, tabControl_);
  doc_.registerEditor(EditorSlot::Reports, reports);
  addPage("Reports", reports);

  tabBar_->setCurrentIndex(0);
  connect(tabBar_, &QTabBar::currentChanged, this, &C4410View::showOnly);
}

void C4410View::addPage(const char* label, QWidget* page) {
  tabBar_->addTab(qtr(label));
  page->move(kInitialPagePos);
  page->setVisible(pages_.empty());
  pages_.push_back(page);
}

void C4410View::showOnly(int index) {
  for (QWidget* page : pages_) page->hide();
  if (index >= 0 && index < static_cast<int>(pages_.size())) pages_[static_cast<std::size_t>(index)]->show();
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

void C4410View::notAvailableYet() { prompter_.note(wk::tr("not available yet")); }

void C4410View::OnReadAll() { runReadAll(doc_, this, Seams{prompter_, settings_, clock_}); }
void C4410View::OnWriteAll() { runWriteAll(doc_, this, Seams{prompter_, settings_, clock_}); }
void C4410View::OnHealthStatus() { notAvailableYet(); }

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
