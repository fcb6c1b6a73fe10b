// The batch tool's sheet and export commands.
#include "batchoutput.h"

#include "model/itemkind.h"
#include "output/composesheet.h"
#include "output/exportimage.h"
#include "output/outputcommands.h"
#include "output/preview.h"
#include "output/printsheet.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPrinter>

#include <charconv>
#include <cmath>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>

namespace vlr::batch {

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr double kDefaultSheetDpi = 600.0;

struct OutputOptions {
    std::string command;
    std::string design;
    std::string output;
    double dpi = kDefaultSheetDpi;
    std::optional<double> screenDpi;
    std::string selection;
    bool smooth = false;
    bool force = false;
};

std::optional<double> Number(const char* text, double lowest, double highest) {
    double value = 0.0;
    auto [end, error] = std::from_chars(text, text + std::strlen(text), value);
    if (error != std::errc() || *end != '\0' || !std::isfinite(value) || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

std::optional<OutputOptions> Parse(int argc, char** argv) {
    OutputOptions options;
    options.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "-o" && hasValue) {
            options.output = argv[++i];
        } else if (argument == "--dpi" && hasValue && options.command == "sheet") {
            std::optional<double> dpi = Number(argv[++i], 1.0, 10000.0);
            if (!dpi) {
                return std::nullopt;
            }
            options.dpi = *dpi;
        } else if (argument == "--screen-dpi" && hasValue) {
            options.screenDpi = Number(argv[++i], 1.0, 10000.0);
            if (!options.screenDpi) {
                return std::nullopt;
            }
        } else if (argument == "--select" && hasValue && options.command == "sheet") {
            options.selection = argv[++i];
        } else if (argument == "--smooth" && options.command == "export") {
            options.smooth = true;
        } else if (argument == "--force") {
            options.force = true;
        } else if (argument.starts_with("-") || !options.design.empty()) {
            return std::nullopt;
        } else {
            options.design = argument;
        }
    }
    if (options.design.empty() || options.output.empty()) {
        return std::nullopt;
    }
    return options;
}

int Fail(const QString& message) {
    std::cerr << "velloran-batch: " << message.toStdString() << '\n';
    return kExitFailed;
}

// A PDF of the design's paper from a printer that writes files: the same road as printing.
int SheetPdf(ItemList& design, const OutputOptions& options) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(options.output));
    printer.setResolution(int(std::lround(options.dpi)));
    printer.setCreator("velloran-batch");
    UseDesignPaper(printer, design);
    const QString title = QFileInfo(QString::fromStdString(options.design)).completeBaseName();
    PrintResult result = PrintSheet(printer, design, title, options.selection);
    return result.ok() ? kExitOk : Fail(result.message);
}

int SheetPng(ItemList& design, const OutputOptions& options) {
    ComposeResult composed = ComposeSheet(design, PaperDevice(design, options.dpi), options.selection);
    if (!composed.ok()) {
        return Fail(ComposeMessage(composed.status, composed.geometry));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(composed.sheet.image())) {
        return Fail("the sheet could not be encoded as PNG: " + writer.errorString());
    }
    const QString error = WriteFileSafely(QString::fromStdString(options.output), bytes);
    return error.isEmpty() ? kExitOk : Fail(error);
}

int Sheet(ItemList& design, const OutputOptions& options) {
    const QString suffix = QFileInfo(QString::fromStdString(options.output)).suffix().toLower();
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
    const QString path = QString::fromStdString(options.output).trimmed();
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
    // Fonts and the PDF printer need an application; no display is used.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int appArgc = 1;
    char* appArgv[] = {argv[0], nullptr};
    QApplication application(appArgc, appArgv);

    ItemList design = options->screenDpi
                          ? ItemList(ScreenResolution(*options->screenDpi, *options->screenDpi))
                          : ItemList();
    if (read(options->design, design, options->force) != kExitOk) {
        return kExitFailed;
    }
    if (!FindRecord(design, ItemKind::Header)) {
        return Fail(QString::fromStdString(options->design) + " has no page to compose");
    }
    return options->command == "sheet" ? Sheet(design, *options) : Export(design, *options);
}

} // namespace vlr::batch
