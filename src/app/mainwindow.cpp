// The main window.
#include "app/mainwindow.h"

#include "app/dialoghost.h"
#include "app/programicon.h"
#include "app/shortcuts.h"
#include "app/toolbarwiring.h"
#include "app/windowplaces.h"
#include "canvas/commands.h"
#include "canvas/designview.h"
#include "model/history.h"
#include "model/itemlist.h"
#include "model/prompt.h"
#include "panels/panelfactory.h"
#include "panels/picturebutton.h"
#include "panels/procs.h"
#include "panels/sidepanel.h"
#include "panels/textbox.h"
#include "panels/toolbox.h"
#include "platform/registrystore.h"
#include "render/fontlist.h"
#include "render/rastercanvas.h"
#include "settings/measure.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWindow>

namespace vlr {

namespace {

constexpr const char* kTitle = "Velloran Business Cards";
constexpr const char* kWhatNextText = "Select what you want to do next...";
constexpr int kWhatNextHeight = 142;
constexpr int kSideColumnWidth = 120;

void Colour(QWidget* widget, int32_t bgr) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(QRgbFromColour(bgr)));
    palette.setColor(QPalette::Base, QColor(QRgbFromColour(bgr)));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The Insert menu: caption and the command its tag runs.
struct InsertEntry {
    const char* caption;
    int tag;
};
constexpr InsertEntry kInsertEntries[] = {
    {"Picture", 400}, {"Text", 300},   {"Line", 98},     {"Arc", 108},     {"Spline", 109},  {"Curve", 111},
    {"Triangle", 100}, {"Square", 101}, {"Rectangle", 102}, {"Circle", 103}, {"Pie", 107},   {"Ellipse", 104},
    {"Polygon", 199}, {"Star", 105},    {"Solid", 110},   {"Oblong", 112},
};

struct ZoomEntry {
    const char* caption;
    double zoom;
};
constexpr ZoomEntry kZoomEntries[] = {{"25%", 0.25},  {"50%", 0.5},   {"75%", 0.75},  {"100%", 1.0}, {"125%", 1.25},
                                      {"150%", 1.5},  {"175%", 1.75}, {"200%", 2.0},  {"300%", 3.0}};

const char* kFourWays[] = {"None", "Horizontal", "Vertical", "Both"};

// A name for the side panel of a code, shown by the plain frame.
QString PanelTitle(int code) {
    if (code == 20) {
        return "Insert";
    }
    if (code == 59) {
        return "Multiple selection";
    }
    if (code == 98 || code == 99) {
        return "Line";
    }
    if (code >= 100 && code <= 299) {
        return "Shape";
    }
    if (code >= 300 && code <= 303) {
        return "Text";
    }
    if (code == 401) {
        return "Clip";
    }
    if (code >= 1024 && code <= 1080) {
        return "Hints";
    }
    return {};
}

QWidget* PlainPanelFrame(int code, QWidget* parent, int32_t panelColour) {
    auto* frame = new QFrame(parent);
    Colour(frame, panelColour);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* title = new QLabel(PanelTitle(code), frame);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    layout->addStretch(1);
    return frame;
}

// A caption with the place where the window shows its unsaved-changes mark; a "[*]" of the
// caption itself is kept as text.
QString MarkableTitle(QString caption) {
    return caption.replace("[*]", "[*][*]") + "[*]";
}

bool SelectionIsText(DesignView* design) {
    if (!design) {
        return false;
    }
    ItemRecord* selected = FirstSelected(design->items());
    return selected && selected->kind == ItemKind::Text;
}

} // namespace

TForm1::TForm1(RegistryStore& store, Prompt& prompt, QWidget* parent)
    : QMainWindow(parent), store_(store), prompt_(prompt) {
    for (QTimer* timer : {&Timer1, &Timer2, &Timer3, &Timer4, &Timer5, &Timer6, &Timer7, &Timer8}) {
        timer->setSingleShot(true);
    }
    Timer1.setInterval(100);
    Timer2.setInterval(500);
    Timer3.setInterval(5000);
    Timer4.setInterval(200);
    Timer5.setInterval(200);
    Timer6.setInterval(1000);
    Timer7.setInterval(200);
    Timer8.setInterval(200);
    FormCreate();
}

TForm1::~TForm1() {
    *alive_ = false;
    qApp->removeEventFilter(this);
    // The document windows no longer report; they are freed here, while the window they call
    // back still exists (a focused one is told it loses the focus as the widget tree goes).
    QObject::disconnect(mdiArea_, nullptr, this, nullptr);
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    for (QMdiSubWindow* window : windows) {
        QObject::disconnect(window, nullptr, this, nullptr);
    }
    qDeleteAll(windows);
    if (!settingsSaved_) {
        SaveSettings(params_, store_);
        SaveDialogColors(params_.slots, store_);
    }
}

void TForm1::FormCreate() {
    // Every key of the application reaches the design before normal dispatch.
    qApp->installEventFilter(this);
    setWindowTitle(kTitle);
    // Every window of the program, the document windows and dialog hosts too, carries its icon.
    QApplication::setWindowIcon(ProgramIcon());
    QLocale locale;
    decimalSeparator_ = locale.decimalPoint().at(0);
    thousandSeparator_ = locale.groupSeparator().isEmpty() ? QChar(' ') : locale.groupSeparator().at(0);
    previousPanel_ = 20;
    random_.seed(std::random_device{}());

    params_.decimalSeparator = decimalSeparator_.toLatin1() ? decimalSeparator_.toLatin1() : '.';
    LoadDialogColors(params_.slots, store_);
    InitSettings(params_, store_);

    BuildLayout();
    BuildMenus();
    ConnectToolbar(*this, *toolbar_);
    AddMnemonics(menuBar());
    AddStandardShortcuts(*this);
    RebuildReopenMenu();
    ApplyLook();
    editControls_ = {
        Action("Edit/Cut"),         Action("Edit/Copy"), Action("Edit/Paste"), Action("Edit/Join Items"),
        Action("Edit/Split Group"), Action("Edit/Undo"), Action("Edit/Redo"),  toolbar_};
    RefreshUndoControls(editControls_, false, false);

    RefreshHistoryButtons();
    richEdit4_->setPlainText(kWhatNextText);
    SetGridMenu(0, false);
    SetAnchorsMenu(3);
    ShowPanel(20, false, false);
    label1_->setText("Back");
    label1_->hide();
    EnableFileCommands(false);

    connect(&Timer1, &QTimer::timeout, this, [this] {
        RunCommand(pendingCommand_);
        if (TToolbox* insert = InsertPanel()) {
            insert->ClearBusy();
        }
    });
    connect(&Timer2, &QTimer::timeout, this, [this] {
        if (!exiting_ && OpenDesigns().empty() && hooks.files.openDocument) {
            hooks.files.openDocument(QString());
        }
    });
    connect(&Timer3, &QTimer::timeout, this, [this] {
        PlainSuggestionRows();
        toolbar_->RestoreLooks();
    });
    connect(&Timer4, &QTimer::timeout, this, &TForm1::OnLastDesignClosed);
    connect(&Timer5, &QTimer::timeout, this, [this] {
        params_.fontList.clear();
        for (const FontFamily& family : InstalledFontFamilies()) {
            params_.fontList.push_back({family.name.toStdString(), family.charsets, -1});
        }
    });
    connect(&Timer6, &QTimer::timeout, this, [this] {
        if (TToolbox* insert = InsertPanel()) {
            insert->SetFirstTimeSetupShowing(true);
        }
        if (hooks.setup.showFirstTimeSetup) {
            hooks.setup.showFirstTimeSetup();
        }
    });
    connect(&Timer7, &QTimer::timeout, this, [this] {
        for (DesignView* design : OpenDesigns()) {
            ItemRecord* header = FindRecord(design->items(), ItemKind::Header);
            if (header && header->lightDirection != params_.state.lgtdir) {
                design->ApplyLightDirection(params_.state.lgtdir);
            }
        }
    });
    Timer5.start();
}

