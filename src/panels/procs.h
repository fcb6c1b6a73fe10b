// The custom toolbar across the top of the main window: the file and history buttons, the tools
// that choose what the next click inserts, the grid, stacking and clipboard buttons, and the zoom
// controls at the right end. It also holds the application's copy list. The toolbar only shows
// states and reports choices; the main window runs the commands.
#pragma once

#include "model/itemlist.h"
#include "panels/picturebutton.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <optional>

class QLabel;
class QSlider;

namespace vlr {

class TPictureButton;

enum class ToolbarButton {
    New,
    Open,
    Save,
    Print,
    Undo,
    Redo,
    Repaint,
    Select,
    InsertPicture,
    InsertText,
    InsertLine,
    InsertArc,
    InsertSpline,
    InsertCurve,
    InsertTriangle,
    InsertSquare,
    InsertRectangle,
    InsertCircle,
    InsertPie,
    InsertEllipse,
    InsertPolygon,
    InsertStar,
    InsertSolid,
    InsertOblong,
    Gridlines,
    Snap,
    Front,
    Back,
    Join,
    Split,
    Erase,
    Copy,
    Paste,
};
inline constexpr int kToolbarButtonCount = static_cast<int>(ToolbarButton::Paste) + 1;

// One button: its group (a separator bar follows the last of each group), its hint, picture and,
// for the tools, the panel code it chooses (0 for the other buttons).
struct ToolbarEntry {
    ToolbarButton button;
    int group;
    const char* hint;
    Glyph glyph;
    int panelCode;
};
// In the order the buttons stand, left to right.
extern const std::array<ToolbarEntry, kToolbarButtonCount> kToolbarEntries;
const ToolbarEntry& EntryOf(ToolbarButton button);

// The zoom the zoom-out and zoom-in buttons give for a zoom (1.0 = 100 %); none when the zoom
// stays as it is.
std::optional<double> ZoomOutStep(double zoom);
std::optional<double> ZoomInStep(double zoom);
// The tool button that a side panel's code presses: the insertion tools for the insertion
// panels and Select for the Insert panel and every fine-tuning panel; none for the hint pages,
// which leave the tool as it was.
std::optional<ToolbarButton> ToolOfPanel(int code);

class TProcs : public QWidget {
    Q_OBJECT
public:
    explicit TProcs(QWidget* parent = nullptr);
    ~TProcs() override;

    // The application's copy list for cut, copy and paste, shared by every design.
    ItemList& CopyList() { return copyList_; }

    // Places every visible button for a toolbar of the given height: squares of height - 4 at
    // top 2, two pixels apart, a separator bar after each group; the zoom controls from the
    // right edge.
    void LayoutToolbar(int height);
    // Front, Back, Erase and Copy only while the active design has a selection.
    void UpdateSelectionButtons(bool hasSelection);
    void UpdateJoinSplit(bool joinAllowed, bool splitAllowed);
    void UpdatePaste(bool clipboardHasItems);
    // A button that is not available shows its grey picture and ignores the mouse.
    void UpdateUndoRedo(bool canUndo, bool canRedo);
    void SetCurrentTool(ToolbarButton tool);
    ToolbarButton CurrentTool() const { return currentTool_; }
    // Flip the flag, redraw the button and report the new state.
    void ToggleGridlines();
    void ToggleSnap();
    // The grid and snap states of the active design; nothing is reported.
    void SetGridSnap(bool gridOn, bool snapOn);
    bool gridlinesOn() const { return gridOn_; }
    bool snapOn() const { return snapOn_; }
    // Shows a zoom on the label and the track bar without reporting it.
    void SetZoom(double zoom);
    double zoom() const { return zoom_; }
    // Every button back to its resting picture: pressed for the current tool and for grid and
    // snap while on, grey where unavailable, plain otherwise.
    void RestoreLooks();

    TPictureButton* Button(ToolbarButton button) const;
    TPictureButton* ZoomOutButton() const { return zoomOut_; }
    TPictureButton* ZoomInButton() const { return zoomIn_; }
    QSlider* ZoomBar() const { return zoomBar_; }
    QLabel* ZoomCaption() const { return zoomCaption_; }
    QLabel* ZoomLabel() const { return zoomLabel_; }

    // Returns every highlighted button to its resting picture five seconds after the pointer
    // came onto it.
    QTimer HighlightTimer;

Q_SIGNALS:
    // A button other than a tool, Gridlines or Snap was clicked.
    void commandChosen(ToolbarButton button);
    // A tool was clicked: the panel code it stands for (400 for picture insertion).
    void panelChosen(int code);
    // The zoom buttons or the track bar chose a zoom.
    void zoomChosen(double zoom);
    void gridlinesToggled(bool on);
    void snapToggled(bool on);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Clicked(ToolbarButton button);
    void Pointed(TPictureButton* button, bool keepsHighlight);
    ButtonLook RestingLook(ToolbarButton button) const;
    void ChooseZoom(std::optional<double> zoom);

    ItemList copyList_;
    std::array<TPictureButton*, kToolbarButtonCount> buttons_{};
    std::array<bool, kToolbarButtonCount> available_{};
    ToolbarButton currentTool_ = ToolbarButton::Select;
    bool gridOn_ = false;
    bool snapOn_ = false;
    double zoom_ = 1.0;
    bool settingZoom_ = false;
    TPictureButton* zoomOut_ = nullptr;
    TPictureButton* zoomIn_ = nullptr;
    QSlider* zoomBar_ = nullptr;
    QLabel* zoomCaption_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    // Where the separator bars stand, left edges, for painting.
    std::vector<int> separators_;
};

} // namespace vlr
