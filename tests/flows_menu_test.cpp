// The front end played headless: the title, the main menu, the hiscore table and the options screen,
// driven through the real game with scripted keys, clicks and a virtual game pad.
#include "harness.h"

#include "data/config.h"
#include "data/hiscores.h"
#include "gfx/gfx_sdl2.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys_virtual.h"
#include "main/credits.h"
#include "main/game.h"
#include "main/level.h"
#include "main/menu.h"
#include "main/options.h"
#include "main/rules.h"
#include "main/runner.h"
#include "main/savegame.h"
#include "main/screen.h"
#include "main/sheets.h"
#include "main/startup.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The effects asked for so far in the child, by index.
std::array<int64_t, SFX_COUNT> soundsPlayed;

// The game's start-up without the intro (a window at single size), then the menu until it returns.
// prepare runs after start-up, before the menu.
int menuOnly(const std::function<void()> &prepare = nullptr) {
    getConfigFolder();
    loadGfxConfig();
    fs = 0;
    ScalingMethod = 0;
    bpp = 16;
    cfgScreen = 1;
    cfgScalingMethod = 0;
    cfgbpp = 16;
    sfxListener = [](int index) { soundsPlayed[index]++; };
    startUp();
    loadHiscores(0);
    if (prepare)
        prepare();
    screenPush(menuScreen);
    screenRun();
    return exitGame();
}

// The picture last drawn into screen.
int64_t screenHash() {
    if (!screen)
        return 0;
    uint64_t hash = 14695981039346656037u;
    const auto *pixels = static_cast<const uint8_t *>(screen->pixels);
    for (int i = 0; i < screen->pitch * screen->h; i++)
        hash = (hash ^ pixels[i]) * 1099511628211u;
    return int64_t(hash >> 1);
}

// What every flow probes, and short script steps. Tick numbers: the menu reads its first input at
// tick 0 (menuOnly); a tap at tick t is acted on in the pass of read t + 1 and probed from t + 2.
struct MenuFlow : Harness {
    explicit MenuFlow(const char *name) : Harness(name) {
        probe("workflow", [] { return int64_t(workflow); });
        probe("menuSounds", [] { return soundsPlayed[SFX_MENU_CONTROL]; });
        probe("selectSounds", [] { return soundsPlayed[SFX_SELECT_OPTION]; });
        probe("hippo", [] { return soundsPlayed[SFX_HIPPO]; });
        probe("hsRank", [] { return int64_t(::play.hsRank); });
        probe("cfgIndex", [] { return int64_t(optionsState().cfgIndex); });
        probe("cfgStatus", [] { return int64_t(optionsState().cfgStatus); });
        probe("cfgStep", [] { return int64_t(optionsState().cfgStep); });
        probe("cfgUsed", [] { return int64_t(optionsState().cfgUsed); });
        probe("curMusic", [] { return int64_t(curMusic); });
        probe("playing", [] { return int64_t(MP_PlayingMusic()); });
        probe("musVolume", [] { return int64_t(_mus_volume_100_); });
        probe("musMixer", [] { return int64_t(mp_volume); });
        probe("sfxVolume", [] { return int64_t(_sfx_volume_100_); });
        probe("sfxMixer",
              [] { return int64_t(Mix_QuerySpec(nullptr, nullptr, nullptr) ? Mix_Volume(0, -1) : -1); });
        probe("startButton", [] { return int64_t(START_BUTTON); });
        probe("jumpButton", [] { return int64_t(JUMP_BUTTON); });
        probe("jumpKey", [] { return int64_t(JUMP_KEY); });
        probe("rawPads", [] { return int64_t(ctrlRawPads()); });
        probe("scaling", [] { return int64_t(cfgScalingMethod); });
        probe("started", gameStarted);
        probe("intro", [] { return int64_t(currentScreen); });
        probe("stage", [] {
            return levelSet.levels && puzzle.currentSource
                       ? int64_t((puzzle.currentSource - levelSet.levels) / LEVEL_RECORD_SIZE)
                       : -1;
        });
        probe("scroll", [] { return int64_t(credits.scrollidx * 16 + credits.scrolldx); });
    }
    // The harness's own steps, chaining on as a MenuFlow.
    MenuFlow &at(int tick) { return self(Harness::at(tick)); }
    MenuFlow &wait(int ticks) { return self(Harness::wait(ticks)); }
    MenuFlow &tap(SDL_Scancode key) { return self(Harness::tap(key)); }
    MenuFlow &button(int number) { return self(Harness::button(number)); }
    MenuFlow &snapshot(const char *name) { return self(Harness::snapshot(name)); }
    MenuFlow &call(std::function<void()> action) { return self(Harness::call(std::move(action))); }
    MenuFlow &quit() { return self(Harness::quit()); }
    // A key tapped, then time for the menu to act on it and for the options' cool-down to run out.
    MenuFlow &press(SDL_Scancode key, int settle = 12) {
        tap(key);
        wait(settle);
        return *this;
    }
    // From the title to the options screen: NEW GAME, then up twice past EXIT to OPTIONS.
    MenuFlow &toOptions() {
        return press(SDL_SCANCODE_RIGHT)
            .press(SDL_SCANCODE_UP)
            .press(SDL_SCANCODE_UP)
            .press(SDL_SCANCODE_RETURN);
    }
    MenuFlow &clickAt(int x, int y) {
        click(x, y);
        wait(12);
        return *this;
    }
    // Selects BACK TO MENU with a click below the rows and chooses it.
    MenuFlow &backToMenu() { return clickAt(100, 185).press(SDL_SCANCODE_RETURN); }
    MenuFlow &escape() {
        return self(keyDown(SDL_SCANCODE_ESCAPE).wait(1).keyUp(SDL_SCANCODE_ESCAPE).wait(11));
    }

