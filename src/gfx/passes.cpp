// The software passes that turn the 320 × 240 back surface into the picture to present, one per
// scaling method, source width, output width and kind of conversion.
#include "gfx/passes.h"

#include "gfx/scaling.h"

#include <cstdlib>
#include <cstring>

#if defined(__ARM_NEON)
#include <arm_neon.h>
#elif defined(__AVX2__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

// Everything but the choice at the end stays in this file, also where a 32-bit ARM build compiles it
// a second time for NEON and an x86-64 one for AVX2: no function of one copy may stand in for the
// other's.
namespace {

using Kind = PixelConverter::Kind;

template <int SB, typename F> void eachPixel(const uint8_t *in, F &&f) { gfxEachPixel<SB>(in, SRC_W, f); }

// Two equal or neighbouring output pixels in one move where the width allows.
template <int BYTES> void storePair(uint8_t *p, uint32_t a, uint32_t b) {
    if constexpr (BYTES == 2) {
        const uint32_t pair = a | b << 16;
        memcpy(p, &pair, 4);
    } else if constexpr (BYTES == 4) {
        const uint64_t pair = a | uint64_t(b) << 32;
        memcpy(p, &pair, 8);
    } else {
        memcpy(p, &a, 3);
        memcpy(p + 3, &b, 3);
    }
}

// Each pass copies the converter onto the stack, so that the compiler knows that no store of the
// pass changes it and keeps its fields in registers.
template <int SB, int DB, Kind K> void copyPass(const Target &t) {
    const PixelConverter c = *t.converter;
    for (int y = 0; y < SRC_H; y++) {
        const uint8_t *__restrict in = t.in(y);
        uint8_t *__restrict out = t.row(y);
        if constexpr (K == PixelConverter::SAME) {
            memcpy(out, in, SRC_W * SB);
        } else if constexpr (K == PixelConverter::PACK) {
            gfxPackRow(in, out, SRC_W);
        } else {
            eachPixel<SB>(in, [&](int x, uint32_t p) {
                const uint32_t v = gfxConvertAs<K>(c, p);
                memcpy(out + DB * x, &v, DB);
            });
        }
    }
}

typedef uint32_t Pixels4 __attribute__((vector_size(16)));
typedef uint8_t Bytes16 __attribute__((vector_size(16)));

// Without a vector unit (32-bit ARM built for its VFP alone) the compiler would move the bytes of a
// shuffle one at a time, so the shuffles below have plain forms for it.
#if defined(__SSE2__) || defined(__ARM_NEON)
constexpr bool VECTOR_UNIT = true;
#else
constexpr bool VECTOR_UNIT = false;
#endif

// Four 24-bit pixels from their 12 bytes, one a lane: the bytes shifted down by 3, 6 and 9 each bring
// a pixel into their first lane, and two interleaves gather the four (shifts and unpacks on SSE2,
// ext and zip on NEON). Sixteen bytes are read where the row goes on.
template <int READ> Pixels4 fourPixels24(const uint8_t *in) {
    if constexpr (!VECTOR_UNIT) {
        uint32_t w[3];
        memcpy(w, in, sizeof w);
        return Pixels4{w[0], w[0] >> 24 | w[1] << 8, w[1] >> 16 | w[2] << 16, w[2] >> 8} & 0xFFFFFF;
    }
    Bytes16 v = {};
#if defined(__SSE2__)
    // GCC would build the vector and one of the shifts through memory.
    if constexpr (READ == 16)
        v = Bytes16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(in)));
    else
        memcpy(&v, in, READ);
    const Bytes16 by3 = Bytes16(_mm_srli_si128(__m128i(v), 3)), by6 = Bytes16(_mm_srli_si128(__m128i(v), 6)),
                  by9 = Bytes16(_mm_srli_si128(__m128i(v), 9));
#else
    memcpy(&v, in, READ);
    const Bytes16 zero = {};
    const Bytes16 by3 =
        __builtin_shufflevector(v, zero, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18);
    const Bytes16 by6 =
        __builtin_shufflevector(v, zero, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21);
    const Bytes16 by9 =
        __builtin_shufflevector(v, zero, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24);
#endif
    const Pixels4 first = __builtin_shufflevector(Pixels4(v), Pixels4(by3), 0, 4, 1, 5);
    const Pixels4 last = __builtin_shufflevector(Pixels4(by6), Pixels4(by9), 0, 4, 1, 5);
    return __builtin_shufflevector(first, last, 0, 1, 4, 5) & 0xFFFFFF;
}

// The row's 24-bit pixels four at a time: f(x, four pixels). Where a pass widens them into 32 bits
// (WIDEN) this and block stores of the results beat a pixel at a time.
template <typename F> void eachFour24(const uint8_t *__restrict in, F &&f) {
    int x = 0;
    for (; x < SRC_W - 4; x += 4, in += 12)
        f(x, fourPixels24<16>(in));
    f(x, fourPixels24<12>(in)); // the row's last four may end the surface's memory
}

// Where a 16-bit pixel is converted by a whole-pixel table into 32 bits, a vector unit gathers four
// looked-up pixels into a vector in a few moves, to be stored as a block.
constexpr bool fourLookedUp(Kind k, int toBytes) {
    return k == PixelConverter::WHOLE && toBytes == 4 && VECTOR_UNIT;
}

// 32-bit ARM loads each looked-up pixel straight into its lane, where its compiler would build the
// vector in memory.
template <Kind K> Pixels4 lookUpFour(const PixelConverter &c, const uint32_t (&p)[4]) {
#if defined(__arm__) && defined(__ARM_NEON)
    uint32x4_t v = vld1q_dup_u32(&c.whole[p[0]]);
    v = vld1q_lane_u32(&c.whole[p[1]], v, 1);
    v = vld1q_lane_u32(&c.whole[p[2]], v, 2);
    v = vld1q_lane_u32(&c.whole[p[3]], v, 3);
    return Pixels4(v);
#else
    return Pixels4{gfxConvertAs<K>(c, p[0]), gfxConvertAs<K>(c, p[1]), gfxConvertAs<K>(c, p[2]),
                   gfxConvertAs<K>(c, p[3])};
#endif
}

// The row's 16-bit pixels four at a time: f(x, four pixels).
template <typename F> void eachFour16(const uint8_t *__restrict in, F &&f) {
    auto pixel = [](const uint8_t *at) {
        uint16_t p;
        memcpy(&p, at, 2);
        return uint32_t(p);
    };
    for (int x = 0; x < SRC_W; x += 4, in += 8) {
        const uint32_t p[4] = {pixel(in), pixel(in + 2), pixel(in + 4), pixel(in + 6)};
        f(x, p);
    }
}

