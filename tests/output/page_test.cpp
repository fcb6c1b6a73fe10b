// The page-setup wizard: the page setups it opens with, its two steps as the user walks them,
// its sample area, and what Apply does to a design and to the page setups of new files.
#include "output/page.h"

#include "model/itemkind.h"
#include "model/prompt.h"
#include "output/pagebox.h"
#include "output/pagedim.h"
#include "settings/designtype.h"
#include "settings/pagepresets.h"
#include "settings/params.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace vlr {
namespace {

class RecordingPrompt : public Prompt {
public:
    PromptAnswer Ask(PromptIcon, std::string_view text, PromptButtons) override {
        told.emplace_back(text);
        return PromptAnswer::Ok;
    }
    std::vector<std::string> told;
};

// The fourteen texts of a header, each followed by the separator.
std::u16string HeaderTexts(std::initializer_list<const char16_t*> texts) {
    std::u16string joined;
    for (const char16_t* text : texts) {
        joined += text;
        joined.push_back(kLineSeparator);
    }
    return joined;
}

ItemRecord* AddHeader(ItemList& design, int32_t type, int32_t unit) {
    ItemRecord* header = CreateRecord(design, ItemKind::Header);
    header->recordClass = RecordClass::Header;
    header->designType = type;
    header->units = unit;
    header->zoom = 1.0;
    header->pxPerUnitX = header->pxPerUnitY = unit == 2 ? 96.0 / 25.4 : unit == 3 ? 96.0 : 1.0;
    return header;
}

TEST(OpenPageSetups, TheHeadersPageGoesOverTheNewFilePageOfItsType) {
    pagesetArr_t newFiles;
    for (int32_t type = 1; type <= kDesignTypeCount; ++type) {
        newFiles[type - 1] = DefaultPageSetup(type, 3);
    }
    EXPECT_EQ(OpenPageSetups(newFiles, nullptr).chosenType, DesignType::BusinessCards);
    EXPECT_EQ(OpenPageSetups(newFiles, nullptr).working, newFiles);

    ItemList design;
    ItemRecord* header = AddHeader(design, DesignType::Labels, 2);
    header->orientation = 2;
    header->presetIndex = 3;
    header->rowFold = 1;
    header->wideText =
        HeaderTexts({u"297", u"210", u"50", u"30", u"5", u"14", u"5", u"14", u"9", u"4", u"", u"", u"", u""});
    const PageOpening opening = OpenPageSetups(newFiles, header);
    EXPECT_EQ(opening.chosenType, DesignType::Labels);
    const pageset_t& labels = opening.working[DesignType::Labels - 1];
    EXPECT_EQ(labels.units, 2);
    EXPECT_EQ(labels.orientation, 2);
    const miry_t& block = labels.dims[1];
    EXPECT_EQ(block.paperWidth, "297");
    EXPECT_EQ(block.columns, "4");
    EXPECT_EQ(block.preset, 3);
    EXPECT_EQ(block.rowFold, 1);
    EXPECT_EQ(block.columnFold, 0);
    // The other units' blocks and the other types stay the new-file ones.
    EXPECT_EQ(labels.dims[0], newFiles[DesignType::Labels - 1].dims[0]);
    EXPECT_EQ(labels.dims[2], newFiles[DesignType::Labels - 1].dims[2]);
    EXPECT_EQ(opening.working[DesignType::BusinessCards - 1], newFiles[DesignType::BusinessCards - 1]);

    // An unknown unit takes the type alone; a type outside 1 ... 11 leaves it to the chooser.
    header->units = 7;
    EXPECT_EQ(OpenPageSetups(newFiles, header).chosenType, DesignType::Labels);
    header->designType = -DesignType::Labels;
    EXPECT_EQ(OpenPageSetups(newFiles, header).chosenType, DesignType::Labels);
    EXPECT_EQ(OpenPageSetups(newFiles, header).working, newFiles);
    for (int32_t type : {0, 12, -12, INT32_MIN}) {
        header->designType = type;
        EXPECT_EQ(OpenPageSetups(newFiles, header).chosenType, 0) << type;
    }
}

TEST(ApplyNewFilePageSetups, NewFilesTakeTheTypeAndTheUnitAndPaperOfItsPage) {
    TParams params;
    SetFactorySettings(params);
    pagesetArr_t working = params.state.pagesets;
    pageset_t& illustrations = working[DesignType::Illustrations - 1];
    illustrations.units = 2;
    illustrations.dims[1].paperWidth = "297";
    illustrations.dims[1].paperHeight = "420";
    ApplyNewFilePageSetups(params, working, DesignType::Illustrations);
    EXPECT_EQ(params.state.pagesets, working);
    EXPECT_EQ(params.state.pspage, DesignType::Illustrations);
    const defaults_t& defaults = params.state.defaults;
    EXPECT_EQ(defaults.units, 2);
    EXPECT_DOUBLE_EQ(defaults.pxPerUnitX, params.screen.dpiX() / 25.4);
    EXPECT_EQ(defaults.perUnit[1].canvasTexts.width, "297");
    EXPECT_EQ(defaults.perUnit[1].canvasTexts.height, "420");
    EXPECT_EQ(defaults.perUnit[1].canvasWidth, 297.0);
    EXPECT_EQ(defaults.perUnit[1].canvasHeight, 420.0);

    // A paper that does not read leaves the unit and canvas of new designs alone.
    illustrations.units = 3;
    illustrations.dims[2].paperWidth = "wide";
    const defaults_t before = params.state.defaults;
    ApplyNewFilePageSetups(params, working, DesignType::Illustrations);
    EXPECT_EQ(params.state.defaults, before);
    EXPECT_EQ(params.state.pagesets, working);
}

class PageTest : public ::testing::Test {
protected:
    void SetUp() override { SetFactorySettings(params); }

