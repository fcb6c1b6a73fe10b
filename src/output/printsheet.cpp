// Printing the composed sheet.
#include "output/printsheet.h"

#include "model/numeric.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace vlr {

void UseDesignPaper(QPrinter& printer, const ItemList& design) {
    std::optional<QSizeF> paper = PaperInches(design);
    if (!paper || !(paper->width() > 0) || !(paper->height() > 0)) {
        return;
    }
    // Paper sizes are named upright; a design wider than high lies on the paper of its size
    // turned, as printers and print queues expect, not on an upright paper of swapped sides.
    const bool landscape = paper->width() > paper->height();
    const QSizeF upright = landscape ? paper->transposed() : *paper;
    const QPageSize::PageSizeId standard = QPageSize::id(upright, QPageSize::Inch, QPageSize::FuzzyMatch);
    printer.setPageSize(standard == QPageSize::Custom
                            ? QPageSize(upright, QPageSize::Inch, QString(), QPageSize::ExactMatch)
                            : QPageSize(standard));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

ComposeDevice PrinterDevice(QPrinter& printer) {
    printer.setFullPage(true);
    ComposeDevice device;
    device.dpiX = printer.logicalDpiX();
    device.dpiY = printer.logicalDpiY();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    device.pageW = nearest(paper.width());
    device.pageH = nearest(paper.height());
    // The edges the printer cannot reach, as it reports them.
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Point);
    const QMarginsF unprintable = layout.minimumMargins();
    device.offsetX = nearest(unprintable.left() * device.dpiX / 72.0);
    device.offsetY = nearest(unprintable.top() * device.dpiY / 72.0);
    return device;
}

PrintResult PrintSheet(QPrinter& printer, ItemList& design, const QString& title, std::string_view selection,
                       const ItemPainter& paint) {
    PrintResult result;
    const ComposeDevice device = PrinterDevice(printer);
    const SheetOutput output = PrepareSheetOutput(design, device, selection, paint);
    if (output.status == ComposeStatus::NoHeader) {
        return result;
    }
    if (!output.ok()) {
        result.status = PrintStatus::NotComposed;
        result.message = ComposeMessage(output.status, output.geometry);
        return result;
    }

    printer.setDocName(title);
    QPainter painter;
    if (!painter.begin(&printer)) {
        result.status = PrintStatus::CannotStart;
        const QString name =
            printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        result.message = "The print job could not be started on " + name + ".";
        return result;
    }
    result.byCards = output.byCards;
    result.pictures = DrawSheetOutput(painter, output, QPoint(device.offsetX, device.offsetY));
    const bool ended = painter.end();
    if (!ended || printer.printerState() == QPrinter::Error) {
        result.status = PrintStatus::PrinterError;
        result.message = "The printer reported an error; the sheet may not have printed completely.";
        return result;
    }
    result.status = PrintStatus::Printed;
    return result;
}

} // namespace vlr
