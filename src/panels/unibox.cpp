// The multiple-selection panel.
#include "panels/unibox.h"

#include "model/itemkind.h"
#include "model/itemlist.h"
#include "panels/picturebutton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTabBar>
#include <QVBoxLayout>

namespace vlr {

MixedValues GatherMixedValues(const ItemList& list) {
    Common<int32_t> colour, fill;
    Common<double> weight;
    bool linesOrShapes = false;
    for (const ItemRecord* item : SelectedStyledItems(list)) {
        if (item->kind == ItemKind::Text) {
            colour.Add(item->textColor);
        } else if (HasOutlinePen(item->kind)) {
            linesOrShapes = true;
            colour.Add(item->color);
            fill.Add(item->fillColor);
            weight.Add(item->lineWeight, NearlyEqual);
        }
    }
    return {colour.value, fill.value, weight.value, linesOrShapes};
}

TUnibox::TUnibox(PanelHost& host, int code, QWidget* parent) : TStylePanel(host, code, parent) {
    auto* row = new QWidget(this);
    const QString hints[4] = {"Mirror", "Flip", "Rotate", "Rotate"};
    AddTransformButtons(row, hints, Buttons)->addStretch(1);
    BuildFrame("Fine-tune", row);
    tabs_->hide();
    effects_->hide();
    ColorBox = AddList(basicsLayout_, "Color");
    FillBox = AddList(basicsLayout_, "Fill Color");
    WeightBox = AddList(basicsLayout_, "Outline Weight");
    WeightBox->SetEntryKind(EntryKind::Weight, params());
    connect(ColorBox, &TStyleCombo::chosen, this, &TStylePanel::ColorBoxChange);
    connect(FillBox, &TStyleCombo::chosen, this, &TStylePanel::FillBoxChange);
    connect(WeightBox, &TStyleCombo::chosen, this, &TUnibox::WeightBoxChange);
    for (int line = 0; line < 3; ++line) {
        AddLinkHint(hintsLayout_, [this](const QString& link) {
            if (link == "join") {
                JoinClick();
            } else if (link == "split") {
                SplitClick();
            }
        });
    }
    Open();
}

void TUnibox::Open() {
    const FillGuard guard(filling_);
    ItemList* items = host_.DesignItems();
    values_ = items ? GatherMixedValues(*items) : MixedValues{};
    // The conditions of the Join Items and Split Group commands.
    joinAllowed_ = items && CountSelectedUnits(*items, true) >= 2;
    splitAllowed_ = items && AnyGroupSelected(*items);
    colour_ = values_.colour;
    fill_ = values_.fill;
    FillColourLists();
    SetListShown(FillBox, values_.hasLinesOrShapes);
    SetListShown(WeightBox, values_.hasLinesOrShapes);
    SetHints();
}

void TUnibox::SetJoinSplit(bool joinAllowed, bool splitAllowed) {
    joinAllowed_ = joinAllowed;
    splitAllowed_ = splitAllowed;
    SetHints();
}

void TUnibox::SetHints() {
    const auto words = [](const char* text, const char* link, bool on) {
        return on ? LinkWords(text, link) : QString(text);
    };
    const QString lines[3] = {"Hold down the Shift key to select more items.",
                              "Click on the " + words("Join items", "join", joinAllowed_) +
                                  " button to create a single object comprised of the selected items.",
                              "Click on the " + words("Split group", "split", splitAllowed_) +
                                  " button to separate the group members into individual items."};
    for (int i = 0; i < 3; ++i) {
        hints_[static_cast<size_t>(i)]->setText(lines[i]);
    }
    hints_[1]->setEnabled(joinAllowed_);
    hints_[2]->setEnabled(splitAllowed_);
}

void TUnibox::RebuildWeights() {
    const FillGuard guard(filling_);
    const WeightHandOver handOver = BuildWeightList(weights_, params());
    if (handOver.position >= 0) { // the slot chosen on the line-weight page
        const double mm = handOver.millimetres;
        values_.weight = mm;
        ApplyToSelection([mm](ItemList& l, CommandWindow& w) { return SetOutlineWeight(l, w, mm); });
    }
    weights_.selected = values_.weight ? WeightPosition(slots(), *values_.weight) : -1;
    WeightBox->Fill(weights_);
}

void TUnibox::WeightBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    if (OpenPageFor(WeightBox, position, kWeightCustomize, kWeightPage)) {
        return;
    }
    const double mm = ChooseWeight(weights_, position);
    values_.weight = mm;
    double mmUnused = 0.0;
    int32_t positionUnused = 0;
    SetWeight(mm, position, mmUnused, positionUnused);
}

void TUnibox::JoinClick() {
    if (!joinAllowed_) {
        return;
    }
    ApplyToSelection([](ItemList& l, CommandWindow& w) {
        JoinSelection(l, w);
        return true;
    });
    SetJoinSplit(false, splitAllowed_);
}

void TUnibox::SplitClick() {
    if (!splitAllowed_) {
        return;
    }
    ApplyToSelection([](ItemList& l, CommandWindow& w) {
        SplitSelection(l, w);
        return true;
    });
    SetJoinSplit(joinAllowed_, false);
    host_.SwitchPanelLater(20);
}

void TUnibox::StyleListsChanged(int page) {
    if (page == kWeightPage) {
        RebuildWeights();
    }
}

} // namespace vlr
