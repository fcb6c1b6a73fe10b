// Vector-drawn picture buttons.
#include "panels/picturebutton.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace vlr {

namespace {

// Room between a caption and the button's edges, in logical pixels.
constexpr int kCaptionMargin = 4;

struct Palette {
    QColor top, bottom, border, text;
};

Palette PaletteOf(ButtonStyle style, ButtonLook look) {
    if (look == ButtonLook::Grey) {
        return {QColor(0xEE, 0xEE, 0xEE), QColor(0xDD, 0xDD, 0xDD), QColor(0xBB, 0xBB, 0xBB),
                QColor(0x99, 0x99, 0x99)};
    }
    const bool action = style == ButtonStyle::Action;
    switch (look) {
    case ButtonLook::Highlighted:
        return action ? Palette{QColor(0x7A, 0xAE, 0xEE), QColor(0x3C, 0x78, 0xC8), QColor(0x1F, 0x4E, 0x8C),
                                Qt::white}
                      : Palette{QColor(0xFF, 0xFF, 0xFF), QColor(0xD6, 0xE6, 0xFA), QColor(0x45, 0x7A, 0xFF),
                                QColor(0x10, 0x30, 0x70)};
    case ButtonLook::Pressed:
        return action ? Palette{QColor(0x2A, 0x55, 0x90), QColor(0x3E, 0x6C, 0xAA), QColor(0x1A, 0x3A, 0x66),
                                Qt::white}
                      : Palette{QColor(0xB8, 0xC8, 0xDE), QColor(0xD8, 0xE2, 0xF0), QColor(0x45, 0x7A, 0xFF),
                                QColor(0x10, 0x20, 0x40)};
    default:
        return action ? Palette{QColor(0x5B, 0x8F, 0xD2), QColor(0x2F, 0x62, 0xA6), QColor(0x23, 0x4C, 0x82),
                                Qt::white}
                      : Palette{QColor(0xFB, 0xFB, 0xFB), QColor(0xE2, 0xE2, 0xE2), QColor(0x9A, 0x9A, 0x9A),
                                QColor(0x20, 0x20, 0x20)};
    }
}

// A filled arrow pointing left (back) or right (forward) inside rect.
QPainterPath Arrow(const QRectF& rect, bool pointsRight) {
    const double h = rect.height();
    const double w = std::min(rect.width(), h * 1.2);
    const double left = rect.center().x() - w / 2, right = rect.center().x() + w / 2;
    const double midY = rect.center().y();
    const double shaft = h * 0.16, head = w * 0.5;
    QPainterPath path;
    if (pointsRight) {
        path.moveTo(right, midY);
        path.lineTo(right - head, midY - h * 0.36);
        path.lineTo(right - head, midY - shaft);
        path.lineTo(left, midY - shaft);
        path.lineTo(left, midY + shaft);
        path.lineTo(right - head, midY + shaft);
        path.lineTo(right - head, midY + h * 0.36);
    } else {
        path.moveTo(left, midY);
        path.lineTo(left + head, midY - h * 0.36);
        path.lineTo(left + head, midY - shaft);
        path.lineTo(right, midY - shaft);
        path.lineTo(right, midY + shaft);
        path.lineTo(left + head, midY + shaft);
        path.lineTo(left + head, midY + h * 0.36);
    }
    path.closeSubpath();
    return path;
}

} // namespace

