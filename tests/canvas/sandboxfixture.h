// What the document window's tests share: a host that records what the window asks of the main
// window, a prompt with a fixed answer, and a design file of a plain page in pixels.
#pragma once

#include "canvas/designview.h"
#include "canvas/sandbox.h"
#include "canvas/sandboxhost.h"
#include "model/designfile.h"
#include "model/itemlist.h"
#include "model/prompt.h"

#include <gtest/gtest.h>

#include <QString>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace vlr::test {

class RecordingHost : public SandboxHost {
public:
    void SetGlobalZoom(double value) override { zoom = value; }
    void RefreshUndoCommands(const ItemList&) override { ++undoRefreshes; }
    void RefreshDesignControls() override {}
    void SetGridSnapButtons(bool grid, bool snap) override {
        gridOn = grid;
        snapOn = snap;
    }
    void WindowCaptionChanged(DesignView* window) override { caption = window->caption(); }
    void WindowActivated(DesignView*) override {}
    void ShowPanel(int code) override { panels.push_back(code); }
    void PointerMoved(const ItemList&, std::optional<Point>, bool, std::optional<Rect> measured) override {
        band = measured;
    }
    void PanelStep(int step) override { steps.push_back(step); }
    bool ShapePanelShowing() const override { return shapePanel; }
    void DeferCommand(int code) override { deferred.push_back(code); }
    int RememberedToolMode() const override { return remembered; }
    void RememberToolMode(int mode) override { remembered = mode; }
    int NextUntitledNumber() override { return ++untitled; }
    void InsertPictureFile(const QString& path) override { picture = path; }
    void EditClipPicture(DesignView*, ItemRecord* clip) override { editedClip = clip; }
    void TextEditingStarted(DesignView*, ItemRecord*) override { ++textEditings; }
    void TextEditingEnded(DesignView*) override { --textEditings; }
    void ShowStatusMessage(const QString& text) override { statusMessages.push_back(text); }

    double zoom = 0.0;
    bool shapePanel = true;
    int undoRefreshes = 0;
    bool gridOn = false, snapOn = false;
    QString caption, picture;
    ItemRecord* editedClip = nullptr;
    std::optional<Rect> band; // the rubber band the status bar was last given
    std::vector<int> panels, deferred, steps;
    int textEditings = 0; // started less ended
    std::vector<QString> statusMessages;
    int remembered = 0;
    int untitled = 0;
};

class AnsweringPrompt : public Prompt {
public:
    PromptAnswer Ask(PromptIcon, std::string_view text, PromptButtons buttons) override {
        asked.emplace_back(text);
        return buttons == PromptButtons::YesNo ? answer : PromptAnswer::Ok;
    }
    PromptAnswer answer = PromptAnswer::No;
    std::vector<std::string> asked;
};

// A page in pixels of the given size at zoom 1, with or without a grid, of the design type and
// with margins of the given width on every side.
inline void WritePixelDesign(const QString& path, int width, int height, bool grid, int32_t designType = 9,
                             double margins = 0.0) {
    ItemList list;
    ItemRecord* header = CreateRecord(list, ItemKind::Header);
    header->recordClass = RecordClass::Header;
    header->zoom = 1.0;
    header->units = 1;
    header->pxPerUnitX = header->pxPerUnitY = 1.0;
    header->canvasLeft = 20.0;
    header->canvasTop = 30.0;
    header->canvasWidth = width;
    header->canvasHeight = height;
    header->designType = designType;
    header->paperWidth = width;
    header->paperHeight = height;
    header->leftMargin = header->topMargin = header->rightMargin = header->bottomMargin = margins;
    header->showGridX = grid;
    header->showGridY = grid;
    header->anchorsX = header->anchorsY = grid;
    ItemRecord* gridlines = CreateRecord(list, ItemKind::Gridlines);
    gridlines->gridX = {{.position = 20 + 100}, {.position = 20 + 200}};
    gridlines->gridY = {{.position = 30 + 50}};
    ASSERT_TRUE(WriteDesign(path.toStdString(), list));
}

// A document window showing a 600 x 400 pixel page written to path (gridlines shown when asked),
// its first repaint finished.
inline void OpenPixelPage(std::unique_ptr<TSandbox>& window, TParams& params, RecordingHost& host, Prompt& prompt,
                          const QString& path, bool grid) {
    WritePixelDesign(path, 600, 400, grid);
    window = std::make_unique<TSandbox>(params, host, prompt);
    window->resize(720, 520);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(window->OpenDesign(7, path));
    ASSERT_TRUE(QTest::qWaitFor([&window] { return !window->repaintPending(); }, 5000));
}

} // namespace vlr::test
