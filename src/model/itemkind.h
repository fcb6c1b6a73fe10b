// Record classes, item kinds and the fixed values every design record carries.
#pragma once

#include <cstdint>

namespace vlr {

namespace RecordClass {
inline constexpr int32_t Item = 0;         // drawable item or history record
inline constexpr int32_t LinePattern = 3;  // line-pattern definition
inline constexpr int32_t PictureData = 6;  // an encoded picture file
inline constexpr int32_t Header = 2000000; // the document header
} // namespace RecordClass

namespace ItemKind {
inline constexpr int32_t Text = 1000100;
inline constexpr int32_t Line = 1000200;
inline constexpr int32_t Triangle = 1000300;
inline constexpr int32_t Square = 1000400;
inline constexpr int32_t Rectangle = 1000500;
inline constexpr int32_t Circle = 1000600;
inline constexpr int32_t Ellipse = 1000700;
inline constexpr int32_t Polygon = 1000800;
inline constexpr int32_t Star = 1000900;
inline constexpr int32_t Pie = 1001000;
inline constexpr int32_t Arc = 1001100;
inline constexpr int32_t Spline = 1001200; // spline or solid, told apart by shapeMode
inline constexpr int32_t Curve = 1001400;  // curve or oblong, told apart by shapeMode
inline constexpr int32_t ShapeRangeEnd = 1002000;
inline constexpr int32_t RectClipOutline = 1003000; // also the adjusted-bitmap child of a clip
inline constexpr int32_t AdjustedBitmap = 1003000;
inline constexpr int32_t RoundClipOutline = 1003001;
inline constexpr int32_t UnadjustedBitmap = 1003100;
inline constexpr int32_t Clip = 1004000;
inline constexpr int32_t GroupMarker = 1005000;
inline constexpr int32_t Header = 2000000;
inline constexpr int32_t Deletion = 3000000;
inline constexpr int32_t Gridlines = 4000000;
inline constexpr int32_t PictureData = 5000000;
} // namespace ItemKind

// What a clip shows of its picture.
namespace ClipShape {
inline constexpr int32_t WholePicture = 0;
inline constexpr int32_t Rectangle = 1;
inline constexpr int32_t Round = 2; // point 1 the centre, point 2 a point on the circle
} // namespace ClipShape

// The validity value stored in every body.
inline constexpr int32_t kMagic = 147483647;
// The format version the writer stores in the header.
inline constexpr int32_t kFileVersion = 164;
// Lines of a text (and the fields of the header's text) are separated by this code unit.
inline constexpr char16_t kLineSeparator = 0x07EC;
// Every scan of a text stops after this many code units.
inline constexpr int32_t kTextScanLimit = 1024000;
// Text, legacy and file-name tails of this many bytes or more are never read as text.
inline constexpr int32_t kTextTailLimit = 1024000;
// The spline and curve handle factor of a new record (bit pattern 0x3FD1AC510C0C27D7).
inline constexpr double kDefaultTension = 0.27614237;

// Shapes carry a point list.
constexpr bool IsShapeKind(int32_t kind) {
    return kind >= ItemKind::Triangle && kind <= ItemKind::ShapeRangeEnd;
}
// The kinds that undo copies: text, line, shapes and clips.
constexpr bool IsDesignItemKind(int32_t kind) {
    return kind == ItemKind::Text || kind == ItemKind::Line || IsShapeKind(kind) || kind == ItemKind::Clip;
}
// The picture editor's clip outlines, which live only in the editor's own list; its Erase
// deletes them as Delete deletes design items.
constexpr bool IsClipOutlineKind(int32_t kind) {
    return kind == ItemKind::RectClipOutline || kind == ItemKind::RoundClipOutline;
}
// Lines and shapes draw with an outline pen.
constexpr bool HasOutlinePen(int32_t kind) {
    return kind >= ItemKind::Line && kind <= ItemKind::ShapeRangeEnd;
}

} // namespace vlr
