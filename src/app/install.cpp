// The first-time setup page and what completing it does.
#include "app/install.h"

#include "app/dialoghost.h"
#include "app/mainwindow.h"
#include "model/prompt.h"
#include "platform/registrystore.h"
#include "settings/params.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vlr {

namespace {

constexpr int kLeftColumnWidth = 190;

void Paint(QWidget* widget, int32_t bgr) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The title picture: a card of the design lying on the next card of the printed sheet.
QPixmap TitlePicture() {
    QPixmap picture(112, 80);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x5A, 0x6B, 0x80), 1.5));
    painter.setBrush(QColor(0xE8, 0xEE, 0xF5));
    painter.drawRoundedRect(QRectF(22, 4, 86, 52), 4, 4);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(4, 22, 86, 52), 4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xD9, 0x53, 0x4F));
    painter.drawEllipse(QRectF(12, 32, 22, 22));
    painter.setBrush(QColor(0x33, 0x66, 0x99));
    for (int line = 0; line < 3; ++line) {
        painter.drawRect(QRectF(42, 34 + 10 * line, line == 0 ? 40 : 30, 4));
    }
    return picture;
}

} // namespace

bool FirstTimeSetupPending(RegistryStore& store) {
    std::unique_ptr<RegistryKey> key = store.OpenKey(kSettingsKey);
    if (!key) {
        return true;
    }
    StoredValue<int32_t> done = key->ReadInteger(kSetupDoneValue);
    return !done.ok() || done.value == 0;
}

int CompleteSetup(int32_t units, TParams& params, RegistryStore& store,
                  const AssociationRegistrar& registerAssociation) {
    int code = 0;
    ApplyUnitsToNewDesigns(params, units);
    std::unique_ptr<RegistryKey> key = store.OpenKey(kSettingsKey);
    if (key) {
        key->WriteInteger("units", units);
        key->WriteInteger(kSetupDoneValue, 1);
    }
    // A key that cannot be opened has not stored the unit either.
    if (!key || !key->Flush()) {
        code = kUnitsNotStored;
    }
    if (int registration = registerAssociation(); registration != 0) {
        code = registration;
    }
    if (key) {
        key->WriteInteger(kAssociationCodeValue, code);
        key->Flush(); // a code that cannot be stored only means no repair at the next start
    }
    return code;
}

std::optional<int> RepairAssociation(RegistryStore& store, const AssociationRegistrar& registerAssociation) {
    std::unique_ptr<RegistryKey> key = store.OpenKey(kSettingsKey);
    if (!key) {
        return std::nullopt;
    }
    // A code that cannot be read as a number counts as a registration that succeeded.
    StoredValue<int32_t> stored = key->ReadInteger(kAssociationCodeValue);
    if (!stored.ok() || stored.value <= 0) {
        return std::nullopt;
    }
    int code = registerAssociation();
    key->WriteInteger(kAssociationCodeValue, code);
    key->Flush();
    return code;
}

// ---- the page ----

TInstall::TInstall(const initWindow_t& look, Prompt& prompt, QWidget* parent)
    : DialogPage(parent), prompt_(prompt) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* left = new QFrame(this);
    left->setFixedWidth(kLeftColumnWidth);
    Paint(left, look.backPanelColor);
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(12, 12, 12, 12);
    auto* picture = new QLabel(left);
    picture->setPixmap(TitlePicture());
    auto* step = new QLabel(QStringLiteral("Step") + " " + "1", left);
    QFont bold = step->font();
    bold.setBold(true);
    step->setFont(bold);
    auto* instruction = new QLabel(
        "In this step, please select the <b>measuring units</b> that you prefer to use and then click on "
        "the <b>Proceed</b> button.",
        left);
    instruction->setTextFormat(Qt::RichText);
    instruction->setWordWrap(true);
    column->addWidget(picture);
    column->addWidget(step);
    column->addWidget(instruction);
    column->addStretch(1);

    auto* right = new QFrame(this);
    Paint(right, look.panelColor);
    auto* area = new QVBoxLayout(right);
    area->setContentsMargins(20, 16, 20, 16);
    auto* group = new QGroupBox(QStringLiteral(" ") + "I prefer to use" + " ", right);
    auto* boxes = new QVBoxLayout(group);
    millimeters_ = new QCheckBox("Millimeters", group);
    inches_ = new QCheckBox("Inches", group);
    boxes->addWidget(millimeters_);
    boxes->addWidget(inches_);
    area->addWidget(group);
    area->addStretch(1);

    layout->addWidget(left);
    layout->addWidget(right, 1);

    // The two boxes are one choice: either box set one way sets the other the opposite way.
    for (auto [box, other] : {std::pair{millimeters_, inches_}, std::pair{inches_, millimeters_}}) {
        connect(box, &QCheckBox::toggled, this, [other](bool checked) {
            const QSignalBlocker quiet(other);
            other->setChecked(!checked);
        });
    }
    setFocusProxy(millimeters_);
}

