// The user's style slots (twelve each of line weights, line patterns, shadows, line directions,
// text angles and font sizes), the custom and dialog colours, and the data behind the side
// panels' pull-down lists: which entries a list holds, what value a position stands for and at
// which position a value is found.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vlr {

class RegistryStore;
struct ItemList;
struct ItemRecord;
struct TParams;

inline constexpr int kSlotCount = 12;
inline constexpr int kDialogColourCount = 16;

struct custThicknessRec_t { // a line weight
    double millimetres = 0.0;
    int32_t pixels = 0;
    int32_t units = 3; // 1 pixels, 2 millimetres, 3 inches
    std::string name;
    std::string valueText; // as typed
    uint8_t offered = 0;   // shown in the lists
    uint8_t chosen = 0;    // hand-over from the customisation dialog
    friend bool operator==(const custThicknessRec_t&, const custThicknessRec_t&) = default;
};

struct custPatternRec_t { // a line pattern: dash, space, dash, space ...
    int32_t units = 3;
    int32_t count = 0; // lengths in use, 0 ... 12
    std::string name;
    std::array<std::string, 12> lengthTexts;
    std::array<double, 12> millimetres{};
    std::array<int32_t, 12> pixels{};
    uint8_t offered = 0;
    uint8_t chosen = 0;
    friend bool operator==(const custPatternRec_t&, const custPatternRec_t&) = default;
};

struct custShadowRec_t {
    std::string name;
    int32_t elevation = 0, fade = 0, lightness = 0; // 0 ... 255
    uint8_t edited = 0;
    uint8_t chosen = 0;
    uint8_t show = 0; // offered in the shadow lists
    friend bool operator==(const custShadowRec_t&, const custShadowRec_t&) = default;
};

struct custDirectionRec_t { // a line direction, a text angle or a font size
    double value = 0.0;     // degrees 0 ... 360, or the font size
    int32_t units = 1;      // 1 degrees, 2 radians
    std::string name;
    std::string valueText;
    uint8_t offered = 0;
    uint8_t chosen = 0;
    friend bool operator==(const custDirectionRec_t&, const custDirectionRec_t&) = default;
};

using custThickness_t = std::array<custThicknessRec_t, kSlotCount>;
using custPattern_t = std::array<custPatternRec_t, kSlotCount>;
using custShadow_t = std::array<custShadowRec_t, kSlotCount>;
using custDirection_t = std::array<custDirectionRec_t, kSlotCount>;

struct StyleSlots {
    custThickness_t weights;
    custPattern_t patterns;
    custShadow_t shadows;
    custDirection_t directions; // line directions
    custDirection_t textAngles;
    custDirection_t fontSizes;
    // Colours the user picked that are in no list; slot 0 the newest, -1 empty.
    std::array<int32_t, kSlotCount> customColours{};
    // The colour dialog's custom cells as "colorA=BBGGRR"; empty when cleared.
    std::array<std::string, kDialogColourCount> dialogColours;
    friend bool operator==(const StyleSlots&, const StyleSlots&) = default;
};

// |a - b| < 0.0001: the equality of real style values everywhere.
bool NearlyEqual(double a, double b);

// A weight above this many millimetres is no line weight but a typing accident.
inline constexpr double kLargestWeightMm = 1000.0;
inline constexpr int32_t kLargestFontSize = 1638;

// A line weight or pattern length typed as a number in units (1 pixels, 2 millimetres, 3 inches):
// its absolute value in millimetres and in screen pixels (pixel values are whole pixels, and the
// millimetres follow them). False when the weight is above kLargestWeightMm.
bool WeightFromValue(double number, int32_t units, double pxPerMmX, double& millimetres, int32_t& pixels);
// Brings degrees into [0, 360] as adding or subtracting whole turns would: 360 stays 360, 720
// becomes 360, -90 becomes 270.
double WrapDegrees(double value);

// ---- storage ----

// Factory values of every slot; units from the settings' "units" and "angles" values.
void SetFactoryStyleSlots(StyleSlots& slots, int32_t units, int32_t angleUnits);
void LoadStyleLists(TParams& params, RegistryStore& store);
void SaveStyleLists(const TParams& params, RegistryStore& store);
void LoadDialogColors(StyleSlots& slots, RegistryStore& store);
void SaveDialogColors(const StyleSlots& slots, RegistryStore& store);

// ---- pull-down lists ----

// The entries of a list, its selection (-1 none) and the slot behind each custom entry.
struct StyleList {
    std::vector<std::string> entries;
    int selected = -1;
    std::array<int32_t, kSlotCount> slotMap{}; // 1 ... 12, 0 unused
    int count() const { return static_cast<int>(entries.size()); }
};

