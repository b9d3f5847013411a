// A quit request (the window closed) on every screen of the game does what that screen's quit
// behaviour says: one row per screen, each a whole run of the program from its start.
#include "harness.h"
#include "stage_levels.h"

#include "data/hiscores.h"
#include "main/game.h"
#include "main/menu.h"
#include "main/runner.h"
#include "main/screen.h"
#include "main/sheets.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

namespace {

const char *const screenNames[] = {"none",      "intro",     "menu",     "hiscore table", "options",
                                   "game",      "tutorial",  "stage",    "pause",         "bonus count",
                                   "lost life", "game over", "continue", "name entry",    "ending"};

int64_t topScreen() {
    const Screen *top = screenTop();
    for (int64_t i = 1; i < int64_t(std::size(screenNames)); i++)
        if (top && strcmp(top->name, screenNames[i]) == 0)
            return i;
    return 0;
}

int64_t screenId(const char *name) {
    for (int64_t i = 0; i < int64_t(std::size(screenNames)); i++)
        if (strcmp(name, screenNames[i]) == 0)
            return i;
    ADD_FAILURE() << "no screen named " << name;
    return -1;
}

// A level set of the given records, as the game reads it.
std::vector<uint8_t> scrambledLevels(const std::vector<Record> &records) {
    std::vector<uint8_t> file = levelFile(records);
    scrambleLevels(file.data(), file.size());
    return file;
}

// Won by one pick at the cursor's start, (4, 5).
Record oneTap() { return makeRecord(filledBoard(5), {{4, 5}}); }

// The intro passed, START on the title, NEW GAME chosen, the tutorial passed: the first stage
// starts by tick 280.
void intoTheFirstStage(Harness &h) {
    h.at(190).tap(SDL_SCANCODE_SPACE).at(200).tap(SDL_SCANCODE_SPACE);
    h.at(215).tap(SDL_SCANCODE_RETURN).at(230).tap(SDL_SCANCODE_RETURN).at(260).tap(SDL_SCANCODE_SPACE);
    h.at(280);
}

// The single fruit of allGoneRecord picked away (the cursor walks from (4, 5) to (0, 9)); the
// lost-life message shows some 140 ticks later.
void pickTheLastFruit(Harness &h) {
    for (int i = 0; i < 4; i++)
        h.tap(SDL_SCANCODE_LEFT).tap(SDL_SCANCODE_DOWN);
    h.tap(SDL_SCANCODE_SPACE).wait(150);
}

// Three lives lost to allGoneRecord: the game-over screen shows when this returns.
void loseAllLives(Harness &h) {
    for (int life = 0; life < 3; life++) {
        pickTheLastFruit(h);
        if (life < 2)
            h.tap(SDL_SCANCODE_SPACE).wait(20);
    }
}

struct QuitCase {
    const char *screen;                   // where the quit request comes
    std::vector<Record> levels;           // the level set, or none for the built one
    std::function<void(Harness &)> reach; // the script up to the screen; the quit follows at its cursor
    std::function<void(Harness &)> after; // the script after the quit
    std::function<void(const HarnessRun &, int quitTick)> check;
};

// The run ended as a program does: gameMain returned through exitGame with status 0.
void endedTheProgram(const HarnessRun &r) {
    EXPECT_TRUE(r.returned) << r.status;
    EXPECT_EQ(r.status, 0);
}

const QuitCase quitCases[] = {
    {"intro",
     {},
     [](Harness &h) { h.at(20); },
     nullptr,
     [](const HarnessRun &r, int quit) {
         endedTheProgram(r);
         EXPECT_EQ(r.ticks.size(), size_t(quit + 1)) << "it ends at once";
         EXPECT_EQ(r.last("menu"), 0) << "the menu never started";
     }},
    {"intro",
     {},
     [](Harness &h) { h.at(190).tap(SDL_SCANCODE_SPACE).at(200); },
     nullptr, // the notice
     [](const HarnessRun &r, int quit) {
         endedTheProgram(r);
         EXPECT_EQ(r.ticks.size(), size_t(quit + 1));
         EXPECT_EQ(r.last("menu"), 0);
     }},
    {"menu",
     {},
     [](Harness &h) { h.at(190).tap(SDL_SCANCODE_SPACE).at(200).tap(SDL_SCANCODE_SPACE).at(230); },
     nullptr,
     [](const HarnessRun &r, int quit) {
         endedTheProgram(r);
         EXPECT_EQ(r.value("workflow", quit), MENU_TITLE);
         EXPECT_EQ(r.ticks.size(), size_t(quit + 1));
     }},
    {"hiscore table",
     {},
     [](Harness &h) {
         h.at(190).tap(SDL_SCANCODE_SPACE).at(200).tap(SDL_SCANCODE_SPACE);
         h.at(215).tap(SDL_SCANCODE_RIGHT).wait(5).tap(SDL_SCANCODE_DOWN).wait(5).tap(SDL_SCANCODE_DOWN);
         h.wait(5).tap(SDL_SCANCODE_SPACE).wait(20);
     },
     [](Harness &h) { h.wait(20).stop(); },
     [](const HarnessRun &r, int quit) {
         EXPECT_EQ(r.status, HARNESS_STOPPED) << "the program goes on";
         EXPECT_EQ(r.value("top", quit + 2), screenId("menu"));
         EXPECT_EQ(r.value("workflow", quit + 2), MENU_HISCORES);
     }},
    {"options",
     {},
     [](Harness &h) {
         h.at(190).tap(SDL_SCANCODE_SPACE).at(200).tap(SDL_SCANCODE_SPACE);
         h.at(215)
             .tap(SDL_SCANCODE_LEFT)
             .wait(5)
             .tap(SDL_SCANCODE_UP)
             .wait(5)
             .tap(SDL_SCANCODE_SPACE)
             .wait(20);
     },
     [](Harness &h) { h.wait(20).stop(); },
     [](const HarnessRun &r, int quit) {
         EXPECT_EQ(r.status, HARNESS_STOPPED);
         EXPECT_EQ(r.value("top", quit + 2), screenId("menu"));
         EXPECT_EQ(r.value("workflow", quit + 2), MENU_OPTIONS);
     }},
    {"tutorial",
     {},
     [](Harness &h) {
         h.at(190).tap(SDL_SCANCODE_SPACE).at(200).tap(SDL_SCANCODE_SPACE);
         h.at(215).tap(SDL_SCANCODE_RETURN).at(230).tap(SDL_SCANCODE_RETURN).at(250);
     },
     [](Harness &h) { h.wait(20).stop(); },
     [](const HarnessRun &r, int quit) {
         EXPECT_EQ(r.status, HARNESS_STOPPED);
         EXPECT_EQ(r.value("top", quit + 5), screenId("pause"))
             << "the first stage opens with its pause menu";
     }},
    {"stage",
     {},
     intoTheFirstStage,
     [](Harness &h) { h.wait(20).stop(); },
     [](const HarnessRun &r, int quit) {
         EXPECT_EQ(r.status, HARNESS_STOPPED);
         EXPECT_EQ(r.value("top", quit + 2), screenId("pause"));
     }},
    {"pause",
     {},
     [](Harness &h) {
         intoTheFirstStage(h);
         h.tap(SDL_SCANCODE_RETURN).wait(10);
     },
     [](Harness &h) { h.wait(30).stop(); },
     [](const HarnessRun &r, int quit) {
         EXPECT_EQ(r.status, HARNESS_STOPPED);
         EXPECT_EQ(r.value("top", quit + 30), screenId("pause")) << "only EXIT leaves the game";
     }},
    {"bonus count",
     {oneTap(), oneTap()},
     [](Harness &h) {
         intoTheFirstStage(h);
         h.tap(SDL_SCANCODE_SPACE).wait(300);
     },
     [](Harness &h) { h.wait(400).stop(); },
     [](const HarnessRun &r, int quit) {
         EXPECT_EQ(r.status, HARNESS_STOPPED);
         EXPECT_EQ(r.value("top", quit + 30), screenId("bonus count")) << "the count goes on";
         const int menu = r.firstTick("top", screenId("menu"), quit);
         ASSERT_GT(menu, quit) << "the game ends after the count";
         EXPECT_EQ(r.value("saved", menu), 1) << "once the next stage is saved";
         EXPECT_EQ(r.value("workflow", menu + 1), MENU_TITLE);
     }},
    {"lost life",
     {allGoneRecord()},
     [](Harness &h) {
         intoTheFirstStage(h);
         pickTheLastFruit(h);
     },
     [](Harness &h) { h.wait(20).tap(SDL_SCANCODE_SPACE).wait(20).stop(); },
     [](const HarnessRun &r, int quit) {
         EXPECT_EQ(r.status, HARNESS_STOPPED);
         EXPECT_EQ(r.value("top", quit + 20), screenId("lost life")) << "discarded";
         EXPECT_EQ(r.last("top"), screenId("stage")) << "the stage again, played as usual";
         EXPECT_EQ(r.last("lives"), 2);
     }},
    {"game over",
     {allGoneRecord()},
     [](Harness &h) {
         intoTheFirstStage(h);
         loseAllLives(h);
     },
     [](Harness &h) { h.wait(20).stop(); },
     [](const HarnessRun &r, int quit) {
         EXPECT_EQ(r.status, HARNESS_STOPPED);
         EXPECT_EQ(r.value("top", quit + 20), screenId("game over")) << "discarded";
     }},
    {"continue",
     {allGoneRecord()},
     [](Harness &h) {
         intoTheFirstStage(h);
         loseAllLives(h);
         h.tap(SDL_SCANCODE_SPACE).wait(20).tap(SDL_SCANCODE_RETURN).wait(20); // the name "A"
     },
     [](Harness &h) { h.wait(20).tap(SDL_SCANCODE_LEFT).wait(20).stop(); },
     [](const HarnessRun &r, int quit) {
         EXPECT_EQ(r.status, HARNESS_STOPPED);
         EXPECT_EQ(r.value("top", quit + 20), screenId("continue")) << "discarded";
         EXPECT_EQ(r.last("top"), screenId("stage")) << "the game goes on after a continue";
     }},
    {"name entry",
     {allGoneRecord()},
     [](Harness &h) {
         intoTheFirstStage(h);
         loseAllLives(h);
         h.tap(SDL_SCANCODE_SPACE).wait(20);
     },
     [](Harness &h) { h.wait(20).tap(SDL_SCANCODE_UP).wait(20).tap(SDL_SCANCODE_RETURN).wait(40); },
     [](const HarnessRun &r, int quit) {
         EXPECT_EQ(r.value("top", quit + 20), screenId("name entry")) << "the name is still finished";
         EXPECT_EQ(r.value("best", quit + 20), 0);
         endedTheProgram(r);
         EXPECT_EQ(r.last("best"), 3) << "the entry was saved";
         EXPECT_EQ(r.firstTick("top", screenId("continue"), quit), -1) << "the game ends";
     }},
    {"ending",
     {oneTap()},
     [](Harness &h) {
         intoTheFirstStage(h);
         h.tap(SDL_SCANCODE_SPACE).wait(650); // the pick, and the whole bonus count
     },
     [](Harness &h) { h.wait(20).tap(SDL_SCANCODE_RETURN).wait(40); },
     [](const HarnessRun &r, int quit) {
         EXPECT_EQ(r.value("top", quit + 5), screenId("name entry")) << "the ending leaves";
         EXPECT_EQ(r.value("quitting", quit + 5), 1) << "and the request goes on to the name entry";
         endedTheProgram(r);
     }},
};

void PrintTo(const QuitCase &c, std::ostream *out) { *out << c.screen; }

class QuitFlow : public ::testing::TestWithParam<QuitCase> {};

TEST_P(QuitFlow, TheScreenActsOnAQuitRequestItsOwnWay) {
    const QuitCase &c = GetParam();
    {
        Harness h("quit");
        h.probe("top", topScreen)
            .probe("menu", [] { return int64_t(!sheets.blocks[0].empty()); })
            .probe("workflow", [] { return int64_t(workflow); })
            .probe("saved", [] { return int64_t(std::filesystem::exists("savegame.dat")); })
            .probe("lives", [] { return int64_t(play.lives); })
            .probe("quitting", [] { return int64_t(play.quitRequested); })
            .probe("best", [] { return int64_t(hiscores[0].score); });
        h.at(0).call([] { // a table of zeros: any score enters it
            for (HiscoreEntry &entry : hiscores)
                entry.score = 0;
        });
        if (!c.levels.empty())
            h.file("data/levels.bin", scrambledLevels(c.levels));
        c.reach(h);
        const int quit = h.cursorTick();
        h.quit();
        if (c.after)
            c.after(h);
        h.maxTicks = 4000;
        const HarnessRun r = h.runGame({"-w"});
        ASSERT_GT(int(r.ticks.size()), quit) << r.out;
        EXPECT_EQ(r.value("top", quit), screenId(c.screen)) << "the script reached the screen";
        c.check(r, quit);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryScreen, QuitFlow, ::testing::ValuesIn(quitCases), [](const auto &info) {
    std::string name = std::to_string(info.index) + "_" + info.param.screen;
    for (char &c : name)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

} // namespace
