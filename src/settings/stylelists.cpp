// The user's style slots, their storage, and the data behind the pull-down lists.
#include "settings/stylelists.h"

#include "model/itemrecord.h"
#include "model/numeric.h"
#include "platform/registrystore.h"
#include "settings/measure.h"
#include "settings/params.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace vlr {

namespace {

constexpr const char* kWidthsKey = "Software/Tessarine/CustomWidths";
constexpr const char* kPatternsKey = "Software/Tessarine/CustomPatterns";
constexpr const char* kShadowsKey = "Software/Tessarine/CustomShadows";
constexpr const char* kDirectionsKey = "Software/Tessarine/CustomDirections";
constexpr const char* kAnglesKey = "Software/Tessarine/CustomAngles";
constexpr const char* kSizesKey = "Software/Tessarine/CustomSizes";
constexpr const char* kColorsKey = "Software/Tessarine/CustomColors";
constexpr const char* kDialogColorsKey = "Software/Tessarine/DialogColors";

// Built-in entries of the lists.
struct NamedReal {
    const char* name;
    double value;
};
constexpr NamedReal kWeights[] = {{"Thin", 0.0},  {"Medium", 0.5}, {"Thick", 1.0},
                                  {"Heavy", 2.0}, {"Wide", 3.0},   {"Broad", 5.0}};
constexpr NamedReal kFrameWeights[] = {{"None", 0.0},  {"Thin", 0.1}, {"Medium", 0.5}, {"Thick", 1.0},
                                       {"Heavy", 2.0}, {"Wide", 3.0}, {"Broad", 5.0}};
constexpr const char* kPatterns[] = {"Solid", "Dot", "Dash", "Center", "Phantom"};
constexpr NamedReal kAngles[] = {{"Any angle", -1.0},
                                 {"Horizontal", 0.0},
                                 {"Vertical (right)", 90.0},
                                 {"Vertical (left)", 270.0},
                                 {"Upside down", 180.0}};
constexpr int32_t kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
struct NamedShadow {
    const char* name;
    int32_t elevation, fade, lightness;
};
constexpr NamedShadow kShadows[] = {
    {"None", 0, 0, 0}, {"Slight", 30, 10, 100}, {"Medium", 50, 20, 110}, {"Broad", 70, 30, 120}};

constexpr int kWeightCustomize = 6, kFrameWeightCustomize = 7, kPatternCustomize = 5, kAngleCustomize = 5,
              kSizeCustomize = 16, kShadowCustomize = 4;
constexpr int kColourCustomize = 16;

std::string Letter(int slot) {
    return std::string(1, static_cast<char>('A' + slot));
}
std::string Named(const char* name, int slot) {
    return name + Letter(slot);
}

} // namespace

bool WeightFromValue(double number, int32_t units, double pxPerMmX, double& millimetres, int32_t& pixels) {
    double a = std::fabs(number);
    switch (units) {
    case 1:
        pixels = nearest(a);
        millimetres = pixels / pxPerMmX;
        break;
    case 2:
        millimetres = a;
        pixels = nearest(a * pxPerMmX);
        break;
    default:
        millimetres = a * 25.4;
        pixels = nearest(millimetres * pxPerMmX);
        break;
    }
    return millimetres <= kLargestWeightMm;
}

// Computed with fmod, so a huge value costs no more than a small.
double WrapDegrees(double value) {
    if (value > 360.0) {
        double rest = std::fmod(value, 360.0);
        return rest == 0.0 ? 360.0 : rest;
    }
    if (value < 0.0) {
        double rest = std::fmod(value, 360.0);
        return rest < 0.0 ? rest + 360.0 : 0.0;
    }
    return value;
}

namespace {

// Reads a string value: missing is fine (empty), a value of the wrong type spoils the slot.
bool ReadSlotText(RegistryKey& key, const std::string& name, std::string& text) {
    StoredValue<std::string> value = key.ReadString(name);
    text = value.ok() ? value.value : std::string();
    return value.state != ValueState::WrongType;
}

bool ReadSlotUnits(RegistryKey& key, const std::string& name, int32_t& units) {
    StoredValue<int32_t> value = key.ReadInteger(name);
    units = value.ok() ? value.value : 0;
    return value.state != ValueState::WrongType;
}

void LoadWeights(custThickness_t& weights, RegistryKey& key, double pxPerMmX) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        std::string name, text;
        int32_t units = 0;
        bool good = ReadSlotText(key, Named("name", slot), name);
        good = ReadSlotText(key, Named("value", slot), text) && good;
        good = ReadSlotUnits(key, Named("units", slot), units) && good;
        name = std::string(Trim(name));
        text = std::string(Trim(text));
        if (!good || name.empty() || text.empty() || units < 1 || units > 3) {
            continue;
        }
        std::optional<double> number = ParseStyleValue(text);
        custThicknessRec_t record;
        if (!number || *number == 0.0 ||
            !WeightFromValue(*number, units, pxPerMmX, record.millimetres, record.pixels)) {
            continue;
        }
        record.units = units;
        record.name = name;
        record.valueText = text;
        record.offered = 1;
        weights[slot] = record;
    }
}

