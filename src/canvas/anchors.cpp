// The anchor strips.
#include "canvas/anchors.h"

#include <QLinearGradient>
#include <QPainter>

#include <cmath>

namespace vlr {

namespace {

constexpr QRgb kAnchorColour = qRgb(69, 122, 255);
constexpr QRgb kHighlightedAnchorColour = qRgb(255, 0, 0);
// The anchor covers position - 3 ... position + 4: 3 is half its width.
constexpr int kAnchorHalf = kAnchorSize / 2;
constexpr int kTickStart = 8;

double Zoom(const ItemRecord* header) {
    double z = header->zoom;
    return std::isfinite(z) && z > 0.0 ? z : 1.0;
}

} // namespace

bool StripLive(const ItemRecord* header, GridAxis axis) {
    return GridEditable(header, axis);
}

int64_t AnchorStart(const ItemRecord* header, Point pageOffset, GridAxis axis, int32_t position) {
    const int64_t atZoom = nearest(Zoom(header) * position);
    return axis == GridAxis::X ? atZoom + pageOffset.x - kAnchorHalf - header->boundLeft
                               : atZoom + pageOffset.y - kAnchorHalf - header->boundTop;
}

std::optional<GridAxis> StripAt(Point viewport) {
    if (viewport.x < 0 || viewport.y < 0) {
        return std::nullopt;
    }
    if (viewport.y < viewport.x) {
        return viewport.y < kStripDepth ? std::optional(GridAxis::X) : std::nullopt;
    }
    return viewport.x < kStripDepth ? std::optional(GridAxis::Y) : std::nullopt;
}

int32_t StripPosition(const ItemRecord* header, Point pageOffset, GridAxis axis, Point viewport) {
    const double z = Zoom(header);
    return axis == GridAxis::X
               ? nearest((static_cast<double>(viewport.x) + header->boundLeft - pageOffset.x) / z)
               : nearest((static_cast<double>(viewport.y) + header->boundTop - pageOffset.y) / z);
}

bool ClearHighlights(ItemRecord* grid) {
    bool any = false;
    for (std::vector<GridNode>* nodes : {&grid->gridX, &grid->gridY}) {
        for (GridNode& node : *nodes) {
            any = any || node.highlighted != 0;
            node.highlighted = 0;
        }
    }
    return any;
}

std::optional<GridAxis> HighlightAnchorAt(ItemRecord* grid, const ItemRecord* header, Point pageOffset,
                                          Point viewport, bool* changed) {
    std::vector<GridNode> before[] = {grid->gridX, grid->gridY};
    ClearHighlights(grid);
    std::optional<GridAxis> found;
    for (GridAxis axis : {GridAxis::X, GridAxis::Y}) {
        if (found || !header || !StripLive(header, axis)) {
            continue;
        }
        // Along the strip and across it, in the strip's own pixels; the anchor's rectangle is
        // tested on the screen so that it stays as wide as it is drawn at every zoom.
        const int64_t along = axis == GridAxis::X ? viewport.x : viewport.y;
        const int64_t across = axis == GridAxis::X ? viewport.y : viewport.x;
        if (across < 1 || across > kStripDepth) {
            continue;
        }
        for (GridNode& node : GridNodes(grid, axis)) {
            const int64_t start = AnchorStart(header, pageOffset, axis, node.position);
            if (!node.removed && along >= start && along <= start + kAnchorSize) {
                node.highlighted = 255;
                found = axis;
                break;
            }
        }
    }
    if (changed) {
        *changed = before[0] != grid->gridX || before[1] != grid->gridY;
    }
    return found;
}

const GridNode* HighlightedGridline(const ItemRecord* grid, GridAxis axis) {
    for (const GridNode& node : GridNodes(grid, axis)) {
        if (node.highlighted && !node.removed) {
            return &node;
        }
    }
    return nullptr;
}

QImage UntouchedStrip(const QImage& background, GridAxis axis) {
    return axis == GridAxis::X ? background.copy(0, 0, background.width(), kStripDepth)
                               : background.copy(0, 0, kStripDepth, background.height());
}

void DrawAnchor(QImage& background, GridAxis axis, int64_t start, bool highlighted) {
    const int64_t limit = axis == GridAxis::X ? background.width() : background.height();
    if (start < 0 || start >= limit) {
        return;
    }
    const int at = static_cast<int>(start);
    const QColor colour(highlighted ? kHighlightedAnchorColour : kAnchorColour);
    QPainter painter(&background);
    // A small cylinder lying across the strip: lit along its middle, darker at its rims.
    const QRectF body = axis == GridAxis::X ? QRectF(at, 1, kAnchorSize, kAnchorSize)
                                            : QRectF(1, at, kAnchorSize, kAnchorSize);
    QLinearGradient shade(body.topLeft(), axis == GridAxis::X ? body.topRight() : body.bottomLeft());
    shade.setColorAt(0.0, colour.darker(150));
    shade.setColorAt(0.4, colour.lighter(160));
    shade.setColorAt(1.0, colour.darker(130));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRect(body);
    painter.setPen(colour.darker(170));
    if (axis == GridAxis::X) {
        painter.drawLine(at, 1, at + kAnchorSize - 1, 1);
        painter.drawLine(at, kAnchorSize, at + kAnchorSize - 1, kAnchorSize);
    } else {
        painter.drawLine(1, at, 1, at + kAnchorSize - 1);
        painter.drawLine(kAnchorSize, at, kAnchorSize, at + kAnchorSize - 1);
    }
    // The tick that points at the gridline.
    painter.setPen(colour);
    const int centre = at + kAnchorHalf;
    if (axis == GridAxis::X) {
        painter.drawLine(centre, kTickStart, centre, kStripDepth - 1);
    } else {
        painter.drawLine(kTickStart, centre, kStripDepth - 1, centre);
    }
}

void DrawAnchorStrip(QImage& background, const QImage& untouched, GridAxis axis, const ItemRecord* header,
                     const ItemRecord* grid, Point pageOffset) {
    if (background.isNull()) {
        return;
    }
    if (!untouched.isNull()) {
        QPainter painter(&background);
        painter.drawImage(0, 0, untouched);
    }
    if (!header || !grid || !StripLive(header, axis)) {
        return;
    }
    for (const GridNode& node : GridNodes(grid, axis)) {
        if (!node.removed) {
            DrawAnchor(background, axis, AnchorStart(header, pageOffset, axis, node.position),
                       node.highlighted != 0);
        }
    }
}

} // namespace vlr
