// The type sketches and the page sample of the page-setup wizard.
#include "output/pagesample.h"

#include "model/numeric.h"
#include "settings/designtype.h"
#include "settings/measure.h"

#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace vlr {

namespace {

const QColor kSketchPen(128, 128, 128);
const QColor kDesignedCard(255, 0, 0);
const QColor kSilver(192, 192, 192);

QPen LinePen(const QColor& colour, bool dotted) {
    QPen pen(colour);
    pen.setWidth(0);                // one pixel whatever the painter's scale
    pen.setCapStyle(Qt::SquareCap); // both end pixels drawn
    if (dotted) {
        pen.setStyle(Qt::DotLine);
    }
    return pen;
}

// ---- sketches ----

class Sketch {
public:
    explicit Sketch(QPainter& painter) : painter_(painter) {}

    void Line(int x1, int y1, int x2, int y2, bool dotted = false) {
        painter_.setPen(LinePen(kSketchPen, dotted));
        painter_.drawLine(x1, y1, x2, y2);
    }
    // The outline of the rectangle from (left, top) up to but not including (right, bottom).
    void Rectangle(int left, int top, int right, int bottom) {
        Line(left, top, right - 1, top);
        Line(right - 1, top, right - 1, bottom - 1);
        Line(left, bottom - 1, right - 1, bottom - 1);
        Line(left, top, left, bottom - 1);
    }
    void Circle(int left, int top, int right, int bottom) {
        painter_.setPen(LinePen(kSketchPen, false));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawEllipse(QRect(left, top, right - left, bottom - top));
        const QPoint centre((left + right) / 2, (top + bottom) / 2);
        painter_.drawEllipse(QRect(centre.x() - 15, centre.y() - 15, 30, 30));
    }

private:
    QPainter& painter_;
};

// An envelope with its flap and an address, standing for a message sent over the Internet.
void DrawMessage(Sketch& sketch) {
    constexpr int left = 30, top = 95, right = 150, bottom = 175;
    sketch.Rectangle(left, top, right, bottom);
    sketch.Line(left, top, (left + right) / 2, 138);
    sketch.Line((left + right) / 2, 138, right - 1, top);
    for (int line = 0; line < 3; ++line) {
        sketch.Line(84, 150 + 7 * line, line == 2 ? 118 : 132, 150 + 7 * line);
    }
}

// ---- sample values ----

struct SampleValues {
    const miry_t& block;
    int32_t unit;
    double scale;

    // A dimension in millimetres; a text that does not read counts as 0.
    double Millimetres(PageField field) const {
        std::optional<double> value = ParseMeasure(FieldText(block, field), unit);
        const double amount = value.value_or(0.0);
        return unit == 3 ? amount * 25.4 : amount;
    }
    double Scaled(PageField field) const { return Millimetres(field) * scale; }
    int64_t Pixels(PageField field) const { return nearest(Scaled(field)); }
    // Rows or columns: the absolute rounded number, 1 for 0 or a text that does not read.
    int Count(PageField field) const {
        std::optional<double> value = ParseMeasure(FieldText(block, field), unit);
        int64_t count = value ? std::llabs(static_cast<int64_t>(nearest(*value))) : 1;
        return static_cast<int>(std::clamp<int64_t>(count, 1, kMostSampleRowsOrColumns));
    }
};

// Collects axis-parallel strokes, dropping what lies outside the sample and clamping the rest.
class StrokeList {
public:
    explicit StrokeList(QSize size) : width_(size.width()), height_(size.height()) {}

    void Vertical(int64_t x, int64_t top, int64_t bottom, const QColor& colour, bool dotted) {
        Add(x, top, bottom, width_, height_, colour, dotted, true);
    }
    void Horizontal(int64_t y, int64_t left, int64_t right, const QColor& colour, bool dotted) {
        Add(y, left, right, height_, width_, colour, dotted, false);
    }
    std::vector<SampleStroke> Take() { return std::move(strokes_); }

private:
    void Add(int64_t at, int64_t from, int64_t to, int64_t across, int64_t along, const QColor& colour,
             bool dotted, bool vertical) {
        if (at < 0 || at >= across) {
            return;
        }
        if (from > to) {
            std::swap(from, to);
        }
        if (to < 0 || from >= along) {
            return;
        }
        const int a = static_cast<int>(std::max<int64_t>(from, -1));
        const int b = static_cast<int>(std::min<int64_t>(to, along));
        const int c = static_cast<int>(at);
        strokes_.push_back({vertical ? QLine(c, a, c, b) : QLine(a, c, b, c), colour, dotted});
    }

