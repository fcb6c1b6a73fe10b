// Registration of the dialog pages.
#include "app/pages.h"

#include "app/about.h"
#include "app/dialoghost.h"
#include "app/mainwindow.h"
#include "app/pagesetuppage.h"
#include "styles/directions.h"
#include "styles/patterns.h"
#include "styles/shadow.h"
#include "styles/thickness.h"

#include <QDesktopServices>
#include <QUrl>

namespace vlr {

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
        return new TPageSetupPage(form, prompt, number, parent);
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
