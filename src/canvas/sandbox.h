// The document window: one open design, shown on a raster canvas at the current zoom, framed by
// two rulers and two anchor strips, scrolled, zoomed and repainted. Input editing (selection,
// insertion, text) builds on the state kept here.
#pragma once

#include "canvas/anchors.h"
#include "canvas/designview.h"
#include "canvas/grid.h"
#include "canvas/inserttool.h"
#include "canvas/rulers.h"
#include "canvas/sandboxcommands.h"
#include "canvas/saveunder.h"
#include "canvas/selection.h"
#include "canvas/selecttool.h"
#include "canvas/textedit.h"
#include "model/designfile.h"
#include "model/geometry.h"
#include "model/itemrecord.h"
#include "render/rastercanvas.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QScrollBar;

namespace vlr {

class Prompt;
class SandboxHost;
struct KeyTarget;
struct TParams;

class TSandbox : public QWidget, public DesignView, private TextEditWindow {
    Q_OBJECT
public:
    static constexpr int kBarThickness = 16;
    static constexpr int kTileLimit = 1600;

    TSandbox(TParams& params, SandboxHost& host, Prompt& prompt, QWidget* parent = nullptr);
    ~TSandbox() override;

    // ---- the document window interface ----
    QWidget* widget() override { return this; }
    int32_t docNumber() const override { return docNumber_; }
    QString caption() const override { return caption_; }
    ItemList& items() override { return items_; }
    bool KeyDown(QKeyEvent& event) override;
    bool KeyPress(QKeyEvent& event) override;
    void SelectPanel(int panelCode) override;
    void RefreshInsertionState() override { ResetInsertionPoints(); }
    void SetZoom(double zoom) override;
    // Ctrl+wheel: the zoom notches steps on, around a viewport point.
    void WheelZoom(int notches, QPoint viewport);
    void ApplyLightDirection(int direction) override;
    bool HasCopyArea() const override;
    // The canvas rectangle of the last area selection, which Copy to Clipboard copies.
    void SetCopyArea(const Rect& area) { input_.copyArea = area; }
    CommandWindow& commands() override { return commands_; }
    void IgnoreKeysUntilActivated() override { acceptKeys_ = false; }
    bool AcceptsKeys() const override { return acceptKeys_; }
    void DesignEdited() override;
    bool OpenDesign(int32_t docNumber, const QString& path) override;
    QString fileName() const override { return fileName_; }
    void SetFileName(const QString& path) override { fileName_ = path; }
    int untitledNumber() const override { return untitledNumber_; }
    void SetCaption() override;
    void SetGridShown(int type) override;
    void SetAnchorsShown(int type) override;
    void SetSnap(int type) override;
    void EqualizeGrid(int axes) override;
    void GridOptionsChanged() override;
    DisplaySwitches displaySwitches() const override { return {showPictures_, showShadows_, show3D_}; }
    void SetDisplaySwitches(const DisplaySwitches& switches) override;
    Point VisiblePageOrigin() const override;
    const ItemRecord* ContinuedItem() const override;
    bool ChangeEditedText(const std::function<void(ItemRecord&)>& change) override;
    // Typing into a text ends (front/back, copy, paste, undo, a panel change).
    void EndTextEditing();
    const TextEditing& textEditing() const { return textEditing_; }

    // Room for the whole page with its margin, the rulers and the scroll bars.
    QSize sizeHint() const override;

    // ---- layout, scrolling and painting ----
    void Relayout();
    void SizeCanvas();
    void Scroll(Qt::Orientation axis);
    void FillBackground();
    // Repaints the whole canvas now (items in stacking order), with or without the markers.
    void RedrawAll(bool markers) override;
    // Repaints the part of the canvas under rect (canvas pixels).
    void RedrawArea(const Rect& rect);
    // Draws one item on the canvas; quick leaves out shadows and 3-D surfaces.
    void PaintItem(ItemRecord* item, bool quick);
    // The gesture of an insertion under way is dropped; the mode stays.
    void ResetInsertionPoints();
    // Something changed the design's records: a progressive repaint under way starts over.
    void DesignChanged();

    // Device pixels per window pixel of the screen the window is on: the canvas, the rulers and
    // the anchor strips are drawn at that density.
    void SetDeviceScale(double ratio);

    // Saving pixels under temporary pictures, under the canvas lock.
    void SaveArea(SaveUnder& saved, const Rect& canvasRect);
    void RestoreArea(SaveUnder& saved);

