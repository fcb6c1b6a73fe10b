// TDirections, the page of the large dialog host that customises one of three lists of twelve
// slots: line directions, text angles or font sizes.
#pragma once

#include "styles/slotpage.h"

namespace vlr {

class TDirections : public TSlotPage {
    Q_OBJECT
public:
    TDirections(DirectionList list, TParams& params, RegistryStore& store, Prompt& prompt,
                QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {520, 320}; }
    // Save: the angles or sizes are checked and converted, then replace the settings' and are
    // stored.
    bool RunAction() override;

    DirectionList list() const { return list_; }
    const custDirection_t& Working() const { return working_; }
    QLineEdit* ValueField() const { return value_; }
    // None for font sizes, which have no units.
    QComboBox* UnitsBox() const { return units_; }

private:
    custDirection_t& Target();
    std::string& NameOf(int slot) override { return working_[slot].name; }
    void ShowSlot(int slot) override;

    DirectionList list_;
    custDirection_t working_;
    QLineEdit* value_ = nullptr;
    QComboBox* units_ = nullptr;
};

} // namespace vlr
