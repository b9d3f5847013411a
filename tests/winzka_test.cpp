// Asset archives: lookups, reopening, damaged archives.
#include "data/fileio.h"
#include "data/winzka.h"

#include "temp_folder.h"
#include "zka_writer.h"

class Archives : public InDataFolder {
  protected:
    // Writes data/gfx.zka and starts the reader afresh, as the game does at start-up.
    static void install(const Bytes &archive) {
        closeArchives();
        writeBytes("data/gfx.zka", archive);
        openArchives();
    }
    // The member's bytes, or "absent" when the reader returns none (checking the size is untouched).
    static std::string member(const char *name, const char *ext, int id = ZKA_GFX) {
        uint32_t size = 0xABCD;
        uint8_t *data = loadZKAFile(id, name, ext, &size);
        if (!data) {
            EXPECT_EQ(size, 0xABCDu) << "a miss leaves the size alone";
            return "absent";
        }
        std::string bytes(reinterpret_cast<char *>(data), size);
        free(data);
        return bytes;
    }
};

static Bytes bytesOf(const std::string &text) { return Bytes(text.begin(), text.end()); }

TEST_F(Archives, CountByteCoversOneTo256Members) {
    install(makeZka({{"only.bmp", bytesOf("one")}}));
    EXPECT_EQ(member("only", "bmp"), "one");

    std::vector<ZkaMember> members;
    for (int i = 0; i < ZKA_MAX_ENTRIES; i++)
        members.push_back({"m" + std::to_string(i) + ".wav", bytesOf("data " + std::to_string(i))});
    Bytes archive = makeZka(members);
    ASSERT_EQ(archive[3], 255);
    install(archive);
    EXPECT_EQ(member("m0", "wav"), "data 0");
    EXPECT_EQ(member("m255", "wav"), "data 255");
    EXPECT_EQ(member("m256", "wav"), "absent");
}

TEST_F(Archives, NamesMatchExactlyOn31CharactersAndTheFirstWins) {
    const std::string full = "abcdefghijklmnopqrstuvwxyz_1.bmp"; // fills all 32 bytes
    ASSERT_EQ(full.size(), 32u);
    install(makeZka({{full, bytesOf("long")},
                     {"logo.bmp", bytesOf("first")},
                     {"logo.bmp", bytesOf("second")},
                     {"empty.wav", {}}}));
    EXPECT_EQ(member("abcdefghijklmnopqrstuvwxyz_1", "bm"), "long"); // cut to its first 31 characters
    EXPECT_EQ(member("abcdefghijklmnopqrstuvwxyz_1", "bmp"), "absent");
    EXPECT_EQ(member("logo", "bmp"), "first");
    EXPECT_EQ(member("Logo", "bmp"), "absent");
    EXPECT_EQ(member("logo", "BMP"), "absent");
    EXPECT_EQ(member("logo", "bmp", ZKA_SOUND), "absent");
    EXPECT_EQ(member("empty", "wav"), ""); // an empty member is found, with size 0
}

TEST_F(Archives, ReopensAfterCloseIDAndPicksUpALateArchive) {
    install(makeZka({{"a.mod", bytesOf("tune")}}));
    closeID(ZKA_GFX);
    EXPECT_EQ(member("a", "mod"), "tune");
    closeZKA(ZKA_GFX);
    EXPECT_EQ(member("a", "mod"), "tune");

    EXPECT_EQ(member("b", "mod", ZKA_MUSIC), "absent"); // no music archive at start-up
    writeBytes("data/music.zka", makeZka({{"b.mod", bytesOf("later")}}));
    EXPECT_EQ(member("b", "mod", ZKA_MUSIC), "later");
    EXPECT_EQ(keyID(ZKA_SOUND), ZKA_SOUND);
}

// Every kind of damage makes the member (or the whole archive) absent, never a partial buffer.
TEST_F(Archives, DamagedArchivesGiveNone) {
    const Bytes good = makeZka({{"a.bmp", Bytes(1000, 'x')}, {"b.bmp", bytesOf("bee")}});
    const size_t a = zkaEntryAt(0);
    const uint32_t aOffset = getLE32(good, a + ZKA_OFFSET_FIELD);
    const uint32_t aPacked = getLE32(good, a + ZKA_PACKED_FIELD);
    enum How { PUT, FLIP, CUT };
    struct Damage {
        const char *what;
        How how;
        size_t at;
        uint32_t value; // PUT: the new field, FLIP: the bits to flip
        bool bReadable; // whether the other member survives
    };
    const Damage damages[] = {
        {"wrong magic", FLIP, 2, 1, false},
        {"directory cut short", CUT, zkaEntryAt(1) + 20, 0, false},
        {"header only", CUT, 4, 0, false},
        {"offset past the end", PUT, a + ZKA_OFFSET_FIELD, 0xFFFFFFF0, true},
        {"packed size past the end", PUT, a + ZKA_PACKED_FIELD, uint32_t(good.size()), true},
        {"packed size wraps around", PUT, a + ZKA_PACKED_FIELD, 0xFFFFFFFF, true},
        {"packed size one short", PUT, a + ZKA_PACKED_FIELD, aPacked - 1, true},
        {"stream damaged", FLIP, aOffset + 5, 0x55, true},
        {"unpacks shorter than stated", PUT, a + ZKA_UNPACKED_FIELD, 1001, true},
        {"unpacks longer than stated", PUT, a + ZKA_UNPACKED_FIELD, 999, true},
        {"absurd unpacked size", PUT, a + ZKA_UNPACKED_FIELD, (64u << 20) + 1, true},
    };
    for (const Damage &damage : damages) {
        SCOPED_TRACE(damage.what);
        Bytes archive = good;
        if (damage.how == PUT)
            putLE32(archive, damage.at, damage.value);
        else if (damage.how == FLIP)
            archive[damage.at] ^= uint8_t(damage.value);
        else
            archive.resize(damage.at);
        install(archive);
        EXPECT_EQ(member("a", "bmp"), "absent");
        EXPECT_EQ(member("b", "bmp"), damage.bReadable ? "bee" : "absent");
    }
    // The last member's stream cut off by the end of the file.
    Bytes cut = good;
    cut.pop_back();
    install(cut);
    EXPECT_EQ(member("b", "bmp"), "absent");
    EXPECT_EQ(member("a", "bmp"), std::string(1000, 'x'));
}