  private:
    MenuFlow &self(Harness &) { return *this; }
};

std::vector<uint8_t> bytesOf(const std::string &text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// A saved game for the stage, as the game writes it (random value 0x1234).
std::vector<uint8_t> savedGame(int stage) {
    const uint8_t plain[4] = {0x12, uint8_t(0x34 ^ stage), 0x34, uint8_t(0x12 ^ stage)};
    std::vector<uint8_t> bytes(4);
    for (int k = 0; k < 4; k++)
        bytes[k] = plain[k] ^ uint8_t(SAVEGAME_MASK >> (8 * k));
    return bytes;
}

std::string readFile(const std::string &path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool exists(const std::string &path) { return std::filesystem::exists(path); }

// The configuration as dumpConfig writes it for a window at single size without zoom, with the
// given volumes and pad buttons.
// A configuration that was read back holds the delays clamped to their least values.
std::string configLines(int music, int effects, int jumpButton = 2, int startButton = 9,
                        bool readBack = true) {
    char text[1024];
    snprintf(text, sizeof text,
             "mus_volume=%d\nsfx_volume=%d\n"
             "j_jump=%d\nj_pause=8\nj_start=%d\nj_up=1\nj_down=4\nj_left=8\nj_right=2\n"
             "k_jump=44\nk_pause=43\nk_start=40\nk_up=82\nk_down=81\nk_left=80\nk_right=79\n"
             "mpFlagsOVERSAMPLING=1\nmpResamplingMode=1\nmpFlagsNOISE_REDUCTION=1\nmpFlagsREVERB=0\n"
             "mpReverbDepth=0\nmpReverbDelay=%d\nmpFlagsMEGABASS=0\nmpBassAmount=0\nmpBassRange=%d\n"
             "mpFlagsSURROUND=0\nmpSurroundDepth=0\nmpSurroundDelay=%d\ngfxmode=0\n",
             music, effects, jumpButton, startButton, readBack ? 40 : 0, readBack ? 10 : 0, readBack ? 5 : 0);
    return text;
}

// The tick at which the probe first shows the value from tick `from` on; fails the test if never.
int reached(const HarnessRun &r, const char *probe, int64_t value, int from = 0) {
    const int tick = r.firstTick(probe, value, from);
    EXPECT_GE(tick, 0) << probe << " never became " << value << " after tick " << from;
    return tick;
}

TEST(TitleFlow, StartSelectsContinueOnlyWithASavedGame) {
    struct Case {
        const char *what;
        std::vector<uint8_t> save;
        int32_t selected;
    } cases[] = {
        {"no saved game", {}, MENU_NEW_GAME},
        {"saved at stage 3", savedGame(3), MENU_CONTINUE},
        {"a damaged saved game", {1, 2, 3, 4}, MENU_NEW_GAME},
    };
    for (const Case &c : cases) {
        MenuFlow h("title-start");
        if (!c.save.empty())
            h.file("savegame.dat", c.save);
        h.at(5).press(SDL_SCANCODE_RETURN).quit();
        const HarnessRun r = h.play([] { return menuOnly(); });
        EXPECT_EQ(r.status, 0) << c.what;
        EXPECT_TRUE(r.returned) << c.what << ": a quit request on the main menu ends the menu";
        EXPECT_EQ(r.value("workflow", 5), MENU_TITLE) << c.what;
        EXPECT_EQ(r.value("workflow", 15), c.selected) << c.what;
        EXPECT_EQ(r.value("menuSounds", 15), 0) << c.what << ": the title leaves silently";
    }
}

TEST(TitleFlow, SelectionWrapsBothWaysAndExitEndsTheProgram) {
    MenuFlow h("menu-wrap");
    h.at(5).press(SDL_SCANCODE_LEFT); // title -> EXIT
    h.press(SDL_SCANCODE_DOWN);       // EXIT -> NEW GAME
    h.press(SDL_SCANCODE_UP);         // NEW GAME -> EXIT
    h.press(SDL_SCANCODE_UP);         // EXIT -> OPTIONS
    h.press(SDL_SCANCODE_RIGHT);      // OPTIONS -> EXIT
    h.clickAt(160, 105);              // the NEW GAME row
    h.clickAt(160, 197);              // below the items: nothing
    h.press(SDL_SCANCODE_LEFT);       // NEW GAME -> EXIT
    h.click(160, 177);                // the selected EXIT row: chosen
    const HarnessRun r = h.play([] { return menuOnly(); });
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.returned);
    const int32_t expected[] = {MENU_EXIT, MENU_NEW_GAME, MENU_EXIT,     MENU_OPTIONS,
                                MENU_EXIT, MENU_NEW_GAME, MENU_NEW_GAME, MENU_EXIT};
    const int64_t sounds[] = {1, 2, 3, 4, 5, 6, 6, 7};
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(r.value("workflow", 5 + 14 * i + 13), expected[i]) << "step " << i;
        EXPECT_EQ(r.value("menuSounds", 5 + 14 * i + 13), sounds[i]) << "step " << i;
    }
    EXPECT_EQ(r.last("selectSounds"), 1);
    EXPECT_EQ(r.ticks.size(), size_t(5 + 14 * 8 + 1)) << "EXIT ends the menu in the tick that chose it";
}

