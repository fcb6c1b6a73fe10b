// Desktop habits of the main window and the dialog hosts: mnemonics and the common keys, the
// dialog hosts' Return and Escape, the status bar, the unsaved-changes mark and the window's
// place from one run to the next.
#include "app/hostkeys.h"
#include "app/shortcuts.h"
#include "app/statusbar.h"
#include "app/windowplaces.h"
#include "mainwindowfixture.h"
#include "model/itemlist.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTest>

#include <functional>

namespace vlr {
namespace {

using test::FakeDesign;

class HabitsTest : public test::MainWindowFixture {
protected:
    void Activate() {
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
};

TEST(Mnemonic, FirstFreeWordStartThenAnyFreeLetter) {
    QSet<QChar> taken;
    const struct {
        const char* caption;
        const char* expected;
    } cases[] = {
        {"Save", "&Save"},
        {"Save As", "Save &As"},       // S is taken: the next word's first letter
        {"Snap", "S&nap"},             // no free word start: the first free letter
        {"&Print", "&Print"},          // a caption that has one keeps it
        {"Page Setup", "Pa&ge Setup"}, // P, S and A are taken
        {"100%", "&100%"},
        {"Sap", "Sap"}, // every letter taken: none
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithMnemonic(c.caption, taken), c.expected) << c.caption;
    }
    EXPECT_EQ(PlainCaption("Save &As"), "Save As");
    EXPECT_EQ(PlainCaption(MenuText("Tom & Jerry")), "Tom & Jerry");
}

TEST_F(HabitsTest, AltAndALetterOpensEveryMenuOfTheBar) {
    Activate();
    for (const char* name : {"File", "Insert", "Edit", "Zoom", "Tools", "Customize", "Help"}) {
        QMenu* menu = form->Menu(name);
        // Each menu of the bar has its own letter.
        const QString text = menu->menuAction()->text();
        const int mark = text.indexOf('&');
        ASSERT_GE(mark, 0) << name;
        const QChar letter = text[mark + 1].toUpper();
        QTest::keyClick(form.get(), static_cast<Qt::Key>(letter.unicode()), Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000)) << name;
        // Escape closes the menu and then leaves the bar, as a user would.
        while (QWidget* popup = QApplication::activePopupWidget()) {
            QTest::keyClick(popup, Qt::Key_Escape);
        }
        QTest::keyClick(form->menuBar(), Qt::Key_Escape);
        Activate();
    }
}

TEST_F(HabitsTest, CommonKeysReachTheirCommandsBesideTheProgramsOwn) {
    std::vector<std::string> ran;
    auto record = [&ran](const char* name) { return [&ran, name] { ran.emplace_back(name); }; };
    form->hooks.edit.undo = record("undo");
    form->hooks.edit.redo = record("redo");
    form->hooks.edit.cut = record("cut");
    form->hooks.edit.copy = record("copy");
    form->hooks.edit.paste = record("paste");
    OpenDesign(3); // the edit commands act on a design
    Activate();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* command;
    } cases[] = {
        {Qt::Key_Z, Qt::ControlModifier, "undo"},
        {Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier, "redo"},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "redo"},
        {Qt::Key_Y, Qt::ControlModifier, "redo"},
        {Qt::Key_Delete, Qt::ControlModifier, "cut"},
        {Qt::Key_X, Qt::ControlModifier, "cut"},
        {Qt::Key_Insert, Qt::ControlModifier, "copy"},
        {Qt::Key_C, Qt::ControlModifier, "copy"},
        {Qt::Key_Insert, Qt::ShiftModifier, "paste"},
        {Qt::Key_V, Qt::ControlModifier, "paste"},
    };
    for (const auto& c : cases) {
        form->Action("Edit/Undo")->setEnabled(true);
        form->Action("Edit/Redo")->setEnabled(true);
        form->Action("Edit/Cut")->setEnabled(true);
        form->Action("Edit/Copy")->setEnabled(true);
        form->Action("Edit/Paste")->setEnabled(true);
        ran.clear();
        QTest::keyClick(form->ActiveDesign()->widget(), c.key, c.modifiers);
        EXPECT_EQ(ran, std::vector<std::string>{c.command}) << c.command << " " << int(c.modifiers);
    }
    // The menu shows the program's own key; Ctrl+A is no command's key (it continues splines).
    EXPECT_EQ(form->Action("Edit/Cut")->shortcut(), QKeySequence("Ctrl+Del"));
    EXPECT_TRUE(form->Action("File/Exit")->shortcuts().contains(QKeySequence("Ctrl+Q")));
    for (QAction* action : form->findChildren<QAction*>()) {
        EXPECT_FALSE(action->shortcuts().contains(QKeySequence("Ctrl+A"))) << action->text().toStdString();
    }
}

