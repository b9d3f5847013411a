// Plays picks with the game's own rules: in one step for the search, or on the game's own board tick
// by tick as the stage loop does, for the checks.
#pragma once

#include "main/rules.h"
#include "stagefile.h"

// The board a pick on a fruit leaves once it has settled, worked out by the rules in one step; false
// when the cell holds no fruit.
inline bool nextBoard(const Board &board, const Pick &pick, Board &after) {
    return settlePick(board, pick.column, pick.row, after) > 0;
}

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
