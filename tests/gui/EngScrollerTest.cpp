// The drag scroller driven by hand-set program and frame times: the drag
// threshold, dragging, taps and their callback, the flick's glide with its
// friction, bounce margin and spring, and the refusals.
#include "gui/EngScroller.h"

#include "engine/core/EngMisc.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TapRecord {
    int taps;
    float x, y;
    int value;
};
std::vector<TapRecord> taps_seen;

void RecordTap(char, int taps, float x, float y, int value)
{
    taps_seen.push_back({taps, x, y, value});
}

class EngScrollerTest : public testing::Test {
protected:
    EngScroller scroller;
    const _Dimension area = {0, 0, 100, 100};

    void SetUp() override
    {
        ResetEngineForTest();
        eng_main_program_time = 10.0;
        eng_main_frame_time = 0.02f;
        taps_seen.clear();
    }
    void TearDown() override { EngMiscSetTabletPlatformForTests(0); }

    // x alone, at 50 in 0..100, drag scale 100 over the 100-wide area, so a
    // unit of pointer is a unit of position; the default threshold.
    void TurnOnX(char free = 0, float friction = 2)
    {
        ASSERT_TRUE(scroller.TurnOn(&area, 0, 1, 50, 0, 100, 100, -1, free, 0, 0, 0, 0, 1, -1, 0, friction));
    }
    void At(double t) { eng_main_program_time = t; }
    // Press at x, then moves to each x in turn, 0.01 s apart.
    void Drag(float from, std::vector<float> to)
    {
        scroller.MouseButton(0, 1, from, 50, 0, 1);
        for (float x : to) {
            At(eng_main_program_time + 0.01);
            scroller.MouseMove(x, 50, 0);
        }
    }
};

TEST_F(EngScrollerTest, AreasOfNoSizeAreRefusedAndAnOffScrollerDoesNothing)
{
    // Never turned on, a scroller is off and its tick does nothing.
    EXPECT_FALSE(scroller.IsOn());
    EXPECT_FALSE(scroller.Tick());

    _Dimension flat = {0, 0, 100, 0};
    EXPECT_FALSE(scroller.TurnOn(&flat, 0, 1, 0, 0, 10, 1, -1, 0, 1, 0, 0, 10, 1, -1, 0, 1));
    EXPECT_TRUE(LogHas("Invalid Dimension"));
    EXPECT_FALSE(scroller.IsOn());
    EXPECT_FALSE(scroller.Tick());
    EXPECT_FALSE(scroller.MouseButton(0, 1, 10, 10, 0, 1));
    scroller.Reset(0);
    EXPECT_TRUE(LogHas("Not on"));

    // No area means the whole 640 x 480 screen; a start outside the range is
    // brought into it.
    ASSERT_TRUE(scroller.TurnOn(nullptr, 0, 1, 150, 0, 100, 1, -1, 0, 0, 0, 0, 0, 1, -1, 0, 1));
    EXPECT_FLOAT_EQ(scroller.GetPositionX(), 100);
    EXPECT_TRUE(scroller.MouseButton(0, 1, 600, 400, 0, 1));
}

TEST_F(EngScrollerTest, ThePositionFollowsADragOnlyPastTheThreshold)
{
    struct Case {
        const char *what;
        char free;
        std::vector<float> moves;
        float expected;
    } cases[] = {
        {"2 units stay under the threshold", 0, {40, 42}, 50},
        {"10 units move 10 the other way", 0, {40, 50}, 40},
        {"back and forth ends where the pointer is", 0, {40, 50, 30}, 60},
        {"held at the end of the range", 0, {40, 0}, 90},
        {"held at the start of the range", 0, {40, 100}, 0},
        {"free beyond the range", 1, {40, 100}, -10},
    };
    for (const Case &c : cases) {
        TurnOnX(c.free);
        Drag(40, c.moves);
        EXPECT_FLOAT_EQ(scroller.GetPositionX(), c.expected) << c.what;
    }
}

TEST_F(EngScrollerTest, OneAxisAtATimeMovesOnlyTheAxisTheDragFollows)
{
    ASSERT_TRUE(scroller.TurnOn(&area, 1, 1, 50, 0, 100, 100, -1, 0, 1, 50, 0, 100, 100, -1, 0, 1));
    scroller.MouseButton(0, 1, 50, 50, 0, 1);
    scroller.MouseMove(50, 50, 0);
    scroller.MouseMove(50, 60, 0);
    scroller.MouseMove(45, 70, 0);
    EXPECT_FLOAT_EQ(scroller.GetPositionY(), 30);
    EXPECT_FLOAT_EQ(scroller.GetPositionX(), 50);
    EXPECT_EQ(scroller.GetState(0), EngScroller::STATE_PRESSED);
    // An ignored move changes nothing.
    EXPECT_FALSE(scroller.MouseMove(45, 90, 1));
    EXPECT_FLOAT_EQ(scroller.GetPositionY(), 30);
}

