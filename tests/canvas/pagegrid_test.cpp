// The gridlines of a design after its page changed: evenly respaced over the new page, undoably.
#include "canvas/grid.h"

#include "model/history.h"
#include "model/itemkind.h"

#include <gtest/gtest.h>

#include <vector>

namespace vlr {
namespace {

std::vector<int32_t> Positions(const std::vector<GridNode>& nodes) {
    std::vector<int32_t> positions;
    for (const GridNode& node : nodes) {
        positions.push_back(node.position);
    }
    return positions;
}

// A page in inches at 96 pixels to the inch: 2 x 1.25 inches, a quarter inch from the canvas
// origin, gridlines every half inch across and every 0.4 inch down, at zoom 2.
struct InchDesign {
    InchDesign() {
        header = CreateRecord(list, ItemKind::Header);
        header->recordClass = RecordClass::Header;
        header->units = 3;
        header->pxPerUnitX = header->pxPerUnitY = 96.0;
        header->zoom = 2.0;
        header->canvasLeft = header->canvasTop = 0.25;
        header->canvasWidth = 2.0;
        header->canvasHeight = 1.25;
        header->gridDensityX = 0.5;
        header->gridDensityY = 0.4;
        HeaderGeometry(header);
        grid = CreateRecord(list, ItemKind::Gridlines);
        grid->historyState = 0;
        grid->gridX = {{5, 0, 0}, {7, 255, 0}, {300, 0, 1}};
        grid->gridY = {{11, 0, 0}};
    }
    ItemList list;
    ItemRecord* header;
    ItemRecord* grid;
};

TEST(RespaceGridlines, BothDirectionsFollowThePageAndUndoBringsTheFormerLinesBack) {
    InchDesign design;
    int undoRefreshes = 0;
    RespaceGridlines(design.list, {.refreshUndoCommands = [&] { ++undoRefreshes; }});
    ItemRecord* respaced = FindLiveRecord(design.list, ItemKind::Gridlines);
    ASSERT_NE(respaced, design.grid);
    // The page starts 24 pixels in (0.25 x 96); a line every 48 pixels, 2 / 0.5 = 4 of them, the
    // first one step in. Down: 0.4 x 96 = 38.4, so every 38 pixels, trunc(1.25 / 0.4) = 3 lines.
    EXPECT_EQ(Positions(respaced->gridX), (std::vector<int32_t>{72, 120, 168, 216}));
    EXPECT_EQ(Positions(respaced->gridY), (std::vector<int32_t>{62, 100, 138}));
    EXPECT_GT(undoRefreshes, 0);
    ASSERT_TRUE(CanUndo(design.list));
    Undo(design.list);
    ItemRecord* restored = FindLiveRecord(design.list, ItemKind::Gridlines);
    EXPECT_EQ(Positions(restored->gridX), (std::vector<int32_t>{5, 7, 300}));
}

TEST(RespaceGridlines, ADirectionWithoutAUsableDistanceKeepsItsLines) {
    for (double distance : {0.0, -1.0, 0.001}) {
        InchDesign design;
        design.header->gridDensityY = distance;
        RespaceGridlines(design.list);
        ItemRecord* respaced = FindLiveRecord(design.list, ItemKind::Gridlines);
        EXPECT_EQ(Positions(respaced->gridY), (std::vector<int32_t>{11})) << distance;
        EXPECT_EQ(respaced->gridX.size(), 4u) << distance;
    }
}

} // namespace
} // namespace vlr
