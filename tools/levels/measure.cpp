// The difficulty measures of the level tool, on the rules' direct settlePick.
#include "measure.h"

#include "play.h"
#include "solve.h"

#include <algorithm>
#include <map>

namespace {

// The lines of equally good picks branch; a stage whose lines cover more boards than this is left
// undecided rather than searched for long. Lines that can no longer reach the target in time are
// left at once.
constexpr size_t GREEDY_MOST_BOARDS = 2000;

int cellsEqual(const Board &board, const Board &target) {
    int equal = 0;
    for (int i = 0; i < BOARD_CELLS; i++)
        equal += board[i] == target[i];
    return equal;
}

struct Greedy {
    Board target;
    int limit;
    std::map<Board, int> seen; // each board with the fewest picks it was reached in
    bool gaveUp = false;

    // The picks of a greedy line from board that reaches the target, or 0.
    int from(const Board &board, int used) {
        if (board == target)
            return used;
        int bound = pickLowerBound(board, target);
        if (bound < 0 || used + bound > limit)
            return 0;
        auto known = seen.find(board);
        if (known != seen.end() && known->second <= used)
            return 0;
        seen[board] = used;
        if (seen.size() > GREEDY_MOST_BOARDS) {
            gaveUp = true;
            return 0;
        }
        std::vector<Board> best;
        int bestEqual = -1;
        for (int cell = 0; cell < BOARD_CELLS; cell++) {
            Board after;
            if (!nextBoard(board, {cell % BOARD_COLUMNS, cell / BOARD_COLUMNS}, after))
                continue;
            int equal = cellsEqual(after, target);
            if (equal > bestEqual) {
                bestEqual = equal;
                best.clear();
            }
            if (equal == bestEqual)
                best.push_back(after);
        }
        for (const Board &after : best) {
            int picks = from(after, used + 1);
            if (picks > 0 || gaveUp)
                return picks;
        }
        return 0;
    }
};

} // namespace

int greedyPicks(const Board &start, const Board &target, int limit) {
    Greedy greedy{target, limit, {}, false};
    int picks = greedy.from(start, 0);
    return greedy.gaveUp ? UNKNOWN : picks;
}

Difficulty measureStage(const Stage &stage, uint64_t budget, bool stopWhenUndecided) {
    Difficulty difficulty;
    int length = int(stage.solution.size());
    difficulty.length = length;
    difficulty.greedy = greedyPicks(stage.start, stage.target, length + GREEDY_SPARE_MOVES);
    difficulty.shortestSolutions =
        countShortestSolutions(stage.start, stage.target, length, SOLUTIONS_CAP, budget);
    std::vector<Board> afterFirst;
    std::vector<int> equal; // cells equal to the target after each first pick
    for (int cell = 0; cell < BOARD_CELLS; cell++) {
        Board after;
        if (nextBoard(stage.start, {cell % BOARD_COLUMNS, cell / BOARD_COLUMNS}, after)) {
            afterFirst.push_back(after);
            equal.push_back(cellsEqual(after, stage.target));
        }
    }
    difficulty.firstPicks = int(afterFirst.size());
    if (stopWhenUndecided && (difficulty.greedy == UNKNOWN || difficulty.shortestSolutions == UNKNOWN)) {
        difficulty.unknownFirstPicks = difficulty.firstPicks;
        return difficulty;
    }
    std::vector<Reach> reach = reachWithin(afterFirst, stage.target, length + FATAL_SPARE_MOVES - 1, budget);
    int mostEqual = afterFirst.empty() ? 0 : *std::max_element(equal.begin(), equal.end());
    difficulty.trap = !afterFirst.empty();
    for (size_t i = 0; i < reach.size(); i++) {
        difficulty.fatalFirstPicks += reach[i] == Reach::NO;
        difficulty.unknownFirstPicks += reach[i] == Reach::UNKNOWN;
        if (equal[i] == mostEqual && reach[i] != Reach::NO)
            difficulty.trap = false;
    }
    return difficulty;
}
