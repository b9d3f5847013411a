// Input mapping: keyboard, joystick and mouse events folded into one control state.
#include "input/keyhelper_sdl2.h"

#include "input/sys.h"
#include "main/defines.h"

#include <algorithm>
#include <utility>

int32_t JUMP_BUTTON = DEFAULT_JUMP_BUTTON, PAUSE_BUTTON = DEFAULT_PAUSE_BUTTON,
        START_BUTTON = DEFAULT_START_BUTTON, SELECT_BUTTON = DEFAULT_SELECT_BUTTON,
        LEFT_BUTTON = DEFAULT_LEFT_BUTTON, RIGHT_BUTTON = DEFAULT_RIGHT_BUTTON, UP_BUTTON = DEFAULT_UP_BUTTON,
        DOWN_BUTTON = DEFAULT_DOWN_BUTTON;
int32_t JUMP_KEY = DEFAULT_JUMP_KEY, PAUSE_KEY = DEFAULT_PAUSE_KEY, START_KEY = DEFAULT_START_KEY,
        SELECT_KEY = DEFAULT_SELECT_KEY, LEFT_KEY = DEFAULT_LEFT_KEY, RIGHT_KEY = DEFAULT_RIGHT_KEY,
        UP_KEY = DEFAULT_UP_KEY, DOWN_KEY = DEFAULT_DOWN_KEY;

ControlState input = {0, 0, -1, -1, -1, 0, 0, 0, 0};

static int requests; // ControlRequest bits not yet taken

// The mouse pointer shows while the mouse moves and hides again after a while without it, or as soon
// as a key or a pad is used: a mouse player sees where he points, others never see it.
constexpr uint32_t POINTER_IDLE_MS = 3000;
static bool pointerShown;
static uint32_t pointerMoved;

static void showPointer(bool show) {
    if (show != pointerShown)
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    pointerShown = show;
}

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

// The buttons of a pad SDL has a layout for (SDL_CONTROLLER_BUTTON_*). B and guide are requests, no
// controls: see padButtonDown.
struct PadButton {
    int32_t button;
    int32_t bit;
    int32_t opposite;
};
static const PadButton padButtons[] = {
    {SDL_CONTROLLER_BUTTON_A, CTRL_JUMP, 0},
    {SDL_CONTROLLER_BUTTON_START, CTRL_START, 0},
    {SDL_CONTROLLER_BUTTON_BACK, CTRL_PAUSE, 0},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, CTRL_UP, CTRL_DOWN},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, CTRL_DOWN, CTRL_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, CTRL_RIGHT, CTRL_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, CTRL_LEFT, CTRL_RIGHT},
};
// The left stick of a layout reports as axes 0 and 1, as a raw pad's first stick does.
static_assert(SDL_CONTROLLER_AXIS_LEFTX == 0 && SDL_CONTROLLER_AXIS_LEFTY == 1);

static int32_t codeOf(const Mapping &mapping) { return *mapping.code; }
static int32_t codeOf(const PadButton &button) { return button.button; }

template <typename Row, size_t N> static const Row *findMapping(const Row (&table)[N], int32_t code) {
    for (const Row &row : table)
        if (codeOf(row) == code)
            return &row;
    return nullptr;
}

static bool held(int32_t bit) { return (input.lastKey & bit) != 0; }

// Pressing a direction lets go of its opposite.
static void press(int32_t bit, int32_t opposite = 0) { input.lastKey = (input.lastKey & ~opposite) | bit; }

