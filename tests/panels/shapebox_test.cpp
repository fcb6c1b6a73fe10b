// The shape panel driven through its lists and buttons: fine-tuning the selected shapes (one undo
// step a choice), the settings the next shape takes, the fourth list of each shape, which lists
// are shown and usable, and the stored values checked where the panel uses them.
#include "panels/shapebox.h"
#include "panels/colorbox.h"
#include "panels/linebox.h"
#include "panels/textbox.h"
#include "panels/unibox.h"

#include "../canvas/records.h"
#include "model/outline.h"
#include "panelhost.h"
#include "panels/panelfactory.h"
#include "panels/picturebutton.h"
#include "canvas/inserttool.h"
#include "settings/stylechecks.h"

#include <QLabel>
#include <gtest/gtest.h>

#include <functional>

namespace vlr {
namespace {

using test::Choose;
using test::FakePanelHost;

ItemRecord* Circle(ItemList& list, int32_t kind) {
    return test::Shape(list, kind, {{100, 100}, {130, 100}, {100, 120}});
}

ItemRecord* StarOrPolygon(ItemList& list, int32_t kind) {
    ItemRecord* item = CreateNewItem(list, kind);
    if (kind == ItemKind::Star) {
        StarPoints(item->pointList, {200, 200}, {210, 200}, {230, 200}, 5);
    } else {
        RegularPolygonPoints(item->pointList, {200, 200}, {230, 200}, 6);
    }
    item->vertexCount = kind == ItemKind::Star ? 5 : 6;
    ShapeBounds(item, list.screen);
    return item;
}

ItemRecord* Spline(ItemList& list) {
    return test::Shape(list, ItemKind::Spline, {{0, 0}, {40, 30}, {80, 0}}, 0);
}

struct FourthRow {
    int code;
    std::function<std::vector<ItemRecord*>(ItemList&)> make;
    int position;
    std::function<bool(const ItemRecord&)> changed;
    bool recorded;
};

TEST(TPolybox, TheFourthListChangesEverySelectedShapeAsOneUndoStep) {
    const FourthRow rows[] = {
        {203,
         [](ItemList& l) { return std::vector{Circle(l, ItemKind::Circle), Circle(l, ItemKind::Ellipse)}; },
         1, [](const ItemRecord& r) { return r.kind == ItemKind::Ellipse; }, true},
        {202, [](ItemList& l) { return std::vector{test::Insert(l, ItemKind::Rectangle, 50, 50, 90, 70)}; }, 0,
         [](const ItemRecord& r) { return r.kind == ItemKind::Square; }, true},
        {207, [](ItemList& l) { return std::vector{Circle(l, ItemKind::Pie)}; }, 0,
         [](const ItemRecord& r) { return r.kind == ItemKind::Arc; }, true},
        {206,
         [](ItemList& l) {
             return std::vector{StarOrPolygon(l, ItemKind::Star), StarOrPolygon(l, ItemKind::Polygon)};
         },
         10, [](const ItemRecord& r) { return r.vertexCount == 16; }, true},
        // The closed flag is no style the history keeps.
        {209, [](ItemList& l) { return std::vector{Spline(l)}; }, 1,
         [](const ItemRecord& r) { return r.shapeMode == 1; }, false},
    };
    for (const FourthRow& row : rows) {
        SCOPED_TRACE(row.code);
        FakePanelHost host;
        std::vector<ItemRecord*> items = row.make(host.list);
        test::Select(host.list, {});
        for (ItemRecord* item : items) {
            item->selected = 255;
        }
        TPolybox panel(host, row.code);
        ASSERT_FALSE(panel.FourthBox->isHidden());
        Choose(panel.FourthBox, row.position);
        EXPECT_EQ(host.window.edits, 1);
        const std::vector<ItemRecord*> now = test::Selection(host.list);
        ASSERT_EQ(now.size(), items.size());
        for (const ItemRecord* item : now) {
            EXPECT_TRUE(row.changed(*item));
        }
        EXPECT_EQ(host.recordedChanges, row.recorded ? 1 : 0);
        UndoCommand(host.list, host.window);
        for (const ItemRecord* item : items) {
            EXPECT_TRUE(IsLiveItem(item));
        }
    }
}

TEST(TPolybox, ChoosingArcGreysFillColorAndPieMakesItUsable) {
    FakePanelHost host;
    ItemRecord* pie = Circle(host.list, ItemKind::Pie);
    test::Select(host.list, {pie});
    TPolybox panel(host, 207);
    EXPECT_EQ(panel.FourthBox->currentText(), "Pie");
    EXPECT_TRUE(panel.FillBox->isEnabled());
    Choose(panel.FourthBox, 0);
    EXPECT_FALSE(panel.FillBox->isEnabled());
    Choose(panel.FourthBox, 1);
    EXPECT_TRUE(panel.FillBox->isEnabled());
}

struct StyleRow {
    const char* list;
    int position;
    std::function<bool(const ItemRecord&)> changed;
    std::function<bool(const currentState_t&)> set;
};

TEST(TPolybox, EachStyleListChangesTheSelectionOrWhatTheNextShapeTakes) {
    const StyleRow rows[] = {
        {"Color", 10, [](const ItemRecord& r) { return r.color == 0x00FF00; }, // "Lime"
         [](const currentState_t& s) { return s.polycolor == 0x00FF00; }},
        {"Fill Color", 3, [](const ItemRecord& r) { return r.fillColor == 0x000080; }, // "Maroon"
         [](const currentState_t& s) { return s.polyfill == 0x000080; }},
        {"Outline Weight", 4, [](const ItemRecord& r) { return r.lineWeight == 3.0; },
         [](const currentState_t& s) { return s.polywidth == 3.0 && s.polytab == 4; }},
        {"Surface", 1, [](const ItemRecord& r) { return r.surface == 127; },
         [](const currentState_t& s) { return s.poplas == 127; }},
        {"Shadow", 3,
         [](const ItemRecord& r) {
             return r.shadowElevation == 70 && r.shadowFade == 30 && r.shadowLightness == 120;
         },
         [](const currentState_t& s) { return s.shpoly == ShadowStyle{70, 30, 120}; }},
    };
    for (const StyleRow& row : rows) {
        SCOPED_TRACE(row.list);
        {
            FakePanelHost host;
            ItemRecord* rectangle = test::Insert(host.list, ItemKind::Rectangle, 50, 50, 90, 70);
            test::Select(host.list, {rectangle});
            TPolybox panel(host, 202);
            Choose(test::ListNamed(panel, row.list), row.position);
            EXPECT_EQ(host.window.edits, 1);
            EXPECT_TRUE(row.changed(*FirstSelected(host.list)));
            UndoCommand(host.list, host.window);
            EXPECT_FALSE(row.changed(*rectangle));
        }
        FakePanelHost host;
        host.designOpen = false;
        TPolybox panel(host, 102);
        Choose(test::ListNamed(panel, row.list), row.position);
        EXPECT_TRUE(row.set(host.settings.state));
    }
}

TEST(TPolybox, ShowsTheValuesTheSelectedShapesShare) {
    FakePanelHost host;
    ItemRecord* star = StarOrPolygon(host.list, ItemKind::Star);
    ItemRecord* polygon = StarOrPolygon(host.list, ItemKind::Polygon);
    for (ItemRecord* item : {star, polygon}) {
        item->vertexCount = 12;
        item->fillColor = 0x00FFFF; // "Yellow": fill position 2 + 11
        item->lineWeight = 0.5;
        item->surface = 127;
    }
    star->color = 0x800000;
    polygon->color = 0x800080;
    test::Select(host.list, {star, polygon});
    TPolybox panel(host, 206);
    EXPECT_EQ(panel.ColorBox->currentIndex(), -1); // the colours differ
    EXPECT_EQ(panel.FillBox->currentIndex(), 13);
    EXPECT_EQ(panel.WeightBox->currentIndex(), 1);
    EXPECT_EQ(panel.FourthBox->currentText(), "12");
    EXPECT_EQ(panel.SurfaceBox->currentIndex(), 1);
    EXPECT_EQ(test::ListNamed(panel, "Spikes"), panel.FourthBox);
}

TEST(TPolybox, SplineChoicesSwitchBetweenTheSplineAndSolidPanels) {
    FakePanelHost host;
    host.designOpen = false;
    host.settings.state.polystate = 0;
    {
        TPolybox spline(host, 109);
        EXPECT_EQ(spline.title(), "Spline");
        EXPECT_FALSE(spline.FillBox->isEnabled()); // an open spline
        Choose(spline.FourthBox, 2);               // "Solid Shape"
        EXPECT_EQ(host.switches, std::vector<int>{110});
        EXPECT_EQ(host.settings.state.polyshape, 2);
        EXPECT_EQ(host.settings.state.polystate, 0);
        EXPECT_TRUE(spline.FillBox->isEnabled());
    }
    TPolybox solid(host, 110);
    EXPECT_EQ(solid.title(), "Solid");
    EXPECT_TRUE(solid.HintLines().contains("Click where you want to start the solid."));
    Choose(solid.FourthBox, 1); // "Closed Spline"
    EXPECT_EQ(host.switches, (std::vector<int>{110, 109}));
    EXPECT_EQ(host.settings.state.polystate, 1);
}

TEST(TPolybox, OutlineWeightAndFillColorFollowTheNextShapesFill) {
    FakePanelHost host;
    host.designOpen = false;
    host.settings.state.polyfill = -2; // "Solid"
    TPolybox star(host, 105);
    EXPECT_TRUE(star.WeightBox->isHidden());
    EXPECT_FALSE(star.FourthBox->isHidden());
    Choose(star.FillBox, 1); // "Clear"
    EXPECT_FALSE(star.WeightBox->isHidden());
    host.settings.state.polyfill = -2;
    TPolybox arc(host, 108);
    EXPECT_FALSE(arc.WeightBox->isHidden());
    EXPECT_FALSE(arc.FillBox->isEnabled());
    EXPECT_TRUE(arc.FourthBox->isHidden());
}

TEST(TPolybox, StoredValuesOutsideTheirRangeShowTheDefaults) {
    FakePanelHost host;
    host.designOpen = false;
    host.settings.state.polysides = 40;
    host.settings.state.polystate = 9;
    host.settings.state.polytab = 99;
    host.settings.state.polywidth = 7.0;
    TPolybox star(host, 105);
    EXPECT_EQ(star.FourthBox->currentText(), "5");
    EXPECT_EQ(star.WeightBox->currentIndex(), 0);
    EXPECT_EQ(host.settings.state.polywidth, 0.0);
    TPolybox spline(host, 109);
    EXPECT_EQ(spline.FourthBox->currentText(), "Open Spline");

    struct {
        int32_t (*check)(int32_t);
        int32_t in, out;
    } const checks[] = {{CheckedSides, 2, 5},        {CheckedSides, 20, 20},    {CheckedSides, 21, 5},
                        {CheckedShapeMode, 3, 0},    {CheckedShapeMode, 2, 2},  {CheckedShapeMode, -1, 0},
                        {CheckedFontSize, 0, 12},    {CheckedFontSize, 1, 1},   {CheckedFontWeight, 50, 100},
                        {CheckedFontWeight, 950, 900}, {CheckedFontWeight, 700, 700}};
    for (const auto& c : checks) {
        EXPECT_EQ(c.check(c.in), c.out) << c.in;
    }
}

TEST(TPolybox, ButtonsTransformTheSelectionAndContinuationGreysTheStyleLists) {
    FakePanelHost host;
    ItemRecord* triangle = test::Shape(host.list, ItemKind::Triangle, {{0, 0}, {60, 0}, {0, 30}});
    test::Select(host.list, {triangle});
    TPolybox panel(host, 200);
    EXPECT_TRUE(panel.HintLines().contains("Hold down the Shift key to select more items."));
    panel.Buttons[0]->clicked(); // "Mirror": about the mean of the points (20, 10)
    EXPECT_EQ(host.window.edits, 1);
    EXPECT_EQ(test::Points(FirstSelected(host.list)),
              (std::vector<Point>{{40, 0}, {-20, 0}, {40, 30}}));

    ItemRecord* spline = Spline(host.list);
    test::Select(host.list, {spline});
    TPolybox continued(host, 297);
    for (TStyleCombo* list : {continued.ColorBox, continued.WeightBox, continued.FillBox, continued.FourthBox}) {
        EXPECT_FALSE(list->isEnabled());
    }
    continued.SetListsEnabled(true);
    EXPECT_TRUE(continued.ColorBox->isEnabled());
    EXPECT_FALSE(continued.FillBox->isEnabled()); // an open spline has no fill
}

TEST(TPolybox, AContinuedCurveShowsItsOwnStyleThoughNothingIsSelected) {
    FakePanelHost host;
    ItemRecord* curve = test::Shape(host.list, ItemKind::Curve, {{0, 0}, {40, 30}, {80, 0}}, 0);
    curve->color = 0x0000FF;     // "Red"
    curve->lineWeight = 1.0;     // "Thick"
    // Another shape selected meanwhile must not lend its style.
    ItemRecord* other = Circle(host.list, ItemKind::Circle);
    other->color = 0x008000;
    test::Select(host.list, {other});
    host.continued = curve;
    TPolybox panel(host, 298);
    EXPECT_EQ(panel.ColorBox->currentIndex(), 9);
    EXPECT_EQ(panel.WeightBox->currentIndex(), 2);
    EXPECT_EQ(panel.FourthBox->currentText(), "Open Curve");
    EXPECT_FALSE(panel.ColorBox->isEnabled());
}

TEST(PanelFactory, EachPanelCodeMakesItsPanel) {
    FakePanelHost host;
    host.designOpen = false;
    for (int code : {98, 99}) {
        std::unique_ptr<QWidget> panel(CreateStylePanel(code, host, nullptr));
        EXPECT_NE(dynamic_cast<TLinebox*>(panel.get()), nullptr);
    }
    for (int code : {100, 112, 199, 200, 212, 297, 299}) {
        std::unique_ptr<QWidget> panel(CreateStylePanel(code, host, nullptr));
        EXPECT_NE(dynamic_cast<TPolybox*>(panel.get()), nullptr) << code;
        EXPECT_TRUE(IsShapePanelCode(code));
    }
    for (int code : {300, 301, 302, 303}) {
        std::unique_ptr<QWidget> panel(CreateStylePanel(code, host, nullptr));
        EXPECT_NE(dynamic_cast<TTextbox*>(panel.get()), nullptr) << code;
        EXPECT_EQ(dynamic_cast<TStylePanel*>(panel.get())->fineTune(), code == 301) << code;
    }
    std::unique_ptr<QWidget> clip(CreateStylePanel(401, host, nullptr));
    EXPECT_NE(dynamic_cast<TColorbox*>(clip.get()), nullptr);
    std::unique_ptr<QWidget> mixed(CreateStylePanel(59, host, nullptr));
    EXPECT_NE(dynamic_cast<TUnibox*>(mixed.get()), nullptr);
    for (int code : {20, 113, 198, 213, 296, 304, 400}) {
        EXPECT_EQ(CreateStylePanel(code, host, nullptr), nullptr) << code;
        EXPECT_FALSE(IsShapePanelCode(code));
    }
}

} // namespace
} // namespace vlr
