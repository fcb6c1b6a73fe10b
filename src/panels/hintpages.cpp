// The hint pages' texts, places and steps.
#include "panels/hintpages.h"

#include "settings/params.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vlr {

namespace {

constexpr int kInsertPanel = 20;
constexpr int kPreviousPanel = 43; // the deferred switch's code for the panel shown before the page
constexpr int kTextPanel = 303;

constexpr std::array<HintKind, 16> kKinds = {{
    {"line", 1024, 98, 99, 1025},
    {"text", 1035, 300, 301, 1036},
    {"triangle", 1043, 100, 200, 1044},
    {"square", 1045, 101, 201, 1046},
    {"rectangle", 1047, 102, 202, 1048},
    {"circle", 1049, 103, 203, 1050},
    {"ellipse", 1051, 104, 204, 1052},
    {"polygon", 1053, 199, 299, 1054},
    {"star", 1055, 105, 206, 1056},
    {"pie", 1057, 107, 207, 1058},
    {"spline", 1059, 109, 209, 1060},
    {"solid", 1062, 110, 210, 1063},
    {"arc", 1065, 108, 208, 1066},
    {"curve", 1068, 111, 211, 1069},
    {"oblong", 1071, 112, 212, 1072},
    {"clip", 1077, 400, 401, 1078},
}};

// The turning-point pages: the kind's word, and whether the kind can be closed with 'C'.
struct TurningPage {
    int page;
    const char* word;
    bool closable;
};
constexpr std::array<TurningPage, 6> kTurningPages = {{
    {1061, "spline", true},
    {1074, "spline", true},
    {1064, "solid", false},
    {1070, "curve", true},
    {1075, "curve", true},
    {1073, "oblong", false},
}};

const TurningPage* TurningPageOf(int pageCode) {
    for (const TurningPage& page : kTurningPages) {
        if (page.page == pageCode) {
            return &page;
        }
    }
    return nullptr;
}

const char* const kSelectAnotherItem =
    "To select another item, click on its edge. Hold down the Shift key to select more than one item.";
const char* const kSelectInsideArea =
    "Hold down the Ctrl key and move the mouse to select items inside an area.";
const char* const kChangeTheSize = "To change the size of the circle, drag one of its edge points.";
const char* const kRotate =
    "To rotate the triangle, drag the dot at the end of the line stretching from its center.";
const char* const kMoveCentre = "To move the triangle, drag its center point.";

HintParagraph Paragraph(std::string text, std::string link = {}, std::vector<std::string> keyWords = {}) {
    return {std::move(text), std::move(link), std::move(keyWords)};
}

HintPageText StartPage(const std::string& word) {
    HintPageText page;
    page.paragraphs[0] =
        Paragraph(ReplaceAll("Click where you want to start another line, or...", "line", word));
    page.paragraphs[1] = Paragraph(
        ReplaceAll("Click on Start next triangle to set the color or outline of the next triangle, or...",
                   "triangle", word),
        "Start next " + word);
    page.paragraphs[2] = Paragraph(
        ReplaceAll("Click on Fine-tune to change the color or outline of this triangle.", "triangle", word),
        "Fine-tune");
    page.paragraphs[3] =
        Paragraph(ReplaceAll("Click on Move this triangle to adjust the position of this triangle. "
                             "Then, move the triangle by dragging its center point, or change the "
                             "shape by moving the end points.",
                             "triangle", word),
                  "Move this " + word);
    return page;
}

HintPageText MovingPage(const HintKind& kind) {
    const std::string word = kind.word;
    HintPageText page;
    page.paragraphs[0] = Paragraph(ReplaceAll(kMoveCentre, "triangle", word), {}, {"move"});
    switch (kind.movingPage) {
    case 1044: // the shapes with corners
    case 1046:
    case 1048:
        page.paragraphs[1] = Paragraph(
            ReplaceAll("To change the shape of the triangle, drag its edge points.", "triangle", word), {},
            {"change the shape"});
        page.paragraphs[2] = Paragraph(ReplaceAll(kRotate, "triangle", word), {}, {"rotate"});
        page.paragraphs[3] = Paragraph(kSelectAnotherItem, {}, {"select"});
        return page;
    case 1066:
        page.paragraphs[1] = Paragraph(ReplaceAll(ReplaceAll(kChangeTheSize, "circle", "arc"), "edge", "end"),
                                       {}, {"change the size"});
        page.paragraphs[2] = Paragraph(ReplaceAll(kRotate, "triangle", "arc"), {}, {"rotate"});
        page.paragraphs[3] = Paragraph(kSelectAnotherItem, {}, {"select"});
        return page;
    case 1060: // the point-list shapes: their outline is dragged
    case 1069:
        page.paragraphs[1] = Paragraph(
            ReplaceAll("To change the outline of the spline, drag one of the middle points.", "spline", word),
            {}, {"outline"});
        break;
    case 1063:
    case 1072:
        page.paragraphs[1] = Paragraph(
            ReplaceAll("To change the outline of the solid, drag one of the edge points.", "solid", word), {},
            {"outline"});
        break;
    default: // the round shapes
        page.paragraphs[1] = Paragraph(ReplaceAll(kChangeTheSize, "circle", word), {}, {"change the size"});
        break;
    }
    page.paragraphs[2] = Paragraph(kSelectAnotherItem, {}, {"select"});
    page.paragraphs[3] = Paragraph(kSelectInsideArea);
    return page;
}

HintPageText TurningPointPage(const TurningPage& turning, const TParams& params) {
    const std::string word = turning.word;
    HintPageText page;
    page.paragraphs[0] =
        Paragraph("Hold down the Shift key to enter the final point.", {}, {"final point", "Shift"});
    page.paragraphs[1] = Paragraph(
        ReplaceAll("Press the Enter key to end the spline at the last turning point.", "spline", word), {},
        {"last"});
    page.paragraphs[2] = Paragraph("Press the Backspace key to remove the last point.", {}, {"remove"});
    // 'C' closes only a shape that is drawn open.
    const int32_t closed = word == "curve" ? params.state.bpolyshape : params.state.polyshape;
    std::string last = ReplaceAll("Press the Esc key to erase this spline.", "spline", word);
    if (turning.closable && closed == 0) {
        last = ReplaceAll("Press 'C' to close the spline and exit.", "spline", word) + " " + last;
    }
    page.paragraphs[3] = Paragraph(last, {}, {"close", "erase"});
    return page;
}

HintPageText OtherPage(int pageCode) {
    HintPageText page;
    auto& p = page.paragraphs;
    switch (pageCode) {
    case 1024:
        p[0] = Paragraph("Click where you want to start another line, or...");
        p[1] = Paragraph("Click on Draw next line to set the color and thickness of the next line, or...",
                         "Draw next line");
        p[2] = Paragraph("Click on Fine-tune this line to change the color or thickness of this line.",
                         "Fine-tune this line");
        p[3] =
            Paragraph("Click on Move this line to adjust the position of this line. Then, move the line by "
                      "dragging its center point, or change the angle by moving the end points.",
                      "Move this line");
        break;
    case 1025:
        p[0] = Paragraph(
            "To move the line, drag its center point (place the cursor over it, hold down the mouse key "
            "and move the mouse).",
            {}, {"move"});
        p[1] = Paragraph("To stretch the line, drag its edge points.", {}, {"stretch"});
        p[2] = Paragraph(
            "To select another line, click on it. Hold down the Shift key to select more than one line.", {},
            {"select"});
        p[3] = Paragraph(
            "Any line that has a pre-set direction maintains that direction until you change the value "
            "in the Fine-tune menu.");
        break;
    case 1028:
        p[0] = Paragraph("Horizontal grid makes vertical lines to guide you in horizontal direction.", {},
                         {"Horizontal grid"});
        p[1] =
            Paragraph("When Snap is on, objects snap to the nearest gridline. Tools|Snap menu turns Snap on.",
                      {}, {"Snap"});
        p[2] =
            Paragraph("Each gridline has an Anchor that you can move. Tools|Grid|Anchors turns Anchors on.");
        p[3] = Paragraph("When you move a gridline, the objects that are snapped to it move with it.", {},
                         {"move"});
        break;
    case 1029:
        p[0] = Paragraph("If Snap is on, objects snap to the nearest gridline when you move their markers");
        p[1] = Paragraph("You can turn Snap on even when the gridlines are not visible.");
        p[2] = Paragraph("When you move a gridline, the objects that are snapped to it move with it.");
        p[3] = Paragraph(
            "You can turn Snap on in only one direction, horizontal or vertical. Tools|Snap menu turns "
            "Snap on.");
        break;
    case 1035:
        p[0] = Paragraph("Enter the text. Then, click where you want to start another line of text.");
        p[1] = Paragraph("Click on Start new text to set the color, size and font of the next line of text.",
                         "Start new text");
        p[2] = Paragraph("Click on Fine-tune this text to change the color, size or font of this text.",
                         "Fine-tune this text");
        p[3] =
            Paragraph("Click on Move this text to adjust the position of this text. Or, click on the pointer "
                      "button (the button with the hand picture) when done editing the text.",
                      "Move this text");
        break;
    case 1036:
        p[0] = Paragraph(
            "To move the text, drag its center point (place the cursor over it, hold down the mouse key "
            "and move the mouse).",
            {}, {"move"});
        p[1] = Paragraph("To stretch the text box, drag its edge points.", {}, {"stretch"});
        p[2] = Paragraph(
            "To select another line of text, click on it. Hold down the Shift key to select more than "
            "one item.",
            {}, {"select"});
        p[3] = Paragraph(
            "Any line of text, that has a pre-set angle, is rotated until you change the value in the "
            "Fine-tune menu.",
            {}, {"rotated"});
        break;
    case 1038:
        p[0] = Paragraph("You can restore any deleted object by clicking on the Undo button.", "Undo");
        p[1] = Paragraph("You can step back through all the work that you have done so far.");
        p[2] = Paragraph(
            "You can then step forward all the way to this point by clicking on the Redo button.", "Redo");
        p[3] = Paragraph("But, as soon as you make any edits, all the remaining Redo steps are cleared.");
        break;
    case 1042:
        p[0] = Paragraph(
            "Grid anchors are the starting points of gridlines, small blue cylinders that appear next to "
            "the rulers.");
        p[1] = Paragraph(
            "You can move any gridline - place the cursor over its anchor, hold down the mouse button "
            "and move it.",
            {}, {"move"});
        p[2] = Paragraph(
            "You can delete any gridline - place the cursor over its anchor, and press the 'Delete' key.", {},
            {"delete"});
        p[3] = Paragraph(
            "You can insert a new gridline - hold down the Shift key and click between any two anchors.", {},
            {"insert"});
        break;
    case 1076:
        p[0] = Paragraph("Click where you want to start another clip.");
        p[1] = Paragraph("Click on the pointer button and then select a clip, if you want to adjust its size "
                         "or position.");
        p[2] = Paragraph("Click here to move the last clip or adjust the size of that clip.", "here");
        break;
    case 1077:
        p[0] = Paragraph("The picture or the clips are in the upper left corner of your canvas.");
        p[1] = Paragraph("Click on Insert new picture to bring in more pictures or clips.",
                         "Insert new picture");
        p[2] = Paragraph("Click on Fine-tune to adjust the colors of this clip.", "Fine-tune");
        p[3] = Paragraph(
            "Click on Move this clip to adjust the position of this clip. Then, move the clip by dragging "
            "its center point, or change the scale by moving the edge points.",
            "Move this clip");
        break;
    case 1078:
        p[0] = Paragraph(ReplaceAll(kMoveCentre, "triangle", "clip"), {}, {"move"});
        p[1] = Paragraph("To change the scale of the clip, drag one of the edge points.", {}, {"scale"});
        p[2] = Paragraph(
            "To change the angle of the clip, drag the green dot at the end of the dashed line that "
            "starts at the center of the clip.",
            {}, {"angle"});
        p[3] = Paragraph("To select another clip, click on its edge.", {}, {"select"});
        break;
    default:
        break;
    }
    return page;
}

bool HasOwnText(int pageCode) {
    switch (pageCode) {
    case 1024:
    case 1025:
    case 1028:
    case 1029:
    case 1035:
    case 1036:
    case 1038:
    case 1042:
    case 1076:
    case 1077:
    case 1078:
        return true;
    default:
        return false;
    }
}

} // namespace

