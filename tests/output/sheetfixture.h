// Designs for the output tests: a header with the page numbers a test names, and rectangles
// drawn by a stand-in for the item drawing, so the composed pixels show where each copy landed
// whatever the item drawing can do yet.
#pragma once

#include "model/itemkind.h"
#include "model/itemlist.h"
#include "model/outline.h"
#include "model/prompt.h"
#include "output/composesheet.h"
#include "render/drawdesign.h"
#include "render/rastercanvas.h"
#include "settings/designtype.h"

#include <string>
#include <string_view>
#include <vector>

namespace vlr::test {

// Answers yes-or-no questions as told and keeps every text it was shown.
class RecordingPrompt : public Prompt {
public:
    PromptAnswer Ask(PromptIcon, std::string_view text, PromptButtons buttons) override {
        asked.emplace_back(text);
        return buttons == PromptButtons::YesNo ? answer : PromptAnswer::Ok;
    }
    PromptAnswer answer = PromptAnswer::Yes;
    std::vector<std::string> asked;
};

struct Page {
    int32_t units = 2; // millimetres
    int32_t type = DesignType::BusinessCards;
    int32_t orientation = 1;
    double paperWidth = 210, paperHeight = 297;
    double cardWidth = 74, cardHeight = 52;
    double left = 31, top = 18;
    int32_t rows = 5, columns = 2;
    double rowGap = 0, columnGap = 0;
    uint8_t rowFold = 0, columnFold = 0;
};

// "Business Cards, 10 per page" on letter paper: cards of 3 1/2 x 2 inches (336 x 192 design
// pixels) without gaps, margins 3/4 and 1/2.
inline Page TenUpLetter() {
    return Page{.units = 3,
                .paperWidth = 8.5,
                .paperHeight = 11,
                .cardWidth = 3.5,
                .cardHeight = 2,
                .left = 0.75,
                .top = 0.5};
}

// Writes the page numbers into a header.
inline void SetPage(ItemRecord* h, const Page& page) {
    h->units = page.units;
    h->designType = page.type;
    h->orientation = page.orientation;
    h->paperWidth = page.paperWidth;
    h->paperHeight = page.paperHeight;
    const bool cards = IsCardType(page.type) && page.units != 1;
    h->canvasWidth = cards ? page.cardWidth * (page.columnFold ? 2 : 1) : page.paperWidth;
    h->canvasHeight = cards ? page.cardHeight * (page.rowFold ? 2 : 1) : page.paperHeight;
    h->cardWidth = page.cardWidth;
    h->cardHeight = page.cardHeight;
    h->leftMargin = page.left;
    h->topMargin = page.top;
    h->rows = page.rows;
    h->columns = page.columns;
    h->rowGap = page.rowGap;
    h->columnGap = page.columnGap;
    h->rowFold = page.rowFold;
    h->columnFold = page.columnFold;
}

inline ItemRecord* AddHeader(ItemList& design, const Page& page) {
    ItemRecord* h = CreateRecord(design, ItemKind::Header);
    h->recordClass = RecordClass::Header;
    SetPage(h, page);
    return h;
}

// A rectangle item from (left, top) to (right, bottom) in design pixels, in colour (0x00BBGGRR).
inline ItemRecord* AddBox(ItemList& design, int32_t left, int32_t top, int32_t right, int32_t bottom,
                          int32_t colour) {
    ItemRecord* box = CreateRecord(design, ItemKind::Rectangle);
    box->recordClass = RecordClass::Item;
    box->x1 = left;
    box->y1 = top;
    box->x2 = right;
    box->y2 = bottom;
    box->color = colour;
    box->zOrder = NextZOrder(design);
    return box;
}

// A filled rectangle the program's own item drawing paints: its four corners, outline and fill in
// one colour.
inline ItemRecord* AddFilledRectangle(ItemList& design, int32_t left, int32_t top, int32_t right,
                                      int32_t bottom, int32_t colour) {
    ItemRecord* box = AddBox(design, left, top, right, bottom, colour);
    box->pointList = {
        {.x = left, .y = top}, {.x = right, .y = top}, {.x = right, .y = bottom}, {.x = left, .y = bottom}};
    box->shapeMode = ShapeMode::Filled;
    box->fillColor = colour;
    box->lineWeight = 0.0;
    return box;
}

// Fills each live box, in stacking order, at its device rectangle.
inline void PaintBoxes(RasterCanvas& raster, ItemList& design, const ViewTransform& view) {
    for (ItemRecord* item : StackingOrder(design)) {
        const Point a = ToDevice({item->x1, item->y1}, view), b = ToDevice({item->x2, item->y2}, view);
        raster.setBrush(Brush{item->color, BrushStyle::Solid});
        raster.FillRect(Rect{a.x, a.y, b.x, b.y});
    }
}

inline constexpr int32_t kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

} // namespace vlr::test
