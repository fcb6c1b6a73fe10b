// The page-setup wizard: its steps, its sample area and what Apply does.
#include "output/page.h"

#include "model/prompt.h"
#include "output/pagebox.h"
#include "output/pagedim.h"
#include "output/pagesample.h"
#include "render/rastercanvas.h"
#include "settings/designtype.h"
#include "settings/measure.h"
#include "settings/pageheader.h"
#include "settings/params.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace vlr {

namespace {

constexpr int kLeftColumnWidth = 170;
constexpr int kMiddleColumnWidth = 340;
constexpr int kChooseDelayMs = 100;

// The interface colours of the settings, 0x00BBGGRR.
QColor ColourOf(int32_t colour) {
    return QColor::fromRgb(QRgbFromColour(colour));
}

QLabel* Paragraph(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// A type's description with its name, which the description quotes, in bold.
QString DescriptionHtml(int32_t type) {
    const DesignTypeInfo* info = DesignTypeInfoOf(type);
    if (!info) {
        return {};
    }
    const QString name = QString::fromUtf8(info->name).toHtmlEscaped();
    QString text = QString::fromUtf8(info->description).toHtmlEscaped();
    const QString quoted = "'" + name + "'";
    if (const qsizetype at = text.indexOf(quoted); at >= 0) {
        text.replace(at, quoted.size(), "'<b>" + name + "</b>'");
    }
    return text;
}

QFrame* Column(const QColor& colour, QWidget* parent) {
    auto* column = new QFrame(parent);
    column->setAutoFillBackground(true);
    QPalette palette = column->palette();
    palette.setColor(QPalette::Window, colour);
    column->setPalette(palette);
    return column;
}

} // namespace

// ---- what the wizard does ----

PageOpening OpenPageSetups(const pagesetArr_t& newFiles, const ItemRecord* header) {
    PageOpening opening{newFiles, DesignType::BusinessCards};
    if (!header) {
        return opening;
    }
    const int32_t type = DesignTypeOf(*header);
    if (!IsDesignType(type)) {
        opening.chosenType = 0;
        return opening;
    }
    opening.chosenType = type;
    const int32_t unit = header->units;
    if (IsMeasureUnit(unit)) {
        pageset_t& pageset = opening.working[type - 1];
        pageset.units = unit;
        pageset.orientation = header->orientation == kLandscape ? kLandscape : kPortrait;
        miry_t& block = pageset.dims[unit - 1];
        block.preset = header->presetIndex;
        block.rowFold = header->rowFold ? 1 : 0;
        block.columnFold = header->columnFold ? 1 : 0;
        ReadBackPageTexts(header, block);
    }
    return opening;
}

void ApplyNewFilePageSetups(TParams& params, const pagesetArr_t& working, int32_t designType) {
    if (!IsDesignType(designType)) {
        return;
    }
    params.state.pagesets = working;
    params.state.pspage = designType;
    const pageset_t& pageset = working[designType - 1];
    const miry_t* block = CurrentBlock(pageset);
    if (!block) {
        return;
    }
    const std::optional<double> width = ParseMeasure(block->paperWidth, pageset.units);
    const std::optional<double> height = ParseMeasure(block->paperHeight, pageset.units);
    if (!width || !height) {
        return;
    }
    defaults_t& defaults = params.state.defaults;
    SetUnitScale(defaults, pageset.units, params.screen);
    defaultsRec_t& canvas = defaults.perUnit[pageset.units - 1];
    canvas.canvasTexts.width = block->paperWidth;
    canvas.canvasTexts.height = block->paperHeight;
    canvas.canvasWidth = *width;
    canvas.canvasHeight = *height;
}

std::array<QString, 2> DimensionHints(int32_t designType) {
    switch (designType) {
    case DesignType::Illustrations:
    case DesignType::Brochures:
        return {
            "On your screen, you can draw beyond the paper edges or margins, but your printer will only "
            "print what fits on your paper.",
            QStringLiteral("You will see the margins drawn in dotted lines around your art.") + " " +
                "Also, you will see the outline of your paper drawn in solid lines around your art when you "
                "enlarge the canvas area by dragging the ruler ends."};
    case DesignType::Postcards:
    case DesignType::GreetingCards:
    case DesignType::BusinessCards:
    case DesignType::Labels:
    case DesignType::TentCards:
        return {
            "Before printing, the software will copy your design to all the cards in the rows and columns "
            "that you set up.",
            "The size of your canvas equals the size of one card. You will see the outline of your card "
            "drawn in solid lines when you enlarge the canvas area by dragging the ruler ends."};
    case DesignType::DigitalImages:
        return {"Digital images, for instance in Web sites or photo-albums, have their sizes specified in "
                "pixels.",
                "A pixel is one color dot on your screen. The screen has several hundred pixels in each "
                "direction, horizontal and vertical."};
    default:
        return {};
    }
}

// ---- the sample area ----

TSampleArea::TSampleArea(const QColor& ground, QWidget* parent)
    : QAbstractScrollArea(parent), ground_(ground) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    FitScrollBars();
}

