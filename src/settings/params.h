// The one settings object: the styles new items take, the defaults of new designs, the user's
// style slots, folders, recent files and the hint pages' show-again flags. Loaded once when the
// main window is created and saved once when it closes.
#pragma once

#include "model/screenresolution.h"
#include "settings/pagesetup.h"
#include "settings/stylelists.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vlr {

class RegistryStore;

inline constexpr const char* kSettingsKey = "Software/Tessarine/CustomSettings";
inline constexpr int kHintCount = 42;
inline constexpr int kRecentFileCount = 16;

// Four texts of a canvas rectangle.
struct strRect_t {
    std::string left, top, width, height;
    friend bool operator==(const strRect_t&, const strRect_t&) = default;
};

// New-design defaults of one unit: the texts as typed and the numbers read from them.
struct defaultsRec_t {
    double gridX = 0.0, gridY = 0.0;
    double canvasLeft = 0.0, canvasTop = 0.0, canvasWidth = 0.0, canvasHeight = 0.0;
    std::string gridXText, gridYText;
    strRect_t canvasTexts;
    friend bool operator==(const defaultsRec_t&, const defaultsRec_t&) = default;
};

struct defaults_t {
    int32_t units = 3;        // 1 pixels, 2 millimetres, 3 inches
    double pxPerUnitX = 96.0; // design pixels per unit
    double pxPerUnitY = 96.0;
    int32_t angleUnits = 1; // 1 degrees, 2 radians
    uint8_t showGridX = 0, anchorsX = 1, snapX = 0;
    uint8_t showGridY = 0, anchorsY = 1, snapY = 0;
    std::array<defaultsRec_t, 3> perUnit; // index = unit - 1
    friend bool operator==(const defaults_t&, const defaults_t&) = default;
};

// The look of the program's own windows.
struct initWindow_t {
    int32_t fontSize = 8;
    std::string fontName = "Verdana";
    int32_t panelColor = 14933984;
    int32_t backPanelColor = 14933984;
    int32_t splitterColor = 12632256;
    std::array<int32_t, 4> furtherColors = {15724527, 12076299, 5263440, 4210752};
    std::string secondFontName = "Arial";
    std::string pictureFolder = "\\My Documents\\My Pictures\\";
    friend bool operator==(const initWindow_t&, const initWindow_t&) = default;
};

using reopenarr_t = std::array<std::string, kRecentFileCount>;

// Elevation, fade and lightness of a shadow.
struct ShadowStyle {
    uint8_t elevation = 0, fade = 0, lightness = 0;
    friend bool operator==(const ShadowStyle&, const ShadowStyle&) = default;
};

// The current styles of new items, the new-design defaults, folders and page setups. Field
// names are the names of their stored values.
struct currentState_t {
    defaults_t defaults;

    int32_t lineColor = 0;
    int32_t linePattern = 0;    // dash list position (0 ... 5 built-in, 6 ... custom)
    int32_t linePatternTab = 0; // custom pattern slot behind that position
    int32_t lineFill = -2;
    int32_t lineWidthTab = 0;
    int32_t lineOutlineTab = 0;
    int32_t lineDirectionTab = 0;
    double lineWidth = 0.0;      // millimetres
    double lineDirection = -1.0; // degrees; negative none
    double lineOutline = 0.0;    // millimetres

    int32_t tcolor = 0;
    int32_t tcharset = 0;
    int32_t tsize = 12;
    int32_t tsizetab = 4;
    int32_t tbold = 400;
    uint8_t titalic = 0, tunderline = 0, tstrikeOut = 0, talignment = 1; // stored as "toptions"
    int32_t tangle = -10;                                                // tenths of a degree
    int32_t tangletab = 0;
    int32_t tdir = -1; // degrees; negative none
    std::string tfont = "Arial";

    int32_t polycolor = 0;
    int32_t polyfill = -1;
    int32_t polytab = 0;
    int32_t polysides = 5;
    int32_t polyshape = 0;
    int32_t polystate = 0;
    int32_t bpolyshape = 0;
    int32_t bpolystate = 0;
    double polywidth = 0.0;

