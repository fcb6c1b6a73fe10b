// The markers of selected items.
#include "canvas/markers.h"

#include "model/itemlist.h"
#include "settings/params.h"

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

// Markers are taken away in the reverse order of saving; one counter serves every window, as the
// order only matters among the markers of one canvas.
uint64_t nextOrder = 1;

Point Middle(Point a, Point b) {
    // Integer halving truncates toward zero.
    return {SaturateInt32((int64_t{a.x} + b.x) / 2), SaturateInt32((int64_t{a.y} + b.y) / 2)};
}

std::vector<Point> PointsOf(const ItemRecord& item, bool base) {
    std::vector<Point> points;
    points.reserve(item.pointList.size());
    for (const PointNode& node : item.pointList) {
        points.push_back(base ? Point{node.savedX, node.savedY} : Point{node.x, node.y});
    }
    return points;
}

Point Mean(const std::vector<Point>& points, size_t count) {
    count = std::min(count, points.size());
    if (count == 0) {
        return {};
    }
    double x = 0.0, y = 0.0;
    for (size_t i = 0; i < count; ++i) {
        x += points[i].x;
        y += points[i].y;
    }
    return {nearest(x / double(count)), nearest(y / double(count))};
}

Point BoxMiddle(const std::vector<Point>& points) {
    if (points.empty()) {
        return {};
    }
    Point low = points[0], high = points[0];
    for (Point p : points) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    }
    return Middle(low, high);
}

Point At(const std::vector<Point>& points, size_t i) {
    return i < points.size() ? points[i] : Point{};
}

bool IsPointShape(int32_t kind) {
    switch (kind) {
    case ItemKind::Triangle:
    case ItemKind::Square:
    case ItemKind::Rectangle:
    case ItemKind::Polygon:
    case ItemKind::Star:
    case ItemKind::Spline:
    case ItemKind::Curve:
        return true;
    default:
        return false;
    }
}

// The saved pixels of a marker node as it lies on the canvas.
void SaveUnderMarker(RasterCanvas& raster, MarkerNode& node, const Rect& inclusive) {
    node.screenRect = inclusive;
    node.savedRect = {0, 0, inclusive.right - inclusive.left + 1, inclusive.bottom - inclusive.top + 1};
    SaveArea(node.savedPixels, raster,
             {inclusive.left, inclusive.top, inclusive.right + 1, inclusive.bottom + 1});
    node.order = nextOrder++;
}

