// The stage screen: background, time bar, status, decorations, board, target and moving pieces.
#include "main/draw.h"

#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "main/bganims.h"
#include "main/game.h"
#include "main/i18n.h"
#include "main/level.h"
#include "main/rules.h"
#include "main/sheets.h"

#include <cstring>

// Fruit-sheet frames of the morph animation: row = kind (the new value), column = ticks left / 4.
// A morph that runs longer than 32 ticks reads on into the next row; -1 draws nothing.
static constexpr int8_t transFrames[5 * 8] = {
    -1, 13, 13, 5,  5,  13, 13, 5,  // 0: the fruit vanishes
    5,  13, 13, 21, 21, 29, 29, 37, // 1
    37, 45, 45, 53, 53, 61, 61, 69, // 2
    6,  14, 14, 22, 22, 30, 30, 38, // 3
    38, 46, 46, 54, 54, 62, 62, 70, // 4
};

constexpr int FRAME_CURSOR = 64;
constexpr int FRAME_STEM = 5;
constexpr int LEGEND_X = 152, LEGEND_Y = 62, LEGEND_STEP = 24;
constexpr int FLOWER_BASE = 224; // the board's bottom edge
constexpr int TIME_ALLOWANCE = 120000;

static int transFrame(int index) { return index >= 0 && index < 40 ? transFrames[index] : -1; }

static void drawFrame(const FrameList &frames, int index, int x, int y) {
    if (SDL_Surface *frame = frames[index])
        blitImage(frame, x, y, screen);
}

static void drawFrameTop(const FrameList &frames, int index, int x, int y, int rows) {
    SDL_Surface *frame = frames[index];
    if (!frame || rows <= 0)
        return;
    SDL_Rect part{0, 0, frame->w, rows < frame->h ? rows : frame->h};
    SDL_Rect at{x, y, 0, 0};
    blitSurface(frame, &part, screen, &at);
}

static int textWidth(const char *s) { return 8 * int(strlen(s)); }

static int digitCount(int value) {
    int digits = 1;
    for (; value >= 10; value /= 10)
        digits++;
    return digits;
}

static void drawTimeBar() {
    blitImage(images.timebar.get(), 8, 8, screen);
    if (play.currentTime >= play.endTime || play.paused)
        return;
    const uint32_t allowance = play.slowMode ? 2 * TIME_ALLOWANCE : TIME_ALLOWANCE;
    SDL_Rect fill{0, 0, int(uint32_t(images.timebar2->w) * (play.endTime - play.currentTime) / allowance),
                  images.timebar2->h};
    SDL_Rect at{20, 20, 0, 0};
    blitSurface(images.timebar2.get(), &fill, screen, &at);
}

static void drawStatus(int stage, int lives, int movesUsed) {
    const int y = images.timebar->h + 8;
    const char *move = text(TEXT_MOVE);
    const int movesX = textWidth(move) + 16;
    drawTextAt(screen, move, 8, y, font);
    drawNumberAt(screen, movesUsed, movesX, y, 2, 1, font);
    if (puzzle.currentMoves > 0) {
        drawTextAt(screen, "/", movesX + 16, y, font);
        drawNumberAt(screen, puzzle.currentMoves, movesX + 24, y, 2, 1, font);
    }

    // The icon and the first digit keep their places; ten lives or more push the label right, into
    // the free middle of the line, rather than over the icon and the moves.
    if (lives >= 1) {
        const char *label = text(lives > 1 ? TEXT_LIVES : TEXT_LIFE);
        const int numberX = images.timebar->w - 8 - textWidth(label);
        drawNumberAt(screen, lives, numberX, y, 0, 0, font);
        drawTextAt(screen, label, numberX + 8 * digitCount(lives) + 8, y, font);
        if (lives > 1)
            blitImage(images.kitty.get(), numberX - 16, y, screen);
    }

    const char *atStage = text(TEXT_AT_STAGE);
    drawTextAt(screen, atStage, 320 - textWidth(atStage) - 40, 6, font);
    drawNumberAt(screen, stage + 1, 320 - 32, 6, 3, 1, font);
    drawNumberAt(screen, play.score, 320 - 104, 15, 6, 1, fontbig);
    const char *scoreLabel = text(TEXT_SCORE);
    drawTextAt(screen, scoreLabel, 320 - 8 - textWidth(scoreLabel), y, font);
}

// Flowers stand in the free columns and always end at the board's bottom edge: a head (the bud
// cut to the height while growing, the blossom once grown) over stem pieces 5, 6, 5, ...
static void drawFlowers(const FrameList &flowers) {
    for (int i = 0; i < int(anims.animFlower.size()); i++) {
        const Flower &flower = anims.animFlower[i];
        if (flower.isFree)
            continue;
        const int x = i < 8 ? 16 + 16 * i : 48 + 16 * i;
        const int h = flower.height;
        const int top = FLOWER_BASE - h;
        if (flower.growing)
            drawFrameTop(flowers, 0, x, top, h < 16 ? h : 16);
        else
            drawFrame(flowers, flower.blossom, x, top);
        for (int k = 1; h - 16 * k > 0; k++)
            drawFrameTop(flowers, FRAME_STEM + ((k - 1) & 1), x, top + 16 * k, h - 16 * k);
    }
}

