// Placing what the picture editor inserts: the picture data record, the clip items, one undo
// step, and what a saved design file keeps of them.
#include "pictures/placepictures.h"

#include "model/designfile.h"
#include "model/history.h"
#include "model/itemlist.h"
#include "pictures/clipoutline.h"
#include "render/picturedecode.h"
#include "render/picturefiles.h"

#include <gtest/gtest.h>

#include <deque>

namespace vlr {
namespace {

ItemList NewDesign() {
    ItemList design;
    ItemRecord* header = CreateRecord(design, ItemKind::Header);
    header->recordClass = RecordClass::Header;
    header->zoom = 1.0;
    header->fileVersion = kFileVersion;
    return design;
}

// A 400 x 300 picture in the editor, turned once and mirrored, at 50 %, with a rectangle and a
// circle outlined.
PictureEditor EditorWithTwoClips() {
    QImage image(300, 400, QImage::Format_RGB32);
    image.fill(0xFF804020);
    PictureEditor editor;
    EXPECT_TRUE(
        LoadPicture(editor, test::JpegFile(image), PictureFormat::Jpeg, "/pictures/sea.jpg", QSize(10, 10)));
    TurnPictureRight(editor);
    MirrorPicture(editor);
    SetEditorZoom(editor, 0.5);
    editor.insertMode = InsertMode::Clips;
    AddRectangleOutline(editor.clips, {110, 80}, {10, 20}, 0.5, OrientedSize(editor));
    AddRoundOutline(editor.clips, {200, 150}, {230, 190}, 0.5);
    return editor;
}

std::vector<ItemRecord*> LiveClips(const ItemList& design) {
    std::vector<ItemRecord*> clips;
    for (ItemRecord* record : design) {
        if (record->kind == ItemKind::Clip && IsLiveItem(record)) {
            clips.push_back(record);
        }
    }
    return clips;
}

int CountPictureData(const ItemList& design) {
    int count = 0;
    for (const ItemRecord* record : design) {
        count += record->kind == ItemKind::PictureData ? 1 : 0;
    }
    return count;
}

TEST(PlacePictures, ClipsShareOnePictureRecordAndAreOneUndoStep) {
    PictureEditor editor = EditorWithTwoClips();
    ClipStyle style{0.5, 0x0000FF, 127, {30, 10, 100}};
    const PictureInsertion insertion = MakeInsertion(editor, style);
    ASSERT_EQ(insertion.clips.size(), 2u);
    EXPECT_EQ(insertion.pictureSize, QSize(400, 300));

    ItemList design = NewDesign();
    ItemRecord* before = CreateNewItem(design, ItemKind::Line);
    before->selected = 255;
    const std::vector<ItemRecord*> placed = PlacePictures(design, insertion, {30, 40}, 777);
    ASSERT_EQ(placed.size(), 2u);

    const ItemRecord* data = FindPictureData(design, 777);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(CountPictureData(design), 1);
    EXPECT_EQ(data->recordClass, RecordClass::PictureData);
    EXPECT_EQ(data->pictureStream, editor.stream);
    EXPECT_EQ(GetText(data), u"/pictures/sea.jpg");
    EXPECT_EQ(data->clipShape, PictureFormat::Jpeg);
    EXPECT_EQ((Point{data->x2, data->y2}), (Point{300, 400})); // as stored, not turned
    EXPECT_DOUBLE_EQ(data->scale, 0.5);

    // The rectangle 10, 20 ... 110, 80 at 50 %: 50 x 30 from the top-left of the visible page,
    // inside its frame of 0.5 mm (2 pixels at 96 dpi).
    const ItemRecord& rectangle = *placed[0];
    EXPECT_EQ(rectangle.clipShape, ClipShape::Rectangle);
    EXPECT_EQ((Rect{rectangle.srcLeft, rectangle.srcTop, rectangle.srcRight, rectangle.srcBottom}),
              (Rect{10, 20, 110, 80}));
    EXPECT_EQ((Rect{rectangle.x1, rectangle.y1, rectangle.x2, rectangle.y2}), (Rect{32, 42, 82, 72}));
    // The circle of radius 50 about 200, 150 at 50 %: radius 25, its box's corner at 32, 42.
    const ItemRecord& round = *placed[1];
    EXPECT_EQ(round.clipShape, ClipShape::Round);
    EXPECT_EQ((Rect{round.srcLeft, round.srcTop, round.srcRight, round.srcBottom}),
              (Rect{200, 150, 230, 190}));
    EXPECT_EQ((Rect{round.x1, round.y1, round.x2, round.y2}), (Rect{57, 67, 82, 67}));
    EXPECT_EQ((Rect{round.boundLeft, round.boundTop, round.boundRight, round.boundBottom}),
              (Rect{32, 42, 82, 92}));

    for (const ItemRecord* clip : placed) {
        EXPECT_EQ(clip->pictureId, 777);
        EXPECT_EQ(clip->turnAngle, 90);
        EXPECT_EQ(clip->mirrorY, -1); // a mirror of a quarter-turned picture
        EXPECT_EQ(clip->mirrorX, 1);
        EXPECT_DOUBLE_EQ(clip->scaleX, 0.5);
        EXPECT_DOUBLE_EQ(clip->pictureScale, 0.5);
        EXPECT_EQ(clip->pictureSpanX, 200);
        EXPECT_EQ(clip->pictureSpanY, 150);
        EXPECT_EQ(clip->hasFrame, 1);
        EXPECT_DOUBLE_EQ(clip->lineWeight, 0.5);
        EXPECT_EQ(clip->color, 0x0000FF);
        EXPECT_EQ(clip->surface, 127);
        EXPECT_EQ(clip->shadowElevation, 30);
        EXPECT_TRUE(IsSelected(clip));
        EXPECT_EQ(clip->undoStep, placed[0]->undoStep);
    }
    EXPECT_GT(round.zOrder, rectangle.zOrder);
    EXPECT_GT(rectangle.zOrder, before->zOrder);
    EXPECT_FALSE(IsSelected(before));
    EXPECT_TRUE(IsModified(design));

    Undo(design); // both clips go at once
    EXPECT_TRUE(LiveClips(design).empty());
    EXPECT_TRUE(IsLiveItem(before));
    Redo(design);
    EXPECT_EQ(LiveClips(design).size(), 2u);
}

TEST(PlacePictures, SavedAndReadBackKeepsCutsShapesAndOrientation) {
    PictureEditor editor = EditorWithTwoClips();
    ItemList design = NewDesign();
    PlacePictures(design, MakeInsertion(editor, {}), {0, 0}, 4242);
    // The whole picture as a third clip from the same file.
    editor.insertMode = InsertMode::EntireImage;
    PlacePictures(design, MakeInsertion(editor, {}), {5, 5}, 4242);

    std::vector<uint8_t> file;
    ASSERT_TRUE(WriteDesignToMemory(design, file));
    ItemList read;
    FixedAnswerPrompt prompt(PromptAnswer::No);
    ASSERT_TRUE(ReadDesignFromMemory(file, read, prompt).ok());
    EXPECT_EQ(CountPictureData(read), 1);
    const ItemRecord* data = FindPictureData(read, 4242);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->pictureStream, editor.stream);
    EXPECT_EQ(GetText(data), u"/pictures/sea.jpg");

