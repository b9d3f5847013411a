// The options screen: volumes, the sound check, the pad's buttons, the defaults and the hiscores.
#pragma once

#include <cstdint>

struct Screen;

constexpr int OPTION_ROWS = 10;

struct OptionsState {
    int32_t cfgIndex;   // the selected row, 0 to 9
    int32_t cfgStatus;  // 1 while the pad's buttons are being assigned
    int32_t cfgStep;    // the assignment waits for 0 START, 1 the action button; 2 done
    int32_t cfgCount;   // ticks of input cool-down
    int32_t cfgUsed;    // the button offered last is taken already
    int32_t cfgChanged; // a setting changed: the configuration is saved on leaving
};
const OptionsState &optionsState(); // for tests

// The options screen, opened from the main menu over its background (state -4 of the menu). Leaving
// it saves the configuration if anything changed; a quit request leaves it without saving.
extern const Screen optionsScreen;

void configButton(int32_t &target); // offers the pad button pressed in this tick
