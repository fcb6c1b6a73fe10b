// Typing into a text on the document window under the offscreen platform: characters, line
// breaks, deletions and caret keys with the text's lines, caret and baseline after each; a click
// placing the caret; the baseline fitted per alignment; one undo step per typing session; the
// characters of input methods; and the longest text a file can take back.
#include "canvas/textedit.h"

#include "canvas/sandbox.h"
#include "model/designfile.h"
#include "model/history.h"
#include "render/textdraw.h"
#include "sandboxfixture.h"
#include "settings/params.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace vlr {
namespace {

constexpr char16_t kSep = kLineSeparator;

std::vector<ItemRecord*> LiveTexts(const ItemList& list) {
    std::vector<ItemRecord*> texts;
    for (ItemRecord* record : list) {
        if (IsLiveItem(record) && record->kind == ItemKind::Text) {
            texts.push_back(record);
        }
    }
    return texts;
}

class TextEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        params.hints.fill(0);
        params.state.tsize = 20;
        params.state.tfont = "Liberation Sans";
        params.state.tdir = -1;
        params.state.tangle = -1;
        test::OpenPixelPage(window, params, host, prompt, folder.filePath("page.vlrn"), false);
    }
    QPoint View(Point design) {
        const Point canvas = window->CanvasFromDesign(design);
        return {canvas.x + window->pageOffset().x + window->tileOffset().x,
                canvas.y + window->pageOffset().y + window->tileOffset().y};
    }
    void Click(Point design) {
        QTest::mouseMove(window->viewport(), View(design));
        QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, View(design));
    }
    // A new text by the text tool from two clicks at (100, 200) and (110, 200), open for typing.
    ItemRecord* NewText() {
        window->SelectPanel(300);
        Click({100, 200});
        Click({110, 200});
        EXPECT_TRUE(window->textEditing().open);
        const std::vector<ItemRecord*> texts = LiveTexts(window->items());
        return texts.empty() ? nullptr : texts.back();
    }
    ItemRecord* Edited() { return FindBySerial(window->items(), window->textEditing().serial); }
    // Widths and line height measured by the text drawing on a raster of the test's own.
    int32_t Width(std::u16string_view line, const ItemRecord& text) {
        return TextLineWidth(measure, line, text, 1.0);
    }
    int32_t LineHeight(const ItemRecord& text) { return TextLineHeight(measure, text); }

    QTemporaryDir folder;
    TParams params;
    test::RecordingHost host;
    test::AnsweringPrompt prompt;
    std::unique_ptr<TSandbox> window;
    RasterCanvas measure{16, 16};
};

// A text written with '|' for the line separator.
std::u16string Lines(std::u16string text) {
    std::replace(text.begin(), text.end(), u'|', kSep);
    return text;
}

// Each step's keys, then the text, the caret and the baseline: the baseline starts at (100, 200),
// lies `down` line heights lower and is as long as the widest line the text has had (never
// shorter than the 10 pixels it was drawn with: deleting never shortens it).
struct Step {
    const char* what;
    std::vector<Qt::Key> keys;
    QString typed;
    std::u16string text;
    int caretLine, caretColumn;
    int down;
};

