// Undo and redo over the versions kept in a design's list, and the recording of changes as
// new versions. Every loop here walks the records; none steps through a numeric range taken
// from a file, so a serial or stacking number of two billion costs no more than a small one.
#include "model/history.h"

#include "model/geometry.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vlr {

namespace {

void Notify(const std::function<void()>& hook) {
    if (hook) {
        hook();
    }
}

// What Undo and Redo look up while they switch the records of one step, gathered before the
// first record is switched: none of it changes meanwhile (no record comes or goes, no serial
// changes, and no stacking shift goes above the top number), so one pass serves the whole step.
struct StepLookup {
    std::unordered_map<int32_t, ItemRecord*> bySerial; // the first class 0 record of a serial
    ItemRecord* firstGridlines = nullptr;
    int32_t front = 0; // MaxZOrder

    void Observe(ItemRecord* record) {
        if (!firstGridlines && record->kind == ItemKind::Gridlines) {
            firstGridlines = record;
        }
        if (IsItemClass(record)) {
            front = std::max<int32_t>(front, record->zOrder);
        }
    }

    // Finds the versions the step's records superseded, in one pass that ends when all are found.
    void FindSuperseded(const ItemList& list, const std::vector<ItemRecord*>& step) {
        std::unordered_set<int32_t> wanted;
        for (const ItemRecord* record : step) {
            if (record->replaces > 0) {
                wanted.insert(record->replaces);
            }
        }
        for (auto it = list.begin(); it != list.end() && !wanted.empty(); ++it) {
            ItemRecord* record = *it;
            if (IsItemClass(record) && wanted.erase(record->serial) != 0) {
                bySerial.emplace(record->serial, record);
            }
        }
    }