inline constexpr const char* kCustomize = "Customize...";

// Built-in colours, 0x00BBGGRR, with their names.
struct NamedColour {
    const char* name;
    int32_t colour;
};
extern const std::array<NamedColour, 16> kStandardColours;

// Colours: the sixteen names, "Customize..." (16), then the valid dialog colours and the custom
// colours (entries without text of their own).
void BuildColourList(StyleList& list, const StyleSlots& slots);
// Fill colours: "Solid" (-2) and "Clear" (-1) in front of the same entries.
void BuildFillColourList(StyleList& list, const StyleSlots& slots);
int ColourPosition(const StyleSlots& slots, int32_t colour);
void SelectColour(StyleList& list, const StyleSlots& slots, int32_t colour);
void SelectFillColour(StyleList& list, const StyleSlots& slots, int32_t colour);
int32_t ColourAt(const StyleList& list, const StyleSlots& slots);
int32_t FillColourAt(const StyleList& list, const StyleSlots& slots);
void AddCustomColour(StyleSlots& slots, int32_t colour);
int32_t EnsureListedColour(const StyleSlots& slots, int32_t colour, int32_t fallback);
// The colour of a dialog colour entry, -1 when its text is not hexadecimal; valid entries only.
bool IsValidDialogColour(const std::string& entry);
int32_t DialogColourValue(const std::string& entry);

// Builders of the lists with slots. A chosen slot is handed over as the table of hand-overs
// says and its chosen byte cleared; BuildWeightList gives the entry and millimetres back.
struct WeightHandOver {
    int position = -1;
    double millimetres = 0.0;
};
WeightHandOver BuildWeightList(StyleList& list, TParams& params);
void BuildFrameWeightList(StyleList& list, TParams& params);
void BuildPatternList(StyleList& list, TParams& params);
enum class AngleList { LineDirections, TextAngles };
void BuildAngleList(StyleList& list, TParams& params, AngleList which);
void BuildSizeList(StyleList& list, TParams& params);
void BuildShadowList(StyleList& list, TParams& params);
void BuildSurfaceList(StyleList& list);

// Selecting the entry of a value (none when it is in no list).
void SelectWeight(StyleList& list, const StyleSlots& slots, double millimetres);
void SelectFrameWeight(StyleList& list, const StyleSlots& slots, double millimetres);
void SelectAngle(StyleList& list, const StyleSlots& slots, AngleList which, double degrees);
void SelectSize(StyleList& list, const StyleSlots& slots, int32_t size);
// A custom pattern by its lengths in millimetres; built-in patterns 0 ... 4 by number.
void SelectPattern(StyleList& list, const StyleSlots& slots, int32_t dashPattern,
                   const std::vector<double>& customLengths);

// Whether two items of a design draw the same dash pattern: for a built-in pattern (0 ... 4) of
// a, b must have the same number; otherwise the lengths of both items' pattern definitions are
// compared, which must be as many, at least one, and each alike within 0.0001 mm. False when
// either item is missing.
bool SamePattern(const ItemList& design, const ItemRecord* a, const ItemRecord* b);

// Positions without a list; -1 when the value is in no list.
int WeightPosition(const StyleSlots& slots, double millimetres);
int FrameWeightPosition(const StyleSlots& slots, double millimetres);
int AnglePosition(const StyleSlots& slots, AngleList which, double degrees);
int SizePosition(const StyleSlots& slots, int32_t size);
int ShadowPosition(const StyleSlots& slots, int32_t elevation, int32_t fade, int32_t lightness);
int SurfacePosition(int32_t surface);

// Values behind the selected position: -1 (or -1.0) for none and for "Customize...".
double WeightAt(const StyleList& list, const StyleSlots& slots);
double FrameWeightAt(const StyleList& list, const StyleSlots& slots);
double AngleAt(const StyleList& list, const StyleSlots& slots, AngleList which);
int32_t SizeAt(const StyleList& list, const StyleSlots& slots);
// Sets the three shadow values for a built-in or custom position; leaves them otherwise.
void ShadowAt(const StyleList& list, const StyleSlots& slots, int position, int32_t& elevation, int32_t& fade,
              int32_t& lightness);
int32_t SurfaceAt(int position);

// Selecting the position remembered in the settings, or the list's default when it is past the
// list's end (the settings are reset then).
void RestorePattern(StyleList& list, TParams& params);
void RestoreDirection(StyleList& list, TParams& params);
void RestoreTextAngle(StyleList& list, TParams& params);
void RestoreSize(StyleList& list, TParams& params);

} // namespace vlr
