// The records a new design starts with: the document header with the page, grid and light of the
// settings for new designs, and the default gridlines of that page.
#pragma once

#include "model/itemrecord.h"

#include <cstdint>

namespace vlr {

struct TParams;

// Empties the list and fills it with a new design's header (for the document window numbered
// docNumber) and gridlines record; the design is not modified.
void CreateNewDesign(ItemList& items, const TParams& params, int32_t docNumber);

} // namespace vlr