// Four pairs of output pixels of BYTES bytes, the left ones and the right ones: for 4 bytes on NEON one
// interleaving store.
template <int BYTES> void storeSides(uint8_t *out, Pixels4 left, Pixels4 right) {
    if constexpr (BYTES == 2) {
        const Pixels4 pairs = SDL_BYTEORDER == SDL_LIL_ENDIAN ? left | right << 16 : left << 16 | right;
        memcpy(out, &pairs, sizeof pairs);
    } else {
#if defined(__ARM_NEON)
        vst2q_u32(reinterpret_cast<uint32_t *>(out), uint32x4x2_t{{uint32x4_t(left), uint32x4_t(right)}});
#else
        const Pixels4 low = __builtin_shufflevector(left, right, 0, 4, 1, 5),
                      high = __builtin_shufflevector(left, right, 2, 6, 3, 7);
        memcpy(out, &low, sizeof low);
        memcpy(out + sizeof low, &high, sizeof high);
#endif
    }
}

// Four output pixels, each twice.
template <int BYTES> void storeTwice(uint8_t *out, Pixels4 p) { storeSides<BYTES>(out, p, p); }

// NEON splits 24-bit pixels into their three bytes (vld3) and stores them again four to a pixel (vst4),
// where shifting them into lanes costs several instructions a pixel.
#if defined(__ARM_NEON) && SDL_BYTEORDER == SDL_LIL_ENDIAN
#define SPLITS_CHANNELS 1
static_assert(SRC_W % 16 == 0, "rows are split sixteen pixels at a time");
#else
#define SPLITS_CHANNELS 0
#endif

// AVX2 takes eight pixels a vector.
#if defined(__AVX2__)
// Two 32-byte blocks from the low halves of a and b and then their high halves: what an interleave
// within halves gives, put in order.
void storeTwoBlocks(void *out, __m256i a, __m256i b) {
    auto *blocks = static_cast<__m256i *>(out);
    _mm256_storeu_si256(blocks, _mm256_permute2x128_si256(a, b, 0x20));
    _mm256_storeu_si256(blocks + 1, _mm256_permute2x128_si256(a, b, 0x31));
}

typedef uint32_t Pixels8 __attribute__((vector_size(32)));

// Eight pairs of output pixels, the left ones and the right ones, interleaved within halves and put
// in order.
template <int BYTES> void storeSides(uint8_t *out, Pixels8 left, Pixels8 right) {
    if constexpr (BYTES == 2) {
        const Pixels8 pairs = SDL_BYTEORDER == SDL_LIL_ENDIAN ? left | right << 16 : left << 16 | right;
        memcpy(out, &pairs, sizeof pairs);
    } else {
        storeTwoBlocks(out, _mm256_unpacklo_epi32(__m256i(left), __m256i(right)),
                       _mm256_unpackhi_epi32(__m256i(left), __m256i(right)));
    }
}

template <int BYTES> void storeTwice(uint8_t *out, Pixels8 p) { storeSides<BYTES>(out, p, p); }

bool anyLane(Pixels8 v) { return _mm256_movemask_epi8(__m256i(v)) != 0; }

// The row's 24-bit pixels eight at a time, widened to words (the byte above each pixel 0): f(x, eight
// pixels). Each half of the vector takes four pixels' twelve bytes apart with one shuffle; twelve
// bytes only are read where the row ends, as they may end the surface's memory. Inlined, as GCC
// would otherwise load its callers' captures again every turn.
template <typename F> [[gnu::always_inline]] inline void eachEight24(const uint8_t *__restrict in, F &&f) {
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1,
                                            3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    auto sixteen = [in](int x) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + 3 * x)); };
    auto eight = [&spread](__m128i low, __m128i high) {
        return _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1), spread);
    };
    int x = 0;
    for (; x < SRC_W - 8; x += 8)
        f(x, Pixels8(eight(sixteen(x), sixteen(x + 4))));
    __m128i last = _mm_setzero_si128();
    memcpy(&last, in + 3 * (x + 4), 12);
    f(x, Pixels8(eight(sixteen(x), last)));
}
#endif

// The row's 24-bit pixels widened, as many at a time as the vector unit takes: f(x, pixels).
template <typename F> void eachWidened24(const uint8_t *__restrict in, F &&f) {
#if defined(__AVX2__)
    eachEight24(in, f);
#else
    eachFour24(in, f);
#endif
}

// A row of 24-bit pixels as words, with fill (bits above the 24 only) added.
void widenRow24(const uint8_t *__restrict in, uint32_t *__restrict out, uint32_t fill) {
#if SPLITS_CHANNELS
    const uint8x16_t top = vdupq_n_u8(uint8_t(fill >> 24));
    for (int x = 0; x < SRC_W; x += 16) {
        const uint8x16x3_t p = vld3q_u8(in + 3 * x);
        vst4q_u8(reinterpret_cast<uint8_t *>(out + x), uint8x16x4_t{{p.val[0], p.val[1], p.val[2], top}});
    }
#else
    eachWidened24(in, [out, fill](int x, auto p) {
        p += fill;
        memcpy(out + x, &p, sizeof p);
    });
#endif
}

// A row of 24-bit pixels widened as words and each stored twice: with split channels, each channel's
// bytes are doubled before the four are stored together.
void doubleRow24(const uint8_t *__restrict in, uint8_t *__restrict out, uint32_t fill) {
#if SPLITS_CHANNELS
    const uint8x16_t top = vdupq_n_u8(uint8_t(fill >> 24));
    auto twice = [](uint8x8_t bytes) {
        const uint8x8x2_t pairs = vzip_u8(bytes, bytes);
        return vcombine_u8(pairs.val[0], pairs.val[1]);
    };
    for (int x = 0; x < SRC_W; x += 8) {
        const uint8x8x3_t p = vld3_u8(in + 3 * x);
        vst4q_u8(out + 8 * x, uint8x16x4_t{{twice(p.val[0]), twice(p.val[1]), twice(p.val[2]), top}});
    }
#else
    eachWidened24(in, [out, fill](int x, auto p) { storeTwice<4>(out + 8 * x, p + fill); });
#endif
}

// The conversions that are arithmetic, which then take four 24-bit pixels at a time.
constexpr bool fourAtATime(Kind k) { return k == PixelConverter::WIDEN || k == PixelConverter::PACK; }

// 32-bit ARM stores four looked-up pixels into the odd row too, one NEON store, where the others copy
// the even row afterwards, which their C libraries do in fewer instructions.
#if defined(__arm__) && defined(__ARM_NEON)
constexpr bool STORES_ODD_ROW = true;
#else
constexpr bool STORES_ODD_ROW = false;
#endif

