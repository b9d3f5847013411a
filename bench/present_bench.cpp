// The whole drawn tick as a handheld without a GPU sees it: the frame drawn and presented through SDL's
// software renderer onto a 640 × 480 surface of 32 or 16 bits and a 320 × 240 16-bit one, per scaling
// method and depth, for the stage, the pause frame and the menu; beside it the plain-SDL floor, the same
// frame drawn with SDL_BlitSurface in the output's own format and presented from a texture of that format.
//   bench/present_bench                                   Google Benchmark over every case
//   bench/present_bench --list                            the case names
//   bench/present_bench --repeat NAME N                   NAME N times, for callgrind (see measured())
//   bench/present_bench --hashes [DIR]                    a hash of every presented picture (and PNGs)
// bench/present_counts.sh runs every case under callgrind (an ARM build under qemu-user) and prints the
// instruction table.
#include "data/config.h"
#include "data/winzka.h"
#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "gfx/png.h"
#include "main/draw.h"
#include "main/i18n.h"
#include "main/pause.h"
#include "main/runner.h"
#include "main/screen.h"
#include "main/sheets.h"
#include "main/startup.h"
#include "stage_world.h"

#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

// The floor draws with SDL's own blitter: the game's copies are linked through these wrappers
// (-Wl,--wrap on their mangled names, see CMakeLists.txt), which hand every copy to SDL_BlitSurface
// while the floor runs.
static bool sdlBlits;
void realBlitSurface(SDL_Surface *src, SDL_Rect *srcRect, SDL_Surface *dst,
                     SDL_Rect *dstRect) __asm__("__real__Z11blitSurfaceP11SDL_SurfaceP8SDL_RectS0_S2_");
void wrapBlitSurface(SDL_Surface *src, SDL_Rect *srcRect, SDL_Surface *dst,
                     SDL_Rect *dstRect) __asm__("__wrap__Z11blitSurfaceP11SDL_SurfaceP8SDL_RectS0_S2_");
void wrapBlitImage(SDL_Surface *src, int x, int y,
                   SDL_Surface *dst) __asm__("__wrap__Z9blitImageP11SDL_SurfaceiiS0_");

void wrapBlitSurface(SDL_Surface *src, SDL_Rect *srcRect, SDL_Surface *dst, SDL_Rect *dstRect) {
    if (sdlBlits)
        SDL_BlitSurface(src, srcRect, dst, dstRect);
    else
        realBlitSurface(src, srcRect, dst, dstRect);
}
void wrapBlitImage(SDL_Surface *src, int x, int y, SDL_Surface *dst) {
    SDL_Rect to{x, y, 0, 0};
    wrapBlitSurface(src, nullptr, dst, &to);
}

struct Output {
    const char *name;
    int w, h;
    uint32_t format;
};
static const Output outputs[] = {
    {"640x480x32", 640, 480, SDL_PIXELFORMAT_RGB888},
    {"640x480x16", 640, 480, SDL_PIXELFORMAT_RGB565},
    {"320x240x16", 320, 240, SDL_PIXELFORMAT_RGB565},
};
static const char *const methodNames[] = {"x1", "x2", "s2x", "sl2", "bl2", "aa"};

// The art of one depth, loaded once per depth; 32 bits is the floor's world for the 32-bit output.
static int worldDepth;

static void loadWorld(int depth) {
    if (worldDepth == depth)
        return;
    if (worldDepth) {
        freeSheets();
        freeSharedImages();
        destroyFonts();
        gfxShutdown();
        SDL_FreeSurface(screen);
        SDL_FreeSurface(black);
    } else {
        if (chdir(MIRABO_RUN_DIR) != 0 || access("data/gfx.zka", R_OK) != 0) {
            fprintf(stderr, "present_bench: no %s/data/gfx.zka; build the game first\n", MIRABO_RUN_DIR);
            exit(1);
        }
        openArchives();
    }
    worldDepth = depth;
    bpp = depth;
    screen = gfxCreateSurfaces();
    gfxInitColors();
    gfxPrepareBlackScreen();
    loadSpriteFont();
    loadSharedImages();
    cutSheets();
    busyStage();
}

