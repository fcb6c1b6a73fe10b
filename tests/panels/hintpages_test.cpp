// The hint pages' texts, places, link steps and where the show-again box leads, checked against
// texts and numbers typed from the pages' descriptions.
#include "panels/hintpages.h"

#include "settings/params.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vlr {
namespace {

TEST(ReplaceAll, ReplacesInsideWordsAndNeverInsideAReplacement) {
    EXPECT_EQ(ReplaceAll("a line and its outline", "line", "spline"), "a spline and its outspline");
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("no match", "line", "x"), "no match");
}

struct PageCase {
    int page;
    int polyshape; // the closed-state setting of splines and curves
    std::array<const char*, 4> texts;
    std::array<const char*, 4> links;
};

TEST(HintPageContent, TemplatesGiveEachKindItsOwnWords) {
    const PageCase cases[] = {
        {1047,
         0,
         {"Click where you want to start another rectangle, or...",
          "Click on Start next rectangle to set the color or outline of the next rectangle, or...",
          "Click on Fine-tune to change the color or outline of this rectangle.",
          "Click on Move this rectangle to adjust the position of this rectangle. Then, move the rectangle "
          "by "
          "dragging its center point, or change the shape by moving the end points."},
         {"", "Start next rectangle", "Fine-tune", "Move this rectangle"}},
        {1046,
         0,
         {"To move the square, drag its center point.",
          "To change the shape of the square, drag its edge points.",
          "To rotate the square, drag the dot at the end of the line stretching from its center.",
          "To select another item, click on its edge. Hold down the Shift key to select more than one item."},
         {"", "", "", ""}},
        {1058,
         0,
         {"To move the pie, drag its center point.",
          "To change the size of the pie, drag one of its edge points.",
          "To select another item, click on its edge. Hold down the Shift key to select more than one item.",
          "Hold down the Ctrl key and move the mouse to select items inside an area."},
         {"", "", "", ""}},
        {1069,
         0,
         {"To move the curve, drag its center point.",
          "To change the outline of the curve, drag one of the middle points.",
          "To select another item, click on its edge. Hold down the Shift key to select more than one item.",
          "Hold down the Ctrl key and move the mouse to select items inside an area."},
         {"", "", "", ""}},
        {1072,
         0,
         {"To move the oblong, drag its center point.",
          "To change the outline of the oblong, drag one of the edge points.",
          "To select another item, click on its edge. Hold down the Shift key to select more than one item.",
          "Hold down the Ctrl key and move the mouse to select items inside an area."},
         {"", "", "", ""}},
        {1066,
         0,
         {"To move the arc, drag its center point.",
          "To change the size of the arc, drag one of its end points.",
          "To rotate the arc, drag the dot at the end of the line stretching from its center.",
          "To select another item, click on its edge. Hold down the Shift key to select more than one item."},
         {"", "", "", ""}},
        {1061,
         0,
         {"Hold down the Shift key to enter the final point.",
          "Press the Enter key to end the spline at the last turning point.",
          "Press the Backspace key to remove the last point.",
          "Press 'C' to close the spline and exit. Press the Esc key to erase this spline."},
         {"", "", "", ""}},
        {1074,
         1,
         {"Hold down the Shift key to enter the final point.",
          "Press the Enter key to end the spline at the last turning point.",
          "Press the Backspace key to remove the last point.", "Press the Esc key to erase this spline."},
         {"", "", "", ""}},
        {1064,
         0,
         {"Hold down the Shift key to enter the final point.",
          "Press the Enter key to end the solid at the last turning point.",
          "Press the Backspace key to remove the last point.", "Press the Esc key to erase this solid."},
         {"", "", "", ""}},
        {1075,
         0,
         {"Hold down the Shift key to enter the final point.",
          "Press the Enter key to end the curve at the last turning point.",
          "Press the Backspace key to remove the last point.",
          "Press 'C' to close the curve and exit. Press the Esc key to erase this curve."},
         {"", "", "", ""}},
        {1078,
         0,
         {"To move the clip, drag its center point.",
          "To change the scale of the clip, drag one of the edge points.",
          "To change the angle of the clip, drag the green dot at the end of the dashed line that starts at "
          "the "
          "center of the clip.",
          "To select another clip, click on its edge."},
         {"", "", "", ""}},
    };
    for (const PageCase& c : cases) {
        TParams params;
        params.state.polyshape = c.polyshape;
        params.state.bpolyshape = c.polyshape;
        const HintPageText page = HintPageContent(c.page, params);
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(page.paragraphs[i].text, c.texts[i]) << c.page << " paragraph " << i + 1;
            EXPECT_EQ(page.paragraphs[i].link, c.links[i]) << c.page << " paragraph " << i + 1;
        }
    }
}

