// Placing inserted pictures and clips in a design.
#include "pictures/placepictures.h"

#include "model/geometry.h"
#include "model/history.h"
#include "model/numeric.h"
#include "pictures/clipoutline.h"

#include <QString>

#include <algorithm>
#include <optional>
#include <unordered_set>

namespace vlr {

namespace {

inline constexpr int32_t kLargestPictureId = 2147483646;

// Where a clip lies on the design: point 1 and point 2 as the clip item stores them.
struct Placement {
    Point first, second;
};

// A rectangle's corners or a circle's centre and rim point at the zoom, with the top-left of the
// box at topLeft; none when the size rounds to 0 pixels.
std::optional<Placement> PlacementOf(const ClipSource& clip, double zoom, Point topLeft) {
    const Rect& source = clip.source;
    if (clip.shape == ClipShape::Round) {
        const int32_t sourceRadius =
            nearest(PointDistance({source.left, source.top}, {source.right, source.bottom}));
        const int32_t radius = nearest(sourceRadius * zoom);
        if (radius < 1) {
            return std::nullopt;
        }
        const Point centre{SaturatingAdd(topLeft.x, radius), SaturatingAdd(topLeft.y, radius)};
        return Placement{centre, {SaturatingAdd(centre.x, radius), centre.y}};
    }
    const int32_t width = nearest(std::abs(int64_t{source.right} - source.left) * zoom);
    const int32_t height = nearest(std::abs(int64_t{source.bottom} - source.top) * zoom);
    if (width < 1 || height < 1) {
        return std::nullopt;
    }
    return Placement{topLeft, {SaturatingAdd(topLeft.x, width), SaturatingAdd(topLeft.y, height)}};
}

// The cut, shape, orientation and scale of a clip and where it lies.
void SetPictureSettings(ItemRecord& item, const ClipSource& clip, const PictureInsertion& insertion,
                        const Placement& placement, const ScreenResolution& screen) {
    item.clipShape = clip.shape;
    item.srcLeft = clip.source.left;
    item.srcTop = clip.source.top;
    item.srcRight = clip.source.right;
    item.srcBottom = clip.source.bottom;
    item.x1 = placement.first.x;
    item.y1 = placement.first.y;
    item.x2 = placement.second.x;
    item.y2 = placement.second.y;
    DeriveBounds(&item);
    SetWorldFromPixels(&item, screen);
    item.mirrorX = insertion.mirrorX;
    item.mirrorY = insertion.mirrorY;
    item.turnAngle = insertion.turn;
    item.scaleX = insertion.editorZoom;
    item.scaleY = insertion.editorZoom;
    item.pictureScale = insertion.editorZoom;
    item.pictureSpanX = nearest(insertion.pictureSize.width() * insertion.editorZoom);
    item.pictureSpanY = nearest(insertion.pictureSize.height() * insertion.editorZoom);
}

void SetStyle(ItemRecord& item, const ClipStyle& style) {
    item.hasFrame = style.frameWeightMm > 0.0 ? 1 : 0;
    item.lineWeight = std::max(style.frameWeightMm, 0.0);
    item.color = style.frameColour;
    item.surface = static_cast<uint8_t>(std::clamp(style.surface, 0, 255));
    item.shadowElevation = style.shadow.elevation;
    item.shadowFade = style.shadow.fade;
    item.shadowLightness = style.shadow.lightness;
}

void AddPictureData(ItemList& design, const PictureInsertion& insertion, int32_t pictureId) {
    ItemRecord* data = CreateRecord(design, ItemKind::PictureData);
    data->recordClass = RecordClass::PictureData;
    data->historyState = 0;
    data->pictureId = pictureId;
    data->pictureStream = insertion.stream;
    SetText(data, QString::fromStdString(insertion.fileName).toStdU16String());
    const int32_t width = insertion.storedSize.width(), height = insertion.storedSize.height();
    data->x2 = data->boundRight = data->spanX = width;
    data->y2 = data->boundBottom = data->spanY = height;
    data->clipShape = insertion.format; // the format code's place in picture data
    data->scale = insertion.editorZoom;
}

// The clips from first on, each a new item of the step above the one before, selected.
std::vector<ItemRecord*> AddClips(ItemList& design, const PictureInsertion& insertion, size_t first,
                                  Point topLeft, int32_t pictureId, int32_t step) {
    std::vector<ItemRecord*> added;
    NumberSequence serials = SerialSequence(design);
    NumberSequence stacking = StackingSequence(design);
    for (size_t index = first; index < insertion.clips.size(); ++index) {
        const ClipSource& clip = insertion.clips[index];
        std::optional<Placement> placement = PlacementOf(clip, insertion.editorZoom, topLeft);
        if (!placement) {
            continue;
        }
        ItemRecord* item = CreateRecord(design, ItemKind::Clip, serials);
        item->undoStep = step;
        item->zOrder = stacking.Take(design);
        item->pictureId = pictureId;
        SetPictureSettings(*item, clip, insertion, *placement, design.screen);
        SetStyle(*item, insertion.style);
        item->selected = 255;
        added.push_back(item);
    }
    return added;
}

void Notify(const std::function<void()>& hook) {
    if (hook) {
        hook();
    }
}

} // namespace

ClipStyle NewClipStyle(const currentState_t& state) {
    ClipStyle style;
    if (state.clframe != 0) {
        style.frameWeightMm = std::max(state.frwidth, 0.0);
    }
    style.frameColour = state.frcolor;
    style.surface = state.frplas;
    if (state.clshadw != 0) {
        style.shadow = state.shpict;
    }
    return style;
}

PictureInsertion MakeInsertion(const PictureEditor& editor, const ClipStyle& style) {
    PictureInsertion insertion;
    insertion.insertMode = editor.insertMode;
    insertion.mirrorX = editor.mirrorX;
    insertion.mirrorY = editor.mirrorY;
    insertion.turn = editor.turn;
    insertion.format = editor.format;
    insertion.fileName = editor.fileName;
    insertion.stream = editor.stream;
    insertion.storedSize = editor.fullSize;
    insertion.pictureSize = OrientedSize(editor);
    insertion.editorZoom = editor.editorZoom;
    insertion.style = style;
    const QSize size = insertion.pictureSize;
    if (editor.insertMode == InsertMode::EntireImage) {
        insertion.clips.push_back({ClipShape::WholePicture, {0, 0, size.width(), size.height()}});
        return insertion;
    }
    for (const ItemRecord* outline : LiveOutlines(editor.clips)) {
        if (outline->kind == ItemKind::RoundClipOutline) {
            insertion.clips.push_back(
                {ClipShape::Round, {outline->x1, outline->y1, outline->x2, outline->y2}});
            continue;
        }
        // A turn may have left part of an outline off the picture; the clip takes what is on it.
        const Rect cut{std::max<int32_t>(outline->boundLeft, 0), std::max<int32_t>(outline->boundTop, 0),
                       std::min<int32_t>(outline->boundRight, size.width()),
                       std::min<int32_t>(outline->boundBottom, size.height())};
        if (cut.right > cut.left && cut.bottom > cut.top) {
            insertion.clips.push_back({ClipShape::Rectangle, cut});
        }
    }
    return insertion;
}

int32_t NewPictureId(const std::vector<const ItemList*>& designs, const std::function<int32_t()>& draw) {
    std::unordered_set<int32_t> taken;
    for (const ItemList* design : designs) {
        for (const ItemRecord* record : *design) {
            taken.insert(record->pictureId);
        }
    }
    while (true) {
        const int32_t id = draw();
        if (id >= 1 && id <= kLargestPictureId && taken.count(id) == 0) {
            return id;
        }
    }
}

std::vector<ItemRecord*> PlacePictures(ItemList& design, const PictureInsertion& insertion, Point topLeft,
                                       int32_t pictureId, const EditHooks& hooks) {
    const bool anyPlaced =
        std::any_of(insertion.clips.begin(), insertion.clips.end(), [&](const ClipSource& clip) {
            return PlacementOf(clip, insertion.editorZoom, topLeft).has_value();
        });
    if (!anyPlaced) {
        return {};
    }
    const int32_t step = StartUndoStep(design, hooks);
    SelectOnly(design, nullptr);
    if (!FindPictureData(design, pictureId)) {
        AddPictureData(design, insertion, pictureId);
    }
    // A frame is drawn around the picture: it too is to lie on the page.
    const int32_t frame = insertion.style.frameWeightMm > 0.0
                              ? PenWidthPixels(1.0, insertion.style.frameWeightMm, design.screen)
                              : 0;
    const Point corner{SaturatingAdd(topLeft.x, frame), SaturatingAdd(topLeft.y, frame)};
    std::vector<ItemRecord*> added = AddClips(design, insertion, 0, corner, pictureId, step);
    SetModified(design, true);
    Notify(hooks.refreshUndoCommands);
    Notify(hooks.redraw);
    return added;
}

ItemRecord* EditClipPicture(ItemList& design, ItemRecord* clip, const PictureInsertion& insertion,
                            const EditHooks& hooks) {
    if (!clip || clip->kind != ItemKind::Clip || insertion.clips.empty()) {
        return nullptr;
    }
    const Point topLeft{clip->boundLeft, clip->boundTop};
    std::optional<Placement> placement = PlacementOf(insertion.clips.front(), insertion.editorZoom, topLeft);
    if (!placement) {
        return nullptr;
    }
    const int32_t step = StartUndoStep(design, hooks);
    SelectOnly(design, nullptr);
    ItemRecord* version = MakeNewVersion(design, clip, step);
    SetPictureSettings(*version, insertion.clips.front(), insertion, *placement, design.screen);
    // The derived bitmaps were made from the old cut.
    ClearChildList(version);
    version->selected = 255;
    AddClips(design, insertion, 1, topLeft, clip->pictureId, step);
    SetModified(design, true);
    Notify(hooks.refreshUndoCommands);
    Notify(hooks.redraw);
    return version;
}

} // namespace vlr
