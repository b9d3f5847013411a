// Input mapping: how keyboard, pad and mouse events fold into the control state.
#include "input/keyhelper_sdl2.h"
#include "input/sys_virtual.h"
#include "main/defines.h"
#include "script.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

// The default mapping, an empty control state and a fresh virtual clock.
void resetInput() {
    sysVirtualReset();
    JUMP_BUTTON = DEFAULT_JUMP_BUTTON, PAUSE_BUTTON = DEFAULT_PAUSE_BUTTON;
    START_BUTTON = DEFAULT_START_BUTTON, SELECT_BUTTON = DEFAULT_SELECT_BUTTON;
    LEFT_BUTTON = DEFAULT_LEFT_BUTTON, RIGHT_BUTTON = DEFAULT_RIGHT_BUTTON;
    UP_BUTTON = DEFAULT_UP_BUTTON, DOWN_BUTTON = DEFAULT_DOWN_BUTTON;
    JUMP_KEY = DEFAULT_JUMP_KEY, PAUSE_KEY = DEFAULT_PAUSE_KEY, START_KEY = DEFAULT_START_KEY;
    SELECT_KEY = DEFAULT_SELECT_KEY, LEFT_KEY = DEFAULT_LEFT_KEY, RIGHT_KEY = DEFAULT_RIGHT_KEY;
    UP_KEY = DEFAULT_UP_KEY, DOWN_KEY = DEFAULT_DOWN_KEY;
    input.lastKey = input.lastKeyTyped = 0;
    input.lastJButton = -1;
    input.mouseX = input.mouseY = -1;
    input.done = 0;
}

// One read of the input that sees exactly these events.
void read(std::initializer_list<SDL_Event> events) {
    for (const SDL_Event &event : events)
        sysVirtualQueueEvent(sysTicks(), event);
    checkInput();
    EXPECT_EQ(sysVirtualPendingEvents(), 0);
}

class Input : public ::testing::Test {
  protected:
    void SetUp() override { resetInput(); }
};

TEST_F(Input, KeyMappedToDirectionAndActionSetsBothAndReportsTheAction) {
    JUMP_KEY = UP_KEY;
    read({scriptKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_UP)});
    EXPECT_EQ(input.lastKey, CTRL_UP | CTRL_JUMP);
    EXPECT_EQ(input.lastKeyTyped, 0);
    read({scriptKeyEvent(SDL_KEYUP, SDL_SCANCODE_UP)});
    EXPECT_EQ(input.lastKey, 0);
    EXPECT_EQ(input.lastKeyTyped, CTRL_JUMP);
    read({});
    EXPECT_EQ(input.lastKeyTyped, 0) << "the released control is reported for one read only";
}

TEST_F(Input, DirectionKeysLetGoOfTheirOppositeAndTheLastReleaseWins) {
    read({scriptKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_LEFT), scriptKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_UP),
          scriptKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_RIGHT)});
    EXPECT_EQ(input.lastKey, CTRL_UP | CTRL_RIGHT);
    read({scriptKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_DOWN), scriptKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_RETURN),
          scriptKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_TAB)});
    EXPECT_EQ(input.lastKey, CTRL_DOWN | CTRL_RIGHT | CTRL_START | CTRL_PAUSE);
    read({scriptKeyEvent(SDL_KEYUP, SDL_SCANCODE_TAB), scriptKeyEvent(SDL_KEYUP, SDL_SCANCODE_DOWN),
          scriptKeyEvent(SDL_KEYUP, SDL_SCANCODE_RETURN)});
    EXPECT_EQ(input.lastKeyTyped, CTRL_START);
    EXPECT_EQ(input.lastKey, CTRL_RIGHT);
    read({scriptKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_D), scriptKeyEvent(SDL_KEYUP, SDL_SCANCODE_D)});
    EXPECT_EQ(input.lastKey, CTRL_RIGHT) << "select has no key";
    EXPECT_EQ(input.lastKeyTyped, 0);
}

