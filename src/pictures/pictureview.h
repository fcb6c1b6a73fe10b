// The picture editor's view: the picture at its zoom with the clip outlines over it, scrolled
// when it is larger than the view, and the mouse that outlines, selects, moves and resizes
// clips. The work is done by the outline functions; the view keeps only the gesture under way.
#pragma once

#include "model/geometry.h"
#include "pictures/pictureeditor.h"

#include <QAbstractScrollArea>

#include <cstdint>

namespace vlr {

namespace EditorTool {
inline constexpr int Select = 0;
inline constexpr int Rectangle = 1;
inline constexpr int Round = 2;
} // namespace EditorTool

class TPictureView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TPictureView(PictureEditor& editor, QWidget* parent = nullptr);

    int tool() const { return tool_; }
    // Ends any outlining under way.
    void SetTool(int tool);
    // The picture, its orientation or its clips changed: scroll ranges and picture again.
    void Refresh();
    // The zoom changed from oldZoom: the point in the middle of the view stays there.
    void ZoomChanged(double oldZoom);
    // Esc: the clip being outlined is dropped. False when there was none.
    bool CancelOutline();
    bool outlining() const { return clickCount_ != 0; }

    // The scroll offset in view pixels, and the view without its scroll bars.
    Point scrollOffset() const;
    QSize viewSize() const { return viewport()->size(); }

    static constexpr int kMarkerSize = 7;

Q_SIGNALS:
    // An outline was made, moved, resized or selected.
    void clipsChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Point PictureAt(QPoint view) const;
    QPoint ViewAt(Point picture) const;
    void FinishOutline(Point end);

    PictureEditor& editor_;
    int tool_ = EditorTool::Select;
    // Outlining: the first corner or the centre once taken, and where the press was.
    int clickCount_ = 0;
    Point anchor_, pointer_;
    QPoint pressAt_;
    bool pressedForFirstPoint_ = false;
    // Selection mode: the marker a press took, and whether the drag has opened the outline.
    int dragMarker_ = 0;
    Point dragFrom_;
    bool dragOpened_ = false;
};

} // namespace vlr
