// The shape panel: how the next shape of one of the thirteen shape kinds is drawn (panels
// 100 ... 112 and 199), or the selected shapes fine-tuned at once (200 ... 212, 297 ... 299),
// with buttons that mirror, flip and turn the selection.
#pragma once

#include "panels/sidepanel.h"

class QLabel;

namespace vlr {

class TPictureButton;

// The values a shape panel shows; none where the selected items differ.
struct ShapeValues {
    std::optional<int32_t> colour;
    std::optional<int32_t> fill;
    std::optional<double> weight;
    std::optional<int32_t> sides; // of the selected polygons and stars
    std::optional<int32_t> mode;  // of the selected splines and curves
    std::optional<int32_t> surface;
    std::optional<ShadowStyle> shadow;
};

// What the selected items of a design share, group markers left out; or what the given items share.
ShapeValues GatherShapeValues(const ItemList& list);
ShapeValues ShapeValuesOf(const std::vector<const ItemRecord*>& items);

// The fourth list of the Basics tab, by panel code.
enum class FourthList { None, Sides, SplineModes, CurveModes, SquareRectangle, CircleEllipse, ArcPie };
FourthList FourthListOf(int code);
// The sides and spikes offered.
inline constexpr int32_t kSideCounts[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 20};

class TPolybox : public TStylePanel {
    Q_OBJECT
public:
    TPolybox(PanelHost& host, int code, QWidget* parent = nullptr);

    void Open();
    // Fills the Outline Weight list again and selects its entry.
    void RebuildWeights();
    // The Color, Outline Weight, Fill Color and fourth lists greyed (off) or usable, as while a
    // spline or curve is being continued.
    void SetListsEnabled(bool on);
    void StyleListsChanged(int page) override;

    TStyleCombo* WeightBox = nullptr;
    TStyleCombo* FourthBox = nullptr;
    // Fine-tune mode: "Mirror", "Flip", "Rotate" (+1), "Rotate" (-1).
    TPictureButton* Buttons[4] = {};

    void WeightBoxChange(int position);
    void FourthBoxChange(int position);

private:
    int32_t& SurfaceSetting() override { return params().state.poplas; }
    int32_t& ColourSetting() override { return params().state.polycolor; }
    int32_t& FillSetting() override { return params().state.polyfill; }
    void RebuildWeightLists() override { RebuildWeights(); }
    void FillChanged() override { ApplyOutlineRule(); }
    void FillLists();
    int FourthPositionAtOpening() const;
    void ApplyOutlineRule();
    void ApplyFillRule();
    void SetFineTuneHints();

    FourthList fourth_;
    ShapeValues values_;
    StyleList weights_, fourthList_;
    bool listsEnabled_ = true;
};

} // namespace vlr
