// Picture insertion in the program: the Insert > Picture command with its Open dialog, picture
// files handed over from elsewhere (opened, dropped, given with -open), the picture editor pages
// of the larger dialog host with their keys, and what Insert does to the open designs.
#pragma once

#include "pictures/pict.h"

#include <QString>

#include <random>

class QFileDialog;
class QKeyEvent;
class QObject;

namespace vlr {

class DesignView;
class Prompt;
struct ItemRecord;
class TDialogHost;
class TForm1;

// The Open dialog of Insert > Picture, behind a seam so tests can answer it.
class PictureDialogs {
public:
    virtual ~PictureDialogs();
    // The chosen file, or empty when cancelled. filter 1 ... 7 is the file type shown first.
    virtual QString OpenPictureName(const QString& folder, const QString& lastName, int filter) = 0;
};

// The dialog's file types in their order, JPEG (1) to design files (7), the given one chosen.
void SetPictureFileTypes(QFileDialog& dialog, int filter);
// The file type (1 ... 7) of a file's extension: jpg and jpeg 1, gif 2, bmp 3, ico 4, emf 5,
// wmf 6, vlrn 7; 0 for any other.
int PictureFileType(const QString& path);

class QtPictureDialogs : public PictureDialogs {
public:
    explicit QtPictureDialogs(QWidget* parent) : parent_(parent) {}
    QString OpenPictureName(const QString& folder, const QString& lastName, int filter) override;

private:
    QWidget* parent_;
};

class PictureCommands {
public:
    PictureCommands(TForm1& form, TDialogHost& formX, TDialogHost& formY, Prompt& prompt,
                    PictureDialogs& dialogs);
    // The main window's picture hooks, the editor pages of formX and the clip page preparation.
    void Install();

    // Insert > Picture: the Open dialog, then the editor, or a design file added to the active
    // design.
    void InsertPicture();
    // A picture file given to open: remembered as the last picture and shown in the editor.
    void OpenPictureFile(const QString& path);
    // What the editor's Insert hands over, placed in the design it belongs to.
    void Insert(const PictureInsertion& insertion, const PictureTarget& target);
    // Keys offered to the editor's host (receiver its window or one of its widgets): Return
    // inserts, the rest goes to the editor. True when the key was used.
    bool EditorKey(QObject* receiver, QKeyEvent& event);
    // Pages 503 and 510: the first selected item of the active design, when it is a clip whose
    // picture the design holds; its picture's file name titles the host.
    bool PrepareClipPage(int pageCode, QString& title);
    // The picture editor on a clip of a document window (a double click on it): the clip alone
    // selected, its window active, page 503 on it.
    void EditClip(DesignView* window, ItemRecord* clip);
    // The editor page the larger host shows, or none.
    TPict* Editor() const;

private:
    TPict* CreateEditor(int pageCode, const QString& text, QWidget* parent);
    void ShowEditor(const QString& path);
    void ImportDesignFile(const QString& path);
    DesignView* DesignOfNumber(int32_t docNumber) const;
    // The active design; a new one when none is open.
    DesignView* ActiveOrNewDesign();
    void ShowDialogPage(TDialogHost& host, int code);

    TForm1& form_;
    TDialogHost& formX_;
    TDialogHost& formY_;
    Prompt& prompt_;
    PictureDialogs& dialogs_;
    // The clip the next page 503 or 510 opens on.
    PictureTarget clipTarget_;
    std::mt19937 random_;
};

} // namespace vlr
