// A game: stage after stage, from start to the last stage, game over or exit.
#include "main/game.h"

#include "data/hiscores.h"
#include "gfx/gfx_sdl2.h"
#include "input/fpshelper.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys.h"
#include "main/bganims.h"
#include "main/draw.h"
#include "main/level.h"
#include "main/levelfile.h"
#include "main/pause.h"
#include "main/rules.h"
#include "main/stageend.h"
#include "main/tutorial.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

int32_t hsRank = -1;
int32_t canSolve = 1;
int32_t curBlock, curBirdsBlock, curFlowersBlock;
int32_t lameMode, slowMode;
int32_t curMusic;
uint32_t currentTime, endTime;
int32_t paused, escape, canUndo;
int32_t workflow;
int32_t useSound, loaded, lastLoad;

constexpr uint32_t STAGE_TIME = 120000;  // milliseconds, doubled in slow mode
constexpr uint32_t WARNING_TIME = 10999; // the last 11 seconds tick
constexpr int WARNING_PERIOD = 67;       // ticks between two warning sounds
constexpr int PICK_TICKS = 32;           // the hand's countdown
constexpr int32_t SLEEP_TICKS = 1000;    // idle ticks before the mascot falls asleep

// Every morph that begins and every fruit that lands on the board clicks.
static void clicks(int count) {
    for (; count > 0; count--)
        playSFX(SFX_MENU_CONTROL);
}

// How a stage's ticks ended.
enum StageEnd { END_ESCAPE, END_RESTART, END_WON, END_LOST };

// Called wherever a confirm that ends one screen must not reach the next one.
void gameDrainConfirm() {
    while (ctrlIsConfirm(lastKeyTyped)) {
        checkInput();
        if (done)
            escape = 1;
        sysDelay(100);
    }
}

// Called at the start of a game, after each won stage and on a continue: the fruit, bird and flower
// sheets the next stage uses.
void gameNewSheetVariants() {
    curBlock = rand() & 1;
    curBirdsBlock = rand() & 1;
    curFlowersBlock = rand() & 1;
}

// Called once per tick by the stage loop and the bonus count.
void animateStage() {
    if (curShine > 0)
        doShine();
    if (curEject > 0)
        doEject();
    doLionAnim();
    doBgAnims();
}

// Called by the stage loop's controls and by the solver: a pick at the cursor.
void startPick() {
    actionX = cursorX;
    actionY = cursorY;
    curAction = PICK_TICKS;
    playSFX(SFX_LION_HAND);
    setLionAnim(LION_PICK);
}

// Names in the hiscore table that change the game from the next stage start on.
static void readCheatNames() {
    slowMode = 0;
    lameMode = 0;
    for (const HiscoreEntry &entry : hiscores) {
        if (strcmp(entry.name, "XOBRENT") == 0)
            lameMode = 1;
        else if (strcmp(entry.name, "ZUMVAKE") == 0)
            slowMode = 1;
        else if (strcmp(entry.name, "PLINDO") == 0)
            curBlock = curBirdsBlock = curFlowersBlock = 0;
        else if (strcmp(entry.name, "GRAVUK") == 0)
            curBlock = curBirdsBlock = curFlowersBlock = 1;
    }
}

// Twelve stages share a track; the ten stage tracks repeat after 120 stages.
static int stageTrack(int stage) { return stage < 0 ? 1 : (stage / 12) % 10 + 1; }

static void beginStage(StagePlay &play) {
    readCheatNames();
    if (play.stage < 0)
        loadTestLevel();
    loadLevel(play.stage);
    clearQueues();
    curAction = 0;
    resetDecorations();
    int track = stageTrack(play.stage);
    if (track != curMusic) {
        curMusic = track;
        if (!play.musicLoaded) {
            play.music = loadMusic(track);
            play.musicLoaded = 1;
            MP_FadeInMusic(play.music, -1, 300);
        } else {
            MP_FadeOutMusic(300);
            play.musicPending = 1;
        }
    }
    lastKeyTyped = 0;
    mouseX = mouseY = -1; // a click from the screen before is not the first action of the stage
    canUndo = 0;
    initFPS();
    currentTime = sysTicks();
    endTime = currentTime + (slowMode ? 2 * STAGE_TIME : STAGE_TIME);
    play.warning = 0;
    play.movesUsed = 0;
    play.solving = 0;
}

// The countdown of a pick has ended: the board changes, and a counted move can be undone.
static void applyPick(StagePlay &play) {
    std::array<int32_t, BOARD_CELLS> before = currentLevel;
    if (doSwitch() > 0) {
        play.movesUsed++;
        currentUndo = before;
        canUndo = 1;
    }
}

// A pick is accepted only on an idle board with moves left; anything else just wakes the mascot.
static void tryPick(const StagePlay &play) {
    if (curTrans == 0 && curMove == 0 && curAction == 0 && play.movesUsed < currentMoves)
        startPick();
    else
        lionWakeUp();
}

