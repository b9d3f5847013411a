// The end of a stage: the bonus count after a win, the lost-life message, game over and continue.
#pragma once

#include <cstdint>

struct Screen;

struct StageBonus {
    int32_t time; // whole seconds left
    int32_t life; // ten per life, as shown
    int32_t move; // 200 within the solution's length, else ten per move left
};

StageBonus stageBonus();
int lostReason(); // the text id of "TIME UP", "NO MOVE LEFT" or "ALL GONE"

// Each is opened by the game over the finished stage and leaves on its own.
extern const Screen bonusCountScreen; // the points count up; all are added when it leaves
extern const Screen lostLifeScreen;   // the reason the stage was lost
extern const Screen gameOverScreen;   // the score
extern const Screen continueScreen;   // sets play.continueChosen
