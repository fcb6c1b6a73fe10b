// The main window and the dialog hosts, driven as a user would under the offscreen platform.
#include "app/about.h"
#include "app/dialoghost.h"
#include "app/mainwindow.h"
#include "app/pages.h"
#include "app/shortcuts.h"
#include "mainwindowfixture.h"
#include "model/prompt.h"
#include "panels/procs.h"
#include "platform/inistore.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

namespace vlr {
namespace {

using test::FakeDesign;

class MainWindowTest : public test::MainWindowFixture {
protected:
    std::vector<QString> Captions(QMenu* menu) {
        std::vector<QString> captions;
        for (QAction* action : menu->actions()) {
            captions.push_back(action->isSeparator() ? QString("-") : PlainCaption(action->text()));
        }
        return captions;
    }
};

TEST_F(MainWindowTest, TitleMenusEntriesAndShortcuts) {
    EXPECT_EQ(form->windowTitle(), "Velloran Business Cards");
    std::vector<QString> bar;
    for (QAction* action : form->menuBar()->actions()) {
        if (action->isVisible()) {
            bar.push_back(PlainCaption(action->text()));
        }
    }
    EXPECT_EQ(bar, (std::vector<QString>{"File", "Insert", "Edit", "Zoom", "Tools", "Customize", "Help"}));

    EXPECT_EQ(Captions(form->Menu("Insert")),
              (std::vector<QString>{"Picture", "Text", "Line", "Arc", "Spline", "Curve", "Triangle", "Square",
                                    "Rectangle", "Circle", "Pie", "Ellipse", "Polygon", "Star", "Solid", "Oblong"}));
    EXPECT_EQ(form->Action("Insert/Polygon")->data().toInt(), 199);
    EXPECT_EQ(Captions(form->Menu("Zoom")),
              (std::vector<QString>{"25%", "50%", "75%", "100%", "125%", "150%", "175%", "200%", "300%"}));
    EXPECT_TRUE(form->Action("Zoom/100%")->isChecked());
    EXPECT_EQ(Captions(form->Menu("Customize")),
              (std::vector<QString>{"Colors", "Line Weights", "Line Patterns", "Alignments", "Font sizes", "Text angles",
                                    "Shadows"}));

    EXPECT_EQ(form->Action("File/New")->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(form->Action("File/Open")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(form->Action("File/Save")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(form->Action("File/Print")->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(form->Action("Edit/Undo")->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(form->Action("Edit/Redo")->shortcut(), QKeySequence("Ctrl+Alt+Z"));
    EXPECT_EQ(form->Action("Edit/Cut")->shortcut(), QKeySequence("Ctrl+Del"));
    EXPECT_EQ(form->Action("Edit/Copy")->shortcut(), QKeySequence("Ctrl+Ins"));
    EXPECT_EQ(form->Action("Edit/Paste")->shortcut(), QKeySequence("Shift+Ins"));

    // Hidden entries stay hidden; the Window menu is hidden while empty.
    EXPECT_FALSE(form->Action("File/Export")->isVisible());
    EXPECT_FALSE(form->Action("File/Screenshot")->isVisible());
    EXPECT_FALSE(form->Action("Edit/Copy to Clipboard")->isVisible());
    EXPECT_FALSE(form->Menu("Window")->menuAction()->isVisible());
    EXPECT_FALSE(form->Action("Edit/Undo")->isEnabled());
    EXPECT_FALSE(form->Action("File/Save")->isEnabled());
    EXPECT_EQ(PlainCaption(form->Menu("File/Reopen")->actions().last()->text()), "Clear...");
    EXPECT_TRUE(form->Action("Tools/Grid/Anchors/Both")->isChecked());
    EXPECT_FALSE(form->Menu("Tools/Grid/Reset")->isEnabled());
}

TEST_F(MainWindowTest, ToolbarRowStaysBetween24And30Pixels) {
    QWidget* row = form->ToolbarRow();
    EXPECT_EQ(row->minimumHeight(), 24);
    EXPECT_EQ(row->maximumHeight(), 30);
    auto* splitter = qobject_cast<QSplitter*>(row->parentWidget());
    ASSERT_NE(splitter, nullptr);
    splitter->setSizes({200, 400});
    EXPECT_LE(row->height(), 30);
    splitter->setSizes({5, 600});
    EXPECT_GE(row->height(), 24);
}

TEST_F(MainWindowTest, WhatNextBoxShowsAtMostFourSuggestionsAndNoneOnInsert) {
    EXPECT_EQ(form->currentPanel(), 20);
    EXPECT_TRUE(form->SuggestionRows().empty());
    form->ShowPanel(401);
    EXPECT_EQ(form->SuggestionRows(), (std::vector<int>{1, 47, 50, 51}));
    form->ShowPanel(1024);
    EXPECT_EQ(form->SuggestionRows().size(), 4u);
    EXPECT_EQ(form->previousPanel(), 401);
}

TEST_F(MainWindowTest, BackReturnsToTheFineTunePanelWithTheSameLineSelected) {
    FakeDesign* design = OpenDesign(7);
    ItemRecord* line = design->AddLine(true);
    form->ShowPanel(98);
    form->ShowPanel(99);
    SelectOnly(design->items(), nullptr);
    form->ShowPanel(20);
    ASSERT_TRUE(form->BackAvailable());
    form->GoBack();
    EXPECT_EQ(form->currentPanel(), 99);
    EXPECT_EQ(line->selected, 255);
    EXPECT_TRUE(form->ForwardAvailable());

    // The line is deleted meanwhile: Back skips its entry.
    form->ShowPanel(20);
    line->deleted = 255;
    form->GoBack();
    EXPECT_EQ(form->currentPanel(), 98);
}

TEST_F(MainWindowTest, SwitchingTwiceToTheLinePanelRecordsOneEntry) {
    size_t before = form->history().entries().size();
    form->ShowPanel(98);
    form->ShowPanel(98);
    EXPECT_EQ(form->history().entries().size(), before + 1);
    form->params().state.lineColor = 0xFF;
    form->ShowPanel(98);
    EXPECT_EQ(form->history().entries().size(), before + 2);
}

TEST_F(MainWindowTest, InsertTextWithoutADesignOpensOneInTextMode) {
    QString opened = "none";
    form->hooks.files.openDocument = [&](const QString& path) { opened = path; };
    form->Action("Insert/Text")->trigger();
    EXPECT_TRUE(form->Timer2.isActive());
    EXPECT_TRUE(QTest::qWaitFor([&opened] { return opened.isEmpty(); }));
    EXPECT_EQ(form->TakeNextDesignTool(), 31);
}

TEST_F(MainWindowTest, DesignsGetWindowEntriesAndTheLastClosingResetsTheMenus) {
    FakeDesign* first = OpenDesign(3);
    FakeDesign* second = OpenDesign(4);
    EXPECT_TRUE(form->Menu("Window")->menuAction()->isVisible());
    EXPECT_TRUE(form->Action("File/Save")->isEnabled());
    EXPECT_EQ(form->ActiveDesign(), second);
    EXPECT_TRUE(form->Action("File/Page Setup/Current File")->isVisible());
    EXPECT_EQ(form->Action("File/Page Setup/Current File")->text(), "Card 4");
    ASSERT_TRUE(form->ActivateDocument(3));
    EXPECT_EQ(form->ActiveDesign(), first);

    form->Action("Zoom/200%")->trigger();
    EXPECT_EQ(first->zoom, 2.0);
    EXPECT_FALSE(form->Action("Zoom/100%")->isChecked());

    form->DocumentArea()->closeAllSubWindows();
    ASSERT_TRUE(QTest::qWaitFor([this] { return form->Action("Zoom/100%")->isChecked(); }));
    EXPECT_FALSE(form->Action("File/Save")->isEnabled());
    EXPECT_FALSE(form->Action("Edit/Undo")->isEnabled());
    EXPECT_FALSE(form->Menu("Window")->menuAction()->isVisible());
    EXPECT_EQ(form->currentPanel(), 20);
}

TEST_F(MainWindowTest, KeysGoFirstToTheActiveDesign) {
    FakeDesign* design = OpenDesign(9);
    design->consumeKeys = true;
    QTest::keyClick(form.get(), Qt::Key_A);
    ASSERT_FALSE(design->keys.empty());
    EXPECT_EQ(design->keys.back(), Qt::Key_A);
    design->consumeKeys = false;
    QTest::keyClick(form.get(), Qt::Key_B);
    EXPECT_EQ(design->characters.right(1), "b");
}

// Only keys aimed at the main window and its document windows reach the design, and none while
// it ignores keys: a Delete typed into the Save As box must not reach the selection.
TEST_F(MainWindowTest, KeysOfOtherWindowsAndKeysWhileTheDesignIgnoresThemStayAway) {
    FakeDesign* design = OpenDesign(9);
    QFileDialog dialog(form.get(), "Save As");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    QTest::keyClicks(name, "card");
    QTest::keyClick(name, Qt::Key_Delete);
    QTest::keyClick(dialog.windowHandle(), Qt::Key_Backspace); // the window system's path
    EXPECT_EQ(name->text(), "car");
    dialog.hide();

    QMessageBox box(QMessageBox::Question, "Velloran Business Cards", "Save?",
                    QMessageBox::Yes | QMessageBox::No, form.get());
    box.show();
    QTest::keyClick(&box, Qt::Key_Delete);
    box.hide();

    form->Action("Help/About")->trigger();
    ASSERT_TRUE(formX->isVisible());
    QTest::keyClick(formX.get(), Qt::Key_Delete);
    EXPECT_TRUE(design->keys.empty());
    EXPECT_TRUE(design->characters.isEmpty());

    design->keysIgnored = true;
    QTest::keyClick(form.get(), Qt::Key_A);
    EXPECT_TRUE(design->keys.empty());
    design->keysIgnored = false;
    QTest::keyClick(form.get(), Qt::Key_A);
    EXPECT_EQ(design->keys, std::vector<int>{Qt::Key_A});
}

TEST_F(MainWindowTest, AKeyTypedIntoAWidgetOfTheDesignReachesTheDesignOnce) {
    FakeDesign* design = OpenDesign(9);
    // A widget of the document window that takes the focus but leaves keys to its parents, so
    // the key is offered to every widget up to the main window.
    auto* field = new QWidget(design);
    field->setFocusPolicy(Qt::StrongFocus);
    field->show();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A);
    EXPECT_EQ(design->keys, std::vector<int>{Qt::Key_A});
    EXPECT_EQ(design->characters, "a");

    // The same through the window system's path: the top-level window first, then its focus widget.
    ASSERT_EQ(form->focusWidget(), field);
    QTest::keyClick(form->windowHandle(), Qt::Key_B);
    EXPECT_EQ(design->keys, (std::vector<int>{Qt::Key_A, Qt::Key_B}));
    EXPECT_EQ(design->characters, "ab");

    // Two presses of the same key are two keys.
    QTest::keyClick(field, Qt::Key_C);
    QTest::keyClick(field, Qt::Key_C);
    EXPECT_EQ(design->characters, "abcc");
}

TEST_F(MainWindowTest, CommandsWhosePageIsNotThereShowNothing) {
    OpenDesign(6);
    form->Action("Help/Hints/Show All")->trigger();
    form->RunCommand(510);   // the clip editor
    EXPECT_FALSE(formX->isVisible());
    EXPECT_EQ(formX->currentPage(), 0);
    EXPECT_EQ(form->currentPanel(), 20);

    // A command whose page is there still opens it.
    form->Action("File/Page Setup/New Files")->trigger();
    EXPECT_TRUE(formX->isVisible());
    EXPECT_EQ(formX->currentPage(), 54);
}

TEST_F(MainWindowTest, GridCustomizeOpensTheActiveDesignsOptionsOrThoseOfNewFiles) {
    form->Action("Tools/Grid/Customize...")->trigger();
    EXPECT_EQ(formX->currentPage(), 26);
    EXPECT_EQ(formX->windowTitle(), "Grid and Snap - New Files");
    formX->RightButtonClick();
    OpenDesign(8);
    form->Action("Tools/Grid/Customize...")->trigger();
    EXPECT_EQ(formX->currentPage(), 27);
    EXPECT_EQ(formX->windowTitle(), "Grid and Snap - Card 8");
    formX->RightButtonClick();
    form->Action("Tools/Speed")->trigger();
    EXPECT_EQ(formY->currentPage(), 64);
    EXPECT_EQ(formY->windowTitle(), "Speed - Card 8");
}

TEST_F(MainWindowTest, GridMenusActOnTheActiveDesignAndShowItsState) {
    TProcs& toolbar = *form->Toolbar();
    // No design: the entries show the new-file settings and a click changes nothing.
    form->Action("Tools/Grid/Both")->trigger();
    EXPECT_TRUE(form->Action("Tools/Grid/None")->isChecked());
    EXPECT_FALSE(form->Action("Tools/Grid/Both")->isChecked());
    form->Action("Tools/Snap/Vertical")->trigger();
    EXPECT_TRUE(form->Action("Tools/Snap/None")->isChecked());
    EXPECT_FALSE(toolbar.snapOn());

    FakeDesign* design = OpenDesign(9);
    ItemRecord* header = FindRecord(design->items(), ItemKind::Header);
    struct Case {
        const char* entry;
        ByteField* x;
        ByteField* y;
        bool wantX, wantY;
    };
    const Case cases[] = {
        {"Tools/Grid/Vertical", &header->showGridX, &header->showGridY, false, true},
        {"Tools/Grid/Both", &header->showGridX, &header->showGridY, true, true},
        {"Tools/Grid/Anchors/Horizontal", &header->anchorsX, &header->anchorsY, true, false},
        {"Tools/Snap/Horizontal", &header->snapX, &header->snapY, true, false},
        {"Tools/Snap/None", &header->snapX, &header->snapY, false, false},
    };
    for (const Case& each : cases) {
        form->Action(each.entry)->trigger();
        EXPECT_EQ(*each.x != 0, each.wantX) << each.entry;
        EXPECT_EQ(*each.y != 0, each.wantY) << each.entry;
        EXPECT_TRUE(form->Action(each.entry)->isChecked()) << each.entry;
    }
    EXPECT_TRUE(toolbar.gridlinesOn());
    EXPECT_FALSE(toolbar.snapOn());
    form->Action("Tools/Snap/Both")->trigger();
    EXPECT_TRUE(toolbar.snapOn());
    EXPECT_TRUE(form->Menu("Tools/Grid/Reset")->isEnabled());
}

TEST_F(MainWindowTest, GridResetAsksAndOnlyYesEqualises) {
    FakeDesign* design = OpenDesign(5);
    form->SetGridMenu(3, false);
    prompt.answer = PromptAnswer::No;
    form->Action("Tools/Grid/Reset/Vertical")->trigger();
    EXPECT_TRUE(design->equalised.empty());
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0], "Make the distances between the gridlines equal?\n"
                               "(Use 'Tools|Grid|Customize...' to set the default distance).");
    prompt.answer = PromptAnswer::Yes;
    form->Action("Tools/Grid/Reset/Both")->trigger();
    EXPECT_EQ(design->equalised, std::vector<int>{6});
    form->SetGridMenu(1, false);
    EXPECT_TRUE(form->Action("Tools/Grid/Reset/Horizontal")->isEnabled());
    EXPECT_FALSE(form->Action("Tools/Grid/Reset/Vertical")->isEnabled());
}

TEST_F(MainWindowTest, SettingsAreSavedWhenTheWindowCloses) {
    form->params().state.tsize = 30;
    form->close();
    QSettings saved(store->FileOfKey("Software/Tessarine/CustomSettings"), QSettings::IniFormat);
    EXPECT_EQ(saved.value("tsize").toInt(), 30);
}

// The program reads the colour dialog's cells before the settings; the settings' factory reset
// must not wipe them, or the exit would write them away.
TEST_F(MainWindowTest, TheColourDialogsCellsSurviveRestarts) {
    form->params().slots.dialogColours[2] = "colorC=00FF00";
    for (int restart = 1; restart <= 2; ++restart) {
        formX.reset();
        formY.reset();
        form.reset(); // the exit writes the settings
        form = std::make_unique<TForm1>(*store, prompt);
        EXPECT_EQ(form->params().slots.dialogColours[2], "colorC=00FF00") << "restart " << restart;
    }
}

TEST_F(MainWindowTest, TheAboutPageInTheLargeHost) {
    form->Action("Help/About")->trigger();
    EXPECT_TRUE(formX->isVisible());
    EXPECT_EQ(formX->windowTitle(), "About");
    EXPECT_EQ(formX->leftButton()->text(), "Web");
    EXPECT_EQ(formX->rightButton()->text(), "Close");
    EXPECT_EQ(formX->leftButton()->geometry(), QRect(11, 8, 118, 20));
    EXPECT_EQ(formX->rightButton()->geometry(), QRect(147, 8, 118, 20));
    auto* about = qobject_cast<TAbout*>(formX->page());
    ASSERT_NE(about, nullptr);
    QMouseEvent move(QEvent::MouseMove, QPointF(about->linkRect().center()), about->mapToGlobal(QPointF(about->linkRect().center())),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(about, &move);
    EXPECT_TRUE(about->linkHighlighted());
    EXPECT_EQ(formX->leftButton()->look(), ButtonLook::Highlighted);
    formX->RightButtonClick();
    EXPECT_FALSE(formX->isVisible());
    EXPECT_EQ(formX->currentPage(), 0);
}

TEST(DialogHost, PagesTitlesButtonsAndSlots) {
    EXPECT_EQ(DescribePage(HostKind::X, 26, "  ").title, "Grid and Snap");
    EXPECT_EQ(DescribePage(HostKind::X, 27, "Card 1").title, "Grid and Snap - Card 1");
    EXPECT_EQ(DescribePage(HostKind::X, 54, "New Files").title, "Page Setup - New Files");
    EXPECT_EQ(DescribePage(HostKind::X, 51, "/home/ann/photo.final.jpg").title, "photo.final");
    EXPECT_EQ(DescribePage(HostKind::X, 57, "Preview").leftButton, "Print");
    EXPECT_EQ(DescribePage(HostKind::X, 60, "").leftButton, "Proceed");
    EXPECT_EQ(DescribePage(HostKind::Y, 67, "").leftButton, "Preview");
    EXPECT_EQ(DescribePage(HostKind::Y, 64, "Speed").title, "Speed");
    EXPECT_EQ(DescribePage(HostKind::Y, 68, "").title, "Printer Calibration");
    EXPECT_EQ(DescribePage(HostKind::Y, 68, "").slot, 15); // a slot no other page uses
    EXPECT_EQ(DescribePage(HostKind::X, 40, "").slot, DescribePage(HostKind::X, 41, "").slot);
    PageDescription unknown = DescribePage(HostKind::X, 99, "");
    EXPECT_FALSE(unknown.known);
    EXPECT_EQ(unknown.leftButton, "Save");
    EXPECT_EQ(unknown.rightButton, "Cancel");
}

class CountingPage : public DialogPage {
public:
    explicit CountingPage(QWidget* parent, int* runs) : DialogPage(parent), runs_(runs) {}
    QSize PreferredClientSize() const override { return {300, 120}; }
    bool RunAction() override {
        ++*runs_;
        return true;
    }

private:
    int* runs_;
};

TEST_F(MainWindowTest, HostsRememberWherePagesOfASlotStood) {
    int runs = 0;
    for (int code : {40, 41}) {
        formX->RegisterPage(code, [&runs](int, int, const QString&, QWidget* parent) -> DialogPage* {
            return new CountingPage(parent, &runs);
        });
    }
    formX->ShowPage(41);
    formX->show();
    QRect first = formX->geometry();
    formX->setGeometry(first.translated(17, 9));
    QRect moved = formX->frameGeometry();
    formX->RightButtonClick();
    // Text angles share the slot of font sizes: the window stands where it was left.
    formX->ShowPage(40);
    formX->show();
    EXPECT_EQ(formX->frameGeometry().topLeft(), moved.topLeft());
    EXPECT_EQ(formX->windowTitle(), "Customize Text Angles");

    // The left button runs the action once, then the host hides.
    formX->LeftButtonClick();
    formX->LeftButtonClick();
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(formX->isVisible());
}

TEST_F(MainWindowTest, TheFirstTimeSetupKeepsTheHost) {
    formX->ShowPage(60);
    formX->show();
    formX->ShowPage(45);
    EXPECT_EQ(formX->currentPage(), 60);
    EXPECT_EQ(formX->windowTitle(), "First-time Setup");
}

TEST_F(MainWindowTest, EditingAClipWithoutOneShowsNothing) {
    int runs = 0;
    formX->RegisterPage(503, [&runs](int, int, const QString&, QWidget* parent) -> DialogPage* {
        return new CountingPage(parent, &runs);
    });
    formX->prepareClipPage = [](int, QString&) { return false; };
    form->DeferCommand(503);
    EXPECT_TRUE(QTest::qWaitFor([this] { return formX->currentPage() == 503; }));
    EXPECT_FALSE(formX->isVisible());
}

} // namespace
} // namespace vlr
