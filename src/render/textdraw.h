// Text items: their lines, their font at a zoom, measuring a line, and placing and drawing the
// lines through a view transform. The stored baseline (x1, y1)-(x2, y2) is the last line's; the
// lines above it are stacked one line height apart towards the top of the letters, at the
// text's angle. Shadows and shaded lettering place their lines by the same placements.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"
#include "render/rastercanvas.h"

#include <QString>

#include <cstdint>
#include <string_view>
#include <vector>

namespace vlr {

// alignment values of a text item; every other value aligns left.
namespace TextAlignment {
inline constexpr int32_t Left = 1;
inline constexpr int32_t Centre = 2;
inline constexpr int32_t Right = 3;
} // namespace TextAlignment

// The lines of a text, split at the line separator and nowhere else; none without text. The
// views point into the item's text and live as long as it stays unchanged.
std::vector<std::u16string_view> TextLines(const ItemRecord& text);

// The stored face name: UTF-8 when it reads as such, otherwise one character per byte.
QString FaceName(const ItemRecord& text);
// The font a text is drawn with at a zoom: round(fontSize x zoom) points, its escapement,
// weight, italic, underline and strike-out, and its character set (kept as stored; the glyphs
// come from the Unicode text).
FontSpec TextFont(const ItemRecord& text, double zoom, int32_t colour);

// Ascent + descent + external leading of the text's font at its own size and escapement 0.
int32_t TextLineHeight(RasterCanvas& canvas, const ItemRecord& text);
// Advance width of a line in the text's font at the zoom, escapement 0, without underline and
// strike-out.
int32_t TextLineWidth(RasterCanvas& canvas, std::u16string_view line, const ItemRecord& text, double zoom);

// Draws one line in a colour on the baseline s-e (device points): left aligned from s, or
// centred on or right aligned to the baseline when it is wider than the line; the top of the
// letters lies the font's ascent above the baseline, and the line turns by the escapement. A
// line that cannot reach the raster is not drawn.
void DrawTextLine(RasterCanvas& canvas, int32_t colour, const ItemRecord& text, std::u16string_view line,
                  Point s, Point e, const ViewTransform& transform);

// Where a line of a text item lies, in the order the lines are drawn: the last line first, on
// the stored baseline, then each line one line height (the height at 100 % times the zoom,
// rounded) further towards the top of the letters.
struct TextLinePlacement {
    int32_t number = 0; // 1-based
    std::u16string_view line;
    Point start;
    Point end;
};
std::vector<TextLinePlacement> TextLinePlacements(RasterCanvas& canvas, const ItemRecord& text,
                                                  const ViewTransform& transform);

// Draws every line of a text item in its text colour.
void DrawTextItem(RasterCanvas& canvas, const ItemRecord& text, const ViewTransform& transform);

} // namespace vlr
