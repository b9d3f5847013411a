// Input mapping: how keyboard, pad and mouse events fold into the control state.
#include "input/keyhelper_sdl2.h"
#include "input/sys.h"
#include "main/defines.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

SDL_Event keyEvent(Uint32 type, SDL_Scancode scancode) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.scancode = scancode;
    return event;
}

SDL_Event buttonEvent(Uint32 type, int button) {
    SDL_Event event{};
    event.type = type;
    event.jbutton.button = Uint8(button);
    return event;
}

SDL_Event hatEvent(int value) {
    SDL_Event event{};
    event.type = SDL_JOYHATMOTION;
    event.jhat.value = Uint8(value);
    return event;
}

SDL_Event axisEvent(int axis, int value) {
    SDL_Event event{};
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.axis = Uint8(axis);
    event.jaxis.value = Sint16(value);
    return event;
}

class Input : public ::testing::Test {
  protected:
    void SetUp() override {
        sysVirtualReset();
        JUMP_BUTTON = DEFAULT_JUMP_BUTTON, PAUSE_BUTTON = DEFAULT_PAUSE_BUTTON;
        START_BUTTON = DEFAULT_START_BUTTON, SELECT_BUTTON = DEFAULT_SELECT_BUTTON;
        LEFT_BUTTON = DEFAULT_LEFT_BUTTON, RIGHT_BUTTON = DEFAULT_RIGHT_BUTTON;
        UP_BUTTON = DEFAULT_UP_BUTTON, DOWN_BUTTON = DEFAULT_DOWN_BUTTON;
        JUMP_KEY = DEFAULT_JUMP_KEY, PAUSE_KEY = DEFAULT_PAUSE_KEY, START_KEY = DEFAULT_START_KEY;
        SELECT_KEY = DEFAULT_SELECT_KEY, LEFT_KEY = DEFAULT_LEFT_KEY, RIGHT_KEY = DEFAULT_RIGHT_KEY;
        UP_KEY = DEFAULT_UP_KEY, DOWN_KEY = DEFAULT_DOWN_KEY;
        lastKey = lastKeyTyped = 0;
        lastJButton = -1;
        mouseX = mouseY = -1;
        done = 0;
    }

    // One read of the input that sees exactly these events.
    static void read(std::initializer_list<SDL_Event> events) {
        for (const SDL_Event &event : events)
            sysVirtualQueueEvent(sysTicks(), event);
        checkInput();
        EXPECT_EQ(sysVirtualPendingEvents(), 0);
    }
};

TEST_F(Input, KeyMappedToDirectionAndActionSetsBothAndReportsTheAction) {
    JUMP_KEY = UP_KEY;
    read({keyEvent(SDL_KEYDOWN, SDL_SCANCODE_UP)});
    EXPECT_EQ(lastKey, CTRL_UP | CTRL_JUMP);
    EXPECT_EQ(lastKeyTyped, 0);
    read({keyEvent(SDL_KEYUP, SDL_SCANCODE_UP)});
    EXPECT_EQ(lastKey, 0);
    EXPECT_EQ(lastKeyTyped, CTRL_JUMP);
    read({});
    EXPECT_EQ(lastKeyTyped, 0) << "the released control is reported for one read only";
}

