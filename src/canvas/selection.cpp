// Opening the selection for editing and moving it.
#include "canvas/selection.h"

#include "model/history.h"
#include "render/textdraw.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace vlr {

EditCanvas::~EditCanvas() = default;

namespace {

// Visible ordinary items: the ones drawn and edited.
bool Visible(const ItemRecord* record) {
    return IsLiveItem(record) && record->suspended == 0 && IsDesignItemKind(record->kind);
}

int32_t Moved(int32_t value, int32_t delta) {
    return SaturatingAdd(value, delta);
}

} // namespace

Rect SelectionArea(const ItemList& list, const EditCanvas& canvas, const EditMetrics& metrics) {
    bool any = false, shadow = false;
    int64_t left = 0, top = 0, right = 0, bottom = 0;
    const double z = canvas.zoom();
    const int32_t halfMarker = std::max(metrics.markerWidth, metrics.markerHeight) / 2;
    for (const ItemRecord* item : list) {
        shadow = shadow || (Visible(item) && item->shadowElevation != 0);
        if (!IsSelected(item)) {
            continue;
        }
        int32_t reach = halfMarker;
        if (item->kind == ItemKind::Text) {
            reach = std::max(reach, canvas.AverageCharWidth(*item));
        } else if (HasOutlinePen(item->kind) || item->kind == ItemKind::Clip) {
            reach = std::max(reach, PenWidthPixels(z, item->lineWeight, metrics.screen));
        }
        if (item->kind == ItemKind::Clip && item->hasFrame) {
            reach = SaturatingAdd(reach, PenWidthPixels(z, item->lineWeight, metrics.screen));
        }
        const Point a = canvas.CanvasFromDesign({item->boundLeft, item->boundTop});
        const Point b = canvas.CanvasFromDesign({item->boundRight, item->boundBottom});
        const int64_t itemLeft = static_cast<int64_t>(std::min(a.x, b.x)) - reach;
        const int64_t itemTop = static_cast<int64_t>(std::min(a.y, b.y)) - reach;
        const int64_t itemRight = static_cast<int64_t>(std::max(a.x, b.x)) + reach + 1;
        const int64_t itemBottom = static_cast<int64_t>(std::max(a.y, b.y)) + reach + 1;
        left = any ? std::min(left, itemLeft) : itemLeft;
        top = any ? std::min(top, itemTop) : itemTop;
        right = any ? std::max(right, itemRight) : itemRight;
        bottom = any ? std::max(bottom, itemBottom) : itemBottom;
        any = true;
    }
    if (!any) {
        return {};
    }
    if (shadow) {
        return canvas.WholeCanvas();
    }
    return {SaturateInt32(left), SaturateInt32(top), SaturateInt32(right), SaturateInt32(bottom)};
}

int32_t BeginEdit(ItemList& list, EditCanvas& canvas, const EditMetrics& metrics, const EditHooks& hooks,
                  bool drawCopies) {
    PurgeRedo(list);
    if (hooks.refreshUndoCommands) {
        hooks.refreshUndoCommands();
    }
    canvas.EraseMarkers();
    const Rect area = SelectionArea(list, canvas, metrics);
    if (area.right > area.left && area.bottom > area.top) {
        canvas.RepaintUnderSelection(area);
    }
    const int32_t step = MakeNewVersions(list, hooks);
    if (drawCopies) {
        for (ItemRecord* item : list) {
            if (IsSelected(item)) {
                canvas.DrawQuick(item);
            }
        }
    }
    return step;
}

void MoveSelection(ItemList& list, int32_t dx, int32_t dy) {
    for (ItemRecord* item : list) {
        if (!IsSelected(item)) {
            continue;
        }
        item->x1 = Moved(item->baseX1, dx);
        item->y1 = Moved(item->baseY1, dy);
        item->x2 = Moved(item->baseX2, dx);
        item->y2 = Moved(item->baseY2, dy);
        MoveFromSaved(item->pointList, dx, dy);
    }
}

void FinishEdit(ItemList& list, const EditMetrics& metrics) {
    for (ItemRecord* item : list) {
        if (!IsSelected(item)) {
            continue;
        }
        if (IsShapeKind(item->kind)) {
            ShapeBounds(item, metrics.screen, metrics.markerWidth, metrics.markerHeight);
        } else {
            SetWorldFromPixels(item, metrics.screen);
            DeriveBounds(item);
        }
    }
}

int32_t TextCharWidth(RasterCanvas& raster, const ItemRecord& text, double zoom) {
    if (raster.isNull()) {
        return 0;
    }
    const FontSpec before = raster.font();
    raster.setFont(TextFont(text, zoom, text.textColor));
    const int32_t width = raster.GetTextMetrics().averageCharWidth;
    raster.setFont(before);
    return width;
}

std::vector<int32_t> SelectedSerials(const ItemList& list) {
    std::vector<int32_t> serials;
    for (const ItemRecord* item : list) {
        if (IsSelected(item)) {
            serials.push_back(item->serial);
        }
    }
    return serials;
}

void RestoreSelection(ItemList& list, const std::vector<int32_t>& serials) {
    std::unordered_set<int32_t> wanted(serials.begin(), serials.end());
    // A version stands in for the record it replaced, and for what that one stood in for.
    std::unordered_map<int32_t, ItemRecord*> versionOf;
    for (ItemRecord* item : list) {
        if (item->recordClass == RecordClass::Item && item->replaces != 0 &&
            item->kind != ItemKind::Deletion && item->kind != ItemKind::Gridlines) {
            versionOf[item->replaces] = item;
        }
    }
    SelectOnly(list, nullptr);
    for (ItemRecord* item : list) {
        if (!wanted.count(item->serial)) {
            continue;
        }
        ItemRecord* current = item;
        for (int guard = 0; current->deleted && guard < 64; ++guard) {
            auto found = versionOf.find(current->serial);
            if (found == versionOf.end()) {
                break;
            }
            current = found->second;
        }
        if (IsLiveItem(current) && current->suspended == 0) {
            current->selected = 255;
        }
    }
}

} // namespace vlr
