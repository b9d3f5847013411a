// The level tool end to end: the packed set verifies, damaged files fail naming the stage, pack
// refuses malformed text naming the line, and the solver finds what it claims.
#include "main/level.h"
#include "play.h"
#include "run_tool.h"
#include "solve.h"
#include "stagefile.h"
#include "temp_folder.h"

#include <random>
#include <sys/stat.h>

namespace {

ToolRun runLevels(const std::string &arguments) { return runTool(LEVELS_TOOL, arguments); }

std::vector<uint8_t> plainLevels() {
    std::vector<uint8_t> plain;
    std::string error;
    EXPECT_TRUE(readLevelFile(LEVELS_FILE, plain, error)) << error;
    return plain;
}

void writeScrambled(const std::string &path, std::vector<uint8_t> plain) {
    scrambleLevels(plain.data(), plain.size());
    writeBytes(path, plain);
}

uint8_t *record(std::vector<uint8_t> &plain, int stageIndex) {
    return plain.data() + 1 + LEVEL_RECORD_SIZE * stageIndex;
}

class LevelTool : public InTempFolder {};

TEST_F(LevelTool, PackedSetVerifiesAndFollowsTheCurve) {
    ToolRun run = runLevels(std::string("verify ") + LEVELS_FILE);
    EXPECT_EQ(run.status, 0) << run.output;
    std::vector<uint8_t> plain = plainLevels();
    ASSERT_GE(plain.size(), 1u);
    int count = plain[0];
    EXPECT_GE(count, 120);
    EXPECT_LE(solutionLength(record(plain, 0)), 2);
    EXPECT_GE(solutionLength(record(plain, count - 1)), 12);
    int kinds[6] = {};
    for (int k = 0; k < count; k++)
        for (int i = 0; i < BOARD_CELLS; i++)
            kinds[record(plain, k)[16 * (i / 8) + i % 8]]++;
    for (int v = 1; v <= 5; v++)
        EXPECT_GT(kinds[v], 0) << "fruit " << v << " is never used";
}

// Each damage to a copy of the packed set must fail verify, naming the damaged stage.
TEST_F(LevelTool, VerifyNamesTheStageOfEveryDamage) {
    const std::string path = "damaged-levels.bin";
    struct Damage {
        const char *what;
        int stage; // 1-based
        void (*apply)(std::vector<uint8_t> &plain);
        const char *says;
    };
    const Damage damages[] = {
        {"a pick moved to an empty cell", 3,
         [](std::vector<uint8_t> &p) {
             uint8_t *r = record(p, 2);
             for (int row = 0; row < BOARD_ROWS; row++)
                 for (int c = 0; c < BOARD_COLUMNS; c++)
                     if (startValue(r, c, row) == 0)
                         r[LEVEL_SOLUTION_OFFSET] = uint8_t(c), r[LEVEL_SOLUTION_OFFSET + 1] = uint8_t(row);
         },
         "empty cell"},
        {"a pick dropped from the solution", 40,
         [](std::vector<uint8_t> &p) {
             uint8_t *r = record(p, 39);
             int n = solutionLength(r);
             r[LEVEL_SOLUTION_OFFSET + 2 * (n - 1)] = SOLUTION_END;
         },
         "other than the target"},
        {"a wrong target", 7,
         [](std::vector<uint8_t> &p) {
             uint8_t *r = record(p, 6);
             r[16 * 9 + 8] = r[16 * 9 + 8] == 5 ? 4 : 5;
         },
         "other than the target"},
        {"a fruit floating above an empty cell", 12,
         [](std::vector<uint8_t> &p) {
             uint8_t *r = record(p, 11);
             r[16 * 0 + 0] = 3;
             r[16 * 9 + 0] = 0;
         },
         "above an empty cell"},
        {"a stage copied over the next", 21,
         [](std::vector<uint8_t> &p) { std::copy(record(p, 19), record(p, 20), record(p, 20)); },
         "repeats stage 20"},
    };
    for (const Damage &damage : damages) {
        std::vector<uint8_t> plain = plainLevels();
        damage.apply(plain);
        writeScrambled(path, plain);
        ToolRun run = runLevels("verify " + path);
        EXPECT_NE(run.status, 0) << damage.what;
        std::string stage = "stage " + std::to_string(damage.stage) + ": ";
        EXPECT_NE(run.output.find(stage), std::string::npos) << damage.what << ":\n" << run.output;
        EXPECT_NE(run.output.find(damage.says), std::string::npos) << damage.what << ":\n" << run.output;
    }
    std::vector<uint8_t> plain = plainLevels();
    plain.resize(plain.size() - 1);
    writeScrambled(path, plain);
    ToolRun run = runLevels("verify " + path);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("bytes for"), std::string::npos) << run.output;
}

