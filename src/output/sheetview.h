// The drawing area of the Prepare Print and print preview pages: a panel centred in the view,
// never closer than 10 pixels to its left or top edge, with scroll bars when the panel is larger
// than the view.
#pragma once

#include <QWidget>

#include <functional>

class QScrollBar;

namespace vlr {

// Where a panel of a size lies in a view along one axis: centred, at least 10 pixels in; a
// panel longer than the view scrolls over the excess plus 20, a scroll position p placing it at
// 10 - p.
struct PanelPlacement {
    int position = 0;
    bool scrolls = false;
    int scrollRange = 0;
};
PanelPlacement PlacePanel(int panelLength, int viewLength, int scrollPosition);

class SheetView : public QWidget {
    Q_OBJECT
public:
    using PanelPainter = std::function<void(QPainter& painter, const QRect& panel)>;

    explicit SheetView(QWidget* parent = nullptr);

    void setPanelSize(QSize size);
    // A new size for the panel that keeps the point of it under a point of the view where it is
    // (zooming around the pointer); where the panel fits the view it is centred as always.
    void setPanelSizeAround(QSize size, QPoint viewPoint);
    QSize panelSize() const { return panelSize_; }
    // Paints the panel; the view itself is filled with the window colour.
    void setPanelPainter(PanelPainter painter) { painter_ = std::move(painter); }
    // Where the panel lies in the widget now.
    QRect panelRect() const;
    // The area the panel is placed in: the widget less the scroll bars that show.
    QSize viewSize() const;
    QScrollBar* horizontalBar() const { return barX_; }
    QScrollBar* verticalBar() const { return barY_; }
    // Ctrl+wheel over the view: notches closer (negative: farther) around a point of the view.
    std::function<void(int notches, QPoint pointer)> wheelZoom;

Q_SIGNALS:
    // The mouse button was released at a point of the panel (panel coordinates).
    void released(QPoint panelPoint);
    // The pointer moves over the view.
    void pointerMoved();
    // The view changed its size.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Relayout();

    QSize panelSize_;
    PanelPainter painter_;
    QScrollBar* barX_ = nullptr;
    QScrollBar* barY_ = nullptr;
};

} // namespace vlr
