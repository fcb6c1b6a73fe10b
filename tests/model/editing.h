// Test fixtures for undo, redo and the copy list: a new design as the editor makes it, and the
// edits the canvas and the side panels make through the history functions.
#pragma once

#include "model/history.h"

#include <initializer_list>
#include <vector>

namespace vlr::test {

// A header and the first gridlines record, which is outside the history.
inline ItemList NewDesign() {
    ItemList list;
    ItemRecord* header = CreateRecord(list, ItemKind::Header);
    header->recordClass = RecordClass::Header;
    header->zoom = 1.0;
    header->units = 1;
    CreateRecord(list, ItemKind::Gridlines)->historyState = 0;
    return list;
}

// A new item from an insertion tool, as a step of its own: a line, text or clip from (x1, y1) to
// (x2, y2), or a rectangle with those corners.
inline ItemRecord* Insert(ItemList& list, int32_t kind, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    ItemRecord* item = CreateNewItem(list, kind);
    item->x1 = x1;
    item->y1 = y1;
    item->x2 = x2;
    item->y2 = y2;
    if (IsShapeKind(kind)) {
        for (Point corner : {Point{x1, y1}, Point{x2, y1}, Point{x2, y2}, Point{x1, y2}}) {
            item->pointList.push_back({.x = corner.x, .y = corner.y});
        }
    }
    if (kind == ItemKind::Text) {
        SetText(item, u"Text");
    }
    SetWorldFromPixels(item, list.screen);
    DeriveBounds(item);
    return item;
}

inline void Select(ItemList& list, std::initializer_list<ItemRecord*> records) {
    SelectOnly(list, nullptr);
    for (ItemRecord* record : records) {
        record->selected = 255;
    }
}

inline std::vector<ItemRecord*> SelectedItems(const ItemList& list) {
    std::vector<ItemRecord*> selected;
    for (ItemRecord* record : list) {
        if (IsSelected(record)) {
            selected.push_back(record);
        }
    }
    return selected;
}

// A drag of the selection by (dx, dy): new versions, then the move applied to them.
inline void MoveSelection(ItemList& list, int32_t dx, int32_t dy) {
    MakeNewVersions(list);
    for (ItemRecord* record : SelectedItems(list)) {
        record->x1 += dx;
        record->y1 += dy;
        record->x2 += dx;
        record->y2 += dy;
        for (PointNode& node : record->pointList) {
            node.x += dx;
            node.y += dy;
        }
        SetWorldFromPixels(record, list.screen);
        DeriveBounds(record);
    }
}

// A side-panel colour change of the selection.
inline void RecolourSelection(ItemList& list, int32_t color) {
    MakeNewVersions(list);
    for (ItemRecord* record : SelectedItems(list)) {
        record->color = color;
    }
}

inline std::vector<ItemRecord*> LiveItems(const ItemList& list) {
    std::vector<ItemRecord*> live;
    for (ItemRecord* record : list) {
        if (IsLiveItem(record) && IsDesignItemKind(record->kind)) {
            live.push_back(record);
        }
    }
    return live;
}

inline size_t RecordCount(const ItemList& list) {
    size_t count = 0;
    for (auto it = list.begin(); it != list.end(); ++it) {
        ++count;
    }
    return count;
}

} // namespace vlr::test
