// The design's grid: gridlines, grid edits, snapping and the gridlines on the canvas.
#include "canvas/grid.h"

#include "model/history.h"
#include "render/rastercanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vlr {

namespace {

constexpr int32_t kGridlineColour = 0xFFCCAA; // red 170, green 204, blue 255
// Soft snapping reaches this share of the horizontal gridline spacing.
constexpr double kSoftSnapShare = 0.07;
// An item stands on a gridline this close to it, in design pixels, inclusive.
constexpr int32_t kOnGridlineReach = 2;

double Zoom(const ItemRecord* header) {
    double z = header->zoom;
    return std::isfinite(z) && z > 0.0 ? z : 1.0;
}

bool SnapOn(const ItemRecord* header, GridAxis axis) {
    return axis == GridAxis::X ? header->snapX != 0 : header->snapY != 0;
}

// The page's extent in units and its scale on an axis.
double PageExtent(const ItemRecord* header, GridAxis axis) {
    return axis == GridAxis::X ? header->canvasWidth : header->canvasHeight;
}
double PageScale(const ItemRecord* header, GridAxis axis) {
    return axis == GridAxis::X ? header->pxPerUnitX : header->pxPerUnitY;
}
double Density(const ItemRecord* header, GridAxis axis) {
    return axis == GridAxis::X ? header->gridDensityX : header->gridDensityY;
}
int32_t PageStart(const ItemRecord* header, GridAxis axis) {
    return axis == GridAxis::X ? PageLeft(header) : PageTop(header);
}

int32_t Coordinate(Point point, GridAxis axis) {
    return axis == GridAxis::X ? point.x : point.y;
}

bool Near(int64_t value, int32_t position) {
    return std::llabs(value - position) <= kOnGridlineReach;
}

} // namespace

ItemRecord* LiveGridlines(const ItemList& list) {
    return FindLiveRecord(list, ItemKind::Gridlines);
}

std::vector<GridNode>& GridNodes(ItemRecord* grid, GridAxis axis) {
    return axis == GridAxis::X ? grid->gridX : grid->gridY;
}

const std::vector<GridNode>& GridNodes(const ItemRecord* grid, GridAxis axis) {
    return axis == GridAxis::X ? grid->gridX : grid->gridY;
}

int32_t PageLeft(const ItemRecord* header) {
    return nearest(header->boundLeft / Zoom(header));
}

int32_t PageTop(const ItemRecord* header) {
    return nearest(header->boundTop / Zoom(header));
}

int32_t GridStep(double density, double pixelsPerUnit) {
    if (!std::isfinite(density) || !(density > 0.0) || !std::isfinite(pixelsPerUnit)) {
        return 0;
    }
    return std::max(0, nearest(density * pixelsPerUnit));
}

std::vector<GridNode> SpacedGridlines(int64_t start, double density, double pixelsPerUnit, double extent,
                                      int first) {
    std::vector<GridNode> nodes;
    const int32_t step = GridStep(density, pixelsPerUnit);
    if (step < 1 || !std::isfinite(extent) || extent < 0.0) {
        return nodes;
    }
    // A density that rounds up to a whole pixel must not give more gridlines than the page has
    // pixels (a crafted file would otherwise ask for millions); one step past the page's end is
    // what rounding a step up gives any ordinary density, and it is kept.
    const double extentPixels = std::fabs(extent * pixelsPerUnit);
    const double count = std::min({std::trunc(extent / density), std::floor(extentPixels / step) + 1.0,
                                   static_cast<double>(kMostGridlines)});
    for (int64_t k = first; k <= static_cast<int64_t>(count); ++k) {
        nodes.push_back({SaturateInt32(start + k * step), 0, 0});
    }
    return nodes;
}

void FillDefaultGridlines(ItemRecord* grid, const ItemRecord* header) {
    grid->gridX = SpacedGridlines(nearest(header->canvasLeft * header->pxPerUnitX), header->gridDensityX,
                                  header->pxPerUnitX, header->canvasWidth, 0);
    grid->gridY = SpacedGridlines(nearest(header->canvasTop * header->pxPerUnitY), header->gridDensityY,
                                  header->pxPerUnitY, header->canvasHeight, 0);
}

void AddGridlinesForGrownPage(ItemRecord* grid, const ItemRecord* header, GridAxis axis) {
    std::vector<GridNode>& nodes = GridNodes(grid, axis);
    const int32_t step = GridStep(Density(header, axis), PageScale(header, axis));
    if (step < 1) {
        return;
    }
    const int64_t start = PageStart(header, axis);
    const int64_t end =
        nearest((axis == GridAxis::X ? header->boundRight : header->boundBottom) / Zoom(header));
    int64_t largest = std::numeric_limits<int64_t>::min();
    int64_t live = 0;
    for (const GridNode& node : nodes) {
        if (!node.removed) {
            largest = std::max<int64_t>(largest, node.position);
            ++live;
        }
    }
    // The first step past the largest gridline, without walking the steps before it.
    int64_t k =
        largest == std::numeric_limits<int64_t>::min() ? 1 : std::max<int64_t>(1, (largest - start) / step);
    for (; start + k * step < end && live < kMostGridlines; ++k) {
        if (start + k * step > largest) {
            nodes.push_back({SaturateInt32(start + k * step), 0, 0});
            ++live;
        }
    }
}

