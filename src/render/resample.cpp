// The separable resampler: weights per target column and row in 14-bit fixed point, one pass
// along the rows and one down the columns, in the order that needs fewer multiplications.
#include "render/resample.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <numbers>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vlr {

namespace {

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;

double Sinc(double x) {
    if (x == 0.0) {
        return 1.0;
    }
    x *= std::numbers::pi;
    return std::sin(x) / x;
}

// The source pixels and weights of every target position along one axis.
struct Taps {
    std::vector<int32_t> first; // per target position: index of its first tap in the lists below
    std::vector<int32_t> source;
    std::vector<int32_t> weight; // fixed point, adding up to kWeightOne per target position
};

// How target positions map onto one axis of the source.
struct AxisMap {
    AxisMap(int32_t sourceSize, int32_t targetSize, int32_t filter)
        : sourceSize(sourceSize), filter(filter), scale(static_cast<double>(targetSize) / sourceSize),
          // Reducing widens the kernel by the reduction (and flattens it to keep its area).
          kernelScale(std::min(scale, 1.0)), radius(FilterSupport(filter) / kernelScale) {}

    // The weights of a position's source pixels (indices within the source) and their total.
    double Weights(int32_t position, std::vector<double>& weights, std::vector<int32_t>& indices) const {
        const double centre = (position + 0.5) / scale - 0.5;
        const auto from = static_cast<int64_t>(std::ceil(centre - radius));
        const auto to = static_cast<int64_t>(std::floor(centre + radius));
        weights.clear();
        indices.clear();
        double total = 0.0;
        for (int64_t j = from; j <= to; ++j) {
            const double weight = FilterKernel(filter, (centre - static_cast<double>(j)) * kernelScale);
            if (weight != 0.0) {
                weights.push_back(weight);
                indices.push_back(static_cast<int32_t>(std::clamp<int64_t>(j, 0, sourceSize - 1)));
                total += weight;
            }
        }
        if (std::abs(total) < 1e-9) {
            // No sample in reach (a box narrower than the pixel spacing): the nearest pixel.
            weights.assign(1, 1.0);
            indices.assign(
                1, static_cast<int32_t>(std::clamp<int64_t>(std::llround(centre), 0, sourceSize - 1)));
            total = 1.0;
        }
        return total;
    }

