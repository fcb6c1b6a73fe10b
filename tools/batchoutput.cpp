// The batch tool's sheet and export commands.
#include "batchoutput.h"

#include "model/itemkind.h"
#include "output/composesheet.h"
#include "output/exportimage.h"
#include "output/outputcommands.h"
#include "output/preview.h"
#include "output/printsheet.h"

#include <QFileInfo>
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
};

std::optional<OutputOptions> Parse(int argc, char** argv) {
    OutputOptions options;
    options.command = argv[1];
    const bool sheet = options.command == "sheet";
    std::optional<double> dpi = kDefaultSheetDpi;
    const bool parsed = ParseArguments(argc, argv, options.files, [&](int& i) {
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
        return false;
    });
    if (!parsed) {
        return std::nullopt;
    }
    options.dpi = *dpi;
    return options;
}

// A PDF of the design's paper from a printer that writes files: the same road as printing.
int SheetPdf(ItemList& design, const OutputOptions& options) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(options.files.output));
    printer.setResolution(int(std::lround(options.dpi)));
    printer.setCreator("velloran-batch");
    UseDesignPaper(printer, design);
    const QString title = QFileInfo(QString::fromStdString(options.files.design)).completeBaseName();
    PrintResult result = PrintSheet(printer, design, title, options.selection);
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
        if (read(options->files.design, design, options->files.force) != kExitOk) {
            return kExitFailed;
        }
        if (!FindRecord(design, ItemKind::Header)) {
            return Fail(QString::fromStdString(options->files.design) + " has no page to compose");
        }
        return options->command == "sheet" ? Sheet(design, *options) : Export(design, *options);
    });
}

} // namespace vlr::batch
