// Presenting the 320 × 240 back surface: which pass writes it into the output, and the doubled
// pictures in fscreen.
#include "gfx/scaling.h"

#include "gfx/cpu.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/passes.h"

uint8_t *aabuf;

static uint32_t topBit(uint32_t mask) { return mask ? 1u << (31 - __builtin_clz(mask)) : 0; }
static uint32_t lowBit(uint32_t mask) { return mask & (~mask + 1); }

// A 32-bit ARM build runs on CPUs with and without NEON, an x86-64 one on CPUs with and without AVX2;
// each has the passes both ways and takes the wider ones where the CPU has them.
static PassFunction chosenPass(ScalePass pass, const PixelConverter &c) {
#if defined(MIRABO_HAS_NEON_COPIES)
    if (cpuHasNeon())
        return scalePassForNeon(pass, c);
#endif
#if defined(MIRABO_HAS_AVX2_COPIES)
    if (cpuHasAvx2())
        return scalePassForAvx2(pass, c);
#endif
    return scalePassFor(pass, c);
}

bool gfxSmoothable(uint32_t format) {
    return format == SDL_PIXELFORMAT_RGB565 || (SDL_PIXELTYPE(format) == SDL_PIXELTYPE_PACKED32 &&
                                                SDL_PIXELLAYOUT(format) == SDL_PACKEDLAYOUT_8888);
}

static void runPass(ScalePass pass, const uint8_t *source, int sourcePitch, const SDL_PixelFormat *f,
                    void *pixels, int pitch, uint32_t format, ConvertRoute route) {
    const bool narrow = pass == SCALE_SMOOTH && format == SDL_PIXELFORMAT_RGB565;
    const PixelConverter &c =
        gfxConverter(f->format, narrow ? uint32_t(SDL_PIXELFORMAT_RGB888) : format, route);
    const uint32_t channels = f->Rmask | f->Gmask | f->Bmask;
    const Target target{source,
                        sourcePitch,
                        static_cast<uint8_t *>(pixels),
                        pitch,
                        &c,
                        topBit(f->Rmask) | topBit(f->Gmask) | topBit(f->Bmask),
                        channels & ~(lowBit(f->Rmask) | lowBit(f->Gmask) | lowBit(f->Bmask)),
                        narrow};
    chosenPass(pass, c)(target);
}

void scaleScreen(ScalePass pass, void *pixels, int pitch, uint32_t format, ConvertRoute route) {
    const auto *picture = static_cast<const uint8_t *>(screen->pixels);
    if (pass == SCALE_SMOOTH && format == SDL_PIXELFORMAT_RGB565 && screen->format->BytesPerPixel == 3) {
        // SDL smooths a 24-bit picture for a 16-bit output after reducing it to the output's format,
        // and so do we.
        static uint16_t reduced[SRC_W * SRC_H];
        static SDL_PixelFormat *const rgb565 = SDL_AllocFormat(SDL_PIXELFORMAT_RGB565);
        if (!rgb565)
            return;
        runPass(SCALE_COPY, picture, screen->pitch, screen->format, reduced, 2 * SRC_W, format, route);
        runPass(pass, reinterpret_cast<const uint8_t *>(reduced), 2 * SRC_W, rgb565, pixels, pitch, format,
                route);
        return;
    }
    runPass(pass, picture, screen->pitch, screen->format, pixels, pitch, format, route);
}

// fscreen is made at the first call (the game never shows it: review images and tests do).
static void intoFullScreen(ScalePass pass) {
    const SDL_PixelFormat *f = screen->format;
    if (!fscreen)
        fscreen = SDL_CreateRGBSurface(0, 2 * SRC_W, 2 * SRC_H, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask,
                                       f->Amask);
    if (!fscreen)
        return;
    SDL_LockSurface(fscreen);
    SDL_LockSurface(screen);
    scaleScreen(pass, fscreen->pixels, fscreen->pitch, fscreen->format->format, CONVERT_COPY);
    SDL_UnlockSurface(screen);
    SDL_UnlockSurface(fscreen);
}

void Scanline2x() { intoFullScreen(SCALE_SCANLINE); }

void antiAlias2() { intoFullScreen(SCALE_ANTIALIAS); }
