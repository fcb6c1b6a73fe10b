// Typing into a text on a document window inside the main window: the keys the main window
// routes reach the text, keys typed into other windows never do.
#include "app/mainwindow.h"
#include "canvas/sandbox.h"
#include "mainwindowfixture.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
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

} // namespace
} // namespace vlr
