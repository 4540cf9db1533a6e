#include "kit/report/report_printing.h"

#include "kit/report/page_renderer.h"
#include "kit/report/report.h"
#include "kit/report/report_generator.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace kit {

void setUpPrinter(QPrinter &printer, const QString &title, const PageSetup &setup)
{
    const QSizeF paper(setup.paperWidth / 100.0, setup.paperHeight / 100.0);
    const bool landscape = paper.width() > paper.height();
    const QPageSize size(landscape ? paper.transposed() : paper, QPageSize::Millimeter);
    printer.setPageLayout(QPageLayout(size,
                                      landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(), QPageLayout::Millimeter));
    printer.setFullPage(true);
    printer.setDocName(title);
}

bool printDocument(QPrinter &printer, const ReportDocument &doc, const PrintProgress &progress)
{
    const int pageCount = static_cast<int>(doc.pages.size());
    int from = 1, to = pageCount;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = std::max(1, printer.fromPage());
        to = std::min(pageCount, std::max(from, printer.toPage()));
    }
    // Printers that cannot make copies themselves get the pages that many times.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    const int total = std::max(0, to - from + 1) * copies;
    if (total == 0)
        return true;

    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportPrintError("The printer could not be started");
    const QRectF pixels = printer.paperRect(QPrinter::DevicePixel);
    const QRectF millimetres = printer.paperRect(QPrinter::Millimeter);
    painter.scale(pixels.width() / millimetres.width() / 1000.0,
                  pixels.height() / millimetres.height() / 1000.0);

    const PageRenderer renderer(doc);
    int printed = 0;
    for (int copy = 0; copy < copies; ++copy) {
        for (int page = from; page <= to; ++page) {
            if (progress && !progress(printed, total)) {
                printer.abort();
                painter.end();
                return false;
            }
            if (printed > 0 && !printer.newPage())
                throw ReportPrintError("The printer could not start a new page");
            renderer.paint(painter, static_cast<std::size_t>(page - 1));
            ++printed;
        }
    }
    if (!painter.end())
        throw ReportPrintError("The printer could not finish the job");
    return true;
}

bool printReport(QPrinter &printer, const Report &report, const PrintProgress &progress)
{
    ReportGenerator generator(report);
    while (!generator.step(2048)) {
        if (progress && !progress(0, 0))
            return false;
    }
    const ReportDocument doc = generator.takeDocument();
    setUpPrinter(printer, doc.title, doc.setup);
    return printDocument(printer, doc, progress);
}

}  // namespace kit