TEST_F(HabitsTest, CtrlPlusMinusAndZeroWalkTheZoomMenu) {
    FakeDesign* design = OpenDesign(4);
    Activate();
    const struct {
        Qt::Key key;
        double zoom;
        const char* checked;
    } cases[] = {
        {Qt::Key_Plus, 1.25, "Zoom/125%"},  {Qt::Key_Equal, 1.5, "Zoom/150%"},
        {Qt::Key_Minus, 1.25, "Zoom/125%"}, {Qt::Key_0, 1.0, "Zoom/100%"},
        {Qt::Key_Minus, 0.75, "Zoom/75%"},
    };
    for (const auto& c : cases) {
        QTest::keyClick(design, c.key, Qt::ControlModifier);
        EXPECT_DOUBLE_EQ(form->params().zoom, c.zoom) << c.checked;
        EXPECT_DOUBLE_EQ(design->zoom, c.zoom) << c.checked;
        EXPECT_TRUE(form->Action(c.checked)->isChecked()) << c.checked;
        EXPECT_EQ(form->StatusLine().ZoomShown(), QString(c.checked).mid(5)) << c.checked;
    }
}

TEST(DialogHostKeys, ReturnAcceptsEscapeCancelsExceptWhereThePageSaysOtherwise) {
    const struct {
        int page;
        bool hasPage;
        int key;
        Qt::KeyboardModifiers modifiers;
        HostKey expected;
    } cases[] = {
        {9, true, Qt::Key_Return, Qt::NoModifier, HostKey::Accept},
        {54, true, Qt::Key_Enter, Qt::KeypadModifier, HostKey::Accept},
        {57, true, Qt::Key_Escape, Qt::NoModifier, HostKey::Cancel},
        {45, true, Qt::Key_Return, Qt::NoModifier, HostKey::None},    // About: Web would open
        {45, true, Qt::Key_Escape, Qt::NoModifier, HostKey::Cancel},  // its Close
        {60, true, Qt::Key_Escape, Qt::NoModifier, HostKey::Swallow}, // setup: Cancel ends it
        {60, true, Qt::Key_Return, Qt::NoModifier, HostKey::Accept},  // Proceed
        {12, false, Qt::Key_Return, Qt::NoModifier, HostKey::None},   // no page to save
        {9, true, Qt::Key_Return, Qt::ControlModifier, HostKey::None},
        {0, false, Qt::Key_Escape, Qt::NoModifier, HostKey::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DialogHostKey(c.page, c.hasPage, c.key, c.modifiers), c.expected) << c.page << " " << c.key;
    }
}

TEST_F(HabitsTest, EscapeClosesAHostReturnRunsItsActionAndTheFirstControlHasTheFocus) {
    form->Action("Customize/Line Weights")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(formY.get()));
    QApplication::setActiveWindow(formY.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(formY.get()));
    QWidget* first = FirstFocusControl(formY->page());
    if (first) {
        EXPECT_TRUE(QTest::qWaitFor([first] { return first->hasFocus(); }, 2000));
    }
    QTest::keyClick(formY.get(), Qt::Key_Escape);
    EXPECT_FALSE(formY->isVisible());

    // Return on the About page leaves it open: its left button would open the web page.
    form->Action("Help/About")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(formX.get()));
    QTest::keyClick(formX.get(), Qt::Key_Return);
    EXPECT_TRUE(formX->isVisible());
    EXPECT_FALSE(formX->Timer8.isActive());
    QTest::keyClick(formX.get(), Qt::Key_Escape);
    EXPECT_FALSE(formX->isVisible());
}

TEST(StatusTexts, PointerAndSizeInTheDesignsUnit) {
    const struct {
        int unit;
        double perUnit;
        Point point;
        Rect area;
        const char* pointer;
        const char* size;
    } cases[] = {
        {1, 1.0, {120, 45}, {10, 10, 110, 60}, "120, 45 px", "100 × 50 px"},
        // 96 pixels to the inch: 3.779527... to the millimetre.
        {2, 96 / 25.4, {378, 189}, {0, 0, 96, 48}, "100.0, 50.0 mm", "25.4 × 12.7 mm"},
        {3, 96.0, {48, 144}, {0, 0, 336, 24}, "0.50, 1.50 in", "3.50 × 0.25 in"},
    };
    for (const auto& c : cases) {
        ItemRecord header;
        header.units = c.unit;
        header.pxPerUnitX = header.pxPerUnitY = c.perUnit;
        EXPECT_EQ(PointerText(header, c.point), QString::fromUtf8(c.pointer)) << c.unit;
        EXPECT_EQ(SizeText(header, c.area), QString::fromUtf8(c.size)) << c.unit;
    }
}

