// The customisation pages driven as a user drives them: a slot chosen in the column, values
// typed, Save; what reaches the settings, the side panels' lists and the store, and what a
// refused Save leaves. Also the shadow page's labels, light boxes and sample.
#include "pagedriver.h"
#include "styles/directions.h"
#include "styles/patterns.h"
#include "styles/shadow.h"
#include "styles/thickness.h"

#include "model/prompt.h"
#include "platform/inistore.h"
#include "render/rastercanvas.h"
#include "settings/params.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <memory>

namespace vlr {
namespace {

using test::ChooseUnit;
using test::ClickSlot;
using test::Type;

class RecordingPrompt : public Prompt {
public:
    PromptAnswer Ask(PromptIcon, std::string_view text, PromptButtons) override {
        asked.emplace_back(text);
        return PromptAnswer::Ok;
    }
    std::vector<std::string> asked;
};

class StylePages : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        store = std::make_unique<IniRegistryStore>(folder.path());
        InitSettings(params, *store);
    }
    template <typename Page> void Open(Page& page) {
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    StoredValue<std::string> Stored(const char* key, const char* name) {
        return store->OpenKey(std::string("Software/Tessarine/") + key)->ReadString(name);
    }
    bool KeyWritten(const char* key) {
        return QFile::exists(store->FileOfKey(std::string("Software/Tessarine/") + key));
    }

    QTemporaryDir folder;
    std::unique_ptr<IniRegistryStore> store;
    TParams params;
    RecordingPrompt prompt;
};

TEST_F(StylePages, ASavedWeightReachesTheListsAndTheStore) {
    TThickness page(params, *store, prompt);
    Open(page);
    ASSERT_EQ(page.SlotColumn()->count(), 12);
    EXPECT_EQ(page.SlotColumn()->item(2)->text(), "Weight C");
    EXPECT_FALSE(page.NameField()->isVisible());

    ClickSlot(page, 2);
    EXPECT_EQ(page.ChosenSlot(), 2);
    EXPECT_TRUE(page.NameField()->isVisible());
    EXPECT_EQ(page.NameField()->text(), "Weight C");
    EXPECT_EQ(page.ThicknessField()->text(), "0");
    Type(page.NameField(), " Hairline ");
    EXPECT_EQ(page.SlotColumn()->item(2)->text(), "Hairline"); // at once
    Type(page.ThicknessField(), "1/2");
    ChooseUnit(page.UnitsBox(), 2);
    EXPECT_EQ(page.Working()[2].units, 3);
    EXPECT_EQ(params.slots.weights[2].name, "Weight C"); // the page works on its own copy

    ASSERT_TRUE(page.RunAction());
    const custThicknessRec_t& saved = params.slots.weights[2];
    EXPECT_EQ(saved.name, "Hairline");
    EXPECT_TRUE(saved.offered);
    EXPECT_DOUBLE_EQ(saved.millimetres, 12.7);
    // The weight list shows it after its six built-in weights and "Customize...", and hands
    // the chosen entry to the panel that builds it.
    StyleList list;
    WeightHandOver handOver = BuildWeightList(list, params);
    ASSERT_EQ(list.count(), 8);
    EXPECT_EQ(list.entries[7], "Hairline");
    EXPECT_EQ(handOver.position, 7);
    EXPECT_DOUBLE_EQ(handOver.millimetres, 12.7);
    // Stored at once, as typed.
    EXPECT_EQ(Stored("CustomWidths", "nameC").value, "Hairline");
    EXPECT_EQ(Stored("CustomWidths", "valueC").value, "1/2");
    EXPECT_EQ(store->OpenKey("Software/Tessarine/CustomWidths")->ReadInteger("unitsC").value, 3);
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(StylePages, ARefusedSaveShowsTheSlotAndKeepsSettingsAndStore) {
    TThickness page(params, *store, prompt);
    Open(page);
    const custThickness_t before = params.slots.weights;
    ClickSlot(page, 5);
    Type(page.ThicknessField(), "1e999");
    ClickSlot(page, 0);
    Type(page.ThicknessField(), "2");

    EXPECT_FALSE(page.RunAction());
    EXPECT_EQ(prompt.asked, std::vector<std::string>{"The thickness of \"Weight F\" is not a number."});
    EXPECT_EQ(page.ChosenSlot(), 5);
    EXPECT_EQ(page.ThicknessField()->text(), "1e999");
    EXPECT_EQ(params.slots.weights, before);
    EXPECT_FALSE(KeyWritten("CustomWidths"));

    // Mended, it saves; what the user typed elsewhere was kept.
    Type(page.ThicknessField(), "0");
    EXPECT_TRUE(page.RunAction());
    EXPECT_TRUE(params.slots.weights[0].offered);
    EXPECT_FALSE(params.slots.weights[5].offered);
}

TEST_F(StylePages, ASavedPatternIsListedAndHandedOver) {
    TPatterns page(params, *store, prompt);
    Open(page);
    ClickSlot(page, 1);
    Type(page.NameField(), "Dots");
    ChooseUnit(page.UnitsBox(), 1);
    Type(page.LengthField(0), "2");
    Type(page.LengthField(1), "1");
    Type(page.LengthField(2), "2");
    ASSERT_TRUE(page.RunAction());

    const custPatternRec_t& saved = params.slots.patterns[1];
    EXPECT_TRUE(saved.offered);
    EXPECT_EQ(saved.units, 2);
    EXPECT_EQ(saved.count, 3);
    StyleList list;
    BuildPatternList(list, params);
    ASSERT_EQ(list.count(), 7);
    EXPECT_EQ(list.entries[6], "Dots");
    EXPECT_EQ(params.state.linePattern, 6);
    EXPECT_EQ(Stored("CustomPatterns", "valueB3").value, "2");
}

TEST_F(StylePages, DirectionsPageEditsOneListAtATime) {
    struct Case {
        DirectionList list;
        const char* typed;
        int unit; // list position; -1 for no units list
        double value;
    };
    const Case cases[] = {
        {DirectionList::LineDirections, "-90", 0, 270.0},
        {DirectionList::TextAngles, "3.14159", 1, 3.14159 * 180.0 / 3.14159265358979323846},
        {DirectionList::FontSizes, "40", -1, 40.0},
    };
    for (const Case& c : cases) {
        TDirections page(c.list, params, *store, prompt);
        Open(page);
        ClickSlot(page, 3);
        EXPECT_EQ(page.UnitsBox() == nullptr, c.unit < 0);
        Type(page.NameField(), "Mine");
        Type(page.ValueField(), c.typed);
        if (page.UnitsBox()) {
            ChooseUnit(page.UnitsBox(), c.unit);
        }
        ASSERT_TRUE(page.RunAction()) << c.typed;
    }
    EXPECT_DOUBLE_EQ(params.slots.directions[3].value, 270.0);
    EXPECT_NEAR(params.slots.textAngles[3].value, 180.0, 0.001);
    EXPECT_EQ(params.slots.fontSizes[3].value, 40.0);
    EXPECT_FALSE(params.slots.directions[2].offered);

    StyleList angles, sizes;
    BuildAngleList(angles, params, AngleList::TextAngles);
    EXPECT_EQ(angles.entries.at(6), "Mine");
    EXPECT_EQ(params.state.tangletab, 6);
    EXPECT_EQ(params.state.tangle, 1800);
    BuildSizeList(sizes, params);
    EXPECT_EQ(sizes.entries.at(17), "Mine");
    EXPECT_EQ(params.state.tsize, 40);
    EXPECT_EQ(Stored("CustomAngles", "valueD").value, "3.14159");
    EXPECT_EQ(Stored("CustomSizes", "nameD").value, "Mine");
}

// Sets the numeric C locale to one whose decimal point is a comma and Qt's default locale to
// German while it lives. Where no such locale is installed, one with only a numeric part is made.
class CommaLocale {
public:
    CommaLocale() : previousQt_(QLocale()), previousC_(std::setlocale(LC_NUMERIC, nullptr)) {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (std::setlocale(LC_NUMERIC, name) && active()) {
                return;
            }
        }
        if (!made_.isValid()) {
            return;
        }
        QFile source(made_.filePath("comma"));
        if (!source.open(QIODevice::WriteOnly)) {
            return;
        }
        source.write(
            "LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"<U002E>\"\ngrouping 3\nEND LC_NUMERIC\n");
        source.close();
        // Without the other categories localedef warns and exits with 1, but writes the locale.
        QProcess localedef;
        localedef.start("localedef",
                        {"-c", "-i", source.fileName(), "-f", "UTF-8", made_.filePath("comma.UTF-8")});
        localedef.waitForFinished();
        qputenv("LOCPATH", made_.path().toLocal8Bit());
        std::setlocale(LC_NUMERIC, "comma.UTF-8");
    }
    ~CommaLocale() {
        std::setlocale(LC_NUMERIC, previousC_.c_str());
        qunsetenv("LOCPATH");
        QLocale::setDefault(previousQt_);
    }
    static bool active() { return std::string(std::localeconv()->decimal_point) == ","; }

private:
    QLocale previousQt_;
    std::string previousC_;
    QTemporaryDir made_;
};

TEST_F(StylePages, TypedNumbersReadTheSameWhateverTheLocale) {
    CommaLocale comma;
    EXPECT_EQ(QLocale().decimalPoint(), ",");
    if (!CommaLocale::active()) {
        ADD_FAILURE() << "no locale with a decimal comma could be set; only Qt's default locale was tried";
    }
    TThickness weights(params, *store, prompt);
    Open(weights);
    ClickSlot(weights, 0);
    Type(weights.ThicknessField(), "0.5");
    ChooseUnit(weights.UnitsBox(), 1);
    ClickSlot(weights, 1);
    Type(weights.ThicknessField(), "1.000");
    ChooseUnit(weights.UnitsBox(), 1);
    ClickSlot(weights, 2);
    Type(weights.ThicknessField(), "2,5");
    ChooseUnit(weights.UnitsBox(), 1);
    ASSERT_TRUE(weights.RunAction());
    EXPECT_DOUBLE_EQ(params.slots.weights[0].millimetres, 0.5);
    EXPECT_DOUBLE_EQ(params.slots.weights[1].millimetres, 1.0); // not a thousand
    EXPECT_DOUBLE_EQ(params.slots.weights[2].millimetres, 2.5);

    TDirections angles(DirectionList::LineDirections, params, *store, prompt);
    Open(angles);
    ClickSlot(angles, 0);
    Type(angles.ValueField(), "22.5");
    ASSERT_TRUE(angles.RunAction());
    EXPECT_DOUBLE_EQ(params.slots.directions[0].value, 22.5);
    EXPECT_EQ(Stored("CustomDirections", "valueA").value, "22.5");
}

TEST(ShadowPercent, RoundedPercentOrNone) {
    const std::pair<int, const char*> cases[] = {{0, "None"}, {1, "None"},  {2, "1%"},
                                                 {85, "33%"}, {128, "50%"}, {255, "100%"}};
    for (auto [position, label] : cases) {
        EXPECT_EQ(ShadowPercent(position), label) << position;
    }
}

TEST_F(StylePages, ShadowPageEditsSlotsAndTheLightDirection) {
    params.state.lgtdir = 1;
    int applied = 0;
    TShadow page(params, *store, prompt, [&applied] { ++applied; });
    Open(page);
    EXPECT_TRUE(page.LightBox(1)->isChecked());
    ClickSlot(page, 0);
    EXPECT_EQ(page.TrackBar(0)->value(), 85);
    EXPECT_EQ(page.TrackLabel(0)->text(), "33%");
    EXPECT_EQ(page.ShowBox()->text(), "Show 'Shadow A' in the shadows selection menu");
    EXPECT_FALSE(page.Sample()->pixmap().isNull());

    Type(page.NameField(), "Soft");
    EXPECT_EQ(page.ShowBox()->text(), "Show 'Soft' in the shadows selection menu");
    EXPECT_EQ(page.SlotColumn()->item(0)->text(), "Soft");
    QTest::keyClick(page.TrackBar(0), Qt::Key_End);
    QTest::keyClick(page.TrackBar(1), Qt::Key_Home);
    EXPECT_EQ(page.TrackLabel(0)->text(), "100%");
    EXPECT_EQ(page.TrackLabel(1)->text(), "None");
    QTest::mouseClick(page.ShowBox(), Qt::LeftButton);
    EXPECT_EQ(page.Working()[0].show, 1);
    EXPECT_EQ(page.Working()[0].edited, 1);

    // The light boxes act as one choice; clicking the checked one keeps it.
    QTest::mouseClick(page.LightBox(3), Qt::LeftButton);
    QTest::mouseClick(page.LightBox(3), Qt::LeftButton);
    for (int direction = 0; direction < 4; ++direction) {
        EXPECT_EQ(page.LightBox(direction)->isChecked(), direction == 3) << direction;
    }
    ClickSlot(page, 4);
    EXPECT_EQ(page.Working()[0].chosen, 0);
    EXPECT_EQ(page.Working()[4].chosen, 1);
    EXPECT_EQ(params.slots.shadows[0].name, "Shadow A");
    EXPECT_EQ(applied, 0);

    ASSERT_TRUE(page.RunAction());
    EXPECT_EQ(params.slots.shadows[0].name, "Soft");
    EXPECT_EQ(params.slots.shadows[0].elevation, 255);
    EXPECT_EQ(params.slots.shadows[0].fade, 0);
    EXPECT_EQ(params.state.lgtdir, 3);
    EXPECT_EQ(applied, 1);
    StyleList list;
    BuildShadowList(list, params);
    EXPECT_EQ(list.entries.at(5), "Soft");
    // Elevation 255, fade 0, lightness 85, shown: 255 + 85 x 65536 + 16777216.
    EXPECT_EQ(store->OpenKey("Software/Tessarine/CustomShadows")->ReadInteger("valueA").value,
              255 + 85 * 65536 + 16777216);
    EXPECT_EQ(store->OpenKey("Software/Tessarine/CustomSettings")->ReadInteger("lgtdir").value, 3);
}

TEST(ShadowSample, SquareShadowByLightDirectionElevationAndFade) {
    // 240 x 150: the square spans x 40 ... 139, y 25 ... 124. Elevation 85 is 10 steps, 10 pixels
    // at 96 dpi; lightness 128 darkens white to 128.
    const ScreenResolution screen;
    const int32_t white = 0xFFFFFF, grey = 0x808080, blue = 0xFF0000;
    auto colourAt = [](const QImage& image, int x, int y) { return ColourFromQRgb(image.pixel(x, y)); };
    custShadowRec_t shadow{"S", 85, 0, 128, 0, 0, 0};

    QImage topLeft = ShadowSample({240, 150}, shadow, 0, screen, white);
    EXPECT_EQ(colourAt(topLeft, 90, 75), blue);
    EXPECT_EQ(colourAt(topLeft, 145, 130), grey); // the shadow spans x 50 ... 149, y 35 ... 134
    EXPECT_EQ(colourAt(topLeft, 149, 134), grey);
    EXPECT_EQ(colourAt(topLeft, 150, 134), white);
    EXPECT_EQ(colourAt(topLeft, 45, 128), white);
    EXPECT_EQ(colourAt(topLeft, 35, 20), white);

    // Light from the bottom right throws it up and to the left.
    QImage bottomRight = ShadowSample({240, 150}, shadow, 3, screen, white);
    EXPECT_EQ(colourAt(bottomRight, 30, 15), grey);
    EXPECT_EQ(colourAt(bottomRight, 29, 15), white);
    EXPECT_EQ(colourAt(bottomRight, 145, 130), white);

    // Without elevation the shadow lies under the square; a fade shows it as a halo.
    shadow.elevation = 0;
    shadow.fade = 85;
    QImage halo = ShadowSample({240, 150}, shadow, 0, screen, white);
    EXPECT_LT(colourAt(halo, 38, 75) & 0xFF, 255);
    EXPECT_EQ(colourAt(halo, 5, 5), white);
    EXPECT_EQ(colourAt(halo, 40, 75), blue);
}

} // namespace
} // namespace vlr
