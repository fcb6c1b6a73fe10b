// Selecting and dragging with the mouse on the document window, under the offscreen platform:
// presses, moves and releases on the viewport as a hand makes them, then the records.
#include "canvas/sandbox.h"

#include "../model/editing.h"
#include "canvas/markers.h"
#include "model/designfile.h"
#include "model/history.h"
#include "model/outline.h"
#include "records.h"
#include "sandboxfixture.h"
#include "settings/params.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace vlr {
namespace {

using test::Ends;
using test::Points;
using test::Shape;

class SelectToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString path = folder.filePath("page.vlrn");
        test::OpenPixelPage(window, params, host, prompt, path, false);
    }

    ItemList& List() { return window->items(); }
    QWidget* Viewport() { return window->viewport(); }
    QPoint View(Point canvas) {
        return {canvas.x + window->pageOffset().x + window->tileOffset().x,
                canvas.y + window->pageOffset().y + window->tileOffset().y};
    }
    // The design changed outside the mouse: repainted with the markers of the selection.
    void Show(std::vector<ItemRecord*> selected) {
        SelectOnly(List(), nullptr);
        for (ItemRecord* item : selected) {
            item->selected = 255;
        }
        window->RedrawAll(true);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return selected.empty() || !selected[0]->backgroundCache.empty(); }, 2000));
    }
    std::optional<Point> MarkerCentre(const ItemRecord* item, int32_t code) {
        for (const auto& saved : item->backgroundCache) {
            if (auto* marker = dynamic_cast<const MarkerNode*>(saved.get()); marker && marker->code == code) {
                return Point{(marker->screenRect.left + marker->screenRect.right) / 2,
                             (marker->screenRect.top + marker->screenRect.bottom) / 2};
            }
        }
        return std::nullopt;
    }
    // A press, four moves and a release.
    void Drag(Point from, Point to, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(Viewport(), Qt::LeftButton, modifiers, View(from));
        for (int k = 1; k <= 4; ++k) {
            QTest::mouseMove(Viewport(),
                             View({from.x + (to.x - from.x) * k / 4, from.y + (to.y - from.y) * k / 4}));
        }
        QTest::mouseRelease(Viewport(), Qt::LeftButton, modifiers, View(to));
    }
    void Click(Point at, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(Viewport(), Qt::LeftButton, modifiers, View(at));
    }

    QTemporaryDir folder;
    TParams params;
    test::RecordingHost host;
    test::AnsweringPrompt prompt;
    std::unique_ptr<TSandbox> window;
};

struct Geometry {
    std::vector<Point> points, ends;
    double rotation = 0.0, direction = 0.0;
    int32_t escapement = 0;
    friend bool operator==(const Geometry&, const Geometry&) = default;
};

Geometry GeometryOf(const ItemRecord* item) {
    return {Points(item), Ends(item), item->rotation, item->direction, item->escapement};
}

struct MarkerCase {
    const char* what;
    // The items to select; the marker is the first item's (or the owner's).
    std::function<std::vector<ItemRecord*>(ItemList&)> make;
    int32_t code;
    Point delta;
    // The new versions, in list order.
    std::function<void(const std::vector<ItemRecord*>& versions)> check;
    size_t owner = 0;
};

std::vector<ItemRecord*> One(ItemRecord* item) {
    return {item};
}

std::vector<ItemRecord*> Group(ItemList& list) {
    ItemRecord* first = test::Insert(list, ItemKind::Line, 400, 200, 440, 200);
    ItemRecord* second = test::Insert(list, ItemKind::Line, 400, 220, 440, 220);
    test::Select(list, {first, second});
    JoinSelection(list);
    return test::SelectedItems(list);
}

ItemRecord* Ellipse(ItemList& list, int32_t width) {
    return Shape(list, ItemKind::Ellipse, {{300, 100}, {360, 100}, {300, 100 - width}});
}

