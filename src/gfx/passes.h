// The pixel passes behind scaleScreen: each writes the picture of one source into one output, for
// one scaling method.
#pragma once

#include "gfx/convert.h"
#include "gfx/scaling.h"

#include <cstddef>
#include <cstdint>

constexpr int SRC_W = 320, SRC_H = 240;

// What a pass reads (screen's picture, or its 16-bit reduction), where it writes, and what it needs of
// the picture's format.
struct Target {
    const uint8_t *source;
    int sourcePitch;
    uint8_t *pixels;
    int pitch;
    const PixelConverter *converter;
    uint32_t topBits;  // the top bit of each channel: what the scanline rows keep
    uint32_t halfMask; // every bit but the lowest of each channel: for the mean of two pixels
    bool narrow;       // the smooth pass into RGB565: its converter gives RGB888, packed at the end
    const uint8_t *in(int y) const { return source + size_t(y) * sourcePitch; }
    uint8_t *row(int y) const { return pixels + size_t(y) * pitch; }
};

using PassFunction = void (*)(const Target &);

// The pass for a method and a conversion, compiled for the build's CPU.
PassFunction scalePassFor(ScalePass pass, const PixelConverter &c);
// The same passes compiled for NEON, in a 32-bit ARM build whose CPU may lack it.
PassFunction scalePassForNeon(ScalePass pass, const PixelConverter &c);
// The passes compiled for AVX2, in an x86-64 build whose CPU may lack it.
PassFunction scalePassForAvx2(ScalePass pass, const PixelConverter &c);
