// The custom toolbar on its own: the zoom buttons' steps, the track bar, where the buttons stand
// and the pictures they show while pointed at.
#include "panels/procs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <algorithm>
#include <vector>

namespace vlr {
namespace {

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        toolbar.resize(1200, 24);
        toolbar.show();
        toolbar.LayoutToolbar(24);
    }
    TProcs toolbar;
};

TEST_F(ToolbarTest, ZoomButtonsStepThroughTheTable) {
    // zoom before, after Zoom out, after Zoom in; "same" cases keep the zoom.
    struct Case {
        double zoom, out, in;
    };
    const Case cases[] = {
        {1.0, 0.75, 1.25}, {3.0, 2.0, 3.0},   {0.25, 0.25, 0.5}, {0.5, 0.25, 0.75}, {0.37, 0.25, 0.5},
        {0.74, 0.5, 0.75}, {0.75, 0.5, 1.0},  {1.1, 1.0, 1.25},  {2.0, 1.75, 3.0},  {2.5, 2.0, 3.0},
        {1.75, 1.5, 2.0},  {3.5, 3.5, 3.5},   {1.5, 1.25, 1.75},
    };
    QSignalSpy chosen(&toolbar, &TProcs::zoomChosen);
    for (const Case& each : cases) {
        toolbar.SetZoom(each.zoom);
        QTest::mouseClick(toolbar.ZoomOutButton(), Qt::LeftButton);
        EXPECT_DOUBLE_EQ(toolbar.zoom(), each.out) << each.zoom << " out";
        toolbar.SetZoom(each.zoom);
        QTest::mouseClick(toolbar.ZoomInButton(), Qt::LeftButton);
        EXPECT_DOUBLE_EQ(toolbar.zoom(), each.in) << each.zoom << " in";
    }
    // At 300 % Zoom in does nothing at all, above it neither button does.
    chosen.clear();
    toolbar.SetZoom(3.0);
    QTest::mouseClick(toolbar.ZoomInButton(), Qt::LeftButton);
    toolbar.SetZoom(3.5);
    QTest::mouseClick(toolbar.ZoomOutButton(), Qt::LeftButton);
    EXPECT_EQ(chosen.count(), 0);
}

TEST_F(ToolbarTest, TrackBarSetsTheZoomExceptAtZeroAndTheLabelFollows) {
    QSignalSpy chosen(&toolbar, &TProcs::zoomChosen);
    toolbar.SetZoom(1.5);
    EXPECT_EQ(chosen.count(), 0); // the program moving the bar reports nothing
    EXPECT_EQ(toolbar.ZoomBar()->value(), 150);
    EXPECT_EQ(toolbar.ZoomLabel()->text(), "150%");
    EXPECT_EQ(toolbar.ZoomCaption()->text(), "Zoom");

    toolbar.ZoomBar()->setValue(0);
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_DOUBLE_EQ(toolbar.zoom(), 1.5);

    toolbar.ZoomBar()->setValue(37);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_DOUBLE_EQ(chosen.takeFirst().at(0).toDouble(), 0.37);
    EXPECT_EQ(toolbar.ZoomLabel()->text(), "37%");
    EXPECT_EQ(toolbar.ZoomBar()->maximum(), 300);
    EXPECT_EQ(toolbar.ZoomBar()->tickInterval(), 25);
}

