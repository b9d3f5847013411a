// The two fruit sheets: five fruits each, their shine, the morph frames, the paw and the cursor.
#include "art.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct Fruit {
    PixelMap map;
    std::vector<Ink> inks;
};

const Ink STEM{'k', SAND, 4}, SHINE{'w', GREY, 0};
// Leaves are too small to shade as a ball: a light blade ('l') over its dark underside ('n').
const Ink LEAVES[2] = {{'l', LEAF, 1}, {'n', LEAF, 3}};

// Turns the bottom and right rim of every leaf dark, so the light side keeps its colour.
void shadeLeaves(PixelMap &m) {
    for (int y = 0; y < m.h(); y++)
        for (int x = 0; x < m.w(); x++)
            if (m.at(x, y) == 'l' &&
                ((m.at(x, y + 1) != 'l' && m.at(x, y + 1) != 'n') || m.at(x + 1, y) == '.'))
                mapPut(m, x, y, 'n');
}

// A dark fruit would sink into the dark panel: a light rim just inside its outline on the shadowed
// lower right ('R') sets it off. `body` lists the map characters of the fruit.
void rimLight(PixelMap &m, const std::string &body) {
    auto in = [&](int x, int y) { return body.find(m.at(x, y)) != std::string::npos; };
    auto outer = [&](int x, int y) {
        return in(x, y) && (!in(x + 1, y) || !in(x - 1, y) || !in(x, y + 1) || !in(x, y - 1));
    };
    int minX = m.w(), minY = m.h(), maxX = 0, maxY = 0;
    for (int y = 0; y < m.h(); y++)
        for (int x = 0; x < m.w(); x++)
            if (in(x, y))
                minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y),
                maxY = std::max(maxY, y);
    const float cx = float(minX + maxX + 1) / 2, cy = float(minY + maxY + 1) / 2;
    const float rx = float(maxX - minX + 1) / 2, ry = float(maxY - minY + 1) / 2;
    PixelMap marked = m;
    for (int y = 0; y < m.h(); y++)
        for (int x = 0; x < m.w(); x++) {
            const float nx = (float(x) + 0.5f - cx) / rx, ny = (float(y) + 0.5f - cy) / ry;
            if (in(x, y) && !outer(x, y) && 0.45f * nx + 0.55f * ny > 0.3f &&
                (outer(x + 1, y) || outer(x, y + 1)))
                mapPut(marked, x, y, 'R');
        }
    m = marked;
}

// Set one: grapes, apple, orange, pear, banana (values 1 to 5, smallest to largest).
// Grapes are hand-laid berries, back row first, each with a glint at its top left and shadow to
// the lower right; only the bunch's own silhouette gets the darkest outline, the seams between
// berries a lighter one, so the bunch stays bright enough to read on the panel.
Fruit grapes() {
    PixelMap m = blankMap(16, 16);
    const std::vector<std::string> berry = {".ooo.", "owmmo", "ommdo", "omdRo", ".ooo."};
    for (auto [x, y] : {std::pair{1, 3}, {5, 3}, {9, 3}, {3, 7}, {7, 7}, {5, 11}})
        mapOverlay(m, x, y, berry);
    PixelMap seams = m;
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) {
            const bool outside = m.at(x + 1, y) == '.' || m.at(x - 1, y) == '.' || m.at(x, y + 1) == '.' ||
                                 m.at(x, y - 1) == '.';
            if (m.at(x, y) == 'o' && !outside)
                mapPut(seams, x, y, 'i');
            // The rim shows only where the bunch ends, not against the next berry.
            if (m.at(x, y) == 'R' && m.at(x + 1, y) != '.' && m.at(x + 2, y) != '.' && m.at(x, y + 2) != '.')
                mapPut(seams, x, y, 'd');
        }
    m = seams;
    mapOverlay(m, 6, 0, {".k.ll", ".kllll", "..k"});
    return {m,
            {LEAVES[0],
             LEAVES[1],
             STEM,
             SHINE,
             {'o', PURPLE, 3},
             {'i', PURPLE, 2},
             {'d', PURPLE, 2},
             {'m', PURPLE, 1},
             {'R', PURPLE, 0}}};
}

