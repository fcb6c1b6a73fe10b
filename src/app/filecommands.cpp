// The file commands.
#include "app/filecommands.h"

#include "app/mainwindow.h"
#include "app/recentfiles.h"
#include "canvas/designview.h"
#include "model/designfile.h"
#include "model/prompt.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSessionManager>
#include <QStandardPaths>

namespace vlr {

namespace {

// Each file type is its caption and, in a second pair of brackets, what it matches; the dialog
// shows the caption alone. "All files" matches with "*": "*.*" would pass over names without a dot.
constexpr const char* kAllFiles = "All files (*.*) (*)";
constexpr const char* kDesignFiles = "Velloran files (*.vlrn) (*.vlrn)";

std::string Utf8(const QString& text) { return text.toStdString(); }

} // namespace

FileDialogs::~FileDialogs() = default;

void SetDesignFileTypes(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters({kAllFiles, kDesignFiles});
    dialog.selectNameFilter(kDesignFiles);
}

QString QtFileDialogs::OpenFileName(const QString& folder, const QString& initialName) {
    QString start = initialName.isEmpty() ? folder : QDir(folder).filePath(QFileInfo(initialName).fileName());
    QFileDialog dialog(parent_, "Open", start);
    dialog.setFileMode(QFileDialog::ExistingFile);
    SetDesignFileTypes(dialog);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

QString QtFileDialogs::SaveFileName(const QString& folder, const QString& proposedName) {
    QFileDialog dialog(parent_, "Save As", folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("vlrn");
    SetDesignFileTypes(dialog);
    // The program asks about replacing a file itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!proposedName.isEmpty()) {
        dialog.selectFile(proposedName);
    }
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                   : QString();
}

QString LocalFolder(const std::string& stored) {
    QString folder = QString::fromStdString(stored);
    folder.replace('\\', '/');
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.startsWith("/My Documents/My Pictures", Qt::CaseInsensitive)) {
        return pictures + folder.mid(25);
    }
    if (folder.startsWith("/My Documents", Qt::CaseInsensitive)) {
        return documents + folder.mid(13);
    }
    return folder;
}

FileCommands::FileCommands(TForm1& form, Prompt& prompt, FileDialogs& dialogs, WindowFactory createWindow)
    : form_(form), prompt_(prompt), dialogs_(dialogs), createWindow_(std::move(createWindow)) {
    random_.seed(std::random_device{}());
}

void FileCommands::Install() {
    MainWindowHooks& hooks = form_.hooks;
    hooks.files.openDocument = [this](const QString& path) { OpenDocument(path); };
    hooks.files.fileNew = [this] { New(); };
    hooks.files.fileOpen = [this] { Open(); };
    hooks.files.fileSave = [this] { Save(); };
    hooks.files.fileSaveAs = [this] { SaveAs(); };
    hooks.files.fileClose = [this] { Close(); };
    hooks.files.reopenRecent = [this](int position) { ReopenRecent(position); };
    hooks.files.clearRecent = [this] { ClearRecentList(); };
    hooks.files.queryClose = [this] { return CloseAllQuery(); };
    hooks.files.queryCloseDocument = [this](DesignView* window) { return QueryCloseDocument(window); };
    // The end of the desktop session asks what closing the program asks; a Cancel keeps the
    // session going.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &form_, [this](QSessionManager& manager) {
        if (manager.allowsInteraction()) {
            if (!CloseAllQuery()) {
                manager.cancel();
            }
            manager.release();
        }
    });
}

int32_t FileCommands::NewDocumentNumber() {
    std::uniform_int_distribution<int32_t> draw(0, 2147483646);
    while (true) {
        int32_t number = draw(random_);
        bool taken = false;
        for (DesignView* window : form_.OpenDesigns()) {
            taken = taken || window->docNumber() == number;
        }
        if (!taken) {
            return number;
        }
    }
}

void FileCommands::RefreshCaption(DesignView* window) {
    window->SetCaption();
    form_.RefreshWindowCaption(window);
}