// The action with a pending click picks the clicked cell; a click beside the board drops it.
static void action(const StagePlay &play) {
    if (mouseY != -1) {
        int x = mouseX, y = mouseY;
        mouseX = mouseY = -1;
        if (x < BOARD_X || y < BOARD_Y || y > BOARD_Y + BOARD_ROWS * CELL_SIZE - 1 ||
            (x - BOARD_X) / CELL_SIZE > BOARD_COLUMNS - 1) {
            lionWakeUp();
            return;
        }
        cursorX = (x - BOARD_X) / CELL_SIZE;
        cursorY = (y - BOARD_Y) / CELL_SIZE;
    }
    tryPick(play);
}

// The cursor's moves; it stops at the board's edges, and every move wakes the mascot.
struct CursorStep {
    int32_t control;
    int dx, dy;
};
static const CursorStep cursorSteps[] = {
    {CTRL_DOWN, 0, 1}, {CTRL_UP, 0, -1}, {CTRL_RIGHT, 1, 0}, {CTRL_LEFT, -1, 0}};

static void controls(const StagePlay &play) {
    for (const CursorStep &step : cursorSteps) {
        if (lastKeyTyped == step.control) {
            cursorX = std::clamp(cursorX + step.dx, 0, BOARD_COLUMNS - 1);
            cursorY = std::clamp(cursorY + step.dy, 0, BOARD_ROWS - 1);
            lionWakeUp();
            return;
        }
    }
    if (lastKeyTyped == CTRL_JUMP)
        action(play);
    else if (++sleepTime == SLEEP_TICKS)
        setLionAnim(LION_SLEEP);
}

// Sparkles now and then on a fruit of the board or the target, and the idle mascot's blinks.
static void decorations() {
    cursorA++;
    if ((rand() & 15) == 0) {
        int column = rand() & 15;
        int row = rand() % BOARD_ROWS;
        int value = 0;
        if (column < BOARD_COLUMNS) {
            if (curTrans == 0 && curMove == 0)
                value = currentLevel[column + BOARD_COLUMNS * row];
        } else {
            value = targetValue(currentSource, column - BOARD_COLUMNS, row);
        }
        if (value > 0)
            addShine(column, row, value); // a cell that already sparkles is left alone
    }
    if (curLionAnim == LION_IDLE) {
        if ((rand() & 511) == 0)
            setLionAnim(LION_SHORT_BLINK);
        else if ((rand() & 1023) == 0)
            setLionAnim(LION_LONG_BLINK);
    }
}

// The end of a drawn tick: -1 plays on, anything else ends the stage's ticks.
static int endTest(const StagePlay &play) {
    if (escape)
        return END_ESCAPE;
    if (play.restart) {
        if (lives > 0)
            return END_RESTART;
        return haveMadeit() ? END_WON : END_LOST;
    }
    if (curTrans > 0 || curMove > 0)
        return -1;
    if (haveMadeit())
        return END_WON;
    if (curEject > 0)
        return -1;
    if (currentTime >= endTime || play.movesUsed >= currentMoves || currentCount < 1)
        return END_LOST;
    return -1;
}

// The stage's ticks, from its start to the first drawn tick whose end test ends it.
static StageEnd playStage(StagePlay &play) {
    for (;;) {
        if (play.musicPending && !MP_PlayingMusic()) {
            stopMusic(play.music);
            play.music = loadMusic(curMusic);
            MP_FadeInMusic(play.music, -1, 300);
            play.musicPending = 0;
        }
        if (currentTime < endTime && endTime - currentTime <= WARNING_TIME) {
            if (play.warning == 0) {
                playSFX(SFX_TIMER_LAST_10_SEC);
                play.warning = WARNING_PERIOD - 1;
            } else {
                play.warning--;
            }
        }
        if (curTrans > 0)
            clicks(doTrans());
        else if (curMove > 0)
            clicks(doMove());
        else if (curAction > 0 && --curAction == 0)
            applyPick(play);

        animateStage();
        checkInput();

        if (done || lastKeyTyped == CTRL_START)
            paused = 1;
        if (play.solving) {
            autoResolveStep(play);
        } else if (paused) {
            pauseMenu(play);
        } else {
            controls(play);
            decorations();
        }
        if (play.solving && play.solIndex < 0)
            resetBoard(play);

        currentTime = sysTicks();
        if (controlFPS()) {
            drawScreen(play.stage, 1, lives, play.movesUsed);
            flipScreen();
            if (!play.musicPending) {
                int end = endTest(play);
                if (end >= 0)
                    return StageEnd(end);
            }
        }
    }
}

// Called by the main menu for a new or continued game, and by the test mode with -1.
void run(int startStage, int a, int b) {
    if (startStage == 0)
        tutorialScreen(a, b);
    score = 0;
    canSolve = 1;
    hsRank = -1;
    lives = 3;
    currentBonus = rand() % 5 + 1;
    gameNewSheetVariants();

    StagePlay play{};
    play.stage = startStage;
    for (;;) {
        if (escape) {
            stopMusic(play.music);
            return;
        }
        beginStage(play);
        switch (playStage(play)) {
        case END_ESCAPE:
            gameDrainConfirm();
            break;
        case END_RESTART:
            play.restart = 0;
            done = 0;
            gameDrainConfirm();
            break;
        case END_WON:
            if (!stageWon(play))
                return;
            break;
        case END_LOST:
            if (!stageLost(play))
                return;
            break;
        }
    }
}