int32_t TInstall::ChosenUnits() const {
    if (millimeters_->isChecked()) {
        return 2;
    }
    return inches_->isChecked() ? 3 : 0;
}

bool TInstall::RunAction() {
    const int32_t units = ChosenUnits();
    if (units == 0) {
        prompt_.Ask(PromptIcon::Error, "Please select Millimeters or Inches", PromptButtons::Ok);
        return false;
    }
    Q_EMIT unitsChosen(units);
    return true;
}

void TInstall::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT proceedRequested();
        event->accept();
        return;
    }
    DialogPage::keyPressEvent(event);
}

void TInstall::showEvent(QShowEvent* event) {
    DialogPage::showEvent(event);
    millimeters_->setFocus(Qt::OtherFocusReason);
}

// ---- the wiring ----

FirstTimeSetup::FirstTimeSetup(TForm1& form, TDialogHost& formX, Prompt& prompt,
                               AssociationRegistrar registerAssociation)
    : form_(form), formX_(formX), registerAssociation_(std::move(registerAssociation)) {
    formX_.RegisterPage(
        kSetupPageCode, [this, &prompt](int, int, const QString&, QWidget* parent) -> DialogPage* {
            auto* page = new TInstall(form_.params().initWindow, prompt, parent);
            QObject::connect(page, &TInstall::proceedRequested, &formX_, &TDialogHost::LeftButtonClick);
            QObject::connect(page, &TInstall::unitsChosen, &formX_,
                             [this](int32_t units) { Complete(units); });
            return page;
        });
    MainWindowHooks& hooks = form_.hooks;
    hooks.setup.firstTimeSetupPending = [this] { return FirstTimeSetupPending(form_.store()); };
    hooks.setup.showFirstTimeSetup = [this] { ShowPage(); };
    hooks.setup.firstTimeSetupCompleted = [this] { return completed_; };
    hooks.setup.repairFileAssociation = [this] { Repair(); };
}

FirstTimeSetup::~FirstTimeSetup() {
    MainWindowHooks& hooks = form_.hooks;
    hooks.setup.firstTimeSetupPending = nullptr;
    hooks.setup.showFirstTimeSetup = nullptr;
    hooks.setup.firstTimeSetupCompleted = nullptr;
    hooks.setup.repairFileAssociation = nullptr;
}

void FirstTimeSetup::ShowPage() {
    if (formX_.ShowPage(kSetupPageCode)) {
        formX_.show();
        formX_.raise();
        // Without a window manager a new window gets the keyboard only when it asks for it.
        formX_.activateWindow();
    }
}

void FirstTimeSetup::Complete(int32_t units) {
    resultCode_ = CompleteSetup(units, form_.params(), form_.store(), registerAssociation_);
    completed_ = true;
    ReportResult(resultCode_);
    formX_.hide();
}

void FirstTimeSetup::Repair() {
    if (std::optional<int> code = RepairAssociation(form_.store(), registerAssociation_)) {
        resultCode_ = *code;
        ReportResult(*code);
    }
}

void FirstTimeSetup::ReportResult(int code) {
    // A unit that could not be stored is asked for again at the next start; the registration
    // alone is the status bar's concern.
    if (code != 0 && code != kUnitsNotStored) {
        form_.SetStatusText(kNotRegisteredText);
    }
}

} // namespace vlr
