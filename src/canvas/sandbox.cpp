// The document window.
#include "canvas/sandbox.h"

#include "canvas/anchors.h"
#include "canvas/commands.h"
#include "canvas/imagecontrol.h"
#include "canvas/keys.h"
#include "canvas/mouse.h"
#include "canvas/newdesign.h"
#include "canvas/pagebackground.h"
#include "canvas/sandboxhost.h"
#include "model/itemlist.h"
#include "model/prompt.h"
#include "panels/wheel.h"
#include "render/devicescale.h"
#include "render/drawdesign.h"
#include "settings/params.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

// Time a progressive repaint spends per turn of the event loop.
constexpr qint64 kProgressiveSliceMs = 12;

bool IsPictureExtension(const QString& path) {
    QString extension = QFileInfo(path.trimmed()).suffix().toLower();
    return extension == "jpg" || extension == "jpeg" || extension == "gif" || extension == "bmp" ||
           extension == "ico" || extension == "emf" || extension == "wmf";
}

} // namespace

// ---- creation ----

TSandbox::TSandbox(TParams& params, SandboxHost& host, Prompt& prompt, QWidget* parent)
    : QWidget(parent), params_(params), host_(host), prompt_(prompt), items_(params.screen) {
    setFocusPolicy(Qt::StrongFocus);
    // Dead keys and input methods compose characters for the text being typed.
    setAttribute(Qt::WA_InputMethodEnabled);
    setMinimumSize(80, 80);
    corner1_ = new QWidget(this);
    corner1_->setAutoFillBackground(true);
    QPalette silver = corner1_->palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    corner1_->setPalette(silver);
    auto* viewport = new ImageControl(this);
    viewport->paint = [this](QPainter& painter) {
        painter.drawImage(0, 0, background_);
        if (!canvas_.isNull() && initialised_) {
            painter.drawImage(pageOffset_.x + tileOffset_.x, pageOffset_.y + tileOffset_.y, canvas_.image());
        }
    };
    viewport->mouseDown = [this](QMouseEvent* event) { Background1MouseDown(event); };
    viewport->mouseMove = [this](QMouseEvent* event) { Background1MouseMove(event); };
    viewport->mouseUp = [this](QMouseEvent* event) { Background1MouseUp(event); };
    viewport->mouseDoubleClick = [this](QMouseEvent* event) { Image1DblClick(event); };
    viewport->mouseLeave = [this] { ViewportLeave(); };
    panel0_ = viewport;
    for (Qt::Orientation axis : {Qt::Horizontal, Qt::Vertical}) {
        auto* ruler = new ImageControl(this);
        const bool horizontal = axis == Qt::Horizontal;
        ruler->paint = [this, horizontal](QPainter& painter) {
            PaintRuler(painter, horizontal ? rulerXImage_ : rulerYImage_,
                       horizontal ? rulerMarkX_ : rulerMarkY_, horizontal);
        };
        ruler->mouseDown = [this, axis](QMouseEvent* event) { RulerMouseDown(axis, event); };
        ruler->mouseMove = [this, axis](QMouseEvent* event) { RulerMouseMove(axis, event); };
        ruler->mouseUp = [this, axis](QMouseEvent* event) { RulerMouseUp(axis, event); };
        (horizontal ? rulerX_ : rulerY_) = ruler;
    }
    panel1_ = new QWidget(this);
    panel1_->setAutoFillBackground(true);
    panel1_->hide();
    hint1_ = CreateRulerHint(panel0_);
    scrollBarX_ = new QScrollBar(Qt::Horizontal, this);
    scrollBarY_ = new QScrollBar(Qt::Vertical, this);
    scrollBarX_->hide();
    scrollBarY_->hide();
    connect(scrollBarX_, &QScrollBar::valueChanged, this, [this] { Scroll(Qt::Horizontal); });
    connect(scrollBarY_, &QScrollBar::valueChanged, this, [this] { Scroll(Qt::Vertical); });
    new WheelScroller({panel0_, rulerX_, rulerY_}, scrollBarX_, scrollBarY_,
                      [this](int notches, QPoint pointer) { WheelZoom(notches, pointer); });

    for (QTimer* timer : {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5, &Timer6, &Timer7, &Timer8}) {
        timer->setSingleShot(true);
        timer->setInterval(200);
    }
    Timer3.setInterval(100);
    Timer4.setInterval(500);
    Timer4.setSingleShot(false);
    Timer7.setInterval(100);
    Timer8.setInterval(100);
    deviceScale_ = std::max(1.0, devicePixelRatioF());
    connect(&Timer3, &QTimer::timeout, this, [this] {
        // The clipboard job, then the markers of the selection.
        const Rect& copy = input_.copyArea;
        if (pendingJob_ == 1 && copy.right > copy.left && copy.bottom > copy.top) {
            // What the screen shows: its device pixels.
            const Rect device = DeviceRect(copy, canvas_.deviceScale());
            QRect area(device.left, device.top, device.right - device.left, device.bottom - device.top);
            QApplication::clipboard()->setImage(canvas_.image().copy(area));
        }
        pendingJob_ = 0;
        DrawSelectionMarkers();
    });
    connect(&Timer1, &QTimer::timeout, this, [this] {
        if (canvasPress_) {
            InsertPressHeld(Insertion());
        }
    });
    connect(&Timer2, &QTimer::timeout, this, &TSandbox::DoubleClickTimer);
    connect(&Timer4, &QTimer::timeout, this, [this] {
        // Not over a repaint under way: the pixels it saved would be stale.
        if (progressive_.empty()) {
            BlinkCaret(TextEdit());
        }
    });
    connect(&Timer5, &QTimer::timeout, this, [this] {
        if (const int panel = OwnPanelOfMode(input_.toolMode)) {
            ShowPanel(panel);
        }
    });
    connect(&Timer7, &QTimer::timeout, this, &TSandbox::ProgressiveStep);
    connect(&Timer8, &QTimer::timeout, this, [this] {
        if (printRequested) {
            printRequested(*this, printRequest);
        }
        printRequest.clear();
    });
    FillBackground();
}

