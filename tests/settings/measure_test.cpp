// Reading numbers from dimension texts, style values and stored floats.
#include "settings/measure.h"

#include <gtest/gtest.h>

namespace vlr {
namespace {

constexpr int kPixels = 1, kMillimetres = 2, kInches = 3;

TEST(ParseMeasure, DecimalsInEveryUnitWithCommaOrPoint) {
    for (int unit : {kPixels, kMillimetres, kInches}) {
        EXPECT_EQ(ParseMeasure("2,5", unit), 2.5) << unit;
        EXPECT_EQ(ParseMeasure(" 85 ", unit), 85.0) << unit;
        EXPECT_EQ(ParseMeasure("", unit), 0.0) << unit;
        EXPECT_EQ(ParseMeasure("   ", unit), 0.0) << unit;
        EXPECT_EQ(ParseMeasure("-3", unit), -3.0) << unit;
        EXPECT_FALSE(ParseMeasure("abc", unit)) << unit;
        EXPECT_FALSE(ParseMeasure("12abc", unit)) << unit;
    }
}

TEST(ParseMeasure, InchesTakeFractionsAndAnInchMark) {
    EXPECT_EQ(ParseMeasure("8 1/2", kInches), 8.5);
    EXPECT_EQ(ParseMeasure("1/4", kInches), 0.25);
    EXPECT_DOUBLE_EQ(*ParseMeasure("3 2/3", kInches), 3.0 + 2.0 / 3.0);
    EXPECT_EQ(ParseMeasure("8-1/2", kInches), 8.5);
    EXPECT_EQ(ParseMeasure("-1 1/2", kInches), -1.5);
    EXPECT_EQ(ParseMeasure("11\"", kInches), 11.0);
    EXPECT_EQ(ParseMeasure("5 1/2\"", kInches), 5.5);
    EXPECT_FALSE(ParseMeasure("\"", kInches));
    EXPECT_FALSE(ParseMeasure("1/0", kInches));
    EXPECT_FALSE(ParseMeasure("0/4", kInches));
    EXPECT_FALSE(ParseMeasure("x 1/2", kInches));
    EXPECT_FALSE(ParseMeasure("1 x", kInches));
    EXPECT_FALSE(ParseMeasure("1/2/3", kInches));
    // Fractions and inch marks are for inches only.
    EXPECT_FALSE(ParseMeasure("1/2", kMillimetres));
    EXPECT_FALSE(ParseMeasure("11\"", kPixels));
}

TEST(ParseMeasure, NeverYieldsInfinityOrNaN) {
    for (const char* text : {"inf", "-inf", "nan", "NaN", "1e999", "infinity"}) {
        EXPECT_FALSE(ParseMeasure(text, kMillimetres)) << text;
        EXPECT_FALSE(ParseMeasure(text, kInches)) << text;
        EXPECT_FALSE(ParseStyleValue(text)) << text;
        EXPECT_EQ(ReadFloatText(text), 0.0) << text;
    }
}

TEST(ParseStyleValue, NumbersAndFractionsButNotEmpty) {
    EXPECT_EQ(ParseStyleValue("1/2"), 0.5);
    EXPECT_EQ(ParseStyleValue(" 0,5 "), 0.5);
    EXPECT_EQ(ParseStyleValue("3\""), 3.0);
    EXPECT_EQ(ParseStyleValue("-2"), -2.0);
    EXPECT_FALSE(ParseStyleValue(""));
    EXPECT_FALSE(ParseStyleValue("1/0"));
    EXPECT_FALSE(ParseStyleValue("0/3"));
    EXPECT_FALSE(ParseStyleValue("half"));
}

TEST(ParseWholeNumber, OnlyWholeNumbersInRange) {
    EXPECT_EQ(ParseWholeNumber(" 5 "), 5);
    EXPECT_EQ(ParseWholeNumber("-2"), -2);
    EXPECT_FALSE(ParseWholeNumber("2.5"));
    EXPECT_FALSE(ParseWholeNumber(""));
    EXPECT_FALSE(ParseWholeNumber("99999999999"));
}

TEST(StoredFloats, ReadUnderAnyLocaleAndWriteWithTheLocalesSeparator) {
    EXPECT_EQ(ReadFloatText("0,5"), 0.5);
    EXPECT_EQ(ReadFloatText(" 1 000,25 "), 1000.25);
    EXPECT_EQ(ReadFloatText(""), 0.0);
    EXPECT_EQ(ReadFloatText("abc"), 0.0);
    EXPECT_EQ(FormatFloat(0.5, ','), "0,5");
    EXPECT_EQ(FormatFloat(0.5, '.'), "0.5");
    EXPECT_EQ(FormatFloat(-1.0, '.'), "-1");
    for (double value : {0.1, 1.0 / 3.0, 123456.789, 2.5e-7, -0.25}) {
        EXPECT_NEAR(ReadFloatText(FormatFloat(value, ',')), value, std::abs(value) * 1e-14) << value;
    }
}

} // namespace
} // namespace vlr
