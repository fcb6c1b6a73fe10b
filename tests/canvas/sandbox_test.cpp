// The document window: a design's page on the canvas, the tile, scrolling, zooming and the
// progressive repaint, under the offscreen platform.
#include "canvas/sandbox.h"

#include "../model/editing.h"
#include "canvas/sandboxhost.h"
#include "model/geometry.h"
#include "model/history.h"
#include "model/itemlist.h"
#include "model/prompt.h"
#include "render/drawdesign.h"
#include "sandboxfixture.h"
#include "settings/params.h"
#include "shadowedsquare.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <deque>
#include <limits>

namespace vlr {
namespace {

using test::AnsweringPrompt;
using test::RecordingHost;
using test::WritePixelDesign;

class SandboxTest : public ::testing::Test {
protected:
    // ratio: the device pixels per window pixel of the screen the window is taken to; 0 leaves
    // the window on its own screen's.
    void Open(const QString& path, QSize size = QSize(600, 400), double ratio = 0.0) {
        window = std::make_unique<TSandbox>(params, host, prompt);
        if (ratio > 0.0) {
            window->SetDeviceScale(ratio);
        }
        window->resize(size);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        EXPECT_TRUE(window->OpenDesign(42, path));
        // The progressive repaint runs to its end.
        EXPECT_TRUE(QTest::qWaitFor([this] { return !window->repaintPending(); }, 5000));
    }
    ItemRecord* Header() { return FindRecord(window->items(), ItemKind::Header); }
    QRgb CanvasPixel(int x, int y) { return window->canvas().image().pixel(x, y); }

    QTemporaryDir folder;
    TParams params;
    RecordingHost host;
    AnsweringPrompt prompt;
    std::unique_ptr<TSandbox> window;
};

TEST_F(SandboxTest, ANewDesignShowsItsPageAtTheHeadersSizeAndPlace) {
    SetFactorySettings(params);
    Open(QString());
    ItemRecord* header = Header();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->docNumber, 42);
    EXPECT_FALSE(IsModified(window->items()));
    EXPECT_EQ(window->caption(), "Untitled 1");
    EXPECT_EQ(host.caption, "Untitled 1");
    EXPECT_EQ(window->canvas().width(), std::min<int>(header->spanX, 1600));
    EXPECT_EQ(window->canvas().height(), std::min<int>(header->spanY, 1600));
    EXPECT_EQ(window->pageOffset(), (Point{header->boundLeft, header->boundTop}));
    EXPECT_EQ(CanvasPixel(5, 5), qRgb(255, 255, 255));
    // The default gridlines of the new design's page start at its left edge.
    ItemRecord* grid = FindRecord(window->items(), ItemKind::Gridlines);
    ASSERT_NE(grid, nullptr);
    ASSERT_FALSE(grid->gridX.empty());
    EXPECT_EQ(grid->gridX.front().position, nearest(header->canvasLeft * header->pxPerUnitX));
}

TEST_F(SandboxTest, APageThatFitsHidesTheScrollBars) {
    QString path = folder.filePath("small.vlrn");
    WritePixelDesign(path, 200, 100, false);
    Open(path, QSize(600, 400));
    EXPECT_FALSE(window->scrollBarX()->isVisible());
    EXPECT_FALSE(window->scrollBarY()->isVisible());
    EXPECT_FALSE(window->cornerFiller()->isVisible());
    EXPECT_EQ(window->scrollBarX()->value(), 0);
    EXPECT_EQ(window->caption(), "small");
    EXPECT_EQ(host.zoom, 1.0);
}

TEST_F(SandboxTest, ZoomSetsTheTileAndTheScrollRanges) {
    QString path = folder.filePath("letter.vlrn");
    WritePixelDesign(path, 816, 1056, false);
    Open(path, QSize(600, 400));
    for (double zoom : {0.25, 1.0, 3.0}) {
        window->SetZoom(zoom);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !window->repaintPending(); }, 5000));
        ItemRecord* header = Header();
        EXPECT_EQ(header->spanX, nearest(816 * zoom)) << zoom;
        EXPECT_EQ(window->canvas().width(), std::min(nearest(816 * zoom), 1600)) << zoom;
        EXPECT_EQ(window->canvas().height(), std::min(nearest(1056 * zoom), 1600)) << zoom;
        const int viewport = window->viewportSize().width();
        if (window->scrollBarX()->isVisible()) {
            int expected = header->boundRight - viewport + 12 + (window->scrollBarY()->isVisible() ? 16 : 0);
            EXPECT_EQ(window->scrollBarX()->maximum(), expected) << zoom;
            EXPECT_EQ(window->scrollBarX()->pageStep(), viewport) << zoom;
        }
    }
    // At 25% the 204 x 264 page fits: no bars.
    window->SetZoom(0.25);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window->repaintPending(); }, 5000));
    EXPECT_FALSE(window->scrollBarX()->isVisible());
}

