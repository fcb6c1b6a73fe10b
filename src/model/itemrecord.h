// The item record that holds every element of a design, the list that holds a design's
// records, and the record and text operations shared by every subsystem.
#pragma once

#include "model/itembody.h"
#include "model/itemkind.h"
#include "model/numeric.h"
#include "model/screenresolution.h"

#include <array>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vlr {

struct ItemRecord;

// One point of a shape: the point, its copy taken when a move or rotation starts, the two
// control points of the curve segment to the next point and their copies, and two flags.
// All values are design pixels.
struct PointNode {
    int32_t x = 0, y = 0;
    int32_t savedX = 0, savedY = 0;
    int32_t ctrl1X = 0, ctrl1Y = 0;
    int32_t ctrl2X = 0, ctrl2Y = 0;
    int32_t savedCtrl1X = 0, savedCtrl1Y = 0;
    int32_t savedCtrl2X = 0, savedCtrl2Y = 0;
    uint8_t flag1 = 0, flag2 = 0;
    friend bool operator==(const PointNode&, const PointNode&) = default;
};

// One gridline of the gridlines record. The anchor next to the ruler is derived from the
// position where it is drawn.
struct GridNode {
    int32_t position = 0;    // design pixels from the canvas origin
    uint8_t highlighted = 0; // 255 while the pointer is over its anchor
    uint8_t removed = 0;     // 1 = deleted; kept in the list and skipped everywhere
    friend bool operator==(const GridNode&, const GridNode&) = default;
};

// Screen pixels saved under an item; the canvas derives its own kind from this.
struct SavedPixels {
    virtual ~SavedPixels();
};

// Header bytes that were replaced in memory because later code could not use them (a zoom of
// NaN, a negative scale ...). The writer stores the original bytes again as long as the field
// still holds the replacement, so opening and saving a design does not rewrite its values.
struct ReplacedField {
    uint16_t offset = 0;
    uint8_t size = 0;
    std::array<uint8_t, 8> stored{};
    std::array<uint8_t, 8> replacement{};
};

// A design: a doubly linked list of records in creation order. It owns its records and frees
// them when it is destroyed.
struct ItemList {
    ItemRecord* first = nullptr;
    ItemRecord* last = nullptr;
    // The resolution at which the design's world coordinates become design pixels.
    ScreenResolution screen;
    // Runtime only: the bitmaps the renderer derives for the list's clips (their child lists)
    // together keep at most budget bytes; keptBytes is what they held when last counted plus
    // what was made since, so the records are counted only when that nears the budget.
    struct DerivedBitmaps {
        int64_t budget = int64_t{512} << 20;
        int64_t keptBytes = 0;
    };
    mutable DerivedBitmaps derivedBitmaps;

    ItemList() = default;
    explicit ItemList(ScreenResolution resolution) : screen(resolution) {}
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    ItemList(ItemList&& other) noexcept;
    ItemList& operator=(ItemList&& other) noexcept;
    ~ItemList();

    bool empty() const { return first == nullptr; }

    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = ItemRecord*;
        using difference_type = std::ptrdiff_t;
        using pointer = ItemRecord**;
        using reference = ItemRecord*;
        iterator() = default;
        explicit iterator(ItemRecord* record) : current(record) {}
        ItemRecord* operator*() const { return current; }
        iterator& operator++();
        iterator operator++(int) {
            iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const iterator&, const iterator&) = default;

    private:
        ItemRecord* current = nullptr;
    };
    // Walks the records in list order. Do not remove the current record while walking.
    iterator begin() const { return iterator(first); }
    iterator end() const { return iterator(nullptr); }
};

// A record: a link header that lives only in memory, followed by the stored body (the base).
struct ItemRecord : ItemBody {
    ItemRecord* prev = nullptr;
    ItemRecord* next = nullptr;
    // UTF-16 text without its terminator: the text of a text item, the file name of picture
    // data, the page-setup texts of the header. No value means no buffer.
    std::optional<std::u16string> wideText;
    std::vector<std::unique_ptr<SavedPixels>> backgroundCache; // runtime only
    std::vector<int32_t> tagList;                              // runtime only
    std::vector<GridNode> gridX;                               // gridlines record: lines at x positions
    std::vector<GridNode> gridY;                               // gridlines record: lines at y positions
    std::vector<PointNode> pointList;
    // Picture data: the encoded picture file; clip children: their bitmap. Empty = none.
    std::vector<uint8_t> pictureStream;
    // Clip: derived bitmaps, rebuilt on demand; runtime only.
    ItemList childList;
    // Header only: values replaced when the design was read.
    std::vector<ReplacedField> replacedFields;

    ItemRecord() : ItemBody{} {}
    ItemRecord(const ItemRecord&) = delete;
    ItemRecord& operator=(const ItemRecord&) = delete;
};

