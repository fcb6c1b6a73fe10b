// The document commands that the menus, the toolbar and the side panels run on the active design:
// undo and redo, deleting, stacking, copy and paste, copying an area of the canvas as a picture,
// joining and splitting groups, mirroring and turning the selection, the side panels' attribute
// changes, and tagging a selection to recall it later. Plain functions over the design's list
// and its selection; what they need of the window showing the design (markers, repaints, the
// pointer's mode, the main window's panels) comes through CommandWindow.
//
// Every command that changes items is one undo step: the items are copied, the copies changed
// and the originals hidden, so one Undo brings the design back as it was.
#pragma once

#include "canvas/selection.h"
#include "model/geometry.h"
#include "model/itemlist.h"
#include "settings/params.h"

#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <string_view>

namespace vlr {

// What the commands ask of the document window.
class CommandWindow {
public:
    virtual ~CommandWindow();

    // ---- the canvas ----
    virtual EditCanvas& editCanvas() = 0;
    virtual EditMetrics editMetrics() const = 0;
    // Opens the selection for editing as one new undo step (the selection is then the new
    // versions); returns the step.
    virtual int32_t BeginEdit(bool drawCopies) = 0;
    // Repaints the whole canvas; with markers, those of the selection follow.
    virtual void RedrawAll(bool markers) = 0;
    // Repaints a canvas rectangle (grown to the items it meets); the markers follow.
    virtual void RedrawArea(const Rect& canvasArea) = 0;
    // The selection changed without any item changing: its markers are drawn again.
    virtual void SelectionChanged() = 0;
    virtual void SetArrowCursor() = 0;
    // The width of a text's widest line in design pixels, as drawn at the window's zoom; -1 when
    // it cannot be measured.
    virtual int32_t WidestTextLine(const ItemRecord& text) = 0;

    // ---- the pointer's mode ----
    // Typing into a text on the canvas ends; what was typed stays.
    virtual void EndTextEditing() = 0;
    // Back to select mode with no click collected.
    virtual void ResetTool() = 0;
    // Pasted items, selected, follow the pointer until the next click.
    virtual void StartPlacement() = 0;
    // 100 ms later the canvas inside the last area selection goes to the system clipboard as a
    // bitmap, and the markers come back.
    virtual void StartClipboardJob() = 0;

