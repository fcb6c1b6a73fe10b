// The rulers.
#include "canvas/rulers.h"

#include "canvas/grid.h"
#include "render/devicescale.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

constexpr QRgb kTickColour = qRgb(80, 80, 80);
constexpr QRgb kLabelColour = qRgb(64, 64, 64);
constexpr QRgb kPageColour = qRgb(255, 255, 225);
constexpr QRgb kOutsideColour = qRgb(192, 192, 192);
constexpr QRgb kPointerMarkColour = qRgb(255, 0, 0);
constexpr int kMajorHeight = 11;
// A pointer this close to a page edge (exclusive) takes the edge.
constexpr int64_t kEdgeReach = 5;
constexpr int32_t kSmallestPage = 5;
constexpr int kHintDistance = 8;
// A dragged page start shows at most this much of the page on the ruler.
constexpr int64_t kShiftedPageShown = 3200;

// A ruler's picture along its length, its device pixels at the screen's density.
QImage RulerImage(int32_t length, bool horizontal, double deviceScale) {
    const QSize size =
        DeviceSize(horizontal ? QSize(length, kRulerThickness) : QSize(kRulerThickness, length), deviceScale);
    QImage image(size, QImage::Format_RGB32);
    image.setDevicePixelRatio(deviceScale);
    return image;
}

struct Series {
    double step = 0.0; // pixels
    int32_t height = 0;
};

} // namespace

RulerScale ComputeRulerScale(int32_t units, double zoom, double pixelsPerUnit, int32_t stripStart,
                             int32_t stripLength) {
    RulerScale scale;
    if (!std::isfinite(zoom) || zoom <= 0.0 || !std::isfinite(pixelsPerUnit) || stripLength <= 0) {
        return scale;
    }
    const double z = zoom;
    double major = 0.0;
    int64_t labelEvery = 1;
    bool labelled = true;
    std::vector<Series> minor;
    switch (units) {
    case 1:
        major = nearest(z * 100.0);
        labelEvery = 100;
        if (z > 0.1 && z <= 0.25) {
            minor.push_back({major / 5, 1});
        }
        if (z > 0.25) {
            minor.push_back({major / 10, 1});
        }
        if (z > 1) {
            minor.push_back({major / 20, 1});
        }
        break;
    case 2:
        major = nearest(z * pixelsPerUnit * 10.0);
        labelEvery = 10;
        labelled = z > 0.25;
        minor.push_back({major / 2, 4});
        minor.push_back({major / 4, 1});
        if (z > 1) {
            minor.push_back({major / 8, 1});
        }
        break;
    default:
        major = nearest(z * pixelsPerUnit);
        labelled = z > 0.125;
        if (z > 0.25) {
            minor.push_back({major / 2, 8});
            minor.push_back({major / 4, 4});
        }
        if (z > 0.5) {
            minor.push_back({major / 8, 1});
        }
        if (z > 1) {
            minor.push_back({major / 16, 1});
        }
        if (z > 2) {
            minor.push_back({major / 32, 1});
        }
        break;
    }
    // Steps under a pixel would mark every pixel (or never end): such a series is left out.
    if (major < 1.0) {
        return scale;
    }
    std::vector<Series> series{{major, kMajorHeight}};
    series.insert(series.end(), minor.begin(), minor.end());
    const int64_t stripEnd = static_cast<int64_t>(stripStart) + stripLength;
    for (const Series& each : series) {
        if (each.step < 1.0) {
            continue;
        }
        // The first tick past the strip's start; positions are whole multiples of the step.
        int64_t k = std::max<int64_t>(1, static_cast<int64_t>(std::floor(stripStart / each.step)));
        for (;; ++k) {
            const int64_t position = nearest(k * each.step);
            if (position >= stripEnd) {
                break;
            }
            if (position < stripStart) {
                continue;
            }
            const int32_t local = static_cast<int32_t>(position - stripStart);
            scale.ticks.push_back({local, each.height});
            if (labelled && each.height == kMajorHeight) {
                scale.labels.push_back({local, k * labelEvery});
            }
        }
    }
    return scale;
}

