// The busy stage moment that the drawing and presentation benchmarks draw.
#pragma once

#include "main/bganims.h"
#include "main/game.h"
#include "main/level.h"
#include "main/rules.h"

// A busy moment of play: full board and target, five morphs, falling and flying pieces, the hand,
// two flowers, perched birds, a bird in flight and the totem.
inline void busyStage() {
    static uint8_t record[LEVEL_RECORD_SIZE];
    for (int r = 0; r < BOARD_ROWS; r++)
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            currentLevel[c + 8 * r] = 1 + (c * 3 + r) % 5;
            record[16 * r + 8 + c] = uint8_t(1 + (c + r * 2) % 5);
        }
    currentSource = record;
    for (int i = 0; i < 5; i++) {
        animTrans[i] = {i, 4, 40 - 6 * i, i % 4, 0};
        currentTrans[i + 8 * 4] = uint8_t(i + 1);
    }
    curTrans = 5;
    for (int i = 0; i < 4; i++)
        animMove[i] = {6, i, 5 + i, 1 + i, 0};
    curMove = 4;
    for (int i = 0; i < 20; i++)
        animEject[i] = {8 * i, -20 + 7 * i, 2, 1, 1 + i % 5};
    curEject = 20;
    curAction = 12;
    actionX = actionY = 3;
    currentTime = 30000;
    endTime = 100000;
    currentMoves = 14;
    score = 12345;
    curTotemWait = 0;
    birdAnimWait = 0;
    birdAnim = {120, 30, 4, 0, 6, 3, 0};
    for (int i = 0; i < 4; i++)
        waitingBirds[i] = {192 + 16 * i, 36, 10, 2, 1};
    animFlower.fill({1, 0, 0, 0, 0, 0});
    animFlower[6] = {0, 5, 80, 80, 0, 4};
    animFlower[12] = {0, 5, 100, 45, 1, 0};
}
