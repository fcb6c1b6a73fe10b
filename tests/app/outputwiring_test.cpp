// The output commands as the main window reaches them: the File menu's hooks open the pages on
// the right host, the preview's print button and the smooth export run through the host's
// one-shot timers, and Prepare Print hands its selection to the document window, whose own
// timer prints once the host has hidden.
#include "app/outputwiring.h"

#include "../output/sheetfixture.h"
#include "app/dialoghost.h"
#include "app/mainwindow.h"
#include "app/pages.h"
#include "app/shortcuts.h"
#include "canvas/sandbox.h"
#include "fakedesign.h"
#include "output/calibration.h"
#include "output/outputcommands.h"
#include "output/preview.h"
#include "output/prsel.h"
#include "panels/picturebutton.h"
#include "platform/inistore.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace vlr {
namespace {

class NoPrompt : public Prompt {
public:
    PromptAnswer Ask(PromptIcon, std::string_view text, PromptButtons) override {
        asked.emplace_back(text);
        return PromptAnswer::Yes;
    }
    std::vector<std::string> asked;
};

class ChosenFile : public ExportDialogs {
public:
    QString ExportFileName(const QString&, int&) override {
        ++asked;
        return chosen;
    }
    QString chosen;
    int asked = 0;
};

class OutputWiringTest : public testing::Test {
protected:
    void SetUp() override {
        store = std::make_unique<IniRegistryStore>(folder.path());
        form = std::make_unique<TForm1>(*store, prompt);
        formX = std::make_unique<TDialogHost>(HostKind::X, form->params(), form.get());
        formY = std::make_unique<TDialogHost>(HostKind::Y, form->params(), form.get());
        RegisterDialogPages(*formX, *formY);
        form->SetDialogHosts(formX.get(), formY.get());
        commands = std::make_unique<OutputCommands>(form->params(), prompt, dialogs);
        InstallOutputCommands(*form, *formX, *formY, *commands);
        commands->runPrintDialog = [this](QPrinter&) {
            ++printDialogs;
            return false;
        };
        // The scan of the installed fonts takes a good part of a second under the sanitizers and
        // would hold up the print timers these tests wait for.
        form->Timer5.stop();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override {
        formX.reset();
        formY.reset();
        commands.reset();
        form.reset();
    }
    // A document window with a page; single: one card on the sheet.
    test::FakeDesign* OpenCard(int32_t number, bool single) {
        auto* design = new test::FakeDesign(number, "Card");
        test::SetPage(FindRecord(design->items(), ItemKind::Header),
                      single ? test::Page{.rows = 1, .columns = 1} : test::Page{});
        form->AddDesignView(design);
        return design;
    }

    QTemporaryDir folder;
    std::unique_ptr<IniRegistryStore> store;
    NoPrompt prompt;
    ChosenFile dialogs;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TDialogHost> formX, formY;
    std::unique_ptr<OutputCommands> commands;
    int printDialogs = 0;
};

TEST_F(OutputWiringTest, PrintPreviewOpensThePreviewWhosePrintButtonPrintsOnceTheHostHides) {
    OpenCard(5, true);
    form->hooks.output.printPreview();
    ASSERT_EQ(formX->currentPage(), 57);
    EXPECT_EQ(formX->windowTitle(), "Card");
    auto* preview = qobject_cast<TPreview*>(formX->page());
    ASSERT_NE(preview, nullptr);
    QSignalSpy ready(preview, &TPreview::ready);
    ASSERT_TRUE(ready.wait(10000));
    QTest::mouseClick(preview->PrintButton, Qt::LeftButton);
    EXPECT_EQ(printDialogs, 0);
    QTest::qWait(400);
    EXPECT_FALSE(formX->isVisible());
    EXPECT_EQ(printDialogs, 1);
}

TEST_F(OutputWiringTest, SmoothExportWritesThePreviewOnceItIsShown) {
    OpenCard(5, true);
    dialogs.chosen = folder.filePath("smooth.jpg");
    form->hooks.output.exportSmooth();
    auto* preview = qobject_cast<TPreview*>(formX->page());
    ASSERT_NE(preview, nullptr);
    QSignalSpy ready(preview, &TPreview::ready);
    ASSERT_TRUE(ready.wait(10000));
    QTest::qWait(400);
    EXPECT_EQ(dialogs.asked, 1);
    EXPECT_EQ(QImage(folder.filePath("smooth.jpg")).size(), QSize(794, 1123));
}

TEST_F(OutputWiringTest, PreparePrintHandsTheSelectionToTheWindowWhichPrintsOnItsTimer) {
    auto* window = new TSandbox(form->params(), *form, prompt);
    ASSERT_TRUE(window->OpenDesign(6, QString()));
    test::SetPage(FindRecord(window->items(), ItemKind::Header), test::Page{});
    form->AddDesignView(window);
    form->hooks.output.print();
    ASSERT_EQ(formY->currentPage(), 66);
    EXPECT_EQ(formY->windowTitle(), "Options");
    auto* page = qobject_cast<TPrsel*>(formY->page());
    ASSERT_NE(page, nullptr);
    page->SelectNoneClick();
    formY->LeftButtonClick();
    EXPECT_FALSE(formY->isVisible());
    EXPECT_EQ(window->printAreaSelection, "xxxxxxxxxx");
    EXPECT_TRUE(window->Timer8.isActive());
    EXPECT_EQ(printDialogs, 0);
    QTest::qWait(300);
    EXPECT_EQ(printDialogs, 1);

    // Print Preview on the same layout asks again, starting from the kept selection.
    form->hooks.output.printPreview();
    ASSERT_EQ(formY->currentPage(), 67);
    page = qobject_cast<TPrsel*>(formY->page());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->selection(), "xxxxxxxxxx");
    formY->LeftButtonClick();
    EXPECT_EQ(formX->currentPage(), 57);
}

// The calibration page opens from the File menu, next to Print, and from the preview; what it
// saves corrects the next print to that printer: here a PDF file, whose page content is shifted by
// 2.54 mm, 60 pixels at the file's 600 dpi.
TEST_F(OutputWiringTest, PrinterCalibrationFromTheMenuAndThePreviewCorrectsTheNextPrint) {
    OpenCard(5, true);
    const QList<QAction*> entries = form->Menu("File")->actions();
    const qsizetype print = entries.indexOf(form->Action("File/Print"));
    ASSERT_GE(print, 0);
    EXPECT_EQ(entries.value(print + 1), form->Action("File/Printer Calibration"));
    EXPECT_EQ(PlainCaption(form->Action("File/Printer Calibration")->text()), "Printer Calibration...");

    form->Action("File/Printer Calibration")->trigger();
    ASSERT_EQ(formY->currentPage(), 68);
    EXPECT_EQ(formY->windowTitle(), "Printer Calibration");
    auto* page = qobject_cast<TCalibration*>(formY->page());
    ASSERT_NE(page, nullptr);
    page->Printer->setCurrentText("PDF file");
    page->OffsetX->setText("2.54");
    formY->LeftButtonClick();
    EXPECT_FALSE(formY->isVisible());
    EXPECT_EQ(LoadCalibration(*store, "PDF file"), (PrinterCalibration{2.54, 0.0, 100.0, 100.0}));

    form->hooks.output.printPreview();
    auto* preview = qobject_cast<TPreview*>(formX->page());
    ASSERT_NE(preview, nullptr);
    QTest::mouseClick(preview->CalibrationButton, Qt::LeftButton);
    EXPECT_EQ(formY->currentPage(), 68);
    formY->RightButtonClick();

    const QString pdf = folder.filePath("printed.pdf");
    commands->runPrintDialog = [&pdf](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    form->hooks.output.print();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\n1 0 0 1 60 0 cm\n"));
    EXPECT_TRUE(prompt.asked.empty());
}

} // namespace
} // namespace vlr