// The apple keeps a broad bright red, so it stands a step above the grapes in grey too.
const uint32_t appleC[] = {0xffb3a8, 0xf2584a, 0xf2584a, 0xc4283c, 0x821a33};
const Ramp APPLE{appleC, 5};

Fruit apple() {
    PixelMap m = blankMap(16, 16);
    mapDisc(m, 6.3f, 9.4f, 4.3f, 4.5f, 'r');
    mapDisc(m, 9.7f, 9.4f, 4.3f, 4.5f, 'r');
    mapDisc(m, 8, 11.5f, 4.0f, 2.6f, 'r');
    mapOverlay(m, 7, 2, {"k.lll", "kllll", "k...."});
    mapOverlay(m, 4, 7, {"ww", "w"});
    return {m, {LEAVES[0], LEAVES[1], STEM, SHINE, {'r', APPLE, AUTO}}};
}

// The orange's shadow turns toward red, away from the banana's yellow.
const uint32_t orangePeelC[] = {0xffc27a, 0xf58b2e, 0xf58b2e, 0xc45a1a, 0x821a33};
const Ramp ORANGE_PEEL{orangePeelC, 5};

Fruit orange() {
    PixelMap m = blankMap(16, 16);
    mapDisc(m, 8, 9.2f, 6.0f, 5.8f, 'o');
    mapOverlay(m, 7, 2, {".lll", "kllll", "k"});
    mapOverlay(m, 4, 6, {"ww", "w"});
    for (auto [x, y] : {std::pair{9, 7}, {11, 9}, {6, 11}, {9, 12}, {12, 12}, {7, 9}})
        mapPut(m, x, y, 'x');
    return {m, {LEAVES[0], LEAVES[1], STEM, SHINE, {'x', ORANGE_PEEL, 2}, {'o', ORANGE_PEEL, AUTO}}};
}

// The pear and the banana are the light ones of the set: their outlines stop a shade short of the
// darkest, so the thin banana keeps its yellow.
const uint32_t pearC[] = {0xd6f26b, 0x8ccf3c, 0x4c9a2a, 0x2a6a2c};
const Ramp PEAR{pearC, 4};
const uint32_t bananaC[] = {0xfff27a, 0xfff27a, 0xf7c531, 0xd18b1d};
const Ramp BANANA{bananaC, 4};

Fruit pear() {
    PixelMap m = blankMap(16, 16);
    mapDisc(m, 8, 6.8f, 3.0f, 3.6f, 'g');
    mapDisc(m, 8, 11.0f, 5.2f, 4.6f, 'g');
    mapOverlay(m, 7, 0, {".k", "k.ll", "klll"});
    mapOverlay(m, 6, 5, {"w", "w", "", "w"});
    return {m, {LEAVES[0], LEAVES[1], STEM, SHINE, {'g', PEAR, LIT}}};
}

Fruit banana() {
    PixelMap m = blankMap(16, 16);
    mapOverlay(m, 0, 1,
               {"............kk..", "...........kyk..", "..........yyyy..", ".........yyyyy..",
                ".........yyyyy..", "........yyyyyy..", ".......yyyyyy...", "......yyyyyyy...",
                "....yyyyyyyy....", "...yyyyyyyyy....", ".yyyyyyyyyy.....", ".kyyyyyyyyy.....",
                ".kkyyyyyy......."});
    mapOverlay(m, 8, 7, {"..w", ".w", "w"});
    return {m, {STEM, SHINE, {'y', BANANA, LIT}}};
}

// Set two: plums, strawberry, peach, melon, pineapple.
// A plum is one tilted oval, blue-violet, with the seam down its side and the dusty bloom of its
// skin as a dithered haze where the light falls.
const uint32_t plumC[] = {0xb4a8ec, 0x8466dc, 0x5a3bb0, 0x3a2284, 0x1c0e4a};
const Ramp PLUM{plumC, 5};

