// The two bitmap fonts: our own 5 × 7 glyph shapes, light on a dark edge, in 8 × 8 and 16 × 16.
#include "art.h"

// One glyph per code from 32 to 126, 7 rows of 5 pixels each; digits share one width. Letters a
// player could mix up differ in more than a corner: D has a bowed side where O is round all over, C
// ends square where G turns in low down (an opening two rows high stays open under a shadow), B's
// upper bowl is the smaller one, the zero is slashed, the one has a flag and a foot, N's diagonal runs
// the full height, and V narrows from halfway down.
static const char *const glyphs[95] = {
    "..... ..... ..... ..... ..... ..... .....", // space
    "..#.. ..#.. ..#.. ..#.. ..#.. ..... ..#..", // !
    ".#.#. .#.#. ..... ..... ..... ..... .....", // "
    ".#.#. ##### .#.#. .#.#. ##### .#.#. .....", // #
    "..#.. .#### #.#.. .###. ..#.# ####. ..#..", // $
    "##... ##..# ...#. ..#.. .#... #..## ...##", // %
    ".##.. #..#. #.#.. .#... #.#.# #..#. .##.#", // &
    "..#.. ..#.. .#... ..... ..... ..... .....", // '
    "...#. ..#.. .#... .#... .#... ..#.. ...#.", // (
    ".#... ..#.. ...#. ...#. ...#. ..#.. .#...", // )
    "..... ..#.. #.#.# .###. #.#.# ..#.. .....", // *
    "..... ..#.. ..#.. ##### ..#.. ..#.. .....", // +
    "..... ..... ..... ..... .##.. ..#.. .#...", // ,
    "..... ..... ..... ##### ..... ..... .....", // -
    "..... ..... ..... ..... ..... .##.. .##..", // .
    "....# ...#. ...#. ..#.. .#... .#... #....", // /
    ".###. #..## #..## #.#.# ##..# ##..# .###.", // 0
    "..#.. .##.. #.#.. ..#.. ..#.. ..#.. #####", // 1
    ".###. #...# ....# ..##. .#... #.... #####", // 2
    ".###. #...# ....# ..##. ....# #...# .###.", // 3
    "...#. ..##. .#.#. #..#. ##### ...#. ...#.", // 4
    "##### #.... ####. ....# ....# #...# .###.", // 5
    "..##. .#... #.... ####. #...# #...# .###.", // 6
    "##### ....# ...#. ..#.. .#... .#... .#...", // 7
    ".###. #...# #...# .###. #...# #...# .###.", // 8
    ".###. #...# #...# .#### ....# ...#. .##..", // 9
    "..... .##.. .##.. ..... .##.. .##.. .....", // :
    "..... .##.. .##.. ..... .##.. ..#.. .#...", // ;
    "...#. ..#.. .#... #.... .#... ..#.. ...#.", // <
    "..... ..... ##### ..... ##### ..... .....", // =
    ".#... ..#.. ...#. ....# ...#. ..#.. .#...", // >
    ".###. #...# ....# ...#. ..#.. ..... ..#..", // ?
    ".###. #...# #.### #.#.# #.### #.... .###.", // @
    ".###. #...# #...# ##### #...# #...# #...#", // A
    "###.. #..#. #..#. ####. #...# #...# ####.", // B
    ".#### #.... #.... #.... #.... #.... .####", // C
    "###.. #..#. #...# #...# #...# #..#. ###..", // D
    "##### #.... #.... ####. #.... #.... #####", // E
    "##### #.... #.... ####. #.... #.... #....", // F
    ".###. #...# #.... #.... #..## #...# .###.", // G
    "#...# #...# #...# ##### #...# #...# #...#", // H
    ".###. ..#.. ..#.. ..#.. ..#.. ..#.. .###.", // I
    "..### ...#. ...#. ...#. ...#. #..#. .##..", // J
    "#...# #..#. #.#.. ##... #.#.. #..#. #...#", // K
    "#.... #.... #.... #.... #.... #.... #####", // L
    "#...# ##.## #.#.# #.#.# #.#.# #...# #...#", // M
    "#...# ##..# ##..# #.#.# #..## #..## #...#", // N
    ".###. #...# #...# #...# #...# #...# .###.", // O
    "####. #...# #...# ####. #.... #.... #....", // P
    ".###. #...# #...# #...# #.#.# #..#. .##.#", // Q
    "####. #...# #...# ####. #.#.. #..#. #...#", // R
    ".#### #.... #.... .###. ....# ....# ####.", // S
    "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..", // T
    "#...# #...# #...# #...# #...# #...# .###.", // U
    "#...# #...# #...# .#.#. .#.#. .#.#. ..#..", // V
    "#...# #...# #...# #.#.# #.#.# #.#.# .#.#.", // W
    "#...# #...# .#.#. ..#.. .#.#. #...# #...#", // X
    "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..", // Y
    "##### ....# ...#. ..#.. .#... #.... #####", // Z
    ".###. .#... .#... .#... .#... .#... .###.", // [
    "#.... .#... .#... ..#.. ...#. ...#. ....#", // backslash
    ".###. ...#. ...#. ...#. ...#. ...#. .###.", // ]
    "..#.. .#.#. #...# ..... ..... ..... .....", // ^
    "..... ..... ..... ..... ..... ..... #####", // _
    ".#... ..#.. ..... ..... ..... ..... .....", // `
    "..... ..... .###. ....# .#### #...# .####", // a
    "#.... #.... #.##. ##..# #...# #...# ####.", // b
    "..... ..... .###. #.... #.... #...# .###.", // c
    "....# ....# .##.# #..## #...# #...# .####", // d
    "..... ..... .###. #...# ##### #.... .###.", // e
    "..##. .#..# .#... ###.. .#... .#... .#...", // f
    "..... .#### #...# #...# .#### ....# .###.", // g
    "#.... #.... #.##. ##..# #...# #...# #...#", // h
    "..#.. ..... .##.. ..#.. ..#.. ..#.. .###.", // i
    "...#. ..... ..##. ...#. ...#. #..#. .##..", // j
    "#.... #.... #..#. #.#.. ##... #.#.. #..#.", // k
    ".##.. ..#.. ..#.. ..#.. ..#.. ..#.. ...##", // l
    "..... ..... ##.#. #.#.# #.#.# #...# #...#", // m
    "..... ..... #.##. ##..# #...# #...# #...#", // n
    "..... ..... .###. #...# #...# #...# .###.", // o
    "..... ####. #...# #...# ####. #.... #....", // p
    "..... .#### #...# #...# .#### ....# ....#", // q
    "..... ..... #.##. ##..# #.... #.... #....", // r
    "..... ..... .#### #.... .###. ....# ####.", // s
    ".#... .#... ###.. .#... .#... .#..# ..##.", // t
    "..... ..... #...# #...# #...# #..## .##.#", // u
    "..... ..... #...# #...# #...# .#.#. ..#..", // v
    "..... ..... #...# #...# #.#.# #.#.# .#.#.", // w
    "..... ..... #...# .#.#. ..#.. .#.#. #...#", // x
    "..... #...# #...# #...# .#### ....# .###.", // y
    "..... ..... ##### ...#. ..#.. .#... #####", // z
    "...## ..#.. ..#.. .#... ..#.. ..#.. ...##", // {
    "..#.. ..#.. ..#.. ..#.. ..#.. ..#.. ..#..", // bar
    "##... ..#.. ..#.. ...#. ..#.. ..#.. ##...", // }
    "..... ..... .#... #.#.# ...#. ..... .....", // ~
};