// A new game from NEW GAME or CONTINUE, left through the pause menu's EXIT: back on the title.
TEST(GameFlow, ContinueStartsAtTheSavedStageOrANewGame) {
    struct Case {
        const char *what;
        std::vector<uint8_t> save;
        int64_t stage;
        int64_t tutorial;
    } cases[] = {
        {"no saved game", {}, 0, 1},
        {"saved at stage 2", savedGame(2), 2, 0},
    };
    for (const Case &c : cases) {
        MenuFlow h("continue");
        if (!c.save.empty())
            h.file("savegame.dat", c.save);
        // Title -> NEW GAME -> CONTINUE (with a saved game: title -> CONTINUE -> NEW GAME -> CONTINUE).
        h.at(5).press(SDL_SCANCODE_RIGHT).press(SDL_SCANCODE_DOWN);
        if (!c.save.empty())
            h.press(SDL_SCANCODE_UP).press(SDL_SCANCODE_DOWN);
        h.press(SDL_SCANCODE_RETURN).wait(100);
        if (c.tutorial)
            h.press(SDL_SCANCODE_SPACE, 60);
        h.press(SDL_SCANCODE_RETURN).press(SDL_SCANCODE_UP).press(SDL_SCANCODE_SPACE, 100); // pause, EXIT
        h.quit();
        const HarnessRun r = h.play([] { return menuOnly(); });
        ASSERT_EQ(r.status, 0) << c.what;
        const int chosen = reached(r, "selectSounds", 1);
        EXPECT_EQ(r.value("workflow", chosen), MENU_CONTINUE) << c.what;
        EXPECT_EQ(r.value("stage", chosen - 1), -1) << c.what;
        const int played = reached(r, "stage", c.stage);
        EXPECT_EQ(r.value("hippo", played) > 0, c.tutorial != 0)
            << c.what << ": the tutorial shows before stage 0 only";
        EXPECT_EQ(r.value("playing", played), 1) << c.what << ": the stage's music";
        EXPECT_EQ(r.value("curMusic", played), 1) << c.what;
        const int back = reached(r, "workflow", MENU_TITLE, played);
        EXPECT_EQ(r.value("curMusic", back), 0) << c.what << ": the title track again";
        EXPECT_EQ(r.value("playing", back), 1) << c.what;
        EXPECT_LT(r.value("scroll", back), 3) << c.what << ": the scroller starts over";
        EXPECT_EQ(r.last("workflow"), MENU_TITLE) << c.what << ": the quit on the title ends the program";
    }
}

TEST(GameFlow, AGameEndingWithAHiscoreOpensTheTableWithTheEntryBlinking) {
    MenuFlow h("hiscore");
    h.at(5).press(SDL_SCANCODE_RETURN).press(SDL_SCANCODE_RETURN).wait(100); // NEW GAME
    h.press(SDL_SCANCODE_SPACE, 60);                                         // leaves the tutorial
    h.call([] { // the last life runs out of time with a score for the table
        play.lives = 1;
        play.score = 5000;
        play.endTime = play.currentTime;
    });
    h.wait(100).press(SDL_SCANCODE_SPACE, 60); // game over
    h.press(SDL_SCANCODE_RETURN, 60);          // the name "A"
    h.press(SDL_SCANCODE_RIGHT, 100);          // no continue
    h.snapshot("menu-hiscore-table");
    h.press(SDL_SCANCODE_RETURN); // leaves the table: HISCORES selected
    h.press(SDL_SCANCODE_SPACE);  // the table again
    h.escape();                   // a quit request only leaves the table
    h.escape();                   // on the main menu it ends the program
    const HarnessRun r = h.play([] { return menuOnly(); });
    ASSERT_EQ(r.status, 0) << r.out;
    const int table = reached(r, "workflow", MENU_HISCORE_TABLE);
    ASSERT_GT(table, 0);
    EXPECT_EQ(r.value("hsRank", table), 0) << "5000 points beat every generated entry";
    const int left = reached(r, "workflow", MENU_HISCORES, table);
    EXPECT_EQ(r.value("hsRank", left), -1);
    const int again = reached(r, "workflow", MENU_HISCORE_TABLE, left);
    EXPECT_EQ(r.value("hsRank", again), -1) << "the entry no longer blinks";
    EXPECT_EQ(reached(r, "workflow", MENU_HISCORES, again) > again, true);
    EXPECT_TRUE(r.returned);
    EXPECT_EQ(r.last("workflow"), MENU_HISCORES);
}

// The layers, the blink and the scroller move once per pass, drawn or not: a run whose frames are
// skipped for a while shows the same picture as one that drew every frame, once it draws again.
TEST(TitleFlow, SkippedFramesStillMoveTheLayersTheBlinkAndTheScroller) {
    HarnessRun runs[2];
    for (int late = 0; late < 2; late++) {
        MenuFlow h("skips");
        h.probe("picture", screenHash);
        if (late)
            h.at(28).call([] { sysVirtualAdvance(60); }); // a slow pass: the next ones are not drawn
        h.at(90).quit();
        runs[late] = h.play([] { return menuOnly(); });
        ASSERT_EQ(runs[late].status, 0);
        ASSERT_EQ(runs[late].ticks.size(), 91u);
    }
    const HarnessRun &steady = runs[0], &skipping = runs[1];
    EXPECT_GE(steady.ticks[90].frames - skipping.ticks[90].frames, 2) << "frames were skipped";
    int compared = 0;
    for (int t = 1; t <= 90; t++) {
        EXPECT_EQ(steady.value("scroll", t), skipping.value("scroll", t)) << "tick " << t;
        const bool bothDrew = steady.ticks[t].frames > steady.ticks[t - 1].frames &&
                              skipping.ticks[t].frames > skipping.ticks[t - 1].frames;
        if (bothDrew && t > 28) {
            EXPECT_EQ(steady.value("picture", t), skipping.value("picture", t)) << "tick " << t;
            compared++;
        }
    }
    EXPECT_GT(compared, 40);
    EXPECT_EQ(steady.value("scroll", 90), 90) << "the scroller steps once per pass";
}

TEST(OptionsFlow, TheSoundCheckAloneWritesNoConfiguration) {
    for (bool byQuit : {false, true}) {
        MenuFlow h("soundcheck");
        h.at(5).toOptions();
        h.clickAt(100, 135);                                 // selects SOUNDCHECK
        h.clickAt(100, 135);                                 // the selected row: as RIGHT, track 1
        h.press(SDL_SCANCODE_LEFT).press(SDL_SCANCODE_LEFT); // track 0, then 10
        if (byQuit)
            h.escape();
        else
            h.backToMenu();
        h.wait(10).quit();
        const HarnessRun r = h.play([] { return menuOnly(); });
        const char *how = byQuit ? "left by a quit request" : "left by BACK TO MENU";
        ASSERT_EQ(r.status, 0) << how;
        const int options = reached(r, "workflow", MENU_OPTIONS_SCREEN);
        EXPECT_EQ(r.value("cfgIndex", options + 14), 6) << how;
        EXPECT_EQ(r.value("menuSounds", options + 14), 3) << how << ": selecting by a click is silent";
        EXPECT_EQ(r.value("curMusic", options + 28), 1) << how;
        EXPECT_EQ(r.value("curMusic", options + 42), 0) << how;
        EXPECT_EQ(r.value("curMusic", options + 56), 10) << how;
        EXPECT_EQ(r.value("playing", options + 56), 1) << how;
        const int back = reached(r, "workflow", MENU_OPTIONS, options);
        EXPECT_EQ(r.value("curMusic", back), 0) << how << ": the menu's own track again";
        EXPECT_EQ(r.value("playing", back), 1) << how;
        EXPECT_TRUE(r.returned) << how << ": the game ran on until the quit on the main menu";
        EXPECT_FALSE(exists(h.path("mirabo.cfg"))) << how;
    }
}

