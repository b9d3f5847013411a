// Start-up and intro flows played through the real game: the command line, the maker-logo and
// open-source screens, and quitting from them.
#include "harness.h"

#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "main/defines.h"
#include "main/game.h"
#include "main/level.h"
#include "main/screen.h"
#include "main/sheets.h"
#include "sound/modplayer.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char *const helpText = "-w : window mode (not fullscreen)\n"
                             "-fs : fullscreen (-x2 automatically added)\n"
                             "-x1 : no zoom\n"
                             "-x2 : zoom with no antialiasing\n"
                             "-s2x: zoom with Scale2X algorithm\n"
                             "-sl2: zoom with Scanline algorithm\n"
                             "-bl2: zoom with Bilinear algorithm\n"
                             "-b16 : 16 bits video mode\n"
                             "-b24 : 24 bits video mode (may be useful if fade in/fade out looks crappy)\n"
                             "--data DIR : read the game data from DIR\n"
                             "-h, --help : help\n";

const std::vector<uint8_t> windowConfig = {'g', 'f', 'x', 'm', 'o', 'd', 'e', '=', '4', '\n'};

// A level file of one stage: the intro flows need one to start, whatever the level tool made.
std::vector<uint8_t> oneStage() {
    std::vector<uint8_t> file(1 + LEVEL_RECORD_SIZE, 0);
    file[0] = 1;
    uint8_t *record = file.data() + 1;
    for (int c = 0; c < BOARD_COLUMNS; c++)
        record[16 * (BOARD_ROWS - 1) + c] = 1;
    record[LEVEL_SOLUTION_OFFSET] = SOLUTION_END;
    scrambleLevels(file.data(), file.size());
    return file;
}

// Probes the index of the intro screen, whether a screen past the intro runs (the menu or the test
// stage, which set up the game's assets), whether the intro has made the menu's fonts and all its
// images and sheets, and whether SDL's pads are set up.
void setUpIntro(Harness &h) {
    h.file("data/levels.bin", oneStage());
    h.probe("screen", [] { return int64_t(currentScreen); });
    h.probe("started", gameStarted);
    h.probe("prepared", [] { return int64_t(!sheets.butterflyBlocks.empty()); }); // the last sheet
    h.probe("fonts", [] { return int64_t(!font.empty()); });                      // the first of them
    h.probe("pads", [] { return int64_t(SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0); });
}

TEST(StartUpFlow, HelpIsPrintedBeforeAnythingStarts) {
    const std::vector<std::vector<std::string>> commandLines = {
        {"-h"}, {"-x1", "-h", "-fs"}, {"-zz", "-h", "-t"}, {"--help"}, {"-w", "--help", "--data", "x"}};
    for (const auto &args : commandLines) {
        Harness h("help");
        const HarnessRun r = h.play([args] {
            const int status = gameMainWith(args);
            return SDL_WasInit(SDL_INIT_EVERYTHING) ? 99 : status;
        });
        EXPECT_EQ(r.status, 0) << args[0];
        EXPECT_EQ(r.out, helpText) << args[0];
        EXPECT_TRUE(r.ticks.empty());
    }
    Harness h("help-data");
    const HarnessRun r = h.play([] {
        const int status = gameMainWith({"-w", "--data"});
        return SDL_WasInit(SDL_INIT_EVERYTHING) ? 99 : status;
    });
    EXPECT_EQ(r.status, 2) << "--data without a folder is a mistake";
    EXPECT_EQ(r.err, std::string("--data needs a folder\n") + helpText);
    EXPECT_EQ(r.out, "");
}

