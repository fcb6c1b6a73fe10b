// What dragging a marker does to the selected items.
#include "canvas/manipulate.h"

#include "canvas/markers.h"
#include "model/history.h"
#include "model/itemlist.h"
#include "model/outline.h"

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

constexpr double kOneDegree = kPi / 180.0;
// An ellipse's axis end nearer to its centre than this (design pixels) only changes the axis's
// length; from here on the ellipse also turns towards the pointer.
constexpr double kEllipseTurnReach = 16.0;
constexpr double kEllipseLeastAxis = 2.0;

struct Step {
    const MarkerDrag& drag;
    Point pointer;  // snapped
    Point raw;      // unsnapped
    int64_t dx, dy; // snapped pointer - snapped press
    int64_t rawDx, rawDy;
    const SnapFrame& frame;
};

Point Saved(const PointNode& node) {
    return {node.savedX, node.savedY};
}

void Place(PointNode& node, Point p) {
    node.x = p.x;
    node.y = p.y;
}

Point Offset(Point p, int64_t dx, int64_t dy) {
    return {SaturatingAdd(p.x, dx), SaturatingAdd(p.y, dy)};
}

Point Opposite(Point centre, Point p) {
    return {SaturateInt32(2 * int64_t{centre.x} - p.x), SaturateInt32(2 * int64_t{centre.y} - p.y)};
}

// Where a handle that started at saved lands: moved with the pointer, then onto the gridlines.
Point Follow(const Step& step, Point saved) {
    return SnapDesignPoint(step.frame, Offset(saved, step.rawDx, step.rawDy));
}

// Generated points take their places in the list; the saved points, the base of the drag, stay.
void TakePositions(std::vector<PointNode>& points, const std::vector<PointNode>& made) {
    if (points.size() != made.size()) {
        points.resize(made.size());
        for (size_t i = 0; i < points.size(); ++i) {
            points[i].savedX = made[i].x;
            points[i].savedY = made[i].y;
        }
    }
    for (size_t i = 0; i < points.size(); ++i) {
        Place(points[i], NodePoint(made[i]));
    }
}

void ResetPoints(ItemRecord* item) {
    MoveFromSaved(item->pointList, 0, 0);
}

void ResetEnds(ItemRecord* item) {
    item->x1 = item->baseX1;
    item->y1 = item->baseY1;
    item->x2 = item->baseX2;
    item->y2 = item->baseY2;
}

// A text's angle follows its baseline unless the user chose one.
void TextAngleFromBaseline(ItemRecord* item) {
    if (item->kind == ItemKind::Text && item->textAngle < 0 &&
        (item->x1 != item->x2 || item->y1 != item->y2)) {
        const double degrees = PointDirection({item->x1, item->y1}, {item->x2, item->y2}) * 180.0 / kPi;
        item->escapement = nearest(degrees * 10.0) % 3600;
    }
}

// The preset angle of a line or text in whole degrees; none (-1) when not chosen.
int32_t PresetDegrees(const ItemRecord* item) {
    if (!HasPresetAngle(*item)) {
        return -1;
    }
    return item->kind == ItemKind::Text ? item->textAngle % 360
                                        : nearest(std::fmod(item->fixedAngle, 360.0)) % 360;
}

int32_t WholeDegrees(double radians) {
    return nearest(radians * 180.0 / kPi) % 360;
}

// ---- moving ----

