// The toolbar and the Insert panel in the main window: which buttons the active design offers,
// the pressed tool following the Insert panel, the Insert menu and the history, the zoom shared
// with the Zoom menu and the design, and the page setup link.
#include "app/editcommands.h"
#include "mainwindowfixture.h"
#include "model/history.h"
#include "panels/procs.h"
#include "panels/toolbox.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QTest>

namespace vlr {
namespace {

using test::FakeDesign;

class ToolbarInWindowTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        InstallEditCommands(*form);
        toolbar = form->Toolbar();
    }
    bool Shown(ToolbarButton button) { return !toolbar->Button(button)->isHidden(); }
    void Click(ToolbarButton button) { QTest::mouseClick(toolbar->Button(button), Qt::LeftButton); }
    // Runs the deferred command the way Timer1 would.
    void RunDeferred() {
        ASSERT_TRUE(form->Timer1.isActive());
        ASSERT_TRUE(QTest::qWaitFor([this] { return !form->Timer1.isActive(); }, 2000));
    }
    TToolbox* Insert() { return form->InsertPanel(); }
    TProcs* toolbar = nullptr;
};

TEST_F(ToolbarInWindowTest, ButtonsFollowTheSelectionOfTheActiveDesign) {
    FakeDesign* design = OpenDesign(3);
    ItemRecord* first = design->AddLine(false);
    ItemRecord* second = design->AddLine(false);
    struct Case {
        const char* what;
        bool firstSelected, secondSelected, grouped;
        bool front, join, split;
    };
    const Case cases[] = {
        {"nothing selected", false, false, false, false, false, false},
        {"one item", true, false, false, true, false, false},
        {"two items", true, true, false, true, true, false},
        {"a group", true, true, true, true, false, true},
    };
    for (const Case& each : cases) {
        first->selected = each.firstSelected ? 255 : 0;
        second->selected = each.secondSelected ? 255 : 0;
        first->groupId = second->groupId = each.grouped ? 1 : 0;
        form->RefreshDesignControls();
        for (ToolbarButton button :
             {ToolbarButton::Front, ToolbarButton::Back, ToolbarButton::Erase, ToolbarButton::Copy}) {
            EXPECT_EQ(Shown(button), each.front) << each.what;
        }
        EXPECT_EQ(Shown(ToolbarButton::Join), each.join) << each.what;
        EXPECT_EQ(Shown(ToolbarButton::Split), each.split) << each.what;
        EXPECT_EQ(form->Action("Edit/Join Items")->isEnabled(), each.join) << each.what;
        EXPECT_EQ(form->Action("Edit/Split Group")->isEnabled(), each.split) << each.what;
    }
    // Copy fills the program's clipboard: Paste appears.
    first->groupId = second->groupId = 0;
    form->RefreshDesignControls();
    EXPECT_FALSE(Shown(ToolbarButton::Paste));
    Click(ToolbarButton::Copy);
    EXPECT_TRUE(Shown(ToolbarButton::Paste));
    EXPECT_TRUE(form->Action("Edit/Paste")->isEnabled());
}

TEST_F(ToolbarInWindowTest, UndoIsGreyAndDeafWithoutEditsAndWorksAfterOne) {
    FakeDesign* design = OpenDesign(4);
    int undone = 0;
    form->hooks.edit.undo = [&] { ++undone; };
    form->RefreshUndoCommands(design->items());
    EXPECT_EQ(toolbar->Button(ToolbarButton::Undo)->look(), ButtonLook::Grey);
    EXPECT_EQ(toolbar->Button(ToolbarButton::Redo)->look(), ButtonLook::Grey);
    form->ShowPanel(98);
    Click(ToolbarButton::Undo);
    EXPECT_EQ(undone, 0);
    EXPECT_EQ(form->currentPanel(), 98);

    ItemRecord* line = design->AddLine(false);
    line->historyState = kUndoable;
    form->RefreshUndoCommands(design->items());
    EXPECT_EQ(toolbar->Button(ToolbarButton::Undo)->look(), ButtonLook::Plain);
    Click(ToolbarButton::Undo);
    EXPECT_EQ(undone, 1);
    EXPECT_EQ(form->currentPanel(), 20); // undo returns to the Insert panel
}