TEST_F(SandboxTest, ScrollingMovesThePageAndTheTileFollowsAWidePage) {
    QString path = folder.filePath("wide.vlrn");
    WritePixelDesign(path, 4000, 300, false);
    Open(path, QSize(600, 400));
    EXPECT_EQ(window->canvas().width(), 1600);
    ASSERT_TRUE(window->scrollBarX()->isVisible());
    const int32_t left = Header()->boundLeft; // 20 pixels of margin
    window->scrollBarX()->setValue(300);
    EXPECT_EQ(window->pageOffset().x, left - 300);
    EXPECT_EQ(window->tileOffset().x, 0); // the first tile still covers the viewport
    // Past the first tile, the tile starts at the viewport's left edge.
    window->scrollBarX()->setValue(1500);
    EXPECT_EQ(window->tileOffset().x, 1500 - left);
    window->scrollBarX()->setValue(window->scrollBarX()->maximum());
    EXPECT_EQ(window->tileOffset().x, 4000 - 1600);
    EXPECT_EQ(CanvasPixel(1599, 10), qRgb(255, 255, 255));

    // A page 2400 wide: the tile never starts beyond 800.
    QString narrower = folder.filePath("wide2400.vlrn");
    WritePixelDesign(narrower, 2400, 300, false);
    Open(narrower, QSize(600, 400));
    window->scrollBarX()->setValue(1500);
    EXPECT_EQ(window->tileOffset().x, 800);
}

TEST_F(SandboxTest, AViewportWiderThanATileIsPaintedWhole) {
    QString path = folder.filePath("banner.vlrn");
    WritePixelDesign(path, 3000, 200, false);
    Open(path, QSize(2200, 400));
    EXPECT_GE(window->viewportSize().width(), 1600);
    EXPECT_GE(window->canvas().width(), std::min(3000, window->viewportSize().width()));
    window->scrollBarX()->setValue(window->scrollBarX()->maximum());
    EXPECT_LE(window->tileOffset().x + window->canvas().width(), 3000);
}

// The page guides follow the design type read as its absolute value; a type outside 1 ... 11
// (the smallest int32 has no absolute value) draws none.
TEST_F(SandboxTest, PageGuidesOnlyForAKnownDesignType) {
    const std::pair<int32_t, bool> cases[] = {
        {9, true}, {-9, true}, {12, false}, {0, false}, {std::numeric_limits<int32_t>::min(), false}};
    for (auto [type, guides] : cases) {
        const QString path = folder.filePath(QString("type%1.vlrn").arg(type));
        WritePixelDesign(path, 200, 100, false, type, 10.0); // dotted guides 10 pixels in
        Open(path);
        int silver = 0;
        for (int y = 0; y < window->canvas().height(); ++y) {
            for (int x = 0; x < window->canvas().width(); ++x) {
                silver += CanvasPixel(x, y) == qRgb(192, 192, 192) ? 1 : 0;
            }
        }
        EXPECT_EQ(silver > 0, guides) << type;
        window.reset();
    }
}

TEST_F(SandboxTest, GridlinesAndAnchorsStandWhereTheirPositionsSay) {
    QString path = folder.filePath("grid.vlrn");
    WritePixelDesign(path, 400, 300, true);
    Open(path);
    // Gridline positions count from the canvas origin, 20 pixels before the page.
    EXPECT_EQ(CanvasPixel(100, 150), qRgb(170, 204, 255));
    EXPECT_EQ(CanvasPixel(200, 150), qRgb(170, 204, 255));
    EXPECT_EQ(CanvasPixel(150, 50), qRgb(170, 204, 255));
    EXPECT_EQ(CanvasPixel(150, 150), qRgb(255, 255, 255));
    // The anchor of the first gridline sits over it in the top strip.
    const QImage& background = window->backgroundImage();
    const int anchorCentre = window->pageOffset().x + 100;
    EXPECT_NE(background.pixel(anchorCentre, 4), background.pixel(anchorCentre + 20, 4));
    EXPECT_TRUE(host.gridOn);
}