    // The version a record superseded; a gridlines record whose predecessor is gone falls back on
    // the first gridlines record of the design.
    ItemRecord* Superseded(const ItemRecord* record) const {
        auto found = record->replaces > 0 ? bySerial.find(record->replaces) : bySerial.end();
        ItemRecord* previous = found != bySerial.end() ? found->second : nullptr;
        if (!previous && record->kind == ItemKind::Gridlines) {
            previous = firstGridlines;
        }
        return previous == record ? nullptr : previous;
    }
};

// A revived version comes back at its old stacking number: the items a stacking command moved
// past it move back.
void UndoStackingChange(ItemList& list, const ItemRecord* revived, int64_t front) {
    const int64_t z = revived->zOrder;
    if (revived->zChange == kBroughtToFront) {
        ShiftStacking(list, z, front - 1, +1);
    } else if (revived->zChange == kSentToBack) {
        ShiftStacking(list, 2, z, -1);
    }
}

// The stacking command that superseded `superseded` is applied again; `revived` already has its
// number.
void RedoStackingChange(ItemList& list, const ItemRecord* superseded, const ItemRecord* revived,
                        int64_t front) {
    const int64_t z = superseded->zOrder;
    if (superseded->zChange == kBroughtToFront) {
        ShiftStacking(list, z + 1, front, -1, revived);
    } else if (superseded->zChange == kSentToBack) {
        ShiftStacking(list, 1, z - 1, +1, revived);
    }
}

// Switches the records of one step, in order, between live and hidden. Undoing, a record that
// goes hidden revives the version it superseded, with that version's stacking; redoing, a record
// that comes back hides that version again and repeats its stacking change. Derived bitmaps are
// dropped, to be rebuilt when next drawn.
void SwitchStep(ItemList& list, const std::vector<ItemRecord*>& step, const StepLookup& lookup,
                bool undoing) {
    for (ItemRecord* record : step) {
        ClearChildList(record);
        record->historyState = undoing ? kRedoable : kUndoable;
        const bool wasLive = record->deleted == 0;
        record->deleted = wasLive ? 255 : 0;
        ItemRecord* superseded = wasLive == undoing ? lookup.Superseded(record) : nullptr;
        if (!superseded) {
            continue;
        }
        if (undoing) {
            UndoStackingChange(list, superseded, lookup.front);
            superseded->deleted = 0;
        } else {
            superseded->deleted = 255;
            RedoStackingChange(list, superseded, record, lookup.front);
        }
    }
}

// Removes the records, then every picture data record of a picture they used that no remaining
// class 0 record uses: a picture is kept exactly as long as some record can still need it.
void RemoveWithPictures(ItemList& list, const std::vector<ItemRecord*>& doomed) {
    std::unordered_set<int32_t> pictures;
    for (ItemRecord* record : doomed) {
        if (record->pictureId > 0) {
            pictures.insert(record->pictureId);
        }
        RemoveRecord(list, record);
    }
    if (pictures.empty()) {
        return;
    }
    for (ItemRecord* record : list) {
        if (IsItemClass(record)) {
            pictures.erase(record->pictureId);
        }
    }
    std::vector<ItemRecord*> unused;
    for (ItemRecord* record : list) {
        if (record->kind == ItemKind::PictureData && pictures.count(record->pictureId) != 0) {
            unused.push_back(record);
        }
    }
    for (ItemRecord* record : unused) {
        RemoveRecord(list, record);
    }
}

// Purges the redo history and takes the number of a new step.
int32_t BeginStep(ItemList& list) {
    PurgeRedo(list);
    return NextUndoStep(list);
}

ItemRecord* NewVersion(ItemList& list, ItemRecord* source, int32_t step, int32_t zChange,
                       NumberSequence& serials) {
    ItemRecord* copy = DuplicateRecord(list, source, serials);
    copy->historyState = kUndoable;
    copy->undoStep = step;
    copy->replaces = source->serial;
    copy->gridX = source->gridX;
    copy->gridY = source->gridY;
    source->deleted = 255;
    source->selected = 0;
    // Every supersession records its own kind: a version revived by Undo and edited again must
    // not carry the stacking change of an earlier, undone supersession.
    source->zChange = zChange;
    return copy;
}

std::vector<ItemRecord*> SelectedRecords(const ItemList& list, bool designItemsOnly) {
    std::vector<ItemRecord*> selected;
    for (ItemRecord* record : list) {
        if (IsSelected(record) && (!designItemsOnly || IsDesignItemKind(record->kind))) {
            selected.push_back(record);
        }
    }
    return selected;
}

// The serial redoing continues after: that of the newest undoable record or, with none, that of
// the newest record outside the history; 0 when there is neither.
int64_t RedoStart(const ItemList& list, StepLookup* lookup = nullptr) {
    std::optional<int64_t> newestUndoable, newestOutside;
    for (ItemRecord* record : list) {
        if (lookup) {
            lookup->Observe(record);
        }
        if (!IsItemClass(record)) {
            continue;
        }
        const int64_t serial = record->serial;
        if (record->historyState == kUndoable) {
            newestUndoable = std::max(newestUndoable.value_or(serial), serial);
        } else if (record->historyState == kOutsideHistory) {
            newestOutside = std::max(newestOutside.value_or(serial), serial);
        }
    }
    return newestUndoable.value_or(newestOutside.value_or(0));
}

bool Restack(ItemList& list, const EditHooks& hooks, int32_t zChange) {
    // The items present before the command, in list order; the versions it appends are not
    // revisited.
    std::vector<ItemRecord*> items = SelectedRecords(list, true);
    if (items.empty()) {
        return false;
    }
    int32_t step = BeginStep(list);
    NumberSequence serials = SerialSequence(list);
    for (ItemRecord* source : items) {
        ItemRecord* copy = NewVersion(list, source, step, zChange, serials);
        if (zChange == kBroughtToFront) {
            BringToFront(list, copy);
        } else {
            SendToBack(list, copy);
        }
    }
    Notify(hooks.refreshUndoCommands);
    Notify(hooks.redraw);
    return true;
}

} // namespace

// ---- history queries ----

int32_t NextUndoStep(ItemList& list) {
    return NextFreeNumber(list, Counter::UndoStep);
}

ItemRecord* UndoTarget(const ItemList& list) {
    ItemRecord* found = nullptr;
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && record->historyState == kUndoable &&
            (!found || record->serial > found->serial)) {
            found = record;
        }
    }
    return found;
}

ItemRecord* RedoTarget(const ItemList& list) {
    const int64_t serial = RedoStart(list) + 1;
    if (serial > std::numeric_limits<int32_t>::max()) {
        return nullptr;
    }
    return FindBySerial(list, static_cast<int32_t>(serial));
}

bool CanUndo(const ItemList& list) {
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && record->historyState == kUndoable) {
            return true;
        }
    }
    return false;
}

bool CanRedo(const ItemList& list) {
    ItemRecord* target = RedoTarget(list);
    return target && target->historyState == kRedoable;
}

// ---- undo and redo ----

