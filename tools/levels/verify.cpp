// Checks of a level file: its size, every stage's boards, and every stored solution replayed
// through the game's rules tick by tick from the stage's set-up, under several rand() seeds since
// the rules draw their delays from it.
#include "verify.h"

#include "main/level.h"
#include "main/rules.h"
#include "play.h"

#include <cstdlib>

static const unsigned verifySeeds[] = {1, 2, 3, 1000, 65535};

static std::string pickText(const Pick &pick) {
    return "(" + std::to_string(pick.column) + "," + std::to_string(pick.row) + ")";
}

// Replays a stage's solution as the stage loop and auto-resolve do, from the game's own stage set-up
// of a one-record level set; an empty result when it ends on the target and never before.
static std::string replayFailure(const uint8_t *record, const Stage &stage, unsigned seed) {
    srand(seed);
    levelSet.levels = record;
    levelSet.levelCount = 1;
    puzzle.currentBonus = 0;
    clearQueues();
    queues.curAction = 0;
    loadLevel(0);
    std::string during = " (rand seed " + std::to_string(seed) + ")";
    if (puzzle.currentMoves != int(stage.solution.size()))
        return "the game reads " + std::to_string(puzzle.currentMoves) + " picks where the solution has " +
               std::to_string(stage.solution.size());
    for (size_t j = 0; j < stage.solution.size(); j++) {
        const Pick &pick = stage.solution[j];
        std::string which = "pick " + std::to_string(j + 1) + " " + pickText(pick);
        if (puzzle.currentLevel[cellAt(pick.column, pick.row)] == 0)
            return which + " lands on an empty cell" + during;
        int steps = playPick(pick);
        if (steps < 0)
            return which + " leaves a board that never comes to rest" + during;
        if (puzzle.currentCount != fruitCount(boardNow()))
            return which + " leaves " + std::to_string(fruitCount(boardNow())) + " fruits where " +
                   std::to_string(puzzle.currentCount) + " are counted" + during;
        if (haveMadeit() && j + 1 < stage.solution.size())
            return "the target is reached after " + std::to_string(j + 1) + " of " +
                   std::to_string(stage.solution.size()) + " picks" + during;
    }
    if (!haveMadeit())
        return "the solution ends on a board other than the target" + during;
    return "";
}

std::string stageFailure(const Stage &stage) {
    for (int i = 0; i < BOARD_CELLS; i++) {
        if (stage.start[i] > 5 || stage.target[i] > 5)
            return "a cell holds a value above 5";
    }
    if (!isGravityStable(stage.start))
        return "the start board has a fruit above an empty cell";
    if (stage.start == stage.target)
        return "the target equals the start board";
    if (stage.solution.empty())
        return "it has no solution";
    for (size_t j = 0; j < stage.solution.size(); j++) {
        const Pick &pick = stage.solution[j];
        if (pick.column >= BOARD_COLUMNS || pick.row >= BOARD_ROWS)
            return "pick " + std::to_string(j + 1) + " " + pickText(pick) + " is off the board";
    }
    uint8_t record[LEVEL_RECORD_SIZE];
    stageToRecord(stage, record);
    std::string failure;
    for (unsigned seed : verifySeeds) {
        failure = replayFailure(record, stage, seed);
        if (!failure.empty())
            break;
    }
    clearQueues();
    puzzle.currentSource = nullptr;
    levelSet.levels = nullptr;
    levelSet.levelCount = 0;
    return failure;
}

std::vector<std::string> verifyLevelFile(const std::string &path) {
    std::vector<uint8_t> plain;
    std::string error;
    if (!readLevelFile(path, plain, error))
        return {error};
    if (plain.empty())
        return {path + ": the file is empty"};
    size_t count = plain[0];
    size_t expected = 1 + LEVEL_RECORD_SIZE * count;
    if (count == 0 || plain.size() != expected)
        return {path + ": " + std::to_string(plain.size()) + " bytes for " + std::to_string(count) +
                " stages, which take " + std::to_string(expected) +
                " bytes (1 + 288 per stage, at least one)"};
    std::vector<std::string> failures;
    std::vector<Stage> earlier;
    for (size_t k = 0; k < count; k++) {
        Stage stage = recordToStage(plain.data() + 1 + LEVEL_RECORD_SIZE * k);
        std::string failure = stageFailure(stage);
        for (size_t j = 0; j < earlier.size() && failure.empty(); j++) {
            if (earlier[j].start == stage.start && earlier[j].target == stage.target)
                failure = "it repeats stage " + std::to_string(j + 1);
        }
        if (!failure.empty())
            failures.push_back(path + ": stage " + std::to_string(k + 1) + ": " + failure);
        earlier.push_back(stage);
    }
    return failures;
}