const HintKind* HintKindOfPage(int pageCode) {
    for (const HintKind& kind : kKinds) {
        if (kind.startPage == pageCode || kind.movingPage == pageCode) {
            return &kind;
        }
    }
    return nullptr;
}

std::string ReplaceAll(std::string text, std::string_view word, std::string_view replacement) {
    if (word.empty()) {
        return text;
    }
    for (size_t at = text.find(word); at != std::string::npos;
         at = text.find(word, at + replacement.size())) {
        text.replace(at, word.size(), replacement);
    }
    return text;
}

bool IsHintPage(int pageCode) {
    return HasOwnText(pageCode) || HintKindOfPage(pageCode) || TurningPageOf(pageCode);
}

bool HintPageHasLinks(int pageCode) {
    if (pageCode == 1038 || pageCode == 1076) {
        return true;
    }
    const HintKind* kind = HintKindOfPage(pageCode);
    return kind && kind->startPage == pageCode;
}

HintPageText HintPageContent(int pageCode, const TParams& params) {
    if (HasOwnText(pageCode)) {
        return OtherPage(pageCode);
    }
    if (const TurningPage* turning = TurningPageOf(pageCode)) {
        return TurningPointPage(*turning, params);
    }
    if (const HintKind* kind = HintKindOfPage(pageCode)) {
        return kind->startPage == pageCode ? StartPage(kind->word) : MovingPage(*kind);
    }
    return {};
}

