// The output commands with the dialogs and hosts answered by the test: which page opens, where the
// selection goes, the export file choice and its settings, the exported and previewed pictures.
#include "output/outputcommands.h"

#include "model/prompt.h"
#include "output/preview.h"
#include "output/sheetview.h"
#include "output/prsel.h"
#include "panels/picturebutton.h"
#include "settings/params.h"
#include "sheetfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace vlr {
namespace {

using test::RecordingPrompt;

using test::AddBox;
using test::AddHeader;
using test::kRed;
using test::Page;

class ScriptedDialogs : public ExportDialogs {
public:
    QString ExportFileName(const QString& folder, int& filterIndex) override {
        shownFolder = folder;
        shownFilter = filterIndex;
        ++shown;
        filterIndex = chosenFilter;
        return chosen;
    }
    QString chosen;
    int chosenFilter = 1;
    QString shownFolder;
    int shownFilter = 0;
    int shown = 0;
};

struct Shown {
    char host;
    int code;
    int32_t number;
    QString text;
    friend bool operator==(const Shown&, const Shown&) = default;
};

class OutputCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        commands.findDocument = [this](int32_t number) -> std::optional<OutputDocument> {
            if (number != 7) {
                return std::nullopt;
            }
            return OutputDocument{7, "Card", &design, &selection, [this] { ++printsLater; }};
        };
        // The larger host makes the preview page while it is asked to show it.
        commands.showFormX = [this](int code, int32_t number, const QString& text) {
            shown.push_back({'X', code, number, text});
            if (code == 57 && hostMakesPages) {
                hostPage.reset(commands.CreatePreviewPage(number, nullptr));
            }
        };
        commands.showFormY = [this](int code, int32_t number, const QString& text) {
            shown.push_back({'Y', code, number, text});
        };
        commands.localFolder = [](const std::string& stored) { return QString::fromStdString(stored); };
        commands.paint = test::PaintBoxes;
    }
    OutputDocument Document() { return *commands.findDocument(7); }
    QImage Read(const QString& path) { return QImage(path); }

    TParams params;
    RecordingPrompt prompt;
    ScriptedDialogs dialogs;
    OutputCommands commands{params, prompt, dialogs};
    ItemList design;
    std::string selection;
    int printsLater = 0;
    std::vector<Shown> shown;
    bool hostMakesPages = true;
    std::unique_ptr<TPreview> hostPage;
    QTemporaryDir folder;
};

TEST_F(OutputCommandsTest, CardLayoutsAskForTheAreasFirstSingleCardsGoStraightOn) {
    AddHeader(design, Page{});
    commands.PrintCommand(Document());
    commands.PreviewCommand(Document());
    EXPECT_EQ(shown, (std::vector<Shown>{{'Y', 66, 7, ""}, {'Y', 67, 7, ""}}));

    ItemList single;
    AddHeader(single, Page{.rows = 1, .columns = 1});
    int dialogs = 0;
    commands.runPrintDialog = [&dialogs](QPrinter&) {
        ++dialogs;
        return false; // cancelled
    };
    commands.PrintCommand(OutputDocument{8, "One", &single, nullptr, {}});
    EXPECT_EQ(dialogs, 1);
    commands.PreviewCommand(OutputDocument{8, "One", &single, nullptr, {}});
    EXPECT_EQ(shown.back(), (Shown{'X', 57, 8, "One"}));

    // Without a header nothing happens.
    ItemList headless;
    shown.clear();
    commands.PrintCommand(OutputDocument{9, "None", &headless, nullptr, {}});
    commands.PreviewCommand(OutputDocument{9, "None", &headless, nullptr, {}});
    commands.ExportSmooth(OutputDocument{9, "None", &headless, nullptr, {}});
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(dialogs, 1);
}

TEST_F(OutputCommandsTest, PrepareConfirmedStoresTheSelectionThenPrintsLaterOrPreviews) {
    AddHeader(design, Page{});
    TPrsel* page = commands.CreateAreaPage(66, 7, nullptr);
    std::unique_ptr<TPrsel> owned(page);
    page->SheetClick(page->drawing()->cards[1].center());
    page->RunAction();
    EXPECT_EQ(selection, " x        ");
    EXPECT_EQ(printsLater, 1);

    std::unique_ptr<TPrsel> preview(commands.CreateAreaPage(67, 7, nullptr));
    EXPECT_EQ(preview->selection(), " x        "); // starts from the window's selection
    preview->SelectNoneClick();
    preview->RunAction();
    EXPECT_EQ(selection, "xxxxxxxxxx");
    EXPECT_EQ(shown, (std::vector<Shown>{{'X', 57, 7, "Card"}}));
    EXPECT_EQ(printsLater, 1);
}

