// The "HOW TO PLAY" screen before a new game and the congratulation screen after the last stage.
#include "main/tutorial.h"

#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "input/fpshelper.h"
#include "input/keyhelper_sdl2.h"
#include "main/defines.h"
#include "main/draw.h"
#include "main/game.h"
#include "main/i18n.h"
#include "main/sheets.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

constexpr int TEXT_HOW_TO_PLAY = 75, TEXT_RULES = 76, RULE_LINES = 7, TEXT_AHEAD = 83;
constexpr int TEXT_CONGRATULATIONS = 84, TEXT_ENDING = 85, ENDING_LINES = 3;
constexpr int TUTORIAL_TEXT_X = 72;
constexpr int HIPPO_PERIOD = 32; // drawn frames per half
constexpr int BUTTERFLY_STOP = 176, BUTTERFLY_Y = 176, FLAP_PASSES = 6;

static void drawTutorial(SDL_Surface *hippo, int c1, int c2, int &frames) {
    drawLoop(menubkg[0], c1 / 2);
    drawLoop(menubkg[1], c2 / 2);
    frames++;
    int left = (frames & HIPPO_PERIOD) != 0;
    if (left && frames % HIPPO_PERIOD == 0)
        playSFX(SFX_HIPPO);
    SDL_Rect half{left ? 0 : hippo->w / 2, 0, hippo->w / 2, hippo->h};
    SDL_Rect at{4, 80, half.w, half.h};
    blitSurface(hippo, &half, screen, &at);
    drawTextAt(screen, text(TEXT_HOW_TO_PLAY), TUTORIAL_TEXT_X, 50, fontbig);
    for (int i = 0; i < RULE_LINES; i++)
        drawTextAt(screen, text(TEXT_RULES + i), TUTORIAL_TEXT_X, 90 + 12 * i, font);
    drawTextAt(screen, text(TEXT_AHEAD), TUTORIAL_TEXT_X, 182, font);
    drawTextAt(screen, text(TEXT_HIT_KEY), TUTORIAL_TEXT_X, 202, font);
    flipScreen();
}

// Called by run before the first stage of a new game.
void tutorialScreen(int c1, int c2) {
    SDL_Surface *hippo = loadGFX("hippo", 1, 255, 0, 255);
    initFPS();
    int frames = 0;
    while (!done) {
        if (controlFPS())
            drawTutorial(hippo, c1, c2, frames);
        checkInput();
        c1 += 1;
        c2 += 2;
        if (ctrlIsConfirm(lastKeyTyped))
            break;
    }
    freeSurface(hippo);
}

// Called by the stage end after the last stage is won, before the hiscore entry. The butterfly
// flies in from the left edge to x = 176 and flutters there on a 1 : 3 figure.
void congratScreen() {
    SDL_Surface *picture = loadGFX("creditsend", 0, 0, 0, 0);
    ModPlugFile *music = loadMusic(0);
    MP_FadeInMusic(music, -1, 300);
    initFPS();
    int x = -butterflyBlocks[0]->w, frame = 0, t = 0, flap = FLAP_PASSES;
    while (!done) {
        if (x < BUTTERFLY_STOP)
            x++;
        if (controlFPS()) {
            blitImage(picture, 0, (SCREEN_HEIGHT - picture->h) / 2, screen);
            blitImage(butterflyBlocks[frame], x + (tcos[t & 511] >> 7),
                      BUTTERFLY_Y + (tsin[(3 * t) & 511] >> 7), screen);
            drawTextCenterAt(screen, text(TEXT_CONGRATULATIONS), 64, fontbig);
            for (int i = 0; i < ENDING_LINES; i++)
                drawTextCenterAt(screen, text(TEXT_ENDING + i), 104 + 12 * i, font);
            drawTextCenterAt(screen, text(TEXT_HIT_KEY), 152, font);
            flipScreen();
        }
        checkInput();
        if (ctrlIsConfirm(lastKeyTyped))
            break;
        t++;
        if (--flap == 0) {
            frame ^= 1;
            flap = FLAP_PASSES;
        }
    }
    stopMusic(music);
    freeSurface(picture);
}
