// The raster and its drawing operations over QPainter.
#include "render/rastercanvas.h"

#include "platform/largepages.h"
#include "render/devicescale.h"
#include "render/fontsubstitute.h"
#include "render/parallel.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

namespace vlr {

struct RasterCanvas::MadeFont {
    FontSpec description;   // what the font was made from
    QFont font;
    QFontMetrics metrics;
};

namespace {

constexpr QImage::Format kFormat = QImage::Format_RGB32;
constexpr int32_t kCoordinateLimit = (1 << 30) - 1;

QColor QtColour(int32_t colour) {
    return QColor::fromRgb(QRgbFromColour(colour));
}

QPen QtPen(const Pen& pen) {
    QPen qtPen(QtColour(pen.colour));
    const int32_t width = std::clamp(pen.width, 1, kMaxPenWidth);
    qtPen.setWidth(width);
    if (pen.style == PenStyle::Dotted) {
        qtPen.setDashPattern({1.0, 1.0});
        qtPen.setCapStyle(Qt::FlatCap);
    } else if (width == 1) {
        // The thinnest line lights every pixel from the first point to the last.
        qtPen.setCapStyle(Qt::SquareCap);
        qtPen.setJoinStyle(Qt::MiterJoin);
    } else {
        qtPen.setCapStyle(Qt::RoundCap);
        qtPen.setJoinStyle(Qt::RoundJoin);
    }
    return qtPen;
}

QBrush QtBrush(const Brush& brush) {
    return brush.style == BrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(QtColour(brush.colour));
}

// Corners in either order; right and bottom excluded. Coordinates are kept within +-2^30 so that
// sizes fit an int; no raster comes near that.
QRect QtRect(const Rect& rect) {
    auto bounded = [](int32_t value) { return std::clamp(value, -kCoordinateLimit, kCoordinateLimit); };
    const int32_t left = bounded(std::min(rect.left, rect.right));
    const int32_t right = bounded(std::max(rect.left, rect.right));
    const int32_t top = bounded(std::min(rect.top, rect.bottom));
    const int32_t bottom = bounded(std::max(rect.top, rect.bottom));
    return {left, top, right - left, bottom - top};
}

// The first touch of a fresh raster's memory is the system clearing it, page by page; for the
// raster of a page at a printer's resolution that takes a second on one core.
void FillWhite(QImage& image) {
    if (image.isNull()) {
        return;
    }
    constexpr int64_t kPieceBytes = int64_t{8} << 20;
    const int32_t width = image.width(), height = image.height();
    const int32_t pieceRows = int32_t(std::clamp<int64_t>(kPieceBytes / image.bytesPerLine(), 1, height));
    uchar* const bits = image.bits();
    const auto stride = size_t(image.bytesPerLine());
    ForEachInParallel((height + pieceRows - 1) / pieceRows, [=](int32_t piece) {
        for (int32_t y = piece * pieceRows; y < std::min(height, (piece + 1) * pieceRows); ++y) {
            auto* row = reinterpret_cast<uint32_t*>(bits + size_t(y) * stride);
            std::fill(row, row + width, 0xFFFFFFFFu); // white, as Qt::white in this format
        }
    });
}

} // namespace

QImage LargeImage(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) {
        return {};
    }
    const size_t bytes = size_t(width) * size_t(height) * sizeof(uint32_t);
    auto* block = new (std::nothrow) LargeBuffer(bytes);
    if (block == nullptr || block->isNull()) {
        delete block;
        return {};
    }
    return QImage(
        block->data(), width, height, qsizetype(width) * qsizetype(sizeof(uint32_t)), kFormat,
        [](void* owner) { delete static_cast<LargeBuffer*>(owner); }, block);
}

int32_t FontPixelHeight(double sizePoints, const ScreenResolution& screen) {
    return std::clamp(nearest(sizePoints * screen.dpiY() / 72.0), 1, kMaxFontPixels);
}

RasterCanvas::RasterCanvas() : lock_(std::make_unique<std::recursive_mutex>()) {}

RasterCanvas::RasterCanvas(int32_t width, int32_t height, Smoothing smoothing, const ScreenResolution& screen,
                           double deviceScale)
    : smoothing_(smoothing), screen_(screen), lock_(std::make_unique<std::recursive_mutex>()) {
    // Beyond a handful of device pixels per window pixel no screen goes.
    constexpr double kDensest = 8.0;
    if (std::isfinite(deviceScale) && deviceScale > 1.0) {
        deviceScale_ = std::min(deviceScale, kDensest);
    }
    const QSize device = DeviceSize(QSize(width, height), deviceScale_);
    if (width > 0 && height > 0 && int64_t{device.width()} * device.height() <= kMaxRasterPixels) {
        image_ = LargeImage(device.width(), device.height()); // null when it cannot be allocated
        FillWhite(image_);
        image_.setDevicePixelRatio(deviceScale_);
        windowWidth_ = width;
        windowHeight_ = height;
    }
}

