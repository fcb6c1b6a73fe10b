// The batch tool's sheet and export commands.
#include "batchoutput.h"

#include "model/itemkind.h"
#include "output/composesheet.h"
#include "output/exportimage.h"
#include "output/outputcommands.h"
#include "output/preview.h"
#include "output/printsheet.h"
#include "output/testpage.h"
#include "platform/inistore.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>

#include <cmath>
#include <iostream>
#include <optional>

namespace vlr::batch {

namespace {

constexpr double kDefaultSheetDpi = 600.0;

struct OutputOptions {
    std::string command;
    FileOptions files;
    double dpi = kDefaultSheetDpi;
    std::string selection;
    bool smooth = false;
    std::optional<std::string> printer; // whose calibration corrects the page
};

std::optional<OutputOptions> Parse(int argc, char** argv) {
    OutputOptions options;
    options.command = argv[1];
    const bool sheet = options.command == "sheet";
    const bool testPage = options.command == "test-page";
    std::optional<double> dpi = kDefaultSheetDpi;
    const bool parsed = ParseArguments(
        argc, argv, options.files,
        [&](int& i) {
            const std::string argument = argv[i];
            if (argument == "--dpi" && sheet) {
                return TakeNumber(argc, argv, i, kLowestDpi, kHighestDpi, dpi);
            }
            if (argument == "--select" && sheet && i + 1 < argc) {
                options.selection = argv[++i];
                return true;
            }
            if (argument == "--smooth" && options.command == "export") {
                options.smooth = true;
                return true;
            }
            if (argument == "--printer" && (sheet || testPage) && i + 1 < argc) {
                options.printer = argv[++i];
                return true;
            }
            return false;
        },
        !testPage);
    if (!parsed) {
        return std::nullopt;
    }
    options.dpi = *dpi;
    return options;
}

// The calibration of the printer the options name, from the editor's settings store; none when
// they name none. Fails when the printer has no calibration stored.
std::optional<PrinterCalibration> CalibrationOfOptions(const OutputOptions& options, bool& failed) {
    failed = false;
    if (!options.printer) {
        return std::nullopt;
    }
    IniRegistryStore store;
    std::optional<PrinterCalibration> calibration = LoadCalibration(store, *options.printer);
    if (!calibration) {
        failed = true;
        Fail(QString("no valid calibration of the printer %1 is stored in %2")
                 .arg(QString::fromStdString(*options.printer), store.FileOfKey(kCalibrationKey)));
    }
    return calibration;
}

// A PDF of the design's paper from a printer that writes files: the same road as printing.
int SheetPdf(ItemList& design, const OutputOptions& options) {
    bool failed = false;
    const std::optional<PrinterCalibration> calibration = CalibrationOfOptions(options, failed);
    if (failed) {
        return kExitFailed;
    }
    if (calibration) {
        if (const int32_t moved = CardsMovedOffThePaper(design, options.selection, *calibration); moved > 0) {
            std::cerr
                << "velloran-batch: warning: "
                << CardsOffThePaperWarning(moved, QString::fromStdString(*options.printer)).toStdString()
                << '\n';
        }
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(options.files.output));
    printer.setResolution(int(std::lround(options.dpi)));
    printer.setCreator("velloran-batch");
    UseDesignPaper(printer, design);
    const QString title = QFileInfo(QString::fromStdString(options.files.design)).completeBaseName();
    PrintResult result =
        PrintSheet(printer, design, title, options.selection, {}, calibration.value_or(PrinterCalibration{}));
    return result.ok() ? kExitOk : Fail(result.message);
}

// The printer calibration's test page as a PDF file: the design's paper and cards, or US Letter
// without a design, corrected by the calibration of the printer the options name.
int TestPage(const ItemList* design, const OutputOptions& options) {
    if (QFileInfo(QString::fromStdString(options.files.output)).suffix().toLower() != "pdf") {
        std::cerr << "velloran-batch: the test page is written as .pdf\n";
        return kExitUsage;
    }
    bool failed = false;
    const std::optional<PrinterCalibration> calibration = CalibrationOfOptions(options, failed);
    if (failed) {
        return kExitFailed;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(options.files.output));
    printer.setCreator("velloran-batch");
    printer.setPageSize(QPageSize(QPageSize::Letter));
    if (design) {
        UseDesignPaper(printer, *design);
    }
    const PrintResult result =
        PrintTestPage(printer, design ? CardOutlinesMm(*design) : std::vector<QRectF>{},
                      calibration.value_or(PrinterCalibration{}));
    return result.ok() ? kExitOk : Fail(result.message);
}

int SheetPng(ItemList& design, const OutputOptions& options) {
    ComposeResult composed = ComposeSheet(design, PaperDevice(design, options.dpi), options.selection);
    if (!composed.ok()) {
        return Fail(ComposeMessage(composed.status, composed.geometry));
    }
    return WritePng(composed.sheet.image(), options.files.output, "the sheet");
}

int Sheet(ItemList& design, const OutputOptions& options) {
    const QString suffix = QFileInfo(QString::fromStdString(options.files.output)).suffix().toLower();
    if (suffix == "pdf") {
        return SheetPdf(design, options);
    }
    if (suffix == "png") {
        if (options.printer) {
            std::cerr << "velloran-batch: a printer's calibration corrects PDF sheets only\n";
            return kExitUsage;
        }
        return SheetPng(design, options);
    }
    std::cerr << "velloran-batch: the sheet is written as .pdf or .png\n";
    return kExitUsage;
}

int Export(ItemList& design, const OutputOptions& options) {
    SheetPicture picture = options.smooth ? ComposePreview(design, {}) : ExportExactImage(design);
    const QImage& image = picture.image;
    const QString& message = picture.message;
    if (image.isNull()) {
        return Fail(message.isEmpty() ? QString("the picture could not be made") : message);
    }
    const QString path = QString::fromStdString(options.files.output).trimmed();
    const QString error = WriteExportFile(image, path, ExportFileTypeOf(path));
    return error.isEmpty() ? kExitOk : Fail(error);
}

} // namespace

int RunOutputCommand(int argc, char** argv, const DesignReader& read) {
    std::optional<OutputOptions> options = Parse(argc, argv);
    if (!options) {
        std::cerr << "usage:\n" << kOutputUsage;
        return kExitUsage;
    }
    return WithGuiApplication(argv[0], [&] {
        ItemList design = EmptyDesign(options->files.screenDpi);
        if (options->command == "test-page" && options->files.design.empty()) {
            return TestPage(nullptr, *options);
        }
        if (read(options->files.design, design, options->files.force) != kExitOk) {
            return kExitFailed;
        }
        if (!FindRecord(design, ItemKind::Header)) {
            return Fail(QString::fromStdString(options->files.design) + " has no page to compose");
        }
        if (options->command == "test-page") {
            return TestPage(&design, *options);
        }
        return options->command == "sheet" ? Sheet(design, *options) : Export(design, *options);
    });
}

} // namespace vlr::batch
