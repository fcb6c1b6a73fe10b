// The print preview page.
#include "output/preview.h"

#include "output/composesheet.h"
#include "output/sheetview.h"
#include "panels/picturebutton.h"
#include "panels/wheel.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace vlr {

namespace {

constexpr const char* kTitle = "Print Preview";
constexpr const char* kPreparing = "The print preview is being prepared...";
constexpr const char* kScaled = "The preview is scaled to fit your screen.";
constexpr const char* kSharper =
    "Your printer will make a sharper print than what you can see on your screen, so "
    "verify only the layout, not the quality of the print preview.";
constexpr const char* kMargins =
    "Most printers cannot print on the edges of the paper and leave some small margins "
    "blank. The preview shows the entire image, including the margins.";
constexpr int kComposeDelayMs = 100;
constexpr int kButtonPlainDelayMs = 5000;
constexpr int kViewMargin = 10;   // the view keeps the panel this far from its edges

// Whether the preview fits the sheet to its window; the choice lasts for the run.
bool fitToWindow = false;

} // namespace

SheetPicture ComposePreview(ItemList& design, std::string_view selection, const ItemPainter& paint,
                            double deviceScale) {
    const ComposeDevice device = PreviewDevice(design);
    return ReducedSheet(design, device, selection, DisplaySize(device, design.screen), paint, deviceScale);
}

TPreview::TPreview(int32_t docNumber, DocumentLookup lookup, bool exportRequest, QWidget* parent)
    : DialogPage(parent), docNumber_(docNumber), lookup_(std::move(lookup)), exportRequest_(exportRequest) {
    setMouseTracking(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    auto* top = new QHBoxLayout();
    Title = new QLabel(kTitle, this);
    QFont titleFont = Title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    Title->setFont(titleFont);
    PrintButton = new TPictureButton("Print", ButtonStyle::Action, this);
    PrintButton->setFixedSize(118, 20);
    PrintButton->hide();
    // The printer's calibration is one step from the preview: the preview shows the sheet as the
    // design places it, the calibration where the printer needs it.
    CalibrationButton = new TPictureButton("Printer Calibration", ButtonStyle::Action, this);
    CalibrationButton->setFixedSize(118, 20);
    top->addWidget(Title);
    top->addStretch(1);
    FitBox = new QCheckBox("Fit", this);
    FitBox->setChecked(fitToWindow);
    top->addWidget(FitBox);
    top->addWidget(CalibrationButton);
    top->addWidget(PrintButton);
    layout->addLayout(top);
    Label1 = new QLabel(kPreparing, this);
    View = new SheetView(this);
    View->setMinimumSize(200, 200);
    Label2 = new QLabel(this);
    Label3 = new QLabel(this);
    layout->addWidget(Label1);
    layout->addWidget(View, 1);
    for (QLabel* label : {Label1, Label2, Label3}) {
        label->setWordWrap(true);
    }
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    View->setPanelPainter([this](QPainter& painter, const QRect& panel) {
        painter.fillRect(panel, Qt::white);
        if (panel.size() == image_.size()) {
            painter.drawImage(panel.topLeft(), shown_);
        } else {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(panel, shown_);
        }
    });
    connect(FitBox, &QCheckBox::toggled, this, [this](bool on) {
        fitToWindow = on;
        scale_ = 1.0;
        ShowAtScale();
    });
    connect(View, &SheetView::resized, this, [this] {
        if (FitBox->isChecked()) {
            ShowAtScale();
        }
    });
    View->wheelZoom = [this](int notches, QPoint pointer) {
        scale_ = StepZoom(displayScale(), notches);
        const QSignalBlocker quiet(FitBox);
        FitBox->setChecked(false);
        fitToWindow = false;
        if (!image_.isNull()) {
            View->setPanelSizeAround(ScaledSize(scale_), pointer);
        }
    };
    for (QWidget* background : {static_cast<QWidget*>(this), static_cast<QWidget*>(View)}) {
        background->setMouseTracking(true);
        background->installEventFilter(this);
    }

    connect(PrintButton, &TPictureButton::clicked, this, &TPreview::printClicked);
    connect(CalibrationButton, &TPictureButton::clicked, this,
            [this] { Q_EMIT calibrationClicked(docNumber_); });
    // The button shows its highlight while pointed at, for at most five seconds.
    Timer2.setSingleShot(true);
    Timer2.setInterval(kButtonPlainDelayMs);
    connect(PrintButton, &TPictureButton::pointed, this, [this] {
        PrintButton->setLook(ButtonLook::Highlighted);
        Timer2.start();
    });
    connect(&Timer2, &QTimer::timeout, this, [this] { PrintButton->setLook(ButtonLook::Plain); });
    Timer1.setSingleShot(true);
    Timer1.setInterval(kComposeDelayMs);
    connect(&Timer1, &QTimer::timeout, this, &TPreview::Prepare);
    Timer1.start();
}

bool TPreview::RunAction() {
    Q_EMIT printRequested(docNumber_);
    return true;
}

void TPreview::Prepare() {
    Timer1.stop();
    std::optional<OutputDocument> document = lookup_ ? lookup_(docNumber_) : std::nullopt;
    if (!document || !document->items) {
        return; // the window has closed meanwhile
    }
    SheetPicture picture = ComposePreview(*document->items, document->selection ? *document->selection : "",
                                          paint, View->devicePixelRatioF());
    if (picture.image.isNull()) {
        Label1->setText(picture.message);
        return;
    }
    image_ = std::move(picture.image);
    shown_ = std::move(picture.shown);
    ShowAtScale();
    Label1->setText(kScaled);
    Label2->setText(kSharper);
    Label3->setText(kMargins);
    PrintButton->show();
    Q_EMIT ready();
}

double TPreview::displayScale() const {
    if (image_.isNull() || !FitBox->isChecked()) {
        return scale_;
    }
    const QSize room = View->size() - QSize(2 * kViewMargin, 2 * kViewMargin);
    return std::max(0.01, std::min(static_cast<double>(room.width()) / image_.width(),
                                   static_cast<double>(room.height()) / image_.height()));
}

void TPreview::ShowAtScale() {
    if (image_.isNull()) {
        return;
    }
    View->setPanelSize(ScaledSize(displayScale()));
}

QSize TPreview::ScaledSize(double scale) const {
    return {std::max(1, static_cast<int>(image_.width() * scale)),
            std::max(1, static_cast<int>(image_.height() * scale))};
}

bool TPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove && PrintButton->look() == ButtonLook::Highlighted) {
        PrintButton->setLook(ButtonLook::Plain);
    }
    return DialogPage::eventFilter(watched, event);
}

} // namespace vlr
