// What a document window asks of the main window around it.
#pragma once

#include "model/geometry.h"
#include "model/itemrecord.h"

#include <QString>

#include <optional>

namespace vlr {

class DesignView;

class SandboxHost {
public:
    virtual ~SandboxHost();

    // The zoom of the active design, kept in the settings and shown by the zoom menu and slider.
    virtual void SetGlobalZoom(double zoom) = 0;
    virtual void RefreshUndoCommands(const ItemList& design) = 0;
    // The controls that depend on the active design (cut, copy, paste, join, split).
    virtual void RefreshDesignControls() = 0;
    virtual void SetGridSnapButtons(bool gridOn, bool snapOn) = 0;
    // The window's caption changed; its Window menu entry follows.
    virtual void WindowCaptionChanged(DesignView* window) = 0;
    // The window became the active one.
    virtual void WindowActivated(DesignView* window) = 0;
    virtual void ShowPanel(int panelCode) = 0;
    // Shows a panel (or runs a command code) once the running event handler has returned.
    virtual void DeferCommand(int code) = 0;
    // The interaction mode a new window starts with (1 line, 31 text, 100 ... 199 shapes).
    virtual int RememberedToolMode() const = 0;
    virtual void RememberToolMode(int toolMode) = 0;
    // One more untitled design: its number.
    virtual int NextUntitledNumber() = 0;
    // A picture file given to open: the picture insertion page takes it.
    virtual void InsertPictureFile(const QString& path) = 0;
    // A double click on a clip of the window's design: the picture editor opens on it.
    virtual void EditClipPicture(DesignView* window, ItemRecord* clip) = 0;
    // Whether the shape panel is the side panel shown: the keys that continue a spline or curve
    // and add, delete or insert its points work only then.
    virtual bool ShapePanelShowing() const { return false; }
    // The step of the insertion under way, for the side panel shown.
    virtual void PanelStep(int /*step*/) {}
    // Whether the line panel is the side panel shown: a line drawn then brings its hint page.
    virtual bool LinePanelShowing() const { return true; }
    // The pointer moved over the design (design pixels; none: it left the canvas); dragging:
    // the button is held, so the selection's size is worth showing, or the rubber band's
    // (design pixels) while an area is being selected.
    virtual void PointerMoved(const ItemList&, std::optional<Point>, bool /*dragging*/,
                              std::optional<Rect> /*band*/) {}
    // Typing into a text on the window's canvas began (the text being typed) and ended: the text
    // panel and the hint pages follow it.
    virtual void TextEditingStarted(DesignView*, ItemRecord* /*text*/) {}
    virtual void TextEditingEnded(DesignView*) {}
    // A short message in the status bar about what just happened.
    virtual void ShowStatusMessage(const QString&) {}
};

} // namespace vlr
