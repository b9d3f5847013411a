// The stage's screens one by one: pause menu, bonus count, lost-stage reasons, hiscore name entry,
// tutorial and ending, each driven by scripted controls on the virtual clock.
#include "main/entry.h"
#include "main/pause.h"
#include "main/stageend.h"
#include "main/tutorial.h"
#include "sound/modplayer.h"
#include "stage_fixture.h"

// A stage set up as the stage loop does it, without running the loop.
class StageScreens : public StageTest {
  protected:
    void SetUp() override {
        StageTest::SetUp();
        useLevels(
            {makeRecord(filledBoard(5), tenSpreadPicks()), makeRecord(filledBoard(5), tenSpreadPicks())});
        play = StagePlay{};
        currentBonus = 3;
        loadLevel(0);
        lives = 3;
        score = 0;
        canSolve = 1;
        canUndo = 0;
        lameMode = 0;
        currentTime = sysTicks();
        endTime = currentTime + 120000;
        playedSounds().clear(); // the morphs that made the records played effects too
    }
    StagePlay play;
};

using Availability = std::array<int, PAUSE_ITEMS>;

TEST(PauseSelection, SkipsUnavailableItemsAndWraps) {
    const Availability fresh{1, 0, 0, 1, 1}, noSolver{1, 0, 0, 0, 1}, all{1, 1, 1, 1, 1};
    EXPECT_EQ(pauseStep(fresh, 0, 1), 3);
    EXPECT_EQ(pauseStep(fresh, 3, 1), 4);
    EXPECT_EQ(pauseStep(fresh, 4, 1), 0);
    EXPECT_EQ(pauseStep(noSolver, 0, 1), 4);
    EXPECT_EQ(pauseStep(noSolver, 4, 1), 0);
    EXPECT_EQ(pauseStep(noSolver, 0, -1), 4);
    EXPECT_EQ(pauseStep(fresh, 3, -1), 0);
    EXPECT_EQ(pauseStep(all, 2, -1), 1);
    // A click on an unavailable row falls back to the nearest available item above it.
    EXPECT_EQ(pauseClickItem({1, 1, 0, 0, 1}, 2), 1);
    EXPECT_EQ(pauseClickItem({1, 0, 0, 0, 1}, 2), 0);
    EXPECT_EQ(pauseClickItem(fresh, 3), 3);
}

TEST_F(StageScreens, PauseAvailabilityFollowsTheBoard) {
    EXPECT_EQ(pauseAvailability(play), (Availability{1, 0, 0, 1, 1}));
    play.movesUsed = 1;
    canUndo = 1;
    EXPECT_EQ(pauseAvailability(play), (Availability{1, 1, 1, 1, 1}));
    curEject = 1; // a piece still flying: no undo yet
    EXPECT_EQ(pauseAvailability(play), (Availability{1, 0, 1, 1, 1}));
    curEject = 0;
    canSolve = 0;
    EXPECT_EQ(pauseAvailability(play), (Availability{1, 1, 1, 0, 1}));
    canSolve = 1;
    loadLevel(-1); // the test stage has no stored solution to replay
    EXPECT_EQ(pauseAvailability(play)[PAUSE_SOLVE], 0);
}

TEST_F(StageScreens, PauseFreezesTheTimeLeft) {
    sysVirtualAdvance(20000);
    uint32_t left = endTime - sysTicks();
    paused = 1;
    Script script;
    script.at = sysTicks() + 5000; // five seconds in the menu
    script.jump();
    pauseMenu(play);
    EXPECT_GE(currentTime, script.at - 200);
    EXPECT_EQ(endTime - currentTime, left);
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(sounds(SFX_SELECT_OPTION), 1);
}

TEST_F(StageScreens, PauseMenuChoices) {
    // Fresh stage: DOWN visits 3, 4, then wraps to 0; a fourth DOWN lands on AUTO RESOLVE.
    Script script;
    script.at = sysTicks() + 100;
    for (int i = 0; i < 4; i++)
        script.press(SDL_SCANCODE_DOWN);
    script.jump();
    pauseMenu(play);
    EXPECT_EQ(play.solving, 1);
    EXPECT_EQ(play.solIndex, -1);
    EXPECT_EQ(canSolve, 0);
    EXPECT_EQ(sounds(SFX_MENU_CONTROL), 4);

    // Without the solver, UP from 0 wraps to EXIT, which ends the game at the stage's end test.
    play = StagePlay{};
    play.musicPending = 1;
    script.at = sysTicks() + 100;
    script.press(SDL_SCANCODE_UP);
    script.jump();
    pauseMenu(play);
    EXPECT_EQ(escape, 1);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(play.musicPending, 0);
}

