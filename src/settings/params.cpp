// Factory values, loading and saving of the settings object.
//
// Besides the accepted ranges the stored format defines, loading refuses values that would
// break the program later (a font size of a billion, a unit code of 7, a negative list position,
// a weight outside 100 ... 900): such a value is ignored and the previous one kept.
#include "settings/params.h"

#include "model/itemrecord.h"
#include "platform/registrystore.h"
#include "settings/designtype.h"
#include "settings/measure.h"
#include "settings/pagepresets.h"

#include <cmath>
#include <functional>

namespace vlr {

namespace {

// The largest list position a stored tab may name; the panels check against the real list.
constexpr int32_t kLargestListPosition = 64;
constexpr double kLargestDimension = 1.0e6;

bool IsColour(int32_t value) {
    return value >= 0 && value <= 0x00FFFFFF;
}
bool IsFill(int32_t value) {
    return value == -2 || value == -1 || IsColour(value);
}
bool IsListPosition(int32_t value) {
    return value >= 0 && value <= kLargestListPosition;
}
bool IsOfferedSides(int32_t value) {
    return (value >= 3 && value <= 12) || value == 16 || value == 20;
}

class ValueReader {
public:
    explicit ValueReader(RegistryKey& key) : key_(key) {}

    void Int(const std::string& name, int32_t& field, const std::function<bool(int32_t)>& accept) {
        StoredValue<int32_t> value = key_.ReadInteger(name);
        if (value.ok() && accept(value.value)) {
            field = value.value;
        }
    }
    void Byte(const std::string& name, uint8_t& field, int32_t lowest, int32_t highest) {
        int32_t value = field;
        Int(name, value, [&](int32_t v) { return v >= lowest && v <= highest; });
        field = static_cast<uint8_t>(value);
    }
    void Text(const std::string& name, std::string& field) {
        StoredValue<std::string> value = key_.ReadString(name);
        if (value.ok()) {
            field = value.value;
        }
    }
    void Float(const std::string& name, double& field, const std::function<bool(double)>& accept) {
        StoredValue<std::string> value = key_.ReadString(name);
        if (value.ok()) {
            double number = ReadFloatText(value.value);
            if (accept(number)) {
                field = number;
            }
        }
    }
    // A dimension text and the number it reads as; a text that does not read, or whose number
    // is refused, leaves both as they were.
    void Measure(const std::string& name, std::string& text, double& number, int unit,
                 const std::function<bool(double)>& accept) {
        StoredValue<std::string> value = key_.ReadString(name);
        if (!value.ok()) {
            return;
        }
        std::optional<double> parsed = ParseMeasure(value.value, unit);
        if (parsed && accept(*parsed)) {
            text = value.value;
            number = *parsed;
        }
    }

private:
    RegistryKey& key_;
};

ShadowStyle UnpackShadow(int32_t value) {
    auto bits = static_cast<uint32_t>(value);
    return {static_cast<uint8_t>(bits & 0xFF), static_cast<uint8_t>((bits >> 8) & 0xFF),
            static_cast<uint8_t>((bits >> 16) & 0xFF)};
}

int32_t PackShadow(const ShadowStyle& shadow) {
    return static_cast<int32_t>(shadow.elevation | (shadow.fade << 8) | (shadow.lightness << 16));
}

std::string Numbered(const char* name, int number) {
    return name + std::to_string(number);
}

// The value name of a page-setup field: unit, "pgset", the field's letter, design type.
std::string PageSetName(int unit, char letter, int designType) {
    return std::to_string(unit) + "pgset" + letter + std::to_string(designType);
}

// The dimension texts of a block with their value letters.
template <typename Block, typename Visit> void ForEachDimension(Block& block, Visit visit) {
    visit('f', block.paperWidth);
    visit('g', block.paperHeight);
    visit('h', block.leftMargin);
    visit('i', block.topMargin);
    visit('j', block.rightMargin);
    visit('k', block.bottomMargin);
    visit('l', block.rows);
    visit('m', block.columns);
    visit('n', block.rowGap);
    visit('o', block.columnGap);
    visit('p', block.cardWidth);
    visit('q', block.cardHeight);
    visit('r', block.spare1);
    visit('s', block.spare2);
}

void SetFactoryDefaults(defaults_t& defaults, char separator, const ScreenResolution& screen) {
    defaults = defaults_t{};
    SetUnitScale(defaults, 3, screen);
    const std::string quarter = std::string("0") + separator + "25";
    const std::string fifth = std::string("0") + separator + "2";
    const std::string letterWidth = std::string("8") + separator + "5";
    const struct {
        std::string gridX, gridY, left, top, width, height;
    } texts[3] = {{"25", "25", "50", "50", "400", "200"},
                  {"10", "10", "10", "10", "210", "297"},
                  {quarter, quarter, fifth, fifth, letterWidth, "11"}};
    for (int unit = 1; unit <= 3; ++unit) {
        defaultsRec_t& record = defaults.perUnit[unit - 1];
        const auto& text = texts[unit - 1];
        record.gridXText = text.gridX;
        record.gridYText = text.gridY;
        record.canvasTexts = {text.left, text.top, text.width, text.height};
        record.gridX = ParseMeasure(text.gridX, unit).value_or(0.0);
        record.gridY = ParseMeasure(text.gridY, unit).value_or(0.0);
        record.canvasLeft = ParseMeasure(text.left, unit).value_or(0.0);
        record.canvasTop = ParseMeasure(text.top, unit).value_or(0.0);
        record.canvasWidth = ParseMeasure(text.width, unit).value_or(0.0);
        record.canvasHeight = ParseMeasure(text.height, unit).value_or(0.0);
    }
}

} // namespace

TParams::TParams() {
    hints.fill(1);
}

int HintPosition(int pageCode) {
    switch (pageCode) {
    case 1024:
        return 1;
    case 1025:
        return 2;
    case 1028:
        return 3;
    case 1035:
        return 4;
    case 1036:
        return 5;
    case 1038:
        return 6;
    case 1042:
        return 7;
    case 1029:
        return 8;
    case 1074:
        return 27; // shares the flag of 1061
    case 1075:
        return 36; // shares the flag of 1070
    case 1067:
        return 0; // the position after it has no page
    case 1076:
        return 40;
    case 1077:
        return 41;
    case 1078:
        return 42;
    default:
        // The shapes' pages follow their codes.
        return pageCode >= 1043 && pageCode <= 1073 ? pageCode - 1034 : 0;
    }
}

bool HintShown(const TParams& params, int pageCode) {
    int position = HintPosition(pageCode);
    return position == 0 || params.hints[position - 1] != 0;
}

void SetUnitScale(defaults_t& defaults, int32_t units, const ScreenResolution& screen) {
    defaults.units = units;
    switch (units) {
    case 1:
        defaults.pxPerUnitX = defaults.pxPerUnitY = 1.0;
        break;
    case 2:
        defaults.pxPerUnitX = screen.pxPerMmX();
        defaults.pxPerUnitY = screen.pxPerMmY();
        break;
    default:
        defaults.pxPerUnitX = screen.dpiX();
        defaults.pxPerUnitY = screen.dpiY();
        break;
    }
}

void ApplyUnitsToNewDesigns(TParams& params, int32_t units) {
    SetUnitScale(params.state.defaults, units, params.screen);
    // Digital images are measured in pixels whatever unit the user prefers.
    for (int type = 1; type <= kDesignTypeCount; ++type) {
        if (type != DesignType::DigitalImages) {
            params.state.pagesets[type - 1].units = units;
        }
    }
}

int32_t EncodeGridFlags(const defaults_t& d) {
    auto bit = [](uint8_t flag) { return flag ? 1 : 0; };
    return bit(d.showGridX) * 32 + bit(d.anchorsX) * 16 + bit(d.snapX) * 8 + bit(d.showGridY) * 4 +
           bit(d.anchorsY) * 2 + bit(d.snapY);
}

void DecodeGridFlags(defaults_t& d, int32_t value) {
    d.showGridX = (value >> 5) & 1;
    d.anchorsX = (value >> 4) & 1;
    d.snapX = (value >> 3) & 1;
    d.showGridY = (value >> 2) & 1;
    d.anchorsY = (value >> 1) & 1;
    d.snapY = value & 1;
}

std::string EncodeHints(const std::array<uint8_t, kHintCount>& hints) {
    std::string text;
    for (uint8_t shown : hints) {
        text.push_back(shown ? '1' : '0');
    }
    return text;
}

void DecodeHints(std::array<uint8_t, kHintCount>& hints, std::string_view text) {
    text = Trim(text);
    // A longer text than there are hint pages ends at the last page.
    for (size_t i = 0; i < text.size() && i < hints.size(); ++i) {
        if (text[i] == '0') {
            hints[i] = 0;
        }
    }
}

void SetFactorySettings(TParams& params) {
    // The screen, the number format and the colour dialog's cells are not settings with
    // factory values: they are read before the reset (the cells from their own key) and kept.
    const ScreenResolution screen = params.screen;
    const char separator = params.decimalSeparator;
    auto dialogColours = std::move(params.slots.dialogColours);
    params = TParams{};
    params.screen = screen;
    params.decimalSeparator = separator;
    params.slots.dialogColours = std::move(dialogColours);
    SetFactoryDefaults(params.state.defaults, separator, screen);
    for (int type = 1; type <= kDesignTypeCount; ++type) {
        params.state.pagesets[type - 1] = DefaultPageSetup(type, params.state.defaults.units);
    }
    SetFactoryStyleSlots(params.slots, params.state.defaults.units, params.state.defaults.angleUnits);
}

void InitSettings(TParams& params, RegistryStore& store) {
    SetFactorySettings(params);
    LoadSettings(params, store);
    LoadStyleLists(params, store);
}

void LoadSettings(TParams& params, RegistryStore& store) {
    std::unique_ptr<RegistryKey> key = store.OpenKey(kSettingsKey);
    if (!key) {
        return;
    }
    ValueReader read(*key);
    currentState_t& s = params.state;
    defaults_t& d = s.defaults;
    auto any = [](int32_t) { return true; };

    if (StoredValue<int32_t> units = key->ReadInteger("units");
        units.ok() && units.value >= 1 && units.value <= 3) {
        ApplyUnitsToNewDesigns(params, units.value);
    }
    read.Int("angles", d.angleUnits, [](int32_t v) { return v == 1 || v == 2; });
    read.Int("lineColor", s.lineColor, IsColour);
    read.Int("linePattern", s.linePattern, IsListPosition);
    read.Int("linePatternTab", s.linePatternTab, [](int32_t v) { return v >= 0 && v <= kSlotCount; });
    read.Int("lineFill", s.lineFill, IsFill);
    read.Int("lineWidthTab", s.lineWidthTab, IsListPosition);
    read.Int("lineOutlineTab", s.lineOutlineTab, IsListPosition);
    read.Int("lineDirectionTab", s.lineDirectionTab, IsListPosition);
    int32_t grid = EncodeGridFlags(d);
    read.Int("grid", grid, [](int32_t v) { return v >= 0 && v <= 63; });
    DecodeGridFlags(d, grid);
    read.Int("tcolor", s.tcolor, IsColour);
    read.Int("tcharset", s.tcharset, [](int32_t v) { return v >= 0 && v <= 255; });
    read.Int("tsize", s.tsize, [](int32_t v) { return v >= 1 && v <= 1638; });
    read.Int("tsizetab", s.tsizetab, IsListPosition);
    read.Int("tbold", s.tbold, [](int32_t v) { return v >= 100 && v <= 900; });
    if (StoredValue<int32_t> options = key->ReadInteger("toptions"); options.ok()) {
        auto bits = static_cast<uint32_t>(options.value);
        uint8_t alignment = static_cast<uint8_t>(bits >> 24);
        if (alignment >= 1 && alignment <= 3) {
            s.titalic = (bits & 0xFF) ? 1 : 0;
            s.tunderline = ((bits >> 8) & 0xFF) ? 1 : 0;
            s.tstrikeOut = ((bits >> 16) & 0xFF) ? 1 : 0;
            s.talignment = alignment;
        }
    }
    read.Int("tangle", s.tangle, [](int32_t v) { return v >= -3600 && v <= 3600; });
    read.Int("tangletab", s.tangletab, IsListPosition);
    read.Int("tdir", s.tdir, [](int32_t v) { return v >= -360 && v <= 360; });
    read.Int("polycolor", s.polycolor, IsColour);
    read.Int("polyfill", s.polyfill, IsFill);
    read.Int("polytab", s.polytab, IsListPosition);
    read.Int("polysides", s.polysides, IsOfferedSides);
    auto isShapeMode = [](int32_t v) { return v >= 0 && v <= 2; };
    read.Int("polyshape", s.polyshape, isShapeMode);
    read.Int("polystate", s.polystate, isShapeMode);
    read.Int("bpolyshape", s.bpolyshape, isShapeMode);
    read.Int("bpolystate", s.bpolystate, isShapeMode);
    read.Int("picndx", s.picndx, [](int32_t v) { return v >= 1 && v <= 7; });
    read.Int("expndx", s.expndx, [](int32_t v) { return v >= 1 && v <= 2; });
    read.Int("clframe", s.clframe, [](int32_t v) { return v == 0 || v == 1; });
    read.Int("clshadw", s.clshadw, [](int32_t v) { return v == 0 || v == 1; });
    read.Int("frcolor", s.frcolor, IsColour);
    const std::pair<const char*, ShadowStyle*> shadows[] = {
        {"shpict", &s.shpict}, {"shtext", &s.shtext}, {"shpoly", &s.shpoly}};
    for (auto [name, shadow] : shadows) {
        int32_t packed = PackShadow(*shadow);
        read.Int(name, packed, any);
        *shadow = UnpackShadow(packed);
    }
    read.Int("lgtdir", s.lgtdir, [](int32_t v) { return v >= 0 && v <= 3; });
    auto isSurface = [](int32_t v) { return v >= 0 && v <= 255; };
    read.Int("frplas", s.frplas, isSurface);
    read.Int("liplas", s.liplas, isSurface);
    read.Int("txplas", s.txplas, isSurface);
    read.Int("poplas", s.poplas, isSurface);

    for (int unit = 1; unit <= 3; ++unit) {
        defaultsRec_t& record = d.perUnit[unit - 1];
        auto isDensity = [](double v) { return v > 0.0 && v <= kLargestDimension; };
        auto isOffset = [](double v) { return v >= 0.0 && v <= kLargestDimension; };
        read.Measure(Numbered("gridx", unit), record.gridXText, record.gridX, unit, isDensity);
        read.Measure(Numbered("gridy", unit), record.gridYText, record.gridY, unit, isDensity);
        read.Measure(Numbered("canvas", unit * 10 + 1), record.canvasTexts.left, record.canvasLeft, unit,
                     isOffset);
        read.Measure(Numbered("canvas", unit * 10 + 2), record.canvasTexts.top, record.canvasTop, unit,
                     isOffset);
        read.Measure(Numbered("canvas", unit * 10 + 3), record.canvasTexts.width, record.canvasWidth, unit,
                     isDensity);
        read.Measure(Numbered("canvas", unit * 10 + 4), record.canvasTexts.height, record.canvasHeight, unit,
                     isDensity);
    }

    read.Int("pspage", s.pspage, [](int32_t v) { return v >= 1 && v <= kDesignTypeCount; });
    for (int type = 1; type <= kDesignTypeCount; ++type) {
        pageset_t& pageset = s.pagesets[type - 1];
        read.Int(Numbered("pgseta", type), pageset.units, [](int32_t v) { return v >= 1 && v <= 3; });
        read.Int(Numbered("pgsetb", type), pageset.orientation, [](int32_t v) { return v == 1 || v == 2; });
        for (int unit = 1; unit <= 3; ++unit) {
            miry_t& block = pageset.dims[unit - 1];
            read.Int(PageSetName(unit, 'c', type), block.preset, any);
            read.Byte(PageSetName(unit, 'd', type), block.rowFold, 0, 1);
            read.Byte(PageSetName(unit, 'e', type), block.columnFold, 0, 1);
            ForEachDimension(block, [&](char letter, std::string& text) {
                read.Text(PageSetName(unit, letter, type), text);
            });
        }
    }

    if (StoredValue<std::string> hints = key->ReadString("hints"); hints.ok()) {
        DecodeHints(params.hints, hints.value);
    }
    auto isWeight = [](double v) { return v >= 0.0 && v <= kLargestWeightMm; };
    read.Float("lineWidth", s.lineWidth, isWeight);
    read.Float("lineDirection", s.lineDirection, [](double v) { return v < 0.0 || v <= 360.0; });
    read.Float("lineOutline", s.lineOutline, isWeight);
    read.Float("frwidth", s.frwidth, isWeight);
    std::string font = s.tfont;
    read.Text("tfont", font);
    if (!Trim(font).empty()) {
        s.tfont = font;
    }
    read.Float("polywidth", s.polywidth, isWeight);
    for (int n = 1; n <= kRecentFileCount; ++n) {
        read.Text(Numbered("reopen", n), s.reopen[n - 1]);
    }
    read.Text("docdir", s.docdir);
    read.Text("expdir", s.expdir);
    read.Text("picidr", s.picidr);
}

void SaveSettings(const TParams& params, RegistryStore& store) {
    SaveStyleLists(params, store);
    std::unique_ptr<RegistryKey> key = store.OpenKey(kSettingsKey);
    if (!key) {
        return;
    }
    const currentState_t& s = params.state;
    const defaults_t& d = s.defaults;
    auto writeFloat = [&](const char* name, double value) {
        key->WriteString(name, FormatFloat(value, params.decimalSeparator));
    };

    key->WriteInteger("units", d.units);
    key->WriteInteger("angles", d.angleUnits);
    key->WriteInteger("lineColor", s.lineColor);
    key->WriteInteger("linePattern", s.linePattern);
    key->WriteInteger("linePatternTab", s.linePatternTab);
    key->WriteInteger("lineFill", s.lineFill);
    key->WriteInteger("lineWidthTab", s.lineWidthTab);
    key->WriteInteger("lineOutlineTab", s.lineOutlineTab);
    key->WriteInteger("lineDirectionTab", s.lineDirectionTab);
    key->WriteInteger("grid", EncodeGridFlags(d));
    key->WriteInteger("tcolor", s.tcolor);
    key->WriteInteger("tcharset", s.tcharset);
    key->WriteInteger("tsize", s.tsize);
    key->WriteInteger("tsizetab", s.tsizetab);
    key->WriteInteger("tbold", s.tbold);
    key->WriteInteger("toptions",
                      static_cast<int32_t>(uint32_t(s.titalic) | uint32_t(s.tunderline) << 8 |
                                           uint32_t(s.tstrikeOut) << 16 | uint32_t(s.talignment) << 24));
    key->WriteInteger("tangle", s.tangle);
    key->WriteInteger("tangletab", s.tangletab);
    key->WriteInteger("tdir", s.tdir);
    key->WriteInteger("polycolor", s.polycolor);
    key->WriteInteger("polyfill", s.polyfill);
    key->WriteInteger("polytab", s.polytab);
    key->WriteInteger("polysides", s.polysides);
    key->WriteInteger("polyshape", s.polyshape);
    key->WriteInteger("polystate", s.polystate);
    key->WriteInteger("bpolyshape", s.bpolyshape);
    key->WriteInteger("bpolystate", s.bpolystate);
    key->WriteInteger("picndx", s.picndx);
    key->WriteInteger("expndx", s.expndx);
    key->WriteInteger("clframe", s.clframe);
    key->WriteInteger("clshadw", s.clshadw);
    key->WriteInteger("frcolor", s.frcolor);
    key->WriteInteger("shpict", PackShadow(s.shpict));
    key->WriteInteger("shtext", PackShadow(s.shtext));
    key->WriteInteger("shpoly", PackShadow(s.shpoly));
    key->WriteInteger("lgtdir", s.lgtdir);
    key->WriteInteger("frplas", s.frplas);
    key->WriteInteger("liplas", s.liplas);
    key->WriteInteger("txplas", s.txplas);
    key->WriteInteger("poplas", s.poplas);
    for (int unit = 1; unit <= 3; ++unit) {
        const defaultsRec_t& record = d.perUnit[unit - 1];
        key->WriteString(Numbered("gridx", unit), record.gridXText);
        key->WriteString(Numbered("gridy", unit), record.gridYText);
        key->WriteString(Numbered("canvas", unit * 10 + 1), record.canvasTexts.left);
        key->WriteString(Numbered("canvas", unit * 10 + 2), record.canvasTexts.top);
        key->WriteString(Numbered("canvas", unit * 10 + 3), record.canvasTexts.width);
        key->WriteString(Numbered("canvas", unit * 10 + 4), record.canvasTexts.height);
    }
    key->WriteInteger("pspage", s.pspage);
    for (int type = 1; type <= kDesignTypeCount; ++type) {
        const pageset_t& pageset = s.pagesets[type - 1];
        key->WriteInteger(Numbered("pgseta", type), pageset.units);
        key->WriteInteger(Numbered("pgsetb", type), pageset.orientation);
        for (int unit = 1; unit <= 3; ++unit) {
            const miry_t& block = pageset.dims[unit - 1];
            key->WriteInteger(PageSetName(unit, 'c', type), block.preset);
            key->WriteInteger(PageSetName(unit, 'd', type), block.rowFold);
            key->WriteInteger(PageSetName(unit, 'e', type), block.columnFold);
            ForEachDimension(block, [&](char letter, const std::string& text) {
                key->WriteString(PageSetName(unit, letter, type), text);
            });
        }
    }
    key->WriteString("hints", EncodeHints(params.hints));
    writeFloat("lineWidth", s.lineWidth);
    writeFloat("lineDirection", s.lineDirection);
    writeFloat("lineOutline", s.lineOutline);
    writeFloat("frwidth", s.frwidth);
    key->WriteString("tfont", s.tfont);
    writeFloat("polywidth", s.polywidth);
    for (int n = 1; n <= kRecentFileCount; ++n) {
        key->WriteString(Numbered("reopen", n), s.reopen[n - 1]);
    }
    key->WriteString("docdir", s.docdir);
    key->WriteString("expdir", s.expdir);
    key->WriteString("picidr", s.picidr);
}

} // namespace vlr
