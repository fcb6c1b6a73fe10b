// The document window.
#include "canvas/sandbox.h"

#include "canvas/sandboxhost.h"
#include "model/itemlist.h"
#include "model/prompt.h"
#include "render/drawdesign.h"
#include "settings/pageheader.h"
#include "settings/params.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

constexpr int32_t kSilver = 0xC0C0C0;
constexpr int32_t kCanvasColour = 0xFFFFFF;
constexpr QRgb kGridlineColour = qRgb(170, 204, 255);
constexpr QRgb kAnchorColour = qRgb(69, 122, 255);
constexpr QRgb kRulerTickColour = qRgb(80, 80, 80);
constexpr QRgb kRulerLabelColour = qRgb(64, 64, 64);
constexpr QRgb kRulerPageColour = qRgb(255, 255, 225);
constexpr QRgb kRulerOutsideColour = qRgb(192, 192, 192);
constexpr int kAnchorSize = 7;
constexpr int kStripDepth = 12; // anchor height 7 + tick 4 + 1
// Time a progressive repaint spends per turn of the event loop.
constexpr qint64 kProgressiveSliceMs = 12;
// Default gridlines of a new design stay within this count per axis.
constexpr int64_t kMostGridlines = 10000;

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

private:
    TSandbox& window_;
};

class SandboxRuler : public QWidget {
public:
    SandboxRuler(TSandbox& window, Qt::Orientation axis) : QWidget(&window), window_(window), axis_(axis) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(kRulerOutsideColour));
        painter.drawImage(0, 0, axis_ == Qt::Horizontal ? window_.rulerXImage_ : window_.rulerYImage_);
    }

private:
    TSandbox& window_;
    Qt::Orientation axis_;
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

void TSandbox::DefaultGridlines(ItemRecord* grid, ItemRecord* header) {
    auto fill = [](std::vector<GridNode>& nodes, double density, double scale, double start, double extent) {
        nodes.clear();
        int64_t step = nearest(density * scale);
        if (step < 1 || !(density > 0.0)) {
            return;
        }
        int64_t count = static_cast<int64_t>(std::trunc(extent / density));
        int64_t first = nearest(start * scale);
        for (int64_t k = 0; k <= std::min(count, kMostGridlines); ++k) {
            nodes.push_back({SaturateInt32(first + k * step), 0, 0});
        }
    };
    fill(grid->gridX, header->gridDensityX, header->pxPerUnitX, header->canvasLeft, header->canvasWidth);
    fill(grid->gridY, header->gridDensityY, header->pxPerUnitY, header->canvasTop, header->canvasHeight);
}

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
    DefaultGridlines(grid, header);
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

