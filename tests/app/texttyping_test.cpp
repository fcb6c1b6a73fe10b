// Typing into a text on a document window inside the main window: the keys the main window
// routes reach the text, keys typed into other windows never do.
#include "app/mainwindow.h"
#include "app/panelwiring.h"
#include "canvas/commands.h"
#include "model/history.h"
#include "panels/panelhost.h"
#include "panels/textbox.h"
#include "canvas/sandbox.h"
#include "mainwindowfixture.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

namespace vlr {
namespace {

class TextTypingTest : public test::MainWindowFixture {
protected:
    // A new design with a text made by the text tool, open for typing.
    TSandbox* OpenTypedText() {
        auto* window = new TSandbox(form->params(), *form, prompt);
        EXPECT_TRUE(window->OpenDesign(81, QString()));
        form->AddDesignView(window);
        EXPECT_TRUE(
            QTest::qWaitFor([window] { return !window->repaintPending() && !window->loading(); }, 5000));
        form->ShowPanel(300);
        EXPECT_EQ(window->toolMode(), 31);
        for (Point at : {Point{60, 60}, Point{70, 60}}) {
            const Point canvas = window->CanvasFromDesign(at);
            const QPoint view(canvas.x + window->pageOffset().x + window->tileOffset().x,
                              canvas.y + window->pageOffset().y + window->tileOffset().y);
            QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, view);
        }
        EXPECT_TRUE(window->textEditing().open);
        return window;
    }
    static std::u16string Typed(TSandbox* window) {
        return GetText(FindBySerial(window->items(), window->textEditing().serial));
    }
};

TEST_F(TextTypingTest, KeysTypedIntoADialogNeverReachTheTextBeingTyped) {
    TSandbox* window = OpenTypedText();
    ASSERT_TRUE(window->textEditing().open);
    QTest::keyClicks(form.get(), "Hi");
    ASSERT_EQ(Typed(window), u"Hi");

    QFileDialog dialog(form.get(), "Save As");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    QTest::keyClicks(name, "card");
    QTest::keyClick(name, Qt::Key_Backspace);
    QTest::keyClick(name, Qt::Key_Return);
    QTest::keyClick(dialog.windowHandle(), Qt::Key_Delete); // the window system's path
    dialog.hide();

    QMessageBox box(QMessageBox::Question, "Velloran Business Cards", "Save?",
                    QMessageBox::Yes | QMessageBox::No, form.get());
    box.show();
    QTest::keyClicks(&box, "x");
    QTest::keyClick(&box, Qt::Key_Backspace);
    box.hide();
    EXPECT_EQ(Typed(window), u"Hi");
    EXPECT_EQ(window->textEditing().caretColumn, 3);

    // The main window's keys still reach the text.
    QTest::keyClicks(form.get(), "!");
    EXPECT_EQ(Typed(window), u"Hi!");

    form->Action("Help/About")->trigger();
    ASSERT_TRUE(formX->isVisible());
    QTest::keyClicks(formX.get(), "ab");
    QTest::keyClick(formX.get(), Qt::Key_Backspace);
    EXPECT_EQ(Typed(window), u"Hi!");
}

TEST_F(TextTypingTest, TheTextPanelFollowsTheTypingAndStylesTheTextBeingTyped) {
    InstallSidePanels(*form);
    form->params().hints.fill(0); // the text panel itself, not the hint page before it
    TSandbox* window = OpenTypedText();
    QPointer<TTextbox> panel = qobject_cast<TTextbox*>(form->PanelFrame());
    ASSERT_FALSE(panel.isNull());
    EXPECT_TRUE(panel->HintLines().contains("Enter the text now."));
    QTest::keyClicks(form.get(), "Hi");
    const int32_t sizeBefore = form->params().state.tsize;
    ASSERT_GE(panel->SizeBox->findText("24"), 0);
    test::Choose(panel->SizeBox, panel->SizeBox->findText("24"));
    ASSERT_NE(sizeBefore, 24);
    ASSERT_EQ(form->params().state.tsize, 24);
    // The text being typed takes the size, and the typing goes on in the same session.
    ASSERT_TRUE(window->textEditing().open);
    ItemRecord* text = FindBySerial(window->items(), window->textEditing().serial);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->fontSize, form->params().state.tsize);
    QTest::keyClicks(form.get(), "!");
    EXPECT_EQ(Typed(window), u"Hi!");

    window->EndTextEditing();
    ASSERT_FALSE(panel.isNull());
    EXPECT_FALSE(panel->HintLines().contains("Enter the text now."));
    // The styled text was made in one step.
    UndoCommand(window->items(), window->commands());
    EXPECT_FALSE(IsLiveItem(text));
}

} // namespace
} // namespace vlr