TSandbox::~TSandbox() {
    closing_ = true;
    for (QTimer* timer : {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5, &Timer6, &Timer7, &Timer8}) {
        timer->stop();
    }
    progressive_.clear();
}

ItemRecord* TSandbox::Header() const {
    return FindRecord(items_, ItemKind::Header);
}

double TSandbox::zoom() const {
    ItemRecord* header = Header();
    return header ? double(header->zoom) : 1.0;
}

ViewTransform TSandbox::Transform() const {
    double z = zoom();
    return {z, z, -tileOffset_.x, -tileOffset_.y};
}

Point TSandbox::CanvasFromDesign(Point design) const {
    double z = zoom();
    return {SaturateInt32(static_cast<int64_t>(nearest(z * design.x)) - tileOffset_.x),
            SaturateInt32(static_cast<int64_t>(nearest(z * design.y)) - tileOffset_.y)};
}

Point TSandbox::VisiblePageOrigin() const {
    // The page's corner stands pageOffset viewport pixels from the viewport's; scrolled past it,
    // the first design pixel wholly in view.
    const double z = zoom();
    auto axis = [z](int32_t pageOffset) { return pageOffset >= 0 ? 0 : SaturateInt32(static_cast<int64_t>(std::ceil(-pageOffset / z))); };
    return {axis(pageOffset_.x), axis(pageOffset_.y)};
}

Point TSandbox::DesignFromCanvas(Point canvas) const {
    double z = zoom();
    return {nearest((static_cast<double>(canvas.x) + tileOffset_.x) / z),
            nearest((static_cast<double>(canvas.y) + tileOffset_.y) / z)};
}

// ---- a new design ----

bool TSandbox::OpenDesign(int32_t docNumber, const QString& path) {
    // 1. A fresh state.
    progressive_.clear();
    Timer7.stop();
    showPictures_ = showShadows_ = show3D_ = true;
    loading_ = closing_ = false;
    hasFocus_ = true;
    untitledNumber_ = 0;
    fileName_ = path;
    docNumber_ = docNumber;
    tileOffset_ = {};
    input_ = {};
    Timer4.stop();
    textEditing_ = {};
    canvasPress_ = false;
    stripPress_ = {};
    tileSize_ = {};
    DesignChanged();

    // 2 ... 5. A new design with the settings' page and grid.
    host_.SetGlobalZoom(1.0);
    CreateNewDesign(items_, params_, docNumber_);
    host_.RefreshUndoCommands(items_);
    initialised_ = true;
    pageOffset_ = {Header()->boundLeft, Header()->boundTop};

    // 6. The tool of the window that was active last.
    int remembered = host_.RememberedToolMode();
    input_.toolMode =
        remembered == 1 || remembered == 31 || (remembered >= 100 && remembered <= 199) ? remembered : 0;
    stripPress_ = {};

    layoutBusy_ = false;
    Relayout();
    FillBackground();

    bool keep = true;
    bool loaded = false;
    if (IsPictureExtension(path)) {
        // 9. A picture is inserted into the new design.
        host_.InsertPictureFile(QFileInfo(path.trimmed()).absoluteFilePath());
        fileName_.clear();
        untitledNumber_ = host_.NextUntitledNumber();
    } else {
        // 10. A design file.
        ReadResult result = ReadDesign(path.toStdString(), items_, prompt_);
        lastRead_ = result.status;
        if (result.ok()) {
            loaded = true;
            SelectOnly(items_, nullptr);
            host_.RefreshUndoCommands(items_);
            ItemRecord* header = Header();
            header->docNumber = docNumber_;
            header->openedFlag = 0;
            host_.SetGlobalZoom(header->zoom);
            HeaderGeometry(header);
            loading_ = true;
            Relayout();
            FillBackground();
            RedrawAll(false);
            input_.toolMode = 0;
            input_.clickCount = 0;
        } else {
            if (result.status == ReadStatus::IoError || result.status == ReadStatus::NotADesign) {
                prompt_.Ask(
                    PromptIcon::Error,
                    "Cannot open " + path.toStdString() + ".\n" +
                        (result.message.empty() ? std::string("It is not a design file.") : result.message),
                    PromptButtons::Ok);
            }
            keep = result.status != ReadStatus::Declined;
            fileName_.clear();
            untitledNumber_ = host_.NextUntitledNumber();
        }
    }

    // 11, 12.
    SetCaption();
    host_.RefreshDesignControls();
    RefreshGridButtons();
    DrawAnchorStrips();
    loading_ = loaded;
    Relayout();
    if (loaded) {
        StartProgressiveRepaint();
    } else {
        RedrawAll(false);
    }
    return keep;
}

void TSandbox::SetCaption() {
    caption_ = fileName_.trimmed().isEmpty() ? "Untitled " + QString::number(untitledNumber_)
                                             : QFileInfo(fileName_).completeBaseName();
    setWindowTitle(caption_);
    host_.WindowCaptionChanged(this);
}

