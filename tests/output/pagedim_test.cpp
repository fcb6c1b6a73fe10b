// The page-dimensions page: what its controls show for each unit and design type, and what the
// user's clicks, choices and typing do to the page setup it edits.
#include "output/pagedim.h"

#include "settings/designtype.h"
#include "settings/pagepresets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace vlr {
namespace {

// A page with a sample redraw that counts its calls.
struct Page {
    Page(const pageset_t& pageset, int32_t type) : page(std::make_unique<TPagedim>(pageset, type)) {
        page->SetSampleRedraw([this](int32_t designType, const pageset_t& drawn) {
            ++redraws;
            lastType = designType;
            lastDrawn = drawn;
        });
    }
    const miry_t& Block() const { return *CurrentBlock(page->PageSetup()); }
    QStringList Labels() const {
        QStringList labels;
        for (int box = 0; box < kPageBoxCount; ++box) {
            labels << (page->Edit[box]->isHidden() ? QStringLiteral("-") : page->EditLabel[box]->text());
        }
        return labels;
    }
    QStringList Texts() const {
        QStringList texts;
        for (int box = 0; box < kPageBoxCount; ++box) {
            texts << (page->Edit[box]->isHidden() ? QStringLiteral("-") : page->Edit[box]->text());
        }
        return texts;
    }
    // Replaces a box's text the way a user does: select all, type.
    void Type(int box, const QString& text) {
        QLineEdit* edit = page->Edit[box - 1];
        edit->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Delete);
        } else {
            QTest::keyClicks(edit, text);
        }
    }
    void Choose(int index) {
        page->QuickSelect->setCurrentIndex(index);
        Q_EMIT page->QuickSelect->activated(index);
    }

    std::unique_ptr<TPagedim> page;
    int redraws = 0;
    int32_t lastType = 0;
    pageset_t lastDrawn;
};

TEST(TPagedim, OpensOnTheBusinessCardsInMillimetres) {
    Page p(DefaultPageSetup(DesignType::BusinessCards, 2), DesignType::BusinessCards);
    TPagedim& page = *p.page;
    EXPECT_TRUE(page.PortraitBox->isChecked());
    EXPECT_FALSE(page.LandscapeBox->isChecked());
    EXPECT_EQ(page.PortraitBox->text(), "Portrait");
    EXPECT_FALSE(page.PortraitBox->icon().isNull());
    EXPECT_EQ(page.UnitsBox->currentText(), "Millimeters");
    EXPECT_EQ(page.UnitsBox->count(), 3);
    EXPECT_EQ(page.QuickSelect->count(), 12);
    EXPECT_EQ(page.QuickSelect->maxVisibleItems(), 16);
    EXPECT_EQ(page.QuickSelect->currentText(), "A8 business cards, 10 per page");
    EXPECT_EQ(p.Labels(),
              (QStringList{"Paper width", "Paper height", "Card width", "Card height", "Left margin",
                           "Top margin", "Rows", "Columns", "Row gap", "Column gap"}));
    EXPECT_EQ(p.Texts(), (QStringList{"210", "297", "74", "52", "31", "18", "5", "2", "0", "0"}));
    EXPECT_FALSE(page.RowFoldBox->isHidden());
    EXPECT_EQ(page.ColumnFoldBox->text(), "Column fold");
    EXPECT_TRUE(page.ProblemLabel->isHidden());
    EXPECT_EQ(p.redraws, 0); // opening changes nothing
    EXPECT_EQ(page.PageSetup(), DefaultPageSetup(DesignType::BusinessCards, 2));
}

TEST(TPagedim, TypingStoresTheTextRedrawsAndRecognisesThePreset) {
    Page p(DefaultPageSetup(DesignType::BusinessCards, 2), DesignType::BusinessCards);
    p.Type(5, "26"); // left margin
    EXPECT_EQ(p.Block().leftMargin, "26");
    EXPECT_EQ(p.Block().preset, -1);
    EXPECT_EQ(p.page->QuickSelect->currentIndex(), -1);
    EXPECT_GE(p.redraws, 1);
    EXPECT_EQ(p.lastType, DesignType::BusinessCards);
    EXPECT_EQ(p.lastDrawn.dims[1].leftMargin, "26");

    // Back to 31: the ten-per-page entry again.
    p.Type(5, "31");
    EXPECT_EQ(p.page->QuickSelect->currentText(), "A8 business cards, 10 per page");
    // Ticking the column fold makes it the fold cards.
    QTest::mouseClick(p.page->ColumnFoldBox, Qt::LeftButton);
    EXPECT_EQ(p.Block().columnFold, 1);
    EXPECT_EQ(p.page->QuickSelect->currentText(), "A8 fold business cards, 5 per page");
}

