// The Insert panel.
#include "panels/toolbox.h"

#include "panels/picturebutton.h"

#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

namespace vlr {

namespace {

constexpr int kFirstRowTop = 48;
constexpr int kRowPitch = 18;
constexpr int kLinkTop = 351;
constexpr int kLinkPictureSize = 16;
constexpr int kHighlightMs = 5000;

QString LinkText(bool hovered) {
    const char* colour = hovered ? "#0000ff" : "#000000";
    return QString("Use <a href=\"setup\" style=\"color:%1; text-decoration:underline\">Page Setup</a> to "
                   "change the card size and page layout.")
        .arg(colour);
}

// The small page picture in front of the link.
class LinkPicture : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        PaintGlyph(painter, QRectF(rect()), Glyph::PageSetup, QColor(0x20, 0x20, 0x20));
    }
};

} // namespace

const std::array<InsertRow, kInsertRowCount> kInsertRows = {{
    {"Picture", 400, Glyph::Picture},
    {"Text", 300, Glyph::Text},
    {"Line", 98, Glyph::Line},
    {"Arc", 108, Glyph::Arc},
    {"Spline", 109, Glyph::Spline},
    {"Curve", 111, Glyph::Curve},
    {"Triangle", 100, Glyph::Triangle},
    {"Square", 101, Glyph::Square},
    {"Rectangle", 102, Glyph::Rectangle},
    {"Circle", 103, Glyph::Circle},
    {"Pie", 107, Glyph::Pie},
    {"Ellipse", 104, Glyph::Ellipse},
    {"Polygon", 199, Glyph::Polygon},
    {"Star", 105, Glyph::Star},
    {"Solid", 110, Glyph::Solid},
    {"Oblong", 112, Glyph::Oblong},
}};

TToolbox::TToolbox(QWidget* parent) : QWidget(parent) {
    for (int index = 0; index < kInsertRowCount; ++index) {
        const InsertRow& row = kInsertRows[static_cast<size_t>(index)];
        auto* button = new TPictureButton(row.name, ButtonStyle::Row, this);
        button->setGlyph(row.glyph);
        button->setAccessibleName(row.name);
        connect(button, &TPictureButton::pointed, this, [this, index] { RowPointed(index); });
        connect(button, &TPictureButton::clicked, this, [this, index] { RowClicked(index); });
        rows_[static_cast<size_t>(index)] = button;
    }
    linkPicture_ = new LinkPicture(this);
    link_ = new QLabel(LinkText(false), this);
    link_->setWordWrap(true);
    link_->setTextFormat(Qt::RichText);
    link_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(link_, &QLabel::linkHovered, this, [this](const QString& target) { SetLinkHovered(!target.isEmpty()); });
    connect(link_, &QLabel::linkActivated, this, [this] {
        if (setupShowing_) {
            return;
        }
        linkHidden_ = true;
        link_->hide();
        linkPicture_->hide();
        Q_EMIT pageSetupChosen();
    });
    HighlightTimer.setSingleShot(true);
    HighlightTimer.setInterval(kHighlightMs);
    connect(&HighlightTimer, &QTimer::timeout, this, [this] {
        for (TPictureButton* row : rows_) {
            row->setLook(ButtonLook::Plain);
        }
    });
    PlaceRows();
}

bool TToolbox::SetupLinkShown() const {
    return !link_->isHidden();
}

void TToolbox::SetFirstTimeSetupShowing(bool showing) {
    setupShowing_ = showing;
    link_->setVisible(!showing && !linkHidden_);
    linkPicture_->setVisible(!showing && !linkHidden_);
}

void TToolbox::ShowSetupLink() {
    linkHidden_ = false;
    SetFirstTimeSetupShowing(setupShowing_);
}

void TToolbox::RowPointed(int index) {
    for (int other = 0; other < kInsertRowCount; ++other) {
        if (other != index) {
            rows_[static_cast<size_t>(other)]->setLook(ButtonLook::Plain);
        }
    }
    SetLinkHovered(false);
    HighlightTimer.start();
}

void TToolbox::RowClicked(int index) {
    // Only the first click counts until the main window has switched the panel.
    if (busy_) {
        return;
    }
    busy_ = true;
    rows_[static_cast<size_t>(index)]->setLook(ButtonLook::Plain);
    Q_EMIT panelChosen(kInsertRows[static_cast<size_t>(index)].panelCode);
}

void TToolbox::SetLinkHovered(bool hovered) {
    link_->setText(LinkText(hovered));
    link_->setCursor(hovered ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TToolbox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceRows();
}

// The rows and the link keep their places from the top whatever the panel's size.
void TToolbox::PlaceRows() {
    for (int index = 0; index < kInsertRowCount; ++index) {
        rows_[static_cast<size_t>(index)]->setGeometry(4, kFirstRowTop + index * kRowPitch, width() - 8, kRowPitch);
    }
    linkPicture_->setGeometry(4, kLinkTop, kLinkPictureSize, kLinkPictureSize);
    link_->setGeometry(4 + kLinkPictureSize + 4, kLinkTop, std::max(40, width() - kLinkPictureSize - 12), 64);
}

void TToolbox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // The title picture: the word on a band that fades to the panel's colour.
    const QRectF band(4, 8, width() - 8, 30);
    QLinearGradient fade(band.topLeft(), band.topRight());
    fade.setColorAt(0, QColor(0x45, 0x7A, 0xFF));
    fade.setColorAt(1, QColor(0x45, 0x7A, 0xFF, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fade);
    painter.drawRoundedRect(band, 4, 4);
    QFont title = font();
    title.setBold(true);
    title.setPixelSize(18);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(band.adjusted(8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, "Insert");
}

} // namespace vlr