TEST_F(TextEditTest, TypingBreakingAndDeletingKeepTheLinesCaretAndBaseline) {
    using enum Qt::Key;
    const Step steps[] = {
        {"two letters", {}, "Ab", u"Ab", 1, 3, 0},
        {"Return moves the baseline down", {Key_Return}, "", u"Ab|", 2, 1, 1},
        {"the second line", {}, "cd", u"Ab|cd", 2, 3, 1},
        {"Left", {Key_Left}, "", u"Ab|cd", 2, 2, 1},
        {"Backspace", {Key_Backspace}, "", u"Ab|d", 2, 1, 1},
        {"Backspace joins the lines", {Key_Backspace}, "", u"Abd", 1, 3, 0},
        {"Home, Delete", {Key_Home, Key_Delete}, "", u"bd", 1, 1, 0},
        {"a longer line", {Key_End, Key_Return}, "xyz12", u"bd|xyz12", 2, 6, 1},
        {"Up to a shorter line ends there", {Key_Up}, "", u"bd|xyz12", 1, 3, 1},
        {"Page Down", {Key_PageDown}, "", u"bd|xyz12", 2, 6, 1},
        {"Delete at the end does nothing", {Key_Delete}, "", u"bd|xyz12", 2, 6, 1},
        {"Page Up, Right x3", {Key_PageUp, Key_Right, Key_Right, Key_Right}, "", u"bd|xyz12", 1, 3, 1},
        {"Down keeps the column", {Key_Down}, "", u"bd|xyz12", 2, 3, 1},
        {"Delete of the separator joins upwards", {Key_Up, Key_Delete}, "", u"bdxyz12", 1, 3, 0},
        {"Backspace at the start: nothing", {Key_PageUp, Key_Backspace}, "", u"bdxyz12", 1, 1, 0},
    };
    ItemRecord* text = NewText();
    ASSERT_NE(text, nullptr);
    const int32_t h = LineHeight(*text);
    ASSERT_GT(h, 0);
    int32_t length = 10;
    for (const Step& step : steps) {
        for (Qt::Key key : step.keys) {
            QTest::keyClick(window.get(), key);
        }
        QTest::keyClicks(window.get(), step.typed);
        ItemRecord* edited = Edited();
        ASSERT_NE(edited, nullptr) << step.what;
        EXPECT_EQ(GetText(edited), Lines(step.text)) << step.what;
        EXPECT_EQ(window->textEditing().caretLine, step.caretLine) << step.what;
        EXPECT_EQ(window->textEditing().caretColumn, step.caretColumn) << step.what;
        for (std::u16string_view line : TextLines(*edited)) {
            length = std::max(length, Width(line, *edited));
        }
        const int32_t y = 200 + step.down * h;
        EXPECT_EQ((std::array<int32_t, 4>{edited->x1, edited->y1, edited->x2, edited->y2}),
                  (std::array<int32_t, 4>{100, y, 100 + length, y}))
            << step.what;
    }
    EXPECT_EQ(window->toolMode(), 31);
    EXPECT_EQ(host.textEditings, 1);
}

TEST_F(TextEditTest, TheBaselineGrowsFromTheEndItsAlignmentKeeps) {
    struct Case {
        const char* what;
        int32_t alignment, escapement;
        Point start, end;
        bool growOnly;
        std::u16string text;
    };
    const Case cases[] = {
        {"left keeps the start", 1, 0, {100, 100}, {110, 100}, true, u"Hello"},
        {"right keeps the end", 3, 0, {100, 100}, {110, 100}, true, u"Hello"},
        {"centre keeps the midpoint", 2, 0, {100, 100}, {110, 100}, true, u"Hello"},
        {"upwards", 1, 900, {100, 100}, {100, 90}, true, u"Hello"},
        {"the widest line counts",
         1,
         0,
         {100, 100},
         {110, 100},
         true,
         std::u16string(u"Hi") + kSep + u"Hello"},
        {"a longer baseline stays while growing", 1, 0, {100, 100}, {400, 100}, true, u"Hello"},
        {"and shrinks otherwise", 1, 0, {100, 100}, {400, 100}, false, u"Hello"},
    };
    ItemList list(params.screen);
    for (const Case& c : cases) {
        ItemRecord* text = CreateRecord(list, ItemKind::Text);
        SetFontName(*text, "Liberation Sans");
        text->fontSize = 20;
        text->fontWeight = 400;
        text->alignment = c.alignment;
        text->escapement = c.escapement;
        std::tie(text->x1, text->y1, text->x2, text->y2) = std::tuple(c.start.x, c.start.y, c.end.x, c.end.y);
        SetText(text, c.text);
        const int32_t w = Width(u"Hello", *text);
        FitBaseline(text, measure, 1.0, c.growOnly, params.screen);
        std::array<int32_t, 4> expected;
        if (c.alignment == 3) {
            expected = {110 - w, 100, 110, 100};
        } else if (c.alignment == 2) {
            expected = {static_cast<int32_t>(std::nearbyint(105 - w / 2.0)), 100,
                        static_cast<int32_t>(std::nearbyint(105 + w / 2.0)), 100};
        } else if (c.escapement == 900) {
            expected = {100, 100, 100, 100 - w};
        } else if (c.growOnly && c.end.x == 400) {
            expected = {100, 100, 400, 100};
        } else {
            expected = {100, 100, 100 + w, 100};
        }
        EXPECT_EQ((std::array<int32_t, 4>{text->x1, text->y1, text->x2, text->y2}), expected) << c.what;
    }
}