// ---- layout ----

int TSandbox::TileLimit(Qt::Orientation axis) const {
    // A viewport wider than a tile is painted whole.
    int extent = axis == Qt::Horizontal ? panel0_->width() : panel0_->height();
    return std::max(kTileLimit, extent);
}

QSize TSandbox::viewportSize() const {
    return panel0_->size();
}

QSize TSandbox::sizeHint() const {
    ItemRecord* header = Header();
    if (!header) {
        return {400, 300};
    }
    const int extra = kRulerThickness + kBarThickness + 24;
    return {std::clamp<int>(header->boundRight + header->boundLeft + extra, 200, 4000),
            std::clamp<int>(header->boundBottom + header->boundTop + extra, 150, 4000)};
}

void TSandbox::Relayout() {
    if (closing_ || layoutBusy_ || !initialised_) {
        return;
    }
    ItemRecord* header = Header();
    if (!header) {
        return;
    }
    layoutBusy_ = true;
    const int W = width(), H = height();
    const int b = kBarThickness, r = kRulerThickness;
    const int64_t pageRight = header->boundRight, pageBottom = header->boundBottom;
    bool h0 = W - r < pageRight + r;
    bool v = H - r < pageBottom + r + (h0 ? b : 0);
    bool h = W - r < pageRight + r + (v ? b : 0);
    panel0_->setGeometry(r, r, std::max(1, W - r - (v ? b : 0)), std::max(1, H - r - (h ? b : 0)));
    SizeCanvas();
    corner1_->setGeometry(0, 0, r, r);
    rulerX_->setGeometry(r, 0, panel0_->width(), r);
    rulerY_->setGeometry(0, r, r, panel0_->height());

    const bool showX = panel0_->width() < pageRight + r;
    const bool showY = panel0_->height() < pageBottom + r;
    if (showX) {
        scrollBarX_->setGeometry(0, panel0_->y() + panel0_->height(), W, b);
        scrollBarX_->setMaximum(SaturateInt32(pageRight - panel0_->width() + r));
        SetScrollSteps(scrollBarX_, panel0_->width());
        scrollBarX_->show();
    } else {
        scrollBarX_->hide();
        scrollBarX_->setValue(0);
    }
    if (showY) {
        scrollBarY_->setGeometry(panel0_->x() + panel0_->width(), 0, b, H);
        scrollBarY_->setMaximum(SaturateInt32(pageBottom - panel0_->height() + r));
        SetScrollSteps(scrollBarY_, panel0_->height());
        scrollBarY_->show();
    } else {
        scrollBarY_->hide();
        scrollBarY_->setValue(0);
    }
    if (showX && showY) {
        scrollBarX_->setGeometry(0, scrollBarX_->y(), W - b, b);
        scrollBarY_->setGeometry(scrollBarY_->x(), 0, b, H - b);
        scrollBarX_->setMaximum(scrollBarX_->maximum() + b);
        scrollBarY_->setMaximum(scrollBarY_->maximum() + b);
        panel1_->setGeometry(W - b, H - b, b, b);
        panel1_->show();
    } else {
        panel1_->hide();
    }
    layoutBusy_ = false;
    DrawRulers(true);
    Scroll(Qt::Horizontal);
    Scroll(Qt::Vertical);
}

void TSandbox::SizeCanvas() {
    ItemRecord* header = Header();
    if (!header) {
        return;
    }
    const int32_t pageWidthPx = std::max<int32_t>(1, header->spanX);
    const int32_t pageHeightPx = std::max<int32_t>(1, header->spanY);
    bool changed = false;
    const int limitX = TileLimit(Qt::Horizontal), limitY = TileLimit(Qt::Vertical);
    QSize wanted(std::min(pageWidthPx, limitX), std::min(pageHeightPx, limitY));
    if (QSize(pageWidthPx, pageHeightPx) != tileSize_ || canvas_.isNull() ||
        QSize(canvas_.width(), canvas_.height()) != wanted || canvas_.deviceScale() != deviceScale_) {
        canvas_ = RasterCanvas(wanted.width(), wanted.height(), Smoothing::Antialiased, params_.screen,
                               deviceScale_);
        tileSize_ = QSize(pageWidthPx, pageHeightPx);
        changed = true;
    }
    // The tile follows the scrolling when the page is larger than the tile.
    auto origin = [&](int32_t pageOffset, int canvasExtent, int viewportExtent, int32_t pageExtent,
                      int scroll, int32_t pageStart) -> int32_t {
        if (pageOffset + canvasExtent < viewportExtent && pageExtent > canvasExtent) {
            int64_t wantedOrigin = static_cast<int64_t>(scroll) - pageStart;
            return SaturateInt32(
                std::clamp<int64_t>(wantedOrigin, 0, static_cast<int64_t>(pageExtent) - canvasExtent));
        }
        return 0;
    };
    Point tile{origin(pageOffset_.x, canvas_.width(), panel0_->width(), pageWidthPx, scrollBarX_->value(),
                      header->boundLeft),
               origin(pageOffset_.y, canvas_.height(), panel0_->height(), pageHeightPx, scrollBarY_->value(),
                      header->boundTop)};
    if (tile != tileOffset_) {
        tileOffset_ = tile;
        changed = true;
    }
    if (changed) {
        RedrawAll(true);
    }
    panel0_->update();
}

