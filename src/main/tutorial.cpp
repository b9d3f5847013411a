// The "HOW TO PLAY" screen before a new game and the congratulation screen after the last stage.
#include "main/tutorial.h"

#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "input/keyhelper_sdl2.h"
#include "main/defines.h"
#include "main/draw.h"
#include "main/game.h"
#include "main/i18n.h"
#include "main/runner.h"
#include "main/sheets.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

constexpr int RULE_LINES = 7, ENDING_LINES = 3;
constexpr int TUTORIAL_TEXT_X = 72;
constexpr int HIPPO_PERIOD = 32; // drawn frames per half
constexpr int BUTTERFLY_STOP = 176, BUTTERFLY_Y = 176, FLAP_PASSES = 6;

// Any key, pad button or click leaves both screens, as they say; a quit request too, and the screen
// after acts on it.
static bool anyKeyLeaves() {
    if (!ctrlHitAnyKey())
        return false;
    screenPop();
    return true;
}

static void leaveOnQuit() {
    screenPop();
    screenPassQuit();
}

static struct {
    SDL_Surface *hippo;
    int c1, c2; // the two background layers' counters
    int drawn;  // frames drawn: the hippo talks with its mouth open for 32, then shut for 32
} tutorial;

static void tutorialEnter() {
    tutorial.hippo = loadGFX("hippo", 1, 255, 0, 255);
    tutorial.c1 = play.tutorialC1;
    tutorial.c2 = play.tutorialC2;
    tutorial.drawn = 0;
}

// The layers move on every tick, drawn or not; the hippo's halves follow the drawn frames, and he
// speaks when the left half comes up.
static void tutorialTick() {
    if (anyKeyLeaves())
        return;
    tutorial.c1 += 1;
    tutorial.c2 += 2;
    if (screenDrawn()) {
        tutorial.drawn++;
        if ((tutorial.drawn & HIPPO_PERIOD) != 0 && tutorial.drawn % HIPPO_PERIOD == 0)
            playSFX(SFX_HIPPO);
    }
}

static void tutorialDraw() {
    drawLoop(images.menubkg[0].get(), tutorial.c1 / 2);
    drawLoop(images.menubkg[1].get(), tutorial.c2 / 2);
    SDL_Surface *hippo = tutorial.hippo;
    const int left = (tutorial.drawn & HIPPO_PERIOD) != 0;
    SDL_Rect half{left ? 0 : hippo->w / 2, 0, hippo->w / 2, hippo->h};
    SDL_Rect at{4, 80, half.w, half.h};
    blitSurface(hippo, &half, screen, &at);
    drawTextAt(screen, text(TEXT_HOW_TO_PLAY), TUTORIAL_TEXT_X, 50, fontbig);
    for (int i = 0; i < RULE_LINES; i++)
        drawTextAt(screen, text(TEXT_RULES_1 + i), TUTORIAL_TEXT_X, 90 + 12 * i, font);
    drawTextAt(screen, text(TEXT_LEVEL_ONE_AHEAD), TUTORIAL_TEXT_X, 182, font);
    drawTextAt(screen, text(TEXT_HIT_KEY), TUTORIAL_TEXT_X, 202, font);
}

static void tutorialLeave() {
    freeSurface(tutorial.hippo);
    tutorial.hippo = nullptr;
}

const Screen tutorialScreen = {"tutorial",   tutorialEnter, tutorialTick,
                               tutorialDraw, tutorialLeave, leaveOnQuit};

// The butterfly flies in from the left edge to x = 176 and flutters there on a 1 : 3 figure.
static struct {
    SDL_Surface *picture;
    ModPlugFile *music;
    int x, frame, t, flap;
} ending;

static void endingEnter() {
    ending.picture = loadGFX("creditsend", 0, 0, 0, 0);
    ending.music = loadMusic(0);
    MP_FadeInMusic(ending.music, -1, 300);
    ending.x = -sheets.butterflyBlocks[0]->w;
    ending.frame = ending.t = 0;
    ending.flap = FLAP_PASSES;
}

static void endingTick() {
    if (anyKeyLeaves())
        return;
    if (ending.x < BUTTERFLY_STOP)
        ending.x++;
    ending.t++;
    if (--ending.flap == 0) {
        ending.frame ^= 1;
        ending.flap = FLAP_PASSES;
    }
}

static void endingDraw() {
    blitImage(ending.picture, 0, (SCREEN_HEIGHT - ending.picture->h) / 2, screen);
    blitImage(sheets.butterflyBlocks[ending.frame], ending.x + (tcos[ending.t & 511] >> 7),
              BUTTERFLY_Y + (tsin[(3 * ending.t) & 511] >> 7), screen);
    drawTextCenterAt(screen, text(TEXT_ENDING_CONGRATULATIONS), 64, fontbig);
    for (int i = 0; i < ENDING_LINES; i++)
        drawTextCenterAt(screen, text(TEXT_ENDING_1 + i), 104 + 12 * i, font);
    drawTextCenterAt(screen, text(TEXT_HIT_KEY), 152, font);
}

static void endingLeave() {
    stopMusic(ending.music);
    ending.music = nullptr;
    freeSurface(ending.picture);
    ending.picture = nullptr;
}

const Screen endingScreen = {"ending", endingEnter, endingTick, endingDraw, endingLeave, leaveOnQuit};
