// The raster every picture of the program is painted on (canvas, shadow and 3-D masks, printed
// sheet, preview, export, list swatches) and the few drawing operations the item drawing uses.
//
// Pixel format. A raster is a QImage in Format_RGB32: one 32-bit word per pixel holding
// 0xFFRRGGBB, so on this little-endian platform each pixel lies in memory as blue, green, red and
// an unused 255 - the byte order of 24-bit rows plus one padding byte, readable and writable a
// scan line at a time. It is the raster engine's native format: blended drawing and smooth
// scaling are several times faster on it than on packed 24-bit rows; exports convert when they
// write a file.
//
// Antialiasing. Each raster is made for one of two uses:
// - Smoothing::Antialiased, for everything a person looks at (canvas, preview, printed sheet,
//   export): outlines, fills and glyphs get blended edges. Points name pixel centres (half a
//   pixel is added), so a thin line through integer points lies on exactly the row or column an
//   exact line would light; wide pens, polygons and ellipses stay within a pixel of the exact
//   geometry. At print resolutions the blending is finer than the eye sees but keeps slanted
//   edges and text free of stair steps on screen.
// - Smoothing::Exact, for masks whose pixels are read back as codes (shadow tones, the blue
//   outline and red fill of 3-D shading): no blending at all - every pixel is either untouched
//   or exactly the pen, brush or text colour.
// Filling and copying rectangles and direct pixel access are exact in both.
//
// Device scale. A raster shown on a screen denser than the window's pixels (a device pixel ratio
// above 1) holds deviceScale device pixels per window pixel, and its picture carries that ratio.
// width(), height() and the coordinates of the figures, texts and FillRect are window pixels,
// drawn at the device's density; direct access (scanLine, pixel, setPixel, CopyRect, Draw) is
// to the device pixels. While a DevicePixels scope lives, every operation addresses the device
// pixels, as drawing made for the device's density (the design at zoom x scale) needs.
//
// Colours are 0x00BBGGRR (red in the low byte); the high byte is ignored.
#pragma once

#include "model/geometry.h"
#include "model/numeric.h"
#include "model/screenresolution.h"

#include <QImage>
#include <QPainterPath>
#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string_view>

class QFont;
class QPainter;

