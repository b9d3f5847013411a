// Frame pacing: 60 ticks per second in groups of three frames (17 + 17 + 16 ms), skipping up to three
// draws in a row when the game falls behind so that its speed stays the same on a slow machine.
#include "input/fpshelper.h"

#include "input/sys.h"

uint32_t fpsCurTick, fpsGrpTick;
int32_t cntFrames, fpsSum, framesSkipped, skipFrame;

constexpr int32_t FRAME_BUDGET = 17; // the first and second frame of a group
constexpr int32_t GROUP_BUDGET = 50; // the third frame closes the group 50 ms after it began
constexpr int32_t FRAMES_PER_GROUP = 3;
constexpr int32_t MAX_SKIPPED = 3;
constexpr int32_t WAKE_EARLY = 10; // sleep stops this many ms short, so its granularity never makes us late

// Called right before every screen loop, so that loading before it never counts as lateness.
void initFPS() {
    fpsCurTick = fpsGrpTick = sysTicks();
    cntFrames = fpsSum = skipFrame = framesSkipped = 0;
}

// Sleeps until WAKE_EARLY ms before target, if that is still ahead of t.
static void sleepUntilNear(uint32_t target, uint32_t t) {
    if (int32_t(target - WAKE_EARLY - t) <= 0)
        return;
    int64_t usec = int64_t(int32_t(target - sysTicks())) * 1000 - WAKE_EARLY * 1000;
    if (usec > 0)
        sysUsleep(uint32_t(usec));
}

// Called once per frame by every screen loop, after the update: waits out the frame's budget and
// answers 1 when the frame is to be drawn, 0 when the game is late and skips the drawing.
int controlFPS() {
    uint32_t prev = fpsCurTick;
    uint32_t now = sysTicks();
    fpsCurTick = now;

    int32_t budget;
    if (cntFrames < FRAMES_PER_GROUP - 1) {
        budget = FRAME_BUDGET;
        if (now < prev) { // the clock went backwards: count one budget
            now = prev + FRAME_BUDGET;
            fpsCurTick = now;
        }
        fpsSum += int32_t(now - prev);
    } else {
        budget = GROUP_BUDGET;
        if (now < fpsGrpTick) {
            now = fpsGrpTick + GROUP_BUDGET;
            fpsCurTick = now;
        }
        fpsSum += int32_t(now - fpsGrpTick);
    }

    if (fpsSum > budget && framesSkipped < MAX_SKIPPED) {
        fpsSum -= budget; // the excess carries over to the next frames
        framesSkipped++;
        skipFrame = 1;
    } else {
        // On time, or forgiven after three skips in a row (then without sleeping).
        int32_t wait = budget - fpsSum;
        if (wait > 0) {
            uint32_t t = sysTicks();
            if (fpsCurTick <= t)
                sleepUntilNear(fpsCurTick + uint32_t(wait), t);
        }
        fpsSum = 0;
        skipFrame = 0;
        framesSkipped = 0;
    }

    uint32_t t = sysTicks();
    fpsCurTick = t;
    if (cntFrames < FRAMES_PER_GROUP - 1) {
        cntFrames++;
    } else {
        cntFrames = 0;
        fpsGrpTick = t;
    }
    return 1 - skipFrame;
}