TEST_F(ToolbarTest, ButtonsStandInGroupsWithTheirHintsAndTheZoomAtTheRightEdge) {
    toolbar.UpdateSelectionButtons(true);
    toolbar.UpdateJoinSplit(true, true);
    toolbar.UpdatePaste(true);
    const char* hints[] = {
        "Create a new file", "Open an existing file", "Save the file", "Print the picture", "Undo the last edit",
        "Redo the last undo", "Repaint the screen", "Select an item", "Insert picture", "Insert text",
        "Insert line", "Insert arc", "Insert spline", "Insert curve", "Insert triangle", "Insert square",
        "Insert rectangle", "Insert circle", "Insert pie", "Insert ellipse", "Insert polygon", "Insert star",
        "Insert solid", "Insert oblong", "Gridlines", "Snap",
        "Place the selected item on top of other objects", "Place the selected item behind other objects",
        "Join items", "Split group", "Erase the selected item", "Copy to clipboard", "Paste from clipboard"};
    // At height 24 the buttons are 20 pixels square, 22 apart; a group's bar follows its last
    // button after the usual 2 pixels and the next group starts 3 + 5 pixels later.
    const int groupSizes[] = {7, 17, 6, 3};
    int x = 2, index = 0;
    for (int size : groupSizes) {
        for (int i = 0; i < size; ++i, ++index) {
            TPictureButton* button = toolbar.Button(kToolbarEntries[static_cast<size_t>(index)].button);
            EXPECT_EQ(button->geometry(), QRect(x, 2, 20, 20)) << hints[index];
            EXPECT_EQ(button->toolTip(), hints[index]);
            x += 22;
        }
        x += 8;
    }
    EXPECT_EQ(toolbar.ZoomInButton()->geometry(), QRect(1200 - 20, 2, 20, 20));
    EXPECT_EQ(toolbar.ZoomInButton()->toolTip(), "Zoom in");
    EXPECT_EQ(toolbar.ZoomOutButton()->toolTip(), "Zoom out");
    EXPECT_LT(toolbar.ZoomBar()->geometry().right(), toolbar.ZoomInButton()->x());
    EXPECT_LT(toolbar.ZoomOutButton()->geometry().right(), toolbar.ZoomBar()->x());
    EXPECT_LT(toolbar.ZoomLabel()->geometry().right(), toolbar.ZoomOutButton()->x());

    // Hidden buttons leave no gap: without a selection the Erase group is Paste alone.
    toolbar.UpdateSelectionButtons(false);
    toolbar.UpdateJoinSplit(false, false);
    EXPECT_EQ(toolbar.Button(ToolbarButton::Paste)->x(), 2 + 7 * 22 + 8 + 17 * 22 + 8 + 2 * 22 + 8);
    toolbar.LayoutToolbar(30);
    EXPECT_EQ(toolbar.Button(ToolbarButton::New)->geometry(), QRect(2, 2, 26, 26));
}

TEST_F(ToolbarTest, PointingHighlightsOneButtonUntilTheTimerOrTheBackground) {
    toolbar.SetGridSnap(true, false);
    TPictureButton* save = toolbar.Button(ToolbarButton::Save);
    TPictureButton* grid = toolbar.Button(ToolbarButton::Gridlines);
    TPictureButton* snap = toolbar.Button(ToolbarButton::Snap);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(save, &enter);
    EXPECT_EQ(save->look(), ButtonLook::Highlighted);
    EXPECT_TRUE(toolbar.HighlightTimer.isActive());
    EXPECT_EQ(toolbar.HighlightTimer.interval(), 5000);

    QApplication::sendEvent(snap, &enter);
    EXPECT_EQ(save->look(), ButtonLook::Plain);
    EXPECT_EQ(snap->look(), ButtonLook::Highlighted);
    // Gridlines is on: pointing at it keeps its pressed picture.
    QApplication::sendEvent(grid, &enter);
    EXPECT_EQ(grid->look(), ButtonLook::Pressed);
    EXPECT_EQ(snap->look(), ButtonLook::Plain);

    toolbar.HighlightTimer.setInterval(1);
    QApplication::sendEvent(save, &enter);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !toolbar.HighlightTimer.isActive(); }, 1000));
    EXPECT_EQ(save->look(), ButtonLook::Plain);
    EXPECT_EQ(grid->look(), ButtonLook::Pressed);

    // The zoom buttons keep their highlight: no timer runs for them.
    QApplication::sendEvent(toolbar.ZoomInButton(), &enter);
    EXPECT_EQ(toolbar.ZoomInButton()->look(), ButtonLook::Highlighted);
    EXPECT_FALSE(toolbar.HighlightTimer.isActive());
    const QPointF background(toolbar.Button(ToolbarButton::Repaint)->geometry().right() + 4, 12);
    QMouseEvent move(QEvent::MouseMove, background, toolbar.mapToGlobal(background), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&toolbar, &move);
    EXPECT_EQ(toolbar.ZoomInButton()->look(), ButtonLook::Plain);
}

TEST_F(ToolbarTest, ToggleButtonsFlipAndReportTheirState) {
    QSignalSpy grid(&toolbar, &TProcs::gridlinesToggled);
    QSignalSpy snap(&toolbar, &TProcs::snapToggled);
    QTest::mouseClick(toolbar.Button(ToolbarButton::Gridlines), Qt::LeftButton);
    QTest::mouseClick(toolbar.Button(ToolbarButton::Snap), Qt::LeftButton);
    QTest::mouseClick(toolbar.Button(ToolbarButton::Snap), Qt::LeftButton);
    ASSERT_EQ(grid.count(), 1);
    EXPECT_TRUE(grid.at(0).at(0).toBool());
    ASSERT_EQ(snap.count(), 2);
    EXPECT_FALSE(snap.at(1).at(0).toBool());
    EXPECT_EQ(toolbar.Button(ToolbarButton::Gridlines)->look(), ButtonLook::Pressed);
    EXPECT_NE(toolbar.Button(ToolbarButton::Snap)->look(), ButtonLook::Pressed);
}

} // namespace
} // namespace vlr
