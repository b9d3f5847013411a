// A game: stage after stage, from start to the last stage, game over or exit.
#include "main/game.h"

#include "data/hiscores.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys.h"
#include "main/bganims.h"
#include "main/draw.h"
#include "main/entry.h"
#include "main/level.h"
#include "main/levelfile.h"
#include "main/pause.h"
#include "main/rules.h"
#include "main/runner.h"
#include "main/savegame.h"
#include "main/stageend.h"
#include "main/tutorial.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

StagePlay play;

constexpr uint32_t STAGE_TIME = 120000;  // milliseconds, doubled in slow mode
constexpr uint32_t WARNING_TIME = 10999; // the last 11 seconds tick
constexpr int WARNING_PERIOD = 67;       // ticks between two warning sounds
constexpr int PICK_TICKS = 32;           // the hand's countdown
constexpr int32_t SLEEP_TICKS = 1000;    // idle ticks before the mascot falls asleep
constexpr int32_t LIFE_SCORE = 2500;
constexpr int START_LIVES = 3;

// A life for every multiple of 2500 the score passes, several at once if need be.
void addScore(int points) {
    play.lives += (play.score + points) / LIFE_SCORE - play.score / LIFE_SCORE;
    play.score += points;
}

// Called at the start of a game, after each won stage and on a continue: the fruit, bird and flower
// sheets the next stage uses.
void gameNewSheetVariants() {
    play.curBlock = rand() & 1;
    play.curBirdsBlock = rand() & 1;
    play.curFlowersBlock = rand() & 1;
}

// Called once per tick by the stage and the bonus count.
void animateStage() {
    if (queues.curShine > 0)
        doShine();
    if (queues.curEject > 0)
        doEject();
    doLionAnim();
    doBgAnims();
}

// Called by the stage's controls and by the solver: a pick at the cursor.
void startPick() {
    queues.actionX = puzzle.cursorX;
    queues.actionY = puzzle.cursorY;
    queues.curAction = PICK_TICKS;
    playSFX(SFX_LION_HAND);
    setLionAnim(LION_PICK);
}

// Names in the hiscore table that change the game from the next stage start on.
static void readCheatNames() {
    play.slowMode = 0;
    play.lameMode = 0;
    for (const HiscoreEntry &entry : hiscores) {
        if (strcmp(entry.name, "XOBRENT") == 0)
            play.lameMode = 1;
        else if (strcmp(entry.name, "ZUMVAKE") == 0)
            play.slowMode = 1;
        else if (strcmp(entry.name, "PLINDO") == 0)
            play.curBlock = play.curBirdsBlock = play.curFlowersBlock = 0;
        else if (strcmp(entry.name, "GRAVUK") == 0)
            play.curBlock = play.curBirdsBlock = play.curFlowersBlock = 1;
    }
}

// Twelve stages share a track; the ten stage tracks repeat after 120 stages.
static int stageTrack(int stage) { return stage < 0 ? 1 : (stage / 12) % 10 + 1; }

// The stage start: the level, its music, its time.
static void stageEnter() {
    readCheatNames();
    if (play.stage < 0)
        loadTestLevel();
    loadLevel(play.stage);
    clearQueues();
    queues.curAction = 0;
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
    play.canUndo = 0;
    play.currentTime = sysTicks();
    play.endTime = play.currentTime + (play.slowMode ? 2 * STAGE_TIME : STAGE_TIME);
    play.warning = 0;
    play.movesUsed = 0;
    play.solving = 0;
    play.pauseClosed = 0;
}

// Every morph that begins and every fruit that lands on the board clicks; morphs score.
static void applyRuleEvents(const RuleEvents &events) {
    for (int n = events.morphsBegun + events.fruitsLanded; n > 0; n--)
        playSFX(SFX_MENU_CONTROL);
    if (events.points > 0)
        addScore(events.points);
}

// The countdown of a pick has ended: the board changes, and a counted move can be undone.
static void applyPick() {
    Cells before = puzzle.currentLevel;
    if (doSwitch() > 0) {
        play.movesUsed++;
        play.currentUndo = before;
        play.canUndo = 1;
    }
}

// A pick is accepted only on an idle board with moves left; anything else just wakes the mascot.
static void tryPick() {
    if (queues.curTrans == 0 && queues.curMove == 0 && queues.curAction == 0 &&
        play.movesUsed < puzzle.currentMoves)
        startPick();
    else
        lionWakeUp();
}

// A click on a cell of the board moves the cursor there, and a click on the cursor's cell picks it, so
// that a mouse alone can play; a click beside the board only wakes the mascot.
static void click() {
    const int x = input.mouseX, y = input.mouseY;
    input.mouseX = input.mouseY = -1;
    if (x < BOARD_X || y < BOARD_Y || y > BOARD_Y + BOARD_ROWS * CELL_SIZE - 1 ||
        (x - BOARD_X) / CELL_SIZE > BOARD_COLUMNS - 1) {
        lionWakeUp();
        return;
    }
    const int column = (x - BOARD_X) / CELL_SIZE, row = (y - BOARD_Y) / CELL_SIZE;
    if (column == puzzle.cursorX && row == puzzle.cursorY) {
        tryPick();
        return;
    }
    puzzle.cursorX = column;
    puzzle.cursorY = row;
    lionWakeUp();
}

