// Undo and redo: the versions an edit leaves in the list, what Undo and Redo revive and hide,
// stacking changes, purging, Clear Undo and Redo, and designs read from files.
#include "model/history.h"

#include "editing.h"
#include "model/designfile.h"
#include "rawdesign.h"

#include <gtest/gtest.h>

#include <limits>

namespace vlr {
namespace {

using test::Insert;
using test::LiveItems;
using test::MoveSelection;
using test::NewDesign;
using test::RecordCount;
using test::Select;
namespace at = test::at;

// The live version of the item with the given tag (kept in reserved8, which versions copy).
ItemRecord* LiveTagged(const ItemList& list, int32_t tag) {
    for (ItemRecord* record : LiveItems(list)) {
        if (record->reserved8 == tag) {
            return record;
        }
    }
    return nullptr;
}

// Items 1 ... n tagged 1 ... n with stacking numbers 1 ... n, each a step of its own.
std::vector<ItemRecord*> Stack(ItemList& list, int n) {
    std::vector<ItemRecord*> items;
    for (int i = 1; i <= n; ++i) {
        ItemRecord* item = Insert(list, ItemKind::Rectangle, 10 * i, 10, 10 * i + 5, 15);
        item->reserved8 = i;
        items.push_back(item);
    }
    return items;
}

std::vector<int32_t> StackingByTag(const ItemList& list, int n) {
    std::vector<int32_t> values;
    for (int tag = 1; tag <= n; ++tag) {
        ItemRecord* item = LiveTagged(list, tag);
        values.push_back(item ? int32_t(item->zOrder) : -1);
    }
    return values;
}

TEST(Undo, MoveThenUndoTwiceThenRedoTwice) {
    ItemList list = NewDesign();
    EXPECT_FALSE(CanUndo(list));
    ItemRecord* line = Insert(list, ItemKind::Line, 10, 10, 50, 10);
    Select(list, {line});
    MoveSelection(list, 5, 7);
    ItemRecord* moved = test::SelectedItems(list).at(0);
    EXPECT_EQ(moved->replaces, line->serial);
    EXPECT_EQ(line->deleted, 255);
    EXPECT_EQ(line->selected, 0);
    EXPECT_EQ(moved->zOrder, line->zOrder);

    Undo(list);
    EXPECT_EQ(moved->deleted, 255);
    EXPECT_EQ(moved->historyState, 2);
    EXPECT_EQ(line->deleted, 0);
    EXPECT_TRUE(CanUndo(list));
    EXPECT_TRUE(CanRedo(list));

    Undo(list);
    EXPECT_TRUE(LiveItems(list).empty());
    EXPECT_FALSE(CanUndo(list));

    Redo(list);
    EXPECT_EQ(LiveItems(list), std::vector<ItemRecord*>{line});
    Redo(list);
    EXPECT_EQ(LiveItems(list), std::vector<ItemRecord*>{moved});
    EXPECT_EQ(moved->x1, 15);
    EXPECT_EQ(moved->y1, 17);
    EXPECT_EQ(line->deleted, 255);
    EXPECT_FALSE(CanRedo(list));
}

TEST(Undo, OneDragOfThreeItemsIsOneStep) {
    ItemList list = NewDesign();
    std::vector<ItemRecord*> items = Stack(list, 3);
    Select(list, {items[0], items[1], items[2]});
    MoveSelection(list, 20, 0);
    EXPECT_EQ(LiveItems(list).size(), 3u);
    for (ItemRecord* item : items) {
        EXPECT_EQ(item->deleted, 255);
    }
    Undo(list);
    EXPECT_EQ(LiveItems(list), items);
    EXPECT_EQ(LiveTagged(list, 2)->x1, 20);
}

TEST(Undo, DeletedItemComesBackAtItsStackingNumberAndRedoDeletesItAgain) {
    ItemList list = NewDesign();
    std::vector<ItemRecord*> items = Stack(list, 3);
    Select(list, {items[1]});
    EXPECT_TRUE(DeleteSelection(list));
    ItemRecord* deletion = list.last;
    EXPECT_EQ(deletion->kind, ItemKind::Deletion);
    EXPECT_EQ(deletion->replaces, items[1]->serial);
    EXPECT_EQ(deletion->zOrder, 2);
    EXPECT_EQ(deletion->selected, 0);
    EXPECT_EQ(items[1]->deleted, 255);

    Undo(list);
    EXPECT_EQ(deletion->historyState, 2);
    EXPECT_EQ(items[1]->deleted, 0);
    EXPECT_EQ(items[1]->zOrder, 2);
    Redo(list);
    EXPECT_EQ(items[1]->deleted, 255);
    EXPECT_EQ(deletion->deleted, 0);

    SelectOnly(list, nullptr);
    EXPECT_FALSE(DeleteSelection(list)); // nothing selected: no step
    EXPECT_EQ(UndoTarget(list), deletion);
}

TEST(Undo, DeletingAWholeGroupTakesItsMarkerAlongButAPartialDeleteKeepsIt) {
    ItemList list = NewDesign();
    std::vector<ItemRecord*> items = Stack(list, 3);
    Select(list, {items[0], items[1], items[2]});
    JoinSelection(list);
    std::vector<ItemRecord*> members = test::SelectedItems(list);
    ASSERT_EQ(members.size(), 4u); // three versions and the marker
    ItemRecord* marker = members[3];
    ASSERT_EQ(marker->kind, ItemKind::GroupMarker);

    Select(list, {members[0], marker});
    DeleteSelection(list);
    EXPECT_EQ(marker->deleted, 0);

    Select(list, {members[1], members[2], marker});
    DeleteSelection(list);
    EXPECT_EQ(marker->deleted, 255);
    Undo(list);
    EXPECT_EQ(marker->deleted, 0);
    EXPECT_EQ(members[1]->deleted, 0);
    EXPECT_EQ(members[0]->deleted, 255);
}

struct StackingCase {
    bool toFront;
    std::vector<int32_t> selectedTags;
    std::vector<int32_t> after; // the stacking numbers of items 1 ... 4
};

TEST(Stacking, CommandsMoveItemsOneAfterTheOtherAndUndoAndRedoSwitchThemExactly) {
    const StackingCase cases[] = {
        {false, {3}, {2, 3, 1, 4}},
        {false, {3, 4}, {3, 4, 2, 1}}, // 3 goes to the bottom first, then 4 below it
        {true, {2}, {1, 4, 2, 3}},
        {true, {1, 2}, {3, 4, 1, 2}}, // brought forward in their order
    };
    for (const StackingCase& each : cases) {
        ItemList list = NewDesign();
        Stack(list, 4);
        SelectOnly(list, nullptr);
        for (int32_t tag : each.selectedTags) {
            LiveTagged(list, tag)->selected = 255;
        }
        EXPECT_TRUE(each.toFront ? BringSelectionToFront(list) : SendSelectionToBack(list));
        EXPECT_EQ(StackingByTag(list, 4), each.after);
        Undo(list);
        EXPECT_EQ(StackingByTag(list, 4), (std::vector<int32_t>{1, 2, 3, 4}));
        Redo(list);
        EXPECT_EQ(StackingByTag(list, 4), each.after);
    }
}

TEST(Stacking, AVersionRevivedByUndoAndEditedAgainDoesNotRepeatTheOldStackingChange) {
    ItemList list = NewDesign();
    Stack(list, 3);
    Select(list, {LiveTagged(list, 1)});
    BringSelectionToFront(list);
    Undo(list);
    EXPECT_EQ(StackingByTag(list, 3), (std::vector<int32_t>{1, 2, 3}));

    Select(list, {LiveTagged(list, 1)});
    MoveSelection(list, 1, 1);
    Undo(list);
    EXPECT_EQ(StackingByTag(list, 3), (std::vector<int32_t>{1, 2, 3}));
}

TEST(Stacking, NoStackingCommandWithNothingSelectedTouchesTheRedoHistory) {
    ItemList list = NewDesign();
    Stack(list, 2);
    Undo(list);
    SelectOnly(list, nullptr);
    EXPECT_FALSE(BringSelectionToFront(list));
    EXPECT_FALSE(SendSelectionToBack(list));
    EXPECT_TRUE(CanRedo(list));
}

// A design read from a file: every item is outside the history.
ItemList OpenedDesign(int items) {
    std::vector<test::RawRecord> records = {test::RawHeader()};
    for (int i = 1; i <= items; ++i) {
        records.push_back(test::RawItem(ItemKind::Line).I32(at::zOrder, i).I32(8, i));
    }
    ItemList list;
    test::ScriptedPrompt prompt;
    EXPECT_TRUE(ReadDesignFromMemory(test::FileOf(records), list, prompt).ok());
    return list;
}

TEST(Undo, NothingToUndoOrRedoRightAfterOpeningAFile) {
    ItemList list = OpenedDesign(3);
    EXPECT_FALSE(CanUndo(list));
    EXPECT_FALSE(CanRedo(list));
    Undo(list);
    Redo(list);
    EXPECT_EQ(LiveItems(list).size(), 3u);
}

TEST(Undo, AnItemFromAFileNeverVanishesThroughUndoOfAStackingCommand) {
    for (bool toFront : {true, false}) {
        ItemList list = OpenedDesign(3);
        Select(list, {LiveTagged(list, toFront ? 1 : 3)});
        toFront ? BringSelectionToFront(list) : SendSelectionToBack(list);
        Undo(list);
        EXPECT_EQ(StackingByTag(list, 3), (std::vector<int32_t>{1, 2, 3}));
        EXPECT_FALSE(CanUndo(list));
        Undo(list);
        EXPECT_EQ(LiveItems(list).size(), 3u) << (toFront ? "front" : "back");
        EXPECT_EQ(StackingByTag(list, 3), (std::vector<int32_t>{1, 2, 3}));
        Redo(list);
        EXPECT_EQ(StackingByTag(list, 3),
                  toFront ? (std::vector<int32_t>{3, 1, 2}) : (std::vector<int32_t>{2, 3, 1}));
    }
}

// A file that keeps its history with the largest serial there is: a new edit must still be the
// newest step, or Undo would take back the file's own step instead.
TEST(Undo, AnEditAfterTheLargestSerialOfAFileIsTheOneUndone) {
    constexpr int32_t top = std::numeric_limits<int32_t>::max();
    test::RawRecord header = test::RawHeader();
    header.U8(at::historySaved, 1);
    std::vector<test::RawRecord> records = {header,
                                            test::RawItem(ItemKind::Line)
                                                .I32(at::zOrder, 1)
                                                .I32(8, 1)
                                                .I32(at::serial, top)
                                                .I32(at::historyState, 1)
                                                .I32(at::undoStep, 4),
                                            test::RawItem(ItemKind::Line)
                                                .I32(at::zOrder, 2)
                                                .I32(8, 2)
                                                .I32(at::serial, 3)
                                                .I32(at::historyState, 0)};
    ItemList list;
    test::ScriptedPrompt prompt;
    ASSERT_TRUE(ReadDesignFromMemory(test::FileOf(records), list, prompt).ok());
    Select(list, {LiveTagged(list, 2)});
    MoveSelection(list, 5, 0);
    const int32_t movedX = LiveTagged(list, 2)->x1;
    Undo(list);
    EXPECT_NE(LiveTagged(list, 1), nullptr); // the file's own step stays
    ASSERT_NE(LiveTagged(list, 2), nullptr);
    EXPECT_EQ(LiveTagged(list, 2)->x1, movedX - 5);
}

// Stacking numbers a file may hold at the top of the range: the commands keep the order they
// promise, and undo and redo give back exactly the numbers that were there.
TEST(Stacking, NumbersAtTheTopOfTheRangeUndoAndRedoExactly) {
    constexpr int32_t top = std::numeric_limits<int32_t>::max();
    const std::vector<int32_t> stored = {1, top - 1, top};
    for (bool toFront : {true, false}) {
        std::vector<test::RawRecord> records = {test::RawHeader()};
        for (int32_t tag = 1; tag <= 3; ++tag) {
            records.push_back(test::RawItem(ItemKind::Line).I32(at::zOrder, stored[tag - 1]).I32(8, tag));
        }
        ItemList list;
        test::ScriptedPrompt prompt;
        ASSERT_TRUE(ReadDesignFromMemory(test::FileOf(records), list, prompt).ok());
        const int32_t moved = toFront ? 1 : 3;
        Select(list, {LiveTagged(list, moved)});
        EXPECT_TRUE(toFront ? BringSelectionToFront(list) : SendSelectionToBack(list));
        const std::vector<int32_t> after = StackingByTag(list, 3);
        for (int32_t tag = 1; tag <= 3; ++tag) {
            if (tag != moved) {
                EXPECT_TRUE(toFront ? after[moved - 1] > after[tag - 1] : after[moved - 1] < after[tag - 1])
                    << (toFront ? "front " : "back ") << tag;
            }
        }
        const int32_t a = toFront ? 2 : 1, b = toFront ? 3 : 2; // the two that stay, in their order
        EXPECT_LT(after[a - 1], after[b - 1]);
        Undo(list);
        EXPECT_EQ(StackingByTag(list, 3), stored);
        Redo(list);
        EXPECT_EQ(StackingByTag(list, 3), after);
    }
}

TEST(Undo, EditsOfAnOpenedDesignUndoBackToTheFile) {
    ItemList list = OpenedDesign(2);
    Select(list, {LiveTagged(list, 1)});
    MoveSelection(list, 3, 0);
    Select(list, {LiveTagged(list, 2)});
    DeleteSelection(list);
    Undo(list);
    Undo(list);
    EXPECT_FALSE(CanUndo(list));
    EXPECT_EQ(LiveTagged(list, 1)->x1, 0);
    EXPECT_EQ(LiveTagged(list, 1)->historyState, 0);
    ASSERT_NE(LiveTagged(list, 2), nullptr);
    Redo(list);
    Redo(list);
    EXPECT_EQ(LiveTagged(list, 1)->x1, 3);
    EXPECT_EQ(LiveTagged(list, 2), nullptr);
}

// A file that keeps its history: the records' history fields are taken as stored.
ItemList DesignWithStoredHistory(std::vector<test::RawRecord> items) {
    std::vector<test::RawRecord> records = {test::RawHeader().U8(at::historySaved, 1)};
    records.insert(records.end(), items.begin(), items.end());
    ItemList list;
    test::ScriptedPrompt prompt;
    EXPECT_TRUE(ReadDesignFromMemory(test::FileOf(records), list, prompt).ok());
    return list;
}

test::RawRecord StoredLine(int32_t serial, int32_t state, int32_t step) {
    return test::RawItem(ItemKind::Line)
        .I32(at::serial, serial)
        .I32(at::historyState, state)
        .I32(at::undoStep, step)
        .I32(at::zOrder, serial);
}

TEST(Redo, ABroughtForwardItemReturnsToTheFrontNumberThatOnlyAHiddenRecordShares) {
    // A hidden record from the file holds number 5, above both live items.
    ItemList list = DesignWithStoredHistory({StoredLine(1, 0, 0).I32(8, 1), StoredLine(2, 0, 0).I32(8, 2),
                                             StoredLine(3, 0, 0).I32(at::zOrder, 5).U8(at::deleted, 255)});
    Select(list, {LiveTagged(list, 1)});
    BringSelectionToFront(list);
    EXPECT_EQ(StackingByTag(list, 2), (std::vector<int32_t>{5, 1}));
    Undo(list);
    EXPECT_EQ(StackingByTag(list, 2), (std::vector<int32_t>{1, 2}));
    Redo(list);
    EXPECT_EQ(StackingByTag(list, 2), (std::vector<int32_t>{5, 1}));
}

TEST(Redo, ARedoTargetThatIsNotRedoableEndsRedoAtOnce) {
    // The record after the newest undoable one is outside the history and shares a step number
    // with nothing redoable: redoing it again and again would never end.
    ItemList list = DesignWithStoredHistory({StoredLine(1, 1, 7), StoredLine(2, 0, 7), StoredLine(5, 2, 8)});
    ItemRecord* outside = FindBySerial(list, 2);
    EXPECT_FALSE(CanRedo(list));
    Redo(list);
    EXPECT_EQ(outside->deleted, 0);
    EXPECT_EQ(outside->historyState, 0);
    EXPECT_EQ(FindBySerial(list, 5)->historyState, 2);

    // The same after a record that is redone: the step ends at the record outside the history.
    ItemList later = DesignWithStoredHistory({StoredLine(1, 1, 1), StoredLine(2, 2, 7), StoredLine(3, 0, 7)});
    EXPECT_TRUE(CanRedo(later));
    Redo(later);
    EXPECT_EQ(FindBySerial(later, 2)->historyState, 1);
    EXPECT_EQ(FindBySerial(later, 3)->deleted, 0);
    EXPECT_FALSE(CanRedo(later));
}

TEST(Redo, AGapInTheSerialsLeavesNothingToRedo) {
    ItemList list = DesignWithStoredHistory({StoredLine(1, 1, 1), StoredLine(3, 2, 2)});
    EXPECT_FALSE(CanRedo(list));
    Redo(list);
    EXPECT_EQ(FindBySerial(list, 3)->historyState, 2);
    EXPECT_TRUE(CanUndo(list));
}

TEST(Redo, TheTargetFollowsTheNewestUndoableRecordOrTheNewestRecordOutsideTheHistory) {
    ItemList list = DesignWithStoredHistory({StoredLine(4, 0, 0), StoredLine(2, 0, 0), StoredLine(5, 2, 3)});
    EXPECT_EQ(UndoTarget(list), nullptr);
    EXPECT_EQ(RedoTarget(list), FindBySerial(list, 5));

    ItemList tie = DesignWithStoredHistory({StoredLine(3, 1, 1), StoredLine(3, 1, 2)});
    EXPECT_EQ(UndoTarget(tie), tie.first->next);
    Undo(tie); // the first in list order, and its step only
    EXPECT_EQ(tie.first->next->historyState, 2);
    EXPECT_EQ(tie.last->historyState, 1);
}

TEST(PurgeRedo, ANewItemAfterUndoRemovesTheRedoableRecords) {
    ItemList list = NewDesign();
    ItemRecord* first = Insert(list, ItemKind::Line, 0, 0, 10, 0);
    Insert(list, ItemKind::Line, 0, 5, 10, 5);
    Undo(list);
    EXPECT_TRUE(CanRedo(list));
    size_t before = RecordCount(list);
    ItemRecord* third = Insert(list, ItemKind::Line, 0, 9, 10, 9);
    EXPECT_FALSE(CanRedo(list));
    EXPECT_EQ(RecordCount(list), before); // one removed, one added
    EXPECT_EQ(third->serial, first->serial + 1);
    EXPECT_EQ(third->undoStep, first->undoStep + 1);
}

// A picture data record and a clip cut from it.
ItemRecord* AddPicture(ItemList& list, int32_t pictureId) {
    ItemRecord* picture = CreateRecord(list, ItemKind::PictureData);
    picture->recordClass = RecordClass::PictureData;
    picture->historyState = 0;
    picture->pictureId = pictureId;
    picture->pictureStream.assign(64, 7);
    return picture;
}

ItemRecord* AddClip(ItemList& list, int32_t pictureId) {
    ItemRecord* clip = Insert(list, ItemKind::Clip, 0, 0, 40, 30);
    clip->pictureId = pictureId;
    return clip;
}

TEST(PurgeRedo, AnUndoneClipTakesItsPictureAlongUnlessAnotherRecordUsesIt) {
    ItemList list = NewDesign();
    AddPicture(list, 11);
    AddClip(list, 11);
    Undo(list);
    PurgeRedo(list);
    EXPECT_EQ(FindPictureData(list, 11), nullptr);

    ItemList shared = NewDesign();
    AddPicture(shared, 12);
    AddClip(shared, 12);
    AddClip(shared, 12);
    Undo(shared);
    PurgeRedo(shared);
    EXPECT_NE(FindPictureData(shared, 12), nullptr);
}

TEST(PurgeRedo, AClipAndItsDeletionRecordPurgedTogetherLeaveNoPictureBehind) {
    ItemList list = NewDesign();
    AddPicture(list, 13);
    ItemRecord* clip = AddClip(list, 13);
    Select(list, {clip});
    DeleteSelection(list);
    Undo(list);
    Undo(list);
    size_t before = RecordCount(list);
    PurgeRedo(list);
    EXPECT_EQ(FindPictureData(list, 13), nullptr);
    EXPECT_EQ(RecordCount(list), before - 3); // the clip, its deletion record, the picture
}

TEST(ClearHistory, KeepsOnlyLiveRecordsNumberedInListOrder) {
    ItemList list = NewDesign();
    AddPicture(list, 21);
    AddPicture(list, 22);
    ItemRecord* deletedClip = AddClip(list, 21);
    ItemRecord* empty = Insert(list, ItemKind::Text, 0, 0, 10, 10);
    SetText(empty, u"");
    ItemRecord* line = Insert(list, ItemKind::Line, 0, 0, 10, 10);
    ItemRecord* liveClip = AddClip(list, 22);
    Select(list, {deletedClip});
    DeleteSelection(list);
    Select(list, {line});
    MoveSelection(list, 1, 1);
    ItemRecord* movedLine = list.last;
    Insert(list, ItemKind::Line, 5, 5, 6, 6);
    Undo(list); // a redoable line, which goes first

    ClearHistory(list);
    std::vector<ItemRecord*> classZero;
    for (ItemRecord* record : list) {
        if (record->recordClass == RecordClass::Item) {
            classZero.push_back(record);
        }
    }
    ASSERT_EQ(classZero.size(), 3u);
    EXPECT_EQ(classZero[0]->kind, ItemKind::Gridlines);
    EXPECT_EQ(classZero[1], liveClip);
    EXPECT_EQ(classZero[2], movedLine);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(classZero[static_cast<size_t>(i)]->serial, i + 1);
        EXPECT_EQ(classZero[static_cast<size_t>(i)]->historyState, 0);
        EXPECT_EQ(classZero[static_cast<size_t>(i)]->replaces, 0);
    }
    EXPECT_EQ(FindPictureData(list, 21), nullptr);
    EXPECT_NE(FindPictureData(list, 22), nullptr);
    EXPECT_EQ(RecordCount(list), 5u); // and the header and the picture still in use
    EXPECT_FALSE(CanUndo(list));
    EXPECT_FALSE(CanRedo(list));
}

TEST(ClearHistory, RenumbersGroupsWithoutGaps) {
    ItemList list = NewDesign();
    std::vector<ItemRecord*> items = Stack(list, 4);
    Select(list, {items[0], items[1]});
    JoinSelection(list);
    Select(list, {LiveTagged(list, 3), LiveTagged(list, 4)});
    JoinSelection(list);
    EXPECT_EQ(LiveTagged(list, 3)->groupId, 2);
    Select(list, {LiveTagged(list, 1), LiveTagged(list, 2), FindLiveRecord(list, ItemKind::GroupMarker)});
    SplitSelection(list);
    ClearHistory(list);
    EXPECT_EQ(LiveTagged(list, 3)->groupId, 1);
    EXPECT_EQ(LiveTagged(list, 4)->groupId, 1);
    EXPECT_EQ(FindLiveRecord(list, ItemKind::GroupMarker)->groupId, 1);
    EXPECT_EQ(LiveTagged(list, 1)->groupId, 0);
}

TEST(Groups, JoinAndSplitAreUndoneAsOneStepWithTheirMarkers) {
    ItemList list = NewDesign();
    std::vector<ItemRecord*> items = Stack(list, 3);
    Select(list, {items[0], items[1]});
    JoinSelection(list);
    ItemRecord* firstMarker = list.last;
    ASSERT_EQ(firstMarker->kind, ItemKind::GroupMarker);
    EXPECT_EQ(firstMarker->undoStep, LiveTagged(list, 1)->undoStep);

    // The group and the third item join a new group; the old marker goes.
    Select(list, {LiveTagged(list, 1), LiveTagged(list, 2), firstMarker, LiveTagged(list, 3)});
    JoinSelection(list);
    EXPECT_EQ(firstMarker->deleted, 255);
    EXPECT_EQ(LiveTagged(list, 1)->groupId, 2);
    EXPECT_EQ(CountSelectedMarkers(list), 1);

    Undo(list);
    EXPECT_EQ(firstMarker->deleted, 0);
    EXPECT_EQ(LiveTagged(list, 1)->groupId, 1);
    EXPECT_EQ(LiveTagged(list, 3)->groupId, 0);
    Undo(list);
    EXPECT_EQ(firstMarker->deleted, 255);
    EXPECT_EQ(FindLiveRecord(list, ItemKind::GroupMarker), nullptr);
    EXPECT_EQ(LiveTagged(list, 1)->groupId, 0);
    Redo(list);
    EXPECT_EQ(firstMarker->deleted, 0);

    Select(list, {LiveTagged(list, 1), LiveTagged(list, 2), firstMarker});
    SplitSelection(list);
    EXPECT_EQ(LiveTagged(list, 1)->groupId, 0);
    EXPECT_EQ(FindLiveRecord(list, ItemKind::GroupMarker), nullptr);
    Undo(list);
    EXPECT_EQ(LiveTagged(list, 2)->groupId, 1);
    EXPECT_EQ(firstMarker->deleted, 0);
}

TEST(Gridlines, AnEditIsANewVersionThatUndoAndRedoSwitch) {
    ItemList list = NewDesign();
    ItemRecord* first = FindRecord(list, ItemKind::Gridlines);
    first->gridX.push_back({.position = 40});
    ItemRecord* edited = EditGridlines(list);
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(edited->gridX.size(), 1u);
    edited->gridX.push_back({.position = 80});
    EXPECT_EQ(first->deleted, 255);
    EXPECT_EQ(FindLiveRecord(list, ItemKind::Gridlines), edited);
    Undo(list);
    EXPECT_EQ(FindLiveRecord(list, ItemKind::Gridlines), first);
    Redo(list);
    EXPECT_EQ(FindLiveRecord(list, ItemKind::Gridlines), edited);
    EXPECT_EQ(first->deleted, 255);
}

TEST(Gridlines, AVersionWhosePredecessorIsGoneRevivesTheFirstGridlinesRecord) {
    ItemList list = NewDesign();
    ItemRecord* first = FindRecord(list, ItemKind::Gridlines);
    ItemRecord* edited = EditGridlines(list);
    edited->replaces = 999;
    Undo(list);
    EXPECT_EQ(first->deleted, 0);
}

TEST(DiscardNewest, TheAbandonedCopyLeavesTheHistoryAndItsSourceComesBack) {
    ItemList list = NewDesign();
    ItemRecord* line = Insert(list, ItemKind::Line, 0, 0, 10, 0);
    Select(list, {line});
    MakeNewVersions(list);
    ItemRecord* copy = list.last;
    ItemRecord* newest = DiscardNewest(list);
    EXPECT_EQ(newest, line);
    EXPECT_EQ(copy->serial, -1);
    EXPECT_EQ(copy->deleted, 255);
    EXPECT_EQ(line->deleted, 0);

    Undo(list); // the line's insertion
    EXPECT_TRUE(LiveItems(list).empty());
    EXPECT_FALSE(CanUndo(list));
    Undo(list);
    EXPECT_EQ(copy->deleted, 255);
    Redo(list);
    EXPECT_EQ(LiveItems(list), std::vector<ItemRecord*>{line});
}

TEST(History, StepNumbersAndSerialsCountUpAndStayInRange) {
    ItemList list = NewDesign();
    EXPECT_EQ(NextUndoStep(list), 1);
    ItemRecord* a = Insert(list, ItemKind::Line, 0, 0, 1, 1);
    EXPECT_EQ(a->undoStep, 1);
    EXPECT_EQ(NextUndoStep(list), 2);
    a->undoStep = std::numeric_limits<int32_t>::max();
    ItemRecord* b = Insert(list, ItemKind::Line, 0, 0, 1, 1);
    EXPECT_EQ(a->undoStep, 1); // renumbered in order
    EXPECT_EQ(b->undoStep, 2);
    EXPECT_GT(b->zOrder, a->zOrder);
}

TEST(History, VersionsOfManyItemsGetConsecutiveSerials) {
    ItemList list = NewDesign();
    std::vector<ItemRecord*> items = Stack(list, 5);
    SelectOnly(list, nullptr);
    for (ItemRecord* item : items) {
        item->selected = 255;
    }
    int32_t next = NextSerial(list);
    MakeNewVersions(list);
    int32_t expected = next;
    for (ItemRecord* version : test::SelectedItems(list)) {
        EXPECT_EQ(version->serial, expected++);
    }

    // At the end of the int32 range the serials are renumbered in their order, links and all,
    // and continue after the largest.
    ItemList full = NewDesign();
    ItemRecord* x = Insert(full, ItemKind::Line, 0, 0, 1, 1);
    ItemRecord* y = Insert(full, ItemKind::Line, 0, 0, 1, 1);
    x->serial = std::numeric_limits<int32_t>::max() - 1;
    y->serial = 2;
    Select(full, {x, y});
    MakeNewVersions(full);
    std::vector<ItemRecord*> versions = test::SelectedItems(full);
    // 1 the gridlines record, 2 y, 3 x, 4 x's new version (taken at the top of the range).
    EXPECT_EQ(x->serial, 3);
    EXPECT_EQ(y->serial, 2);
    EXPECT_EQ(versions[0]->serial, 4);
    EXPECT_EQ(versions[0]->replaces, 3);
    EXPECT_EQ(versions[1]->serial, 5);
    EXPECT_EQ(versions[1]->replaces, 2);
    Undo(full);
    EXPECT_EQ(test::SelectedItems(full).size(), 0u);
    EXPECT_EQ(x->deleted, 0);
    EXPECT_EQ(y->deleted, 0);
}

} // namespace
} // namespace vlr
