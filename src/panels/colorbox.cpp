// The clip panel.
#include "panels/colorbox.h"

#include "model/itemkind.h"
#include "model/itemlist.h"
#include "model/numeric.h"
#include "panels/picturebutton.h"

#include <QLabel>
#include <QSlider>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vlr {

ClipValues GatherClipValues(const ItemList& list) {
    Common<int32_t> saturation, contrast, lightness, frameColour, surface;
    Common<uint8_t> hasFrame;
    Common<double> frameWidth;
    Common<ShadowStyle> shadow;
    bool anyClip = false, roundOnly = true;
    for (const ItemRecord* item : SelectedStyledItems(list)) {
        saturation.Add(item->saturation);
        contrast.Add(item->contrast);
        lightness.Add(item->lightness);
        hasFrame.Add(item->hasFrame);
        frameColour.Add(item->color);
        frameWidth.Add(item->lineWeight, NearlyEqual);
        shadow.Add({item->shadowElevation, item->shadowFade, item->shadowLightness});
        surface.Add(item->surface);
        if (item->kind == ItemKind::Clip) {
            anyClip = true;
            roundOnly = roundOnly && item->clipShape == 2;
        }
    }
    return {saturation.value, contrast.value, lightness.value, hasFrame.value,      frameColour.value,
            frameWidth.value, shadow.value,   surface.value,   anyClip && roundOnly};
}

QString ClipSliderText(int position) {
    if (position == 0) {
        return "Normal";
    }
    if (position < 0) {
        return QString("-%1%").arg(nearest(position * 100.0 / -128.0));
    }
    return QString("%1%").arg(nearest(position * 100.0 / 512.0));
}

int32_t LightnessOfPosition(int position) {
    return position <= 0 ? position : position / 2;
}

int LightnessPosition(int32_t lightness) {
    if (lightness <= 0) {
        return std::max(lightness, kClipSliderLowest);
    }
    return lightness >= kClipSliderHighest / 2 ? kClipSliderHighest : lightness * 2;
}

TColorbox::TColorbox(PanelHost& host, int code, QWidget* parent) : TStylePanel(host, code, parent) {
    const QString hints[4] = {"Mirror the picture", "Flip the picture", "Rotate the picture",
                              "Rotate the picture"};
    BoundaryButton = new TPictureButton("Clip", ButtonStyle::Tool, this);
    BoundaryButton->setToolTip("Edit clip boundary");
    connect(BoundaryButton, &TPictureButton::clicked, this, [this] { LinkClick(kEditClipPage); });
    QWidget* row = AddTransformButtons(hints, Buttons, BoundaryButton);
    BuildFrame("Fine-tune", row, "Colors", "Effects");

    const char* names[SliderCount] = {"Saturation", "Contrast", "Lightness"};
    for (int i = 0; i < SliderCount; ++i) {
        basicsLayout_->addWidget(new QLabel(names[i], basics_));
        Sliders[i] = new QSlider(Qt::Horizontal, basics_);
        Sliders[i]->setRange(kClipSliderLowest, kClipSliderHighest);
        Sliders[i]->setPageStep(32);
        Sliders[i]->setValue(0);
        Sliders[i]->setAccessibleName(names[i]);
        SliderCaptions[i] = new QLabel(ClipSliderText(0), basics_);
        basicsLayout_->addWidget(Sliders[i]);
        basicsLayout_->addWidget(SliderCaptions[i]);
        connect(Sliders[i], &QSlider::valueChanged, this, [this, i](int position) {
            SliderCaptions[i]->setText(ClipSliderText(position));
            // Dragged, the values go to the clips on release; keys and clicks beside the knob
            // apply at once.
            if (!filling_ && !Sliders[i]->isSliderDown()) {
                ApplySliders();
            }
        });
        connect(Sliders[i], &QSlider::sliderReleased, this, &TColorbox::ApplySliders);
    }

    FrameBox = AddList(effectsLayout_, "Frame");
    ColorBox = AddList(effectsLayout_, "Frame Color");
    ShadowBox = AddList(effectsLayout_, "Shadow");
    SurfaceBox = AddList(effectsLayout_, "Frame 3-D");
    FrameBox->SetEntryKind(EntryKind::FrameWeight, params());
    ShadowBox->SetEntryKind(EntryKind::Shadow, params());
    connect(FrameBox, &TStyleCombo::chosen, this, &TColorbox::FrameBoxChange);
    connect(ColorBox, &TStyleCombo::chosen, this, &TColorbox::FrameColorChange);
    connect(ShadowBox, &TStyleCombo::chosen, this, &TStylePanel::ShadowBoxChange);
    connect(SurfaceBox, &TStyleCombo::chosen, this, &TStylePanel::SurfaceBoxChange);

    for (int line = 0; line < 4; ++line) {
        QLabel* hint = AddLinkHint(hintsLayout_, [this](const QString& link) { LinkClick(link.toInt()); });
        // The boundary button shows what the "Edit this clip" link does.
        connect(hint, &QLabel::linkHovered, this, [this](const QString& link) {
            BoundaryButton->setLook(link.toInt() == kEditClipPage ? ButtonLook::Highlighted
                                                                  : ButtonLook::Plain);
        });
    }
    connect(tabs_, &QTabBar::currentChanged, this, &TColorbox::SetHints);
    Open();
}