TEST_F(ToolbarInWindowTest, PressedToolFollowsTheInsertPanelTheMenuAndTheHistory) {
    OpenDesign(5);
    ASSERT_NE(Insert(), nullptr);
    EXPECT_EQ(toolbar->CurrentTool(), ToolbarButton::Select);

    // A row of the Insert panel: the switch comes from the deferred command, and a second click
    // before it is ignored.
    QTest::mouseClick(Insert()->Row(2), Qt::LeftButton); // "Line"
    QTest::mouseClick(Insert()->Row(9), Qt::LeftButton); // "Circle", too late
    RunDeferred();
    EXPECT_EQ(form->currentPanel(), 98);
    EXPECT_EQ(toolbar->CurrentTool(), ToolbarButton::InsertLine);
    EXPECT_EQ(toolbar->Button(ToolbarButton::InsertLine)->look(), ButtonLook::Pressed);
    EXPECT_EQ(toolbar->Button(ToolbarButton::Select)->look(), ButtonLook::Plain);

    form->Action("Insert/Circle")->trigger();
    EXPECT_EQ(form->currentPanel(), 103);
    EXPECT_EQ(toolbar->CurrentTool(), ToolbarButton::InsertCircle);

    Click(ToolbarButton::InsertText);
    EXPECT_EQ(form->currentPanel(), 300);
    EXPECT_EQ(toolbar->CurrentTool(), ToolbarButton::InsertText);
    Click(ToolbarButton::Select);
    EXPECT_EQ(form->currentPanel(), 20);
    EXPECT_EQ(toolbar->CurrentTool(), ToolbarButton::Select);

    // The Insert panel takes clicks again after the switch; Back walks the real switches.
    QTest::mouseClick(Insert()->Row(13), Qt::LeftButton); // "Star"
    RunDeferred();
    EXPECT_EQ(form->currentPanel(), 105);
    form->GoBack();
    EXPECT_EQ(form->currentPanel(), 20);
    form->GoBack();
    EXPECT_EQ(form->currentPanel(), 300);
    EXPECT_EQ(toolbar->CurrentTool(), ToolbarButton::InsertText);
    form->GoForward();
    form->GoForward();
    EXPECT_EQ(form->currentPanel(), 105);
    EXPECT_EQ(toolbar->CurrentTool(), ToolbarButton::InsertStar);
}

TEST_F(ToolbarInWindowTest, ZoomIsSharedByTheToolbarTheMenuAndTheDesign) {
    FakeDesign* design = OpenDesign(6);
    QTest::mouseClick(toolbar->ZoomInButton(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(design->zoom, 1.25);
    EXPECT_DOUBLE_EQ(form->params().zoom, 1.25);
    EXPECT_TRUE(form->Action("Zoom/125%")->isChecked());

    form->Action("Zoom/300%")->trigger();
    EXPECT_EQ(toolbar->ZoomBar()->value(), 300);
    EXPECT_EQ(toolbar->ZoomLabel()->text(), "300%");
    QTest::mouseClick(toolbar->ZoomInButton(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(design->zoom, 3.0);

    toolbar->ZoomBar()->setValue(37);
    EXPECT_DOUBLE_EQ(design->zoom, 0.37);
    for (QAction* entry : form->Menu("Zoom")->actions()) {
        EXPECT_FALSE(entry->isChecked()) << entry->text().toStdString();
    }
    // A design that changes its zoom itself moves the slider.
    form->SetGlobalZoom(0.5);
    EXPECT_EQ(toolbar->ZoomBar()->value(), 50);
    EXPECT_EQ(toolbar->ZoomLabel()->text(), "50%");
}

TEST_F(ToolbarInWindowTest, GridlinesAndSnapButtonsWorkThroughTheMenus) {
    FakeDesign* design = OpenDesign(7);
    ItemRecord* header = FindRecord(design->items(), ItemKind::Header);
    Click(ToolbarButton::Gridlines);
    EXPECT_TRUE(header->showGridX && header->showGridY);
    EXPECT_TRUE(form->Action("Tools/Grid/Both")->isChecked());
    Click(ToolbarButton::Snap);
    EXPECT_TRUE(header->snapX && header->snapY);
    Click(ToolbarButton::Gridlines);
    EXPECT_FALSE(header->showGridX || header->showGridY);
    EXPECT_FALSE(toolbar->gridlinesOn());
    EXPECT_TRUE(toolbar->snapOn());
    EXPECT_EQ(toolbar->Button(ToolbarButton::Snap)->look(), ButtonLook::Pressed);
}

TEST_F(ToolbarInWindowTest, PageSetupLinkOpensTheWizardAndHidesUntilTheNextVisit) {
    OpenDesign(8);
    ASSERT_TRUE(Insert()->SetupLinkShown());
    EXPECT_TRUE(Insert()->SetupLink()->text().contains("Page Setup"));
    Insert()->SetFirstTimeSetupShowing(true);
    EXPECT_FALSE(Insert()->SetupLinkShown());
    Insert()->SetFirstTimeSetupShowing(false);
    Q_EMIT Insert()->SetupLink()->linkActivated("setup");
    EXPECT_EQ(formX->currentPage(), 54);
    EXPECT_FALSE(Insert()->SetupLinkShown());
    formX->RightButtonClick();
    form->ShowPanel(98);
    form->ShowPanel(20);
    EXPECT_TRUE(Insert()->SetupLinkShown());
}

} // namespace
} // namespace vlr