    int32_t sourceSize, filter;
    double scale, kernelScale, radius;
};

// The taps of target positions [from, to) along one axis.
Taps AxisTaps(int32_t sourceSize, int32_t targetSize, int32_t filter, int32_t from, int32_t to) {
    const AxisMap map(sourceSize, targetSize, filter);
    Taps taps;
    taps.first.reserve(static_cast<size_t>(to - from) + 1);
    std::vector<double> weights;
    std::vector<int32_t> indices;
    for (int32_t position = from; position < to; ++position) {
        taps.first.push_back(static_cast<int32_t>(taps.source.size()));
        const double total = map.Weights(position, weights, indices);
        // Rounded weights; what rounding loses or adds goes to the largest, so the sum is exact.
        int32_t sum = 0;
        size_t largest = 0;
        const size_t start = taps.weight.size();
        for (size_t k = 0; k < weights.size(); ++k) {
            const auto fixed = static_cast<int32_t>(std::lround(weights[k] / total * kWeightOne));
            taps.weight.push_back(fixed);
            taps.source.push_back(indices[k]);
            sum += fixed;
            if (std::abs(weights[k]) > std::abs(weights[largest])) {
                largest = k;
            }
        }
        taps.weight[start + largest] += kWeightOne - sum;
    }
    taps.first.push_back(static_cast<int32_t>(taps.source.size()));
    return taps;
}

// The taps of the whole axis: the work of a pass along it. The parts of one large picture (the
// bands of a page, the windows of a clip) ask for the same axes again, so the last few counts
// are kept.
double AxisTapCount(int32_t sourceSize, int32_t targetSize, int32_t filter) {
    struct Counted {
        int32_t sourceSize = 0, targetSize = 0, filter = 0;
        double count = 0;
    };
    thread_local std::array<Counted, 16> counted{};
    thread_local size_t next = 0;
    for (const Counted& entry : counted) {
        if (entry.sourceSize == sourceSize && entry.targetSize == targetSize && entry.filter == filter) {
            return entry.count;
        }
    }
    const AxisMap map(sourceSize, targetSize, filter);
    std::vector<double> weights;
    std::vector<int32_t> indices;
    double count = 0;
    for (int32_t position = 0; position < targetSize; ++position) {
        map.Weights(position, weights, indices);
        count += static_cast<double>(weights.size());
    }
    counted[next] = {sourceSize, targetSize, filter, count};
    next = (next + 1) % counted.size();
    return count;
}

// The lowest and one past the highest source index the taps read.
std::pair<int32_t, int32_t> ReachOf(const Taps& taps) {
    if (taps.source.empty()) {
        return {0, 0};
    }
    const auto [lowest, highest] = std::minmax_element(taps.source.begin(), taps.source.end());
    return {*lowest, *highest + 1};
}

inline uint8_t ToByte(int32_t accumulated) {
    return static_cast<uint8_t>(std::clamp((accumulated + (kWeightOne >> 1)) >> kWeightBits, 0, 255));
}

// Along the rows: every row of input (width x rows, stride in bytes) to target width.
template <int Channels>
void Horizontal(const uint8_t* input, size_t inputStride, int32_t rows, uint8_t* output, size_t outputStride,
                const Taps& taps, int32_t targetWidth) {
    for (int32_t y = 0; y < rows; ++y) {
        const uint8_t* in = input + y * inputStride;
        uint8_t* out = output + y * outputStride;
        for (int32_t x = 0; x < targetWidth; ++x) {
            int32_t sums[Channels] = {};
            for (int32_t k = taps.first[static_cast<size_t>(x)]; k < taps.first[static_cast<size_t>(x) + 1];
                 ++k) {
                const int32_t weight = taps.weight[static_cast<size_t>(k)];
                const uint8_t* pixel =
                    in + static_cast<size_t>(taps.source[static_cast<size_t>(k)]) * Channels;
                for (int c = 0; c < Channels; ++c) {
                    sums[c] += weight * pixel[c];
                }
            }
            for (int c = 0; c < Channels; ++c) {
                out[x * Channels + c] = ToByte(sums[c]);
            }
        }
    }
}

// Down the columns: rows of rowBytes bytes to targetRows rows.
void Vertical(const uint8_t* input, size_t inputStride, size_t rowBytes, uint8_t* output, size_t outputStride,
              const Taps& taps, int32_t targetRows) {
    std::vector<int32_t> sums(rowBytes);
    for (int32_t y = 0; y < targetRows; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int32_t k = taps.first[static_cast<size_t>(y)]; k < taps.first[static_cast<size_t>(y) + 1];
             ++k) {
            const int32_t weight = taps.weight[static_cast<size_t>(k)];
            const uint8_t* in =
                input + static_cast<size_t>(taps.source[static_cast<size_t>(k)]) * inputStride;
            for (size_t b = 0; b < rowBytes; ++b) {
                sums[b] += weight * in[b];
            }
        }
        uint8_t* out = output + y * outputStride;
        for (size_t b = 0; b < rowBytes; ++b) {
            out[b] = ToByte(sums[b]);
        }
    }
}

#if defined(__SSE2__)
// Whether every weight fits 16 bits, as the paired multiplication below needs; weights stay
// within a few times kWeightOne for every filter, but a nearly cancelling kernel could exceed it.
bool PairableWeights(const Taps& taps) {
    return std::all_of(taps.weight.begin(), taps.weight.end(),
                       [](int32_t weight) { return weight >= INT16_MIN && weight <= INT16_MAX; });
}

