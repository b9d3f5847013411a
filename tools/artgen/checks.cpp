// Review sheets that check legibility: letters a player could confuse, every screen's texts on its own
// background, the fruits in colour and in grey, and figures.txt with the measures behind them.
#include "review.h"

#include "main/i18n.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int CENTRED = -1000; // x of a line centred on the screen, as drawTextCenterAt does
constexpr float DARKEN = 0.5f; // the game's darken() halves every channel

struct FontSheet {
    const Img &img;
    int cell;
};

FontSheet smallFont(const Assets &assets) { return {findAsset(assets, "font"), 8}; }
FontSheet bigFont(const Assets &assets) { return {findAsset(assets, "fontbig"), 16}; }

int luma(uint32_t c) { return (299 * int(c >> 16) + 587 * int((c >> 8) & 255) + 114 * int(c & 255)) / 1000; }

uint32_t grey(uint32_t c) {
    if (c == KEY)
        return c;
    const int l = luma(c);
    return rgb(l, l, l);
}

// ---- Letters a player could confuse ----------------------------------------------------------------

const char confusable[][3] = {"DO", "OQ", "CG", "0O", "1I", "5S", "8B", "MN", "UV",
                              "2Z", "6G", "EF", "PR", "HN", "VY", "0D", "3B", "1l"};

Img glyphCell(const FontSheet &f, char c) {
    const int g = uint8_t(c) - 32;
    return crop(f.img, (g % 16) * f.cell, (g / 16) * f.cell, f.cell, f.cell);
}

// Pixels of two glyph cells that differ in colour, and those that are letter body (light) in one
// glyph and not in the other.
struct GlyphDiff {
    int pixels, body;
};

GlyphDiff glyphDiff(const FontSheet &f, char a, char b) {
    const Img ga = glyphCell(f, a), gb = glyphCell(f, b);
    GlyphDiff d{0, 0};
    for (size_t i = 0; i < ga.px.size(); i++) {
        d.pixels += ga.px[i] != gb.px[i];
        auto body = [](uint32_t c) { return c != KEY && luma(c) >= 128; };
        d.body += body(ga.px[i]) != body(gb.px[i]);
    }
    return d;
}

// Each pair in both fonts, four times enlarged, on the brightest sky and on a dark board panel.
Img glyphPairs(const Assets &assets) {
    const FontSheet fonts[2] = {smallFont(assets), bigFont(assets)};
    const FontSheet label = fonts[0];
    const int rows = int(std::size(confusable)), rowH = 4 * 16 + 8;
    Img sheet(2 * (4 * 8 * 2 + 4 * 16 * 2 + 48) + 24, rows * rowH + 8, 0x2a2a3d);
    const uint32_t backs[2] = {0xeaf6ff, 0x3a2e2a};
    for (int r = 0; r < rows; r++) {
        int x = 8;
        for (uint32_t back : backs) {
            for (const FontSheet &f : fonts) {
                Img pair(2 * f.cell, f.cell, back);
                blit(glyphCell(f, confusable[r][0]), pair, 0, 0);
                blit(glyphCell(f, confusable[r][1]), pair, f.cell, 0);
                blit(scaleNearest(pair, 4), sheet, x, 8 + r * rowH);
                x += 8 * f.cell + 8;
            }
            x += 16;
        }
        char figures[32];
        snprintf(figures, sizeof figures, "%d %d",
                 glyphDiff(fonts[0], confusable[r][0], confusable[r][1]).body,
                 glyphDiff(fonts[1], confusable[r][0], confusable[r][1]).body);
        sheetText(sheet, label.img, label.cell, figures, x - 8, 8 + r * rowH + 24);
    }
    return sheet;
}

// ---- Every screen's texts on its own background ---------------------------------------------------

enum Backdrop { TITLE, MENU_LAYERS, TUTORIAL, NOTICE, ENDING, DARK_STAGE, PAUSE, GAME_OVER };

struct Line {
    int id;              // interface text, or -1 for the literal
    const char *literal; // values, names and numbers the game formats itself
    int x, y;
    bool big;
    bool dimmed = false; // drawn before the stage is darkened (the pause menu's other items)
};

