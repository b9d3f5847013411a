// Whole games through the play harness: the real start-up, the real level set or one the test
// builds, controls scripted by tick, and probes on the game's state at every read of the input.
#include "harness.h"
#include "stage_levels.h"

#include "data/config.h"
#include "data/hiscores.h"
#include "gfx/gfx_sdl2.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys_virtual.h"
#include "main/bganims.h"
#include "main/game.h"
#include "main/level.h"
#include "main/levelfile.h"
#include "main/menu.h"
#include "main/runner.h"
#include "main/savegame.h"
#include "main/sheets.h"
#include "main/startup.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// FNV-1a over the board's cells: equal boards, equal codes.
int64_t boardCode(const Board &board) {
    uint64_t hash = 1469598103934665603ull;
    for (int32_t cell : board)
        hash = (hash ^ uint64_t(cell)) * 1099511628211ull;
    return int64_t(hash >> 1);
}

// The first four characters of a name.
int64_t nameCode(const char *name) {
    char first[4] = {};
    memcpy(first, name, std::min<size_t>(strlen(name), 4));
    return int64_t(uint8_t(first[0])) << 24 | uint8_t(first[1]) << 16 | uint8_t(first[2]) << 8 |
           uint8_t(first[3]);
}

int64_t stageOf() {
    if (!puzzle.currentSource)
        return -2;
    if (puzzle.currentSource == levelSet.testLevel.data())
        return -1;
    return (puzzle.currentSource - levelSet.levels) / LEVEL_RECORD_SIZE;
}

int32_t warnings; // time warnings asked for, counted in the child

void gameProbes(Harness &h) {
    h.probe("stage", stageOf)
        .probe("score", [] { return int64_t(play.score); })
        .probe("lives", [] { return int64_t(play.lives); })
        .probe("saved", [] { return int64_t(saved); })
        .probe("table", [] { return int64_t(play.enteredHiscore); }) // the menu shows the hiscores next
        .probe("hsRank", [] { return int64_t(play.hsRank); })
        .probe("canSolve", [] { return int64_t(play.canSolve); })
        .probe("paused", [] { return int64_t(play.paused); })
        .probe("lion", [] { return int64_t(anims.curLionAnim); })
        .probe("board", [] { return boardCode(puzzle.currentLevel); })
        .probe("cursor", [] { return int64_t(10 * puzzle.cursorX + puzzle.cursorY); })
        .probe("warnings", [] { return int64_t(warnings); })
        .probe("music", [] { return int64_t(curMusic); })
        .probe("sheets",
               [] { return int64_t(100 * play.curBlock + 10 * play.curBirdsBlock + play.curFlowersBlock); })
        .probe("lame", [] { return int64_t(play.lameMode); })
        .probe("name", [] { return nameCode(hiscores[0].name); })
        .probe("best", [] { return int64_t(hiscores[0].score); })
        // The time left: while the menu is open endTime holds it.
        .probe("left", [] {
            return int64_t(play.paused ? int32_t(play.endTime) : int32_t(play.endTime - play.currentTime));
        });
}

// A game as the menu starts one, on a table of zero hiscores, with a known random sequence.
std::function<int()> game(int startStage, const std::vector<Record> &records = {}, unsigned seed = 7,
                          const std::vector<const char *> &names = {}) {
    return [startStage, records, seed, names] {
        startUp();
        SDL_SetWindowSize(sdl2->window, SCREEN_WIDTH, SCREEN_HEIGHT); // no scaling to pay for
        initStuff();
        for (HiscoreEntry &entry : hiscores) {
            entry = HiscoreEntry{};
            strcpy(entry.name, "NOBODY");
            entry.kind = HISCORE_DEFAULT;
        }
        for (size_t i = 0; i < names.size(); i++)
            strcpy(hiscores[i].name, names[i]);
        if (!records.empty()) { // the game's level set gives way to the test's, as a file read would
            const std::vector<uint8_t> file = levelFile(records);
            auto *bytes = static_cast<uint8_t *>(malloc(file.size()));
            memcpy(bytes, file.data(), file.size());
            freeLevels();
            useLevels(bytes, file.size());
        }
        sfxListener = [](int index) { warnings += index == SFX_TIMER_LAST_10_SEC; };
        srand(seed);
        run(startStage, 0, 0);
        screenRun();
        return 0;
    };
}