static void release(int32_t bit) {
    input.lastKeyTyped = bit;
    input.lastKey &= ~bit;
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
    input.lastJButton = -1;
    const Mapping *direction = findMapping(directionKeys, scancode);
    const Mapping *action = findMapping(actionKeys, scancode);
    if (direction)
        press(direction->bit, direction->opposite);
    if (action)
        press(action->bit);
    else if (scancode == QUIT_KEY)
        input.done = 1;
    if (!direction && !action && scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        input.letterTyped = char('A' + (scancode - SDL_SCANCODE_A));
}

static bool isModifier(int32_t scancode) {
    return scancode >= SDL_SCANCODE_LCTRL && scancode <= SDL_SCANCODE_RGUI;
}

static void keyUp(int32_t scancode) {
    input.lastJButton = -1;
    if (scancode != QUIT_KEY && !isModifier(scancode))
        input.anyTyped = 1;
    if (const Mapping *direction = findMapping(directionKeys, scancode))
        release(direction->bit);
    if (const Mapping *action = findMapping(actionKeys, scancode))
        release(action->bit);
}

static void buttonDown(int32_t button) {
    input.lastJButton = button;
    if (const Mapping *action = findMapping(actionButtons, button))
        press(action->bit);
}

static void buttonUp(int32_t button) {
    input.anyTyped = 1;
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

// With stickJumps, pushing the stick up doubles as the action (a raw pad without an action button).
static void axisMotion(int axis, int32_t value, bool stickJumps) {
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
                input.lastKey |= CTRL_JUMP;
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

// The open pads, one slot each; a free slot has no joystick.
constexpr int MAX_PADS = 8;
struct Pad {
    SDL_Joystick *joystick;
    SDL_GameController *controller; // the layout SDL knows for it, or nullptr
    SDL_JoystickID id;
};
static Pad pads[MAX_PADS];

// Mapping lines in SDL's format that players may put beside the data folder.
static const char *const PAD_MAPPINGS_FILE = "./gamecontrollerdb.txt";

static Pad *findPad(SDL_JoystickID id) {
    for (Pad &pad : pads)
        if (pad.joystick && pad.id == id)
            return &pad;
    return nullptr;
}

static bool hasLayout(SDL_JoystickID id) {
    const Pad *pad = findPad(id);
    return pad && pad->controller;
}

// A pad with a layout announces itself twice (as joystick and as controller): the second finds it open.
static void openPad(int deviceIndex) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || findPad(id))
        return;
    for (Pad &pad : pads) {
        if (pad.joystick)
            continue;
        pad.controller = SDL_IsGameController(deviceIndex) ? SDL_GameControllerOpen(deviceIndex) : nullptr;
        pad.joystick =
            pad.controller ? SDL_GameControllerGetJoystick(pad.controller) : SDL_JoystickOpen(deviceIndex);
        pad.id = id;
        return;
    }
}

static void closePad(Pad &pad) {
    if (pad.controller)
        SDL_GameControllerClose(pad.controller);
    else
        SDL_JoystickClose(pad.joystick);
    pad = Pad{};
}

// Pads plugged in or pulled out. Returns false for every other event.
static bool padDeviceEvent(const SDL_Event &event) {
    switch (event.type) {
    case SDL_JOYDEVICEADDED:
    case SDL_CONTROLLERDEVICEADDED:
        openPad(event.jdevice.which); // a device index
        return true;
    case SDL_JOYDEVICEREMOVED:
    case SDL_CONTROLLERDEVICEREMOVED:
        if (Pad *pad = findPad(event.jdevice.which)) { // an instance id
            closePad(*pad);
            requests |= REQUEST_PAUSE;
        }
        return true;
    default:
        return false;
    }
}

// B quits (or backs out of a menu) as Escape does; guide asks for a screenshot. A layout's buttons are
// no raw buttons for the pad assignment.
static void padButtonDown(int32_t button) {
    input.lastJButton = -1;
    if (button == SDL_CONTROLLER_BUTTON_B)
        input.done = 1;
    else if (button == SDL_CONTROLLER_BUTTON_GUIDE)
        requests |= REQUEST_SCREENSHOT;
    else if (const PadButton *mapped = findMapping(padButtons, button))
        press(mapped->bit, mapped->opposite);
}

static void padButtonUp(int32_t button) {
    input.anyTyped = 1;
    if (const PadButton *mapped = findMapping(padButtons, button))
        release(mapped->bit);
}

// Pads coming and going, and the events of pads with a layout. Such a pad sends its raw events too:
// they are dropped here, so its layout alone counts. Returns false for the events left to the rest.
static bool padEvent(const SDL_Event &event) {
    if (padDeviceEvent(event))
        return true;
    switch (event.type) {
    case SDL_CONTROLLERBUTTONDOWN:
        padButtonDown(event.cbutton.button);
        return true;
    case SDL_CONTROLLERBUTTONUP:
        padButtonUp(event.cbutton.button);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        axisMotion(event.caxis.axis, event.caxis.value, false); // a layout always has an A button
        return true;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        return hasLayout(event.jbutton.which);
    case SDL_JOYHATMOTION:
        return hasLayout(event.jhat.which);
    case SDL_JOYAXISMOTION:
        return hasLayout(event.jaxis.which);
    default:
        return false;
    }
}

// A missing pad, or a joystick subsystem that does not start, is no error.
void ctrlOpenPads() {
    if (SDL_Init(SDL_INIT_GAMECONTROLLER) != 0)
        return;
    SDL_GameControllerAddMappingsFromFile(PAD_MAPPINGS_FILE);
    SDL_JoystickEventState(SDL_ENABLE);
    for (int i = 0; i < SDL_NumJoysticks(); i++)
        openPad(i);
}

void ctrlClosePads() {
    for (Pad &pad : pads)
        if (pad.joystick)
            closePad(pad);
}

int ctrlRawPads() {
    int count = 0;
    for (const Pad &pad : pads)
        count += pad.joystick && !pad.controller ? 1 : 0;
    return count;
}

int ctrlTakeRequests() { return std::exchange(requests, 0); }

bool ctrlHitAnyKey() { return input.anyTyped || input.lastKeyTyped || input.mouseY != -1; }

static bool padButtonHeld() {
    for (const Pad &pad : pads)
        for (int i = 0; pad.joystick && i < SDL_JoystickNumButtons(pad.joystick); i++)
            if (SDL_JoystickGetButton(pad.joystick, i))
                return true;
    return false;
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
            requests |= REQUEST_FULL_SCREEN;
    } else if (scancode == SDL_SCANCODE_F12) {
        if (!key.repeat)
            requests |= REQUEST_SCREENSHOT;
    } else {
        return false;
    }
    windowKeyHeld = scancode;
    return true;
}

