// The shape panel.
#include "panels/shapebox.h"

#include "model/itemkind.h"
#include "panels/picturebutton.h"
#include "canvas/inserttool.h"
#include "settings/stylechecks.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <iterator>

namespace vlr {

namespace {

struct InsertTexts {
    int code;
    const char* title;
    std::array<const char*, 4> hints;
};

constexpr const char* kDragLine = "Hold down the mouse button, move the mouse, and release the button.";
constexpr const char* kUndoLine = "You can undo your edits by clicking on the Undo button in the upper menu.";
constexpr const char* kThirdPoint = "Then, move the mouse and click again to make the third point.";

constexpr InsertTexts kInsertTexts[] = {
    {100, "Triangle",
     {"Select how you want the next triangle drawn.", "Click where you want to start the triangle, or...",
      kDragLine, kThirdPoint}},
    {101, "Square",
     {"Select how you want the next square drawn.", "Click where you want to start the square, or...", kDragLine,
      kUndoLine}},
    {102, "Rectangle",
     {"Select how you want the next rectangle drawn.", "Click where you want to start the rectangle, or...",
      kDragLine, kThirdPoint}},
    {103, "Circle",
     {"Select how you want the next circle drawn.", "Click where you want to place the center of the circle.",
      "Then, move the mouse and click again to set the size of the circle.",
      "Or, hold down the mouse button, move the mouse, and release the button."}},
    {104, "Ellipse",
     {"Select how you want the next ellipse drawn.", "Click where you want to place the center of the ellipse.",
      "Then, move the mouse and click again to set the length of the ellipse.",
      "Finally, move the mouse and click again to set the width of the ellipse."}},
    {105, "Star",
     {"Select how you want the next star drawn.", "Click where you want to place the star center.",
      "Then, move the mouse and click again to set the size of the star.",
      "Finally, move the mouse and click again to set the length of the spikes."}},
    {107, "Pie",
     {"Select how you want the next pie drawn.", "Click where you want to place the center of the pie.",
      "Then, move the mouse and click again to set the size of the pie.",
      "Finally, move the mouse and click again to set the width of the pie."}},
    {108, "Arc",
     {"Select how you want the next arc drawn.", "Click where you want to place the center of the arc.",
      "Then, move the mouse and click again at the start of the arc.",
      "Finally, move the mouse and click again at the end of the arc."}},
    {109, "Spline",
     {"Select how you want the next spline drawn.", "Click where you want to start the spline.",
      "Then, click where you want to place the turning points.",
      "Finally, hold down the Shift key and click where you want to end the spline."}},
    {110, "Solid",
     {"Select how you want the next solid drawn.", "Click where you want to start the solid.",
      "Then, click where you want to place the edge points.",
      "Finally, hold down the Shift key and click where you want to end the solid."}},
    {111, "Curve",
     {"Select how you want the next curve drawn.", "Click where you want to start the curve.",
      "Then, click where you want to place the turning points.",
      "Finally, hold down the Shift key and click where you want to end the curve."}},
    {112, "Oblong",
     {"Select how you want the next oblong drawn.", "Click where you want to start the oblong.",
      "Then, click where you want to place the edge points.",
      "Finally, hold down the Shift key and click where you want to end the oblong."}},
    {199, "Polygon",
     {"Select how you want the next polygon drawn.", "Click where you want to place the polygon center.",
      "Then, move the mouse and click again to set the size of the polygon.",
      "Or, hold down the mouse button, move the mouse, and release the button."}},
};

const InsertTexts* InsertTextsOf(int code) {
    for (const InsertTexts& texts : kInsertTexts) {
        if (texts.code == code) {
            return &texts;
        }
    }
    return nullptr;
}

bool IsSplineOrCurveCode(int code) {
    return (code >= 109 && code <= 112) || (code >= 209 && code <= 212) || code == 297 || code == 298;
}

} // namespace

ShapeValues GatherShapeValues(const ItemList& list) {
    return ShapeValuesOf(SelectedStyledItems(list));
}

ShapeValues ShapeValuesOf(const std::vector<const ItemRecord*>& items) {
    Common<int32_t> colour, fill, sides, mode, surface;
    Common<double> weight;
    Common<ShadowStyle> shadow;
    for (const ItemRecord* item : items) {
        colour.Add(item->color);
        fill.Add(item->fillColor);
        weight.Add(item->lineWeight, NearlyEqual);
        surface.Add(item->surface);
        shadow.Add({item->shadowElevation, item->shadowFade, item->shadowLightness});
        if (item->kind == ItemKind::Polygon || item->kind == ItemKind::Star) {
            sides.Add(item->vertexCount);
        }
        if (item->kind == ItemKind::Spline || item->kind == ItemKind::Curve) {
            mode.Add(item->shapeMode);
        }
    }
    return {colour.value, fill.value, weight.value, sides.value, mode.value, surface.value, shadow.value};
}

FourthList FourthListOf(int code) {
    switch (code) {
    case 105: case 199: case 206: case 299:
        return FourthList::Sides;
    case 109: case 110: case 209: case 210: case 297:
        return FourthList::SplineModes;
    case 111: case 112: case 211: case 212: case 298:
        return FourthList::CurveModes;
    case 201: case 202:
        return FourthList::SquareRectangle;
    case 203: case 204:
        return FourthList::CircleEllipse;
    case 207: case 208:
        return FourthList::ArcPie;
    default:
        return FourthList::None;
    }
}

TPolybox::TPolybox(PanelHost& host, int code, QWidget* parent)
    : TStylePanel(host, code, parent), fourth_(FourthListOf(code)) {
    const InsertTexts* texts = InsertTextsOf(code);
    QWidget* row = nullptr;
    if (fineTune()) {
        const QString hints[4] = {"Mirror", "Flip", "Rotate", "Rotate"};
        row = AddTransformButtons(hints, Buttons);
    } else if (texts) {
        auto* first = new QLabel(texts->hints[0], this);
        first->setWordWrap(true);
        hints_.push_back(first);
        row = first;
    }
    BuildFrame(fineTune() || !texts ? QString("Fine-tune") : QString(texts->title), row);
    ColorBox = AddList(basicsLayout_, "Color");
    FillBox = AddList(basicsLayout_, "Fill Color");
    WeightBox = AddList(basicsLayout_, "Outline Weight");
    WeightBox->SetEntryKind(EntryKind::Weight, params());
    const QString fourthLabel = fourth_ == FourthList::Sides ? (code == 105 || code == 206 ? "Spikes" : "Sides")
                                                             : QString("Shape");
    FourthBox = AddList(basicsLayout_, fourthLabel);
    AddEffects();
    for (int line = 2; line <= 4; ++line) {
        QLabel* hint = AddHint(hintsLayout_);
        if (!fineTune() && texts) {
            hint->setText(texts->hints[static_cast<size_t>(line - 1)]);
        }
    }
    connect(WeightBox, &TStyleCombo::chosen, this, &TPolybox::WeightBoxChange);
    connect(FourthBox, &TStyleCombo::chosen, this, &TPolybox::FourthBoxChange);
    Open();
    // A spline or curve being continued keeps its style until the continuation ends.
    if (code == 297 || code == 298) {
        SetListsEnabled(false);
    }
}

void TPolybox::Open() {
    const FillGuard guard(filling_);
    const ItemRecord* continued = code_ == 297 || code_ == 298 ? host_.ContinuedItem() : nullptr;
    if (continued) {
        // The continued item is hidden and unselected meanwhile: its own style is the one shown.
        values_ = ShapeValuesOf({continued});
    } else if (fineTune()) {
        ItemList* items = host_.DesignItems();
        values_ = items ? GatherShapeValues(*items) : ShapeValues{};
    } else {
        const currentState_t& s = params().state;
        values_ = {s.polycolor, s.polyfill, s.polywidth, CheckedSides(s.polysides), std::nullopt, s.poplas,
                   s.shpoly};
    }
    FillLists();
    ApplyOutlineRule();
    ApplyFillRule();
    SetFineTuneHints();
}

void TPolybox::FillLists() {
    const FillGuard guard(filling_);
    colour_ = values_.colour;
    fill_ = values_.fill;
    FillColourLists();

    fourthList_ = StyleList{};
    switch (fourth_) {
    case FourthList::Sides:
        for (int32_t n : kSideCounts) {
            fourthList_.entries.push_back(std::to_string(n));
        }
        break;
    case FourthList::SplineModes:
        fourthList_.entries = {"Open Spline", "Closed Spline", "Solid Shape"};
        break;
    case FourthList::CurveModes:
        fourthList_.entries = {"Open Curve", "Closed Curve", "Oblong Shape"};
        break;
    case FourthList::SquareRectangle:
        fourthList_.entries = {"Square", "Rectangle"};
        break;
    case FourthList::CircleEllipse:
        fourthList_.entries = {"Circle", "Ellipse"};
        break;
    case FourthList::ArcPie:
        fourthList_.entries = {"Arc", "Pie"};
        break;
    case FourthList::None:
        break;
    }
    fourthList_.selected = FourthPositionAtOpening();
    FourthBox->Fill(fourthList_);
    SetListShown(FourthBox, fourth_ != FourthList::None);

    FillEffects(values_.surface, values_.shadow);
}

void TPolybox::RebuildWeights() {
    const FillGuard guard(filling_);
    TParams& p = params();
    const WeightHandOver handOver = BuildWeightList(weights_, p);
    if (handOver.position >= 0) {
        // The slot chosen on the line-weight page.
        values_.weight = handOver.millimetres;
        if (fineTune()) {
            const double mm = handOver.millimetres;
            ApplyToSelection([mm](ItemList& l, CommandWindow& w) { return SetOutlineWeight(l, w, mm); });
        } else {
            p.state.polytab = handOver.position;
            p.state.polywidth = handOver.millimetres;
        }
    }
    if (fineTune()) {
        weights_.selected = values_.weight ? WeightPosition(p.slots, *values_.weight) : -1;
    } else {
        // A remembered position outside the list takes the first weight.
        currentState_t& s = p.state;
        weights_.selected = CheckedPosition(s.polytab, weights_.count(), 0);
        if (weights_.selected != s.polytab || weights_.selected == kWeightCustomize) {
            weights_.selected = 0;
            s.polytab = 0;
            s.polywidth = WeightAt(weights_, p.slots);
        }
    }
    WeightBox->Fill(weights_);
}

int TPolybox::FourthPositionAtOpening() const {
    const currentState_t& s = host_.params().state;
    auto sidesPosition = [](std::optional<int32_t> sides) {
        if (!sides) {
            return -1;
        }
        const auto* found = std::find(std::begin(kSideCounts), std::end(kSideCounts), *sides);
        return found == std::end(kSideCounts) ? -1 : static_cast<int>(found - std::begin(kSideCounts));
    };
    auto modePosition = [](std::optional<int32_t> mode) { return mode && *mode >= 0 && *mode <= 2 ? *mode : -1; };
    switch (code_) {
    case 105: case 199: case 206: case 299:
        return sidesPosition(values_.sides);
    case 109: {
        const int32_t state = CheckedShapeMode(s.polystate);
        return state <= 1 ? state : -1;
    }
    case 111: {
        const int32_t state = CheckedShapeMode(s.bpolystate);
        return state <= 1 ? state : -1;
    }
    case 110: case 112:
        return 2;
    case 201: case 203: case 208:
        return 0;
    case 202: case 204: case 207:
        return 1;
    case 209: case 210: case 211: case 212: case 297: case 298:
        return modePosition(values_.mode);
    default:
        return -1;
    }
}

void TPolybox::ApplyOutlineRule() {
    bool shown = true;
    if (!fineTune()) {
        // An arc, a spline and a curve always have an outline.
        shown = code_ == 108 || code_ == 109 || code_ == 111 || params().state.polyfill != -2;
    } else {
        shown = !fill_ || *fill_ != -2;
    }
    SetListShown(WeightBox, shown);
}

void TPolybox::ApplyFillRule() {
    bool enabled = true;
    const int shown = FourthBox->currentIndex();
    if (code_ == 108) {
        enabled = false;
    } else if (IsSplineOrCurveCode(code_)) {
        // Open and closed splines and curves are lines; the solid and oblong shapes, a mixed
        // mode and any other value can be filled.
        enabled = shown != 0 && shown != 1;
    } else if (code_ == 207 || code_ == 208) {
        enabled = shown == 1; // "Pie"
    }
    FillBox->setEnabled(enabled && listsEnabled_);
}

void TPolybox::SetListsEnabled(bool on) {
    listsEnabled_ = on;
    for (TStyleCombo* list : {ColorBox, WeightBox, FillBox, FourthBox}) {
        list->setEnabled(on);
    }
    if (on) {
        ApplyFillRule();
    }
}

void TPolybox::SetFineTuneHints() {
    if (!fineTune()) {
        return;
    }
    QStringList lines;
    if (code_ >= 209 && code_ <= 212) {
        lines << (FourthBox->currentIndex() == 0 ? "Press Ctrl-A to add more points at the end of the perimeter."
                                                 : "Drag the points on the perimeter to change the shape.")
              << "Or, place the cursor over an edge point and press Ctrl-D to delete the point."
              << "Or, place the cursor on the edge line and press Ctrl-I to insert a point.";
    } else {
        lines << "Hold down the Shift key to select more items."
              << "Hold down the Ctrl key and move the mouse to select items inside an area."
              << "Hold down the Shift and Ctrl keys to select items partially within an area.";
    }
    for (int i = 0; i < 3 && i < static_cast<int>(hints_.size()); ++i) {
        hints_[static_cast<size_t>(i)]->setText(lines[i]);
    }
}

void TPolybox::WeightBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    if (OpenPageFor(WeightBox, position, kWeightCustomize, kWeightPage)) {
        return;
    }
    const double mm = ChooseWeight(weights_, position);
    values_.weight = mm;
    SetWeight(mm, position, params().state.polywidth, params().state.polytab);
}

