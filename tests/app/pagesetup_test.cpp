// The page-setup wizard in the large host, opened from the File menu and the Insert panel's
// entry point: for new files, and applied to an open design window, which shows the new page
// with its gridlines respaced.
#include "app/dialoghost.h"
#include "app/mainwindow.h"
#include "app/pages.h"
#include "canvas/sandbox.h"
#include "mainwindowfixture.h"
#include "model/history.h"
#include "model/itemkind.h"
#include "model/prompt.h"
#include "output/page.h"
#include "output/pagebox.h"
#include "output/pagedim.h"
#include "platform/inistore.h"
#include "settings/designtype.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

namespace vlr {
namespace {

using test::FakeDesign;

class PageSetupTest : public test::MainWindowFixture {
protected:
    TPage* Page() { return qobject_cast<TPage*>(formX->page()); }
    // Chooses a type in the chooser as the mouse does: point at its row, click it.
    void Choose(int32_t type) {
        ASSERT_NE(Page(), nullptr);
        if (!Page()->Chooser()) {
            QTest::mouseClick(Page()->BackToChooser(), Qt::LeftButton);
        }
        TPagebox* chooser = Page()->Chooser();
        ASSERT_NE(chooser, nullptr);
        const auto& types = TPagebox::RowTypes();
        const int row = static_cast<int>(std::find(types.begin(), types.end(), type) - types.begin());
        QTest::mouseMove(chooser, chooser->RowRect(row).center());
        QTest::mouseClick(chooser, Qt::LeftButton, {}, chooser->RowRect(row).center());
        ASSERT_TRUE(QTest::qWaitFor([this] { return Page()->Dimensions() != nullptr; }));
        ASSERT_EQ(Page()->Dimensions()->DesignType(), type);
    }
};

TEST_F(PageSetupTest, NewFilesTakeTheChosenTypeAndItsPage) {
    form->Action("File/Page Setup/New Files")->trigger();
    ASSERT_NE(Page(), nullptr);
    EXPECT_TRUE(Page()->forNewFiles());
    EXPECT_EQ(formX->windowTitle(), "Page Setup - New Files");
    EXPECT_EQ(formX->leftButton()->text(), "Apply");
    EXPECT_EQ(formX->rightButton()->text(), "Cancel");
    EXPECT_EQ(Page()->Dimensions()->DesignType(), DesignType::BusinessCards);
    Choose(DesignType::Labels);
    formX->LeftButtonClick();
    EXPECT_EQ(form->params().state.pspage, DesignType::Labels);
    EXPECT_FALSE(formX->isVisible());
}

TEST_F(PageSetupTest, TheInsertPanelsEntryPointSetsUpNewFilesWhenNoDesignIsOpen) {
    form->OpenPageSetup(TForm1::PageSetupFor::CurrentFile);
    ASSERT_NE(Page(), nullptr);
    EXPECT_TRUE(Page()->forNewFiles());
    EXPECT_EQ(formX->windowTitle(), "Page Setup - New Files");
    formX->RightButtonClick();

    OpenDesign(3);
    form->OpenPageSetup(TForm1::PageSetupFor::CurrentFile);
    ASSERT_NE(Page(), nullptr);
    EXPECT_FALSE(Page()->forNewFiles());
    EXPECT_EQ(formX->windowTitle(), "Page Setup - Card 3");
}

// A page that cannot be applied says why and keeps the host open with what the user typed.
TEST_F(PageSetupTest, ARefusedPageKeepsTheHostOpenAndTheDesignAsItWas) {
    auto* design = new FakeDesign(12);
    form->AddDesignView(design);
    form->Action("File/Page Setup/Current File")->trigger();
    Choose(DesignType::Postcards);
    TPagedim* dimensions = Page()->Dimensions();
    dimensions->Edit[0]->setText("0");
    ASSERT_FALSE(dimensions->Problem().isEmpty());
    ItemRecord* header = FindRecord(design->items(), ItemKind::Header);
    const double width = double(header->canvasWidth), height = double(header->canvasHeight);
    formX->LeftButtonClick();
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_TRUE(formX->isVisible());
    ASSERT_EQ(Page(), qobject_cast<TPage*>(formX->page()));
    EXPECT_EQ(dimensions->Edit[0]->text(), "0");
    EXPECT_EQ(double(header->canvasWidth), width);
    EXPECT_EQ(double(header->canvasHeight), height);
    EXPECT_EQ(header->designType, 0);
    EXPECT_FALSE(IsModified(design->items()));
}

// The document window itself: Apply gives its header the page, respaces its gridlines over it
// as an undoable step and lays the window out again; Cancel leaves everything as it was.
TEST_F(PageSetupTest, TheDesignWindowShowsTheAppliedPageWithRespacedGridlinesAndCancelChangesNothing) {
    auto* window = new TSandbox(form->params(), *form, prompt);
    ASSERT_TRUE(window->OpenDesign(6, QString()));
    form->AddDesignView(window);
    ItemRecord* header = FindRecord(window->items(), ItemKind::Header);
    const std::vector<GridNode> lines = FindLiveRecord(window->items(), ItemKind::Gridlines)->gridX;
    const ItemBody before = *header;

    form->Action("File/Page Setup/Current File")->trigger();
    ASSERT_NE(Page(), nullptr);
    ASSERT_NE(Page()->Dimensions(), nullptr) << "a new design has the type of new files";
    Page()->Dimensions()->UnitsBox->setCurrentIndex(1);
    Page()->Dimensions()->Edit[2]->setText("100");
    formX->RightButtonClick();
    EXPECT_FALSE(formX->isVisible());
    EXPECT_EQ(std::memcmp(static_cast<const ItemBody*>(header), &before, sizeof(ItemBody)), 0);
    EXPECT_EQ(FindLiveRecord(window->items(), ItemKind::Gridlines)->gridX, lines);
    EXPECT_FALSE(form->Action("Edit/Undo")->isEnabled());

    form->Action("File/Page Setup/Current File")->trigger();
    Choose(DesignType::GreetingCards);
    Page()->Dimensions()->UnitsBox->setCurrentIndex(1); // 105 x 148 mm cards folded between columns
    Page()->Dimensions()->Edit[2]->setText("100");
    formX->LeftButtonClick();
    EXPECT_FALSE(formX->isVisible());
    EXPECT_EQ(header->designType, DesignType::GreetingCards);
    EXPECT_EQ(header->units, 2);
    EXPECT_EQ(double(header->canvasWidth), 200.0);
    EXPECT_EQ(double(header->canvasHeight), 148.0);
    EXPECT_TRUE(IsModified(window->items()));
    // The gridlines stand a default distance apart over the 200 mm, the first one in from the
    // page's left edge.
    const ItemRecord* grid = FindLiveRecord(window->items(), ItemKind::Gridlines);
    const double distance = form->params().state.defaults.perUnit[1].gridX;
    ASSERT_GT(distance, 0.0);
    const int32_t step = nearest(distance * double(header->pxPerUnitX));
    const int32_t pageLeft = nearest(header->boundLeft / double(header->zoom));
    ASSERT_EQ(grid->gridX.size(), size_t(200.0 / distance));
    EXPECT_EQ(grid->gridX.front().position, pageLeft + step);
    EXPECT_EQ(grid->gridX.back().position, pageLeft + step * int32_t(grid->gridX.size()));
    EXPECT_TRUE(form->Action("Edit/Undo")->isEnabled());
    EXPECT_EQ(window->canvas().width(), std::min<int>(header->spanX, TSandbox::kTileLimit));
}

} // namespace
} // namespace vlr
