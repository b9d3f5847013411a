// Pixel conversion between two formats by tables built once from SDL's own conversion.
#include "gfx/convert.h"

#include <cstdlib>
#include <cstring>

constexpr int MAX_CONVERTERS = 4;
static PixelConverter converters[MAX_CONVERTERS];
static int converterCount, nextReplaced;

static uint32_t readPixel(const uint8_t *p, int bytes) {
    uint32_t v = 0;
    memcpy(&v, p, size_t(bytes));
    return v;
}

// What SDL's renderer makes of the strip when it scales it to twice its size.
static bool rendererScales(SDL_Surface *in, SDL_Surface *out) {
    SDL_Renderer *renderer = SDL_CreateSoftwareRenderer(out);
    SDL_Texture *texture =
        renderer ? SDL_CreateTexture(renderer, in->format->format, SDL_TEXTUREACCESS_STATIC, in->w, in->h)
                 : nullptr;
    const bool made = texture && SDL_UpdateTexture(texture, nullptr, in->pixels, in->pitch) == 0 &&
                      SDL_RenderCopy(renderer, texture, nullptr, nullptr) == 0 &&
                      SDL_RenderFlush(renderer) == 0;
    if (texture)
        SDL_DestroyTexture(texture);
    if (renderer)
        SDL_DestroyRenderer(renderer);
    return made;
}

// SDL converts a strip of pixels, one per value of each source channel with the others 0, along the
// route asked for; part[i] is then what channel i (red, green, blue) adds. Returns false when SDL
// cannot convert between the two formats. shifts and masks receive where each channel sits and its
// bits.
static bool channelParts(PixelConverter &c, int shifts[3], uint32_t masks[3]) {
    SDL_PixelFormat *format = SDL_AllocFormat(c.from), *target = SDL_AllocFormat(c.to);
    if (!format || !target) {
        SDL_FreeFormat(format);
        SDL_FreeFormat(target);
        return false;
    }
    masks[0] = format->Rmask;
    masks[1] = format->Gmask;
    masks[2] = format->Bmask;
    // The unused bits of the output (the X of XRGB8888) come out of SDL as anything; ours are 0.
    const uint32_t used = target->Rmask | target->Gmask | target->Bmask | target->Amask;
    SDL_FreeFormat(format);
    SDL_FreeFormat(target);
    for (int i = 0; i < 3; i++)
        shifts[i] = masks[i] ? __builtin_ctz(masks[i]) : 0;

    constexpr int count = 3 * 256;
    const int scale = c.route == CONVERT_SCALE ? 2 : 1;
    SDL_Surface *in = SDL_CreateRGBSurfaceWithFormat(0, count, 1, 8 * c.fromBytes, c.from);
    SDL_Surface *out = SDL_CreateRGBSurfaceWithFormat(0, scale * count, scale, 8 * c.toBytes, c.to);
    bool made = in && out;
    if (made) {
        SDL_SetSurfaceBlendMode(in, SDL_BLENDMODE_NONE);
        auto *pixels = static_cast<uint8_t *>(in->pixels);
        for (int i = 0; i < count; i++) {
            const int channel = i >> 8;
            const uint32_t v = (uint32_t(i & 0xFF) << shifts[channel]) & masks[channel];
            memcpy(pixels + i * c.fromBytes, &v, size_t(c.fromBytes));
        }
        made = c.route == CONVERT_SCALE ? rendererScales(in, out)
                                        : SDL_BlitSurface(in, nullptr, out, nullptr) == 0;
    }
    if (made) {
        const auto *converted = static_cast<const uint8_t *>(out->pixels);
        const uint32_t base = readPixel(converted, c.toBytes) & used;
        for (int i = 0; i < count; i++) {
            const uint32_t v = readPixel(converted + scale * i * c.toBytes, c.toBytes) & used;
            c.part[i >> 8][i & 0xFF] = (i >> 8) == 0 ? v : v - base;
        }
    }
    SDL_FreeSurface(in);
    SDL_FreeSurface(out);
    return made;
}

// Whether a 24 → 16-bit conversion is PACK's: each byte's part its top bits moved into place.
static bool packs(const PixelConverter &c) {
    if (c.toBytes != 2)
        return false;
    const int drop[3] = {3, 2, 3}, at[3] = {0, 5, 11};
    for (int k = 0; k < 3; k++)
        for (uint32_t v = 0; v < 256; v++)
            if (c.part[k][v] != (v >> drop[k]) << at[k])
                return false;
    return true;
}

