// The options, messages, application and PNG writing the batch tool's file commands share.
#include "batchcommon.h"

#include "output/exportimage.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <charconv>
#include <cmath>
#include <cstring>
#include <iostream>

namespace vlr::batch {

std::optional<double> Number(const char* text, double lowest, double highest) {
    double value = 0.0;
    auto [end, error] = std::from_chars(text, text + std::strlen(text), value);
    if (error != std::errc() || *end != '\0' || !std::isfinite(value) || value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

bool TakeNumber(int argc, char** argv, int& index, double lowest, double highest,
                std::optional<double>& value) {
    value = index + 1 < argc ? Number(argv[++index], lowest, highest) : std::nullopt;
    return value.has_value();
}

bool ParseArguments(int argc, char** argv, FileOptions& files, const std::function<bool(int& index)>& own,
                    bool designRequired) {
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        bool taken = true;
        if (argument == "-o" && i + 1 < argc) {
            files.output = argv[++i];
        } else if (argument == "--screen-dpi") {
            taken = TakeNumber(argc, argv, i, kLowestDpi, kHighestDpi, files.screenDpi);
        } else if (argument == "--force") {
            files.force = true;
        } else if (!argument.starts_with("-") && files.design.empty()) {
            files.design = argument;
        } else {
            taken = own(i);
        }
        if (!taken) {
            return false;
        }
    }
    return (!designRequired || !files.design.empty()) && !files.output.empty();
}

ItemList EmptyDesign(std::optional<double> screenDpi) {
    return screenDpi ? ItemList(ScreenResolution(*screenDpi, *screenDpi)) : ItemList();
}

int Fail(const QString& message) {
    std::cerr << "velloran-batch: " << message.toStdString() << '\n';
    return kExitFailed;
}

int WithGuiApplication(char* program, const std::function<int()>& work) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int appArgc = 1;
    char* appArgv[] = {program, nullptr};
    // The PDF printer wants the widget application; drawing alone would do with less.
    QApplication application(appArgc, appArgv);
    return work();
}

int WritePng(const QImage& image, const std::string& path, const QString& what) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        return Fail(what + " could not be encoded as PNG: " + writer.errorString());
    }
    const QString error = WriteFileSafely(QString::fromStdString(path), bytes);
    return error.isEmpty() ? kExitOk : Fail(error);
}

} // namespace vlr::batch