TEST_F(SandboxTest, ShadowsLeftOutWhileLoadingAppearWhenThePassEnds) {
    QString path = folder.filePath("shadow.vlrn");
    ASSERT_TRUE(test::WriteShadowedSquare(path));
    Open(path);
    EXPECT_FALSE(window->loading());
    // Right of and below the square, inside its offset copy: darkened.
    EXPECT_LT(qRed(CanvasPixel(105, 105)), 128);
    EXPECT_EQ(CanvasPixel(75, 75), qRgb(255, 0, 0));
}

TEST_F(SandboxTest, AnInvalidFileAsksAndNoKeepsNothing) {
    QString path = folder.filePath("junk.vlrn");
    QFile junk(path);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(2000, 'x'));
    junk.close();
    window = std::make_unique<TSandbox>(params, host, prompt);
    prompt.answer = PromptAnswer::No;
    EXPECT_FALSE(window->OpenDesign(7, path));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0], kInvalidFileQuestion);
    EXPECT_EQ(window->lastReadStatus(), ReadStatus::Declined);

    // A file that cannot be read leaves an untitled design and says why.
    prompt.asked.clear();
    TSandbox other(params, host, prompt);
    EXPECT_TRUE(other.OpenDesign(8, folder.filePath("missing-folder/none.vlrn")));
    EXPECT_TRUE(other.caption().startsWith("Untitled "));
    EXPECT_TRUE(prompt.asked.empty()); // no file there: a new design, nothing to report
}

TEST_F(SandboxTest, AProgressiveRepaintStopsWhenTheDesignChangesOrTheWindowCloses) {
    QString path = folder.filePath("many.vlrn");
    {
        ItemList list;
        ItemRecord* header = CreateRecord(list, ItemKind::Header);
        header->recordClass = RecordClass::Header;
        header->zoom = 1.0;
        header->units = 1;
        header->canvasWidth = 800;
        header->canvasHeight = 600;
        for (int i = 0; i < 3000; ++i) {
            ItemRecord* line = CreateRecord(list, ItemKind::Line);
            line->zOrder = i + 1;
            line->x1 = i % 800;
            line->x2 = (i * 7) % 800;
            line->y2 = 500;
            SetWorldFromPixels(line, list.screen);
            Recalculate(line, list.screen);
        }
        ASSERT_TRUE(WriteDesign(path.toStdString(), list));
    }
    window = std::make_unique<TSandbox>(params, host, prompt);
    window->resize(500, 400);
    window->show();
    ASSERT_TRUE(window->OpenDesign(9, path));
    window->SetZoom(2.0);
    EXPECT_TRUE(window->repaintPending());
    // The design changes under the pass: the pass ends instead of walking stale records.
    window->DesignChanged();
    FreeList(window->items());
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window->repaintPending(); }, 5000));
    // A window closed during a pass goes without touching its freed records.
    window.reset();
    QTest::qWait(50);
}

// ---- rulers, gridlines, anchors and snap on a real window ----

// A 400 x 300 pixel page 20 pixels right of and 30 below the canvas origin, gridlines at x 120 and
// 220 and at y 80 (page x 100, 200 and page y 50), shown with anchors, 50 pixels apart by
// default; lines starting 1 and 3 pixels right of page x 100.
void WriteGridDesign(const QString& path) {
    ItemList list;
    ItemRecord* header = CreateRecord(list, ItemKind::Header);
    header->recordClass = RecordClass::Header;
    header->zoom = 1.0;
    header->units = 1;
    header->pxPerUnitX = header->pxPerUnitY = 1.0;
    header->canvasLeft = 20.0;
    header->canvasTop = 30.0;
    header->canvasWidth = 400;
    header->canvasHeight = 300;
    header->gridDensityX = header->gridDensityY = 50;
    header->showGridX = header->showGridY = header->anchorsX = header->anchorsY = 1;
    ItemRecord* gridlines = CreateRecord(list, ItemKind::Gridlines);
    gridlines->gridX = {{.position = 120}, {.position = 220}};
    gridlines->gridY = {{.position = 80}};
    for (int32_t x : {101, 103}) {
        ItemRecord* line = CreateRecord(list, ItemKind::Line);
        line->zOrder = x;
        line->x1 = x;
        line->y1 = 100;
        line->x2 = 300;
        line->y2 = 150;
        SetWorldFromPixels(line, list.screen);
        Recalculate(line, list.screen);
    }
    ASSERT_TRUE(WriteDesign(path.toStdString(), list));
}

