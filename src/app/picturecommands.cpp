// Picture insertion in the program.
#include "app/picturecommands.h"

#include "app/dialoghost.h"
#include "app/filecommands.h"
#include "app/mainwindow.h"
#include "canvas/designview.h"
#include "model/copylist.h"
#include "model/history.h"
#include "model/prompt.h"
#include "pictures/pictbox.h"
#include "render/rastercanvas.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <array>

namespace vlr {

namespace {

// Each type is its caption and, in a second pair of brackets, the patterns it matches; the
// dialog shows the caption alone.
constexpr std::array<const char*, 7> kPictureFileTypes = {
    "JPEG Image Files (*.jpg,*.jpeg) (*.jpg *.jpeg)",
    "GIF Image Files (*.gif) (*.gif)",
    "Bitmaps (*.bmp) (*.bmp)",
    "Icons (*.ico) (*.ico)",
    "Enhanced Metafiles (*.emf) (*.emf)",
    "Metafiles (*.wmf) (*.wmf)",
    "Velloran Files (*.vlrn) (*.vlrn)",
};
constexpr int kDesignFileType = 7;
constexpr int kPicturePage = 51;
constexpr int kEditClipPage = 503;
constexpr int kNewClipPage = 510;
constexpr int kPlacedHintPage = 1077;
constexpr int kInsertPanel = 20;

bool IsEditorPage(int code) {
    return code == kPicturePage || code == kEditClipPage || code == kNewClipPage;
}

EditHooks UndoHooksOf(TForm1& form, ItemList& items) {
    EditHooks hooks;
    hooks.refreshUndoCommands = [&form, &items] { form.RefreshUndoCommands(items); };
    return hooks;
}

} // namespace

PictureDialogs::~PictureDialogs() = default;

void SetPictureFileTypes(QFileDialog& dialog, int filter) {
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QStringList types;
    for (const char* type : kPictureFileTypes) {
        types << type;
    }
    dialog.setNameFilters(types);
    dialog.selectNameFilter(types.value(std::clamp(filter, 1, kDesignFileType) - 1));
}

int PictureFileType(const QString& path) {
    const QString extension = QFileInfo(path.trimmed()).suffix().toLower();
    const std::array<QStringList, 7> extensions = {
        QStringList{"jpg", "jpeg"}, {"gif"}, {"bmp"}, {"ico"}, {"emf"}, {"wmf"}, {"vlrn"}};
    for (size_t type = 0; type < extensions.size(); ++type) {
        if (extensions[type].contains(extension)) {
            return static_cast<int>(type) + 1;
        }
    }
    return 0;
}

QString QtPictureDialogs::OpenPictureName(const QString& folder, const QString& lastName, int filter) {
    const QString start = lastName.isEmpty() ? folder : QDir(folder).filePath(QFileInfo(lastName).fileName());
    QFileDialog dialog(parent_, "Open", start);
    dialog.setFileMode(QFileDialog::ExistingFile);
    SetPictureFileTypes(dialog, filter);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

PictureCommands::PictureCommands(TForm1& form, TDialogHost& formX, TDialogHost& formY, Prompt& prompt,
                                 PictureDialogs& dialogs)
    : form_(form), formX_(formX), formY_(formY), prompt_(prompt), dialogs_(dialogs) {
    random_.seed(std::random_device{}());
}

void PictureCommands::Install() {
    MainWindowHooks& hooks = form_.hooks;
    hooks.pictures.insertPicture = [this] { InsertPicture(); };
    hooks.pictures.insertPictureFile = [this](const QString& path) { OpenPictureFile(path); };
    hooks.pictures.editClipPicture = [this](DesignView* window, ItemRecord* clip) { EditClip(window, clip); };
    hooks.pictures.pictureEditorKey = [this](QObject* receiver, QKeyEvent& event) {
        return EditorKey(receiver, event);
    };
    // The weight and shadow dialogs may have changed the lists of the editor's side panel.
    hooks.panels.styleListsChanged = [this, earlier = hooks.panels.styleListsChanged](int page, bool smallHost) {
        if (earlier) {
            earlier(page, smallHost);
        }
        if (TPict* editor = Editor(); editor && smallHost) {
            if (page == 9) {
                editor->RebuildFrames();
            } else if (page == 63) {
                editor->RebuildShadows();
            }
        }
    };
    for (int code : {kPicturePage, kEditClipPage, kNewClipPage}) {
        formX_.RegisterPage(code,
                            [this](int pageCode, int, const QString& text, QWidget* parent) -> DialogPage* {
                                return CreateEditor(pageCode, text, parent);
                            });
    }
    formX_.prepareClipPage = [this](int code, QString& title) { return PrepareClipPage(code, title); };
}

TPict* PictureCommands::CreateEditor(int pageCode, const QString& text, QWidget* parent) {
    auto* editor = new TPict(form_.params(), prompt_, parent);
    editor->insert = [this](const PictureInsertion& insertion, const PictureTarget& target) {
        Insert(insertion, target);
    };
    editor->box()->customiseWeights = [this] { ShowDialogPage(formY_, 9); };
    editor->box()->customiseShadows = [this] { ShowDialogPage(formY_, 63); };
    editor->box()->chooseColour = [editor](int32_t current) -> std::optional<int32_t> {
        QColor chosen = QColorDialog::getColor(QColor(QRgbFromColour(current)), editor, "Colors");
        if (!chosen.isValid()) {
            return std::nullopt;
        }
        return ColourFromQRgb(chosen.rgb());
    };
    if (pageCode == kPicturePage) {
        editor->OpenFileWhenShown(text);
        return editor;
    }
    DesignView* design = DesignOfNumber(clipTarget_.docNumber);
    const ItemRecord* clip = design ? FindBySerial(design->items(), clipTarget_.clipSerial) : nullptr;
    const ItemRecord* data = design ? FindPictureData(design->items(), clipTarget_.pictureId) : nullptr;
    if (clip && data) {
        PictureTarget target = clipTarget_;
        target.pageCode = pageCode;
        editor->OpenClip(*clip, *data, target);
    }
    return editor;
}

void PictureCommands::ShowDialogPage(TDialogHost& host, int code) {
    if (host.ShowPage(code)) {
        host.show();
        host.raise();
    }
}

TPict* PictureCommands::Editor() const {
    return IsEditorPage(formX_.currentPage()) ? qobject_cast<TPict*>(formX_.page()) : nullptr;
}

DesignView* PictureCommands::DesignOfNumber(int32_t docNumber) const {
    for (DesignView* design : form_.OpenDesigns()) {
        if (design->docNumber() == docNumber) {
            return design;
        }
    }
    return nullptr;
}

DesignView* PictureCommands::ActiveOrNewDesign() {
    if (DesignView* design = form_.ActiveDesign()) {
        return design;
    }
    if (form_.hooks.files.fileNew) {
        form_.hooks.files.fileNew();
    }
    std::vector<DesignView*> open = form_.OpenDesigns();
    return form_.ActiveDesign() ? form_.ActiveDesign() : open.empty() ? nullptr : open.back();
}

void PictureCommands::InsertPicture() {
    TParams& params = form_.params();
    currentState_t& state = params.state;
    QString folder = LocalFolder(state.picidr);
    if (!QDir(folder).exists()) {
        folder.clear();
    }
    const int filter = state.picndx >= 1 && state.picndx <= kDesignFileType ? state.picndx : 1;
    const QString chosen =
        dialogs_.OpenPictureName(folder, QString::fromStdString(params.lastPicture), filter).trimmed();
    if (chosen.isEmpty()) {
        return;
    }
    const QFileInfo file(chosen);
    state.picidr = QDir::toNativeSeparators(file.absolutePath()).toStdString();
    const int type = PictureFileType(chosen);
    if (type != 0) {
        state.picndx = type;
    }
    params.lastPicture = file.absoluteFilePath().toStdString();
    if (type == kDesignFileType) {
        ImportDesignFile(file.absoluteFilePath());
    } else {
        ShowEditor(file.absoluteFilePath());
    }
}

void PictureCommands::OpenPictureFile(const QString& path) {
    const QString full = QFileInfo(path.trimmed()).absoluteFilePath();
    form_.params().lastPicture = full.toStdString();
    // The window that asked may still be opening; the editor shows once it is in place.
    QTimer::singleShot(0, &formX_, [this, full] { ShowEditor(full); });
}

void PictureCommands::ShowEditor(const QString& path) {
    if (formX_.ShowPage(kPicturePage, 0, path)) {
        formX_.show();
        formX_.raise();
        formX_.activateWindow();
    }
}

void PictureCommands::ImportDesignFile(const QString& path) {
    DesignView* design = ActiveOrNewDesign();
    if (!design) {
        return;
    }
    ItemList& items = design->items();
    const ReadResult result =
        ImportDesign(path.toStdString(), form_.CopyList(), items, prompt_, UndoHooksOf(form_, items));
    if (result.status == ReadStatus::IoError || result.status == ReadStatus::NotADesign) {
        prompt_.Ask(PromptIcon::Warning, kNotAValidFile, PromptButtons::Ok);
        return;
    }
    if (result.ok()) {
        design->DesignEdited();
        form_.RefreshUndoCommands(items);
        form_.RefreshDesignControls();
    }
}

void PictureCommands::Insert(const PictureInsertion& insertion, const PictureTarget& target) {
    DesignView* design =
        target.pageCode == kPicturePage ? ActiveOrNewDesign() : DesignOfNumber(target.docNumber);
    if (!design) {
        return;
    }
    ItemList& items = design->items();
    const EditHooks hooks = UndoHooksOf(form_, items);
    bool placed = false;
    if (target.pageCode == kEditClipPage) {
        ItemRecord* clip = FindBySerial(items, target.clipSerial);
        placed = clip && IsLiveItem(clip) && EditClipPicture(items, clip, insertion, hooks);
    } else {
        int32_t pictureId = target.pictureId;
        if (target.pageCode != kNewClipPage || !FindPictureData(items, pictureId)) {
            std::vector<const ItemList*> designs;
            for (DesignView* open : form_.OpenDesigns()) {
                designs.push_back(&open->items());
            }
            std::uniform_int_distribution<int32_t> draw(1, 2147483646);
            pictureId = NewPictureId(designs, [this, &draw] { return draw(random_); });
        }
        placed = !PlacePictures(items, insertion, design->VisiblePageOrigin(), pictureId, hooks).empty();
    }
    if (!placed) {
        return;
    }
    design->DesignEdited();
    form_.RefreshUndoCommands(items);
    form_.RefreshDesignControls();
    form_.ShowPanel(HintShown(form_.params(), kPlacedHintPage) ? kPlacedHintPage : kInsertPanel);
}

bool PictureCommands::EditorKey(QObject* receiver, QKeyEvent& event) {
    TPict* editor = Editor();
    // Only keys typed into the editor's host: not those of a dialog over it (the Open, colour or
    // message box), nor the Return that chose an entry of an open list, which reaches the list's
    // window after the list has closed.
    auto* window = qobject_cast<QWindow*>(receiver);
    auto* widget = qobject_cast<QWidget*>(receiver);
    const bool aimedAtHost = window ? window == formX_.windowHandle() : widget && widget->window() == &formX_;
    if (!editor || !formX_.isVisible() || !aimedAtHost || QApplication::activePopupWidget()) {
        return false;
    }
    if ((event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) &&
        (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        formX_.LeftButtonClick();
        return true;
    }
    return editor->KeyDown(event);
}

void PictureCommands::EditClip(DesignView* window, ItemRecord* clip) {
    if (!window || !clip || clip->kind != ItemKind::Clip || !IsLiveItem(clip)) {
        return;
    }
    SelectOnly(window->items(), clip);
    window->DesignEdited();
    form_.ActivateDocument(window->docNumber());
    ShowDialogPage(formX_, kEditClipPage);
}

bool PictureCommands::PrepareClipPage(int pageCode, QString& title) {
    DesignView* design = form_.ActiveDesign();
    const ItemRecord* clip = design ? FirstSelected(design->items()) : nullptr;
    if (!clip || clip->kind != ItemKind::Clip) {
        return false;
    }
    const ItemRecord* data = FindPictureData(design->items(), clip->pictureId);
    if (!data) {
        return false;
    }
    clipTarget_ = {pageCode, design->docNumber(), clip->serial, clip->pictureId};
    // Names stored on other systems may separate folders with backslashes.
    title = QFileInfo(QString::fromStdU16String(GetText(data)).replace('\\', '/')).completeBaseName();
    return true;
}

} // namespace vlr