// The numbers class 0 records count in: history order, stacking order, undo steps and joined
// groups. A new number is 1 + the largest in use.
enum class Counter { Serial, ZOrder, UndoStep, GroupId };
int32_t CounterValue(const ItemRecord* record, Counter counter);

// A drawable item or a history record: the records of class 0.
inline bool IsItemClass(const ItemRecord* record) {
    return record->recordClass == RecordClass::Item;
}
// The marker of a joined group.
inline bool IsMarker(const ItemRecord* record) {
    return record->kind == ItemKind::GroupMarker;
}

// Numbers for records appended one after another, each record taking its number before the next
// is asked for: the numbers NextFreeNumber would give before each append, counted up instead of
// searched for, so a command that appends many records does not pass over the list per record.
class NumberSequence {
public:
    NumberSequence(const ItemList& list, Counter counter);
    int32_t Take(ItemList& list);

private:
    Counter counter_;
    int64_t next_; // past the int32 range: the list is renumbered first
};

// ---- record operations ----

// Appends a record with the new-record values of its kind; sets the design's modified flag
// unless the record is the header.
ItemRecord* CreateRecord(ItemList& list, int32_t kind);
// The same, with the serial taken from a sequence over the same list.
ItemRecord* CreateRecord(ItemList& list, int32_t kind, NumberSequence& serials);
// Appends a copy of source (none gives none); history fields keep their new-record values.
ItemRecord* DuplicateRecord(ItemList& list, ItemRecord* source);
ItemRecord* DuplicateRecord(ItemList& list, ItemRecord* source, NumberSequence& serials);
// Unlinks the record and releases it with everything it owns.
void RemoveRecord(ItemList& list, ItemRecord* record);
// Releases every record; the list is empty afterwards.
void FreeList(ItemList& list);
// Appends a record the caller fills completely (a reader overwriting the whole body). The list
// takes ownership.
void LinkAtTail(ItemList& list, ItemRecord* record);
// Releases the derived bitmaps of a clip.
void ClearChildList(ItemRecord* record);

ItemRecord* FindRecord(const ItemList& list, int32_t kind);
ItemRecord* FindLiveRecord(const ItemList& list, int32_t kind);
// 1 + the largest value over the class 0 records (1 when there is none). When that would leave
// the int32 range (a file holding the largest value), the list is renumbered by rank first, so
// a new number is never a wrapped one, never one already taken, and still the largest.
int32_t NextFreeNumber(ItemList& list, Counter counter);
// Gives the positive values of a counter over the class 0 records the numbers 1, 2, 3 ... in
// their order, equal values staying equal; values of 0 and below (no group, a discarded serial)
// stay. Serials carry the `replaces` links along; a link to no serial becomes 0, a link to
// none, so that it cannot come to name another record.
void RenumberByRank(ItemList& list, Counter counter);
// The serial of a new record.
int32_t NextSerial(ItemList& list);
// The serials of records appended one after another.
NumberSequence SerialSequence(const ItemList& list);
void SetModified(ItemList& list, bool modified);
bool IsModified(const ItemList& list);
// A header that is not modified and at most two other records: a window may take a file.
bool IsUntouchedDesign(const ItemList& list);

// Derives the integer points, bounds, spans, length and direction from the world coordinates.
void Recalculate(ItemRecord* record, const ScreenResolution& screen);
// Derives the bounds, spans and length from the two integer points (a round clip: the circle
// about point 1 through point 2).
void DeriveBounds(ItemRecord* record);
// (x1 * pxPerMmX, y1 * pxPerMmY, x2 * pxPerMmX, y2 * pxPerMmY); none gives zeros.
std::array<double, 4> WorldFromPixels(const ItemRecord* record, const ScreenResolution& screen);
// Stores WorldFromPixels in the record's world coordinates.
void SetWorldFromPixels(ItemRecord* record, const ScreenResolution& screen);
// Derives the header's page rectangle in pixels at its zoom.
void HeaderGeometry(ItemRecord* header);

// ---- text operations (a record of none gives 0 or empty) ----

// Spaces removed from both ends (typed and stored texts, file names).
std::string_view Trim(std::string_view text);

void SetText(ItemRecord* record, std::u16string_view text);
std::u16string GetText(const ItemRecord* record);
// Code units before the terminator, at most kTextScanLimit + 1.
int32_t TextLength(const ItemRecord* record);
// 0 without text; otherwise 1 + the number of separators.
int32_t LineCount(const ItemRecord* record);
// Line n, 1-based; empty for n < 1 or past the last line.
std::u16string GetLine(const ItemRecord* record, int32_t n);
// The n-th code unit, 1-based; 0 outside 1 ... TextLength.
char16_t CharAt(const ItemRecord* record, int32_t n);

} // namespace vlr
