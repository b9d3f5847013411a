// Images in the back surface's pixel format: loading by asset name, colour keys, blits, darken.
#include "gfx/image.h"

#include "data/config.h"
#include "data/fileio.h"
#include "data/winzka.h"
#include "gfx/convert.h"
#include "gfx/cpu.h"
#include "gfx/debug.h"
#include "gfx/gfx_sdl2.h"
#include "gfx/keyed.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// What each row of a wide keyed image holds, worked out once when it is loaded: rows of only key are
// skipped and rows without key copied whole, so the title's scenery bands, mostly sky and solid
// ground, cost a fraction of a pixel-by-pixel keyed copy. The table lives in the surface's userdata
// and goes with it in freeSurface; loaded images are never drawn into, so it stays true.
constexpr int ROW_KINDS_MIN_WIDTH = 64; // narrower images are sprites and glyphs, copied by fixed widths

struct RowKinds {
    uint32_t key; // followed by a RowKind per row of the image
    RowKind *rows() { return reinterpret_cast<RowKind *>(this + 1); }
};

static void noteRowKinds(SDL_Surface *image) {
    uint32_t key;
    const int bytes = image->format->BytesPerPixel;
    if (image->w < ROW_KINDS_MIN_WIDTH || SDL_GetColorKey(image, &key) != 0 || (bytes != 2 && bytes != 3) ||
        SDL_MUSTLOCK(image))
        return;
    auto *kinds = static_cast<RowKinds *>(malloc(sizeof(RowKinds) + size_t(image->h)));
    if (!kinds)
        return; // copied pixel by pixel
    kinds->key = key;
    for (int y = 0; y < image->h; y++) {
        const auto *row = static_cast<const uint8_t *>(image->pixels) + size_t(y) * image->pitch;
        int keyed = 0;
        auto count = [&keyed, key](int, uint32_t pixel) { keyed += pixel == key; };
        bytes == 2 ? gfxEachPixel<2>(row, image->w, count) : gfxEachPixel<3>(row, image->w, count);
        kinds->rows()[y] = keyed == image->w ? ROW_KEY : keyed == 0 ? ROW_OPAQUE : ROW_MIXED;
    }
    image->userdata = kinds;
}

// The kinds of the rows from `from` on, or nullptr when the image has none for this key.
static const RowKind *rowKinds(const SDL_Surface *image, uint32_t key, int from) {
    auto *kinds = static_cast<RowKinds *>(image->userdata);
    return kinds && kinds->key == key ? kinds->rows() + from : nullptr;
}

// A loose "<name>.bmp" in the player's folder (the working directory in folder mode) overrides the
// graphics archive's member.
SDL_Surface *loadGFX(const char *name, int useKey, int r, int g, int b) {
    uint32_t size = 0;
    uint8_t *data = loadBINFile(filename(configFolder, name, "bmp"), &size);
    if (!data)
        data = loadZKAFile(ZKA_GFX, name, "bmp", &size);
    if (!data)
        error("Error loading gfx file", zkaMemberPlace(ZKA_GFX, name, "bmp"));
    SDL_Surface *image = loadGFXFromMemory(data, size, useKey, r, g, b);
    free(data);
    return image;
}

// Data that does not decode is left in "fuu.xxx" in the player's folder for whoever has to find out why.
SDL_Surface *loadGFXFromMemory(const uint8_t *data, uint32_t size, int useKey, int r, int g, int b) {
    SDL_RWops *stream = SDL_RWFromConstMem(data, int(size));
    SDL_Surface *decoded = SDL_LoadBMP_RW(stream, 0);
    if (!decoded) {
        if (stream)
            SDL_RWclose(stream);
        if (FILE *dump = fopen(filename(configFolder, "fuu", "xxx"), "wb")) {
            if (size)
                fwrite(data, 1, size, dump);
            fclose(dump);
        }
        error("Unable to load bitmap", SDL_GetError());
    }
    if (useKey)
        setColorKey(decoded, r, g, b);
    else
        SDL_SetColorKey(decoded, 0, 0);
    SDL_Surface *image = gfxConvertSurface(decoded, screen->format);
    SDL_FreeSurface(decoded);
    SDL_RWclose(stream);
    if (!image)
        error("Unable to convert bitmap", SDL_GetError());
    noteRowKinds(image);
    return image;
}

static bool holdsPixel16(SDL_Surface *image, uint16_t value) {
    bool found = false;
    SDL_LockSurface(image);
    for (int y = 0; y < image->h && !found; y++) {
        const auto *row = reinterpret_cast<const uint16_t *>(static_cast<const uint8_t *>(image->pixels) +
                                                             size_t(y) * image->pitch);
        for (int x = 0; x < image->w; x++) {
            if (row[x] == value) {
                found = true;
                break;
            }
        }
    }
    SDL_UnlockSurface(image);
    return found;
}

