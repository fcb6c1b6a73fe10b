// The resampler: the published kernels at known points, flat colours staying flat, exact box
// averages, round trips that come back close, and sizes that are skipped.
#include "render/resample.h"

#include "render/parallel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>

namespace vlr {
namespace {

constexpr int32_t kAllFilters[] = {0, 1, 2, 3, 4, 5, 6};

TEST(FilterKernel, PublishedValuesAtKnownPoints) {
    using namespace ResampleFilter;
    EXPECT_DOUBLE_EQ(FilterKernel(Box, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(FilterKernel(Box, 0.7), 0.0);
    EXPECT_DOUBLE_EQ(FilterKernel(Triangle, 0.25), 0.75);
    EXPECT_DOUBLE_EQ(FilterKernel(Triangle, -0.25), 0.75);
    EXPECT_DOUBLE_EQ(FilterKernel(Hermite, 0.5), 0.5); // (2 x 0.5 - 3) x 0.25 + 1
    EXPECT_DOUBLE_EQ(FilterKernel(Bell, 0.0), 0.75);
    EXPECT_DOUBLE_EQ(FilterKernel(Bell, 1.0), 0.125); // 0.5 x 0.5^2
    EXPECT_DOUBLE_EQ(FilterKernel(BSpline, 0.0), 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(FilterKernel(BSpline, 1.0), 1.0 / 6.0);
    EXPECT_NEAR(FilterKernel(Lanczos3, 1.0), 0.0, 1e-15);
    // sinc(1/2) sinc(1/6) = (2 / pi) x (0.5 / (pi / 6)).
    EXPECT_NEAR(FilterKernel(Lanczos3, 0.5), (2.0 / M_PI) * (3.0 / M_PI), 1e-12);
    EXPECT_LT(FilterKernel(Lanczos3, 1.5), 0.0);                 // the negative lobe
    EXPECT_DOUBLE_EQ(FilterKernel(Mitchell, 0.0), 8.0 / 9.0);    // (6 - 2/3) / 6
    EXPECT_NEAR(FilterKernel(Mitchell, 1.0), 1.0 / 18.0, 1e-15); // (7 - 12 + 16/3) / 6
    EXPECT_DOUBLE_EQ(FilterKernel(Mitchell, 2.0), 0.0);
    // Supports, and unknown codes acting as the box.
    EXPECT_EQ(FilterSupport(Box), 0.5);
    EXPECT_EQ(FilterSupport(Bell), 1.5);
    EXPECT_EQ(FilterSupport(Lanczos3), 3.0);
    EXPECT_EQ(FilterSupport(Mitchell), 2.0);
    EXPECT_EQ(FilterSupport(99), 0.5);
    EXPECT_DOUBLE_EQ(FilterKernel(-4, 0.3), 1.0);
}

QImage Flat(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Pixels that differ from the colour.
int Departures(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            count += row[x] != colour;
        }
    }
    return count;
}

TEST(ImageResample, EveryFilterKeepsAFlatColourExactlyFlat) {
    const QRgb colour = 0xFF3C8AD7u;
    for (int32_t filter : kAllFilters) {
        for (QSize from : {QSize(37, 23), QSize(5, 4), QSize(1, 1), QSize(64, 64)}) {
            for (QSize to : {QSize(10, 7), QSize(17, 13), QSize(64, 64), QSize(1, 3)}) {
                const QImage result =
                    Resampled(Flat(from.width(), from.height(), colour), to.width(), to.height(), filter);
                ASSERT_EQ(result.size(), to);
                EXPECT_EQ(Departures(result, colour), 0)
                    << "filter " << filter << " " << from.width() << "x" << from.height() << " to "
                    << to.width() << "x" << to.height();
            }
        }
    }
}

TEST(ImageResample, HalvingWithTheBoxAveragesPairs) {
    QImage row(4, 1, QImage::Format_RGB32);
    auto* pixels = reinterpret_cast<QRgb*>(row.scanLine(0));
    pixels[0] = 0xFF000000u, pixels[1] = 0xFF646464u, pixels[2] = 0xFFC8C8C8u, pixels[3] = 0xFF323232u;
    const QImage half = Resampled(row, 2, 1, ResampleFilter::Box);
    // (0 + 100) / 2 = 50 and (200 + 50) / 2 = 125.
    EXPECT_EQ(half.pixel(0, 0), 0xFF323232u);
    EXPECT_EQ(half.pixel(1, 0), 0xFF7D7D7Du);
}

TEST(ImageResample, TheSameSizeWithTheTriangleIsACopy) {
    // The triangle is 1 at its centre and 0 at the neighbours' centres.
    QImage picture(9, 7, QImage::Format_RGB32);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) {
            picture.setPixel(x, y, qRgb(x * 28, y * 36, (x * y * 7) % 256));
        }
    }
    EXPECT_EQ(Resampled(picture, 9, 7, ResampleFilter::Triangle), picture);
}

// A smooth picture: two slow waves.
QImage Smooth(int size) {
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = 2 * M_PI * x / size, v = 2 * M_PI * y / size;
            image.setPixel(x, y,
                           qRgb(static_cast<int>(128 + 100 * std::sin(u)),
                                static_cast<int>(128 + 100 * std::cos(v)),
                                static_cast<int>(128 + 60 * std::sin(u + v))));
        }
    }
    return image;
}

