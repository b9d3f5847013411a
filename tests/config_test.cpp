// The configuration file: its exact lines, the clamping of what it reads, the video mode word,
// and the paths and saving of the player's files.
#include "data/config.h"
#include "data/fileio.h"

#include "../fuzz/feed.h"
#include "input/keyhelper_sdl2.h"
#include "sound/modplayer.h"
#include "sound/sound.h"
#include "temp_folder.h"

#include <sys/stat.h>

class Config : public InTempFolder {
  protected:
    void SetUp() override {
        InTempFolder::SetUp();
        defaultSettings();
    }
    static void load(const std::string &text) {
        writeText("mirabo.cfg", text);
        loadConfig();
    }
};

static const char *const defaultLines =
    "mus_volume=100\nsfx_volume=15\n"
    "j_jump=2\nj_pause=8\nj_start=9\nj_up=1\nj_down=4\nj_left=8\nj_right=2\n"
    "k_jump=44\nk_pause=43\nk_start=40\nk_up=82\nk_down=81\nk_left=80\nk_right=79\n"
    "mpFlagsOVERSAMPLING=1\nmpResamplingMode=1\nmpFlagsNOISE_REDUCTION=1\nmpFlagsREVERB=0\n"
    "mpReverbDepth=0\nmpReverbDelay=0\nmpFlagsMEGABASS=0\nmpBassAmount=0\nmpBassRange=0\n"
    "mpFlagsSURROUND=0\nmpSurroundDepth=0\nmpSurroundDelay=0\ngfxmode=4\n";

TEST_F(Config, PathsOfThePerUserFiles) {
    EXPECT_STREQ(configFolder, "./");
    EXPECT_STREQ(filename(configFolder, "mirabo", "cfg"), "././/mirabo.cfg");
    EXPECT_STREQ(filename(nullptr, "hiscores", "dat"), "./hiscores.dat");
    EXPECT_STREQ(configPlayerPath(PLAYER_SAVEGAME), "././/savegame.dat");
    // An installed game's per-user folder is absolute.
    EXPECT_STREQ(filename("/home/kim/.local/share/mirabo", "mirabo", "cfg"),
                 "/home/kim/.local/share/mirabo/mirabo.cfg");
}

// A save that fails (here the folder is missing) keeps the old file where there is one, is reported
// on standard error the first time for each file, and leaves one line for the screen.
TEST_F(Config, AFailedSaveIsReportedOnceForEachFile) {
    free(configFolder);
    configFolder = strdup("gone");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(configSavePlayerFile(PLAYER_SAVEGAME, "1234", 4));
    EXPECT_STREQ(configTakeSaveFailure(), "CANNOT SAVE THE GAME");
    EXPECT_EQ(configTakeSaveFailure(), nullptr);
    EXPECT_FALSE(configSavePlayerFile(PLAYER_SAVEGAME, "1234", 4));
    EXPECT_EQ(configTakeSaveFailure(), nullptr) << "once for each file";
    dumpConfig();
    EXPECT_FALSE(configSavePlayerFile(PLAYER_HISCORES, "1234", 4));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Cannot save ./gone/savegame.dat: No such file or directory\n"
              "Cannot save ./gone/mirabo.cfg: No such file or directory\n"
              "Cannot save ./gone/hiscores.dat: No such file or directory\n");
    EXPECT_STREQ(configTakeSaveFailure(), "CANNOT SAVE THE HISCORES") << "the latest one is shown";
    EXPECT_EQ(configTakeSaveFailure(), nullptr);

    ASSERT_EQ(mkdir("gone", 0755), 0);
    EXPECT_TRUE(configSavePlayerFile(PLAYER_SAVEGAME, "1234", 4));
    EXPECT_EQ(readText("gone/savegame.dat"), "1234");
}

TEST_F(Config, DefaultsWriteThese29LinesAndReadBackWithTheDelaysClamped) {
    cfgScreen = 2;
    dumpConfig();
    EXPECT_EQ(readText("mirabo.cfg"), defaultLines);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"mirabo.cfg"});

    loadConfig();
    EXPECT_EQ(mpReverbDelay, 40);
    EXPECT_EQ(mpBassRange, 10);
    EXPECT_EQ(mpSurroundDelay, 5);
    EXPECT_EQ(mpFlags, 3);
    EXPECT_EQ(_mus_volume_100_, 100);
    EXPECT_EQ(_sfx_volume_100_, 15);
    EXPECT_EQ(JUMP_KEY, DEFAULT_JUMP_KEY);
    EXPECT_EQ(RIGHT_BUTTON, DEFAULT_RIGHT_BUTTON);
}