// The channel parts turned into what the conversion loops use: the whole-pixel table of a 16-bit
// source, or the parts by byte of a 24-bit one (whose channels are bytes), with its shortcut.
static void arrange(PixelConverter &c, const int shifts[3], const uint32_t masks[3]) {
    static uint32_t wholeTables[MAX_CONVERTERS][65536];
    if (c.fromBytes == 2) {
        // The channel in the lowest bits varies fastest: the other two are looked up once for each
        // run of its values, and the run is its part added to their sum.
        int low = -1;
        for (int i = 0; i < 3; i++)
            if (shifts[i] == 0 && (masks[i] & (masks[i] + 1)) == 0)
                low = i;
        static const uint32_t nothing[1] = {0};
        const uint32_t run = low < 0 ? 1 : masks[low] + 1;
        const uint32_t *lowPart = low < 0 ? nothing : c.part[low];
        uint32_t *whole = c.whole = wholeTables[&c - converters];
        for (uint32_t start = 0; start < 65536; start += run) {
            uint32_t others = 0;
            for (int i = 0; i < 3; i++)
                if (i != low)
                    others += c.part[i][(start & masks[i]) >> shifts[i]];
            uint32_t *__restrict out = whole + start;
            for (size_t k = 0; k < run; k++)
                out[k] = others + lowPart[k];
        }
        c.kind = PixelConverter::WHOLE;
        return;
    }
    uint32_t byChannel[3][256];
    memcpy(byChannel, c.part, sizeof byChannel);
    bool widens = c.toBytes == 4;
    for (int i = 0; i < 3; i++) {
        memcpy(c.part[shifts[i] / 8], byChannel[i], sizeof byChannel[i]);
        for (uint32_t v = 0; v < 256; v++)
            widens = widens && byChannel[i][v] == (v << shifts[i]) + (i == 0 ? byChannel[0][0] : 0);
    }
    c.fill = byChannel[0][0];
    c.kind = widens ? PixelConverter::WIDEN : packs(c) ? PixelConverter::PACK : PixelConverter::BYTES;
}

const PixelConverter &gfxConverter(uint32_t from, uint32_t to, ConvertRoute route) {
    for (int i = 0; i < converterCount; i++)
        if (converters[i].from == from && converters[i].to == to && converters[i].route == route)
            return converters[i];
    int slot = converterCount;
    if (converterCount < MAX_CONVERTERS) {
        converterCount++;
    } else {
        slot = nextReplaced;
        nextReplaced = (nextReplaced + 1) % MAX_CONVERTERS;
    }
    PixelConverter &c = converters[slot];
    c.from = from;
    c.to = to;
    c.route = route;
    c.fromBytes = SDL_BYTESPERPIXEL(from);
    c.toBytes = SDL_BYTESPERPIXEL(to);
    c.fill = 0;
    int shifts[3];
    uint32_t masks[3];
    if (from != to && channelParts(c, shifts, masks)) {
        arrange(c, shifts, masks);
    } else {
        // The same format, or no conversion SDL knows: the pixels pass unchanged.
        c.kind = PixelConverter::SAME;
    }
    return c;
}

template <int FROM, int TO, PixelConverter::Kind K>
static void convertRows(const PixelConverter &shared, const SDL_Surface *in, SDL_Surface *out) {
    const PixelConverter c = shared;
    for (int y = 0; y < in->h; y++) {
        uint8_t *__restrict d = static_cast<uint8_t *>(out->pixels) + size_t(y) * out->pitch;
        if constexpr (K == PixelConverter::PACK) {
            gfxPackRow(static_cast<const uint8_t *>(in->pixels) + size_t(y) * in->pitch, d, in->w);
            continue;
        }
        gfxEachPixel<FROM>(static_cast<const uint8_t *>(in->pixels) + size_t(y) * in->pitch, in->w,
                           [&](int x, uint32_t p) {
                               const uint32_t v = gfxConvertAs<K>(c, p);
                               memcpy(d + TO * x, &v, TO);
                           });
    }
}

struct SurfaceConversion {
    const PixelConverter &converter;
    const SDL_Surface *in;
    SDL_Surface *out;
    template <int FROM, int TO, PixelConverter::Kind K> void operator()() const {
        convertRows<FROM, TO, K>(converter, in, out);
    }
};

// Called by the image loader for every bitmap: SDL's own conversion goes pixel by pixel
// through its general blitter for 24-bit sources.
SDL_Surface *gfxConvertSurface(SDL_Surface *source, const SDL_PixelFormat *to) {
    const SDL_PixelFormat *from = source->format;
    const bool ours = !from->palette && (from->BytesPerPixel == 2 || from->BytesPerPixel == 3) &&
                      to->BytesPerPixel >= 2 && !SDL_MUSTLOCK(source);
    if (!ours)
        return SDL_ConvertSurface(source, to, 0);
    const PixelConverter &c = gfxConverter(from->format, to->format, CONVERT_COPY);
    SDL_Surface *image =
        SDL_CreateRGBSurfaceWithFormat(0, source->w, source->h, to->BitsPerPixel, to->format);
    if (!image)
        return nullptr;
    gfxWithConverter(c, SurfaceConversion{c, source, image});
    // The key carries over as SDL carries it: its colour, mapped into the new format.
    uint32_t key;
    if (SDL_GetColorKey(source, &key) == 0) {
        uint8_t r, g, b, a;
        SDL_GetRGBA(key, from, &r, &g, &b, &a);
        SDL_SetColorKey(image, SDL_TRUE, SDL_MapRGBA(image->format, r, g, b, a));
    }
    return image;
}