void PaintMarker(RasterCanvas& raster, const MarkerPoint& marker, const ItemRecord& item,
                 const MarkerStyle& style) {
    const Rect r{marker.at.x - style.width / 2, marker.at.y - style.height / 2, marker.at.x + style.width / 2,
                 marker.at.y + style.height / 2};
    if (marker.code == 5 || marker.code == 500) {
        raster.setPen({style.penColour, 1, PenStyle::Solid});
        raster.setBrush({style.dotColour, BrushStyle::Solid});
        raster.Ellipse(r);
        return;
    }
    // The outline is one pixel of the pen; the fill lies inside it.
    raster.setBrush({style.penColour, BrushStyle::Solid});
    raster.FillRect(r);
    const bool groupCentre = IsMarker(&item) && marker.code == 3;
    raster.setBrush({groupCentre ? style.centreColour : style.fillColour, BrushStyle::Solid});
    raster.FillRect({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
}

} // namespace

MarkerStyle MarkerStyleOf(const TParams& params) {
    MarkerStyle style;
    style.width = params.markerWidth;
    style.height = params.markerHeight;
    style.penColour = params.markerPen;
    style.fillColour = params.markerFill;
    style.centreColour = params.markerCentre;
    style.dotDistance = params.rotationDotDistance;
    return style;
}

Point ItemCentre(const ItemRecord& item, bool base) {
    const Point first = base ? Point{item.baseX1, item.baseY1} : Point{item.x1, item.y1};
    const Point second = base ? Point{item.baseX2, item.baseY2} : Point{item.x2, item.y2};
    const std::vector<Point> points = PointsOf(item, base);
    switch (static_cast<int32_t>(item.kind)) {
    case ItemKind::Triangle:
        return Mean(points, 3);
    case ItemKind::Square:
    case ItemKind::Rectangle:
        return BoxMiddle(points);
    case ItemKind::Polygon:
    case ItemKind::Star:
    case ItemKind::Circle:
    case ItemKind::Ellipse:
        return At(points, 0);
    case ItemKind::Spline:
    case ItemKind::Curve:
        return Mean(points, points.size());
    case ItemKind::Pie:
    case ItemKind::Arc: {
        const Rect box = ArcBounds(At(points, 0), At(points, 1), At(points, 2));
        return Middle({box.left, box.top}, {box.right, box.bottom});
    }
    case ItemKind::Clip:
        return item.clipShape == ClipShape::Round ? first : Middle(first, second);
    case ItemKind::GroupMarker:
        return first;
    default:
        return Middle(first, second);
    }
}

double RotationDirection(const ItemRecord& item) {
    const std::vector<Point> points = PointsOf(item, false);
    const Point centre = ItemCentre(item);
    switch (static_cast<int32_t>(item.kind)) {
    case ItemKind::Text:
    case ItemKind::Line:
        return ReducedAngle(PointDirection({item.x1, item.y1}, {item.x2, item.y2}) - kPi / 2.0);
    case ItemKind::Square:
    case ItemKind::Rectangle:
        return ReducedAngle(PointDirection(At(points, 0), At(points, 1)) - kPi / 2.0);
    case ItemKind::Polygon:
    case ItemKind::Star:
        return PointDirection(centre, At(points, 1));
    case ItemKind::Ellipse:
        return PointDirection(At(points, 0), At(points, 1));
    case ItemKind::Pie:
    case ItemKind::Arc: {
        const ArcSweep sweep = ArcSweepOf(At(points, 0), At(points, 1), At(points, 2));
        return ReducedAngle(sweep.start + sweep.sweep / 2.0);
    }
    case ItemKind::Clip:
        return ReducedAngle(item.rotation - kPi / 2.0);
    case ItemKind::GroupMarker:
        return ReducedAngle(item.direction - kPi / 2.0);
    default:
        return PointDirection(centre, At(points, 0));
    }
}

bool HasPresetAngle(const ItemRecord& item) {
    if (item.kind == ItemKind::Text) {
        return item.textAngle >= 0;
    }
    const double angle = item.fixedAngle;
    return item.kind == ItemKind::Line && std::isfinite(angle) && angle >= 0.0;
}

bool HasSideMarkers(const ItemRecord& item) {
    return (item.kind == ItemKind::Square || item.kind == ItemKind::Rectangle) &&
           item.pointList.size() >= 4 && item.pointList[0].y == item.pointList[1].y;
}

Rect MarkerRect(Point at, const MarkerStyle& style) {
    return {at.x - style.width / 2, at.y - style.height / 2, at.x + style.width / 2, at.y + style.height / 2};
}

MarkerSet MarkerPointsOf(const ItemRecord& item, bool single, const ViewTransform& view,
                         const MarkerStyle& style) {
    MarkerSet set;
    auto onCanvas = [&view](Point design) { return ToDevice(design, view); };
    auto add = [&set](int32_t code, Point at) { set.markers.push_back({code, at}); };
    auto dot = [&](int32_t code, Point centre, double direction) {
        Point at = PolarPoint(centre, direction, style.dotDistance);
        set.dottedLine = true;
        set.lineFrom = centre;
        set.lineTo = at;
        add(code, at);
        return at;
    };
    std::vector<Point> points;
    for (const PointNode& node : item.pointList) {
        points.push_back(onCanvas(NodePoint(node)));
    }
    const Point centre = onCanvas(ItemCentre(item));
    const int32_t kind = item.kind;

    if (kind == ItemKind::Text || kind == ItemKind::Line) {
        const Point a = onCanvas({item.x1, item.y1}), b = onCanvas({item.x2, item.y2});
        const Point middle = Middle(a, b);
        add(1, a);
        add(2, b);
        add(3, middle);
        if (single && !HasPresetAngle(item)) {
            dot(5, middle, PointDirection(a, b) - kPi / 2.0);
        }
    } else if (IsPointShape(kind)) {
        const size_t first = kind == ItemKind::Polygon || kind == ItemKind::Star ? 1 : 0;
        for (size_t i = first; i < points.size(); ++i) {
            add(-static_cast<int32_t>(i - first + 1), points[i]);
        }
        const bool sides = HasSideMarkers(item);
        if (sides) {
            add(205, Middle(points[2], points[3]));
            add(206, Middle(points[1], points[2]));
            add(207, Middle(points[0], points[1]));
            add(208, Middle(points[3], points[0]));
        }
        if (single) {
            Point at = dot(5, centre, RotationDirection(item));
            // Clear of the marker of the side it points at: the first side's, or the opposite one's
            // when the corners were given the other way round.
            const bool onSide =
                sides && (std::abs(int64_t{at.y} - Middle(points[0], points[1]).y) < style.height ||
                          std::abs(int64_t{at.y} - Middle(points[2], points[3]).y) < style.height);
            if (onSide) {
                at.y += 16;
                set.markers.back().at = at;
                set.lineTo = at;
            }
            add(7, centre);
        }
    } else if (kind == ItemKind::Circle && points.size() >= 2) {
        const double radius = PointDistance(points[0], points[1]);
        for (int k = 0; k < 4; ++k) {
            add(k + 1, PolarPoint(points[0], k * kPi / 2.0, radius));
        }
        if (single) {
            add(7, points[0]);
        }
    } else if (kind == ItemKind::Ellipse && points.size() >= 3) {
        const Point c = points[0], length = points[1], width = points[2];
        const PerpendicularFootResult foot = PerpendicularFoot(c, length, width);
        const double halfWidth = PointDistance(width, foot.foot);
        const double across =
            halfWidth > 0.0 ? PointDirection(foot.foot, width) : PointDirection(c, length) + kPi / 2.0;
        add(1, length);
        add(2, PolarPoint(c, across, halfWidth));
        add(3, {SaturateInt32(2 * int64_t{c.x} - length.x), SaturateInt32(2 * int64_t{c.y} - length.y)});
        add(4, PolarPoint(c, across + kPi, halfWidth));
        if (single) {
            dot(5, c, RotationDirection(item));
            add(7, c);
        }
    } else if ((kind == ItemKind::Pie || kind == ItemKind::Arc) && points.size() >= 3) {
        add(1, points[0]);
        add(2, points[1]);
        add(3, points[2]);
        if (single) {
            dot(5, centre, RotationDirection(item));
            add(7, centre);
        }
    } else if (kind == ItemKind::Clip) {
        Point side107;
        bool has107 = true;
        if (item.clipShape == ClipShape::Round) {
            const int32_t r =
                nearest(PointDistance(onCanvas({item.x1, item.y1}), onCanvas({item.x2, item.y2})));
            add(105, {centre.x, SaturateInt32(int64_t{centre.y} + r)});
            add(106, {SaturateInt32(int64_t{centre.x} + r), centre.y});
            side107 = {centre.x, SaturateInt32(int64_t{centre.y} - r)};
            add(107, side107);
            add(108, {SaturateInt32(int64_t{centre.x} - r), centre.y});
        } else if (item.rotation != 0.0) {
            const std::array<Point, 5> corners = RotatedRectCorners(&item);
            for (int k = 0; k < 4; ++k) {
                add(101 + k, onCanvas(corners[k]));
            }
            has107 = false;
        } else {
            const Point tl = onCanvas({item.boundLeft, item.boundTop});
            const Point br = onCanvas({item.boundRight, item.boundBottom});
            add(101, tl);
            add(102, {br.x, tl.y});
            add(103, br);
            add(104, {tl.x, br.y});
            add(105, Middle(tl, {br.x, tl.y}));
            add(106, Middle({br.x, tl.y}, br));
            side107 = Middle(br, {tl.x, br.y});
            add(107, side107);
            add(108, Middle({tl.x, br.y}, tl));
        }
        if (single) {
            Point at = dot(5, centre, RotationDirection(item));
            if (has107 && PointDistance(at, side107) < style.height) {
                at.y += 16;
                set.markers.back().at = at;
                set.lineTo = at;
            }
            add(7, centre);
        }
    } else if (kind == ItemKind::GroupMarker) {
        add(3, centre);
        dot(500, centre, RotationDirection(item));
    }
    return set;
}

void EraseMarkersOf(RasterCanvas& raster, ItemRecord* item) {
    for (auto node = item->backgroundCache.rbegin(); node != item->backgroundCache.rend(); ++node) {
        if (auto* marker = dynamic_cast<MarkerNode*>(node->get())) {
            RestoreArea(marker->savedPixels, raster);
        }
    }
    item->backgroundCache.clear();
}

void EraseAllMarkers(RasterCanvas& raster, const ItemList& list) {
    std::vector<MarkerNode*> nodes;
    for (ItemRecord* item : list) {
        for (const auto& node : item->backgroundCache) {
            if (auto* marker = dynamic_cast<MarkerNode*>(node.get())) {
                nodes.push_back(marker);
            }
        }
    }
    std::sort(nodes.begin(), nodes.end(),
              [](const MarkerNode* a, const MarkerNode* b) { return a->order > b->order; });
    {
        CanvasLock lock(raster);
        for (MarkerNode* node : nodes) {
            RestoreArea(node->savedPixels, raster);
        }
    }
    for (ItemRecord* item : list) {
        item->backgroundCache.clear();
    }
}

void DrawMarkers(RasterCanvas& raster, ItemRecord* item, bool single, const ViewTransform& view,
                 const MarkerStyle& style) {
    EraseMarkersOf(raster, item);
    if (raster.isNull()) {
        return;
    }
    const MarkerSet set = MarkerPointsOf(*item, single, view, style);
    CanvasLock lock(raster);
    auto node = [item] {
        item->backgroundCache.push_back(std::make_unique<MarkerNode>());
        return static_cast<MarkerNode*>(item->backgroundCache.back().get());
    };
    if (set.dottedLine) {
        MarkerNode* line = node();
        line->code = 6;
        SaveUnderMarker(raster, *line,
                        {std::min(set.lineFrom.x, set.lineTo.x), std::min(set.lineFrom.y, set.lineTo.y),
                         std::max(set.lineFrom.x, set.lineTo.x), std::max(set.lineFrom.y, set.lineTo.y)});
    }
    for (const MarkerPoint& marker : set.markers) {
        MarkerNode* saved = node();
        saved->code = marker.code;
        SaveUnderMarker(raster, *saved, MarkerRect(marker.at, style));
    }
    if (set.dottedLine) {
        raster.setPen({style.penColour, 1, PenStyle::Dotted});
        const Point line[] = {set.lineFrom, set.lineTo};
        raster.Polyline(line);
    }
    for (const MarkerPoint& marker : set.markers) {
        PaintMarker(raster, marker, *item, style);
    }
}

bool SingleSelected(const ItemList& list) {
    int count = 0;
    for (ItemRecord* item : list) {
        count += IsSelected(item) ? 1 : 0;
        if (count > 1) {
            return false;
        }
    }
    return count == 1;
}

void DrawAllMarkers(RasterCanvas& raster, const ItemList& list, const ViewTransform& view,
                    const MarkerStyle& style) {
    const bool single = SingleSelected(list);
    for (bool groupMarkers : {false, true}) {
        for (ItemRecord* item : list) {
            if (IsSelected(item) && IsMarker(item) == groupMarkers) {
                DrawMarkers(raster, item, single, view, style);
            }
        }
    }
}

MarkerHit MarkerAt(const ItemList& list, Point canvas, bool single) {
    for (ItemRecord* item : list) {
        if (!IsLiveItem(item) || item->suspended != 0 || !(IsDesignItemKind(item->kind) || IsMarker(item))) {
            continue;
        }
        for (const auto& saved : item->backgroundCache) {
            const auto* marker = dynamic_cast<const MarkerNode*>(saved.get());
            if (!marker || !PointInRect(canvas, marker->screenRect)) {
                continue;
            }
            const int32_t code = marker->code;
            MarkerHit hit{0, code, code, Qt::SizeAllCursor, item};
            auto sizing = [&](Qt::CursorShape shape) { hit.cursor = single ? shape : Qt::SizeAllCursor; };
            const int32_t kind = item->kind;
            if (kind == ItemKind::Text || kind == ItemKind::Line) {
                if ((code >= 1 && code <= 3) || code == 5) {
                    hit.state = kind == ItemKind::Text ? 33 : 1001;
                }
            } else if (kind == ItemKind::Circle) {
                if ((code >= 1 && code <= 4) || code == 7) {
                    hit.state = 47;
                    hit.code = code == 7 ? 7 : 1;
                }
            } else if (kind == ItemKind::Ellipse) {
                if ((code >= 1 && code <= 5) || code == 7) {
                    hit.state = 48;
                    hit.code = code == 3 ? 1 : code == 4 ? 2 : code;
                }
            } else if (IsShapeKind(kind)) {
                if (code < 0 || (code >= 1 && code <= 3) || code == 5 || code == 7) {
                    hit.state = 46;
                } else if (code >= 205 && code <= 208) {
                    hit.state = 46;
                    sizing(code == 205 || code == 207 ? Qt::SizeVerCursor : Qt::SizeHorCursor);
                }
            } else if (kind == ItemKind::Clip) {
                if (code == 5 || code == 7) {
                    hit.state = 52;
                } else if (code >= 101 && code <= 108) {
                    hit.state = 52;
                    if (item->clipShape == ClipShape::Round || item->rotation == 0.0) {
                        static constexpr Qt::CursorShape kClipCursors[] = {
                            Qt::SizeFDiagCursor, Qt::SizeBDiagCursor, Qt::SizeFDiagCursor,
                            Qt::SizeBDiagCursor, Qt::SizeVerCursor,   Qt::SizeHorCursor,
                            Qt::SizeVerCursor,   Qt::SizeHorCursor};
                        sizing(kClipCursors[code - 101]);
                    }
                }
            } else if (IsMarker(item)) {
                hit.state = code == 3 ? 46 : code == 500 ? 58 : 0;
            }
            if (hit.state != 0) {
                return hit;
            }
        }
    }
    return {};
}

} // namespace vlr
