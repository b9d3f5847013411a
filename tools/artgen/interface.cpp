// Interface images: the logo, time bar, titles, pause menu icons and the ZENK studio emblem.
#include "art.h"

#include <cmath>
#include <cstring>

namespace {

// Plain text in the glyph shapes, one pixel per glyph pixel, for small captions.
void caption(Img &img, const char *text, int x, int y, uint32_t c, int scale) {
    for (; *text; text++, x += 6 * scale) {
        const char *shape = glyphShape(*text);
        for (int gy = 0; gy < 7; gy++)
            for (int gx = 0; gx < 5; gx++)
                if (shape[gy * 5 + gx] == '#')
                    fillRect(img, x + gx * scale, y + gy * scale, scale, scale, c);
    }
}

Img logoImage(const Assets &assets) {
    WordStyle st{6, 3, {0xfff27a, 0xf7c531, 0xf7c531, 0xf58b2e, 0xc45a1a}, 0xfff1c1, 0x6b3a1f, 0x3d1a5c, 3,
                 4, 5};
    Img word = wordArt("MIRABO", st);
    // Fruit from the game's first sheet tumbles around the word.
    Img img(word.w + 28, word.h + 10);
    const Img &fruits = findAsset(assets, "fruitanim");
    blit(scaleNearest(crop(fruits, 64, 0, 16, 16), 2), img, 0, img.h - 36);
    blit(word, img, 14, 4);
    blit(scaleNearest(crop(fruits, 16, 0, 16, 16), 2), img, img.w - 32, 0);
    return img;
}

// The time bar's frame: a wooden plank whose window shows the fill (drawn at 12, 12) with a dark
// pixel all round it. Its last row stays clear, so the status line under it keeps apart.
Img timebarFrame() {
    const int w = 152, h = 28;
    Img img(w, h);
    for (int y = 6; y < h - 2; y++)
        for (int x = 0; x < w; x++) {
            bool round = (x < 2 || x >= w - 2) && (y < 8 || y >= h - 4);
            if (round)
                continue;
            uint32_t c = y < 9 ? 0xd9954b : (y < 24 ? 0xa65e2e : 0x6b3a1f);
            if ((x * 7 + y * 3) % 23 == 0 && y >= 9 && y < 24)
                c = 0x8a4a26;
            img.set(x, y, c);
        }
    fillRect(img, 10, 10, 132, 12, 0x6b3a1f);
    fillRect(img, 11, 11, 130, 10, 0x14141f);
    // An hourglass on the left end, and a vine with leaves over the top.
    PixelMap m = blankMap(12, 20);
    mapOverlay(m, 1, 0,
               {"ffffffff", ".gsssss.", "..gsss", "...gs", "...gs", "..g..s", ".g.sss.", "ffffffff"});
    Img hg(12, 20);
    paintMap(hg, 0, 0, m, {{'f', SAND, 4}, {'g', SKY, 1}, {'s', YELLOW, 1}});
    blit(hg, img, 0, 11);
    for (int x = 14; x < w - 4; x++) {
        int y = 5 + int(std::lround(std::sin(float(x) * 0.21f) * 1.5f));
        img.set(x, y, 0x2a6a2c);
        if (x % 13 == 0)
            fillEllipse(img, float(x) + 1.5f, float(y - 2), 2.3f, 1.6f, 0x8ccf3c),
                img.set(x + 1, y - 2, 0x4c9a2a);
    }
    outline(img, 0x6b3a1f, false);
    return img;
}

// The fill: red at the left end, where the last seconds are, through yellow to green.
Img timebarFill() {
    Img img(128, 8);
    const std::vector<uint32_t> hues = {0xc4283c, 0xf58b2e, 0xf7c531, 0x8ccf3c, 0x4c9a2a};
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 128; x++) {
            float pos = float(x) / 128.0f * float(hues.size() - 1);
            int band = std::min(int(hues.size()) - 2, int(pos));
            bool upper = (pos - float(band)) * 16.0f > float(bayer4(x, y)) + 0.5f;
            uint32_t c = hues[size_t(band + (upper ? 1 : 0))];
            if (y < 2)
                c = mix(c, 0xffffff, y == 0 ? 0.55f : 0.3f);
            else if (y >= 6)
                c = darkenColour(c, y == 6 ? 0.8f : 0.6f);
            img.set(x, y, c);
        }
    return img;
}

Img title(const char *text, std::vector<uint32_t> fill, uint32_t rim, uint32_t edge) {
    return wordArt(text, WordStyle{4, 2, fill, rim, edge, 0x14141f, 2, 3, 2});
}

