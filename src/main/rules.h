// The pick and transformation rules, carried out tick by tick by four animation queues. They link
// without sound or drawing: the level tool and the solver use them as they are.
#pragma once

#include "main/defines.h"

#include <array>
#include <cstdint>

constexpr int QUEUE_SIZE = 80;

struct TransEntry { // a morph
    int32_t column, row;
    int32_t ticks;    // ticks left in the morph
    int32_t newValue; // also the drawing kind
    int32_t delay;    // start delay in ticks
};
struct MoveEntry {       // a falling fruit
    int32_t column, row; // row it fell from
    int32_t ticks;       // ticks fallen = pixels below that row
    int32_t value;
    int32_t delay;
};
struct ShineEntry { // a sparkle
    int32_t column; // 0 to 15; 8 to 15 on the target side
    int32_t row;
    int32_t step;        // 0 to 3
    int32_t frameColumn; // fruit value + 7
    int32_t ticks;       // ticks left in the step
};
struct EjectEntry { // a flying piece
    int32_t x, y;   // pixels from the board's top-left
    int32_t dx, dy; // speeds
    int32_t points; // new value + 1
};

// The four queues of the rules with their counts, the cells' back-references into them, and the pick
// counting down before it takes effect.
struct RuleQueues {
    std::array<TransEntry, QUEUE_SIZE> animTrans;
    std::array<MoveEntry, QUEUE_SIZE> animMove;
    std::array<ShineEntry, QUEUE_SIZE> animShine;
    std::array<EjectEntry, QUEUE_SIZE> animEject;
    int32_t curTrans, curMove, curShine, curEject;
    // Per cell: 0, or 1 + the index of the cell's entry.
    std::array<uint8_t, BOARD_CELLS> currentTrans; // its morph
    std::array<uint8_t, 2 * BOARD_CELLS>
        currentShining;       // its sparkle; row r: 16r + c board, 16r + 8 + c target
    int32_t curAction;        // ticks left until the pick takes effect
    int32_t actionX, actionY; // the picked cell
};
extern RuleQueues queues;

// What a tick of the rules did, for the stage to sound and to score: the rules themselves make no
// sound, draw nothing and keep no score.
struct RuleEvents {
    int morphsBegun;  // morphs whose start delay ended
    int fruitsLanded; // falling fruits that came to rest
    int points;       // points of the morphs that passed half-way (a flying piece shows each)
};

int doSwitch(); // picks (actionX, actionY): the centre's steps (1 or 2), or 0
int switchTile(int column, int row, int steps, int delay);
RuleEvents doTrans(); // one tick of the morphs
RuleEvents doMove();  // one tick of the falls
void doShine();
void doEject();
void addShine(int column, int row, int value); // a sparkle on a board (0..7) or target (8..15) cell
void removeShine(int column, int row);
int haveMadeit();
void clearQueues(); // empties all four queues and their back-references

// The board a pick leaves once every morph has ended and every fall has landed, in one step and
// without the queues: the picked fruit two steps lower (one from 1), each fruit beside, above and
// below it one step lower, then every column closed up downward in order. The queues settle to this
// board whatever rand() draws. Returns the centre's steps as doSwitch does; 0 when the cell is off
// the board or empty, and after is then a copy of board.
int settlePick(const std::array<uint8_t, BOARD_CELLS> &board, int column, int row,
               std::array<uint8_t, BOARD_CELLS> &after);
