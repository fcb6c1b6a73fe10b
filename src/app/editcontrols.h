// The Edit menu's entries and toolbar buttons whose state follows the active design: Cut and
// Copy with the toolbar's selection buttons, Paste, Join Items and Split Group, Undo and Redo;
// and the toolbar button a side panel's link lights for the command it stands for.
#pragma once

#include "model/itemlist.h"
#include "panels/procs.h"

class QAction;
class QWidget;

namespace vlr {

struct EditControls {
    QAction* cut = nullptr;
    QAction* copy = nullptr;
    QAction* paste = nullptr;
    QAction* joinItems = nullptr;
    QAction* splitGroup = nullptr;
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    TProcs* toolbar = nullptr;
};

// What applies to the active design (null when none is open) and the copy list: the menu
// entries enabled and the toolbar buttons shown in step.
struct SelectionCommands {
    bool selection = false, paste = false, join = false, split = false;
};
SelectionCommands SelectionCommandsOf(ItemList* design, const ItemList& copyList);
// The side panel shown is told too when it is the multiple-selection panel, whose link lines
// follow Join and Split.
void RefreshSelectionControls(const EditControls& controls, const SelectionCommands& commands,
                              QWidget* sidePanel);
// Undo and Redo enabled, or greyed on the toolbar, as the design has a step to undo or redo.
void RefreshUndoControls(const EditControls& controls, bool canUndo, bool canRedo);

// A toolbar button shown highlighted as though the pointer were on it, with the toolbar's
// highlight timer restarted to take it away; a grey button stays grey.
void LightToolbarButton(TProcs& toolbar, ToolbarButton button);

} // namespace vlr
