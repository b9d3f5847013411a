// The asset set-up of the menu and the test stage: screen flags, the scroller, the sheets, the sounds.
#include "main/credits.h"
#include "main/game.h"
#include "main/menu.h"
#include "main/savegame.h"
#include "main/sheets.h"
#include "sound/sound.h"

static bool effectsLoaded;

// Called by the main menu each time it is entered and by the test-stage start. The sheets are cut
// and the effects loaded on the first call only: later calls find them in place and keep them,
// which plays and draws the same, leaks nothing and spares the weak handhelds the work every time
// the menu comes back.
void initStuff() {
    useSound = 1;
    escape = loaded = paused = lastLoad = workflow = 0;
    scrollidx = scrolldx = 0;
    hsRank = -1;
    setupScroller();
    cutSheets();
    if (useSound && !effectsLoaded) {
        loadSFX();
        effectsLoaded = true;
    }
    loaded = 1;
    saved = 0;
}
