// The text panel.
#include "panels/textbox.h"

#include "model/itemkind.h"
#include "model/itemlist.h"
#include "model/numeric.h"
#include "panels/picturebutton.h"
#include "render/fontsubstitute.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vlr {

namespace {

struct NamedCharset {
    const char* name;
    int32_t number;
};
// The order the list offers them in.
constexpr NamedCharset kCharsets[] = {
    {"Western", 1},
    {"Central/Eastern European", 238},
    {"Cyrillic", 204},
    {"Greek", 161},
    {"Turkish", 162},
    {"Hebrew", 177},
    {"Arabic", 178},
    {"Baltic", 186},
    {"Japanese (shift-jis)", 128},
    {"Thai", 222},
    {"Chinese (simplified)", 134},
    {"Korean (Wansung)", 129},
    {"Chinese (traditional)", 136},
};

constexpr const char* kWeightNames[kWeightCount] = {"Thin",     "Extralight", "Light",     "Normal", "Medium",
                                                    "Semibold", "Bold",       "Extrabold", "Heavy"};

bool SameName(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

// The list position of a weight; none for weights between the hundreds.
int WeightPosition(std::optional<int32_t> weight) {
    if (!weight || *weight < 100 || *weight > 900 || *weight % 100 != 0) {
        return -1;
    }
    return *weight / 100 - 1;
}

bool SelectionIsOneText(const ItemList& list) {
    const ItemRecord* only = nullptr;
    for (const ItemRecord* record : list) {
        if (IsSelected(record)) {
            if (only) {
                return false;
            }
            only = record;
        }
    }
    return only && only->kind == ItemKind::Text;
}

} // namespace

TextValues GatherTextValues(const ItemList& list) {
    Common<int32_t> colour, charset, size, weight, angle, surface;
    Common<uint8_t> italic, underline, strikeOut, alignment;
    Common<std::string> name;
    Common<ShadowStyle> shadow;
    for (const ItemRecord* item : SelectedStyledItems(list)) {
        colour.Add(item->textColor);
        name.Add(GetFontName(*item));
        charset.Add(item->charset);
        size.Add(item->fontSize);
        weight.Add(item->fontWeight);
        angle.Add(item->textAngle);
        italic.Add(item->italic);
        underline.Add(item->underline);
        strikeOut.Add(item->strikeOut);
        alignment.Add(item->alignment);
        surface.Add(item->surface);
        shadow.Add({item->shadowElevation, item->shadowFade, item->shadowLightness});
    }
    return {colour.value, name.value,      charset.value,   size.value,      weight.value,  angle.value,
            italic.value, underline.value, strikeOut.value, alignment.value, surface.value, shadow.value};
}

int FontEntryFor(const std::vector<FontListEntry>& fonts, const std::string& face,
                 const std::string& drawingFamily) {
    for (const std::string* name : {&face, &drawingFamily}) {
        const auto found = std::find_if(fonts.begin(), fonts.end(),
                                        [name](const FontListEntry& f) { return SameName(f.name, *name); });
        if (!name->empty() && found != fonts.end()) {
            return static_cast<int>(found - fonts.begin());
        }
    }
    return -1;
}

std::vector<std::pair<std::string, int32_t>> CharsetEntries(const std::vector<FontListEntry>& fonts,
                                                            const std::string& font,
                                                            const std::string& drawingFamily) {
    const int position = FontEntryFor(fonts, font, drawingFamily);
    const FontListEntry* found = position < 0 ? nullptr : &fonts[static_cast<size_t>(position)];
    std::vector<std::pair<std::string, int32_t>> entries{{"n/a", 0}};
    if (!found) {
        return entries;
    }
    for (const NamedCharset& charset : kCharsets) {
        if (std::find(found->charsets.begin(), found->charsets.end(), charset.number) !=
            found->charsets.end()) {
            entries.emplace_back(charset.name, charset.number);
        }
    }
    return entries;
}

TTextbox::TTextbox(PanelHost& host, int code, QWidget* parent) : TStylePanel(host, code, parent) {
    auto* row = new QWidget(this);
    auto* grid = new QVBoxLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    const struct {
        const char* text;
        const char* hint;
    } buttons[ButtonCount] = {{"B", "Bold"},           {"I", "Italic"},         {"U", "Underline"},
                              {"S", "Strikeout"},      {"L", "Left Justified"}, {"C", "Center Justified"},
                              {"R", "Right Justified"}};
    QHBoxLayout* line = nullptr;
    for (int i = 0; i < ButtonCount; ++i) {
        if (i == Bold || i == Left) { // the styles in one row, the alignments in the next
            line = new QHBoxLayout;
            line->setSpacing(2);
            grid->addLayout(line);
        }
        Buttons[i] = new TPictureButton(buttons[i].text, ButtonStyle::Tool, row);
        Buttons[i]->setToolTip(buttons[i].hint);
        Buttons[i]->setAccessibleName(buttons[i].hint);
        line->addWidget(Buttons[i]);
        connect(Buttons[i], &TPictureButton::clicked, this,
                [this, i] { ButtonClick(static_cast<Button>(i)); });
        if (i == Strikeout || i == Right) {
            line->addStretch(1);
        }
    }
    WatchButtons({std::begin(Buttons), std::end(Buttons)});
    BuildFrame(fineTune() ? QString("Fine-tune") : QString("Text"), row, "Font", "Effects");
    AddEffects();
    ColorBox = AddList(basicsLayout_, "Color");
    NameBox = AddList(basicsLayout_, "Name");
    CharsetBox = AddList(basicsLayout_, "Character Set");
    SizeBox = AddList(basicsLayout_, "Size");

    auto* weightRow = new QWidget(basics_);
    auto* weightLayout = new QHBoxLayout(weightRow);
    weightLayout->setContentsMargins(0, 0, 0, 0);
    auto* listColumn = new QVBoxLayout;
    auto* sliderColumn = new QVBoxLayout;
    weightLayout->addLayout(listColumn, 1);
    weightLayout->addLayout(sliderColumn, 1);
    WeightBox = AddList(listColumn, "Weight");
    sliderColumn->addWidget(new QLabel("Custom", weightRow));
    WeightSlider = new QSlider(Qt::Horizontal, weightRow);
    WeightSlider->setRange(1, kWeightCount);
    WeightSlider->setPageStep(1);
    WeightSlider->setValue(4); // "Normal" until a weight is shown
    WeightSlider->setAccessibleName("Custom");
    sliderColumn->addWidget(WeightSlider);
    basicsLayout_->addWidget(weightRow);
    AngleBox = AddList(basicsLayout_, "Angle");
    AddHint(hintsLayout_);
    AddHint(hintsLayout_);
    for (QLabel* hint : hints_) {
        hint->setTextFormat(Qt::RichText);
    }

    connect(ColorBox, &TStyleCombo::chosen, this, &TTextbox::TextColorChange);
    connect(NameBox, &TStyleCombo::chosen, this, &TTextbox::NameBoxChange);
    connect(CharsetBox, &TStyleCombo::chosen, this, &TTextbox::CharsetBoxChange);
    connect(SizeBox, &TStyleCombo::chosen, this, &TTextbox::SizeBoxChange);
    connect(WeightBox, &TStyleCombo::chosen, this, &TTextbox::WeightBoxChange);
    connect(AngleBox, &TStyleCombo::chosen, this, &TTextbox::AngleBoxChange);
    // One change a release while dragged; keys and clicks beside the knob change at once.
    connect(WeightSlider, &QSlider::valueChanged, this, [this](int position) {
        if (!WeightSlider->isSliderDown()) {
            WeightSliderChange(position);
        }
    });
    connect(WeightSlider, &QSlider::sliderReleased, this,
            [this] { WeightSliderChange(WeightSlider->value()); });
    Open();
    SetStep(0);
}

void TTextbox::Open() {
    const FillGuard guard(filling_);
    if (fineTune()) {
        ItemList* items = host_.DesignItems();
        values_ = items ? GatherTextValues(*items) : TextValues{};
    } else {
        const currentState_t& s = params().state;
        values_ = {s.tcolor,  s.tfont,      s.tcharset,   s.tsize,      s.tbold,  s.tdir,
                   s.titalic, s.tunderline, s.tstrikeOut, s.talignment, s.txplas, s.shtext};
    }
    FillLists();
}

void TTextbox::FillLists() {
    const FillGuard guard(filling_);
    colour_ = values_.colour;
    FillColourLists();

    names_ = StyleList{};
    for (const FontListEntry& font : params().fontList) {
        names_.entries.push_back(font.name);
        if (values_.fontName && names_.selected < 0 && SameName(font.name, *values_.fontName)) {
            names_.selected = names_.count() - 1;
        }
    }
    // A face this machine lacks is still the text's face: the box shows its name as stored, the
    // list the families to choose instead.
    NameBox->setPlaceholderText(
        values_.fontName && names_.selected < 0 ? QString::fromStdString(*values_.fontName) : QString());
    NameBox->Fill(names_);
    FillCharsets();

    BuildSizeList(sizes_, params());
    if (fineTune()) {
        sizes_.selected = values_.size ? SizePosition(slots(), *values_.size) : -1;
    } else {
        RestoreSize(sizes_, params());
    }
    SizeBox->Fill(sizes_);

    weights_ = StyleList{};
    weights_.entries.assign(std::begin(kWeightNames), std::end(kWeightNames));
    ShowWeight();

    BuildAngleList(angles_, params(), AngleList::TextAngles);
    if (fineTune()) {
        angles_.selected = values_.angle ? AnglePosition(slots(), AngleList::TextAngles, *values_.angle) : -1;
    } else {
        RestoreTextAngle(angles_, params());
    }
    AngleBox->Fill(angles_);
    FillEffects(values_.surface, values_.shadow);
    RestoreHighlights();
}

void TTextbox::FillCharsets() {
    const FillGuard guard(filling_);
    charsets_ = StyleList{};
    charsetNumbers_.clear();
    const auto entries = values_.fontName
                             ? CharsetEntries(params().fontList, *values_.fontName, DrawingFamilyShown())
                             : std::vector<std::pair<std::string, int32_t>>{};
    for (const auto& [name, number] : entries) {
        charsets_.entries.push_back(name);
        charsetNumbers_.push_back(number);
    }
    // Insert mode shows the set last chosen for the font during this run; fine-tuning the
    // common set, "n/a" when the font does not offer it.
    std::optional<int32_t> shown = values_.charset;
    if (!fineTune()) {
        const FontListEntry* font = FontEntryShown();
        shown = font && font->chosenCharset >= 0 ? font->chosenCharset : 0;
    }
    if (!charsetNumbers_.empty()) {
        const auto found =
            shown ? std::find(charsetNumbers_.begin(), charsetNumbers_.end(), *shown) : charsetNumbers_.end();
        charsets_.selected =
            found == charsetNumbers_.end() ? 0 : static_cast<int>(found - charsetNumbers_.begin());
    }
    CharsetBox->Fill(charsets_);
}

std::string TTextbox::DrawingFamilyShown() const {
    return values_.fontName && !values_.fontName->empty()
               ? DrawingFamily(QString::fromStdString(*values_.fontName)).toStdString()
               : std::string();
}

FontListEntry* TTextbox::FontEntryShown() {
    if (!values_.fontName) {
        return nullptr;
    }
    const int position = FontEntryFor(params().fontList, *values_.fontName, DrawingFamilyShown());
    return position < 0 ? nullptr : &params().fontList[static_cast<size_t>(position)];
}

void TTextbox::ShowWeight() {
    const FillGuard guard(filling_);
    weights_.selected = WeightPosition(values_.weight);
    WeightBox->Fill(weights_);
    // Mixed weights leave the slider where it stands.
    if (values_.weight) {
        const QSignalBlocker blocker(WeightSlider);
        WeightSlider->setValue(
            std::clamp(static_cast<int>(std::lround(*values_.weight / 100.0)), 1, kWeightCount));
    }
}

ButtonLook TTextbox::RestingLook(const TPictureButton* button) const {
    const auto on = [](std::optional<uint8_t> value, uint8_t pressed) { return value && *value == pressed; };
    const bool pressed[ButtonCount] = {values_.weight && *values_.weight == 700,
                                       on(values_.italic, 1),
                                       on(values_.underline, 1),
                                       on(values_.strikeOut, 1),
                                       on(values_.alignment, 1),
                                       on(values_.alignment, 2),
                                       on(values_.alignment, 3)};
    const auto found = std::find(std::begin(Buttons), std::end(Buttons), button);
    return found != std::end(Buttons) && pressed[found - std::begin(Buttons)] ? ButtonLook::Pressed
                                                                              : ButtonLook::Plain;
}

void TTextbox::SetStep(int step) {
    QStringList lines;
    if (!fineTune()) {
        if (step == 303) {
            lines << "Enter the text now."
                  << "When done, click on the pointer button (the button with the hand picture) in the upper "
                     "menu.";
        } else {
            lines
                << "Click where you want the text start."
                << "To make a text box, hold down the mouse button, move the mouse, and release the button.";
        }
    } else if (step == 37) {
        lines
            << "To <b>end edit</b>, click outside the textbox."
            << "Or, click on the <b>pointer</b> button (the button with the hand picture) in the upper menu.";
    } else {
        lines << "To <b>edit</b> the text, double-click on it."
              << "To <b>move</b> the text, place the cursor on the center point, hold down the mouse key and "
                 "move "
                 "the mouse";
    }
    for (int i = 0; i < 2; ++i) {
        hints_[static_cast<size_t>(i)]->setText(lines[i]);
    }
}

void TTextbox::EditingStarted() {
    SetStep(fineTune() ? 37 : 303);
}

void TTextbox::EditingEnded() {
    SetStep(0);
}

void TTextbox::ApplyToTypedText() {
    // The text being typed takes the style within its typing session, which stays open.
    const currentState_t& typed = params().state;
    if (host_.ChangeTypedText([&typed](ItemRecord& text) { TakeTextDefaults(text, typed); })) {
        return;
    }
    ItemList* items = host_.DesignItems();
    if (items && SelectionIsOneText(*items)) {
        const currentState_t& state = params().state;
        ApplyToSelection([&state](ItemList& l, CommandWindow& w) { return ApplyTextDefaults(l, w, state); });
    }
}

void TTextbox::Change(const std::function<void(currentState_t&)>& setDefault,
                      const std::function<bool(ItemList&, CommandWindow&)>& fineTuneCommand, bool recorded) {
    if (fineTune()) {
        ApplyToSelection(fineTuneCommand);
    } else {
        setDefault(params().state);
        ApplyToTypedText();
    }
    if (recorded) {
        host_.RecordChange();
    }
}

void TTextbox::TextColorChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    const std::optional<int32_t> chosen = ChosenColour(position);
    if (!chosen) {
        return;
    }
    const int32_t colour = *chosen;
    colour_ = values_.colour = colour;
    Change([colour](currentState_t& s) { s.tcolor = colour; },
           [colour](ItemList& l, CommandWindow& w) { return SetTextColor(l, w, colour); }, true);
    if (position == kColourCustomize) {
        FillColourLists();
    }
}

