// Writes a surface as a PNG file, for review images, icons and test artifacts.
#pragma once

#include <SDL.h>

// Any pixel format; a surface with an alpha channel keeps it. True when written.
bool savePNG(SDL_Surface *surface, const char *path);
