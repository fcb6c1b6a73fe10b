// Reading numbers from texts.
#include "settings/measure.h"

#include "model/itemrecord.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace vlr {

namespace {

// A decimal number filling the whole text, finite.
std::optional<double> ReadDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '-' ||
                          text.front() == '.')) {
        return std::nullopt; // also keeps out "inf" and "nan"
    }
    double value = 0.0;
    auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string Replaced(std::string_view text, char from, char to) {
    std::string result(text);
    std::replace(result.begin(), result.end(), from, to);
    return result;
}

} // namespace

std::optional<int32_t> ParseWholeNumber(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseMeasure(std::string_view input, int unit) {
    std::string_view trimmed = Trim(input);
    if (trimmed.empty()) {
        return 0.0;
    }
    std::string text = Replaced(trimmed, ',', '.');
    const bool inches =
        unit != static_cast<int>(MeasureUnit::Pixels) && unit != static_cast<int>(MeasureUnit::Millimetres);
    if (inches) {
        if (!text.empty() && text.back() == '"') {
            text.pop_back();
        }
        text = std::string(Trim(text));
        if (text.empty()) {
            return std::nullopt;
        }
    }
    if (std::optional<double> number = ReadDecimal(text)) {
        return number;
    }
    if (!inches) {
        return std::nullopt;
    }

    // A mixed fraction: [-]whole numerator/denominator, or [-]numerator/denominator.
    double sign = 1.0;
    if (text.front() == '-') {
        sign = -1.0;
        text.erase(0, 1);
    }
    std::replace(text.begin(), text.end(), '-', ' ');
    std::string_view rest = Trim(text);
    int64_t whole = 0;
    if (size_t space = rest.find(' '); space != std::string_view::npos) {
        std::optional<int32_t> wholePart = ParseWholeNumber(rest.substr(0, space));
        if (!wholePart) {
            return std::nullopt;
        }
        whole = *wholePart;
        rest = Trim(rest.substr(space + 1));
    }
    size_t slash = rest.find('/');
    if (slash == std::string_view::npos) {
        if (rest.empty()) {
            return sign * static_cast<double>(whole);
        }
        return std::nullopt;
    }
    std::optional<int32_t> numerator = ParseWholeNumber(rest.substr(0, slash));
    std::optional<int32_t> denominator = ParseWholeNumber(Trim(rest.substr(slash + 1)));
    if (!numerator || !denominator || *numerator == 0 || *denominator == 0) {
        return std::nullopt;
    }
    return sign * (static_cast<double>(whole) + static_cast<double>(*numerator) / *denominator);
}

std::optional<double> ParseStyleValue(std::string_view input) {
    std::string text(Trim(input));
    if (!text.empty() && text.back() == '"') {
        text.pop_back();
    }
    text = Replaced(text, ',', '.');
    if (text.empty()) {
        return std::nullopt;
    }
    size_t slash = text.find('/');
    if (slash == std::string::npos) {
        return ReadDecimal(text);
    }
    std::optional<double> numerator = ReadDecimal(Trim(std::string_view(text).substr(0, slash)));
    std::optional<double> denominator = ReadDecimal(Trim(std::string_view(text).substr(slash + 1)));
    if (!numerator || !denominator || *numerator == 0.0 || *denominator == 0.0) {
        return std::nullopt;
    }
    double value = *numerator / *denominator;
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

double ReadFloatText(std::string_view input) {
    std::string text;
    for (char c : Trim(input)) {
        if (c == ',') {
            text.push_back('.');
        } else if (c != ' ') {
            text.push_back(c);
        }
    }
    return ReadDecimal(text).value_or(0.0);
}

std::string FormatFloat(double value, char decimalSeparator) {
    if (!std::isfinite(value)) {
        value = 0.0;
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    std::replace(text.begin(), text.end(), '.', decimalSeparator);
    return text;
}

} // namespace vlr
