// Truncated, oversized, mutated and random inputs for every file loader: each must end in its
// documented fallback, never read out of bounds (the sanitizer build) or accept a damaged file.
#include "../fuzz/feed.h"
#include "temp_folder.h"
#include "zka_writer.h"

#include <random>

using Feed = bool (*)(const uint8_t *data, size_t size);

class CorruptInput : public InDataFolder {
  protected:
    // Every truncation of a valid input, then random mutations of it, then random bytes of random
    // lengths up to maxRandom, then one large random input.
    void feedVariants(Feed feed, const Bytes &valid, int mutations, size_t maxRandom, size_t large) {
        std::mt19937 random(12345);
        auto check = [&](const Bytes &input, const char *kind) {
            ASSERT_TRUE(feed(input.data(), input.size())) << kind << ", " << input.size() << " bytes";
        };
        check(valid, "valid");
        for (size_t length = 0; length < valid.size(); length++)
            check(Bytes(valid.begin(), valid.begin() + length), "truncated");
        for (int i = 0; i < mutations; i++) {
            Bytes input = valid;
            int changes = 1 + int(random() % 4);
            for (int c = 0; c < changes; c++)
                input[random() % input.size()] ^= uint8_t(1 + random() % 255);
            check(input, "mutated");
        }
        for (int i = 0; i < 500; i++) {
            Bytes input(random() % (maxRandom + 1));
            for (uint8_t &byte : input)
                byte = uint8_t(random());
            check(input, "random");
        }
        Bytes big(large);
        for (uint8_t &byte : big)
            byte = uint8_t(random());
        check(big, "large");
    }
};

TEST_F(CorruptInput, Archives) {
    Bytes archive = makeZka({{"logo.bmp", Bytes(300, 'L')}, {"menu.wav", Bytes(40, 'W')}});
    feedVariants(feedArchive, archive, 800, 600, 1 << 20);
}

TEST_F(CorruptInput, Configuration) {
    const std::string text =
        "mus_volume=80\nsfx_volume=15\nj_jump=2\nk_jump=a\nk_up=82\nmpResamplingMode=2\n"
        "mpFlagsREVERB=1\nmpReverbDelay=90\nmpBassRange=50\nmpSurroundDelay=20\ngfxmode=9\n";
    feedVariants(feedConfig, Bytes(text.begin(), text.end()), 800, 200, 1 << 18);
}

TEST_F(CorruptInput, Hiscores) {
    getConfigFolder();
    loadHiscores(1);
    Bytes table = readBytes("hiscores.dat");
    ASSERT_EQ(table.size(), size_t(HISCORE_TABLE_SIZE));
    feedVariants(feedHiscores, table, 800, 400, 1 << 16);
}

TEST_F(CorruptInput, SavedGame) {
    getConfigFolder();
    levelSet.levelCount = 100;
    saveGame(42);
    Bytes save = readBytes("savegame.dat");
    ASSERT_EQ(save.size(), 4u);
    feedVariants(feedSavegame, save, 400, 8, 1 << 10);
}
