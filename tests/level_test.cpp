// The level file, its scrambling, the test level and the set-up of a stage.
#include "main/bganims.h"
#include "main/level.h"
#include "main/levelfile.h"
#include "main/rules.h"

#include "board_fixture.h"
#include "temp_folder.h"

#include <random>
#include <sys/stat.h>

// A plain record: start values from start(c, r), targets all 1, solution of n picks (c, r) = (j % 8, 9).
static Bytes makeRecord(int (*start)(int, int), int n) {
    Bytes record(LEVEL_RECORD_SIZE, 0);
    for (int r = 0; r < 10; r++)
        for (int c = 0; c < 8; c++) {
            record[16 * r + c] = uint8_t(start(c, r));
            record[16 * r + 8 + c] = 1;
        }
    for (int j = 0; j < 64; j++) {
        record[160 + 2 * j] = j < n ? uint8_t(j % 8) : 255;
        record[161 + 2 * j] = j < n ? 9 : 255;
    }
    return record;
}

// A scrambled level file with count byte `count` and the given records, cut to `size` bytes if given.
static Bytes makeLevelFile(int count, const std::vector<Bytes> &records, size_t size = SIZE_MAX) {
    Bytes file{uint8_t(count)};
    for (const Bytes &record : records)
        file.insert(file.end(), record.begin(), record.end());
    if (size < file.size())
        file.resize(size);
    scrambleLevels(file.data(), file.size());
    return file;
}

static int fullBoard(int, int) { return 3; }
static int twentyThree(int c, int r) { return c + 8 * r < 23 ? 1 + (c + r) % 5 : 0; }

// Every test runs in a fresh folder with a data/ subfolder for the level file.
class LevelFiles : public InTempFolder {
  protected:
    void SetUp() override {
        InTempFolder::SetUp();
        mkdir("data", 0755);
        puzzle.currentBonus = 0;
    }
};

TEST(Scrambling, FirstByteAloneAndAKnownPair) {
    uint8_t one[2] = {0x10, 0x77};
    descrambleLevels(one, 1);
    EXPECT_EQ(one[0], 0x10 ^ 0x5B);
    EXPECT_EQ(one[1], 0x77); // past the given size: untouched

    // Byte 1: plain ^ key1[1] ^ key0[1] ^ previous plain ^ 1.
    uint8_t pair[2] = {0x02 ^ 0x5B, 0xAA ^ 0x93 ^ 0x71 ^ 0x02 ^ 0x01};
    descrambleLevels(pair, 2);
    EXPECT_EQ(pair[0], 0x02);
    EXPECT_EQ(pair[1], 0xAA);
    descrambleLevels(pair, 0); // nothing to do
    EXPECT_EQ(pair[0], 0x02);
}

TEST(Scrambling, RoundTripsWithTheLevelToolsScrambler) {
    Bytes plain(1 + 3 * LEVEL_RECORD_SIZE);
    for (size_t i = 0; i < plain.size(); i++)
        plain[i] = uint8_t(i * 37 + (i >> 3));
    Bytes data = plain;
    scrambleLevels(data.data(), data.size());
    EXPECT_NE(data, plain);
    descrambleLevels(data.data(), data.size());
    EXPECT_EQ(data, plain);
}

TEST(Solution, LengthStopsAtTheFirstEndMarkerInAColumnByte) {
    Bytes none = makeRecord(fullBoard, 0);
    EXPECT_EQ(solutionLength(none.data()), 0);
    Bytes five = makeRecord(fullBoard, 5);
    EXPECT_EQ(solutionLength(five.data()), 5);
    Bytes all = makeRecord(fullBoard, 64);
    EXPECT_EQ(solutionLength(all.data()), 64);
    five[161 + 2 * 2] = 255; // a row byte of 255 does not end it
    EXPECT_EQ(solutionLength(five.data()), 5);
    EXPECT_EQ(solutionLength(nullptr), 0);
}