TEST_F(SelectToolTest, EveryMarkerOfEveryKindDragsAsOneUndoStep) {
    using V = std::vector<Point>;
    auto line = [](ItemList& l) { return One(test::Insert(l, ItemKind::Line, 100, 100, 200, 100)); };
    auto text = [](ItemList& l) {
        ItemRecord* t = test::Insert(l, ItemKind::Text, 100, 200, 200, 200);
        t->textAngle = -1;
        return One(t);
    };
    auto rectangle = [](ItemList& l) {
        return One(test::Insert(l, ItemKind::Rectangle, 100, 100, 200, 160));
    };
    auto square = [](ItemList& l) {
        return One(Shape(l, ItemKind::Square, {{100, 300}, {160, 300}, {160, 240}, {100, 240}}));
    };
    auto circle = [](ItemList& l) {
        ItemRecord* c = CreateNewItem(l, ItemKind::Circle);
        SquareFromEdge(c->pointList, {300, 300}, {340, 300});
        ShapeBounds(c, l.screen);
        return One(c);
    };
    auto arc = [](int32_t kind) {
        return [kind](ItemList& l) { return One(Shape(l, kind, {{300, 300}, {350, 300}, {300, 250}})); };
    };
    auto clip = [](ItemList& l) { return One(test::Insert(l, ItemKind::Clip, 100, 100, 200, 150)); };
    auto polyline = [](int32_t kind) {
        return [kind](ItemList& l) {
            ItemRecord* s = Shape(l, kind, {{100, 250}, {150, 200}, {200, 250}});
            if (kind == ItemKind::Curve) {
                SmoothCurve(s->pointList, 0, s->tension);
            }
            return One(s);
        };
    };
    auto ends = [](V expected) {
        return [expected](const std::vector<ItemRecord*>& v) { EXPECT_EQ(Ends(v[0]), expected); };
    };
    auto points = [](V expected) {
        return [expected](const std::vector<ItemRecord*>& v) { EXPECT_EQ(Points(v[0]), expected); };
    };

    const MarkerCase cases[] = {
        {"line end 1", line, 1, {0, 50}, ends({{100, 150}, {200, 100}})},
        {"line end 2", line, 2, {30, 0}, ends({{100, 100}, {230, 100}})},
        {"line middle moves it", line, 3, {10, 20}, ends({{110, 120}, {210, 120}})},
        {"line dot a quarter turn", line, 5, {-40, -40}, ends({{150, 50}, {150, 150}})},
        {"text end turns the text",
         text,
         2,
         {0, -100},
         [](const std::vector<ItemRecord*>& v) {
             EXPECT_EQ(Ends(v[0]), (V{{100, 200}, {200, 100}}));
             EXPECT_EQ(v[0]->escapement, 450);
         }},
        {"text dot",
         text,
         5,
         {40, -40},
         [](const std::vector<ItemRecord*>& v) {
             EXPECT_EQ(Ends(v[0]), (V{{150, 250}, {150, 150}}));
             EXPECT_EQ(v[0]->escapement, 900);
         }},
        {"rectangle corner",
         rectangle,
         -3,
         {20, 10},
         points({{100, 100}, {220, 100}, {220, 170}, {100, 170}})},
        {"rectangle side", rectangle, 206, {30, 5}, points({{100, 100}, {230, 100}, {230, 160}, {100, 160}})},
        {"rectangle first side",
         rectangle,
         207,
         {0, -10},
         points({{100, 90}, {200, 90}, {200, 160}, {100, 160}})},
        {"rectangle centre",
         rectangle,
         7,
         {10, 10},
         points({{110, 110}, {210, 110}, {210, 170}, {110, 170}})},
        {"rectangle dot", rectangle, 5, {40, -40}, points({{120, 180}, {120, 80}, {180, 80}, {180, 180}})},
        {"square side", square, 205, {0, -20}, points({{90, 300}, {170, 300}, {170, 220}, {90, 220}})},
        {"square corner", square, -1, {-20, 20}, points({{80, 320}, {160, 320}, {160, 240}, {80, 240}})},
        {"circle rim",
         circle,
         3,
         {-20, 0},
         [](const std::vector<ItemRecord*>& v) {
             EXPECT_EQ(NodePoint(v[0]->pointList[1]), (Point{360, 300}));
         }},
        {"circle centre",
         circle,
         7,
         {10, 0},
         [](const std::vector<ItemRecord*>& v) {
             EXPECT_EQ(NodePoint(v[0]->pointList[0]), (Point{310, 300}));
         }},
        {"ellipse axis near the centre",
         [](ItemList& l) { return One(Ellipse(l, 5)); },
         1,
         {-50, 0},
         points({{300, 100}, {310, 100}, {300, 95}})},
        {"ellipse second axis",
         [](ItemList& l) { return One(Ellipse(l, 30)); },
         2,
         {0, -10},
         points({{300, 100}, {360, 100}, {300, 60}})},
        {"ellipse dot",
         [](ItemList& l) { return One(Ellipse(l, 30)); },
         5,
         {-40, -40},
         points({{300, 100}, {300, 40}, {270, 100}})},
        {"pie end", arc(ItemKind::Pie), 3, {0, -20}, points({{300, 300}, {370, 300}, {300, 230}})},
        {"arc start", arc(ItemKind::Arc), 2, {10, 0}, points({{300, 300}, {360, 300}, {300, 240}})},
        {"pie centre keeps the chord",
         arc(ItemKind::Pie),
         1,
         {10, 0},
         [](const std::vector<ItemRecord*>& v) {
             EXPECT_EQ(NodePoint(v[0]->pointList[0]), (Point{310, 300}));
             EXPECT_EQ(NodePoint(v[0]->pointList[1]), (Point{350, 300}));
             EXPECT_NEAR(PointDistance({350, 300}, NodePoint(v[0]->pointList[2])), 70.7, 1.0);
         }},
        {"clip corner", clip, 103, {20, 10}, ends({{100, 100}, {220, 160}})},
        {"clip's other corner", clip, 101, {-10, -10}, ends({{90, 90}, {200, 150}})},
        {"clip bottom keeps the proportions", clip, 107, {0, 25}, ends({{75, 100}, {225, 175}})},
        {"clip centre", clip, 7, {10, 5}, ends({{110, 105}, {210, 155}})},
        {"clip side keeps the proportions", clip, 106, {50, 0}, ends({{100, 88}, {250, 163}})},
        {"clip dot",
         clip,
         5,
         {40, -40},
         [](const std::vector<ItemRecord*>& v) {
             EXPECT_DOUBLE_EQ(v[0]->rotation, kPi / 2.0);
             EXPECT_EQ(Ends(v[0]), (V{{100, 100}, {200, 150}}));
         }},
        {"round clip rim",
         [](ItemList& l) {
             ItemRecord* c = test::Insert(l, ItemKind::Clip, 300, 100, 330, 100);
             c->clipShape = ClipShape::Round;
             DeriveBounds(c);
             return One(c);
         },
         105,
         {0, 20},
         ends({{300, 100}, {300, 150}})},
        {"polygon corner",
         [](ItemList& l) {
             ItemRecord* p = CreateNewItem(l, ItemKind::Polygon);
             p->vertexCount = 4;
             RegularPolygonPoints(p->pointList, {450, 300}, {500, 300}, 4);
             ShapeBounds(p, l.screen);
             return One(p);
         },
         -2,
         {0, -20},
         points({{450, 300}, {520, 300}, {450, 230}, {380, 300}, {450, 370}, {520, 300}})},
        {"star tip",
         [](ItemList& l) {
             ItemRecord* s = CreateNewItem(l, ItemKind::Star);
             s->vertexCount = 5;
             StarPoints(s->pointList, {450, 100}, {450, 80}, {450, 50}, 5);
             ShapeBounds(s, l.screen);
             return One(s);
         },
         -1,
         {0, -20},
         [](const std::vector<ItemRecord*>& v) {
             EXPECT_EQ(NodePoint(v[0]->pointList[1]), (Point{450, 30}));
             EXPECT_NEAR(PointDistance({450, 100}, NodePoint(v[0]->pointList[5])), 70.0, 1.0);
         }},
        {"spline point",
         polyline(ItemKind::Spline),
         -2,
         {0, -30},
         points({{100, 250}, {150, 170}, {200, 250}})},
        {"curve point and its handles",
         polyline(ItemKind::Curve),
         -2,
         {0, -30},
         [](const std::vector<ItemRecord*>& v) {
             EXPECT_EQ(Points(v[0]), (V{{100, 250}, {150, 170}, {200, 250}}));
             std::vector<PointNode> smooth = v[0]->pointList;
             SmoothCurve(smooth, 0, v[0]->tension);
             EXPECT_EQ(smooth, v[0]->pointList) << "handles follow the moved point";
         }},
        {"group dot turns the group",
         Group,
         500,
         {40, -40},
         [](const std::vector<ItemRecord*>& v) {
             ASSERT_EQ(v.size(), 3u);
             EXPECT_EQ(Ends(v[0]), (V{{410, 230}, {410, 190}}));
             EXPECT_EQ(Ends(v[1]), (V{{430, 230}, {430, 190}}));
             EXPECT_DOUBLE_EQ(v[2]->direction, kPi / 2.0);
         },
         2},
        {"group centre moves the group",
         Group,
         3,
         {10, 10},
         [](const std::vector<ItemRecord*>& v) {
             ASSERT_EQ(v.size(), 3u);
             EXPECT_EQ(Ends(v[0]), (V{{410, 210}, {450, 210}}));
             EXPECT_EQ(Ends(v[2]), (V{{430, 220}, {430, 220}}));
         },
         2},
        {"a square's corner moves a square and a circle together",
         [](ItemList& l) {
             ItemRecord* s = Shape(l, ItemKind::Square, {{100, 300}, {160, 300}, {160, 240}, {100, 240}});
             ItemRecord* c = Shape(l, ItemKind::Circle, {{300, 300}, {340, 300}});
             return std::vector<ItemRecord*>{s, c};
         },
         -1,
         {10, 5},
         [](const std::vector<ItemRecord*>& v) {
             EXPECT_EQ(Points(v[0]), (V{{110, 305}, {170, 305}, {170, 245}, {110, 245}}));
             EXPECT_EQ(Points(v[1]), (V{{310, 305}, {350, 305}}));
         }},
    };
    for (const MarkerCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ItemRecord*> items = c.make(List());
        window->DesignEdited();
        Show(items);
        std::vector<Geometry> before;
        for (ItemRecord* item : items) {
            before.push_back(GeometryOf(item));
        }
        const int32_t step = NextUndoStep(List());
        const std::optional<Point> from = MarkerCentre(items[c.owner], c.code);
        ASSERT_TRUE(from.has_value());
        Drag(*from, {from->x + c.delta.x, from->y + c.delta.y});
        EXPECT_EQ(window->toolMode(), 0);
        const std::vector<ItemRecord*> versions = test::SelectedItems(List());
        ASSERT_EQ(versions.size(), items.size());
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_TRUE(items[i]->deleted);
            EXPECT_EQ(versions[i]->undoStep, step) << "one step for the whole drag";
        }
        c.check(versions);
        Undo(List());
        window->DesignEdited();
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_TRUE(IsLiveItem(items[i]));
            EXPECT_EQ(GeometryOf(items[i]), before[i]) << "one undo restores item " << i;
        }
    }
}

