// Typing into a text item on the canvas: the caret and its keys, characters, line breaks and
// deletions, a click placing the caret, the baseline that grows with the longest line, and the
// frame and partial repaint that keep each keystroke cheap. Plain functions over the design's
// list, the window's input state and a small editing state; the document window calls them from
// its key, mouse and timer handlers and lends its canvas through TextEditWindow.
//
// Lines are separated by kLineSeparator. The caret stands before character caretColumn of line
// caretLine (both 1-based; the column after a line's last character is its length + 1). Columns
// count UTF-16 code units, as the file keeps the text; a character outside the basic plane is
// stepped over and deleted as a whole.
//
// Everything typed in one session belongs to one undo step: an existing text is opened as a new
// version of it, a text that the text tool has just made is typed into as it stands (its
// creation is the step). A session that changed nothing leaves no step behind.
#pragma once

#include "canvas/saveunder.h"
#include "canvas/selecttool.h"
#include "model/itemkind.h"

#include <QString>
#include <Qt>

#include <functional>
#include <string_view>

namespace vlr {

// The longest text a design file can take back: its tail of two bytes a code unit stays below
// the tail limit.
inline constexpr int32_t kMaxTypedText = kTextTailLimit / 2 - 1;

struct TextEditing {
    bool open = false;
    int32_t serial = 0;       // the version of the text being typed into
    bool ownStep = false;     // the session opened its own undo step (an existing text)
    int32_t step = 0;         // that step
    bool wasModified = false; // the design's modified flag before it
    bool changed = false;     // something was typed or restyled in this session
    int32_t caretLine = 1;
    int32_t caretColumn = 1;
    bool caretPhase = false; // the caret is drawn
    SaveUnder caretUnder;    // the pixels under the drawn caret
    Rect backgroundArea;     // canvas pixels: the area whose background (without the text) is held
                             // in the window's selectionUnder
};

// What text editing needs of the document window besides the selection's canvas.
class TextEditWindow : public SelectWindow {
public:
    // Timer4 blinks the caret while it runs.
    virtual void SetCaretTimer(bool running) = 0;
    // Draws an item as the canvas shows it (with its shadow and surface).
    virtual void DrawFully(ItemRecord* item) = 0;
    // The main window and its panels hear of it.
    virtual void TextEditingStarted(ItemRecord* text) = 0;
    virtual void TextEditingEnded() = 0;
    // A short message in the status bar about what just happened.
    virtual void ShowStatusMessage(const QString& message) = 0;
};

struct TextEditTarget {
    CanvasInput& input;
    ItemList& list;
    TextEditWindow& window;
    TextEditing& editing;
};

// The text being typed into; none when no session is open or its record is gone.
ItemRecord* EditedText(const TextEditTarget& t);

// Opens a text for typing with the caret at the end of its last line, its frame shown and the
// caret blinking. justCreated: the text tool has just made it (mode 31 stays); otherwise the
// selected text is opened as a new version and the mode becomes 37.
void OpenTextForEditing(TextEditTarget t, ItemRecord* text, bool justCreated);
// After a click or a typed character of the text tool: the text its second click has just made
// opens for typing, unless a session is open already.
void OpenNewText(TextEditTarget t);
// The end of a double click at a design point: the only selected item, when it is a text, opens
// for typing. Returns what the double click found, so that a clip's picture editor can open.
DoubleClickTarget OpenDoubleClicked(TextEditTarget t, Point design);
// Typed characters at the caret: Backspace (8) deletes before it, 10, 13, U+2028 and U+2029
// break the line, other control characters are ignored. False when nothing was taken.
bool TypeCharacter(TextEditTarget t, std::u16string_view typed);
// The Delete key: the character at the caret goes; at the end of the text nothing does.
bool DeleteAtCaret(TextEditTarget t);
// Page Up, Page Down, Home, End and the arrows move the caret; false for other keys.
bool CaretKey(TextEditTarget t, int key);
// The keys of a text being typed: Esc ends the typing, Backspace and Return act as typed, the
// caret keys move the caret. Keys held with Ctrl or Alt pass on to the menus.
bool TextEditingKeyDown(TextEditTarget t, int key, Qt::KeyboardModifiers modifiers);
// A press or release at a canvas point: inside the text's box the caret goes to the nearest
// position after a character and the click is consumed (true); outside it nothing happens.
bool PlaceCaretByClick(TextEditTarget t, Point canvas);
// Ends the session: the caret goes, the mode 37 returns to select mode and the canvas is
// repainted with markers. A session that changed nothing is taken back. In the text tool's mode
// the new text ends and is deselected, unless it stays selected for fine-tuning (keepSelected).
void CloseTextEditing(TextEditTarget t, bool keepSelected = false);
// Timer4: the caret is drawn or erased in turn.
void BlinkCaret(TextEditTarget t);
// The canvas was repainted as a whole: the held background and the caret's pixels are stale.
void CanvasRepainted(TextEditing& editing);
// Shows the edited text again over a fresh background: text, frame and caret (after a repaint).
void ShowEditedText(TextEditTarget t);
// A style change on the text being typed (font, size, colour, angle...): applied in place as part
// of the session, the baseline fitted to the new lines and the text redrawn. False when no text
// is open.
bool ChangeEditedText(TextEditTarget t, const std::function<void(ItemRecord&)>& change);

// The baseline made as long as the widest line measured at the zoom (only ever longer with
// growOnly): left aligned keeps its start, right aligned its end, centred its midpoint.
void FitBaseline(ItemRecord* text, RasterCanvas& raster, double zoom, bool growOnly,
                 const ScreenResolution& screen);

} // namespace vlr
