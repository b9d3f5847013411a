// Large surfaces: the four stage backgrounds with their panels, the sun, the totem post, the title
// layers, the ending picture, and the flowers that grow on the panels.
#include "art.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Where the stage screen puts things (top-left corners, 320 × 240).
constexpr int BOARD_X = 16, TARGET_X = 176, PANEL_Y = 64, PANEL_W = 128, PANEL_H = 160;
constexpr int LEGEND_X = 152, LEGEND_Y = 62;
constexpr int PILLAR_X = 144, PILLAR_Y = 192;
constexpr uint32_t FRAME_DARK = 0x2a2a3d, FRAME_WOOD = 0xa65e2e, FRAME_LIGHT = 0xd9954b;

// A hill line: noise-displaced around baseY, periodic in the image width when period is set.
void hills(Img &img, int baseY, float amp, float scale, uint32_t seed, uint32_t top, uint32_t body,
           int period) {
    for (int x = 0; x < img.w; x++) {
        float n = valueNoise(float(x) / scale, seed, period) * 0.7f +
                  valueNoise(float(x) / (scale / 3), seed + 7, period * 3) * 0.3f;
        int y = baseY - int(n * amp);
        for (int j = std::max(0, y); j < img.h; j++)
            img.set(x, j, j < y + 2 ? top : body);
    }
}

void acacia(Img &img, int x, int baseY, int h, int w, uint32_t trunk, const std::vector<uint32_t> &leaf) {
    thickLine(img, float(x), float(baseY), float(x - 1), float(baseY - h * 6 / 10), 1.3f, trunk);
    thickLine(img, float(x - 1), float(baseY - h * 6 / 10), float(x - w / 4), float(baseY - h + 3), 0.9f,
              trunk);
    thickLine(img, float(x - 1), float(baseY - h * 6 / 10), float(x + w / 4), float(baseY - h + 2), 0.9f,
              trunk);
    // The flat umbrella crown, darker underneath, lit on top.
    const float cy = float(baseY - h);
    fillEllipse(img, float(x), cy + 1.5f, float(w) / 2, 3.2f, leaf[2]);
    fillEllipse(img, float(x - w / 5), cy, float(w) / 3, 2.6f, leaf[1]);
    fillEllipse(img, float(x + w / 6), cy - 0.5f, float(w) / 3.2f, 2.4f, leaf[1]);
    fillEllipse(img, float(x - w / 6), cy - 1.2f, float(w) / 5, 1.2f, leaf[0]);
    fillEllipse(img, float(x + w / 5), cy - 1.4f, float(w) / 6, 1.0f, leaf[0]);
}

void grassTufts(Img &img, int y0, int y1, uint32_t seed, const std::vector<uint32_t> &blades, int period) {
    Rng rng(seed);
    const int count = (y1 - y0) * img.w / 90;
    for (int i = 0; i < count; i++) {
        int x = rng.range(0, img.w - 1), y = rng.range(y0, y1);
        int h = rng.range(2, 4);
        uint32_t c = blades[size_t(rng.range(0, int(blades.size()) - 1))];
        for (int k = 0; k < h; k++) {
            int px = x + (k == h - 1 ? rng.range(-1, 1) : 0);
            img.set(period ? (px + period) % period : px, y - k, c);
        }
    }
}

// Only the rim of a panel: 3 pixels of dark, wood and light around the cell area.
void panelFrame(Img &img, int x, int y, int w, int h) {
    frameRect(img, x - 1, y - 1, w + 2, h + 2, FRAME_DARK);
    frameRect(img, x - 2, y - 2, w + 4, h + 4, FRAME_LIGHT);
    frameRect(img, x - 3, y - 3, w + 6, h + 6, FRAME_DARK);
    for (int i = x - 2; i < x + w + 2; i++)
        img.set(i, y + h + 1, FRAME_WOOD);
    for (int j = y - 2; j < y + h + 2; j++)
        img.set(x + w + 1, j, FRAME_WOOD);
}

