// The line panel.
#include "panels/linebox.h"

#include "model/itemkind.h"
#include "model/numeric.h"
#include "settings/stylechecks.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace vlr {

LineValues GatherLineValues(const ItemList& list) {
    Common<int32_t> colour, fill, surface;
    Common<double> weight, direction, outline;
    Common<PatternKey> pattern;
    Common<ShadowStyle> shadow;
    for (const ItemRecord* item : SelectedStyledItems(list)) {
        colour.Add(item->color);
        fill.Add(item->fillColor);
        surface.Add(item->surface);
        weight.Add(item->lineWeight, NearlyEqual);
        // Every negative angle is free.
        direction.Add(item->fixedAngle < 0 ? -1.0 : double(item->fixedAngle), NearlyEqual);
        outline.Add(item->lineWeightBase, NearlyEqual);
        pattern.Add(PatternOf(list, item->dashPattern), SamePatternKey);
        shadow.Add({item->shadowElevation, item->shadowFade, item->shadowLightness});
    }
    return {colour.value, weight.value, pattern.value, direction.value,
            fill.value,   outline.value, surface.value, shadow.value};
}

TLinebox::TLinebox(PanelHost& host, int code, QWidget* parent) : TStylePanel(host, code, parent) {
    BuildFrame(fineTune() ? "Fine-tune" : "Line", nullptr);
    ColorBox = AddList(basicsLayout_, "Color");
    WeightBox = AddList(basicsLayout_, "Weight");
    PatternBox = AddList(basicsLayout_, "Pattern");
    DirectionBox = AddList(basicsLayout_, "Direction");
    FillBox = AddList(basicsLayout_, "Fill Color");
    OutlineBox = AddList(basicsLayout_, "Outline Weight");
    WeightBox->SetEntryKind(EntryKind::Weight, params());
    OutlineBox->SetEntryKind(EntryKind::Weight, params());
    PatternBox->SetEntryKind(EntryKind::Pattern, params());
    AddEffects();
    if (fineTune()) {
        for (const char* text : {"Change how you want the selected item drawn.",
                                 "Hold down the Shift key to select more items.",
                                 "Hold down the Ctrl key and move the mouse to select items inside an area.",
                                 "Hold down the Shift and Ctrl keys to select items partially within an area."}) {
            AddHint(basicsLayout_)->setText(text);
        }
    } else {
        AddHint(basicsLayout_)->setText("Select how you want the next line drawn.");
        stepHint_ = AddHint(basicsLayout_);
        AddHint(basicsLayout_)->setText("Hold down the mouse button, move the mouse, and release the button.");
        SetStep(0);
    }
    const std::pair<TStyleCombo*, void (TLinebox::*)(int)> handlers[] = {
        {WeightBox, &TLinebox::WeightBoxChange},
        {PatternBox, &TLinebox::PatternBoxChange},
        {DirectionBox, &TLinebox::DirectionBoxChange},
        {OutlineBox, &TLinebox::OutlineBoxChange}};
    for (auto [list, handler] : handlers) {
        connect(list, &TStyleCombo::chosen, this, handler);
    }
    Open();
}

void TLinebox::SetStep(int step) {
    if (stepHint_) {
        stepHint_->setText(step == 0 ? "Click where you want to start the line, or..."
                                     : "Click where you want to end the line.");
    }
}

void TLinebox::Open() {
    const FillGuard guard(filling_);
    if (fineTune()) {
        ItemList* items = host_.DesignItems();
        values_ = items ? GatherLineValues(*items) : LineValues{};
    } else {
        const currentState_t& s = params().state;
        values_ = {s.lineColor,
                   s.lineWidth,
                   std::nullopt,
                   s.lineDirection,
                   s.lineFill,
                   s.lineOutline,
                   s.liplas,
                   s.shpoly};
    }
    FillLists();
    ApplyVisibility();
}

void TLinebox::FillLists() {
    const FillGuard guard(filling_);
    TParams& p = params();
    currentState_t& s = p.state;

    colour_ = values_.colour;
    fill_ = values_.fill;
    FillColourLists();

    TakeWeightHandOver(BuildWeightList(weights_, p));
    outlines_ = weights_;
    if (fineTune()) {
        weights_.selected = values_.weight ? WeightPosition(p.slots, *values_.weight) : -1;
        outlines_.selected = values_.outline ? WeightPosition(p.slots, *values_.outline) : -1;
    } else {
        // A remembered position outside the list takes the first weight.
        weights_.selected = CheckedPosition(s.lineWidthTab, weights_.count(), 0);
        if (weights_.selected != s.lineWidthTab || weights_.selected == kWeightCustomize) {
            weights_.selected = 0;
            s.lineWidthTab = 0;
            s.lineWidth = WeightAt(weights_, p.slots);
        }
        outlines_.selected = CheckedPosition(s.lineOutlineTab, outlines_.count(), 0);
        if (outlines_.selected != s.lineOutlineTab || outlines_.selected == kWeightCustomize) {
            outlines_.selected = 0;
            s.lineOutlineTab = 0;
            s.lineOutline = WeightAt(outlines_, p.slots);
        }
    }
    WeightBox->Fill(weights_);
    OutlineBox->Fill(outlines_);

    const int32_t patternBefore = s.linePattern;
    BuildPatternList(patterns_, p);
    const bool patternHandedOver = s.linePattern != patternBefore;
    if (fineTune() && !patternHandedOver) {
        if (!values_.pattern) {
            patterns_.selected = -1;
        } else if (values_.pattern->builtIn >= 0) {
            patterns_.selected = values_.pattern->builtIn;
        } else {
            SelectPattern(patterns_, p.slots, -1, values_.pattern->lengths);
        }
    } else {
        RestorePattern(patterns_, p);
    }
    PatternBox->Fill(patterns_);

    const int32_t directionBefore = s.lineDirectionTab;
    BuildAngleList(directions_, p, AngleList::LineDirections);
    const bool directionHandedOver = s.lineDirectionTab != directionBefore;
    if (fineTune() && !directionHandedOver) {
        directions_.selected = values_.direction
                                   ? AnglePosition(p.slots, AngleList::LineDirections, *values_.direction)
                                   : -1;
    } else {
        RestoreDirection(directions_, p);
    }
    DirectionBox->Fill(directions_);

    FillEffects(values_.surface, values_.shadow);

    // A slot chosen on a customizing page while the selection is fine-tuned goes to the
    // selection as a choice of its entry would.
    if (fineTune() && patternHandedOver) {
        PatternBoxChange(patterns_.selected);
    }
    if (fineTune() && directionHandedOver) {
        DirectionBoxChange(directions_.selected);
    }
}