static int boardFrame(int c, int r) {
    if (int t = queues.currentTrans[c + BOARD_COLUMNS * r]) {
        const TransEntry &morph = queues.animTrans[t - 1];
        return transFrame(morph.ticks / 4 + morph.newValue * 8);
    }
    if (int s = queues.currentShining[16 * r + c]) {
        const ShineEntry &shine = queues.animShine[s - 1];
        return shine.frameColumn + 8 * shine.step;
    }
    return puzzle.currentLevel[c + BOARD_COLUMNS * r] - 1;
}

static int targetFrame(int c, int r) {
    if (int s = queues.currentShining[16 * r + 8 + c]) {
        const ShineEntry &shine = queues.animShine[s - 1];
        return shine.frameColumn + 8 * shine.step;
    }
    return puzzle.currentSource ? targetValue(puzzle.currentSource, c, r) - 1 : -1;
}

static void drawBoard(const FrameList &fruits, int showCursor) {
    if (showCursor)
        drawFrame(fruits, FRAME_CURSOR + ((puzzle.cursorA / 4) & 3), BOARD_X + CELL_SIZE * puzzle.cursorX,
                  BOARD_Y + CELL_SIZE * puzzle.cursorY);
    for (int r = 0; r < BOARD_ROWS; r++) {
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            drawFrame(fruits, boardFrame(c, r), BOARD_X + CELL_SIZE * c, BOARD_Y + CELL_SIZE * r);
            drawFrame(fruits, targetFrame(c, r), TARGET_X + CELL_SIZE * c, TARGET_Y + CELL_SIZE * r);
        }
    }
    for (int i = 0; i < queues.curMove; i++) {
        const MoveEntry &piece = queues.animMove[i];
        drawFrame(fruits, piece.value - 1, BOARD_X + CELL_SIZE * piece.column,
                  BOARD_Y + CELL_SIZE * piece.row + piece.ticks);
    }
    for (int i = 0; i < queues.curEject; i++) {
        const EjectEntry &piece = queues.animEject[i];
        drawFrame(fruits, transFrame((piece.points - 1) * 8 + 4), BOARD_X + piece.x, BOARD_Y + piece.y);
    }
    // The hand taps the picked cell: frames 56 to 59 and back over the 32 ticks of a pick.
    if (queues.curAction > 0) {
        const int frame =
            queues.curAction < 16 ? 56 + queues.curAction / 4 : 59 - (queues.curAction - 16) / 4;
        drawFrame(fruits, frame, 12 + CELL_SIZE * queues.actionX, 68 + CELL_SIZE * queues.actionY);
    }
    for (int k = 0; k < 5; k++)
        drawFrame(fruits, 4 - k, LEGEND_X, LEGEND_Y + LEGEND_STEP * k);
}

// Called by the stage loop once per drawn frame, and without the cursor as the backdrop of its
// overlays. Reads the game's state and changes nothing.
void drawScreen(int stage, int showCursor, int lives, int movesUsed) {
    const FrameList &fruits = sheets.blocks[play.curBlock & 1];
    const FrameList &birds = sheets.birdsBlocks[play.curBirdsBlock & 1];

    blitImage(images.backgrounds[stage & 3].get(), 0, 0, screen);
    if ((stage & 3) == 0)
        drawFrame(sheets.sunBlocks, anims.curSunAnim, 192, 0);
    drawTimeBar();
    drawStatus(stage, lives, movesUsed);
    if (anims.curTotemWait == 0)
        drawFrame(sheets.totemBlocks, anims.curTotemFrame * 5 + anims.curTotemAnim, 144, 192);
    drawFrame(sheets.lionBlocks, anims.curLionFrame * LION_ANIMS + anims.curLionAnim, 144, 175);
    drawFlowers(sheets.flowersBlocks[play.curFlowersBlock & 1]);
    for (const PerchedBird &bird : anims.waitingBirds) {
        if (bird.active)
            drawFrame(birds, bird.frame, bird.x, bird.y);
    }
    if (play.paused)
        return;
    drawBoard(fruits, showCursor);
    if (anims.birdAnimWait == 0) {
        const int sway = tsin[anims.birdAngle & 511] >> 6;
        if (anims.birdAnim.vertical)
            drawFrame(birds, anims.birdAnim.frame, anims.birdAnim.x + sway, anims.birdAnim.y);
        else
            drawFrame(birds, anims.birdAnim.frame, anims.birdAnim.x, anims.birdAnim.y + sway);
    }
}

// A band tiled across the screen from image column offset (mod the width) at x = 0.
void drawLoop(SDL_Surface *image, int offset) {
    if (!image || image->w <= 0)
        return;
    int start = offset % image->w;
    if (start < 0)
        start += image->w;
    for (int x = -start; x < SCREEN_WIDTH; x += image->w)
        blitImage(image, x, 0, screen);
}