void MoveClip(ItemRecord* item, const Step& step) {
    // The box moves with the pointer; then its edges go to the gridlines.
    ResetEnds(item);
    const bool round = item->clipShape == ClipShape::Round;
    const Point first = Offset({item->baseX1, item->baseY1}, step.rawDx, step.rawDy);
    const Point second = Offset({item->baseX2, item->baseY2}, step.rawDx, step.rawDy);
    Point centre = round ? first
                         : Point{SaturateInt32((int64_t{first.x} + second.x) / 2),
                                 SaturateInt32((int64_t{first.y} + second.y) / 2)};
    int32_t halfWidth = 0, halfHeight = 0;
    if (round) {
        halfWidth = halfHeight = nearest(PointDistance(first, second));
    } else {
        halfWidth = SaturateInt32(std::llabs(int64_t{second.x} - first.x) / 2);
        halfHeight = SaturateInt32(std::llabs(int64_t{second.y} - first.y) / 2);
    }
    const Point snapped = SnapClipEdges(step.frame, centre, halfWidth, halfHeight);
    const int64_t sx = int64_t{snapped.x} - centre.x, sy = int64_t{snapped.y} - centre.y;
    item->x1 = SaturatingAdd(first.x, sx);
    item->y1 = SaturatingAdd(first.y, sy);
    item->x2 = SaturatingAdd(second.x, sx);
    item->y2 = SaturatingAdd(second.y, sy);
}

void MoveItem(ItemRecord* item, const Step& step) {
    if (item->kind == ItemKind::Clip) {
        MoveClip(item, step);
        return;
    }
    item->x1 = SaturatingAdd(item->baseX1, step.dx);
    item->y1 = SaturatingAdd(item->baseY1, step.dy);
    item->x2 = SaturatingAdd(item->baseX2, step.dx);
    item->y2 = SaturatingAdd(item->baseY2, step.dy);
    MoveFromSaved(item->pointList, SaturateInt32(step.dx), SaturateInt32(step.dy));
}

// ---- lines and texts ----

void DragEnd(ItemRecord* item, const Step& step, bool firstEnd) {
    const Point base = firstEnd ? Point{item->baseX1, item->baseY1} : Point{item->baseX2, item->baseY2};
    Point target = Follow(step, base);
    const int32_t preset = PresetDegrees(item);
    if (preset >= 0) {
        // Only along the preset direction, through the other end as it is now.
        const Point other = firstEnd ? Point{item->x2, item->y2} : Point{item->x1, item->y1};
        const double theta = preset * kOneDegree;
        const bool steep = (preset >= 45 && preset <= 135) || (preset >= 225 && preset <= 315);
        if (steep) {
            const double x = other.x + (double(other.y) - target.y) * std::cos(theta) / std::sin(theta);
            target = {nearest(x), target.y};
        } else {
            const double y = other.y - (double(target.x) - other.x) * std::tan(theta);
            target = {target.x, nearest(y)};
        }
        const Point from = firstEnd ? target : other, to = firstEnd ? other : target;
        if (from == to || WholeDegrees(PointDirection(from, to)) != preset) {
            return;
        }
    }
    (firstEnd ? item->x1 : item->x2) = target.x;
    (firstEnd ? item->y1 : item->y2) = target.y;
    TextAngleFromBaseline(item);
}

void TurnLine(ItemRecord* item, double angle) {
    const double mx = (double(item->baseX1) + item->baseX2) / 2.0,
                 my = (double(item->baseY1) + item->baseY2) / 2.0;
    const double half = PointDistance({item->baseX1, item->baseY1}, {item->baseX2, item->baseY2}) / 2.0;
    const double direction =
        TurnAngle(PointDirection({item->baseX1, item->baseY1}, {item->baseX2, item->baseY2}) + angle);
    const double cx = half * std::cos(direction), cy = half * std::sin(direction);
    item->x1 = nearest(mx - cx);
    item->y1 = nearest(my + cy);
    item->x2 = nearest(mx + cx);
    item->y2 = nearest(my - cy);
    TextAngleFromBaseline(item);
}

// ---- shapes ----

bool AxisParallel(double direction) {
    return TurnAngle(direction) == 0.0;
}