#if defined(__AVX2__)
// AVX2 gathers eight looked-up 16-bit pixels in one instruction and stores them twice across, 64 bytes,
// where the others look four up one at a time.
constexpr bool GATHERS = true;

__m256i eightIndices(const uint8_t *in) {
    return _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(in)));
}

__m256i lookUpEight(const uint32_t *whole, __m256i indices) {
    return _mm256_i32gather_epi32(reinterpret_cast<const int *>(whole), indices, 4);
}

// A doubled row into both output rows.
void doubleRowGathered(const uint8_t *__restrict in, const uint32_t *whole, uint8_t *__restrict even,
                       uint8_t *__restrict odd) {
    for (int x = 0; x < SRC_W; x += 8) {
        const __m256i p = lookUpEight(whole, eightIndices(in + 2 * x));
        storeTwice<4>(even + 8 * x, Pixels8(p));
        storeTwice<4>(odd + 8 * x, Pixels8(p));
    }
}

// A scanline row pair: the pixels doubled, and below them their darkened ones.
void scanlineRowGathered(const uint8_t *__restrict in, const uint32_t *whole, uint32_t topBits,
                         uint8_t *__restrict even, uint8_t *__restrict odd) {
    const __m256i top = _mm256_set1_epi32(int(topBits));
    for (int x = 0; x < SRC_W; x += 8) {
        const __m256i indices = eightIndices(in + 2 * x);
        storeTwice<4>(even + 8 * x, Pixels8(lookUpEight(whole, indices)));
        storeTwice<4>(odd + 8 * x,
                      Pixels8(lookUpEight(whole, _mm256_srli_epi32(_mm256_and_si256(indices, top), 2))));
    }
}
#else
constexpr bool GATHERS = false;
#endif

// Each pixel twice across; the odd row a copy of the even one.
template <int SB, int DB, Kind K> void doublePass(const Target &t) {
    const PixelConverter c = *t.converter;
    constexpr bool gathered = GATHERS && fourLookedUp(K, DB);
    constexpr bool bothRows = gathered || (STORES_ODD_ROW && fourLookedUp(K, DB));
    for (int y = 0; y < SRC_H; y++) {
        const uint8_t *__restrict in = t.in(y);
        uint8_t *__restrict even = t.row(2 * y), *__restrict odd = t.row(2 * y + 1);
        if constexpr (gathered) {
#if defined(__AVX2__)
            doubleRowGathered(in, c.whole, even, odd);
#endif
        } else if constexpr (K == PixelConverter::WIDEN) {
            doubleRow24(in, even, c.fill);
        } else if constexpr (fourAtATime(K)) {
            eachWidened24(in,
                          [&](int x, auto p) { storeTwice<DB>(even + 2 * DB * x, gfxConvertAs<K>(c, p)); });
        } else if constexpr (fourLookedUp(K, DB)) {
            eachFour16(in, [&](int x, const uint32_t(&p)[4]) {
                const Pixels4 v = lookUpFour<K>(c, p);
                storeTwice<DB>(even + 2 * DB * x, v);
                if constexpr (bothRows)
                    storeTwice<DB>(odd + 2 * DB * x, v);
            });
        } else {
            eachPixel<SB>(in, [&](int x, uint32_t p) {
                const uint32_t v = gfxConvertAs<K>(c, p);
                storePair<DB>(even + 2 * DB * x, v, v);
            });
        }
        if constexpr (!bothRows)
            memcpy(odd, even, 2 * SRC_W * DB);
    }
}

// Even rows double each pixel; odd rows keep only the top bit of each channel, two places lower:
// 1/8 of full scale where the channel is at least half, black elsewhere. Both are worked out in
// screen's format and then converted, so every output format shows the same colours.
template <int SB, int DB, Kind K> void scanlinePass(const Target &t) {
    const PixelConverter c = *t.converter;
    const uint32_t topBits = t.topBits;
    for (int y = 0; y < SRC_H; y++) {
        const uint8_t *__restrict in = t.in(y);
        uint8_t *__restrict even = t.row(2 * y);
        uint8_t *__restrict odd = t.row(2 * y + 1);
        if constexpr (GATHERS && fourLookedUp(K, DB)) {
#if defined(__AVX2__)
            scanlineRowGathered(in, c.whole, topBits, even, odd);
            continue;
#endif
        }
        if constexpr (fourAtATime(K)) {
            eachWidened24(in, [&](int x, auto p) {
                storeTwice<DB>(even + 2 * DB * x, gfxConvertAs<K>(c, p));
                storeTwice<DB>(odd + 2 * DB * x, gfxConvertAs<K>(c, (p & topBits) >> 2));
            });
            continue;
        }
        if constexpr (fourLookedUp(K, DB)) {
            eachFour16(in, [&](int x, const uint32_t(&p)[4]) {
                const uint32_t dark[4] = {(p[0] & topBits) >> 2, (p[1] & topBits) >> 2, (p[2] & topBits) >> 2,
                                          (p[3] & topBits) >> 2};
                storeTwice<DB>(even + 2 * DB * x, lookUpFour<K>(c, p));
                storeTwice<DB>(odd + 2 * DB * x, lookUpFour<K>(c, dark));
            });
            continue;
        }
        eachPixel<SB>(in, [&](int x, uint32_t p) {
            const uint32_t v = gfxConvertAs<K>(c, p), dark = gfxConvertAs<K>(c, (p & topBits) >> 2);
            storePair<DB>(even + 2 * DB * x, v, v);
            storePair<DB>(odd + 2 * DB * x, dark, dark);
        });
    }
}

// The antialiasing pass: Scale2x's edge rules decide which of the four output pixels of a source
// pixel E lie on a diagonal edge, and those take the mean of E and the neighbour the rule picked
// instead of the neighbour itself. Staircases become smooth slopes with a half-tone step, flat areas
// and straight edges stay sharp, and the cost is a few compares and at most four averages per pixel.
//
//      B          E0 E1
//    D E F   ->   E2 E3
//      H
//
// aabuf holds the source with a one-pixel border copied from the edge, so the loop needs no tests.
constexpr int PAD_W = SRC_W + 2, PAD_H = SRC_H + 2;

// The work buffer of the antialiasing and smooth passes, made at their first frame.
uint8_t *workBuffer() {
    if (!aabuf)
        aabuf = static_cast<uint8_t *>(malloc(sizeof(uint32_t) * PAD_W * PAD_H));
    return aabuf;
}