void TForm1::Start() {
    if (hooks.setup.firstTimeSetupPending && hooks.setup.firstTimeSetupPending()) {
        // No empty design behind the setup: the switch to the insert panel at creation started one.
        Timer2.stop();
        Timer6.start();
    } else {
        Timer2.start();
    }
    if (hooks.setup.repairFileAssociation) {
        hooks.setup.repairFileAssociation();
    }
}

void TForm1::BuildLayout() {
    splitter3_ = new QSplitter(Qt::Vertical, this);
    splitter3_->setChildrenCollapsible(false);
    splitter3_->setHandleWidth(3);
    panel5_ = new QWidget(splitter3_);
    panel5_->setMinimumHeight(kToolbarMinHeight);
    panel5_->setMaximumHeight(kToolbarMaxHeight);
    panel5_->resize(panel5_->width(), kToolbarMinHeight);
    new QHBoxLayout(panel5_);
    panel5_->layout()->setContentsMargins(0, 0, 0, 0);
    toolbar_ = new TProcs(panel5_);
    panel5_->layout()->addWidget(toolbar_);

    splitter2_ = new QSplitter(Qt::Horizontal, splitter3_);
    splitter2_->setChildrenCollapsible(false);
    splitter2_->setHandleWidth(3);
    panel3_ = new QWidget(splitter2_);
    panel3_->setMinimumWidth(kSideColumnWidth);
    auto* column = new QVBoxLayout(panel3_);
    column->setContentsMargins(0, 0, 0, 0);
    splitter4_ = new QSplitter(Qt::Vertical, panel3_);
    splitter4_->setChildrenCollapsible(false);
    splitter4_->setHandleWidth(3);
    column->addWidget(splitter4_);
    panelHolder_ = new QWidget(splitter4_);
    auto* holderLayout = new QVBoxLayout(panelHolder_);
    holderLayout->setContentsMargins(0, 0, 0, 0);

    // The what-next box.
    panel1_ = new QFrame(splitter4_);
    panel1_->setMinimumHeight(kWhatNextHeight);
    panel1_->setMaximumHeight(kWhatNextHeight);
    auto* box = new QVBoxLayout(panel1_);
    box->setContentsMargins(2, 2, 2, 2);
    box->setSpacing(2);
    richEdit4_ = new QTextEdit(panel1_);
    richEdit4_->setReadOnly(true);
    richEdit4_->setFrameStyle(QFrame::NoFrame);
    richEdit4_->setFixedHeight(30);
    richEdit4_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    richEdit4_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    richEdit4_->setFocusPolicy(Qt::NoFocus);
    box->addWidget(richEdit4_);
    AddSuggestionRows(whatNextRows_, *box);
    for (int row = 1; row <= kSuggestionRows; ++row) {
        TPictureButton* button = SuggestionRowButton(row);
        connect(button, &TPictureButton::pointed, this, [this, row] { HighlightSuggestionRow(row); });
        connect(button, &TPictureButton::clicked, this, [this, row] { RunSuggestion(row); });
    }
    box->addStretch(1);
    panel2_ = new QFrame(panel1_);
    auto* historyRow = new QHBoxLayout(panel2_);
    historyRow->setContentsMargins(2, 0, 2, 0);
    back1_ = new TPictureButton(QString(), ButtonStyle::Back, panel2_);
    back1_->setFixedSize(24, 20);
    label1_ = new QLabel(panel2_);
    forward1_ = new TPictureButton(QString(), ButtonStyle::Forward, panel2_);
    forward1_->setFixedSize(24, 20);
    historyRow->addWidget(back1_);
    historyRow->addWidget(label1_);
    historyRow->addStretch(1);
    historyRow->addWidget(forward1_);
    connect(back1_, &TPictureButton::clicked, this, &TForm1::GoBack);
    connect(forward1_, &TPictureButton::clicked, this, &TForm1::GoForward);
    box->addWidget(panel2_);

    mdiArea_ = new QMdiArea(splitter2_);
    mdiArea_->setViewMode(QMdiArea::SubWindowView);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (DesignView* design = ActiveDesign(); design && window) {
            CheckWindowEntry(design->docNumber());
            SyncGridMenus(design);
        }
    });
    splitter2_->addWidget(panel3_);
    splitter2_->addWidget(mdiArea_);
    splitter2_->setStretchFactor(1, 1);
    splitter2_->setSizes({kSideColumnWidth + 36, 800});
    splitter3_->addWidget(panel5_);
    splitter3_->addWidget(splitter2_);
    splitter3_->setStretchFactor(1, 1);
    splitter3_->setSizes({kToolbarMinHeight, 600});
    setCentralWidget(splitter3_);

    statusLine_ = std::make_unique<TStatusLine>(statusBar());
    resize(1000, 700);
}

void TForm1::ApplyLook() {
    const initWindow_t& look = params_.initWindow;
    QFont font(QString::fromStdString(look.fontName));
    font.setPointSize(look.fontSize);
    setFont(font);
    Colour(panel5_, look.panelColor);
    Colour(panel1_, look.panelColor);
    Colour(richEdit4_, look.panelColor);
    Colour(panel2_, look.backPanelColor);
    Colour(panel3_, look.panelColor);
    for (QSplitter* splitter : {splitter2_, splitter3_, splitter4_}) {
        QPalette palette = splitter->palette();
        palette.setColor(QPalette::Window, QColor(QRgbFromColour(look.splitterColor)));
        splitter->setPalette(palette);
    }
}

QAction* TForm1::AddAction(QMenu* menu, const QString& path, const QString& caption, const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
    }
    actions_[path] = action;
    return action;
}

QMenu* TForm1::AddMenu(QMenu* parent, const QString& path, const QString& caption) {
    QMenu* menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
    menus_[path] = menu;
    return menu;
}

QAction* TForm1::Action(const QString& path) const {
    auto found = actions_.find(path);
    return found == actions_.end() ? nullptr : found->second;
}

