// The software doubling passes that build the 640 × 480 picture in fscreen from screen.
#include "gfx/scaling.h"

#include "gfx/gfx_sdl2.h"

#include <cstdlib>
#include <cstring>

uint8_t *aabuf;

constexpr int SRC_W = 320, SRC_H = 240;

static uint32_t topBit(uint32_t mask) { return mask ? 1u << (31 - __builtin_clz(mask)) : 0; }
static uint32_t lowBit(uint32_t mask) { return mask & (~mask + 1); }

static const uint8_t *srcRow(int y) {
    return static_cast<const uint8_t *>(screen->pixels) + size_t(y) * screen->pitch;
}
static uint8_t *dstRow(int y) { return static_cast<uint8_t *>(fscreen->pixels) + size_t(y) * fscreen->pitch; }

// Even rows double each pixel; odd rows keep only the top bit of each channel, two places lower:
// 1/8 of full scale where the channel is at least half, black elsewhere.
static void scanline16() {
    const SDL_PixelFormat *f = screen->format;
    const uint32_t mask = (topBit(f->Rmask) | topBit(f->Gmask) | topBit(f->Bmask)) & 0xFFFF;
    const uint32_t pairMask = mask * 0x10001u;
    for (int y = 0; y < SRC_H; y++) {
        const auto *__restrict in = reinterpret_cast<const uint16_t *>(srcRow(y));
        auto *__restrict even = reinterpret_cast<uint32_t *>(dstRow(2 * y));
        auto *__restrict odd = reinterpret_cast<uint32_t *>(dstRow(2 * y + 1));
        for (int x = 0; x < SRC_W; x++) {
            const uint32_t pair = in[x] * 0x10001u;
            even[x] = pair;
            odd[x] = (pair & pairMask) >> 2;
        }
    }
}

// Byte by byte at 24 bits (and any other width): each channel 32 when it is 128 or more, else 0.
// The odd row is made from the even one in a second, branch-free pass the compiler vectorises.
template <int BYTES> static void scanlineBytes() {
    for (int y = 0; y < SRC_H; y++) {
        const uint8_t *__restrict in = srcRow(y);
        uint8_t *__restrict even = dstRow(2 * y);
        uint8_t *__restrict odd = dstRow(2 * y + 1);
        int x = 0;
        if (BYTES == 3) {
            // Four-byte moves whose spare byte the next store overwrites; the last pixel goes byte
            // by byte so that nothing outside the rows is read or written.
            for (; x < SRC_W - 1; x++) {
                uint32_t pixel;
                memcpy(&pixel, in + 3 * x, 4);
                memcpy(even + 6 * x, &pixel, 4);
                memcpy(even + 6 * x + 3, &pixel, 4);
            }
        }
        for (; x < SRC_W; x++) {
            for (int i = 0; i < BYTES; i++)
                even[2 * BYTES * x + i] = even[2 * BYTES * x + BYTES + i] = in[BYTES * x + i];
        }
        for (int i = 0; i < 2 * BYTES * SRC_W; i++)
            odd[i] = uint8_t((even[i] >> 2) & 0x20);
    }
}

// Called by flipScreen every frame under the scanline method.
void Scanline2x() {
    SDL_LockSurface(fscreen);
    SDL_LockSurface(screen);
    if (screen->format->BytesPerPixel == 2)
        scanline16();
    else if (screen->format->BytesPerPixel == 3)
        scanlineBytes<3>();
    else if (screen->format->BytesPerPixel == 4)
        scanlineBytes<4>();
    else
        scanlineBytes<1>();
    SDL_UnlockSurface(screen);
    SDL_UnlockSurface(fscreen);
}

// The antialiasing pass: Scale2x's edge rules decide which of the four output pixels of a source
// pixel E lie on a diagonal edge, and those take the mean of E and the neighbour the rule picked
// instead of the neighbour itself. Staircases become smooth slopes with a half-tone step, flat areas
// and straight edges stay sharp, and the cost is a few compares and at most four averages per pixel.
//
//      B          E0 E1
//    D E F   ->   E2 E3
//      H
//
// aabuf holds the source with a one-pixel border copied from the edge, so the loop needs no tests.
constexpr int PAD_W = SRC_W + 2, PAD_H = SRC_H + 2;

