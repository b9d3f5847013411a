// The searches and the difficulty measures against plain brute force on small random stages: every
// sequence of picks played through the rules, no bound, no table, no order of picks left out.
#include "measure.h"
#include "play.h"
#include "solve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

std::vector<Pick> fruitPicks(const Board &board) {
    std::vector<Pick> picks;
    for (int cell = 0; cell < BOARD_CELLS; cell++) {
        if (board[cell] != 0)
            picks.push_back({cell % BOARD_COLUMNS, cell / BOARD_COLUMNS});
    }
    return picks;
}

// Whether some sequence of at most picks picks turns board into target.
bool reachable(const Board &board, const Board &target, int picks) {
    if (board == target)
        return true;
    if (picks == 0)
        return false;
    for (const Pick &pick : fruitPicks(board)) {
        Board after;
        nextBoard(board, pick, after);
        if (reachable(after, target, picks - 1))
            return true;
    }
    return false;
}

// Every sequence of exactly picks picks that ends on target, as the sorted list of its cells.
void solutionSets(const Board &board, const Board &target, int picks, std::vector<uint8_t> &cells,
                  std::set<std::vector<uint8_t>> &sets) {
    if (picks == 0) {
        if (board == target) {
            std::vector<uint8_t> sorted = cells;
            std::sort(sorted.begin(), sorted.end());
            sets.insert(sorted);
        }
        return;
    }
    for (const Pick &pick : fruitPicks(board)) {
        Board after;
        nextBoard(board, pick, after);
        cells.push_back(uint8_t(cellAt(pick.column, pick.row)));
        solutionSets(after, target, picks - 1, cells, sets);
        cells.pop_back();
    }
}

int cellsEqual(const Board &a, const Board &b) {
    int equal = 0;
    for (int i = 0; i < BOARD_CELLS; i++)
        equal += a[i] == b[i];
    return equal;
}

// The greedy player of measure.h, every line of equally good picks followed to its end.
bool greedySolves(const Board &board, const Board &target, int picks) {
    if (board == target)
        return true;
    if (picks == 0)
        return false;
    int best = -1;
    std::vector<Board> lines;
    for (const Pick &pick : fruitPicks(board)) {
        Board after;
        nextBoard(board, pick, after);
        int equal = cellsEqual(after, target);
        if (equal > best)
            lines.clear();
        best = std::max(best, equal);
        if (equal == best)
            lines.push_back(after);
    }
    return std::any_of(lines.begin(), lines.end(),
                       [&](const Board &after) { return greedySolves(after, target, picks - 1); });
}

// A stage on the bottom rows of the left columns, with a target a few random picks away.
Stage smallStage(std::mt19937 &random) {
    Stage stage;
    for (int c = 0; c < 4; c++) {
        int height = int(random() % 4);
        for (int r = BOARD_ROWS - height; r < BOARD_ROWS; r++)
            stage.start[cellAt(c, r)] = uint8_t(1 + random() % 5);
    }
    stage.target = stage.start;
    int walk = 1 + int(random() % 4);
    for (int j = 0; j < walk; j++) {
        std::vector<Pick> picks = fruitPicks(stage.target);
        if (picks.empty())
            break;
        Pick pick = picks[random() % picks.size()];
        nextBoard(stage.target, pick, stage.target);
        stage.solution.push_back(pick);
    }
    return stage;
}

constexpr uint64_t PLENTY = 100000000;

TEST(Search, ShortestSolutionsAndTheirCountMatchBruteForce) {
    std::mt19937 random(2024);
    int checked = 0, several = 0;
    for (int round = 0; round < 300; round++) {
        Stage stage = smallStage(random);
        if (stage.start == stage.target)
            continue;
        int shortest = 1;
        while (!reachable(stage.start, stage.target, shortest))
            shortest++;
        SolveResult result = solveStage(stage.start, stage.target, 8, PLENTY);
        ASSERT_EQ(int(result.picks.size()), shortest) << "round " << round;
        EXPECT_GE(result.provenFloor, shortest);
        Board replayed = stage.start;
        for (const Pick &pick : result.picks)
            ASSERT_TRUE(nextBoard(replayed, pick, replayed));
        EXPECT_EQ(replayed, stage.target);
        EXPECT_EQ(pickLowerBound(stage.start, stage.target) <= shortest, true) << "round " << round;

        std::set<std::vector<uint8_t>> sets;
        std::vector<uint8_t> cells;
        solutionSets(stage.start, stage.target, shortest, cells, sets);
        EXPECT_EQ(countShortestSolutions(stage.start, stage.target, shortest, 1000, PLENTY), int(sets.size()))
            << "round " << round;
        several += sets.size() > 1;
        checked++;
    }
    EXPECT_GT(checked, 200);
    EXPECT_GT(several, 20); // the cases include stages with more than one shortest solution
}

