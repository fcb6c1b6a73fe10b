// The design the editing benchmarks start from: 10,000 texts, lines, rectangles and ellipses
// opened from a design file in memory.
#pragma once

#include "model/designfile.h"
#include "model/itemlist.h"

#include <iterator>
#include <random>
#include <vector>

namespace vlr::bench {

inline constexpr int kEditedItems = 10'000;

// The file of the design before any edit. Records made through CreateRecord cost a pass over the
// list each for their serial; the reader numbers them in one pass, so the design is made once
// and read for every benchmark.
inline const std::vector<uint8_t>& EditedDesignBytes() {
    static const std::vector<uint8_t> bytes = [] {
        ItemList list;
        ItemRecord* header = CreateRecord(list, ItemKind::Header);
        header->recordClass = RecordClass::Header;
        header->zoom = 1.0;
        header->units = 1;
        CreateRecord(list, ItemKind::Gridlines);
        std::mt19937 random(7);
        const int32_t kinds[] = {ItemKind::Text, ItemKind::Line, ItemKind::Rectangle, ItemKind::Ellipse};
        NumberSequence serials = SerialSequence(list);
        for (int i = 0; i < kEditedItems; ++i) {
            ItemRecord* item = CreateRecord(list, kinds[random() % std::size(kinds)], serials);
            item->zOrder = i + 1;
            item->x1 = static_cast<int32_t>(random() % 800);
            item->y1 = static_cast<int32_t>(random() % 1100);
            item->x2 = item->x1 + static_cast<int32_t>(random() % 200);
            item->y2 = item->y1 + static_cast<int32_t>(random() % 200);
            SetWorldFromPixels(item, list.screen);
            if (item->kind == ItemKind::Text) {
                SetText(item, u"Velloran Business Cards");
            } else if (IsShapeKind(item->kind)) {
                for (int p = 0; p < 4; ++p) {
                    item->pointList.push_back({.x = item->x1 + p, .y = item->y1 + p});
                }
            }
        }
        std::vector<uint8_t> file;
        WriteDesignToMemory(list, file);
        return file;
    }();
    return bytes;
}

inline ItemList OpenEditedDesign() {
    ItemList list;
    FixedAnswerPrompt prompt(PromptAnswer::No);
    ReadDesignFromMemory(EditedDesignBytes(), list, prompt);
    return list;
}

} // namespace vlr::bench
