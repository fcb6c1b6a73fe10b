// The grid options and speed pages in their hosts: which design or settings they work on.
#include "mainwindowfixture.h"

#include "styles/options.h"
#include "styles/speed.h"

#include <QCheckBox>
#include <QLineEdit>

namespace vlr::test {
namespace {

using GridPagesTest = MainWindowFixture;

TEST_F(GridPagesTest, TheSpeedPageActsOnTheWindowItWasOpenedForOnly) {
    FakeDesign* first = OpenDesign(1);
    FakeDesign* second = OpenDesign(2);
    first->switches.surfaces = false;
    form->ActivateDocument(1);
    form->Action("Tools/Speed")->trigger();
    auto* page = qobject_cast<Tspeed*>(formY->page());
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->Show3D->isChecked());
    page->ShowShadows->click();
    formY->LeftButtonClick();
    EXPECT_EQ(first->switches, (DisplaySwitches{.pictures = true, .shadows = false, .surfaces = false}));
    EXPECT_EQ(second->switches, DisplaySwitches{});
}

TEST_F(GridPagesTest, GridOptionsGoToTheDesignOrToTheSettingsOfNewFiles) {
    FakeDesign* design = OpenDesign(3);
    ItemRecord* header = FindRecord(design->items(), ItemKind::Header);
    header->units = 1;
    header->gridDensityX = header->gridDensityY = 25;
    form->Action("File/Grid and Snap/Current File")->trigger();
    auto* page = qobject_cast<TOptions*>(formX->page());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GridDensity[0]->text(), "25");
    page->GridDensity[0]->setText("40");
    page->ShowGridlines[0]->click();
    const defaults_t before = form->params().state.defaults;
    formX->LeftButtonClick();
    EXPECT_EQ(double(header->gridDensityX), 40.0);
    EXPECT_EQ(header->showGridX, 1);
    EXPECT_EQ(design->gridOptionChanges, 1);
    EXPECT_TRUE(form->Action("Tools/Grid/Horizontal")->isChecked());
    EXPECT_EQ(form->params().state.defaults, before);

    form->Action("File/Grid and Snap/New Files")->trigger();
    page = qobject_cast<TOptions*>(formX->page());
    ASSERT_NE(page, nullptr);
    page->SnapToGrid[1]->click();
    page->GridDensity[0]->setText("0.5");
    formX->LeftButtonClick();
    EXPECT_EQ(form->params().state.defaults.snapY, 1);
    EXPECT_EQ(form->params().state.defaults.perUnit[2].gridX, 0.5);
    EXPECT_EQ(double(header->gridDensityX), 40.0);
}

} // namespace
} // namespace vlr::test
