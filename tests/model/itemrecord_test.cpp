// Item records: the stored layout, new-record values, duplication, derived fields and texts.
#include "model/itemrecord.h"

#include "model/itemlist.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

namespace vlr {
namespace {

int32_t StoredInt32(const ItemBody& body, size_t offset) {
    auto bytes = BodyBytes(body);
    int32_t value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

uint64_t StoredBits(const ItemBody& body, size_t offset) {
    auto bytes = BodyBytes(body);
    uint64_t value;
    std::memcpy(&value, bytes.data() + offset, 8);
    return value;
}

uint64_t BitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    return bits;
}

ItemList DesignWithHeader() {
    ItemList list;
    CreateRecord(list, ItemKind::Header)->recordClass = RecordClass::Header;
    return list;
}

TEST(ItemBody, FieldsSitAtTheirStoredOffsetsEvenWhenUnaligned) {
    ItemRecord record;
    record.zOrder = 0x01020304;
    record.worldX1 = 1.5;
    record.lineWeight = 2.25; // a double at the odd offset 197
    record.groupId = -7;
    record.charset = 0x11223344;
    EXPECT_EQ(StoredInt32(record, 68), 0x01020304);
    EXPECT_EQ(StoredBits(record, 72), BitsOf(1.5));
    EXPECT_EQ(StoredBits(record, 197), BitsOf(2.25));
    EXPECT_EQ(StoredInt32(record, 393), -7);
    EXPECT_EQ(StoredInt32(record, 181), 0x11223344);

    // The header's own layout shares the same bytes from offset 116 on.
    record.zoom = 0.5;
    record.fileVersion = 164;
    record.lightDirection = 3;
    EXPECT_EQ(StoredBits(record, 116), BitsOf(0.5));
    EXPECT_EQ(StoredInt32(record, 323), 164);
    EXPECT_EQ(BodyBytes(record)[327], 3);
}

TEST(CreateRecord, StartsWithTheNewRecordValues) {
    ItemList list = DesignWithHeader();
    ItemRecord* record = CreateRecord(list, ItemKind::Line);
    EXPECT_EQ(record->recordClass, 0);
    EXPECT_EQ(record->kind, 1000200);
    EXPECT_EQ(record->magic, 147483647);
    EXPECT_EQ(record->docNumber, -1);
    EXPECT_EQ(record->reservedColor, 0x00FFFFFF);
    EXPECT_EQ(record->reserved253, 0x00FFFFFF);
    EXPECT_EQ(record->penWidthPx, 1);
    EXPECT_EQ(record->fontSize, 12);
    EXPECT_EQ(record->fontWeight, 400);
    EXPECT_EQ(record->alignment, 1);
    EXPECT_EQ(GetFontName(*record), "Arial");
    EXPECT_EQ(StoredInt32(*record, 148) & 0xFF, 5); // the length byte
    EXPECT_EQ(record->fillColor, -2);
    EXPECT_EQ(double(record->fixedAngle), -1.0);
    EXPECT_EQ(record->historyState, 1);
    EXPECT_EQ(StoredBits(*record, 277), 0x3FD1AC510C0C27D7u); // tension
    EXPECT_EQ(double(record->scaleX), 1.0);
    EXPECT_EQ(double(record->scaleY), 1.0);
    EXPECT_EQ(double(record->pictureScale), 1.0);
    EXPECT_EQ(record->mirrorX, 1);
    EXPECT_EQ(record->mirrorY, 1);
    EXPECT_EQ(record->zOrder, 0);
    EXPECT_FALSE(record->wideText.has_value());
    EXPECT_TRUE(record->pointList.empty());
    // the header first, then the new record at the tail
    EXPECT_EQ(list.first->next, record);
    EXPECT_EQ(list.last, record);
    EXPECT_EQ(record->prev, list.first);
}

TEST(CreateRecord, EveryRecordButTheHeaderMarksTheDesignModified) {
    ItemList list;
    CreateRecord(list, ItemKind::Header);
    EXPECT_FALSE(IsModified(list));
    CreateRecord(list, ItemKind::Gridlines);
    EXPECT_TRUE(IsModified(list));
}

TEST(NextSerial, CountsOnlyClassZeroRecords) {
    ItemList list = DesignWithHeader();
    ItemRecord* picture = CreateRecord(list, ItemKind::PictureData);
    picture->recordClass = RecordClass::PictureData;
    picture->serial = 40;
    ItemRecord* pattern = CreateRecord(list, -1);
    pattern->recordClass = RecordClass::LinePattern;
    pattern->serial = 50;
    list.first->serial = 60; // the header's bytes at that offset
    EXPECT_EQ(NextSerial(list), 1);

    CreateRecord(list, ItemKind::Line)->serial = 7;
    EXPECT_EQ(NextSerial(list), 8);
}

TEST(NextSerial, AtTheTopOfTheRangeTheSerialsAreRenumberedInOrderWithTheirLinks) {
    ItemList list = DesignWithHeader();
    ItemRecord* first = CreateRecord(list, ItemKind::Line);
    ItemRecord* second = CreateRecord(list, ItemKind::Line);
    ItemRecord* third = CreateRecord(list, ItemKind::Line);
    ItemRecord* discarded = CreateRecord(list, ItemKind::Line);
    first->serial = 9;
    second->serial = std::numeric_limits<int32_t>::max();
    second->replaces = 9;
    third->serial = 500;
    third->replaces = 77; // a record that is no longer there
    discarded->serial = -1;
    EXPECT_EQ(NextSerial(list), 4);
    EXPECT_EQ(first->serial, 1);
    EXPECT_EQ(second->serial, 3);
    EXPECT_EQ(second->replaces, 1);
    EXPECT_EQ(third->serial, 2);
    EXPECT_EQ(third->replaces, 0);
    EXPECT_EQ(discarded->serial, -1);
}

TEST(DuplicateRecord, CopiesTheItemAndRecomputesWorldCoordinatesFromItsIntegers) {
    ItemList list(ScreenResolution(120.0, 96.0));
    CreateRecord(list, ItemKind::Header)->recordClass = RecordClass::Header;
    ItemRecord* source = CreateRecord(list, ItemKind::Curve);
    source->x1 = 10;
    source->y1 = 20;
    source->x2 = 30;
    source->y2 = 40;
    source->worldX1 = 999.0; // stale
    source->color = 0x123456;
    source->groupId = 4;
    source->selected = 255;
    source->zOrder = 9;
    source->historyState = 2;
    source->undoStep = 5;
    source->replaces = 3;
    source->zChange = 1;
    source->rotationBase = 1.25;
    source->reservedColor = 77;
    source->shadowElevation = 6;
    source->reserved417 = {Int32Field{}, Int32Field{}, Int32Field{}};
    source->reserved417[2] = 42;
    SetFontName(*source, "Verdana");
    SetText(source, u"ab");
    source->pointList.push_back({.x = 1, .y = 2, .ctrl1X = 3, .flag2 = 1});
    source->tagList = {11, 12};

    ItemRecord* copy = DuplicateRecord(list, source);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(list.last, copy);
    EXPECT_EQ(double(copy->worldX1), 10 * 120.0 / 25.4);
    EXPECT_EQ(double(copy->worldY2), 40 * 96.0 / 25.4);
    EXPECT_EQ(copy->color, 0x123456);
    EXPECT_EQ(copy->groupId, 4);
    EXPECT_EQ(copy->selected, 255);
    EXPECT_EQ(copy->zOrder, 9);
    EXPECT_EQ(copy->shadowElevation, 6);
    EXPECT_EQ(copy->reserved417[2], 42);
    EXPECT_EQ(GetFontName(*copy), "Verdana");
    EXPECT_EQ(GetText(copy), u"ab");
    EXPECT_EQ(copy->pointList, source->pointList);
    EXPECT_EQ(copy->tagList, source->tagList);
    // history fields and the two runtime values keep their new-record values
    EXPECT_EQ(copy->historyState, 1);
    EXPECT_EQ(copy->undoStep, 0);
    EXPECT_EQ(copy->replaces, 0);
    EXPECT_EQ(copy->zChange, 0);
    EXPECT_EQ(double(copy->rotationBase), 0.0);
    EXPECT_EQ(copy->reservedColor, 0x00FFFFFF);
    EXPECT_EQ(copy->serial, source->serial + 1);
}

TEST(DuplicateRecord, MovesTheDerivedBitmapsAndCopiesThePictureStream) {
    ItemList list = DesignWithHeader();
    ItemRecord* clip = CreateRecord(list, ItemKind::Clip);
    ItemRecord* child = CreateRecord(clip->childList, ItemKind::UnadjustedBitmap);
    child->pictureStream = {1, 2, 3};
    child->x2 = 64;
    clip->pictureStream = {9, 8};

    ItemRecord* copy = DuplicateRecord(list, clip);
    EXPECT_TRUE(clip->childList.empty());
    ASSERT_NE(copy->childList.first, nullptr);
    EXPECT_EQ(copy->childList.first->kind, ItemKind::UnadjustedBitmap);
    EXPECT_EQ(copy->childList.first->pictureStream, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(copy->childList.first->x2, 64);
    copy->pictureStream[0] = 0;
    EXPECT_EQ(clip->pictureStream[0], 9);
    EXPECT_EQ(DuplicateRecord(list, nullptr), nullptr);
}

TEST(DuplicateRecord, CutsAnOverlongFaceNameTo32Characters) {
    ItemList list = DesignWithHeader();
    ItemRecord* source = CreateRecord(list, ItemKind::Text);
    source->fontName.length = 200; // as a damaged file may hold it
    std::memset(source->fontName.chars, 'x', 32);
    EXPECT_EQ(GetFontName(*source), std::string(32, 'x'));
    ItemRecord* copy = DuplicateRecord(list, source);
    EXPECT_EQ(copy->fontName.length, 32);
}

TEST(RemoveRecord, RelinksNeighboursAtHeadMiddleAndTail) {
    ItemList list;
    ItemRecord* a = CreateRecord(list, ItemKind::Line);
    ItemRecord* b = CreateRecord(list, ItemKind::Line);
    ItemRecord* c = CreateRecord(list, ItemKind::Line);
    ItemRecord* d = CreateRecord(list, ItemKind::Line);
    RemoveRecord(list, b);
    EXPECT_EQ(a->next, c);
    EXPECT_EQ(c->prev, a);
    RemoveRecord(list, a);
    EXPECT_EQ(list.first, c);
    EXPECT_EQ(c->prev, nullptr);
    RemoveRecord(list, d);
    EXPECT_EQ(list.last, c);
    EXPECT_EQ(c->next, nullptr);
    RemoveRecord(list, c);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.last, nullptr);
}

TEST(IsUntouchedDesign, AllowsAHeaderAndAtMostTwoMoreRecords) {
    ItemList list;
    EXPECT_FALSE(IsUntouchedDesign(list));
    CreateRecord(list, ItemKind::Header);
    CreateRecord(list, ItemKind::Gridlines);
    CreateRecord(list, ItemKind::Line);
    SetModified(list, false);
    EXPECT_TRUE(IsUntouchedDesign(list));
    CreateRecord(list, ItemKind::Line);
    SetModified(list, false);
    EXPECT_FALSE(IsUntouchedDesign(list));
}

TEST(Nearest, RoundsTiesToEvenAndClampsWhatAFileCanHold) {
    EXPECT_EQ(nearest(0.5), 0);
    EXPECT_EQ(nearest(1.5), 2);
    EXPECT_EQ(nearest(2.5), 2);
    EXPECT_EQ(nearest(3.5), 4);
    EXPECT_EQ(nearest(-2.5), -2);
    EXPECT_EQ(nearest(-2.6), -3);
    EXPECT_EQ(nearest(std::nan("")), 0);
    EXPECT_EQ(nearest(1e300), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(nearest(-std::numeric_limits<double>::infinity()), std::numeric_limits<int32_t>::min());
}

TEST(PointDirection, MeasuresCounterClockwiseOnTheScreen) {
    constexpr double pi = std::numbers::pi;
    EXPECT_DOUBLE_EQ(PointDirection({0, 0}, {10, 0}), 0.0);
    EXPECT_DOUBLE_EQ(PointDirection({0, 0}, {-10, 0}), pi);
    EXPECT_DOUBLE_EQ(PointDirection({0, 0}, {0, -10}), pi / 2);
    EXPECT_DOUBLE_EQ(PointDirection({0, 0}, {0, 10}), 3 * pi / 2);
    EXPECT_DOUBLE_EQ(PointDirection({0, 0}, {10, -10}), pi / 4);
    EXPECT_DOUBLE_EQ(PointDirection({0, 0}, {10, 10}), 7 * pi / 4);
    EXPECT_DOUBLE_EQ(PointDirection({5, 5}, {5, 5}), 0.0);
    double far =
        PointDirection({std::numeric_limits<int32_t>::min(), 0}, {std::numeric_limits<int32_t>::max(), 1});
    EXPECT_GE(far, 0.0);
    EXPECT_LT(far, 2 * pi);
}

TEST(Recalculate, DerivesPointsBoundsSpansAndDirection) {
    ScreenResolution screen; // 96 dpi
    ItemRecord record;
    record.kind = ItemKind::Line;
    record.worldX1 = 30 * screen.pxPerMmX();
    record.worldY1 = 40 * screen.pxPerMmY();
    record.worldX2 = 0.0;
    record.worldY2 = 0.0;
    Recalculate(&record, screen);
    EXPECT_EQ(record.x1, 30);
    EXPECT_EQ(record.y1, 40);
    EXPECT_EQ(record.boundLeft, 0);
    EXPECT_EQ(record.boundRight, 30);
    EXPECT_EQ(record.boundTop, 0);
    EXPECT_EQ(record.boundBottom, 40);
    EXPECT_EQ(record.spanX, 30);
    EXPECT_EQ(record.spanY, 40);
    EXPECT_EQ(record.spanLength, 50);
    // from (30, 40) to the origin: up and to the left
    EXPECT_DOUBLE_EQ(double(record.direction), std::atan2(40.0, -30.0));
}

TEST(Recalculate, RoundClipBoundsAreTheCircleAroundPointOne) {
    ScreenResolution screen;
    ItemRecord clip;
    clip.kind = ItemKind::Clip;
    clip.clipShape = 2;
    clip.worldX1 = 10 * screen.pxPerMmX();
    clip.worldY1 = 10 * screen.pxPerMmY();
    clip.worldX2 = 13 * screen.pxPerMmX();
    clip.worldY2 = 14 * screen.pxPerMmY();
    Recalculate(&clip, screen);
    EXPECT_EQ(clip.boundLeft, 5);
    EXPECT_EQ(clip.boundRight, 15);
    EXPECT_EQ(clip.boundTop, 5);
    EXPECT_EQ(clip.boundBottom, 15);
    EXPECT_EQ(clip.spanX, 10);
    EXPECT_EQ(clip.spanY, 10);
    EXPECT_EQ(clip.spanLength, 14);
}

TEST(Recalculate, WorldValuesBeyondAnyPageSaturateInsteadOfOverflowing) {
    ItemRecord record;
    record.worldX1 = std::numeric_limits<double>::infinity();
    record.worldY1 = std::nan("");
    record.worldX2 = -1e300;
    record.worldY2 = 1e300;
    Recalculate(&record, ScreenResolution());
    EXPECT_EQ(record.x1, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(record.y1, 0);
    EXPECT_EQ(record.x2, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(record.spanX, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(record.spanY, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(record.spanLength, std::numeric_limits<int32_t>::max());
}

TEST(HeaderGeometry, PageRectangleInPixelsAtTheZoom) {
    ItemRecord header;
    header.zoom = 2.0;
    header.pxPerUnitX = 96.0 / 25.4; // millimetres at 96 dpi
    header.pxPerUnitY = 96.0 / 25.4;
    header.canvasLeft = 5.0;
    header.canvasTop = 10.0;
    header.canvasWidth = 85.0;
    header.canvasHeight = 55.0;
    HeaderGeometry(&header);
    // 5 mm = 18.9 px, times 2 = 37.8; 85 mm = 321.26 px, times 2 = 642.5 (rounds to 643)
    EXPECT_EQ(header.x1, 38);
    EXPECT_EQ(header.y1, 76); // 10 mm * 2 = 75.59
    EXPECT_EQ(header.x2, 38 + 643);
    EXPECT_EQ(header.y2, 76 + 416); // 55 mm * 2 = 415.75
    EXPECT_EQ(header.spanX, 643);
    EXPECT_EQ(header.spanY, 416);
    EXPECT_EQ(header.boundLeft, 38);
    EXPECT_EQ(header.boundBottom, 76 + 416);
}

TEST(TextStorage, LinesAreSeparatedBy07EC) {
    ItemRecord record;
    EXPECT_EQ(LineCount(&record), 0);
    SetText(&record, u"");
    EXPECT_EQ(LineCount(&record), 0);
    SetText(&record, u"AB\u07EC");
    EXPECT_EQ(LineCount(&record), 2);
    EXPECT_EQ(GetLine(&record, 1), u"AB");
    EXPECT_EQ(GetLine(&record, 2), u"");
    EXPECT_EQ(GetLine(&record, 3), u"");
    EXPECT_EQ(GetLine(&record, 0), u"");
    SetText(&record, u"one\u07ECtwo");
    EXPECT_EQ(GetLine(&record, 2), u"two");
    EXPECT_EQ(TextLength(&record), 7);
    EXPECT_EQ(CharAt(&record, 1), u'o');
    EXPECT_EQ(CharAt(&record, 4), u'\u07EC');
    EXPECT_EQ(CharAt(&record, 7), u'o');
    EXPECT_EQ(CharAt(&record, 8), 0);
    EXPECT_EQ(CharAt(&record, 0), 0);
    EXPECT_EQ(LineCount(nullptr), 0);
    EXPECT_EQ(GetText(nullptr), u"");
}

TEST(TextStorage, ScansStopAtAnEmbeddedTerminator) {
    ItemRecord record;
    record.wideText = std::u16string(u"AB\0CD", 5);
    EXPECT_EQ(TextLength(&record), 2);
    EXPECT_EQ(GetText(&record), u"AB");
    EXPECT_EQ(CharAt(&record, 4), 0);
    record.wideText = std::u16string(u"\0AB", 3);
    EXPECT_EQ(LineCount(&record), 0);
}

} // namespace
} // namespace vlr