QMenu* TForm1::Menu(const QString& path) const {
    auto found = menus_.find(path);
    return found == menus_.end() ? nullptr : found->second;
}

void TForm1::BuildMenus() {
    auto call = [](const std::function<void()>& hook) {
        if (hook) {
            hook();
        }
    };
    // ---- File ----
    QMenu* file = AddMenu(nullptr, "File", "File");
    connect(AddAction(file, "File/New", "New", QKeySequence("Ctrl+N")), &QAction::triggered, this,
            [this, call] { call(hooks.files.fileNew); });
    connect(AddAction(file, "File/Open", "Open", QKeySequence("Ctrl+O")), &QAction::triggered, this,
            [this, call] { call(hooks.files.fileOpen); });
    QMenu* reopen = AddMenu(file, "File/Reopen", "Reopen");
    for (int position = 1; position <= kRecentFileCount; ++position) {
        QAction* entry = AddAction(reopen, "File/Reopen/" + QString::number(position), QString());
        entry->setVisible(false);
        connect(entry, &QAction::triggered, this, [this, position] {
            if (hooks.files.reopenRecent) {
                hooks.files.reopenRecent(position);
            }
        });
    }
    reopen->addSeparator();
    connect(AddAction(reopen, "File/Reopen/Clear...", "Clear..."), &QAction::triggered, this,
            [this, call] { call(hooks.files.clearRecent); });
    connect(AddAction(file, "File/Save", "Save", QKeySequence("Ctrl+S")), &QAction::triggered, this,
            [this, call] { call(hooks.files.fileSave); });
    connect(AddAction(file, "File/Save As", "Save As"), &QAction::triggered, this,
            [this, call] { call(hooks.files.fileSaveAs); });
    connect(AddAction(file, "File/Close", "Close"), &QAction::triggered, this,
            [this, call] { call(hooks.files.fileClose); });
    file->addSeparator();
    QMenu* pageSetup = AddMenu(file, "File/Page Setup", "Page Setup");
    connect(AddAction(pageSetup, "File/Page Setup/Current File", "Current File"), &QAction::triggered, this,
            [this] { OpenPageSetup(PageSetupFor::CurrentFile); });
    actions_["File/Page Setup/separator"] = pageSetup->addSeparator();
    connect(AddAction(pageSetup, "File/Page Setup/New Files", "New Files"), &QAction::triggered, this,
            [this] { OpenPageSetup(PageSetupFor::NewFiles); });
    QMenu* gridAndSnap = AddMenu(file, "File/Grid and Snap", "Grid and Snap");
    connect(AddAction(gridAndSnap, "File/Grid and Snap/Current File", "Current File"), &QAction::triggered, this,
            [this] {
                if (DesignView* design = ActiveDesign()) {
                    ShowDialog(formX_, 27, design->docNumber(), design->caption());
                }
            });
    actions_["File/Grid and Snap/separator"] = gridAndSnap->addSeparator();
    connect(AddAction(gridAndSnap, "File/Grid and Snap/New Files", "New Files"), &QAction::triggered, this,
            [this] { ShowDialog(formX_, 26, 0, "New Files"); });
    file->addSeparator();
    connect(AddAction(file, "File/Print Preview", "Print Preview"), &QAction::triggered, this,
            [this, call] { call(hooks.output.printPreview); });
    connect(AddAction(file, "File/Print", "Print", QKeySequence("Ctrl+P")), &QAction::triggered, this,
            [this, call] { call(hooks.output.print); });
    connect(AddAction(file, "File/Printer Calibration", "Printer Calibration..."), &QAction::triggered, this,
            [this, call] { call(hooks.output.printerCalibration); });
    // Export and Screenshot stay hidden; their commands exist.
    actions_["File/Export/separator"] = file->addSeparator();
    QMenu* exportMenu = AddMenu(file, "File/Export", "Export");
    connect(AddAction(exportMenu, "File/Export/Exact", "Exact"), &QAction::triggered, this,
            [this, call] { call(hooks.output.exportExact); });
    connect(AddAction(exportMenu, "File/Export/Smooth", "Smooth"), &QAction::triggered, this,
            [this, call] { call(hooks.output.exportSmooth); });
    connect(AddAction(file, "File/Screenshot", "Screenshot"), &QAction::triggered, this,
            [this, call] { call(hooks.output.screenshot); });
    actions_["File/Export"] = exportMenu->menuAction();
    actions_["File/Export"]->setVisible(false);
    actions_["File/Export/separator"]->setVisible(false);
    actions_["File/Screenshot"]->setVisible(false);
    file->addSeparator();
    connect(AddAction(file, "File/Exit", "Exit"), &QAction::triggered, this, [this] { close(); });

    // ---- Insert ----
    QMenu* insert = AddMenu(nullptr, "Insert", "Insert");
    for (const InsertEntry& entry : kInsertEntries) {
        QAction* action = AddAction(insert, QString("Insert/") + entry.caption, entry.caption);
        action->setData(entry.tag);
        connect(action, &QAction::triggered, this, [this, tag = entry.tag] { RunCommand(tag); });
    }

    // ---- Edit ----
    QMenu* edit = AddMenu(nullptr, "Edit", "Edit");
    connect(AddAction(edit, "Edit/Undo", "Undo", QKeySequence("Ctrl+Z")), &QAction::triggered, this,
            [this, call] { call(hooks.edit.undo); });
    connect(AddAction(edit, "Edit/Redo", "Redo", QKeySequence("Ctrl+Alt+Z")), &QAction::triggered, this,
            [this, call] { call(hooks.edit.redo); });
    connect(AddAction(edit, "Edit/Clear Undo and Redo", "Clear Undo and Redo"), &QAction::triggered, this,
            [this, call] { call(hooks.edit.clearUndo); });
    edit->addSeparator();
    connect(AddAction(edit, "Edit/Cut", "Cut", QKeySequence("Ctrl+Del")), &QAction::triggered, this,
            [this, call] { call(hooks.edit.cut); });
    connect(AddAction(edit, "Edit/Copy", "Copy", QKeySequence("Ctrl+Ins")), &QAction::triggered, this,
            [this, call] { call(hooks.edit.copy); });
    connect(AddAction(edit, "Edit/Paste", "Paste", QKeySequence("Shift+Ins")), &QAction::triggered, this,
            [this, call] { call(hooks.edit.paste); });
    QAction* copyToClipboard = AddAction(edit, "Edit/Copy to Clipboard", "Copy to Clipboard");
    copyToClipboard->setVisible(false);
    connect(copyToClipboard, &QAction::triggered, this, [this, call] { call(hooks.edit.copyToClipboard); });
    edit->addSeparator();
    connect(AddAction(edit, "Edit/Join Items", "Join Items"), &QAction::triggered, this,
            [this, call] { call(hooks.edit.joinItems); });
    connect(AddAction(edit, "Edit/Split Group", "Split Group"), &QAction::triggered, this,
            [this, call] { call(hooks.edit.splitGroup); });
    connect(edit, &QMenu::aboutToShow, this, [this] {
        DesignView* design = ActiveDesign();
        Action("Edit/Copy to Clipboard")->setEnabled(design && design->HasCopyArea());
    });

    // ---- Zoom ----
    QMenu* zoom = AddMenu(nullptr, "Zoom", "Zoom");
    for (const ZoomEntry& entry : kZoomEntries) {
        QAction* action = AddAction(zoom, QString("Zoom/") + entry.caption, entry.caption);
        action->setCheckable(true);
        zoomEntries_[action] = entry.zoom;
        connect(action, &QAction::triggered, this, [this, value = entry.zoom] {
            params_.zoom = value;
            SetZoomMenu(value);
            if (DesignView* design = ActiveDesign()) {
                design->SetZoom(value);
            }
        });
    }
    SetZoomMenu(1.0);

    // ---- Tools ----
    QMenu* tools = AddMenu(nullptr, "Tools", "Tools");
    QMenu* grid = AddMenu(tools, "Tools/Grid", "Grid");
    for (int state = 0; state < 4; ++state) {
        QAction* action = AddAction(grid, QString("Tools/Grid/") + kFourWays[state], kFourWays[state]);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, state] {
            DesignView* design = ActiveDesign();
            if (design) {
                design->SetGridShown(state);
            }
            // The check marks and the toolbar tell what the design now shows, nothing else.
            SyncGridMenus(design);
            if (!design) {
                return;
            }
            if (state > 0 && HintShown(params_, 1028)) {
                ShowPanel(1028);
            }
        });
    }
    grid->addSeparator();
    QMenu* anchors = AddMenu(grid, "Tools/Grid/Anchors", "Anchors");
    for (int state = 0; state < 4; ++state) {
        QAction* action = AddAction(anchors, QString("Tools/Grid/Anchors/") + kFourWays[state], kFourWays[state]);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, state] {
            DesignView* design = ActiveDesign();
            if (design) {
                design->SetAnchorsShown(state);
            }
            SyncGridMenus(design);
            if (!design) {
                return;
            }
            if (state > 0 && HintShown(params_, 1042)) {
                ShowPanel(1042);
            }
        });
    }
    QMenu* reset = AddMenu(grid, "Tools/Grid/Reset", "Reset");
    const int resetAxes[] = {2, 4, 6};
    for (int i = 0; i < 3; ++i) {
        QAction* action = AddAction(reset, QString("Tools/Grid/Reset/") + kFourWays[i + 1], kFourWays[i + 1]);
        connect(action, &QAction::triggered, this, [this, axes = resetAxes[i]] {
            DesignView* design = ActiveDesign();
            if (!design) {
                return;
            }
            PromptAnswer answer = prompt_.Ask(PromptIcon::Question,
                                              "Make the distances between the gridlines equal?\n"
                                              "(Use 'Tools|Grid|Customize...' to set the default distance).",
                                              PromptButtons::YesNo);
            // The design may have closed while the question was open.
            if (answer != PromptAnswer::No && design == ActiveDesign()) {
                design->EqualizeGrid(axes);
            }
        });
    }
    grid->addSeparator();
    // The grid options of the active design, or of new files when none is open.
    connect(AddAction(grid, "Tools/Grid/Customize...", "Customize..."), &QAction::triggered, this, [this] {
        DesignView* design = ActiveDesign();
        const bool shown = design ? ShowDialog(formX_, 27, design->docNumber(), design->caption())
                                  : ShowDialog(formX_, 26, 0, "New Files");
        if (shown && HintShown(params_, 1028)) {
            ShowPanel(1028);
        }
    });
    QMenu* snap = AddMenu(tools, "Tools/Snap", "Snap");
    for (int state = 0; state < 4; ++state) {
        QAction* action = AddAction(snap, QString("Tools/Snap/") + kFourWays[state], kFourWays[state]);
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, state] {
            DesignView* design = ActiveDesign();
            if (design) {
                design->SetSnap(state);
            }
            SyncGridMenus(design);
            if (!design) {
                return;
            }
            if (state == 3 && HintShown(params_, 1029)) {
                ShowPanel(1029);
            }
        });
    }
    connect(AddAction(tools, "Tools/Speed", "Speed"), &QAction::triggered, this, [this] {
        DesignView* design = ActiveDesign();
        ShowDialog(formY_, 64, design ? design->docNumber() : 0,
                   design ? "Speed - " + design->caption() : QString("Speed"));
    });

    // ---- Customize ----
    QMenu* customize = AddMenu(nullptr, "Customize", "Customize");
    connect(AddAction(customize, "Customize/Colors", "Colors"), &QAction::triggered, this, &TForm1::ChooseColour);
    connect(AddAction(customize, "Customize/Line Weights", "Line Weights"), &QAction::triggered, this,
            [this] { ShowDialog(formY_, 9, 0, QString()); });
    connect(AddAction(customize, "Customize/Line Patterns", "Line Patterns"), &QAction::triggered, this,
            [this] { ShowDialog(formX_, 10, 0, QString()); });
    connect(AddAction(customize, "Customize/Alignments", "Alignments"), &QAction::triggered, this,
            [this] { ShowDialog(formX_, 11, 0, QString()); });
    connect(AddAction(customize, "Customize/Font sizes", "Font sizes"), &QAction::triggered, this,
            [this] { ShowDialog(formX_, 41, 0, QString()); });
    connect(AddAction(customize, "Customize/Text angles", "Text angles"), &QAction::triggered, this,
            [this] { ShowDialog(formX_, 40, 0, QString()); });
    connect(AddAction(customize, "Customize/Shadows", "Shadows"), &QAction::triggered, this,
            [this] { ShowDialog(formY_, 63, 0, QString()); });

    // ---- Window ----
    windowMenu_ = AddMenu(nullptr, "Window", "Window");
    windowMenu_->menuAction()->setVisible(false);

    // ---- Help ----
    QMenu* help = AddMenu(nullptr, "Help", "Help");
    QMenu* hints = AddMenu(help, "Help/Hints", "Hints");
    QAction* showAll = AddAction(hints, "Help/Hints/Show All", "Show All");
    QAction* showNone = AddAction(hints, "Help/Hints/Show None", "Show None");
    showAll->setCheckable(true);
    showNone->setCheckable(true);
    connect(showAll, &QAction::triggered, this, [this] { SetHintsAll(true); });
    connect(showNone, &QAction::triggered, this, [this] { SetHintsAll(false); });
    connect(help, &QMenu::aboutToShow, this, [this] {
        bool all = std::all_of(params_.hints.begin(), params_.hints.end(), [](uint8_t on) { return on != 0; });
        bool none = std::none_of(params_.hints.begin(), params_.hints.end(), [](uint8_t on) { return on != 0; });
        Action("Help/Hints/Show All")->setChecked(all);
        Action("Help/Hints/Show None")->setChecked(none);
    });
    connect(AddAction(help, "Help/About", "About"), &QAction::triggered, this,
            [this] { ShowDialog(formX_, 45, 0, QString()); });
}

