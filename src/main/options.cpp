// The options screen: ten rows of settings, the sound check and the game pad's button assignment.
#include "main/options.h"

#include "data/config.h"
#include "data/hiscores.h"
#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "input/keyhelper_sdl2.h"
#include "main/defines.h"
#include "main/game.h"
#include "main/i18n.h"
#include "main/menu.h"
#include "main/menulist.h"
#include "main/runner.h"
#include "sound/modplayer.h"
#include "sound/sound.h"

#include <SDL_mixer.h>
#include <cstdio>

static OptionsState options;

const OptionsState &optionsState() { return options; }

constexpr int COOL_DOWN = 10; // frames after an action in which the controls rest
constexpr int VOLUME_STEP = 5;
constexpr int32_t DEFAULT_MUSIC_VOLUME = 100, DEFAULT_SFX_VOLUME = 15;
constexpr int SOUNDCHECK_TRACKS = MUSIC_TITLES; // the titled tracks 0 to 10

constexpr int SCALING_METHODS = 6, SCALING_SIMPLE = 1;

constexpr int TITLE_Y = 40, PROMPT_Y = 124, WARNING_Y = 140;
constexpr int LABEL_X = 24, VALUE_X = 192, MARKER_X = 14;
constexpr int ROW_Y = 72, ROW_SPACING = 10, BACK_ROW = 9, BACK_Y = 182;
// Clicks: above the rows they do nothing; between them they pick a row; below, BACK TO MENU.
constexpr int CLICK_TOP = 63, CLICK_BACK = 172;

// The pad's buttons before an assignment began, put back when a quit request abandons it.
static int32_t oldStartButton, oldJumpButton;

static int rowY(int row) { return row == BACK_ROW ? BACK_Y : ROW_Y + ROW_SPACING * row; }

static const char *notAvailable() { return text(TEXT_NOT_AVAILABLE); }
// The assignment serves the pads without a layout: a pad SDL knows keeps its layout.
static const char *padValue() { return text(ctrlRawPads() > 0 ? TEXT_PAD_READY : TEXT_NOT_AVAILABLE); }
static const char *percent(int32_t value) {
    static char number[12];
    snprintf(number, sizeof number, "%d", int(value));
    return number;
}
static const char *musicVolumeValue() { return percent(_mus_volume_100_); }
static const char *sfxVolumeValue() { return percent(_sfx_volume_100_); }
static const char *scalingValue() {
    if (cfgScalingMethod < 0 || cfgScalingMethod >= SCALING_METHODS)
        cfgScalingMethod = SCALING_SIMPLE;
    return text(TEXT_SCALING_NONE + cfgScalingMethod);
}
static const char *trackTitle() { return getMusicTitle(curMusic); }

// Plays track curMusic in place of the menu's music, looping, without a fade.
static void playTrack(ModPlugFile *&music) {
    stopMusic(music);
    music = loadMusic(curMusic);
    MP_PlayMusic(music, -1);
}

// The main menu plays the title track: one chosen in the sound check gives way to it.
static void restoreTitleTrack(ModPlugFile *&music) {
    if (curMusic == MUSIC_TITLE_TRACK)
        return;
    curMusic = MUSIC_TITLE_TRACK;
    playTrack(music);
}

static int32_t steppedVolume(int32_t volume, int step) {
    volume += step * VOLUME_STEP;
    return volume < 0 ? 0 : volume > 100 ? 100 : volume;
}

static void changeMusicVolume(int step, ModPlugFile *&) {
    _mus_volume_100_ = steppedVolume(_mus_volume_100_, step);
    _mus_volume_ = mixerVolume(_mus_volume_100_);
    MP_VolumeMusic(_mus_volume_);
    options.cfgChanged = 1;
    options.cfgCount = COOL_DOWN;
}

// The effect sounds at its new level, as a sample.
static void changeSfxVolume(int step, ModPlugFile *&) {
    _sfx_volume_100_ = steppedVolume(_sfx_volume_100_, step);
    _sfx_volume_ = mixerVolume(_sfx_volume_100_);
    Mix_Volume(-1, _sfx_volume_);
    playSFX(SFX_SELECT_OPTION);
    options.cfgChanged = 1;
    options.cfgCount = COOL_DOWN;
}

