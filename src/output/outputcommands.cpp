// The output commands and the export file dialog.
#include "output/outputcommands.h"

#include "model/itemkind.h"
#include "model/numeric.h"
#include "model/prompt.h"
#include "output/calibration.h"
#include "output/preview.h"
#include "output/printsheet.h"
#include "output/prsel.h"
#include "output/testpage.h"
#include "render/resample.h"
#include "settings/designtype.h"
#include "settings/params.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>

namespace vlr {

namespace {

constexpr const char* kJpegFilter = "JPEG Image Files (*.jpg *.jpeg)";
constexpr const char* kBitmapFilter = "Bitmaps (*.bmp)";
// A printer that writes a PDF file gets the sheet at this resolution: sharp on paper, a file of
// modest size.
constexpr int kPdfFileDpi = 600;
// The background of the 4 : 3 screenshot.
constexpr QRgb kScreenshotBackground = 0xFF233F40; // red 35, green 63, blue 64

bool HasHeader(const OutputDocument& document) {
    return document.items && FindRecord(*document.items, ItemKind::Header);
}

std::string_view SelectionOf(const OutputDocument& document) {
    return document.selection ? std::string_view(*document.selection) : std::string_view();
}

// The name without its extension: folder and base name.
QString WithoutExtension(const QString& path) {
    const QFileInfo file(path);
    return file.path() + "/" + file.completeBaseName();
}

} // namespace

ExportDialogs::~ExportDialogs() = default;

QString QtExportDialogs::ExportFileName(const QString& folder, int& filterIndex) {
    const QStringList filters{kJpegFilter, kBitmapFilter};
    QFileDialog dialog(parent_, "Export", folder);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("jpg");
    // The program asks about replacing a file itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectNameFilter(filters.value(filterIndex - 1, filters.first()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return dialog.selectedFiles().first();
}

QString QtExportDialogs::TestPageFileName() {
    QFileDialog dialog(parent_, kTestPageTitle);
    dialog.setNameFilter("PDF Files (*.pdf)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("pdf");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

SheetPicture ExportExactImage(ItemList& design, const ItemPainter& paint) {
    const ItemRecord* header = FindRecord(design, ItemKind::Header);
    if (!header) {
        return {};
    }
    QSize target;
    if (DesignTypeOf(*header) == DesignType::DigitalImages && header->units == 1) {
        // A picture for the web keeps its exact pixel size.
        target = QSize(std::max(1, nearest(header->paperWidth)), std::max(1, nearest(header->paperHeight)));
    } else {
        target = DisplaySize(PreviewPageSize(design), design.screen);
    }
    return ReducedSheet(design, ExportDevice(design), {}, target, paint);
}

QImage ScreenshotThumbnail(const QImage& capture) {
    if (capture.isNull()) {
        return {};
    }
    constexpr int kWidth = 400;
    const int height = nearest(double(kWidth) * capture.height() / capture.width());
    return Resampled(capture.convertToFormat(QImage::Format_RGB32), kWidth, height, ResampleFilter::Mitchell);
}

QImage ScreenshotFourByThree(const QImage& capture) {
    if (capture.isNull()) {
        return {};
    }
    const int height = nearest(capture.width() * 0.75);
    QImage picture(capture.width(), height, QImage::Format_RGB32);
    if (picture.isNull()) {
        return {};
    }
    picture.fill(kScreenshotBackground);
    QPainter painter(&picture);
    painter.drawImage(0, (height - capture.height()) / 2, capture);
    return picture;
}

OutputCommands::OutputCommands(TParams& params, Prompt& prompt, ExportDialogs& dialogs)
    : params_(params), prompt_(prompt), dialogs_(dialogs) {}

void OutputCommands::PrintCommand(const OutputDocument& document) {
    if (!HasHeader(document)) {
        return;
    }
    if (NeedsAreaChoice(*document.items)) {
        showFormY(66, document.docNumber, {});
    } else {
        Print(document);
    }
}

void OutputCommands::PreviewCommand(const OutputDocument& document) {
    if (!HasHeader(document)) {
        return;
    }
    exportRequest_ = false;
    if (NeedsAreaChoice(*document.items)) {
        showFormY(67, document.docNumber, {});
    } else {
        showFormX(57, document.docNumber, document.caption);
    }
}

void OutputCommands::Print(const OutputDocument& document) {
    if (!HasHeader(document)) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document.caption);
    printer.setFullPage(true);
    UseDesignPaper(printer, *document.items);
    if (!runPrintDialog || !runPrintDialog(printer) || printer.copyCount() < 1) {
        return; // cancelled: no job is started
    }
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        printer.setResolution(kPdfFileDpi);
    }
    const QString name = CalibrationName(printer);
    const PrinterCalibration calibration = CalibrationOf(name);
    if (const int32_t moved = CardsMovedOffThePaper(*document.items, SelectionOf(document), calibration);
        moved > 0 && prompt_.Ask(PromptIcon::Warning,
                                 (CardsOffThePaperWarning(moved, name) + " Print anyway?").toStdString(),
                                 PromptButtons::YesNo) != PromptAnswer::Yes) {
        return;
    }
    PrintResult result =
        PrintSheet(printer, *document.items, document.caption, SelectionOf(document), paint, calibration);
    if (!result.ok() && !result.message.isEmpty()) {
        prompt_.Ask(PromptIcon::Error, result.message.toStdString(), PromptButtons::Ok);
    } else if (result.ok() && reportDone) {
        reportDone("Printed " + document.caption);
    }
}

void OutputCommands::ExportExact(const OutputDocument& document) {
    if (!HasHeader(document)) {
        return;
    }
    std::optional<ExportChoice> choice = ChooseExportFile();
    if (!choice) {
        return;
    }
    SheetPicture picture = ExportExactImage(*document.items, paint);
    if (picture.image.isNull()) {
        if (!picture.message.isEmpty()) {
            prompt_.Ask(PromptIcon::Error, picture.message.toStdString(), PromptButtons::Ok);
        }
        return;
    }
    WriteOrReport(picture.image, choice->path, choice->type);
}

void OutputCommands::ExportSmooth(const OutputDocument& document) {
    if (!HasHeader(document)) {
        return;
    }
    // The preview page made while the host shows it takes the request; a host that shows no
    // page leaves none behind for a later preview.
    exportRequest_ = true;
    showFormX(57, document.docNumber, document.caption);
    exportRequest_ = false;
}

void OutputCommands::ExportPreview(const TPreview& preview) {
    std::optional<OutputDocument> document = findDocument ? findDocument(preview.docNumber()) : std::nullopt;
    if (!document || !HasHeader(*document) || !preview.isReady()) {
        return;
    }
    std::optional<ExportChoice> choice = ChooseExportFile();
    if (choice) {
        WriteOrReport(preview.image().convertToFormat(QImage::Format_RGB32), choice->path, choice->type);
    }
}

void OutputCommands::Screenshot(QWidget& window) {
    const QString chosen = ChooseFileName(1, nullptr);
    if (chosen.isEmpty()) {
        return;
    }
    // The window's client area with a border of 4 pixels on every side.
    QImage capture(window.width() + 8, window.height() + 8, QImage::Format_RGB32);
    if (capture.isNull()) {
        return;
    }
    capture.fill(window.palette().window().color());
    {
        QPainter painter(&capture);
        window.render(&painter, QPoint(4, 4));
    }
    const QString base = WithoutExtension(chosen);
    const std::pair<QString, QImage> pictures[] = {{base + "_400w.jpg", ScreenshotThumbnail(capture)},
                                                   {base + "_4wx3h.jpg", ScreenshotFourByThree(capture)}};
    for (const auto& [path, image] : pictures) {
        if (MayReplace(path)) {
            WriteOrReport(image, path, ExportFileType::Jpeg);
        }
    }
}

void OutputCommands::CalibrationCommand(int32_t number) {
    showFormY(68, number, {});
}

PrinterCalibration OutputCommands::CalibrationOf(const QString& printer) const {
    return store ? LoadCalibration(*store, printer.toStdString()).value_or(PrinterCalibration{})
                 : PrinterCalibration{};
}

bool OutputCommands::PrintTestPage(int32_t number, const QString& printerName,
                                   const PrinterCalibration& calibration) {
    QPrinter printer(QPrinter::HighResolution);
    if (printerName == kPdfFilePrinter) {
        const QString path = dialogs_.TestPageFileName();
        if (path.isEmpty()) {
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    } else {
        printer.setPrinterName(printerName);
    }
    std::optional<OutputDocument> document = findDocument ? findDocument(number) : std::nullopt;
    if (document && HasHeader(*document)) {
        UseDesignPaper(printer, *document->items);
    } else {
        printer.setPageSize(QPageSize(QPageSize::Letter));
    }
    const PrintResult result = vlr::PrintTestPage(
        printer, document && document->items ? CardOutlinesMm(*document->items) : std::vector<QRectF>{},
        calibration);
    if (!result.ok()) {
        prompt_.Ask(PromptIcon::Error, result.message.toStdString(), PromptButtons::Ok);
    }
    return result.ok();
}

TCalibration* OutputCommands::CreateCalibrationPage(int32_t number, QWidget* parent) {
    if (!store) {
        return nullptr;
    }
    std::optional<OutputDocument> document = findDocument ? findDocument(number) : std::nullopt;
    const ItemList* design = document && HasHeader(*document) ? document->items : nullptr;
    QStringList printers = QPrinterInfo::availablePrinterNames();
    printers.append(kPdfFilePrinter);
    const QString chosen = QPrinterInfo::defaultPrinterName().isEmpty() ? QString(kPdfFilePrinter)
                                                                        : QPrinterInfo::defaultPrinterName();
    const std::optional<QSizeF> paper = design ? PaperInches(*design) : std::nullopt;
    const QSizeF paperMm = paper ? *paper * 25.4 : QPageSize(QPageSize::Letter).size(QPageSize::Millimeter);
    auto* page =
        new TCalibration(*store, prompt_, params_.decimalSeparator, printers, chosen, design,
                         document ? std::string(SelectionOf(*document)) : std::string(), paperMm, parent);
    page->printTestPage = [this, number](const QString& printer, const PrinterCalibration& calibration) {
        return PrintTestPage(number, printer, calibration);
    };
    return page;
}

TPrsel* OutputCommands::CreateAreaPage(int code, int32_t number, QWidget* parent) {
    std::optional<OutputDocument> document = findDocument ? findDocument(number) : std::nullopt;
    auto* page = new TPrsel(document ? document->items : nullptr,
                            document ? std::string(SelectionOf(*document)) : std::string(), parent);
    page->confirmed = [this, code, number](const std::string& selection) {
        AreasChosen(code, number, selection);
    };
    return page;
}

TPreview* OutputCommands::CreatePreviewPage(int32_t number, QWidget* parent) {
    previewDocument_ = number;
    auto* page = new TPreview(number, findDocument, exportRequest_, parent);
    page->paint = paint;
    QObject::connect(page, &TPreview::calibrationClicked, page,
                     [this](int32_t docNumber) { CalibrationCommand(docNumber); });
    exportRequest_ = false;
    QObject::connect(page, &TPreview::printRequested, page, [this](int32_t docNumber) {
        // Once the host has hidden.
        QTimer::singleShot(0, qApp, [this, docNumber] {
            if (std::optional<OutputDocument> document =
                    findDocument ? findDocument(docNumber) : std::nullopt) {
                PrintCommand(*document);
            }
        });
    });
    return page;
}

void OutputCommands::AreasChosen(int code, int32_t number, const std::string& selection) {
    std::optional<OutputDocument> document = findDocument ? findDocument(number) : std::nullopt;
    if (!document) {
        return;
    }
    if (document->selection) {
        *document->selection = selection;
    }
    if (code == 66) {
        // Printing starts once the host has hidden.
        if (document->printLater) {
            document->printLater();
        } else {
            Print(*document);
        }
    } else {
        showFormX(57, number, document->caption);
    }
}

QString OutputCommands::ChooseFileName(int filterIndex, int* chosenFilter) {
    const std::string& stored = params_.state.expdir;
    const QString folder = stored.empty() ? QString()
                           : localFolder  ? localFolder(stored)
                                          : QString::fromStdString(stored);
    int filter = filterIndex;
    const QString chosen = dialogs_.ExportFileName(folder, filter).trimmed();
    if (chosen.isEmpty()) {
        return {};
    }
    params_.state.expdir = QFileInfo(chosen).absolutePath().toStdString();
    if (chosenFilter) {
        *chosenFilter = filter;
    }
    return chosen;
}

bool OutputCommands::MayReplace(const QString& path) {
    return !QFileInfo::exists(path) || prompt_.Ask(PromptIcon::Question, kExportReplaceQuestion,
                                                   PromptButtons::YesNo) == PromptAnswer::Yes;
}

std::optional<OutputCommands::ExportChoice> OutputCommands::ChooseExportFile() {
    const int stored = params_.state.expndx == 2 ? 2 : 1;
    int chosenFilter = stored;
    const QString chosen = ChooseFileName(stored, &chosenFilter);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    if (chosenFilter == 1 || chosenFilter == 2) {
        params_.state.expndx = chosenFilter;
    }
    if (!MayReplace(chosen)) {
        return std::nullopt;
    }
    return ExportChoice{chosen, ExportFileTypeOf(chosen)};
}

void OutputCommands::WriteOrReport(const QImage& image, const QString& path, ExportFileType type) {
    const QString error = image.isNull() ? QString("The picture for %1 could not be made.").arg(path)
                                         : WriteExportFile(image, path, type);
    if (!error.isEmpty()) {
        prompt_.Ask(PromptIcon::Error, error.toStdString(), PromptButtons::Ok);
    }
}

} // namespace vlr