const char *glyphShape(int code) {
    static char shape[36];
    if (code < 32 || code > 126)
        code = 32;
    int n = 0;
    for (const char *p = glyphs[code - 32]; *p && n < 35; p++)
        if (*p != ' ')
            shape[n++] = *p;
    shape[n] = 0;
    return shape;
}

// How a font draws its glyphs: the shape blown up by `scale` into a cell, filled with a light ramp
// from top to bottom, with an optional outline all round and a shadow to the lower right.
struct FontStyle {
    int cell, scale;
    std::vector<uint32_t> fill;
    uint32_t edge;   // KEY: no outline
    uint32_t shadow; // offset by one pixel right and down
    bool solid;      // the shadow also falls straight right and straight down, edging every stroke
};

// One glyph cell. Scaling by two uses Scale2x so diagonals come out smooth rather than stair-stepped.
static void drawGlyph(Img &sheet, int cx, int cy, int code, const FontStyle &st) {
    const char *shape = glyphShape(code);
    auto on = [&](int x, int y) { return x >= 0 && y >= 0 && x < 5 && y < 7 && shape[y * 5 + x] == '#'; };
    const int ox = st.scale == 1 ? 1 : 2, oy = st.scale == 1 ? 0 : 1;
    Img body(st.cell, st.cell);
    for (int y = 0; y < 7; y++)
        for (int x = 0; x < 5; x++) {
            for (int sy = 0; sy < st.scale; sy++)
                for (int sx = 0; sx < st.scale; sx++) {
                    bool v = on(x, y);
                    if (st.scale == 2) {
                        bool a = on(x, y - 1), b = on(x + 1, y), c = on(x - 1, y), d = on(x, y + 1);
                        if (a != d && c != b) {
                            bool left = sx == 0, top = sy == 0;
                            if (top && left && c == a)
                                v = c;
                            else if (top && !left && a == b)
                                v = b;
                            else if (!top && left && c == d)
                                v = c;
                            else if (!top && !left && d == b)
                                v = b;
                        }
                    }
                    if (v) {
                        int py = y * st.scale + sy;
                        size_t band = size_t(py * int(st.fill.size()) / (7 * st.scale));
                        body.set(ox + x * st.scale + sx, oy + py, st.fill[band]);
                    }
                }
        }
    Img ring = body;
    if (st.edge != KEY)
        outline(ring, st.edge, true);
    Img cellImg(st.cell, st.cell);
    for (int y = 0; y < st.cell; y++)
        for (int x = 0; x < st.cell; x++)
            if (ring.at(x, y) != KEY) {
                cellImg.set(x + 1, y + 1, st.shadow);
                if (st.solid)
                    cellImg.set(x + 1, y, st.shadow), cellImg.set(x, y + 1, st.shadow);
            }
    blit(ring, cellImg, 0, 0);
    blit(cellImg, sheet, cx, cy);
}

