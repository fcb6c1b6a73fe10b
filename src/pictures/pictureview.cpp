// The picture editor's view.
#include "pictures/pictureview.h"

#include "model/itemlist.h"
#include "model/numeric.h"
#include "panels/wheel.h"
#include "pictures/clipoutline.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace vlr {

namespace {

// A press that moves less than this many view pixels before its release is a click.
constexpr int kDragDistance = 3;

const QColor kPasteboard(128, 128, 128);
const QColor kSelectedOutline(255, 0, 0);

bool Dragged(QPoint from, QPoint to) {
    return (to - from).manhattanLength() >= kDragDistance;
}

// An outline that shows on light and dark pictures: black under white dashes.
void DrawOutlineShape(QPainter& painter, const QRect& box, bool round, const QColor& colour) {
    QPen under(Qt::black, 1);
    under.setCosmetic(true);
    QPen over(colour, 1, Qt::DashLine);
    over.setCosmetic(true);
    for (const QPen& pen : {under, over}) {
        painter.setPen(pen);
        if (round) {
            painter.drawEllipse(box);
        } else {
            painter.drawRect(box);
        }
    }
}

} // namespace

TPictureView::TPictureView(PictureEditor& editor, QWidget* parent)
    : QAbstractScrollArea(parent), editor_(editor) {
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::CrossCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void TPictureView::SetTool(int tool) {
    tool_ = tool;
    clickCount_ = 0;
    dragMarker_ = 0;
    viewport()->setCursor(tool == EditorTool::Select ? Qt::ArrowCursor : Qt::CrossCursor);
    viewport()->update();
}

bool TPictureView::CancelOutline() {
    if (clickCount_ == 0) {
        return false;
    }
    clickCount_ = 0;
    viewport()->update();
    return true;
}

Point TPictureView::scrollOffset() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

Point TPictureView::PictureAt(QPoint view) const {
    return PictureFromView({view.x(), view.y()}, editor_.editorZoom, scrollOffset());
}

QPoint TPictureView::ViewAt(Point picture) const {
    Point view = ViewFromPicture(picture, editor_.editorZoom, scrollOffset());
    return {view.x, view.y};
}

void TPictureView::Refresh() {
    const QSize picture = editor_.loaded() ? OrientedSize(editor_) : QSize();
    const int width = nearest(picture.width() * editor_.editorZoom);
    const int height = nearest(picture.height() * editor_.editorZoom);
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, width - view.width()));
    SetScrollSteps(horizontalScrollBar(), view.width());
    verticalScrollBar()->setRange(0, std::max(0, height - view.height()));
    SetScrollSteps(verticalScrollBar(), view.height());
    viewport()->update();
}

void TPictureView::ZoomChanged(double oldZoom) {
    const QSize view = viewport()->size();
    const Point middle = PictureFromView({view.width() / 2, view.height() / 2}, oldZoom, scrollOffset());
    Refresh();
    horizontalScrollBar()->setValue(nearest(middle.x * editor_.editorZoom) - view.width() / 2);
    verticalScrollBar()->setValue(nearest(middle.y * editor_.editorZoom) - view.height() / 2);
}

void TPictureView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Refresh();
}

void TPictureView::scrollContentsBy(int, int) {
    viewport()->update();
}

