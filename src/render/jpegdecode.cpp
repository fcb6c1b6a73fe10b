// JPEG decoding with libjpeg. libjpeg reports a fatal error by calling a function that must
// not return; ours jumps back to the decoding function, which keeps only plain data in its
// frame so that the jump skips no destructor.
#include "render/jpegdecode.h"

#include "render/picturedecode.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jerror.h>
#include <jpeglib.h>

namespace vlr {

namespace {

struct ErrorManager {
    jpeg_error_mgr base; // first, so that libjpeg's pointer to it is a pointer to this
    std::jmp_buf jump;
    bool truncated;
};

[[noreturn]] void FailDecoding(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings (level -1) are counted; the one for a stream that ends early marks the picture as
// truncated. Nothing is printed.
void NoteMessage(j_common_ptr info, int level) {
    if (level < 0) {
        auto* errors = reinterpret_cast<ErrorManager*>(info->err);
        ++errors->base.num_warnings;
        if (errors->base.msg_code == JWRN_JPEG_EOF) {
            errors->truncated = true;
        }
    }
}

void PrintNothing(j_common_ptr) {}

void LimitScans(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxJpegScans) {
        FailDecoding(info);
    }
}

// Errors jump back to the caller's setjmp; nothing is printed.
void UseErrors(jpeg_decompress_struct& info, ErrorManager& errors) {
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = FailDecoding;
    errors.base.emit_message = NoteMessage;
    errors.base.output_message = PrintNothing;
    errors.truncated = false;
}

// Coefficient buffers of progressive pictures: enough for the largest picture accepted.
constexpr long kMaxDecoderMemory = 1L << 30;

// Adobe's CMYK pictures store the inks inverted; others store them as they are. Red is
// (255 - cyan) x (255 - black) / 255, green and blue likewise.
void CmykRowToRgb32(const JSAMPLE* cmyk, uint32_t* row, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        uint32_t c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        }
        const uint32_t red = (c * k + 127) / 255, green = (m * k + 127) / 255, blue = (y * k + 127) / 255;
        row[x] = 0xFF000000u | (red << 16) | (green << 8) | blue;
    }
}

// Everything libjpeg touches lives here or in the caller; only plain data in this frame.
bool DecodeInto(const uint8_t* data, size_t size, int32_t reduction, QImage* raster) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    jpeg_progress_mgr progress;
    UseErrors(info, errors);
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    progress.progress_monitor = LimitScans;
    info.progress = &progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK ||
        !AcceptablePictureSize(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.scale_num = 1;
    info.scale_denom = reduction >= 1 && reduction <= 3 ? 1u << reduction : 1u;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    // JCS_EXT_BGRX writes the bytes of an RGB32 pixel, its fourth byte 0xFF.
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    const JDIMENSION width = info.output_width;
    *raster = QImage(static_cast<int>(width), static_cast<int>(info.output_height), QImage::Format_RGB32);
    if (raster->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    JSAMPARRAY cmykRow =
        cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, width * 4, 1)
             : nullptr;
    while (info.output_scanline < info.output_height) {
        auto* row = reinterpret_cast<uint32_t*>(raster->scanLine(static_cast<int>(info.output_scanline)));
        if (cmyk) {
            if (jpeg_read_scanlines(&info, cmykRow, 1) == 1) {
                CmykRowToRgb32(cmykRow[0], row, width, info.saw_Adobe_marker);
            }
        } else {
            JSAMPROW target = reinterpret_cast<JSAMPROW>(row);
            jpeg_read_scanlines(&info, &target, 1);
        }
        if (errors.truncated) {
            break; // the rest would be grey filler
        }
    }
    const bool complete = !errors.truncated;
    if (complete) {
        jpeg_finish_decompress(&info);
    }
    jpeg_destroy_decompress(&info);
    return complete;
}

} // namespace

namespace {

// Only the header is read; plain data in this frame, as for decoding.
bool ReadSize(const uint8_t* data, size_t size, uint32_t* width, uint32_t* height) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    UseErrors(info, errors);
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    const bool read = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
    *width = info.image_width;
    *height = info.image_height;
    jpeg_destroy_decompress(&info);
    return read;
}

} // namespace

std::optional<QSize> JpegSize(std::span<const uint8_t> stream) {
    uint32_t width = 0, height = 0;
    if (stream.empty() || !ReadSize(stream.data(), stream.size(), &width, &height) ||
        !AcceptablePictureSize(width, height)) {
        return std::nullopt;
    }
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

std::optional<QImage> DecodeJpeg(std::span<const uint8_t> stream, int32_t reduction) {
    if (stream.empty()) {
        return std::nullopt;
    }
    QImage raster;
    if (!DecodeInto(stream.data(), stream.size(), reduction, &raster)) {
        return std::nullopt;
    }
    return raster;
}

} // namespace vlr
