// The cost of one stage frame: drawScreen, the doubling passes, darken, and the raw blits underneath.
// Uses the real art when the build has made data/gfx.zka, flat-coloured stand-ins otherwise.
//   bench/draw_bench
//   valgrind --tool=callgrind ... bench/draw_bench --repeat NAME N   (see measured() below)
#include "data/winzka.h"
#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "gfx/scaling.h"
#include "main/bganims.h"
#include "main/draw.h"
#include "main/game.h"
#include "main/level.h"
#include "main/rules.h"
#include "main/sheets.h"
#include "stage_world.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

static void makeScreen(int depth) {
    bpp = depth;
    screen = gfxCreateSurfaces();
    gfxInitColors();
    gfxPrepareBlackScreen();
}

// Flat frames with a magenta corner, so that keyed frames take the keyed copy as real sprites do.
static Image standIn(int w, int h, uint32_t colour, int keyed) {
    Image image(createImage(w, h));
    fillRect(image.get(), 0, 0, w, h, colour);
    if (keyed) {
        fillRect(image.get(), 0, 0, 2, 2, PURPLE);
        setColorKey(image.get(), 255, 0, 255);
    }
    return image;
}

static FrameList standIns(int count, int w, int h, uint32_t base, int keyed) {
    std::vector<Image> frames;
    for (int k = 0; k < count; k++)
        frames.push_back(standIn(w, h, base + 97 * k, keyed));
    return FrameList(std::move(frames));
}

static void loadArt() {
    const std::string data = std::string(MIRABO_RUN_DIR) + "/data/gfx.zka";
    if (access(data.c_str(), R_OK) == 0 && chdir(MIRABO_RUN_DIR) == 0) {
        openArchives();
        loadSpriteFont();
        loadSharedImages();
        cutSheets();
        return;
    }
    for (Image &image : images.backgrounds)
        image = standIn(320, 240, 0x1234, 0);
    images.timebar = standIn(200, 24, 0x4321, 1);
    images.timebar2 = standIn(176, 8, 0x0F0F, 0);
    images.kitty = standIn(8, 8, 0x7777, 1);
    font = standIns(96, 8, 8, 0x2000, 1);
    fontbig = standIns(96, 16, 16, 0x3000, 1);
    for (FrameList &fruits : sheets.blocks)
        fruits = standIns(72, 16, 16, 0x4000, 1);
    sheets.lionBlocks = standIns(42, 32, 32, 0x5000, 1);
    sheets.totemBlocks = standIns(15, 32, 48, 0x6000, 0);
    sheets.sunBlocks = standIns(3, 64, 64, 0x7000, 0);
    for (int variant = 0; variant < 2; variant++) {
        sheets.birdsBlocks[variant] = standIns(15, 16, 16, 0x8000, 1);
        sheets.flowersBlocks[variant] = standIns(7, 16, 16, 0x9000, 1);
    }
}

// The stage world is built once at 16 bits and composed once.
static void setUp() {
    static bool made = false;
    if (made)
        return;
    made = true;
    makeScreen(16);
    loadArt();
    busyStage();
    drawScreen(0, 1, 3, 5);
    Scanline2x(); // makes fscreen, which copyDoubledFrame writes into
}

// The raw work of a typical frame: the background, 160 keyed 16 × 16 frames, 20 unkeyed ones and
// 60 glyphs, through SDL's blitter or ours.
template <bool OURS> static void rawBlits() {
    static SDL_Surface *opaque = createImage(16, 16);
    SDL_Surface *keyed = sheets.blocks[0][0], *glyph = font['A' - 32];
    auto blit = [](SDL_Surface *src, int x, int y) {
        if (OURS) {
            blitImage(src, x, y, screen);
        } else {
            SDL_Rect at{x, y, 0, 0};
            SDL_BlitSurface(src, nullptr, screen, &at);
        }
    };
    blit(images.backgrounds[0].get(), 0, 0);
    for (int i = 0; i < 160; i++)
        blit(keyed, 16 + (i % 16) * 18, 16 + (i / 16) * 18);
    for (int i = 0; i < 20; i++)
        blit(opaque, 8 * i, 200);
    for (int i = 0; i < 60; i++)
        blit(glyph, 8 * (i % 38), 8 * (i / 38));
}

// What a plain copy of the 614,400-byte doubled picture costs, for comparison with Scanline2x.
static void copyDoubledFrame() {
    for (int y = 0; y < 480; y++)
        memcpy(static_cast<uint8_t *>(fscreen->pixels) + y * fscreen->pitch,
               static_cast<uint8_t *>(screen->pixels) + (y / 2) * screen->pitch, 640 * 2);
}

static void drawFrame() { drawScreen(0, 1, 3, 5); }
static void sdlDarken() { SDL_BlitSurface(black, nullptr, screen, nullptr); }

struct Operation {
    const char *name;
    int depth; // the passes also run on 24-bit copies of the composed frame
    void (*run)();
};
static const Operation operations[] = {
    {"drawScreen", 16, drawFrame},
    {"Scanline2x", 16, Scanline2x},
    {"Scanline2x/24", 24, Scanline2x},
    {"memcpyDoubledFrame", 16, copyDoubledFrame},
    {"antiAlias2", 16, antiAlias2},
    {"antiAlias2/24", 24, antiAlias2},
    {"darken", 16, darken},
    {"darkenSdlBlend", 16, sdlDarken},
    {"rawBlitsSdl", 16, rawBlits<false>},
    {"rawBlitsOurs", 16, rawBlits<true>},
};

// Runs body with screen and fscreen at the operation's depth.
template <typename Body> static void atDepth(int depth, Body body) {
    setUp();
    SDL_Surface *screen16 = screen, *fscreen16 = fscreen;
    if (depth == 24) {
        fscreen = SDL_CreateRGBSurface(0, 640, 480, 24, 0, 0, 0, 0);
        screen = SDL_ConvertSurface(screen16, fscreen->format, 0);
    }
    body();
    if (screen != screen16) {
        SDL_FreeSurface(screen);
        SDL_FreeSurface(fscreen);
        free(aabuf);
        aabuf = nullptr;
        screen = screen16;
        fscreen = fscreen16;
    }
}

// Kept out of line so that callgrind can count exactly the operation's instructions:
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect='measured*'
//            bench/draw_bench --repeat drawScreen 100
// and divide the total by 100.
__attribute__((noinline)) void measured(void (*run)(), int times) {
    for (int i = 0; i < times; i++)
        run();
}

int main(int argc, char **argv) {
    if (argc == 4 && strcmp(argv[1], "--repeat") == 0) {
        for (const Operation &op : operations)
            if (strcmp(op.name, argv[2]) == 0) {
                atDepth(op.depth, [&] { measured(op.run, atoi(argv[3])); });
                return 0;
            }
        fprintf(stderr, "no operation %s\n", argv[2]);
        return 1;
    }
    for (const Operation &op : operations)
        benchmark::RegisterBenchmark(op.name, [op](benchmark::State &state) {
            atDepth(op.depth, [&] {
                for (auto _ : state) {
                    op.run();
                    benchmark::ClobberMemory();
                }
            });
        });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
