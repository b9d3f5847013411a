// Video set-up and frame presentation: the window, the renderer, the 320 × 240 back surface.
#include "gfx/gfx_sdl2.h"

#include "data/config.h"
#include "data/winzka.h"
#include "gfx/image.h"
#include "gfx/png.h"
#include "gfx/scaling.h"
#include "input/sys.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

constexpr int SCREEN_W = 320, SCREEN_H = 240;

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

// The display's own format spares the renderer a conversion of every frame; a renderer that cannot
// take it gets its own first format of 2 to 4 bytes per pixel.
static uint32_t displayFormat(SDL_Window *window, SDL_Renderer *renderer) {
    const uint32_t windowFormat = SDL_GetWindowPixelFormat(window);
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0)
        return windowFormat;
    for (uint32_t i = 0; i < info.num_texture_formats; i++)
        if (info.texture_formats[i] == windowFormat)
            return windowFormat;
    for (uint32_t i = 0; i < info.num_texture_formats; i++) {
        const uint32_t f = info.texture_formats[i];
        if (!SDL_ISPIXELFORMAT_FOURCC(f) && !SDL_ISPIXELFORMAT_INDEXED(f) && SDL_BYTESPERPIXEL(f) >= 2)
            return f;
    }
    return SDL_PIXELFORMAT_ARGB8888;
}

// A second call replaces everything.
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
    // A 640 × 480 window even in full screen, so that Alt+Enter has a window to come back to.
    SDL_Window *window = SDL_CreateWindow("MIRABO", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                                          SDL_WINDOW_RESIZABLE | (fs ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
    if (!window)
        return nullptr;
    SDL_SetWindowMinimumSize(window, SCREEN_W, SCREEN_H);
    // A display without an accelerated, synchronised renderer (the dummy driver of headless runs,
    // some handheld framebuffers) still presents through whatever renderer SDL has.
    SDL_Renderer *renderer =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer)
        renderer = SDL_CreateRenderer(window, -1, 0);
    gfxAttachRenderer(window, renderer, displayFormat(window, renderer));

    SDL_Surface *back = gfxCreateSurfaces();
    atexit(SDL_Quit);
    return back;
}

void gfxAttachRenderer(SDL_Window *window, SDL_Renderer *renderer, uint32_t format) {
    destroyContext();
    sdl2 = static_cast<Sdl2Context *>(calloc(1, sizeof(Sdl2Context)));
    if (!sdl2)
        return;
    sdl2->window = window;
    sdl2->renderer = renderer;
    sdl2->format = format;
    SDL_RenderSetLogicalSize(renderer, SCREEN_W, SCREEN_H);
}

// The window-free half of the video set-up, also used by tools and tests that draw without a window.
SDL_Surface *gfxCreateSurfaces() { return SDL_CreateRGBSurface(0, SCREEN_W, SCREEN_H, bpp, 0, 0, 0, 0); }

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
    prepareDarken();
}