void TSandbox::Scroll(Qt::Orientation axis) {
    if (closing_ || !initialised_) {
        return;
    }
    ItemRecord* header = Header();
    if (!header) {
        return;
    }
    ErasePointerMarks();
    if (axis == Qt::Horizontal) {
        pageOffset_.x = SaturateInt32(static_cast<int64_t>(header->boundLeft) - scrollBarX_->value());
    } else {
        pageOffset_.y = SaturateInt32(static_cast<int64_t>(header->boundTop) - scrollBarY_->value());
    }
    SizeCanvas();
    DrawRulers();
    DrawAnchorStrips();
}

void TSandbox::FillBackground() {
    QSize size = panel0_ ? panel0_->size() : QSize(1, 1);
    if (backgroundTile_.isNull()) {
        backgroundTile_ = BackgroundTile();
    }
    background_ = QImage(DeviceSize(size.expandedTo(QSize(1, 1)), deviceScale_), QImage::Format_RGB32);
    background_.setDevicePixelRatio(deviceScale_);
    QPainter painter(&background_);
    painter.fillRect(background_.rect(), QBrush(backgroundTile_));
    painter.end();
    untouchedTop_ = UntouchedStrip(background_, GridAxis::X);
    untouchedLeft_ = UntouchedStrip(background_, GridAxis::Y);
    DrawAnchorStrips();
}

// ---- painting ----

bool TSandbox::PaintsItem(const ItemRecord* item) const {
    return IsLiveItem(item) && item->suspended == 0;
}

void TSandbox::PaintItem(ItemRecord* item, bool quick) {
    if (canvas_.isNull() || !PaintsItem(item)) {
        return;
    }
    DrawOptions options;
    options.shadows = showShadows_ && !quick && !loading_;
    options.surfaces = show3D_ && !quick && !loading_;
    options.pictures = showPictures_;
    CanvasLock lock(canvas_);
    DrawItemAtDensity(canvas_, item, items_, Transform(), options);
}

void TSandbox::PaintPageBackground(const Rect& area) {
    vlr::PaintPageBackground(canvas_, *Header(), Transform(), area);
}

void TSandbox::DrawGridlines(const Rect& area) {
    vlr::DrawGridlines(canvas_, Header(), LiveGridlines(items_), tileOffset_, area);
}

void TSandbox::RedrawAll(bool markers) {
    if (canvas_.isNull() || !initialised_ || closing_) {
        return;
    }
    {
        CanvasLock lock(canvas_);
        PaintPageBackground({0, 0, canvas_.width(), canvas_.height()});
        DrawGridlines({0, 0, canvas_.width(), canvas_.height()});
        selectionUnder_.holding = false;
        const Rect visible{0, 0, canvas_.width(), canvas_.height()};
        for (ItemRecord* item : StackingOrder(items_)) {
            const Rect extent = PaintedExtent(*item, *this);
            if (PaintsItem(item) && extent.right >= visible.left && extent.left <= visible.right &&
                extent.bottom >= visible.top && extent.top <= visible.bottom) {
                PaintItem(item, false);
            }
        }
    }
    FreeMarkers();
    DrawAnchorStrips();
    pendingJob_ = 0;
    if (textEditing_.open) {
        // The text being typed comes back with its frame and caret when the markers would.
        CanvasRepainted(textEditing_);
    }
    if (markers || textEditing_.open) {
        Timer3.start();
    }
    panel0_->update();
}

void TSandbox::RedrawArea(const Rect& rect) {
    if (canvas_.isNull() || !initialised_) {
        return;
    }
    EraseMarkers();
    const Rect area = PartialRepaintArea(items_, *this, rect);
    RepaintArea(area, false);
    selectionUnder_.holding = false;
    pendingJob_ = 0;
    Timer3.start();
    panel0_->update();
}

void TSandbox::RepaintArea(const Rect& area, bool withoutSelection) {
    CanvasLock lock(canvas_);
    PaintPageBackground(area);
    DrawGridlines(area);
    for (ItemRecord* item : StackingOrder(items_)) {
        const Rect extent = PaintedExtent(*item, *this);
        if (!(withoutSelection && IsSelected(item)) && extent.right >= area.left &&
            extent.left <= area.right && extent.bottom >= area.top && extent.top <= area.bottom) {
            PaintItem(item, false);
        }
    }
}

void TSandbox::FreeMarkers() {
    for (ItemRecord* item : items_) {
        item->backgroundCache.clear();
    }
}

void TSandbox::DesignChanged() {
    ++designVersion_;
}

void TSandbox::DesignEdited() {
    DesignChanged();
    // A version brought back by Undo or Redo keeps the highlight its anchor had when it was
    // replaced; the pointer is elsewhere now, and Delete must not take that gridline.
    if (ItemRecord* grid = LiveGridlines(items_)) {
        ClearHighlights(grid);
    }
    if (progressive_.empty()) {
        RedrawAll(true);
    } else {
        StartProgressiveRepaint();
    }
}

void TSandbox::StartProgressiveRepaint() {
    if (canvas_.isNull() || closing_) {
        return;
    }
    {
        CanvasLock lock(canvas_);
        PaintPageBackground({0, 0, canvas_.width(), canvas_.height()});
        DrawGridlines({0, 0, canvas_.width(), canvas_.height()});
    }
    progressive_ = StackingOrder(items_);
    progressiveNext_ = 0;
    progressiveVersion_ = designVersion_;
    Timer7.start();
    panel0_->update();
}