void TForm1::SetHintsAll(bool on) {
    params_.hints.fill(on ? 1 : 0);
    Action("Help/Hints/Show All")->setChecked(on);
    Action("Help/Hints/Show None")->setChecked(!on);
}

void TForm1::OpenPageSetup(PageSetupFor target) {
    // Without an open design "Current File" sets up new files, under their title.
    DesignView* design = target == PageSetupFor::CurrentFile ? ActiveDesign() : nullptr;
    if (design) {
        ShowDialog(formX_, 54, design->docNumber(), design->caption());
    } else {
        ShowDialog(formX_, 54, target == PageSetupFor::CurrentFile ? -1 : 0, "New Files");
    }
}

bool TForm1::ShowDialog(TDialogHost* host, int code, int number, const QString& text) {
    // A command whose page is not part of the program shows nothing, not an empty host.
    if (!host || !host->HasPage(code)) {
        return false;
    }
    if (host->ShowPage(code, number, text)) {
        host->show();
        host->raise();
    }
    return true;
}

std::optional<int32_t> TForm1::PickColour() {
    StyleSlots& slots = params_.slots;
    // The dialog's custom cells come from the dialog colour entries and go back to them.
    std::array<QColor, kDialogColourCount> handedOver;
    for (int cell = 0; cell < kDialogColourCount; ++cell) {
        const std::string& entry = slots.dialogColours[cell];
        int32_t value = IsValidDialogColour(entry) ? DialogColourValue(entry) : -1;
        handedOver[cell] = value < 0 ? QColor(Qt::white) : QColor(QRgbFromColour(value));
        QColorDialog::setCustomColor(cell, handedOver[cell]);
    }
    QColor chosen = QColorDialog::getColor(Qt::black, this, "Colors");
    for (int cell = 0; cell < kDialogColourCount; ++cell) {
        QColor back = QColorDialog::customColor(cell);
        if (back == handedOver[cell]) {
            continue;   // unchanged, unused cells stay unused
        }
        char hex[16];
        std::snprintf(hex, sizeof hex, "%02X%02X%02X", back.blue(), back.green(), back.red());
        slots.dialogColours[cell] = std::string("color") + char('A' + cell) + "=" + hex;
    }
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16);
}

