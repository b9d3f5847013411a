// The asset set-up of the menu and the test stage: screen flags, the scroller, the sheets, the sounds.
#include "gfx/font.h"
#include "main/credits.h"
#include "main/game.h"
#include "main/menu.h"
#include "main/savegame.h"
#include "main/sheets.h"
#include "sound/sound.h"

static bool effectsLoaded;

// Called by the main menu each time it is entered and by the test-stage start. The fonts and images
// are loaded, the sheets cut and the effects loaded on the first call only: later calls find them in
// place and keep them, which plays and draws the same, leaks nothing and spares the weak handhelds
// the work every time the menu comes back. The intro makes fonts, images and sheets ahead, one a
// tick, so that the first frame comes sooner and the menu opens without a pause; what it did not get
// to is made here.
void initStuff() {
    play.escape = play.paused = 0;
    play.hsRank = -1;
    workflow = 0;
    setupScroller();
    loadSpriteFont();
    loadSharedImages();
    cutSheets();
    if (!effectsLoaded) {
        loadSFX();
        effectsLoaded = true;
    }
    saved = 0;
}
