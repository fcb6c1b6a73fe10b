// The line panel: how the next line is drawn (panel 98) or the selected lines fine-tuned at once
// (panel 99), in two tabs of pull-down lists.
#pragma once

#include "panels/sidepanel.h"

namespace vlr {

// The values a line panel shows; none where the selected items differ.
struct LineValues {
    std::optional<int32_t> colour;
    std::optional<double> weight;
    std::optional<PatternKey> pattern;
    std::optional<double> direction; // degrees; negative free
    std::optional<int32_t> fill;
    std::optional<double> outline;
    std::optional<int32_t> surface;
    std::optional<ShadowStyle> shadow;
};

// What the selected items of a design share, group markers left out.
LineValues GatherLineValues(const ItemList& list);

class TLinebox : public TStylePanel {
    Q_OBJECT
public:
    TLinebox(PanelHost& host, int code, QWidget* parent = nullptr);

    // Reads the values (the next-line settings, or the selection's), fills every list and
    // selects the current entries.
    void Open();
    // Insertion: step 1 once the first point of the line is placed, 0 before.
    void SetStep(int step) override;
    void StyleListsChanged(int page) override;

    TStyleCombo* WeightBox = nullptr;
    TStyleCombo* PatternBox = nullptr;
    TStyleCombo* DirectionBox = nullptr;
    TStyleCombo* OutlineBox = nullptr;

    // The change handlers of the lists, for a position chosen.
    void WeightBoxChange(int position);
    void PatternBoxChange(int position);
    void DirectionBoxChange(int position);
    void OutlineBoxChange(int position);

private:
    int32_t& SurfaceSetting() override { return params().state.liplas; }
    int32_t& ColourSetting() override { return params().state.lineColor; }
    int32_t& FillSetting() override { return params().state.lineFill; }
    void RebuildWeightLists() override;
    void FillChanged() override { ApplyVisibility(); }
    void FillLists();
    void ApplyVisibility();
    // A weight slot handed over by the line-weight page goes to the list that opened it.
    void TakeWeightHandOver(const WeightHandOver& handOver);

    LineValues values_;
    StyleList weights_, patterns_, directions_, outlines_;
    TStyleCombo* weightPageFor_ = nullptr; // the weight list that opened the line-weight page
    QLabel* stepHint_ = nullptr;
};

} // namespace vlr
