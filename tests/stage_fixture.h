// The stage's screens run one by one by the screen runner: the real start-up with SDL's dummy drivers
// and the run folder's assets, a level set built by the test, input scripted by tick on the virtual
// clock, and a temporary working folder that takes the saved game and the hiscore file.
#pragma once

#include "data/config.h"
#include "data/hiscores.h"
#include "gfx/gfx_sdl2.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys_virtual.h"
#include "main/game.h"
#include "main/level.h"
#include "main/menu.h"
#include "main/rules.h"
#include "main/runner.h"
#include "main/savegame.h"
#include "main/sheets.h"
#include "main/startup.h"
#include "script.h"
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

// The sound effects the game asked for, with the clock and the frames presented at that moment.
struct PlayedSound {
    int index;
    uint32_t at;
    int frame;
};
inline std::vector<PlayedSound> &playedSounds() {
    static std::vector<PlayedSound> sounds;
    return sounds;
}

inline int &presentedFrames() {
    static int frames;
    return frames;
}

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
        gameLevels() = {levelSet.levelsData, levelSet.levelCount};
        sfxListener = [](int index) { playedSounds().push_back({index, sysTicks(), presentedFrames()}); };
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
        sysVirtualSetPresentObserver([] { presentedFrames()++; });
        presentedFrames() = 0;
        playedSounds().clear();
        input.lastKey = input.lastKeyTyped = 0;
        input.mouseX = input.mouseY = -1;
        input.done = play.escape = play.paused = 0;
        play = StagePlay{};
        workflow = 0;
        play.hsRank = -1;
        curMusic = 0;
        saved = 0;
        hiscoresAt(0);
    }

    // The level file read at start-up comes back after a test that played its own.
    void TearDown() override {
        levelSet.levelsData = gameLevels().first;
        levelSet.levels = levelSet.levelsData + 1;
        levelSet.levelCount = gameLevels().second;
    }

    static std::pair<uint8_t *, int32_t> &gameLevels() {
        static std::pair<uint8_t *, int32_t> loaded;
        return loaded;
    }

    // The level set the game plays, in place of the file read at start-up.
    void playLevels(const std::vector<Record> &records) {
        levelBytes = levelFile(records);
        ::useLevels(levelBytes.data(), levelBytes.size());
    }

    // The screen runs with the script's input until it leaves.
    void runScreen(const Screen &screen) {
        script.start();
        screenPush(screen);
        screenRun();
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
    InputScript script;
};