TEST(Search, ReachWithinMatchesBruteForce) {
    std::mt19937 random(77);
    int yes = 0, no = 0;
    for (int round = 0; round < 150; round++) {
        Stage stage = smallStage(random);
        if (stage.start == stage.target)
            continue;
        int picks = int(stage.solution.size());
        std::vector<Board> boards;
        for (const Pick &pick : fruitPicks(stage.start)) {
            Board after;
            nextBoard(stage.start, pick, after);
            boards.push_back(after);
        }
        std::vector<Reach> answers = reachWithin(boards, stage.target, picks, PLENTY);
        ASSERT_EQ(answers.size(), boards.size());
        for (size_t i = 0; i < boards.size(); i++) {
            bool expected = reachable(boards[i], stage.target, picks);
            EXPECT_EQ(answers[i], expected ? Reach::YES : Reach::NO) << "round " << round << " board " << i;
            (expected ? yes : no)++;
        }
    }
    EXPECT_GT(yes, 50);
    EXPECT_GT(no, 50);
}

TEST(Search, ABudgetTooSmallLeavesTheAnswerOpen) {
    Stage stage;
    for (int cell = 40; cell < BOARD_CELLS; cell++)
        stage.start[cell] = uint8_t(1 + cell % 5);
    stage.target = stage.start;
    for (Pick pick : {Pick{1, 9}, Pick{4, 8}, Pick{6, 6}, Pick{2, 7}, Pick{5, 9}})
        nextBoard(stage.target, pick, stage.target);
    std::vector<Reach> answers = reachWithin({stage.start, stage.start}, stage.target, 5, 10);
    EXPECT_EQ(answers[0], Reach::UNKNOWN);
    EXPECT_EQ(answers[1], Reach::UNKNOWN);
    EXPECT_EQ(countShortestSolutions(stage.start, stage.target, 5, 50, 10), UNKNOWN);
    SolveResult result = solveStage(stage.start, stage.target, 5, 10);
    EXPECT_TRUE(result.outOfBudget);
    EXPECT_TRUE(result.picks.empty());
}

TEST(Measures, GreedyPlayerMatchesBruteForce) {
    std::mt19937 random(5);
    int solves = 0, fails = 0;
    for (int round = 0; round < 300; round++) {
        Stage stage = smallStage(random);
        if (stage.start == stage.target)
            continue;
        int limit = int(stage.solution.size()) + 1;
        bool expected = greedySolves(stage.start, stage.target, limit);
        int picks = greedyPicks(stage.start, stage.target, limit);
        EXPECT_EQ(picks > 0, expected) << "round " << round;
        EXPECT_LE(picks, limit);
        (expected ? solves : fails)++;
    }
    EXPECT_GT(solves, 20);
    EXPECT_GT(fails, 20);
}

// Stages small enough to read: their measures worked out by hand.
TEST(Measures, OfHandMadeStages) {
    struct Case {
        const char *what;
        const char *bottom, *targetBottom; // the bottom row; every other row is empty
        std::vector<Pick> solution;
        int fatal, firstPicks, solutions;
        bool greedy, trap;
    };
    const Case cases[] = {
        // Picking either grape takes both: two solutions, nothing fatal.
        {"two ways to clear", "11......", "........", {{0, 9}}, 0, 2, 2, true, false},
        // Only the middle banana may be picked; a picked side banana can never be a banana again.
        {"one of three", ".5..5..5", ".5..3..5", {{4, 9}}, 2, 3, 1, true, false},
        // A side orange picked first becomes the grape the target wants there, which matches the most
        // cells; but that grape can then never be touched while the middle orange goes. Only the
        // middle orange picked twice works.
        {"a trap", "333.....", "1.1.....", {{1, 9}, {1, 9}}, 2, 3, 1, false, true},
    };
    for (const Case &c : cases) {
        Stage stage;
        for (int col = 0; col < BOARD_COLUMNS; col++) {
            stage.start[cellAt(col, 9)] = c.bottom[col] == '.' ? 0 : uint8_t(c.bottom[col] - '0');
            stage.target[cellAt(col, 9)] =
                c.targetBottom[col] == '.' ? 0 : uint8_t(c.targetBottom[col] - '0');
        }
        stage.solution = c.solution;
        Board replayed = stage.start;
        for (const Pick &pick : stage.solution)
            ASSERT_TRUE(nextBoard(replayed, pick, replayed)) << c.what;
        ASSERT_EQ(replayed, stage.target) << c.what;
        Difficulty d = measureStage(stage, PLENTY);
        EXPECT_EQ(d.length, int(c.solution.size())) << c.what;
        EXPECT_EQ(d.firstPicks, c.firstPicks) << c.what;
        EXPECT_EQ(d.fatalFirstPicks, c.fatal) << c.what;
        EXPECT_EQ(d.unknownFirstPicks, 0) << c.what;
        EXPECT_EQ(d.shortestSolutions, c.solutions) << c.what;
        EXPECT_EQ(d.greedy > 0, c.greedy) << c.what;
        EXPECT_EQ(d.trap, c.trap) << c.what;
    }
}

} // namespace
