// The Edit menu on the active design: undo, redo, copy and paste between designs, join.
#include "app/editcommands.h"
#include "app/mainwindow.h"
#include "canvas/sandbox.h"
#include "canvas/shadowedsquare.h"
#include "fakedesign.h"
#include "mainwindowfixture.h"
#include "model/history.h"
#include "model/prompt.h"
#include "platform/inistore.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

namespace vlr {
namespace {

using test::FakeDesign;

// The canvas pixel of a design point in a window.
QPoint CanvasPoint(TSandbox* window, Point design) {
    const Point canvas = window->CanvasFromDesign(design);
    return {canvas.x, canvas.y};
}

class EditCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = std::make_unique<IniRegistryStore>(folder.path());
        form = std::make_unique<TForm1>(*store, prompt);
        InstallEditCommands(*form);
        form->Timer2.stop();
    }
    FakeDesign* Open(int32_t number) {
        auto* design = new FakeDesign(number);
        form->AddDesignView(design);
        return design;
    }
    int LiveLines(FakeDesign* design) {
        int count = 0;
        for (ItemRecord* record : design->items()) {
            count += IsLiveItem(record) && record->kind == ItemKind::Line;
        }
        return count;
    }

    QTemporaryDir folder;
    std::unique_ptr<IniRegistryStore> store;
    FixedAnswerPrompt prompt{PromptAnswer::No};
    std::unique_ptr<TForm1> form;
};

TEST_F(EditCommandsTest, UndoAndRedoANewItemAndRefreshTheCommands) {
    FakeDesign* design = Open(1);
    ItemRecord* line = CreateNewItem(design->items(), ItemKind::Line);
    line->zOrder = 1;
    form->RefreshUndoCommands(design->items());
    EXPECT_TRUE(form->Action("Edit/Undo")->isEnabled());
    form->Action("Edit/Undo")->trigger();
    EXPECT_EQ(LiveLines(design), 0);
    EXPECT_FALSE(form->Action("Edit/Undo")->isEnabled());
    EXPECT_TRUE(form->Action("Edit/Redo")->isEnabled());
    EXPECT_EQ(design->commandWindow().fullRepaints, std::vector<bool>{true});
    form->Action("Edit/Redo")->trigger();
    EXPECT_EQ(LiveLines(design), 1);
    form->Action("Edit/Clear Undo and Redo")->trigger();
    EXPECT_FALSE(form->Action("Edit/Undo")->isEnabled());
    EXPECT_EQ(LiveLines(design), 1);
}

TEST_F(EditCommandsTest, CopyInOneDesignPasteInAnother) {
    FakeDesign* first = Open(1);
    ItemRecord* line = first->AddLine(true);
    line->x1 = 5;
    FakeDesign* second = Open(2);
    ASSERT_TRUE(form->ActivateDocument(1));
    form->Action("Edit/Copy")->setEnabled(true);
    form->Action("Edit/Copy")->trigger();
    ASSERT_TRUE(form->ActivateDocument(2));
    form->Action("Edit/Paste")->setEnabled(true);
    form->Action("Edit/Paste")->trigger();
    ASSERT_EQ(LiveLines(second), 1);
    ItemRecord* pasted = FindLiveRecord(second->items(), ItemKind::Line);
    EXPECT_EQ(pasted->x1, 15); // ten pixels right of the source
    EXPECT_EQ(pasted->selected, 255);
    EXPECT_TRUE(form->Action("Edit/Undo")->isEnabled());
}

TEST_F(EditCommandsTest, JoinTwoSelectedItemsIntoAGroupAndUndoIt) {
    FakeDesign* design = Open(1);
    design->AddLine(true);
    design->AddLine(true);
    form->Action("Edit/Join Items")->setEnabled(true);
    form->Action("Edit/Join Items")->trigger();
    EXPECT_NE(FindLiveRecord(design->items(), ItemKind::GroupMarker), nullptr);
    form->Action("Edit/Undo")->trigger();
    EXPECT_EQ(FindLiveRecord(design->items(), ItemKind::GroupMarker), nullptr);
    EXPECT_EQ(LiveLines(design), 2);
}

// The Edit menu of a shown main window, as the user opens it.
class EditMenuTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        InstallEditCommands(*form);
    }
    // What opening the menu enables, entry by entry.
    std::map<std::string, bool> OpenEditMenu() {
        Q_EMIT form->Menu("Edit")->aboutToShow();
        std::map<std::string, bool> enabled;
        for (const char* entry :
             {"Undo", "Redo", "Cut", "Copy", "Paste", "Copy to Clipboard", "Join Items", "Split Group"}) {
            enabled[entry] = form->Action(QString("Edit/") + entry)->isEnabled();
        }
        return enabled;
    }
    // A document window showing the red square design (50 ... 100), painted.
    TSandbox* OpenSquare(int32_t number) {
        const QString path = folder.filePath("square.vlrn");
        EXPECT_TRUE(test::WriteShadowedSquare(path));
        return OpenWindow(number, path);
    }
    TSandbox* OpenWindow(int32_t number, const QString& path) {
        auto* window = new TSandbox(form->params(), *form, prompt);
        EXPECT_TRUE(window->OpenDesign(number, path));
        form->AddDesignView(window);
        EXPECT_TRUE(
            QTest::qWaitFor([window] { return !window->repaintPending() && !window->loading(); }, 5000));
        return window;
    }
    void Choose(const char* entry) {
        OpenEditMenu();
        form->Action(QString("Edit/") + entry)->trigger();
    }
};

