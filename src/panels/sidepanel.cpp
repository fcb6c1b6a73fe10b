// The parts the line and shape panels share.
#include "panels/sidepanel.h"

#include "model/itemkind.h"
#include "model/itemlist.h"
#include "panels/picturebutton.h"
#include "render/rastercanvas.h"

#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vlr {

PanelHost::~PanelHost() = default;

// ---- list entries ----

TEntryDelegate::TEntryDelegate(int panelFontSize, QObject* parent)
    : QStyledItemDelegate(parent), fontSize_(panelFontSize), itemHeight_(ItemHeight(panelFontSize)) {}

int TEntryDelegate::ItemHeight(int panelFontSize) {
    return panelFontSize == 10 ? 18 : panelFontSize == 12 ? 20 : 16;
}

ListEntry TEntryDelegate::EntryAt(const QModelIndex& index) {
    const QVariant stored = index.data(kEntryRole);
    if (stored.canConvert<ListEntry>()) {
        return stored.value<ListEntry>();
    }
    ListEntry entry;
    entry.text = index.data(Qt::DisplayRole).toString();
    const QVariant swatch = index.data(Qt::DecorationRole);
    if (swatch.canConvert<QColor>() && swatch.value<QColor>().isValid()) {
        entry.kind = EntryKind::Colour;
        entry.swatch = swatch.value<QColor>();
    }
    entry.customize = entry.text == kCustomize;
    return entry;
}

void TEntryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    painter->save();
    // Texts are black on every entry, so the chosen entry is marked by a pale tint of the
    // highlight colour rather than the full one.
    QColor background = option.palette.base().color();
    if (option.state & (QStyle::State_Selected | QStyle::State_MouseOver)) {
        const QColor mark = option.palette.highlight().color();
        background = QColor((mark.red() + 2 * 255) / 3, (mark.green() + 2 * 255) / 3, (mark.blue() + 2 * 255) / 3);
    }
    painter->fillRect(option.rect, background);
    painter->setFont(option.font);
    PaintListEntry(*painter, option.rect, fontSize_, EntryAt(index));
    painter->restore();
}

QSize TEntryDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return {QStyledItemDelegate::sizeHint(option, index).width() + 48, itemHeight_};
}

TStyleCombo::TStyleCombo(int panelFontSize, QWidget* parent) : QComboBox(parent), fontSize_(panelFontSize) {
    setItemDelegate(new TEntryDelegate(panelFontSize, this));
    connect(this, &QComboBox::activated, this, [this](int position) {
        Q_EMIT chosen(position);
        previous_ = currentIndex();
    });
}

void TStyleCombo::SetEntryKind(EntryKind kind, const TParams& params) {
    kind_ = kind;
    params_ = &params;
}

void TStyleCombo::Fill(const StyleList& list, const std::vector<QColor>& swatches) {
    static const TParams factory;
    const QSignalBlocker blocker(this);
    clear();
    const std::vector<ListEntry> entries = EntriesOf(kind_, list, params_ ? *params_ : factory, swatches, preview_);
    for (int i = 0; i < list.count(); ++i) {
        const ListEntry& entry = entries[static_cast<size_t>(i)];
        addItem(entry.text);
        setItemData(i, QVariant::fromValue(entry), kEntryRole);
        if (entry.swatch.isValid()) {
            setItemData(i, entry.swatch, Qt::DecorationRole);
        }
    }
    Select(list.selected);
}

void TStyleCombo::paintEvent(QPaintEvent*) {
    // The closed box shows its entry as the open list does.
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    if (currentIndex() < 0) {
        // A value the list does not offer, named as it is.
        if (!placeholderText().isEmpty()) {
            painter.drawItemText(field.adjusted(3, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, palette(),
                                 isEnabled(), placeholderText(), QPalette::Text);
        }
        return;
    }
    painter.save();
    painter.setClipRect(field);
    PaintListEntry(painter, field, fontSize_, TEntryDelegate::EntryAt(model()->index(currentIndex(), 0)));
    painter.restore();
}

void TStyleCombo::Select(int position) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(position >= 0 && position < count() ? position : -1);
    previous_ = currentIndex();
}

