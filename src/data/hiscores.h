// The hiscore table of ten names and its scrambled file "hiscores.dat".
#pragma once

#include <array>
#include <cstdint>

constexpr int HISCORE_ENTRIES = 10;
constexpr int HISCORE_TABLE_SIZE = 160;
constexpr int32_t HISCORE_MAX_SCORE = 500000;

enum HiscoreKind : uint8_t { HISCORE_PLAYER = 0, HISCORE_DEFAULT = 1, HISCORE_REPLACED = 2 };

struct HiscoreEntry {
    char name[9];  // at most 8 characters, byte 8 always 0
    uint8_t kind;
    uint8_t reserved[2];
    int32_t score;  // little-endian in the file
};
static_assert(sizeof(HiscoreEntry) == 16, "a hiscore entry is 16 bytes in memory and on disk");

extern std::array<HiscoreEntry, HISCORE_ENTRIES> hiscores;

void loadHiscores(int reset);
int saveHiscores(int32_t score, const char *name);  // the rank of the new entry
void saveBuffer();
void codebuf(uint8_t *buf, int32_t len, uint8_t seed);
void decodebuf(uint8_t *buf, int32_t len, uint8_t seed);
