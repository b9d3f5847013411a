// Frame pacing: 60 ticks per second in groups of three frames, skipping up to three draws when late.
#pragma once

#include <cstdint>

extern uint32_t fpsCurTick, fpsGrpTick;
extern int32_t cntFrames, fpsSum, framesSkipped, skipFrame;

void initFPS();
int controlFPS(); // 1: draw and present this frame; 0: skip the drawing