TEST(OptionsFlow, AVolumeChangeIsSavedOnceWithEveryLine) {
    struct Case {
        int row;
        SDL_Scancode key;
        int music, effects;           // before
        int musicAfter, effectsAfter; // after one step
        int64_t mixer;                // the changed volume on the mixer's scale
        int64_t samples;              // "select_option" played as a sample
    } cases[] = {
        {2, SDL_SCANCODE_RIGHT, 95, 15, 100, 15, 128, 0}, {2, SDL_SCANCODE_RIGHT, 100, 15, 100, 15, 128, 0},
        {2, SDL_SCANCODE_LEFT, 3, 15, 0, 15, 0, 0},       {3, SDL_SCANCODE_RIGHT, 100, 15, 100, 20, 25, 1},
        {3, SDL_SCANCODE_LEFT, 100, 15, 100, 10, 12, 1},
    };
    for (const Case &c : cases) {
        MenuFlow h("volume");
        h.file("mirabo.cfg", bytesOf(configLines(c.music, c.effects)));
        h.at(5).toOptions();
        for (int i = 0; i < c.row; i++)
            h.press(SDL_SCANCODE_DOWN);
        const int atChange = 5 + 14 * 4 + 14 * c.row;
        h.press(c.key);
        h.backToMenu();
        const std::string written = h.path("mirabo.cfg"), first = h.path("first.cfg");
        h.call([written, first] { std::filesystem::rename(written, first); });
        h.press(SDL_SCANCODE_RETURN).backToMenu(); // in and out again without a change
        h.quit();
        const HarnessRun r = h.play([] { return menuOnly(); });
        const std::string what =
            std::to_string(c.music) + "/" + std::to_string(c.effects) + " row " + std::to_string(c.row);
        ASSERT_EQ(r.status, 0) << what;
        EXPECT_EQ(r.value("cfgIndex", atChange), c.row) << what;
        EXPECT_EQ(r.value("musVolume", atChange + 14), c.musicAfter) << what;
        EXPECT_EQ(r.value("sfxVolume", atChange + 14), c.effectsAfter) << what;
        EXPECT_EQ(r.value(c.row == 2 ? "musMixer" : "sfxMixer", atChange + 14), c.mixer) << what;
        EXPECT_EQ(r.value("selectSounds", atChange + 14) - r.value("selectSounds", atChange), c.samples)
            << what;
        EXPECT_EQ(readFile(first), configLines(c.musicAfter, c.effectsAfter)) << what;
        EXPECT_FALSE(exists(written)) << what << ": leaving again without a change writes nothing";
        EXPECT_EQ(r.last("workflow"), MENU_OPTIONS) << what;
    }
}

TEST(OptionsFlow, ResetToDefaultRestoresControlsAndVolumes) {
    MenuFlow h("reset");
    std::string config = configLines(40, 70, 5, 6);
    config.replace(config.find("k_jump=44"), 9, "k_jump=d");
    h.file("mirabo.cfg", bytesOf(config));
    h.at(5).toOptions();
    h.clickAt(100, 145).press(SDL_SCANCODE_RETURN); // RESET TO DEFAULT (the action key is D here)
    h.backToMenu().quit();
    const HarnessRun r = h.play([] { return menuOnly(); });
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.value("jumpKey", 5), 'd');
    EXPECT_EQ(r.value("musVolume", 5), 40);
    const int options = reached(r, "workflow", MENU_OPTIONS_SCREEN);
    const int reset = options + 30; // START waits for the keys' release (one read) before it acts
    EXPECT_EQ(r.value("cfgIndex", reset), 7);
    EXPECT_EQ(r.value("musVolume", reset), 100);
    EXPECT_EQ(r.value("musMixer", reset), 128);
    EXPECT_EQ(r.value("sfxVolume", reset), 15);
    EXPECT_EQ(r.value("sfxMixer", reset), 19);
    EXPECT_EQ(r.value("jumpKey", reset), SDL_SCANCODE_SPACE);
    EXPECT_EQ(r.value("jumpButton", reset), 2);
    EXPECT_EQ(r.value("selectSounds", reset), 1);
    EXPECT_EQ(readFile(h.path("mirabo.cfg")), configLines(100, 15));
}

