// The page-setup wizard: the page of the large dialog host on which the user chooses the design
// type and the page setup of the current design, or the page setups new designs receive. Its two
// steps are the design-type chooser and the dimensions step with a sample of the page.
#pragma once

#include "model/itemrecord.h"
#include "panels/dialogpage.h"
#include "settings/pagesetup.h"

#include <QAbstractScrollArea>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QVBoxLayout;

namespace vlr {

class Prompt;
class TPagebox;
class TPagedim;
struct TParams;

// An open design window as the wizard sees it.
struct PageDocument {
    ItemList* items = nullptr;
    // The window shows the page just applied: its gridlines respaced, its extents, rulers and
    // scroll bars recomputed, repainted.
    std::function<void()> pageChanged;
};
// The open design window with a number, if there still is one.
using PageDocumentLookup = std::function<std::optional<PageDocument>(int32_t docNumber)>;

// ---- what the wizard does, apart from its controls ----

struct PageOpening {
    pagesetArr_t working;   // the page setups the wizard edits, one per design type
    int32_t chosenType = 0; // 0: the type chooser comes first
};
// The working page setups when the wizard opens: the new-file page setups, with the page of the
// design's header over its type's (unit, orientation, preset, folds and the texts of that unit).
// A header whose type is not 1 ... 11 leaves the type to the chooser; without a header (new
// files) the wizard opens on Business Cards.
PageOpening OpenPageSetups(const pagesetArr_t& newFiles, const ItemRecord* header);

// New files take the working page setups and the chosen design type; when the chosen page's
// paper size reads, new designs also take its unit, with the paper as their canvas.
void ApplyNewFilePageSetups(TParams& params, const pagesetArr_t& working, int32_t designType);

// The two hints the dimensions step shows for a design type (empty for types without hints).
std::array<QString, 2> DimensionHints(int32_t designType);

// ---- the page ----

// The right-hand area: the chooser's sketch of a type, or the sample of the page being set up,
// with scroll bars when a pixel sample is larger than the area.
class TSampleArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TSampleArea(const QColor& ground, QWidget* parent = nullptr);

    void ShowSketch(int32_t designType);
    void ShowSample(int32_t designType, const pageset_t& pageset);
    // The sample as last drawn: its design type (0 when a sketch or nothing is shown).
    int32_t sampleType() const { return sampleType_; }
    int32_t sketchType() const { return sketchType_; }
    const pageset_t& samplePageSetup() const { return pageset_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitScrollBars();

    QColor ground_;
    int32_t sketchType_ = 0;
    int32_t sampleType_ = 0;
    pageset_t pageset_;
};

class TPage : public DialogPage {
    Q_OBJECT
public:
    // target: the number of the document window to set up; 0 or -1 for the new-file page setups.
    TPage(TParams& params, Prompt& prompt, int32_t target, PageDocumentLookup findDocument,
          QWidget* parent = nullptr);

    QSize PreferredClientSize() const override { return {800, 480}; }
    // Apply: the page setup of the chosen type becomes the design's page, or new files take the
    // working page setups. False, with the reason told, when it cannot be applied as it stands.
    bool RunAction() override;

    // The steps. Leaving the dimensions step keeps what it shows in the working page setups.
    void ShowChooser();
    void ShowDimensions();
    // Draws the sample of a page setup in the right-hand area; the dimensions page calls it after
    // every change.
    void RedrawSample(int32_t designType, const pageset_t& pageset);

    // ---- state, for the host and for tests ----
    bool forNewFiles() const { return target_ <= 0; }
    int32_t chosenType() const { return chosenType_; }
    int32_t highlightedType() const { return highlightedType_; }
    const pagesetArr_t& working() const { return working_; }
    TPagebox* Chooser() const { return pagebox_; }
    TPagedim* Dimensions() const { return pagedim_; }
    TSampleArea* Sample() const { return sample_; }
    QLabel* Description() const { return description_; }
    // The left column's title picture that leads back to the chooser (dimensions step only).
    QWidget* BackToChooser() const { return backToChooser_; }
    const std::array<QLabel*, 2>& Hints() const { return hints_; }

    // Switches to the dimensions step once the click that chose a type has finished.
    QTimer Timer1;

private:
    void Pagebox1Highlight(int32_t type);
    void Pagebox1Choose(int32_t type);
    void LeaveStep();
    void ShowDescription(int32_t type);
    bool Refuse(const std::string& message);

    TParams& params_;
    Prompt& prompt_;
    int32_t target_;
    PageDocumentLookup findDocument_;
    pagesetArr_t working_;
    int32_t chosenType_ = 0;
    int32_t highlightedType_ = 0;

    QVBoxLayout* leftColumn_ = nullptr;
    QVBoxLayout* middleColumn_ = nullptr;
    QWidget* leftStep_ = nullptr;
    QWidget* middleStep_ = nullptr;
    TPagebox* pagebox_ = nullptr;
    TPagedim* pagedim_ = nullptr;
    QLabel* description_ = nullptr;
    QWidget* backToChooser_ = nullptr;
    std::array<QLabel*, 2> hints_ = {};
    TSampleArea* sample_ = nullptr;
};

} // namespace vlr
