// Whole games, headless: scripted controls on the virtual clock play through the tutorial, stages,
// the pause menu, lost lives, game over, continue, the hiscore entry and the ending.
#include "main/entry.h"
#include "stage_fixture.h"

class StageFlow : public StageTest {
  protected:
    // What the game looked like when a menu choice was confirmed.
    struct Snapshot {
        Board board;
        int32_t lives, score;
    };
    std::vector<Snapshot> snapshotsAtConfirm() { return snapshots; }
    void recordConfirms() {
        soundProbe() = [this](int index) {
            if (index == SFX_SELECT_OPTION)
                snapshots.push_back({currentLevel, lives, score});
        };
    }
    // The points the picks score on the board, counted with the game's rules.
    static int32_t pointsOf(const Board &start, const std::vector<Pick> &picks) {
        score = 0;
        playPicks(start, picks);
        return score;
    }
    std::vector<Snapshot> snapshots;
};

static const Board fives = filledBoard(5);

// A board with a single fruit of value 1 in the bottom-left corner and a target that wants it in
// the bottom-right corner: picking it leaves nothing.
static std::vector<uint8_t> allGoneRecord() {
    Board start{}, target{};
    start[0 + 8 * 9] = 1;
    target[7 + 8 * 9] = 1;
    return makeRecord(start, {}, &target);
}

static void exitThroughPause(Script &s) {
    s.start();
    s.press(SDL_SCANCODE_UP); // 0 wraps to EXIT
    s.jump();
}

TEST_F(StageFlow, NewGameSolvesTheFirstStageAndStartsTheSecond) {
    const std::vector<Pick> picks = tenSpreadPicks();
    const int32_t pickPoints = pointsOf(fives, picks);
    useLevels({makeRecord(fives, picks), makeRecord(fives, picks), makeRecord(fives, picks)});
    Script s;
    s.at = sysTicks() + 500;
    s.jump(); // leaves the tutorial
    s.wait(300);
    int x = 4, y = 5;
    for (const Pick &pick : picks)
        s.pick(x, y, pick);
    s.wait(9000); // the mascot's jump and the 360 ticks of the count
    exitThroughPause(s);
    run(0, 0, 0);

    EXPECT_EQ(sysVirtualPendingEvents(), 0);
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(loadGame(), 1);
    EXPECT_EQ(currentSource, levels + LEVEL_RECORD_SIZE); // stage 2 was playing
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(curMusic, 1);
    int32_t timeBonus = score - pickPoints - 30 - 200; // 3 lives, solved in the solution's moves
    EXPECT_GE(timeBonus, 60);
    EXPECT_LE(timeBonus, 100);
    EXPECT_EQ(escape, 1);
    EXPECT_EQ(workflow, 0);
}

TEST_F(StageFlow, UndoIsOneMoveDeepAndRestartCostsALife) {
    const Board afterOne = playPicks(fives, {{0, 0}});
    const Board afterTwo = playPicks(fives, {{0, 0}, {3, 0}});
    useLevels({makeRecord(fives, tenSpreadPicks()), makeRecord(fives, tenSpreadPicks())});
    recordConfirms();
    Script s;
    s.at = sysTicks() + 500;
    int x = 4, y = 5;
    s.pick(x, y, {0, 0});
    s.pick(x, y, {3, 0});
    s.pauseAndChoose(1); // DOWN reaches UNDO LAST MOVE
    s.pauseAndChoose(1); // undo is spent: DOWN reaches RESTART LEVEL
    s.wait(500);
    exitThroughPause(s);
    run(1, 0, 0);

    ASSERT_EQ(snapshots.size(), 3u);
    EXPECT_EQ(snapshots[0].board, afterTwo);
    EXPECT_EQ(snapshots[1].board, afterOne);
    EXPECT_EQ(snapshots[1].lives, 3);
    EXPECT_EQ(snapshots[2].board, fives); // the restarted stage
    EXPECT_EQ(snapshots[2].lives, 2);
    EXPECT_EQ(lives, 2);
    EXPECT_GT(score, 0); // points stay after undo and restart
}

TEST_F(StageFlow, ClickThenActionPicksTheClickedCell) {
    useLevels({makeRecord(fives, tenSpreadPicks()), makeRecord(fives, tenSpreadPicks())});
    recordConfirms();
    Script s;
    s.at = sysTicks() + 500;
    s.click(150, 70); // beside the board: the action is dropped
    s.jump();
    s.wait(1000);
    s.click(20, 70); // cell (0, 0)
    s.jump();
    s.wait(2500);
    exitThroughPause(s);
    run(1, 0, 0);
    ASSERT_EQ(snapshots.size(), 1u);
    EXPECT_EQ(snapshots[0].board, playPicks(fives, {{0, 0}}));
    EXPECT_EQ(cursorX, 0);
    EXPECT_EQ(cursorY, 0);
}

TEST_F(StageFlow, AutoResolveSolvesTheStageOncePerGame) {
    useLevels({makeRecord(fives, tenSpreadPicks()), makeRecord(fives, tenSpreadPicks()),
               makeRecord(fives, tenSpreadPicks()), makeRecord(fives, tenSpreadPicks())});
    Script s;
    s.at = sysTicks() + 500;
    s.jump();            // a pick off the solution, still counting down when the menu opens
    s.pauseAndChoose(1); // no move yet: DOWN goes straight to AUTO RESOLVE
    s.wait(40000);       // the replay, the jump and the count
    s.pauseAndChoose(1); // stage 3: AUTO RESOLVE is spent, DOWN reaches EXIT
    run(1, 0, 0);

    EXPECT_EQ(sysVirtualPendingEvents(), 0);
    EXPECT_EQ(saved, 2); // the replay solved stage 2 despite the pending pick
    EXPECT_EQ(currentSource, levels + 2 * LEVEL_RECORD_SIZE);
    EXPECT_EQ(canSolve, 0);
    EXPECT_EQ(escape, 1);
    EXPECT_EQ(lives, 3);
}

