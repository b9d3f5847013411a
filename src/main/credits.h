// The credits scroller under the title screen, with the translucent band behind it.
#pragma once

#include <SDL.h>
#include <cstdint>

extern const char *scroller;  // nullptr until chosen
extern int32_t scrollmax, scrollidx, scrolldx;
extern SDL_Surface *scrollBack;

void prepareScrollBack();  // once at start-up
void setupScroller();      // chooses text 89 the first time; always rewinds
void drawScroller();       // the band and 41 characters of text, into screen
void stepScroller();       // once per pass of the menu loop, drawn or not
