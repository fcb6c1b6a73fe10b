// The picture editor page of the larger dialog host: the side panel, the editor's command
// buttons, the zoom scale in the upper right corner, the hints and the picture view. Insert
// (the host's left button) hands the picture and its clips to whoever placed the page.
#pragma once

#include "panels/dialogpage.h"
#include "pictures/pictureeditor.h"
#include "pictures/placepictures.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QKeyEvent;
class QLabel;
class QSlider;
class QToolButton;

namespace vlr {

class HintHost;
class Prompt;
class TLinehelp;
class TPictbox;
class TPictureView;
struct TParams;

// What the page edits: a picture file (page 51), or a clip of an open design, to be replaced
// (503) or to give the picture for new clips (510).
struct PictureTarget {
    int pageCode = 51;
    int32_t docNumber = 0;
    int32_t clipSerial = 0;
    int32_t pictureId = 0;
};

class TPict : public DialogPage {
    Q_OBJECT
public:
    TPict(TParams& params, Prompt& prompt, QWidget* parent = nullptr);
    ~TPict() override;

    QSize PreferredClientSize() const override { return {860, 580}; }
    bool RunAction() override;

    // Loads the picture file once the page is shown, at the size its view then has.
    void OpenFileWhenShown(const QString& path);
    // Loads it now. A file that is not a valid picture says so and leaves the editor empty.
    bool OpenFile(const QString& path);
    // The picture of a clip, from its design's picture data, with the clip's orientation and
    // scale: page 503 shows the clip's outline selected, page 510 starts outlining new clips.
    bool OpenClip(const ItemRecord& clip, const ItemRecord& pictureData, const PictureTarget& target);

    // The editor's keys: Esc drops a clip being outlined, Delete erases the selected clip,
    // Ctrl+Z and Ctrl+Y undo and redo the clips. True when the key was used.
    bool KeyDown(const QKeyEvent& event);

    // ---- the editor's commands ----
    void ChooseTool(int tool);
    void ChooseInsertMode(int mode);
    void EraseClip();
    void Mirror();
    void Flip();
    void TurnLeft();
    void TurnRight();
    void ZoomIn();
    void ZoomOut();
    void SetZoom(double zoom);
    void UndoClips();
    void RedoClips();
    // The line-weight or shadow dialog closed.
    void RebuildFrames();
    void RebuildShadows();

    PictureEditor& editor() { return editor_; }
    const PictureTarget& target() const { return target_; }
    TPictureView* view() const { return view_; }
    TPictbox* box() const { return box_; }
    QSlider* zoomBar() const { return zoomBar_; }
    QLabel* zoomLabel() const { return zoomLabel_; }
    QLabel* hints() const { return hints_; }
    // The hint page that a finished clip outline brings in place of the clip list; none while
    // the clip list shows.
    TLinehelp* hintPage() const { return hintPage_; }
    // The hint page's steps, run after its handler: 400 back to the clip list, 401 the last clip
    // taken for moving and resizing.
    void HintPageSwitch(int code);
    QToolButton* eraseButton() const { return eraseButton_; }
    QToolButton* toolButton(int tool) const { return toolButtons_[tool]; }

    // Insert: the picture and its clips for the design.
    std::function<void(const PictureInsertion& insertion, const PictureTarget& target)> insert;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QToolButton* AddButton(const QString& hint, const QIcon& icon, bool toggle);
    void PictureChanged();
    void ClipsChanged();
    void ShowHints();
    void ShowOutlinedHint();
    void CloseHintPage();

    TParams& params_;
    Prompt& prompt_;
    PictureEditor editor_;
    PictureTarget target_;
    QString pendingPath_;
    bool settingZoom_ = false;
    size_t outlinesShown_ = 0;

    TPictbox* box_ = nullptr;
    TPictureView* view_ = nullptr;
    QWidget* toolbar_ = nullptr;
    QToolButton* toolButtons_[3] = {};
    QToolButton* eraseButton_ = nullptr;
    QSlider* zoomBar_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QLabel* hints_ = nullptr;
    std::unique_ptr<HintHost> hintHost_;
    TLinehelp* hintPage_ = nullptr;
};

} // namespace vlr
