// The shadows page and its sample.
#include "styles/shadow.h"

#include "model/numeric.h"
#include "render/rastercanvas.h"
#include "render/shadow.h"
#include "settings/params.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace vlr {

namespace {

constexpr int kSampleWidth = 260, kSampleHeight = 190;
constexpr int32_t kPureBlue = 0xFF0000;

struct TrackBarTexts {
    const char* caption;
    const char* help;
};
constexpr TrackBarTexts kTrackBars[3] = {
    {"Elevation", "Imagine that you are lifting the object from the surface. Higher elevation makes a longer "
                  "shadow."},
    {"Fade", "The shadow edges should fade when the object is elevated from the surface to make a realistic "
             "shadow."},
    {"Lightness", "You can make the shadow darker or lighter to deepen or soften the shadow."},
};
constexpr const char* kLightCaptions[4] = {"From top left", "From top right", "From bottom left",
                                           "From bottom right"};

} // namespace

QString ShadowPercent(int position) {
    const int32_t percent = nearest(position * 100.0 / 255.0);
    return percent == 0 ? QString("None") : QString::number(percent) + "%";
}

QImage ShadowSample(QSize size, const custShadowRec_t& shadow, int32_t lightDirection,
                    const ScreenResolution& screen, int32_t background) {
    const int width = size.width(), height = size.height();
    RasterCanvas sample(width, height, Smoothing::Exact, screen);
    if (sample.isNull()) {
        return {};
    }
    const int cx = width / 2, cy = height / 2;
    const Rect square{cx - 80, cy - 50, cx + 20, cy + 50};

    // The mask holds the shadow's tone, the lightness, where the moved square falls; white
    // elsewhere leaves the background as it is.
    QImage mask(width, height, QImage::Format_Grayscale8);
    mask.fill(255);
    const int32_t lightness = std::clamp(shadow.lightness, 0, 255);
    const Point shift = ShadowShift(lightDirection, ShadowOffset(shadow.elevation, 1.0, screen));
    {
        QPainter painter(&mask);
        painter.fillRect(QRect(QPoint(square.left + shift.x, square.top + shift.y),
                               QPoint(square.right + shift.x - 1, square.bottom + shift.y - 1)),
                         QColor(lightness, lightness, lightness));
    }
    // The fade softens the edges by shrinking the mask and growing it back.
    const int fade = std::clamp(shadow.fade, 0, 255);
    const int reducedWidth = std::max(1, int{nearest(width * 10.0 / (fade + 10.0))});
    const int reducedHeight = std::max(1, int{nearest(height * 10.0 / (fade + 10.0))});
    if (reducedWidth < width && reducedHeight < height && reducedWidth > 4 && reducedHeight > 4) {
        ShadowBlur(mask, QSize(reducedWidth, reducedHeight));
    }

    sample.setBrush({background, BrushStyle::Solid});
    sample.FillRect({0, 0, width, height});
    ShadowComposite(sample, {0, 0}, mask);
    sample.setBrush({kPureBlue, BrushStyle::Solid});
    sample.FillRect(square);
    return sample.image().copy();
}