void LoadPatterns(custPattern_t& patterns, RegistryKey& key, double pxPerMmX) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        custPatternRec_t record;
        int32_t units = 0;
        bool good = ReadSlotText(key, Named("name", slot), record.name);
        good = ReadSlotUnits(key, Named("units", slot), units) && good;
        for (int j = 0; j < 12; ++j) {
            good = ReadSlotText(key, Named("value", slot) + std::to_string(j + 1), record.lengthTexts[j]) &&
                   good;
        }
        record.name = std::string(Trim(record.name));
        record.lengthTexts[0] = std::string(Trim(record.lengthTexts[0]));
        if (!good || record.name.empty() || record.lengthTexts[0].empty() || units < 1 || units > 3) {
            continue;
        }
        bool counting = true;
        for (int j = 0; j < 12; ++j) {
            std::optional<double> number = ParseStyleValue(record.lengthTexts[j]);
            if (number &&
                !WeightFromValue(*number, units, pxPerMmX, record.millimetres[j], record.pixels[j])) {
                number.reset();
                record.millimetres[j] = 0.0;
                record.pixels[j] = 0;
            }
            // The count runs up to the first empty, unreadable or zero length.
            if (counting && number && *number != 0.0) {
                ++record.count;
            } else {
                counting = false;
            }
        }
        // A pattern needs a first dash and a first space.
        if (!(record.millimetres[0] > 0.0 && record.millimetres[1] > 0.0)) {
            continue;
        }
        record.units = units;
        record.offered = 1;
        patterns[slot] = record;
    }
}

void LoadShadows(custShadow_t& shadows, RegistryKey& key) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        StoredValue<std::string> name = key.ReadString(Named("name", slot));
        StoredValue<int32_t> value = key.ReadInteger(Named("value", slot));
        if (!name.ok() || !value.ok()) {
            continue;
        }
        auto bits = static_cast<uint32_t>(value.value);
        custShadowRec_t& record = shadows[slot];
        record.name = name.value;
        record.elevation = static_cast<int32_t>(bits & 0xFF);
        record.fade = static_cast<int32_t>((bits >> 8) & 0xFF);
        record.lightness = static_cast<int32_t>((bits >> 16) & 0xFF);
        record.show = (bits >> 24) == 1 ? 1 : 0;
        record.edited = 0;
        record.chosen = 0;
    }
}

enum class DirectionRule { Angle, FontSize };

void LoadDirections(custDirection_t& slots, RegistryKey& key, DirectionRule rule) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        std::string name, text;
        int32_t units = 0;
        bool good = ReadSlotText(key, Named("name", slot), name);
        good = ReadSlotText(key, Named("value", slot), text) && good;
        good = ReadSlotUnits(key, Named("units", slot), units) && good;
        name = std::string(Trim(name));
        text = std::string(Trim(text));
        if (!good || name.empty() || text.empty() || (units != 1 && units != 2)) {
            continue;
        }
        double value = 0.0;
        if (rule == DirectionRule::FontSize) {
            // A font size is a whole number of points: no unit conversion, no wrap of turns.
            std::optional<int32_t> size = ParseWholeNumber(text);
            if (!size || *size < 1 || *size > kLargestFontSize) {
                continue;
            }
            value = *size;
        } else {
            std::optional<double> number = ParseStyleValue(text);
            if (!number) {
                continue;
            }
            value = units == 2 ? *number * 180.0 / std::numbers::pi : *number;
            // Radians near the top of the double range have no value in degrees.
            if (!std::isfinite(value)) {
                continue;
            }
            value = WrapDegrees(value);
        }
        custDirectionRec_t& record = slots[slot];
        record.value = value;
        record.units = units;
        record.name = name;
        record.valueText = text;
        record.offered = 1;
        record.chosen = 0;
    }
}

