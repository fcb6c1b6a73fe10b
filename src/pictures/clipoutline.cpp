// The picture editor's clip outlines.
#include "pictures/clipoutline.h"

#include "model/history.h"
#include "model/numeric.h"

#include <algorithm>

namespace vlr {

namespace {

bool IsRound(const ItemRecord& outline) {
    return outline.kind == ItemKind::RoundClipOutline;
}

// The two corners, the bounds, and the drag base a later drag starts from.
void SetRectangle(ItemRecord& outline, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    outline.x1 = left;
    outline.y1 = top;
    outline.x2 = right;
    outline.y2 = bottom;
    DeriveBounds(&outline);
}

void SetCircle(ItemRecord& outline, Point centre, Point rim) {
    outline.x1 = centre.x;
    outline.y1 = centre.y;
    outline.x2 = rim.x;
    outline.y2 = rim.y;
    DeriveBounds(&outline);
    const int32_t radius = OutlineRadius(outline);
    outline.boundLeft = SaturatingAdd(centre.x, -int64_t{radius});
    outline.boundRight = SaturatingAdd(centre.x, radius);
    outline.boundTop = SaturatingAdd(centre.y, -int64_t{radius});
    outline.boundBottom = SaturatingAdd(centre.y, radius);
    outline.spanX = outline.spanY = SaturateInt32(2 * int64_t{radius});
}

void RememberAsBase(ItemRecord& outline) {
    outline.baseX1 = outline.x1;
    outline.baseY1 = outline.y1;
    outline.baseX2 = outline.x2;
    outline.baseY2 = outline.y2;
}

// One side of a rectangle moved, kept on the picture and at least a pixel from the other side.
void Limit(int32_t& low, int32_t& high, int32_t extent) {
    low = std::clamp(low, 0, std::max(extent - 1, 0));
    high = std::clamp(high, low + 1, std::max(extent, low + 1));
}

// A whole rectangle moved by delta without leaving the picture, when it fits on it.
int32_t MovedWithin(int32_t low, int32_t high, int32_t delta, int32_t extent) {
    const int64_t size = int64_t{high} - low;
    int64_t moved = int64_t{low} + delta;
    if (size <= extent) {
        moved = std::clamp<int64_t>(moved, 0, extent - size);
    }
    return SaturateInt32(moved);
}

} // namespace

int32_t ViewFromPicture(int32_t picture, double zoom, int32_t offset) {
    return SaturateInt32(int64_t{nearest(picture * zoom)} - offset);
}

int32_t PictureFromView(int32_t view, double zoom, int32_t offset) {
    return nearest((static_cast<double>(view) + offset) / zoom);
}

Point ViewFromPicture(Point picture, double zoom, Point offset) {
    return {ViewFromPicture(picture.x, zoom, offset.x), ViewFromPicture(picture.y, zoom, offset.y)};
}

Point PictureFromView(Point view, double zoom, Point offset) {
    return {PictureFromView(view.x, zoom, offset.x), PictureFromView(view.y, zoom, offset.y)};
}

int32_t OutlineRadius(const ItemRecord& outline) {
    return nearest(PointDistance({outline.x1, outline.y1}, {outline.x2, outline.y2}));
}

ItemRecord* AddRectangleOutline(ItemList& clips, Point cornerA, Point cornerB, double zoom, QSize bounds,
                                const EditHooks& hooks) {
    const int32_t left = std::max(std::min(cornerA.x, cornerB.x), 0);
    const int32_t top = std::max(std::min(cornerA.y, cornerB.y), 0);
    const int32_t right = std::min(std::max(cornerA.x, cornerB.x), bounds.width());
    const int32_t bottom = std::min(std::max(cornerA.y, cornerB.y), bounds.height());
    if (right <= left || bottom <= top) {
        return nullptr;
    }
    ItemRecord* outline = CreateNewItem(clips, ItemKind::RectClipOutline, hooks);
    outline->scale = zoom;
    SetRectangle(*outline, left, top, right, bottom);
    RememberAsBase(*outline);
    return outline;
}

ItemRecord* AddRoundOutline(ItemList& clips, Point centre, Point rim, double zoom, const EditHooks& hooks) {
    if (nearest(PointDistance(centre, rim)) < 1) {
        return nullptr;
    }
    ItemRecord* outline = CreateNewItem(clips, ItemKind::RoundClipOutline, hooks);
    outline->scale = zoom;
    SetCircle(*outline, centre, rim);
    RememberAsBase(*outline);
    return outline;
}

std::vector<ItemRecord*> LiveOutlines(const ItemList& clips) {
    std::vector<ItemRecord*> live;
    for (ItemRecord* record : clips) {
        if (IsLiveItem(record) && IsClipOutlineKind(record->kind)) {
            live.push_back(record);
        }
    }
    std::stable_sort(live.begin(), live.end(),
                     [](const ItemRecord* a, const ItemRecord* b) { return a->zOrder < b->zOrder; });
    return live;
}

ItemRecord* OutlineAt(const ItemList& clips, Point picture) {
    std::vector<ItemRecord*> live = LiveOutlines(clips);
    for (auto outline = live.rbegin(); outline != live.rend(); ++outline) {
        const ItemRecord& candidate = **outline;
        const bool inside =
            IsRound(candidate)
                ? PointDistance({candidate.x1, candidate.y1}, picture) <= OutlineRadius(candidate)
                : PointInRect(picture, {candidate.boundLeft, candidate.boundTop, candidate.boundRight,
                                        candidate.boundBottom});
        if (inside) {
            return *outline;
        }
    }
    return nullptr;
}

std::vector<OutlineMarker> OutlineMarkers(const ItemRecord& outline) {
    if (IsRound(outline)) {
        const int32_t x = outline.x1, y = outline.y1, r = OutlineRadius(outline);
        return {{kCentreMarker, {x, y}},
                {105, {x, SaturatingAdd(y, r)}},
                {106, {SaturatingAdd(x, r), y}},
                {107, {x, SaturatingAdd(y, -int64_t{r})}},
                {108, {SaturatingAdd(x, -int64_t{r}), y}}};
    }
    const int32_t l = outline.boundLeft, t = outline.boundTop, r = outline.boundRight,
                  b = outline.boundBottom;
    const int32_t cx = SaturateInt32((int64_t{l} + r) / 2), cy = SaturateInt32((int64_t{t} + b) / 2);
    return {{kCentreMarker, {cx, cy}},
            {101, {l, t}},
            {102, {r, t}},
            {103, {r, b}},
            {104, {l, b}},
            {105, {cx, t}},
            {106, {r, cy}},
            {107, {cx, b}},
            {108, {l, cy}}};
}

int32_t MarkerAt(const ItemRecord& outline, Point picture, int32_t halfSize) {
    // Later markers lie on top: corners and sides win over the centre of a small outline.
    int32_t found = 0;
    for (const OutlineMarker& marker : OutlineMarkers(outline)) {
        if (std::abs(int64_t{picture.x} - marker.at.x) <= halfSize &&
            std::abs(int64_t{picture.y} - marker.at.y) <= halfSize) {
            found = marker.code;
        }
    }
    return found;
}

bool BeginOutlineDrag(ItemList& clips, const EditHooks& hooks) {
    if (!FirstSelected(clips)) {
        return false;
    }
    MakeNewVersions(clips, hooks);
    return true;
}

void DragOutline(ItemRecord& outline, int32_t marker, Point delta, QSize bounds) {
    const Point base1{outline.baseX1, outline.baseY1}, base2{outline.baseX2, outline.baseY2};
    auto moved = [&delta](Point point) {
        return Point{SaturatingAdd(point.x, delta.x), SaturatingAdd(point.y, delta.y)};
    };
    if (IsRound(outline)) {
        if (marker == kCentreMarker) {
            SetCircle(outline, moved(base1), moved(base2));
            return;
        }
        // The rim point the drag started on, as the base circle had it.
        const int32_t radius = nearest(PointDistance(base1, base2));
        Point rim = base1;
        if (marker == 105) {
            rim.y = SaturatingAdd(rim.y, radius);
        } else if (marker == 106) {
            rim.x = SaturatingAdd(rim.x, radius);
        } else if (marker == 107) {
            rim.y = SaturatingAdd(rim.y, -int64_t{radius});
        } else {
            rim.x = SaturatingAdd(rim.x, -int64_t{radius});
        }
        const Point target = moved(rim);
        if (nearest(PointDistance(base1, target)) >= 1) {
            SetCircle(outline, base1, target);
        }
        return;
    }
    int32_t left = std::min(base1.x, base2.x), right = std::max(base1.x, base2.x);
    int32_t top = std::min(base1.y, base2.y), bottom = std::max(base1.y, base2.y);
    if (marker == kCentreMarker) {
        const int32_t newLeft = MovedWithin(left, right, delta.x, bounds.width());
        const int32_t newTop = MovedWithin(top, bottom, delta.y, bounds.height());
        SetRectangle(outline, newLeft, newTop, SaturatingAdd(newLeft, int64_t{right} - left),
                     SaturatingAdd(newTop, int64_t{bottom} - top));
        return;
    }
    const bool leftSide = marker == 101 || marker == 104 || marker == 108;
    const bool rightSide = marker == 102 || marker == 103 || marker == 106;
    const bool topSide = marker == 101 || marker == 102 || marker == 105;
    const bool bottomSide = marker == 103 || marker == 104 || marker == 107;
    if (leftSide) {
        left = SaturatingAdd(left, delta.x);
    }
    if (rightSide) {
        right = SaturatingAdd(right, delta.x);
    }
    if (topSide) {
        top = SaturatingAdd(top, delta.y);
    }
    if (bottomSide) {
        bottom = SaturatingAdd(bottom, delta.y);
    }
    // A side dragged past the opposite one turns the rectangle over.
    if (left > right) {
        std::swap(left, right);
    }
    if (top > bottom) {
        std::swap(top, bottom);
    }
    Limit(left, right, bounds.width());
    Limit(top, bottom, bounds.height());
    SetRectangle(outline, left, top, right, bottom);
}

bool EraseSelectedOutline(ItemList& clips, const EditHooks& hooks) {
    return DeleteSelection(clips, hooks);
}

} // namespace vlr
