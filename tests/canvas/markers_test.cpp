// The markers of every item kind, the drags and cursors the pointer over them names, and the
// pixels they give back when taken away.
#include "canvas/markers.h"

#include "../model/editing.h"
#include "model/history.h"
#include "model/outline.h"
#include "records.h"

#include <gtest/gtest.h>

namespace vlr {
namespace {

using test::Insert;
using test::Shape;

std::vector<int32_t> Codes(const MarkerSet& set) {
    std::vector<int32_t> codes;
    for (const MarkerPoint& marker : set.markers) {
        codes.push_back(marker.code);
    }
    return codes;
}

Point At(const MarkerSet& set, int32_t code) {
    for (const MarkerPoint& marker : set.markers) {
        if (marker.code == code) {
            return marker.at;
        }
    }
    ADD_FAILURE() << "no marker " << code;
    return {};
}

// On a canvas at 100 % without a tile offset, canvas pixels are design pixels.
MarkerSet Markers(const ItemRecord* item, bool single) {
    return MarkerPointsOf(*item, single, ViewTransform{}, MarkerStyle{});
}

TEST(MarkerPointsOf, LinesAndTextsHaveEndsMiddleAndADotUnlessTheirAngleIsPreset) {
    ItemList list = test::NewDesign();
    ItemRecord* line = Insert(list, ItemKind::Line, 100, 100, 200, 100);
    EXPECT_EQ(Codes(Markers(line, false)), (std::vector<int32_t>{1, 2, 3}));
    const MarkerSet single = Markers(line, true);
    EXPECT_EQ(Codes(single), (std::vector<int32_t>{1, 2, 3, 5}));
    EXPECT_EQ(At(single, 3), (Point{150, 100}));
    EXPECT_EQ(At(single, 5), (Point{150, 140})) << "40 pixels at the line's angle less 90 degrees";
    EXPECT_TRUE(single.dottedLine);
    line->fixedAngle = 30.0;
    EXPECT_EQ(Codes(Markers(line, true)), (std::vector<int32_t>{1, 2, 3}));
}

TEST(MarkerPointsOf, ShapesHaveVerticesSidesCentreAndADotClearOfTheSideMarkers) {
    ItemList list = test::NewDesign();
    // First side along the bottom, corners counter-clockwise.
    ItemRecord* box = Shape(list, ItemKind::Rectangle, {{100, 300}, {200, 300}, {200, 220}, {100, 220}});
    MarkerSet set = Markers(box, true);
    EXPECT_EQ(Codes(set), (std::vector<int32_t>{-1, -2, -3, -4, 205, 206, 207, 208, 5, 7}));
    EXPECT_EQ(At(set, 205), (Point{150, 220}));
    EXPECT_EQ(At(set, 206), (Point{200, 260}));
    EXPECT_EQ(At(set, 207), (Point{150, 300}));
    EXPECT_EQ(At(set, 208), (Point{100, 260}));
    EXPECT_EQ(At(set, 7), (Point{150, 260}));
    EXPECT_EQ(At(set, 5), (Point{150, 316})) << "40 below the centre is on marker 207: 16 further down";
    // The same box with its first side along the top: the dot would cover marker 205.
    ItemRecord* flipped = Shape(list, ItemKind::Rectangle, {{100, 220}, {200, 220}, {200, 300}, {100, 300}});
    EXPECT_EQ(At(Markers(flipped, true), 5), (Point{150, 316}));
    // A turned rectangle has no side markers.
    ItemRecord* turned = Shape(list, ItemKind::Rectangle, {{100, 300}, {200, 310}, {190, 410}, {90, 400}});
    EXPECT_EQ(Codes(Markers(turned, false)), (std::vector<int32_t>{-1, -2, -3, -4}));

    ItemRecord* polygon = CreateNewItem(list, ItemKind::Polygon);
    polygon->vertexCount = 4;
    RegularPolygonPoints(polygon->pointList, {450, 300}, {500, 300}, 4);
    EXPECT_EQ(Codes(Markers(polygon, false)), (std::vector<int32_t>{-1, -2, -3, -4, -5}))
        << "no centre vertex";

    ItemRecord* circle = Shape(list, ItemKind::Circle, {{300, 300}, {340, 300}});
    set = Markers(circle, true);
    EXPECT_EQ(Codes(set), (std::vector<int32_t>{1, 2, 3, 4, 7}));
    EXPECT_EQ(At(set, 2), (Point{300, 260})) << "the rim at 90 degrees is above";
    EXPECT_EQ(At(set, 3), (Point{260, 300}));

    ItemRecord* ellipse = Shape(list, ItemKind::Ellipse, {{300, 100}, {360, 100}, {300, 70}});
    set = Markers(ellipse, true);
    EXPECT_EQ(Codes(set), (std::vector<int32_t>{1, 2, 3, 4, 5, 7}));
    EXPECT_EQ(At(set, 2), (Point{300, 70}));
    EXPECT_EQ(At(set, 3), (Point{240, 100}));
    EXPECT_EQ(At(set, 4), (Point{300, 130}));
    EXPECT_EQ(At(set, 5), (Point{340, 100})) << "along the first axis";

    ItemRecord* pie = Shape(list, ItemKind::Pie, {{300, 300}, {350, 300}, {300, 250}});
    set = Markers(pie, true);
    EXPECT_EQ(Codes(set), (std::vector<int32_t>{1, 2, 3, 5, 7}));
    EXPECT_EQ(At(set, 3), (Point{300, 250}));
}

TEST(MarkerPointsOf, ClipsAndGroups) {
    ItemList list = test::NewDesign();
    ItemRecord* clip = Insert(list, ItemKind::Clip, 100, 100, 200, 150);
    MarkerSet set = Markers(clip, true);
    EXPECT_EQ(Codes(set), (std::vector<int32_t>{101, 102, 103, 104, 105, 106, 107, 108, 5, 7}));
    EXPECT_EQ(At(set, 102), (Point{200, 100}));
    EXPECT_EQ(At(set, 108), (Point{100, 125}));
    EXPECT_EQ(At(set, 5), (Point{150, 165})) << "straight below the centre";
    clip->rotation = kPi / 2.0;
    set = Markers(clip, true);
    EXPECT_EQ(Codes(set), (std::vector<int32_t>{101, 102, 103, 104, 5, 7}));
    EXPECT_EQ(At(set, 101), (Point{125, 175})) << "the top-left corner turned a quarter about (150, 125)";

    ItemRecord* round = Insert(list, ItemKind::Clip, 300, 100, 330, 100);
    round->clipShape = ClipShape::Round;
    set = Markers(round, true);
    EXPECT_EQ(Codes(set), (std::vector<int32_t>{105, 106, 107, 108, 5, 7}));
    EXPECT_EQ(At(set, 105), (Point{300, 130})) << "below the centre";
    EXPECT_EQ(At(set, 107), (Point{300, 70}));

    ItemRecord* marker = CreateRecord(list, ItemKind::GroupMarker);
    marker->x1 = marker->x2 = 420;
    marker->y1 = marker->y2 = 210;
    set = Markers(marker, false);
    EXPECT_EQ(Codes(set), (std::vector<int32_t>{3, 500}));
    EXPECT_EQ(At(set, 500), (Point{420, 250}));
}

TEST(MarkerAt, ThePointerOverAMarkerNamesTheDragAndTheCursor) {
    ItemList list = test::NewDesign();
    RasterCanvas raster(600, 400);
    auto shown = [&](ItemRecord* item, bool single) {
        DrawMarkers(raster, item, single, ViewTransform{}, MarkerStyle{});
        return item;
    };
    shown(Insert(list, ItemKind::Text, 20, 30, 80, 30), true);
    ItemRecord* circle = shown(Shape(list, ItemKind::Circle, {{300, 300}, {340, 300}}), true);
    shown(Shape(list, ItemKind::Ellipse, {{450, 100}, {510, 100}, {450, 70}}), true);
    shown(Shape(list, ItemKind::Rectangle, {{100, 300}, {200, 300}, {200, 220}, {100, 220}}), true);
    shown(Insert(list, ItemKind::Clip, 100, 100, 200, 150), false);
    struct Case {
        const char* what;
        Point at;
        bool single;
        int32_t state, code;
        Qt::CursorShape cursor;
    } cases[] = {
        {"text end", {80, 30}, true, 33, 2, Qt::SizeAllCursor},
        {"a circle's rim drags as marker 1", {260, 300}, true, 47, 1, Qt::SizeAllCursor},
        {"an ellipse's far axis end is its first axis", {390, 100}, true, 48, 1, Qt::SizeAllCursor},
        {"an ellipse's fourth marker is its second axis", {450, 130}, true, 48, 2, Qt::SizeAllCursor},
        {"a side of a single rectangle", {150, 220}, true, 46, 205, Qt::SizeVerCursor},
        {"a side among several", {200, 260}, false, 46, 206, Qt::SizeAllCursor},
        {"a vertex", {100, 300}, true, 46, -1, Qt::SizeAllCursor},
        {"a clip's corner", {100, 100}, true, 52, 101, Qt::SizeFDiagCursor},
        {"a clip's other corner", {200, 100}, true, 52, 102, Qt::SizeBDiagCursor},
        {"the dotted line is no handle", {150, 290}, true, 0, 0, Qt::ArrowCursor},
        {"nothing", {560, 380}, true, 0, 0, Qt::ArrowCursor},
    };
    for (const Case& c : cases) {
        const MarkerHit hit = MarkerAt(list, c.at, c.single);
        EXPECT_EQ(hit.state, c.state) << c.what;
        EXPECT_EQ(hit.code, c.code) << c.what;
        EXPECT_EQ(hit.cursor, c.cursor) << c.what;
    }
    EXPECT_EQ(MarkerAt(list, {260, 300}, true).grabbed, 3);
    EXPECT_EQ(MarkerAt(list, {260, 300}, true).item, circle);
    EXPECT_EQ(MarkerAt(list, {30, 30}, true).item, nullptr) << "between the text's markers";
}

TEST(EraseAllMarkers, OverlappingMarkersGiveBackExactlyThePixelsUnderThem) {
    ItemList list = test::NewDesign();
    RasterCanvas raster(300, 200);
    raster.setBrush({0x336699, BrushStyle::Solid});
    raster.FillRect({40, 40, 160, 120});
    const QImage before = raster.image().copy();
    ItemRecord* first = Insert(list, ItemKind::Line, 50, 50, 150, 50);
    ItemRecord* second = Insert(list, ItemKind::Line, 53, 52, 150, 100); // its first marker overlaps
    test::Select(list, {first, second});
    DrawAllMarkers(raster, list, ViewTransform{}, MarkerStyle{});
    EXPECT_NE(raster.image(), before);
    EXPECT_EQ(raster.pixel(50, 50), 0xFFFF) << "a marker's yellow fill";
    EraseAllMarkers(raster, list);
    EXPECT_EQ(raster.image(), before);
    EXPECT_TRUE(first->backgroundCache.empty() && second->backgroundCache.empty());
}

// On a dense screen the markers stand where they do at 100 %, drawn at its density (a 1-pixel
// outline is two device pixels at ratio 2), and erasing them gives back every device pixel, at
// fractional ratios too.
TEST(EraseAllMarkers, OnADenseScreenMarkersGiveBackEveryDevicePixel) {
    for (double ratio : {1.5, 2.0, 3.0}) {
        ItemList list = test::NewDesign();
        RasterCanvas raster(300, 200, Smoothing::Antialiased, {}, ratio);
        raster.setPen({0x336699, 3});
        raster.Polyline(std::vector<Point>{{20, 45}, {170, 60}});
        const QImage before = raster.image().copy();
        ItemRecord* first = Insert(list, ItemKind::Line, 50, 50, 150, 50);
        ItemRecord* second = Insert(list, ItemKind::Line, 53, 52, 150, 100);
        test::Select(list, {first, second});
        DrawAllMarkers(raster, list, ViewTransform{}, MarkerStyle{});
        ASSERT_NE(raster.image(), before) << ratio;
        const int device = static_cast<int>(50 * ratio);
        EXPECT_EQ(raster.pixel(device, device), 0xFFFF) << "the yellow fill at " << ratio;
        if (ratio == 2.0) {
            // The marker covers window pixels 46 ... 53: grey device pixels 92 and 93, then yellow.
            EXPECT_EQ(raster.pixel(92, 100), 0x808080);
            EXPECT_EQ(raster.pixel(93, 100), 0x808080);
            EXPECT_EQ(raster.pixel(94, 100), 0xFFFF);
        }
        EraseAllMarkers(raster, list);
        EXPECT_EQ(raster.image(), before) << ratio;
    }
}

} // namespace
} // namespace vlr
