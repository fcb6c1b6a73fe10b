// Registration of the dialog pages.
#include "app/pages.h"

#include "app/about.h"
#include "app/dialoghost.h"
#include "app/mainwindow.h"
#include "canvas/designview.h"
#include "canvas/grid.h"
#include "model/itemkind.h"
#include "output/page.h"
#include "styles/directions.h"
#include "styles/options.h"
#include "styles/patterns.h"
#include "styles/shadow.h"
#include "styles/speed.h"
#include "styles/thickness.h"

#include <QDesktopServices>
#include <QUrl>

namespace vlr {

namespace {

// An open design window shows the page just applied: the gridlines respaced over it, then, by
// setting the zoom it has, its extents, rulers and scroll bars recomputed and repainted.
void ShowChangedPage(TForm1& form, DesignView& view) {
    ItemList& items = view.items();
    EditHooks hooks;
    hooks.refreshUndoCommands = [&form, &items] { form.RefreshUndoCommands(items); };
    RespaceGridlines(items, hooks);
    if (const ItemRecord* header = FindRecord(items, ItemKind::Header)) {
        view.SetZoom(header->zoom);
    }
}

// The open design of a document number; none when it has closed meanwhile.
DesignView* DesignOfNumber(TForm1& form, int number) {
    for (DesignView* design : form.OpenDesigns()) {
        if (number != 0 && design->docNumber() == number) {
            return design;
        }
    }
    return nullptr;
}

PageDocumentLookup PageDocumentsOf(TForm1& form) {
    return [&form](int32_t number) -> std::optional<PageDocument> {
        if (DesignView* view = DesignOfNumber(form, number)) {
            return PageDocument{&view->items(), [&form, view] { ShowChangedPage(form, *view); }};
        }
        return std::nullopt;
    };
}

} // namespace

void RegisterDialogPages(TDialogHost& formX, TDialogHost& /*formY*/) {
    formX.RegisterPage(45, [&formX](int, int, const QString&, QWidget* parent) -> DialogPage* {
        auto* about = new TAbout(parent);
        QObject::connect(about, &TAbout::linkClicked, &formX, [&formX] { formX.Timer8.start(); });
        return about;
    });
    formX.openWebPage = [] { QDesktopServices::openUrl(QUrl(kProductWebAddress)); };
}

void RegisterDesignPages(TForm1& form, Prompt& prompt, TDialogHost& formX, TDialogHost& formY) {
    RegisterStylePages(form, prompt, formX, formY);
    formX.RegisterPage(54, [&form, &prompt](int, int number, const QString&, QWidget* parent) -> DialogPage* {
        return new TPage(form.params(), prompt, number, PageDocumentsOf(form), parent);
    });
    // Grid options of new files.
    formX.RegisterPage(26, [&form, &prompt](int, int, const QString&, QWidget* parent) -> DialogPage* {
        auto* page = new TOptions(form.params().state.defaults, prompt, parent);
        page->save = [&form](const defaults_t& options) {
            form.params().state.defaults = options;
            form.SyncGridMenus(form.ActiveDesign());
        };
        return page;
    });
    // Grid options of the design the page was opened for.
    formX.RegisterPage(27, [&form, &prompt](int, int number, const QString&, QWidget* parent) -> DialogPage* {
        DesignView* design = DesignOfNumber(form, number);
        const ItemRecord* header = design ? FindRecord(design->items(), ItemKind::Header) : nullptr;
        const TParams& params = form.params();
        auto* page = new TOptions(GridOptionsOfDesign(header, params.state.defaults, params.decimalSeparator),
                                  prompt, parent);
        page->save = [&form, number](const defaults_t& options) {
            DesignView* design = DesignOfNumber(form, number);
            if (!design) {
                return;
            }
            ApplyGridOptions(FindRecord(design->items(), ItemKind::Header), options);
            design->GridOptionsChanged();
            if (design == form.ActiveDesign()) {
                form.SyncGridMenus(design);
            }
        };
        return page;
    });
    formY.RegisterPage(64, [&form](int, int number, const QString&, QWidget* parent) -> DialogPage* {
        DesignView* design = DesignOfNumber(form, number);
        auto* page = new Tspeed(design ? design->displaySwitches() : DisplaySwitches{}, parent);
        page->apply = [&form, number](const DisplaySwitches& switches) {
            if (DesignView* design = DesignOfNumber(form, number)) {
                design->SetDisplaySwitches(switches);
            }
        };
        return page;
    });
}

void RegisterStylePages(TForm1& form, Prompt& prompt, TDialogHost& formX, TDialogHost& formY) {
    TParams& params = form.params();
    RegistryStore& store = form.store();
    formY.RegisterPage(9,
                       [&params, &store, &prompt](int, int, const QString&, QWidget* parent) -> DialogPage* {
                           return new TThickness(params, store, prompt, parent);
                       });
    formX.RegisterPage(10,
                       [&params, &store, &prompt](int, int, const QString&, QWidget* parent) -> DialogPage* {
                           return new TPatterns(params, store, prompt, parent);
                       });
    for (auto [code, list] :
         {std::pair{11, DirectionList::LineDirections}, std::pair{40, DirectionList::TextAngles},
          std::pair{41, DirectionList::FontSizes}}) {
        formX.RegisterPage(
            code, [&params, &store, &prompt, list](int, int, const QString&, QWidget* parent) -> DialogPage* {
                return new TDirections(list, params, store, prompt, parent);
            });
    }
    // The open designs take a saved light direction from Timer7, after the page has closed.
    formY.RegisterPage(
        63, [&form, &params, &store, &prompt](int, int, const QString&, QWidget* parent) -> DialogPage* {
            return new TShadow(
                params, store, prompt, [&form] { form.Timer7.start(); }, parent);
        });
}

} // namespace vlr
