// The stage's screens one by one: pause menu, bonus count, lost-stage reasons, hiscore name entry,
// tutorial and ending, each run by the screen runner with input scripted by tick.
#include "main/entry.h"
#include "main/menulist.h"
#include "main/pause.h"
#include "main/stageend.h"
#include "main/tutorial.h"
#include "sound/modplayer.h"
#include "stage_fixture.h"

// A stage set up as the stage start does it, without running the stage.
class StageScreens : public StageTest {
  protected:
    void SetUp() override {
        StageTest::SetUp();
        playLevels(
            {makeRecord(filledBoard(5), tenSpreadPicks()), makeRecord(filledBoard(5), tenSpreadPicks())});
        puzzle.currentBonus = 3;
        loadLevel(0);
        play.lives = 3;
        play.score = 0;
        play.canSolve = 1;
        play.canUndo = 0;
        play.lameMode = 0;
        play.currentTime = sysTicks();
        play.endTime = play.currentTime + 120000;
        playedSounds().clear();
    }
};

// A key tapped, then time for the screen to rest after acting on it.
static void press(InputScript &script, SDL_Scancode key, int rest = 12) { script.tap(key).wait(rest); }

using Availability = std::array<int, PAUSE_ITEMS>;

// The menus' selection: the pause menu's items as a fresh stage offers them, or without the solver.
TEST(MenuList, StepsSkipRowsNotOfferedAndWrap) {
    const int fresh[] = {1, 0, 0, 1, 1}, noSolver[] = {1, 0, 0, 0, 1}, all[] = {1, 1, 1, 1, 1};
    struct Case {
        const int *offered;
        int from, step, to;
    } cases[] = {{fresh, 0, 1, 3},    {fresh, 3, 1, 4},     {fresh, 4, 1, 0},  {noSolver, 0, 1, 4},
                 {noSolver, 4, 1, 0}, {noSolver, 0, -1, 4}, {fresh, 3, -1, 0}, {all, 2, -1, 1},
                 {nullptr, 4, 1, 0},  {nullptr, 0, -1, 4}};
    for (const Case &c : cases)
        EXPECT_EQ(listStep(MenuList{5, c.offered, c.from}, c.step), c.to) << c.from << " by " << c.step;
}

TEST(MenuList, AClickSelectsItsRowOrTheNearestOfferedAboveAndActsOnTheSelectedOne) {
    const int offered[] = {1, 1, 0, 0, 1};
    MenuList list{5, offered, 4};
    EXPECT_EQ(listClick(list, 3), LIST_MOVED);
    EXPECT_EQ(list.selection, 1);
    EXPECT_EQ(listClick(list, 1), LIST_ACT);
    EXPECT_EQ(listClick(list, 5), LIST_NONE); // below the rows
    EXPECT_EQ(listClick(list, -1), LIST_NONE);
    EXPECT_EQ(list.selection, 1);
    EXPECT_EQ(listMove(list, 0), LIST_NONE);
    EXPECT_EQ(listMove(list, 1), LIST_MOVED);
    EXPECT_EQ(list.selection, 4);
}

TEST_F(StageScreens, PauseAvailabilityFollowsTheBoard) {
    EXPECT_EQ(pauseAvailability(), (Availability{1, 0, 0, 1, 1}));
    play.movesUsed = 1;
    play.canUndo = 1;
    EXPECT_EQ(pauseAvailability(), (Availability{1, 1, 1, 1, 1}));
    queues.curEject = 1; // a piece still flying: no undo yet
    EXPECT_EQ(pauseAvailability(), (Availability{1, 0, 1, 1, 1}));
    queues.curEject = 0;
    play.canSolve = 0;
    EXPECT_EQ(pauseAvailability(), (Availability{1, 1, 1, 0, 1}));
    play.canSolve = 1;
    loadLevel(-1); // the test stage has no stored solution to replay
    EXPECT_EQ(pauseAvailability()[PAUSE_SOLVE], 0);
}

