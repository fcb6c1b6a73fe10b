// The document commands on designs without a window: what each appends to the list, what it asks
// of the window, and that one Undo brings the design back as it was.
#include "canvas/commands.h"

#include "../model/editing.h"
#include "canvas/anchors.h"
#include "fakecommandwindow.h"
#include "model/copylist.h"
#include "model/history.h"
#include "model/outline.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace vlr {
namespace {

using test::FakeCommandWindow;
using test::Insert;

struct Design {
    ItemList list = test::NewDesign();
    FakeCommandWindow window{list};

    void SelectAll() {
        for (ItemRecord* record : list) {
            record->selected = IsLiveItem(record) && record->kind != ItemKind::Gridlines ? 255 : 0;
        }
    }
};

// A member of group 1, whose marker stands at (50, 50).
ItemRecord* Member(ItemRecord* item) {
    item->groupId = 1;
    return item;
}

ItemRecord* GroupMarkerAt(ItemList& list, Point centre) {
    ItemRecord* marker = CreateRecord(list, ItemKind::GroupMarker);
    marker->groupId = 1;
    marker->x1 = marker->x2 = centre.x;
    marker->y1 = marker->y2 = centre.y;
    marker->undoStep = NextUndoStep(list);
    return marker;
}

ItemRecord* Star(ItemList& list) {
    ItemRecord* star = CreateNewItem(list, ItemKind::Star);
    StarPoints(star->pointList, {200, 200}, {210, 200}, {230, 200}, 5);
    star->vertexCount = 5;
    ShapeBounds(star, list.screen);
    return star;
}

ItemRecord* Curve(ItemList& list) {
    ItemRecord* curve = CreateNewItem(list, ItemKind::Curve);
    curve->pointList = {{.x = 0, .y = 0}, {.x = 40, .y = 30}, {.x = 80, .y = 0}};
    SmoothCurve(curve->pointList, ShapeMode::Open, curve->tension);
    ShapeBounds(curve, list.screen);
    return curve;
}

// The live items and group markers by serial, each with its stored body (selection, history state
// and stacking command left out, as Undo and Redo switch those) and its points.
using Snapshot = std::map<int32_t, std::vector<uint8_t>>;
Snapshot LiveRecords(const ItemList& list) {
    Snapshot snapshot;
    for (const ItemRecord* record : list) {
        if (!IsLiveItem(record) || !(IsDesignItemKind(record->kind) || IsMarker(record))) {
            continue;
        }
        std::array<uint8_t, kBodySize> body = BodyBytes(*record);
        std::fill(body.begin() + 64, body.begin() + 68, 0);   // selected, suspended, deleted, mark
        std::fill(body.begin() + 229, body.begin() + 237, 0); // historyState, zChange
        std::vector<uint8_t>& bytes = snapshot[record->serial];
        bytes.assign(body.begin(), body.end());
        for (const PointNode& node : record->pointList) {
            const auto* raw = reinterpret_cast<const uint8_t*>(&node);
            bytes.insert(bytes.end(), raw, raw + sizeof(PointNode));
        }
    }
    return snapshot;
}

TEST(Commands, EachIsOneUndoStepThatOneUndoTakesBackExactly) {
    const std::vector<std::pair<const char*, std::function<void(Design&, ItemList & copyList)>>> commands = {
        {"delete", [](Design& d, ItemList&) { DeleteSelection(d.list, d.window); }},
        {"send to back", [](Design& d, ItemList&) { SendSelectionToBack(d.list, d.window); }},
        {"bring to front", [](Design& d, ItemList&) { BringSelectionToFront(d.list, d.window); }},
        {"join", [](Design& d, ItemList&) { JoinSelection(d.list, d.window); }},
        {"split", [](Design& d, ItemList&) { SplitSelection(d.list, d.window); }},
        {"mirror", [](Design& d, ItemList&) { TransformSelection(d.list, d.window, true, false, 0); }},
        {"flip", [](Design& d, ItemList&) { TransformSelection(d.list, d.window, false, true, 0); }},
        {"rotate", [](Design& d, ItemList&) { TransformSelection(d.list, d.window, false, false, -1); }},
        {"outline colour", [](Design& d, ItemList&) { SetOutlineColor(d.list, d.window, 0xFF); }},
        {"frame colour", [](Design& d, ItemList&) { SetClipFrameColor(d.list, d.window, 0xFF00); }},
        {"outline weight", [](Design& d, ItemList&) { SetOutlineWeight(d.list, d.window, 2.0); }},
        {"frame weight", [](Design& d, ItemList&) { SetClipFrameWeight(d.list, d.window, 1.0); }},
        {"fill", [](Design& d, ItemList&) { SetFillColor(d.list, d.window, -1); }},
        {"pattern", [](Design& d, ItemList&) { SetDashPattern(d.list, d.window, 2); }},
        {"direction", [](Design& d, ItemList&) { SetLineDirection(d.list, d.window, 90.0); }},
        {"line outline", [](Design& d, ItemList&) { SetLineOutlineWeight(d.list, d.window, 3.0); }},
        {"shadow",
         [](Design& d, ItemList&) {
             SetShadow(d.list, d.window, {30, 10, 100});
         }},
        {"surface", [](Design& d, ItemList&) { SetSurface(d.list, d.window, 127); }},
        {"clip colours", [](Design& d, ItemList&) { SetClipColours(d.list, d.window, 10, 20, 30); }},
        {"text colour", [](Design& d, ItemList&) { SetTextColor(d.list, d.window, 0xFF); }},
        {"font", [](Design& d, ItemList&) { SetTextFont(d.list, d.window, "Courier New", 204); }},
        {"size", [](Design& d, ItemList&) { SetFontSize(d.list, d.window, 24); }},
        {"weight", [](Design& d, ItemList&) { SetFontWeight(d.list, d.window, 700); }},
        {"italic", [](Design& d, ItemList&) { SetItalic(d.list, d.window, true); }},
        {"underline", [](Design& d, ItemList&) { SetUnderline(d.list, d.window, true); }},
        {"strike-out", [](Design& d, ItemList&) { SetStrikeOut(d.list, d.window, true); }},
        {"alignment", [](Design& d, ItemList&) { SetTextAlignment(d.list, d.window, 3); }},
        {"text angle", [](Design& d, ItemList&) { SetTextAngle(d.list, d.window, 45); }},
        {"text defaults",
         [](Design& d, ItemList&) { ApplyTextDefaults(d.list, d.window, currentState_t{}); }},
        {"shape kind", [](Design& d, ItemList&) { SetShapeKind(d.list, d.window, ItemKind::Square); }},
        {"sides", [](Design& d, ItemList&) { SetVertexCount(d.list, d.window, 8); }},
        {"shape mode", [](Design& d, ItemList&) { SetShapeMode(d.list, d.window, ShapeMode::Closed); }},
        {"paste",
         [](Design& d, ItemList& copyList) {
             CopySelection(d.list, copyList, d.window);
             Paste(copyList, d.list, d.window);
         }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        Design design;
        ItemList& list = design.list;
        Insert(list, ItemKind::Line, 10, 10, 40, 30);
        Insert(list, ItemKind::Rectangle, 50, 50, 90, 80);
        Insert(list, ItemKind::Text, 20, 100, 60, 100);
        Insert(list, ItemKind::Clip, 100, 100, 140, 130)->rotation = 0.5;
        Star(list);
        Curve(list);
        Member(Insert(list, ItemKind::Line, 0, 0, 20, 20));
        Member(Insert(list, ItemKind::Ellipse, 30, 30, 60, 40));
        GroupMarkerAt(list, {30, 30});
        design.SelectAll();
        const Snapshot before = LiveRecords(list);
        const int32_t step = NextUndoStep(list);

        ItemList copyList;
        command(design, copyList);
        ASSERT_NE(LiveRecords(list), before);
        // Every record the command made belongs to its one step.
        for (const ItemRecord* record : list) {
            if (IsItemClass(record) && record->serial > before.rbegin()->first) {
                EXPECT_EQ(record->undoStep, step) << record->kind;
            }
        }
        UndoCommand(list, design.window);
        EXPECT_EQ(LiveRecords(list), before);
        EXPECT_FALSE(CanUndo(list) && UndoTarget(list)->undoStep == step);
    }
}

TEST(DeleteSelection, AppendsDeletionRecordsThenDefersTheHintPageOrTheInsertPanel) {
    for (const bool hintOn : {true, false}) {
        Design design;
        ItemList& list = design.list;
        ItemRecord* line = Insert(list, ItemKind::Line, 10, 10, 40, 30);
        ItemRecord* box = Insert(list, ItemKind::Rectangle, 50, 50, 90, 80);
        ItemRecord* kept = Insert(list, ItemKind::Line, 0, 0, 5, 5);
        if (hintOn) {
            design.window.hintsOn.insert(1038);
        }
        EXPECT_FALSE(DeleteSelection(list, design.window)); // nothing selected
        EXPECT_TRUE(design.window.deferredPanels.empty());
        test::Select(list, {line, box});
        const int32_t step = NextUndoStep(list);

        ASSERT_TRUE(DeleteSelection(list, design.window));
        std::vector<ItemRecord*> deletions;
        for (ItemRecord* record : list) {
            if (record->kind == ItemKind::Deletion) {
                deletions.push_back(record);
            }
        }
        ASSERT_EQ(deletions.size(), 2u);
        for (auto [deletion, item] : {std::pair{deletions[0], line}, std::pair{deletions[1], box}}) {
            EXPECT_EQ(deletion->replaces, item->serial);
            EXPECT_EQ(deletion->zOrder, item->zOrder);
            EXPECT_EQ(deletion->undoStep, step);
            EXPECT_EQ(item->deleted, 255);
        }
        EXPECT_EQ(kept->deleted, 0);
        EXPECT_EQ(FirstSelected(list), nullptr);
        EXPECT_TRUE(design.window.arrow);
        EXPECT_EQ(design.window.fullRepaints, std::vector<bool>{true});
        EXPECT_EQ(design.window.deferredPanels, std::vector<int>{hintOn ? 1038 : 20});
    }
}

TEST(Stacking, SeveralItemsSentBackEndReversedAndBroughtForwardKeepTheirOrder) {
    struct Case {
        bool toFront;
        std::array<int32_t, 4> expected; // the stacking numbers of A, B, C, D; B and D are moved
    };
    for (const Case& c : {Case{false, {3, 2, 4, 1}}, Case{true, {1, 3, 2, 4}}}) {
        Design design;
        ItemList& list = design.list;
        std::array<ItemRecord*, 4> items;
        for (ItemRecord*& item : items) {
            item = Insert(list, ItemKind::Line, 0, 0, 10, 10);
        }
        test::Select(list, {items[1], items[3]});
        ASSERT_TRUE(c.toFront ? BringSelectionToFront(list, design.window)
                              : SendSelectionToBack(list, design.window));
        std::array<int32_t, 4> stacking{};
        for (size_t i = 0; i < items.size(); ++i) {
            ItemRecord* current = items[i];
            for (ItemRecord* record : list) {
                if (IsLiveItem(record) && record->replaces == items[i]->serial) {
                    current = record;
                }
            }
            stacking[i] = current->zOrder;
        }
        EXPECT_EQ(stacking, c.expected);
        EXPECT_EQ(design.window.fullRepaints, std::vector<bool>{true});
        UndoCommand(list, design.window);
        for (int32_t i = 0; i < 4; ++i) {
            EXPECT_EQ(items[static_cast<size_t>(i)]->zOrder, i + 1);
            EXPECT_EQ(items[static_cast<size_t>(i)]->deleted, 0);
        }
    }
}

TEST(JoinSelection, MakesOneGroupWithItsMarkerAtTheMembersCentreInTheirStep) {
    Design design;
    ItemList& list = design.list;
    ItemRecord* line = Insert(list, ItemKind::Line, 0, 0, 10, 20);
    ItemRecord* text = Insert(list, ItemKind::Text, 30, 40, 51, 60);
    JoinSelection(list, design.window); // nothing selected: not even an edit is opened
    EXPECT_EQ(design.window.edits, 0);
    test::Select(list, {line, text});
    JoinSelection(list, design.window);
    ItemRecord* marker = FindLiveRecord(list, ItemKind::GroupMarker);
    ASSERT_NE(marker, nullptr);
    // x: (0 + 10 + 30 + 51) / 4 = 22.75; y: (0 + 20 + 40 + 60) / 4 = 30.
    EXPECT_EQ((Point{marker->x1, marker->y1}), (Point{23, 30}));
    EXPECT_EQ((Point{marker->x2, marker->y2}), (Point{23, 30}));
    EXPECT_EQ(marker->groupId, 1);
    EXPECT_EQ(marker->selected, 255);
    for (ItemRecord* member : test::SelectedItems(list)) {
        EXPECT_EQ(member->groupId, 1);
        EXPECT_EQ(member->undoStep, marker->undoStep);
    }
    EXPECT_EQ(design.window.fullRepaints, std::vector<bool>{true});
    SplitSelection(list, design.window);
    EXPECT_EQ(FindLiveRecord(list, ItemKind::GroupMarker), nullptr);
    EXPECT_EQ(FirstSelected(list), nullptr);
}

// The members of a group after a transform about its marker at (50, 50).
TEST(TransformSelection, AGroupIsReflectedAndTurnedAboutItsMarker) {
    struct Case {
        const char* name;
        bool mirror, flip;
        int32_t rotate;
        Rect line, text, clip; // (x1, y1, x2, y2)
        std::vector<Point> box;
        int32_t escapement;
        double clipRotation;
    };
    const double quarter = kPi / 2.0;
    const std::vector<Case> cases = {
        {"mirror",
         true,
         false,
         0,
         {60, 30, 30, 45},
         {60, 80, 80, 80},
         {80, 0, 100, 10},
         {{40, 60}, {20, 60}, {20, 70}, {40, 70}},
         0,
         0.0},
        {"flip",
         false,
         true,
         0,
         {40, 70, 70, 55},
         {20, 20, 40, 20},
         {0, 90, 20, 100},
         {{60, 40}, {80, 40}, {80, 30}, {60, 30}},
         0,
         0.0},
        // A quarter turn counter-clockwise: right of the centre goes up.
        {"rotate left",
         false,
         false,
         1,
         {30, 60, 45, 30},
         {80, 80, 80, 60},
         {-5, 85, 15, 95},
         {{60, 40}, {60, 20}, {70, 20}, {70, 40}},
         900,
         quarter},
        {"rotate right",
         false,
         false,
         -1,
         {70, 40, 55, 70},
         {20, 20, 20, 40},
         {85, 5, 105, 15},
         {{40, 60}, {40, 80}, {30, 80}, {30, 60}},
         2700,
         3 * quarter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Design design;
        ItemList& list = design.list;
        Member(Insert(list, ItemKind::Line, 40, 30, 70, 45));
        Member(Insert(list, ItemKind::Text, 20, 80, 40, 80));
        Member(Insert(list, ItemKind::Clip, 0, 0, 20, 10));
        Member(Insert(list, ItemKind::Rectangle, 60, 60, 80, 70));
        GroupMarkerAt(list, {50, 50});
        design.SelectAll();
        ASSERT_TRUE(TransformSelection(list, design.window, c.mirror, c.flip, c.rotate));
        auto live = [&list](int32_t kind) { return FindLiveRecord(list, kind); };
        auto ends = [](const ItemRecord* item) { return Rect{item->x1, item->y1, item->x2, item->y2}; };
        EXPECT_EQ(ends(live(ItemKind::Line)), c.line);
        EXPECT_EQ(ends(live(ItemKind::Text)), c.text);
        EXPECT_EQ(ends(live(ItemKind::Clip)), c.clip);
        std::vector<Point> box;
        for (const PointNode& node : live(ItemKind::Rectangle)->pointList) {
            box.push_back(NodePoint(node));
        }
        EXPECT_EQ(box, c.box);
        EXPECT_EQ(live(ItemKind::Text)->escapement, c.escapement);
        EXPECT_NEAR(live(ItemKind::Clip)->rotation, c.clipRotation, 1e-12);
        EXPECT_EQ(live(ItemKind::Clip)->scaleX, 1.0); // a grouped picture keeps its orientation
        EXPECT_EQ(ends(live(ItemKind::GroupMarker)), (Rect{50, 50, 50, 50}));
    }
}

TEST(TransformSelection, ShapesAndClipsOnTheirOwnTurnAboutTheirCentreLinesAndTextsStay) {
    Design design;
    ItemList& list = design.list;
    ItemRecord* line = Insert(list, ItemKind::Line, 40, 30, 70, 45);
    ItemRecord* text = Insert(list, ItemKind::Text, 20, 80, 40, 80);
    Insert(list, ItemKind::Rectangle, 60, 60, 80, 70);
    ItemRecord* pie = CreateNewItem(list, ItemKind::Pie);
    ArcPoints(pie->pointList, {50, 50}, {60, 50}, {50, 40}); // the upper right quarter
    ItemRecord* clip = Insert(list, ItemKind::Clip, 0, 0, 20, 10);
    clip->rotation = kPi / 6.0;
    design.SelectAll();

    ASSERT_TRUE(TransformSelection(list, design.window, false, false, 1));
    auto ends = [](const ItemRecord* item) { return Rect{item->x1, item->y1, item->x2, item->y2}; };
    for (ItemRecord* record : test::SelectedItems(list)) {
        if (record->kind == ItemKind::Line) {
            EXPECT_EQ(ends(record), ends(line));
        } else if (record->kind == ItemKind::Text) {
            EXPECT_EQ(ends(record), ends(text));
            EXPECT_EQ(record->escapement, 0);
        } else if (record->kind == ItemKind::Rectangle) {
            // About the mean of its corners (70, 65).
            std::vector<Point> corners;
            for (const PointNode& node : record->pointList) {
                corners.push_back(NodePoint(node));
            }
            EXPECT_EQ(corners, (std::vector<Point>{{65, 75}, {65, 55}, {75, 55}, {75, 75}}));
        }
    }
    // Mirrored, the pie's arc runs from straight up to the left: its reflected end is its start.
    ASSERT_TRUE(TransformSelection(list, design.window, true, false, 0));
    const ItemRecord* mirroredPie = FindLiveRecord(list, ItemKind::Pie);
    ASSERT_EQ(mirroredPie->pointList.size(), 3u);
    // The quarter turn took the start (60, 50) to (50, 40) and the end to (40, 50); mirrored, the
    // upper left quarter becomes the upper right one again, from (60, 50) up to (50, 40).
    EXPECT_EQ(NodePoint(mirroredPie->pointList[0]), (Point{50, 50}));
    EXPECT_EQ(NodePoint(mirroredPie->pointList[1]), (Point{60, 50}));
    EXPECT_EQ(NodePoint(mirroredPie->pointList[2]), (Point{50, 40}));
    // A clip is mirrored as a picture: its box stays, its picture and turn are reflected.
    const ItemRecord* mirroredClip = FindLiveRecord(list, ItemKind::Clip);
    EXPECT_EQ(ends(mirroredClip), (Rect{0, 0, 20, 10}));
    EXPECT_EQ(mirroredClip->scaleX, -1.0);
    EXPECT_NEAR(mirroredClip->rotation, 2 * kPi - (kPi / 6.0 + kPi / 2.0), 1e-12);
}

TEST(AttributeCommands, SetTheirPropertyOnTheirKindsAndRecomputeWhatFollows) {
    struct Case {
        const char* name;
        std::function<bool(Design&)> command;
        int32_t kind; // the kind checked
        std::function<void(const ItemRecord&)> check;
    };
    const std::vector<Case> cases = {
        {"outline weight", [](Design& d) { return SetOutlineWeight(d.list, d.window, 2.0); },
         ItemKind::Rectangle,
         [](const ItemRecord& r) {
             EXPECT_EQ(r.lineWeight, 2.0);
             EXPECT_EQ(r.lineWeightBase, 2.0);
             EXPECT_EQ(r.penWidthPx, 8); // round(2 x 96 / 25.4) = round(7.56)
         }},
        {"clip frame", [](Design& d) { return SetClipFrameWeight(d.list, d.window, 0.5); }, ItemKind::Clip,
         [](const ItemRecord& r) {
             EXPECT_EQ(r.lineWeight, 0.5);
             EXPECT_EQ(r.hasFrame, 1);
         }},
        // A line of length 50 turned about its first point to straight up.
        {"direction", [](Design& d) { return SetLineDirection(d.list, d.window, 90.0); }, ItemKind::Line,
         [](const ItemRecord& r) {
             EXPECT_EQ(r.fixedAngle, 90.0);
             EXPECT_EQ((Rect{r.x1, r.y1, r.x2, r.y2}), (Rect{10, 10, 10, -40}));
             EXPECT_EQ((Rect{r.boundLeft, r.boundTop, r.boundRight, r.boundBottom}), (Rect{10, -40, 10, 10}));
         }},
        // The baseline (20, 100) ... (60, 100) turned about its midpoint to 90 degrees.
        {"text angle", [](Design& d) { return SetTextAngle(d.list, d.window, 90); }, ItemKind::Text,
         [](const ItemRecord& r) {
             EXPECT_EQ(r.textAngle, 90);
             EXPECT_EQ(r.escapement, 900);
             EXPECT_EQ((Rect{r.x1, r.y1, r.x2, r.y2}), (Rect{40, 120, 40, 80}));
         }},
        // "Text" is four characters of 7 pixels: a centred text keeps its midpoint (40, 100).
        {"font size",
         [](Design& d) {
             SetTextAlignment(d.list, d.window, 2);
             return SetFontSize(d.list, d.window, 30);
         },
         ItemKind::Text,
         [](const ItemRecord& r) {
             EXPECT_EQ(r.fontSize, 30);
             EXPECT_EQ((Rect{r.x1, r.y1, r.x2, r.y2}), (Rect{26, 100, 54, 100}));
         }},
        // The angle in tenths as the settings keep it (90.5 degrees): the baseline turns about its
        // midpoint (40, 100) to it, then takes the length of "Text" from its first point.
        {"text defaults",
         [](Design& d) {
             currentState_t state;
             state.tsize = 20;
             state.tcolor = 0xFF;
             state.tbold = 700;
             state.titalic = 1;
             state.tfont = "Times New Roman";
             state.tcharset = 238;
             state.tdir = 90;
             state.tangle = 905;
             return ApplyTextDefaults(d.list, d.window, state);
         },
         ItemKind::Text,
         [](const ItemRecord& r) {
             EXPECT_EQ(r.fontSize, 20);
             EXPECT_EQ(r.textColor, 0xFF);
             EXPECT_EQ(r.fontWeight, 700);
             EXPECT_EQ(r.italic, 1);
             EXPECT_EQ(GetFontName(r), "Times New Roman");
             EXPECT_EQ(r.charset, 238);
             EXPECT_EQ(r.textAngle, 90);
             EXPECT_EQ(r.escapement, 905);
             EXPECT_EQ((Rect{r.x1, r.y1, r.x2, r.y2}), (Rect{40, 120, 40, 120 - 4 * 7}));
         }},
        // A rectangle becomes the square on its first side, (50, 50) ... (90, 50), drawn upwards.
        {"square", [](Design& d) { return SetShapeKind(d.list, d.window, ItemKind::Square); },
         ItemKind::Square,
         [](const ItemRecord& r) {
             ASSERT_EQ(r.pointList.size(), 4u);
             EXPECT_EQ(NodePoint(r.pointList[2]), (Point{90, 10}));
             EXPECT_EQ(NodePoint(r.pointList[3]), (Point{50, 10}));
         }},
        // Eight tips about the centre (200, 200) from the first tip (230, 200).
        {"spikes", [](Design& d) { return SetVertexCount(d.list, d.window, 8); }, ItemKind::Star,
         [](const ItemRecord& r) {
             EXPECT_EQ(r.vertexCount, 8);
             ASSERT_EQ(r.pointList.size(), 2u + 16u);
             EXPECT_EQ(NodePoint(r.pointList[3]), (Point{221, 179})); // the second tip at 45 degrees
         }},
        {"closed curve", [](Design& d) { return SetShapeMode(d.list, d.window, ShapeMode::Closed); },
         ItemKind::Curve,
         [](const ItemRecord& r) {
             EXPECT_EQ(r.shapeMode, ShapeMode::Closed);
             std::vector<PointNode> expected = r.pointList;
             SmoothCurve(expected, ShapeMode::Closed, kDefaultTension);
             EXPECT_EQ(r.pointList, expected);
             EXPECT_NE(r.pointList[2].ctrl1X, 0); // the closing segment has handles now
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Design design;
        ItemList& list = design.list;
        Insert(list, ItemKind::Line, 10, 10, 40, 50);
        Insert(list, ItemKind::Rectangle, 50, 50, 90, 80);
        Insert(list, ItemKind::Text, 20, 100, 60, 100);
        Insert(list, ItemKind::Clip, 100, 100, 140, 130);
        Star(list);
        Curve(list);
        design.SelectAll();
        ASSERT_TRUE(c.command(design));
        const ItemRecord* changed = FindLiveRecord(list, c.kind);
        ASSERT_NE(changed, nullptr);
        EXPECT_EQ(changed->selected, 255);
        c.check(*changed);
        EXPECT_FALSE(design.window.areas.empty());
    }
}

TEST(AttributeCommands, WithNoSelectedItemOfTheirKindsChangeNothing) {
    Design design;
    ItemList& list = design.list;
    test::Select(list, {Insert(list, ItemKind::Line, 10, 10, 40, 50)});
    const int32_t step = NextUndoStep(list);
    EXPECT_FALSE(SetTextColor(list, design.window, 0xFF));
    EXPECT_FALSE(SetClipColours(list, design.window, 1, 2, 3));
    EXPECT_FALSE(SetVertexCount(list, design.window, 2)); // no drawable star or polygon
    EXPECT_EQ(NextUndoStep(list), step);
    EXPECT_EQ(design.window.edits, 0);
    EXPECT_TRUE(design.window.areas.empty());
}

TEST(Paste, PlacesTheCopiedItemsTenPixelsOffSelectedShowsTheirPanelAndLetsThemFollowThePointer) {
    Design source, target;
    ItemList copyList;
    test::Select(source.list, {Insert(source.list, ItemKind::Line, 10, 10, 40, 30)});
    EXPECT_EQ(Paste(copyList, target.list, target.window), 0); // nothing copied yet
    EXPECT_EQ(target.window.placements, 0);
    CopySelection(source.list, copyList, source.window);
    EXPECT_EQ(source.window.controlRefreshes, 1); // Paste is offered now

    Insert(target.list, ItemKind::Rectangle, 0, 0, 5, 5);
    ASSERT_EQ(Paste(copyList, target.list, target.window), 1);
    const std::vector<ItemRecord*> pasted = test::SelectedItems(target.list);
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ((Rect{pasted[0]->x1, pasted[0]->y1, pasted[0]->x2, pasted[0]->y2}), (Rect{20, 20, 50, 40}));
    EXPECT_EQ(pasted[0]->zOrder, 2);
    EXPECT_EQ(target.window.panels, std::vector<int>{99});
    EXPECT_EQ(target.window.placements, 1);
    EXPECT_GE(target.window.toolResets, 1);
}

TEST(Tagging, RecallsTheSelectionInItsLatestVersionsWithTheGroupMarker) {
    Design design;
    ItemList& list = design.list;
    ItemRecord* line = Member(Insert(list, ItemKind::Line, 0, 0, 20, 20));
    ItemRecord* other = Insert(list, ItemKind::Line, 50, 50, 60, 60);
    ItemRecord* marker = GroupMarkerAt(list, {10, 10});
    test::Select(list, {line, marker});
    std::mt19937 random(7);
    const int32_t tag = TagSelection(list, random);
    EXPECT_NE(UnusedTag(list, random), tag);
    SetOutlineColor(list, design.window, 0xFF); // new versions, which carry the tag along
    test::Select(list, {other});

    ASSERT_TRUE(SelectTagged(list, design.window, tag));
    const std::vector<ItemRecord*> selected = test::SelectedItems(list);
    ASSERT_EQ(selected.size(), 2u);
    EXPECT_EQ(selected[0]->kind, ItemKind::Line);
    EXPECT_EQ(selected[0]->color, 0xFF); // the edited version, not the hidden original
    EXPECT_TRUE(IsMarker(selected[1]));
    EXPECT_EQ(design.window.selectionChanges, 1);
    EXPECT_FALSE(SelectTagged(list, tag + 1));
    EXPECT_EQ(FirstSelected(list), nullptr);
}

TEST(LinePatternFor, FindsTheDesignsIdenticalPatternOrAddsOneBelowTheSmallestId) {
    ItemList list = test::NewDesign();
    const std::vector<double> dashDot = {2.0, 1.0, 0.5, 1.0};
    EXPECT_EQ(LinePatternFor(list, dashDot), -1);
    EXPECT_EQ(LinePatternFor(list, std::vector<double>{2.0, 1.0, 0.50001, 1.0}), -1); // within 0.0001 mm
    EXPECT_EQ(LinePatternFor(list, std::vector<double>{3.0, 1.0}), -2);
    const ItemRecord* definition = FindRecord(list, -2);
    ASSERT_NE(definition, nullptr);
    EXPECT_EQ(definition->recordClass, RecordClass::LinePattern);
    EXPECT_EQ(definition->segmentCount, 2);
    EXPECT_EQ(definition->segmentLengths[0], 3.0);
    EXPECT_EQ(definition->segmentLengths[2], 0.0);
}

TEST(FitTextBaseline, KeepsTheEndOfItsAlignment) {
    struct Case {
        int32_t alignment;
        Rect expected;
    };
    for (const Case& c :
         {Case{1, {100, 50, 160, 50}}, Case{2, {90, 50, 150, 50}}, Case{3, {80, 50, 140, 50}}}) {
        ItemList list = test::NewDesign();
        ItemRecord* text = Insert(list, ItemKind::Text, 100, 50, 140, 50);
        text->alignment = static_cast<uint8_t>(c.alignment);
        FitTextBaseline(text, 60, list.screen);
        EXPECT_EQ((Rect{text->x1, text->y1, text->x2, text->y2}), c.expected) << c.alignment;
        EXPECT_EQ(text->boundRight, c.expected.right);
    }
    // Upwards (escapement 90 degrees) a left-aligned text grows towards the top.
    ItemList list = test::NewDesign();
    ItemRecord* text = Insert(list, ItemKind::Text, 100, 50, 100, 40);
    text->escapement = 900;
    FitTextBaseline(text, 30, list.screen);
    EXPECT_EQ((Point{text->x2, text->y2}), (Point{100, 20}));
}

TEST(UndoCommand, ReturnsToSelectModeWithoutSelectionOrAStaleAnchorHighlight) {
    Design design;
    ItemList& list = design.list;
    ItemRecord* line = Insert(list, ItemKind::Line, 10, 10, 40, 30);
    ItemRecord* grid = EditGridlines(list);
    grid->gridX = {{.position = 40, .highlighted = 255}};
    test::Select(list, {line});
    UndoCommand(list, design.window); // the gridline edit
    EXPECT_EQ(FirstSelected(list), nullptr);
    EXPECT_EQ(design.window.toolResets, 1);
    EXPECT_EQ(design.window.fullRepaints, std::vector<bool>{true});
    RedoCommand(list, design.window);
    ItemRecord* revived = LiveGridlines(list);
    ASSERT_EQ(revived, grid);
    EXPECT_EQ(revived->gridX[0].highlighted, 0);
    EXPECT_EQ(design.window.undoRefreshes, 2);
}

TEST(ApplyPictureQuality, ADifferentSettingRebuildsEveryClipAndRepaints) {
    Design design;
    ItemList& list = design.list;
    ItemRecord* clip = Insert(list, ItemKind::Clip, 0, 0, 10, 10);
    CreateRecord(clip->childList, ItemKind::UnadjustedBitmap);
    int32_t designQuality = 2;
    EXPECT_FALSE(ApplyPictureQuality(list, design.window, designQuality, 2));
    EXPECT_FALSE(clip->childList.empty());
    EXPECT_TRUE(ApplyPictureQuality(list, design.window, designQuality, 7)); // held to 3
    EXPECT_EQ(designQuality, 3);
    EXPECT_TRUE(clip->childList.empty());
    EXPECT_EQ(design.window.fullRepaints, std::vector<bool>{true});
}

} // namespace
} // namespace vlr