TEST_F(OutputCommandsTest, PrintingRunsTheDialogAndStartsNoJobWhenCancelledOrForNoCopies) {
    AddHeader(design, test::TenUpLetter());
    AddBox(design, 0, 0, 336, 192, kRed);
    const QString pdf = folder.filePath("cards.pdf");
    int copies = 1;
    QSizeF offered;
    commands.runPrintDialog = [&](QPrinter& printer) {
        offered = printer.pageLayout().pageSize().size(QPageSize::Inch);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setCopyCount(copies);
        return true;
    };
    std::vector<QString> reported;
    commands.reportDone = [&reported](const QString& message) { reported.push_back(message); };
    copies = 0;
    commands.Print(Document());
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(offered, QSizeF(8.5, 11)); // the design's paper is offered
    EXPECT_TRUE(reported.empty());       // nothing printed, nothing said

    copies = 1;
    commands.Print(Document());
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(reported, std::vector<QString>{"Printed " + Document().caption});
}

TEST_F(OutputCommandsTest, ExactExportAsksForAFileKeepsItsFolderAndFilterAndFollowsTheExtension) {
    AddHeader(design,
              Page{.units = 1, .type = DesignType::DigitalImages, .paperWidth = 728, .paperHeight = 90});
    AddBox(design, 0, 0, 10, 10, kRed);
    params.state.expdir = folder.path().toStdString();
    params.state.expndx = 7; // not a choice of the dialog: JPEG
    dialogs.chosen = folder.filePath("banner.BMP ");
    dialogs.chosenFilter = 2;
    commands.ExportExact(Document());
    EXPECT_EQ(dialogs.shownFolder, folder.path());
    EXPECT_EQ(dialogs.shownFilter, 1);
    EXPECT_EQ(params.state.expndx, 2);
    QFile bmp(folder.filePath("banner.BMP"));
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    EXPECT_TRUE(bmp.readAll().startsWith("BM"));
    const QImage written = Read(folder.filePath("banner.BMP"));
    EXPECT_EQ(written.size(), QSize(728, 90)); // the design's exact size
    EXPECT_EQ(written.pixel(2, 2), qRgb(255, 0, 0));

    // A png name gets JPEG data; the folder follows the file.
    QDir(folder.path()).mkdir("sub");
    dialogs.chosen = folder.filePath("sub/banner.png");
    dialogs.chosenFilter = 3;
    commands.ExportExact(Document());
    QFile png(folder.filePath("sub/banner.png"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_TRUE(png.readAll().startsWith("\xFF\xD8"));
    EXPECT_EQ(params.state.expdir, folder.filePath("sub").toStdString());
    EXPECT_EQ(params.state.expndx, 2); // a third filter is not kept
}

// A stored type is read as its absolute value: -9 is a picture for the web as 9 is, and keeps
// its exact pixel size, even one too small for a page (which would be made 10 pixels at least).
TEST(ExportExactImage, AWebPictureStoredWithANegativeTypeKeepsItsPixelSize) {
    for (int32_t type : {DesignType::DigitalImages, -DesignType::DigitalImages}) {
        ItemList design;
        AddHeader(design, Page{.units = 1, .type = type, .paperWidth = 5, .paperHeight = 4});
        EXPECT_EQ(ExportExactImage(design, test::PaintBoxes).image.size(), QSize(5, 4)) << type;
    }
}

TEST_F(OutputCommandsTest, AnExistingFileIsReplacedOnlyAfterYes) {
    AddHeader(design,
              Page{.units = 1, .type = DesignType::DigitalImages, .paperWidth = 20, .paperHeight = 20});
    const QString path = folder.filePath("old.jpg");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    dialogs.chosen = path;
    prompt.answer = PromptAnswer::No;
    commands.ExportExact(Document());
    EXPECT_EQ(prompt.asked, std::vector<std::string>{"Replace the existing file?"});
    EXPECT_EQ(QFileInfo(path).size(), 3);
    prompt.answer = PromptAnswer::Yes;
    commands.ExportExact(Document());
    EXPECT_GT(QFileInfo(path).size(), 3);

    // A cancelled dialog writes nothing and keeps the folder.
    params.state.expdir = "kept";
    dialogs.chosen.clear();
    commands.ExportExact(Document());
    EXPECT_EQ(params.state.expdir, "kept");
}

TEST_F(OutputCommandsTest, ExportFailuresAreReportedToTheUser) {
    AddHeader(design,
              Page{.units = 1, .type = DesignType::DigitalImages, .paperWidth = 300, .paperHeight = 20});
    dialogs.chosen = folder.filePath("wide.ico");
    commands.ExportExact(Document());
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_NE(prompt.asked[0].find("300 x 20"), std::string::npos);
    EXPECT_FALSE(QFile::exists(folder.filePath("wide.ico")));
}

TEST_F(OutputCommandsTest, ThePreviewShowsTheSheetAtItsScreenSizeWithTheSelectionsBlanks) {
    // A4 cards 2 x 2, 10 mm margins (38 pixels), the whole card coloured; area 1 switched off.
    AddHeader(design, Page{.left = 10, .top = 10, .rows = 2, .columns = 2});
    AddBox(design, 0, 0, 280, 197, kRed);
    selection = "x";
    commands.ExportSmooth(Document());
    EXPECT_EQ(shown, (std::vector<Shown>{{'X', 57, 7, "Card"}}));
    std::unique_ptr<TPreview> preview = std::move(hostPage);
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->exportRequested());
    EXPECT_EQ(commands.previewDocument(), 7);
    EXPECT_EQ(preview->Label1->text(), "The print preview is being prepared...");
    EXPECT_TRUE(preview->PrintButton->isHidden());
    QSignalSpy ready(preview.get(), &TPreview::ready);
    preview->Prepare();
    ASSERT_EQ(ready.count(), 1);
    ASSERT_EQ(preview->image().size(), QSize(794, 1123));
    EXPECT_EQ(preview->Label1->text(), "The preview is scaled to fit your screen.");
    EXPECT_TRUE(preview->Label3->text().startsWith("Most printers cannot print on the edges"));
    EXPECT_FALSE(preview->PrintButton->isHidden());
    // Card centres at (38 + 140, 38 + 98) and (38 + 280 + 140, 38 + 98).
    EXPECT_EQ(preview->image().pixel(178, 136), qRgb(255, 255, 255));
    EXPECT_EQ(preview->image().pixel(458, 136), qRgb(255, 0, 0));

    // The smooth export writes that picture; the exact export shows every area.
    dialogs.chosen = folder.filePath("smooth.bmp");
    commands.ExportPreview(*preview);
    const QImage smooth = Read(folder.filePath("smooth.bmp"));
    ASSERT_EQ(smooth.size(), QSize(794, 1123));
    EXPECT_EQ(smooth.pixel(178, 136), qRgb(255, 255, 255));
    dialogs.chosen = folder.filePath("exact.bmp");
    commands.ExportExact(Document());
    const QImage exact = Read(folder.filePath("exact.bmp"));
    ASSERT_EQ(exact.size(), QSize(794, 1123));
    EXPECT_EQ(exact.pixel(178, 136), qRgb(255, 0, 0));

    // The next preview is a plain one, also after a host that showed no page.
    hostMakesPages = false;
    commands.ExportSmooth(Document());
    std::unique_ptr<TPreview> plain(commands.CreatePreviewPage(7, nullptr));
    EXPECT_FALSE(plain->exportRequested());
}

// Fit scales the sheet to the window and lasts for the run; Ctrl+wheel chooses a scale of its
// own and leaves Fit.
TEST_F(OutputCommandsTest, ThePreviewFitsTheSheetToItsWindowOnRequestForTheRestOfTheRun) {
    AddHeader(design, Page{.left = 10, .top = 10, .rows = 2, .columns = 2});
    std::unique_ptr<TPreview> preview(commands.CreatePreviewPage(7, nullptr));
    preview->resize(760, 640);
    preview->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(preview.get()));
    preview->Prepare();
    ASSERT_EQ(preview->image().size(), QSize(794, 1123));
    EXPECT_EQ(preview->View->panelSize(), QSize(794, 1123));   // the physical size
    preview->FitBox->setChecked(true);
    const QSize room = preview->View->size() - QSize(20, 20);
    const double scale = std::min(room.width() / 794.0, room.height() / 1123.0);
    EXPECT_EQ(preview->View->panelSize(), QSize(int(794 * scale), int(1123 * scale)));
    EXPECT_TRUE(preview->View->panelSize().width() <= room.width() &&
                preview->View->panelSize().height() <= room.height());

    std::unique_ptr<TPreview> next(commands.CreatePreviewPage(7, nullptr));
    EXPECT_TRUE(next->FitBox->isChecked());   // remembered

    QWheelEvent closer(QPointF(50, 50), preview->View->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120),
                       Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(preview->View, &closer);
    EXPECT_FALSE(preview->FitBox->isChecked());
    // The next zoom step above the fitted scale (under 1 here: 0.75 or smaller steps).
    EXPECT_GT(preview->displayScale(), scale);
    EXPECT_EQ(preview->View->panelSize().width(), int(794 * preview->displayScale()));

    // Zoomed in further until the sheet scrolls both ways, the point of the sheet under the
    // pointer stays under it.
    const QPointF pointer(300, 200);
    QWheelEvent further(pointer, preview->View->mapToGlobal(pointer), QPoint(), QPoint(0, 120), Qt::NoButton,
                        Qt::ControlModifier, Qt::NoScrollPhase, false);
    QRect before, after = preview->View->panelRect();
    while (after.width() <= preview->View->viewSize().width()) {
        before = after;
        QApplication::sendEvent(preview->View, &further);
        after = preview->View->panelRect();
        ASSERT_GT(after.width(), before.width());
    }
    const double atBefore = (pointer.x() - before.x()) / before.width(),
                 downBefore = (pointer.y() - before.y()) / before.height();
    EXPECT_NEAR((pointer.x() - after.x()) / after.width(), atBefore, 1.5 / after.width());
    EXPECT_NEAR((pointer.y() - after.y()) / after.height(), downBefore, 1.5 / after.height());
}

