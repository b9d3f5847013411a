// artgen's drawing kit: palette, primitives, automatically shaded pixel maps and word art.
#include "art.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

static const uint32_t sandC[] = {0xfff1c1, 0xf2c879, 0xd9954b, 0xa65e2e, 0x6b3a1f};
static const uint32_t leafC[] = {0xd6f26b, 0x8ccf3c, 0x4c9a2a, 0x2a6a2c, 0x173d22};
static const uint32_t skyC[] = {0xeaf6ff, 0xa8dcf5, 0x5fb3e6, 0x3479c4, 0x1f4a8a};
static const uint32_t redC[] = {0xffb3a8, 0xf2584a, 0xc4283c, 0x821a33};
static const uint32_t purpleC[] = {0xe3a8f2, 0xa55cc9, 0x6a2f8f, 0x3d1a5c};
// Yellow and orange borrow the sand ramp's dark end so their outlines read on dark panels.
static const uint32_t yellowC[] = {0xfff27a, 0xf7c531, 0xd18b1d, 0xa65e2e, 0x6b3a1f};
static const uint32_t orangeC[] = {0xffc27a, 0xf58b2e, 0xc45a1a, 0x6b3a1f};
static const uint32_t greyC[] = {0xffffff, 0xc9c9d6, 0x8a8aa0, 0x4e4e66, 0x2a2a3d, 0x14141f};

const Ramp SAND{sandC, 5}, LEAF{leafC, 5}, SKY{skyC, 5}, RED{redC, 4}, PURPLE{purpleC, 4}, YELLOW{yellowC, 5},
    ORANGE{orangeC, 4}, GREY{greyC, 6};

static uint32_t hash32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352d;
    x ^= x >> 15;
    x *= 0x846ca68b;
    x ^= x >> 16;
    return x;
}

float valueNoise(float x, uint32_t seed, int period) {
    int i = int(std::floor(x));
    float f = x - float(i);
    auto lattice = [&](int k) {
        if (period > 0)
            k = ((k % period) + period) % period;
        return float(hash32(uint32_t(k) * 2654435761u ^ seed) & 0xFFFF) / 65535.0f;
    };
    float t = f * f * (3 - 2 * f);
    return lattice(i) * (1 - t) + lattice(i + 1) * t;
}

int bayer4(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return m[y & 3][x & 3];
}

uint32_t rgb(int r, int g, int b) {
    auto c = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return c(r) << 16 | c(g) << 8 | c(b);
}

uint32_t mix(uint32_t a, uint32_t b, float t) {
    auto ch = [&](int s) {
        float va = float((a >> s) & 255), vb = float((b >> s) & 255);
        return int(std::lround(va + (vb - va) * t));
    };
    return rgb(ch(16), ch(8), ch(0));
}

uint32_t darkenColour(uint32_t c, float f) { return mix(0, c, f); }

void fillRect(Img &img, int x, int y, int w, int h, uint32_t c) {
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            img.set(i, j, c);
}

void frameRect(Img &img, int x, int y, int w, int h, uint32_t c) {
    fillRect(img, x, y, w, 1, c);
    fillRect(img, x, y + h - 1, w, 1, c);
    fillRect(img, x, y, 1, h, c);
    fillRect(img, x + w - 1, y, 1, h, c);
}

void fillEllipse(Img &img, float cx, float cy, float rx, float ry, uint32_t c) {
    for (int y = int(cy - ry) - 1; y <= int(cy + ry) + 1; y++)
        for (int x = int(cx - rx) - 1; x <= int(cx + rx) + 1; x++) {
            float dx = (float(x) + 0.5f - cx) / rx, dy = (float(y) + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f)
                img.set(x, y, c);
        }
}

