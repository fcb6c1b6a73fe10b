// What the hint pages say and do: the paragraphs of every page 1024 ... 1078 with their links and
// key words, where the paragraphs stand, what a link starts and where the show-again box leads.
// Plain logic over the settings; the page frame (TLinehelp) shows it and hands the steps on.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vlr {

struct TParams;

inline constexpr int kFirstHintPage = 1024;
inline constexpr int kLastHintPage = 1078;
inline constexpr int kHintParagraphs = 4;

// A kind of item that has hint pages: the word the templates use and the panels it leads to.
struct HintKind {
    const char* word;
    int startPage;
    int insertionPanel;
    int fineTunePanel;
    int movingPage;
};

// The kind whose start or moving page the code is; none for the other pages.
const HintKind* HintKindOfPage(int pageCode);

struct HintParagraph {
    std::string text;
    std::string link;                  // found case-insensitively; empty without a link
    std::vector<std::string> keyWords; // found case-sensitively, set in bold
};

struct HintPageText {
    std::array<HintParagraph, kHintParagraphs> paragraphs;
};

// Every occurrence of word replaced, also inside longer words; the search goes on behind each
// replacement, so a replacement that contains the word is not replaced again.
std::string ReplaceAll(std::string text, std::string_view word, std::string_view replacement);

bool IsHintPage(int pageCode);
// Pages whose paragraphs offer steps as links (the others are read only).
bool HintPageHasLinks(int pageCode);
// The paragraphs of a page; the turning-point pages of splines and curves read the closed-shape
// settings. An unknown code gives four empty paragraphs.
HintPageText HintPageContent(int pageCode, const TParams& params);

// Where a paragraph box and its bullet stand on the frame (frame pixels).
struct HintBox {
    int left = 0, top = 0, width = 0, height = 0;
    int bulletTop = 0;
    bool shown = true;
};
struct HintLayout {
    std::array<HintBox, kHintParagraphs> paragraphs;
    int labelTop = 384; // the check box's label
    int checkBoxTop = 382;
};
HintLayout HintPageLayout(int pageCode);
// The layout with room for every shown paragraph's text, given the heights (pixels) the texts
// take at their boxes' widths: a box keeps its place unless the text above reaches into it, in
// which case it and what follows (bullets, the check box and its label) move down to stand 6
// pixels below that text. A box is as high as its text, and higher where the page gave it more
// room, but never reaches into the next box or the label.
HintLayout FitHintLayout(HintLayout layout, const std::array<int, kHintParagraphs>& textHeights);

// What pressing a paragraph does (paragraphs 1 ... 4).
struct HintLinkStep {
    bool acts = false;          // the paragraph holds a link that does something
    bool hideParagraph = false; // the paragraph goes at once
    bool selectLast = false;    // the active design's last item is selected first
    bool undo = false;          // the active design's Undo first
    bool pictureEditor = false; // the code goes to the picture editor's own switch
    int code = 0;               // what the deferred switch then shows
};
HintLinkStep LinkStepOf(int pageCode, int paragraph, const TParams& params);

// Where ticking the show-again box leads.
struct HintFollowOn {
    enum Target { Nothing, MainWindow, PictureEditor };
    Target target = Nothing;
    int code = 0;
};
// designHasSelection: the active design has a selected item (moving pages go to the fine-tune
// panel only then, otherwise to the insert panel).
HintFollowOn FollowOnOf(int pageCode, bool designHasSelection);

// Turns a page's show-again flag on or off (pages that share a flag go together).
void SetHintShown(TParams& params, int pageCode, bool shown);

} // namespace vlr
