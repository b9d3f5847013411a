// The keyed copies of same-format images, which the game draws all the time: each pixel but the key.
#include "gfx/keyed.h"

#include "gfx/convert.h"

#include <cstddef>
#include <cstring>
#include <utility>

#if defined(__ARM_NEON)
#include <arm_neon.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

// Everything but the entry at the end stays in this file, also where a 32-bit ARM build compiles it a
// second time for NEON: no function of one copy may stand in for the other's.
namespace {

// Copies or skips a row the table knows; false for a row that needs the keyed copy.
bool copiedByKind(const RowKind *kinds, int y, const uint8_t *s, uint8_t *d, size_t bytes) {
    if (!kinds || kinds[y] == ROW_MIXED)
        return false;
    if (kinds[y] == ROW_OPAQUE)
        memcpy(d, s, bytes);
    return true;
}

// Eight pixels in one vector (GCC's and Clang's vector types, SSE2 or NEON): a compare against the
// key and a select. The sprites (16 wide) and glyphs (8 and 16 wide) are whole multiples of it.
// Without a vector unit (32-bit ARM built for its VFP alone) the compiler would work out each lane
// apart, at twice the cost of a plain loop.
typedef uint16_t Pixels8 __attribute__((vector_size(16), aligned(2), may_alias));

void keyed8(const uint16_t *in, uint16_t *out, Pixels8 key) {
#if defined(__SSE2__) || defined(__ARM_NEON)
    const Pixels8 source = *reinterpret_cast<const Pixels8 *>(in);
    const Pixels8 target = *reinterpret_cast<const Pixels8 *>(out);
    const Pixels8 transparent = reinterpret_cast<Pixels8>(source == key);
    *reinterpret_cast<Pixels8 *>(out) = (target & transparent) | (source & ~transparent);
#else
    for (int x = 0; x < 8; x++)
        if (in[x] != key[0])
            out[x] = in[x];
#endif
}

// Rows of a width known when compiling: the sprites and glyphs, with no tests but the row count.
template <int W>
void keyedRows(const uint8_t *s, int srcPitch, uint8_t *d, int dstPitch, int h, Pixels8 keys) {
    for (int y = 0; y < h; y++, s += srcPitch, d += dstPitch)
        for (int x = 0; x < W; x += 8)
            keyed8(reinterpret_cast<const uint16_t *>(s) + x, reinterpret_cast<uint16_t *>(d) + x, keys);
}

void copyKeyed16(const KeyedBlock &b) {
    const uint8_t *s = b.from;
    uint8_t *d = b.to;
    const uint16_t key = uint16_t(b.key);
    const Pixels8 keys = key - Pixels8{};
    switch (b.w) {
    case 8:
        return keyedRows<8>(s, b.fromPitch, d, b.toPitch, b.h, keys);
    case 16:
        return keyedRows<16>(s, b.fromPitch, d, b.toPitch, b.h, keys);
    case 32:
        return keyedRows<32>(s, b.fromPitch, d, b.toPitch, b.h, keys);
    default:
        break;
    }
    for (int y = 0; y < b.h; y++, s += b.fromPitch, d += b.toPitch) {
        if (copiedByKind(b.kinds, y, s, d, size_t(b.w) * 2))
            continue;
        const auto *__restrict in = reinterpret_cast<const uint16_t *>(s);
        auto *__restrict out = reinterpret_cast<uint16_t *>(d);
        for (int x = 0; x < b.w; x++)
            out[x] = in[x] == key ? out[x] : in[x];
    }
}

// A keyed row of 24-bit pixels, each compared whole: four bytes read and the fourth dropped, but for
// the last pixel, which may end the image's memory.
void keyedPixels24(const uint8_t *in, uint8_t *out, int width, uint32_t key) {
    gfxEachPixel<3>(in, width, [out, key](int x, uint32_t pixel) {
        if (pixel != key)
            memcpy(out + 3 * x, &pixel, 3);
    });
}

// A group of 24-bit pixels is three machine words, eight pixels on a 64-bit CPU and four on a 32-bit
// one, compared with the key repeated over them. Groups of only key (the outside of a sprite or a
// layer) are skipped, groups without key copied as three words, which is most groups; the rest go
// pixel by pixel.
typedef uintptr_t Word;
constexpr int GROUP = sizeof(Word); // pixels

// The group's differences from the key, each pixel's bits 24p to 24p + 23 (little-endian). Kept in
// three variables: as an array, GCC for 32-bit ARM would keep them in memory.
struct Differences {
    Word x0, x1, x2;
};

template <int P> bool differs(const Differences &d) {
    constexpr int BITS = 8 * sizeof(Word), at = 24 * P / BITS, shift = 24 * P % BITS;
    auto word = [&d](int i) { return i == 0 ? d.x0 : i == 1 ? d.x1 : d.x2; };
    Word bits = word(at) >> shift;
    if constexpr (shift + 24 > BITS)
        bits |= word(at + 1) << (BITS - shift);
    return (bits & 0xFFFFFF) != 0;
}

template <size_t... P> bool noneIsKey(const Differences &d, std::index_sequence<P...>) {
    return (differs<P>(d) && ...);
}

template <int P> void copyIfShown(const Differences &d, const uint8_t *in, uint8_t *out) {
    if (differs<P>(d))
        memcpy(out + 3 * P, in + 3 * P, 3);
}

template <size_t... P>
void copyShown(const Differences &d, const uint8_t *in, uint8_t *out, std::index_sequence<P...>) {
    (copyIfShown<P>(d, in, out), ...);
}

void keyedGroup24(const uint8_t *in, uint8_t *out, const Differences &keys) {
    auto word = [in](int i) {
        Word w;
        memcpy(&w, in + i * sizeof(Word), sizeof w);
        return w;
    };
    const Differences d = {word(0) ^ keys.x0, word(1) ^ keys.x1, word(2) ^ keys.x2};
    if ((d.x0 | d.x1 | d.x2) == 0)
        return;
    if (noneIsKey(d, std::make_index_sequence<GROUP>()))
        memcpy(out, in, 3 * sizeof(Word));
    else
        copyShown(d, in, out, std::make_index_sequence<GROUP>());
}

// Sixteen pixels, 48 bytes, against the key repeated over them, pattern. NEON reads them as three
// planes of bytes, one a channel: a pixel is key where all three match, and each plane keeps the
// target's byte there. SSE2 compares every byte: pixel p is key where bits 3p to 3p + 2 of the mask
// are set; groups of only key are skipped, groups without key copied whole, and the rest blended by
// a mask of their bytes.
#if defined(__ARM_NEON)
constexpr bool SIXTEEN_AT_ONCE = true;
typedef uint8x16x3_t KeyRepeat; // the pattern's planes, read once for a whole copy
KeyRepeat keyRepeat(const uint8_t pattern[48]) { return vld3q_u8(pattern); }

[[gnu::always_inline]] inline void keyedSixteen24(const uint8_t *in, uint8_t *out, const KeyRepeat &key) {
    const uint8x16x3_t source = vld3q_u8(in), target = vld3q_u8(out);
    const uint8x16_t transparent =
        vandq_u8(vandq_u8(vceqq_u8(source.val[0], key.val[0]), vceqq_u8(source.val[1], key.val[1])),
                 vceqq_u8(source.val[2], key.val[2]));
    uint8x16x3_t shown;
    for (int c = 0; c < 3; c++)
        shown.val[c] = vbslq_u8(transparent, target.val[c], source.val[c]);
    vst3q_u8(out, shown);
}
#elif defined(__SSE2__)
constexpr bool SIXTEEN_AT_ONCE = true;
typedef const uint8_t *KeyRepeat;
KeyRepeat keyRepeat(const uint8_t pattern[48]) { return pattern; }

void keyedSixteen24(const uint8_t *in, uint8_t *out, KeyRepeat pattern) {
    __m128i source[3];
    uint64_t same = 0;
    for (int i = 0; i < 3; i++) {
        source[i] = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + 16 * i));
        const __m128i key = _mm_loadu_si128(reinterpret_cast<const __m128i *>(pattern + 16 * i));
        same |= uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(source[i], key)))) << 16 * i;
    }
    constexpr uint64_t firsts = 0x249249249249; // bit 3p, the first byte of each pixel
    const uint64_t transparent = same & same >> 1 & same >> 2 & firsts;
    if (transparent == firsts)
        return;
    if (transparent == 0) {
        for (int i = 0; i < 3; i++)
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 16 * i), source[i]);
        return;
    }
    // A bit for each byte of the transparent pixels, then a vector's sixteen bits as sixteen bytes:
    // each of its two bytes spread over eight lanes, the lane's own bit picked out and compared.
    const uint64_t keep = transparent | transparent << 1 | transparent << 2;
    const __m128i bit = _mm_set_epi8(-128, 64, 32, 16, 8, 4, 2, 1, -128, 64, 32, 16, 8, 4, 2, 1);
    for (int i = 0; i < 3; i++) {
        __m128i bits = _mm_cvtsi32_si128(int(keep >> 16 * i & 0xFFFF));
        bits = _mm_unpacklo_epi8(bits, bits);
        bits = _mm_unpacklo_epi16(bits, bits);
        bits = _mm_unpacklo_epi32(bits, bits);
        const __m128i kept = _mm_cmpeq_epi8(_mm_and_si128(bits, bit), bit);
        auto *at = reinterpret_cast<__m128i *>(out + 16 * i);
        const __m128i target = _mm_loadu_si128(at);
        _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(kept, target), _mm_andnot_si128(kept, source[i])));
    }
}
#else
constexpr bool SIXTEEN_AT_ONCE = false;
typedef const uint8_t *KeyRepeat;
KeyRepeat keyRepeat(const uint8_t pattern[48]) { return pattern; }

