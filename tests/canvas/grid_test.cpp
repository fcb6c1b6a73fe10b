// The grid without a window: generating, editing, snapping, and the items that move with a
// gridline.
#include "canvas/grid.h"

#include "canvas/anchors.h"

#include "../model/editing.h"
#include "model/history.h"
#include "render/rastercanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace vlr {
namespace {

using test::Insert;
using test::NewDesign;

ItemRecord* HeaderOf(const ItemList& list) {
    return FindRecord(list, ItemKind::Header);
}

// A page in pixels starting at the canvas origin, gridlines shown with anchors.
ItemList PixelDesign(std::vector<int32_t> x, std::vector<int32_t> y = {}) {
    ItemList list = NewDesign();
    ItemRecord* header = HeaderOf(list);
    header->pxPerUnitX = header->pxPerUnitY = 1.0;
    header->canvasWidth = 400;
    header->canvasHeight = 300;
    header->gridDensityX = header->gridDensityY = 50;
    header->showGridX = header->anchorsX = header->showGridY = header->anchorsY = 1;
    HeaderGeometry(header);
    ItemRecord* grid = LiveGridlines(list);
    for (int32_t p : x) {
        grid->gridX.push_back({p, 0, 0});
    }
    for (int32_t p : y) {
        grid->gridY.push_back({p, 0, 0});
    }
    return list;
}

std::vector<int32_t> Positions(const std::vector<GridNode>& nodes) {
    std::vector<int32_t> positions;
    for (const GridNode& node : nodes) {
        if (!node.removed) {
            positions.push_back(node.position);
        }
    }
    return positions;
}

// The steps Undo can still take.
int UndoSteps(const ItemList& list) {
    std::set<int32_t> steps;
    for (const ItemRecord* record : list) {
        if (record->recordClass == RecordClass::Item && record->historyState == kUndoable) {
            steps.insert(record->undoStep);
        }
    }
    return static_cast<int>(steps.size());
}

TEST(Snap, APointGoesToTheNearestGridlineAndATieToTheFirstInListOrder) {
    struct Case {
        std::vector<int32_t> gridlines;
        int32_t pointer, snapped;
    };
    const Case cases[] = {
        {{0, 50, 100}, 74, 50},  {{0, 50, 100}, 76, 100},  {{0, 50, 100}, 75, 50},
        {{100, 50, 0}, 75, 100}, {{0, 50, 100}, 900, 100}, // no distance limit
    };
    for (const Case& each : cases) {
        ItemList list = PixelDesign(each.gridlines);
        HeaderOf(list)->snapX = 1;
        SnapFrame frame{HeaderOf(list), LiveGridlines(list), {}};
        EXPECT_EQ(SnapPoint(frame, {each.pointer, 33}), (Point{each.snapped, 33})) << each.pointer;
        EXPECT_EQ(SnapDesignPoint(frame, {each.pointer, 33}), (Point{each.snapped, 33})) << each.pointer;
    }
}

TEST(Snap, WorksWithTheGridlinesHiddenAndOnlyOnAxesWhoseSnapIsOn) {
    ItemList list = PixelDesign({0, 50, 100}, {0, 40});
    ItemRecord* header = HeaderOf(list);
    header->showGridX = header->showGridY = 0;
    SnapFrame frame{header, LiveGridlines(list), {}};
    EXPECT_EQ(SnapPoint(frame, {74, 33}), (Point{74, 33}));
    header->snapX = 1;
    EXPECT_EQ(SnapPoint(frame, {74, 33}), (Point{50, 33}));
    header->snapY = 1;
    EXPECT_EQ(SnapPoint(frame, {74, 33}), (Point{50, 40}));
    // A removed gridline is not snapped to.
    LiveGridlines(list)->gridX[1].removed = 1;
    EXPECT_EQ(SnapPoint(frame, {74, 33}), (Point{100, 40}));
}

TEST(Snap, CountsFromTheCanvasOriginAtZoomAndThroughTheTile) {
    // The page stands 20 pixels from the canvas origin; at zoom 2 its left edge lies 40 canvas
    // pixels in; the tile shows the page from zoomed pixel 30 on.
    ItemList list = PixelDesign({20 + 50, 20 + 100});
    ItemRecord* header = HeaderOf(list);
    header->canvasLeft = 20;
    header->zoom = 2.0;
    header->snapX = 1;
    HeaderGeometry(header);
    ASSERT_EQ(header->boundLeft, 40);
    SnapFrame frame{header, LiveGridlines(list), {30, 0}};
    // Canvas 130 is design (130 + 30) / 2 = 80, nearer gridline 20 + 100: canvas 2 x 120 - 30 - 40.
    EXPECT_EQ(SnapPoint(frame, {130, 10}).x, 170);
    EXPECT_EQ(SnapDesignPoint(frame, {80, 10}).x, 100);
    EXPECT_EQ(SnapDesignPoint(frame, {74, 10}).x, 50);
}

TEST(Snap, SoftSnappingTakesOnlyCoordinatesWithinSevenPercentOfTheSpacing) {
    // Gridlines 100 apart: 7 pixels is the reach.
    ItemList list = PixelDesign({0, 100, 200}, {0, 100});
    ItemRecord* header = HeaderOf(list);
    header->gridDensityX = 100;
    header->snapX = header->snapY = 1;
    std::vector<PointNode> points = {{.x = 106, .y = 94}, {.x = 108, .y = 100}, {.x = 150, .y = 4}};
    SoftSnapPoints({header, LiveGridlines(list), {}}, points);
    EXPECT_EQ(NodePoint(points[0]), (Point{100, 100}));
    EXPECT_EQ(NodePoint(points[1]), (Point{108, 100}));
    EXPECT_EQ(NodePoint(points[2]), (Point{150, 0}));
    header->snapY = 0;
    points = {{.x = 103, .y = 97}};
    SoftSnapPoints({header, LiveGridlines(list), {}}, points);
    EXPECT_EQ(NodePoint(points[0]), (Point{100, 97}));
}

TEST(Snap, AMovedClipTakesTheEdgeSnapNearerToItsCentre) {
    ItemList list = PixelDesign({0, 100, 200}, {0, 100, 200});
    ItemRecord* header = HeaderOf(list);
    header->snapX = header->snapY = 1;
    SnapFrame frame{header, LiveGridlines(list), {}};
    // Half width 30: edges 62 and 122 snap to 100 and 100, centres 130 and 70; 70 is nearer 92.
    // Half height 45: edges 65 and 155 snap to 100 and 200, centres 145 and 155; 145 is nearer.
    EXPECT_EQ(SnapClipEdges(frame, {92, 110}, 30, 45), (Point{70, 145}));
    header->snapY = 0;
    EXPECT_EQ(SnapClipEdges(frame, {92, 110}, 30, 45), (Point{70, 110}));
}

TEST(Gridlines, ADensityThatGivesNoStepGeneratesNone) {
    const double inf = std::numeric_limits<double>::infinity();
    for (double density : {0.0, -1.0, std::nan(""), inf, 0.4}) {
        EXPECT_TRUE(SpacedGridlines(0, density, 1.0, 400.0, 0).empty()) << density;
    }
    // Page 400 pixels, density 50: the page's start and 8 more.
    std::vector<GridNode> nodes = SpacedGridlines(10, 50.0, 1.0, 400.0, 0);
    ASSERT_EQ(nodes.size(), 9u);
    EXPECT_EQ(nodes.front().position, 10);
    EXPECT_EQ(nodes.back().position, 410);
    // 0.6 rounds to a 1-pixel step: a 400-pixel page gets its 401 gridlines and the one step past
    // its end that rounding may give any density, not 667.
    EXPECT_EQ(SpacedGridlines(0, 0.6, 1.0, 400.0, 0).size(), 402u);
    // 10 mm at 3.78 pixels a millimetre rounds up to 38 pixels: a 200 mm page keeps its 20 lines
    // although the last stands 4 pixels past the page's end.
    EXPECT_EQ(SpacedGridlines(0, 10.0, 96.0 / 25.4, 200.0, 1).size(), 20u);
    // A crafted page a million inches wide stays within the cap.
    EXPECT_EQ(SpacedGridlines(0, 0.01, 96.0, 1.0e6, 1).size(), static_cast<size_t>(kMostGridlines));
}

TEST(Gridlines, ANewDesignsGridStartsOnThePagesEdges) {
    ItemList list = NewDesign();
    ItemRecord* header = HeaderOf(list);
    header->units = 3;
    header->pxPerUnitX = header->pxPerUnitY = 96.0;
    header->canvasLeft = header->canvasTop = 0.2;
    header->canvasWidth = 8.5;
    header->canvasHeight = 11;
    header->gridDensityX = 0.25;
    header->gridDensityY = 0.5;
    ItemRecord* grid = LiveGridlines(list);
    FillDefaultGridlines(grid, header);
    // 0.2 in = 19.2 -> 19; 8.5 / 0.25 = 34 steps of 24 after the edge.
    ASSERT_EQ(grid->gridX.size(), 35u);
    EXPECT_EQ(grid->gridX[0].position, 19);
    EXPECT_EQ(grid->gridX[34].position, 19 + 34 * 24);
    ASSERT_EQ(grid->gridY.size(), 23u);
    EXPECT_EQ(grid->gridY[1].position, 19 + 48);
}

TEST(Gridlines, AGrownPageGainsGridlinesPastTheLastOneAndAShiftedPageMovesThem) {
    ItemList list = PixelDesign({0, 50, 130});
    ItemRecord* header = HeaderOf(list);
    ItemRecord* grid = LiveGridlines(list);
    header->canvasWidth = 320;
    HeaderGeometry(header);
    AddGridlinesForGrownPage(grid, header, GridAxis::X);
    EXPECT_EQ(Positions(grid->gridX), (std::vector<int32_t>{0, 50, 130, 150, 200, 250, 300}));

    ShiftGrid(grid, GridAxis::X, 15);
    EXPECT_EQ(Positions(grid->gridX), (std::vector<int32_t>{15, 65, 145, 165, 215, 265, 315}));
    // The first would stand at -35: everything moves on so that it stands at 0.
    ShiftGrid(grid, GridAxis::X, -50);
    EXPECT_EQ(Positions(grid->gridX), (std::vector<int32_t>{0, 50, 130, 150, 200, 250, 300}));
}

TEST(EditGrid, AnEditThatChangesSomethingIsOneUndoStepAndOneThatChangesNothingIsNone) {
    ItemList list = PixelDesign({0, 50, 100}, {0, 60});
    // Something to redo, which an empty edit must not purge.
    Insert(list, ItemKind::Line, 5, 5, 40, 40);
    Undo(list);
    ASSERT_TRUE(CanRedo(list));
    const int before = UndoSteps(list);

    struct Case {
        GridAxis axis;
        GridAction action;
        int32_t position;
    };
    // Nothing is highlighted: moving and removing change nothing; nor does moving a gridline to
    // where it stands, nor anything on an axis whose anchors are hidden.
    for (Case each : {Case{GridAxis::X, GridAction::Move, 70}, Case{GridAxis::X, GridAction::Remove, 0},
                      Case{GridAxis::Y, GridAction::Remove, 0}}) {
        EXPECT_FALSE(EditGrid(list, each.axis, each.action, each.position));
    }
    LiveGridlines(list)->gridX[1].highlighted = 255;
    EXPECT_FALSE(EditGrid(list, GridAxis::X, GridAction::Move, 50));
    HeaderOf(list)->anchorsY = 0;
    EXPECT_FALSE(EditGrid(list, GridAxis::Y, GridAction::Add, 30));
    EXPECT_EQ(UndoSteps(list), before);
    EXPECT_TRUE(CanRedo(list));
    const size_t records = std::distance(list.begin(), list.end());

    ItemRecord* original = LiveGridlines(list);
    EXPECT_TRUE(EditGrid(list, GridAxis::X, GridAction::Move, 70));
    EXPECT_EQ(UndoSteps(list), before + 1);
    EXPECT_FALSE(CanRedo(list));
    EXPECT_EQ(std::distance(list.begin(), list.end()), static_cast<ptrdiff_t>(records)); // one in, one purged
    ItemRecord* moved = LiveGridlines(list);
    EXPECT_NE(moved, original);
    EXPECT_EQ(moved->replaces, original->serial);
    EXPECT_EQ(Positions(moved->gridX), (std::vector<int32_t>{0, 70, 100}));
    EXPECT_EQ(Positions(original->gridX), (std::vector<int32_t>{0, 50, 100}));

    // Remove takes the highlighted gridline away and clears its highlight; undo brings it back.
    EXPECT_TRUE(EditGrid(list, GridAxis::X, GridAction::Remove));
    EXPECT_EQ(Positions(LiveGridlines(list)->gridX), (std::vector<int32_t>{0, 100}));
    EXPECT_EQ(LiveGridlines(list)->gridX[1].highlighted, 0);
    EXPECT_TRUE(EditGrid(list, GridAxis::X, GridAction::Add, 33));
    EXPECT_EQ(UndoSteps(list), before + 3);
    Undo(list);
    Undo(list);
    EXPECT_EQ(Positions(LiveGridlines(list)->gridX), (std::vector<int32_t>{0, 70, 100}));
    Undo(list);
    EXPECT_EQ(LiveGridlines(list), original);
}

TEST(EditGrid, EqualizingAfterDeletionsAndMovesSpacesTheGridlinesEvenlyAgain) {
    ItemList list = PixelDesign({0, 50, 100, 150, 200, 250, 300, 350, 400});
    ItemRecord* header = HeaderOf(list);
    header->canvasLeft = 10; // the page stands 10 pixels from the canvas origin
    HeaderGeometry(header);
    ItemRecord* grid = LiveGridlines(list);
    grid->gridX[2].highlighted = 255;
    ASSERT_TRUE(EditGrid(list, GridAxis::X, GridAction::Remove));
    LiveGridlines(list)->gridX[5].highlighted = 255;
    ASSERT_TRUE(EditGrid(list, GridAxis::X, GridAction::Move, 263));
    header->gridDensityX = 80;
    // Equalizing works with the gridlines hidden too.
    header->showGridX = 0;
    EXPECT_TRUE(EditGrid(list, GridAxis::X, GridAction::Equalize));
    // 400 / 80 = 5 gridlines from one step past the page's left edge.
    EXPECT_EQ(Positions(LiveGridlines(list)->gridX), (std::vector<int32_t>{90, 170, 250, 330, 410}));
    EXPECT_TRUE(LiveGridlines(list)->gridY.empty());
    // The same again changes nothing.
    const int steps = UndoSteps(list);
    EXPECT_FALSE(EditGrid(list, GridAxis::X, GridAction::Equalize));
    EXPECT_EQ(UndoSteps(list), steps);
}

TEST(GridMove, ItemsWithinTwoPixelsOfTheGridlineMoveAlong) {
    // A gridline at x 100 (the page at the canvas origin).
    struct Case {
        const char* what;
        int32_t kind;
        int32_t x1, x2;
        bool moves;
    };
    const Case cases[] = {
        {"line end 2 away", ItemKind::Line, 102, 300, true},
        {"line end 3 away", ItemKind::Line, 103, 300, false},
        {"line second end", ItemKind::Line, 20, 98, true},
        {"rectangle corner", ItemKind::Rectangle, 30, 101, true},
        {"rectangle 3 away", ItemKind::Rectangle, 30, 97, false},
        {"clip edge", ItemKind::Clip, 99, 160, true},
        {"text 3 away", ItemKind::Text, 97, 103, false},
    };
    for (const Case& each : cases) {
        ItemList list = PixelDesign({0, 100, 200});
        ItemRecord* item = Insert(list, each.kind, each.x1, 40, each.x2, 80);
        EXPECT_EQ(StandsOnGridline(item, GridAxis::X, 100), each.moves) << each.what;
        EXPECT_FALSE(StandsOnGridline(item, GridAxis::Y, 100)) << each.what;
    }
}

TEST(GridMove, CirclesAndRoundClipsStandOnAGridlineWithTheirCentreOrTheirRim) {
    ItemList list = PixelDesign({});
    ItemRecord* circle = Insert(list, ItemKind::Circle, 0, 0, 0, 0);
    circle->pointList = {{.x = 100, .y = 100}, {.x = 130, .y = 100}};
    for (int32_t gridline : {100, 70, 132}) {
        EXPECT_TRUE(StandsOnGridline(circle, GridAxis::X, gridline)) << gridline;
    }
    EXPECT_FALSE(StandsOnGridline(circle, GridAxis::X, 115));
    ItemRecord* clip = Insert(list, ItemKind::Clip, 100, 100, 100, 140);
    clip->clipShape = ClipShape::Round;
    EXPECT_TRUE(StandsOnGridline(clip, GridAxis::Y, 60));
    EXPECT_TRUE(StandsOnGridline(clip, GridAxis::X, 141));
    EXPECT_FALSE(StandsOnGridline(clip, GridAxis::X, 100));
}

TEST(Anchors, AnAnchorIsHitWhereItIsDrawnAtEveryZoom) {
    ItemList list = PixelDesign({200, 208}, {60});
    ItemRecord* header = HeaderOf(list);
    header->zoom = 0.25;
    HeaderGeometry(header);
    ItemRecord* grid = LiveGridlines(list);
    // At 25 % gridline 200 stands at viewport x 50; its anchor is drawn over 47 ... 53, and
    // gridline 208's from 49 on: the first in the list wins where they overlap.
    ASSERT_EQ(AnchorStart(header, {}, GridAxis::X, 200), 47);
    struct Case {
        Point pointer;
        std::optional<GridAxis> axis;
        int highlightedX; // index, -1 none
    };
    const Case cases[] = {
        {{47, 5}, GridAxis::X, 0},   {{54, 12}, GridAxis::X, 0},  {{55, 5}, GridAxis::X, 1},
        {{58, 5}, std::nullopt, -1}, {{50, 0}, std::nullopt, -1}, {{5, 14}, GridAxis::Y, -1},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(HighlightAnchorAt(grid, header, {}, each.pointer), each.axis) << each.pointer.x;
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(grid->gridX[i].highlighted != 0, i == each.highlightedX) << each.pointer.x;
        }
    }
    // Hidden anchors are not hit.
    header->anchorsX = 0;
    EXPECT_EQ(HighlightAnchorAt(grid, header, {}, {50, 5}), std::nullopt);
}

