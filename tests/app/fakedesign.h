// A stand-in document window: a design in a plain widget, recording what the main window asks.
#pragma once

#include "canvas/designview.h"
#include "canvas/fakecommandwindow.h"
#include "model/designfile.h"
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
    bool HasCopyArea() const override { return copyArea; }
    void IgnoreKeysUntilActivated() override { keysIgnored = true; }
    bool AcceptsKeys() const override { return !keysIgnored; }
    void DesignEdited() override { ++edits; }
    void StartPlacement() override { ++placements; }
    CommandWindow& commands() override { return commands_; }
    // What the commands asked of the window.
    FakeCommandWindow& commandWindow() { return commands_; }
    // Like the real window: a file that cannot be read leaves an untitled design, and only a
    // file whose reading the user declined gives false.
    bool OpenDesign(int32_t docNumber, const QString& path) override {
        number_ = docNumber;
        fileName_ = path;
        FixedAnswerPrompt no(PromptAnswer::No);
        const ReadStatus status = path.isEmpty()
                                      ? ReadStatus::NoFile
                                      : ReadDesign(path.toStdString(), list_, prompt ? *prompt : no).status;
        if (status != ReadStatus::Ok) {
            FreeList(list_);
            ItemRecord* header = CreateRecord(list_, ItemKind::Header);
            header->recordClass = RecordClass::Header;
            fileName_.clear();
            untitled_ = ++untitledCount;
        }
        FindRecord(list_, ItemKind::Header)->docNumber = docNumber;
        ++opened;
        SetCaption();
        return status != ReadStatus::Declined;
    }
    QString fileName() const override { return fileName_; }
    void SetFileName(const QString& path) override { fileName_ = path; }
    int untitledNumber() const override { return untitled_; }
    void SetCaption() override {
        title_ = fileName_.isEmpty() ? "Untitled " + QString::number(untitled_)
                                     : fileName_.section('/', -1).section('.', 0, 0);
        setWindowTitle(title_);
    }

    void SetGridShown(int type) override { SetFlags(type, Header()->showGridX, Header()->showGridY); }
    void SetAnchorsShown(int type) override { SetFlags(type, Header()->anchorsX, Header()->anchorsY); }
    void SetSnap(int type) override { SetFlags(type, Header()->snapX, Header()->snapY); }
    void EqualizeGrid(int axes) override { equalised.push_back(axes); }
    void GridOptionsChanged() override { ++gridOptionChanges; }
    DisplaySwitches displaySwitches() const override { return switches; }
    void SetDisplaySwitches(const DisplaySwitches& value) override { switches = value; }

    ItemRecord* AddLine(bool selected) {
        ItemRecord* line = CreateRecord(list_, ItemKind::Line);
        line->zOrder = NextZOrder(list_);
        line->selected = selected ? 255 : 0;
        return line;
    }

    // Answers the reader's questions about a file; without one they are answered No.
    Prompt* prompt = nullptr;
    std::vector<int> keys;
    QString characters;
    std::vector<int> panels;
    int insertionRefreshes = 0;
    double zoom = 1.0;
    bool consumeKeys = false;
    bool copyArea = false;
    bool keysIgnored = false;
    int opened = 0;
    int edits = 0;
    int placements = 0;
    std::vector<int> equalised;
    int gridOptionChanges = 0;
    DisplaySwitches switches;
    static inline int untitledCount = 0;

private:
    ItemRecord* Header() { return FindRecord(list_, ItemKind::Header); }
    // The two header flags of a grid type: 1 the first, 2 the second, 3 both.
    static void SetFlags(int type, ByteField& x, ByteField& y) {
        x = (type & 1) ? 1 : 0;
        y = (type & 2) ? 1 : 0;
    }

    ItemList list_;
    FakeCommandWindow commands_{list_};
    int32_t number_;
    QString title_;
    QString fileName_;
    int untitled_ = 0;
};

} // namespace vlr::test
