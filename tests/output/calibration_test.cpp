// A printer's calibration on paper: the ten cards of a 10-up sheet where the correction puts
// them, the tiles of a scaled sheet without gaps between them, the test page's cross and rulers
// at their millimetres, the cards a calibration would push off the paper, and the Printer
// Calibration page.
#include "output/calibration.h"
#include "output/printsheet.h"
#include "output/testpage.h"

#include "model/prompt.h"
#include "pdfcheck.h"
#include "platform/inistore.h"
#include "sheetfixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace vlr {
namespace {

using test::RecordingPrompt;

using test::AddBox;
using test::AddHeader;

bool IsRed(QRgb pixel) {
    return qRed(pixel) > 128 && qGreen(pixel) < 128 && qBlue(pixel) < 128;
}

// The first and the last red pixel of the red run through a point, along its row or column.
std::pair<int, int> RedSpan(const QImage& page, QPoint through, bool alongRow) {
    auto red = [&](int i) {
        const QPoint at = alongRow ? QPoint(i, through.y()) : QPoint(through.x(), i);
        return page.valid(at) && IsRed(page.pixel(at));
    };
    int first = alongRow ? through.x() : through.y(), last = first;
    while (red(first - 1)) {
        --first;
    }
    while (red(last + 1)) {
        ++last;
    }
    return {first, last};
}

// At 192 dpi a design pixel is two device pixels. The 10-up letter sheet's cards (672 x 384)
// start at 144, 96 (3/4 and 1/2 inch); each holds a red box from design pixel 8 to 328 across
// and 8 to 184 down, both ends included: device pixels 16 ... 657 and 16 ... 369 of the card. The
// calibration scales about the paper's corner, then shifts: x' = 0.99 x + 1.5 mm (11.34 px),
// y' = 1.01 y - 2 mm (15.12 px). Edges are read to two pixels (a quarter of a millimetre),
// as pdftoppm smooths the pictures' edges.
TEST(PrintSheetCalibrated, TheTenCardsLandWhereTheCorrectionPutsThem) {
    if (!test::HavePdfTools() || QStandardPaths::findExecutable("pdftoppm").isEmpty()) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    ItemList design;
    AddHeader(design, test::TenUpLetter());
    AddBox(design, 8, 8, 328, 184, test::kRed);
    QTemporaryDir folder;
    const QString pdf = folder.filePath("calibrated.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(192);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    const PrinterCalibration calibration{1.5, -2.0, 99.0, 101.0};
    const PrintResult printed = PrintSheet(printer, design, "Calibrated", "", test::PaintBoxes, calibration);
    ASSERT_TRUE(printed.ok()) << printed.message.toStdString();
    EXPECT_TRUE(printed.byCards);

    const QImage page = test::RenderPdf(pdf, 192, "pdftoppm");
    ASSERT_EQ(page.size(), QSize(1632, 2112));
    auto x = [](double device) { return 0.99 * device + 1.5 / 25.4 * 192; };
    auto y = [](double device) { return 1.01 * device - 2.0 / 25.4 * 192; };
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 2; ++column) {
            SCOPED_TRACE(testing::Message() << "card " << row + 1 << ", " << column + 1);
            const double left = 144 + column * 672 + 16, right = 144 + column * 672 + 657;
            const double top = 96 + row * 384 + 16, bottom = 96 + row * 384 + 369;
            const QPoint centre(int(x((left + right) / 2)), int(y((top + bottom) / 2)));
            const auto [first, last] = RedSpan(page, centre, true);
            EXPECT_NEAR(first, x(left), 2.0);
            EXPECT_NEAR(last + 1, x(right), 2.0);
            const auto [upper, lower] = RedSpan(page, centre, false);
            EXPECT_NEAR(upper, y(top), 2.0);
            EXPECT_NEAR(lower + 1, y(bottom), 2.0);
        }
    }
}