HintLayout HintPageLayout(int pageCode) {
    HintLayout layout;
    layout.paragraphs = {{{20, 43, 129, 54}, {20, 103, 129, 62}, {20, 171, 129, 70}, {19, 247, 129, 130}}};
    auto& p = layout.paragraphs;
    // Changes of {top, height} per paragraph.
    using Shift = std::array<std::array<int, 2>, kHintParagraphs>;
    auto shift = [&p](const Shift& changes) {
        for (int i = 0; i < kHintParagraphs; ++i) {
            p[i].top += changes[i][0];
            p[i].height += changes[i][1];
        }
    };
    switch (pageCode) {
    case 1025:
        shift({{{0, 30}, {30, -30}, {20, 0}, {20, -20}}});
        break;
    case 1028:
        shift({{{0, 20}, {20, 36}, {40, 40}, {50, -50}}});
        break;
    case 1036:
        shift({{{0, 30}, {30, -22}, {28, 0}, {28, -20}}});
        break;
    case 1042:
        shift({{{0, 20}, {20, 36}, {46, 46}, {50, -50}}});
        break;
    case 1076:
        p[1].height += 20;
        p[2].top = p[1].top + p[1].height + 6;
        p[2].height += 20;
        p[3].shown = false;
        layout.labelTop = p[2].top + p[2].height + 6;
        layout.checkBoxTop = layout.labelTop - 2;
        break;
    case 1078:
        shift({{{0, 0}, {0, 0}, {0, 40}, {40, -40}}});
        break;
    default:
        break;
    }
    // A bullet stands 3 pixels above its paragraph.
    for (HintBox& box : p) {
        box.bulletTop = box.top - 3;
    }
    return layout;
}