const char *const goodStage = "# a small stage\n"
                              "........  ........\n"
                              "........  ........\n"
                              "........  ........\n"
                              "........  ........\n"
                              "........  ........\n"
                              "........  ........\n"
                              "........  ........\n"
                              "........  ........\n"
                              "........  ........\n"
                              "..555...  ..434...\n"
                              "solution 3,9\n";

TEST_F(LevelTool, PackRefusesMalformedTextNamingTheLine) {
    struct Case {
        const char *text;
        const char *says;
    };
    std::string good = goodStage;
    auto replaced = [&](const std::string &from, const std::string &to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string cases[][2] = {
        {replaced("..555...  ..434...", "..555...  ..43x..."), ":11: a row is 8 board cells"},
        {replaced("..555...  ..434...", "..555..  ..434..."), ":11: a row is 8 board cells"},
        {replaced("..555...  ..434...", "..555...  ..434... 3"), ":11: a row is 8 board cells"},
        {replaced("..555...  ..434...", "..555...  ..634..."), ":11: a row is 8 board cells"},
        {replaced("solution 3,9", "solution 3,10"), ":12: a pick is column,row"},
        {replaced("solution 3,9", "solution 8,1"), ":12: a pick is column,row"},
        {replaced("solution 3,9", "solution 3;9"), ":12: a pick is column,row"},
        {replaced("solution 3,9\n", ""), ":12: the solution line is missing"},
        {replaced("solution 3,9\n", "solution 3,9\nsolution 3,9\n"), ":13: a second solution line"},
        {replaced("........  ........\n", "solution 1,1\n"), ":2: the solution comes after"},
        {replaced("........  ........\n", ""), ":11: the solution comes after the ten rows"},
        {good.substr(0, good.find("........  ........\n........  ........\n........  ........\n........  "
                                  "........\n........  ........\n")),
         ":2: the board and target need ten rows"},
        {good + "........  ........\n", ":13: text after the ten rows"},
    };
    mkdir("malformed", 0755);
    for (const auto &bad : cases) {
        writeTextFile("malformed/stage-001.txt", bad[0]);
        ToolRun run = runLevels("pack malformed malformed.bin");
        EXPECT_NE(run.status, 0) << bad[0];
        EXPECT_NE(run.output.find("malformed/stage-001.txt" + bad[1]), std::string::npos)
            << "expected " << bad[1] << ", got " << run.output;
    }
    writeTextFile("malformed/stage-001.txt", good);
    EXPECT_EQ(runLevels("pack malformed malformed.bin").status, 0);
    EXPECT_EQ(runLevels("verify malformed.bin").status, 0);
    writeTextFile("malformed/stage-003.txt", good);
    ToolRun run = runLevels("pack malformed malformed.bin");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("stage 2 is missing"), std::string::npos) << run.output;
}

TEST_F(LevelTool, UnpackAndPackGiveTheSameFileBack) {
    mkdir("unpacked", 0755);
    ASSERT_EQ(runLevels(std::string("unpack ") + LEVELS_FILE + " unpacked").status, 0);
    ASSERT_EQ(runLevels("pack unpacked repacked.bin").status, 0);
    std::vector<uint8_t> original = plainLevels(), repacked;
    std::string error;
    ASSERT_TRUE(readLevelFile("repacked.bin", repacked, error));
    EXPECT_EQ(original, repacked);
}

// A small set from the generator: the same seed gives the same files, which pack and verify.
TEST_F(LevelTool, GeneratorIsRepeatableAndItsSetsVerify) {
    ASSERT_EQ(runLevels("generate 5 first --count 8 --budget 5000").status, 0);
    ASSERT_EQ(runLevels("generate 5 second --count 8 --budget 5000").status, 0);
    for (int stage = 1; stage <= 8; stage++) {
        std::string name = stageFileName(stage);
        std::string first = readText("first/" + name);
        EXPECT_FALSE(first.empty()) << name;
        EXPECT_EQ(first, readText("second/" + name)) << name;
    }
    EXPECT_TRUE(readText("first/" + stageFileName(9)).empty());
    ASSERT_EQ(runLevels("pack first generated.bin").status, 0);
    ToolRun run = runLevels("verify generated.bin");
    EXPECT_EQ(run.status, 0) << run.output;
}

