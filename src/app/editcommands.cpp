// The Edit menu's commands.
#include "app/editcommands.h"

#include "app/mainwindow.h"
#include "canvas/designview.h"
#include "model/copylist.h"
#include "model/history.h"
#include "model/itemlist.h"

namespace vlr {

namespace {

// Runs an edit on the active design, then repaints it and refreshes the commands it affects.
template <typename Edit> void OnActiveDesign(TForm1& form, Edit edit) {
    DesignView* design = form.ActiveDesign();
    if (!design) {
        return;
    }
    edit(design->items());
    design->DesignEdited();
    form.RefreshUndoCommands(design->items());
    form.RefreshDesignControls();
}

} // namespace

void InstallEditCommands(TForm1& form) {
    MainWindowHooks& hooks = form.hooks;
    hooks.undo = [&form] { OnActiveDesign(form, [](ItemList& list) { Undo(list); }); };
    hooks.redo = [&form] { OnActiveDesign(form, [](ItemList& list) { Redo(list); }); };
    hooks.clearUndo = [&form] { OnActiveDesign(form, [](ItemList& list) { ClearHistory(list); }); };
    hooks.copy = [&form] { OnActiveDesign(form, [&form](ItemList& list) { CopyToList(list, form.CopyList()); }); };
    hooks.paste = [&form] {
        OnActiveDesign(form, [&form](ItemList& list) {
            PasteFromList(form.CopyList(), list, {}, form.params().markerWidth, form.params().markerHeight);
        });
    };
    // Cut deletes the selection; what was copied before stays in the copy list.
    hooks.cut = [&form] { OnActiveDesign(form, [](ItemList& list) { DeleteSelection(list); }); };
    hooks.joinItems = [&form] { OnActiveDesign(form, [](ItemList& list) { JoinSelection(list); }); };
    hooks.splitGroup = [&form] { OnActiveDesign(form, [](ItemList& list) { SplitSelection(list); }); };
}

} // namespace vlr