static Img fontSheet(const FontStyle &st) {
    Img sheet(16 * st.cell, 6 * st.cell);
    for (int code = 32; code <= 126; code++) {
        int i = code - 32;
        drawGlyph(sheet, (i % 16) * st.cell, (i / 16) * st.cell, code, st);
    }
    return sheet;
}

void drawFonts(Assets &out) {
    // Small font: sunny yellow to orange, apart from pale and deep blue skies by hue, over a solid dark
    // shadow right of and under every stroke: over bright skies the shadow draws the letters' edges, over
    // the night the fill carries them. An outline all round needs 7 × 9 pixels, more than the 8 × 8 cell
    // holds with its first and last columns free; the shadow fits in 6 × 8.
    const FontStyle small{8, 1, {0xfff27a, 0xf7c531, 0xf7c531, 0xf58b2e}, KEY, 0x14141f, true};
    // Big font: the same colours from cream at the top, with an outline all round and a shadow; bold
    // from the Scale2x doubling.
    const std::vector<uint32_t> creamToOrange = {0xfff1c1, 0xfff27a, 0xfff27a, 0xf7c531, 0xf7c531, 0xf58b2e};
    const FontStyle big{16, 2, creamToOrange, 0x2a2a3d, 0x14141f, false};
    out.push_back({"font", fontSheet(small), true});
    out.push_back({"fontbig", fontSheet(big), true});
}