TEST_F(Input, EscapeQuitsUnlessItIsAnAction) {
    struct Case {
        const char *binding;
        int32_t *key;
        int32_t expectedDone;
        int32_t expectedHeld;
    } cases[] = {
        {"unbound", nullptr, 1, 0},
        {"left", &LEFT_KEY, 1, CTRL_LEFT},
        {"jump", &JUMP_KEY, 0, CTRL_JUMP},
        {"start", &START_KEY, 0, CTRL_START},
    };
    for (const Case &c : cases) {
        SetUp();
        if (c.key)
            *c.key = SDL_SCANCODE_ESCAPE;
        read({scriptKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE)});
        EXPECT_EQ(input.done, c.expectedDone) << c.binding;
        EXPECT_EQ(input.lastKey, c.expectedHeld) << c.binding;
    }
    SetUp();
    read({scriptKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE), scriptKeyEvent(SDL_KEYUP, SDL_SCANCODE_ESCAPE)});
    EXPECT_EQ(input.lastKeyTyped, 0);
    read({});
    EXPECT_EQ(input.done, 1) << "the quit request stays";
}

TEST_F(Input, QuitEventSetsDone) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    read({quit});
    EXPECT_EQ(input.done, 1);
}

TEST_F(Input, PadButtonsAndLastJButton) {
    read({scriptButtonEvent(SDL_JOYBUTTONDOWN, 2)});
    EXPECT_EQ(input.lastJButton, 2);
    EXPECT_EQ(input.lastKey, CTRL_JUMP);
    read({scriptKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_UP)});
    EXPECT_EQ(input.lastJButton, -1);
    read({scriptButtonEvent(SDL_JOYBUTTONUP, 2)});
    EXPECT_EQ(input.lastJButton, -1) << "a button release does not bring the button back";
    EXPECT_EQ(input.lastKeyTyped, CTRL_JUMP);
    EXPECT_EQ(input.lastKey, CTRL_UP);

    read({scriptButtonEvent(SDL_JOYBUTTONDOWN, 5), scriptButtonEvent(SDL_JOYBUTTONUP, 5)});
    EXPECT_EQ(input.lastJButton, 5) << "unmapped buttons are remembered for the options screen";
    EXPECT_EQ(input.lastKeyTyped, 0);

    SELECT_BUTTON = 3;
    read({scriptButtonEvent(SDL_JOYBUTTONDOWN, 9), scriptButtonEvent(SDL_JOYBUTTONDOWN, 3)});
    EXPECT_EQ(input.lastKey, CTRL_UP | CTRL_START | CTRL_SELECT);
    read({scriptButtonEvent(SDL_JOYBUTTONUP, 9), scriptButtonEvent(SDL_JOYBUTTONUP, 3)});
    EXPECT_EQ(input.lastKeyTyped, CTRL_SELECT);
    EXPECT_EQ(input.lastKey, CTRL_UP);
}

TEST_F(Input, AxisDeadZoneIsExclusive) {
    struct Case {
        int axis, value;
        int32_t held;
    } cases[] = {
        {0, 24000, 0},  {0, -24000, 0},        {0, 24001, CTRL_RIGHT}, {0, -24001, CTRL_LEFT}, {1, 24000, 0},
        {1, -24000, 0}, {1, 24001, CTRL_DOWN}, {1, -24001, CTRL_UP},   {2, 32767, 0},          {3, -32768, 0},
    };
    for (const Case &c : cases) {
        SetUp();
        read({scriptAxisEvent(c.axis, c.value)});
        EXPECT_EQ(input.lastKey, c.held) << "axis " << c.axis << " at " << c.value;
    }
    SetUp();
    read({scriptAxisEvent(0, 30000)});
    read({scriptAxisEvent(0, -30000)});
    EXPECT_EQ(input.lastKey, CTRL_LEFT);
    EXPECT_EQ(input.lastKeyTyped, 0) << "swinging through does not type right";
    read({scriptAxisEvent(0, 24000)});
    EXPECT_EQ(input.lastKey, 0);
    EXPECT_EQ(input.lastKeyTyped, CTRL_LEFT);
}

