// The page-dimensions page: the step of the page-setup wizard on which the user edits one page
// setup (orientation, quick-select preset, measuring unit, the dimension boxes and the folds).
// It works on its own copy of the page setup; the wizard reads it back when it applies.
#pragma once

#include "settings/pagesetup.h"

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace vlr {

class TPagedim : public QWidget {
    Q_OBJECT

public:
    // Runs after every change with the design type and the edited page setup, so the wizard can
    // redraw its sample of the page.
    using SampleRedraw = std::function<void(int32_t designType, const pageset_t& pageset)>;

    TPagedim(const pageset_t& pageset, int32_t designType, QWidget* parent = nullptr);

    void SetSampleRedraw(SampleRedraw redraw) { redrawSample_ = std::move(redraw); }
    const pageset_t& PageSetup() const { return pageset_; }
    int32_t DesignType() const { return designType_; }
    // Why the page setup cannot become a design's page as it stands; empty when it can. Shown on
    // the page under the boxes as well.
    QString Problem() const;

    // The controls; their object names are their member names ("Edit1" ... "Edit10").
    QCheckBox* PortraitBox;
    QCheckBox* LandscapeBox;
    QComboBox* QuickSelect;
    QComboBox* UnitsBox;
    std::array<QLabel*, kPageBoxCount> EditLabel;
    std::array<QLineEdit*, kPageBoxCount> Edit;
    QCheckBox* RowFoldBox;
    QCheckBox* ColumnFoldBox;
    QLabel* ProblemLabel;

private:
    void OrientationBoxClick(int32_t orientation);
    void QuickSelectChoose(int index);
    void UnitsBoxChange(int index);
    void EditChange(int box);
    void FoldBoxClick();

    // Control updates made by the page itself; no change handler runs meanwhile.
    void RefreshControls();
    void RebuildQuickSelect();
    void ShowOrientation();
    void ShowPreset();
    void ShowProblem();
    // After an edit: store, redraw the sample, recognise the preset.
    void Edited();
    void RedrawSample();

    pageset_t pageset_;
    int32_t designType_;
    SampleRedraw redrawSample_;
    bool updating_ = false;
};

} // namespace vlr