    const std::vector<ItemRecord*> clips = LiveClips(read);
    ASSERT_EQ(clips.size(), 3u);
    struct Expected {
        int32_t shape;
        Rect source, points;
    };
    const Expected expected[] = {
        {ClipShape::Rectangle, {10, 20, 110, 80}, {0, 0, 50, 30}},
        {ClipShape::Round, {200, 150, 230, 190}, {25, 25, 50, 25}},
        {ClipShape::WholePicture, {0, 0, 400, 300}, {5, 5, 205, 155}},
    };
    for (size_t i = 0; i < clips.size(); ++i) {
        const ItemRecord& clip = *clips[i];
        EXPECT_EQ(clip.clipShape, expected[i].shape) << i;
        EXPECT_EQ((Rect{clip.srcLeft, clip.srcTop, clip.srcRight, clip.srcBottom}), expected[i].source) << i;
        EXPECT_EQ((Rect{clip.x1, clip.y1, clip.x2, clip.y2}), expected[i].points) << i;
        EXPECT_EQ(clip.pictureId, 4242);
        EXPECT_EQ(clip.turnAngle, 90);
        EXPECT_EQ(clip.mirrorX, 1);
        EXPECT_EQ(clip.mirrorY, -1);
        EXPECT_DOUBLE_EQ(clip.rotation, 0.0);
    }
}

TEST(PlacePictures, ClipsWhoseSizeRoundsToNothingAreLeftOut) {
    PictureEditor editor = EditorWithTwoClips();
    AddRectangleOutline(editor.clips, {300, 0}, {301, 1}, 0.5, OrientedSize(editor)); // 1 x 1 pixel
    PictureInsertion insertion = MakeInsertion(editor, {});
    insertion.editorZoom = 0.01;
    ItemList design = NewDesign();
    // At 1 %: 100 x 60 gives 1 x 1, the radius 50 gives 0.5, which rounds to 0, and 1 x 1 gives 0.
    const std::vector<ItemRecord*> placed = PlacePictures(design, insertion, {0, 0}, 9);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0]->clipShape, ClipShape::Rectangle);
    EXPECT_EQ((Rect{placed[0]->x1, placed[0]->y1, placed[0]->x2, placed[0]->y2}), (Rect{0, 0, 1, 1}));

    // With nothing of any size: no item, no picture record, no undo step.
    insertion.editorZoom = 0.001;
    ItemList empty = NewDesign();
    EXPECT_TRUE(PlacePictures(empty, insertion, {0, 0}, 9).empty());
    EXPECT_EQ(CountPictureData(empty), 0);
    EXPECT_FALSE(CanUndo(empty));
    EXPECT_FALSE(IsModified(empty));
}