void TTextbox::NameBoxChange(int position) {
    if (filling_ || position < 0 || position >= names_.count()) {
        return;
    }
    const std::string name = names_.entries[static_cast<size_t>(position)];
    values_.fontName = name;
    // Each text keeps its character set; the next text keeps "tcharset".
    Change([name](currentState_t& s) { s.tfont = name; },
           [name](ItemList& l, CommandWindow& w) { return SetTextFont(l, w, name, -1); }, true);
    FillCharsets();
}

void TTextbox::CharsetBoxChange(int position) {
    if (filling_ || position < 0 || position >= static_cast<int>(charsetNumbers_.size())) {
        return;
    }
    const int32_t charset = charsetNumbers_[static_cast<size_t>(position)];
    values_.charset = charset;
    if (fineTune()) {
        const std::string name = values_.fontName.value_or(std::string());
        Change(
            {}, [name, charset](ItemList& l, CommandWindow& w) { return SetTextFont(l, w, name, charset); },
            true);
        return;
    }
    if (FontListEntry* font = FontEntryShown()) {
        font->chosenCharset = charset;
    }
    Change([charset](currentState_t& s) { s.tcharset = charset; }, {}, true);
}

void TTextbox::SizeBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    if (OpenPageFor(SizeBox, position, kSizeCustomize, kFontSizePage)) {
        return;
    }
    sizes_.selected = position;
    const int32_t size = SizeAt(sizes_, slots());
    if (size <= 0) {
        SizeBox->TakeBack();
        return;
    }
    values_.size = size;
    // A smaller text leaves the old letters behind unless the window is drawn again, which the
    // size command does by repainting the area the texts covered before and after.
    Change(
        [size, position](currentState_t& s) {
            s.tsize = size;
            s.tsizetab = position;
        },
        [size](ItemList& l, CommandWindow& w) { return SetFontSize(l, w, size); }, true);
}

