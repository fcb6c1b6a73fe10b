// What Insert hands from the picture editor to a design, and placing it there: the picture data
// record with the picture file, and one clip item per clip outline (or the whole picture), as
// one undo step. Plain functions over the design's list; the window only finds the design and
// repaints it.
#pragma once

#include "model/geometry.h"
#include "model/itemlist.h"
#include "model/itemrecord.h"
#include "pictures/pictureeditor.h"
#include "settings/params.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vlr {

// The frame and shadow new clips get, from the picture panel's Effects.
struct ClipStyle {
    double frameWeightMm = 0.0; // a frame is drawn when this is above 0
    int32_t frameColour = 0;
    int32_t surface = 0;
    ShadowStyle shadow; // no shadow when all 0
};
ClipStyle NewClipStyle(const currentState_t& state);

// One clip to place: a rectangle by its corners, or a circle by its centre (left, top) and a
// point on its rim (right, bottom), in full-size pixels of the oriented picture.
struct ClipSource {
    int32_t shape = 0; // ClipShape: 0 whole picture, 1 rectangle, 2 round
    Rect source;
};

struct PictureInsertion {
    int32_t insertMode = InsertMode::EntireImage;
    int32_t mirrorX = 1, mirrorY = 1, turn = 0;
    int32_t format = 0;
    std::string fileName;
    std::vector<uint8_t> stream;
    QSize storedSize;  // the picture as stored, for its data record
    QSize pictureSize; // as oriented: width and height swapped for a quarter turn
    std::vector<ClipSource> clips;
    double editorZoom = 1.0;
    ClipStyle style;
};

// What Insert hands over: the whole picture in "Entire image", otherwise every live outline in
// the order of the clip list, a rectangle cut to the picture (one that misses it is left out).
PictureInsertion MakeInsertion(const PictureEditor& editor, const ClipStyle& style);

// A picture id (1 ... 2147483646) that no record of the given designs carries.
int32_t NewPictureId(const std::vector<const ItemList*>& designs, const std::function<int32_t()>& draw);

// Adds the insertion to the design as one undo step: the picture data record of pictureId
// (added only when the design does not hold one with that id yet) and one clip item per clip,
// each with its top-left corner at topLeft (design pixels; framed clips their frame's corner),
// its size the source's at the editor's zoom, above the one before. Clips whose size rounds to
// 0 pixels are left out; with none left nothing is added at all. The new items are selected,
// everything else deselected.
std::vector<ItemRecord*> PlacePictures(ItemList& design, const PictureInsertion& insertion, Point topLeft,
                                       int32_t pictureId, const EditHooks& hooks = {});

// Editing a clip: its picture settings (cut, shape, orientation, scale) become the first clip of
// the insertion, in a new version that keeps its place (the top-left of its box), turn, colours,
// frame and shadow; further clips are added beside it as by PlacePictures; all as one undo step.
// Nothing changes when the first clip has no size at the zoom. Returns the new version, or none.
ItemRecord* EditClipPicture(ItemList& design, ItemRecord* clip, const PictureInsertion& insertion,
                            const EditHooks& hooks = {});

} // namespace vlr
