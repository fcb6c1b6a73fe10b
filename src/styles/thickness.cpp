// The line weights page.
#include "styles/thickness.h"

#include "settings/params.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace vlr {

QStringList LengthUnitNames() {
    return {"Pixels", "Millimeters", "Inches"};
}

TThickness::TThickness(TParams& params, RegistryStore& store, Prompt& prompt, QWidget* parent)
    : TSlotPage(params, store, prompt, parent), working_(params.slots.weights) {
    Build("Click on the line weight name in the left column to enter new values.", kSaveOrCancelHelp);
    thickness_ = new QLineEdit(this);
    units_ = AddUnitsBox(LengthUnitNames(), [this](int slot) -> int32_t& { return working_[slot].units; });
    Fields()->addWidget(new QLabel("Thickness", this), 1, 0);
    Fields()->addWidget(thickness_, 1, 1);
    Fields()->addWidget(new QLabel("Units", this), 1, 2);
    Fields()->addWidget(units_, 1, 3);
    AddHelp(Editor(), "Enter a new name for the thickness in the Name field. You will be able to select the "
                      "thickness by this name.");
    AddHelp(Editor(), "Then, enter the value of the thickness and select the measuring units. Enter the "
                      "thickness of zero to remove the thickness from the pull-down list.");
    connect(thickness_, &QLineEdit::textEdited, this,
            [this](const QString& text) { working_[ChosenSlot()].valueText = text.trimmed().toStdString(); });
}

void TThickness::ShowSlot(int slot) {
    thickness_->setText(QString::fromStdString(working_[slot].valueText));
    ShowUnits(units_, working_[slot].units);
}

bool TThickness::RunAction() {
    return SaveSlots(working_, params_.slots.weights, [this](custThickness_t& slots) {
        return SaveWeightSlots(slots, ChosenSlot(), params_.pxPerMmX());
    });
}

} // namespace vlr
