// Writes a surface as a PNG file, for review images and test artifacts.
#pragma once

#include <SDL.h>

bool savePNG(SDL_Surface *surface, const char *path); // any pixel format; true when written
