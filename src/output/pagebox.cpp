// The design-type chooser and the title pictures of the wizard's left column.
#include "output/pagebox.h"

#include "output/pagesample.h"
#include "panels/picturebutton.h"
#include "settings/designtype.h"

#include <QImage>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <map>

namespace vlr {

namespace {

constexpr int kRowLeft = 8;
constexpr int kTitleTop = 8;
constexpr int kTitleHeight = 28;
constexpr QSize kRowPictureSize(12, 16);

// The type's sketch at the size of a row's picture, made once per type.
const QImage& RowPicture(int32_t type) {
    static std::map<int32_t, QImage> pictures;
    auto found = pictures.find(type);
    if (found == pictures.end()) {
        QImage sketch(kSketchWidth, kSketchHeight, QImage::Format_RGB32);
        QPainter painter(&sketch);
        DrawTypeSketch(painter, type);
        painter.end();
        // The sketches' thin lines would vanish when shrunk: each is widened to 9 pixels first.
        QImage bold = sketch;
        QPainter widen(&bold);
        for (int y = 0; y < sketch.height(); ++y) {
            const auto* source = reinterpret_cast<const QRgb*>(sketch.constScanLine(y));
            for (int x = 0; x < sketch.width(); ++x) {
                if (qGray(source[x]) < 200) {
                    widen.fillRect(x - 4, y - 4, 9, 9, QColor(70, 70, 70));
                }
            }
        }
        widen.end();
        found =
            pictures
                .emplace(type, bold.scaled(kRowPictureSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))
                .first;
    }
    return found->second;
}

} // namespace

void PaintPageTitle(QPainter& painter, const QRect& rect, const QString& caption, bool highlighted) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient band(rect.topLeft(), rect.bottomLeft());
    band.setColorAt(0, highlighted ? QColor(0x7A, 0xAE, 0xEE) : QColor(0x4A, 0x6F, 0xA8));
    band.setColorAt(1, highlighted ? QColor(0x3C, 0x78, 0xC8) : QColor(0x23, 0x3C, 0x66));
    painter.setPen(QPen(QColor(0x1A, 0x2E, 0x50), 1.0));
    painter.setBrush(band);
    painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(std::max(10, rect.height() * 9 / 20));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(rect.adjusted(8, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     caption);
    painter.restore();
}

// ---- title pictures ----

TPageTitle::TPageTitle(const QString& caption, bool clickable, QWidget* parent)
    : QWidget(parent), caption_(caption), clickable_(clickable) {
    setFixedHeight(kTitleHeight);
    if (clickable_) {
        setCursor(Qt::PointingHandCursor);
    }
}

QSize TPageTitle::sizeHint() const {
    return {150, kTitleHeight};
}

void TPageTitle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintPageTitle(painter, rect(), caption_, highlighted_);
}

void TPageTitle::enterEvent(QEnterEvent*) {
    if (clickable_) {
        highlighted_ = true;
        update();
    }
}

void TPageTitle::leaveEvent(QEvent*) {
    highlighted_ = false;
    update();
}

void TPageTitle::mouseReleaseEvent(QMouseEvent* event) {
    if (clickable_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Q_EMIT clicked();
    }
}

// ---- the chooser ----

TPagebox::TPagebox(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

const std::array<int32_t, TPagebox::kRowCount>& TPagebox::RowTypes() {
    static const std::array<int32_t, kRowCount> types = [] {
        std::array<int32_t, kRowCount> ordered{};
        for (int32_t type = 1; type <= kDesignTypeCount; ++type) {
            const int position = DesignTypeInfoOf(type)->chooserPosition;
            if (position >= 1 && position <= kRowCount) {
                ordered[position - 1] = type;
            }
        }
        return ordered;
    }();
    return types;
}

QRect TPagebox::RowRect(int row) const {
    return {kRowLeft, kFirstRowTop + row * kRowPitch, std::max(60, width() - 2 * kRowLeft), kRowPitch};
}

QSize TPagebox::sizeHint() const {
    return {160, kFirstRowTop + kRowCount * kRowPitch + 8};
}

int TPagebox::RowAt(QPoint position) const {
    for (int row = 0; row < kRowCount; ++row) {
        if (RowRect(row).contains(position)) {
            return row;
        }
    }
    return -1;
}

void TPagebox::Highlight(int32_t type) {
    if (type == highlighted_) {
        return;
    }
    highlighted_ = type;
    update();
    Q_EMIT highlightChanged(type);
}

void TPagebox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintPageTitle(painter, QRect(kRowLeft, kTitleTop, std::max(60, width() - 2 * kRowLeft), kTitleHeight),
                   QStringLiteral("Design type"), false);
    for (int row = 0; row < kRowCount; ++row) {
        const int32_t type = RowTypes()[row];
        const QRect rect = RowRect(row);
        const bool lit = type == highlighted_;
        if (lit) {
            PaintPictureButton(painter, rect, QString(), ButtonStyle::Tool, ButtonLook::Highlighted);
        }
        const QImage& picture = RowPicture(type);
        painter.drawImage(rect.left() + 4, rect.top() + (rect.height() - picture.height()) / 2, picture);
        QFont font = painter.font();
        font.setUnderline(lit);
        painter.setFont(font);
        painter.setPen(lit ? QColor(0x10, 0x30, 0x70) : QColor(0x20, 0x20, 0x20));
        painter.drawText(rect.adjusted(4 + picture.width() + 6, 0, -2, 0),
                         Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                         QString::fromUtf8(DesignTypeInfoOf(type)->name));
    }
}

void TPagebox::mouseMoveEvent(QMouseEvent* event) {
    const int row = RowAt(event->position().toPoint());
    Highlight(row < 0 ? 0 : RowTypes()[row]);
}

void TPagebox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // A press with no move before it (a touch, a test) highlights its row as pointing would.
    const int row = RowAt(event->position().toPoint());
    if (row >= 0) {
        Highlight(RowTypes()[row]);
        Q_EMIT chosen(RowTypes()[row]);
    }
}

void TPagebox::leaveEvent(QEvent*) {
    Highlight(0);
}

void TPagebox::keyPressEvent(QKeyEvent* event) {
    const auto& types = RowTypes();
    const int current = static_cast<int>(std::find(types.begin(), types.end(), highlighted_) - types.begin());
    switch (event->key()) {
    case Qt::Key_Up:
        Highlight(types[current >= kRowCount ? kRowCount - 1 : std::max(0, current - 1)]);
        break;
    case Qt::Key_Down:
        Highlight(types[current >= kRowCount ? 0 : std::min(kRowCount - 1, current + 1)]);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (highlighted_ != 0) {
            Q_EMIT chosen(highlighted_);
        }
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace vlr