struct Screen {
    Backdrop backdrop;
    std::vector<Line> lines;
};

std::vector<Line> titleBand(std::vector<Line> lines) {
    lines.push_back({-1, "WELCOME TO MIRABO! --- A FRUIT-MORPHING PUZZLE", 0, 196, false});
    lines.push_back({-1, "MIRABO V1.00.2", CENTRED, 208, true});
    return lines;
}

std::vector<Screen> screens(const Assets &assets) {
    std::vector<Line> hiscores = {{8, "", CENTRED, 16, true}};
    const char *names[10] = {"DODO",   "MOJA",     "TALL GNU", "OKAPI", "BOOMBOOM",
                             "QUAGGA", "COCO NUT", "VIVU",     "SIMBA", "NUMNUM"};
    static char scores[10][8];
    for (int k = 0; k < 10; k++) {
        snprintf(scores[k], sizeof scores[k], "%05d", 1580 - 137 * k);
        hiscores.push_back({-1, names[k], 48, 48 + 18 * k, true});
        hiscores.push_back({-1, scores[k], 192, 48 + 18 * k, true});
    }
    std::vector<Line> options = {{9, "", CENTRED, 40, true},
                                 {-1, "MIRABO V1.00.2", CENTRED, 208, true},
                                 {-1, ">", 14, 72, false},
                                 {41, "", 24, 182, false}};
    const int optionIds[9] = {12, 19, 22, 23, 24, 28, 38, 39, 40};
    const char *values[9] = {"NOT AVAILABLE",   "NOT AVAILABLE", "100",           "15",
                             "BOXED 640 X 480", "SCALE2X",       "SUNRISE PARADE"};
    for (int r = 0; r < 9; r++) {
        options.push_back({optionIds[r], "", 24, 72 + 10 * r, false});
        if (values[r])
            options.push_back({-1, values[r], 192, 72 + 10 * r, false});
    }
    std::vector<Line> menu;
    const int items[5] = {6, 7, 8, 9, 4};
    for (int i = 0; i < 5; i++)
        menu.push_back({items[i], "", CENTRED, 104 + 18 * i, true});
    std::vector<Line> tutorial = {{75, "", 72, 50, true}, {83, "", 72, 182, false}, {88, "", 72, 202, false}};
    for (int i = 0; i < 7; i++)
        tutorial.push_back({76 + i, "", 72, 90 + 12 * i, false});
    std::vector<Line> notice = {{65, "", CENTRED, 40, true}, {88, "", CENTRED, 210, false}};
    const int noticeIds[9] = {66, 67, 68, 69, 70, 71, 72, 73, 74};
    const int noticeY[9] = {80, 90, 100, 120, 130, 150, 160, 170, 180};
    for (int i = 0; i < 9; i++)
        notice.push_back({noticeIds[i], "", CENTRED, noticeY[i], false});
    std::vector<Line> pause = {{-1, ">", 0, findAsset(assets, "pause").h + 16 + 32 + 8, true}};
    for (int i = 0; i < 5; i++)
        pause.push_back({i, "", 56, findAsset(assets, "pause").h + 16 + 32 * i + 8, true, i != 1});
    return {
        {TITLE, titleBand({{5, "", CENTRED, 128, true}})},
        {TITLE, titleBand(menu)},
        {MENU_LAYERS, hiscores},
        {MENU_LAYERS, options},
        {TUTORIAL, tutorial},
        {NOTICE, notice},
        {ENDING,
         {{84, "", CENTRED, 64, true},
          {85, "", CENTRED, 104, false},
          {86, "", CENTRED, 116, false},
          {87, "", CENTRED, 128, false},
          {88, "", CENTRED, 152, false}}},
        {DARK_STAGE,
         {{59, "", CENTRED, 70, true},
          {-1, "TIME BONUS 01250", CENTRED, 100, true},
          {-1, "LIFE BONUS 00030", CENTRED, 118, true},
          {-1, "MOVE BONUS 00200", CENTRED, 136, true},
          {-1, "STAGE 12 NEXT", CENTRED, 186, true}}},
        {DARK_STAGE,
         {{43, "", CENTRED, 80, true},
          {-1, "DODO OQ", CENTRED, 136, true},
          {-1, ">", 240, 136, true},
          {44, "", CENTRED, 180, true},
          {88, "", CENTRED, 204, false}}},
        {PAUSE, pause},
        {NOTICE, {{64, "", CENTRED, 96, true}, {52, "", CENTRED, 128, false}}},
        {GAME_OVER, {{-1, "SCORE: 4250", CENTRED, 160, true}, {88, "", CENTRED, 192, false}}},
    };
}

