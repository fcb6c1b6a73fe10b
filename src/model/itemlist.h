// The list-level rules of a design: which records are live and selected, how selections are
// counted, stacking order, joined groups and the searches by kind, serial and picture.
#pragma once

#include "model/itemrecord.h"

#include <functional>
#include <optional>

namespace vlr {

// What the list commands ask of the editor around them. Each hook may be left empty.
struct EditHooks {
    // Makes new versions of the selected items for undo; the selection becomes those versions.
    std::function<void(ItemList&)> makeNewVersions = {};
    std::function<void()> redraw = {};
    std::function<void()> refreshPanels = {};
    // Enables Undo and Redo from CanUndo and CanRedo; called whenever they may have changed.
    std::function<void()> refreshUndoCommands = {};
    // A pasted text or line recomputes the outline the renderer keeps for it.
    std::function<void(ItemRecord*)> recomputeOutline = {};
};

// A class 0 record that is not deleted.
bool IsLiveItem(const ItemRecord* record);

// ---- selection ----

bool IsSelected(const ItemRecord* record);
void SelectOnly(ItemList& list, ItemRecord* record);
void SelectLastItem(ItemList& list);
ItemRecord* FirstSelected(const ItemList& list);
ItemRecord* SoleSelected(const ItemList& list);
ItemRecord* LastSuspended(const ItemList& list);
int32_t FirstSelectedStep(const ItemList& list);
// Selected items, a joined group counting once when countGroupsOnce is set.
int CountSelectedUnits(ItemList& list, bool countGroupsOnce);
bool AnyGroupSelected(const ItemList& list);
bool AllSelectedGrouped(const ItemList& list);
int CountSelectedMarkers(const ItemList& list);
ItemRecord* LastSelectedMarker(const ItemList& list);
bool SameKindSelection(const ItemList& list);

// ---- stacking ----

int32_t MaxZOrder(const ItemList& list);
// The stacking number of a new item: 1 + MaxZOrder.
int32_t NextZOrder(ItemList& list);
// The stacking numbers of items appended one after another, each on top of the one before.
NumberSequence StackingSequence(const ItemList& list);
ItemRecord* FindByZOrder(const ItemList& list, int32_t zOrder);
// Moves by delta the first live item other than except (in list order) of every stacking number
// in [low, high]: what stepping through the numbers one by one with FindByZOrder does, moving
// each item found to a number already passed. Costs one pass whatever the numbers are.
void ShiftStacking(ItemList& list, int64_t low, int64_t high, int32_t delta,
                   const ItemRecord* except = nullptr);
void SendToBack(ItemList& list, ItemRecord* record);
void BringToFront(ItemList& list, ItemRecord* record);

// ---- groups ----

int32_t NextGroupId(ItemList& list);
bool GroupInUse(const ItemList& list, int32_t id);
void RenameGroup(ItemList& list, int32_t from, int32_t to);
void MarkGroup(ItemList& list, int32_t id, bool flag);
void ClearMarks(ItemList& list);
Point GroupCentre(const ItemList& list, int32_t id);
void JoinItems(ItemList& list, const EditHooks& hooks = {});
void SplitGroup(ItemList& list, const EditHooks& hooks = {});
void CompactGroupIds(ItemList& list);
void SelectGroupOf(ItemList& list, ItemRecord* record, bool flag);

// ---- searches ----

ItemRecord* FindBySerial(const ItemList& list, int32_t serial);
ItemRecord* FindPictureData(const ItemList& list, int32_t pictureId);
int CountPictureUsers(const ItemList& list, int32_t pictureId);
bool LiveClipOfPicture(const ItemList& list, int32_t pictureId);
bool ClipboardHasItems(const ItemList& list);

// The id of a new line-pattern definition: one below the smallest id present, -1 for the
// first. None when the ids are exhausted.
std::optional<int32_t> NextPatternId(const ItemList& list);

} // namespace vlr