TEST_F(Input, StickUpJumpsOnlyWithoutAnActionButton) {
    read({scriptAxisEvent(1, -30000)});
    EXPECT_EQ(input.lastKey, CTRL_UP);
    read({scriptAxisEvent(1, 0)});
    EXPECT_EQ(input.lastKeyTyped, CTRL_UP);

    JUMP_BUTTON = -1;
    read({scriptAxisEvent(1, -30000)});
    EXPECT_EQ(input.lastKey, CTRL_UP | CTRL_JUMP);
    read({scriptAxisEvent(1, 0)});
    EXPECT_EQ(input.lastKey, 0);
    EXPECT_EQ(input.lastKeyTyped, CTRL_JUMP);
}

TEST_F(Input, HatDiagonalKeepsTheOtherAxisUntilCentred) {
    read({scriptHatEvent(SDL_HAT_RIGHT)});
    read({scriptHatEvent(SDL_HAT_RIGHTUP)});
    EXPECT_EQ(input.lastKey, CTRL_UP | CTRL_RIGHT);
    read({scriptHatEvent(SDL_HAT_RIGHT)});
    EXPECT_EQ(input.lastKey, CTRL_UP | CTRL_RIGHT);
    EXPECT_EQ(input.lastKeyTyped, 0);
    read({scriptHatEvent(SDL_HAT_CENTERED)});
    EXPECT_EQ(input.lastKey, 0);
    EXPECT_EQ(input.lastKeyTyped, CTRL_RIGHT);

    read({scriptHatEvent(SDL_HAT_LEFTDOWN)});
    EXPECT_EQ(input.lastKey, CTRL_DOWN | CTRL_LEFT);
    read({scriptHatEvent(SDL_HAT_UP)});
    EXPECT_EQ(input.lastKey, CTRL_UP | CTRL_LEFT) << "down is let go by pressing up";
}

TEST_F(Input, UnboundHatDirectionMatchesNothing) {
    UP_BUTTON = -1;
    read({scriptHatEvent(SDL_HAT_DOWN)});
    EXPECT_EQ(input.lastKey, CTRL_DOWN);
    read({scriptHatEvent(SDL_HAT_RIGHT)});
    EXPECT_EQ(input.lastKey, CTRL_DOWN | CTRL_RIGHT);
}

TEST_F(Input, ClicksOutsideThePictureAreClamped) {
    struct Case {
        int x, y, screenX, screenY;
    } cases[] = {
        {0, 0, 0, 0}, {319, 239, 319, 239}, {-53, 120, 0, 120}, {400, -1, 319, 0}, {10, 900, 10, 239}};
    for (const Case &c : cases) {
        const SDL_Point point = clickToScreen(c.x, c.y);
        EXPECT_EQ(point.x, c.screenX);
        EXPECT_EQ(point.y, c.screenY);
    }
}

// Pads on SDL's virtual joystick driver, opened by the game. Each test runs in a fresh folder, so
// only the mapping file it writes itself is found beside the data.
class Pads : public InTempFolder {
  protected:
    void SetUp() override {
        InTempFolder::SetUp();
        resetInput();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    }
    void TearDown() override {
        ctrlClosePads();
        SDL_Quit();
        InTempFolder::TearDown();
    }