TEST_F(StageScreens, PauseClickSelectsTheNearestAvailableItemAbove) {
    play.movesUsed = 2; // restart available, undo not
    int base = pauseTitle->h + 16;
    Script script;
    script.at = sysTicks() + 100;
    script.click(100, base + 32 * 2 + 5); // RESTART LEVEL's row
    script.jump();
    pauseMenu(play);
    EXPECT_EQ(play.restart, 1);
    EXPECT_EQ(lives, 2);

    play.restart = 0;
    play.movesUsed = 0; // now undo and restart are both unavailable: the click selects item 0
    lives = 3;
    script.at = sysTicks() + 100;
    script.click(100, base + 32 * 2 + 5);
    script.jump();
    pauseMenu(play);
    EXPECT_EQ(play.restart, 0);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(escape, 0);
}

TEST_F(StageScreens, UndoIsOneMoveDeep) {
    Board before = currentLevel;
    actionX = 2;
    actionY = 2;
    doSwitch();
    while (curTrans > 0 || curMove > 0 || curEject > 0)
        curTrans > 0 ? doTrans() : curMove > 0 ? doMove() : (doEject(), 0);
    currentUndo = before;
    canUndo = 1;
    play.movesUsed = 1;
    int32_t scoreAfterPick = score;
    ASSERT_NE(currentLevel, before);

    Script script;
    script.at = sysTicks() + 100;
    script.press(SDL_SCANCODE_DOWN);
    script.jump();
    pauseMenu(play);
    EXPECT_EQ(currentLevel, before);
    EXPECT_EQ(currentCount, BOARD_CELLS);
    EXPECT_EQ(play.movesUsed, 0);
    EXPECT_EQ(canUndo, 0);
    EXPECT_EQ(score, scoreAfterPick); // points stay
    EXPECT_EQ(pauseAvailability(play)[PAUSE_UNDO], 0);
}

TEST_F(StageScreens, AutoResolveResetsThenWalksColumnsFirst) {
    // A pick still counting down and a morph under way are dropped with the reset.
    curAction = 12;
    actionX = 7;
    actionY = 9;
    switchTile(5, 5, 1, 0);
    currentLevel[0] = 1;
    play.solving = 1;
    play.solIndex = -1;
    play.movesUsed = 4;
    resetBoard(play);
    EXPECT_EQ(currentLevel, filledBoard(5));
    EXPECT_EQ(curAction, 0);
    EXPECT_EQ(curTrans, 0);
    EXPECT_EQ(currentTrans[5 + 8 * 5], 0);
    EXPECT_EQ(play.movesUsed, 0);
    EXPECT_EQ(play.solIndex, 0);

    // The first pick is (0, 0): from (4, 5) four steps left, five up, then the pick.
    cursorX = 4;
    cursorY = 5;
    for (int step = 0; step < 9; step++) {
        autoResolveStep(play);
        EXPECT_EQ(curAction, 0);
    }
    EXPECT_EQ(cursorX, 0);
    EXPECT_EQ(cursorY, 0);
    paused = done = escape = 1;
    lastKeyTyped = CTRL_START;
    autoResolveStep(play);
    EXPECT_EQ(curAction, 32);
    EXPECT_EQ(play.solIndex, 2);
    EXPECT_EQ(paused + done + escape + lastKeyTyped, 0); // the solver ignores every control
    autoResolveStep(play);                               // waits while the pick counts down
    EXPECT_EQ(play.solIndex, 2);
}

TEST_F(StageScreens, AutoResolveStopsAtTheEndMarker) {
    play.solving = 1;
    play.solIndex = 2 * 10; // past the ten picks
    autoResolveStep(play);
    EXPECT_EQ(play.solving, 0);
    play.solving = 1;
    play.solIndex = 2 * LEVEL_MAX_SOLUTION; // a full solution ends without reading past the record
    autoResolveStep(play);
    EXPECT_EQ(play.solving, 0);
}