void TSandbox::ProgressiveStep() {
    // Each turn paints items for a short while and then returns to the event loop; a change of
    // the design or the window closing ends the pass (the snapshot may hold freed records).
    if (closing_ || progressiveVersion_ != designVersion_) {
        progressive_.clear();
        return;
    }
    QElapsedTimer slice;
    slice.start();
    while (progressiveNext_ < progressive_.size() && slice.elapsed() < kProgressiveSliceMs) {
        PaintItem(progressive_[progressiveNext_++], false);
    }
    panel0_->update();
    if (progressiveNext_ < progressive_.size()) {
        Timer7.start(0);
        return;
    }
    progressive_.clear();
    Timer7.setInterval(100);
    // The quick pass left out shadows and 3-D surfaces; the finished picture brings them back
    // at once instead of waiting for the next edit.
    bool skipped = false;
    if (loading_) {
        for (ItemRecord* item : items_) {
            skipped = skipped || (PaintsItem(item) && (item->shadowElevation != 0 || item->surface != 0));
        }
    }
    loading_ = false;
    if (skipped) {
        RedrawAll(true);
        return;
    }
    pendingJob_ = 0;
    Timer3.start();
}

void TSandbox::SetZoom(double z) {
    ItemRecord* header = Header();
    if (!header || !std::isfinite(z) || z <= 0.0) {
        return;
    }
    FreeMarkers();
    header->zoom = z;
    ClearClipPictures();
    HeaderGeometry(header);
    DesignChanged();
    loading_ = true;
    Relayout();
    if (background_.width() < panel0_->width() || background_.height() < panel0_->height()) {
        FillBackground();
    }
    DrawAnchorStrips();
    StartProgressiveRepaint();
}

void TSandbox::WheelZoom(int notches, QPoint viewport) {
    const double before = zoom();
    const double after = StepZoom(before, notches);
    if (std::abs(after - before) < 0.0001) {
        return;
    }
    // The page pixel under the pointer stays under it.
    const double pageX = viewport.x() - pageOffset_.x, pageY = viewport.y() - pageOffset_.y;
    SetZoom(after);
    host_.SetGlobalZoom(after);
    ItemRecord* header = Header();
    scrollBarX_->setValue(ScrollKeepingPoint(pageX, after / before, viewport.x(), header->boundLeft));
    scrollBarY_->setValue(ScrollKeepingPoint(pageY, after / before, viewport.y(), header->boundTop));
}

bool TSandbox::FocusIsHere() const {
    // Keys typed into a side panel's box belong to that box.
    const QWidget* focus = QApplication::focusWidget();
    return !focus || focus == this || isAncestorOf(focus) || focus->isAncestorOf(this);
}

void TSandbox::ApplyLightDirection(int direction) {
    ItemRecord* header = Header();
    if (!header) {
        return;
    }
    header->lightDirection = static_cast<uint8_t>(std::clamp(direction, 0, 3));
    ClearClipPictures();
    RedrawAll(true);
}

void TSandbox::ClearClipPictures() {
    // Each clip rebuilds its cached picture when it is drawn next.
    for (ItemRecord* item : items_) {
        if (item->kind == ItemKind::Clip) {
            ClearChildList(item);
        }
    }
}

void TSandbox::SetDisplaySwitches(const DisplaySwitches& switches) {
    bool surfacesChanged = switches.surfaces != show3D_;
    showPictures_ = switches.pictures;
    showShadows_ = switches.shadows;
    show3D_ = switches.surfaces;
    if (surfacesChanged) {
        ClearClipPictures();
    }
    RedrawAll(true);
}

// ---- rulers and anchor strips ----

RulerView TSandbox::RulerViewFor(bool horizontal) const {
    RulerView view = RulerViewOf(Header(), horizontal, horizontal ? panel0_->width() : panel0_->height(),
                                 horizontal ? pageOffset_.x : pageOffset_.y,
                                 horizontal ? scrollBarX_->value() : scrollBarY_->value());
    return edgeDrag_.edge != PageEdge::None && edgeDrag_.horizontal == horizontal
               ? DraggedView(view, edgeDrag_)
               : view;
}

void TSandbox::DrawRulers(bool force) {
    if (Header()) {
        UpdateRulerStrip(rulerStripX_, RulerViewFor(true), deviceScale_, force);
        UpdateRulerStrip(rulerStripY_, RulerViewFor(false), deviceScale_, force);
        ComposeRulers();
    }
}

void TSandbox::ComposeRulers() {
    rulerXImage_ = RulerPicture(rulerStripX_, RulerViewFor(true));
    rulerYImage_ = RulerPicture(rulerStripY_, RulerViewFor(false));
    rulerX_->update();
    rulerY_->update();
}

void TSandbox::DrawAnchorStrips() {
    if (!background_.isNull()) {
        vlr::DrawAnchorStrips(background_, untouchedTop_, untouchedLeft_, initialised_ ? Header() : nullptr,
                              initialised_ ? LiveGridlines(items_) : nullptr, pageOffset_, stripPress_);
        panel0_->update();
    }
}

void TSandbox::MarkPointer(QPoint viewport) {
    const Point corner{pageOffset_.x + tileOffset_.x, pageOffset_.y + tileOffset_.y};
    Point marked{viewport.x(), viewport.y()};
    if (input_.toolMode != 0) {
        const Point snapped = SnapPoint({marked.x - corner.x, marked.y - corner.y});
        marked = {snapped.x + corner.x, snapped.y + corner.y};
    }
    SetPointerMarks(marked.x, marked.y);
}

void TSandbox::SetPointerMarks(int x, int y) {
    if (x != rulerMarkX_ || y != rulerMarkY_) {
        rulerMarkX_ = x;
        rulerMarkY_ = y;
        rulerX_->update();
        rulerY_->update();
    }
}