// The first bonus of a game: what run draws first for a start stage other than 0.
int firstBonus(unsigned seed) {
    srand(seed);
    return rand() % 5 + 1;
}

// The script's cursor walk to a cell and the pick there, then time for the board to settle.
void pick(Harness &h, int &x, int &y, Pick cell, int settle = 200) {
    for (; x < cell.first; x++)
        h.tap(SDL_SCANCODE_RIGHT);
    for (; x > cell.first; x--)
        h.tap(SDL_SCANCODE_LEFT);
    for (; y < cell.second; y++)
        h.tap(SDL_SCANCODE_DOWN);
    for (; y > cell.second; y--)
        h.tap(SDL_SCANCODE_UP);
    h.tap(SDL_SCANCODE_SPACE).wait(settle);
}

void pauseAndChoose(Harness &h, int downs) {
    h.tap(SDL_SCANCODE_RETURN);
    for (int i = 0; i < downs; i++)
        h.tap(SDL_SCANCODE_DOWN);
    h.tap(SDL_SCANCODE_SPACE);
}

void exitThroughPause(Harness &h) {
    h.tap(SDL_SCANCODE_RETURN).tap(SDL_SCANCODE_UP).tap(SDL_SCANCODE_SPACE); // 0 wraps to EXIT
}

// The ticks at which the pause menu opened (first read inside it) and closed (first read after).
std::vector<std::pair<int, int>> pauses(const HarnessRun &r) {
    std::vector<std::pair<int, int>> found;
    for (int from = 0;;) {
        int open = r.firstTick("paused", 1, from);
        if (open < 0)
            return found;
        int close = r.firstTick("paused", 0, open);
        found.push_back({open, close});
        if (close < 0)
            return found;
        from = close;
    }
}

// Three stages lost by picking the only fruit away; the last confirm leaves the game over screen.
void loseAllLives(Harness &h, bool closeWindow, const char *gameOverSnapshot) {
    h.at(20);
    for (int life = 0; life < 3; life++) {
        int x = 4, y = 5;
        pick(h, x, y, {0, 9}, 120); // all gone
        if (closeWindow)
            h.quit(); // discarded on the lost-life screens
        h.wait(30);
        if (life == 2 && gameOverSnapshot)
            h.snapshot(gameOverSnapshot);
        h.tap(SDL_SCANCODE_SPACE).wait(10); // confirms "ALL GONE", the last time the game over
    }
}

std::vector<uint8_t> realRecord(int stage) {
    FILE *file = fopen(MIRABO_RUN_DIR "/data/levels.bin", "rb");
    std::vector<uint8_t> bytes(1 + LEVEL_RECORD_SIZE * (stage + 1));
    size_t got = file ? fread(bytes.data(), 1, bytes.size(), file) : 0;
    if (file)
        fclose(file);
    if (got != bytes.size())
        return {};
    descrambleLevels(bytes.data(), bytes.size());
    return std::vector<uint8_t>(bytes.end() - LEVEL_RECORD_SIZE, bytes.end());
}

const Board fives = filledBoard(5);

std::vector<uint8_t> readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(StageFlow, NewGameSolvesTheFirstStageByItsStoredSolution) {
    const std::vector<uint8_t> first = realRecord(0);
    ASSERT_EQ(first.size(), size_t(LEVEL_RECORD_SIZE));
    Harness h("stage-newgame");
    gameProbes(h);
    h.at(18).snapshot("stage-tutorial").tap(SDL_SCANCODE_SPACE).wait(5); // leaves the tutorial
    h.snapshot("stage-first");
    int x = 4, y = 5;
    for (int j = 0; first[LEVEL_SOLUTION_OFFSET + 2 * j] != SOLUTION_END; j++)
        pick(h, x, y, {first[LEVEL_SOLUTION_OFFSET + 2 * j], first[LEVEL_SOLUTION_OFFSET + 2 * j + 1]}, 240);
    h.wait(250).snapshot("stage-bonus-count").wait(450);
    exitThroughPause(h);
    const HarnessRun r = h.play(game(0));

    ASSERT_TRUE(r.returned) << r.status;
    EXPECT_EQ(r.last("stage"), 1); // the second stage was playing
    EXPECT_EQ(r.last("saved"), 1);
    EXPECT_TRUE(std::filesystem::exists(h.path("savegame.dat")));
    EXPECT_EQ(r.last("lives"), 3);
    // The count: jump first, then one point a tick; the stage was won in its stored solution's
    // moves with 3 lives and under 10 s used.
    const int jump = r.firstTick("lion", 3);
    ASSERT_GT(jump, 0);
    const int64_t picked = r.value("score", jump - 1), won = r.last("score");
    EXPECT_GE(won - picked - 30 - 200, 110);
    EXPECT_LE(won - picked - 30 - 200, 119);
    EXPECT_EQ(r.value("score", jump + 140), picked); // nothing counted during the jump
    const int64_t counted = r.value("score", jump + 240) - picked;
    EXPECT_GE(counted, 60);
    EXPECT_LE(counted, 80);
    EXPECT_EQ(r.value("stage", jump + 400), 0); // the count still runs
}

