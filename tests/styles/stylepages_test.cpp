// The customisation pages driven as a user drives them: what a refused Save leaves, typed
// numbers under a German locale; and the shadow page's sample.
#include "pagedriver.h"
#include "styles/shadow.h"
#include "styles/thickness.h"

#include "model/prompt.h"
#include "platform/inistore.h"
#include "render/rastercanvas.h"
#include "settings/params.h"
#include "support/recordingprompt.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <clocale>
#include <memory>

namespace vlr {
namespace {

using test::ChooseUnit;
using test::ClickSlot;
using test::Type;

using test::RecordingPrompt;

class StylePages : public ::testing::Test {
protected:
    void SetUp() override {
        store = std::make_unique<IniRegistryStore>(folder.path());
        InitSettings(params, *store);
    }
    template <typename Page> void Open(Page& page) {
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    QTemporaryDir folder;
    std::unique_ptr<IniRegistryStore> store;
    TParams params;
    RecordingPrompt prompt;
};

TEST_F(StylePages, ARefusedSaveShowsTheSlotAndKeepsSettingsAndStore) {
    TThickness page(params, *store, prompt);
    Open(page);
    EXPECT_FALSE(page.NameField()->isVisible()); // until a slot is chosen
    const custThickness_t before = params.slots.weights;
    ClickSlot(page, 5);
    Type(page.ThicknessField(), "1e999");
    ClickSlot(page, 0);
    Type(page.NameField(), " Hairline ");
    EXPECT_EQ(page.SlotColumn()->item(0)->text(), "Hairline"); // at once
    Type(page.ThicknessField(), "2");

    EXPECT_FALSE(page.RunAction());
    EXPECT_EQ(prompt.asked, std::vector<std::string>{"The thickness of \"Weight F\" is not a number."});
    EXPECT_EQ(page.ChosenSlot(), 5);
    EXPECT_EQ(page.ThicknessField()->text(), "1e999");
    EXPECT_EQ(params.slots.weights, before);
    EXPECT_FALSE(QFile::exists(store->FileOfKey("Software/Tessarine/CustomWidths")));

    // Mended, it saves what was typed in the other slot too.
    Type(page.ThicknessField(), "0");
    EXPECT_TRUE(page.RunAction());
    EXPECT_EQ(params.slots.weights[0].name, "Hairline");
    EXPECT_TRUE(params.slots.weights[0].offered);
    EXPECT_FALSE(params.slots.weights[5].offered);
}

// Sets the numeric C locale to one whose decimal point is a comma and Qt's default locale to
// German while it lives. Where no such locale is installed, one with only a numeric part is made.
class CommaLocale {
public:
    CommaLocale() : previousQt_(QLocale()), previousC_(std::setlocale(LC_NUMERIC, nullptr)) {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        if ((std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && active()) || !made_.isValid()) {
            return;
        }
        QFile source(made_.filePath("comma"));
        if (source.open(QIODevice::WriteOnly)) {
            source.write("LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"<U002E>\"\ngrouping 3\n"
                         "END LC_NUMERIC\n");
            source.close();
        }
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
    EXPECT_TRUE(CommaLocale::active()) << "no numeric locale with a decimal comma could be set";
    TThickness weights(params, *store, prompt);
    Open(weights);
    const char* typed[] = {"0.5", "1.000", "2,5"};
    for (int slot = 0; slot < 3; ++slot) {
        ClickSlot(weights, slot);
        Type(weights.ThicknessField(), typed[slot]);
        ChooseUnit(weights.UnitsBox(), 1);
    }
    ASSERT_TRUE(weights.RunAction());
    EXPECT_DOUBLE_EQ(params.slots.weights[0].millimetres, 0.5);
    EXPECT_DOUBLE_EQ(params.slots.weights[1].millimetres, 1.0); // not a thousand
    EXPECT_DOUBLE_EQ(params.slots.weights[2].millimetres, 2.5);
}

TEST(ShadowSample, SquareShadowByLightDirectionElevationAndFade) {
    // 240 x 150: the square spans x 40 ... 139, y 25 ... 124. Elevation 85 is 10 steps, 10 pixels
    // at 96 dpi; lightness 128 darkens white to 128.
    const int32_t white = 0xFFFFFF, grey = 0x808080, blue = 0xFF0000;
    custShadowRec_t shadow{"S", 85, 0, 128, 0, 0, 0};
    auto at = [&shadow](int direction, int x, int y) {
        return ColourFromQRgb(ShadowSample({240, 150}, shadow, direction, {}, white).pixel(x, y));
    };
    EXPECT_EQ(at(0, 90, 75), blue);
    EXPECT_EQ(at(0, 149, 134), grey); // the shadow spans x 50 ... 149, y 35 ... 134
    EXPECT_EQ(at(0, 150, 134), white);
    EXPECT_EQ(at(0, 45, 128), white);
    // Light from the bottom right throws it up and to the left.
    EXPECT_EQ(at(3, 30, 15), grey);
    EXPECT_EQ(at(3, 29, 15), white);
    EXPECT_EQ(at(3, 145, 130), white);
    // Without elevation the shadow lies under the square; a fade shows it as a halo.
    shadow.elevation = 0;
    shadow.fade = 85;
    EXPECT_LT(at(0, 38, 75) & 0xFF, 255);
    EXPECT_EQ(at(0, 5, 5), white);
}

} // namespace
} // namespace vlr
