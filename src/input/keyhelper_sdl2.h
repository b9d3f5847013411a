// Input mapping: keyboard, joystick and mouse events folded into one control state.
#pragma once

#include <SDL.h>
#include <cstdint>

// The control mapping: a key (SDL scancode) and a joystick button (hat mask for directions) each.
extern int32_t JUMP_BUTTON, PAUSE_BUTTON, START_BUTTON, SELECT_BUTTON, LEFT_BUTTON, RIGHT_BUTTON, UP_BUTTON,
    DOWN_BUTTON;
extern int32_t JUMP_KEY, PAUSE_KEY, START_KEY, SELECT_KEY, LEFT_KEY, RIGHT_KEY, UP_KEY, DOWN_KEY;

constexpr int32_t DEFAULT_JUMP_BUTTON = 2;
constexpr int32_t DEFAULT_PAUSE_BUTTON = 8;
constexpr int32_t DEFAULT_START_BUTTON = 9;
constexpr int32_t DEFAULT_SELECT_BUTTON = -1;
constexpr int32_t DEFAULT_LEFT_BUTTON = SDL_HAT_LEFT;
constexpr int32_t DEFAULT_RIGHT_BUTTON = SDL_HAT_RIGHT;
constexpr int32_t DEFAULT_UP_BUTTON = SDL_HAT_UP;
constexpr int32_t DEFAULT_DOWN_BUTTON = SDL_HAT_DOWN;
constexpr int32_t DEFAULT_JUMP_KEY = SDL_SCANCODE_SPACE;
constexpr int32_t DEFAULT_PAUSE_KEY = SDL_SCANCODE_TAB;
constexpr int32_t DEFAULT_START_KEY = SDL_SCANCODE_RETURN;
constexpr int32_t DEFAULT_SELECT_KEY = SDL_SCANCODE_D;
constexpr int32_t DEFAULT_LEFT_KEY = SDL_SCANCODE_LEFT;
constexpr int32_t DEFAULT_RIGHT_KEY = SDL_SCANCODE_RIGHT;
constexpr int32_t DEFAULT_UP_KEY = SDL_SCANCODE_UP;
constexpr int32_t DEFAULT_DOWN_KEY = SDL_SCANCODE_DOWN;

// The control state that checkInput folds the events into, read by every screen.
struct ControlState {
    int32_t lastKey;        // held controls
    int32_t lastKeyTyped;   // the control released during the last checkInput, or 0
    int32_t lastJButton;    // last button pressed on a pad without a layout (for the pad assignment),
                            // -1 after a key event or a button of a pad with a layout
    int32_t mouseX, mouseY; // last click on the 320 × 240 screen, -1 when none is pending
    int32_t done;           // a quit request (closed window, Escape): the screen runner acts on it
    int32_t anyTyped;       // any key or pad button let go during the last checkInput (not Escape, not
                            // a modifier, not a window key)
    char letterTyped;       // a letter key the controls do not use, pressed during the last checkInput
    int32_t rightClick;     // the right mouse button was pressed during the last checkInput
};
extern ControlState input;

// The screens that say "hit any key" go on with any key, any pad button or a click.
bool ctrlHitAnyKey();

// What the player asked of the program rather than of a screen, collected for the screen runner.
enum ControlRequest {
    REQUEST_FULL_SCREEN = 1, // Alt+Enter
    REQUEST_SCREENSHOT = 2,  // F12, or a pad's guide button
    REQUEST_PAUSE = 4,       // the window lost the focus or was minimised, or a pad was pulled out
};
int ctrlTakeRequests(); // the requests since the last call, as a set of ControlRequest bits

void checkInput();
void waitKeyUp();

// Game pads. A pad SDL has a layout for (its own list, a gamecontrollerdb.txt beside the data folder,
// SDL_GAMECONTROLLERCONFIG or SDL_GAMECONTROLLERCONFIG_FILE) plays with that layout: A is the action,
// Start start, Back pause, B quits or backs out as Escape does, the D-pad and left stick move. Any
// other pad plays with the configured buttons (the *_BUTTON globals). Pads plugged in or pulled out
// while the game runs are opened and closed by checkInput; several can play at once.
void ctrlOpenPads();  // Called once, after the first frame: the joystick subsystem, the mappings, every pad
void ctrlClosePads(); // Called once at shutdown
int ctrlRawPads();    // open pads without a layout: the ones the configured buttons serve

// A click position as SDL reports it, brought onto the 320 × 240 screen. The renderer has a logical
// size of 320 × 240 (whole multiples of it for the sharp methods), so SDL already reports positions
// in screen pixels whatever the window or desktop size; only clicks on the black bars around the
// picture fall outside and are clamped to the nearest edge.
SDL_Point clickToScreen(int x, int y);
