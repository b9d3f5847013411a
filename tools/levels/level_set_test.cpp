// The level set as curated, from the stage files the build packs: the rules every stage keeps. And
// the pieces the generator curates with: the shape families, the likeness of two stages and the rule
// for breathers.
#include "generate.h"
#include "measure.h"
#include "play.h"
#include "shapes.h"

#include <gtest/gtest.h>

namespace {

std::vector<Stage> levelSet() {
    std::vector<Stage> stages;
    std::string error;
    EXPECT_TRUE(readStageFolder(LEVELS_DIR, stages, error)) << error;
    return stages;
}

TEST(LevelSet, EveryStageSaysWhatItIsAboutAndIsProvenShortest) {
    std::vector<Stage> stages = levelSet();
    ASSERT_GE(stages.size(), size_t(GENERATED_STAGES));
    for (size_t k = 0; k < stages.size(); k++) {
        const Stage &stage = stages[k];
        ASSERT_EQ(stage.comments.size(), 2u) << "stage " << k + 1;
        EXPECT_GT(stage.comments[0].size(), 20u) << "stage " << k + 1 << " says what it is about";
        EXPECT_EQ(stage.comments[1], " solver: shortest, proven") << "stage " << k + 1;
        int length = int(stage.solution.size());
        SolveResult result = solveStage(stage.start, stage.target, length - 1, DEFAULT_BUDGET);
        EXPECT_TRUE(result.picks.empty()) << "stage " << k + 1 << " has a shorter solution";
        EXPECT_GE(result.provenFloor, length) << "stage " << k + 1;
    }
}

TEST(LevelSet, TeachesFirstThenDefeatsTheGreedyPlayer) {
    std::vector<Stage> stages = levelSet();
    ASSERT_GE(stages.size(), size_t(GENERATED_STAGES));
    const size_t teachingLengths[TEACHING_STAGES] = {1, 1, 1, 1, 2, 2};
    for (int k = 0; k < TEACHING_STAGES; k++)
        EXPECT_EQ(stages[size_t(k)].solution.size(), teachingLengths[k]) << "stage " << k + 1;
    for (size_t k = GREEDY_ALLOWED_UP_TO; k < stages.size(); k++) {
        const Stage &stage = stages[k];
        int limit = int(stage.solution.size()) + GREEDY_SPARE_MOVES;
        EXPECT_EQ(greedyPicks(stage.start, stage.target, limit), 0) << "stage " << k + 1;
    }
}

TEST(LevelSet, BreathersAreGentleTargetsKeepFruitAndNoStageLooksLikeAnother) {
    std::vector<Stage> stages = levelSet();
    std::vector<int> lengths;
    for (const Stage &stage : stages)
        lengths.push_back(int(stage.solution.size()));
    for (size_t k = 0; k < stages.size(); k++) {
        EXPECT_TRUE(gentleBreather(lengths, k)) << "stage " << k + 1 << " of " << lengths[k] << " picks";
        if (k >= size_t(TEACHING_STAGES)) {
            EXPECT_GE(2 * fruitCount(stages[k].target), fruitCount(stages[k].start))
                << "stage " << k + 1 << " keeps half its fruits";
        }
        for (size_t j = 0; j < k; j++)
            EXPECT_FALSE(nearDuplicate(stages[j].start, stages[k].start))
                << "stages " << j + 1 << ", " << k + 1;
    }
    EXPECT_GT(lengths.back(), lengths[GREEDY_ALLOWED_UP_TO]); // the curve rises
}

TEST(Curation, StagesAlikeAndBreathers) {
    Board a{};
    for (int c = 0; c < BOARD_COLUMNS; c++)
        for (int r = 6; r < BOARD_ROWS; r++)
            a[cellAt(c, r)] = uint8_t(1 + (c + 2 * r) % 5); // 32 fruits, not mirrored
    Board mirror{}, quarter = a, third = a, other{};
    for (int c = 0; c < BOARD_COLUMNS; c++)
        for (int r = 0; r < BOARD_ROWS; r++)
            mirror[cellAt(BOARD_COLUMNS - 1 - c, r)] = a[cellAt(c, r)];
    for (int i = 0; i < 7; i++)
        quarter[48 + i] = uint8_t(quarter[48 + i] % 5 + 1); // 7 of 32 cells differ
    for (int i = 0; i < 11; i++)
        third[48 + i] = uint8_t(third[48 + i] % 5 + 1); // 11 of 32
    other[cellAt(0, 9)] = other[cellAt(1, 9)] = 4;
    Board small{};
    small[cellAt(6, 9)] = small[cellAt(7, 9)] = 4;
    EXPECT_TRUE(nearDuplicate(a, a));
    EXPECT_TRUE(nearDuplicate(a, mirror));
    EXPECT_TRUE(nearDuplicate(a, quarter));
    EXPECT_FALSE(nearDuplicate(a, third));
    EXPECT_FALSE(nearDuplicate(a, other));
    EXPECT_TRUE(nearDuplicate(small, other)); // the mirror of a two-fruit board

    const struct {
        std::vector<int> lengths;
        bool gentle;
    } breathers[] = {
        {{8, 8, 8, 8, 8, 8, 8, 8, 4}, true}, // half the mean of the eight before
        {{8, 8, 8, 8, 8, 8, 8, 8, 3}, false},
        {{2, 9, 9, 9, 9, 9, 9, 9, 9, 4}, false}, // only the eight before count
        {{6, 2}, false},
        {{5}, true},
    };
    for (const auto &b : breathers)
        EXPECT_EQ(gentleBreather(b.lengths, b.lengths.size() - 1), b.gentle) << b.lengths.size();
}

TEST(Shapes, EveryFamilyDrawsAClosedUpBoard) {
    for (int p = 0; p < pictureCount(); p++) {
        Board picture = pictureBoard(p);
        EXPECT_TRUE(isGravityStable(picture)) << "picture " << p;
        EXPECT_GE(fruitCount(picture), 20) << "picture " << p;
    }
    Random random(11);
    for (int family = 0; family < FAMILY_COUNT; family++) {
        for (int round = 0; round < 40; round++) {
            int fruits = 10 + round, kinds = 2 + round % 4;
            Shape shape = makeShape(Family(family), fruits, kinds, random);
            std::string what = std::string(familyName(Family(family))) + " " + std::to_string(round);
            EXPECT_EQ(shape.family, family) << what;
            EXPECT_TRUE(isGravityStable(shape.board)) << what;
            EXPECT_GT(fruitCount(shape.board), 0) << what;
            EXPECT_FALSE(shape.about.empty()) << what;
            if (family == FAMILY_FULL) {
                EXPECT_EQ(fruitCount(shape.board), BOARD_CELLS) << what;
            }
            if (shape.mirrored) {
                for (int cell = 0; cell < BOARD_CELLS; cell++) {
                    int c = cell % BOARD_COLUMNS, r = cell / BOARD_COLUMNS;
                    ASSERT_EQ(shape.board[cell], shape.board[cellAt(BOARD_COLUMNS - 1 - c, r)]) << what;
                }
            }
        }
    }
}

} // namespace
