// Plays picks on the game's own board with the game's own rules, tick by tick as the stage loop does.
#include "play.h"

#include "main/level.h"
#include "main/rules.h"

#include <algorithm>

// A pick settles within a few hundred ticks (morphs, then falls of at most nine rows); a board still
// busy after this many has gone wrong.
constexpr int MAX_SETTLE_TICKS = 10000;

void placeBoard(const Board &board) {
    clearQueues();
    queues.curAction = 0;
    Cells cells{};
    std::copy(board.begin(), board.end(), cells.begin());
    setBoard(cells);
}

Board boardNow() {
    Board board{};
    for (int i = 0; i < BOARD_CELLS; i++)
        board[i] = uint8_t(puzzle.currentLevel[i]);
    return board;
}

int playPick(const Pick &pick) {
    queues.actionX = pick.column;
    queues.actionY = pick.row;
    int steps = doSwitch();
    for (int tick = 0; queues.curTrans > 0 || queues.curMove > 0; tick++) {
        if (tick == MAX_SETTLE_TICKS)
            return -1;
        if (queues.curTrans > 0)
            doTrans();
        else
            doMove();
        if (queues.curEject > 0)
            doEject();
    }
    return steps;
}

bool settledPick(const Board &board, const Pick &pick, Board &after) {
    placeBoard(board);
    if (playPick(pick) <= 0)
        return false;
    after = boardNow();
    return true;
}
