// The open-source notice: the libraries the game is built on.
#pragma once

#include <SDL.h>
#include <cstdint>

int32_t opensourceInit();
int32_t opensourceShutdown();
int32_t opensourceUpdate(); // non-zero once any key, pad button or click came
int32_t opensourceRender(SDL_Surface *screen);
