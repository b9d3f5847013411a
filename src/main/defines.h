// Definitions shared by every part of the game: board size, control bits and the sine tables.
#pragma once

#include <array>
#include <cstdint>

constexpr int BOARD_COLUMNS = 8;
constexpr int BOARD_ROWS = 10;
constexpr int BOARD_CELLS = BOARD_COLUMNS * BOARD_ROWS;
constexpr int CELL_SIZE = 16;
constexpr int BOARD_X = 16, BOARD_Y = 64;    // top-left pixel of the playing board
constexpr int TARGET_X = 176, TARGET_Y = 64; // top-left pixel of the target pattern
constexpr int SCREEN_WIDTH = 320, SCREEN_HEIGHT = 240;

// Bits of the held-control word lastKey, and the values of the released control lastKeyTyped.
constexpr int32_t CTRL_UP = 0x80;
constexpr int32_t CTRL_DOWN = 0x40;
constexpr int32_t CTRL_RIGHT = 0x20;
constexpr int32_t CTRL_LEFT = 0x10;
constexpr int32_t CTRL_JUMP = 0x08; // the action control
constexpr int32_t CTRL_PAUSE = 0x04;
constexpr int32_t CTRL_START = 0x02;
constexpr int32_t CTRL_SELECT = 0x01;

// START and JUMP both confirm a choice.
constexpr bool ctrlIsConfirm(int32_t typed) { return typed == CTRL_START || typed == CTRL_JUMP; }

// 1024 × sin (cos) of 2πi/512, truncated toward zero: swaying and fluttering motions.
extern const std::array<int32_t, 512> tsin;
extern const std::array<int32_t, 512> tcos;
