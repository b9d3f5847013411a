// The pick and transformation rules: morphs, falls, sparkles and flying pieces, one tick at a time.
#include "main/rules.h"

#include "main/level.h"

#include <cassert>
#include <cstdlib>
#include <cstring>

RuleQueues queues;

static uint32_t eject_id; // only grows: successive pieces fly off in turn to each side
static const int32_t eject_dx[4] = {-4, 2, -2, 4};

constexpr int MORPH_STEP_TICKS = 32;
constexpr int FALL_ROW_TICKS = 16;
constexpr int SHINE_STEPS = 4, SHINE_STEP_TICKS = 4;
constexpr int EJECT_START_DY = -4, EJECT_MAX_DY = 8;

static int cellIndex(int column, int row) { return column + BOARD_COLUMNS * row; }

static bool onBoard(int column, int row) {
    return unsigned(column) < unsigned(BOARD_COLUMNS) && unsigned(row) < unsigned(BOARD_ROWS);
}

// The back-reference byte of an entry: 1 + its index, 0 when the cell has none. Falling fruits and
// flying pieces have none.
static uint8_t *backRef(const TransEntry &e) { return &queues.currentTrans[cellIndex(e.column, e.row)]; }
static uint8_t *backRef(const ShineEntry &e) { return &queues.currentShining[16 * e.row + e.column]; }
static uint8_t *backRef(const MoveEntry &) { return nullptr; }
static uint8_t *backRef(const EjectEntry &) { return nullptr; }

// Appends an entry and points its back-reference at it. The queues are sized so that play never
// fills them; a full queue drops the entry rather than write past its end. Returns 1 when appended.
template <class Entry>
static int append(std::array<Entry, QUEUE_SIZE> &queue, int32_t &count, const Entry &e) {
    assert(count < QUEUE_SIZE);
    if (count >= QUEUE_SIZE)
        return 0;
    queue[count] = e;
    count++;
    if (uint8_t *ref = backRef(e))
        *ref = uint8_t(count);
    return 1;
}

// Runs step on every entry in queue order; entries for which it returns false are removed, the rest
// close up in order with their back-references rewritten.
template <class Entry, class Step>
static void stepQueue(std::array<Entry, QUEUE_SIZE> &queue, int32_t &count, Step step) {
    int32_t kept = 0;
    for (int32_t i = 0; i < count; i++) {
        uint8_t *ref = backRef(queue[i]);
        if (!step(queue[i])) {
            if (ref)
                *ref = 0;
            continue;
        }
        queue[kept] = queue[i];
        if (ref)
            *ref = uint8_t(kept + 1);
        kept++;
    }
    count = kept;
}

static void queueMorph(int column, int row, int ticks, int newValue, int delay) {
    append(queues.animTrans, queues.curTrans, TransEntry{column, row, ticks, newValue, delay});
}

