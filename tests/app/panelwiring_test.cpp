// The line and shape panels in the main window: the panel codes that show them, the query the
// insertion tools ask, the history entry of a style change, and a customizing page opened from
// a list whose chosen slot the panel takes when the page closes.
#include "app/panelwiring.h"

#include "app/editcommands.h"
#include "app/mainwindowfixture.h"
#include "panels/linebox.h"
#include "panels/picturebutton.h"
#include "panels/procs.h"
#include "panels/colorbox.h"
#include "panels/panelhost.h"
#include "panels/shapebox.h"
#include "panels/textbox.h"
#include "panels/unibox.h"

#include <QLabel>

#include <algorithm>
#include <functional>

namespace vlr {
namespace {

class PanelWiringTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        InstallSidePanels(*form);
    }
};

TEST_F(PanelWiringTest, PanelCodesShowTheirPanelsAndOnlyShapeCodesCountAsTheShapePanel) {
    const struct {
        int code;
        bool line, shape;
    } rows[] = {{98, true, false}, {99, true, false}, {102, false, true}, {199, false, true},
                {209, false, true}, {298, false, true}, {20, false, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        form->ShowPanel(row.code, false);
        EXPECT_EQ(qobject_cast<TLinebox*>(form->PanelFrame()) != nullptr, row.line);
        EXPECT_EQ(qobject_cast<TPolybox*>(form->PanelFrame()) != nullptr, row.shape);
        EXPECT_EQ(form->ShapePanelShowing(), row.shape);
    }
}

TEST_F(PanelWiringTest, AStyleChangeIsRecordedAndTheWeightPageHandsItsSlotBack) {
    form->ShowPanel(98, false);
    auto* panel = qobject_cast<TLinebox*>(form->PanelFrame());
    ASSERT_NE(panel, nullptr);
    const size_t before = form->history().entries().size();
    test::Choose(panel->ColorBox, 9);
    EXPECT_EQ(form->params().state.lineColor, 0x0000FF);
    EXPECT_EQ(form->history().entries().size(), before + 1);

    test::Choose(panel->WeightBox, kWeightCustomize);
    EXPECT_EQ(formY->currentPage(), kWeightPage);
    // The page saved slot 2 as chosen; closing it brings the slot to the panel.
    custThicknessRec_t& slot = form->params().slots.weights[1];
    slot.offered = slot.chosen = 1;
    slot.millimetres = 1.5;
    formY->hide();
    EXPECT_EQ(form->params().state.lineWidth, 1.5);
    EXPECT_EQ(form->params().state.lineWidthTab, kWeightCustomize + 1);
}

TEST_F(PanelWiringTest, TheLinePanelFollowsTheLineDrawnAndUndoLeavesAFineTunePanel) {
    form->ShowPanel(98, false);
    auto* panel = qobject_cast<TLinebox*>(form->PanelFrame());
    ASSERT_NE(panel, nullptr);
    const QString start = "Click where you want to start the line, or...";
    const QString end = "Click where you want to end the line.";
    EXPECT_TRUE(panel->HintLines().contains(start));
    form->PanelStep(1);
    EXPECT_TRUE(panel->HintLines().contains(end));
    form->PanelStep(0);
    EXPECT_TRUE(panel->HintLines().contains(start));

    // After Undo nothing is selected: the fine-tune panel gives way to the insert panel.
    InstallEditCommands(*form);
    test::FakeDesign* design = OpenDesign(1);
    for (const char* entry : {"Edit/Undo", "Edit/Redo"}) {
        SCOPED_TRACE(entry);
        design->AddLine(true);
        form->ShowPanel(99, false);
        form->Action(entry)->setEnabled(true);
        form->Action(entry)->trigger();
        EXPECT_EQ(form->currentPanel(), 20);
    }
    // Other panels stay.
    form->ShowPanel(98, false);
    form->Action("Edit/Undo")->setEnabled(true);
    form->Action("Edit/Undo")->trigger();
    EXPECT_EQ(form->currentPanel(), 98);
}

TEST_F(PanelWiringTest, TextClipAndMixedSelectionCodesShowTheirPanels) {
    const struct {
        int code;
        std::function<bool(QWidget*)> is;
    } rows[] = {{300, [](QWidget* w) { return qobject_cast<TTextbox*>(w) != nullptr; }},
                {301, [](QWidget* w) { return qobject_cast<TTextbox*>(w) != nullptr; }},
                {401, [](QWidget* w) { return qobject_cast<TColorbox*>(w) != nullptr; }},
                {59, [](QWidget* w) { return qobject_cast<TUnibox*>(w) != nullptr; }}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        form->ShowPanel(row.code, false);
        EXPECT_TRUE(row.is(form->PanelFrame()));
    }
}

TEST_F(PanelWiringTest, TheTextPanelOffersTheInstalledFamiliesWithTheirCharacterSets) {
    // The main window reads the families shortly after it starts.
    form->Timer5.start();
    const std::vector<FontListEntry>& fonts = form->params().fontList;
    for (int wait = 0; wait < 100 && fonts.empty(); ++wait) {
        QTest::qWait(50);
    }
    ASSERT_FALSE(fonts.empty());
    // The free faces the program installs show Western letters.
    EXPECT_TRUE(std::any_of(fonts.begin(), fonts.end(), [](const FontListEntry& f) {
        return std::find(f.charsets.begin(), f.charsets.end(), 1) != f.charsets.end();
    }));
    form->ShowPanel(300, false);
    auto* panel = qobject_cast<TTextbox*>(form->PanelFrame());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->NameBox->count(), static_cast<int>(fonts.size()));
    // A style change of the text panel is a step of the panel history.
    const size_t before = form->history().entries().size();
    test::Choose(panel->SizeBox, 2);
    EXPECT_EQ(form->params().state.tsize, 10);
    EXPECT_EQ(form->history().entries().size(), before + 1);
}