// A square or rectangle turned to within a degree of upright is rebuilt upright from its first
// point and its side lengths, on the side its corners were.
void StraightenBox(ItemRecord* item) {
    std::vector<PointNode>& p = item->pointList;
    if (p.size() < 4 || !AxisParallel(PointDirection(NodePoint(p[0]), NodePoint(p[1])))) {
        return;
    }
    const Point a = NodePoint(p[0]);
    const int32_t along = nearest(PointDistance(a, NodePoint(p[1])));
    const int32_t across = nearest(PointDistance(NodePoint(p[1]), NodePoint(p[2])));
    const int64_t cross = (int64_t{p[1].x} - p[0].x) * (int64_t{p[2].y} - p[1].y) -
                          (int64_t{p[1].y} - p[0].y) * (int64_t{p[2].x} - p[1].x);
    const int64_t sideY = cross > 0 ? across : -int64_t{across};
    Place(p[1], Offset(a, along, 0));
    Place(p[2], Offset(a, along, sideY));
    Place(p[3], Offset(a, 0, sideY));
}

void TurnShape(ItemRecord* item, double angle) {
    RotatePointsAbout(item->pointList, ItemCentre(*item, true), TurnAngle(angle));
    if (item->kind == ItemKind::Square || item->kind == ItemKind::Rectangle) {
        StraightenBox(item);
    }
}

// Index of vertex n in the point list: a polygon's and star's centre point has no number.
size_t VertexIndex(const ItemRecord* item, int32_t vertex) {
    const bool centred = item->kind == ItemKind::Polygon || item->kind == ItemKind::Star;
    return static_cast<size_t>(vertex) - (centred ? 0 : 1);
}

void DragSquareCorner(std::vector<PointNode>& p, size_t i, Point dragged) {
    const PointNode& savedNode = p[i];
    const Point opposite = Saved(p[(i + 2) % 4]);
    const double mx = (double(dragged.x) + opposite.x) / 2.0, my = (double(dragged.y) + opposite.y) / 2.0;
    // Which way round the corners go, from the saved square: the next corner is the dragged one
    // turned a quarter about the middle one way or the other.
    const double smx = (double(savedNode.savedX) + opposite.x) / 2.0,
                 smy = (double(savedNode.savedY) + opposite.y) / 2.0;
    const double vx = savedNode.savedX - smx, vy = savedNode.savedY - smy;
    const Point next = Saved(p[(i + 1) % 4]);
    const double nx = next.x - smx, ny = next.y - smy;
    const int sign = (vx * ny - vy * nx) >= 0 ? 1 : -1;
    const double dx = dragged.x - mx, dy = dragged.y - my;
    // (dx, dy) turned a quarter: (-dy, dx) one way, (dy, -dx) the other.
    const double tx = sign > 0 ? -dy : dy, ty = sign > 0 ? dx : -dx;
    Place(p[i], dragged);
    Place(p[(i + 1) % 4], {nearest(mx + tx), nearest(my + ty)});
    Place(p[(i + 3) % 4], {nearest(mx - tx), nearest(my - ty)});
}

void DragRectangleCorner(std::vector<PointNode>& p, size_t i, Point dragged) {
    // The neighbours keep the right angles: each lies on the line through the opposite corner
    // along its own side's direction.
    const Point corner = Saved(p[i]), opposite = Saved(p[(i + 2) % 4]);
    const Point afterCorner = Saved(p[(i + 1) % 4]), beforeCorner = Saved(p[(i + 3) % 4]);
    const double ux = double(afterCorner.x) - corner.x, uy = double(afterCorner.y) - corner.y;
    const double wx = double(beforeCorner.x) - corner.x, wy = double(beforeCorner.y) - corner.y;
    const double uu = ux * ux + uy * uy, ww = wx * wx + wy * wy;
    Place(p[i], dragged);
    if (uu == 0.0 || ww == 0.0) {
        return;
    }
    const double ex = double(dragged.x) - opposite.x, ey = double(dragged.y) - opposite.y;
    const double alongW = (ex * wx + ey * wy) / ww, alongU = (ex * ux + ey * uy) / uu;
    Place(p[(i + 1) % 4], {nearest(opposite.x + alongW * wx), nearest(opposite.y + alongW * wy)});
    Place(p[(i + 3) % 4], {nearest(opposite.x + alongU * ux), nearest(opposite.y + alongU * uy)});
}