// The composed sheet goes to a printer in tiles; scaled by a calibration, their edges fall
// between device pixels, and a tile that ended there would let the paper show through.
TEST(PrintSheetCalibrated, ScaledTilesLeaveNoGapBetweenThem) {
    ItemList design;
    AddHeader(design, {.units = 3, .type = 1, .paperWidth = 8.5, .paperHeight = 11});
    AddBox(design, 0, 0, 816, 1056, test::kRed); // the whole page
    const ComposeDevice device{100, 100, 0, 0, 850, 1100};
    const SheetOutput output = ComposedSheetOutput(design, device, "", test::PaintBoxes);
    ASSERT_TRUE(output.ok());
    ASSERT_FALSE(output.byCards);
    QImage paper(850, 1100, QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    // What a printer's driver does with pictures placed between its dots.
    painter.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::Antialiasing);
    painter.setTransform(CalibrationTransform({0.3, 0.3, 100.7, 100.3}, 100, 100));
    EXPECT_EQ(DrawSheetOutput(painter, output, {0, 0}), 6); // 2 x 3 tiles
    painter.end();
    // Across the tiles' meeting lines: 512 pixels become 512 x 1.007 + 1.18 = 516.8 across and
    // 512 x 1.003 + 1.18 = 514.7 down.
    for (int i = 20; i < 840; ++i) {
        for (int across = 515; across <= 518; ++across) {
            ASSERT_TRUE(IsRed(paper.pixel(across, i))) << across << ", " << i;
        }
        for (int down = 513; down <= 516; ++down) {
            ASSERT_TRUE(IsRed(paper.pixel(i, down))) << i << ", " << down;
        }
    }
}

// A4 at 254 dpi: ten pixels to the millimetre; the centre at 105 x 148.5 mm.
TEST(TestPage, CrossRulersAndSpansLieAtTheirMillimetres) {
    if (!test::HavePdfTools()) {
        GTEST_SKIP() << "pdftocairo (poppler-utils) is not installed";
    }
    ItemList design;
    AddHeader(design, test::Page{}); // A4, ten cards of 74 x 52 mm from 31, 18 mm
    QTemporaryDir folder;
    const QString pdf = folder.filePath("test.pdf");
    auto print = [&](const PrinterCalibration& calibration) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        UseDesignPaper(printer, design);
        EXPECT_TRUE(PrintTestPage(printer, CardOutlinesMm(design), calibration).ok());
        return test::RenderPdf(pdf, 254);
    };
    auto dark = [](const QImage& page, int x, int y) { return qGray(page.pixel(x, y)) < 100; };
    auto white = [](const QImage& page, int x, int y) { return qGray(page.pixel(x, y)) > 240; };

    const QImage page = print({});
    ASSERT_EQ(page.size(), QSize(2100, 2971)); // 842 points high: 2970.3 pixels
    // The cross's arms (0.2 mm lines) through 105 and 148.5 mm, 10 mm from the centre.
    EXPECT_TRUE(dark(page, 1049, 1585) && dark(page, 1050, 1585));
    EXPECT_TRUE(white(page, 1046, 1585) && white(page, 1054, 1585));
    EXPECT_TRUE(dark(page, 950, 1484) || dark(page, 950, 1485));
    EXPECT_TRUE(white(page, 950, 1480) && white(page, 950, 1490));
    // The top millimetre ruler from 15 mm down: 4 mm at 50 mm, 1.5 mm at 51 mm, none between.
    EXPECT_TRUE(dark(page, 499, 180) && dark(page, 500, 180));
    EXPECT_TRUE(dark(page, 509, 160) && white(page, 509, 175));
    EXPECT_TRUE(white(page, 505, 160));
    // The left ruler likewise: 80 mm down.
    EXPECT_TRUE(dark(page, 180, 799) && dark(page, 180, 800));
    EXPECT_TRUE(white(page, 180, 805));
    // The inch ruler from 30 mm: one inch at 25.4 mm.
    EXPECT_TRUE(dark(page, 254, 330));
    EXPECT_TRUE(white(page, 262, 330));
    // The marked 100 mm span of the top ruler ends at 20 and 120 mm.
    EXPECT_TRUE(dark(page, 200, 110) && dark(page, 1200, 110));
    EXPECT_TRUE(white(page, 205, 110) && white(page, 1195, 110));
    // The first card's outline at 31 mm.
    EXPECT_LT(std::min(qGray(page.pixel(309, 440)), qGray(page.pixel(310, 440))), 235);

    // Printed with a calibration, the page moves with it: 2 mm right and 1 mm up.
    const QImage shifted = print({2.0, -1.0, 100.0, 100.0});
    EXPECT_TRUE(dark(shifted, 1069, 1575) && dark(shifted, 1070, 1575));
    EXPECT_TRUE(white(shifted, 1050, 1575));
    EXPECT_TRUE(dark(shifted, 519, 170));

    EXPECT_NE(TestPageInstructions({210, 297}).indexOf("beyond 105.0 mm and 148.5 mm"), -1);
    EXPECT_EQ(TestSpanMm({210, 297}), 100.0);
    EXPECT_EQ(TestSpanMm({101.6, 152.4}), 50.0); // a 4 x 6 inch postcard
}

