// The custom toolbar.
#include "panels/procs.h"

#include "model/numeric.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>

#include <algorithm>

namespace vlr {

namespace {

constexpr int kGroupCount = 4;
constexpr int kSeparatorWidth = 3;
constexpr int kGapAfterSeparator = 5;
constexpr int kButtonGap = 2;
constexpr int kZoomBarWidth = 100;
constexpr int kHighlightMs = 5000;

} // namespace

const std::array<ToolbarEntry, kToolbarButtonCount> kToolbarEntries = {{
    {ToolbarButton::New, 1, "Create a new file", Glyph::New, 0},
    {ToolbarButton::Open, 1, "Open an existing file", Glyph::Open, 0},
    {ToolbarButton::Save, 1, "Save the file", Glyph::Save, 0},
    {ToolbarButton::Print, 1, "Print the picture", Glyph::Print, 0},
    {ToolbarButton::Undo, 1, "Undo the last edit", Glyph::Undo, 0},
    {ToolbarButton::Redo, 1, "Redo the last undo", Glyph::Redo, 0},
    {ToolbarButton::Repaint, 1, "Repaint the screen", Glyph::Repaint, 0},
    {ToolbarButton::Select, 2, "Select an item", Glyph::Select, 20},
    {ToolbarButton::InsertPicture, 2, "Insert picture", Glyph::Picture, 400},
    {ToolbarButton::InsertText, 2, "Insert text", Glyph::Text, 300},
    {ToolbarButton::InsertLine, 2, "Insert line", Glyph::Line, 98},
    {ToolbarButton::InsertArc, 2, "Insert arc", Glyph::Arc, 108},
    {ToolbarButton::InsertSpline, 2, "Insert spline", Glyph::Spline, 109},
    {ToolbarButton::InsertCurve, 2, "Insert curve", Glyph::Curve, 111},
    {ToolbarButton::InsertTriangle, 2, "Insert triangle", Glyph::Triangle, 100},
    {ToolbarButton::InsertSquare, 2, "Insert square", Glyph::Square, 101},
    {ToolbarButton::InsertRectangle, 2, "Insert rectangle", Glyph::Rectangle, 102},
    {ToolbarButton::InsertCircle, 2, "Insert circle", Glyph::Circle, 103},
    {ToolbarButton::InsertPie, 2, "Insert pie", Glyph::Pie, 107},
    {ToolbarButton::InsertEllipse, 2, "Insert ellipse", Glyph::Ellipse, 104},
    {ToolbarButton::InsertPolygon, 2, "Insert polygon", Glyph::Polygon, 199},
    {ToolbarButton::InsertStar, 2, "Insert star", Glyph::Star, 105},
    {ToolbarButton::InsertSolid, 2, "Insert solid", Glyph::Solid, 110},
    {ToolbarButton::InsertOblong, 2, "Insert oblong", Glyph::Oblong, 112},
    {ToolbarButton::Gridlines, 3, "Gridlines", Glyph::Gridlines, 0},
    {ToolbarButton::Snap, 3, "Snap", Glyph::Snap, 0},
    {ToolbarButton::Front, 3, "Place the selected item on top of other objects", Glyph::Front, 0},
    {ToolbarButton::Back, 3, "Place the selected item behind other objects", Glyph::Back, 0},
    {ToolbarButton::Join, 3, "Join items", Glyph::Join, 0},
    {ToolbarButton::Split, 3, "Split group", Glyph::Split, 0},
    {ToolbarButton::Erase, 4, "Erase the selected item", Glyph::Erase, 0},
    {ToolbarButton::Copy, 4, "Copy to clipboard", Glyph::Copy, 0},
    {ToolbarButton::Paste, 4, "Paste from clipboard", Glyph::Paste, 0},
}};

const ToolbarEntry& EntryOf(ToolbarButton button) {
    return kToolbarEntries[static_cast<size_t>(button)];
}

std::optional<double> ZoomOutStep(double zoom) {
    const int32_t a = nearest(zoom * 100.0);
    if (a > 300) {
        return std::nullopt;
    }
    // Each step goes to the next lower quarter up to 2.0; from above 200 % straight to 2.0.
    struct Step {
        int32_t upTo;
        double gives;
    };
    constexpr Step steps[] = {{50, 0.25}, {75, 0.5},  {100, 0.75}, {125, 1.0},
                              {150, 1.25}, {175, 1.5}, {200, 1.75}, {300, 2.0}};
    for (const Step& step : steps) {
        if (a <= step.upTo) {
            return step.gives;
        }
    }
    return std::nullopt;
}

std::optional<double> ZoomInStep(double zoom) {
    const int32_t a = nearest(zoom * 100.0);
    struct Step {
        int32_t below;
        double gives;
    };
    constexpr Step steps[] = {{50, 0.5},  {75, 0.75}, {100, 1.0}, {125, 1.25},
                              {150, 1.5}, {175, 1.75}, {200, 2.0}, {300, 3.0}};
    for (const Step& step : steps) {
        if (a < step.below) {
            return step.gives;
        }
    }
    return std::nullopt;
}

std::optional<ToolbarButton> ToolOfPanel(int code) {
    for (const ToolbarEntry& entry : kToolbarEntries) {
        if (entry.panelCode == code && entry.group == 2) {
            return entry.button;
        }
    }
    if (code == 302 || code == 303) {
        return ToolbarButton::InsertText;
    }
    // Fine-tuning works on what the Select tool picked.
    const bool fineTune = code == 59 || code == 99 || (code >= 200 && code <= 299) || code == 301 || code == 401;
    if (fineTune) {
        return ToolbarButton::Select;
    }
    return std::nullopt;
}

TProcs::TProcs(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    available_.fill(true);
    for (const ToolbarEntry& entry : kToolbarEntries) {
        auto* button = new TPictureButton(QString(), ButtonStyle::Tool, this);
        button->setGlyph(entry.glyph);
        if (entry.hint[0] != '\0') {
            button->setToolTip(entry.hint);
        }
        button->setAccessibleName(entry.hint);
        connect(button, &TPictureButton::clicked, this, [this, which = entry.button] { Clicked(which); });
        connect(button, &TPictureButton::pointed, this, [this, button] { Pointed(button, false); });
        buttons_[static_cast<size_t>(entry.button)] = button;
    }
    zoomOut_ = new TPictureButton(QString(), ButtonStyle::Tool, this);
    zoomOut_->setGlyph(Glyph::ZoomOut);
    zoomOut_->setToolTip("Zoom out");
    zoomIn_ = new TPictureButton(QString(), ButtonStyle::Tool, this);
    zoomIn_->setGlyph(Glyph::ZoomIn);
    zoomIn_->setToolTip("Zoom in");
    for (TPictureButton* button : {zoomOut_, zoomIn_}) {
        // The zoom buttons stay highlighted while the pointer rests on them: they are clicked
        // again and again.
        connect(button, &TPictureButton::pointed, this, [this, button] { Pointed(button, true); });
    }
    connect(zoomOut_, &TPictureButton::clicked, this, [this] { ChooseZoom(ZoomOutStep(zoom_)); });
    connect(zoomIn_, &TPictureButton::clicked, this, [this] { ChooseZoom(ZoomInStep(zoom_)); });

    zoomBar_ = new QSlider(Qt::Horizontal, this);
    zoomBar_->setRange(0, 300);
    zoomBar_->setTickInterval(25);
    zoomBar_->setTickPosition(QSlider::TicksBelow);
    zoomBar_->setFocusPolicy(Qt::NoFocus);
    zoomBar_->setAccessibleName("Zoom");
    connect(zoomBar_, &QSlider::valueChanged, this, [this](int position) {
        // Position 0 would be no zoom at all.
        if (!settingZoom_ && position > 0) {
            ChooseZoom(position / 100.0);
        }
    });
    zoomCaption_ = new QLabel("Zoom", this);
    zoomLabel_ = new QLabel(this);
    for (QLabel* label : {zoomCaption_, zoomLabel_}) {
        label->setAlignment(Qt::AlignCenter);
    }
    HighlightTimer.setSingleShot(true);
    HighlightTimer.setInterval(kHighlightMs);
    connect(&HighlightTimer, &QTimer::timeout, this, &TProcs::RestoreLooks);

    SetZoom(1.0);
    UpdateSelectionButtons(false);
    UpdateJoinSplit(false, false);
    UpdatePaste(false);
    UpdateUndoRedo(false, false);
    RestoreLooks();
}

TProcs::~TProcs() = default;

TPictureButton* TProcs::Button(ToolbarButton button) const {
    return buttons_[static_cast<size_t>(button)];
}

ButtonLook TProcs::RestingLook(ToolbarButton button) const {
    if (!available_[static_cast<size_t>(button)]) {
        return ButtonLook::Grey;
    }
    const bool pressed = button == currentTool_ || (button == ToolbarButton::Gridlines && gridOn_) ||
                         (button == ToolbarButton::Snap && snapOn_);
    return pressed ? ButtonLook::Pressed : ButtonLook::Plain;
}

void TProcs::RestoreLooks() {
    for (const ToolbarEntry& entry : kToolbarEntries) {
        Button(entry.button)->setLook(RestingLook(entry.button));
    }
    zoomOut_->setLook(ButtonLook::Plain);
    zoomIn_->setLook(ButtonLook::Plain);
}

void TProcs::Pointed(TPictureButton* pointed, bool keepsHighlight) {
    for (const ToolbarEntry& entry : kToolbarEntries) {
        if (Button(entry.button) != pointed) {
            Button(entry.button)->setLook(RestingLook(entry.button));
        }
    }
    for (TPictureButton* zoom : {zoomOut_, zoomIn_}) {
        if (zoom != pointed) {
            zoom->setLook(ButtonLook::Plain);
        }
    }
    if (keepsHighlight) {
        HighlightTimer.stop();
    } else {
        HighlightTimer.start();
    }
}

void TProcs::mouseMoveEvent(QMouseEvent* event) {
    // Over the background between the buttons nothing stays highlighted.
    HighlightTimer.stop();
    RestoreLooks();
    QWidget::mouseMoveEvent(event);
}

void TProcs::Clicked(ToolbarButton button) {
    const ToolbarEntry& entry = EntryOf(button);
    if (!available_[static_cast<size_t>(button)]) {
        return;
    }
    if (entry.group == 2) {
        SetCurrentTool(button);
        Q_EMIT panelChosen(entry.panelCode);
        return;
    }
    if (button == ToolbarButton::Gridlines) {
        ToggleGridlines();
        return;
    }
    if (button == ToolbarButton::Snap) {
        ToggleSnap();
        return;
    }
    Q_EMIT commandChosen(button);
    if (button == ToolbarButton::Copy) {
        UpdatePaste(ClipboardHasItems(copyList_));
    }
}

void TProcs::LayoutToolbar(int height) {
    const int side = std::max(4, height - 4);
    separators_.clear();
    int x = 2;
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const ToolbarEntry& entry : kToolbarEntries) {
            TPictureButton* button = Button(entry.button);
            if (entry.group != group || button->isHidden()) {
                continue;
            }
            button->setGeometry(x, 2, side, side);
            x += side + kButtonGap;
        }
        separators_.push_back(x);
        x += kSeparatorWidth + kGapAfterSeparator;
    }

    // The zoom controls, from the right edge leftwards.
    int right = width();
    zoomIn_->setGeometry(right - side, 2, side, side);
    right -= side + kButtonGap;
    zoomBar_->setGeometry(right - kZoomBarWidth, 0, kZoomBarWidth, height);
    right -= kZoomBarWidth + kButtonGap;
    zoomOut_->setGeometry(right - side, 2, side, side);
    right -= side + kButtonGap;
    QFont small = font();
    small.setPixelSize(std::max(7, height / 2 - 2));
    const QFontMetrics metrics(small);
    const int labelWidth = std::max(metrics.horizontalAdvance("Zoom"), metrics.horizontalAdvance("300%")) + 4;
    for (QLabel* label : {zoomCaption_, zoomLabel_}) {
        label->setFont(small);
    }
    zoomCaption_->setGeometry(right - labelWidth, 0, labelWidth, height / 2);
    zoomLabel_->setGeometry(right - labelWidth, height / 2, labelWidth, height - height / 2);
    right -= labelWidth;
    separators_.push_back(right - kGapAfterSeparator - kSeparatorWidth);
    update();
}

