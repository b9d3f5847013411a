// The front end: the title screen, the main menu and the hiscore table, over a parallax background
// of three layers that the options screen shares.
#include "main/menu.h"

#include "data/hiscores.h"
#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "input/keyhelper_sdl2.h"
#include "main/credits.h"
#include "main/defines.h"
#include "main/draw.h"
#include "main/game.h"
#include "main/i18n.h"
#include "main/menulist.h"
#include "main/options.h"
#include "main/runner.h"
#include "main/savegame.h"
#include "main/sheets.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <cstdio>
#include <cstdlib>

int32_t workflow;

constexpr int MENU_ITEMS = 5;
constexpr int ITEM_Y = 104, ITEM_SPACING = 18; // also the rows a click selects
constexpr int PRESS_START_Y = 128, LOGO_RAISE = 56;
constexpr int TABLE_TITLE_Y = 16, TABLE_Y = 48, TABLE_SPACING = 18, TABLE_NAME_X = 48, TABLE_SCORE_X = 192;
constexpr uint32_t BLINK = 32; // frames shown, then as many hidden
constexpr int NO_GAME = -1;

// What the menu keeps from tick to tick.
static struct {
    ModPlugFile *music;  // the title track, or the sound check's
    uint32_t frames;     // drives the blinking
    uint32_t c1, c2, c3; // the layers scroll by half of these, in pixels
    int gameStage;       // the stage a chosen game starts at once no control is held, or NO_GAME
    bool inGame;         // a game is running above the menu
} loop;

static int blinkShows() { return (loop.frames & BLINK) == 0; }

ModPlugFile *&menuMusic() { return loop.music; }

static void startMenuMusic() {
    curMusic = MUSIC_TITLE_TRACK;
    loop.music = loadMusic(MUSIC_TITLE_TRACK);
    MP_FadeInMusic(loop.music, -1, 300);
}

// Scrolling and blinking go on whether the tick is drawn or not.
void menuAnimate() {
    rand();
    stepScroller();
    loop.frames++;
    loop.c1 += 1;
    loop.c2 += 2;
    loop.c3 += 3;
}

// Each layer tiled from its column c / 2: the three scroll left at 0.5, 1 and 1.5 pixels a tick.
void menuDrawLayers() {
    const uint32_t counters[3] = {loop.c1, loop.c2, loop.c3};
    for (int n = 0; n < 3; n++)
        drawLoop(images.menubkg[n].get(), int(counters[n] / 2));
}

// The hiscore table: START or JUMP leaves it with HISCORES selected, and the entry just made stops
// blinking; a quit request only leaves it.
static void tableEnter() { workflow = MENU_HISCORE_TABLE; }

static void tableTick() {
    if (ctrlIsConfirm(input.lastKeyTyped)) {
        play.hsRank = -1;
        screenPop();
        return;
    }
    menuAnimate();
}

static void tableDraw() {
    menuDrawLayers();
    drawTextCenterAt(screen, text(TEXT_HISCORES), TABLE_TITLE_Y, fontbig);
    for (int k = 0; k < HISCORE_ENTRIES; k++) {
        if (k == play.hsRank && !blinkShows())
            continue;
        const int y = TABLE_Y + TABLE_SPACING * k;
        char points[16];
        snprintf(points, sizeof points, "%05d", int(hiscores[k].score));
        drawTextAt(screen, hiscores[k].name, TABLE_NAME_X, y, fontbig);
        drawTextAt(screen, points, TABLE_SCORE_X, y, fontbig);
    }
}

static void tableLeave() { workflow = MENU_HISCORES; }

static const Screen hiscoreTableScreen = {"hiscore table", tableEnter, tableTick,
                                          tableDraw,       tableLeave, screenPop};

// A whole game from the main menu, once no control is held any more.
static void startGame(int startStage) { loop.gameStage = startStage; }

static void launchGame() {
    stopMusic(loop.music);
    loop.music = nullptr;
    run(loop.gameStage, int(loop.c1), int(loop.c2));
    loop.gameStage = NO_GAME;
    loop.inGame = true;
}

// Back from a game: the title, or the hiscore table when the game ended with an entry in it. A quit
// request made during the entry ends the program now.
static void afterGame() {
    loop.inGame = false;
    if (play.quitRequested) {
        screenPop();
        return;
    }
    workflow = MENU_TITLE;
    setupScroller();
    play.escape = 0;
    startMenuMusic();
    if (play.enteredHiscore)
        screenPush(hiscoreTableScreen);
}

