// The side panels' history and the what-next suggestions.
#include "app/panelhistory.h"

#include "settings/params.h"

#include <algorithm>
#include <array>

namespace vlr {

namespace {

bool IsKeptInHistory(int code) {
    return code == 20 || code == 59 || (code >= 98 && code <= 301) || code == 400 || code == 401 ||
           (code >= 1024 && code <= 1080);
}

bool IsLinePanel(int code) { return code == 98 || (code >= 100 && code <= 199); }

// Entries Back and Forward can always reach, with or without their design.
bool NeedsNoDesign(int code) {
    return code == 20 || code == 98 || (code >= 100 && code <= 199) || (code >= 1024 && code <= 1080);
}

// Shapes that have "Start new", "Fine-tune" and "Move" suggestions, in suggestion order, with
// their hint pages after insertion and after moving.
struct ShapeSuggestions {
    const char* word;
    int firstSuggestion;   // "Start new ...", then "Fine-tune", then "Move"
    int startPanel, fineTunePanel, startHint, movingHint;
};
constexpr ShapeSuggestions kShapes[] = {
    {"triangle", 8, 100, 200, 1043, 1044}, {"square", 11, 101, 201, 1045, 1046},
    {"rectangle", 14, 102, 202, 1047, 1048}, {"circle", 17, 103, 203, 1049, 1050},
    {"ellipse", 20, 104, 204, 1051, 1052},   {"polygon", 23, 199, 299, 1053, 1054},
    {"star", 26, 105, 206, 1055, 1056},      {"pie", 29, 107, 207, 1057, 1058},
    {"spline", 32, 109, 209, 1059, 1060},    {"solid", 35, 110, 210, 1062, 1063},
    {"arc", 38, 108, 208, 1065, 1066},       {"curve", 41, 111, 211, 1068, 1069},
    {"oblong", 44, 112, 212, 1071, 1072},
};

const ShapeSuggestions* ShapeOfSuggestion(int n) {
    for (const ShapeSuggestions& shape : kShapes) {
        if (n >= shape.firstSuggestion && n < shape.firstSuggestion + 3) {
            return &shape;
        }
    }
    return nullptr;
}

} // namespace

bool IsFineTunePanel(int code) {
    return code == 59 || code == 99 || (code >= 200 && code <= 299) || code == 301 || code == 401;
}

bool IsInsertionPanel(int code) { return IsLinePanel(code) || code == 300; }

LineStyleSnapshot CurrentLineStyle(const TParams& params) {
    const currentState_t& s = params.state;
    return {s.lineColor, s.lineWidth, s.linePattern, s.lineDirection, s.lineOutline};
}

TextStyleSnapshot CurrentTextStyle(const TParams& params) {
    const currentState_t& s = params.state;
    return {s.tcolor,     s.tsize,      s.tbold, s.titalic, s.tunderline, s.tstrikeOut, s.talignment,
            s.tfont.substr(0, 32), s.tcharset, s.tangle};
}

void RestoreLineStyle(TParams& params, const LineStyleSnapshot& style) {
    currentState_t& s = params.state;
    s.lineColor = style.color;
    s.lineWidth = style.weight;
    s.linePattern = style.dashStyle;
    s.lineDirection = style.fixedAngle;
    s.lineOutline = style.secondWeight;
}

void RestoreTextStyle(TParams& params, const TextStyleSnapshot& style) {
    currentState_t& s = params.state;
    s.tcolor = style.color;
    s.tsize = style.size;
    s.tbold = style.weight;
    s.titalic = style.italic;
    s.tunderline = style.underline;
    s.tstrikeOut = style.strikeOut;
    s.talignment = style.alignment;
    s.tfont = style.fontName;
    s.tcharset = style.charset;
    s.tangle = style.angle;
}

// ---- history ----

int PanelHistory::PresentIndex() const {
    for (int i = static_cast<int>(entries_.size()) - 1; i >= 0; --i) {
        if (entries_[i].current) {
            return i;
        }
    }
    return -1;
}

HistoryEntry* PanelHistory::Record(int code, const LineStyleSnapshot& line, const TextStyleSnapshot& text,
                                   int32_t docNumber, int32_t tag) {
    int present = PresentIndex();
    if (present >= 0 && entries_[present].panelCode == code) {
        const HistoryEntry& entry = entries_[present];
        if ((IsLinePanel(code) && entry.line == line) || (code == 300 && entry.text == text)) {
            return nullptr;
        }
    }
    if (!IsKeptInHistory(code)) {
        return nullptr;
    }
    // A new switch ends the way forward.
    std::erase_if(entries_, [](const HistoryEntry& entry) { return !entry.current; });
    int order = 1;
    for (const HistoryEntry& entry : entries_) {
        order = std::max(order, entry.order + 1);
    }
    entries_.push_back({code, true, order, docNumber, tag, line, text});
    return &entries_.back();
}

std::optional<HistoryEntry> PanelHistory::StepBack(const Reachable& reachable) {
    while (true) {
        int present = PresentIndex();
        if (present < 0) {
            return std::nullopt;
        }
        entries_[present].current = false;
        int target = PresentIndex();
        if (target < 0) {
            return std::nullopt;
        }
        const HistoryEntry& entry = entries_[target];
        if (!IsFineTunePanel(entry.panelCode) || reachable(entry)) {
            return entry;
        }
    }
}

std::optional<HistoryEntry> PanelHistory::StepForward(const Reachable& reachable) {
    while (true) {
        int next = PresentIndex() + 1;
        if (next >= static_cast<int>(entries_.size())) {
            return std::nullopt;
        }
        entries_[next].current = true;
        const HistoryEntry& entry = entries_[next];
        if (!IsFineTunePanel(entry.panelCode) || reachable(entry)) {
            return entry;
        }
    }
}

bool PanelHistory::CanGoBack(const Reachable& reachable) const {
    int present = PresentIndex();
    for (int i = 0; i < present; ++i) {
        const HistoryEntry& entry = entries_[i];
        if (entry.current && (NeedsNoDesign(entry.panelCode) || reachable(entry))) {
            return true;
        }
    }
    return false;
}

bool PanelHistory::CanGoForward(const Reachable& reachable) const {
    for (const HistoryEntry& entry : entries_) {
        if (!entry.current && (NeedsNoDesign(entry.panelCode) || reachable(entry))) {
            return true;
        }
    }
    return false;
}

// ---- suggestions ----

std::string SuggestionText(int n) {
    switch (n) {
    case 1:
        return "Insert new item";
    case 2:
        return "Draw next line";
    case 3:
        return "Fine-tune this line";
    case 4:
        return "Move this line";
    case 5:
        return "Start new text";
    case 6:
        return "Fine-tune this text";
    case 7:
        return "Move this text";
    case 47:
        return "Insert new picture";
    case 48:
        return "Fine-tune this clip";
    case 49:
        return "Move this clip";
    case 50:
        return "Insert new clip";
    case 51:
        return "Edit this clip";
    case 52:
        return "Join items";
    case 53:
        return "Split group";
    default:
        break;
    }
    const ShapeSuggestions* shape = ShapeOfSuggestion(n);
    if (!shape) {
        return {};
    }
    switch (n - shape->firstSuggestion) {
    case 0:
        return std::string("Start new ") + shape->word;
    case 1:
        // The first three shapes say only "Fine-tune".
        return shape->firstSuggestion < 17 ? "Fine-tune" : std::string("Fine-tune this ") + shape->word;
    default:
        return std::string("Move this ") + shape->word;
    }
}

SuggestionAction ActionOfSuggestion(int n) {
    SuggestionAction action;
    switch (n) {
    case 1:
        return action;
    case 2:
        action.code = 98;
        return action;
    case 3:
        action.code = 99;
        action.selectLast = true;
        action.needsSelection = true;
        return action;
    case 4:
        action.kind = SuggestionAction::ShowHint;
        action.code = 1025;
        action.selectLast = true;
        action.conditionalHint = true;
        action.fallbackPanel = 99;
        return action;
    case 5:
        action.code = 300;
        return action;
    case 6:
        action.code = 301;
        action.needsSelection = true;
        return action;
    case 7:
        action.kind = SuggestionAction::ShowHint;
        action.code = 1036;
        action.conditionalHint = true;
        action.fallbackPanel = 301;
        return action;
    case 47:
        action.kind = SuggestionAction::Deferred;
        action.code = 400;
        return action;
    case 48:
        action.code = 401;
        action.selectLast = true;
        return action;
    case 49:
        action.kind = SuggestionAction::ShowHint;
        action.code = 1078;
        action.selectLast = true;
        return action;
    case 50:
        action.kind = SuggestionAction::Deferred;
        action.code = 510;
        return action;
    case 51:
        action.kind = SuggestionAction::Deferred;
        action.code = 503;
        return action;
    case 52:
        action.kind = SuggestionAction::Join;
        action.code = 59;
        return action;
    case 53:
        action.kind = SuggestionAction::Split;
        action.code = 20;
        return action;
    default:
        break;
    }
    if (const ShapeSuggestions* shape = ShapeOfSuggestion(n)) {
        switch (n - shape->firstSuggestion) {
        case 0:
            action.code = shape->startPanel;
            break;
        case 1:
            action.code = shape->fineTunePanel;
            action.selectLast = true;
            break;
        default:
            action.kind = SuggestionAction::ShowHint;
            action.code = shape->movingHint;
            action.selectLast = true;
            break;
        }
    }
    return action;
}

std::vector<int> SuggestionsFor(int code, const SuggestionContext& context) {
    switch (code) {
    case 20:
        return {};
    case 59:
        return {1, 52, 53};
    case 98:
        return context.designHasSelection ? std::vector<int>{1, 3} : std::vector<int>{1};
    case 99:
        return {1, 2};
    case 300:
    case 302:
    case 303:
        return context.selectionIsText ? std::vector<int>{1, 6} : std::vector<int>{1};
    case 301:
        return {1, 5};
    case 401:
        return {1, 47, 50, 51};
    case 1024:
        return {1, 2, 3, 4};
    case 1025:
        return {1, 2, 3};
    case 1035:
        return {1, 5, 6, 7};
    case 1036:
        return {1, 5, 6};
    case 1077:
        return {1, 47, 48, 49};
    case 1078:
        return {1, 47, 48};
    case 1061:
    case 1064:
    case 1070:
    case 1073:
        return {};
    default:
        break;
    }
    if (code >= 100 && code <= 199) {
        return {1};
    }
    if (code >= 200 && code <= 299) {
        for (const ShapeSuggestions& shape : kShapes) {
            if (shape.fineTunePanel == code && (code <= 208 || code == 299)) {
                return {1, shape.firstSuggestion};
            }
        }
        if ((code >= 209 && code <= 212) || code == 297 || code == 298) {
            return {1};
        }
        return {};
    }
    if (code >= 1024 && code <= 1080) {
        for (const ShapeSuggestions& shape : kShapes) {
            if (code == shape.startHint) {
                return {1, shape.firstSuggestion, shape.firstSuggestion + 1, shape.firstSuggestion + 2};
            }
            if (code == shape.movingHint) {
                return {1, shape.firstSuggestion, shape.firstSuggestion + 1};
            }
        }
        return {1};
    }
    return {};
}

std::vector<int> VisibleSuggestions(const std::vector<int>& offered) {
    std::vector<int> sorted = offered;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (sorted.size() > kSuggestionRows) {
        sorted.resize(kSuggestionRows);
    }
    return sorted;
}

} // namespace vlr
