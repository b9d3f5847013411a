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
            puzzle.currentLevel[c + 8 * r] = 1 + (c * 3 + r) % 5;
            record[16 * r + 8 + c] = uint8_t(1 + (c + r * 2) % 5);
        }
    puzzle.currentSource = record;
    for (int i = 0; i < 5; i++) {
        queues.animTrans[i] = {i, 4, 40 - 6 * i, i % 4, 0};
        queues.currentTrans[i + 8 * 4] = uint8_t(i + 1);
    }
    queues.curTrans = 5;
    for (int i = 0; i < 4; i++)
        queues.animMove[i] = {6, i, 5 + i, 1 + i, 0};
    queues.curMove = 4;
    for (int i = 0; i < 20; i++)
        queues.animEject[i] = {8 * i, -20 + 7 * i, 2, 1, 1 + i % 5};
    queues.curEject = 20;
    queues.curAction = 12;
    queues.actionX = queues.actionY = 3;
    play.currentTime = 30000;
    play.endTime = 100000;
    puzzle.currentMoves = 14;
    play.score = 12345;
    anims.curTotemWait = 0;
    anims.birdAnimWait = 0;
    anims.birdAnim = {120, 30, 4, 0, 6, 3, 0};
    for (int i = 0; i < 4; i++)
        anims.waitingBirds[i] = {192 + 16 * i, 36, 10, 2, 1};
    anims.animFlower.fill({1, 0, 0, 0, 0, 0});
    anims.animFlower[6] = {0, 5, 80, 80, 0, 4};
    anims.animFlower[12] = {0, 5, 100, 45, 1, 0};
}
