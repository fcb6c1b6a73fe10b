// The side panels' history and the what-next suggestions, without windows.
#include "app/panelhistory.h"

#include <gtest/gtest.h>

namespace vlr {
namespace {

LineStyleSnapshot Line(int32_t colour) { return {colour, 0.5, 0, -1.0, 0.0}; }
TextStyleSnapshot Text() { return {}; }

auto Always = [](const HistoryEntry&) { return true; };
auto Never = [](const HistoryEntry&) { return false; };

TEST(PanelHistory, RepeatingAPanelWithTheSameStyleRecordsOnce) {
    PanelHistory history;
    EXPECT_NE(history.Record(98, Line(0), Text(), 1, 11), nullptr);
    EXPECT_EQ(history.Record(98, Line(0), Text(), 1, 12), nullptr);
    EXPECT_EQ(history.entries().size(), 1u);
    // Another line colour is another entry.
    EXPECT_NE(history.Record(98, Line(255), Text(), 1, 13), nullptr);
    EXPECT_EQ(history.entries().size(), 2u);
    // Fine-tune panels record every switch; codes outside the history none.
    EXPECT_NE(history.Record(99, Line(255), Text(), 1, 14), nullptr);
    EXPECT_NE(history.Record(99, Line(255), Text(), 1, 15), nullptr);
    EXPECT_EQ(history.Record(302, Line(255), Text(), 1, 16), nullptr);
    EXPECT_EQ(history.Record(5000, Line(255), Text(), 1, 17), nullptr);
    EXPECT_EQ(history.entries().size(), 4u);
    EXPECT_EQ(history.entries().back().order, 4);
}

TEST(PanelHistory, BackReachesTheFineTunePanelOrSkipsIt) {
    // Line, fine-tune the line, Insert.
    PanelHistory history;
    history.Record(98, Line(0), Text(), 1, 1);
    history.Record(99, Line(0), Text(), 1, 2);
    history.Record(20, Line(0), Text(), 1, 3);
    EXPECT_TRUE(history.CanGoBack(Always));
    EXPECT_FALSE(history.CanGoForward(Always));

    PanelHistory skipping = history;
    std::optional<HistoryEntry> target = history.StepBack(Always);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->panelCode, 99);
    EXPECT_EQ(target->tag, 2);
    EXPECT_TRUE(history.CanGoForward(Always));

    // The fine-tuned line is gone: Back goes on to the line panel.
    target = skipping.StepBack(Never);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->panelCode, 98);

    // Forward returns to where Back started.
    target = history.StepForward(Always);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->panelCode, 20);
    EXPECT_FALSE(history.StepForward(Always));
}

TEST(PanelHistory, ANewSwitchDropsTheWayForward) {
    PanelHistory history;
    history.Record(20, Line(0), Text(), -1, -1);
    history.Record(98, Line(0), Text(), -1, -1);
    history.Record(300, Line(0), Text(), -1, -1);
    history.StepBack(Always);
    history.StepBack(Always);
    history.Record(59, Line(0), Text(), 1, 5);
    ASSERT_EQ(history.entries().size(), 2u);
    EXPECT_EQ(history.entries()[0].panelCode, 20);
    EXPECT_EQ(history.entries()[1].panelCode, 59);
    EXPECT_FALSE(history.CanGoForward(Always));
    // At the first entry there is no way back.
    history.StepBack(Never);
    EXPECT_FALSE(history.StepBack(Always));
}

TEST(Suggestions, TextsOfEveryKind) {
    EXPECT_EQ(SuggestionText(1), "Insert new item");
    EXPECT_EQ(SuggestionText(8), "Start new triangle");
    EXPECT_EQ(SuggestionText(9), "Fine-tune");
    EXPECT_EQ(SuggestionText(18), "Fine-tune this circle");
    EXPECT_EQ(SuggestionText(19), "Move this circle");
    EXPECT_EQ(SuggestionText(20), "Start new ellipse");
    EXPECT_EQ(SuggestionText(24), "Fine-tune this polygon");
    EXPECT_EQ(SuggestionText(46), "Move this oblong");
    EXPECT_EQ(SuggestionText(48), "Fine-tune this clip");
    EXPECT_EQ(SuggestionText(53), "Split group");
    for (int n = 1; n <= kSuggestionCount; ++n) {
        EXPECT_FALSE(SuggestionText(n).empty()) << n;
    }
}

TEST(Suggestions, SetsPerPanel) {
    SuggestionContext none;
    SuggestionContext selected{true, false};
    SuggestionContext text{true, true};
    EXPECT_TRUE(SuggestionsFor(20, none).empty());
    EXPECT_EQ(SuggestionsFor(98, none), (std::vector<int>{1}));
    EXPECT_EQ(SuggestionsFor(98, selected), (std::vector<int>{1, 3}));
    EXPECT_EQ(SuggestionsFor(300, selected), (std::vector<int>{1}));
    EXPECT_EQ(SuggestionsFor(303, text), (std::vector<int>{1, 6}));
    EXPECT_EQ(SuggestionsFor(204, none), (std::vector<int>{1, 20}));
    EXPECT_EQ(SuggestionsFor(208, none), (std::vector<int>{1, 38}));
    EXPECT_EQ(SuggestionsFor(299, none), (std::vector<int>{1, 23}));
    EXPECT_EQ(SuggestionsFor(209, none), (std::vector<int>{1}));
    EXPECT_TRUE(SuggestionsFor(205, none).empty());
    EXPECT_EQ(SuggestionsFor(1043, none), (std::vector<int>{1, 8, 9, 10}));
    EXPECT_EQ(SuggestionsFor(1072, none), (std::vector<int>{1, 44, 45}));
    EXPECT_TRUE(SuggestionsFor(1070, none).empty());
    EXPECT_EQ(SuggestionsFor(1038, none), (std::vector<int>{1}));
    EXPECT_EQ(SuggestionsFor(401, none), (std::vector<int>{1, 47, 50, 51}));
    // At most four rows, the lowest numbers first.
    EXPECT_EQ(VisibleSuggestions({53, 1, 47, 50, 51, 2}), (std::vector<int>{1, 2, 47, 50}));
}

TEST(Suggestions, Actions) {
    SuggestionAction moveLine = ActionOfSuggestion(4);
    EXPECT_EQ(moveLine.kind, SuggestionAction::ShowHint);
    EXPECT_EQ(moveLine.code, 1025);
    EXPECT_TRUE(moveLine.selectLast);
    EXPECT_EQ(moveLine.fallbackPanel, 99);
    SuggestionAction fineTuneStar = ActionOfSuggestion(27);
    EXPECT_EQ(fineTuneStar.code, 206);
    EXPECT_TRUE(fineTuneStar.selectLast);
    EXPECT_EQ(ActionOfSuggestion(37).code, 1063);   // move this solid
    EXPECT_EQ(ActionOfSuggestion(50).kind, SuggestionAction::Deferred);
    EXPECT_EQ(ActionOfSuggestion(52).code, 59);
}

} // namespace
} // namespace vlr
