// The end of a stage: the bonus count after a win, the lost-life message, game over and continue.
#include "main/stageend.h"

#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "input/keyhelper_sdl2.h"
#include "main/bganims.h"
#include "main/defines.h"
#include "main/draw.h"
#include "main/game.h"
#include "main/i18n.h"
#include "main/level.h"
#include "main/runner.h"
#include "main/sheets.h"

#include <cstdio>
#include <cstdlib>

constexpr int COUNT_END = 360;                                // ticks of the bonus count
constexpr int SHOW_TIME = 30, SHOW_LIFE = 60, SHOW_MOVE = 90; // when each line appears
constexpr int MOVE_BONUS_PERFECT = 200;
constexpr int RATINGS = 5;

StageBonus stageBonus() {
    StageBonus bonus;
    bonus.time = play.currentTime < play.endTime ? int32_t((play.endTime - play.currentTime) / 1000) : 0;
    bonus.life = 10 * play.lives;
    bonus.move = play.movesUsed <= puzzle.currentMoves - puzzle.currentBonus
                     ? MOVE_BONUS_PERFECT
                     : (puzzle.currentMoves - play.movesUsed) * 10;
    return bonus;
}

int lostReason() {
    if (play.currentTime >= play.endTime)
        return TEXT_TIME_UP;
    return play.movesUsed >= puzzle.currentMoves ? TEXT_NO_MOVE_LEFT : TEXT_ALL_GONE;
}

// The stage screen without cursor, darkened, under a message.
static void drawDarkStage() {
    drawScreen(play.stage, 0, play.lives, play.movesUsed);
    darken();
}

// The bonus lines appear one by one while the points count up, a point a tick; a confirm shows the
// next line at once, and one after the last line ends the count. While the mascot jumps the count
// stands still and only the stage shows.
static struct {
    const char *rating;
    int32_t values[3];
    char lines[3][40];
    char next[40];
    int hasNext;
    int t, pending, credited;
} count;

static void countEnter() {
    const StageBonus bonus = stageBonus();
    count.rating = text(TEXT_RATING_CONGRATULATIONS + rand() % RATINGS);
    count.values[0] = bonus.time;
    count.values[1] = bonus.life;
    count.values[2] = bonus.move;
    for (int i = 0; i < 3; i++)
        snprintf(count.lines[i], sizeof count.lines[i], "%s: %03d", text(TEXT_TIME_BONUS + i),
                 count.values[i]);
    snprintf(count.next, sizeof count.next, text(TEXT_STAGE_NEXT), play.stage + 2);
    count.hasNext = play.stage + 1 < levelSet.levelCount;
    count.t = count.pending = count.credited = 0;
    setLionAnim(LION_JUMP);
}

static void countTick() {
    const bool jumping = anims.curLionAnim == LION_JUMP;
    if (!jumping && ctrlIsConfirm(input.lastKeyTyped)) {
        if (count.t < SHOW_TIME)
            count.t = SHOW_TIME;
        else if (count.t < SHOW_LIFE)
            count.t = SHOW_LIFE;
        else if (count.t <= SHOW_MOVE)
            count.t = SHOW_MOVE;
        else {
            screenPop();
            return;
        }
    }
    animateStage();
    for (; count.credited < 3 && count.t >= SHOW_TIME * (count.credited + 1); count.credited++)
        count.pending += count.credited == 1 ? 10 * play.lives : count.values[count.credited];
    if (count.pending > 0) {
        count.pending--;
        addScore(1);
    }
    if (!jumping && ++count.t == COUNT_END)
        screenPop();
}

static void countDraw() {
    drawScreen(play.stage, 0, play.lives, play.movesUsed);
    if (anims.curLionAnim == LION_JUMP)
        return;
    darken();
    drawTextCenterAt(screen, count.rating, 70, fontbig);
    for (int i = 0; i < 3; i++)
        if (count.t >= SHOW_TIME * (i + 1))
            drawTextCenterAt(screen, count.lines[i], 100 + 18 * i, fontbig);
    if (count.hasNext && (count.t & 32) == 0)
        drawTextCenterAt(screen, count.next, 186, fontbig);
}

// What is still counting is added at once.
static void countLeave() {
    if (count.pending > 0)
        addScore(count.pending);
    count.pending = 0;
}

// A quit request ends the game once the count is over and the next stage is saved.
static void countQuit() { play.escape = 1; }

const Screen bonusCountScreen = {"bonus count", countEnter, countTick, countDraw, countLeave, countQuit};

// The lost-life and game-over messages wait for any key, pad button or click while the mascot and
// the scenery move on.
static void untilAnyKey() {
    if (ctrlHitAnyKey()) {
        screenPop();
        return;
    }
    doLionAnim();
    doBgAnims();
}

static int reason; // the lost-life message's text id

static void lostLifeEnter() { reason = lostReason(); }

static void lostLifeDraw() {
    drawDarkStage();
    drawTextCenterAt(screen, text(reason), 112, fontbig);
    drawTextCenterAt(screen, text(TEXT_HIT_KEY), 136, font);
}

const Screen lostLifeScreen = {"lost life",  lostLifeEnter, untilAnyKey,
                               lostLifeDraw, nullptr,       screenIgnoreQuit};

static char scoreText[40];

static void gameOverEnter() { snprintf(scoreText, sizeof scoreText, "%s: %d", text(TEXT_SCORE), play.score); }

static void gameOverDraw() {
    drawDarkStage();
    blitImage(images.gameover.get(), (SCREEN_WIDTH - images.gameover->w) / 2, 48, screen);
    drawTextCenterAt(screen, scoreText, 160, fontbig);
    drawTextCenterAt(screen, text(TEXT_HIT_KEY), 192, font);
}

const Screen gameOverScreen = {"game over",  gameOverEnter, untilAnyKey,
                               gameOverDraw, nullptr,       screenIgnoreQuit};

// LEFT continues, RIGHT leaves; a click decides by its side of the screen.
static void continueTick() {
    int32_t typed = input.lastKeyTyped;
    if (input.mouseY != -1) {
        typed = input.mouseX <= SCREEN_WIDTH / 2 - 1 ? CTRL_LEFT : CTRL_RIGHT;
        input.mouseX = input.mouseY = -1;
    }
    if (typed != CTRL_LEFT && typed != CTRL_RIGHT)
        return;
    play.continueChosen = typed == CTRL_LEFT;
    screenPop();
}

static void continueDraw() {
    fillRect(screen, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, BLACK);
    drawTextCenterAt(screen, text(TEXT_CONTINUE_QUESTION), 96, fontbig);
    drawTextCenterAt(screen, text(TEXT_CONTINUE_CHOICE), 128, font);
}

const Screen continueScreen = {"continue", nullptr, continueTick, continueDraw, nullptr, screenIgnoreQuit};
