// The level tool's searches: depth-first with a lower bound and a table of boards already searched.
// Every pick is played through the rules' direct settlePick (play.h); the searches know of the rules
// only what the bound needs: how much a pick can lower the fruits around it, and that fruits never
// rise, never leave their column and keep their order in it.
#include "solve.h"

#include "play.h"

#include <algorithm>
#include <set>

namespace {

// The target's columns from the bottom up, worked out once per search.
struct Target {
    Board board;
    uint8_t want[BOARD_COLUMNS][BOARD_ROWS];
    int wantCount[BOARD_COLUMNS], wantSum[BOARD_COLUMNS];
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

Target targetOf(const Board &board) {
    Target target;
    target.board = board;
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        target.wantCount[c] = columnStack(board, c, target.want[c]);
        target.wantSum[c] = 0;
        for (int i = 0; i < target.wantCount[c]; i++)
            target.wantSum[c] += target.want[c][i];
    }
    return target;
}

// A column as the searches see it. Between picks every column is closed up, so its fruits from the
// bottom up say all there is; the rest is what the bound needs of it. In a column that keeps all its
// fruits each one has a fixed value to lose, so some may not be touched at all and some not picked.
struct Column {
    uint32_t code;   // the fruit values from the bottom up, three bits each
    int height;      // fruits
    int deficit;     // fruit value that picks must still take away
    bool reachable;  // the target's column can still be made of it
    uint16_t frozen; // bit l - 1 for the fruit at level l (1 the bottom) that may not lose a step
    uint16_t firm;   // ... that may not lose two, as a picked fruit does
};

Column columnOf(const Board &board, int c, const Target &target) {
    uint8_t have[BOARD_ROWS];
    Column column{0, columnStack(board, c, have), -target.wantSum[c], true, 0, 0};
    for (int i = 0; i < column.height; i++) {
        column.code |= uint32_t(have[i]) << (3 * i);
        column.deficit += have[i];
    }
    // Each target fruit is a board fruit of the same column, in the same order from the bottom, that
    // has come down to its value; the fruits in between must vanish. Taking the lowest fruit that
    // can still serve leaves the most for the rest.
    int j = 0;
    for (int i = 0; i < target.wantCount[c] && column.reachable; i++, j++) {
        while (j < column.height && have[j] < target.want[c][i])
            j++;
        column.reachable = j < column.height;
    }
    if (column.reachable && column.height == target.wantCount[c]) {
        for (int i = 0; i < column.height; i++) {
            int spare = have[i] - target.want[c][i];
            column.frozen |= uint16_t((spare < 1) << i);
            column.firm |= uint16_t((spare < 2) << i);
        }
    }
    return column;
}

using Columns = std::array<Column, BOARD_COLUMNS>;

// A board in the search with its columns.
struct Node {
    Board board;
    Columns columns;
};

Node nodeOf(const Board &board, const Target &target) {
    Node node{board, {}};
    for (int c = 0; c < BOARD_COLUMNS; c++)
        node.columns[c] = columnOf(board, c, target);
    return node;
}

// The node a pick of a fruit leads to: only the picked column and those beside it change.
void pickNode(const Node &node, int cell, const Target &target, Node &next) {
    int column = cell % BOARD_COLUMNS;
    nextBoard(node.board, {column, cell / BOARD_COLUMNS}, next.board);
    next.columns = node.columns;
    for (int c = std::max(0, column - 1); c <= std::min(BOARD_COLUMNS - 1, column + 1); c++)
        next.columns[c] = columnOf(next.board, c, target);
}

// A pick that would take from a fruit more than its column can spare: the board it leads to is out of
// reach, so the searches skip it without playing it.
bool spoils(const Columns &columns, int cell) {
    int c = cell % BOARD_COLUMNS;
    uint32_t level = 1u << (BOARD_ROWS - 1 - cell / BOARD_COLUMNS); // bit of the fruit's level
    return (columns[c].firm & level) || (columns[c].frozen & (level << 1 | level >> 1)) ||
           (c > 0 && (columns[c - 1].frozen & level)) ||
           (c < BOARD_COLUMNS - 1 && (columns[c + 1].frozen & level));
}

// At least this many picks still to go; 0 exactly on the target, -1 when it is out of reach.
int boundOf(const Columns &columns) {
    int total = 0, height[BOARD_COLUMNS + 2] = {}; // height[c + 1] of column c; 0 off the board
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        if (!columns[c].reachable)
            return -1;
        total += columns[c].deficit;
        height[c + 1] = columns[c].height;
    }
    if (total == 0)
        return 0;
    // A pick lowers its fruit by at most 2 and each fruit beside, above and below it by 1, and of
    // that only what a column still owes counts. Columns only ever get lower and owe less, so no
    // later pick does more than the best cell of this board: the bottom fruit of a column, or in a
    // column of three or more the one above it.
    auto owes = [&](int c) { return c >= 0 && c < BOARD_COLUMNS && columns[c].deficit > 0; };
    int mostPerPick = 0;
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        for (int level = 1; level <= std::min(2, height[c + 1]); level++) { // level 1 is the bottom row
            int own = std::min(columns[c].deficit, 2 + (level > 1) + (level < height[c + 1]));
            int beside = (height[c] >= level && owes(c - 1)) + (height[c + 2] >= level && owes(c + 1));
            mostPerPick = std::max(mostPerPick, own + beside);
        }
    }
    if (mostPerPick == 0)
        return -1;
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
        if (columns[c].deficit == 0)
            continue;
        int own = 2 + std::min(2, columns[c].height - 1);
        int earlier = 0;
        for (int e = c - 1; e >= 0; e--) {
            if (reach[e][1] < reach[c][0]) {
                earlier = best[e + 1];
                break;
            }
        }
        best[c + 1] = std::max(best[c + 1], earlier + (columns[c].deficit + own - 1) / own);
    }
    return std::max((total + mostPerPick - 1) / mostPerPick, best[BOARD_COLUMNS]);
}