// A 24-bit picture's pixels as words, with the border.
uint32_t *padded(const Target &t) {
    if (!workBuffer())
        return nullptr;
    auto *buf = reinterpret_cast<uint32_t *>(aabuf);
    for (int y = 0; y < PAD_H; y++) {
        uint32_t *out = buf + y * PAD_W;
        widenRow24(t.in(y == 0 ? 0 : y > SRC_H ? SRC_H - 1 : y - 1), out + 1, 0);
        out[0] = out[1];
        out[SRC_W + 1] = out[SRC_W];
    }
    return buf;
}

// The mean of two pixels, or of two vectors of them, channel by channel and rounded down: half holds
// every bit but the lowest of each channel.
template <typename P> P meanOf(P a, P b, P half) { return (a & b) + (((a ^ b) & half) >> 1); }

// With 16-bit cells most of a picture, flat or straight, is plain doubling: the picture is doubled
// first, the rules are then tested eight cells at a time, and only the pixels where one fires are
// worked out again. 24-bit cells go four at a time as words (antialiasFour), or pixel by pixel.
typedef uint16_t Cells8 __attribute__((vector_size(16)));
typedef uint8_t Flags8 __attribute__((vector_size(8)));

// The rules over 8 cells of a 16-bit row, given the cells beside them (D and F), and the means of the
// pixels whose rule fires written over the doubled picture: pairs is the first cell's pair in the top
// row, places where each rule bit's output pixel lies from there. Lane i's rules are bits 8 i + 4 side + row:
// E0 (left, top) is bit 0, E2 (left, bottom) bit 1, E1 (right, top) bit 4 and E3 (right, bottom) bit 5. Each
// set bit is one output pixel, the mean of E and D on the left, of E and F on the right. Inlined into its
// three callers, which the compiler would not do for its size.
template <int DB, Kind K>
[[gnu::always_inline]] inline void antialiasCells(const PixelConverter &c, Cells8 halves, const uint16_t *up,
                                                  const uint16_t *mid, const uint16_t *down, Cells8 left,
                                                  Cells8 right, uint8_t *pairs,
                                                  const ptrdiff_t (&places)[64]) {
    auto cells = [](const uint16_t *at) {
        Cells8 lanes;
        memcpy(&lanes, at, sizeof lanes);
        return lanes;
    };
    const Cells8 above = cells(up), below = cells(down);
    const Cells8 edge = (above != below) & (left != right);
    const Cells8 rules = edge & (((left == above) & 1) | ((left == below) & 2) | ((above == right) & 16) |
                                 ((below == right) & 32));
    const Flags8 firing = __builtin_convertvector(rules, Flags8);
    uint64_t bits;
    memcpy(&bits, &firing, sizeof bits);
    if (bits == 0)
        return;
    // The means of the eight cells with D and with F at once, then side by side.
    const Cells8 e = cells(mid);
    const Cells8 withD = meanOf(left, e, halves), withF = meanOf(right, e, halves);
    const Cells8 sideBySide[2] = {__builtin_shufflevector(withD, withF, 0, 8, 1, 9, 2, 10, 3, 11),
                                  __builtin_shufflevector(withD, withF, 4, 12, 5, 13, 6, 14, 7, 15)};
    uint16_t means[16];
    memcpy(means, sideBySide, sizeof means);
    // The set bits a machine word at a time (two words on 32-bit ARM): bit / 4 is the place of a bit's
    // mean.
    for (unsigned from = 0; from < 64; from += 8 * sizeof(uintptr_t))
        for (uintptr_t word = uintptr_t(bits >> from); word != 0; word &= word - 1) {
            const size_t bit = from + size_t(__builtin_ctzl(word)), at = bit / 4;
            const uint32_t m = gfxConvertAs<K>(c, uint32_t(means[at]));
            memcpy(pairs + places[bit], &m, DB);
        }
}

// Without a vector unit the rules go cell by cell over a 16-bit row, most cells failing the first test.
template <int DB, Kind K>
void antialiasRowPlain(const PixelConverter &c, uint32_t half, const uint16_t *up, const uint16_t *mid,
                       const uint16_t *down, uint8_t *top, ptrdiff_t nextRow) {
    for (int x = 0; x < SRC_W; x++) {
        const uint32_t b = up[x], d = mid[x > 0 ? x - 1 : x], e = mid[x], f = mid[x + 1 < SRC_W ? x + 1 : x],
                       h = down[x];
        if (b == h || d == f)
            continue;
        auto put = [&c, pair = top + 2 * DB * x](ptrdiff_t at, uint32_t m) {
            const uint32_t v = gfxConvertAs<K>(c, m);
            memcpy(pair + at, &v, DB);
        };
        if (d == b)
            put(0, meanOf(d, e, half));
        if (b == f)
            put(DB, meanOf(f, e, half));
        if (d == h)
            put(nextRow, meanOf(d, e, half));
        if (h == f)
            put(nextRow + DB, meanOf(f, e, half));
    }
}

// Otherwise a 24-bit picture goes pixel by pixel.
template <int DB, Kind K> void antialiasWide(const Target &t) {
    const uint32_t *buf = padded(t);
    if (!buf)
        return;
    const PixelConverter c = *t.converter;
    const uint32_t half = t.halfMask;
    for (int y = 0; y < SRC_H; y++) {
        const uint32_t *up = buf + y * PAD_W + 1, *mid = up + PAD_W, *down = mid + PAD_W;
        uint8_t *top = t.row(2 * y), *bottom = t.row(2 * y + 1);
        // The four output pixels of each cell, between the rows above and below.
        for (int x = 0; x < SRC_W; x++) {
            const uint32_t b = up[x], d = mid[x - 1], e = mid[x], f = mid[x + 1], h = down[x];
            const uint32_t ce = gfxConvertAs<K>(c, e);
            uint32_t e0 = ce, e1 = ce, e2 = ce, e3 = ce;
            if (b != h && d != f) {
                if (d == b)
                    e0 = gfxConvertAs<K>(c, meanOf(d, e, half));
                if (b == f)
                    e1 = gfxConvertAs<K>(c, meanOf(f, e, half));
                if (d == h)
                    e2 = gfxConvertAs<K>(c, meanOf(d, e, half));
                if (h == f)
                    e3 = gfxConvertAs<K>(c, meanOf(f, e, half));
            }
            storePair<DB>(top + 2 * DB * x, e0, e1);
            storePair<DB>(bottom + 2 * DB * x, e2, e3);
        }
    }
}