void titleLayers(const Assets &assets, Img &s, int layers) {
    for (int layer = 0; layer < layers; layer++) {
        const Img &l = findAsset(assets, "titbkgl" + std::to_string(layer));
        for (int x = -(37 * (layer + 1)) % l.w; x < 320; x += l.w)
            blit(l, s, x, 0);
    }
}

// The picture a screen draws its texts on; the stage is darkened by screenMock, after the dimmed lines.
Img backdrop(const Assets &assets, Backdrop b, int stage) {
    Img s(320, 240, 0);
    switch (b) {
    case TITLE:
    case MENU_LAYERS: {
        titleLayers(assets, s, 3);
        const Img &logo = findAsset(assets, "logo");
        if (b == TITLE) {
            blit(logo, s, (320 - logo.w) / 2, (240 - logo.h) / 2 - 56);
            shadeRect(s, 0, 195, 320, 10, 0.6f, 0x4c9a2a, 0.2f);
        }
        break;
    }
    case TUTORIAL: {
        titleLayers(assets, s, 2);
        const Img &hippo = findAsset(assets, "hippo");
        blitPart(hippo, 0, 0, hippo.w / 2, hippo.h, s, 4, 80);
        break;
    }
    case NOTICE:
        break;
    case ENDING: {
        const Img &ce = findAsset(assets, "creditsend");
        blit(ce, s, 0, (240 - ce.h) / 2);
        sheetFrame(s, findAsset(assets, "butterfly"), 16, 16, 0, 176, 176);
        break;
    }
    case DARK_STAGE:
    case PAUSE:
    case GAME_OVER:
        s = mockStage(assets, stage, stage & 1);
        break;
    }
    return s;
}

Img screenMock(const Assets &assets, const Screen &screen, int stage) {
    Img s = backdrop(assets, screen.backdrop, stage);
    auto draw = [&](const Line &line) {
        const FontSheet f = line.big ? bigFont(assets) : smallFont(assets);
        const char *t = line.id >= 0 ? text(line.id) : line.literal;
        const int x = line.x == CENTRED ? 160 - int(strlen(t)) * (f.cell / 2) : line.x;
        sheetText(s, f.img, f.cell, t, x, line.y);
    };
    for (const Line &line : screen.lines)
        if (line.dimmed)
            draw(line);
    if (screen.backdrop >= DARK_STAGE)
        shadeRect(s, 0, 0, 320, 240, DARKEN, 0, 0);
    if (screen.backdrop == PAUSE) {
        const Img &title = findAsset(assets, "pause"), &icons = findAsset(assets, "options_vert");
        blit(title, s, (320 - title.w) / 2, 8);
        sheetFrame(s, icons, 32, 32, 1, 16, title.h + 16 + 32);
    } else if (screen.backdrop == GAME_OVER) {
        const Img &over = findAsset(assets, "gameover");
        blit(over, s, (320 - over.w) / 2, 48);
    }
    for (const Line &line : screen.lines)
        if (!line.dimmed)
            draw(line);
    return s;
}

