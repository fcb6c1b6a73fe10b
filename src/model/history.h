// Undo and redo kept inside the design's own list: an edit appends new versions of the records
// it changes and hides the old ones, and undo and redo switch records between live and hidden.
// The history fields of every class 0 record say how:
//   serial        its place in history order, unique within the design;
//   historyState  0 outside the history, 1 undoable, 2 undone and redoable;
//   undoStep      the command that produced it; every record of one command shares it;
//   replaces      the serial of the version it superseded (0 = none);
//   zChange       on a superseded version: 1 = brought to front, 2 = sent to back, 0 = other.
// The functions below are the list-level part of the editor's commands; the window around them
// (markers, repaint, panels, the Undo and Redo buttons) is reached through EditHooks.
#pragma once

#include "model/itemlist.h"

#include <cstdint>

namespace vlr {

inline constexpr int32_t kOutsideHistory = 0;
inline constexpr int32_t kUndoable = 1;
inline constexpr int32_t kRedoable = 2;

inline constexpr int32_t kBroughtToFront = 1;
inline constexpr int32_t kSentToBack = 2;

// ---- history queries ----

// 1 + the largest undoStep of the class 0 records (1 when there is none).
int32_t NextUndoStep(ItemList& list);
// The undoable record with the greatest serial (the first in list order on a tie), or none.
ItemRecord* UndoTarget(const ItemList& list);
// The record made right after the newest undoable one (or, when nothing is undoable, after the
// newest record outside the history), or none.
ItemRecord* RedoTarget(const ItemList& list);
bool CanUndo(const ItemList& list);
// True when Redo would act: the redo target exists and is redoable.
bool CanRedo(const ItemList& list);

// ---- undo and redo ----

// Hides the newest undoable step and revives the versions it superseded, with their stacking.
void Undo(ItemList& list, const EditHooks& hooks = {});
// Revives the oldest redoable step and hides the versions it supersedes again.
void Redo(ItemList& list, const EditHooks& hooks = {});
// Removes every redoable record, and the picture data no remaining record uses any more.
void PurgeRedo(ItemList& list);
// Clear Undo and Redo: drops every hidden version, deletion record and empty text (with the
// picture data only they used), takes the rest out of the history numbered 1 ... n, and
// renumbers the groups 1 ... k.
void ClearHistory(ItemList& list, const EditHooks& hooks = {});
// Takes the newest record out of the design when a drag is abandoned: it gets serial -1, is
// hidden, loses its derived bitmaps and leaves the history, so no Undo brings it back. Returns
// the record that then has the greatest serial, or none.
ItemRecord* DiscardNewest(ItemList& list);

// ---- recording changes ----

// Before a change: purges the redo history, lets the window refresh Undo and Redo, and returns
// the number of the new step.
int32_t StartUndoStep(ItemList& list, const EditHooks& hooks = {});
// Appends a new version of source for the given step: a copy, selected, linked to source, with
// source's stacking number; source is hidden and unselected. zChange records which stacking
// command superseded source (0 for any other change).
ItemRecord* MakeNewVersion(ItemList& list, ItemRecord* source, int32_t step, int32_t zChange = 0);
// Opening the selection for editing: starts a step and makes a new version of every selected
// record (group markers included), each with its drag base (base points, rotation, saved points)
// taken from its current values. The selection is then those versions. Returns the step.
int32_t MakeNewVersions(ItemList& list, const EditHooks& hooks = {});
// Hooks with makeNewVersions filled in, for JoinItems and SplitGroup.
EditHooks UndoableEdit(EditHooks hooks);
// A new item of the given kind on top of the design, as a step of its own. The caller fills in
// its fields.
ItemRecord* CreateNewItem(ItemList& list, int32_t kind, const EditHooks& hooks = {});
// A new version of the live gridlines record, with the same gridlines, for the caller to edit;
// none when the design has no gridlines record.
ItemRecord* EditGridlines(ItemList& list, const EditHooks& hooks = {});

// ---- the list-level part of the document commands ----

// Delete and Cut: a deletion record for every selected design item (or clip outline of the
// picture editor), which is hidden; a selected group marker goes too when no live member of its
// group is left. Deselects all. False (and nothing changed) when nothing is selected.
bool DeleteSelection(ItemList& list, const EditHooks& hooks = {});
// A new version of every selected design item, moved to the bottom (one after another in list
// order, so the last one processed ends lowest) or to the top (keeping their order). False when
// nothing is selected.
bool SendSelectionToBack(ItemList& list, const EditHooks& hooks = {});
bool BringSelectionToFront(ItemList& list, const EditHooks& hooks = {});
// Join Items and Split Group as undoable steps.
void JoinSelection(ItemList& list, const EditHooks& hooks = {});
void SplitSelection(ItemList& list, const EditHooks& hooks = {});

} // namespace vlr