int32_t RulerStripLength(int32_t viewportExtent, int64_t pageExtent) {
    const int64_t limit = std::max(kRulerStripLimit, viewportExtent);
    return static_cast<int32_t>(std::clamp<int64_t>(std::max<int64_t>(viewportExtent, pageExtent), 1, limit));
}

int32_t RulerOffset(int32_t viewportExtent, int64_t pageExtent, int64_t scroll, int64_t pageStart) {
    const int64_t length = RulerStripLength(viewportExtent, pageExtent);
    if (pageExtent <= length) {
        return 0;
    }
    const int64_t into = std::max<int64_t>(0, scroll - pageStart);
    // A strip as long as the viewport (a viewport of the strip limit or longer) has no slack to
    // scroll within: it follows the scrolling pixel for pixel.
    const int64_t slack = length - viewportExtent;
    const int64_t offset = slack > 0 ? slack * (into / slack) : into;
    return static_cast<int32_t>(std::clamp<int64_t>(offset, 0, pageExtent - length));
}

QFont RulerLabelFont() {
    QFont font("Arial");
    font.setPointSizeF(7.0);
    return font;
}

QImage DrawRulerStrip(const RulerScale& scale, int32_t stripLength, bool horizontal, const QFont& labelFont,
                      double deviceScale) {
    const int32_t length = std::max(1, stripLength);
    QImage strip = RulerImage(length, horizontal, deviceScale);
    strip.fill(kPageColour);
    QPainter painter(&strip);
    // Ticks are filled pixel rectangles, which cover whole device pixels at any density.
    for (const RulerTick& tick : scale.ticks) {
        painter.fillRect(horizontal ? QRect(tick.position, kRulerThickness - tick.height, 1, tick.height)
                                    : QRect(kRulerThickness - tick.height, tick.position, tick.height, 1),
                         QColor(kTickColour));
    }
    painter.setFont(labelFont);
    painter.setPen(QColor(kLabelColour));
    const int ascent = painter.fontMetrics().ascent();
    for (const RulerLabel& label : scale.labels) {
        const QString text = QString::number(label.value);
        if (horizontal) {
            // The label's top-left corner at (tick + 2, -1).
            painter.drawText(label.position + 2, -1 + ascent, text);
        } else {
            // Turned to read upwards, its top-left corner at (0, tick - 2).
            painter.save();
            painter.translate(0, label.position - 2);
            painter.rotate(-90);
            painter.drawText(0, ascent, text);
            painter.restore();
        }
    }
    return strip;
}

QImage ComposeRuler(const QImage& strip, int32_t rulerLength, int64_t stripScreenStart, int64_t visibleStart,
                    int64_t visibleEnd, bool horizontal) {
    const int32_t length = std::max(1, rulerLength);
    const double deviceScale = strip.isNull() ? 1.0 : strip.devicePixelRatio();
    QImage ruler = RulerImage(length, horizontal, deviceScale);
    ruler.fill(kOutsideColour);
    const QSizeF stripSize = strip.deviceIndependentSize();
    const int64_t stripLength = std::llround(horizontal ? stripSize.width() : stripSize.height());
    const int64_t from = std::max<int64_t>({0, visibleStart, stripScreenStart});
    const int64_t to = std::min<int64_t>({length, visibleEnd, stripScreenStart + stripLength});
    if (strip.isNull() || to <= from) {
        return ruler;
    }
    QPainter painter(&ruler);
    const int span = static_cast<int>(to - from);
    const int source = static_cast<int>(from - stripScreenStart);
    // The strip's part in its device pixels, 1:1 onto the ruler's.
    const double s = deviceScale;
    if (horizontal) {
        painter.drawImage(QRectF(from, 0, span, kRulerThickness), strip,
                          QRectF(source * s, 0, span * s, kRulerThickness * s));
    } else {
        painter.drawImage(QRectF(0, from, kRulerThickness, span), strip,
                          QRectF(0, source * s, kRulerThickness * s, span * s));
    }
    return ruler;
}

PageEdge PageEdgeNear(int64_t pointer, int64_t pageStart, int64_t pageExtent) {
    if (std::llabs(pointer - (pageStart + pageExtent)) < kEdgeReach) {
        return PageEdge::End;
    }
    if (std::llabs(pointer - pageStart) < kEdgeReach) {
        return PageEdge::Start;
    }
    return PageEdge::None;
}

