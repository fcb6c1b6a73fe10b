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

namespace {

// A printer that writes a PDF file gets the page from the program's own writer.
bool WritesPdfFile(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

PrintResult WriteSheetPdf(QPrinter& printer, const SheetOutput& output, QPoint origin,
                          const QTransform& correction) {
    PdfPage page;
    page.correction = correction;
    page.paperPoints = printer.pageLayout().fullRectPoints().size();
    page.dpiX = printer.logicalDpiX();
    page.dpiY = printer.logicalDpiY();
    page.title = printer.docName();
    page.creator = printer.creator();
    const std::vector<PdfPicture> pictures = PdfPicturesOf(output, origin);
    const PdfWriteResult written = WritePicturePdf(printer.outputFileName(), page, pictures);
    PrintResult result;
    result.byCards = output.byCards;
    switch (written.status) {
    case PdfWriteStatus::Written:
        result.status = PrintStatus::Printed;
        for (const PdfPicture& picture : pictures) {
            result.pictures += int32_t(picture.places.size());
        }
        break;
    case PdfWriteStatus::CannotCreate:
        result.status = PrintStatus::CannotStart;
        result.message =
            "The print job could not be started on " + printer.outputFileName() + ": " + written.reason + ".";
        break;
    case PdfWriteStatus::WriteFailed:
        result.status = PrintStatus::PrinterError;
        result.message =
            "The file " + printer.outputFileName() + " could not be written: " + written.reason + ".";
        break;
    }
    return result;
}

} // namespace

PrintResult PrintSheet(QPrinter& printer, ItemList& design, const QString& title, std::string_view selection,
                       const ItemPainter& paint, const PrinterCalibration& calibration) {
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
    const QPoint origin(device.offsetX, device.offsetY);
    const QTransform correction = CalibrationTransform(calibration, device.dpiX, device.dpiY);
    if (WritesPdfFile(printer)) {
        return WriteSheetPdf(printer, output, origin, correction);
    }
    result = PrintPage(printer, [&](QPainter& painter) {
        painter.setTransform(correction);
        return DrawSheetOutput(painter, output, origin);
    });
    result.byCards = output.byCards;
    return result;
}

PrintResult PrintPage(QPrinter& printer, const std::function<int32_t(QPainter&)>& draw) {
    PrintResult result;
    QPainter painter;
    if (!painter.begin(&printer)) {
        result.status = PrintStatus::CannotStart;
        const QString name =
            printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        result.message = "The print job could not be started on " + name + ".";
        return result;
    }
    result.pictures = draw(painter);
    const bool ended = painter.end();
    if (!ended || printer.printerState() == QPrinter::Error) {
        result.status = PrintStatus::PrinterError;
        result.message = "The printer reported an error; the sheet may not have printed completely.";
        return result;
    }
    result.status = PrintStatus::Printed;
    return result;
}

QString CalibrationName(const QPrinter& printer) {
    return WritesPdfFile(printer) ? QString(kPdfFilePrinter) : printer.printerName();
}

QTransform CalibrationTransform(const PrinterCalibration& c, double dpiX, double dpiY) {
    return QTransform(c.scaleXPercent / 100.0, 0.0, 0.0, c.scaleYPercent / 100.0, c.offsetXMm / 25.4 * dpiX,
                      c.offsetYMm / 25.4 * dpiY);
}

int32_t CardsMovedOffThePaper(const ItemList& design, std::string_view selection,
                              const PrinterCalibration& calibration) {
    // Fine enough to tell a tenth of a millimetre.
    constexpr double kDpi = 600.0;
    const std::optional<QSizeF> paper = PaperInches(design);
    const std::optional<SheetGeometry> g = SheetGeometryOf(design, PaperDevice(design, kDpi));
    if (!paper || !g || !g->repeatsCards) {
        return 0;
    }
    const QRectF sheet(0, 0, paper->width() * kDpi, paper->height() * kDpi);
    const QTransform correction = CalibrationTransform(calibration, kDpi, kDpi);
    // Half a pixel of rounding either way is no move off the paper.
    auto onPaper = [&sheet](const QRectF& card) {
        return sheet.adjusted(-0.5, -0.5, 0.5, 0.5).contains(card);
    };
    int32_t moved = 0;
    for (int32_t row = 1; row <= g->rows; ++row) {
        for (int32_t column = 1; column <= g->columns; ++column) {
            if (!AreaPrints(selection, row, column, g->columns)) {
                continue;
            }
            const QRectF card(double(g->view.originX) + double(column - 1) * (g->cardW + g->colGap),
                              double(g->view.originY) + double(row - 1) * (g->cardH + g->rowGap), g->cardW,
                              g->cardH);
            moved += onPaper(card) && !onPaper(correction.mapRect(card)) ? 1 : 0;
        }
    }
    return moved;
}

QString CardsOffThePaperWarning(int32_t cards, const QString& printer) {
    return QString(
               "The calibration of the printer \"%1\" moves %2 beyond the edge of the paper, where %3 cannot "
               "print completely.")
        .arg(printer, cards == 1 ? QString("a card") : QString("%1 cards").arg(cards),
             cards == 1 ? QString("it") : QString("they"));
}

} // namespace vlr
