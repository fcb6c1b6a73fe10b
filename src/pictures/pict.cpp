// The picture editor page.
#include "pictures/pict.h"

#include "model/history.h"
#include "model/itemlist.h"
#include "model/prompt.h"
#include "panels/linehelp.h"
#include "panels/wheel.h"
#include "pictures/clipoutline.h"
#include "pictures/pictbox.h"
#include "pictures/pictureview.h"
#include "settings/params.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace vlr {

namespace {

constexpr int kIconSize = 20;
constexpr int kOutlinedHintPage = 1076;

const char* const kRectangleHint =
    "Click on the picture where you want to start a clip, move the mouse, and click again.";
const char* const kRoundHint = "Click at the center of a round clip, move the mouse, and click again.";
const char* const kDragHint = "Or, hold down the mouse button, move the mouse, and release the button.";
const char* const kZoomHint =
    "To adjust the size of the picture, use the zoom scale in the upper right corner.";

enum class Glyph {
    Select,
    Rectangle,
    Round,
    Erase,
    Mirror,
    Flip,
    CounterClockwise,
    Clockwise,
    ZoomOut,
    ZoomIn
};

// The buttons' pictures, drawn as vectors.
QIcon GlyphIcon(Glyph glyph) {
    QPixmap picture(kIconSize, kIconSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.5));
    auto arrowHead = [&painter](QPointF tip, double dx, double dy) {
        painter.drawLine(tip, tip + QPointF(-dx * 4 + dy * 3, -dy * 4 - dx * 3));
        painter.drawLine(tip, tip + QPointF(-dx * 4 - dy * 3, -dy * 4 + dx * 3));
    };
    switch (glyph) {
    case Glyph::Select: {
        QPainterPath arrow;
        arrow.moveTo(5, 2);
        arrow.lineTo(5, 16);
        arrow.lineTo(9, 12);
        arrow.lineTo(12, 18);
        arrow.lineTo(14, 17);
        arrow.lineTo(11, 11);
        arrow.lineTo(16, 11);
        arrow.closeSubpath();
        painter.setBrush(Qt::white);
        painter.drawPath(arrow);
        break;
    }
    case Glyph::Rectangle:
        painter.setPen(QPen(Qt::black, 1.5, Qt::DashLine));
        painter.drawRect(QRectF(3, 5, 14, 10));
        break;
    case Glyph::Round:
        painter.setPen(QPen(Qt::black, 1.5, Qt::DashLine));
        painter.drawEllipse(QRectF(3, 3, 14, 14));
        break;
    case Glyph::Erase:
        painter.drawRect(QRectF(3, 5, 14, 10));
        painter.setPen(QPen(Qt::red, 2));
        painter.drawLine(5, 4, 15, 16);
        painter.drawLine(15, 4, 5, 16);
        break;
    case Glyph::Mirror:
        painter.setBrush(Qt::gray);
        painter.drawPolygon(QPolygonF({QPointF(8, 4), QPointF(8, 16), QPointF(2, 16)}));
        painter.setBrush(Qt::white);
        painter.drawPolygon(QPolygonF({QPointF(12, 4), QPointF(12, 16), QPointF(18, 16)}));
        break;
    case Glyph::Flip:
        painter.setBrush(Qt::gray);
        painter.drawPolygon(QPolygonF({QPointF(4, 8), QPointF(16, 8), QPointF(16, 2)}));
        painter.setBrush(Qt::white);
        painter.drawPolygon(QPolygonF({QPointF(4, 12), QPointF(16, 12), QPointF(16, 18)}));
        break;
    case Glyph::CounterClockwise:
    case Glyph::Clockwise: {
        const bool left = glyph == Glyph::CounterClockwise;
        painter.drawArc(QRectF(4, 4, 12, 12), left ? 0 : 180 * 16, 270 * 16 * (left ? 1 : -1));
        if (left) {
            arrowHead({10, 16}, 1, 0);
        } else {
            arrowHead({10, 16}, -1, 0);
        }
        break;
    }
    case Glyph::ZoomOut:
    case Glyph::ZoomIn:
        painter.drawEllipse(QRectF(3, 3, 10, 10));
        painter.drawLine(QPointF(12, 12), QPointF(17, 17));
        painter.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
        if (glyph == Glyph::ZoomIn) {
            painter.drawLine(QPointF(8, 5.5), QPointF(8, 10.5));
        }
        break;
    }
    return QIcon(picture);
}

// The picture editor as the host of its hint page.
class PictHintHost : public HintHost {
public:
    PictHintHost(TPict& page, TParams& params) : page_(page), params_(params) {}
    TParams& params() override { return params_; }
    // The editor's page has no side panel switch of the main window to hand codes to.
    void SwitchLater(int) override {}
    bool PictureEditorShowing() const override { return page_.isVisible(); }
    void PictureEditorSwitchLater(int code) override {
        QTimer::singleShot(0, &page_, [page = &page_, code] { page->HintPageSwitch(code); });
    }

private:
    TPict& page_;
    TParams& params_;
};

} // namespace