// Started where there is no data/ (an installed game started from anywhere), the game reads the
// data folder named by --data and keeps the player's files in the per-user folder; the working
// directory is left alone.
TEST(StartUpFlow, InstalledGameKeepsThePlayersFilesInThePerUserFolder) {
    Harness h("installed");
    h.probe("started", gameStarted);
    h.at(3).stop();
    const std::string content = h.path("content"), perUser = h.path("xdg/mirabo");
    const HarnessRun r = h.play([&] {
        if (rename("data", content.c_str()) != 0 || setenv("XDG_DATA_HOME", h.path("xdg").c_str(), 1) != 0)
            return 98;
        return gameMainWith({"--data", "content", "-t"});
    });
    ASSERT_EQ(r.status, HARNESS_STOPPED) << r.err;
    EXPECT_EQ(r.value("started", 0), 1) << "the test stage started with the data of content/";
    EXPECT_TRUE(std::filesystem::is_regular_file(perUser + "/hiscores.dat"));
    EXPECT_FALSE(std::filesystem::exists(h.path("hiscores.dat")));
    EXPECT_FALSE(std::filesystem::exists(h.path("data")));
}

// Without data the game stops at once, naming every folder it looked in: the working directory's
// data/ (here one that is not the game's), data/ beside the binary, the installation around the binary
// and the installed data folder; or only the folder --data names.
TEST(StartUpFlow, WithoutDataTheErrorNamesEveryFolderSearched) {
    const std::string installed = MIRABO_INSTALLED_DATA, binary = MIRABO_RUN_DIR "/tests/";
    for (const std::string &folder : {installed, binary + "data", binary + MIRABO_DATA_FROM_BINARY})
        if (std::filesystem::exists(folder + "/gfx.zka"))
            GTEST_SKIP() << "game data in " << folder;
    Harness h("no-data");
    HarnessRun r = h.play([] {
        std::filesystem::remove_all("data");
        std::filesystem::create_directory("data");
        return gameMainWith({"-w"});
    });
    EXPECT_EQ(r.status, 1);
    const std::filesystem::path relative =
        std::filesystem::path(binary + MIRABO_DATA_FROM_BINARY).lexically_normal();
    EXPECT_EQ(r.err, "Cannot find the game data: no gfx.zka in " + h.path("data") + ", " + binary + "data, " +
                         relative.string() + ", " + installed + "\n");
    EXPECT_EQ(r.out, "");

    r = h.play([] { return gameMainWith({"--data", "/nowhere/at/all", "-w"}); });
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot find the game data: no gfx.zka in /nowhere/at/all\n");
}

TEST(StartUpFlow, CommandLineAndConfigurationMakeTheDisplaySettings) {
    struct Case {
        const char *config; // gfxmode= word, or nullptr for no configuration file
        std::vector<std::string> args;
        const char *line;
        int32_t bpp;
        int32_t testMode;
    } cases[] = {
        {"4", {"-w", "-s2x"}, "0 2 2\n", 16, 0}, {"4", {"-fs", "-x1"}, "1 0 1\n", 16, 0},
        {"4", {"-w", "-x1"}, "0 1 0\n", 16, 0},  {"4", {"-b24", "-bl2", "-zz"}, "0 2 4\n", 24, 0},
        {"5", {"-t"}, "0 2 1\n", 16, 1},         {"4", {"-fs", "-t"}, "0 2 1\n", 16, 1},
        {"4", {"-t", "-fs"}, "1 0 1\n", 16, 1},  {"8", {}, "0 2 2\n", 16, 0},
        {nullptr, {}, "1 0 1\n", 16, 0},
    };
    for (const Case &c : cases) {
        const std::string config = c.config ? std::string("gfxmode=") + c.config : "";
        std::string what = c.config ? config : "no configuration";
        for (const std::string &arg : c.args)
            what += " " + arg;
        Harness h("settings");
        if (c.config)
            h.file("mirabo.cfg", std::vector<uint8_t>(config.begin(), config.end()));
        h.probe("fs", [] { return int64_t(fs); }).probe("method", [] { return int64_t(ScalingMethod); });
        h.probe("bpp", [] { return int64_t(bpp); }).probe("bits", [] {
            return int64_t(screen->format->BitsPerPixel);
        });
        setUpIntro(h);
        h.at(0).stop();
        const HarnessRun r = h.runGame(c.args);
        ASSERT_EQ(r.status, HARNESS_STOPPED) << what << "\n" << r.out;
        EXPECT_EQ(r.out, c.line) << what;
        EXPECT_EQ(r.value("fs", 0), c.line[0] - '0') << what;
        EXPECT_EQ(r.value("method", 0), c.line[4] - '0') << what;
        EXPECT_EQ(r.value("bpp", 0), c.bpp) << what;
        EXPECT_EQ(r.value("bits", 0), c.bpp) << what;
        EXPECT_EQ(r.value("started", 0), c.testMode)
            << what << ": the test stage sets up the game's assets at once";
    }
}

