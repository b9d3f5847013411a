// The pause menu, the one-move undo and the automatic solver, all run from the stage loop's tick.
#pragma once

#include "main/defines.h"
#include "main/game.h"

#include <array>
#include <cstdint>

constexpr int PAUSE_ITEMS = 5;
enum PauseItem { PAUSE_BACK, PAUSE_UNDO, PAUSE_RESTART, PAUSE_SOLVE, PAUSE_EXIT };

extern std::array<int32_t, BOARD_CELLS> currentUndo; // the board before the last counted move

// The items the menu offers now, fixed when it opens.
std::array<int, PAUSE_ITEMS> pauseAvailability(const StagePlay &play);
// The selection after UP (step -1) or DOWN (step 1), skipping unavailable items and wrapping.
int pauseStep(const std::array<int, PAUSE_ITEMS> &available, int selection, int step);
// The item a click on row item selects: it, or the nearest available item above it.
int pauseClickItem(const std::array<int, PAUSE_ITEMS> &available, int item);

void pauseMenu(StagePlay &play);       // the stage's time stands still while it is open
void autoResolveStep(StagePlay &play); // one tick of the replay of the stored solution
void resetBoard(StagePlay &play);      // the start position, for the replay
