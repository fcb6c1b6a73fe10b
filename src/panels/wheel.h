// The mouse wheel and the stepping keys in the program's scrolled views (the document window,
// the print preview): the wheel scrolls up and down, with Shift sideways, with Ctrl it zooms
// through the zoom steps; scroll-bar arrows and arrow keys move a tenth of the view.
#pragma once

#include <QObject>
#include <QPoint>

#include <functional>
#include <span>

class QScrollBar;
class QWidget;

namespace vlr {

// The zoom factors the Zoom menu offers, smallest first.
inline constexpr double kZoomSteps[] = {0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 1.75, 2.0, 3.0};

// One turn of the wheel read: which way it moves the view and by how many notches (positive:
// down, right or closer).
struct WheelTurn {
    enum class Kind { None, ScrollX, ScrollY, Zoom };
    Kind kind = Kind::None;
    int notches = 0;
};

// The turn of angleDelta (eighths of a degree, 120 a notch) with its modifiers. remainder holds
// the part of a notch that fine-grained wheels and touchpads deliver in pieces.
WheelTurn ReadWheel(Qt::KeyboardModifiers modifiers, QPoint angleDelta, QPoint& remainder);

// The scroll-bar step of a view extent in pixels: a tenth of it, at least 16.
int ScrollStep(int viewExtent);
// Gives a scroll bar the step and page of the view extent it scrolls.
void SetScrollSteps(QScrollBar* bar, int viewExtent);

// The zoom notches steps away from zoom through steps; a zoom between two steps counts as the
// nearer one's neighbour in the direction of travel. Stays within the first and last step.
double StepZoom(double zoom, int notches, std::span<const double> steps = kZoomSteps);

// The scroll position that keeps a point of the content under the same view position after the
// content was scaled by factor: contentPoint is where the point lies in the content before
// (pixels from the content's origin), viewPoint where it shows in the view.
int ScrollKeepingPoint(double contentPoint, double factor, int viewPoint, int contentOrigin);

// Moves the bar that an arrow key points along by its single step; false for other keys, for
// keys with modifiers and for a bar that is hidden.
bool ScrollByArrowKey(int key, Qt::KeyboardModifiers modifiers, QScrollBar* horizontal, QScrollBar* vertical);

// Watches the wheel over the given widgets: scrolls the two bars, and hands Ctrl+wheel to zoom
// with the notches and the pointer's position in the first widget (no zoom without a handler).
class WheelScroller : public QObject {
public:
    using Zoom = std::function<void(int notches, QPoint pointer)>;
    WheelScroller(std::initializer_list<QWidget*> watched, QScrollBar* horizontal, QScrollBar* vertical,
                  Zoom zoom = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* first_;
    QScrollBar* horizontal_;
    QScrollBar* vertical_;
    Zoom zoom_;
    QPoint remainder_;
};

} // namespace vlr
