// The play harness itself: ticks, scripted input, virtual time, exits and snapshots, on a small
// screen loop of its own that needs no assets.
#include "harness.h"

#include "gfx/gfx_sdl2.h"
#include "input/fpshelper.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys.h"
#include "main/defines.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

// A paced screen loop that presents every drawn frame and ends on a quit request.
int pacedLoop() {
    initFPS();
    while (!input.done) {
        if (controlFPS())
            sysPresented();
        checkInput();
    }
    return 7;
}

TEST(Harness, EventsReachTheirTickAndTheRunEndsWithTheGame) {
    Harness h("ticks");
    h.probe("held", [] { return int64_t(input.lastKey); }).probe("typed", [] {
        return int64_t(input.lastKeyTyped);
    });
    h.probe("mouse", [] { return int64_t(input.mouseX * 1000 + input.mouseY); });
    h.at(5).tap(SDL_SCANCODE_SPACE).button(9).click(37, 201).wait(3).quit();
    const HarnessRun r = h.play(pacedLoop);
    EXPECT_EQ(r.status, 7);
    ASSERT_EQ(r.ticks.size(), 15u) << "the quit at tick 14 ends the loop after that read";
    EXPECT_TRUE(r.returned);
    EXPECT_EQ(r.last("mouse"), 37201);
    EXPECT_EQ(r.value("held", 4), 0);
    EXPECT_EQ(r.value("held", 5), CTRL_JUMP);
    EXPECT_EQ(r.value("typed", 6), CTRL_JUMP);
    EXPECT_EQ(r.value("held", 7), CTRL_START);
    EXPECT_EQ(r.value("typed", 8), CTRL_START);
    EXPECT_EQ(r.value("mouse", 8), -1001);
    EXPECT_EQ(r.value("mouse", 9), 37201);
    EXPECT_EQ(r.firstTick("typed", CTRL_START), 8);
    EXPECT_EQ(r.firstTick("typed", CTRL_PAUSE), -1);
}

TEST(Harness, APacedLoopRunsSixtyTicksPerVirtualSecond) {
    Harness h("time");
    h.at(600).quit();
    const HarnessRun r = h.play(pacedLoop);
    ASSERT_EQ(r.ticks.size(), 601u);
    EXPECT_EQ(r.frames, 601);
    EXPECT_EQ(r.ticks[599].ms - r.ticks[59].ms, 9000u) << "540 ticks in 9 s";

    // Without a display that waits for its refresh the pacing alone keeps the same speed.
    Harness free("novsync");
    free.vsync = false;
    free.at(600).quit();
    const HarnessRun unsynced = free.play(pacedLoop);
    ASSERT_EQ(unsynced.ticks.size(), 601u);
    EXPECT_EQ(unsynced.ticks[59].ms, 1000u);
    EXPECT_EQ(unsynced.ticks[599].ms, 10000u);
}

TEST(Harness, StopsTimeOutsExitsAndCrashesAreTold) {
    Harness stopped("stop");
    stopped.at(3).stop();
    const HarnessRun a = stopped.play(pacedLoop);
    EXPECT_EQ(a.status, HARNESS_STOPPED);
    EXPECT_EQ(a.ticks.size(), 4u);
    EXPECT_FALSE(a.returned);

    Harness endless("timeout");
    endless.maxTicks = 50;
    EXPECT_EQ(endless.play(pacedLoop).status, HARNESS_TIMED_OUT);

    Harness exiting("exit");
    const HarnessRun c = exiting.play([] {
        puts("leaving");
        exit(3);
        return 0;
    });
    EXPECT_EQ(c.status, 3);
    EXPECT_EQ(c.out, "leaving\n");

    Harness crashing("crash");
    EXPECT_EQ(crashing
                  .play([] {
                      abort();
                      return 0;
                  })
                  .status,
              -SIGABRT);
}

TEST(Harness, RunsInItsOwnFolderAndSavesSnapshots) {
    Harness h("folder");
    h.file("hello.txt", {'h', 'i'});
    h.at(2).snapshot("harness-red").quit();
    const std::string shot = harnessArtifactDir() + "/harness-red.png";
    std::filesystem::remove(shot);
    const HarnessRun r = h.play([] {
        FILE *file = fopen("hello.txt", "r");
        const bool seen = file && fgetc(file) == 'h';
        if (file)
            fclose(file);
        const bool dataLinked = std::filesystem::exists("data");
        screen = SDL_CreateRGBSurface(0, SCREEN_WIDTH, SCREEN_HEIGHT, 16, 0, 0, 0, 0);
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 255, 0, 0));
        pacedLoop();
        return seen && dataLinked ? 0 : 1;
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(std::filesystem::exists(shot));
}

} // namespace