// The calm panel behind board and target: the scene's own average colour, darkened and cooled, with
// only a trace of the scene showing through, and the cells in a faint checker.
void panel(Img &img, int x, int y, int w, int h) {
    uint64_t sum[3] = {0, 0, 0};
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            for (int k = 0; k < 3; k++)
                sum[k] += (img.at(i, j) >> (16 - 8 * k)) & 255;
    const uint64_t n = uint64_t(w) * uint64_t(h);
    const uint32_t average = rgb(int(sum[0] / n), int(sum[1] / n), int(sum[2] / n));
    const uint32_t base = mix(darkenColour(average, 0.35f), 0x14141f, 0.55f);
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++) {
            bool odd = (((i - x) / 16) + ((j - y) / 16)) & 1;
            uint32_t c = mix(base, darkenColour(img.at(i, j), 0.3f), 0.12f);
            img.set(i, j, odd ? mix(c, 0x4e4e66, 0.10f) : c);
        }
    panelFrame(img, x, y, w, h);
}

// The sign behind the fruit legend, with small arrows down the chain between the fruits.
void legendSign(Img &img) {
    const int x = LEGEND_X - 3, y = LEGEND_Y - 3, w = 22, h = 118;
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            img.set(i, j, mix(darkenColour(img.at(i, j), 0.3f), 0x14141f, 0.45f));
    panelFrame(img, x, y, w, h);
    for (int k = 0; k < 4; k++) {
        int ay = LEGEND_Y + 24 * k + 17;
        for (int r = 0; r < 3; r++)
            for (int i = -2 + r; i <= 2 - r; i++)
                img.set(LEGEND_X + 8 + i, ay + r + 1, r == 0 ? 0xf2c879 : 0xd9954b);
    }
}

// The branch the perched birds sit on, higher on the right (they perch at y 36 and 34).
void birdBranch(Img &img, uint32_t bark, uint32_t barkDark, const std::vector<uint32_t> &leaf) {
    // The two left birds stand on row 50, the two right ones on row 48.
    for (int x = 182; x <= 276; x++) {
        int y = x < 220 ? 51 : (x < 228 ? 50 : 49);
        if (x > 268)
            y -= (x - 268) / 3;
        img.set(x, y, bark);
        img.set(x, y + 1, barkDark);
        if (x < 190)
            img.set(x, y + 2, barkDark);
    }
    Rng rng(77);
    for (int x : {184, 222, 270, 276}) {
        int y = x < 224 ? 50 : 47;
        for (int k = 0; k < 3; k++)
            fillEllipse(img, float(x + rng.range(-3, 3)), float(y + rng.range(-3, 0)), 2.2f, 1.4f,
                        leaf[size_t(k % leaf.size())]);
    }
}

} // namespace

// The carved post under the mascot; the totem frames repeat it, so it looks the same on every
// background. It covers the 32 × 48 rectangle at (x, y) completely, panel rims included.
void drawPillar(Img &img, int x, int y) {
    const uint32_t ground = 0x2a2a3d;
    fillRect(img, x, y, 32, 48, ground);
    // The panel rims that pass through this rectangle, exactly as the panels draw them.
    Img scratch(320, 240);
    panelFrame(scratch, BOARD_X, PANEL_Y, PANEL_W, PANEL_H);
    panelFrame(scratch, TARGET_X, PANEL_Y, PANEL_W, PANEL_H);
    blitPart(scratch, PILLAR_X, PILLAR_Y, 32, 48, img, x, y);
    // Post: a wooden column with a ledge for KAVRIN and a dark niche for the totem.
    for (int j = 0; j < 48; j++)
        for (int i = 4; i < 28; i++) {
            uint32_t c = i < 7 ? 0xd9954b : (i < 24 ? 0xa65e2e : 0x6b3a1f);
            if ((j + (i * 3) / 5) % 9 == 0 && i > 7 && i < 24)
                c = 0x8a4a26;
            img.set(x + i, y + j, c);
        }
    fillRect(img, x + 3, y + 12, 26, 3, 0xf2c879);
    fillRect(img, x + 3, y + 15, 26, 1, 0x6b3a1f);
    fillRect(img, x + 7, y + 18, 18, 28, 0x14141f);
    frameRect(img, x + 6, y + 17, 20, 30, 0x6b3a1f);
    fillRect(img, x + 3, y + 46, 26, 2, 0x6b3a1f);
}