TEST(HintPageContent, EveryPageFromTheFirstToTheLastHasItsParagraphs) {
    const TParams params;
    int pages = 0;
    for (int code = kFirstHintPage; code <= kLastHintPage; ++code) {
        if (!IsHintPage(code)) {
            continue;
        }
        ++pages;
        const HintPageText page = HintPageContent(code, params);
        // The clip-outlined page has three paragraphs; every other page four.
        for (size_t i = 0; i < (code == 1076 ? 3u : 4u); ++i) {
            EXPECT_FALSE(page.paragraphs[i].text.empty()) << code << " paragraph " << i + 1;
        }
    }
    // 1024, 1025, 1028, 1029, 1035, 1036, 1038, 1042, 1043 ... 1066, 1068 ... 1078.
    EXPECT_EQ(pages, 8 + 24 + 11);
    EXPECT_FALSE(IsHintPage(1067));
}

using TopsAndHeights = std::array<std::array<int, 2>, 4>;

// Each paragraph at its top with its height and its bullet 3 pixels above it; the check box 2
// pixels above its label.
void ExpectLayout(const HintLayout& layout, int page, const TopsAndHeights& topHeight, int labelTop) {
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(layout.paragraphs[i].top, topHeight[i][0]) << page << " paragraph " << i + 1;
        EXPECT_EQ(layout.paragraphs[i].height, topHeight[i][1]) << page << " paragraph " << i + 1;
        EXPECT_EQ(layout.paragraphs[i].bulletTop, topHeight[i][0] - 3) << page << " paragraph " << i + 1;
    }
    EXPECT_EQ(layout.labelTop, labelTop) << page;
    EXPECT_EQ(layout.checkBoxTop, labelTop - 2) << page;
}

TEST(HintPageLayout, PagesMoveTheirParagraphsAndBullets) {
    struct Case {
        int page;
        TopsAndHeights topHeight;
        int labelTop;
    };
    const Case cases[] = {
        {1024, {{{43, 54}, {103, 62}, {171, 70}, {247, 130}}}, 384},
        {1025, {{{43, 84}, {133, 32}, {191, 70}, {267, 110}}}, 384},
        {1042, {{{43, 74}, {123, 98}, {217, 116}, {297, 80}}}, 384},
        // Paragraph 2 grows to 82 (bottom 185); 3 starts 6 below it and grows to 90 (bottom 281).
        {1076, {{{43, 54}, {103, 82}, {191, 90}, {247, 130}}}, 287},
        {1078, {{{43, 54}, {103, 62}, {171, 110}, {287, 90}}}, 384},
    };
    for (const Case& c : cases) {
        const HintLayout layout = HintPageLayout(c.page);
        ExpectLayout(layout, c.page, c.topHeight, c.labelTop);
        EXPECT_EQ(layout.paragraphs[3].shown, c.page != 1076);
    }
}

TEST(HintPageLayout, BoxesMakeRoomForTheirTextsAndNeverOverlap) {
    struct Case {
        int page;
        std::array<int, 4> textHeights;
        TopsAndHeights topHeight;
        int labelTop;
    };
    const Case cases[] = {
        // Page 1024: tops 43, 103, 171, 247, heights 54, 62, 70, 130, label 384. Paragraph 2's text
        // ends at 183, so 3 starts at 189, keeping its height to 4's top at 247 (58); 4's text ends
        // at 397 and the label follows 6 below.
        {1024, {40, 80, 50, 150}, {{{43, 54}, {103, 80}, {189, 58}, {247, 150}}}, 403},
        // Page 1028 gives paragraph 2 the height 98 from 123, past paragraph 3's top 211, and 3 the
        // height 110 from 211, past 4's top 297: both end where the next begins.
        {1028, {20, 20, 20, 20}, {{{43, 74}, {123, 88}, {211, 86}, {297, 80}}}, 384},
        // A hidden paragraph takes no room: page 1076's label follows paragraph 3's text.
        {1076, {0, 0, 100, 500}, {{{43, 54}, {103, 82}, {191, 100}, {247, 130}}}, 297},
    };
    for (const Case& c : cases) {
        ExpectLayout(FitHintLayout(HintPageLayout(c.page), c.textHeights), c.page, c.topHeight, c.labelTop);
    }
}

TEST(HintFlags, PagesThatShareAFlagAreSwitchedOffTogether) {
    TParams params;
    params.hints.fill(1);
    SetHintShown(params, 1074, false);
    EXPECT_FALSE(HintShown(params, 1061));
    EXPECT_EQ(params.hints[26], 0);
    SetHintShown(params, 1070, false);
    EXPECT_FALSE(HintShown(params, 1075));
    EXPECT_EQ(std::count(params.hints.begin(), params.hints.end(), 0), 2);
    SetHintShown(params, 1061, true);
    EXPECT_TRUE(HintShown(params, 1074));
}

} // namespace
} // namespace vlr
