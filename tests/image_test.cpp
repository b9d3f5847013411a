// Images: loading by asset name, colour keys, copies, fills and darken.
#include "data/winzka.h"
#include "gfx/image.h"
#include "gfx_helpers.h"
#include "zka_writer.h"

#include <random>

namespace {

constexpr uint32_t MAGENTA = 0xFF00FF;

struct Images : ::testing::Test {
    void SetUp() override { makeSurfaces(16); }
    void TearDown() override { freeSurfaces(); }

    // Draws image over a green background and reports which pixels show the background.
    std::vector<bool> seeThrough(SDL_Surface *image) {
        SDL_Surface *back = solid(image->w, image->h, GREEN);
        blitImage(image, 0, 0, back);
        std::vector<bool> through;
        for (int y = 0; y < image->h; y++)
            for (int x = 0; x < image->w; x++)
                through.push_back(getPixel(back, x, y) == GREEN);
        SDL_FreeSurface(back);
        return through;
    }

    SDL_Surface *load(SDL_Surface *source, int useKey) {
        std::vector<uint8_t> bmp = bmpBytes(source);
        return loadGFXFromMemory(bmp.data(), uint32_t(bmp.size()), useKey, 255, 0, 255);
    }
};

// The frames and glyphs cut at 16 bits: a key only where the key colour occurs.
TEST_F(Images, SixteenBitImageIsKeyedOnlyWhenTheKeyColourOccurs) {
    SDL_Surface *plain = solid(8, 4, RED);
    setColorKey(plain, 255, 0, 255);
    uint32_t key;
    EXPECT_NE(SDL_GetColorKey(plain, &key), 0); // no magenta: no key, the fast opaque copy
    EXPECT_EQ(seeThrough(plain), std::vector<bool>(32, false));

    putPixel(plain, 7, 3, PURPLE); // one magenta pixel, the very last one, keys the image
    setColorKey(plain, 255, 0, 255);
    ASSERT_EQ(SDL_GetColorKey(plain, &key), 0);
    std::vector<bool> expected(32, false);
    expected[31] = true;
    EXPECT_EQ(seeThrough(plain), expected);
    SDL_FreeSurface(plain);
}

TEST_F(Images, LoadedImagesKeyedOrDrawnAsTheyAre) {
    SDL_Surface *plain = load(rgbImage(8, 4, [](int x, int) { return x < 4 ? 0xFF0000u : 0x0000FFu; }), 1);
    EXPECT_EQ(seeThrough(plain), std::vector<bool>(32, false));
    EXPECT_EQ(getPixel(plain, 5, 1), BLUE);

    SDL_Surface *last =
        load(rgbImage(8, 4, [](int x, int y) { return x == 7 && y == 3 ? MAGENTA : 0xFF0000u; }), 1);
    std::vector<bool> expected(32, false);
    expected[31] = true;
    EXPECT_EQ(seeThrough(last), expected);

    // Without the key flag the magenta pixel is drawn.
    SDL_Surface *unkeyed = load(rgbImage(8, 4, [](int x, int) { return x == 2 ? MAGENTA : 0xFF0000u; }), 0);
    EXPECT_EQ(seeThrough(unkeyed), std::vector<bool>(32, false));
    EXPECT_EQ(getPixel(unkeyed, 2, 0), PURPLE);
    for (SDL_Surface *s : {plain, last, unkeyed})
        SDL_FreeSurface(s);
}

TEST_F(Images, PalettisedImageKeysTheMatchingEntryOrEntryZero) {
    struct Case {
        int magentaEntry; // -1: the palette holds no magenta
        int transparentEntry;
    };
    for (Case c : {Case{5, 5}, Case{-1, 0}}) {
        SDL_Surface *indexed = SDL_CreateRGBSurfaceWithFormat(0, 8, 1, 8, SDL_PIXELFORMAT_INDEX8);
        SDL_Color colours[8];
        for (int i = 0; i < 8; i++)
            colours[i] = {uint8_t(20 + 30 * i), uint8_t(200 - 20 * i), uint8_t(10 * i), 255};
        if (c.magentaEntry >= 0)
            colours[c.magentaEntry] = {255, 0, 255, 255};
        SDL_SetPaletteColors(indexed->format->palette, colours, 0, 8);
        for (int x = 0; x < 8; x++)
            static_cast<uint8_t *>(indexed->pixels)[x] = uint8_t(x);
        SDL_Surface *image = load(indexed, 1);
        std::vector<bool> expected(8, false);
        expected[c.transparentEntry] = true;
        EXPECT_EQ(seeThrough(image), expected) << "magenta at " << c.magentaEntry;
        SDL_FreeSurface(image);
    }
}

TEST_F(Images, CreateAndFill) {
    SDL_Surface *image = createImage(16, 16);
    ASSERT_EQ(image->format->format, screen->format->format);
    uint32_t key;
    EXPECT_NE(SDL_GetColorKey(image, &key), 0);
    fillRect(image, 12, -3, 10, 6, WHITE); // partly outside: only (12..15, 0..2) is inside
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            EXPECT_EQ(getPixel(image, x, y), x >= 12 && y < 3 ? WHITE : BLACK) << x << "," << y;
    SDL_FreeSurface(image);
}

// Our copy must do exactly what SDL's does, clipping and the rectangle written back included, for
// the widths of the sprites and glyphs (whole vectors) and any other. The wide image is loaded as the
// game loads its scenery, which notes its rows of only key and without key.
TEST(Blit, SameAsSdlForEveryClipAndKey) {
    std::mt19937 random(7);
    const SDL_Point sizes[] = {{23, 17}, {8, 8}, {16, 16}, {32, 32}, {80, 24}};
    for (int depth : {16, 24}) {
        makeSurfaces(depth);
        for (SDL_Point size : sizes)
            for (int keyed = 0; keyed < 2; keyed++) {
                const bool wide = size.x >= 64;
                SDL_Surface *src = solid(size.x, size.y, 0);
                // Rows of only key, without key, mixed, and mixed with colours one bit away from the
                // key in any of its bytes, which must show.
                for (int y = 0; y < src->h; y++)
                    for (int x = 0; x < src->w; x++) {
                        const int kind = y % (wide ? 3 : 4);
                        const bool key = kind == 0 || (kind >= 2 && random() % 3 == 0);
                        const int nearBit = random() % 3 == 0 ? 0 : random() % 2 ? 8 : depth - 1;
                        putPixel(src, x, y,
                                 key         ? PURPLE
                                 : kind == 3 ? PURPLE ^ 1u << nearBit
                                             : random() & 0xFFFFFF);
                    }
                if (keyed && wide) {
                    const std::vector<uint8_t> bmp = bmpBytes(src);
                    src = loadGFXFromMemory(bmp.data(), uint32_t(bmp.size()), 1, 255, 0, 255);
                } else if (keyed)
                    setColorKey(src, 255, 0, 255);
                for (int round = 0; round < 200; round++) {
                    SDL_Surface *ours = solid(40, 30, BLUE), *theirs = solid(40, 30, BLUE);
                    SDL_Rect part{int(random() % 40) - 10, int(random() % 30) - 10, int(random() % 30),
                                  int(random() % 25)};
                    SDL_Rect at{int(random() % 70) - 30, int(random() % 50) - 20, 0, 0};
                    SDL_Rect ourAt = at, theirAt = at;
                    if (round % 3 == 0) { // a narrower clip rectangle on the destination
                        SDL_Rect clip{int(random() % 20), int(random() % 15), int(random() % 30),
                                      int(random() % 20)};
                        SDL_SetClipRect(ours, &clip);
                        SDL_SetClipRect(theirs, &clip);
                    }
                    const bool whole = round % 4 == 0;
                    blitSurface(src, whole ? nullptr : &part, ours, &ourAt);
                    SDL_BlitSurface(src, whole ? nullptr : &part, theirs, &theirAt);
                    ASSERT_EQ(memcmp(&ourAt, &theirAt, sizeof at), 0) << depth << " round " << round;
                    for (int y = 0; y < 30; y++)
                        ASSERT_EQ(memcmp(static_cast<uint8_t *>(ours->pixels) + y * ours->pitch,
                                         static_cast<uint8_t *>(theirs->pixels) + y * theirs->pitch,
                                         40 * ours->format->BytesPerPixel),
                                  0)
                            << depth << " bits, " << size.x << "x" << size.y << ", keyed " << keyed
                            << ", round " << round << ", row " << y;
                    SDL_FreeSurface(ours);
                    SDL_FreeSurface(theirs);
                }
                freeSurface(src);
            }
    }
    freeSurfaces();
}

TEST_F(Images, DarkenHalvesEachChannelExactlyAsSdlsBlend) {
    std::mt19937 random(11);
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++)
            putPixel(screen, x, y, random() & 0xFFFF);
    SDL_Surface *reference = SDL_ConvertSurface(screen, screen->format, 0);
    SDL_BlitSurface(black, nullptr, reference, nullptr);
    darken();
    for (int y = 0; y < 240; y++)
        ASSERT_EQ(memcmp(static_cast<uint8_t *>(screen->pixels) + y * screen->pitch,
                         static_cast<uint8_t *>(reference->pixels) + y * reference->pitch, 640),
                  0)
            << "row " << y;
    SDL_FreeSurface(reference);

