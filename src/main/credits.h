// The credits scroller under the title screen, with the translucent band behind it.
#pragma once

#include <SDL.h>
#include <cstdint>

// The scroller's text and where it stands; the band behind it.
struct Credits {
    const char *scroller; // text 89, nullptr until chosen
    int32_t scrollmax;    // its length in characters
    int32_t scrollidx;    // the first character shown
    int32_t scrolldx;     // the step within it, 0 to 15: a pixel every two steps
    SDL_Surface *scrollBack;
};
extern Credits credits;

void prepareScrollBack(); // once at start-up
void setupScroller();     // chooses text 89 the first time; always rewinds
void drawScroller();      // the band and 41 characters of text, into screen
void stepScroller();      // once per pass of the menu loop, drawn or not