// The 10-up letter sheet's cards lie 3/4 inch (19.05 mm) from the left edge and touch the right
// margin's 3/4 inch; the bottom row ends half an inch above the bottom edge.
TEST(CardsMovedOffThePaper, OnlyCardsThatPrintAndLeaveThePaperCount) {
    ItemList design;
    AddHeader(design, test::TenUpLetter());
    struct Case {
        PrinterCalibration calibration;
        const char* selection;
        int32_t moved;
    };
    const Case cases[] = {
        {{1.5, -2.0, 99.0, 101.0}, "", 0},
        {{-19.0, 0.0, 100.0, 100.0}, "", 0},   // 0.05 mm to spare
        {{-19.2, 0.0, 100.0, 100.0}, "", 5},   // the left column
        {{-19.2, 0.0, 100.0, 100.0}, "xx", 4}, // the first card does not print
        {{0.0, 0.0, 100.0, 105.0}, "", 2},     // the bottom row reaches 11.025 inches
        // The right column reaches 8.525 inches and more, the bottom row 12.34 inches.
        {{20.0, 20.0, 110.0, 110.0}, "", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.calibration.offsetXMm);
        EXPECT_EQ(CardsMovedOffThePaper(design, c.selection, c.calibration), c.moved);
    }
    ItemList sheet;
    AddHeader(sheet, {.units = 3, .type = 1, .paperWidth = 8.5, .paperHeight = 11});
    EXPECT_EQ(CardsMovedOffThePaper(sheet, "", {20.0, 20.0, 110.0, 110.0}), 0); // no cards
    EXPECT_EQ(
        CardsOffThePaperWarning(5, "Office").toStdString(),
        "The calibration of the printer \"Office\" moves 5 cards beyond the edge of the paper, where they "
        "cannot print completely.");
}

class CalibrationPage : public testing::Test {
protected:
    void SetUp() override {
        AddHeader(design, test::TenUpLetter());
        ASSERT_TRUE(SaveCalibration(store, "Office", {1.0, 2.0, 99.0, 101.0}, '.'));
    }
    std::unique_ptr<TCalibration> Open(const QString& chosen) {
        auto page = std::make_unique<TCalibration>(store, prompt, '.', QStringList{"Office", "PDF file"},
                                                   chosen, &design, std::string(), QSizeF(215.9, 279.4));
        page->printTestPage = [this](const QString& printer, const PrinterCalibration& calibration) {
            printed.emplace_back(printer, calibration);
            return true;
        };
        return page;
    }
    static void Type(QLineEdit* field, const QString& text) { field->setText(text); }

    QTemporaryDir folder;
    IniRegistryStore store{folder.path()};
    RecordingPrompt prompt;
    ItemList design;
    std::vector<std::pair<QString, PrinterCalibration>> printed;
};