// Whether any lane of a vector of compare results is set (the AVX2 copy tests eight lanes instead).
[[maybe_unused]] bool anyLane(Pixels4 v) {
#if defined(__SSE2__)
    return _mm_movemask_epi8(__m128i(v)) != 0;
#elif defined(__aarch64__)
    return vmaxvq_u32(uint32x4_t(v)) != 0;
#elif defined(__ARM_NEON)
    // Pairwise maxima down to one lane, which moves to a core register (the 64-bit lane went through
    // memory).
    uint32x2_t most = vpmax_u32(vget_low_u32(uint32x4_t(v)), vget_high_u32(uint32x4_t(v)));
    most = vpmax_u32(most, most);
    return vget_lane_u32(most, 0) != 0;
#else
    uint64_t words[2];
    memcpy(words, &v, sizeof words);
    return (words[0] | words[1]) != 0;
#endif
}

// With a vector unit and an arithmetic conversion a 24-bit picture goes four cells at a time (eight
// with AVX2), as words from the bordered copy: where no rule fires the cells are stored doubled, elsewhere
// each output pixel takes E or its mean with D or F, lane by lane.
template <int DB, Kind K> void antialiasFour(const Target &t) {
#if defined(__AVX2__)
    using Cells = Pixels8;
#else
    using Cells = Pixels4;
#endif
    constexpr int LANES = sizeof(Cells) / 4;
    const uint32_t *buf = padded(t);
    if (!buf)
        return;
    const PixelConverter c = *t.converter;
    const Cells halves = Cells{} + t.halfMask;
    auto cells = [](const uint32_t *at) {
        Cells lanes;
        memcpy(&lanes, at, sizeof lanes);
        return lanes;
    };
    for (int y = 0; y < SRC_H; y++) {
        const uint32_t *up = buf + y * PAD_W + 1, *mid = up + PAD_W, *down = mid + PAD_W;
        uint8_t *top = t.row(2 * y), *bottom = t.row(2 * y + 1);
        for (int x = 0; x < SRC_W; x += LANES) {
            const Cells b = cells(up + x), d = cells(mid + x - 1), e = cells(mid + x), f = cells(mid + x + 1),
                        h = cells(down + x);
            const Cells e0 = Cells(d == b), e1 = Cells(b == f), e2 = Cells(d == h), e3 = Cells(h == f);
            const Cells edge = ~Cells((b == h) | (d == f));
            const Cells plain = gfxConvertAs<K>(c, e);
            // Marked as the usual case: GCC for 32-bit ARM would otherwise work the means out first.
            if (__builtin_expect(!anyLane((e0 | e1 | e2 | e3) & edge), 1)) {
                storeTwice<DB>(top + 2 * DB * x, plain);
                storeTwice<DB>(bottom + 2 * DB * x, plain);
                continue;
            }
            const Cells withD = gfxConvertAs<K>(c, meanOf(d, e, halves)),
                        withF = gfxConvertAs<K>(c, meanOf(f, e, halves));
            auto pick = [plain, edge](Cells rule, Cells mean) {
                rule &= edge;
                return (mean & rule) | (plain & ~rule);
            };
            storeSides<DB>(top + 2 * DB * x, pick(e0, withD), pick(e1, withF));
            storeSides<DB>(bottom + 2 * DB * x, pick(e2, withD), pick(e3, withF));
        }
    }
}

template <int SB, int DB, Kind K> void antialiasPass(const Target &t) {
    if constexpr (SB == 2) {
        const PixelConverter c = *t.converter;
        const Cells8 halves = Cells8{} + uint16_t(t.halfMask);
        // The doubled picture already holds E in all four places: only the output pixels that a rule
        // gives a mean are written again. The source rows are read as they stand, the edge cells
        // standing in for the missing ones beside, above and below them.
        doublePass<SB, DB, K>(t);
        // A rule bit's output pixel: bit / 4 pixels on in the top row, in the bottom one for an odd bit
        // (a table, where 32-bit ARM took five instructions a bit to work it out).
        const ptrdiff_t nextRow = t.row(1) - t.row(0);
        ptrdiff_t places[64];
        for (int bit = 0; bit < 64; bit++)
            places[bit] = DB * (bit / 4) + (bit % 2 ? nextRow : 0);
        for (int y = 0; y < SRC_H; y++) {
            auto row = [&t](int at) { return reinterpret_cast<const uint16_t *>(t.in(at)); };
            const uint16_t *up = row(y > 0 ? y - 1 : 0), *mid = row(y),
                           *down = row(y + 1 < SRC_H ? y + 1 : y);
            uint8_t *top = t.row(2 * y);
            if constexpr (!VECTOR_UNIT) {
                antialiasRowPlain<DB, K>(c, t.halfMask, up, mid, down, top, nextRow);
                continue;
            }
            auto eight = [&](int x0, Cells8 left, Cells8 right) {
                antialiasCells<DB, K>(c, halves, up + x0, mid + x0, down + x0, left, right, top + 2 * DB * x0,
                                      places);
            };
            auto cells = [mid](int x) {
                Cells8 lanes;
                memcpy(&lanes, mid + x, sizeof lanes);
                return lanes;
            };
            const Cells8 first = cells(0), last = cells(SRC_W - 8);
            eight(0, __builtin_shufflevector(first, first, 0, 0, 1, 2, 3, 4, 5, 6), cells(1));
            for (int x0 = 8; x0 < SRC_W - 8; x0 += 8)
                eight(x0, cells(x0 - 1), cells(x0 + 1));
            eight(SRC_W - 8, cells(SRC_W - 9), __builtin_shufflevector(last, last, 1, 2, 3, 4, 5, 6, 7, 7));
        }
    } else if constexpr (VECTOR_UNIT && fourAtATime(K)) {
        antialiasFour<DB, K>(t);
    } else {
        antialiasWide<DB, K>(t);
    }
}

// The smooth pass, for 32-bit outputs of four 8-bit channels at exactly twice the size: what SDL's
// renderer gives with linear filtering, bit for bit (the tests compare the two). Each output pixel
// weighs its own source pixel 9, the one beside it 3, the one above or below it 3 and the diagonal
// one 1, per channel, sixteenths rounded down, the edge pixels standing in for the missing ones. As
// 9a + 3b + 3c + d = 3 (3a + b) + (3c + d), each source row is first blended across into the two
// output pixels of each of its pixels (h, in output order), and each pair of output rows is then
// (3 h(this row) + h(the row above or below)) / 16, eight lanes at a time. With a vector unit h is
// kept sixteen times over, so that a sum fills its 16 bits and the output byte is its top byte, which
// needs no masking to narrow.
constexpr int SMOOTH_BYTES = 2 * 4 * SRC_W; // one output row

