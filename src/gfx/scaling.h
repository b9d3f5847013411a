// The software passes that turn the 320 × 240 back surface into the picture to present: as it is or
// doubled to 640 × 480 (plain, scanlines or antialiased), in any pixel format of 2, 3 or 4 bytes.
#pragma once

#include "gfx/convert.h"

#include <cstdint>

extern uint8_t *aabuf; // the antialiasing pass's work buffer, freed by gfxShutdown

// SCALE_SMOOTH is the renderer's linear filter at twice the size, for formats of four 8-bit channels
// and for RGB565 (gfxSmoothable).
enum ScalePass { SCALE_COPY, SCALE_DOUBLE, SCALE_SCANLINE, SCALE_ANTIALIAS, SCALE_SMOOTH };

// Writes screen's picture into pixels (rows pitch bytes apart) in format, each pixel converted as SDL
// converts it along route: 320 × 240 for SCALE_COPY, 640 × 480 for the others. Called by flipScreen
// once per frame with the texture's memory.
void scaleScreen(ScalePass pass, void *pixels, int pitch, uint32_t format, ConvertRoute route);

bool gfxSmoothable(uint32_t format); // whether SCALE_SMOOTH can write format

// The scanline and antialiasing passes into fscreen, in screen's own format (review images, tests).
void Scanline2x();
void antiAlias2();