// The cursor's moves; it stops at the board's edges, and every move wakes the mascot.
struct CursorStep {
    int32_t control;
    int dx, dy;
};
static const CursorStep cursorSteps[] = {
    {CTRL_DOWN, 0, 1}, {CTRL_UP, 0, -1}, {CTRL_RIGHT, 1, 0}, {CTRL_LEFT, -1, 0}};

static void controls() {
    for (const CursorStep &step : cursorSteps) {
        if (input.lastKeyTyped == step.control) {
            puzzle.cursorX = std::clamp(puzzle.cursorX + step.dx, 0, BOARD_COLUMNS - 1);
            puzzle.cursorY = std::clamp(puzzle.cursorY + step.dy, 0, BOARD_ROWS - 1);
            lionWakeUp();
            return;
        }
    }
    if (input.mouseY != -1)
        click();
    else if (input.lastKeyTyped == CTRL_JUMP)
        tryPick();
    else if (++anims.sleepTime == SLEEP_TICKS)
        setLionAnim(LION_SLEEP);
}

// Sparkles now and then on a fruit of the board or the target, and the idle mascot's blinks.
static void decorations() {
    puzzle.cursorA++;
    if ((rand() & 15) == 0) {
        int column = rand() & 15;
        int row = rand() % BOARD_ROWS;
        int value = 0;
        if (column < BOARD_COLUMNS) {
            if (queues.curTrans == 0 && queues.curMove == 0)
                value = puzzle.currentLevel[column + BOARD_COLUMNS * row];
        } else {
            value = targetValue(puzzle.currentSource, column - BOARD_COLUMNS, row);
        }
        if (value > 0)
            addShine(column, row, value); // a cell that already sparkles is left alone
    }
    if (anims.curLionAnim == LION_IDLE) {
        if ((rand() & 511) == 0)
            setLionAnim(LION_SHORT_BLINK);
        else if ((rand() & 1023) == 0)
            setLionAnim(LION_LONG_BLINK);
    }
}

// The end of a drawn tick: -1 plays on, anything else ends the stage.
static int endTest() {
    if (play.escape)
        return END_ESCAPE;
    if (play.restart) {
        if (play.lives > 0)
            return END_RESTART;
        return haveMadeit() ? END_WON : END_LOST;
    }
    if (queues.curTrans > 0 || queues.curMove > 0)
        return -1;
    if (haveMadeit())
        return END_WON;
    if (queues.curEject > 0)
        return -1;
    if (play.currentTime >= play.endTime || play.movesUsed >= puzzle.currentMoves || puzzle.currentCount < 1)
        return END_LOST;
    return -1;
}

// The rest of a tick, after the controls or the pause menu: a board reset the solver asked for, the
// clock, and on a drawn tick without a music switch pending, the end tests.
static void finishTick() {
    if (play.solving && play.solIndex < 0)
        resetBoard();
    play.currentTime = sysTicks();
    if (!screenDrawn() || play.musicPending)
        return;
    int end = endTest();
    if (end < 0)
        return;
    play.end = StageEnd(end);
    play.step = STEP_STAGE_OVER;
    screenPop();
}

static void stageTick() {
    if (play.pauseClosed) { // the tick the pause menu opened in goes on
        play.pauseClosed = 0;
        finishTick();
        return;
    }
    if (play.musicPending && !MP_PlayingMusic()) {
        stopMusic(play.music);
        play.music = loadMusic(curMusic);
        MP_FadeInMusic(play.music, -1, 300);
        play.musicPending = 0;
    }
    if (play.currentTime < play.endTime && play.endTime - play.currentTime <= WARNING_TIME) {
        if (play.warning == 0) {
            playSFX(SFX_TIMER_LAST_10_SEC);
            play.warning = WARNING_PERIOD - 1;
        } else {
            play.warning--;
        }
    }
    if (queues.curTrans > 0)
        applyRuleEvents(doTrans());
    else if (queues.curMove > 0)
        applyRuleEvents(doMove());
    else if (queues.curAction > 0 && --queues.curAction == 0)
        applyPick();
    animateStage();

    // START, a right click or turning away (the window lost, the pad pulled out) opens the pause menu.
    if (input.lastKeyTyped == CTRL_START || input.rightClick || screenPlayerAway())
        play.paused = 1;
    if (play.solving) {
        autoResolveStep();
    } else if (play.paused) {
        play.pauseClosed = 1;
        screenPush(pauseScreen);
        return;
    } else {
        controls();
        decorations();
    }
    finishTick();
}

static void stageDraw() { drawScreen(play.stage, 1, play.lives, play.movesUsed); }