TEST(OptionsFlow, ResetHiscoresMakesANewDefaultTable) {
    MenuFlow h("reset-hiscores");
    h.probe("best", [] { return int64_t(hiscores[0].score); });
    h.at(5).toOptions();
    h.clickAt(100, 155).press(SDL_SCANCODE_SPACE); // RESET HISCORES
    h.backToMenu().quit();
    const HarnessRun r = h.play([] {
        return menuOnly([] {
            hiscores[0].score = 400000;
            saveBuffer();
        });
    });
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.value("best", 5), 400000);
    EXPECT_LT(r.last("best"), 2000);
    EXPECT_EQ(r.last("selectSounds"), 1);
    EXPECT_FALSE(exists(h.path("mirabo.cfg"))) << "the table is no setting";
}

// The game's start-up with a virtual pad of twelve buttons plugged in, of a type SDL has a layout for
// (SDL_JOYSTICK_TYPE_GAMECONTROLLER) or not; the game opens it as such after its first frame (the
// rawPads probe).
int menuWithPad(SDL_JoystickType type) {
    if (SDL_Init(SDL_INIT_JOYSTICK) != 0 || SDL_JoystickAttachVirtual(type, 0, 12, 0) < 0)
        return 90;
    return menuOnly();
}
int menuWithUnknownPad() { return menuWithPad(SDL_JOYSTICK_TYPE_UNKNOWN); }

TEST(OptionsFlow, PadAssignmentTakesTwoFreeButtons) {
    MenuFlow h("pad");
    h.at(5).toOptions();
    h.press(SDL_SCANCODE_DOWN).press(SDL_SCANCODE_RETURN); // CONFIGURE PAD
    const int first = 5 + 14 * 6;
    h.button(4).wait(12);                                   // START
    h.press(SDL_SCANCODE_LEFT);                             // a key: nothing
    h.button(4).wait(12).snapshot("menu-options-pad-used"); // taken
    h.button(6).wait(12);                                   // the action button
    h.backToMenu().quit();
    const HarnessRun r = h.play(menuWithUnknownPad);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.value("rawPads", 0), 0) << "the pad is opened after the first frame";
    EXPECT_EQ(r.value("rawPads", 1), 1);
    EXPECT_EQ(r.value("cfgIndex", first), 1);
    EXPECT_EQ(r.value("cfgStatus", first), 1);
    EXPECT_EQ(r.value("startButton", first), -1);
    EXPECT_EQ(r.value("jumpButton", first), -1);
    EXPECT_EQ(r.value("cfgStep", first + 14), 1);
    EXPECT_EQ(r.value("startButton", first + 14), 4);
    EXPECT_EQ(r.value("cfgStep", first + 28), 1) << "a key offers no button";
    EXPECT_EQ(r.value("cfgUsed", first + 28), 0);
    EXPECT_EQ(r.value("cfgUsed", first + 42), 1) << "START's button again";
    EXPECT_EQ(r.value("cfgStep", first + 42), 1);
    EXPECT_EQ(r.value("cfgStatus", first + 56), 0);
    EXPECT_EQ(r.value("cfgStep", first + 56), 2);
    EXPECT_EQ(r.value("cfgUsed", first + 56), 0);
    EXPECT_EQ(r.value("jumpButton", first + 56), 6);
    EXPECT_EQ(r.value("cfgIndex", first + 56), 1) << "the rows come back with the pad's row selected";
    EXPECT_EQ(readFile(h.path("mirabo.cfg")), configLines(100, 15, 6, 4, false)) << "no file was read";
}

TEST(OptionsFlow, AQuitRequestAbandonsTheAssignmentAndKeepsTheOldButtons) {
    MenuFlow h("pad-quit");
    h.at(5).toOptions();
    h.press(SDL_SCANCODE_DOWN).press(SDL_SCANCODE_RETURN).button(4).wait(12);
    h.escape().wait(10).quit();
    const HarnessRun r = h.play(menuWithUnknownPad);
    ASSERT_EQ(r.status, 0) << r.out;
    const int options = reached(r, "workflow", MENU_OPTIONS_SCREEN);
    EXPECT_EQ(r.value("startButton", options + 42), 4);
    const int back = reached(r, "workflow", MENU_OPTIONS, options);
    EXPECT_EQ(r.value("startButton", back), 9);
    EXPECT_EQ(r.value("jumpButton", back), 2);
    EXPECT_TRUE(r.returned);
    EXPECT_FALSE(exists(h.path("mirabo.cfg"))) << "a quit request saves nothing";
}