void DeleteSlotValues(RegistryKey& key, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        if (key.ValueExists(name)) {
            key.DeleteValue(name);
        }
    }
}

std::vector<std::string> SlotValueNames(bool pattern) {
    std::vector<std::string> names;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        names.push_back(Named("name", slot));
        names.push_back(Named("units", slot));
        if (pattern) {
            for (int j = 1; j <= 12; ++j) {
                names.push_back(Named("value", slot) + std::to_string(j));
            }
        } else {
            names.push_back(Named("value", slot));
        }
    }
    return names;
}

void SaveDirections(const custDirection_t& slots, RegistryStore& store, const char* keyPath) {
    std::unique_ptr<RegistryKey> key = store.OpenKey(keyPath);
    if (!key) {
        return;
    }
    DeleteSlotValues(*key, SlotValueNames(false));
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const custDirectionRec_t& record = slots[slot];
        if (record.offered) {
            key->WriteString(Named("name", slot), record.name);
            key->WriteString(Named("value", slot), record.valueText);
            key->WriteInteger(Named("units", slot), record.units);
        }
    }
}

// The text after "=" in a dialog colour entry.
std::string_view DialogColourText(const std::string& entry) {
    size_t equals = entry.find('=');
    return equals == std::string::npos ? std::string_view() : std::string_view(entry).substr(equals + 1);
}

// The custom entries of the colour list in order: valid dialog colours, then custom colours.
std::vector<int32_t> CustomColourEntries(const StyleSlots& slots) {
    std::vector<int32_t> values;
    for (const std::string& entry : slots.dialogColours) {
        if (IsValidDialogColour(entry)) {
            values.push_back(DialogColourValue(entry));
        }
    }
    for (int32_t colour : slots.customColours) {
        if (colour != -1) {
            values.push_back(colour);
        }
    }
    return values;
}

// Adds the offered slots of a list after its built-in entries and fills the slot map.
template <typename Slots, typename Offered>
std::vector<int> AddSlots(StyleList& list, Slots& slots, Offered offered) {
    std::vector<int> chosenPositions;
    list.slotMap.fill(0);
    int next = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!offered(slots[slot])) {
            continue;
        }
        list.entries.push_back(slots[slot].name);
        list.slotMap[next++] = slot + 1;
        if (slots[slot].chosen) {
            slots[slot].chosen = 0;
            chosenPositions.push_back(list.count() - 1);
        }
    }
    return chosenPositions;
}

// The slot behind a custom position, or none.
template <typename Slots>
const typename Slots::value_type* SlotAt(const StyleList& list, const Slots& slots, int firstCustom,
                                         int position) {
    int index = position - firstCustom;
    if (index < 0 || index >= kSlotCount) {
        return nullptr;
    }
    int32_t slot = list.slotMap[index];
    return slot >= 1 && slot <= kSlotCount ? &slots[slot - 1] : nullptr;
}

// The position of the first offered slot that matches, counted from firstCustom.
template <typename Slots, typename Offered, typename Matches>
int OfferedSlotPosition(const Slots& slots, int firstCustom, Offered offered, Matches matches) {
    int position = firstCustom;
    for (const auto& record : slots) {
        if (!offered(record)) {
            continue;
        }
        if (matches(record)) {
            return position;
        }
        ++position;
    }
    return -1;
}

auto OfferedWeight = [](const custThicknessRec_t& r) { return r.offered != 0; };
auto OfferedDirection = [](const custDirectionRec_t& r) { return r.offered != 0; };
auto ShownShadow = [](const custShadowRec_t& r) { return r.show != 0; };

const custDirection_t& AngleSlots(const StyleSlots& slots, AngleList which) {
    return which == AngleList::LineDirections ? slots.directions : slots.textAngles;
}

int RealPosition(const NamedReal* builtIn, int builtInCount, double value) {
    for (int i = 0; i < builtInCount; ++i) {
        if (NearlyEqual(builtIn[i].value, value)) {
            return i;
        }
    }
    return -1;
}

// The value behind the selected position of a list of real values: built-in entries, then
// "Customize..." (-1), then the slots; -1 without a selection, 0 for an empty slot map entry.
template <size_t N, typename Slots, typename Value>
double RealAt(const StyleList& list, const NamedReal (&builtIn)[N], const Slots& slots, Value value) {
    const int customize = static_cast<int>(N);
    int position = list.selected;
    if (position < 0 || position == customize) {
        return -1.0;
    }
    if (position < customize) {
        return builtIn[position].value;
    }
    const auto* slot = SlotAt(list, slots, customize + 1, position);
    return slot ? value(*slot) : 0.0;
}