TPict::TPict(TParams& params, Prompt& prompt, QWidget* parent)
    : DialogPage(parent), params_(params), prompt_(prompt), hintHost_(std::make_unique<PictHintHost>(*this, params)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    box_ = new TPictbox(params_, this);
    layout->addWidget(box_);

    auto* right = new QVBoxLayout;
    right->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(right, 1);
    toolbar_ = new QWidget(this);
    auto* bar = new QHBoxLayout(toolbar_);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(2);
    right->addWidget(toolbar_);

    toolButtons_[EditorTool::Select] = AddButton("Select a clip", GlyphIcon(Glyph::Select), true);
    toolButtons_[EditorTool::Rectangle] = AddButton("Outline a clip", GlyphIcon(Glyph::Rectangle), true);
    toolButtons_[EditorTool::Round] = AddButton("Outline a round clip", GlyphIcon(Glyph::Round), true);
    eraseButton_ = AddButton("Erase the selected clip", GlyphIcon(Glyph::Erase), false);
    QToolButton* mirror = AddButton("Mirror the picture", GlyphIcon(Glyph::Mirror), false);
    QToolButton* flip = AddButton("Flip the picture", GlyphIcon(Glyph::Flip), false);
    // The quarter turn that adds 90 degrees turns the picture counter-clockwise on the screen.
    QToolButton* turnPlus = AddButton("Rotate the picture", GlyphIcon(Glyph::CounterClockwise), false);
    QToolButton* turnMinus = AddButton("Rotate the picture", GlyphIcon(Glyph::Clockwise), false);
    bar->addStretch(1);
    QToolButton* zoomOut = AddButton(QString(), GlyphIcon(Glyph::ZoomOut), false);
    zoomBar_ = new QSlider(Qt::Horizontal, toolbar_);
    zoomBar_->setRange(1, 300);
    zoomBar_->setValue(100);
    zoomBar_->setFixedWidth(160);
    bar->addWidget(zoomBar_);
    QToolButton* zoomIn = AddButton(QString(), GlyphIcon(Glyph::ZoomIn), false);
    zoomLabel_ = new QLabel("100%", toolbar_);
    zoomLabel_->setMinimumWidth(40);
    bar->addWidget(zoomLabel_);

    // The hints keep one height whatever they say, so that the picture never moves under the
    // pointer.
    auto* hintArea = new QWidget(this);
    hintArea->setFixedHeight(4 * fontMetrics().lineSpacing() + 12);
    auto* hintLayout = new QVBoxLayout(hintArea);
    hintLayout->setContentsMargins(0, 0, 0, 0);
    hintLayout->setSpacing(0);
    hints_ = new QLabel(hintArea);
    hints_->setWordWrap(true);
    hints_->setTextFormat(Qt::RichText);
    hints_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hintLayout->addWidget(hints_, 1);
    right->addWidget(hintArea);
    view_ = new TPictureView(editor_, this);
    right->addWidget(view_, 1);
    // The wheel as in the document window; Ctrl+wheel zooms as the zoom buttons do.
    new WheelScroller({view_->viewport()}, view_->horizontalScrollBar(), view_->verticalScrollBar(),
                      [this](int notches, QPoint) {
                          for (int notch = 0; notch < std::abs(notches) && editor_.loaded(); ++notch) {
                              notches > 0 ? ZoomIn() : ZoomOut();
                          }
                      });

    for (int tool : {EditorTool::Select, EditorTool::Rectangle, EditorTool::Round}) {
        // A tool chosen by hand brings the clip list back in place of the hint page.
        connect(toolButtons_[tool], &QToolButton::clicked, this, [this, tool] {
            CloseHintPage();
            ChooseTool(tool);
        });
    }
    connect(eraseButton_, &QToolButton::clicked, this, &TPict::EraseClip);
    connect(mirror, &QToolButton::clicked, this, &TPict::Mirror);
    connect(flip, &QToolButton::clicked, this, &TPict::Flip);
    connect(turnPlus, &QToolButton::clicked, this, &TPict::TurnRight);
    connect(turnMinus, &QToolButton::clicked, this, &TPict::TurnLeft);
    connect(zoomOut, &QToolButton::clicked, this, &TPict::ZoomOut);
    connect(zoomIn, &QToolButton::clicked, this, &TPict::ZoomIn);
    connect(zoomBar_, &QSlider::valueChanged, this, [this](int position) {
        if (!settingZoom_) {
            SetZoom(std::max(position, 1) / 100.0);
        }
    });
    connect(box_, &TPictbox::insertModeChosen, this, &TPict::ChooseInsertMode);
    connect(view_, &TPictureView::clipsChanged, this, &TPict::ClipsChanged);
    ChooseTool(EditorTool::Select);
    PictureChanged();
}

