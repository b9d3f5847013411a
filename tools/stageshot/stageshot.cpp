// stageshot: the stage screen of a real level, mid-pick, as the game draws it, and contact sheets of
// the whole level set, for review.
//   stageshot RUN_DIR OUT_DIR [STAGE]   (the build runs it for stage index 9 into review/)
//   stageshot RUN_DIR OUT_DIR --contact
// Reads RUN_DIR/data (gfx.zka, levels.bin; "test.bin" in RUN_DIR stands in without a level file) and
// writes OUT_DIR/stage.png (320 × 240), stage_scanline.png and stage_antialias.png (640 × 480); with
// --contact, levels-contact.png and levels-twelve-01.png on.
#include "data/winzka.h"
#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/image.h"
#include "gfx/png.h"
#include "gfx/scaling.h"
#include "main/bganims.h"
#include "main/draw.h"
#include "main/game.h"
#include "main/level.h"
#include "main/levelfile.h"
#include "main/rules.h"
#include "main/sheets.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

// One tick of the stage's animations, as the stage loop runs them.
static void tick() {
    doTrans();
    doMove();
    doShine();
    doEject();
    doBgAnims();
    doLionAnim();
    if (queues.curAction > 0)
        queues.curAction--;
    puzzle.cursorA++;
}

// The pick that shows most: a fruit that morphs by two with as many fruit neighbours as possible.
static void pickBusiest() {
    auto at = [](int c, int r) {
        return c >= 0 && c < 8 && r >= 0 && r < 10 ? puzzle.currentLevel[c + 8 * r] : 0;
    };
    int best = 0, bestScore = -1;
    for (int r = 0; r < BOARD_ROWS; r++)
        for (int c = 0; c < BOARD_COLUMNS; c++) {
            if (!at(c, r))
                continue;
            const int score = 10 * (at(c, r) > 1) + (at(c - 1, r) > 0) + (at(c + 1, r) > 0) +
                              (at(c, r - 1) > 0) + (at(c, r + 1) > 0);
            if (score > bestScore) {
                best = c + 8 * r;
                bestScore = score;
            }
        }
    queues.actionX = puzzle.cursorX = best % 8;
    queues.actionY = puzzle.cursorY = best / 8;
    doSwitch();
    setLionAnim(LION_PICK);
}

static bool save(SDL_Surface *surface, const std::string &path) {
    if (savePNG(surface, path.c_str()))
        return true;
    fprintf(stderr, "stageshot: cannot write %s\n", path.c_str());
    return false;
}

// A stage as its start board beside its target, the fruits as the game draws them: TILE_W × BOARDS_H,
// under a band of LABEL_H for its number.
constexpr int BOARD_W = CELL_SIZE * BOARD_COLUMNS, BOARD_H = CELL_SIZE * BOARD_ROWS;
constexpr int TILE_GAP = 8, LABEL_H = 12;
constexpr int TILE_W = 2 * BOARD_W + 3 * TILE_GAP, BOARDS_H = BOARD_H + TILE_GAP;

static void drawBoards(SDL_Surface *sheet, int stage, int x, int y) {
    const uint8_t *record = levelSet.levels + LEVEL_RECORD_SIZE * stage;
    fillRect(sheet, x, y, TILE_W, BOARDS_H, SDL_MapRGB(sheet->format, 52, 58, 64));
    for (int side = 0; side < 2; side++) {
        int left = x + TILE_GAP + side * (BOARD_W + TILE_GAP);
        fillRect(sheet, left, y, BOARD_W, BOARD_H, SDL_MapRGB(sheet->format, 24, 28, 32));
        for (int r = 0; r < BOARD_ROWS; r++)
            for (int c = 0; c < BOARD_COLUMNS; c++) {
                int value = side == 0 ? startValue(record, c, r) : targetValue(record, c, r);
                if (value > 0)
                    blitImage(sheets.blocks[0][value - 1], left + CELL_SIZE * c, y + CELL_SIZE * r, sheet);
            }
    }
}

static void drawLabel(SDL_Surface *sheet, const char *text, int x, int y, int w) {
    fillRect(sheet, x, y, w, LABEL_H, SDL_MapRGB(sheet->format, 52, 58, 64));
    drawTextAt(sheet, text, x + TILE_GAP / 2, y + 2, font);
}

static SDL_Surface *newSheet(int w, int h) {
    SDL_Surface *sheet = createImage(w, h);
    fillRect(sheet, 0, 0, w, h, SDL_MapRGB(sheet->format, 16, 16, 16));
    return sheet;
}