void TProcs::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutToolbar(height());
}

void TProcs::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int x : separators_) {
        // A bar with a light and a dark edge, as high as the toolbar.
        painter.fillRect(QRect(x, 0, 1, height()), QColor(0xFF, 0xFF, 0xFF));
        painter.fillRect(QRect(x + 1, 0, 1, height()), QColor(0xA0, 0xA0, 0xA0));
        painter.fillRect(QRect(x + 2, 0, 1, height()), QColor(0x80, 0x80, 0x80));
    }
}

void TProcs::UpdateSelectionButtons(bool hasSelection) {
    for (ToolbarButton button :
         {ToolbarButton::Front, ToolbarButton::Back, ToolbarButton::Erase, ToolbarButton::Copy}) {
        Button(button)->setVisible(hasSelection);
    }
    LayoutToolbar(height());
}

void TProcs::UpdateJoinSplit(bool joinAllowed, bool splitAllowed) {
    Button(ToolbarButton::Join)->setVisible(joinAllowed);
    Button(ToolbarButton::Split)->setVisible(splitAllowed);
    LayoutToolbar(height());
}

void TProcs::UpdatePaste(bool clipboardHasItems) {
    Button(ToolbarButton::Paste)->setVisible(clipboardHasItems);
    LayoutToolbar(height());
}