// ---- the mouse over the viewport ----

bool TSandbox::OnCanvas(QPoint viewport) const {
    const int left = pageOffset_.x + tileOffset_.x, top = pageOffset_.y + tileOffset_.y;
    return !canvas_.isNull() && initialised_ && viewport.x() >= left &&
           viewport.x() < left + canvas_.width() && viewport.y() >= top &&
           viewport.y() < top + canvas_.height();
}

void TSandbox::ClearAnchorHighlights() {
    if (ItemRecord* grid = LiveGridlines(items_); grid && ClearHighlights(grid)) {
        DrawAnchorStrips();
    }
}

Point TSandbox::CanvasPoint(QMouseEvent* event) const {
    const QPoint point = event->position().toPoint();
    return {point.x() - pageOffset_.x - tileOffset_.x, point.y() - pageOffset_.y - tileOffset_.y};
}

void TSandbox::Image1MouseDown(QMouseEvent* event) {
    if (input_.mouseBusy || event->button() != Qt::LeftButton) {
        return;
    }
    canvasPress_ = true;
    if (CanvasMouseDown(TextEdit(), Insertion(), CanvasPoint(event), event->modifiers())) {
        Timer1.start();
    }
}

void TSandbox::Image1MouseMove(QMouseEvent* event) {
    ClearAnchorHighlights();
    MarkPointer(event->position().toPoint());
    // The selection sets its own cursor.
    const PointerTool tool = CanvasMouseMove(Insertion(), CanvasPoint(event), event->modifiers());
    if (tool == PointerTool::Insertion) {
        panel0_->setCursor(Qt::CrossCursor);
    } else if (tool == PointerTool::None) {
        panel0_->unsetCursor();
    }
    host_.PointerMoved(items_, DesignFromCanvas(CanvasPoint(event)), canvasPress_,
                       AreaBand(input_, *this, CanvasPoint(event)));
}

void TSandbox::Image1MouseUp(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    canvasPress_ = false;
    Timer1.stop();
    CanvasMouseUp(TextEdit(), Insertion(), CanvasPoint(event), event->modifiers());
}

void TSandbox::Image1DblClick(QMouseEvent* event) {
    // The first click of the pair has selected; the second is the double click's alone.
    if (event->button() != Qt::LeftButton || input_.toolMode != 0 || !OnCanvas(event->position().toPoint())) {
        Background1MouseDown(event);
        return;
    }
    canvasPress_ = true;
    input_.mouseBusy = true;
    doubleClickPoint_ = CanvasPoint(event);
    Timer2.start();
}

void TSandbox::DoubleClickTimer() {
    const DoubleClickTarget target = OpenDoubleClicked(TextEdit(), DesignFromCanvas(doubleClickPoint_));
    if (target.kind == DoubleClickTarget::Kind::Clip) {
        EraseMarkers();
        DrawSelectionMarkers();
        host_.RefreshDesignControls();
        host_.EditClipPicture(this, target.item);
    }
    input_.mouseBusy = false;
}

void TSandbox::EndTextEditing() {
    CloseTextEditing(TextEdit());
}

bool TSandbox::ChangeEditedText(const std::function<void(ItemRecord&)>& change) {
    return vlr::ChangeEditedText(TextEdit(), change);
}

void TSandbox::SetCaretTimer(bool running) {
    if (running) {
        Timer4.start();
    } else {
        Timer4.stop();
    }
}

void TSandbox::TextEditingStarted(ItemRecord* text) {
    // Whatever panel the main window shows for it, the typing goes on.
    ownPanelRequest_ = true;
    host_.TextEditingStarted(this, text);
    ownPanelRequest_ = false;
}

void TSandbox::TextEditingEnded() {
    host_.TextEditingEnded(this);
}

void TSandbox::ShowStatusMessage(const QString& message) {
    host_.ShowStatusMessage(message);
}

void TSandbox::ViewportLeave() {
    ErasePointerMarks();
    host_.PointerMoved(items_, std::nullopt, false, std::nullopt);
    if (!stripPress_.dragging) {
        ClearAnchorHighlights();
    }
}

void TSandbox::Background1MouseMove(QMouseEvent* event) {
    // Over the canvas the pointer is the canvas's, except during an anchor's drag; a press on the
    // canvas and the placing of pasted items follow it anywhere.
    const QPoint point = event->position().toPoint();
    if (canvasPress_ || input_.toolMode == DragMode::Placing || (!stripPress_.dragging && OnCanvas(point))) {
        Image1MouseMove(event);
        return;
    }
    ErasePointerMarks();
    bool redraw = false;
    const Qt::CursorShape cursor = MoveOnStrips(stripPress_, LiveGridlines(items_), Header(), pageOffset_,
                                                {point.x(), point.y()}, redraw);
    if (redraw) {
        DrawAnchorStrips();
    }
    panel0_->setCursor(cursor);
}

void TSandbox::Background1MouseDown(QMouseEvent* event) {
    if (OnCanvas(event->position().toPoint()) || input_.toolMode == DragMode::Placing) {
        Image1MouseDown(event);
    } else if (event->button() == Qt::LeftButton) {
        const QPoint point = event->position().toPoint();
        stripPress_ = PressOnStrips(LiveGridlines(items_), Header(), pageOffset_, {point.x(), point.y()});
    }
}

