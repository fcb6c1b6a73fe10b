// The gridlines of a design whose page has just changed: respaced evenly over the new page.
#pragma once

#include "model/itemlist.h"

namespace vlr {

// Both gridline directions emptied and refilled over the page at the header's gridline
// distances: one line every nearest(distance x pixels per unit) pixels from the page's left (top)
// edge, the first one distance in, as many as the page's width (height) holds. The change is a
// new version of the gridlines record, so Undo brings the former lines back. A direction whose
// distance is not a positive number of pixels keeps its lines. Nothing happens without a header
// or gridlines record.
void RespaceGridlines(ItemList& design, const EditHooks& hooks = {});

} // namespace vlr
