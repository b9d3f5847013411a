// The configuration file "mirabo.cfg", the paths of every per-user file and their saving.
#include "data/config.h"
#include "data/fileio.h"

#include "data/fileio.h"
#include "data/paths.h"
#include "input/keyhelper_sdl2.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

char *configFolder;
int32_t cfgScreen = 0, cfgScalingMethod = 1, cfgbpp = 16;

static char fname_buf[1024];

// The controls the file stores, in the order the reader handles them; select is never stored.
struct ControlParam {
    const char *name;
    int32_t *key;
    int32_t *button;
};
static const ControlParam params[] = {
    {"jump", &JUMP_KEY, &JUMP_BUTTON},    {"pause", &PAUSE_KEY, &PAUSE_BUTTON},
    {"start", &START_KEY, &START_BUTTON}, {"up", &UP_KEY, &UP_BUTTON},
    {"down", &DOWN_KEY, &DOWN_BUTTON},    {"left", &LEFT_KEY, &LEFT_BUTTON},
    {"right", &RIGHT_KEY, &RIGHT_BUTTON},
};

// How a sound setting read from the file is stored.
enum SettingRule {
    SETTING_RANGE_OR_FALLBACK, // low..high kept, anything else becomes the fallback
    SETTING_CLAMP,             // clamped to low..high
    SETTING_FLAG,              // 1 ORs the flag into mpFlags; no value clears it
};

struct SoundSetting {
    const char *key;
    SettingRule rule;
    int32_t *value; // nullptr for SETTING_FLAG
    int32_t low, high, fallback;
    int32_t flag; // the bit of mpFlags for SETTING_FLAG
};

// The volumes and the module player's settings, in the order the file holds them (the controls sit
// between the volumes and the rest).
static const SoundSetting volumeSettings[] = {
    {"mus_volume=", SETTING_RANGE_OR_FALLBACK, &_mus_volume_100_, 0, 100, 100, 0},
    {"sfx_volume=", SETTING_RANGE_OR_FALLBACK, &_sfx_volume_100_, 0, 100, 100, 0},
};
static const SoundSetting playerSettings[] = {
    {"mpFlagsOVERSAMPLING=", SETTING_FLAG, nullptr, 0, 0, 0, 1},
    {"mpResamplingMode=", SETTING_RANGE_OR_FALLBACK, &mpResamplingMode, 0, 3, 1, 0},
    {"mpFlagsNOISE_REDUCTION=", SETTING_FLAG, nullptr, 0, 0, 0, 2},
    {"mpFlagsREVERB=", SETTING_FLAG, nullptr, 0, 0, 0, 4},
    {"mpReverbDepth=", SETTING_CLAMP, &mpReverbDepth, 0, 100, 0, 0},
    {"mpReverbDelay=", SETTING_CLAMP, &mpReverbDelay, 40, 200, 0, 0},
    {"mpFlagsMEGABASS=", SETTING_FLAG, nullptr, 0, 0, 0, 8},
    {"mpBassAmount=", SETTING_CLAMP, &mpBassAmount, 0, 100, 0, 0},
    {"mpBassRange=", SETTING_CLAMP, &mpBassRange, 10, 100, 0, 0},
    {"mpFlagsSURROUND=", SETTING_FLAG, nullptr, 0, 0, 0, 16},
    {"mpSurroundDepth=", SETTING_CLAMP, &mpSurroundDepth, 0, 100, 0, 0},
    {"mpSurroundDelay=", SETTING_CLAMP, &mpSurroundDelay, 5, 40, 0, 0},
};

constexpr uint32_t SOUND_SETTINGS_MIN_FILE = 10; // smaller files set no sound setting

// Called at start-up right after pathsLocate, before any per-user file is read.
void getConfigFolder() {
    free(configFolder);
    configFolder = strdup(pathsUserFolder());
}

// A folder relative to the working directory is written "./" + folder + "/" (folder mode gives
// ././/mirabo.cfg); the per-user folder of an installed game is absolute and taken as it is.
const char *filename(const char *folder, const char *name, const char *ext) {
    if (folder)
        snprintf(fname_buf, sizeof fname_buf, "%s%s%c%s.%s", folder[0] == '/' ? "" : "./", folder, '/', name,
                 ext);
    else
        snprintf(fname_buf, sizeof fname_buf, "%s%s.%s", "./", name, ext);
    return fname_buf;
}

