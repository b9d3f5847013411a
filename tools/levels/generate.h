// The level set generator: boards, solutions and targets made from a seed along a difficulty curve.
#pragma once

#include "solve.h"
#include "stagefile.h"

#include <cstdint>

constexpr int GENERATED_STAGES = 120;
constexpr uint64_t DEFAULT_BUDGET = 2000000; // picks the solver may play per search

// The whole set, the same for the same seed and budget; progress goes to stderr.
std::vector<Stage> generateLevels(uint32_t seed, int count, uint64_t budget);

// The comment line that records what the solver proved about a stage's solution.
void noteSolverResult(Stage &stage, const SolveResult &result, uint64_t budget);
