// The Prepare Print page: its symbolic drawing of the sheet worked out by hand, clicks on the
// areas, the two links and what the page hands back.
#include "output/prsel.h"

#include "output/sheetview.h"
#include "sheetfixture.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace vlr {
namespace {

using test::AddHeader;
using test::Page;

TEST(PrselPage, FoldedBusinessCardsShowFiveAreasOfDoubleWidth) {
    ItemList design;
    AddHeader(design, Page{.columnFold = 1});
    // On a 96-dpi screen: paper 793.7 -> 794 by 1122.5 -> 1123, margins 117.2 -> 117 and
    // 68.0 -> 68, card 148 mm -> 559.4 -> 559 by 52 mm -> 196.5 -> 197.
    EXPECT_EQ(PrselPageOf(&design, QSize(50, 50)), (PrselPage{794, 1123, 5, 1, 117, 68, 559, 197, 0, 0}));
    // Without a header: the page's own size, one area covering it.
    EXPECT_EQ(PrselPageOf(nullptr, QSize(300, 200)), (PrselPage{300, 200, 1, 1, 0, 0, 300, 200, 0, 0}));
}

TEST(PrselDrawing, ScalesThePaperIntoTheViewAndSpacesTheCardsByAPixel) {
    const PrselPage page{794, 1123, 5, 1, 117, 68, 559, 197, 0, 0};
    // k = 0.9 x 400 / 1123 = 0.32057: sheet 254.5 -> 255 (+ 2) by 360 (+ 10), cards 179.2 -> 179
    // by 63.2 -> 63 from 37.5 -> 38, 21.8 -> 22, each row 63 + 0 + 1 below the last.
    std::optional<PrselDrawing> drawing = PrselDrawingOf(page, QSize(400, 400));
    ASSERT_TRUE(drawing);
    EXPECT_EQ(drawing->sheet, QSize(257, 370));
    ASSERT_EQ(drawing->cards.size(), 5u);
    EXPECT_EQ(drawing->cards[0], QRect(38, 22, 179, 63));
    EXPECT_EQ(drawing->cards[1], QRect(38, 86, 179, 63));
    EXPECT_EQ(drawing->cards[4], QRect(38, 278, 179, 63));
    EXPECT_EQ(AreaAt(*drawing, QPoint(43, 91)), 2);
    EXPECT_EQ(AreaAt(*drawing, QPoint(43, 85)), 0); // the pixel between two cards
    EXPECT_EQ(AreaAt(*drawing, QPoint(5, 5)), 0);

    // A paper without size draws nothing.
    EXPECT_FALSE(PrselDrawingOf(PrselPage{0, 0, 1, 1, 0, 0, 10, 10, 0, 0}, QSize(400, 400)));
}

TEST(ToggleArea, PadsWithSpacesAndSwitchesBetweenXAndSpace) {
    std::string selection;
    ToggleArea(selection, 3);
    EXPECT_EQ(selection, "  x");
    ToggleArea(selection, 3);
    EXPECT_EQ(selection, "   ");
    selection = "a";
    ToggleArea(selection, 1);
    EXPECT_EQ(selection, "x");
    ToggleArea(selection, 0);
    EXPECT_EQ(selection, "x");
}

TEST(LinkHtml, UnderlinesTheLinkWordsBlackOrBlue) {
    const QString plain = LinkHtml("Click here to select all areas. Then", "all areas", "all", false);
    EXPECT_EQ(plain, "Click here to select <a href=\"all\"><span style=\"color:#000000; "
                     "text-decoration:underline\">all areas</span></a>. Then");
    EXPECT_TRUE(LinkHtml("select no areas", "no areas", "none", true).contains("#0000ff"));
}

class TPrselTest : public testing::Test {
protected:
    void SetUp() override { AddHeader(design, Page{.left = 10, .top = 10, .rows = 2, .columns = 2}); }
    ItemList design;
};

TEST_F(TPrselTest, StartsFromTheWindowsSelectionAndHandsBackTheEditedOne) {
    TPrsel fresh(&design, "");
    EXPECT_EQ(fresh.selection(), "    ");
    TPrsel page(&design, "x");
    EXPECT_EQ(page.selection(), "x");
    page.resize(page.PreferredClientSize());
    page.show();
    std::optional<PrselDrawing> drawing = page.drawing();
    ASSERT_TRUE(drawing);
    ASSERT_EQ(drawing->cards.size(), 4u);
    page.SheetClick(drawing->cards[3].center());
    EXPECT_EQ(page.selection(), "x  x");
    // A click of the mouse on the drawing.
    QTest::mouseClick(page.View, Qt::LeftButton, {},
                      page.View->panelRect().topLeft() + drawing->cards[0].center());
    EXPECT_EQ(page.selection(), "   x");
    QTest::mouseClick(page.View, Qt::LeftButton, {}, QPoint(1, 1)); // outside every card
    EXPECT_EQ(page.selection(), "   x");

    std::string handed;
    page.confirmed = [&handed](const std::string& selection) { handed = selection; };
    page.RunAction();
    EXPECT_EQ(handed, "   x");
}

TEST_F(TPrselTest, TheLinksSelectAllOrNoAreasAndLightUpWhilePointedAt) {
    TPrsel page(&design, "x x");
    Q_EMIT page.Label3->linkActivated("none");
    EXPECT_EQ(page.selection(), "xxxx");
    Q_EMIT page.Label2->linkActivated("all");
    EXPECT_EQ(page.selection(), "    ");

    Q_EMIT page.Label2->linkHovered("all");
    EXPECT_TRUE(page.linkHot(2));
    EXPECT_TRUE(page.Label2->text().contains("#0000ff"));
    EXPECT_TRUE(page.Label3->text().contains("#000000"));
    // The pointer on the page's background returns it to black.
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(page.Title, &move);
    EXPECT_FALSE(page.linkHot(2));
    EXPECT_FALSE(page.Label2->text().contains("#0000ff"));
}

TEST_F(TPrselTest, PrintingAreasAreOutlinedRedAndTheOthersCrossedOutInSilver) {
    TPrsel page(&design, "x");
    page.resize(page.PreferredClientSize());
    page.show();
    std::optional<PrselDrawing> drawing = page.drawing();
    ASSERT_TRUE(drawing);
    const QImage picture = page.View->grab().toImage();
    const QPoint sheet = page.View->panelRect().topLeft();
    const QRect off = drawing->cards[0].translated(sheet), on = drawing->cards[1].translated(sheet);
    EXPECT_EQ(picture.pixel(off.topLeft()), qRgb(192, 192, 192));
    EXPECT_EQ(picture.pixel(off.left() + 1, off.top() + 1), qRgb(192, 192, 192)); // the diagonal
    EXPECT_EQ(picture.pixel(on.topLeft()), qRgb(255, 0, 0));
    EXPECT_EQ(picture.pixel(on.right(), on.bottom()), qRgb(255, 0, 0));
    EXPECT_EQ(picture.pixel(on.left() + 5, on.top() + 1), qRgb(255, 255, 255));
}

TEST(PlacePanel, CentresAtLeastTenInAndScrollsOverTheExcessPlusTwenty) {
    EXPECT_EQ(PlacePanel(100, 400, 0).position, 150);
    EXPECT_EQ(PlacePanel(390, 400, 0).position, 10);
    EXPECT_FALSE(PlacePanel(400, 400, 0).scrolls);
    const PanelPlacement scrolled = PlacePanel(500, 400, 30);
    EXPECT_TRUE(scrolled.scrolls);
    EXPECT_EQ(scrolled.scrollRange, 120);
    EXPECT_EQ(scrolled.position, -20);
}

} // namespace
} // namespace vlr
