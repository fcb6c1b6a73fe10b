// The text panel driven through its lists, slider and buttons: fine-tuning the selected texts (one
// undo step a change), the next-text settings and the text being typed, what the controls show
// for a selection, and the character sets a font offers.
#include "panels/textbox.h"

#include "panelhost.h"
#include "panels/picturebutton.h"

#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace vlr {
namespace {

using test::Choose;
using test::FakePanelHost;

// Two fonts: "Alpha" shows Western and Cyrillic, "Beta" Western only.
void OfferFonts(TParams& params) {
    params.fontList = {{"Alpha", {1, 204}, -1}, {"Beta", {1}, -1}};
}

struct TextFixture {
    FakePanelHost host;
    ItemRecord* text = nullptr;

    TextFixture() {
        OfferFonts(host.settings);
        text = MakeText(0, "Alpha");
        test::Select(host.list, {text});
    }
    ItemRecord* MakeText(int32_t colour, const char* font) {
        ItemRecord* made = test::Insert(host.list, ItemKind::Text, 20, 40, 120, 40);
        made->textColor = colour;
        SetFontName(*made, font);
        made->charset = 1;
        made->fontSize = 12;
        made->fontWeight = 400;
        made->alignment = 1;
        made->textAngle = 0;
        return made;
    }
    ItemRecord* Current() const { return FirstSelected(host.list); }
};

void Click(TPictureButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

struct ControlRow {
    const char* name;
    std::function<void(TTextbox&)> use;
    std::function<bool(const ItemRecord&)> changedText;
    std::function<bool(const currentState_t&)> changedSetting;
};

const ControlRow kControls[] = {
    {"Color", [](TTextbox& p) { Choose(p.ColorBox, 9); }, // "Red"
     [](const ItemRecord& r) { return r.textColor == 0x0000FF; },
     [](const currentState_t& s) { return s.tcolor == 0x0000FF; }},
    {"Name", [](TTextbox& p) { Choose(p.NameBox, 1); },
     [](const ItemRecord& r) { return GetFontName(r) == "Beta" && r.charset == 1; },
     [](const currentState_t& s) { return s.tfont == "Beta"; }},
    {"Character Set", [](TTextbox& p) { Choose(p.CharsetBox, 2); }, // "Cyrillic"
     [](const ItemRecord& r) { return r.charset == 204; },
     [](const currentState_t& s) { return s.tcharset == 204; }},
    {"Size", [](TTextbox& p) { Choose(p.SizeBox, 2); }, [](const ItemRecord& r) { return r.fontSize == 10; },
     [](const currentState_t& s) { return s.tsize == 10 && s.tsizetab == 2; }},
    {"Weight", [](TTextbox& p) { Choose(p.WeightBox, 5); }, // "Semibold"
     [](const ItemRecord& r) { return r.fontWeight == 600; },
     [](const currentState_t& s) { return s.tbold == 600; }},
    {"Custom", [](TTextbox& p) { p.WeightSlider->setValue(3); },
     [](const ItemRecord& r) { return r.fontWeight == 300; },
     [](const currentState_t& s) { return s.tbold == 300; }},
    {"Angle", [](TTextbox& p) { Choose(p.AngleBox, 2); }, // "Vertical (right)"
     [](const ItemRecord& r) { return r.textAngle == 90; },
     [](const currentState_t& s) { return s.tangle == 900 && s.tdir == 90 && s.tangletab == 2; }},
    {"Surface", [](TTextbox& p) { Choose(p.SurfaceBox, 1); },
     [](const ItemRecord& r) { return r.surface == 127; },
     [](const currentState_t& s) { return s.txplas == 127; }},
    {"Shadow", [](TTextbox& p) { Choose(p.ShadowBox, 2); },
     [](const ItemRecord& r) {
         return r.shadowElevation == 50 && r.shadowFade == 20 && r.shadowLightness == 110;
     },
     [](const currentState_t& s) {
         return s.shtext == ShadowStyle{50, 20, 110};
     }},
    {"Bold", [](TTextbox& p) { Click(p.Buttons[TTextbox::Bold]); },
     [](const ItemRecord& r) { return r.fontWeight == 700; },
     [](const currentState_t& s) { return s.tbold == 700; }},
    {"Italic", [](TTextbox& p) { Click(p.Buttons[TTextbox::Italic]); },
     [](const ItemRecord& r) { return r.italic == 1; },
     [](const currentState_t& s) { return s.titalic == 1; }},
    {"Underline", [](TTextbox& p) { Click(p.Buttons[TTextbox::Underline]); },
     [](const ItemRecord& r) { return r.underline == 1; },
     [](const currentState_t& s) { return s.tunderline == 1; }},
    {"Strikeout", [](TTextbox& p) { Click(p.Buttons[TTextbox::Strikeout]); },
     [](const ItemRecord& r) { return r.strikeOut == 1; },
     [](const currentState_t& s) { return s.tstrikeOut == 1; }},
    {"Right", [](TTextbox& p) { Click(p.Buttons[TTextbox::Right]); },
     [](const ItemRecord& r) { return r.alignment == 3; },
     [](const currentState_t& s) { return s.talignment == 3; }},
};

TEST(TTextbox, EachControlChangesTheSelectedTextAsOneUndoStep) {
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        TextFixture f;
        TTextbox panel(f.host, 301);
        EXPECT_EQ(panel.title(), "Fine-tune");
        const currentState_t settingsBefore = f.host.settings.state;
        row.use(panel);
        EXPECT_EQ(f.host.window.edits, 1);
        ASSERT_NE(f.Current(), f.text);
        EXPECT_TRUE(row.changedText(*f.Current()));
        EXPECT_EQ(f.host.settings.state, settingsBefore); // fine-tuning leaves the next text alone
        UndoCommand(f.host.list, f.host.window);
        EXPECT_TRUE(IsLiveItem(f.text));
        EXPECT_FALSE(row.changedText(*f.text));
    }
}

TEST(TTextbox, InsertModeSetsTheNextTextAndRestylesTheTextBeingTyped) {
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        // The text being typed is the one selected text; the next-text font is that of the text.
        TextFixture f;
        f.host.settings.state.tfont = "Alpha";
        f.host.settings.state.tbold = 400;
        f.host.settings.state.tcharset = 1;
        TTextbox panel(f.host, 303);
        EXPECT_EQ(panel.title(), "Text");
        row.use(panel);
        EXPECT_TRUE(row.changedSetting(f.host.settings.state));
        // The surface and shadow are no part of the style the typed text takes over.
        const bool restyles = std::string(row.name) != "Surface" && std::string(row.name) != "Shadow";
        EXPECT_EQ(f.host.window.edits, restyles ? 1 : 0);
        if (restyles) {
            EXPECT_TRUE(row.changedText(*f.Current()));
        }
    }
}

