// A printer's calibration: printers shift and scale what they print by a millimetre or two, which
// card sheets cannot afford. The correction is kept per printer (the print queue's name, or "PDF
// file" for files) in the settings store, worked out from what the user measures on a printed
// test page, and applied to every page printed on that printer: the page content is scaled about
// the paper's top-left corner and then shifted.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vlr {

class RegistryStore;

inline constexpr const char* kPdfFilePrinter = "PDF file";
inline constexpr const char* kCalibrationKey = "Software/Tessarine/PrinterCalibration";

// A printer that is off by more than this is out of order, not out of calibration.
inline constexpr double kLargestOffsetMm = 20.0;
inline constexpr double kSmallestScalePercent = 90.0;
inline constexpr double kLargestScalePercent = 110.0;

struct PrinterCalibration {
    double offsetXMm = 0.0, offsetYMm = 0.0;             // right and down
    double scaleXPercent = 100.0, scaleYPercent = 100.0; // of the page's own size
    bool IsIdentity() const;
    friend bool operator==(const PrinterCalibration&, const PrinterCalibration&) = default;
};

// What is wrong with a calibration, in the user's words; empty when nothing is.
std::string CalibrationProblem(const PrinterCalibration& calibration);

// A number the user typed or the store holds: "," reads as "."; none when it is no number.
std::optional<double> ReadCalibrationNumber(std::string_view text);

// The calibration stored for a printer; none when there is none or what is stored is damaged or
// out of range.
std::optional<PrinterCalibration> LoadCalibration(RegistryStore& store, std::string_view printer);
// Stores the calibration of a printer, replacing what it had; false when the store could not
// take it.
bool SaveCalibration(RegistryStore& store, std::string_view printer, const PrinterCalibration& calibration,
                     char decimalSeparator);

// What the user measured on a test page: how far the cross landed right of and below the paper's
// centre, and how long the marked spans of the top and the left ruler came out, millimetres.
struct TestPageMeasurements {
    double crossRightMm = 0.0, crossDownMm = 0.0;
    double topSpanMm = 100.0, leftSpanMm = 100.0;
};

// The calibration that puts the page where it belongs, from a test page printed with the
// calibration printedWith on paper of the given size whose rulers mark spans of spanMm. The
// printer is taken to scale about the paper's corner as the correction does: the scale is the
// ratio of the span to its measure, and the shift the opposite of where the cross landed, less
// what the printer's scale moved the centre. None when a measure is no positive length.
std::optional<PrinterCalibration> CalibrationFromMeasurements(const PrinterCalibration& printedWith,
                                                              double paperWidthMm, double paperHeightMm,
                                                              double spanMm,
                                                              const TestPageMeasurements& measured);

} // namespace vlr
