// Plays picks on the game's own board with the game's own rules, tick by tick as the stage loop does.
#pragma once

#include "stagefile.h"

// Sets the game's board to board with every queue empty and no pick pending, as a stage starts.
void placeBoard(const Board &board);
Board boardNow();

// Picks a cell of the game's board and runs the queues until nothing morphs or falls: each tick
// either one morph step or, when no morph is left, one fall step, with the flying pieces moving
// on as they do in play. Returns doSwitch's result (0: not a fruit), or -1 when the board never
// came to rest.
int playPick(const Pick &pick);

// The board a pick on a fruit leaves behind once it has settled, in after; false when the cell holds
// no fruit or the board never came to rest. The game's rand() decides the delays on the way.
bool settledPick(const Board &board, const Pick &pick, Board &after);