    // A pad SDL makes a layout for: a:b0 b:b1 x:b2 y:b3 back:b4 guide:b5 start:b6 leftstick:b7
    // rightstick:b8 leftshoulder:b9 rightshoulder:b10, the D-pad on b11 to b14, the sticks on a0 to a3.
    static SDL_JoystickID attachKnown() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = 6;
        desc.nbuttons = 15;
        desc.name = "Known Pad";
        return idOf(SDL_JoystickAttachVirtualEx(&desc));
    }
    // A pad SDL has no layout for: twelve buttons, a stick and a hat.
    static SDL_JoystickID attachUnknown() {
        return idOf(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 12, 1));
    }
    static SDL_JoystickID idOf(int deviceIndex) {
        EXPECT_GE(deviceIndex, 0) << SDL_GetError();
        return SDL_JoystickGetDeviceInstanceID(deviceIndex);
    }
    static void detach(SDL_JoystickID id) {
        for (int i = 0; i < SDL_NumJoysticks(); i++) {
            if (SDL_JoystickGetDeviceInstanceID(i) == id) {
                ASSERT_EQ(SDL_JoystickDetachVirtual(i), 0) << SDL_GetError();
            }
        }
    }

    // Everything SDL has seen of the pads, handed to the next read of the input as the game's event
    // queue would deliver it.
    static void forwardPadEvents() {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            sysVirtualQueueEvent(sysTicks(), event);
    }
    static void readPads() {
        forwardPadEvents();
        read({});
    }

    // Presses or lets go of a layout's button on the pad's raw button that the layout binds to it.
    static void setButton(SDL_JoystickID id, SDL_GameControllerButton button, Uint8 state) {
        SDL_GameController *controller = SDL_GameControllerFromInstanceID(id);
        ASSERT_NE(controller, nullptr) << "the game opened the pad with its layout";
        const SDL_GameControllerButtonBind bind = SDL_GameControllerGetBindForButton(controller, button);
        ASSERT_EQ(bind.bindType, SDL_CONTROLLER_BINDTYPE_BUTTON);
        ASSERT_EQ(SDL_JoystickSetVirtualButton(SDL_JoystickFromInstanceID(id), bind.value.button, state), 0);
    }
};

TEST_F(Pads, APadSDLKnowsPlaysWithItsLayoutNotTheConfiguredButtons) {
    const SDL_JoystickID pad = attachKnown();
    ctrlOpenPads();
    readPads(); // the pad's arrival: it is open already
    EXPECT_EQ(ctrlRawPads(), 0);
    struct Case {
        SDL_GameControllerButton button;
        int32_t held;
    } cases[] = {
        {SDL_CONTROLLER_BUTTON_A, CTRL_JUMP},
        {SDL_CONTROLLER_BUTTON_START, CTRL_START},
        {SDL_CONTROLLER_BUTTON_BACK, CTRL_PAUSE},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, CTRL_UP},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, CTRL_DOWN},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, CTRL_LEFT},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, CTRL_RIGHT},
        // The raw buttons 2, 8 and 9 that the configuration gives action, pause and start.
        {SDL_CONTROLLER_BUTTON_X, 0},
        {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 0},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0},
    };
    for (const Case &c : cases) {
        const char *name = SDL_GameControllerGetStringForButton(c.button);
        setButton(pad, c.button, SDL_PRESSED);
        readPads();
        EXPECT_EQ(input.lastKey, c.held) << name;
        EXPECT_EQ(input.lastJButton, -1) << name << ": no raw button for the pad assignment";
        setButton(pad, c.button, SDL_RELEASED);
        readPads();
        EXPECT_EQ(input.lastKey, 0) << name;
        EXPECT_EQ(input.lastKeyTyped, c.held) << name;
    }
    EXPECT_EQ(input.done, 0);

    JUMP_BUTTON = -1; // a layout always has its A button: the stick never doubles as the action
    SDL_Joystick *joystick = SDL_JoystickFromInstanceID(pad);
    SDL_JoystickSetVirtualAxis(joystick, 1, -30000);
    SDL_JoystickSetVirtualAxis(joystick, 0, 30000);
    readPads();
    EXPECT_EQ(input.lastKey, CTRL_UP | CTRL_RIGHT);
    SDL_JoystickSetVirtualAxis(joystick, 0, 0);
    SDL_JoystickSetVirtualAxis(joystick, 1, 0);
    readPads();
    EXPECT_EQ(input.lastKey, 0);
    EXPECT_EQ(input.lastKeyTyped, CTRL_UP);

    EXPECT_FALSE((ctrlTakeRequests() & REQUEST_SCREENSHOT));
    setButton(pad, SDL_CONTROLLER_BUTTON_GUIDE, SDL_PRESSED);
    readPads();
    EXPECT_TRUE((ctrlTakeRequests() & REQUEST_SCREENSHOT));
    EXPECT_FALSE((ctrlTakeRequests() & REQUEST_SCREENSHOT)) << "asked once";
    EXPECT_EQ(input.lastKey, 0);

    setButton(pad, SDL_CONTROLLER_BUTTON_B, SDL_PRESSED);
    readPads();
    EXPECT_EQ(input.done, 1) << "B backs out as Escape does";
    EXPECT_EQ(input.lastKey, 0);
}

