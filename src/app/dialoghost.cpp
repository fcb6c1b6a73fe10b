// The dialog host windows.
#include "app/dialoghost.h"

#include "app/hostkeys.h"
#include "render/rastercanvas.h"
#include "settings/params.h"

#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QHideEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>
#include <QWindow>

namespace vlr {

namespace {

constexpr int kBarHeight = 36;
constexpr int kSplitterHeight = 3;
constexpr int kLeftButtonX = 11, kRightButtonX = 147, kButtonTop = 8;
constexpr int kButtonWidth = 118, kButtonHeight = 20;
constexpr int kButtonPlainDelayMs = 5000;

QString Titled(const QString& title, const QString& text) {
    QString trimmed = text.trimmed();
    return trimmed.isEmpty() ? title : title + " - " + trimmed;
}

} // namespace

PageDescription DescribePage(HostKind host, int code, const QString& text) {
    auto page = [](QString title, QString left, QString right, int slot) {
        return PageDescription{std::move(title), std::move(left), std::move(right), slot, true};
    };
    if (host == HostKind::X) {
        switch (code) {
        case 10:
            return page("Customize Line Patterns", "Save", "Cancel", 6);
        case 11:
            return page("Customize Line Angles", "Save", "Cancel", 7);
        case 26:
        case 27:
            return page(Titled("Grid and Snap", text), "Save", "Cancel", 8);
        case 40:
            return page("Customize Text Angles", "Save", "Cancel", 9);
        case 41:
            return page("Customize Font Sizes", "Save", "Cancel", 9);
        case 45:
            return page("About", "Web", "Close", 1);
        case 51:
            return page(QFileInfo(text).completeBaseName(), "Insert", "Cancel", 2);
        case 503:
        case 510:
            return page(QString(), "Insert", "Cancel", 2);
        case 54:
            return page("Page Setup - " + text, "Apply", "Cancel", 4);
        case 57:
            return page(text, "Print", "Cancel", 3);
        case 60:
            return page("First-time Setup", "Proceed", "Cancel", 12);
        default:
            return PageDescription{};
        }
    }
    switch (code) {
    case 9:
        return page("Customize Line Weights", "Save", "Cancel", 5);
    case 63:
        return page("Customize Shadows", "Save", "Cancel", 13);
    case 64:
        return page(text, "Apply", "Cancel", 14);
    case 66:
        return page("Options", "Print", "Cancel", 16);
    case 67:
        return page("Options", "Preview", "Cancel", 16);
    case 68:
        return page("Printer Calibration", "Save", "Cancel", 15);
    default:
        return PageDescription{};
    }
}

TDialogHost::TDialogHost(HostKind kind, TParams& params, QWidget* mainWindow)
    : QDialog(mainWindow), kind_(kind), params_(params) {
    setModal(false);
    setMouseTracking(true);
    const initWindow_t& look = params_.initWindow;

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setHandleWidth(kSplitterHeight);
    splitter_->setChildrenCollapsible(false);
    content_ = new QFrame(splitter_);
    content_->setAutoFillBackground(true);
    auto* contentLayout = new QVBoxLayout(content_);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    bar_ = new QFrame(splitter_);
    bar_->setFixedHeight(kBarHeight);
    bar_->setMinimumHeight(kBarHeight);
    bar_->setAutoFillBackground(true);
    splitter_->addWidget(content_);
    splitter_->addWidget(bar_);
    splitter_->setStretchFactor(0, 1);
    layout->addWidget(splitter_);
    for (QWidget* panel : {static_cast<QWidget*>(content_), static_cast<QWidget*>(bar_)}) {
        QPalette palette = panel->palette();
        palette.setColor(QPalette::Window, QColor(QRgbFromColour(look.panelColor)));
        panel->setPalette(palette);
    }
    QPalette handle = splitter_->palette();
    handle.setColor(QPalette::Window, QColor(QRgbFromColour(look.splitterColor)));
    splitter_->setPalette(handle);

    leftButton_ = new TPictureButton("Save", ButtonStyle::Action, bar_);
    rightButton_ = new TPictureButton("Cancel", ButtonStyle::Cancel, bar_);
    leftButton_->setGeometry(kLeftButtonX, kButtonTop, kButtonWidth, kButtonHeight);
    rightButton_->setGeometry(kRightButtonX, kButtonTop, kButtonWidth, kButtonHeight);
    connect(leftButton_, &TPictureButton::clicked, this, &TDialogHost::LeftButtonClick);
    connect(rightButton_, &TPictureButton::clicked, this, &TDialogHost::RightButtonClick);
    connect(leftButton_, &TPictureButton::pointed, this, [this] { HighlightButton(leftButton_); });
    connect(rightButton_, &TPictureButton::pointed, this, [this] { HighlightButton(rightButton_); });
    content_->installEventFilter(this);
    bar_->installEventFilter(this);
    content_->setMouseTracking(true);
    bar_->setMouseTracking(true);

    for (QTimer* timer : {&Timer1, &Timer3, &Timer5, &Timer6, &Timer7, &Timer8}) {
        timer->setSingleShot(true);
        timer->setInterval(200);
    }
    Timer1.setInterval(kButtonPlainDelayMs);
    Timer3.setInterval(500);
    Timer8.setInterval(500);
    connect(&Timer1, &QTimer::timeout, this, &TDialogHost::ReturnButtonsToPlain);
    connect(&Timer3, &QTimer::timeout, qApp, &QApplication::quit);
    connect(&Timer7, &QTimer::timeout, this, &QWidget::hide);
    connect(&Timer8, &QTimer::timeout, this, [this] {
        hide();
        if (openWebPage) {
            openWebPage();   // a failure is ignored
        }
    });
}

TDialogHost::~TDialogHost() { ClosePage(); }

void TDialogHost::RegisterPage(int code, PageFactory factory) { factories_[code] = std::move(factory); }

WindowPlacement& TDialogHost::Slot() {
    int slot = slot_ >= 1 && slot_ <= kPlacementSlots ? slot_ : 1;
    return params_.placements[slot - 1];
}

void TDialogHost::ClosePage() {
    if (page_) {
        page_->Release();
        page_->hide();
        page_->deleteLater();
        page_ = nullptr;
    }
}

bool TDialogHost::ShowPage(int code, int number, const QString& text) {
    if (kind_ == HostKind::X && pageCode_ == 60) {
        return false;   // the first-time setup keeps the host until it ends
    }
    ClosePage();
    pageCode_ = code;
    linkClicked_ = false;
    leftButton_->setGeometry(kLeftButtonX, kButtonTop, kButtonWidth, kButtonHeight);
    rightButton_->setGeometry(kRightButtonX, kButtonTop, kButtonWidth, kButtonHeight);
    leftButton_->show();
    rightButton_->show();
    if (isMinimized()) {
        showNormal();
    }
    Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (code != 60) {
        flags |= Qt::WindowMinMaxButtonsHint;
    }
    if (windowFlags() != flags) {
        setWindowFlags(flags);
    }

    PageDescription description = DescribePage(kind_, code, text);
    leftButton_->setText(description.leftButton);
    rightButton_->setText(description.rightButton);
    ReturnButtonsToPlain();
    slot_ = description.slot;
    QString title = description.title;

    if ((code == 503 || code == 510) && kind_ == HostKind::X) {
        if (!prepareClipPage || !prepareClipPage(code, title)) {
            setWindowTitle(title);
            hide();
            return false;
        }
    }
    setWindowTitle(title);

    auto factory = factories_.find(code);
    if (factory != factories_.end()) {
        page_ = factory->second(code, number, text, content_);
    }
    if (page_) {
        content_->layout()->addWidget(page_);
        connect(page_, &DialogPage::highlightAction, this, [this] { HighlightButton(leftButton_); });
        page_->show();
    }
    PlaceWindow();
    if (takeKeyboardFromDesign) {
        takeKeyboardFromDesign();
    }
    return true;
}

void TDialogHost::FitToPage(WindowPlacement& placement) {
    QSize preferred = page_ ? page_->PreferredClientSize() : QSize(300, 200);
    QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    int frameWidth = frame.left() + frame.right();
    int frameHeight = frame.top() + frame.bottom();
    int height = frameHeight + preferred.height() + kBarHeight + kSplitterHeight;
    int width = std::max(frameWidth + preferred.width(), frameWidth + kRightButtonX + kButtonWidth + kLeftButtonX);
    QRect screen = (this->screen() ? this->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    placement.width = width;
    placement.height = height;
    placement.left = std::max(0, screen.left() + (screen.width() - width) / 2);
    placement.top = std::max(0, screen.top() + (screen.height() - height) / 2);
    placement.placed = 1;
}

void TDialogHost::PlaceWindow() {
    placing_ = true;
    WindowPlacement& placement = Slot();
    if (placement.maximised) {
        showMaximized();
    } else {
        if (isMaximized()) {
            showNormal();
        }
        if (!placement.placed) {
            FitToPage(placement);
        }
        QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
        setGeometry(placement.left + frame.left(), placement.top + frame.top(),
                    placement.width - frame.left() - frame.right(), placement.height - frame.top() - frame.bottom());
    }
    placing_ = false;
}

void TDialogHost::RememberPlacement() {
    if (pageCode_ == 0 || slot_ == 0) {
        return;
    }
    WindowPlacement& placement = Slot();
    if (isMaximized()) {
        placement.maximised = 1;
        return;
    }
    placement.maximised = 0;
    QRect outer = frameGeometry();
    placement.left = outer.left();
    placement.top = outer.top();
    placement.width = outer.width();
    placement.height = outer.height();
    placement.placed = 1;
}

void TDialogHost::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placing_ && pageCode_ != 0) {
        PlaceWindow();
    }
    // Without a window manager a new window only gets the keyboard when it asks for it.
    activateWindow();
    // A page that chose its own focus keeps it.
    QWidget* focus = focusWidget();
    QWidget* first = FirstFocusControl(page_);
    if (first && !(focus && page_->isAncestorOf(focus))) {
        first->setFocus(Qt::TabFocusReason);
    }
}