// ---- values of a selection ----

std::vector<const ItemRecord*> SelectedStyledItems(const ItemList& list) {
    std::vector<const ItemRecord*> items;
    for (const ItemRecord* record : list) {
        if (IsSelected(record) && record->kind != ItemKind::GroupMarker) {
            items.push_back(record);
        }
    }
    return items;
}

PatternKey PatternOf(const ItemList& list, int32_t dashPattern) {
    if (dashPattern >= 0) {
        // Values above the built-in styles draw solid.
        return {dashPattern <= 4 ? dashPattern : 0, {}};
    }
    PatternKey key{-1, {}};
    for (const ItemRecord* record : list) {
        if (record->recordClass == RecordClass::LinePattern && record->kind == dashPattern) {
            const int32_t used = std::clamp<int32_t>(record->segmentCount, 0, 12);
            for (int32_t i = 0; i < used; ++i) {
                key.lengths.push_back(record->segmentLengths[static_cast<size_t>(i)]);
            }
            return key;
        }
    }
    return {0, {}}; // no definition: drawn solid
}

bool SamePatternKey(const PatternKey& a, const PatternKey& b) {
    if (a.builtIn != b.builtIn || a.lengths.size() != b.lengths.size()) {
        return false;
    }
    for (size_t i = 0; i < a.lengths.size(); ++i) {
        if (!NearlyEqual(a.lengths[i], b.lengths[i])) {
            return false;
        }
    }
    return true;
}

QColor QColorFromValue(int32_t colour) {
    return colour < 0 ? QColor() : QColor(QRgbFromColour(colour));
}

std::vector<QColor> ColourSwatches(const StyleList& list, const StyleSlots& slots, bool fill, int32_t solidColour) {
    std::vector<QColor> swatches;
    StyleList probe = list;
    for (int i = 0; i < list.count(); ++i) {
        probe.selected = i;
        const int32_t colour = fill ? FillColourAt(probe, slots) : ColourAt(probe, slots);
        if (fill && i == 0) {
            swatches.push_back(QColorFromValue(solidColour < 0 ? 0 : solidColour));
        } else if (fill && i == 1) {
            swatches.push_back(QColor(Qt::transparent));
        } else {
            swatches.push_back(QColorFromValue(colour));
        }
    }
    return swatches;
}

// ---- the panel frame ----

TStylePanel::TStylePanel(PanelHost& host, int code, QWidget* parent)
    : QWidget(parent), host_(host), code_(code), fineTune_(IsFineTuneCode(code)) {
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColorFromValue(host.params().initWindow.panelColor));
    setPalette(palette);
    hoverTimer_ = new QTimer(this);
    hoverTimer_->setObjectName("hoverTimer");
    hoverTimer_->setSingleShot(true);
    hoverTimer_->setInterval(5000);
    connect(hoverTimer_, &QTimer::timeout, this, &TStylePanel::RestoreHighlights);
}

bool TStylePanel::IsFineTuneCode(int code) {
    // 300, 302 and 303 style the text being inserted; 59, 99, 301 and 401 change the selection.
    return code == 59 || code == 99 || (code >= 200 && code != 300 && code != 302 && code != 303);
}

namespace {

constexpr int kTransformRowTop = 24;
constexpr int kTransformLeft = 2;
constexpr int kTransformGap = 2;
// Below this the pictures stop reading; above it the buttons outgrow the toolbar's.
constexpr int kSmallestTransformButton = 16;
constexpr int kLargestTransformButton = 28;
constexpr int kCaptionButtonHeight = 20;

} // namespace

std::vector<QRect> TransformButtonPlaces(int width, int top, int extraWidth) {
    const int room = width - 2 * kTransformLeft - 3 * kTransformGap;
    const int side = std::clamp(room / 4, kSmallestTransformButton, kLargestTransformButton);
    std::vector<QRect> places;
    for (int i = 0; i < 4; ++i) {
        places.emplace_back(kTransformLeft + i * (side + kTransformGap), top, side, side);
    }
    if (extraWidth > 0) {
        const int after = places.back().right() + 1 + kTransformGap;
        if (after + extraWidth <= width - kTransformLeft) {
            places.emplace_back(after, top, extraWidth, side);
        } else {
            places.emplace_back(kTransformLeft, top + side + kTransformGap, extraWidth, kCaptionButtonHeight);
        }
    }
    return places;
}

QWidget* TStylePanel::AddTransformButtons(const QString (&texts)[4], TPictureButton* (&buttons)[4],
                                          TPictureButton* extra) {
    // Mirror, flip, a quarter turn one way and the other, as TransformSelection takes them.
    const struct {
        bool mirror, flip;
        int32_t rotate;
        Glyph glyph;
    } actions[] = {{true, false, 0, Glyph::Mirror},
                   {false, true, 0, Glyph::Flip},
                   {false, false, 1, Glyph::TurnLeft},
                   {false, false, -1, Glyph::TurnRight}};
    for (int i = 0; i < 4; ++i) {
        const auto action = actions[i];
        buttons[i] = new TPictureButton(QString(), ButtonStyle::Tool, this);
        buttons[i]->setGlyph(action.glyph);
        buttons[i]->setToolTip(texts[i]);
        buttons[i]->setAccessibleName(texts[i]);
        transformButtons_.push_back(buttons[i]);
        connect(buttons[i], &TPictureButton::clicked, this, [this, action] {
            ApplyToSelection([action](ItemList& l, CommandWindow& w) {
                return TransformSelection(l, w, action.mirror, action.flip, action.rotate);
            });
        });
    }
    // The extra button lights and rests with the four, not after the pointer has long gone.
    std::vector<TPictureButton*> watched(buttons, buttons + 4);
    if (extra) {
        extra->setParent(this);
        transformButtons_.push_back(extra);
        watched.push_back(extra);
    }
    WatchButtons(watched);
    // The buttons stand at fixed places from the panel's edge rather than in the frame's
    // margins; the row only holds their room in the frame.
    transformRow_ = new QWidget(this);
    PlaceTransformButtons();
    return transformRow_;
}

void TStylePanel::PlaceTransformButtons() {
    if (!transformRow_) {
        return;
    }
    // A title taller than its usual line pushes the row down rather than lie under it.
    const int top = std::max(kTransformRowTop, title_ ? title_->geometry().bottom() + 1 : 0);
    TPictureButton* extra = transformButtons_.size() > 4 ? transformButtons_[4] : nullptr;
    const std::vector<QRect> places =
        TransformButtonPlaces(width(), top, extra ? extra->minimumSizeHint().width() : 0);
    int bottom = 0;
    for (size_t i = 0; i < transformButtons_.size(); ++i) {
        transformButtons_[i]->setGeometry(places[i]);
        transformButtons_[i]->raise(); // above the row that holds their room
        bottom = std::max(bottom, places[i].bottom() + 1);
    }
    // Before the frame has laid the row out, its place is taken to be right under the top.
    const int rowTop = title_ && transformRow_->y() > 0 ? transformRow_->y() : top;
    const int height = std::max(0, bottom - rowTop);
    if (transformRow_->minimumHeight() != height || transformRow_->maximumHeight() != height) {
        transformRow_->setFixedHeight(height);
    }
}

void TStylePanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceTransformButtons();
}

void TStylePanel::BuildFrame(const QString& titleText, QWidget* row, const QString& firstTab,
                             const QString& secondTab) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    title_ = new QLabel(titleText, this);
    title_->setObjectName("title");
    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSize(titleFont.pointSize() + 4);
    title_->setFont(titleFont);
    layout->addWidget(title_);
    if (row) {
        layout->addWidget(row);
    }
    tabs_ = new QTabBar(this);
    tabs_->addTab(firstTab);
    tabs_->addTab(secondTab);
    tabs_->setExpanding(true);
    tabs_->setMouseTracking(true);
    tabs_->installEventFilter(this);
    layout->addWidget(tabs_);
    basics_ = new QWidget(this);
    effects_ = new QWidget(this);
    basicsLayout_ = new QVBoxLayout(basics_);
    effectsLayout_ = new QVBoxLayout(effects_);
    for (QVBoxLayout* area : {basicsLayout_, effectsLayout_}) {
        area->setContentsMargins(0, 0, 0, 4);
        area->setSpacing(2);
    }
    layout->addWidget(basics_);
    layout->addWidget(effects_);
    hintsLayout_ = new QVBoxLayout;
    hintsLayout_->setSpacing(2);
    layout->addLayout(hintsLayout_);
    layout->addStretch(1);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        HighlightTab(-1);
        basics_->setVisible(index == 0);
        effects_->setVisible(index == 1);
        // Kept at once rather than when the panel is freed: a panel freed late, as the main
        // window closes, must not write into settings that are gone.
        TabSetting() = index == 1 ? 2 : 1;
    });
    // A remembered tab other than 1 or 2 counts as 1.
    SetTab(TabSetting() == 2 ? 2 : 1);
    basics_->setVisible(tab() == 1);
    effects_->setVisible(tab() == 2);
}

void TStylePanel::WatchButtons(const std::vector<TPictureButton*>& buttons) {
    for (TPictureButton* button : buttons) {
        watchedButtons_.push_back(button);
        button->installEventFilter(this);
        connect(button, &TPictureButton::pointed, this, [this, button] { ButtonPointed(button); });
    }
}

void TStylePanel::ButtonPointed(TPictureButton* pointed) {
    if (pointed->look() == ButtonLook::Pressed) {
        RestoreHighlights();
        return;
    }
    for (TPictureButton* button : watchedButtons_) {
        if (button != pointed) {
            button->setLook(RestingLook(button));
        }
    }
    hoverTimer_->start();
}

void TStylePanel::RestoreHighlights() {
    hoverTimer_->stop();
    for (TPictureButton* button : watchedButtons_) {
        button->setLook(RestingLook(button));
    }
    HighlightTab(-1);
}