void TProcs::UpdateUndoRedo(bool canUndo, bool canRedo) {
    available_[static_cast<size_t>(ToolbarButton::Undo)] = canUndo;
    available_[static_cast<size_t>(ToolbarButton::Redo)] = canRedo;
    for (ToolbarButton button : {ToolbarButton::Undo, ToolbarButton::Redo}) {
        Button(button)->setLook(RestingLook(button));
    }
}

void TProcs::SetCurrentTool(ToolbarButton tool) {
    const ToolbarButton previous = currentTool_;
    currentTool_ = tool;
    Button(previous)->setLook(RestingLook(previous));
    Button(tool)->setLook(RestingLook(tool));
}

void TProcs::ToggleGridlines() {
    gridOn_ = !gridOn_;
    Button(ToolbarButton::Gridlines)->setLook(RestingLook(ToolbarButton::Gridlines));
    Q_EMIT gridlinesToggled(gridOn_);
}

void TProcs::ToggleSnap() {
    snapOn_ = !snapOn_;
    Button(ToolbarButton::Snap)->setLook(RestingLook(ToolbarButton::Snap));
    Q_EMIT snapToggled(snapOn_);
}

void TProcs::SetGridSnap(bool gridOn, bool snapOn) {
    gridOn_ = gridOn;
    snapOn_ = snapOn;
    for (ToolbarButton button : {ToolbarButton::Gridlines, ToolbarButton::Snap}) {
        Button(button)->setLook(RestingLook(button));
    }
}

void TProcs::SetZoom(double zoom) {
    zoom_ = zoom;
    const int32_t percent = nearest(zoom * 100.0);
    zoomLabel_->setText(QString::number(percent) + "%");
    settingZoom_ = true;
    zoomBar_->setValue(percent);
    settingZoom_ = false;
}

void TProcs::ChooseZoom(std::optional<double> zoom) {
    if (!zoom) {
        return;
    }
    SetZoom(*zoom);
    Q_EMIT zoomChosen(*zoom);
}

} // namespace vlr
