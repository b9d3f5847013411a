// The pick and transformation rules: picks, morphs, gravity, falls, flying pieces, sparkles, points.
#include "board_fixture.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

static int &cell(int c, int r) { return puzzle.currentLevel[c + BOARD_COLUMNS * r]; }

// Each live queue entry's cell points back at it, and no other cell points anywhere.
static void expectBackReferences() {
    std::array<uint8_t, BOARD_CELLS> trans{};
    for (int i = 0; i < queues.curTrans; i++)
        trans[queues.animTrans[i].column + 8 * queues.animTrans[i].row] = uint8_t(i + 1);
    EXPECT_EQ(queues.currentTrans, trans);
    std::array<uint8_t, 2 * BOARD_CELLS> shine{};
    for (int i = 0; i < queues.curShine; i++)
        shine[16 * queues.animShine[i].row + queues.animShine[i].column] = uint8_t(i + 1);
    EXPECT_EQ(queues.currentShining, shine);
}

class Rules : public BoardFixture {
  protected:
    void setBoard(int c, int r, int v) {
        cell(c, r) = v;
        puzzle.currentCount = int(
            std::count_if(puzzle.currentLevel.begin(), puzzle.currentLevel.end(), [](int x) { return x; }));
    }
    int pick(int c, int r) {
        queues.actionX = c;
        queues.actionY = r;
        return doSwitch();
    }
};

TEST_F(Rules, PickOfValueOneIsOneShortMorphScoringOnePoint) {
    setBoard(3, 9, 1);
    EXPECT_EQ(pick(3, 9), 1);
    ASSERT_EQ(queues.curTrans, 1);
    EXPECT_EQ(queues.animTrans[0].ticks, 31);
    EXPECT_EQ(queues.animTrans[0].newValue, 0);
    EXPECT_EQ(queues.animTrans[0].delay, 1);
    EXPECT_EQ(queues.currentTrans[3 + 8 * 9], 1);

    EXPECT_EQ(trans().morphsBegun, 1); // the start delay ends: the morph begins
    for (int i = 0; i < 30; i++)
        trans();
    EXPECT_EQ(queues.curTrans, 1);
    EXPECT_EQ(cell(3, 9), 1); // the fruit shows until its morph ends
    trans();
    EXPECT_EQ(queues.curTrans, 0);
    EXPECT_EQ(cell(3, 9), 0);
    EXPECT_EQ(queues.currentTrans[3 + 8 * 9], 0);
    EXPECT_EQ(puzzle.currentCount, 0);
    EXPECT_EQ(scoredPoints(), 1);
    ASSERT_EQ(queues.curEject, 1);
    EXPECT_EQ(queues.animEject[0].points, 1);
    EXPECT_EQ(queues.animEject[0].x, 48);
    EXPECT_EQ(queues.animEject[0].y, 144);
}

TEST_F(Rules, PickOfValueFourScoresThreeTwiceAtFortyEightAndSixteenTicksLeft) {
    setBoard(3, 9, 4);
    EXPECT_EQ(pick(3, 9), 2);
    EXPECT_EQ(queues.animTrans[0].ticks, 63);
    EXPECT_EQ(queues.animTrans[0].newValue, 2);
    for (int i = 0; i < 15; i++) // one tick of start delay, then 14 of the morph
        trans();
    EXPECT_EQ(scoredPoints(), 0);
    trans(); // 48 ticks left
    EXPECT_EQ(scoredPoints(), 3);
    for (int i = 0; i < 31; i++)
        trans();
    EXPECT_EQ(scoredPoints(), 3);
    trans(); // 16 ticks left
    EXPECT_EQ(scoredPoints(), 6);
    EXPECT_EQ(queues.curEject, 2);
    runToIdle(10000, expectBackReferences);
    EXPECT_EQ(cell(3, 9), 2);
    EXPECT_EQ(puzzle.currentCount, 1);
}

TEST_F(Rules, NeighboursStartLaterAfterATwoStepCentre) {
    // Each neighbour's start delay is one tick more than the centre's plus 0..31, or 8..39 after a
    // two-step centre.
    int lowest[2] = {99, 99}, highest[2] = {0, 0};
    for (int seed = 1; seed <= 200; seed++) {
        for (int centre : {1, 4}) {
            SetUp();
            srand(seed);
            for (int c = 2; c <= 4; c++)
                for (int r = 7; r <= 9; r++)
                    setBoard(c, r, 3);
            setBoard(3, 8, centre);
            int steps = pick(3, 8);
            ASSERT_EQ(queues.curTrans, 5);
            int s = steps - 1;
            for (int i = 1; i < 5; i++) {
                lowest[s] = std::min(lowest[s], queues.animTrans[i].delay - 1);
                highest[s] = std::max(highest[s], queues.animTrans[i].delay - 1);
            }
        }
    }
    EXPECT_EQ(lowest[0], 0);
    EXPECT_EQ(highest[0], 31);
    EXPECT_EQ(lowest[1], 8);
    EXPECT_EQ(highest[1], 39);
}