void TSandbox::Background1MouseUp(QMouseEvent* event) {
    if (canvasPress_ || input_.toolMode == DragMode::Placing) {
        Image1MouseUp(event);
        return;
    }
    if (!stripPress_.dragging && !stripPress_.onStrip) {
        return;
    }
    const QPoint point = event->position().toPoint();
    const StripRelease release = ReleaseOnStrips(stripPress_, Header(), pageOffset_, {point.x(), point.y()},
                                                 event->modifiers() & Qt::ShiftModifier);
    stripPress_ = {};
    if (ApplyStripRelease(items_, *this, editMetrics(), release, UndoHooks())) {
        DesignChanged();
        host_.RefreshDesignControls();
    }
    // The anchors are drawn again in any case: a drag's anchor is lifted.
    RedrawAll(true);
}

// ---- dragging the page's edges on the rulers ----

RulerPointer TSandbox::RulerPointerOf(Qt::Orientation axis) {
    return {edgeDrag_, *hint1_, *(axis == Qt::Horizontal ? rulerX_ : rulerY_), panel0_->size(),
            params_.decimalSeparator};
}

void TSandbox::RulerMouseDown(Qt::Orientation axis, QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && Header()) {
        RedrawRulers(PressOnRuler(RulerPointerOf(axis), RulerViewFor(axis == Qt::Horizontal), Header(),
                                  event->position().toPoint()));
    }
}

void TSandbox::RulerMouseMove(Qt::Orientation axis, QMouseEvent* event) {
    RedrawRulers(MoveOnRuler(RulerPointerOf(axis), RulerViewFor(axis == Qt::Horizontal), Header(),
                             event->position().toPoint()));
}

void TSandbox::RedrawRulers(RulerRedraw redraw) {
    if (redraw == RulerRedraw::Strips) {
        DrawRulers();
    } else if (redraw == RulerRedraw::Compose) {
        ComposeRulers();
    }
}

void TSandbox::RulerMouseUp(Qt::Orientation axis, QMouseEvent* event) {
    if (!ReleaseOnRuler(RulerPointerOf(axis), items_, event->position().toPoint())) {
        return;
    }
    DesignChanged();
    DrawAnchorStrips();
    Relayout();
    RedrawAll(true);
}

QString TSandbox::rulerHintText() const {
    return hint1_->isVisible() ? hint1_->text() : QString();
}

// ---- the grid commands ----

void TSandbox::SetGridShown(int type) {
    if (SetGridFlags(Header(), GridFlag::Shown, type)) {
        GridOptionsChanged();
    }
}

void TSandbox::SetAnchorsShown(int type) {
    if (SetGridFlags(Header(), GridFlag::Anchors, type)) {
        ClearAnchorHighlights();
        DrawAnchorStrips();
    }
}

void TSandbox::SetSnap(int type) {
    // Snapping changes nothing on the screen but the toolbar's button.
    if (SetGridFlags(Header(), GridFlag::Snap, type)) {
        RefreshGridButtons();
    }
}

void TSandbox::EqualizeGrid(int axes) {
    if (EqualizeGridAxes(items_, axes, UndoHooks())) {
        DesignChanged();
        RedrawAll(true);
    }
}

bool TSandbox::DeleteAnchorUnderPointer() {
    if (!RemoveHighlightedGridlines(items_, UndoHooks())) {
        return false;
    }
    stripPress_ = {};
    DesignChanged();
    RedrawAll(true);
    return true;
}

EditHooks TSandbox::UndoHooks() {
    return {.refreshUndoCommands = [this] { host_.RefreshUndoCommands(items_); }};
}

void TSandbox::GridOptionsChanged() {
    if (Header()) {
        ClearAnchorHighlights();
        DrawRulers(true);
        RedrawAll(true);
        RefreshGridButtons();
    }
}

void TSandbox::RefreshGridButtons() {
    if (const ItemRecord* header = Header()) {
        host_.SetGridSnapButtons(header->showGridX || header->showGridY, header->snapX || header->snapY);
    }
}

// ---- snapping and editing on this canvas ----

SnapFrame TSandbox::snapFrame() const {
    return {Header(), LiveGridlines(items_), tileOffset_};
}

EditMetrics TSandbox::editMetrics() const {
    return {params_.markerWidth, params_.markerHeight, params_.screen};
}

int32_t TSandbox::BeginEdit(bool drawCopies) {
    DesignChanged();
    return vlr::BeginEdit(items_, *this, editMetrics(), UndoHooks(), drawCopies);
}

MarkerStyle TSandbox::markerStyle() const {
    return MarkerStyleOf(params_);
}

void TSandbox::StartPlacement() {
    vlr::StartPlacement(input_, items_, *this);
}

void TSandbox::DrawSelectionMarkers() {
    // Not over a drag's preview or a rubber band: those end with a repaint that brings them.
    if (canvas_.isNull() || IsDragMode(input_.toolMode) || input_.toolMode == 8) {
        return;
    }
    if (textEditing_.open) {
        ShowEditedText(TextEdit());
        return;
    }
    EraseAllMarkers(canvas_, items_);
    DrawAllMarkers(canvas_, items_, Transform(), markerStyle());
    panel0_->update();
}

void TSandbox::CanvasChanged() {
    panel0_->update();
}

void TSandbox::RecordsChanged() {
    DesignChanged();
    host_.RefreshUndoCommands(items_);
    host_.RefreshDesignControls();
}

void TSandbox::PanelStep(int step) {
    host_.PanelStep(step);
}

const ItemRecord* TSandbox::ContinuedItem() const {
    return input_.continuation.serial != 0 ? FindBySerial(items_, input_.continuation.serial) : nullptr;
}