TEST(StageFlow, UndoIsOneMoveDeepRestartCostsALifeAndPausesKeepTheTime) {
    const Board afterOne = playPicks(fives, {{0, 0}});
    const Board afterTwo = playPicks(fives, {{0, 0}, {3, 0}});
    Harness h("stage-undo");
    gameProbes(h);
    h.at(20);
    int x = 4, y = 5;
    pick(h, x, y, {0, 0});
    pick(h, x, y, {3, 0});
    h.tap(SDL_SCANCODE_RETURN).tap(SDL_SCANCODE_DOWN).wait(300).snapshot("stage-pause-undo");
    h.tap(SDL_SCANCODE_SPACE).wait(30); // UNDO LAST MOVE, after five seconds in the menu
    pauseAndChoose(h, 1);               // undo is spent: DOWN reaches RESTART LEVEL
    h.wait(30);
    exitThroughPause(h);
    const HarnessRun r = h.play(game(1, {spreadRecord(), spreadRecord()}));

    ASSERT_TRUE(r.returned) << r.status;
    const auto menus = pauses(r);
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(r.value("board", menus[0].first - 1), boardCode(afterTwo));
    EXPECT_EQ(r.value("board", menus[0].second), boardCode(afterOne));
    EXPECT_EQ(r.value("lives", menus[0].second), 3);
    EXPECT_EQ(r.value("board", menus[1].second + 2), boardCode(fives)); // the restarted stage
    EXPECT_EQ(r.value("lives", menus[1].second + 2), 2);
    EXPECT_EQ(r.last("lives"), 2);
    // Five seconds in the first menu cost no time: the time left moves on by a tick or two only.
    const int64_t before = r.value("left", menus[0].first - 1), after = r.value("left", menus[0].second + 1);
    EXPECT_LE(before - after, 40);
    EXPECT_GE(before - after, 0);
    EXPECT_EQ(r.value("left", menus[0].first + 100), r.value("left", menus[0].first + 200));
}

// A click on a cell moves the cursor there and a click on the cursor's cell picks it, so a mouse alone
// plays; a click and then the action picks the clicked cell as before; a click beside the board
// does nothing.
TEST(StageFlow, ClicksMoveTheCursorAndPick) {
    Harness h("stage-click");
    gameProbes(h);
    h.at(20).click(150, 70).wait(40);                  // beside the board
    h.click(20, 70).wait(20);                          // cell (0, 0)
    h.click(20, 70).wait(200);                         // again: picked
    h.click(84, 70).tap(SDL_SCANCODE_SPACE).wait(200); // cell (4, 0), then the action
    exitThroughPause(h);
    const HarnessRun r = h.play(game(1, {spreadRecord(), spreadRecord()}));
    ASSERT_TRUE(r.returned) << r.status;
    EXPECT_EQ(r.value("board", 60), boardCode(fives));
    EXPECT_EQ(r.value("cursor", 60), 45);
    EXPECT_EQ(r.value("board", 80), boardCode(fives)) << "the first click only moves the cursor";
    EXPECT_EQ(r.value("cursor", 80), 0);
    EXPECT_EQ(r.value("board", 280), boardCode(playPicks(fives, {{0, 0}})));
    EXPECT_EQ(r.last("board"), boardCode(playPicks(fives, {{0, 0}, {4, 0}})));
    EXPECT_EQ(r.last("cursor"), 40);
}

