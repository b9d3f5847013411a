// The level set generator. The first stages are drawn by hand and teach one rule each; the rest
// are made along a difficulty curve: a gravity-stable start board of a chosen shape, random picks
// played through the game's rules to give the target, then the solver's shortest solution, tried
// again until its length fits the curve.
#include "generate.h"

#include "play.h"
#include "verify.h"

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

struct TeachingStage {
    const char *title;
    const char *rows[BOARD_ROWS];
    std::vector<Pick> picks;
};

// Each shows one more rule than the one before; their targets come from the rules themselves.
const TeachingStage teachingStages[] = {
    {" A picked fruit morphs two steps down the chain.",
     {"........", "........", "........", "........", "........", "........", "........", "........",
      "........", ".5..5..5"},
     {{4, 9}}},
    {" The fruits left, right, above and below it morph one step.",
     {"........", "........", "........", "........", "........", "........", "........", "........",
      "...4....", "..444..."},
     {{3, 9}}},
    {" A fruit that morphs below the last one vanishes.",
     {"........", "........", "........", "........", "........", "........", "........", "........",
      "........", "3.121.3."},
     {{3, 9}}},
    {" The fruits above a vanished fruit fall down.",
     {"........", "........", "........", "........", "........", "........", "...4....", "...5....",
      "...3....", "..325..."},
     {{3, 9}}},
    {" Two picks: the second one must fit what the first one left.",
     {"........", "........", "........", "........", "........", "........", "........", "........",
      "..4444..", "..5555.."},
     {{2, 9}, {5, 9}}},
    {" Two picks in one tower: fallen fruits are picked where they land.",
     {"........", "........", "........", "........", "........", "..4.....", "..53....", "..35....",
      "..24....", "..53...."},
     {{2, 8}, {2, 9}}},
};

enum Shape { SHAPE_LOW, SHAPE_GAPS, SHAPE_TOWERS, SHAPE_PARTIAL, SHAPE_HIGH, SHAPE_FULL };
const char *const shapeNames[] = {"low rows", "columns with gaps", "towers", "partly empty",
                                  "high",     "full board"};
const int shapeFewestFruits[] = {12, 16, 20, 32, 40, 48}; // what most boards of the shape exceed

struct Plan {
    int minLength, maxLength; // the solution lengths that fit the curve here
    Shape shape;
    int kinds; // how many of the five fruits the board mixes
};

// The difficulty curve: from two picks after the teaching stages up to 12 to 16 in the last twelve,
// with a shorter breather every eighth stage before them, and the longest of all at the very end.
Plan planFor(int number, int count) {
    Plan plan;
    int rest = std::max(1, count - 7);
    int along = std::min(number - 7, rest);
    plan.minLength = 2 + (along * 11 + rest / 2) / rest;
    plan.maxLength = std::min(16, plan.minLength + 2);
    if (number > count - 12) {
        plan.minLength = std::max(plan.minLength, number == count ? 15 : 12);
        plan.maxLength = 16;
    } else if (number % 8 == 0) {
        plan.minLength = std::max(2, plan.minLength - 4);
        plan.maxLength = plan.minLength + 1;
    }
    static const Shape rotation[] = {SHAPE_GAPS, SHAPE_TOWERS, SHAPE_PARTIAL, SHAPE_HIGH, SHAPE_FULL};
    plan.shape = number < 20 ? (number % 2 ? SHAPE_LOW : SHAPE_GAPS) : rotation[number % 5];
    plan.kinds = number < 15 ? 2 : number < 35 ? 3 : number < 60 ? 4 : 5;
    return plan;
}

using Random = std::mt19937;

int below(Random &random, int n) { return int(random() % uint32_t(n)); }

// Column heights of a shape; every board is filled from the bottom, so it starts gravity-stable.
void shapeHeights(Shape shape, Random &random, int *heights) {
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        switch (shape) {
        case SHAPE_LOW:
            heights[c] = 1 + below(random, 3);
            break;
        case SHAPE_GAPS:
            heights[c] = c % 2 == 0 ? 0 : 3 + below(random, 6);
            break;
        case SHAPE_TOWERS:
            heights[c] = below(random, 3) == 0 ? 6 + below(random, 5) : below(random, 2);
            break;
        case SHAPE_PARTIAL:
            heights[c] = below(random, 9);
            break;
        case SHAPE_HIGH:
            heights[c] = 5 + below(random, 6);
            break;
        case SHAPE_FULL:
            heights[c] = BOARD_ROWS;
            break;
        }
    }
    if (shape == SHAPE_GAPS && below(random, 2))
        std::rotate(heights, heights + 1, heights + BOARD_COLUMNS);
}

// Long solutions need fruits to work on, or their targets are an all but empty board.
Board makeBoard(const Plan &plan, Random &random) {
    int fewestFruits = std::min(shapeFewestFruits[plan.shape], 3 * plan.minLength);
    uint8_t kinds[5] = {1, 2, 3, 4, 5};
    std::shuffle(kinds, kinds + 5, random);
    // At least one fruit that survives a pick, or every board would crumble at the first touch.
    std::sort(kinds, kinds + plan.kinds, [](uint8_t a, uint8_t b) { return a > b; });
    if (kinds[0] < 3)
        kinds[0] = uint8_t(3 + below(random, 3));
    int heights[BOARD_COLUMNS];
    Board board{};
    do {
        board.fill(0);
        shapeHeights(plan.shape, random, heights);
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            for (int r = BOARD_ROWS - heights[c]; r < BOARD_ROWS; r++)
                board[cellAt(c, r)] = kinds[below(random, plan.kinds)];
        }
    } while (fruitCount(board) < fewestFruits);
    return board;
}

