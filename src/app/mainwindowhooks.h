// The entry points of the commands that other subsystems provide to the main window, one small
// group per subsystem. Each may be left empty; a command without an entry point does nothing.
#pragma once

#include "model/itemrecord.h"

#include <QString>

#include <functional>

class QKeyEvent;
class QObject;
class QWidget;

namespace vlr {

class DesignView;

// Opening, saving and closing designs, and the recent files.
struct FileHooks {
    // Opens a design (an empty one for an empty path).
    std::function<void(const QString& path)> openDocument;
    std::function<void()> fileNew, fileOpen, fileSave, fileSaveAs, fileClose;
    std::function<void(int position)> reopenRecent;
    std::function<void()> clearRecent;
    // Asked before the main window closes; false keeps it open.
    std::function<bool()> queryClose;
    // Asked before a document window closes; false keeps it open.
    std::function<bool(DesignView* window)> queryCloseDocument;
};

// Printing, the preview and the export of the active design.
struct OutputHooks {
    std::function<void()> printPreview, print, printerCalibration, exportExact, exportSmooth, screenshot;
};

// Editing the active design.
struct EditMenuHooks {
    std::function<void()> undo, redo, clearUndo, cut, copy, paste, copyToClipboard, joinItems, splitGroup;
};

// Picture insertion and the picture editor.
struct PictureHooks {
    std::function<void()> insertPicture;
    // A picture file given to open.
    std::function<void(const QString& path)> insertPictureFile;
    // The picture editor on a clip of a design, opened by a double click on the clip.
    std::function<void(DesignView* window, ItemRecord* clip)> editClipPicture;
    // The picture editor takes keys while it is open; true when it handled one. receiver is the
    // window or widget the key is offered to.
    std::function<bool(QObject* receiver, QKeyEvent& event)> pictureEditorKey;
};

// The side panels.
struct PanelHooks {
    // A side panel's frame for a panel code; none gives the plain frame.
    std::function<QWidget*(int code, QWidget* parent)> createPanelFrame;
    // A dialog page closed that may have changed the style lists the side panels show.
    std::function<void(int hostPage, bool smallHost)> styleListsChanged;
};

// The first-time setup and the design file type's registration.
struct SetupHooks {
    // The first-time setup still has to run.
    std::function<bool()> firstTimeSetupPending;
    std::function<void()> showFirstTimeSetup;
    // The first-time setup page closed: true when the setup was completed.
    std::function<bool()> firstTimeSetupCompleted;
    // At start: registers the design file type again when an earlier registration failed.
    std::function<void()> repairFileAssociation;
};

struct MainWindowHooks {
    FileHooks files;
    OutputHooks output;
    EditMenuHooks edit;
    PictureHooks pictures;
    PanelHooks panels;
    SetupHooks setup;
};

} // namespace vlr