TEST(ImageResample, HalvingAndDoublingComesBackCloseToTheSource) {
    const QImage source = Smooth(64);
    for (int32_t filter : kAllFilters) {
        const QImage back = Resampled(Resampled(source, 32, 32, filter), 64, 64, filter);
        ASSERT_EQ(back.size(), source.size());
        double totalError = 0;
        int largestError = 0;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const QRgb a = source.pixel(x, y), b = back.pixel(x, y);
                for (int shift : {0, 8, 16}) {
                    const int error = std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                               static_cast<int>((b >> shift) & 0xFF));
                    totalError += error;
                    largestError = std::max(largestError, error);
                }
            }
        }
        // The waves change by at most 10 levels between neighbours; the round trip blurs
        // them a little, never by more than a few of those steps.
        EXPECT_LT(totalError / (64 * 64 * 3), 3.0) << "filter " << filter;
        EXPECT_LE(largestError, 16) << "filter " << filter;
    }
}

TEST(ImageResample, NegativeLobesAreClampedAtTheEnds) {
    // A hard black-white edge overshoots with Lanczos and Mitchell; results stay within 0 ... 255.
    QImage edge(8, 1, QImage::Format_RGB32);
    for (int x = 0; x < 8; ++x) {
        edge.setPixel(x, 0, x < 4 ? 0xFF000000u : 0xFFFFFFFFu);
    }
    const QImage wide = Resampled(edge, 29, 1, ResampleFilter::Lanczos3);
    ASSERT_FALSE(wide.isNull());
    EXPECT_EQ(wide.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(wide.pixel(28, 0), 0xFFFFFFFFu);
}

TEST(ImageResample, EmptySizesAndUnsuitableRastersAreSkipped) {
    const QImage source = Flat(10, 10, 0xFF102030u);
    EXPECT_TRUE(Resampled(source, 0, 5, 1).isNull());
    EXPECT_TRUE(Resampled(source, 5, -1, 1).isNull());
    EXPECT_TRUE(Resampled(QImage(), 5, 5, 1).isNull());
    QImage target(5, 5, QImage::Format_RGB32);
    target.fill(0xFFABCDEFu);
    EXPECT_FALSE(ImageResample(QImage(), target, 1));
    EXPECT_EQ(target.pixel(2, 2), 0xFFABCDEFu); // untouched
    QImage empty;
    EXPECT_FALSE(ImageResample(source, empty, 1));
    QImage indexed(5, 5, QImage::Format_Indexed8);
    EXPECT_FALSE(ImageResample(source, indexed, 1));
}

TEST(ImageResample, GreyMasksResampleByTheSameRule) {
    QImage mask(4, 2, QImage::Format_Grayscale8);
    for (int y = 0; y < 2; ++y) {
        uint8_t* row = mask.scanLine(y);
        row[0] = 0, row[1] = 100, row[2] = 200, row[3] = 50;
    }
    QImage half(2, 1, QImage::Format_Grayscale8);
    ASSERT_TRUE(ImageResample(mask, half, ResampleFilter::Box));
    EXPECT_EQ(half.constScanLine(0)[0], 50);
    EXPECT_EQ(half.constScanLine(0)[1], 125);
}

// A part of the resize, computed from no more source than ResampleSourceFor names, holds
// exactly the pixels of the whole resize there: enlarging, reducing and both at once (which
// take the two orders of passes), every filter, parts at the edges and inside.
TEST(ImageResamplePart, APartFromItsOwnSourceIsTheWholeResizeCut) {
    QImage source(37, 23, QImage::Format_RGB32);
    uint32_t grain = 7;
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            grain = grain * 1103515245u + 12345u;
            source.setPixel(x, y, 0xFF000000u | (grain >> 8));
        }
    }
    const QSize targets[] = {{91, 50}, {13, 9}, {91, 9}, {11, 61}};
    const QRect parts[] = {{0, 0, 5, 4}, {3, 2, 6, 5}, {0, 0, 11, 9}, {7, 4, 4, 5}};
    for (int32_t filter : kAllFilters) {
        for (const QSize size : targets) {
            const QImage whole = Resampled(source, size.width(), size.height(), filter);
            for (QRect part : parts) {
                part = part.intersected(QRect(QPoint(0, 0), size));
                SCOPED_TRACE(testing::Message()
                             << "filter " << filter << ", " << size.width() << " x " << size.height()
                             << ", part at " << part.x() << ", " << part.y());
                const QRect reach = ResampleSourceFor(source.size(), size, part, filter);
                ASSERT_TRUE(source.rect().contains(reach));
                QImage target(part.size(), QImage::Format_RGB32);
                ASSERT_TRUE(ImageResamplePart(source.copy(reach), reach.topLeft(), source.size(), target,
                                              part.topLeft(), size, filter));
                EXPECT_EQ(target, whole.copy(part));
                // A source without the last column the part reads is refused.
                const QRect narrower = reach.adjusted(0, 0, -1, 0);
                if (!narrower.isEmpty()) {
                    EXPECT_FALSE(ImageResamplePart(source.copy(narrower), narrower.topLeft(), source.size(),
                                                   target, part.topLeft(), size, filter));
                }
            }
        }
    }
}

