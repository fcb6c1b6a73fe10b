// Wiring of the output commands.
#include "app/outputwiring.h"

#include "app/dialoghost.h"
#include "app/filecommands.h"
#include "app/mainwindow.h"
#include "canvas/sandbox.h"
#include "output/calibration.h"
#include "output/outputcommands.h"
#include "output/preview.h"
#include "output/prsel.h"

#include <QPrintDialog>
#include <QPrinter>

namespace vlr {

namespace {

void ShowOn(TDialogHost& host, int code, int32_t number, const QString& text) {
    if (host.ShowPage(code, number, text)) {
        host.show();
        host.raise();
    }
}

} // namespace

OutputDocument OutputDocumentOf(DesignView& view, OutputCommands& commands) {
    OutputDocument document{view.docNumber(), view.caption(), &view.items(), nullptr, {}};
    if (auto* sandbox = dynamic_cast<TSandbox*>(&view)) {
        document.selection = &sandbox->printAreaSelection;
        // The window's one-shot timer prints once the dialog host has hidden.
        document.printLater = [sandbox, &commands] {
            sandbox->printRequest = QString::fromStdString(sandbox->printAreaSelection);
            sandbox->printRequested = [&commands](TSandbox& window, const QString&) {
                commands.Print(OutputDocumentOf(window, commands));
            };
            sandbox->Timer8.start();
        };
    }
    return document;
}

void InstallOutputCommands(TForm1& form1, TDialogHost& formX, TDialogHost& formY, OutputCommands& commands) {
    commands.findDocument = [&form1, &commands](int32_t number) -> std::optional<OutputDocument> {
        for (DesignView* view : form1.OpenDesigns()) {
            if (view->docNumber() == number) {
                return OutputDocumentOf(*view, commands);
            }
        }
        return std::nullopt;
    };
    commands.showFormX = [&formX](int code, int32_t number, const QString& text) {
        ShowOn(formX, code, number, text);
    };
    commands.showFormY = [&formY](int code, int32_t number, const QString& text) {
        ShowOn(formY, code, number, text);
    };
    commands.reportDone = [&form1](const QString& message) { form1.StatusLine().ShowMessage(message); };
    commands.runPrintDialog = [&form1](QPrinter& printer) {
        QPrintDialog dialog(&printer, &form1);
        return dialog.exec() == QDialog::Accepted;
    };
    commands.localFolder = [](const std::string& stored) { return LocalFolder(stored); };
    commands.store = &form1.store();

    auto onActive = [&form1, &commands](void (OutputCommands::*command)(const OutputDocument&)) {
        return [&form1, &commands, command] {
            if (DesignView* view = form1.ActiveDesign()) {
                (commands.*command)(OutputDocumentOf(*view, commands));
            }
        };
    };
    form1.hooks.output.print = onActive(&OutputCommands::PrintCommand);
    form1.hooks.output.printPreview = onActive(&OutputCommands::PreviewCommand);
    form1.hooks.output.exportExact = onActive(&OutputCommands::ExportExact);
    form1.hooks.output.exportSmooth = onActive(&OutputCommands::ExportSmooth);
    form1.hooks.output.screenshot = [&form1, &commands] { commands.Screenshot(form1); };
    form1.hooks.output.printerCalibration = [&form1, &commands] {
        DesignView* view = form1.ActiveDesign();
        commands.CalibrationCommand(view ? view->docNumber() : 0);
    };

    formX.RegisterPage(
        57, [&formX, &commands](int, int number, const QString&, QWidget* parent) -> DialogPage* {
            TPreview* preview = commands.CreatePreviewPage(number, parent);
            QObject::connect(preview, &TPreview::printClicked, &formX, [&formX] { formX.Timer5.start(); });
            QObject::connect(preview, &TPreview::ready, &formX, [&formX, preview] {
                if (preview->exportRequested()) {
                    formX.Timer6.start();
                }
            });
            return preview;
        });
    // The preview's print button: the host hides, then the print command runs on the design.
    QObject::connect(&formX.Timer5, &QTimer::timeout, &formX, [&formX, &commands] {
        const int32_t number = commands.previewDocument();
        formX.hide();
        if (commands.findDocument) {
            if (std::optional<OutputDocument> document = commands.findDocument(number)) {
                commands.PrintCommand(*document);
            }
        }
    });
    // The smooth export writes what the preview shows.
    QObject::connect(&formX.Timer6, &QTimer::timeout, &formX, [&formX, &commands] {
        if (auto* preview = qobject_cast<TPreview*>(formX.page())) {
            commands.ExportPreview(*preview);
        }
    });
    formY.RegisterPage(68, [&commands](int, int number, const QString&, QWidget* parent) -> DialogPage* {
        return commands.CreateCalibrationPage(number, parent);
    });
    for (int code : {66, 67}) {
        formY.RegisterPage(code,
                           [&commands](int page, int number, const QString&, QWidget* parent) -> DialogPage* {
                               return commands.CreateAreaPage(page, number, parent);
                           });
    }
}

} // namespace vlr