void TSampleArea::ShowSketch(int32_t designType) {
    sketchType_ = designType;
    sampleType_ = 0;
    FitScrollBars();
    viewport()->update();
}

void TSampleArea::ShowSample(int32_t designType, const pageset_t& pageset) {
    sketchType_ = 0;
    sampleType_ = designType;
    pageset_ = pageset;
    FitScrollBars();
    viewport()->update();
}

void TSampleArea::FitScrollBars() {
    // Only a pixel sample larger than the area scrolls; a scaled one always fits.
    QSize overflow(0, 0);
    if (sampleType_ != 0) {
        const SampleLayout layout = LayoutSample(pageset_, viewport()->size());
        if (layout.shown && layout.actualSize) {
            overflow = QSize(std::max(0, layout.size.width() - viewport()->width()),
                             std::max(0, layout.size.height() - viewport()->height()));
        }
    }
    horizontalScrollBar()->setRange(0, overflow.width());
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
    verticalScrollBar()->setRange(0, overflow.height());
    verticalScrollBar()->setPageStep(std::max(1, viewport()->height()));
}

void TSampleArea::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    FitScrollBars();
}

void TSampleArea::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QSize area = viewport()->size();
    painter.fillRect(QRect(QPoint(0, 0), area), ground_);
    if (sketchType_ != 0) {
        // Centred, and cut to the area when the area is smaller.
        const QPoint corner((area.width() - kSketchWidth) / 2, (area.height() - kSketchHeight) / 2);
        painter.setClipRect(QRect(QPoint(0, 0), area));
        painter.translate(corner);
        DrawTypeSketch(painter, sketchType_);
    } else if (sampleType_ != 0) {
        PaintSample(painter, sampleType_, pageset_, area,
                    QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
    }
}

// ---- the page ----

TPage::TPage(TParams& params, Prompt& prompt, int32_t target, PageDocumentLookup findDocument,
             QWidget* parent)
    : DialogPage(parent), params_(params), prompt_(prompt), target_(target),
      findDocument_(std::move(findDocument)) {
    const initWindow_t& look = params_.initWindow;
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    QFrame* left = Column(ColourOf(look.furtherColors[0]), this);
    left->setFixedWidth(kLeftColumnWidth);
    leftColumn_ = new QVBoxLayout(left);
    leftColumn_->setContentsMargins(0, 0, 0, 0);
    QFrame* middle = Column(ColourOf(look.panelColor), this);
    middle->setFixedWidth(kMiddleColumnWidth);
    middleColumn_ = new QVBoxLayout(middle);
    middleColumn_->setContentsMargins(8, 8, 8, 8);
    sample_ = new TSampleArea(ColourOf(look.splitterColor), this);
    sample_->setMinimumSize(200, 280);
    columns->addWidget(left);
    columns->addWidget(middle);
    columns->addWidget(sample_, 1);

    Timer1.setSingleShot(true);
    Timer1.setInterval(kChooseDelayMs);
    connect(&Timer1, &QTimer::timeout, this, &TPage::ShowDimensions);

    const ItemRecord* header = nullptr;
    if (!forNewFiles() && findDocument_) {
        if (std::optional<PageDocument> document = findDocument_(target_); document && document->items) {
            header = FindRecord(*document->items, ItemKind::Header);
        }
    }
    // A document that has gone, or has no header, opens like new files on Business Cards.
    PageOpening opening = OpenPageSetups(params_.state.pagesets, header);
    working_ = opening.working;
    chosenType_ = opening.chosenType;
    if (IsDesignType(chosenType_)) {
        ShowDimensions();
    } else {
        ShowChooser();
    }
}

void TPage::LeaveStep() {
    Timer1.stop();
    if (pagedim_ && IsDesignType(chosenType_)) {
        working_[chosenType_ - 1] = pagedim_->PageSetup();
    }
    // The step's widgets may be running the handler that left it: freed once it returns.
    for (QWidget* step : {leftStep_, middleStep_}) {
        if (step) {
            step->hide();
            step->deleteLater();
        }
    }
    leftStep_ = middleStep_ = nullptr;
    pagebox_ = nullptr;
    pagedim_ = nullptr;
    description_ = nullptr;
    backToChooser_ = nullptr;
    hints_ = {};
}

