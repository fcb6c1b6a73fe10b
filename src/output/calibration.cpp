// The Printer Calibration page.
#include "output/calibration.h"

#include "model/prompt.h"
#include "output/printsheet.h"
#include "output/testpage.h"
#include "panels/picturebutton.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vlr {

namespace {

constexpr const char* kTitle = "Printer Calibration";
constexpr const char* kPurpose =
    "Printers shift and scale what they print by a millimetre or two. Print the test page, measure it, "
    "and the program corrects every page it prints on this printer.";

QString Number(double value) {
    return QString::number(value, 'g', 6);
}

TPictureButton* Button(const QString& text, QWidget* parent) {
    auto* button = new TPictureButton(text, ButtonStyle::Action, parent);
    button->setFixedSize(118, 20);
    return button;
}

} // namespace

TCalibration::TCalibration(RegistryStore& store, Prompt& prompt, char decimalSeparator,
                           const QStringList& printers, const QString& chosen, const ItemList* design,
                           std::string selection, QSizeF paperMm, QWidget* parent)
    : DialogPage(parent), store_(store), prompt_(prompt), decimalSeparator_(decimalSeparator),
      design_(design), selection_(std::move(selection)), paperMm_(paperMm) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    auto* title = new QLabel(kTitle, this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title->setFont(titleFont);
    layout->addWidget(title);
    auto* purpose = new QLabel(kPurpose, this);
    purpose->setWordWrap(true);
    layout->addWidget(purpose);

    auto* grid = new QGridLayout();
    int row = 0;
    Printer = new QComboBox(this);
    Printer->addItems(printers);
    Printer->setCurrentIndex(std::max(0, int(printers.indexOf(chosen))));
    grid->addWidget(new QLabel("Printer", this), row, 0);
    grid->addWidget(Printer, row, 1);
    TestPageButton = Button("Print Test Page", this);
    grid->addWidget(TestPageButton, row++, 2);

    Instructions = new QLabel(TestPageInstructions(paperMm_), this);
    Instructions->setWordWrap(true);
    grid->addWidget(Instructions, row++, 0, 1, 3);

    const QString span = QString::number(TestSpanMm(paperMm_));
    auto field = [&](const QString& label) {
        auto* edit = new QLineEdit(this);
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(edit, row++, 1);
        return edit;
    };
    CrossRight = field("The cross landed right of the centre by (mm)");
    CrossDown = field("The cross landed below the centre by (mm)");
    TopSpan = field("The top ruler's " + span + " mm span measures (mm)");
    LeftSpan = field("The left ruler's " + span + " mm span measures (mm)");
    CalculateButton = Button("Calculate", this);
    grid->addWidget(CalculateButton, row - 1, 2);
    OffsetX = field("Horizontal offset (mm)");
    OffsetY = field("Vertical offset (mm)");
    ScaleX = field("Horizontal scale (%)");
    ScaleY = field("Vertical scale (%)");
    ResetButton = Button("Reset", this);
    grid->addWidget(ResetButton, row - 1, 2);
    layout->addLayout(grid);
    layout->addStretch(1);

    connect(Printer, &QComboBox::currentIndexChanged, this, &TCalibration::PrinterChange);
    connect(TestPageButton, &TPictureButton::clicked, this, &TCalibration::PrintTestPageClick);
    connect(CalculateButton, &TPictureButton::clicked, this, &TCalibration::CalculateClick);
    connect(ResetButton, &TPictureButton::clicked, this, &TCalibration::ResetClick);
    PrinterChange();
}

QString TCalibration::printer() const {
    return Printer->currentText();
}

void TCalibration::Show(const PrinterCalibration& calibration) {
    OffsetX->setText(Number(calibration.offsetXMm));
    OffsetY->setText(Number(calibration.offsetYMm));
    ScaleX->setText(Number(calibration.scaleXPercent));
    ScaleY->setText(Number(calibration.scaleYPercent));
}

void TCalibration::Refuse(const std::string& message) {
    prompt_.Ask(PromptIcon::Error, message, PromptButtons::Ok);
}

