// A plain picture control of the document window (its viewport and its rulers): it paints what
// its window gives it and hands the mouse to the window's handlers.
#pragma once

#include <QWidget>

#include <functional>

class QPainter;

namespace vlr {

class ImageControl : public QWidget {
public:
    explicit ImageControl(QWidget* parent);

    std::function<void(QPainter& painter)> paint;
    // A double click arrives instead of the second press; without a handler it counts as a press.
    std::function<void(QMouseEvent*event)> mouseDown, mouseMove, mouseUp, mouseDoubleClick;
    std::function<void()> mouseLeave;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

} // namespace vlr