void DragPolygonVertex(ItemRecord* item, int32_t vertex, Point dragged) {
    // The regular polygon through the dragged corner: its first corner turned back by the
    // dragged one's place in the ring. The other corners follow when the drag ends.
    std::vector<PointNode>& p = item->pointList;
    const int32_t n = item->vertexCount;
    if (!IsDrawableVertexCount(n) || p.size() < 2) {
        Place(p[VertexIndex(item, vertex)], dragged);
        return;
    }
    const Point centre = NodePoint(p[0]);
    const double offset = (vertex - 1) * 2.0 * kPi / n;
    Place(p[1], PolarPoint(centre, PointDirection(centre, dragged) - offset, PointDistance(centre, dragged)));
}

void DragStarVertex(ItemRecord* item, int32_t vertex, Point dragged) {
    std::vector<PointNode>& p = item->pointList;
    const size_t index = VertexIndex(item, vertex);
    if (p.size() < 3) {
        return;
    }
    const Point centre = NodePoint(p[0]);
    const double turn = PointDirection(centre, dragged) - PointDirection(centre, Saved(p[index]));
    const double radius = PointDistance(centre, dragged);
    const Point tip = Saved(p[1]), inner = Saved(p[2]);
    if (vertex % 2 != 0) {
        Place(p[1], PolarPoint(centre, PointDirection(centre, tip) + turn, radius));
    } else {
        Place(p[1],
              PolarPoint(centre, PointDirection(centre, tip) + turn, PointDistance(centre, NodePoint(p[1]))));
        Place(p[2], PolarPoint(centre, PointDirection(centre, inner) + turn, radius));
    }
}

void DragVertex(ItemRecord* item, const Step& step, int32_t vertex) {
    std::vector<PointNode>& p = item->pointList;
    const size_t index = VertexIndex(item, vertex);
    if (vertex < 1 || index >= p.size()) {
        return;
    }
    ResetPoints(item);
    const Point dragged = Follow(step, Saved(p[index]));
    switch (static_cast<int32_t>(item->kind)) {
    case ItemKind::Square:
        if (p.size() == 4) {
            DragSquareCorner(p, index, dragged);
        }
        break;
    case ItemKind::Rectangle:
        if (p.size() == 4) {
            DragRectangleCorner(p, index, dragged);
        }
        break;
    case ItemKind::Polygon:
        DragPolygonVertex(item, vertex, dragged);
        break;
    case ItemKind::Star:
        DragStarVertex(item, vertex, dragged);
        break;
    default:
        Place(p[index], dragged);
        break;
    }
    SoftSnapPoints(step.frame, p);
    if (item->kind == ItemKind::Curve) {
        SmoothCurve(p, item->shapeMode, item->tension);
    }
}

void DragBoxSide(ItemRecord* item, const Step& step, int32_t code) {
    // 205 and 207 move a horizontal side by dy, 206 and 208 a vertical one by dx; a square's two
    // other sides move across by half the growth each, so that it stays square.
    std::vector<PointNode>& p = item->pointList;
    if (!HasSideMarkers(*item)) {
        return;
    }
    ResetPoints(item);
    static constexpr size_t kSides[4][2] = {{2, 3}, {1, 2}, {0, 1}, {3, 0}};
    const size_t a = kSides[code - 205][0], b = kSides[code - 205][1];
    const size_t oppositeA = kSides[(code - 205 + 2) % 4][0];
    const bool vertical = code == 205 || code == 207;
    const int64_t delta = vertical ? step.dy : step.dx;
    auto along = [vertical](const PointNode& node) -> int64_t {
        return vertical ? node.savedY : node.savedX;
    };
    const int64_t before = std::llabs(along(p[a]) - along(p[oppositeA]));
    for (size_t i : {a, b}) {
        (vertical ? p[i].y : p[i].x) = SaturatingAdd(vertical ? p[i].savedY : p[i].savedX, delta);
    }
    if (item->kind != ItemKind::Square) {
        return;
    }
    const int64_t growth = std::llabs(along(p[a]) + delta - along(p[oppositeA])) - before;
    const int64_t half = growth / 2;
    auto across = [vertical](const PointNode& node) -> int64_t {
        return vertical ? node.savedX : node.savedY;
    };
    int64_t low = across(p[0]), high = across(p[0]);
    for (const PointNode& node : p) {
        low = std::min(low, across(node));
        high = std::max(high, across(node));
    }
    const int64_t middle = (low + high) / 2;
    for (PointNode& node : p) {
        int32_t& coordinate = vertical ? node.x : node.y;
        coordinate = SaturatingAdd(coordinate, across(node) > middle ? half : -half);
    }
}