// A board in 240 bits, its columns' codes, as the key of the search tables.
struct BoardKey {
    uint64_t bits[BOARD_COLUMNS / 2] = {};
    bool operator==(const BoardKey &other) const {
        return std::equal(bits, bits + BOARD_COLUMNS / 2, other.bits);
    }
};

BoardKey keyOf(const Columns &columns) {
    BoardKey key;
    for (int c = 0; c < BOARD_COLUMNS; c++)
        key.bits[c / 2] |= uint64_t(columns[c].code) << (32 * (c % 2));
    return key;
}

// Boards with a number each, in open addressing. It doubles as it fills, and past MAX_SLOTS it starts
// over empty: the searches then repeat some work but never give a wrong answer.
class BoardTable {
  public:
    const uint32_t *find(const BoardKey &key) const {
        const Slot &slot = slots[slotOf(key)];
        return slot.used ? &slot.value : nullptr;
    }
    uint32_t &operator[](const BoardKey &key) {
        if (4 * (count + 1) > 3 * slots.size())
            grow();
        Slot &slot = slots[slotOf(key)];
        if (!slot.used) {
            slot = Slot{key, 0, true};
            count++;
        }
        return slot.value;
    }

  private:
    static constexpr size_t FIRST_SLOTS = size_t(1) << 12, MAX_SLOTS = size_t(1) << 22;
    struct Slot {
        BoardKey key;
        uint32_t value;
        bool used;
    };
    std::vector<Slot> slots = std::vector<Slot>(FIRST_SLOTS);
    size_t count = 0;

    size_t slotOf(const BoardKey &key) const {
        uint64_t h = 0x9E3779B97F4A7C15ull;
        for (uint64_t word : key.bits)
            h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
        size_t mask = slots.size() - 1;
        for (size_t i = size_t(h ^ (h >> 29)) & mask;; i = (i + 1) & mask) {
            if (!slots[i].used || slots[i].key == key)
                return i;
        }
    }
    void grow() {
        std::vector<Slot> old = std::move(slots);
        slots.assign(std::min(2 * old.size(), MAX_SLOTS), Slot{});
        count = 0;
        if (old.size() == MAX_SLOTS)
            return;
        for (const Slot &slot : old) {
            if (slot.used)
                (*this)[slot.key] = slot.value;
        }
    }
};

