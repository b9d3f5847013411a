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

// The time bar's frame: a wooden plank whose window (from 12, 12) shows the fill.
Img timebarFrame() {
    const int w = 152, h = 28;
    Img img(w, h);
    for (int y = 6; y < h; y++)
        for (int x = 0; x < w; x++) {
            bool round = (x < 2 || x >= w - 2) && (y < 8 || y >= h - 2);
            if (round)
                continue;
            uint32_t c = y < 9 ? 0xd9954b : (y < 24 ? 0xa65e2e : 0x6b3a1f);
            if ((x * 7 + y * 3) % 23 == 0 && y >= 9 && y < 24)
                c = 0x8a4a26;
            img.set(x, y, c);
        }
    fillRect(img, 11, 11, 130, 10, 0x6b3a1f);
    fillRect(img, 12, 12, 128, 8, 0x14141f);
    // An hourglass on the left end, and a vine with leaves over the top.
    PixelMap m = blankMap(12, 20);
    mapOverlay(m, 1, 0,
               {"ffffffff", ".gsssss.", "..gsss", "...gs", "...gs", "..g..s", ".g.sss.", "ffffffff"});
    Img hg(12, 20);
    paintMap(hg, 0, 0, m, {{'f', SAND, 4}, {'g', SKY, 1}, {'s', YELLOW, 1}});
    blit(hg, img, 1, 11);
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
            float hx = cx + std::cos(end) * 6.5f, hy = cy - std::sin(end) * 6.5f;
            float tx = std::sin(end), ty = std::cos(end); // direction of travel at the end
            for (int k = 0; k < 4; k++)
                thickLine(b, hx + tx * 3 - ty * float(k), hy + ty * 3 + tx * float(k),
                          hx + tx * 3 + ty * float(k), hy + ty * 3 - tx * float(k), 0.7f, c);
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

// ZENK, our studio: a round badge with a bold Z, and the name beneath.
Img zenkEmblem() {
    Img img(72, 72);
    PixelMap m = blankMap(72, 72);
    mapDisc(m, 36, 36, 34, 34, 'r');
    paintMap(img, 0, 0, m, {{'r', PURPLE, -1}});
    fillEllipse(img, 36, 36, 27, 27, 0x1f4a8a);
    fillEllipse(img, 36, 36, 25, 25, 0x3479c4);
    fillEllipse(img, 33, 32, 19, 19, 0x5fb3e6);
    const uint32_t z = 0xffffff;
    thickLine(img, 22, 22, 50, 22, 3.6f, 0x14141f);
    thickLine(img, 49, 23, 23, 49, 3.6f, 0x14141f);
    thickLine(img, 22, 50, 50, 50, 3.6f, 0x14141f);
    thickLine(img, 22, 21, 50, 21, 2.6f, z);
    thickLine(img, 49, 22, 23, 48, 2.6f, z);
    thickLine(img, 22, 49, 50, 49, 2.6f, 0xfff27a);
    for (int k = -5; k <= 5; k++)
        img.set(52 + k, 14, 0xfff27a), img.set(52, 14 + k, 0xfff27a);
    img.set(52, 14, 0xffffff);
    return img;
}

Img zenkLogo() {
    Img word = wordArt(
        "ZENK",
        WordStyle{5, 2, {0xeaf6ff, 0xa8dcf5, 0x5fb3e6, 0xa55cc9}, 0xffffff, 0x3d1a5c, 0x14141f, 2, 0, 0});
    Img img(word.w, word.h + 12);
    blit(word, img, 0, 0);
    const char *tag = "GAME STUDIO";
    caption(img, tag, (img.w - int(strlen(tag)) * 6) / 2, word.h + 2, 0xc9c9d6, 1);
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
