// Saving the customisation pages' slots: what typed values become in each unit, which are
// refused and with what message, and that every saved slot comes back the same from the store.
#include "styles/customslots.h"

#include "platform/inistore.h"
#include "settings/params.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace vlr {
namespace {

constexpr double kPxPerMm = 96.0 / 25.4; // at 96 dpi
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

// What Save makes of one slot: offered or not with its values, or refused with a message.
struct Outcome {
    bool offered = false;
    std::vector<double> values = {}; // millimetres, or the angle or size
    int32_t count = 0;               // pattern lengths, or weight pixels
    int32_t unitsAfter = 0;          // 0: as chosen
    const char* message = nullptr;
};

TEST(SaveWeights, ConvertsByUnitOrRefusesWithAMessage) {
    const char* above = "The thickness of \"W\" is above 1000 mm.";
    const char* notANumber = "The thickness of \"W\" is not a number.";
    const struct {
        const char* text;
        int32_t units; // as chosen
        Outcome outcome;
        const char* name = "W";
    } cases[] = {
        {"1/2", 3, {true, {12.7}, 48}},        // 48.0 px
        {" 0,5\" ", 1, {true, {12.7}, 48, 3}}, // an inch mark makes inches whatever was chosen
        {"3", 1, {true, {3 / kPxPerMm}, 3}},   // the millimetres follow whole pixels
        {"2.6", 1, {true, {3 / kPxPerMm}, 3}}, // 2.6 px draws as 3
        {"-2", 2, {true, {2.0}, 8}},           // the size of a negative weight; 7.56 px
        {"1000", 2, {true, {1000.0}, 3780}},   // the largest
        {"0", 2, {false}},                     // zero removes the weight
        {"", 2, {false}, ""},                  // so does an empty value, and it needs no name
        {"1001", 2, {.message = above}},       //
        {"39.5\"", 2, {.message = above}},     // 1003.3 mm
        {"4000", 1, {.message = above}},       // 1058.3 mm
        {"abc", 2, {.message = notANumber}},   //
        {"1e999", 2, {.message = notANumber}}, // not finite
        {"inf", 2, {.message = notANumber}},   //
        {"nan", 2, {.message = notANumber}},   //
        {"1/0", 3, {.message = notANumber}},   //
        {"1e308/1e-308", 3, {.message = notANumber}},
        {"x", 2, {.message = "The thickness of row 5 is not a number."}, ""},
        {"2",
         2,
         {.message = "Enter a name for the line weight in row 5: the lists show it by its name."},
         " "},
    };
    for (const auto& c : cases) {
        custThickness_t slots{};
        slots[4] = {0.0, 0, c.units, c.name, c.text, 0, 0};
        std::optional<SlotRefusal> refusal = SaveWeightSlots(slots, 4, kPxPerMm);
        ASSERT_EQ(refusal.has_value(), c.outcome.message != nullptr) << c.text;
        if (refusal) {
            EXPECT_EQ(refusal->slot, 4);
            EXPECT_EQ(refusal->message, c.outcome.message) << c.text;
            continue;
        }
        EXPECT_EQ(slots[4].offered, c.outcome.offered) << c.text;
        EXPECT_EQ(slots[4].chosen, c.outcome.offered) << c.text;
        EXPECT_EQ(slots[4].units, c.outcome.unitsAfter ? c.outcome.unitsAfter : c.units) << c.text;
        if (c.outcome.offered) {
            EXPECT_NEAR(slots[4].millimetres, c.outcome.values[0], 1e-9) << c.text;
            EXPECT_EQ(slots[4].pixels, c.outcome.count) << c.text;
        }
    }
}

TEST(SavePatterns, CountsLengthsOffersOrRefuses) {
    const struct {
        std::vector<std::string> texts;
        int32_t units;
        Outcome outcome;
    } cases[] = {
        {{"2", "1", "2", "", "3"}, 2, {true, {2, 1, 2, 0, 3}, 3}}, // the count stops at an empty field
        {{"2", "1", "0", "4"}, 2, {true, {2, 1, 0, 4}, 2}},        // and at a zero
        {{"1/8\"", "1/16"}, 1, {true, {3.175, 1.5875}, 2, 3}},     // inches by the first length's mark
        {{"3"}, 2, {false, {3}, 1}},                               // no space: not offered
        {{"3", "0.1"}, 1, {false, {3 / kPxPerMm, 0}, 2}},          // a space of 0 px is none
        {{"0", "x"}, 2, {false, {0, 0}, 0}},                       // a first dash of 0 removes it
        {{"", "1"}, 2, {false, {0, 0}, 0}},
        {{"2", "1", "2", "x"}, 2, {.message = "Length 4 of \"P\" is not a number."}},
        {{"2", "1e999"}, 2, {.message = "Length 2 of \"P\" is not a number."}},
        {{"2", "1", "1500"}, 2, {.message = "Length 3 of \"P\" is above 1000 mm."}},
    };
    for (const auto& c : cases) {
        custPattern_t slots{};
        slots[1].name = "P";
        slots[1].units = c.units;
        std::copy(c.texts.begin(), c.texts.end(), slots[1].lengthTexts.begin());
        std::optional<SlotRefusal> refusal = SavePatternSlots(slots, 1, kPxPerMm);
        ASSERT_EQ(refusal.has_value(), c.outcome.message != nullptr) << c.texts[0];
        if (refusal) {
            EXPECT_EQ(refusal->message, c.outcome.message);
            continue;
        }
        EXPECT_EQ(slots[1].offered, c.outcome.offered) << c.texts[0];
        EXPECT_EQ(slots[1].count, c.outcome.count) << c.texts[0];
        EXPECT_EQ(slots[1].units, c.outcome.unitsAfter ? c.outcome.unitsAfter : c.units) << c.texts[0];
        for (size_t j = 0; j < c.outcome.values.size(); ++j) {
            EXPECT_NEAR(slots[1].millimetres[j], c.outcome.values[j], 1e-9) << c.texts[0] << " length " << j;
            EXPECT_EQ(slots[1].pixels[j], std::lround(c.outcome.values[j] * kPxPerMm)) << c.texts[0];
        }
    }
}

TEST(SaveDirections, AnglesWrapIntoATurnSizesAreWholePoints) {
    const DirectionList line = DirectionList::LineDirections, sizes = DirectionList::FontSizes;
    const char* sizeRange = "The font size of \"N\" must be a whole number from 1 to 1638.";
    const struct {
        DirectionList list;
        const char* text;
        int32_t units;
        Outcome outcome;
    } cases[] = {
        {line, "-90", 1, {true, {270}}},
        {line, "720", 1, {true, {360}}},
        {DirectionList::TextAngles, "-720", 1, {true, {0}}},
        {line, "3.14159", 2, {true, {3.14159 * kDegreesPerRadian}}}, // about 180
        {line, "-1/2", 2, {true, {360 - 0.5 * kDegreesPerRadian}}},
        {line, "22,5", 1, {true, {22.5}}},
        {line, "", 1, {false}},
        {line, "abc", 1, {.message = "The angle of \"N\" is not a number."}},
        {line, "1e999", 1, {.message = "The angle of \"N\" is not a number."}},
        {line, "1e306", 2, {.message = "The angle of \"N\" is too large."}}, // infinite in degrees
        {sizes, "12", 1, {true, {12}}},
        {sizes, "-12", 1, {true, {12}}},
        {sizes, "1638", 2, {true, {1638}}},
        {sizes, "", 1, {false}},
        {sizes, "0", 1, {.message = sizeRange}},
        {sizes, "1639", 1, {.message = sizeRange}},
        {sizes, "12.5", 1, {.message = sizeRange}},
        {sizes, "-2147483648", 1, {.message = sizeRange}},
    };
    for (const auto& c : cases) {
        custDirection_t slots{};
        slots[7] = {0.0, c.units, "N", c.text, 0, 0};
        std::optional<SlotRefusal> refusal = SaveDirectionSlots(slots, 7, c.list);
        ASSERT_EQ(refusal.has_value(), c.outcome.message != nullptr) << c.text;
        if (refusal) {
            EXPECT_EQ(refusal->message, c.outcome.message) << c.text;
            continue;
        }
        EXPECT_EQ(slots[7].offered, c.outcome.offered) << c.text;
        if (c.outcome.offered) {
            EXPECT_NEAR(slots[7].value, c.outcome.values[0], 1e-9) << c.text;
        }
    }
}

// Every slot a page saves is what the settings loader takes back at the next start: the values
// that are saved today and dropped at the next start are refused instead.
TEST(SaveSlots, SavedSlotsComeBackFromTheStoreUnchanged) {
    QTemporaryDir folder;
    IniRegistryStore store(folder.path());
    TParams params;
    InitSettings(params, store);
    StyleSlots& slots = params.slots;
    const char* weights[] = {"0,5\"", "-2", "1/2", "3", "1000", "0"};
    const char* angles[] = {"-90", "720", "3.14159", "0", "1e300", ""}; // 1e300 wraps at once
    const char* sizes[] = {"12", "-12", "1638", "1", "", "40"};
    for (int slot = 0; slot < 6; ++slot) {
        slots.weights[slot].valueText = weights[slot];
        slots.weights[slot].units = slot % 3 + 1;
        slots.directions[slot].valueText = slots.textAngles[slot].valueText = angles[slot];
        slots.textAngles[slot].units = 2;
        slots.fontSizes[slot].valueText = sizes[slot];
    }
    slots.patterns[0].lengthTexts = {"2", "1", "2", "", "3"};
    slots.patterns[1].lengthTexts = {"1/8\"", "1/16"};
    slots.patterns[2].lengthTexts = {"3"};
    ASSERT_FALSE(SaveWeightSlots(slots.weights, 0, params.pxPerMmX()));
    ASSERT_FALSE(SavePatternSlots(slots.patterns, 0, params.pxPerMmX()));
    ASSERT_FALSE(SaveDirectionSlots(slots.directions, 0, DirectionList::LineDirections));
    ASSERT_FALSE(SaveDirectionSlots(slots.textAngles, 0, DirectionList::TextAngles));
    ASSERT_FALSE(SaveDirectionSlots(slots.fontSizes, 0, DirectionList::FontSizes));
    SaveStyleLists(params, store);

    TParams loaded;
    InitSettings(loaded, store);
    int offered = 0;
    auto same = [&offered](auto saved, const auto& back) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            EXPECT_EQ(back[slot].offered, saved[slot].offered) << slot;
            saved[slot].chosen = 0; // the hand-over lives for one run
            if (saved[slot].offered) {
                EXPECT_EQ(back[slot], saved[slot]) << slot;
                ++offered;
            }
        }
    };
    same(slots.weights, loaded.slots.weights);
    same(slots.patterns, loaded.slots.patterns);
    same(slots.directions, loaded.slots.directions);
    same(slots.textAngles, loaded.slots.textAngles);
    same(slots.fontSizes, loaded.slots.fontSizes);
    EXPECT_EQ(offered, 5 + 2 + 5 + 5 + 5);
}

} // namespace
} // namespace vlr
