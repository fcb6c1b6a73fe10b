// The line patterns page.
#include "styles/patterns.h"

#include "settings/params.h"
#include "styles/thickness.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace vlr {

TPatterns::TPatterns(TParams& params, RegistryStore& store, Prompt& prompt, QWidget* parent)
    : TSlotPage(params, store, prompt, parent), working_(params.slots.patterns) {
    Build("Click on the pattern name in the left column to enter new values.", kSaveOrCancelHelp);
    units_ = AddUnitsBox(LengthUnitNames(), [this](int slot) -> int32_t& { return working_[slot].units; });
    Fields()->addWidget(new QLabel("Units", this), 1, 0);
    Fields()->addWidget(units_, 1, 1);
    // Six rows of a dash and the space after it.
    for (int j = 0; j < 12; ++j) {
        lengths_[j] = new QLineEdit(this);
        const int row = 2 + j / 2, column = (j % 2) * 2;
        Fields()->addWidget(new QLabel(j % 2 == 0 ? "Dash" : "Space", this), row, column);
        Fields()->addWidget(lengths_[j], row, column + 1);
        connect(lengths_[j], &QLineEdit::textEdited, this, [this, j](const QString& text) {
            working_[ChosenSlot()].lengthTexts[j] = text.trimmed().toStdString();
        });
    }
    AddHelp(Editor(), "Enter a new name for the line pattern in the Name field. You will be able to select "
                      "the pattern by this name.");
    AddHelp(Editor(), "Then, select the measuring units and enter the lengths of the dashes and spaces. Make "
                      "the first dash equal to zero to remove the pattern from the pull-down list.");
}

void TPatterns::ShowSlot(int slot) {
    for (int j = 0; j < 12; ++j) {
        lengths_[j]->setText(QString::fromStdString(working_[slot].lengthTexts[j]));
    }
    ShowUnits(units_, working_[slot].units);
}

bool TPatterns::RunAction() {
    return SaveSlots(working_, params_.slots.patterns, [this](custPattern_t& slots) {
        return SavePatternSlots(slots, ChosenSlot(), params_.pxPerMmX());
    });
}

} // namespace vlr