void TForm1::ChooseColour() {
    if (const std::optional<int32_t> colour = PickColour(); colour && ColourPosition(params_.slots, *colour) == -1) {
        AddCustomColour(params_.slots, *colour);
    }
}

// ---- document windows ----

QMdiSubWindow* TForm1::AddDesignView(DesignView* view) {
    QMdiSubWindow* window = mdiArea_->addSubWindow(view->widget());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(QApplication::windowIcon());
    window->setWindowTitle(MarkableTitle(view->caption()));
    window->setWindowModified(IsModified(view->items()));
    const int32_t number = view->docNumber();
    AddWindowEntry(view->caption(), number);
    windowNumbers_[window] = number;
    // A window may be freed while the main window itself is being destroyed. Its number may
    // have changed since it was added (a file opened into it), so the entry is found through
    // the window, whose address is only compared here, never followed.
    connect(window, &QObject::destroyed, this, [this, window, alive = alive_] {
        if (!*alive) {
            return;
        }
        auto found = windowNumbers_.find(window);
        if (found != windowNumbers_.end()) {
            const int32_t current = found->second;
            windowNumbers_.erase(found);
            RemoveWindowEntry(current);
        }
        OnDocumentClosed();
    });
    // Large enough for the page, as far as the document area allows.
    QSize wanted = window->sizeHint();   // the page with the frame around it
    // (Before the main window is laid out the area is tiny: then the page decides.)
    QSize room = mdiArea_->viewport()->size() * 0.95;
    if (room.width() >= 300 && room.height() >= 200) {
        wanted = wanted.boundedTo(room);
    }
    window->resize(wanted);
    window->show();
    mdiArea_->setActiveSubWindow(window);
    EnableFileCommands(true);
    CheckWindowEntry(number);
    return window;
}

DesignView* TForm1::ActiveDesign() const {
    QMdiSubWindow* window = mdiArea_ ? mdiArea_->activeSubWindow() : nullptr;
    if (!window && mdiArea_ && !mdiArea_->subWindowList().isEmpty()) {
        window = mdiArea_->currentSubWindow();
    }
    return window ? dynamic_cast<DesignView*>(window->widget()) : nullptr;
}

std::vector<DesignView*> TForm1::OpenDesigns() const {
    std::vector<DesignView*> designs;
    if (!mdiArea_) {
        return designs;
    }
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (auto* design = dynamic_cast<DesignView*>(window->widget())) {
            designs.push_back(design);
        }
    }
    return designs;
}

DesignView* TForm1::DesignOfNumber(int32_t docNumber) const {
    for (DesignView* design : OpenDesigns()) {
        if (design->docNumber() == docNumber) {
            return design;
        }
    }
    return nullptr;
}

void TForm1::AddWindowEntry(const QString& caption, int32_t docNumber) {
    QAction*& entry = windowEntries_[docNumber];
    if (!entry) {
        entry = windowMenu_->addAction(caption);
        entry->setCheckable(true);
        entry->setData(docNumber);
        connect(entry, &QAction::triggered, this, [this, docNumber] { ActivateDocument(docNumber); });
    }
    entry->setText(MenuText(caption));
    windowMenu_->menuAction()->setVisible(true);
}

void TForm1::CheckWindowEntry(int32_t docNumber) {
    QString caption;
    for (auto& [number, entry] : windowEntries_) {
        entry->setChecked(number == docNumber);
        if (number == docNumber) {
            caption = entry->text();
        }
    }
    bool show = !caption.trimmed().isEmpty();
    for (const char* menu : {"File/Page Setup", "File/Grid and Snap"}) {
        QAction* current = Action(QString(menu) + "/Current File");
        current->setText(show ? caption : QString("Current File"));
        current->setVisible(show);
        Action(QString(menu) + "/separator")->setVisible(show);
    }
}

void TForm1::RemoveWindowEntry(int32_t docNumber) {
    auto found = windowEntries_.find(docNumber);
    if (found != windowEntries_.end()) {
        found->second->deleteLater();
        windowMenu_->removeAction(found->second);
        windowEntries_.erase(found);
    }
    if (windowEntries_.empty()) {
        windowMenu_->menuAction()->setVisible(false);
        for (const char* menu : {"File/Page Setup", "File/Grid and Snap"}) {
            Action(QString(menu) + "/Current File")->setVisible(false);
            Action(QString(menu) + "/separator")->setVisible(false);
        }
    }
}

bool TForm1::ActivateDocument(int32_t docNumber) {
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        auto* design = dynamic_cast<DesignView*>(window->widget());
        if (design && design->docNumber() == docNumber) {
            mdiArea_->setActiveSubWindow(window);
            return true;
        }
    }
    return false;
}

