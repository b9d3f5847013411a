// The maker-logo screen: the emblem circles while the logo slides in and the jingle plays.
#include "screens/zenkscreen.h"

#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "input/keyhelper_sdl2.h"
#include "main/defines.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

static SDL_Surface *zenk;    // the emblem
static SDL_Surface *zk_logo; // the logo that slides in
static ModPlugFile *music;   // the jingle once the logo stops, or nullptr when it is missing
static int32_t j;            // the logo's x
static int32_t dj;           // ticks since the screen began: drives the emblem's circling
static int32_t gx, gy;       // the emblem's top-left corner

constexpr int32_t LOGO_START_X = 360; // just off the right edge
constexpr int32_t LOGO_STEP = 2;      // pixels per tick
constexpr int32_t LOGO_BOTTOM = 180;
constexpr int32_t EMBLEM_CENTRE_X = 160, EMBLEM_CENTRE_Y = 100;

int32_t zenkInit() {
    zenk = loadGFX("zk-zenk", 1, 255, 0, 255);
    zk_logo = loadGFX("zk-logo", 1, 255, 0, 255);
    SDL_FillRect(screen, nullptr, BLACK);
    j = LOGO_START_X;
    dj = gx = gy = 0;
    return 0;
}

// The logo moves by even steps: when it cannot stop exactly at the centre it halts a pixel left of
// it without starting the jingle, and the screen ends there. The jingle is loaded when the logo stops
// rather than before the first frame.
int32_t zenkUpdate() {
    const int32_t stop = (SCREEN_WIDTH - zk_logo->w) >> 1;
    if (stop < j) {
        j -= LOGO_STEP;
        if (stop >= j) {
            music = loadMusic(MUSIC_JINGLE);
            if (j == stop && music)
                MP_PlayMusic(music, 1);
        }
    }

    // A 1 : 3 Lissajous figure of up to 8 pixels each way around the rest position.
    dj++;
    gx = EMBLEM_CENTRE_X - (zenk->w >> 1) + (tcos[dj & 511] >> 7);
    gy = EMBLEM_CENTRE_Y - (zenk->h >> 1) + (tsin[(3 * dj) & 511] >> 7);

    if (stop < j)
        return 0;
    if (input.lastKeyTyped == CTRL_START || input.lastKeyTyped == CTRL_JUMP || input.mouseY != -1)
        return 1; // a click too, for a player with the mouse alone
    if (!music)
        return 0;
    return MP_PlayingMusic() == 0;
}

int32_t zenkRender(SDL_Surface *target) {
    SDL_FillRect(target, nullptr, BLACK);
    blitImage(zenk, gx, gy, target);
    blitImage(zk_logo, j, LOGO_BOTTOM - zk_logo->h, target);
    return 0;
}

int32_t zenkShutdown() {
    freeSurface(zenk);
    freeSurface(zk_logo);
    zenk = zk_logo = nullptr;
    if (music)
        stopMusic(music);
    music = nullptr;
    return 0;
}
