// Builds asset archives in memory for the tests: the magic, the count byte, 44-byte directory
// entries, then each member's zlib stream. Tests damage the bytes afterwards where they need to.
// Also the fixture for tests that read archives: a temporary folder with its data/ folder.
#pragma once

#include "data/winzka.h"
#include "temp_folder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

struct ZkaMember {
    std::string name; // up to 32 bytes are stored; the reader keeps 31
    std::vector<uint8_t> data;
};

inline void putLE32(std::vector<uint8_t> &out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; i++)
        out[at + i] = uint8_t(value >> (8 * i));
}

inline uint32_t getLE32(const std::vector<uint8_t> &in, size_t at) {
    return uint32_t(in[at]) | uint32_t(in[at + 1]) << 8 | uint32_t(in[at + 2]) << 16 |
           uint32_t(in[at + 3]) << 24;
}

// The offset of directory entry i, and of its fields.
inline size_t zkaEntryAt(int i) { return 4 + size_t(ZKA_ENTRY_SIZE) * i; }
constexpr size_t ZKA_OFFSET_FIELD = 32, ZKA_UNPACKED_FIELD = 36, ZKA_PACKED_FIELD = 40;

inline std::vector<uint8_t> makeZka(const std::vector<ZkaMember> &members) {
    std::vector<uint8_t> out(4 + ZKA_ENTRY_SIZE * members.size());
    memcpy(out.data(), "ZKA", 3);
    out[3] = uint8_t(members.size() - 1);
    for (size_t i = 0; i < members.size(); i++) {
        const ZkaMember &member = members[i];
        std::vector<uint8_t> packed(compressBound(member.data.size()));
        uLongf packedSize = packed.size();
        compress(packed.data(), &packedSize, member.data.data(), member.data.size());
        size_t entry = zkaEntryAt(int(i));
        memcpy(out.data() + entry, member.name.data(), std::min<size_t>(member.name.size(), ZKA_NAME_SIZE));
        putLE32(out, entry + ZKA_OFFSET_FIELD, uint32_t(out.size()));
        putLE32(out, entry + ZKA_UNPACKED_FIELD, uint32_t(member.data.size()));
        putLE32(out, entry + ZKA_PACKED_FIELD, uint32_t(packedSize));
        out.insert(out.end(), packed.begin(), packed.begin() + packedSize);
    }
    return out;
}

class InDataFolder : public InTempFolder {
  protected:
    void SetUp() override {
        InTempFolder::SetUp();
        mkdir("data", 0755);
    }
    void TearDown() override {
        closeArchives();
        InTempFolder::TearDown();
    }
};