// With a vector unit a pixel's lanes keep its byte order. Without one a pixel is two words, the high
// and the low nibbles of its bytes, each where it stands in its byte: a sum of sixteen weights is then
// at most 16 × 15 = 240 in every byte of either word, so that no byte carries into the next, and an
// output byte is the high nibbles' sum plus a sixteenth of the low ones'.
constexpr uint32_t LOW_NIBBLES = 0x0F0F0F0F;
struct Nibbles {
    uint32_t high, low;
};
Nibbles nibblesOf(uint32_t pixel) { return {pixel >> 4 & LOW_NIBBLES, pixel & LOW_NIBBLES}; }

// An output pixel's four lanes in a blended row, sixteen times over with a vector unit.
void lanesOf(uint32_t pixel, uint16_t (&lanes)[4]) {
    if constexpr (VECTOR_UNIT) {
        uint8_t bytes[4];
        memcpy(bytes, &pixel, 4);
        for (int i = 0; i < 4; i++)
            lanes[i] = uint16_t(bytes[i] << 4);
    } else {
        const Nibbles nibbles = nibblesOf(pixel);
        const uint32_t words[2] = {nibbles.high, nibbles.low};
        memcpy(lanes, words, sizeof words);
    }
}

typedef uint16_t Sums8 __attribute__((vector_size(16)));

// Eight lanes to any place: one NEON store on 32-bit ARM, where GCC would store the halves apart.
void storeSums(uint16_t *at, Sums8 lanes) {
#if defined(__arm__) && defined(__ARM_NEON)
    vst1q_u16(at, uint16x8_t(lanes));
#else
    memcpy(at, &lanes, sizeof lanes);
#endif
}

// A pair of output rows from the blended rows above, of and below their source row: the top bytes of
// 3 near + up and of 3 near + down, sixteen lanes at a time. The blended rows start on 16 bytes.
#if defined(__arm__) && defined(__ARM_NEON)
// 32-bit NEON reads the lanes as their even and odd halves, keeps each sum's top byte as it adds
// (vaddhn) and stores the halves interleaved again; its five pointers move on with their loads and
// stores, where indexes cost an add each. On 64-bit ARM, GCC would copy every narrowed half before
// storing it.
void blendRows(const uint16_t *near, const uint16_t *up, const uint16_t *down, uint8_t *top,
               uint8_t *bottom) {
    for (const uint16_t *end = near + SMOOTH_BYTES; near != end;
         near += 16, up += 16, down += 16, top += 16, bottom += 16) {
        const uint16x8x2_t n = vld2q_u16(near), u = vld2q_u16(up), d = vld2q_u16(down);
        const uint16x8_t even = vmulq_n_u16(n.val[0], 3), odd = vmulq_n_u16(n.val[1], 3);
        vst2_u8(top, uint8x8x2_t{{vaddhn_u16(even, u.val[0]), vaddhn_u16(odd, u.val[1])}});
        vst2_u8(bottom, uint8x8x2_t{{vaddhn_u16(even, d.val[0]), vaddhn_u16(odd, d.val[1])}});
    }
}
#elif defined(__AVX2__)
// AVX2 takes sixteen lanes a vector. Its packs work within each 128-bit half, so the packed quarters
// are put back in order afterwards.
void blendRows(const uint16_t *near, const uint16_t *up, const uint16_t *down, uint8_t *top,
               uint8_t *bottom) {
    auto sums = [](const uint16_t *at) { return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(at)); };
    auto storeTops = [](uint8_t *out, __m256i a, __m256i b) {
        const __m256i packed = _mm256_packus_epi16(_mm256_srli_epi16(a, 8), _mm256_srli_epi16(b, 8));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(out), _mm256_permute4x64_epi64(packed, 0xD8));
    };
    for (int i = 0; i < SMOOTH_BYTES; i += 32) {
        const __m256i near0 = sums(near + i), near1 = sums(near + i + 16);
        const __m256i thrice0 = _mm256_add_epi16(_mm256_add_epi16(near0, near0), near0),
                      thrice1 = _mm256_add_epi16(_mm256_add_epi16(near1, near1), near1);
        storeTops(top + i, _mm256_add_epi16(thrice0, sums(up + i)),
                  _mm256_add_epi16(thrice1, sums(up + i + 16)));
        storeTops(bottom + i, _mm256_add_epi16(thrice0, sums(down + i)),
                  _mm256_add_epi16(thrice1, sums(down + i + 16)));
    }
}
#else
// Eight lanes of a blended row, from a whole multiple of eight lanes on.
Sums8 sums(const uint16_t *at) {
    Sums8 lanes;
    memcpy(&lanes, __builtin_assume_aligned(at, 16), sizeof lanes);
    return lanes;
}

// 3 near + other in each lane: one multiply-add on NEON, where the compiler would otherwise shift and
// add twice.
Sums8 threeTimesPlus(Sums8 near, Sums8 other) {
#if defined(__ARM_NEON)
    return Sums8(vmlaq_u16(uint16x8_t(other), uint16x8_t(near), vdupq_n_u16(3)));
#else
    return 3 * near + other;
#endif
}

// The top byte of each lane of a and then of b: one unzip on NEON, two shifts and a pack on SSE2.
void storeTopBytes(uint8_t *out, Sums8 a, Sums8 b) {
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
    const Bytes16 tops = __builtin_shufflevector(Bytes16(a), Bytes16(b), 1, 3, 5, 7, 9, 11, 13, 15, 17, 19,
                                                 21, 23, 25, 27, 29, 31);
#else
    const Bytes16 tops = __builtin_shufflevector(Bytes16(a), Bytes16(b), 0, 2, 4, 6, 8, 10, 12, 14, 16, 18,
                                                 20, 22, 24, 26, 28, 30);
#endif
    memcpy(out, &tops, sizeof tops);
}

// Vectors of eight lanes elsewhere (with restrict pointers, GCC for 64-bit ARM would load a turn
// ahead and copy every register), two lanes a word without a vector unit.
void blendRows(const uint16_t *near, const uint16_t *up, const uint16_t *down, uint8_t *top,
               uint8_t *bottom) {
    if constexpr (!VECTOR_UNIT) {
        // A pixel a turn, 3 near + other in each of its two words; the output pixel is the high
        // nibbles' sums plus a sixteenth of the low ones'.
        auto pixelOfSums = [](uint32_t high, uint32_t low) { return high + ((low & ~LOW_NIBBLES) >> 4); };
#pragma GCC unroll 2
        for (int i = 0; i < SMOOTH_BYTES; i += 4) {
            uint32_t n[2], u[2], d[2];
            memcpy(n, near + i, sizeof n);
            memcpy(u, up + i, sizeof u);
            memcpy(d, down + i, sizeof d);
            const uint32_t high = 3 * n[0], low = 3 * n[1];
            const uint32_t upper = pixelOfSums(high + u[0], low + u[1]),
                           lower = pixelOfSums(high + d[0], low + d[1]);
            memcpy(top + i, &upper, 4);
            memcpy(bottom + i, &lower, 4);
        }
        return;
    }
#pragma GCC unroll 2
    for (int i = 0; i < SMOOTH_BYTES; i += 16) {
        const Sums8 near0 = sums(near + i), near1 = sums(near + i + 8);
        storeTopBytes(top + i, threeTimesPlus(near0, sums(up + i)), threeTimesPlus(near1, sums(up + i + 8)));
        storeTopBytes(bottom + i, threeTimesPlus(near0, sums(down + i)),
                      threeTimesPlus(near1, sums(down + i + 8)));
    }
}
#endif

