// TThickness, the page of the small dialog host that customises the twelve line weights the
// weight lists offer after their built-in entries.
#pragma once

#include "styles/slotpage.h"

namespace vlr {

// The unit names of weights and pattern lengths, for the units 1 ... 3.
QStringList LengthUnitNames();

class TThickness : public TSlotPage {
    Q_OBJECT
public:
    TThickness(TParams& params, RegistryStore& store, Prompt& prompt, QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {480, 320}; }
    // Save: the weights are checked and converted, then replace the settings' and are stored.
    bool RunAction() override;

    const custThickness_t& Working() const { return working_; }
    QLineEdit* ThicknessField() const { return thickness_; }
    QComboBox* UnitsBox() const { return units_; }

private:
    std::string& NameOf(int slot) override { return working_[slot].name; }
    void ShowSlot(int slot) override;

    custThickness_t working_;
    QLineEdit* thickness_ = nullptr;
    QComboBox* units_ = nullptr;
};

} // namespace vlr