Fruit plums() {
    PixelMap m = blankMap(16, 16);
    const float cx = 8.4f, cy = 9.6f, rx = 4.6f, ry = 5.7f, c = 0.94f, s = -0.34f;
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) {
            float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
            float u = (dx * c + dy * s) / rx, v = (-dx * s + dy * c) / ry;
            if (u * u + v * v < 1)
                mapPut(m, x, y, 'p');
        }
    for (auto [x, y] : {std::pair{10, 6}, {11, 8}, {11, 10}, {11, 12}})
        mapPut(m, x, y, 'x');
    for (auto [x, y] : {std::pair{6, 6}, {7, 7}, {5, 8}, {6, 9}, {8, 6}, {5, 10}})
        mapPut(m, x, y, 'd');
    mapOverlay(m, 8, 1, {"..lll", ".kllll", "k"});
    mapPut(m, 6, 7, 'w');
    rimLight(m, "pdx");
    return {m,
            {LEAVES[0],
             LEAVES[1],
             STEM,
             SHINE,
             {'R', PLUM, 0},
             {'d', PLUM, 0},
             {'x', PLUM, 3},
             {'p', PLUM, AUTO}}};
}

Fruit strawberry() {
    PixelMap m = blankMap(16, 16);
    const int widths[] = {8, 12, 12, 12, 10, 10, 8, 6, 6, 4, 2};
    for (int i = 0; i < 11; i++)
        for (int x = 8 - widths[i] / 2; x < 8 + widths[i] / 2; x++)
            mapPut(m, x, 4 + i, ((x + (i & 2)) % 3 == 0 && i % 2 == 1 && i < 10) ? 'x' : 'r');
    mapOverlay(m, 3, 2, {"....ll", ".llllllll", "ll.llll.ll"});
    mapOverlay(m, 4, 6, {"w", "w"});
    return {m, {LEAVES[0], LEAVES[1], SHINE, {'x', SAND, 0}, {'r', RED, AUTO}}};
}

// A peach is the palest fruit of its set: cream where the light falls, apricot in the shade, with
// a pink blush on its lower cheek, a cleft down its heart-shaped top and one broad leaf.
const uint32_t peachC[] = {0xfff1c1, 0xfff1c1, 0xffc27a, 0xf58b2e, 0xc45a1a};
const Ramp PEACH{peachC, 5};

Fruit peach() {
    PixelMap m = blankMap(16, 16);
    mapDisc(m, 5.6f, 8.6f, 4.4f, 4.2f, 'o');
    mapDisc(m, 10.4f, 8.6f, 4.4f, 4.2f, 'o');
    mapDisc(m, 8, 10.8f, 6.0f, 4.6f, 'o');
    mapDisc(m, 8, 13.5f, 3.0f, 2.0f, 'o');
    for (int y = 9; y < 14; y++)
        for (int x = 9; x < 14; x++)
            if (m.at(x, y) == 'o' && m.at(x + 1, y) == 'o' && m.at(x, y + 1) == 'o' && ((x + y) & 1) == 0 &&
                (x - 11) * (x - 11) + (y - 11) * (y - 11) <= 5)
                mapPut(m, x, y, 'b');
    mapOverlay(m, 6, 1, {"..k..ll", "..klllll", "...kllll", "........"});
    mapOverlay(m, 7, 5, {".x", ".x", "hx", ".hx", ".hx", ".x"});
    mapOverlay(m, 4, 7, {".w", "w", "w"});
    return {m,
            {LEAVES[0],
             LEAVES[1],
             STEM,
             SHINE,
             {'x', PEACH, 3},
             {'h', PEACH, 0},
             {'b', RED, 0},
             {'o', PEACH, AUTO}}};
}

// The melon's rind is a mid green, a step above the plum and below the strawberry in grey.
const uint32_t melonC[] = {0xd6f26b, 0x8ccf3c, 0x4c9a2a, 0x4c9a2a, 0x2a6a2c};
const Ramp MELON{melonC, 5};

Fruit melon() {
    PixelMap m = blankMap(16, 16);
    const float cx = 8, cy = 8.6f, rx = 6.8f, ry = 6.5f;
    mapDisc(m, cx, cy, rx, ry, 'g');
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) {
            float v = (float(y) + 0.5f - cy) / ry;
            if (m.at(x, y) != 'g' || v * v >= 1)
                continue;
            float u = (float(x) + 0.5f - cx) / (rx * std::sqrt(1 - v * v));
            for (float s : {-0.72f, 0.0f, 0.72f})
                if (std::fabs(u - s) < 0.13f)
                    mapPut(m, x, y, 'x');
        }
    mapOverlay(m, 7, 0, {".k", "kk", ".k"});
    mapOverlay(m, 4, 5, {".w", "w", "w"});
    return {m, {STEM, SHINE, {'x', MELON, 4}, {'g', MELON, AUTO}}};
}