    // The wizard for a design (header of the given type and unit) or, with target 0, new files.
    TPage& Open(int32_t target) {
        page = std::make_unique<TPage>(params, prompt, target,
                                       [this](int32_t number) -> std::optional<PageDocument> {
                                           if (number != 7 || closed) {
                                               return std::nullopt;
                                           }
                                           return PageDocument{&design, [this] { ++pageChanges; }};
                                       });
        page->resize(page->PreferredClientSize());
        page->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(page.get()));
        return *page;
    }
    QPoint RowCentre(int32_t type) const {
        const auto& types = TPagebox::RowTypes();
        const int row = static_cast<int>(std::find(types.begin(), types.end(), type) - types.begin());
        return page->Chooser()->RowRect(row).center();
    }
    void Choose(int32_t type) {
        QTest::mouseMove(page->Chooser(), RowCentre(type));
        QTest::mouseClick(page->Chooser(), Qt::LeftButton, {}, RowCentre(type));
    }
    void Type(int box, const QString& text) {
        QLineEdit* edit = page->Dimensions()->Edit[box - 1];
        edit->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Delete);
        } else {
            QTest::keyClicks(edit, text);
        }
    }

    TParams params;
    RecordingPrompt prompt;
    ItemList design;
    int pageChanges = 0;
    bool closed = false;
    std::unique_ptr<TPage> page;
};

TEST_F(PageTest, ADesignWithoutTypeStartsWithTheChooserAndTheChosenTypesNewFilePage) {
    AddHeader(design, 0, 2);
    TPage& wizard = Open(7);
    ASSERT_NE(wizard.Chooser(), nullptr);
    EXPECT_TRUE(wizard.Description()->text().contains("<b>Illustrations</b>"));
    EXPECT_EQ(wizard.Sample()->sketchType(), DesignType::Illustrations);
    EXPECT_FALSE(wizard.RunAction()) << "no type chosen yet";
    EXPECT_EQ(prompt.told, std::vector<std::string>{"Choose a design type."});

    // Pointing at a row highlights it and shows its description and sketch; moving off keeps them.
    QTest::mouseMove(wizard.Chooser(), RowCentre(DesignType::Labels));
    EXPECT_EQ(wizard.highlightedType(), DesignType::Labels);
    EXPECT_TRUE(wizard.Description()->text().startsWith("'<b>Labels</b>' include mailing"));
    EXPECT_EQ(wizard.Sample()->sketchType(), DesignType::Labels);
    QTest::mouseMove(wizard.Chooser(), QPoint(20, 20));
    EXPECT_EQ(wizard.highlightedType(), 0);
    EXPECT_TRUE(wizard.Description()->text().contains("<b>Labels</b>"));

    // The click finishes before the step changes.
    Choose(DesignType::Labels);
    EXPECT_NE(wizard.Chooser(), nullptr);
    EXPECT_TRUE(wizard.Timer1.isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return wizard.Dimensions() != nullptr; }));
    EXPECT_EQ(wizard.Dimensions()->EditLabel[2]->text(), "Label width");
    EXPECT_EQ(wizard.Dimensions()->PageSetup(), params.state.pagesets[DesignType::Labels - 1]);
    EXPECT_EQ(wizard.Hints()[0]->text(),
              "Before printing, the software will copy your design to all the cards in "
              "the rows and columns that you set up.");
    EXPECT_EQ(wizard.Sample()->sampleType(), DesignType::Labels);
}

