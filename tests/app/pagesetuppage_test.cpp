// The page setup page in the large host: for new files, and applied to a design.
#include "app/dialoghost.h"
#include "app/mainwindow.h"
#include "app/pages.h"
#include "app/pagesetuppage.h"
#include "mainwindowfixture.h"
#include "model/prompt.h"
#include "output/pagedim.h"
#include "platform/inistore.h"
#include "settings/designtype.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace vlr {
namespace {

using test::FakeDesign;

class PageSetupPageTest : public test::MainWindowFixture {
protected:
    TPageSetupPage* Page() { return qobject_cast<TPageSetupPage*>(formX->page()); }
};

TEST_F(PageSetupPageTest, NewFilesTakeTheChosenTypeAndItsPage) {
    form->Action("File/Page Setup/New Files")->trigger();
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(formX->windowTitle(), "Page Setup - New Files");
    EXPECT_EQ(formX->leftButton()->text(), "Apply");
    QComboBox* types = Page()->TypeBox();
    types->setCurrentIndex(types->findData(DesignType::Labels));
    EXPECT_EQ(Page()->Dimensions()->DesignType(), DesignType::Labels);
    formX->LeftButtonClick();
    EXPECT_EQ(form->params().state.pspage, DesignType::Labels);
    EXPECT_FALSE(formX->isVisible());
}

TEST_F(PageSetupPageTest, ApplyingToADesignChangesItsPage) {
    auto* design = new FakeDesign(12);
    form->AddDesignView(design);
    ItemRecord* header = FindRecord(design->items(), ItemKind::Header);
    header->units = 2;
    header->zoom = 1.0;
    form->Action("File/Page Setup/Current File")->trigger();
    ASSERT_NE(Page(), nullptr);
    Page()->TypeBox()->setCurrentIndex(Page()->TypeBox()->findData(DesignType::BusinessCards));
    TPagedim* dimensions = Page()->Dimensions();
    // Millimetres, a card of 85 x 55.
    dimensions->UnitsBox->setCurrentIndex(1);
    ASSERT_TRUE(dimensions->Problem().isEmpty()) << dimensions->Problem().toStdString();
    formX->LeftButtonClick();
    EXPECT_EQ(header->designType, DesignType::BusinessCards);
    EXPECT_GT(double(header->canvasWidth), 0.0);
    EXPECT_EQ(double(header->canvasWidth), double(header->cardWidth) * (header->columnFold ? 2 : 1));
    EXPECT_TRUE(IsModified(design->items()));
}

// A page that cannot be applied says why and keeps the host open with what the user typed.
TEST_F(PageSetupPageTest, ARefusedPageKeepsTheHostOpenAndTheDesignAsItWas) {
    auto* design = new FakeDesign(12);
    form->AddDesignView(design);
    form->Action("File/Page Setup/Current File")->trigger();
    ASSERT_NE(Page(), nullptr);
    TPagedim* dimensions = Page()->Dimensions();
    dimensions->Edit[0]->setText("0");
    ASSERT_FALSE(dimensions->Problem().isEmpty());
    ItemRecord* header = FindRecord(design->items(), ItemKind::Header);
    const double width = double(header->canvasWidth), height = double(header->canvasHeight);
    formX->LeftButtonClick();
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_TRUE(formX->isVisible());
    ASSERT_EQ(Page(), qobject_cast<TPageSetupPage*>(formX->page()));
    EXPECT_EQ(dimensions->Edit[0]->text(), "0");
    EXPECT_EQ(double(header->canvasWidth), width);
    EXPECT_EQ(double(header->canvasHeight), height);
    EXPECT_FALSE(IsModified(design->items()));
}

} // namespace
} // namespace vlr