Fruit pineapple() {
    PixelMap m = blankMap(16, 16);
    mapDisc(m, 8, 10.6f, 5.4f, 5.2f, 'y');
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            if (m.at(x, y) == 'y' && ((x + y) % 4 == 0 || (x - y + 32) % 4 == 0))
                mapPut(m, x, y, 'x');
    mapOverlay(m, 3, 0, {".....l", ".l...ll..l", "..l.ll.ll", "...llllll", "..llllllll", "...llllll"});
    mapPut(m, 5, 8, 'w'), mapPut(m, 4, 10, 'w');
    return {m, {LEAVES[0], LEAVES[1], SHINE, {'x', YELLOW, 2}, {'y', YELLOW, LIT}}};
}

void paintFruit(Img &sheet, int frame, const Fruit &f, float scale) {
    PixelMap m = scale >= 1 ? f.map : scaleMap(f.map, scale, 16, 16);
    paintMap(sheet, (frame % 8) * 16, (frame / 8) * 16, m, f.inks);
}

// A four-pointed glint; size 1 is a small cross, 2 a star, 3 a star with diagonal sparks.
void glint(Img &img, int x, int y, int size, uint32_t core, uint32_t arm) {
    for (int k = 1; k <= size; k++) {
        uint32_t c = k == size ? arm : core;
        img.set(x + k, y, c), img.set(x - k, y, c), img.set(x, y + k, c), img.set(x, y - k, c);
    }
    if (size >= 3)
        img.set(x + 1, y + 1, arm), img.set(x - 1, y - 1, arm), img.set(x + 1, y - 1, arm),
            img.set(x - 1, y + 1, arm);
    img.set(x, y, core);
}

// The swirl of a morph: sparks on a ring that turns and swells (phase 0..2).
void puff(Img &sheet, int frame, int phase) {
    const int ox = (frame % 8) * 16, oy = (frame / 8) * 16;
    const float radius[] = {6.5f, 6.0f, 4.5f};
    const int count[] = {4, 8, 6};
    for (int i = 0; i < count[phase]; i++) {
        float a = float(i) * 6.2832f / float(count[phase]) + float(phase) * 0.6f;
        int x = ox + 8 + int(std::lround(std::cos(a) * radius[phase]));
        int y = oy + 8 + int(std::lround(std::sin(a) * radius[phase]));
        if (phase == 1)
            glint(sheet, x, y, i % 2 ? 1 : 2, 0xffffff, 0xfff27a);
        else
            glint(sheet, x, y, 1, phase == 0 ? 0xfff27a : 0xeaf6ff, phase == 0 ? 0xf7c531 : 0xa8dcf5);
    }
}

// The paw of KAVRIN tapping a cell: raised at frame 55, pressed flat at 59.
void paw(Img &sheet, int frame, int lift) {
    PixelMap m = blankMap(16, 16);
    const bool pressed = lift == 0;
    const float y = 8.5f + float(lift);
    for (int k = 0; k <= 8; k++)
        mapDisc(m, 9.5f + float(k) * 0.7f, y + 2 + float(k), 3.4f, 3.4f, 'p');
    mapDisc(m, 8, y, pressed ? 5.2f : 4.6f, pressed ? 3.6f : 4.0f, 'p');
    for (int t = 0; t < 3; t++)
        mapDisc(m, 4.6f + 3.4f * float(t), y - 3.6f + (t == 1 ? -0.8f : 0), 1.7f, 1.7f, char('a' + t));
    mapOverlay(m, 7, int(y), {"ss", "ss"});
    paintMap(sheet, (frame % 8) * 16, (frame / 8) * 16, m,
             {{'s', RED, 0}, {'a', SAND, AUTO}, {'b', SAND, AUTO}, {'c', SAND, AUTO}, {'p', SAND, AUTO}});
    if (pressed) {
        const int ox = (frame % 8) * 16, oy = (frame / 8) * 16;
        for (auto [x, yy] : {std::pair{1, 3}, {2, 2}, {14, 3}, {13, 2}, {8, 0}})
            sheet.set(ox + x, oy + yy, 0xfff27a);
    }
}