TEST(StageFlow, AutoResolveSolvesARealStageOncePerGame) {
    // A real stage past the teaching ones with a fruit under the cursor's start (4, 5), whose first
    // solution pick lies in another column and row, so the solver's walk to it shows.
    int stage = 6; // the first stage after the six that teach the rules
    std::vector<uint8_t> record;
    for (;; stage++) {
        record = realRecord(stage);
        ASSERT_EQ(record.size(), size_t(LEVEL_RECORD_SIZE)) << "no stage to solve";
        int c = record[LEVEL_SOLUTION_OFFSET], r = record[LEVEL_SOLUTION_OFFSET + 1];
        if (startValue(record.data(), 4, 5) != 0 && c != 4 && r != 5)
            break;
    }
    const int column = record[LEVEL_SOLUTION_OFFSET], row = record[LEVEL_SOLUTION_OFFSET + 1];
    Harness h("stage-solve");
    gameProbes(h);
    h.at(20).tap(SDL_SCANCODE_SPACE); // a pick off the solution, still counting down when the menu opens
    pauseAndChoose(h, 1);             // no move yet: DOWN goes straight to AUTO RESOLVE
    h.wait(5000);                     // the replay, the jump and the count
    pauseAndChoose(h, 1);             // AUTO RESOLVE is spent: DOWN reaches EXIT
    const HarnessRun r = h.play(game(stage));

    ASSERT_TRUE(r.returned) << r.status;
    EXPECT_EQ(r.last("saved"), stage + 1); // the replay solved the stage despite the pending pick
    EXPECT_EQ(r.last("stage"), stage + 1);
    EXPECT_EQ(r.last("canSolve"), 0);
    EXPECT_EQ(r.last("lives"), 3);
    // The solver walks one cell per tick, columns first: (4, 5) → (column, 5) → (column, row).
    const int across = std::abs(column - 4), down = std::abs(row - 5);
    const int walk = r.firstTick("cursor", 10 * (column < 4 ? 3 : 5) + 5);
    ASSERT_GT(walk, 0);
    EXPECT_EQ(r.value("cursor", walk + across - 1), 10 * column + 5);
    EXPECT_EQ(r.value("cursor", walk + across - 1 + down), 10 * column + row);
}

TEST(StageFlow, TimeUpCostsALifeAndReplaysTheStage) {
    Harness h("stage-timeup");
    h.wallSeconds = 300;
    gameProbes(h);
    h.at(7300).snapshot("stage-time-up").tap(SDL_SCANCODE_SPACE).wait(30);
    exitThroughPause(h);
    const HarnessRun r = h.play(game(1, {spreadRecord(), spreadRecord()}));
    ASSERT_TRUE(r.returned) << r.status;
    EXPECT_EQ(r.last("lives"), 2);
    EXPECT_EQ(r.last("stage"), 1);
    // The warning every 67 ticks through the last 11 seconds: 10 s 999 ms is 660 ticks.
    EXPECT_EQ(r.last("warnings"), 10);
    const int first = r.firstTick("warnings", 1);
    EXPECT_EQ(r.firstTick("warnings", 2), first + 67);
}

TEST(StageFlow, NoMoveLeftCostsALife) {
    const int moves = 1 + firstBonus(7);
    const Pick wrong[] = {{7, 9}, {4, 9}, {1, 9}, {7, 6}, {4, 6}, {1, 6}};
    Harness h("stage-nomove");
    gameProbes(h);
    h.at(20);
    int x = 4, y = 5;
    for (int i = 0; i < moves; i++)
        pick(h, x, y, wrong[i]);
    h.snapshot("stage-no-move").tap(SDL_SCANCODE_SPACE).wait(30); // confirms "NO MOVE LEFT"
    exitThroughPause(h);
    const HarnessRun r = h.play(game(1, {spreadRecord(), makeRecord(fives, {{0, 0}})}, 7));
    ASSERT_TRUE(r.returned) << r.status;
    EXPECT_EQ(r.last("lives"), 2);
    EXPECT_EQ(r.last("board"), boardCode(fives));
}