RasterCanvas::RasterCanvas(const QImage& image, Smoothing smoothing, const ScreenResolution& screen)
    : image_(image.convertToFormat(kFormat)), smoothing_(smoothing), screen_(screen),
      windowWidth_(image_.width()), windowHeight_(image_.height()),
      lock_(std::make_unique<std::recursive_mutex>()) {
    image_.setDevicePixelRatio(1.0);
}

RasterCanvas::~RasterCanvas() {
    FinishPainting();
}

RasterCanvas::RasterCanvas(RasterCanvas&& other) noexcept : lock_(std::make_unique<std::recursive_mutex>()) {
    *this = std::move(other);
}

RasterCanvas& RasterCanvas::operator=(RasterCanvas&& other) noexcept {
    if (this != &other) {
        FinishPainting();
        other.FinishPainting();
        image_ = std::exchange(other.image_, QImage());
        smoothing_ = other.smoothing_;
        screen_ = other.screen_;
        deviceScale_ = std::exchange(other.deviceScale_, 1.0);
        windowWidth_ = std::exchange(other.windowWidth_, 0);
        windowHeight_ = std::exchange(other.windowHeight_, 0);
        deviceAddressing_ = std::exchange(other.deviceAddressing_, false);
        pen_ = other.pen_;
        brush_ = other.brush_;
        font_ = other.font_;
        madeFont_ = std::move(other.madeFont_);
        recordingPath_ = std::exchange(other.recordingPath_, false);
        path_ = std::exchange(other.path_, QPainterPath());
    }
    return *this;
}

// ---- painter ----

void RasterCanvas::AddressDevicePixels(bool on) {
    if (deviceAddressing_ == on) {
        return;
    }
    deviceAddressing_ = on;
    if (deviceScale_ == 1.0) {
        return; // window pixels are device pixels
    }
    // A painter follows the picture's ratio from its start: window pixels on a dense picture,
    // device pixels on one of ratio 1.
    FinishPainting();
    if (!image_.isNull()) {
        image_.setDevicePixelRatio(on ? 1.0 : deviceScale_);
    }
}

QPainter* RasterCanvas::Painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&image_);
        painter_->setRenderHint(QPainter::Antialiasing, smoothing_ == Smoothing::Antialiased);
        painter_->setRenderHint(QPainter::TextAntialiasing, smoothing_ == Smoothing::Antialiased);
    }
    return painter_.get();
}

