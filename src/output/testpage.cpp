// Drawing and printing the printer calibration's test page.
#include "output/testpage.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace vlr {

namespace {

constexpr double kMmPerInch = 25.4;
// Thin enough to read a tenth of a millimetre against, thick enough for any printer to print.
constexpr double kLineMm = 0.2;
constexpr double kSpanLineMm = 0.6;
constexpr double kCrossArmMm = 15.0;
constexpr double kCrossCircleMm = 5.0;
// Tick lengths: the smallest steps, the middle ones, the numbered ones.
constexpr double kShortTickMm = 1.5, kMiddleTickMm = 2.5, kLongTickMm = 4.0;
constexpr double kLabelPoints = 6.0, kTextPoints = 9.0;
constexpr QRgb kCardOutline = 0xFF9A9A9A;

QString Millimetres(double value) {
    return QString::number(value, 'f', 1);
}

QString Percent(double value) {
    return QString::number(value, 'f', 2);
}

// Draws in millimetres from the paper's corner; texts in device pixels, so that their point
// sizes are the device's.
class PageDrawing {
public:
    PageDrawing(QPainter& painter, double dpiX, double dpiY, const QTransform& correction)
        : painter_(painter), scale_(QTransform::fromScale(dpiX / kMmPerInch, dpiY / kMmPerInch)),
          toDevice_(scale_ * correction), correction_(correction) {}

    void Line(double x1, double y1, double x2, double y2, double widthMm, QColor colour = Qt::black) {
        painter_.setTransform(toDevice_);
        painter_.setPen(QPen(colour, widthMm, Qt::SolidLine, Qt::FlatCap));
        painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }
    void Circle(double x, double y, double radius) {
        painter_.setTransform(toDevice_);
        painter_.setPen(QPen(Qt::black, kLineMm));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawEllipse(QPointF(x, y), radius, radius);
    }
    void Rectangle(const QRectF& rect) {
        painter_.setTransform(toDevice_);
        painter_.setPen(QPen(QColor::fromRgb(kCardOutline), kLineMm / 2));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(rect);
    }
    // Text with its top-left corner, or its top centre, at a point in millimetres; upright, or
    // turned to read upwards with its top towards the paper's left edge.
    void Text(double x, double y, const QString& text, double points, bool centred = false,
              bool turned = false) {
        const QPointF at = Device({x, y});
        painter_.setTransform(correction_);
        painter_.translate(at);
        if (turned) {
            painter_.rotate(-90);
        }
        QFont font("DejaVu Sans");
        font.setPointSizeF(points);
        painter_.setFont(font);
        painter_.setPen(Qt::black);
        const QFontMetricsF metrics(font, painter_.device());
        const double width = metrics.horizontalAdvance(text);
        painter_.drawText(QPointF(centred ? -width / 2 : 0.0, metrics.ascent()), text);
    }
    // Wrapped text in a box of the given width, top centre at a point in millimetres.
    void Paragraph(double x, double y, double widthMm, const QString& text) {
        const QPointF at = Device({x, y});
        const double width = Device({x + widthMm, y}).x() - at.x();
        painter_.setTransform(correction_);
        QFont font("DejaVu Sans");
        font.setPointSizeF(kTextPoints);
        painter_.setFont(font);
        painter_.setPen(Qt::black);
        painter_.drawText(QRectF(at.x() - width / 2, at.y(), width, width),
                          Qt::TextWordWrap | Qt::AlignHCenter, text);
    }

private:
    // Without the correction: the correction is the painter's own while texts are drawn.
    QPointF Device(QPointF mm) const { return scale_.map(mm); }

    QPainter& painter_;
    QTransform scale_, toDevice_, correction_;
};

// One ruler: ticks every step along an edge, from the paper's edge (0) to length, numbered every
// numberEvery steps; across tells the tick direction (down from a top ruler, right of a left one).
struct Scale {
    double stepMm;
    int middleEvery, numberEvery;
    double numberUnit; // what a numbered tick is called, in steps
};

void DrawRuler(PageDrawing& page, bool top, double lineMm, double lengthMm, const Scale& scale) {
    auto line = [&](double along, double from, double to, double width) {
        if (top) {
            page.Line(along, from, along, to, width);
        } else {
            page.Line(from, along, to, along, width);
        }
    };
    if (top) {
        page.Line(0, lineMm, lengthMm, lineMm, kLineMm);
    } else {
        page.Line(lineMm, 0, lineMm, lengthMm, kLineMm);
    }
    for (int step = 0; step * scale.stepMm <= lengthMm; ++step) {
        const double along = step * scale.stepMm;
        const bool numbered = step % scale.numberEvery == 0;
        const double tick = numbered                        ? kLongTickMm
                            : step % scale.middleEvery == 0 ? kMiddleTickMm
                                                            : kShortTickMm;
        line(along, lineMm, lineMm + tick, kLineMm);
        // Near the paper's corner the other edge's rulers and span cross the numbers of the
        // millimetre scale; its ticks say enough there.
        const bool crowded = lineMm < kInchRulerMm && along < kInchRulerMm + kLongTickMm;
        if (numbered && step > 0 && !crowded) {
            const QString number = QString::number(step / scale.numberUnit);
            if (top) {
                page.Text(along, lineMm + kLongTickMm + 0.5, number, kLabelPoints, true);
            } else {
                page.Text(lineMm + kLongTickMm + 0.8, along - 1.2, number, kLabelPoints);
            }
        }
    }
}

// The span to measure: a bar beside the millimetre scale, with end marks from the bar to the
// scale's line at its exact ends.
void DrawSpan(PageDrawing& page, bool top, double spanMm) {
    const double from = kSpanStartMm, to = kSpanStartMm + spanMm;
    const double bar = kMillimetreRulerMm - 3.0;
    const QString label = QString::number(spanMm) + " mm";
    if (top) {
        page.Line(from, bar, to, bar, kSpanLineMm);
        page.Line(from, bar - 2.0, from, kMillimetreRulerMm, kLineMm);
        page.Line(to, bar - 2.0, to, kMillimetreRulerMm, kLineMm);
        page.Text((from + to) / 2, bar - 5.5, label, kLabelPoints, true);
    } else {
        page.Line(bar, from, bar, to, kSpanLineMm);
        page.Line(bar - 2.0, from, kMillimetreRulerMm, from, kLineMm);
        page.Line(bar - 2.0, to, kMillimetreRulerMm, to, kLineMm);
        page.Text(bar - 5.5, (from + to) / 2, label, kLabelPoints, true, true);
    }
}

} // namespace

