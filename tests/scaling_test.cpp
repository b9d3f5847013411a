// The software doubling passes: the scanline look and the antialiasing pass.
#include "gfx/scaling.h"
#include "gfx_helpers.h"

#include <algorithm>
#include <random>

namespace {

uint32_t rgb565(int r, int g, int b) { return uint32_t(r << 11 | g << 5 | b); }

struct Scaling : ::testing::Test {
    void TearDown() override {
        free(aabuf);
        aabuf = nullptr;
        freeSurfaces();
    }
    // A destination larger than 640 × 480 filled with a sentinel: the passes must not touch the rest.
    void oversizeDestination(uint32_t sentinel) {
        SDL_FreeSurface(fscreen);
        const SDL_PixelFormat *f = screen->format;
        fscreen = SDL_CreateRGBSurface(0, 650, 490, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, f->Amask);
        SDL_FillRect(fscreen, nullptr, sentinel);
    }
    void expectUntouchedOutside(uint32_t sentinel) {
        for (int y = 0; y < 490; y++)
            for (int x = y < 480 ? 640 : 0; x < 650; x++)
                ASSERT_EQ(getPixel(fscreen, x, y), sentinel) << x << "," << y;
    }
};

TEST_F(Scaling, Scanline16) {
    makeSurfaces(16);
    struct Case {
        uint32_t source, odd;
    };
    const uint32_t grey120 = SDL_MapRGB(screen->format, 120, 120, 120);
    const Case cases[] = {
        {0xFFFF, rgb565(4, 8, 4)},
        {grey120, 0},
        {SDL_MapRGB(screen->format, 200, 0, 0), rgb565(4, 0, 0)},
        {rgb565(16, 31, 15), rgb565(4, 0, 0)},
        {rgb565(15, 32, 16), rgb565(0, 8, 4)},
    };
    for (int i = 0; i < 5; i++)
        for (int y = 0; y < 240; y++)
            putPixel(screen, 64 * i, y, cases[i].source);
    putPixel(screen, 319, 239, 0xFFFF);
    oversizeDestination(0x1234);
    Scanline2x();
    for (int i = 0; i < 5; i++) {
        for (int y : {0, 100, 239}) {
            EXPECT_EQ(getPixel(fscreen, 128 * i, 2 * y), cases[i].source);
            EXPECT_EQ(getPixel(fscreen, 128 * i + 1, 2 * y), cases[i].source);
            EXPECT_EQ(getPixel(fscreen, 128 * i, 2 * y + 1), cases[i].odd) << i;
            EXPECT_EQ(getPixel(fscreen, 128 * i + 1, 2 * y + 1), cases[i].odd) << i;
        }
    }
    EXPECT_EQ(getPixel(fscreen, 639, 478), 0xFFFFu);
    EXPECT_EQ(getPixel(fscreen, 639, 479), rgb565(4, 8, 4));
    expectUntouchedOutside(0x1234);
}

TEST_F(Scaling, Scanline24) {
    makeSurfaces(24);
    putPixel(screen, 5, 7, 0xFF7F80); // bytes 0x80, 0x7F, 0xFF in memory order
    putPixel(screen, 319, 239, 0xFFFFFF);
    oversizeDestination(0xABCDEF);
    Scanline2x();
    for (int x : {10, 11}) {
        EXPECT_EQ(getPixel(fscreen, x, 14), 0xFF7F80u);
        EXPECT_EQ(getPixel(fscreen, x, 15), 0x200020u);
    }
    EXPECT_EQ(getPixel(fscreen, 12, 15), 0u);
    EXPECT_EQ(getPixel(fscreen, 639, 479), 0x202020u);
    expectUntouchedOutside(0xABCDEF);
}

// Flat areas and straight edges stay sharp; the corner of a diagonal step takes the half tone.
TEST_F(Scaling, AntialiasingSmoothsOnlyDiagonalSteps) {
    for (int depth : {16, 24}) {
        makeSurfaces(depth);
        const uint32_t white = WHITE, dark = BLACK;
        SDL_FillRect(screen, nullptr, white);
        SDL_Rect block{0, 0, 100, 5}; // dark above row 5 and ...
        SDL_FillRect(screen, &block, dark);
        SDL_Rect side{0, 0, 5, 100}; // ... left of column 5: (5, 5) is a white inner corner
        SDL_FillRect(screen, &side, dark);
        oversizeDestination(depth == 16 ? 0x1234 : 0xABCDEF);
        antiAlias2();
        uint8_t r, g, b;
        SDL_GetRGB(getPixel(fscreen, 10, 10), fscreen->format, &r, &g, &b);
        EXPECT_NEAR(r, 127, 4) << depth;
        EXPECT_NEAR(g, 127, 4) << depth;
        EXPECT_EQ(getPixel(fscreen, 11, 10), white);
        EXPECT_EQ(getPixel(fscreen, 10, 11), white);
        EXPECT_EQ(getPixel(fscreen, 11, 11), white);
        EXPECT_EQ(getPixel(fscreen, 40, 8), dark); // a straight edge: no blending either side
        EXPECT_EQ(getPixel(fscreen, 40, 9), dark);
        EXPECT_EQ(getPixel(fscreen, 40, 10), white);
        EXPECT_EQ(getPixel(fscreen, 639, 479), white);
        EXPECT_EQ(getPixel(fscreen, 0, 0), dark);
        expectUntouchedOutside(depth == 16 ? 0x1234 : 0xABCDEF);
        free(aabuf);
        aabuf = nullptr;
    }
}

// The rules written out plainly, against the pass, on three colours at random: the rules fire at
// every position of a row, the ends included.
TEST_F(Scaling, AntialiasingFollowsItsRulesEverywhere) {
    for (int depth : {16, 24}) {
        makeSurfaces(depth);
        const uint32_t colours[] = {WHITE, BLUE, SDL_MapRGB(screen->format, 200, 100, 50)};
        std::mt19937 random{uint32_t(depth)};
        for (int y = 0; y < 240; y++)
            for (int x = 0; x < 320; x++)
                putPixel(screen, x, y, colours[random() % 3]);
        antiAlias2();
        const SDL_PixelFormat *f = screen->format;
        auto mean = [f](uint32_t a, uint32_t b) {
            uint32_t out = 0;
            for (uint32_t mask : {f->Rmask, f->Gmask, f->Bmask}) {
                const int shift = __builtin_ctz(mask);
                out |= ((((a & mask) >> shift) + ((b & mask) >> shift)) >> 1) << shift;
            }
            return out;
        };
        auto at = [](int x, int y) { return getPixel(screen, std::clamp(x, 0, 319), std::clamp(y, 0, 239)); };
        int blended = 0;
        for (int y = 0; y < 240; y++)
            for (int x = 0; x < 320; x++) {
                const uint32_t b = at(x, y - 1), d = at(x - 1, y), e = at(x, y), f = at(x + 1, y),
                               h = at(x, y + 1);
                const bool corner = b != h && d != f;
                const uint32_t expected[4] = {
                    corner && d == b ? mean(d, e) : e, corner && b == f ? mean(f, e) : e,
                    corner && d == h ? mean(d, e) : e, corner && h == f ? mean(f, e) : e};
                for (int i = 0; i < 4; i++) {
                    ASSERT_EQ(getPixel(fscreen, 2 * x + i % 2, 2 * y + i / 2), expected[i])
                        << depth << " bits, " << x << "," << y << " output pixel " << i;
                    blended += expected[i] != e;
                }
            }
        EXPECT_GT(blended, 10000) << depth;
        free(aabuf);
        aabuf = nullptr;
    }
}

// A picture with random pixels, flat blocks and diagonal steps, so that every pass has work to do.
void drawBusyScreen(uint32_t seed) {
    std::mt19937 random(seed);
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++) {
            const bool flat = (x / 8 + y / 8) % 3 == 0, step = (x + y) % 16 < 8;
            putPixel(
                screen, x, y,
                flat ? (step ? WHITE : BLUE)
                     : SDL_MapRGB(screen->format, uint8_t(random()), uint8_t(random()), uint8_t(random())));
        }
}

