// Input mapping: keyboard, joystick and mouse events folded into one control state.
#include "input/keyhelper_sdl2.h"

#include "data/config.h"
#include "gfx/gfx_sdl2.h"
#include "input/sys.h"
#include "main/defines.h"

#include <algorithm>

int32_t JUMP_BUTTON = DEFAULT_JUMP_BUTTON, PAUSE_BUTTON = DEFAULT_PAUSE_BUTTON,
        START_BUTTON = DEFAULT_START_BUTTON, SELECT_BUTTON = DEFAULT_SELECT_BUTTON,
        LEFT_BUTTON = DEFAULT_LEFT_BUTTON, RIGHT_BUTTON = DEFAULT_RIGHT_BUTTON, UP_BUTTON = DEFAULT_UP_BUTTON,
        DOWN_BUTTON = DEFAULT_DOWN_BUTTON;
int32_t JUMP_KEY = DEFAULT_JUMP_KEY, PAUSE_KEY = DEFAULT_PAUSE_KEY, START_KEY = DEFAULT_START_KEY,
        SELECT_KEY = DEFAULT_SELECT_KEY, LEFT_KEY = DEFAULT_LEFT_KEY, RIGHT_KEY = DEFAULT_RIGHT_KEY,
        UP_KEY = DEFAULT_UP_KEY, DOWN_KEY = DEFAULT_DOWN_KEY;

int32_t lastKey;
int32_t lastKeyTyped;
int32_t lastJButton = -1;
int32_t mouseX = -1, mouseY = -1;
int32_t done;
SDL_Joystick *joystick;

// Escape quits from every screen; it is no mapped control.
constexpr int32_t QUIT_KEY = SDL_SCANCODE_ESCAPE;
// The stick counts as pushed only beyond this, so a worn stick resting off-centre moves nothing.
constexpr int32_t AXIS_DEAD_ZONE = 24000;

struct Mapping {
    const int32_t *code; // the key or button (hat mask for directions) bound to the control
    int32_t bit;
    int32_t opposite; // the direction that a press of this one lets go of; 0 for the actions
};

// First match wins, in the order of these tables.
static const Mapping directionKeys[] = {
    {&UP_KEY, CTRL_UP, CTRL_DOWN},
    {&DOWN_KEY, CTRL_DOWN, CTRL_UP},
    {&RIGHT_KEY, CTRL_RIGHT, CTRL_LEFT},
    {&LEFT_KEY, CTRL_LEFT, CTRL_RIGHT},
};
static const Mapping actionKeys[] = {
    {&JUMP_KEY, CTRL_JUMP, 0},
    {&PAUSE_KEY, CTRL_PAUSE, 0},
    {&START_KEY, CTRL_START, 0},
};
static const Mapping actionButtons[] = {
    {&JUMP_BUTTON, CTRL_JUMP, 0},
    {&START_BUTTON, CTRL_START, 0},
    {&PAUSE_BUTTON, CTRL_PAUSE, 0},
    {&SELECT_BUTTON, CTRL_SELECT, 0},
};

template <size_t N> static const Mapping *findMapping(const Mapping (&table)[N], int32_t code) {
    for (const Mapping &mapping : table)
        if (*mapping.code == code)
            return &mapping;
    return nullptr;
}

static bool held(int32_t bit) { return (lastKey & bit) != 0; }

// Pressing a direction lets go of its opposite.
static void press(int32_t bit, int32_t opposite = 0) { lastKey = (lastKey & ~opposite) | bit; }

static void release(int32_t bit) {
    lastKeyTyped = bit;
    lastKey &= ~bit;
}

// Lets go of the first of the two that is held, reporting it as typed.
static void releaseHeld(int32_t first, int32_t second) {
    if (held(first))
        release(first);
    else if (held(second))
        release(second);
}

// A hat mask of -1 (or any other non-positive value) binds no direction.
static bool hatHas(int32_t value, int32_t mask) { return mask > 0 && (value & mask) != 0; }

static void keyDown(int32_t scancode) {
    lastJButton = -1;
    if (const Mapping *direction = findMapping(directionKeys, scancode))
        press(direction->bit, direction->opposite);
    if (const Mapping *action = findMapping(actionKeys, scancode))
        press(action->bit);
    else if (scancode == QUIT_KEY)
        done = 1;
}

static void keyUp(int32_t scancode) {
    lastJButton = -1;
    if (const Mapping *direction = findMapping(directionKeys, scancode))
        release(direction->bit);
    if (const Mapping *action = findMapping(actionKeys, scancode))
        release(action->bit);
}

static void buttonDown(int32_t button) {
    lastJButton = button;
    if (const Mapping *action = findMapping(actionButtons, button))
        press(action->bit);
}

static void buttonUp(int32_t button) {
    if (const Mapping *action = findMapping(actionButtons, button))
        release(action->bit);
}