void line(Img &img, int x0, int y0, int x1, int y1, uint32_t c) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0), sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        img.set(x0, y0, c);
        if (x0 == x1 && y0 == y1)
            break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void thickLine(Img &img, float x0, float y0, float x1, float y1, float r, uint32_t c) {
    int minX = int(std::min(x0, x1) - r) - 1, maxX = int(std::max(x0, x1) + r) + 1;
    int minY = int(std::min(y0, y1) - r) - 1, maxY = int(std::max(y0, y1) + r) + 1;
    float vx = x1 - x0, vy = y1 - y0, len2 = std::max(vx * vx + vy * vy, 1e-6f);
    for (int y = minY; y <= maxY; y++)
        for (int x = minX; x <= maxX; x++) {
            float px = float(x) + 0.5f - x0, py = float(y) + 0.5f - y0;
            float t = std::clamp((px * vx + py * vy) / len2, 0.0f, 1.0f);
            float ex = px - t * vx, ey = py - t * vy;
            if (ex * ex + ey * ey <= r * r)
                img.set(x, y, c);
        }
}

void blitPart(const Img &src, int sx, int sy, int w, int h, Img &dst, int x, int y) {
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) {
            uint32_t c = src.at(sx + i, sy + j);
            if (c != KEY)
                dst.set(x + i, y + j, c);
        }
}

void blit(const Img &src, Img &dst, int x, int y) { blitPart(src, 0, 0, src.w, src.h, dst, x, y); }

Img crop(const Img &src, int x, int y, int w, int h) {
    Img out(w, h);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++)
            out.set(i, j, src.at(x + i, y + j));
    return out;
}

Img scaleNearest(const Img &src, int factor) {
    Img out(src.w * factor, src.h * factor);
    for (int y = 0; y < out.h; y++)
        for (int x = 0; x < out.w; x++)
            out.set(x, y, src.at(x / factor, y / factor));
    return out;
}

Img flipH(const Img &src) {
    Img out(src.w, src.h);
    for (int y = 0; y < src.h; y++)
        for (int x = 0; x < src.w; x++)
            out.set(src.w - 1 - x, y, src.at(x, y));
    return out;
}

void gradientBands(Img &img, int y0, int y1, const std::vector<uint32_t> &stops) {
    int bands = int(stops.size()) - 1;
    for (int y = y0; y <= y1; y++) {
        float pos = float(y - y0) / float(std::max(1, y1 - y0)) * float(bands);
        int band = std::min(bands - 1, int(pos));
        float frac = pos - float(band);
        for (int x = 0; x < img.w; x++) {
            // Ordered dithering between two neighbouring stops keeps the palette small.
            bool upper = frac * 16.0f > float(bayer4(x, y)) + 0.5f;
            img.set(x, y, stops[size_t(band + (upper ? 1 : 0))]);
        }
    }
}

void outline(Img &img, uint32_t c, bool diagonal) {
    Img src = img;
    for (int y = 0; y < img.h; y++)
        for (int x = 0; x < img.w; x++) {
            if (src.at(x, y) != KEY)
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; dy++)
                for (int dx = -1; dx <= 1 && !near; dx++)
                    if ((dx || dy) && (diagonal || !(dx && dy)) && src.at(x + dx, y + dy) != KEY)
                        near = true;
            if (near)
                img.set(x, y, c);
        }
}

void shadeRect(Img &img, int x, int y, int w, int h, float f, uint32_t tint, float tintAmount) {
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++) {
            uint32_t c = img.at(i, j);
            if (c != KEY)
                img.set(i, j, mix(darkenColour(c, f), tint, tintAmount));
        }
}

PixelMap blankMap(int w, int h) {
    PixelMap map;
    map.rows.assign(size_t(h), std::string(size_t(w), '.'));
    return map;
}

void mapPut(PixelMap &map, int x, int y, char ch) {
    if (x >= 0 && y >= 0 && y < map.h() && x < map.w())
        map.rows[size_t(y)][size_t(x)] = ch;
}

void mapDisc(PixelMap &map, float cx, float cy, float rx, float ry, char ch) {
    for (int y = 0; y < map.h(); y++)
        for (int x = 0; x < map.w(); x++) {
            float dx = (float(x) + 0.5f - cx) / rx, dy = (float(y) + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f)
                mapPut(map, x, y, ch);
        }
}

void mapOverlay(PixelMap &map, int x, int y, const std::vector<std::string> &rows) {
    for (size_t j = 0; j < rows.size(); j++)
        for (size_t i = 0; i < rows[j].size(); i++)
            if (rows[j][i] != '.')
                mapPut(map, x + int(i), y + int(j), rows[j][i]);
}

