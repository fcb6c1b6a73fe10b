// The Printer Calibration page: the calibration of each printer, shown and edited, a test page
// to print, and the measurements taken on it turned into the calibration.
#pragma once

#include "model/itemrecord.h"
#include "panels/dialogpage.h"
#include "settings/printercalibration.h"

#include <QSizeF>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;

namespace vlr {

class Prompt;
class RegistryStore;
class TPictureButton;

class TCalibration : public DialogPage {
    Q_OBJECT
public:
    // printers: the names to choose from ("PDF file" among them); chosen: the one shown first.
    // design: the active design (none: no design is open), whose paper the test page has and
    // whose cards the calibration must keep on the paper; paperMm: that paper, or the paper the
    // test page has without a design.
    TCalibration(RegistryStore& store, Prompt& prompt, char decimalSeparator, const QStringList& printers,
                 const QString& chosen, const ItemList* design, std::string selection, QSizeF paperMm,
                 QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {560, 500}; }
    // The host's Save button: stores the calibration shown for the printer shown, once it is
    // valid and, if it moves cards off the paper, the user has agreed.
    bool RunAction() override;

    // Prints the test page on a printer with a calibration; false when it was not printed.
    std::function<bool(const QString& printer, const PrinterCalibration& calibration)> printTestPage;

    void PrinterChange();
    void PrintTestPageClick();
    void CalculateClick();
    void ResetClick();

    QString printer() const;
    // The calibration the fields show; none (and the user told why) when it is not valid.
    std::optional<PrinterCalibration> Shown();
    void Show(const PrinterCalibration& calibration);

    QComboBox* Printer;
    QLabel* Instructions;
    TPictureButton* TestPageButton;
    TPictureButton* CalculateButton;
    TPictureButton* ResetButton;
    QLineEdit* CrossRight;
    QLineEdit* CrossDown;
    QLineEdit* TopSpan;
    QLineEdit* LeftSpan;
    QLineEdit* OffsetX;
    QLineEdit* OffsetY;
    QLineEdit* ScaleX;
    QLineEdit* ScaleY;

private:
    void Refuse(const std::string& message);
    std::optional<double> Field(QLineEdit* field, const char* what);

    RegistryStore& store_;
    Prompt& prompt_;
    char decimalSeparator_;
    const ItemList* design_;
    std::string selection_;
    QSizeF paperMm_;
    // The calibration the last test page of the printer shown was printed with: what the
    // measurements are taken against.
    PrinterCalibration printedWith_;
};

} // namespace vlr
