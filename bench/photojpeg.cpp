// The benchmarks' photograph.
#include "photojpeg.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <cmath>

namespace vlr::bench {

std::vector<uint8_t> PhotoJpeg(int width, int height) {
    QImage photo(width, height, QImage::Format_RGB32);
    uint32_t grain = 12345;
    for (int y = 0; y < photo.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            grain = grain * 1103515245u + 12345u;
            const int noise = static_cast<int>((grain >> 16) & 15);
            const int red = static_cast<int>(120 + 80 * std::sin(x / 300.0)) + noise;
            const int green = static_cast<int>(120 + 80 * std::cos(y / 250.0)) + noise;
            const int blue = static_cast<int>(120 + 60 * std::sin((x + y) / 400.0)) + noise;
            row[x] = 0xFF000000u | uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(blue);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(photo);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

const std::vector<uint8_t>& PhotoJpeg() {
    static const std::vector<uint8_t> jpeg = PhotoJpeg(4000, 3000);
    return jpeg;
}

} // namespace vlr::bench