// A converted row, its edge pixels repeated beside it, blended across. AVX2 widens four pixels and
// their neighbours on either side to 16-bit lanes at a time and interleaves the two sums of each pixel.
#if defined(__AVX2__)
void smoothAcross(const uint8_t *__restrict a, uint16_t *__restrict h) {
    auto lanes = [a](int at) {
        return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(a + at)));
    };
    for (int x = 0; x < SRC_W; x += 4) {
        const __m256i here = lanes(4 * x), thrice = _mm256_add_epi16(_mm256_add_epi16(here, here), here);
        const __m256i withLeft = _mm256_slli_epi16(_mm256_add_epi16(thrice, lanes(4 * x - 4)), 4),
                      withRight = _mm256_slli_epi16(_mm256_add_epi16(thrice, lanes(4 * x + 4)), 4);
        // Pixels 0 and 2, then 1 and 3, each with its two sums; their halves then put in order.
        const __m256i even = _mm256_unpacklo_epi64(withLeft, withRight),
                      odd = _mm256_unpackhi_epi64(withLeft, withRight);
        storeTwoBlocks(h + 8 * x, even, odd);
    }
}
#else
void smoothAcross(const uint8_t *__restrict a, uint16_t *__restrict h) {
    if constexpr (!VECTOR_UNIT) {
        // A pixel a turn, each pixel split into its nibbles once.
        auto split = [a](int x) {
            uint32_t p;
            memcpy(&p, a + 4 * x, 4);
            return nibblesOf(p);
        };
        Nibbles left = split(-1), here = split(0);
        for (int x = 0; x < SRC_W; x++) {
            const Nibbles right = split(x + 1);
            const uint32_t high = 3 * here.high, low = 3 * here.low;
            const uint32_t sums[4] = {high + left.high, low + left.low, high + right.high, low + right.low};
            memcpy(h + 8 * x, sums, sizeof sums);
            left = here;
            here = right;
        }
        return;
    }
    for (int x = 0; x < SRC_W; x++)
        for (int i = 0; i < 4; i++) {
            const int at = 4 * x + i;
            h[8 * x + i] = uint16_t((3 * a[at] + a[at - 4]) << 4);
            h[8 * x + 4 + i] = uint16_t((3 * a[at] + a[at + 4]) << 4);
        }
}
#endif

#if SPLITS_CHANNELS
// Split into channels (vld3), a 24-bit row skips the converted copy too, eight pixels a turn: the
// bytes beside each channel's (vext, the edge pixels standing in at the ends), 48 times each byte + 16
// times the left one and + 16 times the right one as the two sums are widened (vmull, vmlal),
// interleaved as the output's pixels (vzip) and stored with the fill's lane, the same in every pixel
// (vst4). Kept as bytes until then, the channels leave 32-bit ARM enough registers.
void smoothAcross24(const uint8_t *row, uint32_t fill, uint16_t *__restrict h) {
    const uint16x8_t fillLanes = vdupq_n_u16(uint16_t((fill >> 24) * 4 << 4));
    const uint8x8_t sixteen = vdup_n_u8(16), fortyEight = vdup_n_u8(48);
    uint8x8x3_t here = vld3_u8(row), before, after;
    for (int k = 0; k < 3; k++)
        before.val[k] = vdup_lane_u8(here.val[k], 0);
    for (int x = 0; x < SRC_W; x += 8) {
        if (x + 8 < SRC_W)
            after = vld3_u8(row + 3 * (x + 8));
        else
            for (int k = 0; k < 3; k++)
                after.val[k] = vdup_lane_u8(here.val[k], 7);
        uint16x8x2_t sides[3];
        for (int k = 0; k < 3; k++) {
            const uint8x8_t left = vext_u8(before.val[k], here.val[k], 7),
                            right = vext_u8(here.val[k], after.val[k], 1);
            sides[k] = vzipq_u16(vmlal_u8(vmull_u8(left, sixteen), here.val[k], fortyEight),
                                 vmlal_u8(vmull_u8(right, sixteen), here.val[k], fortyEight));
        }
        for (int i = 0; i < 2; i++)
            vst4q_u16(h + 8 * x + 32 * i,
                      uint16x8x4_t{{sides[0].val[i], sides[1].val[i], sides[2].val[i], fillLanes}});
        before = here;
        here = after;
    }
}
#endif

// A 16-bit picture skips the converted copy: a table gives each pixel's four output bytes as lanesOf
// gives them (16-bit lanes sixteen times over, or without a vector unit its nibble words), once and
// then three times over (the largest lane sum, 4 × 16 × 255, fits, and a nibble's 4 × 15 stays in
// its byte). It is made at the first smoothed frame for the converter's pair of formats.
struct alignas(16) PixelLanes {
    uint16_t once[4], thrice[4];
};

const PixelLanes *channelLanes(const PixelConverter &c) {
    static PixelLanes lanes[65536];
    static uint32_t madeFrom, madeTo;
    static ConvertRoute madeRoute;
    static bool made;
    if (!made || madeFrom != c.from || madeTo != c.to || madeRoute != c.route) {
        for (uint32_t p = 0; p < 65536; p++) {
            lanesOf(c.whole[p], lanes[p].once);
            for (int i = 0; i < 4; i++)
                lanes[p].thrice[i] = uint16_t(3 * lanes[p].once[i]);
        }
        made = true;
        madeFrom = c.from;
        madeTo = c.to;
        madeRoute = c.route;
    }
    return lanes;
}

// A vector's two 64-bit halves swapped: one pshufd on SSE2, where the compiler would copy and shufpd.
Sums8 swapHalves(Sums8 v) {
#if defined(__SSE2__)
    return Sums8(_mm_shuffle_epi32(__m128i(v), 0x4E));
#else
    return __builtin_shufflevector(v, v, 4, 5, 6, 7, 0, 1, 2, 3);
#endif
}