TEST_F(HabitsTest, StatusBarShowsThePointerTheSelectionWhileDraggingAndMessages) {
    FakeDesign* design = OpenDesign(5);
    ItemRecord* header = FindRecord(design->items(), ItemKind::Header);
    header->units = 1;
    header->pxPerUnitX = header->pxPerUnitY = 1.0;
    ItemRecord* line = design->AddLine(true);
    line->boundLeft = 10;
    line->boundTop = 20;
    line->boundRight = 70;
    line->boundBottom = 50;
    form->PointerMoved(design->items(), Point{30, 40}, false, std::nullopt);
    EXPECT_EQ(form->StatusLine().PointerShown(), "30, 40 px");
    form->PointerMoved(design->items(), Point{30, 40}, true, std::nullopt);
    EXPECT_EQ(form->StatusLine().PointerShown(), QString::fromUtf8("30, 40 px   60 × 30 px"));
    // An area being selected measures its rubber band, not the selection.
    form->PointerMoved(design->items(), Point{30, 40}, true, Rect{5, 5, 30, 40});
    EXPECT_EQ(form->StatusLine().PointerShown(), QString::fromUtf8("30, 40 px   25 × 35 px"));
    form->PointerMoved(design->items(), std::nullopt, false, std::nullopt);
    EXPECT_EQ(form->StatusLine().PointerShown(), "");
    form->StatusLine().ShowMessage("Saved /tmp/card.vlrn");
    EXPECT_EQ(form->StatusLine().Message(), "Saved /tmp/card.vlrn");
}

TEST(WindowPlaces, ARectangleStaysOnItsScreenOrGoesOntoThePrimaryOne) {
    const QRect primary(0, 0, 1280, 800);
    const QRect second(1280, 0, 1920, 1080);
    const struct {
        QRect remembered;
        QList<QRect> screens;
        QRect expected;
    } cases[] = {
        {{100, 80, 900, 600}, {primary}, {100, 80, 900, 600}},
        {{1500, 100, 900, 600}, {primary, second}, {1500, 100, 900, 600}}, // on the second screen
        // The second screen is gone: centred on the primary one.
        {{1500, 100, 900, 600}, {primary}, {190, 100, 900, 600}},
        // Larger than what is left: as large as the primary screen.
        {{2000, 50, 1800, 1000}, {primary}, {0, 0, 1280, 800}},
        // Only the bottom is on the screen: the title bar cannot be grabbed.
        {{100, -700, 900, 720}, {primary}, {190, 40, 900, 720}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceOnScreens(c.remembered, c.screens, primary), c.expected) << c.remembered.x();
    }
}

TEST_F(HabitsTest, TheWindowsPlaceAndSideColumnComeBackAtTheNextStart) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect place(screen.left() + 40, screen.top() + 30, 700, 500);
    form->setGeometry(place);
    form->SideColumnSplitter()->setSizes({210, 480});
    RememberWindowPlace(*form, *form->SideColumnSplitter(), *store);

    TForm1 next(*store, prompt);
    ShowAtRememberedPlace(next, *next.SideColumnSplitter(), *store);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&next));
    next.Timer2.stop();
    EXPECT_EQ(next.geometry(), place);
    EXPECT_EQ(next.SideColumnSplitter()->sizes().front(), 210);
    next.close();

    // A screen far to the right that is no longer there: the window comes onto the primary one.
    WriteWindowPlace(*store, {QRect(screen.right() + 3000, 40, 700, 500), false, 0});
    TForm1 moved(*store, prompt);
    ShowAtRememberedPlace(moved, *moved.SideColumnSplitter(), *store);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&moved));
    moved.Timer2.stop();
    EXPECT_TRUE(screen.contains(moved.geometry().center()));
    EXPECT_EQ(moved.geometry().size(), QSize(700, 500));
    moved.close();
}

TEST_F(HabitsTest, AMaximisedWindowComesBackMaximised) {
    WriteWindowPlace(*store, {QRect(10, 10, 600, 400), true, 0});
    TForm1 next(*store, prompt);
    ShowAtRememberedPlace(next, *next.SideColumnSplitter(), *store);
    next.Timer2.stop();
    EXPECT_TRUE(next.isMaximized());
    RememberWindowPlace(next, *next.SideColumnSplitter(), *store);
    EXPECT_TRUE(ReadWindowPlace(*store).maximised);
    next.close();
}

} // namespace
} // namespace vlr
