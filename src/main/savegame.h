// The saved game: the stage to continue from, in "savegame.dat".
#pragma once

#include <cstdint>

extern int32_t saved;  // the saved stage number, 0 when none

void saveGame(int stage);
int loadGame();
