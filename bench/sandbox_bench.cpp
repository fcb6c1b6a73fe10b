// Painting the document window: a full repaint of a 1,000-item design at 100 % and 300 % (and
// at 100 % on a screen of two device pixels per pixel), and one scroll step (the viewport moves, the tile
// follows and repaints).
#include "canvas/sandbox.h"
#include "canvas/sandboxhost.h"
#include "model/designfile.h"
#include "model/itemlist.h"
#include "settings/params.h"

#include <benchmark/benchmark.h>

#include "canvas/markers.h"
#include "model/history.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScrollBar>

#include <random>

namespace {

class QuietHost : public vlr::SandboxHost {
public:
    void SetGlobalZoom(double) override {}
    void RefreshUndoCommands(const vlr::ItemList&) override {}
    void RefreshDesignControls() override {}
    void SetGridSnapButtons(bool, bool) override {}
    void WindowCaptionChanged(vlr::DesignView*) override {}
    void WindowActivated(vlr::DesignView*) override {}
    void ShowPanel(int) override {}
    void DeferCommand(int) override {}
    int RememberedToolMode() const override { return 0; }
    void RememberToolMode(int) override {}
    int NextUntitledNumber() override { return 1; }
    void InsertPictureFile(const QString&) override {}
    void EditClipPicture(vlr::DesignView*, vlr::ItemRecord*) override {}
};

// A letter page in inches with 1,000 lines, shapes and texts.
QString MakeDesign() {
    vlr::ItemList list;
    vlr::ItemRecord* header = vlr::CreateRecord(list, vlr::ItemKind::Header);
    header->recordClass = vlr::RecordClass::Header;
    header->zoom = 1.0;
    header->units = 3;
    header->canvasLeft = header->canvasTop = 0.2;
    header->canvasWidth = 8.5;
    header->canvasHeight = 11.0;
    header->designType = 1;
    header->paperWidth = 8.5;
    header->paperHeight = 11.0;
    std::mt19937 random(5);
    const int32_t kinds[] = {vlr::ItemKind::Line, vlr::ItemKind::Rectangle, vlr::ItemKind::Ellipse,
                             vlr::ItemKind::Star, vlr::ItemKind::Text};
    for (int i = 0; i < 1000; ++i) {
        vlr::ItemRecord* item = vlr::CreateRecord(list, kinds[i % 5]);
        item->zOrder = i + 1;
        int32_t x = static_cast<int32_t>(random() % 760), y = static_cast<int32_t>(random() % 1000);
        item->x1 = x;
        item->y1 = y;
        item->x2 = x + 40;
        item->y2 = y + 30;
        item->color = static_cast<int32_t>(random() % 0xFFFFFF);
        item->fillColor = -1;
        item->lineWeight = 0.3;
        vlr::SetWorldFromPixels(item, list.screen);
        vlr::Recalculate(item, list.screen);
        if (item->kind == vlr::ItemKind::Text) {
            vlr::SetText(item, u"Velloran");
        } else if (item->kind == vlr::ItemKind::Rectangle) {
            item->pointList = {{.x = x, .y = y}, {.x = x + 40, .y = y}, {.x = x + 40, .y = y + 30}, {.x = x, .y = y + 30}};
        } else if (item->kind == vlr::ItemKind::Ellipse) {
            item->pointList = {{.x = x + 20, .y = y + 15}, {.x = x + 40, .y = y + 15}, {.x = x + 20, .y = y}};
        } else if (item->kind == vlr::ItemKind::Star) {
            item->vertexCount = 5;
            item->pointList = {{.x = x + 20, .y = y + 15}, {.x = x + 20, .y = y}, {.x = x + 24, .y = y + 10}};
        }
    }
    QString path = QDir::temp().filePath("vlr-sandbox-bench.vlrn");
    vlr::WriteDesign(path.toStdString(), list);
    return path;
}

struct Window {
    vlr::TParams params;
    QuietHost host;
    vlr::FixedAnswerPrompt prompt{vlr::PromptAnswer::No};
    vlr::TSandbox sandbox{params, host, prompt};
    Window() {
        sandbox.resize(1000, 750);
        sandbox.show();
        sandbox.OpenDesign(1, MakeDesign());
        sandbox.Timer7.stop();
    }
};

void FullRepaint(benchmark::State& state) {
    Window window;
    window.sandbox.SetDeviceScale(state.range(1));
    window.sandbox.SetZoom(state.range(0) / 100.0);
    window.sandbox.Timer7.stop();
    for (auto _ : state) {
        window.sandbox.RedrawAll(false);
    }
    state.SetLabel(std::to_string(window.sandbox.canvas().width()) + "x" + std::to_string(window.sandbox.canvas().height()));
}
BENCHMARK(FullRepaint)->Args({100, 1})->Args({300, 1})->Args({100, 2})->Unit(benchmark::kMillisecond);

void ScrollStep(benchmark::State& state) {
    Window window;
    window.sandbox.SetZoom(3.0);
    window.sandbox.Timer7.stop();
    QScrollBar* bar = window.sandbox.scrollBarY();
    int step = bar->pageStep();
    bool down = true;
    for (auto _ : state) {
        // A page step moves the tile once the first tile is passed; each step repaints it.
        bar->setValue(down ? bar->value() + step : bar->value() - step);
        if (bar->value() >= bar->maximum() || bar->value() <= 0) {
            down = !down;
        }
    }
}
BENCHMARK(ScrollStep)->Unit(benchmark::kMillisecond);

// Lets timers and paint events run until done says so, or a few seconds pass.
template <typename Done> void RunEventsUntil(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// One step of a drag: a rectangle of the 1,000-item design held by its centre marker and moved
// across the others, its preview drawn and the viewport painted.
void DragStep(benchmark::State& state) {
    Window window;
    vlr::TSandbox& sandbox = window.sandbox;
    sandbox.SetZoom(state.range(0) / 100.0);
    RunEventsUntil([&] { return !sandbox.repaintPending(); });
    vlr::ItemRecord* box = vlr::CreateNewItem(sandbox.items(), vlr::ItemKind::Rectangle);
    box->pointList = {{.x = 60, .y = 60}, {.x = 120, .y = 60}, {.x = 120, .y = 100}, {.x = 60, .y = 100}};
    box->lineWeight = 0.5;
    vlr::ShapeBounds(box, sandbox.items().screen);
    vlr::SelectOnly(sandbox.items(), box);
    sandbox.RedrawAll(true);
    RunEventsUntil([&] { return !box->backgroundCache.empty(); });
    QPoint centre;
    for (const auto& saved : box->backgroundCache) {
        if (auto* marker = dynamic_cast<const vlr::MarkerNode*>(saved.get()); marker && marker->code == 7) {
            centre = QPoint((marker->screenRect.left + marker->screenRect.right) / 2 + sandbox.pageOffset().x +
                                sandbox.tileOffset().x,
                            (marker->screenRect.top + marker->screenRect.bottom) / 2 + sandbox.pageOffset().y +
                                sandbox.tileOffset().y);
        }
    }
    QWidget* viewport = sandbox.viewport();
    SendMouse(viewport, QEvent::MouseButtonPress, centre);
    int step = 0;
    for (auto _ : state) {
        // To and fro over 200 pixels of the design's crowded part.
        const int along = step % 100 < 50 ? (step % 50) * 4 : 200 - (step % 50) * 4;
        SendMouse(viewport, QEvent::MouseMove, centre + QPoint(along, along / 2));
        QApplication::processEvents();
        ++step;
    }
    const bool dragging = sandbox.toolMode() == 46 && sandbox.input().editOpen;
    SendMouse(viewport, QEvent::MouseButtonRelease, centre);
    state.SetLabel(dragging ? "dragging" : "no drag");
}
BENCHMARK(DragStep)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
