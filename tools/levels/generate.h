// The level set generator: boards of authored shapes, solutions and targets made from a seed along a
// difficulty curve, each stage the best of many candidates by the difficulty measures.
#pragma once

#include "solve.h"
#include "stagefile.h"

#include <cstdint>

constexpr int GENERATED_STAGES = 120;
constexpr int TEACHING_STAGES = 6;           // drawn by hand, one rule each
constexpr int GREEDY_ALLOWED_UP_TO = 12;     // later stages must defeat the greedy player
constexpr uint64_t DEFAULT_BUDGET = 2000000; // picks a search may play

// The whole set, the same for the same seed and budget; progress goes to stderr.
std::vector<Stage> generateLevels(uint32_t seed, int count, uint64_t budget);

// The comment line that records what the solver proved about a stage's solution.
void noteSolverResult(Stage &stage, const SolveResult &result, uint64_t budget);

// Two stages look alike when their start boards differ in fewer than a quarter of the cells that
// hold a fruit on either, also with one of them mirrored.
bool nearDuplicate(const Board &a, const Board &b);

// A stage may not be shorter than about half the mean of the eight before it.
bool gentleBreather(const std::vector<int> &lengths, size_t index);
