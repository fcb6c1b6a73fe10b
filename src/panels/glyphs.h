// The small pictures on the toolbar's buttons and in the Insert panel's rows, drawn as vectors in
// a square so that they stay sharp at every screen density.
#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

namespace vlr {

enum class Glyph {
    None,
    New,
    Open,
    Save,
    Print,
    Undo,
    Redo,
    Repaint,
    Select,
    Picture,
    Text,
    Line,
    Arc,
    Spline,
    Curve,
    Triangle,
    Square,
    Rectangle,
    Circle,
    Pie,
    Ellipse,
    Polygon,
    Star,
    Solid,
    Oblong,
    Gridlines,
    Snap,
    Front,
    Back,
    Join,
    Split,
    Erase,
    Copy,
    Paste,
    ZoomIn,
    ZoomOut,
    PageSetup,
    Mirror,    // left and right swapped about an upright axis
    Flip,      // top and bottom swapped about a level axis
    TurnLeft,  // a quarter turn against the clock
    TurnRight, // a quarter turn with the clock
};

// Draws the glyph inside the largest square centred in box, in ink.
void PaintGlyph(QPainter& painter, const QRectF& box, Glyph glyph, const QColor& ink);

} // namespace vlr