void DragCircle(ItemRecord* item, const Step& step) {
    std::vector<PointNode>& p = item->pointList;
    if (p.size() < 2) {
        return;
    }
    ResetPoints(item);
    const Point centre = Saved(p[0]);
    const double radius = PointDistance(centre, Saved(p[1]));
    const int32_t rim = std::clamp(step.drag.grabbed, 1, 4);
    const Point held = Follow(step, PolarPoint(centre, (rim - 1) * kPi / 2.0, radius));
    const Point second = PolarPoint(centre, PointDirection(centre, Saved(p[1])), PointDistance(centre, held));
    std::vector<PointNode> made;
    SquareFromEdge(made, centre, second);
    TakePositions(p, made);
}

void DragEllipse(ItemRecord* item, const Step& step) {
    std::vector<PointNode>& p = item->pointList;
    if (p.size() < 3) {
        return;
    }
    ResetPoints(item);
    const Point centre = Saved(p[0]), length = Saved(p[1]), width = Saved(p[2]);
    const PerpendicularFootResult foot = PerpendicularFoot(centre, length, width);
    const double halfWidth = PointDistance(width, foot.foot);
    const double axis = PointDirection(centre, length);
    // The width point's side of the first axis.
    const double across = halfWidth > 0.0 ? PointDirection(foot.foot, width) : axis + kPi / 2.0;
    if (step.drag.code == 1) {
        const bool farEnd = step.drag.grabbed == 3;
        const Point held = Follow(step, farEnd ? Opposite(centre, length) : length);
        const double reach = PointDistance(centre, held);
        if (reach < kEllipseLeastAxis) {
            return;
        }
        if (reach >= kEllipseTurnReach) {
            const double direction = PointDirection(centre, held) + (farEnd ? kPi : 0.0);
            Place(p[1], PolarPoint(centre, direction, reach));
            Place(p[2], PolarPoint(centre, across + (direction - axis), halfWidth));
        } else {
            Place(p[1], PolarPoint(centre, axis, reach));
        }
    } else if (step.drag.code == 2) {
        const Point end = PolarPoint(centre, across, halfWidth);
        const Point held = Follow(step, step.drag.grabbed == 4 ? Opposite(centre, end) : end);
        // The second semi-axis is the pointer's distance from the first axis.
        const double newHalf = PointDistance(held, PerpendicularFoot(centre, length, held).foot);
        Place(p[2], PolarPoint(centre, across, newHalf));
    }
}

void DragArc(ItemRecord* item, const Step& step) {
    std::vector<PointNode>& p = item->pointList;
    if (p.size() < 3) {
        return;
    }
    ResetPoints(item);
    Point centre = Saved(p[0]), start = Saved(p[1]), end = Saved(p[2]);
    const int32_t code = step.drag.code;
    if (code == 1) {
        const Point newCentre = Follow(step, centre);
        const double chord = PointDistance(start, end);
        const double radius = PointDistance(newCentre, start);
        const double startDirection = PointDirection(newCentre, start);
        double sweep = PointDirection(centre, end) - PointDirection(centre, start);
        if (sweep < 0.0) {
            sweep += 2.0 * kPi;
        }
        double endDirection = startDirection + kPi;
        if (radius >= 0.0001) {
            const double q = chord / 2.0 / radius;
            if (q < -1.0 || q > 1.0) {
                return;
            }
            endDirection =
                sweep < kPi ? startDirection + 2.0 * std::asin(q) : startDirection - 2.0 * std::asin(q);
        }
        centre = newCentre;
        end = PolarPoint(centre, endDirection, radius);
    } else if (code == 2) {
        start = Follow(step, start);
        end = PolarPoint(centre, PointDirection(centre, end), PointDistance(centre, start));
    } else if (code == 3) {
        const Point held = Follow(step, end);
        const double radius = PointDistance(centre, held);
        start = PolarPoint(centre, PointDirection(centre, start), radius);
        end = held;
    } else {
        return;
    }
    std::vector<PointNode> made;
    ArcPoints(made, centre, start, end);
    TakePositions(p, made);
}

