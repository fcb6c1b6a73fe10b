// The wheel and the step sizes of the scrolled views.
#include "panels/wheel.h"

#include <gtest/gtest.h>

namespace vlr {
namespace {

TEST(Wheel, ModifiersChooseScrollingOrZoomAndTheDirection) {
    using Kind = WheelTurn::Kind;
    const struct {
        Qt::KeyboardModifiers modifiers;
        QPoint delta;
        Kind kind;
        int notches;
    } cases[] = {
        {Qt::NoModifier, {0, -120}, Kind::ScrollY, 1},    // turned towards the user: down
        {Qt::NoModifier, {0, 240}, Kind::ScrollY, -2},    // two notches up
        {Qt::ShiftModifier, {0, -120}, Kind::ScrollX, 1}, // Shift: sideways, to the right
        {Qt::ShiftModifier, {-120, 0}, Kind::ScrollX, 1}, // a system that turned it already
        {Qt::NoModifier, {120, 0}, Kind::ScrollX, -1},    // a tilted wheel: left
        {Qt::ControlModifier, {0, 120}, Kind::Zoom, 1},   // away from the user: closer
        {Qt::ControlModifier, {0, -360}, Kind::Zoom, -3},
        {Qt::NoModifier, {0, 60}, Kind::None, 0}, // half a notch does nothing yet
    };
    for (const auto& c : cases) {
        QPoint remainder;
        WheelTurn turn = ReadWheel(c.modifiers, c.delta, remainder);
        EXPECT_EQ(turn.kind, c.kind) << c.delta.x() << "," << c.delta.y();
        EXPECT_EQ(turn.notches, c.notches) << c.delta.x() << "," << c.delta.y();
    }
}

TEST(Wheel, PiecesOfANotchAddUpAndATurnBackDropsThem) {
    QPoint remainder;
    EXPECT_EQ(ReadWheel(Qt::NoModifier, {0, -40}, remainder).kind, WheelTurn::Kind::None);
    EXPECT_EQ(ReadWheel(Qt::NoModifier, {0, -40}, remainder).kind, WheelTurn::Kind::None);
    WheelTurn third = ReadWheel(Qt::NoModifier, {0, -40}, remainder);
    EXPECT_EQ(third.kind, WheelTurn::Kind::ScrollY);
    EXPECT_EQ(third.notches, 1);
    ReadWheel(Qt::NoModifier, {0, -100}, remainder);
    // Back the other way: the 100 gathered downwards do not count against it.
    WheelTurn back = ReadWheel(Qt::NoModifier, {0, 120}, remainder);
    EXPECT_EQ(back.notches, -1);
}

TEST(Wheel, StepsAreATenthOfTheViewAndAtLeastSixteenPixels) {
    const struct { int view, step; } cases[] = {{600, 60}, {165, 16}, {100, 16}, {0, 16}, {1234, 123}};
    for (const auto& c : cases) {
        EXPECT_EQ(ScrollStep(c.view), c.step) << c.view;
    }
}

TEST(Wheel, ZoomWalksTheZoomMenusStepsAndStopsAtTheEnds) {
    const struct {
        double zoom;
        int notches;
        double expected;
    } cases[] = {
        {1.0, 1, 1.25}, {1.0, -1, 0.75}, {2.0, 1, 3.0},  {3.0, 1, 3.0},  {0.25, -1, 0.25},
        {1.0, 4, 2.0},  {1.0, -9, 0.25}, {1.1, 1, 1.25}, {1.1, -1, 1.0}, // between steps
        {5.0, -1, 3.0}, {0.1, 1, 0.25},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(StepZoom(c.zoom, c.notches), c.expected) << c.zoom << " " << c.notches;
    }
}

TEST(Wheel, ZoomingKeepsThePointUnderThePointer) {
    // A point 300 pixels into the content shows 200 pixels into the view with the content
    // starting at 20: the scroll is 20 + 300 - 200 = 120. Twice as large, the point lies 600 in:
    // 20 + 600 - 200 = 420.
    EXPECT_EQ(ScrollKeepingPoint(300, 1.0, 200, 20), 120);
    EXPECT_EQ(ScrollKeepingPoint(300, 2.0, 200, 20), 420);
    EXPECT_EQ(ScrollKeepingPoint(300, 0.5, 200, 20), -30); // the bar clamps it to 0
}

} // namespace
} // namespace vlr