void RasterCanvas::FinishPainting() const {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

QPointF RasterCanvas::At(Point point) const {
    // Antialiased drawing covers areas; the centre of pixel (x, y) is (x + 0.5, y + 0.5).
    const double offset = smoothing_ == Smoothing::Antialiased ? 0.5 : 0.0;
    return {point.x + offset, point.y + offset};
}

// ---- direct access ----

uint32_t* RasterCanvas::scanLine(int32_t y) {
    if (y < 0 || y >= image_.height()) {
        return nullptr;
    }
    FinishPainting();
    return reinterpret_cast<uint32_t*>(image_.scanLine(y));
}

const uint32_t* RasterCanvas::scanLine(int32_t y) const {
    if (y < 0 || y >= image_.height()) {
        return nullptr;
    }
    FinishPainting();
    return reinterpret_cast<const uint32_t*>(image_.constScanLine(y));
}

int32_t RasterCanvas::pixel(int32_t x, int32_t y) const {
    const uint32_t* row = scanLine(y);
    if (!row || x < 0 || x >= image_.width()) {
        return -1;
    }
    return ColourFromQRgb(row[x]);
}

void RasterCanvas::setPixel(int32_t x, int32_t y, int32_t colour) {
    uint32_t* row = scanLine(y);
    if (row && x >= 0 && x < image_.width()) {
        row[x] = QRgbFromColour(colour);
    }
}

const QImage& RasterCanvas::image() const {
    FinishPainting();
    return image_;
}

QImage& RasterCanvas::image() {
    FinishPainting();
    return image_;
}

// ---- figures ----

void RasterCanvas::Figure(const QPainterPath& figure, bool filled) {
    if (recordingPath_) {
        path_.addPath(figure);
        return;
    }
    if (isNull()) {
        return;
    }
    QPainter* painter = Painter();
    painter->setPen(QtPen(pen_));
    painter->setBrush(filled ? QtBrush(brush_) : QBrush(Qt::NoBrush));
    painter->drawPath(figure);
}

void RasterCanvas::Polyline(std::span<const Point> points) {
    if (points.size() < 2) {
        return;
    }
    QPainterPath figure(At(points[0]));
    for (Point point : points.subspan(1)) {
        figure.lineTo(At(point));
    }
    Figure(figure, false);
}

void RasterCanvas::Polygon(std::span<const Point> points) {
    if (points.size() < 2) {
        return;
    }
    QPainterPath figure(At(points[0]));
    figure.setFillRule(Qt::OddEvenFill);
    for (Point point : points.subspan(1)) {
        figure.lineTo(At(point));
    }
    figure.closeSubpath();
    Figure(figure, true);
}

void RasterCanvas::Ellipse(const Rect& rect) {
    const QRect box = QtRect(rect);
    QPainterPath figure;
    figure.addEllipse(QRectF(At({box.left(), box.top()}), QSizeF(box.width(), box.height())));
    Figure(figure, true);
}

void RasterCanvas::PolyBezier(std::span<const Point> points) {
    if (points.size() < 4) {
        return;
    }
    QPainterPath figure(At(points[0]));
    for (size_t i = 1; i + 3 <= points.size(); i += 3) {
        figure.cubicTo(At(points[i]), At(points[i + 1]), At(points[i + 2]));
    }
    Figure(figure, false);
}

void RasterCanvas::BeginPath() {
    recordingPath_ = true;
    path_ = QPainterPath();
    path_.setFillRule(Qt::OddEvenFill);
}

void RasterCanvas::EndPath() {
    recordingPath_ = false;
}

void RasterCanvas::StrokeAndFillPath() {
    recordingPath_ = false;
    // Every figure is closed before it is filled and outlined.
    QPainterPath closed;
    closed.setFillRule(Qt::OddEvenFill);
    for (const QPolygonF& figure : path_.toSubpathPolygons()) {
        if (!figure.isEmpty()) {
            closed.addPolygon(figure);
            closed.closeSubpath();
        }
    }
    path_ = QPainterPath();
    Figure(closed, true);
}

// ---- rectangles ----

void RasterCanvas::FillRect(const Rect& rect) {
    if (brush_.style == BrushStyle::Clear || isNull()) {
        return;
    }
    const QRect area =
        QtRect(byDevicePixels() ? rect : DeviceRect(rect, deviceScale_)).intersected(image_.rect());
    if (area.isEmpty()) {
        return;
    }
    FinishPainting();
    const uint32_t value = QRgbFromColour(brush_.colour);
    // Whole rows lie back to back and are filled as one run. A colour whose four bytes agree
    // (white, with its padding byte of 255) is filled bytewise, the fastest store there is.
    const bool wholeRows =
        area.width() == image_.width() && image_.bytesPerLine() == qsizetype{image_.width()} * 4;
    const int32_t runs = wholeRows ? 1 : area.height();
    const size_t runLength = size_t(area.width()) * (wholeRows ? area.height() : 1);
    const bool bytewise = (value & 0xFFu) * 0x01010101u == value;
    for (int32_t run = 0; run < runs; ++run) {
        uint32_t* start = reinterpret_cast<uint32_t*>(image_.scanLine(area.top() + run)) + area.left();
        if (bytewise) {
            std::memset(start, static_cast<int>(value & 0xFFu), runLength * sizeof(uint32_t));
        } else {
            std::fill_n(start, runLength, value);
        }
    }
}

void RasterCanvas::CopyRect(const Rect& target, const RasterCanvas& source, const Rect& sourceRect) {
    if (isNull() || source.isNull()) {
        return;
    }
    const QRect to = QtRect(target), from = QtRect(sourceRect);
    if (to.isEmpty() || from.isEmpty()) {
        return;
    }
    FinishPainting();
    source.FinishPainting();
    const QImage& sourceImage = source.image_;
    if (to.size() != from.size()) {
        // Only the part of the source rectangle inside the source raster is drawn, into the
        // matching part of the target. It is copied out first, as the source may be this raster.
        const QRect visible = from & sourceImage.rect();
        if (visible.isEmpty()) {
            return;
        }
        const double scaleX = double(to.width()) / from.width(), scaleY = double(to.height()) / from.height();
        const QRectF into(to.left() + (visible.left() - from.left()) * scaleX,
                          to.top() + (visible.top() - from.top()) * scaleY, visible.width() * scaleX,
                          visible.height() * scaleY);
        const QImage part = sourceImage.copy(visible);
        const DevicePixels device(*this);
        QPainter painter(&image_);
        painter.drawImage(into, part); // without smooth transformation: nearest pixels
        return;
    }
    // A plain copy of the rows, clipped to both rasters; (0, 0) is the rectangles' top left.
    const QRect area = QRect(QPoint(0, 0), from.size()) & sourceImage.rect().translated(-from.topLeft()) &
                       image_.rect().translated(-to.topLeft());
    if (area.isEmpty()) {
        return;
    }
    const QImage* pixels = &sourceImage;
    QPoint readOrigin = from.topLeft();
    QImage ownPixels;
    if (&source == this) {
        // Overlapping rectangles of one raster read the pixels as they were before the copy.
        ownPixels = image_.copy(area.translated(from.topLeft()));
        pixels = &ownPixels;
        readOrigin = -area.topLeft();
    }
    for (int32_t row = area.top(); row <= area.bottom(); ++row) {
        const uint32_t* in = reinterpret_cast<const uint32_t*>(pixels->constScanLine(readOrigin.y() + row));
        uint32_t* out = reinterpret_cast<uint32_t*>(image_.scanLine(to.top() + row));
        std::memcpy(out + to.left() + area.left(), in + readOrigin.x() + area.left(),
                    static_cast<size_t>(area.width()) * sizeof(uint32_t));
    }
}

void RasterCanvas::Draw(int32_t x, int32_t y, const RasterCanvas& source) {
    const int32_t width = source.image_.width(), height = source.image_.height();
    CopyRect({x, y, SaturateInt32(int64_t(x) + width), SaturateInt32(int64_t(y) + height)}, source,
             {0, 0, width, height});
}

// ---- text ----

namespace {

// The properties a QFont is made from; escapement and colour are applied when drawing.
bool SameGlyphs(const FontSpec& a, const FontSpec& b) {
    return a.face == b.face && a.sizePoints == b.sizePoints && a.weight == b.weight && a.italic == b.italic &&
           a.underline == b.underline && a.strikeOut == b.strikeOut;
}

} // namespace

const RasterCanvas::MadeFont& RasterCanvas::QtFont() const {
    if (madeFont_ && SameGlyphs(madeFont_->description, font_)) {
        return *madeFont_;
    }
    QFont font;
    if (!font_.face.isEmpty()) {
        // A face that is not installed is matched by the font system to a face of the same widths
        // where it knows one, to a stand-in of the table, or to its default face.
        font.setFamilies(FaceFamilies(font_.face));
    }
    font.setPixelSize(FontPixelHeight(font_.sizePoints, screen_));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(font_.weight <= 0 ? 400 : font_.weight, 1, 1000)));
    font.setItalic(font_.italic);
    font.setUnderline(font_.underline);
    font.setStrikeOut(font_.strikeOut);
    font.setStyleStrategy(smoothing_ == Smoothing::Exact ? QFont::NoAntialias : QFont::PreferAntialias);
    madeFont_ = std::make_unique<MadeFont>(MadeFont{font_, font, QFontMetrics(font)});
    return *madeFont_;
}

