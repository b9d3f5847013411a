// The level tool's stages: start board, target and solution, in the text form and in the level file.
#pragma once

#include "main/defines.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Board = std::array<uint8_t, BOARD_CELLS>; // cell (c, r) at c + 8r, fruit values 0 to 5

struct Pick {
    int column, row;
};

struct Stage {
    Board start{}, target{};
    std::vector<Pick> solution;
    std::vector<std::string> comments; // the text form's '#' lines, without the '#'; not in the level file
};

inline int cellAt(int column, int row) { return column + BOARD_COLUMNS * row; }

// The text form: '#' comment lines, ten rows of "board target" (8 cells each, '.' empty, 1 to 5 a
// fruit), then "solution" and the picks as column,row pairs. Blank lines are ignored. A failure
// leaves a message "NAME:LINE: what is wrong" in error.
bool parseStage(const std::string &text, const std::string &name, Stage &stage, std::string &error);
std::string formatStage(const Stage &stage);
bool readStageFile(const std::string &path, Stage &stage, std::string &error);
bool writeTextFile(const std::string &path, const std::string &text);

// The stage files stage-NNN.txt of a folder, numbered 1 to N without a gap.
bool readStageFolder(const std::string &dir, std::vector<Stage> &stages, std::string &error);
std::string stageFileName(int number); // stage-001.txt for stage 1

// The level file: a count byte and 288-byte records, scrambled. readLevelFile descrambles only;
// the record count and size are for the caller to judge.
bool readLevelFile(const std::string &path, std::vector<uint8_t> &plain, std::string &error);
bool writeLevelFile(const std::string &path, const std::vector<Stage> &stages, std::string &error);
void stageToRecord(const Stage &stage, uint8_t *record); // fills LEVEL_RECORD_SIZE bytes
Stage recordToStage(const uint8_t *record);

bool isGravityStable(const Board &board); // no fruit above an empty cell
int fruitCount(const Board &board);
