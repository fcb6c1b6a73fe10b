// The hint page frame: up to four paragraphs that explain the next steps after something the user
// did, some of them with a link that performs the step, and the "Don't show this help page
// again." box. The main window shows it in its side panel column, the picture editor in place of
// its clip list; whoever shows a page has tested its show-again flag before.
#pragma once

#include "panels/hintpages.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QTextEdit;

namespace vlr {

struct TParams;

// What a hint page asks of the window that shows it. Steps that replace the page go through a
// deferred switch: the page is freed by the switch and must never be freed under its own handler.
class HintHost {
public:
    virtual ~HintHost();
    virtual TParams& params() = 0;
    // Shows (or runs) a panel code once the running handler has returned.
    virtual void SwitchLater(int code) = 0;
    // The picture editor's own deferred switch: 400 back to its clip list, 401 the last clip
    // taken for moving and resizing. Only while the picture editor is showing.
    virtual bool PictureEditorShowing() const { return false; }
    virtual void PictureEditorSwitchLater(int) {}
    // The active design: its last item selected, with markers; whether anything is selected; its
    // Undo. Nothing happens without a design.
    virtual void SelectLastItem() {}
    virtual bool DesignHasSelection() { return false; }
    virtual void UndoDesign() {}
    // The what-next rows: row 1 ... 4 highlighted (the others plain, their timer restarted), or
    // every row from fromRow on plain.
    virtual void HighlightSuggestionRow(int) {}
    virtual void PlainSuggestionRows(int fromRow = 1) { (void)fromRow; }
    // The toolbar's Undo or Redo button highlighted, or every toolbar button plain.
    virtual void HighlightHistoryButton(bool) {}
    virtual void PlainToolbarButtons() {}
};

class TLinehelp : public QWidget {
    Q_OBJECT
public:
    // The frame's size on the form; the side column may make it wider.
    static constexpr int kFrameWidth = 156;
    static constexpr int kFrameHeight = 440;

    TLinehelp(HintHost& host, QWidget* parent = nullptr);

    // Builds the page once; a page is never rebuilt in place.
    void ShowHintPage(int code);
    int pageCode() const { return pageCode_; }

    // Paragraph 1 ... 4.
    QTextEdit* paragraph(int k) const { return paragraphs_[static_cast<size_t>(k - 1)]; }
    QLabel* bullet(int k) const { return bullets_[static_cast<size_t>(k - 1)]; }
    bool linkLit(int k) const { return linkLit_[static_cast<size_t>(k - 1)]; }
    QCheckBox* checkBox() const { return CheckBox1; }
    QTextEdit* checkLabel() const { return RichEdit4; }
    QLabel* title() const { return Title1; }

    // The window system's events, by name.
    void ParagraphMouseMove(int k);
    void ParagraphMouseDown(int k);
    void CheckBox1Click();
    void RichEdit4MouseDown();
    // Every link other than except (1 ... 4, 0 none) back to black.
    void ResetHintLinks(int except);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The paragraph's text as built, its link black (or blue when lit) and its key words bold.
    void WriteParagraph(int k, bool lit);
    void DrawTitle();
    // Places the paragraphs, bullets, check box and label at the frame's width.
    void ArrangeParagraphs();
    void PointedElsewhere();

    HintHost& host_;
    int pageCode_ = 0;
    HintPageText text_;
    HintLayout layout_; // the page's places before its texts are fitted in
    std::array<bool, 4> linkLit_ = {true, true, true, true};

    QWidget* Panel0 = nullptr;
    QLabel* Title1 = nullptr;
    std::array<QLabel*, 4> bullets_ = {};
    std::array<QTextEdit*, 4> paragraphs_ = {};
    QCheckBox* CheckBox1 = nullptr;
    QTextEdit* RichEdit4 = nullptr;
};

} // namespace vlr
