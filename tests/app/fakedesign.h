// A stand-in document window: a design in a plain widget, recording what the main window asks.
#pragma once

#include "canvas/designview.h"
#include "model/itemlist.h"

#include <QKeyEvent>
#include <QWidget>

#include <vector>

namespace vlr::test {

class FakeDesign : public QWidget, public DesignView {
public:
    explicit FakeDesign(int32_t number, QString title = "Card") : number_(number), title_(std::move(title)) {
        ItemRecord* header = CreateRecord(list_, ItemKind::Header);
        header->recordClass = RecordClass::Header;
        header->docNumber = number;
    }
    QWidget* widget() override { return this; }
    int32_t docNumber() const override { return number_; }
    QString caption() const override { return title_; }
    ItemList& items() override { return list_; }
    bool KeyDown(QKeyEvent& event) override {
        keys.push_back(event.key());
        return consumeKeys;
    }
    bool KeyPress(QKeyEvent& event) override {
        characters += event.text();
        return consumeKeys;
    }
    void SelectPanel(int code) override { panels.push_back(code); }
    void RefreshInsertionState() override { ++insertionRefreshes; }
    void SetZoom(double value) override { zoom = value; }
    void ApplyLightDirection(int direction) override {
        FindRecord(list_, ItemKind::Header)->lightDirection = static_cast<uint8_t>(direction);
    }
    bool HasCopyArea() const override { return false; }
    void IgnoreKeysUntilActivated() override { keysIgnored = true; }

    ItemRecord* AddLine(bool selected) {
        ItemRecord* line = CreateRecord(list_, ItemKind::Line);
        line->zOrder = NextZOrder(list_);
        line->selected = selected ? 255 : 0;
        return line;
    }

    std::vector<int> keys;
    QString characters;
    std::vector<int> panels;
    int insertionRefreshes = 0;
    double zoom = 1.0;
    bool consumeKeys = false;
    bool keysIgnored = false;

private:
    ItemList list_;
    int32_t number_;
    QString title_;
};

} // namespace vlr::test
