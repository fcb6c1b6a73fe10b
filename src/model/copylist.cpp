// Copying the selection into the copy list, pasting the copy list into a design, and inserting a
// design file through the copy list.
#include "model/copylist.h"

#include "model/geometry.h"
#include "model/history.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vlr {

namespace {

// Two segment lengths of a line pattern are the same when they differ by less than this (mm).
constexpr double kSameLength = 0.0001;
constexpr int32_t kPatternSegments = 12;

// Texts, lines, shapes, clips and group markers travel through the copy list.
bool IsCopiedKind(int32_t kind) {
    return kind == ItemKind::Text || HasOutlinePen(kind) || kind == ItemKind::Clip ||
           kind == ItemKind::GroupMarker;
}

// A record of another class than items (the header, picture data, a line-pattern definition) is
// copied with its whole body: record duplication copies the item fields, which would overwrite
// these records' own values at the same offsets (the picture editor's scale of a picture, the
// first segment length of a pattern) and put picture data into the undo history.
ItemRecord* CopyWholeRecord(ItemList& list, ItemRecord* source) {
    ItemRecord* copy = DuplicateRecord(list, source);
    SetBodyBytes(*copy, BodyBytes(*source).data());
    copy->selected = 0;
    return copy;
}

// The first picture data record of each picture and the first definition of each line pattern
// of a list, found in one pass.
struct SharedRecords {
    std::unordered_map<int32_t, ItemRecord*> pictures;
    std::unordered_map<int32_t, ItemRecord*> patterns;

    explicit SharedRecords(const ItemList& list) {
        for (ItemRecord* record : list) {
            if (record->kind == ItemKind::PictureData) {
                pictures.emplace(record->pictureId, record);
            } else if (record->recordClass == RecordClass::LinePattern) {
                patterns.emplace(record->kind, record);
            }
        }
    }

    // The line-pattern definition an item draws with, or none.
    ItemRecord* PatternOf(const ItemRecord* item) const {
        if (!HasOutlinePen(item->kind) || item->dashPattern >= 0) {
            return nullptr;
        }
        auto found = patterns.find(item->dashPattern);
        return found != patterns.end() ? found->second : nullptr;
    }
};

// The number added to the group ids of pasted items: the copy list's ids (1 ... k) move above
// every id of the target, leaving one free in between, as in id + NextGroupId. When that would
// leave the int32 range the target's groups are renumbered by rank first.
int32_t PastedGroupOffset(ItemList& target, const std::vector<ItemRecord*>& pasted) {
    int64_t largestPasted = 0;
    for (const ItemRecord* record : pasted) {
        largestPasted = std::max<int64_t>(largestPasted, record->groupId);
    }
    int32_t offset = NextGroupId(target);
    if (offset + largestPasted > std::numeric_limits<int32_t>::max()) {
        RenumberByRank(target, Counter::GroupId);
        offset = NextGroupId(target);
    }
    return offset;
}

// Line patterns of pasted items: each definition from the copy list becomes the target's
// identical pattern, or a new pattern of the target with a copy of the definition. A pattern
// number the copy list has no definition for is kept as it is.
class PatternMatching {
public:
    PatternMatching(const SharedRecords& copied, ItemList& target) : copied_(copied), target_(target) {
        for (ItemRecord* record : target) {
            if (record->recordClass == RecordClass::LinePattern) {
                targetPatterns_.push_back(record);
            }
        }
    }

    int32_t Map(const ItemRecord* item) {
        auto known = matched_.find(item->dashPattern);
        if (known != matched_.end()) {
            return known->second;
        }
        ItemRecord* definition = copied_.PatternOf(item);
        int32_t id = definition ? Match(definition) : int32_t(item->dashPattern);
        matched_.emplace(item->dashPattern, id);
        return id;
    }

private:
    int32_t Match(ItemRecord* definition) {
        for (ItemRecord* record : targetPatterns_) {
            if (SameLinePattern(record, definition)) {
                return record->kind;
            }
        }
        std::optional<int32_t> id = NextPatternId(target_);
        if (!id) {
            return 0; // no pattern number left: drawn solid rather than with another pattern
        }
        ItemRecord* added = CopyWholeRecord(target_, definition);
        added->kind = *id;
        targetPatterns_.push_back(added);
        return *id;
    }

    const SharedRecords& copied_;
    ItemList& target_;
    std::vector<ItemRecord*> targetPatterns_;
    std::unordered_map<int32_t, int32_t> matched_;
};

int32_t Shifted(int32_t value) {
    return SaturateInt32(static_cast<int64_t>(value) + kPasteOffset);
}

// Moves an item by the paste offset; its drag base and the saved copies of its points hold the
// moved values too.
void MoveByPasteOffset(ItemRecord* item) {
    item->x1 = Shifted(item->x1);
    item->y1 = Shifted(item->y1);
    item->x2 = Shifted(item->x2);
    item->y2 = Shifted(item->y2);
    item->baseX1 = item->x1;
    item->baseY1 = item->y1;
    item->baseX2 = item->x2;
    item->baseY2 = item->y2;
    SaveCurrentAsSaved(item->pointList);
    MoveFromSaved(item->pointList, kPasteOffset, kPasteOffset);
    SaveCurrentAsSaved(item->pointList);
}

} // namespace

