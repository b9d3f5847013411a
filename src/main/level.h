// The puzzle's data: board, target, level file "levels.bin", test level "test.bin", stage set-up.
#pragma once

#include "main/defines.h"

#include <array>
#include <cstddef>
#include <cstdint>

constexpr int LEVEL_RECORD_SIZE = 288; // 10 rows of 8 start + 8 target values, then 64 (column, row) picks
constexpr int LEVEL_SOLUTION_OFFSET = 160;
constexpr int LEVEL_MAX_SOLUTION = 64;
constexpr uint8_t SOLUTION_END = 255;

extern std::array<int32_t, BOARD_CELLS> currentLevel; // cell (c, r) at c + 8r
extern const uint8_t *currentSource;                  // the level record being played
extern const uint8_t *currentSol;                     // its solution, nullptr for the test stage
extern int32_t currentMoves;
extern int32_t currentBonus;
extern int32_t currentCount;
extern std::array<uint8_t, BOARD_CELLS> currentTrans;       // 0, or 1 + index into animTrans
extern std::array<uint8_t, 2 * BOARD_CELLS> currentShining; // row r: 16r + c board, 16r + 8 + c target
extern int32_t cursorX, cursorY, cursorA;

extern uint8_t *levelsData; // the whole descrambled level file
extern int32_t levelCount;  // complete records only
extern const uint8_t *levels;
extern std::array<uint8_t, LEVEL_RECORD_SIZE> testLevel;

inline int startValue(const uint8_t *record, int c, int r) { return record[16 * r + c]; }
inline int targetValue(const uint8_t *record, int c, int r) { return record[16 * r + 8 + c]; }

// Number of picks before the first end marker, at most 64.
int solutionLength(const uint8_t *record);

void descrambleLevels(uint8_t *data, size_t size);
void scrambleLevels(uint8_t *data, size_t size); // the level tool's inverse

void loadLevels();         // fatal error when levels.bin of the data folder holds no complete record
void freeLevels();         // at shutdown
void loadLevel(int stage); // stage < 0: the test stage from "test.bin" in the player's folder
