// The rulers.
#include "canvas/rulers.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

constexpr QRgb kTickColour = qRgb(80, 80, 80);
constexpr QRgb kLabelColour = qRgb(64, 64, 64);
constexpr QRgb kPageColour = qRgb(255, 255, 225);
constexpr QRgb kOutsideColour = qRgb(192, 192, 192);
constexpr int kMajorHeight = 11;
// A pointer this close to a page edge (exclusive) takes the edge.
constexpr int64_t kEdgeReach = 5;
constexpr int32_t kSmallestPage = 5;

struct Series {
    double step = 0.0; // pixels
    int32_t height = 0;
};

} // namespace

RulerScale ComputeRulerScale(int32_t units, double zoom, double pixelsPerUnit, int32_t stripStart,
                             int32_t stripLength) {
    RulerScale scale;
    if (!std::isfinite(zoom) || zoom <= 0.0 || !std::isfinite(pixelsPerUnit) || stripLength <= 0) {
        return scale;
    }
    const double z = zoom;
    double major = 0.0;
    int64_t labelEvery = 1;
    bool labelled = true;
    std::vector<Series> minor;
    switch (units) {
    case 1:
        major = nearest(z * 100.0);
        labelEvery = 100;
        if (z > 0.1 && z <= 0.25) {
            minor.push_back({major / 5, 1});
        }
        if (z > 0.25) {
            minor.push_back({major / 10, 1});
        }
        if (z > 1) {
            minor.push_back({major / 20, 1});
        }
        break;
    case 2:
        major = nearest(z * pixelsPerUnit * 10.0);
        labelEvery = 10;
        labelled = z > 0.25;
        minor.push_back({major / 2, 4});
        minor.push_back({major / 4, 1});
        if (z > 1) {
            minor.push_back({major / 8, 1});
        }
        break;
    default:
        major = nearest(z * pixelsPerUnit);
        labelled = z > 0.125;
        if (z > 0.25) {
            minor.push_back({major / 2, 8});
            minor.push_back({major / 4, 4});
        }
        if (z > 0.5) {
            minor.push_back({major / 8, 1});
        }
        if (z > 1) {
            minor.push_back({major / 16, 1});
        }
        if (z > 2) {
            minor.push_back({major / 32, 1});
        }
        break;
    }
    // Steps under a pixel would mark every pixel (or never end): such a series is left out.
    if (major < 1.0) {
        return scale;
    }
    std::vector<Series> series{{major, kMajorHeight}};
    series.insert(series.end(), minor.begin(), minor.end());
    const int64_t stripEnd = static_cast<int64_t>(stripStart) + stripLength;
    for (const Series& each : series) {
        if (each.step < 1.0) {
            continue;
        }
        // The first tick past the strip's start; positions are whole multiples of the step.
        int64_t k = std::max<int64_t>(1, static_cast<int64_t>(std::floor(stripStart / each.step)));
        for (;; ++k) {
            const int64_t position = nearest(k * each.step);
            if (position >= stripEnd) {
                break;
            }
            if (position < stripStart) {
                continue;
            }
            const int32_t local = static_cast<int32_t>(position - stripStart);
            scale.ticks.push_back({local, each.height});
            if (labelled && each.height == kMajorHeight) {
                scale.labels.push_back({local, k * labelEvery});
            }
        }
    }
    return scale;
}

int32_t RulerStripLength(int32_t viewportExtent, int64_t pageExtent) {
    const int64_t limit = std::max(kRulerStripLimit, viewportExtent);
    return static_cast<int32_t>(std::clamp<int64_t>(std::max<int64_t>(viewportExtent, pageExtent), 1, limit));
}

int32_t RulerOffset(int32_t viewportExtent, int64_t pageExtent, int64_t scroll, int64_t pageStart) {
    const int64_t length = RulerStripLength(viewportExtent, pageExtent);
    if (pageExtent <= length) {
        return 0;
    }
    const int64_t into = std::max<int64_t>(0, scroll - pageStart);
    // A strip as long as the viewport (a viewport of the strip limit or longer) has no slack to
    // scroll within: it follows the scrolling pixel for pixel.
    const int64_t slack = length - viewportExtent;
    const int64_t offset = slack > 0 ? slack * (into / slack) : into;
    return static_cast<int32_t>(std::clamp<int64_t>(offset, 0, pageExtent - length));
}