// Empties a list and adds its built-in names and "Customize...".
template <typename Names, typename Name> void StartList(StyleList& list, const Names& names, Name name) {
    list.entries.clear();
    list.selected = -1;
    for (const auto& entry : names) {
        list.entries.emplace_back(name(entry));
    }
    list.entries.emplace_back(kCustomize);
}

auto RealName = [](const NamedReal& entry) { return entry.name; };

} // namespace

bool NearlyEqual(double a, double b) {
    return std::fabs(a - b) < 0.0001;
}

const std::array<NamedColour, 16> kStandardColours = {{
    {"Black", 0x000000},
    {"Maroon", 0x000080},
    {"Green", 0x008000},
    {"Olive", 0x008080},
    {"Navy", 0x800000},
    {"Purple", 0x800080},
    {"Teal", 0x808000},
    {"Gray", 0x808080},
    {"Silver", 0xC0C0C0},
    {"Red", 0x0000FF},
    {"Lime", 0x00FF00},
    {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},
    {"Fuchsia", 0xFF00FF},
    {"Aqua", 0xFFFF00},
    {"White", 0xFFFFFF},
}};

// ---- storage ----

void SetFactoryStyleSlots(StyleSlots& slots, int32_t units, int32_t angleUnits) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        slots.weights[slot] = custThicknessRec_t{};
        slots.weights[slot].name = "Weight " + Letter(slot);
        slots.weights[slot].valueText = "0";
        slots.weights[slot].units = units;

        slots.shadows[slot] = custShadowRec_t{};
        slots.shadows[slot].name = "Shadow " + Letter(slot);
        slots.shadows[slot].elevation = slots.shadows[slot].fade = slots.shadows[slot].lightness = 85;

        slots.patterns[slot] = custPatternRec_t{};
        slots.patterns[slot].name = "Pattern " + Letter(slot);
        slots.patterns[slot].units = units;
        slots.patterns[slot].lengthTexts[0] = "0";

        for (auto [list, word] : {std::pair{&slots.directions, "Angle "},
                                  {&slots.textAngles, "Angle "},
                                  {&slots.fontSizes, "Size "}}) {
            (*list)[slot] = custDirectionRec_t{};
            (*list)[slot].name = word + Letter(slot);
            (*list)[slot].units = angleUnits;
        }
    }
    slots.customColours.fill(-1);
}

void LoadStyleLists(TParams& params, RegistryStore& store) {
    StyleSlots& slots = params.slots;
    const int32_t units = params.state.defaults.units;
    const int32_t angleUnits = params.state.defaults.angleUnits;
    StyleSlots factory;
    SetFactoryStyleSlots(factory, units, angleUnits);
    slots.weights = factory.weights;
    if (auto key = store.OpenKey(kWidthsKey)) {
        LoadWeights(slots.weights, *key, params.pxPerMmX());
    }
    slots.shadows = factory.shadows;
    if (auto key = store.OpenKey(kShadowsKey)) {
        LoadShadows(slots.shadows, *key);
    }
    slots.patterns = factory.patterns;
    if (auto key = store.OpenKey(kPatternsKey)) {
        LoadPatterns(slots.patterns, *key, params.pxPerMmX());
    }
    slots.directions = factory.directions;
    if (auto key = store.OpenKey(kDirectionsKey)) {
        LoadDirections(slots.directions, *key, DirectionRule::Angle);
    }
    slots.textAngles = factory.textAngles;
    if (auto key = store.OpenKey(kAnglesKey)) {
        LoadDirections(slots.textAngles, *key, DirectionRule::Angle);
    }
    slots.fontSizes = factory.fontSizes;
    if (auto key = store.OpenKey(kSizesKey)) {
        LoadDirections(slots.fontSizes, *key, DirectionRule::FontSize);
    }
    slots.customColours.fill(-1);
    if (auto key = store.OpenKey(kColorsKey)) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            if (StoredValue<int32_t> colour = key->ReadInteger(Named("color", slot)); colour.ok()) {
                AddCustomColour(slots, colour.value);
            }
        }
    }
}