TEST_F(StageScreens, PauseFreezesTheTimeLeft) {
    sysVirtualAdvance(20000);
    uint32_t left = play.endTime - sysTicks();
    play.paused = 1;
    const uint32_t opened = sysTicks();
    script.at(300).tap(SDL_SCANCODE_SPACE); // five seconds in the menu
    runScreen(pauseScreen);
    EXPECT_NEAR(play.currentTime - opened, 302 * 1000.0 / 60, 1); // 302 ticks in the menu
    EXPECT_EQ(play.endTime - play.currentTime, left);
    EXPECT_EQ(play.paused, 0);
    EXPECT_EQ(sounds(SFX_SELECT_OPTION), 1);
}

TEST_F(StageScreens, PauseMenuChoices) {
    // Fresh stage: DOWN visits 3, 4, then wraps to 0; a fourth DOWN lands on AUTO RESOLVE.
    script.wait(5);
    for (int i = 0; i < 4; i++)
        press(script, SDL_SCANCODE_DOWN);
    script.tap(SDL_SCANCODE_SPACE);
    runScreen(pauseScreen);
    EXPECT_EQ(play.solving, 1);
    EXPECT_EQ(play.solIndex, -1);
    EXPECT_EQ(play.canSolve, 0);
    EXPECT_EQ(sounds(SFX_MENU_CONTROL), 4);

    // Without the solver, UP from 0 wraps to EXIT, which ends the game at the stage's end test.
    play = StagePlay{};
    play.musicPending = 1;
    InputScript exit;
    exit.wait(5).tap(SDL_SCANCODE_UP).wait(5).tap(SDL_SCANCODE_SPACE).start();
    screenPush(pauseScreen);
    screenRun();
    EXPECT_EQ(play.escape, 1);
    EXPECT_EQ(play.musicPending, 0);
}

TEST_F(StageScreens, PauseClickSelectsTheNearestAvailableItemAbove) {
    play.movesUsed = 2; // restart available, undo not
    int base = images.pauseTitle->h + 16;
    script.wait(5).click(100, base + 32 * 2 + 5).wait(5).tap(SDL_SCANCODE_SPACE); // RESTART LEVEL's row
    runScreen(pauseScreen);
    EXPECT_EQ(play.restart, 1);
    EXPECT_EQ(play.lives, 2);

    play.restart = 0;
    play.movesUsed = 0; // now undo and restart are both unavailable: the click selects item 0
    play.lives = 3;
    InputScript again;
    again.wait(5).click(100, base + 32 * 2 + 5).wait(5).tap(SDL_SCANCODE_SPACE).start();
    screenPush(pauseScreen);
    screenRun();
    EXPECT_EQ(play.restart, 0);
    EXPECT_EQ(play.lives, 3);
    EXPECT_EQ(play.escape, 0);
}

// The pause frame copied from the backdrop it keeps is the frame drawn whole, for the selection
// shown; a new selection, or the next time the menu opens, draws it anew.
TEST_F(StageScreens, PauseFramesFromItsBackdropMatchFramesDrawnWhole) {
    auto frame = [] {
        pauseScreen.draw();
        const auto *pixels = static_cast<const uint8_t *>(screen->pixels);
        return std::vector<uint8_t>(pixels, pixels + size_t(screen->pitch) * screen->h);
    };
    auto selectNext = [] {
        input.lastKeyTyped = CTRL_DOWN;
        pauseScreen.tick();
        input.lastKeyTyped = 0;
    };
    play.paused = 1;
    pauseScreen.enter();
    selectNext();
    const std::vector<uint8_t> wholeSecond = frame();
    pauseScreen.leave();

    play.paused = 1;
    pauseScreen.enter();
    const std::vector<uint8_t> first = frame();
    EXPECT_EQ(frame(), first) << "the second tick, from the backdrop";
    selectNext();
    EXPECT_EQ(frame(), wholeSecond);
    EXPECT_EQ(frame(), wholeSecond);
    EXPECT_NE(wholeSecond, first);
    pauseScreen.leave();

    play.stage++; // the next opening shows the stage as it is then: another background
    play.paused = 1;
    pauseScreen.enter();
    EXPECT_NE(frame(), first);
    pauseScreen.leave();
}