void TPictureView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kPasteboard);
    if (!editor_.loaded()) {
        return;
    }
    const QSize picture = OrientedSize(editor_);
    const Point offset = scrollOffset();
    const double zoom = editor_.editorZoom;
    const QRectF target(-offset.x, -offset.y, picture.width() * zoom, picture.height() * zoom);
    // Shown smaller than decoded, neighbouring pixels are averaged; larger, each stays a square.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.width() < editor_.oriented.width());
    painter.drawImage(target, editor_.oriented);

    const ItemRecord* selected = FirstSelected(editor_.clips);
    for (const ItemRecord* outline : LiveOutlines(editor_.clips)) {
        const bool round = outline->kind == ItemKind::RoundClipOutline;
        QRect box(ViewAt({outline->boundLeft, outline->boundTop}),
                  ViewAt({outline->boundRight, outline->boundBottom}));
        DrawOutlineShape(painter, box, round, outline == selected ? kSelectedOutline : QColor(Qt::white));
    }
    if (selected) {
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        for (const OutlineMarker& marker : OutlineMarkers(*selected)) {
            const QPoint at = ViewAt(marker.at);
            painter.drawRect(at.x() - kMarkerSize / 2, at.y() - kMarkerSize / 2, kMarkerSize - 1,
                             kMarkerSize - 1);
        }
        painter.setBrush(Qt::NoBrush);
    }
    if (clickCount_ == 1) {
        const QPoint anchor = ViewAt(anchor_), pointer = ViewAt(pointer_);
        if (tool_ == EditorTool::Round) {
            const int radius = nearest(PointDistance(anchor_, pointer_) * zoom);
            DrawOutlineShape(painter, QRect(anchor.x() - radius, anchor.y() - radius, 2 * radius, 2 * radius),
                             true, kSelectedOutline);
        } else {
            DrawOutlineShape(painter, QRect(anchor, pointer).normalized(), false, kSelectedOutline);
        }
    }
}

void TPictureView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !editor_.loaded()) {
        return;
    }
    const Point at = PictureAt(event->position().toPoint());
    if (tool_ != EditorTool::Select) {
        // The first press takes the first point; a press while it is taken only waits for its
        // release, which ends the clip.
        pressedForFirstPoint_ = clickCount_ == 0;
        if (pressedForFirstPoint_) {
            anchor_ = pointer_ = at;
            clickCount_ = 1;
            pressAt_ = event->position().toPoint();
            viewport()->update();
        }
        return;
    }
    ItemRecord* selected = FirstSelected(editor_.clips);
    const int32_t half = std::max(1, nearest(kMarkerSize / 2.0 / editor_.editorZoom));
    int32_t marker = selected ? MarkerAt(*selected, at, half) : 0;
    if (marker == 0) {
        ItemRecord* hit = OutlineAt(editor_.clips, at);
        SelectOnly(editor_.clips, hit);
        marker = hit ? kCentreMarker : 0;
        Q_EMIT clipsChanged();
    }
    dragMarker_ = marker;
    dragFrom_ = at;
    dragOpened_ = false;
    pressAt_ = event->position().toPoint();
    viewport()->update();
}

void TPictureView::mouseMoveEvent(QMouseEvent* event) {
    const Point at = PictureAt(event->position().toPoint());
    if (tool_ != EditorTool::Select) {
        if (clickCount_ == 1) {
            pointer_ = at;
            viewport()->update();
        }
        return;
    }
    if (dragMarker_ == 0 || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    if (!dragOpened_) {
        if (!Dragged(pressAt_, event->position().toPoint())) {
            return;
        }
        // The drag becomes an undo step only once the outline really moves.
        if (!BeginOutlineDrag(editor_.clips)) {
            dragMarker_ = 0;
            return;
        }
        dragOpened_ = true;
    }
    if (ItemRecord* outline = FirstSelected(editor_.clips)) {
        DragOutline(*outline, dragMarker_, {at.x - dragFrom_.x, at.y - dragFrom_.y}, OrientedSize(editor_));
        viewport()->update();
    }
}

void TPictureView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (tool_ != EditorTool::Select) {
        if (clickCount_ != 1) {
            return;
        }
        // A click after the first press waits for the second click; a drag ends the clip here.
        if (pressedForFirstPoint_ && !Dragged(pressAt_, event->position().toPoint())) {
            return;
        }
        FinishOutline(PictureAt(event->position().toPoint()));
        return;
    }
    if (dragOpened_) {
        Q_EMIT clipsChanged();
    }
    dragMarker_ = 0;
    dragOpened_ = false;
}

void TPictureView::FinishOutline(Point end) {
    clickCount_ = 0;
    if (tool_ == EditorTool::Round) {
        AddRoundOutline(editor_.clips, anchor_, end, editor_.editorZoom);
    } else {
        AddRectangleOutline(editor_.clips, anchor_, end, editor_.editorZoom, OrientedSize(editor_));
    }
    viewport()->update();
    Q_EMIT clipsChanged();
}

} // namespace vlr