TEST_F(Rules, NeighboursInOrderLeftRightUpDownSkippingTheEdge) {
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 10; r++)
            setBoard(c, r, 3);
    EXPECT_EQ(pick(0, 0), 2);
    ASSERT_EQ(queues.curTrans, 3); // the corner has a right and a lower neighbour only
    EXPECT_EQ(queues.animTrans[1].column, 1);
    EXPECT_EQ(queues.animTrans[1].row, 0);
    EXPECT_EQ(queues.animTrans[2].column, 0);
    EXPECT_EQ(queues.animTrans[2].row, 1);
    expectBackReferences();

    SetUp();
    for (int c = 0; c < 8; c++)
        for (int r = 0; r < 10; r++)
            setBoard(c, r, 3);
    pick(4, 5);
    ASSERT_EQ(queues.curTrans, 5);
    const int expected[5][2] = {{4, 5}, {3, 5}, {5, 5}, {4, 4}, {4, 6}};
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(queues.animTrans[i].column, expected[i][0]);
        EXPECT_EQ(queues.animTrans[i].row, expected[i][1]);
        EXPECT_EQ(queues.animTrans[i].newValue, i == 0 ? 1 : 2);
    }
}

TEST_F(Rules, EmptyOrOffBoardPickQueuesNothing) {
    setBoard(3, 4, 0);
    setBoard(4, 4, 5); // a fruit next to the empty pick stays untouched
    const int picks[][2] = {{3, 4}, {-1, 0}, {8, 0}, {0, 10}, {0, -1}, {1000, 1000}};
    for (const auto &p : picks) {
        EXPECT_EQ(pick(p[0], p[1]), 0) << p[0] << "," << p[1];
        EXPECT_EQ(queues.curTrans, 0);
    }
    EXPECT_EQ(switchTile(8, 0, 1, 0), 0);
    EXPECT_EQ(switchTile(3, 4, 1, 0), 0);
    EXPECT_EQ(queues.curTrans, 0);
}

TEST_F(Rules, MoreStepsThanTheValueMakeOneShortMorph) {
    setBoard(2, 9, 1);
    EXPECT_EQ(switchTile(2, 9, 2, 5), 1);
    EXPECT_EQ(queues.animTrans[0].ticks, 31);
    EXPECT_EQ(queues.animTrans[0].newValue, 0);
    EXPECT_EQ(queues.animTrans[0].delay, 6);
}

TEST_F(Rules, NeighbourOfThreeMorphsToTwoAndScoresThree) {
    setBoard(3, 9, 1);
    setBoard(4, 9, 3);
    pick(3, 9);
    runToIdle(10000, expectBackReferences);
    EXPECT_EQ(cell(3, 9), 0);
    EXPECT_EQ(cell(4, 9), 2);
    EXPECT_EQ(scoredPoints(), 1 + 3);
    EXPECT_EQ(puzzle.currentCount, 1);
}

TEST_F(Rules, ColumnFallsGapByGapLandingAfterSixteenAndThirtyTwoTicks) {
    // Column 2 from row 6 down: 3, empty, 2, empty. A vanishing fruit elsewhere runs gravity.
    setBoard(2, 6, 3);
    setBoard(2, 8, 2);
    setBoard(6, 9, 1);
    pick(6, 9);
    while (queues.curTrans)
        trans();
    ASSERT_EQ(queues.curMove, 2);
    EXPECT_EQ(cell(2, 6), 0); // falling fruits are off the board but still counted
    EXPECT_EQ(cell(2, 8), 0);
    EXPECT_EQ(puzzle.currentCount, 2);
    MoveEntry two = queues.animMove[0], three = queues.animMove[1];
    EXPECT_EQ(two.row, 8);
    EXPECT_EQ(two.value, 2);
    EXPECT_EQ(three.row, 6);
    EXPECT_EQ(three.value, 3);
    EXPECT_GE(three.delay, two.delay);
    EXPECT_LE(three.delay - two.delay, 3);

    int tick = 0;
    for (; tick < two.delay + 15; tick++)
        EXPECT_EQ(doMove().fruitsLanded, 0);
    EXPECT_EQ(cell(2, 9), 0);
    EXPECT_EQ(doMove().fruitsLanded, 1); // one fruit lands
    tick++;
    EXPECT_EQ(cell(2, 9), 2);
    for (; tick < three.delay + 31; tick++)
        doMove();
    EXPECT_EQ(cell(2, 8), 0);
    EXPECT_EQ(queues.curMove, 1);
    doMove();
    EXPECT_EQ(cell(2, 8), 3);
    EXPECT_EQ(queues.curMove, 0);
    EXPECT_EQ(puzzle.currentCount, 2);
}

