// Video set-up and frame presentation: the window, the renderer, the 320 × 240 back surface.
#pragma once

#include <SDL.h>
#include <cstdint>

struct Sdl2Context {
    SDL_Window *window;
    SDL_Renderer *renderer;
    SDL_Texture *texture; // made at the first presentation
    SDL_Surface *source;  // screen or fscreen
    int32_t sourceWidth;
    int32_t method; // the scaling method the texture was made for
};

extern SDL_Surface *screen;  // 320 × 240: all drawing goes here
extern SDL_Surface *fscreen; // 640 × 480: written by the doubling passes
extern SDL_Surface *black;   // the half-transparent overlay of darken()
extern Sdl2Context *sdl2;

// Display settings, fixed at start-up from the configuration and the command line.
extern int32_t fs, ScalingMethod, bpp;

extern uint32_t BLACK, RED, DRED, BLUE, DBLUE, GREEN, DGREEN, YELLOW, DYELLOW, PURPLE, GREY, LGREY, DGREY,
    WHITE;

SDL_Surface *gfxSetVideoMode();
// Makes fscreen at depth bpp and returns a 320 × 240 back surface in its format, or nullptr.
SDL_Surface *gfxCreateSurfaces();
void gfxInitColors();
void gfxPrepareBlackScreen();
void flipScreen();
void gfxShutdown();