// ---- clips ----

struct Box {
    int64_t left, top, right, bottom;
};

Box BaseBox(const ItemRecord* item) {
    return {std::min(item->baseX1, item->baseX2), std::min(item->baseY1, item->baseY2),
            std::max(item->baseX1, item->baseX2), std::max(item->baseY1, item->baseY2)};
}

void StoreBox(ItemRecord* item, Box box) {
    if (box.left > box.right) {
        std::swap(box.left, box.right);
    }
    if (box.top > box.bottom) {
        std::swap(box.top, box.bottom);
    }
    // The first point stays the one on the left (top) when it was.
    const bool firstLeft = item->baseX1 <= item->baseX2, firstTop = item->baseY1 <= item->baseY2;
    item->x1 = SaturateInt32(firstLeft ? box.left : box.right);
    item->x2 = SaturateInt32(firstLeft ? box.right : box.left);
    item->y1 = SaturateInt32(firstTop ? box.top : box.bottom);
    item->y2 = SaturateInt32(firstTop ? box.bottom : box.top);
}

void DragClipCorner(ItemRecord* item, const Step& step, int32_t code) {
    Box box = BaseBox(item);
    const Point corners[4] = {{SaturateInt32(box.left), SaturateInt32(box.top)},
                              {SaturateInt32(box.right), SaturateInt32(box.top)},
                              {SaturateInt32(box.right), SaturateInt32(box.bottom)},
                              {SaturateInt32(box.left), SaturateInt32(box.bottom)}};
    const Point held = Follow(step, corners[code - 101]);
    (code == 101 || code == 104 ? box.left : box.right) = held.x;
    (code == 101 || code == 102 ? box.top : box.bottom) = held.y;
    StoreBox(item, box);
}

void DragClipSide(ItemRecord* item, const Step& step, int32_t code) {
    // The dragged side goes to the pointer; the other size follows so that the proportions stay,
    // about the middle of that axis. A box without width or height has no proportions to keep.
    Box box = BaseBox(item);
    const int64_t width = box.right - box.left, height = box.bottom - box.top;
    const int64_t middleX = (box.left + box.right) / 2, middleY = (box.top + box.bottom) / 2;
    const Point sides[4] = {{SaturateInt32(middleX), SaturateInt32(box.top)},
                            {SaturateInt32(box.right), SaturateInt32(middleY)},
                            {SaturateInt32(middleX), SaturateInt32(box.bottom)},
                            {SaturateInt32(box.left), SaturateInt32(middleY)}};
    const Point held = Follow(step, sides[code - 105]);
    const bool vertical = code == 105 || code == 107;
    if (vertical) {
        (code == 105 ? box.top : box.bottom) = held.y;
    } else {
        (code == 108 ? box.left : box.right) = held.x;
    }
    if (width != 0 && height != 0) {
        if (vertical) {
            const int64_t newWidth = nearest(double(box.bottom - box.top) * double(width) / double(height));
            box.left = middleX - newWidth / 2;
            box.right = box.left + newWidth;
        } else {
            const int64_t newHeight = nearest(double(box.right - box.left) * double(height) / double(width));
            box.top = middleY - newHeight / 2;
            box.bottom = box.top + newHeight;
        }
    }
    StoreBox(item, box);
}

