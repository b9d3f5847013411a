// Asset archives: flat directories of zlib members in the data folder.
#include "data/winzka.h"

#include "data/fileio.h"
#include "data/paths.h"

#include <zlib.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// No member of ours comes near this; a directory claiming more is damaged, and trusting it would let
// one bad byte ask for gigabytes.
constexpr uint32_t ZKA_MAX_UNPACKED = 64u << 20;

static const char *const archives[ZKA_ARCHIVES] = {"gfx", "music", "sound"};

static FILE *zka_file[ZKA_ARCHIVES];
static ZkaEntry *zka_header[ZKA_ARCHIVES];
static uint32_t zka_count[ZKA_ARCHIVES];

static bool validId(int id) { return id >= 0 && id < ZKA_ARCHIVES; }

static uint32_t readLE32(const uint8_t *bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

const char *zkaPath(int id) {
    static char path[1024];
    snprintf(path, sizeof path, "%s%c%s.zka", pathsDataFolder(), '/', archives[validId(id) ? id : 0]);
    return path;
}

const char *zkaMemberPlace(int id, const char *name, const char *ext) {
    static char place[1200];
    snprintf(place, sizeof place, "%s.%s in %s", name, ext, zkaPath(id));
    return place;
}

static void openID(int id) {
    if (!validId(id) || zka_file[id])
        return;
    zka_file[id] = fileOpenRegular(zkaPath(id));
}

void closeID(int id) {
    if (validId(id) && zka_file[id]) {
        fclose(zka_file[id]);
        zka_file[id] = nullptr;
    }
}

void closeZKA(int id) {
    if (!validId(id))
        return;
    closeID(id);
    free(zka_header[id]);
    zka_header[id] = nullptr;
    zka_count[id] = 0;
}

int keyID(int id) { return id; }

// Called at start-up, and again by every lookup in an archive that is still absent.
// A missing file, a wrong magic or a directory cut short leaves the archive absent.
int loadZKAHeader(int id) {
    if (!validId(id))
        return 1;
    if (zka_header[id])
        return 0;
    openID(id);
    FILE *file = zka_file[id];
    if (!file)
        return 1;
    uint8_t head[4];
    if (fread(head, 1, sizeof head, file) != sizeof head || memcmp(head, "ZKA", 3) != 0) {
        closeID(id);
        return 1;
    }
    uint32_t count = uint32_t(head[3]) + 1;
    static uint8_t raw[ZKA_MAX_ENTRIES * ZKA_ENTRY_SIZE];
    auto *directory = static_cast<ZkaEntry *>(calloc(count, sizeof(ZkaEntry)));
    if (!directory || fread(raw, ZKA_ENTRY_SIZE, count, file) != count) {
        free(directory);
        closeID(id);
        return 1;
    }
    for (uint32_t i = 0; i < count; i++) {
        const uint8_t *entry = raw + i * ZKA_ENTRY_SIZE;
        memcpy(directory[i].name, entry, ZKA_NAME_SIZE);
        directory[i].name[ZKA_NAME_SIZE - 1] = '\0';
        directory[i].offset = readLE32(entry + 32);
        directory[i].unpackedSize = readLE32(entry + 36);
        directory[i].packedSize = readLE32(entry + 40);
    }
    zka_header[id] = directory;
    zka_count[id] = count;
    return 0;
}

// Called once at start-up, after the audio device is open and before the first image is loaded.
// Anything still open from an earlier call is closed first rather than leaked.
void openArchives() {
    for (int id = 0; id < ZKA_ARCHIVES; id++) {
        closeZKA(id);
        loadZKAHeader(id);
    }
}

// Called once at shutdown.
void closeArchives() {
    for (int id = 0; id < ZKA_ARCHIVES; id++)
        closeZKA(id);
}

static int uncompressZKA(uint8_t *dest, uint32_t *destLen, const uint8_t *src, uint32_t srcLen) {
    uLongf length = *destLen;
    int status = uncompress(dest, &length, src, srcLen);
    *destLen = uint32_t(length);
    return status;
}

static const ZkaEntry *findMember(int id, const char *key) {
    for (uint32_t i = 0; i < zka_count[id]; i++) {
        if (strcmp(zka_header[id][i].name, key) == 0)
            return &zka_header[id][i];
    }
    return nullptr;
}

// Reads the packed bytes of a member and inflates them; nullptr unless the member lies wholly inside
// the file and inflates to exactly its unpacked size.
static uint8_t *readMember(FILE *file, const ZkaEntry &entry) {
    uint32_t fileSize = binfilesize(file);
    if (entry.offset > fileSize || entry.packedSize > fileSize - entry.offset ||
        entry.unpackedSize > ZKA_MAX_UNPACKED)
        return nullptr;
    if (fseek(file, long(entry.offset), SEEK_SET) != 0)
        return nullptr;
    auto *packed = static_cast<uint8_t *>(malloc(entry.packedSize ? entry.packedSize : 1));
    // An empty member still gets a buffer of its own, so that the caller can tell it from a miss.
    auto *unpacked = static_cast<uint8_t *>(malloc(entry.unpackedSize ? entry.unpackedSize : 1));
    uint32_t produced = entry.unpackedSize;
    bool ok = packed && unpacked && fread(packed, 1, entry.packedSize, file) == entry.packedSize &&
              uncompressZKA(unpacked, &produced, packed, entry.packedSize) == Z_OK &&
              produced == entry.unpackedSize;
    free(packed);
    if (!ok) {
        free(unpacked);
        return nullptr;
    }
    return unpacked;
}

// Called by the image, music and sound-effect loaders for each asset.
uint8_t *loadZKAFile(int id, const char *name, const char *ext, uint32_t *size) {
    char key[ZKA_NAME_SIZE];
    int length = snprintf(key, sizeof key, "%s.%s", name, ext);
    if (length < 0 || length >= ZKA_NAME_SIZE || loadZKAHeader(id) != 0)
        return nullptr;
    const ZkaEntry *entry = findMember(id, key);
    if (!entry)
        return nullptr;
    openID(id);
    if (!zka_file[id])
        return nullptr;
    uint8_t *data = readMember(zka_file[id], *entry);
    if (data)
        *size = entry->unpackedSize;
    return data;
}