TEST(StageFlow, GameOverHiscoreContinueAndExit) {
    Harness h("stage-gameover");
    gameProbes(h);
    loseAllLives(h, false, "stage-game-over");
    h.snapshot("stage-name-entry");
    // The name A, B, C, typed at the pace of the entry's rest after each change.
    for (SDL_Scancode key : {SDL_SCANCODE_SPACE, SDL_SCANCODE_UP, SDL_SCANCODE_RIGHT, SDL_SCANCODE_UP,
                             SDL_SCANCODE_UP, SDL_SCANCODE_RETURN})
        h.tap(key).wait(10);
    h.snapshot("stage-continue");
    h.tap(SDL_SCANCODE_LEFT).wait(30); // continue
    exitThroughPause(h);
    const HarnessRun r = h.play(game(1, {spreadRecord(), allGoneRecord(), spreadRecord()}));

    ASSERT_TRUE(r.returned) << r.status;
    EXPECT_EQ(r.last("hsRank"), 0);
    EXPECT_EQ(r.last("lives"), 3);
    EXPECT_EQ(r.last("score"), 0);
    EXPECT_EQ(r.last("stage"), 1);
    EXPECT_EQ(r.last("table"), 0); // only the continue screen's EXIT and the ending show the table
    EXPECT_EQ(r.last("name"), nameCode("ABC"));
    EXPECT_EQ(r.last("best"), 3);
    EXPECT_EQ(std::filesystem::file_size(h.path("hiscores.dat")), uintmax_t(HISCORE_TABLE_SIZE));
}

TEST(StageFlow, GameOverThenExitByClickShowsTheHiscores) {
    Harness h("stage-gameover-exit");
    gameProbes(h);
    loseAllLives(h, true, nullptr);
    h.tap(SDL_SCANCODE_RETURN).wait(10); // the name "A"
    h.click(250, 120);                   // the EXIT side of the continue screen
    const HarnessRun r = h.play(game(1, {spreadRecord(), allGoneRecord()}));
    ASSERT_TRUE(r.returned) << r.status;
    EXPECT_EQ(r.last("name"), nameCode("A"));
    EXPECT_EQ(r.last("hsRank"), 0);
    EXPECT_EQ(r.last("table"), 1);
    EXPECT_EQ(r.last("lives"), 0);
}

TEST(StageFlow, LastStageWonShowsTheEndingAndTheHiscoreEntry) {
    Harness h("stage-ending");
    gameProbes(h);
    h.at(20).tap(SDL_SCANCODE_SPACE); // the cursor starts on the solution's only pick
    h.wait(800).snapshot("stage-ending").tap(SDL_SCANCODE_SPACE);
    h.tap(SDL_SCANCODE_RETURN); // the name "A"
    const HarnessRun r = h.play(game(1, {spreadRecord(), makeRecord(fives, {{4, 5}})}));

    ASSERT_TRUE(r.returned) << r.status;
    EXPECT_EQ(r.last("table"), 1);
    EXPECT_EQ(r.last("hsRank"), 0);
    EXPECT_EQ(r.last("name"), nameCode("A"));
    EXPECT_EQ(r.last("saved"), 0); // no next stage to save
    EXPECT_FALSE(std::filesystem::exists(h.path("savegame.dat")));
}

// In a folder the player cannot write, winning stages leaves the old saved game, hiscores and
// settings as they were, and the player is told once, on standard error and on screen; CONTINUE still
// offers the stage reached until the game ends. Root is stopped by nothing but a change of user.
TEST(StageFlow, AReadOnlyFolderKeepsTheOldFilesAndSaysItCannotSave) {
    const std::vector<uint8_t> oldSave = {1, 2, 3, 4}, oldTable(HISCORE_TABLE_SIZE, 9);
    const std::string oldConfig = "gfxmode=4\n";
    Harness h("stage-read-only");
    gameProbes(h);
    h.probe("failure", [] {
        const char *failure = screenNotice();
        return int64_t(failure ? (strcmp(failure, "CANNOT SAVE THE GAME") == 0 ? 1 : 2) : 0);
    });
    h.file("savegame.dat", oldSave).file("hiscores.dat", oldTable);
    h.file("mirabo.cfg", std::vector<uint8_t>(oldConfig.begin(), oldConfig.end()));
    h.at(20).tap(SDL_SCANCODE_SPACE).wait(800).tap(SDL_SCANCODE_SPACE).wait(800);
    exitThroughPause(h);
    const Record one = makeRecord(fives, {{4, 5}});
    const std::function<int()> body = game(1, {spreadRecord(), one, one, one});
    const HarnessRun r = h.play([&] {
        constexpr uid_t NOBODY = 65534;
        if (chmod(".", 0555) != 0 || (geteuid() == 0 && (setgid(NOBODY) != 0 || setuid(NOBODY) != 0)))
            return 96;
        return access(".", W_OK) == 0 ? 77 : body();
    });
    chmod(h.path("").c_str(), 0755);
    if (r.status == 77)
        GTEST_SKIP() << "this user can write a read-only folder";

    ASSERT_TRUE(r.returned) << r.status;
    EXPECT_EQ(r.last("stage"), 3);
    EXPECT_EQ(r.last("saved"), 3);
    EXPECT_EQ(r.err, "Cannot save ./savegame.dat: Permission denied\n");
    const int shown = r.firstTick("failure", 1);
    EXPECT_GT(shown, 20);
    const int gone = r.firstTick("failure", 0, shown);
    EXPECT_GE(gone - shown, 170) << "for three seconds";
    EXPECT_EQ(r.firstTick("failure", 1, gone), -1) << "the screen is told once";
    EXPECT_EQ(r.firstTick("failure", 2), -1);
    EXPECT_EQ(readFile(h.path("savegame.dat")), oldSave);
    EXPECT_EQ(readFile(h.path("hiscores.dat")), oldTable);
    EXPECT_EQ(readFile(h.path("mirabo.cfg")), std::vector<uint8_t>(oldConfig.begin(), oldConfig.end()));
    std::set<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(h.path("")))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"data", "test.bin", "savegame.dat", "hiscores.dat", "mirabo.cfg",
                                            "stdout.txt", "stderr.txt", "trace.txt"}));
}

