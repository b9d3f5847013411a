// Video set-up and frame presentation: the window, the renderer, the 320 × 240 back surface.
#include "gfx/gfx_sdl2.h"

SDL_Surface *screen, *fscreen, *black;
Sdl2Context *sdl2;

int32_t fs, ScalingMethod = 1, bpp = 16;

uint32_t BLACK, RED, DRED, BLUE, DBLUE, GREEN, DGREEN, YELLOW, DYELLOW, PURPLE, GREY, LGREY, DGREY, WHITE;
