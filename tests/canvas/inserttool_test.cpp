// Inserting items with the mouse and the keys on the document window, under the offscreen
// platform: every kind by its clicks and by press-and-drag, with and without snap, saved and read
// back; the keys of spline insertion; continuing, thinning and thickening splines; and the style
// a new item takes from the settings, checked where it is used.
#include "canvas/inserttool.h"

#include "canvas/sandbox.h"
#include "model/designfile.h"
#include "model/history.h"
#include "records.h"
#include "sandboxfixture.h"
#include "settings/params.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>

namespace vlr {
namespace {

using test::Points;

// The live items of a design (header, gridlines and pattern definitions left out), in list order.
std::vector<ItemRecord*> Items(const ItemList& list) {
    std::vector<ItemRecord*> items;
    for (ItemRecord* record : list) {
        if (IsLiveItem(record) && IsDesignItemKind(record->kind)) {
            items.push_back(record);
        }
    }
    return items;
}

class InsertToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        params.hints.fill(0);
        params.state.polycolor = 0x123456;
        params.state.polyfill = 0x00FF00;
        params.state.polywidth = 0.5;
        params.state.polysides = 6;
        params.state.polystate = 1;
        params.state.bpolystate = 0;
        params.state.shpoly = {3, 4, 5};
        params.state.poplas = 7;
        params.state.lineColor = 0xFF;
        params.state.lineWidth = 1.0;
        params.state.tsize = 20;
        params.state.tfont = "Liberation Sans";
        Open(false);
    }
    void Open(bool snap) {
        const QString path = folder.filePath("page.vlrn");
        test::OpenPixelPage(window, params, host, prompt, path, snap);
        if (HasFatalFailure()) {
            return;
        }
        if (snap) {
            window->SetSnap(1);
        }
    }
    ItemList& List() { return window->items(); }
    QPoint View(Point canvas) {
        return {canvas.x + window->pageOffset().x + window->tileOffset().x,
                canvas.y + window->pageOffset().y + window->tileOffset().y};
    }
    void Click(Point at, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseMove(window->viewport(), View(at));
        QTest::mouseClick(window->viewport(), Qt::LeftButton, modifiers, View(at));
    }
    // A press held past the press-and-drag timer, moves, and the release elsewhere.
    void Drag(Point from, Point to) {
        QTest::mousePress(window->viewport(), Qt::LeftButton, {}, View(from));
        QTest::qWait(350);
        QTest::mouseMove(window->viewport(), View({(from.x + to.x) / 2, (from.y + to.y) / 2}));
        QTest::mouseMove(window->viewport(), View(to));
        QTest::mouseRelease(window->viewport(), Qt::LeftButton, {}, View(to));
    }
    void Move(Point to) { QTest::mouseMove(window->viewport(), View(to)); }
    bool Key(int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        return window->KeyDown(event) || (!text.isEmpty() && window->KeyPress(event));
    }
    // The design saved and read back into a list of its own.
    std::unique_ptr<ItemList> SavedAndRead() {
        const std::string path = folder.filePath("drawn.vlrn").toStdString();
        EXPECT_TRUE(WriteDesign(path, List()));
        auto read = std::make_unique<ItemList>(params.screen);
        EXPECT_TRUE(ReadDesign(path, *read, prompt).ok());
        return read;
    }

    QTemporaryDir folder;
    TParams params;
    test::RecordingHost host;
    test::AnsweringPrompt prompt;
    std::unique_ptr<TSandbox> window;
};

struct KindCase {
    const char* what;
    int panel;
    std::vector<Point> clicks; // the last one with Shift for splines and curves
    bool drag;                 // the first two clicks are one press-and-drag
    bool snap;
    int32_t kind;
    std::vector<Point> points; // the stored points expected (a prefix for polygons and stars)
    int32_t shapeMode;
};

