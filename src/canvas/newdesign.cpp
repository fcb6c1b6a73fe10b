// The records of a new design.
#include "canvas/newdesign.h"

#include "canvas/grid.h"
#include "settings/pageheader.h"
#include "settings/params.h"

#include <algorithm>

namespace vlr {

void CreateNewDesign(ItemList& items, const TParams& params, int32_t docNumber) {
    FreeList(items);
    const defaults_t& defaults = params.state.defaults;
    ItemRecord* header = CreateRecord(items, ItemKind::Header);
    header->recordClass = RecordClass::Header;
    header->docNumber = docNumber;
    header->zoom = 1.0;
    header->units = defaults.units;
    header->pxPerUnitX = defaults.pxPerUnitX;
    header->pxPerUnitY = defaults.pxPerUnitY;
    const defaultsRec_t& unit = defaults.perUnit[std::clamp(defaults.units, 1, 3) - 1];
    header->canvasLeft = unit.canvasLeft;
    header->canvasTop = unit.canvasTop;
    header->canvasWidth = unit.canvasWidth;
    header->canvasHeight = unit.canvasHeight;
    header->gridDensityX = unit.gridX;
    header->gridDensityY = unit.gridY;
    header->showGridX = defaults.showGridX;
    header->anchorsX = defaults.anchorsX;
    header->snapX = defaults.snapX;
    header->showGridY = defaults.showGridY;
    header->anchorsY = defaults.anchorsY;
    header->snapY = defaults.snapY;
    header->designType = params.state.pspage;
    header->orientation = 1;
    header->lightDirection = static_cast<uint8_t>(std::clamp(params.state.lgtdir, 0, 3));
    header->fileVersion = kFileVersion;
    // The page of the default design type of new files.
    ApplyNewDesignPage(items, params);
    HeaderGeometry(header);

    ItemRecord* grid = CreateRecord(items, ItemKind::Gridlines);
    grid->historyState = 0;
    FillDefaultGridlines(grid, header);
    SetModified(items, false);
}

} // namespace vlr