PixelMap scaleMap(const PixelMap &map, float scale, int outW, int outH) {
    PixelMap out;
    float cx = float(map.w()) / 2, cy = float(map.h()) / 2;
    for (int y = 0; y < outH; y++) {
        std::string row;
        for (int x = 0; x < outW; x++) {
            float sx = (float(x) + 0.5f - float(outW) / 2) / scale + cx;
            float sy = (float(y) + 0.5f - float(outH) / 2) / scale + cy;
            row += map.at(int(std::floor(sx)), int(std::floor(sy)));
        }
        out.rows.push_back(row);
    }
    return out;
}

void paintMap(Img &img, int ox, int oy, const PixelMap &map, const std::vector<Ink> &inks) {
    std::vector<bool> front(256, false);
    for (const Ink &ink : inks) {
        int minX = 1 << 20, minY = 1 << 20, maxX = -1, maxY = -1;
        for (int y = 0; y < map.h(); y++)
            for (int x = 0; x < map.w(); x++)
                if (map.at(x, y) == ink.ch) {
                    minX = std::min(minX, x), maxX = std::max(maxX, x);
                    minY = std::min(minY, y), maxY = std::max(maxY, y);
                }
        if (maxX < 0)
            continue;
        float cx = float(minX + maxX + 1) / 2, cy = float(minY + maxY + 1) / 2;
        float rx = std::max(1.0f, float(maxX - minX + 1) / 2),
              ry = std::max(1.0f, float(maxY - minY + 1) / 2);
        const int levels = ink.ramp.n - 1;
        for (int y = minY; y <= maxY; y++)
            for (int x = minX; x <= maxX; x++) {
                if (map.at(x, y) != ink.ch)
                    continue;
                if (ink.shade >= 0) {
                    img.set(ox + x, oy + y, ink.ramp[ink.shade]);
                    continue;
                }
                // Outlined where the region meets transparency or a shaded region in front of it
                // (inks listed earlier are in front).
                bool edge = false;
                for (int k = 0; k < 4; k++) {
                    char o = map.at(x + (k == 0) - (k == 1), y + (k == 2) - (k == 3));
                    edge |= o == '.' || (front[size_t(uint8_t(o))] && o != ink.ch);
                }
                if (edge) {
                    img.set(ox + x, oy + y, ink.ramp.darkest());
                    continue;
                }
                float nx = (float(x) + 0.5f - cx) / rx, ny = (float(y) + 0.5f - cy) / ry;
                float nz = std::sqrt(std::max(0.05f, 1 - nx * nx - ny * ny));
                float len = std::sqrt(nx * nx + ny * ny + nz * nz);
                float light =
                    (-0.45f * nx - 0.55f * ny + 0.70f * nz) / len + (ink.shade == LIT ? 0.45f : 0.0f);
                int idx = 0;
                if (light <= 0.93f)
                    idx = std::min(levels - 1, 1 + int((0.93f - light) / 1.05f * float(levels - 1)));
                img.set(ox + x, oy + y, ink.ramp[idx]);
            }
        if (ink.shade < 0)
            front[size_t(uint8_t(ink.ch))] = true;
    }
}

// A separable box blur, run twice, of a 0/1 mask: rounds the corners of blown-up glyph blocks.
static std::vector<float> blurMask(const std::vector<float> &m, int w, int h, int r) {
    std::vector<float> a = m, b(m.size());
    for (int pass = 0; pass < 2; pass++) {
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                float s = 0;
                for (int k = -r; k <= r; k++)
                    s += a[size_t(y) * w + std::clamp(x + k, 0, w - 1)];
                b[size_t(y) * w + x] = s / float(2 * r + 1);
            }
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) {
                float s = 0;
                for (int k = -r; k <= r; k++)
                    s += b[size_t(std::clamp(y + k, 0, h - 1)) * w + x];
                a[size_t(y) * w + x] = s / float(2 * r + 1);
            }
    }
    return a;
}

