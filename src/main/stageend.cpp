// The end of a stage: the bonus count after a win, the lost-life message, game over and continue.
#include "main/stageend.h"

#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "input/fpshelper.h"
#include "input/keyhelper_sdl2.h"
#include "main/bganims.h"
#include "main/defines.h"
#include "main/draw.h"
#include "main/entry.h"
#include "main/i18n.h"
#include "main/level.h"
#include "main/rules.h"
#include "main/savegame.h"
#include "main/sheets.h"
#include "main/tutorial.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <cstdio>
#include <cstdlib>

constexpr int COUNT_END = 360;                                // ticks of the bonus count
constexpr int SHOW_TIME = 30, SHOW_LIFE = 60, SHOW_MOVE = 90; // when each line appears
constexpr int MOVE_BONUS_PERFECT = 200;
constexpr int RATINGS = 5, TEXT_RATING = 57;
constexpr int TEXT_TIME_UP = 44, TEXT_NO_MOVE = 45, TEXT_ALL_GONE = 46;
constexpr int TEXT_TIME_BONUS = 54, TEXT_STAGE_NEXT = 62, TEXT_CONTINUE = 64;
constexpr int TEXT_CONTINUE_CHOICE = 52;

StageBonus stageBonus(const StagePlay &play) {
    StageBonus bonus;
    bonus.time = currentTime < endTime ? int32_t((endTime - currentTime) / 1000) : 0;
    bonus.life = 10 * lives;
    bonus.move = play.movesUsed <= currentMoves - currentBonus ? MOVE_BONUS_PERFECT
                                                               : (currentMoves - play.movesUsed) * 10;
    return bonus;
}

int lostReason(const StagePlay &play) {
    if (currentTime >= endTime)
        return TEXT_TIME_UP;
    return play.movesUsed >= currentMoves ? TEXT_NO_MOVE : TEXT_ALL_GONE;
}

// The stage screen without cursor, darkened, under a message.
static void drawDarkStage(const StagePlay &play) {
    drawScreen(play.stage, 0, lives, play.movesUsed);
    darken();
}

// An entry made earlier in this game (before a continue) keeps blinking in the menu's table
// unless this one enters too.
static void enterHiscore() {
    int32_t earlier = hsRank;
    int32_t rank = checkHiscore();
    hsRank = rank >= 0 ? rank : earlier;
}

// Ends run: the hiscore table follows when an entry was made.
static int endGame(StagePlay &play) {
    if (hsRank >= 0)
        workflow = -3;
    stopMusic(play.music);
    play.music = nullptr;
    return 0;
}

// The bonus lines appear one by one while the points count up, a point a tick; a confirm shows the
// next line at once, and one after the last line ends the count.
static void bonusCount(const StagePlay &play, const StageBonus &bonus) {
    const char *rating = text(TEXT_RATING + rand() % RATINGS);
    const int32_t values[3] = {bonus.time, bonus.life, bonus.move};
    char lines[3][40];
    for (int i = 0; i < 3; i++)
        snprintf(lines[i], sizeof lines[i], "%s: %03d", text(TEXT_TIME_BONUS + i), values[i]);
    char next[40];
    snprintf(next, sizeof next, text(TEXT_STAGE_NEXT), play.stage + 2);
    int hasNext = play.stage + 1 < levelCount;

    initFPS();
    setLionAnim(LION_JUMP);
    int t = 0, pending = 0, credited = 0;
    for (;;) {
        checkInput();
        if (done)
            escape = 1; // the game ends once the count is over and the next stage is saved
        if (curLionAnim != LION_JUMP && ctrlIsConfirm(lastKeyTyped)) {
            if (t < SHOW_TIME)
                t = SHOW_TIME;
            else if (t < SHOW_LIFE)
                t = SHOW_LIFE;
            else if (t <= SHOW_MOVE)
                t = SHOW_MOVE;
            else
                break;
        }
        animateStage();
        if (controlFPS()) {
            drawScreen(play.stage, 0, lives, play.movesUsed);
            if (curLionAnim != LION_JUMP) {
                darken();
                drawTextCenterAt(screen, rating, 70, fontbig);
                for (int i = 0; i < 3; i++)
                    if (t >= SHOW_TIME * (i + 1))
                        drawTextCenterAt(screen, lines[i], 100 + 18 * i, fontbig);
                if (hasNext && (t & 32) == 0)
                    drawTextCenterAt(screen, next, 186, fontbig);
            }
            flipScreen();
        }
        for (; credited < 3 && t >= SHOW_TIME * (credited + 1); credited++)
            pending += credited == 1 ? 10 * lives : values[credited];
        if (pending > 0) {
            pending--;
            addScore(1);
        }
        if (curLionAnim != LION_JUMP && ++t == COUNT_END)
            break;
    }
    if (pending > 0)
        addScore(pending);
}