TEST_F(LevelFiles, CountsOnlyCompleteRecords) {
    struct Case {
        int count, records;
        size_t extra; // bytes of a further, incomplete record
        int expected;
    };
    const Case cases[] = {{2, 2, 0, 2}, {5, 2, 100, 2}, {1, 2, 0, 1}, {255, 1, 287, 1}};
    for (const Case &k : cases) {
        std::vector<Bytes> records(size_t(k.records + 1), makeRecord(fullBoard, 3));
        writeBytes("data/levels.bin", makeLevelFile(k.count, records, 1 + k.records * 288 + k.extra));
        loadLevels();
        EXPECT_EQ(levelSet.levelCount, k.expected) << k.count << " " << k.records;
        ASSERT_NE(levelSet.levelsData, nullptr);
        EXPECT_EQ(levelSet.levels, levelSet.levelsData + 1);
        EXPECT_EQ(levelSet.levels[0], 3); // descrambled
    }
}

// The fatal error speaks on standard output; the death test reads standard error.
static void loadLevelsSpeakingOnStderr() {
    dup2(2, 1);
    loadLevels();
}

TEST_F(LevelFiles, NoCompleteRecordEndsTheGameNamingTheFile) {
    EXPECT_EXIT(loadLevelsSpeakingOnStderr(), ::testing::ExitedWithCode(1), "data/levels\\.bin"); // missing
    writeBytes("data/levels.bin", makeLevelFile(3, {makeRecord(fullBoard, 1)}, 1 + 287));
    EXPECT_EXIT(loadLevelsSpeakingOnStderr(), ::testing::ExitedWithCode(1),
                "No complete level.*data/levels\\.bin");
    writeBytes("data/levels.bin", makeLevelFile(0, {makeRecord(fullBoard, 1)}));
    EXPECT_EXIT(loadLevelsSpeakingOnStderr(), ::testing::ExitedWithCode(1),
                "No complete level.*data/levels\\.bin");
    fclose(fopen("data/levels.bin", "wb")); // empty
    EXPECT_EXIT(loadLevelsSpeakingOnStderr(), ::testing::ExitedWithCode(1), "data/levels\\.bin");
}

TEST_F(LevelFiles, StageSetUpFromARecord) {
    writeBytes("data/levels.bin", makeLevelFile(3, {makeRecord(fullBoard, 0), makeRecord(twentyThree, 7),
                                                    makeRecord(fullBoard, 64)}));
    loadLevels();
    ASSERT_EQ(levelSet.levelCount, 3);

    puzzle.cursorX = puzzle.cursorY = puzzle.cursorA = 1;
    puzzle.currentBonus = 4;
    loadLevel(1);
    EXPECT_EQ(puzzle.currentSource, levelSet.levels + 288);
    EXPECT_EQ(puzzle.currentSol, levelSet.levels + 288 + 160);
    EXPECT_EQ(puzzle.currentMoves, 7 + 4);
    EXPECT_EQ(puzzle.currentCount, 23);
    EXPECT_EQ(puzzle.currentLevel[0], 1);
    EXPECT_EQ(puzzle.currentLevel[22], 4);
    EXPECT_EQ(puzzle.currentLevel[23], 0);
    EXPECT_EQ(puzzle.cursorA, 0);
    EXPECT_EQ(puzzle.cursorX, 4);
    EXPECT_EQ(puzzle.cursorY, 5);

    loadLevel(0);
    EXPECT_EQ(puzzle.currentMoves, 4); // no solution: the bonus moves only
    EXPECT_EQ(puzzle.currentCount, 80);
    loadLevel(2);
    EXPECT_EQ(puzzle.currentMoves, 64 + 4);
    loadLevel(3); // past the last stage: the last one again rather than a read past the file
    EXPECT_EQ(puzzle.currentSource, levelSet.levels + 2 * 288);
}