TEST_F(PageTest, ApplyGivesTheDesignThePageOfTheChosenTypeAndShowsIt) {
    ItemRecord* header = AddHeader(design, DesignType::BusinessCards, 2);
    header->wideText = HeaderTexts(
        {u"210", u"297", u"85", u"54", u"15", u"25", u"0", u"0", u"4", u"2", u"10", u"10", u"", u""});
    TPage& wizard = Open(7);
    ASSERT_NE(wizard.Dimensions(), nullptr);
    EXPECT_EQ(wizard.Dimensions()->Edit[2]->text(), "85");
    Type(3, "90");
    EXPECT_EQ(wizard.Sample()->samplePageSetup().dims[1].cardWidth, "90")
        << "every change redraws the sample";
    wizard.Dimensions()->ColumnFoldBox->click();
    // Going to the chooser and back keeps what the step showed.
    QTest::mouseClick(wizard.BackToChooser(), Qt::LeftButton);
    ASSERT_NE(wizard.Chooser(), nullptr);
    Choose(DesignType::BusinessCards);
    ASSERT_TRUE(QTest::qWaitFor([&] { return wizard.Dimensions() != nullptr; }));
    ASSERT_TRUE(wizard.RunAction());
    EXPECT_EQ(double(header->cardWidth), 90.0);
    EXPECT_EQ(header->columnFold, 1);
    EXPECT_EQ(double(header->canvasWidth), 180.0) << "a card folded between columns is two cards wide";
    EXPECT_EQ(double(header->canvasHeight), 54.0);
    EXPECT_EQ(header->rows, 4);
    EXPECT_EQ(*header->wideText, HeaderTexts({u"210", u"297", u"90", u"54", u"15", u"25", u"0", u"0", u"4",
                                              u"2", u"10", u"10", u"", u""}));
    EXPECT_EQ(header->modified, 1);
    EXPECT_EQ(pageChanges, 1);

    // A design closed meanwhile is left alone.
    closed = true;
    Type(3, "80");
    EXPECT_TRUE(wizard.RunAction());
    EXPECT_EQ(double(header->cardWidth), 90.0);
    EXPECT_EQ(pageChanges, 1);
    EXPECT_TRUE(prompt.told.empty());
}

TEST_F(PageTest, AHugeOrEmptyImageSizeShowsThePagesMessageAndIsNotApplied) {
    TPage& wizard = Open(0);
    wizard.Dimensions()->UnitsBox->setCurrentIndex(0); // pixels
    Type(1, "728");
    Type(2, "90");
    const QWidget* viewport = wizard.Sample()->viewport();
    ASSERT_LT(viewport->width(), 728);
    EXPECT_EQ(wizard.Sample()->horizontalScrollBar()->maximum(), 728 - viewport->width());
    EXPECT_EQ(wizard.Sample()->verticalScrollBar()->maximum(), 0);

    QLabel* message = wizard.Dimensions()->ProblemLabel;
    for (const QString& width : {QString("100000"), QString()}) {
        Type(1, width);
        const QString said = width.isEmpty() ? "Image width must be greater than 0."
                                             : "Image width cannot be more than 32000 pixels.";
        EXPECT_FALSE(message->isHidden());
        EXPECT_EQ(message->text(), said);
        EXPECT_FALSE(wizard.Sample()->grab().isNull());
        EXPECT_FALSE(wizard.RunAction());
        EXPECT_EQ(prompt.told.back(), said.toStdString());
        if (!width.isEmpty()) {
            EXPECT_EQ(wizard.Sample()->horizontalScrollBar()->maximum(), 100000 - viewport->width());
        }
    }
    EXPECT_EQ(params.state.pagesets[DesignType::BusinessCards - 1].units, 3) << "new files kept their page";
}

} // namespace
} // namespace vlr
