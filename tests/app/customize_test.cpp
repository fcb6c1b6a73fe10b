// The Customize menu: each entry opens its page in its host; what is typed into a page and
// saved reaches the side panels' lists, the store and the panels' rebuild; Cancel changes
// nothing; saved shadows light every open design from the new direction.
#include "canvas/sandbox.h"
#include "canvas/shadowedsquare.h"
#include "mainwindowfixture.h"
#include "styles/directions.h"
#include "styles/pagedriver.h"
#include "styles/patterns.h"
#include "styles/shadow.h"
#include "styles/thickness.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QLabel>
#include <QSlider>

#include <map>

namespace vlr {
namespace {

using test::ChooseUnit;
using test::ClickSlot;
using test::Type;

class CustomizeTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        form->hooks.panels.styleListsChanged = [this](int page, bool smallHost) {
            rebuilt.emplace_back(page, smallHost);
        };
    }
    // Opens a page from the menu.
    template <typename Page> Page& Open(const char* path, TDialogHost* host) {
        form->Action(path)->trigger();
        auto* page = dynamic_cast<Page*>(host->page());
        EXPECT_NE(page, nullptr) << path;
        return *page;
    }
    std::string Stored(const char* key, const char* name) {
        return store->OpenKey(std::string("Software/Tessarine/") + key)->ReadString(name).value;
    }
    // Every file of the settings folder with its contents.
    std::map<QString, QByteArray> StoreFiles() const {
        std::map<QString, QByteArray> files;
        for (QDirIterator it(folder.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            QFile file(it.next());
            files[file.fileName()] =
                file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
        }
        return files;
    }

    std::vector<std::pair<int, bool>> rebuilt;
};

TEST_F(CustomizeTest, EveryEntryOpensItsPageInItsHost) {
    const struct {
        const char* path;
        bool smallHost;
        int code;
        const char* title;
    } cases[] = {
        {"Customize/Line Weights", true, 9, "Customize Line Weights"},
        {"Customize/Line Patterns", false, 10, "Customize Line Patterns"},
        {"Customize/Alignments", false, 11, "Customize Line Angles"},
        {"Customize/Text angles", false, 40, "Customize Text Angles"},
        {"Customize/Font sizes", false, 41, "Customize Font Sizes"},
        {"Customize/Shadows", true, 63, "Customize Shadows"},
    };
    for (const auto& c : cases) {
        form->Action(c.path)->trigger();
        TDialogHost* host = c.smallHost ? formY.get() : formX.get();
        EXPECT_TRUE(host->isVisible()) << c.path;
        EXPECT_EQ(host->currentPage(), c.code) << c.path;
        EXPECT_EQ(host->windowTitle(), c.title) << c.path;
        EXPECT_NE(dynamic_cast<TSlotPage*>(host->page()), nullptr) << c.path;
        host->RightButtonClick();
    }
}

TEST_F(CustomizeTest, SavedSlotsReachThePanelsListsAndTheStoreAtOnce) {
    TThickness& weights = Open<TThickness>("Customize/Line Weights", formY.get());
    ClickSlot(weights, 0);
    Type(weights.NameField(), "Hairline");
    Type(weights.ThicknessField(), "1/2\"");
    formY->LeftButtonClick();

    TPatterns& patterns = Open<TPatterns>("Customize/Line Patterns", formX.get());
    ClickSlot(patterns, 1);
    ChooseUnit(patterns.UnitsBox(), 1);
    for (int j = 0; j < 3; ++j) {
        Type(patterns.LengthField(j), j == 1 ? "1" : "2");
    }
    formX->LeftButtonClick();

    // Text angles in radians; font sizes have no units.
    TDirections& angles = Open<TDirections>("Customize/Text angles", formX.get());
    ClickSlot(angles, 3);
    Type(angles.NameField(), "Steep");
    Type(angles.ValueField(), "-90");
    ChooseUnit(angles.UnitsBox(), 1);
    formX->LeftButtonClick();
    TDirections& sizes = Open<TDirections>("Customize/Font sizes", formX.get());
    EXPECT_EQ(sizes.UnitsBox(), nullptr);
    ClickSlot(sizes, 2);
    Type(sizes.ValueField(), "40");
    formX->LeftButtonClick();

    EXPECT_FALSE(formX->isVisible());
    EXPECT_EQ(rebuilt, (std::vector<std::pair<int, bool>>{{9, true}, {10, false}, {40, false}, {41, false}}));
    // The lists show the new entries after their built-in ones and "Customize...", and take over
    // the entry chosen last.
    TParams& params = form->params();
    StyleList list;
    EXPECT_EQ(BuildWeightList(list, params).position, 7);
    EXPECT_EQ(list.entries.at(7), "Hairline");
    EXPECT_EQ(WeightPosition(params.slots, 12.7), 7);
    BuildPatternList(list, params);
    EXPECT_EQ(list.entries.at(6), "Pattern B");
    EXPECT_EQ(params.slots.patterns[1].count, 3);
    BuildAngleList(list, params, AngleList::TextAngles);
    EXPECT_EQ(list.entries.at(6), "Steep");
    // -90 radians are -5156.62 degrees: 15 turns bring them to 243.38.
    EXPECT_EQ(params.state.tdir, 243);
    BuildSizeList(list, params);
    EXPECT_EQ(list.entries.at(17), "Size C");
    EXPECT_EQ(params.state.tsize, 40);
    // Stored as typed.
    EXPECT_EQ(Stored("CustomWidths", "nameA"), "Hairline");
    EXPECT_EQ(Stored("CustomWidths", "valueA"), "1/2");
    EXPECT_EQ(Stored("CustomWidths", "unitsA"), "3");
    EXPECT_EQ(Stored("CustomPatterns", "valueB2"), "1");
    EXPECT_EQ(Stored("CustomAngles", "unitsD"), "2");
    EXPECT_EQ(Stored("CustomSizes", "valueC"), "40");
}

TEST_F(CustomizeTest, CancelAndTheCloseBoxChangeNothing) {
    const StyleSlots before = form->params().slots;
    const auto files = StoreFiles();
    TPatterns& patterns = Open<TPatterns>("Customize/Line Patterns", formX.get());
    ClickSlot(patterns, 0);
    Type(patterns.NameField(), "Dots");
    Type(patterns.LengthField(0), "2");
    Type(patterns.LengthField(1), "1");
    formX->RightButtonClick();

    TShadow& shadows = Open<TShadow>("Customize/Shadows", formY.get());
    ClickSlot(shadows, 0);
    QTest::mouseClick(shadows.LightBox(3), Qt::LeftButton);
    formY->close();

    // The lists are rebuilt when a host hides, whatever closed it; there is nothing new in them.
    EXPECT_EQ(rebuilt, (std::vector<std::pair<int, bool>>{{10, false}, {63, true}}));
    EXPECT_EQ(form->params().slots, before);
    EXPECT_EQ(form->params().state.lgtdir, 0);
    EXPECT_EQ(StoreFiles(), files);
}

TEST_F(CustomizeTest, SavedShadowsLightEveryOpenDesignFromTheNewDirection) {
    const QString path = folder.filePath("square.vlrn");
    ASSERT_TRUE(test::WriteShadowedSquare(path));
    auto* window = new TSandbox(form->params(), *form, prompt);
    ASSERT_TRUE(window->OpenDesign(71, path));
    form->AddDesignView(window);
    test::FakeDesign* other = OpenDesign(72);
    auto painted = [window] { return !window->repaintPending() && !window->loading(); };
    ASSERT_TRUE(QTest::qWaitFor(painted, 5000));
    auto canvasRed = [window](int x, int y) { return qRed(window->canvas().image().pixel(x, y)); };
    EXPECT_LT(canvasRed(105, 105), 128); // lit from the top left: the shadow falls right and down
    EXPECT_EQ(canvasRed(45, 45), 255);

    TShadow& page = Open<TShadow>("Customize/Shadows", formY.get());
    ClickSlot(page, 0);
    EXPECT_EQ(page.TrackLabel(0)->text(), "33%"); // the factory 85
    Type(page.NameField(), "Soft");
    EXPECT_EQ(page.ShowBox()->text(), "Show 'Soft' in the shadows selection menu");
    QTest::keyClick(page.TrackBar(0), Qt::Key_End);
    QTest::keyClick(page.TrackBar(1), Qt::Key_Home);
    EXPECT_EQ(page.TrackLabel(0)->text(), "100%");
    EXPECT_EQ(page.TrackLabel(1)->text(), "None");
    QTest::mouseClick(page.ShowBox(), Qt::LeftButton);
    // The light boxes act as one choice; clicking the checked one keeps it.
    QTest::mouseClick(page.LightBox(3), Qt::LeftButton);
    QTest::mouseClick(page.LightBox(3), Qt::LeftButton);
    for (int direction = 0; direction < 4; ++direction) {
        EXPECT_EQ(page.LightBox(direction)->isChecked(), direction == 3) << direction;
    }
    formY->LeftButtonClick();

    EXPECT_EQ(form->params().slots.shadows[0], (custShadowRec_t{"Soft", 255, 0, 85, 1, 1, 1}));
    EXPECT_EQ(form->params().state.lgtdir, 3);
    // Elevation 255, fade 0, lightness 85, shown; the light direction with the settings.
    EXPECT_EQ(Stored("CustomShadows", "valueA"), std::to_string(255 + 85 * 65536 + 16777216));
    EXPECT_EQ(Stored("CustomSettings", "lgtdir"), "3");
    ASSERT_TRUE(QTest::qWaitFor(
        [other] { return FindRecord(other->items(), ItemKind::Header)->lightDirection == 3; }));
    EXPECT_EQ(FindRecord(window->items(), ItemKind::Header)->lightDirection, 3);
    ASSERT_TRUE(QTest::qWaitFor(painted, 5000));
    EXPECT_EQ(canvasRed(105, 105), 255);
    EXPECT_LT(canvasRed(45, 45), 128);
}

} // namespace
} // namespace vlr
