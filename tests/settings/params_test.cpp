// The settings object: factory values, the stored form and loading damaged stores.
#include "settings/params.h"

#include "settingsfolder.h"

namespace vlr {
namespace {

using test::SettingsFolder;

TEST(Settings, FactoryValues) {
    TParams params;
    SetFactorySettings(params);
    const currentState_t& s = params.state;
    const defaults_t& d = s.defaults;
    EXPECT_EQ(d.units, 3);
    EXPECT_EQ(d.pxPerUnitX, 96.0);
    EXPECT_EQ(d.angleUnits, 1);
    EXPECT_EQ(EncodeGridFlags(d), 18);
    EXPECT_EQ(d.perUnit[0].gridXText, "25");
    EXPECT_EQ(d.perUnit[0].canvasTexts.width, "400");
    EXPECT_EQ(d.perUnit[1].canvasHeight, 297.0);
    EXPECT_EQ(d.perUnit[2].gridXText, "0.25");
    EXPECT_EQ(d.perUnit[2].gridX, 0.25);
    EXPECT_EQ(d.perUnit[2].canvasLeft, 0.2);
    EXPECT_EQ(d.perUnit[2].canvasWidth, 8.5);
    EXPECT_EQ(s.lineFill, -2);
    EXPECT_EQ(s.lineDirection, -1.0);
    EXPECT_EQ(s.tsize, 12);
    EXPECT_EQ(s.tsizetab, 4);
    EXPECT_EQ(s.tbold, 400);
    EXPECT_EQ(s.talignment, 1);
    EXPECT_EQ(s.tangle, -10);
    EXPECT_EQ(s.tdir, -1);
    EXPECT_EQ(s.tfont, "Arial");
    EXPECT_EQ(s.polyfill, -1);
    EXPECT_EQ(s.polysides, 5);
    EXPECT_EQ(s.picndx, 1);
    EXPECT_EQ(s.pspage, 4);
    EXPECT_EQ(s.docdir, "\\My Documents");
    EXPECT_EQ(s.pagesets[8].units, 1); // digital images are measured in pixels
    EXPECT_EQ(s.pagesets[3].units, 3);
    EXPECT_EQ(params.hints[0], 1);
    EXPECT_EQ(params.hints[41], 1);
    EXPECT_EQ(params.markerWidth, 8);
    EXPECT_EQ(params.initWindow.panelColor, 14933984);
    EXPECT_EQ(params.slots.weights[0].name, "Weight A");
    EXPECT_EQ(params.slots.customColours[11], -1);

    TParams comma;
    comma.decimalSeparator = ',';
    SetFactorySettings(comma);
    EXPECT_EQ(comma.state.defaults.perUnit[2].gridXText, "0,25");
    EXPECT_EQ(comma.state.defaults.perUnit[2].canvasWidth, 8.5);
}

TEST(Settings, GridFlagsAndHints) {
    defaults_t d;
    DecodeGridFlags(d, 45); // 101101: show x, snap x, show y, snap y
    EXPECT_EQ(d.showGridX, 1);
    EXPECT_EQ(d.anchorsX, 0);
    EXPECT_EQ(d.snapX, 1);
    EXPECT_EQ(d.showGridY, 1);
    EXPECT_EQ(d.anchorsY, 0);
    EXPECT_EQ(d.snapY, 1);
    EXPECT_EQ(EncodeGridFlags(d), 45);

    std::array<uint8_t, kHintCount> hints;
    hints.fill(1);
    DecodeHints(hints, " 10 ");
    EXPECT_EQ(hints[0], 1);
    EXPECT_EQ(hints[1], 0);
    EXPECT_EQ(hints[2], 1);
    // A text longer than there are hint pages stops at the last page.
    hints.fill(1);
    DecodeHints(hints, std::string(500, '0'));
    EXPECT_EQ(EncodeHints(hints), std::string(kHintCount, '0'));
}

// Every stored value changed from its factory value.
TParams ChangedSettings() {
    TParams params;
    SetFactorySettings(params);
    currentState_t& s = params.state;
    SetUnitScale(s.defaults, 2, params.screen);
    s.defaults.angleUnits = 2;
    DecodeGridFlags(s.defaults, 41);
    s.defaults.perUnit[1] = {2.5, 4.0, 5.0, 6.0, 100.0, 50.0, "2.5", "4", {"5", "6", "100", "50"}};
    s.lineColor = 0x123456;
    s.linePattern = 7;
    s.linePatternTab = 2;
    s.lineFill = 0x00FF00;
    s.lineWidthTab = 3;
    s.lineOutlineTab = 2;
    s.lineDirectionTab = 4;
    s.lineWidth = 0.35;
    s.lineDirection = 270.0;
    s.lineOutline = 1.5;
    s.tcolor = 0xFF;
    s.tcharset = 2;
    s.tsize = 36;
    s.tsizetab = 13;
    s.tbold = 700;
    s.titalic = 1;
    s.tunderline = 1;
    s.tstrikeOut = 1;
    s.talignment = 2;
    s.tangle = 900;
    s.tangletab = 2;
    s.tdir = 90;
    s.tfont = "Liberation Sans";
    s.polycolor = 0x808080;
    s.polyfill = -2;
    s.polytab = 5;
    s.polysides = 20;
    s.polyshape = 1;
    s.polystate = 2;
    s.bpolyshape = 2;
    s.bpolystate = 1;
    s.polywidth = 0.25;
    s.picndx = 7;
    s.expndx = 2;
    s.clframe = 1;
    s.clshadw = 1;
    s.frcolor = 0x0000FF;
    s.frwidth = 2.0;
    s.shpict = {30, 10, 100};
    s.shtext = {0x20, 0x30, 0x40};
    s.shpoly = {70, 30, 120};
    s.lgtdir = 2;
    s.frplas = 127;
    s.liplas = 1;
    s.txplas = 2;
    s.poplas = 255;
    s.reopen[0] = "/home/ann/a b.vlrn";
    s.reopen[15] = "/tmp/z=1;2,3.vlrn";
    s.docdir = "/home/ann";
    s.expdir = "/home/ann/export";
    s.picidr = "/home/ann/pictures";
    s.pspage = 9;
    s.pagesets[3].orientation = 2;
    s.pagesets[3].units = 1;
    s.pagesets[3].dims[1] = {3,   "297", "210", "85", "55", "10", "12,5", "10", "12.5",
                             "5", "2",   "0",   "1",  "",   "",   1,      0};
    s.pagesets[10].dims[2].paperWidth = "8 1/2";
    params.hints[5] = 0;
    params.hints[41] = 0;
    return params;
}

TEST_F(SettingsFolder, SavingThenLoadingGivesBackEveryValue) {
    for (char separator : {'.', ','}) {
        TParams saved = ChangedSettings();
        saved.decimalSeparator = separator;
        SaveSettings(saved, *store);

        TParams loaded;
        InitSettings(loaded, *store);
        EXPECT_EQ(loaded.state, saved.state) << "separator " << separator;
        EXPECT_EQ(loaded.hints, saved.hints);
    }
}

TEST_F(SettingsFolder, NothingStoredLeavesTheFactoryValues) {
    TParams loaded, factory;
    InitSettings(loaded, *store);
    SetFactorySettings(factory);
    EXPECT_EQ(loaded.state, factory.state);
    EXPECT_EQ(loaded.slots, factory.slots);
}

TEST_F(SettingsFolder, HandWrittenSettingsLoadUnderTheirNames) {
    CopyHandWrittenFiles();
    TParams params;
    InitSettings(params, *store);
    const currentState_t& s = params.state;
    EXPECT_EQ(s.defaults.units, 2);
    EXPECT_DOUBLE_EQ(s.defaults.pxPerUnitX, 96.0 / 25.4);
    EXPECT_EQ(s.defaults.angleUnits, 2);
    EXPECT_EQ(s.lineColor, 255);
    EXPECT_EQ(s.linePattern, 7);
    EXPECT_EQ(s.linePatternTab, 2);
    EXPECT_EQ(s.lineFill, -1);
    EXPECT_EQ(EncodeGridFlags(s.defaults), 45);
    EXPECT_EQ(s.tcolor, 0xFF0000);
    EXPECT_EQ(s.tsize, 24);
    EXPECT_EQ(s.tbold, 700);
    EXPECT_EQ(s.titalic, 1);
    EXPECT_EQ(s.tunderline, 1);
    EXPECT_EQ(s.tstrikeOut, 1);
    EXPECT_EQ(s.talignment, 3);
    EXPECT_EQ(s.tangle, 450);
    EXPECT_EQ(s.polysides, 16);
    EXPECT_EQ(s.polyshape, 2);
    EXPECT_EQ(s.picndx, 4);
    EXPECT_EQ(s.shpict, (ShadowStyle{0x40, 0x40, 0x40}));
    EXPECT_EQ(s.shtext, (ShadowStyle{0x20, 0x30, 0x40}));
    EXPECT_EQ(s.lgtdir, 3);
    EXPECT_EQ(s.poplas, 127);
    EXPECT_EQ(s.defaults.perUnit[1].gridX, 5.0);
    EXPECT_EQ(s.defaults.perUnit[1].gridYText, "2,5");
    EXPECT_EQ(s.defaults.perUnit[1].gridY, 2.5);
    EXPECT_EQ(s.defaults.perUnit[1].canvasLeft, 12.0);
    EXPECT_EQ(s.defaults.perUnit[1].canvasWidth, 85.0);
    EXPECT_EQ(s.pspage, 9);
    // "units" 2 moved every new-file page setup to millimetres but digital images; then the
    // business cards' own unit value followed.
    EXPECT_EQ(s.pagesets[0].units, 2);
    EXPECT_EQ(s.pagesets[8].units, 1);
    EXPECT_EQ(s.pagesets[3].units, 1);
    EXPECT_EQ(s.pagesets[3].orientation, 2);
    EXPECT_EQ(s.pagesets[3].dims[1].preset, 3);
    EXPECT_EQ(s.pagesets[3].dims[1].rowFold, 1);
    EXPECT_EQ(s.pagesets[3].dims[1].paperWidth, "297");
    EXPECT_EQ(s.pagesets[3].dims[1].rows, "5");
    EXPECT_EQ(params.hints[0], 1);
    EXPECT_EQ(params.hints[1], 0);
    EXPECT_EQ(params.hints[2], 1);
    EXPECT_EQ(s.lineWidth, 0.5); // stored as "0,5"
    EXPECT_EQ(s.polywidth, 1.25);
    EXPECT_EQ(s.tfont, "Liberation Serif");
    // Names differing only in letter case are two files.
    EXPECT_EQ(s.reopen[0], "/home/ann/cards/shop.vlrn");
    EXPECT_EQ(s.reopen[1], "/home/ann/cards/Shop.vlrn");
    EXPECT_EQ(s.docdir, "/home/ann/cards");
}

TEST_F(SettingsFolder, DamagedValuesKeepTheirPreviousValue) {
    WriteKeyFile(kSettingsKey, "[General]\n"
                               "units=4\n"
                               "angles=7\n"
                               "lineColor=abc\n"
                               "lineFill=-5\n"
                               "linePattern=-3\n"
                               "grid=999\n"
                               "tsize=1000000000\n"
                               "tbold=5\n"
                               "toptions=5\n"
                               "tcharset=4096\n"
                               "polysides=13\n"
                               "polyshape=9\n"
                               "picndx=0\n"
                               "expndx=8\n"
                               "clframe=2\n"
                               "lgtdir=9\n"
                               "frplas=256\n"
                               "pspage=12\n"
                               "pgseta4=7\n"
                               "pgsetb4=0\n"
                               "gridx1=\n"
                               "gridy1=abc\n"
                               "canvas13=-400\n"
                               "lineWidth=1e300\n"
                               "lineDirection=720\n"
                               "polywidth=inf\n"
                               "tfont=\"  \"\n"
                               "hints=00000000000000000000000000000000000000000000000000000000\n"
                               "reopen3\n"
                               "docdir=\"unterminated\n"
                               "[Oth");
    TParams params, factory;
    InitSettings(params, *store);
    SetFactorySettings(factory);
    const currentState_t& s = params.state;
    const currentState_t& f = factory.state;
    EXPECT_EQ(s.defaults.units, f.defaults.units);
    EXPECT_EQ(s.defaults.angleUnits, f.defaults.angleUnits);
    EXPECT_EQ(s.lineColor, f.lineColor);
    EXPECT_EQ(s.lineFill, f.lineFill);
    EXPECT_EQ(s.linePattern, f.linePattern);
    EXPECT_EQ(EncodeGridFlags(s.defaults), 18);
    EXPECT_EQ(s.tsize, 12);
    EXPECT_EQ(s.tbold, 400);
    EXPECT_EQ(s.talignment, 1);
    EXPECT_EQ(s.tcharset, 0);
    EXPECT_EQ(s.polysides, 5);
    EXPECT_EQ(s.polyshape, 0);
    EXPECT_EQ(s.picndx, 1);
    EXPECT_EQ(s.expndx, 1);
    EXPECT_EQ(s.clframe, 0);
    EXPECT_EQ(s.lgtdir, 0);
    EXPECT_EQ(s.frplas, 0);
    EXPECT_EQ(s.pspage, 4);
    EXPECT_EQ(s.pagesets[3], f.pagesets[3]);
    EXPECT_EQ(s.defaults.perUnit[0], f.defaults.perUnit[0]);
    EXPECT_EQ(s.lineWidth, 0.0);
    EXPECT_EQ(s.lineDirection, -1.0);
    EXPECT_EQ(s.polywidth, 0.0); // an unreadable float text reads as 0
    EXPECT_EQ(s.tfont, "Arial");
    EXPECT_EQ(EncodeHints(params.hints), std::string(kHintCount, '0'));
}

TEST_F(SettingsFolder, ABinaryOrEmptyFileLoadsAsFactory) {
    for (std::string junk : {std::string("\x00\xff\xfe\x01[General\n=\n\n", 17), std::string()}) {
        WriteKeyFile(kSettingsKey, junk);
        TParams params, factory;
        InitSettings(params, *store);
        SetFactorySettings(factory);
        EXPECT_EQ(params.state, factory.state);
    }
}

} // namespace
} // namespace vlr
