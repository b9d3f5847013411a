// The stage screen: background, time bar, status, decorations, board, target and moving pieces.
#pragma once

#include <SDL.h>

void drawScreen(int stage, int showCursor, int lives, int movesUsed);
void drawLoop(SDL_Surface *image, int offset);  // a band tiled across the width from column offset
