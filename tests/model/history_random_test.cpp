// Long random sequences of edits, undos and redos, checked after every step against a simple
// model of what the live design must be: a vector of items in stacking order with their
// properties, and stacks of whole snapshots for undo and redo. The model knows nothing of
// versions, serials or history fields.
#include "model/history.h"

#include "editing.h"
#include "model/designfile.h"
#include "rawdesign.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <tuple>

namespace vlr {
namespace {

// An item or group marker as the user sees it. The tag identifies it across its versions (it
// is kept in reserved8, which every copy carries along).
struct Entity {
    int32_t tag = 0;
    int32_t kind = 0;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int32_t color = 0;
    int32_t group = 0;   // the model's own group number; 0 = not joined
    int64_t listPos = 0; // creation order of the current version
};

// Everything a file keeps of a live item or marker, with the stored numbers as they are.
using StoredItem = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t,
                              std::u16string, std::vector<std::pair<int32_t, int32_t>>>;

struct Snapshot {
    std::vector<Entity> items; // bottom first
    std::vector<Entity> markers;
    // The live records as they were seen in this state, once it has been checked: Undo and Redo
    // must give back exactly these, stacking numbers and group ids included.
    std::vector<StoredItem> seen;
};

// What is compared: every live item and marker in list order (kind, points, colour, group as the
// index of its first appearance), and the tags of the items from bottom to top.
struct View {
    std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t>> entities;
    std::vector<int32_t> stacking;
    friend bool operator==(const View&, const View&) = default;
};

void PrintTo(const View& view, std::ostream* out) {
    for (const auto& [tag, kind, x1, y1, x2, y2, color, group] : view.entities) {
        *out << "\n  tag " << tag << " kind " << kind << " (" << x1 << "," << y1 << ")-(" << x2 << "," << y2
             << ") colour " << color << " group " << group;
    }
    *out << "\n  stacking:";
    for (int32_t tag : view.stacking) {
        *out << ' ' << tag;
    }
}

// Group numbers compared by first appearance in list order, so that the numbers themselves (which
// depend on the history kept in the list) do not matter, only which items share a group.
class GroupNames {
public:
    int32_t operator()(int32_t group) {
        if (group <= 0) {
            return 0;
        }
        auto [it, added] = names_.emplace(group, static_cast<int32_t>(names_.size()) + 1);
        return it->second;
    }

private:
    std::map<int32_t, int32_t> names_;
};

bool IsShown(const ItemRecord* record) {
    return IsLiveItem(record) && (IsDesignItemKind(record->kind) || record->kind == ItemKind::GroupMarker);
}

View ViewOfList(const ItemList& list) {
    View view;
    GroupNames groups;
    std::vector<std::pair<int32_t, int32_t>> stacked;
    for (ItemRecord* record : list) {
        if (!IsShown(record)) {
            continue;
        }
        bool marker = record->kind == ItemKind::GroupMarker;
        view.entities.emplace_back(record->reserved8, record->kind, record->x1, record->y1, record->x2,
                                   record->y2, marker ? 0 : int32_t(record->color), groups(record->groupId));
        if (!marker) {
            stacked.emplace_back(record->zOrder, record->reserved8);
        }
    }
    std::sort(stacked.begin(), stacked.end());
    for (size_t i = 0; i < stacked.size(); ++i) {
        EXPECT_TRUE(i == 0 || stacked[i].first != stacked[i - 1].first)
            << "two items share a stacking number";
        view.stacking.push_back(stacked[i].second);
    }
    return view;
}

View ViewOfModel(const Snapshot& snapshot) {
    std::vector<Entity> all = snapshot.items;
    all.insert(all.end(), snapshot.markers.begin(), snapshot.markers.end());
    std::sort(all.begin(), all.end(), [](const Entity& a, const Entity& b) { return a.listPos < b.listPos; });
    View view;
    GroupNames groups;
    for (const Entity& entity : all) {
        bool marker = entity.kind == ItemKind::GroupMarker;
        view.entities.emplace_back(entity.tag, entity.kind, entity.x1, entity.y1, entity.x2, entity.y2,
                                   marker ? 0 : entity.color, groups(entity.group));
    }
    for (const Entity& item : snapshot.items) {
        view.stacking.push_back(item.tag);
    }
    return view;
}

std::vector<StoredItem> StoredView(const ItemList& list) {
    std::vector<StoredItem> items;
    for (ItemRecord* record : list) {
        if (!IsShown(record)) {
            continue;
        }
        std::vector<std::pair<int32_t, int32_t>> points;
        for (const PointNode& node : record->pointList) {
            points.emplace_back(node.x, node.y);
        }
        items.emplace_back(record->reserved8, record->kind, record->x1, record->y1, record->x2, record->y2,
                           record->color, record->groupId, record->zOrder, GetText(record), points);
    }
    return items;
}

// Invariants of the list itself: unique serials, pictures for every live clip, rectangles whose
// corners follow their points.
void CheckList(const ItemList& list) {
    std::set<int32_t> serials;
    for (ItemRecord* record : list) {
        if (record->recordClass != RecordClass::Item) {
            continue;
        }
        EXPECT_TRUE(serials.insert(record->serial).second) << "serial " << record->serial << " twice";
        if (!IsShown(record)) {
            continue;
        }
        if (record->kind == ItemKind::Clip) {
            EXPECT_NE(FindPictureData(list, record->pictureId), nullptr) << "clip " << record->reserved8;
        }
        if (record->kind == ItemKind::Rectangle) {
            ASSERT_EQ(record->pointList.size(), 4u);
            EXPECT_EQ(record->pointList[2].x, record->x2);
            EXPECT_EQ(record->pointList[2].y, record->y2);
        }
    }
}

class RandomEditing {
public:
    explicit RandomEditing(uint32_t seed) : random_(seed) { Open(); }