int32_t DraggedPageExtent(int32_t extent, int64_t delta) {
    return SaturateInt32(std::max<int64_t>(kSmallestPage, static_cast<int64_t>(extent) + delta));
}

RulerView RulerViewOf(const ItemRecord* header, bool horizontal, int32_t length, int64_t pageStart,
                      int64_t scroll) {
    RulerView view;
    view.horizontal = horizontal;
    view.length = std::max(1, length);
    view.pageStart = pageStart;
    view.scroll = scroll;
    if (header) {
        view.units = header->units;
        view.zoom = header->zoom;
        view.pixelsPerUnit = horizontal ? double(header->pxPerUnitX) : double(header->pxPerUnitY);
        view.pageExtent = horizontal ? header->spanX : header->spanY;
        view.bound = horizontal ? header->boundLeft : header->boundTop;
    }
    return view;
}

RulerView DraggedView(RulerView view, const PageEdgeDrag& drag) {
    const int64_t delta = drag.pointer - drag.press;
    if (drag.edge == PageEdge::End) {
        view.pageExtent = DraggedPageExtent(SaturateInt32(view.pageExtent), delta);
    } else if (drag.edge == PageEdge::Start) {
        view.pageStart += std::max(delta, -view.bound);
        view.pageExtent = std::min(view.pageExtent, kShiftedPageShown);
    }
    return view;
}

std::string PageEdgeHint(const RulerView& view, const PageEdgeDrag& drag, char decimalSeparator) {
    const double extent = DraggedView(view, drag).pageExtent;
    return std::string(view.horizontal ? "Width: " : "Height: ") +
           FormatLength(extent / view.pixelsPerUnit / view.zoom, view.units, decimalSeparator);
}

void FinishPageEdgeDrag(ItemList& items, const PageEdgeDrag& drag) {
    ItemRecord* header = FindRecord(items, ItemKind::Header);
    if (!header || drag.edge == PageEdge::None) {
        return;
    }
    const RulerView view = RulerViewOf(header, drag.horizontal, 1, 0, 0);
    const double z = view.zoom;
    ItemRecord* grid = LiveGridlines(items);
    const GridAxis axis = drag.horizontal ? GridAxis::X : GridAxis::Y;
    const RulerView dragged = DraggedView(view, drag);
    if (drag.edge == PageEdge::End) {
        (drag.horizontal ? header->canvasWidth : header->canvasHeight) =
            dragged.pageExtent / view.pixelsPerUnit / z;
    } else {
        const int64_t start = view.bound + (dragged.pageStart - view.pageStart);
        (drag.horizontal ? header->canvasLeft : header->canvasTop) = start / view.pixelsPerUnit / z;
    }
    SetModified(items, true);
    HeaderGeometry(header);
    if (!grid) {
        return;
    }
    if (drag.edge == PageEdge::End) {
        AddGridlinesForGrownPage(grid, header, axis);
    } else {
        // The gridlines move by what the page moved, which stops at the canvas origin.
        const int64_t moved = (drag.horizontal ? header->boundLeft : header->boundTop) - view.bound;
        ShiftGrid(grid, axis, nearest(moved / z));
    }
}

