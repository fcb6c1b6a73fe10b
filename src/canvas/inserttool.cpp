// The insertion tools.
#include "canvas/inserttool.h"

#include "model/history.h"
#include "model/itemlist.h"
#include "model/outline.h"
#include "render/devicescale.h"
#include "render/drawdesign.h"
#include "settings/params.h"
#include "settings/stylelists.h"

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

constexpr int32_t kContinueSpline = 297;
constexpr int32_t kContinueCurve = 298;
// How far the ellipse's second point moves down when it lies on the centre, design pixels.
constexpr int32_t kEllipseNudge = 10;

bool IsPointListMode(int32_t mode) {
    return mode == 100 || mode == 101 || mode == 102 || mode == 104 || (mode >= 109 && mode <= 112) ||
           mode == kContinueSpline || mode == kContinueCurve;
}

bool IsSplineMode(int32_t mode) {
    return (mode >= 109 && mode <= 112) || mode == kContinueSpline || mode == kContinueCurve;
}

bool IsCurveMode(int32_t mode) {
    return mode == 111 || mode == 112 || mode == kContinueCurve;
}

bool IsContinuation(int32_t mode) {
    return mode == kContinueSpline || mode == kContinueCurve;
}

// ---- the settings, checked where they are used ----

double CheckedWeightMm(double weight) {
    return std::isfinite(weight) && weight >= 0.0 && weight <= kLargestWeightMm ? weight : 0.0;
}

// Degrees 0 ... < 360, or -1 for none.
double CheckedDirection(double degrees) {
    return std::isfinite(degrees) && degrees >= 0.0 ? std::fmod(degrees, 360.0) : -1.0;
}

// Tenths of a degree 0 ... 3599, or -1 for none.
int32_t CheckedTenths(int32_t tenths) {
    return tenths >= 0 ? tenths % 3600 : -1;
}

double CheckedTension(double tension) {
    return std::isfinite(tension) && tension > 0.0 && tension < 10.0 ? tension : kDefaultTension;
}

