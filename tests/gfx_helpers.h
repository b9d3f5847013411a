// Helpers shared by the graphics tests: a back surface without a window, pixel access, bitmap files.
#pragma once

#include "gfx/gfx_sdl2.h"
#include "temp_folder.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// screen, fscreen, black and the colours as gfxSetVideoMode and its followers leave them, in memory.
inline void makeSurfaces(int depth) {
    SDL_FreeSurface(fscreen);
    SDL_FreeSurface(screen);
    SDL_FreeSurface(black);
    fscreen = nullptr; // the doubling passes make it again at this depth
    bpp = depth;
    screen = gfxCreateSurfaces();
    gfxInitColors();
    gfxPrepareBlackScreen();
}

inline void freeSurfaces() {
    SDL_FreeSurface(fscreen);
    SDL_FreeSurface(screen);
    SDL_FreeSurface(black);
    fscreen = screen = black = nullptr;
}

// SDL's linear filter in 32-bit ARM builds (its NEON stretch) rounds some blends one step away from
// what it gives on x86-64 and 64-bit ARM, which our smooth pass reproduces bit for bit; there a
// channel of a smoothed pixel may differ by one.
#if defined(__arm__)
constexpr int LINEAR_FILTER_SLACK = 1;
#else
constexpr int LINEAR_FILTER_SLACK = 0;
#endif

// Whether each byte of a and b differs by at most slack.
inline bool bytesWithin(uint32_t a, uint32_t b, int slack) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > slack)
            return false;
    return true;
}

inline uint32_t getPixel(const SDL_Surface *s, int x, int y) {
    const int bytes = s->format->BytesPerPixel;
    const auto *p = static_cast<const uint8_t *>(s->pixels) + size_t(y) * s->pitch + x * bytes;
    uint32_t v = 0;
    for (int i = 0; i < bytes; i++)
        v |= uint32_t(p[i]) << (8 * i);
    return v;
}

inline void putPixel(SDL_Surface *s, int x, int y, uint32_t v) {
    const int bytes = s->format->BytesPerPixel;
    auto *p = static_cast<uint8_t *>(s->pixels) + size_t(y) * s->pitch + x * bytes;
    for (int i = 0; i < bytes; i++)
        p[i] = uint8_t(v >> (8 * i));
}

// A surface in screen's format filled with one raw pixel value.
inline SDL_Surface *solid(int w, int h, uint32_t value) {
    const SDL_PixelFormat *f = screen->format;
    SDL_Surface *s = SDL_CreateRGBSurface(0, w, h, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, f->Amask);
    SDL_FillRect(s, nullptr, value);
    return s;
}

// The bitmap file SDL writes for a surface, as bytes; the surface is freed.
inline std::vector<uint8_t> bmpBytes(SDL_Surface *s) {
    const std::string path = "bmp_bytes_" + std::to_string(getpid()) + ".tmp"; // tests run side by side
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
    std::vector<uint8_t> bytes = readBytes(path);
    remove(path.c_str());
    return bytes;
}

// A 24-bit RGB image whose pixels come from rgb(x, y).
template <typename F> inline SDL_Surface *rgbImage(int w, int h, F rgb) {
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_BGR24);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            uint32_t c = rgb(x, y);
            putPixel(s, x, y, SDL_MapRGB(s->format, uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)));
        }
    return s;
}