bool TStylePanel::eventFilter(QObject* watched, QEvent* event) {
    // Off a button the pointer is over the rest of the panel, where nothing stays lit.
    if (event->type() == QEvent::Leave &&
        std::find(watchedButtons_.begin(), watchedButtons_.end(), watched) != watchedButtons_.end()) {
        RestoreHighlights();
    }
    if (watched == tabs_) {
        if (event->type() == QEvent::MouseMove) {
            const int index = tabs_->tabAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            HighlightTab(index == tabs_->currentIndex() ? -1 : index);
        } else if (event->type() == QEvent::Leave) {
            HighlightTab(-1);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TStylePanel::HighlightTab(int index) {
    if (index == highlightedTab_) {
        return; // resting on the same tab does not prolong the highlight
    }
    if (highlightedTab_ >= 0) {
        tabs_->setTabTextColor(highlightedTab_, QColor());
    }
    highlightedTab_ = index;
    if (index >= 0) {
        tabs_->setTabTextColor(index, palette().color(QPalette::Highlight));
        hoverTimer_->start();
    } else {
        hoverTimer_->stop();
    }
}

int TStylePanel::tab() const {
    return tabs_ && tabs_->currentIndex() == 1 ? 2 : 1;
}

void TStylePanel::SetTab(int tab) {
    if (tabs_) {
        tabs_->setCurrentIndex(tab == 2 ? 1 : 0);
    }
}

QString TStylePanel::title() const {
    return title_ ? title_->text() : QString();
}

QStringList TStylePanel::HintLines() const {
    QStringList lines;
    for (const QLabel* hint : hints_) {
        if (!hint->isHidden() && !hint->text().isEmpty()) {
            lines << hint->text();
        }
    }
    return lines;
}

TStyleCombo* TStylePanel::AddList(QVBoxLayout* area, const QString& label) {
    auto* caption = new QLabel(label, area->parentWidget());
    auto* list = new TStyleCombo(params().initWindow.fontSize, area->parentWidget());
    list->setAccessibleName(label);
    caption->setBuddy(list);
    area->addWidget(caption);
    area->addWidget(list);
    labels_.emplace_back(list, caption);
    return list;
}

QLabel* TStylePanel::ListLabel(TStyleCombo* list) const {
    for (const auto& [combo, label] : labels_) {
        if (combo == list) {
            return label;
        }
    }
    return nullptr;
}

void TStylePanel::SetListShown(TStyleCombo* list, bool shown) {
    list->setHidden(!shown);
    if (QLabel* label = ListLabel(list)) {
        label->setHidden(!shown);
    }
}

QLabel* TStylePanel::AddHint(QVBoxLayout* area) {
    auto* hint = new QLabel(area->parentWidget());
    hint->setWordWrap(true);
    area->addWidget(hint);
    hints_.push_back(hint);
    return hint;
}

void TStylePanel::AddEffects() {
    if (ColorBox) {
        connect(ColorBox, &TStyleCombo::chosen, this, &TStylePanel::ColorBoxChange);
    }
    if (FillBox) {
        connect(FillBox, &TStyleCombo::chosen, this, &TStylePanel::FillBoxChange);
    }
    SurfaceBox = AddList(effectsLayout_, "Surface");
    ShadowBox = AddList(effectsLayout_, "Shadow");
    ShadowBox->SetEntryKind(EntryKind::Shadow, params());
    connect(SurfaceBox, &TStyleCombo::chosen, this, &TStylePanel::SurfaceBoxChange);
    connect(ShadowBox, &TStyleCombo::chosen, this, &TStylePanel::ShadowBoxChange);
}

void TStylePanel::FillEffects(std::optional<int32_t> surface, std::optional<ShadowStyle> shadow) {
    const FillGuard guard(filling_);
    BuildSurfaceList(surfaces_);
    surfaces_.selected = surface ? SurfacePosition(*surface) : -1;
    SurfaceBox->Fill(surfaces_);
    BuildShadowList(shadows_, params());
    shadows_.selected =
        shadow ? ShadowPosition(params().slots, shadow->elevation, shadow->fade, shadow->lightness) : -1;
    ShadowBox->Fill(shadows_);
}

void TStylePanel::SurfaceBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    const int32_t surface = SurfaceAt(position);
    if (fineTune()) {
        ApplyToSelection(
            [surface](ItemList& l, CommandWindow& w) { return SetSurface(l, w, static_cast<uint8_t>(surface)); });
    } else {
        SurfaceSetting() = surface;
    }
}

void TStylePanel::ShadowBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    if (OpenPageFor(ShadowBox, position, kShadowCustomize, kShadowPage)) {
        return;
    }
    shadows_.selected = position;
    int32_t elevation = 0, fade = 0, lightness = 0;
    ShadowAt(shadows_, params().slots, position, elevation, fade, lightness);
    const ShadowStyle shadow{static_cast<uint8_t>(elevation), static_cast<uint8_t>(fade),
                             static_cast<uint8_t>(lightness)};
    if (fineTune()) {
        ApplyToSelection([shadow](ItemList& l, CommandWindow& w) { return SetShadow(l, w, shadow); });
    } else {
        ShadowSetting() = shadow;
    }
}

void TStylePanel::FillColourLists() {
    const FillGuard guard(filling_);
    BuildColourList(colours_, slots());
    colours_.selected = colour_ ? ColourPosition(slots(), *colour_) : -1;
    ColorBox->Fill(colours_, ColourSwatches(colours_, slots(), false, 0));
    FillColourDependentLists();
}

// The fill list's "Solid" swatch shows the outline colour.
void TStylePanel::FillColourDependentLists() {
    const FillGuard guard(filling_);
    if (!FillBox) {
        RebuildWeightLists();
        return;
    }
    BuildFillColourList(fills_, slots());
    if (fill_) {
        SelectFillColour(fills_, slots(), *fill_);
    } else {
        fills_.selected = -1;
    }
    FillBox->Fill(fills_, ColourSwatches(fills_, slots(), true, colour_.value_or(0)));
    // The weight bars show the colour of the line they are for.
    for (TStyleCombo* list : findChildren<TStyleCombo*>()) {
        list->SetPreviewColour(colour_.value_or(0));
    }
    RebuildWeightLists();
}

void TStylePanel::SetColour(int32_t colour) {
    colour_ = colour;
    if (fineTune()) {
        ApplyToSelection([this, colour](ItemList& l, CommandWindow& w) { return ApplyColour(l, w, colour); });
    } else {
        ColourSetting() = colour;
        // A fill colour that is in no list gives way to the new colour; "Solid" and "Clear" are
        // no colours and stay.
        if (FillSetting() >= 0) {
            FillSetting() = EnsureListedColour(slots(), FillSetting(), colour);
            fill_ = FillSetting();
        }
    }
    FillColourDependentLists();
    host_.RecordChange();
}

void TStylePanel::ColorBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    if (const std::optional<int32_t> colour = ChosenColour(position)) {
        SetColour(*colour);
        if (position == kColourCustomize) {
            FillColourLists();
        }
    }
}

