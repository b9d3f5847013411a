// artgen's drawing kit: images as 0xRRGGBB arrays, the palette ramps, primitives and pixel maps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t KEY = 0xFF00FF; // magenta: transparent in keyed images, never a visible colour

struct Img {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    Img() = default;
    Img(int width, int height, uint32_t fill = KEY) : w(width), h(height), px(size_t(width) * height, fill) {}
    bool in(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    uint32_t at(int x, int y) const { return in(x, y) ? px[size_t(y) * w + x] : KEY; }
    void set(int x, int y, uint32_t c) {
        if (in(x, y))
            px[size_t(y) * w + x] = c;
    }
};

// A palette ramp, light to dark; every sprite shades along one ramp.
struct Ramp {
    const uint32_t *c;
    int n;
    uint32_t operator[](int i) const { return c[i < 0 ? 0 : (i >= n ? n - 1 : i)]; }
    uint32_t darkest() const { return c[n - 1]; }
};
extern const Ramp SAND, LEAF, SKY, RED, PURPLE, YELLOW, ORANGE, GREY;

// Deterministic noise and randomness: the same art on every run.
struct Rng {
    uint32_t s;
    explicit Rng(uint32_t seed) : s(seed ? seed : 1) {}
    uint32_t next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
    int range(int lo, int hi) { return lo + int(next() % uint32_t(hi - lo + 1)); }
};
float valueNoise(float x, uint32_t seed, int period); // smooth 1-D noise in 0..1, periodic when period > 0
int bayer4(int x, int y);                             // ordered-dither threshold 0..15

uint32_t rgb(int r, int g, int b);
uint32_t mix(uint32_t a, uint32_t b, float t); // t = 0 gives a
uint32_t darkenColour(uint32_t c, float f);    // f = 1 keeps the colour

// Primitives; colours are plain 0xRRGGBB, KEY included.
void fillRect(Img &img, int x, int y, int w, int h, uint32_t c);
void frameRect(Img &img, int x, int y, int w, int h, uint32_t c);
void fillEllipse(Img &img, float cx, float cy, float rx, float ry, uint32_t c);
void line(Img &img, int x0, int y0, int x1, int y1, uint32_t c);
void thickLine(Img &img, float x0, float y0, float x1, float y1, float r, uint32_t c);
void blit(const Img &src, Img &dst, int x, int y);                                   // skips KEY pixels
void blitPart(const Img &src, int sx, int sy, int w, int h, Img &dst, int x, int y); // skips KEY
Img crop(const Img &src, int x, int y, int w, int h);
Img scaleNearest(const Img &src, int factor);
Img flipH(const Img &src);
// Ordered-dither vertical gradient between colour stops (top..bottom), in rows y0..y1.
void gradientBands(Img &img, int y0, int y1, const std::vector<uint32_t> &stops);
// Adds a one-pixel outline of colour c around every non-KEY area (8-neighbourhood when diagonal).
void outline(Img &img, uint32_t c, bool diagonal);
// Darkens the opaque pixels; used for shadows and for the panels behind the board.
void shadeRect(Img &img, int x, int y, int w, int h, float f, uint32_t tint, float tintAmount);

// Pixel maps: rows of characters, one per pixel. An ink maps a character to a fixed colour, or to a
// ramp that is shaded automatically as a lit ball (light from the top left) with an outline in the
// ramp's darkest shade wherever the region meets transparency.
struct Ink {
    char ch;
    Ramp ramp;
    int shade; // AUTO or LIT: shaded automatically (LIT a brighter ball); else the fixed ramp index
};
constexpr int AUTO = -1, LIT = -2;
struct PixelMap {
    std::vector<std::string> rows;
    int w() const { return rows.empty() ? 0 : int(rows[0].size()); }
    int h() const { return int(rows.size()); }
    char at(int x, int y) const {
        return (y < 0 || y >= h() || x < 0 || x >= int(rows[y].size())) ? '.' : rows[y][x];
    }
};
PixelMap blankMap(int w, int h);
void mapDisc(PixelMap &map, float cx, float cy, float rx, float ry, char ch);
void mapPut(PixelMap &map, int x, int y, char ch);
void mapOverlay(PixelMap &map, int x, int y, const std::vector<std::string> &rows); // '.' keeps
PixelMap scaleMap(const PixelMap &map, float scale, int outW, int outH); // centred, nearest sampling
void paintMap(Img &img, int x, int y, const PixelMap &map, const std::vector<Ink> &inks);

// Word art: a text in the small font's shapes, blown up and rounded, filled with a vertical
// gradient, with a highlight rim, a thick outline and a drop shadow.
struct WordStyle {
    int scale;                  // pixels per font pixel
    int round;                  // blur radius that rounds the blocks (0 = square)
    std::vector<uint32_t> fill; // gradient stops, top to bottom
    uint32_t rim, edge, shadow;
    int edgeWidth, shadowOffset;
    int bounce; // letters alternate up and down by this many pixels
};
Img wordArt(const char *text, const WordStyle &style);

// The 5 × 7 glyph shapes of the small font ('#' set), for codes 32..126; used by the fonts and
// the word art.
const char *glyphShape(int code);

// A named asset of the graphics archive.
struct Asset {
    std::string name;
    Img img;
    bool keyed;
};
using Assets = std::vector<Asset>;
const Img &findAsset(const Assets &assets, const std::string &name);

void drawFonts(Assets &out);
void drawFruits(Assets &out);
void drawCreatures(Assets &out);
void drawScenery(Assets &out);
void drawInterface(Assets &out);
void drawReview(const Assets &assets, const std::string &dir);
void drawIcon(Assets &out);              // "icon": 32 × 32, keyed, for the game's window
bool writeIcons(const std::string &dir); // DIR/hicolor/NxN/apps/mirabo.png, 16 to 256 pixels
// Shared by the stage backgrounds and the totem frames, which are drawn over them unkeyed.
void drawPillar(Img &img, int x, int y);
