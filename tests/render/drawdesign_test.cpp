// Drawing a whole design: stacking order, one record per stacking number, skipped records.
#include "render/drawdesign.h"

#include "model/itemlist.h"
#include "render/rastercanvas.h"

#include <gtest/gtest.h>

namespace vlr {
namespace {

// A filled square of one colour at (x, y), 20 pixels wide.
ItemRecord* Square(ItemList& list, int32_t x, int32_t y, int32_t colour, int32_t zOrder) {
    ItemRecord* square = CreateRecord(list, ItemKind::Rectangle);
    square->zOrder = zOrder;
    square->color = colour;
    square->fillColor = colour;
    square->shapeMode = 2;
    square->pointList = {{.x = x, .y = y}, {.x = x + 20, .y = y}, {.x = x + 20, .y = y + 20}, {.x = x, .y = y + 20}};
    return square;
}

TEST(DrawDesign, ItemsInStackingOrderTheFirstLiveRecordOfANumberOnly) {
    ItemList design;
    CreateRecord(design, ItemKind::Header)->recordClass = RecordClass::Header;
    Square(design, 10, 10, 0x0000FF, 2);                  // red on top
    Square(design, 15, 15, 0x00FF00, 1);                  // green below it
    ItemRecord* old = Square(design, 40, 10, 0xFF0000, 3);
    old->deleted = 255;                                    // a superseded version
    Square(design, 40, 10, 0x00FFFF, 3);                  // its new version, yellow
    Square(design, 70, 10, 0xFF00FF, 3);                  // shares the number: not drawn
    Square(design, 10, 40, 0x808080, 2'000'000'000);      // a file's huge number costs nothing

    RasterCanvas raster(100, 70);
    DrawDesign(raster, design, ViewTransform{});
    EXPECT_EQ(raster.pixel(20, 20), 0x0000FF);   // the overlap shows the top square
    EXPECT_EQ(raster.pixel(32, 32), 0x00FF00);
    EXPECT_EQ(raster.pixel(50, 20), 0x00FFFF);
    EXPECT_EQ(raster.pixel(80, 20), 0xFFFFFF);
    EXPECT_EQ(raster.pixel(20, 50), 0x808080);

    std::vector<ItemRecord*> order = StackingOrder(design);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0]->zOrder, 1);
    EXPECT_EQ(order[3]->zOrder, 2'000'000'000);
}

TEST(DrawDesign, NothingDrawsWithoutStackingNumbersOrForRecordsThatAreNoItems) {
    ItemList design;
    CreateRecord(design, ItemKind::Header)->recordClass = RecordClass::Header;
    Square(design, 10, 10, 0x0000FF, 0);
    ItemRecord* marker = CreateRecord(design, ItemKind::GroupMarker);
    marker->zOrder = 5;
    RasterCanvas raster(40, 40);
    DrawDesign(raster, design, ViewTransform{});
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(raster.pixel(x, y), 0xFFFFFF) << x << "," << y;
        }
    }
}

} // namespace
} // namespace vlr
