// The software doubling passes: the scanline look and the antialiasing pass.
#include "gfx/scaling.h"
#include "gfx_helpers.h"

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

} // namespace
