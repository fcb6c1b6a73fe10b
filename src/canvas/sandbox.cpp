// The document window.
#include "canvas/sandbox.h"

#include "canvas/anchors.h"
#include "canvas/sandboxhost.h"
#include "model/itemlist.h"
#include "model/prompt.h"
#include "render/drawdesign.h"
#include "render/textdraw.h"
#include "settings/pageheader.h"
#include "settings/params.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

constexpr int32_t kSilver = 0xC0C0C0;
constexpr int32_t kCanvasColour = 0xFFFFFF;
constexpr QRgb kRulerOutsideColour = qRgb(192, 192, 192);
constexpr QRgb kPointerMarkColour = qRgb(255, 0, 0);
constexpr QRgb kHintColour = qRgb(0, 0, 0);
constexpr QRgb kHintBackground = qRgb(204, 255, 204);
// Time a progressive repaint spends per turn of the event loop.
constexpr qint64 kProgressiveSliceMs = 12;
// The tooltip of a page-edge drag keeps this far from the pointer.
constexpr int kHintDistance = 8;
// A dragged page start shows at most this much of the page on the ruler.
constexpr int kShiftedPageShown = 3200;

bool IsPictureExtension(const QString& path) {
    QString extension = QFileInfo(path.trimmed()).suffix().toLower();
    return extension == "jpg" || extension == "jpeg" || extension == "gif" || extension == "bmp" ||
           extension == "ico" || extension == "emf" || extension == "wmf";
}

} // namespace

// ---- the parts of the window ----

// The viewport: the background texture with the anchor strips, and the canvas tile over it.
class SandboxViewport : public QWidget {
public:
    explicit SandboxViewport(TSandbox& window) : QWidget(&window), window_(window) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, window_.background_);
        if (!window_.canvas_.isNull() && window_.initialised_) {
            painter.drawImage(window_.pageOffset_.x + window_.tileOffset_.x,
                              window_.pageOffset_.y + window_.tileOffset_.y, window_.canvas_.image());
        }
    }
    // An anchor being dragged keeps the mouse wherever the pointer goes.
    void mousePressEvent(QMouseEvent* event) override {
        if (!window_.OnCanvas(event->position().toPoint())) {
            window_.Background1MouseDown(event);
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (window_.anchorDrag_ != 0 || !window_.OnCanvas(event->position().toPoint())) {
            window_.Background1MouseMove(event);
        } else {
            window_.Image1MouseMove(event);
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (window_.anchorDrag_ != 0 || window_.stripPressed_) {
            window_.Background1MouseUp(event);
        }
    }
    void leaveEvent(QEvent*) override { window_.ViewportLeave(); }

private:
    TSandbox& window_;
};

class SandboxRuler : public QWidget {
public:
    SandboxRuler(TSandbox& window, Qt::Orientation axis) : QWidget(&window), window_(window), axis_(axis) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(kRulerOutsideColour));
        const bool horizontal = axis_ == Qt::Horizontal;
        painter.drawImage(0, 0, horizontal ? window_.rulerXImage_ : window_.rulerYImage_);
        // The pointer's mark is drawn over the ruler's picture, which stays untouched under it.
        const int mark = horizontal ? window_.rulerMarkX_ : window_.rulerMarkY_;
        if (mark >= 0) {
            painter.setPen(QColor(kPointerMarkColour));
            if (horizontal) {
                painter.drawLine(mark, 0, mark, height() - 1);
            } else {
                painter.drawLine(0, mark, width() - 1, mark);
            }
        }
    }
    void mousePressEvent(QMouseEvent* event) override { window_.RulerMouseDown(axis_, event); }
    void mouseMoveEvent(QMouseEvent* event) override { window_.RulerMouseMove(axis_, event); }
    void mouseReleaseEvent(QMouseEvent* event) override { window_.RulerMouseUp(axis_, event); }

private:
    TSandbox& window_;
    Qt::Orientation axis_;
};

// The small tooltip of a page-edge drag: bold text on its own background.
class SandboxHint : public QWidget {
public:
    explicit SandboxHint(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }
    void SetText(const QString& text) {
        text_ = text;
        QFont bold = font();
        bold.setBold(true);
        setFont(bold);
        resize(std::max(120, fontMetrics().horizontalAdvance(text_) + 8),
               std::max(20, fontMetrics().height() + 4));
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(kHintBackground));
        painter.setPen(QColor(kHintColour).lighter(300));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.setPen(QColor(kHintColour));
        painter.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, text_);
    }

private:
    QString text_;
};

// ---- creation ----

