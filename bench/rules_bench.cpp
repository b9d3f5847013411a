// The cost of the stage loop's board work and decorations per tick, the part that runs even on
// frames the pacing skips.
#include "main/bganims.h"
#include "main/level.h"
#include "main/rules.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

static std::array<uint8_t, LEVEL_RECORD_SIZE> record;

// A full board of mixed fruits, picked in the middle: the busiest pick there is.
static void newBoard() {
    for (int i = 0; i < BOARD_CELLS; i++)
        puzzle.currentLevel[i] = 1 + (i * 7 + i / 8) % 5;
    puzzle.currentSource = record.data();
    puzzle.currentCount = BOARD_CELLS;
    clearQueues();
}

// One pick from the end of its countdown until the board is idle again, in the stage loop's order.
static void BM_PickUntilIdle(benchmark::State &state) {
    srand(1);
    int64_t ticks = 0;
    for (auto _ : state) {
        newBoard();
        queues.actionX = 4;
        queues.actionY = 5;
        doSwitch();
        while (queues.curTrans || queues.curMove || queues.curEject) {
            if (queues.curTrans)
                doTrans();
            else if (queues.curMove)
                doMove();
            if (queues.curShine)
                doShine();
            if (queues.curEject)
                doEject();
            ticks++;
        }
        benchmark::DoNotOptimize(puzzle.currentLevel.data());
    }
    state.counters["ticks/pick"] = benchmark::Counter(double(ticks) / double(state.iterations()));
}
BENCHMARK(BM_PickUntilIdle);

static void BM_DecorationsTick(benchmark::State &state) {
    srand(1);
    newBoard();
    resetDecorations();
    for (auto _ : state) {
        doLionAnim();
        doBgAnims();
        benchmark::DoNotOptimize(anims.birdAnim.x);
    }
}
BENCHMARK(BM_DecorationsTick);
BENCHMARK_MAIN();
