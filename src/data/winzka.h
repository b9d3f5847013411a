// Asset archives (gfx.zka, music.zka, sound.zka in the data folder).
#pragma once

#include <cstdint>

enum { ZKA_GFX = 0, ZKA_MUSIC = 1, ZKA_SOUND = 2, ZKA_ARCHIVES = 3 };

constexpr int ZKA_NAME_SIZE = 32;  // NUL-padded member name, at most 31 significant characters
constexpr int ZKA_ENTRY_SIZE = 44; // name, offset, unpacked size, packed size
constexpr int ZKA_MAX_ENTRIES = 256;

struct ZkaEntry {
    char name[ZKA_NAME_SIZE];
    uint32_t offset;
    uint32_t unpackedSize;
    uint32_t packedSize;
};

void openArchives();
void closeArchives();
// The unpacked member name.ext of archive id in a new buffer (the caller frees it with free()),
// its length in *size; nullptr when the member is absent, truncated or does not inflate.
uint8_t *loadZKAFile(int id, const char *name, const char *ext, uint32_t *size);
int loadZKAHeader(int id); // 0 loaded (or already), 1 failure
void closeID(int id);
void closeZKA(int id);
int keyID(int id);
const char *zkaPath(int id); // the archive's file in the data folder, in a static buffer
// "name.ext in <archive file>", naming a member the game cannot run without; in a static buffer.
const char *zkaMemberPlace(int id, const char *name, const char *ext);