// The pad assignment serves pads SDL has no layout for: a pad SDL knows keeps its own layout.
TEST(OptionsFlow, WithoutAPadOrWithAPadSDLKnowsItsRowDoesNothing) {
    const struct {
        const char *name, *shot;
        int (*start)();
        int scaling; // the scaling method the screen shows
    } cases[] = {
        // An unknown scaling method shows as SIMPLE.
        {"no-pad", "menu-options", [] { return menuOnly([] { cfgScalingMethod = 9; }); }, 1},
        {"known-pad", "menu-options-known-pad", [] { return menuWithPad(SDL_JOYSTICK_TYPE_GAMECONTROLLER); },
         0},
    };
    for (const auto &c : cases) {
        MenuFlow h(c.name);
        h.at(5).toOptions();
        h.press(SDL_SCANCODE_DOWN).press(SDL_SCANCODE_RETURN).snapshot(c.shot);
        h.backToMenu().quit();
        const HarnessRun r = h.play(c.start);
        ASSERT_EQ(r.status, 0) << c.name << r.out;
        const int options = reached(r, "workflow", MENU_OPTIONS_SCREEN);
        EXPECT_EQ(r.value("cfgIndex", options + 28), 1) << c.name;
        EXPECT_EQ(r.value("cfgStatus", options + 28), 0) << c.name;
        EXPECT_EQ(r.value("startButton", options + 28), 9) << c.name;
        EXPECT_EQ(r.value("scaling", options + 28), c.scaling) << c.name;
        EXPECT_EQ(r.value("rawPads", options), 0) << c.name;
        EXPECT_FALSE(exists(h.path("mirabo.cfg"))) << c.name;
    }
}

// The whole program as the player starts it: intro, title, a new game left through the pause menu,
// the title again, and EXIT.
TEST(GameFlow, TheGameRunsFromTheIntroThroughAGameBackToTheMenuAndExits) {
    MenuFlow h("acceptance");
    h.at(190).tap(SDL_SCANCODE_SPACE).at(200).tap(SDL_SCANCODE_SPACE); // the maker's logo, the notice
    h.at(215).press(SDL_SCANCODE_RETURN).snapshot("menu-main").press(SDL_SCANCODE_RETURN).wait(100);
    h.press(SDL_SCANCODE_SPACE, 60);                                                    // the tutorial
    h.press(SDL_SCANCODE_RETURN).press(SDL_SCANCODE_UP).press(SDL_SCANCODE_SPACE, 100); // pause, EXIT
    h.snapshot("menu-title").press(SDL_SCANCODE_LEFT).press(SDL_SCANCODE_RETURN);       // EXIT
    const HarnessRun r = h.play([] {
        sfxListener = [](int index) { soundsPlayed[index]++; };
        return gameMainWith({"-w", "-x1"});
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.returned) << "gameMain returned through exitGame";
    EXPECT_EQ(r.out, "0 1 0\n");
    const int menuStart = reached(r, "started", 1);
    EXPECT_EQ(r.value("intro", menuStart), 2) << "both intro screens ran first";
    const int played = reached(r, "stage", 0, menuStart);
    EXPECT_GT(r.value("hippo", played), 0) << "the tutorial came first";
    const int title = reached(r, "workflow", MENU_TITLE, played);
    EXPECT_GT(title, played);
    EXPECT_EQ(r.last("workflow"), MENU_EXIT);
    EXPECT_EQ(r.last("selectSounds"), 3) << "NEW GAME, the pause menu's EXIT and EXIT";
}

// A click on the open-source notice does not end it; left pending it would choose a menu item on
// the title before the title was seen.
TEST(TitleFlow, AClickOnTheNoticeIsNoChoiceOnTheTitle) {
    MenuFlow h("notice-click");
    h.at(190).tap(SDL_SCANCODE_SPACE).at(196).click(160, 130); // the click passes the notice
    h.wait(40).quit();
    const HarnessRun r = h.play([] { return gameMainWith({"-w", "-x1"}); });
    EXPECT_EQ(r.status, 0);
    const int menuStart = reached(r, "started", 1);
    EXPECT_EQ(r.value("intro", menuStart), 2) << "the click came while the notice showed";
    EXPECT_EQ(r.value("workflow", menuStart + 20), MENU_TITLE);
    EXPECT_EQ(r.value("menuSounds", menuStart + 20), 0);
}

// The whole game with the mouse alone: the notice passed with a click, NEW GAME chosen by clicking its
// row twice, the tutorial passed, the cursor's cell picked, the pause menu opened with the right
// button and EXIT clicked twice, back on the title.
TEST(GameFlow, AMouseAlonePlaysFromTheTitleIntoAStageAndBack) {
    MenuFlow h("mouse-only");
    h.probe("hand", [] { return int64_t(queues.curAction); }); // a pick counting down
    h.probe("paused", [] { return int64_t(play.paused); });
    h.probe("top", [] { return int64_t(screenTop() ? screenTop()->name[0] : 0); });
    h.at(190).click(160, 120);                         // the maker's logo, once it has arrived
    h.at(400).click(160, 120);                         // the notice
    h.at(430).click(160, 110).at(450).click(160, 110); // NEW GAME selected, then chosen
    h.at(500).click(160, 120);                         // the tutorial
    h.at(540).click(16 + 4 * 16 + 8, 64 + 5 * 16 + 8); // the cursor's cell (4, 5): picked
    h.at(800);
    SDL_Event right{};
    right.type = SDL_MOUSEBUTTONDOWN;
    right.button.button = SDL_BUTTON_RIGHT;
    right.button.x = 300;
    right.button.y = 10;
    h.event(right).wait(20);
    for (int i = 0; i < 2; i++) // EXIT, whose row the pause title's height places
        h.call([] {
             SDL_Event click{};
             click.type = SDL_MOUSEBUTTONDOWN;
             click.button.button = SDL_BUTTON_LEFT;
             click.button.x = 100;
             click.button.y = images.pauseTitle->h + 16 + 32 * 4 + 10;
             sysVirtualQueueEvent(sysTicks(), click);
         }).wait(20);
    h.wait(40).quit();
    const HarnessRun r = h.play([] { return gameMainWith({"-w"}); });
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.returned);
    const int played = reached(r, "stage", 0);
    EXPECT_GT(r.firstTick("hand", 32, played), played) << "the click on the cursor's cell picked it";
    EXPECT_EQ(r.value("paused", 810), 1) << "the right button opened the pause menu";
    EXPECT_EQ(r.value("top", 850), 'm') << "EXIT led back to the menu";
    EXPECT_EQ(r.value("workflow", 850), MENU_TITLE);
}