void TForm1::RefreshWindowCaption(DesignView* view) {
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (window->widget() == view->widget()) {
            window->setWindowTitle(MarkableTitle(view->caption()));
            window->setWindowModified(IsModified(view->items()));
            // A design opened into the window brings a new number: the old entry goes.
            auto known = windowNumbers_.find(window);
            if (known != windowNumbers_.end() && known->second != view->docNumber()) {
                RemoveWindowEntry(known->second);
            }
            windowNumbers_[window] = view->docNumber();
        }
    }
    AddWindowEntry(view->caption(), view->docNumber());
    if (view == ActiveDesign()) {
        CheckWindowEntry(view->docNumber());
    }
}

void TForm1::CloseDesignWithoutQuestion(DesignView* view) {
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (window->widget() == view->widget()) {
            closingWithoutQuestion_ = true;
            window->close();
            closingWithoutQuestion_ = false;
        }
    }
}

void TForm1::SetGlobalZoom(double zoom) {
    params_.zoom = zoom;
    SetZoomMenu(zoom);
}

void TForm1::RefreshUndoCommands(const ItemList& design) {
    // Every edit and every undo comes this way: the caption's mark follows the design.
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (auto* view = dynamic_cast<DesignView*>(window->widget())) {
            window->setWindowModified(IsModified(view->items()));
        }
    }
    RefreshUndoControls(editControls_, CanUndo(design), CanRedo(design));
}

void TForm1::SetGridSnapButtons(bool gridOn, bool snapOn) {
    toolbar_->SetGridSnap(gridOn, snapOn);
}

void TForm1::WindowActivated(DesignView* window) {
    CheckWindowEntry(window->docNumber());
    SyncGridMenus(window);
}

int TForm1::RememberedToolMode() const {
    // A panel chosen while no design was open gives the new design its tool.
    if (nextDesignTool_ != 0) {
        int tool = nextDesignTool_;
        nextDesignTool_ = 0;
        return tool;
    }
    return rememberedToolMode_;
}

void TForm1::InsertPictureFile(const QString& path) {
    if (hooks.pictures.insertPictureFile) {
        hooks.pictures.insertPictureFile(path);
    }
}

void TForm1::EditClipPicture(DesignView* window, ItemRecord* clip) {
    if (hooks.pictures.editClipPicture) {
        hooks.pictures.editClipPicture(window, clip);
    }
}

int TForm1::TakeNextDesignTool() {
    int tool = nextDesignTool_;
    nextDesignTool_ = 0;
    return tool;
}

void TForm1::OnDocumentClosed() { Timer4.start(); }

void TForm1::OnLastDesignClosed() {
    if (!OpenDesigns().empty()) {
        return;
    }
    RefreshUndoControls(editControls_, false, false);
    params_.zoom = 1.0;
    SetZoomMenu(1.0);
    ShowPanel(20);
    SyncGridMenus(nullptr);
    const defaults_t& d = params_.state.defaults;
    toolbar_->SetGridSnap(d.showGridX || d.showGridY, d.snapX || d.snapY);
    EnableFileCommands(false);
}

// ---- side panels ----

bool TForm1::EntryReachable(const HistoryEntry& entry) const {
    DesignView* design = DesignOfNumber(entry.docNumber);
    if (!design || entry.tag < 0) {
        return false;
    }
    for (ItemRecord* record : design->items()) {
        if (IsLiveItem(record) &&
            std::find(record->tagList.begin(), record->tagList.end(), entry.tag) != record->tagList.end()) {
            return true;
        }
    }
    return false;
}

void TForm1::ReleasePanelFrame() {
    if (!panelFrame_) {
        return;
    }
    if (panelFrame_ == insertPanel_) {
        insertPanel_->hide();
    } else {
        panelFrame_->hide();
        panelFrame_->deleteLater();
    }
    panelFrame_ = nullptr;
}

ItemList& TForm1::CopyList() {
    return toolbar_->CopyList();
}

TToolbox* TForm1::InsertPanel() const {
    return qobject_cast<TToolbox*>(insertPanel_);
}

QWidget* TForm1::CreatePanelFrame(int code) {
    QWidget* frame = code == 20 ? CreateInsertPanel(*this, panelHolder_) : nullptr;
    if (!frame && hooks.panels.createPanelFrame) {
        frame = hooks.panels.createPanelFrame(code, panelHolder_);
    }
    if (!frame) {
        frame = PlainPanelFrame(code, panelHolder_, params_.initWindow.panelColor);
    }
    panelHolder_->layout()->addWidget(frame);
    return frame;
}

void TForm1::RecordSwitch(int code) {
    DesignView* design = ActiveDesign();
    int32_t docNumber = design ? design->docNumber() : -1;
    int32_t tag = design ? UnusedTag(design->items(), random_) : -1;
    if (history_.Record(code, CurrentLineStyle(params_), CurrentTextStyle(params_), docNumber, tag) && design) {
        StampTag(design->items(), tag);
    }
}

void TForm1::RecordPanelChange() {
    RecordSwitch(currentPanel_);
    RefreshHistoryButtons();
}

bool TForm1::ShapePanelShowing() const {
    return IsShapePanelCode(currentPanel_);
}

void TForm1::TextEditingStarted(DesignView*, ItemRecord*) {
    if (auto* panel = qobject_cast<TTextbox*>(panelFrame_)) {
        panel->EditingStarted();
    }
}

void TForm1::TextEditingEnded(DesignView*) {
    if (auto* panel = qobject_cast<TTextbox*>(panelFrame_)) {
        panel->EditingEnded();
    }
}

void TForm1::PanelStep(int step) {
    if (auto* panel = qobject_cast<TStylePanel*>(panelFrame_)) {
        panel->SetStep(step);
    }
}

void TForm1::ShowPanel(int code, bool skipIfSame, bool notifyDesign, bool fromHistory) {
    if (skipIfSame && code == currentPanel_) {
        return;
    }
    DesignView* design = ActiveDesign();
    if (!fromHistory) {
        RecordSwitch(code);
    }
    RefreshHistoryButtons();

    ReleasePanelFrame();
    if (code == 20) {
        if (!insertPanel_) {
            insertPanel_ = CreatePanelFrame(20);
        }
        panelFrame_ = insertPanel_;
        if (TToolbox* insert = InsertPanel()) {
            insert->ShowSetupLink();
        }
    } else {
        panelFrame_ = CreatePanelFrame(code);
    }
    panelFrame_->show();
    if (code >= 1024 && code <= 1080) {
        previousPanel_ = currentPanel_;
    }
    SuggestionContext context;
    context.designHasSelection = design && FirstSelected(design->items());
    context.selectionIsText = SelectionIsText(design);
    suggestions_ = SuggestionsFor(code, context);
    const bool insertionPanel = code == 98 || (code >= 100 && code <= 199) || code == 300 || code == 302 || code == 303;
    if (design && (notifyDesign || insertionPanel)) {
        design->SelectPanel(code);
    }
    if (const std::optional<ToolbarButton> tool = ToolOfPanel(code)) {
        toolbar_->SetCurrentTool(*tool);
    }
    currentPanel_ = code;
    RebuildSuggestions();

    if (!design && (code == 98 || code == 300 || code == 59 || code == 401 || (code >= 100 && code <= 199))) {
        nextDesignTool_ = code == 98 ? 1 : code == 300 ? 31 : code;
    }
    // Every switch gives Timer2 the chance to open an empty design when no window is open, so
    // closing the last design brings a new one; not while the program is ending.
    if (!exiting_) {
        Timer2.start();
    }
    RefreshDesignControls();
    if (design && code >= 100 && code <= 299) {
        design->RefreshInsertionState();
    }
}

