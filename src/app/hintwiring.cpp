// The main window as the hint pages' host.
#include "app/hintwiring.h"

#include "app/editcontrols.h"
#include "app/mainwindow.h"
#include "canvas/commands.h"
#include "canvas/designview.h"
#include "model/itemlist.h"
#include "panels/linehelp.h"
#include "panels/procs.h"

namespace vlr {

namespace {

class FormHintHost : public HintHost {
public:
    explicit FormHintHost(TForm1& form) : form_(form) {}

    TParams& params() override { return form_.params(); }
    void SwitchLater(int code) override { form_.DeferCommand(code); }
    void SelectLastItem() override {
        if (DesignView* design = form_.ActiveDesign()) {
            vlr::SelectLastItem(design->items());
            design->commands().SelectionChanged();
            form_.RefreshDesignControls();
        }
    }
    bool DesignHasSelection() override {
        DesignView* design = form_.ActiveDesign();
        return design && FirstSelected(design->items());
    }
    void UndoDesign() override {
        if (form_.ActiveDesign() && form_.hooks.edit.undo) {
            form_.hooks.edit.undo();
        }
    }
    void HighlightSuggestionRow(int row) override { form_.HighlightSuggestionRow(row); }
    void PlainSuggestionRows(int fromRow) override { form_.PlainSuggestionRows(fromRow); }
    void HighlightHistoryButton(bool redo) override {
        LightToolbarButton(*form_.Toolbar(), redo ? ToolbarButton::Redo : ToolbarButton::Undo);
        form_.Timer3.start();
    }
    void PlainToolbarButtons() override { form_.Toolbar()->RestoreLooks(); }

private:
    TForm1& form_;
};

} // namespace

void InstallHintPages(TForm1& form) {
    // The host lives as long as the main window, whose hooks use it.
    auto* host = new FormHintHost(form);
    QObject::connect(&form, &QObject::destroyed, [host] { delete host; });
    form.hooks.panels.createPanelFrame = [host, earlier = form.hooks.panels.createPanelFrame](int code,
                                                                                QWidget* parent) -> QWidget* {
        if (IsHintPage(code)) {
            auto* page = new TLinehelp(*host, parent);
            page->ShowHintPage(code);
            return page;
        }
        return earlier ? earlier(code, parent) : nullptr;
    };
}

} // namespace vlr
