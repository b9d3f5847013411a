// Pixel conversion between two formats by tables built once from SDL's own conversion, so that our
// loops give exactly the pixels that SDL's blits give.
#pragma once

#include <SDL.h>
#include <cstdint>
#include <cstring>

#if defined(__ARM_NEON)
#include <arm_neon.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

// SDL converts a pixel differently when it copies (SDL_BlitSurface: 565 green 63 becomes 0xFE) and
// when its renderer scales a texture (every channel's bits repeated: 63 becomes 0xFF); a converter
// follows one of the two.
enum ConvertRoute { CONVERT_COPY, CONVERT_SCALE };

// How a pixel of 2 or 3 bytes becomes one of 2, 3 or 4 bytes. SDL converts each colour channel on
// its own, but not each byte (its scaling route gives 565 green 16 as 0x40 and 21 as 0x55), so the
// tables are made per channel: a 16-bit source then looks its whole pixel up (a frame holds a few
// hundred colours, so the big table costs a few hundred cache lines); a 24-bit source, whose
// channels are its bytes, adds one part per byte. Shortcuts for the same format (out = in) and for
// a 24-bit pixel that widens unchanged (out = in + fill), and for a 24-bit pixel with blue in its low
// byte that becomes 565 by keeping the top bits of each byte (SDL's bitmaps on the game's 16-bit
// screen), which needs no tables at all.
struct PixelConverter {
    enum Kind { SAME, WIDEN, BYTES, PACK, WHOLE };
    uint32_t from, to;
    ConvertRoute route;
    int fromBytes, toBytes;
    Kind kind;
    uint32_t fill;
    uint32_t part[3][256]; // BYTES: what byte 0, 1 and 2 add (the bits every pixel gets in part 0)
    uint32_t *whole;       // WHOLE: all 65536 pixels, converted
};

// Built at the first use of a pair and kept; the game uses two or three pairs.
const PixelConverter &gfxConverter(uint32_t from, uint32_t to, ConvertRoute route);

// The helpers defined here are static, so that a file compiled for another vector unit (the pixel
// passes' NEON copy on 32-bit ARM, their AVX2 copy on x86-64) keeps its own copies and the linker
// never mixes the two.

// SAME, WIDEN and PACK work on vectors of pixels too.
template <PixelConverter::Kind K, typename Pixel = uint32_t>
static inline Pixel gfxConvertAs(const PixelConverter &c, Pixel pixel) {
    if constexpr (K == PixelConverter::SAME)
        return pixel;
    else if constexpr (K == PixelConverter::WIDEN)
        return pixel + c.fill;
    else if constexpr (K == PixelConverter::WHOLE)
        return c.whole[pixel & 0xFFFF];
    else if constexpr (K == PixelConverter::PACK)
        return (pixel >> 3 & 0x001F) | (pixel >> 5 & 0x07E0) | (pixel >> 8 & 0xF800);
    else
        return c.part[0][pixel & 0xFF] + c.part[1][(pixel >> 8) & 0xFF] + c.part[2][(pixel >> 16) & 0xFF];
}

static inline uint32_t gfxConvertPixel(const PixelConverter &c, uint32_t pixel) {
    switch (c.kind) {
    case PixelConverter::SAME:
        return gfxConvertAs<PixelConverter::SAME>(c, pixel);
    case PixelConverter::WIDEN:
        return gfxConvertAs<PixelConverter::WIDEN>(c, pixel);
    case PixelConverter::WHOLE:
        return gfxConvertAs<PixelConverter::WHOLE>(c, pixel);
    case PixelConverter::PACK:
        return gfxConvertAs<PixelConverter::PACK>(c, pixel);
    default:
        return gfxConvertAs<PixelConverter::BYTES>(c, pixel);
    }
}

// Calls f(x, pixel) for the width pixels of a row of BYTES-byte pixels. Three-byte pixels are read as
// four bytes with the fourth dropped, but for the last one, which may end the surface's memory.
template <int BYTES, typename F> static inline void gfxEachPixel(const uint8_t *row, int width, F &&f) {
    auto exactly = [row](int x) {
        uint32_t v = 0;
        memcpy(&v, row + BYTES * x, BYTES);
        return v;
    };
    int x = 0;
    if constexpr (BYTES == 3) {
        for (; x < width - 1; x++) {
            uint32_t v;
            memcpy(&v, row + 3 * x, 4);
            f(x, v & 0xFFFFFF);
        }
        if (x < width)
            f(x, exactly(x));
    } else {
#pragma GCC unroll 4 // a loop step costs as much as a 16-bit pixel's work
        for (; x < width; x++)
            f(x, exactly(x));
    }
}

