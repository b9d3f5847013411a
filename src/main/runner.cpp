// The screen runner: the one loop that paces, reads the input, handles quit requests and presents
// for every screen of the game.
#include "main/runner.h"

#include "data/config.h"
#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "input/fpshelper.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys.h"
#include "main/defines.h"

#include <cassert>

// The deepest the game goes: the menu, the game, a stage and its pause menu, with room to spare.
constexpr int MAX_SCREENS = 8;
constexpr int MAX_CHANGES = 8;
constexpr uint32_t DRAIN_POLL_MS = 100;

struct Slot {
    const Screen *screen;
    bool entered; // enter has run, so leave must run too
};

enum ChangeKind { CHANGE_PUSH, CHANGE_POP, CHANGE_END };
struct Change {
    ChangeKind kind;
    const Screen *screen;
};

static Slot stack[MAX_SCREENS];
static int depth;
static Change changes[MAX_CHANGES]; // asked for during the current tick, made after it
static int changeCount;
static bool drainPending, quitPassed, drawn, playerAway;
static bool pacingRestart; // another screen came on top since the last tick
static bool padsOpened;    // after the first frame: SDL's pad set-up is a third of start-up

// A save that failed is told on screen for a few seconds, over whatever screen is on top.
constexpr int NOTICE_TICKS = 180;
constexpr int NOTICE_Y = SCREEN_HEIGHT - 10;
static const char *notice;
static int noticeTicks;

static void takeNotice() {
    if (const char *failure = configTakeSaveFailure()) {
        notice = failure;
        noticeTicks = NOTICE_TICKS;
    } else if (noticeTicks > 0 && --noticeTicks == 0) {
        notice = nullptr;
    }
}

const char *screenNotice() { return notice; }

static void drawNotice() {
    if (!notice)
        return;
    fillRect(screen, 0, NOTICE_Y - 1, SCREEN_WIDTH, 10, BLACK);
    drawTextCenterAt(screen, notice, NOTICE_Y, font);
}

static void ask(ChangeKind kind, const Screen *screen) {
    assert(changeCount < MAX_CHANGES);
    if (changeCount < MAX_CHANGES)
        changes[changeCount++] = Change{kind, screen};
}

void screenPush(const Screen &screen) { ask(CHANGE_PUSH, &screen); }
void screenPop() { ask(CHANGE_POP, nullptr); }
void screenReplace(const Screen &screen) {
    ask(CHANGE_POP, nullptr);
    ask(CHANGE_PUSH, &screen);
}
void screenEndProgram() { ask(CHANGE_END, nullptr); }
void screenDrainConfirm() { drainPending = true; }
void screenPassQuit() { quitPassed = true; }
void screenIgnoreQuit() {}
bool screenDrawn() { return drawn; }
bool screenPlayerAway() { return playerAway; }
const Screen *screenTop() { return depth > 0 ? stack[depth - 1].screen : nullptr; }

static void popOne() {
    Slot slot = stack[--depth];
    if (slot.entered && slot.screen->leave)
        slot.screen->leave();
}

// Makes the changes the last call asked for. True when the screen on top is another one now.
static bool applyChanges() {
    if (changeCount == 0)
        return false;
    for (int i = 0; i < changeCount; i++) {
        const Change change = changes[i];
        if (change.kind == CHANGE_PUSH && depth < MAX_SCREENS)
            stack[depth++] = Slot{change.screen, false};
        else if (change.kind == CHANGE_POP && depth > 0)
            popOne();
        else if (change.kind == CHANGE_END)
            while (depth > 0)
                popOne();
    }
    changeCount = 0;
    input.mouseX = input.mouseY = -1; // a click belongs to the screen it was made on
    pacingRestart = true;
    return true;
}

// The confirm control released last keeps being reported while the player holds it down and lets go
// again: wait until a read reports something else. A quit request seen meanwhile waits for the next
// screen.
static void drainConfirm() {
    drainPending = false;
    while (ctrlIsConfirm(input.lastKeyTyped) && !sysTerminating()) {
        checkInput();
        sysDelay(DRAIN_POLL_MS);
    }
}

// One tick of the screen on top: paced, with fresh input, drawn when the pacing allows.
// What the player asked of the program rather than of the screen.
static void takeRequests() {
    const int requests = ctrlTakeRequests();
    if (requests & REQUEST_FULL_SCREEN)
        gfxToggleFullScreen();
    if (requests & REQUEST_SCREENSHOT)
        gfxSaveScreenshot(configFolder);
    playerAway = (requests & REQUEST_PAUSE) != 0;
}

static void runTick(const Screen &top) {
    drawn = controlFPS() != 0;
    checkInput();
    takeRequests();
    if (input.done || quitPassed) {
        input.done = 0;
        quitPassed = false;
        top.quit();
        if (applyChanges())
            return;
    }
    top.tick();
    takeNotice();
    if (applyChanges())
        return;
    if (drawn) {
        top.draw();
        drawNotice();
        flipScreen();
        if (!padsOpened) {
            padsOpened = true;
            ctrlOpenPads();
        }
    }
}

// Called by start-up once the first screens are pushed; returns when the last screen has left.
void screenRun() {
    applyChanges();
    while (depth > 0) {
        if (sysTerminating()) {
            screenEndProgram();
            applyChanges();
            break;
        }
        Slot &slot = stack[depth - 1];
        const Screen &top = *slot.screen;
        if (drainPending)
            drainConfirm();
        if (!slot.entered) {
            slot.entered = true;
            if (top.enter)
                top.enter();
            if (applyChanges())
                continue;
        }
        if (!top.draw) {
            top.tick();
            applyChanges();
            continue;
        }
        if (pacingRestart) {
            initFPS(); // loading or another screen's time never counts as lateness
            pacingRestart = false;
        }
        runTick(top);
    }
    // A quit or a drain asked for by the last screen has nothing left to act on.
    drainPending = quitPassed = false;
}