TEST_F(LevelFiles, DamagedRecordsAreMadeSafe) {
    Bytes record = makeRecord(fullBoard, 10);
    record[16 * 2 + 3] = 9;       // start value
    record[16 * 4 + 8 + 1] = 200; // target value
    record[160 + 2 * 6] = 8;      // a pick off the board ends the solution
    writeBytes("data/levels.bin", makeLevelFile(1, {record}));
    loadLevels();
    loadLevel(0);
    EXPECT_EQ(puzzle.currentLevel[3 + 8 * 2], 5);
    EXPECT_EQ(targetValue(puzzle.currentSource, 1, 4), 5);
    EXPECT_EQ(solutionLength(puzzle.currentSource), 6);
}

TEST_F(LevelFiles, TestStageUsesTestBinOnlyWhenItHoldsExactly160Bytes) {
    levelSet.testLevel.fill(0);
    loadTestLevel();
    loadLevel(-1); // no test.bin yet: the all-zero board, already equal to its target
    EXPECT_EQ(puzzle.currentSol, nullptr);
    EXPECT_EQ(puzzle.currentMoves, 64);
    EXPECT_EQ(puzzle.currentCount, 0);
    EXPECT_EQ(haveMadeit(), 1);

    Bytes board = makeRecord(twentyThree, 0);
    board.resize(160);
    board[0] = 7; // no such fruit: the highest
    writeBytes("test.bin", board);
    loadTestLevel();
    loadLevel(-1);
    EXPECT_EQ(puzzle.currentSource, levelSet.testLevel.data());
    EXPECT_EQ(puzzle.currentCount, 23);
    EXPECT_EQ(puzzle.currentLevel[0], 5);
    EXPECT_EQ(puzzle.currentMoves, 64);

    for (size_t size : {159u, 161u, 0u}) {
        Bytes other = makeRecord(fullBoard, 0);
        other.resize(size);
        writeBytes("test.bin", other);
        loadTestLevel();
        loadLevel(-1);
        EXPECT_EQ(puzzle.currentCount, 23) << size << " bytes";
    }
}

TEST_F(LevelFiles, RandomLevelFilesPlaySafely) {
    // Whatever a level file holds, each stage sets up a board of fruit values and its stored
    // solution plays through the rules without leaving the board or the queues.
    std::mt19937 random(77);
    for (int round = 0; round < 40; round++) {
        Bytes plain(1 + 288 * (1 + random() % 3) + random() % 288);
        for (uint8_t &byte : plain)
            byte = uint8_t(random() % 4 == 0 ? 255 : random());
        plain[0] = uint8_t(1 + random() % 255);
        scrambleLevels(plain.data(), plain.size());
        writeBytes("data/levels.bin", plain);
        loadLevels();
        ASSERT_GE(levelSet.levelCount, 1);
        ASSERT_LE(levelSet.levelCount, int((plain.size() - 1) / 288));
        for (int stage = 0; stage < levelSet.levelCount; stage++) {
            loadLevel(stage);
            for (int j = 0; j < solutionLength(puzzle.currentSource); j++) {
                queues.actionX = puzzle.currentSol[2 * j];
                queues.actionY = puzzle.currentSol[2 * j + 1];
                ASSERT_TRUE(queues.actionX < 8 && queues.actionY < 10);
                doSwitch();
                runToIdle(2000);
                ASSERT_EQ(queues.curTrans + queues.curMove + queues.curEject, 0);
            }
            int fruits = 0;
            for (int r = 0; r < 10; r++) {
                for (int c = 0; c < 8; c++) {
                    ASSERT_TRUE(puzzle.currentLevel[c + 8 * r] >= 0 && puzzle.currentLevel[c + 8 * r] <= 5);
                    ASSERT_LE(targetValue(puzzle.currentSource, c, r), 5);
                    fruits += puzzle.currentLevel[c + 8 * r] != 0;
                }
            }
            EXPECT_EQ(puzzle.currentCount, fruits);
        }
    }
}