void DragTurnedClipCorner(ItemRecord* item, const Step& step, int32_t code) {
    // The dragged corner follows the pointer, the opposite one stays, and the box is rebuilt
    // about their middle at the clip's turn.
    const Box base = BaseBox(item);
    const Point centre{SaturateInt32((base.left + base.right) / 2),
                       SaturateInt32((base.top + base.bottom) / 2)};
    const Point corners[4] = {{SaturateInt32(base.left), SaturateInt32(base.top)},
                              {SaturateInt32(base.right), SaturateInt32(base.top)},
                              {SaturateInt32(base.right), SaturateInt32(base.bottom)},
                              {SaturateInt32(base.left), SaturateInt32(base.bottom)}};
    auto turned = [&](int k) {
        return PolarPoint(centre, PointDirection(centre, corners[k]) + item->rotation,
                          PointDistance(centre, corners[k]));
    };
    const int k = code - 101;
    const Point held = Follow(step, turned(k)), opposite = turned((k + 2) % 4);
    const double mx = (double(held.x) + opposite.x) / 2.0, my = (double(held.y) + opposite.y) / 2.0;
    const double diagonal = PointDistance(opposite, held);
    const double upright = PointDirection(opposite, held) - item->rotation;
    const double halfWidth = std::fabs(diagonal * std::cos(upright)) / 2.0;
    const double halfHeight = std::fabs(diagonal * std::sin(upright)) / 2.0;
    StoreBox(item, {nearest(mx - halfWidth), nearest(my - halfHeight), nearest(mx + halfWidth),
                    nearest(my + halfHeight)});
}

void DragRoundClip(ItemRecord* item, const Step& step, int32_t code) {
    const Point centre{item->baseX1, item->baseY1};
    const int32_t r = nearest(PointDistance(centre, {item->baseX2, item->baseY2}));
    const Point rims[4] = {Offset(centre, 0, r), Offset(centre, r, 0), Offset(centre, 0, -int64_t{r}),
                           Offset(centre, -int64_t{r}, 0)};
    const Point held = Follow(step, rims[code - 105]);
    ResetEnds(item);
    item->x2 = held.x;
    item->y2 = held.y;
}

void DragClip(ItemRecord* item, const Step& step) {
    const int32_t code = step.drag.code;
    if (code < 101 || code > 108) {
        return;
    }
    if (item->clipShape == ClipShape::Round) {
        if (code >= 105) {
            DragRoundClip(item, step, code);
        }
    } else if (item->rotation != 0.0) {
        if (code <= 104) {
            DragTurnedClipCorner(item, step, code);
        }
    } else if (code <= 104) {
        DragClipCorner(item, step, code);
    } else {
        DragClipSide(item, step, code);
    }
}

// ---- turning ----

void TurnItem(ItemRecord* item, Point pivot, double angle) {
    // Everything from the drag base, about the pivot.
    if (item->kind == ItemKind::Text || item->kind == ItemKind::Line) {
        RotateEndsAbout(item, pivot, angle);
        TextAngleFromBaseline(item);
    } else if (IsShapeKind(item->kind)) {
        RotatePointsAbout(item->pointList, pivot, angle);
        ResetEnds(item);
    } else if (item->kind == ItemKind::Clip) {
        RotateRectangleAbout(item, pivot, angle);
        item->rotation = TurnAngle(item->rotationBase + angle);
    }
}

double AngleSeen(Point pivot, const Step& step) {
    return PointDirection(pivot, step.pointer) - PointDirection(pivot, step.drag.start);
}

void TurnGroups(ItemList& list, const Step& step) {
    for (ItemRecord* marker : list) {
        if (!IsSelected(marker) || !IsMarker(marker)) {
            continue;
        }
        const Point pivot{marker->baseX1, marker->baseY1};
        const double angle = TurnAngle(AngleSeen(pivot, step));
        marker->direction = ReducedAngle(marker->rotationBase + angle);
        for (ItemRecord* member : list) {
            if (IsSelected(member) && !IsMarker(member) && member->groupId == marker->groupId) {
                TurnItem(member, pivot, angle);
            }
        }
    }
}

