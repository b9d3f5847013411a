// The level tool's searches over the boards the game's own rules produce: the shortest solution,
// whether a board can still be solved within a number of picks, and how many shortest solutions
// there are.
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

// For each board, whether it can still become target within picks picks: YES, NO, or UNKNOWN once
// the searches, which share what they learn, have played budget picks in all.
enum class Reach { YES, NO, UNKNOWN };
std::vector<Reach> reachWithin(const std::vector<Board> &boards, const Board &target, int picks,
                               uint64_t budget);

// The distinct solutions of exactly length picks, where length is the shortest there is. Two
// solutions that pick the same cells the same number of times, in whatever order, count as one.
// Counts up to cap; -1 when the budget ran out first.
int countShortestSolutions(const Board &start, const Board &target, int length, int cap, uint64_t budget);
