// The fatal error reporter: resources the game cannot run without end the process here.
#include "gfx/debug.h"

#include "gfx/gfx_sdl2.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// A player who started the game from a menu sees no terminal, so the error also goes to a message
// box. Not with the dummy or offscreen driver (tests, headless runs): there nobody could close it.
// Before the video is up, an X11 or Wayland session is the sign of a display.
static bool displayExists() {
    const bool videoUp = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    const char *driver = videoUp ? SDL_GetCurrentVideoDriver() : SDL_getenv("SDL_VIDEODRIVER");
    if (driver && (strcmp(driver, "dummy") == 0 || strcmp(driver, "offscreen") == 0))
        return false;
    return videoUp || SDL_getenv("DISPLAY") || SDL_getenv("WAYLAND_DISPLAY");
}

void error(const char *message, const char *detail) {
    char text[2048];
    snprintf(text, sizeof text, "%s: %s", message, detail ? detail : "unknown");
    fprintf(stderr, "%s\n", text);
    fflush(stderr);
    fflush(stdout);
    if (displayExists())
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "MIRABO", text, sdl2 ? sdl2->window : nullptr);
    exit(1);
}