TEST(StageFlow, TwelveStagesShareAMusicTrack) {
    const struct { int stage, track; } cases[] = {{11, 1}, {12, 2}, {119, 10}, {-1, 1}};
    for (const auto &c : cases) {
        Harness h("stage-music");
        gameProbes(h);
        const Record test = spreadRecord();
        h.file("test.bin", std::vector<uint8_t>(test.begin(), test.begin() + LEVEL_SOLUTION_OFFSET));
        h.at(5);
        exitThroughPause(h);
        const HarnessRun r = h.play(game(c.stage));
        ASSERT_TRUE(r.returned) << c.stage;
        EXPECT_EQ(r.value("stage", 2), c.stage);
        EXPECT_EQ(r.value("music", 2), c.track) << c.stage;
    }
}

TEST(StageFlow, CheatNamesInTheHiscoreTable) {
    const struct {
        std::vector<const char *> names;
        int64_t seconds, sheets, lame;
    } cases[] = {
        {{"GRAVUK", "ZUMVAKE", "PLINDO"}, 240, 0, 0}, // the later sheet name wins
        {{"PLINDO", "XOBRENT", "GRAVUK"}, 120, 111, 1},
        {{"zumvake", "XOBRENTX"}, 120, -1, 0}, // whole names, case and all
    };
    for (const auto &c : cases) {
        Harness h("stage-cheats");
        gameProbes(h);
        h.at(5);
        exitThroughPause(h);
        const HarnessRun r = h.play(game(1, {spreadRecord(), spreadRecord()}, 7, c.names));
        ASSERT_TRUE(r.returned);
        EXPECT_EQ((r.value("left", 2) + 999) / 1000, c.seconds) << c.names[0];
        if (c.sheets >= 0) {
            EXPECT_EQ(r.value("sheets", 2), c.sheets) << c.names[0];
        }
        EXPECT_EQ(r.value("lame", 2), c.lame) << c.names[0];
    }
}

TEST(StageFlow, AnEmptyTestStageIsWonAtOnceAndTheGameGoesOnAtStageOne) {
    Harness h("stage-test-stage");
    gameProbes(h);
    h.file("test.bin", std::vector<uint8_t>(LEVEL_SOLUTION_OFFSET, 0)); // nothing to do
    h.at(700);
    exitThroughPause(h);
    const HarnessRun r = h.play(game(-1));
    ASSERT_TRUE(r.returned);
    EXPECT_EQ(r.value("stage", 2), -1);
    EXPECT_EQ(r.firstTick("lion", 3), 1); // won on the first drawn tick
    EXPECT_EQ(r.last("stage"), 0);
    EXPECT_EQ(r.last("saved"), 0);
    EXPECT_FALSE(std::filesystem::exists(h.path("savegame.dat"))) << "a player's saved game is left alone";
}