TEST_F(StageScreens, UndoIsOneMoveDeep) {
    Board before = puzzle.currentLevel;
    queues.actionX = 2;
    queues.actionY = 2;
    doSwitch();
    while (queues.curTrans > 0 || queues.curMove > 0 || queues.curEject > 0)
        queues.curTrans > 0 ? doTrans() : queues.curMove > 0 ? doMove() : (doEject(), RuleEvents{});
    play.currentUndo = before;
    play.canUndo = 1;
    play.movesUsed = 1;
    int32_t scoreAfterPick = play.score;
    ASSERT_NE(puzzle.currentLevel, before);

    script.wait(5).tap(SDL_SCANCODE_DOWN).wait(5).tap(SDL_SCANCODE_SPACE);
    runScreen(pauseScreen);
    EXPECT_EQ(puzzle.currentLevel, before);
    EXPECT_EQ(puzzle.currentCount, BOARD_CELLS);
    EXPECT_EQ(play.movesUsed, 0);
    EXPECT_EQ(play.canUndo, 0);
    EXPECT_EQ(play.score, scoreAfterPick); // points stay
    EXPECT_EQ(pauseAvailability()[PAUSE_UNDO], 0);
}

TEST_F(StageScreens, AutoResolveResetsThenWalksColumnsFirst) {
    // A pick still counting down and a morph under way are dropped with the reset.
    queues.curAction = 12;
    queues.actionX = 7;
    queues.actionY = 9;
    switchTile(5, 5, 1, 0);
    puzzle.currentLevel[0] = 1;
    play.solving = 1;
    play.solIndex = -1;
    play.movesUsed = 4;
    resetBoard();
    EXPECT_EQ(puzzle.currentLevel, filledBoard(5));
    EXPECT_EQ(queues.curAction, 0);
    EXPECT_EQ(queues.curTrans, 0);
    EXPECT_EQ(queues.currentTrans[5 + 8 * 5], 0);
    EXPECT_EQ(play.movesUsed, 0);
    EXPECT_EQ(play.solIndex, 0);

    // The first pick is (0, 0): from (4, 5) four steps left, five up, then the pick.
    puzzle.cursorX = 4;
    puzzle.cursorY = 5;
    for (int step = 0; step < 9; step++) {
        autoResolveStep();
        EXPECT_EQ(queues.curAction, 0);
    }
    EXPECT_EQ(puzzle.cursorX, 0);
    EXPECT_EQ(puzzle.cursorY, 0);
    play.paused = play.escape = 1;
    autoResolveStep();
    EXPECT_EQ(queues.curAction, 32);
    EXPECT_EQ(play.solIndex, 2);
    EXPECT_EQ(play.paused + play.escape, 0); // the solver ignores the pause menu and EXIT
    autoResolveStep();                       // waits while the pick counts down
    EXPECT_EQ(play.solIndex, 2);
}

TEST_F(StageScreens, AutoResolveStopsAtTheEndMarker) {
    play.solving = 1;
    play.solIndex = 2 * 10; // past the ten picks
    autoResolveStep();
    EXPECT_EQ(play.solving, 0);
    play.solving = 1;
    play.solIndex = 2 * LEVEL_MAX_SOLUTION; // a full solution ends without reading past the record
    autoResolveStep();
    EXPECT_EQ(play.solving, 0);
}

TEST(GameScore, ExtraLifeForEveryMultipleOf2500Passed) {
    struct Case {
        int start, points, lives;
    };
    const Case cases[] = {{2490, 20, 1},   {2490, 9, 0},   {2499, 1, 1},
                          {2500, 2499, 0}, {100, 5000, 2}, {0, 7500, 3}};
    for (const Case &k : cases) {
        play.score = k.start;
        play.lives = 3;
        addScore(k.points);
        EXPECT_EQ(play.score, k.start + k.points);
        EXPECT_EQ(play.lives, 3 + k.lives) << k.start << " + " << k.points;
    }
}

TEST_F(StageScreens, BonusValues) {
    // 75.9 s left, 3 lives, limit 13 (solution 10, bonus 3), 12 moves made.
    puzzle.currentMoves = 13;
    puzzle.currentBonus = 3;
    play.movesUsed = 12;
    play.endTime = play.currentTime + 75900;
    StageBonus bonus = stageBonus();
    EXPECT_EQ(bonus.time, 75);
    EXPECT_EQ(bonus.life, 30);
    EXPECT_EQ(bonus.move, 10);
    play.movesUsed = 10;
    EXPECT_EQ(stageBonus().move, 200);
    play.movesUsed = 7;
    EXPECT_EQ(stageBonus().move, 200);
    play.endTime = play.currentTime;
    EXPECT_EQ(stageBonus().time, 0);
}

