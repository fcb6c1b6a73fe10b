// Reading printed PDF files back in the output tests: the page size as the PDF tools report it,
// and the page rendered to pixels.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRgb>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>

namespace vlr::test {

inline bool HavePdfTools() {
    return !QStandardPaths::findExecutable("pdfinfo").isEmpty() &&
           !QStandardPaths::findExecutable("pdftocairo").isEmpty();
}

// A line of pdfinfo ("Page size" gives e.g. "612 x 792 pts (letter)"); empty on failure.
inline QString PdfInfo(const QString& pdf, const QString& field) {
    QProcess info;
    info.start("pdfinfo", {pdf});
    if (!info.waitForFinished(30000) || info.exitCode() != 0) {
        return {};
    }
    for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(field + ":")) {
            return line.mid(field.size() + 1).trimmed();
        }
    }
    return {};
}

// The first page at dpi dots per inch; pdftocairo draws embedded pictures without resampling
// them, so the pixels are the printed ones; pdftoppm resamples them as printers do.
inline QImage RenderPdf(const QString& pdf, int dpi, const QString& renderer = "pdftocairo") {
    QTemporaryDir folder;
    const QString base = folder.filePath("page");
    QProcess render;
    render.start(renderer, {"-png", "-r", QString::number(dpi), "-singlefile", pdf, base});
    if (!render.waitForFinished(60000) || render.exitCode() != 0) {
        return {};
    }
    return QImage(base + ".png").convertToFormat(QImage::Format_RGB32);
}

// The number of pixels in which two pictures of one size differ (colour spaces and other
// metadata aside); -1 when their sizes differ.
inline int64_t DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return -1;
    }
    const QImage left = a.convertToFormat(QImage::Format_RGB32),
                 right = b.convertToFormat(QImage::Format_RGB32);
    int64_t count = 0;
    for (int y = 0; y < left.height(); ++y) {
        const auto* l = reinterpret_cast<const QRgb*>(left.constScanLine(y));
        const auto* r = reinterpret_cast<const QRgb*>(right.constScanLine(y));
        for (int x = 0; x < left.width(); ++x) {
            count += l[x] != r[x];
        }
    }
    return count;
}

} // namespace vlr::test
