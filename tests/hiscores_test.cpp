// The hiscore table: scrambling, insertion, the check of a loaded file, generated tables.
#include "data/hiscores.h"

#include "data/config.h"
#include "input/sys_virtual.h"
#include "temp_folder.h"

#include <cstring>
#include <set>

static const char *const hiscoreFile = "hiscores.dat";

class Hiscores : public InTempFolder {
  protected:
    void SetUp() override {
        InTempFolder::SetUp();
        getConfigFolder();
        sysVirtualReset(1234);
    }
    // Ten player entries scoring 1000, 900, ..., 100, named after their rank.
    static void fillTable() {
        hiscores = {};
        for (int i = 0; i < HISCORE_ENTRIES; i++) {
            snprintf(hiscores[i].name, sizeof hiscores[i].name, "RANK %d", i);
            hiscores[i].score = 1000 - 100 * i;
        }
    }
    static void writeTable() {
        Bytes bytes(HISCORE_TABLE_SIZE);
        memcpy(bytes.data(), hiscores.data(), HISCORE_TABLE_SIZE);
        codebuf(bytes.data(), HISCORE_TABLE_SIZE, 0xD9);
        writeBytes(hiscoreFile, bytes);
    }
    // The table as the file holds it.
    static std::array<HiscoreEntry, HISCORE_ENTRIES> stored() {
        Bytes bytes = readBytes(hiscoreFile);
        std::array<HiscoreEntry, HISCORE_ENTRIES> table{};
        EXPECT_EQ(bytes.size(), size_t(HISCORE_TABLE_SIZE));
        decodebuf(bytes.data(), int32_t(bytes.size()), 0xD9);
        memcpy(table.data(), bytes.data(), std::min(bytes.size(), sizeof table));
        return table;
    }
    static void expectStoredEqualsMemory() {
        auto table = stored();
        EXPECT_EQ(memcmp(table.data(), hiscores.data(), HISCORE_TABLE_SIZE), 0);
    }
};

TEST(Scrambling, ChainedXorAndBack) {
    uint8_t bytes[] = {0x61, 0x62, 0x63};
    codebuf(bytes, 3, 0);
    EXPECT_EQ(Bytes(bytes, bytes + 3), (Bytes{0x61, 0x03, 0x60}));
    decodebuf(bytes, 3, 0);
    EXPECT_EQ(Bytes(bytes, bytes + 3), (Bytes{0x61, 0x62, 0x63}));
    codebuf(bytes, 0, 0x55);
    codebuf(bytes, -1, 0x55);
    EXPECT_EQ(bytes[0], 0x61);
}

TEST_F(Hiscores, InsertingKeepsEqualScoresAboveAndDropsTheLast) {
    fillTable();
    EXPECT_EQ(saveHiscores(500, "NEW"), 6); // below the 500 already there
    EXPECT_STREQ(hiscores[5].name, "RANK 5");
    EXPECT_STREQ(hiscores[6].name, "NEW");
    EXPECT_EQ(hiscores[6].score, 500);
    EXPECT_STREQ(hiscores[9].name, "RANK 8");
    expectStoredEqualsMemory();

    fillTable();
    EXPECT_EQ(saveHiscores(5000, "TOOLONGNAME"), 0);
    EXPECT_STREQ(hiscores[0].name, "TOOLONGN");
    EXPECT_EQ(hiscores[0].kind, HISCORE_PLAYER);
    for (int i = 1; i < HISCORE_ENTRIES; i++)
        EXPECT_EQ(hiscores[i].score, 1000 - 100 * (i - 1));

    fillTable();
    EXPECT_EQ(saveHiscores(150, "LAST"), 9);
    EXPECT_STREQ(hiscores[8].name, "RANK 8");
    EXPECT_STREQ(hiscores[9].name, "LAST");
}

