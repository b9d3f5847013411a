// Frame pacing on the virtual clock: sleeping out the budget, skipping draws when late.
#include "input/fpshelper.h"
#include "input/sys_virtual.h"

#include <gtest/gtest.h>

class Pacing : public ::testing::Test {
  protected:
    void SetUp() override {
        sysVirtualReset(1000);
        initFPS();
    }
    // A frame whose work takes ms milliseconds; the pacing's answer.
    int frame(uint32_t ms) {
        sysVirtualAdvance(ms);
        return controlFPS();
    }
};

TEST_F(Pacing, QuickFrameSleepsOutItsBudget) {
    EXPECT_EQ(frame(0), 1);
    EXPECT_EQ(sysVirtualSlept(), 17000u);
    EXPECT_EQ(pacingState().fpsSum, 0);
    EXPECT_EQ(pacingState().cntFrames, 1);

    // 7 ms of work leaves 10 ms to sleep.
    SetUp();
    EXPECT_EQ(frame(7), 1);
    EXPECT_EQ(sysVirtualSlept(), 10000u);
}

// Without a display that waits for its refresh, the pacing alone holds 60 ticks per second.
TEST_F(Pacing, QuickFramesRunSixtyToTheSecond) {
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(frame(0), 1);
    EXPECT_EQ(sysVirtualSlept(), uint64_t(17000 + 17000 + 16000));
    EXPECT_EQ(sysTicks(), 1050u);
    EXPECT_EQ(pacingState().cntFrames, 0);
    EXPECT_EQ(pacingState().fpsGrpTick, sysTicks());
}

TEST_F(Pacing, LateFrameSkipsItsDrawingAndCarriesTheExcess) {
    EXPECT_EQ(frame(40), 0);
    EXPECT_EQ(pacingState().fpsSum, 23);
    EXPECT_EQ(pacingState().skipFrame, 1);
    EXPECT_EQ(pacingState().framesSkipped, 1);
    EXPECT_EQ(sysVirtualSlept(), 0u);
    // The debt of 23 ms still exceeds the next frame's 17 ms even after no work at all.
    EXPECT_EQ(frame(0), 0);
    EXPECT_EQ(pacingState().fpsSum, 6);
}

TEST_F(Pacing, NeverMoreThanThreeSkipsInARow) {
    EXPECT_EQ(frame(40), 0);
    EXPECT_EQ(frame(40), 0);
    EXPECT_EQ(frame(100), 0);
    EXPECT_EQ(pacingState().framesSkipped, 3);
    EXPECT_EQ(frame(40), 1); // the fourth late frame is drawn and its debt forgiven
    EXPECT_EQ(pacingState().fpsSum, 0);
    EXPECT_EQ(pacingState().framesSkipped, 0);
    EXPECT_EQ(sysVirtualSlept(), 0u);
    EXPECT_EQ(frame(0), 1);
}

TEST_F(Pacing, ClockGoingBackwardsCountsExactlyOneBudget) {
    sysVirtualSetTicks(500);
    EXPECT_EQ(controlFPS(), 1);
    EXPECT_EQ(pacingState().fpsSum, 0);
    EXPECT_EQ(sysVirtualSlept(), 0u);
    EXPECT_EQ(pacingState().fpsCurTick, 500u);

    // The third frame of a group measures from the group's start.
    sysVirtualReset(1000);
    initFPS();
    EXPECT_EQ(frame(0), 1);
    EXPECT_EQ(frame(0), 1);
    uint64_t slept = sysVirtualSlept();
    sysVirtualSetTicks(900);
    EXPECT_EQ(controlFPS(), 1);
    EXPECT_EQ(sysVirtualSlept(), slept);
    EXPECT_EQ(pacingState().fpsGrpTick, 900u);
}

TEST_F(Pacing, InitAfterALongPauseIsOnTime) {
    frame(3);
    sysVirtualAdvance(5000); // a loading screen
    initFPS();
    uint64_t slept = sysVirtualSlept();
    EXPECT_EQ(frame(2), 1);
    EXPECT_EQ(pacingState().framesSkipped, 0);
    EXPECT_EQ(sysVirtualSlept() - slept, 15000u); // 17 ms budget, 2 ms of work
}

TEST_F(Pacing, ThirdFrameAbsorbsTheGroupsUnevenWork) {
    // Work of 5, 12 and 4 ms: each frame sleeps out its 17 ms, the third to the group's 50 ms mark.
    EXPECT_EQ(frame(5), 1);
    EXPECT_EQ(sysTicks(), 1017u);
    EXPECT_EQ(frame(12), 1);
    EXPECT_EQ(sysTicks(), 1034u);
    EXPECT_EQ(frame(4), 1);
    EXPECT_EQ(sysTicks(), 1050u);
}