TEST_F(StageScreens, BonusValues) {
    // 75.9 s left, 3 lives, limit 13 (solution 10, bonus 3), 12 moves made.
    currentMoves = 13;
    currentBonus = 3;
    play.movesUsed = 12;
    endTime = currentTime + 75900;
    StageBonus bonus = stageBonus(play);
    EXPECT_EQ(bonus.time, 75);
    EXPECT_EQ(bonus.life, 30);
    EXPECT_EQ(bonus.move, 10);
    play.movesUsed = 10;
    EXPECT_EQ(stageBonus(play).move, 200);
    play.movesUsed = 7;
    EXPECT_EQ(stageBonus(play).move, 200);
    endTime = currentTime;
    EXPECT_EQ(stageBonus(play).time, 0);
}

TEST_F(StageScreens, BonusCountCreditsEachLineOnce) {
    currentMoves = 13;
    currentBonus = 3;
    play.movesUsed = 12;
    endTime = currentTime + 75900;
    // Confirms during the jump do nothing; then four confirms end the count at once.
    Script script;
    script.at = sysTicks() + 300;
    script.jump();
    script.at = sysTicks() + 2000; // the jump lasts 140 ticks, about 1870 ms
    for (int i = 0; i < 4; i++)
        script.jump();
    uint32_t began = sysTicks();
    EXPECT_EQ(stageWon(play), 1);
    EXPECT_EQ(score, 115);
    EXPECT_LT(sysTicks() - began, 4500u); // well before the 360 ticks of a full count
    EXPECT_EQ(play.stage, 1);
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(loadGame(), 1);
    EXPECT_GE(currentBonus, 1);
    EXPECT_LE(currentBonus, 5);
}

TEST_F(StageScreens, BonusCountWithoutConfirmsEndsByItself) {
    currentMoves = 13;
    currentBonus = 3;
    play.movesUsed = 10;
    endTime = currentTime + 2500;
    score = 2490; // the count passes 2500: a life is won while counting
    EXPECT_EQ(stageWon(play), 1);
    EXPECT_EQ(score, 2490 + 2 + 30 + 200);
    EXPECT_EQ(lives, 4);
}

TEST_F(StageScreens, LostReasons) {
    struct Case {
        uint32_t left;
        int32_t moves, limit;
        int text;
    } cases[] = {
        {0, 13, 13, 44},    // time up wins over the move limit
        {5000, 13, 13, 45}, // no move left
        {5000, 4, 13, 46},  // all gone
    };
    for (const Case &c : cases) {
        endTime = currentTime + c.left;
        play.movesUsed = c.moves;
        currentMoves = c.limit;
        EXPECT_EQ(lostReason(play), c.text) << c.left << " " << c.moves;
    }
}

TEST(NameLetters, CycleThroughTheBlank) {
    char letter = 'A';
    for (int i = 0; i < 26; i++)
        letter = nextLetter(letter);
    EXPECT_EQ(letter, ' ');
    EXPECT_EQ(nextLetter(' '), 'A');
    EXPECT_EQ(previousLetter('A'), ' ');
    EXPECT_EQ(previousLetter(' '), 'Z');
    EXPECT_EQ(nextLetter('A'), 'B');
}

// Name entry scripts: UP or DOWN held briefly steps once, JUMP/RIGHT advance, LEFT held goes back.
struct EntryCase {
    const char *what;
    void (*type)(Script &);
    const char *name;
};

static void up(Script &s, int times) {
    for (int i = 0; i < times; i++)
        s.hold(SDL_SCANCODE_UP, 40);
}

static const EntryCase entryCases[] = {
    {"START at once", [](Script &s) { s.start(); }, "A"},
    {"three letters",
     [](Script &s) {
         s.jump();
         up(s, 1);
         s.press(SDL_SCANCODE_RIGHT);
         up(s, 2);
         s.start();
     },
     "ABC"},
    {"back with LEFT",
     [](Script &s) {
         up(s, 3);
         s.jump();
         up(s, 4);
         s.jump();
         up(s, 5);
         s.hold(SDL_SCANCODE_LEFT, 40);
         s.start();
     },
     "DE"},
    {"DOWN from A gives the blank, then Z",
     [](Script &s) {
         s.hold(SDL_SCANCODE_DOWN, 40);
         s.jump();
         s.hold(SDL_SCANCODE_DOWN, 40);
         s.hold(SDL_SCANCODE_DOWN, 40);
         s.start();
     },
     " Z"},
    {"JUMP past the last letter",
     [](Script &s) {
         for (int i = 0; i < 8; i++)
             s.jump();
     },
     "AAAAAAAA"},
};

