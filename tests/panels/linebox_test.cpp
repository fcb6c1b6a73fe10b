// The line panel driven through its lists: what a choice does to the selected line (one undo
// step) or to the settings the next line takes, what the lists show for a selection, which
// lists are shown, and the "Customize..." entries.
#include "panels/linebox.h"

#include "panelhost.h"

#include <QApplication>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace vlr {
namespace {

using test::Choose;
using test::FakePanelHost;

struct LineFixture {
    FakePanelHost host;
    ItemRecord* line = nullptr;

    // A line from (10, 10) to (70, 90): 100 long.
    LineFixture() {
        line = test::Insert(host.list, ItemKind::Line, 10, 10, 70, 90);
        test::Select(host.list, {line});
    }
    ItemRecord* Current() const { return FirstSelected(host.list); }
};

// Offers the custom pattern slots given (1 ... 12), each with a dash of slot millimetres and a
// gap of 1.
void OfferPatterns(TParams& params, std::initializer_list<int> slots) {
    for (int slot : slots) {
        custPatternRec_t& pattern = params.slots.patterns[static_cast<size_t>(slot - 1)];
        pattern.offered = 1;
        pattern.count = 2;
        pattern.millimetres[0] = slot;
        pattern.millimetres[1] = 1.0;
    }
}

struct FineTuneRow {
    const char* list;
    int position;
    std::function<bool(const ItemRecord&)> changed;
};

TEST(TLinebox, EachListChangesTheSelectedLineAsOneUndoStep) {
    const FineTuneRow rows[] = {
        {"Color", 9, [](const ItemRecord& r) { return r.color == 0x0000FF; }}, // "Red"
        {"Weight", 3, [](const ItemRecord& r) { return r.lineWeight == 2.0; }},
        {"Pattern", 2, [](const ItemRecord& r) { return r.dashPattern == 2; }},
        // "Horizontal": turned about its first point, still 100 long.
        {"Direction", 1,
         [](const ItemRecord& r) { return r.fixedAngle == 0.0 && r.x2 == 110 && r.y2 == 10 && r.x1 == 10; }},
        {"Fill Color", 3, [](const ItemRecord& r) { return r.fillColor == 0x000080; }}, // "Maroon"
        {"Outline Weight", 2, [](const ItemRecord& r) { return r.lineWeightBase == 1.0; }},
        {"Surface", 1, [](const ItemRecord& r) { return r.surface == 127; }},
        {"Shadow", 2,
         [](const ItemRecord& r) {
             return r.shadowElevation == 50 && r.shadowFade == 20 && r.shadowLightness == 110;
         }},
    };
    for (const FineTuneRow& row : rows) {
        SCOPED_TRACE(row.list);
        LineFixture f;
        TLinebox panel(f.host, 99);
        TStyleCombo* list = test::ListNamed(panel, row.list);
        ASSERT_NE(list, nullptr);
        const int32_t colourBefore = f.line->color, endBefore = f.line->x2;
        Choose(list, row.position);
        EXPECT_EQ(f.host.window.edits, 1);
        ASSERT_NE(f.Current(), f.line);
        EXPECT_TRUE(row.changed(*f.Current()));
        UndoCommand(f.host.list, f.host.window);
        EXPECT_TRUE(IsLiveItem(f.line));
        EXPECT_EQ(f.line->color, colourBefore);
        EXPECT_EQ(f.line->x2, endBefore);
        EXPECT_FALSE(row.changed(*f.line));
    }
}

struct InsertRow {
    const char* list;
    int position;
    std::function<bool(const currentState_t&)> set;
    bool recorded;
};

TEST(TLinebox, WithoutSelectionEachListSetsWhatTheNextLineTakes) {
    const InsertRow rows[] = {
        {"Color", 12, [](const currentState_t& s) { return s.lineColor == 0xFF0000; }, true}, // "Blue"
        {"Weight", 5, [](const currentState_t& s) { return s.lineWidth == 5.0 && s.lineWidthTab == 5; }, true},
        {"Pattern", 4, [](const currentState_t& s) { return s.linePattern == 4 && s.linePatternTab == 0; }, true},
        {"Direction", 4,
         [](const currentState_t& s) { return s.lineDirection == 180.0 && s.lineDirectionTab == 4; }, true},
        {"Fill Color", 1, [](const currentState_t& s) { return s.lineFill == -1; }, true},
        {"Outline Weight", 1,
         [](const currentState_t& s) { return s.lineOutline == 0.5 && s.lineOutlineTab == 1; }, true},
        {"Surface", 1, [](const currentState_t& s) { return s.liplas == 127; }, false},
        {"Shadow", 1, [](const currentState_t& s) { return s.shpoly == ShadowStyle{30, 10, 100}; }, false},
    };
    for (const InsertRow& row : rows) {
        SCOPED_TRACE(row.list);
        FakePanelHost host;
        host.designOpen = false;
        TLinebox panel(host, 98);
        TStyleCombo* list = test::ListNamed(panel, row.list);
        ASSERT_NE(list, nullptr);
        Choose(list, row.position);
        EXPECT_TRUE(row.set(host.settings.state));
        // Basics lists are recorded in the panel history, Effects lists are not.
        EXPECT_EQ(host.recordedChanges, row.recorded ? 1 : 0);
    }
}

TEST(TLinebox, ShowsTheValuesOfTheSelectedLineAndNoEntryWhereLinesDiffer) {
    LineFixture f;
    f.line->color = 0xFF0000;   // "Blue", 12
    f.line->lineWeight = 1.0;   // "Thick", 2
    f.line->dashPattern = 3;    // "Center"
    f.line->fixedAngle = 270.0; // "Vertical (left)", 3
    f.line->fillColor = -1;     // "Clear", 1
    f.line->lineWeightBase = 2; // "Heavy", 3
    f.line->surface = 127;
    f.line->shadowElevation = 70; // "Broad", 3
    f.line->shadowFade = 30;
    f.line->shadowLightness = 120;
    {
        TLinebox panel(f.host, 99);
        EXPECT_EQ(panel.title(), "Fine-tune");
        const std::pair<TStyleCombo*, int> shown[] = {{panel.ColorBox, 12},   {panel.WeightBox, 2},
                                                      {panel.PatternBox, 3},  {panel.DirectionBox, 3},
                                                      {panel.FillBox, 1},     {panel.OutlineBox, 3},
                                                      {panel.SurfaceBox, 1},  {panel.ShadowBox, 3}};
        for (auto [list, position] : shown) {
            EXPECT_EQ(list->currentIndex(), position) << list->accessibleName().toStdString();
        }
    }
    // A second line of another weight: the weight shows no entry; "Medium" sets both.
    ItemRecord* other = test::Insert(f.host.list, ItemKind::Line, 0, 0, 50, 0);
    other->lineWeight = 0.0;
    test::Select(f.host.list, {f.line, other});
    TLinebox panel(f.host, 99);
    EXPECT_EQ(panel.WeightBox->currentIndex(), -1);
    Choose(panel.WeightBox, 1);
    for (ItemRecord* item : test::Selection(f.host.list)) {
        EXPECT_EQ(item->lineWeight, 0.5);
    }
    EXPECT_EQ(f.host.window.edits, 1);
}

TEST(TLinebox, EveryCustomPatternPositionNamesItsSlotForTheNextLine) {
    // Slots 3, 7 and 12 offered: the positions after "Customize..." stand for them.
    FakePanelHost host;
    host.designOpen = false;
    OfferPatterns(host.settings, {3, 7, 12});
    TLinebox panel(host, 98);
    ASSERT_EQ(panel.PatternBox->count(), 9);
    const std::pair<int, int> positionSlot[] = {{6, 3}, {7, 7}, {8, 12}, {2, 0}};
    for (auto [position, slot] : positionSlot) {
        Choose(panel.PatternBox, position);
        EXPECT_EQ(host.settings.state.linePattern, position);
        EXPECT_EQ(host.settings.state.linePatternTab, slot) << position;
    }
    // With all twelve offered, the last custom position (17) still names slot 12.
    FakePanelHost full;
    full.designOpen = false;
    OfferPatterns(full.settings, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    TLinebox all(full, 98);
    for (int position = 6; position <= 17; ++position) {
        Choose(all.PatternBox, position);
        EXPECT_EQ(full.settings.state.linePatternTab, position - 5);
    }
}

TEST(TLinebox, ACustomPatternChosenForASelectedLineIsCopiedIntoTheDesign) {
    LineFixture f;
    OfferPatterns(f.host.settings, {2, 8});
    TLinebox panel(f.host, 99);
    Choose(panel.PatternBox, 7); // slot 8: dash 8 mm, gap 1 mm
    const ItemRecord* line = f.Current();
    ASSERT_LT(line->dashPattern, 0);
    const PatternKey key = PatternOf(f.host.list, line->dashPattern);
    EXPECT_EQ(key.lengths, (std::vector<double>{8.0, 1.0}));
    // The panel opened again shows that entry.
    TLinebox again(f.host, 99);
    EXPECT_EQ(again.PatternBox->currentIndex(), 7);
}

TEST(TLinebox, FillAndOutlineWeightAppearForWideLinesOnly) {
    FakePanelHost host;
    host.designOpen = false;
    host.settings.state.lineFill = -2; // "Solid"
    TLinebox panel(host, 98);
    EXPECT_TRUE(panel.FillBox->isHidden());
    EXPECT_TRUE(panel.OutlineBox->isHidden());
    EXPECT_FALSE(panel.HintLines().isEmpty());
    Choose(panel.WeightBox, 5); // "Broad"
    EXPECT_FALSE(panel.FillBox->isHidden());
    EXPECT_TRUE(panel.OutlineBox->isHidden()); // the fill is "Solid"
    EXPECT_TRUE(panel.HintLines().isEmpty());
    Choose(panel.FillBox, 1); // "Clear"
    EXPECT_FALSE(panel.OutlineBox->isHidden());
}

TEST(TLinebox, CustomizeEntriesOpenTheirPagesAndTakeTheChosenSlotBack) {
    LineFixture f;
    TLinebox panel(f.host, 99);
    Choose(panel.PatternBox, kPatternCustomize);
    Choose(panel.WeightBox, kWeightCustomize);
    Choose(panel.DirectionBox, kDirectionCustomize);
    Choose(panel.ShadowBox, kShadowCustomize);
    EXPECT_EQ(f.host.pages, (std::vector<int>{kPatternPage, kWeightPage, kDirectionPage, kShadowPage}));
    EXPECT_EQ(f.host.window.edits, 0);
    EXPECT_EQ(panel.PatternBox->currentIndex(), 0);
    // The weight page closes with slot 4 chosen: the line takes it.
    custThicknessRec_t& slot = f.host.settings.slots.weights[3];
    slot.offered = slot.chosen = 1;
    slot.millimetres = 4.0;
    panel.StyleListsChanged(kWeightPage);
    EXPECT_EQ(f.Current()->lineWeight, 4.0);
    EXPECT_EQ(panel.WeightBox->currentIndex(), kWeightCustomize + 1);
    EXPECT_EQ(slot.chosen, 0);
}

TEST(TLinebox, ACustomColourJoinsTheListAndACancelledDialogChangesNothing) {
    FakePanelHost host;
    host.designOpen = false;
    TLinebox panel(host, 98);
    Choose(panel.ColorBox, 3);
    Choose(panel.ColorBox, kColourCustomize); // cancelled
    EXPECT_EQ(panel.ColorBox->currentIndex(), 3);
    EXPECT_EQ(host.settings.state.lineColor, 0x008080);
    host.pickedColour = 0x123456;
    Choose(panel.ColorBox, kColourCustomize);
    EXPECT_EQ(host.settings.state.lineColor, 0x123456);
    EXPECT_EQ(host.settings.slots.customColours[0], 0x123456);
    EXPECT_EQ(panel.ColorBox->currentIndex(), kColourCustomize + 1);
}

TEST(TLinebox, TheTabIsKeptForTheNextPanelAndAStrangeStoredTabShowsBasics) {
    FakePanelHost host;
    {
        TLinebox panel(host, 98);
        EXPECT_EQ(panel.tab(), 1);
        panel.SetTab(2);
    }
    TLinebox next(host, 99);
    EXPECT_EQ(next.tab(), 2);
    host.settings.panelTab = 7;
    TLinebox strange(host, 98);
    EXPECT_EQ(strange.tab(), 1);
}

TEST(TLinebox, TheColourOfSelectedLinesIsTheTextColourOfSelectedTextsInOneStep) {
    LineFixture f;
    ItemRecord* text = test::Insert(f.host.list, ItemKind::Text, 100, 100, 200, 130);
    text->color = 0x00FF00;
    test::Select(f.host.list, {f.line, text});
    TLinebox panel(f.host, 99);
    Choose(panel.ColorBox, 9); // "Red"
    EXPECT_EQ(f.host.window.edits, 1);
    for (ItemRecord* item : test::Selection(f.host.list)) {
        EXPECT_EQ(item->kind == ItemKind::Text ? item->textColor : item->color, 0x0000FF);
    }
    UndoCommand(f.host.list, f.host.window);
    EXPECT_TRUE(IsLiveItem(text));
    EXPECT_NE(text->textColor, 0x0000FF);
}

TEST(TLinebox, TheTabNotShownLightsUpUnderThePointerUntilItLeavesOrFiveSecondsPass) {
    FakePanelHost host;
    TLinebox panel(host, 98);
    panel.resize(160, 400);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    auto* tabs = panel.findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    QTimer* timer = panel.HoverTimer();
    ASSERT_NE(timer, nullptr);
    const QPoint basics = tabs->tabRect(0).center(), effects = tabs->tabRect(1).center();
    QTest::mouseMove(tabs, effects);
    EXPECT_EQ(panel.highlightedTab(), 1);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 5000);
    QTest::mouseMove(tabs, basics); // the current tab never lights up
    EXPECT_EQ(panel.highlightedTab(), -1);
    QTest::mouseMove(tabs, effects);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(tabs, &leave);
    EXPECT_EQ(panel.highlightedTab(), -1);
    EXPECT_FALSE(timer->isActive());
    // Chosen, the tab is the current one and shows plainly.
    QTest::mouseMove(tabs, effects);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, effects);
    EXPECT_EQ(panel.tab(), 2);
    EXPECT_EQ(panel.highlightedTab(), -1);
}

TEST(TLinebox, KeysInTheListChangeTheNextLine) {
    FakePanelHost host;
    host.designOpen = false;
    TLinebox panel(host, 98);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.WeightBox->setFocus();
    QTest::keyClick(panel.WeightBox, Qt::Key_Down);
    EXPECT_EQ(host.settings.state.lineWidth, 0.5);
    EXPECT_EQ(host.settings.state.lineWidthTab, 1);
}

} // namespace
} // namespace vlr