// Expected points worked by hand: squares turn the first side a quarter counter-clockwise (y up),
// rectangles take the third click onto the perpendicular through the second, a circle keeps the
// square on centre and outline point, a star's third point is the first inner vertex, half a
// step (30 degrees for six spikes) past the tip at the spike point's radius.
const KindCase kKinds[] = {
    {"triangle",
     100,
     {{100, 100}, {200, 100}, {150, 50}},
     false,
     false,
     ItemKind::Triangle,
     {{100, 100}, {200, 100}, {150, 50}},
     2},
    {"square",
     101,
     {{100, 100}, {200, 100}},
     false,
     false,
     ItemKind::Square,
     {{100, 100}, {200, 100}, {200, 0}, {100, 0}},
     2},
    {"square by drag",
     101,
     {{100, 100}, {200, 100}},
     true,
     false,
     ItemKind::Square,
     {{100, 100}, {200, 100}, {200, 0}, {100, 0}},
     2},
    {"rectangle",
     102,
     {{100, 200}, {200, 200}, {170, 150}},
     false,
     false,
     ItemKind::Rectangle,
     {{100, 200}, {200, 200}, {200, 150}, {100, 150}},
     2},
    {"rectangle by drag",
     102,
     {{100, 200}, {200, 200}, {170, 150}},
     true,
     false,
     ItemKind::Rectangle,
     {{100, 200}, {200, 200}, {200, 150}, {100, 150}},
     2},
    {"circle",
     103,
     {{300, 200}, {330, 240}},
     false,
     false,
     ItemKind::Circle,
     {{300, 200}, {330, 240}, {370, 210}, {340, 170}},
     0},
    {"circle by drag",
     103,
     {{300, 200}, {330, 240}},
     true,
     false,
     ItemKind::Circle,
     {{300, 200}, {330, 240}, {370, 210}, {340, 170}},
     0},
    {"ellipse",
     104,
     {{300, 200}, {360, 200}, {330, 170}},
     false,
     false,
     ItemKind::Ellipse,
     {{300, 200}, {360, 200}, {330, 170}},
     0},
    {"star",
     105,
     {{300, 200}, {300, 100}, {300, 150}},
     false,
     false,
     ItemKind::Star,
     {{300, 200}, {300, 100}, {275, 157}},
     0},
    {"pie",
     107,
     {{300, 200}, {350, 200}, {300, 120}},
     false,
     false,
     ItemKind::Pie,
     {{300, 200}, {350, 200}, {300, 150}},
     0},
    {"arc",
     108,
     {{300, 200}, {350, 200}, {300, 120}},
     false,
     false,
     ItemKind::Arc,
     {{300, 200}, {350, 200}, {300, 150}},
     0},
    {"polygon", 199, {{300, 200}, {300, 150}}, false, false, ItemKind::Polygon, {{300, 200}, {300, 150}}, 0},
    {"spline",
     109,
     {{50, 50}, {100, 80}, {150, 50}},
     false,
     false,
     ItemKind::Spline,
     {{50, 50}, {100, 80}, {150, 50}},
     1},
    {"spline by drag",
     109,
     {{50, 50}, {100, 80}, {150, 50}},
     true,
     false,
     ItemKind::Spline,
     {{50, 50}, {100, 80}, {150, 50}},
     1},
    {"solid",
     110,
     {{50, 50}, {100, 80}, {150, 50}},
     false,
     false,
     ItemKind::Spline,
     {{50, 50}, {100, 80}, {150, 50}},
     2},
    {"curve",
     111,
     {{50, 50}, {100, 80}, {150, 50}},
     false,
     false,
     ItemKind::Curve,
     {{50, 50}, {100, 80}, {150, 50}},
     0},
    {"oblong",
     112,
     {{50, 50}, {100, 80}, {150, 50}},
     false,
     false,
     ItemKind::Curve,
     {{50, 50}, {100, 80}, {150, 50}},
     2},
    // Snap takes the x of every click to the nearer of the gridlines at 100 and 200 of the page.
    {"triangle snapped",
     100,
     {{97, 53}, {204, 47}, {160, 10}},
     false,
     true,
     ItemKind::Triangle,
     {{100, 53}, {200, 47}, {200, 10}},
     2},
    {"circle snapped by drag",
     103,
     {{96, 58}, {190, 40}},
     true,
     true,
     ItemKind::Circle,
     {{100, 58}, {200, 40}, {182, -60}, {82, -42}},
     0},
};

