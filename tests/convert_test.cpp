// Pixel conversion tables against SDL's own conversions: every 16-bit pixel, a spread of 24-bit ones.
#include "gfx/convert.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr uint32_t sources[] = {SDL_PIXELFORMAT_RGB565, SDL_PIXELFORMAT_BGR24, SDL_PIXELFORMAT_BGR565,
                                SDL_PIXELFORMAT_RGB555};
constexpr uint32_t targets[] = {SDL_PIXELFORMAT_RGB888, SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_ABGR8888,
                                SDL_PIXELFORMAT_RGB565, SDL_PIXELFORMAT_BGR24,    SDL_PIXELFORMAT_RGB24};

uint32_t pixelAt(const SDL_Surface *s, int x, int y) {
    uint32_t v = 0;
    memcpy(&v, static_cast<const uint8_t *>(s->pixels) + size_t(y) * s->pitch + x * s->format->BytesPerPixel,
           s->format->BytesPerPixel);
    return v;
}

// The bits of a format that hold a channel: the rest (the X of XRGB8888) means nothing.
uint32_t usedBits(uint32_t format) {
    SDL_PixelFormat *f = SDL_AllocFormat(format);
    const uint32_t used = f->Rmask | f->Gmask | f->Bmask | f->Amask;
    SDL_FreeFormat(f);
    return used;
}

// 256 × 256 pixels of format: all 65536 values at 16 bits, a fixed random spread at 24.
SDL_Surface *everyPixel(uint32_t format) {
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, 256, 256, SDL_BITSPERPIXEL(format), format);
    std::mt19937 random(5);
    for (int i = 0; i < 65536; i++) {
        const uint32_t v = s->format->BytesPerPixel == 2 ? uint32_t(i) : random() & 0xFFFFFF;
        memcpy(static_cast<uint8_t *>(s->pixels) + size_t(i / 256) * s->pitch +
                   (i % 256) * s->format->BytesPerPixel,
               &v, s->format->BytesPerPixel);
    }
    return s;
}

struct Convert : ::testing::Test {
    void SetUp() override { ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override { SDL_Quit(); }

    // SDL's picture of in (scaled by scale with the software renderer, or copied) against ours.
    static void expectSame(SDL_Surface *in, uint32_t to, ConvertRoute route) {
        const int scale = route == CONVERT_SCALE ? 2 : 1;
        SDL_Surface *out =
            SDL_CreateRGBSurfaceWithFormat(0, 256 * scale, 256 * scale, SDL_BITSPERPIXEL(to), to);
        if (route == CONVERT_SCALE) {
            SDL_Renderer *renderer = SDL_CreateSoftwareRenderer(out);
            SDL_Texture *texture =
                SDL_CreateTexture(renderer, in->format->format, SDL_TEXTUREACCESS_STATIC, in->w, in->h);
            SDL_UpdateTexture(texture, nullptr, in->pixels, in->pitch);
            SDL_RenderCopy(renderer, texture, nullptr, nullptr);
            SDL_RenderFlush(renderer);
            SDL_DestroyRenderer(renderer);
        } else {
            SDL_BlitSurface(in, nullptr, out, nullptr);
        }
        const PixelConverter &c = gfxConverter(in->format->format, to, route);
        const uint32_t used = usedBits(to);
        const std::string what = std::string(SDL_GetPixelFormatName(in->format->format)) + " to " +
                                 SDL_GetPixelFormatName(to) +
                                 (route == CONVERT_SCALE ? " scaled" : " copied");
        for (int y = 0; y < 256; y++)
            for (int x = 0; x < 256; x++)
                ASSERT_EQ(gfxConvertPixel(c, pixelAt(in, x, y)) & used,
                          pixelAt(out, scale * x, scale * y) & used)
                    << what << ", pixel " << std::hex << pixelAt(in, x, y);
        SDL_FreeSurface(out);
    }
};

TEST_F(Convert, EveryRouteGivesSdlsPixels) {
    for (uint32_t from : sources) {
        SDL_Surface *in = everyPixel(from);
        SDL_SetSurfaceBlendMode(in, SDL_BLENDMODE_NONE);
        for (uint32_t to : targets)
            for (ConvertRoute route : {CONVERT_COPY, CONVERT_SCALE})
                expectSame(in, to, route);
        SDL_FreeSurface(in);
    }
}

// The two routes differ for 16-bit sources, which is why there are two.
TEST_F(Convert, CopyingAndScalingDifferForSixteenBits) {
    const PixelConverter &copied = gfxConverter(SDL_PIXELFORMAT_RGB565, SDL_PIXELFORMAT_RGB888, CONVERT_COPY);
    const PixelConverter &scaled =
        gfxConverter(SDL_PIXELFORMAT_RGB565, SDL_PIXELFORMAT_RGB888, CONVERT_SCALE);
    int differ = 0;
    for (uint32_t v = 0; v < 65536; v++)
        differ += (gfxConvertPixel(copied, v) & 0xFFFFFF) != (gfxConvertPixel(scaled, v) & 0xFFFFFF);
    EXPECT_GT(differ, 0);
    EXPECT_EQ(copied.kind, PixelConverter::WHOLE);
    EXPECT_EQ(gfxConverter(SDL_PIXELFORMAT_BGR24, SDL_PIXELFORMAT_RGB888, CONVERT_SCALE).kind,
              PixelConverter::WIDEN);
    EXPECT_EQ(gfxConverter(SDL_PIXELFORMAT_BGR24, SDL_PIXELFORMAT_RGB565, CONVERT_COPY).kind,
              PixelConverter::PACK);
}

// The loader's conversion of decoded bitmaps is SDL_ConvertSurface's, colour key included, also for
// rows that end in the middle of a vector (the keyed images take 250 of the 256 pixels of each row).
TEST_F(Convert, SurfacesConvertAsSdlConvertsThem) {
    for (uint32_t from : sources)
        for (uint32_t to : {SDL_PIXELFORMAT_RGB565, SDL_PIXELFORMAT_BGR24, SDL_PIXELFORMAT_RGB888})
            for (int keyed = 0; keyed < 2; keyed++) {
                SDL_Surface *all = everyPixel(from);
                SDL_Surface *in = SDL_CreateRGBSurfaceWithFormatFrom(
                    all->pixels, keyed ? 250 : 256, 256, SDL_BITSPERPIXEL(from), all->pitch, from);
                if (keyed)
                    SDL_SetColorKey(in, SDL_TRUE, SDL_MapRGB(in->format, 255, 0, 255));
                SDL_PixelFormat *format = SDL_AllocFormat(to);
                SDL_Surface *ours = gfxConvertSurface(in, format),
                            *theirs = SDL_ConvertSurface(in, format, 0);
                ASSERT_NE(ours, nullptr);
                EXPECT_EQ(ours->format->format, to);
                const uint32_t used = usedBits(to);
                uint32_t ourKey = 0, theirKey = 0;
                EXPECT_EQ(SDL_GetColorKey(ours, &ourKey), SDL_GetColorKey(theirs, &theirKey));
                EXPECT_EQ(ourKey & used, theirKey & used);
                for (int y = 0; y < 256; y++)
                    for (int x = 0; x < in->w; x++)
                        ASSERT_EQ(pixelAt(ours, x, y) & used, pixelAt(theirs, x, y) & used)
                            << SDL_GetPixelFormatName(from) << " to " << SDL_GetPixelFormatName(to) << " at "
                            << x << "," << y;
                SDL_FreeFormat(format);
                for (SDL_Surface *s : {in, all, ours, theirs})
                    SDL_FreeSurface(s);
            }
}

} // namespace
