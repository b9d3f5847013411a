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
#include "zka_writer.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

using Pick = std::pair<int, int>; // column, row
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

// The sound effects the game asked for, with the clock at that moment.
struct PlayedSound {
    int index;
    uint32_t at;
};
inline std::vector<PlayedSound> &playedSounds() {
    static std::vector<PlayedSound> sounds;
    return sounds;
}
// Called with every effect as it is asked for: a window into the game while it runs.
inline std::function<void(int)> &soundProbe() {
    static std::function<void(int)> probe;
    return probe;
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

// Stand-ins for assets the run folder does not hold (yet): plain images written as loose BMPs, which
// override the archive, and silent effects packed into the folder's own sound archive.
struct PlaceholderImage {
    const char *name;
    int w, h;
};
static const PlaceholderImage placeholderImages[] = {
    {"font", 128, 48},        {"fontbig", 256, 96},     {"fruitanim", 128, 144},  {"fruitanim2", 128, 144},
    {"lionanim", 224, 224},   {"totem", 160, 144},      {"sunanim", 192, 64},     {"options_vert", 32, 160},
    {"birds", 80, 48},        {"birds2", 80, 48},       {"flowers", 112, 16},     {"flowers2", 112, 16},
    {"butterfly", 32, 16},    {"logo", 160, 64},        {"timebar", 208, 24},     {"timebar2", 176, 8},
    {"gameover", 160, 48},    {"kitty", 16, 8},         {"pause", 128, 32},       {"ingamebkg1", 320, 240},
    {"ingamebkg2", 320, 240}, {"ingamebkg3", 320, 240}, {"ingamebkg4", 320, 240}, {"titbkgl0", 320, 240},
    {"titbkgl1", 320, 120},   {"titbkgl2", 320, 60},    {"hippo", 128, 64},       {"creditsend", 320, 240},
};

inline void writePlaceholderImage(const PlaceholderImage &image, int shade) {
    SDL_Surface *surface = SDL_CreateRGBSurfaceWithFormat(0, image.w, image.h, 24, SDL_PIXELFORMAT_RGB24);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, uint8_t(shade), 96, uint8_t(255 - shade)));
    SDL_Rect inner{1, 1, image.w - 2, image.h - 2};
    SDL_FillRect(surface, &inner, SDL_MapRGB(surface->format, 40, uint8_t(shade), 80));
    SDL_SaveBMP(surface, (std::string(image.name) + ".bmp").c_str());
    SDL_FreeSurface(surface);
}

inline std::vector<uint8_t> silentWav() {
    const uint32_t samples = 64, bytes = samples * 2;
    std::vector<uint8_t> wav(44 + bytes, 0);
    auto put32 = [&wav](size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++)
            wav[at + i] = uint8_t(v >> (8 * i));
    };
    memcpy(&wav[0], "RIFF", 4);
    put32(4, 36 + bytes);
    memcpy(&wav[8], "WAVEfmt ", 8);
    put32(16, 16);
    wav[20] = 1; // PCM
    wav[22] = 1; // mono
    put32(24, 22050);
    put32(28, 22050 * 2);
    wav[32] = 2;
    wav[34] = 16;
    memcpy(&wav[36], "data", 4);
    put32(40, bytes);
    return wav;
}

// The suite's working folder: data/ links the run folder's archives, and whatever is missing gets a
// stand-in. Returns the folder's path.
inline std::string prepareAssetFolder() {
    char path[] = "/tmp/mirabo-stage-XXXXXX";
    if (!mkdtemp(path))
        return "";
    std::string folder = path;
    std::string data = folder + "/data";
    mkdir(data.c_str(), 0755);
    // No music: the fades run on the audio thread's real time, which a virtual clock outruns.
    for (const char *archive : {"gfx", "sound"}) {
        std::string real = std::string(MIRABO_RUN_DIR) + "/data/" + archive + ".zka";
        if (access(real.c_str(), R_OK) == 0)
            symlink(real.c_str(), (data + "/" + archive + ".zka").c_str());
    }
    if (chdir(folder.c_str()) != 0)
        return "";
    openArchives();
    int shade = 0;
    for (const PlaceholderImage &image : placeholderImages) {
        uint32_t size = 0;
        uint8_t *member = loadZKAFile(ZKA_GFX, image.name, "bmp", &size);
        if (member)
            free(member);
        else
            writePlaceholderImage(image, shade += 9);
    }
    uint32_t size = 0;
    uint8_t *effect = loadZKAFile(ZKA_SOUND, snd_name[0], "wav", &size);
    if (effect) {
        free(effect);
    } else {
        std::vector<ZkaMember> members;
        for (const char *name : snd_name)
            members.push_back({std::string(name) + ".wav", silentWav()});
        std::vector<uint8_t> archive = makeZka(members);
        closeArchives();
        unlink((data + "/sound.zka").c_str());
        FILE *file = fopen((data + "/sound.zka").c_str(), "wb");
        fwrite(archive.data(), 1, archive.size(), file);
        fclose(file);
        openArchives();
    }
    return folder;
}

class StageTest : public ::testing::Test {
  protected:
    static std::string &folder() {
        static std::string path;
        return path;
    }

    static void SetUpTestSuite() {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO), 0) << SDL_GetError();
        // Presenting waits for no display: the virtual clock paces the frames.
        SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
        fs = 0;
        ScalingMethod = 1;
        bpp = 16;
        screen = gfxSetVideoMode();
        ASSERT_NE(screen, nullptr);
        SDL_SetWindowSize(sdl2->window, SCREEN_WIDTH, SCREEN_HEIGHT); // no scaling to pay for
        gfxInitColors();
        gfxPrepareBlackScreen();
        prepareScrollBack();
        ASSERT_NE(MP_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), -1);
        Mix_AllocateChannels(16);
        folder() = prepareAssetFolder();
        ASSERT_FALSE(folder().empty());
        getConfigFolder();
        loadSpriteFont();
        loadSharedImages();
        resetDefaultControls();
        initStuff();
        sfxListener = [](int index) {
            playedSounds().push_back({index, sysTicks()});
            if (soundProbe())
                soundProbe()(index);
        };
    }

    static void TearDownTestSuite() {
        sfxListener = nullptr;
        closeArchives();
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
        soundProbe() = nullptr;
        lastKey = lastKeyTyped = 0;
        mouseX = mouseY = -1;
        done = escape = paused = 0;
        workflow = 0;
        hsRank = -1;
        curMusic = 0;
        saved = 0;
        hiscoresAt(0);
    }

    void TearDown() override {
        levelsData = nullptr;
        levels = nullptr;
        levelCount = 0;
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

    std::vector<uint8_t> levelFile;
};