TEST_F(InsertToolTest, EveryKindIsDrawnByItsClicksAndReadBackWithItsPointsAndStyle) {
    for (const KindCase& each : kKinds) {
        SCOPED_TRACE(each.what);
        Open(each.snap);
        window->SelectPanel(each.panel);
        ASSERT_EQ(window->toolMode(), each.panel);
        const bool pointList = each.panel >= 109 && each.panel <= 112;
        size_t next = 0;
        if (each.drag) {
            Drag(each.clicks[0], each.clicks[1]);
            next = 2;
        }
        for (; next < each.clicks.size(); ++next) {
            const bool last = next + 1 == each.clicks.size();
            Move(each.clicks[next]);
            Click(each.clicks[next], pointList && last ? Qt::ShiftModifier : Qt::NoModifier);
        }
        // The tool stays, nothing is selected, and the item is its own undo step.
        EXPECT_EQ(window->toolMode(), each.panel);
        EXPECT_EQ(window->input().clickCount, 0);
        EXPECT_EQ(FirstSelected(List()), nullptr);
        ASSERT_EQ(Items(List()).size(), 1u);
        EXPECT_TRUE(CanUndo(List()));

        const std::unique_ptr<ItemList> read = SavedAndRead();
        const std::vector<ItemRecord*> items = Items(*read);
        ASSERT_EQ(items.size(), 1u);
        const ItemRecord* item = items[0];
        EXPECT_EQ(item->kind, each.kind);
        std::vector<Point> points = Points(item);
        if (each.kind == ItemKind::Polygon || each.kind == ItemKind::Star) {
            EXPECT_EQ(item->vertexCount, 6);
            EXPECT_EQ(points.size(), each.kind == ItemKind::Polygon ? 2u + 6u : 2u + 12u);
            points.resize(std::min(points.size(), each.points.size()));
        }
        EXPECT_EQ(points, each.points);
        EXPECT_EQ(item->shapeMode, each.shapeMode);
        EXPECT_EQ(item->color, 0x123456);
        EXPECT_EQ(item->fillColor, 0x00FF00);
        EXPECT_DOUBLE_EQ(item->lineWeight, 0.5);
        EXPECT_EQ(item->shadowElevation, 3);
        EXPECT_EQ(item->shadowFade, 4);
        EXPECT_EQ(item->shadowLightness, 5);
        EXPECT_EQ(item->surface, 7);
        const ItemRecord* drawn = Items(List())[0];
        EXPECT_EQ((std::array<int32_t, 4>{item->x1, item->y1, item->x2, item->y2}),
                  (std::array<int32_t, 4>{drawn->x1, drawn->y1, drawn->x2, drawn->y2}));
        if (each.kind == ItemKind::Curve) {
            // The turning point between two others has handles off its own point.
            EXPECT_NE(item->pointList[1].ctrl1X, item->pointList[1].x);
        }
    }
}

TEST_F(InsertToolTest, BoxesOfShapesMadeFromClicksAreTheirCentrePlusTheirRadius) {
    struct Case {
        int panel;
        std::vector<Point> clicks;
        Rect box; // x1, y1, x2, y2
    } cases[] = {
        {103, {{300, 200}, {330, 240}}, {250, 150, 350, 250}},
        {105, {{300, 200}, {300, 100}, {300, 150}}, {200, 100, 400, 300}},
        // The ellipse's box is one pixel larger than its larger semi-axis.
        {104, {{300, 200}, {360, 200}, {330, 170}}, {239, 139, 361, 261}},
        {101, {{100, 100}, {200, 100}}, {100, 0, 200, 100}},
    };
    for (const Case& each : cases) {
        Open(false);
        window->SelectPanel(each.panel);
        for (Point p : each.clicks) {
            Click(p);
        }
        ASSERT_EQ(Items(List()).size(), 1u) << each.panel;
        const ItemRecord* item = Items(List())[0];
        EXPECT_EQ((Rect{item->x1, item->y1, item->x2, item->y2}), each.box) << each.panel;
    }
}

