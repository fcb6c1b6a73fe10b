// The page under the items on the canvas.
#include "canvas/pagebackground.h"

#include "settings/designtype.h"

#include <algorithm>

namespace vlr {

namespace {

constexpr int32_t kSilver = 0xC0C0C0;
constexpr int32_t kCanvasColour = 0xFFFFFF;

} // namespace

void PaintPageBackground(RasterCanvas& canvas, const ItemRecord& header, const ViewTransform& view,
                         const Rect& area) {
    auto onCanvas = [&view](Point design) { return ToDevice(design, view); };
    Rect clipped{std::clamp(std::min(area.left, area.right), 0, canvas.width()),
                 std::clamp(std::min(area.top, area.bottom), 0, canvas.height()),
                 std::clamp(std::max(area.left, area.right), 0, canvas.width()),
                 std::clamp(std::max(area.top, area.bottom), 0, canvas.height())};
    canvas.setBrush({kCanvasColour, BrushStyle::Solid});
    canvas.FillRect(clipped);
    const int32_t type = DesignTypeOf(header);
    if (type == 0) {
        return;
    }
    const double kx = header.pxPerUnitX, ky = header.pxPerUnitY;
    // A length in units as canvas pixels.
    auto cx = [&](double units) { return onCanvas({nearest(units * kx), 0}).x; };
    auto cy = [&](double units) { return onCanvas({0, nearest(units * ky)}).y; };
    auto line = [&](Point a, Point b, PenStyle style) {
        canvas.setPen({kSilver, 1, style});
        const Point points[] = {a, b};
        canvas.Polyline(points);
    };
    const bool cardType = type == 2 || type == 3 || type == 4 || type == 5 || type == 11;
    if (type == 1 || type == 6 || type == 7 || type == 8 || type == 9 || type == 10) {
        Point a{cx(header.leftMargin), cy(header.topMargin)};
        Point b{cx(header.paperWidth - header.rightMargin), cy(header.paperHeight - header.bottomMargin)};
        line({b.x, a.y}, b, PenStyle::Dotted);
        line(b, {a.x, b.y}, PenStyle::Dotted);
        if (a.x > 0) {
            line({a.x, b.y}, a, PenStyle::Dotted);
        }
        if (a.y >= 1) {
            line(a, {b.x, a.y}, PenStyle::Dotted);
        }
    }
    Point edge;
    if (cardType) {
        int64_t w = nearest(header.cardWidth * kx) * (header.columnFold ? 2 : 1);
        int64_t h = nearest(header.cardHeight * ky) * (header.rowFold ? 2 : 1);
        edge = onCanvas({SaturateInt32(w), SaturateInt32(h)});
    } else {
        edge = {cx(header.paperWidth), cy(header.paperHeight)};
    }
    line({edge.x, onCanvas({0, 0}).y}, edge, PenStyle::Solid);
    line(edge, {onCanvas({0, 0}).x, edge.y}, PenStyle::Solid);
    if (cardType) {
        if (header.columnFold) {
            line({cx(header.cardWidth), onCanvas({0, 0}).y}, {cx(header.cardWidth), edge.y},
                 PenStyle::Dotted);
        }
        if (header.rowFold) {
            line({onCanvas({0, 0}).x, cy(header.cardHeight)}, {edge.x, cy(header.cardHeight)},
                 PenStyle::Dotted);
        }
    }
    if (type == 10) {
        const int32_t columns = std::clamp<int32_t>(header.columns, 0, 1000);
        const int32_t rows = std::clamp<int32_t>(header.rows, 0, 1000);
        if (header.columnFold && columns > 1) {
            for (int32_t l = 1; l < columns; ++l) {
                int32_t x = cx(header.leftMargin + l * header.cardWidth);
                line({x, onCanvas({0, 0}).y}, {x, cy(header.paperHeight)}, PenStyle::Dotted);
            }
        }
        if (header.rowFold && rows > 1) {
            for (int32_t l = 1; l < rows; ++l) {
                int32_t y = cy(header.topMargin + l * header.cardHeight);
                line({onCanvas({0, 0}).x, y}, {cx(header.paperWidth), y}, PenStyle::Dotted);
            }
        }
    }
}

} // namespace vlr
