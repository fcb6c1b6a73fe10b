// Painting lines and shape outlines onto a raster.
#include "render/stroke.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vlr {

namespace {

// Dash ends farther than this beyond the raster are cut back to its neighbourhood, keeping the
// raster engine's coordinates small.
constexpr int64_t kFarBeyond = int64_t{1} << 16;

// Restores a raster's pen and brush when a drawing is done.
class KeepPenAndBrush {
public:
    explicit KeepPenAndBrush(RasterCanvas& canvas)
        : canvas_(canvas), pen_(canvas.pen()), brush_(canvas.brush()) {}
    ~KeepPenAndBrush() {
        canvas_.setPen(pen_);
        canvas_.setBrush(brush_);
    }
    KeepPenAndBrush(const KeepPenAndBrush&) = delete;
    KeepPenAndBrush& operator=(const KeepPenAndBrush&) = delete;

private:
    RasterCanvas& canvas_;
    Pen pen_;
    Brush brush_;
};

// The brush of a fill code: clear for FILL_NONE, the outline colour for FILL_AS_OUTLINE.
Brush FillBrush(int32_t fillColor, int32_t outlineColor) {
    if (fillColor == FILL_NONE) {
        return {0, BrushStyle::Clear};
    }
    return {fillColor == FILL_AS_OUTLINE ? outlineColor : fillColor, BrushStyle::Solid};
}

bool Beyond(Point p, const Rect& rect, int64_t distance) {
    return p.x < rect.left - distance || p.x > rect.right + distance || p.y < rect.top - distance ||
           p.y > rect.bottom + distance;
}

// Cuts the segment a-b to the rectangle; false when nothing of it lies inside.
bool CutToRect(Point& a, Point& b, const Rect& rect) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    double enter = 0.0, leave = 1.0;
    const std::array<std::array<double, 2>, 4> sides = {{{-dx, double(a.x) - rect.left},
                                                         {dx, double(rect.right) - a.x},
                                                         {-dy, double(a.y) - rect.top},
                                                         {dy, double(rect.bottom) - a.y}}};
    for (const auto& [step, room] : sides) {
        if (step == 0.0) {
            if (room < 0.0) {
                return false;
            }
            continue;
        }
        const double t = room / step;
        if (step < 0.0) {
            enter = std::max(enter, t);
        } else {
            leave = std::min(leave, t);
        }
    }
    if (enter > leave) {
        return false;
    }
    const Point from = a;
    a = {nearest(from.x + enter * dx), nearest(from.y + enter * dy)};
    b = {nearest(from.x + leave * dx), nearest(from.y + leave * dy)};
    return true;
}

// The direction of a line on the device: the stored one, turned where the axes scale
// differently; taken from the device points when the stored one is not a number.
double DeviceDirection(double stored, Point s, Point e, const ViewTransform& transform) {
    if (!std::isfinite(stored)) {
        return PointDirection(s, e);
    }
    if (transform.scaleX == transform.scaleY) {
        return stored;
    }
    const double turned =
        std::atan2(std::sin(stored) * transform.scaleY, std::cos(stored) * transform.scaleX);
    return ReducedAngle(turned);
}

} // namespace

LineStroke LineStrokeOf(const ItemRecord& line, const ViewTransform& transform,
                        const ScreenResolution& screen) {
    const double zoom = transform.scaleY;
    const double weight = line.lineWeight, base = line.lineWeightBase;
    LineStroke stroke;
    stroke.color = line.color;
    stroke.fillColor = line.fillColor;
    stroke.surface = line.surface;
    stroke.width = std::clamp(nearest(zoom * int32_t(line.penWidthPx)), 1, kMaxPenWidth);
    const int32_t border = std::clamp(PenWidthPixels(zoom, base, screen), 0, kMaxPenWidth);
    const bool plain = 2 * int64_t{border} >= stroke.width || !(weight >= 0.0001) ||
                       2 * int64_t{PenWidthPixels(1.0, base, screen)} >= PenWidthPixels(1.0, weight, screen);
    stroke.plain = plain;
    stroke.border = plain ? 0 : border;
    const Point s = ToDevice({line.x1, line.y1}, transform), e = ToDevice({line.x2, line.y2}, transform);
    stroke.direction = DeviceDirection(line.direction, s, e, transform);
    return stroke;
}

