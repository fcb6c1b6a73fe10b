// Saving the customisation pages' slots: what typed values become in each unit, which are
// refused and with what message, and that every saved slot comes back the same from the store.
#include "styles/customslots.h"

#include "platform/inistore.h"
#include "settings/params.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vlr {
namespace {

// Screen pixels per millimetre at 96 dpi.
constexpr double kPxPerMm = 96.0 / 25.4;

custThickness_t Weights(const std::string& text, int32_t units, int slot = 0, const std::string& name = "W") {
    custThickness_t slots{};
    slots[slot].name = name;
    slots[slot].valueText = text;
    slots[slot].units = units;
    return slots;
}

TEST(SaveWeights, ConvertsTypedValuesByTheirUnits) {
    struct Case {
        const char* text;
        int32_t units; // as chosen in the list
        bool offered;
        double millimetres;
        int32_t pixels;
        int32_t unitsAfter;
    };
    const Case cases[] = {
        {"1/2", 3, true, 12.7, 48, 3},        // 12.7 mm x 3.78 = 48.0 px
        {"0,5\"", 1, true, 12.7, 48, 3},      // an inch mark makes inches whatever was chosen
        {" 1/4 \" ", 2, true, 6.35, 24, 3},   // 24.0 px
        {"3", 1, true, 3 / kPxPerMm, 3, 1},   // the millimetres follow whole pixels
        {"2.6", 1, true, 3 / kPxPerMm, 3, 1}, // 2.6 px draws as 3
        {"2.5", 2, true, 2.5, 9, 2},          // 9.45 px
        {"-2", 2, true, 2.0, 8, 2},           // the size of a negative weight; 7.56 px
        {"1000", 2, true, 1000.0, 3780, 2},   // the largest weight; 3779.5 px
        {"0", 2, false, 0, 0, 2},             // zero removes the weight
        {"", 2, false, 0, 0, 2},              // so does an empty value
    };
    for (const Case& c : cases) {
        custThickness_t slots = Weights(c.text, c.units);
        ASSERT_FALSE(SaveWeightSlots(slots, 0, kPxPerMm)) << c.text;
        EXPECT_EQ(slots[0].offered, c.offered ? 1 : 0) << c.text;
        EXPECT_EQ(slots[0].chosen, c.offered ? 1 : 0) << c.text;
        EXPECT_EQ(slots[0].units, c.unitsAfter) << c.text;
        if (c.offered) {
            EXPECT_NEAR(slots[0].millimetres, c.millimetres, 1e-9) << c.text;
            EXPECT_EQ(slots[0].pixels, c.pixels) << c.text;
        }
    }
    // The inch mark leaves the stored text, which the loader reads in inches.
    custThickness_t slots = Weights(" 0,5\" ", 1);
    ASSERT_FALSE(SaveWeightSlots(slots, -1, kPxPerMm));
    EXPECT_EQ(slots[0].valueText, "0,5");
    EXPECT_EQ(slots[0].chosen, 0);
}

TEST(SaveWeights, RefusesWhatTheLoaderWouldDropWithAMessage) {
    struct Case {
        const char* text;
        int32_t units;
        const char* message;
    };
    const Case cases[] = {
        {"1001", 2, "The thickness of \"W\" is above 1000 mm."},
        {"39.5\"", 2, "The thickness of \"W\" is above 1000 mm."}, // 1003.3 mm
        {"4000", 1, "The thickness of \"W\" is above 1000 mm."},   // 1058.3 mm
        {"abc", 2, "The thickness of \"W\" is not a number."},
        {"1e999", 2, "The thickness of \"W\" is not a number."},
        {"inf", 2, "The thickness of \"W\" is not a number."},
        {"nan", 2, "The thickness of \"W\" is not a number."},
        {"1/0", 3, "The thickness of \"W\" is not a number."},
        {"1e308/1e-308", 3, "The thickness of \"W\" is not a number."},
    };
    for (const Case& c : cases) {
        custThickness_t slots = Weights(c.text, c.units, 4);
        std::optional<SlotRefusal> refusal = SaveWeightSlots(slots, 4, kPxPerMm);
        ASSERT_TRUE(refusal) << c.text;
        EXPECT_EQ(refusal->slot, 4) << c.text;
        EXPECT_EQ(refusal->message, c.message) << c.text;
    }
    // A slot without a name is named by its row; a weight without a name cannot be listed.
    custThickness_t nameless = Weights("x", 2, 2, "");
    EXPECT_EQ(SaveWeightSlots(nameless, 2, kPxPerMm)->message, "The thickness of row 3 is not a number.");
    nameless = Weights("2", 2, 2, " ");
    EXPECT_EQ(SaveWeightSlots(nameless, 2, kPxPerMm)->message,
              "Enter a name for the line weight in row 3: the lists show it by its name.");
    // A removed weight needs no name.
    nameless = Weights("0", 2, 2, "");
    EXPECT_FALSE(SaveWeightSlots(nameless, 2, kPxPerMm));
}

TEST(SavePatterns, LengthsCountAndOffer) {
    struct Case {
        std::vector<const char*> texts;
        int32_t units;
        bool offered;
        int32_t count;
        std::vector<double> millimetres;
        int32_t unitsAfter;
    };
    const Case cases[] = {
        {{"2", "1", "2", "", "3"}, 2, true, 3, {2, 1, 2, 0, 3}, 2}, // the count stops at the empty field
        {{"2", "1", "0", "4"}, 2, true, 2, {2, 1, 0, 4}, 2},        // and at a zero
        {{"1/8\"", "1/16"}, 1, true, 2, {3.175, 1.5875}, 3},        // inches by the first length's mark
        {{"3"}, 2, false, 1, {3}, 2},                               // no space: not offered
        {{"3", "0.1"}, 1, false, 2, {3 * 25.4 / 96, 0}, 1},         // a space of 0 px is no space
        {{"0", "1"}, 2, false, 0, {0, 0}, 2},                       // a first dash of 0 removes it
        {{"", "1"}, 2, false, 0, {0, 0}, 2},
        {{"0", "x"}, 2, false, 0, {0, 0}, 2}, // what a removed pattern holds is not checked
    };
    for (const Case& c : cases) {
        custPattern_t slots{};
        slots[1].name = "P";
        slots[1].units = c.units;
        for (size_t j = 0; j < c.texts.size(); ++j) {
            slots[1].lengthTexts[j] = c.texts[j];
        }
        ASSERT_FALSE(SavePatternSlots(slots, 1, kPxPerMm)) << c.texts[0];
        EXPECT_EQ(slots[1].offered, c.offered ? 1 : 0) << c.texts[0];
        EXPECT_EQ(slots[1].chosen, c.offered ? 1 : 0) << c.texts[0];
        EXPECT_EQ(slots[1].count, c.count) << c.texts[0];
        EXPECT_EQ(slots[1].units, c.unitsAfter) << c.texts[0];
        for (size_t j = 0; j < c.millimetres.size(); ++j) {
            EXPECT_NEAR(slots[1].millimetres[j], c.millimetres[j], 1e-9) << c.texts[0] << " length " << j;
            EXPECT_EQ(slots[1].pixels[j], std::lround(c.millimetres[j] * kPxPerMm)) << c.texts[0];
        }
    }
}

TEST(SavePatterns, RefusesBadLengthsByNumber) {
    custPattern_t slots{};
    slots[3].name = "Dots";
    slots[3].units = 2;
    slots[3].lengthTexts = {"2", "1", "2", "x"};
    EXPECT_EQ(SavePatternSlots(slots, 3, kPxPerMm)->message, "Length 4 of \"Dots\" is not a number.");
    slots[3].lengthTexts = {"2", "1e999"};
    EXPECT_EQ(SavePatternSlots(slots, 3, kPxPerMm)->message, "Length 2 of \"Dots\" is not a number.");
    slots[3].lengthTexts = {"2", "1", "1500"};
    EXPECT_EQ(SavePatternSlots(slots, 3, kPxPerMm)->message, "Length 3 of \"Dots\" is above 1000 mm.");
    slots[3].lengthTexts = {"2", "1"};
    slots[3].name = "";
    EXPECT_EQ(SavePatternSlots(slots, 3, kPxPerMm)->message,
              "Enter a name for the line pattern in row 4: the lists show it by its name.");
}

TEST(SaveDirections, AnglesInDegreesAndRadiansAndFontSizes) {
    struct Case {
        DirectionList list;
        const char* text;
        int32_t units;
        bool offered;
        double value;
    };
    const DirectionList line = DirectionList::LineDirections, text = DirectionList::TextAngles,
                        sizes = DirectionList::FontSizes;
    const Case cases[] = {
        {line, "-90", 1, true, 270},
        {line, "720", 1, true, 360},
        {text, "360", 1, true, 360},
        {text, "-720", 1, true, 0},
        {line, "0", 1, true, 0},
        {line, "3.14159", 2, true, 3.14159 * 180 / 3.14159265358979323846}, // about 180
        {text, "-1/2", 2, true, 360 - 0.5 * 180 / 3.14159265358979323846},
        {line, "22,5", 1, true, 22.5},
        {line, "", 1, false, 0},
        {sizes, "12", 1, true, 12},
        {sizes, "-12", 1, true, 12},
        {sizes, "1638", 2, true, 1638},
        {sizes, "1", 1, true, 1},
        {sizes, "", 1, false, 0},
    };
    for (const Case& c : cases) {
        custDirection_t slots{};
        slots[5].name = "N";
        slots[5].valueText = c.text;
        slots[5].units = c.units;
        ASSERT_FALSE(SaveDirectionSlots(slots, 5, c.list)) << c.text;
        EXPECT_EQ(slots[5].offered, c.offered ? 1 : 0) << c.text;
        EXPECT_EQ(slots[5].chosen, c.offered ? 1 : 0) << c.text;
        if (c.offered) {
            EXPECT_NEAR(slots[5].value, c.value, 1e-9) << c.text;
        }
    }
    // A huge angle is wrapped by a remainder: it comes back at once and within a turn.
    custDirection_t huge{};
    huge[0] = {0.0, 1, "Turns", "1e300", 0, 0};
    ASSERT_FALSE(SaveDirectionSlots(huge, 0, line));
    EXPECT_GE(huge[0].value, 0.0);
    EXPECT_LE(huge[0].value, 360.0);
    // The loader reads no sign of a font size: a negative one is stored as its size.
    custDirection_t negative{};
    negative[0] = {0.0, 1, "Small", "-12", 0, 0};
    ASSERT_FALSE(SaveDirectionSlots(negative, 0, sizes));
    EXPECT_EQ(negative[0].valueText, "12");
}

TEST(SaveDirections, RefusesWhatTheLoaderWouldDropWithAMessage) {
    struct Case {
        DirectionList list;
        const char* text;
        int32_t units;
        const char* message;
    };
    const DirectionList line = DirectionList::LineDirections, sizes = DirectionList::FontSizes;
    const char* sizeRange = "The font size of \"N\" must be a whole number from 1 to 1638.";
    const Case cases[] = {
        {line, "abc", 1, "The angle of \"N\" is not a number."},
        {line, "1e999", 1, "The angle of \"N\" is not a number."},
        {line, "1e306", 2, "The angle of \"N\" is too large."}, // infinite in degrees
        {sizes, "0", 1, sizeRange},
        {sizes, "1639", 1, sizeRange},
        {sizes, "12.5", 1, sizeRange},
        {sizes, "-2147483648", 1, sizeRange},
        {sizes, "99999999999", 1, sizeRange},
    };
    for (const Case& c : cases) {
        custDirection_t slots{};
        slots[7] = {0.0, c.units, "N", c.text, 0, 0};
        std::optional<SlotRefusal> refusal = SaveDirectionSlots(slots, 7, c.list);
        ASSERT_TRUE(refusal) << c.text;
        EXPECT_EQ(refusal->slot, 7);
        EXPECT_EQ(refusal->message, c.message) << c.text;
    }
    custDirection_t nameless{};
    nameless[0] = {0.0, 1, "", "12", 0, 0};
    EXPECT_EQ(SaveDirectionSlots(nameless, 0, sizes)->message,
              "Enter a name for the font size in row 1: the lists show it by its name.");
}

// Every slot a page saves is what the settings loader takes back at the next start.
TEST(SaveSlots, SavedSlotsComeBackFromTheStoreUnchanged) {
    QTemporaryDir folder;
    IniRegistryStore store(folder.path());
    TParams params;
    InitSettings(params, store);
    StyleSlots& slots = params.slots;
    const char* weights[] = {"0,5\"", "-2", "1/2", "3", "1000", "0"};
    for (int slot = 0; slot < 6; ++slot) {
        slots.weights[slot].valueText = weights[slot];
        slots.weights[slot].units = slot % 3 + 1;
    }
    slots.patterns[0].lengthTexts = {"2", "1", "2", "", "3"};
    slots.patterns[1].lengthTexts = {"1/8\"", "1/16"};
    slots.patterns[2].lengthTexts = {"3"};
    slots.patterns[3].units = 1;
    slots.patterns[3].lengthTexts = {"4", "2", "1"};
    const char* angles[] = {"-90", "720", "3.14159", "0", "1e300", ""};
    for (int slot = 0; slot < 6; ++slot) {
        slots.directions[slot].valueText = slots.textAngles[slot].valueText = angles[slot];
        slots.textAngles[slot].units = 2;
    }
    const char* sizes[] = {"12", "-12", "1638", "1", ""};
    for (int slot = 0; slot < 5; ++slot) {
        slots.fontSizes[slot].valueText = sizes[slot];
    }
    ASSERT_FALSE(SaveWeightSlots(slots.weights, 0, params.pxPerMmX()));
    ASSERT_FALSE(SavePatternSlots(slots.patterns, 0, params.pxPerMmX()));
    ASSERT_FALSE(SaveDirectionSlots(slots.directions, 0, DirectionList::LineDirections));
    ASSERT_FALSE(SaveDirectionSlots(slots.textAngles, 0, DirectionList::TextAngles));
    ASSERT_FALSE(SaveDirectionSlots(slots.fontSizes, 0, DirectionList::FontSizes));
    SaveStyleLists(params, store);

    TParams loaded;
    InitSettings(loaded, store);
    auto same = [](auto saved, const auto& back, const char* list) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            EXPECT_EQ(back[slot].offered, saved[slot].offered) << list << " slot " << slot;
            if (saved[slot].offered) {
                saved[slot].chosen = 0; // the hand-over lives for one run
                EXPECT_EQ(back[slot], saved[slot]) << list << " slot " << slot;
            }
        }
    };
    same(slots.weights, loaded.slots.weights, "weights");
    same(slots.patterns, loaded.slots.patterns, "patterns");
    same(slots.directions, loaded.slots.directions, "directions");
    same(slots.textAngles, loaded.slots.textAngles, "text angles");
    same(slots.fontSizes, loaded.slots.fontSizes, "font sizes");
    // The typical values are all there.
    EXPECT_EQ(std::count_if(slots.weights.begin(), slots.weights.end(), [](auto& r) { return r.offered; }),
              5);
    EXPECT_EQ(std::count_if(slots.patterns.begin(), slots.patterns.end(), [](auto& r) { return r.offered; }),
              3);
    EXPECT_EQ(
        std::count_if(slots.fontSizes.begin(), slots.fontSizes.end(), [](auto& r) { return r.offered; }), 4);
}

} // namespace
} // namespace vlr
