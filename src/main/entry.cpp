// The hiscore name entry: a name of up to eight letters typed with the directional controls.
#include "main/entry.h"

#include "data/hiscores.h"
#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "input/fpshelper.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys.h"
#include "main/defines.h"
#include "main/game.h"
#include "main/i18n.h"
#include "main/rules.h"

#include <cstring>

constexpr int NAME_LENGTH = 8;
constexpr int REPEAT_FRAMES = 10; // a held control steps about every 10 frames
constexpr int TEXT_ENTER_NAME = 43;
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

// Darkens what is already on the screen, so the picture behind fades further with every frame.
static void drawEntry(const NameEntry &entry) {
    darken();
    drawTextCenterAt(screen, text(TEXT_ENTER_NAME), 80, fontbig);
    fillRect(screen, FRAME_X, FRAME_TOP, FRAME_WIDTH, 1, DGREY);
    drawTextCenterAt(screen, entry.marker, MARKER_ABOVE_Y, fontbig);
    drawTextCenterAt(screen, entry.name, NAME_Y, fontbig);
    drawTextAt(screen, ">", 240, NAME_Y, fontbig);
    drawTextCenterAt(screen, entry.marker, MARKER_BELOW_Y, fontbig);
    fillRect(screen, FRAME_X, FRAME_BOTTOM, FRAME_WIDTH, 1, DGREY);
    flipScreen();
}

static void moveTo(NameEntry &entry, int position) {
    entry.marker[entry.position] = ' ';
    entry.position = position;
    if (position < NAME_LENGTH) {
        entry.marker[position] = '-';
        if (entry.name[position] == '.')
            entry.name[position] = 'A';
    }
}

// One pass of input: 1 when the name changed, 2 when the entry is finished, else 0.
static int readInput(NameEntry &entry, int32_t &finishKey) {
    int32_t typed = lastKeyTyped;
    int changed = 0;
    if (mouseY != -1) {
        int x = mouseX, y = mouseY;
        mouseX = mouseY = -1;
        if (y >= 0 && y < SCREEN_HEIGHT) {
            if (x >= CLICK_LEFT && x <= CLICK_RIGHT) {
                char &letter = entry.name[entry.position];
                if (y <= NAME_Y - 1)
                    letter = previousLetter(letter);
                else if (y >= MARKER_BELOW_Y)
                    letter = nextLetter(letter);
                changed = 1;
                typed = 0;
            } else if (y < FRAME_TOP || y > FRAME_BOTTOM) {
                typed = 0;
            }
        }
    }
    char &letter = entry.name[entry.position];
    if (lastKey & CTRL_DOWN) {
        letter = previousLetter(letter);
        return 1;
    }
    if (lastKey & CTRL_UP) {
        letter = nextLetter(letter);
        return 1;
    }
    if (entry.position > 0 && (lastKey & CTRL_LEFT)) {
        moveTo(entry, entry.position - 1);
        return 1;
    }
    if (typed == CTRL_JUMP || typed == CTRL_RIGHT) {
        moveTo(entry, entry.position + 1);
        if (entry.position < NAME_LENGTH)
            return 1;
        finishKey = typed;
        return 2;
    }
    if (typed == CTRL_START) {
        finishKey = typed;
        return 2;
    }
    return changed;
}

// Called by the stage end when a game is over or the last stage is won. Every pass is paced, and
// after each change input rests for 10 passes while the frame keeps being drawn.
int checkHiscore() {
    hsRank = -1;
    if (hiscores[HISCORE_ENTRIES - 1].score >= score)
        return -1;
    mouseX = mouseY = -1; // a click on the screen before steps no letter
    NameEntry entry{"A.......", "-       ", 0};
    int delay = 0;
    int32_t finishKey = 0;
    initFPS();
    for (;;) {
        if (delay > 0) {
            delay--;
        } else {
            checkInput();
            if (done)
                escape = 1;
            int result = readInput(entry, finishKey);
            if (result == 2)
                break;
            if (result == 1)
                delay = REPEAT_FRAMES;
        }
        if (controlFPS())
            drawEntry(entry);
    }
    while (finishKey != CTRL_RIGHT && lastKeyTyped == finishKey) {
        checkInput();
        if (done)
            escape = 1;
        sysDelay(100);
    }
    if (entry.position < NAME_LENGTH)
        entry.name[entry.position + 1] = '\0';
    return saveHiscores(score, entry.name);
}
