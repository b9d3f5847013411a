// Sprite sheets, the stage screen and the credits scroller, checked pixel by pixel on flat-coloured
// frames: every frame and glyph is filled with its own colour, so a pixel tells what was drawn there.
#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx_helpers.h"
#include "main/bganims.h"
#include "main/credits.h"
#include "main/draw.h"
#include "main/game.h"
#include "main/i18n.h"
#include "main/level.h"
#include "main/rules.h"
#include "main/sheets.h"

namespace {

// Raw RGB565 values: frame k of a list is base + k.
constexpr uint32_t BACKGROUND = 0x0100, SUN = 0x0200, GLYPH = 0x1000, BIG_GLYPH = 0x1800, FRUIT = 0x2000,
                   TOTEM = 0x2800, LION = 0x3000, BIRD = 0x3800, FLOWER = 0x4000;
constexpr uint32_t TIMEBAR = 0x5000, TIMEBAR_FILL = 0x5100, KITTY = 0x5200;

FrameList flatList(int count, int w, int h, uint32_t base) {
    std::vector<Image> frames;
    for (int k = 0; k < count; k++)
        frames.emplace_back(solid(w, h, base + k));
    return FrameList(std::move(frames));
}

// A sheet whose w × h cells are filled with base + k in reading order, with magenta in the top-left
// pixel of every cell, written as a loose bitmap file for loadGFX.
void writeSheet(const char *name, int width, int height, int w, int h) {
    SDL_Surface *sheet = solid(width, height, PURPLE);
    for (int k = 0; k < (width / w) * (height / h); k++) {
        SDL_Rect cell{(k % (width / w)) * w, (k / (width / w)) * h, w, h};
        SDL_FillRect(sheet, &cell, FRUIT + k);
        putPixel(sheet, cell.x, cell.y, PURPLE);
    }
    SDL_SaveBMP(sheet, (std::string(name) + ".bmp").c_str());
    SDL_FreeSurface(sheet);
}

using Sheets = InTempFolder;

TEST_F(Sheets, CutRowByRowKeyedOrOpaque) {
    makeSurfaces(16);
    writeSheet("fruits", 128, 144, 16, 16);
    FrameList fruits = initBlocks("fruits", 16, 16, 1);
    ASSERT_EQ(fruits.size(), 72);
    EXPECT_EQ(getPixel(fruits[64], 5, 5), FRUIT + 64); // the first cursor frame, from (0, 128)
    EXPECT_EQ(getPixel(fruits[9], 15, 15), FRUIT + 9);

    writeSheet("lion", 230, 64, 32, 32); // 6 pixels too wide: still 7 columns
    FrameList lion = initBlocks("lion", 32, 32, 0);
    ASSERT_EQ(lion.size(), 14);
    EXPECT_EQ(getPixel(lion[7], 1, 1), FRUIT + 7); // row 1, column 0

    SDL_FillRect(screen, nullptr, BLACK);
    blitImage(fruits[3], 0, 0, screen);
    blitImage(lion[0], 100, 0, screen);
    EXPECT_EQ(getPixel(screen, 0, 0), BLACK); // keyed: the magenta corner is transparent
    EXPECT_EQ(getPixel(screen, 1, 0), FRUIT + 3);
    EXPECT_EQ(getPixel(screen, 100, 0), PURPLE); // unkeyed: drawn as it is

    writeSheet("small", 10, 10, 16, 16);
    FrameList none = initBlocks("small", 16, 16, 1);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none[0], nullptr);
    EXPECT_EQ(fruits[72], nullptr); // a frame the sheet lacks is none
    EXPECT_EQ(fruits[-1], nullptr);

    fruits.clear();
    lion.clear();
    freeSurfaces();
}