TEST_F(Config, ReadValuesAreHeldToTheirRanges) {
    struct Case {
        const char *line;
        int32_t *value;
        int32_t expected;
    };
    const Case cases[] = {
        {"mus_volume=150\n", &_mus_volume_100_, 100},
        {"mus_volume=-5\n", &_mus_volume_100_, 100},
        {"mus_volume=42\n", &_mus_volume_100_, 42},
        {"sfx_volume=0\n", &_sfx_volume_100_, 0},
        {"sfx_volume=101\n", &_sfx_volume_100_, 100},
        {"sfx_volume=junk\n", &_sfx_volume_100_, 0},
        {"mpResamplingMode=7\n", &mpResamplingMode, 1},
        {"mpResamplingMode=3\n", &mpResamplingMode, 3},
        {"mpResamplingMode=-1\n", &mpResamplingMode, 1},
        {"mpReverbDepth=150\n", &mpReverbDepth, 100},
        {"mpReverbDepth=-3\n", &mpReverbDepth, 0},
        {"mpReverbDelay=0\n", &mpReverbDelay, 40},
        {"mpReverbDelay=300\n", &mpReverbDelay, 200},
        {"mpReverbDelay=99\n", &mpReverbDelay, 99},
        {"mpBassAmount=101\n", &mpBassAmount, 100},
        {"mpBassRange=5\n", &mpBassRange, 10},
        {"mpBassRange=100\n", &mpBassRange, 100},
        {"mpSurroundDepth=-1\n", &mpSurroundDepth, 0},
        {"mpSurroundDelay=41\n", &mpSurroundDelay, 40},
        {"mpSurroundDelay=4\n", &mpSurroundDelay, 5},
        {"mus_volume= +7\n", &_mus_volume_100_, 7},
        {"mus_volume=99999999999999999999\n", &_mus_volume_100_, 100},
        {"xmus_volume=20\n", &_mus_volume_100_, 20},
        {"mus_volume=1\nmus_volume=2\n", &_mus_volume_100_, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        *c.value = 12345;
        load(c.line);
        EXPECT_EQ(*c.value, c.expected);
    }
}

TEST_F(Config, FlagsCanOnlyBeSet) {
    load("mpFlagsOVERSAMPLING=0\nmpFlagsNOISE_REDUCTION=0\nmpFlagsREVERB=1\nmpFlagsMEGABASS=2\n"
         "mpFlagsSURROUND=1\n");
    EXPECT_EQ(mpFlags, 1 | 2 | 4 | 16);
    mpFlags = 8 | 4;
    dumpConfig();
    std::string text = readText("mirabo.cfg");
    for (const char *line : {"mpFlagsOVERSAMPLING=0\n", "mpFlagsNOISE_REDUCTION=0\n", "mpFlagsREVERB=1\n",
                             "mpFlagsMEGABASS=1\n", "mpFlagsSURROUND=0\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST_F(Config, ControlsReadLettersNumbersAndKeepWhatIsMissing) {
    load("k_jump=a\nj_start=3\nk_up=7\nj_up=2\nk_up=9\nk_left=-1\n");
    EXPECT_EQ(JUMP_KEY, 97);
    EXPECT_EQ(JUMP_BUTTON, DEFAULT_JUMP_BUTTON);
    EXPECT_EQ(START_BUTTON, 3);
    EXPECT_EQ(START_KEY, DEFAULT_START_KEY);
    EXPECT_EQ(UP_KEY, 7); // the scan stops once both of a control's values are found
    EXPECT_EQ(UP_BUTTON, 2);
    EXPECT_EQ(LEFT_KEY, -1);
    EXPECT_EQ(SELECT_KEY, DEFAULT_SELECT_KEY);

    JUMP_KEY = 100;
    START_KEY = 123; // just past the letters
    dumpConfig();
    std::string text = readText("mirabo.cfg");
    EXPECT_NE(text.find("\nk_jump=d\n"), std::string::npos);
    EXPECT_NE(text.find("\nk_start=123\n"), std::string::npos);
    JUMP_KEY = 0;
    loadConfig();
    EXPECT_EQ(JUMP_KEY, 100);
}

TEST_F(Config, AFileUnderTenBytesSetsNoSoundSetting) {
    load("k_up=7\n\n\n"); // 9 bytes
    EXPECT_EQ(UP_KEY, 7);
    EXPECT_EQ(_mus_volume_100_, 100);
    load("0123mus_volume"); // a key cut by the end of the file is not compared past it
    EXPECT_EQ(_mus_volume_100_, 100);
    load("mus_volume=7");
    EXPECT_EQ(_mus_volume_100_, 7);
}

TEST_F(Config, VideoModeWord) {
    struct Case {
        const char *text; // nullptr: no file
        int32_t screen, method;
    };
    const Case cases[] = {
        {"gfxmode=5\n", 0, 1}, {"gfxmode=8\n", 2, 2},      {"gfxmode=0\n", 1, 0}, {"gfxmode=6\n", 2, 1},
        {"gfxmode=21", 0, 5},  {"mus_volume=100\n", 2, 1}, {nullptr, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text ? c.text : "no file");
        remove("mirabo.cfg");
        if (c.text)
            writeText("mirabo.cfg", c.text);
        cfgScreen = 0;
        cfgScalingMethod = 1;
        loadGfxConfig();
        EXPECT_EQ(cfgScreen, c.screen);
        EXPECT_EQ(cfgScalingMethod, c.method);
    }
    cfgScreen = 0;
    cfgScalingMethod = 3;
    cfgbpp = 24;
    dumpConfig();
    EXPECT_NE(readText("mirabo.cfg").find("\ngfxmode=15\n"), std::string::npos);
}
