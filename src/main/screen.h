// The intro-screen table: the screens shown once before the title, in order.
#pragma once

#include <SDL.h>
#include <cstdint>

// One intro screen: init once, then per tick update (non-zero ends the screen), render into the back
// surface when the tick is drawn, and shutdown at the end.
struct IntroScreen {
    const char *name; // nullptr ends the table
    int32_t (*init)();
    int32_t (*shutdown)();
    int32_t (*update)();
    int32_t (*render)(SDL_Surface *screen);
};

extern const IntroScreen screens[];
extern int32_t currentScreen; // index of the intro screen running, or of the end row afterwards

struct Screen;
// The intro screens of the table, one after the other, as one screen of the runner: each ends when
// its update says so. A quit request ends the intro, and the program with it.
extern const Screen introScreen;
