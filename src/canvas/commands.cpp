// The document commands over a design's list and its selection.
#include "canvas/commands.h"

#include "canvas/anchors.h"
#include "canvas/grid.h"
#include "canvas/selecttool.h"
#include "model/copylist.h"
#include "model/history.h"
#include "model/outline.h"
#include "render/textdraw.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <vector>

namespace vlr {

CommandWindow::~CommandWindow() = default;

namespace {

std::vector<ItemRecord*> Selected(const ItemList& list) {
    std::vector<ItemRecord*> selected;
    for (ItemRecord* record : list) {
        if (IsSelected(record)) {
            selected.push_back(record);
        }
    }
    return selected;
}

EditHooks WindowHooks(CommandWindow& window) {
    return {.refreshUndoCommands = [&window] { window.RefreshUndoCommands(); }};
}

Rect Union(const Rect& a, const Rect& b) {
    if (a.right <= a.left || a.bottom <= a.top) {
        return b;
    }
    if (b.right <= b.left || b.bottom <= b.top) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// ---- geometry of the transforms ----

// A point map of a transform, applied to whole pixels.
struct PointMap {
    enum class Kind { Mirror, Flip, Turn } kind;
    Point centre;
    int32_t turn = 0; // +1 counter-clockwise on the screen, -1 clockwise

    Point operator()(Point p) const {
        const int64_t dx = static_cast<int64_t>(p.x) - centre.x;
        const int64_t dy = static_cast<int64_t>(p.y) - centre.y;
        switch (kind) {
        case Kind::Mirror:
            return {SaturatingAdd(centre.x, -dx), p.y};
        case Kind::Flip:
            return {p.x, SaturatingAdd(centre.y, -dy)};
        case Kind::Turn:
            // y grows downwards: a counter-clockwise quarter takes right to up.
            return turn > 0 ? Point{SaturatingAdd(centre.x, dy), SaturatingAdd(centre.y, -dx)}
                            : Point{SaturatingAdd(centre.x, -dy), SaturatingAdd(centre.y, dx)};
        }
        return p;
    }
    bool reflects() const { return kind != Kind::Turn; }
    // The map's change of an angle in degrees, counter-clockwise.
    double Angle(double degrees) const {
        const double turned = kind == Kind::Mirror ? 180.0 - degrees
                              : kind == Kind::Flip ? 360.0 - degrees
                                                   : degrees + 90.0 * turn;
        const double reduced = std::fmod(turned, 360.0);
        return reduced < 0.0 ? reduced + 360.0 : reduced;
    }
    // The same for radians in [0, 2pi).
    double Radians(double angle) const {
        const double turned = kind == Kind::Mirror ? kPi - angle
                              : kind == Kind::Flip ? -angle
                                                   : angle + turn * kPi / 2.0;
        return ReducedAngle(turned);
    }
};

void MapPoint(const PointMap& map, Int32Field& x, Int32Field& y) {
    const Point mapped = map({x, y});
    x = mapped.x;
    y = mapped.y;
}

void MapEnds(ItemRecord* item, const PointMap& map) {
    MapPoint(map, item->x1, item->y1);
    MapPoint(map, item->x2, item->y2);
}

void MapNodes(ItemRecord* item, const PointMap& map) {
    for (PointNode& node : item->pointList) {
        const Point point = map({node.x, node.y});
        const Point ctrl1 = map({node.ctrl1X, node.ctrl1Y});
        const Point ctrl2 = map({node.ctrl2X, node.ctrl2Y});
        node = {.x = point.x,
                .y = point.y,
                .ctrl1X = ctrl1.x,
                .ctrl1Y = ctrl1.y,
                .ctrl2X = ctrl2.x,
                .ctrl2Y = ctrl2.y,
                .flag1 = node.flag1,
                .flag2 = node.flag2};
    }
    // An arc runs counter-clockwise from its start to its end; reflected, it runs the other way,
    // so its reflected end is its new start.
    if ((item->kind == ItemKind::Pie || item->kind == ItemKind::Arc) && map.reflects() &&
        item->pointList.size() >= 3) {
        std::swap(item->pointList[1], item->pointList[2]);
    }
}

// A text or picture box reflected as a box: its two x (or y) values swap sides, so that a text
// keeps reading from left to right and a picture keeps its orientation.
void ReflectBox(ItemRecord* item, const PointMap& map) {
    if (map.kind == PointMap::Kind::Mirror) {
        const int32_t x1 = item->x1, x2 = item->x2;
        item->x1 = map({x2, 0}).x;
        item->x2 = map({x1, 0}).x;
    } else {
        const int32_t y1 = item->y1, y2 = item->y2;
        item->y1 = map({0, y2}).y;
        item->y2 = map({0, y1}).y;
    }
}

// A picture's box moved so that its centre follows the map; its size stays.
void MoveBoxCentre(ItemRecord* item, const PointMap& map) {
    const Point centre{SaturateInt32((static_cast<int64_t>(item->x1) + item->x2) / 2),
                       SaturateInt32((static_cast<int64_t>(item->y1) + item->y2) / 2)};
    const Point moved = map(centre);
    const int64_t dx = static_cast<int64_t>(moved.x) - centre.x;
    const int64_t dy = static_cast<int64_t>(moved.y) - centre.y;
    item->x1 = SaturatingAdd(item->x1, dx);
    item->y1 = SaturatingAdd(item->y1, dy);
    item->x2 = SaturatingAdd(item->x2, dx);
    item->y2 = SaturatingAdd(item->y2, dy);
}

// The point a shape turns and reflects about when it is not in a group.
Point ShapeCentre(const ItemRecord& shape) {
    const std::vector<PointNode>& points = shape.pointList;
    switch (static_cast<int32_t>(shape.kind)) {
    case ItemKind::Circle:
    case ItemKind::Ellipse:
    case ItemKind::Polygon:
    case ItemKind::Star:
    case ItemKind::Pie:
    case ItemKind::Arc:
        return PointAt(points, 1);
    default:
        break;
    }
    if (points.empty()) {
        return {};
    }
    int64_t sumX = 0, sumY = 0;
    for (const PointNode& node : points) {
        sumX += node.x;
        sumY += node.y;
    }
    const double count = static_cast<double>(points.size());
    return {nearest(static_cast<double>(sumX) / count), nearest(static_cast<double>(sumY) / count)};
}

// A clip not in a group is mirrored, flipped and turned as a picture about the middle of its box:
// the drawing mirrors it by the sign of its scales and turns it by its rotation, and a reflection
// of a turned picture is the reflected picture turned the other way.
void TransformPicture(ItemRecord* clip, const PointMap& map) {
    ClearChildList(clip);
    if (map.kind == PointMap::Kind::Mirror) {
        clip->scaleX = -double(clip->scaleX);
    } else if (map.kind == PointMap::Kind::Flip) {
        clip->scaleY = -double(clip->scaleY);
    }
    if (map.reflects()) {
        clip->rotation = ReducedAngle(-double(clip->rotation));
    } else {
        clip->rotation = map.Radians(clip->rotation);
    }
}

// A member of a group, taken along with the group about the marker's centre.
void TransformMember(ItemRecord* item, const PointMap& map) {
    switch (static_cast<int32_t>(item->kind)) {
    case ItemKind::Text:
        if (map.reflects()) {
            ReflectBox(item, map);
        } else {
            MapEnds(item, map);
            item->escapement =
                static_cast<int32_t>(((int64_t{item->escapement} + 900 * map.turn) % 3600 + 3600) % 3600);
            if (item->textAngle >= 0) {
                item->textAngle = nearest(map.Angle(item->textAngle)) % 360;
            }
        }
        break;
    case ItemKind::Line:
        MapEnds(item, map);
        if (item->fixedAngle >= 0.0) {
            item->fixedAngle = map.Angle(item->fixedAngle);
        }
        break;
    case ItemKind::Clip:
        ClearChildList(item);
        if (item->clipShape == ClipShape::Round) {
            MapEnds(item, map);
        } else if (map.reflects()) {
            ReflectBox(item, map);
        } else {
            MoveBoxCentre(item, map);
        }
        if (!map.reflects()) {
            item->rotation = map.Radians(item->rotation);
        }
        break;
    default:
        if (IsShapeKind(item->kind)) {
            MapNodes(item, map);
        }
        break;
    }
}

// Points, bounds and world values derived again after an item's points changed.
void Refit(ItemRecord* item, const EditMetrics& metrics) {
    if (IsShapeKind(item->kind)) {
        ShapeBounds(item, metrics.screen, metrics.markerWidth, metrics.markerHeight);
    } else {
        SetWorldFromPixels(item, metrics.screen);
        DeriveBounds(item);
        if (item->kind == ItemKind::Line || item->kind == ItemKind::Text) {
            item->direction = PointDirection({item->x1, item->y1}, {item->x2, item->y2});
        }
    }
    // The drag base and the saved points are what the next drag starts from.
    item->baseX1 = item->x1;
    item->baseY1 = item->y1;
    item->baseX2 = item->x2;
    item->baseY2 = item->y2;
    item->rotationBase = item->rotation;
    SaveCurrentAsSaved(item->pointList);
}

void TransformItems(ItemList& list, const PointMap& base, const EditMetrics& metrics) {
    std::unordered_set<int32_t> groupsDone;
    const std::vector<ItemRecord*> selected = Selected(list);
    for (ItemRecord* item : selected) {
        if (IsMarker(item)) {
            if (item->groupId <= 0 || !groupsDone.insert(item->groupId).second) {
                continue;
            }
            PointMap map = base;
            map.centre = {item->x1, item->y1};
            for (ItemRecord* member : selected) {
                if (member->groupId == item->groupId && IsDesignItemKind(member->kind)) {
                    TransformMember(member, map);
                    Refit(member, metrics);
                }
            }
            // The marker's rotation dot stands a quarter turn clockwise of its direction.
            item->direction = ReducedAngle(map.Radians(item->direction - kPi / 2.0) + kPi / 2.0);
            continue;
        }
        if (item->groupId > 0) {
            continue; // a member moves only with its group
        }
        PointMap map = base;
        if (IsShapeKind(item->kind)) {
            map.centre = ShapeCentre(*item);
            MapNodes(item, map);
        } else if (item->kind == ItemKind::Clip) {
            TransformPicture(item, map);
        } else {
            continue; // a line or text on its own stays as it is
        }
        Refit(item, metrics);
    }
}

// ---- attribute changes ----

// The common steps of every attribute command: the selection opened for editing, the change made
// on the selected items it applies to, and the area they covered before and after repainted.
template <typename Applies, typename Change>
bool ChangeSelection(ItemList& list, CommandWindow& window, Applies applies, Change change) {
    if (std::none_of(list.begin(), list.end(),
                     [&](const ItemRecord* record) { return IsSelected(record) && applies(*record); })) {
        return false;
    }
    window.BeginEdit(false);
    const EditMetrics metrics = window.editMetrics();
    Rect area = SelectionArea(list, window.editCanvas(), metrics);
    for (ItemRecord* item : Selected(list)) {
        if (applies(*item)) {
            change(item);
            Refit(item, metrics);
        }
    }
    area = Union(area, SelectionArea(list, window.editCanvas(), metrics));
    window.RedrawArea(area);
    window.RefreshUndoCommands();
    return true;
}

bool IsLineOrShape(const ItemRecord& item) {
    return HasOutlinePen(item.kind);
}
bool IsLine(const ItemRecord& item) {
    return item.kind == ItemKind::Line;
}
bool IsText(const ItemRecord& item) {
    return item.kind == ItemKind::Text;
}
bool IsClip(const ItemRecord& item) {
    return item.kind == ItemKind::Clip;
}
bool IsDesignItem(const ItemRecord& item) {
    return IsDesignItemKind(item.kind);
}

// A line turned about its first point to a direction, keeping its length.
void TurnLine(ItemRecord* line, double degrees) {
    const Point first{line->x1, line->y1};
    const double length = PointDistance(first, {line->x2, line->y2});
    const Point second = PolarPoint(first, degrees * kPi / 180.0, length);
    line->x2 = second.x;
    line->y2 = second.y;
}

// A text's baseline turned about its midpoint to a direction, keeping its length.
void TurnBaseline(ItemRecord* text, double degrees) {
    const Point a{text->x1, text->y1}, b{text->x2, text->y2};
    const double half = PointDistance(a, b) / 2.0;
    const Point middle{SaturateInt32((static_cast<int64_t>(a.x) + b.x) / 2),
                       SaturateInt32((static_cast<int64_t>(a.y) + b.y) / 2)};
    const double angle = degrees * kPi / 180.0;
    const Point first = PolarPoint(middle, angle + kPi, half);
    const Point second = PolarPoint(middle, angle, half);
    text->x1 = first.x;
    text->y1 = first.y;
    text->x2 = second.x;
    text->y2 = second.y;
}

// A chosen angle in whole degrees (negative: none) with its escapement in tenths, which may hold
// the fraction of a custom angle.
void SetAngleOfText(ItemRecord* text, int32_t degrees, int32_t tenths) {
    text->textAngle = degrees < 0 ? -1 : degrees % 360;
    if (degrees >= 0) {
        text->escapement = tenths % 3600;
        TurnBaseline(text, (tenths % 3600) / 10.0);
    }
}

// A text whose font changed: its baseline as long as its widest line.
template <typename Change> auto TextLayoutChange(CommandWindow& window, Change change) {
    return [&window, change](ItemRecord* text) {
        change(text);
        if (LineCount(text) > 0) {
            if (const int32_t width = window.WidestTextLine(*text); width >= 0) {
                FitTextBaseline(text, width, window.editMetrics().screen);
            }
        }
    };
}

// The pair a kind switches within, or 0 for a kind that does not switch.
int32_t KindPair(int32_t kind) {
    switch (kind) {
    case ItemKind::Square:
        return ItemKind::Rectangle;
    case ItemKind::Rectangle:
        return ItemKind::Square;
    case ItemKind::Circle:
        return ItemKind::Ellipse;
    case ItemKind::Ellipse:
        return ItemKind::Circle;
    case ItemKind::Pie:
        return ItemKind::Arc;
    case ItemKind::Arc:
        return ItemKind::Pie;
    default:
        return 0;
    }
}

// The points of a shape switched to the other kind of its pair: a square from the first side of
// a rectangle, a circle through the end of an ellipse's first axis, an ellipse as wide as its
// circle; a rectangle keeps a square's corners, and pies and arcs their points.
void SwitchKind(ItemRecord* shape, int32_t kind) {
    std::vector<PointNode>& points = shape->pointList;
    const Point p1 = PointAt(points, 1), p2 = PointAt(points, 2);
    if (points.size() >= 2 && (kind == ItemKind::Square || kind == ItemKind::Circle)) {
        SquareFromEdge(points, p1, p2);
    } else if (points.size() >= 2 && kind == ItemKind::Ellipse) {
        std::vector<PointNode> square;
        SquareFromEdge(square, p1, p2);
        points = {square[0], square[1], square[3]};
    }
    shape->kind = kind;
}

void RebuildVertices(ItemRecord* shape, int32_t count) {
    std::vector<PointNode>& points = shape->pointList;
    const Point centre = PointAt(points, 1), first = PointAt(points, 2);
    const bool rebuilt = shape->kind == ItemKind::Polygon
                             ? RegularPolygonPoints(points, centre, first, count)
                             : StarPoints(points, centre, PointAt(points, 3), first, count);
    if (rebuilt) {
        shape->vertexCount = count;
    }
}

} // namespace

// ---- history ----

namespace {

template <typename Step> void HistoryCommand(ItemList& list, CommandWindow& window, Step step) {
    window.EndTextEditing();
    window.ResetTool();
    window.editCanvas().EraseMarkers();
    SelectOnly(list, nullptr);
    step();
    // A gridline brought back keeps the highlight its anchor had when it was replaced; the
    // pointer is elsewhere now, and the Delete key must not take that gridline.
    if (ItemRecord* grid = LiveGridlines(list)) {
        ClearHighlights(grid);
    }
    window.RedrawAll(true);
    window.RefreshUndoCommands();
    window.RefreshDesignControls();
}

} // namespace

void UndoCommand(ItemList& list, CommandWindow& window) {
    HistoryCommand(list, window, [&list] { Undo(list); });
}

void RedoCommand(ItemList& list, CommandWindow& window) {
    HistoryCommand(list, window, [&list] { Redo(list); });
}

void ClearHistoryCommand(ItemList& list, CommandWindow& window) {
    // The markers live in records that the clearing may remove: they go first.
    window.editCanvas().EraseMarkers();
    ClearHistory(list);
    window.RedrawAll(true);
    window.RefreshUndoCommands();
    window.RefreshDesignControls();
}

// ---- deleting and stacking ----

bool DeleteSelection(ItemList& list, CommandWindow& window) {
    if (!FirstSelected(list)) {
        return false;
    }
    window.editCanvas().EraseMarkers();
    DeleteSelection(list, WindowHooks(window));
    window.RedrawAll(true);
    window.RefreshDesignControls();
    window.SetArrowCursor();
    window.ShowPanelLater(window.HintPageShown(kDeletionHintPage) ? kDeletionHintPage : kInsertPanel);
    return true;
}

namespace {

bool StackingCommand(ItemList& list, CommandWindow& window, bool toFront) {
    window.EndTextEditing();
    if (!FirstSelected(list)) {
        return false;
    }
    window.editCanvas().EraseMarkers();
    const EditHooks hooks = WindowHooks(window);
    const bool changed = toFront ? BringSelectionToFront(list, hooks) : SendSelectionToBack(list, hooks);
    window.RedrawAll(true);
    return changed;
}

} // namespace

bool SendSelectionToBack(ItemList& list, CommandWindow& window) {
    return StackingCommand(list, window, false);
}

bool BringSelectionToFront(ItemList& list, CommandWindow& window) {
    return StackingCommand(list, window, true);
}

// ---- copy and paste ----

void CopySelection(ItemList& list, ItemList& copyList, CommandWindow& window) {
    window.EndTextEditing();
    CopyToList(list, copyList);
    window.RefreshDesignControls();
}

int Paste(ItemList& copyList, ItemList& list, CommandWindow& window) {
    window.EndTextEditing();
    window.ResetTool();
    if (!FindRecord(copyList, ItemKind::Header) || !FindRecord(list, ItemKind::Header)) {
        return 0;
    }
    window.editCanvas().EraseMarkers();
    const EditMetrics metrics = window.editMetrics();
    const int pasted =
        PasteFromList(copyList, list, WindowHooks(window), metrics.markerWidth, metrics.markerHeight);
    window.RefreshDesignControls();
    if (const int panel = PanelForSelection(list, nullptr); panel != 0) {
        window.ShowPanel(panel);
    }
    window.StartPlacement();
    return pasted;
}

void CopyAreaPicture(CommandWindow& window) {
    window.editCanvas().EraseMarkers();
    window.StartClipboardJob();
}

// ---- groups and transforms ----

namespace {

template <typename GroupEdit> void GroupCommand(ItemList& list, CommandWindow& window, GroupEdit edit) {
    if (!FirstSelected(list)) {
        return;
    }
    EditHooks hooks = WindowHooks(window);
    hooks.makeNewVersions = [&window](ItemList&) { window.BeginEdit(false); };
    edit(list, hooks);
    window.RedrawAll(true);
    window.RefreshUndoCommands();
    window.RefreshDesignControls();
}

} // namespace

void JoinSelection(ItemList& list, CommandWindow& window) {
    GroupCommand(list, window, [](ItemList& design, const EditHooks& hooks) { JoinItems(design, hooks); });
}

void SplitSelection(ItemList& list, CommandWindow& window) {
    GroupCommand(list, window, [](ItemList& design, const EditHooks& hooks) { SplitGroup(design, hooks); });
}

bool TransformSelection(ItemList& list, CommandWindow& window, bool mirror, bool flip, int32_t rotate) {
    if (!FirstSelected(list)) {
        return false;
    }
    window.BeginEdit(false);
    const EditMetrics metrics = window.editMetrics();
    if (mirror) {
        TransformItems(list, {PointMap::Kind::Mirror, {}}, metrics);
    }
    if (flip) {
        TransformItems(list, {PointMap::Kind::Flip, {}}, metrics);
    }
    if (rotate != 0) {
        TransformItems(list, {PointMap::Kind::Turn, {}, rotate > 0 ? 1 : -1}, metrics);
    }
    window.RedrawAll(true);
    window.RefreshUndoCommands();
    return true;
}

// ---- attribute commands ----

bool SetOutlineColor(ItemList& list, CommandWindow& window, int32_t colour) {
    return ChangeSelection(list, window, IsLineOrShape, [colour](ItemRecord* item) { item->color = colour; });
}

bool SetOutlineAndTextColor(ItemList& list, CommandWindow& window, int32_t colour) {
    return ChangeSelection(
        list, window, [](const ItemRecord& item) { return IsLineOrShape(item) || IsText(item); },
        [colour](ItemRecord* item) { (IsText(*item) ? item->textColor : item->color) = colour; });
}

bool SetClipFrameColor(ItemList& list, CommandWindow& window, int32_t colour) {
    return ChangeSelection(list, window, IsClip, [colour](ItemRecord* clip) {
        clip->color = colour;
        ClearChildList(clip);
    });
}

bool SetOutlineWeight(ItemList& list, CommandWindow& window, double weightMm) {
    const ScreenResolution screen = window.editMetrics().screen;
    return ChangeSelection(list, window, IsLineOrShape, [weightMm, screen](ItemRecord* item) {
        item->lineWeight = weightMm;
        item->penWidthPx = PenWidthPixels(1.0, weightMm, screen);
        if (IsShapeKind(item->kind)) {
            item->lineWeightBase = weightMm;
        }
    });
}

bool SetClipFrameWeight(ItemList& list, CommandWindow& window, double weightMm) {
    return ChangeSelection(list, window, IsClip, [weightMm](ItemRecord* clip) {
        clip->lineWeight = weightMm;
        clip->hasFrame = weightMm != 0.0 ? 1 : 0;
        ClearChildList(clip);
    });
}

bool SetFillColor(ItemList& list, CommandWindow& window, int32_t fill) {
    return ChangeSelection(list, window, IsLineOrShape, [fill](ItemRecord* item) { item->fillColor = fill; });
}

bool SetDashPattern(ItemList& list, CommandWindow& window, int32_t pattern) {
    return ChangeSelection(list, window, IsLine,
                           [pattern](ItemRecord* line) { line->dashPattern = pattern; });
}

bool SetLineDirection(ItemList& list, CommandWindow& window, double degrees) {
    const bool preset = std::isfinite(degrees) && degrees >= 0.0;
    return ChangeSelection(list, window, IsLine, [degrees, preset](ItemRecord* line) {
        line->fixedAngle = preset ? degrees : -1.0;
        if (preset) {
            TurnLine(line, degrees);
        }
    });
}

bool SetLineOutlineWeight(ItemList& list, CommandWindow& window, double weightMm) {
    return ChangeSelection(list, window, IsLine,
                           [weightMm](ItemRecord* line) { line->lineWeightBase = weightMm; });
}

bool SetShadow(ItemList& list, CommandWindow& window, const ShadowStyle& shadow) {
    return ChangeSelection(list, window, IsDesignItem, [shadow](ItemRecord* item) {
        item->shadowElevation = shadow.elevation;
        item->shadowFade = shadow.fade;
        item->shadowLightness = shadow.lightness;
    });
}

bool SetSurface(ItemList& list, CommandWindow& window, uint8_t surface) {
    return ChangeSelection(list, window, IsDesignItem, [surface](ItemRecord* item) {
        item->surface = surface;
        ClearChildList(item);
    });
}

bool SetClipColours(ItemList& list, CommandWindow& window, int32_t saturation, int32_t contrast,
                    int32_t lightness) {
    return ChangeSelection(list, window, IsClip, [=](ItemRecord* clip) {
        clip->saturation = saturation;
        clip->contrast = contrast;
        clip->lightness = lightness;
        ClearChildList(clip);
    });
}

bool SetTextColor(ItemList& list, CommandWindow& window, int32_t colour) {
    return ChangeSelection(list, window, IsText, [colour](ItemRecord* text) { text->textColor = colour; });
}

bool SetTextFont(ItemList& list, CommandWindow& window, std::string_view name, int32_t charset) {
    const std::string face(name);
    return ChangeSelection(list, window, IsText, TextLayoutChange(window, [face, charset](ItemRecord* text) {
                               SetFontName(*text, face);
                               if (charset >= 0) {
                                   text->charset = charset;
                               }
                           }));
}

bool SetFontSize(ItemList& list, CommandWindow& window, int32_t points) {
    return ChangeSelection(list, window, IsText,
                           TextLayoutChange(window, [points](ItemRecord* text) { text->fontSize = points; }));
}

bool SetFontWeight(ItemList& list, CommandWindow& window, int32_t weight) {
    return ChangeSelection(list, window, IsText, TextLayoutChange(window, [weight](ItemRecord* text) {
                               text->fontWeight = weight;
                           }));
}

bool SetItalic(ItemList& list, CommandWindow& window, bool on) {
    return ChangeSelection(list, window, IsText,
                           TextLayoutChange(window, [on](ItemRecord* text) { text->italic = on ? 1 : 0; }));
}

bool SetUnderline(ItemList& list, CommandWindow& window, bool on) {
    return ChangeSelection(list, window, IsText, [on](ItemRecord* text) { text->underline = on ? 1 : 0; });
}

bool SetStrikeOut(ItemList& list, CommandWindow& window, bool on) {
    return ChangeSelection(list, window, IsText, [on](ItemRecord* text) { text->strikeOut = on ? 1 : 0; });
}

bool SetTextAlignment(ItemList& list, CommandWindow& window, int32_t alignment) {
    return ChangeSelection(list, window, IsText, [alignment](ItemRecord* text) {
        text->alignment = static_cast<uint8_t>(alignment);
    });
}

bool SetTextAngle(ItemList& list, CommandWindow& window, int32_t degrees) {
    return ChangeSelection(list, window, IsText, [degrees](ItemRecord* text) {
        SetAngleOfText(text, degrees, (degrees % 360) * 10);
    });
}

void TakeTextDefaults(ItemRecord& text, const currentState_t& state) {
    text.fontSize = state.tsize;
    text.textColor = state.tcolor;
    SetAngleOfText(&text, state.tdir, state.tangle >= 0 ? state.tangle : (state.tdir % 360) * 10);
    text.fontWeight = state.tbold;
    text.italic = state.titalic;
    text.underline = state.tunderline;
    text.strikeOut = state.tstrikeOut;
    text.alignment = state.talignment;
    SetFontName(text, state.tfont);
    text.charset = state.tcharset;
}

bool ApplyTextDefaults(ItemList& list, CommandWindow& window, const currentState_t& state) {
    return ChangeSelection(list, window, IsText, TextLayoutChange(window, [&state](ItemRecord* text) {
                               TakeTextDefaults(*text, state);
                           }));
}

bool SetShapeKind(ItemList& list, CommandWindow& window, int32_t kind) {
    const int32_t pair = KindPair(kind);
    if (pair == 0) {
        return false;
    }
    return ChangeSelection(
        list, window, [kind, pair](const ItemRecord& item) { return item.kind == kind || item.kind == pair; },
        [kind](ItemRecord* shape) {
            if (shape->kind != kind) {
                SwitchKind(shape, kind);
            }
        });
}

bool SetVertexCount(ItemList& list, CommandWindow& window, int32_t count) {
    if (!IsDrawableVertexCount(count)) {
        return false;
    }
    return ChangeSelection(
        list, window,
        [](const ItemRecord& item) { return item.kind == ItemKind::Polygon || item.kind == ItemKind::Star; },
        [count](ItemRecord* shape) { RebuildVertices(shape, count); });
}

bool SetShapeMode(ItemList& list, CommandWindow& window, int32_t mode) {
    if (mode < ShapeMode::Open || mode > ShapeMode::Filled) {
        return false;
    }
    return ChangeSelection(
        list, window,
        [](const ItemRecord& item) { return item.kind == ItemKind::Spline || item.kind == ItemKind::Curve; },
        [mode](ItemRecord* shape) {
            shape->shapeMode = mode;
            if (shape->kind == ItemKind::Curve) {
                SmoothCurve(shape->pointList, mode, shape->tension);
            }
        });
}

std::optional<int32_t> LinePatternFor(ItemList& list, std::span<const double> segmentsMm) {
    ItemRecord wanted;
    const size_t used = std::min<size_t>(segmentsMm.size(), wanted.segmentLengths.size());
    wanted.segmentCount = static_cast<int32_t>(used);
    for (size_t i = 0; i < used; ++i) {
        wanted.segmentLengths[i] = segmentsMm[i];
    }
    for (ItemRecord* record : list) {
        if (record->recordClass == RecordClass::LinePattern && SameLinePattern(record, &wanted)) {
            return int32_t(record->kind);
        }
    }
    const std::optional<int32_t> id = NextPatternId(list);
    if (!id) {
        return std::nullopt;
    }
    ItemRecord* definition = CreateRecord(list, *id);
    definition->recordClass = RecordClass::LinePattern;
    definition->segmentCount = wanted.segmentCount;
    for (size_t i = 0; i < wanted.segmentLengths.size(); ++i) {
        definition->segmentLengths[i] = i < used ? segmentsMm[i] : 0.0;
    }
    return id;
}

void FitTextBaseline(ItemRecord* text, int32_t width, const ScreenResolution& screen) {
    const double angle = TenthsToRadians(text->escapement);
    const Point first{text->x1, text->y1}, second{text->x2, text->y2};
    switch (static_cast<int32_t>(text->alignment)) {
    case TextAlignment::Right: { // the second point stays
        const Point start = PolarPoint(second, angle + kPi, width);
        text->x1 = start.x;
        text->y1 = start.y;
        break;
    }
    case TextAlignment::Centre: { // the midpoint stays
        const Point middle{SaturateInt32((static_cast<int64_t>(first.x) + second.x) / 2),
                           SaturateInt32((static_cast<int64_t>(first.y) + second.y) / 2)};
        const Point start = PolarPoint(middle, angle + kPi, width / 2.0);
        const Point end = PolarPoint(middle, angle, width / 2.0);
        text->x1 = start.x;
        text->y1 = start.y;
        text->x2 = end.x;
        text->y2 = end.y;
        break;
    }
    default: { // left aligned: the first point stays
        const Point end = PolarPoint(first, angle, width);
        text->x2 = end.x;
        text->y2 = end.y;
        break;
    }
    }
    SetWorldFromPixels(text, screen);
    DeriveBounds(text);
    text->direction = PointDirection({text->x1, text->y1}, {text->x2, text->y2});
}

// ---- tagging ----

int32_t UnusedTag(const ItemList& list, std::mt19937& random) {
    std::unordered_set<int32_t> used;
    for (const ItemRecord* record : list) {
        used.insert(record->tagList.begin(), record->tagList.end());
    }
    std::uniform_int_distribution<int32_t> draw(0, 2147483646);
    while (true) {
        const int32_t tag = draw(random);
        if (!used.count(tag)) {
            return tag;
        }
    }
}

void StampTag(ItemList& list, int32_t tag) {
    for (ItemRecord* record : list) {
        if (IsSelected(record)) {
            record->tagList.push_back(tag);
        }
    }
}

int32_t TagSelection(ItemList& list, std::mt19937& random) {
    const int32_t tag = UnusedTag(list, random);
    StampTag(list, tag);
    return tag;
}

bool SelectTagged(ItemList& list, int32_t tag) {
    bool found = false;
    for (ItemRecord* record : list) {
        const bool visible = IsLiveItem(record) && record->suspended == 0 &&
                             (IsDesignItemKind(record->kind) || IsMarker(record));
        const bool tagged = visible && std::find(record->tagList.begin(), record->tagList.end(), tag) !=
                                           record->tagList.end();
        record->selected = tagged ? 255 : 0;
        found = found || tagged;
    }
    return found;
}

bool SelectTagged(ItemList& list, CommandWindow& window, int32_t tag) {
    window.editCanvas().EraseMarkers();
    const bool found = SelectTagged(list, tag);
    if (found) {
        window.SelectionChanged();
    }
    window.RefreshDesignControls();
    return found;
}

// ---- rendering quality ----

bool ApplyPictureQuality(ItemList& list, CommandWindow& window, int32_t& designQuality, int32_t quality) {
    quality = std::clamp(quality, 0, 3);
    if (quality == designQuality) {
        return false;
    }
    designQuality = quality;
    for (ItemRecord* record : list) {
        if (record->kind == ItemKind::Clip) {
            ClearChildList(record);
        }
    }
    window.RedrawAll(true);
    return true;
}

} // namespace vlr