TPict::~TPict() {
    // The hint page goes before the host it asks.
    delete hintPage_;
    FreeList(editor_.clips);
}

QToolButton* TPict::AddButton(const QString& hint, const QIcon& icon, bool toggle) {
    auto* button = new QToolButton(toolbar_);
    button->setIcon(icon);
    button->setIconSize(QSize(kIconSize, kIconSize));
    button->setToolTip(hint);
    button->setCheckable(toggle);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    toolbar_->layout()->addWidget(button);
    return button;
}

void TPict::showEvent(QShowEvent* event) {
    DialogPage::showEvent(event);
    if (!pendingPath_.isEmpty()) {
        // After the host has laid the page out, so that the view has its size.
        QTimer::singleShot(0, this, [this] {
            const QString path = pendingPath_;
            pendingPath_.clear();
            if (!path.isEmpty()) {
                OpenFile(path);
            }
        });
    }
}

void TPict::OpenFileWhenShown(const QString& path) {
    pendingPath_ = path;
    target_ = PictureTarget{};
}

bool TPict::OpenFile(const QString& path) {
    CloseHintPage();
    pendingPath_.clear();
    target_ = PictureTarget{};
    const bool loaded = LoadPictureFile(editor_, path, view_->viewSize());
    if (!loaded) {
        PictureChanged();
        prompt_.Ask(PromptIcon::Warning, kNotAValidFile, PromptButtons::Ok);
        return false;
    }
    editor_.insertMode = box_->insertMode();
    ChooseInsertMode(editor_.insertMode);
    PictureChanged();
    return true;
}

bool TPict::OpenClip(const ItemRecord& clip, const ItemRecord& pictureData, const PictureTarget& target) {
    CloseHintPage();
    pendingPath_.clear();
    target_ = target;
    const std::string name = QString::fromStdU16String(GetText(&pictureData)).toStdString();
    if (!LoadPicture(editor_, pictureData.pictureStream, pictureData.clipShape, name, view_->viewSize())) {
        PictureChanged();
        prompt_.Ask(PromptIcon::Warning, kNotAValidFile, PromptButtons::Ok);
        return false;
    }
    SetOrientation(editor_, clip.mirrorX, clip.mirrorY, clip.turnAngle);
    SetEditorZoom(editor_, clip.pictureScale);
    if (target.pageCode == 510) {
        ChooseInsertMode(InsertMode::Clips);
    } else {
        // The clip's own cut, selected, to be moved and resized; its undo starts after it.
        const Point first{clip.srcLeft, clip.srcTop}, second{clip.srcRight, clip.srcBottom};
        ItemRecord* outline = nullptr;
        if (clip.clipShape == ClipShape::Round) {
            outline = AddRoundOutline(editor_.clips, first, second, editor_.editorZoom);
        } else if (clip.clipShape == ClipShape::Rectangle) {
            outline =
                AddRectangleOutline(editor_.clips, first, second, editor_.editorZoom, OrientedSize(editor_));
        }
        ClearHistory(editor_.clips);
        const int mode = clip.clipShape == ClipShape::Round       ? InsertMode::RoundClips
                         : clip.clipShape == ClipShape::Rectangle ? InsertMode::Clips
                                                                  : InsertMode::EntireImage;
        editor_.insertMode = mode;
        box_->SetInsertMode(mode);
        ChooseTool(EditorTool::Select);
        if (outline) {
            SelectOnly(editor_.clips, LiveOutlines(editor_.clips).front());
        }
    }
    PictureChanged();
    return true;
}

bool TPict::RunAction() {
    if (editor_.loaded() && insert) {
        insert(MakeInsertion(editor_, NewClipStyle(params_.state)), target_);
    }
    return true;
}

