// The pictures of the page-setup wizard's right-hand area: the sketch of each design type in the
// type chooser, and the sample of the page being set up (the paper with its cards, folds and
// margins, scaled to the area, or a pixel picture at its own size).
#pragma once

#include "settings/pagesetup.h"

#include <QColor>
#include <QLine>
#include <QPoint>
#include <QSize>

#include <vector>

class QPainter;

namespace vlr {

// ---- the type chooser's sketches ----

inline constexpr int kSketchWidth = 180;
inline constexpr int kSketchHeight = 260;

// Draws a design type's sketch on a white 180 x 260 ground whose top-left corner is the painter's
// origin. Types outside 1 ... 11 get the ground alone.
void DrawTypeSketch(QPainter& painter, int32_t designType);

// ---- the sample of a page setup ----

struct SampleLayout {
    bool shown = false;
    QSize size;              // the sample in pixels
    double scale = 1.0;      // sample pixels per millimetre; 1 on a pixel page
    bool actualSize = false; // a pixel page: drawn at its own size, scrolled when larger than the area
};

// The sample's size in an area. Millimetres and inches: the paper scaled so that its larger side
// takes 0.9 of the area's smaller side, never larger than the area; nothing when the paper size
// does not read or is not positive. Pixels: the image size itself when both are positive whole
// numbers.
SampleLayout LayoutSample(const pageset_t& pageset, QSize area);

// The most rows and the most columns of cards the sample draws. Past them cards are smaller than
// a pixel of any area a screen holds, and a typed 100000 would otherwise stall every keystroke.
inline constexpr int kMostSampleRowsOrColumns = 200;

// One guide line of the sample, in sample pixels; both ends lie on the line.
struct SampleStroke {
    QLine line;
    QColor colour;
    bool dotted = false;
};

// The guides of a millimetre or inch sample: the margins of an illustration; the cards of a card
// type with the designed card in red and its folds dotted; the margins and folds of a brochure.
// Every stroke lies within the sample, ends clamped to one pixel outside it.
std::vector<SampleStroke> SampleStrokes(int32_t designType, const pageset_t& pageset,
                                        const SampleLayout& layout);

// Paints the sample of a page setup in an area of the given size: the white sample centred, or,
// when a pixel sample is larger than the area, moved by the scroll position; its captions and
// guides. Only the part inside the area is painted, so a huge pixel page costs no more than a
// small one. The area's own ground is the caller's.
void PaintSample(QPainter& painter, int32_t designType, const pageset_t& pageset, QSize area, QPoint scroll);

} // namespace vlr