void FileCommands::OpenDocument(const QString& path) {
    int32_t number = NewDocumentNumber();
    std::vector<DesignView*> open = form_.OpenDesigns();
    // A file opened while the only window holds an untouched new design goes into that window.
    // A design that came from a file or was saved is never taken over, however small.
    if (open.size() == 1 && open.front() == form_.ActiveDesign() && IsUntouchedDesign(open.front()->items()) &&
        open.front()->fileName().trimmed().isEmpty() && !path.trimmed().isEmpty()) {
        DesignView* window = open.front();
        form_.RemoveWindowEntry(window->docNumber());
        window->OpenDesign(number, path);
        RefreshCaption(window);
    } else {
        DesignView* window = createWindow_ ? createWindow_() : nullptr;
        if (!window) {
            return;
        }
        if (!window->OpenDesign(number, path)) {
            // The user declined a file that is not a valid design: nothing is opened.
            form_.StatusLine().ShowMessage("Not opened " + path);
            form_.RemoveWindowEntry(number);
            delete window->widget();
            if (form_.OpenDesigns().empty()) {
                form_.EnableFileCommands(false);
            }
            return;
        }
        form_.AddDesignView(window);
        RefreshCaption(window);
    }
    form_.EnableFileCommands(true);
}

QString FileCommands::OpenDialog() {
    QString folder = LocalFolder(form_.params().state.docdir);
    if (!QDir(folder).exists()) {
        folder.clear();
    }
    QString chosen = dialogs_.OpenFileName(folder, lastOpened_);
    if (chosen.trimmed().isEmpty()) {
        return {};
    }
    QFileInfo file(chosen);
    form_.params().state.docdir = Utf8(file.absolutePath());
    AddRecentFile(file.absoluteFilePath());
    lastOpened_ = chosen;
    return file.absoluteFilePath();
}

void FileCommands::OpenFromDesktop(const QString& path) {
    QFileInfo file(path);
    if (path.trimmed().isEmpty() || !file.exists()) {
        prompt_.Ask(PromptIcon::Warning, std::string(kCannotFindFile) + "\n" + Utf8(path), PromptButtons::Ok);
        return;
    }
    // A file handed over by the desktop counts as one chosen in Open.
    AddRecentFile(file.absoluteFilePath());
    OpenDocument(file.absoluteFilePath());
}

void FileCommands::Open() {
    QString path = OpenDialog();
    if (!path.trimmed().isEmpty()) {
        OpenDocument(path);
    }
}

bool FileCommands::SaveFile(const QString& path, ItemList& list) {
    if (path.trimmed().isEmpty() || !QFileInfo::exists(path)) {
        return false;
    }
    std::string reason;
    if (!WriteDesign(Utf8(path), list, &reason)) {
        prompt_.Ask(PromptIcon::Error, "The design could not be saved to " + Utf8(path) + ".\n" + reason,
                    PromptButtons::Ok);
        form_.StatusLine().ShowMessage("Not saved " + path);
        return false;
    }
    form_.StatusLine().ShowMessage("Saved " + path);
    return true;
}

bool FileCommands::SaveAsDialog(QString& path, ItemList& list) {
    QString folder = LocalFolder(form_.params().state.docdir);
    if (!QDir(folder).exists()) {
        folder.clear();
    }
    QString proposed = path.trimmed().isEmpty() ? QString() : QFileInfo(path).fileName();
    QString chosen = dialogs_.SaveFileName(folder, proposed);
    if (chosen.trimmed().isEmpty()) {
        return false;
    }
    QFileInfo file(chosen);
    form_.params().state.docdir = Utf8(file.absolutePath());
    QString full = file.absoluteFilePath();
    if (file.exists() &&
        prompt_.Ask(PromptIcon::Question, std::string(kReplaceQuestion) + "\n" + Utf8(full), PromptButtons::YesNo) ==
            PromptAnswer::No) {
        return false;
    }
    std::string reason;
    if (!WriteDesign(Utf8(full), list, &reason)) {
        prompt_.Ask(PromptIcon::Error, "The design could not be saved to " + Utf8(full) + ".\n" + reason,
                    PromptButtons::Ok);
        form_.StatusLine().ShowMessage("Not saved " + full);
        return false;
    }
    path = full;
    AddRecentFile(full);
    form_.StatusLine().ShowMessage("Saved " + full);
    return true;
}

