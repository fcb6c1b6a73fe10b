// The picture editor's side panel.
#include "pictures/pictbox.h"

#include "render/rastercanvas.h"
#include "settings/params.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace vlr {

namespace {

constexpr int kSwatchSize = 12;

QIcon Swatch(int32_t colour) {
    QPixmap swatch(kSwatchSize, kSwatchSize);
    swatch.fill(QColor(QRgbFromColour(colour)));
    QPainter painter(&swatch);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    return QIcon(swatch);
}

// The combo box shows the list's entries and its selection; nothing selected shows no entry.
void ShowList(QComboBox& box, const StyleList& list) {
    box.clear();
    for (const std::string& entry : list.entries) {
        box.addItem(QString::fromStdString(entry));
    }
    box.setCurrentIndex(list.selected);
}

QLabel* Caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setContentsMargins(0, 6, 0, 0);
    return label;
}

} // namespace

TPictbox::TPictbox(TParams& params, QWidget* parent) : QWidget(parent), params_(params) {
    setFixedWidth(kWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    tabs_ = new QTabBar(this);
    tabs_->addTab("Clips");
    tabs_->addTab("Effects");
    tabs_->setExpanding(true);
    layout->addWidget(tabs_);
    pages_ = new QStackedWidget(this);
    layout->addWidget(pages_, 1);

    auto* clips = new QWidget(pages_);
    auto* clipsLayout = new QVBoxLayout(clips);
    clipsLayout->setContentsMargins(0, 4, 0, 0);
    modeList_ = new QComboBox(clips);
    modeList_->addItems({"Entire image", "Clips", "Round clips"});
    clipsLayout->addWidget(modeList_);
    summary_ = new QLabel(clips);
    summary_->setContentsMargins(0, 8, 0, 0);
    clipsLayout->addWidget(summary_);
    clipsLayout->addStretch(1);
    pages_->addWidget(clips);

    auto* effects = new QWidget(pages_);
    auto* effectsLayout = new QVBoxLayout(effects);
    effectsLayout->setContentsMargins(0, 0, 0, 0);
    effectsLayout->setSpacing(2);
    for (auto [caption, list] : {std::pair{"Frame", &frameList_}, std::pair{"Frame Color", &colourList_},
                                 std::pair{"Shadow", &shadowList_}, std::pair{"Frame 3-D", &surfaceList_}}) {
        effectsLayout->addWidget(Caption(caption, effects));
        *list = new QComboBox(effects);
        effectsLayout->addWidget(*list);
    }
    effectsLayout->addStretch(1);
    pages_->addWidget(effects);

    connect(tabs_, &QTabBar::currentChanged, pages_, &QStackedWidget::setCurrentIndex);
    connect(modeList_, &QComboBox::activated, this, [this](int mode) { Q_EMIT insertModeChosen(mode); });
    connect(frameList_, &QComboBox::activated, this, &TPictbox::FrameChosen);
    connect(colourList_, &QComboBox::activated, this, &TPictbox::ColourChosen);
    connect(shadowList_, &QComboBox::activated, this, &TPictbox::ShadowChosen);
    connect(surfaceList_, &QComboBox::activated, this, &TPictbox::SurfaceChosen);

    FillFrames();
    FillColours();
    FillShadows();
    FillSurfaces();
    EnableFrameLists();
    SetClipCounts(0, 0);
}

int TPictbox::insertMode() const {
    return modeList_->currentIndex();
}

void TPictbox::SetInsertMode(int mode) {
    modeList_->setCurrentIndex(mode);
}

void TPictbox::SetClipCounts(int rectangles, int rounds) {
    rectangles_ = rectangles;
    rounds_ = rounds;
    summary_->setText(QString::number(rectangles) + " Rectangular clip(s)\n" + QString::number(rounds) +
                      " Round clip(s)");
}

void TPictbox::SetTab(int tab) {
    tabs_->setCurrentIndex(tab == 2 ? 1 : 0);
}

int TPictbox::tab() const {
    return tabs_->currentIndex() + 1;
}

void TPictbox::RebuildFrames() {
    FillFrames();
    EnableFrameLists();
}

void TPictbox::RebuildShadows() {
    FillShadows();
}

void TPictbox::FillFrames() {
    filling_ = true;
    BuildFrameWeightList(frames_, params_);
    const currentState_t& state = params_.state;
    SelectFrameWeight(frames_, params_.slots, state.clframe != 0 ? state.frwidth : 0.0);
    ShowList(*frameList_, frames_);
    filling_ = false;
}

void TPictbox::FillColours() {
    filling_ = true;
    BuildColourList(colours_, params_.slots);
    StyleList probe = colours_;
    ShowList(*colourList_, colours_);
    for (int position = 0; position < colours_.count(); ++position) {
        probe.selected = position;
        const int32_t colour = ColourAt(probe, params_.slots);
        if (colour >= 0) {
            colourList_->setItemIcon(position, Swatch(colour));
        }
    }
    SelectColour(colours_, params_.slots, params_.state.frcolor);
    colourList_->setCurrentIndex(colours_.selected);
    filling_ = false;
}

void TPictbox::FillShadows() {
    filling_ = true;
    BuildShadowList(shadows_, params_);
    const currentState_t& state = params_.state;
    shadows_.selected = state.clshadw != 0 ? ShadowPosition(params_.slots, state.shpict.elevation,
                                                            state.shpict.fade, state.shpict.lightness)
                                           : 0;
    ShowList(*shadowList_, shadows_);
    filling_ = false;
}

void TPictbox::FillSurfaces() {
    filling_ = true;
    BuildSurfaceList(surfaces_);
    surfaces_.selected = SurfacePosition(params_.state.frplas);
    ShowList(*surfaceList_, surfaces_);
    filling_ = false;
}

void TPictbox::EnableFrameLists() {
    const bool framed = frames_.selected > 0 && FrameWeightAt(frames_, params_.slots) > 0.0;
    colourList_->setEnabled(framed);
    surfaceList_->setEnabled(framed);
    colourList_->setCurrentIndex(framed ? colours_.selected : -1);
    surfaceList_->setCurrentIndex(framed ? surfaces_.selected : -1);
}

void TPictbox::FrameChosen(int position) {
    if (filling_) {
        return;
    }
    if (frames_.entries[position] == kCustomize) {
        frameList_->setCurrentIndex(frames_.selected);
        if (customiseWeights) {
            customiseWeights();
        }
        return;
    }
    frames_.selected = position;
    const double millimetres = FrameWeightAt(frames_, params_.slots);
    currentState_t& state = params_.state;
    state.frwidth = std::max(millimetres, 0.0);
    state.clframe = state.frwidth > 0.0 ? 1 : 0;
    EnableFrameLists();
}

void TPictbox::ColourChosen(int position) {
    if (filling_) {
        return;
    }
    if (colours_.entries[position] == kCustomize) {
        std::optional<int32_t> chosen = chooseColour ? chooseColour(params_.state.frcolor) : std::nullopt;
        if (chosen) {
            if (ColourPosition(params_.slots, *chosen) < 0) {
                AddCustomColour(params_.slots, *chosen);
            }
            params_.state.frcolor = *chosen;
            FillColours();
        }
        colourList_->setCurrentIndex(colours_.selected);
        return;
    }
    colours_.selected = position;
    params_.state.frcolor = ColourAt(colours_, params_.slots);
}

void TPictbox::ShadowChosen(int position) {
    if (filling_) {
        return;
    }
    if (shadows_.entries[position] == kCustomize) {
        shadowList_->setCurrentIndex(shadows_.selected);
        if (customiseShadows) {
            customiseShadows();
        }
        return;
    }
    shadows_.selected = position;
    int32_t elevation = 0, fade = 0, lightness = 0;
    ShadowAt(shadows_, params_.slots, position, elevation, fade, lightness);
    currentState_t& state = params_.state;
    state.shpict = {static_cast<uint8_t>(elevation), static_cast<uint8_t>(fade),
                    static_cast<uint8_t>(lightness)};
    state.clshadw = elevation != 0 || fade != 0 || lightness != 0 ? 1 : 0;
}

void TPictbox::SurfaceChosen(int position) {
    if (filling_) {
        return;
    }
    surfaces_.selected = position;
    params_.state.frplas = SurfaceAt(position);
}

} // namespace vlr
