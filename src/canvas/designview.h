// What the main window asks of a document window: the design it shows, its keyboard handlers,
// the side panel's mode and the zoom. The document window implements it; tests may use a
// light stand-in.
#pragma once

#include "model/itemrecord.h"

#include <QString>

#include <functional>

class QKeyEvent;
class QWidget;

namespace vlr {

class CommandWindow;

// The window's display switches: what its painting may leave out to be quick. Printing and
// exporting always draw everything.
struct DisplaySwitches {
    bool pictures = true;
    bool shadows = true;
    bool surfaces = true;
    friend bool operator==(const DisplaySwitches&, const DisplaySwitches&) = default;
};

class DesignView {
public:
    virtual ~DesignView();

    // The widget that sits in the main window's document area.
    virtual QWidget* widget() = 0;
    // The number of the document window (the header's docNumber).
    virtual int32_t docNumber() const = 0;
    virtual QString caption() const = 0;
    virtual ItemList& items() = 0;

    // Keys reach the design before anything else; true when handled.
    virtual bool KeyDown(QKeyEvent& event) = 0;
    virtual bool KeyPress(QKeyEvent& event) = 0;

    // The side panel shown: the design switches its insertion or editing mode.
    virtual void SelectPanel(int panelCode) = 0;
    // The insertion state after a shape panel changed the styles of the next item.
    virtual void RefreshInsertionState() = 0;
    virtual void SetZoom(double zoom) = 0;
    // A light direction differing from the design's: take it and repaint.
    virtual void ApplyLightDirection(int direction) = 0;
    // The design offers an area to copy to the clipboard as a picture.
    virtual bool HasCopyArea() const = 0;
    // The design's records changed (an edit, undo, redo, paste): the window repaints.
    virtual void DesignEdited() = 0;
    // The selected items (just pasted) follow the pointer with their centre until the next click
    // places them; Esc deletes them.
    virtual void StartPlacement() = 0;
    // What the document commands need of the window: its canvas, markers, mode and panels.
    virtual CommandWindow& commands() = 0;
    // A dialog page took the keyboard: keys are ignored until the window is activated again.
    virtual void IgnoreKeysUntilActivated() = 0;
    virtual bool AcceptsKeys() const = 0;

    // Opens a design file, a picture to insert into a new design, or a new empty design (empty
    // path) under a document number. A file that cannot be read leaves an untitled design.
    // False when the user declined to open a file that is not a valid design.
    virtual bool OpenDesign(int32_t docNumber, const QString& path) = 0;
    // The design file the window shows; empty for a new design.
    virtual QString fileName() const = 0;
    virtual void SetFileName(const QString& path) = 0;
    // The number an untitled window's caption shows.
    virtual int untitledNumber() const = 0;
    // The caption: the file name without folder and extension, or "Untitled" and the number.
    virtual void SetCaption() = 0;

    // The design's grid: type 0 none, 1 horizontal (the gridlines at x positions), 2 vertical,
    // 3 both, for the shown gridlines, their anchors and snapping.
    virtual void SetGridShown(int type) = 0;
    virtual void SetAnchorsShown(int type) = 0;
    virtual void SetSnap(int type) = 0;
    // Respaces the gridlines one density apart: axes 2 horizontal grid, 4 vertical, 6 both.
    virtual void EqualizeGrid(int axes) = 0;
    // The header's grid settings were changed from outside: rulers, anchors and gridlines again.
    virtual void GridOptionsChanged() = 0;
    virtual DisplaySwitches displaySwitches() const = 0;
    // The design point (design pixels) at the top-left of the part of the page the window shows,
    // where inserted pictures are placed.
    virtual Point VisiblePageOrigin() const { return {}; }
    // The spline or curve being continued (hidden while it is); none otherwise.
    virtual const ItemRecord* ContinuedItem() const { return nullptr; }
    virtual void SetDisplaySwitches(const DisplaySwitches& switches) = 0;
    // A style change (font, size, colour, angle ...) on the text being typed on the canvas, as part
    // of its typing; false when no text is being typed.
    virtual bool ChangeEditedText(const std::function<void(ItemRecord&)>&) { return false; }
};

} // namespace vlr
