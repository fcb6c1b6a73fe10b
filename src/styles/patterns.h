// TPatterns, the page of the large dialog host that customises the twelve line patterns the
// pattern lists offer after their built-in entries: each a run of up to twelve lengths, dash,
// space, dash, space ...
#pragma once

#include "styles/slotpage.h"

#include <array>

namespace vlr {

class TPatterns : public TSlotPage {
    Q_OBJECT
public:
    TPatterns(TParams& params, RegistryStore& store, Prompt& prompt, QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {560, 400}; }
    // Save: the patterns are checked and converted, then replace the settings' and are stored.
    bool RunAction() override;

    const custPattern_t& Working() const { return working_; }
    // Length j (0 ... 11): dashes at even j, spaces at odd j.
    QLineEdit* LengthField(int j) const { return lengths_[j]; }
    QComboBox* UnitsBox() const { return units_; }

private:
    std::string& NameOf(int slot) override { return working_[slot].name; }
    void ShowSlot(int slot) override;

    custPattern_t working_;
    std::array<QLineEdit*, 12> lengths_{};
    QComboBox* units_ = nullptr;
};

} // namespace vlr
