// The Prepare Print page: a symbolic drawing of the sheet on which the user clicks the card
// positions that are to print or not, with links that switch all of them on or off.
#pragma once

#include "model/itemrecord.h"
#include "panels/dialogpage.h"

#include <QRect>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;

namespace vlr {

class SheetView;

// The page's numbers, screen pixels.
struct PrselPage {
    int32_t paperPxW = 0, paperPxH = 0;
    int32_t rows = 1, columns = 1; // effective, after the folds
    int32_t marginPxL = 0, marginPxT = 0;
    int32_t cardPxW = 0, cardPxH = 0; // doubled by their folds
    int32_t rowGapPx = 0, colGapPx = 0;
    friend bool operator==(const PrselPage&, const PrselPage&) = default;
};
// From the design's header; without one, a page of ownSize with one card covering it.
PrselPage PrselPageOf(const ItemList* design, QSize ownSize);

// The drawing in a view: the white sheet and every card (row by row, relative to the sheet's
// corner). Not to scale: one factor fits the longer side of the paper into 0.9 of the view's
// shorter side, and each card is one pixel apart from the next.
struct PrselDrawing {
    QSize sheet;
    std::vector<QRect> cards;
};
// None for a paper without size.
std::optional<PrselDrawing> PrselDrawingOf(const PrselPage& page, QSize view);

// The card under a point of the sheet, as its position in the selection text (from 1); 0 for none.
int32_t AreaAt(const PrselDrawing& drawing, QPoint sheetPoint);
// A click on area index (from 1): the text is padded with spaces up to it, then "x" becomes a
// space and anything else "x".
void ToggleArea(std::string& selection, int32_t index);

// A text with its link words underlined, black or, while the pointer is over them, blue.
QString LinkHtml(const QString& text, const QString& linkWords, const QString& link, bool hot);

class TPrsel : public DialogPage {
    Q_OBJECT
public:
    // The layout of design (none: no header) and the window's selection; an empty selection
    // prints every position.
    TPrsel(const ItemList* design, const std::string& selection, QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {460, 560}; }
    // The host's Print or Preview button: hands the selection to confirmed.
    bool RunAction() override;

    std::function<void(const std::string& selection)> confirmed;

    const std::string& selection() const { return selection_; }
    const PrselPage& page() const { return page_; }
    std::optional<PrselDrawing> drawing() const;
    // The two links: every position prints, or none.
    void SelectAllClick();
    void SelectNoneClick();
    // A click released at a point of the sheet.
    void SheetClick(QPoint sheetPoint);
    bool linkHot(int link) const { return hotLink_ == link; }

    SheetView* View;
    QLabel* Title;
    QLabel* Label1;
    QLabel* Label2; // "all areas"
    QLabel* Label3; // "no areas"
    QLabel* Label4;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LinkHovered(int link);
    void ShowLinks();
    void Redraw();
    void PaintSheet(QPainter& painter, const QRect& sheet);

    PrselPage page_;
    std::string selection_;
    int hotLink_ = 0; // 2 "all areas", 3 "no areas", 0 none
};

} // namespace vlr
