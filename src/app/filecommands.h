// The file commands: New, Open, Reopen, Save, Save As, Close and Exit, the questions asked before
// unsaved work is closed, the recent-file list and the folders the dialogs start in.
#pragma once

#include <QString>

class QFileDialog;
class QWidget;

#include <functional>
#include <random>

namespace vlr {

class DesignView;
class Prompt;
class TForm1;
struct ItemList;

// The open and save dialogs, behind a seam so tests can answer them.
class FileDialogs {
public:
    virtual ~FileDialogs();
    // The chosen file, or empty when cancelled.
    virtual QString OpenFileName(const QString& folder, const QString& initialName) = 0;
    virtual QString SaveFileName(const QString& folder, const QString& proposedName) = 0;
};

// The file types of the Open and Save As boxes, "All files (*.*)" and "Velloran files (*.vlrn)",
// the second chosen. "All files" lists every file, also one whose name has no dot.
void SetDesignFileTypes(QFileDialog& dialog);

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
    QString OpenFileName(const QString& folder, const QString& initialName) override;
    QString SaveFileName(const QString& folder, const QString& proposedName) override;

private:
    QWidget* parent_;
};

inline constexpr const char* kReplaceQuestion = "Replace the existing file?";
inline constexpr const char* kSaveUntitledQuestion = "Do you want to save the file?";
inline constexpr const char* kCloseAllQuestion =
    "One or more files were modified, but the changes have not been saved.\nDo you want to save the files?";
inline constexpr const char* kCannotFindFile = "Cannot find the file.";
inline constexpr const char* kClearRecentQuestion = "Clear the list of recently used files?";

// A stored folder as a folder of this computer: the user's documents folder stands for
// "\My Documents" and the pictures folder for "\My Documents\My Pictures".
QString LocalFolder(const std::string& stored);

class FileCommands {
public:
    using WindowFactory = std::function<DesignView*()>;

    FileCommands(TForm1& form, Prompt& prompt, FileDialogs& dialogs, WindowFactory createWindow);
    // Connects the commands to the main window's menus and its close questions.
    void Install();

    void OpenDocument(const QString& path);
    void New() { OpenDocument(QString()); }
    void Open();
    // A file named by "-open" or handed over by the desktop: opened and added to the recent
    // files like one chosen in Open; a file that is not there is reported.
    void OpenFromDesktop(const QString& path);
    void Save();
    void SaveAs();
    void Close();
    void ReopenRecent(int position);
    void ClearRecentList();

    bool SaveDocument(DesignView* window, bool fromCloseAll);
    bool SaveDocumentAs(DesignView* window);
    // Writes the design over the file at path. False without writing when there is no file
    // there (the caller then asks for a name), and false with a message giving the reason when
    // the write fails.
    bool SaveFile(const QString& path, ItemList& list);
    // Asks for a name and writes the design there; path takes the name only on success.
    bool SaveAsDialog(QString& path, ItemList& list);
    QString OpenDialog();
    void AddRecentFile(const QString& path);

    // The question before a document window with unsaved work closes; false keeps it open.
    bool QueryCloseDocument(DesignView* window);
    // The question before the program ends; false keeps it running.
    bool CloseAllQuery();

private:
    void RefreshCaption(DesignView* window);
    int32_t NewDocumentNumber();

    TForm1& form_;
    Prompt& prompt_;
    FileDialogs& dialogs_;
    WindowFactory createWindow_;
    QString lastOpened_;
    std::mt19937 random_;
};

} // namespace vlr
