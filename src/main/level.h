// The puzzle's data: the board, the level records and their scrambling, the stage's set-up.
// Reading the level files is levelfile's job; this module links without any file or platform code.
#pragma once

#include "main/defines.h"

#include <array>
#include <cstddef>
#include <cstdint>

constexpr int LEVEL_RECORD_SIZE = 288; // 10 rows of 8 start + 8 target values, then 64 (column, row) picks
constexpr int LEVEL_SOLUTION_OFFSET = 160;
constexpr int LEVEL_MAX_SOLUTION = 64;
constexpr int TEST_LEVEL_MOVES = 64; // the test stage has no solution to measure its limit by
constexpr uint8_t SOLUTION_END = 255;

using Cells = std::array<int32_t, BOARD_CELLS>; // cell (c, r) at c + 8r

// The puzzle of the stage in play: its board, its record and the cursor.
struct Puzzle {
    Cells currentLevel;           // the board's fruit values 0 to 5
    int32_t currentCount;         // fruits on the board, falling ones included
    const uint8_t *currentSource; // the level record being played: start board and target
    const uint8_t *currentSol;    // its solution, nullptr for the test stage
    int32_t currentMoves;         // the move limit: the solution's length plus currentBonus
    int32_t currentBonus;         // 1 to 5 extra moves, chosen by the game for the next set-up
    int32_t cursorX, cursorY;     // the cursor's cell
    int32_t cursorA;              // drives the cursor's animation
};
extern Puzzle puzzle;

// The level set in memory, descrambled: a count byte, then complete records only.
struct LevelSet {
    uint8_t *levelsData;
    int32_t levelCount;
    const uint8_t *levels;                            // the first record
    std::array<uint8_t, LEVEL_RECORD_SIZE> testLevel; // the test stage: start board and target
};
extern LevelSet levelSet;

inline int startValue(const uint8_t *record, int c, int r) { return record[16 * r + c]; }
inline int targetValue(const uint8_t *record, int c, int r) { return record[16 * r + 8 + c]; }

// Number of picks before the first end marker, at most 64.
int solutionLength(const uint8_t *record);

void descrambleLevels(uint8_t *data, size_t size);
void scrambleLevels(uint8_t *data, size_t size); // the level tool's inverse

// Takes a descrambled level file of size bytes (count byte first) as the level set: its complete
// records, made safe to play. Returns the number of stages, 0 when it holds no complete record.
int32_t useLevels(uint8_t *data, size_t size);
// Takes the 160 bytes of a test stage (start board and target, no solution).
void useTestLevel(const uint8_t *data);

Cells startBoard(const uint8_t *record);
// The board becomes cells, with the fruit count to match. Every rebuild of the board goes through
// here: a stage's set-up, the undo, the solver's fresh start and the level tool.
void setBoard(const Cells &cells);

// The board, record, move limit and cursor of a stage: a 0-based index into the level set (past
// the last stage: the last one), or the test stage when negative.
void loadLevel(int stage);
