// The page setup page of the large dialog host: the design type and the page-dimensions page,
// applied to the active design or to the page setups of new files.
#pragma once

#include "panels/dialogpage.h"
#include "settings/pagesetup.h"

class QComboBox;
class QVBoxLayout;

namespace vlr {

class DesignView;
class Prompt;
class TForm1;
class TPagedim;

class TPageSetupPage : public DialogPage {
    Q_OBJECT
public:
    // number: the document number of the design to set up; 0 for new files.
    TPageSetupPage(TForm1& form, Prompt& prompt, int32_t number, QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {560, 430}; }
    // Apply: the page setup becomes the design's page, or the page setup of new files.
    bool RunAction() override;

    TPagedim* Dimensions() const { return dimensions_; }
    QComboBox* TypeBox() const { return typeBox_; }

private:
    void ShowDimensions(const pageset_t& pageset, int32_t designType);
    DesignView* Design() const;

    TForm1& form_;
    Prompt& prompt_;
    int32_t number_;
    QComboBox* typeBox_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    TPagedim* dimensions_ = nullptr;
};

} // namespace vlr