void ShiftGrid(ItemRecord* grid, GridAxis axis, int32_t delta) {
    std::vector<GridNode>& nodes = GridNodes(grid, axis);
    int64_t smallest = 0;
    for (const GridNode& node : nodes) {
        if (!node.removed) {
            smallest = std::min<int64_t>(smallest, static_cast<int64_t>(node.position) + delta);
        }
    }
    for (GridNode& node : nodes) {
        node.position = SaturateInt32(static_cast<int64_t>(node.position) + delta - smallest);
    }
}

bool SetGridFlags(ItemRecord* header, GridFlag flag, int type) {
    if (!header) {
        return false;
    }
    const uint8_t x = (type & 1) ? 1 : 0, y = (type & 2) ? 1 : 0;
    switch (flag) {
    case GridFlag::Shown:
        header->showGridX = x;
        header->showGridY = y;
        break;
    case GridFlag::Anchors:
        header->anchorsX = x;
        header->anchorsY = y;
        break;
    case GridFlag::Snap:
        header->snapX = x;
        header->snapY = y;
        break;
    }
    return true;
}

bool GridEditable(const ItemRecord* header, GridAxis axis) {
    if (!header) {
        return false;
    }
    return axis == GridAxis::X ? header->showGridX && header->anchorsX
                               : header->showGridY && header->anchorsY;
}

bool EditGrid(ItemList& list, GridAxis axis, GridAction action, int32_t position, const EditHooks& hooks) {
    const ItemRecord* header = FindRecord(list, ItemKind::Header);
    ItemRecord* current = LiveGridlines(list);
    if (!header || !current || (action != GridAction::Equalize && !GridEditable(header, axis))) {
        return false;
    }
    // The edited lists are worked out first, so that an edit that changes nothing leaves no undo
    // step behind (and no purged redo history).
    std::vector<GridNode> x = current->gridX, y = current->gridY;
    std::vector<GridNode>& own = axis == GridAxis::X ? x : y;
    bool changed = false;
    switch (action) {
    case GridAction::Move:
        for (GridNode& node : own) {
            if (node.highlighted && node.position != position) {
                node.position = position;
                changed = true;
            }
        }
        break;
    case GridAction::Remove:
        for (std::vector<GridNode>* nodes : {&x, &y}) {
            for (GridNode& node : *nodes) {
                if (node.highlighted) {
                    node.removed = 1;
                    node.highlighted = 0;
                    changed = true;
                }
            }
        }
        break;
    case GridAction::Add:
        own.push_back({position, 0, 0});
        changed = true;
        break;
    case GridAction::Equalize: {
        std::vector<GridNode> spaced = SpacedGridlines(PageStart(header, axis), Density(header, axis),
                                                       PageScale(header, axis), PageExtent(header, axis), 1);
        changed = spaced != own;
        own = std::move(spaced);
        break;
    }
    }
    if (!changed) {
        return false;
    }
    ItemRecord* version = EditGridlines(list, hooks);
    if (!version) {
        return false;
    }
    version->gridX = std::move(x);
    version->gridY = std::move(y);
    return true;
}

bool RemoveHighlightedGridlines(ItemList& list, const EditHooks& hooks) {
    return EditGrid(list, GridAxis::X, GridAction::Remove, 0, hooks) ||
           EditGrid(list, GridAxis::Y, GridAction::Remove, 0, hooks);
}

void RespaceGridlines(ItemList& list, const EditHooks& hooks) {
    const ItemRecord* header = FindRecord(list, ItemKind::Header);
    const ItemRecord* current = LiveGridlines(list);
    if (!header || !current) {
        return;
    }
    auto respaced = [header](const std::vector<GridNode>& nodes, GridAxis axis) {
        if (GridStep(Density(header, axis), PageScale(header, axis)) < 1) {
            return nodes;
        }
        return SpacedGridlines(PageStart(header, axis), Density(header, axis), PageScale(header, axis),
                               PageExtent(header, axis), 1);
    };
    std::vector<GridNode> x = respaced(current->gridX, GridAxis::X);
    std::vector<GridNode> y = respaced(current->gridY, GridAxis::Y);
    if (x == current->gridX && y == current->gridY) {
        return;
    }
    if (ItemRecord* version = EditGridlines(list, hooks)) {
        version->gridX = std::move(x);
        version->gridY = std::move(y);
    }
}