void TPolybox::FourthBoxChange(int position) {
    if (filling_ || position < 0) {
        return;
    }
    currentState_t& s = params().state;
    if (!fineTune()) {
        switch (fourth_) {
        case FourthList::Sides:
            s.polysides = kSideCounts[position];
            break;
        case FourthList::SplineModes:
        case FourthList::CurveModes: {
            const bool spline = fourth_ == FourthList::SplineModes;
            if (position <= 1) {
                (spline ? s.polystate : s.bpolystate) = position;
            }
            ApplyFillRule();
            (spline ? s.polyshape : s.bpolyshape) = position;
            // The next click inserts the chosen variant: the solid or oblong has its own panel.
            const int target = spline ? (position == 2 ? 110 : 109) : (position == 2 ? 112 : 111);
            if (target != code_) {
                host_.SwitchPanelLater(target);
            }
            break;
        }
        default:
            break;
        }
        return;
    }
    bool recorded = true;
    switch (fourth_) {
    case FourthList::SquareRectangle:
    case FourthList::CircleEllipse:
    case FourthList::ArcPie: {
        static constexpr int32_t kinds[3][2] = {{ItemKind::Square, ItemKind::Rectangle},
                                                {ItemKind::Circle, ItemKind::Ellipse},
                                                {ItemKind::Arc, ItemKind::Pie}};
        const int32_t kind = kinds[fourth_ == FourthList::SquareRectangle ? 0
                                   : fourth_ == FourthList::CircleEllipse ? 1
                                                                          : 2][position];
        ApplyToSelection([kind](ItemList& l, CommandWindow& w) { return SetShapeKind(l, w, kind); });
        break;
    }
    case FourthList::Sides: {
        const int32_t sides = kSideCounts[position];
        values_.sides = sides;
        ApplyToSelection([sides](ItemList& l, CommandWindow& w) { return SetVertexCount(l, w, sides); });
        break;
    }
    case FourthList::SplineModes:
    case FourthList::CurveModes:
        values_.mode = position;
        ApplyToSelection([position](ItemList& l, CommandWindow& w) { return SetShapeMode(l, w, position); });
        SetFineTuneHints();
        recorded = false; // the closed flag is no style the history restores
        break;
    case FourthList::None:
        break;
    }
    ApplyFillRule();
    if (recorded) {
        host_.RecordChange();
    }
}

void TPolybox::StyleListsChanged(int page) {
    if (page == kWeightPage) {
        RebuildWeights();
    } else if (page == kShadowPage) {
        FillEffects(values_.surface, values_.shadow);
    }
}

} // namespace vlr
