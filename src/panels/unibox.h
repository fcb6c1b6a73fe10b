// The multiple-selection panel (panel 59): the colour, fill colour and outline weight that a
// selection of items of different kinds has in common, the buttons that mirror, flip and turn it,
// and hint lines whose words join the selection or split its groups.
#pragma once

#include "panels/sidepanel.h"

namespace vlr {

// The values a multiple-selection panel shows; none where the selected items differ. Only texts
// (their text colour), lines and shapes take part.
struct MixedValues {
    std::optional<int32_t> colour;
    std::optional<int32_t> fill;  // lines and shapes
    std::optional<double> weight; // lines and shapes
    bool hasLinesOrShapes = false;
};

MixedValues GatherMixedValues(const ItemList& list);

class TUnibox : public TStylePanel {
    Q_OBJECT
public:
    TUnibox(PanelHost& host, int code = 59, QWidget* parent = nullptr);

    // Reads the selection's values and whether it can be joined or split, and fills the lists.
    void Open();
    // The toolbar's Join and Split conditions changed: the hint lines follow.
    void SetJoinSplit(bool joinAllowed, bool splitAllowed);
    void RebuildWeights();
    void StyleListsChanged(int page) override;
    bool joinAllowed() const { return joinAllowed_; }
    bool splitAllowed() const { return splitAllowed_; }
    // The hover flags of the "Join items" and "Split group" lines: set while the pointer is on
    // the line and it is a link.
    bool joinLit() const { return joinLit_; }
    bool splitLit() const { return splitLit_; }

    // "Mirror", "Flip", "Rotate" (+1), "Rotate" (-1).
    TPictureButton* Buttons[4] = {};
    TStyleCombo* WeightBox = nullptr;

    void WeightBoxChange(int position);
    // The hint lines' links: the selection joined into one item, or its groups split.
    void JoinClick();
    void SplitClick();

private:
    // No tabs: the lists stand on the first area.
    int32_t& TabSetting() override { return firstTab_; }
    int32_t& SurfaceSetting() override { return unused_; }
    int32_t& ColourSetting() override { return unused_; }
    int32_t& FillSetting() override { return unused_; }
    bool ApplyColour(ItemList& list, CommandWindow& window, int32_t colour) override {
        return SetOutlineAndTextColor(list, window, colour);
    }
    void RebuildWeightLists() override { RebuildWeights(); }
    void FillChanged() override {}
    void SetHints();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The pointer is on hint line 2 (join), 3 (split) or elsewhere (0).
    void PointAtLine(int line);

    MixedValues values_;
    StyleList weights_;
    bool joinAllowed_ = false, splitAllowed_ = false;
    bool joinLit_ = false, splitLit_ = false;
    int32_t firstTab_ = 1, unused_ = 0;
};

} // namespace vlr