TEST_F(TextEditTest, AClickInTheTextPlacesTheCaretAfterTheNearestCharacter) {
    ItemRecord* text = NewText();
    ASSERT_NE(text, nullptr);
    QTest::keyClicks(window.get(), "Hello");
    QTest::keyClick(window.get(), Qt::Key_Return);
    QTest::keyClicks(window.get(), "World");
    const int32_t h = LineHeight(*Edited());
    // Line 1 lies on y = 200, line 2 on the baseline one line lower.
    struct Case {
        const char* what;
        Point at;
        int line, column;
    };
    const Case cases[] = {
        {"after the third character of line 1", {100 + Width(u"Hel", *Edited()) + 1, 195}, 1, 4},
        {"left of line 2 goes after its first character", {101, 200 + h - 4}, 2, 2},
        {"right of line 1's end", {100 + Width(u"Hello", *Edited()) - 1, 195}, 1, 6},
    };
    for (const Case& c : cases) {
        Click(c.at);
        EXPECT_TRUE(window->textEditing().open) << c.what;
        EXPECT_EQ(window->textEditing().caretLine, c.line) << c.what;
        EXPECT_EQ(window->textEditing().caretColumn, c.column) << c.what;
    }
    // Typing goes where the caret was put.
    QTest::keyClicks(window.get(), "!");
    EXPECT_EQ(GetText(Edited()), std::u16string(u"Hello!") + kSep + u"World");
    // A click outside the box ends the typing; the text tool starts the next text.
    Click({400, 350});
    EXPECT_FALSE(window->textEditing().open);
    EXPECT_EQ(window->input().clickCount, 1);
    EXPECT_EQ(host.textEditings, 0);
}

TEST_F(TextEditTest, OneUndoTakesBackEverythingTypedSinceTheTextWasOpened) {
    ItemRecord* text = NewText();
    ASSERT_NE(text, nullptr);
    QTest::keyClicks(window.get(), "Hi");
    const std::array<int32_t, 4> typed{Edited()->x1, Edited()->y1, Edited()->x2, Edited()->y2};
    window->SelectPanel(20);
    EXPECT_FALSE(window->textEditing().open);
    // Opened again by a double click on the selected text, typed into over two lines.
    Click({104, 195});
    ASSERT_EQ(window->toolMode(), 0);
    QTest::mouseDClick(window->viewport(), Qt::LeftButton, {}, View({104, 195}));
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->textEditing().open; }, 2000));
    EXPECT_EQ(window->toolMode(), 37);
    EXPECT_EQ(window->textEditing().caretColumn, 3);
    QTest::keyClicks(window.get(), "Yo");
    QTest::keyClick(window.get(), Qt::Key_Return);
    QTest::keyClicks(window.get(), "Z");
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(window->toolMode(), 0);
    ASSERT_EQ(LiveTexts(window->items()).size(), 1u);
    EXPECT_EQ(GetText(LiveTexts(window->items())[0]), std::u16string(u"HiYo") + kSep + u"Z");
    Undo(window->items());
    ASSERT_EQ(LiveTexts(window->items()).size(), 1u);
    ItemRecord* back = LiveTexts(window->items())[0];
    EXPECT_EQ(GetText(back), u"Hi");
    EXPECT_EQ((std::array<int32_t, 4>{back->x1, back->y1, back->x2, back->y2}), typed);
    // Opening and closing without typing leaves no step; the new text's typing was its creation.
    SelectOnly(window->items(), back);
    QTest::mouseDClick(window->viewport(), Qt::LeftButton, {}, View({104, 195}));
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->textEditing().open; }, 2000));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    Undo(window->items());
    EXPECT_TRUE(LiveTexts(window->items()).empty());
}