void SaveStyleLists(const TParams& params, RegistryStore& store) {
    const StyleSlots& slots = params.slots;
    if (auto key = store.OpenKey(kShadowsKey)) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const custShadowRec_t& record = slots.shadows[slot];
            auto byte = [](int32_t v) { return v >= 0 && v <= 255 ? static_cast<uint32_t>(v) : 0u; };
            uint32_t packed = byte(record.elevation) | byte(record.fade) << 8 | byte(record.lightness) << 16 |
                              uint32_t(record.show ? 1 : 0) << 24;
            key->WriteString(Named("name", slot), record.name);
            key->WriteInteger(Named("value", slot), static_cast<int32_t>(packed));
        }
    }
    if (auto key = store.OpenKey(kWidthsKey)) {
        DeleteSlotValues(*key, SlotValueNames(false));
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const custThicknessRec_t& record = slots.weights[slot];
            if (record.offered) {
                key->WriteString(Named("name", slot), record.name);
                key->WriteString(Named("value", slot), record.valueText);
                key->WriteInteger(Named("units", slot), record.units);
            }
        }
    }
    if (auto key = store.OpenKey(kPatternsKey)) {
        DeleteSlotValues(*key, SlotValueNames(true));
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const custPatternRec_t& record = slots.patterns[slot];
            if (record.offered) {
                key->WriteString(Named("name", slot), record.name);
                key->WriteInteger(Named("units", slot), record.units);
                for (int j = 0; j < 12; ++j) {
                    key->WriteString(Named("value", slot) + std::to_string(j + 1), record.lengthTexts[j]);
                }
            }
        }
    }
    SaveDirections(slots.directions, store, kDirectionsKey);
    SaveDirections(slots.textAngles, store, kAnglesKey);
    SaveDirections(slots.fontSizes, store, kSizesKey);
    if (auto key = store.OpenKey(kColorsKey)) {
        std::vector<std::string> names;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            names.push_back(Named("color", slot));
        }
        DeleteSlotValues(*key, names);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            if (slots.customColours[slot] != -1) {
                key->WriteInteger(Named("color", slot), slots.customColours[slot]);
            }
        }
    }
}

void LoadDialogColors(StyleSlots& slots, RegistryStore& store) {
    slots.dialogColours.fill(std::string());
    std::unique_ptr<RegistryKey> key = store.OpenKey(kDialogColorsKey);
    if (!key) {
        return;
    }
    for (int cell = 0; cell < kDialogColourCount; ++cell) {
        StoredValue<std::string> value = key->ReadString(Named("color", cell));
        if (value.ok() && !value.value.empty()) {
            slots.dialogColours[cell] = Named("color", cell) + "=" + value.value;
        }
    }
}

void SaveDialogColors(const StyleSlots& slots, RegistryStore& store) {
    std::unique_ptr<RegistryKey> key = store.OpenKey(kDialogColorsKey);
    if (!key) {
        return;
    }
    for (int cell = 0; cell < kDialogColourCount; ++cell) {
        std::string name = Named("color", cell);
        if (key->ValueExists(name)) {
            key->DeleteValue(name);
        }
        if (!slots.dialogColours[cell].empty()) {
            key->WriteString(name, DialogColourText(slots.dialogColours[cell]));
        }
    }
}

// ---- colours ----

bool IsValidDialogColour(const std::string& entry) {
    std::string_view text = DialogColourText(entry);
    if (text.empty()) {
        return false;
    }
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper != "FFFFFFFF";
}

int32_t DialogColourValue(const std::string& entry) {
    std::string_view text = DialogColourText(entry);
    uint32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return -1;
    }
    return static_cast<int32_t>(value);
}

void BuildColourList(StyleList& list, const StyleSlots& slots) {
    list.entries.clear();
    list.selected = -1;
    for (const NamedColour& colour : kStandardColours) {
        list.entries.emplace_back(colour.name);
    }
    list.entries.emplace_back(kCustomize);
    // Custom entries are painted as swatches and carry no text of their own.
    list.entries.resize(list.entries.size() + CustomColourEntries(slots).size());
}

void BuildFillColourList(StyleList& list, const StyleSlots& slots) {
    BuildColourList(list, slots);
    list.entries.insert(list.entries.begin(), {"Solid", "Clear"});
}

int ColourPosition(const StyleSlots& slots, int32_t colour) {
    for (int i = 0; i < 16; ++i) {
        if (kStandardColours[i].colour == colour) {
            return i;
        }
    }
    int position = -1;
    int counted = 0;
    for (const std::string& entry : slots.dialogColours) {
        if (IsValidDialogColour(entry)) {
            ++counted;
            if (DialogColourValue(entry) == colour) {
                position = kColourCustomize + counted; // the last matching dialog colour
            }
        }
    }
    if (position >= 0) {
        return position;
    }
    for (int32_t custom : slots.customColours) {
        if (custom == -1) {
            continue;
        }
        if (custom == colour) {
            return kColourCustomize + 1 + counted;
        }
        ++counted;
    }
    return -1;
}