// Any output format gets the pass's own picture with each pixel converted, and nothing beyond its
// rows is written.
TEST_F(Scaling, PassesIntoAnyFormatConvertTheirOwnPicture) {
    const ScalePass passes[] = {SCALE_COPY, SCALE_DOUBLE, SCALE_SCANLINE, SCALE_ANTIALIAS};
    const uint32_t formats[] = {SDL_PIXELFORMAT_RGB565, SDL_PIXELFORMAT_BGR24, SDL_PIXELFORMAT_RGB24,
                                SDL_PIXELFORMAT_RGB888, SDL_PIXELFORMAT_ARGB8888};
    constexpr int SPARE = 7; // bytes after each row that must stay as they are
    for (int depth : {16, 24}) {
        makeSurfaces(depth);
        drawBusyScreen(uint32_t(depth));
        const uint32_t own = screen->format->format;
        for (ScalePass pass : passes) {
            const int w = pass == SCALE_COPY ? 320 : 640, h = w * 3 / 4;
            const int ownPitch = w * screen->format->BytesPerPixel;
            std::vector<uint8_t> mine(size_t(ownPitch) * h);
            scaleScreen(pass, mine.data(), ownPitch, own, CONVERT_COPY);
            if (pass == SCALE_DOUBLE) {
                SDL_Surface *doubled =
                    SDL_CreateRGBSurfaceWithFormatFrom(mine.data(), w, h, depth, ownPitch, own);
                for (int y = 0; y < h; y++)
                    for (int x = 0; x < w; x++)
                        ASSERT_EQ(getPixel(doubled, x, y), getPixel(screen, x / 2, y / 2)) << x << "," << y;
                SDL_FreeSurface(doubled);
            }
            for (uint32_t format : formats)
                for (ConvertRoute route : {CONVERT_COPY, CONVERT_SCALE}) {
                    const int bytes = SDL_BYTESPERPIXEL(format), pitch = w * bytes + SPARE;
                    std::vector<uint8_t> out(size_t(pitch) * h, 0xA5);
                    scaleScreen(pass, out.data(), pitch, format, route);
                    const PixelConverter &c = gfxConverter(own, format, route);
                    for (int y = 0; y < h; y++) {
                        for (int x = 0; x < w; x++) {
                            uint32_t source = 0, shown = 0;
                            memcpy(&source, mine.data() + size_t(y) * ownPitch + x * (depth / 8), depth / 8);
                            memcpy(&shown, out.data() + size_t(y) * pitch + x * bytes, bytes);
                            ASSERT_EQ(shown,
                                      gfxConvertPixel(c, source) & (bytes == 4 ? ~0u : (1u << 8 * bytes) - 1))
                                << depth << " bits, pass " << pass << ", " << SDL_GetPixelFormatName(format)
                                << " at " << x << "," << y;
                        }
                        for (int i = w * bytes; i < pitch; i++)
                            ASSERT_EQ(out[size_t(y) * pitch + i], 0xA5) << "row " << y << " spills over";
                    }
                }
        }
    }
}