// A diagonal that turns into a pure direction keeps the other axis held: both are let go only when
// the hat comes back to the centre.
static void hatMotion(int32_t value) {
    if (hatHas(value, UP_BUTTON))
        press(CTRL_UP, CTRL_DOWN);
    else if (hatHas(value, DOWN_BUTTON))
        press(CTRL_DOWN, CTRL_UP);

    if (hatHas(value, LEFT_BUTTON))
        press(CTRL_LEFT, CTRL_RIGHT);
    else if (hatHas(value, RIGHT_BUTTON))
        press(CTRL_RIGHT, CTRL_LEFT);
    else if (value == SDL_HAT_CENTERED) {
        releaseHeld(CTRL_DOWN, CTRL_UP);
        releaseHeld(CTRL_RIGHT, CTRL_LEFT);
    }
}

// Pushing the stick up doubles as the action on a pad that has no action button.
static void axisMotion(int axis, int32_t value) {
    const bool stickJumps = JUMP_BUTTON == -1;
    if (axis == 0) {
        if (value > AXIS_DEAD_ZONE)
            press(CTRL_RIGHT, CTRL_LEFT);
        else if (value < -AXIS_DEAD_ZONE)
            press(CTRL_LEFT, CTRL_RIGHT);
        else
            releaseHeld(CTRL_RIGHT, CTRL_LEFT);
    } else if (axis == 1) {
        if (value < -AXIS_DEAD_ZONE) {
            press(CTRL_UP, CTRL_DOWN);
            if (stickJumps)
                lastKey |= CTRL_JUMP;
        } else if (value > AXIS_DEAD_ZONE) {
            press(CTRL_DOWN, CTRL_UP);
        } else {
            releaseHeld(CTRL_DOWN, CTRL_UP);
            if (stickJumps && held(CTRL_JUMP))
                release(CTRL_JUMP);
        }
    }
}

SDL_Point clickToScreen(int x, int y) {
    return SDL_Point{std::clamp(x, 0, SCREEN_WIDTH - 1), std::clamp(y, 0, SCREEN_HEIGHT - 1)};
}

// Keys for the window, not the game: Alt+Enter toggles full screen and F12 saves a screenshot on any
// screen. Their release is swallowed too, so that the Enter of Alt+Enter never reads as START.
static int32_t windowKeyHeld = SDL_SCANCODE_UNKNOWN;

static bool windowKey(const SDL_KeyboardEvent &key) {
    const int32_t scancode = key.keysym.scancode;
    if (key.type == SDL_KEYUP) {
        if (scancode != windowKeyHeld)
            return false;
        windowKeyHeld = SDL_SCANCODE_UNKNOWN;
        return true;
    }
    if (scancode == SDL_SCANCODE_RETURN && (key.keysym.mod & KMOD_ALT)) {
        if (!key.repeat)
            gfxToggleFullScreen();
    } else if (scancode == SDL_SCANCODE_F12) {
        if (!key.repeat)
            gfxSaveScreenshot(configFolder);
    } else {
        return false;
    }
    windowKeyHeld = scancode;
    return true;
}

static void handleEvent(const SDL_Event &event) {
    switch (event.type) {
    case SDL_QUIT:
        done = 1;
        break;
    case SDL_KEYDOWN:
        if (!windowKey(event.key))
            keyDown(event.key.keysym.scancode);
        break;
    case SDL_KEYUP:
        if (!windowKey(event.key))
            keyUp(event.key.keysym.scancode);
        break;
    case SDL_JOYBUTTONDOWN:
        buttonDown(event.jbutton.button);
        break;
    case SDL_JOYBUTTONUP:
        buttonUp(event.jbutton.button);
        break;
    case SDL_JOYHATMOTION:
        hatMotion(event.jhat.value);
        break;
    case SDL_JOYAXISMOTION:
        axisMotion(event.jaxis.axis, event.jaxis.value);
        break;
    case SDL_MOUSEBUTTONDOWN: {
        const SDL_Point click = clickToScreen(event.button.x, event.button.y);
        mouseX = click.x;
        mouseY = click.y;
        break;
    }
    default:
        break;
    }
}

// Called once per tick by every screen loop.
void checkInput() {
    lastKeyTyped = 0;
    SDL_Event event;
    while (sysPollEvent(&event))
        handleEvent(event);
}

// Called by the options screen after each game-pad assignment: returns once no pad button is held.
void waitKeyUp() {
    const int buttons = joystick ? SDL_JoystickNumButtons(joystick) : 0;
    for (;;) {
        sysDelay(10);
        sysPumpEvents();
        int heldButtons = 0;
        for (int i = 0; i < buttons; i++)
            heldButtons += SDL_JoystickGetButton(joystick, i) ? 1 : 0;
        SDL_Event event;
        while (sysPollEvent(&event)) {
        }
        if (heldButtons == 0)
            break;
    }
    lastJButton = -1;
    lastKeyTyped = 0;
    lastKey = 0;
}