// What fills the texture for an output of w × h, and how the renderer shows it. The sharp methods show
// the largest whole multiple of 320 × 240 that fits, centred: at exactly twice the size we double the
// picture ourselves (the renderer then only copies), at other sizes the renderer repeats pixels. The
// scanline and antialiasing methods need a doubled picture to show their look, so they show theirs
// from twice the size on, and the picture as it is below that. The smooth method fills the height
// through the renderer's linear filter, which we do ourselves at exactly twice the size.
static void planPresentation(int w, int h) {
    const int method = ScalingMethod;
    const bool smooth = method == 4, doubled = method == 3 || method == 5;
    const int whole = std::max(1, std::min(w / SCREEN_W, h / SCREEN_H));
    const bool twice = w == 2 * SCREEN_W && h == 2 * SCREEN_H;
    ScalePass pass = SCALE_COPY;
    if (doubled && whole >= 2)
        pass = method == 3 ? SCALE_SCANLINE : SCALE_ANTIALIAS;
    else if (smooth && twice && gfxSmoothable(sdl2->format))
        pass = SCALE_SMOOTH;
    else if (!smooth && !doubled && whole == 2)
        pass = SCALE_DOUBLE;
    // The colours SDL gave each method when it converted the picture itself: the doubled pictures
    // were copied, the others scaled (and a 320 × 240 output takes the picture's own format).
    const bool copied = doubled || (whole == 1 && !smooth);
    sdl2->method = method;
    sdl2->outputWidth = w;
    sdl2->outputHeight = h;
    sdl2->pass = pass;
    sdl2->route = copied ? CONVERT_COPY : CONVERT_SCALE;
    sdl2->textureWidth = pass == SCALE_COPY ? SCREEN_W : 2 * SCREEN_W;
    sdl2->covers = smooth ? w * SCREEN_H == h * SCREEN_W : w == whole * SCREEN_W && h == whole * SCREEN_H;
    if (sdl2->texture)
        SDL_DestroyTexture(sdl2->texture);
    sdl2->texture = SDL_CreateTexture(sdl2->renderer, sdl2->format, SDL_TEXTUREACCESS_STREAMING,
                                      sdl2->textureWidth, sdl2->textureWidth * SCREEN_H / SCREEN_W);
    SDL_SetTextureScaleMode(sdl2->texture,
                            smooth && pass == SCALE_COPY ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_RenderSetIntegerScale(sdl2->renderer, smooth ? SDL_FALSE : SDL_TRUE);
}

// Called by every screen loop once per drawn frame, after all drawing of that frame. The output's
// size is asked every frame, so a resized window or a switch to full screen shows at the next one.
void flipScreen() {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(sdl2->renderer, &w, &h);
    if (!sdl2->texture || sdl2->method != ScalingMethod || w != sdl2->outputWidth || h != sdl2->outputHeight)
        planPresentation(w, h);
    void *pixels;
    int pitch;
    if (SDL_LockTexture(sdl2->texture, nullptr, &pixels, &pitch) == 0) {
        scaleScreen(ScalePass(sdl2->pass), pixels, pitch, sdl2->format, ConvertRoute(sdl2->route));
        SDL_UnlockTexture(sdl2->texture);
    }
    if (!sdl2->covers)
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

void gfxToggleFullScreen() {
    if (!sdl2 || !sdl2->window)
        return;
    const bool full = (SDL_GetWindowFlags(sdl2->window) & SDL_WINDOW_FULLSCREEN) != 0;
    SDL_SetWindowFullscreen(sdl2->window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

// Called once at start-up, after the archives are open. The bitmap keeps its own colours (no trip
// through the screen's format); its magenta is transparent.
void gfxSetWindowIcon(const char *name) {
    uint32_t size = 0;
    uint8_t *bytes = loadZKAFile(ZKA_GFX, name, "bmp", &size);
    SDL_Surface *icon = bytes ? SDL_LoadBMP_RW(SDL_RWFromConstMem(bytes, int(size)), 1) : nullptr;
    if (icon && sdl2 && sdl2->window) {
        SDL_SetColorKey(icon, SDL_TRUE, SDL_MapRGB(icon->format, 255, 0, 255));
        SDL_SetWindowIcon(sdl2->window, icon);
    }
    SDL_FreeSurface(icon);
    free(bytes);
}

bool gfxSaveScreenshot(const char *folder) {
    constexpr int MOST_SHOTS = 9999;
    for (int n = 1; n <= MOST_SHOTS; n++) {
        char name[32];
        snprintf(name, sizeof name, "mirabo-%04d", n);
        const char *path = filename(folder, name, "png");
        struct stat taken;
        if (stat(path, &taken) == 0)
            continue;
        if (!savePNG(screen, path)) {
            fprintf(stderr, "Cannot write the screenshot %s\n", path);
            return false;
        }
        fprintf(stderr, "Screenshot saved as %s\n", path);
        return true;
    }
    fprintf(stderr, "No screenshot written: %s already holds %d\n", folder, MOST_SHOTS);
    return false;
}