// Listening is no setting: the configuration is not marked as changed.
static void soundCheck(int step, ModPlugFile *&music) {
    curMusic = (curMusic + step + SOUNDCHECK_TRACKS) % SOUNDCHECK_TRACKS;
    options.cfgCount = COOL_DOWN;
    playTrack(music);
}

static void configureKeys(ModPlugFile *&) {
    options.cfgCount = COOL_DOWN;
    options.cfgStep = 0;
}

static void configurePad(ModPlugFile *&) {
    if (ctrlRawPads() == 0)
        return;
    oldStartButton = START_BUTTON;
    oldJumpButton = JUMP_BUTTON;
    START_BUTTON = JUMP_BUTTON = -1;
    options.cfgStatus = 1;
    options.cfgChanged = 1;
    options.cfgUsed = 0;
    options.cfgCount = COOL_DOWN;
    options.cfgStep = 0;
}

static void resetToDefault(ModPlugFile *&) {
    resetDefaultControls();
    _mus_volume_100_ = DEFAULT_MUSIC_VOLUME;
    _mus_volume_ = mixerVolume(DEFAULT_MUSIC_VOLUME);
    MP_VolumeMusic(_mus_volume_);
    _sfx_volume_100_ = DEFAULT_SFX_VOLUME;
    _sfx_volume_ = mixerVolume(DEFAULT_SFX_VOLUME);
    Mix_Volume(-1, _sfx_volume_);
    options.cfgCount = COOL_DOWN;
    options.cfgChanged = 1;
    playSFX(SFX_SELECT_OPTION);
}

static void resetHiscores(ModPlugFile *&) {
    loadHiscores(1);
    playSFX(SFX_SELECT_OPTION);
}

static void backToMenu(ModPlugFile *&music) {
    restoreTitleTrack(music);
    screenPop();
}

struct OptionRow {
    TextId label;
    const char *(*value)();                        // the value shown at x = 192, or none
    void (*change)(int step, ModPlugFile *&music); // LEFT -1, RIGHT +1; or none
    void (*choose)(ModPlugFile *&music);           // START or JUMP; or none
};
static const OptionRow optionRows[OPTION_ROWS] = {
    {TEXT_CONFIGURE_KEYS, notAvailable, nullptr, configureKeys}, // CONFIGURE KEYS: not here, see the file
    {TEXT_CONFIGURE_PAD, padValue, nullptr, configurePad},       // CONFIGURE PAD
    {TEXT_MUSIC_VOLUME, musicVolumeValue, changeMusicVolume, nullptr}, // MUSIC VOLUME
    {TEXT_SFX_VOLUME, sfxVolumeValue, changeSfxVolume, nullptr},       // SFX VOLUME
    {TEXT_SCREEN_SETTINGS, notAvailable, nullptr, nullptr},            // SCREEN SETTINGS
    {TEXT_SCALING_SETTINGS, scalingValue, nullptr,
     nullptr},                                          // SCALING SETTINGS: shown, set by the command line
    {TEXT_SOUNDCHECK, trackTitle, soundCheck, nullptr}, // SOUNDCHECK
    {TEXT_RESET_TO_DEFAULT, nullptr, nullptr, resetToDefault}, // RESET TO DEFAULT
    {TEXT_RESET_HISCORES, nullptr, nullptr, resetHiscores},    // RESET HISCORES
    {TEXT_BACK_TO_MENU, nullptr, nullptr, backToMenu},         // BACK TO MENU
};

static void optionsEnter() {
    workflow = MENU_OPTIONS_SCREEN;
    options = OptionsState{};
}

// Called by the pad assignment with START_BUTTON in step 0 and JUMP_BUTTON in step 1.
void configButton(int32_t &target) {
    if (input.lastJButton >= 0) {
        if (input.lastJButton != START_BUTTON && input.lastJButton != JUMP_BUTTON) {
            target = input.lastJButton;
            options.cfgUsed = 0;
            if (++options.cfgStep == 2)
                options.cfgStatus = 0;
        } else {
            options.cfgUsed = 1;
        }
    }
    waitKeyUp();
}

// A pad button, or a control key, went down: only a free pad button is taken.
static void assignPadInput() {
    input.mouseX = input.mouseY = -1;
    if (options.cfgCount > 0) {
        options.cfgCount--;
        return;
    }
    if (input.lastJButton < 0 && input.lastKey == 0)
        return;
    configButton(options.cfgStep == 0 ? START_BUTTON : JUMP_BUTTON);
}