void PaintPictureButton(QPainter& painter, const QRectF& rect, const QString& text, ButtonStyle style,
                        ButtonLook look, Glyph glyph) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const Palette colours = PaletteOf(style, look);
    const QRectF body = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor ink = look == ButtonLook::Grey ? colours.text : QColor(0x20, 0x20, 0x20);

    if (style == ButtonStyle::Row) {
        // Flat while plain, so that the panel reads as a list rather than a wall of buttons.
        if (look != ButtonLook::Plain) {
            painter.setPen(QPen(colours.border, 1.0));
            painter.setBrush(look == ButtonLook::Grey ? colours.bottom : colours.bottom.lighter(104));
            painter.drawRoundedRect(body, 3, 3);
        }
        const double side = std::max(1.0, body.height() - 4);
        PaintGlyph(painter, QRectF(body.left() + 3, body.top() + 2, side, side), glyph, ink);
        painter.setPen(colours.text);
        painter.drawText(body.adjusted(side + 8, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                         text);
        painter.restore();
        return;
    }

    if (style == ButtonStyle::Back || style == ButtonStyle::Forward) {
        QRectF glyph = body.adjusted(body.height() * 0.15, body.height() * 0.15, -body.height() * 0.15,
                                     -body.height() * 0.15);
        QPainterPath arrow = Arrow(glyph, style == ButtonStyle::Forward);
        QLinearGradient fill(glyph.topLeft(), glyph.bottomLeft());
        QColor top = look == ButtonLook::Grey ? colours.top : QColor(0x6F, 0xA0, 0xE8);
        QColor bottom = look == ButtonLook::Grey ? colours.bottom : QColor(0x2F, 0x62, 0xA6);
        if (look == ButtonLook::Highlighted) {
            top = top.lighter(120);
        }
        fill.setColorAt(0, top);
        fill.setColorAt(1, bottom);
        painter.setPen(QPen(colours.border, 1.0));
        painter.setBrush(fill);
        painter.drawPath(arrow);
        painter.restore();
        return;
    }

    const double radius = std::min(4.0, body.height() / 4);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, colours.top);
    fill.setColorAt(1, colours.bottom);
    painter.setPen(QPen(colours.border, 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(body, radius, radius);

    if (glyph != Glyph::None) {
        const double inset = std::max(2.0, body.height() * 0.14);
        PaintGlyph(painter, body.adjusted(inset, inset, -inset, -inset), glyph, ink);
        if (look == ButtonLook::Grey) {
            // A grey button's picture is faded, not only its frame.
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0xEE, 0xEE, 0xEE, 150));
            painter.drawRoundedRect(body, radius, radius);
        }
        painter.restore();
        return;
    }

    QRectF textArea = body.adjusted(kCaptionMargin, 0, -kCaptionMargin, 0);
    int alignment = Qt::AlignCenter;
    if (style == ButtonStyle::Suggestion) {
        // A small pointer in front of the suggestion's text.
        const double size = body.height() * 0.3;
        const QPointF tip(body.left() + 6 + size, body.center().y());
        QPainterPath pointer;
        pointer.moveTo(tip);
        pointer.lineTo(tip.x() - size, tip.y() - size * 0.8);
        pointer.lineTo(tip.x() - size, tip.y() + size * 0.8);
        pointer.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(look == ButtonLook::Grey ? colours.text : QColor(0x45, 0x7A, 0xFF));
        painter.drawPath(pointer);
        textArea.setLeft(tip.x() + 4);
        alignment = Qt::AlignVCenter | Qt::AlignLeft;
    }
    painter.setPen(colours.text);
    painter.drawText(textArea, alignment | Qt::TextSingleLine, text);
    painter.restore();
}

TPictureButton::TPictureButton(const QString& text, ButtonStyle style, QWidget* parent)
    : QWidget(parent), text_(text), style_(style) {
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
}

void TPictureButton::setText(const QString& text) {
    text_ = text;
    update();
}

void TPictureButton::setGlyph(Glyph glyph) {
    glyph_ = glyph;
    update();
}

void TPictureButton::setLook(ButtonLook look) {
    if (look_ != look) {
        look_ = look;
        update();
    }
}

void TPictureButton::setGrey(bool grey) {
    setLook(grey ? ButtonLook::Grey : ButtonLook::Plain);
}

QSize TPictureButton::sizeHint() const {
    if (style_ == ButtonStyle::Back || style_ == ButtonStyle::Forward) {
        return {24, 20};
    }
    return {118, 20};
}

QSize TPictureButton::minimumSizeHint() const {
    if (style_ != ButtonStyle::Tool || text_.isEmpty() || glyph_ != Glyph::None) {
        return QWidget::minimumSizeHint();
    }
    // The painter keeps kCaptionMargin free on either side of the caption.
    return {fontMetrics().horizontalAdvance(text_) + 2 * kCaptionMargin + 2, 20};
}

void TPictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintPictureButton(painter, QRectF(rect()), text_, style_, look_, glyph_);
}

void TPictureButton::enterEvent(QEnterEvent*) {
    if (look_ == ButtonLook::Grey) {
        return;
    }
    if (look_ != ButtonLook::Pressed) {
        setLook(ButtonLook::Highlighted);
    }
    Q_EMIT pointed();
}

void TPictureButton::mousePressEvent(QMouseEvent* event) {
    pressedInside_ = event->button() == Qt::LeftButton && look_ != ButtonLook::Grey;
}

void TPictureButton::mouseReleaseEvent(QMouseEvent* event) {
    bool click =
        pressedInside_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressedInside_ = false;
    if (click) {
        Q_EMIT clicked();
    }
}

} // namespace vlr
