// Review sheets: every asset at twice its size on one contact sheet, and a mock stage screen.
#include "review.h"

#include "gfx/png.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

bool writePNG(const Img &img, const std::string &path) {
    SDL_Surface *s = SDL_CreateRGBSurfaceWithFormat(0, img.w, img.h, 32, SDL_PIXELFORMAT_XRGB8888);
    if (!s)
        return false;
    for (int y = 0; y < img.h; y++)
        memcpy(static_cast<uint8_t *>(s->pixels) + y * s->pitch, &img.px[size_t(y) * img.w],
               size_t(img.w) * 4);
    bool ok = savePNG(s, path.c_str());
    SDL_FreeSurface(s);
    return ok;
}

void sheetText(Img &dst, const Img &font, int cell, const char *s, int x, int y) {
    for (; *s; s++, x += cell) {
        int g = uint8_t(*s) - 32;
        if (g >= 0 && g < 96)
            blitPart(font, (g % 16) * cell, (g / 16) * cell, cell, cell, dst, x, y);
    }
}

void sheetNumber(Img &dst, const Img &font, int cell, int value, int digits, int x, int y) {
    char buf[16];
    snprintf(buf, sizeof buf, "%0*d", digits, value);
    sheetText(dst, font, cell, buf, x, y);
}

static Img contactSheet(const Assets &assets) {
    const int width = 1400;
    int x = 8, y = 8, rowH = 0;
    std::vector<std::pair<int, int>> at;
    for (const Asset &a : assets) {
        int w = a.img.w * 2, h = a.img.h * 2 + 12;
        if (x + w > width - 8)
            x = 8, y += rowH + 8, rowH = 0;
        at.push_back({x, y});
        x += w + 12, rowH = std::max(rowH, h);
    }
    Img sheet(width, y + rowH + 8, 0x2a2a3d);
    const Img &font = findAsset(assets, "font");
    for (size_t i = 0; i < assets.size(); i++) {
        const Img big = scaleNearest(assets[i].img, 2);
        auto [ax, ay] = at[i];
        sheetText(sheet, font, 8, assets[i].name.c_str(), ax, ay);
        for (int j = 0; j < big.h; j++)
            for (int k = 0; k < big.w; k++) {
                uint32_t c = big.at(k, j);
                if (c == KEY)
                    c = ((k / 8 + j / 8) & 1) ? 0x4e4e66 : 0x3a3a52;
                sheet.set(ax + k, ay + 10 + j, c);
            }
    }
    return sheet;
}

void sheetFrame(Img &dst, const Img &sheet, int fw, int fh, int index, int x, int y) {
    int cols = sheet.w / fw;
    blitPart(sheet, (index % cols) * fw, (index / cols) * fh, fw, fh, dst, x, y);
}