void TLinebox::RebuildWeightLists() {
    const FillGuard guard(filling_);
    WeightBox->Fill(weights_);
    OutlineBox->Fill(outlines_);
}

void TLinebox::TakeWeightHandOver(const WeightHandOver& handOver) {
    if (handOver.position < 0) {
        return;
    }
    const bool outline = weightPageFor_ == OutlineBox;
    weightPageFor_ = nullptr;
    currentState_t& s = params().state;
    if (fineTune()) {
        (outline ? values_.outline : values_.weight) = handOver.millimetres;
        ApplyToSelection([&](ItemList& list, CommandWindow& window) {
            return outline ? SetLineOutlineWeight(list, window, handOver.millimetres)
                           : SetOutlineWeight(list, window, handOver.millimetres);
        });
    } else if (outline) {
        s.lineOutlineTab = handOver.position;
        s.lineOutline = handOver.millimetres;
    } else {
        s.lineWidthTab = handOver.position;
        s.lineWidth = handOver.millimetres;
        values_.weight = handOver.millimetres;
    }
}

void TLinebox::ApplyVisibility() {
    const double weight = values_.weight.value_or(-1.0);
    values_.fill = fill_;
    // A mixed weight counts as a pen of 1 pixel.
    const int32_t pen = values_.weight ? std::max(1, nearest(weight * params().pxPerMmY())) : 1;
    const bool wide = pen >= 3;
    SetListShown(FillBox, wide);
    const bool solidOrMixed = !fill_ || *fill_ == -2;
    SetListShown(OutlineBox, wide && !solidOrMixed);
    for (QLabel* hint : hints_) {
        hint->setHidden(wide);
    }
}

void TLinebox::WeightBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    weightPageFor_ = WeightBox;
    if (OpenPageFor(WeightBox, position, kWeightCustomize, kWeightPage)) {
        return;
    }
    const double mm = ChooseWeight(weights_, position);
    values_.weight = mm;
    SetWeight(mm, position, params().state.lineWidth, params().state.lineWidthTab);
    ApplyVisibility();
}

void TLinebox::PatternBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    if (OpenPageFor(PatternBox, position, kPatternCustomize, kPatternPage)) {
        return;
    }
    patterns_.selected = position;
    const int32_t slot = PatternSlotAt(patterns_, position);
    if (fineTune()) {
        const custPatternRec_t* pattern = slot > 0 ? &slots().patterns[static_cast<size_t>(slot - 1)] : nullptr;
        ApplyToSelection([&](ItemList& l, CommandWindow& w) {
            if (!pattern) {
                return SetDashPattern(l, w, position < kPatternCustomize ? position : 0);
            }
            const size_t count = static_cast<size_t>(std::clamp<int32_t>(pattern->count, 0, 12));
            const std::optional<int32_t> id =
                LinePatternFor(l, std::span<const double>(pattern->millimetres.data(), count));
            return id && SetDashPattern(l, w, *id);
        });
    } else {
        // Every custom position names its slot, so new lines take the pattern chosen.
        params().state.linePattern = position;
        params().state.linePatternTab = slot;
    }
    host_.RecordChange();
}

void TLinebox::DirectionBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    if (OpenPageFor(DirectionBox, position, kDirectionCustomize, kDirectionPage)) {
        return;
    }
    directions_.selected = position;
    const double degrees = AngleAt(directions_, slots(), AngleList::LineDirections);
    if (fineTune()) {
        ApplyToSelection([degrees](ItemList& l, CommandWindow& w) { return SetLineDirection(l, w, degrees); });
    } else {
        params().state.lineDirection = degrees;
        params().state.lineDirectionTab = position;
    }
    host_.RecordChange();
}

void TLinebox::OutlineBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    weightPageFor_ = OutlineBox;
    if (OpenPageFor(OutlineBox, position, kWeightCustomize, kWeightPage)) {
        return;
    }
    const double mm = ChooseWeight(outlines_, position);
    values_.outline = mm;
    if (fineTune()) {
        ApplyToSelection([mm](ItemList& l, CommandWindow& w) { return SetLineOutlineWeight(l, w, mm); });
    } else {
        params().state.lineOutline = mm;
        params().state.lineOutlineTab = position;
    }
    host_.RecordChange();
}

void TLinebox::StyleListsChanged(int page) {
    if (page == kWeightPage || page == kPatternPage || page == kDirectionPage || page == kShadowPage) {
        FillLists();
        ApplyVisibility();
    }
}

} // namespace vlr
