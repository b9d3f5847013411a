// Video set-up and frame presentation: the window, the renderer, the 320 × 240 back surface.
#pragma once

#include <SDL.h>
#include <cstdint>

// How frames reach the display. The texture is in the display's own format, so the renderer only
// copies or scales it; what fills it is chosen by the output's size (see flipScreen).
struct Sdl2Context {
    SDL_Window *window;     // nullptr when presenting onto a software renderer's own surface
    SDL_Renderer *renderer; // its logical size is 320 × 240, so clicks arrive in screen pixels
    SDL_Texture *texture;   // made at the first presentation, again when the method or output changes
    uint32_t format;        // the texture's pixel format
    int32_t method;         // the scaling method the texture was made for
    int32_t outputWidth, outputHeight; // the output size it was made for
    int32_t pass;                      // the ScalePass that fills it
    int32_t route;                     // the ConvertRoute its pixels follow
    int32_t textureWidth;              // 320, or 640 for the doubling passes
    int32_t covers;                    // the picture fills the output: no bars to clear
};

extern SDL_Surface *screen;  // 320 × 240: all drawing goes here
extern SDL_Surface *fscreen; // 640 × 480: made and written by Scanline2x and antiAlias2
extern SDL_Surface *black;   // the half-transparent overlay of darken()
extern Sdl2Context *sdl2;

// Display settings, fixed at start-up from the configuration and the command line (fs only says
// how the window opens).
extern int32_t fs, ScalingMethod, bpp;

extern uint32_t BLACK, RED, DRED, BLUE, DBLUE, GREEN, DGREEN, YELLOW, DYELLOW, PURPLE, GREY, LGREY, DGREY,
    WHITE;

// Called once at start-up, after SDL_Init(SDL_INIT_VIDEO): a centred, resizable window (full screen
// when fs is set) and its renderer.
SDL_Surface *gfxSetVideoMode();
// Presents every later frame through renderer (of window, or of a software surface when window is
// nullptr), with textures in format; replaces any earlier video record. gfxSetVideoMode calls it.
void gfxAttachRenderer(SDL_Window *window, SDL_Renderer *renderer, uint32_t format);
// Returns a 320 × 240 back surface at depth bpp, or nullptr.
SDL_Surface *gfxCreateSurfaces();
void gfxInitColors();
void gfxPrepareBlackScreen();
void flipScreen();
void gfxShutdown();
// Alt+Enter: full screen at the desktop's resolution, or back to the window; the configuration
// keeps its mode.
void gfxToggleFullScreen();
// F12: the current 320 × 240 picture as mirabo-0001.png, mirabo-0002.png, ... (never overwriting) in
// folder, told on stderr; false when nothing was written.
bool gfxSaveScreenshot(const char *folder);
// The window shows the asset name (a keyed bitmap of the gfx archive) as its icon; nothing when the
// archive lacks it.
void gfxSetWindowIcon(const char *name);