Img mockStage(const Assets &assets, int stage, int fruitSet, int lives) {
    Img s(320, 240);
    blit(findAsset(assets, "ingamebkg" + std::to_string(stage + 1)), s, 0, 0);
    if (stage == 0)
        sheetFrame(s, findAsset(assets, "sunanim"), 64, 64, 1, 192, 0);
    const Img &timebar = findAsset(assets, "timebar"), &fill = findAsset(assets, "timebar2");
    blit(timebar, s, 8, 8);
    blitPart(fill, 0, 0, fill.w * 2 / 3, fill.h, s, 20, 20);
    const Img &font = findAsset(assets, "font"), &big = findAsset(assets, "fontbig");
    const int ly = timebar.h + 8;
    sheetText(s, font, 8, "MOVE", 8, ly);
    sheetNumber(s, font, 8, 7, 2, 48, ly);
    sheetText(s, font, 8, "/", 64, ly);
    sheetNumber(s, font, 8, 25, 2, 72, ly);
    const int livesX = timebar.w - 8 - 40;
    sheetNumber(s, font, 8, lives, 1, livesX, ly);
    sheetText(s, font, 8, "LIVES", livesX + 8 * int(std::to_string(lives).size()) + 8, ly);
    blit(findAsset(assets, "kitty"), s, livesX - 16, ly);
    sheetText(s, font, 8, "AT STAGE", 320 - 64 - 40, 6);
    sheetNumber(s, font, 8, stage + 1, 3, 320 - 32, 6);
    sheetNumber(s, big, 16, 4250, 6, 320 - 104, 15);
    sheetText(s, font, 8, "SCORE", 320 - 8 - 40, ly);
    sheetFrame(s, findAsset(assets, "totem"), 32, 48, 1 * 5 + stage, 144, 192);
    sheetFrame(s, findAsset(assets, "lionanim"), 32, 32, stage, 144, 175);
    const Img &flowers = findAsset(assets, fruitSet ? "flowers2" : "flowers");
    sheetFrame(s, flowers, 16, 16, 4, 272, 176);
    sheetFrame(s, flowers, 16, 16, 5, 272, 192);
    sheetFrame(s, flowers, 16, 16, 6, 272, 208);
    const Img &birds = findAsset(assets, fruitSet ? "birds2" : "birds");
    sheetFrame(s, birds, 16, 16, 2, 192, 36);
    sheetFrame(s, birds, 16, 16, 8, 240, 34);
    sheetFrame(s, birds, 16, 16, 6, 100, 120);
    const Img &fruits = findAsset(assets, fruitSet ? "fruitanim2" : "fruitanim");
    Rng rng(uint32_t(stage * 7 + 3));
    sheetFrame(s, fruits, 16, 16, 64 + stage % 4, 16 + 16 * 3, 64 + 16 * 6);
    for (int r = 0; r < 10; r++)
        for (int c = 0; c < 8; c++) {
            if (r >= 2 + (c % 3) && !(c == 7 && r < 9)) {
                int v = rng.range(1, 5);
                int f = v - 1;
                if (r == 4 && c == 2)
                    f = 53;
                if (r == 7 && c == 5)
                    f = v + 7 + 16;
                sheetFrame(s, fruits, 16, 16, f, 16 + 16 * c, 64 + 16 * r);
            }
            if (r >= 3 + (c % 2))
                sheetFrame(s, fruits, 16, 16, rng.range(0, 4), 176 + 16 * c, 64 + 16 * r);
        }
    sheetFrame(s, fruits, 16, 16, 57, 12 + 16 * 5, 68 + 16 * 5);
    sheetFrame(s, fruits, 16, 16, 22, 16 + 70, 64 + 20);
    for (int i = 0; i < 5; i++)
        sheetFrame(s, fruits, 16, 16, 4 - i, 152, 62 + 24 * i);
    return s;
}

// The morphs as the board plays them: the frame table walked from the last tick down to the first,
// one row per kind of two-step morph (and the vanishing of the smallest fruit), both fruit sets.
static Img morphStrips(const Assets &assets) {
    static const int table[40] = {-1, 13, 13, 5,  5,  13, 13, 5,  5,  13, 13, 21, 21, 29,
                                  29, 37, 37, 45, 45, 53, 53, 61, 61, 69, 6,  14, 14, 22,
                                  22, 30, 30, 38, 38, 46, 46, 54, 54, 62, 62, 70};
    Img strip(16 * 17, 16 * 8, 0x2a2a3d);
    for (int set = 0; set < 2; set++) {
        const Img &fruits = findAsset(assets, set ? "fruitanim2" : "fruitanim");
        for (int kind = 0; kind < 4; kind++) {
            const int row = set * 4 + kind;
            int x = 0;
            for (int ticks = 63; ticks >= 1; ticks -= 4, x += 16) {
                int frameIndex = table[ticks / 4 + kind * 8];
                if (frameIndex >= 0)
                    sheetFrame(strip, fruits, 16, 16, frameIndex, x, row * 16);
            }
        }
    }
    return strip;
}

void drawReview(const Assets &assets, const std::string &dir) {
    writePNG(scaleNearest(morphStrips(assets), 3), dir + "/morphs.png");
    writePNG(contactSheet(assets), dir + "/contact.png");
    // Each sprite sheet on its own, enlarged so single pixels can be judged.
    for (const Asset &a : assets) {
        if (a.img.w >= 320 && a.img.h >= 240)
            continue;
        Img big = scaleNearest(a.img, a.img.w <= 256 ? 4 : 2);
        for (uint32_t &c : big.px)
            c = c == KEY ? 0x3a3a52 : c;
        writePNG(big, dir + "/" + a.name + ".png");
    }
    Img stages(640, 480);
    for (int i = 0; i < 4; i++)
        blit(mockStage(assets, i, i & 1), stages, (i % 2) * 320, (i / 2) * 240);
    writePNG(scaleNearest(stages, 2), dir + "/stages.png");
    writePNG(scaleNearest(mockStage(assets, 0, 0), 2), dir + "/stage.png");
    drawChecks(assets, dir);
}