    // ---- state, for the window's parts and for tests ----
    const RasterCanvas& canvas() const { return canvas_; }
    Point tileOffset() const { return tileOffset_; }
    Point pageOffset() const { return pageOffset_; }
    QSize viewportSize() const;
    QScrollBar* scrollBarX() const { return scrollBarX_; }
    QScrollBar* scrollBarY() const { return scrollBarY_; }
    QWidget* viewport() const { return panel0_; }
    QWidget* cornerFiller() const { return panel1_; }
    int toolMode() const { return input_.toolMode; }
    const CanvasInput& input() const { return input_; }
    bool loading() const { return loading_; }
    bool repaintPending() const { return Timer7.isActive() || !progressive_.empty(); }
    // The status of the last attempt to read a design file.
    ReadStatus lastReadStatus() const { return lastRead_; }
    // The canvas position of a design point, and back.
    Point CanvasFromDesign(Point design) const override;
    Point DesignFromCanvas(Point canvas) const override;
    // The current zoom (the header's).
    double zoom() const override;
    // A canvas point taken to the gridlines where snap is on.
    Point SnapPoint(Point canvas) const { return vlr::SnapPoint(snapFrame(), canvas); }
    SnapFrame snapFrame() const override;
    // The selection opened for editing on this window's canvas (the selection tools' first step).
    int32_t BeginEdit(bool drawCopies) override;
    EditMetrics editMetrics() const override;
    MarkerStyle markerStyle() const override;
    void StartPlacement() override;

    // The rulers' pictures and the anchor strips, as last drawn; the rulers' red marks (-1 none).
    const QImage& rulerXImage() const { return rulerXImage_; }
    const QImage& rulerYImage() const { return rulerYImage_; }
    const QImage& backgroundImage() const { return background_; }
    int rulerMarkX() const { return rulerMarkX_; }
    QWidget* rulerX() const { return rulerX_; }
    // The tooltip of a page-edge drag and its text.
    QWidget* rulerHint() const { return hint1_; }
    QString rulerHintText() const;
    // 0 none, 1 an anchor of the top strip, 2 of the left strip being dragged.
    int anchorDrag() const {
        return !stripPress_.dragging ? 0 : *stripPress_.dragging == GridAxis::X ? 1 : 2;
    }

    QTimer Timer1, Timer2, Timer3, Timer4, Timer5, Timer6, Timer7, Timer8;

    // The card positions that do not print ("x"), row by row; kept while the window is open.
    std::string printAreaSelection;
    // Printing deferred until a dialog host has closed: Timer8 hands the request and the
    // caption to this.
    QString printRequest;
    std::function<void(TSandbox& window, const QString& request)> printRequested;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Keys the main window has not offered to the design already (no main window around it).
    void keyPressEvent(QKeyEvent* event) override;
    // Characters composed by an input method or dead keys.
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    friend class SandboxCommands;
    ItemRecord* Header() const;
    void PaintPageBackground(const Rect& area);
    void DrawGridlines(const Rect& area);
    // Background, gridlines and the items meeting the area, the selected ones left out on request.
    void RepaintArea(const Rect& area, bool withoutSelection);
    void DrawAnchorStrips();
    // Rebuilds the ruler strips when their offset changed (always when forced) and composes both
    // rulers.
    void DrawRulers(bool force = false);
    void ComposeRulers();
    // A ruler's page as shown, a page-edge drag on it included.
    RulerView RulerViewFor(bool horizontal) const;
    void ClearAnchorHighlights();
    // The Delete key asks this first: the gridline whose anchor is under the pointer goes.
    // False when there is none, so that the key acts on the selection.
    bool DeleteAnchorUnderPointer();
    void ClearClipPictures();
    // The toolbar's grid and snap buttons follow the design.
    void RefreshGridButtons();
    // Edits record their undo steps and refresh the Undo and Redo commands.
    EditHooks UndoHooks();
    void FreeMarkers();
    // The mouse on the viewport: over the canvas, or over the background with the anchor strips.
    bool OnCanvas(QPoint viewport) const;
    void Background1MouseDown(QMouseEvent* event);
    void Background1MouseMove(QMouseEvent* event);
    void Background1MouseUp(QMouseEvent* event);
    void Image1MouseMove(QMouseEvent* event);
    void ViewportLeave();
    // The red marks in the rulers at a viewport point, and their removal.
    void MarkPointer(QPoint viewport);
    void ErasePointerMarks() { SetPointerMarks(-1, -1); }
    void SetPointerMarks(int x, int y);
    // A page-edge drag on a ruler.
    RulerPointer RulerPointerOf(Qt::Orientation axis);
    void RedrawRulers(RulerRedraw redraw);
    void RulerMouseDown(Qt::Orientation axis, QMouseEvent* event);
    void RulerMouseMove(Qt::Orientation axis, QMouseEvent* event);
    void RulerMouseUp(Qt::Orientation axis, QMouseEvent* event);
    void Image1MouseDown(QMouseEvent* event);
    void Image1MouseUp(QMouseEvent* event);
    void Image1DblClick(QMouseEvent* event);
    // The point of a viewport event on the canvas.
    Point CanvasPoint(QMouseEvent* event) const;
    // Timer2, after a double click: a single selected text opens for typing, a clip under the
    // point for picture editing.
    void DoubleClickTimer();
    TextEditTarget TextEdit() { return {input_, items_, *this, textEditing_}; }
    // What the keys act on in this window.
    KeyTarget Keys();
    // The marker pass of Timer3.
    void DrawSelectionMarkers();
    // EditCanvas and SelectWindow
    Rect WholeCanvas() const override { return {0, 0, canvas_.width(), canvas_.height()}; }
    void EraseMarkers() override;
    void RepaintUnderSelection(const Rect& area) override;
    void DrawQuick(ItemRecord* item) override { PaintItem(item, true); }
    int32_t AverageCharWidth(const ItemRecord& text) const override;
    int32_t TextLineHeight(const ItemRecord& text) const override;
    RasterCanvas& raster() override { return canvas_; }
    ViewTransform transform() const override { return Transform(); }
    SaveUnder& selectionUnder() override { return selectionUnder_; }
    void CanvasChanged() override;
    void RecordsChanged() override;
    void ShowPanel(int panelCode) override;
    void PanelStep(int step) override;
    bool LinePanelShowing() const override;
    void SetCanvasCursor(Qt::CursorShape cursor) override;
    // TextEditWindow
    void SetCaretTimer(bool running) override;
    void DrawFully(ItemRecord* item) override { PaintItem(item, false); }
    void TextEditingStarted(ItemRecord* text) override;
    void TextEditingEnded() override;
    void ShowStatusMessage(const QString& message) override;
    InsertTarget Insertion() { return {input_, items_, *this, params_}; }
    void ProgressiveStep();
    void StartProgressiveRepaint();
    void FormActivate();
    void FormDeactivate();
    bool PaintsItem(const ItemRecord* item) const;
    bool FocusIsHere() const;
    ViewTransform Transform() const;
    int TileLimit(Qt::Orientation axis) const;