void TForm1::RefreshDesignControls() {
    DesignView* design = ActiveDesign();
    RefreshSelectionControls(editControls_, SelectionCommandsOf(design ? &design->items() : nullptr, CopyList()),
                             panelFrame_);
}

void TForm1::RebuildSuggestions() {
    FillSuggestionRows(whatNextRows_, suggestions_);
}

void TForm1::RunSuggestion(int row) {
    if (const std::optional<int> suggestion = TakeSuggestion(whatNextRows_, row)) {
        RunSuggestionAction(*suggestion);
    }
}

void TForm1::HighlightSuggestionRow(int row) {
    vlr::HighlightSuggestionRow(whatNextRows_, row, Timer3);
}

void TForm1::PlainSuggestionRows(int fromRow) {
    vlr::PlainSuggestionRows(whatNextRows_, fromRow);
}

void TForm1::ShowHintOr(int hintCode, int fallbackPanel, bool needsSelection) {
    DesignView* design = ActiveDesign();
    if (HintShown(params_, hintCode)) {
        ShowPanel(hintCode);
    } else if (!needsSelection || (design && FirstSelected(design->items()))) {
        ShowPanel(fallbackPanel);
    } else {
        ShowPanel(20);
    }
}

void TForm1::RunSuggestionAction(int suggestion) {
    SuggestionAction action = ActionOfSuggestion(suggestion);
    DesignView* design = ActiveDesign();
    if (action.selectLast && design) {
        SelectLastItem(design->items());
    }
    bool selected = design && FirstSelected(design->items());
    switch (action.kind) {
    case SuggestionAction::ShowPanel:
        ShowPanel(action.needsSelection && !selected ? action.fallbackPanel : action.code);
        break;
    case SuggestionAction::ShowHint:
        if (action.conditionalHint) {
            ShowHintOr(action.code, action.fallbackPanel, true);
        } else {
            ShowPanel(action.code);
        }
        break;
    case SuggestionAction::Deferred:
        DeferCommand(action.code);
        break;
    case SuggestionAction::Join:
        if (hooks.edit.joinItems) {
            hooks.edit.joinItems();
        }
        ShowPanel(action.code);
        break;
    case SuggestionAction::Split:
        if (hooks.edit.splitGroup) {
            hooks.edit.splitGroup();
        }
        ShowPanel(action.code);
        break;
    }
}

void TForm1::DeferCommand(int code) {
    pendingCommand_ = code;
    Timer1.start();
}

void TForm1::RunCommand(int code) {
    switch (code) {
    case 43:
        ShowPanel(previousPanel_);
        break;
    case 301:
        RunSuggestionAction(6);
        break;
    case 400:
        if (hooks.pictures.insertPicture) {
            hooks.pictures.insertPicture();
        }
        ShowPanel(20);
        break;
    case 503:
    case 510:
        ShowDialog(formX_, code, code == 503 ? 0 : 1, QString());
        break;
    case 1061:
        ShowPanel(109, true, false);
        break;
    case 1064:
        ShowPanel(110, true, false);
        break;
    case 1074:
    case 1075:
        ShowPanel(code, true, false);
        break;
    default:
        if (code != 0) {
            ShowPanel(code);
        }
        break;
    }
}

void TForm1::GoBack() {
    auto reachable = [this](const HistoryEntry& entry) { return EntryReachable(entry); };
    std::optional<HistoryEntry> target = history_.StepBack(reachable);
    if (!target) {
        RefreshHistoryButtons();
        ShowPanel(20, false, true, true);
        return;
    }
    ReturnToEntry(*target);
}

void TForm1::GoForward() {
    auto reachable = [this](const HistoryEntry& entry) { return EntryReachable(entry); };
    if (std::optional<HistoryEntry> target = history_.StepForward(reachable)) {
        ReturnToEntry(*target);
    } else {
        RefreshHistoryButtons();
    }
}

// The panel of a history entry with the selection or the styles it recorded.
void TForm1::ReturnToEntry(const HistoryEntry& entry) {
    if (IsFineTunePanel(entry.panelCode)) {
        ActivateDocument(entry.docNumber);
        if (DesignView* design = DesignOfNumber(entry.docNumber)) {
            SelectTagged(design->items(), design->commands(), entry.tag);
        }
    } else if (entry.panelCode == 300) {
        RestoreTextStyle(params_, entry.text);
    } else if (IsInsertionPanel(entry.panelCode)) {
        RestoreLineStyle(params_, entry.line);
    }
    RefreshHistoryButtons();
    ShowPanel(entry.panelCode, false, true, true);
}

bool TForm1::BackAvailable() const {
    return history_.CanGoBack([this](const HistoryEntry& entry) { return EntryReachable(entry); });
}

bool TForm1::ForwardAvailable() const {
    return history_.CanGoForward([this](const HistoryEntry& entry) { return EntryReachable(entry); });
}

void TForm1::RefreshHistoryButtons() {
    if (!back1_) {
        return;
    }
    bool back = BackAvailable();
    back1_->setGrey(!back);
    label1_->setVisible(back);
    forward1_->setGrey(!ForwardAvailable());
}

// ---- menus ----

void TForm1::EnableFileCommands(bool enabled) {
    for (const char* path : {"File/Save", "File/Save As", "File/Close", "File/Print", "File/Print Preview",
                             "File/Export", "Edit/Clear Undo and Redo"}) {
        Action(path)->setEnabled(enabled);
    }
}

void TForm1::SetGridMenu(int state, bool apply) {
    for (int i = 0; i < 4; ++i) {
        Action(QString("Tools/Grid/") + kFourWays[i])->setChecked(i == state);
    }
    Menu("Tools/Grid/Reset")->setEnabled(state != 0);
    Menu("Tools/Grid/Anchors")->setEnabled(state != 0);
    Action("Tools/Grid/Reset/Horizontal")->setEnabled(state == 1 || state == 3);
    Action("Tools/Grid/Reset/Vertical")->setEnabled(state == 2 || state == 3);
    Action("Tools/Grid/Reset/Both")->setEnabled(state == 3);
    if (apply) {
        toolbar_->SetGridSnap(state > 0, Action("Tools/Snap/None") && !Action("Tools/Snap/None")->isChecked());
    }
}