// The smooth pass is the software renderer's linear filter at twice the size, for every format of
// four 8-bit channels, alpha included.
// At 16 bits a 16-bit output is smoothed too: SDL works in 32 bits and keeps each channel's top bits.
TEST_F(Scaling, SmoothPassIsTheRenderersLinearFilter) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    for (int depth : {16, 24}) {
        makeSurfaces(depth);
        drawBusyScreen(uint32_t(depth) + 1);
        for (uint32_t format : {SDL_PIXELFORMAT_RGB888, SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_ABGR8888,
                                SDL_PIXELFORMAT_RGB565}) {
            ASSERT_TRUE(gfxSmoothable(format));
            const int bytes = SDL_BYTESPERPIXEL(format);
            SDL_Surface *theirs = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 8 * bytes, format);
            SDL_Renderer *renderer = SDL_CreateSoftwareRenderer(theirs);
            SDL_Texture *texture = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, 320, 240);
            SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
            void *pixels;
            int pitch;
            ASSERT_EQ(SDL_LockTexture(texture, nullptr, &pixels, &pitch), 0);
            scaleScreen(SCALE_COPY, pixels, pitch, format, CONVERT_SCALE);
            SDL_UnlockTexture(texture);
            SDL_RenderCopy(renderer, texture, nullptr, nullptr);
            SDL_RenderFlush(renderer);
            std::vector<uint8_t> ours(640 * 480 * 4);
            scaleScreen(SCALE_SMOOTH, ours.data(), 640 * bytes, format, CONVERT_SCALE);
            // Where SDL's filter rounds differently (see LINEAR_FILTER_SLACK), a channel by one step.
            auto close = [bytes](uint32_t a, uint32_t b) {
                if (bytes == 4)
                    return bytesWithin(a, b, LINEAR_FILTER_SLACK);
                const int fields[3][2] = {{11, 31}, {5, 63}, {0, 31}};
                for (const auto &field : fields)
                    if (std::abs(int(a >> field[0] & field[1]) - int(b >> field[0] & field[1])) >
                        LINEAR_FILTER_SLACK)
                        return false;
                return true;
            };
            for (int y = 0; y < 480; y++)
                for (int x = 0; x < 640; x++) {
                    uint32_t mine = 0;
                    memcpy(&mine, ours.data() + (size_t(y) * 640 + x) * bytes, bytes);
                    ASSERT_TRUE(close(mine, getPixel(theirs, x, y)))
                        << depth << " bits, " << SDL_GetPixelFormatName(format) << " at " << x << "," << y;
                }
            SDL_DestroyRenderer(renderer);
            SDL_FreeSurface(theirs);
        }
    }
    EXPECT_FALSE(gfxSmoothable(SDL_PIXELFORMAT_ARGB2101010));
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace
