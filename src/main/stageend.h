// The end of a stage: the bonus count after a win, the lost-life message, game over and continue.
#pragma once

#include "main/game.h"

#include <cstdint>

struct StageBonus {
    int32_t time; // whole seconds left
    int32_t life; // ten per life, as shown
    int32_t move; // 200 within the solution's length, else ten per move left
};

StageBonus stageBonus(const StagePlay &play);
int lostReason(const StagePlay &play); // the text id of "TIME UP", "NO MOVE LEFT" or "ALL GONE"

// Each returns 1 when the game goes on (at play.stage, which a win advances), 0 when run returns.
int stageWon(StagePlay &play);
int stageLost(StagePlay &play); // also a restart chosen with no life left