TEST_F(InsertToolTest, LinesAndTextsTakeTheirDefaultsAndPresetDirections) {
    params.state.lineDirection = 90.0;
    params.state.tangle = 0;
    params.state.tbold = 1200;
    window->SelectPanel(98);
    Click({100, 300});
    Click({180, 250});
    window->SelectPanel(300);
    Drag({300, 300}, {200, 320});
    // A text without characters is not saved.
    EXPECT_TRUE(Key(Qt::Key_A, {}, "A"));
    const std::unique_ptr<ItemList> read = SavedAndRead();
    const std::vector<ItemRecord*> items = Items(*read);
    ASSERT_EQ(items.size(), 2u);
    // The line is vertical whatever the second click's x.
    EXPECT_EQ(items[0]->kind, ItemKind::Line);
    EXPECT_EQ((std::array<int32_t, 4>{items[0]->x1, items[0]->y1, items[0]->x2, items[0]->y2}),
              (std::array<int32_t, 4>{100, 300, 100, 250}));
    EXPECT_EQ(items[0]->color, 0xFF);
    EXPECT_DOUBLE_EQ(items[0]->fixedAngle, 90.0);
    EXPECT_DOUBLE_EQ(items[0]->lineWeight, 1.0);
    // The text drawn right to left at angle 0 runs left to right, on the start's baseline.
    EXPECT_EQ(items[1]->kind, ItemKind::Text);
    EXPECT_EQ((std::array<int32_t, 4>{items[1]->x1, items[1]->y1, items[1]->x2, items[1]->y2}),
              (std::array<int32_t, 4>{200, 300, 300, 300}));
    EXPECT_EQ(items[1]->escapement, 0);
    EXPECT_EQ(GetText(items[1]), u"A");
    EXPECT_EQ(items[1]->fontSize, 20);
    EXPECT_EQ(items[1]->fontWeight, 900);
    EXPECT_EQ(GetFontName(*items[1]), "Liberation Sans");
}

TEST_F(InsertToolTest, TypingAfterTheFirstClickMakesAHorizontalTextThatGrows) {
    window->SelectPanel(300);
    Click({100, 100});
    EXPECT_EQ(host.panels.back(), 302);
    EXPECT_TRUE(Key(Qt::Key_H, {}, "H"));
    EXPECT_TRUE(Key(Qt::Key_I, {}, "i"));
    const std::vector<ItemRecord*> items = Items(List());
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(GetText(items[0]), u"Hi");
    EXPECT_EQ(items[0]->y2, 100);
    EXPECT_GT(items[0]->x2, 100);
    // A press elsewhere ends the text; the next click starts another.
    Click({300, 300});
    EXPECT_EQ(window->input().clickCount, 1);
    EXPECT_FALSE(IsSelected(items[0]));
}

TEST_F(InsertToolTest, KeysDuringSplineInsertion) {
    struct Case {
        const char* what;
        int panel;
        std::vector<Point> clicks; // then the pointer rests on the last one
        std::vector<int> keys;
        std::vector<Point> made; // the points of the item made; none when empty
        int32_t shapeMode = 0;
        int panelShown = 0; // the last panel the window asked for
    } cases[] = {
        {"Esc in the middle", 109, {{50, 50}, {100, 80}, {150, 50}}, {Qt::Key_Escape}, {}},
        {"Enter ends at the last turning point",
         109,
         {{50, 50}, {100, 80}, {150, 50}},
         {Qt::Key_Return},
         {{50, 50}, {100, 80}, {150, 50}},
         1},
        {"Enter with only the first point", 109, {{50, 50}}, {Qt::Key_Return}, {}},
        {"Backspace to one point",
         109,
         {{50, 50}, {100, 80}},
         {Qt::Key_Backspace, Qt::Key_Backspace},
         {},
         0,
         109},
        // Backspace takes the last turning point back.
        {"Backspace then Enter",
         110,
         {{50, 50}, {100, 80}, {150, 50}},
         {Qt::Key_Backspace, Qt::Key_Return},
         {{50, 50}, {100, 80}},
         2},
        {"C with two turning points", 111, {{50, 50}, {100, 80}}, {Qt::Key_C}, {}},
        {"C closes a curve",
         111,
         {{50, 50}, {100, 80}, {150, 50}},
         {Qt::Key_C},
         {{50, 50}, {100, 80}, {150, 50}},
         1},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        Open(false);
        host.panels.clear();
        params.state.polystate = 1;
        window->SelectPanel(each.panel);
        for (Point p : each.clicks) {
            Move(p);
            Click(p);
        }
        for (int key : each.keys) {
            Key(key);
        }
        const std::vector<ItemRecord*> items = Items(List());
        if (each.made.empty()) {
            EXPECT_TRUE(items.empty());
        } else {
            ASSERT_EQ(items.size(), 1u);
            EXPECT_EQ(Points(items[0]), each.made);
            EXPECT_EQ(items[0]->shapeMode, each.shapeMode);
        }
        if (each.what == std::string("C with two turning points")) {
            EXPECT_EQ(window->input().clickCount, 1);
        } else {
            EXPECT_EQ(window->input().clickCount, 0);
        }
        EXPECT_EQ(window->toolMode(), each.panel);
        if (each.panelShown) {
            ASSERT_FALSE(host.panels.empty());
            EXPECT_EQ(host.panels.back(), each.panelShown);
        }
    }
}