TEST_F(EditMenuTest, EntriesFollowTheActiveDesign) {
    test::FakeDesign* design = OpenDesign(1);
    using Enabled = std::map<std::string, bool>;
    auto only = [](std::initializer_list<const char*> on) {
        Enabled expected;
        for (const char* entry :
             {"Undo", "Redo", "Cut", "Copy", "Paste", "Copy to Clipboard", "Join Items", "Split Group"}) {
            expected[entry] = std::find_if(on.begin(), on.end(), [&](const char* name) {
                                  return std::string(name) == entry;
                              }) != on.end();
        }
        return expected;
    };
    // Copy to Clipboard is hidden unless shown; a hidden entry is never enabled.
    form->Action("Edit/Copy to Clipboard")->setVisible(true);
    EXPECT_EQ(OpenEditMenu(), only({}));
    // Lines added without a step of their own count as undoable.
    design->AddLine(true);
    design->AddLine(true);
    EXPECT_EQ(OpenEditMenu(), only({"Undo", "Cut", "Copy", "Join Items"}));
    Choose("Join Items");
    EXPECT_EQ(OpenEditMenu(), only({"Undo", "Cut", "Copy", "Split Group"}));
    Choose("Copy");
    EXPECT_EQ(OpenEditMenu(), only({"Undo", "Cut", "Copy", "Paste", "Split Group"}));
    design->copyArea = true;
    Choose("Copy to Clipboard");
    EXPECT_EQ(design->commandWindow().clipboardJobs, 1);
    Choose("Undo");
    EXPECT_EQ(OpenEditMenu(), only({"Undo", "Redo", "Paste", "Copy to Clipboard"}));
}

TEST_F(EditMenuTest, CopyToClipboardPutsTheAreaOfTheCanvasOnTheSystemClipboard) {
    TSandbox* window = OpenSquare(71);
    QApplication::clipboard()->clear();
    form->Action("Edit/Copy to Clipboard")->setVisible(true);
    EXPECT_FALSE(OpenEditMenu()["Copy to Clipboard"]); // no area selected yet
    window->SetCopyArea({40, 40, 120, 90});
    Choose("Copy to Clipboard");
    ASSERT_TRUE(QTest::qWaitFor([] { return !QApplication::clipboard()->image().isNull(); }, 2000));
    const QImage copied = QApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(80, 50));
    // The square's red from (50, 50) on, white above and left of it where no shadow falls.
    EXPECT_EQ(copied.pixel(15, 15), qRgb(255, 0, 0));
    EXPECT_EQ(copied.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(copied.pixel(15, 5), qRgb(255, 255, 255));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              window->canvas().image().copy(40, 40, 80, 50).convertToFormat(QImage::Format_RGB32));
}

TEST_F(EditMenuTest, PasteWorksBetweenTwoDesignsAndCutDeletesWithoutCopying) {
    TSandbox* source = OpenSquare(71);
    TSandbox* target = OpenWindow(72, QString());
    ASSERT_TRUE(form->ActivateDocument(71));
    SelectLastItem(source->items());
    Choose("Copy");
    ASSERT_TRUE(form->ActivateDocument(72));
    Choose("Paste");
    ItemRecord* pasted = FindLiveRecord(target->items(), ItemKind::Rectangle);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->selected, 255);
    EXPECT_EQ(NodePoint(pasted->pointList[0]), (Point{60, 60}));
    ASSERT_TRUE(QTest::qWaitFor([target] { return !target->repaintPending(); }, 5000));
    EXPECT_EQ(target->canvas().image().pixel(CanvasPoint(target, {65, 65})), qRgb(255, 0, 0));
    EXPECT_TRUE(OpenEditMenu()["Undo"]);

    // Cut deletes the pasted square and, after the menu's handler, shows the deletion hint page.
    Choose("Cut");
    EXPECT_EQ(FindLiveRecord(target->items(), ItemKind::Rectangle), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([this] { return form->currentPanel() == 1038; }, 2000));
    // The copy list still holds the square copied before.
    Choose("Paste");
    EXPECT_NE(FindLiveRecord(target->items(), ItemKind::Rectangle), nullptr);
}

} // namespace
} // namespace vlr