void TDialogHost::keyPressEvent(QKeyEvent* event) {
    switch (DialogHostKey(pageCode_, page_ != nullptr, event->key(), event->modifiers())) {
    case HostKey::Accept: LeftButtonClick(); break;
    case HostKey::Cancel: RightButtonClick(); break;
    case HostKey::Swallow: break;
    case HostKey::None: QDialog::keyPressEvent(event); return;
    }
    event->accept();
}

void TDialogHost::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || placing_ || pageCode_ == 0) {
        return;
    }
    auto* change = static_cast<QWindowStateChangeEvent*>(event);
    // Restored from maximised: the slot forgets it and takes its normal place again.
    if ((change->oldState() & Qt::WindowMaximized) && !isMaximized() && !isMinimized()) {
        Slot().maximised = 0;
        PlaceWindow();
    }
}

void TDialogHost::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (event->spontaneous() || pageCode_ == 0) {
        return;
    }
    RememberPlacement();
    // The keyboard goes back to the main window, also where no window manager hands it back.
    if (QWidget* main = parentWidget(); main && main->isVisible()) {
        main->activateWindow();
    }
    int closed = pageCode_;
    ReturnButtonsToPlain();
    pageCode_ = 0;
    ClosePage();
    if (pageClosed) {
        pageClosed(kind_, closed);
    }
}

