// The shortest-solution search: iterative deepening with a lower bound and a table of boards already
// searched. Every pick is played through the game's rules (play.h); the search knows of them only
// what the bound needs: how much a pick can lower the fruits around it, and that fruits never rise,
// never leave their column and keep their order in it.
#include "solve.h"

#include "play.h"

#include <algorithm>
#include <unordered_map>

namespace {

// A board in 240 bits, three per cell, as the key of the search table.
struct BoardKey {
    uint64_t bits[4] = {};
    bool operator==(const BoardKey &other) const { return std::equal(bits, bits + 4, other.bits); }
};

struct BoardKeyHash {
    size_t operator()(const BoardKey &key) const {
        uint64_t h = 0x9E3779B97F4A7C15ull;
        for (uint64_t word : key.bits)
            h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
        return size_t(h ^ (h >> 31));
    }
};

BoardKey keyOf(const Board &board) {
    BoardKey key;
    for (int i = 0; i < BOARD_CELLS; i++)
        key.bits[i / 21] |= uint64_t(board[i]) << (3 * (i % 21));
    return key;
}

// The table keeps, per board, the most picks a search from it has failed with; it is cleared when
// it grows past this many boards, which costs time but never a wrong answer.
constexpr size_t MAX_TABLE_BOARDS = 4000000;

struct Search {
    Board target;
    uint64_t budget, nodes = 0;
    bool outOfBudget = false;
    std::vector<Pick> path;
    std::unordered_map<BoardKey, uint8_t, BoardKeyHash> failed;

    bool from(const Board &board, int picksLeft) {
        for (int cell = 0; cell < BOARD_CELLS; cell++) {
            if (board[cell] == 0)
                continue;
            if (nodes >= budget) {
                outOfBudget = true;
                return false;
            }
            nodes++;
            Pick pick{cell % BOARD_COLUMNS, cell / BOARD_COLUMNS};
            Board after;
            if (!settledPick(board, pick, after))
                continue;
            if (after == target) {
                path.push_back(pick);
                return true;
            }
            int bound = pickLowerBound(after, target);
            if (bound < 0 || bound > picksLeft - 1 || picksLeft - 1 == 0)
                continue;
            BoardKey key = keyOf(after);
            auto known = failed.find(key);
            if (known != failed.end() && known->second >= picksLeft - 1)
                continue;
            path.push_back(pick);
            if (from(after, picksLeft - 1))
                return true;
            path.pop_back();
            if (outOfBudget)
                return false;
            if (failed.size() >= MAX_TABLE_BOARDS)
                failed.clear();
            uint8_t &entry = failed[key];
            entry = std::max<uint8_t>(entry, uint8_t(picksLeft - 1));
        }
        return false;
    }
};

// Fruit values of a column from the bottom up, empty cells left out: what gravity keeps in order.
int columnStack(const Board &board, int column, uint8_t *stack) {
    int n = 0;
    for (int r = BOARD_ROWS - 1; r >= 0; r--) {
        if (board[cellAt(column, r)] != 0)
            stack[n++] = board[cellAt(column, r)];
    }
    return n;
}

} // namespace

int pickLowerBound(const Board &board, const Board &target) {
    int deficit[BOARD_COLUMNS], height[BOARD_COLUMNS + 2] = {}; // height[c + 1] of column c; 0 off the board
    int total = 0;
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        // Each target fruit is a board fruit of the same column, in the same order from the bottom,
        // that has come down to its value; the fruits in between must vanish. Taking the lowest
        // fruit that can still serve leaves the most for the rest.
        uint8_t have[BOARD_ROWS], want[BOARD_ROWS];
        int haveCount = columnStack(board, c, have), wantCount = columnStack(target, c, want);
        int j = 0;
        for (int i = 0; i < wantCount; i++, j++) {
            while (j < haveCount && have[j] < want[i])
                j++;
            if (j == haveCount)
                return -1;
        }
        deficit[c] = 0;
        for (int i = 0; i < haveCount; i++)
            deficit[c] += have[i];
        for (int i = 0; i < wantCount; i++)
            deficit[c] -= want[i];
        total += deficit[c];
        height[c + 1] = haveCount;
    }
    // A pick lowers its fruit by at most 2 and each fruit beside, above and below it by 1. Columns
    // only ever get lower, so no later pick finds more neighbours than the best cell of this board.
    int mostPerPick = 0;
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        for (int level = 1; level <= height[c + 1]; level++) { // level 1 is the bottom row
            int lowered =
                2 + (level > 1) + (level < height[c + 1]) + (height[c] >= level) + (height[c + 2] >= level);
            mostPerPick = std::max(mostPerPick, lowered);
        }
    }
    if (total == 0 || mostPerPick == 0)
        return total == 0 ? 0 : -1;
    // Only picks in a column or beside it lower it: at most 2 + 2 from its own column (the fruits
    // above and below), 1 from either side. Columns whose neighbourhoods of fruit columns do not
    // overlap need picks of their own, so the best set of them adds up.
    int best[BOARD_COLUMNS + 1] = {}; // best[c]: columns 0 to c - 1 considered
    int reach[BOARD_COLUMNS][2];      // first and last column whose picks can touch column c
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        reach[c][0] = height[c] > 0 ? c - 1 : c;
        reach[c][1] = height[c + 2] > 0 ? c + 1 : c;
    }
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        best[c + 1] = best[c];
        if (deficit[c] == 0)
            continue;
        int own = 2 + std::min(2, height[c + 1] - 1);
        int earlier = 0;
        for (int e = c - 1; e >= 0; e--) {
            if (reach[e][1] < reach[c][0]) {
                earlier = best[e + 1];
                break;
            }
        }
        best[c + 1] = std::max(best[c + 1], earlier + (deficit[c] + own - 1) / own);
    }
    return std::max((total + mostPerPick - 1) / mostPerPick, best[BOARD_COLUMNS]);
}

SolveResult solveStage(const Board &start, const Board &target, int maxLength, uint64_t budget) {
    SolveResult result;
    Search search;
    search.target = target;
    search.budget = budget;
    int bound = pickLowerBound(start, target);
    if (bound < 0) {
        result.provenFloor = maxLength + 1;
        return result;
    }
    if (start == target)
        return result;
    result.provenFloor = std::max(bound, 1);
    for (int length = result.provenFloor; length <= maxLength; length++) {
        search.path.clear();
        bool found = search.from(start, length);
        result.nodes = search.nodes;
        if (found) {
            result.picks = search.path;
            return result;
        }
        if (search.outOfBudget) {
            result.outOfBudget = true;
            return result;
        }
        result.provenFloor = length + 1;
    }
    return result;
}

SolveResult shortenSolution(Stage &stage, uint64_t budget) {
    int known = int(stage.solution.size());
    SolveResult result = solveStage(stage.start, stage.target, known - 1, budget);
    if (!result.picks.empty())
        stage.solution = result.picks;
    return result;
}