// The rules' one-step settlePick, which every search plays, against the queues run tick by tick as
// the stage loop runs them, under several rand() seeds: on every pick of every stored solution, and
// on random boards, closed up as between picks or with fruits still above gaps.
TEST(DirectRules, SettlePickLeavesTheBoardTheTickReplayLeaves) {
    auto expectSame = [](const Board &board, const Pick &pick, const std::string &where) {
        Board direct{}, replayed{};
        ASSERT_GT(settlePick(board, pick.column, pick.row, direct), 0) << where;
        for (unsigned seed : {1u, 99u, 31337u}) {
            srand(seed);
            ASSERT_TRUE(settledPick(board, pick, replayed)) << where;
            ASSERT_EQ(direct, replayed) << where << ", rand seed " << seed;
        }
    };
    std::vector<uint8_t> plain = plainLevels();
    ASSERT_FALSE(plain.empty());
    int picks = 0;
    for (int k = 0; k < plain[0]; k++) {
        Stage stage = recordToStage(record(plain, k));
        Board board = stage.start;
        for (const Pick &pick : stage.solution) {
            expectSame(board, pick, "stage " + std::to_string(k + 1) + " pick " + std::to_string(picks));
            settlePick(board, pick.column, pick.row, board);
            picks++;
        }
        EXPECT_EQ(board, stage.target) << "stage " << k + 1;
    }
    EXPECT_GE(picks, 500);
    std::mt19937 random(14);
    for (int round = 0; round < 2000; round++) {
        Board board{};
        bool settled = round % 4 != 0;
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            int height = int(random() % (BOARD_ROWS + 1));
            for (int r = BOARD_ROWS - height; r < BOARD_ROWS; r++) {
                if (settled || random() % 3 != 0)
                    board[cellAt(c, r)] = uint8_t(1 + random() % 5);
            }
        }
        std::vector<Pick> fruits;
        for (int cell = 0; cell < BOARD_CELLS; cell++) {
            if (board[cell] != 0)
                fruits.push_back({cell % BOARD_COLUMNS, cell / BOARD_COLUMNS});
        }
        if (!fruits.empty())
            expectSame(board, fruits[random() % fruits.size()], "random board " + std::to_string(round));
    }
}

TEST(DirectRules, SettlePickOfNoFruitChangesNothing) {
    Stage stage;
    std::string error;
    ASSERT_TRUE(parseStage(goodStage, "small", stage, error)) << error;
    const Pick misses[] = {{0, 0}, {2, 8}, {-1, 9}, {8, 9}, {3, 10}};
    for (const Pick &miss : misses) {
        Board after{};
        EXPECT_EQ(settlePick(stage.start, miss.column, miss.row, after), 0) << miss.column << "," << miss.row;
        EXPECT_EQ(after, stage.start);
    }
    Board board = stage.start; // the board may also be where the result goes
    EXPECT_EQ(settlePick(board, 3, 9, board), 2);
    EXPECT_EQ(board, stage.target);
}

// The solver's claims checked against the rules: what it returns solves the stage, no single pick
// does, and its lower bound never exceeds the picks a random walk needed.
TEST(Solver, FindsTheShortestSolutionOfATwoPickStage) {
    Stage stage;
    std::string error;
    ASSERT_TRUE(parseStage(goodStage, "small", stage, error)) << error;
    Board board = stage.start;
    Pick second{2, 9};
    ASSERT_TRUE(settledPick(board, stage.solution[0], board));
    ASSERT_TRUE(settledPick(board, second, board));
    SolveResult result = solveStage(stage.start, board, 4, 100000);
    ASSERT_EQ(result.picks.size(), 2u);
    EXPECT_GE(result.provenFloor, 2);
    Board replayed = stage.start;
    for (const Pick &pick : result.picks)
        ASSERT_TRUE(settledPick(replayed, pick, replayed));
    EXPECT_EQ(replayed, board);
    for (int cell = 0; cell < BOARD_CELLS; cell++) {
        Board after;
        if (settledPick(stage.start, {cell % 8, cell / 8}, after)) {
            EXPECT_NE(after, board) << "a one-pick solution at cell " << cell;
        }
    }
}

TEST(Solver, LowerBoundNeverOverestimates) {
    srand(7);
    for (int walk = 0; walk < 40; walk++) {
        Board start{};
        for (int c = 0; c < BOARD_COLUMNS; c++)
            for (int r = BOARD_ROWS - 1 - rand() % BOARD_ROWS; r < BOARD_ROWS; r++)
                start[cellAt(c, r)] = uint8_t(1 + rand() % 5);
        Board board = start;
        int picks = 0;
        for (int tries = 0; tries < 500 && picks < 12; tries++) {
            int cell = rand() % BOARD_CELLS;
            if (!settledPick(board, {cell % 8, cell / 8}, board))
                continue;
            picks++;
            int bound = pickLowerBound(start, board);
            EXPECT_GE(bound, 0);
            EXPECT_LE(bound, picks);
        }
    }
}

} // namespace