TEST_F(PanelWiringTest, TheJoinLineOfTheMixedSelectionPanelLightsTheToolbarsJoinAndTheSecondWhatNextRow) {
    test::FakeDesign* design = OpenDesign(1);
    ItemRecord* text = test::Insert(design->items(), ItemKind::Text, 20, 40, 120, 40);
    ItemRecord* line = test::Insert(design->items(), ItemKind::Line, 10, 10, 70, 90);
    test::Select(design->items(), {text, line});
    form->ShowPanel(59, false);
    auto* panel = qobject_cast<TUnibox*>(form->PanelFrame());
    ASSERT_NE(panel, nullptr);
    QLabel* joinLine = nullptr;
    for (QLabel* label : panel->findChildren<QLabel*>()) {
        if (label->text().contains("Join items")) {
            joinLine = label;
        }
    }
    ASSERT_NE(joinLine, nullptr);
    TPictureButton* join = form->Toolbar()->Button(ToolbarButton::Join);
    ASSERT_FALSE(join->isHidden());

    test::PointerEnters(joinLine);
    EXPECT_EQ(join->look(), ButtonLook::Highlighted);
    EXPECT_TRUE(form->Toolbar()->HighlightTimer.isActive());
    EXPECT_EQ(form->SuggestionRowButton(2)->look(), ButtonLook::Highlighted);
    EXPECT_EQ(form->SuggestionRowButton(3)->look(), ButtonLook::Plain);
    EXPECT_TRUE(form->Timer3.isActive());
    EXPECT_TRUE(panel->joinLit());

    // Off the line, onto a transform button say: the toolbar and the what-next rows rest again.
    test::PointerLeaves(joinLine);
    test::PointerEnters(panel->Buttons[0]);
    EXPECT_EQ(join->look(), ButtonLook::Plain);
    EXPECT_EQ(form->SuggestionRowButton(2)->look(), ButtonLook::Plain);
    EXPECT_FALSE(panel->joinLit());

    // Joined, the selection is one group: the panel's links follow the toolbar's Join and Split.
    JoinSelection(design->items(), design->commands());
    form->RefreshDesignControls();
    EXPECT_TRUE(join->isHidden());
    EXPECT_FALSE(panel->joinAllowed());
    EXPECT_TRUE(panel->splitAllowed());
}

} // namespace
} // namespace vlr
