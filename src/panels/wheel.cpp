// The mouse wheel and the stepping keys in the scrolled views.
#include "panels/wheel.h"

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

constexpr int kNotch = 120;       // eighths of a degree in one notch of a common wheel
constexpr int kSmallestStep = 16; // pixels
constexpr int kStepsPerView = 10;
constexpr double kSameZoom = 0.0001;

int TakeNotches(int& remainder, int delta) {
    // A turn the other way drops what was gathered the first way.
    if ((remainder > 0 && delta < 0) || (remainder < 0 && delta > 0)) {
        remainder = 0;
    }
    remainder += delta;
    const int notches = remainder / kNotch;
    remainder -= notches * kNotch;
    return notches;
}

} // namespace

WheelTurn ReadWheel(Qt::KeyboardModifiers modifiers, QPoint angleDelta, QPoint& remainder) {
    // Some window systems turn a Shift+wheel into a sideways turn themselves; either way it
    // scrolls sideways. Wheel deltas count positive away from the user, the view moves down.
    const bool sideways = (modifiers & Qt::ShiftModifier) || (angleDelta.y() == 0 && angleDelta.x() != 0);
    const int delta = angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
    if (modifiers & Qt::ControlModifier) {
        const int notches = TakeNotches(remainder.ry(), delta);
        return {notches ? WheelTurn::Kind::Zoom : WheelTurn::Kind::None, notches};
    }
    int& gathered = sideways ? remainder.rx() : remainder.ry();
    const int notches = -TakeNotches(gathered, delta);
    if (notches == 0) {
        return {};
    }
    return {sideways ? WheelTurn::Kind::ScrollX : WheelTurn::Kind::ScrollY, notches};
}

int ScrollStep(int viewExtent) {
    return std::max(kSmallestStep, viewExtent / kStepsPerView);
}

void SetScrollSteps(QScrollBar* bar, int viewExtent) {
    bar->setSingleStep(ScrollStep(viewExtent));
    bar->setPageStep(std::max(1, viewExtent));
}

double StepZoom(double zoom, int notches, std::span<const double> steps) {
    if (steps.empty() || notches == 0 || !std::isfinite(zoom)) {
        return zoom;
    }
    const int last = static_cast<int>(steps.size()) - 1;
    int index;
    if (notches > 0) {
        // The first step above the zoom is one notch closer.
        index =
            static_cast<int>(std::upper_bound(steps.begin(), steps.end(), zoom + kSameZoom) - steps.begin());
        index += notches - 1;
    } else {
        index =
            static_cast<int>(std::lower_bound(steps.begin(), steps.end(), zoom - kSameZoom) - steps.begin()) -
            1;
        index += notches + 1;
    }
    return steps[std::clamp(index, 0, last)];
}

int ScrollKeepingPoint(double contentPoint, double factor, int viewPoint, int contentOrigin) {
    return static_cast<int>(std::lround(contentOrigin + contentPoint * factor - viewPoint));
}

bool ScrollByArrowKey(int key, Qt::KeyboardModifiers modifiers, QScrollBar* horizontal,
                      QScrollBar* vertical) {
    if (modifiers & ~Qt::KeypadModifier) {
        return false;
    }
    QScrollBar* bar = nullptr;
    int direction = 0;
    switch (key) {
    case Qt::Key_Left:
        bar = horizontal;
        direction = -1;
        break;
    case Qt::Key_Right:
        bar = horizontal;
        direction = 1;
        break;
    case Qt::Key_Up:
        bar = vertical;
        direction = -1;
        break;
    case Qt::Key_Down:
        bar = vertical;
        direction = 1;
        break;
    default:
        return false;
    }
    if (!bar || bar->isHidden()) {
        return false;
    }
    bar->setValue(bar->value() + direction * bar->singleStep());
    return true;
}

WheelScroller::WheelScroller(std::initializer_list<QWidget*> watched, QScrollBar* horizontal,
                             QScrollBar* vertical, Zoom zoom)
    : QObject(*watched.begin()), first_(*watched.begin()), horizontal_(horizontal), vertical_(vertical),
      zoom_(std::move(zoom)) {
    for (QWidget* widget : watched) {
        widget->installEventFilter(this);
    }
}

bool WheelScroller::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) {
        return QObject::eventFilter(watched, event);
    }
    auto* wheel = static_cast<QWheelEvent*>(event);
    const WheelTurn turn = ReadWheel(wheel->modifiers(), wheel->angleDelta(), remainder_);
    QScrollBar* bar = turn.kind == WheelTurn::Kind::ScrollX ? horizontal_ : vertical_;
    switch (turn.kind) {
    case WheelTurn::Kind::None:
        break;
    case WheelTurn::Kind::Zoom:
        if (zoom_) {
            QPoint pointer = wheel->position().toPoint();
            if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget != first_) {
                pointer = first_->mapFrom(widget, pointer);
            }
            zoom_(turn.notches, pointer);
        }
        break;
    case WheelTurn::Kind::ScrollX:
    case WheelTurn::Kind::ScrollY:
        if (bar && !bar->isHidden()) {
            bar->setValue(bar->value() + turn.notches * QApplication::wheelScrollLines() * bar->singleStep());
        }
        break;
    }
    wheel->accept();
    return true;
}

} // namespace vlr