// Called by run when a drawn tick finds the board equal to the target.
int stageWon(StagePlay &play) {
    bonusCount(play, stageBonus(play));
    currentBonus = rand() % 5 + 1;
    if (play.stage + 1 == levelCount) {
        gameDrainConfirm();
        stopMusic(play.music); // the congratulation screen plays its own track
        play.music = nullptr;
        congratScreen();
        enterHiscore();
        return endGame(play);
    }
    saveGame(play.stage + 1);
    play.stage++;
    gameNewSheetVariants();
    gameDrainConfirm();
    return 1;
}

// Runs a screen loop until the player confirms; draw paints one frame. A click means nothing here
// and is dropped, so that it cannot steer the screen that follows.
template <typename Draw> static void untilConfirm(Draw draw) {
    initFPS();
    for (;;) {
        checkInput();
        mouseX = mouseY = -1;
        if (done)
            escape = 1;
        doLionAnim();
        doBgAnims();
        if (controlFPS()) {
            draw();
            flipScreen();
        }
        if (ctrlIsConfirm(lastKeyTyped))
            return;
    }
}

// LEFT continues, RIGHT leaves; a click decides by its side of the screen.
static int32_t continueChoice() {
    initFPS();
    for (;;) {
        checkInput();
        if (done)
            escape = 1;
        int32_t typed = lastKeyTyped;
        if (mouseY != -1) {
            typed = mouseX <= SCREEN_WIDTH / 2 - 1 ? CTRL_LEFT : CTRL_RIGHT;
            mouseX = mouseY = -1;
        }
        if (controlFPS()) {
            fillRect(screen, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, BLACK);
            drawTextCenterAt(screen, text(TEXT_CONTINUE), 96, fontbig);
            drawTextCenterAt(screen, text(TEXT_CONTINUE_CHOICE), 128, font);
            flipScreen();
        }
        if (typed == CTRL_LEFT || typed == CTRL_RIGHT)
            return typed;
    }
}

static int gameOver(StagePlay &play) {
    gameDrainConfirm();
    stopMusic(play.music);
    curMusic = 0;
    play.music = loadMusic(0);
    play.musicLoaded = 1;
    MP_PlayMusic(play.music, -1);

    char scoreText[40];
    snprintf(scoreText, sizeof scoreText, "%s: %d", text(TEXT_SCORE), score);
    untilConfirm([&] {
        drawDarkStage(play);
        blitImage(gameover, (SCREEN_WIDTH - gameover->w) / 2, 48, screen);
        drawTextCenterAt(screen, scoreText, 160, fontbig);
        drawTextCenterAt(screen, text(TEXT_HIT_KEY), 192, font);
    });
    gameDrainConfirm();
    enterHiscore();

    int32_t choice = continueChoice();
    done = 0;
    if (choice == CTRL_RIGHT)
        return endGame(play);
    escape = 0;
    score = 0;
    lives = 3;
    currentBonus = rand() % 5 + 1;
    play.restart = 0;
    gameNewSheetVariants();
    gameDrainConfirm();
    return 1;
}

// Called by run when a drawn tick finds the stage lost, or a restart chosen with no life left.
int stageLost(StagePlay &play) {
    lives--;
    if (lives < 1)
        return gameOver(play);
    int reason = lostReason(play);
    gameDrainConfirm();
    untilConfirm([&] {
        drawDarkStage(play);
        drawTextCenterAt(screen, text(reason), 112, fontbig);
        drawTextCenterAt(screen, text(TEXT_HIT_KEY), 136, font);
    });
    gameDrainConfirm();
    done = 0;
    escape = 0;
    play.restart = 0;
    return 1;
}