void TSandbox::ShowPanel(int panelCode) {
    ownPanelRequest_ = true;
    host_.ShowPanel(panelCode);
    ownPanelRequest_ = false;
    host_.RefreshDesignControls();
}

bool TSandbox::LinePanelShowing() const {
    return host_.LinePanelShowing();
}

void TSandbox::SetCanvasCursor(Qt::CursorShape cursor) {
    panel0_->setCursor(cursor);
}

int32_t TSandbox::TextLineHeight(const ItemRecord& text) const {
    // Measuring needs a raster; the canvas's own is lent for it.
    return TextLineHeightOn(const_cast<RasterCanvas&>(canvas_), text);
}

void TSandbox::EraseMarkers() {
    EraseAllMarkers(canvas_, items_);
    panel0_->update();
}

void TSandbox::RepaintUnderSelection(const Rect& area) {
    if (canvas_.isNull()) {
        return;
    }
    RepaintArea(area, true);
    SaveArea(selectionUnder_, area);
    panel0_->update();
}

int32_t TSandbox::AverageCharWidth(const ItemRecord& text) const {
    // Measuring needs a raster; the canvas's own is lent for it.
    return TextCharWidth(const_cast<RasterCanvas&>(canvas_), text, zoom());
}

// ---- saved pixels ----

void TSandbox::SaveArea(SaveUnder& saved, const Rect& canvasRect) {
    vlr::SaveArea(saved, canvas_, canvasRect);
}

void TSandbox::RestoreArea(SaveUnder& saved) {
    if (vlr::RestoreArea(saved, canvas_)) {
        panel0_->update();
    }
}

// ---- input and focus ----

KeyTarget TSandbox::Keys() {
    return {TextEdit(),
            Insertion(),
            commands_,
            [this] { return DeleteAnchorUnderPointer(); },
            host_.ShapePanelShowing(),
            [this](int key, Qt::KeyboardModifiers modifiers) {
                return FocusIsHere() && ScrollByArrowKey(key, modifiers, scrollBarX_, scrollBarY_);
            }};
}

bool TSandbox::KeyDown(QKeyEvent& event) {
    offeredKey_ = &event;
    return acceptKeys_ && DesignKeyDown(Keys(), event.key(), event.modifiers());
}

bool TSandbox::KeyPress(QKeyEvent& event) {
    offeredKey_ = &event;
    return acceptKeys_ && DesignTyped(Keys(), event.text().toStdU16String());
}

void TSandbox::keyPressEvent(QKeyEvent* event) {
    if (event == offeredKey_ || !(KeyDown(*event) || (!event->text().isEmpty() && KeyPress(*event)))) {
        QWidget::keyPressEvent(event);
    }
    offeredKey_ = nullptr;
}

void TSandbox::inputMethodEvent(QInputMethodEvent* event) {
    if (acceptKeys_) {
        DesignTyped(Keys(), event->commitString().toStdU16String());
    }
    event->accept();
}

QVariant TSandbox::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query != Qt::ImCursorRectangle || !textEditing_.caretUnder.holding) {
        return QWidget::inputMethodQuery(query);
    }
    // An input method's window opens at the caret.
    const Rect& caret = textEditing_.caretUnder.destination;
    const QPoint corner =
        panel0_->mapTo(this, QPoint(pageOffset_.x + tileOffset_.x, pageOffset_.y + tileOffset_.y));
    return QRect(corner + QPoint(caret.left, caret.top), QPoint(caret.right, caret.bottom) + corner);
}

void TSandbox::SelectPanel(int panelCode) {
    if (!ownPanelRequest_) {
        // Any other panel ends the typing; the text's fine-tune panel and its hint page keep the
        // text selected.
        CloseTextEditing(TextEdit(), panelCode == 301 || panelCode == 1036);
        SelectInsertionPanel(Insertion(), panelCode);
    }
}

void TSandbox::ResetInsertionPoints() {
    if (!ownPanelRequest_) {
        ResetInsertion(Insertion());
    }
}

bool TSandbox::HasCopyArea() const {
    return input_.copyArea.right > input_.copyArea.left && input_.copyArea.bottom > input_.copyArea.top;
}

void TSandbox::resizeEvent(QResizeEvent*) {
    if (closing_) {
        return;
    }
    Relayout();
    FillBackground();
}

void TSandbox::FormActivate() {
    hasFocus_ = true;
    acceptKeys_ = true;
    if (!initialised_) {
        return;
    }
    host_.RefreshUndoCommands(items_);
    host_.SetGlobalZoom(zoom());
    host_.RefreshDesignControls();
    RefreshGridButtons();
    host_.WindowActivated(this);
    Timer5.start();
}

void TSandbox::FormDeactivate() {
    hasFocus_ = false;
    host_.RememberToolMode(input_.toolMode);
}

void TSandbox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    FormActivate();
}

void TSandbox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    FormDeactivate();
}

bool TSandbox::event(QEvent* event) {
    if (event->type() == QEvent::ScreenChangeInternal) {
        SetDeviceScale(devicePixelRatioF());
    }
    return QWidget::event(event);
}

void TSandbox::SetDeviceScale(double ratio) {
    ratio = std::isfinite(ratio) ? std::max(1.0, ratio) : 1.0;
    if (ratio == deviceScale_) {
        return;
    }
    // Every picture is made again at the new density; the canvas follows when it is sized.
    deviceScale_ = ratio;
    FillBackground();
    Relayout();
}

void TSandbox::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && hasFocus()) {
        FormActivate();
    }
}

} // namespace vlr