// A row of PACK conversion. NEON splits sixteen pixels into their channels (blue, green, red) and
// shifts each channel's top bits into place below the one before; SSE2 takes eight pixels as two
// vectors of four words, packs each word and narrows the words to 16 bits; a 32-bit CPU without
// either takes four pixels from three words; elsewhere, and for the row's last pixels, the loop packs
// two pixels at a time in a 64-bit word, whose low 48 bits hold both so that the same shifts and
// masks put each in its place.
static inline void gfxPackRow(const uint8_t *__restrict in, uint8_t *__restrict out, int width) {
    int x = 0;
#if defined(__ARM_NEON)
    auto pack = [](uint8x8_t blue, uint8x8_t green, uint8x8_t red) {
        const uint16x8_t withGreen = vsriq_n_u16(vshll_n_u8(red, 8), vshll_n_u8(green, 8), 5);
        return vsriq_n_u16(withGreen, vshll_n_u8(blue, 8), 11);
    };
    for (; x < width / 16 * 16; x += 16) {
        const uint8x16x3_t p = vld3q_u8(in + 3 * x);
        const uint16x8_t low = pack(vget_low_u8(p.val[0]), vget_low_u8(p.val[1]), vget_low_u8(p.val[2])),
                         high = pack(vget_high_u8(p.val[0]), vget_high_u8(p.val[1]), vget_high_u8(p.val[2]));
        vst1q_u16(reinterpret_cast<uint16_t *>(out + 2 * x), low); // a 16-bit output's rows start on 2 bytes
        vst1q_u16(reinterpret_cast<uint16_t *>(out + 2 * x + 16), high);
    }
#elif SDL_BYTEORDER == SDL_LIL_ENDIAN
#if defined(__SSE2__)
    // Four pixels from the first 12 of 16 bytes: shifted down by 3, 6 and 9 bytes, interleaved.
    auto fourPacked = [](const uint8_t *at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        const __m128i pixels =
            _mm_unpacklo_epi64(_mm_unpacklo_epi32(v, _mm_srli_si128(v, 3)),
                               _mm_unpacklo_epi32(_mm_srli_si128(v, 6), _mm_srli_si128(v, 9)));
        const __m128i packed =
            _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_srli_epi32(pixels, 3), _mm_set1_epi32(0x001F)),
                                      _mm_and_si128(_mm_srli_epi32(pixels, 5), _mm_set1_epi32(0x07E0))),
                         _mm_and_si128(_mm_srli_epi32(pixels, 8), _mm_set1_epi32(0xF800)));
        return _mm_srai_epi32(_mm_slli_epi32(packed, 16), 16); // as signed, which the narrowing keeps
    };
    for (; x + 10 <= width; x += 8) // the second read ends 4 bytes past the eighth pixel
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 2 * x),
                         _mm_packs_epi32(fourPacked(in + 3 * x), fourPacked(in + 3 * x + 12)));
#endif
    if constexpr (sizeof(uintptr_t) == 4) {
        auto pixel = [](uint32_t blue, uint32_t green, uint32_t red) {
            return (blue & 0xFF) >> 3 | ((green & 0xFF) >> 2) << 5 | ((red & 0xFF) >> 3) << 11;
        };
        for (const int end = width & ~3; x < end; x += 4) {
            uint32_t w0, w1, w2;
            memcpy(&w0, in + 3 * x, 4);
            memcpy(&w1, in + 3 * x + 4, 4);
            memcpy(&w2, in + 3 * x + 8, 4);
            const uint32_t first = pixel(w0, w0 >> 8, w0 >> 16) | pixel(w0 >> 24, w1, w1 >> 8) << 16,
                           second = pixel(w1 >> 16, w1 >> 24, w2) | pixel(w2 >> 8, w2 >> 16, w2 >> 24) << 16;
            memcpy(out + 2 * x, &first, 4); // as an array, the pair would go through memory
            memcpy(out + 2 * x + 4, &second, 4);
        }
    } else {
        constexpr uint64_t BLUE = 0x001F | 0x001Full << 24, GREEN = 0x07E0 | 0x07E0ull << 24,
                           RED = 0xF800 | 0xF800ull << 24;
        for (; x + 3 <= width; x += 2) { // the word's last two bytes belong to a third pixel
            uint64_t pair;
            memcpy(&pair, in + 3 * x, 8);
            const uint64_t packed = (pair >> 3 & BLUE) | (pair >> 5 & GREEN) | (pair >> 8 & RED);
            const uint32_t two = uint32_t(packed & 0xFFFF) | uint32_t(packed >> 8 & 0xFFFF0000);
            memcpy(out + 2 * x, &two, 4);
        }
    }
#endif
    for (; x < width; x++) {
        const uint16_t pixel =
            uint16_t(in[3 * x] >> 3 | (in[3 * x + 1] >> 2) << 5 | (in[3 * x + 2] >> 3) << 11);
        memcpy(out + 2 * x, &pixel, 2);
    }
}

// Calls body.template operator()<FROM, TO, K>() for the converter's byte widths and kind, so that a
// pixel loop is compiled once per case with everything known. Sources have 2 or 3 bytes.
template <typename Body> static inline auto gfxWithConverter(const PixelConverter &c, Body &&body) {
    using K = PixelConverter::Kind;
    if (c.kind == PixelConverter::SAME)
        return c.fromBytes == 2 ? body.template operator()<2, 2, K::SAME>()
                                : body.template operator()<3, 3, K::SAME>();
    if (c.kind == PixelConverter::WIDEN)
        return body.template operator()<3, 4, K::WIDEN>();
    if (c.kind == PixelConverter::PACK)
        return body.template operator()<3, 2, K::PACK>();
    if (c.fromBytes == 2)
        return c.toBytes == 2   ? body.template operator()<2, 2, K::WHOLE>()
               : c.toBytes == 3 ? body.template operator()<2, 3, K::WHOLE>()
                                : body.template operator()<2, 4, K::WHOLE>();
    return c.toBytes == 2   ? body.template operator()<3, 2, K::BYTES>()
           : c.toBytes == 3 ? body.template operator()<3, 3, K::BYTES>()
                            : body.template operator()<3, 4, K::BYTES>();
}

// Converts a whole surface of 2 or 3 bytes per pixel into a new one of format to, as SDL_ConvertSurface
// would, key included; nullptr when SDL cannot make the surface.
SDL_Surface *gfxConvertSurface(SDL_Surface *source, const SDL_PixelFormat *to);
