// Whole files: the reader, the atomic writer, and files that are not regular files, which every reader
// of the game takes for missing ones.
#include "data/fileio.h"

#include "data/config.h"
#include "data/hiscores.h"
#include "main/level.h"
#include "main/savegame.h"
#include "temp_folder.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

// A named pipe or a folder where a file is expected would block or fail a reader; a hang ends the
// test binary through this alarm instead of the suite's time-out.
class FileIO : public InTempFolder {
  protected:
    void SetUp() override {
        InTempFolder::SetUp();
        alarm(20);
    }
    void TearDown() override {
        alarm(0);
        InTempFolder::TearDown();
    }
};

TEST_F(FileIO, WholeFileReader) {
    writeText("empty.bin", "");
    writeText("some.bin", "level data");
    uint32_t size = 77;
    EXPECT_EQ(loadBINFile("empty.bin", &size), nullptr);
    EXPECT_EQ(loadBINFile("missing.bin", &size), nullptr);
    EXPECT_EQ(loadBINFile(".", &size), nullptr); // a folder is no file
    EXPECT_EQ(size, 77u);
    uint8_t *data = loadBINFile("some.bin", &size);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(data), size), "level data");
    free(data);
    data = loadBINFile("some.bin", nullptr);
    EXPECT_NE(data, nullptr);
    free(data);
}

TEST_F(FileIO, ReplacesWholeAndLeavesNoTemporary) {
    ASSERT_TRUE(writeFileAtomically("file.dat", "old", 3));
    ASSERT_TRUE(writeFileAtomically("file.dat", "newer", 5));
    EXPECT_EQ(readText("file.dat"), "newer");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"file.dat"});
}

TEST_F(FileIO, AFailedWriteKeepsTheOldFile) {
    ASSERT_TRUE(writeFileAtomically("file.dat", "old", 3));
    // A full disk, played by a file size limit (the signal it raises is ignored, so write fails).
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit tiny = saved;
    tiny.rlim_cur = 8;
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
    bool written = writeFileAtomically("file.dat", "a much longer text", 18);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(readText("file.dat"), "old");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"file.dat"});

    mkdir("folder.dat", 0755); // a target that cannot be replaced
    EXPECT_FALSE(writeFileAtomically("folder.dat", "x", 1));
    EXPECT_FALSE(writeFileAtomically("missing/file.dat", "x", 1));
    EXPECT_EQ(folderEntries().size(), 2u);
}

TEST_F(FileIO, APipeOrAFolderReadsAsMissing) {
    ASSERT_EQ(mkfifo("pipe", 0644), 0);
    ASSERT_EQ(mkdir("folder", 0755), 0);
    for (const char *path : {"pipe", "folder", "missing"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(fileOpenRegular(path), nullptr);
        uint32_t size = 5;
        EXPECT_EQ(loadBINFile(path, &size), nullptr);
        EXPECT_EQ(size, 5u);
    }
    writeText("file", "x");
    FILE *file = fileOpenRegular("file");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(fgetc(file), 'x');
    fclose(file);
}

// Each of the player's files replaced by a named pipe (which would wait for a writer for ever) or a
// folder: the game starts as without it. A pipe in place of the hiscores is replaced by the table
// the game generates.
TEST_F(FileIO, PlayerFilesThatAreNotRegularFilesReadAsMissing) {
    for (bool pipe : {true, false}) {
        SCOPED_TRACE(pipe ? "named pipes" : "folders");
        for (const char *name : {"mirabo.cfg", "hiscores.dat", "savegame.dat"})
            ASSERT_EQ(pipe ? mkfifo(name, 0644) : mkdir(name, 0755), 0) << name;
        getConfigFolder();
        cfgScreen = 0;
        cfgScalingMethod = 3;
        loadGfxConfig();
        EXPECT_EQ(cfgScalingMethod, 3) << "no file leaves the settings alone";
        loadConfig();
        levelSet.levelCount = 10;
        EXPECT_EQ(loadGame(), 0);
        loadHiscores(0);
        EXPECT_EQ(hiscores[0].kind, HISCORE_DEFAULT);
        struct stat info;
        ASSERT_EQ(stat("hiscores.dat", &info), 0);
        EXPECT_EQ(S_ISREG(info.st_mode), pipe) << "a pipe is replaced, a folder cannot be";
        for (const char *name : {"mirabo.cfg", "hiscores.dat", "savegame.dat"})
            ASSERT_EQ(std::system(("rm -rf " + std::string(name)).c_str()), 0);
        (void)configTakeSaveFailure();
    }
}

// A run killed while it writes leaves at most the one temporary file of that file, whichever run
// left it, and the next write takes it over.
TEST_F(FileIO, KilledWritesLeaveOneTemporaryThatTheNextWriteTakesOver) {
    const std::string big(1 << 20, 'b');
    for (int run = 0; run < 40; run++) {
        const pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            for (;;)
                writeFileAtomically("save.dat", big.data(), big.size());
        }
        usleep(1000 + 500 * (run % 7));
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
    }
    std::vector<std::string> left = folderEntries();
    std::sort(left.begin(), left.end());
    EXPECT_LE(left.size(), 2u);
    for (const std::string &name : left)
        EXPECT_TRUE(name == "save.dat" || name == "save.dat.tmp") << name;
    if (!left.empty() && left[0] == "save.dat") {
        EXPECT_EQ(readText("save.dat"), big) << "a killed write never shows";
    }

    ASSERT_TRUE(writeFileAtomically("save.dat", "done", 4));
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"save.dat"});
    EXPECT_EQ(readText("save.dat"), "done");
}