void keyedSixteen24(const uint8_t *, uint8_t *, KeyRepeat) {}
#endif

// Rows of a width of sixteens known when compiling (the sprites and the wider glyphs, whose images
// have no row kinds), with no tests but the row count.
template <int W> void keyedRows24(const KeyedBlock &b, const KeyRepeat &key) {
    const uint8_t *s = b.from;
    uint8_t *d = b.to;
    const int h = b.h, fromPitch = b.fromPitch, toPitch = b.toPitch; // the stores might change b
    for (int y = 0; y < h; y++, s += fromPitch, d += toPitch)
        for (int x = 0; x < W; x += 16)
            keyedSixteen24(s + 3 * x, d + 3 * x, key);
}

// The key repeated over sixteen pixels, made again only for another key: the game keys every image
// with the same colour, and copies hundreds of them a frame.
const uint8_t *keyPattern(uint32_t key) {
    static uint8_t pattern[48];
    static uint32_t madeFor = ~0u; // no 24-bit key
    if (key != madeFor) {
        for (int at = 0; at < 48; at += 3)
            memcpy(pattern + at, &key, 3);
        madeFor = key;
    }
    return pattern;
}

void copyKeyed24(const KeyedBlock &b) {
    const uint8_t *s = b.from;
    uint8_t *d = b.to;
    const uint32_t key = b.key;
    const uint8_t *pattern = keyPattern(key);
    Differences keys; // the pattern as three words, to be xor-ed with a group's
    memcpy(&keys.x0, pattern, sizeof(Word));
    memcpy(&keys.x1, pattern + sizeof(Word), sizeof(Word));
    memcpy(&keys.x2, pattern + 2 * sizeof(Word), sizeof(Word));
    const KeyRepeat repeat = keyRepeat(pattern);
    if (SIXTEEN_AT_ONCE && b.w == 16)
        return keyedRows24<16>(b, repeat);
    if (SIXTEEN_AT_ONCE && b.w == 32)
        return keyedRows24<32>(b, repeat);
    const int sixteens = SIXTEEN_AT_ONCE ? b.w / 16 : 0, groups = (b.w - 16 * sixteens) / GROUP;
    for (int y = 0; y < b.h; y++, s += b.fromPitch, d += b.toPitch) {
        if (copiedByKind(b.kinds, y, s, d, size_t(b.w) * 3))
            continue;
        int x = 0;
        for (int g = 0; g < sixteens; g++, x += 16)
            keyedSixteen24(s + 3 * x, d + 3 * x, repeat);
        for (int g = 0; g < groups; g++, x += GROUP)
            keyedGroup24(s + 3 * x, d + 3 * x, keys);
        keyedPixels24(s + 3 * x, d + 3 * x, b.w - x, key);
    }
}

} // namespace

#if defined(MIRABO_NEON_COPY)
void copyKeyedNeon(const KeyedBlock &b, int bytes)
#else
void copyKeyed(const KeyedBlock &b, int bytes)
#endif
{
    bytes == 2 ? copyKeyed16(b) : copyKeyed24(b);
}
