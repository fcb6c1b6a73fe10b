// The text panel: how the next text is written (panels 300, 302 and 303, which also restyle the
// single text being typed) or the selected texts fine-tuned at once (panel 301), in the tabs
// "Font" and "Effects" under seven buttons for the character styles and the alignment.
#pragma once

#include "panels/sidepanel.h"

#include <string>
#include <utility>

class QSlider;

namespace vlr {

class TPictureButton;

// The values a text panel shows; none where the selected items differ.
struct TextValues {
    std::optional<int32_t> colour;
    std::optional<std::string> fontName;
    std::optional<int32_t> charset, size, weight, angle;
    std::optional<uint8_t> italic, underline, strikeOut, alignment;
    std::optional<int32_t> surface;
    std::optional<ShadowStyle> shadow;
};

TextValues GatherTextValues(const ItemList& list);

// The font list's entry that stands for a face (names compared without regard to case): the face
// itself, else the family that draws the face in its place; -1 when the list holds neither.
int FontEntryFor(const std::vector<FontListEntry>& fonts, const std::string& face,
                 const std::string& drawingFamily);
// The Character Set list of a font: "n/a" (0), then the sets the font list records for the entry
// that stands for it; "n/a" alone when there is none, so that a face missing here still shows the
// set it is drawn with.
std::vector<std::pair<std::string, int32_t>> CharsetEntries(const std::vector<FontListEntry>& fonts,
                                                            const std::string& font,
                                                            const std::string& drawingFamily = {});
// The weights of the Weight list, "Thin" 100 to "Heavy" 900.
inline constexpr int kWeightCount = 9;

class TTextbox : public TStylePanel {
    Q_OBJECT
public:
    TTextbox(PanelHost& host, int code, QWidget* parent = nullptr);

    // Reads the values (the next-text settings, or the selection's), fills every list and selects
    // the current entries.
    void Open();
    // The two hint lines: 303 while a text is typed, 37 while a selected text is edited, 0 else.
    void SetStep(int step);
    // The font-size or text-angle page closed: the list again, its entry applied again.
    void RebuildSizes();
    void RebuildAngles();
    void StyleListsChanged(int page) override;

    // Text editing on the canvas started or ended: the hint lines follow.
    void EditingStarted();
    void EditingEnded();
    // The next-text style onto the single selected text, such as the one being typed.
    void ApplyToTypedText();

    enum Button { Bold, Italic, Underline, Strikeout, Left, Center, Right, ButtonCount };
    TPictureButton* Buttons[ButtonCount] = {};
    TStyleCombo* NameBox = nullptr;
    TStyleCombo* CharsetBox = nullptr;
    TStyleCombo* SizeBox = nullptr;
    TStyleCombo* WeightBox = nullptr;
    TStyleCombo* AngleBox = nullptr;
    QSlider* WeightSlider = nullptr;

    void TextColorChange(int position);
    void NameBoxChange(int position);
    void CharsetBoxChange(int position);
    void SizeBoxChange(int position);
    void WeightBoxChange(int position);
    void WeightSliderChange(int position);
    void AngleBoxChange(int position);
    void ButtonClick(Button button);

private:
    int32_t& TabSetting() override { return params().textPanelTab; }
    ShadowStyle& ShadowSetting() override { return params().state.shtext; }
    int32_t& SurfaceSetting() override { return params().state.txplas; }
    int32_t& ColourSetting() override { return params().state.tcolor; }
    int32_t& FillSetting() override { return noFill_; }
    bool ApplyColour(ItemList& list, CommandWindow& window, int32_t colour) override {
        return SetTextColor(list, window, colour);
    }
    void RebuildWeightLists() override {}
    void FillChanged() override {}
    void FillLists();
    void FillCharsets();
    // The family that draws the font shown, and the font list's entry that stands for that font
    // (whose character sets are listed and which remembers the set chosen); none for mixed fonts.
    std::string DrawingFamilyShown() const;
    FontListEntry* FontEntryShown();
    void ShowWeight();
    // Pressed while the style or alignment it sets is the one shown.
    ButtonLook RestingLook(const TPictureButton* button) const override;
    // A choice: the next-text setting and the typed text, or the selected texts; recorded in
    // the panel history when it is a style the history keeps.
    void Change(const std::function<void(currentState_t&)>& setDefault,
                const std::function<bool(ItemList&, CommandWindow&)>& fineTune, bool recorded);
    void SetWeight(int32_t weight);

    TextValues values_;
    StyleList names_, charsets_, sizes_, weights_, angles_;
    std::vector<int32_t> charsetNumbers_;
    int32_t noFill_ = -1;
};

} // namespace vlr