    // ---- the main window ----
    virtual void RefreshUndoCommands() = 0;
    // The commands that depend on the selection and the copy list (cut, copy, paste, join, split).
    virtual void RefreshDesignControls() = 0;
    virtual void ShowPanel(int panelCode) = 0;
    // Shows a panel through the main window's deferred switch, after the running handler.
    virtual void ShowPanelLater(int panelCode) = 0;
    // Whether a hint page is to be shown (its show-again setting).
    virtual bool HintPageShown(int pageCode) const = 0;
};

// The hint page shown after a deletion when its setting is on; otherwise the insert panel.
inline constexpr int kDeletionHintPage = 1038;
inline constexpr int kInsertPanel = 20;


// ---- history ----

// Back to select mode, markers gone, nothing selected, then one whole step undone or redone.
void UndoCommand(ItemList& list, CommandWindow& window);
void RedoCommand(ItemList& list, CommandWindow& window);
// The Edit menu's Clear Undo and Redo: drops everything Undo and Redo could bring back.
void ClearHistoryCommand(ItemList& list, CommandWindow& window);

// ---- deleting and stacking ----

// Cut, Erase and the Delete key: a deletion record for every selected item, then the design
// repainted and, after the running handler, the deletion hint page or the insert panel. Nothing
// is copied. False (and nothing done) when nothing is selected.
bool DeleteSelection(ItemList& list, CommandWindow& window);
// New versions of the selected items moved under or over every other item, one after another in
// list order: several items sent back end in reversed order, brought forward they keep it. False
// when nothing is selected.
bool SendSelectionToBack(ItemList& list, CommandWindow& window);
bool BringSelectionToFront(ItemList& list, CommandWindow& window);

// ---- copy and paste ----

// The selection into the application's copy list (what was there before is gone).
void CopySelection(ItemList& list, ItemList& copyList, CommandWindow& window);
// The copy list into the design as one step, selected, 10 pixels right of and below where it was
// copied, above everything; its panel is shown and the items follow the pointer until the next
// click. Returns the number of records pasted; 0 when either list has no document header.
int Paste(ItemList& copyList, ItemList& list, CommandWindow& window);
// The canvas inside the last area selection onto the system clipboard as a bitmap.
void CopyAreaPicture(CommandWindow& window);

// ---- groups and transforms ----

// Join Items: the selected items become one new group with a marker at their centre; selected
// group markers are retired. Split Group: the selected items leave their groups. Nothing happens
// when nothing is selected.
void JoinSelection(ItemList& list, CommandWindow& window);
void SplitSelection(ItemList& list, CommandWindow& window);

// Mirror (left to right), flip (top to bottom) and a quarter turn (+1 counter-clockwise on the
// screen, -1 clockwise) of the selection, applied in that order:
// - a shape not in a group about its centre (a circle's, ellipse's, polygon's, star's, pie's and
//   arc's centre point, the mean of the others' points); a clip not in a group as a picture, its
//   box staying where it is; lines and texts not in a group stay as they are;
// - a selected group marker takes its whole group about the marker: lines and shapes are
//   reflected and turned point by point, texts turn their baseline and angle and are reflected as
//   boxes so that they stay readable, clips move their box and add the turn to their rotation.
// False when nothing is selected.
bool TransformSelection(ItemList& list, CommandWindow& window, bool mirror, bool flip, int32_t rotate);

// ---- attribute commands ----
//
// The side panels' changes of the selection. Each sets one property on every selected item of
// the kinds it applies to, as one undo step: the selection is opened for editing, the property is
// set, what depends on it is recomputed (pixel line width, points, curve handles, a text's
// baseline, bounds), and the canvas area the items covered before and after is repainted.
// Selected items of other kinds get new versions but keep their values. With no selected item of
// the command's kinds nothing happens and the result is false.
//
//   command                 kinds                 property
//   SetOutlineColor         lines, shapes         color
//   SetOutlineAndTextColor  lines, shapes, texts  color, and textColor of texts
//   SetClipFrameColor       clips                 color (the frame's)
//   SetOutlineWeight        lines, shapes         lineWeight, penWidthPx at 100 % (shapes also
//                                                 lineWeightBase, which they keep equal)
//   SetClipFrameWeight      clips                 lineWeight, hasFrame when it is not 0
//   SetFillColor            lines, shapes         fillColor (-1 none, -2 the outline colour)
//   SetDashPattern          lines                 dashPattern (0 ... 4 built in, or a pattern
//                                                 of the design: see LinePatternFor)
//   SetLineDirection        lines                 fixedAngle in degrees; 0 ... 360 also turns
//                                                 the line about its first point to that
//                                                 angle, keeping its length; negative is free
//   SetLineOutlineWeight    lines                 lineWeightBase
//   SetShadow               texts, lines, shapes,
//                           clips                 shadowElevation, shadowFade, shadowLightness
//   SetSurface              the same              surface
//   SetClipColours          clips                 saturation, contrast, lightness
//   SetTextColor            texts                 textColor
//   SetTextFont             texts                 fontName (at most 32 bytes), charset (a
//                                                 negative one keeps each text's)
//   SetFontSize, SetFontWeight, SetItalic, SetUnderline, SetStrikeOut, SetTextAlignment
//                           texts                 fontSize, fontWeight, italic, underline,
//                                                 strikeOut, alignment (1 left, 2 centre,
//                                                 3 right)
//   SetTextAngle            texts                 textAngle in whole degrees; 0 ... 359 also sets
//                                                 the escapement and turns the baseline about its
//                                                 midpoint to that angle; negative is free
//   ApplyTextDefaults       texts                 the next-text style of the settings: size,
//                                                 colour, angle, weight, the four style bytes,
//                                                 font name and character set
//   SetShapeKind            squares and rectangles, circles and ellipses, pies and arcs:
//                                                 the kind within its pair, points rebuilt
//   SetVertexCount          polygons, stars       vertexCount 3 ... 1024000, points rebuilt about
//                                                 the centre through the first vertex
//   SetShapeMode            splines, curves       shapeMode 0 open, 1 closed, 2 solid
bool SetOutlineColor(ItemList& list, CommandWindow& window, int32_t colour);
bool SetOutlineAndTextColor(ItemList& list, CommandWindow& window, int32_t colour);
bool SetClipFrameColor(ItemList& list, CommandWindow& window, int32_t colour);
bool SetOutlineWeight(ItemList& list, CommandWindow& window, double weightMm);
bool SetClipFrameWeight(ItemList& list, CommandWindow& window, double weightMm);
bool SetFillColor(ItemList& list, CommandWindow& window, int32_t fill);
bool SetDashPattern(ItemList& list, CommandWindow& window, int32_t pattern);
bool SetLineDirection(ItemList& list, CommandWindow& window, double degrees);
bool SetLineOutlineWeight(ItemList& list, CommandWindow& window, double weightMm);
bool SetShadow(ItemList& list, CommandWindow& window, const ShadowStyle& shadow);
bool SetSurface(ItemList& list, CommandWindow& window, uint8_t surface);
bool SetClipColours(ItemList& list, CommandWindow& window, int32_t saturation, int32_t contrast,
                    int32_t lightness);
bool SetTextColor(ItemList& list, CommandWindow& window, int32_t colour);
bool SetTextFont(ItemList& list, CommandWindow& window, std::string_view name, int32_t charset);
bool SetFontSize(ItemList& list, CommandWindow& window, int32_t points);
bool SetFontWeight(ItemList& list, CommandWindow& window, int32_t weight);
bool SetItalic(ItemList& list, CommandWindow& window, bool on);
bool SetUnderline(ItemList& list, CommandWindow& window, bool on);
bool SetStrikeOut(ItemList& list, CommandWindow& window, bool on);
bool SetTextAlignment(ItemList& list, CommandWindow& window, int32_t alignment);
bool SetTextAngle(ItemList& list, CommandWindow& window, int32_t degrees);
bool ApplyTextDefaults(ItemList& list, CommandWindow& window, const currentState_t& state);
// The next-text style of the settings on one text (its layout is the caller's to fit).
void TakeTextDefaults(ItemRecord& text, const currentState_t& state);
bool SetShapeKind(ItemList& list, CommandWindow& window, int32_t kind);
bool SetVertexCount(ItemList& list, CommandWindow& window, int32_t count);
bool SetShapeMode(ItemList& list, CommandWindow& window, int32_t mode);

// The design's line-pattern definition with these segment lengths (millimetres, at most 12), or
// a new one; none when no pattern number is left. The number is what SetDashPattern takes.
std::optional<int32_t> LinePatternFor(ItemList& list, std::span<const double> segmentsMm);

// A baseline as long as a text's widest line (design pixels): a left-aligned text keeps its first
// point, a right-aligned one its second, a centred one its midpoint; the other end moves along the
// text's angle. Bounds and world values follow.
void FitTextBaseline(ItemRecord* text, int32_t width, const ScreenResolution& screen);

// ---- tagging ----

// A tag no record of the design carries yet (0 ... 2147483646).
int32_t UnusedTag(const ItemList& list, std::mt19937& random);
// Records the tag in every selected record's tag list.
void StampTag(ItemList& list, int32_t tag);
// Stamps a new tag on the selection and returns it.
int32_t TagSelection(ItemList& list, std::mt19937& random);
// Selects exactly the visible items (and group markers) that carry the tag; false when there are
// none. SelectTagged with a window also draws the markers of what was found.
bool SelectTagged(ItemList& list, int32_t tag);
bool SelectTagged(ItemList& list, CommandWindow& window, int32_t tag);

// ---- rendering quality ----

// The picture quality (0 ... 3) a design's clips were last drawn with is designQuality; when the
// setting differs, the design takes it, every clip rebuilds its picture and the window repaints.
// False when nothing changed.
bool ApplyPictureQuality(ItemList& list, CommandWindow& window, int32_t& designQuality, int32_t quality);

} // namespace vlr
