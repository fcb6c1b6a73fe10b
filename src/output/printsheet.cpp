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
    if (paper && paper->width() > 0 && paper->height() > 0) {
        printer.setPageSize(QPageSize(*paper, QPageSize::Inch, QString(), QPageSize::ExactMatch));
    }
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
    ComposeResult composed = ComposeSheet(design, device, selection, paint);
    if (composed.status == ComposeStatus::NoHeader) {
        return result;
    }
    if (!composed.ok()) {
        result.status = PrintStatus::NotComposed;
        result.message = ComposeMessage(composed.status, composed.geometry);
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
    // Otherwise a PDF carries the sheet as JPEG pictures, blurring the printer's dots.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const QImage& sheet = composed.sheet.image();
    for (const QRect& tile : SheetTiles(sheet.width(), sheet.height())) {
        painter.drawImage(QPoint(device.offsetX + tile.x(), device.offsetY + tile.y()), sheet.copy(tile));
        ++result.tiles;
    }
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