// The row under a click: between the rows' lines, or BACK TO MENU below them; -1 above them.
static int clickedRow(int y) {
    if (y < CLICK_TOP)
        return -1;
    return y < CLICK_BACK ? (y - ROW_Y) / ROW_SPACING : BACK_ROW;
}

static void choose(ModPlugFile *&music) {
    waitKeyUp();
    if (optionRows[options.cfgIndex].choose)
        optionRows[options.cfgIndex].choose(music);
}

// A direction counts when released in this tick or held; held ones repeat every 11 ticks.
static void directionInput(int32_t typed, bool rightPress, ModPlugFile *&music) {
    if (options.cfgCount > 0) {
        options.cfgCount--;
        return;
    }
    auto pressed = [typed](int32_t control) { return typed == control || (input.lastKey & control) != 0; };
    const OptionRow &row = optionRows[options.cfgIndex];
    if (pressed(CTRL_UP) || pressed(CTRL_DOWN)) {
        MenuList rows{OPTION_ROWS, nullptr, options.cfgIndex};
        listMove(rows, pressed(CTRL_UP) ? -1 : 1);
        options.cfgIndex = rows.selection;
        options.cfgCount = COOL_DOWN;
        playSFX(SFX_MENU_CONTROL);
    } else if (rightPress || pressed(CTRL_RIGHT)) {
        if (row.change)
            row.change(1, music);
    } else if (pressed(CTRL_LEFT) && row.change) {
        row.change(-1, music);
    }
}

// A click selects a row; on the selected row it steps the row's value up as RIGHT does, or chooses
// a row without a value. START and JUMP choose, even during the cool-down.
static void optionsInput(ModPlugFile *&music) {
    if (options.cfgStatus) {
        assignPadInput();
        return;
    }
    if (input.mouseY != -1) {
        MenuList rows{OPTION_ROWS, nullptr, options.cfgIndex};
        const ListAction action = listClick(rows, clickedRow(input.mouseY));
        input.mouseX = input.mouseY = -1;
        options.cfgIndex = rows.selection;
        if (action != LIST_ACT)
            return;
        if (optionRows[options.cfgIndex].change)
            directionInput(0, true, music);
        else
            choose(music);
        return;
    }
    if (ctrlIsConfirm(input.lastKeyTyped))
        choose(music);
    else
        directionInput(input.lastKeyTyped, false, music);
}

static void optionsTick() {
    optionsInput(menuMusic());
    menuAnimate();
}

// A quit request leaves without saving: an unfinished pad assignment gives the pad its old buttons
// back, and the title track returns.
static void optionsQuit() {
    if (options.cfgStatus) {
        START_BUTTON = oldStartButton;
        JUMP_BUTTON = oldJumpButton;
        options.cfgStatus = 0;
    }
    options.cfgChanged = 0;
    restoreTitleTrack(menuMusic());
    screenPop();
}

// Leaving saves what changed: by BACK TO MENU, or when the program is ended from here.
static void optionsLeave() {
    if (options.cfgChanged)
        dumpConfig();
    workflow = MENU_OPTIONS;
}

static void optionsDraw() {
    menuDrawLayers();
    drawTextCenterAt(screen, text(TEXT_OPTIONS), TITLE_Y, fontbig);
    drawTextCenterAt(screen, VERSION_LINE, VERSION_Y, fontbig);
    if (options.cfgStatus) {
        drawTextCenterAt(screen,
                         text(options.cfgStep == 0 ? TEXT_PRESS_START_BUTTON : TEXT_PRESS_ACTION_BUTTON),
                         PROMPT_Y, font);
        if (options.cfgUsed)
            drawTextCenterAt(screen, text(TEXT_ALREADY_USED), WARNING_Y, font);
        return;
    }
    for (int r = 0; r < OPTION_ROWS; r++) {
        const OptionRow &row = optionRows[r];
        drawTextAt(screen, text(row.label), LABEL_X, rowY(r), font);
        if (row.value)
            drawTextAt(screen, row.value(), VALUE_X, rowY(r), font);
    }
    drawTextAt(screen, ">", MARKER_X, rowY(options.cfgIndex), font);
}

const Screen optionsScreen = {"options", optionsEnter, optionsTick, optionsDraw, optionsLeave, optionsQuit};