TEST_F(Pads, APadSDLDoesNotKnowPlaysWithTheConfiguredButtons) {
    const SDL_JoystickID pad = attachUnknown();
    ctrlOpenPads();
    readPads(); // the pad's arrival: it is open already
    EXPECT_EQ(ctrlRawPads(), 1);
    EXPECT_EQ(SDL_GameControllerFromInstanceID(pad), nullptr);
    SDL_Joystick *joystick = SDL_JoystickFromInstanceID(pad);
    ASSERT_NE(joystick, nullptr) << "the game opened the pad";
    START_BUTTON = 5; // as the pad assignment may leave it
    SDL_JoystickSetVirtualButton(joystick, 5, SDL_PRESSED);
    SDL_JoystickSetVirtualHat(joystick, 0, SDL_HAT_LEFTUP);
    readPads();
    EXPECT_EQ(input.lastKey, CTRL_START | CTRL_UP | CTRL_LEFT);
    EXPECT_EQ(input.lastJButton, 5) << "for the pad assignment";
    SDL_JoystickSetVirtualButton(joystick, 5, SDL_RELEASED);
    SDL_JoystickSetVirtualHat(joystick, 0, SDL_HAT_CENTERED);
    SDL_JoystickSetVirtualButton(joystick, DEFAULT_JUMP_BUTTON, SDL_PRESSED);
    readPads();
    EXPECT_EQ(input.lastKey, CTRL_JUMP);
    SDL_JoystickSetVirtualAxis(joystick, 0, 30000);
    readPads();
    EXPECT_EQ(input.lastKey, CTRL_JUMP | CTRL_RIGHT);
}

