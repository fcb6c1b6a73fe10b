// The hint pages in the main window: the page that follows an action, its links performing their
// steps on the design, the show-again box kept across a restart, and the Undo link's switch
// running after its handler.
#include "app/hintwiring.h"

#include "app/editcommands.h"
#include "app/mainwindow.h"
#include "canvas/sandbox.h"
#include "canvas/shadowedsquare.h"
#include "mainwindowfixture.h"
#include "model/itemlist.h"
#include "panels/linehelp.h"
#include "panels/picturebutton.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QPointer>
#include <QTest>
#include <QTextEdit>

#include <functional>

namespace vlr {
namespace {

class HintPagesTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        Install();
    }
    void Install() {
        InstallEditCommands(*form);
        InstallHintPages(*form);
        form->params().hints.fill(1);
    }
    // A document window on the red square design (50 ... 100 on a 300 x 200 page).
    TSandbox* OpenSquare() {
        const QString path = folder.filePath("square.vlrn");
        EXPECT_TRUE(test::WriteShadowedSquare(path));
        auto* window = new TSandbox(form->params(), *form, prompt);
        EXPECT_TRUE(window->OpenDesign(1, path));
        form->AddDesignView(window);
        EXPECT_TRUE(
            QTest::qWaitFor([window] { return !window->repaintPending() && !window->loading(); }, 5000));
        return window;
    }
    void Click(TSandbox* window, Point design) {
        const Point canvas = window->CanvasFromDesign(design);
        const QPoint at(canvas.x + window->pageOffset().x + window->tileOffset().x,
                        canvas.y + window->pageOffset().y + window->tileOffset().y);
        QTest::mouseMove(window->viewport(), at);
        QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, at);
    }
    bool PanelBecomes(int code) {
        return QTest::qWaitFor([this, code] { return form->currentPanel() == code; }, 3000);
    }
    TLinehelp* Page() const { return qobject_cast<TLinehelp*>(form->PanelFrame()); }
    QString Paragraph(int k) const { return Page() ? Page()->paragraph(k)->toPlainText() : QString(); }
    void Cut(TSandbox* window) {
        SelectLastItem(window->items());
        form->RefreshDesignControls();
        form->Action("Edit/Cut")->trigger();
    }
    int LiveShapes(TSandbox* window) {
        int count = 0;
        for (ItemRecord* record : window->items()) {
            count += IsLiveItem(record) && record->kind == ItemKind::Rectangle;
        }
        return count;
    }
};

TEST_F(HintPagesTest, APageAppearsAfterItsActionWithItsTexts) {
    TSandbox* window = OpenSquare();
    struct Case {
        const char* action;
        std::function<void()> act;
        int page, paragraph;
        const char* text;
    };
    const Case cases[] = {
        {"a line drawn",
         [&] {
             form->ShowPanel(98);
             Click(window, {150, 20});
             Click(window, {250, 20});
         },
         1024, 3, "Click on Fine-tune this line to change the color or thickness of this line."},
        {"a rectangle drawn",
         [&] {
             form->ShowPanel(102);
             Click(window, {150, 120});
             Click(window, {200, 120});
             Click(window, {200, 160});
         },
         1047, 2, "Click on Start next rectangle to set the color or outline of the next rectangle, or..."},
        {"a text started",
         [&] {
             form->ShowPanel(300);
             Click(window, {20, 170});
         },
         1035, 1, "Enter the text. Then, click where you want to start another line of text."},
        {"the horizontal grid", [&] { form->Action("Tools/Grid/Horizontal")->trigger(); }, 1028, 4,
         "When you move a gridline, the objects that are snapped to it move with it."},
        {"snap both ways", [&] { form->Action("Tools/Snap/Both")->trigger(); }, 1029, 2,
         "You can turn Snap on even when the gridlines are not visible."},
        {"vertical anchors", [&] { form->Action("Tools/Grid/Anchors/Vertical")->trigger(); }, 1042, 1,
         "Grid anchors are the starting points of gridlines, small blue cylinders that appear next to the "
         "rulers."},
        {"an item deleted", [&] { Cut(window); }, 1038, 3,
         "You can then step forward all the way to this point by clicking on the Redo button."},
    };
    for (const Case& c : cases) {
        form->ShowPanel(20);
        c.act();
        ASSERT_TRUE(PanelBecomes(c.page)) << c.action << ": " << form->currentPanel();
        ASSERT_NE(Page(), nullptr) << c.action;
        EXPECT_EQ(Page()->pageCode(), c.page);
        EXPECT_EQ(Paragraph(c.paragraph), c.text) << c.action;
    }
}