static void newGame() { startGame(0); }
static void continueGame() { startGame(saved); } // no saved game: 0, a new game
static void openHiscores() { screenPush(hiscoreTableScreen); }
static void openOptions() { screenPush(optionsScreen); }
static void exitMenu() { screenPop(); }

// The main menu, states 1 to 5 in order.
struct MenuItem {
    TextId label;
    int withSound; // "select_option" before the choice acts
    void (*choose)();
};
static const MenuItem menuItems[MENU_ITEMS] = {
    {TEXT_NEW_GAME, 1, newGame},    {TEXT_CONTINUE, 1, continueGame}, {TEXT_HISCORES, 0, openHiscores},
    {TEXT_OPTIONS, 0, openOptions}, {TEXT_EXIT, 1, exitMenu},
};

// The row of the item under a pending click, which is used up, or -1.
static int clickedItem() {
    if (input.mouseY == -1)
        return -1;
    const int below = input.mouseY - ITEM_Y;
    input.mouseX = input.mouseY = -1;
    return below < 0 ? -1 : below / ITEM_SPACING;
}

static void choose(const MenuItem &item) {
    if (item.withSound)
        playSFX(SFX_SELECT_OPTION);
    item.choose();
}

// START or JUMP goes on to the main menu at CONTINUE when there is a saved game, else at NEW GAME;
// a direction goes there too, or a click on an item's row, selecting it.
static void titleInput(int32_t typed, int clicked) {
    if (clicked >= 0 && clicked < MENU_ITEMS) {
        workflow = clicked + 1;
        playSFX(SFX_MENU_CONTROL);
    } else if (ctrlIsConfirm(typed)) {
        screenDrainConfirm();
        workflow = saved >= 1 ? MENU_CONTINUE : MENU_NEW_GAME;
    } else if (typed == CTRL_RIGHT || typed == CTRL_DOWN) {
        workflow = MENU_NEW_GAME;
        playSFX(SFX_MENU_CONTROL);
    } else if (typed == CTRL_LEFT || typed == CTRL_UP) {
        workflow = MENU_EXIT;
        playSFX(SFX_MENU_CONTROL);
    }
}

// The directions move through the five items, a click selects one; START, JUMP or a click on the
// selected item chooses it. A click takes the tick.
static void mainMenuInput(int32_t typed, int clicked, bool click) {
    MenuList items{MENU_ITEMS, nullptr, workflow - 1};
    ListAction action;
    if (click) {
        action = listClick(items, clicked);
    } else {
        const int step =
            typed == CTRL_UP || typed == CTRL_LEFT ? -1 : typed == CTRL_DOWN || typed == CTRL_RIGHT;
        action = ctrlIsConfirm(typed) ? LIST_ACT : listMove(items, step);
    }
    workflow = items.selection + 1;
    if (action == LIST_MOVED)
        playSFX(SFX_MENU_CONTROL);
    else if (action == LIST_ACT)
        choose(menuItems[items.selection]);
}

// The menu's assets are set up, the saved game read and the title track started.
static void menuEnter() {
    initStuff();
    saved = loadGame();
    loop = {};
    loop.gameStage = NO_GAME;
    startMenuMusic();
}

static void menuTick() {
    if (loop.inGame) {
        afterGame();
        return;
    }
    if (loop.gameStage != NO_GAME) {
        if (input.lastKey == 0)
            launchGame();
    } else {
        const bool click = input.mouseY != -1;
        const int clicked = clickedItem();
        const int32_t typed = click ? 0 : input.lastKeyTyped;
        if (workflow == MENU_TITLE)
            titleInput(typed, clicked);
        else
            mainMenuInput(typed, clicked, click);
    }
    menuAnimate();
}

static void menuDraw() {
    menuDrawLayers();
    blitImage(images.logo.get(), (SCREEN_WIDTH - images.logo->w) / 2,
              (SCREEN_HEIGHT - images.logo->h) / 2 - LOGO_RAISE, screen);
    drawTextCenterAt(screen, VERSION_LINE, VERSION_Y, fontbig);
    drawScroller();
    if (workflow == MENU_TITLE) {
        if (blinkShows())
            drawTextCenterAt(screen, text(TEXT_PRESS_START), PRESS_START_Y, fontbig);
        return;
    }
    for (int i = 0; i < MENU_ITEMS; i++)
        if (i + 1 != workflow || blinkShows())
            drawTextCenterAt(screen, text(menuItems[i].label), ITEM_Y + ITEM_SPACING * i, fontbig);
}

static void menuLeave() {
    stopMusic(loop.music);
    loop.music = nullptr;
}

// A quit request on the title or the main menu ends the program.
const Screen menuScreen = {"menu", menuEnter, menuTick, menuDraw, menuLeave, screenPop};
