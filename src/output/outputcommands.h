// The output commands of the File menu: Print, Print Preview, the two exports and the
// screenshot, with the Prepare Print and preview pages they open and the export file dialog.
#pragma once

#include "output/composesheet.h"
#include "output/exportimage.h"
#include "output/outputdocument.h"
#include "settings/printercalibration.h"

#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace vlr {

class Prompt;
class RegistryStore;
class TCalibration;
class TPreview;
class TPrsel;
struct TParams;

inline constexpr const char* kExportReplaceQuestion = "Replace the existing file?";

// The export file dialog, behind a seam so tests can answer it. filterIndex is 1 (JPEG) or 2
// (bitmaps) on entry and the chosen filter on return.
class ExportDialogs {
public:
    virtual ~ExportDialogs();
    // The chosen file, empty when cancelled.
    virtual QString ExportFileName(const QString& folder, int& filterIndex) = 0;
    // The PDF file a test page is printed to, empty when cancelled.
    virtual QString TestPageFileName() { return {}; }
};

// Title "Export", JPEG and bitmap filters, "jpg" added when the name has no extension.
class QtExportDialogs : public ExportDialogs {
public:
    explicit QtExportDialogs(QWidget* parent) : parent_(parent) {}
    QString ExportFileName(const QString& folder, int& filterIndex) override;
    QString TestPageFileName() override;

private:
    QWidget* parent_;
};

// The exact export's picture: the sheet composed at the screen's resolution with every position
// printing, resampled to the design's own pixel size (pixel Digital Images) or the sheet's size
// on the screen (everything else).
SheetPicture ExportExactImage(ItemList& design, const ItemPainter& paint = {});

// The screenshot's two pictures of a captured window: 400 pixels wide, and the capture centred
// on a 4 : 3 background.
QImage ScreenshotThumbnail(const QImage& capture);
QImage ScreenshotFourByThree(const QImage& capture);

class OutputCommands {
public:
    OutputCommands(TParams& params, Prompt& prompt, ExportDialogs& dialogs);

    // ---- what the commands need of the program ----
    DocumentLookup findDocument;
    // Shows a page on the larger or the smaller dialog host (code, number, text).
    std::function<void(int code, int32_t number, const QString&text)> showFormX, showFormY;
    // Runs the platform's print dialog on the printer; false when cancelled.
    std::function<bool(QPrinter& printer)> runPrintDialog;
    // Tells the user briefly that a sheet went to the printer.
    std::function<void(const QString& message)> reportDone;
    // A stored folder as a folder of this computer.
    std::function<QString(const std::string& stored)> localFolder;
    // The item drawing of the compositions; empty for the program's own.
    ItemPainter paint;
    // The settings store that keeps the printers' calibrations; none: no printer is calibrated.
    RegistryStore* store = nullptr;

    // ---- the commands ----
    // Prepare Print first when the user chooses card positions, otherwise print at once.
    void PrintCommand(const OutputDocument& document);
    // Prepare Print first when the user chooses card positions, otherwise the preview.
    void PreviewCommand(const OutputDocument& document);
    // The print dialog, then the sheet to the chosen printer.
    void Print(const OutputDocument& document);
    void ExportExact(const OutputDocument& document);
    // The preview, which writes its picture once shown.
    void ExportSmooth(const OutputDocument& document);
    // Writes the picture a preview shows.
    void ExportPreview(const TPreview& preview);
    // Two JPEG pictures of a window: "_400w.jpg" and "_4wx3h.jpg" after the chosen name.
    void Screenshot(QWidget& window);
    // The Printer Calibration page, for the document numbered number (0: none is open).
    void CalibrationCommand(int32_t number);
    // The test page on a printer ("PDF file": a file the user chooses) with a calibration, on the
    // paper of the document numbered number (US Letter without one); false when not printed.
    bool PrintTestPage(int32_t number, const QString& printer, const PrinterCalibration& calibration);
    // The calibration stored for a printer; none without a store.
    PrinterCalibration CalibrationOf(const QString& printer) const;

    // ---- the pages ----
    // Prepare Print for the document numbered number: page 66 prints, 67 previews.
    TPrsel* CreateAreaPage(int code, int32_t number, QWidget* parent);
    TPreview* CreatePreviewPage(int32_t number, QWidget* parent);
    // The Printer Calibration page for the document numbered number; none without a store.
    TCalibration* CreateCalibrationPage(int32_t number, QWidget* parent);
    // The document the last preview page showed.
    int32_t previewDocument() const { return previewDocument_; }
    // Prepare Print confirmed with a selection.
    void AreasChosen(int code, int32_t number, const std::string& selection);

    // The export file: the dialog in the last export folder, the folder and the filter kept, the
    // type from the extension, the replace question. None when cancelled or declined.
    struct ExportChoice {
        QString path;
        ExportFileType type = ExportFileType::Jpeg;
    };
    std::optional<ExportChoice> ChooseExportFile();

private:
    // Writes a picture, or tells the user why it could not.
    void WriteOrReport(const QImage& image, const QString& path, ExportFileType type);
    QString ChooseFileName(int filterIndex, int* chosenFilter);
    bool MayReplace(const QString& path);

    TParams& params_;
    Prompt& prompt_;
    ExportDialogs& dialogs_;
    bool exportRequest_ = false;
    int32_t previewDocument_ = 0;
};

} // namespace vlr
