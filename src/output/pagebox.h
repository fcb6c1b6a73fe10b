// The design-type chooser of the page-setup wizard, in its left column: one row per offered type
// under the title "Design type". Pointing at a row highlights it; clicking the highlighted row
// chooses its type. Also the title pictures the wizard's left column shows.
#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>

class QPainter;

namespace vlr {

// A title banner with a caption; highlighted, it looks like a button the pointer is over.
void PaintPageTitle(QPainter& painter, const QRect& rect, const QString& caption, bool highlighted);

// A title picture of the left column; a clickable one highlights under the pointer and reports
// a click.
class TPageTitle : public QWidget {
    Q_OBJECT
public:
    TPageTitle(const QString& caption, bool clickable, QWidget* parent = nullptr);
    QString caption() const { return caption_; }
    bool highlighted() const { return highlighted_; }
    QSize sizeHint() const override;

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString caption_;
    bool clickable_;
    bool highlighted_ = false;
};

class TPagebox : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFirstRowTop = 48;
    static constexpr int kRowPitch = 18;
    static constexpr int kRowCount = 8;

    explicit TPagebox(QWidget* parent = nullptr);

    // The offered design types, top row first.
    static const std::array<int32_t, kRowCount>& RowTypes();
    // The row of a design type on the widget.
    QRect RowRect(int row) const;
    // The highlighted type; 0 when no row is highlighted.
    int32_t HighlightedType() const { return highlighted_; }
    // Highlights the row of a type (0: none), as pointing at it does.
    void Highlight(int32_t type);

    QSize sizeHint() const override;

Q_SIGNALS:
    // A row was highlighted (its type) or every highlight was removed (0).
    void highlightChanged(int32_t type);
    void chosen(int32_t type);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int RowAt(QPoint position) const;

    int32_t highlighted_ = 0;
};

} // namespace vlr
