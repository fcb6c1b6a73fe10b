// The page of line directions, text angles and font sizes.
#include "styles/directions.h"

#include "settings/params.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace vlr {

namespace {

struct DirectionTexts {
    const char* opening;
    const char* value;
    const char* name;
    const char* enter;
};

DirectionTexts TextsOf(DirectionList list) {
    switch (list) {
    case DirectionList::LineDirections:
        return {
            "Click on the name in the left column to enter or change the angle.", "Angle",
            "Enter a new name in the Name field. You will be able to select the angle by this name.",
            "Then, enter the angle of the line. Leave the angle field empty to remove the direction from the "
            "pull-down list."};
    case DirectionList::TextAngles:
        return {"Click on the name in the left column to enter or change the angle.", "Angle",
                "Enter a new name in the Name field. You will be able to select the angle by this name.",
                "Then, enter the angle of the text. Leave the angle field empty to remove this item from the "
                "pull-down list."};
    case DirectionList::FontSizes:
        break;
    }
    return {
        "Click on the name in the left column to enter or change the font size.", "Size",
        "Enter a new name in the Name field. You will be able to select the font size by this name.",
        "Then, enter the font size. Leave the font size field empty to remove the size from the pull-down "
        "list."};
}

} // namespace

TDirections::TDirections(DirectionList list, TParams& params, RegistryStore& store, Prompt& prompt,
                         QWidget* parent)
    : TSlotPage(params, store, prompt, parent), list_(list), working_(Target()) {
    const DirectionTexts texts = TextsOf(list);
    Build(texts.opening, kSaveOrCancelHelp);
    value_ = new QLineEdit(this);
    Fields()->addWidget(new QLabel(texts.value, this), 1, 0);
    Fields()->addWidget(value_, 1, 1);
    if (list != DirectionList::FontSizes) {
        units_ = AddUnitsBox({"Degrees", "Radians"},
                             [this](int slot) -> int32_t& { return working_[slot].units; });
        Fields()->addWidget(new QLabel("Units", this), 1, 2);
        Fields()->addWidget(units_, 1, 3);
    }
    AddHelp(Editor(), texts.name);
    AddHelp(Editor(), texts.enter);
    connect(value_, &QLineEdit::textEdited, this,
            [this](const QString& text) { working_[ChosenSlot()].valueText = text.trimmed().toStdString(); });
}

custDirection_t& TDirections::Target() {
    switch (list_) {
    case DirectionList::LineDirections:
        return params_.slots.directions;
    case DirectionList::TextAngles:
        return params_.slots.textAngles;
    case DirectionList::FontSizes:
        break;
    }
    return params_.slots.fontSizes;
}

void TDirections::ShowSlot(int slot) {
    value_->setText(QString::fromStdString(working_[slot].valueText));
    if (units_) {
        ShowUnits(units_, working_[slot].units);
    }
}

bool TDirections::RunAction() {
    return SaveSlots(working_, Target(), [this](custDirection_t& slots) {
        return SaveDirectionSlots(slots, ChosenSlot(), list_);
    });
}

} // namespace vlr