Qt::CursorShape PageEdgeCursor(const RulerView& view, int64_t pointer) {
    if (PageEdgeNear(pointer, view.pageStart, view.pageExtent) == PageEdge::None) {
        return Qt::ArrowCursor;
    }
    return view.horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

QPoint RulerHintPlace(bool horizontal, QPoint pointer, QSize hint, QSize viewport) {
    // The viewport starts a ruler's thickness past the ruler's own pixels, across it.
    const QPoint place = horizontal ? QPoint(pointer.x(), pointer.y() - kRulerThickness + kHintDistance)
                                    : QPoint(pointer.x() - kRulerThickness + kHintDistance, pointer.y());
    return {std::clamp(place.x(), 0, std::max(0, viewport.width() - hint.width())),
            std::clamp(place.y(), 0, std::max(0, viewport.height() - hint.height()))};
}

QLabel* CreateRulerHint(QWidget* parent) {
    auto* hint = new QLabel(parent);
    hint->setStyleSheet("QLabel { background: #ccffcc; color: black; border: 1px solid #808080; "
                        "font-weight: bold; padding: 2px 4px; }");
    hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint->hide();
    return hint;
}

void PaintRuler(QPainter& painter, const QImage& picture, int mark, bool horizontal) {
    painter.drawImage(0, 0, picture);
    if (mark >= 0) {
        painter.fillRect(horizontal ? QRect(mark, 0, 1, kRulerThickness) : QRect(0, mark, kRulerThickness, 1),
                         QColor(kPointerMarkColour));
    }
}

RulerRedraw PressOnRuler(RulerPointer p, const RulerView& view, const ItemRecord* header, QPoint point) {
    const int64_t along = view.horizontal ? point.x() : point.y();
    p.drag = {PageEdgeNear(along, view.pageStart, view.pageExtent), view.horizontal, along, along};
    return MoveOnRuler(p, view, header, point);
}

RulerRedraw MoveOnRuler(RulerPointer p, const RulerView& view, const ItemRecord* header, QPoint point) {
    const int64_t along = view.horizontal ? point.x() : point.y();
    if (p.drag.edge == PageEdge::None) {
        p.ruler.setCursor(PageEdgeCursor(view, along));
        return RulerRedraw::None;
    }
    p.drag.pointer = along;
    if (p.drag.edge == PageEdge::Start) {
        return RulerRedraw::Compose;
    }
    // The new length is the page's own, whatever the window shows of it.
    const RulerView page = RulerViewOf(header, view.horizontal, 1, 0, 0);
    p.hint.setText(QString::fromStdString(PageEdgeHint(page, p.drag, p.decimalSeparator)));
    p.hint.adjustSize();
    p.hint.move(RulerHintPlace(view.horizontal, point, p.hint.size(), p.viewport));
    p.hint.show();
    p.hint.raise();
    return RulerRedraw::Strips;
}

bool ReleaseOnRuler(RulerPointer p, ItemList& items, QPoint point) {
    PageEdgeDrag drag = p.drag;
    p.drag = {};
    p.hint.hide();
    if (drag.edge == PageEdge::None) {
        return false;
    }
    drag.pointer = drag.horizontal ? point.x() : point.y();
    FinishPageEdgeDrag(items, drag);
    return true;
}

void UpdateRulerStrip(RulerStrip& strip, const RulerView& view, double deviceScale, bool force) {
    const int32_t offset = RulerOffset(view.length, view.pageExtent, view.scroll, view.bound);
    const int32_t length = RulerStripLength(view.length, view.pageExtent);
    const QSizeF size = strip.image.deviceIndependentSize();
    const int64_t current = std::llround(view.horizontal ? size.width() : size.height());
    if (!force && !strip.image.isNull() && offset == strip.offset && current == length &&
        strip.image.devicePixelRatio() == deviceScale) {
        return;
    }
    strip.offset = offset;
    strip.image = DrawRulerStrip(ComputeRulerScale(view.units, view.zoom, view.pixelsPerUnit, offset, length),
                                 length, view.horizontal, RulerLabelFont(), deviceScale);
}

QImage RulerPicture(const RulerStrip& strip, const RulerView& view) {
    return ComposeRuler(strip.image, view.length, view.pageStart + strip.offset, view.pageStart,
                        view.pageStart + view.pageExtent, view.horizontal);
}

std::string FormatLength(double value, int32_t units, char decimalSeparator) {
    if (!std::isfinite(value) || value < 0.0001) {
        return "None";
    }
    // Qt's number formatting, not the C library's, which follows the user's locale.
    if (units == 1 || units == 2) {
        const std::string number = QString::number(std::nearbyint(value), 'f', 0).toStdString();
        if (units == 2) {
            return number + " mm";
        }
        return number + (value == 1.0 ? " Pixel" : " Pixels");
    }
    std::string number = QString::number(value, 'f', 2).toStdString();
    // Up to two decimals: the trailing zeros, and a bare point, go.
    number.erase(number.find_last_not_of('0') + 1);
    if (!number.empty() && number.back() == '.') {
        number.pop_back();
    }
    std::replace(number.begin(), number.end(), '.', decimalSeparator);
    return number + (value == 1.0 ? " Inch" : " Inches");
}

} // namespace vlr
