// Video set-up and frame presentation: the window, the renderer, the 320 × 240 back surface.
#include "gfx/gfx_sdl2.h"

#include "gfx/scaling.h"
#include "input/sys.h"

#include <cstdlib>

SDL_Surface *screen, *fscreen, *black;
Sdl2Context *sdl2;

int32_t fs, ScalingMethod = 1, bpp = 16;

uint32_t BLACK, RED, DRED, BLUE, DBLUE, GREEN, DGREEN, YELLOW, DYELLOW, PURPLE, GREY, LGREY, DGREY, WHITE;

static void destroyContext() {
    if (!sdl2)
        return;
    if (sdl2->texture)
        SDL_DestroyTexture(sdl2->texture);
    if (sdl2->renderer)
        SDL_DestroyRenderer(sdl2->renderer);
    if (sdl2->window)
        SDL_DestroyWindow(sdl2->window);
    free(sdl2);
    sdl2 = nullptr;
}

// Called once at start-up, after SDL_Init(SDL_INIT_VIDEO); a second call replaces everything.
SDL_Surface *gfxSetVideoMode() {
    if (fscreen) {
        SDL_FreeSurface(fscreen);
        fscreen = nullptr;
    }
    if (screen) {
        SDL_FreeSurface(screen);
        screen = nullptr;
    }
    destroyContext();
    sdl2 = static_cast<Sdl2Context *>(calloc(1, sizeof(Sdl2Context)));
    if (!sdl2)
        return nullptr;

    if (fs)
        sdl2->window = SDL_CreateWindow("MIRABO", 0, 0, 1280, 720, SDL_WINDOW_FULLSCREEN_DESKTOP);
    else
        sdl2->window = SDL_CreateWindow("MIRABO", 0, 0, 640, 480, 0);
    // A display without an accelerated, synchronised renderer (the dummy driver of headless runs,
    // some handheld framebuffers) still presents through whatever renderer SDL has.
    sdl2->renderer =
        SDL_CreateRenderer(sdl2->window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!sdl2->renderer)
        sdl2->renderer = SDL_CreateRenderer(sdl2->window, -1, 0);
    SDL_RenderSetLogicalSize(sdl2->renderer, 320, 240);

    SDL_Surface *back = gfxCreateSurfaces();
    atexit(SDL_Quit);
    return back;
}

// The window-free half of the video set-up, also used by tools and tests that draw without a window.
SDL_Surface *gfxCreateSurfaces() {
    fscreen = SDL_CreateRGBSurface(0, 640, 480, bpp, 0, 0, 0, 0);
    if (!fscreen)
        return nullptr;
    const SDL_PixelFormat *f = fscreen->format;
    return SDL_CreateRGBSurface(0, 320, 240, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, f->Amask);
}

// Called once, right after screen is set.
void gfxInitColors() {
    struct Named {
        uint32_t *colour;
        uint8_t r, g, b;
    };
    static const Named named[] = {
        {&BLACK, 0, 0, 0},       {&RED, 255, 0, 0},       {&DRED, 128, 0, 0},     {&BLUE, 0, 0, 255},
        {&DBLUE, 0, 0, 128},     {&GREEN, 0, 255, 0},     {&DGREEN, 0, 128, 0},   {&YELLOW, 255, 255, 0},
        {&DYELLOW, 128, 128, 0}, {&PURPLE, 255, 0, 255},  {&GREY, 128, 128, 128}, {&LGREY, 192, 192, 192},
        {&DGREY, 96, 96, 96},    {&WHITE, 255, 255, 255},
    };
    for (const Named &n : named)
        *n.colour = SDL_MapRGB(screen->format, n.r, n.g, n.b);
}

// Called once, right after gfxInitColors: the overlay that darken() blends over the screen.
void gfxPrepareBlackScreen() {
    const SDL_PixelFormat *f = screen->format;
    black = SDL_CreateRGBSurface(0, 320, 240, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, f->Amask);
    SDL_SetSurfaceBlendMode(black, SDL_BLENDMODE_BLEND);
    SDL_FillRect(black, nullptr, BLACK);
    SDL_SetSurfaceAlphaMod(black, 128);
    SDL_SetSurfaceBlendMode(black, SDL_BLENDMODE_BLEND);
}

// Called by every screen loop once per drawn frame, after all drawing of that frame.
void flipScreen() {
    SDL_Surface *source = screen;
    const char *filter = "nearest";
    if (ScalingMethod == 3) {
        Scanline2x();
        source = fscreen;
    } else if (ScalingMethod == 5) {
        antiAlias2();
        source = fscreen;
    } else if (ScalingMethod == 4) {
        filter = "linear";
    }

    if (!sdl2->texture || sdl2->method != ScalingMethod) {
        sdl2->method = ScalingMethod;
        sdl2->source = source;
        sdl2->sourceWidth = source->w;
        if (sdl2->texture)
            SDL_DestroyTexture(sdl2->texture);
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, filter);
        sdl2->texture = SDL_CreateTexture(sdl2->renderer, source->format->format, SDL_TEXTUREACCESS_STREAMING,
                                          source->w, source->h);
    }
    SDL_UpdateTexture(sdl2->texture, nullptr, source->pixels, source->pitch);
    SDL_RenderClear(sdl2->renderer);
    SDL_RenderCopy(sdl2->renderer, sdl2->texture, nullptr, nullptr);
    SDL_RenderPresent(sdl2->renderer);
    sysPresented();
}

// Called once at exit, before the images are freed and SDL is quit.
void gfxShutdown() {
    free(aabuf);
    aabuf = nullptr;
    destroyContext();
}
