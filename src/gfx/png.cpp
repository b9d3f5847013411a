// A small PNG writer (8-bit RGB, or RGBA for surfaces with alpha; one zlib stream) for review images,
// icons and test artifacts.
#include "gfx/png.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

static void putBE32(std::vector<uint8_t> &out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(value >> shift));
}

static void putChunk(std::vector<uint8_t> &out, const char *type, const std::vector<uint8_t> &data) {
    putBE32(out, uint32_t(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uint32_t crc = uint32_t(crc32(0, out.data() + start, uInt(out.size() - start)));
    putBE32(out, crc);
}

bool savePNG(SDL_Surface *surface, const char *path) {
    const bool alpha = surface->format->Amask != 0;
    const int channels = alpha ? 4 : 3;
    SDL_Surface *rgb =
        SDL_ConvertSurfaceFormat(surface, alpha ? SDL_PIXELFORMAT_RGBA32 : SDL_PIXELFORMAT_RGB24, 0);
    if (!rgb)
        return false;
    const int w = rgb->w, h = rgb->h;
    std::vector<uint8_t> raw;
    raw.reserve(size_t(h) * (1 + channels * w));
    const auto *pixels = static_cast<const uint8_t *>(rgb->pixels);
    for (int y = 0; y < h; y++) {
        raw.push_back(0); // no filter
        raw.insert(raw.end(), pixels + y * rgb->pitch, pixels + y * rgb->pitch + channels * w);
    }
    SDL_FreeSurface(rgb);

    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), 6) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBE32(header, uint32_t(w));
    putBE32(header, uint32_t(h));
    // 8 bits, RGB (2) or RGBA (6), deflate, no filter, no interlace
    header.insert(header.end(), {8, uint8_t(alpha ? 6 : 2), 0, 0, 0});
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", packed);
    putChunk(png, "IEND", {});

    FILE *file = fopen(path, "wb");
    if (!file)
        return false;
    bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
    return (fclose(file) == 0) && written;
}
