// The picture editor's side panel: on "Clips" the insert mode and the count of the outlined
// clips, on "Effects" the frame, frame colour, shadow and frame 3-D of the items to insert. The
// effects are the settings of new clips and are kept in the settings at once.
#pragma once

#include "settings/stylelists.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QStackedWidget;
class QTabBar;

namespace vlr {

struct TParams;

class TPictbox : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 190;

    TPictbox(TParams& params, QWidget* parent = nullptr);

    int insertMode() const;
    // Shows the mode without telling anyone.
    void SetInsertMode(int mode);
    void SetClipCounts(int rectangles, int rounds);
    // 1 "Clips", 2 "Effects".
    void SetTab(int tab);
    int tab() const;

    // The line-weight or shadow dialog closed: the lists again, their entries selected again.
    void RebuildFrames();
    void RebuildShadows();

    // "Customize..." entries: the line-weight dialog, the shadow dialog and the colour dialog (a
    // colour, or none when cancelled). Without them the entry only goes back to the value shown.
    std::function<void()> customiseWeights;
    std::function<void()> customiseShadows;
    std::function<std::optional<int32_t>(int32_t current)> chooseColour;

    QComboBox* modeList() const { return modeList_; }
    QComboBox* frameList() const { return frameList_; }
    QComboBox* colourList() const { return colourList_; }
    QComboBox* shadowList() const { return shadowList_; }
    QComboBox* surfaceList() const { return surfaceList_; }
    QLabel* summary() const { return summary_; }

Q_SIGNALS:
    void insertModeChosen(int mode);

private:
    void FillFrames();
    void FillColours();
    void FillShadows();
    void FillSurfaces();
    // Frame Color and Frame 3-D only while the frame is not "None".
    void EnableFrameLists();
    void FrameChosen(int position);
    void ColourChosen(int position);
    void ShadowChosen(int position);
    void SurfaceChosen(int position);

    TParams& params_;
    StyleList frames_, colours_, shadows_, surfaces_;
    bool filling_ = false;
    int rectangles_ = 0, rounds_ = 0;

    QTabBar* tabs_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QComboBox* modeList_ = nullptr;
    QLabel* summary_ = nullptr;
    QComboBox* frameList_ = nullptr;
    QComboBox* colourList_ = nullptr;
    QComboBox* shadowList_ = nullptr;
    QComboBox* surfaceList_ = nullptr;
};

} // namespace vlr