void TTextbox::SetWeight(int32_t weight) {
    values_.weight = weight;
    Change([weight](currentState_t& s) { s.tbold = weight; },
           [weight](ItemList& l, CommandWindow& w) { return SetFontWeight(l, w, weight); }, false);
    ShowWeight();
    RestoreHighlights();
}

void TTextbox::WeightBoxChange(int position) {
    if (filling_ || position < 0 || position >= kWeightCount) {
        return;
    }
    SetWeight((position + 1) * 100);
}

void TTextbox::WeightSliderChange(int position) {
    if (filling_ || WeightPosition(values_.weight) == position - 1) {
        return;
    }
    SetWeight(position * 100);
}

void TTextbox::AngleBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    if (OpenPageFor(AngleBox, position, kAngleCustomize, kTextAnglePage)) {
        return;
    }
    angles_.selected = position;
    const double degrees = AngleAt(angles_, slots(), AngleList::TextAngles);
    const int32_t whole = position == 0 ? -1 : nearest(degrees);
    values_.angle = whole;
    Change(
        [degrees, whole, position](currentState_t& s) {
            s.tangle = whole < 0 ? -10 : nearest(degrees * 10.0);
            s.tdir = whole;
            s.tangletab = position;
        },
        [whole](ItemList& l, CommandWindow& w) { return SetTextAngle(l, w, whole); }, true);
}