// Picks more than two columns apart touch no column in common: played in either order they leave
// the same board, and each finds its fruit where the other left it. Of two such picks in a row the
// searches play only the one with the lower column first, since the other order reaches the same
// boards. After a pick in column c, picks start from column firstAfter(c).
int firstAfter(int column) { return std::max(0, column - 2); }
constexpr int FIRST_COLUMNS = BOARD_COLUMNS - 2; // 0 to 5

// The picks a search plays from a node: its fruits from firstColumn on that spoil nothing, each
// played into next[cell] and counted against the budget. The cells whose pick reaches the target
// go to reached, in cell order; those whose board can still reach it within picksLeft - 1 more
// picks by the bound go to order as (bound, cell), the nearest first, so that where a solution
// exists it is found sooner.
struct Children {
    Node next[BOARD_CELLS];
    std::pair<int, int> order[BOARD_CELLS];
    int reached[BOARD_CELLS];
    int count = 0, reachedCount = 0;
};

// False when the budget runs out first.
bool playChildren(const Node &node, int picksLeft, int firstColumn, const Target &target, uint64_t &nodes,
                  uint64_t budget, Children &children) {
    for (int cell = 0; cell < BOARD_CELLS; cell++) {
        if (node.board[cell] == 0 || cell % BOARD_COLUMNS < firstColumn || spoils(node.columns, cell))
            continue;
        if (nodes >= budget)
            return false;
        nodes++;
        pickNode(node, cell, target, children.next[cell]);
        int bound = boundOf(children.next[cell].columns);
        if (bound == 0)
            children.reached[children.reachedCount++] = cell;
        else if (bound > 0 && bound <= picksLeft - 1)
            children.order[children.count++] = {bound, cell};
    }
    std::sort(children.order, children.order + children.count);
    return true;
}

// Finds a sequence of at most picksLeft picks from a node to the target. The table keeps, per board
// and for each first column allowed, the most picks a search from it has failed with (five bits
// each), so later searches for the same target, from this board or any other, skip what is known to
// fail. A search that failed with more columns allowed failed with fewer too.
struct Search {
    Target target;
    uint64_t budget = 0, nodes = 0;
    bool outOfBudget = false;
    std::vector<Pick> path;
    BoardTable failed;

    static constexpr uint32_t MOST_RECORDED = 31;
    static int failedWith(uint32_t entry, int firstColumn) { return int(entry >> (5 * firstColumn)) & 31; }

    bool from(const Node &node, int picksLeft, int firstColumn) {
        Children children;
        if (!playChildren(node, picksLeft, firstColumn, target, nodes, budget, children)) {
            outOfBudget = true;
            return false;
        }
        if (children.reachedCount > 0) {
            path.push_back({children.reached[0] % BOARD_COLUMNS, children.reached[0] / BOARD_COLUMNS});
            return true;
        }
        for (int i = 0; i < children.count; i++) {
            int cell = children.order[i].second, first = firstAfter(cell % BOARD_COLUMNS);
            const Node &next = children.next[cell];
            const uint32_t *known = failed.find(keyOf(next.columns));
            if (known && failedWith(*known, first) >= picksLeft - 1)
                continue;
            path.push_back({cell % BOARD_COLUMNS, cell / BOARD_COLUMNS});
            if (from(next, picksLeft - 1, first))
                return true;
            path.pop_back();
            if (outOfBudget)
                return false;
            uint32_t &entry = failed[keyOf(next.columns)];
            uint32_t picks = std::min(uint32_t(picksLeft - 1), MOST_RECORDED);
            for (int f = first; f < FIRST_COLUMNS; f++) {
                if (uint32_t(failedWith(entry, f)) < picks)
                    entry = (entry & ~(31u << (5 * f))) | picks << (5 * f);
            }
        }
        return false;
    }
};

using PickedCells = std::vector<uint8_t>; // the cells a solution picks, sorted: its order left out

// Collects the distinct sets of picked cells of the solutions of exactly picksLeft picks, up to cap
// of them per board. Leaving out one order of two picks apart leaves out no set, since the other
// order has the same cells. No board met after d picks is nearer the target than the shortest
// length less d: so a board's sets, for each first column allowed, are found once and reused
// wherever it is met again, and a board without a solution of k picks has none of fewer either.
struct SolutionCount {
    Target target;
    size_t cap;
    uint64_t budget, nodes = 0;
    bool outOfBudget = false;
    BoardTable failed, solvedAt; // solvedAt: 1 + index into found
    std::vector<std::vector<PickedCells>> found;

