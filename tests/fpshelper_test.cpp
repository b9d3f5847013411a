// Frame pacing on the virtual clock: sleeping out the budget, skipping draws when late.
#include "input/fpshelper.h"
#include "input/sys.h"

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

TEST_F(Pacing, QuickFrameSleepsUntilTenMillisecondsBeforeItsBudgetEnds) {
    EXPECT_EQ(frame(0), 1);
    EXPECT_EQ(sysVirtualSlept(), 7000u);
    EXPECT_EQ(fpsSum, 0);
    EXPECT_EQ(cntFrames, 1);

    // 7 ms of work leaves 10 ms, which is not slept.
    SetUp();
    EXPECT_EQ(frame(7), 1);
    EXPECT_EQ(sysVirtualSlept(), 0u);
}

TEST_F(Pacing, ThreeQuickFramesTakeFiftyMillisecondsLessTheEarlyWakeUps) {
    // 7 + 7 ms slept in the first two frames; the third sleeps to 10 ms before the group's 50 ms.
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(frame(0), 1);
    EXPECT_EQ(sysVirtualSlept(), uint64_t(7000 + 7000 + 26000));
    EXPECT_EQ(cntFrames, 0);
    EXPECT_EQ(fpsGrpTick, sysTicks());
}

TEST_F(Pacing, LateFrameSkipsItsDrawingAndCarriesTheExcess) {
    EXPECT_EQ(frame(40), 0);
    EXPECT_EQ(fpsSum, 23);
    EXPECT_EQ(skipFrame, 1);
    EXPECT_EQ(framesSkipped, 1);
    EXPECT_EQ(sysVirtualSlept(), 0u);
    // The debt of 23 ms still exceeds the next frame's 17 ms even after no work at all.
    EXPECT_EQ(frame(0), 0);
    EXPECT_EQ(fpsSum, 6);
}

TEST_F(Pacing, NeverMoreThanThreeSkipsInARow) {
    EXPECT_EQ(frame(40), 0);
    EXPECT_EQ(frame(40), 0);
    EXPECT_EQ(frame(100), 0);
    EXPECT_EQ(framesSkipped, 3);
    EXPECT_EQ(frame(40), 1); // the fourth late frame is drawn and its debt forgiven
    EXPECT_EQ(fpsSum, 0);
    EXPECT_EQ(framesSkipped, 0);
    EXPECT_EQ(sysVirtualSlept(), 0u);
    EXPECT_EQ(frame(0), 1);
}

TEST_F(Pacing, ClockGoingBackwardsCountsExactlyOneBudget) {
    sysVirtualSetTicks(500);
    EXPECT_EQ(controlFPS(), 1);
    EXPECT_EQ(fpsSum, 0);
    EXPECT_EQ(sysVirtualSlept(), 0u);
    EXPECT_EQ(fpsCurTick, 500u);

    // The third frame of a group measures from the group's start.
    sysVirtualReset(1000);
    initFPS();
    EXPECT_EQ(frame(0), 1);
    EXPECT_EQ(frame(0), 1);
    uint64_t slept = sysVirtualSlept();
    sysVirtualSetTicks(900);
    EXPECT_EQ(controlFPS(), 1);
    EXPECT_EQ(sysVirtualSlept(), slept);
    EXPECT_EQ(fpsGrpTick, 900u);
}

TEST_F(Pacing, InitAfterALongPauseIsOnTime) {
    frame(3);
    sysVirtualAdvance(5000); // a loading screen
    initFPS();
    uint64_t slept = sysVirtualSlept();
    EXPECT_EQ(frame(2), 1);
    EXPECT_EQ(framesSkipped, 0);
    EXPECT_EQ(sysVirtualSlept() - slept, 5000u); // 17 ms budget, 2 ms of work, wake 10 ms early
}

TEST_F(Pacing, ThirdFrameAbsorbsTheGroupsUnevenWork) {
    // Work of 5, 12 and 4 ms: the second frame is not slept (10 ms or less remain), the third
    // sleeps to 10 ms before the group's 50 ms mark, where the display's refresh takes over.
    EXPECT_EQ(frame(5), 1);
    EXPECT_EQ(sysTicks(), 1007u);
    EXPECT_EQ(frame(12), 1);
    EXPECT_EQ(sysTicks(), 1019u);
    EXPECT_EQ(frame(4), 1);
    EXPECT_EQ(sysTicks(), 1040u);
}