double TestSpanMm(QSizeF paperMm) {
    const double room = std::min(paperMm.width(), paperMm.height()) - kSpanStartMm;
    return room >= 100.0 ? 100.0 : 50.0;
}

QString TestPageInstructions(QSizeF paperMm) {
    return QString(
               "Measure how far the centre of the cross lies from the left and the top edge of the paper: "
               "what it lies beyond %1 mm and %2 mm is how far it landed right and down (less is a "
               "negative number). Then measure the marked %3 mm spans of the top and the left ruler, and "
               "type the four numbers on the Printer Calibration page.")
        .arg(Millimetres(paperMm.width() / 2), Millimetres(paperMm.height() / 2),
             QString::number(TestSpanMm(paperMm)));
}

std::vector<QRectF> CardOutlinesMm(const ItemList& design) {
    // Ten device pixels to the millimetre: the outlines to a tenth of a millimetre.
    constexpr double kPixelsPerMm = 10.0;
    const std::optional<SheetGeometry> g =
        SheetGeometryOf(design, PaperDevice(design, kPixelsPerMm * kMmPerInch));
    std::vector<QRectF> cards;
    if (!g || !g->repeatsCards) {
        return cards;
    }
    for (int32_t row = 0; row < g->rows; ++row) {
        for (int32_t column = 0; column < g->columns; ++column) {
            const double left = double(g->view.originX) + column * (double(g->cardW) + g->colGap);
            const double top = double(g->view.originY) + row * (double(g->cardH) + g->rowGap);
            cards.emplace_back(left / kPixelsPerMm, top / kPixelsPerMm, g->cardW / kPixelsPerMm,
                               g->cardH / kPixelsPerMm);
        }
    }
    return cards;
}

void DrawTestPage(QPainter& painter, QSizeF paperMm, double dpiX, double dpiY,
                  const std::vector<QRectF>& cardsMm, const QString& printer,
                  const PrinterCalibration& calibration) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    PageDrawing page(painter, dpiX, dpiY, CalibrationTransform(calibration, dpiX, dpiY));
    for (const QRectF& card : cardsMm) {
        page.Rectangle(card);
    }
    const double width = paperMm.width(), height = paperMm.height();
    const Scale millimetres{1.0, 5, 10, 1.0};
    const Scale inches{kMmPerInch / 8, 4, 8, 8.0};
    for (bool top : {true, false}) {
        const double length = top ? width : height;
        DrawRuler(page, top, kMillimetreRulerMm, length, millimetres);
        DrawRuler(page, top, kInchRulerMm, length, inches);
        DrawSpan(page, top, TestSpanMm(paperMm));
    }
    page.Text(kInchRulerMm + kLongTickMm + 12.0, kInchRulerMm + kLongTickMm + 4.0,
              "millimetres and inches from "
              "the paper's edge",
              kLabelPoints);

    const double x = width / 2, y = height / 2;
    page.Line(x - kCrossArmMm, y, x + kCrossArmMm, y, kLineMm);
    page.Line(x, y - kCrossArmMm, x, y + kCrossArmMm, kLineMm);
    page.Circle(x, y, kCrossCircleMm);

    page.Text(x, y + kCrossArmMm + 6.0, kTestPageTitle, kTextPoints + 3, true);
    page.Text(x, y + kCrossArmMm + 13.0,
              QString("%1, printed with the offsets %2 mm and %3 mm and the scales %4 % and %5 %")
                  .arg(printer, Millimetres(calibration.offsetXMm), Millimetres(calibration.offsetYMm),
                       Percent(calibration.scaleXPercent), Percent(calibration.scaleYPercent)),
              kLabelPoints + 1, true);
    page.Paragraph(x, y + kCrossArmMm + 19.0, std::min(140.0, width - 2 * kInchRulerMm),
                   TestPageInstructions(paperMm));
    painter.restore();
}

PrintResult PrintTestPage(QPrinter& printer, const std::vector<QRectF>& cardsMm,
                          const PrinterCalibration& calibration) {
    printer.setFullPage(true);
    printer.setDocName(kTestPageTitle);
    const QSizeF paperMm = printer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    const QString name = CalibrationName(printer);
    return PrintPage(printer, [&](QPainter& painter) {
        DrawTestPage(painter, paperMm, printer.logicalDpiX(), printer.logicalDpiY(), cardsMm, name,
                     calibration);
        return 0;
    });
}

} // namespace vlr
