// A game: stage after stage, from start to the last stage, game over or exit.
#pragma once

#include <cstdint>

extern int32_t hsRank;    // rank of the hiscore entry just made, -1 when none
extern int32_t canSolve;  // auto-resolve still available in this game
extern int32_t curBlock, curBirdsBlock, curFlowersBlock;  // which sheet variants the stage uses
extern int32_t lameMode, slowMode;                         // cheat names in the hiscore table
extern int32_t curMusic;                                   // the music track playing, 0 to 10
extern uint32_t currentTime, endTime;                      // milliseconds of the platform clock
extern int32_t paused, escape, canUndo;
extern int32_t workflow;  // the menu's state; a game that ends with a hiscore entry leaves it at -3

// Flags reset by the asset set-up.
extern int32_t useSound, loaded, lastLoad;

void run(int startStage, int a, int b);  // startStage -1: the test stage