    void Run(int steps) {
        for (int step = 0; step < steps; ++step) {
            std::string what = Step();
            SCOPED_TRACE("step " + std::to_string(step) + ": " + what);
            Check();
            if (::testing::Test::HasFailure()) {
                return;
            }
        }
        // Undoing everything gives back the design as it was before the history began; redoing
        // everything gives the design as it was after the last step that is still redoable.
        Snapshot start = undo_.empty() ? model_ : undo_.front();
        Snapshot finished = redo_.empty() ? model_ : redo_.front();
        size_t undone = 0;
        while (CanUndo(list_)) {
            Undo(list_);
            ++undone;
        }
        EXPECT_EQ(undone, undo_.size());
        EXPECT_EQ(ViewOfList(list_), ViewOfModel(start));
        size_t redone = 0;
        while (CanRedo(list_)) {
            Redo(list_);
            ++redone;
        }
        EXPECT_EQ(redone, undo_.size() + redo_.size());
        EXPECT_EQ(ViewOfList(list_), ViewOfModel(finished));
    }

private:
    // The starting design, read from a file: outside the history.
    void Open() {
        ItemList source = test::NewDesign();
        for (int i = 0; i < 6; ++i) {
            NewItemIn(source, model_);
        }
        // Items 1 and 2 joined in the file, with their marker.
        ItemRecord* first = source.first->next;
        while (first->reserved8 != 1) {
            first = first->next;
        }
        ItemRecord* second = first->next;
        while (second->reserved8 != 2) {
            second = second->next;
        }
        first->groupId = 3;
        second->groupId = 3;
        ItemRecord* marker = CreateRecord(source, ItemKind::GroupMarker);
        marker->groupId = 3;
        marker->x1 = marker->x2 = 50;
        marker->y1 = marker->y2 = 60;
        marker->reserved8 = ++lastTag_;
        SetWorldFromPixels(marker, source.screen);
        model_.items[0].group = model_.items[1].group = ++lastGroup_;
        model_.markers.push_back({.tag = lastTag_,
                                  .kind = ItemKind::GroupMarker,
                                  .x1 = 50,
                                  .y1 = 60,
                                  .x2 = 50,
                                  .y2 = 60,
                                  .group = lastGroup_,
                                  .listPos = ++lastListPos_});
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(WriteDesignToMemory(source, bytes));
        test::ScriptedPrompt prompt;
        ASSERT_TRUE(ReadDesignFromMemory(bytes, list_, prompt).ok());
        Check();
    }

    int32_t Random(int32_t low, int32_t high) {
        return low + static_cast<int32_t>(random_() % static_cast<uint32_t>(high - low + 1));
    }

