// The shortest-solution search: iterative deepening over the boards the game's own rules produce.
#pragma once

#include "stagefile.h"

#include <cstdint>

struct SolveResult {
    std::vector<Pick> picks; // the shortest solution found, empty when none was found
    int provenFloor = 0;     // every solution has at least this many picks
    uint64_t nodes = 0;      // picks played through the rules
    bool outOfBudget = false;
};

// Searches solutions of up to maxLength picks, playing at most budget picks. A solution found is
// the shortest there is (provenFloor reaches its length); when the budget runs out first, the
// floor tells how far the search got.
SolveResult solveStage(const Board &start, const Board &target, int maxLength, uint64_t budget);

// At least this many picks turn board into target; -1 when no sequence of picks can.
int pickLowerBound(const Board &board, const Board &target);

// Solves a stage that has a known solution: the stored picks are replaced by a shorter solution
// when the search finds one. Returns the search's result for the length it tried to beat.
SolveResult shortenSolution(Stage &stage, uint64_t budget);