std::vector<int32_t> LivePositions(ItemList& list, bool x) {
    std::vector<int32_t> positions;
    for (const GridNode& node : x ? LiveGridlines(list)->gridX : LiveGridlines(list)->gridY) {
        if (!node.removed) {
            positions.push_back(node.position);
        }
    }
    return positions;
}

bool PressDelete(TSandbox& window) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    return window.KeyDown(key);
}

TEST_F(SandboxTest, DraggingAnAnchorMovesItsGridlineAndTheItemsOnIt) {
    QString path = folder.filePath("grid.vlrn");
    WriteGridDesign(path);
    Open(path);
    QWidget* viewport = window->viewport();
    // The anchor of gridline 120 stands at viewport x 117 ... 124 of the top strip.
    QTest::mouseMove(viewport, QPoint(121, 5));
    EXPECT_EQ(viewport->cursor().shape(), Qt::SizeHorCursor);
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(121, 5));
    EXPECT_EQ(window->anchorDrag(), 1);
    QTest::mouseMove(viewport, QPoint(140, 6));
    QTest::mouseMove(viewport, QPoint(161, 6));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(161, 6));
    EXPECT_EQ(window->anchorDrag(), 0);
    // The gridline goes to the pointer; the items by the pointer's distance from the anchor's
    // centre (120), which the press grabbed 1 pixel off.
    EXPECT_EQ(LivePositions(window->items(), true), (std::vector<int32_t>{161, 220}));
    // The line 1 pixel off the gridline went 41 pixels along; the one 3 pixels off stayed.
    std::vector<int32_t> starts;
    for (ItemRecord* item : window->items()) {
        if (IsLiveItem(item) && item->kind == ItemKind::Line) {
            starts.push_back(item->x1);
        }
    }
    std::sort(starts.begin(), starts.end());
    EXPECT_EQ(starts, (std::vector<int32_t>{103, 142}));
    // The gridline is drawn where it went: canvas x 161 - 20.
    EXPECT_EQ(CanvasPixel(141, 10), qRgb(170, 204, 255));
    EXPECT_NE(CanvasPixel(100, 10), qRgb(170, 204, 255));
    // Two undo steps: the gridline, then the line.
    Undo(window->items());
    EXPECT_EQ(LivePositions(window->items(), true), (std::vector<int32_t>{120, 220}));
    EXPECT_TRUE(CanUndo(window->items()));
}

