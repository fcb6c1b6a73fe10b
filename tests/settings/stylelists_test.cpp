// The user's style slots: loading and saving them, and the pull-down lists built from them.
#include "settings/stylelists.h"

#include "model/itemrecord.h"
#include "settings/params.h"
#include "settingsfolder.h"

#include <cmath>

namespace vlr {
namespace {

using test::SettingsFolder;

// In the program's order: the colour dialog's cells first, then the settings.
TParams Loaded(RegistryStore& store) {
    TParams params;
    LoadDialogColors(params.slots, store);
    InitSettings(params, store);
    return params;
}

TEST_F(SettingsFolder, HandWrittenSlotsLoadByTheirRules) {
    CopyHandWrittenFiles();
    TParams params = Loaded(*store);
    const StyleSlots& slots = params.slots;

    // "1/2" inch is 12.7 mm.
    EXPECT_EQ(slots.weights[0].name, "Hairline");
    EXPECT_TRUE(slots.weights[0].offered);
    EXPECT_DOUBLE_EQ(slots.weights[0].millimetres, 12.7);
    EXPECT_EQ(slots.weights[0].pixels, 48); // 12.7 mm at 96 dpi
    // 3 pixels: the millimetres follow the rounded pixels.
    EXPECT_DOUBLE_EQ(slots.weights[1].millimetres, 3 * 25.4 / 96.0);
    // A unit code of 4 leaves the factory slot.
    EXPECT_EQ(slots.weights[2].name, "Weight C");
    EXPECT_FALSE(slots.weights[2].offered);

    EXPECT_TRUE(slots.patterns[0].offered);
    EXPECT_EQ(slots.patterns[0].count, 4);
    EXPECT_EQ(slots.patterns[0].millimetres[2], 0.5);

    EXPECT_EQ(slots.shadows[0].name, "Deep");
    EXPECT_EQ(slots.shadows[0].elevation, 51);
    EXPECT_EQ(slots.shadows[0].fade, 68);
    EXPECT_EQ(slots.shadows[0].lightness, 85);
    EXPECT_EQ(slots.shadows[0].show, 1);
    EXPECT_EQ(slots.shadows[1].name, "Shadow B");
    EXPECT_EQ(slots.shadows[1].elevation, 85);

    // A font size of 400 stays 400: sizes are no angles.
    EXPECT_TRUE(slots.fontSizes[0].offered);
    EXPECT_EQ(slots.fontSizes[0].value, 400.0);

    // Stored as A = 0x123456 and B = 0x654321: loaded newest first.
    EXPECT_EQ(slots.customColours[0], 0x654321);
    EXPECT_EQ(slots.customColours[1], 0x123456);
    EXPECT_EQ(slots.customColours[2], -1);

    EXPECT_EQ(slots.dialogColours[0], "colorA=FF8000");
    EXPECT_EQ(slots.dialogColours[1], "colorB=FFFFFFFF");
    EXPECT_FALSE(IsValidDialogColour(slots.dialogColours[1]));
    EXPECT_TRUE(IsValidDialogColour(slots.dialogColours[2]));
    EXPECT_EQ(DialogColourValue(slots.dialogColours[2]), -1);
    EXPECT_EQ(slots.dialogColours[3], "");
}

TEST_F(SettingsFolder, PatternAndAngleSlotRules) {
    WriteKeyFile("Software/Tessarine/CustomPatterns",
                 "[General]\n"
                 "nameA=Three\nunitsA=2\nvalueA1=2\nvalueA2=1\nvalueA3=2\nvalueA4=\nvalueA5=3\n"
                 "nameB=No space\nunitsB=2\nvalueB1=3\nvalueB2=\n"
                 "nameC=Zero first\nunitsC=2\nvalueC1=0\nvalueC2=1\n");
    WriteKeyFile("Software/Tessarine/CustomDirections", "[General]\n"
                                                        "nameA=Down\nvalueA=-90\nunitsA=1\n"
                                                        "nameB=Twice\nvalueB=720\nunitsB=1\n"
                                                        "nameC=Radians\nvalueC=3.14159\nunitsC=2\n"
                                                        "nameD=Turns\nvalueD=1e300\nunitsD=1\n"
                                                        "nameE=Zero\nvalueE=0\nunitsE=1\n"
                                                        "nameF=\nvalueF=10\nunitsF=1\n"
                                                        "nameG=Beyond\nvalueG=1e306\nunitsG=2\n");
    TParams params = Loaded(*store);
    EXPECT_TRUE(params.slots.patterns[0].offered);
    EXPECT_EQ(params.slots.patterns[0].count, 3);
    EXPECT_EQ(params.slots.patterns[0].millimetres[4], 3.0); // converted though past the count
    EXPECT_FALSE(params.slots.patterns[1].offered);
    EXPECT_FALSE(params.slots.patterns[2].offered);

    const custDirection_t& directions = params.slots.directions;
    EXPECT_EQ(directions[0].value, 270.0);
    EXPECT_EQ(directions[1].value, 360.0);
    EXPECT_NEAR(directions[2].value, 180.0, 0.001);
    EXPECT_GE(directions[3].value, 0.0);
    EXPECT_LE(directions[3].value, 360.0);
    EXPECT_TRUE(directions[4].offered);
    EXPECT_EQ(directions[4].value, 0.0);
    EXPECT_FALSE(directions[5].offered);
    // 1e306 radians is beyond every double in degrees: refused like any other bad value.
    EXPECT_FALSE(directions[6].offered);
    EXPECT_EQ(directions[6].name, "Angle G");
}

TEST_F(SettingsFolder, SlotsSurviveASaveAndALoad) {
    TParams saved;
    InitSettings(saved, *store);
    StyleSlots& slots = saved.slots;
    slots.weights[3] = {0.5, 2, 2, "Half", "0.5", 1, 0};
    slots.patterns[11].name = "Long";
    slots.patterns[11].units = 2;
    slots.patterns[11].count = 2;
    slots.patterns[11].lengthTexts = {"2", "1", "", "", "", "", "", "", "", "", "", ""};
    slots.patterns[11].millimetres = {2.0, 1.0};
    slots.patterns[11].pixels = {8, 4};
    slots.patterns[11].offered = 1;
    slots.shadows[0] = {"Soft", 20, 40, 200, 0, 0, 1};
    slots.directions[1] = {45.0, 1, "Diagonal", "45", 1, 0};
    slots.textAngles[2] = {90.0, 1, "Up", "90", 1, 0};
    slots.fontSizes[0] = {30.0, 1, "Thirty", "30", 1, 0};
    AddCustomColour(slots, 0x0000AA);
    AddCustomColour(slots, 0x00BB00);
    slots.dialogColours[4] = "colorE=00FF00";
    SaveSettings(saved, *store);
    SaveDialogColors(saved.slots, *store);

    TParams loaded = Loaded(*store);
    EXPECT_EQ(loaded.slots.weights, saved.slots.weights);
    EXPECT_EQ(loaded.slots.patterns, saved.slots.patterns);
    EXPECT_EQ(loaded.slots.shadows, saved.slots.shadows);
    EXPECT_EQ(loaded.slots.directions, saved.slots.directions);
    EXPECT_EQ(loaded.slots.textAngles, saved.slots.textAngles);
    EXPECT_EQ(loaded.slots.fontSizes, saved.slots.fontSizes);
    // Custom colours come back in the reverse of their stored order, newest first as loaded.
    EXPECT_EQ(loaded.slots.customColours[0], 0x0000AA);
    EXPECT_EQ(loaded.slots.customColours[1], 0x00BB00);
    EXPECT_EQ(loaded.slots.customColours[2], -1);
    EXPECT_EQ(loaded.slots.dialogColours, saved.slots.dialogColours);

    // A slot no longer offered is removed from the store.
    loaded.slots.weights[3].offered = 0;
    SaveSettings(loaded, *store);
    TParams again = Loaded(*store);
    EXPECT_EQ(again.slots.weights[3].name, "Weight D");
}

TEST_F(SettingsFolder, ShadowValuesOutsideAByteAreStoredAsZero) {
    TParams saved;
    InitSettings(saved, *store);
    saved.slots.shadows[0] = {"Tall", 300, 20, -1, 0, 0, 1};
    SaveSettings(saved, *store);
    TParams loaded = Loaded(*store);
    EXPECT_EQ(loaded.slots.shadows[0].elevation, 0);
    EXPECT_EQ(loaded.slots.shadows[0].fade, 20);
    EXPECT_EQ(loaded.slots.shadows[0].lightness, 0);
}

TEST(CustomColours, NewestFirstNoDuplicatesAndNothingOutOfRange) {
    StyleSlots slots;
    SetFactoryStyleSlots(slots, 3, 1);
    for (int32_t colour = 1; colour <= 13; ++colour) {
        AddCustomColour(slots, colour);
    }
    EXPECT_EQ(slots.customColours[0], 13);
    EXPECT_EQ(slots.customColours[11], 2); // the first one was dropped
    AddCustomColour(slots, 7);
    EXPECT_EQ(slots.customColours[0], 13);
    AddCustomColour(slots, -1);
    AddCustomColour(slots, 0x3000000);
    EXPECT_EQ(slots.customColours[0], 13);
}

StyleSlots SlotsWithColours() {
    StyleSlots slots;
    SetFactoryStyleSlots(slots, 3, 1);
    slots.dialogColours[0] = "colorA=112233";
    slots.dialogColours[1] = "colorB=ffffffff"; // an unused cell
    slots.dialogColours[2] = "colorC=445566";
    AddCustomColour(slots, 0x000003);
    AddCustomColour(slots, 0x000002);
    AddCustomColour(slots, 0x000001);
    return slots;
}

TEST(ColourLists, PositionsOfBuiltInDialogAndCustomColours) {
    StyleSlots slots = SlotsWithColours();
    StyleList list;
    BuildColourList(list, slots);
    EXPECT_EQ(list.count(), 22);
    EXPECT_EQ(list.entries[16], "Customize...");
    EXPECT_EQ(ColourPosition(slots, 0x000000), 0);
    EXPECT_EQ(ColourPosition(slots, 0xFFFFFF), 15);
    EXPECT_EQ(ColourPosition(slots, 0x112233), 17);
    EXPECT_EQ(ColourPosition(slots, 0x445566), 18);
    EXPECT_EQ(ColourPosition(slots, 0x000001), 19);
    EXPECT_EQ(ColourPosition(slots, 0x000003), 21);
    EXPECT_EQ(ColourPosition(slots, 0x777777), -1);

    for (int position : {0, 9, 17, 18, 19, 21}) {
        list.selected = position;
        EXPECT_EQ(ColourPosition(slots, ColourAt(list, slots)), position);
    }
    list.selected = 16;
    EXPECT_EQ(ColourAt(list, slots), -1);
    list.selected = -1;
    EXPECT_EQ(ColourAt(list, slots), -1);

    StyleList fill;
    BuildFillColourList(fill, slots);
    EXPECT_EQ(fill.count(), 24);
    SelectFillColour(fill, slots, -2);
    EXPECT_EQ(FillColourAt(fill, slots), -2);
    SelectFillColour(fill, slots, -1);
    EXPECT_EQ(fill.selected, 1);
    SelectFillColour(fill, slots, 0x0000FF);
    EXPECT_EQ(fill.selected, 11);
    EXPECT_EQ(FillColourAt(fill, slots), 0x0000FF);
    SelectFillColour(fill, slots, 0x000002);
    EXPECT_EQ(FillColourAt(fill, slots), 0x000002);
    fill.selected = 18;
    EXPECT_EQ(FillColourAt(fill, slots), -1);
    SelectFillColour(fill, slots, 0x777777); // in no list
    EXPECT_EQ(fill.selected, -1);

    EXPECT_EQ(EnsureListedColour(slots, 0x445566, 0), 0x445566);
    EXPECT_EQ(EnsureListedColour(slots, 0x777777, 0x0000FF), 0x0000FF);
    EXPECT_EQ(EnsureListedColour(slots, 0x777777, 0x3000000), 0x777777);
}

TEST(WeightLists, BuiltInThenOfferedSlotsAndTheirPositions) {
    TParams params;
    SetFactorySettings(params);
    params.slots.weights[4] = {0.7, 3, 2, "Fine", "0.7", 1, 0};
    params.slots.weights[9] = {4.0, 15, 2, "Bold", "4", 1, 1}; // chosen in the dialog
    StyleList list;
    WeightHandOver handOver = BuildWeightList(list, params);
    ASSERT_EQ(list.count(), 9);
    EXPECT_EQ(list.entries[6], "Customize...");
    EXPECT_EQ(list.entries[7], "Fine");
    EXPECT_EQ(list.slotMap[0], 5);
    EXPECT_EQ(list.slotMap[1], 10);
    EXPECT_EQ(list.slotMap[2], 0);
    EXPECT_EQ(handOver.position, 8);
    EXPECT_EQ(handOver.millimetres, 4.0);
    EXPECT_EQ(params.slots.weights[9].chosen, 0);

    EXPECT_EQ(WeightPosition(params.slots, 0.50005), 1); // "Medium"
    EXPECT_EQ(WeightPosition(params.slots, 0.5002), -1);
    EXPECT_EQ(WeightPosition(params.slots, 4.0), 8);
    SelectWeight(list, params.slots, 0.7);
    EXPECT_EQ(WeightAt(list, params.slots), 0.7);
    list.selected = 5;
    EXPECT_EQ(WeightAt(list, params.slots), 5.0);
    list.selected = 6;
    EXPECT_EQ(WeightAt(list, params.slots), -1.0);

    StyleList frames;
    BuildFrameWeightList(frames, params);
    EXPECT_EQ(frames.entries[0], "None");
    EXPECT_EQ(frames.entries[8], "Fine");
    SelectFrameWeight(frames, params.slots, 0.1);
    EXPECT_EQ(frames.selected, 1);
    frames.selected = 9;
    EXPECT_EQ(FrameWeightAt(frames, params.slots), 4.0);
}

TEST(AngleAndSizeLists, HandOversAndPositions) {
    TParams params;
    SetFactorySettings(params);
    params.slots.textAngles[0] = {22.5, 1, "Slant", "22.5", 1, 1};
    StyleList angles;
    BuildAngleList(angles, params, AngleList::TextAngles);
    EXPECT_EQ(angles.entries[6], "Slant");
    EXPECT_EQ(params.state.tangletab, 6);
    EXPECT_EQ(params.state.tangle, 225);
    EXPECT_EQ(params.state.tdir, 22); // 22.5 rounds to even
    EXPECT_EQ(AnglePosition(params.slots, AngleList::TextAngles, -1.0), 0);
    EXPECT_EQ(AnglePosition(params.slots, AngleList::TextAngles, 270.0), 3);
    EXPECT_EQ(AnglePosition(params.slots, AngleList::TextAngles, 22.5), 6);
    EXPECT_EQ(AnglePosition(params.slots, AngleList::LineDirections, 22.5), -1);

    params.slots.fontSizes[2] = {100.0, 1, "Huge", "100", 1, 0};
    StyleList sizes;
    BuildSizeList(sizes, params);
    EXPECT_EQ(sizes.count(), 18);
    EXPECT_EQ(sizes.entries[0], "8");
    EXPECT_EQ(sizes.entries[15], "72");
    SelectSize(sizes, params.slots, 100);
    EXPECT_EQ(sizes.selected, 17);
    EXPECT_EQ(SizeAt(sizes, params.slots), 100);
    SelectSize(sizes, params.slots, 13);
    EXPECT_EQ(sizes.selected, -1);
}

TEST(ShadowAndSurfaceLists, PositionsAndValues) {
    TParams params;
    SetFactorySettings(params);
    params.slots.shadows[3] = {"Mine", 5, 6, 7, 0, 0, 1};
    StyleList list;
    BuildShadowList(list, params);
    EXPECT_EQ(list.count(), 6);
    EXPECT_EQ(ShadowPosition(params.slots, 50, 20, 110), 2);
    EXPECT_EQ(ShadowPosition(params.slots, 5, 6, 7), 5);
    EXPECT_EQ(ShadowPosition(params.slots, -1, 6, 7), -1);
    int32_t elevation = -9, fade = -9, lightness = -9;
    ShadowAt(list, params.slots, 4, elevation, fade, lightness); // "Customize..." changes nothing
    EXPECT_EQ(elevation, -9);
    ShadowAt(list, params.slots, 5, elevation, fade, lightness);
    EXPECT_EQ(lightness, 7);
    ShadowAt(list, params.slots, 1, elevation, fade, lightness);
    EXPECT_EQ(elevation, 30);
    EXPECT_EQ(SurfacePosition(127), 1);
    EXPECT_EQ(SurfacePosition(64), -1);
    EXPECT_EQ(SurfaceAt(1), 127);
    EXPECT_EQ(SurfaceAt(7), 0);
}

TEST(PatternLists, CustomPatternsByTheirLengthsAndRestoring) {
    TParams params;
    SetFactorySettings(params);
    for (int slot : {1, 3, 5, 6, 8, 9, 10}) {
        custPatternRec_t& pattern = params.slots.patterns[slot];
        pattern.count = 2;
        pattern.millimetres = {static_cast<double>(slot), 1.0};
        pattern.offered = 1;
    }
    StyleList list;
    BuildPatternList(list, params);
    EXPECT_EQ(list.count(), 13);
    SelectPattern(list, params.slots, 3, {});
    EXPECT_EQ(list.selected, 3);
    SelectPattern(list, params.slots, -1, {5.00001, 1.0});
    EXPECT_EQ(list.selected, 8);
    SelectPattern(list, params.slots, -1, {5.0});
    EXPECT_EQ(list.selected, -1);

    // The sixth custom entry (position 11) still names its slot for new lines.
    params.state.linePattern = 11;
    RestorePattern(list, params);
    EXPECT_EQ(list.selected, 11);
    EXPECT_EQ(params.state.linePatternTab, 10);
    params.state.linePattern = 40;
    RestorePattern(list, params);
    EXPECT_EQ(list.selected, 0);
    EXPECT_EQ(params.state.linePatternTab, 0);

    StyleList sizes;
    BuildSizeList(sizes, params);
    params.state.tsizetab = 99;
    params.state.tsize = 99;
    RestoreSize(sizes, params);
    EXPECT_EQ(sizes.selected, 4);
    EXPECT_EQ(params.state.tsize, 12);
}

TEST(SamePattern, BuiltInNumbersOrTheDefinitionsLengths) {
    ItemList design;
    auto pattern = [&design](int32_t id, std::vector<double> lengths) {
        ItemRecord* definition = CreateRecord(design, id);
        definition->recordClass = RecordClass::LinePattern;
        for (size_t i = 0; i < lengths.size(); ++i) {
            definition->segmentLengths[i] = lengths[i];
        }
        definition->segmentCount = static_cast<int32_t>(lengths.size());
    };
    pattern(-1, {2.0, 1.0});
    pattern(-2, {2.00005, 0.99995});
    pattern(-3, {2.0, 1.0, 2.0});
    pattern(-4, {2.0, 1.0002});
    pattern(-5, {});
    auto line = [&design](int32_t dashPattern) {
        ItemRecord* item = CreateRecord(design, ItemKind::Line);
        item->dashPattern = dashPattern;
        return item;
    };
    struct Case {
        int32_t a, b;
        bool same;
    };
    const Case cases[] = {
        {2, 2, true},    {2, 3, false},  {0, 0, true},    {4, -1, false}, // built-in: the number decides
        {-1, -2, true},  {-1, -3, false}, {-1, -4, false}, {-1, 2, false},  // lengths within 0.0001 mm
        {-1, -9, false}, {-9, -9, false}, {-5, -5, false},                   // no definition, no segments
    };
    for (const Case& each : cases) {
        EXPECT_EQ(SamePattern(design, line(each.a), line(each.b)), each.same) << each.a << " " << each.b;
    }
    EXPECT_FALSE(SamePattern(design, nullptr, line(2)));
    EXPECT_FALSE(SamePattern(design, line(2), nullptr));
}

} // namespace
} // namespace vlr

