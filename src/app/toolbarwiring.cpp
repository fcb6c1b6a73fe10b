// The toolbar's and the Insert panel's choices as main window commands.
#include "app/toolbarwiring.h"

#include "app/mainwindow.h"
#include "canvas/commands.h"
#include "canvas/designview.h"
#include "panels/procs.h"
#include "panels/toolbox.h"
#include "render/rastercanvas.h"

#include <QAction>

#include <functional>

namespace vlr {

namespace {

void Call(const std::function<void()>& hook) {
    if (hook) {
        hook();
    }
}

// Stacking has no menu entry: the toolbar runs it on the active design itself.
void Restack(TForm1& form, bool toFront) {
    DesignView* design = form.ActiveDesign();
    if (!design) {
        return;
    }
    if (toFront) {
        BringSelectionToFront(design->items(), design->commands());
    } else {
        SendSelectionToBack(design->items(), design->commands());
    }
    form.RefreshUndoCommands(design->items());
    form.RefreshDesignControls();
}

void RunToolbarCommand(TForm1& form, ToolbarButton button) {
    MainWindowHooks& hooks = form.hooks;
    switch (button) {
    case ToolbarButton::New:
        Call(hooks.files.fileNew);
        break;
    case ToolbarButton::Open:
        Call(hooks.files.fileOpen);
        break;
    case ToolbarButton::Save:
        Call(hooks.files.fileSave);
        break;
    case ToolbarButton::Print:
        Call(hooks.output.print);
        break;
    case ToolbarButton::Undo:
    case ToolbarButton::Redo:
        Call(button == ToolbarButton::Undo ? hooks.edit.undo : hooks.edit.redo);
        form.ShowPanel(20, true);
        break;
    case ToolbarButton::Repaint:
        if (DesignView* design = form.ActiveDesign()) {
            design->DesignEdited();
        }
        form.ShowPanel(20, true);
        break;
    case ToolbarButton::Front:
    case ToolbarButton::Back:
        Restack(form, button == ToolbarButton::Front);
        break;
    case ToolbarButton::Join:
        Call(hooks.edit.joinItems);
        break;
    case ToolbarButton::Split:
        Call(hooks.edit.splitGroup);
        form.ShowPanel(20, true);
        break;
    case ToolbarButton::Erase:
        Call(hooks.edit.cut);
        break;
    case ToolbarButton::Copy:
        Call(hooks.edit.copy);
        break;
    case ToolbarButton::Paste:
        Call(hooks.edit.paste);
        break;
    default:
        break; // the tools, Gridlines and Snap report through their own signals
    }
}

} // namespace

void ConnectToolbar(TForm1& form, TProcs& toolbar) {
    QObject::connect(&toolbar, &TProcs::commandChosen, &form,
                     [&form](ToolbarButton button) { RunToolbarCommand(form, button); });
    QObject::connect(&toolbar, &TProcs::panelChosen, &form, [&form](int code) { form.RunCommand(code); });
    QObject::connect(&toolbar, &TProcs::zoomChosen, &form, [&form](double zoom) {
        form.params().zoom = zoom;
        form.SetZoomMenu(zoom);
        if (DesignView* design = form.ActiveDesign()) {
            design->SetZoom(zoom);
        }
    });
    // The buttons work through the Grid and Snap menus, so the menus' marks, the design and the
    // hint pages follow as they do for the menu entries.
    QObject::connect(&toolbar, &TProcs::gridlinesToggled, &form,
                     [&form](bool on) { form.Action(on ? "Tools/Grid/Both" : "Tools/Grid/None")->trigger(); });
    QObject::connect(&toolbar, &TProcs::snapToggled, &form,
                     [&form](bool on) { form.Action(on ? "Tools/Snap/Both" : "Tools/Snap/None")->trigger(); });
}

TToolbox* CreateInsertPanel(TForm1& form, QWidget* parent) {
    auto* panel = new TToolbox(parent);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(QRgbFromColour(form.params().initWindow.panelColor)));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    QObject::connect(panel, &TToolbox::panelChosen, &form, [&form](int code) { form.DeferCommand(code); });
    QObject::connect(panel, &TToolbox::pageSetupChosen, &form,
                     [&form] { form.OpenPageSetup(TForm1::PageSetupFor::CurrentFile); });
    return panel;
}

} // namespace vlr