TEST_F(Input, DirectionKeysLetGoOfTheirOppositeAndTheLastReleaseWins) {
    read({keyEvent(SDL_KEYDOWN, SDL_SCANCODE_LEFT), keyEvent(SDL_KEYDOWN, SDL_SCANCODE_UP),
          keyEvent(SDL_KEYDOWN, SDL_SCANCODE_RIGHT)});
    EXPECT_EQ(lastKey, CTRL_UP | CTRL_RIGHT);
    read({keyEvent(SDL_KEYDOWN, SDL_SCANCODE_DOWN), keyEvent(SDL_KEYDOWN, SDL_SCANCODE_RETURN),
          keyEvent(SDL_KEYDOWN, SDL_SCANCODE_TAB)});
    EXPECT_EQ(lastKey, CTRL_DOWN | CTRL_RIGHT | CTRL_START | CTRL_PAUSE);
    read({keyEvent(SDL_KEYUP, SDL_SCANCODE_TAB), keyEvent(SDL_KEYUP, SDL_SCANCODE_DOWN),
          keyEvent(SDL_KEYUP, SDL_SCANCODE_RETURN)});
    EXPECT_EQ(lastKeyTyped, CTRL_START);
    EXPECT_EQ(lastKey, CTRL_RIGHT);
    read({keyEvent(SDL_KEYDOWN, SDL_SCANCODE_D), keyEvent(SDL_KEYUP, SDL_SCANCODE_D)});
    EXPECT_EQ(lastKey, CTRL_RIGHT) << "select has no key";
    EXPECT_EQ(lastKeyTyped, 0);
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
        read({keyEvent(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE)});
        EXPECT_EQ(done, c.expectedDone) << c.binding;
        EXPECT_EQ(lastKey, c.expectedHeld) << c.binding;
    }
    SetUp();
    read({keyEvent(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE), keyEvent(SDL_KEYUP, SDL_SCANCODE_ESCAPE)});
    EXPECT_EQ(lastKeyTyped, 0);
    read({});
    EXPECT_EQ(done, 1) << "the quit request stays";
}

TEST_F(Input, QuitEventSetsDone) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    read({quit});
    EXPECT_EQ(done, 1);
}

TEST_F(Input, PadButtonsAndLastJButton) {
    read({buttonEvent(SDL_JOYBUTTONDOWN, 2)});
    EXPECT_EQ(lastJButton, 2);
    EXPECT_EQ(lastKey, CTRL_JUMP);
    read({keyEvent(SDL_KEYDOWN, SDL_SCANCODE_UP)});
    EXPECT_EQ(lastJButton, -1);
    read({buttonEvent(SDL_JOYBUTTONUP, 2)});
    EXPECT_EQ(lastJButton, -1) << "a button release does not bring the button back";
    EXPECT_EQ(lastKeyTyped, CTRL_JUMP);
    EXPECT_EQ(lastKey, CTRL_UP);

    read({buttonEvent(SDL_JOYBUTTONDOWN, 5), buttonEvent(SDL_JOYBUTTONUP, 5)});
    EXPECT_EQ(lastJButton, 5) << "unmapped buttons are remembered for the options screen";
    EXPECT_EQ(lastKeyTyped, 0);

    SELECT_BUTTON = 3;
    read({buttonEvent(SDL_JOYBUTTONDOWN, 9), buttonEvent(SDL_JOYBUTTONDOWN, 3)});
    EXPECT_EQ(lastKey, CTRL_UP | CTRL_START | CTRL_SELECT);
    read({buttonEvent(SDL_JOYBUTTONUP, 9), buttonEvent(SDL_JOYBUTTONUP, 3)});
    EXPECT_EQ(lastKeyTyped, CTRL_SELECT);
    EXPECT_EQ(lastKey, CTRL_UP);
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
        read({axisEvent(c.axis, c.value)});
        EXPECT_EQ(lastKey, c.held) << "axis " << c.axis << " at " << c.value;
    }
    SetUp();
    read({axisEvent(0, 30000)});
    read({axisEvent(0, -30000)});
    EXPECT_EQ(lastKey, CTRL_LEFT);
    EXPECT_EQ(lastKeyTyped, 0) << "swinging through does not type right";
    read({axisEvent(0, 24000)});
    EXPECT_EQ(lastKey, 0);
    EXPECT_EQ(lastKeyTyped, CTRL_LEFT);
}

