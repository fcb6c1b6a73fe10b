// The page-dimensions page: controls, their texts, and what each change does to the page setup.
#include "output/pagedim.h"

#include "settings/pagepresets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

namespace vlr {

namespace {

// A small sheet of paper, upright or lying, for the orientation boxes.
QIcon SheetPicture(bool landscape) {
    QPixmap picture(24, 24);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const QRect sheet = landscape ? QRect(2, 6, 20, 13) : QRect(5, 2, 13, 20);
    painter.setPen(QColor(96, 96, 96));
    painter.setBrush(Qt::white);
    painter.drawRect(sheet);
    painter.setPen(QColor(160, 160, 160));
    for (int y = sheet.top() + 3; y < sheet.bottom() - 1; y += 3) {
        painter.drawLine(sheet.left() + 3, y, sheet.right() - 3, y);
    }
    return QIcon(picture);
}

class Guard {
public:
    explicit Guard(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~Guard() { flag_ = before_; }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    bool& flag_;
    bool before_;
};

} // namespace

TPagedim::TPagedim(const pageset_t& pageset, int32_t designType, QWidget* parent)
    : QWidget(parent), pageset_(pageset), designType_(designType) {
    auto* grid = new QGridLayout(this);

    PortraitBox = new QCheckBox(QStringLiteral("Portrait"), this);
    LandscapeBox = new QCheckBox(QStringLiteral("Landscape"), this);
    PortraitBox->setObjectName(QStringLiteral("PortraitBox"));
    LandscapeBox->setObjectName(QStringLiteral("LandscapeBox"));
    PortraitBox->setIcon(SheetPicture(false));
    LandscapeBox->setIcon(SheetPicture(true));
    // Always opposite: ticking one unticks the other; ticking the one already ticked keeps it.
    auto* orientations = new QButtonGroup(this);
    orientations->addButton(PortraitBox);
    orientations->addButton(LandscapeBox);
    grid->addWidget(PortraitBox, 0, 0);
    grid->addWidget(LandscapeBox, 0, 1);

    grid->addWidget(new QLabel(QStringLiteral("Quick select"), this), 1, 0, 1, 2);
    QuickSelect = new QComboBox(this);
    QuickSelect->setObjectName(QStringLiteral("QuickSelect"));
    QuickSelect->setMaxVisibleItems(16);
    QuickSelect->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    QuickSelect->setMinimumContentsLength(24);
    grid->addWidget(QuickSelect, 2, 0, 1, 2);

    grid->addWidget(new QLabel(QStringLiteral("Measuring Units"), this), 3, 0, 1, 2);
    UnitsBox = new QComboBox(this);
    UnitsBox->setObjectName(QStringLiteral("UnitsBox"));
    UnitsBox->addItems({QStringLiteral("Pixels"), QStringLiteral("Millimeters"), QStringLiteral("Inches")});
    grid->addWidget(UnitsBox, 4, 0, 1, 2);

    for (int box = 0; box < kPageBoxCount; ++box) {
        EditLabel[box] = new QLabel(this);
        Edit[box] = new QLineEdit(this);
        Edit[box]->setObjectName(QStringLiteral("Edit%1").arg(box + 1));
        EditLabel[box]->setBuddy(Edit[box]);
        grid->addWidget(EditLabel[box], 5 + box, 0);
        grid->addWidget(Edit[box], 5 + box, 1);
        connect(Edit[box], &QLineEdit::textChanged, this, [this, box] { EditChange(box); });
    }

    RowFoldBox = new QCheckBox(QStringLiteral("Row fold"), this);
    ColumnFoldBox = new QCheckBox(QStringLiteral("Column fold"), this);
    RowFoldBox->setObjectName(QStringLiteral("RowFoldBox"));
    ColumnFoldBox->setObjectName(QStringLiteral("ColumnFoldBox"));
    grid->addWidget(RowFoldBox, 5 + kPageBoxCount, 0);
    grid->addWidget(ColumnFoldBox, 5 + kPageBoxCount, 1);

    ProblemLabel = new QLabel(this);
    ProblemLabel->setObjectName(QStringLiteral("ProblemLabel"));
    ProblemLabel->setWordWrap(true);
    ProblemLabel->setStyleSheet(QStringLiteral("color: #b00000"));
    grid->addWidget(ProblemLabel, 6 + kPageBoxCount, 0, 1, 2);
    grid->setRowStretch(7 + kPageBoxCount, 1);
    grid->setColumnStretch(1, 1);

    RefreshControls();

    connect(PortraitBox, &QCheckBox::clicked, this, [this] { OrientationBoxClick(kPortrait); });
    connect(LandscapeBox, &QCheckBox::clicked, this, [this] { OrientationBoxClick(kLandscape); });
    connect(QuickSelect, &QComboBox::activated, this, &TPagedim::QuickSelectChoose);
    connect(UnitsBox, &QComboBox::currentIndexChanged, this, &TPagedim::UnitsBoxChange);
    connect(RowFoldBox, &QCheckBox::clicked, this, &TPagedim::FoldBoxClick);
    connect(ColumnFoldBox, &QCheckBox::clicked, this, &TPagedim::FoldBoxClick);
}

QString TPagedim::Problem() const {
    std::optional<PageProblem> problem = CheckPageSetup(pageset_, designType_);
    return problem ? QString::fromStdString(problem->message) : QString();
}

// ---- change handlers ----

void TPagedim::OrientationBoxClick(int32_t orientation) {
    if (updating_ || !CurrentBlock(pageset_)) {
        ShowOrientation();
        return;
    }
    if (!SwapOrientation(pageset_, orientation)) {
        return; // already set
    }
    RefreshControls();
    Edited();
}

void TPagedim::QuickSelectChoose(int index) {
    if (updating_ || !ChoosePreset(pageset_, designType_, index)) {
        return;
    }
    RefreshControls();
    RedrawSample();
}

void TPagedim::UnitsBoxChange(int index) {
    // The one handler that also runs with an unknown unit: choosing a unit repairs the page.
    if (updating_ || index < 0 || index > 2) {
        return;
    }
    pageset_.units = index + 1;
    RefreshControls();
    RedrawSample();
}

void TPagedim::EditChange(int box) {
    if (updating_ || !CurrentBlock(pageset_)) {
        return;
    }
    const std::optional<PageBox> shown = PageBoxes(pageset_.units, designType_)[box];
    if (!shown) {
        return;
    }
    FieldText(*CurrentBlock(pageset_), shown->field) = Edit[box]->text().toStdString();
    Edited();
}

void TPagedim::FoldBoxClick() {
    miry_t* block = CurrentBlock(pageset_);
    if (updating_ || !block) {
        RefreshControls();
        return;
    }
    block->rowFold = RowFoldBox->isChecked() ? 1 : 0;
    block->columnFold = ColumnFoldBox->isChecked() ? 1 : 0;
    Edited();
}

void TPagedim::Edited() {
    RedrawSample();
    RecognizePreset(pageset_, designType_);
    ShowPreset();
}

void TPagedim::RedrawSample() {
    ShowProblem();
    if (redrawSample_) {
        redrawSample_(designType_, pageset_);
    }
}

// ---- control updates ----

void TPagedim::RefreshControls() {
    Guard guard(updating_);
    ShowOrientation();
    UnitsBox->setCurrentIndex(IsMeasureUnit(pageset_.units) ? pageset_.units - 1 : -1);
    RebuildQuickSelect();

    const miry_t* block = CurrentBlock(pageset_);
    const auto boxes = PageBoxes(pageset_.units, designType_);
    for (int box = 0; box < kPageBoxCount; ++box) {
        const std::optional<PageBox>& shown = boxes[box];
        EditLabel[box]->setVisible(shown.has_value());
        Edit[box]->setVisible(shown.has_value());
        EditLabel[box]->setText(shown ? QString::fromUtf8(shown->label) : QString());
        Edit[box]->setText(shown && block ? QString::fromStdString(FieldText(*block, shown->field))
                                          : QString());
    }
    const bool folds = FoldBoxesShown(pageset_.units, designType_);
    RowFoldBox->setVisible(folds);
    ColumnFoldBox->setVisible(folds);
    RowFoldBox->setChecked(block && block->rowFold);
    ColumnFoldBox->setChecked(block && block->columnFold);
    ShowProblem();
}

void TPagedim::RebuildQuickSelect() {
    Guard guard(updating_);
    QuickSelect->clear();
    for (const PagePreset& entry : PresetList(pageset_.units, designType_)) {
        QuickSelect->addItem(QString::fromUtf8(entry.name));
    }
    ShowPreset();
}

void TPagedim::ShowOrientation() {
    Guard guard(updating_);
    PortraitBox->setChecked(pageset_.orientation != kLandscape);
    LandscapeBox->setChecked(pageset_.orientation == kLandscape);
}

void TPagedim::ShowPreset() {
    Guard guard(updating_);
    const miry_t* block = CurrentBlock(pageset_);
    const int preset = block ? block->preset : -1;
    QuickSelect->setCurrentIndex(preset >= 0 && preset < QuickSelect->count() ? preset : -1);
}

void TPagedim::ShowProblem() {
    const QString problem = Problem();
    ProblemLabel->setText(problem);
    ProblemLabel->setVisible(!problem.isEmpty());
}

} // namespace vlr
