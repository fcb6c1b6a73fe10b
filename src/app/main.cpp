// Program start: the main window, then the two dialog host windows, then the message loop.
#include "app/dialoghost.h"
#include "app/mainwindow.h"
#include "app/pages.h"
#include "platform/inistore.h"
#include "platform/messageprompt.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("velloran");
    QApplication::setApplicationDisplayName("Velloran Business Cards");

    vlr::IniRegistryStore store;
    vlr::MessageBoxPrompt prompt;
    vlr::TForm1 form1(store, prompt);
    vlr::TDialogHost formX(vlr::HostKind::X, form1.params(), &form1);
    vlr::TDialogHost formY(vlr::HostKind::Y, form1.params(), &form1);
    vlr::RegisterDialogPages(formX, formY);
    form1.SetDialogHosts(&formX, &formY);
    form1.show();
    return application.exec();
}
