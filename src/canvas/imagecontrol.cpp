// A picture control of the document window.
#include "canvas/imagecontrol.h"

#include <QPainter>

namespace vlr {

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    // The picture covers the control; the pointer is followed without a button held.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void ImageControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (paint) {
        paint(painter);
    }
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    if (mouseDown) {
        mouseDown(event);
    }
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    if (mouseMove) {
        mouseMove(event);
    }
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    if (mouseUp) {
        mouseUp(event);
    }
}

void ImageControl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (mouseDoubleClick) {
        mouseDoubleClick(event);
    } else {
        mousePressEvent(event);
    }
}

void ImageControl::leaveEvent(QEvent*) {
    if (mouseLeave) {
        mouseLeave();
    }
}

} // namespace vlr
