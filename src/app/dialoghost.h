// The two dialog host windows: TFormX, the larger, and TFormY, the smaller. Each shows one page
// at a time with a title and two buttons, keeps its window where the user last left it for the
// pages of the same slot, and tells the program when a page may have changed style lists.
#pragma once

#include "panels/dialogpage.h"
#include "panels/picturebutton.h"

#include <QDialog>
#include <QString>
#include <QTimer>

#include <functional>
#include <map>

class QFrame;
class QSplitter;

namespace vlr {

struct TParams;
struct WindowPlacement;

enum class HostKind { X, Y };

// What the host shows for a page code: title, button captions and placement slot.
struct PageDescription {
    QString title;
    QString leftButton = "Save";
    QString rightButton = "Cancel";
    int slot = 0;    // 1 ... 16; 0 for a code without a page
    bool known = false;
};
PageDescription DescribePage(HostKind host, int code, const QString& text);

class TDialogHost : public QDialog {
    Q_OBJECT
public:
    using PageFactory = std::function<DialogPage*(int code, int number, const QString& text, QWidget* parent)>;

    TDialogHost(HostKind kind, TParams& params, QWidget* mainWindow);
    ~TDialogHost() override;

    HostKind kind() const { return kind_; }
    // Prepares the host for a page; the caller then shows the window. False when the page is
    // not to be shown (the first-time setup holds the host, or there is no clip to edit).
    bool ShowPage(int code, int number = 0, const QString& text = {});
    void ClosePage();
    int currentPage() const { return pageCode_; }
    DialogPage* page() const { return page_; }

    void RegisterPage(int code, PageFactory factory);
    bool HasPage(int code) const { return factories_.count(code) != 0; }

    // The left and right buttons, as a click on them.
    void LeftButtonClick();
    void RightButtonClick();

    TPictureButton* leftButton() const { return leftButton_; }
    TPictureButton* rightButton() const { return rightButton_; }

    // Called when the host hides with the code of the page it showed.
    std::function<void(HostKind, int pageCode)> pageClosed;
    // Page 503 and 510 edit the selected clip; false when there is none to edit.
    std::function<bool(int pageCode, QString& title)> prepareClipPage;
    // A page takes the keyboard from the design until the design window is activated again.
    std::function<void()> takeKeyboardFromDesign;
    // The product's web page, opened by the About page.
    std::function<void()> openWebPage;

    QTimer Timer1;   // returns the buttons to their plain look
    QTimer Timer3;   // ends the program after a cancelled first-time setup
    QTimer Timer5, Timer6, Timer7;   // the preview's deferred print, export and hide
    QTimer Timer8;   // hides the host and opens the web page

protected:
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    WindowPlacement& Slot();
    void PlaceWindow();
    void FitToPage(WindowPlacement& placement);
    void RememberPlacement();
    void ReturnButtonsToPlain();
    void HighlightButton(TPictureButton* button);

    HostKind kind_;
    TParams& params_;
    std::map<int, PageFactory> factories_;
    int pageCode_ = 0;
    int slot_ = 0;
    DialogPage* page_ = nullptr;
    QFrame* content_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QFrame* bar_ = nullptr;
    TPictureButton* leftButton_ = nullptr;
    TPictureButton* rightButton_ = nullptr;
    bool busy_ = false;
    bool placing_ = false;
    bool linkClicked_ = false;
};

} // namespace vlr
