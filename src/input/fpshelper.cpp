// Frame pacing: 60 ticks per second in groups of three frames (17 + 17 + 16 ms), skipping up to three
// draws in a row when the game falls behind so that its speed stays the same on a slow machine.
#include "input/fpshelper.h"

#include "input/sys.h"

static FramePacing pacing;

const FramePacing &pacingState() { return pacing; }

constexpr int32_t FRAME_BUDGET = 17; // the first and second frame of a group
constexpr int32_t GROUP_BUDGET = 50; // the third frame closes the group 50 ms after it began
constexpr int32_t FRAMES_PER_GROUP = 3;
constexpr int32_t MAX_SKIPPED = 3;

// Called right before every screen loop, so that loading before it never counts as lateness.
void initFPS() {
    pacing.fpsCurTick = pacing.fpsGrpTick = sysTicks();
    pacing.cntFrames = pacing.fpsSum = pacing.skipFrame = pacing.framesSkipped = 0;
}

// Sleeps until target. The game keeps its 60 ticks per second whether or not the presentation waits
// for the display's refresh, and at any refresh rate; an oversleep is made up by the group's third
// frame, whose budget runs to the group's 50 ms mark.
static void sleepUntil(uint32_t target) {
    const int32_t ms = int32_t(target - sysTicks());
    if (ms > 0)
        sysUsleep(uint32_t(ms) * 1000);
}

// Called once per frame by every screen loop, after the update: waits out the frame's budget and
// answers 1 when the frame is to be drawn, 0 when the game is late and skips the drawing.
int controlFPS() {
    uint32_t prev = pacing.fpsCurTick;
    uint32_t now = sysTicks();
    pacing.fpsCurTick = now;

    int32_t budget;
    if (pacing.cntFrames < FRAMES_PER_GROUP - 1) {
        budget = FRAME_BUDGET;
        if (now < prev) { // the clock went backwards: count one budget
            now = prev + FRAME_BUDGET;
            pacing.fpsCurTick = now;
        }
        pacing.fpsSum += int32_t(now - prev);
    } else {
        budget = GROUP_BUDGET;
        if (now < pacing.fpsGrpTick) {
            now = pacing.fpsGrpTick + GROUP_BUDGET;
            pacing.fpsCurTick = now;
        }
        pacing.fpsSum += int32_t(now - pacing.fpsGrpTick);
    }

    if (pacing.fpsSum > budget && pacing.framesSkipped < MAX_SKIPPED) {
        pacing.fpsSum -= budget; // the excess carries over to the next frames
        pacing.framesSkipped++;
        pacing.skipFrame = 1;
    } else {
        // On time, or forgiven after three skips in a row (then without sleeping).
        int32_t wait = budget - pacing.fpsSum;
        if (wait > 0) {
            uint32_t t = sysTicks();
            if (pacing.fpsCurTick <= t)
                sleepUntil(pacing.fpsCurTick + uint32_t(wait));
        }
        pacing.fpsSum = 0;
        pacing.skipFrame = 0;
        pacing.framesSkipped = 0;
    }

    uint32_t t = sysTicks();
    pacing.fpsCurTick = t;
    if (pacing.cntFrames < FRAMES_PER_GROUP - 1) {
        pacing.cntFrames++;
    } else {
        pacing.cntFrames = 0;
        pacing.fpsGrpTick = t;
    }
    return 1 - pacing.skipFrame;
}