void SelectColour(StyleList& list, const StyleSlots& slots, int32_t colour) {
    list.selected = ColourPosition(slots, colour);
}

void SelectFillColour(StyleList& list, const StyleSlots& slots, int32_t colour) {
    if (colour == -2) {
        list.selected = 0;
    } else if (colour == -1) {
        list.selected = 1;
    } else {
        int position = ColourPosition(slots, colour);
        list.selected = position < 0 ? -1 : position + 2;
    }
}

int32_t ColourAt(const StyleList& list, const StyleSlots& slots) {
    int position = list.selected;
    if (position < 0 || position == kColourCustomize) {
        return -1;
    }
    if (position < 16) {
        return kStandardColours[position].colour;
    }
    std::vector<int32_t> custom = CustomColourEntries(slots);
    size_t index = static_cast<size_t>(position - kColourCustomize - 1);
    return index < custom.size() ? custom[index] : -1;
}

int32_t FillColourAt(const StyleList& list, const StyleSlots& slots) {
    if (list.selected == 0) {
        return -2;
    }
    if (list.selected < 2) {
        return -1;
    }
    StyleList colours = list;
    colours.selected = list.selected - 2;
    return ColourAt(colours, slots);
}

void AddCustomColour(StyleSlots& slots, int32_t colour) {
    if (static_cast<uint32_t>(colour) > 0x2FFFFFFu) {
        return;
    }
    for (int32_t custom : slots.customColours) {
        if (custom == colour) {
            return;
        }
    }
    for (int slot = kSlotCount - 1; slot > 0; --slot) {
        slots.customColours[slot] = slots.customColours[slot - 1];
    }
    slots.customColours[0] = colour;
}

int32_t EnsureListedColour(const StyleSlots& slots, int32_t colour, int32_t fallback) {
    for (const NamedColour& standard : kStandardColours) {
        if (standard.colour == colour) {
            return colour;
        }
    }
    for (int32_t listed : CustomColourEntries(slots)) {
        if (listed == colour) {
            return colour;
        }
    }
    return static_cast<uint32_t>(fallback) < 0x3000000u ? fallback : colour;
}

// ---- lists with slots ----

WeightHandOver BuildWeightList(StyleList& list, TParams& params) {
    StartList(list, kWeights, RealName);
    WeightHandOver handOver;
    for (int position : AddSlots(list, params.slots.weights, OfferedWeight)) {
        handOver.position = position;
        handOver.millimetres =
            params.slots.weights[list.slotMap[position - kWeightCustomize - 1] - 1].millimetres;
    }
    return handOver;
}

void BuildFrameWeightList(StyleList& list, TParams& params) {
    StartList(list, kFrameWeights, RealName);
    AddSlots(list, params.slots.weights, OfferedWeight);
}

void BuildPatternList(StyleList& list, TParams& params) {
    StartList(list, kPatterns, [](const char* name) { return name; });
    for (int position :
         AddSlots(list, params.slots.patterns, [](const custPatternRec_t& r) { return r.offered != 0; })) {
        params.state.linePattern = position;
    }
}

void BuildAngleList(StyleList& list, TParams& params, AngleList which) {
    StartList(list, kAngles, RealName);
    custDirection_t& slots =
        which == AngleList::LineDirections ? params.slots.directions : params.slots.textAngles;
    for (int position : AddSlots(list, slots, OfferedDirection)) {
        double value = slots[list.slotMap[position - kAngleCustomize - 1] - 1].value;
        if (which == AngleList::LineDirections) {
            params.state.lineDirectionTab = position;
            params.state.lineDirection = value;
        } else {
            params.state.tangletab = position;
            params.state.tangle = nearest(value * 10.0);
            params.state.tdir = nearest(value);
        }
    }
}

void BuildSizeList(StyleList& list, TParams& params) {
    StartList(list, kSizes, [](int32_t size) { return std::to_string(size); });
    for (int position : AddSlots(list, params.slots.fontSizes, OfferedDirection)) {
        params.state.tsizetab = position;
        params.state.tsize =
            nearest(params.slots.fontSizes[list.slotMap[position - kSizeCustomize - 1] - 1].value);
    }
}