QFont RulerLabelFont() {
    QFont font("Arial");
    font.setPointSizeF(7.0);
    return font;
}

QImage DrawRulerStrip(const RulerScale& scale, int32_t stripLength, bool horizontal, const QFont& labelFont) {
    const int32_t length = std::max(1, stripLength);
    QImage strip = horizontal ? QImage(length, kRulerThickness, QImage::Format_RGB32)
                              : QImage(kRulerThickness, length, QImage::Format_RGB32);
    strip.fill(kPageColour);
    QPainter painter(&strip);
    painter.setPen(QColor(kTickColour));
    for (const RulerTick& tick : scale.ticks) {
        if (horizontal) {
            painter.drawLine(tick.position, kRulerThickness - tick.height, tick.position,
                             kRulerThickness - 1);
        } else {
            painter.drawLine(kRulerThickness - tick.height, tick.position, kRulerThickness - 1,
                             tick.position);
        }
    }
    painter.setFont(labelFont);
    painter.setPen(QColor(kLabelColour));
    const int ascent = painter.fontMetrics().ascent();
    for (const RulerLabel& label : scale.labels) {
        const QString text = QString::number(label.value);
        if (horizontal) {
            // The label's top-left corner at (tick + 2, -1).
            painter.drawText(label.position + 2, -1 + ascent, text);
        } else {
            // Turned to read upwards, its top-left corner at (0, tick - 2).
            painter.save();
            painter.translate(0, label.position - 2);
            painter.rotate(-90);
            painter.drawText(0, ascent, text);
            painter.restore();
        }
    }
    return strip;
}

QImage ComposeRuler(const QImage& strip, int32_t rulerLength, int64_t stripScreenStart, int64_t visibleStart,
                    int64_t visibleEnd, bool horizontal) {
    const int32_t length = std::max(1, rulerLength);
    QImage ruler = horizontal ? QImage(length, kRulerThickness, QImage::Format_RGB32)
                              : QImage(kRulerThickness, length, QImage::Format_RGB32);
    ruler.fill(kOutsideColour);
    const int64_t stripLength = horizontal ? strip.width() : strip.height();
    const int64_t from = std::max<int64_t>({0, visibleStart, stripScreenStart});
    const int64_t to = std::min<int64_t>({length, visibleEnd, stripScreenStart + stripLength});
    if (strip.isNull() || to <= from) {
        return ruler;
    }
    QPainter painter(&ruler);
    const int span = static_cast<int>(to - from);
    const int source = static_cast<int>(from - stripScreenStart);
    if (horizontal) {
        painter.drawImage(QPoint(static_cast<int>(from), 0), strip, QRect(source, 0, span, kRulerThickness));
    } else {
        painter.drawImage(QPoint(0, static_cast<int>(from)), strip, QRect(0, source, kRulerThickness, span));
    }
    return ruler;
}

PageEdge PageEdgeNear(int64_t pointer, int64_t pageStart, int64_t pageExtent) {
    if (std::llabs(pointer - (pageStart + pageExtent)) < kEdgeReach) {
        return PageEdge::End;
    }
    if (std::llabs(pointer - pageStart) < kEdgeReach) {
        return PageEdge::Start;
    }
    return PageEdge::None;
}

int32_t DraggedPageExtent(int32_t extent, int64_t delta) {
    return SaturateInt32(std::max<int64_t>(kSmallestPage, static_cast<int64_t>(extent) + delta));
}

std::string FormatLength(double value, int32_t units, char decimalSeparator) {
    if (!std::isfinite(value) || value < 0.0001) {
        return "None";
    }
    // Qt's number formatting, not the C library's, which follows the user's locale.
    if (units == 1 || units == 2) {
        const std::string number = QString::number(std::nearbyint(value), 'f', 0).toStdString();
        if (units == 2) {
            return number + " mm";
        }
        return number + (value == 1.0 ? " Pixel" : " Pixels");
    }
    std::string number = QString::number(value, 'f', 2).toStdString();
    // Up to two decimals: the trailing zeros, and a bare point, go.
    number.erase(number.find_last_not_of('0') + 1);
    if (!number.empty() && number.back() == '.') {
        number.pop_back();
    }
    std::replace(number.begin(), number.end(), '.', decimalSeparator);
    return number + (value == 1.0 ? " Inch" : " Inches");
}

} // namespace vlr
