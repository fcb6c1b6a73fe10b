// The side panels' back-and-forward history and the what-next suggestions: which suggestions a
// panel offers and which history entry Back or Forward reaches. Plain logic; the main window
// performs what an entry or a suggestion asks for.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vlr {

struct TParams;

// The line style of new lines when a switch was recorded.
struct LineStyleSnapshot {
    int32_t color = 0;
    double weight = 0.0;
    int32_t dashStyle = 0;
    double fixedAngle = -1.0;
    double secondWeight = 0.0;
    friend bool operator==(const LineStyleSnapshot&, const LineStyleSnapshot&) = default;
};

// The text style of new texts when a switch was recorded.
struct TextStyleSnapshot {
    int32_t color = 0;
    int32_t size = 12;
    int32_t weight = 400;
    uint8_t italic = 0, underline = 0, strikeOut = 0, alignment = 1;
    std::string fontName;   // up to 32 characters
    int32_t charset = 0;
    int32_t angle = 0;
    friend bool operator==(const TextStyleSnapshot&, const TextStyleSnapshot&) = default;
};

LineStyleSnapshot CurrentLineStyle(const TParams& params);
TextStyleSnapshot CurrentTextStyle(const TParams& params);
void RestoreLineStyle(TParams& params, const LineStyleSnapshot& style);
void RestoreTextStyle(TParams& params, const TextStyleSnapshot& style);

struct HistoryEntry {
    int panelCode = 0;
    bool current = false;   // part of the way up to the present position
    int order = 0;
    int32_t docNumber = -1; // the active design when recorded; -1 without one
    int32_t tag = -1;       // stamped on the design's selected items; -1 without a design
    LineStyleSnapshot line;
    TextStyleSnapshot text;
};

// Panels that fine-tune the selection of a design.
bool IsFineTunePanel(int code);
// Panels that set the style of the next inserted item.
bool IsInsertionPanel(int code);

class PanelHistory {
public:
    // Records a switch to code. Returns the new entry, or none when the switch repeats the
    // present entry with the same style or the code is not kept in the history.
    HistoryEntry* Record(int code, const LineStyleSnapshot& line, const TextStyleSnapshot& text, int32_t docNumber,
                         int32_t tag);

    // Whether a fine-tune entry can still be shown: its design is open and still holds items
    // carrying its tag.
    using Reachable = std::function<bool(const HistoryEntry&)>;

    // Moves one step back (or forward), skipping fine-tune entries that cannot be reached. None
    // when there is nowhere to go.
    std::optional<HistoryEntry> StepBack(const Reachable& reachable);
    std::optional<HistoryEntry> StepForward(const Reachable& reachable);

    bool CanGoBack(const Reachable& reachable) const;
    bool CanGoForward(const Reachable& reachable) const;

    const std::vector<HistoryEntry>& entries() const { return entries_; }

private:
    int PresentIndex() const;
    std::vector<HistoryEntry> entries_;
};

// ---- what-next suggestions ----

inline constexpr int kSuggestionCount = 53;
inline constexpr int kSuggestionRows = 4;

// The text of suggestion n (1 ... 53).
std::string SuggestionText(int n);

struct SuggestionContext {
    bool designHasSelection = false;   // the active design has a selected item
    bool selectionIsText = false;      // ... and it is a text
};

// The suggestions a panel offers, in ascending order.
std::vector<int> SuggestionsFor(int panelCode, const SuggestionContext& context);

// The suggestions shown in the what-next rows: the first four offered.
std::vector<int> VisibleSuggestions(const std::vector<int>& offered);

// What a suggestion does.
struct SuggestionAction {
    enum Kind {
        ShowPanel,            // show panel; with selectLast the last item is selected first
        ShowHint,             // show hint page (when its hint setting is on, else fallback rules)
        Deferred,             // run a deferred command
        Join,                 // join the selection, then show panel
        Split,                // split the selection, then show panel
    };
    Kind kind = ShowPanel;
    int code = 20;
    bool selectLast = false;
    // Falls back to fallbackPanel when nothing is selected (ShowPanel), or to the fine-tune
    // panel when the hint page is switched off (ShowHint with conditionalHint).
    bool needsSelection = false;
    bool conditionalHint = false;
    int fallbackPanel = 20;
};
SuggestionAction ActionOfSuggestion(int n);

} // namespace vlr
