// The hint page frame under the offscreen platform: its texts and marks, pointing at links,
// pressing them, and the show-again box with where it leads.
#include "panels/linehelp.h"

#include "settings/params.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>
#include <vector>

namespace vlr {
namespace {

class RecordingHintHost : public HintHost {
public:
    TParams& params() override { return settings; }
    void SwitchLater(int code) override { switches.push_back(code); }
    bool PictureEditorShowing() const override { return pictureEditor; }
    void PictureEditorSwitchLater(int code) override { editorSwitches.push_back(code); }
    void SelectLastItem() override { ++lastSelected; }
    bool DesignHasSelection() override { return selection; }
    void UndoDesign() override { ++undos; }
    void HighlightSuggestionRow(int row) override { rows.push_back(row); }
    void PlainSuggestionRows(int fromRow) override { plainRowsFrom.push_back(fromRow); }
    void HighlightHistoryButton(bool redo) override { historyButtons.push_back(redo ? "Redo" : "Undo"); }
    void PlainToolbarButtons() override { ++plainToolbars; }

    TParams settings;
    bool pictureEditor = false, selection = false;
    std::vector<int> switches, editorSwitches, rows, plainRowsFrom;
    std::vector<std::string> historyButtons;
    int lastSelected = 0, undos = 0, plainToolbars = 0;
};

// The character format of the first character of a phrase in a paragraph.
QTextCharFormat FormatOf(QTextEdit* box, const QString& phrase, QTextDocument::FindFlags flags = {}) {
    QTextCursor found = box->document()->find(phrase, 0, flags);
    EXPECT_FALSE(found.isNull()) << phrase.toStdString();
    QTextCursor first(box->document());
    first.setPosition(found.selectionStart() + 1);
    return first.charFormat();
}

bool IsBlueLink(const QTextCharFormat& format) {
    return format.fontUnderline() && format.foreground().color() == QColor(0, 0, 255);
}
bool IsBlackLink(const QTextCharFormat& format) {
    return format.fontUnderline() && format.foreground().color() == QColor(Qt::black);
}

class LinehelpTest : public ::testing::Test {
protected:
    void SetUp() override { host.settings.hints.fill(1); }
    TLinehelp& Show(int code) {
        page = std::make_unique<TLinehelp>(host);
        page->resize(TLinehelp::kFrameWidth, TLinehelp::kFrameHeight);
        page->ShowHintPage(code);
        page->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(page.get()));
        return *page;
    }
    void Point(int k) { QTest::mouseMove(page->paragraph(k)->viewport(), QPoint(5, 5)); }
    void Press(int k) { QTest::mousePress(page->paragraph(k)->viewport(), Qt::LeftButton, {}, QPoint(5, 5)); }
    int Flag(int position) const { return host.settings.hints[static_cast<size_t>(position - 1)]; }