TSandbox::TSandbox(TParams& params, SandboxHost& host, Prompt& prompt, QWidget* parent)
    : QWidget(parent), params_(params), host_(host), prompt_(prompt), items_(params.screen) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(80, 80);
    corner1_ = new QWidget(this);
    corner1_->setAutoFillBackground(true);
    QPalette silver = corner1_->palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    corner1_->setPalette(silver);
    rulerX_ = new SandboxRuler(*this, Qt::Horizontal);
    rulerY_ = new SandboxRuler(*this, Qt::Vertical);
    panel0_ = new SandboxViewport(*this);
    panel1_ = new QWidget(this);
    panel1_->setAutoFillBackground(true);
    panel1_->hide();
    hint1_ = new SandboxHint(panel0_);
    scrollBarX_ = new QScrollBar(Qt::Horizontal, this);
    scrollBarY_ = new QScrollBar(Qt::Vertical, this);
    scrollBarX_->hide();
    scrollBarY_->hide();
    connect(scrollBarX_, &QScrollBar::valueChanged, this, [this] { Scroll(Qt::Horizontal); });
    connect(scrollBarY_, &QScrollBar::valueChanged, this, [this] { Scroll(Qt::Vertical); });

    for (QTimer* timer : {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5, &Timer6, &Timer7, &Timer8}) {
        timer->setSingleShot(true);
        timer->setInterval(200);
    }
    Timer3.setInterval(100);
    Timer4.setInterval(500);
    Timer4.setSingleShot(false);
    Timer7.setInterval(100);
    Timer8.setInterval(100);
    connect(&Timer3, &QTimer::timeout, this, [this] {
        // The clipboard job, then the markers of the selection (drawn by the selection tools).
        if (pendingJob_ == 1 && copyArea_.right > copyArea_.left && copyArea_.bottom > copyArea_.top) {
            QRect area(copyArea_.left, copyArea_.top, copyArea_.right - copyArea_.left,
                       copyArea_.bottom - copyArea_.top);
            QApplication::clipboard()->setImage(canvas_.image().copy(area));
        }
        pendingJob_ = 0;
    });
    connect(&Timer5, &QTimer::timeout, this, [this] {
        if (toolMode_ == 1) {
            host_.ShowPanel(98);
        } else if (toolMode_ == 31) {
            host_.ShowPanel(300);
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

Point TSandbox::DesignFromCanvas(Point canvas) const {
    double z = zoom();
    return {nearest((static_cast<double>(canvas.x) + tileOffset_.x) / z),
            nearest((static_cast<double>(canvas.y) + tileOffset_.y) / z)};
}

// ---- a new design ----

void TSandbox::CreateNewDesign() {
    FreeList(items_);
    const defaults_t& defaults = params_.state.defaults;
    ItemRecord* header = CreateRecord(items_, ItemKind::Header);
    header->recordClass = RecordClass::Header;
    header->docNumber = docNumber_;
    header->zoom = 1.0;
    header->units = defaults.units;
    header->pxPerUnitX = defaults.pxPerUnitX;
    header->pxPerUnitY = defaults.pxPerUnitY;
    const defaultsRec_t& unit = defaults.perUnit[std::clamp(defaults.units, 1, 3) - 1];
    header->canvasLeft = unit.canvasLeft;
    header->canvasTop = unit.canvasTop;
    header->canvasWidth = unit.canvasWidth;
    header->canvasHeight = unit.canvasHeight;
    header->gridDensityX = unit.gridX;
    header->gridDensityY = unit.gridY;
    header->showGridX = defaults.showGridX;
    header->anchorsX = defaults.anchorsX;
    header->snapX = defaults.snapX;
    header->showGridY = defaults.showGridY;
    header->anchorsY = defaults.anchorsY;
    header->snapY = defaults.snapY;
    header->designType = params_.state.pspage;
    header->orientation = 1;
    header->lightDirection = static_cast<uint8_t>(std::clamp(params_.state.lgtdir, 0, 3));
    header->fileVersion = kFileVersion;
    // The page of the default design type of new files.
    ApplyNewDesignPage(items_, params_);
    HeaderGeometry(header);

    ItemRecord* grid = CreateRecord(items_, ItemKind::Gridlines);
    grid->historyState = 0;
    FillDefaultGridlines(grid, header);
    SetModified(items_, false);
}

bool TSandbox::OpenDesign(int32_t docNumber, const QString& path) {
    // 1. A fresh state.
    progressive_.clear();
    Timer7.stop();
    showPictures_ = showShadows_ = show3D_ = true;
    loading_ = mouseBusy_ = closing_ = false;
    hasFocus_ = true;
    untitledNumber_ = 0;
    fileName_ = path;
    docNumber_ = docNumber;
    tileOffset_ = {};
    copyArea_ = {};
    anchorDrag_ = 0;
    tileSize_ = {};
    DesignChanged();

    // 2 ... 5. A new design with the settings' page and grid.
    host_.SetGlobalZoom(1.0);
    CreateNewDesign();
    host_.RefreshUndoCommands(items_);
    initialised_ = true;
    pageOffset_ = {Header()->boundLeft, Header()->boundTop};

    // 6. The tool of the window that was active last.
    int remembered = host_.RememberedToolMode();
    toolMode_ =
        remembered == 1 || remembered == 31 || (remembered >= 100 && remembered <= 199) ? remembered : 0;
    clickCount_ = dragCode_ = anchorDrag_ = 0;
    inputBlocked_ = false;

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
            toolMode_ = 0;
            clickCount_ = 0;
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
    ItemRecord* header = Header();
    host_.SetGridSnapButtons(header->showGridX || header->showGridY, header->snapX || header->snapY);
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
        scrollBarX_->setPageStep(panel0_->width());
        scrollBarX_->show();
    } else {
        scrollBarX_->hide();
        scrollBarX_->setValue(0);
    }
    if (showY) {
        scrollBarY_->setGeometry(panel0_->x() + panel0_->width(), 0, b, H);
        scrollBarY_->setMaximum(SaturateInt32(pageBottom - panel0_->height() + r));
        scrollBarY_->setPageStep(panel0_->height());
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
        QSize(canvas_.width(), canvas_.height()) != wanted) {
        canvas_ = RasterCanvas(wanted.width(), wanted.height(), Smoothing::Antialiased, params_.screen);
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
        // A quiet woven texture, 49 pixels square.
        backgroundTile_ = QImage(49, 49, QImage::Format_RGB32);
        for (int y = 0; y < 49; ++y) {
            auto* row = reinterpret_cast<QRgb*>(backgroundTile_.scanLine(y));
            for (int x = 0; x < 49; ++x) {
                int shade = 150 + ((x * 7 + y * 13) % 11) - ((x / 7 + y / 7) % 2) * 6;
                row[x] = qRgb(shade, shade + 2, shade + 8);
            }
        }
    }
    background_ = QImage(std::max(1, size.width()), std::max(1, size.height()), QImage::Format_RGB32);
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
    DrawItem(canvas_, item, items_, Transform(), options);
}

void TSandbox::PaintPageBackground(const Rect& area) {
    ItemRecord* header = Header();
    Rect clipped{std::clamp(std::min(area.left, area.right), 0, canvas_.width()),
                 std::clamp(std::min(area.top, area.bottom), 0, canvas_.height()),
                 std::clamp(std::max(area.left, area.right), 0, canvas_.width()),
                 std::clamp(std::max(area.top, area.bottom), 0, canvas_.height())};
    canvas_.setBrush({kCanvasColour, BrushStyle::Solid});
    canvas_.FillRect(clipped);
    const int32_t type = std::abs(static_cast<int32_t>(header->designType));
    if (type == 0) {
        return;
    }
    const double kx = header->pxPerUnitX, ky = header->pxPerUnitY;
    // A length in units as canvas pixels.
    auto cx = [&](double units) { return CanvasFromDesign({nearest(units * kx), 0}).x; };
    auto cy = [&](double units) { return CanvasFromDesign({0, nearest(units * ky)}).y; };
    auto line = [&](Point a, Point b, PenStyle style) {
        canvas_.setPen({kSilver, 1, style});
        const Point points[] = {a, b};
        canvas_.Polyline(points);
    };
    const bool cardType = type == 2 || type == 3 || type == 4 || type == 5 || type == 11;
    if (type == 1 || type == 6 || type == 7 || type == 8 || type == 9 || type == 10) {
        Point a{cx(header->leftMargin), cy(header->topMargin)};
        Point b{cx(header->paperWidth - header->rightMargin), cy(header->paperHeight - header->bottomMargin)};
        line({b.x, a.y}, b, PenStyle::Dotted);
        line(b, {a.x, b.y}, PenStyle::Dotted);
        if (a.x > 0) {
            line({a.x, b.y}, a, PenStyle::Dotted);
        }
        if (a.y >= 1) {
            line(a, {b.x, a.y}, PenStyle::Dotted);
        }
    }
    Point edge;
    if (cardType) {
        int64_t w = nearest(header->cardWidth * kx) * (header->columnFold ? 2 : 1);
        int64_t h = nearest(header->cardHeight * ky) * (header->rowFold ? 2 : 1);
        edge = CanvasFromDesign({SaturateInt32(w), SaturateInt32(h)});
    } else {
        edge = {cx(header->paperWidth), cy(header->paperHeight)};
    }
    line({edge.x, CanvasFromDesign({0, 0}).y}, edge, PenStyle::Solid);
    line(edge, {CanvasFromDesign({0, 0}).x, edge.y}, PenStyle::Solid);
    if (cardType) {
        if (header->columnFold) {
            line({cx(header->cardWidth), CanvasFromDesign({0, 0}).y}, {cx(header->cardWidth), edge.y},
                 PenStyle::Dotted);
        }
        if (header->rowFold) {
            line({CanvasFromDesign({0, 0}).x, cy(header->cardHeight)}, {edge.x, cy(header->cardHeight)},
                 PenStyle::Dotted);
        }
    }
    if (type == 10) {
        const int32_t columns = std::clamp<int32_t>(header->columns, 0, 1000);
        const int32_t rows = std::clamp<int32_t>(header->rows, 0, 1000);
        if (header->columnFold && columns > 1) {
            for (int32_t l = 1; l < columns; ++l) {
                int32_t x = cx(header->leftMargin + l * header->cardWidth);
                line({x, CanvasFromDesign({0, 0}).y}, {x, cy(header->paperHeight)}, PenStyle::Dotted);
            }
        }
        if (header->rowFold && rows > 1) {
            for (int32_t l = 1; l < rows; ++l) {
                int32_t y = cy(header->topMargin + l * header->cardHeight);
                line({CanvasFromDesign({0, 0}).x, y}, {cx(header->paperWidth), y}, PenStyle::Dotted);
            }
        }
    }
}

void TSandbox::DrawGridlines(const Rect& area) {
    vlr::DrawGridlines(canvas_, Header(), LiveGridlines(items_), tileOffset_, area);
}

std::vector<ItemRecord*> StackingOrderOf(const ItemList& items) {
    return StackingOrder(items);
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
            if (!PaintsItem(item)) {
                continue;
            }
            Point a = CanvasFromDesign({item->boundLeft, item->boundTop});
            Point b = CanvasFromDesign({item->boundRight, item->boundBottom});
            // Thick outlines and shadows reach beyond the bounds.
            int32_t reach = std::max<int32_t>(nearest(zoom() * std::max<int32_t>(item->penWidthPx, 1)),
                                              nearest(zoom() * item->shadowElevation * 2)) +
                            2;
            if (item->kind == ItemKind::Text) {
                reach = std::max(reach, nearest(zoom() * item->fontSize * 4));
            }
            if (b.x + reach < visible.left || a.x - reach > visible.right || b.y + reach < visible.top ||
                a.y - reach > visible.bottom) {
                continue;
            }
            PaintItem(item, false);
        }
    }
    FreeMarkers();
    DrawAnchorStrips();
    pendingJob_ = 0;
    if (markers) {
        Timer3.start();
    }
    panel0_->update();
}