bool TPict::KeyDown(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
    switch (event.key()) {
    case Qt::Key_Escape:
        return view_->CancelOutline();
    case Qt::Key_Delete:
        if (FirstSelected(editor_.clips)) {
            EraseClip();
            return true;
        }
        return false;
    case Qt::Key_Z:
        if (modifiers == Qt::ControlModifier) {
            UndoClips();
            return true;
        }
        if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
            RedoClips();
            return true;
        }
        return false;
    case Qt::Key_Y:
        if (modifiers == Qt::ControlModifier) {
            RedoClips();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TPict::ChooseTool(int tool) {
    view_->SetTool(tool);
    for (int each : {EditorTool::Select, EditorTool::Rectangle, EditorTool::Round}) {
        toolButtons_[each]->setChecked(each == tool);
    }
    // Outlining means inserting clips of that shape.
    if (tool != EditorTool::Select && editor_.insertMode != tool) {
        editor_.insertMode = tool;
        box_->SetInsertMode(tool);
    }
    ShowHints();
}

void TPict::ChooseInsertMode(int mode) {
    editor_.insertMode = mode;
    box_->SetInsertMode(mode);
    ChooseTool(mode == InsertMode::Clips        ? EditorTool::Rectangle
               : mode == InsertMode::RoundClips ? EditorTool::Round
                                                : EditorTool::Select);
}

void TPict::EraseClip() {
    if (EraseSelectedOutline(editor_.clips)) {
        ChooseTool(EditorTool::Select);
        ClipsChanged();
    }
}

void TPict::Mirror() {
    MirrorPicture(editor_);
    PictureChanged();
}

void TPict::Flip() {
    FlipPicture(editor_);
    PictureChanged();
}

void TPict::TurnLeft() {
    TurnPictureLeft(editor_);
    PictureChanged();
}

void TPict::TurnRight() {
    TurnPictureRight(editor_);
    PictureChanged();
}

void TPict::ZoomIn() {
    SetZoom(ZoomInFrom(editor_.editorZoom));
}

void TPict::ZoomOut() {
    SetZoom(ZoomOutFrom(editor_.editorZoom));
}

void TPict::SetZoom(double zoom) {
    const double old = editor_.editorZoom;
    SetEditorZoom(editor_, zoom);
    view_->ZoomChanged(old);
    PictureChanged();
}

void TPict::UndoClips() {
    view_->CancelOutline();
    SelectOnly(editor_.clips, nullptr);
    Undo(editor_.clips);
    ClipsChanged();
}

void TPict::RedoClips() {
    view_->CancelOutline();
    SelectOnly(editor_.clips, nullptr);
    Redo(editor_.clips);
    ClipsChanged();
}

void TPict::RebuildFrames() {
    box_->RebuildFrames();
}

void TPict::RebuildShadows() {
    box_->RebuildShadows();
}

void TPict::PictureChanged() {
    settingZoom_ = true;
    zoomBar_->setValue(TrackPosition(editor_.editorZoom));
    settingZoom_ = false;
    zoomLabel_->setText(QString::number(nearest(editor_.editorZoom * 100.0)) + "%");
    toolbar_->setEnabled(editor_.loaded());
    view_->Refresh();
    ClipsChanged();
}

void TPict::ClipsChanged() {
    int rectangles = 0, rounds = 0;
    const std::vector<ItemRecord*> outlines = LiveOutlines(editor_.clips);
    for (const ItemRecord* outline : outlines) {
        ++(outline->kind == ItemKind::RoundClipOutline ? rounds : rectangles);
    }
    box_->SetClipCounts(rectangles, rounds);
    eraseButton_->setEnabled(FirstSelected(editor_.clips) != nullptr);
    // A clip just outlined brings its hint page, while the user wants it.
    if (outlines.size() > outlinesShown_ && view_->tool() != EditorTool::Select &&
        HintShown(params_, kOutlinedHintPage)) {
        ShowOutlinedHint();
    }
    outlinesShown_ = outlines.size();
    view_->viewport()->update();
}

void TPict::ShowHints() {
    if (!editor_.loaded()) {
        hints_->clear();
        return;
    }
    switch (view_->tool()) {
    case EditorTool::Rectangle:
        hints_->setText(QString(kRectangleHint) + "<br>" + kDragHint);
        break;
    case EditorTool::Round:
        hints_->setText(QString(kRoundHint) + "<br>" + kDragHint);
        break;
    default:
        hints_->setText(kZoomHint);
        break;
    }
}

void TPict::ShowOutlinedHint() {
    // A fresh page each time: a page is built once per showing.
    CloseHintPage();
    hintPage_ = new TLinehelp(*hintHost_, this);
    // As wide as the clip list it stands for, so that the picture does not move under the pointer.
    hintPage_->setFixedWidth(std::max(box_->width(), TLinehelp::kFrameWidth));
    static_cast<QHBoxLayout*>(layout())->insertWidget(0, hintPage_);
    hintPage_->ShowHintPage(kOutlinedHintPage);
    box_->hide();
    hintPage_->show();
}

void TPict::CloseHintPage() {
    if (!hintPage_) {
        return;
    }
    hintPage_->hide();
    hintPage_->deleteLater();
    hintPage_ = nullptr;
    box_->show();
}

void TPict::HintPageSwitch(int code) {
    if (code == 400) {
        CloseHintPage();
        return;
    }
    // The last clip, selected for moving and resizing.
    std::vector<ItemRecord*> outlines = LiveOutlines(editor_.clips);
    ChooseTool(EditorTool::Select);
    if (!outlines.empty()) {
        SelectOnly(editor_.clips, outlines.back());
        ClipsChanged();
    }
}

} // namespace vlr