// Noise that reaches both ends of a byte, so that the sharper filters overshoot and clamp.
QImage Noise(int width, int height, QImage::Format format, uint32_t grain) {
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = image.scanLine(y);
        for (int x = 0; x < image.bytesPerLine(); ++x) {
            grain = grain * 1103515245u + 12345u;
            row[x] = (grain >> 16) % 3 == 0 ? 0 : (grain >> 16) % 3 == 1 ? 255 : uint8_t(grain >> 24);
        }
    }
    return image;
}

// One byte of every pixel as a grey raster.
QImage Channel(const QImage& image, int byte) {
    QImage grey(image.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            grey.scanLine(y)[x] = image.constScanLine(y)[4 * x + byte];
        }
    }
    return grey;
}

// Every channel of a colour raster is resized as a grey raster of that channel alone would be,
// whatever the number of taps per pixel (odd, even, one) and however far the sums overshoot.
TEST(ImageResample, EachColourChannelIsResizedAsAGreyRasterOfItAlone) {
    const QImage source = Noise(23, 17, QImage::Format_RGB32, 11);
    const QSize sizes[] = {{23, 17}, {71, 40}, {9, 6}, {50, 5}, {4, 33}};
    for (int32_t filter : kAllFilters) {
        for (const QSize size : sizes) {
            SCOPED_TRACE(testing::Message()
                         << "filter " << filter << ", " << size.width() << " x " << size.height());
            const QImage colour = Resampled(source, size.width(), size.height(), filter);
            ASSERT_FALSE(colour.isNull());
            for (int byte = 0; byte < 3; ++byte) {
                EXPECT_EQ(Channel(colour, byte),
                          Resampled(Channel(source, byte), size.width(), size.height(), filter))
                    << "byte " << byte;
            }
        }
    }
}

// Bands of rows resized on every core at once, each into its own rows of one raster, make the
// whole resize.
TEST(ImageResamplePart, BandsResizedInParallelMakeTheWholeResize) {
    const QImage source = Noise(41, 29, QImage::Format_ARGB32, 5);
    const QSize sizes[] = {{130, 97}, {17, 11}, {60, 12}};
    for (int32_t filter : {ResampleFilter::Box, ResampleFilter::Triangle, ResampleFilter::Mitchell,
                           ResampleFilter::Lanczos3}) {
        for (const QSize size : sizes) {
            for (const int bandRows : {1, 5, 32}) {
                SCOPED_TRACE(testing::Message() << "filter " << filter << ", " << size.width() << " x "
                                                << size.height() << ", bands of " << bandRows);
                QImage banded(size, source.format());
                banded.fill(0);
                uchar* const bits = banded.bits();
                const int bands = (size.height() + bandRows - 1) / bandRows;
                std::atomic<int> failed{0};
                ForEachInParallel(bands, [&](int32_t band) {
                    const int top = band * bandRows, rows = std::min(bandRows, size.height() - top);
                    QImage part(bits + qsizetype(top) * banded.bytesPerLine(), size.width(), rows,
                                banded.bytesPerLine(), banded.format());
                    failed += ImageResamplePart(source, {0, 0}, source.size(), part, {0, top}, size, filter)
                                  ? 0
                                  : 1;
                });
                EXPECT_EQ(failed, 0);
                EXPECT_EQ(banded, Resampled(source, size.width(), size.height(), filter));
            }
        }
    }
}

} // namespace
} // namespace vlr