bool EqualizeGridAxes(ItemList& list, int axes, const EditHooks& hooks) {
    const bool x = (axes & 2) && EditGrid(list, GridAxis::X, GridAction::Equalize, 0, hooks);
    const bool y = (axes & 4) && EditGrid(list, GridAxis::Y, GridAction::Equalize, 0, hooks);
    return x || y;
}

// ---- snapping ----

std::optional<int32_t> NearestGridline(const std::vector<GridNode>& nodes, int64_t position) {
    std::optional<int32_t> best;
    int64_t bestDistance = 0;
    for (const GridNode& node : nodes) {
        if (node.removed) {
            continue;
        }
        int64_t distance = std::llabs(static_cast<int64_t>(node.position) - position);
        if (!best || distance < bestDistance) {
            best = node.position;
            bestDistance = distance;
        }
    }
    return best;
}

Point SnapPoint(const SnapFrame& frame, Point canvas) {
    if (!frame.header) {
        return canvas;
    }
    const ItemRecord* header = frame.header;
    const double z = Zoom(header);
    const int64_t a = nearest((static_cast<double>(canvas.x) + frame.tileOffset.x) / z);
    const int64_t b = nearest((static_cast<double>(canvas.y) + frame.tileOffset.y) / z);
    int64_t x = static_cast<int64_t>(nearest(z * a)) - frame.tileOffset.x;
    int64_t y = static_cast<int64_t>(nearest(z * b)) - frame.tileOffset.y;
    if (frame.grid && header->snapX) {
        if (auto p = NearestGridline(frame.grid->gridX, a + PageLeft(header))) {
            x = static_cast<int64_t>(nearest(z * *p)) - frame.tileOffset.x - header->boundLeft;
        }
    }
    if (frame.grid && header->snapY) {
        if (auto p = NearestGridline(frame.grid->gridY, b + PageTop(header))) {
            y = static_cast<int64_t>(nearest(z * *p)) - frame.tileOffset.y - header->boundTop;
        }
    }
    return {SaturateInt32(x), SaturateInt32(y)};
}

Point SnapDesignPoint(const SnapFrame& frame, Point design) {
    if (!frame.header || !frame.grid) {
        return design;
    }
    Point snapped = design;
    for (GridAxis axis : {GridAxis::X, GridAxis::Y}) {
        if (!SnapOn(frame.header, axis)) {
            continue;
        }
        const int64_t start = PageStart(frame.header, axis);
        const int32_t own = Coordinate(design, axis);
        if (auto p = NearestGridline(GridNodes(frame.grid, axis), own + start)) {
            (axis == GridAxis::X ? snapped.x : snapped.y) = SaturateInt32(*p - start);
        }
    }
    return snapped;
}

void SoftSnapPoints(const SnapFrame& frame, std::vector<PointNode>& points) {
    if (!frame.header || !frame.grid) {
        return;
    }
    const double reach = kSoftSnapShare * std::fabs(frame.header->gridDensityX * frame.header->pxPerUnitX);
    auto within = [reach](int32_t own, int32_t snapped) {
        const int64_t difference = std::llabs(static_cast<int64_t>(snapped) - own);
        return difference > 0 && difference < reach;
    };
    for (PointNode& node : points) {
        const Point snapped = SnapDesignPoint(frame, {node.x, node.y});
        if (frame.header->snapX && within(node.x, snapped.x)) {
            node.x = snapped.x;
        }
        if (frame.header->snapY && within(node.y, snapped.y)) {
            node.y = snapped.y;
        }
    }
}

Point SnapClipEdges(const SnapFrame& frame, Point centre, int32_t halfWidth, int32_t halfHeight) {
    if (!frame.header || !frame.grid) {
        return centre;
    }
    auto axisCentre = [&](GridAxis axis, int32_t half) -> int32_t {
        const int32_t own = Coordinate(centre, axis);
        if (!SnapOn(frame.header, axis)) {
            return own;
        }
        auto snapped = [&](int64_t edge) {
            Point point = axis == GridAxis::X ? Point{SaturateInt32(edge), 0} : Point{0, SaturateInt32(edge)};
            return static_cast<int64_t>(Coordinate(SnapDesignPoint(frame, point), axis));
        };
        const int64_t fromStart = snapped(static_cast<int64_t>(own) - half) + half;
        const int64_t fromEnd = snapped(static_cast<int64_t>(own) + half) - half;
        return SaturateInt32(std::llabs(fromStart - own) <= std::llabs(fromEnd - own) ? fromStart : fromEnd);
    };
    return {axisCentre(GridAxis::X, halfWidth), axisCentre(GridAxis::Y, halfHeight)};
}