TEST_F(HintPagesTest, LinesDrawnWhileTheLinePageShowsLeaveThatPageAsItIs) {
    TSandbox* window = OpenSquare();
    QTest::qWait(300); // the window, just activated, has shown its tool's panel
    form->ShowPanel(98);
    Click(window, {150, 20});
    Click(window, {250, 20});
    ASSERT_TRUE(PanelBecomes(1024));
    QPointer<TLinehelp> page = Page();
    Click(window, {150, 40});
    Click(window, {250, 40});
    QTest::qWait(300); // longer than the deferred switch
    EXPECT_EQ(form->PanelFrame(), page.data()) << form->currentPanel();
}

TEST_F(HintPagesTest, EachLinkOfAStartPagePerformsItsStep) {
    TSandbox* window = OpenSquare();
    struct Case {
        int paragraph;
        bool selectsTheNewItem;
        int panel;
    };
    for (const Case& c : {Case{2, false, 102}, Case{3, true, 202}, Case{4, true, 1048}}) {
        form->ShowPanel(102);
        Click(window, {150, 120});
        Click(window, {200, 120});
        Click(window, {200, 160});
        ASSERT_TRUE(PanelBecomes(1047));
        QPointer<TLinehelp> page = Page();
        QTest::mouseMove(page->paragraph(c.paragraph)->viewport(), QPoint(5, 5));
        EXPECT_EQ(form->SuggestionRowButton(c.paragraph)->look(), ButtonLook::Highlighted);
        QTest::mousePress(page->paragraph(c.paragraph)->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        ItemRecord* selected = FirstSelected(window->items());
        EXPECT_EQ(selected != nullptr, c.selectsTheNewItem) << c.paragraph;
        if (selected) {
            EXPECT_EQ(NodePoint(selected->pointList[0]), (Point{150, 120}));
        }
        EXPECT_TRUE(PanelBecomes(c.panel)) << c.paragraph << ": " << form->currentPanel();
        // The panel or page shown works on the item the link selected.
        EXPECT_EQ(FirstSelected(window->items()), selected) << c.paragraph;
        SelectOnly(window->items(), nullptr);
    }
}

TEST_F(HintPagesTest, TheUndoLinkUndoesAndSwitchesOnlyAfterItsHandler) {
    TSandbox* window = OpenSquare();
    Cut(window);
    ASSERT_TRUE(PanelBecomes(1038));
    QPointer<TLinehelp> page = Page();
    ASSERT_EQ(LiveShapes(window), 0);
    QTest::mousePress(page->paragraph(1)->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    // The square is back at once; the page that ran the handler is still the one shown.
    EXPECT_EQ(LiveShapes(window), 1);
    EXPECT_EQ(form->currentPanel(), 1038);
    EXPECT_EQ(form->PanelFrame(), page.data());
    EXPECT_TRUE(PanelBecomes(20));
    EXPECT_TRUE(QTest::qWaitFor([&page] { return page.isNull(); }, 2000));
}

TEST_F(HintPagesTest, ATickedBoxSurvivesARestartAndItsPageIsNeverShownAgain) {
    TSandbox* window = OpenSquare();
    Cut(window);
    ASSERT_TRUE(PanelBecomes(1038));
    QTest::mouseClick(Page()->checkBox(), Qt::LeftButton);
    EXPECT_TRUE(PanelBecomes(20));

    // A new run reads the settings the closed one wrote.
    TearDown();
    form = std::make_unique<TForm1>(*store, prompt);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    form->Timer2.stop();
    InstallEditCommands(*form);
    InstallHintPages(*form);
    EXPECT_EQ(form->params().hints[5], 0);
    EXPECT_EQ(std::count(form->params().hints.begin(), form->params().hints.end(), 0), 1);
    window = OpenSquare();
    form->ShowPanel(102);
    Cut(window);
    QTest::qWait(300); // longer than the deferred switch
    EXPECT_EQ(form->currentPanel(), 20);
    EXPECT_EQ(LiveShapes(window), 0);
}

} // namespace
} // namespace vlr
