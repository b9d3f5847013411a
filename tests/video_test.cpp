// Video set-up and frame presentation on SDL's dummy video driver.
#include "gfx/scaling.h"
#include "gfx_helpers.h"

#include <vector>

namespace {

// What the renderer shows, read back in RGB565 at window size.
std::vector<uint16_t> presented() {
    std::vector<uint16_t> pixels(640 * 480);
    EXPECT_EQ(SDL_RenderReadPixels(sdl2->renderer, nullptr, SDL_PIXELFORMAT_RGB565, pixels.data(), 640 * 2),
              0)
        << SDL_GetError();
    return pixels;
}

struct Video : ::testing::Test {
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override {
        gfxShutdown();
        EXPECT_EQ(sdl2, nullptr);
        freeSurfaces();
        SDL_Quit();
    }
    void start(int depth, int fullScreen = 0) {
        fs = fullScreen;
        bpp = depth;
        screen = gfxSetVideoMode();
        ASSERT_NE(screen, nullptr) << SDL_GetError();
        gfxInitColors();
        gfxPrepareBlackScreen();
    }
    void drawPattern() {
        for (int y = 0; y < 240; y++)
            for (int x = 0; x < 320; x++)
                putPixel(screen, x, y,
                         SDL_MapRGB(screen->format, uint8_t(x * 4), uint8_t(y), (x ^ y) & 1 ? 255 : 0));
    }
};

TEST_F(Video, WindowAndSurfaces) {
    start(16);
    int w, h;
    SDL_GetWindowSize(sdl2->window, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_STREQ(SDL_GetWindowTitle(sdl2->window), "MIRABO");
    EXPECT_EQ(screen->w, 320);
    EXPECT_EQ(fscreen->w, 640);
    EXPECT_EQ(screen->format->format, SDL_PIXELFORMAT_RGB565);
    EXPECT_EQ(fscreen->format->format, SDL_PIXELFORMAT_RGB565);
    EXPECT_EQ(sdl2->texture, nullptr);
    EXPECT_EQ(WHITE, 0xFFFFu);
    EXPECT_EQ(DGREY, SDL_MapRGB(screen->format, 96, 96, 96));
}

TEST_F(Video, FullScreenTakesTheDesktop) {
    start(16, 1);
    EXPECT_EQ(SDL_GetWindowFlags(sdl2->window) & SDL_WINDOW_FULLSCREEN_DESKTOP,
              SDL_WINDOW_FULLSCREEN_DESKTOP);
    ScalingMethod = 1;
    flipScreen();
    EXPECT_NE(sdl2->texture, nullptr);
}

TEST_F(Video, EveryMethodPresentsTheFrame) {
    start(16);
    drawPattern();
    std::vector<uint8_t> before(static_cast<uint8_t *>(screen->pixels),
                                static_cast<uint8_t *>(screen->pixels) + 240 * screen->pitch);

    ScalingMethod = 0;
    flipScreen();
    ASSERT_NE(sdl2->texture, nullptr);
    EXPECT_EQ(sdl2->source, screen);
    EXPECT_EQ(sdl2->sourceWidth, 320);
    const std::vector<uint16_t> doubled = presented();
    for (int y : {0, 77, 239})
        for (int x : {0, 160, 319})
            EXPECT_EQ(doubled[2 * y * 640 + 2 * x + 1], getPixel(screen, x, y)) << x << "," << y;
    for (int method : {1, 2, 6, 9, 1}) {
        ScalingMethod = method;
        flipScreen();
        EXPECT_EQ(sdl2->method, method);
        EXPECT_EQ(sdl2->source, screen);
        EXPECT_EQ(presented(), doubled) << "method " << method;
    }

    for (int method : {3, 5}) {
        ScalingMethod = method;
        flipScreen();
        EXPECT_EQ(sdl2->source, fscreen);
        EXPECT_EQ(sdl2->sourceWidth, 640);
        const std::vector<uint16_t> shown = presented();
        for (int y : {0, 1, 300, 479})
            for (int x : {0, 333, 639})
                EXPECT_EQ(shown[y * 640 + x], getPixel(fscreen, x, y)) << method << ": " << x << "," << y;
    }
    EXPECT_EQ(getPixel(fscreen, 0, 1), (getPixel(screen, 0, 0) & 0x8410) >> 2); // the scanline ran

    ScalingMethod = 4;
    flipScreen();
    EXPECT_EQ(sdl2->source, screen);
    EXPECT_EQ(memcmp(before.data(), screen->pixels, before.size()), 0); // presenting draws nothing
}

TEST_F(Video, TwentyFourBits) {
    start(24);
    EXPECT_EQ(screen->format->BytesPerPixel, 3);
    EXPECT_EQ(screen->format->format, fscreen->format->format);
    drawPattern();
    for (int method : {1, 3, 5}) {
        ScalingMethod = method;
        flipScreen();
        std::vector<uint16_t> shown = presented();
        SDL_Surface *source = method == 1 ? screen : fscreen;
        const int scale = method == 1 ? 2 : 1;
        uint8_t r, g, b;
        SDL_GetRGB(getPixel(source, 150, 101), source->format, &r, &g, &b);
        EXPECT_EQ(shown[101 * scale * 640 + 150 * scale + 1],
                  uint16_t((r >> 3) << 11 | (g >> 2) << 5 | b >> 3))
            << "method " << method;
    }
}

} // namespace