void TForm1::SetAnchorsMenu(int state) {
    for (int i = 0; i < 4; ++i) {
        Action(QString("Tools/Grid/Anchors/") + kFourWays[i])->setChecked(i == state);
    }
}

void TForm1::SetSnapMenu(int state, bool apply) {
    for (int i = 0; i < 4; ++i) {
        Action(QString("Tools/Snap/") + kFourWays[i])->setChecked(i == state);
    }
    if (apply) {
        toolbar_->SetGridSnap(!Action("Tools/Grid/None")->isChecked(), state > 0);
    }
}

void TForm1::SyncGridMenus(DesignView* design) {
    auto pair = [](uint8_t x, uint8_t y) { return (x ? 1 : 0) + (y ? 2 : 0); };
    ItemRecord* header = design ? FindRecord(design->items(), ItemKind::Header) : nullptr;
    if (header) {
        SetGridMenu(pair(header->showGridX, header->showGridY), false);
        SetAnchorsMenu(pair(header->anchorsX, header->anchorsY));
        SetSnapMenu(pair(header->snapX, header->snapY), true);
    } else {
        const defaults_t& d = params_.state.defaults;
        SetGridMenu(pair(d.showGridX, d.showGridY), false);
        SetAnchorsMenu(pair(d.anchorsX, d.anchorsY));
        SetSnapMenu(pair(d.snapX, d.snapY), true);
    }
}

void TForm1::RebuildReopenMenu() {
    bool any = false;
    for (int position = 1; position <= kRecentFileCount; ++position) {
        std::string& path = params_.state.reopen[position - 1];
        path = std::string(Trim(path));
        QAction* entry = Action("File/Reopen/" + QString::number(position));
        entry->setText(MenuText(QFileInfo(QString::fromStdString(path)).completeBaseName()));
        entry->setToolTip(QString::fromStdString(path));
        entry->setVisible(!path.empty());
        any = any || !path.empty();
    }
    Menu("File/Reopen")->setEnabled(any);
    Menu("File/Reopen")->setToolTipsVisible(true);
}

void TForm1::SetStatusText(const QString& text) {
    statusLine_->SetText(text);
}

QString TForm1::StatusText() const {
    return statusLine_->Text();
}

void TForm1::ShowStatusMessage(const QString& text) {
    statusLine_->ShowMessage(text);
}

void TForm1::PointerMoved(const ItemList& design, std::optional<Point> pointer, bool dragging,
                          std::optional<Rect> band) {
    statusLine_->ShowPointer(design, pointer, dragging, band);
}

void TForm1::SetZoomMenu(double zoom) {
    statusLine_->ShowZoom(zoom);
    toolbar_->SetZoom(zoom);
    int percent = nearest(zoom * 100.0);
    for (auto& [action, value] : zoomEntries_) {
        action->setChecked(nearest(value * 100.0) == percent);
    }
}

void TForm1::SetDialogHosts(TDialogHost* formX, TDialogHost* formY) {
    formX_ = formX;
    formY_ = formY;
    for (TDialogHost* host : {formX_, formY_}) {
        if (!host) {
            continue;
        }
        host->takeKeyboardFromDesign = [this] {
            if (DesignView* design = ActiveDesign()) {
                design->IgnoreKeysUntilActivated();
            }
        };
        host->pageClosed = [this](HostKind kind, int page) {
            if (kind == HostKind::X && page == 60) {
                if (TToolbox* insert = InsertPanel()) {
                    insert->SetFirstTimeSetupShowing(false);
                }
                // The first-time setup ends: an empty design when it was completed, the end of
                // the program when it was cancelled.
                if (hooks.setup.firstTimeSetupCompleted && hooks.setup.firstTimeSetupCompleted()) {
                    Timer2.start();
                } else {
                    formX_->Timer3.start();
                }
                return;
            }
            if (hooks.panels.styleListsChanged) {
                hooks.panels.styleListsChanged(page, kind == HostKind::Y);
            }
        };
    }
}

// ---- keyboard and closing ----

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        // The application-wide filter sees each document window's close once; a filter on the
        // window as well would ask the close question a second time.
        auto* window = qobject_cast<QMdiSubWindow*>(watched);
        auto* design = window ? dynamic_cast<DesignView*>(window->widget()) : nullptr;
        if (design && !exiting_ && !closingWithoutQuestion_ && hooks.files.queryCloseDocument &&
            !hooks.files.queryCloseDocument(design)) {
            event->ignore();
            return true;
        }
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyRelease) {
        routedKey_ = nullptr;   // the press before it has been delivered
    }
    if (event->type() == QEvent::KeyPress && !KeyAlreadyRouted(watched, event)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (hooks.pictures.pictureEditorKey && hooks.pictures.pictureEditorKey(watched, *key)) {
            return true;
        }
        // Keys typed into a file dialog, a message box or a dialog host belong there: a Delete in
        // the Save As box must not delete the selection.
        DesignView* design = ActiveDesign();
        if (design && design->AcceptsKeys() && AimedAtThisWindow(watched)) {
            if (design->KeyDown(*key)) {
                return true;
            }
            if (!key->text().isEmpty() && design->KeyPress(*key)) {
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::AimedAtThisWindow(QObject* watched) const {
    // The document windows are children of this window; every other window is a top level of
    // its own.
    if (auto* window = qobject_cast<QWindow*>(watched)) {
        return window == windowHandle();
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && widget->window() == this;
}

bool TForm1::KeyAlreadyRouted(QObject* watched, const QEvent* event) {
    // A key press goes from the top-level window to its focus widget and, while no widget
    // accepts it, on to each parent widget; an application-wide filter sees every one of these
    // offers of the same event. Only the first reaches the design.
    auto* widget = qobject_cast<QWidget*>(watched);
    bool onward = false;
    if (event == routedKey_ && routedReceiver_ && widget) {
        if (auto* window = qobject_cast<QWindow*>(routedReceiver_.data())) {
            onward = widget->window()->windowHandle() == window;
        } else if (auto* previous = qobject_cast<QWidget*>(routedReceiver_.data())) {
            onward = !previous->isWindow() && previous->parentWidget() == widget;
        }
    }
    routedKey_ = event;
    routedReceiver_ = watched;
    return onward;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!exiting_ && hooks.files.queryClose && !hooks.files.queryClose()) {
        event->ignore();
        return;
    }
    exiting_ = true;
    ReleasePanelFrame();
    RememberWindowPlace(*this, *splitter2_, store_);
    SaveSettings(params_, store_);
    SaveDialogColors(params_.slots, store_);
    settingsSaved_ = true;
    for (TDialogHost* host : {formX_, formY_}) {
        if (host) {
            host->hide();
        }
    }
    mdiArea_->closeAllSubWindows();
    event->accept();
}

} // namespace vlr