// A closed window or Escape opens the pause menu, as START does; the solver ignores it.
static void stageQuit() {
    if (!play.solving)
        play.paused = 1;
}

const Screen stageScreen = {"stage", stageEnter, stageTick, stageDraw, nullptr, stageQuit};

// The game ends: back to the menu, which shows the hiscore table when asked to.
static void gameEnds(bool showHiscores) {
    play.enteredHiscore = showHiscores && play.hsRank >= 0;
    stopMusic(play.music);
    play.music = nullptr;
    play.step = STEP_OVER;
}

// A stage has ended: the bonus count, the lost-life message or game over, or the next stage start.
static void stageOver() {
    switch (play.end) {
    case END_ESCAPE:
        screenDrainConfirm();
        play.step = STEP_STAGE;
        break;
    case END_RESTART:
        play.restart = 0;
        screenDrainConfirm();
        play.step = STEP_STAGE;
        break;
    case END_WON:
        play.restart = 0; // RESTART LEVEL chosen as the board settled solved: the win counts
        screenPush(bonusCountScreen);
        play.step = STEP_COUNTED;
        break;
    case END_LOST:
        play.lives--;
        screenDrainConfirm();
        if (play.lives < 1) {
            stopMusic(play.music);
            curMusic = 0;
            play.music = loadMusic(0);
            play.musicLoaded = 1;
            MP_PlayMusic(play.music, -1);
            screenPush(gameOverScreen);
            play.step = STEP_GAME_OVER_SEEN;
        } else {
            screenPush(lostLifeScreen);
            play.step = STEP_LIFE_LOST;
        }
        break;
    }
}

// The bonus is counted: the next stage, or the ending after the last one.
static void counted() {
    puzzle.currentBonus = rand() % 5 + 1;
    screenDrainConfirm();
    if (play.stage + 1 == levelSet.levelCount) {
        stopMusic(play.music); // the congratulation screen plays its own track
        play.music = nullptr;
        screenPush(endingScreen);
        play.step = STEP_ENDING_SEEN;
        return;
    }
    if (play.stage >= 0) // the test stage leaves the player's saved game alone
        saveGame(play.stage + 1);
    play.stage++;
    gameNewSheetVariants();
    play.step = STEP_STAGE;
}

// A continue: the same stage, with a fresh score and three lives.
static void continued() {
    play.escape = 0;
    play.score = 0;
    play.lives = START_LIVES;
    puzzle.currentBonus = rand() % 5 + 1;
    play.restart = 0;
    gameNewSheetVariants();
    screenDrainConfirm();
    play.step = STEP_STAGE;
}

// The game's course: runs whenever no screen of the game is above it, that is at its start and each
// time the screen above has finished, and opens the next one.
static void gameTick() {
    switch (play.step) {
    case STEP_STAGE:
        if (play.escape) {
            gameEnds(false);
            screenPop();
            return;
        }
        screenPush(stageScreen);
        break;
    case STEP_STAGE_OVER:
        stageOver();
        break;
    case STEP_COUNTED:
        counted();
        break;
    case STEP_ENDING_SEEN:
        screenPush(entryScreen);
        play.step = STEP_ENTERED_AT_END;
        break;
    case STEP_ENTERED_AT_END:
        gameEnds(true);
        break;
    case STEP_LIFE_LOST: // a quit request on the message is discarded
        screenDrainConfirm();
        play.escape = 0;
        play.restart = 0;
        play.step = STEP_STAGE;
        break;
    case STEP_GAME_OVER_SEEN:
        screenDrainConfirm();
        screenPush(entryScreen);
        play.step = STEP_ENTERED_GAME_OVER;
        break;
    case STEP_ENTERED_GAME_OVER:
        if (play.quitRequested) {
            gameEnds(true);
            break;
        }
        screenPush(continueScreen);
        play.step = STEP_CONTINUE_CHOSEN;
        break;
    case STEP_CONTINUE_CHOSEN:
        if (play.continueChosen)
            continued();
        else
            gameEnds(true);
        break;
    case STEP_OVER:
        screenPop();
        break;
    }
}

// The game start; a new game shows the tutorial first.
static void gameEnter() {
    play.score = 0;
    play.canSolve = 1;
    play.hsRank = -1;
    play.lives = START_LIVES;
    puzzle.currentBonus = rand() % 5 + 1;
    gameNewSheetVariants();
    play.step = STEP_STAGE;
    if (play.stage == 0)
        screenPush(tutorialScreen);
}

// The music of a game cut short (the program ends during it) stops with it.
static void gameLeave() {
    stopMusic(play.music);
    play.music = nullptr;
}

const Screen gameScreen = {"game", gameEnter, gameTick, nullptr, gameLeave, nullptr};

void run(int startStage, int a, int b) {
    play = StagePlay{};
    play.stage = startStage;
    play.tutorialC1 = a;
    play.tutorialC2 = b;
    screenPush(gameScreen);
}