void TPage::ShowChooser() {
    LeaveStep();
    highlightedType_ = 0;
    leftStep_ = pagebox_ = new TPagebox(this);
    leftColumn_->addWidget(pagebox_);
    connect(pagebox_, &TPagebox::highlightChanged, this, &TPage::Pagebox1Highlight);
    connect(pagebox_, &TPagebox::chosen, this, &TPage::Pagebox1Choose);

    middleStep_ = new QWidget(this);
    auto* texts = new QVBoxLayout(middleStep_);
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(10);
    texts->addWidget(Paragraph("Highlight the type of your design in the left menu (move the mouse to place "
                               "the cursor over the menu).",
                               middleStep_));
    texts->addWidget(
        Paragraph("If you are not sure what you want to design, select <b>Illustrations</b>. You "
                  "will be able to redefine the page setup later.",
                  middleStep_));
    texts->addWidget(
        Paragraph("Then, click on the highlighted button in the left menu to proceed.", middleStep_));
    description_ = Paragraph(QString(), middleStep_);
    description_->setTextFormat(Qt::RichText);
    texts->addWidget(description_);
    texts->addStretch(1);
    middleColumn_->addWidget(middleStep_);

    // Back from the dimensions step the chooser shows what was chosen; at first Illustrations.
    ShowDescription(IsDesignType(chosenType_) ? chosenType_ : DesignType::Illustrations);
    pagebox_->setFocus();
}

void TPage::ShowDimensions() {
    if (!IsDesignType(chosenType_)) {
        return;
    }
    LeaveStep();
    leftStep_ = new QWidget(this);
    auto* left = new QVBoxLayout(leftStep_);
    left->setContentsMargins(8, 8, 8, 8);
    left->setSpacing(8);
    auto* back = new TPageTitle(QStringLiteral("Design type"), true, leftStep_);
    connect(back, &TPageTitle::clicked, this, &TPage::ShowChooser);
    backToChooser_ = back;
    left->addWidget(back);
    left->addWidget(new TPageTitle(QString::fromUtf8(DesignTypeInfoOf(chosenType_)->name), false, leftStep_));
    const std::array<QString, 2> hints = DimensionHints(chosenType_);
    for (size_t i = 0; i < hints.size(); ++i) {
        hints_[i] = Paragraph(hints[i], leftStep_);
        hints_[i]->setVisible(!hints[i].isEmpty());
        left->addWidget(hints_[i]);
    }
    left->addStretch(1);
    leftColumn_->addWidget(leftStep_);

    middleStep_ = pagedim_ = new TPagedim(working_[chosenType_ - 1], chosenType_, this);
    pagedim_->SetSampleRedraw(
        [this](int32_t designType, const pageset_t& pageset) { RedrawSample(designType, pageset); });
    middleColumn_->addWidget(pagedim_);
    RedrawSample(chosenType_, pagedim_->PageSetup());
}

void TPage::RedrawSample(int32_t designType, const pageset_t& pageset) {
    sample_->ShowSample(designType, pageset);
}

void TPage::ShowDescription(int32_t type) {
    if (description_) {
        description_->setText(DescriptionHtml(type));
    }
    sample_->ShowSketch(type);
}

void TPage::Pagebox1Highlight(int32_t type) {
    highlightedType_ = type;
    // Moving off the rows removes the highlight and keeps the last description.
    if (IsDesignType(type)) {
        ShowDescription(type);
    }
}

void TPage::Pagebox1Choose(int32_t type) {
    if (!IsDesignType(type) || type != highlightedType_) {
        return;
    }
    chosenType_ = type;
    Timer1.start();
}

bool TPage::Refuse(const std::string& message) {
    prompt_.Ask(PromptIcon::Warning, message, PromptButtons::Ok);
    return false;
}

bool TPage::RunAction() {
    if (pagedim_ && IsDesignType(chosenType_)) {
        working_[chosenType_ - 1] = pagedim_->PageSetup();
    }
    if (!IsDesignType(chosenType_)) {
        return Refuse("Choose a design type.");
    }
    const pageset_t& pageset = working_[chosenType_ - 1];
    if (std::optional<PageProblem> problem = CheckPageSetup(pageset, chosenType_)) {
        return Refuse(problem->message);
    }
    if (forNewFiles()) {
        ApplyNewFilePageSetups(params_, working_, chosenType_);
        return true;
    }
    std::optional<PageDocument> document = findDocument_ ? findDocument_(target_) : std::nullopt;
    if (!document || !document->items) {
        return true; // the design has been closed meanwhile: nothing to apply the page to
    }
    const ApplyResult result = ApplyPageSetup(*document->items, pageset, chosenType_, false,
                                              params_.state.defaults, document->pageChanged);
    if (result.status == ApplyStatus::Refused) {
        return Refuse(result.message);
    }
    return true;
}

} // namespace vlr