    int64_t width_, height_;
    std::vector<SampleStroke> strokes_;
};

void IllustrationStrokes(const SampleValues& values, int64_t width, int64_t height, StrokeList& strokes) {
    const int64_t left = values.Pixels(PageField::LeftMargin);
    const int64_t right = width - values.Pixels(PageField::RightMargin);
    const int64_t top = values.Pixels(PageField::TopMargin);
    const int64_t bottom = height - values.Pixels(PageField::BottomMargin);
    for (int64_t x : {left, right}) {
        if (x > 0 && x < width) {
            strokes.Vertical(x, 0, height - 1, kDesignedCard, false);
        }
    }
    for (int64_t y : {top, bottom}) {
        if (y > 0 && y < height) {
            strokes.Horizontal(y, 0, width - 1, kDesignedCard, false);
        }
    }
}

void CardStrokes(const SampleValues& values, int64_t width, int64_t height, StrokeList& strokes) {
    const double cardWidth = values.Scaled(PageField::CardWidth);
    const double cardHeight = values.Scaled(PageField::CardHeight);
    const double columnGap = values.Scaled(PageField::ColumnGap);
    const double rowGap = values.Scaled(PageField::RowGap);
    const int64_t leftMargin = values.Pixels(PageField::LeftMargin);
    const int64_t topMargin = values.Pixels(PageField::TopMargin);
    const int rows = values.Count(PageField::Rows);
    const int columns = values.Count(PageField::Columns);
    const bool rowFold = values.block.rowFold != 0;
    const bool columnFold = values.block.columnFold != 0;

    std::optional<int64_t> previousBottom;
    for (int row = 1; row <= rows; ++row) {
        // Folded pairs touch: the gap falls only between pairs.
        const int rowGaps = rowFold ? (row - 1) / 2 : row - 1;
        const int64_t top = topMargin + nearest(cardHeight * (row - 1) + rowGap * rowGaps);
        const int64_t bottom = top + nearest(cardHeight);
        if (std::min(top, bottom) >= height) {
            break; // this row and all below it lie under the sample
        }
        std::optional<int64_t> previousRight;
        for (int column = 1; column <= columns; ++column) {
            const int columnGaps = columnFold ? (column - 1) / 2 : column - 1;
            const int64_t left = leftMargin + nearest(cardWidth * (column - 1) + columnGap * columnGaps);
            const int64_t right = left + nearest(cardWidth);
            if (std::min(left, right) >= width) {
                break;
            }
            // The panels that make up the one designed card.
            const bool designed = (row == 1 && column == 1) || (row == 1 && column == 2 && columnFold) ||
                                  (row == 2 && column == 1 && rowFold) ||
                                  (row == 2 && column == 2 && rowFold && columnFold);
            const QColor& colour = designed ? kDesignedCard : kSilver;
            if (!previousRight || std::llabs(left - *previousRight) > 1) {
                strokes.Vertical(left, top, bottom, colour, false);
            }
            if (!previousBottom || std::llabs(top - *previousBottom) > 1) {
                strokes.Horizontal(top, left, right, colour, false);
            }
            strokes.Vertical(right, top, bottom, colour, designed && columnFold && column == 1);
            strokes.Horizontal(bottom, left, right, colour, designed && rowFold && row == 1);
            previousRight = right;
        }
        previousBottom = bottom;
    }
}

void BrochureStrokes(const SampleValues& values, int64_t width, int64_t height, StrokeList& strokes) {
    const int64_t marginLeft = values.Pixels(PageField::LeftMargin);
    const int64_t marginTop = values.Pixels(PageField::TopMargin);
    const int64_t marginRight = width - values.Pixels(PageField::RightMargin);
    const int64_t marginBottom = height - values.Pixels(PageField::BottomMargin);
    if (marginLeft > 1) {
        strokes.Vertical(marginLeft, marginTop, marginBottom, kSilver, true);
    }
    if (marginTop > 1) {
        strokes.Horizontal(marginTop, marginLeft, marginRight, kSilver, true);
    }
    if (marginRight <= width - 2) {
        strokes.Vertical(marginRight, marginTop, marginBottom, kSilver, true);
    }
    if (marginBottom <= height - 2) {
        strokes.Horizontal(marginBottom, marginLeft, marginRight, kSilver, true);
    }

    // Fold lines are clipped to the margin rectangle.
    auto foldVertical = [&](int64_t x, int64_t top, int64_t bottom) {
        if (x >= marginLeft && x <= marginRight) {
            strokes.Vertical(x, std::max(std::min(top, bottom), marginTop),
                             std::min(std::max(top, bottom), marginBottom), kSilver, true);
        }
    };
    auto foldHorizontal = [&](int64_t y, int64_t left, int64_t right) {
        if (y >= marginTop && y <= marginBottom) {
            strokes.Horizontal(y, std::max(std::min(left, right), marginLeft),
                               std::min(std::max(left, right), marginRight), kSilver, true);
        }
    };
    const double panelWidth = values.Scaled(PageField::CardWidth);
    const double panelHeight = values.Scaled(PageField::CardHeight);
    const int rows = values.Count(PageField::Rows);
    const int columns = values.Count(PageField::Columns);
    const bool rowFold = values.block.rowFold != 0;
    const bool columnFold = values.block.columnFold != 0;
    std::optional<int64_t> previousTop;
    for (int row = 1; row <= rows; ++row) {
        const int64_t top = marginTop + nearest(panelHeight * (row - 1));
        const int64_t bottom = top + nearest(panelHeight);
        if (std::min(top, bottom) > marginBottom) {
            break;
        }
        const bool topFold = rowFold && top > marginTop && top < marginBottom &&
                             (!previousTop || std::llabs(top - *previousTop) > 1);
        std::optional<int64_t> previousLeft;
        for (int column = 1; column <= columns; ++column) {
            const int64_t left = marginLeft + nearest(panelWidth * (column - 1));
            const int64_t right = left + nearest(panelWidth);
            if (std::min(left, right) > marginRight) {
                break;
            }
            if (columnFold && left > marginLeft && left < marginRight &&
                (!previousLeft || std::llabs(left - *previousLeft) > 1)) {
                foldVertical(left, top, bottom);
            }
            if (topFold) {
                foldHorizontal(top, left, right);
            }
            if (columnFold && right <= width - 4) {
                foldVertical(right, top, bottom);
            }
            if (rowFold && bottom <= height - 4) {
                foldHorizontal(bottom, left, right);
            }
            previousLeft = left;
        }
        previousTop = top;
    }
}

} // namespace

