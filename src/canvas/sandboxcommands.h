// The document window's side of the document commands: its canvas, markers and repaints, the
// pointer's mode, and the main window's panels and controls.
#pragma once

#include "canvas/commands.h"

namespace vlr {

class TSandbox;

class SandboxCommands final : public CommandWindow {
public:
    explicit SandboxCommands(TSandbox& window) : window_(window) {}

    EditCanvas& editCanvas() override;
    EditMetrics editMetrics() const override;
    int32_t BeginEdit(bool drawCopies) override;
    void RedrawAll(bool markers) override;
    void RedrawArea(const Rect& canvasArea) override;
    void SelectionChanged() override;
    void SetArrowCursor() override;
    int32_t WidestTextLine(const ItemRecord& text) override;
    void EndTextEditing() override;
    void ResetTool() override;
    void StartPlacement() override;
    void StartClipboardJob() override;
    void RefreshUndoCommands() override;
    void RefreshDesignControls() override;
    void ShowPanel(int panelCode) override;
    void ShowPanelLater(int panelCode) override;
    bool HintPageShown(int pageCode) const override;

private:
    TSandbox& window_;
};

} // namespace vlr
