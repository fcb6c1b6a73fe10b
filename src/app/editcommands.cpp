// The Edit menu's commands.
#include "app/editcommands.h"

#include "app/mainwindow.h"
#include "app/panelhistory.h"
#include "canvas/commands.h"
#include "canvas/designview.h"
#include "model/history.h"
#include "model/itemlist.h"

#include <QAction>
#include <QMenu>

namespace vlr {

namespace {

// Runs a command on the active design; afterwards the Edit menu follows the design.
template <typename Command> void OnActiveDesign(TForm1& form, Command command) {
    DesignView* design = form.ActiveDesign();
    if (!design) {
        return;
    }
    command(design->items(), design->commands());
    form.RefreshUndoCommands(design->items());
    form.RefreshDesignControls();
}

} // namespace

void InstallEditCommands(TForm1& form) {
    MainWindowHooks& hooks = form.hooks;
    // Undo and Redo leave nothing selected: a fine-tune panel would show the values of items no
    // longer selected, and change nothing, so the insert panel takes its place.
    const auto history = [&form](auto command) {
        OnActiveDesign(form, command);
        if (IsFineTunePanel(form.currentPanel())) {
            form.ShowPanel(20, true);
        }
    };
    hooks.edit.undo = [history] { history(UndoCommand); };
    hooks.edit.redo = [history] { history(RedoCommand); };
    hooks.edit.clearUndo = [&form] { OnActiveDesign(form, ClearHistoryCommand); };
    // Cut deletes the selection; what was copied before stays in the copy list.
    hooks.edit.cut = [&form] {
        OnActiveDesign(form, [](ItemList& list, CommandWindow& window) { DeleteSelection(list, window); });
    };
    hooks.edit.copy = [&form] {
        OnActiveDesign(form, [&form](ItemList& list, CommandWindow& window) {
            CopySelection(list, form.CopyList(), window);
        });
    };
    hooks.edit.paste = [&form] {
        OnActiveDesign(
            form, [&form](ItemList& list, CommandWindow& window) { Paste(form.CopyList(), list, window); });
    };
    hooks.edit.copyToClipboard = [&form] {
        OnActiveDesign(form, [](ItemList&, CommandWindow& window) { CopyAreaPicture(window); });
    };
    hooks.edit.joinItems = [&form] {
        OnActiveDesign(form, [](ItemList& list, CommandWindow& window) { JoinSelection(list, window); });
    };
    hooks.edit.splitGroup = [&form] {
        OnActiveDesign(form, [](ItemList& list, CommandWindow& window) { SplitSelection(list, window); });
    };
    // Opening the menu shows what the active design offers now.
    if (QMenu* edit = form.Menu("Edit")) {
        QObject::connect(edit, &QMenu::aboutToShow, &form, [&form] {
            if (DesignView* design = form.ActiveDesign()) {
                form.RefreshUndoCommands(design->items());
            }
            form.RefreshDesignControls();
        });
    }
}

} // namespace vlr
