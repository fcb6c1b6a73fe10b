// The document commands on a large selection: 10,000 selected items recoloured, turned, deleted
// and undone, 1,000 sent back and 1,000 copied and pasted, each command one undo step.
#include "canvas/commands.h"
#include "model/copylist.h"
#include "model/designfile.h"
#include "model/history.h"

#include "editeddesign.h"

#include <benchmark/benchmark.h>

#include <iterator>
#include <random>

namespace {

constexpr int kItems = vlr::bench::kEditedItems;

// A window that draws nothing: what is measured is the commands' work on the list.
class QuietWindow : public vlr::CommandWindow, public vlr::EditCanvas {
public:
    explicit QuietWindow(vlr::ItemList& list) : list_(list) {}
    vlr::Point CanvasFromDesign(vlr::Point design) const override { return design; }
    double zoom() const override { return 1.0; }
    vlr::Rect WholeCanvas() const override { return {0, 0, 1600, 1600}; }
    void EraseMarkers() override {}
    void RepaintUnderSelection(const vlr::Rect&) override {}
    void DrawQuick(vlr::ItemRecord*) override {}
    int32_t AverageCharWidth(const vlr::ItemRecord&) const override { return 6; }
    int32_t TextLineHeight(const vlr::ItemRecord&) const override { return 20; }
    vlr::EditCanvas& editCanvas() override { return *this; }
    vlr::EditMetrics editMetrics() const override { return {8, 8, list_.screen}; }
    int32_t BeginEdit(bool drawCopies) override {
        return vlr::BeginEdit(list_, *this, editMetrics(), {}, drawCopies);
    }
    void RedrawAll(bool) override {}
    void RedrawArea(const vlr::Rect&) override {}
    void SelectionChanged() override {}
    void SetArrowCursor() override {}
    int32_t WidestTextLine(const vlr::ItemRecord&) override { return 100; }
    void EndTextEditing() override {}
    void ResetTool() override {}
    void StartPlacement() override {}
    void StartClipboardJob() override {}
    void RefreshUndoCommands() override {}
    void RefreshDesignControls() override {}
    void ShowPanel(int) override {}
    void ShowPanelLater(int) override {}
    bool HintPageShown(int) const override { return false; }

private:
    vlr::ItemList& list_;
};

// The design opened, with its first `selected` items selected.
vlr::ItemList OpenDesign(int selected) {
    vlr::ItemList list = vlr::bench::OpenEditedDesign();
    int count = 0;
    for (vlr::ItemRecord* record : list) {
        if (vlr::IsDesignItemKind(record->kind) && count < selected) {
            record->selected = 255;
            ++count;
        }
    }
    return list;
}

template <typename Command> void RunOnFreshDesign(benchmark::State& state, int selected, Command command) {
    for (auto _ : state) {
        state.PauseTiming();
        vlr::ItemList list = OpenDesign(selected);
        QuietWindow window(list);
        state.ResumeTiming();
        command(list, window);
        benchmark::DoNotOptimize(list.last);
        state.PauseTiming();
        list = vlr::ItemList();
        state.ResumeTiming();
    }
}

void BM_RecolourTenThousand(benchmark::State& state) {
    RunOnFreshDesign(state, kItems, [](vlr::ItemList& list, QuietWindow& window) {
        vlr::SetOutlineColor(list, window, 0xFF);
    });
}
BENCHMARK(BM_RecolourTenThousand)->Unit(benchmark::kMillisecond);

void BM_TurnTenThousand(benchmark::State& state) {
    RunOnFreshDesign(state, kItems, [](vlr::ItemList& list, QuietWindow& window) {
        vlr::TransformSelection(list, window, false, false, 1);
    });
}
BENCHMARK(BM_TurnTenThousand)->Unit(benchmark::kMillisecond);

void BM_DeleteAndUndoTenThousand(benchmark::State& state) {
    RunOnFreshDesign(state, kItems, [](vlr::ItemList& list, QuietWindow& window) {
        vlr::DeleteSelection(list, window);
        vlr::UndoCommand(list, window);
    });
}
BENCHMARK(BM_DeleteAndUndoTenThousand)->Unit(benchmark::kMillisecond);

void BM_SendBackAThousand(benchmark::State& state) {
    RunOnFreshDesign(state, 1'000, [](vlr::ItemList& list, QuietWindow& window) {
        vlr::SendSelectionToBack(list, window);
    });
}
BENCHMARK(BM_SendBackAThousand)->Unit(benchmark::kMillisecond);

void BM_CopyAndPasteAThousand(benchmark::State& state) {
    RunOnFreshDesign(state, 1'000, [](vlr::ItemList& list, QuietWindow& window) {
        vlr::ItemList copyList;
        vlr::CopySelection(list, copyList, window);
        vlr::Paste(copyList, list, window);
    });
}
BENCHMARK(BM_CopyAndPasteAThousand)->Unit(benchmark::kMillisecond);

} // namespace
