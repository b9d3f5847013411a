// The archive tool end to end: what pack writes, the game's reader and list/extract read back the
// same; pack, list and extract refuse what the format cannot hold or what is damaged.
#include "data/winzka.h"
#include "run_tool.h"
#include "temp_folder.h"
#include "zka_writer.h"

#include <sys/stat.h>

namespace {

ToolRun runZka(const std::string &arguments) { return runTool(ZKA_TOOL, arguments); }

Bytes noise(size_t size, uint32_t seed) {
    Bytes bytes(size);
    for (auto &byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = uint8_t(seed >> 16);
    }
    return bytes;
}

class ZkaTool : public InTempFolder {};

TEST_F(ZkaTool, PackedMembersReadBackThroughTheGameAndTheTool) {
    mkdir("in", 0755);
    mkdir("data", 0755);
    const std::vector<std::pair<std::string, Bytes>> members = {
        {"empty.wav", {}},
        {"logo.bmp", noise(70000, 1)},
        {"a_name_of_exactly_31_chars.mod", noise(300, 2)},
    };
    for (const auto &[name, bytes] : members)
        writeBytes("in/" + name, bytes);
    ToolRun packed = runZka("pack data/gfx.zka in");
    ASSERT_EQ(packed.status, 0) << packed.output;

    openArchives();
    for (const auto &[name, bytes] : members) {
        size_t dot = name.find('.');
        uint32_t size = 12345;
        uint8_t *data =
            loadZKAFile(ZKA_GFX, name.substr(0, dot).c_str(), name.substr(dot + 1).c_str(), &size);
        ASSERT_NE(data, nullptr) << name;
        EXPECT_EQ(Bytes(data, data + size), bytes) << name;
        free(data);
    }
    closeArchives();

    ToolRun listed = runZka("list data/gfx.zka");
    ASSERT_EQ(listed.status, 0) << listed.output;
    EXPECT_NE(listed.output.find("     70000 "), std::string::npos) << listed.output;
    for (const auto &member : members)
        EXPECT_NE(listed.output.find("  " + member.first + "\n"), std::string::npos) << listed.output;

    ToolRun all = runZka("extract data/gfx.zka out");
    ASSERT_EQ(all.status, 0) << all.output;
    for (const auto &[name, bytes] : members)
        EXPECT_EQ(readBytes("out/" + name), bytes) << name;
    ToolRun one = runZka("extract data/gfx.zka some logo.bmp");
    ASSERT_EQ(one.status, 0) << one.output;
    EXPECT_EQ(folderEntries("some"), std::vector<std::string>{"logo.bmp"});
    ToolRun missing = runZka("extract data/gfx.zka some Logo.bmp");
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.output.find("has no member Logo.bmp"), std::string::npos) << missing.output;
}

TEST_F(ZkaTool, PackRefusesWhatTheFormatCannotHold) {
    mkdir("many", 0755);
    for (int i = 0; i < ZKA_MAX_ENTRIES + 1; i++)
        writeText("many/" + std::to_string(i) + ".txt", "x");
    ToolRun tooMany = runZka("pack many.zka many");
    EXPECT_NE(tooMany.status, 0);
    EXPECT_NE(tooMany.output.find("1 to 256 members, not 257"), std::string::npos) << tooMany.output;
    remove("many/0.txt");
    EXPECT_EQ(runZka("pack many.zka many").status, 0);
    Bytes many = readBytes("many.zka");
    ASSERT_GT(many.size(), 4u);
    EXPECT_EQ(many[3], 255);

    writeText("a_name_of_exactly_32_characters.", "x");
    ToolRun longName = runZka("pack long.zka a_name_of_exactly_32_characters.");
    EXPECT_NE(longName.status, 0);
    EXPECT_NE(longName.output.find("longer than 31 characters"), std::string::npos) << longName.output;
    EXPECT_TRUE(readBytes("long.zka").empty());

    mkdir("twin", 0755);
    writeText("twin/x.txt", "1");
    writeText("x.txt", "2");
    ToolRun twins = runZka("pack twins.zka twin x.txt");
    EXPECT_NE(twins.status, 0);
    EXPECT_NE(twins.output.find("two members are named x.txt"), std::string::npos) << twins.output;
}

TEST_F(ZkaTool, ListAndExtractRefuseDamagedArchives) {
    const Bytes good = makeZka({{"a.bin", noise(500, 3)}, {"b.bin", noise(40, 4)}});
    struct Damage {
        const char *what;
        Bytes bytes;
        const char *says;
    };
    Bytes badMagic = good, shortDirectory(good.begin(), good.begin() + 50), beyond = good, noInflate = good,
          climbing = makeZka({{"../escape.bin", noise(10, 5)}});
    badMagic[0] = 'X';
    putLE32(beyond, zkaEntryAt(1) + ZKA_PACKED_FIELD, 100000);
    noInflate[getLE32(good, zkaEntryAt(0) + ZKA_OFFSET_FIELD) + 10] ^= 0xFF;
    const Damage damages[] = {
        {"no magic", badMagic, "is not an archive"},
        {"a directory cut short", shortDirectory, "cut short inside its directory of 2 members"},
        {"a member past the end", beyond, "member b.bin lies beyond the end"},
        {"a member that does not inflate", noInflate, "member a.bin does not inflate to its 500 bytes"},
        {"a name that leaves the folder", climbing, "\"../escape.bin\" is not a plain file name"},
    };
    for (const Damage &damage : damages) {
        writeBytes("damaged.zka", damage.bytes);
        ToolRun run = runZka("extract damaged.zka out");
        EXPECT_NE(run.status, 0) << damage.what;
        EXPECT_NE(run.output.find(damage.says), std::string::npos) << damage.what << ": " << run.output;
    }
    EXPECT_TRUE(readBytes("escape.bin").empty());
    writeBytes("damaged.zka", shortDirectory);
    EXPECT_NE(runZka("list damaged.zka").status, 0);
    EXPECT_NE(runZka("list nowhere.zka").status, 0);
}

} // namespace