TEST_F(TextEditTest, AnotherPanelEndsTheTypingAndTheTextsFineTunePanelKeepsItSelected) {
    struct Case {
        int panel;
        int modeAfter;
        bool selectedAfter;
    };
    const Case cases[] = {
        {301, 31, true}, {1036, 31, true}, {300, 31, false}, {20, 0, false}, {102, 102, false}};
    for (const Case& c : cases) {
        window->SelectPanel(20);
        ItemRecord* text = NewText();
        ASSERT_NE(text, nullptr);
        QTest::keyClicks(window.get(), "Hi");
        window->SelectPanel(c.panel);
        EXPECT_FALSE(window->textEditing().open) << c.panel;
        EXPECT_EQ(host.textEditings, 0) << c.panel;
        EXPECT_EQ(window->toolMode(), c.modeAfter) << c.panel;
        EXPECT_EQ(IsSelected(LiveTexts(window->items()).back()), c.selectedAfter) << c.panel;
        // Keys no longer reach the text.
        QTest::keyClicks(window.get(), "x");
        EXPECT_EQ(GetText(LiveTexts(window->items()).back()), u"Hi") << c.panel;
    }
}

TEST_F(TextEditTest, AStyleChosenWhileTypingRefitsTheBaselineWithinTheSession) {
    ItemRecord* text = NewText();
    ASSERT_NE(text, nullptr);
    QTest::keyClicks(window.get(), "Hello");
    EXPECT_TRUE(window->ChangeEditedText([](ItemRecord& typed) { typed.fontSize = 40; }));
    ItemRecord* edited = Edited();
    EXPECT_EQ(edited, text); // the new text's creation stays its only version
    EXPECT_EQ((std::array<int32_t, 4>{edited->x1, edited->y1, edited->x2, edited->y2}),
              (std::array<int32_t, 4>{100, 200, 100 + Width(u"Hello", *edited), 200}));
    QTest::keyClicks(window.get(), "!");
    EXPECT_EQ(GetText(Edited()), u"Hello!");
    window->SelectPanel(20);
    EXPECT_FALSE(window->ChangeEditedText([](ItemRecord& typed) { typed.fontSize = 10; }));
    EXPECT_EQ(text->fontSize, 40);
}

TEST_F(TextEditTest, CharactersOfInputMethodsAndDeadKeysAreStoredAsTyped) {
    ASSERT_NE(NewText(), nullptr);
    // A key the window system gives as a character outside ASCII.
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QString::fromUtf8("é"));
    QApplication::sendEvent(window.get(), &key);
    for (const char* committed : {"ü", "\xF0\x9F\x98\x80", "x"}) {
        QInputMethodEvent event;
        event.setCommitString(QString::fromUtf8(committed));
        QApplication::sendEvent(window.get(), &event);
    }
    EXPECT_EQ(GetText(Edited()), u"\u00E9\u00FC\U0001F600x");
    // The character outside the basic plane is stepped over and deleted whole.
    QTest::keyClick(window.get(), Qt::Key_Left);
    QTest::keyClick(window.get(), Qt::Key_Left);
    EXPECT_EQ(window->textEditing().caretColumn, 3);
    QTest::keyClick(window.get(), Qt::Key_Delete);
    EXPECT_EQ(GetText(Edited()), u"\u00E9\u00FCx");
    // Saved and read back as typed.
    window->SelectPanel(20);
    const std::string path = folder.filePath("typed.vlrn").toStdString();
    ASSERT_TRUE(WriteDesign(path, window->items()));
    ItemList read(params.screen);
    ASSERT_TRUE(ReadDesign(path, read, prompt).ok());
    ASSERT_EQ(LiveTexts(read).size(), 1u);
    EXPECT_EQ(GetText(LiveTexts(read)[0]), u"\u00E9\u00FCx");
}

TEST_F(TextEditTest, TypingStopsAtTheLongestTextAFileCanTakeBack) {
    ASSERT_NE(NewText(), nullptr);
    // Lines without characters keep the drawing quick.
    SetText(Edited(), std::u16string(kMaxTypedText - 1, kSep));
    QTest::keyClicks(window.get(), "ab");
    EXPECT_EQ(TextLength(Edited()), 511999);
    EXPECT_EQ(GetText(Edited()).substr(0, 2), std::u16string(u"a") + kSep);
    ASSERT_EQ(host.statusMessages.size(), 1u);
    window->SelectPanel(20);
    const std::string path = folder.filePath("long.vlrn").toStdString();
    ASSERT_TRUE(WriteDesign(path, window->items()));
    ItemList read(params.screen);
    ASSERT_TRUE(ReadDesign(path, read, prompt).ok());
    ASSERT_EQ(LiveTexts(read).size(), 1u);
    EXPECT_EQ(TextLength(LiveTexts(read)[0]), 511999);
}

} // namespace
} // namespace vlr