TEST_F(Hiscores, AnInvalidEntryReplacesTheWholeTableWithCheaters) {
    struct Case {
        const char *what;
        void (*spoil)(HiscoreEntry &entry);
    };
    const Case cases[] = {
        {"score above 500000", [](HiscoreEntry &e) { e.score = 500001; }},
        {"negative score", [](HiscoreEntry &e) { e.score = -1; }},
        {"kind 3", [](HiscoreEntry &e) { e.kind = 3; }},
        {"name not terminated", [](HiscoreEntry &e) { e.name[8] = 'X'; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        fillTable();
        hiscores[9].score = 500000; // the highest valid score itself is fine
        c.spoil(hiscores[4]);
        writeTable();
        loadHiscores(0);
        for (const HiscoreEntry &entry : hiscores) {
            EXPECT_STREQ(entry.name, "CHEATER");
            EXPECT_EQ(entry.kind, HISCORE_REPLACED);
            EXPECT_EQ(entry.score, 50000);
        }
        expectStoredEqualsMemory();
    }
    loadHiscores(0); // the replaced table is valid and keeps its names
    EXPECT_STREQ(hiscores[3].name, "CHEATER");
    EXPECT_EQ(saveHiscores(50000, "EQUAL"), 9);
    EXPECT_EQ(saveHiscores(50001, "ABOVE"), 0);
}

TEST_F(Hiscores, DefaultEntriesGetNewNamesOnEachLoadPlayersKeepTheirs) {
    fillTable();
    for (int i = 1; i < HISCORE_ENTRIES; i += 2) {
        hiscores[i].kind = HISCORE_DEFAULT;
        strcpy(hiscores[i].name, "OLDNAME");
    }
    hiscores[8].name[0] = '\0'; // a player entry without a name gets one too
    writeTable();
    std::set<std::string> seen;
    for (int load = 0; load < 5; load++) {
        sysVirtualReset(load);
        loadHiscores(0);
        std::set<std::string> names;
        for (int i = 0; i < HISCORE_ENTRIES; i++) {
            names.insert(hiscores[i].name);
            EXPECT_EQ(hiscores[i].score, 1000 - 100 * i);
            if (i % 2 == 0 && i != 8) {
                EXPECT_EQ(std::string(hiscores[i].name), "RANK " + std::to_string(i));
            } else {
                seen.insert(hiscores[i].name);
            }
        }
        EXPECT_EQ(names.size(), size_t(HISCORE_ENTRIES));
        EXPECT_EQ(names.count("OLDNAME"), 0u);
        EXPECT_EQ(names.count(""), 0u);
    }
    EXPECT_GT(seen.size(), 6u); // drawn afresh, not the same names every time
    auto table = stored();      // the new names are not saved
    EXPECT_STREQ(table[1].name, "OLDNAME");
}

TEST_F(Hiscores, GeneratedTablesHaveTenNamesAndRisingScores) {
    for (uint32_t ticks = 0; ticks < 50; ticks++) {
        sysVirtualReset(ticks * 7919);
        remove(hiscoreFile);
        loadHiscores(ticks % 2); // no file, or a reset
        std::set<std::string> names;
        for (int i = 0; i < HISCORE_ENTRIES; i++) {
            const HiscoreEntry &entry = hiscores[i];
            names.insert(entry.name);
            EXPECT_EQ(entry.kind, HISCORE_DEFAULT);
            EXPECT_EQ(entry.reserved[0] | entry.reserved[1], 0);
            size_t length = strlen(entry.name);
            EXPECT_TRUE(length >= 1 && length <= 8) << entry.name;
            for (size_t k = 0; k < length; k++)
                EXPECT_TRUE(entry.name[k] == ' ' || (entry.name[k] >= 'A' && entry.name[k] <= 'Z'))
                    << entry.name;
            if (i > 0) {
                EXPECT_GT(hiscores[i - 1].score, entry.score);
            }
        }
        EXPECT_EQ(names.size(), size_t(HISCORE_ENTRIES));
        EXPECT_GE(hiscores[9].score, 100);
        EXPECT_LE(hiscores[9].score, 199);
        EXPECT_GE(hiscores[0].score, 1000);
        EXPECT_LE(hiscores[0].score, 1990);
        expectStoredEqualsMemory();
    }
}

TEST_F(Hiscores, AShortFileIsCheckedWithZerosForTheMissingBytes) {
    fillTable();
    hiscores[1].score = 600000;
    writeTable();
    Bytes bytes = readBytes(hiscoreFile);
    bytes.resize(16); // entry 0 survives, entry 1 is lost
    writeBytes(hiscoreFile, bytes);
    loadHiscores(0);
    EXPECT_STREQ(hiscores[0].name, "RANK 0");
    EXPECT_EQ(hiscores[1].score, 0);
    EXPECT_EQ(hiscores[9].score, 0);
    EXPECT_EQ(readBytes(hiscoreFile).size(), 16u); // valid, so nothing is written
}
