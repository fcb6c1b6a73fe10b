// Shaded bodies of shapes, line dashes and text lines.
#include "render/shading.h"

#include "render/itemmask.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

namespace vlr {

namespace {

// The mask codes (0x00BBGGRR): outline pixels pure blue, fill pixels pure red, the rest black.
constexpr int32_t kOutlineCode = 0xFF0000;
constexpr int32_t kFillCode = 0x0000FF;
constexpr QRgb kOutlineRgb = QRgbFromColour(kOutlineCode);
constexpr QRgb kFillRgb = QRgbFromColour(kFillCode);

int32_t KnownLight(int32_t lightDirection) {
    return lightDirection >= 0 && lightDirection <= 3 ? lightDirection : LightFrom::TopLeft;
}

// Added to a band's direction, so that the highlight moves towards the light. Bars count their
// rows from the edge on the left of their direction, text lines from the bottom of the cell.
double BarLightAngle(int32_t lightDirection) {
    constexpr std::array<double, 4> angles = {5 * kPi / 4, 7 * kPi / 4, 3 * kPi / 4, kPi / 4};
    return angles[static_cast<size_t>(KnownLight(lightDirection))];
}
double TextLightAngle(int32_t lightDirection) {
    constexpr std::array<double, 4> angles = {kPi / 4, 3 * kPi / 4, 7 * kPi / 4, 5 * kPi / 4};
    return angles[static_cast<size_t>(KnownLight(lightDirection))];
}

bool IsFillColour(int32_t fillColor) {
    return fillColor != FILL_NONE && fillColor != FILL_AS_OUTLINE;
}

// The fill code a shape is painted into a mask with: its fill pixels red, blue like the outline,
// or none.
int32_t MaskFill(int32_t fillColor) {
    return IsFillColour(fillColor) ? kFillCode : fillColor;
}

// The channels of 0x00BBGGRR.
struct Channels {
    int32_t r, g, b;
};
Channels ChannelsOf(int32_t colour) {
    return {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
}

// One row of a profile of the given length: the colour plus its boost, times a factor that
// falls from 1 in the middle to surface / 255 at both ends.
int32_t ProfileRow(int64_t row, int64_t length, int32_t surface, Channels colour, int32_t boost) {
    const double power = std::clamp(36.0 / static_cast<double>(length), 1.5, 3.0);
    const int32_t weight = 255 - surface;
    // The last row's sine is 0 and may come out a hair below it.
    const double sine = std::sin(kPi * (static_cast<double>(row) + 1.0) / static_cast<double>(length));
    const double lit = std::pow(std::max(sine, 0.0), power);
    const double factor = (lit * weight + surface) / 255.0;
    auto channel = [&](int32_t value) { return std::clamp(nearest((boost + value) * factor), 0, 255); };
    return channel(colour.r) | channel(colour.g) << 8 | channel(colour.b) << 16;
}

// A profile as raster words. Rows are kept in a table up to a length no real item reaches; the
// rows of a longer profile (a crafted, enormous item) are computed as they are asked for, so
// that such an item costs time in proportion to the pixels it covers on the target, never
// memory in proportion to its size.
class ProfileTable {
public:
    static constexpr int64_t kTableLimit = int64_t{1} << 20;

    ProfileTable() = default;
    ProfileTable(int64_t length, int32_t surface, int32_t colour)
        : length_(std::max<int64_t>(length, 0)), surface_(std::clamp(surface, 0, 255)),
          colour_(ChannelsOf(colour)), boost_(ProfileBoost(colour, 255 - surface_)) {
        if (length_ <= kTableLimit) {
            rows_.reserve(static_cast<size_t>(length_));
            for (int64_t row = 0; row < length_; ++row) {
                rows_.push_back(Compute(row));
            }
        }
    }

    int64_t length() const { return length_; }
    // A row within 0 ... length - 1.
    QRgb operator[](int64_t row) const {
        return row < static_cast<int64_t>(rows_.size()) ? rows_[static_cast<size_t>(row)] : Compute(row);
    }

private:
    QRgb Compute(int64_t row) const {
        return QRgbFromColour(ProfileRow(row, length_, surface_, colour_, boost_));
    }

    int64_t length_ = 0;
    int32_t surface_ = 0;
    Channels colour_{0, 0, 0};
    int32_t boost_ = 0;
    std::vector<QRgb> rows_;
};

// The two profiles of an item. Fill pixels of an item without a fill colour find an empty
// profile (as do outline pixels of text, which has none) and stay as they are.
struct Profiles {
    ProfileTable outline;
    ProfileTable fill;
};

Profiles ShapeProfiles(int64_t length, int32_t surface, int32_t color, int32_t fillColor) {
    Profiles profiles;
    profiles.outline = ProfileTable(length, surface, color);
    if (IsFillColour(fillColor)) {
        profiles.fill = ProfileTable(length, surface, fillColor);
    }
    return profiles;
}

// An exact black raster over the target pixels of the box grown by the margin.
struct CodeMask {
    Rect area; // on the target; right and bottom exclusive
    RasterCanvas raster;

    // A target point in the mask's coordinates.
    Point Local(Point target) const { return MovedPoint(target, -int64_t{area.left}, -int64_t{area.top}); }
    DeviceOutline Local(const DeviceOutline& outline) const {
        return MovedOutline(outline, -int64_t{area.left}, -int64_t{area.top});
    }
};

std::optional<CodeMask> MakeCodeMask(const RasterCanvas& target, const Rect& box, int64_t margin) {
    const std::optional<Rect> area = MaskArea(target, box, margin, 0);
    if (!area) {
        return std::nullopt;
    }
    RasterCanvas raster = MaskRaster(target, *area, 0);
    if (raster.isNull()) {
        return std::nullopt; // too large to allocate: the body is skipped
    }
    return CodeMask{*area, std::move(raster)};
}

// Every blue pixel of the mask takes the outline profile's row rowOf(x, y) (target
// coordinates), every red one the fill profile's; a row past either end wraps once.
template <typename RowOf>
void ShadeCodedPixels(RasterCanvas& target, const CodeMask& mask, const Profiles& profiles, RowOf rowOf) {
    for (int32_t my = 0; my < mask.raster.height(); ++my) {
        const int32_t y = mask.area.top + my;
        uint32_t* pixels = target.scanLine(y);
        const uint32_t* codes = mask.raster.scanLine(my);
        if (!pixels || !codes) {
            continue;
        }
        for (int32_t mx = 0; mx < mask.raster.width(); ++mx) {
            const ProfileTable* profile = codes[mx] == kOutlineRgb ? &profiles.outline
                                          : codes[mx] == kFillRgb  ? &profiles.fill
                                                                   : nullptr;
            if (!profile || profile->length() < 1) {
                continue;
            }
            const int32_t x = mask.area.left + mx;
            const int64_t length = profile->length();
            int64_t row = rowOf(x, y);
            if (row > length - 1) {
                row -= length;
            } else if (row < 0) {
                row += length;
            }
            if (row >= 0 && row < length) {
                pixels[x] = (*profile)[row];
            }
        }
    }
}

// A disc's light: a sixth of the diameter off the middle towards the light, measured from the
// corner of the disc's mask (the circle's corner less the pen), and the profile length.
struct DiscLight {
    double x = 0.0;
    double y = 0.0;
    int64_t length = 0;
};

std::optional<DiscLight> DiscLightOf(const Rect& circle, int32_t penWidth, int32_t lightDirection) {
    const int64_t diameter = std::llabs(int64_t{circle.right} - circle.left);
    if (diameter < 2) {
        return std::nullopt;
    }
    const int32_t light = KnownLight(lightDirection);
    const int64_t half = diameter / 2, sixth = diameter / 6;
    const int64_t cornerX = int64_t{std::min(circle.left, circle.right)} - penWidth;
    const int64_t cornerY = int64_t{std::min(circle.top, circle.bottom)} - penWidth;
    DiscLight disc;
    disc.x = static_cast<double>(cornerX + half + ((light & 1) ? sixth : -sixth));
    disc.y = static_cast<double>(cornerY + half + ((light & 2) ? sixth : -sixth));
    disc.length = penWidth + int64_t{nearest(1.5 * static_cast<double>(diameter))};
    return disc;
}

// Rows of a disc: the distance from the light centre plus half the profile.
auto DiscRows(const DiscLight& disc) {
    return [disc](int32_t x, int32_t y) {
        const double dx = x - disc.x, dy = y - disc.y;
        return int64_t{nearest(std::sqrt(dx * dx + dy * dy))} + disc.length / 2;
    };
}

// Rows of a band of the given length whose rows count from the line through (x0, y0) along
// theta (radians, counter-clockwise): length + the light's quarter-band shift - the distance.
auto BandRows(double x0, double y0, double theta, int64_t length, double lightAngle) {
    const double cosTheta = std::cos(theta), sinTheta = std::sin(theta);
    const int64_t shift = nearest(std::sin(theta + lightAngle) * static_cast<double>(length / 4));
    return [=](int32_t x, int32_t y) {
        // The cross product of the unit direction (cos, -sin) with the offset: y grows down.
        const double distance = std::fabs(cosTheta * (y - y0) + sinTheta * (x - x0));
        return length + shift - nearest(distance);
    };
}

int32_t PenOf(const SurfacePaint& paint) {
    return std::clamp(paint.penWidth, 0, kMaxPenWidth);
}

// Paints a shape outline into a code mask: outline blue, fill red.
void PaintCodes(CodeMask& mask, int32_t kind, const DeviceOutline& outline, const SurfacePaint& paint) {
    PaintShapeOutline(mask.raster, kind, mask.Local(outline),
                      {kOutlineCode, MaskFill(paint.fillColor), PenOf(paint)});
}

} // namespace

int32_t ProfileBoost(int32_t colour, int32_t weight) {
    const auto [r, g, b] = ChannelsOf(colour);
    const int32_t spread = std::max({std::abs(r - g), std::abs(r - b), std::abs(g - b)});
    return nearest((1.0 - (r + g + b) / 765.0) * (1.0 - spread / 255.0) * 0.75 * weight);
}

std::vector<int32_t> ShadingProfile(int32_t length, int32_t surface, int32_t colour) {
    std::vector<int32_t> profile;
    surface = std::clamp(surface, 0, 255);
    const int32_t boost = ProfileBoost(colour, 255 - surface);
    for (int32_t row = 0; row < length; ++row) {
        profile.push_back(ProfileRow(row, length, surface, ChannelsOf(colour), boost));
    }
    return profile;
}

void ShadedDisc(RasterCanvas& canvas, const Rect& circle, const SurfacePaint& paint) {
    const int32_t pen = PenOf(paint);
    const std::optional<DiscLight> disc = DiscLightOf(circle, pen, paint.lightDirection);
    if (!disc) {
        return;
    }
    const int32_t left = std::min(circle.left, circle.right), top = std::min(circle.top, circle.bottom);
    const int64_t diameter = std::llabs(int64_t{circle.right} - circle.left);
    // The circle is painted one pixel larger than its rectangle, in a mask the pen wider.
    const Point far = MovedPoint({left, top}, diameter + 1, diameter + 1);
    std::optional<CodeMask> mask = MakeCodeMask(canvas, {left, top, far.x - 1, far.y - 1}, pen);
    if (!mask) {
        return;
    }
    DeviceOutline outline;
    outline.form = OutlineForm::Ellipse;
    outline.filled = true;
    outline.bounds = {left, top, far.x, far.y};
    PaintCodes(*mask, ItemKind::Circle, outline, paint);
    ShadeCodedPixels(canvas, *mask, ShapeProfiles(disc->length, paint.surface, paint.color, paint.fillColor),
                     DiscRows(*disc));
}

void ShadedEllipse(RasterCanvas& canvas, Point centre, Point lengthPoint, Point widthPoint,
                   const SurfacePaint& paint) {
    const double axis = PointDistance(centre, lengthPoint);
    const int32_t a = nearest(axis);
    // The distance of the width point from the length axis.
    // Differences in doubles: points from a file may lie further apart than an int32 reaches.
    const double lengthX = double(lengthPoint.x) - centre.x, lengthY = double(lengthPoint.y) - centre.y;
    const double widthX = double(widthPoint.x) - centre.x, widthY = double(widthPoint.y) - centre.y;
    const double cross = axis > 0.0 ? std::fabs(lengthX * widthY - lengthY * widthX) / axis : 0.0;
    const int32_t b = nearest(cross);
    if (a == 0 || b == 0) {
        return;
    }
    // Positive: a long ellipse, whose rings stretch with the sine of the angle to its axis.
    double stretch = 1.0 - double(b) / a;
    if (stretch < 0.0) {
        stretch = -1.0 - double(a) / b;
    }
    const EllipseBezier ellipse = EllipseBezierPoints(centre, lengthPoint, widthPoint);
    const Rect& box = ellipse.bounds;
    const int32_t pen = PenOf(paint);
    const int64_t boxWidth = int64_t{box.right} - box.left, boxHeight = int64_t{box.bottom} - box.top;
    const int32_t light = KnownLight(paint.lightDirection);
    const double lightX =
        double(int64_t{box.left} - pen + boxWidth / 2 + ((light & 1) ? 1 : -1) * (boxWidth / 6));
    const double lightY =
        double(int64_t{box.top} - pen + boxHeight / 2 + ((light & 2) ? 1 : -1) * (boxHeight / 6));
    const int64_t length =
        pen + std::max(int64_t{nearest(1.5 * double(boxWidth))}, int64_t{nearest(1.5 * double(boxHeight))});
    std::optional<CodeMask> mask = MakeCodeMask(canvas, box, pen);
    if (!mask) {
        return;
    }
    DeviceOutline outline;
    outline.form = OutlineForm::Bezier;
    outline.filled = true;
    outline.points.assign(ellipse.points.begin(), ellipse.points.end());
    outline.bounds = box;
    PaintCodes(*mask, ItemKind::Ellipse, outline, paint);
    const double axisAngle = PointDirection(centre, lengthPoint);
    const double cosAxis = std::cos(axisAngle), sinAxis = std::sin(axisAngle);
    auto rows = [=](int32_t x, int32_t y) {
        const double dx = x - lightX, dy = y - lightY;
        const double distance = std::sqrt(dx * dx + dy * dy);
        const int64_t rounded = nearest(distance);
        double across = 0.0;
        if (distance > 0.0) {
            // The direction to the pixel is counter-clockwise with y growing down: (dx, -dy).
            const double cosTo = dx / distance, sinTo = -dy / distance;
            across = stretch >= 0.0 ? std::fabs(sinTo * cosAxis - cosTo * sinAxis)
                                    : std::fabs(cosTo * cosAxis + sinTo * sinAxis);
        }
        return rounded + nearest(across * double(rounded) * stretch) + length / 2;
    };
    ShadeCodedPixels(canvas, *mask, ShapeProfiles(length, paint.surface, paint.color, paint.fillColor), rows);
}

void ShadedBar(RasterCanvas& canvas, const DeviceOutline& outline, Point p1, Point p2, Point p3,
               const SurfacePaint& paint) {
    const int32_t length = nearest(PointDistance(p2, p3));
    if (p1 == p2 || length < 1 || outline.form == OutlineForm::None) {
        return;
    }
    // The band runs along p1-p2 turned so that its rows count the same way whichever way round
    // the corners were stored.
    double theta = PointDirection(p1, p2);
    double turn = PointDirection(p2, p3) - theta;
    if (turn < 0.0) {
        turn += 2.0 * kPi;
    }
    if (turn <= kPi) {
        theta = PointDirection(p2, p1);
    }
    const int32_t pen = PenOf(paint);
    std::optional<CodeMask> mask = MakeCodeMask(canvas, outline.bounds, int64_t{pen} + 1);
    if (!mask) {
        return;
    }
    PaintCodes(*mask, ItemKind::Rectangle, outline, paint);
    ShadeCodedPixels(canvas, *mask, ShapeProfiles(length, paint.surface, paint.color, paint.fillColor),
                     BandRows(p1.x, p1.y, theta, length, BarLightAngle(paint.lightDirection)));
}

void ShadedDash(RasterCanvas& canvas, const Quad& body, const LineStroke& stroke, int32_t lightDirection) {
    const int32_t width = std::clamp(stroke.width, 0, kMaxPenWidth);
    if (width < 1) {
        return;
    }
    std::optional<CodeMask> mask = MakeCodeMask(canvas, BoxOf(body), 2);
    if (!mask) {
        return;
    }
    // The dash as its flat drawing paints it: a plain line wholly in the line colour, otherwise
    // the interior in the fill (none when hollow) and the border strips in the line colour.
    const int32_t border = std::clamp(stroke.border, 0, kMaxPenWidth);
    const int32_t interior = stroke.plain ? FILL_AS_OUTLINE : MaskFill(stroke.fillColor);
    RasterCanvas& raster = mask->raster;
    Quad local;
    std::transform(body.begin(), body.end(), local.begin(), [&](Point p) { return mask->Local(p); });
    raster.setPen({kOutlineCode, 1});
    raster.setBrush(interior == FILL_NONE   ? Brush{0, BrushStyle::Clear}
                    : interior == kFillCode ? Brush{kFillCode}
                                            : Brush{kOutlineCode});
    raster.Polygon(local);
    if (border >= 2) {
        raster.setBrush({kOutlineCode});
        for (const Quad& strip : BorderStrips(local, border, stroke.direction)) {
            raster.Polygon(strip);
        }
    }
    // Rows count from the dash's left edge P0-P1, which runs along the line's direction.
    ShadeCodedPixels(canvas, *mask, ShapeProfiles(width, stroke.surface, stroke.color, stroke.fillColor),
                     BandRows(body[0].x, body[0].y, stroke.direction, width, BarLightAngle(lightDirection)));
}

void ShadedTextLine(RasterCanvas& canvas, const ItemRecord& text, const TextLinePlacement& line,
                    const ViewTransform& transform, int32_t lightDirection) {
    if (canvas.isNull() || line.line.empty()) {
        return;
    }
    const TextMetrics metrics = MetricsOf(canvas, TextFont(text, transform.scaleY, text.textColor));
    const int32_t height = metrics.ascent + metrics.descent;
    if (height < 1) {
        return;
    }
    std::optional<CodeMask> mask = MakeCodeMask(canvas, TextLineBox(canvas, text, line, transform.scaleY), 0);
    if (!mask) {
        return;
    }
    DrawTextLine(mask->raster, kFillCode, text, line.line, mask->Local(line.start), mask->Local(line.end),
                 transform);
    // Rows count from the bottom of the cell: the baseline moved down by the descent.
    const double theta = TenthsToRadians(text.escapement);
    const double bottomX = line.start.x + std::sin(theta) * metrics.descent;
    const double bottomY = line.start.y + std::cos(theta) * metrics.descent;
    Profiles profiles;
    profiles.fill = ProfileTable(height, text.surface, text.textColor);
    ShadeCodedPixels(canvas, *mask, profiles,
                     BandRows(bottomX, bottomY, theta, height, TextLightAngle(lightDirection)));
}

Rect CutoutDisc(const ItemRecord& shape, const DeviceOutline& outline, const ViewTransform& transform,
                int32_t penWidth) {
    auto device = [&](size_t i) { return ToDevice(PointAt(shape.pointList, i), transform); };
    // A disc of a diameter about a centre.
    auto about = [](Point centre, double radius) {
        const int64_t diameter = nearest(radius * 2.0);
        const Point corner = MovedPoint(centre, -(diameter / 2), -(diameter / 2));
        const Point far = MovedPoint(corner, diameter, diameter);
        return Rect{corner.x, corner.y, far.x, far.y};
    };
    const Point centre = device(1);
    switch (int32_t(shape.kind)) {
    case ItemKind::Polygon:
    case ItemKind::Pie:
    case ItemKind::Arc:
        return about(centre, PointDistance(centre, device(2)) + penWidth);
    case ItemKind::Star:
        return about(centre,
                     std::max(PointDistance(centre, device(2)), PointDistance(centre, device(3))) + penWidth);
    default: {
        std::vector<Point> nodes;
        nodes.reserve(shape.pointList.size());
        for (const PointNode& node : shape.pointList) {
            nodes.push_back(ToDevice(NodePoint(node), transform));
        }
        const Rect box = nodes.empty() ? outline.bounds : BoxOf(nodes);
        const int64_t side = std::max(int64_t{box.right} - box.left, int64_t{box.bottom} - box.top);
        const int64_t reach = nearest(std::numbers::sqrt2 * static_cast<double>(side));
        const Point low = MovedPoint({box.left, box.top}, side - reach, side - reach);
        const Point high = MovedPoint({box.left, box.top}, reach, reach);
        return {low.x, low.y, high.x, high.y};
    }
    }
}

void DiscCutout(RasterCanvas& canvas, int32_t kind, const DeviceOutline& outline, const Rect& disc,
                const SurfacePaint& paint) {
    const int32_t pen = PenOf(paint);
    const std::optional<DiscLight> light = DiscLightOf(disc, pen, paint.lightDirection);
    if (!light || outline.form == OutlineForm::None) {
        return;
    }
    std::optional<CodeMask> mask = MakeCodeMask(canvas, outline.bounds, int64_t{pen} + 1);
    if (!mask) {
        return;
    }
    PaintCodes(*mask, kind, outline, paint);
    // Both colours are shaded as the disc would be at each pixel of the shape.
    ShadeCodedPixels(canvas, *mask, ShapeProfiles(light->length, paint.surface, paint.color, paint.fillColor),
                     DiscRows(*light));
}

void DrawShadedShape(RasterCanvas& canvas, const ItemRecord& shape, const ViewTransform& transform,
                     int32_t lightDirection) {
    if (canvas.isNull()) {
        return;
    }
    const DeviceOutline outline = ShapeOutline(shape, transform);
    if (outline.form == OutlineForm::None) {
        return;
    }
    const SurfacePaint paint{shape.surface, shape.color, shape.fillColor,
                             ShapePenWidth(shape, transform, canvas.screen()), lightDirection};
    auto device = [&](size_t i) { return ToDevice(PointAt(shape.pointList, i), transform); };
    switch (int32_t(shape.kind)) {
    case ItemKind::Circle:
        ShadedDisc(canvas, outline.bounds, paint);
        break;
    case ItemKind::Ellipse:
        ShadedEllipse(canvas, device(1), device(2), device(3), paint);
        break;
    case ItemKind::Square:
    case ItemKind::Rectangle:
        if (shape.pointList.size() >= 3) {
            ShadedBar(canvas, outline, device(1), device(2), device(3), paint);
        }
        break;
    default:
        DiscCutout(canvas, shape.kind, outline, CutoutDisc(shape, outline, transform, paint.penWidth), paint);
        break;
    }
}

} // namespace vlr