    int32_t picndx = 1;
    int32_t expndx = 1;
    int32_t clframe = 0;
    int32_t clshadw = 0;
    int32_t frcolor = 0;
    double frwidth = 0.0;
    ShadowStyle shpict, shtext, shpoly;
    int32_t lgtdir = 0;
    int32_t frplas = 0, liplas = 0, txplas = 0, poplas = 0;

    reopenarr_t reopen;
    std::string docdir = "\\My Documents";
    std::string expdir = "\\My Documents\\My Pictures";
    std::string picidr = "\\My Documents\\My Pictures";

    int32_t pspage = 4; // design type of new files
    pagesetArr_t pagesets;
    friend bool operator==(const currentState_t&, const currentState_t&) = default;
};

// Where a dialog host window stands for the pages of one slot; kept for one run only.
struct WindowPlacement {
    int32_t left = 0, top = 0, width = 0, height = 0;
    int32_t maximised = 0;
    uint8_t placed = 0;
};
inline constexpr int kPlacementSlots = 16;

// An installed font family as the text panel offers it.
struct FontListEntry {
    std::string name;
    std::vector<int32_t> charsets; // the character sets it can show, in the panel's order
    int32_t chosenCharset = -1;    // the one last chosen for it during this run; -1 none
};

struct TParams {
    // The design resolution, never stored.
    ScreenResolution screen;
    double screenDpiX() const { return screen.dpiX(); }
    double screenDpiY() const { return screen.dpiY(); }
    double pxPerMmX() const { return screen.pxPerMmX(); }
    double pxPerMmY() const { return screen.pxPerMmY(); }

    // Floats are stored with the locale's decimal separator, remembered at start.
    char decimalSeparator = '.';

    initWindow_t initWindow;
    currentState_t state;
    StyleSlots slots;
    std::array<uint8_t, kHintCount> hints; // 1 = show the hint page again

    // Values the program does not store.
    double zoom = 1.0;
    int32_t markerWidth = 8, markerHeight = 8;
    int32_t markerPen = 0x808080, markerFill = 0xFFFF, markerCentre = 0xFF;
    int32_t rotationDotDistance = 40;
    uint8_t saveHistory = 0;
    int32_t panelTab = 1; // the tab the line and shape panels open on: 1 "Basics", 2 "Effects"
    int32_t textPanelTab = 1; // the text panel's: 1 "Font", 2 "Effects"
    int32_t clipPanelTab = 1; // the clip panel's: 1 "Colors", 2 "Effects"
    int32_t fontQuality = 2;
    double splineHandleFactor = 0.27614237;
    std::array<WindowPlacement, kPlacementSlots> placements; // slots 1 ... 16 at 0 ... 15
    std::vector<FontListEntry> fontList;                     // the installed font families, read after start
    std::string lastPicture;                                 // the picture file chosen or opened last

    TParams();
};

// Factory values of everything, then the stored settings and style lists over them.
void InitSettings(TParams& params, RegistryStore& store);
// The factory values alone; the screen, the decimal separator and the colour dialog's cells
// stay as they are.
void SetFactorySettings(TParams& params);
void LoadSettings(TParams& params, RegistryStore& store);
// Writes the style lists, then the settings key.
void SaveSettings(const TParams& params, RegistryStore& store);

int32_t EncodeGridFlags(const defaults_t& defaults);
void DecodeGridFlags(defaults_t& defaults, int32_t value);
std::string EncodeHints(const std::array<uint8_t, kHintCount>& hints);
void DecodeHints(std::array<uint8_t, kHintCount>& hints, std::string_view text);

// The position (1 ... 42) of a hint page's show-again flag; 0 for a code without a flag.
int HintPosition(int pageCode);
// Whether the hint page is to be shown (its flag is on); pages without a flag are shown.
bool HintShown(const TParams& params, int pageCode);

// The pixels per unit of new designs for a unit code.
void SetUnitScale(defaults_t& defaults, int32_t units, const ScreenResolution& screen);
// The unit (1 ... 3) of new designs with its scale, and of the page setups of new files of every
// design type measured in that unit.
void ApplyUnitsToNewDesigns(TParams& params, int32_t units);

} // namespace vlr
