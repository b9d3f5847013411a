// The puzzle's data: the level file and its scrambling, the test level, and the set-up of a stage.
#include "main/level.h"

#include "data/config.h"
#include "data/fileio.h"
#include "data/paths.h"
#include "gfx/debug.h"
#include "main/bganims.h"
#include "main/rules.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

std::array<int32_t, BOARD_CELLS> currentLevel;
const uint8_t *currentSource;
const uint8_t *currentSol;
int32_t currentMoves;
int32_t currentBonus;
int32_t currentCount;
std::array<uint8_t, BOARD_CELLS> currentTrans;
std::array<uint8_t, 2 * BOARD_CELLS> currentShining;
int32_t cursorX, cursorY, cursorA;

uint8_t *levelsData;
int32_t levelCount;
const uint8_t *levels;
std::array<uint8_t, LEVEL_RECORD_SIZE> testLevel;

constexpr int TEST_LEVEL_SIZE = LEVEL_SOLUTION_OFFSET; // start board and target, no solution
constexpr int TEST_LEVEL_MOVES = 64;

// The level file's keys; a plain byte is mixed with both, its position and the plain byte before it.
static const uint8_t key0[8] = {0x3D, 0x71, 0xA4, 0x0E, 0x9B, 0x52, 0xC6, 0x18};
static const uint8_t key1[5] = {0x47, 0x93, 0x0B, 0xE5, 0x6C};
constexpr uint8_t FIRST_BYTE_KEY = 0x5B;
constexpr uint8_t MAX_FRUIT = 5;

static uint8_t positionKey(size_t i) { return key1[i % 5] ^ key0[i % 8] ^ uint8_t(i % 256); }

int solutionLength(const uint8_t *record) {
    if (!record)
        return 0;
    int n = 0;
    while (n < LEVEL_MAX_SOLUTION && record[LEVEL_SOLUTION_OFFSET + 2 * n] != SOLUTION_END)
        n++;
    return n;
}

void descrambleLevels(uint8_t *data, size_t size) {
    if (size == 0)
        return;
    data[0] ^= FIRST_BYTE_KEY;
    for (size_t i = 1; i < size; i++)
        data[i] ^= positionKey(i) ^ data[i - 1];
}

void scrambleLevels(uint8_t *data, size_t size) {
    if (size == 0)
        return;
    uint8_t plainBefore = data[0];
    data[0] ^= FIRST_BYTE_KEY;
    for (size_t i = 1; i < size; i++) {
        uint8_t plain = data[i];
        data[i] ^= positionKey(i) ^ plainBefore;
        plainBefore = plain;
    }
}

// A damaged record must not hand the drawing a fruit it has no frame for, nor send the solver's
// cursor off the board: values above 5 read as 5 and the solution ends at its first entry off the board.
static void sanitizeRecord(uint8_t *record, bool withSolution) {
    for (int i = 0; i < LEVEL_SOLUTION_OFFSET; i++)
        record[i] = std::min(record[i], MAX_FRUIT);
    if (!withSolution)
        return;
    for (int j = 0; j < LEVEL_MAX_SOLUTION; j++) {
        uint8_t *pick = record + LEVEL_SOLUTION_OFFSET + 2 * j;
        if (pick[0] == SOLUTION_END)
            break;
        if (pick[0] >= BOARD_COLUMNS || pick[1] >= BOARD_ROWS) {
            pick[0] = SOLUTION_END;
            break;
        }
    }
}

// Called once by start-up. Only complete records count, whatever the count byte claims, so no
// stage can read past the buffer; a file without any complete record leaves the game nothing to play.
void loadLevels() {
    freeLevels();

    uint32_t size = 0;
    uint8_t *data = loadBINFile(pathsData("levels.bin"), &size);
    if (!data)
        error("Cannot read the level file", pathsData("levels.bin"));
    descrambleLevels(data, size);
    int32_t complete = int32_t((size - 1) / LEVEL_RECORD_SIZE);
    int32_t count = std::min<int32_t>(data[0], complete);
    if (count < 1) {
        free(data);
        error("No complete level in the level file", pathsData("levels.bin"));
    }
    levelsData = data;
    levelCount = count;
    levels = data + 1;
    for (int32_t k = 0; k < count; k++)
        sanitizeRecord(levelsData + 1 + size_t(k) * LEVEL_RECORD_SIZE, true);
}

void freeLevels() {
    free(levelsData);
    levelsData = nullptr;
    levels = nullptr;
    levelCount = 0;
}

// Keeps the previous test board unless "test.bin" in the player's folder holds exactly one board and
// its target.
static void loadTestLevel() {
    uint32_t size = 0;
    uint8_t *data = loadBINFile(filename(configFolder, "test", "bin"), &size);
    if (data && size == TEST_LEVEL_SIZE) {
        memcpy(testLevel.data(), data, TEST_LEVEL_SIZE);
        sanitizeRecord(testLevel.data(), false);
    }
    free(data);
}

// Called by the stage loop at every stage start and restart. A negative index plays "test.bin";
// an index past the last level plays the last one, and without any level the test board is used.
void loadLevel(int stage) {
    if (stage >= 0 && levelCount > 0) {
        currentSource = levels + size_t(std::min(stage, levelCount - 1)) * LEVEL_RECORD_SIZE;
        currentSol = currentSource + LEVEL_SOLUTION_OFFSET;
        currentMoves = solutionLength(currentSource) + currentBonus;
    } else {
        if (stage < 0)
            loadTestLevel();
        currentSource = testLevel.data();
        currentSol = nullptr;
        currentMoves = TEST_LEVEL_MOVES;
    }

    currentCount = 0;
    for (int r = 0; r < BOARD_ROWS; r++) {
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            int value = startValue(currentSource, c, r);
            currentLevel[c + BOARD_COLUMNS * r] = value;
            if (value != 0)
                currentCount++;
        }
    }

    clearQueues();
    curAction = 0;
    cursorA = 0;
    cursorX = 4;
    cursorY = 5;
    resetDecorations();
}