// The cursor lies under the fruit: a bright rounded frame over a see-through glow, with white
// corner brackets that reach out and back over the four frames.
void cursor(Img &sheet, int frame, int step) {
    const int ox = (frame % 8) * 16, oy = (frame / 8) * 16;
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) {
            int edge = std::min(std::min(x, y), std::min(15 - x, 15 - y));
            bool corner = (x == 0 || x == 15) && (y == 0 || y == 15);
            uint32_t c = KEY;
            if (corner)
                continue;
            if (edge == 0)
                c = 0x6b3a1f;
            else if (edge == 1)
                c = 0xf7c531;
            else if (edge == 2)
                c = ((x + y) & 1) ? 0xfff27a : KEY;
            else if (((x + y) & 3) == 0 && (x & 1))
                c = 0xfff27a;
            sheet.set(ox + x, oy + y, c);
        }
    const int len[4] = {3, 4, 5, 4};
    for (int k = 1; k < len[step]; k++)
        for (auto [cx, cy, dx, dy] :
             {std::array<int, 4>{1, 1, 1, 1}, {14, 1, -1, 1}, {1, 14, 1, -1}, {14, 14, -1, -1}}) {
            sheet.set(ox + cx + dx * (k - 1), oy + cy, 0xffffff);
            sheet.set(ox + cx, oy + cy + dy * (k - 1), 0xffffff);
        }
}

Img fruitSheet(const Fruit (&fruits)[5]) {
    Img sheet(128, 144);
    for (int v = 1; v <= 5; v++) {
        const Fruit &f = fruits[v - 1];
        paintFruit(sheet, v - 1, f, 1);
        // Shine of value v at step s is frame (v + 7) + 8s: a glint crossing from top left.
        const int gx[] = {4, 6, 9, 11}, gy[] = {4, 6, 8, 11}, gs[] = {1, 2, 3, 1};
        for (int s = 0; s < 4; s++) {
            int frame = v + 7 + 8 * s;
            paintFruit(sheet, frame, f, 1);
            glint(sheet, (frame % 8) * 16 + gx[s], (frame / 8) * 16 + gy[s], gs[s], 0xffffff,
                  s == 3 ? 0xfff27a : 0xeaf6ff);
        }
    }
    // Morph strips: column 5 runs fruit 1 (row 0), 2 (row 4), 3 (row 8); column 6 runs fruits 3, 4,
    // 5. The morph plays a strip from the larger fruit up to the smaller: row 4k+3 is the larger
    // fruit caught by the swirl, 4k+2 the swirl at its height (also the flying piece), 4k+1 the
    // smaller fruit coming out of it.
    for (int col = 5; col <= 6; col++) {
        const int base = col == 5 ? 1 : 3;
        for (int k = 0; k <= 2; k++)
            paintFruit(sheet, col + 32 * k, fruits[base + k - 1], 1);
        for (int k = 0; k < 2; k++) {
            const Fruit &small = fruits[base + k - 1], &large = fruits[base + k];
            int row = 4 * k;
            paintFruit(sheet, col + 8 * (row + 3), large, 0.85f);
            puff(sheet, col + 8 * (row + 3), 0);
            paintFruit(sheet, col + 8 * (row + 2), large, 0.62f);
            puff(sheet, col + 8 * (row + 2), 1);
            paintFruit(sheet, col + 8 * (row + 1), small, 0.8f);
            puff(sheet, col + 8 * (row + 1), 2);
        }
    }
    for (int i = 0; i < 5; i++)
        paw(sheet, 55 + i, 4 - i);
    for (int i = 0; i < 4; i++)
        cursor(sheet, 64 + i, i);
    return sheet;
}

} // namespace

void drawFruits(Assets &out) {
    Fruit first[5] = {grapes(), apple(), orange(), pear(), banana()};
    Fruit second[5] = {plums(), strawberry(), peach(), melon(), pineapple()};
    for (Fruit *set : {first, second})
        for (int i = 0; i < 5; i++)
            shadeLeaves(set[i].map);
    out.push_back({"fruitanim", fruitSheet(first), true});
    out.push_back({"fruitanim2", fruitSheet(second), true});
}