std::optional<int32_t> TStylePanel::ChosenColour(int position) {
    int32_t colour = 0;
    if (position == kColourCustomize) {
        return PickListColour(ColorBox, colour) ? std::optional<int32_t>(colour) : std::nullopt;
    }
    colours_.selected = position;
    colour = ColourAt(colours_, slots());
    if (colour < 0) { // a dialog colour whose text is no colour
        ColorBox->TakeBack();
        return std::nullopt;
    }
    return colour;
}

QString LinkWords(const QString& words, const QString& target, bool lit) {
    return QString("<a href=\"%1\" style=\"color:%2; text-decoration:underline\">%3</a>")
        .arg(target, lit ? "blue" : "black", words);
}

QLabel* TStylePanel::AddLinkHint(QVBoxLayout* area, const std::function<void(const QString& link)>& onLink) {
    QLabel* hint = AddHint(area);
    hint->setTextFormat(Qt::RichText);
    hint->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(hint, &QLabel::linkActivated, this, onLink);
    connect(hint, &QLabel::linkHovered, this, [hint](const QString& link) {
        const bool over = !link.isEmpty();
        hint->setText(hint->text().replace(over ? "color:black" : "color:blue", over ? "color:blue" : "color:black"));
    });
    return hint;
}

void TStylePanel::SetFill(int32_t fill) {
    fill_ = fill;
    if (fineTune()) {
        ApplyToSelection([fill](ItemList& l, CommandWindow& w) { return SetFillColor(l, w, fill); });
    } else {
        FillSetting() = fill;
    }
    FillChanged();
    host_.RecordChange();
}

void TStylePanel::FillBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    if (position == kFillCustomize) {
        int32_t colour = 0;
        if (PickListColour(FillBox, colour)) {
            SetFill(colour);
            FillColourDependentLists();
        }
        return;
    }
    fills_.selected = position;
    SetFill(FillColourAt(fills_, slots()));
}

bool TStylePanel::OpenPageFor(TStyleCombo* box, int position, int customizePosition, int page) {
    if (position != customizePosition) {
        return false;
    }
    box->TakeBack();
    host_.OpenStylePage(page);
    return true;
}

double TStylePanel::ChooseWeight(StyleList& list, int position) {
    list.selected = position;
    return WeightAt(list, slots());
}

void TStylePanel::SetWeight(double mm, int position, double& mmSetting, int32_t& positionSetting) {
    if (fineTune()) {
        ApplyToSelection([mm](ItemList& l, CommandWindow& w) { return SetOutlineWeight(l, w, mm); });
    } else {
        mmSetting = mm;
        positionSetting = position;
    }
    host_.RecordChange();
}

bool TStylePanel::ApplyToSelection(const std::function<bool(ItemList&, CommandWindow&)>& command) {
    ItemList* items = host_.DesignItems();
    CommandWindow* window = host_.DesignCommands();
    if (!items || !window) {
        return false;
    }
    return command(*items, *window);
}

bool TStylePanel::PickListColour(TStyleCombo* list, int32_t& colour) {
    list->TakeBack();
    const std::optional<int32_t> picked = host_.PickColour();
    if (!picked) {
        return false;
    }
    if (ColourPosition(params().slots, *picked) == -1) {
        AddCustomColour(params().slots, *picked);
    }
    colour = *picked;
    return true;
}

} // namespace vlr
