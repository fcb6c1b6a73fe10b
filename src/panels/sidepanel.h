// What the line and shape panels share: the main window they work for (PanelHost), the pull-down
// lists filled from the style lists, the title, the "Basics" and "Effects" tabs with the tab kept
// in the settings, hint lines, the colour lists' "Customize..." entries, and the values a
// selection has in common.
#pragma once

#include "canvas/commands.h"
#include "panels/listentries.h"
#include "panels/procs.h"
#include "settings/params.h"
#include "settings/stylelists.h"

#include <QComboBox>
#include <QRect>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QTabBar;
class QVBoxLayout;

namespace vlr {

class TPictureButton;

// What a side panel asks of the main window.
class PanelHost {
public:
    virtual ~PanelHost();
    virtual TParams& params() = 0;
    // The active design's list and window; both null when no design is open.
    virtual ItemList* DesignItems() = 0;
    virtual CommandWindow* DesignCommands() = 0;
    // A style was changed in a Basics list: the panel history records it.
    virtual void RecordChange() = 0;
    // Shows another panel once the running handler has returned (the panel asking is freed).
    virtual void SwitchPanelLater(int code) = 0;
    // Opens a customizing page: 9 line weights, 10 line patterns, 11 line directions, 63 shadows.
    // When it closes the panel's StyleListsChanged runs.
    virtual void OpenStylePage(int page) = 0;
    // The colour dialog with the dialog colours; none when cancelled.
    virtual std::optional<int32_t> PickColour() = 0;
    // The spline or curve being continued in the active design (its style stays while it is
    // continued); none otherwise.
    virtual const ItemRecord* ContinuedItem() { return nullptr; }
    // A style change on the text being typed in the active design, within its typing; false when
    // no text is being typed.
    virtual bool ChangeTypedText(const std::function<void(ItemRecord&)>& /*change*/) { return false; }
    // Opens a picture editor page on the selected clip once the running handler has returned:
    // 503 edits its boundary, 510 inserts a new clip from its picture.
    virtual void OpenClipPage(int page) = 0;
    // A link that stands for a toolbar command is pointed at: the command's toolbar button and
    // what-next row 1 ... 4 are lit (each goes plain again after five seconds). PlainCommands
    // returns the toolbar and the what-next rows to plain at once.
    virtual void LightCommand(ToolbarButton /*button*/, int /*suggestionRow*/) {}
    virtual void PlainCommands() {}
};

// Customizing pages the lists open.
inline constexpr int kWeightPage = 9;
inline constexpr int kPatternPage = 10;
inline constexpr int kDirectionPage = 11;
inline constexpr int kShadowPage = 63;
inline constexpr int kTextAnglePage = 40;
inline constexpr int kFontSizePage = 41;
inline constexpr int kEditClipPage = 503;
inline constexpr int kNewClipPage = 510;

// Positions of "Customize..." in the lists.
inline constexpr int kColourCustomize = 16;
inline constexpr int kFillCustomize = 18;
inline constexpr int kWeightCustomize = 6;
inline constexpr int kPatternCustomize = 5;
inline constexpr int kDirectionCustomize = 5;
inline constexpr int kShadowCustomize = 4;
inline constexpr int kSizeCustomize = 16;
inline constexpr int kAngleCustomize = 5;
inline constexpr int kFrameCustomize = 7;

// Draws the entries of the panels' lists as their kind shows them (see listentries.h): the
// entry's look comes with the entry (kEntryRole); an entry without one shows a swatch when it
// carries a colour (Qt::DecorationRole), then its text. Item heights follow the panel font: 18
// for size 10, 20 for 12, otherwise 16.
class TEntryDelegate : public QStyledItemDelegate {
public:
    TEntryDelegate(int panelFontSize, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    static int ItemHeight(int panelFontSize);
    // The entry an index shows.
    static ListEntry EntryAt(const QModelIndex& index);

private:
    int fontSize_;
    int itemHeight_;
};

// The item data role that carries an entry's ListEntry.
inline constexpr int kEntryRole = Qt::UserRole + 40;

// A pull-down list of a style list. chosen fires only for the user's choices. The open list and
// the closed box both draw their entries through one TEntryDelegate.
class TStyleCombo : public QComboBox {
    Q_OBJECT
public:
    TStyleCombo(int panelFontSize, QWidget* parent);
    // What the entries show besides their names; weights, patterns and shadows read their
    // slots from params. Lists filled with swatches are colour lists whatever is set here.
    void SetEntryKind(EntryKind kind, const TParams& params);
    EntryKind entryKind() const { return kind_; }
    // The colour the weight bars are drawn in; takes effect at the next Fill.
    void SetPreviewColour(int32_t colour) { preview_ = colour; }
    // The entries with their swatches (none for an entry whose colour is invalid), and the
    // list's selection.
    void Fill(const StyleList& list, const std::vector<QColor>& swatches = {});
    // Selects a position; -1 shows no entry.
    void Select(int position);
    // The position selected before the last choice (for taking back a "Customize..." entry).
    int previous() const { return previous_; }
    // Back to the position before the last choice.
    void TakeBack() { Select(previous_); }

Q_SIGNALS:
    void chosen(int position);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int fontSize_;
    int previous_ = -1;
    EntryKind kind_ = EntryKind::Text;
    const TParams* params_ = nullptr;
    int32_t preview_ = 0;
};

// A value the selected items share, or none when they differ (or nothing is selected).
template <typename T> struct Common {
    std::optional<T> value;
    bool seen = false;
    template <typename Same> void Add(const T& next, Same same) {
        if (!seen) {
            value = next;
            seen = true;
        } else if (value && !same(*value, next)) {
            value.reset();
        }
    }
    void Add(const T& next) {
        Add(next, [](const T& a, const T& b) { return a == b; });
    }
};

// The selected items of a design other than group markers.
std::vector<const ItemRecord*> SelectedStyledItems(const ItemList& list);
// The segment lengths (millimetres) of a line's pattern, the built-in number for 0 ... 4.
struct PatternKey {
    int32_t builtIn = 0; // 0 ... 4, or -1 for a pattern of the design
    std::vector<double> lengths;
};
PatternKey PatternOf(const ItemList& list, int32_t dashPattern);
bool SamePatternKey(const PatternKey& a, const PatternKey& b);

// Swatches of a colour or fill list; fill lists paint "Solid" in solidColour.
std::vector<QColor> ColourSwatches(const StyleList& list, const StyleSlots& slots, bool fill, int32_t solidColour);
QColor QColorFromValue(int32_t colour);

// The base of the line and shape panels: title, tabs, lists and hint lines, the insert or
// fine-tune mode, and the colour dialog behind the colour lists' "Customize..." entries.
// The places of the transform buttons in a panel width pixels wide, the row's top at top: four
// squares from left 2, 2 pixels apart, as large as the width allows (within the toolbar's range);
// then, when extraWidth is not 0, a button that wide on the same row if it fits, else below.
std::vector<QRect> TransformButtonPlaces(int width, int top, int extraWidth);

class TStylePanel : public QWidget {
    Q_OBJECT
public:
    // The tab shown is kept in the settings as it changes, so that the next panel of the kind
    // opens on it.
    TStylePanel(PanelHost& host, int code, QWidget* parent);
    // Panels that change the selected items rather than set up the next one.
    static bool IsFineTuneCode(int code);