// The first thirteen stages of the real level set played by their stored solutions, as a player
// would: each is won, the next one is saved, the sheets change now and then, and the thirteenth
// brings the second stage track.
TEST(StageFlow, TheFirstStagesOfTheRealSetArePlayedByTheirSolutions) {
    constexpr int STAGES = 13;
    std::vector<std::vector<Pick>> solutions;
    for (int s = 0; s < STAGES; s++) {
        const std::vector<uint8_t> record = realRecord(s);
        ASSERT_EQ(record.size(), size_t(LEVEL_RECORD_SIZE)) << s;
        std::vector<Pick> picks;
        for (int j = 0; record[LEVEL_SOLUTION_OFFSET + 2 * j] != SOLUTION_END; j++)
            picks.push_back(
                {record[LEVEL_SOLUTION_OFFSET + 2 * j], record[LEVEL_SOLUTION_OFFSET + 2 * j + 1]});
        if (s < 4) {
            EXPECT_EQ(picks.size(), 1u) << "stage " << s + 1 << " teaches the pick";
        }
        if (s < 6) {
            EXPECT_LE(picks.size(), 2u) << s + 1;
        }
        solutions.push_back(picks);
    }
    Harness h("stage-first-dozen");
    h.maxTicks = 40000;
    h.wallSeconds = 300;
    gameProbes(h);
    h.at(18).tap(SDL_SCANCODE_SPACE).wait(20); // leaves the tutorial
    for (int s = 0; s < STAGES; s++) {
        if (s == 12) // the old track fades out on the audio thread, in real time
            h.call([] {
                for (int ms = 0; MP_PlayingMusic() && ms < 5000; ms += 10)
                    SDL_Delay(10);
            });
        int x = 4, y = 5;
        for (size_t j = 0; j < solutions[s].size(); j++) {
            pick(h, x, y, solutions[s][j], 240);
            if (s == 9 && j == 0)
                h.wait(-200).snapshot("stage-mid-game-morph").wait(200);
        }
        h.wait(1000); // the jump and the whole count
    }
    h.snapshot("stage-thirteen");
    exitThroughPause(h);
    const HarnessRun r = h.play(game(0));

    ASSERT_TRUE(r.returned) << r.status;
    EXPECT_EQ(r.last("stage"), STAGES);
    for (size_t t = r.firstTick("stage", 0); t < r.ticks.size(); t++)
        ASSERT_GE(r.value("lives", int(t)), 3) << "no stage was lost, at tick " << t;
    EXPECT_EQ(r.last("saved"), STAGES);
    std::set<int64_t> sheets;
    int from = 0;
    for (int s = 0; s <= STAGES; s++) {
        const int start = r.firstTick("stage", s, from);
        ASSERT_GE(start, 0) << "stage " << s + 1 << " was reached";
        EXPECT_EQ(r.value("saved", start), s) << "saved when stage " << s + 1 << " began";
        EXPECT_EQ(r.value("music", start), s < 12 ? 1 : 2) << s + 1;
        sheets.insert(r.value("sheets", start));
        from = start;
    }
    EXPECT_GT(sheets.size(), 1u) << "the sheet variants are drawn anew after each won stage";
}

// A click means nothing on the lost-life and game-over screens; left pending it would steer the
// next stage's first action, a letter of the name entry or the continue choice.
TEST(StageFlow, AClickOnTheEndScreensDoesNotReachTheNextScreen) {
    Harness h("stage-stale-click");
    gameProbes(h);
    h.at(20);
    int x = 4, y = 5;
    pick(h, x, y, {0, 9}, 120);
    h.wait(30).click(100, 200).wait(20); // passes "ALL GONE"
    h.tap(SDL_SCANCODE_SPACE).wait(60);  // the action at the cursor, an empty cell
    x = 4, y = 5;
    pick(h, x, y, {0, 9}, 120);
    h.wait(30).tap(SDL_SCANCODE_SPACE).wait(20); // "ALL GONE" again
    x = 4, y = 5;
    pick(h, x, y, {0, 9}, 120);
    h.wait(30).click(160, 120).wait(20); // passes the game over screen
    h.tap(SDL_SCANCODE_RETURN).wait(20); // the name "A"
    h.wait(30).call([] { input.mouseX = input.mouseY = -1; }).stop();
    const HarnessRun r = h.play(game(1, {spreadRecord(), allGoneRecord()}));

    ASSERT_EQ(r.status, HARNESS_STOPPED);
    const int second = r.firstTick("lives", 2);
    ASSERT_GT(second, 0);
    EXPECT_EQ(r.firstTick("cursor", 58, second), -1) << "the click on the message did not move the cursor";
    EXPECT_EQ(r.last("name"), nameCode("A")) << "nor did a click on the game over step the letter";
    EXPECT_EQ(r.last("lives"), 0) << "and the continue screen still waits";
}

