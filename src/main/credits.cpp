// The credits scroller under the title screen, with the translucent band behind it.
#include "main/credits.h"

#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "main/i18n.h"

#include <cstring>

Credits credits;

constexpr int SCROLLER_CHARS = 41; // 320 pixels plus the partly hidden first character

// Called once at start-up, after the colours are mapped.
void prepareScrollBack() {
    credits.scrollBack = createImage(320, 10);
    fillRect(credits.scrollBack, 0, 0, 320, 10, SDL_MapRGB(credits.scrollBack->format, 64, 128, 64));
    SDL_SetSurfaceAlphaMod(credits.scrollBack, 128);
    SDL_SetSurfaceBlendMode(credits.scrollBack, SDL_BLENDMODE_BLEND);
}

// Called by the asset set-up and by the menu when a game returns to it. The text is measured once.
void setupScroller() {
    if (!credits.scroller) {
        credits.scroller = text(TEXT_SCROLLER);
        credits.scrollmax = int32_t(strlen(credits.scroller));
    }
    credits.scrollidx = 0;
    credits.scrolldx = 0;
}

// Called by the title screen on each drawn frame.
void drawScroller() {
    fillRect(screen, 0, 194, 320, 1, BLACK);
    blitImage(credits.scrollBack, 0, 195, screen);
    fillRect(screen, 0, 205, 320, 1, BLACK);
    if (credits.scroller && credits.scrollidx < credits.scrollmax)
        drawTextNAt(screen, credits.scroller + credits.scrollidx, SCROLLER_CHARS, -(credits.scrolldx / 2),
                    196, font);
}

// Called once per pass of the menu loop, drawn or not: one pixel every two passes.
void stepScroller() {
    if (++credits.scrolldx == 16) {
        credits.scrolldx = 0;
        if (++credits.scrollidx >= credits.scrollmax)
            credits.scrollidx = 0;
    }
}
