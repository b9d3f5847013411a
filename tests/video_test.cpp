// Video set-up and frame presentation on SDL's dummy video driver (a software renderer on an
// XRGB8888 window surface): what every method shows at every output size, the full-screen switch,
// screenshots, and the window keys.
#include "data/config.h"
#include "gfx/scaling.h"
#include "gfx_helpers.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys_virtual.h"
#include "main/defines.h"
#include "main/runner.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

namespace {

struct Size {
    int w, h;
};

// What the renderer shows on the whole output, bars included, read back as XRGB8888 with the unused
// byte dropped. SDL reads only the picture's viewport while the logical size is set.
std::vector<uint32_t> presented(SDL_Renderer *renderer, Size size) {
    std::vector<uint32_t> pixels(size_t(size.w) * size.h);
    SDL_RenderSetLogicalSize(renderer, 0, 0);
    EXPECT_EQ(SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGB888, pixels.data(), size.w * 4), 0)
        << SDL_GetError();
    SDL_RenderSetLogicalSize(renderer, 320, 240);
    for (uint32_t &p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

// What SDL itself shows for source at an output of size: the source in its own format in a texture,
// the renderer scaling it to a logical 320 × 240, as the game presented before it did its own passes.
std::vector<uint32_t> sdlShows(SDL_Surface *source, bool linear, Size size) {
    SDL_Surface *output = SDL_CreateRGBSurfaceWithFormat(0, size.w, size.h, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Renderer *renderer = SDL_CreateSoftwareRenderer(output);
    SDL_RenderSetLogicalSize(renderer, 320, 240);
    SDL_Texture *texture = SDL_CreateTexture(renderer, source->format->format, SDL_TEXTUREACCESS_STREAMING,
                                             source->w, source->h);
    SDL_SetTextureScaleMode(texture, linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_UpdateTexture(texture, nullptr, source->pixels, source->pitch);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    std::vector<uint32_t> shown = presented(renderer, size);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(output);
    return shown;
}

uint32_t rgbOf(const SDL_Surface *s, int x, int y) {
    uint8_t r, g, b;
    SDL_GetRGB(getPixel(s, x, y), s->format, &r, &g, &b);
    return uint32_t(r << 16 | g << 8 | b);
}

void startVideo(int depth, int fullScreen = 0) {
    fs = fullScreen;
    bpp = depth;
    screen = gfxSetVideoMode();
    ASSERT_NE(screen, nullptr) << SDL_GetError();
    gfxInitColors();
    gfxPrepareBlackScreen();
}

void stopVideo() {
    gfxShutdown();
    EXPECT_EQ(sdl2, nullptr);
    freeSurfaces();
}

// Every pixel different from its neighbours somewhere, flat areas, and diagonal steps.
void drawPattern() {
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++) {
            const bool step = (x + y / 3) % 40 < 20;
            putPixel(screen, x, y,
                     SDL_MapRGB(screen->format, uint8_t(x * 4 + 7), step ? uint8_t(y) : 250,
                                (x ^ y) & 1 ? 255 : uint8_t(40 * (x % 7))));
        }
}

struct Video : ::testing::Test {
    void SetUp() override {
        sysVirtualReset();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    void TearDown() override {
        stopVideo();
        SDL_Quit();
    }
    void start(int depth, int fullScreen = 0) { startVideo(depth, fullScreen); }
    Size resize(int w, int h) {
        SDL_SetWindowSize(sdl2->window, w, h);
        SDL_PumpEvents(); // the renderer learns the new size from the window's events
        return {w, h};
    }
};

TEST_F(Video, WindowOpensCentredResizableAndNothingIsMadeBeforeTheFirstFrame) {
    start(16);
    int w, h;
    SDL_GetWindowSize(sdl2->window, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_STREQ(SDL_GetWindowTitle(sdl2->window), "MIRABO");
    EXPECT_NE(SDL_GetWindowFlags(sdl2->window) & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_EQ(sdl2->format, SDL_GetWindowPixelFormat(sdl2->window))
        << "the texture takes the display's format";
    EXPECT_EQ(screen->w, 320);
    EXPECT_EQ(screen->format->format, SDL_PIXELFORMAT_RGB565);
    EXPECT_EQ(fscreen, nullptr) << "made by the first Scanline2x or antiAlias2, which the game never calls";
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

// The picture of every method and depth at 640 × 480 is the one SDL made when it scaled or copied
// the picture itself, bit for bit, though we now double it ourselves in the display's format.
TEST_F(Video, EveryMethodShowsWhatSdlShowedAtTwiceTheSize) {
    const Size size{640, 480};
    for (int depth : {16, 24}) {
        start(depth);
        drawPattern();
        const std::vector<uint8_t> before(static_cast<uint8_t *>(screen->pixels),
                                          static_cast<uint8_t *>(screen->pixels) + 240 * screen->pitch);
        for (int method : {0, 1, 2, 3, 4, 5, 9}) {
            ScalingMethod = method;
            flipScreen();
            ASSERT_NE(sdl2->texture, nullptr);
            EXPECT_EQ(sdl2->textureWidth, 640) << method;
            const std::vector<uint32_t> ours = presented(sdl2->renderer, size);
            SDL_Surface *source = screen;
            if (method == 3 || method == 5) {
                (method == 3 ? Scanline2x : antiAlias2)();
                source = fscreen;
            }
            const std::vector<uint32_t> theirs = sdlShows(source, method == 4, size);
            const int slack = method == 4 ? LINEAR_FILTER_SLACK : 0;
            EXPECT_TRUE(std::equal(ours.begin(), ours.end(), theirs.begin(), theirs.end(),
                                   [slack](uint32_t a, uint32_t b) { return bytesWithin(a, b, slack); }))
                << depth << " bits, method " << method;
        }
        EXPECT_EQ(memcmp(before.data(), screen->pixels, before.size()), 0) << "presenting draws nothing";
        stopVideo();
    }
}

// Where the 320 × 240 pixel (x, y) lands and how big it is, for each output and method.
struct Placement {
    Size output;
    int method;
    int left, top, scale; // the picture's corner and whole-multiple scale (0: not a whole multiple)
};

TEST_F(Video, SharpMethodsShowTheLargestWholeMultipleCentred) {
    start(16);
    drawPattern();
    const Placement cases[] = {
        {{320, 240}, 1, 0, 0, 1},      {{700, 500}, 1, 30, 10, 2},    {{1280, 720}, 1, 160, 0, 3},
        {{1920, 1080}, 1, 320, 60, 4}, {{1920, 1080}, 2, 320, 60, 4}, {{320, 240}, 3, 0, 0, 1},
        {{500, 400}, 5, 90, 80, 1},    {{1920, 1080}, 5, 320, 60, 4},
    };
    for (const Placement &c : cases) {
        ScalingMethod = c.method;
        const Size size = resize(c.output.w, c.output.h);
        flipScreen();
        const std::vector<uint32_t> shown = presented(sdl2->renderer, size);
        auto at = [&](int x, int y) { return shown[size_t(y) * size.w + x]; };
        const std::string what =
            std::to_string(size.w) + "x" + std::to_string(size.h) + " method " + std::to_string(c.method);
        for (int y : {0, 77, 239})
            for (int x : {0, 161, 319}) {
                // The last output column of the source pixel's block; the antialiased picture
                // differs from the source where it smooths, so only its unscaled output is checked.
                const int ox = c.left + c.scale * x, oy = c.top + c.scale * y;
                if (c.method != 5 || c.scale == 1) {
                    EXPECT_EQ(at(ox + c.scale - 1, oy), rgbOf(screen, x, y))
                        << what << " at " << x << "," << y;
                }
            }
        if (c.left > 0) {
            EXPECT_EQ(at(c.left - 1, size.h / 2), 0u) << what << ": a black bar on the left";
        }
        if (c.top > 0) {
            EXPECT_EQ(at(size.w / 2, c.top - 1), 0u) << what << ": a black bar on top";
        }
        const int right = c.left + 320 * c.scale;
        if (right < size.w) {
            EXPECT_EQ(at(right, size.h / 2), 0u) << what << ": a black bar on the right";
        }
    }
}

TEST_F(Video, ScanlinesKeepTheirLookAtThreeTimesTheSize) {
    start(16);
    SDL_FillRect(screen, nullptr, WHITE);
    ScalingMethod = 3;
    const Size size = resize(1280, 720);
    flipScreen();
    const std::vector<uint32_t> shown = presented(sdl2->renderer, size);
    // Each source row: two bright output rows and one dark one, 960 × 720 from column 160.
    const uint32_t bright = shown[160], dark = shown[2 * 1280 + 160];
    EXPECT_GT(bright, dark);
    EXPECT_NE(dark, 0u);
    for (int y = 0; y < 720; y++)
        ASSERT_EQ(shown[size_t(y) * 1280 + 160 + y % 960], y % 3 == 2 ? dark : bright) << "row " << y;
    EXPECT_EQ(shown[size_t(360) * 1280 + 159], 0u);
    EXPECT_EQ(shown[size_t(360) * 1280 + 1120], 0u);
}

TEST_F(Video, SmoothMethodFillsTheHeight) {
    start(16);
    SDL_FillRect(screen, nullptr, WHITE);
    ScalingMethod = 4;
    const Size size = resize(1920, 1080);
    flipScreen();
    const std::vector<uint32_t> shown = presented(sdl2->renderer, size);
    EXPECT_EQ(shown[size_t(540) * 1920 + 239], 0u);
    EXPECT_EQ(shown[size_t(540) * 1920 + 240], 0xFFFFFFu);
    EXPECT_EQ(shown[size_t(1079) * 1920 + 1679], 0xFFFFFFu);
    EXPECT_EQ(shown[size_t(540) * 1920 + 1680], 0u);
}

// SDL brings clicks onto the logical 320 × 240 picture; the whole-multiple scaling moves the picture,
// and the clicks must follow it.
TEST_F(Video, ClicksLandOnTheScreenPixelUnderThePointer) {
    start(16);
    struct Case {
        Size output;
        int method, x, y, screenX, screenY;
    } cases[] = {
        {{640, 480}, 1, 200, 100, 100, 50},  {{640, 480}, 3, 639, 479, 319, 239},
        {{1280, 720}, 1, 460, 150, 100, 50}, {{1280, 720}, 1, 50, 700, 0, 233},
        {{1920, 1080}, 1, 403, 316, 20, 64}, {{1920, 1080}, 1, 100, 30, 0, 0},
        {{1920, 1080}, 4, 403, 316, 36, 70}, {{700, 500}, 5, 669, 489, 319, 239},
        {{700, 500}, 1, 30, 10, 0, 0},
    };
    for (const Case &c : cases) {
        ScalingMethod = c.method;
        resize(c.output.w, c.output.h);
        flipScreen();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        SDL_Event click{};
        click.type = SDL_MOUSEBUTTONDOWN;
        click.button.windowID = SDL_GetWindowID(sdl2->window);
        click.button.button = SDL_BUTTON_LEFT;
        click.button.state = SDL_PRESSED;
        click.button.x = c.x;
        click.button.y = c.y;
        ASSERT_EQ(SDL_PushEvent(&click), 1);
        SDL_Event converted{};
        while (SDL_PollEvent(&converted) && converted.type != SDL_MOUSEBUTTONDOWN) {
        }
        ASSERT_EQ(converted.type, Uint32(SDL_MOUSEBUTTONDOWN));
        sysVirtualQueueEvent(sysTicks(), converted);
        input.mouseX = input.mouseY = -1;
        checkInput();
        EXPECT_EQ(input.mouseX, c.screenX)
            << c.output.w << "x" << c.output.h << " method " << c.method << " at " << c.x << "," << c.y;
        EXPECT_EQ(input.mouseY, c.screenY)
            << c.output.w << "x" << c.output.h << " method " << c.method << " at " << c.x << "," << c.y;
    }
}

SDL_Event key(Uint32 type, SDL_Scancode scancode, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = mod;
    event.key.repeat = repeat;
    return event;
}

void readInput(std::initializer_list<SDL_Event> events) {
    for (const SDL_Event &event : events)
        sysVirtualQueueEvent(sysTicks(), event);
    checkInput();
}

// Alt+Enter asks the runner to toggle full screen; neither it nor a held repeat reaches the game.
TEST_F(Video, AltEnterAsksForFullScreenWithoutPressingStart) {
    start(16);
    input.lastKey = input.lastKeyTyped = 0;
    ctrlTakeRequests();
    readInput({key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT)});
    EXPECT_EQ(ctrlTakeRequests(), REQUEST_FULL_SCREEN);
    EXPECT_EQ(input.lastKey, 0);
    readInput({key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT, 1)}); // held: the key repeats
    EXPECT_EQ(ctrlTakeRequests(), 0) << "a repeat asks nothing";
    readInput({key(SDL_KEYUP, SDL_SCANCODE_RETURN)}); // Alt let go first
    EXPECT_EQ(input.lastKeyTyped, 0);

    readInput(
        {key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_RALT), key(SDL_KEYUP, SDL_SCANCODE_RETURN, KMOD_RALT)});
    EXPECT_EQ(ctrlTakeRequests(), REQUEST_FULL_SCREEN);
    readInput({key(SDL_KEYDOWN, SDL_SCANCODE_RETURN), key(SDL_KEYUP, SDL_SCANCODE_RETURN)});
    EXPECT_EQ(input.lastKeyTyped, CTRL_START) << "Enter alone is still START";
    EXPECT_EQ(ctrlTakeRequests(), 0);
}

// The runner carries the requests out: full screen for this run only, and back.
TEST_F(Video, TheRunnerTogglesFullScreenKeepingTheConfiguredMode) {
    start(16);
    const int32_t screenSetting = cfgScreen;
    static int ticks;
    ticks = 0;
    static const Screen idle = {"idle",
                                nullptr,
                                [] {
                                    if (++ticks == 6)
                                        screenPop();
                                },
                                [] {},
                                nullptr,
                                screenIgnoreQuit};
    sysVirtualQueueEvent(sysTicks(), key(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT));
    sysVirtualQueueEvent(sysTicks(), key(SDL_KEYUP, SDL_SCANCODE_RETURN, KMOD_LALT));
    screenPush(idle);
    screenRun();
    EXPECT_NE(SDL_GetWindowFlags(sdl2->window) & SDL_WINDOW_FULLSCREEN, 0u);
    gfxToggleFullScreen();
    EXPECT_EQ(SDL_GetWindowFlags(sdl2->window) & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_EQ(cfgScreen, screenSetting) << "the configuration keeps its mode";
    EXPECT_EQ(fs, 0);
}

// The PNG's 8-bit RGB rows, unfiltered as our writer makes them; empty when it is not such a file.
std::vector<uint32_t> pngPixels(const std::string &path, int *width) {
    const Bytes png = readBytes(path);
    std::vector<uint8_t> packed;
    int w = 0, h = 0;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = uint32_t(png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]);
        const std::string type(png.begin() + long(at) + 4, png.begin() + long(at) + 8);
        const uint8_t *data = png.data() + at + 8;
        if (type == "IHDR") {
            w = data[2] << 8 | data[3];
            h = data[6] << 8 | data[7];
        } else if (type == "IDAT") {
            packed.insert(packed.end(), data, data + length);
        }
        at += 12 + length;
    }
    std::vector<uint8_t> raw(size_t(h) * (1 + 3 * w));
    uLongf rawSize = uLongf(raw.size());
    std::vector<uint32_t> pixels;
    if (w == 0 || uncompress(raw.data(), &rawSize, packed.data(), uLong(packed.size())) != Z_OK)
        return pixels;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const uint8_t *p = raw.data() + size_t(y) * (1 + 3 * w) + 1 + 3 * x;
            pixels.push_back(uint32_t(p[0] << 16 | p[1] << 8 | p[2]));
        }
    *width = w;
    return pixels;
}

struct Screenshots : InTempFolder {
    void SetUp() override {
        InTempFolder::SetUp();
        sysVirtualReset();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        startVideo(24);
    }
    void TearDown() override {
        stopVideo();
        SDL_Quit();
        free(configFolder);
        configFolder = nullptr;
        InTempFolder::TearDown();
    }
};

TEST_F(Screenshots, F12SavesTheScreenNumberedWithoutOverwriting) {
    drawPattern();
    ASSERT_EQ(mkdir("shots", 0755), 0);
    writeText("shots/mirabo-0001.png", "a player's own file");
    free(configFolder);
    configFolder = strdup("shots");
    readInput({key(SDL_KEYDOWN, SDL_SCANCODE_F12), key(SDL_KEYUP, SDL_SCANCODE_F12)});
    EXPECT_EQ(ctrlTakeRequests(), REQUEST_SCREENSHOT);
    EXPECT_EQ(input.lastKeyTyped, 0);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(gfxSaveScreenshot(configFolder));
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("mirabo-0002.png"), std::string::npos) << told;
    EXPECT_EQ(readText("shots/mirabo-0001.png"), "a player's own file");
    int width = 0;
    const std::vector<uint32_t> saved = pngPixels("shots/mirabo-0002.png", &width);
    ASSERT_EQ(width, 320);
    ASSERT_EQ(saved.size(), 320u * 240);
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++)
            ASSERT_EQ(saved[size_t(y) * 320 + x], rgbOf(screen, x, y)) << x << "," << y;

    EXPECT_TRUE(gfxSaveScreenshot("shots"));
    EXPECT_FALSE(readBytes("shots/mirabo-0003.png").empty());
    EXPECT_FALSE(gfxSaveScreenshot("no-such-folder"));
}

} // namespace
