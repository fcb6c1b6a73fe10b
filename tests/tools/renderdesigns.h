// Small designs for the render command's tests and corpus, made from model records and saved by
// the design writer, so no design file is shipped.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vlr::test {

// A design of one page width x height in the unit (1 pixels, 2 millimetres, 3 inches), with its
// margin inside the window at half an inch (48 pixels) on both sides.
ItemList PageDesign(int32_t units, double width, double height);
// An item between two design points, above every other; its world coordinates are made from
// the points, because the reader derives the points from them.
ItemRecord* AddItem(ItemList& design, int32_t kind, Point from, Point to);
// A rectangle shape filled and outlined in one colour (0x00BBGGRR), the right and bottom edges
// included.
ItemRecord* AddBox(ItemList& design, const Rect& box, int32_t colour);
ItemRecord* AddText(ItemList& design, Point at, std::u16string_view text);
// A picture file kept under an id, the format code saying how it is decoded.
ItemRecord* AddPicture(ItemList& design, int32_t id, int32_t format, std::vector<uint8_t> bytes);
// A clip of the whole of a width x height picture at its own size, its top-left corner at the
// point.
ItemRecord* AddClip(ItemList& design, int32_t pictureId, Point at, int32_t width, int32_t height);
// A 24 x 16 picture of four coloured quarters as a Windows bitmap file.
std::vector<uint8_t> QuarteredBitmap();
// Writes the design; false with the reason on standard error when it could not.
bool Save(ItemList& design, const std::string& path);

} // namespace vlr::test
