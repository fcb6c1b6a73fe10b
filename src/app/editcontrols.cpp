// The design-dependent Edit menu entries and toolbar buttons.
#include "app/editcontrols.h"

#include "panels/unibox.h"

#include <QAction>

namespace vlr {

SelectionCommands SelectionCommandsOf(ItemList* design, const ItemList& copyList) {
    if (!design) {
        return {};
    }
    // Join takes two units at least: a group counts once, however many members it has.
    return {FirstSelected(*design) != nullptr, ClipboardHasItems(copyList),
            CountSelectedUnits(*design, true) >= 2, AnyGroupSelected(*design)};
}

void RefreshSelectionControls(const EditControls& controls, const SelectionCommands& commands,
                              QWidget* sidePanel) {
    controls.cut->setEnabled(commands.selection);
    controls.copy->setEnabled(commands.selection);
    controls.paste->setEnabled(commands.paste);
    controls.joinItems->setEnabled(commands.join);
    controls.splitGroup->setEnabled(commands.split);
    controls.toolbar->UpdateSelectionButtons(commands.selection);
    controls.toolbar->UpdatePaste(commands.paste);
    controls.toolbar->UpdateJoinSplit(commands.join, commands.split);
    if (auto* mixed = qobject_cast<TUnibox*>(sidePanel)) {
        mixed->SetJoinSplit(commands.join, commands.split);
    }
}

void RefreshUndoControls(const EditControls& controls, bool canUndo, bool canRedo) {
    controls.undo->setEnabled(canUndo);
    controls.redo->setEnabled(canRedo);
    controls.toolbar->UpdateUndoRedo(canUndo, canRedo);
}

void LightToolbarButton(TProcs& toolbar, ToolbarButton button) {
    TPictureButton* picture = toolbar.Button(button);
    if (picture && picture->look() != ButtonLook::Grey) {
        picture->setLook(ButtonLook::Highlighted);
    }
    toolbar.HighlightTimer.start();
}

} // namespace vlr
