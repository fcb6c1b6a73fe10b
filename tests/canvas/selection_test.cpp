// Opening the selection for editing and moving it, without a window.
#include "canvas/selection.h"

#include "../model/editing.h"
#include "model/history.h"

#include <gtest/gtest.h>

namespace vlr {
namespace {

using test::Insert;

class FakeCanvas : public EditCanvas {
public:
    Point CanvasFromDesign(Point design) const override { return {design.x * 2 - 10, design.y * 2}; }
    double zoom() const override { return 2.0; }
    Rect WholeCanvas() const override { return {0, 0, 500, 400}; }
    void EraseMarkers() override { ++erased; }
    void RepaintUnderSelection(const Rect& area) override {
        repainted.push_back(area);
        // The selection is still the edited items' old versions while their background is saved.
        selectedWhileRepainting = test::SelectedItems(*list).size();
    }
    void DrawQuick(ItemRecord* item) override { drawn.push_back(item); }
    int32_t AverageCharWidth(const ItemRecord&) const override { return 14; }
    int32_t TextLineHeight(const ItemRecord&) const override { return 20; }

    ItemList* list = nullptr;
    int erased = 0;
    size_t selectedWhileRepainting = 0;
    std::vector<Rect> repainted;
    std::vector<ItemRecord*> drawn;
};

TEST(SelectionArea, CoversTheSelectionGrownByHalfAMarkerOrTheLineOrTheWholeCanvasWithAShadow) {
    ItemList list = test::NewDesign();
    FakeCanvas canvas;
    EXPECT_EQ(SelectionArea(list, canvas, {}), Rect{});
    ItemRecord* line = Insert(list, ItemKind::Line, 10, 10, 50, 30);
    ItemRecord* text = Insert(list, ItemKind::Text, 100, 100, 120, 100);
    test::Select(list, {line});
    // Canvas 10 ... 90 by 20 ... 60, grown by half a marker (4): the pen at 200 % is 2 pixels.
    EXPECT_EQ(SelectionArea(list, canvas, {}), (Rect{6, 16, 95, 65}));
    // A 2 mm line at 200 % is round(2 x 2 x 3.78) = 15 pixels wide.
    line->lineWeight = 2.0;
    EXPECT_EQ(SelectionArea(list, canvas, {}), (Rect{-5, 5, 106, 76}));
    test::Select(list, {text});
    // The text's box: its one line of 20 stands above the baseline (y 80 ... 100, canvas 160 ...
    // 200), grown by the average character width.
    EXPECT_EQ(SelectionArea(list, canvas, {}), (Rect{190 - 14, 160 - 14, 230 + 15, 200 + 15}));
    line->shadowElevation = 40; // unselected, but its shadow may fall under the selection
    EXPECT_EQ(SelectionArea(list, canvas, {}), (Rect{0, 0, 500, 400}));
}

TEST(BeginEdit, OneStepOfNewVersionsWithTheirDragBaseAfterTheBackgroundIsKept) {
    ItemList list = test::NewDesign();
    ItemRecord* line = Insert(list, ItemKind::Line, 10, 10, 50, 30);
    ItemRecord* box = Insert(list, ItemKind::Rectangle, 60, 60, 80, 90);
    Insert(list, ItemKind::Line, 0, 0, 5, 5);
    Insert(list, ItemKind::Line, 0, 0, 9, 9);
    Undo(list); // something to redo, which opening the edit purges
    test::Select(list, {line, box});
    const int32_t expectedStep = 4; // after the three steps that stay
    FakeCanvas canvas;
    canvas.list = &list;

    EXPECT_EQ(BeginEdit(list, canvas, {}, {}, true), expectedStep);
    EXPECT_FALSE(CanRedo(list));
    EXPECT_EQ(canvas.erased, 1);
    ASSERT_EQ(canvas.repainted.size(), 1u);
    EXPECT_EQ(canvas.selectedWhileRepainting, 2u);
    std::vector<ItemRecord*> copies = test::SelectedItems(list);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(canvas.drawn, copies);
    EXPECT_TRUE(line->deleted && box->deleted);
    for (ItemRecord* copy : copies) {
        EXPECT_EQ(copy->undoStep, expectedStep);
        EXPECT_EQ(copy->historyState, kUndoable);
    }
    EXPECT_EQ(copies[0]->replaces, line->serial);
    EXPECT_EQ(copies[0]->zOrder, line->zOrder);

    // Moves are taken from the base, never added up.
    MoveSelection(list, 5, 0);
    MoveSelection(list, 8, -3);
    FinishEdit(list, {});
    EXPECT_EQ((Point{copies[0]->x1, copies[0]->y1}), (Point{18, 7}));
    EXPECT_EQ((Point{copies[0]->x2, copies[0]->y2}), (Point{58, 27}));
    EXPECT_EQ(copies[0]->boundRight, 58);
    EXPECT_EQ(NodePoint(copies[1]->pointList[2]), (Point{88, 87}));
    EXPECT_EQ(NodePoint(copies[1]->pointList[2]).x - copies[1]->pointList[2].savedX, 8);

    // The whole move is one undo step.
    Undo(list);
    EXPECT_FALSE(line->deleted || box->deleted);
    EXPECT_EQ(line->x1, 10);
}

TEST(RestoreSelection, ARecordReplacedByAnEditPassesItsSelectionToItsNewVersion) {
    ItemList list = test::NewDesign();
    ItemRecord* a = Insert(list, ItemKind::Line, 10, 10, 50, 30);
    ItemRecord* b = Insert(list, ItemKind::Line, 20, 10, 50, 30);
    ItemRecord* c = Insert(list, ItemKind::Line, 30, 10, 50, 30);
    test::Select(list, {a, b});
    const std::vector<int32_t> remembered = SelectedSerials(list);
    test::Select(list, {b, c});
    MakeNewVersions(list);
    MakeNewVersions(list); // b replaced twice
    RestoreSelection(list, remembered);
    std::vector<ItemRecord*> selected = test::SelectedItems(list);
    ASSERT_EQ(selected.size(), 2u);
    EXPECT_EQ(selected[0], a);
    EXPECT_EQ(selected[1]->x1, 20);
    EXPECT_FALSE(selected[1]->deleted);
    EXPECT_NE(selected[1], b);
}

} // namespace
} // namespace vlr