void RasterCanvas::TextOut(int32_t x, int32_t y, std::u16string_view line) {
    if (isNull() || line.empty()) {
        return;
    }
    const MadeFont& made = QtFont();
    const QString text = QString::fromUtf16(line.data(), static_cast<qsizetype>(line.size()));
    QPainter* painter = Painter();
    painter->save();
    painter->translate(x, y);
    painter->rotate(-(font_.escapement % 3600) / 10.0); // counter-clockwise on the screen
    painter->setFont(made.font);
    painter->setPen(QtColour(font_.colour));
    painter->setBrush(Qt::NoBrush);
    painter->drawText(QPointF(0.0, made.metrics.ascent()), text);
    painter->restore();
}

int32_t RasterCanvas::TextWidth(std::u16string_view line) const {
    const QString text = QString::fromUtf16(line.data(), static_cast<qsizetype>(line.size()));
    return QtFont().metrics.horizontalAdvance(text);
}

TextMetrics RasterCanvas::GetTextMetrics() const {
    const QFontMetrics& metrics = QtFont().metrics;
    return {metrics.ascent(),           metrics.descent(),  std::max(0, metrics.leading()),
            metrics.averageCharWidth(), metrics.maxWidth(), metrics.ascent() + metrics.descent()};
}

// ---- lock ----

void RasterCanvas::Lock() {
    lock_->lock();
    ++lockDepth_;
    FinishPainting();
}

bool RasterCanvas::TryLock() {
    if (!lock_->try_lock()) {
        return false;
    }
    ++lockDepth_;
    FinishPainting();
    return true;
}

void RasterCanvas::Unlock() {
    if (lockDepth_ > 0) {
        --lockDepth_;
        lock_->unlock();
    }
}

} // namespace vlr
