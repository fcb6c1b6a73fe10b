// Design files: what the writer stores, what the reader makes of well-formed and damaged files.
#include "model/designfile.h"

#include "model/history.h"
#include "model/itemlist.h"
#include "rawdesign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

namespace vlr {
namespace {

using test::FileOf;
using test::RawHeader;
using test::RawItem;
using test::RawRecord;
using test::ScriptedPrompt;
using test::at::kind;
namespace at = test::at;

std::vector<ItemRecord*> Records(const ItemList& list) {
    return {list.begin(), list.end()};
}

ReadResult Read(const std::vector<uint8_t>& bytes, ItemList& list, PromptAnswer answer = PromptAnswer::No) {
    ScriptedPrompt prompt(answer);
    return ReadDesignFromMemory(bytes, list, prompt);
}

std::vector<uint8_t> Written(ItemList& list) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(WriteDesignToMemory(list, bytes));
    return bytes;
}

int32_t Int32At(const std::vector<uint8_t>& bytes, size_t offset) {
    int32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

double DoubleAt(const std::vector<uint8_t>& bytes, size_t offset) {
    double value;
    std::memcpy(&value, bytes.data() + offset, 8);
    return value;
}

ItemList NewDesign() {
    ItemList list;
    ItemRecord* header = CreateRecord(list, ItemKind::Header);
    header->recordClass = RecordClass::Header;
    header->zoom = 1.0;
    header->units = 1;
    ItemRecord* grid = CreateRecord(list, ItemKind::Gridlines);
    grid->historyState = 0;
    return list;
}

class TempFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("vlr-designfile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(folder);
    }
    std::string PathOf(const std::string& name) const { return (folder / name).string(); }
    void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream(PathOf(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<uint8_t> ReadFile(const std::string& name) const {
        std::ifstream in(PathOf(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::filesystem::path folder;
};

// ---- writing ----

TEST(WriteDesign, StoresTheLiveDesignWithItsTails) {
    ItemList list = NewDesign();
    ItemRecord* grid = FindRecord(list, ItemKind::Gridlines);
    grid->gridX = {{.position = 19}, {.position = 38, .removed = 1}, {.position = 57}};
    grid->gridY = {{.position = 19}};
    ItemRecord* text = CreateRecord(list, ItemKind::Text);
    SetText(text, u"AB");
    text->legacyTailA = 12;
    ItemRecord* line = CreateRecord(list, ItemKind::Line);
    line->deleted = 255;

    std::vector<uint8_t> bytes = Written(list);
    // header (no text), gridlines + 3 entries, text + 4 bytes; the deleted line is absent
    ASSERT_EQ(bytes.size(), 448u + (448 + 3 * 8) + (448 + 4));
    EXPECT_EQ(Int32At(bytes, 112), 0);
    EXPECT_EQ(Int32At(bytes, 323), 164);
    size_t gridAt = 448;
    EXPECT_EQ(Int32At(bytes, gridAt + 4), ItemKind::Gridlines);
    EXPECT_EQ(Int32At(bytes, gridAt + 112), 24);
    EXPECT_EQ(Int32At(bytes, gridAt + 448), 1);
    EXPECT_EQ(Int32At(bytes, gridAt + 452), 19);
    EXPECT_EQ(Int32At(bytes, gridAt + 460), 57); // the removed gridline is skipped
    EXPECT_EQ(Int32At(bytes, gridAt + 464), 2);
    size_t textAt = gridAt + 448 + 24;
    EXPECT_EQ(Int32At(bytes, textAt + 4), ItemKind::Text);
    EXPECT_EQ(Int32At(bytes, textAt + 112), 4);
    EXPECT_EQ(Int32At(bytes, textAt + 405), 0); // legacy tails are never written
    EXPECT_EQ(bytes[textAt + 448], 'A');
    EXPECT_EQ(bytes[textAt + 450], 'B');
    EXPECT_FALSE(IsModified(list));
}

TEST(WriteDesign, DropsEmptyTextsDeletionRecordsAndUnusedPictures) {
    ItemList list = NewDesign();
    SetText(CreateRecord(list, ItemKind::Text), u"");
    CreateRecord(list, ItemKind::Deletion);
    ItemRecord* picture = CreateRecord(list, ItemKind::PictureData);
    picture->recordClass = RecordClass::PictureData;
    picture->pictureId = 5;
    picture->pictureStream = {0xFF, 0xD8, 0xFF};
    SetText(picture, u"a.jpg");
    ItemRecord* clipA = CreateRecord(list, ItemKind::Clip);
    clipA->pictureId = 5;
    ItemRecord* clipB = CreateRecord(list, ItemKind::Clip);
    clipB->pictureId = 5;

    std::vector<uint8_t> bytes = Written(list);
    ItemList read;
    ASSERT_TRUE(Read(bytes, read).ok());
    std::vector<ItemRecord*> records = Records(read);
    ASSERT_EQ(records.size(), 5u); // header, gridlines, picture data once, two clips
    EXPECT_EQ(records[2]->kind, ItemKind::PictureData);
    EXPECT_EQ(records[2]->pictureStream, picture->pictureStream);
    EXPECT_EQ(GetText(records[2]), u"a.jpg");
    EXPECT_EQ(records[2]->spanLength, 10); // in the file: the byte count of the name

    clipA->deleted = 255;
    clipB->deleted = 255;
    EXPECT_EQ(Written(list).size(), 2u * 448);
}

TEST(WriteDesign, StoresARecordBeingContinuedAsFinished) {
    ItemList list = NewDesign();
    ItemRecord* spline = CreateRecord(list, ItemKind::Spline);
    spline->suspended = 255;
    spline->pointList = {{.x = 1, .y = 2}, {.x = 3, .y = 4, .flag1 = 1}};
    std::vector<uint8_t> bytes = Written(list);
    EXPECT_EQ(spline->suspended, 255); // the editor keeps continuing it
    size_t splineAt = 2 * 448;
    EXPECT_EQ(bytes[splineAt + 65], 0);
    EXPECT_EQ(Int32At(bytes, splineAt + 112), 112);
    EXPECT_EQ(Int32At(bytes, splineAt + 448 + 56), 3);
    EXPECT_EQ(bytes[splineAt + 448 + 56 + 48], 1);

    ItemList read;
    ASSERT_TRUE(Read(bytes, read).ok());
    EXPECT_EQ(read.last->pointList, spline->pointList);
}

TEST(WriteDesign, RefusesADesignWithoutHeaderOrWithATextTooLongToReadBack) {
    ItemList noHeader;
    CreateRecord(noHeader, ItemKind::Line);
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(WriteDesignToMemory(noHeader, bytes));

    ItemList list = NewDesign();
    ItemRecord* text = CreateRecord(list, ItemKind::Text);
    SetText(text, std::u16string(511999, u'x')); // 1,023,998 bytes: the longest readable
    EXPECT_TRUE(WriteDesignToMemory(list, bytes));
    SetText(text, std::u16string(512000, u'x'));
    SetModified(list, true);
    EXPECT_FALSE(WriteDesignToMemory(list, bytes));
    EXPECT_TRUE(IsModified(list));
}

TEST_F(TempFolder, AFailedSaveLeavesThePreviousFileAndNoLeftovers) {
    std::vector<uint8_t> previous(1000, 0xAB);
    WriteFile("card.vlrn", previous);
    ItemList list = NewDesign();
    SetText(CreateRecord(list, ItemKind::Text), std::u16string(600000, u'x'));
    EXPECT_FALSE(WriteDesign(PathOf("card.vlrn"), list));
    EXPECT_EQ(ReadFile("card.vlrn"), previous);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
    EXPECT_TRUE(IsModified(list));

    EXPECT_FALSE(WriteDesign(PathOf("missing-folder/card.vlrn"), list));
}

TEST_F(TempFolder, SaveReplacesTheFileAndKeepsItsPermissions) {
    WriteFile("card.vlrn", {1, 2, 3});
    std::filesystem::permissions(PathOf("card.vlrn"), std::filesystem::perms(0640));
    ItemList list = NewDesign();
    ASSERT_TRUE(WriteDesign(PathOf("card.vlrn"), list));
    EXPECT_EQ(ReadFile("card.vlrn").size(), 2u * 448);
    EXPECT_EQ(std::filesystem::status(PathOf("card.vlrn")).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

// Larger than the writer's and the reader's buffers (4 MB): a picture of 5 MB, a shape whose
// points take more than a megabyte, and texts whose tails fall across the buffers' ends, then
// an odd text tail; what the file reader makes of every cut of the file is what the memory
// reader makes of the same bytes.
TEST_F(TempFolder, FilesLargerThanTheBuffersReadAndWriteAsInMemory) {
    ItemList list = NewDesign();
    ItemRecord* data = CreateRecord(list, ItemKind::PictureData);
    data->recordClass = RecordClass::PictureData;
    data->pictureId = 7;
    data->pictureStream.resize((size_t{5} << 20) + 3);
    for (size_t i = 0; i < data->pictureStream.size(); ++i) {
        data->pictureStream[i] = static_cast<uint8_t>(i * 2654435761u >> 24);
    }
    SetText(data, u"photo.jpg");
    CreateRecord(list, ItemKind::Clip)->pictureId = 7;
    ItemRecord* shape = CreateRecord(list, ItemKind::Polygon);
    for (int32_t i = 0; i < 20000; ++i) { // 1,120,000 bytes of points
        shape->pointList.push_back({.x = i, .y = -i, .flag1 = uint8_t(i)});
    }
    for (int32_t i = 0; i < 3000; ++i) {
        SetText(CreateRecord(list, ItemKind::Text),
                std::u16string(size_t(1 + i % 300), char16_t(u'a' + i % 26)));
    }
    SetModified(list, false); // the flag is stored in the header
    const std::vector<uint8_t> inMemory = Written(list);
    ASSERT_TRUE(WriteDesign(PathOf("large.vlrn"), list));
    ASSERT_EQ(ReadFile("large.vlrn"), inMemory);

    RawRecord odd = RawItem(ItemKind::Text);
    odd.Tail({'a', 0, 'b', 0, 'c'}).I32(at::tailLength, 5);
    std::vector<uint8_t> bytes = inMemory;
    const std::vector<uint8_t> oddRecord = FileOf({odd});
    bytes.insert(bytes.end(), oddRecord.begin(), oddRecord.end());
    const size_t block = size_t{4} << 20;
    for (size_t length : {bytes.size(), inMemory.size() - 1, block + 3, block - 100, size_t{3 * 448 + 5000},
                          size_t{3 * 448 + 1}}) {
        SCOPED_TRACE(length);
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(length));
        WriteFile("cut.vlrn", cut);
        ItemList fromFile, fromMemory;
        ScriptedPrompt prompt(PromptAnswer::No);
        ASSERT_TRUE(ReadDesign(PathOf("cut.vlrn"), fromFile, prompt).ok());
        ASSERT_TRUE(Read(cut, fromMemory).ok());
        EXPECT_EQ(Written(fromFile), Written(fromMemory));
        if (length == bytes.size()) {
            const ItemRecord* picture = FindRecord(fromFile, ItemKind::PictureData);
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->pictureStream, data->pictureStream);
            EXPECT_EQ(FindRecord(fromFile, ItemKind::Polygon)->pointList, shape->pointList);
            EXPECT_EQ(GetText(fromFile.last), u"ab");
        }
    }
}

// ---- reading well-formed files ----

TEST(ReadDesign, ASingleHeaderIsADesign) {
    ItemList list;
    ReadResult result = Read(FileOf({RawHeader()}), list);
    ASSERT_TRUE(result.ok());
    ASSERT_NE(list.first, nullptr);
    EXPECT_EQ(list.first, list.last);
    EXPECT_EQ(list.first->kind, ItemKind::Header);
    EXPECT_FALSE(IsModified(list));
}

TEST(ReadDesign, SetsTheHeaderScalesFromTheScreenAndDerivesThePage) {
    ItemList list(ScreenResolution(120.0, 120.0));
    RawRecord header = RawHeader();
    header.F64(at::pxPerUnitX, 99.0).F64(at::pxPerUnitY, 99.0).F64(at::canvasLeft, 10.0);
    ASSERT_TRUE(Read(FileOf({header}), list).ok());
    ItemRecord* read = list.first;
    EXPECT_DOUBLE_EQ(double(read->pxPerUnitX), 120.0 / 25.4);
    // 10 mm and 85 mm at 120 dpi: 47.24 and 401.57 pixels
    EXPECT_EQ(read->x1, 47);
    EXPECT_EQ(read->x2, 47 + 402);
    EXPECT_EQ(read->spanX, 402);
}

TEST(ReadDesign, NumbersRecordsInFileOrderOutsideTheHistory) {
    RawRecord line = RawItem(ItemKind::Line);
    line.I32(at::serial, 900).I32(at::historyState, 1).I32(at::replaces, 4);
    RawRecord picture = RawItem(ItemKind::PictureData);
    picture.I32(at::recordClass, 6).I32(at::serial, 55);
    ItemList list;
    ASSERT_TRUE(
        Read(FileOf({RawHeader(), RawItem(ItemKind::Gridlines), line, picture, RawItem(ItemKind::Clip)}),
             list)
            .ok());
    std::vector<ItemRecord*> records = Records(list);
    EXPECT_EQ(records[1]->serial, 1);
    EXPECT_EQ(records[2]->serial, 2);
    EXPECT_EQ(records[2]->historyState, 0);
    EXPECT_EQ(records[2]->replaces, 0);
    EXPECT_EQ(records[3]->serial, 55); // picture data keeps its fields
    EXPECT_EQ(records[4]->serial, 3);
}

TEST(ReadDesign, KeepsTheStoredHistoryWhenTheFileCarriesIt) {
    RawRecord header = RawHeader();
    header.U8(at::historySaved, 1);
    RawRecord line = RawItem(ItemKind::Line);
    line.I32(at::serial, 900).I32(at::historyState, 2).I32(at::replaces, 4).U8(at::deleted, 255);
    ItemList list;
    ASSERT_TRUE(Read(FileOf({header, line}), list).ok());
    EXPECT_EQ(list.last->serial, 900);
    EXPECT_EQ(list.last->historyState, 2);
    EXPECT_EQ(list.last->replaces, 4);
    EXPECT_EQ(list.last->deleted, 255);
}

TEST(ReadDesign, ClearsSelectionAndContinuation) {
    RawRecord line = RawItem(ItemKind::Line);
    line.U8(at::selected, 255).U8(at::suspended, 255);
    ItemList list;
    ASSERT_TRUE(Read(FileOf({RawHeader(), line}), list).ok());
    EXPECT_EQ(list.last->selected, 0);
    EXPECT_EQ(list.last->suspended, 0);
}

TEST(ReadDesign, IntegersFollowTheWorldCoordinatesAtTheCurrentResolution) {
    // Written at 96 dpi: a line from (96, 48) to (192, 0), a spline point and a gridline.
    const double perMm96 = 96.0 / 25.4;
    RawRecord line = RawItem(ItemKind::Line);
    line.F64(at::worldX1, 96 * perMm96).F64(at::worldY1, 48 * perMm96).F64(at::worldX2, 192 * perMm96);
    RawRecord spline = RawItem(ItemKind::Spline);
    spline.I32(at::tailLength, 56).Tail(test::PointEntry(100, 200));
    RawRecord grid = RawItem(ItemKind::Gridlines);
    grid.I32(at::tailLength, 8).Tail(test::GridEntry(1, 57));

    ItemList list(ScreenResolution(120.0, 120.0));
    ASSERT_TRUE(Read(FileOf({RawHeader(), line, spline, grid}), list).ok());
    std::vector<ItemRecord*> records = Records(list);
    EXPECT_EQ(records[1]->x1, 77);  // 96 * 96 / 120 = 76.8
    EXPECT_EQ(records[1]->y1, 38);  // 38.4
    EXPECT_EQ(records[1]->x2, 154); // 153.6
    EXPECT_EQ(records[2]->pointList[0].x, 100);
    EXPECT_EQ(records[3]->gridX[0].position, 57);
}

TEST(ReadDesign, TextTailsAreUtf16AndAnOddLastByteIsDropped) {
    RawRecord text = RawItem(ItemKind::Text);
    text.TextTail(u"Hi\u07ECyou");
    RawRecord odd = RawItem(ItemKind::Text);
    odd.Tail({'a', 0, 'b', 0, 'c'}).I32(at::tailLength, 5);
    ItemList list;
    ASSERT_TRUE(Read(FileOf({RawHeader(), text, odd}), list).ok());
    EXPECT_EQ(GetText(list.first->next), u"Hi\u07ECyou");
    EXPECT_EQ(LineCount(list.first->next), 2);
    EXPECT_EQ(GetText(list.last), u"ab");
}

TEST(ReadDesign, PointTailsTakeWholeEntriesAndGridlinesKnownAxes) {
    RawRecord shape = RawItem(ItemKind::Triangle);
    shape.Tail(test::PointEntry(1, 2)).Tail(test::PointEntry(3, 4)).Tail(std::vector<uint8_t>(8, 7));
    shape.I32(at::tailLength, 120);
    RawRecord grid = RawItem(ItemKind::Gridlines);
    grid.Tail(test::GridEntry(2, 10)).Tail(test::GridEntry(9, 11)).Tail(test::GridEntry(1, 12));
    grid.I32(at::tailLength, 24);
    ItemList list;
    ASSERT_TRUE(Read(FileOf({RawHeader(), shape, grid}), list).ok());
    std::vector<ItemRecord*> records = Records(list);
    ASSERT_EQ(records[1]->pointList.size(), 2u);
    EXPECT_EQ(records[1]->pointList[1].y, 4);
    ASSERT_EQ(records[2]->gridX.size(), 1u);
    EXPECT_EQ(records[2]->gridX[0].position, 12);
    ASSERT_EQ(records[2]->gridY.size(), 1u);
    EXPECT_EQ(records[2]->gridY[0].position, 10);
}

TEST(ReadDesign, SkipsLegacyTextTails) {
    RawRecord text = RawItem(ItemKind::Text);
    text.TextTail(u"x").I32(at::legacyTailA, 3).I32(at::legacyTailB, 2).Tail({1, 2, 3, 4, 5});
    ItemList list;
    ASSERT_TRUE(Read(FileOf({RawHeader(), text, RawItem(ItemKind::Line)}), list).ok());
    EXPECT_EQ(GetText(list.first->next), u"x");
    EXPECT_EQ(list.last->kind, ItemKind::Line);
}

TEST(ReadDesign, AnInvalidFirstRecordAsksOnceAndNoLeavesTheTargetAlone) {
    RawRecord bad = RawHeader();
    bad.I32(at::magic, 1);
    RawRecord alsoBad = RawItem(ItemKind::Line);
    alsoBad.I32(at::magic, 2);
    std::vector<uint8_t> bytes = FileOf({bad, alsoBad});

    ItemList target = NewDesign();
    ItemRecord* before = target.first;
    ScriptedPrompt no(PromptAnswer::No);
    EXPECT_EQ(ReadDesignFromMemory(bytes, target, no).status, ReadStatus::Declined);
    EXPECT_EQ(no.shown, std::vector<std::string>{kInvalidFileQuestion});
    EXPECT_EQ(target.first, before);

    ScriptedPrompt yes(PromptAnswer::Yes);
    ASSERT_TRUE(ReadDesignFromMemory(bytes, target, yes).ok());
    EXPECT_EQ(yes.shown.size(), 1u);
    EXPECT_EQ(Records(target).size(), 2u);
    EXPECT_TRUE(IsModified(target));
}

TEST(ReadDesign, WarnsAfterReadingAFileOfANewerVersion) {
    for (int32_t version : {165, 164, 0}) {
        RawRecord header = RawHeader();
        header.I32(at::fileVersion, version);
        ItemList list;
        ScriptedPrompt prompt;
        ASSERT_TRUE(ReadDesignFromMemory(FileOf({header}), list, prompt).ok());
        if (version > 164) {
            EXPECT_EQ(prompt.shown, std::vector<std::string>{kNewerVersionWarning});
            EXPECT_NE(list.first, nullptr);
        } else {
            EXPECT_TRUE(prompt.shown.empty()) << version;
        }
    }
}

TEST(ReadDesign, ReadsTheSampleDesignAndWritesItBackByteForByte) {
    std::ifstream in(VLR_SAMPLE_DESIGN, std::ios::binary);
    std::vector<uint8_t> original{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GT(original.size(), 448u);
    ItemList list;
    ASSERT_TRUE(Read(original, list).ok());
    EXPECT_GT(Records(list).size(), 4u);
    EXPECT_EQ(Written(list), original);
}

// ---- damaged files ----

TEST(ReadDesign, ARecordWithoutACompleteBodyIsIgnored) {
    std::vector<uint8_t> bytes = FileOf({RawHeader()});
    bytes.push_back(0x55); // a stray byte
    ItemList list;
    ASSERT_TRUE(Read(bytes, list).ok());
    EXPECT_EQ(Records(list).size(), 1u);

    bytes = FileOf({RawHeader(), RawItem(ItemKind::Line)});
    bytes.resize(448 + 300);
    ASSERT_TRUE(Read(bytes, list).ok());
    EXPECT_EQ(Records(list).size(), 1u);
}

TEST(ReadDesign, NoCompleteBodyOrNoHeaderIsAFailedReadThatKeepsTheTarget) {
    ItemList target = NewDesign();
    ItemRecord* before = target.first;
    EXPECT_EQ(Read({}, target).status, ReadStatus::NotADesign);
    EXPECT_EQ(Read(std::vector<uint8_t>(447, 0), target).status, ReadStatus::NotADesign);
    EXPECT_EQ(Read(FileOf({RawItem(ItemKind::Line)}), target).status, ReadStatus::NotADesign);
    EXPECT_EQ(target.first, before);
    EXPECT_EQ(Records(target).size(), 2u);
}

TEST(ReadDesign, ATailLongerThanTheFileEndsTheReadAndKeepsEarlierRecords) {
    RawRecord text = RawItem(ItemKind::Text);
    text.TextTail(u"kept");
    RawRecord shape = RawItem(ItemKind::Triangle);
    shape.I32(at::tailLength, 56 * 1000).Tail(test::PointEntry(1, 1));
    RawRecord after = RawItem(ItemKind::Line); // swallowed as the rest of the shape's tail
    ItemList list;
    ASSERT_TRUE(Read(FileOf({RawHeader(), text, shape, after}), list).ok());
    std::vector<ItemRecord*> records = Records(list);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(GetText(records[1]), u"kept");
    EXPECT_TRUE(records[2]->pointList.empty());
}

TEST(ReadDesign, CountsThatDoNotFitAreNeverAllocated) {
    for (int32_t length : {std::numeric_limits<int32_t>::max(), 2'000'000'000, 1'024'000}) {
        RawRecord picture = RawItem(ItemKind::PictureData);
        picture.I32(at::recordClass, 6).I32(at::tailLength, length).I32(at::spanLength, length);
        RawRecord text = RawItem(ItemKind::Text);
        text.I32(at::tailLength, length).I32(at::legacyTailA, length);
        ItemList list;
        ASSERT_TRUE(Read(FileOf({RawHeader(), picture}), list).ok());
        EXPECT_TRUE(list.last->pictureStream.empty());
        ASSERT_TRUE(Read(FileOf({RawHeader(), text}), list).ok());
        EXPECT_FALSE(list.last->wideText.has_value());
    }
}

TEST(ReadDesign, NegativeCountsReadNothing) {
    RawRecord text = RawItem(ItemKind::Text);
    text.I32(at::tailLength, -8)
        .I32(at::legacyTailA, -1)
        .I32(at::legacyTailB, std::numeric_limits<int32_t>::min());
    RawRecord shape = RawItem(ItemKind::Star);
    shape.I32(at::tailLength, -56);
    RawRecord picture = RawItem(ItemKind::PictureData);
    picture.I32(at::recordClass, 6).I32(at::tailLength, -1).I32(at::spanLength, -2);
    RawRecord header = RawHeader();
    header.I32(at::tailLength, -100);
    ItemList list;
    ASSERT_TRUE(Read(FileOf({header, text, shape, picture, RawItem(ItemKind::Line)}), list).ok());
    EXPECT_EQ(Records(list).size(), 5u);
    EXPECT_EQ(list.last->kind, ItemKind::Line);
}

TEST(ReadDesign, AnOversizedTextTailThatFitsIsSkippedAsAWhole) {
    // The tail's bytes look like a record; they must be taken as text, never as a record.
    RawRecord disguised = RawItem(ItemKind::Line);
    std::vector<uint8_t> tail(1'024'000, 0);
    std::copy(disguised.body.begin(), disguised.body.end(), tail.begin());
    RawRecord text = RawItem(ItemKind::Text);
    text.I32(at::tailLength, 1'024'000).Tail(tail);
    RawRecord legacy = RawItem(ItemKind::Text);
    legacy.TextTail(u"ok").I32(at::legacyTailA, 1'024'000).Tail(tail);
    RawRecord header = RawHeader();
    header.I32(at::tailLength, 1'024'000).Tail(tail);
    ItemList list;
    ASSERT_TRUE(Read(FileOf({header, text, legacy, RawItem(ItemKind::Ellipse)}), list).ok());
    std::vector<ItemRecord*> records = Records(list);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_FALSE(records[0]->wideText.has_value());
    EXPECT_FALSE(records[1]->wideText.has_value());
    EXPECT_EQ(GetText(records[2]), u"ok");
    EXPECT_EQ(records[3]->kind, ItemKind::Ellipse);
}

TEST(ReadDesign, AFaceNameLengthAbove32ReadsAs32) {
    RawRecord text = RawItem(ItemKind::Text);
    text.U8(at::fontName, 250);
    for (size_t i = 0; i < 32; ++i) {
        text.U8(at::fontName + 1 + i, 'F');
    }
    text.U8(at::fontName + 33, 'Z'); // the next field's first byte
    ItemList list;
    ASSERT_TRUE(Read(FileOf({RawHeader(), text}), list).ok());
    EXPECT_EQ(GetFontName(*list.last), std::string(32, 'F'));
}

TEST(ReadDesign, UnusableHeaderValuesAreReplacedInMemoryButStoredAsTheyWere) {
    RawRecord header = RawHeader();
    header.F64(at::zoom, std::nan(""))
        .I32(at::units, 7)
        .F64(at::pxPerUnitX, -3.0)
        .F64(at::pxPerUnitY, std::numeric_limits<double>::infinity())
        .F64(at::canvasWidth, 1e300)
        .I32(at::rows, -4)
        .I32(at::columns, 2'000'000'000)
        .U8(at::lightDirection, 9);
    std::vector<uint8_t> original = FileOf({header});
    ItemList list;
    ASSERT_TRUE(Read(original, list).ok());
    ItemRecord* read = list.first;
    EXPECT_EQ(double(read->zoom), 1.0);
    EXPECT_EQ(double(read->pxPerUnitX), 96.0); // an unknown unit counts as inches
    EXPECT_EQ(double(read->pxPerUnitY), 96.0);
    EXPECT_EQ(double(read->canvasWidth), 1e6);
    EXPECT_EQ(read->rows, 0);
    EXPECT_EQ(read->columns, 1000);
    EXPECT_EQ(read->lightDirection, 0);
    EXPECT_EQ(read->spanX, nearest(1e6 * 96.0));

    std::vector<uint8_t> written = Written(list);
    EXPECT_TRUE(std::isnan(DoubleAt(written, at::zoom)));
    EXPECT_EQ(DoubleAt(written, at::pxPerUnitX), -3.0);
    EXPECT_EQ(DoubleAt(written, at::canvasWidth), 1e300);
    EXPECT_EQ(Int32At(written, at::rows), -4);
    EXPECT_EQ(Int32At(written, at::columns), 2'000'000'000);
    EXPECT_EQ(written[at::lightDirection], 9);

    // A value the user changed afterwards is stored as changed.
    read->zoom = 2.0;
    read->rows = 3;
    written = Written(list);
    EXPECT_EQ(DoubleAt(written, at::zoom), 2.0);
    EXPECT_EQ(Int32At(written, at::rows), 3);
}

// A file may hold the largest numbers there are: the counters are renumbered in their order
// before they would wrap, so a new item still goes on top and after everything in history.
TEST(ReadDesign, LargestNumbersFromAFileAreRenumberedInOrderBeforeTheyWrap) {
    constexpr int32_t top = std::numeric_limits<int32_t>::max();
    RawRecord header = RawHeader();
    header.U8(at::historySaved, 1);
    RawRecord low = RawItem(ItemKind::Line);
    low.I32(at::serial, 40).I32(at::zOrder, 7).I32(at::groupId, 3);
    RawRecord high = RawItem(ItemKind::Line);
    high.I32(at::serial, top).I32(at::zOrder, top).I32(at::groupId, top);
    ItemList list;
    ASSERT_TRUE(Read(FileOf({header, low, high}), list).ok());
    std::vector<ItemRecord*> read = Records(list);
    ASSERT_EQ(read.size(), 3u);

    ItemRecord* created = CreateNewItem(list, ItemKind::Line);
    EXPECT_EQ(read[1]->zOrder, 1);
    EXPECT_EQ(read[2]->zOrder, 2);
    EXPECT_EQ(created->zOrder, 3); // on top of the item that was at the top of the range
    EXPECT_EQ(read[1]->serial, 1);
    EXPECT_EQ(read[2]->serial, 2);
    EXPECT_EQ(created->serial, 3);
    EXPECT_EQ(NextGroupId(list), 3);
    EXPECT_EQ(read[1]->groupId, 1);
    EXPECT_EQ(read[2]->groupId, 2);
}

TEST_F(TempFolder, OpensReadOnlyFilesAndReportsWhatIsNotThere) {
    ItemList list = NewDesign();
    ASSERT_TRUE(WriteDesign(PathOf("card.vlrn"), list));
    std::filesystem::permissions(PathOf("card.vlrn"), std::filesystem::perms::owner_read);
    ItemList read;
    ScriptedPrompt prompt;
    EXPECT_TRUE(ReadDesign("  " + PathOf("card.vlrn") + " ", read, prompt).ok());

    EXPECT_EQ(ReadDesign("   ", read, prompt).status, ReadStatus::NoFile);
    EXPECT_EQ(ReadDesign(PathOf("none.vlrn"), read, prompt).status, ReadStatus::NoFile);
    EXPECT_EQ(ReadDesign(folder.string(), read, prompt).status, ReadStatus::IoError);
    EXPECT_EQ(ReadDesign("/dev/zero", read, prompt).status, ReadStatus::IoError);
    EXPECT_EQ(Records(read).size(), 2u);
}

} // namespace
} // namespace vlr