TEST_F(StageScreens, BonusCountCreditsEachLineOnce) {
    puzzle.currentMoves = 13;
    puzzle.currentBonus = 3;
    play.movesUsed = 12;
    play.endTime = play.currentTime + 75900;
    // Confirms during the jump do nothing; then four confirms end the count at once.
    script.at(18).tap(SDL_SCANCODE_SPACE);
    script.at(150); // the jump lasts 140 ticks
    for (int i = 0; i < 4; i++)
        script.tap(SDL_SCANCODE_SPACE);
    runScreen(bonusCountScreen);
    EXPECT_EQ(play.score, 115);
    EXPECT_EQ(script.ticks(), 156 + 2); // the last confirm ends the count, long before its 360 ticks
    EXPECT_EQ(script.pending(), 0);
}

TEST_F(StageScreens, BonusCountWithoutConfirmsEndsByItself) {
    puzzle.currentMoves = 13;
    puzzle.currentBonus = 3;
    play.movesUsed = 10;
    play.endTime = play.currentTime + 2500;
    play.score = 2490; // the count passes 2500: a life is won while counting
    runScreen(bonusCountScreen);
    EXPECT_EQ(play.score, 2490 + 2 + 30 + 200);
    EXPECT_EQ(play.lives, 4);
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
        play.endTime = play.currentTime + c.left;
        play.movesUsed = c.moves;
        puzzle.currentMoves = c.limit;
        EXPECT_EQ(lostReason(), c.text) << c.left << " " << c.moves;
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

// Name entry scripts: a tap of UP or DOWN steps once, JUMP/RIGHT advance, LEFT goes back, START
// finishes; after each change the entry rests for ten ticks.
struct EntryCase {
    const char *what;
    void (*type)(InputScript &);
    const char *name;
};

static void up(InputScript &s, int times) {
    for (int i = 0; i < times; i++)
        press(s, SDL_SCANCODE_UP);
}

static const EntryCase entryCases[] = {
    {"START at once", [](InputScript &s) { press(s, SDL_SCANCODE_RETURN); }, "A"},
    {"three letters",
     [](InputScript &s) {
         press(s, SDL_SCANCODE_SPACE);
         up(s, 1);
         press(s, SDL_SCANCODE_RIGHT);
         up(s, 2);
         press(s, SDL_SCANCODE_RETURN);
     },
     "ABC"},
    {"back with LEFT",
     [](InputScript &s) {
         up(s, 3);
         press(s, SDL_SCANCODE_SPACE);
         up(s, 4);
         press(s, SDL_SCANCODE_SPACE);
         up(s, 5);
         press(s, SDL_SCANCODE_LEFT);
         press(s, SDL_SCANCODE_RETURN);
     },
     "DE"},
    {"DOWN from A gives the blank, then Z",
     [](InputScript &s) {
         press(s, SDL_SCANCODE_DOWN);
         press(s, SDL_SCANCODE_SPACE);
         press(s, SDL_SCANCODE_DOWN);
         press(s, SDL_SCANCODE_DOWN);
         press(s, SDL_SCANCODE_RETURN);
     },
     " Z"},
    {"JUMP past the last letter",
     [](InputScript &s) {
         for (int i = 0; i < 8; i++)
             press(s, SDL_SCANCODE_SPACE);
     },
     "AAAAAAAA"},
};

TEST_F(StageScreens, HiscoreNameEntry) {
    for (const EntryCase &c : entryCases) {
        hiscoresAt(10);
        play.score = 11;
        play.hsRank = -1;
        InputScript typing;
        c.type(typing.wait(5));
        typing.start();
        screenPush(entryScreen);
        screenRun();
        EXPECT_EQ(play.hsRank, 0) << c.what;
        EXPECT_STREQ(hiscores[0].name, c.name) << c.what;
        EXPECT_EQ(hiscores[0].score, 11) << c.what;
        EXPECT_EQ(hiscores[0].kind, HISCORE_PLAYER) << c.what;
        EXPECT_EQ(typing.pending(), 0) << c.what;
    }
}

// Letters typed on a keyboard go straight into the name.
TEST_F(StageScreens, HiscoreNameTypedOnAKeyboard) {
    hiscoresAt(10);
    play.score = 11;
    script.wait(5).tap(SDL_SCANCODE_B).tap(SDL_SCANCODE_O).tap(SDL_SCANCODE_B).tap(SDL_SCANCODE_RETURN);
    runScreen(entryScreen);
    EXPECT_STREQ(hiscores[0].name, "BOB");
}

TEST_F(StageScreens, HiscoreNeedsMoreThanTheTenthEntry) {
    hiscoresAt(10);
    play.score = 10;
    play.hsRank = 4; // an entry made earlier in this game, before a continue
    runScreen(entryScreen);
    EXPECT_EQ(script.ticks(), 0); // no entry is shown
    EXPECT_EQ(play.hsRank, 4);
    EXPECT_STREQ(hiscores[9].name, "NOBODY");
}

TEST_F(StageScreens, HiscoreEntryClicksAndQuit) {
    hiscoresAt(10);
    play.score = 500;
    script.wait(5);
    script.click(150, 150).wait(12); // below the name: the letter steps forward
    script.click(150, 150).wait(12);
    script.click(150, 100).wait(12); // above: back
    script.quit().wait(2);           // only noted: the name must still be finished
    script.tap(SDL_SCANCODE_RETURN);
    runScreen(entryScreen);
    EXPECT_EQ(play.hsRank, 0);
    EXPECT_STREQ(hiscores[0].name, "B");
    EXPECT_EQ(play.quitRequested, 1);
    // The table reached the disk.
    hiscoresAt(0);
    loadHiscores(0);
    EXPECT_STREQ(hiscores[0].name, "B");
    EXPECT_EQ(hiscores[0].score, 500);
}

// "HIT ACTION BUTTON OR ANY KEY": any key, a pad button or a click leaves the tutorial.
TEST_F(StageScreens, TutorialLeavesOnAnyKey) {
    struct Case {
        const char *what;
        void (*script)(InputScript &);
    } cases[] = {
        {"a direction", [](InputScript &s) { s.tap(SDL_SCANCODE_RIGHT); }},
        {"an unmapped key", [](InputScript &s) { s.tap(SDL_SCANCODE_Q); }},
        {"a pad button", [](InputScript &s) { s.button(5); }},
        {"a click", [](InputScript &s) { s.click(10, 10); }},
    };
    for (const Case &c : cases) {
        InputScript keys;
        c.script(keys.at(100));
        keys.start();
        screenPush(tutorialScreen);
        screenRun();
        // A click counts as it comes (read 100), a key or button as it is let go (read 101).
        EXPECT_EQ(keys.ticks(), strcmp(c.what, "a click") == 0 ? 101 : 102) << c.what;
    }
    EXPECT_EQ(sounds(SFX_HIPPO), 4 * 2) << "on drawn frames 32 and 96 of each";
}

TEST_F(StageScreens, TutorialHippoSoundsEvery64DrawnFrames) {
    // The hippo speaks as drawn frames 32, 96 and 160 come up; frames skipped for lateness do not count.
    script.at(170).tap(SDL_SCANCODE_SPACE);
    runScreen(tutorialScreen);
    std::vector<int> frames;
    for (const PlayedSound &played : playedSounds())
        if (played.index == SFX_HIPPO)
            frames.push_back(played.frame + 1); // the frame that tick draws
    EXPECT_EQ(frames, (std::vector<int>{32, 96, 160}));
}

TEST_F(StageScreens, CongratulationsLeaveOnAnyKeyOrQuit) {
    script.wait(120).tap(SDL_SCANCODE_LEFT);
    runScreen(endingScreen);
    EXPECT_EQ(script.ticks(), 120 + 2);
    EXPECT_EQ(MP_PlayingMusic(), 0);

    InputScript close;
    close.wait(20).quit().start();
    screenPush(endingScreen);
    screenRun();
    EXPECT_EQ(close.ticks(), 21);
    EXPECT_EQ(MP_PlayingMusic(), 0);
}
