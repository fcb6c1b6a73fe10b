// The Insert panel: the side panel shown while nothing is being inserted or fine-tuned. Its rows
// choose the kind of item to insert next; below them a link opens the page setup.
#pragma once

#include "panels/glyphs.h"

#include <QTimer>
#include <QWidget>

#include <array>

class QLabel;

namespace vlr {

class TPictureButton;

struct InsertRow {
    const char* name;
    int panelCode;
    Glyph glyph;
};
inline constexpr int kInsertRowCount = 16;
extern const std::array<InsertRow, kInsertRowCount> kInsertRows;

class TToolbox : public QWidget {
    Q_OBJECT
public:
    explicit TToolbox(QWidget* parent = nullptr);

    TPictureButton* Row(int index) const { return rows_[static_cast<size_t>(index)]; }
    QLabel* SetupLink() const { return link_; }
    bool SetupLinkShown() const;
    // The panel takes one row click; the main window frees it again once it has switched.
    void ClearBusy() { busy_ = false; }
    bool busy() const { return busy_; }
    // While the first-time setup shows, the page setup cannot be opened from here.
    void SetFirstTimeSetupShowing(bool showing);
    // Shows the link again (it hides itself when clicked).
    void ShowSetupLink();

    // Removes a row's highlight five seconds after the pointer came onto it.
    QTimer HighlightTimer;

Q_SIGNALS:
    void panelChosen(int code);
    void pageSetupChosen();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceRows();
    void RowPointed(int index);
    void RowClicked(int index);
    void SetLinkHovered(bool hovered);

    std::array<TPictureButton*, kInsertRowCount> rows_{};
    QWidget* linkPicture_ = nullptr;
    QLabel* link_ = nullptr;
    bool busy_ = false;
    bool setupShowing_ = false;
    bool linkHidden_ = false;
};

} // namespace vlr
