// Undo, redo and the recording of edits on a large design: 10,000 items opened from a file,
// followed by 1,000 steps of history (moves, recolours, stacking changes, deletions, new items).
#include "model/copylist.h"
#include "model/designfile.h"
#include "model/history.h"

#include "editeddesign.h"

#include <benchmark/benchmark.h>

#include <iterator>
#include <random>

namespace {

constexpr int kSteps = 1'000;

vlr::ItemList OpenDesign() {
    return vlr::bench::OpenEditedDesign();
}

// The live item at a random place in list order.
vlr::ItemRecord* RandomLiveItem(const std::vector<vlr::ItemRecord*>& records, std::mt19937& random) {
    for (;;) {
        vlr::ItemRecord* record = records[random() % records.size()];
        if (vlr::IsLiveItem(record) && vlr::IsDesignItemKind(record->kind)) {
            return record;
        }
    }
}

// The design with kSteps steps of history; selection cleared.
vlr::ItemList DesignWithHistory() {
    vlr::ItemList list = OpenDesign();
    std::mt19937 random(11);
    for (int step = 0; step < kSteps; ++step) {
        std::vector<vlr::ItemRecord*> records(list.begin(), list.end());
        vlr::SelectOnly(list, nullptr);
        int selected = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < selected; ++i) {
            RandomLiveItem(records, random)->selected = 255;
        }
        switch (random() % 6) {
        case 0:
        case 1:
            vlr::MakeNewVersions(list);
            for (vlr::ItemRecord* record : list) {
                if (vlr::IsSelected(record)) {
                    record->x1 += 5;
                    record->x2 += 5;
                }
            }
            break;
        case 2:
            vlr::MakeNewVersions(list);
            for (vlr::ItemRecord* record : list) {
                if (vlr::IsSelected(record)) {
                    record->color = static_cast<int32_t>(random() % 0xFFFFFF);
                }
            }
            break;
        case 3:
            random() % 2 ? vlr::BringSelectionToFront(list) : vlr::SendSelectionToBack(list);
            break;
        case 4:
            vlr::DeleteSelection(list);
            break;
        default:
            vlr::CreateNewItem(list, vlr::ItemKind::Line)->x2 = 100;
            break;
        }
    }
    vlr::SelectOnly(list, nullptr);
    return list;
}

void UndoThenRedoOneStep(benchmark::State& state) {
    vlr::ItemList list = DesignWithHistory();
    for (auto _ : state) {
        vlr::Undo(list);
        vlr::Redo(list);
    }
    state.counters["records"] = static_cast<double>(std::distance(list.begin(), list.end()));
}
BENCHMARK(UndoThenRedoOneStep)->Unit(benchmark::kMicrosecond);

// All 1,000 steps undone, then all redone.
void UndoAllThenRedoAll(benchmark::State& state) {
    vlr::ItemList list = DesignWithHistory();
    for (auto _ : state) {
        while (vlr::CanUndo(list)) {
            vlr::Undo(list);
        }
        while (vlr::CanRedo(list)) {
            vlr::Redo(list);
        }
    }
}
BENCHMARK(UndoAllThenRedoAll)->Unit(benchmark::kMillisecond);

void CanUndoAndCanRedo(benchmark::State& state) {
    vlr::ItemList list = DesignWithHistory();
    vlr::Undo(list);
    for (auto _ : state) {
        benchmark::DoNotOptimize(vlr::CanUndo(list) && vlr::CanRedo(list));
    }
}
BENCHMARK(CanUndoAndCanRedo)->Unit(benchmark::kMicrosecond);

// Opening one item for editing and undoing it again; each new edit purges the undone one.
void EditOneItem(benchmark::State& state) {
    vlr::ItemList list = DesignWithHistory();
    vlr::ItemRecord* item = nullptr;
    for (vlr::ItemRecord* record : list) {
        if (vlr::IsLiveItem(record) && vlr::IsDesignItemKind(record->kind)) {
            item = record;
        }
    }
    for (auto _ : state) {
        vlr::SelectOnly(list, item);
        vlr::MakeNewVersions(list);
        vlr::Undo(list);
    }
}
BENCHMARK(EditOneItem)->Unit(benchmark::kMicrosecond);

void SelectAll(vlr::ItemList& list) {
    for (vlr::ItemRecord* record : list) {
        record->selected = vlr::IsDesignItemKind(record->kind) ? 255 : 0;
    }
}

// Opening all 10,000 items for editing (select all, then drag) and undoing it.
void EditAllItems(benchmark::State& state) {
    vlr::ItemList list = DesignWithHistory();
    for (auto _ : state) {
        SelectAll(list);
        vlr::MakeNewVersions(list);
        vlr::Undo(list);
    }
}
BENCHMARK(EditAllItems)->Unit(benchmark::kMillisecond);

// The same versions made with a search of the list for every serial, for comparison.
void EditAllItemsSearchingEachSerial(benchmark::State& state) {
    vlr::ItemList list = DesignWithHistory();
    for (auto _ : state) {
        SelectAll(list);
        int32_t step = vlr::StartUndoStep(list);
        std::vector<vlr::ItemRecord*> selected;
        for (vlr::ItemRecord* record : list) {
            if (vlr::IsSelected(record)) {
                selected.push_back(record);
            }
        }
        for (vlr::ItemRecord* record : selected) {
            vlr::MakeNewVersion(list, record, step);
        }
        vlr::Undo(list);
    }
}
BENCHMARK(EditAllItemsSearchingEachSerial)->Unit(benchmark::kMillisecond)->Iterations(1);

// Bringing 100 items to the front one after the other, then undoing it.
void BringHundredItemsToFront(benchmark::State& state) {
    vlr::ItemList list = DesignWithHistory();
    for (auto _ : state) {
        vlr::SelectOnly(list, nullptr);
        int selected = 0;
        for (vlr::ItemRecord* record : list) {
            if (selected < 100 && vlr::IsLiveItem(record) && vlr::IsDesignItemKind(record->kind)) {
                record->selected = 255;
                ++selected;
            }
        }
        vlr::BringSelectionToFront(list);
        vlr::Undo(list);
    }
}
BENCHMARK(BringHundredItemsToFront)->Unit(benchmark::kMillisecond);

// Pasting 1,000 items into the design and undoing the paste; the next edit purges it.
void PasteThousandItems(benchmark::State& state) {
    vlr::ItemList list = DesignWithHistory();
    vlr::ItemList copyList;
    int copied = 0;
    vlr::SelectOnly(list, nullptr);
    for (vlr::ItemRecord* record : list) {
        if (copied < 1000 && vlr::IsLiveItem(record) && vlr::IsDesignItemKind(record->kind)) {
            record->selected = 255;
            ++copied;
        }
    }
    vlr::CopyToList(list, copyList);
    for (auto _ : state) {
        vlr::PasteFromList(copyList, list);
        vlr::Undo(list);
        vlr::PurgeRedo(list);
    }
}
BENCHMARK(PasteThousandItems)->Unit(benchmark::kMillisecond);

// Clear Undo and Redo on the design with its 1,000 steps.
void ClearHistory(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        vlr::ItemList list = DesignWithHistory();
        state.ResumeTiming();
        vlr::ClearHistory(list);
        state.PauseTiming();
        list = vlr::ItemList();
        state.ResumeTiming();
    }
}
BENCHMARK(ClearHistory)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