TEST(TPagedim, NonsenseInABoxShowsAMessageAndLettersShowNone) {
    Page p(DefaultPageSetup(DesignType::BusinessCards, 2), DesignType::BusinessCards);
    p.Type(1, "-3");
    EXPECT_FALSE(p.page->ProblemLabel->isHidden());
    EXPECT_EQ(p.page->ProblemLabel->text(), "Paper width must be greater than 0.");
    EXPECT_EQ(p.page->Problem(), "Paper width must be greater than 0.");
    p.Type(1, "abc"); // kept as typed, not judged
    EXPECT_EQ(p.Block().paperWidth, "abc");
    EXPECT_TRUE(p.page->ProblemLabel->isHidden());
    p.Type(1, "210");
    p.Type(3, "300");
    EXPECT_EQ(p.page->ProblemLabel->text(), "The card does not fit on the paper.");
    p.Type(3, "74");
    p.Type(7, "0");
    EXPECT_EQ(p.page->Problem(), "Rows must be a whole number from 1 to 1000.");
    p.Type(7, "");
    EXPECT_EQ(p.page->Problem(), "");
}

TEST(TPagedim, TickingLandscapeTurnsTheA8CardsIntoVerticalCards) {
    pageset_t pageset = DefaultPageSetup(DesignType::BusinessCards, 2);
    ASSERT_TRUE(ChoosePreset(pageset, DesignType::BusinessCards, 0));
    Page p(pageset, DesignType::BusinessCards);
    QTest::mouseClick(p.page->LandscapeBox, Qt::LeftButton);
    EXPECT_TRUE(p.page->LandscapeBox->isChecked());
    EXPECT_FALSE(p.page->PortraitBox->isChecked());
    EXPECT_EQ(p.page->PageSetup().orientation, 2);
    EXPECT_EQ(p.Texts(), (QStringList{"297", "210", "52", "74", "25", "26", "2", "4", "10", "10"}));
    EXPECT_EQ(p.page->QuickSelect->currentText(), "A8 vertical cards, 8 per page");
    EXPECT_EQ(p.redraws, 1);
    // Ticking it again does nothing.
    QTest::mouseClick(p.page->LandscapeBox, Qt::LeftButton);
    EXPECT_TRUE(p.page->LandscapeBox->isChecked());
    EXPECT_EQ(p.page->PageSetup().orientation, 2);
    EXPECT_EQ(p.Block().paperWidth, "297");
    EXPECT_EQ(p.redraws, 1);
}

TEST(TPagedim, SwitchingUnitsShowsTheKeptTextsOfTheOtherUnit) {
    Page p(DefaultPageSetup(DesignType::BusinessCards, 2), DesignType::BusinessCards);
    p.Type(3, "80");
    const int typed = p.redraws;
    p.page->UnitsBox->setCurrentIndex(2);
    EXPECT_EQ(p.page->PageSetup().units, 3);
    EXPECT_EQ(p.Texts(), (QStringList{"8 1/2", "11", "3 1/2", "2", "3/4", "1/2", "5", "2", "", ""}));
    EXPECT_EQ(p.page->QuickSelect->count(), 8);
    EXPECT_EQ(p.page->QuickSelect->currentText(), "Business Cards, 10 per page");
    EXPECT_EQ(p.redraws, typed + 1);
    EXPECT_EQ(p.lastDrawn.units, 3);
    p.page->UnitsBox->setCurrentIndex(1);
    EXPECT_EQ(p.Block().cardWidth, "80");

    // Pixels: the image size only, and the photo list.
    p.page->UnitsBox->setCurrentIndex(0);
    EXPECT_EQ(p.Labels(),
              (QStringList{"Image width", "Image height", "-", "-", "-", "-", "-", "-", "-", "-"}));
    EXPECT_EQ(p.Texts()[0], "350");
    EXPECT_TRUE(p.page->RowFoldBox->isHidden());
    EXPECT_EQ(p.page->QuickSelect->count(), 14);
    EXPECT_EQ(p.page->QuickSelect->currentText(), "Small Photo 250 x 350");
}