bool FileCommands::SaveDocument(DesignView* window, bool fromCloseAll) {
    if (!window) {
        return false;
    }
    if (SaveFile(window->fileName(), window->items())) {
        RefreshCaption(window);
        return true;
    }
    QString path = window->fileName();
    if (fromCloseAll && path.trimmed().isEmpty()) {
        path = "Untitled " + QString::number(window->untitledNumber());
    }
    if (!SaveAsDialog(path, window->items())) {
        return false;
    }
    window->SetFileName(path);
    RefreshCaption(window);
    return true;
}

bool FileCommands::SaveDocumentAs(DesignView* window) {
    if (!window) {
        return false;
    }
    QString path = window->fileName();
    if (!SaveAsDialog(path, window->items())) {
        return false;
    }
    window->SetFileName(path);
    RefreshCaption(window);
    return true;
}

void FileCommands::Save() { SaveDocument(form_.ActiveDesign(), false); }

void FileCommands::SaveAs() { SaveDocumentAs(form_.ActiveDesign()); }

void FileCommands::Close() {
    DesignView* window = form_.ActiveDesign();
    // The document window's frame, also while the area has no active window (a dialog host has
    // the focus): closing the frame asks about unsaved work, closing the design widget would not.
    for (QMdiSubWindow* frame : form_.DocumentArea()->subWindowList()) {
        if (window && frame->widget() == window->widget()) {
            frame->close();
            return;
        }
    }
}

bool FileCommands::QueryCloseDocument(DesignView* window) {
    bool mayClose = true;
    if (IsModified(window->items())) {
        QString name = window->fileName();
        std::string question = name.trimmed().isEmpty()
                                   ? std::string(kSaveUntitledQuestion)
                                   : "Do you want to save changes to " + Utf8(QFileInfo(name).completeBaseName()) + "?";
        switch (prompt_.Ask(PromptIcon::Question, question, PromptButtons::YesNoCancel)) {
        case PromptAnswer::Yes: {
            if (!SaveFile(name, window->items())) {
                QString path = name;
                mayClose = SaveAsDialog(path, window->items());
                if (mayClose) {
                    window->SetFileName(path);
                }
            }
            break;
        }
        case PromptAnswer::No:
            break;
        default:
            mayClose = false;
            break;
        }
    }
    if (!window->fileName().trimmed().isEmpty()) {
        AddRecentFile(window->fileName());
    }
    return mayClose;
}

bool FileCommands::CloseAllQuery() {
    std::vector<DesignView*> open = form_.OpenDesigns();
    bool anyModified = false;
    for (DesignView* window : open) {
        anyModified = anyModified || IsModified(window->items());
    }
    if (!anyModified) {
        return true;
    }
    switch (prompt_.Ask(PromptIcon::Warning, kCloseAllQuestion, PromptButtons::YesNoCancel)) {
    case PromptAnswer::No:
        return true;
    case PromptAnswer::Yes:
        break;
    default:
        return false;
    }
    while (true) {
        DesignView* modified = nullptr;
        for (DesignView* window : form_.OpenDesigns()) {
            if (IsModified(window->items())) {
                modified = window;
                break;
            }
        }
        if (!modified) {
            return true;
        }
        form_.ActivateDocument(modified->docNumber());
        if (!SaveDocument(modified, true)) {
            return false;
        }
        if (!modified->fileName().trimmed().isEmpty()) {
            AddRecentFile(modified->fileName());
        }
        form_.CloseDesignWithoutQuestion(modified);
    }
}

void FileCommands::AddRecentFile(const QString& path) {
    AddRecent(form_.params().state.reopen, Utf8(path));
    form_.RebuildReopenMenu();
}

void FileCommands::ReopenRecent(int position) {
    if (position < 1 || position > kRecentFileCount) {
        return;
    }
    const std::string& path = form_.params().state.reopen[position - 1];
    if (path.empty()) {
        return;
    }
    if (QFileInfo::exists(QString::fromStdString(path))) {
        OpenDocument(QString::fromStdString(path));
    } else {
        prompt_.Ask(PromptIcon::Warning, std::string(kCannotFindFile) + "\n" + path, PromptButtons::Cancel);
    }
}

void FileCommands::ClearRecentList() {
    if (prompt_.Ask(PromptIcon::Question, kClearRecentQuestion, PromptButtons::YesNo) == PromptAnswer::Yes) {
        ClearRecent(form_.params().state.reopen);
        form_.RebuildReopenMenu();
    }
}

} // namespace vlr