std::optional<double> TCalibration::Field(QLineEdit* field, const char* what) {
    std::optional<double> number = ReadCalibrationNumber(field->text().toStdString());
    if (!number) {
        Refuse(
            QString("\"%1\" is not a number. Type the %2.").arg(field->text().trimmed(), what).toStdString());
        field->setFocus();
    }
    return number;
}

std::optional<PrinterCalibration> TCalibration::Shown() {
    PrinterCalibration calibration;
    const std::pair<QLineEdit*, std::pair<double*, const char*>> fields[] = {
        {OffsetX, {&calibration.offsetXMm, "horizontal offset in millimetres, for example -1.5"}},
        {OffsetY, {&calibration.offsetYMm, "vertical offset in millimetres, for example 2"}},
        {ScaleX, {&calibration.scaleXPercent, "horizontal scale in percent, for example 100.5"}},
        {ScaleY, {&calibration.scaleYPercent, "vertical scale in percent, for example 99.5"}},
    };
    for (const auto& [edit, target] : fields) {
        std::optional<double> number = Field(edit, target.second);
        if (!number) {
            return std::nullopt;
        }
        *target.first = *number;
    }
    if (const std::string problem = CalibrationProblem(calibration); !problem.empty()) {
        Refuse(problem);
        return std::nullopt;
    }
    return calibration;
}

void TCalibration::PrinterChange() {
    printedWith_ = LoadCalibration(store_, printer().toStdString()).value_or(PrinterCalibration{});
    Show(printedWith_);
}

void TCalibration::PrintTestPageClick() {
    std::optional<PrinterCalibration> calibration = Shown();
    if (calibration && printTestPage && printTestPage(printer(), *calibration)) {
        printedWith_ = *calibration;
    }
}

void TCalibration::CalculateClick() {
    TestPageMeasurements measured;
    const std::pair<QLineEdit*, std::pair<double*, const char*>> fields[] = {
        {CrossRight,
         {&measured.crossRightMm, "millimetres the cross landed right of the centre (left is negative)"}},
        {CrossDown,
         {&measured.crossDownMm, "millimetres the cross landed below the centre (above is negative)"}},
        {TopSpan, {&measured.topSpanMm, "length the top ruler's marked span measures, in millimetres"}},
        {LeftSpan, {&measured.leftSpanMm, "length the left ruler's marked span measures, in millimetres"}},
    };
    for (const auto& [edit, target] : fields) {
        std::optional<double> number = Field(edit, target.second);
        if (!number) {
            return;
        }
        *target.first = *number;
    }
    std::optional<PrinterCalibration> calibration = CalibrationFromMeasurements(
        printedWith_, paperMm_.width(), paperMm_.height(), TestSpanMm(paperMm_), measured);
    if (!calibration) {
        Refuse("The spans must measure more than 0 millimetres.");
        return;
    }
    if (const std::string problem = CalibrationProblem(*calibration); !problem.empty()) {
        Refuse("These measurements ask for more correction than a calibration gives. " + problem +
               " Check the measurements, and the printer's own settings for scaling.");
        return;
    }
    Show(*calibration);
}

void TCalibration::ResetClick() {
    Show(PrinterCalibration{});
}

bool TCalibration::RunAction() {
    std::optional<PrinterCalibration> calibration = Shown();
    if (!calibration) {
        return false;
    }
    if (design_) {
        const int32_t moved = CardsMovedOffThePaper(*design_, selection_, *calibration);
        if (moved > 0 &&
            prompt_.Ask(
                PromptIcon::Warning,
                (CardsOffThePaperWarning(moved, printer()) + " Save the calibration anyway?").toStdString(),
                PromptButtons::YesNo) != PromptAnswer::Yes) {
            return false;
        }
    }
    if (!SaveCalibration(store_, printer().toStdString(), *calibration, decimalSeparator_)) {
        Refuse("The calibration could not be stored in the settings.");
        return false;
    }
    return true;
}

} // namespace vlr
