// Item lists: selection counting, stacking, groups and searches.
#include "model/itemlist.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace vlr {
namespace {

ItemList DesignWithHeader() {
    ItemList list;
    CreateRecord(list, ItemKind::Header)->recordClass = RecordClass::Header;
    return list;
}

ItemRecord* AddItem(ItemList& list, int32_t zOrder, int32_t groupId = 0, bool selected = false,
                    int32_t kind = ItemKind::Rectangle) {
    ItemRecord* record = CreateRecord(list, kind);
    record->zOrder = zOrder;
    record->groupId = groupId;
    record->selected = selected ? 255 : 0;
    return record;
}

TEST(Selection, SelectedMeansClassZeroLiveNotSuspendedAndFlagged) {
    ItemList list = DesignWithHeader();
    ItemRecord* item = AddItem(list, 1, 0, true);
    EXPECT_TRUE(IsSelected(item));
    item->suspended = 255;
    EXPECT_FALSE(IsSelected(item));
    item->suspended = 0;
    item->deleted = 255;
    EXPECT_FALSE(IsSelected(item));
    item->deleted = 0;
    item->recordClass = RecordClass::PictureData;
    EXPECT_FALSE(IsSelected(item));
    EXPECT_FALSE(IsSelected(nullptr));
}

TEST(Selection, SoleSelectedAndSelectOnly) {
    ItemList list = DesignWithHeader();
    ItemRecord* a = AddItem(list, 1, 0, true);
    ItemRecord* b = AddItem(list, 2, 0, true);
    EXPECT_EQ(SoleSelected(list), nullptr);
    EXPECT_EQ(FirstSelected(list), a);
    SelectOnly(list, b);
    EXPECT_EQ(SoleSelected(list), b);
    SelectOnly(list, nullptr);
    EXPECT_EQ(FirstSelected(list), nullptr);
    EXPECT_EQ(SoleSelected(list), nullptr);
}

TEST(Selection, SelectLastItemSkipsOtherClassesAndGivesUpOnADeletedItem) {
    ItemList list = DesignWithHeader();
    ItemRecord* a = AddItem(list, 1);
    ItemRecord* picture = CreateRecord(list, ItemKind::PictureData);
    picture->recordClass = RecordClass::PictureData;
    SelectLastItem(list);
    EXPECT_EQ(SoleSelected(list), a);

    ItemRecord* b = AddItem(list, 2);
    b->deleted = 255;
    SelectOnly(list, nullptr);
    SelectLastItem(list);
    EXPECT_EQ(FirstSelected(list), nullptr);
}

TEST(CountSelectedUnits, AGroupCountsOnceWithOrWithoutItsMarker) {
    ItemList list = DesignWithHeader();
    AddItem(list, 1, 0, true);
    AddItem(list, 2, 1, true);
    AddItem(list, 3, 1, true);
    AddItem(list, 0, 1, true, ItemKind::GroupMarker);
    EXPECT_EQ(CountSelectedUnits(list, true), 2); // Join Items is offered
    EXPECT_EQ(CountSelectedUnits(list, false), 4);
    for (ItemRecord* record : list) {
        EXPECT_EQ(record->mark, 0);
    }

    ItemList single = DesignWithHeader();
    AddItem(single, 1, 5, true);
    AddItem(single, 2, 5, true);
    EXPECT_EQ(CountSelectedUnits(single, true), 1); // Join not offered ...
    EXPECT_TRUE(AnyGroupSelected(single));          // ... Split is
    EXPECT_TRUE(AllSelectedGrouped(single));
}

TEST(SameKindSelection, SplinesAgreeOnWhetherTheyAreOpen) {
    ItemList list = DesignWithHeader();
    ItemRecord* open = AddItem(list, 1, 0, true, ItemKind::Spline);
    ItemRecord* solid = AddItem(list, 2, 0, true, ItemKind::Spline);
    solid->shapeMode = 2;
    EXPECT_FALSE(SameKindSelection(list));
    open->shapeMode = 1; // closed
    EXPECT_TRUE(SameKindSelection(list));
    AddItem(list, 0, 0, true, ItemKind::GroupMarker);
    EXPECT_TRUE(SameKindSelection(list));
    AddItem(list, 3, 0, true, ItemKind::Line);
    EXPECT_FALSE(SameKindSelection(list));

    ItemList markersOnly = DesignWithHeader();
    AddItem(markersOnly, 0, 1, true, ItemKind::GroupMarker);
    EXPECT_FALSE(SameKindSelection(markersOnly));
}

TEST(Stacking, SendToBackShiftsTheItemsBelowUp) {
    ItemList list = DesignWithHeader();
    ItemRecord* items[] = {AddItem(list, 1), AddItem(list, 2), AddItem(list, 3), AddItem(list, 4)};
    SendToBack(list, items[2]);
    EXPECT_EQ(items[0]->zOrder, 2);
    EXPECT_EQ(items[1]->zOrder, 3);
    EXPECT_EQ(items[2]->zOrder, 1);
    EXPECT_EQ(items[3]->zOrder, 4);
}

TEST(Stacking, BringToFrontTakesTheLargestNumberDeletedRecordsIncluded) {
    ItemList list = DesignWithHeader();
    ItemRecord* items[] = {AddItem(list, 1), AddItem(list, 2), AddItem(list, 3)};
    AddItem(list, 5)->deleted = 255;
    BringToFront(list, items[1]);
    EXPECT_EQ(items[0]->zOrder, 1);
    EXPECT_EQ(items[1]->zOrder, 5);
    EXPECT_EQ(items[2]->zOrder, 2);
}

TEST(Stacking, HugeStackingNumbersFromAFileCostNoMoreThanSmallOnes) {
    ItemList list = DesignWithHeader();
    ItemRecord* low = AddItem(list, 1);
    ItemRecord* high = AddItem(list, 2'000'000'000);
    SendToBack(list, high);
    EXPECT_EQ(high->zOrder, 1);
    EXPECT_EQ(low->zOrder, 2);
    ItemRecord* top = AddItem(list, std::numeric_limits<int32_t>::max());
    BringToFront(list, low);
    EXPECT_EQ(low->zOrder, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(top->zOrder, std::numeric_limits<int32_t>::max() - 1);
    // The largest is taken: the numbers are renumbered in their order and the new one is on top.
    EXPECT_EQ(NextZOrder(list), 4);
    EXPECT_EQ(high->zOrder, 1);
    EXPECT_EQ(top->zOrder, 2);
    EXPECT_EQ(low->zOrder, 3);
}

// The stacking commands as stepping through the numbers one at a time.
void SendToBackStepwise(ItemList& list, ItemRecord* record) {
    for (int32_t n = record->zOrder - 1; n >= 1; --n) {
        if (ItemRecord* found = FindByZOrder(list, n)) {
            found->zOrder = n + 1;
        }
    }
    record->zOrder = 1;
}

void BringToFrontStepwise(ItemList& list, ItemRecord* record) {
    int32_t front = MaxZOrder(list);
    for (int32_t c = record->zOrder + 1; c <= front; ++c) {
        if (ItemRecord* found = FindByZOrder(list, c)) {
            found->zOrder = c - 1;
        }
    }
    record->zOrder = front;
}

TEST(Stacking, AgreesWithSteppingThroughTheNumbersOnDuplicatesAndDeletedRecords) {
    std::mt19937 random(12345);
    for (int trial = 0; trial < 400; ++trial) {
        ItemList fast = DesignWithHeader();
        ItemList stepwise = DesignWithHeader();
        int count = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < count; ++i) {
            int32_t z = static_cast<int32_t>(random() % 7);
            bool deleted = random() % 4 == 0;
            AddItem(fast, z)->deleted = deleted ? 255 : 0;
            AddItem(stepwise, z)->deleted = deleted ? 255 : 0;
        }
        size_t pick = random() % static_cast<size_t>(count);
        ItemRecord* fastRecord = fast.first->next;
        ItemRecord* stepRecord = stepwise.first->next;
        for (size_t i = 0; i < pick; ++i) {
            fastRecord = fastRecord->next;
            stepRecord = stepRecord->next;
        }
        if (trial % 2) {
            SendToBack(fast, fastRecord);
            SendToBackStepwise(stepwise, stepRecord);
        } else {
            BringToFront(fast, fastRecord);
            BringToFrontStepwise(stepwise, stepRecord);
        }
        for (auto a = fast.begin(), b = stepwise.begin(); a != fast.end(); ++a, ++b) {
            ASSERT_EQ((*a)->zOrder, (*b)->zOrder) << "trial " << trial;
        }
    }
}

TEST(Groups, JoiningTwoGroupsMakesOneNewGroupAndRetiresTheOldMarkers) {
    ItemList list = DesignWithHeader();
    ItemRecord* a = AddItem(list, 1, 1, true);
    a->x1 = 0;
    a->y1 = 0;
    a->x2 = 10;
    a->y2 = 10;
    ItemRecord* markerOne = AddItem(list, 0, 1, true, ItemKind::GroupMarker);
    ItemRecord* b = AddItem(list, 2, 2, true);
    b->x1 = 20;
    b->y1 = 30;
    b->x2 = 31;
    b->y2 = 40;
    ItemRecord* markerTwo = AddItem(list, 0, 2, true, ItemKind::GroupMarker);
    b->undoStep = 6;
    a->undoStep = 6;

    int redraws = 0;
    JoinItems(list, {.redraw = [&] { ++redraws; }});
    EXPECT_EQ(a->groupId, 3);
    EXPECT_EQ(b->groupId, 3);
    EXPECT_EQ(markerOne->kind, ItemKind::Deletion);
    EXPECT_EQ(markerTwo->kind, ItemKind::Deletion);
    ItemRecord* marker = list.last;
    EXPECT_EQ(marker->kind, ItemKind::GroupMarker);
    EXPECT_EQ(marker->groupId, 3);
    EXPECT_EQ(marker->selected, 255);
    EXPECT_EQ(marker->undoStep, 6);
    // centre of (0,0), (10,10), (20,30), (31,40): (61/4, 80/4) = (15.25, 20)
    EXPECT_EQ(marker->x1, 15);
    EXPECT_EQ(marker->y1, 20);
    EXPECT_EQ(marker->x2, 15);
    EXPECT_EQ(marker->baseY2, 20);
    EXPECT_EQ(double(marker->worldX1), 15 * ScreenResolution().pxPerMmX());
    EXPECT_EQ(redraws, 1);
}

TEST(Groups, SplitClearsTheGroupAndTheSelection) {
    ItemList list = DesignWithHeader();
    ItemRecord* a = AddItem(list, 1, 4, true);
    ItemRecord* marker = AddItem(list, 0, 4, true, ItemKind::GroupMarker);
    bool versionsMade = false;
    SplitGroup(list, {.makeNewVersions = [&](ItemList&) { versionsMade = true; }});
    EXPECT_TRUE(versionsMade);
    EXPECT_EQ(a->groupId, 0);
    EXPECT_EQ(marker->kind, ItemKind::Deletion);
    EXPECT_EQ(FirstSelected(list), nullptr);
}

TEST(Groups, CompactGroupIdsMovesTheHighestIntoTheHoles) {
    ItemList list = DesignWithHeader();
    ItemRecord* two = AddItem(list, 1, 2);
    ItemRecord* five = AddItem(list, 2, 5);
    CompactGroupIds(list);
    EXPECT_EQ(two->groupId, 2);
    EXPECT_EQ(five->groupId, 1);
}

// Compacting as renaming the largest id into the smallest hole until none is left.
void CompactStepwise(ItemList& list) {
    while (true) {
        int32_t largest = NextGroupId(list) - 1;
        if (largest < 2) {
            return;
        }
        int32_t hole = 0;
        for (int32_t b = 1; b < largest && hole == 0; ++b) {
            if (!GroupInUse(list, b)) {
                hole = b;
            }
        }
        if (hole == 0) {
            return;
        }
        RenameGroup(list, largest, hole);
    }
}

TEST(Groups, CompactingInOnePassAgreesWithRenamingOneGroupAtATime) {
    std::mt19937 random(777);
    for (int trial = 0; trial < 300; ++trial) {
        ItemList fast = DesignWithHeader();
        ItemList stepwise = DesignWithHeader();
        int count = static_cast<int>(random() % 10);
        for (int i = 0; i < count; ++i) {
            int32_t id = static_cast<int32_t>(random() % 14) - 2;
            AddItem(fast, i, id);
            AddItem(stepwise, i, id);
        }
        CompactGroupIds(fast);
        CompactStepwise(stepwise);
        for (auto a = fast.begin(), b = stepwise.begin(); a != fast.end(); ++a, ++b) {
            ASSERT_EQ((*a)->groupId, (*b)->groupId) << "trial " << trial;
        }
    }
}

TEST(Groups, SelectGroupOfSelectsTheOtherLiveMembers) {
    ItemList list = DesignWithHeader();
    ItemRecord* clicked = AddItem(list, 1, 3);
    ItemRecord* member = AddItem(list, 2, 3);
    ItemRecord* deletedMember = AddItem(list, 3, 3);
    deletedMember->deleted = 255;
    ItemRecord* stranger = AddItem(list, 4, 1);
    SelectGroupOf(list, clicked, true);
    EXPECT_EQ(member->selected, 255);
    EXPECT_EQ(clicked->selected, 0);
    EXPECT_EQ(deletedMember->selected, 0);
    EXPECT_EQ(stranger->selected, 0);
}

TEST(Groups, NewGroupIdNeverWraps) {
    ItemList list = DesignWithHeader();
    ItemRecord* small = AddItem(list, 1, 5);
    ItemRecord* large = AddItem(list, 2, std::numeric_limits<int32_t>::max());
    ItemRecord* loose = AddItem(list, 3, 0);
    EXPECT_EQ(NextGroupId(list), 3);
    EXPECT_EQ(small->groupId, 1);
    EXPECT_EQ(large->groupId, 2);
    EXPECT_EQ(loose->groupId, 0); // not joined stays not joined
}

TEST(Searches, PictureUsersSerialsAndPaste) {
    ItemList list = DesignWithHeader();
    ItemRecord* picture = CreateRecord(list, ItemKind::PictureData);
    picture->recordClass = RecordClass::PictureData;
    picture->pictureId = 77;
    ItemRecord* clip = AddItem(list, 1, 0, false, ItemKind::Clip);
    clip->pictureId = 77;
    ItemRecord* oldClip = AddItem(list, 2, 0, false, ItemKind::Clip);
    oldClip->pictureId = 77;
    oldClip->deleted = 255;
    EXPECT_EQ(FindPictureData(list, 77), picture);
    EXPECT_EQ(FindPictureData(list, 78), nullptr);
    EXPECT_EQ(CountPictureUsers(list, 77), 2);
    EXPECT_TRUE(LiveClipOfPicture(list, 77));
    clip->deleted = 255;
    EXPECT_FALSE(LiveClipOfPicture(list, 77));
    EXPECT_EQ(FindBySerial(list, oldClip->serial), oldClip);
    EXPECT_EQ(FindBySerial(list, 999), nullptr);
    EXPECT_FALSE(ClipboardHasItems(list));
    AddItem(list, 3);
    EXPECT_TRUE(ClipboardHasItems(list));
}

TEST(LinePatterns, NewIdsCountDownFromMinusOne) {
    ItemList list = DesignWithHeader();
    EXPECT_EQ(NextPatternId(list), -1);
    ItemRecord* first = CreateRecord(list, *NextPatternId(list));
    first->recordClass = RecordClass::LinePattern;
    ItemRecord* second = CreateRecord(list, *NextPatternId(list));
    second->recordClass = RecordClass::LinePattern;
    EXPECT_EQ(second->kind, -2);
    ItemRecord* last = CreateRecord(list, std::numeric_limits<int32_t>::min());
    last->recordClass = RecordClass::LinePattern;
    EXPECT_FALSE(NextPatternId(list).has_value());
}

} // namespace
} // namespace vlr