TEST(PlacePictures, RectanglesLeftPartlyOffThePictureByATurnAreCut) {
    PictureEditor editor;
    QImage wide(300, 100, QImage::Format_RGB32);
    wide.fill(0xFF000000);
    ASSERT_TRUE(LoadPicture(editor, test::JpegFile(wide), PictureFormat::Jpeg, "wide.jpg", QSize(10, 10)));
    editor.insertMode = InsertMode::Clips;
    AddRectangleOutline(editor.clips, {50, 10}, {250, 90}, 1.0, OrientedSize(editor));
    AddRectangleOutline(editor.clips, {200, 0}, {290, 50}, 1.0, OrientedSize(editor));
    TurnPictureLeft(editor); // now 100 x 300
    const PictureInsertion insertion = MakeInsertion(editor, {});
    ASSERT_EQ(insertion.clips.size(), 1u);
    EXPECT_EQ(insertion.clips[0].source, (Rect{50, 10, 100, 90}));
}

TEST(PlacePictures, NewPictureIdsAreFreeInEveryOpenDesign) {
    ItemList first = NewDesign(), second = NewDesign();
    CreateRecord(first, ItemKind::Clip)->pictureId = 5;
    ItemRecord* data = CreateRecord(second, ItemKind::PictureData);
    data->recordClass = RecordClass::PictureData;
    data->pictureId = 7;
    std::deque<int32_t> draws = {5, 0, 7, -3, 2147483647, 9};
    const int32_t id = NewPictureId({&first, &second}, [&draws] {
        const int32_t next = draws.front();
        draws.pop_front();
        return next;
    });
    EXPECT_EQ(id, 9);
}

TEST(PlacePictures, EditingAClipReplacesItsCutAsOneUndoStep) {
    PictureEditor editor = EditorWithTwoClips();
    ItemList design = NewDesign();
    std::vector<ItemRecord*> placed = PlacePictures(design, MakeInsertion(editor, {}), {40, 60}, 12);
    ItemRecord* clip = placed[0];
    clip->rotation = 0.5;
    clip->saturation = 20;

    // The picture flipped back and cut anew; two outlines: the clip takes the first, the second
    // becomes a clip of its own.
    MirrorPicture(editor);
    SetEditorZoom(editor, 1.0);
    Undo(editor.clips);
    Undo(editor.clips);
    AddRoundOutline(editor.clips, {100, 100}, {100, 120}, 1.0);
    AddRectangleOutline(editor.clips, {0, 0}, {10, 10}, 1.0, OrientedSize(editor));
    ItemRecord* edited = EditClipPicture(design, clip, MakeInsertion(editor, {}));
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(edited->clipShape, ClipShape::Round);
    EXPECT_EQ((Rect{edited->srcLeft, edited->srcTop, edited->srcRight, edited->srcBottom}),
              (Rect{100, 100, 100, 120}));
    EXPECT_EQ(edited->mirrorY, 1);
    EXPECT_EQ(edited->boundLeft, 40); // the box keeps its corner
    EXPECT_EQ(edited->boundTop, 60);
    EXPECT_EQ(edited->boundRight, 80);
    EXPECT_DOUBLE_EQ(edited->rotation, 0.5);
    EXPECT_EQ(edited->saturation, 20);
    EXPECT_EQ(edited->pictureId, 12);
    EXPECT_EQ(edited->zOrder, clip->zOrder);
    EXPECT_EQ(LiveClips(design).size(), 3u);
    EXPECT_EQ(CountPictureData(design), 1);

    Undo(design);
    EXPECT_TRUE(IsLiveItem(clip));
    EXPECT_EQ(LiveClips(design).size(), 2u);
    EXPECT_EQ(clip->clipShape, ClipShape::Rectangle);
}

} // namespace
} // namespace vlr