struct PlayerFileInfo {
    const char *name, *ext;
    const char *failure; // shown on screen when it cannot be saved
};
static const PlayerFileInfo playerFiles[PLAYER_FILES] = {
    {"mirabo", "cfg", "CANNOT SAVE THE SETTINGS"},
    {"hiscores", "dat", "CANNOT SAVE THE HISCORES"},
    {"savegame", "dat", "CANNOT SAVE THE GAME"},
};
static bool saveFailed[PLAYER_FILES];
static const char *pendingFailure;

const char *configPlayerPath(PlayerFile file) {
    return filename(configFolder, playerFiles[file].name, playerFiles[file].ext);
}

// Called by the options screen, the hiscore table and the saved game for every write. A read-only
// folder or a full disk fails every save of a run; the player hears of each file once.
bool configSavePlayerFile(PlayerFile file, const void *data, size_t size) {
    const char *path = configPlayerPath(file);
    if (writeFileAtomically(path, data, size))
        return true;
    if (!saveFailed[file]) {
        saveFailed[file] = true;
        fprintf(stderr, "Cannot save %s: %s\n", path, strerror(errno));
        pendingFailure = playerFiles[file].failure;
    }
    return false;
}

// Called by the screen runner once per frame.
const char *configTakeSaveFailure() {
    const char *failure = pendingFailure;
    pendingFailure = nullptr;
    return failure;
}

// The whole configuration file as a NUL-terminated text, so that number parsing stops at its end;
// nullptr when it is missing or empty.
static char *loadConfigText(uint32_t *size) {
    uint8_t *bytes = loadBINFile(configPlayerPath(PLAYER_CONFIG), size);
    if (!bytes)
        return nullptr;
    auto *text = static_cast<char *>(realloc(bytes, size_t(*size) + 1));
    if (!text) {
        free(bytes);
        return nullptr;
    }
    text[*size] = '\0';
    return text;
}

static bool matchesAt(const char *text, uint32_t size, uint32_t pos, const char *key, size_t length) {
    return pos + length <= size && memcmp(text + pos, key, length) == 0;
}

