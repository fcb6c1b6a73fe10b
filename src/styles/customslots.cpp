// Checking and converting the slots of the customisation pages on Save.
#include "styles/customslots.h"

#include "model/itemrecord.h"
#include "settings/measure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace vlr {

namespace {

// How a message names a slot: by its name, or by its row when it has none.
std::string Subject(int slot, const std::string& name) {
    return name.empty() ? "row " + std::to_string(slot + 1) : "\"" + name + "\"";
}

SlotRefusal Refused(int slot, std::string message) {
    return SlotRefusal{slot, std::move(message)};
}

// A value typed with an inch mark is in inches, whatever unit was chosen.
void TakeInchMarks(std::string& text, int32_t& units) {
    if (text.find('"') == std::string::npos) {
        return;
    }
    text.erase(std::remove(text.begin(), text.end(), '"'), text.end());
    text = std::string(Trim(text));
    units = 3;
}

std::string AboveLargest() {
    return " is above " + std::to_string(static_cast<int>(kLargestWeightMm)) + " mm.";
}

// Puts a slot into the lists, which show it by its name.
template <typename Record>
std::optional<SlotRefusal> Offer(Record& record, int slot, int editedSlot, const char* what) {
    if (record.name.empty()) {
        return Refused(slot, std::string("Enter a name for the ") + what + " in row " +
                                 std::to_string(slot + 1) + ": the lists show it by its name.");
    }
    record.offered = 1;
    record.chosen = slot == editedSlot ? 1 : 0;
    return std::nullopt;
}

} // namespace

std::optional<SlotRefusal> SaveWeightSlots(custThickness_t& slots, int editedSlot, double pxPerMmX) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        custThicknessRec_t& record = slots[slot];
        record.offered = record.chosen = 0;
        record.name = std::string(Trim(record.name));
        record.valueText = std::string(Trim(record.valueText));
        if (record.units < 1 || record.units > 3) {
            record.units = 3;
        }
        TakeInchMarks(record.valueText, record.units);
        if (record.valueText.empty()) {
            continue; // removed from the lists
        }
        std::optional<double> number = ParseStyleValue(record.valueText);
        if (!number) {
            return Refused(slot, "The thickness of " + Subject(slot, record.name) + " is not a number.");
        }
        if (*number == 0.0) {
            continue;
        }
        if (!WeightFromValue(*number, record.units, pxPerMmX, record.millimetres, record.pixels)) {
            return Refused(slot, "The thickness of " + Subject(slot, record.name) + AboveLargest());
        }
        if (std::optional<SlotRefusal> refusal = Offer(record, slot, editedSlot, "line weight")) {
            return refusal;
        }
    }
    return std::nullopt;
}

std::optional<SlotRefusal> SavePatternSlots(custPattern_t& slots, int editedSlot, double pxPerMmX) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        custPatternRec_t& record = slots[slot];
        record.offered = record.chosen = 0;
        record.name = std::string(Trim(record.name));
        for (std::string& text : record.lengthTexts) {
            text = std::string(Trim(text));
        }
        if (record.units < 1 || record.units > 3) {
            record.units = 3;
        }
        TakeInchMarks(record.lengthTexts[0], record.units);
        record.millimetres.fill(0.0);
        record.pixels.fill(0);
        record.count = 0;
        std::optional<double> first = ParseStyleValue(record.lengthTexts[0]);
        if (record.lengthTexts[0].empty() || (first && *first == 0.0)) {
            continue; // removed from the lists
        }
        bool counting = true;
        for (int j = 0; j < 12; ++j) {
            const std::string& text = record.lengthTexts[j];
            if (text.empty()) {
                counting = false;
                continue;
            }
            std::optional<double> number = ParseStyleValue(text);
            const std::string what = "Length " + std::to_string(j + 1) + " of " + Subject(slot, record.name);
            if (!number) {
                return Refused(slot, what + " is not a number.");
            }
            if (!WeightFromValue(*number, record.units, pxPerMmX, record.millimetres[j], record.pixels[j])) {
                return Refused(slot, what + AboveLargest());
            }
            // The pattern's lengths run up to the first empty or zero one.
            counting = counting && *number != 0.0;
            record.count += counting ? 1 : 0;
        }
        if (!(record.millimetres[0] > 0.0 && record.millimetres[1] > 0.0)) {
            continue; // a pattern needs a dash and a space
        }
        if (std::optional<SlotRefusal> refusal = Offer(record, slot, editedSlot, "line pattern")) {
            return refusal;
        }
    }
    return std::nullopt;
}

std::optional<SlotRefusal> SaveDirectionSlots(custDirection_t& slots, int editedSlot, DirectionList list) {
    const bool sizes = list == DirectionList::FontSizes;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        custDirectionRec_t& record = slots[slot];
        record.offered = record.chosen = 0;
        record.name = std::string(Trim(record.name));
        record.valueText = std::string(Trim(record.valueText));
        if (record.units != 1 && record.units != 2) {
            record.units = 1;
        }
        if (record.valueText.empty()) {
            continue; // removed from the lists
        }
        if (sizes) {
            // A negative size is taken as its size; stored so, as the loader reads back no sign.
            std::optional<int32_t> size = ParseWholeNumber(record.valueText);
            const int64_t points = size ? std::llabs(int64_t{*size}) : 0;
            if (points < 1 || points > kLargestFontSize) {
                return Refused(slot, "The font size of " + Subject(slot, record.name) +
                                         " must be a whole number from 1 to " +
                                         std::to_string(kLargestFontSize) + ".");
            }
            if (*size < 0) {
                record.valueText = std::to_string(points);
            }
            record.value = static_cast<double>(points);
        } else {
            std::optional<double> number = ParseStyleValue(record.valueText);
            if (!number) {
                return Refused(slot, "The angle of " + Subject(slot, record.name) + " is not a number.");
            }
            const double degrees = record.units == 2 ? *number * 180.0 / std::numbers::pi : *number;
            if (!std::isfinite(degrees)) {
                return Refused(slot, "The angle of " + Subject(slot, record.name) + " is too large.");
            }
            record.value = WrapDegrees(degrees);
        }
        if (std::optional<SlotRefusal> refusal =
                Offer(record, slot, editedSlot, sizes ? "font size" : "angle")) {
            return refusal;
        }
    }
    return std::nullopt;
}

} // namespace vlr
