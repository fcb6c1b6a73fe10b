// A stand-in for the main window under the line and shape panels: the settings, one design with
// its command window, and a record of what the panels asked of the main window.
#pragma once

#include "../canvas/fakecommandwindow.h"
#include "../model/editing.h"
#include "panels/sidepanel.h"

#include <QApplication>
#include <QComboBox>
#include <QEnterEvent>

#include <utility>
#include <vector>

namespace vlr::test {

class FakePanelHost : public PanelHost {
public:
    FakePanelHost() { SetFactorySettings(settings); }

    TParams& params() override { return settings; }
    ItemList* DesignItems() override { return designOpen ? &list : nullptr; }
    CommandWindow* DesignCommands() override { return designOpen ? &window : nullptr; }
    void RecordChange() override { ++recordedChanges; }
    void SwitchPanelLater(int code) override { switches.push_back(code); }
    void OpenStylePage(int page) override { pages.push_back(page); }
    std::optional<int32_t> PickColour() override { return pickedColour; }
    const ItemRecord* ContinuedItem() override { return continued; }
    void OpenClipPage(int page) override { clipPages.push_back(page); }
    void LightCommand(ToolbarButton button, int suggestionRow) override {
        lit.emplace_back(button, suggestionRow);
    }
    void PlainCommands() override { ++plainCommands; }

    TParams settings;
    ItemList list = NewDesign();
    FakeCommandWindow window{list};
    bool designOpen = true;
    int recordedChanges = 0;
    std::vector<int> switches, pages, clipPages;
    std::optional<int32_t> pickedColour;
    const ItemRecord* continued = nullptr;
    // The toolbar commands and what-next rows lit, and how often both went plain.
    std::vector<std::pair<ToolbarButton, int>> lit;
    int plainCommands = 0;
};

// The pointer comes onto a widget, or leaves it.
inline void PointerEnters(QWidget* widget) {
    const QPointF inside(1, 1);
    QEnterEvent enter(inside, inside, widget->mapToGlobal(inside));
    QApplication::sendEvent(widget, &enter);
}
inline void PointerLeaves(QWidget* widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

// What the list's pop-up does when the user clicks an entry.
inline void Choose(QComboBox* list, int position) {
    list->setCurrentIndex(position);
    Q_EMIT list->activated(position);
}

// A panel's list by its label.
inline TStyleCombo* ListNamed(QWidget& panel, const QString& label) {
    for (auto* list : panel.findChildren<TStyleCombo*>()) {
        if (list->accessibleName() == label) {
            return list;
        }
    }
    return nullptr;
}

// Every selected item's current version (the commands replace the selection with new versions).
inline std::vector<ItemRecord*> Selection(const ItemList& list) {
    return SelectedItems(list);
}

} // namespace vlr::test