void TTextbox::ButtonClick(Button button) {
    const bool pressed = Buttons[button]->look() == ButtonLook::Pressed;
    switch (button) {
    case Bold:
        SetWeight(pressed ? 400 : 700);
        return;
    case Italic:
    case Underline:
    case Strikeout: {
        const uint8_t on = pressed ? 0 : 1;
        std::optional<uint8_t>& shown = button == Italic      ? values_.italic
                                        : button == Underline ? values_.underline
                                                              : values_.strikeOut;
        shown = on;
        Change(
            [button, on](currentState_t& s) {
                (button == Italic ? s.titalic : button == Underline ? s.tunderline : s.tstrikeOut) = on;
            },
            [button, on](ItemList& l, CommandWindow& w) {
                return button == Italic      ? SetItalic(l, w, on != 0)
                       : button == Underline ? SetUnderline(l, w, on != 0)
                                             : SetStrikeOut(l, w, on != 0);
            },
            false);
        break;
    }
    case Left:
    case Center:
    case Right: {
        if (pressed) { // the alignment shown stays
            return;
        }
        const uint8_t alignment = static_cast<uint8_t>(button - Left + 1);
        values_.alignment = alignment;
        Change([alignment](currentState_t& s) { s.talignment = alignment; },
               [alignment](ItemList& l, CommandWindow& w) { return SetTextAlignment(l, w, alignment); },
               false);
        break;
    }
    case ButtonCount:
        return;
    }
    RestoreHighlights();
}

