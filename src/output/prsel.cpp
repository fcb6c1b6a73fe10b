// The Prepare Print page.
#include "output/prsel.h"

#include "model/numeric.h"
#include "output/composesheet.h"
#include "output/sheetview.h"
#include "settings/pagesetup.h"
#include "settings/sheetlayout.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace vlr {

namespace {

constexpr const char* kTitle = "Prepare Print";
constexpr const char* kArrangeText =
    "The software will arrange your design into rows and columns. Select the areas "
    "you do or do not want to print by clicking inside the rectangles.";
constexpr const char* kAllText =
    "Click here to select all areas. Then, you can quickly select the areas you do not want to print.";
constexpr const char* kAllWords = "all areas";
constexpr const char* kNoneText =
    "Click here to select no areas. Then, you can quickly select the areas you want to print.";
constexpr const char* kNoneWords = "no areas";
constexpr const char* kLegendText =
    "The areas under the red rectangles will print. The crossed-out areas will not "
    "print. This layout is symbolic (not drawn to exact scale).";

constexpr int kAllLink = 2, kNoneLink = 3;
const QColor kPrintsColour(255, 0, 0);
const QColor kBlankColour(192, 192, 192);

QLabel* WrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

PrselPage PrselPageOf(const ItemList* design, QSize ownSize) {
    PrselPage page;
    std::optional<SheetLayout> layout;
    if (design) {
        layout = SheetLayoutOf(*design);
    }
    if (!layout) {
        page.paperPxW = page.cardPxW = ownSize.width();
        page.paperPxH = page.cardPxH = ownSize.height();
        return page;
    }
    const double dpiX = design->screen.dpiX(), dpiY = design->screen.dpiY();
    page.paperPxW = nearest(layout->paperWidth * dpiX);
    page.paperPxH = nearest(layout->paperHeight * dpiY);
    page.rows = layout->rows;
    page.columns = layout->columns;
    page.marginPxL = nearest(layout->leftMargin * dpiX);
    page.marginPxT = nearest(layout->topMargin * dpiY);
    page.cardPxW = nearest(layout->cardWidth * dpiX);
    page.cardPxH = nearest(layout->cardHeight * dpiY);
    page.rowGapPx = nearest(layout->rowGap * dpiY);
    page.colGapPx = nearest(layout->columnGap * dpiX);
    return page;
}

std::optional<PrselDrawing> PrselDrawingOf(const PrselPage& page, QSize view) {
    const int32_t longest = std::max(page.paperPxW, page.paperPxH);
    if (longest <= 0) {
        return std::nullopt; // a paper without size draws nothing
    }
    const double k = 0.9 * std::min(view.width(), view.height()) / longest;
    const int32_t rows = std::clamp(page.rows, 1, kLargestRowsOrColumns);
    const int32_t columns = std::clamp(page.columns, 1, kLargestRowsOrColumns);
    PrselDrawing drawing;
    drawing.sheet = QSize(SaturatingAdd(nearest(k * page.paperPxW), 2 * int64_t{columns}),
                          SaturatingAdd(nearest(k * page.paperPxH), 2 * int64_t{rows}));
    const int32_t cardW = nearest(k * page.cardPxW), cardH = nearest(k * page.cardPxH);
    const int64_t stepX = int64_t{cardW} + nearest(k * page.colGapPx) + 1;
    const int64_t stepY = int64_t{cardH} + nearest(k * page.rowGapPx) + 1;
    const int32_t left = nearest(k * page.marginPxL), top = nearest(k * page.marginPxT);
    drawing.cards.reserve(size_t(rows) * size_t(columns));
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < columns; ++c) {
            drawing.cards.emplace_back(SaturatingAdd(left, c * stepX), SaturatingAdd(top, r * stepY), cardW,
                                       cardH);
        }
    }
    return drawing;
}

int32_t AreaAt(const PrselDrawing& drawing, QPoint sheetPoint) {
    for (size_t i = 0; i < drawing.cards.size(); ++i) {
        if (drawing.cards[i].contains(sheetPoint)) {
            return int32_t(i + 1);
        }
    }
    return 0;
}

void ToggleArea(std::string& selection, int32_t index) {
    if (index < 1) {
        return;
    }
    if (selection.size() < size_t(index)) {
        selection.resize(size_t(index), ' ');
    }
    char& area = selection[size_t(index - 1)];
    area = area == 'x' ? ' ' : 'x';
}

QString LinkHtml(const QString& text, const QString& linkWords, const QString& link, bool hot) {
    const qsizetype at = text.indexOf(linkWords);
    if (at < 0) {
        return text.toHtmlEscaped();
    }
    const QString colour = hot ? "#0000ff" : "#000000";
    return text.left(at).toHtmlEscaped() + "<a href=\"" + link + "\"><span style=\"color:" + colour +
           "; text-decoration:underline\">" + linkWords.toHtmlEscaped() + "</span></a>" +
           text.mid(at + linkWords.size()).toHtmlEscaped();
}

