// The program's icon for its windows.
#include "app/programicon.h"

#include <QPainter>
#include <QPixmap>

namespace vlr {

namespace {

// Draws the icon on a 64 × 64 grid scaled to side pixels; the shapes follow data/velloran.svg.
QPixmap IconPicture(int side) {
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 64.0, side / 64.0);
    painter.setPen(QPen(QColor("#6f86a8"), 1.5));
    painter.setBrush(QColor("#c9d6ea"));
    painter.drawRoundedRect(QRectF(10, 6, 48, 30), 3, 3);
    painter.setPen(QPen(QColor("#2f62a6"), 2));
    painter.setBrush(QColor("#fbfcfe"));
    painter.drawRoundedRect(QRectF(4, 22, 52, 34), 3, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor("#3c78c8"));
    painter.drawRect(QRectF(10, 28, 14, 10));
    painter.setPen(QPen(QColor("#8a7a30"), 1));
    painter.setBrush(QColor("#f0dc80"));
    painter.drawEllipse(QPointF(36, 33), 8, 5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor("#1f3a66"));
    painter.drawRoundedRect(QRectF(10, 43, 38, 3), 1.5, 1.5);
    painter.drawRoundedRect(QRectF(10, 49, 26, 3), 1.5, 1.5);
    return picture;
}

} // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(IconPicture(side));
    }
    return icon;
}

} // namespace vlr