void Turn(ItemRecord* item, const Step& step) {
    const Point pivot = ItemCentre(*item, true);
    const double angle = AngleSeen(pivot, step);
    if (item->kind == ItemKind::Text || item->kind == ItemKind::Line) {
        TurnLine(item, angle);
    } else if (item->kind == ItemKind::Clip) {
        ResetEnds(item);
        item->rotation = TurnAngle(item->rotationBase + angle);
    } else if (IsShapeKind(item->kind)) {
        TurnShape(item, angle);
    }
}

void ApplyToItem(ItemRecord* item, const Step& step) {
    const int32_t code = step.drag.code;
    const int32_t kind = item->kind;
    const bool lineLike = kind == ItemKind::Text || kind == ItemKind::Line;
    if (code == 7 || (code == 3 && (lineLike || IsMarker(item)))) {
        MoveItem(item, step);
    } else if (IsMarker(item)) {
        // A group marker answers to moves and to its own turn only.
    } else if (code == 5) {
        Turn(item, step);
    } else if (lineLike && (code == 1 || code == 2)) {
        DragEnd(item, step, code == 1);
    } else if (code < 0 && IsShapeKind(kind)) {
        DragVertex(item, step, -code);
    } else if (code >= 205 && code <= 208) {
        DragBoxSide(item, step, code);
    } else if (kind == ItemKind::Circle && code == 1) {
        DragCircle(item, step);
    } else if (kind == ItemKind::Ellipse) {
        DragEllipse(item, step);
    } else if (kind == ItemKind::Pie || kind == ItemKind::Arc) {
        DragArc(item, step);
    } else if (kind == ItemKind::Clip) {
        DragClip(item, step);
    }
}

} // namespace

bool IsDragMode(int32_t toolMode) {
    switch (toolMode) {
    case DragMode::Text:
    case DragMode::Shape:
    case DragMode::Circle:
    case DragMode::Ellipse:
    case DragMode::Clip:
    case DragMode::Placing:
    case DragMode::GroupTurn:
    case DragMode::Line:
        return true;
    default:
        return false;
    }
}

double TurnAngle(double angle) {
    const double reduced = ReducedAngle(angle);
    return reduced < kOneDegree || reduced > 2.0 * kPi - kOneDegree ? 0.0 : reduced;
}

void SaveDragBase(ItemList& list) {
    for (ItemRecord* item : list) {
        if (IsSelected(item)) {
            item->baseX1 = item->x1;
            item->baseY1 = item->y1;
            item->baseX2 = item->x2;
            item->baseY2 = item->y2;
            item->rotationBase = item->rotation;
            SaveCurrentAsSaved(item->pointList);
        }
    }
    PrepareGroupBase(list);
}

void PrepareGroupBase(ItemList& list) {
    for (ItemRecord* item : list) {
        if (IsSelected(item) && IsMarker(item)) {
            item->rotationBase = item->direction;
        }
    }
}

void ApplyDrag(ItemList& list, const MarkerDrag& drag, Point pointer, const SnapFrame& frame,
               const EditMetrics& metrics) {
    const Point snapped = SnapDesignPoint(frame, pointer);
    const Step step{drag,
                    snapped,
                    pointer,
                    int64_t{snapped.x} - drag.start.x,
                    int64_t{snapped.y} - drag.start.y,
                    int64_t{pointer.x} - drag.startRaw.x,
                    int64_t{pointer.y} - drag.startRaw.y,
                    frame};
    if (drag.code == 500) {
        TurnGroups(list, step);
    } else {
        for (ItemRecord* item : list) {
            if (IsSelected(item)) {
                ApplyToItem(item, step);
            }
        }
    }
    // Bounds follow at once: the preview repaints where the items are now.
    for (ItemRecord* item : list) {
        if (IsSelected(item)) {
            DeriveEditedGeometry(item, metrics);
        }
    }
}

} // namespace vlr
