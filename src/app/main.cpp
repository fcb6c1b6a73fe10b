// Program start: one running program per user; then the program is built (the main window and
// the two dialog host windows), wired (every command's entry point) and started, and the message
// loop runs.
#include "app/dialoghost.h"
#include "app/editcommands.h"
#include "app/filecommands.h"
#include "app/filedrops.h"
#include "app/hintwiring.h"
#include "app/install.h"
#include "app/mainwindow.h"
#include "app/outputwiring.h"
#include "app/pages.h"
#include "app/picturecommands.h"
#include "app/panelwiring.h"
#include "app/windowplaces.h"
#include "canvas/sandbox.h"
#include "output/outputcommands.h"
#include "platform/fileassociation.h"
#include "platform/inistore.h"
#include "platform/largepages.h"
#include "platform/messageprompt.h"
#include "platform/singleinstance.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    vlr::UseLargePagesForTheHeap(); // before the first design's records are made
    QApplication application(argc, argv);
    // No display name: the window system would add it to every window title, and the dialog
    // hosts' titles are to read exactly as the program sets them.
    QApplication::setApplicationName("velloran");

    // "-open FILE" from the desktop goes to the program already running, if there is one.
    const QStringList files = vlr::FilesToOpen(QApplication::arguments());
    vlr::SingleInstance instance;
    if (instance.HandOffToRunningInstance(files)) {
        return 0;
    }
    instance.Listen();

    vlr::IniRegistryStore store;
    vlr::MessageBoxPrompt prompt;
    vlr::TForm1 form1(store, prompt);
    vlr::TDialogHost formX(vlr::HostKind::X, form1.params(), &form1);
    vlr::TDialogHost formY(vlr::HostKind::Y, form1.params(), &form1);
    vlr::RegisterDialogPages(formX, formY);
    vlr::RegisterDesignPages(form1, prompt, formX, formY);
    form1.SetDialogHosts(&formX, &formY);
    vlr::QtExportDialogs exportDialogs(&form1);
    vlr::OutputCommands output(form1.params(), prompt, exportDialogs);
    vlr::InstallOutputCommands(form1, formX, formY, output);

    vlr::QtFileDialogs dialogs(&form1);
    vlr::FileCommands fileCommands(form1, prompt, dialogs,
                                   [&form1, &prompt] { return new vlr::TSandbox(form1.params(), form1, prompt); });
    fileCommands.Install();
    vlr::InstallEditCommands(form1);
    vlr::QtPictureDialogs pictureDialogs(&form1);
    vlr::PictureCommands pictureCommands(form1, formX, formY, prompt, pictureDialogs);
    pictureCommands.Install();
    vlr::FileDrops drops(form1);
    vlr::InstallSidePanels(form1);
    vlr::InstallHintPages(form1);
    QObject::connect(&instance, &vlr::SingleInstance::openRequested, &form1,
                     [&fileCommands](const QString& path) { fileCommands.OpenFromDesktop(path); });
    QObject::connect(&instance, &vlr::SingleInstance::activated, &form1, [&form1] {
        form1.raise();
        form1.activateWindow();
    });
    vlr::FirstTimeSetup setup(form1, formX, prompt, [] {
        return vlr::RegisterAssociation(vlr::DesktopIntegration::ForThisUser());
    });
    for (const QString& file : files) {
        QTimer::singleShot(0, &form1, [&fileCommands, file] { fileCommands.OpenFromDesktop(file); });
    }
    vlr::ShowAtRememberedPlace(form1, *form1.SideColumnSplitter(), store);
    form1.Start();
    return application.exec();
}
