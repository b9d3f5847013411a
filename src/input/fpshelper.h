// Frame pacing: 60 ticks per second in groups of three frames, skipping up to three draws when late.
#pragma once

#include <cstdint>

// The pacing run: one at a time, restarted by the screen runner whenever another screen comes on top.
struct FramePacing {
    uint32_t fpsCurTick;   // when the previous controlFPS returned
    uint32_t fpsGrpTick;   // when the current group of three frames began
    int32_t cntFrames;     // the coming frame's place in its group, 0 to 2
    int32_t fpsSum;        // milliseconds used against the current budget, late frames' excess included
    int32_t framesSkipped; // draws skipped in a row, 0 to 3
    int32_t skipFrame;     // 1 when this frame's drawing is skipped
};
const FramePacing &pacingState(); // for tests

void initFPS();
int controlFPS(); // 1: draw and present this frame; 0: skip the drawing
