// The saved game: the stage to continue from, in "savegame.dat", disguised so that an edit shows.
#include "main/savegame.h"

#include "data/config.h"
#include "data/fileio.h"
#include "main/level.h"

#include <cstdio>
#include <cstdlib>

int32_t saved;

constexpr int SAVE_SIZE = 4;

static void applyMask(uint8_t bytes[SAVE_SIZE]) {
    for (int k = 0; k < SAVE_SIZE; k++)
        bytes[k] ^= uint8_t(SAVEGAME_MASK >> (8 * k));
}

// A random value that is neither 0 nor 0xFFFF, which the reader rejects.
static uint32_t drawNoise() {
    for (int tries = 0; tries < 10; tries++) {
        uint32_t noise = uint32_t(rand()) & 0xFFFF;
        if (noise != 0 && noise != 0xFFFF)
            return noise;
    }
    return 0xCAFE;
}

// Called by the stage loop after every won stage that is not the last one.
void saveGame(int stage) {
    uint32_t noise = drawNoise();
    uint8_t high = uint8_t(noise >> 8), low = uint8_t(noise), level = uint8_t(stage);
    uint8_t bytes[SAVE_SIZE] = {high, uint8_t(low ^ level), low, uint8_t(high ^ level)};
    applyMask(bytes);
    configSavePlayerFile(PLAYER_SAVEGAME, bytes, sizeof bytes);
    saved = stage;
}

// Called by the main menu when it starts: the stage to continue from, 0 for none.
int loadGame() {
    FILE *file = fileOpenRegular(configPlayerPath(PLAYER_SAVEGAME));
    if (!file)
        return 0;
    uint8_t bytes[SAVE_SIZE];
    size_t got = fread(bytes, 1, SAVE_SIZE, file);
    fclose(file);
    if (got != SAVE_SIZE)
        return 0;
    applyMask(bytes);
    uint32_t noise = uint32_t(bytes[0]) << 8 | bytes[2];
    if (noise == 0 || noise == 0xFFFF)
        return 0;
    int level = bytes[1] ^ bytes[2];
    if (level != (bytes[3] ^ bytes[0]) || level == 0 || level >= levelSet.levelCount)
        return 0;
    return level;
}
