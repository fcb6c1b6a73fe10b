// The copy list: what copying puts into it, what pasting makes of it in another design, and
// inserting a design file through it.
#include "model/copylist.h"

#include "editing.h"
#include "rawdesign.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <limits>

namespace vlr {
namespace {

using test::Insert;
using test::LiveItems;
using test::NewDesign;
using test::RecordCount;
using test::Select;
using test::SelectedItems;

std::vector<ItemRecord*> ItemsOf(const ItemList& list, int32_t kind) {
    std::vector<ItemRecord*> found;
    for (ItemRecord* record : list) {
        if (record->kind == kind && record->recordClass == RecordClass::Item && record->deleted == 0) {
            found.push_back(record);
        }
    }
    return found;
}

int CountKind(const ItemList& list, int32_t kind) {
    int count = 0;
    for (ItemRecord* record : list) {
        count += record->kind == kind ? 1 : 0;
    }
    return count;
}

ItemRecord* AddPicture(ItemList& list, int32_t pictureId, double scale) {
    ItemRecord* picture = CreateRecord(list, ItemKind::PictureData);
    picture->recordClass = RecordClass::PictureData;
    picture->historyState = 0;
    picture->pictureId = pictureId;
    picture->scale = scale;
    picture->pictureStream = {1, 2, 3, 4};
    SetText(picture, u"photo.jpg");
    return picture;
}

ItemRecord* AddPattern(ItemList& list, int32_t id, std::vector<double> segments) {
    ItemRecord* pattern = CreateRecord(list, id);
    pattern->recordClass = RecordClass::LinePattern;
    for (size_t i = 0; i < segments.size(); ++i) {
        pattern->segmentLengths[i] = segments[i];
    }
    pattern->segmentCount = static_cast<int32_t>(segments.size());
    return pattern;
}

// Copies the given records of source and pastes them into target.
int CopyAndPaste(ItemList& source, std::initializer_list<ItemRecord*> records, ItemList& target) {
    ItemList copyList;
    Select(source, records);
    CopyToList(source, copyList);
    return PasteFromList(copyList, target);
}

TEST(CopyToList, HoldsTheHeaderThenTheItemsUnselectedWithTheirGroupsNumberedFromOne) {
    ItemList source = NewDesign();
    ItemRecord* a = Insert(source, ItemKind::Line, 0, 0, 10, 10);
    ItemRecord* b = Insert(source, ItemKind::Text, 0, 0, 10, 10);
    ItemRecord* marker = Insert(source, ItemKind::GroupMarker, 5, 5, 5, 5);
    ItemRecord* loose = Insert(source, ItemKind::Rectangle, 0, 0, 4, 4);
    a->groupId = 7;
    b->groupId = 7;
    marker->groupId = 7;
    marker->zOrder = 0;
    a->tagList = {3};
    Select(source, {a, b, marker, loose});

    ItemList copyList;
    CopyToList(source, copyList);
    ASSERT_EQ(RecordCount(copyList), 5u);
    EXPECT_EQ(copyList.first->kind, ItemKind::Header);
    std::vector<ItemRecord*> copied(std::next(copyList.begin()), copyList.end());
    EXPECT_EQ(copied[0]->kind, ItemKind::Line);
    EXPECT_EQ(copied[1]->kind, ItemKind::Text);
    EXPECT_EQ(copied[2]->kind, ItemKind::GroupMarker);
    EXPECT_EQ(copied[3]->kind, ItemKind::Rectangle);
    for (ItemRecord* record : copied) {
        EXPECT_EQ(record->selected, 0);
    }
    EXPECT_EQ(copied[0]->groupId, 1);
    EXPECT_EQ(copied[2]->groupId, 1);
    EXPECT_EQ(copied[3]->groupId, 0);
    EXPECT_TRUE(copied[0]->tagList.empty());
    EXPECT_TRUE(ClipboardHasItems(copyList));
    EXPECT_EQ(a->selected, 255); // the source keeps its selection

    // Pasted into a design whose largest group id is 3: 1 + (3 + 1).
    ItemList target = NewDesign();
    Insert(target, ItemKind::Line, 0, 0, 1, 1)->groupId = 3;
    EXPECT_EQ(PasteFromList(copyList, target), 4);
    std::vector<ItemRecord*> pasted = SelectedItems(target);
    ASSERT_EQ(pasted.size(), 4u);
    EXPECT_EQ(pasted[0]->groupId, 5);
    EXPECT_EQ(pasted[1]->groupId, 5);
    EXPECT_EQ(pasted[2]->groupId, 0); // the rectangle; the marker comes last
    EXPECT_EQ(pasted[3]->kind, ItemKind::GroupMarker);
    EXPECT_EQ(pasted[3]->groupId, 5);
    EXPECT_EQ(pasted[3]->zOrder, 0);
    EXPECT_EQ(pasted[3]->x1, 15);
    EXPECT_EQ(pasted[3]->baseY2, 15);
}

TEST(CopyToList, WithoutAHeaderTheListStaysEmptyAndAnEmptySelectionEnablesNoPaste) {
    ItemList source;
    ItemRecord* line = CreateRecord(source, ItemKind::Line);
    line->selected = 255;
    ItemList copyList = NewDesign();
    CopyToList(source, copyList);
    EXPECT_TRUE(copyList.empty());
    EXPECT_FALSE(ClipboardHasItems(copyList));

    ItemList design = NewDesign();
    Insert(design, ItemKind::Line, 0, 0, 1, 1);
    SelectOnly(design, nullptr);
    CopyToList(design, copyList);
    EXPECT_EQ(RecordCount(copyList), 1u);
    EXPECT_FALSE(ClipboardHasItems(copyList));
}

TEST(CopyToList, TwoClipsOfOnePictureCarryThePictureOnceWithItsOwnValues) {
    ItemList source = NewDesign();
    AddPicture(source, 77, 0.75);
    AddPicture(source, 78, 1.0);
    ItemRecord* first = Insert(source, ItemKind::Clip, 0, 0, 40, 30);
    ItemRecord* second = Insert(source, ItemKind::Clip, 50, 0, 90, 30);
    first->pictureId = 77;
    second->pictureId = 77;
    Select(source, {first, second});
    ItemList copyList;
    CopyToList(source, copyList);
    ASSERT_EQ(CountKind(copyList, ItemKind::PictureData), 1);
    ItemRecord* picture = FindPictureData(copyList, 77);
    EXPECT_EQ(picture->prev->kind, ItemKind::Clip); // right after the first clip
    EXPECT_EQ(picture->scale, 0.75);
    EXPECT_EQ(picture->recordClass, RecordClass::PictureData);
    EXPECT_EQ(picture->historyState, 0);
    EXPECT_EQ(GetText(picture), u"photo.jpg");
    EXPECT_EQ(picture->pictureStream, (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST(PasteFromList, PastingTwiceGivesTwoSetsButOnePicture) {
    ItemList source = NewDesign();
    AddPicture(source, 5, 1.0);
    ItemRecord* clip = Insert(source, ItemKind::Clip, 100, 100, 140, 130);
    clip->pictureId = 5;
    Select(source, {clip});
    ItemList copyList;
    CopyToList(source, copyList);

    ItemList target = NewDesign();
    PasteFromList(copyList, target);
    PasteFromList(copyList, target);
    std::vector<ItemRecord*> clips = ItemsOf(target, ItemKind::Clip);
    ASSERT_EQ(clips.size(), 2u);
    for (ItemRecord* pasted : clips) {
        EXPECT_EQ(pasted->x1, 110);
        EXPECT_EQ(pasted->y2, 140);
    }
    EXPECT_EQ(CountKind(target, ItemKind::PictureData), 1);
    EXPECT_EQ(FindPictureData(target, 5)->historyState, 0);
    EXPECT_EQ(SelectedItems(target), std::vector<ItemRecord*>{clips[1]}); // each paste selects its own
    EXPECT_TRUE(ClipboardHasItems(copyList));                             // the copy list is kept
}

TEST(PasteFromList, KeepsTheStackingOrderAboveEverythingInTheTarget) {
    ItemList source = NewDesign();
    ItemRecord* top = Insert(source, ItemKind::Line, 0, 0, 1, 1);
    ItemRecord* bottom = Insert(source, ItemKind::Line, 0, 0, 2, 2);
    ItemRecord* middle = Insert(source, ItemKind::Line, 0, 0, 3, 3);
    top->zOrder = 12;
    bottom->zOrder = 4;
    middle->zOrder = 9;
    ItemList target = NewDesign();
    Insert(target, ItemKind::Line, 0, 0, 1, 1)->zOrder = 20;
    CopyAndPaste(source, {top, bottom, middle}, target);
    std::vector<ItemRecord*> pasted = SelectedItems(target);
    ASSERT_EQ(pasted.size(), 3u);
    EXPECT_EQ(pasted[0]->x2, 12); // bottom, 2 + 10
    EXPECT_EQ(pasted[0]->zOrder, 21);
    EXPECT_EQ(pasted[1]->x2, 13);
    EXPECT_EQ(pasted[1]->zOrder, 22);
    EXPECT_EQ(pasted[2]->x2, 11);
    EXPECT_EQ(pasted[2]->zOrder, 23);
}

TEST(PasteFromList, MovesPointsBoundsAndWorldValuesByTenPixels) {
    ItemList source = NewDesign();
    ItemRecord* line = Insert(source, ItemKind::Line, 10, 20, 30, 40);
    ItemRecord* rectangle = Insert(source, ItemKind::Rectangle, 0, 0, 20, 10);
    ItemRecord* round = Insert(source, ItemKind::Clip, 50, 50, 53, 54);
    round->clipShape = 2;
    int outlines = 0;
    EditHooks hooks;
    hooks.recomputeOutline = [&outlines](ItemRecord*) { ++outlines; };

    ItemList copyList;
    Select(source, {line, rectangle, round});
    CopyToList(source, copyList);
    ItemList target = NewDesign();
    PasteFromList(copyList, target, hooks);
    std::vector<ItemRecord*> pasted = SelectedItems(target);
    ASSERT_EQ(pasted.size(), 3u);
    EXPECT_EQ(outlines, 1); // the line

    ItemRecord* movedLine = pasted[0];
    EXPECT_EQ(movedLine->x1, 20);
    EXPECT_EQ(movedLine->y1, 30);
    EXPECT_EQ(movedLine->x2, 40);
    EXPECT_EQ(movedLine->y2, 50);
    EXPECT_EQ(movedLine->baseX1, 20);
    EXPECT_EQ(movedLine->baseY2, 50);
    EXPECT_EQ(movedLine->boundRight, 40);
    EXPECT_EQ(movedLine->spanLength, 28); // round(sqrt(20^2 + 20^2))
    EXPECT_DOUBLE_EQ(movedLine->worldX1, 20 * target.screen.pxPerMmX());
    EXPECT_DOUBLE_EQ(movedLine->worldY2, 50 * target.screen.pxPerMmY());

    // Corners (10, 10) ... (30, 20) after the move; the two points stand 4 pixels (half a marker)
    // outside them.
    ItemRecord* movedRectangle = pasted[1];
    EXPECT_EQ(movedRectangle->pointList[0].x, 10);
    EXPECT_EQ(movedRectangle->pointList[0].savedX, 10);
    EXPECT_EQ(movedRectangle->pointList[2].y, 20);
    EXPECT_EQ(movedRectangle->x1, 6);
    EXPECT_EQ(movedRectangle->y1, 6);
    EXPECT_EQ(movedRectangle->x2, 34);
    EXPECT_EQ(movedRectangle->y2, 24);

    // A round clip: the circle of radius 5 about its moved centre (60, 60).
    ItemRecord* movedRound = pasted[2];
    EXPECT_EQ(movedRound->boundLeft, 55);
    EXPECT_EQ(movedRound->boundBottom, 65);
    EXPECT_EQ(movedRound->spanX, 10);
}

TEST(PasteFromList, PointsNearTheEdgeOfTheRangeStopThereInsteadOfWrapping) {
    ItemList source = NewDesign();
    const int32_t largest = std::numeric_limits<int32_t>::max();
    ItemRecord* line = Insert(source, ItemKind::Line, largest - 3, 0, largest, 0);
    ItemList target = NewDesign();
    CopyAndPaste(source, {line}, target);
    ItemRecord* pasted = SelectedItems(target).at(0);
    EXPECT_EQ(pasted->x1, largest);
    EXPECT_EQ(pasted->x2, largest);
}

TEST(PasteFromList, LinePatternsTravelWithTheirLines) {
    ItemList source = NewDesign();
    AddPattern(source, -1, {9.0});
    AddPattern(source, -2, {2.0, 1.0});
    ItemRecord* dashed = Insert(source, ItemKind::Line, 0, 0, 10, 0);
    ItemRecord* sameDashes = Insert(source, ItemKind::Rectangle, 0, 0, 10, 10);
    ItemRecord* unknown = Insert(source, ItemKind::Line, 0, 5, 10, 5);
    ItemRecord* text = Insert(source, ItemKind::Text, 0, 5, 10, 5);
    dashed->dashPattern = -2;
    sameDashes->dashPattern = -2;
    unknown->dashPattern = -9; // no such definition: kept as it is
    text->dashPattern = -1;    // texts draw no outline
    ItemList copyList;
    Select(source, {dashed, sameDashes, unknown, text});
    CopyToList(source, copyList);
    EXPECT_EQ(RecordCount(copyList), 6u); // header, four items, one pattern

    // A target without patterns gets a copy of the definition under its first free number.
    ItemList plain = NewDesign();
    PasteFromList(copyList, plain);
    std::vector<ItemRecord*> pasted = SelectedItems(plain);
    ItemRecord* added = FindRecord(plain, -1);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->recordClass, RecordClass::LinePattern);
    EXPECT_EQ(added->segmentCount, 2);
    EXPECT_EQ(added->segmentLengths[0], 2.0);
    EXPECT_EQ(pasted[0]->dashPattern, -1);
    EXPECT_EQ(pasted[1]->dashPattern, -1);
    EXPECT_EQ(pasted[2]->dashPattern, -9);
    EXPECT_EQ(pasted[3]->dashPattern, -1);
    EXPECT_EQ(CountKind(plain, -2), 0);

    // A target whose -2 is another pattern and whose -5 is the same one (within 0.0001 mm).
    ItemList other = NewDesign();
    AddPattern(other, -2, {4.0, 4.0});
    AddPattern(other, -5, {2.00005, 1.0});
    PasteFromList(copyList, other);
    EXPECT_EQ(SelectedItems(other)[0]->dashPattern, -5);
    EXPECT_EQ(RecordCount(other), 4u + 4u); // no pattern added

    // Only -2 in the target, and different: a new pattern one below it.
    ItemList clash = NewDesign();
    AddPattern(clash, -2, {2.0, 1.5});
    PasteFromList(copyList, clash);
    EXPECT_EQ(SelectedItems(clash)[0]->dashPattern, -3);
    EXPECT_EQ(FindRecord(clash, -3)->segmentLengths[1], 1.0);
}

TEST(PasteFromList, CutThenPastePastesWhatWasCopiedBefore) {
    ItemList design = NewDesign();
    ItemRecord* copied = Insert(design, ItemKind::Line, 0, 0, 10, 0);
    ItemRecord* cut = Insert(design, ItemKind::Rectangle, 0, 0, 10, 10);
    ItemList copyList;
    Select(design, {copied});
    CopyToList(design, copyList);
    Select(design, {cut});
    DeleteSelection(design);
    PasteFromList(copyList, design);
    std::vector<ItemRecord*> pasted = SelectedItems(design);
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(pasted[0]->kind, ItemKind::Line);
}

TEST(PasteFromList, IsOneUndoStepAndKeepsTheRedoHistory) {
    ItemList design = NewDesign();
    ItemRecord* redoable = Insert(design, ItemKind::Line, 0, 0, 10, 0);
    Undo(design);
    ItemList source = NewDesign();
    ItemRecord* a = Insert(source, ItemKind::Line, 0, 0, 1, 1);
    ItemRecord* b = Insert(source, ItemKind::Line, 0, 0, 2, 2);
    CopyAndPaste(source, {a, b}, design);
    EXPECT_EQ(redoable->historyState, 2); // not purged
    std::vector<ItemRecord*> pasted = SelectedItems(design);
    ASSERT_EQ(pasted.size(), 2u);
    EXPECT_EQ(pasted[0]->undoStep, pasted[1]->undoStep);
    EXPECT_EQ(pasted[0]->historyState, 1);
    EXPECT_TRUE(CanUndo(design));
    EXPECT_FALSE(CanRedo(design)); // nothing follows the pasted items

    Undo(design);
    EXPECT_TRUE(LiveItems(design).empty());
    Redo(design); // the line undone before the paste
    EXPECT_EQ(LiveItems(design), std::vector<ItemRecord*>{redoable});
    Redo(design);
    EXPECT_EQ(LiveItems(design).size(), 3u);
}

TEST(PasteFromList, DoesNothingWithoutAHeaderOnEitherSide) {
    ItemList source = NewDesign();
    ItemRecord* line = Insert(source, ItemKind::Line, 0, 0, 1, 1);
    ItemList copyList;
    Select(source, {line});
    CopyToList(source, copyList);

    ItemList headless;
    CreateRecord(headless, ItemKind::Line);
    EXPECT_EQ(PasteFromList(copyList, headless), 0);
    EXPECT_EQ(RecordCount(headless), 1u);

    RemoveRecord(copyList, copyList.first);
    ItemList target = NewDesign();
    EXPECT_EQ(PasteFromList(copyList, target), 0);
    EXPECT_EQ(RecordCount(target), 2u);
}

TEST(PasteFromList, GroupIdsNearTheEndOfTheRangeRenumberTheTargetsGroupsFirst) {
    ItemList source = NewDesign();
    ItemRecord* a = Insert(source, ItemKind::Line, 0, 0, 1, 1);
    ItemRecord* b = Insert(source, ItemKind::Line, 0, 0, 1, 1);
    a->groupId = 4;
    b->groupId = 9;
    ItemList target = NewDesign();
    ItemRecord* high = Insert(target, ItemKind::Line, 0, 0, 1, 1);
    high->groupId = std::numeric_limits<int32_t>::max() - 1;
    ItemRecord* low = Insert(target, ItemKind::Line, 0, 0, 1, 1);
    low->groupId = 1;
    CopyAndPaste(source, {a, b}, target);
    // The target's groups become 1 and 2; the copy list numbers 9 as 1 and 4 as 2, and each
    // pasted id goes up by the next group id, 3.
    EXPECT_EQ(low->groupId, 1);
    EXPECT_EQ(high->groupId, 2);
    std::vector<ItemRecord*> pasted = SelectedItems(target);
    EXPECT_EQ(pasted[0]->groupId, 5);
    EXPECT_EQ(pasted[1]->groupId, 4);
}

class ImportDesignTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     ("vlr-import-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                      "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::string Save(const std::vector<uint8_t>& bytes, const char* name) {
        std::string path = (directory_ / name).string();
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        return path;
    }

    std::filesystem::path directory_;
};

TEST_F(ImportDesignTest, ReadsTheFileIntoTheCopyListAndPastesItWithCompactGroups) {
    ItemList saved = NewDesign();
    Insert(saved, ItemKind::Line, 0, 0, 10, 10)->groupId = 7;
    Insert(saved, ItemKind::Line, 5, 5, 10, 10)->groupId = 7;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(WriteDesignToMemory(saved, bytes));
    std::string path = Save(bytes, "saved.vlrn");

    ItemList copyList;
    ItemList target = NewDesign();
    Insert(target, ItemKind::Line, 0, 0, 1, 1)->groupId = 2;
    test::ScriptedPrompt prompt;
    EXPECT_TRUE(ImportDesign(path, copyList, target, prompt).ok());
    EXPECT_EQ(ItemsOf(copyList, ItemKind::Line)[0]->groupId, 1);
    std::vector<ItemRecord*> pasted = SelectedItems(target);
    ASSERT_EQ(pasted.size(), 2u);
    EXPECT_EQ(pasted[0]->groupId, 4); // 1 + (2 + 1)
    EXPECT_EQ(pasted[1]->x1, 15);
    EXPECT_EQ(CountKind(target, ItemKind::Gridlines), 1); // the file's gridlines stay behind
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(ImportDesignTest, ADeclinedFileLeavesTheCopyListAsItWasAndPastesNothing) {
    ItemList source = NewDesign();
    ItemRecord* line = Insert(source, ItemKind::Line, 0, 0, 1, 1);
    ItemList copyList;
    Select(source, {line});
    CopyToList(source, copyList);

    std::string path =
        Save(test::FileOf({test::RawItem(ItemKind::Line).I32(test::at::magic, 1)}), "bad.vlrn");
    ItemList target = NewDesign();
    test::ScriptedPrompt prompt(PromptAnswer::No);
    EXPECT_EQ(ImportDesign(path, copyList, target, prompt).status, ReadStatus::Declined);
    EXPECT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(RecordCount(copyList), 2u);
    EXPECT_EQ(RecordCount(target), 2u);

    EXPECT_EQ(ImportDesign((directory_ / "missing.vlrn").string(), copyList, target, prompt).status,
              ReadStatus::NoFile);
    EXPECT_EQ(RecordCount(copyList), 2u);

    // A read that fails empties the copy list.
    EXPECT_EQ(ImportDesign(directory_.string(), copyList, target, prompt).status, ReadStatus::IoError);
    EXPECT_TRUE(copyList.empty());
    EXPECT_EQ(RecordCount(target), 2u);
}

} // namespace
} // namespace vlr
