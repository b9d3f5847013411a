// Start-up and shutdown: the command line, the fixed start-up order, the intro screens, exitGame.
#include "main/startup.h"

#include "data/config.h"
#include "data/hiscores.h"
#include "data/paths.h"
#include "data/winzka.h"
#include "gfx/debug.h"
#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "input/keyhelper_sdl2.h"
#include "input/sys.h"
#include "main/credits.h"
#include "main/game.h"
#include "main/level.h"
#include "main/levelfile.h"
#include "main/menu.h"
#include "main/runner.h"
#include "main/screen.h"
#include "main/sheets.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <SDL_mixer.h>
#include <cstdio>
#include <cstring>

static const char *const helpLines[] = {
    "-w : window mode (not fullscreen)",
    "-fs : fullscreen (-x2 automatically added)",
    "-x1 : no zoom",
    "-x2 : zoom with no antialiasing",
    "-s2x: zoom with Scale2X algorithm",
    "-sl2: zoom with Scanline algorithm",
    "-bl2: zoom with Bilinear algorithm",
    "-b16 : 16 bits video mode",
    "-b24 : 24 bits video mode (may be useful if fade in/fade out looks crappy)",
    "--data DIR : read the game data from DIR",
    "-h, --help : help",
};

// What the command line asks for; a display setting it does not name stays -1.
struct CommandLine {
    int32_t fs = -1, scalingMethod = -1, bpp = -1;
    bool testMode = false;
    const char *dataFolder = nullptr;
};

// Each switch sets one display setting; "-t" also asks for the test stage.
struct CommandSwitch {
    const char *name;
    int32_t CommandLine::*setting;
    int32_t value;
    bool testMode;
};
static const CommandSwitch commandSwitches[] = {
    {"-fs", &CommandLine::fs, 1, false},
    {"-w", &CommandLine::fs, 0, false},
    {"-x1", &CommandLine::scalingMethod, 0, false},
    {"-x2", &CommandLine::scalingMethod, 1, false},
    {"-s2x", &CommandLine::scalingMethod, 2, false},
    {"-sl2", &CommandLine::scalingMethod, 3, false},
    {"-bl2", &CommandLine::scalingMethod, 4, false},
    {"-b16", &CommandLine::bpp, 16, false},
    {"-b24", &CommandLine::bpp, 24, false},
    {"-t", &CommandLine::fs, 0, true},
};

constexpr int AUDIO_RATE = 22050;
constexpr int AUDIO_CHANNELS = 2;
constexpr int AUDIO_BUFFER_FRAMES = 1024;
constexpr int SFX_CHANNELS = 16;

// Reads the arguments in order, a later one overriding an earlier one; unknown ones change nothing.
// At "-h" or "--help" it stops and returns 0, at "--data" without a folder 2 (the help is printed
// either way); -1 when the game is to start.
static int parseCommandLine(int argc, char **argv, CommandLine *line) {
    for (int i = 1; i < argc; i++) {
        const char *arg = argv[i];
        if (strcmp(arg, "-h") == 0 || strcmp(arg, "--help") == 0)
            return 0;
        if (strcmp(arg, "--data") == 0) {
            if (i + 1 == argc) {
                fprintf(stderr, "--data needs a folder\n");
                return 2;
            }
            line->dataFolder = argv[++i];
            continue;
        }
        for (const CommandSwitch &option : commandSwitches) {
            if (strcmp(arg, option.name) == 0) {
                line->*option.setting = option.value;
                line->testMode |= option.testMode;
                break;
            }
        }
    }
    return -1;
}

// The configuration's display settings, then those the command line names.
static void applyDisplaySettings(const CommandLine &line) {
    fs = line.fs >= 0 ? line.fs : (cfgScreen == 0 ? 1 : 0);
    ScalingMethod = line.scalingMethod >= 0 ? line.scalingMethod : cfgScalingMethod;
    bpp = line.bpp >= 0 ? line.bpp : cfgbpp;
}

// Full screen always zooms; the stored screen setting follows what this run uses.
static void reconcileDisplaySettings() {
    if (fs == 1) {
        if (ScalingMethod == 0)
            ScalingMethod = 1;
        cfgScreen = 0;
    } else {
        cfgScreen = ScalingMethod == 0 ? 1 : 2;
    }
    cfgScalingMethod = ScalingMethod;
    cfgbpp = bpp;
    printf("%d %d %d\n", fs, cfgScreen, ScalingMethod);
}

// Called once by gameMain, after the display settings are known: everything the screens need.
void startUp() {
    sysStart();
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        error("Unable to init SDL", SDL_GetError());
    screen = gfxSetVideoMode();
    if (!screen)
        error("Unable to set video mode", SDL_GetError());
    gfxInitColors();
    gfxPrepareBlackScreen();
    prepareScrollBack();

    // Without a sound device the game plays silently.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
        MP_OpenAudio(AUDIO_RATE, AUDIO_S16LSB, AUDIO_CHANNELS, AUDIO_BUFFER_FRAMES) == -1)
        fprintf(stderr, "mirabo: no sound: %s\n", SDL_GetError());
    else
        Mix_AllocateChannels(SFX_CHANNELS);

    SDL_ShowCursor(SDL_DISABLE);
    openArchives();
    // The fonts, images and sheets come while the intro plays (see initStuff).
    gfxSetWindowIcon("icon");

    resetDefaultControls();
    loadConfig();
    _sfx_volume_ = mixerVolume(_sfx_volume_100_);
    _mus_volume_ = mixerVolume(_mus_volume_100_);
    Mix_Volume(-1, _sfx_volume_);
    MP_VolumeMusic(_mus_volume_);

    loadLevels();
    input.done = 0;
}

// The whole program: main() only calls it.
int gameMain(int argc, char **argv) {
    CommandLine line;
    const int helpStatus = parseCommandLine(argc, argv, &line);
    if (helpStatus >= 0) {
        for (const char *text : helpLines)
            fprintf(helpStatus ? stderr : stdout, "%s\n", text);
        return helpStatus;
    }
    pathsLocate(line.dataFolder);
    getConfigFolder();
    loadGfxConfig();
    applyDisplaySettings(line);
    reconcileDisplaySettings();
    startUp();

    loadHiscores(0);
    if (line.testMode) {
        initStuff();
        run(-1, 0, 0);
    } else {
        screenPush(menuScreen);
        screenPush(introScreen);
    }
    screenRun();
    return exitGame();
}

// Called once, as the last step of gameMain.
int exitGame() {
    ctrlClosePads();
    gfxShutdown();
    freeSharedImages();
    freeSheets();
    destroyFonts();
    for (int i = 0; i < SFX_COUNT; i++)
        freeSFX(i);
    freeLevels();
    closeArchives();
    Mix_CloseAudio();
    SDL_Quit();
    return 0;
}