// Music started at volume 0 plays silently: raising the volume in the options makes the menu's track
// heard (it used never to start, and the menu stayed silent).
TEST(OptionsFlow, TheMenuTrackIsHeardOnceAVolumeOfZeroIsRaised) {
    MenuFlow h("volume-zero");
    h.file("mirabo.cfg", bytesOf(configLines(0, 15)));
    h.at(5).toOptions().press(SDL_SCANCODE_DOWN).press(SDL_SCANCODE_DOWN).press(SDL_SCANCODE_RIGHT);
    h.quit().wait(5).quit();
    const HarnessRun r = h.play([] { return menuOnly(); });
    ASSERT_EQ(r.status, 0);
    const int raised = 5 + 14 * 7;
    EXPECT_EQ(r.value("playing", 5), 1) << "the title track plays silently";
    EXPECT_EQ(r.value("musVolume", raised), 5);
    EXPECT_EQ(r.value("musMixer", raised), 6);
    EXPECT_EQ(r.value("playing", raised), 1);
}

// A termination (SIGTERM) on the options screen ends the program and keeps the changed setting.
TEST(OptionsFlow, ATerminationKeepsWhatChanged) {
    MenuFlow h("options-terminate");
    h.file("mirabo.cfg", bytesOf(configLines(100, 15)));
    h.at(5).toOptions().press(SDL_SCANCODE_DOWN).press(SDL_SCANCODE_DOWN).press(SDL_SCANCODE_LEFT);
    h.call(sysVirtualTerminate);
    const HarnessRun r = h.play([] { return menuOnly(); });
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.returned);
    EXPECT_EQ(readFile(h.path("mirabo.cfg")), configLines(95, 15));
}

// Without a display that waits for its refresh (no vsync, or a 120 or 144 Hz display) the game still
// runs 60 ticks a second: the pacing itself waits out each tick.
TEST(TitleFlow, SixtyTicksASecondWithoutVsync) {
    MenuFlow h("no-vsync");
    h.vsync = false;
    h.at(660).quit();
    const HarnessRun r = h.play([] { return menuOnly(); });
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.ticks[660].ms - r.ticks[60].ms, 10000u) << "600 ticks in 10 s";
}

} // namespace