TEST(TPagedim, ChoosingAnEntryWritesItWithoutRecognising) {
    pageset_t pageset = DefaultPageSetup(DesignType::DigitalImages, 2); // landscape pixels
    Page p(pageset, DesignType::DigitalImages);
    p.Choose(0); // Small Photo in landscape
    EXPECT_EQ(p.Texts()[0], "350");
    EXPECT_EQ(p.Texts()[1], "250");
    EXPECT_EQ(p.Block().preset, 0);
    EXPECT_EQ(p.redraws, 1);
    p.Choose(6); // Skyscraper sets portrait
    EXPECT_TRUE(p.page->PortraitBox->isChecked());
    EXPECT_EQ(p.Texts()[1], "600");

    // Illustrations: A4 keeps landscape; the list still names A4 after the right margin changes.
    pageset = DefaultPageSetup(DesignType::Illustrations, 2);
    pageset.orientation = 2;
    Page sheet(pageset, DesignType::Illustrations);
    EXPECT_EQ(sheet.Labels(), (QStringList{"Paper width", "Paper height", "Left margin", "Top margin",
                                           "Right margin", "Bottom margin", "-", "-", "-", "-"}));
    EXPECT_TRUE(sheet.page->RowFoldBox->isHidden());
    sheet.Choose(3);
    sheet.Choose(4);
    EXPECT_TRUE(sheet.page->LandscapeBox->isChecked());
    EXPECT_EQ(sheet.Texts()[0], "210");
    EXPECT_EQ(sheet.Texts()[1], "297");
    sheet.Type(5, "12");
    EXPECT_EQ(sheet.Block().rightMargin, "12");
    EXPECT_EQ(sheet.page->QuickSelect->currentText(), "A4 - letters, magazines, forms, catalogs");
}

TEST(TPagedim, BrochureBoxesEditBottomThenRightMargin) {
    Page p(DefaultPageSetup(DesignType::Brochures, 3), DesignType::Brochures);
    EXPECT_EQ(p.Labels(),
              (QStringList{"Paper width", "Paper height", "Brochure width", "Brochure height", "Left margin",
                           "Top margin", "Bottom margin", "Right margin", "Rows", "Columns"}));
    p.Type(7, "1/2");
    p.Type(8, "1/4");
    EXPECT_EQ(p.Block().bottomMargin, "1/2");
    EXPECT_EQ(p.Block().rightMargin, "1/4");
    EXPECT_EQ(p.page->QuickSelect->currentText(), "Tri-fold brochures, letter-size paper");

    Page labels(DefaultPageSetup(DesignType::Labels, 3), DesignType::Labels);
    EXPECT_EQ(labels.Labels()[2], "Label width");
    EXPECT_EQ(labels.Labels()[3], "Label height");
    EXPECT_EQ(labels.page->QuickSelect->currentText(), "2 x 1 labels, letter-size paper");
}

TEST(TPagedim, AnUnknownUnitDisablesTheHandlersUntilAUnitIsChosen) {
    pageset_t pageset = DefaultPageSetup(DesignType::BusinessCards, 2);
    pageset.units = 9;
    Page p(pageset, DesignType::BusinessCards);
    EXPECT_EQ(p.page->UnitsBox->currentIndex(), -1);
    EXPECT_EQ(p.page->QuickSelect->count(), 0);
    EXPECT_TRUE(p.page->Edit[0]->isHidden());
    EXPECT_EQ(p.page->Problem(), "Choose a measuring unit.");
    p.Choose(0);
    QTest::mouseClick(p.page->LandscapeBox, Qt::LeftButton);
    EXPECT_FALSE(p.page->LandscapeBox->isChecked());
    EXPECT_EQ(p.page->PageSetup().dims, pageset.dims);
    EXPECT_EQ(p.page->PageSetup().orientation, 1);
    EXPECT_EQ(p.redraws, 0);

    p.page->UnitsBox->setCurrentIndex(1);
    EXPECT_EQ(p.page->PageSetup().units, 2);
    EXPECT_EQ(p.Texts()[0], "210");
    EXPECT_EQ(p.page->Problem(), "");
}

TEST(TPagedim, TypesWithoutAListShowAnEmptyList) {
    Page p(DefaultPageSetup(DesignType::JewelCaseInserts, 2), DesignType::JewelCaseInserts);
    EXPECT_EQ(p.page->QuickSelect->count(), 0);
    EXPECT_EQ(p.Labels()[6], "Rows");
    EXPECT_FALSE(p.page->RowFoldBox->isHidden());
    EXPECT_EQ(p.page->Problem(), "Paper width must be greater than 0.");
    p.Type(1, "120");
    p.Type(2, "120");
    EXPECT_EQ(p.page->Problem(), "");
    EXPECT_EQ(p.Block().preset, -1);
    EXPECT_GT(p.page->sizeHint().height(), 0);
}

} // namespace
} // namespace vlr
