// Numbers typed by the user or kept as text: page dimensions, style values and stored floats.
// None of these readers ever yields NaN or infinity: "inf", "nan" and "1e999" do not read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vlr {

enum class MeasureUnit { Pixels = 1, Millimetres = 2, Inches = 3 };

// A page dimension in the given unit: an empty text is 0; "," reads as "."; inches also take a
// trailing inch mark and mixed fractions ("8 1/2", "8-1/2", "1/4").
std::optional<double> ParseMeasure(std::string_view text, int unit);

// A style value: a decimal number or a fraction "numerator/denominator" (both non-zero), with
// an optional trailing inch mark and "," as a decimal point. An empty text does not read.
std::optional<double> ParseStyleValue(std::string_view text);

// A whole number (rows, columns) in the int32 range.
std::optional<int32_t> ParseWholeNumber(std::string_view text);

// A stored float: spaces removed, "," read as "."; an empty or unreadable text gives 0.
double ReadFloatText(std::string_view text);

// A float as stored: general format with up to 15 significant digits and the given decimal
// separator.
std::string FormatFloat(double value, char decimalSeparator);

} // namespace vlr