TEST_F(InsertToolTest, ContinuingASplineAddsItsPointsAsOneEditAndLeavingItRestoresIt) {
    for (int leave : {Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Escape}) {
        SCOPED_TRACE(leave);
        Open(false);
        ItemRecord* spline = test::Shape(List(), ItemKind::Spline, {{50, 50}, {100, 80}});
        SelectOnly(List(), spline);
        Move({150, 60});
        // Without the shape panel showing the key does nothing.
        host.shapePanel = false;
        EXPECT_FALSE(Key(Qt::Key_A, Qt::ControlModifier));
        EXPECT_EQ(window->toolMode(), 0);
        host.shapePanel = true;
        ASSERT_TRUE(Key(Qt::Key_A, Qt::ControlModifier));
        EXPECT_EQ(window->toolMode(), 297);
        EXPECT_EQ(spline->suspended, 1);
        if (leave == Qt::Key_Return) {
            Click({150, 60});
            Move({200, 90});
            Key(Qt::Key_Return);
            ItemRecord* version = SoleSelected(List());
            ASSERT_NE(version, nullptr);
            EXPECT_EQ(Points(version), (std::vector<Point>{{50, 50}, {100, 80}, {150, 60}}));
            EXPECT_EQ(version->replaces, spline->serial);
            Undo(List());
            EXPECT_TRUE(IsLiveItem(spline));
        } else {
            Key(leave);
            if (leave == Qt::Key_Backspace) {
                Key(leave);
            }
            // Back as it was, shown and reachable; nothing to undo.
            EXPECT_EQ(spline->suspended, 0);
            EXPECT_EQ(Points(spline), (std::vector<Point>{{50, 50}, {100, 80}}));
            EXPECT_EQ(Items(List()), std::vector<ItemRecord*>{spline});
        }
        EXPECT_EQ(window->toolMode(), 0);
    }
}

TEST_F(InsertToolTest, AContinuedSplineOrCurveShowsItsOwnPanelAndIsTheItemThePanelAsksFor) {
    for (int32_t kind : {ItemKind::Spline, ItemKind::Curve}) {
        SCOPED_TRACE(kind);
        Open(false);
        ItemRecord* item = test::Shape(List(), kind, {{50, 50}, {100, 80}});
        SelectOnly(List(), item);
        EXPECT_EQ(window->ContinuedItem(), nullptr);
        Move({150, 60});
        ASSERT_TRUE(Key(Qt::Key_A, Qt::ControlModifier));
        ASSERT_FALSE(host.panels.empty());
        EXPECT_EQ(host.panels.back(), kind == ItemKind::Curve ? 298 : 297);
        EXPECT_EQ(window->ContinuedItem(), item);
        Key(Qt::Key_Escape);
        EXPECT_EQ(window->ContinuedItem(), nullptr);
    }
}

TEST_F(InsertToolTest, TheLinePanelIsToldWhenTheFirstPointIsPlacedAndWhenTheLineEnds) {
    window->SelectPanel(98);
    Click({100, 100});
    EXPECT_EQ(host.steps, std::vector<int>{1});
    Click({200, 150});
    EXPECT_EQ(host.steps, (std::vector<int>{1, 0}));
    // Esc drops a line begun.
    Click({100, 100});
    Key(Qt::Key_Escape);
    EXPECT_EQ(host.steps, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(Items(List()).size(), 1u);
}

TEST_F(InsertToolTest, CtrlDAndCtrlIThinAndThickenTheSelectedSpline) {
    ItemRecord* spline = test::Shape(List(), ItemKind::Spline, {{100, 100}, {200, 100}, {200, 200}});
    SelectOnly(List(), spline);
    window->RedrawAll(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !spline->backgroundCache.empty(); }, 2000));
    // Between the first two points, the foot of the perpendicular from the pointer.
    Move({150, 110});
    ASSERT_TRUE(Key(Qt::Key_I, Qt::ControlModifier));
    ItemRecord* thicker = SoleSelected(List());
    EXPECT_EQ(Points(thicker), (std::vector<Point>{{100, 100}, {150, 100}, {200, 100}, {200, 200}}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !thicker->backgroundCache.empty(); }, 2000));
    Move({200, 200});
    ASSERT_TRUE(Key(Qt::Key_D, Qt::ControlModifier));
    ItemRecord* thinner = SoleSelected(List());
    EXPECT_EQ(Points(thinner), (std::vector<Point>{{100, 100}, {150, 100}, {200, 100}}));

    // A spline of two points goes whole.
    ItemRecord* two = test::Shape(List(), ItemKind::Spline, {{300, 300}, {400, 300}});
    SelectOnly(List(), two);
    window->RedrawAll(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !two->backgroundCache.empty(); }, 2000));
    Move({400, 300});
    ASSERT_TRUE(Key(Qt::Key_D, Qt::ControlModifier));
    EXPECT_FALSE(IsLiveItem(two));
}