// Along the rows of four-channel pixels, two taps at a time: the channels of both pixels
// widened to 16 bits side by side and multiplied by their weights in pairs, each pair summed
// into 32 bits. The same integer sums as Horizontal<4>, so the same bytes.
void HorizontalPaired(const uint8_t* input, size_t inputStride, int32_t rows, uint8_t* output,
                      size_t outputStride, const Taps& taps, int32_t targetWidth) {
    const int32_t* const first = taps.first.data();
    const int32_t* const source = taps.source.data();
    const int32_t* const weights = taps.weight.data();
    const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi32(kWeightOne >> 1);
    auto pixel = [](const uint8_t* row, int32_t index) {
        int32_t value = 0;
        std::memcpy(&value, row + static_cast<size_t>(index) * 4, sizeof value);
        return _mm_cvtsi32_si128(value);
    };
    auto pair = [](int32_t a, int32_t b) {
        return _mm_set1_epi32(
            static_cast<int32_t>((static_cast<uint32_t>(b) << 16) | (static_cast<uint32_t>(a) & 0xFFFFu)));
    };
    for (int32_t y = 0; y < rows; ++y) {
        const uint8_t* const in = input + y * inputStride;
        uint8_t* out = output + y * outputStride;
        for (int32_t x = 0; x < targetWidth; ++x, out += 4) {
            __m128i sums = half;
            int32_t k = first[x];
            const int32_t end = first[x + 1];
            for (; k + 1 < end; k += 2) {
                const __m128i both = _mm_unpacklo_epi8(
                    _mm_unpacklo_epi8(pixel(in, source[k]), pixel(in, source[k + 1])), zero);
                sums = _mm_add_epi32(sums, _mm_madd_epi16(both, pair(weights[k], weights[k + 1])));
            }
            if (k < end) {
                const __m128i one = _mm_unpacklo_epi8(_mm_unpacklo_epi8(pixel(in, source[k]), zero), zero);
                sums = _mm_add_epi32(sums, _mm_madd_epi16(one, pair(weights[k], 0)));
            }
            // Rounded, shifted and kept within 0 ... 255 as ToByte does: the saturating packs
            // clamp in two steps.
            const __m128i words = _mm_packs_epi32(_mm_srai_epi32(sums, kWeightBits), zero);
            const int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, zero));
            std::memcpy(out, &bytes, sizeof bytes);
        }
    }
}
#endif

void RowPass(int channels, const uint8_t* input, size_t inputStride, int32_t rows, uint8_t* output,
             size_t outputStride, const Taps& taps, int32_t targetWidth) {
    if (channels == 4) {
#if defined(__SSE2__)
        if (PairableWeights(taps)) {
            HorizontalPaired(input, inputStride, rows, output, outputStride, taps, targetWidth);
            return;
        }
#endif
        Horizontal<4>(input, inputStride, rows, output, outputStride, taps, targetWidth);
    } else {
        Horizontal<1>(input, inputStride, rows, output, outputStride, taps, targetWidth);
    }
}

bool Allocate(std::vector<uint8_t>& buffer, size_t size) {
    try {
        buffer.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Formats whose bytes are all colour or alpha channels (no palette indices).
bool Resamplable(QImage::Format format) {
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_Grayscale8:
    case QImage::Format_Alpha8:
        return true;
    default:
        return false;
    }
}

} // namespace

double FilterSupport(int32_t filter) {
    switch (filter) {
    case ResampleFilter::Triangle:
    case ResampleFilter::Hermite:
        return 1.0;
    case ResampleFilter::Bell:
        return 1.5;
    case ResampleFilter::BSpline:
    case ResampleFilter::Mitchell:
        return 2.0;
    case ResampleFilter::Lanczos3:
        return 3.0;
    default:
        return 0.5;
    }
}

double FilterKernel(int32_t filter, double t) {
    t = std::abs(t);
    switch (filter) {
    case ResampleFilter::Triangle:
        return t < 1.0 ? 1.0 - t : 0.0;
    case ResampleFilter::Hermite:
        return t < 1.0 ? (2.0 * t - 3.0) * t * t + 1.0 : 0.0;
    case ResampleFilter::Bell:
        if (t < 0.5) {
            return 0.75 - t * t;
        }
        return t < 1.5 ? 0.5 * (t - 1.5) * (t - 1.5) : 0.0;
    case ResampleFilter::BSpline:
        if (t < 1.0) {
            return 0.5 * t * t * t - t * t + 2.0 / 3.0;
        }
        return t < 2.0 ? (2.0 - t) * (2.0 - t) * (2.0 - t) / 6.0 : 0.0;
    case ResampleFilter::Lanczos3:
        return t < 3.0 ? Sinc(t) * Sinc(t / 3.0) : 0.0;
    case ResampleFilter::Mitchell: {
        constexpr double B = 1.0 / 3.0, C = 1.0 / 3.0;
        if (t < 1.0) {
            return ((12 - 9 * B - 6 * C) * t * t * t + (-18 + 12 * B + 6 * C) * t * t + (6 - 2 * B)) / 6.0;
        }
        if (t < 2.0) {
            return ((-B - 6 * C) * t * t * t + (6 * B + 30 * C) * t * t + (-12 * B - 48 * C) * t +
                    (8 * B + 24 * C)) /
                   6.0;
        }
        return 0.0;
    }
    default:
        // The box covers half a pixel on each side, the upper end included once.
        return t < 0.5 || t == 0.5 ? 1.0 : 0.0;
    }
}

