// What a pick costs the level tool's searches: the rules' one-step settlePick against the tick replay
// through the queues that verify uses, and the difficulty measures of a mid-set stage. From the build
// folder: tools/levels/levels_bench, or under valgrind --tool=callgrind for instruction counts.
#include "generate.h"
#include "measure.h"
#include "play.h"

#include <benchmark/benchmark.h>

// A full board of mixed fruits, picked in the middle: the busiest pick there is.
static Board mixedBoard() {
    Board board{};
    for (int i = 0; i < BOARD_CELLS; i++)
        board[i] = uint8_t(1 + (i * 7 + i / 8) % 5);
    return board;
}

static void BM_SettlePick(benchmark::State &state) {
    const Board board = mixedBoard();
    Board after;
    for (auto _ : state) {
        settlePick(board, 4, 5, after);
        benchmark::DoNotOptimize(after.data());
    }
}
BENCHMARK(BM_SettlePick);

static void BM_TickReplay(benchmark::State &state) {
    const Board board = mixedBoard();
    Board after;
    srand(1);
    for (auto _ : state) {
        settledPick(board, {4, 5}, after);
        benchmark::DoNotOptimize(after.data());
    }
}
BENCHMARK(BM_TickReplay);

// Every measure of a stage made of six picks on a board of towers and low columns: the greedy
// player, the shortest solutions and the fatal first picks.
static void BM_MeasureStage(benchmark::State &state) {
    Stage stage;
    for (int c = 0; c < BOARD_COLUMNS; c++)
        for (int r = c % 3 == 0 ? 2 : 6; r < BOARD_ROWS; r++)
            stage.start[cellAt(c, r)] = uint8_t(2 + (c + 3 * r) % 4);
    stage.solution = {{0, 6}, {3, 7}, {6, 5}, {1, 9}, {4, 8}, {7, 9}};
    stage.target = stage.start;
    for (const Pick &pick : stage.solution)
        nextBoard(stage.target, pick, stage.target);
    shortenSolution(stage, DEFAULT_BUDGET);
    for (auto _ : state) {
        Difficulty difficulty = measureStage(stage, DEFAULT_BUDGET);
        benchmark::DoNotOptimize(difficulty.fatalFirstPicks);
    }
}
BENCHMARK(BM_MeasureStage)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
