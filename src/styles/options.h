// The grid options page: the grid of new designs or of one open design - for each direction
// whether its gridlines and anchors are shown and whether points snap to them, and the density
// in the measuring unit in use. The page edits a copy; its Save hands the copy on.
#pragma once

#include "model/itemrecord.h"
#include "panels/dialogpage.h"
#include "settings/params.h"

#include <functional>
#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;

namespace vlr {

class Prompt;

// ---- the options as a defaults record ----

// A design's grid options: the header's six flags, unit and densities (as texts in the unit in
// use); the other units' texts as the settings have them.
defaults_t GridOptionsOfDesign(const ItemRecord* header, const defaults_t& settings, char decimalSeparator);
// Reads the density texts of the unit in use into their numbers; a text that is not a density
// greater than zero gives the message to show and changes nothing.
std::optional<std::string> ParseGridDensities(defaults_t& options);
// Writes the flags and the densities of the unit in use into a design's header; true when
// anything changed (the design is then modified).
bool ApplyGridOptions(ItemRecord* header, const defaults_t& options);

// ---- the page ----

class TOptions : public DialogPage {
    Q_OBJECT
public:
    TOptions(const defaults_t& options, Prompt& prompt, QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {470, 360}; }
    // Save: the density texts must read; then the copy goes to save.
    bool RunAction() override;

    const defaults_t& options() const { return options_; }
    std::function<void(const defaults_t& options)> save;

    // Horizontal grid (index 0: the gridlines at x positions) and vertical grid (index 1).
    QCheckBox* ShowGridlines[2] = {};
    QCheckBox* ShowAnchors[2] = {};
    QCheckBox* SnapToGrid[2] = {};
    QLineEdit* GridDensity[2] = {};

private:
    defaults_t options_;
    Prompt& prompt_;
};

} // namespace vlr
