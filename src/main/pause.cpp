// The pause menu, the one-move undo and the automatic solver of a stage.
#include "main/pause.h"

#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys.h"
#include "main/defines.h"
#include "main/draw.h"
#include "main/game.h"
#include "main/i18n.h"
#include "main/menulist.h"
#include "main/rules.h"
#include "main/runner.h"
#include "main/sheets.h"
#include "sound/sound.h"

constexpr int ITEM_HEIGHT = 32;
constexpr int ITEM_TEXT_X = 56, ITEM_ICON_X = 16;

// What the open menu shows: the items it offers and the one selected.
static std::array<int, PAUSE_ITEMS> available;
static MenuList items{PAUSE_ITEMS, available.data(), PAUSE_BACK};

std::array<int, PAUSE_ITEMS> pauseAvailability() {
    int idle = queues.curTrans == 0 && queues.curMove == 0 && queues.curAction == 0 && queues.curEject == 0;
    return {1, play.canUndo && idle, play.movesUsed > 0, play.canSolve && puzzle.currentSol != nullptr, 1};
}

static int itemY(int item) { return images.pauseTitle->h + 16 + ITEM_HEIGHT * item; }

static const TextId itemLabels[PAUSE_ITEMS] = {TEXT_BACK_TO_GAME, TEXT_UNDO_LAST_MOVE, TEXT_RESTART_LEVEL,
                                               TEXT_AUTO_RESOLVE, TEXT_EXIT};

static void drawItem(int item, int withIcon) {
    drawTextAt(screen, text(itemLabels[item]), ITEM_TEXT_X, itemY(item) + 8, fontbig);
    if (withIcon)
        blitImage(sheets.optionsBlocks[item], ITEM_ICON_X, itemY(item), screen);
}

// The frozen stage and the items not selected, darkened. Nothing in it moves while the menu is open,
// so it is drawn once per selection and copied on the ticks after: the darken alone costs more than
// the rest of a pause frame at 24 bits. It lives from the menu's first frame to its closing.
static SDL_Surface *backdrop;
static int backdropSelection; // the selection the backdrop shows

static void drawBackdrop() {
    if (backdrop && backdropSelection == items.selection) {
        blitSurface(backdrop, nullptr, screen, nullptr);
        return;
    }
    drawScreen(play.stage, 0, play.lives, play.movesUsed);
    for (int i = 0; i < PAUSE_ITEMS; i++)
        if (i != items.selection)
            drawItem(i, available[i]);
    darken();
    if (!backdrop)
        backdrop = createImage(SCREEN_WIDTH, SCREEN_HEIGHT);
    if (backdrop) { // without one every tick draws it all
        blitSurface(screen, nullptr, backdrop, nullptr);
        backdropSelection = items.selection;
    }
}

// The frozen stage, darkened, with the selection standing out undarkened.
static void pauseDraw() {
    drawBackdrop();
    blitImage(images.pauseTitle.get(), (SCREEN_WIDTH - images.pauseTitle->w) / 2, 8, screen);
    drawTextAt(screen, ">", 0, itemY(items.selection) + 8, fontbig);
    drawItem(items.selection, 1);
}

static void choose(int item) {
    switch (item) {
    case PAUSE_UNDO:
        if (play.movesUsed > 0 && play.canUndo) {
            setBoard(play.currentUndo);
            play.canUndo = 0;
            play.movesUsed--;
        }
        break;
    case PAUSE_RESTART:
        play.lives--;
        play.restart = 1;
        break;
    case PAUSE_SOLVE:
        play.canSolve = play.lameMode;
        play.solving = 1;
        play.solIndex = -1;
        break;
    case PAUSE_EXIT:
        play.escape = 1;
        play.musicPending = 0;
        break;
    }
}

// The menu opens with BACK TO GAME selected; endTime holds the time left while it is open.
static void pauseEnter() {
    available = pauseAvailability();
    items.selection = PAUSE_BACK;
    play.endTime -= sysTicks();
}

// The directions move the selection; START or JUMP, or a click on the selected item, chooses it.
static void pauseTick() {
    const int32_t typed = input.lastKeyTyped;
    ListAction action;
    if (input.mouseY != -1) {
        const int below = input.mouseY - itemY(0);
        action = listClick(items, below < 0 ? -1 : below / ITEM_HEIGHT);
        input.mouseX = input.mouseY = -1;
    } else {
        const int step =
            typed == CTRL_UP || typed == CTRL_LEFT ? -1 : typed == CTRL_DOWN || typed == CTRL_RIGHT;
        action = ctrlIsConfirm(typed) ? LIST_ACT : listMove(items, step);
    }
    if (action == LIST_MOVED)
        playSFX(SFX_MENU_CONTROL);
    if (action != LIST_ACT)
        return;
    playSFX(SFX_SELECT_OPTION);
    choose(items.selection);
    screenPop();
}

// The stage goes on with the time it had left when the menu opened.
static void pauseLeave() {
    freeSurface(backdrop);
    backdrop = nullptr;
    play.paused = 0;
    play.currentTime = sysTicks();
    play.endTime += play.currentTime;
}

// A further quit request while the menu is open does nothing: the game is left only through EXIT.
const Screen pauseScreen = {"pause", pauseEnter, pauseTick, pauseDraw, pauseLeave, screenIgnoreQuit};

// The replay starts from the stage's start position. Picks, morphs and falls still pending from
// before are dropped with it: their results landing on the fresh board would spoil the replay.
void resetBoard() {
    clearQueues();
    queues.curAction = 0;
    setBoard(startBoard(puzzle.currentSource));
    play.solIndex = 0;
    play.movesUsed = 0;
}

// Called by the stage instead of the controls while the solver runs: the cursor walks to the next
// cell of the solution, columns first, one cell per tick, and picks it as the player would.
void autoResolveStep() {
    play.paused = 0;
    play.escape = 0;
    if (queues.curTrans != 0 || queues.curMove != 0 || queues.curAction != 0 || play.solIndex < 0)
        return;
    int column = play.solIndex < 2 * LEVEL_MAX_SOLUTION ? puzzle.currentSol[play.solIndex] : SOLUTION_END;
    int row = column == SOLUTION_END ? 0 : puzzle.currentSol[play.solIndex + 1];
    if (column >= BOARD_COLUMNS || row >= BOARD_ROWS) { // the end marker, or a broken record
        play.solving = 0;
        return;
    }
    if (column > puzzle.cursorX)
        puzzle.cursorX++;
    else if (column < puzzle.cursorX)
        puzzle.cursorX--;
    else if (row > puzzle.cursorY)
        puzzle.cursorY++;
    else if (row < puzzle.cursorY)
        puzzle.cursorY--;
    else {
        play.solIndex += 2;
        startPick();
    }
}
