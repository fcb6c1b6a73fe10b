// What dragging each marker does to the records, without a window. Expected points are worked by
// hand from the rules of each marker.
#include "canvas/manipulate.h"

#include "../model/editing.h"
#include "canvas/grid.h"
#include "model/history.h"
#include "model/outline.h"
#include "records.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace vlr {
namespace {

using test::Ends;
using test::Insert;
using test::Points;
using test::Shape;

// The edit opened as the window opens it: the selection's new versions with their drag base.
std::vector<ItemRecord*> Open(ItemList& list, std::initializer_list<ItemRecord*> items) {
    test::Select(list, items);
    MakeNewVersions(list);
    PrepareGroupBase(list);
    return test::SelectedItems(list);
}

void Drag(ItemList& list, int32_t code, Point from, Point to, int32_t grabbed = 0,
          const SnapFrame& frame = {}) {
    const MarkerDrag drag{code, grabbed != 0 ? grabbed : code, SnapDesignPoint(frame, from), from};
    ApplyDrag(list, drag, to, frame, {});
}

TEST(DragLine, EndsFollowAndTheDotTurnsAboutTheMiddleNearlyFlatBecomingFlat) {
    ItemList list = test::NewDesign();
    ItemRecord* line = Open(list, {Insert(list, ItemKind::Line, 100, 100, 200, 100)})[0];
    Drag(list, 1, {100, 100}, {100, 150});
    EXPECT_EQ(Ends(line), (std::vector<Point>{{100, 150}, {200, 100}}));
    Drag(list, 3, {150, 100}, {160, 120});
    EXPECT_EQ(Ends(line), (std::vector<Point>{{110, 120}, {210, 120}})) << "from the base, not added up";
    // The dot 40 below the middle, carried a quarter turn clockwise on the screen: upright.
    Drag(list, 5, {150, 140}, {110, 100});
    EXPECT_EQ(Ends(line), (std::vector<Point>{{150, 50}, {150, 150}}));

    ItemList tilted = test::NewDesign();
    ItemRecord* slope = Open(tilted, {Insert(tilted, ItemKind::Line, 100, 100, 200, 110)})[0];
    // 354.3 degrees turned by 5.7 more: within a degree of flat, so exactly flat about (150, 105).
    Drag(tilted, 5, {150, 145}, {154, 145});
    EXPECT_EQ(Ends(slope), (std::vector<Point>{{100, 105}, {200, 105}}));
}

TEST(DragLine, ATextWithAPresetAngleMovesItsEndOnlyAlongIt) {
    ItemList list = test::NewDesign();
    ItemRecord* free = Open(list, {Insert(list, ItemKind::Text, 100, 200, 200, 200)})[0];
    free->textAngle = -1;
    Drag(list, 2, {200, 200}, {200, 100});
    EXPECT_EQ(free->escapement, 450) << "the angle follows the baseline: 45 degrees";

    ItemList preset = test::NewDesign();
    ItemRecord* text = Insert(preset, ItemKind::Text, 100, 200, 187, 150); // 30 degrees
    text->textAngle = 30;
    text->escapement = 300;
    text = Open(preset, {text})[0];
    // The pointer's x, and y on the 30-degree line through the first end: 200 - 150 tan 30.
    Drag(preset, 2, {187, 150}, {250, 150});
    EXPECT_EQ(Ends(text), (std::vector<Point>{{100, 200}, {250, 113}}));
    // Behind the first end the direction would be 210 degrees: the end stays.
    Drag(preset, 2, {187, 150}, {50, 150});
    EXPECT_EQ(Ends(text), (std::vector<Point>{{100, 200}, {250, 113}}));
    EXPECT_EQ(text->escapement, 300);
}

TEST(DragShape, CornersKeepRectanglesSquaresAndRegularPolygonsTheirForm) {
    ItemList list = test::NewDesign();
    ItemRecord* box = Open(list, {Insert(list, ItemKind::Rectangle, 100, 100, 200, 160)})[0];
    Drag(list, -3, {200, 160}, {220, 170});
    EXPECT_EQ(Points(box), (std::vector<Point>{{100, 100}, {220, 100}, {220, 170}, {100, 170}}));

    ItemList squares = test::NewDesign();
    ItemRecord* square = Open(
        squares, {Shape(squares, ItemKind::Square, {{100, 300}, {160, 300}, {160, 240}, {100, 240}})})[0];
    // The opposite corner stays; the dragged one and it are the diagonal.
    Drag(squares, -1, {100, 300}, {80, 320});
    EXPECT_EQ(Points(square), (std::vector<Point>{{80, 320}, {160, 320}, {160, 240}, {80, 240}}));
    // The top side 20 up: the square grows 20 across, 10 on each side.
    Drag(squares, 205, {130, 240}, {130, 220});
    EXPECT_EQ(Points(square), (std::vector<Point>{{90, 300}, {170, 300}, {170, 220}, {90, 220}}));
    // A rectangle's side moves alone.
    Drag(list, 206, {200, 130}, {230, 135});
    EXPECT_EQ(Points(box), (std::vector<Point>{{100, 100}, {230, 100}, {230, 160}, {100, 160}}));

    ItemList polygons = test::NewDesign();
    ItemRecord* polygon = CreateNewItem(polygons, ItemKind::Polygon);
    polygon->vertexCount = 4;
    RegularPolygonPoints(polygon->pointList, {100, 100}, {150, 100}, 4);
    polygon = Open(polygons, {polygon})[0];
    // Vertex 2 (a quarter turn on from the first) pulled out to 70: the first corner follows.
    Drag(polygons, -2, {100, 50}, {100, 30});
    FinishEdit(polygons, {});
    EXPECT_EQ(Points(polygon),
              (std::vector<Point>{{100, 100}, {170, 100}, {100, 30}, {30, 100}, {100, 170}, {170, 100}}));
}

TEST(DragShape, AStarsTipsAndInnerVerticesTakeTheirRadii) {
    ItemList list = test::NewDesign();
    ItemRecord* star = CreateNewItem(list, ItemKind::Star);
    star->vertexCount = 5;
    StarPoints(star->pointList, {100, 100}, {100, 80}, {100, 50}, 5);
    star = Open(list, {star})[0];
    const Point centre{100, 100};
    Drag(list, -1, {100, 50}, {100, 30});
    FinishEdit(list, {});
    EXPECT_EQ(NodePoint(star->pointList[1]), (Point{100, 30}));
    EXPECT_NEAR(PointDistance(centre, NodePoint(star->pointList[3])), 70.0, 1.0) << "every tip";
    EXPECT_NEAR(PointDistance(centre, NodePoint(star->pointList[2])), 20.0, 1.0) << "inner vertices stay";

    ItemList inner = test::NewDesign();
    ItemRecord* other = CreateNewItem(inner, ItemKind::Star);
    other->vertexCount = 5;
    StarPoints(other->pointList, {100, 100}, {100, 80}, {100, 50}, 5);
    other = Open(inner, {other})[0];
    // The first inner vertex stands at 126 degrees, 20 out: (88, 84). Out to 30 along it.
    Drag(inner, -2, {88, 84}, {82, 76});
    FinishEdit(inner, {});
    EXPECT_EQ(NodePoint(other->pointList[2]), (Point{82, 76}));
    EXPECT_NEAR(PointDistance(centre, NodePoint(other->pointList[4])), 30.0, 1.0);
    EXPECT_EQ(NodePoint(other->pointList[1]), (Point{100, 50})) << "the tips stay";
}

TEST(DragShape, CircleEllipseAndArcHandles) {
    ItemList list = test::NewDesign();
    ItemRecord* circle = CreateNewItem(list, ItemKind::Circle);
    SquareFromEdge(circle->pointList, {300, 300}, {340, 300});
    circle = Open(list, {circle})[0];
    // Its left rim point (marker 3) 20 further left: radius 60, the second point stays at 0 degrees.
    Drag(list, 1, {260, 300}, {240, 300}, 3);
    EXPECT_EQ(NodePoint(circle->pointList[1]), (Point{360, 300}));

    ItemList ellipses = test::NewDesign();
    ItemRecord* flat =
        Open(ellipses, {Shape(ellipses, ItemKind::Ellipse, {{300, 100}, {360, 100}, {300, 95}})})[0];
    // 10 from the centre: only the length changes, along the old direction.
    Drag(ellipses, 1, {360, 100}, {310, 100});
    FinishEdit(ellipses, {});
    EXPECT_EQ(Points(flat), (std::vector<Point>{{300, 100}, {310, 100}, {300, 95}}));
    // 60 below the centre: the ellipse turns to the pointer, the width point with it.
    Drag(ellipses, 1, {360, 100}, {300, 160});
    EXPECT_EQ(Points(flat), (std::vector<Point>{{300, 100}, {300, 160}, {305, 100}}));

    ItemList wide = test::NewDesign();
    ItemRecord* ellipse =
        Open(wide, {Shape(wide, ItemKind::Ellipse, {{300, 100}, {360, 100}, {300, 70}})})[0];
    Drag(wide, 2, {300, 70}, {300, 60});
    EXPECT_EQ(NodePoint(ellipse->pointList[2]), (Point{300, 60})) << "second semi-axis 40";

    ItemList pies = test::NewDesign();
    ItemRecord* pie = Open(pies, {Shape(pies, ItemKind::Pie, {{300, 300}, {350, 300}, {300, 250}})})[0];
    Drag(pies, 3, {300, 250}, {300, 230});
    EXPECT_EQ(Points(pie), (std::vector<Point>{{300, 300}, {370, 300}, {300, 230}}))
        << "end out to radius 70";
    Drag(pies, 2, {350, 300}, {360, 300});
    EXPECT_EQ(Points(pie), (std::vector<Point>{{300, 300}, {360, 300}, {300, 240}}))
        << "start sets the radius";
    // The centre moved: the end keeps its distance from the start (the chord, 70.7).
    Drag(pies, 1, {300, 300}, {310, 300});
    EXPECT_EQ(NodePoint(pie->pointList[0]), (Point{310, 300}));
    EXPECT_EQ(NodePoint(pie->pointList[1]), (Point{350, 300}));
    EXPECT_NEAR(PointDistance(NodePoint(pie->pointList[1]), NodePoint(pie->pointList[2])), 70.7, 1.0);
}

TEST(DragClip, CornersSidesTurnedCornersRimsAndSnappedEdges) {
    ItemList list = test::NewDesign();
    ItemRecord* clip = Open(list, {Insert(list, ItemKind::Clip, 100, 100, 200, 150)})[0];
    Drag(list, 103, {200, 150}, {220, 160});
    EXPECT_EQ(Ends(clip), (std::vector<Point>{{100, 100}, {220, 160}}));
    // The right side to 250: 150 wide keeps 2:1, so 75 high about the middle 125.
    Drag(list, 106, {200, 125}, {250, 125});
    EXPECT_EQ(Ends(clip), (std::vector<Point>{{100, 88}, {250, 163}}));

    ItemList flat = test::NewDesign();
    ItemRecord* line = Open(flat, {Insert(flat, ItemKind::Clip, 100, 100, 200, 100)})[0];
    Drag(flat, 106, {200, 100}, {250, 100});
    EXPECT_EQ(Ends(line), (std::vector<Point>{{100, 100}, {250, 100}})) << "no height: only the side";
    Drag(flat, 105, {150, 100}, {150, 80});
    EXPECT_EQ(Ends(line), (std::vector<Point>{{100, 80}, {200, 100}}));

    ItemList turned = test::NewDesign();
    ItemRecord* upright = Insert(turned, ItemKind::Clip, 0, 0, 100, 50);
    upright->rotation = kPi / 2.0;
    upright = Open(turned, {upright})[0];
    // The top-left corner stands at (25, 75) once turned; the opposite one at (75, -25) stays. The
    // diagonal (-40, 120) turned back is 120 wide and 40 high about (55, 35).
    Drag(turned, 101, {25, 75}, {35, 95});
    EXPECT_EQ(Ends(upright), (std::vector<Point>{{-5, 15}, {115, 55}}));
    EXPECT_DOUBLE_EQ(upright->rotation, kPi / 2.0);

    ItemList rounds = test::NewDesign();
    ItemRecord* round = Insert(rounds, ItemKind::Clip, 300, 100, 330, 100);
    round->clipShape = ClipShape::Round;
    round = Open(rounds, {round})[0];
    Drag(rounds, 105, {300, 130}, {300, 150});
    EXPECT_EQ(Ends(round), (std::vector<Point>{{300, 100}, {300, 150}}));

    ItemList snapped = test::NewDesign();
    ItemRecord* header = FindRecord(snapped, ItemKind::Header);
    header->snapX = 1;
    ItemRecord* grid = FindRecord(snapped, ItemKind::Gridlines);
    grid->gridX = {{.position = 0}, {.position = 50}, {.position = 100}, {.position = 150}};
    ItemRecord* moved = Open(snapped, {Insert(snapped, ItemKind::Clip, 10, 10, 50, 40)})[0];
    // Moved 27 right the box is 37 ... 77: its left edge snaps to 50 (centre 70), its right edge
    // to 100 (centre 80); 70 is nearer to the unsnapped 57.
    Drag(snapped, 7, {30, 25}, {57, 25}, 7, {header, grid, {}});
    EXPECT_EQ(Ends(moved), (std::vector<Point>{{50, 10}, {90, 40}}));
}

TEST(DragShape, AVertexDraggedNearTheGridSnapsAndSoftSnapsTheOthers) {
    ItemList list = test::NewDesign();
    ItemRecord* header = FindRecord(list, ItemKind::Header);
    header->snapX = header->snapY = 1;
    header->gridDensityX = 50.0;
    header->pxPerUnitX = 1.0;
    ItemRecord* grid = FindRecord(list, ItemKind::Gridlines);
    grid->gridX = grid->gridY = {{.position = 0}, {.position = 50}, {.position = 100}};
    ItemRecord* triangle = Open(list, {Shape(list, ItemKind::Triangle, {{10, 10}, {100, 12}, {52, 80}})})[0];
    // The dragged vertex lands on (50, 50); of the others only x 52 lies within 7 % of 50 (3.5) of
    // a gridline.
    Drag(list, -1, {10, 10}, {48, 49}, -1, {header, grid, {}});
    EXPECT_EQ(Points(triangle), (std::vector<Point>{{50, 50}, {100, 12}, {50, 80}}));
}

TEST(DragGroup, TheDotTurnsEveryMemberAboutTheGroupsCentre) {
    ItemList list = test::NewDesign();
    ItemRecord* first = Insert(list, ItemKind::Line, 400, 200, 440, 200);
    ItemRecord* second = Insert(list, ItemKind::Line, 400, 220, 440, 220);
    test::Select(list, {first, second});
    JoinSelection(list); // the members' new versions and the group marker stay selected
    MakeNewVersions(list);
    PrepareGroupBase(list);
    std::vector<ItemRecord*> group = test::SelectedItems(list);
    ASSERT_EQ(group.size(), 3u);
    ASSERT_TRUE(IsMarker(group[2]));
    // The group's centre is (420, 210) and its dot 40 below; carried to the right of the centre it
    // turns the group a quarter counter-clockwise.
    Drag(list, 500, {420, 250}, {460, 210});
    EXPECT_EQ(Ends(group[0]), (std::vector<Point>{{410, 230}, {410, 190}}));
    EXPECT_EQ(Ends(group[1]), (std::vector<Point>{{430, 230}, {430, 190}}));
    EXPECT_DOUBLE_EQ(group[2]->direction, kPi / 2.0);
}

TEST(DragMixed, ASquareAndACircleMoveTogether) {
    ItemList list = test::NewDesign();
    ItemRecord* square = Shape(list, ItemKind::Square, {{0, 0}, {20, 0}, {20, -20}, {0, -20}});
    ItemRecord* circle = Shape(list, ItemKind::Circle, {{100, 100}, {110, 100}});
    const std::vector<ItemRecord*> moved = Open(list, {square, circle});
    Drag(list, 7, {10, -10}, {20, -5});
    EXPECT_EQ(Points(moved[0]), (std::vector<Point>{{10, 5}, {30, 5}, {30, -15}, {10, -15}}));
    EXPECT_EQ(Points(moved[1]), (std::vector<Point>{{110, 105}, {120, 105}}));
}

TEST(CancelEdit, AnEditThatChangedNothingLeavesNoStepAndTheItemAsItWas) {
    ItemList list = test::NewDesign();
    ItemRecord* line = Insert(list, ItemKind::Line, 10, 10, 50, 30);
    SetModified(list, false);
    const size_t records = test::RecordCount(list);
    const int32_t step = NextUndoStep(list);
    Open(list, {line});
    Drag(list, 3, {30, 20}, {30, 20});
    FinishEdit(list, {});
    EXPECT_TRUE(EditChangedNothing(list));
    CancelEdit(list, step, false);
    EXPECT_EQ(test::RecordCount(list), records);
    EXPECT_TRUE(IsSelected(line));
    EXPECT_FALSE(IsModified(list));
    EXPECT_EQ(NextUndoStep(list), step);

    Open(list, {line});
    Drag(list, 3, {30, 20}, {31, 20});
    EXPECT_FALSE(EditChangedNothing(list));
}

TEST(TurnAngle, WithinADegreeOfUprightIsUpright) {
    const double degree = kPi / 180.0;
    EXPECT_EQ(TurnAngle(0.5 * degree), 0.0);
    EXPECT_EQ(TurnAngle(359.5 * degree), 0.0);
    EXPECT_EQ(TurnAngle(-0.5 * degree), 0.0);
    EXPECT_NEAR(TurnAngle(1.5 * degree), 1.5 * degree, 1e-12);
    EXPECT_NEAR(TurnAngle(-90.0 * degree), 270.0 * degree, 1e-12);
}

} // namespace
} // namespace vlr