void BuildShadowList(StyleList& list, TParams& params) {
    StartList(list, kShadows, [](const NamedShadow& shadow) { return shadow.name; });
    AddSlots(list, params.slots.shadows, ShownShadow);
}

void BuildSurfaceList(StyleList& list) {
    list.entries = {"Flat", "Round"};
    list.selected = -1;
    list.slotMap.fill(0);
}

int WeightPosition(const StyleSlots& slots, double millimetres) {
    int position = RealPosition(kWeights, std::size(kWeights), millimetres);
    if (position >= 0) {
        return position;
    }
    return OfferedSlotPosition(
        slots.weights, kWeightCustomize + 1, OfferedWeight,
        [&](const custThicknessRec_t& r) { return NearlyEqual(r.millimetres, millimetres); });
}

int FrameWeightPosition(const StyleSlots& slots, double millimetres) {
    int position = RealPosition(kFrameWeights, std::size(kFrameWeights), millimetres);
    if (position >= 0) {
        return position;
    }
    return OfferedSlotPosition(
        slots.weights, kFrameWeightCustomize + 1, OfferedWeight,
        [&](const custThicknessRec_t& r) { return NearlyEqual(r.millimetres, millimetres); });
}

int AnglePosition(const StyleSlots& slots, AngleList which, double degrees) {
    int position = RealPosition(kAngles, std::size(kAngles), degrees);
    if (position >= 0) {
        return position;
    }
    return OfferedSlotPosition(AngleSlots(slots, which), kAngleCustomize + 1, OfferedDirection,
                               [&](const custDirectionRec_t& r) { return NearlyEqual(r.value, degrees); });
}

int SizePosition(const StyleSlots& slots, int32_t size) {
    for (int i = 0; i < static_cast<int>(std::size(kSizes)); ++i) {
        if (kSizes[i] == size) {
            return i;
        }
    }
    return OfferedSlotPosition(slots.fontSizes, kSizeCustomize + 1, OfferedDirection,
                               [&](const custDirectionRec_t& r) { return nearest(r.value) == size; });
}

int ShadowPosition(const StyleSlots& slots, int32_t elevation, int32_t fade, int32_t lightness) {
    if (elevation < 0 || fade < 0 || lightness < 0) {
        return -1;
    }
    for (int i = 0; i < static_cast<int>(std::size(kShadows)); ++i) {
        if (kShadows[i].elevation == elevation && kShadows[i].fade == fade &&
            kShadows[i].lightness == lightness) {
            return i;
        }
    }
    return OfferedSlotPosition(
        slots.shadows, kShadowCustomize + 1, ShownShadow, [&](const custShadowRec_t& r) {
            return r.elevation == elevation && r.fade == fade && r.lightness == lightness;
        });
}

int SurfacePosition(int32_t surface) {
    return surface == 0 ? 0 : surface == 127 ? 1 : -1;
}

void SelectWeight(StyleList& list, const StyleSlots& slots, double millimetres) {
    list.selected = WeightPosition(slots, millimetres);
}

void SelectFrameWeight(StyleList& list, const StyleSlots& slots, double millimetres) {
    list.selected = FrameWeightPosition(slots, millimetres);
}

void SelectAngle(StyleList& list, const StyleSlots& slots, AngleList which, double degrees) {
    list.selected = AnglePosition(slots, which, degrees);
}

void SelectSize(StyleList& list, const StyleSlots& slots, int32_t size) {
    list.selected = SizePosition(slots, size);
}

void SelectPattern(StyleList& list, const StyleSlots& slots, int32_t dashPattern,
                   const std::vector<double>& customLengths) {
    if (dashPattern >= 0 && dashPattern <= 4) {
        list.selected = dashPattern;
        return;
    }
    list.selected = OfferedSlotPosition(
        slots.patterns, kPatternCustomize + 1, [](const custPatternRec_t& r) { return r.offered != 0; },
        [&](const custPatternRec_t& r) {
            if (r.count != static_cast<int32_t>(customLengths.size()) || r.count < 0 || r.count > 12) {
                return false;
            }
            for (int j = 0; j < r.count; ++j) {
                if (!NearlyEqual(r.millimetres[j], customLengths[j])) {
                    return false;
                }
            }
            return true;
        });
}

double WeightAt(const StyleList& list, const StyleSlots& slots) {
    return RealAt(list, kWeights, slots.weights, [](const custThicknessRec_t& r) { return r.millimetres; });
}