// The output surface and its software renderer, made anew for each case.
static SDL_Surface *target;

static void attachOutput(const Output &output) {
    gfxShutdown();
    SDL_FreeSurface(target);
    target =
        SDL_CreateRGBSurfaceWithFormat(0, output.w, output.h, SDL_BITSPERPIXEL(output.format), output.format);
    gfxAttachRenderer(nullptr, SDL_CreateSoftwareRenderer(target), output.format);
}

// The three frames, drawn as their screens draw them: the pause frame is the pause menu's own,
// opened over the busy stage.
static void drawStage() { drawScreen(0, 1, 3, 5); }

static void openPause() {
    pauseScreen.leave(); // the last case's menu closes, its backdrop with it
    play.paused = 1;
    pauseScreen.enter();
}
static void drawPause() { pauseScreen.draw(); }

static void drawMenuFrame() {
    for (int n = 0; n < 3; n++)
        drawLoop(images.menubkg[n].get(), 37 * (n + 1));
    blitImage(images.logo.get(), (320 - images.logo->w) / 2, (240 - images.logo->h) / 2 - 40, screen);
    drawTextCenterAt(screen, "MIRABO V1.00.2", 208, fontbig);
    drawTextNAt(screen, "A SCROLLING LINE OF CREDITS UNDER THE TITLE, FORTY-ONE SHOWN", 41, -5, 228, font);
    for (int i = 0; i < 5; i++)
        drawTextCenterAt(screen, text(10 + i), 96 + 20 * i, fontbig);
}

struct Frame {
    const char *name;
    void (*open)(); // before the first tick
    void (*draw)();
};
static void openStage() { play.paused = 0; }
static const Frame frames[] = {
    {"stage", openStage, drawStage}, {"pause", openPause, drawPause}, {"menu", openStage, drawMenuFrame}};

// The floor's present: its 320 × 240 picture already in the output's format, one texture of that
// format, the renderer scaling it to the output.
static SDL_Texture *floorTexture;

static void floorPresent() {
    if (!floorTexture)
        floorTexture =
            SDL_CreateTexture(sdl2->renderer, target->format->format, SDL_TEXTUREACCESS_STREAMING, 320, 240);
    SDL_UpdateTexture(floorTexture, nullptr, screen->pixels, screen->pitch);
    SDL_RenderClear(sdl2->renderer);
    SDL_RenderCopy(sdl2->renderer, floorTexture, nullptr, nullptr);
    SDL_RenderPresent(sdl2->renderer);
}

struct Case {
    std::string name;
    std::function<void()> prepare, tick;
};

static std::vector<Case> cases() {
    std::vector<Case> list;
    for (const Output &output : outputs) {
        for (const Frame &frame : frames) {
            const int floorDepth = 8 * SDL_BYTESPERPIXEL(output.format);
            list.push_back({std::string("floor/") + frame.name + "/" + output.name,
                            [&output, &frame, floorDepth] {
                                loadWorld(floorDepth);
                                attachOutput(output);
                                floorTexture = nullptr;
                                sdlBlits = true;
                                frame.open();
                            },
                            [&frame] {
                                frame.draw();
                                floorPresent();
                            }});
            for (int depth : {16, 24})
                for (int method = 0; method < 6; method++)
                    list.push_back({std::string(frame.name) + "/" + methodNames[method] + "/" +
                                        std::to_string(depth) + "/" + output.name,
                                    [&output, &frame, depth, method] {
                                        loadWorld(depth);
                                        attachOutput(output);
                                        ScalingMethod = method;
                                        sdlBlits = false;
                                        frame.open();
                                    },
                                    [&frame] {
                                        frame.draw();
                                        flipScreen();
                                    }});
        }
    }
    return list;
}

