// Level records for the stage tests, made with the game's own rules: a board, the picks that solve
// it, and the target those picks leave.
#pragma once

#include "main/level.h"
#include "main/rules.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

using Pick = std::pair<int, int>; // column, row
using Board = std::array<int32_t, BOARD_CELLS>;
using Record = std::vector<uint8_t>;

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
    queues.curAction = 0;
    puzzle.currentLevel = start;
    for (const Pick &pick : picks) {
        queues.actionX = pick.first;
        queues.actionY = pick.second;
        doSwitch();
        while (queues.curTrans > 0 || queues.curMove > 0)
            queues.curTrans > 0 ? doTrans() : doMove();
    }
    Board result = puzzle.currentLevel;
    clearQueues();
    return result;
}

// A level record whose target is what the solution makes of the start board.
inline Record makeRecord(const Board &start, const std::vector<Pick> &solution,
                         const Board *target = nullptr) {
    Board end = target ? *target : playPicks(start, solution);
    Record record(LEVEL_RECORD_SIZE, SOLUTION_END);
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

// Ten all-5 picks on an all-5 board.
inline Record spreadRecord() { return makeRecord(filledBoard(5), tenSpreadPicks()); }

// A single fruit of value 1 in the bottom-left corner, and a target that wants it in the
// bottom-right corner: picking it leaves nothing.
inline Record allGoneRecord() {
    Board start{}, target{};
    start[0 + 8 * 9] = 1;
    target[7 + 8 * 9] = 1;
    return makeRecord(start, {}, &target);
}

// A level file's plain bytes: the count, then the records.
inline std::vector<uint8_t> levelFile(const std::vector<Record> &records) {
    std::vector<uint8_t> file(1, uint8_t(records.size()));
    for (const Record &record : records)
        file.insert(file.end(), record.begin(), record.end());
    return file;
}
