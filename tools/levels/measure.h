// How hard a stage is to think through, beyond the length of its solution: whether a greedy player
// solves it, how many first picks already lose it, and how many shortest solutions it has.
#pragma once

#include "stagefile.h"

#include <cstdint>

// The game gives the solution's length plus 1 to 5 moves. The greedy player gets the most of them; a
// first pick is fatal when it loses the stage even so, or when it loses it with the fewest.
constexpr int GREEDY_SPARE_MOVES = 5;
constexpr int FATAL_SPARE_MOVES = 1;
constexpr int SOLUTIONS_CAP = 50; // counting stops here: that many or more is "many"
constexpr int UNKNOWN = -1;       // a measure whose search ran out of budget

struct Difficulty {
    int length = 0;            // the stored solution's picks
    int greedy = 0;            // picks the greedy player solves it in; 0 when it cannot, or UNKNOWN
    int firstPicks = 0;        // fruits on the start board
    int fatalFirstPicks = 0;   // first picks after which no solution fits the move limit
    int unknownFirstPicks = 0; // first picks the search could not decide
    int shortestSolutions = 0; // distinct shortest solutions up to SOLUTIONS_CAP, or UNKNOWN
    bool trap = false;         // every first pick the greedy player would make is fatal

    double fatalShare() const { return firstPicks ? double(fatalFirstPicks) / firstPicks : 0.0; }
};

// The greedy player picks, of all fruits, one that leaves the most cells equal to the target (empty
// cells included); where several are equally good it tries each. It solves the stage when one of
// these lines reaches the target within limit picks. Returns that line's picks, 0 when none does, or
// UNKNOWN when the lines branch past what it can follow.
int greedyPicks(const Board &start, const Board &target, int limit);

// Every measure of a stage whose stored solution is the shortest there is; each search plays at
// most budget picks. The fatal first picks, the costliest, are left undecided when stopWhenUndecided
// and another measure is.
Difficulty measureStage(const Stage &stage, uint64_t budget, bool stopWhenUndecided = false);