TEST_F(SelectToolTest, AClickPicksTheNearestUpperItemAndShiftTogglesWithItsGroup) {
    ItemRecord* lower = test::Insert(List(), ItemKind::Line, 100, 100, 300, 100);
    ItemRecord* upper = test::Insert(List(), ItemKind::Line, 100, 110, 300, 110);
    ItemRecord* box = test::Insert(List(), ItemKind::Rectangle, 460, 260, 560, 360);
    window->DesignEdited();

    Click({200, 105});
    EXPECT_EQ(test::SelectedItems(List()), (std::vector<ItemRecord*>{upper}))
        << "equally near: the upper one";
    EXPECT_EQ(host.panels.back(), 99);
    Click({200, 300});
    EXPECT_TRUE(test::SelectedItems(List()).empty());
    EXPECT_EQ(host.panels.back(), 20);
    Click({200, 99});
    Click({200, 111}, Qt::ShiftModifier);
    EXPECT_EQ(test::SelectedItems(List()), (std::vector<ItemRecord*>{lower, upper}));
    // Away from its markers: a press on a marker starts a drag instead.
    Click({250, 99}, Qt::ShiftModifier);
    EXPECT_EQ(test::SelectedItems(List()), (std::vector<ItemRecord*>{upper}));
    EXPECT_TRUE(window->input().clickDeselected);
    Click({460, 300}, Qt::ShiftModifier);
    EXPECT_EQ(host.panels.back(), 59) << "a line and a rectangle";
    // The markers of the selection are drawn once the click is done.
    EXPECT_FALSE(box->backgroundCache.empty());

    const std::vector<ItemRecord*> group = Group(List());
    SelectOnly(List(), nullptr);
    window->DesignEdited();
    Click({420, 200});
    EXPECT_EQ(test::SelectedItems(List()), group) << "a member brings its group and marker";
    Click({410, 220}, Qt::ShiftModifier);
    EXPECT_TRUE(test::SelectedItems(List()).empty()) << "Shift on a selected member lets the group go";
}

