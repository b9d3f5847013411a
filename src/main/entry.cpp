// The hiscore name entry: a name of up to eight letters typed with the directional controls.
#include "main/entry.h"

#include "data/hiscores.h"
#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "input/keyhelper_sdl2.h"
#include "main/defines.h"
#include "main/game.h"
#include "main/i18n.h"
#include "main/runner.h"

#include <cstring>

constexpr int NAME_LENGTH = 8;
constexpr int REPEAT_FRAMES = 10; // a held control steps about every 10 frames
constexpr int NAME_Y = 136, MARKER_ABOVE_Y = 124, MARKER_BELOW_Y = 148;
constexpr int FRAME_X = 96, FRAME_TOP = 104, FRAME_BOTTOM = 180, FRAME_WIDTH = 128;
constexpr int CLICK_LEFT = 81, CLICK_RIGHT = 223;

char nextLetter(char letter) { return letter == 'Z' ? ' ' : letter == ' ' ? 'A' : char(letter + 1); }

char previousLetter(char letter) { return letter == 'A' ? ' ' : letter == ' ' ? 'Z' : char(letter - 1); }

struct NameEntry {
    char name[NAME_LENGTH + 1];
    char marker[NAME_LENGTH + 1];
    int position; // NAME_LENGTH once the entry has passed the last letter
};

static NameEntry entry;
static int delay;         // ticks during which input rests after a change
static int32_t finishKey; // the control that finished the entry

// Darkens what is already on the screen, so the picture behind fades further with every frame.
static void entryDraw() {
    darken();
    drawTextCenterAt(screen, text(TEXT_ENTER_NAME), 80, fontbig);
    fillRect(screen, FRAME_X, FRAME_TOP, FRAME_WIDTH, 1, DGREY);
    drawTextCenterAt(screen, entry.marker, MARKER_ABOVE_Y, fontbig);
    drawTextCenterAt(screen, entry.name, NAME_Y, fontbig);
    drawTextAt(screen, ">", 240, NAME_Y, fontbig);
    drawTextCenterAt(screen, entry.marker, MARKER_BELOW_Y, fontbig);
    fillRect(screen, FRAME_X, FRAME_BOTTOM, FRAME_WIDTH, 1, DGREY);
}

static void moveTo(int position) {
    entry.marker[entry.position] = ' ';
    entry.position = position;
    if (position < NAME_LENGTH) {
        entry.marker[position] = '-';
        if (entry.name[position] == '.')
            entry.name[position] = 'A';
    }
}

// Controls released while the entry rests wait their turn, so that quick typing loses nothing.
constexpr int WAITING_MAX = 8;
static int32_t waiting[WAITING_MAX];
static int waitingCount;
static int32_t steppedWhileHeld; // the directions that stepped while held since they were pressed

// A released control joins the queue, unless it is a direction that already stepped while held: a
// tap too short to be seen held steps once when its turn comes.
static void noteRelease() {
    const int32_t typed = input.lastKeyTyped;
    if (typed == 0)
        return;
    if (!(steppedWhileHeld & typed) && waitingCount < WAITING_MAX)
        waiting[waitingCount++] = typed;
    steppedWhileHeld &= ~typed;
}

static int32_t nextWaiting() {
    if (waitingCount == 0)
        return 0;
    const int32_t control = waiting[0];
    for (int i = 1; i < waitingCount; i++)
        waiting[i - 1] = waiting[i];
    waitingCount--;
    return control;
}

// A control acts on the name: 1 when it changed, 2 when the entry is finished, else 0.
static int apply(int32_t control) {
    char &letter = entry.name[entry.position];
    switch (control) {
    case CTRL_DOWN:
        letter = previousLetter(letter);
        return 1;
    case CTRL_UP:
        letter = nextLetter(letter);
        return 1;
    case CTRL_LEFT:
        if (entry.position == 0)
            return 0;
        moveTo(entry.position - 1);
        return 1;
    case CTRL_JUMP:
    case CTRL_RIGHT:
        moveTo(entry.position + 1);
        if (entry.position < NAME_LENGTH)
            return 1;
        finishKey = control;
        return 2;
    case CTRL_START:
        finishKey = control;
        return 2;
    default:
        return 0;
    }
}

// A click above or below the name steps its letter; one beside the frame is ignored. Either takes the
// tick: the control released in it is dropped. Returns the result of the tick, or -1 to go on.
static int click() {
    if (input.mouseY == -1)
        return -1;
    const int x = input.mouseX, y = input.mouseY;
    input.mouseX = input.mouseY = -1;
    if (y < 0 || y >= SCREEN_HEIGHT)
        return -1;
    if (x >= CLICK_LEFT && x <= CLICK_RIGHT) {
        char &letter = entry.name[entry.position];
        if (y <= NAME_Y - 1)
            letter = previousLetter(letter);
        else if (y >= MARKER_BELOW_Y)
            letter = nextLetter(letter);
        return 1;
    }
    return y < FRAME_TOP || y > FRAME_BOTTOM ? 0 : -1;
}

// One tick of input: the held directions step (DOWN, then UP, then LEFT), else the oldest control
// released. 1 when the name changed, 2 when the entry is finished, else 0.
static int readInput() {
    const int clicked = click();
    if (clicked >= 0)
        return clicked;
    noteRelease();
    for (int32_t direction : {CTRL_DOWN, CTRL_UP, CTRL_LEFT}) {
        if ((input.lastKey & direction) && apply(direction) == 1) {
            steppedWhileHeld |= direction;
            return 1;
        }
    }
    return apply(nextWaiting());
}

// A letter typed on a keyboard goes straight into the name, and the entry moves on as JUMP does; the
// position it moves to holds no letter of the player's until one is typed or chosen there.
static bool afterTyping;

static int typeLetter(char letter) {
    if (entry.position < NAME_LENGTH)
        entry.name[entry.position] = letter;
    afterTyping = true;
    return apply(CTRL_JUMP);
}

// Only a score above the tenth entry's enters the table.
static void entryEnter() {
    if (hiscores[HISCORE_ENTRIES - 1].score >= play.score) {
        screenPop();
        return;
    }
    entry = NameEntry{"A.......", "-       ", 0};
    delay = 0;
    finishKey = 0;
    waitingCount = 0;
    steppedWhileHeld = 0;
    afterTyping = false;
}

// After each change input rests for 10 ticks while the frame keeps being drawn, so that a held
// control repeats every 10 ticks. A START or JUMP that finished the entry is waited out before the
// next screen.
static void entryTick() {
    int result;
    if (input.letterTyped) {
        result = typeLetter(input.letterTyped);
    } else if (delay > 0) {
        delay--;
        noteRelease();
        return;
    } else {
        result = readInput();
        if (result == 1)
            afterTyping = false;
    }
    if (result == 1)
        delay = REPEAT_FRAMES;
    if (result != 2)
        return;
    if (finishKey != CTRL_RIGHT)
        screenDrainConfirm();
    if (entry.position < NAME_LENGTH)
        entry.name[entry.position + (afterTyping ? 0 : 1)] = '\0';
    play.hsRank = saveHiscores(play.score, entry.name);
    screenPop();
}

// The name is still finished and saved; the game ends afterwards, and the program with it.
static void entryQuit() { play.quitRequested = 1; }

const Screen entryScreen = {"name entry", entryEnter, entryTick, entryDraw, nullptr, entryQuit};