// Losing the focus or being minimised asks the stage to pause.
static void windowEvent(const SDL_WindowEvent &window) {
    if (window.event == SDL_WINDOWEVENT_FOCUS_LOST || window.event == SDL_WINDOWEVENT_MINIMIZED)
        requests |= REQUEST_PAUSE;
}

static void handleEvent(const SDL_Event &event) {
    if (event.type == SDL_MOUSEMOTION) {
        showPointer(true);
        pointerMoved = sysTicks();
    } else if (event.type == SDL_KEYDOWN || event.type == SDL_JOYBUTTONDOWN ||
               event.type == SDL_CONTROLLERBUTTONDOWN) {
        showPointer(false);
    }
    if (padEvent(event))
        return;
    switch (event.type) {
    case SDL_QUIT:
        input.done = 1;
        break;
    case SDL_WINDOWEVENT:
        windowEvent(event.window);
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
        axisMotion(event.jaxis.axis, event.jaxis.value, JUMP_BUTTON == -1);
        break;
    case SDL_MOUSEBUTTONDOWN: {
        const SDL_Point click = clickToScreen(event.button.x, event.button.y);
        input.mouseX = click.x;
        input.mouseY = click.y;
        input.rightClick |= event.button.button == SDL_BUTTON_RIGHT;
        break;
    }
    default:
        break;
    }
}

// Called once per tick by the screen runner.
void checkInput() {
    input.lastKeyTyped = 0;
    input.anyTyped = 0;
    input.letterTyped = 0;
    input.rightClick = 0;
    SDL_Event event;
    while (sysPollEvent(&event))
        handleEvent(event);
    if (pointerShown && sysTicks() - pointerMoved > POINTER_IDLE_MS)
        showPointer(false);
}

// Called by the options screen after each game-pad assignment: returns once no button of any pad is
// held. Other events meanwhile are swallowed, but pads plugged in or pulled out are still opened and
// closed.
void waitKeyUp() {
    for (;;) {
        sysDelay(10);
        sysPumpEvents();
        const bool held = padButtonHeld();
        SDL_Event event;
        while (sysPollEvent(&event))
            padDeviceEvent(event);
        if (!held || sysTerminating())
            break;
    }
    input.lastJButton = -1;
    input.lastKeyTyped = 0;
    input.lastKey = 0;
}
