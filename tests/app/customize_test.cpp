// The Customize menu: each entry opens its page in its host; Save reaches the side panels' lists,
// the store and the panels' rebuild, Cancel changes nothing, and saved shadows light every open
// design from the new direction.
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
#include <QLineEdit>
#include <QListWidget>

#include <map>

namespace vlr {
namespace {

using test::ClickSlot;
using test::Type;

class CustomizeTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        form->hooks.styleListsChanged = [this](int page, bool smallHost) {
            rebuilt.emplace_back(page, smallHost);
        };
    }
    template <typename Page> Page* Shown(TDialogHost* host) { return dynamic_cast<Page*>(host->page()); }
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
    struct Case {
        const char* path;
        bool smallHost;
        int code;
        const char* title;
    };
    const Case cases[] = {
        {"Customize/Line Weights", true, 9, "Customize Line Weights"},
        {"Customize/Line Patterns", false, 10, "Customize Line Patterns"},
        {"Customize/Alignments", false, 11, "Customize Line Angles"},
        {"Customize/Text angles", false, 40, "Customize Text Angles"},
        {"Customize/Font sizes", false, 41, "Customize Font Sizes"},
        {"Customize/Shadows", true, 63, "Customize Shadows"},
    };
    for (const Case& c : cases) {
        form->Action(c.path)->trigger();
        TDialogHost* host = c.smallHost ? formY.get() : formX.get();
        EXPECT_TRUE(host->isVisible()) << c.path;
        EXPECT_EQ(host->currentPage(), c.code) << c.path;
        EXPECT_EQ(host->windowTitle(), c.title) << c.path;
        EXPECT_EQ(host->leftButton()->text(), "Save") << c.path;
        ASSERT_NE(dynamic_cast<TSlotPage*>(host->page()), nullptr) << c.path;
        host->RightButtonClick();
    }
    EXPECT_EQ(Shown<TDirections>(formX.get()), nullptr);
    form->Action("Customize/Font sizes")->trigger();
    ASSERT_NE(Shown<TDirections>(formX.get()), nullptr);
    EXPECT_EQ(Shown<TDirections>(formX.get())->list(), DirectionList::FontSizes);
}

TEST_F(CustomizeTest, ASavedWeightReachesThePanelsListsAndTheStore) {
    form->Action("Customize/Line Weights")->trigger();
    TThickness* page = Shown<TThickness>(formY.get());
    ASSERT_NE(page, nullptr);
    ClickSlot(*page, 0);
    Type(page->NameField(), "Hairline");
    Type(page->ThicknessField(), "1/2\"");
    formY->LeftButtonClick();

    EXPECT_FALSE(formY->isVisible());
    EXPECT_EQ(rebuilt, (std::vector<std::pair<int, bool>>{{9, true}}));
    StyleList list;
    BuildWeightList(list, form->params());
    ASSERT_EQ(list.count(), 8);
    EXPECT_EQ(list.entries[7], "Hairline");
    EXPECT_EQ(WeightPosition(form->params().slots, 12.7), 7);
    EXPECT_EQ(store->OpenKey("Software/Tessarine/CustomWidths")->ReadString("nameA").value, "Hairline");
    EXPECT_EQ(store->OpenKey("Software/Tessarine/CustomWidths")->ReadInteger("unitsA").value, 3);
}

TEST_F(CustomizeTest, CancelAndTheCloseBoxChangeNothing) {
    const StyleSlots before = form->params().slots;
    const auto files = StoreFiles();
    form->Action("Customize/Line Patterns")->trigger();
    TPatterns* patterns = Shown<TPatterns>(formX.get());
    ASSERT_NE(patterns, nullptr);
    ClickSlot(*patterns, 0);
    Type(patterns->NameField(), "Dots");
    Type(patterns->LengthField(0), "2");
    Type(patterns->LengthField(1), "1");
    formX->RightButtonClick();

    form->Action("Customize/Shadows")->trigger();
    TShadow* shadows = Shown<TShadow>(formY.get());
    ASSERT_NE(shadows, nullptr);
    ClickSlot(*shadows, 0);
    QTest::mouseClick(shadows->LightBox(3), Qt::LeftButton);
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

    form->Action("Customize/Shadows")->trigger();
    TShadow* page = Shown<TShadow>(formY.get());
    ASSERT_NE(page, nullptr);
    QTest::mouseClick(page->LightBox(3), Qt::LeftButton);
    formY->LeftButtonClick();

    EXPECT_EQ(form->params().state.lgtdir, 3);
    EXPECT_EQ(store->OpenKey(kSettingsKey)->ReadInteger("lgtdir").value, 3);
    ASSERT_TRUE(QTest::qWaitFor(
        [other] { return FindRecord(other->items(), ItemKind::Header)->lightDirection == 3; }));
    EXPECT_EQ(FindRecord(window->items(), ItemKind::Header)->lightDirection, 3);
    ASSERT_TRUE(QTest::qWaitFor(painted, 5000));
    EXPECT_EQ(canvasRed(105, 105), 255);
    EXPECT_LT(canvasRed(45, 45), 128);
}

} // namespace
} // namespace vlr
