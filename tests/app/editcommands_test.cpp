// The Edit menu on the active design: undo, redo, copy and paste between designs, join.
#include "app/editcommands.h"
#include "app/mainwindow.h"
#include "fakedesign.h"
#include "model/history.h"
#include "model/prompt.h"
#include "platform/inistore.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

namespace vlr {
namespace {

using test::FakeDesign;

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
    EXPECT_EQ(pasted->x1, 15);   // ten pixels right of the source
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

} // namespace
} // namespace vlr
