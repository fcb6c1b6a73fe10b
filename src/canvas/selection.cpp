// Opening the selection for editing and moving it.
#include "canvas/selection.h"

#include "canvas/hittest.h"
#include "model/history.h"
#include "model/outline.h"
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
        // The item's extent in design pixels: its bounds, a text's box with every line, a turned
        // clip's turned corners.
        std::vector<Point> extent = {{item->boundLeft, item->boundTop},
                                     {item->boundRight, item->boundBottom}};
        if (item->kind == ItemKind::Text) {
            for (Point corner : TextBox(*item, canvas.TextLineHeight(*item))) {
                extent.push_back(corner);
            }
        } else if (item->kind == ItemKind::Clip && item->clipShape != ClipShape::Round &&
                   item->rotation != 0.0) {
            const std::array<Point, 5> corners = RotatedRectCorners(item);
            extent.assign(corners.begin(), corners.end());
        }
        int64_t itemLeft = INT64_MAX, itemTop = INT64_MAX, itemRight = INT64_MIN, itemBottom = INT64_MIN;
        for (Point corner : extent) {
            const Point c = canvas.CanvasFromDesign(corner);
            itemLeft = std::min<int64_t>(itemLeft, c.x);
            itemTop = std::min<int64_t>(itemTop, c.y);
            itemRight = std::max<int64_t>(itemRight, c.x);
            itemBottom = std::max<int64_t>(itemBottom, c.y);
        }
        itemLeft -= reach;
        itemTop -= reach;
        itemRight += reach + 1;
        itemBottom += reach + 1;
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

void DeriveEditedGeometry(ItemRecord* item, const EditMetrics& metrics) {
    if (IsShapeKind(item->kind)) {
        ShapeBounds(item, metrics.screen, metrics.markerWidth, metrics.markerHeight);
    } else {
        SetWorldFromPixels(item, metrics.screen);
        DeriveBounds(item);
    }
}

void FinishEdit(ItemList& list, const EditMetrics& metrics) {
    for (ItemRecord* item : list) {
        if (!IsSelected(item)) {
            continue;
        }
        std::vector<PointNode>& points = item->pointList;
        std::vector<PointNode> made;
        const Point centre = PointAt(points, 1), first = PointAt(points, 2), inner = PointAt(points, 3);
        bool remade = false;
        if (item->kind == ItemKind::Polygon && points.size() >= 2) {
            remade = RegularPolygonPoints(made, centre, first, item->vertexCount);
        } else if (item->kind == ItemKind::Star && points.size() >= 3) {
            remade = StarPoints(made, centre, inner, first, item->vertexCount);
        } else if (item->kind == ItemKind::Ellipse) {
            NormalizeEllipse(item);
        }
        if (remade) {
            points = std::move(made);
        }
        DeriveEditedGeometry(item, metrics);
    }
}

namespace {

bool SamePoints(const std::vector<PointNode>& a, const std::vector<PointNode>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const PointNode& p, const PointNode& q) {
        return p.x == q.x && p.y == q.y && p.ctrl1X == q.ctrl1X && p.ctrl1Y == q.ctrl1Y &&
               p.ctrl2X == q.ctrl2X && p.ctrl2Y == q.ctrl2Y;
    });
}

bool SameGeometry(const ItemRecord& a, const ItemRecord& b) {
    if (IsShapeKind(a.kind)) {
        // A shape's box is derived from its points.
        return SamePoints(a.pointList, b.pointList);
    }
    return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 &&
           double(a.rotation) == double(b.rotation) && a.escapement == b.escapement &&
           double(a.direction) == double(b.direction);
}

} // namespace

bool EditChangedNothing(const ItemList& list) {
    std::unordered_map<int32_t, const ItemRecord*> bySerial;
    for (const ItemRecord* item : list) {
        if (IsItemClass(item)) {
            bySerial.emplace(item->serial, item);
        }
    }
    for (const ItemRecord* item : list) {
        if (!IsSelected(item) || item->replaces == 0) {
            continue;
        }
        auto source = bySerial.find(item->replaces);
        if (source == bySerial.end() || !SameGeometry(*item, *source->second)) {
            return false;
        }
    }
    return true;
}