void DrawTypeSketch(QPainter& painter, int32_t designType) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(0, 0, kSketchWidth, kSketchHeight), Qt::white);
    Sketch sketch(painter);
    switch (designType) {
    case DesignType::Illustrations:
        sketch.Rectangle(10, 10, 170, 250);
        break;
    case DesignType::Postcards:
    case DesignType::GreetingCards:
        sketch.Rectangle(10, 10, 170, 125);
        sketch.Rectangle(10, 135, 170, 250);
        if (designType == DesignType::GreetingCards) {
            sketch.Line(90, 10, 90, 124, true);
            sketch.Line(90, 135, 90, 249, true);
        }
        break;
    case DesignType::BusinessCards:
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; column < 2; ++column) {
                sketch.Rectangle(10 + 85 * column, 10 + 50 * row, 85 + 85 * column, 50 + 50 * row);
            }
        }
        break;
    case DesignType::Labels:
        sketch.Rectangle(10, 10, 170, 250);
        for (int x : {50, 90, 130}) {
            sketch.Line(x, 10, x, 249);
        }
        for (int y = 34; y <= 226; y += 24) {
            sketch.Line(10, y, 169, y);
        }
        break;
    case DesignType::CdDvdLabels:
        sketch.Circle(15, 25, 115, 125);
        sketch.Circle(65, 135, 165, 235);
        break;
    case DesignType::JewelCaseInserts:
        for (int y : {20, 125, 135, 240}) {
            sketch.Line(0, y, kSketchWidth - 1, y);
        }
        sketch.Line(38, 20, 38, 125);
        sketch.Line(143, 20, 143, 125);
        sketch.Line(33, 135, 33, 240);
        sketch.Line(148, 135, 148, 240);
        sketch.Line(38, 135, 38, 240, true);
        sketch.Line(143, 135, 143, 240, true);
        break;
    case DesignType::DvdCaseInserts:
        sketch.Rectangle(10, 10, 170, 250);
        sketch.Line(10, 125, 169, 125, true);
        sketch.Line(10, 135, 169, 135, true);
        break;
    case DesignType::DigitalImages:
        DrawMessage(sketch);
        break;
    case DesignType::Brochures:
        sketch.Line(0, 87, kSketchWidth - 1, 87, true);
        sketch.Line(0, 173, kSketchWidth - 1, 173, true);
        break;
    case DesignType::TentCards:
        sketch.Line(90, 0, 90, kSketchHeight - 1);
        sketch.Line(45, 0, 45, kSketchHeight - 1, true);
        sketch.Line(135, 0, 135, kSketchHeight - 1, true);
        break;
    default:
        break;
    }
    painter.restore();
}