    // Twice without redrawing: a quarter of each channel, rounded down at each step.
    putPixel(screen, 0, 0, (31u << 11) | (63u << 5) | 30u);
    putPixel(screen, 1, 0, (6u << 11) | (7u << 5) | 1u);
    darken();
    darken();
    EXPECT_EQ(getPixel(screen, 0, 0), (7u << 11) | (15u << 5) | 7u);
    EXPECT_EQ(getPixel(screen, 1, 0), (1u << 11) | (1u << 5) | 0u);
}

// At 24 bits our table gives SDL's blend bit for bit, and SDL's blend roughly halves.
TEST(Darken, TwentyFourBitsIsSdlsBlend) {
    makeSurfaces(24);
    std::mt19937 random(13);
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++)
            putPixel(screen, x, y, random() & 0xFFFFFF);
    putPixel(screen, 0, 0, SDL_MapRGB(screen->format, 200, 100, 50));
    SDL_Surface *reference = SDL_ConvertSurface(screen, screen->format, 0);
    SDL_BlitSurface(black, nullptr, reference, nullptr);
    darken();
    for (int y = 0; y < 240; y++)
        ASSERT_EQ(memcmp(static_cast<uint8_t *>(screen->pixels) + y * screen->pitch,
                         static_cast<uint8_t *>(reference->pixels) + y * reference->pitch, 960),
                  0)
            << "row " << y;
    SDL_FreeSurface(reference);
    uint8_t r, g, b;
    SDL_GetRGB(getPixel(screen, 0, 0), screen->format, &r, &g, &b);
    EXPECT_NEAR(r, 100, 1);
    EXPECT_NEAR(g, 50, 1);
    EXPECT_NEAR(b, 25, 1);
    freeSurfaces();
}