TEST_F(Rules, NoFallIntoAGapBelowAMorphStillWorking) {
    // Column 0: fruit at row 5 being morphed slowly, gap at row 9 below it, a fruit at row 3 above
    // the gap at row 4. Only the fruit at row 3 falls when the first morph ends.
    setBoard(0, 3, 2);
    setBoard(0, 5, 4);
    setBoard(0, 6, 1);
    setBoard(0, 7, 1);
    setBoard(0, 8, 1);
    setBoard(7, 9, 1);
    switchTile(0, 5, 2, 50); // still working when the next one ends
    queues.actionX = 7;
    queues.actionY = 9;
    doSwitch();
    while (queues.curTrans == 2)
        trans();
    ASSERT_EQ(queues.curMove, 1);
    EXPECT_EQ(queues.animMove[0].row, 3);
    EXPECT_EQ(cell(0, 6), 1);
    runToIdle(10000, expectBackReferences);
    const int column[10] = {0, 0, 0, 0, 0, 2, 2, 1, 1, 1};
    for (int r = 0; r < 10; r++)
        EXPECT_EQ(cell(0, r), column[r]) << "row " << r;
}

TEST_F(Rules, FlyingPieceRisesThenFallsUpToEightPixelsPerTickUntilOffScreen) {
    queues.animEject[0] = EjectEntry{32, 100, 4, -4, 1};
    queues.curEject = 1;
    std::vector<int> dys, dxs;
    while (queues.curEject) {
        EjectEntry before = queues.animEject[0];
        doEject();
        if (queues.curEject) {
            dys.push_back(queues.animEject[0].y - before.y);
            dxs.push_back(queues.animEject[0].x - before.x);
        } else {
            EXPECT_GE(before.y + before.dy, 240);
        }
    }
    std::vector<int> expectedDy = {-4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8,
                                   8,  8,  8,  8,  8, 8, 8, 8, 8, 8, 8, 8};
    expectedDy.resize(dys.size(), 8);
    EXPECT_EQ(dys, expectedDy);
    EXPECT_LT(100 + std::accumulate(dys.begin(), dys.end(), 0), 240);
    std::vector<int> expectedDx = {4, 3, 2, 1};
    expectedDx.resize(dxs.size(), 0);
    EXPECT_EQ(dxs, expectedDx);
}

TEST_F(Rules, PiecesFlyToEachSideInTurn) {
    for (int c = 0; c < 8; c += 2) {
        setBoard(c, 9, 1);
        switchTile(c, 9, 1, 0); // four morphs in step: their pieces come out in one pass
    }
    while (queues.curEject == 0)
        trans();
    ASSERT_EQ(queues.curEject, 4);
    const int cycle[4] = {-4, 2, -2, 4};
    int first = int(std::find(cycle, cycle + 4, queues.animEject[0].dx) - cycle);
    ASSERT_LT(first, 4);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(queues.animEject[i].dx, cycle[(first + i) % 4]);
        EXPECT_EQ(queues.animEject[i].dy, -4);
        EXPECT_EQ(queues.animEject[i].x, 32 * i);
    }
}

TEST_F(Rules, SparklesLastFourStepsAndKeepTheirBackReferencesWhenOthersGo) {
    setBoard(1, 2, 3);
    addShine(1, 2, 3);  // board cell (1, 2)
    addShine(12, 0, 5); // target cell (4, 0)
    addShine(5, 9, 1);
    addShine(12, 0, 5); // already shining: no second sparkle
    ASSERT_EQ(queues.curShine, 3);
    EXPECT_EQ(queues.animShine[1].frameColumn, 12);
    EXPECT_EQ(queues.animShine[1].ticks, 4);
    expectBackReferences();

    removeShine(1, 2);
    ASSERT_EQ(queues.curShine, 2);
    EXPECT_EQ(queues.animShine[0].column, 12);
    EXPECT_EQ(queues.currentShining[12], 1);
    EXPECT_EQ(queues.currentShining[16 * 9 + 5], 2);
    expectBackReferences();
    removeShine(3, 3); // nothing shines there
    removeShine(-1, 20);
    EXPECT_EQ(queues.curShine, 2);

    // A pick takes the sparkle off its cell.
    addShine(1, 2, 3);
    pick(1, 2);
    EXPECT_EQ(queues.currentShining[16 * 2 + 1], 0);
    expectBackReferences();

    queues.curTrans = 0;
    queues.currentTrans.fill(0);
    int ticks = 0;
    while (queues.curShine) {
        doShine();
        expectBackReferences();
        ticks++;
    }
    EXPECT_EQ(ticks, 16);
}