TEST_F(SelectToolTest, CtrlDragsARubberBandThatTakesWhatItHoldsOrWithShiftWhatItCrosses) {
    ItemRecord* lower = test::Insert(List(), ItemKind::Line, 100, 100, 300, 100);
    ItemRecord* upper = test::Insert(List(), ItemKind::Line, 100, 110, 300, 110);
    window->DesignEdited();
    QTest::mousePress(Viewport(), Qt::LeftButton, Qt::ControlModifier, View({90, 90}));
    QTest::mouseMove(Viewport(), View({200, 100}));
    QTest::mouseMove(Viewport(), View({310, 105}));
    EXPECT_EQ(window->toolMode(), 8);
    EXPECT_EQ(host.band, (Rect{90, 90, 310, 105})); // what the status bar measures
    // The band's dotted red edge along the top, over white.
    int red = 0;
    for (int x = 92; x < 300; ++x) {
        const QRgb pixel = window->canvas().image().pixel(x, 90);
        red += qRed(pixel) > 200 && qGreen(pixel) < 150 ? 1 : 0;
    }
    EXPECT_GT(red, 50);
    QTest::mouseRelease(Viewport(), Qt::LeftButton, Qt::ControlModifier, View({310, 105}));
    EXPECT_EQ(window->toolMode(), 0);
    EXPECT_EQ(test::SelectedItems(List()), (std::vector<ItemRecord*>{lower}));
    EXPECT_EQ(window->input().copyArea, (Rect{90, 90, 310, 105}));
    EXPECT_EQ(host.panels.back(), 99);
    for (int x = 92; x < 300; ++x) {
        ASSERT_EQ(window->canvas().image().pixel(x, 90), qRgb(255, 255, 255)) << "the band is gone at " << x;
    }

    Drag({150, 90}, {250, 115}, Qt::ControlModifier);
    EXPECT_TRUE(test::SelectedItems(List()).empty()) << "both lines reach past the band";
    EXPECT_EQ(host.panels.back(), 20);
    Drag({150, 90}, {250, 115}, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(test::SelectedItems(List()), (std::vector<ItemRecord*>{lower, upper}));
}

TEST_F(SelectToolTest, TheCursorOverAMarkerNamesItsDrag) {
    ItemRecord* clip = test::Insert(List(), ItemKind::Clip, 100, 100, 200, 150);
    window->DesignEdited();
    Show({clip});
    const struct {
        Point at;
        Qt::CursorShape cursor;
    } places[] = {{{100, 100}, Qt::SizeFDiagCursor}, {{200, 100}, Qt::SizeBDiagCursor},
                  {{150, 100}, Qt::SizeVerCursor},   {{200, 125}, Qt::SizeHorCursor},
                  {{150, 125}, Qt::SizeAllCursor},   {{300, 300}, Qt::ArrowCursor}};
    for (const auto& place : places) {
        QTest::mouseMove(Viewport(), View(place.at));
        EXPECT_EQ(Viewport()->cursor().shape(), place.cursor) << place.at.x << ", " << place.at.y;
    }
}

TEST_F(SelectToolTest, APressOnAMarkerWithoutAMoveLeavesTheHistoryAsItWas) {
    ItemRecord* line = test::Insert(List(), ItemKind::Line, 100, 100, 200, 100);
    test::Insert(List(), ItemKind::Line, 100, 200, 200, 200);
    Undo(List()); // the second line waits to be redone
    window->DesignEdited();
    Show({line});
    const size_t records = test::RecordCount(List());
    const Point middle = *MarkerCentre(line, 3);
    Click(middle);
    EXPECT_EQ(test::RecordCount(List()), records);
    EXPECT_TRUE(CanRedo(List())) << "nothing was opened, nothing purged";
    EXPECT_EQ(test::SelectedItems(List()), (std::vector<ItemRecord*>{line}));

    // Away and back to where it began: the edit changed nothing and leaves no step.
    QTest::mousePress(Viewport(), Qt::LeftButton, {}, View(middle));
    QTest::mouseMove(Viewport(), View({middle.x + 30, middle.y + 20}));
    QTest::mouseMove(Viewport(), View(middle));
    QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, View(middle));
    EXPECT_EQ(test::SelectedItems(List()), (std::vector<ItemRecord*>{line})) << "the line itself, no version";
    EXPECT_EQ(UndoTarget(List()), line) << "the newest step is still the line's insertion";
}