// Nor does a click on the bonus count steer the next stage, or one on the ending the name entry.
TEST(StageFlow, AClickOnTheBonusCountOrTheEndingDoesNotReachTheNextScreen) {
    Harness h("stage-stale-click-won");
    gameProbes(h);
    h.at(20).tap(SDL_SCANCODE_SPACE).wait(300).click(100, 200); // the count of stage 2
    h.wait(800).tap(SDL_SCANCODE_SPACE);                        // stage 3, the last: the cursor's cell
    h.wait(800).click(160, 100).wait(20);                       // passes the ending
    h.tap(SDL_SCANCODE_RETURN);                                 // the name "A"
    const Record one = makeRecord(fives, {{4, 5}});
    const HarnessRun r = h.play(game(1, {spreadRecord(), one, one}));

    ASSERT_TRUE(r.returned) << r.status;
    EXPECT_EQ(r.firstTick("cursor", 58), -1) << "the click on the count did not move the cursor";
    EXPECT_EQ(r.last("saved"), 2);
    EXPECT_EQ(r.last("hsRank"), 0) << "the last stage was won";
    EXPECT_EQ(r.last("name"), nameCode("A"));
}

// Losing the focus or being minimised pauses a stage, and its time stands still.
TEST(StageFlow, TurningAwayPausesTheStage) {
    for (Uint8 happening : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_MINIMIZED}) {
        Harness h("stage-away");
        gameProbes(h);
        SDL_Event away{};
        away.type = SDL_WINDOWEVENT;
        away.window.event = happening;
        h.at(30).event(away).wait(300).stop();
        const HarnessRun r = h.play(game(1, {spreadRecord(), spreadRecord()}));
        ASSERT_EQ(r.status, HARNESS_STOPPED);
        EXPECT_EQ(r.value("paused", 29), 0);
        EXPECT_EQ(r.value("paused", 31), 1) << int(happening);
        EXPECT_EQ(r.last("paused"), 1);
        EXPECT_EQ(r.last("left"), r.value("left", 32)) << "the time stands still";
    }
}

// SIGTERM (or SIGINT) in the middle of a stage ends the program at once and cleanly.
TEST(StageFlow, ATerminationEndsTheProgramFromAStage) {
    Harness h("stage-terminate");
    gameProbes(h);
    h.at(40).call(sysVirtualTerminate);
    const HarnessRun r = h.play([] {
        game(1, {spreadRecord(), spreadRecord()})();
        return exitGame();
    });
    EXPECT_TRUE(r.returned);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.ticks.size(), 41u) << "in the tick it came";
}

// A restart chosen as the board settles solved, with the last life: the win counts, and the next stage
// plays on (the request used to survive the win and lose the next stage at once).
TEST(StageFlow, ARestartChosenAsTheStageIsWonEndsWithTheWin) {
    Harness h("stage-restart-won");
    gameProbes(h);
    h.at(0).call([] {
        play.restart = 1; // RESTART LEVEL chosen with the last life
        play.lives = 0;
    });
    h.at(700).stop();
    const Record solved = makeRecord(fives, {}, &fives); // its board is its target
    const HarnessRun r = h.play(game(1, {spreadRecord(), solved, spreadRecord()}));
    ASSERT_EQ(r.status, HARNESS_STOPPED);
    EXPECT_EQ(r.value("saved", 699), 2) << "stage 2 was won";
    EXPECT_EQ(r.last("stage"), 2) << "stage 3 plays on";
    EXPECT_EQ(r.last("lives"), 0);
}

// Without a sound device the game starts and plays, silently.
TEST(StageFlow, WithoutASoundDeviceTheGamePlaysSilently) {
    Harness h("stage-silent");
    gameProbes(h);
    h.audioDriver = "none";
    h.at(20).tap(SDL_SCANCODE_SPACE).wait(200).stop();
    const HarnessRun r = h.play(game(1, {spreadRecord(), spreadRecord()}));
    ASSERT_EQ(r.status, HARNESS_STOPPED) << r.out;
    EXPECT_NE(r.last("board"), boardCode(fives)) << "the pick was played";
}
