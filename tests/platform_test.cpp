// The virtual platform: a clock that moves only when the game sleeps, and scripted events.
#include "input/sys_virtual.h"
#include "main/defines.h"

#include <gtest/gtest.h>

TEST(VirtualClock, AdvancesOnlyBySleepingOrWorking) {
    sysVirtualReset(100);
    EXPECT_EQ(sysTicks(), 100u);
    sysUsleep(7000);
    sysDelay(3);
    EXPECT_EQ(sysTicks(), 110u);
    sysVirtualAdvance(5);
    EXPECT_EQ(sysTicks(), 115u);
    EXPECT_EQ(sysVirtualSlept(), 10000u);
    sysVirtualSetTicks(50); // a clock may go backwards
    EXPECT_EQ(sysTicks(), 50u);
}

TEST(VirtualEvents, DeliveredInTimeThenQueueOrder) {
    sysVirtualReset(0);
    SDL_Event a{}, b{}, c{};
    a.type = SDL_KEYDOWN;
    b.type = SDL_KEYUP;
    c.type = SDL_QUIT;
    sysVirtualQueueEvent(20, c);
    sysVirtualQueueEvent(10, a);
    sysVirtualQueueEvent(10, b);
    SDL_Event got;
    EXPECT_EQ(sysPollEvent(&got), 0); // nothing is due at tick 0
    sysDelay(10);
    ASSERT_EQ(sysPollEvent(&got), 1);
    EXPECT_EQ(got.type, SDL_KEYDOWN);
    ASSERT_EQ(sysPollEvent(&got), 1);
    EXPECT_EQ(got.type, SDL_KEYUP);
    EXPECT_EQ(sysPollEvent(&got), 0);
    EXPECT_EQ(sysVirtualPendingEvents(), 1);
    sysDelay(10);
    ASSERT_EQ(sysPollEvent(&got), 1);
    EXPECT_EQ(got.type, SDL_QUIT);
}

TEST(SineTables, TruncatedQuarterPoints) {
    EXPECT_EQ(tsin[0], 0);
    EXPECT_EQ(tsin[128], 1024);
    EXPECT_EQ(tsin[384], -1024);
    EXPECT_EQ(tcos[0], 1024);
    EXPECT_EQ(tcos[256], -1024);
    EXPECT_EQ(tsin[1], 12); // 1024 × sin(2π/512) = 12.566…, truncated
    EXPECT_EQ(tsin[257], -12);
}