TEST(TTextbox, TheControlsShowTheSelectedTextsValues) {
    TextFixture f;
    f.text->fontWeight = 700;
    f.text->fontSize = 24;
    f.text->charset = 204;
    f.text->alignment = 2;
    f.text->italic = 1;
    f.text->textAngle = 270;
    TTextbox panel(f.host, 301);
    EXPECT_EQ(panel.NameBox->currentText(), "Alpha");
    EXPECT_EQ(panel.CharsetBox->count(), 3); // "n/a", "Western", "Cyrillic"
    EXPECT_EQ(panel.CharsetBox->currentText(), "Cyrillic");
    EXPECT_EQ(panel.SizeBox->currentText(), "24");
    EXPECT_EQ(panel.WeightBox->currentText(), "Bold");
    EXPECT_EQ(panel.WeightSlider->value(), 7);
    EXPECT_EQ(panel.AngleBox->currentText(), "Vertical (left)");
    const ButtonLook looks[] = {ButtonLook::Pressed, ButtonLook::Pressed, ButtonLook::Plain,
                                ButtonLook::Plain,   ButtonLook::Plain,   ButtonLook::Pressed,
                                ButtonLook::Plain};
    for (int i = 0; i < TTextbox::ButtonCount; ++i) {
        EXPECT_EQ(panel.Buttons[i]->look(), looks[i]) << i;
    }

    // The pressed Bold button takes the weight back to 400; list and slider follow.
    Click(panel.Buttons[TTextbox::Bold]);
    EXPECT_EQ(f.Current()->fontWeight, 400);
    EXPECT_EQ(panel.WeightBox->currentText(), "Normal");
    EXPECT_EQ(panel.WeightSlider->value(), 4);
    EXPECT_EQ(panel.Buttons[TTextbox::Bold]->look(), ButtonLook::Plain);
    // Semibold leaves Bold plain; the slider at 7 presses it.
    Choose(panel.WeightBox, 5);
    EXPECT_EQ(panel.Buttons[TTextbox::Bold]->look(), ButtonLook::Plain);
    panel.WeightSlider->setValue(7);
    EXPECT_EQ(panel.Buttons[TTextbox::Bold]->look(), ButtonLook::Pressed);
    EXPECT_EQ(f.Current()->fontWeight, 700);
    // The pressed Center button changes nothing.
    const int edits = f.host.window.edits;
    Click(panel.Buttons[TTextbox::Center]);
    EXPECT_EQ(f.host.window.edits, edits);
}

