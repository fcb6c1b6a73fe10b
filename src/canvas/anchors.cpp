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

QImage BackgroundTile() {
    QImage tile(49, 49, QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < tile.width(); ++x) {
            const int shade = 150 + ((x * 7 + y * 13) % 11) - ((x / 7 + y / 7) % 2) * 6;
            row[x] = qRgb(shade, shade + 2, shade + 8);
        }
    }
    return tile;
}

QImage UntouchedStrip(const QImage& background, GridAxis axis) {
    // A picture for a dense screen keeps depth x ratio device pixels.
    const int depth = static_cast<int>(std::ceil(kStripDepth * background.devicePixelRatio()));
    return axis == GridAxis::X ? background.copy(0, 0, background.width(), depth)
                               : background.copy(0, 0, depth, background.height());
}

void DrawAnchor(QImage& background, GridAxis axis, int64_t start, bool highlighted) {
    const QSizeF size = background.deviceIndependentSize();
    const int64_t limit = static_cast<int64_t>(axis == GridAxis::X ? size.width() : size.height());
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
    // The tick that points at the gridline: a filled pixel column, over the gridline's own device
    // pixels at any density.
    const int centre = at + kAnchorHalf;
    painter.fillRect(axis == GridAxis::X ? QRect(centre, kTickStart, 1, kStripDepth - kTickStart)
                                         : QRect(kTickStart, centre, kStripDepth - kTickStart, 1),
                     colour);
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

// ---- the mouse on the strips ----

StripPress PressOnStrips(ItemRecord* grid, const ItemRecord* header, Point pageOffset, Point viewport) {
    StripPress press;
    press.pointer = viewport;
    if (!grid || !header) {
        return press;
    }
    HighlightAnchorAt(grid, header, pageOffset, viewport);
    for (GridAxis axis : {GridAxis::X, GridAxis::Y}) {
        if (const GridNode* node = HighlightedGridline(grid, axis)) {
            const int32_t centre =
                SaturateInt32(AnchorStart(header, pageOffset, axis, node->position) + kAnchorHalf);
            press.dragging = axis;
            press.press = axis == GridAxis::X ? Point{centre, viewport.y} : Point{viewport.x, centre};
            press.pointer = press.press;
            return press;
        }
    }
    press.onStrip = StripAt(viewport).has_value();
    return press;
}

Qt::CursorShape MoveOnStrips(StripPress& press, ItemRecord* grid, const ItemRecord* header, Point pageOffset,
                             Point viewport, bool& redraw) {
    redraw = false;
    if (press.dragging) {
        press.moved = press.moved || viewport != press.press;
        press.pointer = viewport;
        redraw = true;
        return *press.dragging == GridAxis::X ? Qt::SizeHorCursor : Qt::SizeVerCursor;
    }
    if (!grid || !header) {
        return Qt::ArrowCursor;
    }
    std::optional<GridAxis> over = HighlightAnchorAt(grid, header, pageOffset, viewport, &redraw);
    return !over ? Qt::ArrowCursor : *over == GridAxis::X ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

StripRelease ReleaseOnStrips(const StripPress& press, const ItemRecord* header, Point pageOffset,
                             Point viewport, bool shift) {
    StripRelease release;
    if (!header) {
        return release;
    }
    if (press.dragging && press.moved) {
        const GridAxis axis = *press.dragging;
        const double z = Zoom(header);
        const int64_t page = axis == GridAxis::X ? pageOffset.x : pageOffset.y;
        const int64_t from = axis == GridAxis::X ? press.press.x : press.press.y;
        const int64_t to = axis == GridAxis::X ? viewport.x : viewport.y;
        release.action = StripRelease::Action::Move;
        release.axis = axis;
        release.from = nearest((from - page) / z);
        release.to = nearest((to - page) / z);
        release.position = StripPosition(header, pageOffset, axis, viewport);
    } else if (!press.dragging && press.onStrip && shift) {
        std::optional<GridAxis> axis = StripAt(viewport);
        if (axis && StripLive(header, *axis)) {
            release.action = StripRelease::Action::Add;
            release.axis = *axis;
            release.position = StripPosition(header, pageOffset, *axis, viewport);
        }
    }
    return release;
}

void DrawAnchorStrips(QImage& background, const QImage& untouchedTop, const QImage& untouchedLeft,
                      const ItemRecord* header, const ItemRecord* grid, Point pageOffset,
                      const StripPress& press) {
    DrawAnchorStrip(background, untouchedTop, GridAxis::X, header, grid, pageOffset);
    DrawAnchorStrip(background, untouchedLeft, GridAxis::Y, header, grid, pageOffset);
    if (press.dragging && header) {
        const GridAxis axis = *press.dragging;
        DrawAnchor(
            background, axis,
            AnchorStart(header, pageOffset, axis, StripPosition(header, pageOffset, axis, press.pointer)),
            true);
    }
}

bool ApplyStripRelease(ItemList& list, EditCanvas& canvas, const EditMetrics& metrics,
                       const StripRelease& release, const EditHooks& hooks) {
    switch (release.action) {
    case StripRelease::Action::Move:
        return MoveGridlineWithItems(list, canvas, metrics, release.axis, release.from, release.to,
                                     release.position, hooks);
    case StripRelease::Action::Add:
        return EditGrid(list, release.axis, GridAction::Add, release.position, hooks);
    case StripRelease::Action::None:
        break;
    }
    return false;
}

} // namespace vlr