void Undo(ItemList& list, const EditHooks& hooks) {
    // The undoable records in the order UndoTarget takes them: newest first, the first in list
    // order on a tie. Switching one record leaves the others' states alone, so the order holds.
    StepLookup lookup;
    std::vector<std::pair<ItemRecord*, size_t>> undoable;
    size_t position = 0;
    for (ItemRecord* record : list) {
        lookup.Observe(record);
        if (IsItemClass(record) && record->historyState == kUndoable) {
            undoable.emplace_back(record, position);
        }
        ++position;
    }
    if (undoable.empty()) {
        return;
    }
    std::sort(undoable.begin(), undoable.end(), [](const auto& a, const auto& b) {
        int32_t serialA = a.first->serial, serialB = b.first->serial;
        return serialA != serialB ? serialA > serialB : a.second < b.second;
    });
    // The step: the newest record, and while its step number is not 0 the records after it that
    // share that number.
    const int32_t stepNumber = undoable.front().first->undoStep;
    std::vector<ItemRecord*> step;
    for (const auto& [record, listPosition] : undoable) {
        if (!step.empty() && (stepNumber == 0 || record->undoStep != stepNumber)) {
            break;
        }
        step.push_back(record);
    }
    lookup.FindSuperseded(list, step);

    SwitchStep(list, step, lookup, true);
    Notify(hooks.refreshUndoCommands);
}

void Redo(ItemList& list, const EditHooks& hooks) {
    // The step starts right after the newest undoable record (or, with none, after the newest
    // record outside the history) and runs on through consecutive serials; each record redone
    // becomes the newest undoable one, so the next is the serial after it.
    StepLookup lookup;
    const int64_t before = RedoStart(list, &lookup);
    std::unordered_map<int64_t, ItemRecord*> later; // the first record of each later serial
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && record->serial > before) {
            later.emplace(record->serial, record);
        }
    }
    // Only redoable records are redone: in a file whose history has gaps in its serials the
    // record after the newest undoable one may be anything, and switching it would never end.
    std::vector<ItemRecord*> step;
    int32_t stepNumber = 0;
    for (int64_t serial = before + 1;; ++serial) {
        auto found = later.find(serial);
        if (found == later.end() || found->second->historyState != kRedoable) {
            break;
        }
        ItemRecord* record = found->second;
        if (step.empty()) {
            stepNumber = record->undoStep;
        } else if (stepNumber == 0 || record->undoStep != stepNumber) {
            break;
        }
        step.push_back(record);
    }
    lookup.FindSuperseded(list, step);

    SwitchStep(list, step, lookup, false);
    if (!step.empty()) {
        Notify(hooks.refreshUndoCommands);
    }
}

void PurgeRedo(ItemList& list) {
    std::vector<ItemRecord*> redoable;
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && record->historyState == kRedoable) {
            redoable.push_back(record);
        }
    }
    RemoveWithPictures(list, redoable);
}

void ClearHistory(ItemList& list, const EditHooks& hooks) {
    PurgeRedo(list);
    std::vector<ItemRecord*> dropped;
    int64_t counter = 0;
    for (ItemRecord* record : list) {
        if (!IsItemClass(record)) {
            continue;
        }
        if (record->deleted != 0 || record->kind == ItemKind::Deletion ||
            (record->kind == ItemKind::Text && LineCount(record) == 0)) {
            dropped.push_back(record);
        } else {
            record->historyState = kOutsideHistory;
            record->replaces = 0;
            record->serial = SaturateInt32(++counter);
        }
    }
    RemoveWithPictures(list, dropped);
    CompactGroupIds(list);
    Notify(hooks.redraw);
    Notify(hooks.refreshUndoCommands);
}

ItemRecord* DiscardNewest(ItemList& list) {
    ItemRecord* newest = nullptr;
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && (!newest || record->serial > newest->serial)) {
            newest = record;
        }
    }
    if (!newest) {
        return nullptr;
    }
    // The version the abandoned record superseded comes back as it was.
    StepLookup lookup;
    for (ItemRecord* record : list) {
        lookup.Observe(record);
    }
    lookup.FindSuperseded(list, {newest});
    if (ItemRecord* previous = lookup.Superseded(newest)) {
        previous->deleted = 0;
    }
    newest->serial = -1;
    newest->deleted = 255;
    newest->historyState = kOutsideHistory;
    ClearChildList(newest);

    ItemRecord* result = nullptr;
    for (ItemRecord* record : list) {
        if (IsItemClass(record) && (!result || record->serial > result->serial)) {
            result = record;
        }
    }
    return result;
}

// ---- recording changes ----

int32_t StartUndoStep(ItemList& list, const EditHooks& hooks) {
    int32_t step = BeginStep(list);
    Notify(hooks.refreshUndoCommands);
    return step;
}

