// The main window's status bar: the program's own status text, short messages about what just
// happened (saved, printed, refused), the pointer's position in the design's unit, the size of
// the selection while it is dragged and the zoom.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"

#include <QString>

#include <optional>

class QLabel;
class QStatusBar;

namespace vlr {

// A length in design pixels in the design's unit (1 pixels, 2 millimetres, 3 inches) with
// pixelsPerUnit design pixels to the unit; pixels whole, millimetres to a tenth, inches to a
// hundredth.
QString LengthText(double designPixels, int unit, double pixelsPerUnit);
// "x, y unit" of a design point, and "width × height unit" of a rectangle, in the header's unit.
QString PointerText(const ItemRecord& header, Point design);
QString SizeText(const ItemRecord& header, const Rect& design);
// The bounds of the selected items in design pixels; none without a selection.
std::optional<Rect> SelectionBounds(const ItemList& design);

class TStatusLine {
public:
    explicit TStatusLine(QStatusBar* bar);

    // The program's status text (it stays until replaced).
    void SetText(const QString& text);
    QString Text() const;
    // A message that goes after a few seconds.
    void ShowMessage(const QString& text);
    QString Message() const;
    // The pointer over a design (none: it left the canvas); dragging adds the size of the rubber
    // band when there is one, else the selection's.
    void ShowPointer(const ItemList& design, std::optional<Point> pointer, bool dragging,
                     std::optional<Rect> band = std::nullopt);
    QString PointerShown() const;
    void ShowZoom(double zoom);
    QString ZoomShown() const;

private:
    QStatusBar* bar_;
    QLabel* text_;
    QLabel* pointer_;
    QLabel* zoom_;
};

} // namespace vlr
