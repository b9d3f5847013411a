// The puzzle's data: the board, the level records and their scrambling, the stage's set-up.
#include "main/level.h"

#include <algorithm>
#include <cstring>

Puzzle puzzle;
LevelSet levelSet;

// The level file's keys; a plain byte is mixed with both, its position and the plain byte before it.
static const uint8_t key0[8] = {0x3D, 0x71, 0xA4, 0x0E, 0x9B, 0x52, 0xC6, 0x18};
static const uint8_t key1[5] = {0x47, 0x93, 0x0B, 0xE5, 0x6C};
constexpr uint8_t FIRST_BYTE_KEY = 0x5B;
constexpr uint8_t MAX_FRUIT = 5;
constexpr int CURSOR_START_X = 4, CURSOR_START_Y = 5;

static uint8_t positionKey(size_t i) { return key1[i % 5] ^ key0[i % 8] ^ uint8_t(i % 256); }

int solutionLength(const uint8_t *record) {
    if (!record)
        return 0;
    int n = 0;
    while (n < LEVEL_MAX_SOLUTION && record[LEVEL_SOLUTION_OFFSET + 2 * n] != SOLUTION_END)
        n++;
    return n;
}

// The level file is read before the first frame: the keys, which repeat every 40 bytes, come from a
// table rather than two divisions a byte.
void descrambleLevels(uint8_t *data, size_t size) {
    if (size == 0)
        return;
    constexpr size_t PERIOD = 40;
    uint8_t keys[PERIOD];
    for (size_t k = 0; k < PERIOD; k++)
        keys[k] = key1[k % 5] ^ key0[k % 8];
    data[0] ^= FIRST_BYTE_KEY;
    for (size_t start = 0; start < size; start += PERIOD) {
        const size_t end = std::min(size, start + PERIOD);
        for (size_t i = std::max<size_t>(start, 1); i < end; i++)
            data[i] ^= keys[i - start] ^ uint8_t(i) ^ data[i - 1];
    }
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

// Only complete records count, whatever the count byte claims, so no stage can read past the buffer.
int32_t useLevels(uint8_t *data, size_t size) {
    const int32_t complete = size > 0 ? int32_t((size - 1) / LEVEL_RECORD_SIZE) : 0;
    const int32_t count = size > 0 ? std::min<int32_t>(data[0], complete) : 0;
    levelSet.levelsData = data;
    levelSet.levels = data ? data + 1 : nullptr;
    levelSet.levelCount = count;
    for (int32_t k = 0; k < count; k++)
        sanitizeRecord(data + 1 + size_t(k) * LEVEL_RECORD_SIZE, true);
    return count;
}

void useTestLevel(const uint8_t *data) {
    memcpy(levelSet.testLevel.data(), data, LEVEL_SOLUTION_OFFSET);
    sanitizeRecord(levelSet.testLevel.data(), false);
}

Cells startBoard(const uint8_t *record) {
    Cells cells{};
    for (int r = 0; r < BOARD_ROWS; r++)
        for (int c = 0; c < BOARD_COLUMNS; c++)
            cells[c + BOARD_COLUMNS * r] = startValue(record, c, r);
    return cells;
}

void setBoard(const Cells &cells) {
    puzzle.currentLevel = cells;
    puzzle.currentCount =
        int32_t(std::count_if(cells.begin(), cells.end(), [](int32_t value) { return value != 0; }));
}

// Called by the stage start, and by the level tool's replay. Without any level the test board is used.
void loadLevel(int stage) {
    if (stage >= 0 && levelSet.levelCount > 0) {
        puzzle.currentSource =
            levelSet.levels + size_t(std::min(stage, levelSet.levelCount - 1)) * LEVEL_RECORD_SIZE;
        puzzle.currentSol = puzzle.currentSource + LEVEL_SOLUTION_OFFSET;
        puzzle.currentMoves = solutionLength(puzzle.currentSource) + puzzle.currentBonus;
    } else {
        puzzle.currentSource = levelSet.testLevel.data();
        puzzle.currentSol = nullptr;
        puzzle.currentMoves = TEST_LEVEL_MOVES;
    }
    setBoard(startBoard(puzzle.currentSource));
    puzzle.cursorA = 0;
    puzzle.cursorX = CURSOR_START_X;
    puzzle.cursorY = CURSOR_START_Y;
}
