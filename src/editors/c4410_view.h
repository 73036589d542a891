#pragma once
// The section view: the only view of a document window. A tab strip along the
// bottom with one page per section of the configuration; the view creates the
// pages, hands each its parts of the image, registers them with the document,
// sizes them and switches between them. It also carries the commands that act
// on its document: read-all, write-all, the write of the changes, health
// status and printing.
#include <QWidget>
#include <vector>

#include "widgets/section_page.h"

class QPainter;
class QPrinter;
class QTabBar;

namespace wk {

class C4410Doc;
class CDlgPropThermo;

// A tab of the section view: its label (translated when shown) and how its
// page is made. The view's one table of these is the only place that lists
// the pages.
struct SectionTab {
  const char* label;
  QWidget* (*create)(const PageContext& context, QWidget* parent);
};

class C4410View : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kTabControlId = 109;
  static constexpr int kPageCount = 7;
  // Room around the pages inside the tab control: the tab strip is at the bottom.
  static constexpr int kPageLeft = 2, kPageTop = 2, kPageRight = 4, kPageBottom = 28;
  // Where a page is put when it is created, before the first resize.
  static constexpr QPoint kInitialPagePos{2, 22};

  // seams: the messages, settings, clock and serial line of the pages and of
  // the device commands.
  C4410View(C4410Doc& doc, const Seams& seams, QWidget* parent = nullptr);

  // The tabs in order.
  static const std::vector<SectionTab>& tabs();

  C4410Doc& document() const { return context_.doc; }
  // What the pages are built from; its device() reaches the controller with
  // the progress window owned by this view's window.
  const PageContext& context() const { return context_; }
  QSize sizeHint() const override { return {760, 520}; }
  QWidget* tabControl() const { return tabControl_; }
  QTabBar* tabBar() const { return tabBar_; }
  // The page of each tab, in tab order.
  QWidget* page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
  CDlgPropThermo* thermoPage() const { return thermo_; }
  // Brings the tab of page (one of this view's) to the front.
  void showPage(const QWidget* page);
  // Ends the in-place edit open on any page, committing it as Return would,
  // so that what is being typed counts as a change before a close asks.
  void endEditing();

  // Device commands on this view's document.
  void OnReadAll();
  void OnWriteAll();
  void OnWriteChanged();
  void OnHealthStatus();

  // Printing on the program's printer: the print dialog, then the pages.
  void OnFilePrint(QPrinter& printer);
  void OnFilePrintPreview(QPrinter& printer);
  // Draws every page of the printout on printer.
  void print(QPrinter* printer) const;

  // The printout: 256 lines "Строка N", line N at y = 50·N in logical units of
  // 1/600 inch, carried over to the next page where the page ends.
  static constexpr int kPrintLines = 256;
  static constexpr int kPrintLinePitch = 50;
  static constexpr int kPrintUnitsPerInch = 600;
  static int printLinesPerPage(int pageHeightUnits);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void showOnly(int index);
  void layoutPages();

  PageContext context_;
  QWidget* tabControl_;
  QTabBar* tabBar_;
  std::vector<QWidget*> pages_;
  CDlgPropThermo* thermo_ = nullptr;
};

}  // namespace wk
