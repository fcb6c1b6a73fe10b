// Writers of small picture files for the decoder tests.
#include "picturefiles.h"

#include <QBuffer>
#include <QImageWriter>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <gif_lib.h>
#include <jpeglib.h>

namespace vlr::test {

void PutLittle16(Bytes& bytes, uint32_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}
void PutLittle32(Bytes& bytes, uint32_t value) {
    PutLittle16(bytes, value & 0xFFFF);
    PutLittle16(bytes, value >> 16);
}

namespace {

// The 40-byte information header.
void PutInfoHeader(Bytes& bytes, int32_t width, int32_t height, int bitsPerPixel, int compression,
                   uint32_t imageSize, uint32_t coloursUsed) {
    PutLittle32(bytes, 40);
    PutLittle32(bytes, static_cast<uint32_t>(width));
    PutLittle32(bytes, static_cast<uint32_t>(height));
    PutLittle16(bytes, 1);
    PutLittle16(bytes, static_cast<uint32_t>(bitsPerPixel));
    PutLittle32(bytes, static_cast<uint32_t>(compression));
    PutLittle32(bytes, imageSize);
    PutLittle32(bytes, 3780); // 96 dpi in pixels per metre
    PutLittle32(bytes, 3780);
    PutLittle32(bytes, coloursUsed);
    PutLittle32(bytes, 0);
}

void PadRow(Bytes& bytes, size_t rowStart) {
    while ((bytes.size() - rowStart) % 4 != 0) {
        bytes.push_back(0);
    }
}

} // namespace

Bytes BitmapFile(int32_t width, int32_t height, int bitsPerPixel, const std::vector<uint32_t>& palette,
                 const Bytes& pixelData, int compression) {
    const uint32_t dataOffset = 14 + 40 + 4 * static_cast<uint32_t>(palette.size());
    Bytes bytes{'B', 'M'};
    PutLittle32(bytes, dataOffset + static_cast<uint32_t>(pixelData.size()));
    PutLittle32(bytes, 0);
    PutLittle32(bytes, dataOffset);
    PutInfoHeader(bytes, width, height, bitsPerPixel, compression, static_cast<uint32_t>(pixelData.size()),
                  static_cast<uint32_t>(palette.size()));
    for (uint32_t colour : palette) {
        PutLittle32(bytes, colour); // blue, green, red, 0
    }
    bytes.insert(bytes.end(), pixelData.begin(), pixelData.end());
    return bytes;
}

Bytes PackedRows(const std::vector<std::vector<uint8_t>>& rows, int bitsPerPixel) {
    Bytes bytes;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        const size_t start = bytes.size();
        int bitsUsed = 0;
        for (uint8_t index : *row) {
            if (bitsUsed == 0) {
                bytes.push_back(0);
            }
            bytes.back() |= static_cast<uint8_t>(index << (8 - bitsUsed - bitsPerPixel));
            bitsUsed = (bitsUsed + bitsPerPixel) % 8;
        }
        PadRow(bytes, start);
    }
    return bytes;
}

Bytes DirectRows(const std::vector<std::vector<uint32_t>>& rows, int bitsPerPixel) {
    Bytes bytes;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        const size_t start = bytes.size();
        for (uint32_t colour : *row) {
            bytes.push_back(static_cast<uint8_t>(colour));       // blue
            bytes.push_back(static_cast<uint8_t>(colour >> 8));  // green
            bytes.push_back(static_cast<uint8_t>(colour >> 16)); // red
            if (bitsPerPixel == 32) {
                bytes.push_back(static_cast<uint8_t>(colour >> 24));
            }
        }
        PadRow(bytes, start);
    }
    return bytes;
}

IconImage BitmapIconImage(const std::vector<std::vector<uint32_t>>& argbRows,
                          const std::vector<std::vector<bool>>& transparent) {
    const int height = static_cast<int>(argbRows.size());
    const int width = static_cast<int>(argbRows.front().size());
    IconImage image{width, height, {}};
    const Bytes colours = DirectRows(argbRows, 32);
    Bytes mask;
    for (auto row = transparent.rbegin(); row != transparent.rend(); ++row) {
        const size_t start = mask.size();
        for (size_t x = 0; x < row->size(); ++x) {
            if (x % 8 == 0) {
                mask.push_back(0);
            }
            if ((*row)[x]) {
                mask.back() |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        PadRow(mask, start);
    }
    // The height in the header counts the colour rows and the mask rows.
    PutInfoHeader(image.data, width, height * 2, 32, 0, static_cast<uint32_t>(colours.size() + mask.size()),
                  0);
    image.data.insert(image.data.end(), colours.begin(), colours.end());
    image.data.insert(image.data.end(), mask.begin(), mask.end());
    return image;
}

IconImage PngIconImage(const QImage& picture) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "png");
    return {picture.width(), picture.height(), Bytes(png.begin(), png.end())};
}

Bytes IconFile(const std::vector<IconImage>& images) {
    Bytes bytes;
    PutLittle16(bytes, 0);
    PutLittle16(bytes, 1);
    PutLittle16(bytes, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (const IconImage& image : images) {
        bytes.push_back(static_cast<uint8_t>(image.width)); // 256 is stored as 0
        bytes.push_back(static_cast<uint8_t>(image.height));
        bytes.push_back(0);
        bytes.push_back(0);
        PutLittle16(bytes, 1);
        PutLittle16(bytes, 32);
        PutLittle32(bytes, static_cast<uint32_t>(image.data.size()));
        PutLittle32(bytes, offset);
        offset += static_cast<uint32_t>(image.data.size());
    }
    for (const IconImage& image : images) {
        bytes.insert(bytes.end(), image.data.begin(), image.data.end());
    }
    return bytes;
}

namespace {

int WriteToBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* bytes = static_cast<Bytes*>(gif->UserData);
    bytes->insert(bytes->end(), data, data + length);
    return length;
}

} // namespace