// Start-up to the first intro frame, against SDL and the mixer starting and presenting once.
static void gameStartUp() {
    if (chdir(MIRABO_RUN_DIR) != 0)
        exit(1);
    fs = 0;
    bpp = 16;
    ScalingMethod = 1;
    getConfigFolder();
    startUp();
    screens[0].init();
    screens[0].render(screen);
    flipScreen();
}

static void floorStartUp() {
    SDL_Init(SDL_INIT_VIDEO);
    SDL_Window *window = SDL_CreateWindow("MIRABO", 0, 0, 640, 480, 0);
    SDL_Renderer *renderer = SDL_CreateRenderer(window, -1, 0);
    SDL_Init(SDL_INIT_AUDIO);
    Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024);
    Mix_AllocateChannels(16);
    SDL_Texture *texture =
        SDL_CreateTexture(renderer, SDL_GetWindowPixelFormat(window), SDL_TEXTUREACCESS_STREAMING, 320, 240);
    std::vector<uint32_t> pixels(320 * 240);
    SDL_UpdateTexture(texture, nullptr, pixels.data(), 320 * 4);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
}

// Kept out of line so that callgrind can count exactly the measured instructions:
//   valgrind --tool=callgrind --collect-atstart=no --toggle-collect='measured*'
//            bench/present_bench --repeat stage/sl2/16/640x480x32 10
// and divide the total by 10. A case is prepared and run once before, so that the texture exists.
__attribute__((noinline)) void measured(const std::function<void()> &run, int times) {
    for (int i = 0; i < times; i++)
        run();
}

// 64-bit FNV-1a over the output's pixels as 8-bit red, green and blue.
static uint64_t pictureHash() {
    SDL_Surface *rgb = SDL_ConvertSurfaceFormat(target, SDL_PIXELFORMAT_RGB24, 0);
    uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < rgb->h; y++) {
        const auto *row = static_cast<const uint8_t *>(rgb->pixels) + size_t(y) * rgb->pitch;
        for (int i = 0; i < 3 * rgb->w; i++)
            hash = (hash ^ row[i]) * 1099511628211ull;
    }
    SDL_FreeSurface(rgb);
    return hash;
}

// Every case's picture, for comparing two builds: the same assets must give the same lines.
static int printHashes(const char *folder) {
    for (const Case &c : cases()) {
        c.prepare();
        c.tick();
        printf("%-28s %016llx\n", c.name.c_str(), static_cast<unsigned long long>(pictureHash()));
        if (folder) {
            std::string file = c.name;
            for (char &ch : file)
                ch = ch == '/' ? '-' : ch;
            savePNG(target, (std::string(folder) + "/" + file + ".png").c_str());
        }
    }
    return 0;
}

int main(int argc, char **argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (argc == 4 && strcmp(argv[1], "--repeat") == 0) {
        const int times = atoi(argv[3]);
        if (strcmp(argv[2], "startup") == 0 || strcmp(argv[2], "startupFloor") == 0) {
            // Start-up runs at most once; 0 runs none, the run an emulator's count subtracts.
            measured(strcmp(argv[2], "startup") == 0 ? gameStartUp : floorStartUp, std::min(times, 1));
            return 0;
        }
        for (const Case &c : cases())
            if (c.name == argv[2]) {
                c.prepare();
                c.tick();
                measured(c.tick, times);
                return 0;
            }
        fprintf(stderr, "no case %s\n", argv[2]);
        return 1;
    }
    if (argc >= 2 && strcmp(argv[1], "--list") == 0) {
        for (const Case &c : cases())
            puts(c.name.c_str());
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "--hashes") == 0)
        return printHashes(argc > 2 ? argv[2] : nullptr);
    for (const Case &c : cases())
        benchmark::RegisterBenchmark(c.name.c_str(), [c](benchmark::State &state) {
            c.prepare();
            for (auto _ : state)
                c.tick();
        });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
