// The stage's screens called one by one: the real start-up with SDL's dummy drivers and the run
// folder's assets, a level set built by the test, scripted controls on the virtual clock, and a
// temporary working folder that takes the saved game and the hiscore file.
#pragma once

#include "data/config.h"
#include "data/hiscores.h"
#include "gfx/gfx_sdl2.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys.h"
#include "main/game.h"
#include "main/level.h"
#include "main/rules.h"
#include "main/savegame.h"
#include "main/sheets.h"
#include "main/startup.h"
#include "sound/sound.h"
#include "stage_levels.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

// The sound effects the game asked for, with the clock at that moment.
struct PlayedSound {
    int index;
    uint32_t at;
};
inline std::vector<PlayedSound> &playedSounds() {
    static std::vector<PlayedSound> sounds;
    return sounds;
}

// Scripted controls: each call queues its events at the script's clock and moves the clock on.
struct Script {
    uint32_t at = 0;

    void wait(uint32_t ms) { at += ms; }
    void press(SDL_Scancode key, uint32_t holdMs = 40, uint32_t gapMs = 200) {
        SDL_Event down{}, up{};
        down.type = SDL_KEYDOWN;
        down.key.keysym.scancode = key;
        up.type = SDL_KEYUP;
        up.key.keysym.scancode = key;
        sysVirtualQueueEvent(at, down);
        sysVirtualQueueEvent(at + holdMs, up);
        at += holdMs + gapMs;
    }
    // A control held long enough for one read of the held controls, and released.
    void hold(SDL_Scancode key, uint32_t holdMs) { press(key, holdMs); }
    void click(int x, int y, uint32_t gapMs = 200) {
        // The input layer reports clicks on the 320 × 240 screen; the event carries them as SDL
        // reports them for the renderer's logical size.
        SDL_Event event{};
        event.type = SDL_MOUSEBUTTONDOWN;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = x;
        event.button.y = y;
        sysVirtualQueueEvent(at, event);
        at += gapMs;
    }
    void quit(uint32_t gapMs = 200) {
        SDL_Event event{};
        event.type = SDL_QUIT;
        sysVirtualQueueEvent(at, event);
        at += gapMs;
    }
    void jump() { press(SDL_SCANCODE_SPACE); }
    void start() { press(SDL_SCANCODE_RETURN); }
};

class StageTest : public ::testing::Test {
  protected:
    static std::string &folder() {
        static std::string path;
        return path;
    }

    // The real start-up in a folder of the suite's own, whose data/ is the run folder's.
    static void SetUpTestSuite() {
        char path[] = "/tmp/mirabo-stage-XXXXXX";
        ASSERT_NE(mkdtemp(path), nullptr);
        folder() = path;
        ASSERT_EQ(symlink(MIRABO_RUN_DIR "/data", (folder() + "/data").c_str()), 0);
        ASSERT_EQ(chdir(folder().c_str()), 0);
        SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0"); // the virtual clock paces the frames
        getConfigFolder();
        fs = 0;
        ScalingMethod = 1;
        bpp = 16;
        startUp();
        SDL_SetWindowSize(sdl2->window, SCREEN_WIDTH, SCREEN_HEIGHT); // no scaling to pay for
        initStuff();
        gameLevels() = {levelsData, levelCount};
        sfxListener = [](int index) { playedSounds().push_back({index, sysTicks()}); };
    }

    static void TearDownTestSuite() {
        sfxListener = nullptr;
        exitGame();
        std::string cleanup = "rm -rf '" + folder() + "'";
        EXPECT_EQ(system(cleanup.c_str()), 0);
    }

    // Every test starts a fresh game's world: no saved game, a hiscore table of zeros, no input.
    void SetUp() override {
        ASSERT_EQ(chdir(folder().c_str()), 0);
        unlink("savegame.dat");
        unlink("hiscores.dat");
        srand(1);
        sysVirtualReset(1000);
        playedSounds().clear();
        lastKey = lastKeyTyped = 0;
        mouseX = mouseY = -1;
        done = escape = paused = 0;
        workflow = 0;
        hsRank = -1;
        curMusic = 0;
        saved = 0;
        hiscoresAt(0);
    }

    // The level file read at start-up comes back after a test that played its own.
    void TearDown() override {
        levelsData = gameLevels().first;
        levels = levelsData + 1;
        levelCount = gameLevels().second;
    }

    static std::pair<uint8_t *, int32_t> &gameLevels() {
        static std::pair<uint8_t *, int32_t> loaded;
        return loaded;
    }

    // The level set the game plays, in place of the file read at start-up.
    void useLevels(const std::vector<Record> &records) {
        levelBytes = levelFile(records);
        levelsData = levelBytes.data();
        levels = levelBytes.data() + 1;
        levelCount = int32_t(records.size());
    }

    static void hiscoresAt(int32_t value) {
        for (HiscoreEntry &entry : hiscores) {
            entry = HiscoreEntry{};
            strcpy(entry.name, "NOBODY");
            entry.kind = HISCORE_DEFAULT;
            entry.score = value;
        }
    }

    static int sounds(int index) {
        int count = 0;
        for (const PlayedSound &played : playedSounds())
            count += played.index == index;
        return count;
    }

    static std::vector<uint32_t> soundTimes(int index) {
        std::vector<uint32_t> times;
        for (const PlayedSound &played : playedSounds())
            if (played.index == index)
                times.push_back(played.at);
        return times;
    }

    std::vector<uint8_t> levelBytes;
};
