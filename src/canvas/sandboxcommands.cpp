// The document window's side of the document commands.
#include "canvas/sandboxcommands.h"

#include "canvas/sandbox.h"
#include "canvas/sandboxhost.h"
#include "render/textdraw.h"
#include "settings/params.h"

#include <algorithm>

namespace vlr {

EditCanvas& SandboxCommands::editCanvas() {
    return window_;
}

EditMetrics SandboxCommands::editMetrics() const {
    return window_.editMetrics();
}

int32_t SandboxCommands::BeginEdit(bool drawCopies) {
    return window_.BeginEdit(drawCopies);
}

void SandboxCommands::RedrawAll(bool markers) {
    // Records may have come and gone: a progressive repaint under way starts over.
    window_.DesignChanged();
    window_.RedrawAll(markers);
}

void SandboxCommands::RedrawArea(const Rect& canvasArea) {
    window_.DesignChanged();
    window_.RedrawArea(canvasArea);
}

void SandboxCommands::SelectionChanged() {
    window_.DrawSelectionMarkers();
}

void SandboxCommands::SetArrowCursor() {
    window_.panel0_->setCursor(Qt::ArrowCursor);
}

int32_t SandboxCommands::WidestTextLine(const ItemRecord& text) {
    if (window_.canvas_.isNull()) {
        return -1;
    }
    const double zoom = window_.zoom();
    int32_t widest = 0;
    for (std::u16string_view line : TextLines(text)) {
        widest = std::max(widest, TextLineWidth(window_.canvas_, line, text, zoom));
    }
    return nearest(widest / zoom);
}

void SandboxCommands::EndTextEditing() {
    window_.EndTextEditing();
    if (window_.input_.toolMode == 37) {
        window_.input_.toolMode = 0;
    }
}

void SandboxCommands::ResetTool() {
    window_.input_.toolMode = 0;
    window_.input_.clickCount = 0;
}

void SandboxCommands::StartPlacement() {
    window_.StartPlacement();
}

void SandboxCommands::StartClipboardJob() {
    window_.pendingJob_ = 1;
    window_.Timer3.start();
}

void SandboxCommands::RefreshUndoCommands() {
    window_.host_.RefreshUndoCommands(window_.items_);
}

void SandboxCommands::RefreshDesignControls() {
    window_.host_.RefreshDesignControls();
}

void SandboxCommands::ShowPanel(int panelCode) {
    window_.host_.ShowPanel(panelCode);
}

void SandboxCommands::ShowPanelLater(int panelCode) {
    window_.host_.DeferCommand(panelCode);
}

bool SandboxCommands::HintPageShown(int pageCode) const {
    return HintShown(window_.params_, pageCode);
}

} // namespace vlr