// Loading by asset name: a loose file first, then the graphics archive, else a fatal error.
struct Loading : InTempFolder {
    void SetUp() override {
        InTempFolder::SetUp();
        makeSurfaces(16);
    }
    void TearDown() override {
        freeSurfaces();
        InTempFolder::TearDown();
    }
    static Bytes flatBmp(uint32_t rgb) {
        return bmpBytes(rgbImage(4, 4, [rgb](int, int) { return rgb; }));
    }
};

TEST_F(Loading, LooseFileOverridesTheArchive) {
    ASSERT_EQ(mkdir("data", 0755), 0);
    writeBytes("data/gfx.zka", makeZka({{"logo.bmp", flatBmp(0xFF0000)}}));
    openArchives();
    SDL_Surface *fromArchive = loadGFX("logo", 0, 0, 0, 0);
    EXPECT_EQ(getPixel(fromArchive, 0, 0), RED);
    writeBytes("logo.bmp", flatBmp(0x0000FF));
    SDL_Surface *loose = loadGFX("logo", 0, 0, 0, 0);
    EXPECT_EQ(getPixel(loose, 0, 0), BLUE);
    closeArchives();
    SDL_FreeSurface(fromArchive);
    SDL_FreeSurface(loose);
}

TEST_F(Loading, MissingAssetIsFatalAndLeavesNoDump) {
    EXPECT_EXIT(loadGFX("nowhere", 1, 255, 0, 255), ::testing::ExitedWithCode(1),
                "^Error loading gfx file: nowhere.bmp in \\./data/gfx.zka\n$");
    EXPECT_NE(access("fuu.xxx", F_OK), 0);
}

TEST_F(Loading, UndecodableDataIsDumpedThenFatal) {
    const Bytes junk = {'B', 'M', 'n', 'o', 't', ' ', 'a', ' ', 'b', 'i', 't', 'm', 'a', 'p', 0, 1, 2, 0xFF};
    writeBytes("broken.bmp", junk);
    EXPECT_EXIT(loadGFX("broken", 0, 0, 0, 0), ::testing::ExitedWithCode(1), "^Unable to load bitmap: ");
    EXPECT_EQ(readBytes("fuu.xxx"), junk);
}

} // namespace
