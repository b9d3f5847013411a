// The front end: the title screen, the main menu and the hiscore table, with the options screen
// in the same frame loop, over a parallax background of three layers.
#include "main/menu.h"

#include "data/hiscores.h"
#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "input/fpshelper.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys.h"
#include "main/credits.h"
#include "main/defines.h"
#include "main/draw.h"
#include "main/game.h"
#include "main/i18n.h"
#include "main/options.h"
#include "main/savegame.h"
#include "main/sheets.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <cstdio>
#include <cstdlib>

constexpr int TEXT_PRESS_START = 5, TEXT_HISCORES = 8;
constexpr int MENU_ITEMS = 5;
constexpr int ITEM_Y = 104, ITEM_SPACING = 18; // also the rows a click selects
constexpr int PRESS_START_Y = 128, LOGO_RAISE = 56;
constexpr int TABLE_TITLE_Y = 16, TABLE_Y = 48, TABLE_SPACING = 18, TABLE_NAME_X = 48, TABLE_SCORE_X = 192;
constexpr uint32_t BLINK = 32; // frames shown, then as many hidden

// What one call of menu keeps from frame to frame.
struct MenuLoop {
    ModPlugFile *music;  // the title track, or the sound check's
    uint32_t frames;     // drives the blinking
    uint32_t c1, c2, c3; // the layers scroll by half of these, in pixels
};

static MenuLoop loop;

static int blinkShows() { return (loop.frames & BLINK) == 0; }

static void startMenuMusic() {
    curMusic = MUSIC_TITLE_TRACK;
    loop.music = loadMusic(MUSIC_TITLE_TRACK);
    MP_FadeInMusic(loop.music, -1, 300);
}

// A whole game from the main menu; afterwards the title screen, or the hiscore table when the game
// ended with an entry in it.
static void startGame(int startStage) {
    while (lastKey != 0 && !done) {
        sysDelay(100);
        checkInput();
    }
    if (done) { // a quit request while a control was held ends the program as on the menu
        escape = 1;
        return;
    }
    stopMusic(loop.music);
    loop.music = nullptr;
    run(startStage, int(loop.c1), int(loop.c2));
    workflow = workflow == MENU_HISCORE_TABLE ? MENU_HISCORE_TABLE : MENU_TITLE;
    setupScroller();
    done = escape = 0;
    startMenuMusic();
    initFPS();
}

static void newGame() { startGame(0); }
static void continueGame() { startGame(saved); } // no saved game: 0, a new game
static void openHiscores() { workflow = MENU_HISCORE_TABLE; }
static void openOptions() {
    workflow = MENU_OPTIONS_SCREEN;
    enterOptions();
}
static void exitMenu() { escape = 1; } // the loop returns at the end of the frame

// The main menu, states 1 to 5 in order.
struct MenuItem {
    int label;     // text id
    int withSound; // "select_option" before the choice acts
    void (*choose)();
};
static const MenuItem menuItems[MENU_ITEMS] = {
    {6, 1, newGame}, {7, 1, continueGame}, {8, 0, openHiscores}, {9, 0, openOptions}, {4, 1, exitMenu},
};

// A click on one of the five item rows selects that item. The click is used up either way, so it
// never reaches the next frame or a game. Returns 1 when the selection changed.
static int clickItem() {
    if (mouseY == -1)
        return 0;
    const unsigned row = unsigned(mouseY - ITEM_Y) / ITEM_SPACING;
    mouseX = mouseY = -1;
    if (row >= MENU_ITEMS || int(row) + 1 == workflow)
        return 0;
    workflow = int(row) + 1;
    playSFX(SFX_MENU_CONTROL);
    return 1;
}

static void titleInput(int32_t typed) {
    if (ctrlIsConfirm(typed)) {
        gameDrainConfirm();
        workflow = saved >= 1 ? MENU_CONTINUE : MENU_NEW_GAME;
    } else if (typed == CTRL_RIGHT || typed == CTRL_DOWN) {
        workflow = MENU_NEW_GAME;
        playSFX(SFX_MENU_CONTROL);
    } else if (typed == CTRL_LEFT || typed == CTRL_UP) {
        workflow = MENU_EXIT;
        playSFX(SFX_MENU_CONTROL);
    }
}