// Pause menu icons on round wooden buttons: back to game, undo, restart, auto resolve, exit.
Img optionIcons() {
    Img sheet(5 * 32, 32);
    for (int i = 0; i < 5; i++) {
        Img b(32, 32);
        PixelMap m = blankMap(32, 32);
        mapDisc(m, 16, 16, 14.5f, 14.5f, 'b');
        paintMap(b, 0, 0, m, {{'b', SAND, -1}});
        fillEllipse(b, 16, 16, 11, 11, 0x2a2a3d);
        const float cx = 16, cy = 16;
        switch (i) {
        case 0: // play
            for (int y = 0; y < 14; y++)
                fillRect(b, 12, 9 + y, 1 + (y < 7 ? y : 13 - y) * 3 / 2, 1, y < 4 ? 0xd6f26b : 0x8ccf3c);
            break;
        case 1: // undo: an arc with its head on the left
        case 2: // restart: a nearly closed loop
        {
            const float start = i == 1 ? 0.2f : -1.0f, end = i == 1 ? 3.3f : 4.6f;
            const uint32_t c = i == 1 ? 0xf7c531 : 0x5fb3e6;
            for (float a = start; a <= end; a += 0.05f)
                thickLine(b, cx + std::cos(a) * 6.5f, cy - std::sin(a) * 6.5f, cx + std::cos(a) * 6.5f,
                          cy - std::sin(a) * 6.5f, 1.5f, c);
            // A filled arrowhead just past the end of the arc, pointing along it.
            auto at = [&](float a, float r) { return std::pair{cx + std::cos(a) * r, cy - std::sin(a) * r}; };
            auto [ax, ay] = at(end, 10.0f);
            auto [bx, by] = at(end, 3.0f);
            auto [tx, ty] = at(end + 0.75f, 6.5f);
            for (int y = 0; y < 32; y++)
                for (int x = 0; x < 32; x++) {
                    float px = float(x) + 0.5f, py = float(y) + 0.5f;
                    auto side = [&](float x0, float y0, float x1, float y1) {
                        return (x1 - x0) * (py - y0) - (y1 - y0) * (px - x0);
                    };
                    float d0 = side(ax, ay, bx, by), d1 = side(bx, by, tx, ty), d2 = side(tx, ty, ax, ay);
                    if ((d0 >= 0 && d1 >= 0 && d2 >= 0) || (d0 <= 0 && d1 <= 0 && d2 <= 0))
                        b.set(x, y, c);
                }
            break;
        }
        case 3: // auto resolve: a magic wand with a star
            thickLine(b, 9, 23, 18, 14, 1.4f, 0xa55cc9);
            thickLine(b, 9, 23, 11, 21, 1.4f, 0xe3a8f2);
            for (int k = -4; k <= 4; k++)
                b.set(20 + k, 11, 0xfff27a), b.set(20, 11 + k, 0xfff27a);
            for (int k = -2; k <= 2; k++)
                b.set(20 + k, 11 + k, 0xf7c531), b.set(20 + k, 11 - k, 0xf7c531);
            b.set(20, 11, 0xffffff);
            b.set(24, 19, 0xfff27a), b.set(13, 9, 0xfff27a);
            break;
        default: // exit: a door with an arrow leaving it
            fillRect(b, 9, 8, 9, 16, 0xa65e2e);
            frameRect(b, 9, 8, 9, 16, 0x6b3a1f);
            b.set(16, 16, 0xf7c531);
            thickLine(b, 15, 16, 24, 16, 1.2f, 0xf2584a);
            for (int k = 0; k < 4; k++)
                fillRect(b, 21 + k, 13 + k, 1, 7 - 2 * k, 0xf2584a);
            break;
        }
        blit(b, sheet, i * 32, 0);
    }
    return sheet;
}

// ZENK, our studio: a round badge with a bold Z, and the name beneath. The badge bobs 8 pixels
// around (160, 100) and the name rests on row 180, so together they stay clear of each other.
Img zenkEmblem() {
    const int size = 50;
    const float c = float(size) / 2, k = float(size) / 72.0f;
    Img img(size, size);
    PixelMap m = blankMap(size, size);
    mapDisc(m, c, c, 24.5f, 24.5f, 'r');
    paintMap(img, 0, 0, m, {{'r', PURPLE, AUTO}});
    fillEllipse(img, c, c, 27 * k, 27 * k, 0x1f4a8a);
    fillEllipse(img, c, c, 25 * k, 25 * k, 0x3479c4);
    fillEllipse(img, c - 3 * k, c - 4 * k, 19 * k, 19 * k, 0x5fb3e6);
    auto stroke = [&](float x0, float y0, float x1, float y1, float r, uint32_t colour) {
        thickLine(img, c + (x0 - 36) * k, c + (y0 - 36) * k, c + (x1 - 36) * k, c + (y1 - 36) * k, r * k,
                  colour);
    };
    stroke(22, 22, 50, 22, 3.6f, 0x14141f);
    stroke(49, 23, 23, 49, 3.6f, 0x14141f);
    stroke(22, 50, 50, 50, 3.6f, 0x14141f);
    stroke(22, 21, 50, 21, 2.6f, 0xffffff);
    stroke(49, 22, 23, 48, 2.6f, 0xffffff);
    stroke(22, 49, 50, 49, 2.6f, 0xfff27a);
    const int sx = int(c + 16 * k), sy = int(c - 22 * k);
    for (int d = -4; d <= 4; d++)
        img.set(sx + d, sy, 0xfff27a), img.set(sx, sy + d, 0xfff27a);
    img.set(sx, sy, 0xffffff);
    return img;
}

Img zenkLogo() {
    Img word = wordArt(
        "ZENK",
        WordStyle{4, 2, {0xeaf6ff, 0xa8dcf5, 0x5fb3e6, 0xa55cc9}, 0xffffff, 0x3d1a5c, 0x14141f, 2, 0, 0});
    Img img(word.w, word.h + 9);
    blit(word, img, 0, 0);
    const char *tag = "GAME STUDIO";
    caption(img, tag, (img.w - int(strlen(tag)) * 6) / 2, word.h + 1, 0xc9c9d6, 1);
    return img;
}

} // namespace

void drawInterface(Assets &out) {
    out.push_back({"logo", logoImage(out), true});
    out.push_back({"timebar", timebarFrame(), true});
    out.push_back({"timebar2", timebarFill(), false});
    out.push_back({"gameover", title("GAME OVER", {0xffb3a8, 0xf2584a, 0xc4283c}, 0xffffff, 0x821a33), true});
    out.push_back({"pause", title("PAUSE", {0xeaf6ff, 0xa8dcf5, 0x5fb3e6}, 0xffffff, 0x1f4a8a), true});
    out.push_back({"options_vert", optionIcons(), true});
    out.push_back({"zk-zenk", zenkEmblem(), true});
    out.push_back({"zk-logo", zenkLogo(), true});
}