// Called by the stage loop when a pick's hand countdown ends.
// The cells a pick morphs beside its own, as column and row offsets: left, right, up, down.
static constexpr int pickNeighbours[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

int doSwitch() {
    int c = queues.actionX, r = queues.actionY;
    if (!onBoard(c, r) || puzzle.currentLevel[cellIndex(c, r)] == 0)
        return 0;
    int v = puzzle.currentLevel[cellIndex(c, r)];
    int steps = v == 1 ? 1 : 2;
    removeShine(c, r);
    queueMorph(c, r, MORPH_STEP_TICKS * steps - 1, v - steps, 1);

    // A two-step centre lets its neighbours start a little later.
    int extraDelay = steps == 2 ? 8 : 0;
    for (const auto &n : pickNeighbours) {
        int delay = (rand() & 31) + extraDelay;
        switchTile(c + n[0], r + n[1], 1, delay);
    }
    return steps;
}

int switchTile(int column, int row, int steps, int delay) {
    if (!onBoard(column, row))
        return 0;
    int w = puzzle.currentLevel[cellIndex(column, row)];
    if (w == 0)
        return 0;
    int ticks = MORPH_STEP_TICKS * steps - 1;
    if (steps > w) {
        steps = 1;
        ticks = MORPH_STEP_TICKS - 1;
    }
    removeShine(column, row);
    queueMorph(column, row, ticks, w - steps, delay + 1);
    return steps;
}

// Every fruit above the lowest gap of each column that no morph still works above starts to fall.
// Fruits lifted higher up start a few ticks later, so a column falls apart rather than as a block.
static void gravity() {
    for (int c = 0; c < BOARD_COLUMNS; c++) {
        int delay = rand() & 7;
        int highestMorph = BOARD_ROWS; // the smallest row of a morph still queued in this column
        for (int32_t i = 0; i < queues.curTrans; i++) {
            if (queues.animTrans[i].column == c && queues.animTrans[i].row < highestMorph)
                highestMorph = queues.animTrans[i].row;
        }
        int gap = 0;
        for (int r = BOARD_ROWS - 1; r >= 1 && gap == 0; r--) {
            if (puzzle.currentLevel[cellIndex(c, r)] == 0 && highestMorph >= r)
                gap = r;
        }
        for (int r = gap - 1; r >= 0; r--) {
            int32_t &cell = puzzle.currentLevel[cellIndex(c, r)];
            if (cell == 0)
                continue;
            if (append(queues.animMove, queues.curMove, MoveEntry{c, r, 0, cell, delay}))
                cell = 0;
            delay += rand() & 3;
        }
    }
}

// Called once per tick by the stage loop while morphs are queued.
RuleEvents doTrans() {
    bool ended = false;
    RuleEvents events{};
    stepQueue(queues.animTrans, queues.curTrans, [&ended, &events](TransEntry &e) {
        if (e.delay != 0) {
            e.delay--;
            events.morphsBegun += e.delay == 0;
            return true;
        }
        e.ticks--;
        if (e.ticks <= 0) {
            puzzle.currentLevel[cellIndex(e.column, e.row)] = e.newValue;
            if (e.newValue == 0)
                puzzle.currentCount--;
            ended = true;
            return false;
        }
        if (e.ticks % MORPH_STEP_TICKS == MORPH_STEP_TICKS / 2) {
            int points = e.newValue + 1;
            events.points += points;
            append(queues.animEject, queues.curEject,
                   EjectEntry{CELL_SIZE * e.column, CELL_SIZE * e.row, eject_dx[eject_id % 4], EJECT_START_DY,
                              points});
            eject_id++;
        }
        return true;
    });
    if (ended)
        gravity();
    return events;
}

// Called once per tick by the stage loop while fruits fall and no morph is queued.
RuleEvents doMove() {
    RuleEvents events{};
    stepQueue(queues.animMove, queues.curMove, [&events](MoveEntry &e) {
        if (e.delay != 0) {
            e.delay--;
            return true;
        }
        e.ticks++;
        if (e.ticks % FALL_ROW_TICKS != 0)
            return true;
        int row = e.row + e.ticks / FALL_ROW_TICKS;
        if (row < BOARD_ROWS - 1 && puzzle.currentLevel[cellIndex(e.column, row + 1)] == 0)
            return true;
        puzzle.currentLevel[cellIndex(e.column, row)] = e.value;
        events.fruitsLanded++;
        return false;
    });
    return events;
}

void doShine() {
    stepQueue(queues.animShine, queues.curShine, [](ShineEntry &e) {
        e.ticks--;
        if (e.ticks > 0)
            return true;
        e.step++;
        e.ticks = SHINE_STEP_TICKS;
        return e.step < SHINE_STEPS;
    });
}

void doEject() {
    stepQueue(queues.animEject, queues.curEject, [](EjectEntry &e) {
        e.y += e.dy;
        if (e.y >= SCREEN_HEIGHT)
            return false;
        if (e.dy < EJECT_MAX_DY)
            e.dy++;
        e.x += e.dx;
        e.dx += e.dx < 0 ? 1 : e.dx > 0 ? -1 : 0;
        return true;
    });
}

// Called by the stage loop's decorations: a sparkle on a board (columns 0..7) or target (8..15) cell
// that has none yet.
void addShine(int column, int row, int value) {
    if (unsigned(column) >= 2u * BOARD_COLUMNS || unsigned(row) >= unsigned(BOARD_ROWS))
        return;
    if (queues.currentShining[16 * row + column] != 0)
        return;
    append(queues.animShine, queues.curShine, ShineEntry{column, row, 0, value + 7, SHINE_STEP_TICKS});
}

void removeShine(int column, int row) {
    if (unsigned(column) >= 2u * BOARD_COLUMNS || unsigned(row) >= unsigned(BOARD_ROWS))
        return;
    int index = queues.currentShining[16 * row + column] - 1;
    if (index < 0 || index >= queues.curShine)
        return;
    int32_t i = 0;
    stepQueue(queues.animShine, queues.curShine, [&i, index](ShineEntry &) { return i++ != index; });
}

int haveMadeit() {
    if (queues.curTrans > 0 || queues.curMove > 0 || !puzzle.currentSource)
        return 0;
    for (int r = 0; r < BOARD_ROWS; r++) {
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            if (puzzle.currentLevel[cellIndex(c, r)] != targetValue(puzzle.currentSource, c, r))
                return 0;
        }
    }
    return 1;
}

void clearQueues() {
    queues.curTrans = queues.curMove = queues.curShine = queues.curEject = 0;
    queues.currentTrans.fill(0);
    queues.currentShining.fill(0);
}

// Used by the level tool's search, which tries millions of picks. A row of the board is eight bytes,
// so the columns close up a whole row at a time: each pass lets every fruit above an empty cell drop
// one row, until a pass moves nothing.
int settlePick(const std::array<uint8_t, BOARD_CELLS> &board, int column, int row,
               std::array<uint8_t, BOARD_CELLS> &after) {
    after = board;
    if (!onBoard(column, row) || board[cellIndex(column, row)] == 0)
        return 0;
    uint8_t &centre = after[cellIndex(column, row)];
    int steps = centre == 1 ? 1 : 2;
    centre = uint8_t(centre - steps);
    for (const auto &n : pickNeighbours) {
        if (onBoard(column + n[0], row + n[1]) && after[cellIndex(column + n[0], row + n[1])] != 0)
            after[cellIndex(column + n[0], row + n[1])]--;
    }
    static_assert(BOARD_COLUMNS == sizeof(uint64_t), "a row is one word");
    uint64_t rows[BOARD_ROWS];
    memcpy(rows, after.data(), sizeof rows);
    // 0xFF in each byte of the word that holds a fruit, 0 in each empty one.
    auto fruitBytes = [](uint64_t word) {
        const uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
        uint64_t high = (((word & low7) + low7) | word) & ~low7;
        return (high >> 7) * 0xFF;
    };
    for (bool moved = true; moved;) {
        moved = false;
        for (int r = BOARD_ROWS - 1; r >= 1; r--) {
            uint64_t drop = fruitBytes(rows[r - 1]) & ~fruitBytes(rows[r]);
            if (drop == 0)
                continue;
            rows[r] |= rows[r - 1] & drop;
            rows[r - 1] &= ~drop;
            moved = true;
        }
    }
    memcpy(after.data(), rows, sizeof rows);
    return steps;
}
