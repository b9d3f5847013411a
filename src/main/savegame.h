// The saved game: the stage to continue from, in "savegame.dat".
#pragma once

#include <cstdint>

// The stored bytes are the plain bytes XOR this word, little-endian: mask byte k goes with file byte k.
constexpr uint32_t SAVEGAME_MASK = 0x6B1D93E5u;

extern int32_t saved; // the saved stage number, 0 when none

void saveGame(int stage);
int loadGame();