bool SameLinePattern(const ItemRecord* a, const ItemRecord* b) {
    if (a->segmentCount != b->segmentCount) {
        return false;
    }
    const int32_t used = std::clamp<int32_t>(a->segmentCount, 0, kPatternSegments);
    for (int32_t i = 0; i < used; ++i) {
        double lengthA = a->segmentLengths[static_cast<size_t>(i)];
        double lengthB = b->segmentLengths[static_cast<size_t>(i)];
        if (!(std::fabs(lengthA - lengthB) < kSameLength)) {
            return false;
        }
    }
    return true;
}

void CopyToList(ItemList& source, ItemList& copyList) {
    FreeList(copyList);
    ItemRecord* header = FindRecord(source, ItemKind::Header);
    if (!header) {
        return;
    }
    CopyWholeRecord(copyList, header);
    const SharedRecords shared(source);
    std::unordered_set<int32_t> pictures;
    std::unordered_set<int32_t> patterns;
    NumberSequence serials = SerialSequence(copyList);
    for (ItemRecord* record : source) {
        if (!IsSelected(record) || !IsCopiedKind(record->kind)) {
            continue;
        }
        ItemRecord* copy = DuplicateRecord(copyList, record, serials);
        copy->selected = 0;
        // Saved screen pixels and the side panels' tags belong to the source design's window.
        copy->backgroundCache.clear();
        copy->tagList.clear();
        if (record->kind == ItemKind::Clip && pictures.insert(record->pictureId).second) {
            if (auto picture = shared.pictures.find(record->pictureId); picture != shared.pictures.end()) {
                CopyWholeRecord(copyList, picture->second);
            }
        }
        if (ItemRecord* pattern = shared.PatternOf(record);
            pattern && patterns.insert(pattern->kind).second) {
            CopyWholeRecord(copyList, pattern);
        }
    }
    CompactGroupIds(copyList);
}

int PasteFromList(ItemList& copyList, ItemList& target, const EditHooks& hooks, int32_t markerWidth,
                  int32_t markerHeight) {
    if (!FindRecord(copyList, ItemKind::Header) || !FindRecord(target, ItemKind::Header)) {
        return 0;
    }
    // Every visible item, bottom first; items the copy list gives the same stacking number keep
    // their list order. Markers are handles, not stacked.
    std::vector<ItemRecord*> items;
    std::vector<ItemRecord*> markers;
    for (ItemRecord* record : copyList) {
        if (!IsItemClass(record) || record->deleted != 0 || record->suspended != 0) {
            continue;
        }
        if (IsDesignItemKind(record->kind)) {
            items.push_back(record);
        } else if (record->kind == ItemKind::GroupMarker) {
            markers.push_back(record);
        }
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const ItemRecord* a, const ItemRecord* b) { return a->zOrder < b->zOrder; });

    SelectOnly(target, nullptr);
    const int32_t step = NextUndoStep(target);
    std::vector<ItemRecord*> pasted = items;
    pasted.insert(pasted.end(), markers.begin(), markers.end());
    const int32_t groupOffset = PastedGroupOffset(target, pasted);

    // The pictures of the pasted clips, once per design.
    std::unordered_set<int32_t> pictures;
    for (const ItemRecord* item : items) {
        if (item->kind == ItemKind::Clip) {
            pictures.insert(item->pictureId);
        }
    }
    for (ItemRecord* record : target) {
        if (record->kind == ItemKind::PictureData) {
            pictures.erase(record->pictureId);
        }
    }
    for (ItemRecord* record : copyList) {
        if (record->kind == ItemKind::PictureData && pictures.erase(record->pictureId) != 0) {
            CopyWholeRecord(target, record);
        }
    }

    const SharedRecords copied(copyList);
    PatternMatching patterns(copied, target);
    NumberSequence serials = SerialSequence(target);
    NumberSequence stacking = StackingSequence(target);
    for (ItemRecord* source : pasted) {
        ItemRecord* item = DuplicateRecord(target, source, serials);
        if (source->groupId > 0) {
            item->groupId = source->groupId + groupOffset;
        }
        MoveByPasteOffset(item);
        if (IsShapeKind(item->kind)) {
            ShapeBounds(item, target.screen, markerWidth, markerHeight);
        }
        SetWorldFromPixels(item, target.screen);
        DeriveBounds(item);
        item->selected = 255;
        item->deleted = 0;
        item->undoStep = step;
        item->dashPattern = patterns.Map(source);
        item->zOrder = 0;
        if (source->kind != ItemKind::GroupMarker) {
            item->zOrder = stacking.Take(target);
        }
        if ((item->kind == ItemKind::Text || item->kind == ItemKind::Line) && hooks.recomputeOutline) {
            hooks.recomputeOutline(item);
        }
    }
    if (hooks.refreshUndoCommands) {
        hooks.refreshUndoCommands();
    }
    return static_cast<int>(pasted.size());
}

ReadResult ImportDesign(std::string_view path, ItemList& copyList, ItemList& target, Prompt& prompt,
                        const EditHooks& hooks) {
    ReadResult result = ReadDesign(path, copyList, prompt);
    if (result.ok()) {
        // A file's group ids may be anything; the copy list's are 1 ... k, as after a copy.
        CompactGroupIds(copyList);
        PasteFromList(copyList, target, hooks);
    } else if (result.status == ReadStatus::IoError || result.status == ReadStatus::NotADesign) {
        FreeList(copyList);
    }
    return result;
}

} // namespace vlr
