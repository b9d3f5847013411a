// A headless game for the stage tests: SDL's dummy drivers, the real assets of the run folder, a
// level set built by the test, scripted controls on the virtual clock, and a temporary working
// folder that takes the saved game and the hiscore file.
#pragma once

#include "data/config.h"
#include "data/hiscores.h"
#include "data/winzka.h"
#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys.h"
#include "main/bganims.h"
#include "main/credits.h"
#include "main/game.h"
#include "main/level.h"
#include "main/rules.h"
#include "main/savegame.h"
#include "main/sheets.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

using Pick = std::pair<int, int>;  // column, row
using Board = std::array<int32_t, BOARD_CELLS>;

inline Board filledBoard(int value) {
    Board board;
    board.fill(value);
    return board;
}

// Ten picks whose neighbourhoods do not overlap: on an all-5 board no fruit vanishes, so nothing
// falls and the result does not depend on the order in which morphs end.
inline std::vector<Pick> tenSpreadPicks() {
    return {{0, 0}, {3, 0}, {6, 0}, {1, 3}, {4, 3}, {7, 3}, {0, 6}, {3, 6}, {6, 6}, {2, 9}};
}

// Plays the picks on the board with the game's own rules, each on a settled board.
inline Board playPicks(const Board &start, const std::vector<Pick> &picks) {
    clearQueues();
    curAction = 0;
    currentLevel = start;
    for (const Pick &pick : picks) {
        actionX = pick.first;
        actionY = pick.second;
        doSwitch();
        while (curTrans > 0 || curMove > 0)
            curTrans > 0 ? doTrans() : doMove();
    }
    Board result = currentLevel;
    clearQueues();
    return result;
}

// A level record whose target is what the solution makes of the start board.
inline std::vector<uint8_t> makeRecord(const Board &start, const std::vector<Pick> &solution,
                                       const Board *target = nullptr) {
    Board end = target ? *target : playPicks(start, solution);
    std::vector<uint8_t> record(LEVEL_RECORD_SIZE, SOLUTION_END);
    for (int r = 0; r < BOARD_ROWS; r++)
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            record[16 * r + c] = uint8_t(start[c + 8 * r]);
            record[16 * r + 8 + c] = uint8_t(end[c + 8 * r]);
        }
    for (size_t j = 0; j < solution.size(); j++) {
        record[LEVEL_SOLUTION_OFFSET + 2 * j] = uint8_t(solution[j].first);
        record[LEVEL_SOLUTION_OFFSET + 2 * j + 1] = uint8_t(solution[j].second);
    }
    return record;
}

inline std::vector<int> &playedSounds() {
    static std::vector<int> sounds;
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
    // Walks the cursor from (x, y) to the cell and picks it, then lets the board settle.
    void pick(int &x, int &y, Pick cell, uint32_t settleMs = 2500) {
        for (; x < cell.first; x++)
            press(SDL_SCANCODE_RIGHT, 20, 40);
        for (; x > cell.first; x--)
            press(SDL_SCANCODE_LEFT, 20, 40);
        for (; y < cell.second; y++)
            press(SDL_SCANCODE_DOWN, 20, 40);
        for (; y > cell.second; y--)
            press(SDL_SCANCODE_UP, 20, 40);
        jump();
        wait(settleMs);
    }
    // Opens the pause menu, moves the selection down, and chooses.
    void pauseAndChoose(int downs) {
        start();
        for (int i = 0; i < downs; i++)
            press(SDL_SCANCODE_DOWN);
        jump();
    }
};

class StageTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO), 0) << SDL_GetError();
        // The real assets of the run folder, read before the tests move to their own folder.
        ASSERT_EQ(chdir(MIRABO_RUN_DIR), 0);
        getConfigFolder();
        fs = 0;
        ScalingMethod = 1;
        bpp = 16;
        screen = gfxSetVideoMode();
        ASSERT_NE(screen, nullptr);
        gfxInitColors();
        gfxPrepareBlackScreen();
        prepareScrollBack();
        ASSERT_NE(MP_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), -1);
        Mix_AllocateChannels(16);
        openArchives();
        loadSpriteFont();
        loadSharedImages();
        resetDefaultControls();
        initStuff();
        sfxListener = [](int index) { playedSounds().push_back(index); };
    }

    void SetUp() override {
        char path[] = "/tmp/mirabo-stage-XXXXXX";
        ASSERT_NE(mkdtemp(path), nullptr);
        folder = path;
        ASSERT_EQ(chdir(folder.c_str()), 0);
        srand(1);
        sysVirtualReset(1000);
        playedSounds().clear();
        lastKey = lastKeyTyped = 0;
        mouseX = mouseY = -1;
        done = escape = paused = 0;
        workflow = 0;
        hsRank = -1;
        curMusic = 0;
        hiscoresAt(0);
    }

    void TearDown() override {
        ASSERT_EQ(chdir(MIRABO_RUN_DIR), 0);
        std::string cleanup = "rm -rf '" + folder + "'";
        EXPECT_EQ(system(cleanup.c_str()), 0);
    }

    // The level set the game plays, in place of the file read at start-up.
    void useLevels(const std::vector<std::vector<uint8_t>> &records) {
        levelFile.assign(1, uint8_t(records.size()));
        for (const auto &record : records)
            levelFile.insert(levelFile.end(), record.begin(), record.end());
        levelsData = levelFile.data();
        levels = levelFile.data() + 1;
        levelCount = int32_t(records.size());
    }

    void hiscoresAt(int32_t value) {
        for (HiscoreEntry &entry : hiscores) {
            entry = HiscoreEntry{};
            strcpy(entry.name, "NOBODY");
            entry.kind = HISCORE_DEFAULT;
            entry.score = value;
        }
    }

    static int sounds(int index) {
        int count = 0;
        for (int played : playedSounds())
            count += played == index;
        return count;
    }

    std::vector<uint8_t> levelFile;
    std::string folder;
};