void StrokeLine(RasterCanvas& canvas, Point s, Point e, const LineStroke& stroke, const DashPattern& pattern,
                const ShadedDashPainter& shaded) {
    if (canvas.isNull()) {
        return;
    }
    KeepPenAndBrush keep(canvas);
    const int32_t w = std::clamp(stroke.width, 1, kMaxPenWidth);
    const int32_t b = std::clamp(stroke.border, 0, kMaxPenWidth);
    // A dash body reaches w / 2 to each side of its dash; strips lie inside it.
    const int32_t margin = w + 2;
    const Rect visible{-margin, -margin, canvas.width() + margin, canvas.height() + margin};
    // A plain line is one colour throughout whatever its fill.
    const Brush bodyBrush = stroke.plain ? Brush{stroke.color} : FillBrush(stroke.fillColor, stroke.color);
    const Brush stripBrush{stroke.color};
    for (DashSegment dash : DashSegments(s, e, stroke.direction, pattern, visible)) {
        if ((Beyond(dash.start, visible, kFarBeyond) || Beyond(dash.end, visible, kFarBeyond)) &&
            !CutToRect(dash.start, dash.end, visible)) {
            continue;
        }
        if (w < 2) {
            canvas.setPen({stroke.color, w});
            canvas.Polyline(std::array{dash.start, dash.end});
            continue;
        }
        const Quad body = DashBody(dash.start, dash.end, w, stroke.direction);
        if (stroke.surface != 0 && w >= 4 && shaded) {
            shaded(canvas, body, stroke);
            continue;
        }
        canvas.setPen({stroke.color, 1});
        canvas.setBrush(bodyBrush);
        canvas.Polygon(body);
        if (b >= 2) {
            canvas.setBrush(stripBrush);
            for (const Quad& strip : BorderStrips(body, b, stroke.direction)) {
                canvas.Polygon(strip);
            }
        }
    }
}

void DrawLine(RasterCanvas& canvas, const ItemList& design, const ItemRecord& line,
              const ViewTransform& transform, const ShadedDashPainter& shaded) {
    const LineStroke stroke = LineStrokeOf(line, transform, canvas.screen());
    const DashPattern pattern = BuildDashPattern(design, line, transform.scaleY);
    StrokeLine(canvas, ToDevice({line.x1, line.y1}, transform), ToDevice({line.x2, line.y2}, transform),
               stroke, pattern, shaded);
}

int32_t ShapePenWidth(const ItemRecord& shape, const ViewTransform& transform,
                      const ScreenResolution& screen) {
    return std::clamp(PenWidthPixels(transform.scaleY, shape.lineWeight, screen), 0, kMaxPenWidth);
}

void PaintShapeOutline(RasterCanvas& canvas, int32_t kind, const DeviceOutline& outline,
                       const ShapePaint& paint) {
    if (canvas.isNull() || outline.form == OutlineForm::None) {
        return;
    }
    KeepPenAndBrush keep(canvas);
    const bool noFill = paint.fillColor == FILL_NONE;
    const bool asOutline = paint.fillColor == FILL_AS_OUTLINE;
    const bool twoPointFigure =
        outline.form == OutlineForm::Polyline && outline.points.size() == 2 && kind != ItemKind::Arc;
    const int32_t penWidth = asOutline && (outline.filled || twoPointFigure) ? 1 : paint.penWidth;
    canvas.setPen({paint.color, std::clamp(penWidth, 0, kMaxPenWidth)});
    canvas.setBrush(FillBrush(paint.fillColor, paint.color));
    switch (outline.form) {
    case OutlineForm::Ellipse:
        canvas.Ellipse(outline.bounds);
        break;
    case OutlineForm::Polygon:
        canvas.Polygon(outline.points);
        break;
    case OutlineForm::Bezier:
        if (outline.filled && !noFill) {
            canvas.BeginPath();
            canvas.PolyBezier(outline.points);
            canvas.EndPath();
            canvas.StrokeAndFillPath();
        } else {
            canvas.PolyBezier(outline.points);
        }
        break;
    case OutlineForm::Polyline:
        canvas.Polyline(outline.points);
        break;
    case OutlineForm::None:
        break;
    }
}

void DrawShape(RasterCanvas& canvas, const ItemRecord& shape, const ViewTransform& transform) {
    PaintShapeOutline(canvas, shape.kind, ShapeOutline(shape, transform),
                      {shape.color, shape.fillColor, ShapePenWidth(shape, transform, canvas.screen())});
}

} // namespace vlr