namespace {

// A palm leaning left (lean -1) or right (1), its fronds drooping from the crown.
void palm(Img &img, int x, int baseY, int h, int lean) {
    float px = float(x), py = float(baseY);
    for (int k = 0; k < h; k += 2) {
        float t = float(k) / float(h);
        float nx = float(x) + float(lean) * t * t * 10.0f, ny = float(baseY - k - 2);
        thickLine(img, px, py, nx, ny, 1.6f - t * 0.4f, (k / 2) % 3 ? 0xa65e2e : 0x6b3a1f);
        px = nx, py = ny;
    }
    for (int f = 0; f < 7; f++) {
        float a = -2.9f + float(f) * 0.45f;
        for (int k = 0; k < 12; k++) {
            float t = float(k) / 12.0f;
            float fx = px + std::cos(a) * float(k) * 1.3f,
                  fy = py + std::sin(a) * float(k) * 1.1f + t * t * 7.0f;
            fillEllipse(img, fx, fy, 1.6f - t, 1.2f - t * 0.6f, k < 6 ? 0x4c9a2a : 0x2a6a2c);
            if (k % 3 == 1)
                img.set(int(fx), int(fy) - 1, 0x8ccf3c);
        }
    }
    fillEllipse(img, px, py + 1, 2.2f, 1.8f, 0x6b3a1f);
}

// A far giraffe grazing (or looking up), in a few pixels of the sand ramp.
void giraffe(Img &img, int x, int baseY, bool grazing) {
    const uint32_t c = 0xa65e2e, d = 0x6b3a1f;
    fillRect(img, x, baseY - 8, 6, 3, c);
    for (int leg : {0, 1, 4, 5})
        fillRect(img, x + leg, baseY - 5, 1, 5, d);
    if (grazing) {
        line(img, x + 5, baseY - 8, x + 8, baseY - 5, c);
        fillRect(img, x + 8, baseY - 4, 2, 1, d);
    } else {
        line(img, x + 5, baseY - 8, x + 8, baseY - 14, c);
        fillRect(img, x + 8, baseY - 15, 2, 1, d);
        img.set(x + 8, baseY - 16, d);
    }
    img.set(x + 2, baseY - 7, d), img.set(x + 4, baseY - 8, d);
}

// The sun of the morning savanna: a disc with rays that turn over three frames.
void sun(Img &img, int frame) {
    const float cx = 214, cy = 38;
    for (int i = 0; i < 12; i++) {
        float a = float(i) * 0.5236f + float(frame) * 0.1745f;
        float r0 = 14, r1 = (i & 1) ? 17.5f : 20.0f;
        thickLine(img, cx + std::cos(a) * r0, cy + std::sin(a) * r0, cx + std::cos(a) * r1,
                  cy + std::sin(a) * r1, 0.8f, (i & 1) ? 0xfff1c1 : 0xfff27a);
    }
    fillEllipse(img, cx, cy, 12.5f, 12.5f, 0xf7c531);
    fillEllipse(img, cx - 1, cy - 1, 11, 11, 0xfff27a);
    fillEllipse(img, cx - 5, cy - 5, 3, 3, 0xfff1c1);
    // A sleepy smile, winking on the middle frame.
    const uint32_t face = 0xd18b1d;
    fillRect(img, int(cx) - 5, int(cy) - 1, 2, frame == 1 ? 1 : 2, face);
    fillRect(img, int(cx) + 3, int(cy) - 1, 2, 2, face);
    for (int x = -3; x <= 3; x++)
        img.set(int(cx) + x, int(cy) + 5 - (x * x) / 5, face);
    img.set(int(cx) - 7, int(cy) + 2, 0xf58b2e), img.set(int(cx) + 6, int(cy) + 2, 0xf58b2e);
}

void savanna(Img &img, int sunFrame) {
    gradientBands(img, 0, 70, {0x5fb3e6, 0xa8dcf5, 0xeaf6ff, 0xfff1c1});
    sun(img, sunFrame);
    hills(img, 64, 14, 60, 11, 0xa8dcf5, 0x8fc6d8, 0);
    hills(img, 70, 10, 45, 12, 0xf2c879, 0xd9954b, 0);
    fillRect(img, 0, 72, 320, 168, 0xd9954b);
    gradientBands(img, 72, 239, {0xd9954b, 0xd9954b, 0xd9954b, 0xa65e2e, 0xa65e2e});
    grassTufts(img, 66, 239, 5, {0xf2c879, 0xa65e2e, 0x8ccf3c}, 0);
    acacia(img, 28, 64, 22, 34, 0x6b3a1f, {0x8ccf3c, 0x4c9a2a, 0x2a6a2c});
    acacia(img, 300, 66, 26, 40, 0x6b3a1f, {0x8ccf3c, 0x4c9a2a, 0x2a6a2c});
    acacia(img, 170, 60, 12, 18, 0xa65e2e, {0x8ccf3c, 0x4c9a2a, 0x4c9a2a});
    giraffe(img, 124, 63, false);
    giraffe(img, 138, 64, true);
    birdBranch(img, 0xa65e2e, 0x6b3a1f, {0x8ccf3c, 0x4c9a2a});
}

void jungle(Img &img) {
    gradientBands(img, 0, 60, {0xa8dcf5, 0x5fb3e6, 0x8ccf3c});
    hills(img, 44, 18, 30, 21, 0x4c9a2a, 0x2a6a2c, 0);
    hills(img, 58, 12, 18, 22, 0x2a6a2c, 0x173d22, 0);
    // The river runs across the bottom and shows at the sides.
    gradientBands(img, 200, 239, {0x5fb3e6, 0x3479c4, 0x1f4a8a});
    Rng rng(31);
    for (int i = 0; i < 90; i++) {
        int x = rng.range(0, 319), y = rng.range(204, 238);
        fillRect(img, x, y, rng.range(3, 8), 1, y < 220 ? 0xeaf6ff : 0xa8dcf5);
    }
    // Hanging vines and big leaves frame the top corners.
    for (int v = 0; v < 7; v++) {
        int x0 = 4 + v * 47 + (v * 13) % 11, len = 14 + (v * 29) % 26;
        for (int y = 0; y < len; y++) {
            int x = x0 + int(std::lround(std::sin(float(y) * 0.3f + float(v)) * 1.5f));
            img.set(x, y, 0x2a6a2c);
            if (y % 5 == 2)
                fillEllipse(img, float(x + ((y / 5) & 1 ? 2 : -2)), float(y), 1.8f, 1.1f, 0x4c9a2a);
        }
    }
    for (auto [x, y, a] :
         {std::array<float, 3>{6, 40, 0.5f}, {314, 36, 2.6f}, {10, 232, -0.6f}, {310, 230, 3.8f}}) {
        for (int k = 0; k < 5; k++) {
            float ang = a + float(k - 2) * 0.35f;
            float ex = x + std::cos(ang) * 14, ey = y + std::sin(ang) * 10;
            thickLine(img, x, y, ex, ey, 2.4f, k % 2 ? 0x4c9a2a : 0x2a6a2c);
            thickLine(img, x, y, ex, ey, 0.5f, 0x8ccf3c);
        }
    }
    palm(img, 176, 60, 44, -1);
    palm(img, 304, 62, 50, 1);
    birdBranch(img, 0x6b3a1f, 0x173d22, {0x4c9a2a, 0x2a6a2c});
}

void dusk(Img &img) {
    gradientBands(img, 0, 66, {0x3d1a5c, 0x6a2f8f, 0xa55cc9, 0xc4283c, 0xf2584a, 0xf58b2e, 0xf7c531});
    fillEllipse(img, 96, 66, 18, 18, 0xf58b2e);
    fillEllipse(img, 96, 66, 15, 15, 0xf7c531);
    fillEllipse(img, 96, 66, 12, 12, 0xfff27a);
    hills(img, 64, 8, 50, 41, 0x6a2f8f, 0x3d1a5c, 0);
    gradientBands(img, 70, 239, {0x3d1a5c, 0x3d1a5c, 0x2a2a3d, 0x2a2a3d});
    grassTufts(img, 64, 239, 9, {0x6a2f8f, 0x2a2a3d, 0x821a33}, 0);
    const std::vector<uint32_t> sil = {0x2a2a3d, 0x2a2a3d, 0x14141f};
    acacia(img, 36, 66, 30, 46, 0x14141f, sil);
    acacia(img, 292, 64, 24, 38, 0x14141f, sil);
    acacia(img, 132, 62, 10, 16, 0x3d1a5c, {0x3d1a5c, 0x3d1a5c, 0x3d1a5c});
    // A flock heading home.
    for (auto [x, y] : {std::pair{168, 18}, {178, 24}, {160, 26}, {188, 14}}) {
        img.set(x - 2, y - 1, 0x3d1a5c), img.set(x - 1, y, 0x3d1a5c), img.set(x, y - 1, 0x3d1a5c);
        img.set(x + 1, y, 0x3d1a5c), img.set(x + 2, y - 1, 0x3d1a5c);
    }
    birdBranch(img, 0x3d1a5c, 0x14141f, {0x2a2a3d, 0x3d1a5c});
}

void night(Img &img) {
    gradientBands(img, 0, 66, {0x14141f, 0x1f2a5a, 0x1f4a8a, 0x3479c4});
    Rng rng(404);
    for (int i = 0; i < 70; i++) {
        int x = rng.range(0, 319), y = rng.range(0, 58);
        img.set(x, y, i % 5 ? 0xc9c9d6 : 0xfff27a);
        if (i % 9 == 0)
            img.set(x + 1, y, 0x8a8aa0), img.set(x - 1, y, 0x8a8aa0), img.set(x, y + 1, 0x8a8aa0),
                img.set(x, y - 1, 0x8a8aa0);
    }
    fillEllipse(img, 178, 20, 10, 10, 0xfff1c1);
    fillEllipse(img, 182, 17, 9, 9, 0x1a1f40);
    hills(img, 62, 10, 70, 51, 0x2a2a3d, 0x1a1f33, 0);
    gradientBands(img, 70, 239, {0x1a1f33, 0x1a1f33, 0x14141f, 0x14141f});
    grassTufts(img, 62, 239, 13, {0x2a6a2c, 0x173d22, 0x2a2a3d}, 0);
    // Fireflies over the plain.
    for (int i = 0; i < 14; i++) {
        int x = rng.range(0, 319), y = rng.range(44, 239);
        img.set(x, y, 0xd6f26b);
    }
    const std::vector<uint32_t> shade = {0x2a2a3d, 0x1a1f33, 0x14141f};
    acacia(img, 24, 64, 24, 36, 0x14141f, shade);
    acacia(img, 300, 62, 20, 30, 0x14141f, shade);
    // A shooting star above the plain.
    for (int k = 0; k < 14; k++)
        img.set(126 + k, 48 + k / 3, k > 10 ? 0xffffff : (k > 5 ? 0xc9c9d6 : 0x8a8aa0));
    birdBranch(img, 0x2a2a3d, 0x14141f, {0x173d22, 0x2a6a2c});
}

Img stageBackground(int n, int sunFrame) {
    Img img(320, 240, 0);
    switch (n) {
    case 0:
        savanna(img, sunFrame);
        break;
    case 1:
        jungle(img);
        break;
    case 2:
        dusk(img);
        break;
    default:
        night(img);
        break;
    }
    panel(img, BOARD_X, PANEL_Y, PANEL_W, PANEL_H);
    panel(img, TARGET_X, PANEL_Y, PANEL_W, PANEL_H);
    legendSign(img);
    drawPillar(img, PILLAR_X, PILLAR_Y);
    return img;
}

// The totem: a carved tiki face in the post's niche. Column a is an animation, row f its frame:
// 0 rises out of the ground, 1 blinks, 2 its eyes glow, 3 opens its mouth, 4 looks left and right.
void totemFrame(Img &img, int ox, int oy, int anim, int frame) {
    static const uint32_t woodC[] = {0xf2c879, 0xd9954b, 0xa65e2e, 0x6b3a1f};
    const Ramp wood{woodC, 4};
    drawPillar(img, ox, oy);
    const int rise[3] = {14, 6, 0};
    const int lift = anim == 0 ? rise[frame] : 0;
    PixelMap m = blankMap(18, 30);
    mapOverlay(m, 0, 0, {"....r...y...s",     "....rr.yy.ss",      ".....r.y..s",       ".....rryyss",
                         "..wwwwwwwwwwwwww",  ".wwwwwwwwwwwwwwww", ".wsswwwwwwwwwssww", ".wwwwwwwwwwwwwwww",
                         ".dddddddddddddddd", ".wwwwwwwwwwwwwwww", ".w.EEE.www.EEE.ww", ".wEEEEEwwwEEEEEww",
                         ".wEEpEEwwwEEpEEww", ".w.EEE.wnw.EEE.ww", ".wwwwwwwnwwwwwwww", ".wrrrwwwnwwwrrrww",
                         ".wwwwwwnnnwwwwwww", ".wwwwwwwwwwwwwwww", ".wwddddddddddwwww", ".wwdTTTTTTTTdwwww",
                         ".wwdMMMMMMMMdwwww", ".wwdTTTTTTTTdwwww", ".wwddddddddddwwww", ".wwwwwwwwwwwwwwww",
                         ".wsswwwwwwwwwssww", ".wwwwwwwwwwwwwwww", ".ddddddddddddddd",  ".wwwwwwwwwwwwwwww",
                         ".wwwwwwwwwwwwwwww", ".wwwwwwwwwwwwwwww"});
    auto eyes = [&](const std::vector<std::string> &rows) {
        mapOverlay(m, 2, 10, rows);
        mapOverlay(m, 10, 10, rows);
    };
    if (anim == 1 && frame == 1)
        eyes({"wwwww", "wwwww", "ddddd", "wwwww"});
    if (anim == 2 && frame > 0)
        eyes({".GGG.", "GGGGG", frame == 2 ? "GGHGG" : "GGpGG", ".GGG."});
    if (anim == 4 && frame != 2)
        eyes({".EEE.", "EEEEE", frame == 0 ? "EpEEE" : "EEEpE", ".EEE."});
    if (anim == 3 && frame == 1)
        mapOverlay(m, 3, 18,
                   {"dddddddddd", "dTTTTTTTTd", "dMMMMMMMMd", "dMMkkkkMMd", "dTTTTTTTTd", "dddddddddd"});
    if (anim == 3 && frame == 2)
        mapOverlay(m, 3, 20, {"dMMkkkkMMd"});
    Img face(18, 30);
    paintMap(face, 0, 0, m,
             {{'E', GREY, 0},
              {'p', GREY, 5},
              {'G', YELLOW, 0},
              {'H', GREY, 0},
              {'d', wood, 3},
              {'T', GREY, 1},
              {'M', GREY, 5},
              {'k', RED, 1},
              {'n', wood, 0},
              {'r', RED, 1},
              {'s', SKY, 2},
              {'y', YELLOW, 1},
              {'w', wood, AUTO}});
    const int wobble = anim == 4 ? (frame == 0 ? -1 : (frame == 1 ? 1 : 0)) : 0;
    // The niche clips the face as it rises out of the ground.
    for (int j = 0; j < 30; j++)
        for (int i = 0; i < 18; i++) {
            int x = 7 + i + wobble, y = 16 + j + lift;
            uint32_t c = face.at(i, j);
            if (c != KEY && y >= 18 && y < 46 && x >= 7 && x < 25)
                img.set(ox + x, oy + y, c);
        }
}

// Title layers: every feature repeats with the 320-pixel width so the bands wrap without a seam.
Img titleSky() {
    Img img(320, 240, 0);
    gradientBands(img, 0, 150, {0x3479c4, 0x5fb3e6, 0xa8dcf5, 0xeaf6ff, 0xfff1c1});
    for (int c = 0; c < 5; c++) {
        float cx = float(c * 64 + 20), cy = float(24 + (c * 37) % 60);
        for (int k = 0; k < 4; k++)
            for (int wrap : {-320, 0, 320}) {
                fillEllipse(img, cx + float(wrap) + float(k * 7 - 10), cy + (k == 1 || k == 2 ? -3.0f : 0.0f),
                            9, 5, 0xeaf6ff);
                fillEllipse(img, cx + float(wrap) + float(k * 7 - 10), cy + 3, 8, 2, 0xd7e9f5);
            }
    }
    hills(img, 140, 40, 40, 91, 0x8fb6d8, 0x7aa6cc, 8);
    hills(img, 150, 22, 32, 92, 0x6f9bc2, 0x5f8db8, 10);
    fillRect(img, 0, 190, 320, 50, 0x5f8db8);
    return img;
}

Img titleHills() {
    Img img(320, 240);
    hills(img, 176, 26, 40, 93, 0x8ccf3c, 0x4c9a2a, 8);
    grassTufts(img, 180, 239, 17, {0x2a6a2c, 0x8ccf3c}, 320);
    for (int i = 0; i < 4; i++) {
        int x = 40 + i * 80, y = 172 + (i * 7) % 9;
        for (int wrap : {-320, 0, 320})
            acacia(img, x + wrap, y, 14, 20, 0x6b3a1f, {0x8ccf3c, 0x4c9a2a, 0x2a6a2c});
    }
    return img;
}

Img titleNear() {
    Img img(320, 240);
    hills(img, 216, 10, 20, 94, 0x8ccf3c, 0x2a6a2c, 16);
    for (int y = 214; y < 240; y++)
        for (int x = 0; x < 320; x++)
            if (img.at(x, y) == 0x2a6a2c && y > 226)
                img.set(x, y, 0x173d22);
    grassTufts(img, 206, 239, 19, {0x4c9a2a, 0xd6f26b, 0x2a6a2c}, 320);
    // Meadow flowers: a stem and a four-petal head, wrapped around the layer's width.
    Rng rng(23);
    const uint32_t petals[] = {0xf2584a, 0xfff27a, 0xffffff, 0xa55cc9};
    for (int i = 0; i < 26; i++) {
        int x = rng.range(0, 319), y = rng.range(214, 236);
        uint32_t c = petals[i % 4];
        auto put = [&](int dx, int dy, uint32_t colour) { img.set((x + dx + 320) % 320, y + dy, colour); };
        put(0, 1, 0x2a6a2c), put(0, 2, 0x2a6a2c);
        put(-1, 0, c), put(1, 0, c), put(0, -1, c), put(0, 1, c), put(0, 0, 0xf7c531);
    }
    for (int i = 0; i < 2; i++)
        for (int wrap : {-320, 0, 320})
            acacia(img, 70 + i * 170 + wrap, 214, 60 - i * 12, 80 - i * 16, 0x6b3a1f,
                   {0x8ccf3c, 0x4c9a2a, 0x2a6a2c});
    return img;
}

// Flowers: bud (0), blossom stages (0 to 4) and two stem pieces (5, 6), all 16 × 16. A full blossom
// spans 13 pixels, smaller than a fruit, in white or sky blue, colours no fruit of either set wears,
// so a flower growing in the target never reads as a fruit.
Img flowerSheet(const Ramp &petal, uint32_t heart, bool daisy) {
    Img sheet(7 * 16, 16);
    for (int stage = 0; stage <= 4; stage++) {
        PixelMap m = blankMap(16, 16);
        mapOverlay(m, 7, 10, {"ss", "ss", "ss", "ss", "ss", "ss"});
        if (stage == 0) {
            mapDisc(m, 8, 8, 2.5f, 3.5f, 'b');
            mapOverlay(m, 6, 9, {"l..l", ".ll"});
        } else {
            float r = 2.0f + float(stage) * 0.8f;
            int petals = daisy ? 8 : 5;
            for (int p = 0; p < petals; p++) {
                float a = float(p) * 6.2832f / float(petals) - 1.5708f;
                float pr = daisy ? 1.2f + float(stage) * 0.2f : 1.4f + float(stage) * 0.3f;
                mapDisc(m, 8 + std::cos(a) * r * 0.75f, 7.5f + std::sin(a) * r * 0.75f, pr, pr,
                        char('1' + p));
            }
            mapDisc(m, 8, 7.5f, 1.0f + float(stage) * 0.3f, 1.0f + float(stage) * 0.3f, 'h');
        }
        std::vector<Ink> inks = {
            {'h', stage ? YELLOW : petal, daisy ? 1 : -1}, {'l', LEAF, 2}, {'s', LEAF, 2}, {'b', petal, -1}};
        for (int p = 0; p < 8; p++)
            inks.push_back({char('1' + p), petal, -1});
        paintMap(sheet, stage * 16, 0, m, inks);
        if (stage > 0)
            sheet.set(stage * 16 + 8, 7, heart);
    }
    for (int piece = 0; piece < 2; piece++) {
        PixelMap m = blankMap(16, 16);
        mapOverlay(m, 7, 0, std::vector<std::string>(16, "ss"));
        if (piece == 0)
            mapOverlay(m, 2, 5, {"..lll", ".lllll", "lllll", "...."});
        else
            mapOverlay(m, 9, 8, {"lll", "lllll", ".lllll", "..."});
        paintMap(sheet, (5 + piece) * 16, 0, m, {{'l', LEAF, -1}, {'s', LEAF, 2}});
        sheet.set((5 + piece) * 16 + 7, 0, 0x4c9a2a);
    }
    return sheet;
}

// The ending: KAVRIN's fruit feast under an evening sky whose glow sits on the hills; the middle
// stays a calm purple for the texts.
Img creditsEnd(const Assets &assets) {
    Img img(320, 240, 0);
    // The glow stays low, under the texts: they are light and need the calm purple behind them.
    gradientBands(
        img, 0, 180,
        {0x3d1a5c, 0x6a2f8f, 0x6a2f8f, 0x6a2f8f, 0x6a2f8f, 0x6a2f8f, 0x6a2f8f, 0xa55cc9, 0xf2584a, 0xf7c531});
    fillEllipse(img, 290, 172, 20, 20, 0xfff27a);
    hills(img, 172, 16, 50, 61, 0x6a2f8f, 0x3d1a5c, 0);
    hills(img, 196, 14, 40, 62, 0x4c9a2a, 0x2a6a2c, 0);
    grassTufts(img, 196, 239, 63, {0x8ccf3c, 0x173d22, 0x4c9a2a}, 0);
    acacia(img, 290, 190, 40, 56, 0x3d1a5c, {0x6a2f8f, 0x3d1a5c, 0x2a2a3d});
    // A heap of fruit in the lower left with the lion on top, scaled up from the game's own sprites;
    // the texts in the middle keep the sky to themselves.
    const Img &fruits = findAsset(assets, "fruitanim");
    const Img &lion = findAsset(assets, "lionanim");
    Rng rng(5);
    for (int row = 0; row < 3; row++)
        for (int i = 0; i <= 4 - row; i++) {
            Img f = scaleNearest(crop(fruits, 16 * ((i * 2 + row) % 5), 0, 16, 16), 2);
            blit(f, img, 2 + i * 24 + row * 12 + rng.range(-2, 2), 212 - row * 16);
        }
    blit(scaleNearest(crop(lion, 32 * 4, 0, 32, 32), 2), img, 26, 158);
    const Img &flowers = findAsset(assets, "flowers2");
    for (int i = 0; i < 6; i++)
        blitPart(flowers, 64, 0, 16, 16, img, 150 + i * 20, 206 + (i % 2) * 8);
    return img;
}

} // namespace

void drawScenery(Assets &out) {
    for (int n = 0; n < 4; n++)
        out.push_back({"ingamebkg" + std::to_string(n + 1), stageBackground(n, 0), false});
    Img suns(192, 64);
    for (int f = 0; f < 3; f++)
        blit(crop(stageBackground(0, f), 192, 0, 64, 64), suns, 64 * f, 0);
    out.push_back({"sunanim", suns, false});
    Img totem(160, 144);
    for (int f = 0; f < 3; f++)
        for (int a = 0; a < 5; a++)
            totemFrame(totem, a * 32, f * 48, a, f);
    out.push_back({"totem", totem, false});
    out.push_back({"titbkgl0", titleSky(), false});
    out.push_back({"titbkgl1", titleHills(), true});
    out.push_back({"titbkgl2", titleNear(), true});
    static const uint32_t petalC[] = {0xffffff, 0xffffff, 0xc9c9d6, 0x8a8aa0};
    out.push_back({"flowers", flowerSheet(Ramp{petalC, 4}, 0xfff27a, false), true});
    out.push_back({"flowers2", flowerSheet(SKY, 0xf7c531, true), true});
    out.push_back({"creditsend", creditsEnd(out), false});
}