bool ImageResample(const QImage& source, QImage& target, int32_t filter) {
    return ImageResamplePart(source, {0, 0}, source.size(), target, {0, 0}, target.size(), filter);
}

QRect ResampleSourceFor(QSize sourceSize, QSize targetSize, const QRect& part, int32_t filter) {
    if (sourceSize.isEmpty() || targetSize.isEmpty() || part.isEmpty() ||
        !QRect(QPoint(0, 0), targetSize).contains(part)) {
        return {};
    }
    const auto [left, right] =
        ReachOf(AxisTaps(sourceSize.width(), targetSize.width(), filter, part.left(), part.right() + 1));
    const auto [top, bottom] =
        ReachOf(AxisTaps(sourceSize.height(), targetSize.height(), filter, part.top(), part.bottom() + 1));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

bool ImageResamplePart(const QImage& source, QPoint sourceOrigin, QSize sourceSize, QImage& target,
                       QPoint partOrigin, QSize targetSize, int32_t filter) {
    if (source.isNull() || target.isNull() || !Resamplable(source.format()) ||
        !Resamplable(target.format()) || source.depth() != target.depth() || sourceSize.isEmpty() ||
        targetSize.isEmpty() || !QRect(QPoint(0, 0), targetSize).contains(QRect(partOrigin, target.size()))) {
        return false;
    }
    const int channels = source.depth() / 8;
    const int32_t partLeft = partOrigin.x(), partRight = partOrigin.x() + target.width();
    const int32_t partTop = partOrigin.y(), partBottom = partOrigin.y() + target.height();
    Taps columns = AxisTaps(sourceSize.width(), targetSize.width(), filter, partLeft, partRight);
    Taps rows = AxisTaps(sourceSize.height(), targetSize.height(), filter, partTop, partBottom);
    const auto [left, right] = ReachOf(columns);
    const auto [top, bottom] = ReachOf(rows);
    if (!QRect(sourceOrigin, source.size())
             .contains(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)))) {
        return false;
    }
    // Multiplications of either order over the whole raster: the part takes the order the whole
    // resize takes, so that its pixels are the same. Rows first leaves the source's rows at the
    // target width.
    const double columnTaps = AxisTapCount(sourceSize.width(), targetSize.width(), filter);
    const double rowTaps = AxisTapCount(sourceSize.height(), targetSize.height(), filter);
    const double rowsFirst = double(sourceSize.height()) * columnTaps + double(targetSize.width()) * rowTaps;
    const double columnsFirst =
        double(sourceSize.width()) * rowTaps + double(targetSize.height()) * columnTaps;
    const auto inputStride = static_cast<size_t>(source.bytesPerLine());
    const auto outputStride = static_cast<size_t>(target.bytesPerLine());
    uint8_t* output = target.bits();
    // The first pass covers only the source rows (or columns) the part reads.
    auto rebase = [](Taps& taps, int32_t shift) {
        for (int32_t& index : taps.source) {
            index -= shift;
        }
    };
    std::vector<uint8_t> middle;
    if (rowsFirst <= columnsFirst) {
        rebase(columns, sourceOrigin.x());
        rebase(rows, top);
        const size_t middleStride = static_cast<size_t>(target.width()) * channels;
        if (!Allocate(middle, middleStride * static_cast<size_t>(bottom - top))) {
            return false;
        }
        RowPass(channels, source.constScanLine(top - sourceOrigin.y()), inputStride, bottom - top,
                middle.data(), middleStride, columns, target.width());
        Vertical(middle.data(), middleStride, middleStride, output, outputStride, rows, target.height());
    } else {
        rebase(rows, sourceOrigin.y());
        rebase(columns, left);
        const size_t middleStride = static_cast<size_t>(right - left) * channels;
        if (!Allocate(middle, middleStride * static_cast<size_t>(target.height()))) {
            return false;
        }
        const uint8_t* input = source.constBits() + static_cast<size_t>(left - sourceOrigin.x()) * channels;
        Vertical(input, inputStride, middleStride, middle.data(), middleStride, rows, target.height());
        RowPass(channels, middle.data(), middleStride, target.height(), output, outputStride, columns,
                target.width());
    }
    return true;
}

QImage Resampled(const QImage& source, int32_t width, int32_t height, int32_t filter) {
    if (width <= 0 || height <= 0 || source.isNull()) {
        return {};
    }
    QImage target(width, height, source.format());
    if (target.isNull() || !ImageResample(source, target, filter)) {
        return {};
    }
    return target;
}

} // namespace vlr