TEST(InsertSettings, ValuesOutsideTheirListsTakeTheListsDefaults) {
    struct Case {
        int32_t sides, expectedSides, size, expectedSize, weight, expectedWeight, mode, expectedMode;
    } cases[] = {
        {2, 5, 0, 12, 50, 100, -1, 0},
        {21, 5, -4, 12, 1000, 900, 3, 0},
        {3, 3, 1, 1, 100, 100, 0, 0},
        {20, 20, 72, 72, 900, 900, 2, 2},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(CheckedSides(each.sides), each.expectedSides);
        EXPECT_EQ(CheckedFontSize(each.size), each.expectedSize);
        EXPECT_EQ(CheckedFontWeight(each.weight), each.expectedWeight);
        EXPECT_EQ(CheckedShapeMode(each.mode), each.expectedMode);
    }
    // Where they are used.
    TParams params;
    params.state.polysides = 1000000;
    params.state.polywidth = -3.0;
    ItemList list(params.screen);
    const ItemRecord* star = CreateFromClicks(list, params, ItemKind::Star, {0, 0}, {0, -50}, {0, -20}, 0);
    EXPECT_EQ(star->vertexCount, 5);
    EXPECT_EQ(star->pointList.size(), 2u + 10u);
    EXPECT_DOUBLE_EQ(star->lineWeight, 0.0);
    const ItemRecord* spline =
        CreateFromPoints(list, params, ItemKind::Spline, {{.x = 0, .y = 0}, {.x = 5, .y = 5}}, 9);
    EXPECT_EQ(spline->shapeMode, 0);
}

TEST(InsertLine, ACustomPatternAddsItsDefinitionAndAnUnknownSlotDrawsSolid) {
    TParams params;
    params.state.linePattern = 6;
    params.state.linePatternTab = 2;
    params.slots.patterns[1].count = 2;
    params.slots.patterns[1].millimetres = {3.0, 1.5};
    ItemList list(params.screen);
    const ItemRecord* line = CreateLine(list, params, {0, 0}, {100, 0});
    EXPECT_EQ(line->dashPattern, -1);
    const ItemRecord* definition = FindRecord(list, -1);
    ASSERT_NE(definition, nullptr);
    EXPECT_EQ(definition->recordClass, RecordClass::LinePattern);
    EXPECT_EQ(definition->segmentCount, 2);
    EXPECT_DOUBLE_EQ(definition->segmentLengths[0], 3.0);
    EXPECT_DOUBLE_EQ(definition->segmentLengths[1], 1.5);
    params.state.linePatternTab = 13;
    EXPECT_EQ(CreateLine(list, params, {0, 0}, {100, 0})->dashPattern, 0);
    params.state.linePattern = 3;
    EXPECT_EQ(CreateLine(list, params, {0, 0}, {100, 0})->dashPattern, 3);
}

TEST(InsertLine, APresetDirectionHoldsTheFreeEndOnItsLine) {
    struct Case {
        double degrees;
        Point free, expected;
    } cases[] = {
        {0, {50, 30}, {50, 0}},      {180, {-50, 30}, {-50, 0}},
        {90, {20, -50}, {0, -50}},   {45, {10, -100}, {100, -100}}, // cot 45 = 1: x follows the rise
        {30, {100, 10}, {100, -58}},                                // tan 30 = 0.577: y rises with x
        {-1, {17, 23}, {17, 23}},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(PresetDirection({0, 0}, each.free, each.degrees), each.expected) << each.degrees;
    }
}

} // namespace
} // namespace vlr
