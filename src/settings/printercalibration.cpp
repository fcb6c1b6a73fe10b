// Printer calibrations: checking, storing and working them out from a test page.
#include "settings/printercalibration.h"

#include "platform/registrystore.h"
#include "settings/measure.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace vlr {

namespace {

// The key holds "printers" (how many) and, for n = 1 ... printers, the values "printer" n (the
// name) and "offsetx" n, "offsety" n, "scalex" n, "scaley" n as float texts. Names of printers
// may hold any character, so they are values rather than value names.
constexpr int32_t kMostPrinters = 1000;

std::string Numbered(const char* name, int32_t n) {
    return name + std::to_string(n);
}

std::string Text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// The entry of a printer, from 1; 0 when it has none.
int32_t EntryOf(const RegistryKey& key, std::string_view printer, int32_t count) {
    for (int32_t n = 1; n <= count; ++n) {
        StoredValue<std::string> name = key.ReadString(Numbered("printer", n));
        if (name.ok() && name.value == printer) {
            return n;
        }
    }
    return 0;
}

int32_t EntryCount(const RegistryKey& key) {
    StoredValue<int32_t> count = key.ReadInteger("printers");
    return count.ok() ? std::clamp(count.value, 0, kMostPrinters) : 0;
}

} // namespace

bool PrinterCalibration::IsIdentity() const {
    return offsetXMm == 0.0 && offsetYMm == 0.0 && scaleXPercent == 100.0 && scaleYPercent == 100.0;
}

std::string CalibrationProblem(const PrinterCalibration& c) {
    const std::string offsets = "The offsets must lie between -" + Text(kLargestOffsetMm) + " and " +
                                Text(kLargestOffsetMm) + " millimetres.";
    const std::string scales = "The scales must lie between " + Text(kSmallestScalePercent) + " and " +
                               Text(kLargestScalePercent) + " percent.";
    for (double offset : {c.offsetXMm, c.offsetYMm}) {
        if (!std::isfinite(offset) || std::abs(offset) > kLargestOffsetMm) {
            return offsets;
        }
    }
    for (double scale : {c.scaleXPercent, c.scaleYPercent}) {
        if (!std::isfinite(scale) || scale < kSmallestScalePercent || scale > kLargestScalePercent) {
            return scales;
        }
    }
    return {};
}

std::optional<double> ReadCalibrationNumber(std::string_view text) {
    return ParseStyleValue(text);
}

std::optional<PrinterCalibration> LoadCalibration(RegistryStore& store, std::string_view printer) {
    std::unique_ptr<RegistryKey> key = store.OpenKey(kCalibrationKey);
    if (!key) {
        return std::nullopt;
    }
    const int32_t n = EntryOf(*key, printer, EntryCount(*key));
    if (n == 0) {
        return std::nullopt;
    }
    auto read = [&](const char* name) -> std::optional<double> {
        StoredValue<std::string> text = key->ReadString(Numbered(name, n));
        return text.ok() ? ReadCalibrationNumber(text.value) : std::nullopt;
    };
    std::optional<double> offsetX = read("offsetx"), offsetY = read("offsety"), scaleX = read("scalex"),
                          scaleY = read("scaley");
    if (!offsetX || !offsetY || !scaleX || !scaleY) {
        return std::nullopt;
    }
    PrinterCalibration calibration{*offsetX, *offsetY, *scaleX, *scaleY};
    if (!CalibrationProblem(calibration).empty()) {
        return std::nullopt;
    }
    return calibration;
}

bool SaveCalibration(RegistryStore& store, std::string_view printer, const PrinterCalibration& calibration,
                     char decimalSeparator) {
    std::unique_ptr<RegistryKey> key = store.OpenKey(kCalibrationKey);
    if (!key) {
        return false;
    }
    const int32_t count = EntryCount(*key);
    int32_t n = EntryOf(*key, printer, count);
    if (n == 0) {
        if (count >= kMostPrinters) {
            return false;
        }
        n = count + 1;
        key->WriteInteger("printers", n);
        key->WriteString(Numbered("printer", n), printer);
    }
    key->WriteString(Numbered("offsetx", n), FormatFloat(calibration.offsetXMm, decimalSeparator));
    key->WriteString(Numbered("offsety", n), FormatFloat(calibration.offsetYMm, decimalSeparator));
    key->WriteString(Numbered("scalex", n), FormatFloat(calibration.scaleXPercent, decimalSeparator));
    key->WriteString(Numbered("scaley", n), FormatFloat(calibration.scaleYPercent, decimalSeparator));
    return key->Flush();
}

std::optional<PrinterCalibration> CalibrationFromMeasurements(const PrinterCalibration& printedWith,
                                                              double paperWidthMm, double paperHeightMm,
                                                              double spanMm,
                                                              const TestPageMeasurements& measured) {
    // Per axis, with the page point p printed at k (s0 p + o0) + t: the span came out m = k s0
    // times its length, the centre c at c + d. The new correction s p + o makes k (s p + o) + t
    // equal p: s = s0 / m and o = o0 - s0 (c (1 - m) + d) / m.
    struct Axis {
        double offset, scale;
    };
    auto solve = [spanMm](double offset0, double scale0, double centre, double moved,
                          double measuredSpan) -> std::optional<Axis> {
        if (!std::isfinite(measuredSpan) || !(measuredSpan > 0.0) || !(spanMm > 0.0) ||
            !std::isfinite(moved)) {
            return std::nullopt;
        }
        const double m = measuredSpan / spanMm;
        return Axis{offset0 - scale0 * (centre * (1.0 - m) + moved) / m, scale0 / m};
    };
    const std::optional<Axis> x = solve(printedWith.offsetXMm, printedWith.scaleXPercent / 100.0,
                                        paperWidthMm / 2, measured.crossRightMm, measured.topSpanMm);
    const std::optional<Axis> y = solve(printedWith.offsetYMm, printedWith.scaleYPercent / 100.0,
                                        paperHeightMm / 2, measured.crossDownMm, measured.leftSpanMm);
    if (!x || !y) {
        return std::nullopt;
    }
    return PrinterCalibration{x->offset, y->offset, x->scale * 100.0, y->scale * 100.0};
}

} // namespace vlr