    int code() const { return code_; }
    bool fineTune() const { return fineTune_; }
    // 1 "Basics", 2 "Effects".
    int tab() const;
    void SetTab(int tab);
    QString title() const;
    // The hint lines shown, in order.
    QStringList HintLines() const;
    // The step of the insertion or editing under way, for panels whose hints follow it.
    virtual void SetStep(int /*step*/) {}
    // The tab that is not current shows highlighted while the pointer rests on it, for at most
    // five seconds; -1 when none is.
    int highlightedTab() const { return highlightedTab_; }
    // The timer that returns a highlighted tab or picture button to its resting look.
    QTimer* HoverTimer() const { return hoverTimer_; }
    // A customizing page closed: the lists are built again, taking over the slot chosen there.
    virtual void StyleListsChanged(int page) = 0;

    // The colour lists and the Effects tab, alike in both panels.
    TStyleCombo* ColorBox = nullptr;
    TStyleCombo* FillBox = nullptr;
    void ColorBoxChange(int position);
    void FillBoxChange(int position);
    TStyleCombo* SurfaceBox = nullptr;
    TStyleCombo* ShadowBox = nullptr;
    void SurfaceBoxChange(int position);
    void ShadowBoxChange(int position);

protected:
    // Four picture buttons that mirror, flip and turn the selection a quarter either way, their
    // texts as hints, in a row under the title; extra (a captioned button, optional) follows them
    // on the row when it fits, else below. The returned row keeps their room in the frame.
    QWidget* AddTransformButtons(const QString (&texts)[4], TPictureButton* (&buttons)[4],
                                 TPictureButton* extra = nullptr);
    // The frame: title, an optional row (the shape panel's buttons), the tabs and the two areas.
    void BuildFrame(const QString& titleText, QWidget* row, const QString& firstTab = "Basics",
                    const QString& secondTab = "Effects");
    // Where the tab shown is kept: the line and shape panels share one.
    virtual int32_t& TabSetting() { return params().panelTab; }
    // The next item's shadow; lines and shapes share one.
    virtual ShadowStyle& ShadowSetting() { return params().state.shpoly; }
    // A colour of the Color list set on the selection as one undo step. Texts selected beside
    // lines take the line panel's colour as their text colour.
    virtual bool ApplyColour(ItemList& list, CommandWindow& window, int32_t colour) {
        return code_ == 99 ? SetOutlineAndTextColor(list, window, colour) : SetOutlineColor(list, window, colour);
    }
    // Picture buttons that light up under the pointer: the one pointed at shows its highlight and
    // the others their resting looks; all rest again when the pointer leaves it, rests on it for
    // five seconds (the tab's timer) or comes onto one that is pressed.
    void WatchButtons(const std::vector<TPictureButton*>& buttons);
    virtual ButtonLook RestingLook(const TPictureButton* /*button*/) const { return ButtonLook::Plain; }
    // Every watched button at rest and the tabs plain.
    void RestoreHighlights();
    bool eventFilter(QObject* watched, QEvent* event) override;
    TStyleCombo* AddList(QVBoxLayout* area, const QString& label);
    void SetListShown(TStyleCombo* list, bool shown);
    QLabel* ListLabel(TStyleCombo* list) const;
    QLabel* AddHint(QVBoxLayout* area);
    // The Effects lists, and the handlers of every list of the base (Color and Fill Color must
    // have been added), and their entries for the values shown.
    void AddEffects();
    void FillEffects(std::optional<int32_t> surface, std::optional<ShadowStyle> shadow);
    // The next item's surface setting ("liplas" for lines, "poplas" for shapes), colour and fill.
    virtual int32_t& SurfaceSetting() = 0;
    virtual int32_t& ColourSetting() = 0;
    virtual int32_t& FillSetting() = 0;
    // The weight lists again (their previews use the colour).
    virtual void RebuildWeightLists() = 0;
    // What follows a fill change (which lists are shown).
    virtual void FillChanged() = 0;
    // The colour and fill lists for the colour and fill shown, then the weight lists.
    void FillColourLists();
    void FillColourDependentLists();
    void SetColour(int32_t colour);
    void SetFill(int32_t fill);
    // "Customize..." chosen in a list: the list shows what it showed before and the page opens;
    // true then.
    bool OpenPageFor(TStyleCombo* box, int position, int customizePosition, int page);
    // A weight list's entry chosen: its millimetres.
    double ChooseWeight(StyleList& list, int position);
    // A line weight chosen for the next item (its millimetres and list position) or the selection.
    void SetWeight(double mm, int position, double& mmSetting, int32_t& positionSetting);
    // Applies a command to the active design's selection; false without a design.
    bool ApplyToSelection(const std::function<bool(ItemList&, CommandWindow&)>& command);
    // "Customize..." of a colour or fill list: the colour dialog. Cancelled, the list shows what
    // it showed before and false is returned; otherwise the colour joins the custom colours when
    // it is in no list and is returned in colour.
    bool PickListColour(TStyleCombo* list, int32_t& colour);
    // The colour of the Color list's entry chosen, through the colour dialog for "Customize...";
    // none when cancelled or when the entry is no colour (the list shows what it showed before).
    std::optional<int32_t> ChosenColour(int position);
    // A hint line whose links (anchors made by LinkWords) call onLink with their target; a link
    // turns blue while the pointer is over it.
    QLabel* AddLinkHint(QVBoxLayout* area, const std::function<void(const QString& link)>& onLink);
    TParams& params() { return host_.params(); }
    const StyleSlots& slots() const { return host_.params().slots; }