double FrameWeightAt(const StyleList& list, const StyleSlots& slots) {
    return RealAt(list, kFrameWeights, slots.weights,
                  [](const custThicknessRec_t& r) { return r.millimetres; });
}

double AngleAt(const StyleList& list, const StyleSlots& slots, AngleList which) {
    return RealAt(list, kAngles, AngleSlots(slots, which),
                  [](const custDirectionRec_t& r) { return r.value; });
}

int32_t SizeAt(const StyleList& list, const StyleSlots& slots) {
    int position = list.selected;
    if (position < 0 || position == kSizeCustomize) {
        return -1;
    }
    if (position < kSizeCustomize) {
        return kSizes[position];
    }
    const custDirectionRec_t* slot = SlotAt(list, slots.fontSizes, kSizeCustomize + 1, position);
    return slot ? nearest(slot->value) : 0;
}

void ShadowAt(const StyleList& list, const StyleSlots& slots, int position, int32_t& elevation, int32_t& fade,
              int32_t& lightness) {
    if (position >= 0 && position < kShadowCustomize) {
        elevation = kShadows[position].elevation;
        fade = kShadows[position].fade;
        lightness = kShadows[position].lightness;
        return;
    }
    if (const custShadowRec_t* slot = SlotAt(list, slots.shadows, kShadowCustomize + 1, position)) {
        elevation = slot->elevation;
        fade = slot->fade;
        lightness = slot->lightness;
    }
}

int32_t SurfaceAt(int position) {
    return position == 1 ? 127 : 0;
}

// ---- restoring remembered positions ----

void RestorePattern(StyleList& list, TParams& params) {
    currentState_t& state = params.state;
    if (state.linePattern >= 0 && state.linePattern < list.count()) {
        list.selected = state.linePattern;
        // Every custom position names its slot (not only the first five), so a new line takes
        // the pattern that was chosen.
        int index = state.linePattern - kPatternCustomize - 1;
        state.linePatternTab = index >= 0 && index < kSlotCount ? list.slotMap[index] : 0;
    } else {
        list.selected = 0;
        state.linePattern = 0;
        state.linePatternTab = 0;
    }
}

void RestoreDirection(StyleList& list, TParams& params) {
    if (params.state.lineDirectionTab >= 0 && params.state.lineDirectionTab < list.count()) {
        list.selected = params.state.lineDirectionTab;
    } else {
        list.selected = 0;
        params.state.lineDirection = -1.0;
    }
}

void RestoreTextAngle(StyleList& list, TParams& params) {
    if (params.state.tangletab >= 0 && params.state.tangletab < list.count()) {
        list.selected = params.state.tangletab;
    } else {
        list.selected = 1;
        params.state.tangle = 0;
    }
}

void RestoreSize(StyleList& list, TParams& params) {
    if (params.state.tsizetab >= 0 && params.state.tsizetab < list.count()) {
        list.selected = params.state.tsizetab;
    } else {
        list.selected = 4;
        params.state.tsize = 12;
    }
}

namespace {

// The lengths (millimetres) of an item's own dash pattern, as drawing expands it: the segments in
// use of the design's definition named by the item's negative dashPattern; none for the built-in
// patterns and for a definition that is missing.
std::vector<double> ExpandedPattern(const ItemList& design, const ItemRecord& item) {
    std::vector<double> lengths;
    if (item.dashPattern >= 0) {
        return lengths;
    }
    for (const ItemRecord* record : design) {
        if (record->recordClass == RecordClass::LinePattern && record->kind == item.dashPattern) {
            const int32_t used = std::clamp<int32_t>(record->segmentCount, 0, 12);
            for (int32_t i = 0; i < used; ++i) {
                lengths.push_back(record->segmentLengths[static_cast<size_t>(i)]);
            }
            break;
        }
    }
    return lengths;
}

} // namespace

bool SamePattern(const ItemList& design, const ItemRecord* a, const ItemRecord* b) {
    if (!a || !b) {
        return false;
    }
    if (a->dashPattern >= 0 && a->dashPattern <= 4) {
        return b->dashPattern == a->dashPattern;
    }
    const std::vector<double> first = ExpandedPattern(design, *a);
    const std::vector<double> second = ExpandedPattern(design, *b);
    if (first.empty() || first.size() != second.size()) {
        return false;
    }
    for (size_t i = 0; i < first.size(); ++i) {
        if (!NearlyEqual(first[i], second[i])) {
            return false;
        }
    }
    return true;
}

} // namespace vlr
