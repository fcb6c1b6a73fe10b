// The main window: document windows in a multiple-document area, the custom toolbar row, the
// side panel column with its what-next box, the menus and every command's entry point, the
// side panels' history and the program's timers.
#pragma once

#include "app/editcontrols.h"
#include "app/mainwindowhooks.h"
#include "app/panelhistory.h"
#include "app/statusbar.h"
#include "app/whatnextrows.h"
#include "canvas/sandboxhost.h"
#include "model/itemrecord.h"
#include "settings/params.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>
#include <random>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSplitter;
class QTextEdit;

namespace vlr {

class DesignView;
class Prompt;
class RegistryStore;
class TDialogHost;
class TPictureButton;
class TProcs;
class TToolbox;

class TForm1 : public QMainWindow, public SandboxHost {
    Q_OBJECT
public:
    // The settings are read from store at creation and written to it when the window closes.
    TForm1(RegistryStore& store, Prompt& prompt, QWidget* parent = nullptr);
    ~TForm1() override;
    // Once every hook is set: the first-time setup or an empty design, and the repair of the
    // file type's registration.
    void Start();

    TParams& params() { return params_; }
    // Where the settings and style lists are kept.
    RegistryStore& store() { return store_; }
    MainWindowHooks hooks;
    void SetDialogHosts(TDialogHost* formX, TDialogHost* formY);
    TDialogHost* FormX() const { return formX_; }
    TDialogHost* FormY() const { return formY_; }
    QMdiArea* DocumentArea() const { return mdiArea_; }
    // The application's copy list for cut, copy and paste, which the toolbar holds.
    ItemList& CopyList();
    TProcs* Toolbar() const { return toolbar_; }
    // The Insert panel once it has been shown.
    TToolbox* InsertPanel() const;

    // ---- document windows ----
    // Takes a document window into the document area and the Window menu.
    QMdiSubWindow* AddDesignView(DesignView* view);
    DesignView* ActiveDesign() const;
    std::vector<DesignView*> OpenDesigns() const;
    void AddWindowEntry(const QString& caption, int32_t docNumber);
    void CheckWindowEntry(int32_t docNumber);
    void RemoveWindowEntry(int32_t docNumber);
    bool ActivateDocument(int32_t docNumber);
    // The panel code the next new design starts its tool with (0 none).
    int TakeNextDesignTool();
    // The window's caption changed: its frame and its Window menu entry follow.
    void RefreshWindowCaption(DesignView* view);
    // Closes a document window whose unsaved work was already dealt with.
    void CloseDesignWithoutQuestion(DesignView* view);

    // ---- side panels ----
    void ShowPanel(int code, bool skipIfSame, bool notifyDesign = true, bool fromHistory = false);
    void RebuildSuggestions();
    void RunSuggestion(int row);
    // What-next row 1 ... 4 highlighted, the other rows plain, and Timer3 restarted to take the
    // highlight away; or the rows from fromRow on plain.
    void HighlightSuggestionRow(int row);
    void PlainSuggestionRows(int fromRow = 1);
    TPictureButton* SuggestionRowButton(int row) const { return whatNextRows_.buttons[row - 1]; }
    void GoBack();
    void GoForward();
    // Runs a command later, from Timer1.
    void DeferCommand(int code) override;
    void RunCommand(int code);
    int currentPanel() const { return currentPanel_; }
    int previousPanel() const { return previousPanel_; }
    const std::vector<int>& suggestions() const { return suggestions_; }
    // The suggestions in the what-next rows, row 1 first.
    std::vector<int> SuggestionRows() const { return whatNextRows_.shown; }
    const PanelHistory& history() const { return history_; }
    QWidget* PanelFrame() const { return panelFrame_; }
    bool BackAvailable() const;
    bool ForwardAvailable() const;
    // A side panel changed the style it shows: the history records it as a switch to the
    // panel shown.
    void RecordPanelChange();
    bool ShapePanelShowing() const override;
    void PanelStep(int step) override;
    // The text panel follows the typing on the canvas.
    void TextEditingStarted(DesignView* window, ItemRecord* text) override;
    void TextEditingEnded(DesignView* window) override;
    bool LinePanelShowing() const override { return currentPanel_ == 98; }

    // Shows a dialog page; false when the host has no page for the code (nothing is shown).
    bool ShowDialog(TDialogHost* host, int code, int number, const QString& text);
    // The colour dialog with the dialog colours as its custom cells; none when cancelled.
    std::optional<int32_t> PickColour();

    // ---- the page-setup wizard ----
    // The wizard for the active design ("New Files" when none is open) or for the page setups
    // of new files. The File menu's Page Setup entries and the Insert panel's Page Setup link
    // open it here.
    enum class PageSetupFor { CurrentFile, NewFiles };
    void OpenPageSetup(PageSetupFor target);