    PanelHost& host_;
    const int code_;
    const bool fineTune_;
    bool filling_ = false; // lists are being filled: no change handler runs
    QLabel* title_ = nullptr;
    QTabBar* tabs_ = nullptr;
    QWidget* basics_ = nullptr;
    QWidget* effects_ = nullptr;
    QVBoxLayout* basicsLayout_ = nullptr;
    QVBoxLayout* effectsLayout_ = nullptr;
    QVBoxLayout* hintsLayout_ = nullptr; // below the tab areas
    StyleList colours_, fills_, surfaces_, shadows_;
    // The colour and fill shown; none while the selected items differ.
    std::optional<int32_t> colour_, fill_;
    std::vector<QLabel*> hints_;

    // The transform buttons to their places for the panel's width, the frame's row below them.
    void PlaceTransformButtons();
    void resizeEvent(QResizeEvent* event) override;

private:
    void HighlightTab(int index);
    void ButtonPointed(TPictureButton* pointed);

    std::vector<std::pair<TStyleCombo*, QLabel*>> labels_;
    QWidget* transformRow_ = nullptr;
    std::vector<TPictureButton*> transformButtons_; // the four, then the extra one
    int highlightedTab_ = -1;
    QTimer* hoverTimer_ = nullptr;
    std::vector<TPictureButton*> watchedButtons_;
};

// Words of a hint line that act as a link to target: black and underlined, blue while lit.
QString LinkWords(const QString& words, const QString& target, bool lit = false);

// Fills a list inside the guard.
class FillGuard {
public:
    explicit FillGuard(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~FillGuard() { flag_ = was_; }
    FillGuard(const FillGuard&) = delete;
    FillGuard& operator=(const FillGuard&) = delete;

private:
    bool& flag_;
    bool was_;
};

} // namespace vlr