// At 16 bits an image without a single key pixel gets no key, so it copies without key tests.
void setColorKey(SDL_Surface *image, int r, int g, int b) {
    const SDL_Palette *palette = image->format->palette;
    if (palette && palette->ncolors > 0) {
        int key = 0;
        for (int i = 0; i < palette->ncolors; i++) {
            const SDL_Color &c = palette->colors[i];
            if (c.r == r && c.g == g && c.b == b) {
                key = i;
                break;
            }
        }
        SDL_SetColorKey(image, 1, uint32_t(key));
        return;
    }
    uint32_t key = SDL_MapRGB(image->format, uint8_t(r), uint8_t(g), uint8_t(b));
    if (image->format->BytesPerPixel == 2 && !holdsPixel16(image, uint16_t(key)))
        SDL_SetColorKey(image, 0, 0);
    else
        SDL_SetColorKey(image, 1, key);
}

SDL_Surface *createImage(int w, int h) {
    const SDL_PixelFormat *f = screen->format;
    SDL_Surface *image =
        SDL_CreateRGBSurface(0, w, h, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, f->Amask);
    if (image)
        SDL_FillRect(image, nullptr, BLACK);
    return image;
}

void fillRect(SDL_Surface *image, int x, int y, int w, int h, uint32_t colour) {
    SDL_Rect rect{x, y, w, h};
    SDL_FillRect(image, &rect, colour);
}

static void copyOpaque(const SDL_Surface *src, const SDL_Rect &from, SDL_Surface *dst, const SDL_Rect &to) {
    const int bytes = src->format->BytesPerPixel;
    const auto *s = static_cast<const uint8_t *>(src->pixels) + size_t(from.y) * src->pitch + from.x * bytes;
    auto *d = static_cast<uint8_t *>(dst->pixels) + size_t(to.y) * dst->pitch + to.x * bytes;
    for (int y = 0; y < to.h; y++, s += src->pitch, d += dst->pitch)
        memmove(d, s, size_t(to.w) * bytes);
}

// Our own copy for what the game draws all the time: same-format images, opaque or colour-keyed,
// without blending. SDL's opaque copy streams past the cache and its keyed copy goes pixel by pixel;
// these keep the screen in cache and let the compiler vectorise. Anything else is SDL's.
static bool copyDirect(SDL_Surface *src, const SDL_Rect &from, SDL_Surface *dst, const SDL_Rect &to) {
    if (src->format->format != dst->format->format || src->format->palette || SDL_MUSTLOCK(src) ||
        SDL_MUSTLOCK(dst))
        return false;
    SDL_BlendMode mode;
    uint8_t alpha, cr, cg, cb;
    SDL_GetSurfaceBlendMode(src, &mode);
    SDL_GetSurfaceAlphaMod(src, &alpha);
    SDL_GetSurfaceColorMod(src, &cr, &cg, &cb);
    if (mode != SDL_BLENDMODE_NONE || alpha != 255 || (cr & cg & cb) != 255)
        return false;
    const int bytes = src->format->BytesPerPixel;
    uint32_t key;
    if (SDL_GetColorKey(src, &key) != 0) {
        copyOpaque(src, from, dst, to);
        return true;
    }
    if (bytes != 2 && bytes != 3)
        return false;
    const KeyedBlock block{static_cast<const uint8_t *>(src->pixels) + size_t(from.y) * src->pitch +
                               from.x * bytes,
                           src->pitch,
                           static_cast<uint8_t *>(dst->pixels) + size_t(to.y) * dst->pitch + to.x * bytes,
                           dst->pitch,
                           to.w,
                           to.h,
                           key,
                           rowKinds(src, key, from.y)};
#if defined(MIRABO_HAS_NEON_COPIES)
    if (cpuHasNeon()) {
        copyKeyedNeon(block, bytes);
        return true;
    }
#endif
    copyKeyed(block, bytes);
    return true;
}

// One axis of SDL_BlitSurface's clipping: the source span to the source image (when the caller gave
// one), then the destination span to the clip span, moving the start of both spans together.
static void clipAxis(bool fromRect, int &from, int &len, int &to, int srcSize, int clipFrom, int clipLen) {
    if (fromRect) {
        if (from < 0) {
            len += from;
            to -= from;
            from = 0;
        }
        if (srcSize - from < len)
            len = srcSize - from;
    }
    if (int cut = clipFrom - to; cut > 0) {
        len -= cut;
        to += cut;
        from += cut;
    }
    if (int cut = to + len - clipFrom - clipLen; cut > 0)
        len -= cut;
}