void TSandbox::RedrawArea(const Rect& rect) {
    if (canvas_.isNull() || !initialised_) {
        return;
    }
    RestoreArea(markerUnder_);
    bool shadows = false;
    for (ItemRecord* item : items_) {
        shadows = shadows || (PaintsItem(item) && item->shadowElevation != 0);
    }
    Rect area = shadows ? Rect{0, 0, canvas_.width(), canvas_.height()} : rect;
    if (!shadows) {
        // Grow the area to every item it touches.
        Point topLeft = DesignFromCanvas({std::min(rect.left, rect.right), std::min(rect.top, rect.bottom)});
        Point bottomRight =
            DesignFromCanvas({std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)});
        Rect design{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
        for (ItemRecord* item : items_) {
            if (PaintsItem(item) && item->boundRight >= design.left && item->boundLeft <= design.right &&
                item->boundBottom >= design.top && item->boundTop <= design.bottom) {
                design = {std::min<int32_t>(design.left, item->boundLeft),
                          std::min<int32_t>(design.top, item->boundTop),
                          std::max<int32_t>(design.right, item->boundRight),
                          std::max<int32_t>(design.bottom, item->boundBottom)};
            }
        }
        Point a = CanvasFromDesign({design.left, design.top});
        Point b = CanvasFromDesign({design.right, design.bottom});
        area = {a.x, a.y, b.x + 1, b.y + 1};
    }
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
        Point a = CanvasFromDesign({item->boundLeft, item->boundTop});
        Point b = CanvasFromDesign({item->boundRight, item->boundBottom});
        if (!(withoutSelection && IsSelected(item)) && b.x >= area.left && a.x <= area.right &&
            b.y >= area.top && a.y <= area.bottom) {
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
    RestoreArea(markerUnder_);
    FreeMarkers();
    header->zoom = z;
    for (ItemRecord* item : items_) {
        if (item->kind == ItemKind::Clip) {
            ClearChildList(item);
        }
    }
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

void TSandbox::ApplyLightDirection(int direction) {
    ItemRecord* header = Header();
    if (!header) {
        return;
    }
    header->lightDirection = static_cast<uint8_t>(std::clamp(direction, 0, 3));
    for (ItemRecord* item : items_) {
        if (item->kind == ItemKind::Clip) {
            ClearChildList(item);
        }
    }
    RedrawAll(true);
}

void TSandbox::SetDisplaySwitches(const DisplaySwitches& switches) {
    bool surfacesChanged = switches.surfaces != show3D_;
    showPictures_ = switches.pictures;
    showShadows_ = switches.shadows;
    show3D_ = switches.surfaces;
    if (surfacesChanged) {
        for (ItemRecord* item : items_) {
            if (item->kind == ItemKind::Clip) {
                ClearChildList(item);
            }
        }
    }
    RedrawAll(true);
}

// ---- rulers and anchor strips ----

void TSandbox::DrawRulers(bool force) {
    ItemRecord* header = Header();
    if (!header) {
        return;
    }
    const double z = zoom();
    auto build = [&](bool horizontal, QImage& strip, int32_t& offset) {
        const int32_t viewport = horizontal ? panel0_->width() : panel0_->height();
        const int64_t scroll = horizontal ? scrollBarX_->value() : scrollBarY_->value();
        const int32_t start = horizontal ? header->boundLeft : header->boundTop;
        int64_t extent = horizontal ? header->spanX : header->spanY;
        // A page being stretched on this ruler needs a strip as long as its new extent.
        if ((rulerDrag_ == 4 && horizontal) || (rulerDrag_ == 5 && !horizontal)) {
            extent = std::max<int64_t>(
                extent,
                DraggedPageExtent(SaturateInt32(extent), horizontal ? rulerPointer_.x() - rulerPress_.x()
                                                                    : rulerPointer_.y() - rulerPress_.y()));
        }
        const int32_t wanted = RulerOffset(viewport, extent, scroll, start);
        const int32_t length = RulerStripLength(viewport, extent);
        const int32_t current = horizontal ? strip.width() : strip.height();
        if (!force && wanted == offset && current == length && !strip.isNull()) {
            return;
        }
        offset = wanted;
        const double perUnit = horizontal ? double(header->pxPerUnitX) : double(header->pxPerUnitY);
        strip = DrawRulerStrip(ComputeRulerScale(header->units, z, perUnit, offset, length), length,
                               horizontal, RulerLabelFont());
    };
    build(true, rulerStripX_, rulerOffsetX_);
    build(false, rulerStripY_, rulerOffsetY_);
    ComposeRulers();
}

void TSandbox::ComposeRulers() {
    ItemRecord* header = Header();
    if (!header) {
        return;
    }
    auto compose = [&](bool horizontal) {
        int64_t pageStart = horizontal ? pageOffset_.x : pageOffset_.y;
        int64_t extent = horizontal ? header->spanX : header->spanY;
        const int delta =
            horizontal ? rulerPointer_.x() - rulerPress_.x() : rulerPointer_.y() - rulerPress_.y();
        const int end = horizontal ? 4 : 5, start = horizontal ? 6 : 7;
        if (rulerDrag_ == end) {
            extent = DraggedPageExtent(SaturateInt32(extent), delta);
        } else if (rulerDrag_ == start) {
            // The page follows the pointer, never starting before the canvas origin.
            const int64_t bound = horizontal ? header->boundLeft : header->boundTop;
            pageStart += std::max<int64_t>(delta, -bound);
            extent = std::min<int64_t>(extent, kShiftedPageShown);
        }
        const int32_t offset = horizontal ? rulerOffsetX_ : rulerOffsetY_;
        const int32_t length = horizontal ? panel0_->width() : panel0_->height();
        return ComposeRuler(horizontal ? rulerStripX_ : rulerStripY_, length, pageStart + offset, pageStart,
                            pageStart + extent, horizontal);
    };
    rulerXImage_ = compose(true);
    rulerYImage_ = compose(false);
    rulerX_->update();
    rulerY_->update();
}

void TSandbox::DrawAnchorStrips() {
    if (background_.isNull()) {
        return;
    }
    ItemRecord* header = initialised_ ? Header() : nullptr;
    ItemRecord* grid = initialised_ ? LiveGridlines(items_) : nullptr;
    DrawAnchorStrip(background_, untouchedTop_, GridAxis::X, header, grid, pageOffset_);
    DrawAnchorStrip(background_, untouchedLeft_, GridAxis::Y, header, grid, pageOffset_);
    if (anchorDrag_ != 0 && header) {
        // The dragged anchor follows the pointer; the one it left stays red where it was.
        const GridAxis axis = anchorDrag_ == 1 ? GridAxis::X : GridAxis::Y;
        const Point pointer{anchorPointer_.x(), anchorPointer_.y()};
        DrawAnchor(background_, axis,
                   AnchorStart(header, pageOffset_, axis, StripPosition(header, pageOffset_, axis, pointer)),
                   true);
    }
    panel0_->update();
}

void TSandbox::MarkPointer(QPoint viewport) {
    QPoint marked = viewport;
    if (toolMode_ != 0) {
        const Point canvas{viewport.x() - pageOffset_.x - tileOffset_.x,
                           viewport.y() - pageOffset_.y - tileOffset_.y};
        const Point snapped = SnapPoint(canvas);
        marked = QPoint(snapped.x + pageOffset_.x + tileOffset_.x, snapped.y + pageOffset_.y + tileOffset_.y);
    }
    if (marked.x() != rulerMarkX_ || marked.y() != rulerMarkY_) {
        rulerMarkX_ = marked.x();
        rulerMarkY_ = marked.y();
        rulerX_->update();
        rulerY_->update();
    }
}

void TSandbox::ErasePointerMarks() {
    if (rulerMarkX_ >= 0 || rulerMarkY_ >= 0) {
        rulerMarkX_ = rulerMarkY_ = -1;
        rulerX_->update();
        rulerY_->update();
    }
}

// ---- the mouse over the viewport ----

bool TSandbox::OnCanvas(QPoint viewport) const {
    if (canvas_.isNull() || !initialised_) {
        return false;
    }
    const int left = pageOffset_.x + tileOffset_.x, top = pageOffset_.y + tileOffset_.y;
    return viewport.x() >= left && viewport.x() < left + canvas_.width() && viewport.y() >= top &&
           viewport.y() < top + canvas_.height();
}

void TSandbox::Image1MouseMove(QMouseEvent* event) {
    if (ItemRecord* grid = LiveGridlines(items_); grid && ClearHighlights(grid)) {
        DrawAnchorStrips();
    }
    panel0_->unsetCursor();
    MarkPointer(event->position().toPoint());
}

void TSandbox::ViewportLeave() {
    ErasePointerMarks();
    if (anchorDrag_ == 0) {
        if (ItemRecord* grid = LiveGridlines(items_); grid && ClearHighlights(grid)) {
            DrawAnchorStrips();
        }
    }
}

void TSandbox::Background1MouseMove(QMouseEvent* event) {
    ErasePointerMarks();
    ItemRecord* header = Header();
    ItemRecord* grid = LiveGridlines(items_);
    if (!header || !grid) {
        return;
    }
    const QPoint point = event->position().toPoint();
    if (anchorDrag_ != 0) {
        anchorMoved_ = anchorMoved_ || point != anchorPress_;
        anchorPointer_ = point;
        DrawAnchorStrips();
        return;
    }
    bool changed = false;
    std::optional<GridAxis> over =
        HighlightAnchorAt(grid, header, pageOffset_, {point.x(), point.y()}, &changed);
    if (changed) {
        DrawAnchorStrips();
    }
    if (over) {
        panel0_->setCursor(*over == GridAxis::X ? Qt::SizeHorCursor : Qt::SizeVerCursor);
    } else {
        panel0_->unsetCursor();
    }
}

void TSandbox::Background1MouseDown(QMouseEvent* event) {
    ItemRecord* header = Header();
    ItemRecord* grid = LiveGridlines(items_);
    if (event->button() != Qt::LeftButton || !header || !grid) {
        return;
    }
    const QPoint point = event->position().toPoint();
    HighlightAnchorAt(grid, header, pageOffset_, {point.x(), point.y()});
    for (GridAxis axis : {GridAxis::X, GridAxis::Y}) {
        if (const GridNode* node = HighlightedGridline(grid, axis)) {
            anchorDrag_ = axis == GridAxis::X ? 1 : 2;
            const int64_t centre = AnchorStart(header, pageOffset_, axis, node->position) + kAnchorSize / 2;
            anchorPress_ = axis == GridAxis::X ? QPoint(SaturateInt32(centre), point.y())
                                               : QPoint(point.x(), SaturateInt32(centre));
            anchorPointer_ = anchorPress_;
            anchorMoved_ = false;
            return;
        }
    }
    stripPressed_ = StripAt({point.x(), point.y()}).has_value();
}

void TSandbox::Background1MouseUp(QMouseEvent* event) {
    ItemRecord* header = Header();
    const QPoint point = event->position().toPoint();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const int dragged = anchorDrag_;
    const bool moved = anchorMoved_;
    const bool stripClick = stripPressed_;
    anchorDrag_ = 0;
    anchorMoved_ = stripPressed_ = false;
    if (!header) {
        return;
    }
    if (dragged != 0 && moved) {
        const GridAxis axis = dragged == 1 ? GridAxis::X : GridAxis::Y;
        const bool horizontal = axis == GridAxis::X;
        const double z = zoom();
        const int press = horizontal ? anchorPress_.x() : anchorPress_.y();
        const int at = horizontal ? point.x() : point.y();
        const int page = horizontal ? pageOffset_.x : pageOffset_.y;
        const int32_t from = nearest((press - page) / z), to = nearest((at - page) / z);
        const int32_t position = StripPosition(header, pageOffset_, axis, {point.x(), point.y()});
        EditHooks hooks{.refreshUndoCommands = [this] { host_.RefreshUndoCommands(items_); }};
        if (MoveGridlineWithItems(items_, *this, editMetrics(), axis, from, to, position, hooks)) {
            DesignChanged();
            host_.RefreshDesignControls();
        }
        RedrawAll(true);
        return;
    }
    if (dragged == 0 && stripClick && shift) {
        if (std::optional<GridAxis> axis = StripAt({point.x(), point.y()});
            axis && GridEditable(header, *axis)) {
            const int32_t position = StripPosition(header, pageOffset_, *axis, {point.x(), point.y()});
            if (EditGrid(items_, *axis, GridAction::Add, position,
                         {.refreshUndoCommands = [this] { host_.RefreshUndoCommands(items_); }})) {
                DesignChanged();
                RedrawAll(true);
            }
        }
    }
    DrawAnchorStrips();
}

// ---- dragging the page's edges on the rulers ----

void TSandbox::RulerMouseDown(Qt::Orientation axis, QMouseEvent* event) {
    ItemRecord* header = Header();
    if (event->button() != Qt::LeftButton || !header) {
        return;
    }
    const bool horizontal = axis == Qt::Horizontal;
    const QPoint point = event->position().toPoint();
    const PageEdge edge =
        PageEdgeNear(horizontal ? point.x() : point.y(), horizontal ? pageOffset_.x : pageOffset_.y,
                     horizontal ? header->spanX : header->spanY);
    if (edge == PageEdge::None) {
        return;
    }
    rulerDrag_ = edge == PageEdge::End ? (horizontal ? 4 : 5) : (horizontal ? 6 : 7);
    rulerPress_ = rulerPointer_ = point;
    RulerMouseMove(axis, event);
}

QString TSandbox::rulerHintText() const {
    return hint1_->isVisible() ? hintText_ : QString();
}

void TSandbox::ShowRulerHint(Qt::Orientation axis, QPoint rulerPoint, const QString& text) {
    hintText_ = text;
    auto* hint = static_cast<SandboxHint*>(hint1_);
    hint->SetText(text);
    // Below the pointer on the top ruler, right of it on the left one, inside the viewport.
    QPoint place = axis == Qt::Horizontal
                       ? QPoint(rulerPoint.x(), rulerPoint.y() - kRulerThickness + kHintDistance)
                       : QPoint(rulerPoint.x() - kRulerThickness + kHintDistance, rulerPoint.y());
    place.setX(std::clamp(place.x(), 0, std::max(0, panel0_->width() - hint->width())));
    place.setY(std::clamp(place.y(), 0, std::max(0, panel0_->height() - hint->height())));
    hint->move(place);
    hint->show();
    hint->raise();
}

void TSandbox::RulerMouseMove(Qt::Orientation axis, QMouseEvent* event) {
    ItemRecord* header = Header();
    if (!header) {
        return;
    }
    const bool horizontal = axis == Qt::Horizontal;
    const QPoint point = event->position().toPoint();
    QWidget* ruler = horizontal ? rulerX_ : rulerY_;
    if (rulerDrag_ == 0) {
        const PageEdge edge =
            PageEdgeNear(horizontal ? point.x() : point.y(), horizontal ? pageOffset_.x : pageOffset_.y,
                         horizontal ? header->spanX : header->spanY);
        ruler->setCursor(edge == PageEdge::None ? Qt::ArrowCursor
                         : horizontal           ? Qt::SizeHorCursor
                                                : Qt::SizeVerCursor);
        return;
    }
    rulerPointer_ = point;
    if (rulerDrag_ == 4 || rulerDrag_ == 5) {
        const int32_t extent =
            DraggedPageExtent(horizontal ? header->spanX : header->spanY,
                              horizontal ? point.x() - rulerPress_.x() : point.y() - rulerPress_.y());
        const double perUnit = horizontal ? double(header->pxPerUnitX) : double(header->pxPerUnitY);
        const std::string length =
            FormatLength(extent / perUnit / zoom(), header->units, params_.decimalSeparator);
        ShowRulerHint(axis, point,
                      QString(horizontal ? "Width: " : "Height: ") + QString::fromStdString(length));
        DrawRulers();
    } else {
        ComposeRulers();
    }
}

void TSandbox::RulerMouseUp(Qt::Orientation axis, QMouseEvent* event) {
    ItemRecord* header = Header();
    const int drag = rulerDrag_;
    rulerDrag_ = 0;
    hint1_->hide();
    if (drag == 0 || !header) {
        return;
    }
    const bool horizontal = axis == Qt::Horizontal;
    const QPoint point = event->position().toPoint();
    const int64_t delta = horizontal ? point.x() - rulerPress_.x() : point.y() - rulerPress_.y();
    const double z = zoom();
    const double perUnit = horizontal ? double(header->pxPerUnitX) : double(header->pxPerUnitY);
    ItemRecord* grid = LiveGridlines(items_);
    const GridAxis gridAxis = horizontal ? GridAxis::X : GridAxis::Y;
    if (drag == 4 || drag == 5) {
        const int32_t extent = DraggedPageExtent(horizontal ? header->spanX : header->spanY, delta);
        (horizontal ? header->canvasWidth : header->canvasHeight) = extent / perUnit / z;
        SetModified(items_, true);
        HeaderGeometry(header);
        if (grid) {
            AddGridlinesForGrownPage(grid, header, gridAxis);
        }
    } else {
        const int32_t before = horizontal ? header->boundLeft : header->boundTop;
        const int64_t after = std::max<int64_t>(0, before + delta);
        (horizontal ? header->canvasLeft : header->canvasTop) = after / perUnit / z;
        SetModified(items_, true);
        HeaderGeometry(header);
        // The grid moves by what the page moved, which stops at the canvas origin.
        const int32_t moved = (horizontal ? header->boundLeft : header->boundTop) - before;
        if (grid) {
            ShiftGrid(grid, gridAxis, nearest(moved / z));
        }
    }
    DesignChanged();
    DrawAnchorStrips();
    Relayout();
    RedrawAll(true);
}

// ---- the grid commands ----

void TSandbox::SetGridShown(int type) {
    if (ItemRecord* header = Header()) {
        header->showGridX = (type & 1) != 0;
        header->showGridY = (type & 2) != 0;
        RedrawAll(true);
        host_.SetGridSnapButtons(header->showGridX || header->showGridY, header->snapX || header->snapY);
    }
}

void TSandbox::SetAnchorsShown(int type) {
    if (ItemRecord* header = Header()) {
        header->anchorsX = (type & 1) != 0;
        header->anchorsY = (type & 2) != 0;
        if (ItemRecord* grid = LiveGridlines(items_)) {
            ClearHighlights(grid);
        }
        DrawAnchorStrips();
    }
}

void TSandbox::SetSnap(int type) {
    if (ItemRecord* header = Header()) {
        header->snapX = (type & 1) != 0;
        header->snapY = (type & 2) != 0;
        host_.SetGridSnapButtons(header->showGridX || header->showGridY, header->snapX || header->snapY);
    }
}

void TSandbox::EqualizeGrid(int axes) {
    EditHooks hooks{.refreshUndoCommands = [this] { host_.RefreshUndoCommands(items_); }};
    bool changed = false;
    if (axes & 2) {
        changed = EditGrid(items_, GridAxis::X, GridAction::Equalize, 0, hooks) || changed;
    }
    if (axes & 4) {
        changed = EditGrid(items_, GridAxis::Y, GridAction::Equalize, 0, hooks) || changed;
    }
    if (changed) {
        DesignChanged();
        RedrawAll(true);
    }
}

bool TSandbox::DeleteAnchorUnderPointer() {
    EditHooks hooks{.refreshUndoCommands = [this] { host_.RefreshUndoCommands(items_); }};
    if (!EditGrid(items_, GridAxis::X, GridAction::Remove, 0, hooks) &&
        !EditGrid(items_, GridAxis::Y, GridAction::Remove, 0, hooks)) {
        return false;
    }
    anchorDrag_ = 0;
    DesignChanged();
    RedrawAll(true);
    return true;
}

void TSandbox::GridOptionsChanged() {
    ItemRecord* header = Header();
    if (!header) {
        return;
    }
    if (ItemRecord* grid = LiveGridlines(items_)) {
        ClearHighlights(grid);
    }
    DrawRulers(true);
    RedrawAll(true);
    host_.SetGridSnapButtons(header->showGridX || header->showGridY, header->snapX || header->snapY);
}

// ---- snapping and editing on this canvas ----

SnapFrame TSandbox::snapFrame() const {
    return {Header(), LiveGridlines(items_), tileOffset_};
}

Point TSandbox::SnapPoint(Point canvas) const {
    return vlr::SnapPoint(snapFrame(), canvas);
}

EditMetrics TSandbox::editMetrics() const {
    return {params_.markerWidth, params_.markerHeight, params_.screen};
}

int32_t TSandbox::BeginEdit(bool drawCopies) {
    DesignChanged();
    return vlr::BeginEdit(items_, *this, editMetrics(),
                          {.refreshUndoCommands = [this] { host_.RefreshUndoCommands(items_); }}, drawCopies);
}

Rect TSandbox::WholeCanvas() const {
    return {0, 0, canvas_.width(), canvas_.height()};
}

void TSandbox::EraseMarkers() {
    RestoreArea(markerUnder_);
    FreeMarkers();
}

void TSandbox::RepaintUnderSelection(const Rect& area) {
    if (canvas_.isNull()) {
        return;
    }
    RepaintArea(area, true);
    SaveArea(selectionUnder_, area);
    panel0_->update();
}

void TSandbox::DrawQuick(ItemRecord* item) {
    PaintItem(item, true);
}

int32_t TSandbox::AverageCharWidth(const ItemRecord& text) const {
    // Measuring needs a raster; the canvas's own is borrowed for it and its font put back.
    RasterCanvas& canvas = const_cast<RasterCanvas&>(canvas_);
    if (canvas.isNull()) {
        return 0;
    }
    const FontSpec before = canvas.font();
    canvas.setFont(TextFont(text, zoom(), text.textColor));
    const int32_t width = canvas.GetTextMetrics().averageCharWidth;
    canvas.setFont(before);
    return width;
}

// ---- saved pixels ----

void TSandbox::SaveArea(SaveUnder& saved, const Rect& canvasRect) {
    CanvasLock lock(canvas_);
    Rect area{std::max(0, std::min(canvasRect.left, canvasRect.right)),
              std::max(0, std::min(canvasRect.top, canvasRect.bottom)),
              std::min(canvas_.width(), std::max(canvasRect.left, canvasRect.right)),
              std::min(canvas_.height(), std::max(canvasRect.top, canvasRect.bottom))};
    if (area.right <= area.left || area.bottom <= area.top) {
        saved.holding = false;
        return;
    }
    saved.pixels = RasterCanvas(area.right - area.left, area.bottom - area.top, Smoothing::Exact);
    saved.source = {0, 0, area.right - area.left, area.bottom - area.top};
    saved.destination = area;
    saved.pixels.CopyRect(saved.source, canvas_, area);
    saved.holding = true;
}

void TSandbox::RestoreArea(SaveUnder& saved) {
    if (!saved.holding || saved.pixels.isNull()) {
        return;
    }
    CanvasLock lock(canvas_);
    canvas_.CopyRect(saved.destination, saved.pixels, saved.source);
    saved.holding = false;
    panel0_->update();
}

// ---- input and focus ----

bool TSandbox::KeyDown(QKeyEvent& event) {
    return event.key() == Qt::Key_Delete && acceptKeys_ && DeleteAnchorUnderPointer();
}

bool TSandbox::KeyPress(QKeyEvent&) {
    return false;
}

void TSandbox::SelectPanel(int panelCode) {
    // The interaction mode of a panel: line 1, text 31, the shapes by their insertion codes.
    if (panelCode == 98) {
        toolMode_ = 1;
    } else if (panelCode == 300 || panelCode == 302 || panelCode == 303) {
        toolMode_ = 31;
    } else if (panelCode >= 100 && panelCode <= 199) {
        toolMode_ = panelCode;
    } else {
        toolMode_ = 0;
    }
    ResetInsertionPoints();
}

void TSandbox::ResetInsertionPoints() {
    clickCount_ = 0;
    inputBlocked_ = false;
    pointA_ = pointB_ = {0, 0};
}

bool TSandbox::HasCopyArea() const {
    return copyArea_.right > copyArea_.left && copyArea_.bottom > copyArea_.top;
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
    if (ItemRecord* header = Header()) {
        host_.SetGridSnapButtons(header->showGridX || header->showGridY, header->snapX || header->snapY);
    }
    host_.WindowActivated(this);
    Timer5.start();
}

void TSandbox::FormDeactivate() {
    hasFocus_ = false;
    host_.RememberToolMode(toolMode_);
}

void TSandbox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    FormActivate();
}

void TSandbox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    FormDeactivate();
}

void TSandbox::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && hasFocus()) {
        FormActivate();
    }
}

} // namespace vlr
