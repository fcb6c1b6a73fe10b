// TShadow, the page of the small dialog host that customises the twelve named shadows the shadow
// lists offer after their built-in entries, and the direction the light of every design comes
// from.
#pragma once

#include "model/screenresolution.h"
#include "styles/slotpage.h"

#include <QImage>

#include <array>
#include <functional>

class QCheckBox;
class QSlider;

namespace vlr {

// A track bar position 0 ... 255 as its label shows it: a percentage, "None" for 0 %.
QString ShadowPercent(int position);

// The page's sample: over the background, a pure blue square 100 x 100 pixels whose left edge is
// 80 pixels left of the centre, casting the shadow as the light direction (0 top left ... 3
// bottom right) throws it at 100 %.
QImage ShadowSample(QSize size, const custShadowRec_t& shadow, int32_t lightDirection,
                    const ScreenResolution& screen, int32_t background);

class TShadow : public TSlotPage {
    Q_OBJECT
public:
    // lightDirectionSaved: asked after Save to bring the open designs to the saved direction.
    TShadow(TParams& params, RegistryStore& store, Prompt& prompt, std::function<void()> lightDirectionSaved,
            QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {700, 600}; }
    // Save: the shadows and the light direction replace the settings', the open designs take the
    // direction and the settings are stored.
    bool RunAction() override;

    const custShadow_t& Working() const { return working_; }
    int32_t LightDirection() const { return lightDirection_; }
    // Elevation, fade and lightness.
    QSlider* TrackBar(int which) const { return bars_[which]; }
    QLabel* TrackLabel(int which) const { return barLabels_[which]; }
    QCheckBox* ShowBox() const { return show_; }
    // From top left, top right, bottom left, bottom right.
    QCheckBox* LightBox(int direction) const { return lights_[direction]; }
    QLabel* Sample() const { return sample_; }

private:
    std::string& NameOf(int slot) override { return working_[slot].name; }
    void NameEdited(int slot) override;
    void ShowSlot(int slot) override;
    int32_t& BarValue(int slot, int which);
    void ChooseLight(int direction);
    void RedrawSample();

    custShadow_t working_;
    int32_t lightDirection_ = 0;
    std::function<void()> lightDirectionSaved_;
    std::array<QSlider*, 3> bars_{};
    std::array<QLabel*, 3> barLabels_{};
    QCheckBox* show_ = nullptr;
    std::array<QCheckBox*, 4> lights_{};
    QLabel* sample_ = nullptr;
};

} // namespace vlr
