// Small designs for the shadow and 3-D surface tests: a header with a light direction and
// items placed by hand, and the pixel helpers those tests read rasters with.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"
#include "model/outline.h"
#include "render/drawdesign.h"
#include "render/rastercanvas.h"
#include "render/stroke.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace vlr::testing {

inline constexpr int32_t kWhite = 0xFFFFFF;
inline constexpr int32_t kRed = 0x0000FF; // 0x00BBGGRR
inline constexpr int32_t kBlue = 0xFF0000;

inline int32_t Red(int32_t colour) {
    return colour & 0xFF;
}
inline int32_t Green(int32_t colour) {
    return (colour >> 8) & 0xFF;
}
inline int32_t Blue(int32_t colour) {
    return (colour >> 16) & 0xFF;
}
inline int32_t Grey(int32_t level) {
    return level | level << 8 | level << 16;
}

// A design with its header; the light comes from the given corner.
struct LitDesign {
    ItemList items;
    int32_t nextZ = 1;

    explicit LitDesign(int32_t lightDirection = 0) {
        ItemRecord* header = CreateRecord(items, ItemKind::Header);
        header->recordClass = RecordClass::Header;
        header->lightDirection = static_cast<uint8_t>(lightDirection);
    }

    ItemRecord* Add(int32_t kind) {
        ItemRecord* item = CreateRecord(items, kind);
        item->zOrder = nextZ++;
        item->color = kRed;
        item->fillColor = kRed;
        return item;
    }
    // A filled square with the corners (x, y) and (x + side, y + side), stored clockwise on the
    // screen from its top-left corner.
    ItemRecord* Square(int32_t x, int32_t y, int32_t side) {
        ItemRecord* square = Add(ItemKind::Square);
        square->shapeMode = ShapeMode::Filled;
        square->pointList = {{.x = x, .y = y},
                             {.x = x + side, .y = y},
                             {.x = x + side, .y = y + side},
                             {.x = x, .y = y + side}};
        return square;
    }
    ItemRecord* Circle(Point centre, int32_t radius) {
        ItemRecord* circle = Add(ItemKind::Circle);
        circle->pointList = {{.x = centre.x, .y = centre.y}, {.x = centre.x + radius, .y = centre.y}};
        return circle;
    }
    ItemRecord* Line(Point a, Point b, double weightMm) {
        ItemRecord* line = Add(ItemKind::Line);
        line->x1 = a.x;
        line->y1 = a.y;
        line->x2 = b.x;
        line->y2 = b.y;
        line->direction = PointDirection(a, b);
        line->lineWeight = weightMm;
        line->penWidthPx = PenWidthPixels(1.0, weightMm, ScreenResolution());
        line->fillColor = FILL_AS_OUTLINE;
        return line;
    }
    // A bold, left-aligned text whose last line stands on the baseline from start, length long.
    ItemRecord* Text(std::u16string text, Point start, int32_t length, int32_t sizePoints, int32_t colour) {
        ItemRecord* item = Add(ItemKind::Text);
        item->wideText = std::move(text);
        item->x1 = start.x;
        item->y1 = start.y;
        item->x2 = start.x + length;
        item->y2 = start.y;
        item->fontSize = sizePoints;
        item->fontWeight = 700;
        item->textColor = colour;
        item->alignment = 1;
        return item;
    }
};

inline void SetShadow(ItemRecord* item, int32_t elevation, int32_t fade, int32_t lightness) {
    item->shadowElevation = static_cast<uint8_t>(elevation);
    item->shadowFade = static_cast<uint8_t>(fade);
    item->shadowLightness = static_cast<uint8_t>(lightness);
}

// A white raster with the design drawn on it.
inline RasterCanvas Drawn(LitDesign& design, int32_t width, int32_t height, const ViewTransform& view = {},
                          const DrawOptions& options = {}) {
    RasterCanvas raster(width, height);
    DrawDesign(raster, design.items, view, options);
    return raster;
}
inline RasterCanvas Drawn(LitDesign&& design, int32_t width, int32_t height, const ViewTransform& view = {},
                          const DrawOptions& options = {}) {
    return Drawn(design, width, height, view, options);
}

// Pixels that differ between two rasters of one size.
inline int64_t DifferentPixels(const RasterCanvas& a, const RasterCanvas& b) {
    int64_t count = 0;
    for (int32_t y = 0; y < a.height(); ++y) {
        for (int32_t x = 0; x < a.width(); ++x) {
            count += a.pixel(x, y) != b.pixel(x, y);
        }
    }
    return count;
}

// Brightness as the sum of the channels.
inline int32_t Brightness(int32_t colour) {
    return Red(colour) + Green(colour) + Blue(colour);
}

} // namespace vlr::testing