    static BoardKey keyFrom(const Columns &columns, int firstColumn) {
        BoardKey key = keyOf(columns);
        // in the spare bits above the first two columns' codes, which take 30 bits each
        key.bits[0] |= uint64_t(firstColumn & 3) << 30 | uint64_t(firstColumn >> 2) << 62;
        return key;
    }

    // The index of the node's sets in found, or -1 when it has none. The count stops at the cap, so
    // where there are many solutions, finding the nearest first ends it soon.
    int from(const Node &node, int picksLeft, int firstColumn) {
        Children children;
        if (!playChildren(node, picksLeft, firstColumn, target, nodes, budget, children)) {
            outOfBudget = true;
            return -1;
        }
        std::set<PickedCells> sets;
        for (int i = 0; picksLeft == 1 && i < children.reachedCount; i++)
            sets.insert({uint8_t(children.reached[i])});
        for (int i = 0; i < children.count && sets.size() < cap; i++) {
            int cell = children.order[i].second, first = firstAfter(cell % BOARD_COLUMNS);
            const Node &next = children.next[cell];
            BoardKey key = keyFrom(next.columns, first);
            const uint32_t *known = failed.find(key);
            if (known && int(*known) >= picksLeft - 1)
                continue;
            int index;
            if (const uint32_t *solved = solvedAt.find(key)) {
                index = int(*solved) - 1;
            } else {
                index = from(next, picksLeft - 1, first);
                if (outOfBudget)
                    return -1;
                if (index < 0) {
                    uint32_t &entry = failed[key];
                    entry = std::max(entry, uint32_t(picksLeft - 1));
                    continue;
                }
                solvedAt[key] = uint32_t(index + 1);
            }
            for (PickedCells cells : found[size_t(index)]) {
                cells.insert(std::upper_bound(cells.begin(), cells.end(), uint8_t(cell)), uint8_t(cell));
                sets.insert(cells);
                if (sets.size() >= cap)
                    break;
            }
        }
        if (sets.empty() || outOfBudget)
            return -1;
        found.emplace_back(sets.begin(), std::next(sets.begin(), std::min(sets.size(), cap)));
        return int(found.size()) - 1;
    }
};

} // namespace

int pickLowerBound(const Board &board, const Board &target) {
    if (!isGravityStable(target))
        return -1;
    return boundOf(nodeOf(board, targetOf(target)).columns);
}

SolveResult solveStage(const Board &start, const Board &target, int maxLength, uint64_t budget) {
    SolveResult result;
    Search search;
    search.target = targetOf(target);
    search.budget = budget;
    Node root = nodeOf(start, search.target);
    int bound = boundOf(root.columns);
    if (bound < 0 || !isGravityStable(target)) {
        result.provenFloor = maxLength + 1;
        return result;
    }
    if (start == target)
        return result;
    result.provenFloor = std::max(bound, 1);
    for (int length = result.provenFloor; length <= maxLength; length++) {
        search.path.clear();
        bool found = search.from(root, length, 0);
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

std::vector<Reach> reachWithin(const std::vector<Board> &boards, const Board &target, int picks,
                               uint64_t budget) {
    Search search;
    search.target = targetOf(target);
    search.budget = budget;
    bool stable = isGravityStable(target);
    std::vector<Reach> answers;
    for (const Board &board : boards) {
        Node node = nodeOf(board, search.target);
        int bound = boundOf(node.columns);
        search.path.clear();
        if (board == target || (stable && bound >= 0 && bound <= picks && search.from(node, picks, 0)))
            answers.push_back(Reach::YES);
        else
            answers.push_back(search.outOfBudget ? Reach::UNKNOWN : Reach::NO);
    }
    return answers;
}

int countShortestSolutions(const Board &start, const Board &target, int length, int cap, uint64_t budget) {
    if (length <= 0 || cap <= 0 || !isGravityStable(target))
        return 0;
    SolutionCount count;
    count.target = targetOf(target);
    count.cap = size_t(cap);
    count.budget = budget;
    int index = count.from(nodeOf(start, count.target), length, 0);
    if (count.outOfBudget)
        return -1;
    return index < 0 ? 0 : int(count.found[size_t(index)].size());
}
