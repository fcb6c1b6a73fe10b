// The About page.
#include "app/about.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace vlr {

namespace {

const QString kSign = QStringLiteral("\u00A9");
const QString kNotice1 = kSign + QStringLiteral(" Velloran. Design, print and enjoy.");
const QString kNotice2 = QStringLiteral("This program is yours to use on every computer you own.");

QFont AboutFont() {
    QFont font("Verdana");
    font.setPointSize(10);
    return font;
}

// The picture behind the texts, made once at a fixed size and stretched over the page.
QImage BackgroundPicture() {
    QImage picture(256, 96, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, picture.height());
    sky.setColorAt(0.0, QColor(0x1E, 0x3C, 0x72));
    sky.setColorAt(1.0, QColor(0x0B, 0x16, 0x2E));
    painter.fillRect(picture.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 6; ++i) {
        painter.setBrush(QColor(255, 255, 255, 10 + 4 * i));
        painter.drawEllipse(QPointF(200 - 18 * i, 20 + 10 * i), 60.0 - 6 * i, 30.0 - 3 * i);
    }
    return picture;
}

} // namespace

TAbout::TAbout(QWidget* parent) : DialogPage(parent) {
    setMouseTracking(true);
    background_ = BackgroundPicture();
}

QRect TAbout::linkRect() const {
    QFontMetrics metrics(AboutFont());
    QRect text = metrics.boundingRect(QString(kProductWebAddress));
    return QRect(220, 84, text.width() + 1, metrics.height() + 1);
}

void TAbout::ResetLink() {
    if (linkLit_) {
        linkLit_ = false;
        update(linkRect());
    }
}

void TAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), background_);
    painter.setFont(AboutFont());
    QFontMetrics metrics(painter.font());
    const int signWidth = metrics.horizontalAdvance(kSign);
    // Each text twice: black shifted by a pixel, then silver, for a raised look.
    auto raised = [&](int x, int y, const QString& text) {
        painter.setPen(Qt::black);
        painter.drawText(x + 1, y + 1 + metrics.ascent(), text);
        painter.setPen(QColor(0xC0, 0xC0, 0xC0));
        painter.drawText(x, y + metrics.ascent(), text);
    };
    raised(20, 20, kNotice1);
    raised(20 + signWidth, 34, kNotice2);
    raised(20, 70, QStringLiteral("Release 7"));
    raised(20, 84, QStringLiteral("August, 2012"));
    raised(220, 70, QStringLiteral("Web site"));
    if (linkLit_) {
        QFont underlined = painter.font();
        underlined.setUnderline(true);
        painter.setFont(underlined);
        painter.setPen(QColor(0x51, 0xA3, 0xFF));   // light blue
        painter.drawText(220, 84 + metrics.ascent(), QString(kProductWebAddress));
    } else {
        raised(220, 84, QString(kProductWebAddress));
    }
}

void TAbout::mouseMoveEvent(QMouseEvent* event) {
    bool inside = linkRect().contains(event->position().toPoint());
    if (inside && !linkLit_) {
        linkLit_ = true;
        update();
        Q_EMIT highlightAction();
    } else if (!inside && linkLit_) {
        ResetLink();
        update();
    }
}

void TAbout::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && linkLit_ && !clicked_) {
        clicked_ = true;   // once per page
        Q_EMIT linkClicked();
    }
}

void TAbout::resizeEvent(QResizeEvent*) { update(); }

} // namespace vlr