namespace vlr {

// 0x00BBGGRR <-> an opaque QRgb (0xFFRRGGBB).
constexpr QRgb QRgbFromColour(int32_t colour) {
    const uint32_t value = static_cast<uint32_t>(colour);
    return 0xFF000000u | ((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu);
}
constexpr int32_t ColourFromQRgb(QRgb rgb) {
    return static_cast<int32_t>(((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16));
}

enum class PenStyle { Solid, Dotted };
struct Pen {
    int32_t colour = 0;
    int32_t width = 1; // pixels; 0 and 1 both give the thinnest line
    PenStyle style = PenStyle::Solid;
};

enum class BrushStyle { Solid, Clear };
struct Brush {
    int32_t colour = 0xFFFFFF;
    BrushStyle style = BrushStyle::Solid;
};

// The description of the font text is written in.
struct FontSpec {
    QString face = {};        // empty or not installed: the platform's default face
    double sizePoints = 10.0; // the character height without internal leading is
                              // round(size x vertical screen dpi / 72) pixels on any raster
    int32_t escapement = 0;   // tenths of a degree, counter-clockwise about the reference point
    int32_t weight = 400;     // 100 ... 900; 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int32_t charset = 0; // kept with the font; glyphs come from Unicode whatever its value
    int32_t colour = 0;  // text colour; the background is always left as it is
};

// Pixels of the font at escapement 0.
struct TextMetrics {
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t externalLeading = 0;
    int32_t averageCharWidth = 0;
    int32_t maxCharWidth = 0;
    int32_t height = 0; // ascent + descent
};

enum class Smoothing { Antialiased, Exact };

// A picture of width x height in the raster format whose pixels lie in memory of large pages
// (large rasters are touched from end to end at once), its pixels undefined; null when it
// cannot be had.
QImage LargeImage(int32_t width, int32_t height);

// Limits that keep values read from files from making the raster engine or the font system
// work for minutes: no visible raster needs more. The painter refuses pens of 2^15 pixels and
// wider (and draws with its thinnest pen instead).
inline constexpr int32_t kMaxPenWidth = (1 << 15) - 1;
inline constexpr int32_t kMaxFontPixels = 1 << 14;
// The largest raster: a gigabyte, a tabloid sheet at 1200 dpi (13200 x 20400) with room to spare.
inline constexpr int64_t kMaxRasterPixels = int64_t{1} << 28;

class RasterCanvas {
public:
    // A null raster: every operation does nothing.
    RasterCanvas();
    // width x height pixels, white. A side below 1, more than kMaxRasterPixels pixels or a size
    // that cannot be allocated give a null raster. A device scale that is not above 1 is 1.
    RasterCanvas(int32_t width, int32_t height, Smoothing smoothing = Smoothing::Antialiased,
                 const ScreenResolution& screen = {}, double deviceScale = 1.0);
    // Takes a picture, converted to the raster format.
    explicit RasterCanvas(const QImage& image, Smoothing smoothing = Smoothing::Antialiased,
                          const ScreenResolution& screen = {});
    ~RasterCanvas();
    RasterCanvas(RasterCanvas&& other) noexcept;
    RasterCanvas& operator=(RasterCanvas&& other) noexcept;
    RasterCanvas(const RasterCanvas&) = delete;
    RasterCanvas& operator=(const RasterCanvas&) = delete;

    bool isNull() const { return image_.isNull(); }
    int32_t width() const { return byDevicePixels() ? image_.width() : windowWidth_; }
    int32_t height() const { return byDevicePixels() ? image_.height() : windowHeight_; }
    double deviceScale() const { return deviceScale_; }
    Smoothing smoothing() const { return smoothing_; }
    const ScreenResolution& screen() const { return screen_; }

    // ---- direct access; finishes any drawing in progress first ----

    // Row y of the device pixels as image().width() words 0xFFRRGGBB; nullptr outside the raster. Pixels
    // written here must keep the top byte 0xFF.
    uint32_t* scanLine(int32_t y);
    const uint32_t* scanLine(int32_t y) const;
    // The colour of a pixel; -1 outside the raster.
    int32_t pixel(int32_t x, int32_t y) const;
    // Ignored outside the raster.
    void setPixel(int32_t x, int32_t y, int32_t colour);
    // The picture itself, for reading and for writing its pixels; its size, format and device
    // pixel ratio stay.
    const QImage& image() const;
    QImage& image();

    // ---- drawing state ----

    void setPen(const Pen& pen) { pen_ = pen; }
    const Pen& pen() const { return pen_; }
    void setBrush(const Brush& brush) { brush_ = brush; }
    const Brush& brush() const { return brush_; }
    void setFont(const FontSpec& font) { font_ = font; }
    const FontSpec& font() const { return font_; }

    // ---- drawing; coordinates are device pixels, rectangles exclude right and bottom ----

    // Joined segments in the pen, nothing filled; fewer than 2 points draw nothing.
    void Polyline(std::span<const Point> points);
    // Outline in the pen, interior in the brush by the even-odd rule; closed by the painter.
    void Polygon(std::span<const Point> points);
    // The ellipse inscribed in the rectangle, outlined and filled.
    void Ellipse(const Rect& rect);
    // Cubic segments: a start point, then three points (two controls and the end) per segment;
    // points after the last complete segment are ignored. Never filled.
    void PolyBezier(std::span<const Point> points);
    // Between BeginPath and EndPath the figures of Polyline, Polygon, Ellipse and PolyBezier are
    // collected instead of drawn; StrokeAndFillPath closes every figure, fills the even-odd
    // interior with the brush, outlines it with the pen and forgets the path.
    void BeginPath();
    void EndPath();
    void StrokeAndFillPath();
    // The rectangle in the brush (a clear brush fills nothing). Corners in either order.
    void FillRect(const Rect& rect);
    // Pixels of source's rectangle into this raster's target rectangle: a plain copy when the
    // sizes agree, nearest-pixel scaling when they differ. Corners in either order; the source
    // may be this raster, overlapping or not.
    void CopyRect(const Rect& target, const RasterCanvas& source, const Rect& sourceRect);
    // The whole source with its top-left corner at (x, y), 1:1.
    void Draw(int32_t x, int32_t y, const RasterCanvas& source);
    // The line in the current font and its colour, the top left of the first character cell at
    // (x, y), turned by the escapement about that point; the background stays.
    void TextOut(int32_t x, int32_t y, std::u16string_view line);
    // Advance width of the line in the current font at escapement 0.
    int32_t TextWidth(std::u16string_view line) const;
    TextMetrics GetTextMetrics() const;

    // ---- exclusive use while saved pixels are copied ----

    // Nested locks by the same thread are counted; another thread waits. Locking finishes any
    // drawing in progress, so the pixels are complete.
    void Lock();
    bool TryLock();
    // An unlock without a matching lock is ignored.
    void Unlock();
    bool IsLocked() const { return lockDepth_ > 0; }

private:
    friend class DevicePixels;
    bool byDevicePixels() const { return deviceScale_ == 1.0 || deviceAddressing_; }
    void AddressDevicePixels(bool on);
    QPainter* Painter();
    void FinishPainting() const;
    QPointF At(Point point) const;
    // Draws a figure in the pen (and the brush when filled), or collects it into the path.
    void Figure(const QPainterPath& figure, bool filled);
    // The font system's font and metrics of the current description, made again only when a
    // property that shapes the glyphs changes: asking the font system is far dearer than
    // drawing a short line.
    struct MadeFont;
    const MadeFont& QtFont() const;

    QImage image_;
    Smoothing smoothing_ = Smoothing::Antialiased;
    ScreenResolution screen_;
    double deviceScale_ = 1.0;
    int32_t windowWidth_ = 0, windowHeight_ = 0;
    bool deviceAddressing_ = false;
    Pen pen_;
    Brush brush_;
    FontSpec font_;
    bool recordingPath_ = false;
    QPainterPath path_;
    mutable std::unique_ptr<QPainter> painter_;
    mutable std::unique_ptr<MadeFont> madeFont_;
    std::unique_ptr<std::recursive_mutex> lock_;
    int32_t lockDepth_ = 0;
};

// A raster addressed in its device pixels for a scope (nested scopes are allowed).
class DevicePixels {
public:
    explicit DevicePixels(RasterCanvas& raster) : raster_(raster), before_(raster.deviceAddressing_) {
        raster_.AddressDevicePixels(true);
    }
    ~DevicePixels() { raster_.AddressDevicePixels(before_); }
    DevicePixels(const DevicePixels&) = delete;
    DevicePixels& operator=(const DevicePixels&) = delete;

private:
    RasterCanvas& raster_;
    bool before_;
};

// Holds a raster's lock for a scope.
class CanvasLock {
public:
    explicit CanvasLock(RasterCanvas& canvas) : canvas_(canvas) { canvas_.Lock(); }
    ~CanvasLock() { canvas_.Unlock(); }
    CanvasLock(const CanvasLock&) = delete;
    CanvasLock& operator=(const CanvasLock&) = delete;

private:
    RasterCanvas& canvas_;
};

// The pixel height of a font size in points: round(points x vertical screen dpi / 72), kept
// within 1 ... kMaxFontPixels.
int32_t FontPixelHeight(double sizePoints, const ScreenResolution& screen);

} // namespace vlr
