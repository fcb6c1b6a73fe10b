// Button pictures drawn on a 16 x 16 grid that the painter scales to the button.
#include "panels/glyphs.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vlr {

namespace {

QPainterPath RegularPolygon(QPointF centre, double radius, int corners, double innerRadius = 0.0) {
    QPainterPath path;
    const int points = innerRadius > 0 ? corners * 2 : corners;
    for (int i = 0; i < points; ++i) {
        const double r = (innerRadius > 0 && i % 2 == 1) ? innerRadius : radius;
        const double angle = -std::numbers::pi / 2 + i * 2 * std::numbers::pi / points;
        const QPointF p(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
        if (i == 0) {
            path.moveTo(p);
        } else {
            path.lineTo(p);
        }
    }
    path.closeSubpath();
    return path;
}

// A bent arrow for undo (pointing left) and redo (pointing right).
void TurnArrow(QPainter& p, bool right) {
    QPainterPath bow;
    bow.moveTo(right ? 3 : 13, 12);
    bow.cubicTo(right ? 3 : 13, 5, right ? 9 : 7, 4, right ? 12 : 4, 6.5);
    p.setBrush(Qt::NoBrush);
    p.drawPath(bow);
    QPainterPath head;
    head.moveTo(right ? 14 : 2, 8.5);
    head.lineTo(right ? 9.5 : 6.5, 8.8);
    head.lineTo(right ? 12.5 : 3.5, 3.6);
    head.closeSubpath();
    p.setBrush(p.pen().color());
    p.drawPath(head);
}

void Magnifier(QPainter& p, bool plus) {
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    p.drawLine(QPointF(4.2, 6.5), QPointF(8.8, 6.5));
    if (plus) {
        p.drawLine(QPointF(6.5, 4.2), QPointF(6.5, 8.8));
    }
}

void Page(QPainter& p, double left, double top, double width, double height) {
    QPainterPath page;
    page.moveTo(left, top);
    page.lineTo(left + width - 3, top);
    page.lineTo(left + width, top + 3);
    page.lineTo(left + width, top + height);
    page.lineTo(left, top + height);
    page.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(page);
}

// A tinted shape and its outlined reflection on either side of a dashed axis; upright is the
// mirror's axis, level the flip's.
void Reflection(QPainter& p, bool upright, const QColor& tint) {
    const QPen ink = p.pen();
    const auto at = [upright](double along, double across) {
        return upright ? QPointF(across, along) : QPointF(along, across);
    };
    // A sail: its square corner at the foot of the mirror's axis and at the start of the flip's.
    const double corner = upright ? 12.5 : 3.5, tip = upright ? 3.5 : 12.5;
    const auto half = [&](double near, double far) {
        QPainterPath path;
        path.moveTo(at(tip, near));
        path.lineTo(at(corner, near));
        path.lineTo(at(corner, far));
        path.closeSubpath();
        return path;
    };
    p.setBrush(tint);
    p.drawPath(half(6.5, 1.5));
    p.setBrush(Qt::white);
    p.drawPath(half(9.5, 14.5));
    p.setPen(QPen(ink.color(), 1.0, Qt::DashLine));
    p.drawLine(at(1, 8), at(15, 8));
    p.setPen(ink);
}

// A page turned a quarter, the arrow over it showing which way.
void QuarterTurn(QPainter& p, bool againstTheClock, const QColor& tint) {
    p.setBrush(tint);
    p.drawRect(QRectF(5.5, 8.5, 5, 5));
    QPainterPath bow;
    bow.moveTo(againstTheClock ? 13 : 3, 8.5);
    bow.arcTo(QRectF(3, 3, 10, 11), againstTheClock ? 0 : 180, againstTheClock ? 160 : -160);
    p.setBrush(Qt::NoBrush);
    p.drawPath(bow);
    const double tip = againstTheClock ? 3.4 : 12.6;
    QPainterPath head;
    head.moveTo(tip - 2.3, 6.5);
    head.lineTo(tip + 2.3, 6.5);
    head.lineTo(tip, 10);
    head.closeSubpath();
    p.setBrush(p.pen().color());
    p.drawPath(head);
}

} // namespace

void PaintGlyph(QPainter& painter, const QRectF& box, Glyph glyph, const QColor& ink) {
    if (glyph == Glyph::None) {
        return;
    }
    // The grid's square starts and ends on whole device pixels, so that its straight strokes fall
    // on the same pixels at every size instead of smearing over two.
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const double side = std::max(1.0, std::floor(std::min(box.width(), box.height()) * ratio)) / ratio;
    const double left = std::round((box.center().x() - side / 2) * ratio) / ratio;
    const double top = std::round((box.center().y() - side / 2) * ratio) / ratio;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(left, top);
    painter.scale(side / 16.0, side / 16.0);
    QPainter& p = painter;
    QPen pen(ink, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QColor tint(0x45, 0x7A, 0xFF);
    const QColor paleTint(0xAA, 0xCC, 0xFF);

    switch (glyph) {
    case Glyph::None:
        break;
    case Glyph::New:
        Page(p, 3, 1.5, 10, 13);
        break;
    case Glyph::Open: {
        QPainterPath folder;
        folder.moveTo(1.5, 13.5);
        folder.lineTo(1.5, 3.5);
        folder.lineTo(6, 3.5);
        folder.lineTo(7.5, 5);
        folder.lineTo(12.5, 5);
        folder.lineTo(12.5, 7);
        p.drawPath(folder);
        QPainterPath flap;
        flap.moveTo(1.5, 13.5);
        flap.lineTo(4, 7.5);
        flap.lineTo(15, 7.5);
        flap.lineTo(12.5, 13.5);
        flap.closeSubpath();
        p.setBrush(QColor(0xF4, 0xD0, 0x6A));
        p.drawPath(flap);
        break;
    }
    case Glyph::Save:
        p.setBrush(tint);
        p.drawRoundedRect(QRectF(2, 2, 12, 12), 1.2, 1.2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 2, 7, 4.5));
        p.drawRect(QRectF(4, 9, 8, 5));
        break;
    case Glyph::Print:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(0xC8, 0xC8, 0xC8));
        p.drawRoundedRect(QRectF(1.5, 6, 13, 6), 1, 1);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 10, 8, 4.5));
        break;
    case Glyph::Undo:
    case Glyph::Redo:
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        TurnArrow(p, glyph == Glyph::Redo);
        break;
    case Glyph::Repaint: {
        p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(3, 3, 10, 10), 30 * 16, 240 * 16);
        QPainterPath head;
        head.moveTo(14.5, 2.5);
        head.lineTo(14, 8);
        head.lineTo(9, 5.5);
        head.closeSubpath();
        p.setBrush(ink);
        p.setPen(Qt::NoPen);
        p.drawPath(head);
        break;
    }
    case Glyph::Select: {
        QPainterPath arrow;
        arrow.moveTo(4, 1.5);
        arrow.lineTo(4, 13);
        arrow.lineTo(6.8, 10.4);
        arrow.lineTo(8.8, 14.5);
        arrow.lineTo(10.6, 13.6);
        arrow.lineTo(8.6, 9.6);
        arrow.lineTo(12.2, 9.4);
        arrow.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(arrow);
        break;
    }
    case Glyph::Picture: {
        p.setBrush(QColor(0xDD, 0xEE, 0xFF));
        p.drawRect(QRectF(1.5, 3, 13, 10));
        QPainterPath hills;
        hills.moveTo(1.5, 13);
        hills.lineTo(6, 7.5);
        hills.lineTo(9, 10.5);
        hills.lineTo(11, 8.5);
        hills.lineTo(14.5, 13);
        hills.closeSubpath();
        p.setBrush(QColor(0x3C, 0x9A, 0x4A));
        p.drawPath(hills);
        p.setBrush(QColor(0xF4, 0xC0, 0x30));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(11, 5.6), 1.4, 1.4);
        break;
    }
    case Glyph::Text: {
        QFont font("Serif");
        font.setPixelSize(14);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, "A");
        break;
    }
    case Glyph::Line:
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(2, 14), QPointF(14, 2));
        break;
    case Glyph::Arc:
        p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(2, 4, 12, 16), 0, 180 * 16);
        break;
    case Glyph::Spline: {
        QPainterPath wave;
        wave.moveTo(1.5, 12);
        wave.cubicTo(4, 1, 8, 1, 8, 8);
        wave.cubicTo(8, 15, 12, 15, 14.5, 4);
        p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wave);
        break;
    }
    case Glyph::Curve: {
        QPainterPath loop;
        loop.moveTo(2, 13);
        loop.cubicTo(2, 2, 14, 2, 14, 9);
        loop.cubicTo(14, 14, 7, 14, 8, 9);
        p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(loop);
        break;
    }
    case Glyph::Triangle:
        p.setBrush(paleTint);
        p.drawPath(RegularPolygon({8, 9.3}, 6.6, 3));
        break;
    case Glyph::Square:
        p.setBrush(paleTint);
        p.drawRect(QRectF(2.5, 2.5, 11, 11));
        break;
    case Glyph::Rectangle:
        p.setBrush(paleTint);
        p.drawRect(QRectF(1.5, 4, 13, 8));
        break;
    case Glyph::Circle:
        p.setBrush(paleTint);
        p.drawEllipse(QPointF(8, 8), 6, 6);
        break;
    case Glyph::Pie:
        p.setBrush(paleTint);
        p.drawPie(QRectF(2, 2, 12, 12), 60 * 16, 270 * 16);
        break;
    case Glyph::Ellipse:
        p.setBrush(paleTint);
        p.drawEllipse(QPointF(8, 8), 6.8, 4.2);
        break;
    case Glyph::Polygon:
        p.setBrush(paleTint);
        p.drawPath(RegularPolygon({8, 8}, 6.5, 6));
        break;
    case Glyph::Star:
        p.setBrush(QColor(0xF4, 0xC0, 0x30));
        p.drawPath(RegularPolygon({8, 8.6}, 7, 5, 2.9));
        break;
    case Glyph::Solid: {
        QPainterPath blob;
        blob.moveTo(3, 8);
        blob.cubicTo(2, 2, 11, 1, 13.5, 5);
        blob.cubicTo(15.5, 9, 12, 14.5, 7.5, 13.5);
        blob.cubicTo(4, 13, 3.5, 11, 3, 8);
        p.setBrush(tint);
        p.drawPath(blob);
        break;
    }
    case Glyph::Oblong:
        p.setBrush(paleTint);
        p.drawRoundedRect(QRectF(1.5, 4, 13, 8), 4, 4);
        break;
    case Glyph::Gridlines:
        p.setPen(QPen(ink, 1.0));
        for (double at : {4.5, 8.0, 11.5}) {
            p.drawLine(QPointF(at, 1.5), QPointF(at, 14.5));
            p.drawLine(QPointF(1.5, at), QPointF(14.5, at));
        }
        break;
    case Glyph::Snap:
        p.setPen(QPen(paleTint.darker(130), 1.0));
        p.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
        p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(3.5, 1.5, 9, 9), 180 * 16, -180 * 16);
        p.drawLine(QPointF(3.5, 6), QPointF(3.5, 9.5));
        p.drawLine(QPointF(12.5, 6), QPointF(12.5, 9.5));
        p.setPen(QPen(Qt::red, 2.2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(3.5, 9.5), QPointF(3.5, 12));
        p.drawLine(QPointF(12.5, 9.5), QPointF(12.5, 12));
        break;
    case Glyph::Front:
    case Glyph::Back: {
        const bool front = glyph == Glyph::Front;
        const QRectF behind(1.5, 1.5, 8.5, 8.5), ahead(6, 6, 8.5, 8.5);
        p.setBrush(front ? QColor(0xE0, 0xE0, 0xE0) : tint);
        p.drawRect(front ? behind : ahead);
        p.setBrush(front ? tint : QColor(0xE0, 0xE0, 0xE0));
        p.drawRect(front ? ahead : behind);
        break;
    }
    case Glyph::Join:
        p.setBrush(paleTint);
        p.drawRect(QRectF(1.5, 4.5, 6, 6));
        p.drawEllipse(QPointF(11.5, 7.5), 3, 3);
        p.setPen(QPen(ink, 1.0, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0.7, 2.7, 14.6, 9.6));
        break;
    case Glyph::Split:
        p.setBrush(paleTint);
        p.drawRect(QRectF(0.8, 4.5, 6, 6));
        p.drawEllipse(QPointF(12, 7.5), 3, 3);
        p.setPen(QPen(Qt::red, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8.3, 2), QPointF(8.3, 13));
        break;
    case Glyph::Erase:
        p.setPen(QPen(QColor(0xC8, 0x20, 0x20), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        break;
    case Glyph::Copy:
        Page(p, 1.5, 1.5, 8, 10);
        Page(p, 6.5, 4.5, 8, 10);
        break;
    case Glyph::Paste:
        p.setBrush(QColor(0xC8, 0x9A, 0x5A));
        p.drawRoundedRect(QRectF(2, 2.5, 10, 12), 1, 1);
        p.setBrush(QColor(0xE0, 0xE0, 0xE0));
        p.drawRect(QRectF(4.5, 1.3, 5, 2.5));
        Page(p, 7, 6, 7.5, 9);
        break;
    case Glyph::ZoomIn:
    case Glyph::ZoomOut:
        Magnifier(p, glyph == Glyph::ZoomIn);
        break;
    case Glyph::PageSetup:
        Page(p, 2.5, 1.5, 11, 13);
        p.setPen(QPen(tint, 1.0));
        p.drawRect(QRectF(4.5, 4, 7, 4));
        p.drawRect(QRectF(4.5, 9.5, 7, 3));
        break;
    case Glyph::Mirror:
    case Glyph::Flip:
        Reflection(p, glyph == Glyph::Mirror, tint);
        break;
    case Glyph::TurnLeft:
    case Glyph::TurnRight:
        QuarterTurn(p, glyph == Glyph::TurnLeft, tint);
        break;
    }
    painter.restore();
}

} // namespace vlr