    RecordingHintHost host;
    std::unique_ptr<TLinehelp> page;
};

TEST_F(LinehelpTest, APageShowsItsParagraphsWithLinksUnderlinedAndKeyWordsBold) {
    struct Case {
        int page, paragraph;
        const char* text;
        const char* link;    // underlined in black, with the hand pointer
        const char* keyWord; // bold
    };
    const Case cases[] = {
        {1024, 2, "Click on Draw next line to set the color and thickness of the next line, or...",
         "Draw next line", nullptr},
        {1035, 4,
         "Click on Move this text to adjust the position of this text. Or, click on the pointer button (the "
         "button "
         "with the hand picture) when done editing the text.",
         "Move this text", nullptr},
        {1038, 1, "You can restore any deleted object by clicking on the Undo button.", "Undo", nullptr},
        {1028, 1, "Horizontal grid makes vertical lines to guide you in horizontal direction.", nullptr,
         "Horizontal grid"},
        {1029, 4,
         "You can turn Snap on in only one direction, horizontal or vertical. Tools|Snap menu turns Snap on.",
         nullptr, nullptr},
        {1042, 3,
         "You can delete any gridline - place the cursor over its anchor, and press the 'Delete' key.",
         nullptr, "delete"},
        {1036, 4,
         "Any line of text, that has a pre-set angle, is rotated until you change the value in the Fine-tune "
         "menu.",
         nullptr, "rotated"},
        {1055, 3, "Click on Fine-tune to change the color or outline of this star.", "Fine-tune", nullptr},
        {1061, 1, "Hold down the Shift key to enter the final point.", nullptr, "Shift"},
        {1077, 2, "Click on Insert new picture to bring in more pictures or clips.", "Insert new picture",
         nullptr},
        {1076, 3, "Click here to move the last clip or adjust the size of that clip.", "here", nullptr},
    };
    for (const Case& c : cases) {
        TLinehelp& shown = Show(c.page);
        QTextEdit* box = shown.paragraph(c.paragraph);
        EXPECT_EQ(box->toPlainText(), c.text) << c.page;
        EXPECT_EQ(shown.checkLabel()->toPlainText(), "Don't show this help page again.");
        EXPECT_FALSE(shown.checkBox()->isChecked());
        if (c.link) {
            EXPECT_TRUE(IsBlackLink(FormatOf(box, c.link))) << c.page;
            EXPECT_EQ(box->viewport()->cursor().shape(), Qt::PointingHandCursor) << c.page;
        } else {
            EXPECT_EQ(box->viewport()->cursor().shape(), Qt::ArrowCursor) << c.page;
        }
        if (c.keyWord) {
            EXPECT_EQ(FormatOf(box, c.keyWord, QTextDocument::FindCaseSensitively).fontWeight(), QFont::Bold);
        }
    }
    // Only the first "move" of the line's moving page is bold.
    QTextEdit* first = Show(1025).paragraph(1);
    EXPECT_EQ(FormatOf(first, "move the line").fontWeight(), QFont::Bold);
    EXPECT_NE(FormatOf(first, "move the mouse").fontWeight(), QFont::Bold);
}

TEST_F(LinehelpTest, PointingLightsOneLinkAtATimeWithItsWhatNextRow) {
    TLinehelp& shown = Show(1043);
    Point(2);
    EXPECT_TRUE(IsBlueLink(FormatOf(shown.paragraph(2), "Start next triangle")));
    Point(3);
    EXPECT_TRUE(IsBlackLink(FormatOf(shown.paragraph(2), "Start next triangle")));
    EXPECT_TRUE(IsBlueLink(FormatOf(shown.paragraph(3), "Fine-tune")));
    Point(3); // still over the same link: nothing more
    EXPECT_EQ(host.rows, (std::vector<int>{2, 3}));
    QTest::mouseMove(page.get(), QPoint(2, 30)); // the frame's background
    EXPECT_TRUE(IsBlackLink(FormatOf(shown.paragraph(3), "Fine-tune")));
    EXPECT_FALSE(shown.linkLit(3));
    EXPECT_FALSE(host.plainRowsFrom.empty());

    // After a deletion the links stand for the toolbar's Undo and Redo buttons.
    TLinehelp& deleted = Show(1038);
    Point(1);
    Point(3);
    EXPECT_EQ(host.historyButtons, (std::vector<std::string>{"Undo", "Redo"}));
    EXPECT_TRUE(IsBlueLink(FormatOf(deleted.paragraph(3), "Redo")));
    EXPECT_EQ(host.plainToolbars, 1); // Undo's reset
    Point(2);                         // no link: everything back to plain
    EXPECT_EQ(host.plainToolbars, 2);
    EXPECT_TRUE(IsBlackLink(FormatOf(deleted.paragraph(3), "Redo")));
}

TEST_F(LinehelpTest, EachLinkHandsItsStepToTheDeferredSwitch) {
    struct Case {
        int page, paragraph;
        bool movingPageOn;
        std::vector<int> switches;
        int lastSelected, undos;
        bool hidden;
    };
    const Case cases[] = {
        {1043, 1, true, {}, 0, 0, false},    // no link
        {1043, 2, true, {100}, 0, 0, true},  // start next triangle
        {1043, 3, true, {200}, 1, 0, true},  // fine-tune the last one
        {1043, 4, true, {1044}, 1, 0, true}, // its moving page
        {1043, 4, false, {200}, 1, 0, true}, // ... switched off: fine-tune
        {1024, 4, true, {1025}, 1, 0, true},
        {1035, 3, true, {301}, 0, 0, true}, // the text being typed: nothing selected
        {1035, 4, true, {1036}, 0, 0, true},
        {1053, 3, true, {299}, 1, 0, true},
        {1077, 2, true, {400}, 0, 0, true},
        {1077, 4, false, {401}, 1, 0, true},
        {1038, 1, true, {20}, 0, 1, true}, // Undo, then the insert panel
        {1038, 3, true, {}, 0, 0, false},  // Redo only points at the button
        {1044, 2, true, {}, 0, 0, false},  // moving pages have no links
        {1076, 3, true, {}, 0, 0, false},  // outside the picture editor: nothing
    };
    for (const Case& c : cases) {
        host = RecordingHintHost{};
        host.settings.hints.fill(1);
        if (const HintKind* kind = HintKindOfPage(c.page); kind && !c.movingPageOn) {
            SetHintShown(host.settings, kind->movingPage, false);
        }
        TLinehelp& shown = Show(c.page);
        Press(c.paragraph);
        EXPECT_EQ(host.switches, c.switches) << c.page << " paragraph " << c.paragraph;
        EXPECT_EQ(host.lastSelected, c.lastSelected) << c.page << " paragraph " << c.paragraph;
        EXPECT_EQ(host.undos, c.undos) << c.page;
        EXPECT_EQ(shown.paragraph(c.paragraph)->isHidden(), c.hidden)
            << c.page << " paragraph " << c.paragraph;
    }
}

TEST_F(LinehelpTest, TickingTheBoxTurnsTheFlagOffAndMovesOnUntickingOnlyTurnsItOn) {
    struct Case {
        int page;
        bool selection;
        int position;
        std::vector<int> switches;
    };
    const Case cases[] = {
        {1024, false, 1, {98}},   {1043, false, 9, {100}},   {1035, false, 4, {303}},
        {1044, true, 10, {200}},  {1044, false, 10, {20}},   {1036, true, 5, {301}},
        {1025, false, 2, {20}},   {1028, false, 3, {43}},    {1029, false, 8, {43}},
        {1042, false, 7, {43}},   {1038, true, 6, {20}},     {1061, false, 27, {1061}},
        {1074, false, 27, {297}}, {1064, false, 30, {1064}}, {1070, false, 36, {111}},
        {1075, false, 36, {298}}, {1073, false, 39, {112}},  {1077, false, 41, {}},
        {1078, true, 42, {}},     {1066, true, 32, {208}},
    };
    for (const Case& c : cases) {
        host = RecordingHintHost{};
        host.settings.hints.fill(1);
        host.selection = c.selection;
        TLinehelp& shown = Show(c.page);
        QTest::mouseClick(shown.checkBox(), Qt::LeftButton);
        EXPECT_EQ(Flag(c.position), 0) << c.page;
        EXPECT_EQ(std::count(host.settings.hints.begin(), host.settings.hints.end(), 0), 1) << c.page;
        EXPECT_EQ(host.switches, c.switches) << c.page;
        QTest::mouseClick(shown.checkBox(), Qt::LeftButton);
        EXPECT_EQ(Flag(c.position), 1) << c.page;
        EXPECT_EQ(host.switches, c.switches) << c.page;
    }
}

TEST_F(LinehelpTest, TheLabelTicksTheBoxButNeverUnticksIt) {
    TLinehelp& shown = Show(1028);
    QTest::mousePress(shown.checkLabel()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(shown.checkBox()->isChecked());
    QTest::mousePress(shown.checkLabel()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(shown.checkBox()->isChecked());
    EXPECT_EQ(Flag(3), 0);
    EXPECT_EQ(host.switches, std::vector<int>{43});
}

TEST_F(LinehelpTest, TheClipOutlinedPageStepsThroughThePictureEditor) {
    host.pictureEditor = true;
    TLinehelp& shown = Show(1076);
    EXPECT_TRUE(shown.paragraph(4)->isHidden());
    EXPECT_TRUE(shown.bullet(4)->isHidden());
    EXPECT_EQ(shown.paragraph(3)->geometry().top(), 191);
    EXPECT_EQ(shown.checkLabel()->geometry().top(), 287);
    EXPECT_EQ(shown.checkBox()->geometry().top(), 285);
    Press(3);
    EXPECT_FALSE(shown.paragraph(3)->isHidden()); // the link stays for the next clip
    QTest::mouseClick(shown.checkBox(), Qt::LeftButton);
    EXPECT_EQ(host.editorSwitches, (std::vector<int>{401, 400}));
    EXPECT_TRUE(host.switches.empty());
    EXPECT_EQ(Flag(40), 0);
}

TEST_F(LinehelpTest, EveryPageShowsEachParagraphWholeWithoutScrolling) {
    int pages = 0;
    for (int code = kFirstHintPage; code <= kLastHintPage; ++code) {
        if (!IsHintPage(code)) {
            continue;
        }
        ++pages;
        TLinehelp& shown = Show(code);
        ASSERT_EQ(shown.width(), TLinehelp::kFrameWidth);
        int above = TLinehelp::kFrameHeight; // the top of what stands below the paragraph
        for (int k = kHintParagraphs; k >= 1; --k) {
            QTextEdit* box = shown.paragraph(k);
            if (box->isHidden()) {
                continue;
            }
            // The box's own layout of its text, at the width the frame gives it.
            const QSizeF text = box->document()->size();
            EXPECT_LE(text.height(), box->viewport()->height()) << code << " paragraph " << k;
            EXPECT_EQ(box->verticalScrollBar()->maximum(), 0) << code << " paragraph " << k;
            EXPECT_EQ(box->viewport()->width(), TLinehelp::kFrameWidth - box->x() - 1) << code;
            const int below = k == kHintParagraphs || shown.paragraph(k + 1)->isHidden()
                                  ? shown.checkLabel()->y()
                                  : shown.paragraph(k + 1)->y();
            EXPECT_LE(box->geometry().bottom(), below - 1) << code << " paragraph " << k << " overlaps";
            EXPECT_EQ(shown.bullet(k)->y(), box->y() - 3) << code << " paragraph " << k;
            above = box->y();
        }
        EXPECT_GE(above, 40) << code; // under the title
        QTextEdit* label = shown.checkLabel();
        EXPECT_LE(label->document()->size().height(), label->viewport()->height()) << code;
        EXPECT_LE(label->geometry().bottom(), shown.height() - 1) << code;
        EXPECT_EQ(shown.checkBox()->y(), label->y() - 2) << code;
    }
    EXPECT_EQ(pages, 43);
}

} // namespace
} // namespace vlr