TEST_F(EngScrollerTest, QuickReleasesAreTapsReportedOnceTheRunEnds)
{
    TurnOnX();
    scroller.SetTapCallback(RecordTap, 7);
    At(10.0);
    scroller.MouseButton(0, 1, 20, 30, 0, 1);
    At(10.1);
    EXPECT_TRUE(scroller.MouseButton(0, 0, 20, 30, 0, 1));
    At(10.2);
    EXPECT_TRUE(scroller.Tap(0, 22, 31));
    EXPECT_EQ(scroller.GetTapCount(), 2);
    At(10.45);
    EXPECT_TRUE(scroller.Tick());
    EXPECT_TRUE(taps_seen.empty());
    At(10.5);
    EXPECT_TRUE(scroller.Tick());
    ASSERT_EQ(taps_seen.size(), 1u);
    EXPECT_EQ(taps_seen[0].taps, 2);
    EXPECT_FLOAT_EQ(taps_seen[0].x, 22);
    EXPECT_EQ(taps_seen[0].value, 7);
    EXPECT_FALSE(scroller.Tick());

    // Too slow, dragged, or not wanted: no tap.
    At(20.0);
    scroller.MouseButton(0, 1, 20, 30, 0, 1);
    At(20.3);
    EXPECT_FALSE(scroller.MouseButton(0, 0, 20, 30, 0, 1));
    Drag(20, {20, 40});
    EXPECT_TRUE(scroller.MouseButton(0, 0, 40, 30, 0, 1));
    scroller.MouseButton(0, 1, 20, 30, 0, 1);
    EXPECT_FALSE(scroller.MouseButton(0, 0, 20, 30, 0, 0));
    EXPECT_EQ(scroller.GetTapCount(), 0);
}

TEST_F(EngScrollerTest, AFlickGlidesSlowsStopsAtTheMarginAndSpringsBack)
{
    // On the desktop a release measures no flick.
    TurnOnX();
    Drag(60, {60, 50, 40});
    scroller.MouseButton(0, 0, 40, 50, 0, 1);
    EXPECT_EQ(scroller.GetVelocity(0), 0);

    EngMiscSetTabletPlatformForTests(1);
    TurnOnX(0, 2);
    Drag(60, {60, 55, 50});
    scroller.MouseButton(0, 0, 50, 50, 0, 1);
    float velocity = scroller.GetVelocity(0);
    // 5 units in 0.01 s over a range of 100, towards the left.
    EXPECT_NEAR(velocity, -5.0f, 1e-3);
    float pos = scroller.GetPositionX();
    for (int i = 0; i < 5; i++) {
        scroller.Tick();
        EXPECT_GT(scroller.GetPositionX(), pos);
        EXPECT_GT(scroller.GetVelocity(0), velocity);
        EXPECT_NEAR(scroller.GetVelocity(0), velocity * (1 - 2 * 0.02f), 1e-4);
        pos = scroller.GetPositionX();
        velocity = scroller.GetVelocity(0);
    }

    // A hard flick runs past the end, stops dead at the margin and springs
    // back into the range.
    TurnOnX(0, 2);
    Drag(60, {60, 20, -20});
    scroller.MouseButton(0, 0, -20, 50, 0, 1);
    int ticks = 0;
    while (scroller.GetVelocity(0) != 0 && ticks++ < 100)
        scroller.Tick();
    EXPECT_FLOAT_EQ(scroller.GetPositionX(), 200);
    pos = 200;
    for (int i = 0; i < 200 && scroller.GetPositionX() > 100; i++) {
        scroller.Tick();
        EXPECT_LT(scroller.GetPositionX(), pos);
        pos = scroller.GetPositionX();
    }
    EXPECT_FLOAT_EQ(scroller.GetPositionX(), 100);

    // A press stops a glide.
    TurnOnX(0, 2);
    Drag(60, {60, 55, 50});
    scroller.MouseButton(0, 0, 50, 50, 0, 1);
    scroller.MouseButton(0, 1, 50, 50, 0, 1);
    EXPECT_EQ(scroller.GetVelocity(0), 0);
}

} // namespace
