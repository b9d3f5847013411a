// Start-up and shutdown: the command line, the fixed start-up order, the intro screens, exitGame.
#include "main/startup.h"

#include "data/config.h"
#include "data/hiscores.h"
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
    "-h : help",
};

// The command line: each argument sets one display setting; "-t" also asks for the test stage and
// "-h" (no setting) for the help.
struct CommandSwitch {
    const char *name;
    int32_t *setting; // nullptr: the help
    int32_t value;
    bool testMode;
};
static const CommandSwitch commandSwitches[] = {
    {"-fs", &fs, 1, false},
    {"-w", &fs, 0, false},
    {"-x1", &ScalingMethod, 0, false},
    {"-x2", &ScalingMethod, 1, false},
    {"-s2x", &ScalingMethod, 2, false},
    {"-sl2", &ScalingMethod, 3, false},
    {"-bl2", &ScalingMethod, 4, false},
    {"-b16", &bpp, 16, false},
    {"-b24", &bpp, 24, false},
    {"-t", &fs, 0, true},
    {"-h", nullptr, 0, false},
};

constexpr int AUDIO_RATE = 22050;
constexpr int AUDIO_CHANNELS = 2;
constexpr int AUDIO_BUFFER_FRAMES = 1024;
constexpr int SFX_CHANNELS = 16;

// Applies the arguments in order, a later one overriding an earlier one; unknown ones change
// nothing. Returns false at "-h", leaving the arguments after it unread.
static bool parseCommandLine(int argc, char **argv, int *testMode) {
    for (int i = 1; i < argc; i++) {
        for (const CommandSwitch &option : commandSwitches) {
            if (strcmp(argv[i], option.name) != 0)
                continue;
            if (!option.setting)
                return false;
            *option.setting = option.value;
            if (option.testMode)
                *testMode = 1;
            break;
        }
    }
    return true;
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

    ctrlOpenPads();

    // Without a sound device the game plays silently.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
        MP_OpenAudio(AUDIO_RATE, AUDIO_S16LSB, AUDIO_CHANNELS, AUDIO_BUFFER_FRAMES) == -1)
        fprintf(stderr, "mirabo: no sound: %s\n", SDL_GetError());
    else
        Mix_AllocateChannels(SFX_CHANNELS);

    SDL_ShowCursor(SDL_DISABLE);
    openArchives();
    loadSpriteFont();
    loadSharedImages();

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
    getConfigFolder();
    loadGfxConfig();
    fs = cfgScreen == 0 ? 1 : 0;
    ScalingMethod = cfgScalingMethod;
    bpp = cfgbpp;

    int testMode = 0;
    if (!parseCommandLine(argc, argv, &testMode)) {
        for (const char *line : helpLines)
            puts(line);
        return 0;
    }
    reconcileDisplaySettings();
    startUp();

    loadHiscores(0);
    if (testMode) {
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