// ---- the canvas ----

void DrawGridlines(RasterCanvas& canvas, const ItemRecord* header, const ItemRecord* grid, Point tileOffset,
                   const Rect& area) {
    if (!header || !grid || canvas.isNull()) {
        return;
    }
    const double z = Zoom(header);
    const Rect clip{std::max(0, area.left), std::max(0, area.top), std::min(canvas.width(), area.right),
                    std::min(canvas.height(), area.bottom)};
    if (clip.right <= clip.left || clip.bottom <= clip.top) {
        return;
    }
    canvas.setBrush({kGridlineColour, BrushStyle::Solid});
    // Across the page only: to its far edge on the canvas.
    const int32_t pageBottom = SaturateInt32(static_cast<int64_t>(header->spanY) - tileOffset.y);
    const int32_t pageRight = SaturateInt32(static_cast<int64_t>(header->spanX) - tileOffset.x);
    if (header->showGridX) {
        for (const GridNode& node : grid->gridX) {
            int64_t x = static_cast<int64_t>(nearest(z * node.position)) - tileOffset.x - header->boundLeft;
            if (!node.removed && x >= clip.left && x < clip.right) {
                canvas.FillRect({static_cast<int32_t>(x), clip.top, static_cast<int32_t>(x + 1),
                                 std::min(clip.bottom, pageBottom)});
            }
        }
    }
    if (header->showGridY) {
        for (const GridNode& node : grid->gridY) {
            int64_t y = static_cast<int64_t>(nearest(z * node.position)) - tileOffset.y - header->boundTop;
            if (!node.removed && y >= clip.top && y < clip.bottom) {
                canvas.FillRect({clip.left, static_cast<int32_t>(y), std::min(clip.right, pageRight),
                                 static_cast<int32_t>(y + 1)});
            }
        }
    }
}

bool StandsOnGridline(const ItemRecord* item, GridAxis axis, int32_t position) {
    auto first = [axis](const ItemRecord* record) { return axis == GridAxis::X ? record->x1 : record->y1; };
    auto second = [axis](const ItemRecord* record) { return axis == GridAxis::X ? record->x2 : record->y2; };
    auto point = [axis](const PointNode& node) { return axis == GridAxis::X ? node.x : node.y; };
    const int32_t kind = item->kind;
    if (kind == ItemKind::Text || kind == ItemKind::Line) {
        return Near(first(item), position) || Near(second(item), position);
    }
    if (kind == ItemKind::Circle || kind == ItemKind::Ellipse) {
        if (item->pointList.empty()) {
            return false;
        }
        const int64_t centre = point(item->pointList[0]);
        if (Near(centre, position)) {
            return true;
        }
        if (kind == ItemKind::Circle && item->pointList.size() > 1) {
            const int64_t radius =
                std::llround(PointDistance(NodePoint(item->pointList[0]), NodePoint(item->pointList[1])));
            return Near(centre - radius, position) || Near(centre + radius, position);
        }
        return false;
    }
    if (IsShapeKind(kind)) {
        return std::any_of(item->pointList.begin(), item->pointList.end(),
                           [&](const PointNode& node) { return Near(point(node), position); });
    }
    if (kind == ItemKind::Clip) {
        if (item->clipShape == ClipShape::Round) {
            const int64_t radius = std::llround(PointDistance({item->x1, item->y1}, {item->x2, item->y2}));
            return Near(static_cast<int64_t>(first(item)) - radius, position) ||
                   Near(static_cast<int64_t>(first(item)) + radius, position);
        }
        return Near(first(item), position) || Near(second(item), position);
    }
    return false;
}

} // namespace vlr

namespace vlr {

bool MoveGridlineWithItems(ItemList& list, EditCanvas& canvas, const EditMetrics& metrics, GridAxis axis,
                           int32_t from, int32_t to, int32_t position, const EditHooks& hooks) {
    bool moved = false;
    if (to != from) {
        const std::vector<int32_t> remembered = SelectedSerials(list);
        SelectOnly(list, nullptr);
        bool any = false;
        for (ItemRecord* item : list) {
            if (IsLiveItem(item) && item->suspended == 0 && StandsOnGridline(item, axis, from)) {
                item->selected = 255;
                any = true;
            }
        }
        if (any) {
            BeginEdit(list, canvas, metrics, hooks, false);
            const int32_t delta = SaturateInt32(static_cast<int64_t>(to) - from);
            MoveSelection(list, axis == GridAxis::X ? delta : 0, axis == GridAxis::Y ? delta : 0);
            FinishEdit(list, metrics);
            moved = true;
        }
        RestoreSelection(list, remembered);
    }
    return EditGrid(list, axis, GridAction::Move, position, hooks) || moved;
}

} // namespace vlr