// The edge pixels blend with themselves: 3a + a.
void storeEdge(const PixelLanes &a, uint16_t *out) {
    for (int i = 0; i < 4; i++)
        out[i] = uint16_t(a.once[i] + a.thrice[i]);
}

// Between neighbours a and b lie the right half of a, 3a + b, and the left half of b, 3b + a: with a
// vector unit, a's entry with its halves swapped plus b's; without one, two 64-bit sums.
void smoothAcrossLanes(const uint8_t *row, const PixelLanes *lanes, uint16_t *__restrict h) {
    auto pixel = [row, lanes](int x) -> const PixelLanes & {
        uint16_t p;
        memcpy(&p, row + 2 * x, 2);
        return lanes[p];
    };
    storeEdge(pixel(0), h);
    if constexpr (VECTOR_UNIT) {
        auto entry = [&pixel](int x) {
            Sums8 e;
            memcpy(&e, &pixel(x), sizeof e);
            return e;
        };
        Sums8 swapped = swapHalves(entry(0));
#pragma GCC unroll 8
        for (int x = 1; x < SRC_W; x++) {
            const Sums8 e = entry(x);
            storeSums(h + 8 * x - 4, swapped + e);
            swapped = swapHalves(e);
        }
    } else {
        uint64_t aOnce, aThrice;
        memcpy(&aOnce, pixel(0).once, 8);
        memcpy(&aThrice, pixel(0).thrice, 8);
        for (int x = 1; x < SRC_W; x++) {
            uint64_t bOnce, bThrice;
            memcpy(&bOnce, pixel(x).once, 8);
            memcpy(&bThrice, pixel(x).thrice, 8);
            const uint64_t between[2] = {aThrice + bOnce, bThrice + aOnce};
            memcpy(h + 8 * x - 4, between, sizeof between);
            aOnce = bOnce;
            aThrice = bThrice;
        }
    }
    storeEdge(pixel(SRC_W - 1), h + 8 * (SRC_W - 1) + 4);
}

// SDL smooths a picture for a 16-bit output in 32 bits and keeps the top bits of each channel.
// Read as halves, an RGB888 pixel is blue and green, then red: 16-bit lanes throughout.
void packRow565(const uint8_t *__restrict in, uint8_t *__restrict out) {
    for (int x = 0; x < 2 * SRC_W; x++) {
        uint16_t blueGreen, red;
        memcpy(&blueGreen, in + 4 * x, 2);
        memcpy(&red, in + 4 * x + 2, 2);
        const uint16_t pixel =
            uint16_t((red & 0xF8) << 8 | (blueGreen >> 5 & 0x07E0) | (blueGreen & 0xF8) >> 3);
        memcpy(out + 2 * x, &pixel, 2);
    }
}

// Only made for 4-byte outputs, which a narrow target then packs (gfxSmoothable); flipScreen never
// asks for it with others.
template <int SB, int DB, Kind K> void smoothPass(const Target &t) {
    if constexpr (DB == 4) {
        // A wider picture is first converted into the output's format, each row with its edge
        // pixels repeated beside it, unless its channels are split as it is blended.
        const PixelConverter c = *t.converter;
        const PixelLanes *lanes = nullptr;
        uint32_t *converted = nullptr;
        if constexpr (K == PixelConverter::WHOLE) {
            lanes = channelLanes(c);
        } else if constexpr (!(K == PixelConverter::WIDEN && SPLITS_CHANNELS)) {
            if (!workBuffer())
                return;
            converted = reinterpret_cast<uint32_t *>(aabuf);
            for (int y = 0; y < SRC_H; y++) {
                uint32_t *__restrict out = converted + y * PAD_W + 1;
                if constexpr (K == PixelConverter::WIDEN)
                    widenRow24(t.in(y), out, c.fill);
                else
                    eachPixel<SB>(t.in(y), [&](int x, uint32_t p) { out[x] = gfxConvertAs<K>(c, p); });
                out[-1] = out[0];
                out[SRC_W] = out[SRC_W - 1];
            }
        }
        auto across = [&t, &c, converted, lanes](int y, uint16_t *h) {
            if constexpr (K == PixelConverter::WHOLE)
                smoothAcrossLanes(t.in(y), lanes, h);
#if SPLITS_CHANNELS
            else if constexpr (K == PixelConverter::WIDEN)
                smoothAcross24(t.in(y), c.fill, h);
#endif
            else
                smoothAcross(reinterpret_cast<const uint8_t *>(converted + y * PAD_W + 1), h);
        };
        // The blended rows above, of and below the source row, kept as the rows move down.
        alignas(16) static uint16_t rows[3][SMOOTH_BYTES];
        static uint8_t wide[2][SMOOTH_BYTES]; // a narrow target's two output rows before packing
        uint16_t *above = rows[0], *here = rows[1], *below = rows[2];
        across(0, here);
        for (int y = 0; y < SRC_H; y++) {
            if (y + 1 < SRC_H)
                across(y + 1, below);
            // The first and last rows stand in for the missing ones above and below them.
            blendRows(here, y > 0 ? above : here, y + 1 < SRC_H ? below : here,
                      t.narrow ? wide[0] : t.row(2 * y), t.narrow ? wide[1] : t.row(2 * y + 1));
            if (t.narrow) {
                packRow565(wide[0], t.row(2 * y));
                packRow565(wide[1], t.row(2 * y + 1));
            }
            uint16_t *spare = above;
            above = here;
            here = below;
            below = spare;
        }
    }
}

template <int SB, int DB, Kind K> PassFunction passFor(ScalePass pass) {
    switch (pass) {
    case SCALE_COPY:
        return copyPass<SB, DB, K>;
    case SCALE_DOUBLE:
        return doublePass<SB, DB, K>;
    case SCALE_SCANLINE:
        return scanlinePass<SB, DB, K>;
    case SCALE_SMOOTH:
        return smoothPass<SB, DB, K>;
    default:
        return antialiasPass<SB, DB, K>;
    }
}

struct PassChoice {
    ScalePass pass;
    template <int SB, int DB, Kind K> PassFunction operator()() const { return passFor<SB, DB, K>(pass); }
};

} // namespace

#if defined(MIRABO_NEON_COPY)
PassFunction scalePassForNeon(ScalePass pass, const PixelConverter &c)
#elif defined(MIRABO_AVX2_COPY)
PassFunction scalePassForAvx2(ScalePass pass, const PixelConverter &c)
#else
PassFunction scalePassFor(ScalePass pass, const PixelConverter &c)
#endif
{
    return gfxWithConverter(c, PassChoice{pass});
}
