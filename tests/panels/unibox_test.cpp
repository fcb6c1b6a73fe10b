// The multiple-selection panel on a selection of items of different kinds: the common colour, fill
// and outline weight shown and changed as one undo step each, the transform buttons, and the
// hint lines that join the selection and split its groups.
#include "panels/unibox.h"

#include "panelhost.h"
#include "panels/picturebutton.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace vlr {
namespace {

using test::Choose;
using test::FakePanelHost;

constexpr int32_t kRed = 0x0000FF, kBlue = 0xFF0000;

struct MixedFixture {
    FakePanelHost host;
    ItemRecord* text = nullptr;
    ItemRecord* line = nullptr;
    ItemRecord* clip = nullptr;

    // A red text, a red line of 0.5 mm and a clip; the clip takes part in nothing.
    MixedFixture() {
        text = test::Insert(host.list, ItemKind::Text, 20, 40, 120, 40);
        text->textColor = kRed;
        line = test::Insert(host.list, ItemKind::Line, 10, 10, 70, 90);
        line->color = kRed;
        line->lineWeight = 0.5;
        line->fillColor = -2;
        clip = test::Insert(host.list, ItemKind::Clip, 200, 200, 260, 260);
        clip->color = 0x00FF00;
        clip->scaleX = 1.0;
        test::Select(host.list, {text, line, clip});
    }
    const ItemRecord* Current(int32_t kind) const {
        for (const ItemRecord* item : test::Selection(host.list)) {
            if (item->kind == kind) {
                return item;
            }
        }
        return nullptr;
    }
};

TEST(TUnibox, EachListChangesTheMixedSelectionAsOneUndoStep) {
    const struct {
        const char* list;
        int position;
        std::function<bool(const MixedFixture&)> changed;
    } rows[] = {
        {"Color", 12, // "Blue": the line's colour and the text's; the clip keeps its frame colour
         [](const MixedFixture& f) {
             return f.Current(ItemKind::Line)->color == kBlue &&
                    f.Current(ItemKind::Text)->textColor == kBlue &&
                    f.Current(ItemKind::Clip)->color == 0x00FF00;
         }},
        {"Fill Color", 1, [](const MixedFixture& f) { return f.Current(ItemKind::Line)->fillColor == -1; }},
        {"Outline Weight", 3,
         [](const MixedFixture& f) { return f.Current(ItemKind::Line)->lineWeight == 2.0; }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.list);
        MixedFixture f;
        TUnibox panel(f.host);
        Choose(test::ListNamed(panel, row.list), row.position);
        EXPECT_EQ(f.host.window.edits, 1);
        EXPECT_EQ(f.host.recordedChanges, 1);
        EXPECT_TRUE(row.changed(f));
        UndoCommand(f.host.list, f.host.window);
        EXPECT_EQ(f.line->color, kRed);
        EXPECT_EQ(f.text->textColor, kRed);
        EXPECT_EQ(f.line->fillColor, -2);
        EXPECT_EQ(f.line->lineWeight, 0.5);
    }
}

TEST(TUnibox, TheListsShowWhatTheSelectionShares) {
    MixedFixture f;
    {
        TUnibox panel(f.host);
        EXPECT_EQ(panel.ColorBox->currentText(), "Red");
        EXPECT_EQ(panel.FillBox->currentText(), "Solid");
        EXPECT_EQ(panel.WeightBox->currentIndex(), 1); // 0.5 mm
        EXPECT_FALSE(panel.FillBox->isHidden());
    }
    // A text and a clip: only the colour, the text's.
    test::Select(f.host.list, {f.text, f.clip});
    TUnibox panel(f.host);
    EXPECT_EQ(panel.ColorBox->currentText(), "Red");
    EXPECT_TRUE(panel.FillBox->isHidden());
    EXPECT_TRUE(panel.WeightBox->isHidden());
    // A text of another colour: no colour shown.
    f.text->textColor = kBlue;
    test::Select(f.host.list, {f.text, f.line});
    TUnibox mixed(f.host);
    EXPECT_EQ(mixed.ColorBox->currentIndex(), -1);
}

TEST(TUnibox, TheTransformButtonsMirrorAndTurnTheSelection) {
    MixedFixture f;
    TUnibox panel(f.host);
    const double scaleBefore = f.clip->scaleX;
    QTest::mouseClick(panel.Buttons[0], Qt::LeftButton, {}, panel.Buttons[0]->rect().center());
    EXPECT_EQ(f.host.window.edits, 1);
    EXPECT_EQ(double(f.Current(ItemKind::Clip)->scaleX), -scaleBefore);
    UndoCommand(f.host.list, f.host.window);
    EXPECT_EQ(double(f.clip->scaleX), scaleBefore);
}

TEST(TUnibox, JoinAndSplitLinksAreLinksOnlyWhileTheyApply) {
    MixedFixture f;
    TUnibox panel(f.host);
    EXPECT_TRUE(panel.joinAllowed());
    EXPECT_FALSE(panel.splitAllowed());
    EXPECT_EQ(panel.HintLines()[0], "Hold down the Shift key to select more items.");
    EXPECT_TRUE(panel.HintLines()[1].contains("href"));
    EXPECT_FALSE(panel.HintLines()[2].contains("href"));

    panel.JoinClick();
    EXPECT_EQ(CountSelectedMarkers(f.host.list), 1); // the new group's marker
    EXPECT_FALSE(panel.joinAllowed());
    EXPECT_FALSE(panel.HintLines()[1].contains("href"));

    // The joined selection: its group splits and the Insert panel follows.
    TUnibox grouped(f.host);
    EXPECT_TRUE(grouped.splitAllowed());
    EXPECT_TRUE(grouped.HintLines()[2].contains("href"));
    grouped.SplitClick();
    EXPECT_EQ(CountSelectedMarkers(f.host.list), 0);
    EXPECT_EQ(f.host.switches, std::vector<int>{20});
    EXPECT_FALSE(grouped.splitAllowed());
}

// The hint line that holds a text.
QLabel* LineWith(QWidget& panel, const QString& words) {
    for (QLabel* label : panel.findChildren<QLabel*>()) {
        if (label->text().contains(words)) {
            return label;
        }
    }
    return nullptr;
}

TEST(TUnibox, PointingAtALinkLineLightsItsCommandUntilThePointerLeaves) {
    const struct {
        const char* name;
        bool grouped;      // the selection is joined first, so that Split applies and Join not
        const char* words; // of the line pointed at
        bool link;
        ToolbarButton button;
        int row; // the what-next row lit
    } rows[] = {
        {"join", false, "Join items", true, ToolbarButton::Join, 2},
        {"split without a group", false, "Split group", false, ToolbarButton::Split, 3},
        {"split", true, "Split group", true, ToolbarButton::Split, 3},
        {"join of one group", true, "Join items", false, ToolbarButton::Join, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        MixedFixture f;
        if (row.grouped) {
            JoinSelection(f.host.list, f.host.window);
        }
        TUnibox panel(f.host);
        QLabel* line = LineWith(panel, row.words);
        ASSERT_NE(line, nullptr);
        const bool join = row.button == ToolbarButton::Join;
        test::PointerEnters(line);
        EXPECT_EQ(join ? panel.joinLit() : panel.splitLit(), row.link);
        EXPECT_EQ(line->text().contains("color:blue"), row.link);
        EXPECT_EQ(f.host.lit.size(), row.link ? 1u : 0u);
        if (row.link) {
            EXPECT_EQ(f.host.lit[0], std::make_pair(row.button, row.row));
            EXPECT_EQ(line->cursor().shape(), Qt::PointingHandCursor);
        }
        test::PointerLeaves(line);
        EXPECT_FALSE(panel.joinLit() || panel.splitLit());
        EXPECT_FALSE(line->text().contains("color:blue"));
        EXPECT_EQ(f.host.plainCommands, row.link ? 1 : 0);
    }
}

TEST(TUnibox, PressingTheLitJoinLineJoinsAndTheLineGoesPlain) {
    MixedFixture f;
    TUnibox panel(f.host);
    QLabel* line = LineWith(panel, "Join items");
    test::PointerEnters(line);
    QTest::mousePress(line, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(CountSelectedMarkers(f.host.list), 1);
    EXPECT_FALSE(panel.joinLit());
    EXPECT_FALSE(line->text().contains("href"));
    EXPECT_EQ(f.host.plainCommands, 1);
}

TEST(TUnibox, TheWeightPreviewsUseTheCommonColourOrBlackWhenMixed) {
    MixedFixture f;
    const auto previews = [](TUnibox& panel) {
        std::vector<QColor> colours;
        for (int i = 0; i < panel.WeightBox->count(); ++i) {
            colours.push_back(panel.WeightBox->itemData(i, kEntryRole).value<ListEntry>().preview);
        }
        return colours;
    };
    const QColor red(255, 0, 0), blue(0, 0, 255), black(0, 0, 0);
    {
        TUnibox panel(f.host);
        ASSERT_GT(panel.WeightBox->count(), 6);
        EXPECT_EQ(previews(panel), std::vector<QColor>(static_cast<size_t>(panel.WeightBox->count()), red));
        Choose(panel.ColorBox, 12); // "Blue"
        EXPECT_EQ(previews(panel)[0], blue);
    }
    MixedFixture g;
    g.line->color = kBlue;
    TUnibox mixed(g.host);
    EXPECT_EQ(previews(mixed)[0], black);
}

TEST(TUnibox, TheTransformButtonsArePicturesInOneRowThatFitsTheColumn) {
    // Squares from left 2, 2 pixels apart at top 24; the narrowest side column (120) leaves
    // (120 - 2 - 2 - 3 * 2) / 4 = 27 pixels each, a wide one stops at the toolbar's 28.
    const struct {
        int width;
        int lefts[4];
        int side;
    } rows[] = {{120, {2, 31, 60, 89}, 27}, {260, {2, 32, 62, 92}, 28}};
    const QString hints[4] = {"Mirror", "Flip", "Rotate", "Rotate"};
    const Glyph glyphs[4] = {Glyph::Mirror, Glyph::Flip, Glyph::TurnLeft, Glyph::TurnRight};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.width);
        MixedFixture f;
        TUnibox panel(f.host);
        panel.resize(row.width, 500);
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            TPictureButton* button = panel.Buttons[i];
            EXPECT_EQ(button->geometry(), QRect(row.lefts[i], 24, row.side, row.side));
            EXPECT_EQ(button->toolTip(), hints[i]);
            EXPECT_EQ(button->glyph(), glyphs[i]);
            EXPECT_TRUE(button->text().isEmpty());
            // Nothing of the frame lies over the button: a click at its middle reaches it.
            EXPECT_EQ(panel.childAt(button->geometry().center()), button);
        }
        // The lists start below the buttons.
        EXPECT_GT(panel.ColorBox->mapTo(&panel, QPoint(0, 0)).y(), 24 + row.side);
    }
}

TEST(TransformButtonPlaces, AFifthButtonFollowsTheRowWhenItFitsElseGoesBelow) {
    const struct {
        int width, extraWidth;
        QRect extra;
    } rows[] = {
        {120, 30, QRect(2, 53, 30, 20)},   // the four end at 116: under them, 2 pixels down
        {260, 30, QRect(122, 24, 30, 28)}, // after the fourth (92 + 28 + 2), as tall as the row
        {154, 30, QRect(122, 24, 30, 28)}, // ends 2 pixels short of the edge
        {153, 30, QRect(2, 24 + 28 + 2, 30, 20)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.width);
        const std::vector<QRect> places = TransformButtonPlaces(row.width, 24, row.extraWidth);
        ASSERT_EQ(places.size(), 5u);
        EXPECT_EQ(places[4], row.extra);
    }
}

} // namespace
} // namespace vlr
