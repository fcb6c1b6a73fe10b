// The pointer in select mode.
#include "canvas/selecttool.h"

#include "model/history.h"
#include "model/itemlist.h"

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

constexpr int32_t kAreaSelection = 8;
// How far a preset angle's guide reaches past the line's ends, canvas pixels.
constexpr int32_t kGuideOverhang = 40;

Rect Normalised(Point a, Point b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

Rect Union(const Rect& a, const Rect& b) {
    if (a.right <= a.left || a.bottom <= a.top) {
        return b;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// ---- the pictures a drag shows besides the items ----

struct Guide {
    std::vector<Point> points; // canvas pixels
    PenStyle style = PenStyle::Dotted;
};

// A text shows its frame, an arc or pie dotted lines from its centre to its ends, a curve dotted
// lines between its points, and a line or text with a preset angle a dotted guide along it.
std::vector<Guide> DragGuides(const ItemList& list, const SelectWindow& window) {
    std::vector<Guide> guides;
    const ViewTransform view = window.transform();
    auto canvas = [&view](Point design) { return ToDevice(design, view); };
    for (const ItemRecord* item : list) {
        if (!IsSelected(item)) {
            continue;
        }
        const std::vector<PointNode>& p = item->pointList;
        if (item->kind == ItemKind::Text) {
            const std::array<Point, 4> box = TextBox(*item, window.TextLineHeight(*item));
            guides.push_back(
                {{canvas(box[0]), canvas(box[1]), canvas(box[2]), canvas(box[3]), canvas(box[0])},
                 PenStyle::Solid});
        }
        if ((item->kind == ItemKind::Pie || item->kind == ItemKind::Arc) && p.size() >= 3) {
            guides.push_back({{canvas(NodePoint(p[1])), canvas(NodePoint(p[0])), canvas(NodePoint(p[2]))}});
        }
        if (item->kind == ItemKind::Curve && p.size() >= 2) {
            Guide chords;
            for (const PointNode& node : p) {
                chords.points.push_back(canvas(NodePoint(node)));
            }
            guides.push_back(std::move(chords));
        }
        if (HasPresetAngle(*item) && (item->x1 != item->x2 || item->y1 != item->y2)) {
            const Point a = canvas({item->x1, item->y1}), b = canvas({item->x2, item->y2});
            const double direction = PointDirection(a, b);
            guides.push_back(
                {{PolarPoint(a, direction + kPi, kGuideOverhang), PolarPoint(b, direction, kGuideOverhang)}});
        }
    }
    return guides;
}

Rect GuideArea(const std::vector<Guide>& guides) {
    Rect area;
    for (const Guide& guide : guides) {
        for (Point p : guide.points) {
            area = Union(area, {p.x - 1, p.y - 1, p.x + 2, p.y + 2});
        }
    }
    return area;
}

// The selection drawn where the drag has put it, over the background it was lifted from.
void Preview(ItemList& list, SelectWindow& window) {
    RasterCanvas& raster = window.raster();
    SaveUnder& under = window.selectionUnder();
    RestoreArea(under, raster);
    const std::vector<Guide> guides = DragGuides(list, window);
    SaveArea(under, raster, Union(SelectionArea(list, window, window.editMetrics()), GuideArea(guides)));
    for (ItemRecord* item : list) {
        if (IsSelected(item)) {
            window.DrawQuick(item);
        }
    }
    const MarkerStyle style = window.markerStyle();
    for (const Guide& guide : guides) {
        raster.setPen({style.guideColour, 1, guide.style});
        raster.Polyline(guide.points);
    }
    window.CanvasChanged();
}

// Items of different kinds (group markers aside), or open splines or curves with closed ones.
bool MixedSelection(const ItemList& list) {
    const bool items = std::any_of(
        list.begin(), list.end(), [](const ItemRecord* item) { return IsSelected(item) && !IsMarker(item); });
    return items && !SameKindSelection(list);
}

void RedrawMarkers(ItemList& list, SelectWindow& window) {
    EraseAllMarkers(window.raster(), list);
    DrawAllMarkers(window.raster(), list, window.transform(), window.markerStyle());
    window.CanvasChanged();
}

void ShowPanelFor(ItemList& list, SelectWindow& window, const ItemRecord* clicked) {
    if (const int panel = PanelForSelection(list, clicked); panel != 0) {
        window.ShowPanel(panel);
    }
}

// ---- clicking ----

void ClickSelect(CanvasInput& input, ItemList& list, SelectWindow& window, Point canvas, bool shift) {
    ItemRecord* winner = PickItem(list, window.DesignFromCanvas(canvas), WindowHitMeasure(window));
    EraseAllMarkers(window.raster(), list);
    input.clickDeselected = false;
    if (!shift) {
        SelectOnly(list, winner);
    } else if (winner) {
        winner->selected = IsSelected(winner) ? 0 : 255;
        input.clickDeselected = !IsSelected(winner);
    }
    if (winner) {
        // Clicking a member takes or leaves its whole group.
        SelectGroupOf(list, winner, IsSelected(winner));
    }
    RedrawMarkers(list, window);
    ShowPanelFor(list, window, winner);
}

// ---- area selection ----

void UpdateArea(CanvasInput& input, ItemList& list, SelectWindow& window, Point canvas) {
    RasterCanvas& raster = window.raster();
    RestoreArea(input.bandUnder, raster);
    const Rect band = Normalised(input.pointA, canvas);
    const Point topLeft = window.DesignFromCanvas({band.left, band.top});
    const Point bottomRight = window.DesignFromCanvas({band.right, band.bottom});
    const Rect area{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    const HitMeasure measure = WindowHitMeasure(window);
    std::vector<std::pair<ItemRecord*, bool>> changes;
    for (ItemRecord* item : list) {
        if (!IsPickable(item) && !(IsLiveItem(item) && IsMarker(item))) {
            continue;
        }
        const bool takes = AreaTakes(*item, area, input.partialArea, measure);
        if (takes != IsSelected(item)) {
            changes.emplace_back(item, takes);
        }
    }
    if (!changes.empty()) {
        // Markers come off newest first and go on again, so overlapping ones leave nothing.
        EraseAllMarkers(raster, list);
        for (auto [item, takes] : changes) {
            item->selected = takes ? 255 : 0;
        }
        DrawAllMarkers(raster, list, window.transform(), window.markerStyle());
    }
    SaveArea(input.bandUnder, raster, {band.left - 1, band.top - 1, band.right + 2, band.bottom + 2});
    raster.setPen({window.markerStyle().bandColour, 1, PenStyle::Dotted});
    const Point corners[] = {{band.left, band.top},
                             {band.right, band.top},
                             {band.right, band.bottom},
                             {band.left, band.bottom},
                             {band.left, band.top}};
    raster.Polyline(corners);
    window.CanvasChanged();
}

void EndArea(CanvasInput& input, ItemList& list, SelectWindow& window, Point canvas) {
    RestoreArea(input.bandUnder, window.raster());
    window.CanvasChanged();
    input.copyArea = Normalised(input.pointA, canvas);
    input.toolMode = 0;
    input.clickCount = 0;
    ShowPanelFor(list, window, nullptr);
}

// ---- dragging ----

void OpenDragEdit(CanvasInput& input, ItemList& list, SelectWindow& window) {
    input.wasModified = IsModified(list);
    input.editStep = window.BeginEdit(true);
    PrepareGroupBase(list);
    input.editOpen = true;
}

void DragStep(CanvasInput& input, ItemList& list, SelectWindow& window, Point canvas) {
    if (!input.editOpen) {
        if (canvas == input.pressPoint) {
            return;
        }
        OpenDragEdit(input, list, window);
    }
    ApplyDrag(list, input.drag, window.DesignFromCanvas(canvas), window.snapFrame(), window.editMetrics());
    Preview(list, window);
}

void EndDrag(CanvasInput& input, ItemList& list, SelectWindow& window, Point canvas) {
    const bool placing = input.toolMode == DragMode::Placing;
    input.toolMode = 0;
    input.clickCount = 0;
    if (!input.editOpen) {
        // A press on a marker and a release without moving: nothing was opened, nothing changes.
        return;
    }
    input.editOpen = false;
    ApplyDrag(list, input.drag, window.DesignFromCanvas(canvas), window.snapFrame(), window.editMetrics());
    FinishEdit(list, window.editMetrics());
    if (!placing && EditChangedNothing(list)) {
        CancelEdit(list, input.editStep, input.wasModified);
    }
    window.selectionUnder().holding = false;
    window.RecordsChanged();
    window.RedrawAll(true);
}

} // namespace

int PanelForSelection(const ItemList& list, const ItemRecord* clicked) {
    const ItemRecord* first = nullptr;
    bool any = false;
    for (const ItemRecord* item : list) {
        if (IsSelected(item)) {
            any = true;
            if (!first && !IsMarker(item)) {
                first = item;
            }
        }
    }
    if (!any) {
        return 20;
    }
    if (!first) {
        return 0;
    }
    if (MixedSelection(list)) {
        return 59;
    }
    const bool fromClick = clicked && IsSelected(clicked) && !IsMarker(clicked);
    const ItemRecord* reference = fromClick ? clicked : first;
    switch (static_cast<int32_t>(reference->kind)) {
    case ItemKind::Text:
        return 301;
    case ItemKind::Line:
        return 99;
    case ItemKind::Triangle:
        return 200;
    case ItemKind::Square:
        return 201;
    case ItemKind::Rectangle:
        return 202;
    case ItemKind::Circle:
        return 203;
    case ItemKind::Ellipse:
        return 204;
    case ItemKind::Polygon:
        return 299;
    case ItemKind::Star:
        return 206;
    case ItemKind::Pie:
        return 207;
    case ItemKind::Arc:
        return 208;
    case ItemKind::Spline:
        return fromClick && reference->shapeMode == 2 ? 210 : 209;
    case ItemKind::Curve:
        return fromClick && reference->shapeMode == 2 ? 212 : 211;
    case ItemKind::Clip:
        return 401;
    default:
        return 0;
    }
}

HitMeasure WindowHitMeasure(const SelectWindow& window) {
    const EditMetrics metrics = window.editMetrics();
    return {metrics.screen, metrics.markerWidth + 2,
            [&window](const ItemRecord& text) { return window.TextLineHeight(text); }};
}

void SelectMouseDown(CanvasInput& input, ItemList& list, SelectWindow& window, Point canvas,
                     Qt::KeyboardModifiers modifiers) {
    input.pressPoint = input.mouseRaw = canvas;
    input.inputBlocked = false;
    if (input.toolMode != 0) {
        return;
    }
    const bool shift = modifiers & Qt::ShiftModifier;
    if (modifiers & Qt::ControlModifier) {
        input.toolMode = kAreaSelection;
        input.bandUnder.holding = false;
        input.partialArea = shift;
        if (!shift) {
            EraseAllMarkers(window.raster(), list);
            SelectOnly(list, nullptr);
            window.CanvasChanged();
        }
        input.pointA = canvas;
        return;
    }
    const MarkerHit hit = MarkerAt(list, canvas, SingleSelected(list));
    if (hit.state == 0) {
        return;
    }
    int32_t code = hit.code;
    // A group's centre moves the group.
    if (IsMarker(hit.item) && code == 3) {
        code = 7;
    }
    // A selection of different kinds can only be moved, whatever marker holds it; a group's
    // turn turns all its members whatever they are.
    if (hit.state != DragMode::GroupTurn && MixedSelection(list)) {
        code = 7;
    }
    input.toolMode = hit.state;
    input.dragCode = code;
    input.pointA = SnapPoint(window.snapFrame(), canvas);
    const Point startRaw = window.DesignFromCanvas(canvas);
    input.drag = {code, hit.grabbed, SnapDesignPoint(window.snapFrame(), startRaw), startRaw};
    input.editOpen = false;
}

std::optional<Rect> AreaBand(const CanvasInput& input, const SelectWindow& window, Point canvas) {
    if (input.toolMode != 8) {
        return std::nullopt;
    }
    return Normalised(window.DesignFromCanvas(input.pointA), window.DesignFromCanvas(canvas));
}

void SelectMouseMove(CanvasInput& input, ItemList& list, SelectWindow& window, Point canvas,
                     Qt::KeyboardModifiers) {
    input.mouseRaw = canvas;
    if (input.inputBlocked) {
        return;
    }
    if (input.toolMode == 0) {
        const MarkerHit hit = MarkerAt(list, canvas, SingleSelected(list));
        window.SetCanvasCursor(hit.state != 0 ? hit.cursor : Qt::ArrowCursor);
    } else if (input.toolMode == kAreaSelection) {
        UpdateArea(input, list, window, canvas);
    } else if (IsDragMode(input.toolMode)) {
        DragStep(input, list, window, canvas);
    }
}

void SelectMouseUp(CanvasInput& input, ItemList& list, SelectWindow& window, Point canvas,
                   Qt::KeyboardModifiers modifiers) {
    input.mouseRaw = canvas;
    if (input.inputBlocked) {
        return;
    }
    if (input.toolMode == 0) {
        ClickSelect(input, list, window, canvas, modifiers & Qt::ShiftModifier);
    } else if (input.toolMode == kAreaSelection) {
        EndArea(input, list, window, canvas);
    } else if (IsDragMode(input.toolMode)) {
        EndDrag(input, list, window, canvas);
    }
}

bool CancelDrag(CanvasInput& input, ItemList& list, SelectWindow& window) {
    const int32_t mode = input.toolMode;
    if (mode == kAreaSelection) {
        RestoreArea(input.bandUnder, window.raster());
        window.CanvasChanged();
    } else if (mode == DragMode::Placing) {
        window.selectionUnder().holding = false;
        DeleteSelection(list);
        window.RecordsChanged();
        window.RedrawAll(false);
    } else if (IsDragMode(mode)) {
        if (input.editOpen) {
            window.selectionUnder().holding = false;
            CancelEdit(list, input.editStep, input.wasModified);
            window.RecordsChanged();
            window.RedrawAll(true);
        }
    } else {
        return false;
    }
    input.toolMode = 0;
    input.clickCount = 0;
    input.editOpen = false;
    input.inputBlocked = true;
    return true;
}

void StartPlacement(CanvasInput& input, ItemList& list, SelectWindow& window) {
    EraseAllMarkers(window.raster(), list);
    const Rect area = SelectionArea(list, window, window.editMetrics());
    if (area.right <= area.left || area.bottom <= area.top) {
        return;
    }
    window.RepaintUnderSelection(area);
    SaveDragBase(list);
    int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
    for (ItemRecord* item : list) {
        if (IsSelected(item)) {
            window.DrawQuick(item);
            left = std::min<int64_t>(left, item->boundLeft);
            top = std::min<int64_t>(top, item->boundTop);
            right = std::max<int64_t>(right, item->boundRight);
            bottom = std::max<int64_t>(bottom, item->boundBottom);
        }
    }
    const Point centre{SaturateInt32((left + right) / 2), SaturateInt32((top + bottom) / 2)};
    window.CanvasChanged();
    input.toolMode = DragMode::Placing;
    input.clickCount = 0;
    input.dragCode = 7;
    input.pointA = window.CanvasFromDesign(centre);
    input.drag = {7, 7, centre, centre};
    input.editOpen = true;
}

DoubleClickTarget DoubleClickAt(ItemList& list, Point design) {
    if (ItemRecord* sole = SoleSelected(list); sole && sole->kind == ItemKind::Text) {
        return {DoubleClickTarget::Kind::Text, sole};
    }
    if (ItemRecord* clip = ClipAtPoint(list, design)) {
        SelectOnly(list, clip);
        return {DoubleClickTarget::Kind::Clip, clip};
    }
    return {};
}

} // namespace vlr