SampleLayout LayoutSample(const pageset_t& pageset, QSize area) {
    const miry_t* block = CurrentBlock(pageset);
    if (!block || area.width() <= 0 || area.height() <= 0) {
        return {};
    }
    if (pageset.units == 1) {
        std::optional<int32_t> width = ParseWholeNumber(block->paperWidth);
        std::optional<int32_t> height = ParseWholeNumber(block->paperHeight);
        if (!width || !height || *width <= 0 || *height <= 0) {
            return {};
        }
        return {true, QSize(*width, *height), 1.0, true};
    }
    std::optional<double> width = ParseMeasure(block->paperWidth, pageset.units);
    std::optional<double> height = ParseMeasure(block->paperHeight, pageset.units);
    if (!width || !height) {
        return {};
    }
    const double toMillimetres = pageset.units == 3 ? 25.4 : 1.0;
    const double widthMm = *width * toMillimetres, heightMm = *height * toMillimetres;
    const int32_t larger = std::max(nearest(widthMm), nearest(heightMm));
    if (larger <= 0) {
        return {};
    }
    const double scale = 0.9 * std::min(area.width(), area.height()) / larger;
    const int sampleWidth = std::min(nearest(widthMm * scale), area.width());
    const int sampleHeight = std::min(nearest(heightMm * scale), area.height());
    if (sampleWidth <= 0 || sampleHeight <= 0) {
        return {};
    }
    return {true, QSize(sampleWidth, sampleHeight), scale, false};
}

std::vector<SampleStroke> SampleStrokes(int32_t designType, const pageset_t& pageset,
                                        const SampleLayout& layout) {
    const miry_t* block = CurrentBlock(pageset);
    if (!block || !layout.shown || layout.actualSize) {
        return {};
    }
    const SampleValues values{*block, pageset.units, layout.scale};
    const int64_t width = layout.size.width(), height = layout.size.height();
    StrokeList strokes(layout.size);
    if (designType == DesignType::Illustrations) {
        IllustrationStrokes(values, width, height, strokes);
    } else if (IsCardType(designType)) {
        CardStrokes(values, width, height, strokes);
    } else if (designType == DesignType::Brochures) {
        BrochureStrokes(values, width, height, strokes);
    }
    return strokes.Take();
}

void PaintSample(QPainter& painter, int32_t designType, const pageset_t& pageset, QSize area, QPoint scroll) {
    const SampleLayout layout = LayoutSample(pageset, area);
    if (!layout.shown) {
        return;
    }
    // Centred where the sample fits; moved by the scroll position where it does not.
    auto place = [](int sample, int room, int scrolled) {
        return sample <= room ? (room - sample) / 2 : -std::clamp(scrolled, 0, sample - room);
    };
    const QPoint origin(place(layout.size.width(), area.width(), scroll.x()),
                        place(layout.size.height(), area.height(), scroll.y()));
    const QRect visible = QRect(origin, layout.size).intersected(QRect(QPoint(0, 0), area));
    if (visible.isEmpty()) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(visible);
    painter.fillRect(visible, Qt::white);
    painter.translate(origin);

    // Captions at the screen's 96 dots per inch: 18 and 12 points.
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(24);
    QFont caption(QStringLiteral("Arial"));
    caption.setPixelSize(16);
    painter.setPen(kSilver);
    if (designType == DesignType::Illustrations) {
        painter.setFont(title);
        painter.drawText(QRect(4, 4, 400, 100), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Sample"));
    }
    const QString note = layout.actualSize ? QStringLiteral("Actual size")
                         : designType == DesignType::Illustrations
                             ? QStringLiteral("Scaled to fit this window")
                             : QString();
    if (!note.isEmpty()) {
        const int top = QFontMetrics(title).height() + 4;
        painter.setFont(caption);
        painter.drawText(QRect(4, top, 400, 100), Qt::AlignLeft | Qt::AlignTop, note);
    }

    // One call per pen; silver first, so the designed card's red outline stays whole where the
    // other cards touch it.
    const std::vector<SampleStroke> strokes = SampleStrokes(designType, pageset, layout);
    for (const auto& [colour, dotted] : {std::pair{kSilver, false}, std::pair{kSilver, true},
                                         std::pair{kDesignedCard, false}, std::pair{kDesignedCard, true}}) {
        QList<QLine> lines;
        for (const SampleStroke& stroke : strokes) {
            if (stroke.colour == colour && stroke.dotted == dotted) {
                lines.push_back(stroke.line);
            }
        }
        if (!lines.isEmpty()) {
            painter.setPen(LinePen(colour, dotted));
            painter.drawLines(lines);
        }
    }
    painter.restore();
}

} // namespace vlr
