// Encoding and writing exported pictures.
#include "output/exportimage.h"

#include "platform/safefile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace vlr {

namespace {

// The codec reports errors here instead of ending the program: the message is kept and control
// jumps back into EncodeRows.
struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void JpegQuiet(j_common_ptr) {}

// Only plain data lives in this function, as the codec's errors jump back into it. The rows are
// 32-bit pixels laid out blue, green, red, unused. The caller frees *out.
bool EncodeRows(const unsigned char* bits, JDIMENSION width, JDIMENSION height, size_t stride,
                unsigned char** out, unsigned long* size, char* message) {
    jpeg_compress_struct info;
    JpegErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JpegErrorExit;
    errors.base.output_message = JpegQuiet;
    errors.message[0] = '\0';
    if (setjmp(errors.jump)) {
        std::memcpy(message, errors.message, JMSG_LENGTH_MAX);
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bits + stride * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

void PutUint16(QByteArray& bytes, int offset, uint32_t value) {
    bytes[offset] = char(value & 0xFF);
    bytes[offset + 1] = char((value >> 8) & 0xFF);
}

void PutUint32(QByteArray& bytes, int offset, uint32_t value) {
    PutUint16(bytes, offset, value & 0xFFFF);
    PutUint16(bytes, offset + 2, value >> 16);
}

int RowBytes(int bits) {
    return (bits + 31) / 32 * 4; // rows end on a 4-byte boundary
}

// The icon palette: the 6 x 6 x 6 colour cube, then 40 greys between its levels.
constexpr int kCubeLevels = 6, kCubeStep = 51, kCubeColours = 216, kGreys = 40;

int GreyLevel(int grey) {
    return ((grey + 1) * 255 + (kGreys + 1) / 2) / (kGreys + 1);
}

int SquaredDistance(QRgb a, QRgb b) {
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

} // namespace

ExportFileType ExportFileTypeOf(const QString& fileName) {
    const QString name = QFileInfo(fileName.trimmed()).fileName().toLower();
    if (name.endsWith(".bmp")) {
        return ExportFileType::Bmp;
    }
    if (name.endsWith(".ico")) {
        return ExportFileType::Ico;
    }
    return ExportFileType::Jpeg;
}

Encoded EncodeJpeg(const QImage& image) {
    Encoded result;
    if (image.isNull()) {
        result.error = "There is no picture to write.";
        return result;
    }
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    char message[JMSG_LENGTH_MAX] = {};
    const bool encoded =
        EncodeRows(pixels.constBits(), JDIMENSION(pixels.width()), JDIMENSION(pixels.height()),
                   size_t(pixels.bytesPerLine()), &out, &size, message);
    if (encoded) {
        result.bytes = QByteArray(reinterpret_cast<const char*>(out), qsizetype(size));
    } else {
        result.error =
            QString("The picture could not be encoded as JPEG: %1.").arg(QString::fromLocal8Bit(message));
    }
    std::free(out);
    return result;
}

Encoded EncodeBmp(const QImage& image) {
    Encoded result;
    if (image.isNull()) {
        result.error = "There is no picture to write.";
        return result;
    }
    QBuffer buffer(&result.bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    // The bitmap writer stores images without transparency in 24 bits per pixel.
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        result.bytes.clear();
        result.error = "The picture could not be encoded as a bitmap: " + writer.errorString() + ".";
    }
    return result;
}

QRgb IconPaletteColour(int index) {
    if (index < 0 || index >= kCubeColours + kGreys) {
        return 0;
    }
    if (index < kCubeColours) {
        return qRgb(index / 36 * kCubeStep, index / 6 % 6 * kCubeStep, index % 6 * kCubeStep);
    }
    const int level = GreyLevel(index - kCubeColours);
    return qRgb(level, level, level);
}

int IconPaletteIndex(QRgb colour) {
    auto level = [](int value) { return (value + kCubeStep / 2) / kCubeStep; };
    const int cube = level(qRed(colour)) * kCubeLevels * kCubeLevels + level(qGreen(colour)) * kCubeLevels +
                     level(qBlue(colour));
    // The grey nearest to the colour's mean may be nearer still.
    const int mean = (qRed(colour) + qGreen(colour) + qBlue(colour)) / 3;
    int grey = std::clamp((mean * (kGreys + 1) + 127) / 255 - 1, 0, kGreys - 1);
    const int greyIndex = kCubeColours + grey;
    return SquaredDistance(colour, IconPaletteColour(greyIndex)) <
                   SquaredDistance(colour, IconPaletteColour(cube))
               ? greyIndex
               : cube;
}

Encoded EncodeIcon(const QImage& image) {
    Encoded result;
    if (image.isNull()) {
        result.error = "There is no picture to write.";
        return result;
    }
    const int width = image.width(), height = image.height();
    if (width > kLargestIconSide || height > kLargestIconSide) {
        result.error = QString("An icon can be at most %1 x %1 pixels; this picture is %2 x %3 pixels.")
                           .arg(kLargestIconSide)
                           .arg(width)
                           .arg(height);
        return result;
    }
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    constexpr int kDirectory = 22, kInfoHeader = 40, kPaletteBytes = 256 * 4;
    const int colourRow = RowBytes(width * 8), maskRow = RowBytes(width);
    const int colourBytes = colourRow * height, maskBytes = maskRow * height;
    const int imageBytes = kInfoHeader + kPaletteBytes + colourBytes + maskBytes;
    QByteArray& bytes = result.bytes;
    bytes.fill('\0', kDirectory + imageBytes);

    // The directory with its one entry.
    PutUint16(bytes, 2, 1);        // an icon
    PutUint16(bytes, 4, 1);        // one image
    bytes[6] = char(width & 0xFF); // 256 becomes 0
    bytes[7] = char(height & 0xFF);
    PutUint16(bytes, 8, 8); // one plane of 8 bits per pixel
    PutUint32(bytes, 14, uint32_t(imageBytes));
    PutUint32(bytes, 18, kDirectory);

    // The bitmap header: the height counts the colour rows and the mask rows.
    const int info = kDirectory;
    PutUint32(bytes, info, kInfoHeader);
    PutUint32(bytes, info + 4, uint32_t(width));
    PutUint32(bytes, info + 8, uint32_t(2 * height));
    PutUint16(bytes, info + 12, 1);
    PutUint16(bytes, info + 14, 8);
    PutUint32(bytes, info + 20, uint32_t(colourBytes + maskBytes));

    const int palette = info + kInfoHeader;
    for (int index = 0; index < 256; ++index) {
        const QRgb colour = IconPaletteColour(index);
        bytes[palette + 4 * index] = char(qBlue(colour));
        bytes[palette + 4 * index + 1] = char(qGreen(colour));
        bytes[palette + 4 * index + 2] = char(qRed(colour));
    }

    // Rows bottom-up. A transparent pixel is black in the colour rows: the screen shows through
    // unchanged where the mask is set.
    const int colourStart = palette + kPaletteBytes, maskStart = colourStart + colourBytes;
    for (int y = 0; y < height; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        const int row = height - 1 - y;
        for (int x = 0; x < width; ++x) {
            const bool transparent = (line[x] & 0xFFFFFF) == 0xFFFFFF;
            bytes[colourStart + row * colourRow + x] = char(transparent ? 0 : IconPaletteIndex(line[x]));
            if (transparent) {
                const int at = maskStart + row * maskRow + x / 8;
                bytes[at] = char(uint8_t(bytes[at]) | (0x80 >> (x % 8)));
            }
        }
    }
    return result;
}

QString WriteFileSafely(const QString& path, const QByteArray& bytes) {
    SafeFileWriter writer(QFile::encodeName(path).toStdString());
    if (!writer.Open() || !writer.Write(bytes.constData(), size_t(bytes.size())) || !writer.Commit()) {
        writer.Discard();
        return QString("The file %1 could not be written: %2.")
            .arg(path, QString::fromStdString(writer.error()));
    }
    return {};
}

QString WriteExportFile(const QImage& image, const QString& path, ExportFileType type) {
    Encoded encoded;
    switch (type) {
    case ExportFileType::Jpeg:
        encoded = EncodeJpeg(image);
        break;
    case ExportFileType::Bmp:
        encoded = EncodeBmp(image);
        break;
    case ExportFileType::Ico:
        encoded = EncodeIcon(image);
        break;
    }
    if (!encoded.ok()) {
        return encoded.error;
    }
    return WriteFileSafely(path, encoded.bytes);
}

QString WriteIcon(const QImage& image, const QString& path) {
    return WriteExportFile(image, path, ExportFileType::Ico);
}

} // namespace vlr
