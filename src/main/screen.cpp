// The intro-screen table: the maker's logo, then the open-source notice, and the screen that runs it.
#include "main/screen.h"

#include "gfx/gfx_sdl2.h"
#include "main/runner.h"
#include "main/sheets.h"

#include "screens/opensourcescreen.h"
#include "screens/zenkscreen.h"

const IntroScreen screens[] = {
    {"zenk", zenkInit, zenkShutdown, zenkUpdate, zenkRender},
    {"opensource", opensourceInit, opensourceShutdown, opensourceUpdate, opensourceRender},
    {nullptr, nullptr, nullptr, nullptr, nullptr},
};

int32_t currentScreen;

static bool finished; // the running intro screen's update said it is over
static bool shown;    // the intro's first frame is drawn: the menu's assets may come

static void introEnter() {
    finished = false;
    screens[currentScreen].init();
}

// The next screen of the table takes this one's place, so that its ticks are paced afresh. Each
// tick after the first frame also makes the fonts or one of the menu's images or sheets, work the
// intro's light ticks have room for.
static void introTick() {
    if (shown)
        prepareNextAsset();
    if (!screens[currentScreen].update())
        return;
    finished = true;
    if (screens[currentScreen + 1].name)
        screenReplace(introScreen);
    else
        screenPop();
}

static void introDraw() {
    screens[currentScreen].render(screen);
    shown = true;
}

// After a quit request currentScreen stays on the screen that was cut short.
static void introLeave() {
    screens[currentScreen].shutdown();
    if (finished)
        currentScreen++;
}

const Screen introScreen = {"intro", introEnter, introTick, introDraw, introLeave, screenEndProgram};