TEST_F(SandboxTest, ShiftClickAddsAGridlineAndDeleteRemovesTheOneUnderThePointer) {
    QString path = folder.filePath("grid.vlrn");
    WriteGridDesign(path);
    Open(path);
    QWidget* viewport = window->viewport();
    // Between two anchors of the top strip, and on the left strip.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, QPoint(300, 6));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, QPoint(4, 200));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(350, 6)); // without Shift: nothing
    EXPECT_EQ(LivePositions(window->items(), true), (std::vector<int32_t>{120, 220, 300}));
    EXPECT_EQ(LivePositions(window->items(), false), (std::vector<int32_t>{80, 200}));

    // Delete with the pointer over the anchor of gridline 220.
    QTest::mouseMove(viewport, QPoint(219, 4));
    EXPECT_TRUE(PressDelete(*window));
    EXPECT_EQ(LivePositions(window->items(), true), (std::vector<int32_t>{120, 300}));
    // Undo brings it back without the highlight it had: Delete does not take it again.
    Undo(window->items());
    window->DesignEdited();
    EXPECT_FALSE(PressDelete(*window));
    Redo(window->items());
    window->DesignEdited();
    // On the left strip: gridline y 80's anchor covers viewport y 77 ... 84.
    QTest::mouseMove(viewport, QPoint(6, 84));
    EXPECT_EQ(viewport->cursor().shape(), Qt::SizeVerCursor);
    EXPECT_TRUE(PressDelete(*window));
    EXPECT_EQ(LivePositions(window->items(), false), (std::vector<int32_t>{200}));

    // Over the page no anchor is under the pointer: the key is left to the selection, and the
    // design's history is as it was.
    ItemRecord* before = LiveGridlines(window->items());
    QTest::mouseMove(viewport, QPoint(219, 150));
    EXPECT_EQ(window->rulerMarkX(), 219);
    EXPECT_FALSE(PressDelete(*window));
    EXPECT_EQ(LiveGridlines(window->items()), before);
    // Hidden anchors cannot be deleted either.
    QTest::mouseMove(viewport, QPoint(121, 4));
    window->SetAnchorsShown(2);
    EXPECT_FALSE(PressDelete(*window));
    EXPECT_EQ(LiveGridlines(window->items()), before);
    window->SetAnchorsShown(3);
    QTest::mouseMove(viewport, QPoint(121, 5));
    EXPECT_TRUE(PressDelete(*window));
    EXPECT_EQ(LivePositions(window->items(), true), (std::vector<int32_t>{300}));
}