struct Stage : ::testing::Test {
    void SetUp() override {
        makeSurfaces(16);
        for (int i = 0; i < 4; i++)
            images.backgrounds[i].reset(solid(320, 240, BACKGROUND + i));
        sheets.sunBlocks = flatList(3, 64, 64, SUN);
        images.timebar.reset(solid(200, 24, TIMEBAR));
        images.timebar2.reset(solid(176, 8, TIMEBAR_FILL));
        images.kitty.reset(solid(8, 8, KITTY));
        font = flatList(96, 8, 8, GLYPH);
        fontbig = flatList(96, 16, 16, BIG_GLYPH);
        sheets.blocks[0] = flatList(72, 16, 16, FRUIT);
        sheets.blocks[1] = flatList(72, 16, 16, FRUIT);
        sheets.totemBlocks = flatList(15, 32, 48, TOTEM);
        sheets.lionBlocks = flatList(42, 32, 32, LION);
        for (int variant = 0; variant < 2; variant++) {
            sheets.birdsBlocks[variant] = flatList(15, 16, 16, BIRD);
            sheets.flowersBlocks[variant] = flatList(7, 16, 16, FLOWER);
        }

        for (int i = 0; i < 160; i++)
            record[i] = 0;
        puzzle.currentSource = record;
        puzzle.currentLevel.fill(0);
        queues.currentTrans.fill(0);
        queues.currentShining.fill(0);
        queues.curTrans = queues.curMove = queues.curShine = queues.curEject = queues.curAction = 0;
        play.paused = play.slowMode = 0;
        play.currentTime = play.endTime = 0;
        puzzle.currentMoves = play.score = 0;
        anims.curTotemWait = 100;
        anims.birdAnimWait = 100;
        for (Flower &f : anims.animFlower)
            f.isFree = 1;
        for (PerchedBird &b : anims.waitingBirds)
            b.active = 0;
        anims.curLionAnim = anims.curLionFrame = anims.curSunAnim = 0;
    }
    void TearDown() override {
        freeSheets();
        freeSharedImages();
        destroyFonts();
        freeSurfaces();
    }
    uint32_t at(int x, int y) { return getPixel(screen, x, y); }
    char glyphAt(int x, int y) {
        uint32_t p = at(x, y);
        return p >= GLYPH && p < GLYPH + 96 ? char(p - GLYPH + 32) : 0;
    }
    std::string textAt(int x, int y, int n) {
        std::string s;
        for (int i = 0; i < n; i++)
            s += glyphAt(x + 8 * i, y) ? glyphAt(x + 8 * i, y) : ' ';
        return s;
    }
    uint8_t record[LEVEL_RECORD_SIZE];
};

TEST_F(Stage, BackgroundAndSunByStage) {
    anims.curSunAnim = 2;
    for (int stage : {0, 4, 5, 7}) {
        drawScreen(stage, 0, 3, 0);
        EXPECT_EQ(at(300, 230), BACKGROUND + (stage & 3));
        EXPECT_EQ(at(200, 60), (stage & 3) == 0 ? SUN + 2 : BACKGROUND + (stage & 3)) << stage;
    }
}

TEST_F(Stage, TimeBarFillsByTimeLeft) {
    struct Case {
        uint32_t now, end;
        int slow, pause, width;
    };
    const Case cases[] = {
        {60000, 120000, 0, 0, 88}, {1000, 121000, 0, 0, 176}, {0, 60000, 1, 0, 44},
        {5000, 5000, 0, 0, 0},     {6000, 5000, 0, 0, 0},     {0, 60000, 0, 1, 0},
    };
    for (const Case &c : cases) {
        play.currentTime = c.now;
        play.endTime = c.end;
        play.slowMode = c.slow;
        play.paused = c.pause;
        drawScreen(0, 0, 3, 0);
        EXPECT_EQ(at(8, 8), TIMEBAR);
        if (c.width) {
            EXPECT_EQ(at(20 + c.width - 1, 27), TIMEBAR_FILL) << c.now << " of " << c.end;
        }
        EXPECT_EQ(at(20 + c.width, 20), TIMEBAR) << c.now << " of " << c.end;
    }
}

TEST_F(Stage, StatusLine) {
    const int y = 24 + 8;
    puzzle.currentMoves = 25;
    drawScreen(11, 0, 3, 7);
    EXPECT_EQ(textAt(8, y, 8), "MOVE 07/");
    EXPECT_EQ(textAt(72, y, 2), "25");
    EXPECT_EQ(textAt(200 + 8 - 40, y, 5), "LIVES");
    EXPECT_EQ(textAt(200 - 8 - 40, y, 1), "3");
    EXPECT_EQ(at(200 - 24 - 40, y), KITTY);
    EXPECT_EQ(textAt(320 - 8 * 8 - 40, 6, 8), "AT STAGE");
    EXPECT_EQ(textAt(288, 6, 3), "012");
    EXPECT_EQ(textAt(320 - 48, y, 5), "SCORE");

    puzzle.currentMoves = 0;
    play.score = 4250;
    drawScreen(0, 0, 1, 7);
    EXPECT_EQ(textAt(8, y, 10), "MOVE 07   ");
    EXPECT_EQ(textAt(200 + 8 - 32, y, 4), "LIFE");
    EXPECT_EQ(textAt(200 - 8 - 32, y, 1), "1");
    EXPECT_NE(at(200 - 24 - 32, y), KITTY);
    const char digits[] = "004250";
    for (int i = 0; i < 6; i++)
        EXPECT_EQ(at(216 + 16 * i + 3, 15 + 3), BIG_GLYPH + digits[i] - 32) << i;

    drawScreen(0, 0, 0, 7);
    EXPECT_EQ(textAt(200 - 48, y, 8), "        ");
    EXPECT_EQ(at(200 - 24 - 40, y), BACKGROUND);
}