TEST_F(StageScreens, HiscoreNameEntry) {
    for (const EntryCase &c : entryCases) {
        hiscoresAt(10);
        score = 11;
        Script script;
        script.at = sysTicks() + 100;
        c.type(script);
        EXPECT_EQ(checkHiscore(), 0) << c.what;
        EXPECT_STREQ(hiscores[0].name, c.name) << c.what;
        EXPECT_EQ(hiscores[0].score, 11) << c.what;
        EXPECT_EQ(hiscores[0].kind, HISCORE_PLAYER) << c.what;
        EXPECT_EQ(sysVirtualPendingEvents(), 0) << c.what;
    }
}

TEST_F(StageScreens, HiscoreNeedsMoreThanTheTenthEntry) {
    hiscoresAt(10);
    score = 10;
    hsRank = 4;
    EXPECT_EQ(checkHiscore(), -1);
    EXPECT_EQ(hsRank, -1);
    EXPECT_STREQ(hiscores[9].name, "NOBODY");
}

TEST_F(StageScreens, HiscoreEntryClicksAndQuit) {
    hiscoresAt(10);
    score = 500;
    Script script;
    script.at = sysTicks() + 100;
    script.click(150, 150); // below the name: the letter steps forward
    script.click(150, 150);
    script.click(150, 100); // above: back
    script.quit();          // only noted: the name must still be finished
    script.start();
    EXPECT_EQ(checkHiscore(), 0);
    EXPECT_STREQ(hiscores[0].name, "B");
    EXPECT_EQ(escape, 1);
    // The table reached the disk.
    hiscoresAt(0);
    loadHiscores(0);
    EXPECT_STREQ(hiscores[0].name, "B");
    EXPECT_EQ(hiscores[0].score, 500);
}

TEST_F(StageScreens, TutorialLeavesOnlyOnStartOrJump) {
    Script script;
    script.at = sysTicks() + 100;
    script.press(SDL_SCANCODE_RIGHT);
    script.press(SDL_SCANCODE_TAB);
    script.press(SDL_SCANCODE_DOWN);
    script.at = sysTicks() + 1500; // about 110 passes: hippo sounds on drawn frames 32 and 96
    script.jump();
    tutorialScreen(0, 0);
    EXPECT_GE(sysTicks(), script.at - 300);
    EXPECT_EQ(sounds(SFX_HIPPO), 2);
    EXPECT_EQ(sysVirtualPendingEvents(), 0);
}

TEST_F(StageScreens, TutorialHippoSoundsEvery64DrawnFrames) {
    // Unhurried frames on the virtual clock: three drawn every 40 ms, frame 1 at 7 ms.
    uint32_t began = sysTicks();
    Script script;
    script.at = began + 2500;
    script.jump();
    tutorialScreen(0, 0);
    std::vector<uint32_t> times = soundTimes(SFX_HIPPO);
    ASSERT_EQ(times.size(), 3u);
    EXPECT_EQ(times[0] - began, 414u);  // frame 32 = 3 × 10 + 2, drawn at 40 × 10 + 14
    EXPECT_EQ(times[1] - began, 1280u); // frame 96 = 3 × 32
    EXPECT_EQ(times[2] - began, 2127u); // frame 160 = 3 × 53 + 1
}

TEST_F(StageScreens, CongratulationsLeaveOnConfirmOrQuit) {
    Script script;
    script.at = sysTicks() + 100;
    script.press(SDL_SCANCODE_LEFT);
    script.at += 2000;
    script.start();
    congratScreen();
    EXPECT_GE(sysTicks(), script.at - 300);
    EXPECT_EQ(MP_PlayingMusic(), 0);
    script.at = sysTicks() + 300;
    script.quit();
    congratScreen();
    EXPECT_EQ(done, 1);
}
