// The application's copy list: one ItemList, shared by every open design, through which items
// are copied and pasted between designs and a saved design file is inserted into the active one.
// After a copy it holds a copy of the source's document header, then the copied items in the
// source's list order, each clip followed by its picture data and each line or shape by the
// line-pattern definition it uses (each picture and pattern once).
#pragma once

#include "model/designfile.h"
#include "model/itemlist.h"

#include <cstdint>
#include <string_view>

namespace vlr {

// How far pasted items stand right of and below the items they were copied from, in design
// pixels.
inline constexpr int32_t kPasteOffset = 10;

// Two line-pattern definitions draw alike: the same number of segments in use, each of the same
// length within 0.0001 mm.
bool SameLinePattern(const ItemRecord* a, const ItemRecord* b);

// Empties the copy list and fills it from the source's selected texts, lines, shapes, clips and
// group markers, unselected, with their group ids renumbered 1 ... k. Without a document header
// in the source the copy list stays empty.
void CopyToList(ItemList& source, ItemList& copyList);

// Adds the copy list's items to the target as one new undo step (the redo history is kept),
// selected, above everything in the target and kPasteOffset pixels right of and below their
// copied positions. Their groups get numbers of their own, their pictures are added once and
// their line patterns are matched to the target's identical patterns or added. The copy list is
// unchanged. Returns the number of items pasted (markers included); 0 when either list has no
// document header. markerWidth and markerHeight are the selection marker's size, which a
// shape's bounds leave room for.
int PasteFromList(ItemList& copyList, ItemList& target, const EditHooks& hooks = {}, int32_t markerWidth = 8,
                  int32_t markerHeight = 8);

// Reads a design file into the copy list and pastes it into the target. When the reader
// declines (no file, or the user refused an invalid file) the copy list keeps its content and
// nothing is pasted; when reading fails the copy list is emptied. No message is shown.
ReadResult ImportDesign(std::string_view path, ItemList& copyList, ItemList& target, Prompt& prompt,
                        const EditHooks& hooks = {});

} // namespace vlr