template <typename P> static P *padded() {
    if (!aabuf)
        aabuf = static_cast<uint8_t *>(malloc(sizeof(uint32_t) * PAD_W * PAD_H));
    return reinterpret_cast<P *>(aabuf);
}

template <typename P, int BYTES> static P loadPixel(const uint8_t *p) {
    P v = 0;
    memcpy(&v, p, BYTES);
    return v;
}

// Two output pixels side by side. Three-byte pixels are written as four-byte moves whose spare byte
// the next move overwrites, except at the end of a row, where nothing may spill over.
template <typename P, int BYTES> static void storePair(uint8_t *p, P a, P b, bool rowEnd) {
    if constexpr (BYTES == 3) {
        if (!rowEnd) {
            memcpy(p, &a, 4);
            memcpy(p + 3, &b, 4);
            return;
        }
    }
    memcpy(p, &a, BYTES);
    memcpy(p + BYTES, &b, BYTES);
}

template <typename P, int BYTES> static void fillPadded(P *buf) {
    for (int y = 0; y < PAD_H; y++) {
        const int from = y == 0 ? 0 : y > SRC_H ? SRC_H - 1 : y - 1;
        const uint8_t *in = srcRow(from);
        P *out = buf + y * PAD_W;
        int x = 0;
        if constexpr (BYTES == 3) {
            for (; x < SRC_W - 1; x++)
                out[x + 1] = loadPixel<P, 4>(in + x * 3) & 0xFFFFFF;
        }
        for (; x < SRC_W; x++)
            out[x + 1] = loadPixel<P, BYTES>(in + x * BYTES);
        out[0] = out[1];
        out[SRC_W + 1] = out[SRC_W];
    }
}

template <typename P, int BYTES> static void smoothScale2x(P halfMask) {
    P *buf = padded<P>();
    if (!buf)
        return;
    fillPadded<P, BYTES>(buf);
    auto mean = [halfMask](P a, P b) { return P((a & b) + (((a ^ b) & halfMask) >> 1)); };
    for (int y = 0; y < SRC_H; y++) {
        const P *up = buf + y * PAD_W + 1, *mid = up + PAD_W, *down = mid + PAD_W;
        uint8_t *top = dstRow(2 * y), *bottom = dstRow(2 * y + 1);
        for (int x = 0; x < SRC_W; x++, top += 2 * BYTES, bottom += 2 * BYTES) {
            const P b = up[x], d = mid[x - 1], e = mid[x], f = mid[x + 1], h = down[x];
            P e0 = e, e1 = e, e2 = e, e3 = e;
            if (b != h && d != f) {
                if (d == b)
                    e0 = mean(d, e);
                if (b == f)
                    e1 = mean(f, e);
                if (d == h)
                    e2 = mean(d, e);
                if (h == f)
                    e3 = mean(f, e);
            }
            storePair<P, BYTES>(top, e0, e1, x == SRC_W - 1);
            storePair<P, BYTES>(bottom, e2, e3, x == SRC_W - 1);
        }
    }
}

// Called by flipScreen every frame under the antialiasing method.
void antiAlias2() {
    const SDL_PixelFormat *f = screen->format;
    SDL_LockSurface(fscreen);
    SDL_LockSurface(screen);
    switch (f->BytesPerPixel) {
    case 2:
        smoothScale2x<uint16_t, 2>(uint16_t(~(lowBit(f->Rmask) | lowBit(f->Gmask) | lowBit(f->Bmask))));
        break;
    case 3:
        smoothScale2x<uint32_t, 3>(0xFEFEFEu);
        break;
    case 4:
        smoothScale2x<uint32_t, 4>(0xFEFEFEFEu);
        break;
    default:
        smoothScale2x<uint32_t, 1>(0xFEu);
        break;
    }
    SDL_UnlockSurface(screen);
    SDL_UnlockSurface(fscreen);
}