TEST_F(SandboxTest, TheDeleteKeyDeletesTheSelectionUnlessATextIsBeingTypedOrCtrlIsHeld) {
    SetFactorySettings(params);
    Open(QString());
    ItemList& list = window->items();
    auto addSelectedLine = [&list] {
        ItemRecord* line = CreateNewItem(list, ItemKind::Line);
        line->x2 = line->y2 = 40;
        DeriveBounds(line);
        line->selected = 255;
        return line;
    };
    ItemRecord* line = addSelectedLine();
    QKeyEvent ctrlDelete(QEvent::KeyPress, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_FALSE(window->KeyDown(ctrlDelete)); // the Edit menu's Cut
    window->SelectPanel(300);                  // a text is being typed: the caret takes the key
    EXPECT_FALSE(PressDelete(*window));
    EXPECT_EQ(line->deleted, 0);

    window->SelectPanel(20);
    // Leaving the text tool deselected everything; the line is chosen again.
    line->selected = 255;
    ASSERT_TRUE(PressDelete(*window));
    EXPECT_EQ(line->deleted, 255);
    ItemRecord* deletion = FindRecord(list, ItemKind::Deletion);
    ASSERT_NE(deletion, nullptr);
    EXPECT_EQ(deletion->replaces, line->serial);
    EXPECT_EQ(window->viewport()->cursor().shape(), Qt::ArrowCursor);
    // The hint page after a deletion while its setting is on, else the insert panel.
    params.hints[static_cast<size_t>(HintPosition(1038) - 1)] = 0;
    addSelectedLine();
    ASSERT_TRUE(PressDelete(*window));
    EXPECT_EQ(host.deferred, (std::vector<int>{1038, 20}));
    EXPECT_FALSE(PressDelete(*window)); // nothing selected any more
}

TEST_F(SandboxTest, DraggingThePagesEdgesOnTheRulerResizesAndShiftsThePage) {
    QString path = folder.filePath("grid.vlrn");
    WriteGridDesign(path);
    Open(path);
    QWidget* ruler = window->rulerX();
    // The page's right edge is at ruler x 20 + 400.
    QTest::mouseMove(ruler, QPoint(418, 5));
    EXPECT_EQ(ruler->cursor().shape(), Qt::SizeHorCursor);
    QTest::mousePress(ruler, Qt::LeftButton, {}, QPoint(418, 5));
    QTest::mouseMove(ruler, QPoint(518, 5));
    EXPECT_EQ(window->rulerHintText(), "Width: 500 Pixels");
    EXPECT_TRUE(window->rulerHint()->isVisible());
    QTest::mouseRelease(ruler, Qt::LeftButton, {}, QPoint(518, 5));
    EXPECT_FALSE(window->rulerHint()->isVisible());
    EXPECT_EQ(double(Header()->canvasWidth), 500.0);
    EXPECT_EQ(Header()->spanX, 500);
    EXPECT_TRUE(IsModified(window->items()));
    // The grown part gained gridlines one density apart past the last one.
    EXPECT_EQ(LivePositions(window->items(), true),
              (std::vector<int32_t>{120, 220, 270, 320, 370, 420, 470}));

    // Dragged far left, the page keeps 5 pixels.
    QTest::mousePress(ruler, Qt::LeftButton, {}, QPoint(521, 5));
    QTest::mouseMove(ruler, QPoint(-200, 5));
    EXPECT_EQ(window->rulerHintText(), "Width: 5 Pixels");
    QTest::mouseRelease(ruler, Qt::LeftButton, {}, QPoint(-200, 5));
    EXPECT_EQ(double(Header()->canvasWidth), 5.0);

    // The left edge (the 5-pixel page's end is as near at 21) dragged 30 pixels right takes the
    // page and its gridlines along.
    QTest::mousePress(ruler, Qt::LeftButton, {}, QPoint(16, 5));
    QTest::mouseRelease(ruler, Qt::LeftButton, {}, QPoint(46, 5));
    EXPECT_EQ(double(Header()->canvasLeft), 50.0);
    EXPECT_EQ(LivePositions(window->items(), true),
              (std::vector<int32_t>{150, 250, 300, 350, 400, 450, 500}));
    // Dragged 100 pixels left, the page stops at the canvas origin, 50 pixels on: so do its
    // gridlines.
    QTest::mousePress(ruler, Qt::LeftButton, {}, QPoint(47, 5));
    QTest::mouseRelease(ruler, Qt::LeftButton, {}, QPoint(-53, 5));
    EXPECT_EQ(double(Header()->canvasLeft), 0.0);
    EXPECT_EQ(LivePositions(window->items(), true),
              (std::vector<int32_t>{100, 200, 250, 300, 350, 400, 450}));
}

TEST_F(SandboxTest, AreaRepaintsKeepTheGridlinesAndAWideWindowHasAWholeRuler) {
    QString path = folder.filePath("grid.vlrn");
    WriteGridDesign(path);
    Open(path);
    window->RedrawArea({90, 100, 130, 200});
    EXPECT_EQ(CanvasPixel(100, 150), qRgb(170, 204, 255));
    // Hidden, they are gone from the canvas but still snap.
    window->SetGridShown(0);
    EXPECT_EQ(CanvasPixel(100, 150), qRgb(255, 255, 255));
    EXPECT_FALSE(host.gridOn);
    window->SetSnap(1);
    EXPECT_TRUE(host.snapOn);
    EXPECT_EQ(window->SnapPoint({110, 7}), (Point{100, 7}));

    QString banner = folder.filePath("banner.vlrn");
    WritePixelDesign(banner, 3000, 200, false);
    Open(banner, QSize(2200, 400));
    const int viewport = window->viewportSize().width();
    ASSERT_GT(viewport, 1600);
    for (int scroll : {0, 700, window->scrollBarX()->maximum()}) {
        window->scrollBarX()->setValue(scroll);
        // Light yellow wherever the page is seen, to the viewport's end or the page's.
        const int pageStart = std::max(0, window->pageOffset().x);
        const int pageEnd = std::min(viewport, window->pageOffset().x + 3000);
        EXPECT_EQ(window->rulerXImage().pixel(pageStart + 1, 1), qRgb(255, 255, 225)) << scroll;
        EXPECT_EQ(window->rulerXImage().pixel(pageEnd - 2, 1), qRgb(255, 255, 225)) << scroll;
    }
}

TEST_F(SandboxTest, SwitchingShadowsOffInOneWindowLeavesAnotherAsItWas) {
    QString path = folder.filePath("shadow.vlrn");
    ASSERT_TRUE(test::WriteShadowedSquare(path));
    Open(path);
    TSandbox other(params, host, prompt);
    other.resize(400, 300);
    ASSERT_TRUE(other.OpenDesign(43, path));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !other.repaintPending(); }, 5000));
    window->SetDisplaySwitches({.pictures = true, .shadows = false, .surfaces = true});
    EXPECT_EQ(CanvasPixel(105, 105), qRgb(255, 255, 255));
    EXPECT_EQ(other.displaySwitches(), DisplaySwitches{});
    EXPECT_LT(qRed(other.canvas().image().pixel(105, 105)), 128);
}

