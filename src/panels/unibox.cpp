// The multiple-selection panel.
#include "panels/unibox.h"

#include "model/itemkind.h"
#include "model/itemlist.h"
#include "panels/picturebutton.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

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
    const QString hints[4] = {"Mirror", "Flip", "Rotate", "Rotate"};
    QWidget* row = AddTransformButtons(hints, Buttons);
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
    // The whole line is the link, taken on mouse down, and lights up as the pointer comes onto it.
    for (int line = 0; line < 3; ++line) {
        QLabel* hint = AddHint(hintsLayout_);
        hint->setTextFormat(Qt::RichText);
        hint->installEventFilter(this);
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
    // A line that is no longer a link is no longer lit either.
    if ((joinLit_ && !joinAllowed_) || (splitLit_ && !splitAllowed_)) {
        PointAtLine(0);
    }
    const auto words = [](const char* text, const char* link, bool on, bool lit) {
        return on ? LinkWords(text, link, lit) : QString(text);
    };
    const QString lines[3] = {"Hold down the Shift key to select more items.",
                              "Click on the " + words("Join items", "join", joinAllowed_, joinLit_) +
                                  " button to create a single object comprised of the selected items.",
                              "Click on the " + words("Split group", "split", splitAllowed_, splitLit_) +
                                  " button to separate the group members into individual items."};
    const bool links[3] = {false, joinAllowed_, splitAllowed_};
    for (size_t i = 0; i < 3; ++i) {
        hints_[i]->setText(lines[i]);
        hints_[i]->setCursor(links[i] ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
    hints_[1]->setEnabled(joinAllowed_);
    hints_[2]->setEnabled(splitAllowed_);
}

bool TUnibox::eventFilter(QObject* watched, QEvent* event) {
    const auto line = std::find(hints_.begin(), hints_.end(), watched);
    if (line != hints_.end()) {
        const int number = static_cast<int>(line - hints_.begin()) + 1;
        if (event->type() == QEvent::Enter) {
            PointAtLine(number);
        } else if (event->type() == QEvent::Leave) {
            PointAtLine(0);
        } else if (event->type() == QEvent::MouseButtonPress &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            if (number == 2) {
                JoinClick();
            } else if (number == 3) {
                SplitClick();
            }
        }
    }
    return TStylePanel::eventFilter(watched, event);
}

void TUnibox::PointAtLine(int line) {
    const bool join = line == 2 && joinAllowed_;
    const bool split = line == 3 && splitAllowed_;
    if (join == joinLit_ && split == splitLit_) {
        return;
    }
    joinLit_ = join;
    splitLit_ = split;
    if (join || split) {
        host_.LightCommand(join ? ToolbarButton::Join : ToolbarButton::Split, join ? 2 : 3);
    } else {
        host_.PlainCommands();
    }
    SetHints();
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
