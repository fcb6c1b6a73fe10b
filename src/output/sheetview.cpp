// The scrolled panel of the output pages.
#include "output/sheetview.h"

#include "panels/wheel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace vlr {

namespace {

constexpr int kInset = 10;
constexpr int kBarThickness = 16;

} // namespace

PanelPlacement PlacePanel(int panelLength, int viewLength, int scrollPosition) {
    PanelPlacement placement;
    if (panelLength > viewLength) {
        placement.scrolls = true;
        placement.scrollRange = panelLength - viewLength + 2 * kInset;
        placement.position = kInset - std::clamp(scrollPosition, 0, placement.scrollRange);
    } else {
        placement.position = std::max(kInset, (viewLength - panelLength) / 2);
    }
    return placement;
}

SheetView::SheetView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    barX_ = new QScrollBar(Qt::Horizontal, this);
    barY_ = new QScrollBar(Qt::Vertical, this);
    barX_->hide();
    barY_->hide();
    for (QScrollBar* bar : {barX_, barY_}) {
        connect(bar, &QScrollBar::valueChanged, this, [this] { update(); });
    }
    new WheelScroller({this}, barX_, barY_, [this](int notches, QPoint pointer) {
        if (wheelZoom) {
            wheelZoom(notches, pointer);
        }
    });
}

void SheetView::setPanelSize(QSize size) {
    panelSize_ = size;
    Relayout();
    update();
}

QSize SheetView::viewSize() const {
    return {width() - (barY_->isVisible() ? kBarThickness : 0),
            height() - (barX_->isVisible() ? kBarThickness : 0)};
}

void SheetView::setPanelSizeAround(QSize size, QPoint viewPoint) {
    const QRect before = panelRect();
    const auto factor = [](int after, int was) { return was > 0 ? static_cast<double>(after) / was : 1.0; };
    setPanelSize(size);
    barX_->setValue(ScrollKeepingPoint(viewPoint.x() - before.x(), factor(size.width(), before.width()),
                                       viewPoint.x(), kInset));
    barY_->setValue(ScrollKeepingPoint(viewPoint.y() - before.y(), factor(size.height(), before.height()),
                                       viewPoint.y(), kInset));
}

QRect SheetView::panelRect() const {
    const QSize view = viewSize();
    const int x = PlacePanel(panelSize_.width(), view.width(), barX_->value()).position;
    const int y = PlacePanel(panelSize_.height(), view.height(), barY_->value()).position;
    return {QPoint(x, y), panelSize_};
}

void SheetView::Relayout() {
    // A bar along one axis takes room from the other; two rounds settle both.
    bool showX = false, showY = false;
    for (int round = 0; round < 2; ++round) {
        const int viewW = width() - (showY ? kBarThickness : 0),
                  viewH = height() - (showX ? kBarThickness : 0);
        showX = PlacePanel(panelSize_.width(), viewW, 0).scrolls;
        showY = PlacePanel(panelSize_.height(), viewH, 0).scrolls;
    }
    const int viewW = width() - (showY ? kBarThickness : 0), viewH = height() - (showX ? kBarThickness : 0);
    barX_->setVisible(showX);
    barY_->setVisible(showY);
    barX_->setRange(0, PlacePanel(panelSize_.width(), viewW, 0).scrollRange);
    barY_->setRange(0, PlacePanel(panelSize_.height(), viewH, 0).scrollRange);
    SetScrollSteps(barX_, viewW);
    SetScrollSteps(barY_, viewH);
    barX_->setGeometry(0, height() - kBarThickness, viewW, kBarThickness);
    barY_->setGeometry(width() - kBarThickness, 0, kBarThickness, viewH);
}

void SheetView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (painter_ && !panelSize_.isEmpty()) {
        const QSize view = viewSize();
        painter.setClipRect(QRect(QPoint(0, 0), view));
        painter_(painter, panelRect());
    }
}

void SheetView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Relayout();
    Q_EMIT resized();
}

void SheetView::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    Q_EMIT released(event->position().toPoint() - panelRect().topLeft());
}

void SheetView::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    Q_EMIT pointerMoved();
}

} // namespace vlr
