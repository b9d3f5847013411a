// The pause menu, the one-move undo and the automatic solver of a stage.
#pragma once

#include "main/level.h"

#include <array>
#include <cstdint>

struct Screen;

constexpr int PAUSE_ITEMS = 5;
enum PauseItem { PAUSE_BACK, PAUSE_UNDO, PAUSE_RESTART, PAUSE_SOLVE, PAUSE_EXIT };

// The pause menu, opened over the stage: the stage's time stands still while it is open.
extern const Screen pauseScreen;

// The items the menu offers now, fixed when it opens.
std::array<int, PAUSE_ITEMS> pauseAvailability();

void autoResolveStep(); // one tick of the replay of the stored solution, instead of the controls
void resetBoard();      // the start position, for the replay