    // ---- menus ----
    void EnableFileCommands(bool enabled);
    void SetGridMenu(int state, bool apply);
    void SetAnchorsMenu(int state);
    void SetSnapMenu(int state, bool apply);
    void SyncGridMenus(DesignView* design);
    void RebuildReopenMenu();
    void SetZoomMenu(double zoom);
    // A menu entry by its path of captions, such as "File/Page Setup/New Files".
    QAction* Action(const QString& path) const;
    QMenu* Menu(const QString& path) const;
    // The status bar's text, its short messages, pointer and zoom.
    void SetStatusText(const QString& text);
    QString StatusText() const;
    TStatusLine& StatusLine() { return *statusLine_; }
    QSplitter* SideColumnSplitter() const { return splitter2_; }

    QTimer Timer1, Timer2, Timer3, Timer4, Timer5, Timer6, Timer7, Timer8;

    // ---- what document windows ask of the main window ----
    void SetGlobalZoom(double zoom) override;
    void RefreshUndoCommands(const ItemList& design) override;
    void RefreshDesignControls() override;
    void SetGridSnapButtons(bool gridOn, bool snapOn) override;
    void WindowCaptionChanged(DesignView* window) override { RefreshWindowCaption(window); }
    void WindowActivated(DesignView* window) override;
    void ShowPanel(int code) override { ShowPanel(code, false, true, false); }
    int RememberedToolMode() const override;
    void RememberToolMode(int toolMode) override { rememberedToolMode_ = toolMode; }
    int NextUntitledNumber() override { return ++untitledCount_; }
    void InsertPictureFile(const QString& path) override;
    void EditClipPicture(DesignView* window, ItemRecord* clip) override;
    void PointerMoved(const ItemList& design, std::optional<Point> pointer, bool dragging,
                      std::optional<Rect> band) override;
    void ShowStatusMessage(const QString& text) override;

    // The toolbar row's height limits.
    static constexpr int kToolbarMinHeight = 24;
    static constexpr int kToolbarMaxHeight = 30;
    QWidget* ToolbarRow() const { return panel5_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void BuildLayout();
    void BuildMenus();
    void ApplyLook();
    QAction* AddAction(QMenu* menu, const QString& path, const QString& caption, const QKeySequence& shortcut = {});
    QMenu* AddMenu(QMenu* parent, const QString& path, const QString& caption);
    void RefreshHistoryButtons();
    void ReleasePanelFrame();
    QWidget* CreatePanelFrame(int code);
    bool EntryReachable(const HistoryEntry& entry) const;
    void ReturnToEntry(const HistoryEntry& entry);
    DesignView* DesignOfNumber(int32_t docNumber) const;
    void RunSuggestionAction(int suggestion);
    void ShowHintOr(int hintCode, int fallbackPanel, bool needsSelection);
    void RecordSwitch(int code);
    void OnLastDesignClosed();
    void OnDocumentClosed();
    void ChooseColour();
    // True when a key press is only being passed on from the widget that was offered it before.
    bool KeyAlreadyRouted(QObject* watched, const QEvent* event);
    bool AimedAtThisWindow(QObject* watched) const;
    void SetHintsAll(bool on);

    RegistryStore& store_;
    Prompt& prompt_;
    TParams params_;
    TDialogHost* formX_ = nullptr;
    TDialogHost* formY_ = nullptr;
    std::mt19937 random_;

    // state
    int currentPanel_ = 0;
    int previousPanel_ = 20;
    int pendingCommand_ = 0;
    mutable int nextDesignTool_ = 0;
    int rememberedToolMode_ = 0;
    int untitledCount_ = 0;
    std::vector<int> suggestions_;
    WhatNextRows whatNextRows_;
    EditControls editControls_;
    PanelHistory history_;
    // The key press last offered to a receiver, and that receiver.
    const QEvent* routedKey_ = nullptr;
    QPointer<QObject> routedReceiver_;
    bool exiting_ = false;
    bool closingWithoutQuestion_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool settingsSaved_ = false;
    QChar decimalSeparator_ = '.';
    QChar thousandSeparator_ = ',';

    // layout
    QSplitter* splitter3_ = nullptr;   // toolbar row | the rest
    QSplitter* splitter2_ = nullptr;   // side column | documents
    QSplitter* splitter4_ = nullptr;   // side panel | what-next box
    QWidget* panel5_ = nullptr;
    TProcs* toolbar_ = nullptr;
    QWidget* panel3_ = nullptr;
    QWidget* panelHolder_ = nullptr;
    QFrame* panel1_ = nullptr;
    QFrame* panel2_ = nullptr;
    QTextEdit* richEdit4_ = nullptr;
    TPictureButton* back1_ = nullptr;
    TPictureButton* forward1_ = nullptr;
    QLabel* label1_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;
    std::unique_ptr<TStatusLine> statusLine_;
    QWidget* insertPanel_ = nullptr;
    QWidget* panelFrame_ = nullptr;

    // menus
    std::map<QString, QAction*> actions_;
    std::map<QString, QMenu*> menus_;
    QMenu* windowMenu_ = nullptr;
    std::map<int32_t, QAction*> windowEntries_;
    // The document number each document window's Window menu entry is filed under.
    std::map<const QMdiSubWindow*, int32_t> windowNumbers_;
    std::map<QAction*, double> zoomEntries_;
};

} // namespace vlr