bool playAll(const Board &start, const std::vector<Pick> &picks, Board &end) {
    end = start;
    for (const Pick &pick : picks) {
        if (!settledPick(end, pick, end))
            return false;
    }
    return true;
}

std::string kindsOf(const Board &board) {
    std::string kinds;
    for (int v = 1; v <= 5; v++) {
        if (std::count(board.begin(), board.end(), v))
            kinds += char('0' + v);
    }
    return kinds;
}

Stage teachingStage(const TeachingStage &teaching) {
    Stage stage;
    for (int r = 0; r < BOARD_ROWS; r++) {
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            char ch = teaching.rows[r][c];
            stage.start[cellAt(c, r)] = ch == '.' ? 0 : uint8_t(ch - '0');
        }
    }
    stage.solution = teaching.picks;
    playAll(stage.start, stage.solution, stage.target);
    stage.comments.push_back(teaching.title);
    return stage;
}

bool repeatsAny(const Stage &stage, const std::vector<Stage> &stages) {
    for (const Stage &other : stages) {
        if (other.start == stage.start || other.target == stage.target)
            return true;
    }
    return false;
}

// One try at a stage: random picks on a random board. Picks on lone cells far from everything
// rarely make a good puzzle, so the picks prefer fruits with neighbours.
bool tryStage(const Plan &plan, Random &random, int picks, Stage &stage) {
    stage = Stage{};
    stage.start = makeBoard(plan, random);
    Board board = stage.start;
    for (int j = 0; j < picks; j++) {
        std::vector<Pick> choices;
        for (int cell = 0; cell < BOARD_CELLS; cell++) {
            if (board[cell] != 0)
                choices.push_back({cell % BOARD_COLUMNS, cell / BOARD_COLUMNS});
        }
        if (choices.empty())
            return false;
        Pick pick = choices[below(random, int(choices.size()))];
        if (!settledPick(board, pick, board))
            return false;
        stage.solution.push_back(pick);
    }
    stage.target = board;
    return fruitCount(stage.target) * 5 >= fruitCount(stage.start) && stage.target != stage.start;
}

constexpr int TRIES_PER_STAGE = 24;
constexpr int TRIES_FOR_A_PROOF = 8; // each costs a whole search budget, so fewer

// How far a try is from what the stage wants: off the curve first, then a solution the search could
// not prove shortest. Lower is better, 0 is a hit.
int shortfall(const Stage &stage, const SolveResult &result, const Plan &plan) {
    int length = int(stage.solution.size());
    int offCurve = length < plan.minLength ? plan.minLength - length : std::max(0, length - plan.maxLength);
    return 2 * offCurve + (result.provenFloor < length ? 1 : 0);
}

Stage generatedStage(int number, int count, Random &random, uint64_t budget,
                     const std::vector<Stage> &stages) {
    Plan plan = planFor(number, count);
    Stage best;
    SolveResult bestResult;
    constexpr int NO_STAGE = 1000;
    int bestShortfall = NO_STAGE;
    // Tries on until one stage came out, however far from the curve.
    for (int attempt = 0; bestShortfall > 0; attempt++) {
        bool wantsMore = bestShortfall == NO_STAGE || attempt < TRIES_FOR_A_PROOF ||
                         (bestShortfall > 1 && attempt < TRIES_PER_STAGE);
        if (!wantsMore)
            break;
        Stage stage;
        int picks = plan.minLength + below(random, plan.maxLength - plan.minLength + 1);
        if (!tryStage(plan, random, picks, stage) || repeatsAny(stage, stages))
            continue;
        SolveResult result = shortenSolution(stage, budget);
        int missed = shortfall(stage, result, plan);
        if (missed < bestShortfall && stageFailure(stage).empty()) {
            best = stage;
            bestResult = result;
            bestShortfall = missed;
        }
    }
    best.comments.push_back(" " + std::string(shapeNames[plan.shape]) + ", fruits " + kindsOf(best.start));
    noteSolverResult(best, bestResult, budget);
    return best;
}

} // namespace

void noteSolverResult(Stage &stage, const SolveResult &result, uint64_t budget) {
    const std::string prefix = " solver:";
    stage.comments.erase(std::remove_if(stage.comments.begin(), stage.comments.end(),
                                        [&](const std::string &line) { return line.rfind(prefix, 0) == 0; }),
                         stage.comments.end());
    int length = int(stage.solution.size());
    std::string note = prefix;
    if (result.provenFloor >= length)
        note += " shortest, proven";
    else
        note += " none shorter than " + std::to_string(result.provenFloor) +
                " picks; the search stopped at " + std::to_string(budget) + " picks played";
    stage.comments.push_back(note);
}

std::vector<Stage> generateLevels(uint32_t seed, int count, uint64_t budget) {
    Random random(seed);
    std::vector<Stage> stages;
    for (const TeachingStage &teaching : teachingStages) {
        if (int(stages.size()) == count)
            break;
        Stage stage = teachingStage(teaching);
        noteSolverResult(stage, shortenSolution(stage, budget), budget);
        stages.push_back(stage);
    }
    while (int(stages.size()) < count) {
        int number = int(stages.size()) + 1;
        stages.push_back(generatedStage(number, count, random, budget, stages));
        fprintf(stderr, "stage %d: %zu picks\n", number, stages.back().solution.size());
    }
    return stages;
}
