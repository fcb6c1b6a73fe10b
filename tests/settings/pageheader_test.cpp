// Applying page setups to a design's header: the numbers, texts and canvas it receives, what it
// refuses, the page of a new design, and page setups surviving a save and a load.
#include "settings/pageheader.h"

#include "model/designfile.h"
#include "model/itemkind.h"
#include "settings/designtype.h"
#include "settings/pagepresets.h"
#include "settings/params.h"
#include "settingsfolder.h"

#include <gtest/gtest.h>

namespace vlr {
namespace {

constexpr double kPxPerMm = 96.0 / 25.4;

// A design holding only a header measured in unit, its page fields zero.
ItemList DesignWithHeader(int32_t unit) {
    ItemList design;
    ItemRecord* header = CreateRecord(design, ItemKind::Header);
    std::array<uint8_t, kBodySize> bytes = BodyBytes(*header);
    std::fill(bytes.begin() + 116, bytes.end(), 0);
    SetBodyBytes(*header, bytes.data());
    header->recordClass = RecordClass::Header;
    header->zoom = 1.0;
    header->units = unit;
    header->pxPerUnitX = unit == 1 ? 1.0 : unit == 2 ? kPxPerMm : 96.0;
    header->pxPerUnitY = double(header->pxPerUnitX);
    header->gridDensityX = 5.0;
    header->gridDensityY = 5.0;
    return design;
}

ItemRecord* HeaderOf(const ItemList& design) {
    return FindRecord(design, ItemKind::Header);
}

defaults_t FactoryDefaults() {
    TParams params;
    SetFactorySettings(params);
    return params.state.defaults;
}

ApplyResult Apply(ItemList& design, const pageset_t& pageset, int32_t type) {
    return ApplyPageSetup(design, pageset, type, true, FactoryDefaults());
}

// A page setup of one block in unit.
pageset_t PageSetup(int32_t unit, const miry_t& block, int32_t orientation = 1) {
    pageset_t pageset;
    pageset.units = unit;
    pageset.orientation = orientation;
    pageset.dims[unit - 1] = block;
    return pageset;
}

TEST(ApplyPageSetup, TenBusinessCardsToAnA4Page) {
    ItemList design = DesignWithHeader(2);
    ASSERT_TRUE(
        Apply(design, DefaultPageSetup(DesignType::BusinessCards, 2), DesignType::BusinessCards).applied());
    const ItemRecord* h = HeaderOf(design);
    EXPECT_EQ(h->orientation, 1);
    EXPECT_EQ(h->designType, 4);
    EXPECT_EQ(h->presetIndex, 1);
    EXPECT_EQ(h->paperWidth, 210.0);
    EXPECT_EQ(h->paperHeight, 297.0);
    EXPECT_EQ(h->cardWidth, 74.0);
    EXPECT_EQ(h->cardHeight, 52.0);
    EXPECT_EQ(h->leftMargin, 31.0);
    EXPECT_EQ(h->topMargin, 18.0);
    EXPECT_EQ(h->rightMargin, 0.0);
    EXPECT_EQ(h->rows, 5);
    EXPECT_EQ(h->columns, 2);
    EXPECT_EQ(h->rowFold, 0);
    EXPECT_EQ(h->columnFold, 0);
    // The canvas is one card.
    EXPECT_EQ(h->canvasWidth, 74.0);
    EXPECT_EQ(h->canvasHeight, 52.0);
    EXPECT_EQ(h->units, 2);
    EXPECT_DOUBLE_EQ(h->pxPerUnitX, kPxPerMm);
    EXPECT_EQ(h->spanX, 280); // nearest(74 x 96 / 25.4 = 279.69)
    EXPECT_EQ(*h->wideText,
              u"210\u07EC297\u07EC74\u07EC52\u07EC31\u07EC18\u07EC0\u07EC0\u07EC5\u07EC2\u07EC0\u07EC0"
              u"\u07EC\u07EC\u07EC");
    EXPECT_EQ(h->modified, 0); // quiet
}

TEST(ApplyPageSetup, AFoldedCardIsTwoPanelsWideAndSheetsAreThePaper) {
    ItemList design = DesignWithHeader(2);
    miry_t greeting{0, "210", "297", "105", "148", "0", "0", "0", "0", "2", "2", "0", "0", "", "", 0, 1};
    ASSERT_TRUE(Apply(design, PageSetup(2, greeting), DesignType::GreetingCards).applied());
    EXPECT_EQ(HeaderOf(design)->canvasWidth, 210.0);
    EXPECT_EQ(HeaderOf(design)->canvasHeight, 148.0);

    miry_t tent{0, "8 1/2", "11", "8 1/2", "2 1/2", "", "1/2", "", "1/2", "4", "1", "", "", "", "", 1, 0};
    ItemList inches = DesignWithHeader(3);
    ASSERT_TRUE(Apply(inches, PageSetup(3, tent), DesignType::TentCards).applied());
    EXPECT_EQ(HeaderOf(inches)->canvasWidth, 8.5);
    EXPECT_EQ(HeaderOf(inches)->canvasHeight, 5.0);
    EXPECT_EQ(HeaderOf(inches)->topMargin, 0.5);

    ASSERT_TRUE(Apply(inches, DefaultPageSetup(DesignType::Brochures, 3), DesignType::Brochures).applied());
    EXPECT_EQ(HeaderOf(inches)->canvasWidth, 8.5);
    EXPECT_EQ(HeaderOf(inches)->canvasHeight, 11.0);
    EXPECT_DOUBLE_EQ(HeaderOf(inches)->cardHeight, 11.0 / 3.0);
}

TEST(ApplyPageSetup, InPixelsEveryTypeIsAPictureOfTheImageSize) {
    ItemList design = DesignWithHeader(1);
    ASSERT_TRUE(
        Apply(design, DefaultPageSetup(DesignType::BusinessCards, 1), DesignType::BusinessCards).applied());
    EXPECT_EQ(HeaderOf(design)->canvasWidth, 350.0);
    EXPECT_EQ(HeaderOf(design)->canvasHeight, 250.0);
    EXPECT_EQ(HeaderOf(design)->pxPerUnitX, 1.0);
}

TEST(ApplyPageSetup, ATextThatDoesNotReadKeepsTheNumberButIsStored) {
    ItemList design = DesignWithHeader(2);
    pageset_t pageset = DefaultPageSetup(DesignType::BusinessCards, 2);
    ASSERT_TRUE(Apply(design, pageset, DesignType::BusinessCards).applied());
    pageset.dims[1].leftMargin = "abc";
    pageset.dims[1].rows = "4.5";
    pageset.dims[1].columns = "3";
    ASSERT_TRUE(Apply(design, pageset, DesignType::BusinessCards).applied());
    const ItemRecord* h = HeaderOf(design);
    EXPECT_EQ(h->leftMargin, 31.0);
    EXPECT_EQ(h->rows, 5);
    EXPECT_EQ(h->columns, 3);
    miry_t back;
    ASSERT_TRUE(ReadBackPageTexts(h, back));
    EXPECT_EQ(back.leftMargin, "abc");
    EXPECT_EQ(back.rows, "4.5");
}

TEST(ApplyPageSetup, NonsenseIsRefusedAndTheHeaderKeepsEveryValue) {
    ItemList design = DesignWithHeader(2);
    ASSERT_TRUE(
        Apply(design, DefaultPageSetup(DesignType::BusinessCards, 2), DesignType::BusinessCards).applied());
    const std::array<uint8_t, kBodySize> before = BodyBytes(*HeaderOf(design));
    const std::u16string textBefore = *HeaderOf(design)->wideText;

    struct Case {
        PageField field;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {PageField::PaperWidth, "-3", "Paper width must be greater than 0."},
        {PageField::PaperHeight, "1e308", "Paper height cannot be more than 10000 mm."},
        {PageField::PaperWidth, "", "Paper width must be greater than 0."},
        {PageField::CardHeight, "300", "The card does not fit on the paper."},
        {PageField::RowGap, "-0,5", "Row gap cannot be negative."},
        {PageField::Columns, "0", "Columns must be a whole number from 1 to 1000."},
    };
    for (const Case& c : cases) {
        pageset_t pageset = DefaultPageSetup(DesignType::BusinessCards, 2);
        FieldText(pageset.dims[1], c.field) = c.text;
        bool redisplayed = false;
        ApplyResult result = ApplyPageSetup(design, pageset, DesignType::BusinessCards, false,
                                            FactoryDefaults(), [&] { redisplayed = true; });
        EXPECT_EQ(result.status, ApplyStatus::Refused) << c.text;
        EXPECT_EQ(result.message, c.message);
        EXPECT_FALSE(redisplayed);
        EXPECT_EQ(BodyBytes(*HeaderOf(design)), before) << c.text;
        EXPECT_EQ(*HeaderOf(design)->wideText, textBefore);
    }
}

TEST(ApplyPageSetup, AnUnreadableCardSizeOverAHeaderWithoutCardIsRefused) {
    ItemList design = DesignWithHeader(2);
    pageset_t pageset = DefaultPageSetup(DesignType::BusinessCards, 2);
    pageset.dims[1].cardWidth = "abc"; // the header's card width is still 0
    ApplyResult result = Apply(design, pageset, DesignType::BusinessCards);
    EXPECT_EQ(result.status, ApplyStatus::Refused);
    EXPECT_EQ(result.message, "Card width must be greater than 0.");
    EXPECT_EQ(HeaderOf(design)->designType, 0);
}

TEST(ApplyPageSetup, ValuesOfHiddenBoxesAreTakenOnlyWhenSane) {
    ItemList design = DesignWithHeader(2);
    pageset_t pageset = DefaultPageSetup(DesignType::Illustrations, 2);
    pageset.dims[1].rows = "5000";
    pageset.dims[1].columns = "3";
    pageset.dims[1].spare1 = "-1";
    pageset.dims[1].spare2 = "2";
    ASSERT_TRUE(Apply(design, pageset, DesignType::Illustrations).applied());
    const ItemRecord* h = HeaderOf(design);
    EXPECT_EQ(h->rows, 0);
    EXPECT_EQ(h->columns, 3);
    EXPECT_EQ(h->spare1, 0.0);
    EXPECT_EQ(h->spare2, 2.0);
    EXPECT_EQ(h->canvasWidth, 210.0);
    EXPECT_EQ(h->leftMargin, 7.0);
}

TEST(ApplyPageSetup, ChangingTheUnitKeepsThePagePlaceAndResetsTheGrid) {
    ItemList design = DesignWithHeader(2);
    ItemRecord* h = HeaderOf(design);
    h->canvasLeft = 10.0;
    h->canvasTop = 20.0;
    ASSERT_TRUE(
        Apply(design, DefaultPageSetup(DesignType::BusinessCards, 3), DesignType::BusinessCards).applied());
    EXPECT_EQ(h->units, 3);
    EXPECT_EQ(h->pxPerUnitX, 96.0);
    EXPECT_EQ(h->pxPerUnitY, 96.0);
    EXPECT_DOUBLE_EQ(h->canvasLeft, 10.0 / 25.4);
    EXPECT_DOUBLE_EQ(h->canvasTop, 20.0 / 25.4);
    EXPECT_EQ(h->gridDensityX, 0.25);
    EXPECT_EQ(h->gridDensityY, 0.25);
    EXPECT_EQ(h->cardWidth, 3.5);
    EXPECT_EQ(h->bottomMargin, 0.75);
    // The same unit again leaves the grid alone.
    h->gridDensityX = 0.5;
    ASSERT_TRUE(
        Apply(design, DefaultPageSetup(DesignType::BusinessCards, 3), DesignType::BusinessCards).applied());
    EXPECT_EQ(h->gridDensityX, 0.5);
    EXPECT_DOUBLE_EQ(h->canvasLeft, 10.0 / 25.4);
}

TEST(ApplyPageSetup, NotQuietMarksTheDesignChangedAndAsksForARedisplay) {
    ItemList design = DesignWithHeader(2);
    int redisplays = 0;
    auto count = [&] { ++redisplays; };
    const pageset_t pageset = DefaultPageSetup(DesignType::Labels, 2);
    ASSERT_TRUE(
        ApplyPageSetup(design, pageset, DesignType::Labels, true, FactoryDefaults(), count).applied());
    EXPECT_EQ(redisplays, 0);
    EXPECT_EQ(HeaderOf(design)->modified, 0);
    ASSERT_TRUE(
        ApplyPageSetup(design, pageset, DesignType::Labels, false, FactoryDefaults(), count).applied());
    EXPECT_EQ(redisplays, 1);
    EXPECT_EQ(HeaderOf(design)->modified, 1);
    // Without a redisplay to call it still applies.
    EXPECT_TRUE(ApplyPageSetup(design, pageset, DesignType::Labels, false, FactoryDefaults()).applied());
}

TEST(ApplyPageSetup, WithoutHeaderOrUnitNothingHappens) {
    ItemList empty;
    CreateRecord(empty, ItemKind::Line);
    EXPECT_EQ(Apply(empty, DefaultPageSetup(4, 2), 4).status, ApplyStatus::NoHeader);

    ItemList design = DesignWithHeader(2);
    const std::array<uint8_t, kBodySize> before = BodyBytes(*HeaderOf(design));
    pageset_t pageset = DefaultPageSetup(4, 2);
    pageset.units = 0;
    EXPECT_EQ(Apply(design, pageset, 4).status, ApplyStatus::BadUnit);
    EXPECT_EQ(Apply(design, DefaultPageSetup(4, 2), 12).status, ApplyStatus::Refused);
    EXPECT_EQ(BodyBytes(*HeaderOf(design)), before);
    EXPECT_FALSE(HeaderOf(design)->wideText);
}

TEST(ApplyPageSetup, AFoldedVerticalCardSurvivesASaveAndALoad) {
    ItemList design = DesignWithHeader(3);
    pageset_t pageset = DefaultPageSetup(DesignType::BusinessCards, 3);
    ASSERT_TRUE(ChoosePreset(pageset, DesignType::BusinessCards, 7)); // fold vertical, 5 per page
    pageset.dims[2].spare1 = "2 \xC3\x97 1";                          // kept as typed, whatever it says
    ASSERT_TRUE(Apply(design, pageset, DesignType::BusinessCards).applied());
    CreateRecord(design, ItemKind::Gridlines)->historyState = 0;

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(WriteDesignToMemory(design, bytes));
    ItemList loaded;
    FixedAnswerPrompt prompt(PromptAnswer::No);
    ASSERT_TRUE(ReadDesignFromMemory(bytes, loaded, prompt).ok());
    const ItemRecord* h = HeaderOf(loaded);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->orientation, 2);
    EXPECT_EQ(h->designType, 4);
    EXPECT_EQ(h->presetIndex, 7);
    EXPECT_EQ(h->paperWidth, 11.0);
    EXPECT_EQ(h->paperHeight, 8.5);
    EXPECT_EQ(h->cardWidth, 2.0);
    EXPECT_EQ(h->cardHeight, 3.5);
    EXPECT_EQ(h->leftMargin, 0.5);
    EXPECT_EQ(h->topMargin, 0.75);
    EXPECT_EQ(h->rows, 2);
    EXPECT_EQ(h->columns, 5);
    EXPECT_EQ(h->rowFold, 1);
    EXPECT_EQ(h->columnFold, 0);
    EXPECT_EQ(h->canvasWidth, 2.0);
    EXPECT_EQ(h->canvasHeight, 7.0);
    miry_t back;
    back.preset = 7;
    back.rowFold = 1;
    ASSERT_TRUE(ReadBackPageTexts(h, back));
    EXPECT_EQ(back, pageset.dims[2]);
}

TEST(ReadBackPageTexts, TakesTheTextsByPosition) {
    ItemList design = DesignWithHeader(2);
    ItemRecord* h = HeaderOf(design);
    miry_t block;
    EXPECT_FALSE(ReadBackPageTexts(h, block));
    EXPECT_FALSE(ReadBackPageTexts(nullptr, block));
    h->wideText = u"210\u07EC297\u07EC74";
    block.rows = "9";
    ASSERT_TRUE(ReadBackPageTexts(h, block));
    EXPECT_EQ(block.paperWidth, "210");
    EXPECT_EQ(block.paperHeight, "297");
    EXPECT_EQ(block.cardWidth, "74");
    EXPECT_EQ(block.cardHeight, "");
    EXPECT_EQ(block.rows, "");
    // An unpaired surrogate is replaced, not copied into the UTF-8 text.
    h->wideText = std::u16string(u"8\xD800\u07EC") + u"\u00BD";
    ASSERT_TRUE(ReadBackPageTexts(h, block));
    EXPECT_EQ(block.paperWidth, "8\xEF\xBF\xBD");
    EXPECT_EQ(block.paperHeight, "\xC2\xBD");
}

TEST(ApplyPageSetup, TextsAreStoredAsUtf16WithoutStraySeparators) {
    ItemList design = DesignWithHeader(3);
    pageset_t pageset = DefaultPageSetup(DesignType::Illustrations, 3);
    pageset.dims[2].rows = "\xC2\xBD";            // U+00BD
    pageset.dims[2].columns = "\xF0\x9F\x99\x82"; // U+1F642, a surrogate pair
    pageset.dims[2].spare1 = "a\xDF\xAC"
                             "b";    // U+07EC typed inside a text
    pageset.dims[2].spare2 = "\xFF"; // not UTF-8
    ASSERT_TRUE(Apply(design, pageset, DesignType::Illustrations).applied());
    const std::u16string& text = *HeaderOf(design)->wideText;
    EXPECT_EQ(text,
              u"8 1/2\u07EC11\u07EC\u07EC\u07EC1/4\u07EC1/4\u07EC1/4\u07EC1/4\u07EC\u00BD\u07EC\U0001F642"
              u"\u07EC\u07EC\u07ECab\u07EC\uFFFD\u07EC");
}

// ---- new designs ----

TEST(ApplyNewDesignPage, FactorySettingsGiveTenBusinessCardsInInches) {
    TParams params;
    SetFactorySettings(params);
    ItemList design = DesignWithHeader(2);
    ASSERT_TRUE(ApplyNewDesignPage(design, params).applied());
    const ItemRecord* h = HeaderOf(design);
    EXPECT_EQ(h->units, 3);
    EXPECT_EQ(h->designType, 4);
    EXPECT_EQ(h->presetIndex, 1);
    EXPECT_EQ(h->paperWidth, 8.5);
    EXPECT_EQ(h->paperHeight, 11.0);
    EXPECT_EQ(h->cardWidth, 3.5);
    EXPECT_EQ(h->canvasWidth, 3.5);
    EXPECT_EQ(h->canvasHeight, 2.0);
    EXPECT_EQ(h->rows, 5);
    EXPECT_EQ(h->modified, 0);
}

TEST(ApplyNewDesignPage, AStoredPageThatWouldBreakTheDesignGivesWayToTheFactoryPage) {
    TParams params;
    SetFactorySettings(params);
    params.state.pagesets[3].dims[2].paperWidth = "-8";
    ItemList design = DesignWithHeader(3);
    ASSERT_TRUE(ApplyNewDesignPage(design, params).applied());
    EXPECT_EQ(HeaderOf(design)->paperWidth, 8.5);
    EXPECT_EQ(HeaderOf(design)->cardWidth, 3.5);

    // CD/DVD labels have no factory dimensions: the page of Illustrations, keeping the type.
    params.state.pspage = DesignType::CdDvdLabels;
    params.state.defaults.units = 2;
    ItemList labels = DesignWithHeader(3);
    ASSERT_TRUE(ApplyNewDesignPage(labels, params).applied());
    const ItemRecord* h = HeaderOf(labels);
    EXPECT_EQ(h->designType, 6);
    EXPECT_EQ(h->units, 2);
    EXPECT_EQ(h->paperWidth, 210.0);
    EXPECT_EQ(h->canvasHeight, 297.0);
    EXPECT_EQ(h->leftMargin, 7.0);

    // Digital images: the image of the pixel block.
    params.state.pspage = DesignType::DigitalImages;
    ItemList picture = DesignWithHeader(2);
    ASSERT_TRUE(ApplyNewDesignPage(picture, params).applied());
    EXPECT_EQ(HeaderOf(picture)->units, 1);
    EXPECT_EQ(HeaderOf(picture)->orientation, 2);
    EXPECT_EQ(HeaderOf(picture)->canvasWidth, 350.0);
    EXPECT_EQ(HeaderOf(picture)->gridDensityX, 25.0);

    ItemList none;
    EXPECT_EQ(ApplyNewDesignPage(none, params).status, ApplyStatus::NoHeader);
}

// ---- the new-file page setups in the settings ----

using test::SettingsFolder;

TEST_F(SettingsFolder, NewFilePageSetupsSurviveASaveAndALoad) {
    TParams saved;
    SetFactorySettings(saved);
    for (int type = 1; type <= kDesignTypeCount; ++type) {
        EXPECT_EQ(saved.state.pagesets[type - 1], DefaultPageSetup(type, 3)) << type;
    }
    pageset_t& labels = saved.state.pagesets[DesignType::Labels - 1];
    labels.units = 2;
    ASSERT_TRUE(ChoosePreset(labels, DesignType::Labels, 5));
    ASSERT_TRUE(SwapOrientation(labels, 2));
    labels.dims[1].spare2 = "2 \xC3\x97 1";
    saved.state.pagesets[DesignType::Brochures - 1].dims[2].columnFold = 1;
    saved.state.pspage = DesignType::Labels;
    SaveSettings(saved, *store);

    TParams loaded;
    InitSettings(loaded, *store);
    EXPECT_EQ(loaded.state.pspage, DesignType::Labels);
    EXPECT_EQ(loaded.state.pagesets, saved.state.pagesets);
    EXPECT_EQ(loaded.state.pagesets[4].dims[1].paperWidth, "297");
    EXPECT_EQ(loaded.state.pagesets[4].dims[1].rows, "2");
}

} // namespace
} // namespace vlr