ItemRecord* MakeNewVersion(ItemList& list, ItemRecord* source, int32_t step, int32_t zChange) {
    if (!source) {
        return nullptr;
    }
    NumberSequence serials = SerialSequence(list);
    return NewVersion(list, source, step, zChange, serials);
}

int32_t MakeNewVersions(ItemList& list, const EditHooks& hooks) {
    std::vector<ItemRecord*> selected = SelectedRecords(list, false);
    int32_t step = BeginStep(list);
    NumberSequence serials = SerialSequence(list);
    for (ItemRecord* source : selected) {
        ItemRecord* copy = NewVersion(list, source, step, 0, serials);
        // The base of a drag: later changes are computed from these, not accumulated.
        copy->baseX1 = copy->x1;
        copy->baseY1 = copy->y1;
        copy->baseX2 = copy->x2;
        copy->baseY2 = copy->y2;
        copy->rotationBase = copy->rotation;
        SaveCurrentAsSaved(copy->pointList);
    }
    Notify(hooks.refreshUndoCommands);
    return step;
}

EditHooks UndoableEdit(EditHooks hooks) {
    EditHooks window = hooks;
    hooks.makeNewVersions = [window](ItemList& list) { MakeNewVersions(list, window); };
    return hooks;
}

ItemRecord* CreateNewItem(ItemList& list, int32_t kind, const EditHooks& hooks) {
    int32_t step = BeginStep(list);
    int32_t zOrder = NextZOrder(list);
    ItemRecord* item = CreateRecord(list, kind);
    item->undoStep = step;
    item->zOrder = zOrder;
    Notify(hooks.refreshUndoCommands);
    return item;
}

ItemRecord* EditGridlines(ItemList& list, const EditHooks& hooks) {
    ItemRecord* current = nullptr;
    for (ItemRecord* record : list) {
        if (record->kind == ItemKind::Gridlines && IsLiveItem(record)) {
            current = record;
            break;
        }
    }
    if (!current) {
        return nullptr;
    }
    int32_t step = BeginStep(list);
    ItemRecord* version = MakeNewVersion(list, current, step);
    Notify(hooks.refreshUndoCommands);
    return version;
}

// ---- document commands ----

bool DeleteSelection(ItemList& list, const EditHooks& hooks) {
    std::vector<ItemRecord*> selected = SelectedRecords(list, false);
    if (selected.empty()) {
        return false;
    }
    int32_t step = BeginStep(list);
    NumberSequence serials = SerialSequence(list);
    auto remove = [&](ItemRecord* item) {
        ItemRecord* deletion = DuplicateRecord(list, item, serials);
        deletion->kind = ItemKind::Deletion;
        deletion->selected = 0;
        deletion->historyState = kUndoable;
        deletion->undoStep = step;
        deletion->replaces = item->serial;
        ClearChildList(deletion);
        item->deleted = 255;
        item->selected = 0;
        item->zChange = 0;
    };
    std::vector<ItemRecord*> markers;
    for (ItemRecord* record : selected) {
        if (IsDesignItemKind(record->kind) || IsClipOutlineKind(record->kind)) {
            remove(record);
        } else if (IsMarker(record)) {
            markers.push_back(record);
        }
    }
    // A group whose members are all gone takes its marker with it, so no handle of an empty
    // group is left behind; undo brings both back.
    std::unordered_set<int32_t> liveGroups;
    for (ItemRecord* record : list) {
        if (IsLiveItem(record) && IsDesignItemKind(record->kind) && record->groupId > 0) {
            liveGroups.insert(record->groupId);
        }
    }
    for (ItemRecord* marker : markers) {
        if (liveGroups.count(marker->groupId) == 0) {
            remove(marker);
        }
    }
    SelectOnly(list, nullptr);
    Notify(hooks.refreshUndoCommands);
    Notify(hooks.redraw);
    return true;
}

bool SendSelectionToBack(ItemList& list, const EditHooks& hooks) {
    return Restack(list, hooks, kSentToBack);
}

bool BringSelectionToFront(ItemList& list, const EditHooks& hooks) {
    return Restack(list, hooks, kBroughtToFront);
}

void JoinSelection(ItemList& list, const EditHooks& hooks) {
    if (FirstSelected(list)) {
        JoinItems(list, UndoableEdit(hooks));
    }
}

void SplitSelection(ItemList& list, const EditHooks& hooks) {
    if (FirstSelected(list)) {
        SplitGroup(list, UndoableEdit(hooks));
    }
}

} // namespace vlr