HintLayout FitHintLayout(HintLayout layout, const std::array<int, kHintParagraphs>& textHeights) {
    // The paragraphs' own spacing on the frame.
    constexpr int kGap = 6;
    std::vector<HintBox*> shown;
    int floor = 0; // the first pixel the next box may take
    for (size_t i = 0; i < layout.paragraphs.size(); ++i) {
        HintBox& box = layout.paragraphs[i];
        if (!box.shown) {
            continue;
        }
        const int top = std::max(box.top, floor);
        box.bulletTop += top - box.top;
        box.top = top;
        floor = top + textHeights[i] + kGap;
        shown.push_back(&box);
    }
    const int labelTop = std::max(layout.labelTop, floor);
    layout.checkBoxTop += labelTop - layout.labelTop;
    layout.labelTop = labelTop;
    // A box keeps its height where that leaves room for what follows (a press anywhere on it still
    // acts), and always has its text's.
    for (size_t i = 0; i < shown.size(); ++i) {
        HintBox& box = *shown[i];
        const int next = i + 1 < shown.size() ? shown[i + 1]->top : labelTop;
        const size_t paragraph = static_cast<size_t>(&box - layout.paragraphs.data());
        box.height = std::max(textHeights[paragraph], std::min(box.height, next - box.top));
    }
    return layout;
}