void TSandbox::DrawGridlines() {
    ItemRecord* header = Header();
    ItemRecord* grid = FindLiveRecord(items_, ItemKind::Gridlines);
    if (!header || !grid || canvas_.isNull()) {
        return;
    }
    const double z = zoom();
    canvas_.setBrush({ColourFromQRgb(kGridlineColour), BrushStyle::Solid});
    const int32_t pageHeight = SaturateInt32(static_cast<int64_t>(header->spanY) - tileOffset_.y);
    const int32_t pageWidth = SaturateInt32(static_cast<int64_t>(header->spanX) - tileOffset_.x);
    if (header->showGridX) {
        for (const GridNode& node : grid->gridX) {
            if (node.removed) {
                continue;
            }
            int64_t x = static_cast<int64_t>(nearest(z * node.position)) - tileOffset_.x - header->boundLeft;
            if (x >= 0 && x < canvas_.width()) {
                canvas_.FillRect({static_cast<int32_t>(x), 0, static_cast<int32_t>(x + 1), pageHeight});
            }
        }
    }
    if (header->showGridY) {
        for (const GridNode& node : grid->gridY) {
            if (node.removed) {
                continue;
            }
            int64_t y = static_cast<int64_t>(nearest(z * node.position)) - tileOffset_.y - header->boundTop;
            if (y >= 0 && y < canvas_.height()) {
                canvas_.FillRect({0, static_cast<int32_t>(y), pageWidth, static_cast<int32_t>(y + 1)});
            }
        }
    }
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
        DrawGridlines();
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
    {
        CanvasLock lock(canvas_);
        PaintPageBackground(area);
        for (ItemRecord* item : StackingOrder(items_)) {
            Point a = CanvasFromDesign({item->boundLeft, item->boundTop});
            Point b = CanvasFromDesign({item->boundRight, item->boundBottom});
            if (b.x >= area.left && a.x <= area.right && b.y >= area.top && a.y <= area.bottom) {
                PaintItem(item, false);
            }
        }
    }
    selectionUnder_.holding = false;
    pendingJob_ = 0;
    Timer3.start();
    panel0_->update();
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
        DrawGridlines();
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

void TSandbox::SetDisplaySwitches(bool pictures, bool shadows, bool surfaces) {
    bool surfacesChanged = surfaces != show3D_;
    showPictures_ = pictures;
    showShadows_ = shadows;
    show3D_ = surfaces;
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

void TSandbox::DrawRulers() {
    ItemRecord* header = Header();
    if (!header) {
        return;
    }
    const double z = zoom();
    auto draw = [&](QImage& image, Qt::Orientation axis) {
        const bool horizontal = axis == Qt::Horizontal;
        const int length = horizontal ? panel0_->width() : panel0_->height();
        image = horizontal ? QImage(std::max(1, length), kRulerThickness, QImage::Format_RGB32)
                           : QImage(kRulerThickness, std::max(1, length), QImage::Format_RGB32);
        image.fill(kRulerOutsideColour);
        QPainter painter(&image);
        const int start = horizontal ? pageOffset_.x : pageOffset_.y;
        const int extent = horizontal ? header->spanX : header->spanY;
        const int visibleStart = std::max(0, start), visibleEnd = std::min(length, start + extent);
        if (visibleEnd <= visibleStart) {
            return;
        }
        if (horizontal) {
            painter.fillRect(visibleStart, 0, visibleEnd - visibleStart, kRulerThickness,
                             QColor(kRulerPageColour));
        } else {
            painter.fillRect(0, visibleStart, kRulerThickness, visibleEnd - visibleStart,
                             QColor(kRulerPageColour));
        }
        // The measuring unit's steps: (pixels per major step, subdivisions with their heights).
        struct Series {
            double step;
            int height;
        };
        std::vector<Series> series;
        double major = 0.0;
        int labelEvery = 1;
        bool labels = true;
        const double perUnit = horizontal ? double(header->pxPerUnitX) : double(header->pxPerUnitY);
        switch (static_cast<int32_t>(header->units)) {
        case 1:
            major = nearest(z * 100.0);
            labelEvery = 100;
            if (z > 0.1 && z <= 0.25) {
                series.push_back({major / 5, 1});
            }
            if (z > 0.25) {
                series.push_back({major / 10, 1});
            }
            if (z > 1) {
                series.push_back({major / 20, 1});
            }
            break;
        case 2:
            major = nearest(z * perUnit * 10.0);
            labelEvery = 10;
            labels = z > 0.25;
            series.push_back({major / 2, 4});
            series.push_back({major / 4, 1});
            if (z > 1) {
                series.push_back({major / 8, 1});
            }
            break;
        default:
            major = nearest(z * perUnit);
            labels = z > 0.125;
            if (z > 0.25) {
                series.push_back({major / 2, 8});
                series.push_back({major / 4, 4});
            }
            if (z > 0.5) {
                series.push_back({major / 8, 1});
            }
            if (z > 1) {
                series.push_back({major / 16, 1});
            }
            if (z > 2) {
                series.push_back({major / 32, 1});
            }
            break;
        }
        if (major < 2.0) {
            return;
        }
        series.insert(series.begin(), {major, 11});
        painter.setPen(QColor(kRulerTickColour));
        for (const Series& s : series) {
            if (s.step < 2.0) {
                continue;
            }
            for (int64_t k = 1;; ++k) {
                int position = start + static_cast<int>(std::lround(k * s.step));
                if (position >= visibleEnd) {
                    break;
                }
                if (position < visibleStart) {
                    k = std::max<int64_t>(k, static_cast<int64_t>((visibleStart - start) / s.step));
                    continue;
                }
                if (horizontal) {
                    painter.drawLine(position, kRulerThickness - s.height, position, kRulerThickness - 1);
                } else {
                    painter.drawLine(kRulerThickness - s.height, position, kRulerThickness - 1, position);
                }
            }
        }
        if (labels) {
            QFont font("Arial");
            font.setPixelSize(8);
            painter.setFont(font);
            painter.setPen(QColor(kRulerLabelColour));
            for (int64_t k = 1;; ++k) {
                int position = start + static_cast<int>(std::lround(k * major));
                if (position >= visibleEnd) {
                    break;
                }
                if (position < visibleStart) {
                    continue;
                }
                QString label = QString::number(k * labelEvery);
                if (horizontal) {
                    painter.drawText(position + 2, 8, label);
                } else {
                    painter.save();
                    painter.translate(8, position - 2);
                    painter.rotate(-90);
                    painter.drawText(0, 0, label);
                    painter.restore();
                }
            }
        }
    };
    draw(rulerXImage_, Qt::Horizontal);
    draw(rulerYImage_, Qt::Vertical);
    rulerX_->update();
    rulerY_->update();
}

void TSandbox::DrawAnchorStrips() {
    if (background_.isNull() || backgroundTile_.isNull()) {
        return;
    }
    // The untouched texture under both strips first.
    {
        QPainter painter(&background_);
        painter.setBrushOrigin(0, 0);
        painter.fillRect(QRect(0, 0, background_.width(), kStripDepth), QBrush(backgroundTile_));
        painter.fillRect(QRect(0, 0, kStripDepth, background_.height()), QBrush(backgroundTile_));
    }
    ItemRecord* header = Header();
    ItemRecord* grid = FindLiveRecord(items_, ItemKind::Gridlines);
    if (!header || !grid || !initialised_) {
        panel0_->update();
        return;
    }
    const double z = zoom();
    QPainter painter(&background_);
    painter.setRenderHint(QPainter::Antialiasing);
    auto anchor = [&](int left, int top, bool horizontal) {
        QLinearGradient shade(left, top, horizontal ? left + kAnchorSize : left,
                              horizontal ? top : top + kAnchorSize);
        shade.setColorAt(0, QColor(kAnchorColour).lighter(150));
        shade.setColorAt(1, QColor(kAnchorColour).darker(120));
        painter.setPen(Qt::NoPen);
        painter.setBrush(shade);
        painter.drawRoundedRect(QRectF(left, top, kAnchorSize, kAnchorSize), 2, 2);
        painter.setPen(QColor(kAnchorColour));
        if (horizontal) {
            painter.drawLine(left + kAnchorSize / 2, 8, left + kAnchorSize / 2, 11);
        } else {
            painter.drawLine(8, top + kAnchorSize / 2, 11, top + kAnchorSize / 2);
        }
    };
    if (header->showGridX && header->anchorsX) {
        for (const GridNode& node : grid->gridX) {
            int64_t left =
                static_cast<int64_t>(nearest(z * node.position)) + pageOffset_.x - 3 - header->boundLeft;
            if (!node.removed && left >= 0 && left < background_.width()) {
                anchor(static_cast<int>(left), 1, true);
            }
        }
    }
    if (header->showGridY && header->anchorsY) {
        for (const GridNode& node : grid->gridY) {
            int64_t top =
                static_cast<int64_t>(nearest(z * node.position)) + pageOffset_.y - 3 - header->boundTop;
            if (!node.removed && top >= 0 && top < background_.height()) {
                anchor(1, static_cast<int>(top), false);
            }
        }
    }
    panel0_->update();
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

bool TSandbox::KeyDown(QKeyEvent&) {
    return false;
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
