// The printer calibration's test page: a cross at the paper's centre, rulers along the top and
// left edges in millimetres and inches counted from the paper's edge, each with a marked span to
// measure, the outlines of the card positions of the design, and two sentences on how to measure.
#pragma once

#include "output/printsheet.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <vector>

class QPainter;
class QPrinter;

namespace vlr {

inline constexpr const char* kTestPageTitle = "Printer Calibration Test Page";

// Where the rulers lie, millimetres from the paper's top and left edges: the millimetre scale's
// line and the inch scale's line.
inline constexpr double kMillimetreRulerMm = 15.0;
inline constexpr double kInchRulerMm = 30.0;
// Where the marked span starts on both rulers, millimetres from the paper's edge.
inline constexpr double kSpanStartMm = 20.0;

// The span the rulers mark: 100 mm, or 50 mm on paper too small to hold that and its start.
double TestSpanMm(QSizeF paperMm);

// What the page tells the user, for paper of that size.
QString TestPageInstructions(QSizeF paperMm);

// The card positions of a design, millimetres from the paper's top-left corner; none for a
// design that is not made of cards.
std::vector<QRectF> CardOutlinesMm(const ItemList& design);

// Draws the page on a painter whose origin is the paper's top-left corner at dpiX x dpiY device
// pixels per inch, corrected by the calibration; the texts name the printer and the calibration.
void DrawTestPage(QPainter& painter, QSizeF paperMm, double dpiX, double dpiY,
                  const std::vector<QRectF>& cardsMm, const QString& printer,
                  const PrinterCalibration& calibration);

// Prints the page on the printer's paper as one job (the caller has chosen the paper).
PrintResult PrintTestPage(QPrinter& printer, const std::vector<QRectF>& cardsMm,
                          const PrinterCalibration& calibration);

} // namespace vlr