TShadow::TShadow(TParams& params, RegistryStore& store, Prompt& prompt,
                 std::function<void()> lightDirectionSaved, QWidget* parent)
    : TSlotPage(params, store, prompt, parent), working_(params.slots.shadows),
      lightDirection_(std::clamp(params.state.lgtdir, 0, 3)),
      lightDirectionSaved_(std::move(lightDirectionSaved)) {
    Build("Click on the shadow name in the left column to make or edit a shadow.", QString());
    QGridLayout* fields = Fields();
    fields->addWidget(HelpLabel("Customize the shadow name and appearance."), 1, 1, 1, 3);
    for (int which = 0; which < 3; ++which) {
        const int row = 2 + 2 * which;
        bars_[which] = new QSlider(Qt::Horizontal, this);
        bars_[which]->setRange(0, 255);
        bars_[which]->setTickInterval(8);
        bars_[which]->setTickPosition(QSlider::TicksBelow);
        barLabels_[which] = new QLabel(this);
        barLabels_[which]->setMinimumWidth(40);
        fields->addWidget(new QLabel(kTrackBars[which].caption, this), row, 0);
        fields->addWidget(bars_[which], row, 1, 1, 2);
        fields->addWidget(barLabels_[which], row, 3);
        fields->addWidget(HelpLabel(kTrackBars[which].help), row + 1, 1, 1, 3);
        connect(bars_[which], &QSlider::valueChanged, this, [this, which](int position) {
            barLabels_[which]->setText(ShadowPercent(position));
            if (ChosenSlot() >= 0) {
                BarValue(ChosenSlot(), which) = position;
                RedrawSample();
            }
        });
    }
    show_ = new QCheckBox(this);
    fields->addWidget(show_, 8, 0, 1, 4);
    fields->addWidget(
        HelpLabel("Check this option to add the shadow into the pull-down menus in the fine-tune "
                  "and preview screens."),
        9, 1, 1, 3);
    connect(show_, &QCheckBox::clicked, this, [this](bool checked) {
        working_[ChosenSlot()].show = checked ? 1 : 0;
        working_[ChosenSlot()].edited = 1;
    });

    auto* row = new QHBoxLayout;
    auto* lightGroup = new QGroupBox("Direction of Light", this);
    auto* lightColumn = new QVBoxLayout(lightGroup);
    for (int direction = 0; direction < 4; ++direction) {
        lights_[direction] = new QCheckBox(kLightCaptions[direction], lightGroup);
        lights_[direction]->setChecked(direction == lightDirection_);
        lightColumn->addWidget(lights_[direction]);
        connect(lights_[direction], &QCheckBox::clicked, this, [this, direction] { ChooseLight(direction); });
    }
    lightColumn->addWidget(HelpLabel("The source of the imaginary light determines where the shadow casts."));
    lightColumn->addWidget(HelpLabel("The light direction applies to all shadows in your design."));
    row->addWidget(lightGroup, 1);
    auto* sampleColumn = new QVBoxLayout;
    sampleColumn->addWidget(new QLabel("Sample", this));
    sample_ = new QLabel(this);
    sample_->setFixedSize(kSampleWidth, kSampleHeight);
    sampleColumn->addWidget(sample_);
    sampleColumn->addStretch(1);
    row->addLayout(sampleColumn);
    Footer()->addLayout(row);
}

int32_t& TShadow::BarValue(int slot, int which) {
    custShadowRec_t& record = working_[slot];
    return which == 0 ? record.elevation : which == 1 ? record.fade : record.lightness;
}

void TShadow::NameEdited(int slot) {
    show_->setText("Show '" + QString::fromStdString(working_[slot].name) +
                   "' in the shadows selection menu");
}

void TShadow::ShowSlot(int slot) {
    for (int other = 0; other < kSlotCount; ++other) {
        working_[other].chosen = other == slot ? 1 : 0;
    }
    NameEdited(slot);
    show_->setChecked(working_[slot].show != 0);
    // The values are read before the first bar moves: moving a bar stores into the slot.
    const std::array<int32_t, 3> values = {BarValue(slot, 0), BarValue(slot, 1), BarValue(slot, 2)};
    for (int which = 0; which < 3; ++which) {
        bars_[which]->setValue(std::clamp(values[which], 0, 255));
        barLabels_[which]->setText(ShadowPercent(bars_[which]->value()));
    }
    RedrawSample();
}

void TShadow::ChooseLight(int direction) {
    for (int other = 0; other < 4; ++other) {
        lights_[other]->setChecked(other == direction);
    }
    lightDirection_ = direction;
    RedrawSample();
}

void TShadow::RedrawSample() {
    if (ChosenSlot() < 0) {
        return;
    }
    sample_->setPixmap(
        QPixmap::fromImage(ShadowSample(sample_->size(), working_[ChosenSlot()], lightDirection_,
                                        params_.screen, params_.initWindow.panelColor)));
}

bool TShadow::RunAction() {
    params_.slots.shadows = working_;
    params_.state.lgtdir = lightDirection_;
    if (lightDirectionSaved_) {
        lightDirectionSaved_();
    }
    SaveSettings(params_, store_);
    return true;
}

} // namespace vlr
