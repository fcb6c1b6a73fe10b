// The main window as the side panels' host.
#include "app/panelwiring.h"

#include "app/editcontrols.h"
#include "app/mainwindow.h"
#include "canvas/designview.h"
#include "panels/panelfactory.h"
#include "panels/sidepanel.h"

namespace vlr {

namespace {

class FormPanelHost : public PanelHost {
public:
    explicit FormPanelHost(TForm1& form) : form_(form) {}

    TParams& params() override { return form_.params(); }
    ItemList* DesignItems() override {
        DesignView* design = form_.ActiveDesign();
        return design ? &design->items() : nullptr;
    }
    CommandWindow* DesignCommands() override {
        DesignView* design = form_.ActiveDesign();
        return design ? &design->commands() : nullptr;
    }
    void RecordChange() override { form_.RecordPanelChange(); }
    // Through the main window's deferred command, which switches the design's tool as well.
    void SwitchPanelLater(int code) override { form_.DeferCommand(code); }
    void OpenStylePage(int page) override {
        // The line-weight and shadow pages live in the small host.
        const bool small = page == kWeightPage || page == kShadowPage;
        form_.ShowDialog(small ? form_.FormY() : form_.FormX(), page, 0, QString());
    }
    std::optional<int32_t> PickColour() override { return form_.PickColour(); }
    bool ChangeTypedText(const std::function<void(ItemRecord&)>& change) override {
        DesignView* design = form_.ActiveDesign();
        return design && design->ChangeEditedText(change);
    }
    const ItemRecord* ContinuedItem() override {
        DesignView* design = form_.ActiveDesign();
        return design ? design->ContinuedItem() : nullptr;
    }
    void OpenClipPage(int page) override { form_.DeferCommand(page); }
    void LightCommand(ToolbarButton button, int suggestionRow) override {
        LightToolbarButton(*form_.Toolbar(), button);
        form_.HighlightSuggestionRow(suggestionRow);
    }
    void PlainCommands() override {
        form_.Toolbar()->RestoreLooks();
        form_.PlainSuggestionRows();
    }

private:
    TForm1& form_;
};

} // namespace

void InstallSidePanels(TForm1& form) {
    // The host lives as long as the main window, whose hooks use it.
    auto* host = new FormPanelHost(form);
    QObject::connect(&form, &QObject::destroyed, [host] { delete host; });
    // Panels of other codes and other listeners of the customizing pages keep their hooks.
    form.hooks.panels.createPanelFrame = [host, earlier = form.hooks.panels.createPanelFrame](int code,
                                                                               QWidget* parent) -> QWidget* {
        if (QWidget* panel = CreateStylePanel(code, *host, parent)) {
            return panel;
        }
        return earlier ? earlier(code, parent) : nullptr;
    };
    form.hooks.panels.styleListsChanged = [&form, earlier = form.hooks.panels.styleListsChanged](int page, bool smallHost) {
        if (earlier) {
            earlier(page, smallHost);
        }
        if (auto* panel = qobject_cast<TStylePanel*>(form.PanelFrame())) {
            panel->StyleListsChanged(page);
        }
    };
}

} // namespace vlr
