// The hiscore table of ten names and its scrambled file "hiscores.dat".
#include "data/hiscores.h"

#include "data/config.h"
#include "data/fileio.h"
#include "input/sys.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static_assert(offsetof(HiscoreEntry, kind) == 9 && offsetof(HiscoreEntry, score) == 12,
              "the table is stored exactly as it lies in memory");
static_assert(sizeof(hiscores) == HISCORE_TABLE_SIZE, "ten entries of 16 bytes");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "scores are stored little-endian as in memory");

std::array<HiscoreEntry, HISCORE_ENTRIES> hiscores;

constexpr uint8_t HISCORE_SEED = 0xD9;
constexpr int NAME_SIZE = 9; // 8 characters and the terminating NUL
constexpr int SCORE_NAMES = 33;
constexpr int32_t CHEATER_SCORE = 50000;

// The names of the generated entries: the animals and plants of Kavrin's savanna and jungle.
static const char *const score_names[SCORE_NAMES] = {
    "MANGO",    "ZURI",   "TAMBA",    "KIWI",  "BAOBAB", "TEMBO",    "BONGO",    "OKAPI",    "PAPAYA",
    "TUKU",     "MOJA",   "PILI",     "KIBO",  "SAFARI", "LIANA",    "COCO NUT", "BIG ZEBU", "LIME PIE",
    "GUAVA",    "TOUCAN", "MR HIPPO", "GECKO", "DODO",   "FIG TREE", "SUNNY",    "RED ANT",  "OLD OWL",
    "TALL GNU", "BANANA", "KUDU",     "MAMBA", "PALM",   "LULU",
};

static uint8_t *tableBytes() { return reinterpret_cast<uint8_t *>(hiscores.data()); }

void codebuf(uint8_t *buf, int32_t len, uint8_t seed) {
    uint8_t key = seed;
    for (int32_t i = 0; i < len; i++) {
        buf[i] ^= key;
        key = buf[i];
    }
}

void decodebuf(uint8_t *buf, int32_t len, uint8_t seed) {
    uint8_t key = seed;
    for (int32_t i = 0; i < len; i++) {
        uint8_t stored = buf[i];
        buf[i] ^= key;
        key = stored;
    }
}

static void setName(HiscoreEntry &entry, const char *name) {
    memset(entry.name, 0, NAME_SIZE);
    if (name)
        strncpy(entry.name, name, NAME_SIZE - 1);
}

// Gives the entry a default name that no other entry got during the same load or generation.
static void drawName(HiscoreEntry &entry, bool drawn[SCORE_NAMES]) {
    int index = rand() % SCORE_NAMES;
    while (drawn[index])
        index = (index + 1) % SCORE_NAMES;
    drawn[index] = true;
    setName(entry, score_names[index]);
}

// Called after every change of the table. The file is replaced whole; the table in memory stays plain.
void saveBuffer() {
    uint8_t scrambled[HISCORE_TABLE_SIZE];
    memcpy(scrambled, tableBytes(), sizeof scrambled);
    codebuf(scrambled, HISCORE_TABLE_SIZE, HISCORE_SEED);
    configSavePlayerFile(PLAYER_HISCORES, scrambled, sizeof scrambled);
}

static void generateTable() {
    srand(sysTicks());
    hiscores = {};
    bool drawn[SCORE_NAMES] = {};
    for (int i = HISCORE_ENTRIES - 1; i >= 0; i--) {
        drawName(hiscores[i], drawn);
        hiscores[i].kind = HISCORE_DEFAULT;
        int32_t below = i == HISCORE_ENTRIES - 1 ? 0 : hiscores[i + 1].score;
        hiscores[i].score = below + 100 + rand() % 100;
    }
    saveBuffer();
}

static bool validEntry(const HiscoreEntry &entry) {
    return entry.name[NAME_SIZE - 1] == '\0' && uint32_t(entry.score) <= uint32_t(HISCORE_MAX_SCORE) &&
           entry.kind <= HISCORE_REPLACED;
}

// A table that fails the check was edited by hand: every entry becomes a cheater's.
static void replaceTable() {
    for (HiscoreEntry &entry : hiscores) {
        setName(entry, "CHEATER");
        entry.kind = HISCORE_REPLACED;
        entry.score = CHEATER_SCORE;
    }
    saveBuffer();
}

// Called at start-up (reset 0) and by the options screen's "RESET HISCORES" (reset 1).
void loadHiscores(int reset) {
    hiscores = {};
    FILE *file = reset ? nullptr : fileOpenRegular(configPlayerPath(PLAYER_HISCORES));
    if (!file) {
        generateTable();
        return;
    }
    // A short file leaves zeros behind, and the check decides.
    [[maybe_unused]] size_t got = fread(tableBytes(), 1, HISCORE_TABLE_SIZE, file);
    fclose(file);
    decodebuf(tableBytes(), HISCORE_TABLE_SIZE, HISCORE_SEED);
    bool drawn[SCORE_NAMES] = {};
    for (HiscoreEntry &entry : hiscores) {
        if (!validEntry(entry)) {
            replaceTable();
            return;
        }
        if (entry.kind == HISCORE_DEFAULT || entry.name[0] == '\0')
            drawName(entry, drawn);
    }
}

// Called by the hiscore name entry for a score that beats the last entry.
int saveHiscores(int32_t score, const char *name) {
    int index = HISCORE_ENTRIES - 2;
    while (index >= 0 && hiscores[index].score < score) {
        hiscores[index + 1] = hiscores[index];
        index--;
    }
    HiscoreEntry &entry = hiscores[index + 1];
    setName(entry, name);
    entry.score = score;
    entry.kind = HISCORE_PLAYER;
    saveBuffer();
    return index + 1;
}