// Ten lives or more show in full: the icon and the first digit stay where one digit goes, and the
// label moves right by a glyph per extra digit instead of the number running over the icon.
TEST_F(Stage, LivesShowInFullWithTheIconClearOfThem) {
    const int y = 24 + 8, numberX = 200 - 8 - 40;
    const struct {
        int lives;
        const char *shown;
    } cases[] = {{3, "3 LIVES"}, {9, "9 LIVES"}, {12, "12 LIVES"}, {99, "99 LIVES"}, {105, "105 LIVES"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.lives);
        drawScreen(0, 0, c.lives, 7);
        const int n = int(strlen(c.shown));
        EXPECT_EQ(textAt(numberX, y, n + 1), std::string(c.shown) + " ");
        EXPECT_EQ(at(numberX - 16, y), KITTY);
        EXPECT_EQ(glyphAt(numberX - 8, y), 0) << "the icon's cell stays clear of digits";
    }
}

TEST_F(Stage, BoardTargetAndPieces) {
    puzzle.currentLevel[2 + 8 * 3] = 4; // board (2, 3) holds fruit 4: frame 3
    record[16 * 5 + 8 + 1] = 2;         // target (1, 5) holds fruit 2: frame 1
    puzzle.cursorX = 7;
    puzzle.cursorY = 9;
    puzzle.cursorA = 9; // cursor frame 64 + 2
    drawScreen(1, 1, 3, 0);
    EXPECT_EQ(at(16 + 32 + 5, 64 + 48 + 5), FRUIT + 3);
    EXPECT_EQ(at(176 + 16 + 5, 64 + 80 + 5), FRUIT + 1);
    EXPECT_EQ(at(16 + 112, 64 + 144), FRUIT + 66);
    for (int k = 0; k < 5; k++)
        EXPECT_EQ(at(152, 62 + 24 * k), FRUIT + 4 - k);

    // A kind-0 morph shows an empty cell for ticks 0 to 3, then frame 13.
    queues.currentTrans[2 + 8 * 3] = 1;
    queues.animTrans[0] = {2, 3, 3, 0, 0};
    queues.curTrans = 1;
    drawScreen(1, 0, 3, 0);
    EXPECT_EQ(at(16 + 32 + 5, 64 + 48 + 5), BACKGROUND + 1);
    queues.animTrans[0].ticks = 4;
    drawScreen(1, 0, 3, 0);
    EXPECT_EQ(at(16 + 32 + 5, 64 + 48 + 5), FRUIT + 13);
    queues.animTrans[0] = {2, 3, 47, 1, 0}; // a long kind-1 morph reads on into row 2: 47 / 4 + 8 = 19
    drawScreen(1, 0, 3, 0);
    EXPECT_EQ(at(16 + 32 + 5, 64 + 48 + 5), FRUIT + 53);

    // A falling fruit, a flying piece of kind 2 and the hand at tick 20.
    queues.animMove[0] = {5, 1, 7, 5, 0};
    queues.curMove = 1;
    queues.animEject[0] = {100, -30, 0, 0, 3};
    queues.curEject = 1;
    queues.curAction = 20;
    queues.actionX = 0;
    queues.actionY = 0;
    drawScreen(1, 0, 3, 0);
    EXPECT_EQ(at(16 + 80, 64 + 16 + 7), FRUIT + 4);
    EXPECT_EQ(at(116, 34), FRUIT + 53);
    EXPECT_EQ(at(12, 68), FRUIT + 58);

    // Paused: background, status and decorations, but no fruit at all.
    play.paused = 1;
    anims.curTotemWait = 0;
    drawScreen(1, 0, 3, 0);
    EXPECT_EQ(at(16 + 80, 64 + 16 + 7), BACKGROUND + 1);
    EXPECT_EQ(at(176 + 16 + 5, 64 + 80 + 5), BACKGROUND + 1);
    EXPECT_EQ(at(152, 62), BACKGROUND + 1);
    EXPECT_EQ(at(150, 230), TOTEM);
    EXPECT_EQ(at(150, 180), LION);
}