TEST_F(SelectToolTest, EscDuringALineDragBringsTheLineBackSelected) {
    ItemRecord* line = test::Insert(List(), ItemKind::Line, 100, 100, 200, 100);
    SetModified(List(), false);
    window->DesignEdited();
    Show({line});
    const size_t records = test::RecordCount(List());
    const Point end = *MarkerCentre(line, 1);
    QTest::mousePress(Viewport(), Qt::LeftButton, {}, View(end));
    QTest::mouseMove(Viewport(), View({end.x + 20, end.y + 20}));
    QTest::mouseMove(Viewport(), View({end.x + 30, end.y + 40}));
    EXPECT_TRUE(line->deleted) << "the drag works on a new version";
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_TRUE(window->KeyDown(escape));
    QTest::mouseMove(Viewport(), View({end.x + 50, end.y + 50}));
    QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, View({end.x + 50, end.y + 50}));
    EXPECT_EQ(window->toolMode(), 0);
    EXPECT_TRUE(IsLiveItem(line));
    EXPECT_GT(line->serial, 0);
    EXPECT_EQ(Ends(line), (std::vector<Point>{{100, 100}, {200, 100}}));
    EXPECT_EQ(test::SelectedItems(List()), (std::vector<ItemRecord*>{line}))
        << "the release after Esc is swallowed";
    EXPECT_EQ(test::RecordCount(List()), records);
    EXPECT_FALSE(IsModified(List()));
    // The line is still there when the design is saved and read back.
    const std::string saved = folder.filePath("escaped.vlrn").toStdString();
    ASSERT_TRUE(WriteDesign(saved, List()));
    ItemList read;
    ASSERT_TRUE(ReadDesign(saved, read, prompt).ok());
    EXPECT_EQ(test::LiveItems(read).size(), 1u);
}