Img wordArt(const char *text, const WordStyle &st) {
    const int n = int(std::string(text).size());
    const int pad = st.edgeWidth + st.shadowOffset + 2;
    const int cell = 6 * st.scale;
    const int w = n * cell - st.scale + 2 * pad, h = 7 * st.scale + 2 * pad + st.bounce;
    std::vector<float> mask(size_t(w) * h, 0.0f);
    std::vector<int> top(size_t(w), 0);
    for (int i = 0; i < n; i++) {
        const char *shape = glyphShape(text[i]);
        int oy = pad + ((i & 1) ? st.bounce : 0);
        for (int gy = 0; gy < 7; gy++)
            for (int gx = 0; gx < 5; gx++)
                if (shape[gy * 5 + gx] == '#')
                    for (int y = 0; y < st.scale; y++)
                        for (int x = 0; x < st.scale; x++)
                            mask[size_t(oy + gy * st.scale + y) * w + pad + i * cell + gx * st.scale + x] = 1;
        // Diagonal steps become solid strokes, so rounding does not cut legs like the R's.
        auto on = [&](int gx, int gy) {
            return gx >= 0 && gy >= 0 && gx < 5 && gy < 7 && shape[gy * 5 + gx] == '#';
        };
        for (int gy = 0; gy < 6; gy++)
            for (int gx = -1; gx < 5; gx++)
                for (int dir : {1, -1}) {
                    int ax = dir > 0 ? gx : gx + 1, bx = dir > 0 ? gx + 1 : gx;
                    if (!on(ax, gy) || !on(bx, gy + 1) || on(bx, gy) || on(ax, gy + 1))
                        continue;
                    const float s = float(st.scale);
                    float x0 = float(pad + i * cell) + (float(ax) + 0.5f) * s,
                          y0 = float(oy) + (float(gy) + 0.5f) * s;
                    float x1 = float(pad + i * cell) + (float(bx) + 0.5f) * s, y1 = y0 + s;
                    for (int y = int(std::min(y0, y1) - s); y <= int(std::max(y0, y1) + s); y++)
                        for (int x = int(std::min(x0, x1) - s); x <= int(std::max(x0, x1) + s); x++) {
                            if (x < 0 || y < 0 || x >= w || y >= h)
                                continue;
                            float vx = x1 - x0, vy = y1 - y0, px = float(x) + 0.5f - x0,
                                  py = float(y) + 0.5f - y0;
                            float t = std::clamp((px * vx + py * vy) / (vx * vx + vy * vy), 0.0f, 1.0f);
                            float ex = px - t * vx, ey = py - t * vy;
                            if (ex * ex + ey * ey <= s * s * 0.36f)
                                mask[size_t(y) * w + x] = 1;
                        }
                }
        for (int x = 0; x < cell; x++)
            if (pad + i * cell + x < w)
                top[size_t(pad + i * cell + x)] = oy;
    }
    if (st.round > 0)
        mask = blurMask(mask, w, h, st.round);
    auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && mask[size_t(y) * w + x] >= 0.5f;
    };
    Img body(w, h), out(w, h);
    const float letterH = float(7 * st.scale);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            if (!inside(x, y))
                continue;
            float t = std::clamp(float(y - top[size_t(x)]) / letterH, 0.0f, 0.999f);
            int bands = int(st.fill.size()) - 1;
            float pos = t * float(bands);
            int band = std::min(bands - 1, int(pos));
            bool upper = (pos - float(band)) * 16.0f > float(bayer4(x, y)) + 0.5f;
            uint32_t c = st.fill[size_t(band + (upper ? 1 : 0))];
            if (!inside(x, y - 1) || !inside(x - 1, y) || (!inside(x, y - 2) && st.scale >= 4))
                c = st.rim;
            body.set(x, y, c);
        }
    Img ring = body;
    for (int i = 0; i < st.edgeWidth; i++)
        outline(ring, st.edge, i > 0);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            if (ring.at(x, y) != KEY) {
                out.set(x + st.shadowOffset, y + st.shadowOffset, st.shadow);
            }
    blit(ring, out, 0, 0);
    return out;
}

const Img &findAsset(const Assets &assets, const std::string &name) {
    for (const Asset &a : assets)
        if (a.name == name)
            return a.img;
    fprintf(stderr, "artgen: no asset %s\n", name.c_str());
    exit(1);
}