    TParams& params_;
    SandboxHost& host_;
    Prompt& prompt_;
    ItemList items_;
    SandboxCommands commands_{*this};

    // window state
    int32_t docNumber_ = 0;
    QString caption_;
    QString fileName_;
    int untitledNumber_ = 0;
    // mode, clicks, the marker dragged and the points of the current gesture
    CanvasInput input_;
    // the text being typed into, its caret
    TextEditing textEditing_;
    // the last key the main window offered to KeyDown, which must not be handled twice
    const QKeyEvent* offeredKey_ = nullptr;
    // the button went down on the canvas: moves and the release belong to it wherever they are
    bool canvasPress_ = false;
    // The window is asking for a panel itself: the panel's mode is not taken back from the main
    // window, so that an insertion showing its hints goes on.
    bool ownPanelRequest_ = false;
    Point doubleClickPoint_;
    int pendingJob_ = 0;
    bool layoutBusy_ = true;
    bool closing_ = false;
    bool initialised_ = false;
    bool hasFocus_ = false;
    bool loading_ = false;
    bool acceptKeys_ = true;
    bool showPictures_ = true, showShadows_ = true, show3D_ = true;
    ReadStatus lastRead_ = ReadStatus::NoFile;

    // canvas
    double deviceScale_ = 1.0;
    RasterCanvas canvas_;
    Point tileOffset_;
    Point pageOffset_;
    QSize tileSize_;
    SaveUnder selectionUnder_;
    QImage background_;
    QImage backgroundTile_;
    QImage rulerXImage_, rulerYImage_;
    QImage untouchedTop_, untouchedLeft_;

    // rulers: the light-yellow strips and the red marks
    RulerStrip rulerStripX_, rulerStripY_;
    int rulerMarkX_ = -1, rulerMarkY_ = -1;
    PageEdgeDrag edgeDrag_;
    QLabel* hint1_ = nullptr;
    // a press on the anchor strips: an anchor's drag, or a press for a Shift+click
    StripPress stripPress_;

    // progressive repaint over a snapshot of the stacking order
    std::vector<ItemRecord*> progressive_;
    size_t progressiveNext_ = 0;
    uint64_t designVersion_ = 0;
    uint64_t progressiveVersion_ = 0;

    // controls
    QWidget* corner1_ = nullptr;
    QWidget* rulerX_ = nullptr;
    QWidget* rulerY_ = nullptr;
    QWidget* panel0_ = nullptr;
    QWidget* panel1_ = nullptr;
    QScrollBar* scrollBarX_ = nullptr;
    QScrollBar* scrollBarY_ = nullptr;
};

} // namespace vlr
