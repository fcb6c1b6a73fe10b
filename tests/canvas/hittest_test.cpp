// Which item a click, an area and a double click take, and the panel a selection shows, without a
// window.
#include "canvas/hittest.h"

#include "../model/editing.h"
#include "canvas/selecttool.h"
#include "model/history.h"
#include "model/outline.h"
#include "records.h"

#include <gtest/gtest.h>

#include <optional>

namespace vlr {
namespace {

using test::Ends;
using test::Insert;
using test::Points;
using test::Shape;

HitMeasure Measure() {
    HitMeasure measure;
    measure.reach = 10;
    measure.textLineHeight = [](const ItemRecord&) { return 20; };
    return measure;
}

TEST(ItemHitDistance, OutlineDistanceLessHalfTheLineByKind) {
    ItemList list = test::NewDesign();
    ItemRecord* line = Insert(list, ItemKind::Line, 0, 0, 100, 0);
    ItemRecord* thick = Insert(list, ItemKind::Line, 0, 0, 100, 0);
    thick->lineWeight = 1.0; // half of 1 mm at 96 dpi: 1.89 pixels
    ItemRecord* text = Insert(list, ItemKind::Text, 0, 100, 80, 100);
    ItemRecord* box = Insert(list, ItemKind::Rectangle, 0, 0, 100, 50);
    ItemRecord* circle = Shape(list, ItemKind::Circle, {{100, 100}, {140, 100}});
    ItemRecord* open = Shape(list, ItemKind::Spline, {{0, 0}, {100, 0}, {100, 100}}, 0);
    ItemRecord* closed = Shape(list, ItemKind::Spline, {{0, 0}, {100, 0}, {100, 100}}, 1);
    ItemRecord* clip = Insert(list, ItemKind::Clip, 0, 0, 100, 50);
    ItemRecord* round = Insert(list, ItemKind::Clip, 100, 100, 130, 100);
    round->clipShape = ClipShape::Round;
    ItemRecord* polygon = Shape(list, ItemKind::Polygon, {{50, 50}, {100, 50}});
    polygon->vertexCount = 4;
    std::vector<PointNode> corners;
    RegularPolygonPoints(corners, {50, 50}, {100, 50}, 4);
    polygon->pointList = corners;

    struct Case {
        const char* what;
        ItemRecord* item;
        Point p;
        std::optional<int32_t> distance;
    } cases[] = {
        {"a line", line, {50, 7}, 7},
        {"past a line's end the perpendicular misses it", line, {150, 0}, std::nullopt},
        {"a 1 mm line is 1.89 nearer", thick, {50, 7}, 5},
        {"on a thick line at least 1", thick, {50, 1}, 1},
        {"inside a text's box", text, {40, 90}, 1},
        {"below a text's baseline", text, {40, 105}, 5},
        {"a rectangle: the nearest edge", box, {50, 45}, 5},
        {"inside a rectangle far from its edges", box, {50, 25}, 25},
        {"the centre of a circle is the radius away", circle, {100, 100}, 40},
        {"just outside a circle", circle, {145, 100}, 5},
        {"an open spline has no closing edge", open, {50, 50}, 50},
        {"a closed spline's closing edge", closed, {50, 50}, 1},
        {"a clip's sides", clip, {50, 10}, 10},
        {"a round clip's centre", round, {100, 100}, 30},
        {"a polygon's centre point is no corner", polygon, {50, 50}, 35},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ItemHitDistance(*c.item, c.p, Measure()), c.distance);
    }
}

TEST(PickItem, TheNearestWithinTenPixelsAndTheUpperOneAmongEquallyNear) {
    ItemList list = test::NewDesign();
    ItemRecord* lower = Insert(list, ItemKind::Line, 0, 100, 200, 100);
    ItemRecord* upper = Insert(list, ItemKind::Line, 0, 110, 200, 110);
    EXPECT_EQ(PickItem(list, {50, 105}, Measure()), upper);
    EXPECT_EQ(PickItem(list, {50, 103}, Measure()), lower);
    EXPECT_EQ(PickItem(list, {50, 90}, Measure()), lower) << "exactly the reach away";
    EXPECT_EQ(PickItem(list, {50, 89}, Measure()), nullptr) << "11 pixels away";

    // A text over a rectangle: inside the text's box the text is as near as anything can be.
    ItemList stack = test::NewDesign();
    Insert(stack, ItemKind::Rectangle, 0, 0, 100, 100);
    ItemRecord* text = Insert(stack, ItemKind::Text, 20, 60, 80, 60);
    EXPECT_EQ(PickItem(stack, {50, 50}, Measure()), text);

    // Deleted and suspended items are never picked.
    upper->deleted = 255;
    lower->suspended = 255;
    EXPECT_EQ(PickItem(list, {50, 105}, Measure()), nullptr);
}

TEST(AreaTakes, WhollyInsideOrWithShiftCrossedByASide) {
    ItemList list = test::NewDesign();
    ItemRecord* box = Insert(list, ItemKind::Rectangle, 10, 10, 50, 50);
    ItemRecord* line = Insert(list, ItemKind::Line, 10, 80, 90, 80);
    ItemRecord* marker = CreateRecord(list, ItemKind::GroupMarker);
    marker->x1 = marker->x2 = 5;
    marker->y1 = marker->y2 = 5;
    const HitMeasure m = Measure();
    // The rectangle's bounds are its corners, 10 ... 50 both ways.
    EXPECT_TRUE(AreaTakes(*box, {0, 0, 60, 60}, false, m));
    EXPECT_FALSE(AreaTakes(*box, {0, 0, 30, 60}, false, m));
    EXPECT_TRUE(AreaTakes(*box, {0, 0, 30, 60}, true, m)) << "the side x = 30 crosses the outline";
    EXPECT_FALSE(AreaTakes(*box, {20, 20, 30, 30}, true, m)) << "inside the shape, crossing nothing";
    EXPECT_TRUE(AreaTakes(*line, {50, 70, 100, 100}, true, m));
    EXPECT_FALSE(AreaTakes(*line, {50, 70, 100, 100}, false, m));
    EXPECT_TRUE(AreaTakes(*marker, {0, 0, 10, 10}, false, m)) << "a group marker by its centre";
}

TEST(ClipAtPoint, TheUpperClipWhoseTurnedBoxHoldsThePoint) {
    ItemList list = test::NewDesign();
    ItemRecord* lower = Insert(list, ItemKind::Clip, 0, 0, 100, 100);
    ItemRecord* upper = Insert(list, ItemKind::Clip, 50, 50, 150, 150);
    EXPECT_EQ(ClipAtPoint(list, {75, 75}), upper);
    EXPECT_EQ(ClipAtPoint(list, {25, 25}), lower);
    EXPECT_EQ(ClipAtPoint(list, {200, 200}), nullptr);
    // 100 x 20 about (150, 210), turned a quarter: it now stands 20 wide and 100 high.
    ItemRecord* turned = Insert(list, ItemKind::Clip, 100, 200, 200, 220);
    turned->rotation = kPi / 2.0;
    EXPECT_EQ(ClipAtPoint(list, {150, 250}), turned);
    EXPECT_EQ(ClipAtPoint(list, {190, 210}), nullptr);
}

TEST(PanelForSelection, ByTheKindOfTheClickedOrFirstSelectedItem) {
    struct Case {
        int32_t kind;
        int32_t shapeMode;
        int panel;
    } kinds[] = {
        {ItemKind::Text, 0, 301},    {ItemKind::Line, 0, 99},       {ItemKind::Triangle, 0, 200},
        {ItemKind::Square, 0, 201},  {ItemKind::Rectangle, 0, 202}, {ItemKind::Circle, 0, 203},
        {ItemKind::Ellipse, 0, 204}, {ItemKind::Polygon, 0, 299},   {ItemKind::Star, 0, 206},
        {ItemKind::Pie, 0, 207},     {ItemKind::Arc, 0, 208},       {ItemKind::Spline, 1, 209},
        {ItemKind::Spline, 2, 210},  {ItemKind::Curve, 0, 211},     {ItemKind::Curve, 2, 212},
        {ItemKind::Clip, 0, 401},
    };
    for (const Case& c : kinds) {
        ItemList list = test::NewDesign();
        ItemRecord* item = Insert(list, c.kind, 0, 0, 10, 10);
        item->shapeMode = c.shapeMode;
        test::Select(list, {item});
        EXPECT_EQ(PanelForSelection(list, item), c.panel) << c.kind << " mode " << c.shapeMode;
    }

    ItemList list = test::NewDesign();
    EXPECT_EQ(PanelForSelection(list, nullptr), 20);
    ItemRecord* solid = Insert(list, ItemKind::Spline, 0, 0, 10, 10);
    solid->shapeMode = 2;
    test::Select(list, {solid});
    EXPECT_EQ(PanelForSelection(list, nullptr), 209) << "without a click a solid counts as a spline";
    ItemRecord* open = Insert(list, ItemKind::Spline, 0, 0, 10, 10);
    test::Select(list, {solid, open});
    EXPECT_EQ(PanelForSelection(list, open), 59) << "open and closed splines";
    ItemRecord* square = Insert(list, ItemKind::Square, 0, 0, 10, 10);
    ItemRecord* circle = Insert(list, ItemKind::Circle, 0, 0, 10, 10);
    test::Select(list, {square, circle});
    EXPECT_EQ(PanelForSelection(list, square), 59);
    ItemRecord* marker = CreateRecord(list, ItemKind::GroupMarker);
    test::Select(list, {marker});
    EXPECT_EQ(PanelForSelection(list, nullptr), 0) << "a group marker alone shows no panel";
}

} // namespace
} // namespace vlr