TEST(StartUpFlow, VolumesReachTheMixerOnItsScale) {
    struct Case {
        const char *config;
        int64_t effects, music;
    } cases[] = {
        {"gfxmode=4 sfx_volume=15 mus_volume=100", 19, 128},
        {"gfxmode=4 sfx_volume=50 mus_volume=0", 64, 0},
        {"gfxmode=4", 19, 128},
    };
    for (const Case &c : cases) {
        Harness h("volumes");
        setUpIntro(h);
        h.file("mirabo.cfg", std::vector<uint8_t>(c.config, c.config + strlen(c.config)));
        h.probe("effects", [] { return int64_t(Mix_Volume(-1, -1)); });
        h.probe("music", [] { return int64_t(mp_volume.load()); });
        h.at(0).stop();
        const HarnessRun r = h.runGame({});
        EXPECT_EQ(r.value("effects", 0), c.effects) << c.config;
        EXPECT_EQ(r.value("music", 0), c.music) << c.config;
    }
}

// Tap tick t: down at t, up at t + 1; the release is seen by read t + 1 and acted on by the update
// right after it.
TEST(IntroFlow, LogoIgnoresControlsWhileSlidingAndEndsOnJumpOnceArrived) {
    Harness h("zenk");
    setUpIntro(h);
    h.probe("jingle", [] { return int64_t(MP_PlayingMusic()); });
    h.at(10).snapshot("intro-logo-sliding").tap(SDL_SCANCODE_SPACE).tap(SDL_SCANCODE_RETURN);
    h.at(190)
        .snapshot("intro-logo-arrived")
        .tap(SDL_SCANCODE_TAB)
        .tap(SDL_SCANCODE_LEFT)
        .tap(SDL_SCANCODE_SPACE);
    h.at(200).snapshot("intro-open-source").stop();
    const HarnessRun r = h.runGame({"-w"});
    ASSERT_EQ(r.status, HARNESS_STOPPED) << r.out;

    const int arrival = r.firstTick("jingle", 1);
    ASSERT_GT(arrival, 14) << "the jingle starts when the logo arrives, after the taps";
    ASSERT_LT(arrival, 190);
    EXPECT_EQ(r.value("jingle", arrival - 1), 0);
    EXPECT_EQ(r.value("screen", 195), 0)
        << "jump and start while sliding, pause and left after arrival do nothing";
    EXPECT_EQ(r.value("screen", 196), 1) << "jump after arrival ends the screen at once";
    EXPECT_EQ(r.value("jingle", 196), 0) << "the jingle stops with its screen";
    EXPECT_EQ(r.value("started", 200), 0);
    EXPECT_EQ(r.value("fonts", 1), 0) << "the first frame comes before the menu's fonts and images";
    EXPECT_EQ(r.value("fonts", 2), 1);
    EXPECT_EQ(r.value("pads", 0), 0) << "and before SDL's pad set-up";
    EXPECT_EQ(r.value("pads", 1), 1);
    EXPECT_EQ(r.value("prepared", 100), 1) << "the intro made them, one a tick";
}

// The jingle ending (here cut short once the logo is in place) ends the screen without any control.
TEST(IntroFlow, LogoScreenEndsWhenTheJingleIsOver) {
    Harness h("zenk-jingle");
    setUpIntro(h);
    h.probe("jingle", [] { return int64_t(MP_PlayingMusic()); });
    h.at(190).call(MP_HaltMusic).at(200).stop();
    const HarnessRun r = h.runGame({"-w"});
    ASSERT_EQ(r.status, HARNESS_STOPPED) << r.out;
    ASSERT_EQ(r.value("jingle", 189), 1);
    EXPECT_EQ(r.value("screen", 190), 0);
    EXPECT_EQ(r.value("screen", 191), 1);
}

