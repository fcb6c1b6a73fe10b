// A design's page: copying a page setup into the design's header item, the page a new design
// starts with, and reading the header's dimension texts back into a page setup.
#pragma once

#include "model/itemrecord.h"
#include "settings/pagesetup.h"

#include <functional>
#include <string>

namespace vlr {

struct defaults_t;
struct TParams;

enum class ApplyStatus {
    Applied,
    NoHeader, // the design has no header item: nothing happens
    BadUnit,  // the page setup's unit is not 1 ... 3: nothing happens
    Refused,  // the numbers would give a design that cannot be drawn or printed; message says why
};

struct ApplyResult {
    ApplyStatus status = ApplyStatus::Applied;
    std::string message; // for Refused, in words for the user
    bool applied() const { return status == ApplyStatus::Applied; }
};

// Asks the document window showing the design to recompute its extents, rulers and scroll bars
// and to repaint.
using PageRedisplay = std::function<void()>;

// Copies the current block of pageset into the design's header: orientation, design type and
// preset index; every dimension that reads (a text that does not read keeps the header's
// number); rows and columns that read as whole numbers; the folds; the fourteen texts; the
// canvas size (one card, doubled by its folds, for card types; the paper otherwise and in
// pixels); and, when the unit changes, the unit, its scales, the canvas offsets converted to the
// new unit and the default grid distances of the new unit. Nothing changes when the resulting
// page fails CheckPageValues. Unless quiet, the header is marked changed and redisplay runs.
ApplyResult ApplyPageSetup(ItemList& design, const pageset_t& pageset, int32_t designType, bool quiet,
                           const defaults_t& defaults, const PageRedisplay& redisplay = {});

// The page of a new design: the preferred unit and its scales, a paper of 200 x 200 pixels,
// 210 x 297 mm or 8.5 x 11 inches with every later page value zero, then the new-file page setup
// of the default design type, quietly. When the stored page setup is refused, the type's factory
// page setup is applied instead, so a new design can always be drawn and printed.
ApplyResult ApplyNewDesignPage(ItemList& design, const TParams& params);

// Design pixels per unit: 1 for pixels, the resolution / 25.4 for millimetres, the resolution for
// inches.
double UnitScaleX(int32_t unit, const ScreenResolution& screen);
double UnitScaleY(int32_t unit, const ScreenResolution& screen);

// The header's fourteen texts, each followed by the separator, read back by position into block;
// missing texts are empty. False (block unchanged) without a header text.
bool ReadBackPageTexts(const ItemRecord* header, miry_t& block);

} // namespace vlr
