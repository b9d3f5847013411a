// The asset set-up of the menu and the test stage: screen flags, the scroller, the sheets, the sounds.
#include "main/credits.h"
#include "main/game.h"
#include "main/savegame.h"
#include "main/sheets.h"
#include "sound/sound.h"

// Called by the main menu each time it is entered and by the test-stage start. The sheets are cut
// on the first call only: later calls find the lists in place and keep them, which draws the same
// and spares the weak handhelds a second cutting every time the menu comes back.
void initStuff() {
    useSound = 1;
    escape = loaded = paused = lastLoad = workflow = 0;
    scrollidx = scrolldx = 0;
    hsRank = -1;
    setupScroller();
    cutSheets();
    if (useSound)
        loadSFX();
    loaded = 1;
    saved = 0;
}