HintLinkStep LinkStepOf(int pageCode, int paragraph, const TParams& params) {
    HintLinkStep step;
    if (pageCode == 1038) {
        // Only Undo acts; Redo is there to be pointed at.
        if (paragraph == 1) {
            step = {.acts = true, .hideParagraph = true, .undo = true, .code = kInsertPanel};
        }
        return step;
    }
    if (pageCode == 1076) {
        if (paragraph == 3) {
            step = {.acts = true, .pictureEditor = true, .code = 401};
        }
        return step;
    }
    const HintKind* kind = HintKindOfPage(pageCode);
    if (!kind || kind->startPage != pageCode || paragraph < 2 || paragraph > 4) {
        return step;
    }
    step.acts = true;
    step.hideParagraph = true;
    // The text being typed is the text meant: nothing else is selected for it.
    const bool selects = pageCode != 1035;
    switch (paragraph) {
    case 2:
        step.code = kind->insertionPanel;
        break;
    case 3:
        step.selectLast = selects;
        step.code = kind->fineTunePanel;
        break;
    default:
        step.selectLast = selects;
        step.code = HintShown(params, kind->movingPage) ? kind->movingPage : kind->fineTunePanel;
        break;
    }
    return step;
}

HintFollowOn FollowOnOf(int pageCode, bool designHasSelection) {
    auto main = [](int code) { return HintFollowOn{HintFollowOn::MainWindow, code}; };
    switch (pageCode) {
    case 1028:
    case 1029:
    case 1042:
        return main(kPreviousPanel);
    case 1038:
        return main(kInsertPanel);
    case 1035:
        return main(kTextPanel);
    case 1061:
    case 1064:
        return main(pageCode);
    case 1070:
        return main(111);
    case 1073:
        return main(112);
    case 1074:
        return main(297);
    case 1075:
        return main(298);
    case 1076:
        return {HintFollowOn::PictureEditor, 400};
    case 1077:
    case 1078:
        return {};
    default:
        break;
    }
    const HintKind* kind = HintKindOfPage(pageCode);
    if (!kind) {
        return {};
    }
    if (kind->startPage == pageCode) {
        return main(kind->insertionPanel);
    }
    return main(designHasSelection ? kind->fineTunePanel : kInsertPanel);
}

void SetHintShown(TParams& params, int pageCode, bool shown) {
    if (const int position = HintPosition(pageCode); position > 0) {
        params.hints[static_cast<size_t>(position - 1)] = shown ? 1 : 0;
    }
}

} // namespace vlr
