// Registration of the dialog pages.
#include "app/pages.h"

#include "app/about.h"
#include "app/dialoghost.h"

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

} // namespace vlr
