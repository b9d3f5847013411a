// stageshot: the stage screen of a real level, mid-pick, as the game draws it, for review.
//   stageshot RUN_DIR OUT_DIR [STAGE]   (the build runs it for stage index 9 into review/)
// Reads RUN_DIR/data (gfx.zka, levels.bin; "test.bin" in RUN_DIR stands in without a level file) and
// writes OUT_DIR/stage.png (320 × 240), stage_scanline.png and stage_antialias.png (640 × 480).
#include "data/winzka.h"
#include "gfx/font.h"
#include "gfx/gfx_sdl2.h"
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

int main(int argc, char **argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: stageshot RUN_DIR OUT_DIR [STAGE]\n");
        return 2;
    }
    char out[PATH_MAX];
    if (!realpath(argv[2], out) || chdir(argv[1]) != 0) {
        fprintf(stderr, "stageshot: no folder %s or %s\n", argv[1], argv[2]);
        return 2;
    }
    const int stage = argc > 3 ? atoi(argv[3]) : 0;
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