void TTextbox::RebuildSizes() {
    const FillGuard guard(filling_);
    const int before = params().state.tsizetab;
    BuildSizeList(sizes_, params());
    // A size added on the page becomes the next text's (the list builder handed it over).
    const bool handedOver = params().state.tsizetab != before;
    if (fineTune()) {
        sizes_.selected = values_.size ? SizePosition(slots(), *values_.size) : -1;
    } else {
        RestoreSize(sizes_, params());
        if (handedOver) {
            ApplyToTypedText();
        }
    }
    SizeBox->Fill(sizes_);
}

void TTextbox::RebuildAngles() {
    const FillGuard guard(filling_);
    const int before = params().state.tangletab;
    BuildAngleList(angles_, params(), AngleList::TextAngles);
    const bool handedOver = params().state.tangletab != before;
    if (fineTune()) {
        angles_.selected = values_.angle ? AnglePosition(slots(), AngleList::TextAngles, *values_.angle) : -1;
    } else {
        RestoreTextAngle(angles_, params());
        if (handedOver) {
            ApplyToTypedText();
        }
    }
    AngleBox->Fill(angles_);
}

void TTextbox::StyleListsChanged(int page) {
    if (page == kFontSizePage) {
        RebuildSizes();
    } else if (page == kTextAnglePage) {
        RebuildAngles();
    } else if (page == kShadowPage) {
        FillEffects(values_.surface, values_.shadow);
    }
}

} // namespace vlr