// Every screen with its texts, then the status line of the four stage backgrounds (with 3 and 12
// lives), all at twice the size so single pixels can be judged.
Img screenTexts(const Assets &assets) {
    const std::vector<Screen> all = screens(assets);
    const int cols = 3, mocks = int(all.size()), mockRows = (mocks + cols - 1) / cols;
    Img sheet(cols * 320, mockRows * 240 + 4 * 56, 0x2a2a3d);
    for (int i = 0; i < mocks; i++)
        blit(screenMock(assets, all[size_t(i)], i % 4), sheet, (i % cols) * 320, (i / cols) * 240);
    for (int stage = 0; stage < 4; stage++)
        for (int lives : {3, 12}) {
            const Img top = crop(mockStage(assets, stage, 0, lives), 0, 0, 320, 56);
            blit(top, sheet, lives == 3 ? 0 : 320, mockRows * 240 + stage * 56);
        }
    return scaleNearest(sheet, 2);
}

// ---- Fruits -------------------------------------------------------------------------------------

struct Tone {
    float hue;  // degrees, the fruit's colours weighted by their saturation
    int bright; // mean luma of the drawn pixels
    int chroma; // mean saturation (max - min channel): low for white and grey
};

Tone tone(const Img &sheet, int frame) {
    double sx = 0, sy = 0, sum = 0, chromaSum = 0;
    int n = 0;
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) {
            const uint32_t c = sheet.at((frame % 8) * 16 + x, (frame / 8) * 16 + y);
            if (c == KEY)
                continue;
            const int r = int(c >> 16), g = int((c >> 8) & 255), b = int(c & 255);
            const int hi = std::max({r, g, b}), lo = std::min({r, g, b}), chroma = hi - lo;
            sum += luma(c), chromaSum += chroma, n++;
            if (chroma == 0)
                continue;
            double h = hi == r   ? std::fmod(double(g - b) / chroma + 6, 6)
                       : hi == g ? double(b - r) / chroma + 2
                                 : double(r - g) / chroma + 4;
            sx += chroma * std::cos(h * M_PI / 3), sy += chroma * std::sin(h * M_PI / 3);
        }
    float hue = float(std::atan2(sy, sx) * 180 / M_PI);
    return {hue < 0 ? hue + 360 : hue, n ? int(sum / n) : 0, n ? int(chromaSum / n) : 0};
}

// The mean luma of the calm panel behind the board on a stage background.
int panelBrightness(const Img &background) {
    long sum = 0;
    for (int y = 80; y < 208; y++)
        for (int x = 32; x < 128; x++)
            sum += luma(background.at(x, y));
    return int(sum / (128 * 96));
}

// Both fruit sets (rows) on each of the four panels (columns), as the legend shows them (5 at the
// top), with the cursor, a flower and morph frames: in colour, or in grey to check that brightness alone
// tells them apart.
Img fruitSheet(const Assets &assets, bool inGrey) {
    const int tileW = 2 * 16 * 6 + 8, tileH = 2 * 16 * 7 + 8;
    Img sheet(4 * tileW, 2 * tileH, 0x2a2a3d);
    for (int set = 0; set < 2; set++) {
        const Img &fruits = findAsset(assets, set ? "fruitanim2" : "fruitanim");
        for (int stage = 0; stage < 4; stage++) {
            const Img &bkg = findAsset(assets, "ingamebkg" + std::to_string(stage + 1));
            Img tile = crop(bkg, 24, 80, 16 * 6, 16 * 7);
            for (int v = 0; v < 5; v++) {
                sheetFrame(tile, fruits, 16, 16, 4 - v, 0, 16 * v);
                for (int k = 0; k < 5; k++)
                    sheetFrame(tile, fruits, 16, 16, (v + k) % 5, 16 + 16 * k, 16 * v);
            }
            sheetFrame(tile, fruits, 16, 16, 64, 16, 16 * 5);
            sheetFrame(tile, fruits, 16, 16, 2, 16, 16 * 5);
            sheetFrame(tile, findAsset(assets, set ? "flowers2" : "flowers"), 16, 16, 4, 48, 16 * 5);
            sheetFrame(tile, findAsset(assets, set ? "flowers2" : "flowers"), 16, 16, 5, 48, 16 * 6);
            for (int k = 0; k < 3; k++)
                sheetFrame(tile, fruits, 16, 16, 13 + 8 * k, 64 + 16 * (k % 2), 16 * (5 + k / 2));
            if (inGrey)
                for (uint32_t &c : tile.px)
                    c = grey(c);
            blit(scaleNearest(tile, 2), sheet, stage * tileW, set * tileH);
        }
    }
    return sheet;
}