// The decimal number at text (blanks and a sign allowed, none gives 0), held to 32 bits.
static int32_t numberAt(const char *text) {
    long value = strtol(text, nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return int32_t(value);
}

// Called at start-up before the command line is applied and the window is opened.
void loadGfxConfig() {
    uint32_t size;
    char *text = loadConfigText(&size);
    if (!text)
        return;
    static const char key[] = "gfxmode=";
    const size_t length = sizeof key - 1;
    uint32_t pos = 0;
    while (pos < size && !matchesAt(text, size, pos, key, length))
        pos++;
    if (pos >= size) {
        cfgScalingMethod = 1;
        cfgScreen = 2;
    } else {
        int32_t mode = numberAt(text + pos + length);
        cfgScalingMethod = mode >> 2;
        cfgScreen = (mode & 1) ? 0 : (cfgScalingMethod != 0 ? 2 : 1);
    }
    free(text);
}

// Called at start-up before loadConfig, and by the options screen's "RESET TO DEFAULT".
void resetDefaultControls() {
    JUMP_BUTTON = DEFAULT_JUMP_BUTTON;
    PAUSE_BUTTON = DEFAULT_PAUSE_BUTTON;
    START_BUTTON = DEFAULT_START_BUTTON;
    SELECT_BUTTON = DEFAULT_SELECT_BUTTON;
    LEFT_BUTTON = DEFAULT_LEFT_BUTTON;
    RIGHT_BUTTON = DEFAULT_RIGHT_BUTTON;
    UP_BUTTON = DEFAULT_UP_BUTTON;
    DOWN_BUTTON = DEFAULT_DOWN_BUTTON;
    JUMP_KEY = DEFAULT_JUMP_KEY;
    PAUSE_KEY = DEFAULT_PAUSE_KEY;
    START_KEY = DEFAULT_START_KEY;
    SELECT_KEY = DEFAULT_SELECT_KEY;
    LEFT_KEY = DEFAULT_LEFT_KEY;
    RIGHT_KEY = DEFAULT_RIGHT_KEY;
    UP_KEY = DEFAULT_UP_KEY;
    DOWN_KEY = DEFAULT_DOWN_KEY;
}

// A control's "k_" and "j_" lines; later lines overwrite earlier ones until both are found.
// A control without a k-line keeps its key, one without a j-line keeps its button.
static void loadControl(const ControlParam &param, const char *text, uint32_t size) {
    char keyText[16], buttonText[16];
    snprintf(keyText, sizeof keyText, "k_%s=", param.name);
    snprintf(buttonText, sizeof buttonText, "j_%s=", param.name);
    const size_t length = strlen(keyText);
    int32_t key = -1, button = -1;
    bool keyFound = false;
    for (uint32_t pos = 0; pos + length + 2 <= size; pos++) {
        if (key >= 0 && button >= 0)
            break;
        const char *value = text + pos + length;
        if (matchesAt(text, size, pos, keyText, length)) {
            key = (*value >= 'a' && *value <= 'z') ? *value : numberAt(value);
            keyFound = true;
        } else if (matchesAt(text, size, pos, buttonText, length)) {
            button = numberAt(value);
        }
    }
    if (button >= 0)
        *param.button = button;
    if (keyFound)
        *param.key = key;
}

static void storeSetting(const SoundSetting &setting, int32_t value) {
    switch (setting.rule) {
    case SETTING_RANGE_OR_FALLBACK:
        *setting.value = (value >= setting.low && value <= setting.high) ? value : setting.fallback;
        break;
    case SETTING_CLAMP:
        *setting.value = value < setting.low ? setting.low : value > setting.high ? setting.high : value;
        break;
    case SETTING_FLAG:
        if (value == 1)
            mpFlags |= setting.flag;
        break;
    }
}

template <size_t N>
static void loadSettingsAt(const SoundSetting (&settings)[N], const char *text, uint32_t size, uint32_t pos) {
    for (const SoundSetting &setting : settings) {
        const size_t length = strlen(setting.key);
        if (matchesAt(text, size, pos, setting.key, length)) {
            storeSetting(setting, numberAt(text + pos + length));
            return;
        }
    }
}

// Called at start-up after resetDefaultControls; keys are found anywhere in the text.
void loadConfig() {
    uint32_t size;
    char *text = loadConfigText(&size);
    if (!text)
        return;
    for (const ControlParam &param : params)
        loadControl(param, text, size);
    if (size >= SOUND_SETTINGS_MIN_FILE) {
        for (uint32_t pos = 0; pos <= size - SOUND_SETTINGS_MIN_FILE; pos++) {
            loadSettingsAt(volumeSettings, text, size, pos);
            loadSettingsAt(playerSettings, text, size, pos);
        }
    }
    free(text);
}

static void dumpKey(const char *name, int32_t value, FILE *stream) {
    if (value >= 'a' && value <= 'z')
        fprintf(stream, "k_%s=%c\n", name, char(value));
    else
        fprintf(stream, "k_%s=%d\n", name, value);
}

template <size_t N> static void dumpSettings(const SoundSetting (&settings)[N], FILE *stream) {
    for (const SoundSetting &setting : settings) {
        int32_t value = setting.rule == SETTING_FLAG ? (mpFlags & setting.flag) != 0 : *setting.value;
        fprintf(stream, "%s%d\n", setting.key, value);
    }
}

// Called by the options screen when it is left after a change. The text is put together in memory
// and replaces the old file only once it is wholly on disk.
void dumpConfig() {
    char *data = nullptr;
    size_t size = 0;
    FILE *stream = open_memstream(&data, &size);
    if (!stream)
        return;
    dumpSettings(volumeSettings, stream);
    for (const ControlParam &param : params)
        fprintf(stream, "j_%s=%d\n", param.name, *param.button);
    for (const ControlParam &param : params)
        dumpKey(param.name, *param.key, stream);
    dumpSettings(playerSettings, stream);
    int32_t mode = (cfgScreen == 0 ? 1 : 0) + (cfgbpp != 16 ? 2 : 0) + 4 * cfgScalingMethod;
    fprintf(stream, "gfxmode=%d\n", mode);
    if (fclose(stream) == 0)
        configSavePlayerFile(PLAYER_CONFIG, data, size);
    free(data);
}