TEST_F(OutputCommandsTest, ThePreviewsPrintButtonRunsThePrintCommandOnceTheHostHasHidden) {
    AddHeader(design, Page{});
    std::unique_ptr<TPreview> preview(commands.CreatePreviewPage(7, nullptr));
    preview->RunAction();
    EXPECT_TRUE(shown.empty());
    QTest::qWait(20);
    EXPECT_EQ(shown, (std::vector<Shown>{{'Y', 66, 7, ""}}));
}

TEST_F(OutputCommandsTest, APreviewThatCannotBeComposedSaysSo) {
    AddHeader(design,
              Page{.units = 1, .type = DesignType::DigitalImages, .paperWidth = 32000, .paperHeight = 32000});
    std::unique_ptr<TPreview> preview(commands.CreatePreviewPage(7, nullptr));
    preview->Prepare();
    EXPECT_FALSE(preview->isReady());
    EXPECT_TRUE(preview->Label1->text().startsWith("The sheet cannot be composed"));
    EXPECT_TRUE(preview->PrintButton->isHidden());
    // Nothing to export from it.
    dialogs.chosen = folder.filePath("none.jpg");
    commands.ExportPreview(*preview);
    EXPECT_EQ(dialogs.shown, 0);
}

TEST_F(OutputCommandsTest, TheScreenshotWritesAThumbnailAndAFourByThreePicture) {
    QWidget window;
    window.resize(100, 50);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0, 0, 255));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    dialogs.chosen = folder.filePath("shot.jpg");
    commands.Screenshot(window);
    // The capture is 108 x 58: 400 x 214.8 -> 215, and 108 x 81 with the capture from row 11.
    const QImage thumbnail = Read(folder.filePath("shot_400w.jpg"));
    EXPECT_EQ(thumbnail.size(), QSize(400, 215));
    const QImage fourByThree = Read(folder.filePath("shot_4wx3h.jpg"));
    ASSERT_EQ(fourByThree.size(), QSize(108, 81));
    const QRgb background = fourByThree.pixel(54, 3), capture = fourByThree.pixel(54, 40);
    EXPECT_NEAR(qRed(background), 35, 8);
    EXPECT_NEAR(qGreen(background), 63, 8);
    EXPECT_NEAR(qBlue(background), 64, 8);
    EXPECT_GT(qBlue(capture), 200);
    EXPECT_LT(qRed(capture), 40);
    EXPECT_EQ(params.state.expdir, folder.path().toStdString());
}

} // namespace
} // namespace vlr