// Twelve stages share a music track: each twelve is a row of the whole set at half size, and a sheet
// of its own at full size, four tiles by three, each under its number and solution length.
static bool writeContactSheets(const std::string &out) {
    constexpr int GROUP = 12, ACROSS = 4, TILE_H = LABEL_H + BOARDS_H, SMALL_H = LABEL_H + BOARDS_H / 2;
    const int groups = (levelSet.levelCount + GROUP - 1) / GROUP;
    SDL_Surface *all = newSheet(GROUP * TILE_W / 2, groups * SMALL_H);
    SDL_Surface *tile = newSheet(TILE_W, BOARDS_H);
    bool ok = true;
    for (int g = 0; g < groups; g++) {
        SDL_Surface *twelve = newSheet(ACROSS * TILE_W, (GROUP / ACROSS) * TILE_H);
        for (int k = 0; k < GROUP && g * GROUP + k < levelSet.levelCount; k++) {
            int stage = g * GROUP + k, picks = solutionLength(levelSet.levels + LEVEL_RECORD_SIZE * stage);
            int x = (k % ACROSS) * TILE_W, y = (k / ACROSS) * TILE_H;
            char label[32];
            snprintf(label, sizeof label, "%d: %d %s", stage + 1, picks, picks == 1 ? "PICK" : "PICKS");
            drawLabel(twelve, label, x, y, TILE_W);
            drawBoards(twelve, stage, x, y + LABEL_H);
            drawBoards(tile, stage, 0, 0);
            SDL_Rect half{k * TILE_W / 2, g * SMALL_H + LABEL_H, TILE_W / 2, BOARDS_H / 2};
            SDL_BlitScaled(tile, nullptr, all, &half);
            snprintf(label, sizeof label, "%d", stage + 1);
            drawLabel(all, label, half.x, g * SMALL_H, TILE_W / 2);
        }
        char name[32];
        snprintf(name, sizeof name, "/levels-twelve-%02d.png", g + 1);
        ok = save(twelve, out + name) && ok;
        SDL_FreeSurface(twelve);
    }
    ok = save(all, out + "/levels-contact.png") && ok;
    SDL_FreeSurface(tile);
    SDL_FreeSurface(all);
    printf("stageshot: contact sheets of %d stages\n", levelSet.levelCount);
    return ok;
}

int main(int argc, char **argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: stageshot RUN_DIR OUT_DIR [STAGE | --contact]\n");
        return 2;
    }
    char out[PATH_MAX];
    if (!realpath(argv[2], out) || chdir(argv[1]) != 0) {
        fprintf(stderr, "stageshot: no folder %s or %s\n", argv[1], argv[2]);
        return 2;
    }
    const bool contact = argc > 3 && strcmp(argv[3], "--contact") == 0;
    const int stage = argc > 3 && !contact ? atoi(argv[3]) : 0;
    srand(7);

    bpp = 16;
    screen = gfxCreateSurfaces();
    gfxInitColors();
    gfxPrepareBlackScreen();
    openArchives();
    loadSpriteFont();
    loadSharedImages();
    cutSheets();
    const bool haveLevels = access("data/levels.bin", R_OK) == 0;
    if (haveLevels)
        loadLevels();
    else
        loadTestLevel();
    if (contact)
        return haveLevels && writeContactSheets(out) ? 0 : 1;
    loadLevel(haveLevels ? stage : -1);
    resetDecorations();

    // Let the decorations come to life (the totem, the birds, the sun), then pick and stop while the
    // morphs are under way and the first pieces fly.
    play.score = 2140;
    play.lives = 3;
    for (int i = 0; i < 1500; i++)
        tick();
    anims.curTotemWait = 0;
    pickBusiest();
    for (int i = 0; i < 44; i++)
        tick();
    play.currentTime = 47000;
    play.endTime = 120000;

    drawScreen(stage, 1, play.lives, 1);
    bool ok = save(screen, std::string(out) + "/stage.png");
    Scanline2x();
    ok = save(fscreen, std::string(out) + "/stage_scanline.png") && ok;
    antiAlias2();
    ok = save(fscreen, std::string(out) + "/stage_antialias.png") && ok;
    printf("stageshot: stage %d of %s, morphs %d, flying pieces %d\n", stage,
           haveLevels ? "data/levels.bin" : "test.bin", queues.curTrans, queues.curEject);
    return ok ? 0 : 1;
}
