// The grid options page.
#include "styles/options.h"

#include "model/itemrecord.h"
#include "model/prompt.h"
#include "settings/measure.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

namespace vlr {

namespace {

constexpr const char* kUnitNames[] = {"Pixels", "Millimeters", "Inches"};
constexpr const char* kDensityProblem = "The grid density must be a number greater than zero.";

// The unit in use, an unknown one counting as inches.
int32_t UnitInUse(int32_t units) {
    return units >= 1 && units <= 3 ? units : 3;
}

} // namespace

defaults_t GridOptionsOfDesign(const ItemRecord* header, const defaults_t& settings, char decimalSeparator) {
    defaults_t options = settings;
    if (!header) {
        return options;
    }
    options.units = UnitInUse(header->units);
    options.pxPerUnitX = header->pxPerUnitX;
    options.pxPerUnitY = header->pxPerUnitY;
    options.showGridX = header->showGridX ? 1 : 0;
    options.anchorsX = header->anchorsX ? 1 : 0;
    options.snapX = header->snapX ? 1 : 0;
    options.showGridY = header->showGridY ? 1 : 0;
    options.anchorsY = header->anchorsY ? 1 : 0;
    options.snapY = header->snapY ? 1 : 0;
    defaultsRec_t& slot = options.perUnit[options.units - 1];
    slot.gridX = header->gridDensityX;
    slot.gridY = header->gridDensityY;
    slot.gridXText = FormatFloat(header->gridDensityX, decimalSeparator);
    slot.gridYText = FormatFloat(header->gridDensityY, decimalSeparator);
    return options;
}

std::optional<std::string> ParseGridDensities(defaults_t& options) {
    const int32_t unit = UnitInUse(options.units);
    defaultsRec_t& slot = options.perUnit[unit - 1];
    std::optional<double> x = ParseMeasure(slot.gridXText, unit);
    std::optional<double> y = ParseMeasure(slot.gridYText, unit);
    for (const std::optional<double>& density : {x, y}) {
        if (!density || !std::isfinite(*density) || *density <= 0.0) {
            return std::string(kDensityProblem);
        }
    }
    slot.gridX = *x;
    slot.gridY = *y;
    return std::nullopt;
}

bool ApplyGridOptions(ItemRecord* header, const defaults_t& options) {
    if (!header) {
        return false;
    }
    const defaultsRec_t& slot = options.perUnit[UnitInUse(options.units) - 1];
    bool changed = false;
    auto flag = [&changed](ByteField& field, uint8_t value) {
        const uint8_t wanted = value ? 1 : 0;
        changed = changed || (field != 0) != (wanted != 0);
        field = wanted;
    };
    auto density = [&changed](DoubleField& field, double value) {
        changed = changed || double(field) != value;
        field = value;
    };
    flag(header->showGridX, options.showGridX);
    flag(header->anchorsX, options.anchorsX);
    flag(header->snapX, options.snapX);
    flag(header->showGridY, options.showGridY);
    flag(header->anchorsY, options.anchorsY);
    flag(header->snapY, options.snapY);
    density(header->gridDensityX, slot.gridX);
    density(header->gridDensityY, slot.gridY);
    if (changed) {
        header->modified = 1;
    }
    return changed;
}

TOptions::TOptions(const defaults_t& options, Prompt& prompt, QWidget* parent)
    : DialogPage(parent), options_(options), prompt_(prompt) {
    options_.units = UnitInUse(options_.units);
    auto* layout = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    layout->addLayout(groups);
    const QString unitName = kUnitNames[options_.units - 1];
    for (int axis = 0; axis < 2; ++axis) {
        auto* group = new QGroupBox(axis == 0 ? "Horizontal" : "Vertical", this);
        auto* grid = new QGridLayout(group);
        ShowGridlines[axis] = new QCheckBox("Show Gridlines", group);
        ShowAnchors[axis] = new QCheckBox("Show Anchors", group);
        SnapToGrid[axis] = new QCheckBox("Snap to Grid", group);
        GridDensity[axis] = new QLineEdit(group);
        grid->addWidget(ShowGridlines[axis], 0, 0, 1, 2);
        grid->addWidget(ShowAnchors[axis], 1, 0, 1, 2);
        grid->addWidget(SnapToGrid[axis], 2, 0, 1, 2);
        grid->addWidget(new QLabel("Grid Density" + QString(" (") + unitName + ")", group), 3, 0);
        grid->addWidget(GridDensity[axis], 3, 1);
        groups->addWidget(group);

        const bool x = axis == 0;
        uint8_t& shown = x ? options_.showGridX : options_.showGridY;
        uint8_t& anchors = x ? options_.anchorsX : options_.anchorsY;
        uint8_t& snap = x ? options_.snapX : options_.snapY;
        std::string& density = x ? options_.perUnit[options_.units - 1].gridXText
                                 : options_.perUnit[options_.units - 1].gridYText;
        ShowGridlines[axis]->setChecked(shown != 0);
        ShowAnchors[axis]->setChecked(anchors != 0);
        SnapToGrid[axis]->setChecked(snap != 0);
        GridDensity[axis]->setText(QString::fromStdString(density));
        // Every click and keystroke changes the copy at once.
        connect(ShowGridlines[axis], &QCheckBox::toggled, this, [&shown](bool on) { shown = on ? 1 : 0; });
        connect(ShowAnchors[axis], &QCheckBox::toggled, this, [&anchors](bool on) { anchors = on ? 1 : 0; });
        connect(SnapToGrid[axis], &QCheckBox::toggled, this, [&snap](bool on) { snap = on ? 1 : 0; });
        connect(GridDensity[axis], &QLineEdit::textChanged, this,
                [&density](const QString& text) { density = text.toStdString(); });
    }
    for (const char* help :
         {"Grid Anchors are the starting points of gridlines, small blue cylinders that appear next to the "
          "rulers. "
          "When the anchors are visible, you can move or delete each gridline by moving or deleting its "
          "anchor.",
          "Grid Density is the initial, default distance between the gridlines.",
          "Once you establish the grid, you can further customize each distance by moving the anchors. Each "
          "drawing has its own grid that is saved with the file.",
          "Horizontal grid makes vertical gridlines that help you position objects in horizontal direction, "
          "that "
          "is why you see vertical lines when you select horizontal grid."}) {
        auto* label = new QLabel(help, this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    layout->addStretch(1);
}

bool TOptions::RunAction() {
    if (std::optional<std::string> problem = ParseGridDensities(options_)) {
        prompt_.Ask(PromptIcon::Warning, *problem, PromptButtons::Ok);
        return false;
    }
    if (save) {
        save(options_);
    }
    return true;
}

} // namespace vlr
