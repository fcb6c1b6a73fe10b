// The rulers of a document window: their scale in the design's measuring unit, the strips they
// are composed from, the position marks, the page-edge drags and the lengths their tooltip shows.
// Plain functions; the window keeps the pictures and hands the pointer over.
#pragma once

#include "model/itemrecord.h"
#include "model/numeric.h"

#include <QFont>
#include <QImage>
#include <QLabel>

#include <cstdint>
#include <string>
#include <vector>

namespace vlr {

inline constexpr int kRulerThickness = 12;
// A ruler strip is at most this long, unless the viewport is longer.
inline constexpr int kRulerStripLimit = 1600;

struct RulerTick {
    int32_t position = 0; // pixels from the strip's start
    int32_t height = 0;
    friend bool operator==(const RulerTick&, const RulerTick&) = default;
};
struct RulerLabel {
    int32_t position = 0; // the labelled tick, pixels from the strip's start
    int64_t value = 0;    // the number shown
    friend bool operator==(const RulerLabel&, const RulerLabel&) = default;
};
struct RulerScale {
    std::vector<RulerTick> ticks;
    std::vector<RulerLabel> labels;
};

// The ticks and labels of a strip covering page pixels (at zoom) stripStart ... stripStart +
// stripLength - 1, the page's start being 0, in the unit (1 pixels, 2 millimetres, 3 inches; any
// other as inches):
// - pixels: every nearest(zoom x 100) pixels 11 high, labelled 100, 200, ...; every fifth of that
//   1 high when 0.1 < zoom <= 0.25, every tenth when zoom > 0.25 and every twentieth when zoom > 1;
// - millimetres: every nearest(zoom x pixels per unit x 10) pixels 11 high, labelled 10, 20, ...
//   when zoom > 0.25; halves 4 high; quarters 1 high; eighths 1 high when zoom > 1;
// - inches: every nearest(zoom x pixels per unit) pixels 11 high, labelled 1, 2, ... when zoom >
//   0.125; halves 8 high and quarters 4 high when zoom > 0.25; eighths when zoom > 0.5, sixteenths
//   when zoom > 1 and thirty-seconds when zoom > 2, all 1 high.
// Each series starts one step after the page's start and its ticks stand at whole multiples of its
// step wherever the strip starts, so the labels count the steps from the page's start.
RulerScale ComputeRulerScale(int32_t units, double zoom, double pixelsPerUnit, int32_t stripStart,
                             int32_t stripLength);

// The strip's length: the viewport's or the page's, whichever is longer, but not beyond the strip
// limit, which a longer viewport raises to its own length so that a wide window has a whole ruler.
int32_t RulerStripLength(int32_t viewportExtent, int64_t pageExtent);
// The page pixel the strip starts at, given the scroll position and the page's start at zoom: 0
// while the strip covers the page, else whole strip-minus-viewport lengths, so that the strip
// always covers the viewport's part of the page and is rebuilt only every so often.
int32_t RulerOffset(int32_t viewportExtent, int64_t pageExtent, int64_t scroll, int64_t pageStart);

// The light-yellow strip with its ticks and labels; along x for the top ruler, along y (ticks from
// the right edge leftwards, labels reading upwards) for the left one; at the density of a screen
// of deviceScale device pixels per pixel.
QImage DrawRulerStrip(const RulerScale& scale, int32_t stripLength, bool horizontal, const QFont& labelFont,
                      double deviceScale = 1.0);
// The ruler: silver, with the strip copied over the part of the viewport the page covers, at the
// strip's density.
// stripScreenStart is where the strip's first pixel falls in the viewport; visible the page's
// extent in the viewport.
QImage ComposeRuler(const QImage& strip, int32_t rulerLength, int64_t stripScreenStart, int64_t visibleStart,
                    int64_t visibleEnd, bool horizontal);
// The ruler's label face: "Arial" 7 points.
QFont RulerLabelFont();

// Which edge of the page a pointer on a ruler is near: within 5 pixels (exclusive) of it. The end
// wins when both are.
enum class PageEdge { None, Start, End };
PageEdge PageEdgeNear(int64_t pointer, int64_t pageStart, int64_t pageExtent);
// The page's extent while its end is dragged by delta pixels: never under 5 pixels.
int32_t DraggedPageExtent(int32_t extent, int64_t delta);

// ---- one ruler in its window ----

// One ruler as the window shows it: the design's unit and scale, the ruler's length (the
// viewport's extent along it), where the page starts in the viewport and its extent at zoom, the
// page's start at zoom from the canvas origin and the scroll position.
struct RulerView {
    bool horizontal = true;
    int32_t units = 3;
    double zoom = 1.0;
    double pixelsPerUnit = 96.0;
    int32_t length = 1;
    int64_t pageStart = 0;
    int64_t pageExtent = 0;
    int64_t bound = 0;
    int64_t scroll = 0;
};
RulerView RulerViewOf(const ItemRecord* header, bool horizontal, int32_t length, int64_t pageStart,
                      int64_t scroll);

// A drag of one of the page's edges on a ruler, in ruler pixels along it.
struct PageEdgeDrag {
    PageEdge edge = PageEdge::None;
    bool horizontal = true;
    int64_t press = 0;
    int64_t pointer = 0;
};
// The page as the ruler shows it during a drag: its end at the dragged extent, or the whole page
// moved with the pointer (never before the canvas origin, and at most 3200 pixels of it).
RulerView DraggedView(RulerView view, const PageEdgeDrag& drag);
// The tooltip while the end is dragged: "Width: " or "Height: " and the new length.
std::string PageEdgeHint(const RulerView& view, const PageEdgeDrag& drag, char decimalSeparator);
// A finished drag. The end sets the page's width (height) in units; the page's start sets its
// left (top) offset, and the gridlines of that axis move by what the page moved. Either marks
// the design modified and derives the header's geometry again; a grown page gains gridlines.
// Not an undoable edit.
void FinishPageEdgeDrag(ItemList& items, const PageEdgeDrag& drag);

// The cursor over a ruler: west-east (north-south) near one of the page's edges, else the arrow.
Qt::CursorShape PageEdgeCursor(const RulerView& view, int64_t pointer);
// Where the tooltip of a drag goes: 8 pixels below the pointer on the top ruler, 8 right of it on
// the left one, in the viewport's pixels and kept inside it.
QPoint RulerHintPlace(bool horizontal, QPoint pointer, QSize hint, QSize viewport);

// The tooltip of a page-edge drag, hidden: bold text on a light green ground.
QLabel* CreateRulerHint(QWidget* parent);
// A ruler's picture with the pointer's red mark across it at mark (none when negative); the
// picture itself stays untouched under the mark.
void PaintRuler(QPainter& painter, const QImage& picture, int mark, bool horizontal);

// ---- the pointer on a ruler ----

// A ruler's share of its window: the drag under way, the tooltip the drag shows (placed in the
// viewport) and the ruler itself, whose cursor follows the pointer.
struct RulerPointer {
    PageEdgeDrag& drag;
    QLabel& hint;
    QWidget& ruler;
    QSize viewport;
    char decimalSeparator = '.';
};
// What the window draws again after the pointer moved: nothing, the rulers from their strips, or
// the strips too (the page's end moved, so the scale may reach further).
enum class RulerRedraw { None, Compose, Strips };

// A left-button press at a point of the ruler (ruler pixels): a drag of the page's edge near it
// begins and the pointer is followed as by a move. view: the ruler as shown.
RulerRedraw PressOnRuler(RulerPointer p, const RulerView& view, const ItemRecord* header, QPoint point);
// Without a drag the cursor tells whether an edge is near; during a drag of the page's end the
// tooltip shows the new length beside the pointer.
RulerRedraw MoveOnRuler(RulerPointer p, const RulerView& view, const ItemRecord* header, QPoint point);
// The release ends the drag and its tooltip; a drag of an edge gives the page its new size or
// place (FinishPageEdgeDrag). True when the page changed.
bool ReleaseOnRuler(RulerPointer p, ItemList& items, QPoint point);

// A ruler's light-yellow strip and the page pixel it starts at.
struct RulerStrip {
    QImage image;
    int32_t offset = -1;
};
// Draws the strip again when its start, its length or the screen's density changes, or when forced.
void UpdateRulerStrip(RulerStrip& strip, const RulerView& view, double deviceScale, bool force);
// The ruler's picture: the strip over the part of the viewport the page covers.
QImage RulerPicture(const RulerStrip& strip, const RulerView& view);

// A length for the rulers' tooltip, in the unit: "None" below 0.0001; pixels as a whole number
// and " Pixels" (" Pixel" for exactly 1), millimetres as a whole number and " mm", inches with up
// to two decimals and " Inches" (" Inch" for exactly 1).
std::string FormatLength(double value, int32_t units, char decimalSeparator = '.');

} // namespace vlr