static void mainMenuInput(int32_t typed) {
    if (typed == CTRL_RIGHT || typed == CTRL_DOWN) {
        workflow = workflow % MENU_ITEMS + 1;
        playSFX(SFX_MENU_CONTROL);
    } else if (typed == CTRL_LEFT || typed == CTRL_UP) {
        workflow = (workflow + MENU_ITEMS - 2) % MENU_ITEMS + 1;
        playSFX(SFX_MENU_CONTROL);
    } else if (ctrlIsConfirm(typed)) {
        const MenuItem &item = menuItems[workflow - 1];
        if (item.withSound)
            playSFX(SFX_SELECT_OPTION);
        item.choose();
    }
}

static void handleInput() {
    switch (workflow) {
    case MENU_HISCORE_TABLE:
        mouseX = mouseY = -1;
        if (ctrlIsConfirm(lastKeyTyped)) {
            workflow = MENU_HISCORES;
            hsRank = -1; // the new entry blinks until the table is first left
        }
        break;
    case MENU_OPTIONS_SCREEN:
        optionsInput(loop.music);
        break;
    default: {
        const int32_t typed = clickItem() ? 0 : lastKeyTyped;
        if (workflow == MENU_TITLE)
            titleInput(typed);
        else
            mainMenuInput(typed);
    }
    }
}

// Each layer tiled from its column c / 2: the three scroll left at 0.5, 1 and 1.5 pixels a frame.
static void drawLayers() {
    const uint32_t counters[3] = {loop.c1, loop.c2, loop.c3};
    for (int n = 0; n < 3; n++)
        drawLoop(menubkg[n], int(counters[n] / 2));
}

static void drawTitle() {
    blitImage(logo, (SCREEN_WIDTH - logo->w) / 2, (SCREEN_HEIGHT - logo->h) / 2 - LOGO_RAISE, screen);
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

static void drawHiscoreTable() {
    drawTextCenterAt(screen, text(TEXT_HISCORES), TABLE_TITLE_Y, fontbig);
    for (int k = 0; k < HISCORE_ENTRIES; k++) {
        if (k == hsRank && !blinkShows())
            continue;
        const int y = TABLE_Y + TABLE_SPACING * k;
        char points[16];
        snprintf(points, sizeof points, "%05d", int(hiscores[k].score));
        drawTextAt(screen, hiscores[k].name, TABLE_NAME_X, y, fontbig);
        drawTextAt(screen, points, TABLE_SCORE_X, y, fontbig);
    }
}

static void drawMenu() {
    drawLayers();
    if (workflow == MENU_HISCORE_TABLE)
        drawHiscoreTable();
    else if (workflow == MENU_OPTIONS_SCREEN)
        drawOptions();
    else
        drawTitle();
    flipScreen();
}

// Called once by start-up after the intro screens.
void menu() {
    initStuff();
    saved = loadGame();
    loop = MenuLoop{};
    startMenuMusic();
    if (escape) {
        stopMusic(loop.music);
        return;
    }
    mouseX = mouseY = -1; // a click on the intro screens is no choice on the title
    initFPS();
    for (;;) {
        rand();
        checkInput();
        if (done)
            escape = 1;
        handleInput();
        if (controlFPS())
            drawMenu();
        // Scrolling and blinking go on whether the frame was drawn or not.
        stepScroller();
        loop.frames++;
        loop.c1 += 1;
        loop.c2 += 2;
        loop.c3 += 3;
        if (!escape)
            continue;
        if (workflow < 0) { // a quit request on the table or the options only leaves them
            if (workflow == MENU_OPTIONS_SCREEN)
                abandonOptions(loop.music);
            workflow = -workflow;
            escape = done = 0;
            initFPS();
            continue;
        }
        stopMusic(loop.music);
        loop.music = nullptr;
        return;
    }
}
