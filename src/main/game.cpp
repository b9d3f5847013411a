// A game: stage after stage, from start to the last stage, game over or exit.
#include "main/game.h"

int32_t hsRank = -1;
int32_t canSolve = 1;
int32_t curBlock, curBirdsBlock, curFlowersBlock;
int32_t lameMode, slowMode;
int32_t curMusic;
uint32_t currentTime, endTime;
int32_t paused, escape, canUndo;
int32_t workflow;
int32_t useSound, loaded, lastLoad;