TEST_F(Pads, AMappingFileBesideTheDataGivesAPadItsLayout) {
    const SDL_JoystickID pad = attachUnknown();
    // Mapping lists name a pad without the checksum of its name (bytes 2 and 3 of the GUID).
    SDL_JoystickGUID id = SDL_JoystickGetDeviceGUID(0);
    id.data[2] = id.data[3] = 0;
    char guid[33];
    SDL_JoystickGetGUIDString(id, guid, sizeof guid);
    writeText("gamecontrollerdb.txt", "# a pad of our own\n" + std::string(guid) +
                                          ",Our Pad,a:b5,b:b6,start:b7,back:b8,dpup:h0.1,dpdown:h0.4,"
                                          "dpleft:h0.8,dpright:h0.2,leftx:a0,lefty:a1,platform:Linux,\n");
    ctrlOpenPads();
    EXPECT_EQ(ctrlRawPads(), 0);
    SDL_Joystick *joystick = SDL_JoystickFromInstanceID(pad);
    ASSERT_NE(joystick, nullptr);
    SDL_JoystickSetVirtualButton(joystick, 5, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(joystick, DEFAULT_JUMP_BUTTON, SDL_PRESSED);
    SDL_JoystickSetVirtualHat(joystick, 0, SDL_HAT_DOWN);
    readPads();
    EXPECT_EQ(input.lastKey, CTRL_JUMP | CTRL_DOWN) << "A is button 5; button 2 is nothing on this layout";
}

TEST_F(Pads, PadsPluggedInOrPulledOutWhileTheGameRunsAreOpenedAndClosed) {
    ctrlOpenPads();
    const SDL_JoystickID unknown = attachUnknown(), known = attachKnown();
    readPads();
    EXPECT_EQ(ctrlRawPads(), 1);
    ASSERT_NE(SDL_JoystickFromInstanceID(unknown), nullptr) << "opened when plugged in";
    setButton(known, SDL_CONTROLLER_BUTTON_A, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(SDL_JoystickFromInstanceID(unknown), DEFAULT_START_BUTTON, SDL_PRESSED);
    readPads();
    EXPECT_EQ(input.lastKey, CTRL_JUMP | CTRL_START) << "both pads play";
    EXPECT_FALSE((ctrlTakeRequests() & REQUEST_PAUSE));

    detach(known);
    readPads();
    EXPECT_EQ(SDL_GameControllerFromInstanceID(known), nullptr) << "closed";
    EXPECT_TRUE((ctrlTakeRequests() & REQUEST_PAUSE));
    EXPECT_FALSE((ctrlTakeRequests() & REQUEST_PAUSE))
        << "asked once, though SDL reports the joystick and the controller";
    EXPECT_EQ(input.lastKey, CTRL_START) << "the pad let go of A as it went";

    detach(unknown);
    readPads();
    EXPECT_EQ(ctrlRawPads(), 0);
    EXPECT_TRUE((ctrlTakeRequests() & REQUEST_PAUSE));
    EXPECT_EQ(input.lastKey, 0);

    const SDL_JoystickID again = attachKnown();
    readPads();
    setButton(again, SDL_CONTROLLER_BUTTON_START, SDL_PRESSED);
    readPads();
    EXPECT_EQ(input.lastKey, CTRL_START) << "plugged in again";
}

SDL_Joystick *heldPad;
int idleReads;

// Lets go of the pad's button at the fifth read of the input.
void releaseOnFifthRead() {
    if (++idleReads == 5)
        SDL_JoystickSetVirtualButton(heldPad, 2, SDL_RELEASED);
}

TEST_F(Pads, WaitKeyUpWaitsForEveryPadAndClearsTheState) {
    const SDL_JoystickID gone = attachUnknown(), held = attachKnown();
    ctrlOpenPads();
    heldPad = SDL_JoystickFromInstanceID(held);
    ASSERT_NE(heldPad, nullptr);
    SDL_JoystickSetVirtualButton(heldPad, 2, SDL_PRESSED);
    SDL_JoystickUpdate();
    ASSERT_EQ(SDL_JoystickGetButton(heldPad, 2), 1);
    detach(gone);
    forwardPadEvents(); // the button and the pulled-out pad, for waitKeyUp's first round

    idleReads = 0;
    sysVirtualSetIdleObserver(releaseOnFifthRead);
    input.lastKey = CTRL_JUMP | CTRL_UP;
    input.lastKeyTyped = CTRL_START;
    input.lastJButton = 2;
    waitKeyUp();
    EXPECT_EQ(sysTicks(), 60u) << "five rounds with the button held, one to see it let go";
    EXPECT_EQ(sysVirtualPendingEvents(), 0) << "events meanwhile are swallowed";
    EXPECT_EQ(input.lastKey, 0);
    EXPECT_EQ(input.lastKeyTyped, 0);
    EXPECT_EQ(input.lastJButton, -1);
    EXPECT_TRUE((ctrlTakeRequests() & REQUEST_PAUSE)) << "a pad pulled out meanwhile is closed";
    EXPECT_EQ(ctrlRawPads(), 0);
}

TEST_F(Input, WaitKeyUpWithoutPadWaitsOnce) {
    sysVirtualQueueEvent(0, scriptKeyEvent(SDL_KEYDOWN, SDL_SCANCODE_SPACE));
    input.lastKey = CTRL_LEFT;
    waitKeyUp();
    EXPECT_EQ(sysTicks(), 10u);
    EXPECT_EQ(sysVirtualPendingEvents(), 0);
    EXPECT_EQ(input.lastKey, 0);
}

} // namespace
