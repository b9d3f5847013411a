// The maker-logo screen: the emblem circles while the logo slides in and the jingle plays.
#pragma once

#include <SDL.h>
#include <cstdint>

int32_t zenkInit();
int32_t zenkShutdown();
int32_t zenkUpdate(); // non-zero once the screen is over: its jingle ended, or START, JUMP or a click
int32_t zenkRender(SDL_Surface *screen);