void CancelEdit(ItemList& list, int32_t step, bool wasModified) {
    std::unordered_map<int32_t, ItemRecord*> bySerial;
    std::vector<ItemRecord*> versions;
    for (ItemRecord* item : list) {
        if (!IsItemClass(item)) {
            continue;
        }
        bySerial.emplace(item->serial, item);
        if (item->undoStep == step && item->replaces != 0 && item->historyState == kUndoable) {
            versions.push_back(item);
        }
    }
    for (ItemRecord* version : versions) {
        if (auto source = bySerial.find(version->replaces); source != bySerial.end()) {
            source->second->deleted = 0;
            source->second->selected = version->selected;
        }
        RemoveRecord(list, version);
    }
    SetModified(list, wasModified);
}

Rect PartialRepaintArea(const ItemList& list, const EditCanvas& canvas, const Rect& rect) {
    if (std::any_of(list.begin(), list.end(),
                    [](const ItemRecord* item) { return Visible(item) && item->shadowElevation != 0; })) {
        return canvas.WholeCanvas();
    }
    // Design pixels of the canvas area, grown to every item it touches.
    auto design = [&canvas](Point at) {
        const double z = canvas.zoom();
        const Point origin = canvas.CanvasFromDesign({0, 0});
        return Point{nearest((double(at.x) - origin.x) / z), nearest((double(at.y) - origin.y) / z)};
    };
    const Point topLeft = design({std::min(rect.left, rect.right), std::min(rect.top, rect.bottom)});
    const Point bottomRight = design({std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)});
    Rect area{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    for (const ItemRecord* item : list) {
        if (Visible(item) && item->boundRight >= area.left && item->boundLeft <= area.right &&
            item->boundBottom >= area.top && item->boundTop <= area.bottom) {
            area = {std::min<int32_t>(area.left, item->boundLeft),
                    std::min<int32_t>(area.top, item->boundTop),
                    std::max<int32_t>(area.right, item->boundRight),
                    std::max<int32_t>(area.bottom, item->boundBottom)};
        }
    }
    const Point a = canvas.CanvasFromDesign({area.left, area.top});
    const Point b = canvas.CanvasFromDesign({area.right, area.bottom});
    return {a.x, a.y, SaturatingAdd(b.x, 1), SaturatingAdd(b.y, 1)};
}

Rect PaintedExtent(const ItemRecord& item, const EditCanvas& canvas) {
    const double z = canvas.zoom();
    Point a = canvas.CanvasFromDesign({item.boundLeft, item.boundTop});
    Point b = canvas.CanvasFromDesign({item.boundRight, item.boundBottom});
    if (item.kind == ItemKind::Clip && item.rotation != 0.0 && item.clipShape != ClipShape::Round) {
        for (Point corner : RotatedRectCorners(&item)) {
            const Point c = canvas.CanvasFromDesign(corner);
            a = {std::min(a.x, c.x), std::min(a.y, c.y)};
            b = {std::max(b.x, c.x), std::max(b.y, c.y)};
        }
    }
    // Thick outlines and shadows reach beyond the bounds, a text's lines above its baseline (a
    // line is well under twice its point size high in pixels).
    int64_t reach = std::max<int64_t>(nearest(z * std::max<int32_t>(item.penWidthPx, 1)),
                                      nearest(z * item.shadowElevation * 2)) +
                    2;
    if (item.kind == ItemKind::Text) {
        reach =
            std::max<int64_t>(reach, nearest(z * item.fontSize * 2.0 * (std::max(LineCount(&item), 1) + 1)));
    }
    return {SaturatingAdd(a.x, -reach), SaturatingAdd(a.y, -reach), SaturatingAdd(b.x, reach),
            SaturatingAdd(b.y, reach)};
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

int32_t TextLineHeightOn(RasterCanvas& raster, const ItemRecord& text) {
    if (raster.isNull()) {
        return 0;
    }
    const FontSpec before = raster.font();
    const int32_t height = TextLineHeight(raster, text);
    raster.setFont(before);
    return height;
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