// A canvas that records what the editing asks of it; design and canvas pixels are the same.
class RecordingCanvas : public EditCanvas {
public:
    Point CanvasFromDesign(Point design) const override { return design; }
    double zoom() const override { return 1.0; }
    Rect WholeCanvas() const override { return {0, 0, 500, 400}; }
    void EraseMarkers() override { ++erased; }
    void RepaintUnderSelection(const Rect& area) override { repainted.push_back(area); }
    void DrawQuick(ItemRecord*) override { ++drawn; }
    int32_t AverageCharWidth(const ItemRecord&) const override { return 9; }
    int32_t TextLineHeight(const ItemRecord&) const override { return 20; }

    int erased = 0, drawn = 0;
    std::vector<Rect> repainted;
};

TEST(GridMove, TheItemsMoveAsOneStepAndTheGridlineAsAnotherAndTheSelectionStays) {
    ItemList list = PixelDesign({0, 100, 200});
    ItemRecord* near = Insert(list, ItemKind::Line, 102, 10, 150, 60);
    ItemRecord* far = Insert(list, ItemKind::Line, 103, 70, 150, 90);
    ItemRecord* box = Insert(list, ItemKind::Rectangle, 40, 100, 99, 150);
    test::Select(list, {far});
    LiveGridlines(list)->gridX[1].highlighted = 255;
    const int before = UndoSteps(list);

    RecordingCanvas canvas;
    EXPECT_TRUE(MoveGridlineWithItems(list, canvas, {}, GridAxis::X, 100, 130, 130));
    EXPECT_EQ(UndoSteps(list), before + 2);
    EXPECT_EQ(canvas.erased, 1);
    EXPECT_EQ(canvas.drawn, 0); // a finished drag: the window repaints afterwards
    EXPECT_EQ(Positions(LiveGridlines(list)->gridX), (std::vector<int32_t>{0, 130, 200}));
    // The line 2 pixels off and the rectangle 1 pixel off moved by 30; their old versions stay
    // for undo; the line 3 pixels off stayed and is still the one selected.
    ASSERT_TRUE(near->deleted && box->deleted);
    EXPECT_FALSE(far->deleted);
    std::vector<ItemRecord*> versions;
    for (ItemRecord* record : list) {
        if (IsLiveItem(record) && record->replaces != 0 && record->kind != ItemKind::Gridlines) {
            versions.push_back(record);
        }
    }
    ASSERT_EQ(versions.size(), 2u);
    EXPECT_EQ(versions[0]->x1, 132);
    EXPECT_EQ(versions[0]->x2, 180);
    EXPECT_EQ(versions[0]->y1, 10);
    EXPECT_EQ(versions[0]->boundLeft, 132);
    EXPECT_EQ(NodePoint(versions[1]->pointList[1]), (Point{129, 100}));
    EXPECT_EQ(test::SelectedItems(list), std::vector<ItemRecord*>{far});

    // Undo: first the gridline, then the items.
    Undo(list);
    EXPECT_EQ(Positions(LiveGridlines(list)->gridX), (std::vector<int32_t>{0, 100, 200}));
    EXPECT_TRUE(versions[0]->deleted == 0);
    Undo(list);
    EXPECT_FALSE(near->deleted);
    EXPECT_EQ(near->x1, 102);
}

} // namespace
} // namespace vlr