// Clips as SDL_BlitSurface does, writing the rectangle actually drawn back into dstRect.
void blitSurface(SDL_Surface *src, SDL_Rect *srcRect, SDL_Surface *dst, SDL_Rect *dstRect) {
    if (!src || !dst)
        return;
    SDL_Rect whole{0, 0, dst->w, dst->h};
    SDL_Rect &to = dstRect ? *dstRect : whole;
    SDL_Rect from = srcRect ? *srcRect : SDL_Rect{0, 0, src->w, src->h};
    const SDL_Rect &clip = dst->clip_rect;
    clipAxis(srcRect, from.x, from.w, to.x, src->w, clip.x, clip.w);
    clipAxis(srcRect, from.y, from.h, to.y, src->h, clip.y, clip.h);
    if (from.w <= 0 || from.h <= 0) {
        to.w = to.h = 0;
        return;
    }
    to.w = from.w;
    to.h = from.h;
    if (!copyDirect(src, from, dst, to))
        SDL_LowerBlit(src, &from, dst, &to);
}

void blitImage(SDL_Surface *src, int x, int y, SDL_Surface *dst) {
    SDL_Rect to{x, y, 0, 0};
    blitSurface(src, nullptr, dst, &to);
}

void freeSurface(SDL_Surface *image) {
    if (image)
        free(image->userdata);
    SDL_FreeSurface(image);
}

// What SDL's blend of the overlay makes of each byte value of a 24-bit pixel (its three channels are
// blended alike), built once by blending the overlay over every value. SDL's blend is a halving
// rounded up but for a few values (255 gives 127), so the loop halves sixteen bytes at once and
// then mends those values, each with one compare.
typedef uint8_t Bytes16 __attribute__((vector_size(16), aligned(1), may_alias));

struct DarkenTable {
    uint32_t format;
    uint8_t byte[256];
    int fixes;
    Bytes16 fixValue[256], fixDelta[256]; // where SDL differs from the halving, and by how much
};
static DarkenTable darkenTable;

static bool buildDarkenTable(uint32_t format) {
    if (!black)
        return false;
    SDL_Surface *values = SDL_CreateRGBSurfaceWithFormat(0, 256, 1, 24, format);
    if (!values)
        return false;
    auto *pixels = static_cast<uint8_t *>(values->pixels);
    for (int v = 0; v < 256; v++)
        memset(pixels + 3 * v, v, 3);
    SDL_Rect strip{0, 0, 256, 1};
    const bool blended = SDL_BlitSurface(black, &strip, values, nullptr) == 0;
    DarkenTable &t = darkenTable;
    t.fixes = 0;
    for (int v = 0; v < 256 && blended; v++) {
        t.byte[v] = pixels[3 * v];
        if (t.byte[v] != (v + 1) >> 1) {
            t.fixValue[t.fixes] = uint8_t(v) - Bytes16{};
            t.fixDelta[t.fixes++] = uint8_t(t.byte[v] - ((v + 1) >> 1)) - Bytes16{};
        }
    }
    SDL_FreeSurface(values);
    t.format = blended ? format : 0;
    return blended;
}

static void darkenBytes(uint8_t *p, int count) {
    const DarkenTable &t = darkenTable;
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const Bytes16 v = *reinterpret_cast<const Bytes16 *>(p + i);
        Bytes16 half = v - (v >> 1);
        for (int k = 0; k < t.fixes; k++)
            half += reinterpret_cast<Bytes16>(v == t.fixValue[k]) & t.fixDelta[k];
        *reinterpret_cast<Bytes16 *>(p + i) = half;
    }
    for (; i < count; i++)
        p[i] = t.byte[p[i]];
}

// Called by gfxPrepareBlackScreen, so that the table exists before play.
void prepareDarken() {
    if (screen->format->BytesPerPixel == 3)
        buildDarkenTable(screen->format->format);
}

// Called by the stage loop and the menus to dim the frame behind a dialog or a fade: one halving.
// In RGB565 SDL's blend of black at alpha 128 is exactly (p >> 1) & 0x7BEF per pixel; doing that
// directly costs a tenth of the blend. At 24 bits SDL's own results per byte value (see DarkenTable)
// give the same pixels for a fraction of the cost. Other formats keep SDL's blend.
void darken() {
    const uint32_t format = screen->format->format;
    if (SDL_MUSTLOCK(screen) || (format != SDL_PIXELFORMAT_RGB565 && screen->format->BytesPerPixel != 3)) {
        SDL_BlitSurface(black, nullptr, screen, nullptr);
        return;
    }
    auto *row = static_cast<uint8_t *>(screen->pixels);
    if (format == SDL_PIXELFORMAT_RGB565) {
        for (int y = 0; y < screen->h; y++, row += screen->pitch) {
            auto *__restrict p = reinterpret_cast<uint16_t *>(row);
            for (int x = 0; x < screen->w; x++)
                p[x] = uint16_t((p[x] >> 1) & 0x7BEF);
        }
        return;
    }
    if (darkenTable.format != format && !buildDarkenTable(format)) {
        SDL_BlitSurface(black, nullptr, screen, nullptr);
        return;
    }
    for (int y = 0; y < screen->h; y++, row += screen->pitch)
        darkenBytes(row, 3 * screen->w);
}
