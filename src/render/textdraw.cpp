// Splitting, measuring, placing and drawing the lines of text items.
#include "render/textdraw.h"

#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

// Sets a font for a scope and puts the previous one back.
class KeepFont {
public:
    KeepFont(RasterCanvas& canvas, const FontSpec& font) : canvas_(canvas), previous_(canvas.font()) {
        canvas.setFont(font);
    }
    ~KeepFont() { canvas_.setFont(previous_); }
    KeepFont(const KeepFont&) = delete;
    KeepFont& operator=(const KeepFont&) = delete;

private:
    RasterCanvas& canvas_;
    FontSpec previous_;
};

// p moved by distance towards the top of the letters of a text at angle theta.
Point TowardsTop(Point p, double theta, double distance) {
    return {SaturatingAdd(p.x, nearest(std::cos(theta + kPi / 2.0) * distance)),
            SaturatingAdd(p.y, -int64_t{nearest(std::sin(theta + kPi / 2.0) * distance)})};
}

// p moved by distance along the text direction; along an axis by whole pixels.
Point AlongText(Point p, int32_t escapement, double distance) {
    if (escapement % 900 == 0) {
        const int64_t step = nearest(distance);
        switch (((escapement / 900) % 4 + 4) % 4) {
        case 0:
            return {SaturatingAdd(p.x, step), p.y};
        case 1:
            return {p.x, SaturatingAdd(p.y, -step)};
        case 2:
            return {SaturatingAdd(p.x, -step), p.y};
        default:
            return {p.x, SaturatingAdd(p.y, step)};
        }
    }
    return PolarPoint(p, TenthsToRadians(escapement), distance);
}

// No glyph of a line lies farther from its start than the baseline's length plus two of the
// font's widest characters (or its height, when larger) for each code unit and two more.
bool CanReachRaster(const RasterCanvas& canvas, Point s, Point e, size_t codeUnits,
                    const TextMetrics& metrics) {
    const double cell = std::max({metrics.maxCharWidth, metrics.height, 1});
    const double reach = PointDistance(s, e) + 2.0 * (static_cast<double>(codeUnits) + 2.0) * cell;
    const double dx = std::max({0.0, -double(s.x), double(s.x) - canvas.width()});
    const double dy = std::max({0.0, -double(s.y), double(s.y) - canvas.height()});
    return dx * dx + dy * dy <= reach * reach;
}

} // namespace

std::vector<std::u16string_view> TextLines(const ItemRecord& text) {
    std::vector<std::u16string_view> lines;
    const int32_t length = TextLength(&text);
    if (length == 0) {
        return lines;
    }
    const std::u16string_view all(text.wideText->data(), static_cast<size_t>(length));
    size_t start = 0;
    while (true) {
        const size_t separator = all.find(kLineSeparator, start);
        if (separator == std::u16string_view::npos) {
            lines.push_back(all.substr(start));
            return lines;
        }
        lines.push_back(all.substr(start, separator - start));
        start = separator + 1;
    }
}

QString FaceName(const ItemRecord& text) {
    const std::string stored = GetFontName(text);
    const QByteArray bytes(stored.data(), static_cast<qsizetype>(stored.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : decoded;
}

FontSpec TextFont(const ItemRecord& text, double zoom, int32_t colour) {
    FontSpec font;
    font.face = FaceName(text);
    font.sizePoints = nearest(int32_t(text.fontSize) * zoom);
    font.escapement = text.escapement;
    font.weight = text.fontWeight;
    font.italic = text.italic != 0;
    font.underline = text.underline != 0;
    font.strikeOut = text.strikeOut != 0;
    font.charset = std::max(0, int32_t(text.charset));
    font.colour = colour;
    return font;
}

int32_t TextLineHeight(RasterCanvas& canvas, const ItemRecord& text) {
    FontSpec font = TextFont(text, 1.0, text.textColor);
    font.escapement = 0;
    KeepFont keep(canvas, font);
    const TextMetrics metrics = canvas.GetTextMetrics();
    return metrics.ascent + metrics.descent + metrics.externalLeading;
}

int32_t TextLineWidth(RasterCanvas& canvas, std::u16string_view line, const ItemRecord& text, double zoom) {
    FontSpec font = TextFont(text, zoom, text.textColor);
    font.escapement = 0;
    font.underline = false;
    font.strikeOut = false;
    KeepFont keep(canvas, font);
    return canvas.TextWidth(line);
}

void DrawTextLine(RasterCanvas& canvas, int32_t colour, const ItemRecord& text, std::u16string_view line,
                  Point s, Point e, const ViewTransform& transform) {
    if (canvas.isNull() || line.empty()) {
        return;
    }
    KeepFont keep(canvas, TextFont(text, transform.scaleY, colour));
    const TextMetrics metrics = canvas.GetTextMetrics();
    if (!CanReachRaster(canvas, s, e, line.size(), metrics)) {
        return;
    }
    const double theta = TenthsToRadians(text.escapement);
    Point p = s;
    const int32_t alignment = text.alignment;
    if (alignment == TextAlignment::Centre || alignment == TextAlignment::Right) {
        // The font in use measures as TextLineWidth does: advances do not depend on the
        // escapement, underline or strike-out.
        const int64_t width = canvas.TextWidth(line);
        const int64_t baseline = nearest(PointDistance(s, e));
        if (width < baseline) {
            const double room = static_cast<double>(baseline - width);
            p = AlongText(s, text.escapement, alignment == TextAlignment::Centre ? room / 2.0 : room);
        }
    }
    // The text is output from the top left of its first character cell.
    p = TowardsTop(p, theta, metrics.ascent);
    canvas.TextOut(p.x, p.y, line);
}

std::vector<TextLinePlacement> TextLinePlacements(RasterCanvas& canvas, const ItemRecord& text,
                                                  const ViewTransform& transform) {
    const std::vector<std::u16string_view> lines = TextLines(text);
    std::vector<TextLinePlacement> placements;
    if (lines.empty()) {
        return placements;
    }
    placements.reserve(lines.size());
    const int32_t lineHeight = nearest(TextLineHeight(canvas, text) * transform.scaleY);
    const double theta = TenthsToRadians(text.escapement);
    const Point step = TowardsTop({0, 0}, theta, lineHeight);
    Point start = ToDevice({text.x1, text.y1}, transform), end = ToDevice({text.x2, text.y2}, transform);
    for (size_t i = lines.size(); i >= 1; --i) {
        placements.push_back({static_cast<int32_t>(i), lines[i - 1], start, end});
        start = {SaturatingAdd(start.x, step.x), SaturatingAdd(start.y, step.y)};
        end = {SaturatingAdd(end.x, step.x), SaturatingAdd(end.y, step.y)};
    }
    return placements;
}

void DrawTextItem(RasterCanvas& canvas, const ItemRecord& text, const ViewTransform& transform) {
    for (const TextLinePlacement& placement : TextLinePlacements(canvas, text, transform)) {
        DrawTextLine(canvas, text.textColor, text, placement.line, placement.start, placement.end, transform);
    }
}

} // namespace vlr