    // A new item in list and model alike; clips come with a picture of their own.
    void NewItemIn(ItemList& list, Snapshot& model) {
        static constexpr int32_t kKinds[] = {ItemKind::Line, ItemKind::Rectangle, ItemKind::Text,
                                             ItemKind::Clip};
        int32_t kind = kKinds[Random(0, 3)];
        int32_t x1 = Random(0, 500), y1 = Random(0, 500);
        int32_t x2 = x1 + Random(1, 200), y2 = y1 + Random(1, 200);
        int32_t pictureId = 0;
        if (kind == ItemKind::Clip) {
            ItemRecord* picture = CreateRecord(list, ItemKind::PictureData);
            picture->recordClass = RecordClass::PictureData;
            picture->historyState = 0;
            picture->pictureId = pictureId = ++lastPicture_;
            picture->pictureStream.assign(16, static_cast<uint8_t>(pictureId));
        }
        ItemRecord* item = test::Insert(list, kind, x1, y1, x2, y2);
        item->reserved8 = ++lastTag_;
        item->color = Random(0, 0xFFFFFF);
        item->pictureId = pictureId;
        model.items.push_back({.tag = lastTag_,
                               .kind = kind,
                               .x1 = x1,
                               .y1 = y1,
                               .x2 = x2,
                               .y2 = y2,
                               .color = item->color,
                               .listPos = ++lastListPos_});
    }

    // Chooses up to three items and selects them with their whole groups, markers included, as a
    // click on a group member does.
    std::set<int32_t> ChooseSelection() {
        std::set<int32_t> groups;
        std::set<int32_t> tags;
        int count = Random(1, 3);
        for (int i = 0; i < count; ++i) {
            const Entity& item =
                model_.items[static_cast<size_t>(Random(0, int32_t(model_.items.size()) - 1))];
            tags.insert(item.tag);
            if (item.group > 0) {
                groups.insert(item.group);
            }
        }
        for (const auto* entities : {&model_.items, &model_.markers}) {
            for (const Entity& entity : *entities) {
                if (entity.group > 0 && groups.count(entity.group) != 0) {
                    tags.insert(entity.tag);
                }
            }
        }
        SelectOnly(list_, nullptr);
        for (ItemRecord* record : list_) {
            if (IsShown(record) && tags.count(record->reserved8) != 0) {
                record->selected = 255;
            }
        }
        return tags;
    }

    // The selected entities get new versions, appended in their list order.
    void Renew(const std::set<int32_t>& tags) {
        std::vector<Entity*> renewed;
        for (auto* entities : {&model_.items, &model_.markers}) {
            for (Entity& entity : *entities) {
                if (tags.count(entity.tag) != 0) {
                    renewed.push_back(&entity);
                }
            }
        }
        std::sort(renewed.begin(), renewed.end(),
                  [](Entity* a, Entity* b) { return a->listPos < b->listPos; });
        for (Entity* entity : renewed) {
            entity->listPos = ++lastListPos_;
        }
    }

    void Record() {
        undo_.push_back(model_);
        redo_.clear();
        model_.seen.clear();
    }

