// The what-next box's four suggestion rows: the suggestions they offer, the row lit under the
// pointer or from a side panel's link, and their return to plain when the main window's Timer3
// runs out.
#pragma once

#include "app/panelhistory.h"

#include <array>
#include <optional>
#include <vector>

class QBoxLayout;
class QTimer;

namespace vlr {

class TPictureButton;

struct WhatNextRows {
    // Row 1 first.
    std::array<TPictureButton*, kSuggestionRows> buttons{};
    // The suggestion each row shows, row 1 first; rows beyond them are hidden.
    std::vector<int> shown;
    // Set while the rows are refilled: a refill started meanwhile does nothing.
    bool busy = false;
};

// The four rows, hidden, at the end of the what-next box's layout.
void AddSuggestionRows(WhatNextRows& rows, QBoxLayout& box);
// The rows again for the suggestions offered (the first four by number), every row plain.
void FillSuggestionRows(WhatNextRows& rows, const std::vector<int>& offered);
// Row 1 ... 4 highlighted, the others plain, and timer restarted to take the highlight away.
void HighlightSuggestionRow(WhatNextRows& rows, int row, QTimer& timer);
// Rows fromRow ... 4 plain.
void PlainSuggestionRows(WhatNextRows& rows, int fromRow = 1);
// A click on row 1 ... 4 hides it and gives the suggestion to perform; none for a row that shows
// nothing.
std::optional<int> TakeSuggestion(WhatNextRows& rows, int row);

} // namespace vlr