TEST_F(SelectToolTest, ADoubleClickOnAClipOpensThePictureEditorAfterTimer2) {
    ItemRecord* clip = test::Insert(List(), ItemKind::Clip, 100, 100, 200, 150);
    window->DesignEdited();
    QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, View({150, 125}));
    EXPECT_TRUE(window->input().mouseBusy) << "until Timer2 has run";
    EXPECT_TRUE(QTest::qWaitFor([&] { return host.editedClip != nullptr; }, 2000));
    EXPECT_EQ(host.editedClip, clip);
    EXPECT_TRUE(IsSelected(clip));
    EXPECT_FALSE(window->input().mouseBusy);
}

TEST_F(SelectToolTest, PastedItemsFollowThePointerUntilAClick) {
    ItemRecord* line = test::Insert(List(), ItemKind::Line, 100, 100, 200, 100);
    ItemRecord* box = test::Insert(List(), ItemKind::Rectangle, 100, 120, 200, 140);
    window->DesignEdited();
    Show({line, box});
    window->StartPlacement();
    EXPECT_EQ(window->toolMode(), 53);
    // Their centre (150, 120) goes under the pointer.
    QTest::mouseMove(Viewport(), View({300, 220}));
    QTest::mouseMove(Viewport(), View({350, 250}));
    EXPECT_EQ(Ends(line), (std::vector<Point>{{300, 230}, {400, 230}}));
    Click({350, 250});
    EXPECT_EQ(window->toolMode(), 0);
    EXPECT_EQ(Points(box), (std::vector<Point>{{300, 250}, {400, 250}, {400, 270}, {300, 270}}));

    window->StartPlacement();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_TRUE(window->KeyDown(escape));
    EXPECT_FALSE(IsLiveItem(line)) << "Esc deletes items being placed";
    EXPECT_FALSE(IsLiveItem(box));
}

} // namespace
} // namespace vlr