// A logo 201 pixels wide would rest at x 59, but the logo moves by 2 from 360: it halts at 58 after
// 151 updates, never arrives exactly, so the jingle never starts and the screen ends there. Update n
// follows read n - 1, so read 151 is the notice's first.
TEST(IntroFlow, LogoThatCannotCentreExactlyEndsTheScreenWhereItHalts) {
    Harness h("zenk-odd");
    setUpIntro(h);
    h.probe("jingle", [] { return int64_t(MP_PlayingMusic()); });
    SDL_Surface *oddLogo = SDL_CreateRGBSurfaceWithFormat(0, 201, 40, 24, SDL_PIXELFORMAT_RGB24);
    SDL_FillRect(oddLogo, nullptr, SDL_MapRGB(oddLogo->format, 255, 255, 255));
    ASSERT_EQ(SDL_SaveBMP(oddLogo, h.path("zk-logo.bmp").c_str()), 0) << SDL_GetError();
    SDL_FreeSurface(oddLogo);
    h.at(149).snapshot("intro-logo-odd-width").at(160).stop();
    const HarnessRun r = h.runGame({"-w"});
    ASSERT_EQ(r.status, HARNESS_STOPPED) << r.out;
    EXPECT_EQ(r.firstTick("screen", 1), 151);
    EXPECT_EQ(r.firstTick("jingle", 1), -1);
}

// "HIT ACTION BUTTON OR ANY KEY": any key, a pad button or a click ends the notice.
TEST(IntroFlow, OpenSourceNoticeEndsOnAnyKeyButtonOrClick) {
    struct Case {
        const char *what;
        void (*script)(Harness &h);
    } cases[] = {
        {"pause key", [](Harness &h) { h.tap(SDL_SCANCODE_TAB); }},
        {"unmapped key", [](Harness &h) { h.tap(SDL_SCANCODE_Q); }},
        {"start button", [](Harness &h) { h.button(9); }},
        {"unmapped button", [](Harness &h) { h.button(5); }},
        {"hat", [](Harness &h) { h.hat(SDL_HAT_UP).wait(1).hat(SDL_HAT_CENTERED).wait(1); }},
        {"click", [](Harness &h) { h.click(160, 120); }},
    };
    for (const Case &c : cases) {
        Harness h("notice");
        setUpIntro(h);
        h.file("mirabo.cfg", windowConfig);
        h.at(190).tap(SDL_SCANCODE_SPACE);
        h.at(210);
        c.script(h);
        h.at(220).stop();
        const HarnessRun r = h.runGame({});
        EXPECT_EQ(r.value("screen", 196), 1) << c.what;
        EXPECT_EQ(r.value("screen", 209), 1) << c.what << ": nothing else ends it";
        EXPECT_EQ(r.last("screen"), 2) << c.what << ": the intro is over";
    }
}

TEST(IntroFlow, QuitDuringTheIntroSkipsTheMenuAndShutsDown) {
    struct Case {
        const char *how;
        int tick;
        SDL_Event event;
        int32_t screen;
    } cases[] = {
        {"window closed on the maker's logo", 20, SDL_Event{SDL_QUIT}, 0},
        {"escape on the notice", 200, SDL_Event{SDL_KEYDOWN}, 1},
    };
    cases[1].event.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    for (const Case &c : cases) {
        Harness h("quit");
        setUpIntro(h);
        h.file("mirabo.cfg", windowConfig);
        h.at(190).tap(SDL_SCANCODE_SPACE);
        h.at(c.tick).event(c.event);
        const HarnessRun r = h.runGame({});
        EXPECT_EQ(r.status, 0) << c.how;
        EXPECT_EQ(r.ticks.size(), size_t(c.tick + 1)) << c.how << ": nothing reads the input after the quit";
        EXPECT_TRUE(r.returned) << c.how;
        EXPECT_EQ(r.last("screen"), c.screen) << c.how;
        EXPECT_EQ(r.firstTick("started", 1), -1) << c.how << ": the menu never started";
        EXPECT_EQ(r.out, "0 2 1\n") << c.how;
    }
}

} // namespace
