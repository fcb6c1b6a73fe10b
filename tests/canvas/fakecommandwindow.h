// A stand-in for the document window under the document commands: the canvas at 100 % without
// pixels, recording what the commands asked of the window.
#pragma once

#include "canvas/commands.h"
#include "model/history.h"

#include <set>
#include <vector>

namespace vlr::test {

class FakeCommandWindow : public CommandWindow, public EditCanvas {
public:
    explicit FakeCommandWindow(ItemList& list) : list_(list) {}

    // ---- EditCanvas ----
    Point CanvasFromDesign(Point design) const override { return design; }
    double zoom() const override { return 1.0; }
    Rect WholeCanvas() const override { return {0, 0, 1600, 1600}; }
    void EraseMarkers() override { ++markerErasures; }
    void RepaintUnderSelection(const Rect&) override {}
    void DrawQuick(ItemRecord*) override {}
    int32_t AverageCharWidth(const ItemRecord&) const override { return 6; }
    int32_t TextLineHeight(const ItemRecord&) const override { return 20; }

    // ---- CommandWindow ----
    EditCanvas& editCanvas() override { return *this; }
    EditMetrics editMetrics() const override { return {8, 8, list_.screen}; }
    int32_t BeginEdit(bool drawCopies) override {
        ++edits;
        return vlr::BeginEdit(list_, *this, editMetrics(), {}, drawCopies);
    }
    void RedrawAll(bool markers) override { fullRepaints.push_back(markers); }
    void RedrawArea(const Rect& area) override { areas.push_back(area); }
    void SelectionChanged() override { ++selectionChanges; }
    void SetArrowCursor() override { arrow = true; }
    // Every character 7 design pixels wide.
    int32_t WidestTextLine(const ItemRecord& text) override {
        int32_t widest = 0;
        for (int32_t n = 1; n <= LineCount(&text); ++n) {
            widest = std::max(widest, static_cast<int32_t>(GetLine(&text, n).size()) * 7);
        }
        return widest;
    }
    void EndTextEditing() override { ++textEditingEnded; }
    void ResetTool() override { ++toolResets; }
    void StartPlacement() override { ++placements; }
    void StartClipboardJob() override { ++clipboardJobs; }
    void RefreshUndoCommands() override { ++undoRefreshes; }
    void RefreshDesignControls() override { ++controlRefreshes; }
    void ShowPanel(int code) override { panels.push_back(code); }
    void ShowPanelLater(int code) override { deferredPanels.push_back(code); }
    bool HintPageShown(int code) const override { return hintsOn.count(code) != 0; }

    std::set<int> hintsOn;
    int markerErasures = 0, edits = 0, selectionChanges = 0, textEditingEnded = 0, toolResets = 0;
    int placements = 0, clipboardJobs = 0, undoRefreshes = 0, controlRefreshes = 0;
    bool arrow = false;
    std::vector<bool> fullRepaints;
    std::vector<Rect> areas;
    std::vector<int> panels, deferredPanels;

private:
    ItemList& list_;
};

} // namespace vlr::test
