// The main window's status bar.
#include "app/statusbar.h"

#include "model/itemlist.h"

#include <QLabel>
#include <QStatusBar>

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

constexpr int kMessageMs = 5000;
constexpr int kStatusPanelWidth = 1200;

const char* UnitName(int unit) {
    switch (unit) {
    case 2:
        return "mm";
    case 3:
        return "in";
    default:
        return "px";
    }
}

} // namespace

QString LengthText(double designPixels, int unit, double pixelsPerUnit) {
    if (unit != 2 && unit != 3) {
        return QString::number(std::lround(designPixels));
    }
    const double perUnit = std::isfinite(pixelsPerUnit) && pixelsPerUnit > 0 ? pixelsPerUnit : 1.0;
    return QString::number(designPixels / perUnit, 'f', unit == 2 ? 1 : 2);
}

QString PointerText(const ItemRecord& header, Point design) {
    return LengthText(design.x, header.units, header.pxPerUnitX) + ", " +
           LengthText(design.y, header.units, header.pxPerUnitY) + " " + UnitName(header.units);
}

QString SizeText(const ItemRecord& header, const Rect& design) {
    return LengthText(design.right - design.left, header.units, header.pxPerUnitX) +
           QString::fromUtf8(" × ") +
           LengthText(design.bottom - design.top, header.units, header.pxPerUnitY) + " " +
           UnitName(header.units);
}

std::optional<Rect> SelectionBounds(const ItemList& design) {
    std::optional<Rect> bounds;
    for (const ItemRecord* item : design) {
        if (!IsSelected(item)) {
            continue;
        }
        Rect own{item->boundLeft, item->boundTop, item->boundRight, item->boundBottom};
        bounds = bounds ? Rect{std::min(bounds->left, own.left), std::min(bounds->top, own.top),
                               std::max(bounds->right, own.right), std::max(bounds->bottom, own.bottom)}
                        : own;
    }
    return bounds;
}

TStatusLine::TStatusLine(QStatusBar* bar)
    : bar_(bar), text_(new QLabel(bar)), pointer_(new QLabel(bar)), zoom_(new QLabel(bar)) {
    text_->setMinimumWidth(0);
    text_->resize(kStatusPanelWidth, text_->height());
    bar_->addWidget(text_, 1);
    bar_->addPermanentWidget(pointer_);
    bar_->addPermanentWidget(zoom_);
}

void TStatusLine::SetText(const QString& text) {
    text_->setText(text);
}
QString TStatusLine::Text() const {
    return text_->text();
}
void TStatusLine::ShowMessage(const QString& text) {
    bar_->showMessage(text, kMessageMs);
}
QString TStatusLine::Message() const {
    return bar_->currentMessage();
}
QString TStatusLine::PointerShown() const {
    return pointer_->text();
}
QString TStatusLine::ZoomShown() const {
    return zoom_->text();
}

void TStatusLine::ShowZoom(double zoom) {
    zoom_->setText(QString::number(std::lround(zoom * 100.0)) + "%");
}

void TStatusLine::ShowPointer(const ItemList& design, std::optional<Point> pointer, bool dragging,
                              std::optional<Rect> band) {
    const ItemRecord* header = FindRecord(design, ItemKind::Header);
    if (!header || !pointer) {
        pointer_->clear();
        return;
    }
    QString text = PointerText(*header, *pointer);
    if (dragging) {
        if (std::optional<Rect> selection = band ? band : SelectionBounds(design)) {
            text += "   " + SizeText(*header, *selection);
        }
    }
    pointer_->setText(text);
}

} // namespace vlr