TEST_F(CalibrationPage, ShowsEachPrintersCalibrationAndSavesWhatIsTyped) {
    auto page = Open("Office");
    EXPECT_EQ(page->OffsetX->text(), "1");
    EXPECT_EQ(page->ScaleY->text(), "101");
    page->Printer->setCurrentText("PDF file"); // nothing stored: no correction
    EXPECT_EQ(page->OffsetY->text(), "0");
    EXPECT_EQ(page->ScaleX->text(), "100");
    Type(page->OffsetX, "-0,5");
    Type(page->ScaleX, "100.25");
    ASSERT_TRUE(page->RunAction());
    EXPECT_EQ(LoadCalibration(store, "PDF file"), (PrinterCalibration{-0.5, 0.0, 100.25, 100.0}));
    EXPECT_EQ(LoadCalibration(store, "Office"), (PrinterCalibration{1.0, 2.0, 99.0, 101.0}));
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(CalibrationPage, RefusesWhatIsNoNumberOrOutOfRangeAndKeepsTheStore) {
    auto page = Open("Office");
    const std::pair<QLineEdit*, QString> typed[] = {
        {page->OffsetX, "one"}, {page->OffsetY, "25"}, {page->ScaleY, "111"}, {page->ScaleX, ""}};
    const char* messages[] = {"\"one\" is not a number. Type the horizontal offset in millimetres",
                              "The offsets must lie between -20 and 20 millimetres.",
                              "The scales must lie between 90 and 110 percent.", "\"\" is not a number."};
    for (size_t i = 0; i < std::size(typed); ++i) {
        SCOPED_TRACE(messages[i]);
        page->Show({1.0, 2.0, 99.0, 101.0});
        Type(typed[i].first, typed[i].second);
        prompt.asked.clear();
        EXPECT_FALSE(page->RunAction());
        ASSERT_EQ(prompt.asked.size(), 1u);
        EXPECT_EQ(prompt.asked[0].rfind(messages[i], 0), 0u) << prompt.asked[0];
    }
    EXPECT_EQ(LoadCalibration(store, "Office"), (PrinterCalibration{1.0, 2.0, 99.0, 101.0}));
}

TEST_F(CalibrationPage, MeasurementsOnAPrintedTestPageCorrectWhatItWasPrintedWith) {
    auto page = Open("PDF file");
    Type(page->OffsetX, "0.5");
    Type(page->ScaleX, "99");
    page->PrintTestPageClick();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].first, "PDF file");
    EXPECT_EQ(printed[0].second, (PrinterCalibration{0.5, 0.0, 99.0, 100.0}));
    // Still 0.2 mm right and the spans right: the offset less 0.99 x 0.2 mm.
    Type(page->CrossRight, "0.2");
    Type(page->CrossDown, "0");
    Type(page->TopSpan, "100");
    Type(page->LeftSpan, "100");
    page->CalculateClick();
    EXPECT_EQ(page->OffsetX->text(), "0.302");
    EXPECT_EQ(page->ScaleX->text(), "99");
    // A span of 80 mm asks for a scale of 124 % and a shift of 26 mm: refused, the fields stay.
    Type(page->TopSpan, "80");
    page->CalculateClick();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(
        prompt.asked[0].rfind("These measurements ask for more correction than a calibration gives.", 0), 0u)
        << prompt.asked[0];
    EXPECT_EQ(page->ScaleX->text(), "99");
}

TEST_F(CalibrationPage, ACalibrationThatPushesCardsOffThePaperIsSavedOnlyWhenTheUserAgrees) {
    auto page = Open("Office");
    Type(page->OffsetX, "-19.5");
    prompt.answer = PromptAnswer::No;
    EXPECT_FALSE(page->RunAction());
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0],
              "The calibration of the printer \"Office\" moves 5 cards beyond the edge of the paper, "
              "where they cannot print completely. Save the calibration anyway?");
    EXPECT_EQ(LoadCalibration(store, "Office")->offsetXMm, 1.0);
    prompt.answer = PromptAnswer::Yes;
    EXPECT_TRUE(page->RunAction());
    EXPECT_EQ(LoadCalibration(store, "Office")->offsetXMm, -19.5);
}

} // namespace
} // namespace vlr