void TDialogHost::LeftButtonClick() {
    if (busy_) {
        return;   // a second press while the action runs
    }
    busy_ = true;
    int code = pageCode_;
    bool done = true;
    if (code == 45) {
        Timer8.start();
    } else if (page_) {
        done = page_->RunAction();
    }
    busy_ = false;
    if (code != 60 && done) {
        hide();
    }
}

void TDialogHost::RightButtonClick() { hide(); }

void TDialogHost::ReturnButtonsToPlain() {
    leftButton_->setLook(ButtonLook::Plain);
    rightButton_->setLook(ButtonLook::Plain);
}

void TDialogHost::HighlightButton(TPictureButton* button) {
    leftButton_->setLook(button == leftButton_ ? ButtonLook::Highlighted : ButtonLook::Plain);
    rightButton_->setLook(button == rightButton_ ? ButtonLook::Highlighted : ButtonLook::Plain);
    Timer1.start();
}

bool TDialogHost::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == content_ || watched == bar_) && event->type() == QEvent::MouseMove) {
        ReturnButtonsToPlain();
    }
    return QDialog::eventFilter(watched, event);
}

void TDialogHost::mouseMoveEvent(QMouseEvent* event) {
    ReturnButtonsToPlain();
    QDialog::mouseMoveEvent(event);
}

} // namespace vlr
