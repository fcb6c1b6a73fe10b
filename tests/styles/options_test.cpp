// The grid options and speed pages: what they read, what typing and clicking change, and what
// Save and Apply hand on.
#include "styles/options.h"
#include "styles/speed.h"

#include "model/prompt.h"
#include "settings/params.h"
#include "support/recordingprompt.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

namespace vlr {
namespace {

using test::RecordingPrompt;

defaults_t FactoryDefaults() {
    TParams params;
    SetFactorySettings(params);
    return params.state.defaults;
}

TEST(GridOptions, ADesignsOptionsAreItsHeadersFlagsAndDensitiesInItsUnit) {
    ItemList list;
    ItemRecord* header = CreateRecord(list, ItemKind::Header);
    header->units = 2;
    header->gridDensityX = 5.0;
    header->gridDensityY = 7.5;
    header->showGridX = 1;
    header->snapY = 1;
    header->anchorsX = header->anchorsY = 0;
    const defaults_t settings = FactoryDefaults();
    defaults_t options = GridOptionsOfDesign(header, settings, ',');
    EXPECT_EQ(options.units, 2);
    EXPECT_EQ(options.perUnit[1].gridXText, "5");
    EXPECT_EQ(options.perUnit[1].gridYText, "7,5");
    EXPECT_EQ(options.perUnit[0], settings.perUnit[0]);
    EXPECT_EQ(options.perUnit[2], settings.perUnit[2]);
    EXPECT_EQ(EncodeGridFlags(options), 32 + 1);

    // Saved back unchanged, nothing changes; a new density and flag do, and mark the design.
    ASSERT_EQ(ParseGridDensities(options), std::nullopt);
    EXPECT_FALSE(ApplyGridOptions(header, options));
    EXPECT_EQ(header->modified, 0);
    options.perUnit[1].gridXText = "12,5";
    options.anchorsX = 1;
    ASSERT_EQ(ParseGridDensities(options), std::nullopt);
    EXPECT_TRUE(ApplyGridOptions(header, options));
    EXPECT_EQ(double(header->gridDensityX), 12.5);
    EXPECT_EQ(double(header->gridDensityY), 7.5);
    EXPECT_EQ(header->anchorsX, 1);
    EXPECT_EQ(header->modified, 1);
}

TEST(GridOptions, TypingADensityChangesOnlyTheUnitInUseAndABadOneIsRefused) {
    defaults_t settings = FactoryDefaults(); // inches
    RecordingPrompt prompt;
    TOptions page(settings, prompt);
    std::optional<defaults_t> saved;
    page.save = [&saved](const defaults_t& options) { saved = options; };
    page.GridDensity[0]->clear();
    QTest::keyClicks(page.GridDensity[0], "1/2");
    page.ShowGridlines[1]->click();
    page.SnapToGrid[0]->click();
    EXPECT_EQ(page.options().perUnit[2].gridXText, "1/2");
    EXPECT_EQ(page.options().perUnit[0], settings.perUnit[0]);
    EXPECT_EQ(page.options().perUnit[1], settings.perUnit[1]);
    EXPECT_EQ(page.options().showGridY, 1);
    EXPECT_EQ(page.options().snapX, 1);
    EXPECT_FALSE(saved);

    for (const char* bad : {"", "0", "-2", "wide"}) {
        page.GridDensity[1]->setText(bad);
        EXPECT_FALSE(page.RunAction()) << bad;
    }
    EXPECT_FALSE(saved);
    ASSERT_EQ(prompt.asked.size(), 4u);
    EXPECT_EQ(prompt.asked[0], "The grid density must be a number greater than zero.");

    page.GridDensity[1]->setText("0.125");
    EXPECT_TRUE(page.RunAction());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->perUnit[2].gridX, 0.5);
    EXPECT_EQ(saved->perUnit[2].gridY, 0.125);
    EXPECT_EQ(saved->showGridY, 1);
}

TEST(Speed, ClicksChangeThePagesCopyAndApplyHandsItOn) {
    Tspeed page({.pictures = true, .shadows = true, .surfaces = false});
    EXPECT_FALSE(page.Show3D->isChecked());
    std::optional<DisplaySwitches> applied;
    page.apply = [&applied](const DisplaySwitches& switches) { applied = switches; };
    page.ShowShadows->click();
    page.Show3D->click();
    EXPECT_FALSE(applied);
    EXPECT_TRUE(page.RunAction());
    EXPECT_EQ(applied, (DisplaySwitches{.pictures = true, .shadows = false, .surfaces = true}));
}

} // namespace
} // namespace vlr
