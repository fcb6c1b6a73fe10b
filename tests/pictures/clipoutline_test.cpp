// The picture editor's clip outlines: pixels of the view and of the picture, making, finding,
// dragging and erasing outlines, and their undo.
#include "pictures/clipoutline.h"

#include "model/history.h"
#include "model/itemlist.h"

#include <gtest/gtest.h>

namespace vlr {
namespace {

constexpr QSize kPicture(400, 300);

Rect BoundsOf(const ItemRecord* outline) {
    return {outline->boundLeft, outline->boundTop, outline->boundRight, outline->boundBottom};
}

TEST(ClipOutline, ViewAndPicturePixelsAtSeveralZoomsAndScrollOffsets) {
    struct Case {
        int32_t picture;
        double zoom;
        int32_t offset;
        int32_t view;
        int32_t back; // p = round((v + o) / zoom)
    };
    // v = round(p x zoom) - o, rounding half to even. Below 100 % several picture pixels share a
    // view pixel and come back as one of them.
    for (const Case& c : {Case{100, 0.125, 0, 12, 96}, Case{101, 0.125, 0, 13, 104},
                          Case{100, 0.3, 7, 23, 100}, Case{333, 1.5, 40, 460, 333}, Case{10, 3.0, 25, 5, 10},
                          Case{0, 2.0, 15, -15, 0}, Case{250, 1.0, 0, 250, 250}}) {
        EXPECT_EQ(ViewFromPicture(c.picture, c.zoom, c.offset), c.view) << c.picture << " at " << c.zoom;
        EXPECT_EQ(PictureFromView(c.view, c.zoom, c.offset), c.back) << c.picture << " at " << c.zoom;
    }
    // Between picture pixels, a view pixel goes to the nearest one: (17 + 3) / 0.125 = 160.
    EXPECT_EQ(PictureFromView(Point{17, 9}, 0.125, Point{3, 1}), (Point{160, 80}));
    EXPECT_EQ(PictureFromView(7, 3.0, 0), 2);
}

TEST(ClipOutline, RectangleIsStoredTopLeftFirstAndCutToThePicture) {
    ItemList clips;
    // Outlined from the bottom right to the top left.
    ItemRecord* outline = AddRectangleOutline(clips, {200, 150}, {50, 20}, 0.5, kPicture);
    ASSERT_NE(outline, nullptr);
    EXPECT_EQ(outline->kind, ItemKind::RectClipOutline);
    EXPECT_EQ((Point{outline->x1, outline->y1}), (Point{50, 20}));
    EXPECT_EQ((Point{outline->x2, outline->y2}), (Point{200, 150}));
    EXPECT_EQ(BoundsOf(outline), (Rect{50, 20, 200, 150}));
    EXPECT_EQ((Rect{outline->baseX1, outline->baseY1, outline->baseX2, outline->baseY2}),
              (Rect{50, 20, 200, 150}));
    EXPECT_DOUBLE_EQ(outline->scale, 0.5);

    // Partly off the picture: what lies on it.
    ItemRecord* cut = AddRectangleOutline(clips, {-30, 250}, {380, 420}, 0.5, kPicture);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(BoundsOf(cut), (Rect{0, 250, 380, 300}));
    EXPECT_GT(cut->zOrder, outline->zOrder);

    // Without area, or wholly off the picture: nothing, and no undo step.
    const int32_t step = NextUndoStep(clips);
    EXPECT_EQ(AddRectangleOutline(clips, {60, 60}, {60, 90}, 1.0, kPicture), nullptr);
    EXPECT_EQ(AddRectangleOutline(clips, {410, 10}, {500, 90}, 1.0, kPicture), nullptr);
    EXPECT_EQ(AddRoundOutline(clips, {60, 60}, {60, 60}, 1.0), nullptr);
    EXPECT_EQ(NextUndoStep(clips), step);
}

TEST(ClipOutline, RoundOutlineBoundsAreTheCentrePlusAndMinusTheRoundedRadius) {
    ItemList clips;
    ItemRecord* round = AddRoundOutline(clips, {100, 100}, {103, 104}, 1.0);
    ASSERT_NE(round, nullptr);
    EXPECT_EQ(round->kind, ItemKind::RoundClipOutline);
    EXPECT_EQ((Point{round->x2, round->y2}), (Point{103, 104}));
    EXPECT_EQ(BoundsOf(round), (Rect{95, 95, 105, 105}));
    // A circle may reach beyond the picture: its cut is drawn on white there.
    ItemRecord* edge = AddRoundOutline(clips, {5, 5}, {5, 45}, 1.0);
    EXPECT_EQ(BoundsOf(edge), (Rect{-35, -35, 45, 45}));
}

TEST(ClipOutline, TheTopmostOutlineAndItsMarkersAreFoundUnderThePointer) {
    ItemList clips;
    ItemRecord* lower = AddRectangleOutline(clips, {10, 10}, {110, 90}, 1.0, kPicture);
    ItemRecord* upper = AddRoundOutline(clips, {100, 80}, {130, 80}, 1.0);
    EXPECT_EQ(OutlineAt(clips, {105, 85}), upper); // inside both
    EXPECT_EQ(OutlineAt(clips, {20, 20}), lower);
    EXPECT_EQ(OutlineAt(clips, {129, 80}), upper);
    EXPECT_EQ(OutlineAt(clips, {125, 105}), nullptr); // in the circle's box, outside the circle
    EXPECT_EQ(OutlineAt(clips, {300, 200}), nullptr);

    struct Case {
        Point at;
        int32_t marker;
    };
    for (const Case& c : {Case{{10, 10}, 101}, Case{{112, 8}, 102}, Case{{110, 90}, 103}, Case{{10, 90}, 104},
                          Case{{60, 10}, 105}, Case{{110, 50}, 106}, Case{{60, 90}, 107}, Case{{10, 50}, 108},
                          Case{{60, 50}, kCentreMarker}, Case{{40, 30}, 0}}) {
        EXPECT_EQ(MarkerAt(*lower, c.at, 3), c.marker) << c.at.x << ", " << c.at.y;
    }
    for (const Case& c : {Case{{100, 110}, 105}, Case{{130, 80}, 106}, Case{{100, 50}, 107},
                          Case{{70, 80}, 108}, Case{{100, 80}, kCentreMarker}, Case{{120, 100}, 0}}) {
        EXPECT_EQ(MarkerAt(*upper, c.at, 3), c.marker) << c.at.x << ", " << c.at.y;
    }
}

TEST(ClipOutline, DragsMoveAndResizeFromTheDragBase) {
    struct Case {
        int32_t marker;
        Point delta;
        Rect expected;
    };
    // The rectangle 100, 100 ... 200, 160 on a 400 x 300 picture.
    const Case cases[] = {
        {kCentreMarker, {30, -20}, {130, 80, 230, 140}},
        {kCentreMarker, {500, 500}, {300, 240, 400, 300}}, // stops at the picture's edges
        {101, {-20, -30}, {80, 70, 200, 160}},
        {103, {15, 25}, {100, 100, 215, 185}},
        {102, {10, 10}, {100, 110, 210, 160}},
        {104, {-10, -10}, {90, 100, 200, 150}},
        {105, {40, -50}, {100, 50, 200, 160}}, // a side moves only its own edge
        {106, {40, -50}, {100, 100, 240, 160}},
        {107, {40, 500}, {100, 100, 200, 300}},
        {108, {-500, 0}, {0, 100, 200, 160}},
        {106, {-150, 0}, {50, 100, 100, 160}},  // dragged past the left side: turned over
        {106, {-100, 0}, {100, 100, 101, 160}}, // never narrower than a pixel
    };
    for (const Case& c : cases) {
        ItemList clips;
        ItemRecord* outline = AddRectangleOutline(clips, {100, 100}, {200, 160}, 1.0, kPicture);
        SelectOnly(clips, outline);
        ASSERT_TRUE(BeginOutlineDrag(clips));
        ItemRecord* dragged = FirstSelected(clips);
        ASSERT_NE(dragged, outline);
        // Two moves of one drag: the second replaces the first.
        DragOutline(*dragged, c.marker, {7, 7}, kPicture);
        DragOutline(*dragged, c.marker, c.delta, kPicture);
        EXPECT_EQ(BoundsOf(dragged), c.expected) << c.marker << " by " << c.delta.x << ", " << c.delta.y;
        EXPECT_EQ((Rect{dragged->x1, dragged->y1, dragged->x2, dragged->y2}), c.expected);
    }

    ItemList clips;
    ItemRecord* round = AddRoundOutline(clips, {100, 100}, {120, 100}, 1.0);
    SelectOnly(clips, round);
    ASSERT_TRUE(BeginOutlineDrag(clips));
    ItemRecord* dragged = FirstSelected(clips);
    DragOutline(*dragged, 105, {0, 10}, kPicture); // the rim below the centre, 10 further down
    EXPECT_EQ(OutlineRadius(*dragged), 30);
    EXPECT_EQ(BoundsOf(dragged), (Rect{70, 70, 130, 130}));
    DragOutline(*dragged, kCentreMarker, {-90, 5}, kPicture);
    EXPECT_EQ((Point{dragged->x1, dragged->y1}), (Point{10, 105}));
    EXPECT_EQ(OutlineRadius(*dragged), 20);
}

TEST(ClipOutline, OutliningMovingAndErasingAreUndoneAndRedoneStepByStep) {
    ItemList clips;
    ItemRecord* first = AddRectangleOutline(clips, {10, 10}, {50, 50}, 1.0, kPicture);
    AddRoundOutline(clips, {200, 200}, {220, 200}, 1.0);
    ASSERT_EQ(LiveOutlines(clips).size(), 2u);

    SelectOnly(clips, first);
    ASSERT_TRUE(BeginOutlineDrag(clips));
    DragOutline(*FirstSelected(clips), kCentreMarker, {100, 0}, kPicture);
    SelectOnly(clips, OutlineAt(clips, {130, 30}));
    ASSERT_TRUE(EraseSelectedOutline(clips));
    EXPECT_EQ(LiveOutlines(clips).size(), 1u);
    EXPECT_FALSE(EraseSelectedOutline(clips)); // nothing selected any more

    Undo(clips); // the erased outline is back where it was moved to
    ASSERT_EQ(LiveOutlines(clips).size(), 2u);
    EXPECT_EQ(BoundsOf(LiveOutlines(clips).front()), (Rect{110, 10, 150, 50}));
    Undo(clips); // the move
    EXPECT_EQ(BoundsOf(LiveOutlines(clips).front()), (Rect{10, 10, 50, 50}));
    Undo(clips); // the circle
    EXPECT_EQ(LiveOutlines(clips).size(), 1u);
    Undo(clips);
    EXPECT_TRUE(LiveOutlines(clips).empty());
    EXPECT_FALSE(CanUndo(clips));
    Redo(clips);
    Redo(clips);
    ASSERT_EQ(LiveOutlines(clips).size(), 2u);
    EXPECT_EQ(LiveOutlines(clips).back()->kind, ItemKind::RoundClipOutline);
    // A new outline after undoing drops what could have been redone.
    Undo(clips);
    AddRectangleOutline(clips, {0, 0}, {5, 5}, 1.0, kPicture);
    EXPECT_FALSE(CanRedo(clips));
    EXPECT_EQ(LiveOutlines(clips).size(), 2u);
}

} // namespace
} // namespace vlr