TEST_F(Rules, FullQueueRefusesAnotherEntry) {
    for (int i = 0; i < QUEUE_SIZE; i++)
        addShine(i % 16, i / 16, 1);
    ASSERT_EQ(queues.curShine, QUEUE_SIZE);
    EXPECT_DEBUG_DEATH(addShine(0, 5, 1), "");
    EXPECT_EQ(queues.curShine, QUEUE_SIZE);
    EXPECT_EQ(queues.currentShining[16 * 5], 0);
}

TEST_F(Rules, SolvedOnlyWhenBoardEqualsTargetAndNothingIsPending) {
    record[8 + 3] = 2; // target (3, 0)
    EXPECT_EQ(haveMadeit(), 0);
    setBoard(3, 0, 2);
    EXPECT_EQ(haveMadeit(), 1);
    queues.curEject = 1; // flying pieces and sparkles do not matter
    queues.curShine = 1;
    EXPECT_EQ(haveMadeit(), 1);
    queues.curMove = 1;
    EXPECT_EQ(haveMadeit(), 0);
    queues.curMove = 0;
    queues.curTrans = 1;
    EXPECT_EQ(haveMadeit(), 0);
}

// The board a pick leaves once everything has settled: the picked fruit two steps lower (one from 1),
// its neighbours one step, then every column closed up downward in order.
static std::array<int32_t, BOARD_CELLS> settled(std::array<int32_t, BOARD_CELLS> board, int c, int r,
                                                int *points) {
    int v = board[c + 8 * r];
    int steps = v == 1 ? 1 : 2;
    board[c + 8 * r] = v - steps;
    *points = steps * (v - steps + 1);
    const int neighbours[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto &n : neighbours) {
        int nc = c + n[0], nr = r + n[1];
        if (nc < 0 || nc > 7 || nr < 0 || nr > 9 || board[nc + 8 * nr] == 0)
            continue;
        board[nc + 8 * nr]--;
        *points += board[nc + 8 * nr] + 1;
    }
    for (int col = 0; col < 8; col++) {
        std::vector<int> fruits;
        for (int row = 0; row < 10; row++)
            if (board[col + 8 * row])
                fruits.push_back(board[col + 8 * row]);
        for (int row = 0; row < 10; row++) {
            int fromTop = row - (10 - int(fruits.size()));
            board[col + 8 * row] = fromTop >= 0 ? fruits[fromTop] : 0;
        }
    }
    return board;
}

TEST_F(Rules, AnyPickSettlesToTheSameBoardWhateverRandReturns) {
    std::mt19937 boards(20260);
    for (int round = 0; round < 300; round++) {
        std::array<int32_t, BOARD_CELLS> start{};
        std::vector<std::pair<int, int>> fruits;
        for (int c = 0; c < 8; c++) {
            int height = int(boards() % 11);
            for (int r = 10 - height; r < 10; r++) {
                start[c + 8 * r] = int(boards() % 5) + 1;
                fruits.emplace_back(c, r);
            }
        }
        if (fruits.empty())
            continue;
        auto [pc, pr] = fruits[boards() % fruits.size()];
        int points = 0;
        std::array<int32_t, BOARD_CELLS> expected = settled(start, pc, pr, &points);
        int expectedCount = int(std::count_if(expected.begin(), expected.end(), [](int v) { return v; }));
        for (unsigned seed : {1u, 7u, 12345u, 99999u}) {
            SetUp();
            srand(seed + unsigned(round));
            puzzle.currentLevel = start;
            puzzle.currentCount = int(fruits.size());
            ASSERT_GT(pick(pc, pr), 0);
            runToIdle(10000, expectBackReferences);
            ASSERT_EQ(puzzle.currentLevel, expected)
                << "round " << round << " pick " << pc << "," << pr << " seed " << seed;
            EXPECT_EQ(puzzle.currentCount, expectedCount);
            EXPECT_EQ(scoredPoints(), points);
        }
    }
}