TEST_F(Input, StickUpJumpsOnlyWithoutAnActionButton) {
    read({axisEvent(1, -30000)});
    EXPECT_EQ(lastKey, CTRL_UP);
    read({axisEvent(1, 0)});
    EXPECT_EQ(lastKeyTyped, CTRL_UP);

    JUMP_BUTTON = -1;
    read({axisEvent(1, -30000)});
    EXPECT_EQ(lastKey, CTRL_UP | CTRL_JUMP);
    read({axisEvent(1, 0)});
    EXPECT_EQ(lastKey, 0);
    EXPECT_EQ(lastKeyTyped, CTRL_JUMP);
}

TEST_F(Input, HatDiagonalKeepsTheOtherAxisUntilCentred) {
    read({hatEvent(SDL_HAT_RIGHT)});
    read({hatEvent(SDL_HAT_RIGHTUP)});
    EXPECT_EQ(lastKey, CTRL_UP | CTRL_RIGHT);
    read({hatEvent(SDL_HAT_RIGHT)});
    EXPECT_EQ(lastKey, CTRL_UP | CTRL_RIGHT);
    EXPECT_EQ(lastKeyTyped, 0);
    read({hatEvent(SDL_HAT_CENTERED)});
    EXPECT_EQ(lastKey, 0);
    EXPECT_EQ(lastKeyTyped, CTRL_RIGHT);

    read({hatEvent(SDL_HAT_LEFTDOWN)});
    EXPECT_EQ(lastKey, CTRL_DOWN | CTRL_LEFT);
    read({hatEvent(SDL_HAT_UP)});
    EXPECT_EQ(lastKey, CTRL_UP | CTRL_LEFT) << "down is let go by pressing up";
}

TEST_F(Input, UnboundHatDirectionMatchesNothing) {
    UP_BUTTON = -1;
    read({hatEvent(SDL_HAT_DOWN)});
    EXPECT_EQ(lastKey, CTRL_DOWN);
    read({hatEvent(SDL_HAT_RIGHT)});
    EXPECT_EQ(lastKey, CTRL_DOWN | CTRL_RIGHT);
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

SDL_Joystick *pad;
int idleReads;

// Lets go of the pad's action button at the fifth read of the input.
void releaseOnFifthRead() {
    if (++idleReads == 5)
        SDL_JoystickSetVirtualButton(pad, 2, SDL_RELEASED);
}

TEST_F(Input, WaitKeyUpWaitsForThePadAndClearsTheState) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 12, 1);
    ASSERT_GE(index, 0) << SDL_GetError();
    pad = joystick = SDL_JoystickOpen(index);
    ASSERT_NE(joystick, nullptr) << SDL_GetError();
    SDL_JoystickSetVirtualButton(pad, 2, SDL_PRESSED);
    SDL_JoystickUpdate();
    ASSERT_EQ(SDL_JoystickGetButton(pad, 2), 1);

    idleReads = 0;
    sysVirtualSetIdleObserver(releaseOnFifthRead);
    sysVirtualQueueEvent(0, buttonEvent(SDL_JOYBUTTONDOWN, 2));
    lastKey = CTRL_JUMP | CTRL_UP;
    lastKeyTyped = CTRL_START;
    lastJButton = 2;
    waitKeyUp();
    EXPECT_EQ(sysTicks(), 60u) << "five rounds with the button held, one to see it let go";
    EXPECT_EQ(sysVirtualPendingEvents(), 0) << "events meanwhile are swallowed";
    EXPECT_EQ(lastKey, 0);
    EXPECT_EQ(lastKeyTyped, 0);
    EXPECT_EQ(lastJButton, -1);

    SDL_JoystickClose(joystick);
    joystick = nullptr;
    SDL_JoystickDetachVirtual(index);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

TEST_F(Input, WaitKeyUpWithoutPadWaitsOnce) {
    sysVirtualQueueEvent(0, keyEvent(SDL_KEYDOWN, SDL_SCANCODE_SPACE));
    lastKey = CTRL_LEFT;
    waitKeyUp();
    EXPECT_EQ(sysTicks(), 10u);
    EXPECT_EQ(sysVirtualPendingEvents(), 0);
    EXPECT_EQ(lastKey, 0);
}

} // namespace
