// The saved game: its four disguised bytes and everything the reader rejects.
#include "main/savegame.h"

#include "data/config.h"
#include "main/level.h"
#include "temp_folder.h"

#include <sys/stat.h>

static const char *const saveFile = "savegame.dat";

static Bytes masked(Bytes plain) {
    for (size_t k = 0; k < plain.size() && k < 4; k++)
        plain[k] ^= uint8_t(SAVEGAME_MASK >> (8 * k));
    return plain;
}

class SavedGame : public InTempFolder {
  protected:
    void SetUp() override {
        InTempFolder::SetUp();
        getConfigFolder();
        levelSet.levelCount = 20;
        saved = 0;
    }
};

TEST_F(SavedGame, PlainBytesCarryTheStageTwice) {
    writeBytes(saveFile, masked({0x12, 0x31, 0x34, 0x17}));
    EXPECT_EQ(loadGame(), 5);

    srand(7);
    saveGame(5);
    Bytes first = masked(readBytes(saveFile));
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[1] ^ first[2], 5);
    EXPECT_EQ(first[3] ^ first[0], 5);
    EXPECT_EQ(saved, 5);
    EXPECT_EQ(loadGame(), 5);
    saveGame(5);
    EXPECT_NE(masked(readBytes(saveFile)), first) << "a new random value each time";
    EXPECT_EQ(loadGame(), 5);
    saveGame(19);
    EXPECT_EQ(loadGame(), 19);
    EXPECT_EQ(folderEntries(), std::vector<std::string>{saveFile});
}

TEST_F(SavedGame, RejectsWhatDoesNotCheckOut) {
    EXPECT_EQ(loadGame(), 0) << "no file";
    const std::pair<const char *, Bytes> cases[] = {
        {"stage 0", masked({0x12, 0x34, 0x34, 0x12})},
        {"stage equal to levelCount", masked({0x12, 0x34 ^ 20, 0x34, 0x12 ^ 20})},
        {"copies differ", masked({0x12, 0x31, 0x34, 0x16})},
        {"random value 0", masked({0x00, 0x05, 0x00, 0x05})},
        {"random value 0xFFFF", masked({0xFF, 0xFA, 0xFF, 0xFA})},
        {"three bytes", masked({0x12, 0x31, 0x34})},
        {"empty", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.first);
        writeBytes(saveFile, c.second);
        EXPECT_EQ(loadGame(), 0);
    }
    // Any change of a single byte breaks one of the two copies.
    const Bytes valid = masked({0x12, 0x31, 0x34, 0x17});
    for (int at = 0; at < 4; at++) {
        for (int flip = 1; flip < 256; flip++) {
            Bytes changed = valid;
            changed[at] ^= uint8_t(flip);
            writeBytes(saveFile, changed);
            ASSERT_EQ(loadGame(), 0) << "byte " << at << " flipped by " << flip;
        }
    }
}

TEST_F(SavedGame, AnUnwritableFileStillRemembersTheStage) {
    mkdir(saveFile, 0755);
    saveGame(3);
    EXPECT_EQ(saved, 3);
    EXPECT_EQ(loadGame(), 0);
}