// The wheel over the canvas: down and, with Shift, sideways by lines of a tenth of the view;
// with Ctrl one zoom step, the page point under the pointer staying under it. The arrow keys
// step the view while nothing is selected.
TEST_F(SandboxTest, TheWheelScrollsAndZoomsAroundThePointerAndArrowsStepTheView) {
    QString path = folder.filePath("letter.vlrn");
    WritePixelDesign(path, 816, 1056, false);
    Open(path, QSize(600, 400));
    QScrollBar* barX = window->scrollBarX();
    QScrollBar* barY = window->scrollBarY();
    ASSERT_TRUE(barY->isVisible());
    const int stepY = std::max(16, window->viewportSize().height() / 10);
    EXPECT_EQ(barY->singleStep(), stepY);
    auto turn = [this](QPoint delta, Qt::KeyboardModifiers modifiers, QPointF at) {
        QWheelEvent wheel(at, window->viewport()->mapToGlobal(at), QPoint(), delta, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(window->viewport(), &wheel);
    };
    const int lines = QApplication::wheelScrollLines();
    turn({0, -120}, Qt::NoModifier, {100, 100});
    EXPECT_EQ(barY->value(), lines * stepY);
    EXPECT_EQ(window->pageOffset().y, Header()->boundTop - lines * stepY);

    // Ctrl+wheel at (250, 150): the page pixel there is (250 - offset) before and lies 1.25
    // times as far in afterwards, still at (250, 150).
    const QPoint pointer(250, 150);
    const Point pageBefore{pointer.x() - window->pageOffset().x, pointer.y() - window->pageOffset().y};
    turn({0, 120}, Qt::ControlModifier, pointer);
    EXPECT_DOUBLE_EQ(Header()->zoom, 1.25);
    EXPECT_DOUBLE_EQ(host.zoom, 1.25);
    EXPECT_NEAR(pointer.x() - window->pageOffset().x, pageBefore.x * 1.25, 1.0);
    EXPECT_NEAR(pointer.y() - window->pageOffset().y, pageBefore.y * 1.25, 1.0);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !window->repaintPending(); }, 5000));

    const int x = barX->value();
    turn({0, -120}, Qt::ShiftModifier, {100, 100});
    EXPECT_EQ(barX->value(), std::min(barX->maximum(), x + lines * barX->singleStep()));

    const int y = barY->value();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    EXPECT_TRUE(window->KeyDown(down));
    EXPECT_EQ(barY->value(), y + barY->singleStep());
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b");
    EXPECT_FALSE(window->KeyDown(letter));
}