TEST_F(StageFlow, TimeUpCostsALifeAndReplaysTheStage) {
    useLevels({makeRecord(fives, tenSpreadPicks()), makeRecord(fives, tenSpreadPicks())});
    Script s;
    s.at = sysTicks() + 121000;
    s.jump(); // confirms "TIME UP"
    s.wait(1000);
    exitThroughPause(s);
    run(1, 0, 0);
    EXPECT_EQ(lives, 2);
    EXPECT_EQ(currentSource, levels + LEVEL_RECORD_SIZE);
    // The warning every 67 ticks through the last 11 seconds, none in the replayed stage.
    std::vector<uint32_t> warnings = soundTimes(SFX_TIMER_LAST_10_SEC);
    ASSERT_EQ(warnings.size(), 13u);
    EXPECT_GE(warnings[1] - warnings[0], 880u);
    EXPECT_LE(warnings[1] - warnings[0], 910u); // 67 ticks of 40/3 ms, give or take a frame
}

TEST_F(StageFlow, NoMoveLeftCostsALife) {
    useLevels({makeRecord(fives, tenSpreadPicks()), makeRecord(fives, {{0, 0}})});
    srand(7);
    const int moves = 1 + rand() % 5 + 1; // run draws the stage's bonus first
    srand(7);
    const Pick wrong[] = {{7, 9}, {4, 9}, {1, 9}, {7, 6}, {4, 6}, {1, 6}};
    Script s;
    s.at = sysTicks() + 500;
    int x = 4, y = 5;
    for (int i = 0; i < moves; i++)
        s.pick(x, y, wrong[i]);
    s.jump(); // confirms "NO MOVE LEFT"
    s.wait(500);
    exitThroughPause(s);
    run(1, 0, 0);
    EXPECT_EQ(lives, 2);
    EXPECT_EQ(sysVirtualPendingEvents(), 0);
}

TEST_F(StageFlow, GameOverHiscoreContinueAndExit) {
    useLevels({makeRecord(fives, tenSpreadPicks()), allGoneRecord(), makeRecord(fives, tenSpreadPicks())});
    Script s;
    s.at = sysTicks() + 500;
    for (int life = 0; life < 3; life++) {
        int x = 4, y = 5;
        s.pick(x, y, {0, 9}); // all gone
        s.jump();             // confirms "ALL GONE", the third time the game over screen
    }
    s.jump(); // the name: A, B, C
    s.hold(SDL_SCANCODE_UP, 40);
    s.press(SDL_SCANCODE_RIGHT);
    s.hold(SDL_SCANCODE_UP, 40);
    s.hold(SDL_SCANCODE_UP, 40);
    s.start();
    s.press(SDL_SCANCODE_LEFT); // continue
    s.wait(500);
    recordConfirms();
    exitThroughPause(s);
    run(1, 0, 0);

    EXPECT_EQ(sysVirtualPendingEvents(), 0);
    EXPECT_STREQ(hiscores[0].name, "ABC");
    EXPECT_EQ(hiscores[0].score, 3);
    EXPECT_EQ(hsRank, 0);
    EXPECT_EQ(workflow, 0);          // only the continue screen's EXIT and the ending lead to the table
    ASSERT_EQ(snapshots.size(), 1u); // the continued stage
    EXPECT_EQ(snapshots[0].lives, 3);
    EXPECT_EQ(snapshots[0].score, 0);
    EXPECT_EQ(currentSource, levels + LEVEL_RECORD_SIZE);
}

TEST_F(StageFlow, GameOverThenExitByClickShowsTheHiscores) {
    useLevels({makeRecord(fives, tenSpreadPicks()), allGoneRecord()});
    Script s;
    s.at = sysTicks() + 500;
    for (int life = 0; life < 3; life++) {
        int x = 4, y = 5;
        s.pick(x, y, {0, 9});
        s.quit(); // discarded on the lost-life screens
        s.jump();
    }
    s.start();         // the name "A"
    s.click(250, 120); // the EXIT side of the continue screen
    run(1, 0, 0);
    EXPECT_EQ(sysVirtualPendingEvents(), 0);
    EXPECT_STREQ(hiscores[0].name, "A");
    EXPECT_EQ(hsRank, 0);
    EXPECT_EQ(workflow, -3);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(lives, 0);
}

TEST_F(StageFlow, LastStageWonShowsTheEndingAndTheHiscoreEntry) {
    useLevels({makeRecord(fives, tenSpreadPicks()), makeRecord(fives, {{4, 5}})});
    Script s;
    s.at = sysTicks() + 500;
    s.jump();      // the cursor starts on the solution's only pick
    s.wait(11000); // the morphs, the jump, the count, then the ending
    s.jump();      // leaves the ending
    s.start();     // the name "A"
    run(1, 0, 0);

    EXPECT_EQ(sysVirtualPendingEvents(), 0);
    EXPECT_EQ(workflow, -3);
    EXPECT_EQ(hsRank, 0);
    EXPECT_STREQ(hiscores[0].name, "A");
    EXPECT_GT(hiscores[0].score, 200);
    EXPECT_EQ(saved, 0); // no next stage to save
    EXPECT_NE(access("savegame.dat", F_OK), 0);
    EXPECT_EQ(MP_PlayingMusic(), 0);
}