TEST_F(Stage, FlowersAndBirds) {
    Flower &growing = anims.animFlower[1];
    growing = {0, 10, 60, 20, 1, 0};
    Flower &grown = anims.animFlower[9];
    grown = {0, 10, 40, 40, 0, 4};
    anims.waitingBirds[2] = {224, 34, 5, 7, 1};
    anims.birdAnimWait = 0;
    anims.birdAnim = {100, 50, 4, 0, 6, 3, 0};
    anims.birdAngle = 128; // sway +16 pixels
    drawScreen(2, 0, 3, 0);
    EXPECT_EQ(at(32, 224 - 20), FLOWER + 0); // a bud cut to 16 rows ...
    EXPECT_EQ(at(32, 224 - 5), FLOWER + 0);
    EXPECT_EQ(at(32, 224 - 4), FLOWER + 5); // ... over a stem piece cut to 4
    EXPECT_EQ(at(32, 224 - 1), FLOWER + 5);
    EXPECT_EQ(at(32, 224), BACKGROUND + 2);
    EXPECT_EQ(at(32, 224 - 21), BACKGROUND + 2);
    EXPECT_EQ(at(48 + 144, 224 - 40), FLOWER + 4);
    EXPECT_EQ(at(48 + 144, 224 - 24), FLOWER + 5);
    EXPECT_EQ(at(48 + 144, 224 - 8), FLOWER + 6);
    EXPECT_EQ(at(48 + 144, 224), BACKGROUND + 2);
    EXPECT_EQ(at(224, 34), BIRD + 7);
    EXPECT_EQ(at(100, 50 + 16), BIRD + 6);
    EXPECT_EQ(at(100, 50 + 15), BACKGROUND + 2);
}

TEST_F(Stage, LoopTilesFromTheOffset) {
    SDL_Surface *band = solid(100, 10, 0);
    for (int x = 0; x < 100; x++)
        putPixel(band, x, 0, 0x100 + x);
    for (int offset : {0, 37, 250, -3}) {
        drawLoop(band, offset);
        const int start = ((offset % 100) + 100) % 100;
        for (int x : {0, 1, 99, 250, 319})
            EXPECT_EQ(at(x, 0), 0x100u + (x + start) % 100) << offset;
    }
    SDL_FreeSurface(band);
}

TEST_F(Stage, ScrollerBandAndText) {
    SDL_FillRect(screen, nullptr, WHITE);
    prepareScrollBack();
    setupScroller();
    ASSERT_NE(credits.scroller, nullptr);
    EXPECT_EQ(credits.scroller, text(TEXT_SCROLLER));
    EXPECT_EQ(credits.scrollmax, int32_t(strlen(text(TEXT_SCROLLER))));
    credits.scrolldx = 15;
    credits.scrollidx = 2;
    drawScroller();
    EXPECT_EQ(at(0, 194), BLACK);
    EXPECT_EQ(at(319, 205), BLACK);
    uint8_t r, g, b;
    SDL_GetRGB(at(0, 204), screen->format, &r, &g, &b); // the band, half over white
    EXPECT_NEAR(r, (64 + 255) / 2, 6);
    EXPECT_NEAR(g, (128 + 255) / 2, 6);
    EXPECT_EQ(at(0, 196), GLYPH + uint32_t(credits.scroller[2] - 32)); // the line starts 7 pixels left
    EXPECT_EQ(at(1, 196), GLYPH + uint32_t(credits.scroller[3] - 32));

    const char *chosen = credits.scroller;
    credits.scrollmax = 3;
    setupScroller(); // a second set-up rewinds but neither re-chooses nor re-measures
    EXPECT_EQ(credits.scroller, chosen);
    EXPECT_EQ(credits.scrollmax, 3);
    EXPECT_EQ(credits.scrollidx, 0);
    for (int pass = 0; pass < 3 * 16 - 1; pass++)
        stepScroller();
    EXPECT_EQ(credits.scrollidx, 2);
    EXPECT_EQ(credits.scrolldx, 15);
    stepScroller();
    EXPECT_EQ(credits.scrollidx, 0);
    EXPECT_EQ(credits.scrolldx, 0);
    SDL_FreeSurface(credits.scrollBack);
    credits.scrollBack = nullptr;
}

} // namespace
