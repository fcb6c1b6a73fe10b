// The clip panel (panel 401): the colours of the selected picture clips on three sliders, their
// frame, frame colour, shadow and frame 3-D effect, buttons that mirror, flip and turn them, and
// the ways into the picture editor for the clip's boundary or a new clip of the same picture.
#pragma once

#include "panels/sidepanel.h"

class QLabel;
class QSlider;

namespace vlr {

// The values a clip panel shows; none where the selected items differ.
struct ClipValues {
    std::optional<int32_t> saturation, contrast, lightness;
    std::optional<uint8_t> hasFrame;
    std::optional<int32_t> frameColour;
    std::optional<double> frameWidth; // millimetres
    std::optional<ShadowStyle> shadow;
    std::optional<int32_t> surface;
    bool roundOnly = false; // every selected clip is round
};

ClipValues GatherClipValues(const ItemList& list);

// The colour sliders' range.
inline constexpr int kClipSliderLowest = -128;
inline constexpr int kClipSliderHighest = 512;
// A slider's caption: "Normal" at 0, else a signed percentage of the end it leans to.
QString ClipSliderText(int position);
// Releasing the Lightness slider stores half a positive position (rounded toward zero), so a
// stored positive lightness opens at twice its value, at most the slider's end.
int32_t LightnessOfPosition(int position);
int LightnessPosition(int32_t lightness);

class TColorbox : public TStylePanel {
    Q_OBJECT
public:
    TColorbox(PanelHost& host, int code = 401, QWidget* parent = nullptr);

    // Reads the selection's values, sets the sliders (a mixed value leaves its slider as it
    // stands) and fills the lists.
    void Open();
    void RebuildFrames();
    void RebuildShadows();
    void StyleListsChanged(int page) override;

    enum Slider { Saturation, Contrast, Lightness, SliderCount };
    QSlider* Sliders[SliderCount] = {};
    QLabel* SliderCaptions[SliderCount] = {};
    // "Mirror the picture", "Flip the picture", "Rotate the picture" (+1 and -1).
    TPictureButton* Buttons[4] = {};
    TPictureButton* BoundaryButton = nullptr;
    TStyleCombo* FrameBox = nullptr;
    // The Frame Color list is the base's ColorBox, Frame 3-D its SurfaceBox.

    // The three sliders onto the selected clips, one undo step.
    void ApplySliders();
    void FrameBoxChange(int position);
    void FrameColorChange(int position);
    // The links of the hint lines: 503 edits the clip's boundary, 510 inserts a new clip.
    void LinkClick(int page);

private:
    int32_t& TabSetting() override { return params().clipPanelTab; }
    int32_t& SurfaceSetting() override { return params().state.frplas; }
    int32_t& ColourSetting() override { return params().state.frcolor; }
    int32_t& FillSetting() override { return noFill_; }
    void RebuildWeightLists() override { RebuildFrames(); }
    void FillChanged() override {}
    void FillLists();
    // Frame Color and Frame 3-D usable, with their entries, only while a frame is shown.
    void ApplyFrameRule();
    void SetHints();

    ClipValues values_;
    StyleList frames_;
    int32_t noFill_ = -1;
};

} // namespace vlr
