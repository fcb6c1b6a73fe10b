// Registration of the dialog pages.
#include "app/pages.h"

#include "app/about.h"
#include "app/dialoghost.h"
#include "app/pagesetuppage.h"

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

void RegisterDesignPages(TForm1& form, Prompt& prompt, TDialogHost& formX, TDialogHost& /*formY*/) {
    formX.RegisterPage(54, [&form, &prompt](int, int number, const QString&, QWidget* parent) -> DialogPage* {
        return new TPageSetupPage(form, prompt, number, parent);
    });
}

} // namespace vlr