    std::string Step() {
        int choice = Random(0, 13);
        if (model_.items.empty() && choice < 9) {
            choice = 0;
        }
        switch (choice) {
        case 0:
        case 1:
            Record();
            NewItemIn(list_, model_);
            return "new item";
        case 2:
        case 3: {
            auto tags = ChooseSelection();
            int32_t dx = Random(-30, 30), dy = Random(-30, 30);
            Record();
            test::MoveSelection(list_, dx, dy);
            Renew(tags);
            for (auto* entities : {&model_.items, &model_.markers}) {
                for (Entity& entity : *entities) {
                    if (tags.count(entity.tag) != 0) {
                        entity.x1 += dx;
                        entity.x2 += dx;
                        entity.y1 += dy;
                        entity.y2 += dy;
                    }
                }
            }
            return "move";
        }
        case 4: {
            auto tags = ChooseSelection();
            int32_t color = Random(0, 0xFFFFFF);
            Record();
            MakeNewVersions(list_);
            for (ItemRecord* record : test::SelectedItems(list_)) {
                if (IsDesignItemKind(record->kind)) {
                    record->color = color;
                }
            }
            Renew(tags);
            for (Entity& item : model_.items) {
                if (tags.count(item.tag) != 0) {
                    item.color = color;
                }
            }
            return "recolour";
        }
        case 5: {
            auto tags = ChooseSelection();
            Record();
            DeleteSelection(list_);
            std::erase_if(model_.items, [&](const Entity& item) { return tags.count(item.tag) != 0; });
            std::erase_if(model_.markers, [&](const Entity& marker) {
                return tags.count(marker.tag) != 0 &&
                       std::none_of(model_.items.begin(), model_.items.end(),
                                    [&](const Entity& item) { return item.group == marker.group; });
            });
            return "delete";
        }
        case 6: {
            auto tags = ChooseSelection();
            Record();
            JoinSelection(list_);
            ItemRecord* marker = list_.last;
            EXPECT_EQ(marker->kind, ItemKind::GroupMarker);
            marker->reserved8 = ++lastTag_;
            Renew(tags);
            int64_t sumX = 0, sumY = 0, count = 0;
            int32_t group = ++lastGroup_;
            for (Entity& item : model_.items) {
                if (tags.count(item.tag) != 0) {
                    item.group = group;
                    sumX += int64_t(item.x1) + item.x2;
                    sumY += int64_t(item.y1) + item.y2;
                    count += 2;
                }
            }
            std::erase_if(model_.markers, [&](const Entity& old) { return tags.count(old.tag) != 0; });
            int32_t cx = static_cast<int32_t>(std::nearbyint(double(sumX) / double(count)));
            int32_t cy = static_cast<int32_t>(std::nearbyint(double(sumY) / double(count)));
            model_.markers.push_back({.tag = lastTag_,
                                      .kind = ItemKind::GroupMarker,
                                      .x1 = cx,
                                      .y1 = cy,
                                      .x2 = cx,
                                      .y2 = cy,
                                      .group = group,
                                      .listPos = ++lastListPos_});
            return "join";
        }
        case 7: {
            auto tags = ChooseSelection();
            Record();
            SplitSelection(list_);
            Renew(tags);
            for (Entity& item : model_.items) {
                if (tags.count(item.tag) != 0) {
                    item.group = 0;
                }
            }
            std::erase_if(model_.markers, [&](const Entity& marker) { return tags.count(marker.tag) != 0; });
            return "split";
        }
        case 8: {
            auto tags = ChooseSelection();
            bool toFront = Random(0, 1) == 1;
            Record();
            toFront ? BringSelectionToFront(list_) : SendSelectionToBack(list_);
            // One after the other in list order: each to the top, or each to the bottom.
            std::vector<Entity> moved;
            for (const Entity& item : model_.items) {
                if (tags.count(item.tag) != 0) {
                    moved.push_back(item);
                }
            }
            std::sort(moved.begin(), moved.end(),
                      [](const Entity& a, const Entity& b) { return a.listPos < b.listPos; });
            std::erase_if(model_.items, [&](const Entity& item) { return tags.count(item.tag) != 0; });
            for (Entity& item : moved) {
                item.listPos = ++lastListPos_;
                if (toFront) {
                    model_.items.push_back(item);
                } else {
                    model_.items.insert(model_.items.begin(), item);
                }
            }
            return toFront ? "bring to front" : "send to back";
        }
        case 9:
        case 10:
        case 11:
            SelectOnly(list_, nullptr);
            Undo(list_);
            Switch(undo_, redo_);
            return "undo";
        case 12:
            return RedoStep();
        default:
            if (Random(0, 3) == 0) {
                ClearHistory(list_);
                undo_.clear();
                redo_.clear();
                model_.seen.clear(); // group ids are renumbered
                return "clear history";
            }
            return RedoStep();
        }
    }

    std::string RedoStep() {
        SelectOnly(list_, nullptr);
        Redo(list_);
        Switch(redo_, undo_);
        return "redo";
    }

    // The model's undo or redo: the state on top of one stack becomes current, the current one
    // goes onto the other.
    void Switch(std::vector<Snapshot>& from, std::vector<Snapshot>& to) {
        if (!from.empty()) {
            to.push_back(model_);
            model_ = from.back();
            from.pop_back();
        }
    }

    void Check() {
        EXPECT_EQ(ViewOfList(list_), ViewOfModel(model_));
        if (!model_.seen.empty()) {
            EXPECT_EQ(StoredView(list_), model_.seen);
        }
        model_.seen = StoredView(list_);
        EXPECT_EQ(CanUndo(list_), !undo_.empty());
        EXPECT_EQ(CanRedo(list_), !redo_.empty());
        CheckList(list_);

        // The file written now reads back to the same live items.
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(WriteDesignToMemory(list_, bytes));
        ItemList readBack;
        test::ScriptedPrompt prompt;
        ASSERT_TRUE(ReadDesignFromMemory(bytes, readBack, prompt).ok());
        EXPECT_EQ(StoredView(readBack), StoredView(list_));
        CheckList(readBack);
    }

    std::mt19937 random_;
    ItemList list_;
    Snapshot model_;
    std::vector<Snapshot> undo_;
    std::vector<Snapshot> redo_;
    int32_t lastTag_ = 0;
    int32_t lastGroup_ = 0;
    int32_t lastPicture_ = 100;
    int64_t lastListPos_ = 0;
};

TEST(RandomEditing, LiveDesignFollowsTheModelThroughEditsUndosAndRedos) {
    for (uint32_t seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomEditing editing(seed);
        editing.Run(300);
        if (HasFailure()) {
            return;
        }
    }
}

} // namespace
} // namespace vlr