TPrsel::TPrsel(const ItemList* design, const std::string& selection, QWidget* parent) : DialogPage(parent) {
    setMouseTracking(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    Title = new QLabel(kTitle, this);
    QFont titleFont = Title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    Title->setFont(titleFont);
    Label1 = WrappedLabel(kArrangeText, this);
    View = new SheetView(this);
    View->setMinimumSize(200, 200);
    Label2 = WrappedLabel({}, this);
    Label3 = WrappedLabel({}, this);
    Label4 = WrappedLabel(kLegendText, this);
    layout->addWidget(Title);
    layout->addWidget(Label1);
    layout->addWidget(View, 1);
    for (QLabel* label : {Label2, Label3, Label4}) {
        layout->addWidget(label);
    }
    for (QLabel* label : {Label2, Label3}) {
        label->setTextFormat(Qt::RichText);
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        label->setOpenExternalLinks(false);
        connect(label, &QLabel::linkActivated, this,
                [this](const QString& link) { link == "all" ? SelectAllClick() : SelectNoneClick(); });
    }
    connect(Label2, &QLabel::linkHovered, this,
            [this](const QString& link) { LinkHovered(link.isEmpty() ? 0 : kAllLink); });
    connect(Label3, &QLabel::linkHovered, this,
            [this](const QString& link) { LinkHovered(link.isEmpty() ? 0 : kNoneLink); });
    // The pointer on the page's background returns the links to their plain look.
    for (QWidget* background :
         {static_cast<QWidget*>(this), static_cast<QWidget*>(View), static_cast<QWidget*>(Label1),
          static_cast<QWidget*>(Label4), static_cast<QWidget*>(Title)}) {
        background->setMouseTracking(true);
        background->installEventFilter(this);
    }
    ShowLinks();

    page_ = PrselPageOf(design, View->size());
    selection_.assign(size_t(std::clamp(page_.rows, 1, kLargestRowsOrColumns)) *
                          size_t(std::clamp(page_.columns, 1, kLargestRowsOrColumns)),
                      ' ');
    if (!selection.empty()) {
        selection_ = selection;
    }
    View->setPanelPainter([this](QPainter& painter, const QRect& sheet) { PaintSheet(painter, sheet); });
    connect(View, &SheetView::resized, this, &TPrsel::Redraw);
    connect(View, &SheetView::released, this, &TPrsel::SheetClick);
    Redraw();
}

std::optional<PrselDrawing> TPrsel::drawing() const {
    return PrselDrawingOf(page_, View->viewSize());
}

bool TPrsel::RunAction() {
    if (confirmed) {
        confirmed(selection_);
    }
    return true;
}

void TPrsel::SelectAllClick() {
    selection_.assign(size_t(page_.rows) * size_t(page_.columns), ' ');
    Redraw();
}

void TPrsel::SelectNoneClick() {
    selection_.assign(size_t(page_.rows) * size_t(page_.columns), 'x');
    Redraw();
}

void TPrsel::SheetClick(QPoint sheetPoint) {
    std::optional<PrselDrawing> sheet = drawing();
    if (!sheet) {
        return;
    }
    if (int32_t index = AreaAt(*sheet, sheetPoint); index > 0) {
        ToggleArea(selection_, index);
        View->update();
    }
}

void TPrsel::LinkHovered(int link) {
    if (hotLink_ != link) {
        hotLink_ = link;
        ShowLinks();
    }
}

void TPrsel::ShowLinks() {
    Label2->setText(LinkHtml(kAllText, kAllWords, "all", hotLink_ == kAllLink));
    Label3->setText(LinkHtml(kNoneText, kNoneWords, "none", hotLink_ == kNoneLink));
}

bool TPrsel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        LinkHovered(0);
    }
    return DialogPage::eventFilter(watched, event);
}

void TPrsel::Redraw() {
    std::optional<PrselDrawing> sheet = drawing();
    View->setPanelSize(sheet ? sheet->sheet : QSize());
    View->update();
}

void TPrsel::PaintSheet(QPainter& painter, const QRect& sheetRect) {
    std::optional<PrselDrawing> sheet = drawing();
    if (!sheet) {
        return;
    }
    painter.fillRect(sheetRect, Qt::white);
    painter.translate(sheetRect.topLeft());
    for (size_t i = 0; i < sheet->cards.size(); ++i) {
        const QRect& card = sheet->cards[i];
        // The outline lies on the card's outermost pixels.
        const QRect outline(card.left(), card.top(), card.width() - 1, card.height() - 1);
        const int32_t columns = std::max(page_.columns, 1);
        const bool prints =
            AreaPrints(selection_, int32_t(i) / columns + 1, int32_t(i) % columns + 1, columns);
        painter.setPen(prints ? kPrintsColour : kBlankColour);
        painter.drawRect(outline);
        if (!prints) {
            painter.drawLine(outline.topLeft(), outline.bottomRight());
            painter.drawLine(outline.topRight(), outline.bottomLeft());
        }
    }
}

} // namespace vlr