uint8_t CheckedByte(int32_t value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

int32_t SplineShapeMode(const TParams& params) {
    return CheckedShapeMode(params.state.polyshape);
}

int32_t CurveShapeMode(const TParams& params) {
    return CheckedShapeMode(params.state.bpolyshape);
}

void SetShadow(ItemRecord* item, const ShadowStyle& shadow) {
    item->shadowElevation = shadow.elevation;
    item->shadowFade = shadow.fade;
    item->shadowLightness = shadow.lightness;
}

// The shape defaults of a new shape.
void SetShapeStyle(ItemRecord* item, const TParams& params) {
    const currentState_t& state = params.state;
    const double weight = CheckedWeightMm(state.polywidth);
    item->color = state.polycolor;
    item->lineWeight = weight;
    item->lineWeightBase = weight;
    item->penWidthPx = PenWidthPixels(1.0, weight, params.screen);
    item->dashPattern = 0;
    item->fillColor = state.polyfill;
    item->fixedAngle = -1.0;
    item->tension = CheckedTension(params.splineHandleFactor);
    SetShadow(item, state.shpoly);
    item->surface = CheckedByte(state.poplas);
    item->historyState = kUndoable;
    item->replaces = 0;
}

// Integer points, world values and bounds from the box corners.
void SetBox(ItemRecord* item, const Rect& box, const ScreenResolution& screen) {
    item->x1 = box.left;
    item->y1 = box.top;
    item->x2 = box.right;
    item->y2 = box.bottom;
    SetWorldFromPixels(item, screen);
    DeriveBounds(item);
}

Rect Around(Point centre, int64_t radius) {
    return {SaturateInt32(centre.x - radius), SaturateInt32(centre.y - radius),
            SaturateInt32(centre.x + radius), SaturateInt32(centre.y + radius)};
}

// The dash pattern of a new line: a built-in one, a custom one (its definition added to the
// design), or solid when the list position names neither.
int32_t LineDashPattern(ItemList& list, const TParams& params) {
    const int32_t position = params.state.linePattern, slot = params.state.linePatternTab;
    if (position >= 0 && position <= 4) {
        return position;
    }
    if (position <= 5 || slot < 1 || slot > kSlotCount) {
        return 0;
    }
    const std::optional<int32_t> id = NextPatternId(list);
    if (!id) {
        return 0;
    }
    const custPatternRec_t& pattern = params.slots.patterns[static_cast<size_t>(slot - 1)];
    ItemRecord* definition = CreateRecord(list, *id);
    definition->recordClass = RecordClass::LinePattern;
    definition->kind = *id;
    const int32_t count = std::clamp(pattern.count, 0, 12);
    for (int32_t i = 0; i < 12; ++i) {
        const double length = pattern.millimetres[static_cast<size_t>(i)];
        definition->segmentLengths[static_cast<size_t>(i)] =
            i < count && std::isfinite(length) ? length : 0.0;
    }
    definition->segmentCount = count;
    return *id;
}

// The text defaults of a new text.
void SetTextStyle(ItemRecord* text, const TParams& params) {
    const currentState_t& state = params.state;
    text->fontSize = CheckedFontSize(state.tsize);
    text->textColor = state.tcolor;
    text->fontWeight = CheckedFontWeight(state.tbold);
    text->italic = state.titalic;
    text->underline = state.tunderline;
    text->strikeOut = state.tstrikeOut;
    text->alignment = state.talignment;
    SetFontName(*text, state.tfont);
    text->charset = state.tcharset;
    text->textAngle = state.tdir < 0 ? -1 : state.tdir % 360;
    SetShadow(text, state.shtext);
    text->surface = CheckedByte(state.txplas);
    text->historyState = kUndoable;
    SetText(text, u"");
}

void SetEnds(ItemRecord* item, Point start, Point end, const ScreenResolution& screen) {
    item->x1 = start.x;
    item->y1 = start.y;
    item->x2 = end.x;
    item->y2 = end.y;
    SetWorldFromPixels(item, screen);
    DeriveBounds(item);
    item->direction = PointDirection(start, end);
}

int32_t TenthsOf(double radians) {
    const int32_t tenths = nearest(radians * 1800.0 / kPi) % 3600;
    return tenths < 0 ? tenths + 3600 : tenths;
}

// ---- the gesture ----

Point Snapped(const InsertTarget& t, Point canvas) {
    return SnapPoint(t.window.snapFrame(), canvas);
}

Point Design(const InsertTarget& t, Point canvas) {
    return t.window.DesignFromCanvas(canvas);
}

void ShowHint(InsertTarget& t, int code) {
    if (HintShown(t.params, code)) {
        t.window.ShowPanel(code);
    }
}

void ErasePreview(InsertTarget& t) {
    if (RestoreArea(t.input.bandUnder, t.window.raster())) {
        t.window.CanvasChanged();
    }
}

Rect Union(const Rect& a, const Rect& b) {
    if (a.right <= a.left || a.bottom <= a.top) {
        return b;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

// The rubber band: the drafts of scratch drawn quickly, and guide polylines (canvas pixels) in
// the rubber-band pen, over the pixels saved under them.
void ShowPreview(InsertTarget& t, ItemList& scratch, const std::vector<std::vector<Point>>& guides = {}) {
    RasterCanvas& raster = t.window.raster();
    RestoreArea(t.input.bandUnder, raster);
    Rect area;
    std::vector<ItemRecord*> drafts;
    for (ItemRecord* draft : scratch) {
        if (IsItemClass(draft) && IsDesignItemKind(draft->kind)) {
            // A shadow could fall anywhere; the preview leaves it out and saves only its own area.
            SetShadow(draft, {});
            draft->surface = 0;
            area = Union(area, PaintedExtent(*draft, t.window));
            drafts.push_back(draft);
        }
    }
    for (const std::vector<Point>& guide : guides) {
        for (Point p : guide) {
            area = Union(area, {p.x - 2, p.y - 2, p.x + 3, p.y + 3});
        }
    }
    const Rect whole = t.window.WholeCanvas();
    area = {std::max(area.left, whole.left), std::max(area.top, whole.top), std::min(area.right, whole.right),
            std::min(area.bottom, whole.bottom)};
    if (area.right <= area.left || area.bottom <= area.top) {
        t.window.CanvasChanged();
        return;
    }
    SaveArea(t.input.bandUnder, raster, area);
    {
        CanvasLock lock(raster);
        DrawOptions quick;
        quick.shadows = quick.surfaces = false;
        for (ItemRecord* draft : drafts) {
            DrawItemAtDensity(raster, draft, scratch, t.window.transform(), quick);
        }
    }
    raster.setPen({t.window.markerStyle().bandColour, 1, PenStyle::Dotted});
    for (const std::vector<Point>& guide : guides) {
        raster.Polyline(guide);
    }
    t.window.CanvasChanged();
}

// A continued spline or curve keeps its own style in the preview.
void ApplyContinuationStyle(ItemRecord* draft, const Continuation& saved) {
    draft->kind = saved.kind;
    draft->color = saved.color;
    draft->fillColor = saved.fillColor;
    draft->shapeMode = saved.shapeMode;
    draft->lineWeight = saved.lineWeight;
    draft->tension = saved.tension;
}

int32_t PointListKind(int32_t mode) {
    return IsCurveMode(mode) ? ItemKind::Curve : ItemKind::Spline;
}

int32_t ModeShapeMode(const InsertTarget& t, int32_t mode) {
    if (mode == 110 || mode == 112) {
        return ShapeMode::Filled;
    }
    if (mode == 109) {
        return SplineShapeMode(t.params);
    }
    if (mode == 111) {
        return CurveShapeMode(t.params);
    }
    if (IsContinuation(mode)) {
        return t.input.continuation.shapeMode;
    }
    // Triangles, squares and rectangles show as closed splines while they are made.
    return ShapeMode::Closed;
}

double ModeTension(const InsertTarget& t) {
    return IsContinuation(t.input.toolMode) ? CheckedTension(t.input.continuation.tension)
                                            : CheckedTension(t.params.splineHandleFactor);
}

void RecomputeHandles(InsertTarget& t, std::vector<PointNode>& points, int32_t shapeMode) {
    if (IsCurveMode(t.input.toolMode)) {
        SmoothCurve(points, shapeMode, ModeTension(t));
    }
}

std::vector<Point> CanvasLine(const InsertTarget& t, Point a, Point b) {
    return {t.window.CanvasFromDesign(a), t.window.CanvasFromDesign(b)};
}

// The preview of the gesture with the pointer at p (design pixels, snapped).
void UpdatePreview(InsertTarget& t, Point p) {
    CanvasInput& in = t.input;
    ItemList scratch(t.list.screen);
    std::vector<std::vector<Point>> guides;
    const Point a = Design(t, in.pointA);
    const int32_t mode = in.toolMode;
    std::vector<PointNode>& points = in.insertPoints;
    if (mode == 1) {
        ItemRecord* line = CreateLine(scratch, t.params, a, p);
        if (line->fixedAngle >= 0.0) {
            guides.push_back(CanvasLine(t, {line->x1, line->y1}, {line->x2, line->y2}));
        }
    } else if (mode == 31) {
        ItemRecord* text = CreateText(scratch, t.params, a, p);
        const std::array<Point, 4> box = TextBox(*text, t.window.TextLineHeight(*text));
        std::vector<Point> frame;
        for (int k = 0; k <= 4; ++k) {
            frame.push_back(t.window.CanvasFromDesign(box[static_cast<size_t>(k % 4)]));
        }
        guides.push_back(frame);
        guides.push_back(CanvasLine(t, {text->x1, text->y1}, {text->x2, text->y2}));
        RemoveRecord(scratch, text);
    } else if (mode == 103 || mode == 199) {
        CreateFromClicks(scratch, t.params, mode == 103 ? ItemKind::Circle : ItemKind::Polygon, a, p, p, 0);
    } else if (mode == 105 || mode == 107 || mode == 108) {
        const Point b = in.clickCount >= 2 ? Design(t, in.pointB) : p;
        const int32_t kind = mode == 105 ? ItemKind::Star : mode == 107 ? ItemKind::Pie : ItemKind::Arc;
        CreateFromClicks(scratch, t.params, kind, a, b, p, 0);
    } else if (mode == 104 && points.size() >= 3) {
        CreateFromClicks(scratch, t.params, ItemKind::Ellipse, NodePoint(points[0]), NodePoint(points[1]), p,
                         0);
    } else if (mode == 104 && points.size() == 2) {
        guides.push_back(CanvasLine(t, NodePoint(points[0]), p));
    } else if (IsPointListMode(mode) && points.size() >= 2) {
        ItemRecord* draft =
            CreateFromPoints(scratch, t.params, PointListKind(mode), points, ModeShapeMode(t, mode));
        if (IsContinuation(mode)) {
            ApplyContinuationStyle(draft, in.continuation);
        }
    } else {
        return;
    }
    ShowPreview(t, scratch, guides);
}

// The points of the shape being made, its last point (or the rebuilt figure) at p.
void FollowPointer(InsertTarget& t, Point p) {
    CanvasInput& in = t.input;
    std::vector<PointNode>& points = in.insertPoints;
    const int32_t mode = in.toolMode;
    if (points.empty()) {
        return;
    }
    if (mode == 101 && in.clickCount == 1) {
        SquareFromEdge(points, NodePoint(points[0]), p);
    } else if (mode == 102 && in.clickCount == 2 && points.size() >= 3) {
        const Point p1 = NodePoint(points[0]), p2 = NodePoint(points[1]);
        const double side = PointDirection(p1, p2) * 180.0 / kPi + 90.0;
        const Point p3 = PresetDirection(p2, p, std::fmod(side + 360.0, 360.0));
        const Point p4{p3.x + p1.x - p2.x, p3.y + p1.y - p2.y};
        points.resize(4);
        for (size_t i = 0; i < 4; ++i) {
            const Point q = i == 0 ? p1 : i == 1 ? p2 : i == 2 ? p3 : p4;
            points[i] = {.x = q.x, .y = q.y, .savedX = q.x, .savedY = q.y};
        }
    } else if (mode == 104 && in.clickCount == 2 && points.size() >= 3) {
        if (points[1].x == points[0].x && points[1].y == points[0].y) {
            points[1].y += kEllipseNudge;
        }
        points[2].x = p.x;
        points[2].y = p.y;
    } else {
        PointNode& last = points.back();
        if (last.x == p.x && last.y == p.y) {
            return;
        }
        last.x = p.x;
        last.y = p.y;
        RecomputeHandles(t, points, ModeShapeMode(t, mode));
    }
}

// A fresh list of two points at p.
void StartPointList(CanvasInput& in, Point p) {
    in.insertPoints.assign(2, PointNode{.x = p.x, .y = p.y, .savedX = p.x, .savedY = p.y});
}

// After an item was made: the preview gone, the item drawn, nothing selected, the mode kept.
void Created(InsertTarget& t) {
    t.input.insertPoints.clear();
    t.input.clickCount = 0;
    t.input.bandUnder.holding = false;
    SelectOnly(t.list, nullptr);
    t.window.RecordsChanged();
    t.window.RedrawAll(false);
}

// Restores the item a continuation took, as it was.
void EndContinuation(InsertTarget& t) {
    if (ItemRecord* item = FindBySerial(t.list, t.input.continuation.serial)) {
        item->suspended = 0;
    }
    t.input.continuation = {};
}

// The continued spline or curve with the collected points, as one undo step.
void FinishContinuation(InsertTarget& t) {
    CanvasInput& in = t.input;
    ItemRecord* item = FindBySerial(t.list, in.continuation.serial);
    std::vector<PointNode> points = std::move(in.insertPoints);
    in.insertPoints.clear();
    const double tension = CheckedTension(in.continuation.tension);
    EndContinuation(t);
    in.toolMode = 0;
    in.clickCount = 0;
    in.bandUnder.holding = false;
    if (!item) {
        t.window.RedrawAll(true);
        return;
    }
    SelectOnly(t.list, item);
    t.window.BeginEdit(false);
    ItemRecord* version = SoleSelected(t.list);
    if (version && points.size() >= 2) {
        if (version->kind == ItemKind::Curve) {
            SmoothCurve(points, ShapeMode::Open, tension);
        }
        for (PointNode& node : points) {
            node.savedX = node.x;
            node.savedY = node.y;
        }
        version->pointList = std::move(points);
        FinishEdit(t.list, t.window.editMetrics());
    }
    t.window.RecordsChanged();
    t.window.RedrawAll(true);
    if (version) {
        const int base = version->kind == ItemKind::Curve ? 211 : 209;
        t.window.ShowPanel(version->shapeMode == ShapeMode::Filled ? base + 1 : base);
    }
}

// Esc, or a continuation left with too few points: the continued item comes back unchanged.
void AbandonContinuation(InsertTarget& t) {
    ErasePreview(t);
    EndContinuation(t);
    t.input.insertPoints.clear();
    t.input.toolMode = 0;
    t.input.clickCount = 0;
    t.window.RedrawAll(true);
    t.window.ShowPanel(20);
}

// The finished spline or curve (Shift-click, Enter, C).
void FinishPointList(InsertTarget& t, int32_t shapeMode) {
    CanvasInput& in = t.input;
    if (IsContinuation(in.toolMode)) {
        FinishContinuation(t);
        return;
    }
    const int32_t mode = in.toolMode;
    RecomputeHandles(t, in.insertPoints, shapeMode);
    ErasePreview(t);
    CreateFromPoints(t.list, t.params, PointListKind(mode), in.insertPoints, shapeMode);
    Created(t);
    const bool curve = IsCurveMode(mode);
    ShowHint(t, shapeMode == ShapeMode::Filled ? (curve ? 1071 : 1062) : (curve ? 1068 : 1059));
}

void ClickPointList(InsertTarget& t, Point p, bool shift) {
    CanvasInput& in = t.input;
    std::vector<PointNode>& points = in.insertPoints;
    const int32_t mode = in.toolMode;
    if (in.clickCount == 0) {
        StartPointList(in, p);
        in.clickCount = 1;
        in.turnHintShown = false;
        UpdatePreview(t, p);
        return;
    }
    if (IsSplineMode(mode)) {
        FollowPointer(t, p);
        if (shift) {
            FinishPointList(t, ModeShapeMode(t, mode));
            return;
        }
        points.push_back({.x = p.x, .y = p.y, .savedX = p.x, .savedY = p.y});
        RecomputeHandles(t, points, ModeShapeMode(t, mode));
        UpdatePreview(t, p);
        if (!in.turnHintShown && !IsContinuation(mode)) {
            in.turnHintShown = true;
            ShowHint(t, mode == 109 ? 1061 : mode == 110 ? 1064 : mode == 111 ? 1070 : 1073);
        }
        return;
    }
    const Point first = NodePoint(points[0]);
    if (in.clickCount == 1 && p == first && mode != 101) {
        return;
    }
    if (mode == 101) {
        if (p == first) {
            return;
        }
        SquareFromEdge(points, first, p);
        ErasePreview(t);
        CreateFromPoints(t.list, t.params, ItemKind::Square, points, ShapeMode::Filled);
        Created(t);
        ShowHint(t, 1045);
        return;
    }
    if (in.clickCount == 1) {
        points.resize(2);
        points[1] = {.x = p.x, .y = p.y, .savedX = p.x, .savedY = p.y};
        points.push_back(points[1]);
        in.clickCount = 2;
        FollowPointer(t, p);
        UpdatePreview(t, p);
        return;
    }
    if (mode == 104) {
        if (p == first || p == NodePoint(points[1])) {
            return;
        }
        ErasePreview(t);
        CreateFromClicks(t.list, t.params, ItemKind::Ellipse, first, NodePoint(points[1]), p, 0);
        Created(t);
        ShowHint(t, 1051);
        return;
    }
    FollowPointer(t, p);
    ErasePreview(t);
    CreateFromPoints(t.list, t.params, mode == 100 ? ItemKind::Triangle : ItemKind::Rectangle, points,
                     ShapeMode::Filled);
    Created(t);
    ShowHint(t, mode == 100 ? 1043 : 1047);
}

int32_t PieMargin(const InsertTarget& t) {
    const EditMetrics metrics = t.window.editMetrics();
    const double weight = CheckedWeightMm(t.params.state.polywidth);
    return std::max(metrics.markerWidth / 2, PenWidthPixels(t.window.zoom(), weight, t.params.screen));
}

void ClickCentred(InsertTarget& t, Point canvas) {
    CanvasInput& in = t.input;
    const int32_t mode = in.toolMode;
    if (in.clickCount == 0) {
        in.pointA = canvas;
        in.clickCount = 1;
        return;
    }
    if (canvas == in.pointA) {
        return;
    }
    const bool threeClicks = mode == 105 || mode == 107 || mode == 108;
    if (threeClicks && in.clickCount == 1) {
        in.pointB = canvas;
        in.clickCount = 2;
        UpdatePreview(t, Design(t, canvas));
        return;
    }
    if (threeClicks && canvas == in.pointB) {
        return;
    }
    const Point centre = Design(t, in.pointA), p = Design(t, canvas);
    ErasePreview(t);
    int32_t kind = ItemKind::Circle;
    int hint = 1049;
    if (mode == 199) {
        kind = ItemKind::Polygon;
        hint = 1053;
    } else if (threeClicks) {
        kind = mode == 105 ? ItemKind::Star : mode == 107 ? ItemKind::Pie : ItemKind::Arc;
        hint = mode == 105 ? 1055 : mode == 107 ? 1057 : 1065;
    }
    CreateFromClicks(t.list, t.params, kind, centre, threeClicks ? Design(t, in.pointB) : p, p,
                     kind == ItemKind::Pie ? PieMargin(t) : 0);
    in.pointA = in.pointB = {};
    Created(t);
    ShowHint(t, hint);
}

void ClickLine(InsertTarget& t, Point canvas) {
    CanvasInput& in = t.input;
    if (in.clickCount == 0) {
        in.pointA = canvas;
        in.clickCount = 1;
        t.window.PanelStep(1);
        return;
    }
    ErasePreview(t);
    CreateLine(t.list, t.params, Design(t, in.pointA), Design(t, canvas));
    t.window.PanelStep(0);
    Created(t);
    if (t.window.LinePanelShowing()) {
        ShowHint(t, 1024);
    }
}

void ClickText(InsertTarget& t, Point canvas) {
    CanvasInput& in = t.input;
    if (in.clickCount == 0) {
        in.pointA = canvas;
        in.clickCount = 1;
        t.window.ShowPanel(HintShown(t.params, 1035) ? 1035 : 302);
        return;
    }
    if (in.clickCount != 1) {
        return;
    }
    ErasePreview(t);
    in.bandUnder.holding = false;
    ItemRecord* text = CreateText(t.list, t.params, Design(t, in.pointA), Design(t, canvas));
    // Typing goes on into the new text, which stays selected with its frame.
    SelectOnly(t.list, text);
    in.typingSerial = text->serial;
    in.clickCount = 2;
    t.window.RecordsChanged();
    t.window.RedrawAll(true);
}

// Esc during insertion.
bool EscapeInsertion(InsertTarget& t) {
    CanvasInput& in = t.input;
    const int32_t mode = in.toolMode;
    if (in.clickCount == 0) {
        return false;
    }
    if (IsContinuation(mode)) {
        AbandonContinuation(t);
        in.inputBlocked = true;
        return true;
    }
    ErasePreview(t);
    in.clickCount = 0;
    in.inputBlocked = true;
    if (mode == 1) {
        t.window.PanelStep(0);
    }
    if (mode >= 100 && mode <= 199) {
        in.pointA = in.pointB = {};
        in.insertPoints.clear();
        t.window.RedrawAll(true);
        const int startPage = mode == 109 ? 1059 : mode == 110 ? 1062 : mode == 111 ? 1068 : 1071;
        if (IsSplineMode(mode) && HintShown(t.params, startPage)) {
            t.window.ShowPanel(mode);
        }
    }
    return true;
}

// The panel a spline or curve mode shows again when its insertion is abandoned.
int ModePanel(const InsertTarget& t, int32_t mode) {
    if (mode == 109 || mode == 110) {
        return SplineShapeMode(t.params) == ShapeMode::Filled ? 110 : 109;
    }
    return CurveShapeMode(t.params) == ShapeMode::Filled ? 112 : 111;
}

// Enter or Backspace left fewer than two points: nothing is made, and a continued item comes back
// as Esc brings it back rather than staying hidden.
void DropTooFewPoints(InsertTarget& t, bool showModePanel) {
    const int32_t mode = t.input.toolMode;
    if (IsContinuation(mode)) {
        AbandonContinuation(t);
        return;
    }
    ErasePreview(t);
    t.input.insertPoints.clear();
    t.input.clickCount = 0;
    if (showModePanel) {
        t.window.ShowPanel(ModePanel(t, mode));
    }
}

bool SplineKey(InsertTarget& t, int key) {
    CanvasInput& in = t.input;
    std::vector<PointNode>& points = in.insertPoints;
    const int32_t mode = in.toolMode;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        points.pop_back();
        if (points.size() < 2) {
            DropTooFewPoints(t, false);
            return true;
        }
        const int32_t shapeMode = IsContinuation(mode) ? in.continuation.shapeMode : ModeShapeMode(t, mode);
        FinishPointList(t, shapeMode);
        return true;
    }
    if (key == Qt::Key_Backspace) {
        points.pop_back();
        if (points.size() < 2) {
            DropTooFewPoints(t, true);
            return true;
        }
        const Point p = Design(t, Snapped(t, in.mouseRaw));
        points.back().x = p.x;
        points.back().y = p.y;
        RecomputeHandles(t, points, ModeShapeMode(t, mode));
        UpdatePreview(t, p);
        return true;
    }
    if (key == Qt::Key_C) {
        const bool open = (mode == 109 && SplineShapeMode(t.params) == ShapeMode::Open) ||
                          (mode == 111 && CurveShapeMode(t.params) == ShapeMode::Open);
        if (!open || points.size() <= 3) {
            return false;
        }
        points.pop_back();
        FinishPointList(t, ShapeMode::Closed);
        return true;
    }
    return false;
}

// ---- splines and curves in select mode ----

bool IsOpenSplineOrCurve(const ItemRecord* item) {
    return item && (item->kind == ItemKind::Spline || item->kind == ItemKind::Curve) &&
           item->shapeMode == ShapeMode::Open && item->pointList.size() > 1;
}

// Ctrl-A: more points at the end of the selected open spline or curve.
bool ContinueSelected(InsertTarget& t) {
    CanvasInput& in = t.input;
    ItemRecord* item = SoleSelected(t.list);
    if (!SingleSelected(t.list) || !IsOpenSplineOrCurve(item)) {
        return false;
    }
    in.insertPoints = item->pointList;
    item->suspended = 1;
    SelectOnly(t.list, nullptr);
    in.continuation = {item->serial,    item->kind,       item->color,  item->fillColor,
                       item->shapeMode, item->lineWeight, item->tension};
    in.toolMode = item->kind == ItemKind::Curve ? kContinueCurve : kContinueSpline;
    in.clickCount = 1;
    in.bandUnder.holding = false;
    t.window.RedrawAll(false);
    const Point p = Design(t, Snapped(t, in.mouseRaw));
    in.insertPoints.push_back({.x = p.x, .y = p.y, .savedX = p.x, .savedY = p.y});
    RecomputeHandles(t, in.insertPoints, in.continuation.shapeMode);
    UpdatePreview(t, p);
    const int hint = in.toolMode == kContinueCurve ? 1075 : 1074;
    // A curve's own panel: the spline's would offer the spline's shapes.
    t.window.ShowPanel(HintShown(t.params, hint) ? hint : in.toolMode);
    return true;
}

// The handles and box of an edited spline or curve, and the repaint, as one finished edit.
void FinishPointEdit(InsertTarget& t, ItemRecord* version) {
    if (version->kind == ItemKind::Curve) {
        SmoothCurve(version->pointList, version->shapeMode, CheckedTension(version->tension));
    }
    SaveCurrentAsSaved(version->pointList);
    FinishEdit(t.list, t.window.editMetrics());
    t.window.selectionUnder().holding = false;
    t.window.RecordsChanged();
    t.window.RedrawAll(true);
}

bool IsSplineOrCurve(const ItemRecord* item) {
    return item && (item->kind == ItemKind::Spline || item->kind == ItemKind::Curve);
}

// Ctrl-D: the vertex under the pointer goes; a spline or curve of two points goes whole.
bool DeletePointUnderPointer(InsertTarget& t) {
    ItemRecord* item = SoleSelected(t.list);
    if (!SingleSelected(t.list) || !IsSplineOrCurve(item)) {
        return false;
    }
    const MarkerHit hit = MarkerAt(t.list, t.input.mouseRaw, true);
    const int64_t vertex = -static_cast<int64_t>(hit.grabbed) - 1;
    if (hit.item != item || vertex < 0 || vertex >= static_cast<int64_t>(item->pointList.size())) {
        return false;
    }
    if (item->pointList.size() <= 2) {
        t.window.EraseMarkers();
        DeleteSelection(t.list);
        t.window.RecordsChanged();
        t.window.RedrawAll(true);
        t.window.ShowPanel(20);
        return true;
    }
    t.window.BeginEdit(false);
    ItemRecord* version = SoleSelected(t.list);
    version->pointList.erase(version->pointList.begin() + vertex);
    FinishPointEdit(t, version);
    return true;
}

// Ctrl-I: a point on the edge nearest to the pointer.
bool InsertPointAtPointer(InsertTarget& t) {
    ItemRecord* item = SoleSelected(t.list);
    if (!SingleSelected(t.list) || !IsSplineOrCurve(item) || item->pointList.empty()) {
        return false;
    }
    const Point mouse = t.window.DesignFromCanvas(t.input.mouseRaw);
    const std::vector<PointNode>& points = item->pointList;
    const size_t count = points.size();
    const size_t edges = item->shapeMode != ShapeMode::Open && count > 2 ? count : count - 1;
    size_t best = 0;
    double bestDistance = 0.0;
    Point bestFoot = NodePoint(points[0]);
    for (size_t i = 0; i < edges; ++i) {
        const Point foot =
            PerpendicularFoot(NodePoint(points[i]), NodePoint(points[(i + 1) % count]), mouse).foot;
        const double distance = PointDistance(foot, mouse);
        if (i == 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
            bestFoot = foot;
        }
    }
    t.window.BeginEdit(false);
    ItemRecord* version = SoleSelected(t.list);
    const Point at = version->kind == ItemKind::Spline ? bestFoot : mouse;
    version->pointList.insert(version->pointList.begin() + static_cast<std::ptrdiff_t>(best) + 1,
                              PointNode{.x = at.x, .y = at.y, .savedX = at.x, .savedY = at.y});
    FinishPointEdit(t, version);
    return true;
}

} // namespace

// ---- settings ----

int32_t CheckedSides(int32_t sides) {
    return sides >= 3 && sides <= 20 ? sides : 5;
}

int32_t CheckedShapeMode(int32_t shapeMode) {
    return shapeMode >= 0 && shapeMode <= 2 ? shapeMode : 0;
}

int32_t CheckedFontSize(int32_t size) {
    return size >= 1 ? std::min(size, kLargestFontSize) : 12;
}

int32_t CheckedFontWeight(int32_t weight) {
    return std::clamp(weight, 100, 900);
}

bool IsInsertionMode(int32_t toolMode) {
    return toolMode == 1 || toolMode == 31 || (toolMode >= 100 && toolMode <= 199) ||
           IsContinuation(toolMode);
}

Point PresetDirection(Point p, Point q, double degrees) {
    if (!std::isfinite(degrees) || degrees < 0.0) {
        return q;
    }
    const double a = std::fmod(degrees, 360.0);
    const double radians = a * kPi / 180.0;
    if (a == 0.0 || a == 180.0) {
        return {q.x, p.y};
    }
    if (a == 90.0 || a == 270.0) {
        return {p.x, q.y};
    }
    if ((a >= 45.0 && a <= 135.0) || (a >= 225.0 && a <= 315.0)) {
        return {SaturateInt32(nearest(p.x + (p.y - double(q.y)) / std::tan(radians))), q.y};
    }
    return {q.x, SaturateInt32(nearest(p.y + std::tan(radians) * (p.x - double(q.x))))};
}

// ---- making the items ----

ItemRecord* CreateFromPoints(ItemList& list, const TParams& params, int32_t kind,
                             const std::vector<PointNode>& points, int32_t shapeMode) {
    ItemRecord* item = CreateNewItem(list, kind);
    Rect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    auto grow = [&box](int32_t x, int32_t y) {
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
    };
    item->pointList = points;
    SaveCurrentAsSaved(item->pointList);
    for (const PointNode& node : item->pointList) {
        grow(node.x, node.y);
        if (kind == ItemKind::Curve) {
            grow(node.ctrl1X, node.ctrl1Y);
            grow(node.ctrl2X, node.ctrl2Y);
        }
    }
    SetBox(item, points.empty() ? Rect{} : box, list.screen);
    SetShapeStyle(item, params);
    item->shapeMode = CheckedShapeMode(shapeMode);
    item->direction = -1.0;
    return item;
}

ItemRecord* CreateFromClicks(ItemList& list, const TParams& params, int32_t kind, Point centre, Point second,
                             Point third, int32_t margin) {
    ItemRecord* item = CreateNewItem(list, kind);
    SetShapeStyle(item, params);
    const int32_t sides = CheckedSides(params.state.polysides);
    item->vertexCount = sides;
    Rect box = Around(centre, nearest(PointDistance(centre, second)));
    switch (kind) {
    case ItemKind::Circle:
        SquareFromEdge(item->pointList, centre, second);
        break;
    case ItemKind::Polygon:
        RegularPolygonPoints(item->pointList, centre, second, sides);
        break;
    case ItemKind::Star:
        StarPoints(item->pointList, centre, third, second, sides);
        box = Around(centre,
                     std::max(nearest(PointDistance(centre, second)), nearest(PointDistance(centre, third))));
        break;
    case ItemKind::Ellipse: {
        Point axisEnd = second;
        if (axisEnd == centre) {
            axisEnd.y += kEllipseNudge;
        }
        for (Point p : {centre, axisEnd, third}) {
            item->pointList.push_back({.x = p.x, .y = p.y, .savedX = p.x, .savedY = p.y});
        }
        const Point foot = PerpendicularFoot(centre, axisEnd, third).foot;
        const int32_t semiAxis =
            std::max(nearest(PointDistance(centre, axisEnd)), nearest(PointDistance(third, foot)));
        box = Around(centre, int64_t{semiAxis} + 1);
        break;
    }
    default: // pie and arc
        ArcPoints(item->pointList, centre, second, third);
        if (kind == ItemKind::Pie) {
            const Rect arc = ArcBounds(centre, second, third);
            const int32_t grow = std::max(margin, 0);
            box = {SaturatingAdd(arc.left, -grow), SaturatingAdd(arc.top, -grow),
                   SaturatingAdd(arc.right, grow), SaturatingAdd(arc.bottom, grow)};
        }
        break;
    }
    SetBox(item, box, list.screen);
    item->direction = 0.0;
    return item;
}

ItemRecord* CreateLine(ItemList& list, const TParams& params, Point start, Point end) {
    const currentState_t& state = params.state;
    const double direction = CheckedDirection(state.lineDirection);
    end = PresetDirection(start, end, direction);
    const int32_t dashPattern = LineDashPattern(list, params);
    ItemRecord* line = CreateNewItem(list, ItemKind::Line);
    const double weight = CheckedWeightMm(state.lineWidth);
    line->dashPattern = dashPattern;
    line->fillColor = state.lineFill;
    line->lineWeight = weight;
    line->penWidthPx = PenWidthPixels(1.0, weight, params.screen);
    line->fixedAngle = direction;
    line->lineWeightBase = CheckedWeightMm(state.lineOutline);
    line->color = state.lineColor;
    SetShadow(line, state.shpoly);
    line->surface = CheckedByte(state.liplas);
    line->historyState = kUndoable;
    SetEnds(line, start, end, list.screen);
    return line;
}

ItemRecord* CreateText(ItemList& list, const TParams& params, Point start, Point end) {
    const int32_t angle = CheckedTenths(params.state.tangle);
    int32_t escapement = 0;
    if (angle < 0) {
        escapement = start == end ? 0 : TenthsOf(PointDirection(start, end));
    } else {
        escapement = angle;
        end = PresetDirection(start, end, angle / 10.0);
        // The text runs in its chosen direction whichever way it was drawn.
        double difference = std::fabs(PointDirection(start, end) - angle * kPi / 1800.0);
        difference = std::min(difference, 2.0 * kPi - difference);
        if (start != end && difference > 5.0 * kPi / 180.0) {
            std::swap(start, end);
        }
    }
    ItemRecord* text = CreateNewItem(list, ItemKind::Text);
    SetTextStyle(text, params);
    text->escapement = escapement;
    SetEnds(text, start, end, list.screen);
    return text;
}

// ---- the mode a side panel gives ----

void ResetInsertion(InsertTarget t) {
    if (IsContinuation(t.input.toolMode)) {
        return;
    }
    ErasePreview(t);
    if (t.input.toolMode == 1 && t.input.clickCount != 0) {
        t.window.PanelStep(0);
    }
    t.input.clickCount = 0;
    t.input.inputBlocked = false;
    t.input.pointA = t.input.pointB = {0, 0};
    t.input.insertPoints.clear();
}

int OwnPanelOfMode(int32_t toolMode) {
    return toolMode == 1 ? 98 : toolMode == 31 ? 300 : 0;
}

void SelectInsertionPanel(InsertTarget t, int panelCode) {
    CanvasInput& in = t.input;
    currentState_t& state = t.params.state;
    std::optional<int32_t> mode;
    if (panelCode == 20 || panelCode == 1025 || panelCode == 99 || panelCode == 299 ||
        (panelCode >= 200 && panelCode <= 296) || (panelCode >= 1044 && panelCode <= 1080)) {
        mode = 0;
    } else if (panelCode == 98) {
        mode = 1;
    } else if (panelCode >= 100 && panelCode <= 199) {
        mode = panelCode;
        if (panelCode == 109 || panelCode == 110) {
            state.polyshape = panelCode == 109 ? state.polystate : ShapeMode::Filled;
        } else if (panelCode == 111 || panelCode == 112) {
            state.bpolyshape = panelCode == 111 ? state.bpolystate : ShapeMode::Filled;
        }
    } else if (panelCode == 300 || panelCode == 302 || panelCode == 303) {
        mode = 31;
    } else if (panelCode == 34) {
        SelectOnly(t.list, nullptr);
        t.window.RedrawAll(false);
    }
    const bool insertionPanel = panelCode == 98 || (panelCode >= 100 && panelCode <= 199) ||
                                panelCode == 300 || panelCode == 302 || panelCode == 303;
    const bool busy = IsDragMode(in.toolMode) || in.toolMode == 8;
    if (!mode || *mode == in.toolMode || (busy && !insertionPanel)) {
        return;
    }
    if (IsContinuation(in.toolMode)) {
        EndContinuation(t);
    }
    ResetInsertion(t);
    in.toolMode = *mode;
    in.typingSerial = 0;
    // The fine-tune panels and the moving hint pages work on the selection they were shown for
    // (a hint page's link selects the new item first); every other switch starts afresh.
    const bool keepsSelection = panelCode != 20 && *mode == 0;
    if (!keepsSelection) {
        SelectOnly(t.list, nullptr);
    }
    t.window.RedrawAll(keepsSelection);
}

// ---- the mouse, the timer and the keys ----

bool InsertMouseDown(InsertTarget t, Point canvas) {
    CanvasInput& in = t.input;
    in.pressPoint = in.mouseRaw = canvas;
    in.inputBlocked = false;
    if (in.toolMode == 31 && in.clickCount != 1) {
        // The previous text ends.
        in.clickCount = 0;
        in.typingSerial = 0;
        SelectOnly(t.list, nullptr);
        t.window.RedrawAll(false);
    }
    return in.clickCount == 0;
}

void InsertPressHeld(InsertTarget t) {
    CanvasInput& in = t.input;
    if (in.inputBlocked || in.clickCount != 0 || !IsInsertionMode(in.toolMode)) {
        return;
    }
    const Point press = Snapped(t, in.pressPoint);
    if (IsPointListMode(in.toolMode)) {
        StartPointList(in, Design(t, press));
        in.turnHintShown = false;
    } else {
        in.pointA = press;
    }
    in.clickCount = 1;
    if (in.toolMode == 31) {
        t.window.ShowPanel(HintShown(t.params, 1035) ? 1035 : 302);
    }
}

void InsertMouseMove(InsertTarget t, Point canvas) {
    CanvasInput& in = t.input;
    in.mouseRaw = canvas;
    if (in.inputBlocked || in.clickCount == 0 || (in.toolMode == 31 && in.clickCount != 1)) {
        return;
    }
    const Point snapped = Snapped(t, canvas);
    in.lastPoint = snapped;
    const Point p = Design(t, snapped);
    FollowPointer(t, p);
    UpdatePreview(t, p);
}

void InsertMouseUp(InsertTarget t, Point canvas, Qt::KeyboardModifiers modifiers) {
    CanvasInput& in = t.input;
    in.mouseRaw = canvas;
    if (in.inputBlocked) {
        return;
    }
    const Point snapped = Snapped(t, canvas);
    const int32_t mode = in.toolMode;
    if (mode == 1) {
        ClickLine(t, snapped);
    } else if (mode == 31) {
        ClickText(t, snapped);
    } else if (mode == 103 || mode == 105 || mode == 107 || mode == 108 || mode == 199) {
        ClickCentred(t, snapped);
    } else if (IsPointListMode(mode)) {
        ClickPointList(t, Design(t, snapped), modifiers & Qt::ShiftModifier);
    }
}

bool InsertKeyDown(InsertTarget t, int key, Qt::KeyboardModifiers modifiers) {
    CanvasInput& in = t.input;
    const bool control = modifiers & Qt::ControlModifier;
    if (in.toolMode == 0 && control) {
        if (key == Qt::Key_A) {
            return ContinueSelected(t);
        }
        if (key == Qt::Key_D) {
            return DeletePointUnderPointer(t);
        }
        if (key == Qt::Key_I) {
            return InsertPointAtPointer(t);
        }
        return false;
    }
    if (!IsInsertionMode(in.toolMode) || control) {
        return false;
    }
    if (key == Qt::Key_Escape) {
        return EscapeInsertion(t);
    }
    if (IsSplineMode(in.toolMode) && in.clickCount == 1 && in.insertPoints.size() >= 2) {
        return SplineKey(t, key);
    }
    return false;
}

bool InsertTyped(InsertTarget t, std::u16string_view typed) {
    CanvasInput& in = t.input;
    if (in.toolMode != 31 || typed.empty() || typed[0] < u' ' || typed[0] == 0x7F) {
        return false;
    }
    if (in.clickCount == 1) {
        ErasePreview(t);
        in.bandUnder.holding = false;
        const int32_t angle = CheckedTenths(t.params.state.tangle);
        const bool horizontal = t.params.state.tdir < 0 || angle < 0;
        const Point start = Design(t, in.pointA);
        ItemRecord* text = CreateText(t.list, t.params, start, start);
        SetText(text, typed);
        const double zoom = t.window.zoom() > 0.0 ? t.window.zoom() : 1.0;
        const int32_t width = std::max(1, nearest(t.window.AverageCharWidth(*text) / zoom));
        text->escapement = horizontal ? 0 : angle;
        const Point end = horizontal ? Point{SaturateInt32(int64_t{start.x} + width), start.y}
                                     : PolarPoint(start, angle * kPi / 1800.0, width);
        SetEnds(text, start, end, t.list.screen);
        SelectOnly(t.list, text);
        in.typingSerial = text->serial;
        in.clickCount = 2;
        t.window.RecordsChanged();
        t.window.RedrawAll(true);
        return true;
    }
    // Once the text is made, typing into it is the text editing's.
    return false;
}

} // namespace vlr