// On a screen of two device pixels per pixel the canvas holds the design drawn at twice the zoom,
// pixel for pixel as the design drawn directly at 200 % - not the 100 % drawing enlarged - and the
// rulers and anchor strips are pictures of the same density.
TEST_F(SandboxTest, OnADenseScreenTheCanvasIsTheDesignDrawnAtItsDensity) {
    SetFactorySettings(params);
    const QString path = folder.filePath("dense.vlrn");
    WritePixelDesign(path, 600, 400, false);
    Open(path, QSize(700, 500), 2.0);
    ItemList& items = window->items();
    test::Insert(items, ItemKind::Line, 50, 40, 250, 40)->penWidthPx = 1;
    test::Insert(items, ItemKind::Line, 60, 80, 300, 230);
    test::Insert(items, ItemKind::Text, 100, 260, 300, 320);
    SelectOnly(items, nullptr);
    window->DesignEdited();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->repaintPending(); }, 5000));

    ASSERT_EQ(window->tileOffset(), (Point{0, 0}));
    const QImage canvas = window->canvas().image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(window->canvas().width(), 600);
    EXPECT_EQ(canvas.size(), QSize(1200, 800));
    EXPECT_EQ(canvas.devicePixelRatio(), 2.0);
    for (const QImage* picture :
         {&window->backgroundImage(), &window->rulerXImage(), &window->rulerYImage()}) {
        EXPECT_EQ(picture->devicePixelRatio(), 2.0);
    }
    EXPECT_EQ(window->backgroundImage().size(), window->viewportSize() * 2);
    EXPECT_EQ(window->rulerXImage().width(), window->viewportSize().width() * 2);

    // The 1-pixel line along design row 40 is 2 pixels wide at 200 %: a body from device row 79
    // to 81 outlined through those rows' centres and filled, device columns 100 ... 500.
    for (int y : {78, 79, 80, 81, 82}) {
        const QRgb expected = y >= 79 && y <= 81 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        EXPECT_EQ(canvas.pixel(101, y), expected) << y;
        EXPECT_EQ(canvas.pixel(499, y), expected) << y;
    }
    RasterCanvas direct(1200, 800, Smoothing::Antialiased, params.screen);
    RasterCanvas plain(600, 400, Smoothing::Antialiased, params.screen);
    for (ItemRecord* item : StackingOrder(items)) {
        DrawItem(direct, item, items, CanvasTransform(2.0));
        DrawItem(plain, item, items, CanvasTransform(1.0));
    }
    const QImage enlarged = plain.image().scaled(1200, 800);
    int differing = 0, unlikeEnlarged = 0;
    // Short of the page's edge lines at its right and bottom.
    for (int y = 0; y < 780; ++y) {
        for (int x = 0; x < 1180; ++x) {
            differing += canvas.pixel(x, y) != direct.image().pixel(x, y) ? 1 : 0;
            unlikeEnlarged += canvas.pixel(x, y) != enlarged.pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(unlikeEnlarged, 500) << "the slanted line's and the text's edges are finer";
}

// A click at a window position selects the same item whatever the screen's density, and the
// markers it brings stand on that item's points in the device pixels; a click beside it takes them
// away and leaves the canvas's pixels exactly as they were before.
TEST_F(SandboxTest, ClicksHitTheSameItemAndMarkersComeAndGoAtEveryDensity) {
    for (double ratio : {1.0, 1.5, 2.0}) {
        SetFactorySettings(params);
        const QString path = folder.filePath("click.vlrn");
        WritePixelDesign(path, 600, 400, false);
        Open(path, QSize(700, 500), ratio);
        ItemList& items = window->items();
        ItemRecord* line = test::Insert(items, ItemKind::Line, 50, 40, 250, 40);
        test::Insert(items, ItemKind::Line, 50, 44, 250, 44);
        SelectOnly(items, nullptr);
        window->DesignEdited();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->repaintPending(); }, 5000));
        const QImage before = window->canvas().image().copy();
        const Point page = window->pageOffset();

        QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, QPoint(page.x + 150, page.y + 40));
        ASSERT_EQ(FirstSelected(items), line) << ratio;
        ASSERT_TRUE(QTest::qWaitFor([line] { return !line->backgroundCache.empty(); }, 2000)) << ratio;
        // The marker on the line's first end, 8 pixels square about (50, 40), yellow inside.
        const QPoint end(static_cast<int>(50 * ratio), static_cast<int>(40 * ratio));
        EXPECT_EQ(window->canvas().image().pixel(end), qRgb(255, 255, 0)) << ratio;

        QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, QPoint(page.x + 400, page.y + 300));
        ASSERT_EQ(FirstSelected(items), nullptr) << ratio;
        ASSERT_TRUE(QTest::qWaitFor([this] { return !window->repaintPending(); }, 5000));
        EXPECT_EQ(window->canvas().image(), before) << ratio;
        window.reset();
    }
}

// The window takes its screen's ratio by itself. Run once more with QT_SCALE_FACTOR=2, where the
// canvas is twice as dense and a click at a window position still selects the line there.
TEST_F(SandboxTest, TheWindowDrawsAtItsOwnScreensRatio) {
    const double factor = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                              ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                              : 1.0;
    SetFactorySettings(params);
    const QString path = folder.filePath("screen.vlrn");
    WritePixelDesign(path, 600, 400, false);
    Open(path, QSize(700, 500));
    EXPECT_EQ(window->devicePixelRatioF(), factor);
    EXPECT_EQ(window->canvas().image().size(), QSize(600, 400) * factor);
    ItemRecord* line = test::Insert(window->items(), ItemKind::Line, 50, 40, 250, 40);
    SelectOnly(window->items(), nullptr);
    window->DesignEdited();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->repaintPending(); }, 5000));
    const Point page = window->pageOffset();
    QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, QPoint(page.x + 150, page.y + 40));
    EXPECT_EQ(FirstSelected(window->items()), line);
}

} // namespace
} // namespace vlr
