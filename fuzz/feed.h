// Feeds arbitrary bytes to each loader of a player-writable or shipped file, through the file the
// loader reads in the working folder, and checks the documented fallback: each feed returns false
// when the loader let through something it should have refused. Shared by the libFuzzer targets
// and the corrupted-input test.
#pragma once

#include "data/config.h"
#include "data/hiscores.h"
#include "data/winzka.h"
#include "input/keyhelper_sdl2.h"
#include "main/level.h"
#include "main/savegame.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

inline void feedFile(const char *path, const uint8_t *data, size_t size) {
    if (FILE *file = fopen(path, "wb")) {
        if (size > 0)
            fwrite(data, 1, size, file);
        fclose(file);
    }
}

inline uint32_t feedLE32(const uint8_t *bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

// data/gfx.zka; the member looked up is the archive's first directory entry, so that inputs with a
// plausible directory reach the member reader.
inline bool feedArchive(const uint8_t *data, size_t size) {
    feedFile("data/gfx.zka", data, size);
    closeArchives();
    openArchives();
    std::string key = "logo.bmp";
    if (size >= 4 + ZKA_ENTRY_SIZE)
        key.assign(reinterpret_cast<const char *>(data) + 4,
                   strnlen(reinterpret_cast<const char *>(data) + 4, 31));
    size_t dot = key.find_last_of('.');
    if (dot == std::string::npos)
        return true;
    uint32_t length = 0xDEADBEEF;
    uint8_t *member = loadZKAFile(ZKA_GFX, key.substr(0, dot).c_str(), key.substr(dot + 1).c_str(), &length);
    if (!member)
        return length == 0xDEADBEEF;
    free(member);
    // Only a whole directory entry can have produced a member, and the first match is entry 0.
    return size >= 4 + ZKA_ENTRY_SIZE && length == feedLE32(data + 4 + 36) && length <= (64u << 20);
}

inline bool inRange(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

// Every setting the configuration file holds back at its compiled-in value.
inline void defaultSettings() {
    getConfigFolder();
    cfgScreen = 0;
    cfgScalingMethod = 1;
    cfgbpp = 16;
    resetDefaultControls();
    _mus_volume_100_ = 100;
    _sfx_volume_100_ = 15;
    mpFlags = 3;
    mpResamplingMode = 1;
    mpReverbDepth = mpReverbDelay = mpBassAmount = mpBassRange = mpSurroundDepth = mpSurroundDelay = 0;
}

// mirabo.cfg, read by both passes from the compiled-in defaults.
inline bool feedConfig(const uint8_t *data, size_t size) {
    feedFile("mirabo.cfg", data, size);
    defaultSettings();
    loadGfxConfig();
    loadConfig();
    // The delays keep their default 0 unless the file sets them.
    return inRange(cfgScreen, 0, 2) && inRange(_mus_volume_100_, 0, 100) &&
           inRange(_sfx_volume_100_, 0, 100) && (mpFlags & 3) == 3 && inRange(mpFlags, 3, 31) &&
           inRange(mpResamplingMode, 0, 3) && inRange(mpReverbDepth, 0, 100) &&
           (mpReverbDelay == 0 || inRange(mpReverbDelay, 40, 200)) && inRange(mpBassAmount, 0, 100) &&
           (mpBassRange == 0 || inRange(mpBassRange, 10, 100)) && inRange(mpSurroundDepth, 0, 100) &&
           (mpSurroundDelay == 0 || inRange(mpSurroundDelay, 5, 40)) && SELECT_KEY == DEFAULT_SELECT_KEY &&
           SELECT_BUTTON == DEFAULT_SELECT_BUTTON;
}

// hiscores.dat: whatever it held, the table in memory ends valid, named, and either as read or all
// "CHEATER".
inline bool feedHiscores(const uint8_t *data, size_t size) {
    feedFile("hiscores.dat", data, size);
    getConfigFolder();
    loadHiscores(0);
    bool cheaters = true;
    for (const HiscoreEntry &entry : hiscores) {
        if (entry.name[8] != '\0' || entry.name[0] == '\0' || !inRange(entry.score, 0, HISCORE_MAX_SCORE) ||
            entry.kind > HISCORE_REPLACED)
            return false;
        cheaters = cheaters && strcmp(entry.name, "CHEATER") == 0 && entry.kind == HISCORE_REPLACED &&
                   entry.score == 50000;
    }
    if (cheaters)
        return true;
    // Otherwise the file was taken as it stands (missing bytes read as 0 before unscrambling): only
    // default entries and nameless ones got new names.
    uint8_t plain[HISCORE_TABLE_SIZE] = {};
    if (size > 0)
        memcpy(plain, data, std::min(size, sizeof plain));
    decodebuf(plain, HISCORE_TABLE_SIZE, 0xD9);
    for (int i = 0; i < HISCORE_ENTRIES; i++) {
        const uint8_t *stored = plain + 16 * i;
        bool renamed = stored[9] == HISCORE_DEFAULT || stored[0] == 0;
        if (memcmp(stored + 9, &hiscores[i].kind, 7) != 0 ||
            (!renamed && memcmp(stored, hiscores[i].name, 9) != 0))
            return false;
    }
    return true;
}

// savegame.dat: 0, or a stage below levelCount whose two copies agree.
inline bool feedSavegame(const uint8_t *data, size_t size) {
    feedFile("savegame.dat", data, size);
    getConfigFolder();
    levelSet.levelCount = 100;
    int stage = loadGame();
    if (stage == 0)
        return true;
    if (size < 4 || stage < 1 || stage >= levelSet.levelCount)
        return false;
    uint8_t plain[4];
    for (int k = 0; k < 4; k++)
        plain[k] = data[k] ^ uint8_t(SAVEGAME_MASK >> (8 * k));
    return (plain[1] ^ plain[2]) == stage && (plain[3] ^ plain[0]) == stage;
}