void TColorbox::Open() {
    const FillGuard guard(filling_);
    ItemList* items = host_.DesignItems();
    values_ = items ? GatherClipValues(*items) : ClipValues{};
    const std::optional<int32_t> shown[SliderCount] = {
        values_.saturation, values_.contrast,
        values_.lightness ? std::optional<int32_t>(LightnessPosition(*values_.lightness)) : std::nullopt};
    for (int i = 0; i < SliderCount; ++i) {
        if (shown[i] && *shown[i] <= kClipSliderHighest) {
            Sliders[i]->setValue(*shown[i]);
        }
    }
    BoundaryButton->setText(values_.roundOnly ? "Round clip" : "Clip");
    PlaceTransformButtons(); // the longer caption may no longer fit beside the four
    FillLists();
    SetHints();
}

void TColorbox::FillLists() {
    const FillGuard guard(filling_);
    colour_ = values_.frameColour;
    FillColourLists(); // the frame colours, then the frames whose previews use them
    FillEffects(values_.surface, values_.shadow);
    ApplyFrameRule();
}

void TColorbox::RebuildFrames() {
    const FillGuard guard(filling_);
    BuildFrameWeightList(frames_, params());
    if (values_.hasFrame && *values_.hasFrame == 0) {
        frames_.selected = 0;
    } else if (values_.frameWidth) {
        frames_.selected = *values_.frameWidth <= 0.0 ? 0 : FrameWeightPosition(slots(), *values_.frameWidth);
    } else {
        frames_.selected = -1;
    }
    FrameBox->Fill(frames_);
}

void TColorbox::RebuildShadows() {
    FillEffects(values_.surface, values_.shadow);
    ApplyFrameRule();
}

void TColorbox::ApplyFrameRule() {
    const FillGuard guard(filling_);
    const bool framed = FrameBox->currentIndex() != 0;
    ColorBox->setEnabled(framed);
    SurfaceBox->setEnabled(framed);
    if (framed) {
        ColorBox->Select(colour_ ? ColourPosition(slots(), *colour_) : -1);
        SurfaceBox->Select(values_.surface ? SurfacePosition(*values_.surface) : -1);
    } else {
        ColorBox->Select(-1);
        SurfaceBox->Select(-1);
    }
}

void TColorbox::SetHints() {
    QStringList lines;
    if (tab() == 1) {
        lines << "Change <b>saturation</b> to fade or intensify color."
              << "Change <b>contrast</b> to adjust the depth of light and dark areas."
              << "Change <b>lightness</b> to lighten or darken the colors in the clip.";
    } else {
        lines << "Select the <b>frame</b> width to draw a frame around the clip."
              << "Select the <b>color</b> of the frame to change the frame color."
              << "Click on " + LinkWords("Insert new clip", QString::number(kNewClipPage)) +
                     " to add a new clip from the original picture.";
    }
    lines << "Click on " + LinkWords("Edit this clip", QString::number(kEditClipPage)) +
                 " to change the clip boundary.";
    for (int i = 0; i < 4; ++i) {
        hints_[static_cast<size_t>(i)]->setText(lines[i]);
    }
}

void TColorbox::ApplySliders() {
    if (filling_) {
        return;
    }
    const int32_t saturation = Sliders[Saturation]->value();
    const int32_t contrast = Sliders[Contrast]->value();
    const int32_t lightness = LightnessOfPosition(Sliders[Lightness]->value());
    if (ApplyToSelection([=](ItemList& l, CommandWindow& w) {
            return SetClipColours(l, w, saturation, contrast, lightness);
        })) {
        values_.saturation = saturation;
        values_.contrast = contrast;
        values_.lightness = lightness;
    }
}

void TColorbox::FrameBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    if (OpenPageFor(FrameBox, position, kFrameCustomize, kWeightPage)) {
        return;
    }
    frames_.selected = position;
    const double width = FrameWeightAt(frames_, slots());
    if (width < 0.0) {
        FrameBox->TakeBack();
        return;
    }
    ApplyToSelection([width](ItemList& l, CommandWindow& w) { return SetClipFrameWeight(l, w, width); });
    values_.frameWidth = width;
    values_.hasFrame = width != 0.0 ? 1 : 0;
    ApplyFrameRule();
}

void TColorbox::FrameColorChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    const std::optional<int32_t> chosen = ChosenColour(position);
    if (!chosen) {
        return;
    }
    const int32_t colour = *chosen;
    ApplyToSelection([colour](ItemList& l, CommandWindow& w) { return SetClipFrameColor(l, w, colour); });
    colour_ = values_.frameColour = colour;
    FillLists();
}

void TColorbox::LinkClick(int page) {
    host_.OpenClipPage(page);
}

void TColorbox::StyleListsChanged(int page) {
    if (page == kWeightPage) {
        RebuildFrames();
        ApplyFrameRule();
    } else if (page == kShadowPage) {
        RebuildShadows();
    }
}

} // namespace vlr