// ---- Figures ------------------------------------------------------------------------------------

void writeFigures(const Assets &assets, const std::string &path) {
    FILE *f = fopen(path.c_str(), "w");
    if (!f)
        return;
    const FontSheet fonts[2] = {smallFont(assets), bigFont(assets)};
    fprintf(f, "Letters a player could confuse: pixels that differ (any colour) / letter-body pixels that "
               "differ\npair   small font   big font\n");
    for (const char *pair : confusable) {
        const GlyphDiff s = glyphDiff(fonts[0], pair[0], pair[1]), b = glyphDiff(fonts[1], pair[0], pair[1]);
        fprintf(f, "%c/%c    %3d / %3d    %3d / %3d\n", pair[0], pair[1], s.pixels, s.body, b.pixels, b.body);
    }
    for (const FontSheet &font : fonts) {
        int body = 0, dark = 0, spill = 0;
        for (char c = 'A'; c <= 'Z'; c++) {
            const Img g = glyphCell(font, c);
            for (int y = 0; y < g.h; y++)
                for (int x = 0; x < g.w; x++) {
                    const uint32_t px = g.at(x, y);
                    if (px == KEY)
                        continue;
                    (luma(px) >= 128 ? body : dark)++;
                    spill += x == g.w - 1;
                }
        }
        fprintf(f,
                "%s font, A-Z: %d%% of the drawn pixels are outline or shadow; %d drawn in the last column\n",
                font.cell == 8 ? "small" : "big", 100 * dark / std::max(1, body + dark), spill);
    }
    int panels[4];
    for (int stage = 0; stage < 4; stage++)
        panels[stage] = panelBrightness(findAsset(assets, "ingamebkg" + std::to_string(stage + 1)));
    fprintf(f, "\nPanel brightness (mean luma) on stages 1-4: %d %d %d %d\n", panels[0], panels[1], panels[2],
            panels[3]);
    const char *names[2][5] = {{"grapes", "apple", "orange", "pear", "banana"},
                               {"plum", "strawberry", "peach", "melon", "pineapple"}};
    for (int set = 0; set < 2; set++) {
        const Img &sheet = findAsset(assets, set ? "fruitanim2" : "fruitanim");
        fprintf(f, "\nFruit set %d (value: hue in degrees, brightness 0-255)\n", set + 1);
        Tone tones[5];
        for (int v = 0; v < 5; v++) {
            tones[v] = tone(sheet, v);
            fprintf(f, "  %d %-10s hue %3.0f  brightness %3d  saturation %3d\n", v + 1, names[set][v],
                    double(tones[v].hue), tones[v].bright, tones[v].chroma);
        }
        float minHue = 360;
        int minBright = 255;
        for (int a = 0; a < 5; a++)
            for (int b = a + 1; b < 5; b++) {
                const float dh = std::fabs(tones[a].hue - tones[b].hue);
                minHue = std::min(minHue, std::min(dh, 360 - dh));
                minBright = std::min(minBright, std::abs(tones[a].bright - tones[b].bright));
            }
        fprintf(f, "  closest pair: %.0f degrees apart in hue, %d apart in brightness\n", double(minHue),
                minBright);
    }
    for (int set = 0; set < 2; set++) {
        const Tone petal = tone(findAsset(assets, set ? "flowers2" : "flowers"), 4);
        fprintf(f, "Flower sheet %d, full blossom: hue %.0f, brightness %d, saturation %d\n", set + 1,
                double(petal.hue), petal.bright, petal.chroma);
    }
    fclose(f);
}

} // namespace

void drawChecks(const Assets &assets, const std::string &dir) {
    writePNG(glyphPairs(assets), dir + "/glyphs.png");
    writePNG(screenTexts(assets), dir + "/screens.png");
    writePNG(fruitSheet(assets, false), dir + "/fruits.png");
    writePNG(fruitSheet(assets, true), dir + "/fruits_grey.png");
    writeFigures(assets, dir + "/figures.txt");
}