Bytes GifFile(const GifFrame& frame) {
    Bytes bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, WriteToBytes, &error);
    int tableSize = 2;
    while (tableSize < static_cast<int>(frame.palette.size())) {
        tableSize *= 2;
    }
    std::vector<GifColorType> colours(static_cast<size_t>(tableSize), GifColorType{0, 0, 0});
    for (size_t i = 0; i < frame.palette.size(); ++i) {
        colours[i] = {static_cast<GifByteType>(frame.palette[i] >> 16),
                      static_cast<GifByteType>(frame.palette[i] >> 8),
                      static_cast<GifByteType>(frame.palette[i])};
    }
    ColorMapObject* map = GifMakeMapObject(tableSize, colours.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, frame.screenWidth, frame.screenHeight, 8, 0, map);
    if (frame.transparent >= 0) {
        // Graphic control: flags (bit 0 = transparent colour given), delay, transparent index.
        const GifByteType control[4] = {0x01, 0, 0, static_cast<GifByteType>(frame.transparent)};
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
    }
    const int width = static_cast<int>(frame.rows.front().size());
    const int height = static_cast<int>(frame.rows.size());
    EGifPutImageDesc(gif, frame.left, frame.top, width, height, frame.interlaced, nullptr);
    // The encoder writes rows in the order given: interlaced frames in their four passes.
    std::vector<int> order;
    if (frame.interlaced) {
        for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
            for (int y = start; y < height; y += step) {
                order.push_back(y);
            }
        }
    } else {
        for (int y = 0; y < height; ++y) {
            order.push_back(y);
        }
    }
    for (int y : order) {
        std::vector<GifPixelType> row(frame.rows[static_cast<size_t>(y)].begin(),
                                      frame.rows[static_cast<size_t>(y)].end());
        EGifPutLine(gif, row.data(), width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

Bytes JpegFile(const QImage& image, bool progressive) {
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(100);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return Bytes(jpeg.begin(), jpeg.end());
}

Bytes CmykJpegFile(int width, int height, const std::vector<uint32_t>& inks) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t ink = inks[static_cast<size_t>(y * width + x)];
            for (int k = 0; k < 4; ++k) {
                row[static_cast<size_t>(x * 4 + k)] =
                    static_cast<JSAMPLE>(255 - ((ink >> (24 - 8 * k)) & 0xFF));
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

Bytes FilledMetafile(int twipsWide, int twipsHigh, uint32_t colour) {
    Bytes bytes;
    // Placeable header: key, handle, frame (left, top, right, bottom), units per inch, reserved,
    // and the XOR of the ten words before the checksum.
    PutLittle32(bytes, 0x9AC6CDD7u);
    PutLittle16(bytes, 0);
    PutLittle16(bytes, 0);
    PutLittle16(bytes, 0);
    PutLittle16(bytes, static_cast<uint32_t>(twipsWide));
    PutLittle16(bytes, static_cast<uint32_t>(twipsHigh));
    PutLittle16(bytes, 1440);
    PutLittle32(bytes, 0);
    uint32_t checksum = 0;
    for (size_t at = 0; at < 20; at += 2) {
        checksum ^= uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8;
    }
    PutLittle16(bytes, checksum);
    // Records: size in words, function, parameters.
    Bytes records;
    auto record = [&records](uint32_t function, std::initializer_list<uint32_t> words) {
        PutLittle32(records, 3 + static_cast<uint32_t>(words.size()));
        PutLittle16(records, function);
        for (uint32_t word : words) {
            PutLittle16(records, word);
        }
    };
    record(0x020B, {0, 0}); // window origin y, x
    record(0x020C, {static_cast<uint32_t>(twipsHigh), static_cast<uint32_t>(twipsWide)});       // extent
    record(0x02FC, {0, colour & 0xFFFF, colour >> 16, 0});                                      // solid brush
    record(0x012D, {0});                                                                        // select it
    record(0x02FA, {5, 0, 0, 0, 0});                                                            // a null pen
    record(0x012D, {1});                                                                        // select it
    record(0x041B, {static_cast<uint32_t>(twipsHigh), static_cast<uint32_t>(twipsWide), 0, 0}); // rectangle
    record(0x0000, {});                                                                         // end
    // Header: type 1, 9 words, version 3, size in words, objects, largest record, 0.
    PutLittle16(bytes, 1);
    PutLittle16(bytes, 9);
    PutLittle16(bytes, 0x0300);
    PutLittle32(bytes, 9 + static_cast<uint32_t>(records.size() / 2));
    PutLittle16(bytes, 2);
    PutLittle32(bytes, 8);
    PutLittle16(bytes, 0);
    bytes.insert(bytes.end(), records.begin(), records.end());
    return bytes;
}

uint32_t Rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

bool Near(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift : {0, 8, 16}) {
        if (std::abs(static_cast<int>((actual >> shift) & 0xFF) -
                     static_cast<int>((expected >> shift) & 0xFF)) > tolerance) {
            return false;
        }
    }
    return true;
}

} // namespace vlr::test