TEST(TTextbox, TextsOfTwoFontsAndOneColourShowTheColourAndNoFont) {
    TextFixture f;
    ItemRecord* second = f.MakeText(0x0000FF, "Beta");
    f.text->textColor = 0x0000FF;
    test::Select(f.host.list, {f.text, second});
    TTextbox panel(f.host, 301);
    EXPECT_EQ(panel.ColorBox->currentText(), "Red");
    EXPECT_EQ(panel.NameBox->currentIndex(), -1);
    EXPECT_EQ(panel.CharsetBox->count(), 0);
}

TEST(TTextbox, TheNextTextsFaceShowsWhetherOrNotItIsInstalled) {
    // "Verdana" is drawn with its stand-in "DejaVu Sans", installed with the program.
    const std::vector<FontListEntry> installed = {{"Alpha", {1, 204}, -1}, {"DejaVu Sans", {1, 161}, -1}};
    const struct {
        const char* name;
        std::vector<FontListEntry> fonts;
        const char* face;
        int selected;         // in the Name list
        const char* boxShows; // the name in the closed box while no entry is selected
        QStringList charsets;
    } rows[] = {
        {"installed", installed, "alpha", 0, "", {"n/a", "Western", "Cyrillic"}},
        {"not installed", installed, "Verdana", -1, "Verdana", {"n/a", "Western", "Greek"}},
        {"no font list yet", {}, "Verdana", -1, "Verdana", {"n/a"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakePanelHost host;
        host.designOpen = false;
        host.settings.fontList = row.fonts;
        host.settings.state.tfont = row.face;
        TTextbox panel(host, 300);
        EXPECT_EQ(panel.NameBox->count(), static_cast<int>(row.fonts.size()));
        EXPECT_EQ(panel.NameBox->currentIndex(), row.selected);
        EXPECT_EQ(panel.NameBox->placeholderText(), row.boxShows);
        QStringList charsets;
        for (int i = 0; i < panel.CharsetBox->count(); ++i) {
            charsets << panel.CharsetBox->itemText(i);
        }
        EXPECT_EQ(charsets, row.charsets);
        EXPECT_EQ(panel.CharsetBox->currentIndex(), 0);
        // Choosing a set is remembered for the face and stored for the next text as it is.
        Choose(panel.CharsetBox, panel.CharsetBox->count() - 1);
        TTextbox again(host, 300);
        EXPECT_EQ(again.CharsetBox->currentIndex(), panel.CharsetBox->count() - 1);
        EXPECT_EQ(host.settings.state.tfont, row.face);
    }
}

TEST(TTextbox, CharacterSetsFollowTheFontList) {
    const std::vector<FontListEntry> fonts = {{"Alpha", {204, 1, 128}, -1}, {"Beta", {}, -1}};
    using Entries = std::vector<std::pair<std::string, int32_t>>;
    EXPECT_EQ(CharsetEntries(fonts, "alpha"),
              (Entries{{"n/a", 0}, {"Western", 1}, {"Cyrillic", 204}, {"Japanese (shift-jis)", 128}}));
    EXPECT_EQ(CharsetEntries(fonts, "Beta"), (Entries{{"n/a", 0}}));
    EXPECT_EQ(CharsetEntries(fonts, "Gamma"), (Entries{{"n/a", 0}}));
    EXPECT_EQ(CharsetEntries(fonts, "Gamma", "beta"), (Entries{{"n/a", 0}}));
    EXPECT_EQ(CharsetEntries(fonts, "Gamma", "Alpha").size(), 4u);

    // Insert mode shows the set chosen for a font during this run; a font change keeps "tcharset".
    FakePanelHost host;
    host.designOpen = false;
    OfferFonts(host.settings);
    host.settings.state.tfont = "Alpha";
    {
        TTextbox panel(host, 300);
        EXPECT_EQ(panel.CharsetBox->currentText(), "n/a");
        Choose(panel.CharsetBox, 2);
        EXPECT_EQ(host.settings.state.tcharset, 204);
        Choose(panel.NameBox, 1);
        EXPECT_EQ(panel.CharsetBox->currentText(), "n/a");
        EXPECT_EQ(host.settings.state.tcharset, 204);
        Choose(panel.NameBox, 0);
    }
    TTextbox again(host, 300);
    EXPECT_EQ(again.CharsetBox->currentText(), "Cyrillic");
}

TEST(TTextbox, StepsTabAndCustomizeEntries) {
    FakePanelHost host;
    host.settings.textPanelTab = 2;
    host.settings.panelTab = 1;
    TTextbox panel(host, 300);
    EXPECT_EQ(panel.tab(), 2);
    panel.SetTab(1);
    EXPECT_EQ(host.settings.textPanelTab, 1);
    EXPECT_EQ(host.settings.panelTab, 1); // the line and shape panels keep theirs

    panel.EditingStarted();
    EXPECT_EQ(panel.HintLines().front(), "Enter the text now.");
    panel.EditingEnded();
    EXPECT_EQ(panel.HintLines().front(), "Click where you want the text start.");

    Choose(panel.SizeBox, kSizeCustomize);
    Choose(panel.AngleBox, kAngleCustomize);
    EXPECT_EQ(host.pages, (std::vector<int>{kFontSizePage, kTextAnglePage}));
    EXPECT_EQ(panel.SizeBox->currentIndex(), 4); // "12", as before
}

TEST(TTextbox, AButtonLitUnderThePointerReturnsToItsStateWhenTheHoverTimerRunsOut) {
    FakePanelHost host;
    host.settings.state.titalic = 1; // the next text is italic: its button shows pressed
    TTextbox panel(host, 300);
    TPictureButton* const bold = panel.Buttons[TTextbox::Bold];
    TPictureButton* const italic = panel.Buttons[TTextbox::Italic];
    TPictureButton* const underline = panel.Buttons[TTextbox::Underline];
    QTimer* const timer = panel.HoverTimer();
    ASSERT_EQ(italic->look(), ButtonLook::Pressed);

    test::PointerEnters(bold);
    EXPECT_EQ(bold->look(), ButtonLook::Highlighted);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 5000);
    // Pointing at another button lights it alone; the pressed button keeps its state.
    test::PointerEnters(underline);
    EXPECT_EQ(underline->look(), ButtonLook::Highlighted);
    EXPECT_EQ(bold->look(), ButtonLook::Plain);
    EXPECT_EQ(italic->look(), ButtonLook::Pressed);

    // Five seconds on the button: every button shows its state again.
    timer->setInterval(1);
    test::PointerEnters(bold);
    EXPECT_TRUE(QTest::qWaitFor([&] { return bold->look() == ButtonLook::Plain; }, 1000));
    EXPECT_EQ(underline->look(), ButtonLook::Plain);
    EXPECT_EQ(italic->look(), ButtonLook::Pressed);

    // Onto a pressed button, or off a lit one: everything rests at once.
    for (TPictureButton* next : {italic, static_cast<TPictureButton*>(nullptr)}) {
        test::PointerEnters(bold);
        ASSERT_EQ(bold->look(), ButtonLook::Highlighted);
        if (next) {
            test::PointerEnters(next);
        } else {
            test::PointerLeaves(bold);
        }
        EXPECT_EQ(bold->look(), ButtonLook::Plain);
        EXPECT_EQ(italic->look(), ButtonLook::Pressed);
        EXPECT_FALSE(timer->isActive());
    }
}

} // namespace
} // namespace vlr
